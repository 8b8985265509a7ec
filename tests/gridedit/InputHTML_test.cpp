// Links and form controls in HTML cells, by clicks: a "CELL://" link jumps, a web link opens once
// through the desktop URL handler, other texts never open; CHECK, RADIO, EDIT and COMBO controls.
#include "tests/gridedit/GridFixture.h"

#include "platform/ScriptedServices.h"
#include "platform/StringList.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

using kt_test::GridFixture;
using platform::ScopedServices;
using platform::ScriptedServices;

namespace {

// A press a few pixels inside the cell's left edge, halfway down: on a link or control that
// starts the cell text.
void ClickStart(GridFixture& f, int col, int row, int dx = 8)
{
    const TRect r = f.grid->CellRect(col, row);
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(r.Left + dx, (r.Top + r.Bottom) / 2));
    GridFixture::Pump();
}

QStringList Opened(const ScriptedServices& s)
{
    QStringList out;
    for (const QString& line : s.Log)
        if (line.startsWith(QStringLiteral("OpenUrl: ")))
            out << line.mid(9);
    return out;
}

} // namespace

namespace {

// The list a combo control offers: one, two and three, none typed in.
void One_Two_Three(QObject*, int, int, const QString&, const QString&, const QString&, platform::TStringList& values,
                   bool& editable, int&)
{
    values.Add("one");
    values.Add("two");
    values.Add("three");
    editable = false;
}

} // namespace

TEST(InputHTML, CellLinkJumpsAndWebLinksOpenOnce)
{
    ScriptedServices services;
    ScopedServices scope(services);
    GridFixture f(5, 10);
    f.grid->SetCells(1, 1, "<a href=\"cell://R7C3\">jump</a>");
    f.grid->SetCells(1, 2, "<a href=\"http://example.org/a\">site</a>");
    f.grid->SetCells(1, 3, "<a href=\"WWW.example.org\">www</a>");
    f.grid->SetCells(1, 4, "<a href=\"notes\">notes</a>");
    std::vector<QString> clicked;
    f.grid->OnAnchorClick = [&](QObject*, int, int, const QString& a, bool&) { clicked.push_back(a); };

    ClickStart(f, 1, 1);
    EXPECT_EQ(f.grid->Row(), 7);
    EXPECT_EQ(f.grid->Col(), 3);
    EXPECT_TRUE(Opened(services).isEmpty());

    ClickStart(f, 1, 2);
    EXPECT_EQ(Opened(services), QStringList{"http://example.org/a"});
    ClickStart(f, 1, 3);
    ClickStart(f, 1, 4); // not a link: never opened
    EXPECT_EQ(Opened(services), (QStringList{"http://example.org/a", "http://WWW.example.org"}));
    EXPECT_EQ(clicked.size(), 4u);

    // The application may take the click over.
    f.grid->OnAnchorClick = [](QObject*, int, int, const QString&, bool& autoHandle) { autoHandle = false; };
    ClickStart(f, 1, 2);
    EXPECT_EQ(Opened(services).size(), 2);

    // With URLShow a plain address is a link as a whole; a plain word is not.
    f.grid->OnAnchorClick = nullptr;
    f.grid->SetURLShow(true);
    f.grid->SetCells(2, 5, "mailto:someone@example.org");
    f.grid->SetCells(2, 6, "just words");
    ClickStart(f, 2, 5);
    ClickStart(f, 2, 6);
    EXPECT_EQ(Opened(services).size(), 3);
    EXPECT_EQ(Opened(services).last(), "mailto:someone@example.org");
}

TEST(InputHTML, CheckAndRadioControlsRewriteTheirValues)
{
    GridFixture f(5, 6);
    f.grid->SetOptions(f.grid->Options() | goEditing);
    f.grid->SetCells(1, 1, "<CONTROL TYPE=\"CHECK\" WIDTH=\"15\" ID=\"c1\" VALUE=\"TRUE\"> done");
    std::vector<QString> clicks;
    f.grid->OnControlClick = [&](QObject*, int r, int c, const QString& id, const QString& type, const QString&) {
        clicks.push_back(QStringLiteral("%1,%2 %3 %4").arg(c).arg(r).arg(id, type));
    };
    ClickStart(f, 1, 1);
    EXPECT_TRUE(f.grid->Cells(1, 1).contains("VALUE=\"FALSE\"")) << f.grid->Cells(1, 1).toStdString();
    ClickStart(f, 1, 1);
    EXPECT_TRUE(f.grid->Cells(1, 1).contains("VALUE=\"TRUE\"")) << f.grid->Cells(1, 1).toStdString();
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks.front(), "1,1 c1 CHECK");

    f.grid->SetCells(1, 2,
                     "<CONTROL TYPE=\"RADIO\" WIDTH=\"15\" ID=\"r1\" VALUE=\"FALSE\">"
                     "<CONTROL TYPE=\"RADIO\" WIDTH=\"15\" ID=\"r2\" VALUE=\"TRUE\">");
    ClickStart(f, 1, 2, 8);
    const QString t = f.grid->Cells(1, 2);
    EXPECT_TRUE(t.contains("ID=\"r1\" VALUE=\"TRUE\"")) << t.toStdString();
    EXPECT_TRUE(t.contains("ID=\"r2\" VALUE=\"FALSE\"")) << t.toStdString();

    // Without editing the control stays as it is and the anchor click is reported instead.
    GridFixture g(5, 6);
    g.grid->SetOptions(g.grid->Options() & ~TGridOptions(goEditing));
    g.grid->SetCells(1, 1, "<CONTROL TYPE=\"CHECK\" WIDTH=\"15\" ID=\"c1\" VALUE=\"TRUE\">");
    int anchors = 0;
    g.grid->OnAnchorClick = [&](QObject*, int, int, const QString&, bool&) { ++anchors; };
    ClickStart(g, 1, 1);
    EXPECT_TRUE(g.grid->Cells(1, 1).contains("VALUE=\"TRUE\""));
    EXPECT_EQ(anchors, 1);

    // A press beside the controls selects the cell and reports the click.
    int cellClicks = 0;
    f.grid->OnClickCell = [&](QObject*, int, int) { ++cellClicks; };
    ClickStart(f, 1, 2, 80);
    EXPECT_EQ(cellClicks, 1);
    EXPECT_EQ(f.grid->Row(), 2);
}

TEST(InputHTML, EditAndComboControlsOpenOverTheControl)
{
    GridFixture f(5, 6);
    f.grid->SetOptions(f.grid->Options() | goEditing);
    f.grid->SetCells(1, 1, "<CONTROL TYPE=\"EDIT\" WIDTH=\"60\" ID=\"e1\" VALUE=\"abc\" MAXLEN=\"5\">");
    std::vector<QString> done;
    f.grid->OnControlEditDone = [&](QObject*, int, int, const QString& id, const QString&, const QString& v) {
        done.push_back(id + "=" + v);
    };
    ClickStart(f, 1, 1);
    ASSERT_TRUE(f.grid->ControlEditing());
    auto* edit = qobject_cast<QLineEdit*>(f.grid->ControlEditor());
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->text(), "abc");
    EXPECT_EQ(edit->maxLength(), 5);
    edit->setText("xyz");
    f.grid->ControlEditDone();
    EXPECT_FALSE(f.grid->ControlEditing());
    EXPECT_FALSE(edit->isVisible());
    EXPECT_TRUE(f.grid->Cells(1, 1).contains("VALUE=\"xyz\"")) << f.grid->Cells(1, 1).toStdString();
    EXPECT_EQ(done, std::vector<QString>{"e1=xyz"});

    // MAXLEN absent means no limit.
    f.grid->SetCells(1, 2, "<CONTROL TYPE=\"PASSWORD\" WIDTH=\"60\" ID=\"p\" VALUE=\"\">");
    ClickStart(f, 1, 2);
    ASSERT_TRUE(f.grid->ControlEditing());
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(edit->maxLength(), 32767);
    f.grid->ControlEditDone();

    f.grid->SetCells(1, 3, "<CONTROL TYPE=\"COMBO\" WIDTH=\"80\" ID=\"k\" VALUE=\"two\">");
    f.grid->OnControlComboList = One_Two_Three;
    ClickStart(f, 1, 3);
    ASSERT_TRUE(f.grid->ControlEditing());
    auto* combo = qobject_cast<QComboBox*>(f.grid->ControlEditor());
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), "two");
    EXPECT_FALSE(combo->isEditable());
    combo->hidePopup();
    combo->setCurrentIndex(2);
    f.grid->ControlEditDone();
    EXPECT_TRUE(f.grid->Cells(1, 3).contains("VALUE=\"three\"")) << f.grid->Cells(1, 3).toStdString();
}

TEST(InputHTML, AComboChoiceIsWrittenWhenTheFocusLeavesTheCombo)
{
    GridFixture f(5, 6);
    f.grid->SetOptions(f.grid->Options() | goEditing);
    f.grid->SetCells(1, 3, "<CONTROL TYPE=\"COMBO\" WIDTH=\"80\" ID=\"k\" VALUE=\"one\">");
    f.grid->OnControlComboList = One_Two_Three;
    std::vector<QString> done;
    f.grid->OnControlEditDone = [&](QObject*, int, int, const QString& id, const QString&, const QString& v) {
        done.push_back(id + "=" + v);
    };
    ClickStart(f, 1, 3);
    auto* combo = qobject_cast<QComboBox*>(f.grid->ControlEditor());
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(combo->view()->isVisible()) << "the list drops down";
    // The user picks the third entry in the dropped list; the list closes, the edit stays open.
    QTest::keyClick(combo->view(), Qt::Key_Down);
    QTest::keyClick(combo->view(), Qt::Key_Down);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    GridFixture::Pump();
    EXPECT_EQ(combo->currentText(), "three");
    EXPECT_TRUE(f.grid->ControlEditing());
    // A click on another cell takes the focus from the combo: the choice lands in the cell.
    f.Click(2, 1);
    EXPECT_FALSE(f.grid->ControlEditing());
    EXPECT_FALSE(combo->isVisible());
    EXPECT_TRUE(f.grid->Cells(1, 3).contains("VALUE=\"three\"")) << f.grid->Cells(1, 3).toStdString();
    EXPECT_EQ(done, std::vector<QString>{"k=three"});
}
