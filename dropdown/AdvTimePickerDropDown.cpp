// The time picker drop-down: its pop-up (the clock on a panel, optionally a time edit below),
// the time text and its mask, the keys of the edit and of the open pop-up, and the hand-over of
// the clock's time.
#include "dropdown/AdvTimePickerDropDown.h"
#include "platform/Property.h"

#include <QApplication>
#include <QTimeEdit>
#include <QVBoxLayout>

using namespace platform;

namespace {

QTime ToQTime(TDateTime t)
{
    int h, m, s, ms;
    DecodeTime(t, h, m, s, ms);
    return QTime(h, m, s, ms);
}

TDateTime FromQTime(const QTime& t)
{
    TDateTime v = 0;
    TryEncodeTime(t.hour(), t.minute(), t.second(), t.msec(), v);
    return v;
}

bool AltDown()
{
    return QApplication::keyboardModifiers() & Qt::AltModifier;
}

} // namespace

TAdvTimePickerDropDown::TAdvTimePickerDropDown(QWidget* AOwner) : TAdvCustomDropDown(AOwner)
{
    // Exists before the drop-down's own construction, which applies a component style to it.
    FWatchAppearance = std::make_unique<TWatchAppearance>();
    FWatchAppearance->OnChange = [](QObject*) {};
}

void TAdvTimePickerDropDown::Create()
{
    TAdvCustomDropDown::Create();
    FShowTimePicker = false;
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    FShowSeconds = true;
    FInternalCall = true;
    const QString S(FormatSettings().TimeSeparator);
    SetEditMask(QStringLiteral("!90") + S + QStringLiteral("00") + S + QStringLiteral("00;1; "));
    SetEditText(QStringLiteral("00") + S + QStringLiteral("00") + S + QStringLiteral("00"));
    FInternalCall = false;
    FWatchSettings = std::make_unique<TWatchSettings>();
    FShowWatchAMPM = true;
    FShowWatchNumbers = true;
    FAnimation = true;
    FAnimationFactor = 10;
    DropDownHeader().SetVisible(false);
    DropDownFooter().SetVisible(false);
}

void TAdvTimePickerDropDown::SetComponentStyle(TOrlexStyle AStyle)
{
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    if (FWatchAppearance)
        ApplyWatchComponentStyle(*FWatchAppearance, AStyle);
}

QString TAdvTimePickerDropDown::TimeText(TDateTime Value) const
{
    int h, m, s, ms;
    DecodeTime(Value, h, m, s, ms);
    const QString S(FormatSettings().TimeSeparator);
    auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    QString t = two(h) + S + two(m);
    if (FShowSeconds)
        t += S + two(s);
    return t;
}

void TAdvTimePickerDropDown::SetEditMask(const QString& Mask)
{
    FEditMask = Mask;
}

void TAdvTimePickerDropDown::RebuildText()
{
    const bool internal = FInternalCall;
    FInternalCall = true;
    SetEditText(TimeText(FTime));
    FInternalCall = internal;
}

void TAdvTimePickerDropDown::SetTime(TDateTime Value)
{
    if (!platform::Change(FTime, Value))
        return;
    RebuildText();
    if (DroppedDown()) {
        if (FAdvWatch)
            FAdvWatch->SetTime(Value);
        if (FShowTimePicker && FDateTimePicker) {
            const QSignalBlocker block(FDateTimePicker);
            FDateTimePicker->setTime(ToQTime(Value));
        }
    }
}

void TAdvTimePickerDropDown::SetShowSeconds(bool Value)
{
    if (Value == FShowSeconds)
        return;
    const TDateTime kept = FTime;
    FShowSeconds = Value;
    FInternalCall = true;
    FEditMask.clear();
    SetEditText(QString());
    const QString S(FormatSettings().TimeSeparator);
    SetEditMask(Value ? QStringLiteral("!90") + S + QStringLiteral("00") + S + QStringLiteral("00;1; ")
                      : QStringLiteral("!90") + S + QStringLiteral("00;1; "));
    FInternalCall = false;
    FTime = kept + 1; // so that writing the kept time rebuilds the text in the new form
    SetTime(kept);
}

void TAdvTimePickerDropDown::SetHourValue(int Value)
{
    int h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    if (Value == h || Value < 0 || Value > 23)
        return;
    SetTime(EncodeTime(Value, m, s, ms));
    if (OnTimeChange)
        OnTimeChange(this);
}

void TAdvTimePickerDropDown::SetMinuteValue(int Value)
{
    int h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    if (Value == m || Value < 0 || Value >= 60)
        return;
    SetTime(EncodeTime(h, Value, s, ms));
    if (OnTimeChange)
        OnTimeChange(this);
}

void TAdvTimePickerDropDown::SetSecondValue(int Value)
{
    int h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    if (Value == s || Value < 0 || Value >= 60)
        return;
    SetTime(EncodeTime(h, m, Value, ms));
    if (OnTimeChange)
        OnTimeChange(this);
}

// ---- the pop-up --------------------------------------------------------------------------------

void TAdvTimePickerDropDown::CreateDropDownForm()
{
    if (!CreateDropDownControl(FPanelCtrl, [](QWidget& panel) {
            panel.setAutoFillBackground(true);
            panel.setGeometry(0, 0, 180, 180);
            auto* layout = new QVBoxLayout(&panel);
            layout->setContentsMargins(0, 0, 0, 0);
            layout->setSpacing(0);
        }))
        return;
    if (!FAdvWatch) {
        FAdvWatch = new VIzuZevaz(FPanelCtrl);
        static_cast<QVBoxLayout*>(FPanelCtrl->layout())->insertWidget(0, FAdvWatch, 1);
    }
    SetControl(FPanelCtrl);
}

void TAdvTimePickerDropDown::BeforeDropDown()
{
    TAdvCustomDropDown::BeforeDropDown();
    if (!FPanelCtrl || !FAdvWatch || !DropDownForm())
        return;
    FPanelCtrl->resize(170, 170);
    DropDownForm()->resize(DropDownForm()->width() + 1, DropDownForm()->height());
    DropDownForm()->resize(DropDownForm()->width() - 1, DropDownForm()->height());
    DropDownForm()->SetCancelOnDeActivate(false);
    QPalette p = FPanelCtrl->palette();
    p.setColor(QPalette::Window, ToQColor(DropDownColor()));
    FPanelCtrl->setPalette(p);

    FAdvWatch->SetAppearance(*FWatchAppearance);
    FAdvWatch->SetSettings(*FWatchSettings);
    FAdvWatch->SetShowAMPM(FShowWatchAMPM);
    FAdvWatch->SetShowNumbers(FShowWatchNumbers);
    FAdvWatch->SetAnimation(FAnimation);
    FAdvWatch->SetAnimationFactor(FAnimationFactor);
    FAdvWatch->OnChange = nullptr;
    if (!FWatchSettings->Auto())
        FAdvWatch->SetTime(FTime);
    FAdvWatch->OnChange = [this](QObject*) { WatchChanged(); };

    if (!FShowTimePicker) {
        if (FDateTimePicker)
            FDateTimePicker->hide();
        return;
    }
    if (!FDateTimePicker) {
        FDateTimePicker = new QTimeEdit(FPanelCtrl);
        FPanelCtrl->layout()->addWidget(FDateTimePicker);
        connect(FDateTimePicker, &QTimeEdit::timeChanged, this, [this](const QTime&) {
            try {
                PickerChanged();
            } catch (...) {
            }
        });
    }
    {
        const QSignalBlocker block(FDateTimePicker);
        FDateTimePicker->show();
        FDateTimePicker->setTime(ToQTime(FTime));
        FDateTimePicker->raise();
    }
    FDateTimePicker->setDisplayFormat(FShowSeconds ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
    FPanelCtrl->resize(170, FDateTimePicker->sizeHint().height() + 170);
}

void TAdvTimePickerDropDown::WatchChanged()
{
    if (!FAdvWatch)
        return;
    if (FDateTimePicker && FShowTimePicker && FromQTime(FDateTimePicker->time()) != FAdvWatch->Time()) {
        {
            const QSignalBlocker block(FDateTimePicker);
            FDateTimePicker->setTime(ToQTime(FAdvWatch->Time()));
        }
        if (OnTimeChange)
            OnTimeChange(this);
    }
    SetTime(FAdvWatch->Time());
}

void TAdvTimePickerDropDown::PickerChanged()
{
    if (FDateTimePicker && FAdvWatch && !FWatchSettings->Auto())
        FAdvWatch->SetTime(FromQTime(FDateTimePicker->time()));
}

void TAdvTimePickerDropDown::DoHideDropDown(bool Cancelled)
{
    // With the pop-up closed, Enter and Escape in the edit change nothing.
    if (!DropDownForm() || !DropDownForm()->isVisible())
        return;
    // The closing takes the clock's time (DropDownClosed); a cancelled close keeps it too and
    // shows it again over the rollback text the inherited closing writes.
    FInternalCall = true;
    TAdvCustomDropDown::DoHideDropDown(Cancelled);
    FInternalCall = false;
    if (FAdvWatch)
        SetTime(FAdvWatch->Time());
    RebuildText();
}

void TAdvTimePickerDropDown::DropDownClosed()
{
    TAdvCustomDropDown::DropDownClosed();
    if (FAdvWatch)
        SetTime(FAdvWatch->Time());
}

// ---- keys --------------------------------------------------------------------------------------

bool TAdvTimePickerDropDown::BlockedFormKey(Word Key, TShiftState Shift) const
{
    const bool alt = Shift.testFlag(ssAlt) || AltDown();
    return !alt && (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN);
}

void TAdvTimePickerDropDown::FormKeyDown(Word& Key, TShiftState Shift)
{
    QPointer<TAdvTimePickerDropDown> self(this);
    const Word key = Key;
    if (!BlockedFormKey(Key, Shift))
        TAdvCustomDropDown::FormKeyDown(Key, Shift);
    if (self && FAdvWatch && DropDownForm() && DropDownForm()->isVisible())
        FAdvWatch->HandleKey(key);
}

void TAdvTimePickerDropDown::FormKeyUp(Word& Key, TShiftState Shift)
{
    if (!BlockedFormKey(Key, Shift))
        TAdvCustomDropDown::FormKeyUp(Key, Shift);
}

void TAdvTimePickerDropDown::ControlKeyDown(Word& Key, TShiftState Shift)
{
    if (!BlockedFormKey(Key, Shift))
        TAdvCustomDropDown::ControlKeyDown(Key, Shift);
}

void TAdvTimePickerDropDown::ControlKeyUp(Word& Key, TShiftState Shift)
{
    if (!BlockedFormKey(Key, Shift))
        TAdvCustomDropDown::ControlKeyUp(Key, Shift);
}

void TAdvTimePickerDropDown::ControlKeyPress(QChar& Key)
{
    const ushort u = Key.unicode();
    if (!AltDown() && (u == VK_PRIOR || u == VK_NEXT || u == VK_UP || u == VK_DOWN))
        return;
    TAdvCustomDropDown::ControlKeyPress(Key);
}

void TAdvTimePickerDropDown::PerformKeyDown(Word Key, TShiftState Shift)
{
    QPointer<TAdvTimePickerDropDown> self(this);
    TAdvCustomDropDown::PerformKeyDown(Key, Shift);
    if (!self || AltDown() || Shift.testFlag(ssAlt) || Shift.testFlag(ssCtrl))
        return;
    if (Key != VK_UP && Key != VK_DOWN)
        return;
    // Up lowers and Down raises the part under the caret.
    const QString T = text();
    const int c = SelStart(), selLen = SelLength();
    const QChar S = FormatSettings().TimeSeparator;
    const int p1 = int(T.indexOf(S)) + 1;
    const int p2 = int(T.mid(p1).indexOf(S)) + 1;
    int h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    const bool up = Key == VK_UP;
    if (c < p1) {
        SetHourValue(up ? (h == 0 ? 23 : h - 1) : (h == 23 ? 0 : h + 1));
    } else if (c - p1 >= p2 && FShowSeconds) {
        SetSecondValue(up ? (s == 0 ? 59 : s - 1) : (s == 59 ? 0 : s + 1));
    } else {
        SetMinuteValue(up ? (m == 0 ? 59 : m - 1) : (m == 59 ? 0 : m + 1));
    }
    if (self)
        SetSel(c, selLen);
}

// ---- typing ------------------------------------------------------------------------------------

void TAdvTimePickerDropDown::HandleKeyPress(QChar& Key)
{
    TAdvCustomDropDown::HandleKeyPress(Key);
    if (Key.isNull() || FEditMask.isEmpty())
        return;
    // The mask's digit places take typed digits and blanks; its literals stay where they are.
    QString templ = FEditMask.section(QLatin1Char(';'), 0, 0);
    templ.remove(QLatin1Char('!'));
    auto isSlot = [&](int i) {
        return i < templ.size() && (templ[i] == QLatin1Char('9') || templ[i] == QLatin1Char('0'));
    };
    QString t = text();
    while (t.size() < templ.size())
        t += QLatin1Char(' ');
    int caret = SelStart();
    const int selLen = SelLength();
    const ushort u = Key.unicode();
    if (u == 8) {
        if (selLen > 0) {
            for (int i = caret; i < caret + selLen && i < t.size(); ++i)
                if (isSlot(i))
                    t[i] = QLatin1Char(' ');
        } else {
            int i = caret - 1;
            while (i >= 0 && !isSlot(i))
                --i;
            if (i >= 0) {
                t[i] = QLatin1Char(' ');
                caret = i;
            }
        }
        SetWindowTextKeepingCaret(t, caret);
        Key = QChar();
        return;
    }
    const bool digit = Key >= QLatin1Char('0') && Key <= QLatin1Char('9');
    if (!digit && Key != QLatin1Char(' ')) {
        Key = QChar();
        return;
    }
    if (selLen > 0)
        for (int i = caret; i < caret + selLen && i < t.size(); ++i)
            if (isSlot(i))
                t[i] = QLatin1Char(' ');
    while (caret < templ.size() && !isSlot(caret))
        ++caret;
    if (caret < templ.size()) {
        t[caret] = Key;
        ++caret;
        while (caret < templ.size() && !isSlot(caret))
            ++caret;
    }
    SetWindowTextKeepingCaret(t, caret);
    Key = QChar();
}

void TAdvTimePickerDropDown::SetWindowTextKeepingCaret(const QString& Text, int Caret)
{
    SetEditText(Text);
    SetSel(Caret, 0);
}

void TAdvTimePickerDropDown::HandleChange()
{
    TAdvCustomDropDown::HandleChange();
    if (FInternalCall)
        return;
    const QString T = Trim(text());
    // A complete time: hh S mm, or hh S mm S ss with seconds.
    if (T.size() != (FShowSeconds ? 8 : 5))
        return;
    const QChar S = FormatSettings().TimeSeparator;
    if (T.count(S) != (FShowSeconds ? 2 : 1))
        return;
    QString blanks = T;
    blanks.replace(QLatin1Char(' '), QLatin1Char('0'));
    const QStringList parts = blanks.split(S);
    int values[3] = {0, 0, 0};
    for (int i = 0; i < parts.size() && i < 3; ++i) {
        const QString part = parts[i].trimmed();
        if (part.isEmpty())
            continue;
        if (!part[0].isDigit())
            return;
        bool ok = false;
        values[i] = part.toInt(&ok, 10);
        if (!ok)
            return;
    }
    TDateTime t = 0;
    // A part out of range leaves everything as it is.
    if (!TryEncodeTime(values[0], values[1], values[2], 0, t))
        return;
    FTime = t;
    const QString built = TimeText(t);
    if (built != text() && values[1] == 0 && values[2] == 0)
        RebuildText();
}
