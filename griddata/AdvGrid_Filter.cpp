// The row filter of the string grid: the test of a row against the conditions, filter levels in
// the hidden-row store, the applying FilterActive and the narrowing of rows while typing.
#include "grid/AdvGrid.h"
#include "render/RuvOdid.h"
#include "render/RuvOdid_Filter.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

namespace {

// Upper case for the letters a to z only: the row search of NarrowDown ignores the language.
QString AsciiUpper(const QString& s)
{
    QString r = s;
    for (QChar& c : r)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    return r;
}

// nearbyint rounds halves to even in the default rounding mode
int FilterPercent(int Counted, int Total) { return int(std::nearbyint(double(Counted) / Total * 100.0)); }

// QStringView::trimmed, answered at once for the usual text that starts and ends with a visible
// ASCII character.
QStringView Trimmed(QStringView v)
{
    const auto plain = [](QChar c) { return c.unicode() > u' ' && c.unicode() < 0x7f; };
    if (v.isEmpty() || (plain(v.front()) && plain(v.back())))
        return v;
    return v.trimmed();
}

// Whether the text holds "|\\" (an encoded character); one pass, texts of cells are short.
bool HoldsEscape(QStringView v)
{
    for (qsizetype i = 0; i + 1 < v.size(); ++i)
        if (v[i] == u'|' && v[i + 1] == u'\\')
            return true;
    return false;
}

bool Combine(TFilterOperation Op, bool Result, bool Outcome)
{
    switch (Op) {
    case foSHORT:
    case foNONE: return Outcome;
    case foAND: return Result && Outcome;
    case foXOR: return Result != Outcome;
    case foOR: return Result || Outcome;
    }
    return Outcome;
}

// A condition as the filter matches it. A condition that is one wildcard pattern (no comparison,
// no group, no second term) is read once: its parts between the stars, whether it is negated,
// and whether the text must be upper-cased first (only when the case is ignored and the pattern
// holds a character with a case, or a "?" that an upper-cased text could shift). Any other
// condition goes to the full condition matcher for each text.
class TConditionMatcher {
public:
    TConditionMatcher(const QString& Condition, bool CaseSensitive)
        : FCondition(Condition), FCaseSensitive(CaseSensitive)
    {
        QString cond = RemoveBlanksOutsideQuotes(platform::Trim(Condition));
        if (cond.startsWith(u'='))
            cond.remove(0, 1);
        if (cond.startsWith(u'('))
            return;
        for (QChar c : cond)
            if (c == u'&' || c == u'|' || c == u';' || c == u'^' || c == u'<' || c == u'>')
                return;
        FPlain = true;
        const QString term = CaseSensitive ? cond : platform::AnsiUpperCase(cond);
        for (QChar c : term) {
            if (c == u'!')
                FNegate = true;
            else if (c != u'"')
                FPattern += c;
        }
        if (!CaseSensitive)
            for (QChar c : FPattern)
                if (c == u'?' || c.isLetter() || c.isMark() || c.isSurrogate() || c.toUpper() != c ||
                    c.toLower() != c) {
                    FUpper = true;
                    break;
                }
        FStar = FPattern.contains(u'*');
        if (FStar)
            for (const QString& part : FPattern.split(u'*'))
                FParts.push_back({part, part.contains(u'?')});
    }

    bool Matches(QStringView Text) const
    {
        if (!FPlain)
            return MatchFilterCondition(FCondition, Text.toString(), FCaseSensitive);
        if (FUpper) {
            const QString upper = platform::AnsiUpperCase(Text.toString());
            return Wildcard(upper) != FNegate;
        }
        return Wildcard(Text) != FNegate;
    }

    // Asked for every row: a condition still sharing the text it was read from is the same
    // without a compare of the characters.
    bool Same(const TFilterData& f) const
    {
        return f.CaseSensitive == FCaseSensitive &&
               ((f.Condition.constData() == FCondition.constData() && f.Condition.size() == FCondition.size()) ||
                f.Condition == FCondition);
    }

private:
    struct Part {
        QString Text;
        bool Joker; // holds a "?"
    };

    static bool SegmentAt(QStringView seg, QStringView v, qsizetype at)
    {
        if (at < 0 || seg.size() > v.size() - at)
            return false;
        for (qsizetype k = 0; k < seg.size(); ++k)
            if (seg[k] != u'?' && seg[k] != v[at + k])
                return false;
        return true;
    }

    // "*" any sequence, "?" one character, everything else itself; the parts between the stars
    // placed leftmost one after the other, the first at the start and the last at the end.
    bool Wildcard(QStringView v) const
    {
        if (!FStar)
            return FPattern.size() == v.size() && SegmentAt(FPattern, v, 0);
        const QString& first = FParts.front().Text;
        const QString& last = FParts.back().Text;
        if (!SegmentAt(first, v, 0))
            return false;
        qsizetype lo = first.size();
        const qsizetype lastAt = v.size() - last.size();
        if (lastAt < lo || !SegmentAt(last, v, lastAt))
            return false;
        const QStringView inner = v.left(lastAt);
        for (size_t k = 1; k + 1 < FParts.size(); ++k) {
            const Part& part = FParts[k];
            if (part.Text.isEmpty())
                continue;
            qsizetype at = lo;
            if (part.Joker) {
                while (at + part.Text.size() <= lastAt && !SegmentAt(part.Text, v, at))
                    ++at;
                if (at + part.Text.size() > lastAt)
                    return false;
            } else if ((at = inner.indexOf(part.Text, lo)) < 0)
                return false;
            lo = at + part.Text.size();
        }
        return true;
    }

    QString FCondition;
    bool FCaseSensitive;
    bool FPlain = false;
    bool FNegate = false;
    bool FUpper = false;
    bool FStar = false;
    QString FPattern;
    std::vector<Part> FParts;
};

} // namespace

struct TVerIvovavOzed::TFilterMatchers {
    std::vector<TConditionMatcher> Items;
};

const TVerIvovavOzed::TFilterMatchers& TVerIvovavOzed::FilterMatchers()
{
    const int n = FFilter->Count();
    bool same = FFilterMatchers && int(FFilterMatchers->Items.size()) == n;
    for (int i = 0; same && i < n; ++i)
        same = FFilterMatchers->Items[size_t(i)].Same(*FFilter->Items(i));
    if (!same) {
        auto m = std::make_shared<TFilterMatchers>();
        m->Items.reserve(size_t(n));
        for (int i = 0; i < n; ++i)
            m->Items.emplace_back(FFilter->Items(i)->Condition, FFilter->Items(i)->CaseSensitive);
        FFilterMatchers = std::move(m);
    }
    return *FFilterMatchers;
}

bool TVerIvovavOzed::RowMatchesFilter(int ARow)
{
    FilterMatchers();
    const TFilterMatchers* matchers = FFilterMatchers.get();
    // Held once a step may run the program's own code (a display hook, a formula, OnCustomFilter),
    // so that code that changes the conditions cannot free them under the loop. Reading a cell
    // from the store runs none.
    std::shared_ptr<TFilterMatchers> keep;
    bool result = true;
    for (int i = 0; i < FFilter->Count() && i < int(matchers->Items.size()); ++i) {
        const TFilterData& f = *FFilter->Items(i);
        QString text; // filled for texts that are made; a stored cell is read in place
        QStringView view;
        if (f.Data == fcNormal || (f.Data == fcVirtual && DisplaysStoredText(f.Column, ARow))) {
            view = StoredCell(f.Column, ARow);
        } else {
            if (!keep)
                keep = FFilterMatchers;
            switch (f.Data) {
            case fcVirtual: text = Cells(f.Column, ARow); break;
            case fcNormal: break;
            case fcStripHTML: text = GetStrippedCell(f.Column, ARow); break;
            case fcCalculated: EvaluateFormula(f.Column, ARow, text); break;
            case fcRow:
                for (int c = 0; c < ColCount(); ++c)
                    text += GetGridCell(c, ARow) + QStringLiteral("\r\n");
                break;
            }
            view = text;
        }
        view = Trimmed(view);
        QString decoded;
        if (HoldsEscape(view)) {
            decoded = DecodeUnicodeCell(view.toString());
            view = decoded;
        }

        bool outcome = false;
        if (f.Data == fcRow) {
            outcome = AsciiUpper(view.toString()).contains(AsciiUpper(f.Condition));
        } else {
            if (!f.Prefix.isEmpty() && view.startsWith(f.Prefix))
                view = view.mid(f.Prefix.size());
            if (!f.Suffix.isEmpty()) {
                const qsizetype at = view.indexOf(f.Suffix);
                if (at >= 0 && at + f.Suffix.size() == view.size())
                    view.truncate(at);
            }
            if (f.Condition.isEmpty()) {
                outcome = true;
            } else {
                try {
                    outcome = f.Method == fmLiteral ? view == f.Condition : matchers->Items[size_t(i)].Matches(view);
                } catch (...) {
                    outcome = false; // a condition that cannot be evaluated does not hold
                }
            }
        }
        result = Combine(f.Operation, result, outcome);
        if (f.Operation == foSHORT && !outcome)
            break;
    }
    if (OnCustomFilter) {
        bool accept = result;
        OnCustomFilter(this, ARow, accept);
        result = accept;
    }
    return result;
}

// Whether the text a cell shows is its stored text as it stands, known without making it: no
// object (so no merged range pointing elsewhere), no display hook, no link or group-count text,
// and the grid is of this class (a derived grid may change texts in its own GetDisplText). The
// filter then reads the stored text in place, without a counted copy per row.
bool TVerIvovavOzed::DisplaysStoredText(int ACol, int ARow) const
{
    return typeid(*this) == typeid(TVerIvovavOzed) && !OnGetDisplText && !OnGetDisplWideText && !URLShowInText() &&
           (!FGrouping->ShowGroupCount || ACol != 1) && !StoresObject(ACol, ARow);
}

void TVerIvovavOzed::ApplyFilter()
{
    FFilterFixedRows = FixedRows();
    const int last = RowCount() - FixedFooters() - 1;
    const int total = RowCount() - FixedFooters() - FixedRows();
    // On a grid of this class a node or summary row keeps its properties in its first cell: a row
    // without an object there is neither, known without asking for its cell type.
    const bool ownTypes = typeid(*this) == typeid(TVerIvovavOzed);
    std::vector<int> rows = std::move(FFilterRows); // taken, so that a filter run from a handler has its own
    rows.clear();
    int counted = 0;
    for (int r = FixedRows(); r <= last; ++r) {
        if (FFilterNormalCellsOnly && (!ownTypes || StoresObject(0, r)) && (IsNode(r) || IsSummary(r)))
            continue;
        ++counted;
        if (!RowMatchesFilter(r))
            rows.push_back(r);
        if (total > 0 && OnFilterProgress)
            OnFilterProgress(this, FilterPercent(counted, total));
    }
    HideFilteredRows(rows);
    FFilterRows = std::move(rows);
    if (OnFilterProgress)
        OnFilterProgress(this, total > 0 && counted > 0 ? FilterPercent(counted, total) : 0);
}

// The rows become the records of a new filter level as HideRowList makes them (the same records,
// heights, real indexes and shown rows), with whole row stores moved: each hidden row's lists go
// into its record and the shown rows close up, where the general path puts every row in a new
// order first and then takes the hidden ones out.
void TVerIvovavOzed::HideFilteredRows(const std::vector<int>& Rows)
{
    const int n = RowCount();
    // The heights as they were before any row moves.
    std::vector<int> heights = std::move(FFilterHeights);
    heights.resize(size_t(std::max(0, n)));
    for (int r = 0; r < n; ++r)
        heights[size_t(r)] = RowHeights(r);
    // Rows hidden before (by a node, say) keep their real indexes; the new records take theirs.
    const std::vector<int> real = FGridItems.empty() ? std::vector<int>() : RealRowsOfDisplayed();
    FGridItems.reserve(FGridItems.size() + Rows.size());
    const bool whole = TakeOutStoredRows(0, n, Rows, TotalColCount(), [&](size_t k) -> TGridStrings& {
        const int r = Rows[k];
        TGridItem* item = FGridItems.Add();
        item->Idx = real.empty() ? r : real[size_t(r)];
        item->Height = heights[size_t(r)];
        item->Level = FFilterLevel;
        return item->Items;
    });
    if (!whole) {
        // Some row holds cells right of the last column: the general path copies cell by cell.
        TIntList list;
        for (int r : Rows)
            list.Add(r);
        HideRowList(list);
        FFilterHeights = std::move(heights);
        return;
    }
    ++FFilterLevel;
    const int count = int(Rows.size());
    size_t h = 0;
    int to = 0;
    for (int r = 0; r < n; ++r) {
        if (h < Rows.size() && Rows[h] == r) {
            ++h;
            continue;
        }
        if (to != r && heights[size_t(to)] != heights[size_t(r)])
            SetRowHeights(to, heights[size_t(r)]);
        ++to;
    }
    for (int r = n - count; r < n; ++r)
        if (heights[size_t(r)] != DefaultRowHeight())
            TStringGrid::SetRowHeights(r, DefaultRowHeight());
    SetRowCount(n - count);
    CellControlsUpdate(false);
    FFilterHeights = std::move(heights);
}

void TVerIvovavOzed::FilterRow(int ARow)
{
    if (!RowMatchesFilter(ARow))
        HideRow(RealRowIndex(ARow));
}

// Setting FixedRows moves the current cell to the first normal row, so it is set only when the
// filter changed it.
void TVerIvovavOzed::RestoreFilterFixedRows()
{
    if (FFilterFixedRows >= 0 && FFilterFixedRows != FixedRows())
        SetFixedRows(FFilterFixedRows);
}

bool TVerIvovavOzed::RemoveLastFilter()
{
    if (FFilterLevel == 0)
        return false;
    UnHideRowList();
    RestoreFilterFixedRows();
    if (FSelHidden)
        UnHideSelection();
    CalcFooter(-1);
    --FFilterLevel;
    return FFilterLevel > 1;
}

void TVerIvovavOzed::RemoveAllFilters()
{
    if (FFilterLevel == 0) {
        FFilter->Clear();
        return;
    }
    while (FFilterLevel > 0)
        RemoveLastFilter();
}

void TVerIvovavOzed::ReplaceFilterCondition(const QString& ACondition, int AColumn)
{
    FFilter->Clear();
    TFilterData* d = FFilter->Add();
    d->Column = int16_t(AColumn);
    d->CaseSensitive = false;
    if (AColumn == -1) {
        d->Data = fcRow;
        d->Condition = ACondition;
    } else {
        d->Data = fcNormal;
        d->Condition = QLatin1Char('*') + ACondition + QLatin1Char('*');
        if (ACondition.contains(QLatin1Char(' ')))
            d->Condition = QLatin1Char('"') + d->Condition + QLatin1Char('"');
    }
}

void TVerIvovavOzed::NarrowDown(const QString& ACondition, int AColumn)
{
    SetFixedRowAlways(true);
    if (ACondition.size() == FLastFilter.size() + 1 && ACondition.startsWith(FLastFilter)) {
        ReplaceFilterCondition(ACondition, AColumn);
        ApplyFilter();
    } else if (!ACondition.isEmpty() && FLastFilter.size() == ACondition.size() + 1 &&
               FLastFilter.startsWith(ACondition)) {
        RemoveLastFilter();
    } else {
        RemoveAllFilters();
        if (!ACondition.isEmpty()) {
            ReplaceFilterCondition(ACondition, AColumn);
            ApplyFilter();
        }
    }
    // With an empty text every filter level is shown again; rows hidden otherwise (by nodes or
    // HideRow) stay in the hidden-row store rather than being dropped with their texts.
    FLastFilter = ACondition;
}

void TVerIvovavOzed::SetFilterActive(bool Value)
{
    if (Value != FFilterActive) {
        if (Value) {
            if (Row() >= RowCount() || Col() >= ColCount())
                TStringGrid::FocusCell(FixedCols(), FixedRows(), true);
            BeginUpdate();
            try {
                ApplyFilter();
            } catch (...) {
                EndUpdate();
                throw;
            }
            EndUpdate();
            FSelHidden = false;
        } else {
            // With no level stacked (all taken back already) there is nothing of the filter's to
            // show; the level below 0 belongs to rows hidden by contracted nodes.
            if (FFilterLevel > 0)
                UnHideRowList();
            RestoreFilterFixedRows();
            if (FSelHidden)
                UnHideSelection();
        }
        FFilterActive = Value;
        SetTopRow(FixedRows());
    }
    CalcFooter(-1);
}
