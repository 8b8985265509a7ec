// TScrollControl: geometry, painting and mouse handling of the thin scroll indicator.
#include "grid/ScrollControl.h"

#include "grid/AdvGrid.h"
#include "platform/Canvas.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
int RoundEven(double v) { return int(std::nearbyint(v)); }
} // namespace

TScrollControl::TScrollControl(QWidget* AOwner) : QWidget(AOwner)
{
    setAttribute(Qt::WA_NoSystemBackground);
    if (AOwner)
        AOwner->installEventFilter(this);
}

void TScrollControl::Realign()
{
    QWidget* p = parentWidget();
    if (!p)
        return;
    if (FDirection == sdVertical)
        setGeometry(p->width() - 6, 0, 6, p->height());
    else
        setGeometry(0, p->height() - 6, p->width(), 6);
}

bool TScrollControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        Realign();
    return QWidget::eventFilter(watched, event);
}

TVerIvovavOzed* TScrollControl::Grid() const { return dynamic_cast<TVerIvovavOzed*>(parentWidget()); }

bool TScrollControl::ThumbGeometry(int& Pos, int& Size) const
{
    Pos = 0;
    Size = 0;
    TVerIvovavOzed* g = Grid();
    if (!g)
        return false;
    const bool vert = FDirection == sdVertical;
    const int count = vert ? g->RowCount() : g->ColCount();
    const int fixed = vert ? g->FixedRows() : g->FixedCols();
    const int visible = vert ? g->VisibleRowCount() : g->VisibleColCount();
    const int first = vert ? g->TopRow() : g->LeftCol();
    // An empty scroll range has no thumb (and nothing to divide by).
    if (count - fixed <= 0 || visible >= count - fixed)
        return false;
    int start = 0;
    for (int i = 0; i < fixed; ++i)
        start += vert ? g->RowHeights(i) : g->ColWidths(i);
    int tail = 0;
    const int footers = vert ? g->FixedFooters() : g->FixedRightCols();
    for (int i = std::max(0, count - footers); i < count; ++i)
        tail += vert ? g->RowHeights(i) : g->ColWidths(i);
    const int len = Length();
    const int track = len - start - tail;
    Pos = start + RoundEven(double(track) * (first - fixed) / (count - fixed));
    Size = std::max(20, RoundEven(double(track) * visible / count));
    if (Pos + Size > len)
        Pos = len - Size;
    return true;
}

void TScrollControl::paintEvent(QPaintEvent*)
{
    int p = 0, q = 0;
    if (!ThumbGeometry(p, q))
        return;
    QPainter painter(this);
    TCanvas canvas(&painter);
    canvas.Pen().SetColor(FColor);
    canvas.Brush().SetColor(FColor);
    if (FDirection == sdVertical)
        canvas.Rectangle(0, p, FScrollWidth, p + q);
    else
        canvas.Rectangle(p, 0, p + q, FScrollWidth);
}

void TScrollControl::MouseDown(int X, int Y)
{
    TVerIvovavOzed* g = Grid();
    int p = 0, q = 0;
    if (!g || !ThumbGeometry(p, q))
        return;
    const bool vert = FDirection == sdVertical;
    const int at = vert ? Y : X;
    const int fixed = vert ? g->FixedRows() : g->FixedCols();
    const int count = vert ? g->RowCount() : g->ColCount();
    const int visible = vert ? g->VisibleRowCount() : g->VisibleColCount();
    const int first = vert ? g->TopRow() : g->LeftCol();
    int target = first;
    if (at < p)
        target = std::max(fixed, first - visible);
    else if (at > p + q)
        target = std::min(first + visible, count - visible);
    else {
        FDownOnScroller = true;
        FDownPos = at;
        FDownRow = first;
        return;
    }
    if (vert)
        g->SetTopRow(target);
    else
        g->SetLeftCol(target);
}

void TScrollControl::MouseMove(int X, int Y)
{
    TVerIvovavOzed* g = Grid();
    if (!FDownOnScroller || !g)
        return;
    const bool vert = FDirection == sdVertical;
    const int count = vert ? g->RowCount() : g->ColCount();
    const int fixed = vert ? g->FixedRows() : g->FixedCols();
    const int visible = vert ? g->VisibleRowCount() : g->VisibleColCount();
    const int span = Length() - (vert ? g->RowHeights(0) : g->ColWidths(0));
    if (count - fixed <= 0 || span <= 0)
        return;
    const int at = vert ? Y : X;
    const int moved = RoundEven(double(at - FDownPos) / span * count) + FDownRow;
    const int target = std::max(fixed, std::min(moved, count - visible));
    if (vert)
        g->SetTopRow(target);
    else
        g->SetLeftCol(target);
    update();
}

void TScrollControl::MouseUp(int, int) { FDownOnScroller = false; }

void TScrollControl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        MouseDown(event->position().toPoint().x(), event->position().toPoint().y());
    update();
}

void TScrollControl::mouseMoveEvent(QMouseEvent* event)
{
    MouseMove(event->position().toPoint().x(), event->position().toPoint().y());
}

void TScrollControl::mouseReleaseEvent(QMouseEvent* event)
{
    MouseUp(event->position().toPoint().x(), event->position().toPoint().y());
}
