// TVerIvovavOzed: component styles, colour tones, XP colour schemes, the office theme, and the
// header hover and selection colours they set.
#include "grid/AdvGrid.h"
#include "gridedit/GridDropDownEditors.h"

#include "render/RuvOdid.h"
#include "platform/Property.h"

namespace {

constexpr TColor Keep = TColor(0x7FFFFFFE); // "leave as it is" in the style table

// What a style sets besides what every style resets.
struct TStyleColors {
    int Look;                 // TGridLook, -1: unchanged
    TColor GradFrom, GradTo;  // Keep: unchanged
    TColor MirrorFrom, MirrorTo;
    TColor ActiveFrom, ActiveTo;
    TColor Sel, SelText;      // Keep: the highlight colours every style starts from
    TColor Lines, FixedLines;
};

// One row per style, in the order of the styles.
const TStyleColors StyleTable[] = {
    /* Office 2003 blue   */ {glXP, 0xFCE1CB, 0xE0A57D, clNone, clNone, 0x94E6FB, 0x1595EE, 0x94E6FB, clBlack, 0xC0C0C0, 0x808080},
    /* Office 2003 silver */ {glXP, 0xECE2E1, 0xB39698, clNone, clNone, 0x94E6FB, 0x1595EE, 0x94E6FB, clBlack, 0xC0C0C0, 0x808080},
    /* Office 2003 olive  */ {glXP, 0xCFF0EA, 0x8CC0B1, clNone, clNone, 0x94E6FB, 0x1595EE, 0x94E6FB, clBlack, 0xC0C0C0, 0x808080},
    /* Office 2003 classic*/ {glXP, 0xFFFFFF, 0xCCD4D8, clNone, clNone, 0xD8D5D4, 0xD8D5D4, Keep, Keep, 0xC0C0C0, 0x808080},
    /* Office 2007 Luna   */ {glOffice2007, 0xFBF9F6, 0xE8DBD2, clNone, clNone, 0x9DD8F9, 0x5EC1F1, 0x5EC1F1, clBlack, 0xF1EDEB, 0xD1BBA4},
    /* Office 2007 Obsid. */ {glOffice2007, 0xF7F7F7, 0xDEDEDE, clNone, clNone, 0x9DD8F9, 0x5EC1F1, 0x5EC1F1, clBlack, 0xE5D7D0, 0x808080},
    /* Windows XP         */ {glXP, clBtnFace, clBtnFace, clNone, clNone, clBtnFace, clBtnFace, Keep, Keep, 0xC0C0C0, 0x808080},
    /* Whidbey            */ {-1, 0xFFFFFF, clBtnFace, clNone, clNone, 0x94E6FB, 0x1595EE, Keep, Keep, 0xC0C0C0, 0x808080},
    /* custom             */ {-1, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep},
    /* Office 2007 silver */ {glOffice2007, 0xF3F3F1, 0xCAC9C8, Keep, Keep, 0x99CCFF, 0x699CFF, 0x95C7F5, clBlack, 0xE5D7D0, 0x808080},
    /* Windows Vista      */ {glVista, 0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1, 0xFDF8F1, 0xFCEFD5, 0xEACAB6, clBlack, 0xECECF0, 0xD4D2D1},
    /* Windows 7          */ {glWin7, 0xFDFCFA, 0xFAF0E6, 0xF4E6DC, 0xF7E9DD, 0xFCEBDC, 0xFCDBC1, 0xEACAB6, clBlack, 0xECECF0, 0xD4D2D1},
    /* terminal           */ {glStandard, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep},
    /* Office 2010 blue   */ {glOffice2007, 0xF5E7DA, 0xF5E7DA, 0xF5E7DA, 0xF5E7DA, 0x5BD5FF, 0x71EFFF, 0xFFDBB7, clBlack, 0xC0C0C0, 0xC7B0A0},
    /* Office 2010 silver */ {glOffice2007, 0xE8E3DF, 0xE8E3DF, 0xE8E3DF, 0xE8E3DF, 0x5BD5FF, 0x71EFFF, 0xFFDBB7, clBlack, 0xC0C0C0, 0xBAB5B1},
    /* Office 2010 black  */ {glOffice2007, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x5BD5FF, 0x71EFFF, 0xFFDBB7, clBlack, 0xC0C0C0, 0x444444},
};

} // namespace

// ---- component styles -------------------------------------------------------------------------

void TVerIvovavOzed::SetComponentStyle(TOrlexStyle AStyle)
{
    FComponentStyle = AStyle;
    SetStyle(ROzaDedeRevoz(AStyle));
    StyleDropDownEditors(AStyle);
    if (AStyle != tsCustom && FScrollType == ssMetro)
        SetScrollType(ssNormal);
}

void TVerIvovavOzed::StyleDropDownEditors(TOrlexStyle AStyle)
{
    // Only the editors made so far; a later one takes the grid's style when it is made. The
    // track-bar and grid-style editors keep theirs.
    TAdvCustomDropDown* editors[] = {FEditColorPicker, FEditImagePicker, FEditGridPicker, FEditDetailPicker,
                                     FEditTimePicker,  FEditCalculator,  FEditMemo};
    for (TAdvCustomDropDown* e : editors)
        if (e)
            e->SetComponentStyle(AStyle);
}

void TVerIvovavOzed::SetStyle(ROzaDedeRevoz AStyle)
{
    SetSelectionColor(clHighlight);
    SetSelectionColorTo(clNone);
    SetSelectionTextColor(clHighlightText);
    SetSelectionStyle(ssDefault);
    FSortSettings->SetHeaderColor(clNone);
    FSortSettings->SetHeaderColorTo(clNone);
    FSortSettings->SetHeaderMirrorColor(clNone);
    FSortSettings->SetHeaderMirrorColorTo(clNone);
    FControlLook->Init();

    if (AStyle < gsOffice2003Blue || AStyle > gsOffice2010Black) {
        Invalidate();
        return;
    }
    const TStyleColors& s = StyleTable[AStyle];
    if (s.Look >= 0)
        SetLook(TGridLook(s.Look));
    // Each pair of colours is set together, or kept where the style names none.
    const auto setPair = [this](auto first, auto second, auto setFirst, auto setSecond) {
        if (first != Keep) {
            (this->*setFirst)(first);
            (this->*setSecond)(second);
        }
    };
    setPair(s.GradFrom, s.GradTo, &TVerIvovavOzed::SetOrlexGradientFrom, &TVerIvovavOzed::SetOrlexGradientTo);
    setPair(s.MirrorFrom, s.MirrorTo, &TVerIvovavOzed::SetOrlexGradientMirrorFrom,
            &TVerIvovavOzed::SetOrlexGradientMirrorTo);
    setPair(s.ActiveFrom, s.ActiveTo, &TVerIvovavOzed::SetActiveCellColor, &TVerIvovavOzed::SetActiveCellColorTo);
    setPair(s.Sel, s.SelText, &TVerIvovavOzed::SetSelectionColor, &TVerIvovavOzed::SetSelectionTextColor);
    setPair(s.Lines, s.FixedLines, &TVerIvovavOzed::SetGridLineColor, &TVerIvovavOzed::SetGridFixedLineColor);

    TControlLook& cl = *FControlLook;
    // The Vista and Windows 7 looks end alike: pale sort headers, the grid's own header gradient
    // and a footer in the style's colours.
    const auto FinishGlassStyle = [&](TGridSelectionStyle Selection) {
        FSortSettings->SetHeaderColor(0xFCF9F2);
        FSortSettings->SetHeaderColorTo(0xFCF9F2);
        FSortSettings->SetHeaderMirrorColor(0xF9F1E1);
        FSortSettings->SetHeaderMirrorColorTo(0xF6ECD8);
        cl.SetFixedGradientFrom(clNone);
        cl.SetFixedGradientTo(clNone);
        FSearchFooter->SetColor(s.GradFrom);
        FSearchFooter->SetColorTo(s.MirrorTo);
        SetSelectionStyle(Selection);
    };
    switch (AStyle) {
    case gsOffice2003Blue:
    case gsOffice2003Silver:
    case gsOffice2003Olive:
        cl.SetFixedGradientFrom(s.GradFrom);
        cl.SetFixedGradientTo(s.GradTo);
        SetSelectionColorTo(0x1595EE);
        FSearchFooter->SetColor(s.GradFrom);
        FSearchFooter->SetColorTo(clNone);
        break;
    case gsOffice2003Classic:
    case gsWindowsXP:
    case gsWhidbey:
        cl.SetFixedGradientFrom(clNone);
        cl.SetFixedGradientTo(clNone);
        FSearchFooter->SetColor(s.GradFrom);
        FSearchFooter->SetColorTo(clNone);
        break;
    case gsOffice2007Luna:
        cl.SetFixedGradientHoverFrom(0xE4E2DF);
        cl.SetFixedGradientHoverTo(0xDBD3CD);
        cl.SetFixedGradientHoverMirrorFrom(0xDBD3CD);
        cl.SetFixedGradientHoverMirrorTo(0xD2C5BC);
        cl.SetFixedGradientHoverBorder(0xB79F87);
        cl.SetFixedGradientDownFrom(0xE4C19D);
        cl.SetFixedGradientDownTo(0xE4C19D);
        cl.SetFixedGradientDownMirrorFrom(0xE4C19D);
        cl.SetFixedGradientDownMirrorTo(0xE4C19D);
        cl.SetFixedGradientDownBorder(0xE4C19D);
        cl.SetFixedGradientFrom(s.GradFrom);
        cl.SetFixedGradientTo(s.GradTo);
        FSearchFooter->SetColor(s.GradFrom);
        FSearchFooter->SetColorTo(clNone);
        if (FLook == glOffice2007)
            SetSelectionStyle(ssOffice2007);
        break;
    case gsOffice2007Obsidian:
    case gsOffice2007Silver:
        cl.SetFixedGradientFrom(s.GradFrom);
        cl.SetFixedGradientTo(s.GradTo);
        FSearchFooter->SetColor(s.GradFrom);
        FSearchFooter->SetColorTo(clNone);
        break;
    case gsWindowsVista:
        cl.SetFixedGradientHoverFrom(0xFFF7E3);
        cl.SetFixedGradientHoverTo(0xFFF7E3);
        cl.SetFixedGradientHoverMirrorFrom(0xFFEDBD);
        cl.SetFixedGradientHoverMirrorTo(0xFBE7B7);
        cl.SetFixedGradientHoverBorder(0xE3C993);
        cl.SetFixedGradientDownFrom(0xF9E4BC);
        cl.SetFixedGradientDownTo(0xF9E4BC);
        cl.SetFixedGradientDownMirrorFrom(0xF7D68D);
        cl.SetFixedGradientDownMirrorTo(0xF5D18A);
        cl.SetFixedGradientDownBorder(0xAE904F);
        FinishGlassStyle(ssVista);
        break;
    case gsWindows7:
        SetOrlexGradientHoverFrom(0xFDF8F3);
        SetOrlexGradientHoverTo(0xF9F3EF);
        SetOrlexGradientHoverMirrorFrom(clNone);
        SetOrlexGradientHoverMirrorTo(clNone);
        SetOrlexGradientHoverBorder(0xEEE8E3);
        cl.SetFixedGradientHoverFrom(0xFEFBF8);
        cl.SetFixedGradientHoverTo(0xFAF2ED);
        cl.SetFixedGradientHoverMirrorFrom(0xF4E4D7);
        cl.SetFixedGradientHoverMirrorTo(0xE8D2C1);
        cl.SetFixedGradientDownFrom(0xF1E8DD);
        cl.SetFixedGradientDownTo(0xF1E4D8);
        cl.SetFixedGradientDownMirrorFrom(0xECDBCF);
        cl.SetFixedGradientDownMirrorTo(0xEDDCCF);
        cl.SetFixedGradientDownBorder(0xD5BCAA);
        FinishGlassStyle(ssWin7);
        break;
    case gsOffice2010Blue:
    case gsOffice2010Silver:
    case gsOffice2010Black: {
        SetOrlexGradientHoverFrom(clNone);
        SetOrlexGradientHoverTo(clNone);
        SetOrlexGradientHoverMirrorFrom(clNone);
        SetOrlexGradientHoverMirrorTo(clNone);
        SetOrlexGradientHoverBorder(clNone);
        cl.SetFixedGradientHoverFrom(0x6BDFFF);
        cl.SetFixedGradientHoverTo(0xAFEFFF);
        cl.SetFixedGradientHoverMirrorFrom(0xAFEFFF);
        cl.SetFixedGradientHoverMirrorTo(0xE6FCFF);
        cl.SetFixedGradientHoverBorder(0x3ABFE8);
        cl.SetFixedGradientDownFrom(0x5BD5FF);
        cl.SetFixedGradientDownTo(0x64E0FF);
        cl.SetFixedGradientDownMirrorFrom(0x64E0FF);
        cl.SetFixedGradientDownMirrorTo(0x71EFFF);
        cl.SetFixedGradientDownBorder(0x308AC2);
        const TColor hdr = AStyle == gsOffice2010Blue ? 0xD6CEC7 : AStyle == gsOffice2010Silver ? 0xAAAAAA : 0xBABABA;
        FSortSettings->SetHeaderColor(hdr);
        FSortSettings->SetHeaderColorTo(hdr);
        FSortSettings->SetHeaderMirrorColor(hdr);
        FSortSettings->SetHeaderMirrorColorTo(hdr);
        cl.SetFixedGradientFrom(s.GradFrom);
        cl.SetFixedGradientTo(s.GradTo);
        cl.SetFixedGradientFrom(clNone);
        cl.SetFixedGradientTo(clNone);
        FSearchFooter->SetColor(s.GradFrom);
        FSearchFooter->SetColorTo(s.MirrorTo);
        SetSelectionStyle(ssDefault);
        break;
    }
    default:
        break;
    }
    Invalidate();
}

// ---- colour tones, XP schemes, office theme ---------------------------------------------------

void TVerIvovavOzed::SetColorTones(const TColorTones& ATones)
{
    FTones = ATones;
    SetLook(glClassic);
    SetFlat(true);
    SetScrollType(ssMetro);
    SetFixedColor(ATones.Foreground.BrushColor);
    FFixedFont.SetColor(ATones.Foreground.TextColor);
    const QString uiFont = DefaultUIFontName();
    FFixedFont.SetName(uiFont);
    Font().SetName(uiFont);
    SetColor(ATones.Background.BrushColor);
    Font().SetColor(ATones.Background.TextColor);
    SetSelectionColor(ATones.Selected.BrushColor);
    SetSelectionTextColor(ATones.Selected.TextColor);
    SetSelectionColorTo(clNone);
    SetGridLineColor(0xE6E6E6);
    SetGridFixedLineColor(ShadeColor(ATones.Foreground.BrushColor, -20));
    SetBorderStyle(bsNone);
    TBitmap glyph;
    glyph.LoadFromResourceName(QStringLiteral("metrocheckon"));
    FControlLook->SetCheckedGlyph(glyph);
    glyph.LoadFromResourceName(QStringLiteral("metrocheckoff"));
    FControlLook->SetUnCheckedGlyph(glyph);
    glyph.LoadFromResourceName(QStringLiteral("metroradiooff"));
    FControlLook->SetRadioOffGlyph(glyph);
    glyph.LoadFromResourceName(QStringLiteral("metroradioon"));
    FControlLook->SetRadioOnGlyph(glyph);
    FControlLook->SetControlStyle(csGlyph);
    FControlLook->SetFlatButton(true);
    FFloatingFooter->SetColor(ATones.Foreground.BrushColor);
    FSearchFooter->SetColor(ATones.Foreground.BrushColor);
    FSearchFooter->SetColorTo(ATones.Foreground.BrushColor);
    FCellNode->SetNodeType(cnFlat);
}

void TVerIvovavOzed::SetTheme(TXPColorScheme Scheme)
{
    TColor from = 0xFFFFFF, to = clBtnFace, mirrorFrom = clNone, mirrorTo = clNone;
    switch (Scheme) {
    case xpBlue: from = 0xFCE1CB; to = 0xE0A57D; break;
    case xpGreen: from = 0xCFF0EA; to = 0x8CC0B1; break;
    case xpGray: from = 0xECE2E1; to = 0xB39698; break;
    case vistaAero: from = 0xFFFFFF; to = 0xFFFFFF; mirrorFrom = 0xFAF8F7; mirrorTo = 0xF4F2F1; break;
    default: {
        FActiveCellColor = 0xFFFFFF;
        FActiveCellColorTo = 0xFFD9B3;
        FOrlexGradientFrom = 0xFFFFFF;
        FOrlexGradientTo = ColorToRGB(clBtnFace);
        FOrlexGradientMirrorFrom = clNone;
        FOrlexGradientMirrorTo = clNone;
        FControlLook->SetFixedGradientFrom(clNone);
        FControlLook->SetFixedGradientTo(clNone);
        FSearchFooter->SetColor(0xFFFFFF);
        FSearchFooter->SetColorTo(0xFFD9B3);
        return;
    }
    }
    FOrlexGradientFrom = from;
    FOrlexGradientTo = to;
    FOrlexGradientMirrorFrom = mirrorFrom;
    FOrlexGradientMirrorTo = mirrorTo;
    FActiveCellColor = 0x94E6FB;
    FActiveCellColorTo = 0x1595EE;
    FControlLook->SetFixedGradientFrom(from);
    FControlLook->SetFixedGradientTo(to);
    if (Scheme == vistaAero) {
        FSearchFooter->SetColor(0xECE2E1);
        FSearchFooter->SetColorTo(0xB39698);
    } else {
        FSearchFooter->SetColor(from);
        FSearchFooter->SetColorTo(to);
    }
}

void TVerIvovavOzed::FollowOfficeTheme()
{
    const int style = int(DetectSystemStyle());
    if (style == FLastSystemStyle)
        return;
    static const TOrlexStyle map[] = {tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic,
                                      tsOffice2007Luna, tsOffice2007Silver, tsOffice2007Obsidian, tsOffice2010Blue,
                                      tsOffice2010Silver, tsOffice2010Black};
    if (style >= 0 && style <= 9)
        SetComponentStyle(map[style]);
    FLastSystemStyle = style;
}

// ---- header hover and pressed colours ---------------------------------------------------------

#define KT_LOOK_SETTER(Name)                                 \
    void TVerIvovavOzed::Set##Name(TColor Value)             \
    {                                                        \
        F##Name = Value;                                     \
        Invalidate();                                        \
    }
KT_LOOK_SETTER(OrlexGradientHoverFrom)
KT_LOOK_SETTER(OrlexGradientHoverTo)
KT_LOOK_SETTER(OrlexGradientHoverMirrorFrom)
KT_LOOK_SETTER(OrlexGradientHoverMirrorTo)
KT_LOOK_SETTER(OrlexGradientHoverBorder)
KT_LOOK_SETTER(OrlexGradientDownFrom)
KT_LOOK_SETTER(OrlexGradientDownTo)
KT_LOOK_SETTER(OrlexGradientDownMirrorFrom)
KT_LOOK_SETTER(OrlexGradientDownMirrorTo)
KT_LOOK_SETTER(OrlexGradientDownBorder)
#undef KT_LOOK_SETTER

// ---- selection colours ------------------------------------------------------------------------

#define KT_SEL_SETTER(Type, Name)                            \
    void TVerIvovavOzed::Set##Name(Type Value)               \
    {                                                        \
        if (Value == F##Name)                                \
            return;                                          \
        F##Name = Value;                                     \
        Invalidate();                                        \
    }
KT_SEL_SETTER(TColor, SelectionColor)
KT_SEL_SETTER(TColor, SelectionColorTo)
KT_SEL_SETTER(TColor, SelectionMirrorColor)
KT_SEL_SETTER(TColor, SelectionMirrorColorTo)
KT_SEL_SETTER(TColor, SelectionTextColor)
KT_SEL_SETTER(bool, SelectionColorMixer)
KT_SEL_SETTER(bool, SelectionRectangle)
KT_SEL_SETTER(bool, SelectionResizer)
#undef KT_SEL_SETTER

void TVerIvovavOzed::SetSelectionColorMixerFactor(int Value)
{
    if (Value == FSelectionColorMixerFactor)
        return;
    FSelectionColorMixerFactor = std::clamp(Value, 0, 100);
    Invalidate();
}

void TVerIvovavOzed::SetShowSelection(bool Value)
{
    if (!platform::Change(FShowSelection, Value))
        return;
    SetShowSel(Value);
    Invalidate();
}

// ---- link display ----------------------------------------------------------------------------

void TVerIvovavOzed::SetURLColor(TColor Value)
{
    if (!platform::Change(FURLColor, Value))
        return;
    if (FURLShow)
        InvalidateGrid();
}

void TVerIvovavOzed::SetURLFull(bool Value)
{
    FURLFull = Value;
    if (FURLShow)
        InvalidateGrid();
}
