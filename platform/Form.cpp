#include "platform/Form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>

namespace platform {

namespace {
QPointer<TForm> g_MainForm;
} // namespace

TForm* TForm::MainForm()
{
    return g_MainForm.data();
}

void TForm::SetMainForm(TForm* form)
{
    g_MainForm = form;
}

TForm::TForm(QWidget* parent)
    : QDialog(parent)
{
}

TForm::~TForm() = default;

void TForm::Create()
{
    if (FCreated)
        return;
    FCreated = true;
    Loaded();
    if (OnCreate)
        OnCreate();
}

void TForm::Loaded()
{
}

void TForm::SetModalResult(TModalResult value)
{
    FModalResult = value;
    if (!FModalRunning || value == mrNone || FClosing)
        return;
    if (!CloseQueryAndClose()) {
        FModalResult = mrNone;
        return;
    }
    done(value);
}

TModalResult TForm::ShowModal()
{
    if (!FCreated)
        Create();
    FModalResult = mrNone;
    FModalRunning = true;
    exec();
    FModalRunning = false;
    if (FModalResult == mrNone)
        FModalResult = mrCancel;
    return FModalResult;
}

void TForm::Show()
{
    if (!FCreated)
        Create();
    show();
    raise();
}

void TForm::Hide()
{
    hide();
}

void TForm::Close()
{
    if (FModalRunning) {
        SetModalResult(mrCancel);
        return;
    }
    if (!isVisible())
        return;
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(canClose);
    if (!canClose)
        return;
    TCloseAction action = caHide;
    if (OnClose)
        OnClose(action);
    switch (action) {
    case caNone:
        return;
    case caMinimize:
        showMinimized();
        return;
    case caFree:
    case caHide:
        hide();
        if (this == MainForm()) {
            // The windows are released after the loop has ended, not here.
            QCoreApplication::quit();
            return;
        }
        if (action == caFree)
            deleteLater();
        return;
    }
}

bool TForm::CloseQueryAndClose()
{
    FClosing = true;
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(canClose);
    TCloseAction action = caHide;
    if (canClose && OnClose)
        OnClose(action);
    FClosing = false;
    return canClose && action != caNone;
}

void TForm::SetClientWidth(int w)
{
    resize(w, height());
}

void TForm::SetClientHeight(int h)
{
    resize(width(), h);
}

void TForm::SetDefaultButton(IDialogButton* button)
{
    FDefaultButton = button;
    FDefaultObject = dynamic_cast<QObject*>(button);
    FDefaultIsObject = FDefaultObject != nullptr;
}

void TForm::SetCancelButton(IDialogButton* button)
{
    FCancelButton = button;
    FCancelObject = dynamic_cast<QObject*>(button);
    FCancelIsObject = FCancelObject != nullptr;
}

IDialogButton* TForm::DefaultButton() const
{
    // A QObject button that was destroyed is forgotten; other buttons are trusted to unregister.
    if (FDefaultIsObject && !FDefaultObject)
        return nullptr;
    return FDefaultButton;
}

IDialogButton* TForm::CancelButton() const
{
    if (FCancelIsObject && !FCancelObject)
        return nullptr;
    return FCancelButton;
}

bool TForm::DialogKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) {
        // Enter belongs to the default button whatever the shift state; a hidden or disabled
        // default button still takes the key, without clicking.
        IDialogButton* target = DefaultButton();
        if (!target)
            return false;
        if (target->CanClickAsDialogKey())
            target->ClickAsDialogKey();
        return true;
    }
    if (qtKey == Qt::Key_Escape) {
        if (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
            return false;
        IDialogButton* target = CancelButton();
        if (!target || !target->CanClickAsDialogKey())
            return false;
        target->ClickAsDialogKey();
        return true;
    }
    return false;
}

void TForm::keyPressEvent(QKeyEvent* event)
{
    if (DialogKey(event->key(), event->modifiers())) {
        event->accept();
        return;
    }
    // Escape without a cancel button does nothing (no implicit reject).
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        if (!FCreated)
            Create();
        if (OnShow)
            OnShow();
    }
}

void TForm::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous() && OnHide)
        OnHide();
}

void TForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (OnResize)
        OnResize();
}

void TForm::closeEvent(QCloseEvent* event)
{
    // The close box: the same road as Close(); the modal run, if any, ends with mrCancel.
    event->ignore();
    Close();
}

void TForm::reject()
{
    Close();
}

void TForm::accept()
{
    if (FModalRunning)
        SetModalResult(mrOk);
    else
        Close();
}

} // namespace platform
