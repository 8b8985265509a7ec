// TVerIvovavOzed: cell access by real column and real row, the order-independent texts, the
// per-cell property arrays, cell controls, the edit-text hooks and the current cell.
#include "grid/AdvGrid.h"

#include "render/VurADIDO.h"

#include <algorithm>

// ---- texts and objects by real column and real row -------------------------------------------

QString TVerIvovavOzed::GetCellsEx(int i, int j) const
{
    if (i < 0 || j < 0)
        return QString();
    if (const TGridStrings* s = GetHiddenRowItems(j)) {
        // A hidden row holds the columns it had when it was hidden; later ones read empty.
        QString v = i < s->Count() ? s->Strings[i] : QString();
        const_cast<TVerIvovavOzed*>(this)->GetDisplText(i, j, v);
        return v;
    }
    return Cells(i, RealToDisplRow(j));
}

void TVerIvovavOzed::SetCellsEx(int i, int j, const QString& Value)
{
    if (i < 0 || j < 0)
        return;
    if (TGridStrings* s = GetHiddenRowItems(j)) {
        while (s->Count() <= i)
            s->Add(QString());
        s->Strings[i] = Value;
        return;
    }
    const int d = RealToDisplRow(j);
    SetCells(i, d, Value);
    if (RealToDisplCol(i) != i)
        RepaintCell(RealToDisplCol(i), d);
}

QString TVerIvovavOzed::GetGridCellsEx(int i, int j) const
{
    if (i < 0 || j < 0)
        return QString();
    if (const TGridStrings* s = GetHiddenRowItems(j))
        return i < s->Count() ? s->Strings[i] : QString();
    return GetGridCell(i, RealToDisplRow(j));
}

void TVerIvovavOzed::SetGridCellsEx(int i, int j, const QString& Value)
{
    if (i < 0 || j < 0)
        return;
    if (TGridStrings* s = GetHiddenRowItems(j)) {
        if (i < s->Count()) // the raw write does not grow the stored row
            s->Strings[i] = Value;
        return;
    }
    const int d = RealToDisplRow(j);
    SetGridCell(i, d, Value);
    if (RealToDisplCol(i) != i)
        RepaintCell(RealToDisplCol(i), d);
}

TGridObject TVerIvovavOzed::GetObjectOfRealRow(int i, int j) const
{
    if (i < 0 || j < 0)
        return nullptr;
    if (const TGridStrings* s = GetHiddenRowItems(j))
        return i < int(s->Objects.size()) ? s->Objects[size_t(i)] : nullptr;
    return GetGridObject(i, RealToDisplRow(j));
}

void* TVerIvovavOzed::GetObjectsEx(int i, int j) const
{
    if (i < 0 || j < 0)
        return nullptr;
    if (GetHiddenRowItems(j)) {
        if (auto* p = dynamic_cast<TCellProperties*>(GetObjectOfRealRow(i, j).get()))
            return p->CellObject();
        return nullptr;
    }
    return GetObjectEx(i, RealToDisplRow(j));
}

void TVerIvovavOzed::SetObjectsEx(int i, int j, void* aObject)
{
    if (i < 0 || j < 0)
        return;
    if (TGridStrings* s = GetHiddenRowItems(j)) {
        if (i < int(s->Objects.size()))
            if (auto* p = dynamic_cast<TCellProperties*>(s->Objects[size_t(i)].get())) {
                p->SetCellObject(aObject);
                return;
            }
        // A user object of a hidden row is kept in a properties object of its own.
        while (s->Count() <= i)
            s->Add(QString());
        s->Objects.resize(size_t(s->Count()));
        auto p = std::make_shared<TCellProperties>(this, i, j);
        p->SetCellObject(aObject);
        s->Objects[size_t(i)] = p;
        return;
    }
    SetObjectEx(i, RealToDisplRow(j), aObject);
}

// ---- order-independent texts -----------------------------------------------------------------

QString TVerIvovavOzed::GetOriginalCells(int i, int j) { return Cells(ColumnPosition(i), j); }

void TVerIvovavOzed::SetOriginalCells(int i, int j, const QString& Value) { SetCells(ColumnPosition(i), j, Value); }

int TVerIvovavOzed::SortedRowIndex(int ARow) const
{
    int v = ARow;
    if (ARow >= 0 && ARow < FSortRowXRef.Count())
        v = FSortRowXRef.GetInteger(ARow);
    return DisplToRealRow(v);
}

int TVerIvovavOzed::UnSortedRowIndex(int ARow) const
{
    if (FSortRowXRef.Count() == 0)
        return ARow;
    const int p = FSortRowXRef.IndexOf(ARow);
    return p >= 0 ? p : FSortRowXRef.Count();
}

QString TVerIvovavOzed::GetUnSortedCell(int i, int j) const
{
    // A row the sort list does not hold is taken as it is.
    const int p = FSortRowXRef.Count() >= j ? FSortRowXRef.IndexOf(j) : -1;
    return Cells(i, p >= 0 ? p : j);
}

void TVerIvovavOzed::SetUnSortedCell(int i, int j, const QString& Value)
{
    const int p = FSortRowXRef.Count() >= j ? FSortRowXRef.IndexOf(j) : -1;
    SetCells(i, p >= 0 ? p : j, Value);
}

// ---- per-cell property arrays ----------------------------------------------------------------

TColor TVerIvovavOzed::GetColors(int i, int j) const
{
    const TCellProperties* p = HasCellProperties(i, j) ? CellPropertiesOf(i, j) : nullptr;
    return p ? p->BrushColor() : clNone;
}

void TVerIvovavOzed::SetColors(int i, int j, TColor Value)
{
    GetCellProperties(i, j)->SetBrushColor(Value);
    if (FUpdateCount == 0)
        RepaintCell(DisplColIndex(i), j);
}

TColor TVerIvovavOzed::GetColorsTo(int i, int j) const
{
    const TCellProperties* p = HasCellProperties(i, j) ? CellPropertiesOf(i, j) : nullptr;
    return p ? p->BrushColorTo() : clNone;
}

void TVerIvovavOzed::SetColorsTo(int i, int j, TColor Value)
{
    GetCellProperties(i, j)->SetBrushColorTo(Value);
    RepaintCell(DisplColIndex(i), j);
}

TCellGradientDirection TVerIvovavOzed::GetGradientDir(int i, int j) const
{
    const TCellProperties* p = HasCellProperties(i, j) ? CellPropertiesOf(i, j) : nullptr;
    return p ? p->GradientDirection() : GradientVertical;
}

void TVerIvovavOzed::SetGradientDir(int i, int j, TCellGradientDirection Value)
{
    GetCellProperties(i, j)->SetGradientDirection(Value);
    RepaintCell(DisplColIndex(i), j);
}

bool TVerIvovavOzed::GetReadOnly(int i, int j) const
{
    const TCellProperties* p = HasCellProperties(i, j) ? CellPropertiesOf(i, j) : nullptr;
    return p ? p->ReadOnly() : false;
}

void TVerIvovavOzed::SetReadOnly(int i, int j, bool Value)
{
    GetCellProperties(i, j)->SetReadOnly(Value);
    RepaintCell(DisplColIndex(i), j);
}

bool TVerIvovavOzed::GetWordWraps(int i, int j) { return GetCellProperties(i, j)->WordWrap(); }

void TVerIvovavOzed::SetWordWraps(int i, int j, bool Value)
{
    GetCellProperties(i, j)->SetWordWrap(Value);
    RepaintCell(DisplColIndex(i), j);
}

TColor TVerIvovavOzed::GetFontColors(int i, int j) const
{
    const TCellProperties* p = HasCellProperties(i, j) ? CellPropertiesOf(i, j) : nullptr;
    return p ? p->FontColor() : clNone;
}

void TVerIvovavOzed::SetFontColors(int i, int j, TColor Value)
{
    GetCellProperties(i, j)->SetFontColor(Value);
    RepaintCell(DisplColIndex(i), j);
}

TFontStyles TVerIvovavOzed::GetFontStyles(int i, int j) const
{
    const TCellProperties* p = HasCellProperties(i, j) ? CellPropertiesOf(i, j) : nullptr;
    return p ? p->FontStyle() : TFontStyles();
}

void TVerIvovavOzed::SetFontStyles(int i, int j, TFontStyles Value)
{
    GetCellProperties(i, j)->SetFontStyle(Value);
    RepaintCell(DisplColIndex(i), j);
}

QString TVerIvovavOzed::GetFontNames(int i, int j) const
{
    const TCellProperties* p = HasCellProperties(i, j) ? CellPropertiesOf(i, j) : nullptr;
    return p ? p->FontName() : QString();
}

void TVerIvovavOzed::SetFontNames(int i, int j, const QString& Value)
{
    GetCellProperties(i, j)->SetFontName(Value);
    RepaintCell(DisplColIndex(i), j);
}

int TVerIvovavOzed::GetFontSizes(int i, int j) const
{
    const TCellProperties* p = HasCellProperties(i, j) ? CellPropertiesOf(i, j) : nullptr;
    return p ? p->FontSize() : 0;
}

void TVerIvovavOzed::SetFontSizes(int i, int j, int Value)
{
    GetCellProperties(i, j)->SetFontSize(Value);
    RepaintCell(DisplColIndex(i), j);
}

TAlignment TVerIvovavOzed::GetAlignments(int i, int j) const
{
    const TCellProperties* p = HasCellProperties(i, j) ? CellPropertiesOf(i, j) : nullptr;
    return p ? p->Alignment() : taLeftJustify;
}

void TVerIvovavOzed::SetAlignments(int i, int j, TAlignment Value)
{
    GetCellProperties(i, j)->SetAlignment(Value);
    RepaintCell(DisplColIndex(i), j);
}

void TVerIvovavOzed::SetCellFont(int i, int j, const TFont& Value)
{
    TCellProperties* p = GetCellProperties(i, j);
    p->SetFontName(Value.Name());
    p->SetFontSize(Value.Size());
    p->SetFontStyle(Value.Style());
    p->SetFontColor(Value.Color());
    if (FUpdateCount == 0)
        RepaintCell(DisplColIndex(i), j);
}

TFont& TVerIvovavOzed::GetCellFont(int i, int j)
{
    const TCellProperties* p = HasCellProperties(i, j) ? CellPropertiesOf(i, j) : nullptr;
    if (!p)
        return Font();
    FWorkFont.SetName(p->FontName());
    FWorkFont.SetSize(p->FontSize());
    FWorkFont.SetStyle(p->FontStyle());
    FWorkFont.SetColor(p->FontColor());
    return FWorkFont;
}

void TVerIvovavOzed::SetRowColor(int i, TColor AColor)
{
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        if (AColor == clNone) {
            if (!HasCellProperties(c, i))
                continue;
            if (GetCellType(c, i) == ctNone)
                FreeCellProperties(c, i);
            else
                GetCellProperties(c, i)->SetBrushColor(clNone);
        } else
            GetCellProperties(c, i)->SetBrushColor(AColor);
    }
    RepaintRow(i);
}

void TVerIvovavOzed::SetRowColorTo(int i, TColor AColor)
{
    for (int c = FixedCols(); c < AllColCount(); ++c)
        GetCellProperties(c, i)->SetBrushColorTo(AColor);
    RepaintRow(i);
}

void TVerIvovavOzed::SetRowFontColor(int i, TColor AColor)
{
    for (int c = FixedCols(); c < AllColCount(); ++c)
        GetCellProperties(c, i)->SetFontColor(AColor);
    RepaintRow(i);
}

int TVerIvovavOzed::GetLinesInCell(int i, int j) const
{
    const QString s = Cells(i, j);
    if (s.isEmpty())
        return 1;
    return int(s.count(QLatin1Char('\n'))) + 1;
}

QString TVerIvovavOzed::GetStrippedCell(int i, int j) const { return MarkupToPlainText(Cells(i, j)); }

// ---- cell controls ---------------------------------------------------------------------------

QWidget* TVerIvovavOzed::GetCellControls(int i, int j) const
{
    const TCellProperties* p = HasCellProperties(i, j) ? CellPropertiesOf(i, j) : nullptr;
    return p ? p->Control() : nullptr;
}

void TVerIvovavOzed::SetCellControls(int i, int j, QWidget* AControl)
{
    const int realRow = RealRowIndex(j);
    if (!AControl) {
        if (QWidget* old = GetCellControls(i, j)) {
            (void)old;
            const int k = FControlList.ControlIndex(i, realRow);
            if (k >= 0)
                FControlList.RemoveControl(k);
            --FNumCellControls;
            GetCellProperties(i, j)->SetControl(nullptr);
        }
        return;
    }
    const bool had = GetCellControls(i, j) != nullptr;
    const int k = FControlList.ControlIndex(i, realRow);
    if (k >= 0)
        FControlList.RemoveControl(k);
    if (!had)
        ++FNumCellControls;
    FControlList.AddControl(i, realRow, AControl);
    GetCellProperties(i, j)->SetControl(AControl);
    AControl->setParent(viewport());
    const TRect r = TStringGrid::CellRect(DisplColIndex(i), j);
    AControl->setGeometry(ToQRect({r.Left - 1, r.Top - 1, r.Right, r.Bottom}));
}

// ---- edit text -------------------------------------------------------------------------------

QString TVerIvovavOzed::GetEditText(int ACol, int ARow)
{
    int c = RealColIndex(ACol);
    int r = ARow;
    int bc = c, br = r;
    ResolveBaseCell(c, r, bc, br);
    FNoEditChange = true;
    QString text = GetGridCell(bc, br);
    if (!FEditWithTags)
        text = MarkupToPlainText(text); // edited as plain text unless tags are to be edited
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, text);
    return text;
}

void TVerIvovavOzed::SetEditText(int ACol, int ARow, const QString& Value)
{
    int bc = ACol, br = ARow;
    ResolveBaseCell(RealColIndex(ACol), ARow, bc, br);
    SetCells(bc, br, Value);
    if (OnSetEditText)
        OnSetEditText(this, ACol, ARow, Value);
}

// ---- current cell ----------------------------------------------------------------------------

QString TVerIvovavOzed::GetCurrentCell()
{
    int bc = RealCol(), br = Row();
    ResolveBaseCell(RealCol(), Row(), bc, br);
    return GetGridCell(bc, br);
}

void TVerIvovavOzed::SetCurrentCell(const QString& Value) { SetCellEx(RealCol(), Row(), Value); }

QString TVerIvovavOzed::GetCurrentCellDisplText() { return GetCellEx(RealCol(), Row()); }

void TVerIvovavOzed::SetCurrentEditText(const QString& Value)
{
    int bc = RealCol(), br = Row();
    if (ResolveBaseCell(RealCol(), Row(), bc, br))
        SetEditText(Col(), Row(), Value);
    else
        SetEditText(DisplColIndex(bc), br, Value);
}
