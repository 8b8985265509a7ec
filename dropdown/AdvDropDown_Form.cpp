// The pop-up of the drop-down edit: the form with its header and footer strips, and the protocol
// that opens and closes it (keys, button clicks, deactivation).
#include "dropdown/AdvDropDown_Edit.h"

#include "platform/Services.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHideEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

using namespace platform;

// ---- the pop-up form ---------------------------------------------------------------------------

TDropDownForm::TDropDownForm(QWidget* AOwner) : QWidget(AOwner, Qt::Popup | Qt::FramelessWindowHint)
{
    // The shadow and the cancel rule start on; the drop-down sets both before each opening.
    FShadow = true;
    FCancelOnDeActivate = true;
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TDropDownForm::~TDropDownForm()
{
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
        }
    }
}

TRect TDropDownForm::AdjustedClientRect() const
{
    TRect r(0, 0, width(), height());
    if (FAdvDropDown)
        InflateRect(r, -FAdvDropDown->DropDownBorderWidth(), -FAdvDropDown->DropDownBorderWidth());
    return r;
}

int TDropDownForm::HitTest(int X, int Y) const
{
    return FSizeable && X > width() - 10 && Y > height() - 10 ? 17 : 0;
}

void TDropDownForm::InitializeAndUpdate()
{
    if (!FAdvDropDown)
        return;
    TAdvCustomDropDown* dd = FAdvDropDown;
    const TRect cr = AdjustedClientRect();
    // Header at the top of the client area: created the first time it is wanted, never freed.
    if (FHeader) {
        FHeader->SetDropDown(dd);
        FHeader->UpdateButtons();
        FHeader->setVisible(dd->DropDownHeader().Visible());
    } else if (dd->DropDownHeader().Visible()) {
        FHeader = new TAdvHeader(this);
        FHeader->setGeometry(cr.Left, cr.Top, std::max(0, cr.Width()), dd->DropDownHeader().Height());
        FHeader->SetDropDown(dd);
        FHeader->UpdateButtons();
        FHeader->show();
    }
    if (FHeader) {
        FHeader->OnDrawBackGround = dd->OnDrawHeader;
        FHeader->OnGetText = dd->OnGetHeaderText;
    }
    if (FFooter) {
        FFooter->SetDropDown(dd);
        FFooter->UpdateButtons();
        FFooter->setVisible(dd->DropDownFooter().Visible());
    } else if (dd->DropDownFooter().Visible()) {
        FFooter = new TAdvFooter(this);
        FFooter->setGeometry(cr.Left, cr.Bottom - dd->DropDownFooter().Height(), std::max(0, cr.Width()),
                             dd->DropDownFooter().Height());
        FFooter->SetDropDown(dd);
        FFooter->UpdateButtons();
        FFooter->show();
    }
    if (FFooter) {
        FFooter->OnDrawBackGround = dd->OnDrawFooter;
        FFooter->OnGetText = dd->OnGetFooterText;
    }
    UpdateSize();
    LayoutChildren();
}

void TDropDownForm::LayoutChildren()
{
    TRect r = AdjustedClientRect();
    if (FHeader && FHeader->isVisibleTo(this)) {
        const int h = FHeader->height();
        FHeader->setGeometry(r.Left, r.Top, std::max(0, r.Width()), h);
        r.Top += h;
    }
    if (FFooter && FFooter->isVisibleTo(this)) {
        const int h = FFooter->height();
        FFooter->setGeometry(r.Left, r.Bottom - h, std::max(0, r.Width()), h);
        r.Bottom -= h;
    }
    // The control fills what is left once the pop-up shows; until then its own size is the
    // content size the pop-up is measured by.
    if (FAdvDropDown && isVisible()) {
        QWidget* c = FAdvDropDown->Control();
        if (c && c->parentWidget() == this)
            c->setGeometry(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
    }
}

void TDropDownForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutChildren();
    update();
}

void TDropDownForm::PaintBackground(TCanvas& Canvas)
{
    if (!FAdvDropDown)
        return;
    const TAdvCustomDropDown* dd = FAdvDropDown;
    const int bw = dd->DropDownBorderWidth();
    TRect R = AdjustedClientRect();
    if (dd->DropDownColor() != clNone && dd->DropDownColorTo() != clNone) {
        DrawDropDownGradient(Canvas, dd->DropDownColor(), dd->DropDownColorTo(), 80, R,
                             dd->DropDownGradient() == gdHorizontal);
    } else if (dd->DropDownColor() != clNone) {
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(dd->DropDownColor());
        Canvas.FillRect(R);
    }
    if (bw > 0 && dd->DropDownBorderColor() != clNone) {
        R = TRect(bw / 2, bw / 2, width(), height());
        Canvas.Pen().SetStyle(psSolid);
        Canvas.Pen().SetWidth(bw);
        Canvas.Pen().SetColor(dd->DropDownBorderColor());
        Canvas.Brush().SetStyle(bsClear);
        Canvas.Rectangle(R);
        Canvas.Pen().SetWidth(1);
    }
}

void TDropDownForm::paintEvent(QPaintEvent*)
{
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        if (!FAdvDropDown) {
            canvas.Brush().SetColor(clBtnFace);
            canvas.FillRect(TRect(0, 0, width(), height()));
            return;
        }
        PaintBackground(canvas);
    } catch (...) {
    }
}

void TDropDownForm::Deactivated(QWidget* other)
{
    if (FBlockActivate || !isVisible())
        return;
    FDeActivate = GetTickCount();
    // The activation moving to one of the pop-up's own windows keeps it open.
    for (QWidget* w = other ? other->parentWidget() : nullptr; w; w = w->parentWidget())
        if (w == this)
            return;
    if (FAdvDropDown)
        FAdvDropDown->DoHideDropDown(FCancelOnDeActivate);
    else
        hide();
}

void TDropDownForm::closeEvent(QCloseEvent* event)
{
    // Qt closes a popup on a press outside it or when the application loses the activation:
    // that is the pop-up losing the activation.
    if (FBlockActivate) {
        event->ignore();
        return;
    }
    try {
        Deactivated(QApplication::activePopupWidget() != this ? QApplication::activePopupWidget() : nullptr);
    } catch (...) {
    }
    event->accept();
}

void TDropDownForm::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous())
        return;
    if (OnHide) {
        try {
            OnHide(this);
        } catch (...) {
        }
    }
}

void TDropDownForm::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    if (event == FForwardedKey) {
        FForwardedKey = nullptr;
        return; // the control has handed this key on already
    }
    try {
        QPointer<TDropDownForm> self(this);
        const TKeyStroke stroke = TranslateKey(event);
        if (stroke.Key != 0 && OnKeyDown) {
            Word k = stroke.Key;
            OnKeyDown(k, stroke.Shift);
        }
        if (self && !stroke.Char.isNull() && OnKeyPress) {
            QChar c = stroke.Char;
            OnKeyPress(c);
        }
    } catch (...) {
    }
}

void TDropDownForm::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    try {
        const TKeyStroke stroke = TranslateKey(event);
        if (stroke.Key != 0 && OnKeyUp) {
            Word k = stroke.Key;
            OnKeyUp(k, stroke.Shift);
        }
    } catch (...) {
    }
}

bool TDropDownForm::focusNextPrevChild(bool)
{
    // Tab is a key of the drop-down, not a focus move inside the pop-up.
    return false;
}

void TDropDownForm::wheelEvent(QWheelEvent* event)
{
    event->accept();
    try {
        bool handled = false;
        const QPoint p = event->position().toPoint();
        const TPoint pos(p.x(), p.y());
        const TShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
        if (event->angleDelta().y() < 0) {
            if (OnMouseWheelDown)
                OnMouseWheelDown(shift, pos, handled);
        } else if (event->angleDelta().y() > 0) {
            if (OnMouseWheelUp)
                OnMouseWheelUp(shift, pos, handled);
        }
    } catch (...) {
    }
}

void TDropDownForm::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (!rect().contains(p)) {
        // A press outside: Qt's popup handling closes the pop-up (and replays the press).
        QWidget::mousePressEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton && HitTest(p.x(), p.y()) == 17)
        BeginSizing(event->globalPosition().toPoint());
    // The form's own surface neither activates nor moves.
    event->accept();
}

void TDropDownForm::BeginSizing(QPoint globalPos)
{
    FSizing = true;
    FSizeStart = globalPos;
    FSizeStartSize = size();
}

void TDropDownForm::SizeTo(QPoint globalPos)
{
    if (!FSizing)
        return;
    const QPoint d = globalPos - FSizeStart;
    resize(std::max(minimumWidth(), FSizeStartSize.width() + d.x()),
           std::max(minimumHeight(), FSizeStartSize.height() + d.y()));
    if (OnSizing) {
        try {
            OnSizing(this);
        } catch (...) {
        }
    }
}

bool TDropDownForm::ForwardToEdit(QMouseEvent* event)
{
    // A drag begun on the edit (the press that opened the pop-up, say) goes on reaching the
    // edit although the open pop-up holds the mouse.
    if (FSizing || !FAdvDropDown || !FAdvDropDown->EditMouseDown())
        return false;
    TAdvCustomDropDown* edit = FAdvDropDown;
    const QPointF global = event->globalPosition();
    QMouseEvent forwarded(event->type(), edit->mapFromGlobal(global), edit->window()->mapFromGlobal(global), global,
                          event->button(), event->buttons(), event->modifiers());
    QCoreApplication::sendEvent(edit, &forwarded);
    return true;
}

void TDropDownForm::mouseMoveEvent(QMouseEvent* event)
{
    if (ForwardToEdit(event))
        return;
    SizeTo(event->globalPosition().toPoint());
}

void TDropDownForm::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (ForwardToEdit(event))
        return;
    FSizing = false;
}

// ---- screens -----------------------------------------------------------------------------------

namespace {
TDropDownScreenQuery& ScreenQuery()
{
    static TDropDownScreenQuery query;
    return query;
}
} // namespace

void SetDropDownScreenQuery(TDropDownScreenQuery query)
{
    ScreenQuery() = std::move(query);
}

std::vector<TDropDownScreen> DropDownScreens()
{
    if (ScreenQuery())
        return ScreenQuery()();
    std::vector<TDropDownScreen> result;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        result.push_back({primary->geometry(), primary->availableGeometry()});
    for (QScreen* s : QGuiApplication::screens())
        if (s != primary)
            result.push_back({s->geometry(), s->availableGeometry()});
    return result;
}

// ---- the opening and closing protocol of the drop-down -----------------------------------------

void TAdvCustomDropDown::CreateDropDownForm()
{
    if (FDropDownForm)
        return;
    FDropDownForm = new TDropDownForm(this);
    FDropDownForm->SetAdvDropDown(this);
    FDropDownForm->setVisible(false);
    FDropDownForm->resize(std::max(0, FDropDownWidth), std::max(0, FDropDownHeight));
    FDropDownForm->OnHide = [this](QObject*) { DropDownClosed(); };
    FDropDownForm->OnKeyPress = [this](QChar& Key) { FormKeyPress(Key); };
    FDropDownForm->OnKeyDown = [this](Word& Key, TShiftState Shift) { FormKeyDown(Key, Shift); };
    FDropDownForm->OnKeyUp = [this](Word& Key, TShiftState Shift) { FormKeyUp(Key, Shift); };
    FDropDownForm->OnMouseWheelDown = [this](TShiftState Shift, TPoint MousePos, bool& Handled) {
        WheelSelectNext(Shift, MousePos, Handled);
    };
    FDropDownForm->OnMouseWheelUp = [this](TShiftState Shift, TPoint MousePos, bool& Handled) {
        WheelSelectPrevious(Shift, MousePos, Handled);
    };
    FDropDownForm->OnDestroy = [this](QObject*) { DropDownFormDestroyed(); };
    FDropDownForm->OnSizing = [this](QObject*) { PrepareDropDownContent(); };
}

void TAdvCustomDropDown::SetupDropDownControl()
{
    if (!FDropDownForm || !FControl)
        return;
    if (FControl->parentWidget() != FDropDownForm)
        FControl->setParent(FDropDownForm);
    const int top = FDropDownHeader->Visible() ? FDropDownHeader->Height() + 2 : FDropDownBorderWidth;
    FControl->move(FControl->x(), top);
    FControl->show();
    if (FDropDownForm->isVisible())
        FDropDownForm->LayoutChildren();
}

void TAdvCustomDropDown::UpdateDropDownSize()
{
    if (!FDropDownForm)
        return;
    const bool controlShown = FControl && !FControl->isHidden();
    int w;
    if (FDropDownWidth > 0)
        w = FDropDownWidth;
    else if (controlShown)
        w = FControl->width();
    else
        w = width();
    int h;
    if (FDropDownHeight > 0) {
        h = FDropDownHeight;
    } else {
        h = 2 * FDropDownBorderWidth;
        if (FDropDownHeader->Visible())
            h += FDropDownHeader->Height();
        if (FDropDownFooter->Visible())
            h += FDropDownFooter->Height();
        if (controlShown)
            h += FControl->height();
    }
    FDropDownForm->resize(std::max(0, w), std::max(0, h));
}

void TAdvCustomDropDown::BeforeDropDown()
{
    if (OnBeforeDropDown)
        OnBeforeDropDown(this);
}

void TAdvCustomDropDown::FocusDropDownControl()
{
    QWidget* c = FFocusControl;
    if (c && c->focusPolicy() != Qt::NoFocus && c->isEnabled() && c->isVisible() && !c->hasFocus())
        c->setFocus(Qt::PopupFocusReason);
}

void TAdvCustomDropDown::DoShowDropDown()
{
    if (!FDropDownForm || FDropDownForm->isVisible() || !isEnabled() || isReadOnly())
        return;
    QPointer<TAdvCustomDropDown> self(this);
    BeforeDropDown();
    if (!self || !FDropDownForm)
        return;
    FDropDownForm->SetShadow(FDropDownShadow);
    FDropDownForm->InitializeAndUpdate();
    // The drop shadow is the window manager's business here; the setting is kept for descendants.
    FDropDownForm->move(x(), y());
    UpdateDropDownSize();
    SetupDropDownControl();
    FDropDownForm->setMinimumSize(80, 50);
    // Keys typed in the control also reach the edit.
    if (FControl) {
        FControl->removeEventFilter(this);
        FControl->installEventFilter(this);
    }
    // The screen position of the edit's top-left corner.
    const QPoint P = parentWidget() ? parentWidget()->mapToGlobal(pos()) : mapToGlobal(QPoint(0, 0));
    // The size the user gave the pop-up last time is its size from here on, placement included.
    int W = FUserDropDownWidth != -1 ? FUserDropDownWidth : FDropDownForm->width();
    int H = FUserDropDownHeight != -1 ? FUserDropDownHeight : FDropDownForm->height();
    FDropDownForm->resize(std::max(W, 0), std::max(H, 0));
    const std::vector<TDropDownScreen> screens = DropDownScreens();
    const int screenHeight = screens.empty() ? 0 : screens.front().Geometry.height();
    int left = P.x(), top;
    bool below;
    switch (FDropPosition) {
    case dpDown: below = true; break;
    case dpUp: below = false; break;
    default: below = screenHeight > P.y() + H; break;
    }
    top = below ? P.y() + height() - 1 : P.y() - H;
    FDropDownForm->move(left, top);

    bool acceptdrop = true;
    if (OnDropDown)
        OnDropDown(this, acceptdrop);
    if (!self || !FDropDownForm || !acceptdrop)
        return;

    // Keep the right edge on the work area of the monitor nearest to the edit (wherever that
    // monitor lies, left of or above the primary one too).
    const TDropDownScreen* nearest = nullptr;
    int best = -1;
    for (const TDropDownScreen& s : screens) {
        const QRect g = s.Geometry;
        const int dx = std::max({g.left() - P.x(), 0, P.x() - (g.left() + g.width() - 1)});
        const int dy = std::max({g.top() - P.y(), 0, P.y() - (g.top() + g.height() - 1)});
        const long long d = (long long)dx * dx + (long long)dy * dy;
        if (best < 0 || d < best) {
            best = int(std::min<long long>(d, 0x7FFFFFFF));
            nearest = &s;
        }
    }
    if (nearest) {
        const QRect wa = nearest->WorkArea;
        const int waRight = wa.x() + wa.width();
        if (left + W > waRight && left < waRight)
            left -= left + W - waRight;
    }
    const int X = left, Y = top;
    int Hh = H;
    AdjustDropDownHeight(Hh);
    FDroppedDown = true;
    FDropDownForm->setGeometry(X, Y, std::max(W, 80), std::max(Hh, 50));
    FDropDownForm->show();
    FDropDownForm->LayoutChildren();
    FDropDownForm->raise();
    FDropDownForm->activateWindow();
    FocusDropDownControl();
}

void TAdvCustomDropDown::DoHideDropDown(bool Cancelled)
{
    if (!FDropDownForm || !FDropDownForm->isVisible())
        return;
    QPointer<TAdvCustomDropDown> self(this);
    if (OnBeforeDropUp)
        OnBeforeDropUp(this);
    if (!self || !FDropDownForm)
        return;
    FUserDropDownWidth = FDropDownForm->width();
    FUserDropDownHeight = FDropDownForm->height();
    FDropDownForm->hide(); // its hide hook runs DropDownClosed
    QToolTip::hideText();
    if (!self)
        return;
    if (Cancelled)
        SetText(FOldText);
    if (OnDropUp)
        OnDropUp(this, Cancelled);
}

void TAdvCustomDropDown::DropDownClosed()
{
    FDroppedDown = false;
    if (FDestroying)
        return;
    if (focusPolicy() != Qt::NoFocus && isEnabled() && isVisible() && QApplication::focusWidget() != this)
        setFocus(Qt::PopupFocusReason);
}

void TAdvCustomDropDown::ShowFromClick()
{
    if (!FDropDownForm || FDropDownForm->isVisible())
        return;
    // The click that closed the pop-up (by taking its activation) must not open it again.
    if (GetTickCount() - FDropDownForm->DeActivateTime() > ReopenGuard)
        DoShowDropDown();
}

// ---- keys and wheel handed on from the pop-up and its control ----------------------------------

void TAdvCustomDropDown::WheelSelectNext(TShiftState, TPoint, bool&)
{
    SelectNextValue();
}

void TAdvCustomDropDown::WheelSelectPrevious(TShiftState, TPoint, bool&)
{
    SelectPreviousValue();
}

void TAdvCustomDropDown::FormKeyPress(QChar& Key)
{
    PerformChar(Key, ShiftStateOf(QApplication::keyboardModifiers()));
}

void TAdvCustomDropDown::FormKeyDown(Word& Key, TShiftState Shift)
{
    PerformKeyDown(Key, Shift);
}

void TAdvCustomDropDown::FormKeyUp(Word&, TShiftState)
{
}

void TAdvCustomDropDown::ControlKeyDown(Word& Key, TShiftState Shift)
{
    PerformKeyDown(Key, Shift);
}

void TAdvCustomDropDown::ControlKeyUp(Word&, TShiftState)
{
}

void TAdvCustomDropDown::ControlKeyPress(QChar& Key)
{
    PerformChar(Key, ShiftStateOf(QApplication::keyboardModifiers()));
}

bool TAdvCustomDropDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FControl && event->type() == QEvent::KeyPress && FDroppedDown) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (FDropDownForm)
            FDropDownForm->FForwardedKey = ke;
        try {
            QPointer<TAdvCustomDropDown> self(this);
            const TKeyStroke stroke = TranslateKey(ke);
            if (stroke.Key != 0) {
                Word k = stroke.Key;
                ControlKeyDown(k, stroke.Shift);
            }
            if (self && !stroke.Char.isNull()) {
                QChar c = stroke.Char;
                ControlKeyPress(c);
            }
        } catch (...) {
        }
        // The control still handles the key itself.
        return false;
    }
    // The key's press is over once its release comes: a later key at the same address is new.
    if (watched == FControl && event->type() == QEvent::KeyRelease && FDropDownForm)
        FDropDownForm->FForwardedKey = nullptr;
    return QLineEdit::eventFilter(watched, event);
}
