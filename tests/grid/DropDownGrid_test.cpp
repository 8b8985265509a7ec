// The grid drop-down and its list grid: the fill from items, sizes and widths, completion while
// typing, the type-ahead and narrowing of the open list, choosing, cancelling and the styles.
#include "dropdown/AdvCustomGridDropDown.h"

#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include "TestSupport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPointer>
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
    // Characters typed into the edit, then one key; the text and choice once the keys are up.
    struct Case {
        const char* Name;
        QStringList Items;
        bool MatchCase;
        TLookupMethod Method; // lmNone shows the completion of the change step alone
        QString Preset;       // written into the edit before typing
        QString Typed;
        Qt::Key Then;         // Qt::Key_unknown: none
        QString Text;
        int Index;
    };
    const Qt::Key none = Qt::Key_unknown;
    const std::vector<Case> cases = {
        {"a completes the first entry", {"Apple", "Apricot"}, false, lmLookup, "", "a", none, "Apple", 0},
        {"apr goes on to the second", {"Apple", "Apricot"}, false, lmLookup, "", "apr", none, "Apricot", 1},
        {"no entry: the typed text stays", {"Apple", "Apricot"}, false, lmLookup, "", "q", none, "q", -1},
        {"Backspace steps the search back", {"Apple", "Apricot"}, false, lmLookup, "", "apr", Qt::Key_Backspace,
         "ap", 1},
        {"Enter in another case takes the entry as stored", {"Apple", "Apricot"}, false, lmLookup, "APRICOT", "",
         Qt::Key_Return, "Apricot", 1},
        {"without MatchCase A takes the first of either case", {"apple", "Apple"}, false, lmNone, "", "A", none,
         "apple", 0},
        {"with MatchCase A takes the entry in its case", {"apple", "Apple"}, true, lmNone, "", "A", none, "Apple", 1},
        {"with MatchCase a skips Apple", {"Apple", "apricot"}, true, lmNone, "", "a", none, "apricot", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        DD->Items().Clear();
        DD->Columns().Clear();
        Fruits(c.Items);
        DD->SetMatchCase(c.MatchCase);
        DD->SetLookupMethod(c.Method);
        DD->SetItemIndex(-1);
        // Entering the control starts a new search.
        DD->clearFocus();
        DD->setFocus();
        QApplication::processEvents();
        ASSERT_TRUE(DD->LookupEntry().isEmpty());
        DD->SetEditText(c.Preset);
        DD->setCursorPosition(int(c.Preset.size()));
        QTest::keyClicks(DD, c.Typed);
        if (c.Then != none)
            QTest::keyClick(DD, c.Then);
        EXPECT_EQ(DD->Text().toStdString(), c.Text.toStdString());
        EXPECT_EQ(DD->ItemIndex(), c.Index);
    }
}

TEST_F(DropDownGrid, CompletionTakesAtMost255CharactersOfTheEntry)
{
    const QString tail = QString(299, QChar('x'));
    Fruits({"A" + tail});
    DD->SetLookupMethod(lmNone);
    QTest::keyPress(DD, Qt::Key_A);
    EXPECT_EQ(DD->Text(), "a" + tail.left(255)) << "the typed key and 255 characters of the rest";
    EXPECT_EQ(DD->SelStart(), 1);
    EXPECT_EQ(DD->SelLength(), 255);
    QTest::keyRelease(DD, Qt::Key_A);
    EXPECT_EQ(DD->ItemIndex(), 0);
    EXPECT_EQ(DD->Text(), "A" + tail) << "the key-up takes the whole entry";
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

// ---- forwarded events ----------------------------------------------------------------------

QString Arg(int v) { return QString::number(v); }
QString Arg(bool v) { return v ? "true" : "false"; }
QString Arg(const QString& v) { return v; }
template <class... T> QString Args(const T&... v)
{
    QStringList l{Arg(v)...};
    return l.join(',');
}

// What one forwarded event's handler saw.
struct Probe {
    int Calls = 0;
    QObject* Sender = nullptr;
    bool Blocked = false;
    bool LoseActivation = false; // the handler takes the activation away from the pop-up
    QString Received;
    TDropDownForm* Form = nullptr;
    void Hit(QObject* s, const QString& received)
    {
        ++Calls;
        Sender = s;
        Received = received;
        Blocked = Form->BlockActivate();
        if (LoseActivation)
            Form->Deactivated(nullptr); // as when a window the handler shows takes the activation
    }
};

struct ForwardRow {
    const char* Event;
    bool Blocks;            // the pop-up stays open when it loses the activation in the handler
    bool SenderIsControl;   // key down and key press come through the pop-up's keys
    std::function<void(TCustomAdvGridDropDown&, Probe&)> Assign;
    std::function<QString(TAdvColGrid&)> Trigger; // fires it on the list grid; what came back
    QString Receives;
    QString Returns;
};

TEST_F(DropDownGrid, EveryForwardedEventReachesTheControl)
{
    Fruits({"Apple", "Apricot", "Banana"});
    DD->Columns().Items(0)->Alignment = taRightJustify;
    DD->Columns().Items(0)->Color = 0x00FF00;
    QImage image(20, 20, QImage::Format_RGB32);
    QPainter painter(&image);
    TCanvas canvas(&painter);
    using D = TCustomAdvGridDropDown;
    using G = TAdvColGrid;

    const std::vector<ForwardRow> rows = {
        {"OnGridAnchorClick", true, false,
         [](D& d, Probe& p) {
             d.OnGridAnchorClick = [&p](QObject* s, int r, int c, const QString& a, bool& h) {
                 p.Hit(s, Args(r, c, a, h));
                 h = false;
             };
         },
         [](G& g) { bool h = true; g.OnAnchorClick(&g, 1, 0, "http://a", h); return Arg(h); },
         "1,0,http://a,true", "false"},
        {"OnGridAnchorEnter", false, false,
         [](D& d, Probe& p) { d.OnGridAnchorEnter = [&p](QObject* s, int r, int c, const QString& a) { p.Hit(s, Args(r, c, a)); }; },
         [](G& g) { g.OnAnchorEnter(&g, 2, 1, "x"); return QString(); }, "2,1,x", ""},
        {"OnGridAnchorExit", false, false,
         [](D& d, Probe& p) { d.OnGridAnchorExit = [&p](QObject* s, int r, int c, const QString& a) { p.Hit(s, Args(r, c, a)); }; },
         [](G& g) { g.OnAnchorExit(&g, 2, 1, "y"); return QString(); }, "2,1,y", ""},
        {"OnGridAnchorHint", false, false,
         [](D& d, Probe& p) {
             d.OnGridAnchorHint = [&p](QObject* s, int r, int c, QString& a) { p.Hit(s, Args(r, c, a)); a = "hint"; };
         },
         [](G& g) { QString a = "z"; g.OnAnchorHint(&g, 1, 1, a); return a; }, "1,1,z", "hint"},
        {"OnGridButtonClick", true, false,
         [](D& d, Probe& p) { d.OnGridButtonClick = [&p](QObject* s, int c, int r) { p.Hit(s, Args(c, r)); }; },
         [](G& g) { g.OnButtonClick(&g, 1, 2); return QString(); }, "1,2", ""},
        {"OnGridCanSort", false, false,
         [](D& d, Probe& p) { d.OnGridCanSort = [&p](QObject* s, int c, bool& ok) { p.Hit(s, Args(c, ok)); ok = false; }; },
         [](G& g) { bool ok = true; g.OnCanSort(&g, 1, ok); return Arg(ok); }, "1,true", "false"},
        {"OnGridClickSort", false, false,
         [](D& d, Probe& p) { d.OnGridClickSort = [&p](QObject* s, int c) { p.Hit(s, Args(c)); }; },
         [](G& g) { g.OnClickSort(&g, 1); return QString(); }, "1", ""},
        {"OnGridCustomCompare", false, false,
         [](D& d, Probe& p) {
             d.OnGridCustomCompare = [&p](QObject* s, const QString& a, const QString& b, int& r) { p.Hit(s, Args(a, b, r)); r = -1; };
         },
         [](G& g) { int r = 0; g.OnCustomCompare(&g, "a", "b", r); return Arg(r); }, "a,b,0", "-1"},
        {"OnGridRawCompare", false, false,
         [](D& d, Probe& p) {
             d.OnGridRawCompare = [&p](QObject* s, int c, int r1, int r2, int& r) { p.Hit(s, Args(c, r1, r2, r)); r = 1; };
         },
         [](G& g) { int r = 0; g.OnRawCompare(&g, 0, 1, 2, r); return Arg(r); }, "0,1,2,0", "1"},
        {"OnGridColumnSize", false, false,
         [](D& d, Probe& p) { d.OnGridColumnSize = [&p](QObject* s, int c, bool& a) { p.Hit(s, Args(c, a)); a = false; }; },
         [](G& g) { bool a = true; g.OnColumnSize(&g, 1, a); return Arg(a); }, "1,true", "false"},
        {"OnGridColumnSizing", false, false,
         [](D& d, Probe& p) { d.OnGridColumnSizing = [&p](QObject* s, int c, int w) { p.Hit(s, Args(c, w)); }; },
         [](G& g) { g.OnColumnSizing(&g, 1, 90); return QString(); }, "1,90", ""},
        {"OnGridEndColumnSize", false, false,
         [](D& d, Probe& p) { d.OnGridEndColumnSize = [&p](QObject* s, int c) { p.Hit(s, Args(c)); }; },
         [](G& g) { g.OnEndColumnSize(&g, 1); return QString(); }, "1", ""},
        {"OnGridRowSize", false, false,
         [](D& d, Probe& p) { d.OnGridRowSize = [&p](QObject* s, int r, bool& a) { p.Hit(s, Args(r, a)); a = false; }; },
         [](G& g) { bool a = true; g.OnRowSize(&g, 2, a); return Arg(a); }, "2,true", "false"},
        {"OnGridRowSizing", false, false,
         [](D& d, Probe& p) { d.OnGridRowSizing = [&p](QObject* s, int r, int h) { p.Hit(s, Args(r, h)); }; },
         [](G& g) { g.OnRowSizing(&g, 2, 30); return QString(); }, "2,30", ""},
        {"OnGridEndRowSize", false, false,
         [](D& d, Probe& p) { d.OnGridEndRowSize = [&p](QObject* s, int r) { p.Hit(s, Args(r)); }; },
         [](G& g) { g.OnEndRowSize(&g, 2); return QString(); }, "2", ""},
        {"OnGridRowMove", false, false,
         [](D& d, Probe& p) { d.OnGridRowMove = [&p](QObject* s, int r, bool& a) { p.Hit(s, Args(r, a)); a = false; }; },
         [](G& g) { bool a = true; g.OnRowMove(&g, 3, a); return Arg(a); }, "3,true", "false"},
        {"OnGridRowMoving", false, false,
         [](D& d, Probe& p) {
             d.OnGridRowMoving = [&p](QObject* s, int f, int t, bool& a) { p.Hit(s, Args(f, t, a)); a = false; };
         },
         [](G& g) { bool a = true; g.OnRowMoving(&g, 3, 1, a); return Arg(a); }, "3,1,true", "false"},
        {"OnGridRowMoved", false, false,
         [](D& d, Probe& p) { d.OnGridRowMoved = [&p](QObject* s, int f, int t) { p.Hit(s, Args(f, t)); }; },
         [](G& g) { g.OnRowMoved(&g, 3, 1); return QString(); }, "3,1", ""},
        {"OnGridColumnMove", false, false,
         [](D& d, Probe& p) { d.OnGridColumnMove = [&p](QObject* s, int c, bool& a) { p.Hit(s, Args(c, a)); a = false; }; },
         [](G& g) { bool a = true; g.OnColumnMove(&g, 1, a); return Arg(a); }, "1,true", "false"},
        {"OnGridColumnMoving", false, false,
         [](D& d, Probe& p) {
             d.OnGridColumnMoving = [&p](QObject* s, int f, int t, bool& a) { p.Hit(s, Args(f, t, a)); a = false; };
         },
         [](G& g) { bool a = true; g.OnColumnMoving(&g, 1, 0, a); return Arg(a); }, "1,0,true", "false"},
        {"OnGridColumnMoved", false, false,
         [](D& d, Probe& p) { d.OnGridColumnMoved = [&p](QObject* s, int f, int t) { p.Hit(s, Args(f, t)); }; },
         [](G& g) { g.OnColumnMoved(&g, 1, 0); return QString(); }, "1,0", ""},
        {"OnGridCustomCellDraw", false, false,
         [](D& d, Probe& p) {
             d.OnGridCustomCellDraw = [&p](QObject* s, TCanvas&, int c, int r, TGridDrawState, TRect rc, bool pr) {
                 p.Hit(s, Args(c, r, rc.Right, pr));
             };
         },
         [&canvas](G& g) { g.OnCustomCellDraw(&g, canvas, 1, 2, {}, TRect{0, 0, 10, 10}, false); return QString(); },
         "1,2,10,false", ""},
        {"OnGridCustomCellBkgDraw", false, false,
         [](D& d, Probe& p) {
             d.OnGridCustomCellBkgDraw = [&p](QObject* s, TCanvas&, int c, int r, TGridDrawState, TRect rc, bool pr) {
                 p.Hit(s, Args(c, r, rc.Right, pr));
             };
         },
         [&canvas](G& g) { g.OnCustomCellBkgDraw(&g, canvas, 0, 1, {}, TRect{0, 0, 12, 10}, true); return QString(); },
         "0,1,12,true", ""},
        {"OnGridCellBalloon", false, false,
         [](D& d, Probe& p) {
             d.OnGridCellBalloon = [&p](QObject* s, int c, int r, QString& t, QString& x, int& i) {
                 p.Hit(s, Args(c, r, t, x, i));
                 t = "T";
                 i = 2;
             };
         },
         [](G& g) {
             QString t, x = "text";
             int i = 0;
             g.OnCellBalloon(&g, 0, 1, t, x, i);
             return Args(t, i);
         },
         "0,1,,text,0", "T,2"},
        {"OnGridGetAlignment", false, false,
         [](D& d, Probe& p) {
             d.OnGridGetAlignment = [&p](QObject* s, int r, int c, TAlignment& h, TVAlignment&) {
                 p.Hit(s, Args(r, c, int(h)));
             };
         },
         [](G& g) {
             TAlignment h = taLeftJustify;
             TVAlignment v = vtaCenter;
             g.OnGetAlignment(&g, 1, 0, h, v);
             return Arg(int(h));
         },
         // the column's own alignment comes first
         Args(1, 0, int(taRightJustify)), Arg(int(taRightJustify))},
        {"OnGridGetCellColor", false, false,
         [](D& d, Probe& p) {
             d.OnGridGetCellColor = [&p](QObject* s, int r, int c, TGridDrawState, TBrush& b, TFont&) {
                 p.Hit(s, Args(r, c, int(b.Color())));
             };
         },
         [](G& g) {
             TBrush b;
             TFont f;
             b.SetColor(0xFFFFFF);
             g.OnGetCellColor(&g, 1, 0, {}, b, f);
             return Arg(int(b.Color()));
         },
         // the column's colour comes first
         Args(1, 0, 0x00FF00), Arg(0x00FF00)},
        {"OnGridGetCellGradient", false, false,
         [](D& d, Probe& p) {
             d.OnGridGetCellGradient = [&p](QObject* s, int r, int c, TColor& a, TColor& b, TColor&, TColor&,
                                            TCellGradientDirection& gd) {
                 p.Hit(s, Args(r, c, int(a), int(b)));
                 gd = GradientHorizontal;
             };
         },
         [](G& g) {
             TColor a = 1, b = 2, m = 3, mt = 4;
             TCellGradientDirection gd = GradientVertical;
             g.OnGetCellGradient(&g, 1, 0, a, b, m, mt, gd);
             return Arg(gd == GradientHorizontal);
         },
         "1,0,1,2", "true"},
        {"OnGridGetFloatFormat", false, false,
         [](D& d, Probe& p) {
             d.OnGridGetFloatFormat = [&p](QObject* s, int c, int r, bool& f, QString& fmt) { p.Hit(s, Args(c, r, f, fmt)); };
         },
         [](G& g) {
             bool f = true;
             QString fmt = "%.2f";
             g.OnGetFloatFormat(&g, 1, 2, f, fmt);
             return fmt;
         },
         // the format arrives emptied
         "1,2,true,", ""},
        {"OnGridGetEditorType", false, false,
         [](D& d, Probe& p) {
             d.OnGridGetEditorType = [&p](QObject* s, int c, int r, TEditorType& e) { p.Hit(s, Args(c, r)); e = edComboList; };
         },
         [](G& g) { TEditorType e = edNormal; g.OnGetEditorType(&g, 1, 2, e); return Arg(e == edComboList); }, "1,2",
         "true"},
        {"OnGridGetEditorProp", false, false,
         [](D& d, Probe& p) {
             d.OnGridGetEditorProp = [&p](QObject* s, int c, int r, TEditLink* l) { p.Hit(s, Args(c, r, l == nullptr)); };
         },
         [](G& g) { g.OnGetEditorProp(&g, 1, 2, nullptr); return QString(); }, "1,2,true", ""},
        {"OnGridCanEditCell", false, false,
         [](D& d, Probe& p) { d.OnGridCanEditCell = [&p](QObject* s, int r, int c, bool& e) { p.Hit(s, Args(r, c, e)); e = false; }; },
         [](G& g) { bool e = true; g.OnCanEditCell(&g, 2, 1, e); return Arg(e); }, "2,1,true", "false"},
        {"OnGridEllipsClick", true, false,
         [](D& d, Probe& p) {
             d.OnGridEllipsClick = [&p](QObject* s, int c, int r, QString& t) { p.Hit(s, Args(c, r, t)); t = "picked"; };
         },
         [](G& g) { QString t = "old"; g.OnEllipsClick(&g, 1, 2, t); return t; }, "1,2,old", "picked"},
        {"OnGridGetDiplText", false, false,
         [](D& d, Probe& p) {
             d.OnGridGetDiplText = [&p](QObject* s, int c, int r, QString& v) { p.Hit(s, Args(c, r, v)); v = "shown"; };
         },
         [](G& g) { QString v = "raw"; g.OnGetDisplText(&g, 0, 1, v); return v; }, "0,1,raw", "shown"},
        {"OnGridGetFormat", false, false,
         [](D& d, Probe& p) {
             d.OnGridGetFormat = [&p](QObject* s, int c, TSortStyle& st, QString& pre, QString&) {
                 p.Hit(s, Args(c, pre));
                 st = ssNumeric;
             };
         },
         [](G& g) {
             TSortStyle st = ssAutomatic;
             QString pre = "$", suf;
             g.OnGetFormat(&g, 1, st, pre, suf);
             return Arg(st == ssNumeric);
         },
         "1,$", "true"},
        {"OnGridHint", false, false,
         [](D& d, Probe& p) { d.OnGridHint = [&p](QObject* s, int r, int c, QString& h) { p.Hit(s, Args(r, c, h)); h = "tip"; }; },
         [](G& g) { QString h; g.OnGridHint(&g, 2, 0, h); return h; }, "2,0,", "tip"},
        {"OnGridMouseMove", false, false,
         [](D& d, Probe& p) { d.OnGridMouseMove = [&p](QObject* s, TShiftState, int x, int y) { p.Hit(s, Args(x, y)); }; },
         [](G& g) { g.MouseMove({}, 7, 40); return QString(); }, "7,40", ""},
        {"OnGridMouseDown", false, false,
         [](D& d, Probe& p) {
             d.OnGridMouseDown = [&p](QObject* s, TMouseButton b, TShiftState, int x, int y) { p.Hit(s, Args(b == mbRight, x, y)); };
         },
         [](G& g) { g.MouseDown(mbRight, {}, 7, 40); return QString(); }, "true,7,40", ""},
        {"OnGridMouseUp", false, false,
         [](D& d, Probe& p) {
             d.OnGridMouseUp = [&p](QObject* s, TMouseButton b, TShiftState, int x, int y) { p.Hit(s, Args(b == mbRight, x, y)); };
         },
         [](G& g) { g.MouseUp(mbRight, {}, 7, 40); return QString(); }, "true,7,40", ""},
        {"OnGridKeyDown", false, true,
         [](D& d, Probe& p) { d.OnGridKeyDown = [&p](QObject* s, Word& k, TShiftState) { p.Hit(s, Args(int(k))); }; },
         [](G& g) { QTest::keyPress(&g, Qt::Key_Right); return QString(); }, Arg(int(VK_RIGHT)), ""},
        {"OnGridKeyUp", false, false,
         [](D& d, Probe& p) { d.OnGridKeyUp = [&p](QObject* s, Word& k, TShiftState) { p.Hit(s, Args(int(k))); }; },
         [](G& g) { QTest::keyRelease(&g, Qt::Key_Right); return QString(); }, Arg(int(VK_RIGHT)), ""},
        {"OnGridKeyPress", false, true,
         [](D& d, Probe& p) { d.OnGridKeyPress = [&p](QObject* s, QChar& k) { p.Hit(s, QString(k)); }; },
         [](G& g) { QTest::keyClick(&g, Qt::Key_Z); return QString(); }, "z", ""},
        {"OnGridRightClickCell", false, false,
         [](D& d, Probe& p) { d.OnGridRightClickCell = [&p](QObject* s, int r, int c) { p.Hit(s, Args(r, c)); }; },
         [](G& g) { g.OnRightClickCell(&g, 2, 1); return QString(); }, "2,1", ""},
        {"OnGridScrollHint", false, false,
         [](D& d, Probe& p) { d.OnGridScrollHint = [&p](QObject* s, int r, QString& h) { p.Hit(s, Args(r, h)); h = "row 3"; }; },
         [](G& g) { QString h; g.OnScrollHint(&g, 3, h); return h; }, "3,", "row 3"},
        {"OnGridTopLeftChanged", false, false,
         [](D& d, Probe& p) { d.OnGridTopLeftChanged = [&p](QObject* s) { p.Hit(s, ""); }; },
         [](G& g) { g.OnTopLeftChanged(&g); return QString(); }, "", ""},
        {"OnGridSearchEditChange", false, false,
         [](D& d, Probe& p) {
             d.OnGridSearchEditChange = [&p](QObject* s, const QString& v, bool& def) { p.Hit(s, Args(v, def)); def = false; };
         },
         [](G& g) { bool def = true; g.OnSearchEditChange(&g, "ba", def); return Arg(def); }, "ba,true", "false"},
        {"OnGridSpinClick", false, false,
         [](D& d, Probe& p) { d.OnGridSpinClick = [&p](QObject* s, int c, int r, int v, bool up) { p.Hit(s, Args(c, r, v, up)); }; },
         [](G& g) { g.OnSpinClick(&g, 1, 2, 5, true); return QString(); }, "1,2,5,true", ""},
        {"OnGridAutoAddRow", false, false,
         [](D& d, Probe& p) { d.OnGridAutoAddRow = [&p](QObject* s, int r) { p.Hit(s, Args(r)); }; },
         [](G& g) { g.OnAutoAddRow(&g, 4); return QString(); }, "4", ""},
        {"OnGridInsertRow", false, false,
         [](D& d, Probe& p) { d.OnGridInsertRow = [&p](QObject* s, int r) { p.Hit(s, Args(r)); }; },
         [](G& g) { g.OnAutoInsertRow(&g, 2); return QString(); }, "2", ""},
        {"OnGridInsertCol", false, false,
         [](D& d, Probe& p) { d.OnGridInsertCol = [&p](QObject* s, int c) { p.Hit(s, Args(c)); }; },
         [](G& g) { g.OnAutoInsertCol(&g, 1); return QString(); }, "1", ""},
        {"OnGridDeleteRow", false, false,
         [](D& d, Probe& p) { d.OnGridDeleteRow = [&p](QObject* s, int r) { p.Hit(s, Args(r)); }; },
         [](G& g) { g.OnAutoDeleteRow(&g, 3); return QString(); }, "3", ""},
        {"OnGridCanAddRow", false, false,
         [](D& d, Probe& p) { d.OnGridCanAddRow = [&p](QObject* s, bool& a) { p.Hit(s, Args(a)); a = false; }; },
         [](G& g) { bool a = true; g.OnCanAddRow(&g, a); return Arg(a); }, "true", "false"},
        {"OnGridCanInsertRow", false, false,
         [](D& d, Probe& p) { d.OnGridCanInsertRow = [&p](QObject* s, int r, bool& a) { p.Hit(s, Args(r, a)); a = false; }; },
         [](G& g) { bool a = true; g.OnCanInsertRow(&g, 2, a); return Arg(a); }, "2,true", "false"},
        {"OnGridCanDeleteRow", false, false,
         [](D& d, Probe& p) { d.OnGridCanDeleteRow = [&p](QObject* s, int r, bool& a) { p.Hit(s, Args(r, a)); a = false; }; },
         [](G& g) { bool a = true; g.OnCanDeleteRow(&g, 2, a); return Arg(a); }, "2,true", "false"},
    };
    ASSERT_EQ(rows.size(), 53u);

    // Without handlers the owner-drawing events of the list stay unhooked.
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    EXPECT_FALSE(Grid()->OnCustomCellDraw);
    EXPECT_FALSE(Grid()->OnCustomCellBkgDraw);
    DD->HideDropDown(true);

    // The handlers are set before the list opens, as an application does.
    std::vector<Probe> probes(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        probes[i].Form = DD->DropDownForm();
        probes[i].LoseActivation = rows[i].Blocks;
        rows[i].Assign(*DD, probes[i]);
    }
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TAdvColGrid* g = Grid();
    for (size_t i = 0; i < rows.size(); ++i) {
        const ForwardRow& row = rows[i];
        Probe& p = probes[i];
        SCOPED_TRACE(row.Event);
        const int before = p.Calls;
        const QString returned = row.Trigger(*g);
        EXPECT_EQ(p.Calls, before + 1);
        EXPECT_EQ(p.Sender, row.SenderIsControl ? static_cast<QObject*>(DD) : static_cast<QObject*>(g));
        EXPECT_EQ(p.Received, row.Receives);
        EXPECT_EQ(returned, row.Returns);
        EXPECT_EQ(p.Blocked, row.Blocks);
        EXPECT_FALSE(DD->DropDownForm()->BlockActivate()) << "the block ends with the handler";
        EXPECT_TRUE(DD->DroppedDown());
    }

    // A non-blocking handler that loses the activation closes the list, as any other moment would.
    probes[1].LoseActivation = true;
    g->OnAnchorEnter(g, 1, 0, "x");
    EXPECT_FALSE(DD->DroppedDown());
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

namespace {

TEST_F(DropDownGrid, EnterInAnEditedLookupCellClosesTheList)
{
    Fruits({"Apple", "Apricot", "Banana"});
    DD->SetGridEditable(true);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TAdvColGrid* g = Grid();
    EXPECT_TRUE(g->Options() & goEditing);
    g->SetCol(0);
    g->SetRow(3);
    g->ShowInplaceEdit();
    ASSERT_TRUE(g->EditorMode());
    QWidget* keys = QApplication::focusWidget() && g->isAncestorOf(QApplication::focusWidget())
                        ? QApplication::focusWidget()
                        : static_cast<QWidget*>(g);
    QTest::keyClick(keys, Qt::Key_Return);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_EQ(DD->Text(), "Banana");
}

TEST_F(DropDownGrid, EnterInAnEditedOtherCellOnlyEndsTheCellEdit)
{
    Fruits({"Apple", "Apricot", "Banana"});
    DD->SetGridEditable(true);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TAdvColGrid* g = Grid();
    g->SetCol(1);
    g->SetRow(2);
    // The user starts the cell's edit with F2 and ends it with Enter in the cell's editor.
    QTest::keyClick(g, Qt::Key_F2);
    ASSERT_TRUE(g->EditorMode());
    QWidget* keys = QApplication::focusWidget() && g->isAncestorOf(QApplication::focusWidget())
                        ? QApplication::focusWidget()
                        : static_cast<QWidget*>(g);
    QTest::keyClick(keys, Qt::Key_Return);
    EXPECT_TRUE(DD->DroppedDown()) << "the consumed Enter leaves the list open";
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_EQ(DD->Text(), "Apricot");
}

TEST_F(DropDownGrid, SearchFooterKeepsWholeRowsAboveItAndShowsItsButtons)
{
    // Header and footer of the pop-up hidden, header row 25, rows 22: whole rows above the
    // 32 pixels of the search footer.
    DD->SetDropDownHeight(200);
    int h = 200;
    DD->AdjustDropDownHeight(h);
    EXPECT_EQ(h, 25 + 6 + 7 * 22);
    DD->SearchFooter().SetVisible(true);
    h = 200;
    DD->AdjustDropDownHeight(h);
    EXPECT_EQ(h, 25 + 6 + 32 + 6 * 22);

    QStringList names;
    for (int i = 0; i < 20; ++i)
        names << QString("Entry %1").arg(i, 2, 10, QChar('0'));
    Fruits(names);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    QApplication::processEvents();
    EXPECT_EQ(DD->DropDownForm()->height(), 25 + 6 + 32 + 6 * 22);
    EXPECT_EQ(Grid()->SearchFooter().FindNextCaption(), "Find &next");
    EXPECT_EQ(Grid()->SearchFooter().FindPrevCaption(), "Find &previous");
    const int right = SearchFooterControlsRight(*Grid());
    EXPECT_GT(right, 0);
    EXPECT_LE(right, Grid()->viewport()->width()) << "no footer control cut off at the right edge";
    Grab("griddropdown_search_footer");
}

TEST_F(DropDownGrid, ChoiceFromCodeIsTheOneTheListOpensAndCancelsTo)
{
    Fruits({"Apple", "Apricot", "Banana"});
    // Enter with the list closed, then a choice from code: opening and closing the list
    // keeps that choice.
    QTest::keyClick(DD, Qt::Key_Return);
    DD->SetItemIndex(2);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    DD->HideDropDown(false);
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_EQ(DD->Text(), "Banana");

    // Enter in the list without a move confirms the row it opened on.
    DD->SetItemIndex(1);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    QTest::keyClick(Grid(), Qt::Key_Return);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 1);

    // Escape goes back to the choice made from code, not to the one the list last closed on.
    DD->SetItemIndex(0);
    DD->ShowDropDown();
    QTest::keyClick(Grid(), Qt::Key_Down);
    EXPECT_EQ(DD->ItemIndex(), 1);
    QTest::keyClick(Grid(), Qt::Key_Escape);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 0);
    EXPECT_EQ(DD->Text(), "Apple");
}

TEST_F(DropDownGrid, BalloonsMadeAgainOnTheFirstMove)
{
    Fruits({"Apple", "Apricot"});
    TAdvColGrid* g = Grid();
    g->Balloon().SetEnable(true);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    QPointer<QWidget> first = g->BalloonWindow();
    ASSERT_TRUE(first);
    g->MouseMove({}, 5, 40);
    EXPECT_FALSE(first) << "the first move makes the balloon window again";
    QPointer<QWidget> second = g->BalloonWindow();
    ASSERT_TRUE(second);
    EXPECT_TRUE(g->Balloon().Enable());
    g->MouseMove({}, 6, 41);
    EXPECT_TRUE(second) << "later moves keep it";

    // Each opening starts over; without balloons nothing is made.
    DD->HideDropDown(true);
    DD->ShowDropDown();
    g->MouseMove({}, 5, 40);
    EXPECT_FALSE(second);
    DD->HideDropDown(true);
    g->Balloon().SetEnable(false);
    DD->ShowDropDown();
    g->MouseMove({}, 5, 40);
    EXPECT_EQ(g->BalloonWindow(), nullptr);
}

TEST_F(DropDownGrid, ListTakesBandsNavigationAndMouseActions)
{
    EXPECT_EQ(DD->Navigation().HomeEndKey(), heFirstLastRow);
    Fruits({"Apple", "Apricot", "Banana", "Cherry"});
    DD->SetItemIndex(3);
    DD->Bands().SetActive(true);
    DD->Bands().SetPrimaryColor(0x00FFFF);
    DD->Navigation().SetAllowInsertRow(true);
    DD->MouseActions().SetDirectEdit(true);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TAdvColGrid* g = Grid();
    EXPECT_TRUE(g->Bands().Active());
    EXPECT_EQ(g->Bands().PrimaryColor(), TColor(0x00FFFF));
    EXPECT_TRUE(g->Navigation().AllowInsertRow());
    EXPECT_EQ(g->Navigation().HomeEndKey(), heFirstLastRow);
    EXPECT_TRUE(g->MouseActions().DirectEdit());
    Grab("griddropdown_bands");

    // Copies, not shared: the list's own changes stay with the list until the next opening.
    g->Navigation().SetAllowInsertRow(false);
    EXPECT_TRUE(DD->Navigation().AllowInsertRow());
    DD->HideDropDown(true);
    DD->Bands().SetActive(false);
    DD->ShowDropDown();
    EXPECT_FALSE(g->Bands().Active());
    EXPECT_TRUE(g->Navigation().AllowInsertRow());
}

TEST_F(DropDownGrid, EscapeInTheClosedEditRestoresTheEntry)
{
    Fruits({"Apple", "Apricot"});
    ASSERT_TRUE(DD->CanUndo());
    DD->SetItemIndex(1);
    // A text that is no entry: Escape takes the edit's changes back and the choice follows the text.
    DD->SetEditText("Apx");
    DD->SetModified(true);
    QTest::keyClick(DD, Qt::Key_Escape);
    EXPECT_FALSE(DD->IsModified());
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_EQ(DD->Text(), "");
    // A text in another case of an entry keeps its entry.
    DD->SetEditText("apricot");
    QTest::keyClick(DD, Qt::Key_Escape);
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_EQ(DD->Text(), "Apricot");
}

} // namespace

namespace {

// A window that counts the Escape keys the edit leaves to it.
class TEscapeCountingHost : public QWidget {
public:
    int Escapes = 0;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() == Qt::Key_Escape)
            ++Escapes;
    }
};

TEST(DropDownBaseEscape, UndoFirstThenTheKeyDownStep)
{
    TEscapeCountingHost host;
    host.setGeometry(40, 40, 300, 100);
    auto* dd = TAdvCustomDropDown::New<TAdvCustomDropDown>(&host);
    host.show();
    host.activateWindow();
    dd->setFocus();
    QApplication::processEvents();
    std::vector<Word> keys;
    dd->OnKeyDown = [&](QObject*, Word& k, TShiftState) { keys.push_back(k); };
    dd->SetText("abc");
    dd->SetModified(true);
    ASSERT_TRUE(dd->CanUndo());
    QTest::keyClick(dd, Qt::Key_Escape);
    EXPECT_FALSE(dd->IsModified());
    EXPECT_EQ(dd->text(), "abc") << "the character itself is never typed";
    EXPECT_EQ(dd->selectedText(), "abc");
    EXPECT_EQ(keys, std::vector<Word>{VK_ESCAPE}) << "the key-down step runs for Escape too";
    EXPECT_EQ(host.Escapes, 1) << "and the window still gets the key once";

    // Without undo the same key-down step, and the window's share as before.
    dd->SetCanUndo(false);
    keys.clear();
    QTest::keyClick(dd, Qt::Key_Escape);
    EXPECT_EQ(keys, std::vector<Word>{VK_ESCAPE});
    EXPECT_EQ(host.Escapes, 2);
}

} // namespace
