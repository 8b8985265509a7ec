#pragma once
// The balloon hints of a string grid and the marking of cells the user changed: the two settings
// objects a grid owns for them, with the defaults a new grid has.
#include "platform/Graphics.h"
#include "platform/Property.h"

#include <functional>

class TVerIvovavOzed;

class TBalloonSettings {
public:
    TBalloonSettings() = default;
    TBalloonSettings(const TBalloonSettings&) = delete;
    TBalloonSettings& operator=(const TBalloonSettings&) = delete;
    void Assign(const TBalloonSettings& Source);

    bool Enable() const { return FEnable; }
    void SetEnable(bool Value);
    TColor TextColor = clNone;
    TColor BackgroundColor = clNone;
    // Milliseconds; -1 leaves the platform's delay.
    int AutoHideDelay = -1;
    int InitialDelay = -1;
    int ReshowDelay = -1;
    int Transparency = 0;
    bool Initialized = false;
    std::function<void()> OnEnableChange;

private:
    bool FEnable = false;
};

class TShowModified {
public:
    TShowModified() = default;
    TShowModified(const TShowModified&) = delete;
    TShowModified& operator=(const TShowModified&) = delete;
    void Assign(const TShowModified& Source);

    bool Enabled() const { return FEnabled; }
    // A plain store: switching the marking on or off alone repaints nothing.
    void SetEnabled(bool Value) { FEnabled = Value; }
    KT_PROPERTY_NOTIFY(TColor, Color, Changed)
    std::function<void()> OnChange;

private:
    friend class TVerIvovavOzed; // hiding and showing rows switch the marking off for a moment
    void Changed() { if (OnChange) OnChange(); }
    bool FEnabled = false;
    TColor FColor = 0xFFFF;
};
