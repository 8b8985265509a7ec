#include "grid/AsgSpinEdit.h"

#include "grid/AsgComboBox.h"
#include "render/AdvXPVS.h"
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
using AsgCombo::FillColor;

namespace {

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

TAdvTimerSpeedButton::TAdvTimerSpeedButton(QWidget* AOwner) : TAsgGlyphButton(AOwner)
{
}

TAdvTimerSpeedButton::~TAdvTimerSpeedButton() = default;

TAsgSpinButton* TAdvTimerSpeedButton::SpinOwner() const
{
    return qobject_cast<TAsgSpinButton*>(parentWidget());
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

void TAdvTimerSpeedButton::paintEvent(QPaintEvent*)
{
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        const TRect r(0, 0, width(), height());
        TAsgSpinButton* owner = SpinOwner();
        if (owner && owner->PaintColoredFace(canvas, r, FDown, FHot)) {
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
            const int state = FDown ? 3 : (FHot ? 2 : 1);
            if (AdvXPVS::Table().DrawPart(owner ? static_cast<QWidget*>(owner) : this, canvas, u"spin", part, state, r))
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
                FillColor(canvas, face, clBtnFace);
            if (FDown)
                DrawEdge(canvas, face, BDR_SUNKENOUTER, BF_RECT);
            else if (FHot && isEnabled())
                DrawEdge(canvas, face, BDR_RAISEDINNER, BF_RECT);
        } else {
            DrawFrameControl(canvas, face, DFC_BUTTON, DFCS_BUTTONPUSH | (FDown ? DFCS_PUSHED : 0));
        }
        const int shift = FDown ? 1 : 0;
        const int index = (!isEnabled() && FNumGlyphs > 1) ? 1 : 0;
        if (!DrawGlyph(canvas, index, shift, true))
            DrawFallbackArrow(canvas, r, FButtonDirection == bdUp, isEnabled() ? clBtnText : clGrayText, shift);
    } catch (...) {
    }
}

// ---- TAsgSpinButton ----------------------------------------------------------------------------

TAsgSpinButton::TAsgSpinButton(QWidget* AOwner) : TAsgButtonControl(AOwner)
{
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
        FillColor(canvas, TRect(0, 0, width(), height()), clBtnFace);
    } catch (...) {
    }
}

void TAsgSpinButton::BtnMouseDown(TAdvTimerSpeedButton* button)
{
    SetFocusedButton(button);
    TakeFocus();
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

TAsgSpinEdit::TAsgSpinEdit(QWidget* AOwner) : TAsgButtonEdit(AOwner)
{
    FButton = new TAsgSpinButton(this);
    FButton->resize(15, 17);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](QObject*) { SpinUp(); };
    FButton->OnDownClick = [this](QObject*) { SpinDown(); };
    FButton->setCursor(Qt::ArrowCursor);
    SetButtonControl(FButton);
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

bool TAsgSpinEdit::TakeKey(QKeyEvent* event)
{
    switch (VirtualKeyOf(event->key(), event->modifiers())) {
    case VK_PRIOR: UpClick(true); return true;
    case VK_NEXT: DownClick(true); return true;
    case VK_UP: UpClick(false); return true;
    case VK_DOWN: DownClick(false); return true;
    default: return false;
    }
}

bool TAsgSpinEdit::KeyEndsAfterKeyDown(Word Before, Word After) const
{
    // Enter turned into Tab types no character.
    return Before == VK_RETURN && After == VK_TAB;
}

void TAsgSpinEdit::MapTypedChar(QKeyEvent* event, QChar& Ch)
{
    // The keypad's decimal key types the locale's decimal separator.
    if (Ch == '.' && FExcelStyleDecimalSeparator && (event->modifiers() & Qt::KeypadModifier))
        Ch = FormatSettings().DecimalSeparator;
}

Qt::KeyboardModifiers TAsgSpinEdit::ChangedCharModifiers(Qt::KeyboardModifiers Modifiers) const
{
    return Modifiers & ~Qt::KeypadModifier;
}

// ---- focus -------------------------------------------------------------------------------------

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

int TAsgSpinEdit::MinHeightExtra() const
{
    return BorderStyle() == bsSingle ? 2 + 4 * 1 : 2;
}

TRect TAsgSpinEdit::EditRect() const
{
    const int m = BorderStyle() == bsNone ? 3 : 0;
    return TRect(m, m, ClientWidth() - FButton->width() - 2 - m, ClientHeight() + 1);
}

