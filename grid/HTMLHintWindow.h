#pragma once
// THTMLHintWindow: the hint window of the grid (cell hints and scroll-position hints). Hints in
// the mark-up language are laid out and drawn by the mark-up renderer; a hint stored as encoded
// wide text is drawn on one line in the font of the grid that showed it.
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Property.h"

#include <QString>
#include <QWidget>

class TCustomImageList;
class TPictureContainer;
class QObject;

class THTMLHintWindow : public QWidget {
public:
    explicit THTMLHintWindow(QWidget* AOwner = nullptr);

    KT_PROPERTY_NOTIFY(TColor, Color, update)
    QString Caption() const { return FCaption; }
    // A change of the text repaints the window.
    void SetCaption(const QString& Value);
    // The font of the grid that showed the last cell hint (used for encoded wide hints).
    TFont& HintFont() { return FHintFont; }

    // Sizes the window to the hint laid out from R's top-left corner, keeps it on the monitor
    // nearest to that corner and shows it without taking the focus. R is in screen co-ordinates.
    void ActivateHint(TRect Rect, const QString& AHint);
    // As ActivateHint; a grid given as data lends its images and picture container.
    void ActivateHintData(TRect Rect, const QString& AHint, QObject* AData);
    // The size the hint needs within MaxWidth, as (0, 0, width, height).
    TRect CalcHintRect(int MaxWidth, const QString& AHint, QObject* AData);
    // Where a hint rectangle ends up on a monitor (screen co-ordinates): moved left to end 2
    // pixels inside the right edge when too wide, lifted to 2 pixels above the bottom when too low.
    static TRect FitOnMonitor(TRect Rect, const TRect& Monitor, int TextHeight);

    // Draws the hint over (0, 0, width, height) of a canvas (the window's paint).
    void PaintOn(TCanvas& ACanvas, int AWidth, int AHeight);

    int TextWidth() const { return FTextWidth; }
    int TextHeight() const { return FTextHeight; }

    TCustomImageList* FImages = nullptr;
    TPictureContainer* FPictureContainer = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Measures the hint: single line for encoded wide text, else wrapped mark-up within MaxWidth.
    TSize Measure(const QString& AHint, int MaxWidth, bool& Wide);
    TColor FColor = clInfoBk;
    QString FCaption;
    QString FWideCaption;
    TFont FHintFont;
    int FTextHeight = 0;
    int FTextWidth = 0;
};
