#pragma once
// TForm: the base of every window of the program, a QDialog with a modal result, modal showing,
// and the Enter/Escape keys reaching the default and cancel push buttons.
#include "platform/Services.h"

#include <QDialog>
#include <QPointer>
#include <functional>

namespace platform {

// What a closing form does.
enum TCloseAction { caNone, caHide, caFree, caMinimize };

// A push button that can be a form's default button (clicked by Enter) or cancel button
// (clicked by Escape). The button registers itself with TForm::SetDefaultButton/SetCancelButton.
class IDialogButton {
public:
    virtual ~IDialogButton() = default;
    // True when the button may be clicked now (visible and enabled).
    virtual bool CanClickAsDialogKey() = 0;
    // Clicks the button as if the user clicked it.
    virtual void ClickAsDialogKey() = 0;
};

class TForm : public QDialog {
    Q_OBJECT
public:
    explicit TForm(QWidget* parent = nullptr);
    ~TForm() override;

    // Second construction phase: runs Loaded() (virtuals dispatch here), then OnCreate.
    // Factories call it once right after construction; later calls do nothing.
    void Create();
    bool Created() const { return FCreated; }

    // The modal result. Setting a non-zero value while the form is shown modally ends its modal
    // run with that value (unless OnCloseQuery refuses or OnClose answers caNone).
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value);
    // Shows the form modally and returns its modal result (mrCancel when closed by the close box).
    virtual TModalResult ShowModal();
    bool IsModalRunning() const { return FModalRunning; }

    void Show();
    void Hide();
    // Closes: modal forms end with mrCancel, others hide (after OnCloseQuery and OnClose).
    void Close();
    bool Visible() const { return isVisible(); }

    // The application's main form: closing it ends the application's event loop once its close
    // handling has run (closing any other form only closes that form).
    static TForm* MainForm();
    static void SetMainForm(TForm* form);

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    int ClientWidth() const { return width(); }
    void SetClientWidth(int w);
    int ClientHeight() const { return height(); }
    void SetClientHeight(int h);

    // The push buttons Enter and Escape click. nullptr unregisters. A button object that is also
    // a QObject is forgotten when it is destroyed.
    void SetDefaultButton(IDialogButton* button);
    void SetCancelButton(IDialogButton* button);
    IDialogButton* DefaultButton() const;
    IDialogButton* CancelButton() const;

    // Events, called only when set.
    std::function<void()> OnCreate;
    std::function<void()> OnShow;
    std::function<void()> OnHide;
    std::function<void()> OnResize;
    std::function<void(bool& canClose)> OnCloseQuery;
    std::function<void(TCloseAction& action)> OnClose;

protected:
    // The designed defaults pass, run by Create(). Derived forms set up here what a stored design
    // would have given; call the base first.
    virtual void Loaded();

    // Enter (with any modifier) clicks the default button, Escape with no Shift, Ctrl or Alt the
    // cancel button; true when the key was used. Called for keys no focused control took.
    virtual bool DialogKey(int qtKey, Qt::KeyboardModifiers modifiers);

    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // QDialog's own reject (Escape, close box) goes through Close() so that the modal result is
    // mrCancel and the close events run.
    void reject() override;
    // QDialog's accept ends a modal run with mrOk.
    void accept() override;

    // Asks OnCloseQuery and OnClose; true when the form may close.
    bool CloseQueryAndClose();

private:
    TModalResult FModalResult = mrNone;
    bool FCreated = false;
    bool FModalRunning = false;
    bool FClosing = false;
    IDialogButton* FDefaultButton = nullptr;
    QPointer<QObject> FDefaultObject;
    bool FDefaultIsObject = false;
    IDialogButton* FCancelButton = nullptr;
    QPointer<QObject> FCancelObject;
    bool FCancelIsObject = false;
};

} // namespace platform
