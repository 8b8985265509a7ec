// Typed cell values, combo item list, row headers, highlighting, cell checking, fills and other
// cell operations of TVerIvovavOzed.
#include "grid/AdvGrid.h"
#include "gridedit/GridCombo.h"
#include "render/RuvOdid.h"
#include "render/VurADIDO.h"

#include <QRandomGenerator>

using platform::Format;
using platform::FormatSettings;

namespace {

// The grid's integer reading: trimmed, empty or "-" is 0, else the platform's integer syntax.
bool ReadIntText(QString s, int& value)
{
    s = s.trimmed();
    if (s.isEmpty() || s == QLatin1String("-"))
        s = QStringLiteral("0");
    return platform::TryStrToInt(s, value);
}

double ReadFloatText(const QString& text)
{
    QString s = NumberTextNormalize(text);
    if (s.isEmpty() || s == QLatin1String("-"))
        return 0;
    static const platform::TFormatSettings invariant = platform::TFormatSettings::Invariant();
    double v = 0;
    if (!platform::TryStrToFloat(s, v, invariant))
        throw ZUzeRodoRediv(QStringLiteral("Cell does not contain a float value"));
    return v;
}

} // namespace

// ---- numbers, dates and times ----------------------------------------------------------------

int TVerIvovavOzed::Ints(int ACol, int ARow) const
{
    int v = 0;
    if (!ReadIntText(GetStrippedCell(ACol, ARow), v))
        throw ZUzeRodoRediv(QStringLiteral("Cell does not contain integer value"));
    return v;
}

void TVerIvovavOzed::SetInts(int ACol, int ARow, int Value)
{
    SetCells(ACol, ARow, QString::number(Value));
    if (NumHiddenColumns() > 0)
        RepaintCell(DisplColIndex(ACol), ARow);
}

int TVerIvovavOzed::AllInts(int ACol, int ARow) const
{
    int v = 0;
    if (!ReadIntText(CellsEx(ACol, ARow), v))
        throw ZUzeRodoRediv(QStringLiteral("Cell does not contain integer value"));
    return v;
}

void TVerIvovavOzed::SetAllInts(int ACol, int ARow, int Value) { SetCellsEx(ACol, ARow, QString::number(Value)); }

double TVerIvovavOzed::Floats(int ACol, int ARow) const { return ReadFloatText(GetStrippedCell(ACol, ARow)); }

void TVerIvovavOzed::SetFloats(int ACol, int ARow, double Value)
{
    const QString fmt = const_cast<TVerIvovavOzed*>(this)->GetDefaultFloatFormat(ACol);
    SetCells(ACol, ARow, Format(fmt, {Value}));
}

double TVerIvovavOzed::AllFloats(int ACol, int ARow) const { return ReadFloatText(CellsEx(ACol, ARow)); }

void TVerIvovavOzed::SetAllFloats(int ACol, int ARow, double Value)
{
    SetCellsEx(ACol, ARow, Format(FloatFormat(), {Value}));
}

platform::TDateTime TVerIvovavOzed::Dates(int ACol, int ARow) const { return platform::StrToDate(Cells(ACol, ARow)); }

void TVerIvovavOzed::SetDates(int ACol, int ARow, platform::TDateTime Value)
{
    SetCells(ACol, ARow, Value > 0 || ShowNullDates() ? platform::DateToStr(Value) : QString());
}

platform::TDateTime TVerIvovavOzed::Times(int ACol, int ARow) const { return platform::StrToTime(Cells(ACol, ARow)); }

void TVerIvovavOzed::SetTimes(int ACol, int ARow, platform::TDateTime Value) { SetCells(ACol, ARow, platform::TimeToStr(Value)); }

// ---- combo item list -------------------------------------------------------------------------

void TVerIvovavOzed::AddComboString(const QString& s) { FEditCombo->Items.Add(s); }

void TVerIvovavOzed::AddComboStringObject(const QString& s, void* AObject) { FEditCombo->Items.AddObject(s, AObject); }

bool TVerIvovavOzed::RemoveComboString(const QString& s)
{
    const int i = FEditCombo->Items.IndexOf(s);
    if (i < 0)
        return false;
    FEditCombo->Items.Delete(i);
    return true;
}

int TVerIvovavOzed::GetComboCount() const { return FEditCombo->Items.Count(); }

int TVerIvovavOzed::ComboIndex(int ACol, int ARow)
{
    DoGetEditorProp(ACol, ARow, EditLink());
    return FEditCombo->Items.IndexOf(Cells(ACol, ARow));
}

void TVerIvovavOzed::SetComboIndex(int ACol, int ARow, int Value)
{
    DoGetEditorProp(ACol, ARow, EditLink());
    SetCells(ACol, ARow, FEditCombo->Items.Strings(Value));
}

// ---- row headers -----------------------------------------------------------------------------

void TVerIvovavOzed::SetRowHeaders(const platform::TStringList& Value)
{
    auto change = std::move(FRowHeaders.OnChange);
    FRowHeaders.OnChange = nullptr;
    FRowHeaders.Assign(Value);
    FRowHeaders.OnChange = std::move(change);
    if (FixedCols() > 0)
        ClearRowHeaders();
    ShowRowHeaders();
}

void TVerIvovavOzed::ClearRowHeaders()
{
    for (int i = 0; i < RowCount(); ++i)
        SetCells(0, i, QString());
}

// ---- highlighting and error marks ------------------------------------------------------------

QString TVerIvovavOzed::HilightText(bool DoCase, const QString& S, const QString& Text)
{
    return MarkupHighlight(S, Text, QStringLiteral("hi"), DoCase);
}

QString TVerIvovavOzed::UnHilightText(const QString& S) { return MarkupUnhighlight(S, QStringLiteral("hi")); }

QString TVerIvovavOzed::MarkText(bool DoCase, const QString& S, const QString& Text)
{
    return MarkupHighlight(S, Text, QStringLiteral("e"), DoCase);
}

QString TVerIvovavOzed::UnMarkText(const QString& S) { return MarkupUnhighlight(S, QStringLiteral("e")); }

void TVerIvovavOzed::ForEachBaseCell(int C1, int R1, int C2, int R2, const std::function<void(int, int)>& Fn)
{
    for (int r = R1; r <= R2; ++r)
        for (int c = C1; c <= C2; ++c)
            if (!IsMergedNonBaseCell(c, r))
                Fn(c, r);
}

QString TVerIvovavOzed::TagSourceText(int ACol, int ARow)
{
    return OnGetDisplText ? Cells(ACol, ARow) : GetGridCell(ACol, ARow);
}

void TVerIvovavOzed::TagCells(int C1, int R1, int C2, int R2, bool DoCase, const QString& Text, bool Mark)
{
    const QString search = MarkupEscape(Text, false);
    ForEachBaseCell(C1, R1, C2, R2, [&](int c, int r) {
        const QString s = MarkupEscape(TagSourceText(c, r), false);
        SetCells(c, r, Mark ? MarkText(DoCase, s, search) : HilightText(DoCase, s, search));
    });
}

void TVerIvovavOzed::UntagCells(int C1, int R1, int C2, int R2, bool Mark)
{
    ForEachBaseCell(C1, R1, C2, R2, [&](int c, int r) {
        const QString s = MarkupUnescape(TagSourceText(c, r), false);
        SetCells(c, r, Mark ? UnMarkText(s) : UnHilightText(s));
    });
}

void TVerIvovavOzed::HilightInCell(bool DoCase, int Col, int Row, const QString& HiText)
{
    TagCells(Col, Row, Col, Row, DoCase, HiText, false);
}

void TVerIvovavOzed::HilightInCol(bool DoFixed, bool DoCase, int Col, const QString& HiText)
{
    TagCells(Col, DoFixed ? 0 : FixedRows(), Col, DoFixed ? RowCount() - 1 : NormalLastRow(), DoCase, HiText, false);
}

void TVerIvovavOzed::HilightInRow(bool DoFixed, bool DoCase, int Row, const QString& HiText)
{
    TagCells(DoFixed ? 0 : FixedCols(), Row, DoFixed ? ColCount() - 1 : NormalLastCol(), Row, DoCase, HiText, false);
}

void TVerIvovavOzed::HilightInGrid(bool DoFixed, bool DoCase, const QString& HiText)
{
    if (DoFixed)
        TagCells(0, 0, ColCount() - 1, RowCount() - 1, DoCase, HiText, false);
    else
        TagCells(FixedCols(), FixedRows(), NormalLastCol() + NumHiddenColumns(), NormalLastRow(), DoCase, HiText,
                 false);
}

void TVerIvovavOzed::MarkInCell(bool DoCase, int Col, int Row, const QString& HiText)
{
    TagCells(Col, Row, Col, Row, DoCase, HiText, true);
}

void TVerIvovavOzed::MarkInCol(bool DoFixed, bool DoCase, int Col, const QString& HiText)
{
    TagCells(Col, DoFixed ? 0 : FixedRows(), Col, DoFixed ? RowCount() - 1 : NormalLastRow(), DoCase, HiText, true);
}

void TVerIvovavOzed::MarkInRow(bool DoFixed, bool DoCase, int Row, const QString& HiText)
{
    TagCells(DoFixed ? 0 : FixedCols(), Row, DoFixed ? ColCount() - 1 : NormalLastCol(), Row, DoCase, HiText, true);
}

void TVerIvovavOzed::MarkInGrid(bool DoFixed, bool DoCase, const QString& HiText)
{
    if (DoFixed)
        TagCells(0, 0, ColCount() - 1, RowCount() - 1, DoCase, HiText, true);
    else
        TagCells(FixedCols(), FixedRows(), NormalLastCol(), NormalLastRow(), DoCase, HiText, true);
}

void TVerIvovavOzed::UnHilightInCell(int Col, int Row) { UntagCells(Col, Row, Col, Row, false); }

void TVerIvovavOzed::UnHilightInCol(bool DoFixed, int Col)
{
    UntagCells(Col, DoFixed ? 0 : FixedRows(), Col, DoFixed ? RowCount() - 1 : NormalLastRow(), false);
}

void TVerIvovavOzed::UnHilightInRow(bool DoFixed, int Row)
{
    UntagCells(DoFixed ? 0 : FixedCols(), Row, (DoFixed ? ColCount() - 1 : NormalLastCol()) + NumHiddenColumns(), Row,
               false);
}

void TVerIvovavOzed::UnHilightInGrid(bool DoFixed)
{
    UntagCells(DoFixed ? 0 : FixedCols(), DoFixed ? 0 : FixedRows(),
               (DoFixed ? ColCount() - 1 : NormalLastCol()) + NumHiddenColumns(),
               DoFixed ? RowCount() - 1 : NormalLastRow(), false);
}

void TVerIvovavOzed::UnMarkInCell(int Col, int Row) { UntagCells(Col, Row, Col, Row, true); }

void TVerIvovavOzed::UnMarkInCol(bool DoFixed, int Col)
{
    UntagCells(Col, DoFixed ? 0 : FixedRows(), Col, DoFixed ? RowCount() - 1 : NormalLastRow(), true);
}

void TVerIvovavOzed::UnMarkInRow(bool DoFixed, int Row)
{
    UntagCells(DoFixed ? 0 : FixedCols(), Row, (DoFixed ? ColCount() - 1 : NormalLastCol()) + NumHiddenColumns(), Row,
               true);
}

void TVerIvovavOzed::UnMarkInGrid(bool DoFixed)
{
    UntagCells(DoFixed ? 0 : FixedCols(), DoFixed ? 0 : FixedRows(),
               (DoFixed ? ColCount() - 1 : NormalLastCol()) + NumHiddenColumns(),
               DoFixed ? RowCount() - 1 : NormalLastRow(), true);
}

// ---- cell checking ---------------------------------------------------------------------------

bool TVerIvovavOzed::CheckCell(int Col, int Row)
{
    TVerIvovavOzedCheck* checker = FCellChecker.data();
    if (!checker)
        return true;
    const QString reference = UnMarkText(Cells(Col, Row));
    if (checker->GotoCell())
        MoveToCell(DisplColIndex(Col), Row);
    QString working = reference;
    if (checker->UseCorrect())
        working = checker->Correct(Col, Row, reference);
    if (checker->UseMarkError())
        working = checker->MarkError(Col, Row, reference);
    SetCells(Col, Row, working);
    return working == reference;
}

bool TVerIvovavOzed::CheckCells(int FromCol, int FromRow, int ToCol, int ToRow)
{
    TVerIvovavOzedCheck* checker = FCellChecker.data();
    if (!checker)
        return true;
    const int oldCol = Col();
    const int oldRow = Row();
    checker->StartCheck();
    bool all = true;
    for (int r = FromRow; r <= ToRow; ++r)
        for (int c = FromCol; c <= ToCol; ++c)
            if (!CheckCell(c, r))
                all = false;
    // The checker may have gone with a cell's side effects; check again.
    if (FCellChecker) {
        FCellChecker->StopCheck();
        if (FCellChecker->GotoCell())
            MoveToCell(oldCol, oldRow);
    }
    return all;
}

bool TVerIvovavOzed::CheckCol(bool DoFixed, int Col)
{
    return CheckCells(Col, DoFixed ? 0 : FixedRows(), Col, DoFixed ? RowCount() - 1 : NormalLastRow());
}

bool TVerIvovavOzed::CheckRow(bool DoFixed, int Row)
{
    return CheckCells(DoFixed ? 0 : FixedCols(), Row, DoFixed ? ColCount() - 1 : NormalLastCol(), Row);
}

bool TVerIvovavOzed::CheckGrid(bool DoFixed)
{
    return CheckCells(DoFixed ? 0 : FixedCols(), DoFixed ? 0 : FixedRows(), DoFixed ? ColCount() - 1 : NormalLastCol(),
                      DoFixed ? RowCount() - 1 : NormalLastRow());
}

// ---- fills -----------------------------------------------------------------------------------

void TVerIvovavOzed::FillCells(bool DoFixed, const std::function<void(int, int)>& Fn)
{
    const int c1 = DoFixed ? 0 : FixedCols();
    const int c2 = DoFixed ? ColCount() - 1 : NormalLastCol();
    const int r1 = DoFixed ? 0 : FixedRows();
    const int r2 = DoFixed ? RowCount() - 1 : NormalLastRow();
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            Fn(c, r);
    RecalcFooters();
}

void TVerIvovavOzed::TextFill(bool DoFixed, const QString& Txt)
{
    FillCells(DoFixed, [&](int c, int r) { SetCells(c, r, Txt); });
}

void TVerIvovavOzed::FormatFill(bool DoFixed, const QString& Fmt)
{
    FillCells(DoFixed, [&](int c, int r) { SetCells(c, r, Format(Fmt, {c, r})); });
}

void TVerIvovavOzed::RandomFill(bool DoFixed, int Rnd)
{
    FillCells(DoFixed, [&](int c, int r) {
        SetInts(c, r, Rnd > 0 ? int(QRandomGenerator::global()->bounded(Rnd)) : 0);
    });
}

void TVerIvovavOzed::LinearFill(bool DoFixed)
{
    FillCells(DoFixed, [&](int c, int r) { SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r)); });
}

// ---- other cell operations -------------------------------------------------------------------

void TVerIvovavOzed::SwapCells(TGridCoord FromCell, TGridCoord ToCell)
{
    const QString t = GetGridCell(FromCell.X, FromCell.Y);
    TGridObject o = GetGridObject(FromCell.X, FromCell.Y);
    SetGridCell(FromCell.X, FromCell.Y, GetGridCell(ToCell.X, ToCell.Y));
    SetGridObject(FromCell.X, FromCell.Y, GetGridObject(ToCell.X, ToCell.Y));
    SetGridCell(ToCell.X, ToCell.Y, t);
    SetGridObject(ToCell.X, ToCell.Y, std::move(o));
}

QString TVerIvovavOzed::ControlValues(int ACol, int ARow, const QString& ID)
{
    QString v;
    if (!GetControlTagValue(Cells(ACol, ARow), ID, v))
        return QString();
    return v;
}

void TVerIvovavOzed::SetControlValues(int ACol, int ARow, const QString& ID, const QString& Value)
{
    QString s = Cells(ACol, ARow);
    if (SetControlTagText(s, ID, Value))
        SetCells(ACol, ARow, s);
}

int TVerIvovavOzed::PrintColWidth(int ACol) const
{
    if (ACol < 0 || ACol > 511)
        throw ZUzeRodoRediv(QStringLiteral("Columns is not in valid range"));
    return MaxWidths[ACol];
}

int TVerIvovavOzed::PrintColOffset(int ACol) const
{
    if (ACol < 0 || ACol > 511)
        throw ZUzeRodoRediv(QStringLiteral("Columns is not in valid range"));
    return Indents[ACol];
}
