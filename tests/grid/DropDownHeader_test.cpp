// Header and footer strips of the drop-down pop-up: their buttons, clicks, captions, painting
// hooks and the footer's size grip.
#include "dropdown/AdvDropDown_Edit.h"

#include "platform/ScriptedServices.h"
#include "platform/Services.h"

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace platform;

namespace {

class DropDownStrips : public ::testing::Test {
protected:
    void SetUp() override
    {
        Host = std::make_unique<QWidget>();
        Host->setGeometry(40, 40, 400, 200);
        DD = TAdvCustomDropDown::New<TAdvCustomDropDown>(Host.get());
        Host->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        if (DD->DroppedDown())
            DD->HideDropDown(false);
        Host.reset();
    }
    TDropDownStripButton* AddFooterButton(const QString& caption, int modalResult)
    {
        TDropDownStripButton* b = DD->DropDownFooter().Buttons().Add();
        b->SetCaption(caption);
        b->SetModalResult(modalResult);
        return b;
    }
    TAdvFooter* Footer() const { return DD->DropDownForm()->Footer(); }
    TAdvHeader* Header() const { return DD->DropDownForm()->Header(); }

    platform::ScriptedServices Services;
    platform::ScopedServices UseServices{Services};
    std::unique_ptr<QWidget> Host;
    TAdvCustomDropDown* DD = nullptr;
};

TEST_F(DropDownStrips, ButtonsLineUp)
{
    for (const char* c : {"One", "Two", "Three"})
        DD->DropDownHeader().Buttons().Add()->SetCaption(c);
    DD->ShowDropDown();
    TAdvHeader* h = Header();
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(h->ButtonCount(), 3);
    const TRect area = h->GetButtonArea();
    EXPECT_EQ(area, TRect(2, 2, h->width() - 2, h->height() - 3));
    // Right aligned: item 0 at the right edge, each next one directly left of it.
    EXPECT_EQ(h->ButtonAt(0)->x() + h->ButtonAt(0)->width(), area.Right);
    EXPECT_EQ(h->ButtonAt(1)->x() + h->ButtonAt(1)->width(), h->ButtonAt(0)->x());
    EXPECT_EQ(h->ButtonAt(2)->x() + h->ButtonAt(2)->width(), h->ButtonAt(1)->x());
    EXPECT_EQ(h->GetCaptionLimit().Right, h->ButtonAt(2)->x() - 2);
    // Content size: caption + 8 wide; the height is cut to the button area.
    const int tw = QFontMetrics(TFont(DD->ButtonAppearance().Font()).ToQFont()).horizontalAdvance("Two");
    EXPECT_NEAR(h->ButtonAt(1)->width(), tw + 8, 1);
    EXPECT_EQ(h->ButtonAt(1)->height(), std::min(h->ButtonAt(1)->height(), area.Height()));
    EXPECT_LE(h->ButtonAt(1)->height(), h->height() - 5);
    DD->HideDropDown(false);

    // Left aligned: the caption limit still follows the last button, now the rightmost one.
    DD->DropDownHeader().SetButtonAlignment(baLeft);
    DD->DropDownHeader().Buttons().Items(0)->SetWidth(40);
    DD->ShowDropDown();
    h = Header();
    EXPECT_EQ(h->ButtonAt(0)->x(), 2);
    EXPECT_EQ(h->ButtonAt(0)->width(), 40);
    EXPECT_EQ(h->ButtonAt(1)->x(), 42);
    EXPECT_EQ(h->GetCaptionLimit().Right, h->ButtonAt(2)->x() - 2);

    // No buttons: no limit.
    DD->HideDropDown(false);
    DD->DropDownHeader().Buttons().Clear();
    DD->ShowDropDown();
    EXPECT_EQ(Header()->ButtonCount(), 0);
    EXPECT_EQ(Header()->GetCaptionLimit(), TRect(-1, -1, -1, -1));
}

TEST_F(DropDownStrips, FooterButtonsCloseByModalResult)
{
    struct Case {
        int modalResult;
        bool closes;
        bool cancelled;
    };
    const Case cases[] = {{mrOk, true, false},   {mrCancel, true, true}, {mrRetry, false, false},
                          {mrYes, true, false},  {mrNo, true, true},     {mrClose, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.modalResult);
        DD->DropDownFooter().Buttons().Clear();
        AddFooterButton("B", c.modalResult);
        int clicked = -1;
        DD->OnDropDownFooterButtonClick = [&](QObject*, int index) { clicked = index; };
        DD->SetText("old");
        DD->ShowDropDown();
        DD->SetEditText("new");
        ASSERT_EQ(Footer()->ButtonCount(), 1);
        TAdvButton* b = Footer()->ButtonAt(0);
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        EXPECT_EQ(DD->DropDownForm()->ModalResult(), c.modalResult);
        EXPECT_EQ(DD->DroppedDown(), !c.closes);
        if (c.closes) {
            EXPECT_EQ(DD->Text(), c.cancelled ? "old" : "new");
        }
        EXPECT_EQ(clicked, 0);
        DD->HideDropDown(false);
    }
    // Enter on a focused footer button closes like a click but reports no click.
    DD->DropDownFooter().Buttons().Clear();
    AddFooterButton("A", mrNone);
    AddFooterButton("OK", mrOk);
    int clicks = 0;
    DD->OnDropDownFooterButtonClick = [&](QObject*, int) { ++clicks; };
    DD->ShowDropDown();
    QTest::keyClick(Footer()->ButtonAt(1), Qt::Key_Return);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(clicks, 0);
    // Header buttons report their index; they never close.
    DD->DropDownHeader().Buttons().Add()->SetCaption("H0");
    DD->DropDownHeader().Buttons().Add()->SetCaption("H1");
    int header = -1;
    DD->OnDropDownHeaderButtonClick = [&](QObject*, int index) { header = index; };
    DD->ShowDropDown();
    QTest::mouseClick(Header()->ButtonAt(1), Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(header, 1);
    EXPECT_TRUE(DD->DroppedDown());
}

TEST_F(DropDownStrips, ChangesWhileOpen)
{
    TDropDownStripButton* item = AddFooterButton("Go", mrNone);
    DD->ShowDropDown();
    TAdvButton* before = Footer()->ButtonAt(0);
    const int height = before->height();
    // A height change waits for the next preparation; a caption change rebuilds at once.
    item->SetHeight(5);
    EXPECT_EQ(Footer()->ButtonAt(0)->height(), height);
    item->SetCaption("Go on");
    EXPECT_EQ(Footer()->ButtonAt(0)->Caption(), "Go on");
    EXPECT_EQ(Footer()->ButtonAt(0)->height(), 5);
    // Adding an item reports nothing; its caption write does.
    TDropDownStripButton* added = DD->DropDownFooter().Buttons().Add();
    EXPECT_EQ(Footer()->ButtonCount(), 1);
    added->SetCaption("More");
    EXPECT_EQ(Footer()->ButtonCount(), 2);
}

TEST_F(DropDownStrips, SizeGrip)
{
    AddFooterButton("X", mrNone);
    DD->SetDropDownWidth(200);
    DD->SetDropDownHeight(150);
    DD->ShowDropDown();
    TAdvFooter* f = Footer();
    ASSERT_TRUE(f->HasSizeGrip());
    EXPECT_EQ(f->GetButtonArea().Right, f->width() - 14);
    EXPECT_TRUE(f->InSizingZone(f->width() - 11, f->height() - 14));
    EXPECT_FALSE(f->InSizingZone(f->width() - 12, f->height() - 14));
    EXPECT_FALSE(f->InSizingZone(f->width() - 11, f->height() - 15));
    // Dragging the grip resizes the pop-up.
    const QPoint at(f->width() - 5, f->height() - 5);
    QTest::mousePress(f, Qt::LeftButton, Qt::NoModifier, at);
    QMouseEvent move(QEvent::MouseMove, QPointF(at + QPoint(30, 20)), QPointF(f->mapToGlobal(at + QPoint(30, 20))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f, &move);
    QTest::mouseRelease(f, Qt::LeftButton, Qt::NoModifier, at + QPoint(30, 20));
    EXPECT_EQ(DD->DropDownForm()->size(), QSize(230, 170));
    DD->HideDropDown(false);

    // Not sizeable: no grip, 2 pixels of margin, no zone.
    DD->SetDropDownSizeable(false);
    DD->ShowDropDown();
    EXPECT_FALSE(f->HasSizeGrip());
    EXPECT_EQ(f->GetButtonArea().Right, f->width() - 2);
    EXPECT_FALSE(f->InSizingZone(f->width() - 1, f->height() - 1));
}

TEST_F(DropDownStrips, CaptionAndBackgroundHooks)
{
    DD->DropDownHeader().SetColor(clWhite);
    DD->DropDownHeader().SetColorTo(clNone);
    DD->DropDownHeader().SetBorderColor(clNone);
    DD->ShowDropDown();
    TAdvHeader* h = Header();
    auto render = [&]() {
        QImage img(h->width(), h->height(), QImage::Format_RGB32);
        img.fill(Qt::green);
        QPainter p(&img);
        TCanvas c(&p);
        h->PaintTo(c);
        return img;
    };
    auto inkCount = [](const QImage& img) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += img.pixel(x, y) != qRgb(255, 255, 255);
        return n;
    };
    EXPECT_EQ(inkCount(render()), 0) << "no caption: plain background";
    // The text event can supply a caption, or suppress one.
    h->OnGetText = [](QObject*, QString& t) { t = "Hello"; };
    EXPECT_GT(inkCount(render()), 0);
    h->Appearance().SetCaption("Shown");
    h->OnGetText = [](QObject*, QString& t) { t.clear(); };
    EXPECT_EQ(inkCount(render()), 0);
    // A background handler paints alone.
    int painted = 0;
    h->OnDrawBackGround = [&](QObject*, TCanvas&, TRect r) {
        ++painted;
        EXPECT_EQ(r, TRect(0, 0, h->width(), h->height()));
    };
    const QImage img = render();
    EXPECT_EQ(painted, 1);
    EXPECT_EQ(img.pixel(5, 5), qRgb(0, 255, 0));
}

TEST_F(DropDownStrips, AppearanceCopies)
{
    THeaderAppearance h;
    TFooterAppearance f;
    int changes = 0;
    h.OnChange = [&](QObject*) { ++changes; };
    f.SetCaption("footer");
    f.SetVisible(false);
    h.Assign(f); // another kind: ignored
    EXPECT_EQ(h.Caption(), "");
    EXPECT_EQ(changes, 0);
    THeaderAppearance h2;
    h2.SetCaption("copied");
    h2.SetVisible(false);
    h2.Buttons().Add()->SetCaption("b");
    h.Assign(h2);
    EXPECT_EQ(h.Caption(), "copied");
    EXPECT_FALSE(h.Visible());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(h.Buttons().Count(), 1);
    EXPECT_EQ(h.Buttons().Items(0)->Caption(), "b");
    // Button appearance: the checked colours come from the hot ones, red and green at 90 %.
    TAdvButtonAppearance a;
    EXPECT_EQ(a.Colors().ColorChecked, TColor(0xF5D8CA));
    EXPECT_EQ(a.Colors().ColorCheckedTo, TColor(0xF9BDA0));
    int buttonChanges = 0;
    a.OnChange = [&](QObject*) { ++buttonChanges; };
    a.SetColors(a.Colors());
    EXPECT_EQ(buttonChanges, 0);
    DD->SetComponentStyle(tsOffice2010Blue);
    a.Assign(DD->ButtonAppearance());
    EXPECT_EQ(a.Colors().Color, TColor(0xFDF6EF));
    EXPECT_EQ(buttonChanges, 1);
}

} // namespace
