// The colour panels (palette, cube, spectrum) and the colour picker drop-down: its value, its
// text, the four pop-up contents, keys, wheel and cancelled closes.
#include "dropdown/AdvColorPickerDropDown.h"

#include "platform/ScriptedServices.h"

#include "TestSupport.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

QPoint Pt(int x, int y) { return QPoint(x, y); }

// ---- panels -------------------------------------------------------------------------------------

TEST(ColorCubePanel, CellsHintsAndClicks)
{
    TAdvColorCubePanel cube;
    cube.show();
    EXPECT_EQ(cube.size(), QSize(182, 160));
    EXPECT_EQ(cube.Cell(1).X, 55);
    EXPECT_EQ(cube.Cell(1).Y, 20);
    EXPECT_EQ(cube.Cell(64).Color, 0xFFFFFF);
    EXPECT_EQ(cube.Cell(64).X, 91); // row 7 starts at 19, the seventh cell
    EXPECT_EQ(cube.Cell(64).Y, 80);
    EXPECT_EQ(cube.Cell(127).X, 19 + 36 + 72);
    EXPECT_EQ(cube.Cell(127).Color, 0x2100A5);

    cube.SetSelectedColor(0xFFFFFF);
    EXPECT_EQ(cube.SelectedIndex(), 64);
    cube.SetSelectedColor(0x123456);
    EXPECT_EQ(cube.SelectedIndex(), -1);

    // Midway between cells 1 and 2 (6 from both): the lower number wins; past 6 from any: none.
    EXPECT_EQ(cube.PtOnColor(61, 20), 1);
    EXPECT_EQ(cube.PtOnColor(62, 20), 2);
    EXPECT_EQ(cube.PtOnColor(2, 2), -1);

    EXPECT_EQ(TAdvColorCubePanel::RGBHint(0x0066FF), "Red: 255,  Green: 102,  Blue: 0");
    QTest::mouseMove(&cube, Pt(cube.Cell(5).X, cube.Cell(5).Y));
    EXPECT_EQ(cube.HotIndex(), 5);
    EXPECT_EQ(cube.toolTip(), TAdvColorCubePanel::RGBHint(cube.Cell(5).Color));

    int selects = 0;
    cube.OnSelect = [&](QObject*) { ++selects; };
    QTest::mouseClick(&cube, Qt::LeftButton, {}, Pt(cube.Cell(64).X + 1, cube.Cell(64).Y));
    EXPECT_EQ(cube.SelectedColor(), 0xFFFFFF);
    EXPECT_EQ(cube.SelectedIndex(), 64);
    EXPECT_EQ(selects, 1);
    QTest::mouseClick(&cube, Qt::LeftButton, {}, Pt(1, 1));
    EXPECT_EQ(selects, 1) << "a press beside the cells chooses nothing";
}

TEST(ColorPalette, LayoutOfTheDefaultBoxes)
{
    TCustomColorSelector palette;
    palette.AddDefaultColors();
    palette.SetItemsPosition();
    ASSERT_EQ(palette.Items().Count(), 60);
    EXPECT_EQ(palette.size(), QSize(165, 84));
    const int rowTops[] = {4, 20, 32, 44, 56, 68};
    for (int r = 0; r < 6; ++r) {
        SCOPED_TRACE(r);
        const TRect box = palette.Items().Items(r * 10 + 9)->Rect();
        EXPECT_EQ(box.Top, rowTops[r]);
        EXPECT_EQ(box.Left, 4 + 9 * 16);
        EXPECT_EQ(box.Width(), 12);
    }
    EXPECT_EQ(palette.Items().Items(10)->ColorBoxPos(), ipTop);
    EXPECT_EQ(palette.Items().Items(59)->ColorBoxPos(), ipBottom);

    // An eleventh stand-alone box starts the second row; an empty palette is 100 x 50.
    TCustomColorSelector small;
    for (int i = 0; i < 11; ++i)
        small.Items().Add()->SetColor(i);
    small.SetItemsPosition();
    EXPECT_EQ(small.Items().Items(10)->Rect().Left, 4);
    EXPECT_EQ(small.Items().Items(10)->Rect().Top, 20);
    TCustomColorSelector empty;
    empty.SetItemsPosition();
    EXPECT_EQ(empty.size(), QSize(100, 50));
}

TEST(ColorPalette, SelectionAndKeys)
{
    TCustomColorSelector palette;
    palette.AddDefaultColors();
    palette.SetItemsPosition();
    int selects = 0;
    palette.OnItemSelect = [&](QObject*) { ++selects; };

    palette.SetItemIndex(60);
    EXPECT_EQ(palette.ItemIndex(), -1) << "an index past the boxes is ignored";
    EXPECT_EQ(selects, 0);
    palette.SetSelectedColor(0x4D50C0);
    EXPECT_EQ(palette.ItemIndex(), 5);
    EXPECT_EQ(selects, 1);
    palette.SetSelectedColor(0x010203);
    EXPECT_EQ(palette.ItemIndex(), -1);
    EXPECT_EQ(selects, 1);

    struct Case {
        int from;
        Word key;
        bool editor, open;
        int expected;
    };
    const Case cases[] = {
        {-1, VK_RIGHT, false, true, 0},   {5, VK_RIGHT, false, false, 6},  {5, VK_RIGHT, true, false, 5},
        {-1, VK_LEFT, false, true, -1},   {0, VK_LEFT, false, true, 0},    {5, VK_LEFT, true, false, 5},
        {15, VK_UP, false, true, 5},      {5, VK_UP, false, true, 5},      {15, VK_UP, true, false, 14},
        {15, VK_DOWN, false, true, 25},   {55, VK_DOWN, false, true, 55},  {55, VK_DOWN, false, false, 56},
        {-1, VK_DOWN, false, true, 0},    {20, VK_HOME, false, true, 0},   {20, VK_NEXT, false, true, 59},
        {20, VK_END, false, false, 59},   {20, VK_PRIOR, true, false, 0},  {20, VK_RETURN, false, true, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("from %1 key %2 editor %3 open %4").arg(c.from).arg(c.key).arg(c.editor).arg(c.open).toStdString());
        palette.SetItemIndex(c.from);
        palette.HandleKey(c.key, c.editor, c.open);
        EXPECT_EQ(palette.ItemIndex(), c.expected);
    }
}

TEST(ColorSpectrum, LayoutAndPicking)
{
    TAdvColorSpectrumPanel spectrum;
    spectrum.show();
    EXPECT_EQ(spectrum.size(), QSize(150, 174));
    EXPECT_EQ(spectrum.ImageRect(), TRect(11, 10, 139, 138));
    EXPECT_EQ(spectrum.SelectedRect(), TRect(10, 146, 73, 166));
    EXPECT_EQ(spectrum.HotRect(), TRect(77, 146, 140, 166));
    EXPECT_EQ(spectrum.SelectedColor(), 0xFFFFFF);
    EXPECT_EQ(spectrum.HotColor(), clNone);

    int selects = 0;
    spectrum.OnSelect = [&](QObject*) { ++selects; };
    QTest::mouseMove(&spectrum, Pt(11, 10 + 63));
    EXPECT_EQ(spectrum.HotColor(), 0x0000FF) << "the full red hue at the left of the middle row";
    QTest::mouseClick(&spectrum, Qt::LeftButton, {}, Pt(11, 10 + 63));
    EXPECT_EQ(spectrum.SelectedColor(), 0x0000FF);
    EXPECT_EQ(selects, 1);
    QTest::mouseClick(&spectrum, Qt::LeftButton, {}, Pt(11, 10));
    EXPECT_EQ(spectrum.SelectedColor(), 0xFFFFFF) << "white at the top";
    QTest::mouseClick(&spectrum, Qt::LeftButton, {}, Pt(11, 137));
    EXPECT_EQ(spectrum.SelectedColor(), 0x000000) << "black at the bottom";
    QTest::mouseClick(&spectrum, Qt::LeftButton, {}, Pt(5, 150));
    EXPECT_EQ(selects, 3) << "a press beside the picture chooses nothing";
}

// ---- the drop-down ------------------------------------------------------------------------------

class ColorPicker : public ::testing::Test {
protected:
    void SetUp() override
    {
        Host = std::make_unique<QWidget>();
        Host->setGeometry(40, 40, 400, 300);
        DD = TAdvCustomDropDown::New<TAdvColorPickerDropDown>(Host.get());
        DD->move(10, 10);
        DD->AddDefaultColors();
        Other = new QLineEdit(Host.get());
        Other->move(10, 200);
        Host->show();
        Host->activateWindow();
        DD->setFocus();
        QApplication::processEvents();
        DD->OnSelect = [this](QObject*) { ++Selects; };
    }
    void TearDown() override
    {
        if (DD->DroppedDown())
            DD->HideDropDown(false);
        Host.reset();
    }
    void Grab(const QString& name)
    {
        TDropDownForm* form = DD->DropDownForm();
        const QPoint formAt = form->pos() - DD->mapToGlobal(QPoint(0, 0));
        QImage shot(std::max(DD->width(), formAt.x() + form->width()) + 2, formAt.y() + form->height() + 2,
                    QImage::Format_RGB32);
        shot.fill(QColor(240, 240, 240));
        {
            QPainter p(&shot);
            p.drawPixmap(0, 0, DD->grab());
            p.drawPixmap(formAt, form->grab());
        }
        EXPECT_TRUE(shot.save(kt_test::GrabPath(name)));
    }
    platform::ScriptedServices Services;
    platform::ScopedServices UseServices{Services};
    std::unique_ptr<QWidget> Host;
    TAdvColorPickerDropDown* DD = nullptr;
    QLineEdit* Other = nullptr;
    int Selects = 0;
};

TEST_F(ColorPicker, ValueAndText)
{
    EXPECT_FALSE(DD->EditorEnabled());
    EXPECT_EQ(DD->ColorSelectionStyle(), csList);
    EXPECT_EQ(DD->DropDownHeight(), 200);
    EXPECT_EQ(DD->Colors().Count(), 16);
    DD->SetSelectedColor(0x0000FF);
    EXPECT_EQ(DD->ItemIndex(), 9);
    EXPECT_EQ(DD->ColorDisplayText(), "Red");
    EXPECT_EQ(Selects, 1);
    DD->SetItemIndex(9);
    EXPECT_EQ(Selects, 2) << "every write fires";
    DD->SetItemIndex(16);
    EXPECT_EQ(DD->ItemIndex(), 9);
    EXPECT_EQ(Selects, 2);

    struct Case {
        TColor color;
        TColorValueText kind;
        const char* text;
    };
    const Case cases[] = {
        {0x336699, cvtNone, ""},
        {0x336699, cvtHex, "336699"},
        {0x0000FE, cvtHex, "0000FE"},
        {0x336699, cvtHTML, "#996633"},
        {0x336699, cvtRGB, "Red:153,Green:102,Blue:51"},
        {0xFAFAFF, cvtWebName, "clWebSnow"},
        {0x336699, cvtWebName, "#996633"},
        {clHighlight, cvtHTML, "#3399FF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        DD->SetSelectedColor(c.color);
        DD->SetColorValueText(c.kind);
        EXPECT_EQ(DD->ItemIndex(), -1);
        EXPECT_EQ(DD->ColorDisplayText(), QString::fromLatin1(c.text));
    }
    // A named colour in another style shows its value, not its caption.
    DD->SetSelectedColor(0x00FFFF);
    DD->SetColorValueText(cvtHex);
    EXPECT_EQ(DD->ColorDisplayText(), "Yellow");
    DD->SetColorSelectionStyle(csColorCube);
    EXPECT_EQ(DD->ColorDisplayText(), "00FFFF");
}

TEST_F(ColorPicker, ClosedListKeysAndTypeAhead)
{
    struct Case {
        int from;
        Qt::Key key;
        int expected;
    };
    const Case cases[] = {
        {-1, Qt::Key_Down, 0}, {3, Qt::Key_Down, 4}, {15, Qt::Key_Down, 15}, {-1, Qt::Key_Up, 0},
        {3, Qt::Key_Up, 2},    {0, Qt::Key_Up, 0},   {5, Qt::Key_End, 15},   {5, Qt::Key_Home, 0},
        {5, Qt::Key_Left, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("from %1 key %2").arg(c.from).arg(c.key).toStdString());
        DD->SetItemIndex(c.from);
        QTest::keyClick(DD, c.key);
        EXPECT_EQ(DD->ItemIndex(), c.expected);
        EXPECT_FALSE(DD->DroppedDown());
    }
    // Typing looks the captions up; Shift types nothing; the timer's expiry starts afresh.
    DD->SetItemIndex(-1);
    QTest::keyClick(DD, Qt::Key_Shift, Qt::ShiftModifier);
    QTest::keyClicks(DD, "si");
    EXPECT_EQ(DD->CurSearch(), "SI");
    EXPECT_EQ(DD->ItemIndex(), 8) << "Silver";
    EXPECT_TRUE(DD->KeyTimer()->isActive());
    QTest::keyClick(DD, Qt::Key_F5);
    EXPECT_EQ(DD->CurSearch(), "SI");
    DD->KeyTimerExpired();
    EXPECT_EQ(DD->CurSearch(), "");
    QTest::keyClick(DD, Qt::Key_T);
    EXPECT_EQ(DD->ItemIndex(), 6) << "Teal";
}

TEST_F(ColorPicker, OpenListKeysEscapeAndMouse)
{
    // Escape before the list ever opened keeps the value.
    DD->SetSelectedColor(0x008000);
    QTest::keyClick(DD, Qt::Key_Escape);
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_EQ(DD->SelectedColor(), 0x008000);

    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TAdvCustomItemSelector* list = DD->ItemSelector();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->Items().Count(), 16);
    EXPECT_EQ(list->ItemIndex(), 2);
    Grab("ColorPicker_list.png");
    QWidget* keys = QApplication::focusWidget() ? QApplication::focusWidget() : DD->DropDownForm();
    QTest::keyClick(keys, Qt::Key_Down);
    QTest::keyClick(keys, Qt::Key_Right);
    EXPECT_EQ(DD->ItemIndex(), 4);
    EXPECT_TRUE(DD->DroppedDown()) << "keys move without closing";
    QTest::keyClick(keys, Qt::Key_B);
    EXPECT_EQ(DD->ItemIndex(), 0) << "Black";
    QTest::keyClick(keys, Qt::Key_Escape);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 2) << "Escape restores the opening choice";
    EXPECT_EQ(DD->SelectedColor(), 0x008000);

    // The wheel moves the hot row of the open list without choosing; a click chooses and closes.
    DD->ShowDropDown();
    DD->SelectNextValue();
    DD->SelectNextValue();
    EXPECT_EQ(list->ItemHot(), 1);
    EXPECT_EQ(DD->ItemIndex(), 2);
    const TRect r = list->Panel()->GetItemRect(11);
    list->ScrollItemInView(11);
    QTest::mouseClick(list->Panel(), Qt::LeftButton, {}, QPoint(r.Left + 3, r.Top + 3));
    EXPECT_EQ(DD->ItemIndex(), 11);
    EXPECT_EQ(DD->SelectedColor(), 0x00FFFF);
    EXPECT_FALSE(DD->DroppedDown());
    // Closed, the wheel selects.
    DD->SelectNextValue();
    EXPECT_EQ(DD->ItemIndex(), 12);
}

TEST_F(ColorPicker, ListFitsItsPopUpWithoutAHorizontalBar)
{
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TAdvCustomItemSelector* list = DD->ItemSelector();
    ASSERT_TRUE(list);
    QApplication::processEvents();
    TSize natural;
    list->GetSelectorSize(natural);
    EXPECT_GE(list->viewport()->width(), natural.cx) << "every row shown whole";
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    EXPECT_GE(DD->DropDownForm()->width(), natural.cx + 2 * DD->DropDownBorderWidth());
}

TEST_F(ColorPicker, EnterChoosesTheHotRow)
{
    DD->ShowDropDown();
    DD->SelectNextValue();
    DD->SelectNextValue();
    ASSERT_EQ(DD->ItemSelector()->ItemHot(), 1);
    Selects = 0;
    QTest::keyClick(DD->DropDownForm(), Qt::Key_Return);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_EQ(DD->SelectedColor(), 0x000080);
    EXPECT_EQ(Selects, 1) << "the choice fires once; Enter adds no second notice";
    QTest::keyClick(DD, Qt::Key_Return);
    EXPECT_EQ(Selects, 2) << "Enter on the closed edit notifies";
    EXPECT_FALSE(DD->DroppedDown());
}

TEST_F(ColorPicker, PaletteCubeAndSpectrumChoices)
{
    DD->SetColorSelectionStyle(csDiscrete);
    DD->SetSelectedColor(0x4D50C0);
    DD->ShowDropDown();
    TCustomColorSelector* palette = DD->ColorSelector();
    ASSERT_TRUE(palette);
    EXPECT_EQ(palette->ItemIndex(), 5);
    EXPECT_EQ(DD->DropDownForm()->size(), QSize(165 + 2, 84 + 2));
    Grab("ColorPicker_palette.png");
    QWidget* keys = DD->DropDownForm();
    QTest::keyClick(keys, Qt::Key_Down);
    EXPECT_EQ(palette->ItemIndex(), 15);
    EXPECT_EQ(DD->SelectedColor(), palette->Items().Items(15)->Color());
    EXPECT_TRUE(DD->DroppedDown());
    QTest::keyClick(keys, Qt::Key_Escape);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->SelectedColor(), 0x4D50C0) << "Escape restores the palette's opening colour";
    DD->ShowDropDown();
    const TRect box = palette->Items().Items(0)->Rect();
    QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(box.Left + 2, box.Top + 2));
    EXPECT_EQ(DD->SelectedColor(), 0xFFFFFF);
    EXPECT_EQ(DD->ItemIndex(), -1) << "a palette choice names no list item";
    EXPECT_FALSE(DD->DroppedDown());

    DD->SetColorSelectionStyle(csColorCube);
    DD->ShowDropDown();
    TAdvColorCubePanel* cube = DD->ColorCubePanel();
    ASSERT_TRUE(cube);
    EXPECT_EQ(cube->SelectedIndex(), 64);
    EXPECT_EQ(DD->DropDownForm()->size(), QSize(184, 162)) << "the cube's size, not the palette's";
    EXPECT_EQ(cube->size(), QSize(182, 160));
    Grab("ColorPicker_cube.png");
    const int red = 118; // $0000FF
    ASSERT_EQ(cube->Cell(red).Color, 0x0000FF);
    QTest::mouseClick(cube, Qt::LeftButton, {}, QPoint(cube->Cell(red).X, cube->Cell(red).Y));
    EXPECT_EQ(DD->SelectedColor(), 0x0000FF);
    EXPECT_EQ(DD->ItemIndex(), -1) << "even though Red is a list colour";
    EXPECT_FALSE(DD->DroppedDown());

}

TEST_F(ColorPicker, SpectrumChoice)
{
    DD->SetColorSelectionStyle(csSpectrum);
    DD->ShowDropDown();
    TAdvColorSpectrumPanel* spectrum = DD->SpectrumPanel();
    ASSERT_TRUE(spectrum);
    EXPECT_EQ(DD->DropDownForm()->size(), QSize(152, 176));
    EXPECT_EQ(spectrum->size(), QSize(150, 174));
    Grab("ColorPicker_spectrum.png");
    QTest::mouseClick(spectrum, Qt::LeftButton, {}, QPoint(11, 137));
    EXPECT_EQ(DD->SelectedColor(), 0x000000);
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_FALSE(DD->DroppedDown());
}

TEST_F(ColorPicker, EditPartDrawing)
{
    DD->SetSelectedColor(0x0000FF);
    Other->setFocus();
    QApplication::processEvents();
    QImage shot = DD->grab().toImage();
    shot.save(kt_test::GrabPath("ColorPicker_edit.png"));
    const int boxY = 1 + (DD->height() - 14) / 2;
    EXPECT_EQ(shot.pixelColor(5 + 6, boxY + 6), QColor(255, 0, 0)) << "the colour box";
    EXPECT_EQ(shot.pixelColor(5, boxY + 6), QColor(0, 0, 0)) << "its black outline";

    int custom = 0;
    DD->OnDrawSelectedColor = [&](QObject*, TCanvas&, TRect R) {
        ++custom;
        EXPECT_EQ(R, TRect(1, 1, DD->width() - DD->DropDownButtonWidth() - 2, DD->height() - 2));
    };
    DD->grab();
    EXPECT_GE(custom, 1);
}

TEST_F(ColorPicker, StylesSpotChecks)
{
    for (TOrlexStyle s : {TOrlexStyle(0), TOrlexStyle(8), TOrlexStyle(10), TOrlexStyle(13)}) {
        SCOPED_TRACE(int(s));
        DD->SetComponentStyle(s);
        EXPECT_EQ(DD->GetComponentStyle(), s);
    }
    DD->SetSelectionColorStyle(scWindows7);
    DD->SetColorSelectionStyle(csDiscrete);
    DD->ShowDropDown();
    EXPECT_EQ(DD->ColorSelector()->ColorBoxAppearance().OuterBorderColorSelected, 0x0000FF);
    EXPECT_EQ(DD->ColorSelector()->ItemColorStyle(), scWindows7);
}

} // namespace
