#include "grid/AsgSpinEdit.h"

#include "grid/AsgComboBox.h"
#include "platform/Services.h"
#include "render/RuvOdid.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>

using namespace platform;

namespace {

void Fill(TCanvas& canvas, const TRect& r, TColor color)
{
    if (color == clNone)
        return;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FillRect(r);
}

// The button's own arrow when its picture resource is missing: a small filled triangle.
void DrawFallbackArrow(TCanvas& canvas, const TRect& r, bool up, TColor color, int shift)
{
    const int cx = (r.Left + r.Right) / 2 + shift, cy = (r.Top + r.Bottom) / 2 + shift;
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetColor(color);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    if (up)
        canvas.Polygon({{cx - 3, cy + 1}, {cx + 3, cy + 1}, {cx, cy - 2}});
    else
        canvas.Polygon({{cx - 3, cy - 2}, {cx + 3, cy - 2}, {cx, cy + 1}});
}

TBitmap ResourceGlyph(const QString& name)
{
    TBitmap b;
    try {
        b.LoadFromResourceName(name);
    } catch (...) {
        b = TBitmap();
    }
    return b;
}

} // namespace

// ---- TAdvTimerSpeedButton ----------------------------------------------------------------------

TAdvTimerSpeedButton::TAdvTimerSpeedButton(QWidget* AOwner) : QWidget(AOwner)
{
    setAttribute(Qt::WA_Hover);
}

TAdvTimerSpeedButton::~TAdvTimerSpeedButton() = default;

TAsgSpinButton* TAdvTimerSpeedButton::SpinOwner() const
{
    return qobject_cast<TAsgSpinButton*>(parentWidget());
}

void TAdvTimerSpeedButton::SetButtonDirection(TButtonDirection Value)
{
    FButtonDirection = Value;
    update();
}

void TAdvTimerSpeedButton::SetIsWinXP(bool Value)
{
    FIsWinXP = Value;
    update();
}

void TAdvTimerSpeedButton::SetFlat(bool Value)
{
    FFlat = Value;
    update();
}

void TAdvTimerSpeedButton::SetTransparent(bool Value)
{
    FTransparent = Value;
    update();
}

void TAdvTimerSpeedButton::SetGlyph(const TBitmap& Value)
{
    FGlyph = Value;
    update();
}

void TAdvTimerSpeedButton::SetNumGlyphs(int Value)
{
    FNumGlyphs = std::max(1, Value);
    update();
}

void TAdvTimerSpeedButton::Click()
{
    if (OnClick)
        OnClick(this);
}

void TAdvTimerSpeedButton::TimerExpired()
{
    if (FRepeatTimer)
        FRepeatTimer->setInterval(100);
    if (!FDown)
        return;
    try {
        Click();
    } catch (...) {
        // A failing click ends the repetition.
        if (FRepeatTimer)
            FRepeatTimer->stop();
    }
}

void TAdvTimerSpeedButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    FDown = true;
    update();
    if (TAsgSpinButton* owner = SpinOwner())
        owner->BtnMouseDown(this);
    if (FTimeBtnState.testFlag(tbAllowTimer)) {
        if (!FRepeatTimer) {
            FRepeatTimer = std::make_unique<QTimer>();
            QObject::connect(FRepeatTimer.get(), &QTimer::timeout, this, [this] { TimerExpired(); });
        }
        FRepeatTimer->setInterval(400);
        FRepeatTimer->start();
    }
    if (parentWidget())
        parentWidget()->update();
}

void TAdvTimerSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool wasDown = FDown;
    FDown = false;
    update();
    if (FRepeatTimer)
        FRepeatTimer->stop();
    if (parentWidget())
        parentWidget()->update();
    if (wasDown && rect().contains(event->position().toPoint())) {
        try {
            Click();
        } catch (...) {
        }
    }
}

void TAdvTimerSpeedButton::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    FHasMouse = true;
    update();
}

void TAdvTimerSpeedButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    FHasMouse = false;
    update();
}

void TAdvTimerSpeedButton::paintEvent(QPaintEvent*)
{
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        const TRect r(0, 0, width(), height());
        TAsgSpinButton* owner = SpinOwner();
        if (owner && owner->ButtonColor() != clNone) {
            TColor c = owner->ButtonColor();
            if (FDown)
                c = owner->ButtonColorDown();
            else if (FHasMouse)
                c = owner->ButtonColorHot();
            if (c != clNone) {
                canvas.Pen().SetColor(c);
                canvas.Brush().SetStyle(bsSolid);
                canvas.Brush().SetColor(c);
                canvas.Rectangle(r);
            }
            canvas.Pen().SetColor(clBlack);
            canvas.Brush().SetColor(clBlack);
            const int x = r.Left, y = r.Top;
            switch (FButtonDirection) {
            case bdLeft: canvas.Polygon({{x + 5, y + 5}, {x + 3, y + 7}, {x + 5, y + 9}}); break;
            case bdRight: canvas.Polygon({{x + 3, y + 5}, {x + 5, y + 7}, {x + 3, y + 9}}); break;
            case bdUp: canvas.Polygon({{x + 4, y + 4}, {x + 8, y + 4}, {x + 6, y + 2}}); break;
            case bdDown: canvas.Polygon({{x + 4, y + 2}, {x + 8, y + 2}, {x + 6, y + 4}}); break;
            }
            return;
        }
        if (FIsWinXP && AsgCombo::VisualStylesActive()) {
            int part = 1;
            switch (FButtonDirection) {
            case bdUp: part = 1; break;
            case bdDown: part = 2; break;
            case bdRight: part = 3; break;
            case bdLeft: part = 4; break;
            }
            const int state = FDown ? 3 : (FHasMouse ? 2 : 1);
            if (AsgCombo::DrawThemePart(owner ? static_cast<QWidget*>(owner) : this, canvas, u"spin", part, state, r))
                return;
        }
        if (FButtonDirection == bdLeft || FButtonDirection == bdRight) {
            unsigned s = FButtonDirection == bdLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
            if (FDown)
                s |= DFCS_PUSHED;
            if (FFlat)
                s |= DFCS_FLAT;
            if (!isEnabled())
                s |= DFCS_INACTIVE;
            DrawFrameControl(canvas, r, DFC_SCROLL, s);
            return;
        }
        // The speed button's own face with its glyph.
        TRect face = r;
        if (FFlat) {
            if (!FTransparent)
                Fill(canvas, face, clBtnFace);
            if (FDown)
                DrawEdge(canvas, face, BDR_SUNKENOUTER, BF_RECT);
            else if (FHasMouse && isEnabled())
                DrawEdge(canvas, face, BDR_RAISEDINNER, BF_RECT);
        } else {
            DrawFrameControl(canvas, face, DFC_BUTTON, DFCS_BUTTONPUSH | (FDown ? DFCS_PUSHED : 0));
        }
        const int shift = FDown ? 1 : 0;
        if (FGlyph.Width() > 0 && FGlyph.Height() > 0) {
            const int frames = std::max(1, FNumGlyphs);
            const int gw = FGlyph.Width() / frames, gh = FGlyph.Height();
            const int index = (!isEnabled() && frames > 1) ? 1 : 0;
            const QImage frame = FGlyph.Image().copy(index * gw, 0, gw, gh);
            const int x = gw < width() ? (width() - gw) / 2 : 0;
            const int y = gh < height() ? (height() - gh) / 2 : 0;
            const TColor key = FromQColor(frame.pixelColor(0, gh - 1));
            canvas.DrawImage(Bounds(x + shift, y + shift, gw, gh), frame, key);
        } else {
            DrawFallbackArrow(canvas, r, FButtonDirection == bdUp, isEnabled() ? clBtnText : clGrayText, shift);
        }
    } catch (...) {
    }
}

// ---- TAsgSpinButton ----------------------------------------------------------------------------

TAsgSpinButton::TAsgSpinButton(QWidget* AOwner) : QWidget(AOwner)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    FUpButton = new TAdvTimerSpeedButton(this);
    FUpButton->SetButtonDirection(bdUp);
    FUpButton->SetTimeBtnState(tbAllowTimer);
    FUpButton->SetGlyph(ResourceGlyph(QStringLiteral("AsgSpinUp")));
    FDownButton = new TAdvTimerSpeedButton(this);
    FDownButton->SetButtonDirection(bdDown);
    FDownButton->SetTimeBtnState(tbAllowTimer);
    FDownButton->SetGlyph(ResourceGlyph(QStringLiteral("AsgSpinDown")));
    FUpButton->OnClick = [this](QObject*) { BtnClick(FUpButton); };
    FDownButton->OnClick = [this](QObject*) { BtnClick(FDownButton); };
    FFocusedButton = FUpButton;
    resize(15, 25);
    AdjustSize();
}

void TAsgSpinButton::SetIsWinXP(bool Value)
{
    FIsWinXP = Value;
    FUpButton->SetIsWinXP(Value);
    FDownButton->SetIsWinXP(Value);
}

void TAsgSpinButton::SetDirection(TSpinDirection Value)
{
    FDirection = Value;
    if (Value == spHorizontal) {
        FUpButton->SetButtonDirection(bdRight);
        FDownButton->SetButtonDirection(bdLeft);
        resize(20, height());
    } else {
        FUpButton->SetButtonDirection(bdUp);
        FDownButton->SetButtonDirection(bdDown);
        resize(15, height());
    }
    AdjustSize();
}

void TAsgSpinButton::SetUpGlyph(const TBitmap* Value)
{
    if (Value && Value->Width() > 0) {
        FUpButton->SetGlyph(*Value);
    } else {
        FUpButton->SetGlyph(ResourceGlyph(QStringLiteral("AsgSpinUp")));
        FUpButton->SetNumGlyphs(1);
    }
}

void TAsgSpinButton::SetDownGlyph(const TBitmap* Value)
{
    if (Value && Value->Width() > 0) {
        FDownButton->SetGlyph(*Value);
    } else {
        FDownButton->SetGlyph(ResourceGlyph(QStringLiteral("AsgSpinDown")));
        FDownButton->SetNumGlyphs(1);
    }
}

void TAsgSpinButton::SetFocusedButton(TAdvTimerSpeedButton* Value)
{
    // Only a button that can take the focus has a focused half.
    if (!TabStop() || !isEnabled() || !Value)
        return;
    FFocusedButton = Value;
    update();
}

void TAsgSpinButton::AdjustSize()
{
    const int h = height();
    if (FDirection == spVertical) {
        const int w = std::max(width(), 15);
        const int half = h / 2;
        FUpButton->setGeometry(0, 0, w, half);
        FDownButton->setGeometry(0, half - 1, w, h - (half - 1));
    } else {
        const int w = std::max(width(), 20);
        const int half = w / 2;
        FDownButton->setGeometry(0, 0, half, h);
        FUpButton->setGeometry(half + 1, 0, half, h);
    }
}

void TAsgSpinButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    AdjustSize();
}

void TAsgSpinButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
        FFocusedButton->Click();
        break;
    case Qt::Key_Up:
    case Qt::Key_Right:
        SetFocusedButton(FUpButton);
        FUpButton->Click();
        break;
    case Qt::Key_Down:
    case Qt::Key_Left:
        SetFocusedButton(FDownButton);
        FDownButton->Click();
        break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void TAsgSpinButton::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void TAsgSpinButton::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void TAsgSpinButton::paintEvent(QPaintEvent*)
{
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        Fill(canvas, TRect(0, 0, width(), height()), clBtnFace);
    } catch (...) {
    }
}

void TAsgSpinButton::BtnMouseDown(TAdvTimerSpeedButton* button)
{
    SetFocusedButton(button);
    QWidget* target = FFocusControl;
    if (target && target->focusPolicy() != Qt::NoFocus && target->isEnabled() && target->isVisible() &&
        !target->hasFocus()) {
        target->setFocus(Qt::MouseFocusReason);
    } else if (TabStop() && !hasFocus() && isEnabled() && isVisible()) {
        setFocus(Qt::MouseFocusReason);
    }
}

void TAsgSpinButton::BtnClick(TAdvTimerSpeedButton* button)
{
    if (button == FUpButton) {
        if (OnUpClick)
            OnUpClick(this);
    } else if (OnDownClick) {
        OnDownClick(this);
    }
}

// ---- TAsgSpinEdit ------------------------------------------------------------------------------

TAsgSpinEdit::TAsgSpinEdit(QWidget* AOwner) : QLineEdit(AOwner)
{
    setFrame(false);
    FButton = new TAsgSpinButton(this);
    FButton->resize(15, 17);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](QObject*) { SpinUp(); };
    FButton->OnDownClick = [this](QObject*) { SpinDown(); };
    FButton->setCursor(Qt::ArrowCursor);
    setText(QStringLiteral("0"));
    connect(this, &QLineEdit::textChanged, this, [this](const QString&) {
        if (OnChange)
            OnChange(this);
    });
    SetColor(clWindow);
    SetMaxLength(0);
    resize(121, std::max(21, GetMinHeight()));
    PlaceButton();
    SetEditRect();
}

TAsgSpinEdit::~TAsgSpinEdit()
{
    // The window tree frees the button.
    FButton = nullptr;
}

void TAsgSpinEdit::Loaded()
{
    FLoading = false;
    if (FSpinType == sptDate)
        setText(DateToStr(FDateValue));
    else if (FSpinType == sptTime)
        setText(FShowSeconds ? TimeToStr(FTimeValue) : FormatDateTime(QStringLiteral("h:nn"), FTimeValue));
    SetSpinType(FSpinType);
}

// ---- values ------------------------------------------------------------------------------------

int TAsgSpinEdit::Value() const
{
    const QString t = Trim(text());
    if (t.isEmpty())
        return 0;
    int v = 0;
    return TryStrToInt(t, v) ? v : FMinValue;
}

void TAsgSpinEdit::SetValue(int Value)
{
    if (FMinValue != FMaxValue)
        Value = std::clamp(Value, std::min(FMinValue, FMaxValue), std::max(FMinValue, FMaxValue));
    setText(IntToStr(Value));
    if (!FEditorEnabled)
        selectAll();
}

double TAsgSpinEdit::FloatValue() const
{
    double v = 0;
    return TryStrToFloat(text(), v) ? v : double(FMinValue);
}

void TAsgSpinEdit::SetFloatValue(double Value)
{
    if (FMinFloatValue != FMaxFloatValue)
        Value = std::clamp(Value, std::min(FMinFloatValue, FMaxFloatValue), std::max(FMinFloatValue, FMaxFloatValue));
    if (FPrecision != 0)
        setText(Format(QStringLiteral("%.*f"), {FPrecision, Value}));
    else
        setText(FloatToStr(Value));
}

TDateTime TAsgSpinEdit::DateValue() const
{
    const QString t = text();
    if (!t.isEmpty() && t != QStringLiteral("0")) {
        TDateTime d = 0;
        return TryStrToDate(t, d) ? d : FMinDateValue;
    }
    return Now();
}

void TAsgSpinEdit::SetDateValue(TDateTime Value)
{
    FDateValue = Value;
    if (FLoading)
        return;
    if (FMinDateValue != FMaxDateValue)
        Value = std::clamp(Value, std::min(FMinDateValue, FMaxDateValue), std::max(FMinDateValue, FMaxDateValue));
    WriteCaretKept(DateToStr(Value));
}

TDateTime TAsgSpinEdit::TimeValue() const
{
    TDateTime t = 0;
    return TryStrToTime(text(), t) ? t : 0.0;
}

void TAsgSpinEdit::SetTimeValue(TDateTime Value)
{
    FTimeValue = Value;
    if (FLoading)
        return;
    if (FMinDateValue != FMaxDateValue)
        Value = std::clamp(Value, std::min(FMinDateValue, FMaxDateValue), std::max(FMinDateValue, FMaxDateValue));
    WriteCaretKept(FShowSeconds ? TimeToStr(Value) : FormatDateTime(QStringLiteral("h:nn"), Value));
}

void TAsgSpinEdit::WriteCaretKept(const QString& value)
{
    const int caret = cursorPosition();
    setText(value);
    setCursorPosition(std::min(caret, int(value.length())));
}

void TAsgSpinEdit::SetSpinType(TAsgSpinType Value)
{
    FSpinType = Value;
    switch (Value) {
    case sptNormal: SetValue(this->Value()); break;
    case sptFloat: SetFloatValue(FloatValue()); break;
    case sptDate: SetDateValue(DateValue()); break;
    case sptTime: SetTimeValue(TimeValue()); break;
    }
}

void TAsgSpinEdit::SetPrecision(int Value)
{
    FPrecision = Value;
    if (FSpinType == sptFloat)
        SetFloatValue(FloatValue());
}

// ---- steps -------------------------------------------------------------------------------------

void TAsgSpinEdit::Beep()
{
    TheServices().Beep();
}

void TAsgSpinEdit::UpClick(bool Page)
{
    if (isReadOnly()) {
        Beep();
        return;
    }
    switch (FSpinType) {
    case sptNormal: {
        // Stepping past the integer range stops at its end instead of wrapping round.
        const int64_t v = int64_t(Value()) + FIncrement;
        SetValue(int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)));
        break;
    }
    case sptFloat: SetFloatValue(FloatValue() + (Page ? FIncrementFloatPage : FIncrementFloat)); break;
    case sptDate: DateStep(1); break;
    case sptTime: TimeStep(1); break;
    }
}

void TAsgSpinEdit::DownClick(bool Page)
{
    if (isReadOnly()) {
        Beep();
        return;
    }
    switch (FSpinType) {
    case sptNormal: {
        const int64_t v = int64_t(Value()) - FIncrement;
        SetValue(int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)));
        break;
    }
    case sptFloat: SetFloatValue(FloatValue() - (Page ? FIncrementFloatPage : FIncrementFloat)); break;
    case sptDate: DateStep(-1); break;
    case sptTime: TimeStep(-1); break;
    }
}

void TAsgSpinEdit::SpinUp()
{
    UpClick(false);
}

void TAsgSpinEdit::SpinDown()
{
    DownClick(false);
}

void TAsgSpinEdit::DateStep(int sign)
{
    const TFormatSettings& fs = FormatSettings();
    const QString t = text();
    const int p1 = t.indexOf(fs.DateSeparator);
    const int p2 = p1 >= 0 ? t.indexOf(fs.DateSeparator, p1 + 1) : -1;
    const QString fmt = fs.ShortDateFormat.toUpper();
    const int mPos = fmt.indexOf('M'), dPos = fmt.indexOf('D');
    FMonthFirst = mPos >= 0 && (dPos < 0 || mPos < dPos);
    const int caret = cursorPosition();
    int part = 3;
    if (p1 >= 0 && caret <= p1)
        part = 1;
    else if (p2 >= 0 && caret <= p2)
        part = 2;
    const bool monthStep = (part == 1 && FMonthFirst) || (part == 2 && !FMonthFirst);
    const TDateTime d = DateValue();
    TDateTime result = d;
    if (part == 3) {
        // One year on, the day kept to the month's end (29 February has no twin every year).
        int y = 0, m = 0, day = 0;
        DecodeDate(d, y, m, day);
        y += sign;
        day = std::min(day, DaysInAMonth(y, m));
        TDateTime nd = 0;
        if (!TryEncodeDate(y, m, day, nd)) {
            // No year before 1 or after 9999: the step cannot be made.
            Beep();
            return;
        }
        result = nd + (d - std::floor(d));
    } else if (monthStep) {
        try {
            result = DateAddParts(0, short(sign), 0, 0, d);
        } catch (const std::exception&) {
            Beep();
            return;
        }
    } else {
        result = d + sign;
    }
    if (result < EncodeDate(1, 1, 1) || result >= EncodeDate(9999, 12, 31) + 1) {
        Beep();
        return;
    }
    SetDateValue(result);
}

void TAsgSpinEdit::TimeStep(int sign)
{
    const QChar ts = FormatSettings().TimeSeparator;
    const QString t = text();
    const int p1 = t.indexOf(ts);
    const int p2 = p1 >= 0 ? t.indexOf(ts, p1 + 1) : -1;
    const int caret = cursorPosition();
    TDateTime inc = 0;
    // The increment is a time of day: 24 hours, 60 minutes or 60 seconds or more is no step.
    if (p1 >= 0 && caret <= p1) {
        if (!TryEncodeTime(FIncrementHours, 0, 0, 0, inc)) {
            Beep();
            return;
        }
    } else if (FShowSeconds && p2 >= 0 && caret > p2) {
        if (!TryEncodeTime(0, 0, FIncrementSeconds, 0, inc)) {
            Beep();
            return;
        }
    } else if (!TryEncodeTime(0, FIncrementMinutes, 0, 0, inc)) {
        Beep();
        return;
    }
    if (sign > 0) {
        SetTimeValue(TimeValue() + inc);
    } else {
        // Back past midnight wraps within the day.
        TDateTime v = TimeValue() + 1 - inc;
        if (v > 1)
            v -= 1;
        SetTimeValue(v);
    }
}

// ---- characters --------------------------------------------------------------------------------

bool TAsgSpinEdit::IsValidChar(QChar Key)
{
    const TFormatSettings& fs = FormatSettings();
    const QChar DS = fs.DecimalSeparator, TS = fs.ThousandSeparator, DT = fs.DateSeparator, TM = fs.TimeSeparator;
    const ushort code = Key.unicode();
    if (code == 8)
        return FEditorEnabled;
    bool result = Key == DS || Key == TS || Key == TM || Key == DT || Key.isNumber() || Key == '-' ||
                  (code < 32 && code != 13);
    if (Key == TM && FSpinType != sptTime) {
        const bool stands = (FSpinType == sptNormal || FSpinType == sptFloat) &&
                            (TM == DS || TM == TS || TM == '-' || TM == '+');
        if (!stands)
            result = false;
    }
    if (Key == DT && FSpinType != sptDate) {
        const bool stands = (FSpinType == sptNormal || FSpinType == sptFloat) &&
                            (DT == DS || DT == TS || DT == '-' || DT == '+');
        if (!stands)
            result = false;
    }
    const QString t = text();
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    const int selLength = hasSelectedText() ? int(selectedText().length()) : 0;
    auto selectionCovers = [&](int index) { return index >= selStart && index < selStart + selLength; };
    if (Key == '-') {
        const int existing = t.indexOf('-');
        result = result && selStart == 0 && (existing < 0 || selectionCovers(existing));
    }
    if (FSpinType == sptNormal)
        result = result && (Key.isNumber() || Key == '-');
    if (FSpinType == sptFloat && code != 27 && code != 13 && code != 8) {
        if (Key == TS)
            result = false;
        const int ds = t.indexOf(DS);
        if (Key == DS && ds >= 0 && !selectionCovers(ds))
            result = false;
        if (FPrecision > 0 && selLength == 0 && ds >= 0 && cursorPosition() > ds && result) {
            if (t.length() - ds - 1 >= FPrecision)
                result = false;
        }
    }
    if (FSpinType == sptTime && Key == TM && t.count(TM) >= 2)
        result = false;
    if (!FEditorEnabled && result && (code >= 32 || code == 8 || Key == '.'))
        result = false;
    return result;
}

// ---- keys --------------------------------------------------------------------------------------

void TAsgSpinEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN && FReturnIsTab) {
        Key = VK_TAB;
        QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
    }
    if (Key == VK_DELETE && !FEditorEnabled)
        Key = 0;
    if (Key != 0 && OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TAsgSpinEdit::KeyPress(QChar& Key)
{
    if (!IsValidChar(Key)) {
        Key = QChar();
        Beep();
    }
    if (!Key.isNull() && OnKeyPress)
        OnKeyPress(this, Key);
}

void TAsgSpinEdit::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    const Word vk = VirtualKeyOf(event->key(), event->modifiers());
    QPointer<TAsgSpinEdit> self(this);
    try {
        switch (vk) {
        case VK_PRIOR: UpClick(true); return;
        case VK_NEXT: DownClick(true); return;
        case VK_UP: UpClick(false); return;
        case VK_DOWN: DownClick(false); return;
        default: break;
        }
    } catch (...) {
        return; // a step that cannot be made changes nothing
    }
    TKeyStroke stroke = TranslateKey(event);
    QChar ch = stroke.Char;
    bool consumed = false;
    try {
        if (stroke.Key != 0) {
            Word k = stroke.Key;
            KeyDown(k, stroke.Shift);
            consumed = k == 0;
            // Enter turned into Tab types no character.
            if (stroke.Key == VK_RETURN && k == VK_TAB)
                return;
        }
        if (!self)
            return;
        // The keypad's decimal key types the locale's decimal separator.
        if (ch == '.' && FExcelStyleDecimalSeparator && (event->modifiers() & Qt::KeypadModifier))
            ch = FormatSettings().DecimalSeparator;
        // Control characters of Ctrl shortcuts (copy, select all ...) are the edit's own commands.
        const bool command = stroke.Shift.testFlag(ssCtrl) && !ch.isNull() && ch.unicode() < 32 &&
                             ch.unicode() != 8 && ch.unicode() != 13 && ch.unicode() != 27;
        if (!ch.isNull() && !command) {
            KeyPress(ch);
            if (ch.isNull())
                consumed = true;
        }
    } catch (...) {
        return;
    }
    if (!self || consumed)
        return;
    if ((event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)) && !ClipboardEditAllowed())
        return;
    if (!ch.isNull() && ch.unicode() >= 32 && ch != stroke.Char) {
        QKeyEvent changed(event->type(), event->key(), event->modifiers() & ~Qt::KeypadModifier, QString(ch));
        QLineEdit::keyPressEvent(&changed);
        return;
    }
    if (!FEditorEnabled && !ch.isNull() && ch.unicode() >= 32)
        return;
    QLineEdit::keyPressEvent(event);
}

void TAsgSpinEdit::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    if (!ClipboardEditAllowed()) {
        for (QAction* a : menu->actions()) {
            const QString name = a->objectName();
            if (name == QLatin1String("edit-paste") || name == QLatin1String("edit-cut"))
                a->setEnabled(false);
        }
    }
    menu->exec(event->globalPos());
}

// ---- focus -------------------------------------------------------------------------------------

void TAsgSpinEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    const bool mouseEntry = event->reason() == Qt::MouseFocusReason && (QApplication::mouseButtons() & Qt::LeftButton);
    if (FAutoSelect && !(mouseEntry && FEditorEnabled))
        selectAll();
    if (OnEnter)
        OnEnter(this);
}

void TAsgSpinEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason)
        return;
    try {
        ClampOnExit();
        if (OnExit)
            OnExit(this);
    } catch (...) {
    }
}

void TAsgSpinEdit::ClampOnExit()
{
    switch (FSpinType) {
    case sptNormal: {
        const int v = Value();
        if (FMinValue != FMaxValue &&
            v != std::clamp(v, std::min(FMinValue, FMaxValue), std::max(FMinValue, FMaxValue)))
            SetValue(v);
        break;
    }
    case sptFloat: {
        const double v = FloatValue();
        if (FMinFloatValue != FMaxFloatValue &&
            v != std::clamp(v, std::min(FMinFloatValue, FMaxFloatValue), std::max(FMinFloatValue, FMaxFloatValue)))
            SetFloatValue(v);
        break;
    }
    case sptDate:
    case sptTime: {
        const TDateTime v = FSpinType == sptDate ? DateValue() : TimeValue();
        if (FMinDateValue != FMaxDateValue &&
            v != std::clamp(v, std::min(FMinDateValue, FMaxDateValue), std::max(FMinDateValue, FMaxDateValue))) {
            if (FSpinType == sptDate)
                SetDateValue(v);
            else
                SetTimeValue(v);
        }
        break;
    }
    }
}

// ---- look and layout ---------------------------------------------------------------------------

void TAsgSpinEdit::SetDirection(TSpinDirection Value)
{
    FDirection = Value;
    FButton->SetDirection(Value);
    resize(width() + 1, height());
    resize(width() - 1, height());
}

void TAsgSpinEdit::SetEditAlign(TEditAlign Value)
{
    FEditAlign = Value;
    Qt::Alignment a = Qt::AlignLeft;
    if (Value == eaRight)
        a = Qt::AlignRight;
    else if (Value == eaCenter)
        a = Qt::AlignHCenter;
    setAlignment(a | Qt::AlignVCenter);
}

void TAsgSpinEdit::SetSpinFlat(bool Value)
{
    FButton->UpButton()->SetFlat(Value);
    FButton->DownButton()->SetFlat(Value);
    FSpinFlat = Value;
}

void TAsgSpinEdit::SetSpinTransparent(bool Value)
{
    FButton->UpButton()->SetTransparent(Value);
    FButton->DownButton()->SetTransparent(Value);
    FSpinTransparent = Value;
    resize(width() + 1, height());
    resize(width() - 1, height());
}

void TAsgSpinEdit::SetIsWinXP(bool Value)
{
    FIsWinXP = Value;
    FButton->SetIsWinXP(Value);
}

void TAsgSpinEdit::SetBorderStyle(TBorderStyle Value)
{
    FBorderStyle = Value;
    PlaceButton();
    SetEditRect();
    update();
}

void TAsgSpinEdit::SetCtl3D(bool Value)
{
    FCtl3D = Value;
    PlaceButton();
    SetEditRect();
    update();
}

void TAsgSpinEdit::SetColor(TColor Value)
{
    FColor = Value;
    // The background is painted with the frame; the edit's own panel stays clear.
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::transparent);
    setPalette(p);
    update();
}

void TAsgSpinEdit::SetMaxLength(int Value)
{
    FMaxLength = Value < 0 ? 0 : Value;
    setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
}

int TAsgSpinEdit::BorderWidth() const
{
    if (FBorderStyle == bsNone)
        return 0;
    return FCtl3D ? 2 : 1;
}

int TAsgSpinEdit::GetMinHeight() const
{
    const int own = QFontMetrics(font()).height();
    const int sys = QFontMetrics(QApplication::font()).height();
    int h = own + std::min(sys, own) / 4 + 2;
    if (FBorderStyle == bsSingle)
        h += 4 * 1;
    return h;
}

TRect TAsgSpinEdit::EditRect() const
{
    const int b = BorderWidth();
    const int cw = width() - 2 * b, ch = height() - 2 * b;
    const int m = FBorderStyle == bsNone ? 3 : 0;
    return TRect(m, m, cw - FButton->width() - 2 - m, ch + 1);
}

void TAsgSpinEdit::SetEditRect()
{
    const int b = BorderWidth();
    const TRect r = EditRect();
    setTextMargins(b + r.Left, b + r.Top, std::max(0, width() - (b + r.Right)), 0);
}

void TAsgSpinEdit::PlaceButton()
{
    if (!FButton)
        return;
    const int b = BorderWidth();
    const int w = width(), h = height(), bw = FButton->width();
    if (FCtl3D) {
        const int d = FBorderStyle == bsNone ? 1 : 5;
        FButton->setGeometry(b + w - bw - d, b, bw, std::max(0, h - d));
    } else {
        FButton->setGeometry(b + w - bw, b + 1, bw, std::max(0, h - 3));
    }
}

void TAsgSpinEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    const int minHeight = GetMinHeight();
    if (height() < minHeight) {
        // Grows to the least height; the layout follows that size (a nested resize is not always
        // delivered while the edit is being shown).
        resize(width(), minHeight);
    }
    PlaceButton();
    SetEditRect();
}

void TAsgSpinEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange && height() < GetMinHeight())
        resize(width(), GetMinHeight());
}

void TAsgSpinEdit::paintEvent(QPaintEvent* event)
{
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        TRect r(0, 0, width(), height());
        if (FBorderStyle == bsSingle) {
            if (FCtl3D)
                DrawEdge(canvas, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
            else
                DrawEdge(canvas, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST | BF_MONO);
        }
        Fill(canvas, r, isEnabled() && !isReadOnly() ? FColor : (isEnabled() ? FColor : clBtnFace));
    } catch (...) {
    }
    QLineEdit::paintEvent(event);
}
