#pragma once
// TGridProgressAppearance: the colours and switches of the progress-bar cells of a grid.
#include "platform/Graphics.h"
#include "platform/Property.h"

#include <functional>

enum TProgressStyle { psXP, psClassic };

// The values TGridProgressAppearance::Assign copies, kept together so that one assignment copies them all.
struct TGridProgressAppearanceValues {
    TColor FUnCompleteFontColor = clWindowText;
    TColor FCompleteColor = 0x0000FF;
    TColor FUnCompleteColor = clNone;
    TColor FCompleteFontColor = 0xFF0000;
    bool FStacked = false;
    bool FShowPercentage = true;
    bool FShowBorder = false;
    bool FCompletionSmooth = true;
    bool FShowGradient = true;
    int FLevel2Perc = 90;
    int FLevel1Perc = 70;
    int FSteps = 11;
    TColor FLevel3Color = 0x0000FF;
    TColor FLevel1Color = 0x00FFFF;
    TColor FLevel0Color = 0x00FF00;
    TColor FLevel3ColorTo = 0xCACAFF;
    TColor FLevel2ColorTo = 0xA8D3FF;
    TColor FLevel0ColorTo = 0xE1FFE1;
    TColor FLevel1ColorTo = 0xCAFFFF;
    TColor FBorderColor = clBlack;
    TColor FLevel2Color = 0x53A9FF;
    TProgressStyle FStyle = psXP;
};

class TGridProgressAppearance : private TGridProgressAppearanceValues {
public:
    TGridProgressAppearance() = default;
    TGridProgressAppearance(const TGridProgressAppearance&) = delete;
    TGridProgressAppearance& operator=(const TGridProgressAppearance&) = delete;

    // Copies every value (not OnChange), then tells the owner.
    void Assign(const TGridProgressAppearance& Source);
    void Changed() { if (OnChange) OnChange(); }

    // Each setter stores a new value and calls Changed only when the value differs.
    KT_PROPERTY_CHANGE(TColor, UnCompleteFontColor, Changed)
    KT_PROPERTY_CHANGE(TColor, CompleteColor, Changed)
    KT_PROPERTY_CHANGE(TColor, UnCompleteColor, Changed)
    KT_PROPERTY_CHANGE(TColor, CompleteFontColor, Changed)
    KT_PROPERTY_CHANGE(bool, Stacked, Changed)
    KT_PROPERTY_CHANGE(bool, ShowPercentage, Changed)
    KT_PROPERTY_CHANGE(bool, ShowBorder, Changed)
    KT_PROPERTY_CHANGE(bool, CompletionSmooth, Changed)
    KT_PROPERTY_CHANGE(bool, ShowGradient, Changed)
    KT_PROPERTY_CHANGE(int, Level2Perc, Changed)
    KT_PROPERTY_CHANGE(int, Level1Perc, Changed)
    KT_PROPERTY_CHANGE(int, Steps, Changed)
    KT_PROPERTY_CHANGE(TColor, Level3Color, Changed)
    KT_PROPERTY_CHANGE(TColor, Level1Color, Changed)
    KT_PROPERTY_CHANGE(TColor, Level0Color, Changed)
    KT_PROPERTY_CHANGE(TColor, Level3ColorTo, Changed)
    KT_PROPERTY_CHANGE(TColor, Level2ColorTo, Changed)
    KT_PROPERTY_CHANGE(TColor, Level0ColorTo, Changed)
    KT_PROPERTY_CHANGE(TColor, Level1ColorTo, Changed)
    KT_PROPERTY_CHANGE(TColor, BorderColor, Changed)
    KT_PROPERTY_CHANGE(TColor, Level2Color, Changed)
    KT_PROPERTY_CHANGE(TProgressStyle, Style, Changed)

    // The owning grid's repaint.
    std::function<void()> OnChange;

private:
};
