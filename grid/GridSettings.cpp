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
    TCellNodeValues::operator=(Source);
    FExpandGlyph.Assign(Source.FExpandGlyph);
    FContractGlyph.Assign(Source.FContractGlyph);
}

// ---- TColumnSize -----------------------------------------------------------------------------

void TColumnSize::Assign(const TColumnSize& Source)
{
    TColumnSizeValues::operator=(Source);
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
    THTMLSettingsValues::operator=(Source);
}

// ---- TPrintSettings --------------------------------------------------------------------------

void TPrintSettings::Assign(const TPrintSettings& Source)
{
    TPrintSettingsValues::operator=(Source);
    FTitleLines.Assign(Source.FTitleLines);
    FFont.Assign(Source.FFont);
    FFixedFont.Assign(Source.FFixedFont);
    FHeaderFont.Assign(Source.FHeaderFont);
    FFooterFont.Assign(Source.FFooterFont);
}

// ---- TCellGraphic ----------------------------------------------------------------------------

void TCellGraphic::Assign(const TCellGraphic& Source)
{
    TCellGraphicValues::operator=(Source);
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

void TCellGraphic::BeginKind(TCellType Kind, TCellHAlign hal, TCellVAlign val)
{
    BeginKind(Kind);
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::SetBitmap(TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val)
{
    BeginKind(ctBitmap, hal, val);
    FCellBitmap.Lend(ABmp);
    FCellTransparent = Transparent;
}

void TCellGraphic::SetIcon(TIcon* aicon, TCellHAlign hal, TCellVAlign val)
{
    BeginKind(ctIcon, hal, val);
    FCellIcon.Lend(aicon);
}

void TCellGraphic::SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val)
{
    BeginKind(ctImageList, hal, val);
    FCellIndex = idx;
}

void TCellGraphic::SetDataImage(int idx, TCellHAlign hal, TCellVAlign val)
{
    BeginKind(ctDataImage, hal, val);
    FCellIndex = idx;
}

void TCellGraphic::SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    BeginKind(Data ? ctDataCheckBox : ctCheckBox, hal, val);
    FCellBoolean = Value;
    FCellAngle = 0;
    FCellTransparent = Flat;
}

void TCellGraphic::SetCheckBox(TCheckBoxState State, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    BeginKind(ctTriStateCheckBox, hal, val);
    FCellCheckBoxState = State;
    FCellBoolean = false;
    FCellTransparent = Flat;
}

void TCellGraphic::SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    BeginKind(ctRadioButton, hal, val);
    FCellBoolean = Value;
    FCellAngle = 0;
    FCellTransparent = Flat;
}

void TCellGraphic::SetButton(int bw, int bh, const QString& caption, TCellHAlign hal, TCellVAlign val)
{
    BeginKind(ctButton, hal, val);
    FCellIndex = int((unsigned(bh) << 16) | (unsigned(bw) & 0xFFFFu));
    FCellBoolean = false;
    FCellText = caption;
}

void TCellGraphic::SetBitButton(int bw, int bh, const QString& caption, TBitmap* Glyph, TCellHAlign hal,
                                TCellVAlign val)
{
    SetButton(bw, bh, caption, hal, val);
    BeginKind(ctBitButton);
    FCellBitmap.Lend(Glyph);
}

template <class T>
void TCellGraphic::LendPicture(TCellType Kind, T* APicture, bool Transparent, TStretchMode StretchMode, int padding,
                               TCellHAlign hal, TCellVAlign val)
{
    BeginKind(Kind, hal, val);
    FCellBitmap.Lend(APicture);
    FCellTransparent = Transparent;
    FCellAngle = int(StretchMode);
    FCellIndex = padding;
}

void TCellGraphic::SetPicture(TPicture* APicture, bool Transparent, TStretchMode StretchMode, int padding,
                              TCellHAlign hal, TCellVAlign val)
{
    LendPicture(ctPicture, APicture, Transparent, StretchMode, padding, hal, val);
}

void TCellGraphic::SetFilePicture(TFilePicture* APicture, bool Transparent, TStretchMode StretchMode, int padding,
                                  TCellHAlign hal, TCellVAlign val)
{
    LendPicture(ctFilePicture, APicture, Transparent, StretchMode, padding, hal, val);
}

void TCellGraphic::SetMultiImage(int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val,
                                 TImageChangeEvent Notifier)
{
    BeginKind(ctImages, hal, val);
    FCellBoolean = dir == 0;
    auto list = std::make_unique<TIntList>(Col, Row);
    list->OnChange = std::move(Notifier);
    FCellBitmap.Own(std::move(list));
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
