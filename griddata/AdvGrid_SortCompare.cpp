// TVerIvovavOzed: how two rows compare for sorting: the compare of one column by its sort style,
// the tie rule over the following columns, and the compare by the sort index list.
#include "griddata/AdvGrid_SortKeys.h"

#include "platform/SysUtils.h"
#include "render/RuvOdid.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

using namespace platform;

namespace {

int Sign(double a, double b) { return a > b ? 1 : (a < b ? -1 : 0); }

int SignOf(int v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

bool IsNumberText(const QString& s) { return !s.isEmpty() && ClassifyNumberText(s) != ntkOther; }

bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The number at the start of a text: leading blanks, an optional sign, digits, an optional "."
// with digits and an optional exponent. `whole` tells whether nothing follows it. A text without
// any digit there counts as 0.
double LeadingNumber(const QString& s, bool& whole)
{
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n && s[i] == u' ')
        ++i;
    const qsizetype start = i;
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && IsAsciiDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < n && s[i] == u'.') {
        qsizetype j = i + 1;
        qsizetype frac = 0;
        while (j < n && IsAsciiDigit(s[j])) {
            ++j;
            ++frac;
        }
        if (digits + frac > 0) {
            i = j;
            digits += frac;
        }
    }
    qsizetype end = i;
    if (digits > 0 && i < n && (s[i] == u'e' || s[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (s[j] == u'+' || s[j] == u'-'))
            ++j;
        const qsizetype expStart = j;
        while (j < n && IsAsciiDigit(s[j]))
            ++j;
        if (j > expStart)
            end = j;
    }
    whole = digits > 0 && end == n;
    if (digits == 0)
        return 0;
    const qsizetype len = end - start;
    // Whole numbers of up to 15 digits are exact as doubles.
    {
        qsizetype k = start;
        const bool minus = s[k] == u'-';
        if (minus || s[k] == u'+')
            ++k;
        if (end - k <= 15) {
            double v = 0;
            while (k < end && IsAsciiDigit(s[k]))
                v = v * 10 + (s[k++].unicode() - u'0');
            if (k == end)
                return minus ? -v : v;
        }
    }
    // Only ASCII characters were taken, so they pass as they are; a sort reads one number per
    // key, and most are short enough for a buffer on the stack.
    char small[64];
    QByteArray large;
    char* buf = small;
    if (len >= qsizetype(sizeof small)) {
        large.resize(len + 1);
        buf = large.data();
    }
    for (qsizetype k = 0; k < len; ++k)
        buf[k] = char(s[start + k].unicode());
    buf[len] = 0;
    return std::strtod(buf, nullptr);
}

// A date or time reader's value; 0 when the text cannot be read.
TDateTime DateValue(const QString& s, TSortStyle style)
{
    TDateTime v = 0;
    try {
        switch (style) {
        case ssTime:
            if (!TryStrToTime(s, v))
                v = 0;
            break;
        case ssShortDateEU:
            v = ParseDateDMY(s);
            break;
        case ssShortDateUS:
            v = ParseDateMDY(s);
            break;
        default:
            if (s.isEmpty() || !TryStrToDateTime(s, v))
                v = 0;
            break;
        }
    } catch (const EConvertError&) {
        v = 0;
    }
    return v;
}

} // namespace

// ---- keys ------------------------------------------------------------------------------------

namespace {

// What the automatic style needs to know of a text, found once per key.
enum : unsigned char {
    kNumber = 1,      // a number text
    kCheckBox = 2,    // the cell is a check box of some kind
    kDateFirst = 4,   // as the first text, a date when the other holds the date separator
    kTimeFirst = 8,   // as the first text, a time when the other holds the time separator
    kHasDateSep = 16, // holds the date separator
    kHasTimeSep = 32, // holds the time separator
};

unsigned char AutoTraits(const QString& t, QChar dateSep, QChar timeSep)
{
    unsigned char bits = 0;
    if (IsNumberText(t))
        bits |= kNumber;
    if (t.contains(dateSep))
        bits |= kHasDateSep;
    if (t.contains(timeSep))
        bits |= kHasTimeSep;
    // Positions counted from 1: a separator as the second or third character, not last, between
    // two digits.
    const int n = int(t.size());
    const int p = int(t.indexOf(dateSep)) + 1;
    if (p > 1 && p < 4 && p < n) {
        if (IsDigitChar(t[p - 2]) && IsDigitChar(t[p]))
            bits |= kDateFirst;
    } else {
        const int q = int(t.indexOf(timeSep)) + 1;
        if (q > 1 && q < 4 && q < n && IsDigitChar(t[q - 2]) && IsDigitChar(t[q]))
            bits |= kTimeFirst;
    }
    return bits;
}

int DateKind(TSortStyle style)
{
    switch (style) {
    case ssTime:
        return 1;
    case ssShortDateEU:
        return 2;
    case ssShortDateUS:
        return 3;
    default:
        return 0;
    }
}

} // namespace

struct TVerIvovavOzed::TSortKeys::Column {
    int Col = 0;
    bool Read = false; // the texts and traits below are read
    TSortStyle Style = ssAlphabetic; // as the column's format gives it
    QString Prefix, Suffix;
    std::vector<QString> Texts;
    std::vector<unsigned char> Traits; // automatic and alphanumeric styles only
    std::vector<std::optional<QString>> Upper;
    std::vector<std::optional<std::pair<double, bool>>> Numbers;
    std::vector<std::optional<double>> Dates[4];
    std::vector<std::optional<QString>> Stripped;
    std::vector<signed char> Checks; // -1 not read yet
    std::vector<std::optional<std::intptr_t>> Pictures;
    // Ranks (see TSortKeys::Ranks), made once the column is compared more often than it has keys
    // or when a sort asks for them.
    std::vector<int> Ranks;
    int RankCount = 0; // distinct ranks
    TSortDirection RankDir = sdAscending;
    bool RankTried = false;
    size_t Compared = 0;
};

TVerIvovavOzed::TSortKeys::TSortKeys(TVerIvovavOzed& Grid, std::vector<int> Rows) : G(Grid), FRows(std::move(Rows)) {}

TVerIvovavOzed::TSortKeys::~TSortKeys() = default;

TVerIvovavOzed::TSortKeys::Column& TVerIvovavOzed::TSortKeys::Format(int ACol)
{
    if (size_t(ACol) >= FCols.size())
        FCols.resize(size_t(ACol) + 1);
    std::unique_ptr<Column>& slot = FCols[size_t(ACol)];
    if (slot)
        return *slot;
    slot = std::make_unique<Column>();
    Column& c = *slot;
    c.Col = ACol;
    const TSortSettings& ss = *G.FSortSettings;
    c.Style = ss.AutoFormat() ? ssAutomatic : (ss.IgnoreCase() ? ssAlphaNoCase : ssAlphabetic);
    G.GetCellFormat(ACol, c.Style, c.Prefix, c.Suffix);
    return c;
}

TVerIvovavOzed::TSortKeys::Column& TVerIvovavOzed::TSortKeys::Keys(int ACol)
{
    if (ACol < 0)
        ACol = 0;
    if (FLast && FLast->Col == ACol)
        return *FLast;
    Column& c = Format(ACol);
    FLast = &c;
    if (c.Read)
        return c;
    c.Read = true;
    const TSortSettings& ss = *G.FSortSettings;
    const size_t n = FRows.size();
    const bool displayed = ss.SortOnVirtualCells();
    c.Texts.reserve(n);
    // The traits are found while each text is at hand.
    const bool traits = c.Style == ssAutomatic || c.Style == ssAlphaNumeric || c.Style == ssAlphaNumericNoCase;
    const QChar dateSep = FormatSettings().DateSeparator;
    const QChar timeSep = FormatSettings().TimeSeparator;
    if (traits)
        c.Traits.resize(n);
    for (size_t k = 0; k < n; ++k) {
        const int r = FRows[k];
        c.Texts.push_back(displayed ? G.Cells(ACol, r) : G.GetGridCell(ACol, r));
        if (!traits)
            continue;
        unsigned char bits = AutoTraits(c.Texts.back(), dateSep, timeSep);
        if (c.Style == ssAutomatic) {
            const TCellType ct = G.GetCellType(ACol, r);
            if (ct == ctCheckBox || ct == ctDataCheckBox || ct == ctVirtCheckBox || ct == ctRowCheckBox)
                bits |= kCheckBox;
        }
        c.Traits[k] = bits;
    }
    return c;
}

const QString& TVerIvovavOzed::TSortKeys::Text(int ACol, int K) { return Keys(ACol).Texts[size_t(K)]; }

bool TVerIvovavOzed::TSortKeys::PlainOrdinal(int ACol)
{
    const Column& c = Keys(ACol);
    switch (c.Style) {
    case ssAlphabetic:
    case ssAlphaCase:
        return true;
    case ssAutomatic: {
        if (G.FSortSettings->IgnoreCase())
            return false;
        unsigned char any = 0;
        for (const unsigned char t : c.Traits)
            any |= t;
        return !(any & (kNumber | kCheckBox)) && !((any & kDateFirst) && (any & kHasDateSep)) &&
               !((any & kTimeFirst) && (any & kHasTimeSep));
    }
    default:
        return false;
    }
}

const QString& TVerIvovavOzed::TSortKeys::Upper(Column& c, int K)
{
    if (c.Upper.empty())
        c.Upper.resize(FRows.size());
    std::optional<QString>& u = c.Upper[size_t(K)];
    if (!u)
        u = UpperCase(c.Texts[size_t(K)]);
    return *u;
}

double TVerIvovavOzed::TSortKeys::Number(Column& c, int K, bool& ok)
{
    if (c.Numbers.empty())
        c.Numbers.resize(FRows.size());
    std::optional<std::pair<double, bool>>& v = c.Numbers[size_t(K)];
    if (!v) {
        QString s = c.Texts[size_t(K)];
        if (!c.Suffix.isEmpty()) {
            const qsizetype k = s.indexOf(c.Suffix);
            if (k >= 0)
                s.remove(k, c.Suffix.size());
        }
        if (!c.Prefix.isEmpty()) {
            const qsizetype k = s.indexOf(c.Prefix);
            if (k >= 0)
                s.remove(k, c.Prefix.size());
        }
        if (c.Style == ssFinancial)
            s.remove(FormatSettings().ThousandSeparator);
        const QChar dec = FormatSettings().DecimalSeparator;
        if (dec != u'.') {
            const qsizetype k = s.indexOf(dec);
            if (k >= 0)
                s[k] = u'.';
        }
        bool whole = false;
        double d = LeadingNumber(s, whole);
        // An empty cell reads as 0.
        if (!whole && G.Cells(c.Col, FRows[size_t(K)]).isEmpty()) {
            d = 0;
            whole = true;
        }
        v = std::make_pair(d, whole);
    }
    ok = v->second;
    return v->first;
}

double TVerIvovavOzed::TSortKeys::Date(Column& c, int K, TSortStyle Style)
{
    std::vector<std::optional<double>>& dates = c.Dates[DateKind(Style)];
    if (dates.empty())
        dates.resize(FRows.size());
    std::optional<double>& v = dates[size_t(K)];
    if (!v)
        v = DateValue(c.Texts[size_t(K)], Style);
    return *v;
}

const QString& TVerIvovavOzed::TSortKeys::Stripped(Column& c, int K)
{
    if (c.Stripped.empty())
        c.Stripped.resize(FRows.size());
    std::optional<QString>& v = c.Stripped[size_t(K)];
    if (!v)
        v = G.GetStrippedCell(c.Col, FRows[size_t(K)]);
    return *v;
}

bool TVerIvovavOzed::TSortKeys::Checked(Column& c, int K)
{
    if (c.Checks.empty())
        c.Checks.resize(FRows.size(), -1);
    signed char& v = c.Checks[size_t(K)];
    if (v < 0) {
        bool state = false;
        G.GetCheckBoxState(c.Col, FRows[size_t(K)], state);
        v = state ? 1 : 0;
    }
    return v == 1;
}

std::intptr_t TVerIvovavOzed::TSortKeys::Picture(Column& c, int K)
{
    if (c.Pictures.empty())
        c.Pictures.resize(FRows.size());
    std::optional<std::intptr_t>& v = c.Pictures[size_t(K)];
    if (!v) {
        const TCellGraphic* g = G.GetCellGraphic(c.Col, FRows[size_t(K)]);
        std::intptr_t p = -1;
        if (g) {
            switch (g->CellType()) {
            case ctImageList:
                p = g->CellIndex();
                break;
            case ctBitmap:
                p = reinterpret_cast<std::intptr_t>(g->CellBitmap().Get());
                break;
            case ctIcon:
                p = reinterpret_cast<std::intptr_t>(g->CellIcon().Get());
                break;
            default:
                break;
            }
        }
        v = p;
    }
    return *v;
}

int TVerIvovavOzed::TSortKeys::CompareCells(int ACol, int K1, TSortDirection Direction, int K2, bool Self)
{
    ++G.Compares;
    if (Self)
        return 0;
    const TSortSettings& ss = *G.FSortSettings;
    Column& c = Keys(ACol);
    if (!c.RankTried && ++c.Compared > FRows.size())
        Rank(c, Direction);
    if (!c.Ranks.empty() && c.RankDir == Direction) {
        const int r1 = c.Ranks[size_t(K1)], r2 = c.Ranks[size_t(K2)];
        return r1 > r2 ? 1 : (r1 < r2 ? -1 : 0);
    }
    TSortStyle style = c.Style;
    const QString& t1 = c.Texts[size_t(K1)];
    const QString& t2 = c.Texts[size_t(K2)];
    // The texts the blank rule looks at: the stripped ones for HTML.
    const QString* b1 = &t1;
    const QString* b2 = &t2;
    int res = 1;

    if (style == ssAutomatic) {
        const unsigned char a = c.Traits[size_t(K1)];
        const unsigned char b = c.Traits[size_t(K2)];
        if (a & kCheckBox) {
            style = ssCheckBox;
        } else if (a & kNumber) {
            style = ssNumeric;
        } else {
            style = ss.IgnoreCase() ? ssAlphaNoCase : ssAlphabetic;
            if ((a & kDateFirst) && (b & kHasDateSep))
                style = (a & kHasTimeSep) ? ssDateTime : ssDate;
            else if ((a & kTimeFirst) && (b & kHasTimeSep))
                style = ssTime;
        }
    }
    if (style == ssAlphaNumeric || style == ssAlphaNumericNoCase) {
        const bool numbers = (c.Traits[size_t(K1)] & kNumber) && (c.Traits[size_t(K2)] & kNumber);
        style = numbers ? ssNumeric : (style == ssAlphaNumeric ? ssAlphabetic : ssAlphaNoCase);
    }

    switch (style) {
    case ssAlphabetic:
    case ssAlphaCase:
        res = SignOf(QString::compare(t1, t2, Qt::CaseSensitive));
        break;
    case ssAlphaNoCase:
        res = SignOf(QString::compare(Upper(c, K1), Upper(c, K2), Qt::CaseSensitive));
        break;
    case ssAnsiAlphaCase:
        res = SignOf(AnsiCompareStr(t1, t2));
        break;
    case ssAnsiAlphaNoCase:
        res = SignOf(AnsiCompareText(t1, t2));
        break;
    case ssHTML:
        b1 = &Stripped(c, K1);
        b2 = &Stripped(c, K2);
        res = SignOf(QString::compare(*b1, *b2, Qt::CaseSensitive));
        break;
    case ssNumeric:
    case ssFinancial: {
        bool ok1 = false, ok2 = false;
        const double v1 = Number(c, K1, ok1);
        const double v2 = Number(c, K2, ok2);
        res = !ok1 && !ok2 ? 0 : Sign(v1, v2);
        break;
    }
    case ssDate:
    case ssDateTime:
    case ssTime:
    case ssShortDateEU:
    case ssShortDateUS:
        res = Sign(Date(c, K1, style), Date(c, K2, style));
        break;
    case ssCustom: {
        int r = 0;
        if (G.OnCustomCompare)
            G.OnCustomCompare(&G, t1, t2, r);
        res = r;
        break;
    }
    case ssRaw: {
        int r = 0;
        if (G.OnRawCompare)
            G.OnRawCompare(&G, ACol, FRows[size_t(K1)], FRows[size_t(K2)], r);
        res = r;
        break;
    }
    case ssImages: {
        const std::intptr_t p1 = Picture(c, K1), p2 = Picture(c, K2);
        res = p1 > p2 ? 1 : (p1 < p2 ? -1 : 0);
        break;
    }
    case ssCheckBox: {
        const bool s1 = Checked(c, K1), s2 = Checked(c, K2);
        res = s1 == s2 ? 0 : (s1 ? 1 : -1);
        break;
    }
    default:
        break;
    }

    // Empty cells go first or last whatever the direction; a descending sort reverses results,
    // so the signs are reversed for it.
    if (ss.IgnoreBlanks() && b1->isEmpty() != b2->isEmpty()) {
        const int last = ss.BlankPos() == blLast ? 1 : -1;
        int r = b1->isEmpty() ? last : -last;
        if (Direction == sdDescending)
            r = -r;
        res = r;
    }
    return res;
}

int TVerIvovavOzed::TSortKeys::CompareRows(int ACol, int K1, int K2)
{
    // Ties go to the columns on the right, one after the other.
    const int last = G.ColCount() - 1;
    const TSortSettings& ss = *G.FSortSettings;
    for (int c = ACol;; ++c) {
        const int r = G.IsIgnoredColumn(c) ? 0 : CompareCells(c, K1, ss.Direction(), K2, SelfCompare(c, K1, K2));
        if (r != 0 || !ss.Full() || c > last - 1)
            return r;
    }
}

int TVerIvovavOzed::TSortKeys::CompareRowsIndexed(int K1, int K2)
{
    const TSortIndexList& list = G.FSortIndexes;
    for (int i = 0; i < list.Count(); ++i) {
        const int col = list.GetSortColumns(i);
        const bool ascending = list.GetSortDirections(i);
        const int r = G.IsIgnoredColumn(col)
                          ? 0
                          : CompareCells(col, K1, ascending ? sdAscending : sdDescending, K2, SelfCompare(col, K1, K2));
        if (r != 0 || !G.FSortSettings->Full())
            return ascending ? r : -r;
    }
    return 0;
}

// The partition compares its pivot with the key it was taken from; a key equals itself in every
// style but those the application answers, so such a compare reads no cells.
bool TVerIvovavOzed::TSortKeys::SelfCompare(int ACol, int K1, int K2)
{
    if (K1 != K2)
        return false;
    const TSortStyle style = Format(ACol < 0 ? 0 : ACol).Style;
    return style != ssCustom && style != ssRaw;
}

// ---- ranks -----------------------------------------------------------------------------------

namespace {

enum class TRankKind { None, Text, Upper, Number };

quint32 TextHash(QStringView t)
{
    quint32 h = 0x811C9DC5u ^ quint32(t.size());
    for (const QChar ch : t)
        h = (h ^ ch.unicode()) * 0x01000193u;
    return h ^ (h >> 15);
}

// The distinct texts in the order they first come, and for each text the number of its distinct
// text. An open-addressed table of the distinct ones stays small when few texts differ.
std::vector<QStringView> DistinctTexts(const std::vector<QString>& Texts, std::vector<int>& Id)
{
    std::vector<QStringView> distinct;
    std::vector<quint32> hashes; // of each distinct text
    std::vector<int> table(1024, -1);
    size_t mask = table.size() - 1;
    Id.resize(Texts.size());
    for (size_t k = 0; k < Texts.size(); ++k) {
        const QStringView t = Texts[k];
        const quint32 h = TextHash(t);
        size_t i = h & mask;
        while (table[i] >= 0 && (hashes[size_t(table[i])] != h || distinct[size_t(table[i])] != t))
            i = (i + 1) & mask;
        if (table[i] < 0) {
            table[i] = int(distinct.size());
            distinct.push_back(t);
            hashes.push_back(h);
            if (distinct.size() * 2 > table.size()) {
                table.assign(table.size() * 2, -1);
                mask = table.size() - 1;
                for (size_t d = 0; d < distinct.size(); ++d) {
                    size_t j = hashes[d] & mask;
                    while (table[j] >= 0)
                        j = (j + 1) & mask;
                    table[j] = int(d);
                }
                Id[k] = int(distinct.size()) - 1;
                continue;
            }
        }
        Id[k] = table[i];
    }
    return distinct;
}

// Dense ranks of texts in the ordinal order: equal texts share a rank.
std::vector<int> OrdinalRanks(const std::vector<QStringView>& Texts)
{
    struct Entry {
        quint64 Head;
        QStringView Text;
        int Id;
    };
    std::vector<Entry> entries;
    entries.reserve(Texts.size());
    for (size_t i = 0; i < Texts.size(); ++i)
        entries.push_back({OrdinalHead(Texts[i]), Texts[i], int(i)});
    auto cmp = [](const Entry& a, const Entry& b) {
        return a.Head != b.Head ? (a.Head > b.Head ? 1 : -1) : a.Text.compare(b.Text, Qt::CaseSensitive);
    };
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) { return cmp(a, b) < 0; });
    std::vector<int> ranks(Texts.size());
    int rank = -1;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i == 0 || cmp(entries[i - 1], entries[i]) != 0)
            ++rank;
        ranks[size_t(entries[i].Id)] = rank;
    }
    return ranks;
}

} // namespace

// Only compares that read each key's value alone are ranked: the alphabetic styles (with or
// without case), the numeric ones when every text reads whole as a number, and the automatic style
// when every key takes the same one of them.
void TVerIvovavOzed::TSortKeys::Rank(Column& c, TSortDirection Direction)
{
    c.RankTried = true;
    c.RankDir = Direction;
    const TSortSettings& ss = *G.FSortSettings;
    TRankKind kind = TRankKind::None;
    switch (c.Style) {
    case ssAlphabetic:
    case ssAlphaCase:
        kind = TRankKind::Text;
        break;
    case ssAlphaNoCase:
        kind = TRankKind::Upper;
        break;
    case ssNumeric:
    case ssFinancial:
        kind = TRankKind::Number;
        break;
    case ssAutomatic: {
        unsigned char any = 0, all = 0xFF;
        for (const unsigned char t : c.Traits) {
            any |= t;
            all &= t;
        }
        if (any & kCheckBox)
            break;
        if (all & kNumber)
            kind = TRankKind::Number;
        else if (!(any & kNumber) && !((any & kDateFirst) && (any & kHasDateSep)) &&
                 !((any & kTimeFirst) && (any & kHasTimeSep)))
            kind = ss.IgnoreCase() ? TRankKind::Upper : TRankKind::Text;
        break;
    }
    default:
        break;
    }
    if (kind == TRankKind::None)
        return;

    const size_t n = FRows.size();
    std::vector<int> ranks(n);
    int top = -1;
    if (kind == TRankKind::Number) {
        std::vector<std::pair<double, int>> values;
        values.reserve(n);
        for (size_t k = 0; k < n; ++k) {
            bool ok = false;
            const double d = Number(c, int(k), ok);
            // Two texts that do not read whole compare equal whatever else they compare to.
            if (!ok && !(ss.IgnoreBlanks() && c.Texts[k].isEmpty()))
                return;
            values.emplace_back(d, int(k));
        }
        std::sort(values.begin(), values.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (size_t i = 0; i < values.size(); ++i) {
            if (i == 0 || values[i - 1].first < values[i].first)
                ++top;
            ranks[size_t(values[i].second)] = top;
        }
    } else {
        // Each distinct text is ranked once.
        std::vector<int> id;
        std::vector<QStringView> distinct = DistinctTexts(c.Texts, id);
        std::vector<QString> upper;
        if (kind == TRankKind::Upper) {
            upper.reserve(distinct.size());
            for (QStringView& t : distinct) {
                upper.push_back(UpperCase(t.toString()));
                t = upper.back();
            }
        }
        const std::vector<int> distinctRanks = OrdinalRanks(distinct);
        for (size_t k = 0; k < n; ++k) {
            ranks[k] = distinctRanks[size_t(id[k])];
            top = std::max(top, ranks[k]);
        }
    }
    // Empty cells go first or last whatever the direction.
    if (ss.IgnoreBlanks()) {
        const int last = (ss.BlankPos() == blLast ? 1 : -1) * (Direction == sdDescending ? -1 : 1);
        for (size_t k = 0; k < n; ++k)
            if (c.Texts[k].isEmpty())
                ranks[k] = last > 0 ? top + 1 : -1;
    }
    c.Ranks = std::move(ranks);
    c.RankCount = top + 1 + (ss.IgnoreBlanks() ? 1 : 0);
}

bool TVerIvovavOzed::TSortKeys::HeadsMostlyDiffer(int ACol)
{
    const Column& c = Keys(ACol);
    const size_t n = FRows.size();
    const size_t m = std::min<size_t>(n, 1024);
    if (m == 0)
        return false;
    std::vector<quint64> sample;
    sample.reserve(m);
    for (size_t i = 0; i < m; ++i)
        sample.push_back(OrdinalHead(c.Texts[i * n / m]));
    std::sort(sample.begin(), sample.end());
    const size_t distinct = size_t(std::unique(sample.begin(), sample.end()) - sample.begin());
    return distinct * 2 > m;
}

const std::vector<int>& TVerIvovavOzed::TSortKeys::Ranks(int ACol, TSortDirection Direction, int* Count)
{
    Column& c = Keys(ACol);
    if (!c.RankTried || (!c.Ranks.empty() && c.RankDir != Direction)) {
        c.Ranks.clear();
        Rank(c, Direction);
    }
    if (Count)
        *Count = c.RankCount;
    return c.Ranks;
}

// ---- rows ------------------------------------------------------------------------------------

int TVerIvovavOzed::CompareCells(int ACol, int ARow1, TSortDirection Direction, int ARow2)
{
    TSortKeys keys(*this, {ARow1, ARow2});
    return keys.CompareCells(ACol, 0, Direction, 1);
}

int TVerIvovavOzed::CompareRows(int ACol, int ARow1, int ARow2)
{
    TSortKeys keys(*this, {ARow1, ARow2});
    return keys.CompareRows(ACol, 0, 1);
}

int TVerIvovavOzed::CompareRowsIndexed(int Index, int ARow1, int ARow2)
{
    for (int i = Index; i < FSortIndexes.Count(); ++i) {
        const int col = FSortIndexes.GetSortColumns(i);
        const bool ascending = FSortIndexes.GetSortDirections(i);
        const int r = IsIgnoredColumn(col) ? 0 : CompareCells(col, ARow1, ascending ? sdAscending : sdDescending, ARow2);
        if (r != 0 || !FSortSettings->Full())
            return ascending ? r : -r;
    }
    return 0;
}
