#include "gridedit/EditLink.h"

#include "grid/AdvGrid.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>

// ---- the grid's hold on an in-place control -------------------------------------------------------

// Stands for the grid's EditLinkWndProc while an in-place control is focused by the grid: with
// goTabs the grid's Tab moves reach the control's key handling (the link's EditKeyDown) instead of
// moving the focus. Every other event goes to the control as before.
class TEditLinkFilter : public QObject {
public:
    explicit TEditLinkFilter(TEditLink* ALink) : QObject(ALink), FLink(ALink) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        QKeyEvent* ke = platform::PlainTabPress(e);
        if (!ke || !FLink->FGrid || !(FLink->FGrid->Options() & goTabs))
            return false;
        Word key = VK_TAB;
        TShiftState shift;
        if (ke->key() == Qt::Key_Backtab || (ke->modifiers() & Qt::ShiftModifier))
            shift |= ssShift;
        try {
            FLink->EditKeyDown(watched, key, shift);
        } catch (...) {
        }
        return true;
    }

private:
    TEditLink* FLink;
};

// ---- pop-up form ------------------------------------------------------------------------------------

TEditLinkPopup::TEditLinkPopup(TEditLink* ALink)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), FLink(ALink)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setObjectName(QStringLiteral("gridform"));
}

void TEditLinkPopup::Deactivate()
{
    if (FInExit || !FLink)
        return;
    FInExit = true;
    try {
        FLink->FormExit(this);
    } catch (...) {
    }
    FInExit = false;
}

bool TEditLinkPopup::event(QEvent* e)
{
    const bool r = QWidget::event(e);
    if (e->type() == QEvent::WindowDeactivate && isVisible())
        Deactivate();
    return r;
}

// ---- TEditLink ------------------------------------------------------------------------------------

TEditLink::TEditLink(QObject* AOwner) : QObject(AOwner) {}

TEditLink::~TEditLink()
{
    if (FPopupForm)
        delete FPopupForm.data();
}

QWidget* TEditLink::GetParent() const
{
    if (FEditStyle == esPopup)
        return FPopupForm.data();
    // Cell rectangles are in the coordinates of the grid's viewport.
    return FGrid ? FGrid->viewport() : nullptr;
}

QString TEditLink::GetCellValue() const
{
    if (!FGrid)
        return QString();
    return FGrid->Cells(FGrid->RealColIndex(FGrid->Col()), FGrid->Row());
}

void TEditLink::SetCellValue(const QString& s)
{
    if (FGrid)
        FGrid->WriteCellAtRealCol(FGrid->RealColIndex(FGrid->Col()), FGrid->Row(), s);
}

void TEditLink::HideEditor()
{
    SetCellValue(GetEditorValue());
    if (FGrid)
        FGrid->HideInplaceEdit();
    RestoreWinProc();
}

void TEditLink::EditExit(QObject* Sender)
{
    (void)Sender;
    HideEditor();
    if (FEditStyle == esPopup && FPopupForm) {
        DestroyEditor();
        FPopupForm->hide();
    }
}

void TEditLink::FormExit(QObject* Sender)
{
    if (FGrid)
        if (TAdvInplaceEdit* e = FGrid->NormalEdit())
            e->setText(GetEditorValue());
    if (FForcedExit) {
        SetCellValue(GetEditorValue());
        return;
    }
    EditExit(Sender);
    if (FGrid)
        FGrid->InvokedFocusChange = true;
}

void TEditLink::SetFocus(bool Value)
{
    QWidget* c = GetEditControl();
    // A link that made no control has nothing to focus.
    if (!c)
        return;
    if (Value) {
        if (!c->isVisible())
            c->show();
        if (!c->isEnabled())
            c->setEnabled(true);
    }
    if (FEditStyle == esInplace && !FSubClassed) {
        if (!FFilter)
            FFilter = new TEditLinkFilter(this);
        c->installEventFilter(FFilter);
        FSubclassedControl = c;
        FSubClassed = true;
    }
    if (Value)
        c->setFocus(Qt::OtherFocusReason);
    else if (FGrid)
        FGrid->setFocus(Qt::OtherFocusReason);
}

void TEditLink::RestoreWinProc()
{
    if (FEditStyle != esInplace)
        return;
    QWidget* c = GetEditControl();
    if (!c)
        return;
    if (FSubclassedControl && FFilter)
        FSubclassedControl->removeEventFilter(FFilter);
    FSubclassedControl = nullptr;
    FSubClassed = false;
    c->hide();
}

void TEditLink::SetRect(TRect r)
{
    QWidget* c = GetEditControl();
    // A link that made no control has nothing to place.
    if (!c || !FGrid)
        return;
    const int lw = FGrid->GridLineWidth();
    c->setGeometry(r.Left, r.Top, r.Right - r.Left - lw, r.Bottom - r.Top - lw);
}

void TEditLink::SetVisible(bool Value)
{
    if (QWidget* c = GetEditControl())
        c->setVisible(Value);
}

void TEditLink::FocusGridForced()
{
    if (!FGrid)
        return;
    FForcedExit = true;
    try {
        FGrid->setFocus(Qt::OtherFocusReason);
    } catch (...) {
        FForcedExit = false;
        throw;
    }
    FForcedExit = false;
}

void TEditLink::EditKeyDown(QObject* Sender, Word& Key, TShiftState Shift)
{
    (void)Sender;
    TVerIvovavOzed* g = FGrid;
    if (!g)
        return;
    bool leaves = Shift.testFlag(ssAlt) || Key == VK_TAB || IsEditEndingKey(Key);
    if ((Key == VK_UP || Key == VK_DOWN) && FWantKeyUpDown)
        leaves = false;
    if ((Key == VK_LEFT || Key == VK_RIGHT) && FWantKeyLeftRight)
        leaves = false;
    if ((Key == VK_END || Key == VK_HOME) && FWantKeyHomeEnd)
        leaves = false;
    if ((Key == VK_PRIOR || Key == VK_NEXT) && FWantKeyPriorNext)
        leaves = false;
    if (Key == VK_RETURN && FWantKeyReturn)
        leaves = false;
    if (Key == VK_ESCAPE && FWantKeyEscape)
        leaves = false;
    if (Key == VK_TAB && FWantTabs)
        leaves = false;
    if (!leaves)
        return;

    QPointer<TEditLink> self(this);
    QPointer<TVerIvovavOzed> grid(g);
    if (Key == VK_TAB) {
        if (g->Navigation().TabToNextAtEnd()) {
            FocusGridForced();
            g->TakeBackEditorValue(g->Col(), g->Row());
            if (!grid)
                return;
            if (g->TabNavigate(Shift.testFlag(ssShift))) {
                int bc = g->RealCol(), br = g->Row();
                if (!g->IsControlCell(bc, br))
                    QCoreApplication::postEvent(g, new QKeyEvent(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier));
                Key = 0;
                return;
            }
        }
        Key = 0;
    }
    if (Key == VK_ESCAPE)
        SetEditorValue(g->FCellCache);
    FocusGridForced();
    if (!self || !grid)
        return;
    g->TakeBackEditorValue(g->Col(), g->Row());
    if (!self || !grid)
        return;
    if (FEditStyle == esPopup) {
        const QString v = GetEditorValue();
        EditExit(this);
        SetCellValue(v);
    }
    g->EditMode = false;
    g->AcceptCellSelection(g->Col(), g->Row());
    if (!self || !grid)
        return;
    if (Key == VK_RETURN && g->FLastValidation) {
        g->FLastValidation = true;
        g->AdvanceToNextCell(g->Col(), g->Row(), true, false, !Shift.testFlag(ssShift), true, false);
        Key = 0;
        return;
    }
    if (!g->FLastValidation) {
        g->FLastValidation = true;
        g->ShowSpecialEditor(g->Col(), g->Row());
        return;
    }
    if (Key == VK_ESCAPE) {
        Key = 0;
        return;
    }
    if (Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN) {
        Word k = Key;
        g->KeyDown(k, Shift);
        // The grid has moved for this key: the control's own handling must not pass it on again.
        Key = 0;
    }
    if (!self)
        return;
    if (QWidget* c = GetEditControl())
        c->setEnabled(false);
    FocusGridForced();
}
