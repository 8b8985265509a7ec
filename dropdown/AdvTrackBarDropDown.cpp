// The track-bar drop-down: the slider on the pop-up, the number in the edit, Up and Down, and the
// sideways drag across the edit.
#include "dropdown/AdvTrackBarDropDown.h"

#include "platform/SysUtils.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSlider>

using namespace platform;

TAdvTrackBarDropDown::TAdvTrackBarDropDown(QWidget* AOwner) : TAdvCustomDropDown(AOwner) {}

void TAdvTrackBarDropDown::Create()
{
    TAdvCustomDropDown::Create(); // builds the pop-up and with it the bar
    FMin = 0;
    FMax = 10;
    FPosition = 0;
    FPageSize = 2;
    FFrequency = 1;
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    SetEditType(etNumeric);
    DropDownHeader().SetVisible(false);
    DropDownFooter().SetVisible(false);
    SetForceShadow(true);
}

void TAdvTrackBarDropDown::CreateDropDownForm()
{
    TAdvCustomDropDown::CreateDropDownForm();
    if (!DropDownForm() || FTrackBar)
        return;
    FTrackBar = new QSlider(Qt::Horizontal, DropDownForm());
    // The bar's own settings until the first opening hands it the drop-down's.
    FTrackBar->setRange(0, 10);
    FTrackBar->setPageStep(2);
    FTrackBar->setSingleStep(1);
    FTrackBar->setTickInterval(1);
    FTrackBar->setTickPosition(QSlider::TicksBelow);
    FTrackBar->setGeometry(0, 0, 150, 40);
    FTrackBar->hide();
    connect(FTrackBar, &QSlider::valueChanged, this, [this](int) {
        try {
            TrackBarChanged();
        } catch (...) {
        }
    });
}

void TAdvTrackBarDropDown::SetPosition(int Value)
{
    FPosition = Value;
    if (FTrackBar) {
        FTrackBar->setValue(Value);
        FPosition = FTrackBar->value();
    }
}

void TAdvTrackBarDropDown::SetMin(int Value)
{
    FMin = Value;
    if (FTrackBar) {
        FTrackBar->setMinimum(Value);
        FMin = FTrackBar->minimum();
    }
}

void TAdvTrackBarDropDown::SetMax(int Value)
{
    FMax = Value;
    if (FTrackBar) {
        FTrackBar->setMaximum(Value);
        FMax = FTrackBar->maximum();
    }
}

void TAdvTrackBarDropDown::SetFrequency(int Value)
{
    FFrequency = Value;
    if (FTrackBar)
        FTrackBar->setTickInterval(Value);
}

void TAdvTrackBarDropDown::SetPageSize(int Value)
{
    FPageSize = Value;
    if (FTrackBar)
        FTrackBar->setPageStep(Value);
}

void TAdvTrackBarDropDown::TrackBarChanged()
{
    if (!FTrackBar)
        return;
    FPosition = FTrackBar->value();
    SetEditText(QString::number(FPosition));
    if (OnTrackChange)
        OnTrackChange(this);
}

void TAdvTrackBarDropDown::HandleChange()
{
    TAdvCustomDropDown::HandleChange();
    // A text that is no integer leaves the position as it is.
    int v = 0;
    if (TryStrToInt(Text(), v))
        SetPosition(v);
}

void TAdvTrackBarDropDown::BeforeDropDown()
{
    TAdvCustomDropDown::BeforeDropDown();
    if (DropDownForm())
        DropDownForm()->SetCancelOnDeActivate(false);
    FPositionAtOpening = FPosition;
    if (FTrackBar) {
        FTrackBar->setMinimum(FMin);
        FTrackBar->setMaximum(FMax);
        FTrackBar->setValue(FPosition);
        FTrackBar->setPageStep(FPageSize);
        FTrackBar->setTickInterval(FFrequency);
        FTrackBar->resize(width(), FTrackBar->height());
        SetControl(FTrackBar);
    }
}

void TAdvTrackBarDropDown::DoHideDropDown(bool Cancelled)
{
    // A cancelled close goes back to the value the pop-up opened with.
    if (Cancelled && DropDownForm() && DropDownForm()->isVisible())
        SetOldText(QString::number(FPositionAtOpening));
    TAdvCustomDropDown::DoHideDropDown(Cancelled);
}

void TAdvTrackBarDropDown::PerformKeyDown(Word Key, TShiftState Shift)
{
    QPointer<TAdvTrackBarDropDown> self(this);
    TAdvCustomDropDown::PerformKeyDown(Key, Shift);
    if (!self || EditorEnabled() || Shift.testFlag(ssAlt) || (QApplication::keyboardModifiers() & Qt::AltModifier))
        return;
    if (Key == VK_UP) {
        const int v = FPosition - FFrequency;
        if (v >= FMin)
            SetPosition(v);
    } else if (Key == VK_DOWN) {
        const int v = FPosition + FFrequency;
        if (v <= FMax)
            SetPosition(v);
    }
}

void TAdvTrackBarDropDown::mousePressEvent(QMouseEvent* event)
{
    TAdvCustomDropDown::mousePressEvent(event);
    if (DropDownEnabled() && !EditorEnabled()) {
        FMouseX = int(event->position().x());
        FMouseDraging = true;
    }
}

void TAdvTrackBarDropDown::mouseMoveEvent(QMouseEvent* event)
{
    TAdvCustomDropDown::mouseMoveEvent(event);
    if (!FMouseDraging || !DropDownEnabled() || EditorEnabled() || FPageSize < 1)
        return;
    try {
        const int x = int(event->position().x());
        const int d = (x - FMouseX) / FPageSize;
        FMouseX = x;
        SetPosition(FPosition + d);
    } catch (...) {
    }
}

void TAdvTrackBarDropDown::mouseReleaseEvent(QMouseEvent* event)
{
    TAdvCustomDropDown::mouseReleaseEvent(event);
    FMouseDraging = false;
}
