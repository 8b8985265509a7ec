#pragma once
// Settings classes a string grid owns (tree nodes, sizing while typing, column sizes, HTML export,
// printing) and TCellGraphic, the record of the graphic, control or special content of one cell.
#include "grid/BaseGrid.h"
#include "grid/GridLists.h"
#include "platform/Canvas.h"
#include "platform/Picture.h"
#include "platform/StringList.h"

#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <typeindex>
#include <typeinfo>

#ifndef KT_TCHECKBOXSTATE_DEFINED
#define KT_TCHECKBOXSTATE_DEFINED
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
#endif

#ifndef KT_TPRINTERORIENTATION_DEFINED
#define KT_TPRINTERORIENTATION_DEFINED
enum TPrinterOrientation { poPortrait, poLandscape };
#endif

// ---- tree nodes ------------------------------------------------------------------------------

enum TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };

class TCellNode {
public:
    explicit TCellNode(TBaseGrid* AOwner);
    TCellNode(const TCellNode&) = delete;
    TCellNode& operator=(const TCellNode&) = delete;
    void Assign(const TCellNode& Source);

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TNodeType NodeType() const { return FNodeType; }
    void SetNodeType(TNodeType Value);
    TColor NodeColor() const { return FNodeColor; }
    void SetNodeColor(TColor Value) { FNodeColor = Value; }
    TBitmap& ExpandGlyph() { return FExpandGlyph; }
    const TBitmap& ExpandGlyph() const { return FExpandGlyph; }
    void SetExpandGlyph(const TBitmap& Value) { FExpandGlyph.Assign(Value); }
    bool ExpandOne() const { return FExpandOne; }
    void SetExpandOne(bool Value) { FExpandOne = Value; }
    TBitmap& ContractGlyph() { return FContractGlyph; }
    const TBitmap& ContractGlyph() const { return FContractGlyph; }
    void SetContractGlyph(const TBitmap& Value) { FContractGlyph.Assign(Value); }
    bool ShowTree() const { return FShowTree; }
    void SetShowTree(bool Value);
    bool ShowTreeFull() const { return FShowTreeFull; }
    void SetShowTreeFull(bool Value);
    int NodeIndent() const { return FNodeIndent; }
    void SetNodeIndent(int Value);
    TColor TreeColor() const { return FTreeColor; }
    void SetTreeColor(TColor Value);

private:
    void Repaint();
    QPointer<TBaseGrid> FOwner;
    TColor FColor = 0xC0C0C0;
    TNodeType FNodeType = cnXP;
    TColor FNodeColor = 0x000000;
    TBitmap FExpandGlyph;
    bool FExpandOne = false;
    TBitmap FContractGlyph;
    bool FShowTree = true;
    bool FShowTreeFull = true;
    int FNodeIndent = 12;
    TColor FTreeColor = 0x808080;
};

// ---- sizing while typing ---------------------------------------------------------------------

class TSizeWhileTyping {
public:
    bool Height() const { return FHeight; }
    void SetHeight(bool Value) { FHeight = Value; }
    bool Width() const { return FWidth; }
    void SetWidth(bool Value) { FWidth = Value; }

private:
    bool FHeight = false;
    bool FWidth = false;
};

// ---- column sizes ----------------------------------------------------------------------------

enum TColumnSizeLocation { clRegistry, clIniFile };
enum TAutoSizeRows { arAll, arNormal, arFixed };

class TColumnSize {
public:
    explicit TColumnSize(TBaseGrid* AOwner = nullptr) : FOwner(AOwner) {}
    TColumnSize(const TColumnSize&) = delete;
    TColumnSize& operator=(const TColumnSize&) = delete;
    void Assign(const TColumnSize& Source);

    TBaseGrid* Owner() const { return FOwner; }
    bool Save() const { return FSave; }
    void SetSave(bool Value) { FSave = Value; }
    QString Key() const { return FKey; }
    void SetKey(const QString& Value) { FKey = Value; }
    QString Section() const { return FSection; }
    void SetSection(const QString& Value) { FSection = Value; }
    TColumnSizeLocation Location() const { return FLocation; }
    void SetLocation(TColumnSizeLocation Value) { FLocation = Value; }
    bool Stretch() const { return FStretch; }
    // Stores the value, then OnStretchChange (the grid stretches at once when it has a parent).
    void SetStretch(bool Value);
    int StretchColumn() const { return FStretchColumn; }
    void SetStretchColumn(int Value) { FStretchColumn = Value; }
    bool SynchWithGrid() const { return FSynchWithGrid; }
    void SetSynchWithGrid(bool Value) { FSynchWithGrid = Value; }
    bool SynchNormalCellsOnly() const { return FSynchNormalCellsOnly; }
    void SetSynchNormalCellsOnly(bool Value) { FSynchNormalCellsOnly = Value; }
    TAutoSizeRows Rows() const { return FRows; }
    void SetRows(TAutoSizeRows Value) { FRows = Value; }

    std::function<void(TColumnSize* Sender)> OnStretchChange;

private:
    QPointer<TBaseGrid> FOwner;
    bool FSave = false;
    QString FKey;
    QString FSection;
    TColumnSizeLocation FLocation = clRegistry;
    bool FStretch = false;
    int FStretchColumn = -1;
    bool FSynchWithGrid = false;
    bool FSynchNormalCellsOnly = false;
    TAutoSizeRows FRows = arAll;
};

// ---- HTML export -----------------------------------------------------------------------------

class THTMLSettings {
public:
    THTMLSettings() = default;
    THTMLSettings(const THTMLSettings&) = delete;
    THTMLSettings& operator=(const THTMLSettings&) = delete;
    // Copies every setting but ExportImages and ColWidths.
    void Assign(const THTMLSettings& Source);

    bool AutoPreview() const { return FAutoPreview; }
    void SetAutoPreview(bool Value) { FAutoPreview = Value; }
    bool ConvertSpecialChars() const { return FConvertSpecialChars; }
    void SetConvertSpecialChars(bool Value) { FConvertSpecialChars = Value; }
    bool NonBreakingText() const { return FNonBreakingText; }
    void SetNonBreakingText(bool Value) { FNonBreakingText = Value; }
    bool SaveColor() const { return FSaveColor; }
    void SetSaveColor(bool Value) { FSaveColor = Value; }
    bool SaveFonts() const { return FSaveFonts; }
    void SetSaveFonts(bool Value) { FSaveFonts = Value; }
    QString FooterFile() const { return FFooterFile; }
    void SetFooterFile(const QString& Value) { FFooterFile = Value; }
    QString HeaderFile() const { return FHeaderFile; }
    void SetHeaderFile(const QString& Value) { FHeaderFile = Value; }
    int BorderSize() const { return FBorderSize; }
    void SetBorderSize(int Value) { FBorderSize = Value; }
    int CellSpacing() const { return FCellSpacing; }
    void SetCellSpacing(int Value) { FCellSpacing = Value; }
    int CellPadding() const { return FCellPadding; }
    void SetCellPadding(int Value) { FCellPadding = Value; }
    QString TableStyle() const { return FTableStyle; }
    void SetTableStyle(const QString& Value) { FTableStyle = Value; }
    QString PrefixTag() const { return FPrefixTag; }
    void SetPrefixTag(const QString& Value) { FPrefixTag = Value; }
    QString SuffixTag() const { return FSuffixTag; }
    void SetSuffixTag(const QString& Value) { FSuffixTag = Value; }
    QString Summary() const { return FSummary; }
    void SetSummary(const QString& Value) { FSummary = Value; }
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    bool XHTML() const { return FXHTML; }
    void SetXHTML(bool Value) { FXHTML = Value; }
    bool ExportImages() const { return FExportImages; }
    void SetExportImages(bool Value) { FExportImages = Value; }
    // Column widths for the export (owned).
    TIntList& ColWidths() { return FColWidths; }
    const TIntList& ColWidths() const { return FColWidths; }

private:
    bool FAutoPreview = false;
    bool FConvertSpecialChars = false;
    bool FNonBreakingText = false;
    bool FSaveColor = true;
    bool FSaveFonts = true;
    QString FFooterFile;
    QString FHeaderFile;
    int FBorderSize = 1;
    int FCellSpacing = 0;
    int FCellPadding = 0;
    QString FTableStyle;
    QString FPrefixTag;
    QString FSuffixTag;
    QString FSummary;
    int FWidth = 100;
    bool FXHTML = false;
    bool FExportImages = true;
    TIntList FColWidths;
};

// ---- printing --------------------------------------------------------------------------------

enum TPrintPosition { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
enum TPrintBorders {
    pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical, pbAroundHorizontal,
    pbCustom
};
enum TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };

class TPrintSettings {
public:
    explicit TPrintSettings(TBaseGrid* AOwner = nullptr) : FOwner(AOwner) {}
    TPrintSettings(const TPrintSettings&) = delete;
    TPrintSettings& operator=(const TPrintSettings&) = delete;
    // Copies every published setting (fonts and title lines by Assign).
    void Assign(const TPrintSettings& Source);

    TBaseGrid* Owner() const { return FOwner; }
    int FooterSize() const { return FFooterSize; }
    void SetFooterSize(int Value) { FFooterSize = Value; }
    int HeaderSize() const { return FHeaderSize; }
    void SetHeaderSize(int Value) { FHeaderSize = Value; }
    int LeftSize() const { return FLeftSize; }
    void SetLeftSize(int Value) { FLeftSize = Value; }
    int RightSize() const { return FRightSize; }
    void SetRightSize(int Value) { FRightSize = Value; }
    TPrintPosition Time() const { return FTime; }
    void SetTime(TPrintPosition Value) { FTime = Value; }
    TPrintPosition Date() const { return FDate; }
    void SetDate(TPrintPosition Value) { FDate = Value; }
    TPrintPosition PageNr() const { return FPageNr; }
    void SetPageNr(TPrintPosition Value) { FPageNr = Value; }
    TPrintPosition Title() const { return FTitle; }
    void SetTitle(TPrintPosition Value) { FTitle = Value; }
    QString DateFormat() const { return FDateFormat; }
    void SetDateFormat(const QString& Value) { FDateFormat = Value; }
    QString PageNumSep() const { return FPageNumSep; }
    void SetPageNumSep(const QString& Value) { FPageNumSep = Value; }
    QString TitleText() const { return FTitleText; }
    void SetTitleText(const QString& Value) { FTitleText = Value; }
    platform::TStringList& TitleLines() { return FTitleLines; }
    const platform::TStringList& TitleLines() const { return FTitleLines; }
    void SetTitleLines(const platform::TStringList& Value) { FTitleLines.Assign(Value); }
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& Value) { FFont.Assign(Value); }
    TFont& FixedFont() { return FFixedFont; }
    const TFont& FixedFont() const { return FFixedFont; }
    void SetFixedFont(const TFont& Value) { FFixedFont.Assign(Value); }
    TFont& HeaderFont() { return FHeaderFont; }
    const TFont& HeaderFont() const { return FHeaderFont; }
    void SetHeaderFont(const TFont& Value) { FHeaderFont.Assign(Value); }
    TFont& FooterFont() { return FFooterFont; }
    const TFont& FooterFont() const { return FFooterFont; }
    void SetFooterFont(const TFont& Value) { FFooterFont.Assign(Value); }
    TPrintBorders Borders() const { return FBorders; }
    void SetBorders(TPrintBorders Value) { FBorders = Value; }
    TPenStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TPenStyle Value) { FBorderStyle = Value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    bool Centered() const { return FCentered; }
    void SetCentered(bool Value) { FCentered = Value; }
    bool RepeatFixedRows() const { return FRepeatFixedRows; }
    void SetRepeatFixedRows(bool Value) { FRepeatFixedRows = Value; }
    bool RepeatFixedCols() const { return FRepeatFixedCols; }
    void SetRepeatFixedCols(bool Value) { FRepeatFixedCols = Value; }
    int ColumnSpacing() const { return FColumnSpacing; }
    void SetColumnSpacing(int Value) { FColumnSpacing = Value; }
    int RowSpacing() const { return FRowSpacing; }
    void SetRowSpacing(int Value) { FRowSpacing = Value; }
    int TitleSpacing() const { return FTitleSpacing; }
    void SetTitleSpacing(int Value) { FTitleSpacing = Value; }
    TPrinterOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TPrinterOrientation Value) { FOrientation = Value; }
    QString PagePrefix() const { return FPagePrefix; }
    void SetPagePrefix(const QString& Value) { FPagePrefix = Value; }
    QString PageSuffix() const { return FPageSuffix; }
    void SetPageSuffix(const QString& Value) { FPageSuffix = Value; }
    int PageNumberOffset() const { return FPageNumberOffset; }
    void SetPageNumberOffset(int Value) { FPageNumberOffset = Value; }
    int MaxPagesOffset() const { return FMaxPagesOffset; }
    void SetMaxPagesOffset(int Value) { FMaxPagesOffset = Value; }
    int FixedWidth() const { return FFixedWidth; }
    void SetFixedWidth(int Value) { FFixedWidth = Value; }
    int FixedHeight() const { return FFixedHeight; }
    void SetFixedHeight(int Value) { FFixedHeight = Value; }
    bool UseFixedWidth() const { return FUseFixedWidth; }
    void SetUseFixedWidth(bool Value) { FUseFixedWidth = Value; }
    bool UseFixedHeight() const { return FUseFixedHeight; }
    void SetUseFixedHeight(bool Value) { FUseFixedHeight = Value; }
    TFitToPage FitToPage() const { return FFitToPage; }
    void SetFitToPage(TFitToPage Value) { FFitToPage = Value; }
    QString JobName() const { return FJobName; }
    void SetJobName(const QString& Value) { FJobName = Value; }
    bool NoAutoSize() const { return FNoAutoSize; }
    void SetNoAutoSize(bool Value) { FNoAutoSize = Value; }
    bool NoAutoSizeRow() const { return FNoAutoSizeRow; }
    void SetNoAutoSizeRow(bool Value) { FNoAutoSizeRow = Value; }
    bool PrintGraphics() const { return FPrintGraphics; }
    void SetPrintGraphics(bool Value) { FPrintGraphics = Value; }
    bool UseDisplayFont() const { return FUseDisplayFont; }
    void SetUseDisplayFont(bool Value) { FUseDisplayFont = Value; }
    bool UseDefaultOrientation() const { return FUseDefaultOrientation; }
    void SetUseDefaultOrientation(bool Value) { FUseDefaultOrientation = Value; }
    // Kept for the print code (not copied by Assign).
    bool FixedCellsAlways = false;

private:
    QPointer<TBaseGrid> FOwner;
    int FFooterSize = 0;
    int FHeaderSize = 0;
    int FLeftSize = 0;
    int FRightSize = 0;
    TPrintPosition FTime = ppNone;
    TPrintPosition FDate = ppNone;
    TPrintPosition FPageNr = ppNone;
    TPrintPosition FTitle = ppNone;
    QString FDateFormat = QStringLiteral("dd/mm/yyyy");
    QString FPageNumSep = QStringLiteral("/");
    QString FTitleText;
    platform::TStringList FTitleLines;
    TFont FFont;
    TFont FFixedFont;
    TFont FHeaderFont;
    TFont FFooterFont;
    TPrintBorders FBorders = pbSingle;
    TPenStyle FBorderStyle = psSolid;
    TColor FBorderColor = 0x000000;
    bool FCentered = true;
    bool FRepeatFixedRows = false;
    bool FRepeatFixedCols = false;
    int FColumnSpacing = 0;
    int FRowSpacing = 0;
    int FTitleSpacing = 0;
    TPrinterOrientation FOrientation = poPortrait;
    QString FPagePrefix;
    QString FPageSuffix;
    int FPageNumberOffset = 0;
    int FMaxPagesOffset = 0;
    int FFixedWidth = 0;
    int FFixedHeight = 0;
    bool FUseFixedWidth = false;
    bool FUseFixedHeight = false;
    TFitToPage FFitToPage = fpNever;
    QString FJobName;
    bool FNoAutoSize = false;
    bool FNoAutoSizeRow = false;
    bool FPrintGraphics = false;
    bool FUseDisplayFont = true;
    bool FUseDefaultOrientation = false;
};

// ---- the cell graphic record -----------------------------------------------------------------

enum TCellType {
    ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage, ctNode, ctRadio,
    ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress, ctComment, ctButton, ctBitButton,
    ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary, ctRangeIndicator, ctXPProgress, ctInterface,
    ctScrollbar, ctRadioButton, ctBalloon, ctShape, ctRating, ctTriStateCheckBox, ctExpand
};
enum TCellHAlign { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TCellVAlign { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
enum TStretchMode { noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio };

// An object a cell graphic refers to, with its ownership in its type: an owned object is freed
// with the reference (or when another object replaces it); a lent one belongs to the caller and
// is never freed here. Copies of the reference share an owned object.
class TCellGraphicRef {
public:
    TCellGraphicRef() = default;

    // Keeps the caller's object without owning it.
    template <class T>
    void Lend(T* AObject)
    {
        FObject = std::shared_ptr<void>(static_cast<void*>(AObject), [](void*) {});
        FType = AObject ? std::type_index(typeid(T)) : std::type_index(typeid(void));
        FOwned = false;
    }
    // Takes the object over.
    template <class T>
    void Own(std::unique_ptr<T> AObject)
    {
        FType = AObject ? std::type_index(typeid(T)) : std::type_index(typeid(void));
        FOwned = bool(AObject);
        FObject = std::shared_ptr<T>(std::move(AObject));
    }
    // The object when it is of class T; null otherwise.
    template <class T>
    T* As() const
    {
        return FObject && FType == std::type_index(typeid(T)) ? static_cast<T*>(FObject.get()) : nullptr;
    }
    void* Get() const { return FObject.get(); }
    bool Assigned() const { return bool(FObject); }
    bool Owned() const { return FOwned && FObject; }
    void Reset()
    {
        FObject.reset();
        FType = std::type_index(typeid(void));
        FOwned = false;
    }

private:
    std::shared_ptr<void> FObject;
    std::type_index FType = std::type_index(typeid(void));
    bool FOwned = false;
};

class TCellGraphic : public TGridCellObject {
public:
    TCellGraphic() = default;
    TCellGraphic(const TCellGraphic&) = delete;
    TCellGraphic& operator=(const TCellGraphic&) = delete;

    // Copies the kind, placement and values of another record; never its objects, so a copy
    // cannot free what the source holds.
    void Assign(const TCellGraphic& Source);

    TCellType CellType() const { return FCellType; }
    void SetCellType(TCellType Value) { FCellType = Value; }
    TCellVAlign CellVAlign() const { return FCellVAlign; }
    void SetCellVAlign(TCellVAlign Value) { FCellVAlign = Value; }
    TCellHAlign CellHAlign() const { return FCellHAlign; }
    void SetCellHAlign(TCellHAlign Value) { FCellHAlign = Value; }
    int CellIndex() const { return FCellIndex; }
    void SetCellIndex(int Value) { FCellIndex = Value; }
    bool CellTransparent() const { return FCellTransparent; }
    void SetCellTransparent(bool Value) { FCellTransparent = Value; }
    // The record owns the object it refers to.
    bool CellCreated() const { return FCellBitmap.Owned() || FCellIcon.Owned(); }
    bool CellBoolean() const { return FCellBoolean; }
    void SetCellBoolean(bool Value) { FCellBoolean = Value; }
    int CellAngle() const { return FCellAngle; }
    void SetCellAngle(int Value) { FCellAngle = Value; }
    double CellValue() const { return FCellValue; }
    void SetCellValue(double Value) { FCellValue = Value; }
    int CellErrFrom() const { return FCellErrFrom; }
    void SetCellErrFrom(int Value) { FCellErrFrom = Value; }
    int CellErrLen() const { return FCellErrLen; }
    void SetCellErrLen(int Value) { FCellErrLen = Value; }
    QString CellText() const { return FCellText; }
    void SetCellText(const QString& Value) { FCellText = Value; }
    const QVariant& CellVar() const { return FCellVar; }
    void SetCellVar(const QVariant& Value) { FCellVar = Value; }
    TCheckBoxState CellCheckBoxState() const { return FCellCheckBoxState; }
    void SetCellCheckBoxState(TCheckBoxState Value) { FCellCheckBoxState = Value; }

    // The object of the kind (bitmap, picture, file picture, glyph, image-index list, caption
    // or balloon texts, interfaced object) and the icon of ctIcon.
    TCellGraphicRef& CellBitmap() { return FCellBitmap; }
    const TCellGraphicRef& CellBitmap() const { return FCellBitmap; }
    TCellGraphicRef& CellIcon() { return FCellIcon; }
    const TCellGraphicRef& CellIcon() const { return FCellIcon; }
    // Typed reads of the object (null when the record holds another class).
    TBitmap* Bitmap() const { return FCellBitmap.As<TBitmap>(); }
    TPicture* Picture() const { return FCellBitmap.As<TPicture>(); }
    TFilePicture* FilePicture() const { return FCellBitmap.As<TFilePicture>(); }
    TIntList* Images() const { return FCellBitmap.As<TIntList>(); }
    TIcon* Icon() const { return FCellIcon.As<TIcon>(); }

    // Setters: each sets CellType and the fields it names. An object the record owned is freed
    // when the setter puts another object (or none) in its place.
    void SetBitmap(TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    void SetIcon(TIcon* aicon, TCellHAlign hal, TCellVAlign val);
    void SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val);
    void SetDataImage(int idx, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(TCheckBoxState State, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetButton(int bw, int bh, const QString& caption, TCellHAlign hal, TCellVAlign val);
    void SetBitButton(int bw, int bh, const QString& caption, TBitmap* Glyph, TCellHAlign hal, TCellVAlign val);
    void SetPicture(TPicture* APicture, bool Transparent, TStretchMode StretchMode, int padding, TCellHAlign hal,
                    TCellVAlign val);
    void SetFilePicture(TFilePicture* APicture, bool Transparent, TStretchMode StretchMode, int padding,
                        TCellHAlign hal, TCellVAlign val);
    // A new owned image-index list whose change event is Notifier; dir 0 puts the images side by
    // side.
    void SetMultiImage(int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val, TImageChangeEvent Notifier);
    // Angle brought into 0..360 (360 stays 360).
    void SetAngle(int AAngle);
    void SetInterfacedCell(TGridCellObject* AObject);

    // Size a ctPicture or ctFilePicture graphic takes in a cell of cw x rh; for other kinds the
    // given default is returned.
    TPoint GetPictureSize(int cw, int rh, bool hastext, TPoint Default = TPoint()) const;

private:
    // Sets the kind and frees the objects the record owned.
    void BeginKind(TCellType Kind);

    TCellType FCellType = ctNone;
    TCellGraphicRef FCellBitmap;
    TCellGraphicRef FCellIcon;
    TCellVAlign FCellVAlign = vaTop;
    TCellHAlign FCellHAlign = haLeft;
    int FCellIndex = 0;
    bool FCellTransparent = false;
    bool FCellBoolean = false;
    int FCellAngle = 0;
    double FCellValue = 0;
    int FCellErrFrom = 0;
    int FCellErrLen = 0;
    QString FCellText;
    QVariant FCellVar;
    TCheckBoxState FCellCheckBoxState = cbUnchecked;
};
