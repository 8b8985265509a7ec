#include "grid/AdvCheckBox.h"

#include "grid/AdvGridButton.h"
#include "platform/Keys.h"
#include "platform/PlatformInfo.h"
#include "platform/Property.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TAdvCheckBox::TAdvCheckBox(QWidget* AOwner) : QWidget(AOwner)
{
    resize(98, 20);
    FIsWinXP = platform::PlatformInfo().IsWinXPOrLater();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

TAdvCheckBox::~TAdvCheckBox() = default;

void TAdvCheckBox::Toggle()
{
    if (!FReadOnly)
        SetChecked(!Checked());
}

void TAdvCheckBox::Click()
{
    if (OnClick)
        OnClick(this);
}

void TAdvCheckBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    setGeometry(ALeft, ATop, AWidth, AHeight);
    if (FTransparent) {
        FBkgBmp.SetImage(QImage());
        update();
    }
}

void TAdvCheckBox::SetButtonVertAlign(TTextLayout Value)
{
    if (platform::Change(FBtnVAlign, Value))
        update();
}

void TAdvCheckBox::SetCaption(const QString& Value)
{
    FCaption = Value;
    setWindowTitle(Value);
    update();
}

void TAdvCheckBox::SetChecked(bool Value)
{
    SetState(Value ? cbChecked : cbUnchecked);
    update();
}

void TAdvCheckBox::SetTransparent(bool Value)
{
    if (platform::Change(FTransparent, Value))
        FBkgBmp.SetImage(QImage());
    update();
}

void TAdvCheckBox::InvalidateBox()
{
    if (FAlignment == taRightJustify)
        update(width() - 20, 0, 20, height());
    else
        update(0, 0, 20, height());
}

// ---- mouse and keys --------------------------------------------------------------------------

void TAdvCheckBox::MouseDown(Qt::MouseButton Button, int, int)
{
    if (Button != Qt::LeftButton || !isEnabled())
        return;
    setFocus();
    FMouseDown = true;
    FDown = true;
    InvalidateBox();
}

void TAdvCheckBox::MouseMove(int X, int Y)
{
    if (!FMouseDown)
        return;
    const bool inside = X >= 0 && X < width() && Y >= 0 && Y < height();
    if (inside != FDown) {
        FDown = inside;
        InvalidateBox();
    }
}

void TAdvCheckBox::MouseUp(Qt::MouseButton, int X, int Y)
{
    const bool began = FMouseDown;
    FMouseDown = false;
    FDown = false;
    InvalidateBox();
    const bool inside = X >= 0 && X <= width() && Y >= 0 && Y <= height();
    // The press took the focus; a window that is not active cannot give it, so the press that
    // began here is what counts.
    if (inside && began) {
        Toggle();
        Click();
    }
}

void TAdvCheckBox::KeyDown(int Key)
{
    if (Key == VK_RETURN && FReturnIsTab) {
        focusNextChild();
        return;
    }
    if (Key == VK_SPACE) {
        FDown = true;
        InvalidateBox();
    }
}

void TAdvCheckBox::KeyUp(int Key)
{
    if (Key == VK_SPACE && FDown) {
        FDown = false;
        InvalidateBox();
        Toggle();
        Click();
    }
}

void TAdvCheckBox::mousePressEvent(QMouseEvent* e)
{
    MouseDown(e->button(), int(e->position().x()), int(e->position().y()));
}

void TAdvCheckBox::mouseMoveEvent(QMouseEvent* e) { MouseMove(int(e->position().x()), int(e->position().y())); }

void TAdvCheckBox::mouseReleaseEvent(QMouseEvent* e)
{
    MouseUp(e->button(), int(e->position().x()), int(e->position().y()));
}

void TAdvCheckBox::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Space)
        KeyDown(VK_SPACE);
    else if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        KeyDown(VK_RETURN);
    else
        QWidget::keyPressEvent(e);
}

void TAdvCheckBox::keyReleaseEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat())
        KeyUp(VK_SPACE);
    else
        QWidget::keyReleaseEvent(e);
}

void TAdvCheckBox::focusInEvent(QFocusEvent*)
{
    FFocused = true;
    update();
}

void TAdvCheckBox::focusOutEvent(QFocusEvent*)
{
    FFocused = false;
    update();
}

void TAdvCheckBox::enterEvent(QEnterEvent*)
{
    FHot = true;
    InvalidateBox();
}

void TAdvCheckBox::leaveEvent(QEvent*)
{
    FHot = false;
    InvalidateBox();
}

void TAdvCheckBox::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(e);
}

// ---- painting --------------------------------------------------------------------------------

void TAdvCheckBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TCanvas canvas(&painter);
    try {
        Paint(canvas);
    } catch (const std::exception&) {
    }
}

void TAdvCheckBox::Paint(TCanvas& ACanvas)
{
    const int w = width(), h = height();
    if (!FTransparent) {
        ACanvas.Brush().SetColor(FColor);
        ACanvas.FillRect(TRect(0, 0, w, h));
    }
    ACanvas.SetFont(FFont);
    // Without visual styles: the classic 13 x 13 box.
    const int x = FAlignment == taRightJustify ? w - 13 : 0;
    int y = 4;
    if (FBtnVAlign == tlCenter)
        y = h / 2 - 6;
    else if (FBtnVAlign == tlBottom)
        y = h - 17;
    unsigned flags = DFCS_BUTTONCHECK;
    if (FState == cbGrayed || !isEnabled())
        flags |= DFCS_INACTIVE;
    if (FState == cbChecked)
        flags |= DFCS_CHECKED;
    if (FDown)
        flags |= DFCS_PUSHED;
    DrawFrameControl(ACanvas, TRect(x, y, x + 13, y + 13), DFC_BUTTON, flags);

    TRect tr = FAlignment == taRightJustify ? TRect(6, 4, w - 9, h) : TRect(15, 4, w, h);
    ACanvas.Brush().SetStyle(bsClear);
    unsigned tf = DT_LEFT | DT_SINGLELINE;
    if (FEllipsis)
        tf |= DT_END_ELLIPSIS;
    if (!isEnabled()) {
        TRect hl = tr;
        OffsetRect(hl, 1, 1);
        ACanvas.Font().SetColor(clWhite);
        DrawText(ACanvas, FCaption, hl, tf);
        ACanvas.Font().SetColor(0x808080);
    }
    DrawText(ACanvas, FCaption, tr, tf);
    if (FFocused) {
        TRect m = tr;
        DrawText(ACanvas, FCaption, m, tf | DT_CALCRECT);
        ACanvas.Brush().SetStyle(bsSolid);
        ACanvas.DrawFocusRect(TRect(tr.Left - 2, tr.Top, m.Right + 1, m.Bottom + 1));
    }
    ACanvas.Brush().SetStyle(bsSolid);
}
