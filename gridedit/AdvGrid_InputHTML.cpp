// TVerIvovavOzed: links and form controls in HTML cells. A left press on a cell whose
// text is a link or HTML is hit-tested: a link opens through the desktop URL handler of the
// Services seam (never a shell or a started process), a "CELL://" link makes its cell current,
// and CHECK, RADIO, BUTTON, EDIT, PASSWORD, MASK and COMBO controls act on the cell text.
#include "grid/AdvGrid.h"

#include "platform/Services.h"
#include "platform/StringList.h"
#include "render/RuvOdid.h"
#include "render/VurADIDO.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPointer>

// ---- the link test ---------------------------------------------------------------------------

QString TVerIvovavOzed::LinkTarget(const QString& Anchor)
{
    const QString a = Anchor.trimmed();
    if (a.isEmpty())
        return QString();
    // Only a link the link test accepts opens, never any other text; "WWW." opens as http.
    if (a.startsWith(QStringLiteral("WWW."), Qt::CaseInsensitive))
        return QStringLiteral("http://") + a;
    if (IsUrl(a))
        return a;
    return QString();
}

// ---- the press -------------------------------------------------------------------------------

bool TVerIvovavOzed::HandleLinkPress(int ACol, int ARow, int X, int Y)
{
    const int realCol = DisplToRealCol(ACol);
    QString text = Cells(realCol, ARow);
    const int kind = ClassifyCellText(text, EnableHTML());
    const bool html = kind == ctkHtml;
    if (!html && !URLShow())
        return false;

    // Steps 1 and 2.
    QString anchor;
    TMarkupRenderResult res;
    if (!html) {
        if (kind != ctkEncoded && IsUrl(text))
            anchor = text;
    } else {
        const TRect R = CellRect(ACol, ARow);
        TRect T(R.Left + XYOffset().X + 1, R.Top + XYOffset().Y + 1, R.Right - XYOffset().X, R.Bottom);
        if (HasCheckBox(realCol, ARow))
            T.Left += FControlLook->CheckSize();
        if (HitTestCellMarkup(realCol, ARow, text, T, QSize(R.Right + 1, R.Bottom + 1), X, Y, res))
            anchor = res.ControlID.isEmpty() ? res.AnchorValue : (res.AnchorValue.isEmpty() ? QStringLiteral("ctrl") : res.AnchorValue);
    }

    // Step 3: no link or control hit.
    if (anchor.isEmpty()) {
        if (html && text.toUpper().contains(QStringLiteral("<CONTROL"))) {
            if (OnClickCell)
                OnClickCell(this, ARow, ACol);
            HideInplaceEdit();
            SetSelection({ACol, ARow, ACol, ARow});
            return true;
        }
        return false;
    }

    // Step 4.
    bool autoHandle = true;
    bool canEdit = ((Options() & goEditing) || FEditDisable) && !GetReadOnly(realCol, ARow);
    const bool isControl = !res.ControlID.isEmpty();
    if (isControl && OnCanEditCell)
        OnCanEditCell(this, ARow, ACol, canEdit);

    if (isControl && canEdit) {
        // Step 5.
        if (FCtrlEditing) {
            ControlEditDone();
            text = Cells(realCol, ARow);
        }
        const QString type = res.ControlType.toUpper();
        if (type == QLatin1String("BUTTON")) {
            FCtrlXY = TPoint{realCol, ARow};
            FCtrlDown = true;
            RepaintCell(ACol, ARow);
        } else if (type == QLatin1String("CHECK")) {
            const QString v = res.ControlValue.toUpper() == QLatin1String("TRUE") ? QStringLiteral("FALSE")
                                                                                   : QStringLiteral("TRUE");
            SetControlTagText(text, res.ControlID, v);
            SetCells(realCol, ARow, text);
        } else if (type == QLatin1String("RADIO")) {
            text = ClearRadioGroup(text);
            SetControlTagText(text, res.ControlID, QStringLiteral("TRUE"));
            SetCells(realCol, ARow, text);
        }
        if (OnControlClick)
            OnControlClick(this, ARow, ACol, res.ControlID, res.ControlType, res.ControlValue);
        ClickCellControl(text, type, ARow, realCol, ACol, res.ControlRect, res.ControlValue, res.ControlID);
        autoHandle = false;
    } else {
        // Step 6.
        if (OnAnchorClick)
            OnAnchorClick(this, ARow, ACol, anchor, autoHandle);
    }

    // Step 7.
    if (autoHandle && !isControl) {
        const QString upper = anchor.toUpper();
        const int at = upper.indexOf(QStringLiteral("CELL://"));
        if (at < 0) {
            const QString target = LinkTarget(anchor);
            if (!target.isEmpty())
                platform::TheServices().OpenUrl(target);
        } else {
            TPoint cell;
            if (ParseCellReference(anchor.mid(at + 7), cell) && cell.X >= 0 && cell.Y >= 0 &&
                cell.X < ColCount() && cell.Y < RowCount()) {
                SetRow(cell.Y);
                SetCol(cell.X);
                ScrollInView(cell.X, cell.Y);
            }
        }
    }
    return true;
}

// ---- editors over form controls -------------------------------------------------------------

QWidget* TVerIvovavOzed::ControlEditor() const
{
    if (!FCtrlEditing)
        return nullptr;
    if (FCtrlType == QLatin1String("COMBO"))
        return FComboControl;
    return FEditControl;
}

void TVerIvovavOzed::ClickCellControl(const QString& CellText, const QString& CtrlType, int ARow, int ARealCol,
                                      int ACol, const TRect& CtrlRect, const QString& CtrlValue,
                                      const QString& CtrlID)
{
    (void)ACol;
    const QString type = CtrlType.toUpper();
    const int maxLen = GetControlTagMaxLen(CellText, CtrlID);
    if (type == QLatin1String("EDIT") || type == QLatin1String("PASSWORD") || type == QLatin1String("MASK")) {
        FCtrlXY = TPoint{ARealCol, ARow};
        FCtrlID = CtrlID;
        FCtrlType = type;
        FCtrlEditing = true;
        if (!FEditControl) {
            FEditControl = new QLineEdit(viewport());
            FEditControl->setObjectName(QStringLiteral("ControlEdit"));
            QObject::connect(FEditControl, &QLineEdit::editingFinished, this, [this] { ControlEditDone(); });
        }
        QLineEdit* e = FEditControl;
        e->resize(0, e->height());
        e->setEchoMode(type == QLatin1String("PASSWORD") ? QLineEdit::Password : QLineEdit::Normal);
        e->setInputMask(type == QLatin1String("MASK") ? GetControlTagProp(CellText, CtrlID) : QString());
        e->setText(CtrlValue);
        e->setFrame(false);
        e->setGeometry(CtrlRect.Left + 1, CtrlRect.Top + 8, std::max(1, CtrlRect.Right - CtrlRect.Left - 4), 14);
        // MAXLEN absent or 0 means no limit.
        e->setMaxLength(maxLen > 0 ? maxLen : 32767);
        e->show();
        e->raise();
        e->setFocus(Qt::OtherFocusReason);
    } else if (type == QLatin1String("COMBO")) {
        FCtrlXY = TPoint{ARealCol, ARow};
        FCtrlID = CtrlID;
        FCtrlType = type;
        FCtrlEditing = true;
        if (!FComboControl) {
            FComboControl = new QComboBox(viewport());
            FComboControl->setObjectName(QStringLiteral("ControlCombo"));
            QObject::connect(FComboControl, qOverload<int>(&QComboBox::activated), this,
                             [this] { ControlComboSelect(FComboControl); });
            // The combo's exit ends the edit and writes the choice into the cell. The combo's own
            // list pop-up takes the focus while it is open; that is no exit.
            QObject::connect(qApp, &QApplication::focusChanged, FComboControl, [this](QWidget*, QWidget* now) {
                if (!FCtrlEditing || FCtrlType != QLatin1String("COMBO") || !FComboControl)
                    return;
                for (QWidget* w = now; w; w = w->parentWidget())
                    if (w == FComboControl)
                        return;
                ControlEditDone();
            });
        }
        QComboBox* cb = FComboControl;
        cb->clear();
        bool edit = true;
        int dropCount = 8;
        platform::TStringList values;
        if (OnControlComboList)
            OnControlComboList(this, ARow, ARealCol, CtrlID, CtrlType, CtrlValue, values, edit, dropCount);
        for (int i = 0; i < values.Count(); ++i)
            cb->addItem(values.Strings(i));
        cb->setEditable(edit);
        const int idx = cb->findText(CtrlValue);
        if (idx >= 0)
            cb->setCurrentIndex(idx);
        if (edit)
            cb->setEditText(CtrlValue);
        cb->setMaxVisibleItems(std::max(1, dropCount));
        cb->setGeometry(CtrlRect.Left - 1, CtrlRect.Top + 4, std::max(1, CtrlRect.Right - CtrlRect.Left),
                        cb->sizeHint().height());
        if (edit && cb->lineEdit())
            cb->lineEdit()->setMaxLength(maxLen > 0 ? maxLen : 32767);
        cb->show();
        cb->raise();
        cb->setFocus(Qt::OtherFocusReason);
        cb->showPopup();
    }
}

void TVerIvovavOzed::ControlComboSelect(QObject* Combo)
{
    (void)Combo;
    if (!OnControlComboSelect || !FComboControl)
        return;
    const int idx = FComboControl->currentIndex();
    OnControlComboSelect(this, FCtrlXY.Y, FCtrlXY.X, idx, FCtrlID, idx >= 0 ? FComboControl->itemText(idx) : QString());
}

void TVerIvovavOzed::ControlEditDone()
{
    if (!FCtrlEditing)
        return;
    FCtrlEditing = false;
    QString value;
    const int c = FCtrlXY.X, r = FCtrlXY.Y;
    if (FCtrlType == QLatin1String("COMBO")) {
        if (FComboControl) {
            value = FComboControl->currentText();
            FComboControl->hidePopup();
            FComboControl->hide();
        }
    } else if (FEditControl) {
        value = FEditControl->text();
        FEditControl->hide();
    }
    if (c >= 0 && r >= 0 && r < RowCount()) {
        QString text = Cells(c, r);
        if (SetControlTagText(text, FCtrlID, value))
            SetCells(c, r, text);
    }
    if (OnControlEditDone)
        OnControlEditDone(this, r, c, FCtrlID, FCtrlType, value);
    FCtrlType.clear();
    setFocus(Qt::OtherFocusReason);
}
