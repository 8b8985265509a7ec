#pragma once
// TGridProgressAppearance: the colours and switches of the progress-bar cells of a grid.
#include "platform/Graphics.h"

#include <functional>

enum TProgressStyle { psXP, psClassic };

class TGridProgressAppearance {
public:
    TGridProgressAppearance() = default;
    TGridProgressAppearance(const TGridProgressAppearance&) = delete;
    TGridProgressAppearance& operator=(const TGridProgressAppearance&) = delete;

    // Copies every value (not OnChange), then tells the owner.
    void Assign(const TGridProgressAppearance& Source);
    void Changed() { if (OnChange) OnChange(); }

    // Each setter stores a new value and calls Changed only when the value differs.
    TColor UnCompleteFontColor() const { return FUnCompleteFontColor; }
    void SetUnCompleteFontColor(TColor Value) { if (Value == FUnCompleteFontColor) return; FUnCompleteFontColor = Value; Changed(); }
    TColor CompleteColor() const { return FCompleteColor; }
    void SetCompleteColor(TColor Value) { if (Value == FCompleteColor) return; FCompleteColor = Value; Changed(); }
    TColor UnCompleteColor() const { return FUnCompleteColor; }
    void SetUnCompleteColor(TColor Value) { if (Value == FUnCompleteColor) return; FUnCompleteColor = Value; Changed(); }
    TColor CompleteFontColor() const { return FCompleteFontColor; }
    void SetCompleteFontColor(TColor Value) { if (Value == FCompleteFontColor) return; FCompleteFontColor = Value; Changed(); }
    bool Stacked() const { return FStacked; }
    void SetStacked(bool Value) { if (Value == FStacked) return; FStacked = Value; Changed(); }
    bool ShowPercentage() const { return FShowPercentage; }
    void SetShowPercentage(bool Value) { if (Value == FShowPercentage) return; FShowPercentage = Value; Changed(); }
    bool ShowBorder() const { return FShowBorder; }
    void SetShowBorder(bool Value) { if (Value == FShowBorder) return; FShowBorder = Value; Changed(); }
    bool CompletionSmooth() const { return FCompletionSmooth; }
    void SetCompletionSmooth(bool Value) { if (Value == FCompletionSmooth) return; FCompletionSmooth = Value; Changed(); }
    bool ShowGradient() const { return FShowGradient; }
    void SetShowGradient(bool Value) { if (Value == FShowGradient) return; FShowGradient = Value; Changed(); }
    int Level2Perc() const { return FLevel2Perc; }
    void SetLevel2Perc(int Value) { if (Value == FLevel2Perc) return; FLevel2Perc = Value; Changed(); }
    int Level1Perc() const { return FLevel1Perc; }
    void SetLevel1Perc(int Value) { if (Value == FLevel1Perc) return; FLevel1Perc = Value; Changed(); }
    int Steps() const { return FSteps; }
    void SetSteps(int Value) { if (Value == FSteps) return; FSteps = Value; Changed(); }
    TColor Level3Color() const { return FLevel3Color; }
    void SetLevel3Color(TColor Value) { if (Value == FLevel3Color) return; FLevel3Color = Value; Changed(); }
    TColor Level1Color() const { return FLevel1Color; }
    void SetLevel1Color(TColor Value) { if (Value == FLevel1Color) return; FLevel1Color = Value; Changed(); }
    TColor Level0Color() const { return FLevel0Color; }
    void SetLevel0Color(TColor Value) { if (Value == FLevel0Color) return; FLevel0Color = Value; Changed(); }
    TColor Level3ColorTo() const { return FLevel3ColorTo; }
    void SetLevel3ColorTo(TColor Value) { if (Value == FLevel3ColorTo) return; FLevel3ColorTo = Value; Changed(); }
    TColor Level2ColorTo() const { return FLevel2ColorTo; }
    void SetLevel2ColorTo(TColor Value) { if (Value == FLevel2ColorTo) return; FLevel2ColorTo = Value; Changed(); }
    TColor Level0ColorTo() const { return FLevel0ColorTo; }
    void SetLevel0ColorTo(TColor Value) { if (Value == FLevel0ColorTo) return; FLevel0ColorTo = Value; Changed(); }
    TColor Level1ColorTo() const { return FLevel1ColorTo; }
    void SetLevel1ColorTo(TColor Value) { if (Value == FLevel1ColorTo) return; FLevel1ColorTo = Value; Changed(); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { if (Value == FBorderColor) return; FBorderColor = Value; Changed(); }
    TColor Level2Color() const { return FLevel2Color; }
    void SetLevel2Color(TColor Value) { if (Value == FLevel2Color) return; FLevel2Color = Value; Changed(); }
    TProgressStyle Style() const { return FStyle; }
    void SetStyle(TProgressStyle Value) { if (Value == FStyle) return; FStyle = Value; Changed(); }

    // The owning grid's repaint.
    std::function<void()> OnChange;

private:
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
