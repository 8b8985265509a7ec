// The row filter of the string grid: the test of a row against the conditions, filter levels in
// the hidden-row store, the applying FilterActive and the narrowing of rows while typing.
#include "grid/AdvGrid.h"
#include "render/RuvOdid.h"
#include "render/RuvOdid_Filter.h"

#include <cmath>

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

} // namespace

bool TVerIvovavOzed::RowMatchesFilter(int ARow)
{
    bool result = true;
    for (int i = 0; i < FFilter->Count(); ++i) {
        const TFilterData& f = *FFilter->Items(i);
        QString text;
        switch (f.Data) {
        case fcVirtual: text = Cells(f.Column, ARow); break;
        case fcNormal: text = GetGridCell(f.Column, ARow); break;
        case fcStripHTML: text = GetStrippedCell(f.Column, ARow); break;
        case fcCalculated: EvaluateFormula(f.Column, ARow, text); break;
        case fcRow:
            for (int c = 0; c < ColCount(); ++c)
                text += GetGridCell(c, ARow) + QStringLiteral("\r\n");
            break;
        }
        text = text.trimmed();
        if (text.contains(QStringLiteral("|\\")))
            text = DecodeUnicodeCell(text);

        bool outcome = false;
        if (f.Data == fcRow) {
            outcome = AsciiUpper(text).contains(AsciiUpper(f.Condition));
        } else {
            if (!f.Prefix.isEmpty() && text.startsWith(f.Prefix))
                text.remove(0, f.Prefix.size());
            if (!f.Suffix.isEmpty()) {
                const qsizetype at = text.indexOf(f.Suffix);
                if (at >= 0 && at + f.Suffix.size() == text.size())
                    text.truncate(at);
            }
            if (f.Condition.isEmpty()) {
                outcome = true;
            } else {
                try {
                    outcome = f.Method == fmLiteral ? text == f.Condition
                                                    : MatchFilterCondition(f.Condition, text, f.CaseSensitive);
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

void TVerIvovavOzed::ApplyFilter()
{
    FFilterFixedRows = FixedRows();
    const int last = RowCount() - FixedFooters() - 1;
    const int total = RowCount() - FixedFooters() - FixedRows();
    TIntList rows;
    int counted = 0;
    int percent = 0;
    for (int r = FixedRows(); r <= last; ++r) {
        if (FFilterNormalCellsOnly && (IsNode(r) || IsSummary(r)))
            continue;
        ++counted;
        if (!RowMatchesFilter(r))
            rows.Add(r);
        if (total > 0) {
            // nearbyint rounds halves to even in the default rounding mode
            percent = int(std::nearbyint(double(counted) / total * 100.0));
            if (OnFilterProgress)
                OnFilterProgress(this, percent);
        }
    }
    HideRowList(rows);
    if (OnFilterProgress)
        OnFilterProgress(this, percent);
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
