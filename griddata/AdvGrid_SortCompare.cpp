// TVerIvovavOzed: how two rows compare for sorting: the compare of one column by its sort style,
// the tie rule over the following columns, and the compare by the sort index list.
#include "grid/AdvGrid.h"

#include "platform/SysUtils.h"
#include "render/RuvOdid.h"

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
    const QByteArray bytes = s.mid(start, end - start).toLatin1();
    return std::strtod(bytes.constData(), nullptr);
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

int TVerIvovavOzed::CompareCells(int ACol, int ARow1, TSortDirection Direction, int ARow2)
{
    ++Compares;
    const TSortSettings& ss = *FSortSettings;
    TSortStyle style = ss.AutoFormat() ? ssAutomatic : (ss.IgnoreCase() ? ssAlphaNoCase : ssAlphabetic);
    QString prefix, suffix;
    GetCellFormat(ACol, style, prefix, suffix);

    const bool displayed = ss.SortOnVirtualCells();
    QString t1 = displayed ? Cells(ACol, ARow1) : GetGridCell(ACol, ARow1);
    QString t2 = displayed ? Cells(ACol, ARow2) : GetGridCell(ACol, ARow2);
    int res = 1;

    if (style == ssAutomatic) {
        const TCellType ct = GetCellType(ACol, ARow1);
        if (ct == ctCheckBox || ct == ctDataCheckBox || ct == ctVirtCheckBox || ct == ctRowCheckBox) {
            style = ssCheckBox;
        } else if (IsNumberText(t1)) {
            style = ssNumeric;
        } else {
            style = ss.IgnoreCase() ? ssAlphaNoCase : ssAlphabetic;
            const QChar dateSep = FormatSettings().DateSeparator;
            const QChar timeSep = FormatSettings().TimeSeparator;
            // Positions counted from 1: a separator as the second or third character, not last,
            // between two digits.
            const int n = int(t1.size());
            const int p = int(t1.indexOf(dateSep)) + 1;
            if (p > 1 && p < 4 && p < n) {
                if (IsDigitChar(t1[p - 2]) && IsDigitChar(t1[p]) && t2.contains(dateSep))
                    style = t1.contains(timeSep) ? ssDateTime : ssDate;
            } else {
                const int q = int(t1.indexOf(timeSep)) + 1;
                if (q > 1 && q < 4 && q < n && IsDigitChar(t1[q - 2]) && IsDigitChar(t1[q]) && t2.contains(timeSep))
                    style = ssTime;
            }
        }
    }
    if (style == ssAlphaNumeric || style == ssAlphaNumericNoCase) {
        const bool numbers = IsNumberText(t1) && IsNumberText(t2);
        style = numbers ? ssNumeric : (style == ssAlphaNumeric ? ssAlphabetic : ssAlphaNoCase);
    }

    switch (style) {
    case ssAlphabetic:
    case ssAlphaCase:
        res = SignOf(QString::compare(t1, t2, Qt::CaseSensitive));
        break;
    case ssAlphaNoCase:
        t1 = UpperCase(t1);
        t2 = UpperCase(t2);
        res = SignOf(QString::compare(t1, t2, Qt::CaseSensitive));
        break;
    case ssAnsiAlphaCase:
        res = SignOf(AnsiCompareStr(t1, t2));
        break;
    case ssAnsiAlphaNoCase:
        res = SignOf(AnsiCompareText(t1, t2));
        break;
    case ssHTML:
        t1 = GetStrippedCell(ACol, ARow1);
        t2 = GetStrippedCell(ACol, ARow2);
        res = SignOf(QString::compare(t1, t2, Qt::CaseSensitive));
        break;
    case ssNumeric:
    case ssFinancial: {
        auto prepare = [&](QString s) {
            if (!suffix.isEmpty()) {
                const qsizetype k = s.indexOf(suffix);
                if (k >= 0)
                    s.remove(k, suffix.size());
            }
            if (!prefix.isEmpty()) {
                const qsizetype k = s.indexOf(prefix);
                if (k >= 0)
                    s.remove(k, prefix.size());
            }
            if (style == ssFinancial)
                s.remove(FormatSettings().ThousandSeparator);
            const QChar dec = FormatSettings().DecimalSeparator;
            if (dec != u'.') {
                const qsizetype k = s.indexOf(dec);
                if (k >= 0)
                    s[k] = u'.';
            }
            return s;
        };
        bool ok1 = false, ok2 = false;
        double v1 = LeadingNumber(prepare(t1), ok1);
        double v2 = LeadingNumber(prepare(t2), ok2);
        // An empty cell reads as 0.
        if (!ok1 && Cells(ACol, ARow1).isEmpty()) {
            v1 = 0;
            ok1 = true;
        }
        if (!ok2 && Cells(ACol, ARow2).isEmpty()) {
            v2 = 0;
            ok2 = true;
        }
        res = !ok1 && !ok2 ? 0 : Sign(v1, v2);
        break;
    }
    case ssDate:
    case ssDateTime:
    case ssTime:
    case ssShortDateEU:
    case ssShortDateUS:
        res = Sign(DateValue(t1, style), DateValue(t2, style));
        break;
    case ssCustom: {
        int r = 0;
        if (OnCustomCompare)
            OnCustomCompare(this, t1, t2, r);
        res = r;
        break;
    }
    case ssRaw: {
        int r = 0;
        if (OnRawCompare)
            OnRawCompare(this, ACol, ARow1, ARow2, r);
        res = r;
        break;
    }
    case ssImages: {
        auto picture = [this, ACol](int ARow) -> std::intptr_t {
            const TCellGraphic* g = GetCellGraphic(ACol, ARow);
            if (!g)
                return -1;
            switch (g->CellType()) {
            case ctImageList:
                return g->CellIndex();
            case ctBitmap:
                return reinterpret_cast<std::intptr_t>(g->CellBitmap().Get());
            case ctIcon:
                return reinterpret_cast<std::intptr_t>(g->CellIcon().Get());
            default:
                return -1;
            }
        };
        const std::intptr_t p1 = picture(ARow1), p2 = picture(ARow2);
        res = p1 > p2 ? 1 : (p1 < p2 ? -1 : 0);
        break;
    }
    case ssCheckBox: {
        bool s1 = false, s2 = false;
        GetCheckBoxState(ACol, ARow1, s1);
        GetCheckBoxState(ACol, ARow2, s2);
        res = s1 == s2 ? 0 : (s1 ? 1 : -1);
        break;
    }
    default:
        break;
    }

    // Empty cells go first or last whatever the direction; a descending sort reverses results,
    // so the signs are reversed for it.
    if (ss.IgnoreBlanks() && t1.isEmpty() != t2.isEmpty()) {
        const int last = ss.BlankPos() == blLast ? 1 : -1;
        int r = t1.isEmpty() ? last : -last;
        if (Direction == sdDescending)
            r = -r;
        res = r;
    }
    return res;
}

int TVerIvovavOzed::CompareRows(int ACol, int ARow1, int ARow2)
{
    // Ties go to the columns on the right, one after the other.
    const int last = ColCount() - 1;
    for (int c = ACol;; ++c) {
        const int r = IsIgnoredColumn(c) ? 0 : CompareCells(c, ARow1, FSortSettings->Direction(), ARow2);
        if (r != 0 || !FSortSettings->Full() || c > last - 1)
            return r;
    }
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
