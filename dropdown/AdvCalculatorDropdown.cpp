// The calculator drop-down: pad buttons and their appearance, the pad's layout, painting and
// pointer handling, and the calculator's arithmetic, pad buttons and keys.
#include "dropdown/AdvCalculatorDropdown.h"

#include "platform/SysUtils.h"
#include "render/ATXPVS.h"
#include "platform/Property.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

using namespace platform;

// ---- pad buttons -------------------------------------------------------------------------------

void TButtonItem::Assign(const TButtonItem& Source)
{
    FCaption = Source.FCaption;
    FCaptionColor = Source.FCaptionColor;
    FTag = Source.FTag;
    FImageIndex = Source.FImageIndex;
    FImage.Assign(Source.FImage);
    FEnabled = Source.FEnabled;
    FName = Source.FName;
}

void TButtonItem::SetRect(int Left, int Top, int Width, int Height)
{
    FLeft = Left;
    FTop = Top;
    FWidth = Width;
    FHeight = Height;
}

TButtonItem* TButtonItems::Add()
{
    FItems.push_back(std::make_unique<TButtonItem>());
    return FItems.back().get();
}

TButtonItem* TButtonItems::Insert(int Index)
{
    Index = std::clamp(Index, 0, Count());
    return FItems.insert(FItems.begin() + Index, std::make_unique<TButtonItem>())->get();
}

TButtonItem* TButtonItems::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    return FItems[size_t(Index)].get();
}

void TButtonItems::SetItems(int Index, const TButtonItem& Value)
{
    if (TButtonItem* item = Items(Index))
        item->Assign(Value);
}

void TButtonItems::Assign(const TButtonItems& Source)
{
    if (&Source == this)
        return;
    FItems.clear();
    for (const auto& item : Source.FItems) {
        TButtonItem* b = Add();
        b->Assign(*item);
        const TRect r = item->GetRect();
        b->SetRect(r.Left, r.Top, r.Width(), r.Height());
        b->SetSpecial(item->Special());
    }
}

TButtonAppearance::TButtonAppearance()
{
    FColorCheckedTo = ColorOffset(0xF9D2B2, -10, -10, 0);
    FColorDisabled = ColorOffset(clWhite, -5, -5, -5);
    FColorDisabledTo = ColorOffset(clWhite, -5, -5, -5);
    FColorChecked = ColorOffset(0xF5F0E1, -10, -10, 0);
    FFont.SetSize(10);
    FFont.SetStyle(fsBold);
}

void TButtonAppearance::Changed()
{
    if (OnChange)
        OnChange(nullptr);
}

void TButtonAppearance::Assign(const TButtonAppearance& Source)
{
    if (&Source == this)
        return;
    SetBorderColor(Source.FBorderColor);
    SetBorderColorHot(Source.FBorderColorHot);
    SetBorderColorDown(Source.FBorderColorDown);
    SetBorderColorChecked(Source.FBorderColorChecked);
    SetColor(Source.FColor);
    SetColorTo(Source.FColorTo);
    SetColorDown(Source.FColorDown);
    SetColorDownTo(Source.FColorDownTo);
    SetColorHot(Source.FColorHot);
    SetColorHotTo(Source.FColorHotTo);
    SetColorCheckedTo(Source.FColorCheckedTo);
    SetColorDisabled(Source.FColorDisabled);
    SetColorDisabledTo(Source.FColorDisabledTo);
    SetColorChecked(Source.FColorChecked);
    SetFont(Source.FFont);
    SetShineColor(Source.FShineColor);
    FGlowColorHot = Source.FGlowColorHot;
    FGlowColorDown = Source.FGlowColorDown;
    SetTextColor(Source.FTextColor);
    SetSpecialTextColor(Source.FSpecialTextColor);
}

// ---- the pad -----------------------------------------------------------------------------------

TCustomButtonPanel::TCustomButtonPanel(QWidget* AOwner) : QWidget(AOwner)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void TCustomButtonPanel::SetButtonPanelType(TButtonPanelType Value)
{
    FButtonPanelType = Value;
    LayoutButtons();
}

void TCustomButtonPanel::SetImages(TCustomImageList* Value)
{
    FImages = Value;
    LayoutButtons();
}

void TCustomButtonPanel::SetColor(TColor Value)
{
    FColor = Value;
    update();
}

void TCustomButtonPanel::Loaded()
{
    if (!FAdvDropDown)
        CreateButtons();
}

void TCustomButtonPanel::GetButtonArea(TRect& R) const
{
    R = TRect(FOffSetX, FOffSetY, width() - FOffSetX, height() - FOffSetY);
}

void TCustomButtonPanel::GetButtonSize(int& W, int& H)
{
    TCanvas canvas;
    canvas.SetFont(FButtonAppearance.Font());
    int cw = 0, ch = 0, iw = 0, ih = 0;
    bool captions = false;
    for (int i = 0; i < FButtons.Count(); ++i) {
        const TButtonItem* b = FButtons.Items(i);
        if (!b->Caption().isEmpty()) {
            captions = true;
            const TSize s = MeasureTextSize(canvas, b->Caption());
            cw = std::max(cw, s.cx);
            ch = std::max(ch, s.cy);
        }
        if (!b->Image().Empty()) {
            iw = std::max(iw, b->Image().Width());
            ih = std::max(ih, b->Image().Height());
        } else if (FImages && b->ImageIndex() >= 0) {
            iw = std::max(iw, FImages->Width());
            ih = std::max(ih, FImages->Height());
        }
    }
    if (FButtonLayout == ilCaptionLeft || FButtonLayout == ilCaptionRight) {
        W = 2 * FButtonOffSetX + iw + (captions ? FCaptionGap + cw : 0);
        H = std::max(ih, ch) + 2 * FButtonOffSetY;
    } else {
        H = 2 * FButtonOffSetY + ih + (captions ? FCaptionGap + ch : 0);
        W = std::max(iw, cw) + 2 * FButtonOffSetX;
    }
}

void TCustomButtonPanel::ClearButtons()
{
    FButtons.Clear();
    FButtonHot = -1;
    FButtonDown = -1;
}

void TCustomButtonPanel::RebuildButtons()
{
    ClearButtons();
    CreateButtons();
}

void TCustomButtonPanel::CreateButtons()
{
    if (FButtonPanelType != plCalculator || FButtons.Count() > 0)
        return;
    struct Def {
        const char* caption;
        const char* name;
        int tag;
        bool special;
    };
    static const Def defs[28] = {
        {"", "BTN_ON", 30, false},      {"Back", "BTN_BACK", 31, true}, {"CE", "BTN_CE", 32, true},
        {"C", "BTN_C", 16, true},       {"MC", "BTN_MC", 33, true},     {"MR", "BTN_MR", 34, true},
        {"MS", "BTN_MS", 35, true},     {"M+", "BTN_M+", 36, true},     {"0", "BTN_0", 0, false},
        {"1", "BTN_1", 1, false},       {"4", "BTN_4", 4, false},       {"7", "BTN_7", 7, false},
        {"8", "BTN_8", 8, false},       {"5", "BTN_5", 5, false},       {"2", "BTN_2", 2, false},
        {"+/-", "BTN_+/-", 14, false},  {".", "BTN_.", 15, false},      {"3", "BTN_3", 3, false},
        {"6", "BTN_6", 6, false},       {"9", "BTN_9", 9, false},       {"/", "BTN_/", 13, true},
        {"*", "BTN_*", 12, true},       {"-", "BTN_-", 11, true},       {"+", "BTN_+", 10, true},
        {"=", "BTN_=", 17, true},       {"1/x", "BTN_1/x", 38, false},  {"%", "BTN_%", 18, false},
        {"sqrt", "BTN_sqrt", 37, true},
    };
    for (const Def& d : defs) {
        TButtonItem* b = FButtons.Add();
        b->SetCaption(QString::fromLatin1(d.caption));
        b->SetName(QString::fromLatin1(d.name));
        b->SetTag(d.tag);
        b->SetSpecial(d.special);
        if (d.special)
            b->SetCaptionColor(0x000080);
    }
    LayoutButtons();
}

void TCustomButtonPanel::LayoutButtons()
{
    if (FButtonPanelType != plCalculator || FButtons.Count() < 28)
        return;
    TRect A;
    GetButtonArea(A);
    const int w = (A.Right - A.Left - 8) / 6;
    const int h = (A.Bottom - A.Top - 4) / 5;
    const int y0 = A.Top, y1 = y0 + h + 4, y2 = y1 + h - 1, y3 = y2 + h - 1, y4 = y3 + h - 1;
    const int x1 = A.Left, x2 = x1 + w + 4, x3 = x2 + w - 1, x4 = x3 + w - 1, x5 = x4 + w + 4, x6 = x5 + w - 1;
    auto place = [&](int index, int x, int y) { FButtons.Items(index)->SetRect(x, y, w, h); };
    // Memory column, digit block and operator columns, by collection index.
    place(4, x1, y1);
    place(5, x1, y2);
    place(6, x1, y3);
    place(7, x1, y4);
    place(11, x2, y1);
    place(12, x3, y1);
    place(19, x4, y1);
    place(10, x2, y2);
    place(13, x3, y2);
    place(18, x4, y2);
    place(9, x2, y3);
    place(14, x3, y3);
    place(17, x4, y3);
    place(8, x2, y4);
    place(15, x3, y4);
    place(16, x4, y4);
    place(20, x5, y1);
    place(27, x6, y1);
    place(21, x5, y2);
    place(26, x6, y2);
    place(22, x5, y3);
    place(25, x6, y3);
    place(23, x5, y4);
    place(24, x6, y4);
    // Top row: the empty button, then Back, CE and C sharing the width up to the right edge.
    place(0, x1, y0);
    const int l = x1 + w + 4, r = x6 + w;
    const int c = (r - l - 8) / 3;
    FButtons.Items(1)->SetRect(l, y0, c, h);
    FButtons.Items(2)->SetRect(l + c + 4, y0, c, h);
    FButtons.Items(3)->SetRect(l + 2 * c + 8, y0, r - (l + 2 * c + 8), h);
    update();
}

int TCustomButtonPanel::ButtonAtPos(int X, int Y) const
{
    for (int i = 0; i < FButtons.Count(); ++i)
        if (PtInRect(FButtons.Items(i)->GetRect(), TPoint(X, Y)))
            return i;
    return -1;
}

void TCustomButtonPanel::InvalidateButton(int Index)
{
    if (const TButtonItem* b = FButtons.Items(Index)) {
        TRect r = b->GetRect();
        InflateRect(r, 8, 8);
        update(QRect(r.Left, r.Top, r.Width(), r.Height()));
    }
}

void TCustomButtonPanel::DoButtonClick(int Index)
{
    if (OnButtonClick)
        OnButtonClick(this, Index);
}

namespace {

// The pad's push-button face through the visual styles; false when there are none.
bool DrawThemedPushButton(TCanvas& canvas, QWidget* window, int state, const TRect& r)
{
    const TVisualStyleTable& t = ATXPVS::Table();
    if (!t.Loaded)
        return false;
    HTHEME theme = t.OpenThemeData()(window, u"button");
    if (!theme)
        return false;
    t.DrawThemeBackground()(theme, &canvas, 1 /* push button */, state, &r, nullptr);
    t.CloseThemeData()(theme);
    return true;
}

} // namespace

void TCustomButtonPanel::DrawButton(int Index, TCanvas& Canvas)
{
    const TButtonItem* b = FButtons.Items(Index);
    if (!b)
        return;
    TRect R = b->GetRect();
    if (R == TRect(-1, -1, -1, -1))
        return;
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(FColor);
    Canvas.FillRect(R);
    const int state = !isEnabled() ? 4 : Index == FButtonDown ? 3 : Index == FButtonHot ? 2 : 1;
    DrawThemedPushButton(Canvas, this, state, R);

    Canvas.SetFont(FButtonAppearance.Font());
    Canvas.Font().SetColor(b->Special() ? FButtonAppearance.SpecialTextColor() : FButtonAppearance.TextColor());
    Canvas.Brush().SetStyle(bsClear);
    int iw = 0, ih = 0;
    const TGraphic* picture = nullptr;
    bool listImage = false;
    if (!b->Image().Empty()) {
        picture = b->Image().Graphic();
        iw = b->Image().Width();
        ih = b->Image().Height();
    } else if (FImages && b->ImageIndex() >= 0) {
        listImage = true;
        iw = FImages->Width();
        ih = FImages->Height();
    }
    const bool image = picture || listImage;
    auto drawImage = [&](int x, int y) {
        if (picture)
            Canvas.Draw(x, y, picture);
        else if (listImage)
            FImages->Draw(Canvas, x, y, b->ImageIndex(), b->Enabled());
    };
    R.Left += FButtonOffSetX;
    R.Right -= FButtonOffSetX;
    R.Top += FButtonOffSetY;
    R.Bottom -= FButtonOffSetY;
    const int x = R.Left, y = R.Top;
    const QString caption = b->Caption();
    const unsigned oneLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    switch (FButtonLayout) {
    case ilCaptionRight:
        if (image) {
            drawImage(x, y + (R.Height() - ih) / 2);
            R.Left = x + iw + FCaptionGap;
        }
        DrawText(Canvas, caption, R, oneLine | (image ? 0 : DT_CENTER));
        break;
    case ilCaptionLeft:
        if (!caption.isEmpty()) {
            R.Right -= iw;
            DrawText(Canvas, caption, R, oneLine | (image ? 0 : DT_CENTER));
        }
        if (image)
            drawImage(R.Left + Canvas.TextWidth(caption) + FCaptionGap, y + (R.Height() - ih) / 2);
        break;
    case ilCaptionTop:
        if (!caption.isEmpty()) {
            R.Bottom -= ih;
            DrawText(Canvas, caption, R, oneLine | DT_CENTER);
            if (image)
                drawImage(x + (R.Width() - iw) / 2, R.Top + Canvas.TextHeight(caption) + FCaptionGap);
        } else if (image) {
            drawImage(x + (R.Width() - iw) / 2, y + (R.Height() - ih) / 2);
        }
        break;
    case ilCaptionBottom:
        if (caption.isEmpty()) {
            if (image)
                drawImage(x + (R.Width() - iw) / 2, y + (R.Height() - ih) / 2);
        } else {
            if (image)
                drawImage(x + (R.Width() - iw) / 2, y);
            R.Top = y + ih + FCaptionGap;
            DrawText(Canvas, caption, R, oneLine | DT_CENTER);
        }
        break;
    }
}

void TCustomButtonPanel::paintEvent(QPaintEvent*)
{
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        canvas.Brush().SetColor(FColor);
        canvas.FillRect(TRect(0, 0, width(), height()));
        if (!FAdvDropDown) {
            canvas.Pen().SetColor(clBlack);
            canvas.Brush().SetStyle(bsClear);
            canvas.Rectangle(0, 0, width(), height());
        }
        for (int i = 0; i < FButtons.Count(); ++i)
            if (i != FButtonHot)
                DrawButton(i, canvas);
        if (FButtonHot >= 0)
            DrawButton(FButtonHot, canvas);
    } catch (...) {
    }
}

void TCustomButtonPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutButtons();
}

void TCustomButtonPanel::SetButtonHot(int Index)
{
    const TButtonItem* b = FButtons.Items(Index);
    if (Index == FButtonHot || (b && !b->Enabled()))
        return;
    InvalidateButton(FButtonHot);
    FButtonHot = Index;
    InvalidateButton(Index);
}

void TCustomButtonPanel::SetButtonDownIndex(int Index)
{
    const TButtonItem* b = FButtons.Items(Index);
    if (Index == FButtonDown || (b && !b->Enabled()))
        return;
    InvalidateButton(FButtonDown);
    FButtonDown = Index;
    InvalidateButton(Index);
}

void TCustomButtonPanel::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint p = event->position().toPoint();
    const int i = ButtonAtPos(p.x(), p.y());
    if (const TButtonItem* b = FButtons.Items(i); b && b->Enabled())
        SetButtonDownIndex(i);
}

void TCustomButtonPanel::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const int i = ButtonAtPos(p.x(), p.y());
    const TButtonItem* b = FButtons.Items(i);
    SetButtonHot(b && b->Enabled() ? i : -1);
}

void TCustomButtonPanel::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (FButtonDown < 0)
        return;
    const int pressed = FButtonDown;
    InvalidateButton(FButtonDown);
    FButtonDown = -1;
    const QPoint p = event->position().toPoint();
    if (ButtonAtPos(p.x(), p.y()) == pressed) {
        try {
            DoButtonClick(pressed);
        } catch (...) {
        }
    }
}

void TCustomButtonPanel::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    SetButtonHot(-1);
}

// ---- the calculator ----------------------------------------------------------------------------

namespace {

constexpr int OpAddCode = 0, OpMultiplyCode = 1, OpSubtractCode = 2, OpDivideCode = 3;

bool IsErrorText(const QString& s)
{
    return s == QLatin1String("Error");
}

} // namespace

TAdvCalculatorDropdown::TAdvCalculatorDropdown(QWidget* AOwner) : TAdvCustomDropDown(AOwner)
{
    // Exists before the drop-down's own construction: applying its component style reaches it.
    FCalcButtonAppearance = std::make_unique<TButtonAppearance>();
}

void TAdvCalculatorDropdown::Create()
{
    TAdvCustomDropDown::Create();
    SetDropDownColor(clWhite);
    SetDropDownWidth(230);
    DropDownHeader().SetVisible(false);
    DropDownFooter().SetVisible(false);
    SetEditType(etFloat);
    FPrevop = -1;
    SetPrecision(2);
    FDecim = 0;
    FCalcClosed = true;
    FMVal = 0;
}

void TAdvCalculatorDropdown::SetComponentStyle(TOrlexStyle AStyle)
{
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    if (!FCalcButtonAppearance)
        return;
    const TDropDownButtonAppearanceColors& c = ButtonAppearance().Colors();
    TButtonAppearance& a = *FCalcButtonAppearance;
    a.SetBorderColor(c.BorderColor);
    a.SetBorderColorHot(c.BorderColorHot);
    a.SetBorderColorDown(c.BorderColorDown);
    a.SetColor(c.Color);
    a.SetColorTo(c.ColorTo);
    a.SetColorDown(c.ColorDown);
    a.SetColorDownTo(c.ColorDownTo);
    a.SetColorHot(c.ColorHot);
    a.SetColorHotTo(c.ColorHotTo);
    if (AStyle == tsOffice2010Blue || AStyle == tsOffice2010Silver || AStyle == tsOffice2010Black) {
        a.SetGlowColorHot(c.ColorHot);
        a.SetGlowColorDown(c.ColorHot);
    } else {
        a.SetGlowColorDown(0xD5C244);
        a.SetGlowColorHot(c.ColorDownTo);
    }
}

void TAdvCalculatorDropdown::SetShowThousandSeparator(bool Value)
{
    if (!platform::Change(FShowThousandSeparator, Value))
        return;
    SetEditType(Value ? etMoney : etFloat);
    SetFloatValue(GetFloatValue());
}

double TAdvCalculatorDropdown::EntryValue() const
{
    double v = 0;
    if (!TryStrToFloat(StripThousandSeparators(Text()), v))
        return 0;
    return v;
}

double TAdvCalculatorDropdown::Value()
{
    if (Text().isEmpty())
        SetText(QStringLiteral("0"));
    return EntryValue();
}

void TAdvCalculatorDropdown::SetValue(double Value)
{
    SetText(Format(QStringLiteral("%g"), {Value}));
}

void TAdvCalculatorDropdown::CreateDropDownForm()
{
    if (!CreateDropDownControl(FAdvButtonPanel, [this](TCustomButtonPanel& panel) {
            panel.SetAdvDropDown(this);
            panel.resize(230, 150);
            panel.CreateButtons();
        }))
        return;
    SetControl(FAdvButtonPanel);
    FAdvButtonPanel->OnButtonClick = [this](QObject* Sender, int Index) { ButtonClick(Sender, Index); };
}

void TAdvCalculatorDropdown::BeforeDropDown()
{
    TAdvCustomDropDown::BeforeDropDown();
    if (DropDownForm())
        DropDownForm()->SetCancelOnDeActivate(false); // a click elsewhere keeps the value
    if (FAdvButtonPanel) {
        FAdvButtonPanel->ButtonAppearance().Assign(*FCalcButtonAppearance);
        FAdvButtonPanel->SetColor(DropDownColor());
        FAdvButtonPanel->LayoutButtons();
    }
    FNewval = true;
    FDecim = 0;
    FCalcClosed = false;
}

void TAdvCalculatorDropdown::DoHideDropDown(bool Cancelled)
{
    // Every pad key wrote the shown value; typed digits did so without renewing the rollback
    // value. A cancelled close keeps what the pad shows.
    if (Cancelled && PadOpen())
        SetOldText(Text());
    TAdvCustomDropDown::DoHideDropDown(Cancelled);
}

void TAdvCalculatorDropdown::DropDownClosed()
{
    TAdvCustomDropDown::DropDownClosed();
}

bool TAdvCalculatorDropdown::PadOpen() const
{
    return !FCalcClosed && DropDownForm() && DropDownForm()->isVisible();
}

void TAdvCalculatorDropdown::ClearAll()
{
    SetText(QStringLiteral("0"));
    FPrevval = 0;
    FPrevop = -1;
}

void TAdvCalculatorDropdown::Calculate()
{
    if (Text().isEmpty() || IsErrorText(Text()))
        SetText(QStringLiteral("0"));
    const double x = EntryValue();
    switch (FPrevop) {
    case OpAddCode: FPrevval = FPrevval + x; break;
    case OpMultiplyCode: FPrevval = x * FPrevval; break;
    case OpSubtractCode: FPrevval = FPrevval - x; break;
    case OpDivideCode:
        if (x == 0) {
            FPrevval = 0;
            SetText(QStringLiteral("Error"));
            return;
        }
        FPrevval = FPrevval / x;
        break;
    default: FPrevval = x; break;
    }
    SetFloatValue(FPrevval);
    FNewval = true;
}

void TAdvCalculatorDropdown::OpEquals()
{
    Calculate();
    if (Text().isEmpty())
        SetText(QStringLiteral("0"));
    FPrevop = -1;
    if (!IsErrorText(Text()))
        FPrevval = EntryValue();
}

void TAdvCalculatorDropdown::OpPercent()
{
    if (Text().isEmpty() || IsErrorText(Text()))
        SetText(QStringLiteral("0"));
    const double x = EntryValue();
    SetText(Format(QStringLiteral("%g"), {FPrevval * x / 100}));
}

void TAdvCalculatorDropdown::OpAdd()
{
    Calculate();
    FPrevop = OpAddCode;
}

void TAdvCalculatorDropdown::OpSubtract()
{
    Calculate();
    FPrevop = OpSubtractCode;
}

void TAdvCalculatorDropdown::OpMultiply()
{
    Calculate();
    FPrevop = OpMultiplyCode;
}

void TAdvCalculatorDropdown::OpDivide()
{
    Calculate();
    FPrevop = OpDivideCode;
}

void TAdvCalculatorDropdown::ButtonClick(QObject*, int Index)
{
    const TButtonItem* b = FAdvButtonPanel ? FAdvButtonPanel->Buttons().Items(Index) : nullptr;
    if (!b)
        return;
    BeforeCalculatorInput();
    const int tag = b->Tag();
    if ((tag >= 10 && tag <= 14) || (tag >= 16 && tag <= 18))
        FDecim = 0;
    if (((tag >= 0 && tag <= 9) || tag == 14 || tag == 15) && MaxLength() > 0 && Text().size() >= MaxLength())
        return;
    const QChar DS = DecimalSeparatorChar();
    switch (tag) {
    case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9: {
        const double v = EntryValue();
        if ((v == 0 && FDecim == 0) || FNewval) {
            SetText(QString::number(tag));
            FNewval = false;
        } else if (FDecim == 0) {
            SetFloatValue(v * 10 + tag);
        } else {
            SetFloatValue(v + double(tag) / FDecim);
            FDecim *= 10;
        }
        break;
    }
    case 10: OpAdd(); break;
    case 11: OpSubtract(); break;
    case 12: OpMultiply(); break;
    case 13: OpDivide(); break;
    case 14: {
        QString s = Text();
        if (s.contains(QLatin1Char('-')))
            s.remove(0, 1);
        else
            s.prepend(QLatin1Char('-'));
        SetText(s);
        break;
    }
    case 15:
        if (!Text().contains(DS))
            SetText(Text() + DS);
        FDecim = 10;
        if (FNewval) {
            SetText(QStringLiteral("0"));
            FNewval = false;
        }
        break;
    case 16: case 30: case 32: ClearAll(); break;
    case 17: OpEquals(); break;
    case 18: OpPercent(); break;
    case 31:
        if (FPrevop == -1) {
            QString s = FloatToStr(EntryValue());
            s.chop(1);
            SetText(s);
        }
        break;
    case 33: FMVal = 0; break;
    case 34: SetFloatValue(FMVal); break;
    case 35: FMVal = EntryValue(); break;
    case 36: FMVal = FMVal + EntryValue(); break;
    case 37: {
        const double v = EntryValue();
        if (v >= 0)
            SetFloatValue(std::sqrt(v));
        else
            SetText(QStringLiteral("Error"));
        break;
    }
    case 38: {
        const double v = EntryValue();
        if (v != 0)
            SetFloatValue(1 / v);
        else
            SetText(QStringLiteral("Error"));
        break;
    }
    default: break;
    }
    SetModified(true);
}

void TAdvCalculatorDropdown::FormKeyDown(Word& Key, TShiftState Shift)
{
    TAdvCustomDropDown::FormKeyDown(Key, Shift);
    if (Key == VK_TAB || Key == VK_F4) {
        DoHideDropDown(false);
    } else if (Key == VK_BACK) {
        QString s = Text();
        if (IsErrorText(s))
            s.clear();
        s.chop(1);
        SetText(s.isEmpty() ? QStringLiteral("0") : s);
    }
}

void TAdvCalculatorDropdown::FormKeyPress(QChar& Key)
{
    TAdvCustomDropDown::FormKeyPress(Key);
    FormKeyPressCalc(Key);
}

void TAdvCalculatorDropdown::FormKeyPressCalc(QChar& Key)
{
    BeforeCalculatorInput();
    const QChar DS = DecimalSeparatorChar();
    const ushort u = Key.unicode();
    if (Key == DS) {
        if (!Text().contains(DS))
            SetText(Text() + DS);
        return;
    }
    if (Key.isDigit() && Key.unicode() < 128) {
        if (MaxLength() > 0 && Text().size() >= MaxLength())
            return;
        if (Text() == QLatin1String("0") || FNewval)
            FNewval = false;
        return;
    }
    switch (u) {
    case 13:
        OpEquals();
        DoHideDropDown(false);
        break;
    case 27: DoHideDropDown(true); break;
    case '%': OpPercent(); break;
    case '*': OpMultiply(); break;
    case '+': OpAdd(); break;
    case '-': OpSubtract(); break;
    case '/': OpDivide(); break;
    case '=': OpEquals(); break;
    case 'C':
    case 'c':
        SetText(QStringLiteral("0"));
        FPrevval = 0;
        FNewval = true;
        FPrevop = -1;
        break;
    default: break;
    }
}

void TAdvCalculatorDropdown::PerformChar(QChar Key, TShiftState Shift, bool keypadDecimal)
{
    if (FKeyStepDone) {
        TAdvCustomDropDown::PerformChar(Key, Shift, keypadDecimal);
        return;
    }
    // Ctrl+Enter and the clipboard keys are no calculator input.
    const ushort u = Key.unicode();
    if (Shift.testFlag(ssCtrl) && (u == 13 || u == 3 || u == 22 || u == 24 || u == 10)) {
        TAdvCustomDropDown::PerformChar(Key, Shift, keypadDecimal);
        return;
    }
    QPointer<TAdvCalculatorDropdown> self(this);
    QChar k = Key;
    HandleKeyPress(k);
    if (!self || k.isNull())
        return;
    FKeyStepDone = true;
    try {
        TAdvCustomDropDown::PerformChar(k, Shift, keypadDecimal);
    } catch (...) {
        if (self)
            FKeyStepDone = false;
        throw;
    }
    if (self)
        FKeyStepDone = false;
}

void TAdvCalculatorDropdown::HandleKeyPress(QChar& Key)
{
    // The key step has run for this character already.
    if (FKeyStepDone)
        return;
    const ushort u = Key.unicode();
    if (!PadOpen()) {
        switch (u) {
        case 13:
        case '=': OpEquals(); break;
        case '%': OpPercent(); break;
        case '*': OpMultiply(); break;
        case '+': OpAdd(); break;
        case '-': OpSubtract(); break;
        case '/': OpDivide(); break;
        case 'C':
        case 'c':
            SetText(QStringLiteral("0"));
            FNewval = true;
            FPrevop = -1;
            break;
        default: break;
        }
    }
    const QChar DS = DecimalSeparatorChar(), TS = ThousandSeparatorChar();
    const bool digit = Key >= QLatin1Char('0') && Key <= QLatin1Char('9');
    if (!digit && Key != DS && u != 8 && Key != QLatin1Char('-')) {
        Key = QChar();
        return;
    }
    const QString t = Text();
    // After "Error" a digit starts a new entry as after "0".
    if (digit && (t == QLatin1String("0") || FNewval || IsErrorText(t))) {
        SetText(QString(Key));
        SetSel(1, 0);
        Key = QChar();
        FNewval = false;
        return;
    }
    if (u == 8 && t.size() == 1) {
        SetText(QStringLiteral("0"));
        SetSel(1, 0);
        Key = QChar();
        return;
    }
    if (Key == TS || (Key == DS && t.contains(DS))) {
        Key = QChar();
        return;
    }
    TAdvCustomDropDown::HandleKeyPress(Key);
}

void TAdvCalculatorDropdown::PerformKeyDown(Word Key, TShiftState Shift)
{
    QPointer<TAdvCalculatorDropdown> self(this);
    // Delete on "Error" would leave a piece of the word: the entry starts again from 0.
    const bool noNumber = Text().isEmpty() || IsErrorText(Text());
    TAdvCustomDropDown::PerformKeyDown(Key, Shift);
    if (self && Key == VK_DELETE && (noNumber || Text().isEmpty()))
        SetText(QStringLiteral("0"));
}
