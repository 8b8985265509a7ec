// Each list drop-down tried as a new user would: a small window with a caption and the control,
// set up through its public properties only, opened with Alt+Down from the keyboard, and the
// window with its open pop-up grabbed to build/grabs to look at. Only cheap facts are checked.
#include "dropdown/AdvColorPickerDropDown.h"
#include "dropdown/AdvCustomGridDropDown.h"
#include "dropdown/AdvDetailDropDown.h"
#include "dropdown/AdvImagePickerDropDown.h"
#include "dropdown/AdvMultiColumnDropDown.h"

#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include "TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

QImage Swatch(QColor c, int w = 16, int h = 16)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    QPainter p(&img);
    p.setPen(c.darker(160));
    p.drawRect(0, 0, w - 1, h - 1);
    return img;
}

class DropDownDemo : public ::testing::Test {
protected:
    void SetUp() override { platform::FormatSettings() = platform::TFormatSettings::Invariant(); }
    void TearDown() override
    {
        if (Control && Control->DroppedDown())
            Control->HideDropDown(false);
        Window.reset();
    }
    // A window with a caption above where the control goes.
    QWidget* MakeWindow(const QString& caption, int w = 320, int h = 260)
    {
        Window = std::make_unique<QWidget>();
        Window->setWindowTitle(caption);
        Window->setGeometry(60, 60, w, h);
        auto* label = new QLabel(caption, Window.get());
        label->move(12, 8);
        return Window.get();
    }
    void Place(TAdvCustomDropDown* dd, int width = 200)
    {
        Control = dd;
        dd->setGeometry(12, 32, width, dd->height());
        Window->show();
        Window->activateWindow();
        dd->setFocus();
        QApplication::processEvents();
    }
    // Opens the pop-up the way a keyboard user does.
    void Open()
    {
        QTest::keyClick(Control, Qt::Key_Down, Qt::AltModifier);
        QApplication::processEvents();
        ASSERT_TRUE(Control->DroppedDown());
        ASSERT_TRUE(Control->DropDownForm());
        ASSERT_TRUE(Control->DropDownForm()->isVisible());
        ASSERT_TRUE(Control->Control());
        EXPECT_TRUE(Control->Control()->isVisible());
        EXPECT_GT(Control->DropDownForm()->width(), 0);
        EXPECT_GT(Control->DropDownForm()->height(), 0);
        EXPECT_GT(Control->Control()->width(), 0);
        EXPECT_GT(Control->Control()->height(), 0);
    }
    // The window and the open pop-up at their places on the screen, in one picture.
    void Grab(const QString& name)
    {
        QApplication::processEvents();
        TDropDownForm* form = Control->DropDownForm();
        const QPoint origin = Window->mapToGlobal(QPoint(0, 0));
        const QRect win(QPoint(0, 0), Window->size());
        const QRect pop(form->pos() - origin, form->size());
        const QRect all = win.united(pop).adjusted(-4, -4, 4, 4);
        QImage shot(all.size(), QImage::Format_RGB32);
        shot.fill(QColor(90, 90, 100));
        {
            QPainter p(&shot);
            p.drawPixmap(win.topLeft() - all.topLeft(), Window->grab());
            p.drawPixmap(pop.topLeft() - all.topLeft(), form->grab());
        }
        EXPECT_TRUE(shot.save(kt_test::GrabPath(name)));
    }

    platform::ScriptedServices Services;
    platform::ScopedServices UseServices{Services};
    std::unique_ptr<QWidget> Window;
    TAdvCustomDropDown* Control = nullptr;
};

TEST_F(DropDownDemo, DetailWithNotes)
{
    QWidget* w = MakeWindow("Fruit with notes");
    auto* dd = TAdvCustomDropDown::New<TAdvDetailDropDown>(w);
    TCustomImageList images;
    const QColor colours[] = {Qt::red, QColor(240, 200, 0), QColor(60, 60, 200), Qt::darkGreen};
    for (const QColor& c : colours)
        images.AddImage(Swatch(c));
    dd->SetImages(&images);
    const char* rows[][2] = {{"Apple", "A <b>crisp</b> fruit from the orchard"},
                             {"Banana", "<i>Long</i> and yellow"},
                             {"Blueberry", "Small and <font color=\"clBlue\">blue</font>"},
                             {"Lime", ""}};
    for (int i = 0; i < 4; ++i) {
        TDetailItem* item = dd->Items().Add();
        item->SetCaption(rows[i][0]);
        item->SetNotes(rows[i][1]);
        item->SetImageIndex(i);
    }
    dd->SetItemHeight(36);
    Place(dd);
    QTest::keyClicks(dd, "ba");
    EXPECT_EQ(dd->Text(), "banana");
    Open();
    EXPECT_EQ(dd->ItemSelector()->ItemIndex(), 1);
    Grab("demo_detail_notes.png");
    dd->SetImages(nullptr);
}

TEST_F(DropDownDemo, MultiColumnList)
{
    QWidget* w = MakeWindow("Countries");
    auto* dd = TAdvCustomDropDown::New<TAdvMultiColumnDropDown>(w);
    dd->Columns().Add()->SetHeader("Country");
    dd->Columns().Add()->SetHeader("Capital");
    dd->Columns().Add()->SetHeader("Code");
    const char* rows[][3] = {{"Austria", "Vienna", "AT"},   {"Belgium", "Brussels", "BE"},
                             {"Denmark", "Copenhagen", "DK"}, {"France", "Paris", "FR"},
                             {"Norway", "Oslo", "NO"},       {"Portugal", "Lisbon", "PT"}};
    for (const auto& r : rows) {
        AdvMultiColumnDropDown::TDropDownItem* item = dd->Items().Add();
        for (const char* t : r)
            item->Text().Add(t);
    }
    dd->EndUpdate();
    Place(dd);
    dd->SetItemIndex(3);
    Open();
    Grab("demo_multicolumn.png");
}

TEST_F(DropDownDemo, ColorPickerInEachStyle)
{
    const struct {
        TColorSelectionStyle Style;
        const char* File;
    } styles[] = {{csList, "demo_color_list.png"},
                  {csDiscrete, "demo_color_palette.png"},
                  {csColorCube, "demo_color_cube.png"},
                  {csSpectrum, "demo_color_spectrum.png"}};
    for (const auto& s : styles) {
        SCOPED_TRACE(s.File);
        QWidget* w = MakeWindow("Colour");
        auto* dd = TAdvCustomDropDown::New<TAdvColorPickerDropDown>(w);
        dd->AddDefaultColors();
        dd->SetColorSelectionStyle(s.Style);
        Place(dd, 160);
        dd->SetSelectedColor(0x008000);
        Open();
        Grab(s.File);
        dd->HideDropDown(false);
        Control = nullptr;
    }
}

TEST_F(DropDownDemo, ImagePicker)
{
    TCustomImageList images(24, 24);
    const QColor colours[] = {Qt::red, Qt::darkGreen, Qt::blue, QColor(240, 200, 0), Qt::magenta, Qt::darkCyan};
    for (const QColor& c : colours)
        images.AddImage(Swatch(c, 24, 24));
    const char* captions[] = {"Red", "Green", "Blue", "Yellow", "Magenta", "Teal"};
    // The natural size, then a fixed height too low for the panel: there the form grows by the
    // vertical scroll bar only. Either way the panel's width shows whole.
    const struct {
        int Height;
        bool VerticalBar;
        const char* File;
    } cases[] = {{0, false, "demo_imagepicker.png"}, {100, true, "demo_imagepicker_scrolled.png"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File);
        QWidget* w = MakeWindow("Marker");
        auto* dd = TAdvCustomDropDown::New<TAdvImagePickerDropDown>(w);
        dd->SetImages(&images);
        dd->AddImagesFromImageList();
        for (int i = 0; i < dd->Items().Count(); ++i)
            dd->Items().Items(i)->SetCaption(captions[i]);
        dd->SetColumns(2);
        dd->SetDropDownHeight(c.Height);
        Place(dd, 120);
        dd->SetImageIndex(2);
        Open();
        TAdvCustomItemSelector* list = dd->ItemSelector();
        EXPECT_EQ(list->ItemIndex(), 2);
        EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
        EXPECT_EQ(list->verticalScrollBar()->isVisible(), c.VerticalBar);
        Grab(c.File);
        dd->HideDropDown(false);
        dd->SetImages(nullptr);
        Control = nullptr;
    }
}

TEST_F(DropDownDemo, GridWithSortIndicatorAndSearchFooter)
{
    QWidget* w = MakeWindow("Staff", 360, 360);
    auto* dd = TAdvCustomDropDown::New<TCustomAdvGridDropDown>(w);
    dd->Columns().Add()->Header = "Name";
    dd->Columns().Add()->Header = "Room";
    dd->Columns().Add()->Header = "Phone";
    const char* rows[][3] = {{"Miller", "1.04", "2210"}, {"Adams", "2.11", "2305"}, {"Keller", "1.07", "2214"},
                             {"Brown", "3.02", "2401"},  {"Young", "2.01", "2301"}, {"Evans", "1.12", "2219"}};
    for (const auto& r : rows)
        dd->Items().Add()->Text = QStringList{r[0], r[1], r[2]};
    dd->EndUpdate();
    dd->SetSorting(gsSingleColumn);
    dd->SearchFooter().SetVisible(true);
    dd->SetDropDownHeight(240);
    Place(dd, 240);
    dd->SetItemIndex(0);
    Open();
    auto* grid = dd->GetGrid();
    const TRect h = grid->CellRect(0, 0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(h.Left + 10, h.Top + 5));
    EXPECT_TRUE(dd->DroppedDown());
    EXPECT_TRUE(grid->SortSettings().Show());
    EXPECT_TRUE(grid->SearchFooter().Visible());
    EXPECT_EQ(grid->Cells(0, 1), "Adams");
    Grab("demo_grid_sorted_footer.png");
}

} // namespace
