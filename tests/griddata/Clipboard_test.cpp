// Clipboard copy, cut and paste by the grid's keys on a focused grid, read back from the
// application's clipboard: text blocks and their quoting, growth, read-only and check-box cells,
// inserting paste, disjunct selections, refusals, the grid's own format and undo.
#include "GridDataFixture.h"
#include "grid/AdvGrid.h"
#include "grid/UndoRedo.h"
#include "griddata/AdvGrid_FilesStreamTypes.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct ClipHost {
    QWidget window;
    TVerIvovavOzed* grid;
    explicit ClipHost(int cols = 4, int rows = 4)
    {
        window.resize(500, 300);
        grid = &griddatatest::Sized(*new TVerIvovavOzed(&window), cols, rows);
        grid->setGeometry(0, 0, 500, 300);
        grid->SetOptions(grid->Options() | goEditing | goRangeSelect);
        grid->Navigation().SetAllowClipboardShortCuts(true);
        window.show();
        QApplication::setActiveWindow(&window);
        grid->setFocus(Qt::OtherFocusReason);
        Pump();
    }
    static void Pump()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    void Select(int l, int t, int r, int b) { grid->SetSelection(TGridRect{l, t, r, b}); }
    void Key(Qt::Key k, Qt::KeyboardModifiers m)
    {
        QTest::keyClick(grid, k, m);
        Pump();
    }
};

// A grid with an undo list, its first row filled from the texts and the last of them read-only.
struct UndoHost : ClipHost {
    RUvaVoviVareReda undo;
    UndoHost(int cols, int rows, const QStringList& firstRow) : ClipHost(cols, rows)
    {
        grid->SetUndoRedo(&undo);
        for (int c = 0; c < firstRow.size(); ++c)
            grid->SetCells(c, 0, firstRow[c]);
        grid->SetReadOnly(int(firstRow.size()) - 1, 0, true);
    }
};

QString ClipText() { return QApplication::clipboard()->text(); }
void SetClipText(const QString& s) { QApplication::clipboard()->setText(s); }

} // namespace

TEST(Clipboard, CopyKeysPutTheSelectionAsText)
{
    ClipHost h;
    h.grid->SetCells(0, 0, "a");
    h.grid->SetCells(1, 0, "b");
    h.grid->SetCells(2, 0, "c");
    h.grid->SetCells(0, 1, "A\r\nB");
    h.Select(0, 0, 2, 0);
    h.Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(ClipText(), "a\tb\tc"); // one row: no line end
    EXPECT_EQ(h.grid->LastClipOperation(), TVerIvovavOzed::coCopy);

    h.Select(0, 0, 1, 1);
    SetClipText("");
    h.Key(Qt::Key_Insert, Qt::ControlModifier);
    // A line break copies as one LF inside quotes.
    EXPECT_EQ(ClipText(), "a\tb\r\n\"A\nB\"\t\r\n");

    h.grid->SetExcelClipboardFormat(true);
    h.grid->SetMultilinecells(true);
    h.Select(0, 1, 0, 1);
    h.Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(ClipText(), QString("\"A") + QChar(11) + "B\"");

    // Refused by the application: the clipboard stays as it was.
    h.grid->OnClipboardCopy = [](QObject*, const QString&, bool& Allow) { Allow = false; };
    SetClipText("before");
    h.Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(ClipText(), "before");
}

// Each clipboard key asks its permission event first, telling it the text it would move; a
// refusal leaves cells and clipboard alone.
TEST(Clipboard, KeysAskTheirEventWithTheTextTheyMove)
{
    struct Case {
        const char* name;
        Qt::Key key;
        std::function<void(QObject*, const QString&, bool&)> TVerIvovavOzed::*event;
        QString seen;
    } cases[] = {
        {"copy", Qt::Key_C, &TVerIvovavOzed::OnClipboardCopy, "a"},
        {"cut", Qt::Key_X, &TVerIvovavOzed::OnClipboardCut, "a"},
        {"paste", Qt::Key_V, &TVerIvovavOzed::OnClipboardPaste, "clip"},
    };
    for (const Case& k : cases) {
        ClipHost h(2, 2);
        h.grid->SetCells(0, 0, "a");
        h.Select(0, 0, 0, 0);
        SetClipText("clip");
        QStringList told;
        h.grid->*k.event = [&](QObject*, const QString& Value, bool& Allow) {
            told << Value;
            Allow = false;
        };
        h.Key(k.key, Qt::ControlModifier);
        EXPECT_EQ(told, QStringList{k.seen}) << k.name;
        EXPECT_EQ(h.grid->Cells(0, 0), "a") << k.name;
        EXPECT_EQ(ClipText(), "clip") << k.name;
    }
}

TEST(Clipboard, PastedLineBreaksComeBackAsCRLF)
{
    ClipHost h(2, 2);
    h.grid->SetMultilinecells(true);
    for (const QString& text : {QString("\"A\nB\""), QString("\"A") + QChar(11) + "B\""}) {
        SetClipText(text);
        h.Select(0, 0, 0, 0);
        h.Key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(h.grid->Cells(0, 0), "A\r\nB") << text.toStdString();
    }
    int cols = 0, rows = 0;
    h.grid->TextBlockSize("a\tb\r\nc\r\n", cols, rows);
    EXPECT_EQ(cols, 2);
    EXPECT_EQ(rows, 1);
}

// A block set as the selection's text or pasted runs on into a new row when it reaches the last
// row, or the row before a fixed floating footer; a final line end adds no row.
TEST(Clipboard, TextBlocksGrowRowsBeforeAFixedFooter)
{
    for (bool footer : {false, true})
        for (bool paste : {false, true}) {
            ClipHost h(2, 3);
            h.grid->Navigation().SetAllowClipboardRowGrow(true);
            h.grid->FloatingFooter().SetFooterStyle(fsFixedLastRow);
            h.grid->FloatingFooter().SetVisible(footer);
            h.Select(0, 0, 0, 0);
            if (paste) {
                int rows = 0, cols = 0;
                h.grid->PasteTextBlock(0, 0, rows, cols, "a\r\nb\r\nc\r\n");
            } else {
                h.grid->SetSelectionAsText("a\r\nb\r\nc\r\n");
            }
            EXPECT_EQ(h.grid->RowCount(), footer ? 4 : 3) << footer << paste;
            EXPECT_EQ(h.grid->Cells(0, 2), "c") << footer << paste;
        }
}

TEST(Clipboard, PasteGrowsTheGridAndAsksPerCell)
{
    ClipHost h(1, 1);
    SetClipText("1\t2\r\n");
    int rows = 0, cols = 0;
    EXPECT_EQ(h.grid->PasteTextBlock(0, 0, rows, cols, "1\t2\r\n"), 3);
    EXPECT_EQ(h.grid->ColCount(), 2);
    EXPECT_EQ(h.grid->Cells(0, 0), "1");
    EXPECT_EQ(h.grid->Cells(1, 0), "2");
    EXPECT_EQ(h.grid->RowCount(), 1); // a final line end adds no row

    SetClipText("x\r\ny\r\nz");
    h.Select(0, 0, 0, 0);
    std::vector<QString> after;
    h.grid->OnClipboardBeforePasteCell = [](QObject*, int, int ARow, QString& Value, bool& Allow) {
        Allow = ARow != 1;
        Value += "!";
    };
    h.grid->OnClipboardAfterPasteCell = [&](QObject*, int, int, const QString& Value) { after.push_back(Value); };
    h.Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(h.grid->RowCount(), 3);
    EXPECT_EQ(h.grid->Cells(0, 0), "x!");
    EXPECT_EQ(h.grid->Cells(0, 1), ""); // refused: unchanged, no after event
    EXPECT_EQ(h.grid->Cells(0, 2), "z!");
    EXPECT_EQ(after, std::vector<QString>({"x!", "z!"}));

    h.grid->OnClipboardPaste = [](QObject*, const QString&, bool& Allow) { Allow = false; };
    SetClipText("nope");
    h.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(h.grid->Cells(0, 0), "x!");
}

TEST(Clipboard, ReadOnlyAndCheckBoxCells)
{
    ClipHost h(3, 1);
    h.grid->SetReadOnly(1, 0, true);
    h.grid->SetCells(1, 0, "ro");
    h.grid->AddCheckBox(2, 0, false, false);
    bool asked = false;
    h.grid->OnClipboardBeforePasteCell = [&](QObject*, int ACol, int, QString&, bool&) { asked |= ACol == 1; };
    SetClipText("p\tq\tY");
    h.Select(0, 0, 0, 0);
    h.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(h.grid->Cells(0, 0), "p");
    EXPECT_EQ(h.grid->Cells(1, 0), "ro");
    EXPECT_FALSE(asked);
    EXPECT_TRUE(h.grid->IsChecked(2, 0));
    SetClipText("\t\tN");
    h.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(h.grid->IsChecked(2, 0));

    // With paste always on, the read-only cell is written too.
    h.grid->Navigation().SetAllowClipboardAlways(true);
    SetClipText("p\tq");
    h.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(h.grid->Cells(1, 0), "q");
}

TEST(Clipboard, InsertingPasteAddsARowPerLine)
{
    ClipHost h(2, 3);
    h.grid->SetCells(0, 0, "first");
    h.grid->SetCells(0, 1, "second");
    h.grid->Navigation().SetClipboardPasteAction(paInsert);
    SetClipText("n1\r\nn2\r\n");
    h.Select(0, 1, 0, 1);
    h.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(h.grid->RowCount(), 5);
    EXPECT_EQ(h.grid->Cells(0, 0), "first");
    EXPECT_EQ(h.grid->Cells(0, 1), "n1");
    EXPECT_EQ(h.grid->Cells(0, 2), "n2");
    EXPECT_EQ(h.grid->Cells(0, 3), "second");
}

TEST(Clipboard, DisjunctRowSelectionCopiesAndCutsTheChosenRows)
{
    ClipHost h(2, 4);
    for (int r = 0; r < 4; ++r)
        h.grid->SetCells(0, r, QString("r%1").arg(r));
    h.grid->MouseActions().SetDisjunctRowSelect(true);
    h.grid->SetRowSelect(1, true);
    h.grid->SetRowSelect(3, true);
    h.grid->CopySelectionToClipboard();
    EXPECT_EQ(ClipText(), "r1\t\r\nr3\t\r\n");
    h.grid->CutSelectionToClipboard();
    EXPECT_EQ(h.grid->Cells(0, 1), "");
    EXPECT_EQ(h.grid->Cells(0, 2), "r2");
    EXPECT_EQ(h.grid->Cells(0, 3), "");
}

// The whole-grid cut takes the save area: its editable cells empty as one undo step, and their
// rows count as modified.
TEST(Clipboard, WholeGridCutClearsEditableCellsAsOneUndoStep)
{
    UndoHost h(2, 2, {"a", "b"});
    h.grid->ShowModified().SetEnabled(true);
    h.grid->SetCells(0, 1, "c");
    h.grid->CutToClipboard();
    EXPECT_EQ(ClipText(), "a\tb\r\nc\t\r\n");
    EXPECT_EQ(h.grid->Cells(0, 0), "");
    EXPECT_EQ(h.grid->Cells(1, 0), "b") << "read-only";
    EXPECT_EQ(h.grid->Cells(0, 1), "");
    EXPECT_TRUE(h.grid->RowModified(0));
    EXPECT_TRUE(h.grid->RowModified(1));
    EXPECT_EQ(h.grid->LastClipOperation(), TVerIvovavOzed::coCut);
    h.undo.Undo();
    EXPECT_EQ(h.grid->Cells(0, 0), "a");
    EXPECT_EQ(h.grid->Cells(0, 1), "c");
}

TEST(Clipboard, CutClearsEditableCellsAsOneUndoStep)
{
    UndoHost h(3, 2, {"a", "b", "c"});
    h.Select(0, 0, 2, 0);
    h.Key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(ClipText(), "a\tb\tc");
    EXPECT_EQ(h.grid->Cells(0, 0), "");
    EXPECT_EQ(h.grid->Cells(1, 0), "");
    EXPECT_EQ(h.grid->Cells(2, 0), "c");
    EXPECT_EQ(h.grid->LastClipOperation(), TVerIvovavOzed::coCut);

    // The text paste is one more step.
    SetClipText("x\ty");
    h.Select(0, 1, 0, 1);
    h.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(h.grid->Cells(1, 1), "y");
    h.undo.Undo();
    EXPECT_EQ(h.grid->Cells(0, 1), "");
    EXPECT_EQ(h.grid->Cells(1, 1), "");
    EXPECT_EQ(h.grid->Cells(0, 0), "");
    h.undo.Undo();
    EXPECT_EQ(h.grid->Cells(0, 0), "a");
    EXPECT_EQ(h.grid->Cells(1, 0), "b");
    EXPECT_FALSE(h.undo.CanUndo());

    // Without an undo list nothing is recorded and the keys still work.
    h.grid->SetUndoRedo(nullptr);
    h.Select(0, 0, 0, 0);
    h.Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(ClipText(), "a");
}

TEST(Clipboard, GridFormatCarriesPropertiesBetweenGrids)
{
    ClipHost a(3, 3), b(4, 4);
    for (ClipHost* h : {&a, &b})
        h->grid->Navigation().SetAllowFmtClipboard(true);
    a.grid->SetCells(1, 1, "x");
    a.grid->SetColors(1, 1, clLime);
    a.grid->SetCells(2, 2, "y");
    a.Select(1, 1, 2, 2);
    a.grid->setFocus();
    a.Key(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* md = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(md->hasFormat(gridclipboard::CellsMimeType()));
    EXPECT_TRUE(md->data(gridclipboard::CellsMimeType()).startsWith("TPF0"));
    EXPECT_EQ(md->text(), "x\t\r\n\ty\r\n");

    b.grid->Navigation().SetAllowClipboardColGrow(true);
    b.Select(3, 0, 3, 0);
    b.grid->setFocus();
    b.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(b.grid->ColCount(), 5); // grown for the second column
    EXPECT_EQ(b.grid->Cells(3, 0), "x");
    EXPECT_EQ(b.grid->GetColors(3, 0), clLime);
    EXPECT_EQ(b.grid->Cells(4, 1), "y");
}

TEST(Clipboard, BrokenGridFormatBlockChangesNothing)
{
    ClipHost h(2, 2);
    h.grid->Navigation().SetAllowFmtClipboard(true);
    h.grid->SetCells(0, 0, "kept");
    auto* md = new QMimeData;
    // A header claiming a million columns in a block of a few bytes.
    md->setData(gridclipboard::CellsMimeType(),
                QByteArray("TPF0\x0bTGridPropIO\x00\x08ColCount\x04\x40\x42\x0f\x00\x00\x00", 33));
    QApplication::clipboard()->setMimeData(md);
    h.Select(0, 0, 0, 0);
    h.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(h.grid->ColCount(), 2);
    EXPECT_EQ(h.grid->Cells(0, 0), "kept");
}

TEST(Clipboard, HtmlCopyWrapsThePageInTheEnvelope)
{
    ClipHost h(2, 2);
    h.grid->SetCells(0, 0, QStringLiteral("a"));
    h.grid->SetCells(1, 1, QStringLiteral("b"));
    h.grid->CopyToClipBoardAsHTML();
    const QMimeData* md = QApplication::clipboard()->mimeData();
    ASSERT_NE(md, nullptr);
    const QByteArray block = md->data(gridclipboard::HtmlMimeType());
    ASSERT_TRUE(block.startsWith("Version:1.0\r\nStartHTML:00000097\r\n")) << block.left(60).toStdString();
    // The end offset counts the bytes of the whole block.
    const int endAt = block.indexOf("EndHTML:");
    EXPECT_EQ(block.mid(endAt + 8, 8).toInt(), block.size());
    EXPECT_TRUE(block.contains("<td") || block.contains("<TD"));
    EXPECT_EQ(md->text().toUtf8(), block);
    EXPECT_TRUE(md->hasHtml());
}

TEST(Clipboard, RichTextCellsCopyTheirWords)
{
    // Other programs get the words of a rich text cell, whether files keep it as RTF or not; the
    // rich text itself travels in its own format when allowed.
    ClipHost h;
    const QString rtf = "{\\rtf1\\ansi Plain \\b bold\\b0\\par}";
    h.grid->SetCells(0, 0, rtf);
    h.grid->Navigation().SetAllowRTFClipboard(true);
    for (const bool keepRtf : {false, true}) {
        h.grid->SetSaveWithRTF(keepRtf);
        h.Select(0, 0, 0, 0);
        h.Key(Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(ClipText().trimmed(), "Plain bold") << keepRtf;
        QByteArray carried = QApplication::clipboard()->mimeData()->data(gridclipboard::RtfMimeType());
        carried.truncate(carried.indexOf('\0'));
        EXPECT_EQ(carried, rtf.toLatin1());
    }
}
