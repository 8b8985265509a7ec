#include "grid/AsgButtonEdit.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <algorithm>

using namespace platform;

namespace AsgCombo {

void FillColor(TCanvas& canvas, const TRect& r, TColor color)
{
    if (color == clNone)
        return;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FillRect(r);
}

void FrameColor(TCanvas& canvas, const TRect& r, TColor color)
{
    if (color == clNone)
        return;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FrameRect(r);
}

void FrameBoxBorder(TCanvas& canvas, TRect& r, bool look3D, TColor outer, TColor inner, int buttonWidth)
{
    if (look3D) {
        DrawEdge(canvas, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        FrameColor(canvas, r, outer);
        InflateRect(r, -1, -1);
        FrameColor(canvas, r, inner);
    } else {
        FrameColor(canvas, r, outer);
        InflateRect(r, -1, -1);
        r.Right -= buttonWidth;
        FrameColor(canvas, r, outer);
        InflateRect(r, -1, -1);
        FrameColor(canvas, r, inner);
    }
}

} // namespace AsgCombo

// ---- TAsgButtonColors --------------------------------------------------------------------------

bool TAsgButtonColors::PaintColoredFace(TCanvas& Canvas, const TRect& R, bool Down, bool Hot) const
{
    if (FButtonColor == clNone)
        return false;
    TColor c = FButtonColor;
    if (Down)
        c = FButtonColorDown;
    else if (Hot)
        c = FButtonColorHot;
    if (c != clNone) {
        Canvas.Pen().SetStyle(psSolid);
        Canvas.Pen().SetColor(c);
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(c);
        Canvas.Rectangle(R);
    }
    return true;
}

void TAsgButtonColors::PaintColoredDropButton(TCanvas& Canvas, const TRect& Fill, const TRect& At, int ArrowInset,
                                              bool Hover, bool MouseDown) const
{
    TColor fill = FButtonColor;
    if (Hover)
        fill = MouseDown ? FButtonColorDown : FButtonColorHot;
    AsgCombo::FillColor(Canvas, Fill, fill);
    if (FButtonBorderColor != clNone) {
        Canvas.Pen().SetStyle(psSolid);
        Canvas.Pen().SetColor(FButtonBorderColor);
        Canvas.MoveTo(At.Left, At.Top);
        Canvas.LineTo(At.Left, At.Bottom);
    }
    const TColor arrow = MouseDown ? FButtonTextColorDown : FButtonTextColor;
    if (arrow != clNone) {
        Canvas.Pen().SetStyle(psSolid);
        Canvas.Pen().SetColor(arrow);
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(arrow);
        const int l = At.Left + ArrowInset, t = At.Top;
        Canvas.Polygon({{l, t + 7}, {l + 6, t + 7}, {l + 3, t + 10}});
    }
}

int DropButtonThemeState(bool Enabled, bool MouseDown, bool Hover, bool DroppedDown)
{
    if (!Enabled)
        return 4;
    if (MouseDown && DroppedDown)
        return 3;
    if (MouseDown || !Hover || DroppedDown)
        return 1;
    return 2;
}

// ---- TAsgGlyphButton ---------------------------------------------------------------------------

TAsgGlyphButton::TAsgGlyphButton(QWidget* AOwner) : QWidget(AOwner)
{
    setAttribute(Qt::WA_Hover);
}

void TAsgGlyphButton::SetGlyph(const TBitmap& Value)
{
    FGlyph = Value;
    update();
}

void TAsgGlyphButton::SetNumGlyphs(int Value)
{
    FNumGlyphs = std::max(1, Value);
    update();
}

void TAsgGlyphButton::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    FHot = true;
    update();
}

void TAsgGlyphButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    FHot = false;
    update();
}

bool TAsgGlyphButton::DrawGlyph(TCanvas& Canvas, int Index, int Shift, bool KeyFromCorner) const
{
    if (FGlyph.Width() <= 0 || FGlyph.Height() <= 0)
        return false;
    const int frames = std::max(1, FNumGlyphs);
    const int gw = FGlyph.Width() / frames, gh = FGlyph.Height();
    const QImage frame = FGlyph.Image().copy(Index * gw, 0, gw, gh);
    const int x = gw < width() ? (width() - gw) / 2 : 0;
    const int y = gh < height() ? (height() - gh) / 2 : 0;
    const TColor key = KeyFromCorner ? FromQColor(frame.pixelColor(0, gh - 1)) : FGlyph.TransparentColor();
    Canvas.DrawImage(Bounds(x + Shift, y + Shift, gw, gh), frame, key);
    return true;
}

// ---- TAsgButtonControl -------------------------------------------------------------------------

TAsgButtonControl::TAsgButtonControl(QWidget* AOwner) : QWidget(AOwner)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void TAsgButtonControl::TakeFocus()
{
    QWidget* target = FFocusControl;
    if (target && target->focusPolicy() != Qt::NoFocus && target->isEnabled() && target->isVisible() &&
        !target->hasFocus()) {
        target->setFocus(Qt::MouseFocusReason);
    } else if (TabStop() && !hasFocus() && isEnabled() && isVisible()) {
        setFocus(Qt::MouseFocusReason);
    }
}

// ---- TAsgButtonEdit ----------------------------------------------------------------------------

TAsgButtonEdit::TAsgButtonEdit(QWidget* AOwner) : QLineEdit(AOwner)
{
    setFrame(false);
    setText(QStringLiteral("0"));
    connect(this, &QLineEdit::textChanged, this, [this](const QString&) {
        if (OnChange)
            OnChange(this);
    });
    SetColor(clWindow);
    SetMaxLength(0);
}

TAsgButtonEdit::~TAsgButtonEdit()
{
    // The window tree frees the button control.
    FButtonControl = nullptr;
}

void TAsgButtonEdit::SetButtonControl(QWidget* Value)
{
    FButtonControl = Value;
    resize(121, std::max(21, GetMinHeight()));
    PlaceButton();
    SetEditRect();
}

void TAsgButtonEdit::SetBorderStyle(TBorderStyle Value)
{
    FBorderStyle = Value;
    PlaceButton();
    SetEditRect();
    update();
}

void TAsgButtonEdit::SetCtl3D(bool Value)
{
    FCtl3D = Value;
    PlaceButton();
    SetEditRect();
    update();
}

void TAsgButtonEdit::SetColor(TColor Value)
{
    FColor = Value;
    // The background is painted with the frame; the edit's own panel stays clear.
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::transparent);
    setPalette(p);
    update();
}

void TAsgButtonEdit::SetMaxLength(int Value)
{
    FMaxLength = Value < 0 ? 0 : Value;
    setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
}

// ---- keys --------------------------------------------------------------------------------------

void TAsgButtonEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TAsgButtonEdit::KeyPress(QChar& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

bool TAsgButtonEdit::TypingBlocked(QChar Ch) const
{
    // Typed characters (backspace too) reach the text only while the editor is enabled.
    return !Ch.isNull() && !FEditorEnabled && (Ch.unicode() >= 32 || Ch.unicode() == 8);
}

void TAsgButtonEdit::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    QPointer<TAsgButtonEdit> self(this);
    try {
        if (TakeKey(event))
            return;
    } catch (...) {
        return; // a step that cannot be made changes nothing
    }
    const TKeyStroke stroke = TranslateKey(event);
    QChar ch = stroke.Char;
    bool consumed = false;
    try {
        if (stroke.Key != 0) {
            Word k = stroke.Key;
            KeyDown(k, stroke.Shift);
            consumed = k == 0;
            if (KeyEndsAfterKeyDown(stroke.Key, k))
                return;
        }
        if (!self)
            return;
        MapTypedChar(event, ch);
        // Control characters of Ctrl shortcuts (copy, select all ...) are the edit's own commands.
        const bool command = stroke.Shift.testFlag(ssCtrl) && !ch.isNull() && ch.unicode() < 32 &&
                             ch.unicode() != 8 && ch.unicode() != 13 && ch.unicode() != 27;
        if (!ch.isNull() && !command) {
            KeyPress(ch);
            if (ch.isNull())
                consumed = true;
        }
    } catch (...) {
        return;
    }
    if (!self || consumed)
        return;
    if ((event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)) && !ClipboardEditAllowed())
        return;
    if (TypingBlocked(ch))
        return;
    if (!ch.isNull() && ch.unicode() >= 32 && ch != stroke.Char) {
        QKeyEvent changed(event->type(), event->key(), ChangedCharModifiers(event->modifiers()), QString(ch));
        QLineEdit::keyPressEvent(&changed);
        return;
    }
    if (!FEditorEnabled && !ch.isNull() && ch.unicode() >= 32)
        return;
    QLineEdit::keyPressEvent(event);
}

void TAsgButtonEdit::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    if (!ClipboardEditAllowed()) {
        for (QAction* a : menu->actions()) {
            const QString name = a->objectName();
            if (name == QLatin1String("edit-paste") || name == QLatin1String("edit-cut"))
                a->setEnabled(false);
        }
    }
    menu->exec(event->globalPos());
}

// ---- focus -------------------------------------------------------------------------------------

void TAsgButtonEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    const bool mouseEntry = event->reason() == Qt::MouseFocusReason && (QApplication::mouseButtons() & Qt::LeftButton);
    if (FAutoSelect && (!mouseEntry || SelectsOnMouseEntry()))
        selectAll();
    if (OnEnter)
        OnEnter(this);
}

void TAsgButtonEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason)
        return;
    try {
        BeforeExit();
        if (OnExit)
            OnExit(this);
    } catch (...) {
    }
}

// ---- layout and painting -----------------------------------------------------------------------

int TAsgButtonEdit::BorderWidth() const
{
    if (FBorderStyle == bsNone)
        return 0;
    return FCtl3D ? 2 : 1;
}

int TAsgButtonEdit::GetMinHeight() const
{
    const int own = QFontMetrics(font()).height();
    const int sys = QFontMetrics(QApplication::font()).height();
    return own + std::min(sys, own) / 4 + MinHeightExtra();
}

void TAsgButtonEdit::SetEditRect()
{
    const int b = BorderWidth();
    const TRect r = EditRect();
    setTextMargins(b + r.Left, b + r.Top, std::max(0, width() - (b + r.Right)), 0);
}

void TAsgButtonEdit::PlaceButton()
{
    if (!FButtonControl)
        return;
    const int b = BorderWidth();
    const int w = width(), h = height(), bw = FButtonControl->width();
    if (FCtl3D) {
        const int d = FBorderStyle == bsNone ? 1 : 5;
        FButtonControl->setGeometry(b + w - bw - d, b, bw, std::max(0, h - d));
    } else {
        FButtonControl->setGeometry(b + w - bw, b + 1, bw, std::max(0, h - 3));
    }
}

void TAsgButtonEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    const int minHeight = GetMinHeight();
    if (height() < minHeight) {
        // Grows to the least height; the layout follows that size (a nested resize is not always
        // delivered while the edit is being shown).
        resize(width(), minHeight);
    }
    PlaceButton();
    SetEditRect();
}

void TAsgButtonEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange && height() < GetMinHeight())
        resize(width(), GetMinHeight());
}

void TAsgButtonEdit::PaintTo(TCanvas& Canvas)
{
    TRect r(0, 0, width(), height());
    if (FBorderStyle == bsSingle) {
        if (FCtl3D)
            DrawEdge(Canvas, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        else
            DrawEdge(Canvas, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST | BF_MONO);
    }
    AsgCombo::FillColor(Canvas, r, isEnabled() ? FColor : clBtnFace);
}

void TAsgButtonEdit::paintEvent(QPaintEvent* event)
{
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        PaintTo(canvas);
    } catch (...) {
    }
    QLineEdit::paintEvent(event);
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        PaintOver(canvas);
    } catch (...) {
    }
}
