#include "platform/Form.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// A stand-in for the owner-drawn push button: clicking sets the form's modal result.
class FakeButton : public QWidget, public IDialogButton {
public:
    FakeButton(TForm* form, TModalResult result) : QWidget(form), FForm(form), FResult(result) {}
    bool CanClickAsDialogKey() override { return isEnabled(); }
    void ClickAsDialogKey() override
    {
        ++Clicks;
        FForm->SetModalResult(FResult);
    }
    int Clicks = 0;

private:
    TForm* FForm;
    TModalResult FResult;
};

class TTestForm : public TForm {
public:
    QStringList Calls;
    QLineEdit* Edit = nullptr;
    FakeButton* Ok = nullptr;
    FakeButton* Cancel = nullptr;

protected:
    void Loaded() override
    {
        TForm::Loaded();
        Calls << "Loaded";
        auto* layout = new QVBoxLayout(this);
        Edit = new QLineEdit(this);
        Ok = new FakeButton(this, mrOk);
        Cancel = new FakeButton(this, mrCancel);
        layout->addWidget(Edit);
        layout->addWidget(Ok);
        layout->addWidget(Cancel);
        SetDefaultButton(Ok);
        SetCancelButton(Cancel);
    }
};

// Runs `action` once the modal loop is running.
void WhenShown(const std::function<void()>& action)
{
    QTimer::singleShot(0, action);
}

// Sends a key press; true when some widget on the way accepted it.
bool Press(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(target, &press);
    return press.isAccepted();
}

} // namespace

TEST(Form, EnterAndEscapeReachTheDefaultAndCancelButtons)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        TModalResult expected;
    };
    const Case cases[] = {
        {Qt::Key_Return, Qt::NoModifier, mrOk},
        {Qt::Key_Enter, Qt::KeypadModifier, mrOk},
        {Qt::Key_Return, Qt::ShiftModifier, mrOk},  // Enter ignores the shift state
        {Qt::Key_Return, Qt::ControlModifier, mrOk},
        {Qt::Key_Return, Qt::AltModifier, mrOk},
        {Qt::Key_Escape, Qt::NoModifier, mrCancel},
    };
    for (const Case& c : cases) {
        TTestForm form;
        form.Create();
        WhenShown([&] {
            form.Edit->setFocus();
            Press(form.Edit, c.key, c.mods);  // the edit does not want it, the form gets it
        });
        EXPECT_EQ(form.ShowModal(), c.expected) << c.key;
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.Ok->Clicks + form.Cancel->Clicks, 1);
    }
}

TEST(Form, KeysThatDoNotClick)
{
    TTestForm form;
    form.Create();
    form.Show();
    Press(form.Edit, Qt::Key_Escape, Qt::ShiftModifier);  // Escape with a modifier: no dialog key
    Press(form.Edit, Qt::Key_Escape, Qt::ControlModifier);
    EXPECT_EQ(form.Cancel->Clicks, 0);
    form.Ok->setEnabled(false);
    // A disabled default button is not clicked, but Enter stops there all the same.
    EXPECT_TRUE(Press(&form, Qt::Key_Return));
    EXPECT_TRUE(Press(&form, Qt::Key_Return, Qt::ShiftModifier));
    EXPECT_EQ(form.Ok->Clicks, 0);
    EXPECT_TRUE(form.isVisible());

    form.SetCancelButton(nullptr);
    Press(form.Edit, Qt::Key_Escape);  // no cancel button: Escape does not close
    EXPECT_TRUE(form.isVisible());
    delete form.Cancel;
    form.SetCancelButton(form.Ok);
    delete form.Ok;  // a destroyed button is forgotten, not called
    form.Ok = nullptr;
    Press(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
    form.Hide();
}

TEST(Form, ModalResultCloseBoxAndCloseQuery)
{
    TTestForm form;
    int creates = 0, shows = 0, closes = 0;
    form.OnCreate = [&] { ++creates; };
    form.OnShow = [&] { ++shows; };
    bool allow = false;
    form.OnCloseQuery = [&](bool& canClose) { canClose = allow; };
    form.OnClose = [&](TCloseAction&) { ++closes; };
    form.Create();
    form.Create();
    EXPECT_EQ(form.Calls, QStringList({"Loaded"}));
    EXPECT_EQ(creates, 1);

    WhenShown([&] {
        form.SetModalResult(mrYes);  // refused by the close query: the form stays
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.ModalResult(), mrNone);
        allow = true;
        form.close();  // the close box
    });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(shows, 1);

    WhenShown([&] { form.SetModalResult(mrRetry); });
    EXPECT_EQ(form.ShowModal(), mrRetry);

    form.SetClientWidth(449);
    form.SetClientHeight(230);
    EXPECT_EQ(form.ClientWidth(), 449);
    EXPECT_EQ(form.ClientHeight(), 230);
    form.SetCaption("Options");
    EXPECT_EQ(form.Caption(), "Options");
}
