#include "grid/AsgEditBtn.h"

#include "grid/AsgComboBox.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

using namespace platform;

namespace {

void Fill(TCanvas& canvas, const TRect& r, TColor color)
{
    if (color == clNone)
        return;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FillRect(r);
}

} // namespace

// ---- TAdvSpeedButton ---------------------------------------------------------------------------

TAdvSpeedButton::TAdvSpeedButton(QWidget* AOwner) : QWidget(AOwner)
{
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::ArrowCursor);
}

TAsgEditButton* TAdvSpeedButton::ButtonOwner() const
{
    return qobject_cast<TAsgEditButton*>(parentWidget());
}

void TAdvSpeedButton::SetIsWinXP(bool Value)
{
    FIsWinXP = Value;
    update();
}

void TAdvSpeedButton::SetFlat(bool Value)
{
    FFlat = Value;
    update();
}

void TAdvSpeedButton::SetGlyph(const TBitmap& Value)
{
    FGlyph = Value;
    update();
}

void TAdvSpeedButton::SetNumGlyphs(int Value)
{
    FNumGlyphs = std::max(1, Value);
    update();
}

void TAdvSpeedButton::SetCaption(const QString& Value)
{
    FCaption = Value;
    update();
}

void TAdvSpeedButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    FDown = true;
    update();
}

void TAdvSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool wasDown = FDown;
    FDown = false;
    update();
    // The speed button's own click does nothing: the button control reacts to the release.
    if (wasDown && rect().contains(event->position().toPoint())) {
        if (TAsgEditButton* owner = ButtonOwner()) {
            try {
                owner->Press();
            } catch (...) {
            }
        }
    }
}

void TAdvSpeedButton::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    FHot = true;
    update();
}

void TAdvSpeedButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    FHot = false;
    update();
}

void TAdvSpeedButton::paintEvent(QPaintEvent*)
{
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        PaintTo(canvas);
    } catch (...) {
    }
}

void TAdvSpeedButton::PaintTo(TCanvas& Canvas)
{
    TRect r(0, 0, width(), height());
    const TAsgEditButton* owner = ButtonOwner();
    bool faceDone = false;
    if (owner && owner->ButtonColor() != clNone) {
        FFlat = true;
        TColor c = owner->ButtonColor();
        if (FDown)
            c = owner->ButtonColorDown();
        else if (FHot)
            c = owner->ButtonColorHot();
        if (c != clNone) {
            Canvas.Pen().SetStyle(psSolid);
            Canvas.Pen().SetColor(c);
            Canvas.Brush().SetStyle(bsSolid);
            Canvas.Brush().SetColor(c);
            Canvas.Rectangle(r);
        }
        faceDone = true;
    }
    if (!faceDone && FIsWinXP && AsgCombo::VisualStylesActive()) {
        const int state = FDown ? 3 : (FHot ? 2 : 1);
        QWidget* themeWindow = parentWidget() ? parentWidget() : this;
        faceDone = AsgCombo::DrawThemePart(themeWindow, Canvas, u"button", 1, state, r);
    }
    if (!faceDone) {
        if (FFlat) {
            DrawEdge(Canvas, r, FDown ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
            InflateRect(r, -1, -1);
        } else {
            DrawFrameControl(Canvas, r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (FDown ? DFCS_PUSHED : 0u));
            // The push frame takes two pixels on each side.
            InflateRect(r, -2, -2);
        }
    }
    const int shift = FDown ? 1 : 0;
    if (FGlyph.Width() > 0 && FGlyph.Height() > 0) {
        const int frames = std::max(1, FNumGlyphs);
        const int gw = FGlyph.Width() / frames, gh = FGlyph.Height();
        const QImage frame = FGlyph.Image().copy(0, 0, gw, gh);
        const int x = gw < width() ? (width() - gw) / 2 : 0;
        const int y = gh < height() ? (height() - gh) / 2 : 0;
        Canvas.DrawImage(Bounds(x + shift, y + shift, gw, gh), frame, FGlyph.TransparentColor());
    }
    if (!FCaption.isEmpty()) {
        TRect tr = r;
        OffsetRect(tr, shift, shift);
        Canvas.Font().Assign(AsgCombo::FontOf(font()));
        Canvas.Font().SetColor(clBlack);
        Canvas.Brush().SetStyle(bsClear);
        DrawText(Canvas, FCaption, tr, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
}

// ---- TAsgEditButton ----------------------------------------------------------------------------

TAsgEditButton::TAsgEditButton(QWidget* AOwner) : QWidget(AOwner)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    FButton = new TAdvSpeedButton(this);
    resize(20, 25);
    FButton->setGeometry(0, 0, width(), height());
    FButton->show();
}

void TAsgEditButton::SetFlat(bool Value)
{
    FFlat = Value;
    FButton->SetFlat(Value);
}

void TAsgEditButton::SetLoading(bool Value)
{
    FLoading = Value;
    if (!Value)
        FButton->setGeometry(0, 0, width(), height());
}

void TAsgEditButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!FLoading)
        FButton->setGeometry(0, 0, width(), height());
}

void TAsgEditButton::Press()
{
    QPointer<TAsgEditButton> self(this);
    if (OnClick)
        OnClick(this);
    if (!self)
        return;
    QWidget* target = FFocusControl;
    if (target && target->focusPolicy() != Qt::NoFocus && target->isEnabled() && target->isVisible() &&
        !target->hasFocus()) {
        target->setFocus(Qt::MouseFocusReason);
    } else if (TabStop() && !hasFocus() && isEnabled() && isVisible()) {
        setFocus(Qt::MouseFocusReason);
    }
}

// ---- TAsgEditBtn -------------------------------------------------------------------------------

TAsgEditBtn::TAsgEditBtn(QWidget* AOwner) : QLineEdit(AOwner)
{
    setFrame(false);
    FButton = new TAsgEditButton(this);
    FButton->resize(18, 18);
    FButton->SetFocusControl(this);
    FButton->OnClick = [this](QObject* sender) { BtnClick(sender); };
    setText(QStringLiteral("0"));
    connect(this, &QLineEdit::textChanged, this, [this](const QString&) {
        if (OnChange)
            OnChange(this);
    });
    SetColor(clWindow);
    SetMaxLength(0);
    resize(121, std::max(21, GetMinHeight()));
    PlaceButton();
    SetEditRect();
}

TAsgEditBtn::~TAsgEditBtn()
{
    // The window tree frees the button control.
    FButton = nullptr;
}

void TAsgEditBtn::SetRightAlign(bool Value)
{
    if (FRightAlign == Value)
        return;
    FRightAlign = Value;
    setAlignment((Value ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

void TAsgEditBtn::SetButtonWidth(int Value)
{
    FButtonWidth = Value;
    FButton->resize(std::max(0, Value), FButton->height());
    PlaceButton();
    SetEditRect();
}

void TAsgEditBtn::SetIsWinXP(bool Value)
{
    FIsWinXP = Value;
    FButton->Button()->SetIsWinXP(Value);
}

void TAsgEditBtn::SetBorderStyle(TBorderStyle Value)
{
    FBorderStyle = Value;
    PlaceButton();
    SetEditRect();
    update();
}

void TAsgEditBtn::SetCtl3D(bool Value)
{
    FCtl3D = Value;
    PlaceButton();
    SetEditRect();
    update();
}

void TAsgEditBtn::SetColor(TColor Value)
{
    FColor = Value;
    // The background is painted with the frame; the edit's own panel stays clear.
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::transparent);
    setPalette(p);
    update();
}

void TAsgEditBtn::SetMaxLength(int Value)
{
    FMaxLength = Value < 0 ? 0 : Value;
    setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
}

void TAsgEditBtn::BtnClick(QObject* Sender)
{
    if (OnClickBtn)
        OnClickBtn(Sender);
}

// ---- keys --------------------------------------------------------------------------------------

void TAsgEditBtn::KeyDown(Word& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
    // The key-down event may have taken the key already.
    if (Key == VK_F4 && !Shift.testFlag(ssCtrl) && !Shift.testFlag(ssAlt))
        BtnClick(this);
}

void TAsgEditBtn::KeyPress(QChar& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TAsgEditBtn::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    QPointer<TAsgEditBtn> self(this);
    const TKeyStroke stroke = TranslateKey(event);
    QChar ch = stroke.Char;
    bool consumed = false;
    try {
        if (stroke.Key != 0) {
            Word k = stroke.Key;
            KeyDown(k, stroke.Shift);
            consumed = k == 0;
        }
        if (!self)
            return;
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
    // Typed characters (backspace too) reach the text only while the editor is enabled.
    if (!ch.isNull() && !FEditorEnabled && (ch.unicode() >= 32 || ch.unicode() == 8))
        return;
    if (!ch.isNull() && ch.unicode() >= 32 && ch != stroke.Char) {
        QKeyEvent changed(event->type(), event->key(), event->modifiers(), QString(ch));
        QLineEdit::keyPressEvent(&changed);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TAsgEditBtn::contextMenuEvent(QContextMenuEvent* event)
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

void TAsgEditBtn::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    const bool mouseEntry = event->reason() == Qt::MouseFocusReason && (QApplication::mouseButtons() & Qt::LeftButton);
    if (FAutoSelect && !mouseEntry)
        selectAll();
    if (OnEnter)
        OnEnter(this);
}

void TAsgEditBtn::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason)
        return;
    try {
        if (OnExit)
            OnExit(this);
    } catch (...) {
    }
}

// ---- layout and painting -----------------------------------------------------------------------

int TAsgEditBtn::BorderWidth() const
{
    if (FBorderStyle == bsNone)
        return 0;
    return FCtl3D ? 2 : 1;
}

int TAsgEditBtn::GetMinHeight() const
{
    const int own = QFontMetrics(font()).height();
    const int sys = QFontMetrics(QApplication::font()).height();
    return own + std::min(sys, own) / 4;
}

TRect TAsgEditBtn::EditRect() const
{
    const int m = FBorderStyle == bsNone ? 3 : 1;
    int right = ClientWidth() - FButton->width() - 5 - FUnitSize;
    if (FUnitSize > 0)
        right -= 3;
    return TRect(m, m, right, ClientHeight() + 1);
}

void TAsgEditBtn::SetEditRect()
{
    const int b = BorderWidth();
    const TRect r = EditRect();
    setTextMargins(b + r.Left, b + r.Top, std::max(0, width() - (b + r.Right)), 0);
}

void TAsgEditBtn::PlaceButton()
{
    if (!FButton)
        return;
    const int b = BorderWidth();
    const int w = width(), h = height(), bw = FButton->width();
    if (FCtl3D) {
        const int d = FBorderStyle == bsNone ? 1 : 5;
        FButton->setGeometry(b + w - bw - d, b, bw, std::max(0, h - d));
    } else {
        FButton->setGeometry(b + w - bw, b + 1, bw, std::max(0, h - 3));
    }
}

void TAsgEditBtn::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    const int minHeight = GetMinHeight();
    if (height() < minHeight) {
        resize(width(), minHeight);
        return;
    }
    PlaceButton();
    SetEditRect();
}

void TAsgEditBtn::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange && height() < GetMinHeight())
        resize(width(), GetMinHeight());
}

void TAsgEditBtn::PaintTo(TCanvas& Canvas)
{
    TRect r(0, 0, width(), height());
    if (FBorderStyle == bsSingle) {
        if (FCtl3D)
            DrawEdge(Canvas, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        else
            DrawEdge(Canvas, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST | BF_MONO);
    }
    Fill(Canvas, r, isEnabled() ? FColor : clBtnFace);
}

void TAsgEditBtn::PaintOver(TCanvas&)
{
}

void TAsgEditBtn::paintEvent(QPaintEvent* event)
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

// ---- TAsgUnitEditBtn ---------------------------------------------------------------------------

TAsgUnitEditBtn::TAsgUnitEditBtn(QWidget* AOwner) : TAsgEditBtn(AOwner)
{
    FUnitSize = 20;
    SetRightAlign(true);
    SetEditRect();
}

TAsgUnitEditBtn::~TAsgUnitEditBtn()
{
    if (FMenu)
        delete FMenu.data();
}

void TAsgUnitEditBtn::SetUnits(const platform::TStringList* Value)
{
    if (!Value)
        return;
    FUnits = *Value;
}

void TAsgUnitEditBtn::SetUnits(const QStringList& Value)
{
    FUnits.Clear();
    FUnits.AddStrings(Value);
}

void TAsgUnitEditBtn::SetUnitID(const QString& Value)
{
    FUnitID = Value;
    update();
}

void TAsgUnitEditBtn::SetUnitSpace(int Value)
{
    FUnitSize = Value;
    SetEditRect();
    update();
}

QString TAsgUnitEditBtn::TextAndUnit() const
{
    return text() + FUnitID;
}

void TAsgUnitEditBtn::SetTextAndUnit(const QString& Value)
{
    for (int i = 0; i < FUnits.Count(); ++i) {
        const QString u = FUnits.Strings(i);
        // The unit must end the value and occur nowhere earlier in it.
        const int at = Value.indexOf(u);
        if (u.isEmpty() || at < 0 || at != Value.length() - u.length())
            continue;
        setText(Value.left(at));
        SetUnitID(u);
        return;
    }
}

void TAsgUnitEditBtn::BtnClick(QObject*)
{
    if (OnClickBtn)
        OnClickBtn(this);
    if (FMenu)
        delete FMenu.data();
    QMenu* menu = new QMenu(this);
    FMenu = menu;
    for (int i = 0; i < FUnits.Count(); ++i) {
        QAction* a = menu->addAction(FUnits.Strings(i));
        const int id = i + 1;
        connect(a, &QAction::triggered, this, [this, id] { UnitMenuCommand(id); });
    }
    // The menu goes away when it closes.
    connect(menu, &QMenu::aboutToHide, menu, &QObject::deleteLater);
    const int b = BorderWidth();
    const QPoint at = mapToGlobal(QPoint(b + ClientWidth() - 15, b + ClientHeight()));
    menu->popup(at);
}

void TAsgUnitEditBtn::UnitMenuCommand(int ID)
{
    if (ID < 1 || ID > FUnits.Count())
        return;
    const QString previous = FUnitID;
    const QString unit = FUnits.Strings(ID - 1);
    SetUnitID(unit);
    if (unit != previous && OnUnitChanged)
        OnUnitChanged(this, unit);
}

void TAsgUnitEditBtn::PaintOver(TCanvas& Canvas)
{
    const int bw = Button()->width();
    TRect r(ClientWidth() - bw - 3 - FUnitSize, 2, ClientWidth() - bw - 3, ClientHeight());
    // Client coordinates start inside the border.
    OffsetRect(r, BorderWidth(), BorderWidth());
    Canvas.Font().Assign(AsgCombo::FontOf(font()));
    Canvas.Font().SetColor(isEnabled() ? clWindowText : clGrayText);
    Canvas.Brush().SetStyle(bsClear);
    DrawText(Canvas, FUnitID, r, DT_EDITCONTROL);
}
