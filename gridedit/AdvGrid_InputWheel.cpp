// TVerIvovavOzed: the mouse wheel (a notch moves the current row or scrolls), Ctrl with the
// wheel zooms the cells, and the middle button starts wheel panning, in which the pointer's
// offset from the pressed point moves the selection or scrolls on every tick of a 10 ms timer
// with a pointer that shows the direction.
#include "grid/AdvGrid.h"

#include <QBitmap>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <map>

namespace {

// A picture of the resources with the colour of its top-left pixel made transparent.
QPixmap KeyedPixmap(const QString& Name)
{
    static std::map<QString, QPixmap> cache;
    auto it = cache.find(Name);
    if (it != cache.end())
        return it->second;
    QImage img(QStringLiteral(":/assets/%1.bmp").arg(Name));
    QPixmap pm;
    if (!img.isNull()) {
        img = img.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = img.pixel(0, 0);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) == key)
                    img.setPixel(x, y, qRgba(0, 0, 0, 0));
        pm = QPixmap::fromImage(img);
    }
    cache.emplace(Name, pm);
    return pm;
}

// Pointer resource for a vertical direction V (-1 up, +1 down) and horizontal H (-1 left, +1 right).
int PanPointerFor(int V, int H)
{
    if (V == 0)
        return H == 0 ? 8000 : (H < 0 ? 8002 : 8003);
    if (V > 0)
        return H == 0 ? 8001 : (H > 0 ? 8007 : 8008);
    return H == 0 ? 8004 : (H > 0 ? 8005 : 8006);
}

} // namespace

// ---- zoom ------------------------------------------------------------------------------------

void TVerIvovavOzed::Zoom(int x)
{
    const int factor = x + ZoomFactor();
    if (factor < -10 || factor > 10)
        return;
    const bool lock = ScrollLock();
    SetScrollLock(true);
    for (int c = 0; c < ColCount(); ++c)
        if (ColWidths(c) > 0 && ColWidths(c) + x > 0)
            SetColWidths(c, ColWidths(c) + x);
    for (int r = 0; r < RowCount(); ++r)
        if (RowHeights(r) > 0 && RowHeights(r) + x > 0)
            SetRowHeights(r, RowHeights(r) + x);
    SetZoomFactor(factor);
    SetScrollLock(lock);
    if (ScrollProportional()) {
        UpdateVScrollBar();
        UpdateHScrollBar();
    }
}

// ---- wheel notches ---------------------------------------------------------------------------

bool TVerIvovavOzed::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (!FWheelMsg || FWheelPan)
        return TBaseGrid::DoMouseWheel(Shift, WheelDelta, MousePos);
    // Step 2.1: the platform's wheel notification first; a handled one goes the standard way.
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (handled)
        return true;
    FWheelRestEx += WheelDelta;
    while (FWheelRestEx >= 120 || FWheelRestEx <= -120) {
        const int notch = FWheelRestEx > 0 ? 120 : -120;
        FWheelRestEx -= notch;
        WheelNotch(notch, Shift, MousePos);
    }
    return true;
}

void TVerIvovavOzed::WheelNotch(int Delta, TShiftState Shift, TPoint MousePos)
{
    const TGridRect startSel = Selection();
    const bool towards = Delta < 0;

    // Step 2.2: Ctrl zooms.
    if ((Shift & ssCtrl) && IntelliZoom()) {
        Zoom(towards ? FWheelScrl : -FWheelScrl);
        AutoSizeCells(true, 4, 4);
        return;
    }
    // Step 2.3.
    if (!EnableWheel() || (FixedRowAlways() && RowCount() - FixedRows() <= 1))
        return;
    // Step 2.4.
    int N = FMouseActions->WheelIncrement() > 0 ? FMouseActions->WheelIncrement() : FWheelScrl;
    int R = Row();
    const bool scroll = FMouseActions->WheelAction() == waScroll;
    // Step 2.5.
    if (scroll) {
        if (towards) {
            if (TopRow() < RowCount() - VisibleRowCount())
                SetTopRow(std::min(TopRow() + N, std::max(FixedRows(), MaxTopRow())));
        } else {
            if (TopRow() - N < FixedRows())
                N = TopRow() - FixedRows();
            if (TopRow() > FixedRows())
                SetTopRow(TopRow() - N);
        }
    } else {
        R = towards ? Row() + N : Row() - N;
    }
    // Step 2.6.
    R = std::max(R, FixedRows());
    R = std::min(R, RowCount() - FixedFooters() - 1);
    // Step 2.7.
    const int lastCol = ColCount() - 1;
    if (Col() > lastCol && Row() > RowCount() - 1) {
        SetCol(lastCol);
        SetRow(RowCount() - 1);
    } else if (Col() > lastCol) {
        SetCol(lastCol);
    } else if (Col() < FixedCols() && FixedCols() < ColCount()) {
        SetCol(FixedCols());
    }
    // Step 2.8.
    int moved = 0;
    if (R >= 0 && R < RowCount()) {
        const int left = LeftCol();
        BeginUpdate();
        if (FMouseActions->DisjunctRowSelect() && !scroll)
            ClearRowSelect();
        moved = R - Row();
        if (!scroll) {
            SetRow(R);
            if (Row() != R) {
                const int half = int(std::lrint(double(R - Row()) / 2.0));
                if (half != 0) {
                    const int target = Row() + half;
                    if (target >= FixedRows() && target < RowCount())
                        SetRow(target);
                }
                if (Delta != 0 && TopRow() > FixedRows())
                    SetTopRow(TopRow() - 1);
            }
        }
        if ((Options() & goRowSelect) && FNavigation->KeepHorizScroll())
            SetLeftCol(left);
        EndUpdate();
    }
    // Step 2.9.
    bool handled = true;
    DoWheelMoved(moved, handled);
    // Step 2.10.
    if ((FMouseActions->WheelIncrement() != 0 || FMouseActions->DisjunctRowSelect()) && handled) {
        TShiftState shift;
        TPoint pos{0, 0};
        if (FMouseActions->DisjunctRowSelect()) {
            shift = Shift;
            pos = MousePos;
        }
        bool h = false;
        if (towards) {
            if (OnMouseWheelDown)
                OnMouseWheelDown(this, shift, pos, h);
        } else if (OnMouseWheelUp) {
            OnMouseWheelUp(this, shift, pos, h);
        }
    }
    // Step 2.11.
    const TGridRect s = Selection();
    if (!(s == startSel))
        SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
    // Step 2.12.
    if (SearchFooter().Visible() && TopRow() >= MaxTopRow())
        KeepLastRowAboveFooter();
}

void TVerIvovavOzed::DoWheelMoved(int, bool&) {}

bool TVerIvovavOzed::HandleWheelStep(bool Down, TShiftState Shift, TPoint MousePos)
{
    if (FMouseActions->WheelAction() == waScroll || !EnableWheel()) {
        bool handled = false;
        if (Down && OnMouseWheelDown)
            OnMouseWheelDown(this, Shift, MousePos, handled);
        else if (!Down && OnMouseWheelUp)
            OnMouseWheelUp(this, Shift, MousePos, handled);
        return handled;
    }
    const bool direct = FMouseActions->DirectEdit();
    FMouseActions->SetDirectEdit(false);
    bool result = true;
    if ((Options() & goRowSelect) && FNavigation->KeepHorizScroll()) {
        BeginUpdate();
        const int left = LeftCol();
        result = Down ? TBaseGrid::DoMouseWheelDown(Shift, MousePos) : TBaseGrid::DoMouseWheelUp(Shift, MousePos);
        SetLeftCol(left);
        EndUpdate();
    } else {
        const bool editing = EditMode;
        if (Down)
            result = TBaseGrid::DoMouseWheelDown(Shift, MousePos);
        else if (Row() < RowCount() && Col() < ColCount())
            result = TBaseGrid::DoMouseWheelUp(Shift, MousePos);
        if (editing)
            SetFocus();
    }
    FMouseActions->SetDirectEdit(direct);
    return result;
}

bool TVerIvovavOzed::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    return HandleWheelStep(true, Shift, MousePos);
}

bool TVerIvovavOzed::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    return HandleWheelStep(false, Shift, MousePos);
}

// ---- wheel panning ---------------------------------------------------------------------------

void TVerIvovavOzed::SetPanPointer(int Number)
{
    FPanPointer = Number;
    const QPixmap pm = KeyedPixmap(QStringLiteral("PAN%1").arg(Number));
    if (pm.isNull())
        viewport()->setCursor(Qt::SizeAllCursor);
    else
        viewport()->setCursor(QCursor(pm, 16, 16));
}

void TVerIvovavOzed::StartPanning(int X, int Y)
{
    if (!FWheelMsg || FWheelPan || IntelliPan() == ipNone || RowCount() <= FixedRows())
        return;
    FPanPrevCursor = viewport()->cursor();
    FWheelPan = true;
    SetPanPointer(8000);
    if (!FPanTimer) {
        FPanTimer = new QTimer(this);
        FPanTimer->setInterval(10);
        QObject::connect(FPanTimer, &QTimer::timeout, this, [this] { PanningStep(); });
    }
    FPanTimer->start();
    FWheelPanPos = TPoint{X, Y};
    FPanMouse = TPoint{X, Y};
    viewport()->grabMouse();
    FPanPrevHints = ShowHint();
    SetShowHint(false);
    DrawPanOrigin();
}

void TVerIvovavOzed::EndPanning()
{
    if (!FWheelPan)
        return;
    viewport()->releaseMouse();
    if (FPanTimer)
        FPanTimer->stop();
    viewport()->setCursor(FPanPrevCursor);
    SetShowHint(FPanPrevHints);
    FWheelPan = false;
    InvalidatePanOrigin();
}

void TVerIvovavOzed::DrawPanOrigin()
{
    const TIntelliPan pan = IntelliPan();
    const QString name = pan == ipBoth ? QStringLiteral("INTLI1")
                         : pan == ipHorizontal ? QStringLiteral("INTLI2")
                                               : QStringLiteral("INTLI3");
    if (!FPanMark) {
        auto* mark = new QLabel(viewport());
        mark->setAttribute(Qt::WA_TransparentForMouseEvents);
        mark->setAttribute(Qt::WA_TranslucentBackground);
        mark->setObjectName(QStringLiteral("PanOrigin"));
        FPanMark = mark;
    }
    const QPixmap pm = KeyedPixmap(name);
    static_cast<QLabel*>(FPanMark)->setPixmap(pm);
    FPanMark->resize(pm.isNull() ? QSize(25, 25) : pm.size());
    FPanMark->move(FWheelPanPos.X, FWheelPanPos.Y);
    FPanMark->show();
    FPanMark->raise();
}

void TVerIvovavOzed::InvalidatePanOrigin()
{
    viewport()->update(QRect(FWheelPanPos.X, FWheelPanPos.Y, 32, 32));
    if (FPanMark && !FWheelPan)
        FPanMark->hide();
}

void TVerIvovavOzed::PanningStep()
{
    if (!FWheelMsg || !FWheelPan || IntelliPan() == ipNone)
        return;
    const TGridRect startSel = Selection();
    // Step 3.1.
    const TPoint P = FPanMouse;
    int H = 0, V = 0;
    if (P.X < FWheelPanPos.X - 5)
        H = -1;
    else if (P.X > FWheelPanPos.X + 5)
        H = 1;
    if (P.Y < FWheelPanPos.Y - 5)
        V = -1;
    else if (P.Y > FWheelPanPos.Y + 5)
        V = 1;
    if (IntelliPan() == ipHorizontal)
        V = 0;
    if (IntelliPan() == ipVertical)
        H = 0;
    // Step 3.2.
    const int pointer = PanPointerFor(V, H);
    // Step 3.3.
    const int lastRow = RowCount() - FixedFooters() - 1;
    const int lastCol = ColCount() - FixedRightCols() - 1;
    if (Row() > lastRow && lastRow >= FixedRows())
        SetRow(lastRow);
    if (Row() < FixedRows() && FixedRows() < RowCount())
        SetRow(FixedRows());
    if (Col() > lastCol && lastCol >= FixedCols())
        SetCol(lastCol);
    if (Col() < FixedCols() && FixedCols() < ColCount())
        SetCol(FixedCols());
    // Step 3.4.
    auto outside = [this](int c, int r) {
        return c < LeftCol() || c >= LeftCol() + VisibleColCount() || r < TopRow() ||
               r >= TopRow() + VisibleRowCount();
    };
    if (FMouseActions->WheelAction() == waMoveSelection) {
        if (H == -1 && Col() > FixedCols()) {
            if (outside(Col() - 1, Row()))
                InvalidatePanOrigin();
            SetCol(Col() - 1);
        }
        if (H == 1 && Col() < lastCol) {
            if (outside(Col() + 1, Row()))
                InvalidatePanOrigin();
            SetCol(Col() + 1);
        }
        if (V == -1 && Row() > FixedRows()) {
            if (outside(Col(), Row() - 1))
                InvalidatePanOrigin();
            SetRow(Row() - 1);
        }
        if (V == 1 && Row() < lastRow) {
            if (outside(Col(), Row() + 1))
                InvalidatePanOrigin();
            SetRow(Row() + 1);
        }
    } else {
        if (H == -1 && LeftCol() > FixedCols()) {
            InvalidatePanOrigin();
            SetLeftCol(LeftCol() - 1);
        }
        if (H == 1 && LeftCol() < MaxLeftCol()) {
            InvalidatePanOrigin();
            SetLeftCol(LeftCol() + 1);
        }
        if (V == -1 && TopRow() > FixedRows()) {
            InvalidatePanOrigin();
            SetTopRow(TopRow() - 1);
        }
        if (V == 1 && TopRow() < MaxTopRow()) {
            InvalidatePanOrigin();
            SetTopRow(TopRow() + 1);
        }
    }
    // Steps 3.5 and 3.6.
    SetPanPointer(pointer);
    DrawPanOrigin();
    const TGridRect s = Selection();
    if (!(s == startSel))
        SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
}
