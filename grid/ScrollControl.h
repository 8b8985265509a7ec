#pragma once
// TScrollControl: a thin scroll indicator laid over the edge of a grid (the "metro" scroll type).
// Its thumb shows the visible part of the rows (vertical) or columns (horizontal); the user drags
// it or clicks beside it. It works only while its parent is a string grid of this library.
#include "platform/Graphics.h"
#include "platform/Property.h"

#include <QWidget>

class TVerIvovavOzed;

enum TScrollDirection { sdVertical, sdHorizontal };

class TScrollControl : public QWidget {
public:
    explicit TScrollControl(QWidget* AOwner = nullptr);

    KT_PROPERTY_NOTIFY(TColor, Color, update)
    KT_PROPERTY_NOTIFY(int, ScrollWidth, update)
    KT_PROPERTY_NOTIFY(TScrollDirection, Direction, update)

    // The thumb's start and length along the control; false when no thumb shows (everything
    // fits, the grid has no scrollable rows or columns, or the parent is no grid).
    bool ThumbGeometry(int& Pos, int& Size) const;

    void MouseDown(int X, int Y);
    void MouseMove(int X, int Y);
    void MouseUp(int X, int Y);
    bool Dragging() const { return FDownOnScroller; }
    // Lies along the grid's right edge (vertical, 6 pixels wide) or bottom edge (horizontal, 6
    // pixels high); done again whenever the grid is resized.
    void Realign();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TVerIvovavOzed* Grid() const;
    int Length() const { return FDirection == sdVertical ? height() : width(); }
    TColor FColor = 0xC0C0C0;
    int FScrollWidth = 4;
    bool FDownOnScroller = false;
    int FDownPos = 0;
    int FDownRow = 0;
    TScrollDirection FDirection = sdVertical;
};
