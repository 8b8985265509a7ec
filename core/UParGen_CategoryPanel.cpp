#include "core/UParGen_CategoryPanel.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

// ---- TCategoryPanel ----

TCategoryPanel::TCategoryPanel(TCategoryPanelGroup* group, const QString& name)
    : QWidget(group->widget()), FGroup(group)
{
    setObjectName(name);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, group->PanelColor);
    setPalette(pal);
    FSurface = new QWidget(this);
    FSurface->setObjectName(name + "_Surface");
    FSurface->setGeometry(0, TCategoryPanelGroup::HeaderHeight, 10, 10);
    // The header is hot only while the pointer is on it: moves over the panel are followed, and
    // the pointer entering the fields below leaves the header.
    setMouseTracking(true);
    FSurface->installEventFilter(this);
    group->Register(this);
}

void TCategoryPanel::SetCaption(const QString& caption)
{
    FCaption = caption;
    update();
}

void TCategoryPanel::SetTop(int top)
{
    FTop = top;
    FGroup->Arrange();
}

void TCategoryPanel::SetHeight(int height)
{
    FHeight = std::max(height, int(TCategoryPanelGroup::HeaderHeight));
    FGroup->Arrange();
}

void TCategoryPanel::SetCollapsed(bool collapsed)
{
    if (FCollapsed == collapsed)
        return;
    FCollapsed = collapsed;
    FSurface->setVisible(!collapsed);
    FGroup->Arrange();
    update();
}

void TCategoryPanel::SetPanelVisible(bool visible)
{
    FPanelVisible = visible;
    setVisible(visible);
    FGroup->Arrange();
}

int TCategoryPanel::ShownHeight() const
{
    return FCollapsed ? int(TCategoryPanelGroup::HeaderHeight) : FHeight;
}

void TCategoryPanel::resizeEvent(QResizeEvent*)
{
    FSurface->setGeometry(0, TCategoryPanelGroup::HeaderHeight, width(),
                          std::max(0, height() - TCategoryPanelGroup::HeaderHeight));
}

void TCategoryPanel::paintEvent(QPaintEvent*)
{
    const int hh = TCategoryPanelGroup::HeaderHeight;
    QPainter p(this);
    QRect header(0, 0, width(), hh);
    QLinearGradient grad(0, 0, 0, hh);
    grad.setColorAt(0, FGroup->PanelColor.lighter(104));
    grad.setColorAt(1, FGroup->GradientColor);
    p.fillRect(header, grad);
    p.setPen(FGroup->GradientColor.darker(125));
    p.drawLine(0, hh - 1, width() - 1, hh - 1);

    int x = 4;
    const QPixmap& pic = FGroup->Pictures[FCollapsed ? 1 : 0];
    if (!pic.isNull()) {
        p.drawPixmap(x, (hh - pic.height()) / 2, pic);
        x += pic.width() + 6;
    }
    p.setFont(FGroup->HeaderFont);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawText(QRect(x, 0, width() - x - 24, hh), Qt::AlignLeft | Qt::AlignVCenter, FCaption);

    // Two chevrons on the right: pointing up while expanded (a click collapses), down otherwise.
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(FHot ? FGroup->ChevronHotColor : FGroup->ChevronColor, 1.6));
    const double cx = width() - 14.5;
    const double cy = hh / 2.0;
    for (int i = 0; i < 2; ++i) {
        const double off = (i == 0 ? -2.5 : 2.5);
        const double tip = FCollapsed ? 2.5 : -2.5;
        p.drawLine(QPointF(cx - 4, cy + off - tip), QPointF(cx, cy + off + tip));
        p.drawLine(QPointF(cx, cy + off + tip), QPointF(cx + 4, cy + off - tip));
    }
}

void TCategoryPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && event->position().y() < TCategoryPanelGroup::HeaderHeight) {
        SetCollapsed(!FCollapsed);
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void TCategoryPanel::SetHot(bool hot)
{
    if (hot == FHot)
        return;
    FHot = hot;
    update(0, 0, width(), TCategoryPanelGroup::HeaderHeight);
}

void TCategoryPanel::enterEvent(QEnterEvent* event)
{
    SetHot(event->position().y() < TCategoryPanelGroup::HeaderHeight);
}

void TCategoryPanel::leaveEvent(QEvent*)
{
    SetHot(false);
}

void TCategoryPanel::mouseMoveEvent(QMouseEvent* event)
{
    SetHot(event->position().y() < TCategoryPanelGroup::HeaderHeight);
    QWidget::mouseMoveEvent(event);
}

void TCategoryPanel::hideEvent(QHideEvent* event)
{
    // A window closed with the pointer on a header gets no leave: the next showing starts cold.
    SetHot(false);
    QWidget::hideEvent(event);
}

bool TCategoryPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FSurface && event->type() == QEvent::Enter)
        SetHot(false);
    return QWidget::eventFilter(watched, event);
}

// ---- TCategoryPanelGroup ----

TCategoryPanelGroup::TCategoryPanelGroup(QWidget* parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setTracking(true);
    verticalScrollBar()->setSingleStep(8);
    setWidgetResizable(false);
    FContent = new QWidget;
    FContent->setObjectName("CPG_Content");
    FContent->setAutoFillBackground(true);
    QPalette pal = FContent->palette();
    pal.setColor(QPalette::Window, PanelColor);
    FContent->setPalette(pal);
    setWidget(FContent);
    HeaderFont.setFamily("Verdana");
    HeaderFont.setPixelSize(15);
    HeaderFont.setBold(true);
}

std::vector<TCategoryPanel*> TCategoryPanelGroup::StackedPanels() const
{
    std::vector<TCategoryPanel*> shown;
    for (TCategoryPanel* panel : FPanels)
        if (panel->PanelVisible())
            shown.push_back(panel);
    std::stable_sort(shown.begin(), shown.end(),
                     [](TCategoryPanel* a, TCategoryPanel* b) { return a->Top() < b->Top(); });
    return shown;
}

void TCategoryPanelGroup::Arrange()
{
    if (FArranging)
        return;
    FArranging = true;
    int total = 0;
    for (TCategoryPanel* panel : StackedPanels())
        total += panel->ShownHeight();
    // The scroll bar takes its room from the panels when they do not fit.
    int width = this->width();
    if (total > height())
        width -= verticalScrollBar()->sizeHint().width();
    int y = 0;
    for (TCategoryPanel* panel : StackedPanels()) {
        panel->setGeometry(0, y, width, panel->ShownHeight());
        y += panel->ShownHeight();
    }
    FContent->resize(width, std::max(y, 1));
    FArranging = false;
}

void TCategoryPanelGroup::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    Arrange();
}

void TCategoryPanelGroup::wheelEvent(QWheelEvent* event)
{
    if (OnMouseWheel)
        OnMouseWheel(event);
    else
        QScrollArea::wheelEvent(event);
}
