// The search footer under the grid, driven by keys: typing finds, Enter and Ctrl+Enter step,
// the field turns red when nothing matches, accelerators, Ctrl+F, closing, and the layout.
#include "GridDataFixture.h"
#include "grid/AdvGrid.h"
#include "griddata/SearchPanel.h"

#include "../TestSupport.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct FooterGrid {
    QWidget window;
    TVerIvovavOzed* grid;
    FooterGrid()
    {
        grid = new TVerIvovavOzed(&window);
        grid->SetColCount(4);
        grid->SetRowCount(8);
        const char* cells[] = {"Alpha", "beta", "Gamma", "alpha beta", "delta", "Beta", "epsilon"};
        for (int r = 1; r < 8; ++r)
            for (int c = 1; c < 4; ++c)
                grid->SetCells(c, r,
                               c == 2 ? QString::fromLatin1(cells[r - 1]) : QStringLiteral("r%1c%2").arg(r).arg(c));
        TSearchFooter& sf = grid->SearchFooter();
        sf.SetFindNextCaption(QStringLiteral("Find &next"));
        sf.SetFindPrevCaption(QStringLiteral("Find &previous"));
        sf.SetHighLightCaption(QStringLiteral("Highlight"));
        sf.SetMatchCaseCaption(QStringLiteral("Match case"));
        sf.SetHintFindNext(QStringLiteral("Find next occurrence"));
        sf.SetVisible(true);
        // The grid's settings hook does this on each change; called here so the test does not
        // depend on it.
        grid->UpdateSearchPanel();
        EXPECT_TRUE(griddatatest::ShowFilled(window, *grid, 600, 260));
    }
    TSearchPanel* panel() { return grid->SearchPanel(); }
    TRetEdit* edit() { return panel()->EditControl(); }
};

TEST(SearchPanel, TypingFindsAndEnterStepsThroughMatches)
{
    FooterGrid t;
    TVerIvovavOzed& g = *t.grid;
    std::vector<int> actions;
    g.OnSearchFooterAction = [&](QObject*, const QString&, int, int, int a) { actions.push_back(a); };
    ASSERT_TRUE(t.panel()->isVisible());
    EXPECT_EQ(t.panel()->height(), 32);
    EXPECT_FALSE(t.panel()->ForwardButton()->isEnabled()) << "nothing to find yet";

    t.edit()->setFocus();
    QTest::keyClicks(t.edit(), QStringLiteral("bet"));
    EXPECT_TRUE(t.panel()->ForwardButton()->isEnabled());
    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(g.Row(), 2) << "the first cell containing bet, case ignored";
    EXPECT_EQ(t.edit()->Color(), clWindow);

    QTest::keyClick(t.edit(), Qt::Key_Return);
    EXPECT_EQ(g.Row(), 4);
    QTest::keyClick(t.edit(), Qt::Key_Return);
    EXPECT_EQ(g.Row(), 6);
    QTest::keyClick(t.edit(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(g.Row(), 4) << "Ctrl+Enter finds the previous one";
    EXPECT_EQ(t.edit()->text(), QStringLiteral("bet")) << "Enter never goes into the text";
    EXPECT_EQ(actions, (std::vector<int>{saFindFirst, saFindFirst, saFindFirst, saFindNext, saFindNext,
                                         saFindPrevious}));

    // Match case: only "beta" in lower case.
    t.panel()->MatchCase()->SetChecked(true);
    QTest::keyClick(t.edit(), Qt::Key_Backspace);
    QTest::keyClick(t.edit(), Qt::Key_T);
    EXPECT_EQ(g.Row(), 2);
    QTest::keyClick(t.edit(), Qt::Key_Return);
    EXPECT_EQ(g.Row(), 4);
    QTest::keyClick(t.edit(), Qt::Key_Return);
    EXPECT_EQ(g.Row(), 4) << "Beta does not match; the search ends without wrapping";
}

TEST(SearchPanel, NoMatchTurnsTheFieldRed)
{
    FooterGrid t;
    t.edit()->setFocus();
    QTest::keyClicks(t.edit(), QStringLiteral("zzz"));
    EXPECT_EQ(t.edit()->Color(), TColor(0x0000FF));
    EXPECT_EQ(t.edit()->palette().color(QPalette::Base), QColor(255, 0, 0));
    QTest::qWait(20);
    EXPECT_TRUE(t.window.grab().save(kt_test::GrabPath("SearchFooterRed.png")));
    // Deleting the text gives the field its colour back.
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(t.edit(), Qt::Key_Backspace);
    EXPECT_EQ(t.edit()->Color(), clWindow);
    EXPECT_FALSE(t.panel()->ForwardButton()->isEnabled());
}

TEST(SearchPanel, EditChangeVetoAndAccelerators)
{
    FooterGrid t;
    TVerIvovavOzed& g = *t.grid;
    bool allow = false;
    g.OnSearchEditChange = [&](QObject*, const QString&, bool& def) { def = allow; };
    t.edit()->setFocus();
    QTest::keyClicks(t.edit(), QStringLiteral("delta"));
    EXPECT_EQ(g.Row(), 1) << "the application took the search over";
    allow = true;

    // Alt+N in the field runs find next through the button's accelerator.
    QTest::keyClick(t.edit(), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(g.Row(), 5);
    // From the grid too: no further match, then Alt+P searches back from the end.
    g.setFocus();
    g.FocusCell(1, 7);
    QTest::keyClick(&g, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(g.Row(), 7);
    QTest::keyClick(&g, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(g.Row(), 5);
    // A letter that is no accelerator does nothing.
    TWMKey msg;
    msg.CharCode = 'Q';
    EXPECT_EQ(g.HandleDialogChar(msg), 0);
    // Hidden footer: no accelerators.
    g.SearchFooter().SetVisible(false);
    g.UpdateSearchPanel();
    msg.CharCode = 'N';
    EXPECT_EQ(g.HandleDialogChar(msg), 0);
}

TEST(SearchPanel, CtrlFFocusesTheFieldAndCloseHidesTheFooter)
{
    FooterGrid t;
    TVerIvovavOzed& g = *t.grid;
    g.setFocus();
    QTest::keyClick(&g, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(t.edit()->hasFocus());

    int closed = 0;
    g.OnSearchFooterClose = [&](QObject*) { ++closed; };
    QTest::mouseClick(t.panel()->ExitButton(), Qt::LeftButton, {}, QPoint(7, 7));
    g.UpdateSearchPanel();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(g.SearchFooter().Visible());
    EXPECT_FALSE(t.panel()->isVisible());
    EXPECT_EQ(t.panel()->height(), 0);
}

TEST(SearchPanel, HighlightAndSearchColumn)
{
    FooterGrid t;
    TVerIvovavOzed& g = *t.grid;
    g.SearchFooter().SetSearchColumn(2);
    g.SearchFooter().SetAlwaysHighLight(true);
    g.SetCells(3, 1, QStringLiteral("beta elsewhere"));
    t.edit()->setFocus();
    QTest::keyClicks(t.edit(), QStringLiteral("beta"));
    EXPECT_EQ(g.Col(), 2) << "only column 2 is searched";
    EXPECT_EQ(g.Row(), 2);
    EXPECT_NE(g.Cells(2, 2), QStringLiteral("beta")) << "highlighted";
    EXPECT_EQ(g.Cells(3, 1), QStringLiteral("beta elsewhere")) << "other columns are not highlighted";
    // The highlight comes off when the text goes.
    QTest::keyClick(t.edit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(t.edit(), Qt::Key_Delete);
    EXPECT_EQ(g.Cells(2, 2), QStringLiteral("beta"));
}

TEST(SearchPanel, LayoutFollowsTheSettings)
{
    FooterGrid t;
    TVerIvovavOzed& g = *t.grid;
    TSearchPanel* p = t.panel();
    EXPECT_EQ(p->MatchCase()->x(), 425);
    EXPECT_EQ(p->ForwardButton()->geometry(), QRect(140, 5, 90, 23));
    EXPECT_EQ(p->ForwardButton()->Caption(), QStringLiteral("Find &next"));
    EXPECT_EQ(p->ForwardButton()->toolTip(), QStringLiteral("Find next occurrence"));
    EXPECT_EQ(p->EditControl()->geometry().topLeft(), QPoint(25, 6));
    g.SearchFooter().SetShowHighLight(false);
    g.SearchFooter().SetShowFindPrev(false);
    g.UpdateSearchPanel();
    EXPECT_EQ(p->MatchCase()->x(), 330);
    EXPECT_FALSE(p->HiliteButton()->isVisible());
    EXPECT_EQ(p->BackwardButton()->height(), 0);
    // Along the bottom of the client area, over the last 32 pixels.
    EXPECT_EQ(p->geometry().bottom() + 1, g.viewport()->geometry().bottom() + 1);
    EXPECT_EQ(p->width(), g.viewport()->width());
    // It follows the grid's size.
    g.resize(500, 200);
    QCoreApplication::processEvents();
    EXPECT_EQ(p->geometry().bottom() + 1, g.viewport()->geometry().bottom() + 1);
    EXPECT_EQ(p->width(), g.viewport()->width());
}

// Each button click reaches its event with the button as sender; Enter and Ctrl+Enter in the
// field count as clicks on find next and find previous.
TEST(SearchPanel, ClicksAndEnterReachThePanelEvents)
{
    QWidget window;
    auto* p = new TSearchPanel(&window);
    p->CreateWnd();
    ASSERT_TRUE(griddatatest::ShowFilled(window, *p, 600, 32));
    std::vector<std::pair<const char*, QObject*>> seen;
    p->OnForwardClick = [&](QObject* s) { seen.emplace_back("forward", s); };
    p->OnBackwardClick = [&](QObject* s) { seen.emplace_back("backward", s); };
    p->OnExitClick = [&](QObject* s) { seen.emplace_back("exit", s); };
    p->OnHighlightClick = [&](QObject* s) { seen.emplace_back("highlight", s); };
    p->EditControl()->setFocus();
    QTest::keyClicks(p->EditControl(), QStringLiteral("x"));

    for (TAdvGridButton* b : {p->ForwardButton(), p->BackwardButton(), p->ExitButton(), p->HiliteButton()})
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(b->width() / 2, b->height() / 2));
    p->EditControl()->setFocus();
    QTest::keyClick(p->EditControl(), Qt::Key_Return);
    QTest::keyClick(p->EditControl(), Qt::Key_Return, Qt::ControlModifier);
    const std::vector<std::pair<const char*, QObject*>> want = {
        {"forward", p->ForwardButton()}, {"backward", p->BackwardButton()}, {"exit", p->ExitButton()},
        {"highlight", p->HiliteButton()}, {"forward", p->ForwardButton()},   {"backward", p->BackwardButton()}};
    ASSERT_EQ(seen.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_STREQ(seen[i].first, want[i].first) << i;
        EXPECT_EQ(seen[i].second, want[i].second) << i;
    }
}

TEST(SearchPanel, RetEditReportsEnterAndCtrlEnterOnly)
{
    TRetEdit e;
    int ret = 0, ctrlRet = 0;
    e.OnReturn = [&](QObject*) { ++ret; };
    e.OnCtrlReturn = [&](QObject*) { ++ctrlRet; };
    e.setText(QStringLiteral("ab"));
    QTest::keyClick(&e, Qt::Key_Return);
    EXPECT_EQ(ret, 1);
    EXPECT_EQ(ctrlRet, 0);
    QTest::keyClick(&e, Qt::Key_Enter, Qt::ControlModifier);
    EXPECT_EQ(ret, 1);
    EXPECT_EQ(ctrlRet, 1);
    EXPECT_EQ(e.text(), QStringLiteral("ab"));
}

} // namespace
