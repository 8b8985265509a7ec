// Pasting into the grid's in-place text editor with the keyboard: the grid's clipboard events
// may change or refuse the text, and a single line break at its end is dropped.
#include "tests/gridedit/GridFixture.h"

#include "gridedit/AdvInplaceEdit.h"

#include <QClipboard>
#include <gtest/gtest.h>
#include <vector>

using kt_test::GridFixture;

TEST(GridInplacePaste, ClipboardEventsAndTheFinalLineBreak)
{
    GridFixture f;
    f.grid->SetCells(2, 1, "ab");
    f.GoTo(2, 1);
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(f.grid->GetEditMode());
    TAdvInplaceEdit* e = f.grid->NormalEdit();
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(f.Focus(), e);
    QClipboard* clip = QApplication::clipboard();
    auto paste = [&](const QString& clipText, const QString& start, int caret, Qt::Key key = Qt::Key_V,
                     Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        clip->setText(clipText);
        e->setText(start);
        e->setCursorPosition(caret);
        f.Key(key, mods);
    };

    paste("pasted\r\n", "ab", 1);
    EXPECT_EQ(e->text(), "apastedb");
    EXPECT_EQ(e->cursorPosition(), 7);
    // Shift+Insert pastes too; a break that is not the last characters stays.
    paste("x\r\ny", "", 0, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(e->text(), "x\r\ny");

    std::vector<QString> log;
    f.grid->OnClipboardPaste = [&](QObject* sender, const QString& v, bool&) {
        log.push_back("paste " + v + (sender == e ? " editor" : " other"));
    };
    f.grid->OnClipboardBeforePasteCell = [&](QObject*, int c, int r, QString& v, bool&) {
        log.push_back(QString("before %1,%2 %3").arg(c).arg(r).arg(v));
        v = v.toUpper();
    };
    paste("up", "", 0);
    EXPECT_EQ(e->text(), "UP");
    EXPECT_EQ(log, (std::vector<QString>{"paste up editor", "before 2,1 up"}));

    // Refused by the first event: the second is not asked, the text stays.
    log.clear();
    f.grid->OnClipboardPaste = [&](QObject*, const QString&, bool& allow) {
        log.push_back("paste");
        allow = false;
    };
    paste("no", "kept", 4);
    EXPECT_EQ(e->text(), "kept");
    EXPECT_EQ(log, (std::vector<QString>{"paste"}));

    // Nothing on the clipboard: the events hear of a refused paste.
    bool allowed = true;
    f.grid->OnClipboardPaste = [&](QObject*, const QString&, bool& allow) { allowed = allow; };
    f.grid->OnClipboardBeforePasteCell = nullptr;
    clip->clear();
    e->setText("kept");
    f.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(allowed);
    EXPECT_EQ(e->text(), "kept");
    f.grid->OnClipboardPaste = nullptr;
    f.Key(Qt::Key_Escape);
}
