#pragma once
// TZidIzavodUraz: the column grid. A string grid whose look, formats and editing are defined column
// by column by a collection of TGridColumnItem definitions, one per real column (hidden columns
// included). The per-cell hooks answer from the definition of the cell's column.
#include "grid/AdvGrid.h"
#include "platform/Collection.h"
#include "platform/Property.h"

#include <QMenu>
#include <QPointer>

class TZidIzavodUraz;
class TGridColumnCollection;

enum TColumnPopupType {
    cpFixedCellsRClick, cpFixedCellsLClick, cpNormalCellsRClick, cpNormalCellsLClick, cpAllCellsRClick,
    cpAllCellsLClick
};

// The values TGridColumnItem::Assign copies, kept together so that one assignment copies them all.
struct TGridColumnItemValues {
    TAlignment FAlignment = taLeftJustify;
    QString FColumnHeader;
    TSortStyle FSortStyle = ssAutomatic;
    QString FSortPrefix;
    QString FSortSuffix;
    QString FEditMask;
    int FEditLength = 0;
    QPointer<TEditLink> FEditLink;
    TColor FColor = clWindow;
    TEditorType FEditorType = edNormal;
    bool FFixed = false;
    bool FReadOnly = false;
    int FDropDownCount = 8;
    int FSpinMin = 0;
    int FSpinMax = 0;
    int FSpinStep = 1;
    bool FPassword = false;
    TColor FPrintColor = 0xFFFFFF;
    TCellBorders FBorders;
    TCellBorders FPrintBorders = TCellBorders(cbTop) | cbLeft | cbRight | cbBottom;
    int FTag = 0;
    int FDefIdx = 0;
    QString FName;
    QString FCheckFalse = QStringLiteral("N");
    QString FCheckTrue = QStringLiteral("Y");
    bool FShowBands = false;
    int FMaxSize = 0;
    int FMinSize = 0;
    int FAutoMinSize = 0;
    int FAutoMaxSize = 0;
    QPointer<QMenu> FColumnPopup;
    bool FFilterCaseSensitive = false;
    QString FFloatFormat;
    TAlignment FHeaderAlignment = taLeftJustify;
};

class TGridColumnItem : public platform::TCollectionItem, private TGridColumnItemValues {
public:
    // Collection null: a definition of plain defaults, outside any grid (a grouped column's copy).
    explicit TGridColumnItem(TGridColumnCollection* Collection = nullptr);
    ~TGridColumnItem() override;

    void Assign(const platform::TCollectionItem& Source) override;
    void AssignVisuals(const platform::TCollectionItem& Source);
    QString DisplayName() const override;

    TZidIzavodUraz* Grid() const;

    KT_PROPERTY(int, AutoMinSize)
    KT_PROPERTY(int, AutoMaxSize)
    KT_PROPERTY_NOTIFY(TAlignment, Alignment, Repaint)
    KT_PROPERTY_NOTIFY(TCellBorders, Borders, Notify)
    TPen& BorderPen() { return FBorderPen; }
    void SetBorderPen(const TPen& Value);
    KT_PROPERTY(QString, CheckFalse)
    KT_PROPERTY(QString, CheckTrue)
    KT_PROPERTY_NOTIFY(TColor, Color, Notify)
    QMenu* ColumnPopup() const { return FColumnPopup.data(); }
    void SetColumnPopup(QMenu* Value) { FColumnPopup = Value; }
    KT_PROPERTY(TColumnPopupType, ColumnPopupType)
    platform::TStringList& ComboItems() { return FComboItems; }
    void SetComboItems(const platform::TStringList& Value) { FComboItems.Assign(Value); }
    KT_PROPERTY(int, DropDownCount)
    KT_PROPERTY(int, EditLength)
    TEditLink* EditLink() const { return FEditLink.data(); }
    void SetEditLink(TEditLink* Value) { FEditLink = Value; }
    KT_PROPERTY(QString, EditMask)
    TEditorType Editor() const { return FEditorType; }
    void SetEditor(TEditorType Value);
    platform::TStringList& Filter() { return FFilter; }
    void SetFilter(const platform::TStringList& Value) { FFilter.Assign(Value); }
    KT_PROPERTY(bool, FilterCaseSensitive)
    KT_PROPERTY_NOTIFY(bool, Fixed, Notify)
    KT_PROPERTY_NOTIFY(QString, FloatFormat, Repaint)
    TFont& Font() { return FFont; }
    void SetFont(const TFont& Value) { FFont.Assign(Value); }
    QString Header() const { return FColumnHeader; }
    void SetHeader(const QString& Value);
    KT_PROPERTY_NOTIFY(TAlignment, HeaderAlignment, Repaint)
    TFont& HeaderFont() { return FHeaderFont; }
    void SetHeaderFont(const TFont& Value);
    KT_PROPERTY(int, MinSize)
    KT_PROPERTY(int, MaxSize)
    KT_PROPERTY(QString, Name)
    KT_PROPERTY_NOTIFY(bool, Password, Notify)
    KT_PROPERTY(bool, PrintBorderCustom)
    KT_PROPERTY(TCellBorders, PrintBorders)
    TPen& PrintBorderPen() { return FPrintBorderPen; }
    void SetPrintBorderPen(const TPen& Value) { FPrintBorderPen.Assign(Value); }
    KT_PROPERTY(TColor, PrintColor)
    KT_PROPERTY(bool, PrintFontCustom)
    TFont& PrintFont() { return FPrintFont; }
    void SetPrintFont(const TFont& Value) { FPrintFont.Assign(Value); }
    KT_PROPERTY(bool, ReadOnly)
    KT_PROPERTY_NOTIFY(bool, ShowBands, Notify)
    KT_PROPERTY(TSortStyle, SortStyle)
    KT_PROPERTY(QString, SortPrefix)
    KT_PROPERTY(QString, SortSuffix)
    KT_PROPERTY(int, SpinMax)
    KT_PROPERTY(int, SpinMin)
    KT_PROPERTY(int, SpinStep)
    KT_PROPERTY(int, Tag)
    // The grid's width of the column (a hidden column keeps its own).
    int Width() const;
    void SetWidth(int Value);
    KT_PROPERTY(int, DefIdx)

    // The cells of this column, by row.
    QString Rows(int ARow) const;
    void SetRows(int ARow, const QString& Value);

private:
    friend class TZidIzavodUraz;
    friend class TGridColumnCollection;
    void Notify();
    void Repaint();

    TGridColumnCollection* FOwnerCollection;
    int FWidth = 0;
    TFont FFont;
    platform::TStringList FComboItems;
    TFont FPrintFont;
    TPen FBorderPen;
    TPen FPrintBorderPen;
    platform::TStringList FFilter;
    TColumnPopupType FColumnPopupType = cpFixedCellsRClick;
    TFont FHeaderFont;
    bool FPrintBorderCustom = true;
    bool FPrintFontCustom = true;
};

class TGridColumnCollection : public platform::TCollection {
public:
    explicit TGridColumnCollection(TZidIzavodUraz* AOwner);

    TZidIzavodUraz* Grid() const { return FOwner; }
    TGridColumnItem* Add();
    TGridColumnItem* Insert(int index);
    TGridColumnItem* Items(int Index) const { return static_cast<TGridColumnItem*>(TCollection::Items(Index)); }
    TGridColumnItem* GetItem(int Index) const { return Items(Index); }
    void SetItem(int Index, const TGridColumnItem& Value) { Items(Index)->Assign(Value); }
    void SetOrganization();
    void ResetOrganization();
    KT_PROPERTY(bool, NoRecursiveUpdate)

protected:
    void Update(platform::TCollectionItem* item) override;

private:
    friend class TZidIzavodUraz;
    friend class TGridColumnItem;
    TZidIzavodUraz* FOwner;
    bool FNoRecursiveUpdate = false;
};

// The carrier of column definitions in a stream: a component whose one property, Items, is a
// collection of definitions. With a grid as owner the definitions act on that grid as they are
// set (a Width sizes its column, a Header writes its header cell); without one (nullptr) they are
// plain values that touch nothing.
class TZidIzavodUrazIO {
public:
    explicit TZidIzavodUrazIO(TZidIzavodUraz* AOwner);
    TZidIzavodUrazIO(const TZidIzavodUrazIO&) = delete;
    TZidIzavodUrazIO& operator=(const TZidIzavodUrazIO&) = delete;

    TZidIzavodUraz* Owner() const { return FOwner; }
    TGridColumnCollection& Items() { return *FItems; }
    KT_PROPERTY(QString, Name)
    KT_PROPERTY(int, Tag)

private:
    TZidIzavodUraz* FOwner;
    std::unique_ptr<TGridColumnCollection> FItems;
    QString FName;
    int FTag = 0;
};

class TZidIzavodUraz : public TVerIvovavOzed {
public:
    explicit TZidIzavodUraz(QWidget* AOwner = nullptr);
    ~TZidIzavodUraz() override;

    void Loaded() override;
    virtual std::unique_ptr<TGridColumnCollection> CreateColumns();

    TGridColumnCollection& Columns() { return *FColumnCollection; }
    void SetColumns(const TGridColumnCollection& Value) { FColumnCollection->Assign(Value); }
    int ColCount() const { return TVerIvovavOzed::ColCount(); }
    void SetColCount(int Value);
    KT_PROPERTY(bool, AutoFilterDisplay)
    bool ColMoving() const { return FColMoving; }
    TGridColumnItem* GetColumnByName(const QString& AValue);
    // The column definitions as one carrier record of the object record format. Loading reads
    // the whole stream before it changes anything: a broken stream raises and leaves the grid
    // as it was. The column count is not changed by a load.
    void SaveColumnsToStream(QIODevice& st);
    void LoadColumnsFromStream(QIODevice& st);
    // The column order in an INI file (Key): "CP" + position holds that column's DefIdx. An
    // empty Key or Section reads and writes nothing; loading changes nothing unless the values
    // are a permutation of the positions.
    void SaveColumnPositions(const QString& Key, const QString& Section);
    void LoadColumnPositions(const QString& Key, const QString& Section);
    // With ColumnSize.Location clIniFile the order of the definitions as "CP" values in the INI
    // file; with clRegistry the string grid's "Pos" values.
    void SaveColPositions() override;
    void LoadColPositions() override;

    void InsertCols(int ColIndex, int CCount) override;
    void RemoveCols(int ColIndex, int CCount) override;
    // The grouped column's definition is kept while the grid is grouped and handed back to the
    // column UnGroup restores.
    void Group(int Colindex) override;
    void UnGroup() override;
    void RecalcFooters() override;
    void ColumnHeadersChanged() override;
    void SyncColumnCount();
    void SyncColumnHeaders();
    // Clears references to a component that is going away.
    void Notification(QObject* AComponent);

    int GetVersionNr() override { return 0x03010301; }
    QString GetVersionString() override;

    // ---- per-cell hooks answered from the definitions
    void GetCellDefaultProps(int ACol, int ARow, TFont& AFont, TBrush& ABrush, TColor& AColorTo,
                             TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& AAlignment,
                             TVAlignment& AVAlignment, bool& AWordWrap,
                             TCellGradientDirection& AGradientDirection) override;
    void GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush, TFont& AFont) override;
    void GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush, TFont& AFont) override;
    void GetCellBorder(int ACol, int ARow, TPen& APen, TCellBorders& Borders) override;
    void GetCellPrintBorder(int ACol, int ARow, TPen& APen, TCellBorders& Borders) override;
    void GetCellAlign(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) override;
    void GetCellFormat(int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix) override;
    void GetCellEditor(int ACol, int ARow, TEditorType& AEditor) override;
    void IsFixedCell(int ACol, int ARow, bool& IsFixed) override;
    void IsReadOnlyCell(int ACol, int ARow, bool& CanEdit) override;
    void IsPasswordCell(int ACol, int ARow, bool& IsPassword) override;
    bool HasComboBox(int ACol, int ARow) override;
    void GetCheckTrue(int ACol, int ARow, QString& Value) override;
    void GetCheckFalse(int ACol, int ARow, QString& Value) override;
    TCellType GetCellType(int ACol, int ARow) override;
    TCellGraphic* GetCellGraphic(int ACol, int ARow) override;
    QString GetDefaultFloatFormat(int ACol) override;
    QString GetFormattedCell(int ACol, int ARow) override;
    bool FillFilterDropDown(int ACol) override;
    void DoFilterSelect(int ItemIndex) override;
    void DoUpdateColumnSize(int ACol, int& AWidth) override;
    void DoUpdateColumnSizeEx(int ACol, int& AWidth) override;
    QString GetEditMask(int ACol, int ARow) override;
    int GetEditLimit() override;
    void ChangeScale(int M, int D) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    std::function<void(QObject* Sender, int ACol, int ARow, QMenu* PopupMenu)> OnColumnPopup;
    std::function<void(QObject* Sender, int FromIndex, int ToIndex)> OnAfterColumnMoved;

protected:
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void ColWidthsChanged() override;

private:
    friend class TGridColumnCollection;
    friend class TGridColumnItem;
    bool InNormalArea(int ACol, int ARow) const;
    TGridColumnItem* Def(int ACol) const;

    std::unique_ptr<TGridColumnCollection> FColumnCollection;
    std::unique_ptr<TGridColumnItem> FSaveCol;
    bool FColMoving = false;
    std::shared_ptr<TCellGraphic> FCellGraphic;
    bool FAutoFilterDisplay = false;
};
