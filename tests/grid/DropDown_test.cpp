// The drop-down edit and its pop-up: opening and closing by key, button and click outside,
// placement, remembered size, pick-only edits, height, label and the pop-up form itself.
#include "dropdown/AdvDropDown_Edit.h"

#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include "TestSupport.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A drop-down with a list in its pop-up, as the item pickers have.
class TListDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
    QListWidget* List = nullptr;
    int Closed = 0;

    void CreateDropDownForm() override
    {
        TAdvCustomDropDown::CreateDropDownForm();
        if (List)
            return;
        List = new QListWidget(DropDownForm());
        List->addItems({"alpha", "beta", "gamma", "delta"});
        List->resize(150, 90);
        SetControl(List);
        SetFocusControl(List);
    }
    void DropDownClosed() override
    {
        ++Closed;
        TAdvCustomDropDown::DropDownClosed();
    }
};

class DropDown : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::FormatSettings() = platform::TFormatSettings::Invariant();
        Host = std::make_unique<QWidget>();
        Host->setGeometry(40, 40, 400, 200);
        DD = TAdvCustomDropDown::New<TListDropDown>(Host.get());
        DD->move(10, 10);
        Other = std::make_unique<QWidget>();
        Other->setGeometry(500, 300, 100, 100);
        Other->show();
        Host->show();
        Host->activateWindow();
        DD->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        if (DD->DroppedDown())
            DD->HideDropDown(false);
        Host.reset();
        Other.reset();
        platform::FormatSettings() = platform::TFormatSettings::Invariant();
    }
    TDropDownForm* Form() const { return DD->DropDownForm(); }
    // A press and release as the window system delivers it (so that an open pop-up sees it).
    static void ClickWindow(QWidget* w, QPoint p)
    {
        QWidget* win = w->window();
        const QPoint at = w->mapTo(win, p);
        QTest::mousePress(win->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        QApplication::processEvents();
        QTest::mouseRelease(win->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        QApplication::processEvents();
    }
    void ClickButton() { ClickWindow(DD->Button()->Button(), QPoint(5, 5)); }

    platform::ScriptedServices Services;
    platform::ScopedServices UseServices{Services};
    std::unique_ptr<QWidget> Host;
    std::unique_ptr<QWidget> Other;
    TListDropDown* DD = nullptr;
};

TEST_F(DropDown, NewDropDownDefaults)
{
    EXPECT_EQ(DD->GetComponentStyle(), tsOffice2007Luna);
    EXPECT_EQ(DD->DropDownColor(), TColor(0xF3E5DA));
    EXPECT_EQ(DD->DropDownColorTo(), TColor(0xF0DED0));
    EXPECT_EQ(DD->DropDownBorderColor(), clNone);
    EXPECT_EQ(DD->SelectionColor(), TColor(0xD7FFFD));
    EXPECT_EQ(DD->DropDownButtonWidth(), 17);
    EXPECT_EQ(DD->Button()->width(), 16) << "the holder's own width until the property is written";
    EXPECT_EQ(DD->width(), 200);
    EXPECT_EQ(DD->UserDropDownWidth(), -1);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->Version(), "1.2.3.4");
    DD->SetVersion("9.9");
    EXPECT_EQ(DD->Version(), "1.2.3.4");
    // The button holder keeps its forced width whatever it is asked for.
    DD->Button()->SetBounds(0, 0, 30, 17);
    EXPECT_EQ(DD->Button()->width(), 16);
    DD->SetDropDownButtonWidth(20);
    EXPECT_EQ(DD->Button()->width(), 20);
    EXPECT_EQ(DD->Button()->geometry(), QRect(DD->width() - 2 - 20, 2, 20, DD->height() - 4));
    // Custom style changes no colour.
    DD->SetComponentStyle(tsCustom);
    EXPECT_EQ(DD->GetComponentStyle(), tsCustom);
    EXPECT_EQ(DD->DropDownColor(), TColor(0xF3E5DA));
}

TEST_F(DropDown, KeysOpenAndClose)
{
    struct Case {
        const char* name;
        Qt::Key openKey;
        Qt::KeyboardModifiers openMods;
        Qt::Key closeKey;
        Qt::KeyboardModifiers closeMods;
        bool restored; // closing cancelled: the text set through Text comes back
    };
    const Case cases[] = {
        {"F4 then Enter", Qt::Key_F4, Qt::NoModifier, Qt::Key_Return, Qt::NoModifier, false},
        {"Alt+Down then Escape", Qt::Key_Down, Qt::AltModifier, Qt::Key_Escape, Qt::NoModifier, true},
        {"Alt+Up then F4", Qt::Key_Up, Qt::AltModifier, Qt::Key_F4, Qt::NoModifier, false},
        {"F4 then Alt+Down", Qt::Key_F4, Qt::NoModifier, Qt::Key_Down, Qt::AltModifier, false},
    };
    // Outside the loop: the handler stays set and fires again after it.
    int ups = 0;
    bool lastCancelled = false;
    DD->OnDropUp = [&](QObject*, bool cancelled) {
        ++ups;
        lastCancelled = cancelled;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DD->SetText("abc");
        ups = 0;
        lastCancelled = false;
        QTest::keyClick(DD, c.openKey, c.openMods);
        ASSERT_TRUE(DD->DroppedDown());
        EXPECT_TRUE(Form()->isVisible());
        // Typing while the pop-up is open goes on to the edit.
        DD->SetSel(3, 0);
        QTest::keyClick(Form(), Qt::Key_X);
        EXPECT_EQ(DD->Text(), "abcx");
        QTest::keyClick(Form(), c.closeKey, c.closeMods);
        EXPECT_FALSE(DD->DroppedDown());
        EXPECT_FALSE(Form()->isVisible());
        EXPECT_EQ(ups, 1);
        EXPECT_EQ(lastCancelled, c.restored);
        EXPECT_EQ(DD->Text(), c.restored ? "abc" : "abcx");
    }
    // Keys typed into the pop-up's control reach the edit as well (and only once).
    QTest::keyClick(DD, Qt::Key_F4);
    ASSERT_TRUE(DD->DroppedDown());
    QTest::keyClick(DD->List, Qt::Key_Escape);
    EXPECT_FALSE(DD->DroppedDown());
    // Enter and Escape on a closed drop-down open nothing; Ctrl+Enter neither.
    for (Qt::Key k : {Qt::Key_Return, Qt::Key_Escape}) {
        QTest::keyClick(DD, k);
        EXPECT_FALSE(DD->DroppedDown());
    }
    QTest::keyClick(DD, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(DD->DroppedDown());
}

TEST_F(DropDown, ButtonClickAndClickOutside)
{
    DD->SetText("old");
    ClickButton();
    ASSERT_TRUE(DD->DroppedDown());
    // A click on the button while open closes the pop-up and does not open it again.
    ClickButton();
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(Form()->DeActivateTime(), Services.Tick);
    ClickButton();
    EXPECT_FALSE(DD->DroppedDown()) << "within 250 ms of the close";
    Services.Tick += 250;
    ClickButton();
    EXPECT_FALSE(DD->DroppedDown()) << "250 ms exactly is not more than the guard";
    Services.Tick += 1;
    ClickButton();
    ASSERT_TRUE(DD->DroppedDown());

    // A click outside closes cancelled: the edited text goes back.
    DD->SetEditText("edited");
    ClickWindow(Other.get(), QPoint(20, 20));
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_FALSE(Form()->isVisible());
    EXPECT_EQ(DD->Text(), "old");

    // Without cancel on deactivation the value stays.
    Services.Tick += 1000;
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    Form()->SetCancelOnDeActivate(false);
    DD->SetEditText("kept");
    ClickWindow(Other.get(), QPoint(20, 20));
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->Text(), "kept");
}

TEST_F(DropDown, DeactivationToOwnChildKeepsItOpen)
{
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    QWidget inner(DD->List); // a window whose parent chain reaches the pop-up
    Form()->Deactivated(&inner);
    EXPECT_TRUE(DD->DroppedDown());
    Form()->Deactivated(DD->List); // the control's parent is the pop-up itself
    EXPECT_TRUE(DD->DroppedDown());
    Form()->Deactivated(Host.get());
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->Closed, 1);
}

TEST_F(DropDown, RefusedOpenings)
{
    bool accept = false;
    int asked = 0;
    DD->OnDropDown = [&](QObject*, bool& acceptdrop) {
        ++asked;
        acceptdrop = accept;
    };
    DD->ShowDropDown();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_FALSE(Form()->isVisible());
    accept = true;
    DD->SetReadOnly(true);
    DD->ShowDropDown();
    EXPECT_FALSE(DD->DroppedDown());
    DD->SetReadOnly(false);
    DD->setEnabled(false);
    DD->ShowDropDown();
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(asked, 1);
    DD->setEnabled(true);
    DD->ShowDropDown();
    EXPECT_TRUE(DD->DroppedDown());
    DD->ShowDropDown(); // already open: nothing
    EXPECT_EQ(asked, 2);
    // Closing a closed drop-down is a no-op.
    DD->HideDropDown(false);
    int ups = 0;
    DD->OnDropUp = [&](QObject*, bool) { ++ups; };
    DD->HideDropDown(true);
    EXPECT_EQ(ups, 0);
}

TEST_F(DropDown, Placement)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    DD->SetDropDownWidth(120);
    DD->SetDropDownHeight(100);
    struct Case {
        const char* name;
        int x, y; // the edit's top-left on the screen
        TDropPosition position;
        int expectX, expectY;
    };
    const int h = 100, eh = DD->height();
    const int rightX = work.x() + work.width() - 50; // sticks out by 70
    const int bottomY = screen.height() - h;          // P.Y + H == screen height
    const Case cases[] = {
        {"below", 50, 60, dpAuto, 50, 60 + eh - 1},
        {"equal to the screen height opens above", 50, bottomY, dpAuto, 50, bottomY - h},
        {"one pixel less opens below", 50, bottomY - 1, dpAuto, 50, bottomY - 1 + eh - 1},
        {"up when asked", 50, 300, dpUp, 50, 300 - h},
        {"down when asked", 50, bottomY + 10, dpDown, 50, bottomY + 10 + eh - 1},
        {"shifted left by the overhang", rightX, 60, dpAuto, rightX - 70, 60 + eh - 1},
        {"starting right of the work area stays", work.x() + work.width() + 5, 60, dpAuto,
         work.x() + work.width() + 5, 60 + eh - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DD->SetDropPosition(c.position);
        // Place the host so that the edit's corner lands on the point (whatever frame it has).
        Host->move(c.x - DD->x(), c.y - DD->y());
        Host->move(Host->pos() + QPoint(c.x, c.y) - DD->mapToGlobal(QPoint(0, 0)));
        QApplication::processEvents();
        ASSERT_EQ(DD->mapToGlobal(QPoint(0, 0)), QPoint(c.x, c.y));
        DD->ShowDropDown();
        ASSERT_TRUE(DD->DroppedDown());
        EXPECT_EQ(Form()->geometry(), QRect(c.expectX, c.expectY, 120, 100));
        DD->HideDropDown(false);
    }
}

TEST_F(DropDown, SizeFollowsContentAndIsRemembered)
{
    // Width of the control; height from frame, header, footer and control.
    DD->ShowDropDown();
    const int content = 2 * 1 + 22 + 22 + 90;
    EXPECT_EQ(Form()->size(), QSize(150, content));
    EXPECT_EQ(DD->List->geometry(), QRect(1, 23, 148, 90));
    Form()->resize(220, 180); // the user drags the size grip
    DD->HideDropDown(false);
    EXPECT_EQ(DD->UserDropDownWidth(), 220);
    DD->ShowDropDown();
    EXPECT_EQ(Form()->size(), QSize(220, 180));
    DD->HideDropDown(false);
    // Writing the width forgets the remembered width only.
    DD->SetDropDownWidth(160);
    EXPECT_EQ(DD->UserDropDownWidth(), -1);
    EXPECT_EQ(DD->UserDropDownHeight(), 180);
    DD->ShowDropDown();
    EXPECT_EQ(Form()->size(), QSize(160, 180));
    DD->HideDropDown(false);
    // Never smaller than 80 x 50.
    DD->SetDropDownWidth(10);
    DD->SetDropDownHeight(10);
    DD->ShowDropDown();
    EXPECT_EQ(Form()->size(), QSize(80, 50));
}

TEST_F(DropDown, PickOnlyEdit)
{
    DD->SetEditorEnabled(false);
    DD->SetText("value");
    DD->SetSel(2, 0);
    for (Qt::Key k : {Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_A}) {
        QTest::keyClick(DD, k);
        EXPECT_EQ(DD->text(), "value") << k;
        EXPECT_EQ(DD->cursorPosition(), 2) << k;
    }
    EXPECT_FALSE(DD->DroppedDown());
    QTest::keyClick(DD, Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(DD->DroppedDown());
    QTest::keyClick(Form(), Qt::Key_F4);
    EXPECT_FALSE(DD->DroppedDown());
    QTest::keyClick(DD, Qt::Key_F4);
    EXPECT_TRUE(DD->DroppedDown());
    DD->HideDropDown(false);
    Services.Tick += 1000;
    // A click anywhere on the edit opens it.
    ClickWindow(DD, QPoint(30, 8));
    EXPECT_TRUE(DD->DroppedDown());
}

TEST_F(DropDown, HeightGrowsWithTheFont)
{
    const int before = DD->height();
    QFont big = DD->font();
    big.setPixelSize(40);
    DD->setFont(big);
    DD->AdjustHeight();
    const int f = QFontMetrics(big).height();
    const int sys = QFontMetrics(QApplication::font()).height();
    EXPECT_EQ(DD->height(), f + std::min(sys, f) / 4);
    // A small font never shrinks it.
    QFont small = DD->font();
    small.setPixelSize(6);
    DD->setFont(small);
    DD->AdjustHeight();
    EXPECT_EQ(DD->height(), f + std::min(sys, f) / 4);
    EXPECT_GE(DD->height(), before);
    // The button stays inside the frame at the right edge.
    EXPECT_EQ(DD->Button()->geometry(), QRect(DD->width() - 2 - 16, 2, 16, DD->height() - 4));
}

TEST_F(DropDown, LabelPositions)
{
    DD->SetBounds(100, 80, 200, 21);
    DD->SetLabelMargin(4);
    DD->SetLabelCaption("Name");
    QLabel* l = DD->Label();
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(DD->LabelCaption(), "Name");
    const int w = QFontMetrics(l->font()).horizontalAdvance("Name");
    struct Case {
        TLabelPosition pos;
        int left, top; // in terms of the label's own size lw, lh below
    };
    const int lw = l->width(), lh = l->height();
    const Case cases[] = {
        {lpLeftTop, 100 - w - 4, 80},
        {lpLeftCenter, 100 - w - 4, 80 + (21 - lh) / 2},
        {lpTopLeft, 100, 80 - lh - 4},
        {lpBottomCenter, 100 + (200 - lw) / 2, 80 + 21 + 4},
        {lpRighBottom, 300 + 4, 80 + 21 - lh},
        {lpBottomRight, 300 - lw, 80 + 21 + 4},
    };
    for (const Case& c : cases) {
        DD->SetLabelPosition(c.pos);
        EXPECT_EQ(l->pos(), QPoint(c.left, c.top)) << c.pos;
    }
    // The label follows the edit, and shows and hides with it.
    DD->SetLabelPosition(lpTopLeft);
    DD->move(120, 90);
    EXPECT_EQ(l->pos(), QPoint(120, 90 - lh - 4));
    EXPECT_TRUE(l->isVisible());
    DD->hide();
    EXPECT_FALSE(l->isVisible());
    DD->show();
    EXPECT_TRUE(l->isVisible());
}

TEST_F(DropDown, FormFrameGripAndStrips)
{
    TDropDownForm* f = Form();
    f->resize(100, 60);
    f->SetSizeable(true);
    EXPECT_EQ(f->HitTest(90, 50), 0);
    EXPECT_EQ(f->HitTest(91, 51), 17);
    EXPECT_EQ(f->HitTest(91, 50), 0);
    f->SetSizeable(false);
    EXPECT_EQ(f->HitTest(99, 59), 0);

    EXPECT_EQ(f->AdjustedClientRect(), TRect(1, 1, 99, 59));
    DD->SetDropDownBorderWidth(0);
    EXPECT_EQ(f->AdjustedClientRect(), TRect(0, 0, 100, 60));

    // Background and frame: a border of 3 is drawn from Left/Top + 1.
    DD->SetDropDownBorderWidth(3);
    DD->SetDropDownBorderColor(clRed);
    DD->SetDropDownColor(clWhite);
    DD->SetDropDownColorTo(clNone);
    QImage img(100, 60, QImage::Format_RGB32);
    img.fill(Qt::green);
    {
        QPainter p(&img);
        TCanvas c(&p);
        f->PaintBackground(c);
    }
    EXPECT_EQ(FromQColor(img.pixelColor(1, 30)), clRed);
    EXPECT_EQ(FromQColor(img.pixelColor(50, 1)), clRed);
    EXPECT_EQ(FromQColor(img.pixelColor(5, 30)), clWhite);
    EXPECT_EQ(FromQColor(img.pixelColor(50, 30)), clWhite);

    // A header switched off is hidden, not freed; switched on again it is the same one.
    DD->SetDropDownBorderWidth(1);
    DD->ShowDropDown();
    TAdvHeader* header = f->Header();
    ASSERT_NE(header, nullptr);
    EXPECT_TRUE(header->isVisible());
    DD->DropDownHeader().SetVisible(false); // follows while open
    EXPECT_EQ(f->Header(), header);
    EXPECT_FALSE(header->isVisible());
    EXPECT_EQ(DD->List->y(), 1);
    DD->DropDownHeader().SetVisible(true);
    EXPECT_EQ(f->Header(), header);
    EXPECT_TRUE(header->isVisible());
}

TEST_F(DropDown, OpenGrab)
{
    DD->SetText("beta");
    DD->DropDownHeader().SetCaption("Pick a value");
    DD->DropDownFooter().SetCaption("<b>4</b> items");
    DD->DropDownFooter().Buttons().Add()->SetCaption("OK");
    DD->DropDownHeader().Buttons().Add()->SetCaption("x");
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    QApplication::processEvents();
    const QPoint formAt = Form()->pos() - DD->mapToGlobal(QPoint(0, 0));
    QImage shot(std::max(DD->width(), formAt.x() + Form()->width()) + 2, formAt.y() + Form()->height() + 2,
                QImage::Format_RGB32);
    shot.fill(QColor(240, 240, 240));
    {
        QPainter p(&shot);
        p.drawPixmap(0, 0, DD->grab());
        p.drawPixmap(formAt, Form()->grab());
    }
    EXPECT_TRUE(shot.save(kt_test::GrabPath("dropdown_open.png")));
    // The pop-up hangs below the edit, overlapping its bottom line.
    EXPECT_EQ(formAt, QPoint(0, DD->height() - 1));
}

} // namespace
