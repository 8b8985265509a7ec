// The balloon tooltip window of a grid and the grid's balloon services (BalloonInit,
// BalloonDone, the Enable switch's handler and the balloon of the cell under the mouse).
#include "gridedit/BalloonWindow.h"

#include "grid/AdvGrid.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

namespace {
constexpr int kPad = 8;
constexpr int kTail = 12;
constexpr int kIcon = 16;
} // namespace

TBalloonWindow::TBalloonWindow(QWidget* Owner)
    : QWidget(Owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("GridBalloon"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    FBackground = QColor(255, 255, 225);
    FTextColor = Qt::black;
    FShowTimer.setSingleShot(true);
    FHideTimer.setSingleShot(true);
    QObject::connect(&FShowTimer, &QTimer::timeout, this, [this] { ShowPending(); });
    QObject::connect(&FHideTimer, &QTimer::timeout, this, [this] { Pop(); });
}

TBalloonWindow::~TBalloonWindow() = default;

void TBalloonWindow::SetLayeredAlpha(int Alpha) { setWindowOpacity(std::clamp(Alpha, 0, 255) / 255.0); }

void TBalloonWindow::SetTitle(const QString& Title, int Icon)
{
    FTitle = Title.left(255);
    FIcon = Icon >= 0 && Icon <= 3 ? Icon : 0;
}

void TBalloonWindow::SetColors(QColor Background, QColor TextColor)
{
    if (Background.isValid())
        FBackground = Background;
    if (TextColor.isValid())
        FTextColor = TextColor;
}

void TBalloonWindow::Popup(const QPoint& Tip, const QString& Text, bool Now)
{
    FText = Text;
    FTip = Tip;
    if (Now) {
        ShowPending();
        return;
    }
    FShowTimer.start(isVisible() ? FReshowDelay : FInitialDelay);
}

void TBalloonWindow::ShowPending()
{
    const QFontMetrics fm(font());
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics fb(bold);
    const QString title = FTitle.trimmed();
    const QRect textRect = fm.boundingRect(QRect(0, 0, 300, 2000), Qt::TextWordWrap, FText);
    int w = textRect.width();
    int h = textRect.height();
    if (!title.isEmpty() || FIcon) {
        w = std::max(w, (FIcon ? kIcon + 6 : 0) + fb.horizontalAdvance(title));
        h += std::max(kIcon, fb.height()) + 4;
    }
    resize(w + 2 * kPad + 1, h + 2 * kPad + kTail + 1);
    move(FTip.x() - 20, FTip.y());
    show();
    raise();
    update();
    FHideTimer.start(FAutoHideDelay);
}

void TBalloonWindow::Pop()
{
    FShowTimer.stop();
    FHideTimer.stop();
    hide();
}

void TBalloonWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(0.5, kTail + 0.5, width() - 1.0, height() - kTail - 1.0);
    QPainterPath path;
    path.addRoundedRect(body, 6, 6);
    QPainterPath tail;
    tail.moveTo(14, kTail + 1);
    tail.lineTo(20, 0.5);
    tail.lineTo(30, kTail + 1);
    tail.closeSubpath();
    path = path.united(tail);
    p.setPen(QPen(QColor(118, 118, 118), 1));
    p.setBrush(FBackground);
    p.drawPath(path);

    int y = kTail + kPad;
    int x = kPad;
    const QString title = FTitle.trimmed();
    if (!title.isEmpty() || FIcon) {
        if (FIcon) {
            const QStyle::StandardPixmap sp = FIcon == 1   ? QStyle::SP_MessageBoxInformation
                                              : FIcon == 2 ? QStyle::SP_MessageBoxWarning
                                                           : QStyle::SP_MessageBoxCritical;
            const QIcon icon = QApplication::style()->standardIcon(sp);
            p.drawPixmap(x, y, icon.pixmap(kIcon, kIcon));
            x += kIcon + 6;
        }
        QFont bold = font();
        bold.setBold(true);
        p.setFont(bold);
        p.setPen(FTextColor);
        p.drawText(QRect(x, y, width() - x - kPad, std::max(kIcon, QFontMetrics(bold).height())),
                   Qt::AlignVCenter | Qt::AlignLeft, title);
        y += std::max(kIcon, QFontMetrics(bold).height()) + 4;
        p.setFont(font());
    }
    p.setPen(FTextColor);
    p.drawText(QRect(kPad, y, width() - 2 * kPad, height() - y - kPad), Qt::TextWordWrap | Qt::AlignLeft, FText);
}

// ---- the grid's balloon services -------------------------------------------------------------

void TVerIvovavOzed::BalloonInit()
{
    TBalloonSettings& b = *FBalloon;
    if (b.Initialized)
        return;
    b.Initialized = true;
    // CreateToolTipWindow.
    FHToolTip = new TBalloonWindow(this);
    // AddToolTip (3, "ToolTipText"): the grid's client area is the one tool; its text comes on
    // demand from the cell under the mouse.
    FHToolTip->SetTitle(QStringLiteral("ToolTipText"), 3);
    if (b.InitialDelay != -1)
        FHToolTip->SetInitialDelay(b.InitialDelay);
    if (b.ReshowDelay != -1)
        FHToolTip->SetReshowDelay(b.ReshowDelay);
    if (b.AutoHideDelay != -1)
        FHToolTip->SetAutoHideDelay(b.AutoHideDelay);
    if (b.Transparency > 0)
        FHToolTip->SetLayeredAlpha(255 - b.Transparency);
    FHToolTip->SetColors(b.BackgroundColor == clNone ? QColor() : ToQColor(b.BackgroundColor),
                         b.TextColor == clNone ? QColor() : ToQColor(b.TextColor));
}

void TVerIvovavOzed::BalloonDone()
{
    if (FBalloon && FBalloon->Initialized) {
        delete FHToolTip;
        FHToolTip = nullptr;
    }
    if (FBalloon)
        FBalloon->Initialized = false;
    FBalloonCell = TPoint{-1, -1};
}

void TVerIvovavOzed::BalloonEnableChange()
{
    if (Loading())
        return;
    if (FBalloon->Enable())
        BalloonInit();
    else
        BalloonDone();
}

QWidget* TVerIvovavOzed::BalloonWindow() const { return FHToolTip; }

void TVerIvovavOzed::UpdateBalloon(int X, int Y)
{
    if (!FHToolTip || !FBalloon->Enable())
        return;
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c == FBalloonCell.X && r == FBalloonCell.Y)
        return;
    // Leaving the cell of a shown balloon closes it (the tooltip's pop message).
    FHToolTip->Pop();
    FBalloonCell = TPoint{c, r};
    if (c < 0 || r < 0)
        return;
    QString title, text;
    int icon = 1;
    if (!BalloonText(X, Y, title, text, icon) || text.trimmed().isEmpty())
        return;
    FHToolTip->SetTitle(title, icon);
    const TRect R = CellRect(c, r);
    FHToolTip->Popup(viewport()->mapToGlobal(QPoint(R.Left + 10, R.Bottom - 2)), text, false);
}
