#include "grid/ArrowWindow.h"

#include <QBitmap>
#include <QPainter>

TArrowWindow::TArrowWindow(QWidget* AOwner, TArrowDirection Direction)
    : QWidget(AOwner,
              Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput),
      FDirection(Direction)
{
    // A marker never takes the mouse or the focus: the move or drag it marks goes on underneath.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const QPolygon shape = ArrowShape(Direction);
    const QRect box = shape.boundingRect();
    resize(box.right() + 1, box.bottom() + 1);
    setMask(QRegion(shape, Qt::WindingFill));
    hide();
}

QPolygon TArrowWindow::ArrowShape(TArrowDirection Direction)
{
    switch (Direction) {
    case arrUp:
        return QPolygon({{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}});
    case arrDown:
        return QPolygon({{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}});
    case arrLeft:
        return QPolygon({{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}});
    case arrRight:
    default:
        return QPolygon({{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}});
    }
}

void TArrowWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), ToQColor(FColor));
}
