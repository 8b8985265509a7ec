#pragma once
// The track-bar drop-down: an integer Position between Min and Max, edited with a horizontal
// slider on the pop-up, with Up and Down in the edit, or by dragging the mouse sideways across
// the edit. By default the number cannot be typed.
#include "dropdown/AdvDropDown_Edit.h"

class QSlider;

class TAdvTrackBarDropDown : public TAdvCustomDropDown {
    Q_OBJECT
public:
    explicit TAdvTrackBarDropDown(QWidget* AOwner = nullptr);
    void Create() override;

    int Position() const { return FPosition; }
    void SetPosition(int Value);
    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    // Step of the Up and Down keys.
    int Frequency() const { return FFrequency; }
    void SetFrequency(int Value);
    // Pixels of mouse movement per unit when dragging on the edit (below 1: no dragging).
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    QSlider* TrackBar() const { return FTrackBar; }

    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoHideDropDown(bool Cancelled) override;
    void PerformKeyDown(Word Key, TShiftState Shift) override;

    TNotifyEvent OnTrackChange;

protected:
    void HandleChange() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void TrackBarChanged();

    QSlider* FTrackBar = nullptr;
    int FMin = 0;
    int FFrequency = 1;
    int FPageSize = 2;
    int FMax = 10;
    int FPosition = 0;
    bool FMouseDraging = false;
    int FMouseX = 0;
    int FPositionAtOpening = 0;
};
