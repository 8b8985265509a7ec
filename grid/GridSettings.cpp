#include "grid/GridSettings.h"

#include "platform/SysUtils.h"
#include "platform/Property.h"

// ---- TCellNode -------------------------------------------------------------------------------

TCellNode::TCellNode(TBaseGrid* AOwner) : FOwner(AOwner) {}

void TCellNode::Repaint()
{
    if (FOwner)
        FOwner->Invalidate();
}

void TCellNode::Assign(const TCellNode& Source)
{
    FColor = Source.FColor;
    FNodeType = Source.FNodeType;
    FNodeColor = Source.FNodeColor;
    FExpandGlyph.Assign(Source.FExpandGlyph);
    FExpandOne = Source.FExpandOne;
    FContractGlyph.Assign(Source.FContractGlyph);
    FShowTree = Source.FShowTree;
    FShowTreeFull = Source.FShowTreeFull;
    FNodeIndent = Source.FNodeIndent;
    FTreeColor = Source.FTreeColor;
}

void TCellNode::SetNodeType(TNodeType Value)
{
    if (platform::Change(FNodeType, Value))
        Repaint();
}

void TCellNode::SetShowTree(bool Value)
{
    if (platform::Change(FShowTree, Value))
        Repaint();
}

void TCellNode::SetShowTreeFull(bool Value)
{
    if (platform::Change(FShowTreeFull, Value))
        Repaint();
}

void TCellNode::SetNodeIndent(int Value)
{
    if (platform::Change(FNodeIndent, Value))
        Repaint();
}

void TCellNode::SetTreeColor(TColor Value)
{
    if (platform::Change(FTreeColor, Value))
        Repaint();
}

// ---- TColumnSize -----------------------------------------------------------------------------

void TColumnSize::Assign(const TColumnSize& Source)
{
    FSave = Source.FSave;
    FKey = Source.FKey;
    FSection = Source.FSection;
    FLocation = Source.FLocation;
    FStretch = Source.FStretch;
    FStretchColumn = Source.FStretchColumn;
    FSynchWithGrid = Source.FSynchWithGrid;
    FSynchNormalCellsOnly = Source.FSynchNormalCellsOnly;
    FRows = Source.FRows;
}

void TColumnSize::SetStretch(bool Value)
{
    FStretch = Value;
    if (OnStretchChange)
        OnStretchChange(this);
}

// ---- THTMLSettings ---------------------------------------------------------------------------

void THTMLSettings::Assign(const THTMLSettings& Source)
{
    FAutoPreview = Source.FAutoPreview;
    FConvertSpecialChars = Source.FConvertSpecialChars;
    FNonBreakingText = Source.FNonBreakingText;
    FSaveColor = Source.FSaveColor;
    FSaveFonts = Source.FSaveFonts;
    FFooterFile = Source.FFooterFile;
    FHeaderFile = Source.FHeaderFile;
    FBorderSize = Source.FBorderSize;
    FCellSpacing = Source.FCellSpacing;
    FCellPadding = Source.FCellPadding;
    FTableStyle = Source.FTableStyle;
    FPrefixTag = Source.FPrefixTag;
    FSuffixTag = Source.FSuffixTag;
    FSummary = Source.FSummary;
    FWidth = Source.FWidth;
    FXHTML = Source.FXHTML;
}

// ---- TPrintSettings --------------------------------------------------------------------------

void TPrintSettings::Assign(const TPrintSettings& Source)
{
    FFooterSize = Source.FFooterSize;
    FHeaderSize = Source.FHeaderSize;
    FLeftSize = Source.FLeftSize;
    FRightSize = Source.FRightSize;
    FTime = Source.FTime;
    FDate = Source.FDate;
    FPageNr = Source.FPageNr;
    FTitle = Source.FTitle;
    FDateFormat = Source.FDateFormat;
    FPageNumSep = Source.FPageNumSep;
    FTitleText = Source.FTitleText;
    FTitleLines.Assign(Source.FTitleLines);
    FFont.Assign(Source.FFont);
    FFixedFont.Assign(Source.FFixedFont);
    FHeaderFont.Assign(Source.FHeaderFont);
    FFooterFont.Assign(Source.FFooterFont);
    FBorders = Source.FBorders;
    FBorderStyle = Source.FBorderStyle;
    FBorderColor = Source.FBorderColor;
    FCentered = Source.FCentered;
    FRepeatFixedRows = Source.FRepeatFixedRows;
    FRepeatFixedCols = Source.FRepeatFixedCols;
    FColumnSpacing = Source.FColumnSpacing;
    FRowSpacing = Source.FRowSpacing;
    FTitleSpacing = Source.FTitleSpacing;
    FOrientation = Source.FOrientation;
    FPagePrefix = Source.FPagePrefix;
    FPageSuffix = Source.FPageSuffix;
    FPageNumberOffset = Source.FPageNumberOffset;
    FMaxPagesOffset = Source.FMaxPagesOffset;
    FFixedWidth = Source.FFixedWidth;
    FFixedHeight = Source.FFixedHeight;
    FUseFixedWidth = Source.FUseFixedWidth;
    FUseFixedHeight = Source.FUseFixedHeight;
    FFitToPage = Source.FFitToPage;
    FJobName = Source.FJobName;
    FNoAutoSize = Source.FNoAutoSize;
    FNoAutoSizeRow = Source.FNoAutoSizeRow;
    FPrintGraphics = Source.FPrintGraphics;
    FUseDisplayFont = Source.FUseDisplayFont;
    FUseDefaultOrientation = Source.FUseDefaultOrientation;
}

// ---- TCellGraphic ----------------------------------------------------------------------------

void TCellGraphic::Assign(const TCellGraphic& Source)
{
    FCellType = Source.FCellType;
    FCellVAlign = Source.FCellVAlign;
    FCellHAlign = Source.FCellHAlign;
    FCellIndex = Source.FCellIndex;
    FCellTransparent = Source.FCellTransparent;
    FCellValue = Source.FCellValue;
    FCellAngle = Source.FCellAngle;
    FCellBoolean = Source.FCellBoolean;
    FCellErrFrom = Source.FCellErrFrom;
    FCellErrLen = Source.FCellErrLen;
    FCellText = Source.FCellText;
}

// A setter that puts no object in place frees the one the record owned; a lent one is only
// forgotten when another object takes its place.
namespace {
void DropOwned(TCellGraphicRef& ref)
{
    if (ref.Owned())
        ref.Reset();
}
} // namespace

void TCellGraphic::BeginKind(TCellType Kind)
{
    FCellType = Kind;
    DropOwned(FCellBitmap);
    DropOwned(FCellIcon);
}

void TCellGraphic::SetBitmap(TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val)
{
    BeginKind(ctBitmap);
    FCellBitmap.Lend(ABmp);
    FCellTransparent = Transparent;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetIcon(TIcon* aicon, TCellHAlign hal, TCellVAlign val)
{
    BeginKind(ctIcon);
    FCellIcon.Lend(aicon);
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val)
{
    BeginKind(ctImageList);
    FCellIndex = idx;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetDataImage(int idx, TCellHAlign hal, TCellVAlign val)
{
    BeginKind(ctDataImage);
    FCellIndex = idx;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    BeginKind(Data ? ctDataCheckBox : ctCheckBox);
    FCellBoolean = Value;
    FCellAngle = 0;
    FCellTransparent = Flat;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetCheckBox(TCheckBoxState State, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    BeginKind(ctTriStateCheckBox);
    FCellCheckBoxState = State;
    FCellBoolean = false;
    FCellTransparent = Flat;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    BeginKind(ctRadioButton);
    FCellBoolean = Value;
    FCellAngle = 0;
    FCellTransparent = Flat;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetButton(int bw, int bh, const QString& caption, TCellHAlign hal, TCellVAlign val)
{
    BeginKind(ctButton);
    FCellIndex = int((unsigned(bh) << 16) | (unsigned(bw) & 0xFFFFu));
    FCellBoolean = false;
    FCellText = caption;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetBitButton(int bw, int bh, const QString& caption, TBitmap* Glyph, TCellHAlign hal,
                                TCellVAlign val)
{
    SetButton(bw, bh, caption, hal, val);
    BeginKind(ctBitButton);
    FCellBitmap.Lend(Glyph);
}

void TCellGraphic::SetPicture(TPicture* APicture, bool Transparent, TStretchMode StretchMode, int padding,
                              TCellHAlign hal, TCellVAlign val)
{
    BeginKind(ctPicture);
    FCellBitmap.Lend(APicture);
    FCellTransparent = Transparent;
    FCellAngle = int(StretchMode);
    FCellIndex = padding;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetFilePicture(TFilePicture* APicture, bool Transparent, TStretchMode StretchMode, int padding,
                                  TCellHAlign hal, TCellVAlign val)
{
    BeginKind(ctFilePicture);
    FCellBitmap.Lend(APicture);
    FCellTransparent = Transparent;
    FCellAngle = int(StretchMode);
    FCellIndex = padding;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetMultiImage(int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val,
                                 TImageChangeEvent Notifier)
{
    BeginKind(ctImages);
    FCellBoolean = dir == 0;
    auto list = std::make_unique<TIntList>(Col, Row);
    list->OnChange = std::move(Notifier);
    FCellBitmap.Own(std::move(list));
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetAngle(int AAngle)
{
    BeginKind(ctRotated);
    if (AAngle < 0) {
        AAngle %= 360;
        if (AAngle < 0)
            AAngle += 360;
    } else if (AAngle > 360) {
        AAngle %= 360;
        if (AAngle == 0)
            AAngle = 360;
    }
    FCellAngle = AAngle;
}

void TCellGraphic::SetInterfacedCell(TGridCellObject* AObject)
{
    BeginKind(ctInterface);
    FCellBitmap.Lend(AObject);
}

TPoint TCellGraphic::GetPictureSize(int cw, int rh, bool, TPoint Default) const
{
    int w = 0, h = 0;
    if (FCellType == ctPicture) {
        const TPicture* p = Picture();
        if (!p)
            return Default;
        w = p->Width();
        h = p->Height();
    } else if (FCellType == ctFilePicture) {
        const TFilePicture* p = FilePicture();
        if (!p)
            return Default;
        w = p->Width();
        h = p->Height();
    } else {
        return Default;
    }
    const int a = cw - FCellIndex;
    const int b = rh - FCellIndex;
    auto ratios = [&](bool limit) {
        double ra = w > 0 ? double(a) / w : 1.0;
        double rb = h > 0 ? double(b) / h : 1.0;
        if (limit) {
            ra = std::min(ra, 1.0);
            rb = std::min(rb, 1.0);
        }
        if (ra >= rb)
            return TPoint(int(platform::Round(w * rb)), b);
        return TPoint(a, int(platform::Round(h * ra)));
    };
    const bool fits = w <= a && h <= b;
    switch (TStretchMode(FCellAngle)) {
    case Stretch:
        return {a, b};
    case StretchWithAspectRatio:
        return ratios(false);
    case Shrink:
        return fits ? TPoint(w, h) : TPoint(a, b);
    case ShrinkWithAspectRatio:
        return fits ? TPoint(w, h) : ratios(true);
    case noStretch:
    default:
        return {w, h};
    }
}
