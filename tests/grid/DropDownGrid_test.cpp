// The grid drop-down and its list grid: the fill from items, sizes and widths, completion while
// typing, the type-ahead and narrowing of the open list, choosing, cancelling and the styles.
#include "dropdown/AdvCustomGridDropDown.h"

#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include "TestSupport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace AdvCustomGridDropDown;

namespace {

class DropDownGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::FormatSettings() = platform::TFormatSettings::Invariant();
        Host = std::make_unique<QWidget>();
        Host->setGeometry(40, 40, 500, 400);
        DD = TAdvCustomDropDown::New<TCustomAdvGridDropDown>(Host.get());
        DD->move(10, 10);
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
    }
    void AddColumn(const QString& header, int width = 80)
    {
        TDropDownColumn* c = DD->Columns().Add();
        c->Header = header;
        c->Width = width;
    }
    void AddItem(const QStringList& texts, int image = -1)
    {
        TDropDownItem* it = DD->Items().Add();
        it->Text = texts;
        it->ImageIndex = image;
    }
    // Fruit names in the lookup column 0, a number in column 1.
    void Fruits(const QStringList& names)
    {
        AddColumn("Name");
        AddColumn("No");
        for (int i = 0; i < names.size(); ++i)
            AddItem({names[i], QString::number(i + 1)});
        DD->EndUpdate();
    }
    TAdvColGrid* Grid() const { return DD->GetGrid(); }
    int NormalRows() const { return Grid()->RowCount() - Grid()->FixedRows(); }
    // The edit with its open list below it, to look at.
    void Grab(const QString& name)
    {
        TDropDownForm* form = DD->DropDownForm();
        const QPixmap edit = DD->grab();
        const QPixmap list = form->grab();
        QImage shot(std::max(edit.width(), list.width()) + 2, edit.height() + list.height() + 2, QImage::Format_RGB32);
        shot.fill(QColor(240, 240, 240));
        {
            QPainter p(&shot);
            p.drawPixmap(0, 0, edit);
            p.drawPixmap(0, edit.height(), list);
        }
        EXPECT_TRUE(shot.save(kt_test::GrabPath(name + ".png")));
    }
    platform::ScriptedServices Services;
    platform::ScopedServices UseServices{Services};
    std::unique_ptr<QWidget> Host;
    TCustomAdvGridDropDown* DD = nullptr;
};

TEST_F(DropDownGrid, DefaultsAndListGridSetUp)
{
    EXPECT_EQ(DD->GetVersionNr(), 0x06000101);
    EXPECT_TRUE(DD->UseItems());
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_EQ(DD->DropDownHeight(), 200);
    EXPECT_EQ(DD->DropDownColor(), TColor(0xFFFFFF));
    EXPECT_EQ(DD->SelectionColor(), TColor(0x5EC1F1)) << "the list's own selection colour wins";
    ASSERT_NE(Grid(), nullptr);
    EXPECT_EQ(Grid()->FixedRows(), 1);
    EXPECT_EQ(Grid()->FixedCols(), 0);
    EXPECT_TRUE(Grid()->Options() & goRowSelect);
    EXPECT_FALSE(Grid()->Options() & goRangeSelect);
    EXPECT_EQ(Grid()->parentWidget(), DD->DropDownForm());
}

TEST_F(DropDownGrid, FillFromItemsKeepsItemIndexInFirstCell)
{
    AddColumn("Name");
    AddColumn("No");
    AddItem({"A", "1"});
    AddItem({"B"});
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TAdvColGrid* g = Grid();
    EXPECT_EQ(g->RowCount(), 3);
    EXPECT_EQ(g->Cells(0, 0), "Name");
    EXPECT_EQ(g->Cells(1, 0), "No");
    EXPECT_EQ(CellObjectInt(g->Objects(0, 0)), -1);
    EXPECT_EQ(CellObjectInt(g->Objects(1, 0)), -1);
    EXPECT_EQ(g->Cells(0, 1), "A");
    EXPECT_EQ(g->Cells(1, 1), "1");
    EXPECT_EQ(g->Cells(0, 2), "B");
    EXPECT_EQ(g->Cells(1, 2), "");
    EXPECT_EQ(CellObjectInt(g->Objects(0, 1)), 0);
    EXPECT_EQ(CellObjectInt(g->Objects(0, 2)), 1);
    Grab("griddropdown_items");
    DD->HideDropDown(true);

    // Without items the header row stays alone.
    DD->Items().Clear();
    DD->ShowDropDown();
    EXPECT_EQ(Grid()->RowCount(), 1);
}

TEST_F(DropDownGrid, NaturalWidthAutoSizeAndRowHeights)
{
    TAdvColGrid* g = Grid();
    AddColumn("Name", 80);
    AddColumn("No", 100);
    DD->SetAutoSizeColumns(false);
    AddItem({"A", "1"});
    g->SetupFromDropDown(DD);
    g->resize(300, 200);
    ASSERT_EQ(g->VisibleRowCount() + g->FixedRows(), g->RowCount());
    EXPECT_EQ(g->NaturalWidth(), 180);
    g->SetRowCount(100);
    EXPECT_EQ(g->NaturalWidth(), 180 + qApp->style()->pixelMetric(QStyle::PM_ScrollBarExtent));

    // An image column counts the entry's own image and text; an entry without a text counts 0.
    DD->Columns().Clear();
    DD->Items().Clear();
    TCustomImageList images(16, 16);
    DD->SetImages(&images);
    TDropDownColumn* c = DD->Columns().Add();
    c->AutoSize = true;
    c->ColumnType = ctImage;
    DD->SetAutoSizeColumns(true);
    AddItem({}, 0);
    AddItem({"Fifty pixels or so"}, 0);
    AddItem({"x"}, -1);
    g->SetupFromDropDown(DD);
    const int text = QFontMetrics(c->Font.ToQFont()).horizontalAdvance("Fifty pixels or so");
    EXPECT_EQ(g->ColWidths(0), 16 + 4 + text + 6);
    EXPECT_EQ(g->Columns().Items(0)->Width, 16 + 4 + text + 6);

    // Word-wrapped rows: one short line keeps the minimum of 24; a text that wraps grows the row.
    DD->Columns().Clear();
    DD->Items().Clear();
    DD->SetImages(nullptr);
    c = DD->Columns().Add();
    c->Wordwrap = true;
    c->Width = 60;
    DD->SetAutoSizeColumns(false);
    const QString longText = "one two three four five six seven";
    AddItem({"short"});
    AddItem({longText});
    g->SetupFromDropDown(DD);
    g->FillFromItems();
    g->SetRowHeightsFromContent();
    const QFontMetrics fm(c->Font.ToQFont());
    const int wrapped = fm.boundingRect(QRect(0, 0, 60, 100000), Qt::TextWordWrap, longText).height() + 6;
    ASSERT_GT(wrapped, 24);
    EXPECT_EQ(g->RowHeights(1), 24);
    EXPECT_EQ(g->RowHeights(2), wrapped);
}

TEST_F(DropDownGrid, HeightInWholeRowsAndScaledColumns)
{
    DD->DropDownHeader().SetVisible(false);
    DD->DropDownFooter().SetVisible(false);
    int h = 200;
    DD->AdjustDropDownHeight(h);
    EXPECT_EQ(h, 25 + 6 + 7 * 22);

    for (int i = 0; i < 3; ++i)
        AddColumn(QString("C%1").arg(i), 80);
    Grid()->SetColCount(3);
    Grid()->SetRowCount(1);
    DD->DropDownForm()->resize(200, 100);
    DD->ScaleColumnsToForm();
    EXPECT_EQ(Grid()->ColWidths(0), 66);
    EXPECT_EQ(Grid()->ColWidths(1), 66);
    EXPECT_EQ(Grid()->ColWidths(2), 67);
}

TEST_F(DropDownGrid, ItemIndexAndStepping)
{
    Fruits({"Apple", "Apricot", "Banana"});
    DD->SetItemIndex(1);
    EXPECT_EQ(DD->Text(), "Apricot");
    DD->SetItemIndex(3);
    EXPECT_EQ(DD->ItemIndex(), 1) << "past the items: ignored";
    DD->SetItemIndex(-1);
    EXPECT_EQ(DD->Text(), "");
    // An item without a lookup text gives an empty text, never an index error.
    AddItem({});
    DD->EndUpdate();
    DD->SetItemIndex(3);
    EXPECT_EQ(DD->Text(), "");

    for (int i = 0; i < 25; ++i)
        AddItem({QString("F%1").arg(i)});
    DD->EndUpdate();
    DD->SetItemIndex(-1);
    DD->PerformKeyDown(VK_NEXT, {});
    EXPECT_EQ(DD->ItemIndex(), 0);
    DD->PerformKeyDown(VK_NEXT, {});
    EXPECT_EQ(DD->ItemIndex(), 10);
    DD->SetItemIndex(25);
    DD->PerformKeyDown(VK_NEXT, {});
    EXPECT_EQ(DD->ItemIndex(), 28) << "clamped to the last";
    DD->PerformKeyDown(VK_PRIOR, {});
    EXPECT_EQ(DD->ItemIndex(), 18);
    DD->SetItemIndex(5);
    DD->PerformKeyDown(VK_PRIOR, {});
    EXPECT_EQ(DD->ItemIndex(), 0);
    DD->PerformKeyDown(VK_DOWN, {});
    EXPECT_EQ(DD->ItemIndex(), 1);
    DD->PerformKeyDown(VK_UP, {});
    EXPECT_EQ(DD->ItemIndex(), 0);
}

TEST_F(DropDownGrid, CompletionWhileTyping)
{
    Fruits({"Apple", "Apricot"});
    QTest::keyClick(DD, Qt::Key_A);
    EXPECT_EQ(DD->ItemIndex(), 0);
    EXPECT_EQ(DD->Text(), "Apple");

    // Enter in another case takes the entry as stored.
    DD->SetItemIndex(-1);
    DD->SetEditText("APRICOT");
    QTest::keyClick(DD, Qt::Key_Return);
    EXPECT_EQ(DD->Text(), "Apricot");
    EXPECT_EQ(DD->ItemIndex(), 1);

}

TEST_F(DropDownGrid, TypeAheadRestartsInPickOnlyList)
{
    Fruits({"Apple", "Banana"});
    DD->SetStyle(dsDropDownList);
    EXPECT_FALSE(DD->EditorEnabled());
    EXPECT_EQ(DD->TypeAhead('a'), 0);
    EXPECT_EQ(DD->Text(), "Apple");
    EXPECT_EQ(DD->TypeAhead('b'), 1) << "ab matches nothing: b alone is searched";
    EXPECT_EQ(DD->LookupEntry(), "b");
    EXPECT_EQ(DD->Text(), "Banana");
    EXPECT_EQ(DD->TypeAhead('z'), -1);
    EXPECT_EQ(DD->LookupEntry(), "");

    DD->SetLookupMethod(lmNone);
    EXPECT_EQ(DD->TypeAhead('a'), -1);
}

TEST_F(DropDownGrid, NarrowingTheOpenList)
{
    Fruits({"Apple", "Banana", "Grape", "Cherry", "Papaya"});
    DD->SetLookupMethod(lmNarrowDown);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    QTest::keyClick(Grid(), Qt::Key_A);
    QTest::keyClick(Grid(), Qt::Key_P);
    EXPECT_EQ(DD->LookupEntry(), "ap");
    QStringList shown;
    for (int r = Grid()->FixedRows(); r < Grid()->RowCount(); ++r)
        shown << Grid()->Cells(0, r);
    EXPECT_EQ(shown, QStringList({"Apple", "Grape", "Papaya"}));
    EXPECT_EQ(DD->Text(), "Apple");
    Grab("griddropdown_narrowed");

    // An emptied search text takes the filter away.
    DD->HideDropDown(true);
    Grid()->RemoveAllFilters();
    EXPECT_EQ(NormalRows(), 5);
}

TEST_F(DropDownGrid, OpenListKeysChooseAndCancel)
{
    Fruits({"Apple", "Apricot", "Banana"});
    DD->SetItemIndex(0);
    int selects = 0;
    DD->OnSelect = [&](QObject*) { ++selects; };

    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    QTest::keyClick(Grid(), Qt::Key_Down);
    EXPECT_EQ(DD->ItemIndex(), 1);
    QTest::keyClick(Grid(), Qt::Key_Escape);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 0) << "Escape restores the choice the list opened with";
    EXPECT_EQ(DD->Text(), "Apple");

    DD->ShowDropDown();
    QTest::keyClick(Grid(), Qt::Key_Tab);
    EXPECT_TRUE(DD->DroppedDown()) << "Tab does nothing in the list";
    QTest::keyClick(Grid(), Qt::Key_Down);
    QTest::keyClick(Grid(), Qt::Key_Down);
    QTest::keyClick(Grid(), Qt::Key_Return);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_EQ(DD->Text(), "Banana");
    EXPECT_EQ(selects, 1);

    // Alt+Down closes keeping the choice.
    DD->ShowDropDown();
    QTest::keyClick(Grid(), Qt::Key_Up);
    QTest::keyClick(Grid(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 1);
}

TEST_F(DropDownGrid, WheelMovesWithoutConfirming)
{
    Fruits({"Apple", "Apricot", "Banana"});
    DD->SetItemIndex(0);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    Grid()->DoMouseWheelDown({}, TPoint(5, 40));
    EXPECT_EQ(Grid()->Row(), 2);
    EXPECT_EQ(DD->ItemIndex(), 0) << "the wheel passes rows without choosing";
    EXPECT_FALSE(Grid()->ConfirmSelection());
    DD->HideDropDown(false);
    EXPECT_EQ(DD->ItemIndex(), 0);
}

TEST_F(DropDownGrid, MouseChoosesItemRowsOnly)
{
    Fruits({"Apple", "Apricot", "Banana"});
    int selects = 0;
    DD->OnSelect = [&](QObject*) { ++selects; };
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TAdvColGrid* g = Grid();
    const TRect header = g->CellRect(0, 0);
    g->MouseDown(mbLeft, {}, header.Left + 3, header.Top + 3);
    g->MouseUp(mbLeft, {}, header.Left + 3, header.Top + 3);
    EXPECT_EQ(selects, 0) << "the header row chooses nothing";
    EXPECT_TRUE(DD->DroppedDown());
    const TRect r = g->CellRect(0, 3);
    g->MouseDown(mbRight, {}, r.Left + 3, r.Top + 3);
    g->MouseUp(mbRight, {}, r.Left + 3, r.Top + 3);
    EXPECT_EQ(selects, 0);

    // Editable lists keep the list open after a click on an item row.
    DD->HideDropDown(true);
    DD->SetGridEditable(true);
    DD->ShowDropDown();
    const TRect r2 = Grid()->CellRect(0, 3);
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, QPoint(r2.Left + 3, r2.Top + 3));
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_TRUE(DD->DroppedDown());
}

TEST_F(DropDownGrid, ForwardedEventsCarryTheListGrid)
{
    Fruits({"Apple"});
    DD->ShowDropDown();
    TAdvColGrid* g = Grid();
    QObject* sender = nullptr;
    bool blocked = false;
    DD->OnGridButtonClick = [&](QObject* s, int, int) {
        sender = s;
        blocked = DD->DropDownForm()->BlockActivate();
    };
    g->OnButtonClick(g, 0, 1);
    EXPECT_EQ(sender, g);
    EXPECT_TRUE(blocked) << "a window the handler shows does not close the list";
    EXPECT_FALSE(DD->DropDownForm()->BlockActivate());

    DD->Columns().Items(0)->Alignment = taRightJustify;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaCenter;
    g->OnGetAlignment(g, 1, 0, ha, va);
    EXPECT_EQ(ha, taRightJustify);

    QString fmt = "%.2f";
    bool isFloat = true;
    g->OnGetFloatFormat(g, 0, 1, isFloat, fmt);
    EXPECT_EQ(fmt, "");
}

TEST_F(DropDownGrid, StyleSpotChecks)
{
    DD->SetComponentStyle(tsOffice2003Blue);
    EXPECT_EQ(DD->HeaderColor(), TColor(0xD68759));
    EXPECT_EQ(DD->LineColor(), TColor(0x962D00));
    EXPECT_EQ(DD->HeaderFont().Color(), TColor(0xFFFFFF));
    const TColor header = DD->HeaderColor();
    DD->SetComponentStyle(tsCustom);
    EXPECT_EQ(DD->HeaderColor(), header);
    DD->SetComponentStyle(tsWindowsVista);
    EXPECT_EQ(DD->HeaderColor(), TColor(0xFFFDF9));
    EXPECT_EQ(DD->LineColor(), TColor(0xFCF2DA)) << "the table's line colour replaces the selection style's";
    EXPECT_EQ(DD->FixedLineColor(), TColor(0xFCF2DA));
    EXPECT_EQ(DD->SelectionColor(), TColor(0xEACAB6));
    DD->SetComponentStyle(tsOffice2010Blue);
    EXPECT_EQ(DD->HeaderColor(), TColor(0xFFFDF9));
}

} // namespace

namespace {

TEST_F(DropDownGrid, HeaderSortKeepsTheChosenRow)
{
    Fruits({"Cherry", "Apple", "Banana"});
    DD->SetSorting(gsSingleColumn);
    DD->SearchFooter().SetVisible(true);
    DD->SetDropDownHeight(260);
    DD->SetItemIndex(0);
    int sorts = 0;
    DD->OnGridClickSort = [&](QObject* s, int) {
        EXPECT_EQ(s, Grid());
        ++sorts;
    };
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    ASSERT_TRUE(Grid()->SortSettings().Show());
    EXPECT_TRUE(Grid()->SearchFooter().Visible()) << "the list takes the control's search footer";
    const TRect h = Grid()->CellRect(0, 0);
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, QPoint(h.Left + 10, h.Top + 5));
    EXPECT_EQ(sorts, 1);
    EXPECT_EQ(Grid()->Cells(0, 1), "Apple");
    EXPECT_EQ(Grid()->Cells(0, 3), "Cherry");
    EXPECT_EQ(Grid()->Row(), 3) << "the chosen entry's row stays current";
    EXPECT_EQ(DD->ItemIndex(), 0);
    EXPECT_TRUE(DD->DroppedDown());
    Grab("griddropdown_sorted");
}

} // namespace
