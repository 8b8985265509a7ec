// Colour sets of the drop-down component styles, the selection colour presets and the metro
// colour tones of the drop-down button.
#include "dropdown/AdvDropDown.h"

#include "render/RuvOdid.h"

namespace {

constexpr TColor Keep = clDefault; // marks a pop-up border colour the style leaves alone

struct TStyleRow {
    TColor dropDown, dropDownTo, border;
    TColor header, headerTo, footer, footerTo;
    TColor font, headerBorder, footerBorder;
};

// Pop-up, header and footer, by style number (8, the custom style, is never read).
const TStyleRow StyleRows[16] = {
    {0xFFFFFF, clNone, Keep, 0xFCE1CB, 0xE0A57D, 0xFCE1CB, 0xE0A57D, 0x000000, 0x000000, 0x962D00},
    {0xFFFFFF, clNone, Keep, 0xECE2E1, 0xB39698, 0xECE2E1, 0xB39698, 0x000000, 0x947C7C, 0x947C7C},
    {0xFFFFFF, clNone, clNone, 0xCFF0EA, 0x8CC0B1, 0xCFF0EA, 0x8CC0B1, 0x000000, 0x588060, 0x588060},
    {0xF2F2F2, 0xF2F2F2, clNone, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0x808080, 0x808080},
    {0xF3E5DA, 0xF0DED0, clNone, 0xFFEFE3, 0xFFD2AF, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF, 0xFFD2AF},
    {0xFFFFFF, clNone, clNone, 0xF2F1F0, 0xC9C2BD, 0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C, 0x5C534C},
    {0xFFFFFF, clNone, Keep, 0xFFFFFF, clBtnFace, 0xFFFFFF, clBtnFace, 0x000000, 0x808080, 0x808080},
    {0xF5F9FA, 0xF5F9FA, clNone, 0xEBEEEF, 0x7E9898, 0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00, 0x962D00},
    {},
    {0xF8F4F1, 0xF0E8E3, clNone, 0xF8F7F6, 0xE8E0DB, 0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F, 0x74706F},
    {0xFFFFFF, 0xFFFFFF, 0x979797, 0xFFFDF9, 0xFFFAF0, 0xFFFAF0, 0xFFFDF9, 0x000000, 0xFCF2DA, 0xFCF2DA},
    {0xFFFFFF, 0xFFFFFF, 0x979797, 0xFDFBFA, 0xFDF3EB, 0xFDFBFA, 0xFDF3EB, 0x000000, 0xFBD6B8, 0xFBD6B8},
    {0xFFFFFF, 0xFFFFFF, 0x808080, clBtnFace, clBtnFace, clBtnFace, clBtnFace, 0x000000, clNone, clNone},
    {0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFDF6EF, 0xF0DAC7, 0xFDF6EF, 0xF0DAC7, 0x5B391E, 0xC7B29F, 0xC7B29F},
    {0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFFFFFF, 0xEDE5E0, 0xFFFFFF, 0xEDE5E0, 0x5B391E, 0xD2CDC8, 0xD2CDC8},
    {0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xBFBFBF, 0x919191, 0xBFBFBF, 0x919191, 0xD7D7D6, 0x6D6D6D, 0x6D6D6D},
};

// The buttons of the styles that share the orange hot, down and checked looks, over their own
// normal gradient.
constexpr TDropDownButtonAppearanceColors OfficeButtons(TColor color, TColor colorTo)
{
    return {color, colorTo, clNone, 0xEBFDFF, 0xACECFF, 0x99CEDB, 0xAAD9FF,
            0x6EBBFF, 0x42AEFE, 0xF2F2F2, 0xB6B6B6, 0x76AFF1, 0x4190F3, 0x45667B};
}

// The buttons of the styles that share the gold hot, down and checked looks, over their own
// normal gradient and border.
constexpr TDropDownButtonAppearanceColors GoldButtons(TColor color, TColor colorTo, TColor border)
{
    return {color, colorTo, border, 0x8AE3FD, clNone, 0x58CAF1, 0x6CD0FF,
            clNone, 0x308AC2, 0xF2F2F2, 0xB6B6B6, 0x45E1FE, clNone, 0x4FA0CE};
}

// Header and footer buttons: Color, ColorTo, BorderColor, hot (3), down (3), disabled (2),
// checked (3), by style number.
const TDropDownButtonAppearanceColors ButtonRows[16] = {
    OfficeButtons(0xFCE1CB, 0xE0A57D),
    OfficeButtons(0xECE2E1, 0xB39698),
    OfficeButtons(0xCFF0EA, 0x8CC0B1),
    {0xFFFFFF, 0xC9D1D5, clNone, 0xD2BDB6, 0xD2BDB6, 0x808080, 0xB59285, 0xB59285, 0x808080, 0xD8D5D4, 0xD8D5D4,
     0xD8D5D4, 0xD8D5D4, 0x808080},
    OfficeButtons(0xFFEFE3, 0xFFDDC4),
    OfficeButtons(0xF2F1F0, 0xC9C2BD),
    {0xFFFFFF, clBtnFace, clNone, 0xEFD3C6, 0xEFD3C6, clHighlight, clActiveCaption, clActiveCaption, clHighlight,
     0xB6B6B6, 0xB6B6B6, 0xB9D8DC, 0xB9D8DC, 0x000000},
    OfficeButtons(0xFFFFFF, 0xDFEDF0),
    {},
    OfficeButtons(0xF9F8F8, 0xE4E2DF),
    {0xFFFDF9, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFDF0D7, 0xFEDF9A, 0xFFFFFF, 0xFFFFFF,
     0xFEF9F0, 0xFDF0D7, 0xFEDF9A},
    {0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFCEBDC, 0xFCDBC1, 0xCEA27D, 0xFFFFFF, 0xFFFFFF,
     0xFEF9F0, 0xFCDBC1, 0xCEA27D},
    {clBtnFace, clBtnFace, clNone, 0xC0C0C0, 0xC0C0C0, 0x808080, clHighlight, clHighlight, 0x808080, clBtnFace,
     clBtnFace, clBtnFace, clBtnFace, clHighlight},
    GoldButtons(0xFDF6EF, 0xF0DAC7, 0xC7B29F),
    GoldButtons(0xFFFFFF, 0xEDE5E0, 0xD2CDC8),
    GoldButtons(0xBFBFBF, 0x919191, 0xD7D7D6),
};

// Frame colours of the selection tab per style: corner pixels, outer frame, inner upper and
// inner lower line.
struct TSelectionFrame {
    TColor corner, outer, upperInner, lowerInner;
};

} // namespace

bool GetDropDownStyleColors(TOrlexStyle style, TDropDownStyleColors& colors)
{
    const int i = int(style);
    if (i < 0 || i > 15 || style == tsCustom)
        return false;
    const TStyleRow& s = StyleRows[i];
    colors.DropDownColor = s.dropDown;
    colors.DropDownColorTo = s.dropDownTo;
    colors.DropDownBorderColor = s.border == Keep ? std::nullopt : std::optional<TColor>(s.border);
    colors.HeaderColor = s.header;
    colors.HeaderColorTo = s.headerTo;
    colors.FooterColor = s.footer;
    colors.FooterColorTo = s.footerTo;
    colors.FontColor = s.font;
    colors.HeaderBorderColor = s.headerBorder;
    colors.FooterBorderColor = s.footerBorder;
    colors.Buttons = ButtonRows[i];
    return true;
}

bool GetSelectionColors(TSelectionColorStyle style, TColor& selectionColor, TColor& selectionColorTo)
{
    switch (style) {
    case scOffice2007:
        selectionColor = 0xD7FFFD;
        selectionColorTo = 0x58D4FC;
        return true;
    case scWindowsVista:
        selectionColor = 0xFDF8F1;
        selectionColorTo = 0xFCEFD5;
        return true;
    case scWindows7:
        selectionColor = 0xFCEBDC;
        selectionColorTo = 0xFCDBC1;
        return true;
    case scCustom:
        break;
    }
    return false;
}

void ApplyColorTonesToButton(const TColorTones& tones, TDropDownButtonColors& colors)
{
    colors.ButtonColor = tones.Background.BrushColor;
    colors.ButtonColorHot = tones.Hover.BrushColor;
    colors.ButtonColorDown = tones.Selected.BrushColor;
    colors.ButtonBorderColor = tones.Background.BorderColor;
}

void DrawSelectionBackground(TCanvas& canvas, const TRect& r, TColor backgroundColor, int shape,
                             TSelectionColorStyle style, TColor selectionColor, TColor selectionColorTo)
{
    if (style == scCustom) {
        canvas.Pen().SetStyle(psSolid);
        canvas.Pen().SetColor(selectionColor);
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(selectionColor);
        canvas.FillRect(r);
        return;
    }
    TSelectionFrame f{};
    TColor mirrorFrom = clNone, mirrorTo = clNone;
    switch (style) {
    case scOffice2007:
        f = {0xC3D9DF, 0x8DD7D3, 0xF4FEFF, 0xCAF8FF};
        mirrorFrom = 0x58D4FC;
        mirrorTo = 0xB3F1FC;
        break;
    case scWindowsVista:
        f = {0xFCEDCB, 0xFDDE99, 0xFDFBF6, 0xFDF5E7};
        break;
    default:
        f = {0xE0C5AE, 0xCEA27D, 0xFDF4EB, 0xFDEADB};
        break;
    }
    DrawTabShape(canvas, selectionColor, selectionColorTo, mirrorFrom, mirrorTo, f.upperInner, f.lowerInner, f.outer,
                 f.corner, backgroundColor, r, shape);
}
