// The string grid's lifecycle: the unit start-up, whole-row heights, resize notifications, the
// owner form's resize handler, the cell hint and the rich-text transfers.
#include "GridHost.h"
#include "grid/AdvGrid.h"

#include "platform/Form.h"
#include "platform/Messages.h"

#include <QCoreApplication>
#include <QPointer>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWidget>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using GridHost = kt_test::ShownGridHost;

// The cell's centre in the co-ordinates the hint query uses.
THintInfo HintAt(TVerIvovavOzed& g, int ACol, int ARow)
{
    const TRect r = g.CellRect(ACol, ARow);
    THintInfo info;
    info.CursorPos = TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    return info;
}

TEST(AdvGridLifecycle, UnitStartUpRegistersFormatAndMessagesOnce)
{
    GridHost h; // the first grid runs the start-up when nobody did
    ASSERT_TRUE(GridUnitInitialized());
    EXPECT_EQ(GridCellsClipboardFormat(), QStringLiteral("TVerIvovavOzed Cells"));
    const QEvent::Type done = GridEditDoneMessage();
    const QEvent::Type shift = DTPShiftFocusMessage();
    EXPECT_NE(done, QEvent::None);
    EXPECT_NE(shift, QEvent::None);
    EXPECT_NE(done, shift);
    // Other parts of the program reach the same messages by name.
    EXPECT_EQ(done, platform::RegisterWindowMessage(QStringLiteral("GridEditDone")));
    EXPECT_EQ(shift, platform::RegisterWindowMessage(QStringLiteral("DTPShiftFocus")));
    // The platform answers common controls 6, above 4.69.
    EXPECT_TRUE(GridComCtlAbove469());

    // Further start-ups and their shut-downs change nothing; a second grid neither.
    GridUnitInitialize();
    GridUnitInitialize();
    GridHost second;
    GridUnitFinalize();
    GridUnitFinalize();
    EXPECT_TRUE(GridUnitInitialized());
    EXPECT_EQ(GridEditDoneMessage(), done);
    EXPECT_EQ(DTPShiftFocusMessage(), shift);
}

TEST(AdvGridLifecycle, IntegralHeightKeepsWholeRows)
{
    struct Case {
        const char* what;
        bool integral;
        TBorderStyle border;
        int cols;  // enough columns make the horizontal bar count
        int height;
        bool scrollBar;
    } cases[] = {
        {"off", false, bsNone, 5, 250, false},
        {"no border, no bar", true, bsNone, 5, 250, false},
        {"single border", true, bsSingle, 5, 250, false},
        {"exact fit", true, bsNone, 5, 242, false},
        {"horizontal bar", true, bsNone, 30, 250, true},
        {"smaller than one row", true, bsNone, 5, 10, false},
    };
    for (const Case& c : cases) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        g.SetColCount(c.cols);
        g.SetBorderStyle(c.border);
        g.SetIntegralHeight(c.integral);
        g.SetBounds(0, 0, 400, c.height);
        const int s = c.scrollBar ? g.horizontalScrollBar()->sizeHint().height() : 0;
        const int b = c.border == bsSingle ? 2 : 0;
        const int want = c.integral ? c.height + b - ((c.height - s - b) % 22) : c.height;
        EXPECT_EQ(g.height(), want) << c.what;
    }
    // The edge case the design gives: 250 without border and bar becomes 242.
    GridHost h;
    h.grid->SetBorderStyle(bsNone);
    h.grid->SetBounds(0, 0, 400, 250);
    h.grid->SetIntegralHeight(true); // the write re-applies the bounds
    EXPECT_EQ(h.grid->height(), 242);
}

TEST(AdvGridLifecycle, QtResizeFiresTheGridsResizeNotification)
{
    GridHost h;
    int fired = 0;
    h.grid->OnResize = [&](QObject* Sender) {
        EXPECT_EQ(Sender, h.grid);
        ++fired;
    };
    h.grid->resize(300, 200);
    QResizeEvent ev(QSize(300, 200), QSize(400, 250));
    QCoreApplication::sendEvent(h.grid, &ev);
    EXPECT_GE(fired, 1);
    // An error of the handler stays inside the grid.
    h.grid->OnResize = [](QObject*) { throw std::runtime_error("handler"); };
    EXPECT_NO_THROW(QCoreApplication::sendEvent(h.grid, &ev));
}

TEST(AdvGridLifecycle, OwnerFormResizeHandlerKeepsWorkingAndComesBack)
{
    platform::TForm form;
    form.resize(500, 400);
    int own = 0;
    form.OnResize = [&] { ++own; };
    auto* g = new TVerIvovavOzed(&form);
    g->Loaded();
    g->SetSizeWithForm(true);
    g->resize(400, 250);

    form.resize(550, 420);
    form.OnResize(); // as the form's resize event calls it
    EXPECT_EQ(own, 1);
    EXPECT_EQ(g->width(), 450);
    EXPECT_EQ(g->height(), 270);

    delete g; // the form's own handler comes back
    form.OnResize();
    EXPECT_EQ(own, 2);

    form.OnResize = nullptr;
    delete new TVerIvovavOzed(&form);
    EXPECT_FALSE(bool(form.OnResize)); // none was there: none comes back

    // A failing form handler is swallowed by the grid.

    form.OnResize = [] { throw std::runtime_error("form"); };
    auto* g2 = new TVerIvovavOzed(&form);
    EXPECT_NO_THROW(form.OnResize());
    delete g2;
    EXPECT_THROW(form.OnResize(), std::runtime_error); // the form's own handler is back

    // A second grid that outlives the first still runs, and so does the form's handler.
    own = 0;
    form.OnResize = [&] { ++own; };
    auto* a = new TVerIvovavOzed(&form);
    auto* b = new TVerIvovavOzed(&form);
    delete a;
    form.OnResize();
    EXPECT_EQ(own, 1);
    delete b;
    form.OnResize();
    EXPECT_EQ(own, 2);
}

TEST(AdvGridLifecycle, FormDeletedWithItsGridsIsNeverTakenForAFormAgain)
{
    // Grids straight on the form and inside a panel go with it; the form's own part is gone by the
    // time they do (under the sanitizers any use of it as a form fails this test).
    auto* form = new platform::TForm;
    int own = 0;
    form->OnResize = [&] { ++own; };
    QPointer<TVerIvovavOzed> direct = new TVerIvovavOzed(form);
    auto* panel = new QWidget(form);
    QPointer<TVerIvovavOzed> inner = new TVerIvovavOzed(panel);
    form->OnResize();
    EXPECT_EQ(own, 1);
    delete form;
    EXPECT_TRUE(direct.isNull());
    EXPECT_TRUE(inner.isNull());

    // A grid moved off its form before it goes leaves a handler that no longer reaches it.
    platform::TForm kept;
    kept.OnResize = [&] { ++own; };
    auto* moved = new TVerIvovavOzed(&kept);
    QWidget elsewhere;
    moved->setParent(&elsewhere);
    delete moved;
    kept.OnResize();
    EXPECT_EQ(own, 2);
}

TEST(AdvGridLifecycle, FilterDropDownSettingsExistAndAreCopied)
{
    GridHost from, to;
    TFilterDropDown& f = from.grid->FilterDropDown();
    EXPECT_EQ(f.Color, clWindow);
    EXPECT_EQ(f.Height, 150);
    EXPECT_EQ(f.Width, 150);
    f.Color = 0x00FFFF;
    f.Height = 120;
    f.Width = 90;
    to.grid->Assign(from.grid);
    EXPECT_EQ(to.grid->FilterDropDown().Color, 0x00FFFF);
    EXPECT_EQ(to.grid->FilterDropDown().Height, 120);
    EXPECT_EQ(to.grid->FilterDropDown().Width, 90);

    // A header row with filter glyphs paints with it.
    to.grid->SetFilterDropDownAuto(true);
    to.grid->SetCells(1, 1, "x");
    EXPECT_FALSE(to.grid->grab().isNull());
}

TEST(AdvGridLifecycle, CellHintText)
{
    struct Case {
        const char* what;
        QString text;
        bool showCells;
        bool htmlHint;
        int col, row;
        QString want;
    } cases[] = {
        {"plain text off", QStringLiteral("abc"), false, false, 1, 1, QStringLiteral("grid hint")},
        {"cell text", QStringLiteral("abc"), true, false, 1, 1, QStringLiteral("abc")},
        {"markup stripped", QStringLiteral("<b>bold</b> x"), true, false, 1, 1, QStringLiteral("bold x")},
        {"markup kept", QStringLiteral("<b>bold</b>"), true, true, 1, 1, QStringLiteral("<b>bold</b>")},
        {"fixed row", QStringLiteral("head"), true, false, 1, 0, QStringLiteral("grid hint")},
        {"fixed column", QStringLiteral("1"), true, false, 0, 1, QStringLiteral("grid hint")},
    };
    for (const Case& c : cases) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        g.SetHint(QStringLiteral("grid hint"));
        g.SetShowHint(true);
        g.SetHintShowCells(c.showCells);
        g.SetHTMLHint(c.htmlHint);
        g.SetCells(c.col, c.row, c.text);
        THintInfo info = HintAt(g, c.col, c.row);
        QString hint = g.Hint();
        g.PrepareCellHint(hint, info);
        EXPECT_EQ(hint, c.want) << c.what;
        EXPECT_EQ(info.HintColor, g.HintColor()) << c.what;
        EXPECT_EQ(g.LastHintCell(), TPoint(c.col, c.row)) << c.what;
        if (c.showCells && c.col >= 1 && c.row >= 1)
            EXPECT_EQ(info.HintPos.Y, g.CellRect(c.col, c.row).Top) << c.what;
        else
            EXPECT_EQ(info.HintPos.Y, g.CellRect(c.col, c.row).Bottom + 6) << c.what;
    }
}

TEST(AdvGridLifecycle, CellHintPlacesCommentsLargeTextAndEvents)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.SetColWidths(1, 30);

    // A comment opens at the cell's top-right corner.
    TCellGraphic* cg = g.CreateCellGraphic(2, 1);
    cg->SetCellType(ctComment);
    cg->SetCellText(QStringLiteral("note"));
    THintInfo info = HintAt(g, 2, 1);
    QString hint;
    g.PrepareCellHint(hint, info);
    EXPECT_EQ(hint, QStringLiteral("note"));
    EXPECT_EQ(info.HintPos, TPoint(g.CellRect(2, 1).Right, g.CellRect(2, 1).Top));

    // A text too wide for its cell shows whole at the cell's corner; one that fits does not.
    g.SetHintShowLargeText(true);
    g.SetCells(1, 2, QStringLiteral("a text much wider than thirty pixels"));
    g.SetCells(1, 3, QStringLiteral("a"));
    info = HintAt(g, 1, 2);
    hint.clear();
    g.PrepareCellHint(hint, info);
    EXPECT_EQ(hint, g.Cells(1, 2));
    EXPECT_EQ(info.HintPos, TPoint(g.CellRect(1, 2).Left, g.CellRect(1, 2).Top));
    info = HintAt(g, 1, 3);
    hint.clear();
    g.PrepareCellHint(hint, info);
    EXPECT_EQ(hint, QString());

    // The grid's hint event has the last word, with the row and the displayed column.
    g.HideColumn(1);
    g.SetCells(3, 2, QStringLiteral("x"));
    int gotRow = -1, gotCol = -1;
    g.OnGridHint = [&](QObject*, int ARow, int ACol, QString& HintStr) {
        gotRow = ARow;
        gotCol = ACol;
        HintStr = QStringLiteral("from event");
    };
    info = HintAt(g, 2, 2); // displayed column 2 is real column 3
    hint.clear();
    g.PrepareCellHint(hint, info);
    EXPECT_EQ(hint, QStringLiteral("from event"));
    EXPECT_EQ(gotRow, 2);
    EXPECT_EQ(gotCol, 2);
}

TEST(AdvGridLifecycle, AnchorHintShowsTheAnchorTitle)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.SetColWidths(1, 200);
    g.SetAnchorHint(true);
    g.SetCells(1, 1, QStringLiteral("<a href=\"http://x\">link link link link link</a>"));
    QString passed;
    g.OnAnchorHint = [&](QObject*, int, int, QString& Anchor) {
        passed = Anchor;
        Anchor = QStringLiteral("changed");
    };
    const TRect r = g.CellRect(1, 1);
    THintInfo info;
    info.CursorPos = TPoint(r.Left + 10, r.Top + 6);
    QString hint;
    g.PrepareCellHint(hint, info);
    EXPECT_EQ(passed, QStringLiteral("http://x"));
    EXPECT_EQ(hint, QStringLiteral("changed"));
    EXPECT_EQ(g.LastAnchorHint(), QStringLiteral("changed"));
    EXPECT_EQ(info.HintPos, TPoint(r.Left + 18, r.Top + 6 - 16));
}

// A rich editor whose stream is kept as it is.
struct FakeRichEdit : IRichEditStream {
    QByteArray Data;
    int Clears = 0;
    void Clear() override
    {
        Data.clear();
        ++Clears;
    }
    void LoadFromStream(const QByteArray& d) override { Data = d; }
    QByteArray SaveToStream() override { return Data; }
};

TEST(AdvGridLifecycle, RichTextTravelsOneBytePerCharacter)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    const QString rtf = QStringLiteral("{\\rtf1\\ansi caf\\'e9 \\u8364?}") + QChar(0xE9);
    g.SetCells(1, 1, rtf);
    FakeRichEdit ed;
    g.CellToRich(1, 1, ed);
    EXPECT_EQ(ed.Data.size(), rtf.size());
    EXPECT_EQ(uchar(ed.Data.back()), 0xE9);
    g.RichToCell(2, 3, ed);
    EXPECT_EQ(g.Cells(2, 3), rtf);

    // An empty cell empties the editor.
    g.CellToRich(4, 4, ed);
    EXPECT_EQ(ed.Clears, 1);
    EXPECT_TRUE(ed.Data.isEmpty());
}

} // namespace

namespace {

TEST(AdvGridLifecycle, FocusFrameFollowsTheCellWhenTheWindowMoves)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.SetCol(2);
    g.SetRow(3);
    g.ShowFocusFrame(g.CellRect(2, 3));
    ASSERT_EQ(TVerIvovavOzed::ActiveFocusFrameGrid(), &g);
    ASSERT_NE(g.FocusWindow(), nullptr);
    h.window.move(h.window.x() + 37, h.window.y() + 11);
    QCoreApplication::processEvents();
    const TRect r = g.CellRect(2, 3);
    const QPoint at = g.viewport()->mapToGlobal(QPoint(r.Left - 4, r.Top - 4));
    EXPECT_EQ(g.FocusWindow()->geometry(), QRect(at.x(), at.y(), r.Right - r.Left + 9, r.Bottom - r.Top + 9));
    g.HideFocusFrame();
}

} // namespace
