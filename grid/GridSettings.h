#pragma once
// Settings classes a string grid owns (tree nodes, sizing while typing, column sizes, HTML export,
// printing) and TCellGraphic, the record of the graphic, control or special content of one cell.
#include "grid/BaseGrid.h"
#include "grid/GridLists.h"
#include "platform/Canvas.h"
#include "platform/Picture.h"
#include "platform/StringList.h"
#include "platform/Property.h"

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

// The values TCellNode::Assign copies, kept together so that one assignment copies them all.
struct TCellNodeValues {
    TColor FColor = 0xC0C0C0;
    TNodeType FNodeType = cnXP;
    TColor FNodeColor = 0x000000;
    bool FExpandOne = false;
    bool FShowTree = true;
    bool FShowTreeFull = true;
    int FNodeIndent = 12;
    TColor FTreeColor = 0x808080;
};

class TCellNode : private TCellNodeValues {
public:
    explicit TCellNode(TBaseGrid* AOwner);
    TCellNode(const TCellNode&) = delete;
    TCellNode& operator=(const TCellNode&) = delete;
    void Assign(const TCellNode& Source);

    KT_PROPERTY(TColor, Color)
    KT_PROPERTY_CHANGE(TNodeType, NodeType, Repaint)
    KT_PROPERTY(TColor, NodeColor)
    KT_OBJECT_PROPERTY(TBitmap, ExpandGlyph)
    KT_PROPERTY(bool, ExpandOne)
    KT_OBJECT_PROPERTY(TBitmap, ContractGlyph)
    KT_PROPERTY_CHANGE(bool, ShowTree, Repaint)
    KT_PROPERTY_CHANGE(bool, ShowTreeFull, Repaint)
    KT_PROPERTY_CHANGE(int, NodeIndent, Repaint)
    KT_PROPERTY_CHANGE(TColor, TreeColor, Repaint)

private:
    void Repaint();
    QPointer<TBaseGrid> FOwner;
    TBitmap FExpandGlyph;
    TBitmap FContractGlyph;
};

// ---- sizing while typing ---------------------------------------------------------------------

class TSizeWhileTyping {
public:
    KT_PROPERTY(bool, Height)
    KT_PROPERTY(bool, Width)

private:
    bool FHeight = false;
    bool FWidth = false;
};

// ---- column sizes ----------------------------------------------------------------------------

enum TColumnSizeLocation { clRegistry, clIniFile };
enum TAutoSizeRows { arAll, arNormal, arFixed };

// The values TColumnSize::Assign copies, kept together so that one assignment copies them all.
struct TColumnSizeValues {
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

class TColumnSize : private TColumnSizeValues {
public:
    explicit TColumnSize(TBaseGrid* AOwner = nullptr) : FOwner(AOwner) {}
    TColumnSize(const TColumnSize&) = delete;
    TColumnSize& operator=(const TColumnSize&) = delete;
    void Assign(const TColumnSize& Source);

    TBaseGrid* Owner() const { return FOwner; }
    KT_PROPERTY(bool, Save)
    KT_PROPERTY(QString, Key)
    KT_PROPERTY(QString, Section)
    KT_PROPERTY(TColumnSizeLocation, Location)
    bool Stretch() const { return FStretch; }
    // Stores the value, then OnStretchChange (the grid stretches at once when it has a parent).
    void SetStretch(bool Value);
    KT_PROPERTY(int, StretchColumn)
    KT_PROPERTY(bool, SynchWithGrid)
    KT_PROPERTY(bool, SynchNormalCellsOnly)
    KT_PROPERTY(TAutoSizeRows, Rows)

    std::function<void(TColumnSize* Sender)> OnStretchChange;

private:
    QPointer<TBaseGrid> FOwner;
};

// ---- HTML export -----------------------------------------------------------------------------

// The values THTMLSettings::Assign copies, kept together so that one assignment copies them all.
struct THTMLSettingsValues {
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
};

class THTMLSettings : private THTMLSettingsValues {
public:
    THTMLSettings() = default;
    THTMLSettings(const THTMLSettings&) = delete;
    THTMLSettings& operator=(const THTMLSettings&) = delete;
    // Copies every setting but ExportImages and ColWidths.
    void Assign(const THTMLSettings& Source);

    KT_PROPERTY(bool, AutoPreview)
    KT_PROPERTY(bool, ConvertSpecialChars)
    KT_PROPERTY(bool, NonBreakingText)
    KT_PROPERTY(bool, SaveColor)
    KT_PROPERTY(bool, SaveFonts)
    KT_PROPERTY(QString, FooterFile)
    KT_PROPERTY(QString, HeaderFile)
    KT_PROPERTY(int, BorderSize)
    KT_PROPERTY(int, CellSpacing)
    KT_PROPERTY(int, CellPadding)
    KT_PROPERTY(QString, TableStyle)
    KT_PROPERTY(QString, PrefixTag)
    KT_PROPERTY(QString, SuffixTag)
    KT_PROPERTY(QString, Summary)
    KT_PROPERTY(int, Width)
    KT_PROPERTY(bool, XHTML)
    KT_PROPERTY(bool, ExportImages)
    // Column widths for the export (owned).
    TIntList& ColWidths() { return FColWidths; }
    const TIntList& ColWidths() const { return FColWidths; }

private:
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

// The values TPrintSettings::Assign copies, kept together so that one assignment copies them all.
struct TPrintSettingsValues {
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

class TPrintSettings : private TPrintSettingsValues {
public:
    explicit TPrintSettings(TBaseGrid* AOwner = nullptr) : FOwner(AOwner) {}
    TPrintSettings(const TPrintSettings&) = delete;
    TPrintSettings& operator=(const TPrintSettings&) = delete;
    // Copies every published setting (fonts and title lines by Assign).
    void Assign(const TPrintSettings& Source);

    TBaseGrid* Owner() const { return FOwner; }
    KT_PROPERTY(int, FooterSize)
    KT_PROPERTY(int, HeaderSize)
    KT_PROPERTY(int, LeftSize)
    KT_PROPERTY(int, RightSize)
    KT_PROPERTY(TPrintPosition, Time)
    KT_PROPERTY(TPrintPosition, Date)
    KT_PROPERTY(TPrintPosition, PageNr)
    KT_PROPERTY(TPrintPosition, Title)
    KT_PROPERTY(QString, DateFormat)
    KT_PROPERTY(QString, PageNumSep)
    KT_PROPERTY(QString, TitleText)
    KT_OBJECT_PROPERTY(platform::TStringList, TitleLines)
    KT_OBJECT_PROPERTY(TFont, Font)
    KT_OBJECT_PROPERTY(TFont, FixedFont)
    KT_OBJECT_PROPERTY(TFont, HeaderFont)
    KT_OBJECT_PROPERTY(TFont, FooterFont)
    KT_PROPERTY(TPrintBorders, Borders)
    KT_PROPERTY(TPenStyle, BorderStyle)
    KT_PROPERTY(TColor, BorderColor)
    KT_PROPERTY(bool, Centered)
    KT_PROPERTY(bool, RepeatFixedRows)
    KT_PROPERTY(bool, RepeatFixedCols)
    KT_PROPERTY(int, ColumnSpacing)
    KT_PROPERTY(int, RowSpacing)
    KT_PROPERTY(int, TitleSpacing)
    KT_PROPERTY(TPrinterOrientation, Orientation)
    KT_PROPERTY(QString, PagePrefix)
    KT_PROPERTY(QString, PageSuffix)
    KT_PROPERTY(int, PageNumberOffset)
    KT_PROPERTY(int, MaxPagesOffset)
    KT_PROPERTY(int, FixedWidth)
    KT_PROPERTY(int, FixedHeight)
    KT_PROPERTY(bool, UseFixedWidth)
    KT_PROPERTY(bool, UseFixedHeight)
    KT_PROPERTY(TFitToPage, FitToPage)
    KT_PROPERTY(QString, JobName)
    KT_PROPERTY(bool, NoAutoSize)
    KT_PROPERTY(bool, NoAutoSizeRow)
    KT_PROPERTY(bool, PrintGraphics)
    KT_PROPERTY(bool, UseDisplayFont)
    KT_PROPERTY(bool, UseDefaultOrientation)
    // Kept for the print code (not copied by Assign).
    bool FixedCellsAlways = false;

private:
    QPointer<TBaseGrid> FOwner;
    platform::TStringList FTitleLines;
    TFont FFont;
    TFont FFixedFont;
    TFont FHeaderFont;
    TFont FFooterFont;
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

// Where a check box or radio button of a cell stands for a control's vertical alignment.
inline TCellVAlign CellVAlignOf(TVAlignment v)
{
    switch (v) {
    case vtaCenter:
        return vaCenter;
    case vtaBottom:
        return vaBottom;
    default:
        return vaTop;
    }
}
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

// The values TCellGraphic::Assign copies, kept together so that one assignment copies them all.
struct TCellGraphicValues {
    TCellType FCellType = ctNone;
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
};

class TCellGraphic : public TGridCellObject, private TCellGraphicValues {
public:
    TCellGraphic() = default;
    TCellGraphic(const TCellGraphic&) = delete;
    TCellGraphic& operator=(const TCellGraphic&) = delete;

    // Copies the kind, placement and values of another record; never its objects, so a copy
    // cannot free what the source holds.
    void Assign(const TCellGraphic& Source);

    KT_PROPERTY(TCellType, CellType)
    KT_PROPERTY(TCellVAlign, CellVAlign)
    KT_PROPERTY(TCellHAlign, CellHAlign)
    KT_PROPERTY(int, CellIndex)
    KT_PROPERTY(bool, CellTransparent)
    // The record owns the object it refers to.
    bool CellCreated() const { return FCellBitmap.Owned() || FCellIcon.Owned(); }
    KT_PROPERTY(bool, CellBoolean)
    KT_PROPERTY(int, CellAngle)
    KT_PROPERTY(double, CellValue)
    KT_PROPERTY(int, CellErrFrom)
    KT_PROPERTY(int, CellErrLen)
    KT_PROPERTY(QString, CellText)
    const QVariant& CellVar() const { return FCellVar; }
    void SetCellVar(const QVariant& Value) { FCellVar = Value; }
    KT_PROPERTY(TCheckBoxState, CellCheckBoxState)

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
    // The same, placing the graphic by hal and val.
    void BeginKind(TCellType Kind, TCellHAlign hal, TCellVAlign val);
    // A picture kind: the picture is lent, the stretch mode kept in CellAngle and the padding in
    // CellIndex.
    template <class T>
    void LendPicture(TCellType Kind, T* APicture, bool Transparent, TStretchMode StretchMode, int padding,
                     TCellHAlign hal, TCellVAlign val);

    TCellGraphicRef FCellBitmap;
    TCellGraphicRef FCellIcon;
    QVariant FCellVar;
    TCheckBoxState FCellCheckBoxState = cbUnchecked;
};
