#pragma once
// TArrowWindow: one of the four small arrow-shaped pop-up windows the grid shows while a column
// or a row is dragged to a new place.
#include "platform/Graphics.h"

#include <QPolygon>
#include <QWidget>

enum TArrowDirection { arrUp, arrDown, arrLeft, arrRight };

class TArrowWindow : public QWidget {
public:
    // Builds the hidden window for the direction, coloured lime, with the owner as parent.
    TArrowWindow(QWidget* AOwner, TArrowDirection Direction);
    TArrowDirection Direction() const { return FDirection; }
    TColor Color() const { return FColor; }
    // The seven corners of the arrow, in window coordinates.
    static QPolygon ArrowShape(TArrowDirection Direction);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TArrowDirection FDirection;
    TColor FColor = 0x00FF00;
};
