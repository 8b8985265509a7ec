// The multi-column drop-down: completion while typing, the keys of the edit and of the open list,
// choosing and cancelling, the list grid's fill and sizes, and the styles.
#include "dropdown/AdvMultiColumnDropDown.h"

#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include "TestSupport.h"

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace AdvMultiColumnDropDown;

namespace {

class DropDownMultiColumn : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::FormatSettings() = platform::TFormatSettings::Invariant();
        Host = std::make_unique<QWidget>();
        Host->setGeometry(40, 40, 400, 300);
        DD = TAdvCustomDropDown::New<TAdvMultiColumnDropDown>(Host.get());
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
    // Two columns Name and No; each row gives the name, the number and the image index.
    void Fill(const std::vector<std::tuple<QString, QString, int>>& rows, bool endUpdate = true)
    {
        DD->Columns().Clear();
        DD->Columns().Add()->SetHeader("Name");
        DD->Columns().Add()->SetHeader("No");
        DD->Items().Clear();
        for (const auto& [name, no, image] : rows) {
            TDropDownItem* it = DD->Items().Add();
            it->Text().Add(name);
            it->Text().Add(no);
            it->SetImageIndex(image);
        }
        if (endUpdate)
            DD->EndUpdate();
    }
    void FillFruit() { Fill({{"Apple", "1", -1}, {"Apricot", "2", 0}, {"Banana", "3", 1}}); }
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
    TAdvMultiColumnDropDown* DD = nullptr;
};

TEST_F(DropDownMultiColumn, Defaults)
{
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_EQ(DD->LookupColumn(), 0);
    EXPECT_EQ(DD->HeaderColor(), TColor(0xFFFFFF)) << "the constructor's own value after style 4";
    EXPECT_EQ(DD->HeaderColorTo(), TColor(0x808080));
    EXPECT_EQ(DD->HeaderFont().Color(), TColor(0x723708));
    EXPECT_EQ(DD->LineColor(), TColor(0xF1EDEB));
    EXPECT_EQ(DD->FixedLineColor(), TColor(0xD1BBA4));
    EXPECT_EQ(DD->DropDownHeight(), 200);
    EXPECT_EQ(DD->DropDownRowHeight(), 22);
    EXPECT_TRUE(DD->DropDownAutoWidth());
    EXPECT_TRUE(DD->ColumnSizeWithDropDown());
    ASSERT_NE(DD->ColGrid(), nullptr);
}

TEST_F(DropDownMultiColumn, CompletionWhileTyping)
{
    int selects = 0;
    DD->OnSelect = [&](QObject*) { ++selects; };
    Fill({{"Apple", "1", -1}, {"Apricot", "2", -1}}, false);
    QTest::keyClicks(DD, "a");
    EXPECT_EQ(DD->text(), "a") << "the lookup list follows the items only at EndUpdate";
    DD->SetText("");
    DD->EndUpdate();

    struct Case {
        const char* typed;
        bool matchCase;
        const char* text;
        int selStart, selLength, itemIndex;
    };
    const Case cases[] = {
        {"a", false, "apple", 1, 4, 0},
        {"apr", false, "apricot", 3, 4, 1},
        {"APR", false, "APRicot", 3, 4, 1},
        {"a", true, "a", 1, 0, -1}, // the stored texts begin with a capital
        {"Ap", true, "Apple", 2, 3, 0},
        {"x", false, "x", 1, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        DD->SetMatchCase(c.matchCase);
        DD->SetItemIndex(-1);
        QTest::keyClicks(DD, c.typed);
        EXPECT_EQ(DD->text(), c.text);
        EXPECT_EQ(DD->SelStart(), c.selStart);
        EXPECT_EQ(DD->SelLength(), c.selLength);
        EXPECT_EQ(DD->ItemIndex(), c.itemIndex);
        DD->SetText("");
    }
    EXPECT_EQ(selects, 0) << "completion chooses no item";

    // Backspace does not complete again.
    DD->SetMatchCase(false);
    QTest::keyClicks(DD, "apr");
    QTest::keyClick(DD, Qt::Key_Backspace);
    EXPECT_EQ(DD->text(), "apr");

    // A long entry completes to at most 255 characters.
    Fill({{QString(300, 'q'), "1", -1}});
    DD->SetText("");
    QTest::keyClicks(DD, "q");
    EXPECT_EQ(DD->text().size(), 255);
}

TEST_F(DropDownMultiColumn, EnterTakesStoredCaseAndEscapeDropsUnknownText)
{
    FillFruit();
    DD->SetText("APRICOT");
    QTest::keyClick(DD, Qt::Key_Return);
    EXPECT_EQ(DD->text(), "Apricot");
    EXPECT_EQ(DD->ItemIndex(), 1);

    // Escape with the list closed (the edit's undo share turned off, so the key reaches the step).
    DD->SetCanUndo(false);
    DD->SetText("Cherry");
    QTest::keyClick(DD, Qt::Key_Escape);
    EXPECT_EQ(DD->text(), "");
    EXPECT_EQ(DD->ItemIndex(), -1);
}

TEST_F(DropDownMultiColumn, KeysWithListClosed)
{
    std::vector<std::tuple<QString, QString, int>> rows;
    for (int i = 0; i < 25; ++i)
        rows.emplace_back(QString("Item %1").arg(i, 2, 10, QChar('0')), QString::number(i), -1);
    Fill(rows);
    struct Case {
        int from;
        Qt::Key key;
        bool editor;
        int to;
    };
    const Case cases[] = {
        {-1, Qt::Key_PageDown, true, 0},  {3, Qt::Key_PageDown, true, 13}, {20, Qt::Key_PageDown, true, 24},
        {-1, Qt::Key_PageUp, true, 0},    {5, Qt::Key_PageUp, true, 0},    {15, Qt::Key_PageUp, true, 5},
        {-1, Qt::Key_Down, true, 0},      {24, Qt::Key_Down, true, 24},    {-1, Qt::Key_Up, true, 0},
        {0, Qt::Key_Up, true, 0},         {7, Qt::Key_Up, true, 6},        {7, Qt::Key_End, true, 7},
        {7, Qt::Key_End, false, 24},      {7, Qt::Key_Home, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("from %1 key %2 editor %3").arg(c.from).arg(c.key).arg(c.editor).toStdString());
        DD->SetEditorEnabled(c.editor);
        DD->SetItemIndex(c.from);
        QTest::keyClick(DD, c.key);
        EXPECT_EQ(DD->ItemIndex(), c.to);
        EXPECT_FALSE(DD->DroppedDown());
    }
    // Opening shows the chosen row, also near the end of a long list.
    DD->SetEditorEnabled(true);
    DD->SetItemIndex(24);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TAdvColGrid* g = DD->ColGrid();
    EXPECT_EQ(g->Row(), 25);
    EXPECT_GE(g->TopRow() + g->VisibleRowCount(), 26);
    DD->HideDropDown(false);
    EXPECT_EQ(DD->ItemIndex(), 24);

    DD->SetItemIndex(3);
    DD->SetItemIndex(25);
    EXPECT_EQ(DD->ItemIndex(), 3) << "an index past the items is ignored";
    // The wheel over the closed edit steps like Up and Down.
    DD->SelectNextValue();
    EXPECT_EQ(DD->ItemIndex(), 4);
    DD->SelectPreviousValue();
    DD->SelectPreviousValue();
    EXPECT_EQ(DD->ItemIndex(), 2);
}

TEST_F(DropDownMultiColumn, ItemsWithoutLookupTextCountAsEmpty)
{
    Fill({{"Apple", "1", -1}});
    DD->Items().Add(); // no texts at all
    DD->Items().Add()->Text().Add("Avocado");
    DD->SetLookupColumn(1);
    DD->EndUpdate();
    EXPECT_EQ(DD->GetItemIndex("1"), 0);
    EXPECT_EQ(DD->GetItemIndex(""), 1);
    EXPECT_EQ(DD->Items().IndexInColumn(1, ""), -1) << "the collection skips items without the text";
    DD->SetItemIndex(2);
    EXPECT_EQ(DD->text(), "");
    DD->SetLookupColumn(0);
    DD->EndUpdate();
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    QTest::keyClicks(DD->ColGrid(), "av");
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_EQ(DD->text(), "Avocado");
}

TEST_F(DropDownMultiColumn, OpenListKeysAndChoices)
{
    FillFruit();
    DD->SetItemIndex(0);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TAdvColGrid* g = DD->ColGrid();
    EXPECT_EQ(g->Row(), 1);

    // Type-ahead in the list; "(" searches only with Alt.
    QTest::keyClicks(g, "b");
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_EQ(DD->text(), "Banana");
    QTest::keyClick(g, Qt::Key_Down);
    EXPECT_TRUE(DD->DroppedDown()) << "Down moves the list's row";
    QTest::keyClick(g, Qt::Key_Up);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(DD->ItemIndex(), 1);

    // The wheel moves the row without choosing.
    g->DoMouseWheelDown({}, TPoint{0, 0});
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(DD->ItemIndex(), 1);
    DD->HideDropDown(false);
    EXPECT_EQ(DD->ItemIndex(), 1) << "closing after a wheel step keeps the choice";

    // Escape restores the choice the list opened with, also -1.
    DD->SetItemIndex(-1);
    DD->ShowDropDown();
    QTest::keyClick(g, Qt::Key_Down);
    EXPECT_EQ(DD->ItemIndex(), 1);
    QTest::keyClick(g, Qt::Key_Escape);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_EQ(DD->text(), "");

    // Enter chooses and fires OnSelect; Tab is ignored; Alt+Down closes.
    int selects = 0;
    DD->OnSelect = [&](QObject*) { ++selects; };
    DD->ShowDropDown();
    QTest::keyClick(g, Qt::Key_Tab);
    EXPECT_TRUE(DD->DroppedDown());
    QTest::keyClick(g, Qt::Key_Down);
    QTest::keyClick(g, Qt::Key_Return);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_EQ(selects, 1);
    DD->ShowDropDown();
    QTest::keyClick(g, Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(DD->DroppedDown());

    // A click on an item row chooses it and closes.
    DD->ShowDropDown();
    const TRect r = g->CellRect(0, 3);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, QPoint(r.Left + 5, r.Top + 5));
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_EQ(selects, 2);
}

TEST_F(DropDownMultiColumn, ListTypeAheadSpecialCharacters)
{
    Fill({{"(a)", "1", -1}, {"Bee", "2", -1}});
    DD->ShowDropDown();
    TAdvColGrid* g = DD->ColGrid();
    QTest::keyClick(g, '(');
    EXPECT_EQ(DD->ItemIndex(), -1);
    QTest::keyClick(g, '(', Qt::AltModifier);
    EXPECT_EQ(DD->ItemIndex(), 0);
}

TEST_F(DropDownMultiColumn, ListFillAndSizes)
{
    TCustomImageList images(72, 39);
    QImage pic(72, 39, QImage::Format_RGB32);
    pic.fill(Qt::red);
    images.AddImage(pic);
    images.AddImage(pic);
    DD->SetImages(&images);
    Fill({{"Apple", "1", -1}, {"", "2", 0}, {"", "3", 1}});
    DD->Columns().Items(1)->SetColumnType(ctImage);
    DD->Columns().Items(1)->SetAutoSize(true);
    DD->Columns().Items(1)->SetWordwrap(true);
    DD->Items().Items(0)->Text().SetStrings(1, "");
    DD->Items().Items(1)->Text().SetStrings(1, "");
    DD->Items().Items(2)->Text().SetStrings(1, "");
    DD->DropDownHeader().SetVisible(false);
    DD->DropDownFooter().SetVisible(false);
    DD->SetDropDownAutoWidth(false);
    DD->SetColumnSizeWithDropDown(false);
    DD->ShowDropDown();
    TAdvColGrid* g = DD->ColGrid();
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(g->FixedRows(), 1);
    EXPECT_EQ(g->Cells(0, 1), "") << "the grid draws from the items, its cells stay empty";
    EXPECT_EQ(g->ColWidths(1), 76) << "image width + 4, texts empty; the first row has no image";
    EXPECT_EQ(g->RowHeights(0), 25);
    EXPECT_EQ(g->RowHeights(1), 24) << "no image in this row";
    EXPECT_EQ(g->RowHeights(2), 45);
    EXPECT_EQ(g->RowHeights(3), 45);
    EXPECT_EQ(DD->DropDownForm()->height(), 181) << "25 + 2 + 7 x 22";
    Grab("multicolumn_images.png");
    DD->HideDropDown(false);

    // An empty drop-down gives the list its header row only.
    DD->Items().Clear();
    DD->ShowDropDown();
    EXPECT_EQ(g->RowCount(), 1);
    DD->HideDropDown(false);
    DD->SetImages(nullptr);
}

TEST_F(DropDownMultiColumn, ColumnsScaledToTheForm)
{
    Fill({{"Apple", "1", -1}, {"Apricot", "2", -1}, {"Banana", "3", -1}});
    DD->Columns().Add()->SetHeader("Third");
    DD->DropDownHeader().SetVisible(false);
    DD->DropDownFooter().SetVisible(false);
    DD->SetDropDownAutoWidth(false);
    DD->SetDropDownWidth(200);
    DD->ShowDropDown();
    TAdvColGrid* g = DD->ColGrid();
    ASSERT_EQ(DD->DropDownForm()->width(), 200);
    EXPECT_EQ(g->ColWidths(0), 66);
    EXPECT_EQ(g->ColWidths(1), 66);
    EXPECT_EQ(g->ColWidths(2), 67);
    EXPECT_EQ(g->Options() & (goRowSelect | goHorzLine | goRangeSelect), goRowSelect | goHorzLine);
    DD->HideDropDown(false);

    // The automatic width follows the columns' natural width.
    DD->SetDropDownWidth(0);
    DD->SetDropDownAutoWidth(true);
    DD->SetColumnSizeWithDropDown(false);
    DD->ShowDropDown();
    EXPECT_EQ(g->NaturalWidth(), 240);
    EXPECT_EQ(DD->DropDownForm()->width(), 242);
    Grab("multicolumn_list.png");
}

TEST_F(DropDownMultiColumn, StylesSpotChecks)
{
    struct Case {
        TOrlexStyle style;
        TColor header, headerTo, line, fixedLine, selText, selection;
    };
    const Case cases[] = {
        {tsOffice2003Blue, 0xD68759, 0x933803, 0x962D00, 0x962D00, 0x000000, 0xD7FFFD},
        {tsWindowsVista, 0xFFFDF9, 0xFFFAF0, 0xFCF2DA, 0xFCF2DA, 0x000000, 0xFDF8F1},
        {tsOffice2010Blue, 0xEDDBCD, clNone, 0xEEDDCF, 0xEEDDCF, 0x000000, 0x6CD0FF},
        {tsWindowsXP, clBtnFace, clBtnFace, 0xC0C0C0, 0x000000, clHighlightText, clHighlight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.style));
        DD->SetComponentStyle(c.style);
        EXPECT_EQ(DD->HeaderColor(), c.header);
        EXPECT_EQ(DD->HeaderColorTo(), c.headerTo);
        EXPECT_EQ(DD->LineColor(), c.line);
        EXPECT_EQ(DD->FixedLineColor(), c.fixedLine);
        EXPECT_EQ(DD->SelectionTextColor(), c.selText);
        EXPECT_EQ(DD->SelectionColor(), c.selection);
    }
    // The custom style changes nothing.
    DD->SetComponentStyle(tsCustom);
    EXPECT_EQ(DD->HeaderColor(), TColor(clBtnFace));
    EXPECT_EQ(DD->LineColor(), TColor(0xC0C0C0));
}

} // namespace

namespace {

TEST_F(DropDownMultiColumn, DrawingEvents)
{
    FillFruit();
    QStringList texts;
    DD->OnDropDownGetItemText = [&](QObject* sender, int col, int row, QString& text) {
        EXPECT_EQ(sender, DD);
        if (col == 0 && row >= 1)
            texts << text;
        text = text.toUpper();
    };
    DD->ShowDropDown();
    DD->DropDownForm()->grab();
    EXPECT_EQ(texts, QStringList({"Apple", "Apricot", "Banana"}));

    // The owner's drawing replaces the built-in one for every cell, the header included.
    int headerCells = 0, itemCells = 0;
    DD->OnDropDownDrawItem = [&](QObject* sender, int, int row, TCanvas&, TRect) {
        EXPECT_EQ(sender, DD);
        ++(row == 0 ? headerCells : itemCells);
    };
    texts.clear();
    DD->DropDownForm()->grab();
    EXPECT_EQ(headerCells, 2);
    EXPECT_EQ(itemCells, 6);
    EXPECT_TRUE(texts.isEmpty());
}

} // namespace

namespace {

TEST_F(DropDownMultiColumn, EscapeWithUndoStillReachesTheKeyStep)
{
    // The edit's undo share (on by default) takes the changes back first; the drop-down's own
    // Escape step follows, as without undo.
    FillFruit();
    ASSERT_TRUE(DD->CanUndo());
    DD->SetItemIndex(1);
    DD->SetText("Cherry");
    DD->SetModified(true);
    QTest::keyClick(DD, Qt::Key_Escape);
    EXPECT_FALSE(DD->IsModified());
    EXPECT_EQ(DD->text(), "");
    EXPECT_EQ(DD->ItemIndex(), -1);
    DD->SetText("banana");
    QTest::keyClick(DD, Qt::Key_Escape);
    EXPECT_EQ(DD->ItemIndex(), 2);
}

} // namespace
