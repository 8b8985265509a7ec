#include "grid/AsgEditBtn.h"

#include "grid/AsgComboBox.h"
#include "render/AdvXPVS.h"
#include "platform/Property.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

using namespace platform;

// ---- TAdvSpeedButton ---------------------------------------------------------------------------

TAdvSpeedButton::TAdvSpeedButton(QWidget* AOwner) : TAsgGlyphButton(AOwner)
{
    setCursor(Qt::ArrowCursor);
}

TAsgEditButton* TAdvSpeedButton::ButtonOwner() const
{
    return qobject_cast<TAsgEditButton*>(parentWidget());
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
        faceDone = owner->PaintColoredFace(Canvas, r, FDown, FHot);
    }
    if (!faceDone && FIsWinXP && AsgCombo::VisualStylesActive()) {
        const int state = FDown ? 3 : (FHot ? 2 : 1);
        QWidget* themeWindow = parentWidget() ? parentWidget() : this;
        faceDone = AdvXPVS::Table().DrawPart(themeWindow, Canvas, u"button", 1, state, r);
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
    DrawGlyph(Canvas, 0, shift, false);
    if (!FCaption.isEmpty()) {
        TRect tr = r;
        OffsetRect(tr, shift, shift);
        Canvas.Font().Assign(TFont::FromQFont(font()));
        Canvas.Font().SetColor(clBlack);
        Canvas.Brush().SetStyle(bsClear);
        DrawText(Canvas, FCaption, tr, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
}

// ---- TAsgEditButton ----------------------------------------------------------------------------

TAsgEditButton::TAsgEditButton(QWidget* AOwner) : TAsgButtonControl(AOwner)
{
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
    TakeFocus();
}

// ---- TAsgEditBtn -------------------------------------------------------------------------------

TAsgEditBtn::TAsgEditBtn(QWidget* AOwner) : TAsgButtonEdit(AOwner)
{
    FButton = new TAsgEditButton(this);
    FButton->resize(18, 18);
    FButton->SetFocusControl(this);
    FButton->OnClick = [this](QObject* sender) { BtnClick(sender); };
    SetButtonControl(FButton);
}

void TAsgEditBtn::SetRightAlign(bool Value)
{
    if (platform::Change(FRightAlign, Value))
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

void TAsgEditBtn::BtnClick(QObject* Sender)
{
    if (OnClickBtn)
        OnClickBtn(Sender);
}

// ---- keys --------------------------------------------------------------------------------------

void TAsgEditBtn::KeyDown(Word& Key, TShiftState Shift)
{
    TAsgButtonEdit::KeyDown(Key, Shift);
    // The key-down event may have taken the key already.
    if (Key == VK_F4 && !Shift.testFlag(ssCtrl) && !Shift.testFlag(ssAlt))
        BtnClick(this);
}

// ---- layout and painting -----------------------------------------------------------------------

TRect TAsgEditBtn::EditRect() const
{
    const int m = BorderStyle() == bsNone ? 3 : 1;
    int right = ClientWidth() - FButton->width() - 5 - FUnitSize;
    if (FUnitSize > 0)
        right -= 3;
    return TRect(m, m, right, ClientHeight() + 1);
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
    Canvas.Font().Assign(TFont::FromQFont(font()));
    Canvas.Font().SetColor(isEnabled() ? clWindowText : clGrayText);
    Canvas.Brush().SetStyle(bsClear);
    DrawText(Canvas, FUnitID, r, DT_EDITCONTROL);
}
