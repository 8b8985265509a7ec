// TGridFocusWindow: the frame window around the edited cell.
#include "grid/GridFocusWindow.h"

#include <QPainter>

TGridFocusWindow::TGridFocusWindow(QWidget* AOwner)
    : QWidget(AOwner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    setEnabled(false);
    resize(0, 0);
}

void TGridFocusWindow::ApplyAlphaMask(const TGridAlphaMask& Mask)
{
    if (Mask.Empty())
        return;
    FPicture = Mask.Image();
    resize(FPicture.width(), FPicture.height());
    setWindowOpacity(Mask.Opacity() / 255.0);
    update();
}

void TGridFocusWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (FPicture.isNull())
        p.fillRect(rect(), QColor(0x97, 0xD3, 0xFD)); // no picture: an opaque frame of the same shape
    else
        p.drawImage(0, 0, FPicture);
}
