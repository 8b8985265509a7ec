// The colour picker drop-down: value, edit-part drawing, the four pop-up contents and their keys.
#include "dropdown/AdvColorPickerDropDown.h"

#include "grid/AsgComboBox.h"
#include "platform/Property.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace {

struct TWebColor {
    TColor Color;
    const char* Name;
};

// The 138 standard web colours, $BBGGRR.
const TWebColor WebColors[] = {
    {0xFFF8F0, "clWebAliceBlue"},
    {0xD7EBFA, "clWebAntiqueWhite"},
    {0xFFFF00, "clWebAqua"},
    {0xD4FF7F, "clWebAquamarine"},
    {0xFFFFF0, "clWebAzure"},
    {0xDCF5F5, "clWebBeige"},
    {0xC4E4FF, "clWebBisque"},
    {0x000000, "clWebBlack"},
    {0xCDEBFF, "clWebBlanchedAlmond"},
    {0xFF0000, "clWebBlue"},
    {0xE22B8A, "clWebBlueViolet"},
    {0x2A2AA5, "clWebBrown"},
    {0x87B8DE, "clWebBurlyWood"},
    {0xA09E5F, "clWebCadetBlue"},
    {0x00FF7F, "clWebChartreuse"},
    {0x1E69D2, "clWebChocolate"},
    {0x507FFF, "clWebCoral"},
    {0xED9564, "clWebCornflowerBlue"},
    {0xDCF8FF, "clWebCornsilk"},
    {0x3C14DC, "clWebCrimson"},
    {0x8B0000, "clWebDarkBlue"},
    {0x8B8B00, "clWebDarkCyan"},
    {0x0B86B8, "clWebDarkGoldenRod"},
    {0xA9A9A9, "clWebDarkGray"},
    {0x006400, "clWebDarkGreen"},
    {0x6BB7BD, "clWebDarkKhaki"},
    {0x8B008B, "clWebDarkMagenta"},
    {0x2F6B55, "clWebDarkOliveGreen"},
    {0x008CFF, "clWebDarkOrange"},
    {0xCC3299, "clWebDarkOrchid"},
    {0x00008B, "clWebDarkRed"},
    {0x7A96E9, "clWebDarkSalmon"},
    {0x8FBC8F, "clWebDarkSeaGreen"},
    {0x8B3D48, "clWebDarkSlateBlue"},
    {0x4F4F2F, "clWebDarkSlateGray"},
    {0xD1CE00, "clWebDarkTurquoise"},
    {0xD30094, "clWebDarkViolet"},
    {0x9314FF, "clWebDeepPink"},
    {0xFFBF00, "clWebDeepSkyBlue"},
    {0x696969, "clWebDimGray"},
    {0xFF901E, "clWebDodgerBlue"},
    {0x2222B2, "clWebFireBrick"},
    {0xF0FAFF, "clWebFloralWhite"},
    {0x228B22, "clWebForestGreen"},
    {0xFF00FF, "clWebFuchsia"},
    {0xDCDCDC, "clWebGainsboro"},
    {0xFFF8F8, "clWebGhostWhite"},
    {0x00D7FF, "clWebGold"},
    {0x20A5DA, "clWebGoldenRod"},
    {0x808080, "clWebGray"},
    {0x008000, "clWebGreen"},
    {0x2FFFAD, "clWebGreenYellow"},
    {0xF0FFF0, "clWebHoneyDew"},
    {0xB469FF, "clWebHotPink"},
    {0x5C5CCD, "clWebIndianRed"},
    {0x82004B, "clWebIndigo"},
    {0xF0FFFF, "clWebIvory"},
    {0x8CE6F0, "clWebKhaki"},
    {0xFAE6E6, "clWebLavender"},
    {0xF5F0FF, "clWebLavenderBlush"},
    {0x00FC7C, "clWebLawnGreen"},
    {0xCDFAFF, "clWebLemonChiffon"},
    {0xE6D8AD, "clWebLightBlue"},
    {0x8080F0, "clWebLightCoral"},
    {0xFFFFE0, "clWebLightCyan"},
    {0xD2FAFA, "clWebLightGoldenRodYellow"},
    {0xD3D3D3, "clWebLightGrey"},
    {0x90EE90, "clWebLightGreen"},
    {0xC1B6FF, "clWebLightPink"},
    {0x7AA0FF, "clWebLightSalmon"},
    {0xAAB220, "clWebLightSeaGreen"},
    {0xFACE87, "clWebLightSkyBlue"},
    {0x998877, "clWebLightSlateGray"},
    {0xDEC4B0, "clWebLightSteelBlue"},
    {0xE0FFFF, "clWebLightYellow"},
    {0x00FF00, "clWebLime"},
    {0x32CD32, "clWebLimeGreen"},
    {0xE6F0FA, "clWebLinen"},
    {0x000080, "clWebMaroon"},
    {0xAACD66, "clWebMediumAquaMarine"},
    {0xCD0000, "clWebMediumBlue"},
    {0xD355BA, "clWebMediumOrchid"},
    {0xDB7093, "clWebMediumPurple"},
    {0x71B33C, "clWebMediumSeaGreen"},
    {0xEE687B, "clWebMediumSlateBlue"},
    {0x9AFA00, "clWebMediumSpringGreen"},
    {0xCCD148, "clWebMediumTurquoise"},
    {0x8515C7, "clWebMediumVioletRed"},
    {0x701919, "clWebMidnightBlue"},
    {0xFAFFF5, "clWebMintCream"},
    {0xE1E4FF, "clWebMistyRose"},
    {0xB5E4FF, "clWebMoccasin"},
    {0xADDEFF, "clWebNavajoWhite"},
    {0x800000, "clWebNavy"},
    {0xE6F5FD, "clWebOldLace"},
    {0x008080, "clWebOlive"},
    {0x238E6B, "clWebOliveDrab"},
    {0x00A5FF, "clWebOrange"},
    {0x0045FF, "clWebOrangeRed"},
    {0xD670DA, "clWebOrchid"},
    {0xAAE8EE, "clWebPaleGoldenRod"},
    {0x98FB98, "clWebPaleGreen"},
    {0xEEEEAF, "clWebPaleTurquoise"},
    {0x9370DB, "clWebPaleVioletRed"},
    {0xD5EFFF, "clWebPapayaWhip"},
    {0xB9DAFF, "clWebPeachPuff"},
    {0x3F85CD, "clWebPeru"},
    {0xCBC0FF, "clWebPink"},
    {0xDDA0DD, "clWebPlum"},
    {0xE6E0B0, "clWebPowderBlue"},
    {0x800080, "clWebPurple"},
    {0x0000FF, "clWebRed"},
    {0x8F8FBC, "clWebRosyBrown"},
    {0xE16941, "clWebRoyalBlue"},
    {0x13458B, "clWebSaddleBrown"},
    {0x7280FA, "clWebSalmon"},
    {0x60A4F4, "clWebSandyBrown"},
    {0x578B2E, "clWebSeaGreen"},
    {0xEEF5FF, "clWebSeaShell"},
    {0x2D52A0, "clWebSienna"},
    {0xC0C0C0, "clWebSilver"},
    {0xEBCE87, "clWebSkyBlue"},
    {0xCD5A6A, "clWebSlateBlue"},
    {0x908070, "clWebSlateGray"},
    {0xFAFAFF, "clWebSnow"},
    {0x7FFF00, "clWebSpringGreen"},
    {0xB48246, "clWebSteelBlue"},
    {0x8CB4D2, "clWebTan"},
    {0x808000, "clWebTeal"},
    {0xD8BFD8, "clWebThistle"},
    {0x4763FF, "clWebTomato"},
    {0xD0E040, "clWebTurquoise"},
    {0xEE82EE, "clWebViolet"},
    {0xB3DEF5, "clWebWheat"},
    {0xFFFFFF, "clWebWhite"},
    {0xF5F5F5, "clWebWhiteSmoke"},
    {0x00FFFF, "clWebYellow"},
    {0x32CD9A, "clWebYellowGreen"},
};

QString HexRGB(TColor c)
{
    return QStringLiteral("%1%2%3")
        .arg(GetRValue(c), 2, 16, QLatin1Char('0'))
        .arg(GetGValue(c), 2, 16, QLatin1Char('0'))
        .arg((c >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

// The printable part of a key's text, upper-cased (nothing for keys that type no character).
QString SearchText(const QString& text)
{
    QString s;
    for (QChar ch : text)
        if (ch.isPrint())
            s += ch;
    return s.toUpper();
}

} // namespace

QString ColorToWebColorName(TColor Color)
{
    for (const TWebColor& w : WebColors)
        if (w.Color == Color)
            return QString::fromLatin1(w.Name);
    return QStringLiteral("#") + HexRGB(Color);
}

// ---- colour items -------------------------------------------------------------------------------

void TColorItem::Assign(const TColorItem& Source)
{
    FCaption = Source.FCaption;
    FColor = Source.FColor;
    FEnabled = Source.FEnabled;
    FHint = Source.FHint;
}

// ---- the drop-down ------------------------------------------------------------------------------

TAdvColorPickerDropDown::TAdvColorPickerDropDown(QWidget* AOwner)
    : TAdvCustomDropDown(AOwner), FColors(std::make_unique<TColorItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this))
{
    FColors->OnChange = [](QObject*) {};
}

TAdvColorPickerDropDown::~TAdvColorPickerDropDown()
{
    FDestroyingPicker = true;
    if (FKeyTimer)
        FKeyTimer->stop();
}

void TAdvColorPickerDropDown::Create()
{
    TAdvCustomDropDown::Create(); // builds the pop-up and the list in it
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    SetDropDownHeight(200);
    DropDownHeader().SetVisible(false);
    DropDownFooter().SetVisible(false);
    setCursor(Qt::ArrowCursor);
    FKeyTimer = new QTimer(this);
    FKeyTimer->setInterval(500);
    connect(FKeyTimer, &QTimer::timeout, this, [this] {
        try {
            KeyTimerExpired();
        } catch (...) {
        }
    });
}

void TAdvColorPickerDropDown::AddDefaultColors()
{
    static const struct {
        const char* Caption;
        TColor Color;
    } defaults[] = {
        {"Black", 0x000000}, {"Maroon", 0x000080}, {"Green", 0x008000}, {"Olive", 0x008080},
        {"Navy", 0x800000},  {"Purple", 0x800080}, {"Teal", 0x808000},  {"Gray", 0x808080},
        {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},   {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
        {"Blue", 0xFF0000},  {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00}, {"White", 0xFFFFFF},
    };
    for (const auto& d : defaults) {
        TColorItem* item = FColors->Add();
        item->SetCaption(QString::fromLatin1(d.Caption));
        item->SetColor(d.Color);
    }
}

void TAdvColorPickerDropDown::KeyTimerExpired()
{
    FCurSearch.clear();
    if (FKeyTimer)
        FKeyTimer->stop();
}

void TAdvColorPickerDropDown::SetItemIndex(int Value)
{
    if (Value >= FColors->Count())
        return;
    FItemIndex = Value;
    if (Value >= 0)
        FSelectedColor = FColors->Items(Value)->Color();
    update();
    if (OnSelect)
        OnSelect(this);
}

void TAdvColorPickerDropDown::SetSelectedColor(TColor Value)
{
    if (!platform::Change(FSelectedColor, Value))
        return;
    int found = -1;
    for (int i = 0; i < FColors->Count(); ++i)
        if (FColors->Items(i)->Color() == Value) {
            found = i;
            break;
        }
    SetItemIndex(found);
    update();
}

void TAdvColorPickerDropDown::SetShowText(bool Value)
{
    if (platform::Change(FShowText, Value))
        update();
}

QString TAdvColorPickerDropDown::ColorDisplayText()
{
    if (FColorSelectionStyle == csList && FItemIndex >= 0 && FColors->Items(FItemIndex))
        return FColors->Items(FItemIndex)->Caption();
    const TColor rgb = ColorToRGB(FSelectedColor);
    switch (FColorValueText) {
    case cvtNone: return QString();
    case cvtHex: return QStringLiteral("%1").arg(quint32(FSelectedColor), 6, 16, QLatin1Char('0')).toUpper();
    case cvtWebName: return ColorToWebColorName(FSelectedColor);
    case cvtRGB:
        return QStringLiteral("Red:%1,Green:%2,Blue:%3").arg(GetRValue(rgb)).arg(GetGValue(rgb)).arg((rgb >> 16) & 0xFF);
    case cvtHTML: return QStringLiteral("#") + HexRGB(rgb);
    }
    return QString();
}

// ---- contents -----------------------------------------------------------------------------------

QWidget* TAdvColorPickerDropDown::CurrentContent() const
{
    switch (FColorSelectionStyle) {
    case csList: return FItemSelector;
    case csDiscrete: return FColorSelector;
    case csColorCube: return FColorCubePanel;
    case csSpectrum: return FSpectrumPanel;
    }
    return nullptr;
}

void TAdvColorPickerDropDown::MakeContentReady(TColorSelectionStyle Style)
{
    TDropDownForm* form = DropDownForm();
    if (!form)
        return;
    QWidget* content = nullptr;
    switch (Style) {
    case csList:
        if (!FItemSelector) {
            FItemSelector = new TAdvCustomItemSelector(form);
            FItemSelector->SetSelectorType(stColor);
            FItemSelector->move(0, 0);
            FItemSelector->resize(FItemSelector->width(), 150);
            FItemSelector->SetColor(DropDownColor());
            FItemSelector->UpdateSelectorPanel();
        }
        content = FItemSelector;
        break;
    case csDiscrete:
        if (!FColorSelector) {
            FColorSelector = new TCustomColorSelector(form);
            FColorSelector->AddDefaultColors();
            FColorSelector->move(0, 0);
            FColorSelector->SetColor(DropDownColor());
            FColorSelector->SetItemsPosition();
        }
        content = FColorSelector;
        break;
    case csColorCube:
        if (!FColorCubePanel) {
            FColorCubePanel = new TAdvColorCubePanel(form);
            FColorCubePanel->move(0, 0);
            FColorCubePanel->SetColor(DropDownColor());
        }
        content = FColorCubePanel;
        break;
    case csSpectrum:
        if (!FSpectrumPanel) {
            FSpectrumPanel = new TAdvColorSpectrumPanel(form);
            FSpectrumPanel->move(0, 0);
            FSpectrumPanel->SetColor(DropDownColor());
        }
        content = FSpectrumPanel;
        break;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{FItemSelector, FColorSelector, FColorCubePanel, FSpectrumPanel})
        if (w && w != content)
            w->hide();
    SetControl(content);
    // The list takes the keys while it shows; the panels leave them to the pop-up.
    SetFocusControl(Style == csList ? content : nullptr);
}

void TAdvColorPickerDropDown::CreateDropDownForm()
{
    TAdvCustomDropDown::CreateDropDownForm();
    MakeContentReady(FColorSelectionStyle);
}

void TAdvColorPickerDropDown::PrepareList()
{
    if (!FItemSelector)
        return;
    TAdvCustomItemSelector* list = FItemSelector;
    list->OnItemSelect = nullptr;
    list->SetColumns(FColumns);
    list->SetImages(Images());
    list->SetItemLayout(FLayout);
    list->SetColor(DropDownColor());
    list->Items().Clear();
    for (int i = 0; i < FColors->Count(); ++i) {
        const TColorItem* c = FColors->Items(i);
        TSelectorItem* item = list->Items().Add();
        item->SetCaption(c->Caption());
        item->SetColor(c->Color());
        item->SetHint(c->Hint());
    }
    list->SetColorBoxHeight(FColorBoxHeight);
    list->SetColorBoxWidth(FColorBoxWidth);
    list->SetItemAppearance(*FItemAppearance);
    list->UpdateSelectorPanel();
    list->SetItemIndex(FItemIndex);
    list->OnItemSelect = [this](QObject*) { ListItemSelected(); };
    if (OnDrawColor)
        list->OnDrawItem = [this](QObject*, TCanvas& Canvas, TRect R, int Index) {
            if (OnDrawColor)
                OnDrawColor(this, Canvas, R, Index);
        };
    else
        list->OnDrawItem = nullptr;
}

void TAdvColorPickerDropDown::PrepareContent(TColorSelectionStyle Style)
{
    MakeContentReady(Style);
    switch (Style) {
    case csList:
        PrepareList();
        FOldItemIndex = FItemIndex;
        FListOpened = true;
        break;
    case csDiscrete:
        if (FColorSelector) {
            FColorSelector->SetSelectedColor(FSelectedColor);
            FColorSelector->SetItemsPosition();
            FColorSelector->OnItemSelect = [this](QObject*) { PaletteSelected(); };
            FColorSelector->SetItemColorStyle(SelectionColorStyle());
            FColorSelector->show();
        }
        break;
    case csColorCube:
        if (FColorCubePanel) {
            FColorCubePanel->SetSelectedColor(FSelectedColor);
            FColorCubePanel->SetupCells();
            FColorCubePanel->SetHotIndex(-1);
            FColorCubePanel->SetPanelSize();
            FColorCubePanel->OnSelect = [this](QObject*) { PanelSelected(FColorCubePanel->SelectedColor()); };
            FColorCubePanel->show();
        }
        break;
    case csSpectrum:
        if (FSpectrumPanel) {
            FSpectrumPanel->SetSelectedColor(FSelectedColor);
            FSpectrumPanel->SetItemsPosition();
            FSpectrumPanel->OnSelect = [this](QObject*) { PanelSelected(FSpectrumPanel->SelectedColor()); };
            FSpectrumPanel->show();
        }
        break;
    }
}

void TAdvColorPickerDropDown::BeforeDropDown()
{
    TAdvCustomDropDown::BeforeDropDown();
    PrepareContent(FColorSelectionStyle);
    FOldSelectedColor = FSelectedColor;
}

void TAdvColorPickerDropDown::SetupDropDownControl()
{
    TAdvCustomDropDown::SetupDropDownControl();
    if (FColorSelectionStyle != csList && DropDownForm())
        DropDownForm()->SetSizeable(false);
}

void TAdvColorPickerDropDown::FocusDropDownControl()
{
    // The panels cannot be sized by the user, yet the pop-up comes up at the size it last had,
    // which after a style switch is another content's: the panel's own size wins.
    if (FColorSelectionStyle != csList && DropDownForm() && DropDownForm()->isVisible()) {
        if (FColorSelectionStyle == csDiscrete && FColorSelector)
            FColorSelector->SetItemsPosition();
        else if (FColorSelectionStyle == csColorCube && FColorCubePanel)
            FColorCubePanel->SetPanelSize();
        else if (FColorSelectionStyle == csSpectrum && FSpectrumPanel)
            FSpectrumPanel->resize(150, 174);
        UpdateDropDownSize();
    }
    TAdvCustomDropDown::FocusDropDownControl();
}

void TAdvColorPickerDropDown::UpdateDropDownSize()
{
    TDropDownForm* form = DropDownForm();
    if (!form)
        return;
    if (FColorSelectionStyle == csList) {
        if (!FItemSelector) {
            TAdvCustomDropDown::UpdateDropDownSize();
            return;
        }
        TSize natural;
        FItemSelector->GetSelectorSize(natural);
        FItemSelector->resize(DropDownWidth() < 1 ? natural.cx : FItemSelector->width(),
                              DropDownHeight() < 1 ? natural.cy : FItemSelector->height());
        TAdvCustomDropDown::UpdateDropDownSize();
        // The form takes the list and its border on both sides.
        if (DropDownWidth() < 1)
            form->resize(form->width() + 2 * DropDownBorderWidth(), form->height());
        // A list taller than its room shows its vertical bar beside the rows.
        int room = form->height() - 2 * DropDownBorderWidth();
        if (DropDownHeader().Visible())
            room -= DropDownHeader().Height();
        if (DropDownFooter().Visible())
            room -= DropDownFooter().Height();
        if (natural.cy > room)
            form->resize(form->width() + style()->pixelMetric(QStyle::PM_ScrollBarExtent), form->height());
        return;
    }
    QWidget* panel = CurrentContent();
    const bool shown = panel && !panel->isHidden();
    const int bw = DropDownBorderWidth();
    const int w = shown ? panel->width() + 2 * bw : width();
    int h = 2 * bw;
    if (DropDownHeader().Visible())
        h += DropDownHeader().Height();
    if (DropDownFooter().Visible())
        h += DropDownFooter().Height();
    if (shown)
        h += panel->height();
    form->resize(w, h);
}

void TAdvColorPickerDropDown::SetColorSelectionStyle(TColorSelectionStyle Value)
{
    if (!platform::Change(FColorSelectionStyle, Value))
        return;
    if (!DropDownForm())
        return;
    PrepareContent(Value);
    UpdateDropDownSize();
    FOldSelectedColor = FSelectedColor;
    DropDownForm()->LayoutChildren();
    DropDownForm()->update();
}

// ---- choices ------------------------------------------------------------------------------------

void TAdvColorPickerDropDown::ListItemSelected()
{
    if (!FItemSelector)
        return;
    SetItemIndex(FItemSelector->ItemIndex());
    if (!FInternalCall)
        DoHideDropDown(false);
}

void TAdvColorPickerDropDown::PaletteSelected()
{
    if (!FColorSelector)
        return;
    SetSelectedColor(FColorSelector->SelectedColor());
    SetItemIndex(-1);
    if (!FInternalCall)
        DoHideDropDown(false);
}

void TAdvColorPickerDropDown::PanelSelected(TColor Color)
{
    SetSelectedColor(Color);
    SetItemIndex(-1);
    DoHideDropDown(false);
}

void TAdvColorPickerDropDown::DoHideDropDown(bool Cancelled)
{
    QPointer<TAdvColorPickerDropDown> self(this);
    TAdvCustomDropDown::DoHideDropDown(Cancelled);
    if (!self || !Cancelled)
        return;
    // Escape goes back to the choice the content opened with; before the list ever opened
    // there is no such choice and the value stays.
    if (FColorSelectionStyle == csList && FItemSelector) {
        if (FListOpened)
            SetItemIndex(FOldItemIndex);
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        FColorSelector->SetSelectedColor(FOldSelectedColor);
    }
}

void TAdvColorPickerDropDown::DropDownFormDestroyed()
{
    TAdvCustomDropDown::DropDownFormDestroyed();
    if (FDestroyingPicker)
        return;
    FItemSelector = nullptr;
    FColorSelector = nullptr;
    FColorCubePanel = nullptr;
    FSpectrumPanel = nullptr;
}

// ---- keys and wheel -----------------------------------------------------------------------------

void TAdvColorPickerDropDown::keyPressEvent(QKeyEvent* event)
{
    FKeyText = event->text();
    FKeyTextKnown = true;
    TAdvCustomDropDown::keyPressEvent(event);
    FKeyTextKnown = false;
}

void TAdvColorPickerDropDown::ControlKeyDown(Word& Key, TShiftState Shift)
{
    const QKeyEvent* ke = DropDownForm() ? DropDownForm()->FForwardedKey : nullptr;
    FKeyText = ke ? ke->text() : QString();
    FKeyTextKnown = ke != nullptr;
    TAdvCustomDropDown::ControlKeyDown(Key, Shift);
    FKeyTextKnown = false;
}

void TAdvColorPickerDropDown::SetListIndex(int Index)
{
    if (!FItemSelector || Index >= FItemSelector->Items().Count())
        return;
    FInternalCall = true;
    FItemSelector->SetItemIndex(Index);
    FItemSelector->ScrollItemInView(Index);
    FInternalCall = false;
}

void TAdvColorPickerDropDown::PerformKeyDown(Word Key, TShiftState Shift)
{
    QPointer<TAdvColorPickerDropDown> self(this);
    // The search text of this key: its typed text when it came from a key event, else the letter
    // or digit its code names.
    QString keyText;
    if (FKeyTextKnown)
        keyText = SearchText(FKeyText);
    else if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9'))
        keyText = QString(QChar(Key));
    FKeyTextKnown = false;

    bool handled = false;
    if (isEnabled() && DroppedDown() && Key == VK_RETURN) {
        if (FColorSelectionStyle == csList && FItemSelector && FItemSelector->ItemHot() >= 0) {
            FItemSelector->SetItemIndex(FItemSelector->ItemHot());
            handled = true;
        } else if (FColorSelectionStyle == csDiscrete && FColorSelector && FColorSelector->HotIndex() >= 0) {
            FColorSelector->SelectHot();
            handled = true;
        }
    }
    if (!self)
        return;
    TAdvCustomDropDown::PerformKeyDown(Key, Shift);
    if (!self || !isEnabled() || Shift.testFlag(ssAlt))
        return;

    if (FColorSelectionStyle == csList && FItemSelector) {
        TAdvCustomItemSelector* list = FItemSelector;
        const bool open = DroppedDown();
        const int count = FColors->Count();
        switch (Key) {
        case VK_RETURN:
            if (!handled && OnSelect)
                OnSelect(this);
            break;
        case VK_PRIOR:
        case VK_NEXT: {
            if (list->Items().Count() != count)
                PrepareList();
            const int n = list->GetVisibleItemCount();
            if (n > 0) {
                if (Key == VK_PRIOR)
                    SetListIndex(std::max(0, list->ItemIndex() - n));
                else
                    SetListIndex(std::min(count - 1, list->ItemIndex() + n));
            }
            break;
        }
        case VK_END:
            if (open) {
                FInternalCall = true;
                list->SelectLast();
                FInternalCall = false;
            } else
                SetItemIndex(count - 1);
            break;
        case VK_HOME:
            if (open) {
                FInternalCall = true;
                list->SelectFirst();
                FInternalCall = false;
            } else
                SetItemIndex(0);
            break;
        case VK_LEFT:
        case VK_RIGHT:
            if (open && !EditorEnabled()) {
                FInternalCall = true;
                if (Key == VK_LEFT)
                    list->SelectPrevious();
                else
                    list->SelectNext();
                FInternalCall = false;
            }
            break;
        case VK_UP:
            if (open) {
                const int i = list->ItemIndex() < 0 ? 0 : list->ItemIndex() - FColumns;
                if (i >= 0)
                    SetListIndex(i);
            } else if (FItemIndex < 0)
                SetItemIndex(0);
            else if (FItemIndex > 0)
                SetItemIndex(FItemIndex - 1);
            break;
        case VK_DOWN:
            if (open)
                SetListIndex(list->ItemIndex() < 0 ? 0 : list->ItemIndex() + FColumns);
            else if (FItemIndex < 0)
                SetItemIndex(0);
            else if (FItemIndex + 1 < count)
                SetItemIndex(FItemIndex + 1);
            break;
        default:
            if (Shift.testFlag(ssCtrl) || keyText.isEmpty())
                break;
            // A list that never opened has no rows yet.
            if (list->Items().Count() != count)
                PrepareList();
            FCurSearch += keyText;
            FInternalCall = true;
            list->LookupItem(FCurSearch);
            FInternalCall = false;
            if (self && FKeyTimer && !FKeyTimer->isActive())
                FKeyTimer->start();
            break;
        }
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        FInternalCall = true;
        FColorSelector->HandleKey(Key, EditorEnabled(), DroppedDown());
        FInternalCall = false;
        if (self && Key == VK_RETURN && !handled && OnSelect)
            OnSelect(this);
    }
}

void TAdvColorPickerDropDown::SelectNextValue()
{
    if (!isEnabled() || isReadOnly())
        return;
    if (FColorSelectionStyle == csList && FItemSelector) {
        if (DroppedDown())
            FItemSelector->HotNext();
        else {
            FInternalCall = true;
            FItemSelector->SelectNext();
            FInternalCall = false;
        }
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        if (DroppedDown())
            FColorSelector->HotNext();
        else {
            FInternalCall = true;
            const int i = FColorSelector->ItemIndex() < 0 ? 0 : FColorSelector->ItemIndex() + 1;
            if (i < FColorSelector->Items().Count())
                FColorSelector->SetItemIndex(i);
            FInternalCall = false;
        }
    }
}

void TAdvColorPickerDropDown::SelectPreviousValue()
{
    if (!isEnabled() || isReadOnly())
        return;
    if (FColorSelectionStyle == csList && FItemSelector) {
        if (DroppedDown())
            FItemSelector->HotPrevious();
        else {
            FInternalCall = true;
            FItemSelector->SelectPrevious();
            FInternalCall = false;
        }
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        if (DroppedDown())
            FColorSelector->HotPrevious();
        else if (FColorSelector->ItemIndex() > 0) {
            FInternalCall = true;
            FColorSelector->SetItemIndex(FColorSelector->ItemIndex() - 1);
            FInternalCall = false;
        }
    }
}

// ---- styles -------------------------------------------------------------------------------------

void TAdvColorPickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    TAdvCustomDropDown::SetSelectionColorStyle(Value);
    if (FItemSelector)
        FItemSelector->ItemAppearance().SetColorStyle(Value);
}

void TAdvColorPickerDropDown::SetComponentStyle(TOrlexStyle AStyle)
{
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    ApplyItemAppearanceStyle(FItemAppearance.get(), AStyle);
}

// ---- the edit part ------------------------------------------------------------------------------

void TAdvColorPickerDropDown::DrawFocusedText(TCanvas& Canvas)
{
    TAdvCustomDropDown::DrawFocusedText(Canvas);
    DrawSelectedColor(Canvas);
}

void TAdvColorPickerDropDown::DrawSelectedColor(TCanvas& Canvas)
{
    const TRect R(1, 1, width() - DropDownButtonWidth() - 2, height() - 2);
    if (OnDrawSelectedColor) {
        OnDrawSelectedColor(this, Canvas, R);
        return;
    }
    if (FSelectedColor == clNone)
        return;
    const TRect box = Bounds(R.Left + 4, R.Top + (height() - FColorBoxHeight) / 2, FColorBoxWidth, FColorBoxHeight);
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(FSelectedColor);
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetColor(clBlack);
    Canvas.Rectangle(box);
    if (!FShowText)
        return;
    TRect tr(box.Right + 4, R.Top, R.Right, R.Bottom);
    Canvas.Font().Assign(TFont::FromQFont(font()));
    Canvas.Brush().SetStyle(bsSolid);
    if (hasFocus()) {
        Canvas.Brush().SetColor(clHighlight);
        Canvas.Font().SetColor(clHighlightText);
    } else {
        Canvas.Brush().SetColor(isEnabled() ? Color() : clBtnFace);
    }
    Canvas.FillRect(tr);
    Canvas.SetBkMode(TRANSPARENT);
    DrawText(Canvas, ColorDisplayText(), tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
}
