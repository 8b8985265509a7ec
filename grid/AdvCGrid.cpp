// TZidIzavodUraz, TGridColumnCollection and TGridColumnItem: the column grid and its column
// definitions.
#include "grid/AdvCGrid.h"

#include "platform/SysUtils.h"

#include <QMenu>
#include <algorithm>

// ---- TGridColumnItem -------------------------------------------------------------------------

TGridColumnItem::TGridColumnItem(TGridColumnCollection* Collection) : FOwnerCollection(Collection)
{
    FBorderPen.SetWidth(1);
    FBorderPen.SetColor(0xC0C0C0);
    FPrintBorderPen.SetWidth(1);
    FPrintBorderPen.SetColor(0);
    if (TZidIzavodUraz* g = Grid()) {
        FFont.Assign(g->Font());
        FHeaderFont.Assign(g->Font());
        FPrintFont.Assign(g->Font());
        FColor = g->Color();
        FFont.OnChange = [this] { Notify(); };
        FHeaderFont.OnChange = [this] { Notify(); };
        FBorderPen.OnChange = [this] { Notify(); };
        FFilter.OnChange = [this] { Repaint(); };
    }
}

TGridColumnItem::~TGridColumnItem()
{
    FFont.OnChange = nullptr;
    FHeaderFont.OnChange = nullptr;
    FBorderPen.OnChange = nullptr;
    FFilter.OnChange = nullptr;
}

TZidIzavodUraz* TGridColumnItem::Grid() const { return FOwnerCollection ? FOwnerCollection->Grid() : nullptr; }

void TGridColumnItem::Notify()
{
    if (Collection())
        Changed(false);
}

void TGridColumnItem::Repaint()
{
    if (TZidIzavodUraz* g = Grid())
        g->Invalidate();
}

void TGridColumnItem::Assign(const platform::TCollectionItem& Source)
{
    auto* s = dynamic_cast<const TGridColumnItem*>(&Source);
    if (!s || s == this)
        return;
    auto fontChange = std::move(FFont.OnChange);
    auto headerChange = std::move(FHeaderFont.OnChange);
    auto penChange = std::move(FBorderPen.OnChange);
    auto filterChange = std::move(FFilter.OnChange);
    TGridColumnItemValues::operator=(*s);
    FBorderPen.Assign(s->FBorderPen);
    FComboItems.Assign(s->FComboItems);
    FFont.Assign(s->FFont);
    FHeaderFont.Assign(s->FHeaderFont);
    FPrintBorderPen.Assign(s->FPrintBorderPen);
    FPrintFont.Assign(s->FPrintFont);
    FWidth = s->Width();
    FFilter.Assign(s->FFilter);
    FFont.OnChange = std::move(fontChange);
    FHeaderFont.OnChange = std::move(headerChange);
    FBorderPen.OnChange = std::move(penChange);
    FFilter.OnChange = std::move(filterChange);
}

void TGridColumnItem::AssignVisuals(const platform::TCollectionItem& Source)
{
    auto* s = dynamic_cast<const TGridColumnItem*>(&Source);
    if (!s || s == this)
        return;
    // Everything Assign copies but the identity of the column (combo items, header, name, tag)
    // and the font and colour, which come from the grid.
    const platform::TStringList combo = FComboItems;
    const int dropDownCount = FDropDownCount;
    const QString header = FColumnHeader;
    const QString name = FName;
    const int tag = FTag;
    auto headerChange = std::move(FHeaderFont.OnChange);
    TFont headerFont = FHeaderFont;
    Assign(Source);
    auto comboChange = std::move(FComboItems.OnChange);
    FComboItems.Assign(combo);
    FComboItems.OnChange = std::move(comboChange);
    FDropDownCount = dropDownCount;
    FColumnHeader = header;
    FName = name;
    FTag = tag;
    headerFont.OnChange = nullptr;
    FHeaderFont.Assign(headerFont);
    FHeaderFont.OnChange = std::move(headerChange);
    if (TZidIzavodUraz* g = Grid()) {
        FColor = g->Color();
        auto fontChange = std::move(FFont.OnChange);
        FFont.Assign(g->Font());
        FFont.OnChange = std::move(fontChange);
    }
}

QString TGridColumnItem::DisplayName() const
{
    if (!FName.isEmpty())
        return QStringLiteral("Col %1: %2").arg(Index()).arg(FName);
    return QStringLiteral("Column %1").arg(Index());
}

void TGridColumnItem::SetBorderPen(const TPen& Value) { FBorderPen.Assign(Value); }

void TGridColumnItem::SetEditor(TEditorType Value)
{
    if (Value == FEditorType)
        return;
    const bool repaint = Value == edDataCheckBox || FEditorType == edDataCheckBox;
    FEditorType = Value;
    if (repaint)
        Repaint();
}

void TGridColumnItem::SetHeader(const QString& Value)
{
    FColumnHeader = Value;
    TZidIzavodUraz* g = Grid();
    if (!g || !Collection())
        return;
    if (g->FixedRows() > 0 && !g->FColMoving) {
        g->SetCellEx(Index(), 0, Value);
        Notify();
    }
    platform::TStringList& headers = g->ColumnHeaders();
    headers.BeginUpdate();
    headers.Clear();
    for (int i = 0; i < FOwnerCollection->Count(); ++i)
        headers.Add(FOwnerCollection->Items(i)->FColumnHeader);
    headers.EndUpdate();
}

void TGridColumnItem::SetHeaderFont(const TFont& Value)
{
    auto change = std::move(FHeaderFont.OnChange);
    FHeaderFont.Assign(Value);
    FHeaderFont.OnChange = std::move(change);
    Repaint();
}

int TGridColumnItem::Width() const
{
    TZidIzavodUraz* g = Grid();
    if (!g || !Collection())
        return FWidth;
    return g->AllColWidths(Index());
}

void TGridColumnItem::SetWidth(int Value)
{
    FWidth = Value;
    if (TZidIzavodUraz* g = Grid(); g && Collection())
        g->SetAllColWidths(Index(), Value);
}

QString TGridColumnItem::Rows(int ARow) const
{
    TZidIzavodUraz* g = Grid();
    return g ? g->GetCellEx(Index(), ARow) : QString();
}

void TGridColumnItem::SetRows(int ARow, const QString& Value)
{
    if (TZidIzavodUraz* g = Grid())
        g->SetCellEx(Index(), ARow, Value);
}

// ---- TGridColumnCollection -------------------------------------------------------------------

TGridColumnCollection::TGridColumnCollection(TZidIzavodUraz* AOwner)
    : TCollection([this] { return new TGridColumnItem(this); }, AOwner), FOwner(AOwner)
{
}

// A new definition takes an organised position no other one has, so that putting the columns
// back in their organised order always ends.
static void GiveUniqueDefIdx(TGridColumnCollection& c, TGridColumnItem* item)
{
    int highest = -1;
    for (int i = 0; i < c.Count(); ++i)
        if (c.Items(i) != item)
            highest = std::max(highest, c.Items(i)->DefIdx());
    item->SetDefIdx(highest + 1);
}

TGridColumnItem* TGridColumnCollection::Add()
{
    auto* item = static_cast<TGridColumnItem*>(TCollection::Add());
    if (Count() > 1)
        item->AssignVisuals(*Items(Count() - 2)); // a column added at the end looks like its neighbour
    GiveUniqueDefIdx(*this, item);
    return item;
}

TGridColumnItem* TGridColumnCollection::Insert(int index)
{
    auto* item = static_cast<TGridColumnItem*>(TCollection::Insert(index));
    GiveUniqueDefIdx(*this, item);
    return item;
}

void TGridColumnCollection::Update(platform::TCollectionItem* item)
{
    TCollection::Update(item);
    if (UpdateCount() > 0 || FNoRecursiveUpdate || !FOwner || FOwner->Loading())
        return;
    const int n = Count() - FOwner->NumHiddenColumns();
    if (n != FOwner->ColCount() && n > FOwner->FixedCols())
        FOwner->SetColCount(n);
    FOwner->SyncColumnHeaders();
    FOwner->Invalidate();
}

void TGridColumnCollection::SetOrganization()
{
    const bool keep = FNoRecursiveUpdate;
    FNoRecursiveUpdate = true;
    FOwner->SyncColumnCount();
    FNoRecursiveUpdate = keep;
    for (int i = 0; i < Count(); ++i)
        Items(i)->FDefIdx = i;
}

void TGridColumnCollection::ResetOrganization()
{
    // DefIdx values are unique, so every pass brings a column to its place and the walk ends; the
    // cap guards against a list someone filled with duplicates.
    const int maxPasses = Count() * Count() + 1;
    for (int pass = 0; pass < maxPasses; ++pass) {
        bool moved = false;
        for (int i = 0; i < Count(); ++i) {
            const int def = Items(i)->FDefIdx;
            if (def < i && def >= 0) {
                FOwner->MoveColumn(FOwner->DisplColIndex(i), FOwner->DisplColIndex(def));
                moved = true;
            }
        }
        if (!moved)
            break;
    }
}

// ---- TZidIzavodUraz --------------------------------------------------------------------------

TZidIzavodUraz::TZidIzavodUraz(QWidget* AOwner) : TVerIvovavOzed(AOwner)
{
    FColumnCollection = CreateColumns();
    FColumnCollection->FNoRecursiveUpdate = true;
    SyncColumnCount();
    FColumnCollection->FNoRecursiveUpdate = false;
    FColMoving = false;
    FCellGraphic = std::make_shared<TCellGraphic>();
    FSaveCol = std::make_unique<TGridColumnItem>(nullptr);
}

TZidIzavodUraz::~TZidIzavodUraz()
{
    FDestroying = true;
    FColumnCollection.reset();
}

std::unique_ptr<TGridColumnCollection> TZidIzavodUraz::CreateColumns()
{
    return std::make_unique<TGridColumnCollection>(this);
}

void TZidIzavodUraz::Loaded()
{
    TVerIvovavOzed::Loaded();
    SyncColumnCount();
    FColumnCollection->SetOrganization();
}

void TZidIzavodUraz::SetColCount(int Value)
{
    TVerIvovavOzed::SetColCount(Value);
    const bool keep = FColumnCollection->FNoRecursiveUpdate;
    FColumnCollection->FNoRecursiveUpdate = true;
    SyncColumnCount();
    FColumnCollection->FNoRecursiveUpdate = keep;
}

void TZidIzavodUraz::SyncColumnCount()
{
    if (!FColumnCollection)
        return;
    while (FColumnCollection->Count() < ColCount() + NumHiddenColumns())
        FColumnCollection->Add();
    while (FColumnCollection->Count() > ColCount() + NumHiddenColumns())
        FColumnCollection->Delete(FColumnCollection->Count() - 1);
}

void TZidIzavodUraz::SyncColumnHeaders()
{
    if (FixedRows() <= 0)
        return;
    platform::TStringList& headers = ColumnHeaders();
    headers.BeginUpdate();
    headers.Clear();
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem* d = FColumnCollection->Items(i);
        if (d->FColumnHeader.isEmpty() && !GetCellEx(i, 0).isEmpty())
            d->FColumnHeader = GetCellEx(i, 0);
        headers.Add(d->FColumnHeader);
    }
    headers.EndUpdate();
}

void TZidIzavodUraz::ColumnHeadersChanged()
{
    if (!FColumnCollection)
        return;
    const platform::TStringList& headers = ColumnHeaders();
    for (int i = 0; i < FColumnCollection->Count() && i < headers.Count(); ++i)
        FColumnCollection->Items(i)->FColumnHeader = headers.Strings(i);
}

TGridColumnItem* TZidIzavodUraz::GetColumnByName(const QString& AValue)
{
    for (int i = 0; i < FColumnCollection->Count(); ++i)
        if (FColumnCollection->Items(i)->FName == AValue)
            return FColumnCollection->Items(i);
    return nullptr;
}

void TZidIzavodUraz::InsertCols(int ColIndex, int CCount)
{
    TVerIvovavOzed::InsertCols(ColIndex, CCount);
    const bool keep = FColumnCollection->FNoRecursiveUpdate;
    FColumnCollection->FNoRecursiveUpdate = true;
    // The string grid's count write has already added definitions at the end; they go to the
    // insert position instead, with the values of a new definition.
    for (int k = 0; k < CCount; ++k) {
        if (FColumnCollection->Count() > ColCount() + NumHiddenColumns() - CCount + k)
            FColumnCollection->Delete(FColumnCollection->Count() - 1);
        FColumnCollection->Insert(std::min(ColIndex, FColumnCollection->Count()));
    }
    SyncColumnCount();
    FColumnCollection->FNoRecursiveUpdate = keep;
}

void TZidIzavodUraz::RemoveCols(int ColIndex, int CCount)
{
    const int before = TotalColCount();
    TVerIvovavOzed::RemoveCols(ColIndex, CCount);
    const int removed = before - TotalColCount();
    const bool keep = FColumnCollection->FNoRecursiveUpdate;
    FColumnCollection->FNoRecursiveUpdate = true;
    for (int k = 0; k < removed && ColIndex < FColumnCollection->Count(); ++k)
        FColumnCollection->Delete(ColIndex);
    SyncColumnCount();
    FColumnCollection->FNoRecursiveUpdate = keep;
    SyncColumnHeaders();
}

void TZidIzavodUraz::Group(int Colindex)
{
    // A grouped grid gives its kept definition back before another one is kept.
    if (GroupColumn() != -1 && Colindex > 0 && Colindex >= FixedCols() && Colindex <= FColumnCollection->Count())
        UnGroup();
    if (Colindex >= 0 && Colindex < FColumnCollection->Count())
        FSaveCol->Assign(*Columns().Items(Colindex));
    TVerIvovavOzed::Group(Colindex);
}

void TZidIzavodUraz::UnGroup()
{
    const int restored = GroupColumn();
    TVerIvovavOzed::UnGroup();
    // Only a column the string grid put back takes the kept definition.
    if (restored > 0 && GroupColumn() == -1 && restored < FColumnCollection->Count())
        Columns().Items(restored)->Assign(*FSaveCol);
}

void TZidIzavodUraz::RecalcFooters()
{
    TVerIvovavOzed::RecalcFooters();
    const bool keep = FColumnCollection->FNoRecursiveUpdate;
    FColumnCollection->FNoRecursiveUpdate = true;
    SyncColumnCount();
    FColumnCollection->FNoRecursiveUpdate = keep;
}

void TZidIzavodUraz::Notification(QObject* AComponent)
{
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem* d = FColumnCollection->Items(i);
        if (d->FEditLink == AComponent)
            d->FEditLink = nullptr;
        if (d->FColumnPopup == AComponent)
            d->FColumnPopup = nullptr;
    }
}

QString TZidIzavodUraz::GetVersionString() { return VersionBytes(GetVersionNr()) + QStringLiteral(" Aug, 2012"); }

// ---- column moves and widths -----------------------------------------------------------------

void TZidIzavodUraz::ColumnMoved(int FromIndex, int ToIndex)
{
    FColumnCollection->FNoRecursiveUpdate = true;
    const int top = TopRow();
    const int realFrom = RealColIndex(FromIndex);
    const int realTo = RealColIndex(ToIndex);
    TVerIvovavOzed::ColumnMoved(FromIndex, ToIndex);
    BeginUpdate();
    FColMoving = true;
    // The definition moves with every setting a copy of it takes; the popup type and the two
    // print switches, which a copy does not take, start again from their initial values.
    if (realFrom >= 0 && realFrom < FColumnCollection->Count() && realTo >= 0 &&
        realTo < FColumnCollection->Count()) {
        FColumnCollection->Items(realFrom)->SetIndex(realTo);
        TGridColumnItem* moved = FColumnCollection->Items(realTo);
        moved->FColumnPopupType = cpFixedCellsRClick;
        moved->FPrintBorderCustom = true;
        moved->FPrintFontCustom = true;
    }
    SetTopRow(top);
    FColMoving = false;
    EndUpdate();
    FColumnCollection->FNoRecursiveUpdate = false;
    if (OnAfterColumnMoved)
        OnAfterColumnMoved(this, realFrom, realTo);
}

void TZidIzavodUraz::ColWidthsChanged()
{
    TVerIvovavOzed::ColWidthsChanged();
    if (Loading() || FDestroying || !FColumnCollection)
        return;
    for (int c = 0; c < ColCount(); ++c) {
        const int r = RealColIndex(c);
        if (r < FColumnCollection->Count())
            FColumnCollection->Items(r)->FWidth = ColWidths(c);
    }
}

void TZidIzavodUraz::DoUpdateColumnSize(int ACol, int& AWidth)
{
    if (ACol >= 0 && ACol < FColumnCollection->Count()) {
        const TGridColumnItem* d = FColumnCollection->Items(ACol);
        if (d->FMinSize > 0 && AWidth < d->FMinSize)
            AWidth = d->FMinSize;
        if (d->FMaxSize > 0 && AWidth > d->FMaxSize)
            AWidth = d->FMaxSize;
    }
    TVerIvovavOzed::DoUpdateColumnSizeEx(ACol, AWidth);
}

void TZidIzavodUraz::DoUpdateColumnSizeEx(int ACol, int& AWidth)
{
    if (ACol >= 0 && ACol < FColumnCollection->Count()) {
        const TGridColumnItem* d = FColumnCollection->Items(ACol);
        if (d->FAutoMinSize > 0 && AWidth < d->FAutoMinSize)
            AWidth = d->FAutoMinSize;
        if (d->FAutoMaxSize > 0 && AWidth > d->FAutoMaxSize)
            AWidth = d->FAutoMaxSize;
    }
    TVerIvovavOzed::DoUpdateColumnSizeEx(ACol, AWidth);
}

void TZidIzavodUraz::ChangeScale(int M, int D)
{
    TVerIvovavOzed::ChangeScale(M, D);
    if (M == D)
        return;
    // Every definition is scaled, hidden columns' too.
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem* d = FColumnCollection->Items(i);
        d->FFont.SetSize(platform::MulDiv(d->FFont.Size(), M, D));
        d->FHeaderFont.SetSize(platform::MulDiv(d->FHeaderFont.Size(), M, D));
    }
}

// ---- per-cell hooks --------------------------------------------------------------------------

TGridColumnItem* TZidIzavodUraz::Def(int ACol) const
{
    if (!FColumnCollection || ACol < 0 || ACol >= FColumnCollection->Count())
        return nullptr;
    return FColumnCollection->Items(ACol);
}

bool TZidIzavodUraz::InNormalArea(int ACol, int ARow) const
{
    return ACol >= FixedCols() && ACol < ColCount() + NumHiddenColumns() - FixedRightCols() && ARow >= FixedRows() &&
           ARow < RowCount() - FixedFooters();
}

void TZidIzavodUraz::GetCellDefaultProps(int ACol, int ARow, TFont& AFont, TBrush& ABrush, TColor& AColorTo,
                                         TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& AAlignment,
                                         TVAlignment& AVAlignment, bool& AWordWrap,
                                         TCellGradientDirection& AGradientDirection)
{
    TGridColumnItem* d = Def(ACol);
    if (!d) {
        TVerIvovavOzed::GetCellDefaultProps(ACol, ARow, AFont, ABrush, AColorTo, AMirrorColor, AMirrorColorTo,
                                            AAlignment, AVAlignment, AWordWrap, AGradientDirection);
        return;
    }
    AFont.Assign(d->FFont);
    ABrush.SetColor(d->FColor);
    AColorTo = clNone;
    AAlignment = ARow < FixedRows() ? d->FHeaderAlignment : d->FAlignment;
    AVAlignment = VAlignment();
    AWordWrap = WordWrap();
    AGradientDirection = GradientVertical;
    if (IsFixed(DisplColIndex(ACol), ARow) || (Bands().Active() && d->FShowBands)) {
        ABrush.SetColor(clNone);
        AColorTo = clNone;
    }
}

void TZidIzavodUraz::GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush, TFont& AFont)
{
    if (TGridColumnItem* d = Def(ACol); d && InNormalArea(ACol, ARow)) {
        if (d->FFixed)
            ABrush.SetColor(FixedColor());
        else if (!(d->FShowBands && Bands().Active()) && ARow >= FixedRows())
            ABrush.SetColor(d->FColor);
        AFont.Assign(ARow < FixedRows() ? d->FHeaderFont : d->FFont);
        if (const TCellProperties* p = HasCellProperties(ACol, ARow) ? CellPropertiesOf(ACol, ARow) : nullptr) {
            if (p->BrushColor() != clNone)
                ABrush.SetColor(p->BrushColor());
            if (p->FontColor() != clNone)
                AFont.SetColor(p->FontColor());
        }
    }
    TVerIvovavOzed::GetCellColor(ACol, ARow, AState, ABrush, AFont);
}

void TZidIzavodUraz::GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush, TFont& AFont)
{
    if (TGridColumnItem* d = Def(ACol)) {
        if (!InNormalArea(ACol, ARow))
            AFont.Assign(PrintSettings().FixedFont());
        else {
            const TCellProperties* p = HasCellProperties(ACol, ARow) ? CellPropertiesOf(ACol, ARow) : nullptr;
            if (d->FFixed)
                ABrush.SetColor(FixedColor());
            else if (!(d->FShowBands && Bands().Active() && Bands().Print())) {
                ABrush.SetColor(d->FPrintColor);
                if (p && p->BrushColor() != clNone)
                    ABrush.SetColor(p->BrushColor());
            }
            if (d->FPrintFontCustom) {
                AFont.Assign(d->FPrintFont);
                if (p)
                    p->ApplyFont(AFont);
            } else
                AFont.Assign(PrintSettings().Font());
        }
    }
    TVerIvovavOzed::GetCellPrintColor(ACol, ARow, AState, ABrush, AFont);
}

void TZidIzavodUraz::GetCellBorder(int ACol, int ARow, TPen& APen, TCellBorders& Borders)
{
    if (TGridColumnItem* d = Def(ACol); d && ACol >= FixedCols() && ARow >= FixedRows()) {
        Borders = d->FBorders;
        APen.Assign(d->FBorderPen);
    }
    TVerIvovavOzed::GetCellBorder(ACol, ARow, APen, Borders);
}

void TZidIzavodUraz::GetCellPrintBorder(int ACol, int ARow, TPen& APen, TCellBorders& Borders)
{
    if (TGridColumnItem* d = Def(ACol); d && d->FPrintBorderCustom && ACol >= FixedCols() && ARow >= FixedRows()) {
        Borders = d->FPrintBorders;
        APen.Assign(d->FPrintBorderPen);
    }
    TVerIvovavOzed::GetCellPrintBorder(ACol, ARow, APen, Borders);
}

void TZidIzavodUraz::GetCellAlign(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign)
{
    if (TGridColumnItem* d = Def(ACol)) {
        HAlign = ARow < FixedRows() ? d->FHeaderAlignment : d->FAlignment;
        if (HasCellProperties(ACol, ARow))
            HAlign = CellPropertiesOf(ACol, ARow)->Alignment();
    }
    TVerIvovavOzed::GetCellAlign(ACol, ARow, HAlign, VAlign);
}

void TZidIzavodUraz::GetCellFormat(int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix)
{
    if (TGridColumnItem* d = Def(ACol)) {
        AStyle = d->FSortStyle;
        aPrefix = d->FSortPrefix;
        aSuffix = d->FSortSuffix;
    }
    TVerIvovavOzed::GetCellFormat(ACol, AStyle, aPrefix, aSuffix);
}

void TZidIzavodUraz::GetCellEditor(int ACol, int ARow, TEditorType& AEditor)
{
    if (TGridColumnItem* d = Def(ACol)) {
        if (ACol >= FixedCols() && ARow >= FixedRows()) {
            AEditor = d->FEditorType;
            Combobox()->Items.Assign(d->FComboItems);
            Combobox()->SetDropDownCount(d->FDropDownCount);
            SpinEdit()->SetMinValue(d->FSpinMin);
            SpinEdit()->SetMaxValue(d->FSpinMax);
            SpinEdit()->SetIncrement(d->FSpinStep);
            SetEditLink(d->FEditLink.data());
            ControlLook().DropDownCount = d->FDropDownCount;
        }
        if (!d->FFloatFormat.isEmpty())
            SetFloatFormat(d->FFloatFormat);
    }
    TVerIvovavOzed::GetCellEditor(ACol, ARow, AEditor);
}

void TZidIzavodUraz::IsFixedCell(int ACol, int ARow, bool& IsFixed)
{
    const int real = RealColIndex(ACol);
    if (TGridColumnItem* d = Def(real); d && ACol >= FixedCols() && ARow >= FixedRows())
        IsFixed = d->FFixed;
    TVerIvovavOzed::IsFixedCell(ACol, ARow, IsFixed);
}

void TZidIzavodUraz::IsReadOnlyCell(int ACol, int ARow, bool& CanEdit)
{
    // Editability comes from the definitions; no grid-wide editing option is needed.
    CanEdit = false;
    TGridColumnItem* d = Def(ACol);
    if (!Loading() && d && ACol >= FixedCols() && ARow >= FixedRows())
        CanEdit = !(d->FReadOnly || d->FFixed);
    if (HasCellProperties(ACol, ARow) && CanEdit)
        CanEdit = !GetReadOnly(ACol, ARow);
    if (OnCanEditCell) {
        int bc = ACol, br = ARow;
        ResolveBaseCell(ACol, ARow, bc, br);
        OnCanEditCell(this, br, bc, CanEdit);
    }
}

void TZidIzavodUraz::IsPasswordCell(int ACol, int ARow, bool& IsPassword)
{
    if (TGridColumnItem* d = Def(ACol))
        IsPassword = d->FPassword;
    TVerIvovavOzed::IsPasswordCell(ACol, ARow, IsPassword);
}

bool TZidIzavodUraz::HasComboBox(int ACol, int ARow)
{
    bool result = false;
    if (TGridColumnItem* d = Def(ACol); d && ACol >= FixedCols() && ARow >= FixedRows())
        result = d->FEditorType == edComboEdit || d->FEditorType == edComboList;
    if (OnHasComboBox)
        OnHasComboBox(this, ACol, ARow, result);
    return result;
}

void TZidIzavodUraz::GetCheckTrue(int ACol, int ARow, QString& Value)
{
    TVerIvovavOzed::GetCheckTrue(ACol, ARow, Value);
    if (TGridColumnItem* d = Def(ACol); d && InNormalArea(ACol, ARow))
        Value = d->FCheckTrue;
}

void TZidIzavodUraz::GetCheckFalse(int ACol, int ARow, QString& Value)
{
    TVerIvovavOzed::GetCheckFalse(ACol, ARow, Value);
    if (TGridColumnItem* d = Def(ACol); d && InNormalArea(ACol, ARow))
        Value = d->FCheckFalse;
}

TCellType TZidIzavodUraz::GetCellType(int ACol, int ARow)
{
    const TCellType t = TVerIvovavOzed::GetCellType(ACol, ARow);
    if (FDestroying)
        return t;
    if (t == ctEmpty && InNormalArea(ACol, ARow))
        if (TGridColumnItem* d = Def(ACol); d && d->FEditorType == edDataCheckBox)
            return ctDataCheckBox;
    return t;
}

TCellGraphic* TZidIzavodUraz::GetCellGraphic(int ACol, int ARow)
{
    TCellGraphic* g = TVerIvovavOzed::GetCellGraphic(ACol, ARow);
    if (FDestroying || g)
        return g;
    if (InNormalArea(ACol, ARow))
        if (TGridColumnItem* d = Def(ACol); d && d->FEditorType == edDataCheckBox) {
            FCellGraphic->SetCellType(ctVirtCheckBox);
            FCellGraphic->SetCellTransparent(ControlLook().ControlStyle() == csFlat);
            return FCellGraphic.get();
        }
    return nullptr;
}

QString TZidIzavodUraz::GetDefaultFloatFormat(int ACol)
{
    if (TGridColumnItem* d = Def(ACol); d && !d->FFloatFormat.isEmpty())
        return d->FFloatFormat;
    return FloatFormat();
}

QString TZidIzavodUraz::GetFormattedCell(int ACol, int ARow)
{
    TGridColumnItem* d = Def(ACol);
    if (!d)
        return TVerIvovavOzed::GetFormattedCell(ACol, ARow);
    const QString text = Cells(ACol, ARow);
    QString fmt = d->FFloatFormat;
    double value = 0;
    bool isFloat = !text.trimmed().isEmpty() && platform::TryStrToFloat(text, value);
    if (OnGetFloatFormat)
        OnGetFloatFormat(this, ACol, ARow, isFloat, fmt);
    if (!fmt.isEmpty() && isFloat) {
        // A format that does not fit the value shows the plain text.
        try {
            return platform::Format(fmt, {value});
        } catch (const std::exception&) {
            return text;
        }
    }
    return text;
}

bool TZidIzavodUraz::FillFilterDropDown(int ACol)
{
    FilterList().SetSorted(false);
    TVerIvovavOzed::FillFilterDropDown(ACol);
    TGridColumnItem* d = Def(ACol);
    if (!d || d->FFilter.Count() == 0)
        return false;
    platform::TStringList& list = FilterList();
    list.SetSorted(false);
    list.Clear();
    for (int i = 0; i < d->FFilter.Count(); ++i) {
        const QString line = d->FFilter.Strings(i);
        const int eq = line.indexOf(QLatin1Char('='));
        list.Add(eq >= 0 ? line.left(eq) : line);
    }
    return true;
}

void TZidIzavodUraz::DoFilterSelect(int ItemIndex)
{
    TGridColumnItem* d = Def(FFilterCol);
    if (d && ItemIndex >= 0 && ItemIndex < d->FFilter.Count()) {
        const QString entry = d->FFilter.Strings(ItemIndex);
        const int eq = entry.indexOf(QLatin1Char('='));
        const QString name = eq >= 0 ? entry.left(eq) : entry;
        if (FAutoFilterDisplay)
            d->SetHeader(name);
        if (AutoFilterUpdate())
            SetFilterActive(false);
        QString condition = eq >= 0 ? entry.mid(eq + 1) : entry;
        if (OnFilterSelect)
            OnFilterSelect(this, FFilterCol, ItemIndex, name, condition);
        TFilterData* f = Filter().GetColFilter(FFilterCol);
        f->Condition = condition;
        f->CaseSensitive = d->FFilterCaseSensitive;
        if (AutoFilterUpdate()) {
            SetFilterActive(true);
            if (RowCount() != FixedRows() && !(RowCount() == 1 && FixedRowAlways()))
                SetRow(FixedRows());
            DoFilterDone();
        }
    }
    FFilterCol = -1;
}

QString TZidIzavodUraz::GetEditMask(int ACol, int ARow)
{
    QString mask;
    if (ACol < FColumnCollection->Count() && ACol >= FixedCols())
        if (TGridColumnItem* d = Def(RealColIndex(ACol)))
            mask = d->FEditMask;
    const QString own = TVerIvovavOzed::GetEditMask(ACol, ARow);
    return own.isEmpty() ? mask : own;
}

int TZidIzavodUraz::GetEditLimit()
{
    if (Col() < FColumnCollection->Count() && Col() >= FixedCols())
        if (TGridColumnItem* d = Def(RealColIndex(Col())))
            return d->FEditLength;
    return TVerIvovavOzed::GetEditLimit();
}

void TZidIzavodUraz::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TVerIvovavOzed::MouseDown(Button, Shift, X, Y);
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ACol < 0 || ARow < 0 || ACol >= FColumnCollection->Count())
        return;
    TGridColumnItem* d = FColumnCollection->Items(ACol);
    if (!d->ColumnPopup())
        return;
    const TColumnPopupType t = d->FColumnPopupType;
    bool fixedType, normalType;
    if (Button == mbLeft) {
        if (t != cpFixedCellsLClick && t != cpNormalCellsLClick && t != cpAllCellsLClick)
            return;
        fixedType = t == cpFixedCellsLClick || t == cpAllCellsLClick;
        normalType = t == cpNormalCellsLClick || t == cpAllCellsLClick;
    } else if (Button == mbRight) {
        if (t != cpFixedCellsRClick && t != cpNormalCellsRClick && t != cpAllCellsRClick)
            return;
        fixedType = t == cpFixedCellsRClick || t == cpAllCellsRClick;
        normalType = t == cpNormalCellsRClick || t == cpAllCellsRClick;
    } else
        return;
    if (OnColumnPopup)
        OnColumnPopup(this, ACol, ARow, d->ColumnPopup());
    if ((ARow < FixedRows() && fixedType) || (ARow >= FixedRows() && normalType)) {
        const TRect r = TStringGrid::CellRect(ACol, ARow);
        d->ColumnPopup()->popup(viewport()->mapToGlobal(QPoint(r.Left, r.Bottom)));
    }
}
