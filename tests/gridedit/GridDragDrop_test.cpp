// Dragging cells, rows and columns out of a grid and dropping them on another (two grids in one
// window), drops from other programs (text, links, files), scrolling while dragging, the drag
// settings, and the selection's resize handle. A press and a move past 3 pixels start the drag; the
// drag starter delivers the offered data to the target as the drag events a window would get.
#include "grid/AdvGrid.h"
#include "grid/ArrowWindow.h"
#include "grid/OleDragDrop.h"
#include "gridedit/GridDropTarget.h"
#include "platform/ScriptedServices.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>

namespace {

void Pump()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

TVerIvovavOzed* MakeGrid(QWidget* parent, int x)
{
    auto* g = new TVerIvovavOzed(parent);
    g->setGeometry(x, 0, 420, 300);
    g->Loaded();
    g->SetColCount(4);
    g->SetRowCount(6);
    g->SetOptions(g->Options() | goRangeSelect);
    for (int c = 0; c < 4; ++c)
        g->SetColWidths(c, 80);
    for (int c = 1; c < 4; ++c)
        for (int r = 1; r < 6; ++r)
            g->SetCells(c, r, QString("%1%2").arg(QChar('a' + c - 1)).arg(r));
    return g;
}

// Where a drag from the starter lands: a grid, a cell (or a point of its cell area) and the keys.
struct DropAim {
    TVerIvovavOzed* Grid = nullptr;
    QPoint At;
    Qt::KeyboardModifiers Mods;
};

// Sends a drag over a grid's cell area and drops it there, as Qt does for a drag from any program;
// returns the accepted drop action (IgnoreAction when refused).
Qt::DropAction DeliverDrop(TVerIvovavOzed* g, QPoint at, const QMimeData* data, Qt::DropActions actions,
                           Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget* vp = g->viewport();
    QDragEnterEvent enter(at, actions, data, Qt::LeftButton, mods);
    QApplication::sendEvent(vp, &enter);
    QDragMoveEvent move(at, actions, data, Qt::LeftButton, mods);
    QApplication::sendEvent(vp, &move);
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(vp, &leave);
        return Qt::IgnoreAction;
    }
    QDropEvent drop(at, actions, data, Qt::LeftButton, mods);
    QApplication::sendEvent(vp, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

struct DragHost {
    QWidget window;
    TVerIvovavOzed* a;
    TVerIvovavOzed* b;
    DropAim aim;
    QStringList offered; // MIME formats of the last drag
    QString offeredText;
    int drags = 0;
    std::function<void()> duringDrag;
    const QMimeData* current = nullptr; // the data of the drag under way

    DragHost()
    {
        window.resize(900, 320);
        a = MakeGrid(&window, 0);
        b = MakeGrid(&window, 460);
        a->DragDropSettings().SetOleDropSource(true);
        b->DragDropSettings().SetOleDropTarget(true);
        b->Navigation().SetAllowClipboardAlways(true);
        window.show();
        QApplication::setActiveWindow(&window);
        Pump();
        SetDragStarter([this](std::unique_ptr<QMimeData> data, IDropSource& source, int ok, int& effect) {
            ++drags;
            offered = data->formats();
            offeredText = data->text();
            current = data.get();
            if (duringDrag)
                duringDrag();
            current = nullptr;
            effect = DROPEFFECT_NONE;
            if (aim.Grid)
                effect = DropEffectOfActions(
                    DeliverDrop(aim.Grid, aim.At, data.get(), ActionsOfDropEffect(ok), aim.Mods));
            source.GiveFeedback(effect);
            source.QueryContinueDrag(false, 0);
            return effect == DROPEFFECT_NONE ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
        });
    }
    ~DragHost()
    {
        SetDragStarter(nullptr);
        SetDropRTFAllowed(false);
    }
    static QPoint Centre(TVerIvovavOzed* g, int c, int r)
    {
        const TRect R = g->CellRect(c, r);
        return QPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
    // Press on a cell of the source, move 5 pixels (the drag starts), release where the drag
    // ended.
    void Drag(TVerIvovavOzed* from, QPoint press, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mousePress(from->viewport(), Qt::LeftButton, mods, press);
        const QPoint to = press + QPoint(5, 0);
        QMouseEvent move(QEvent::MouseMove, to, from->viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         mods);
        QApplication::sendEvent(from->viewport(), &move);
        Pump();
    }
    void DragCell(int c, int r, TVerIvovavOzed* to, int tc, int tr, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        aim = {to, Centre(to, tc, tr), mods};
        Drag(a, Centre(a, c, r), mods);
    }
    QStringList Column(TVerIvovavOzed* g, int c)
    {
        QStringList l;
        for (int r = 1; r < g->RowCount(); ++r)
            l << g->Cells(c, r);
        return l;
    }
};

} // namespace

// ---- settings ----------------------------------------------------------------------------------

TEST(GridDragDrop, SettingsDefaultsAssignAndRegistration)
{
    QWidget w;
    auto* g = new TVerIvovavOzed(&w);
    g->Loaded();
    TDragDropSettings& d = g->DragDropSettings();
    EXPECT_TRUE(d.OleAcceptText() && d.OleAcceptFiles() && d.OleAcceptURLs() && d.ShowCells());
    EXPECT_FALSE(d.OleDropTarget() || d.OleDropSource() || d.OleDropRTF() || d.OleEntireRows() ||
                 d.OleRemoveRows() || d.OleInsertRows() || d.OleAppendRows() || d.OleCopyAlways() ||
                 d.OleColumnDragDrop() || d.OleColumnReorder() || d.OleColumnsOnly());

    // True twice registers once; False revokes; Assign copies plainly, registering nothing.
    d.SetOleDropTarget(true);
    EXPECT_TRUE(g->OleDropTargetAssigned());
    TGridDropTarget* first = g->GridDropTarget();
    d.SetOleDropTarget(true);
    EXPECT_EQ(g->GridDropTarget(), first);
    EXPECT_EQ(RegisteredDropTarget(g->viewport()).get(), first);
    EXPECT_TRUE(g->viewport()->acceptDrops());
    d.SetOleDropTarget(false);
    EXPECT_FALSE(g->OleDropTargetAssigned());
    EXPECT_EQ(RegisteredDropTarget(g->viewport()), nullptr);

    auto* other = new TVerIvovavOzed(&w);
    other->Loaded();
    d.SetOleDropTarget(true);
    d.SetOleAppendRows(true);
    d.SetOleColumnsOnly(true);
    d.SetOleAcceptURLs(false);
    d.SetOleDropRTF(true);
    EXPECT_TRUE(DropRTFAllowed());
    SetDropRTFAllowed(false);
    other->DragDropSettings().Assign(d);
    const TDragDropSettings& o = other->DragDropSettings();
    EXPECT_TRUE(o.OleDropTarget() && o.OleAppendRows() && o.OleColumnsOnly() && o.OleDropRTF());
    EXPECT_FALSE(o.OleAcceptURLs());
    EXPECT_FALSE(other->OleDropTargetAssigned());
    EXPECT_FALSE(DropRTFAllowed()) << "Assign runs no setter";
}

TEST(GridDragDrop, GridItemOwnsItsLines)
{
    TGridStrings lines;
    lines.Add("x");
    TGridItem item;
    item.Items = lines;
    lines.Strings[0] = "changed";
    EXPECT_EQ(item.Items.Strings.value(0), "x");
}

// ---- grid to grid ------------------------------------------------------------------------------

TEST(GridDragDrop, MoveClearsTheSourceUnlessCopied)
{
    struct Case {
        Qt::KeyboardModifiers Mods;
        bool CopyAlways;
        bool Cleared;
        int Effect;
    };
    const Case cases[] = {
        {Qt::NoModifier, false, true, DROPEFFECT_MOVE},
        {Qt::ControlModifier, false, false, DROPEFFECT_COPY},
        {Qt::NoModifier, true, false, DROPEFFECT_MOVE},
    };
    for (const Case& k : cases) {
        DragHost h;
        h.a->DragDropSettings().SetOleCopyAlways(k.CopyAlways);
        int stopped = -1;
        std::string log;
        h.a->OnOleDragStart = [&](QObject*, int r, int c) { log += "start(" + std::to_string(c) + "," + std::to_string(r) + ");"; };
        h.a->OnStartBlockFocus = [&](QObject*) { log += "block;"; };
        h.a->OnOleDragStop = [&](QObject*, int e) { stopped = e; };
        h.a->SetSelection({1, 2, 2, 3});
        h.DragCell(1, 2, h.b, 2, 4, k.Mods);
        ASSERT_EQ(h.drags, 1);
        EXPECT_EQ(log, "start(1,2);block;");
        EXPECT_EQ(h.offeredText, "a2\tb2\r\na3\tb3");
        EXPECT_TRUE(h.offered.contains("text/plain")) << h.offered.join(' ').toStdString();
        EXPECT_EQ(h.b->Cells(2, 4), "a2");
        EXPECT_EQ(h.b->Cells(3, 5), "b3");
        EXPECT_EQ(stopped, k.Effect);
        EXPECT_EQ(h.a->Cells(1, 2).isEmpty(), k.Cleared);
        EXPECT_EQ(h.a->Cells(2, 3).isEmpty(), k.Cleared);
        EXPECT_EQ(h.a->Cells(3, 2), "c2") << "outside the dragged cells";
        EXPECT_EQ(h.a->DragImageWindow(), nullptr) << "the picture goes with the drag";
    }

    // A target that cannot take the text (no editing, no clipboard-always) or refuses it answers
    // no effect: the moved cells stay in the source.
    for (const bool refuse : {false, true}) {
        DragHost h;
        if (refuse)
            h.b->OnOleDrop = [](QObject*, int, int, const QString&, bool& allow) { allow = false; };
        else
            h.b->Navigation().SetAllowClipboardAlways(false);
        int stopped = -1;
        h.a->OnOleDragStop = [&](QObject*, int e) { stopped = e; };
        h.a->SetSelection({1, 2, 1, 2});
        h.DragCell(1, 2, h.b, 2, 4);
        EXPECT_EQ(h.b->Cells(2, 4), "b4") << refuse;
        EXPECT_EQ(h.a->Cells(1, 2), "a2") << refuse;
        EXPECT_EQ(stopped, -1) << refuse;
    }
}

TEST(GridDragDrop, CellStreamLandsAtTheDropCell)
{
    DragHost h;
    h.a->Navigation().SetAllowFmtClipboard(true);
    TGridRect dropped{-1, -1, -1, -1};
    h.b->OnOleDropped = [&](QObject*, TGridRect r) { dropped = r; };
    h.b->SetSelection({3, 5, 3, 5});
    h.a->SetSelection({2, 1, 3, 2});
    h.DragCell(2, 1, h.b, 1, 3, Qt::ControlModifier);
    ASSERT_EQ(h.drags, 1);
    EXPECT_GT(h.offered.size(), 1) << "the cells travel in the grid's own format too";
    EXPECT_EQ(QStringList({h.b->Cells(1, 3), h.b->Cells(2, 3), h.b->Cells(1, 4), h.b->Cells(2, 4)}),
              QStringList({"b1", "c1", "b2", "c2"}));
    EXPECT_EQ(h.b->RowCount(), 6);
    const TGridRect unchanged{3, 5, 3, 5};
    EXPECT_EQ(dropped, unchanged);
    EXPECT_EQ(h.a->Cells(2, 1), "b1") << "copied";
}

TEST(GridDragDrop, MovedRowsAreRemovedAlsoWithinOneGrid)
{
    DragHost h;
    TVerIvovavOzed* a = h.a;
    a->SetOptions(a->Options() | goRowSelect);
    a->DragDropSettings().SetOleRemoveRows(true);
    a->SetSelection({1, 2, 3, 3});
    h.DragCell(2, 2, h.b, 1, 2);
    EXPECT_EQ(h.Column(a, 1), QStringList({"a1", "a4", "a5"}));
    EXPECT_EQ(h.Column(h.b, 1), QStringList({"a1", "a2", "a3", "a4", "a5"})) << "written over, no rows inserted";

    // Rows 1..2 dragged down onto row 4 of the same grid: the copies go in, the dragged rows go.
    DragHost s;
    TVerIvovavOzed* g = s.a;
    g->SetOptions(g->Options() | goRowSelect);
    g->DragDropSettings().SetOleRemoveRows(true);
    g->DragDropSettings().SetOleInsertRows(true);
    g->DragDropSettings().SetOleDropTarget(true);
    g->Navigation().SetAllowClipboardAlways(true);
    g->SetSelection({1, 1, 3, 2});
    s.aim = {g, DragHost::Centre(g, 1, 4), Qt::NoModifier};
    s.Drag(g, DragHost::Centre(g, 2, 1));
    EXPECT_EQ(s.Column(g, 1), QStringList({"a3", "a1", "a2", "a4", "a5"}));
    EXPECT_EQ(g->RowCount(), 6);

    // And upwards: rows 4..5 onto row 1; the dragged rows moved down with the insertion.
    g->SetSelection({1, 4, 3, 5});
    s.aim = {g, DragHost::Centre(g, 1, 1), Qt::NoModifier};
    s.Drag(g, DragHost::Centre(g, 2, 4));
    EXPECT_EQ(s.Column(g, 1), QStringList({"a4", "a5", "a3", "a1", "a2"}));
}

TEST(GridDragDrop, TextLinesInsertRowsAndAreSelected)
{
    for (const QString& text : {QString("x\r\ny\r\nz"), QString("x\r\ny\r\nz\r\n")}) {
        DragHost h;
        TVerIvovavOzed* b = h.b;
        b->DragDropSettings().SetOleInsertRows(true);
        TGridRect dropped{-1, -1, -1, -1};
        b->OnOleDropped = [&](QObject*, TGridRect r) { dropped = r; };
        QMimeData md;
        md.setText(text);
        EXPECT_EQ(DeliverDrop(b, DragHost::Centre(b, 2, 2), &md, Qt::CopyAction), Qt::CopyAction);
        EXPECT_EQ(b->RowCount(), 9);
        EXPECT_EQ(h.Column(b, 2), QStringList({"b1", "x", "y", "z", "b2", "b3", "b4", "b5"}));
        const TGridRect expected{2, 2, 2, 4};
        EXPECT_EQ(b->Selection(), expected);
        EXPECT_EQ(dropped, expected);
    }
}

TEST(GridDragDrop, DropBelowTheLastRowAppends)
{
    DragHost h;
    TVerIvovavOzed* b = h.b;
    b->DragDropSettings().SetOleEntireRows(true);
    b->DragDropSettings().SetOleAppendRows(true);
    b->DragDropSettings().SetOleInsertRows(true);
    const TRect last = b->CellRect(1, 5);
    QMimeData md;
    md.setText("n1\tn2\r\nm1\tm2");
    EXPECT_EQ(DeliverDrop(b, QPoint(last.Left + 5, last.Bottom + 20), &md, Qt::CopyAction), Qt::CopyAction);
    ASSERT_EQ(b->RowCount(), 8);
    EXPECT_EQ(b->Cells(1, 5), "a5");
    EXPECT_EQ(b->Cells(1, 6), "n1");
    EXPECT_EQ(b->Cells(2, 7), "m2");

    // Without OleAppendRows a point below the rows is no cell: refused.
    b->DragDropSettings().SetOleAppendRows(false);
    EXPECT_EQ(DeliverDrop(b, QPoint(last.Left + 5, b->CellRect(1, 7).Bottom + 10), &md, Qt::CopyAction),
              Qt::IgnoreAction);
    EXPECT_EQ(b->RowCount(), 8);
}

TEST(GridDragDrop, ColumnDragReordersAndShowsItsMarkers)
{
    DragHost h;
    TVerIvovavOzed* a = h.a;
    a->SetEnhRowColMove(false);
    a->DragDropSettings().SetOleColumnDragDrop(true);
    a->DragDropSettings().SetOleColumnReorder(true);
    a->DragDropSettings().SetOleDropTarget(true);
    for (int c = 1; c < 4; ++c)
        a->SetCells(c, 0, QString("H%1").arg(c));
    int dropCol = -1, target = -1;
    a->OnOleDropCol = [&](QObject*, int, int col, int to) {
        dropCol = col;
        target = to;
    };
    // Over a header cell the arrows mark the landing place; over a normal row the column is
    // refused and they go.
    bool marked = false, refusedBelow = false;
    h.duringDrag = [&] {
        const QMimeData& md = *h.current;
        QDragEnterEvent enter(DragHost::Centre(a, 3, 0), Qt::MoveAction | Qt::CopyAction, &md, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(a->viewport(), &enter);
        QDragMoveEvent over(DragHost::Centre(a, 3, 0), Qt::MoveAction | Qt::CopyAction, &md, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(a->viewport(), &over);
        marked = over.isAccepted() && a->DragArrow(arrUp)->isVisible() && a->DragArrow(arrDown)->isVisible();
        QDragMoveEvent below(DragHost::Centre(a, 3, 2), Qt::MoveAction | Qt::CopyAction, &md, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(a->viewport(), &below);
        refusedBelow = !below.isAccepted() && !a->DragArrow(arrUp)->isVisible();
        QDragLeaveEvent leave;
        QApplication::sendEvent(a->viewport(), &leave);
    };
    h.aim = {a, DragHost::Centre(a, 3, 0), Qt::NoModifier};
    h.Drag(a, DragHost::Centre(a, 1, 0));
    ASSERT_EQ(h.drags, 1);
    EXPECT_TRUE(marked);
    EXPECT_TRUE(refusedBelow);
    EXPECT_EQ(dropCol, 1);
    EXPECT_EQ(target, 3);
    EXPECT_EQ(QStringList({a->Cells(1, 0), a->Cells(2, 0), a->Cells(3, 0)}), QStringList({"H2", "H3", "H1"}));
    EXPECT_EQ(a->Cells(3, 1), "a1");
    EXPECT_FALSE(a->DragArrow(arrUp)->isVisible());
}

// ---- drops from other programs -------------------------------------------------------------------

TEST(GridDragDrop, OneCsvFileLoadsTwoFilesDoNothing)
{
    const QString csv = QDir(KT_FIXTURES_DIR).filePath("dragdrop/items.csv");
    DragHost h;
    TVerIvovavOzed* b = h.b;
    std::string log;
    b->OnOleDropFile = [&](QObject*, int r, int c, const QString& f, bool&) {
        log += "file(" + std::to_string(c) + "," + std::to_string(r) + "," + QFileInfo(f).fileName().toStdString() + ");";
    };
    b->OnOleDrop = [&](QObject*, int r, int c, const QString&, bool&) {
        log += "drop(" + std::to_string(c) + "," + std::to_string(r) + ");";
    };
    QMimeData two;
    two.setUrls({QUrl::fromLocalFile(csv), QUrl::fromLocalFile(csv)});
    EXPECT_EQ(DeliverDrop(b, DragHost::Centre(b, 2, 2), &two, Qt::CopyAction), Qt::IgnoreAction);
    EXPECT_EQ(log, "");
    EXPECT_EQ(b->Cells(1, 1), "a1");

    QMimeData one;
    one.setUrls({QUrl::fromLocalFile(csv)});
    EXPECT_NE(DeliverDrop(b, DragHost::Centre(b, 2, 2), &one, Qt::CopyAction), Qt::IgnoreAction);
    EXPECT_EQ(log, "file(2,2,items.csv);drop(-1,-1);");
    EXPECT_EQ(b->Cells(0, 0), "name");
    EXPECT_EQ(b->Cells(0, 2), "beta");
    EXPECT_EQ(b->Cells(1, 2), "2");

    // OnOleDropFile refuses: nothing loads.
    DragHost r;
    r.b->OnOleDropFile = [](QObject*, int, int, const QString&, bool& allow) { allow = false; };
    DeliverDrop(r.b, DragHost::Centre(r.b, 2, 2), &one, Qt::CopyAction);
    EXPECT_EQ(r.b->Cells(1, 1), "a1");

    // A workbook that cannot be read is told to the user; the grid and the drop stay as they were.
    platform::ScriptedServices services;
    platform::ScopedServices scope(services);
    QMimeData damaged;
    damaged.setUrls({QUrl::fromLocalFile(QDir(KT_FIXTURES_DIR).filePath("exchange/damaged.xls"))});
    EXPECT_EQ(DeliverDrop(b, DragHost::Centre(b, 2, 2), &damaged, Qt::CopyAction | Qt::MoveAction), Qt::IgnoreAction);
    ASSERT_EQ(services.MessageBoxes.size(), 1);
    EXPECT_TRUE(services.MessageBoxes[0].Text.contains("damaged")) << services.MessageBoxes[0].Text.toStdString();
    EXPECT_EQ(b->Cells(0, 2), "beta");
}

TEST(GridDragDrop, TextAndLinkBothRunAndARefusedTextKeepsTheSelection)
{
    DragHost h;
    TVerIvovavOzed* b = h.b;
    std::string log;
    b->OnOleDrop = [&](QObject*, int r, int c, const QString& s, bool&) {
        log += "drop(" + std::to_string(c) + "," + std::to_string(r) + "," + s.toStdString() + ");";
    };
    b->OnOleDropURL = [&](QObject*, int r, int c, const QString&, bool&) {
        log += "url(" + std::to_string(c) + "," + std::to_string(r) + ");";
    };
    QMimeData md;
    md.setText("hello");
    md.setUrls({QUrl("http://127.0.0.1/page")});
    md.setText("hello");
    EXPECT_EQ(DeliverDrop(b, DragHost::Centre(b, 3, 3), &md, Qt::CopyAction), Qt::CopyAction);
    EXPECT_EQ(log, "drop(3,3,hello);url(3,3);");
    EXPECT_EQ(b->Cells(3, 3), "hello");

    // A refused text: nothing written, OnOleDropped hears the selection as it was.
    b->SetSelection({1, 1, 2, 2});
    TGridRect dropped{-1, -1, -1, -1};
    b->OnOleDropped = [&](QObject*, TGridRect r) { dropped = r; };
    b->OnOleDrop = [](QObject*, int, int, const QString&, bool& allow) { allow = false; };
    QMimeData plain;
    plain.setText("nope");
    DeliverDrop(b, DragHost::Centre(b, 3, 4), &plain, Qt::CopyAction);
    EXPECT_EQ(b->Cells(3, 4), "c4");
    const TGridRect unchanged{1, 1, 2, 2};
    EXPECT_EQ(dropped, unchanged);
    EXPECT_EQ(b->Selection(), unchanged);
}

TEST(GridDragDrop, OnOleDragRefusesAndThePressSelectsInstead)
{
    DragHost h;
    int asked = 0;
    h.a->OnOleDrag = [&](QObject*, int r, int c, const QString& text, bool& allow) {
        ++asked;
        EXPECT_EQ(r, 2);
        EXPECT_EQ(c, 1);
        EXPECT_EQ(text, "a2");
        allow = false;
    };
    h.a->SetSelection({1, 2, 2, 3});
    h.DragCell(1, 2, h.b, 1, 1);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(h.drags, 0);
    EXPECT_EQ(h.a->GridState(), gsSelecting);
    QTest::mouseRelease(h.a->viewport(), Qt::LeftButton, Qt::NoModifier, DragHost::Centre(h.a, 1, 2) + QPoint(5, 0));
    EXPECT_EQ(h.a->Cells(1, 2), "a2");

    // A click inside the selection without moving selects the clicked cell.
    h.a->SetSelection({1, 2, 2, 3});
    QTest::mouseClick(h.a->viewport(), Qt::LeftButton, Qt::NoModifier, DragHost::Centre(h.a, 2, 3));
    const TGridRect one{2, 3, 2, 3};
    EXPECT_EQ(h.a->Selection(), one);
    EXPECT_EQ(h.drags, 0);
}

TEST(GridDragDrop, DraggingOverTheEdgeRowsScrolls)
{
    DragHost h;
    TVerIvovavOzed* b = h.b;
    b->SetRowCount(40);
    QMimeData md;
    md.setText("t");
    const int below = b->TopRow() + b->VisibleRowCount(); // the partly shown row under the last full one
    QDragEnterEvent enter(DragHost::Centre(b, 1, 2), Qt::CopyAction, &md, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(b->viewport(), &enter);
    const TRect R = b->CellRect(1, below - 1);
    QDragMoveEvent down(QPoint(R.Left + 5, R.Bottom + 3), Qt::CopyAction, &md, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(b->viewport(), &down);
    EXPECT_EQ(b->TopRow(), 2);
    QApplication::sendEvent(b->viewport(), &down);
    EXPECT_EQ(b->TopRow(), 3);
    QDragMoveEvent header(DragHost::Centre(b, 1, 0), Qt::CopyAction, &md, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(b->viewport(), &header);
    EXPECT_EQ(b->TopRow(), 2);
    EXPECT_FALSE(header.isAccepted()) << "text is not dropped on the header";
    QDragLeaveEvent leave;
    QApplication::sendEvent(b->viewport(), &leave);
    EXPECT_FALSE(b->DragArrow(arrLeft)->isVisible());
}

// ---- the selection's resize handle -------------------------------------------------------------

TEST(GridDragDrop, DraggingTheSelectionCornerPastesOverTheNewRange)
{
    for (const bool spreadsheet : {true, false}) {
        QWidget w;
        w.resize(500, 300);
        auto* g = MakeGrid(&w, 0);
        if (spreadsheet) {
            g->SetSpreadSheet(true);
        } else {
            g->SetSelectionRectangle(true);
            g->SetSelectionResizer(true);
            g->Navigation().SetAllowSmartClipboard(true);
        }
        w.show();
        Pump();
        g->SetCells(1, 1, "7");
        g->SetSelection({1, 1, 1, 1});
        std::string log;
        auto rect = [](TGridRect r) {
            return QString::asprintf("(%d,%d,%d,%d)", r.Left, r.Top, r.Right, r.Bottom).toStdString();
        };
        g->OnSelectionResize = [&](QObject*, TGridRect& from, TGridRect to) { log += "resize" + rect(from) + rect(to) + ";"; };
        g->OnSelectionResized = [&](QObject*, TGridRect from, TGridRect to) { log += "resized" + rect(from) + rect(to) + ";"; };
        const TRect R = g->CellRect(1, 1);
        const QPoint grip(R.Right - 3, R.Bottom - 3);
        QMouseEvent hover(QEvent::MouseMove, grip, g->viewport()->mapToGlobal(grip), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(g->viewport(), &hover);
        EXPECT_EQ(g->viewport()->cursor().shape(), Qt::BitmapCursor) << "the select-all pointer marks the grip";
        QTest::mousePress(g->viewport(), Qt::LeftButton, Qt::NoModifier, grip);
        const QPoint to = DragHost::Centre(g, 1, 3);
        QMouseEvent move(QEvent::MouseMove, to, g->viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(g->viewport(), &move);
        QTest::mouseRelease(g->viewport(), Qt::LeftButton, Qt::NoModifier, to);
        EXPECT_EQ(log, "resize(1,1,1,1)(1,1,1,3);resized(1,1,1,1)(1,1,1,3);") << spreadsheet;
        EXPECT_EQ(QStringList({g->Cells(1, 1), g->Cells(1, 2), g->Cells(1, 3), g->Cells(1, 4)}),
                  QStringList({"7", "7", "7", "a4"}))
            << spreadsheet;
    }
}

// ---- what a user sees ----------------------------------------------------------------------------

TEST(GridDragDrop, PictureOfADragInProgress)
{
    DragHost h;
    h.a->DragDropSettings().SetOleEntireRows(true);
    h.b->DragDropSettings().SetOleEntireRows(true);
    h.a->SetSelection({1, 2, 2, 3});
    QImage shot;
    h.duringDrag = [&] {
        const QMimeData& md = *h.current;
        const QPoint at = DragHost::Centre(h.b, 2, 4);
        QDragEnterEvent enter(at, Qt::MoveAction | Qt::CopyAction, &md, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(h.b->viewport(), &enter);
        QDragMoveEvent over(at, Qt::MoveAction | Qt::CopyAction, &md, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(h.b->viewport(), &over);
        QWidget* image = h.a->DragImageWindow();
        QWidget* arrow = h.b->DragArrow(arrLeft);
        ASSERT_NE(image, nullptr);
        ASSERT_TRUE(image->isVisible());
        ASSERT_TRUE(arrow->isVisible());
        image->move(h.b->viewport()->mapToGlobal(at) + QPoint(4, 4));
        shot = h.window.grab().toImage();
        QPainter p(&shot);
        p.drawPixmap(h.window.mapFromGlobal(image->pos()), image->grab());
        p.drawPixmap(h.window.mapFromGlobal(arrow->pos()), arrow->grab());
        p.end();
        QDragLeaveEvent leave;
        QApplication::sendEvent(h.b->viewport(), &leave);
    };
    h.Drag(h.a, DragHost::Centre(h.a, 1, 2));
    ASSERT_FALSE(shot.isNull());
    QDir().mkpath(KT_GRABS_DIR);
    EXPECT_TRUE(shot.save(QDir(KT_GRABS_DIR).filePath("drag_in_progress.png")));
}
