// The grid's rich text edit: sub- and superscript of the selection, the row growing while typing,
// the keys that leave it, and RTF cells painted, measured and saved as plain text.
#include "tests/gridedit/GridFixture.h"

#include "gridedit/DEriRevaDodo.h"
#include "platform/RichText.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QImage>
#include <QTextCursor>
#include <gtest/gtest.h>

using kt_test::GridFixture;

namespace {

const QString kRtf = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Tahoma;}}"
                                    "{\\colortbl ;\\red255\\green0\\blue0;}\\uc1\\pard\\plain\\f0\\fs20 "
                                    "H\\dn4 2\\up0 O \\b bold\\b0  \\cf1 red\\cf0 }");

QString PlainOf(const QString& cell)
{
    return platform::RtfToPlainText(cell.toLatin1());
}

// Opens the rich editor on the current cell as the grid's edit start does.
DEriRevaDodo* OpenRich(GridFixture& f, int col, int row)
{
    f.GoTo(col, row);
    f.grid->ShowRichEditor(col, row, f.grid->CellRect(col, row), clWindow);
    GridFixture::Pump();
    return f.grid->InplaceRichEdit();
}

bool IsRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; }

} // namespace

TEST(RichEdit, GettersMakeHiddenEditorsOnce)
{
    GridFixture f;
    DEriRevaDodo* hidden = f.grid->RichEdit();
    ASSERT_TRUE(hidden);
    EXPECT_EQ(f.grid->RichEdit(), hidden);
    EXPECT_FALSE(hidden->isVisible());
    EXPECT_EQ(hidden->width(), 0);
    EXPECT_EQ(hidden->height(), 0);
    DEriRevaDodo* inplace = f.grid->InplaceRichEdit();
    ASSERT_TRUE(inplace);
    EXPECT_NE(inplace, hidden);
    EXPECT_EQ(f.grid->InplaceRichEdit(), inplace);
    EXPECT_FALSE(inplace->isVisible());
    EXPECT_FALSE(inplace->isEnabled());
}

TEST(RichEdit, SubAndSuperscriptOfTheSelectionAreStoredAsFortyTwips)
{
    GridFixture f;
    f.grid->SetCells(1, 1, QStringLiteral("x2 y3"));
    int selChanges = 0;
    f.grid->OnRichEditSelectionChange = [&](QObject* s) {
        EXPECT_EQ(s, f.grid->InplaceRichEdit());
        ++selChanges;
    };
    DEriRevaDodo* re = OpenRich(f, 1, 1);
    ASSERT_TRUE(re->isVisible());
    EXPECT_TRUE(re->isEnabled());
    // EditSelectAll selected the loaded text.
    EXPECT_EQ(re->textCursor().selectedText(), QStringLiteral("x2 y3"));
    EXPECT_TRUE(re->IsSelNormal());

    auto select = [&](int from, int to) {
        QTextCursor c = re->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        re->setTextCursor(c);
    };
    selChanges = 0;
    select(1, 2);
    EXPECT_GT(selChanges, 0);
    re->SelSuperscript();
    EXPECT_TRUE(re->IsSelSuperscript());
    EXPECT_FALSE(re->IsSelNormal());
    EXPECT_FALSE(re->IsSelSubscript());
    select(4, 5);
    EXPECT_TRUE(re->IsSelNormal());
    re->SelSubscript();
    EXPECT_TRUE(re->IsSelSubscript());
    EXPECT_FALSE(re->IsSelSuperscript());
    select(1, 2);
    EXPECT_TRUE(re->IsSelSuperscript()); // the other selection kept its offset

    f.grid->TakeBackRichEditor(1, 1);
    EXPECT_FALSE(re->isVisible());
    EXPECT_FALSE(re->isEnabled());
    const QString cell = f.grid->Cells(1, 1);
    EXPECT_TRUE(cell.startsWith(QStringLiteral("{\\rtf1")));
    EXPECT_TRUE(cell.contains(QStringLiteral("\\up4 2")));
    EXPECT_TRUE(cell.contains(QStringLiteral("\\dn4 3")));
    EXPECT_EQ(PlainOf(cell), QStringLiteral("x2 y3"));

    // The offsets come back when the cell is edited again; SelNormal clears one.
    re = OpenRich(f, 1, 1);
    select(1, 2);
    EXPECT_TRUE(re->IsSelSuperscript());
    re->SelNormal();
    EXPECT_TRUE(re->IsSelNormal());
    f.grid->TakeBackRichEditor(1, 1);
    EXPECT_FALSE(f.grid->Cells(1, 1).contains(QStringLiteral("\\up4")));
}

TEST(RichEdit, RowGrowsWhileTypingAndStopsAtTheBottomEdge)
{
    GridFixture f(3, 12);
    f.grid->SizeWhileTyping().SetHeight(true);
    std::vector<int> sized;
    f.grid->OnEndRowSize = [&](QObject* s, int r) {
        EXPECT_EQ(s, f.grid);
        sized.push_back(r);
    };
    const int before = f.grid->RowHeights(2);
    DEriRevaDodo* re = OpenRich(f, 1, 2);
    ASSERT_EQ(GridFixture::Focus(), re);
    // Loading the cell does not resize the row.
    EXPECT_EQ(f.grid->RowHeights(2), before);
    EXPECT_TRUE(sized.empty());

    std::vector<int> heights;
    for (int i = 0; i < 40; ++i) {
        f.Type(QStringLiteral("ab"));
        f.Key(Qt::Key_Return);
        heights.push_back(f.grid->RowHeights(2));
    }
    ASSERT_GT(heights.back(), before);
    // It grew with the lines, each growth reported, the editor following the row.
    const int growths = int(std::count_if(heights.begin() + 1, heights.end(),
                                          [&, i = 0](int h) mutable { return h != heights[i++]; })) +
                        (heights.front() != before ? 1 : 0);
    EXPECT_GE(growths, 3);
    EXPECT_EQ(int(sized.size()), growths);
    for (int r : sized)
        EXPECT_EQ(r, 2);
    EXPECT_EQ(re->height(), f.grid->RowHeights(2) - 1);
    // Then it stopped: the cell never passed the client area's bottom edge.
    const int top = f.grid->CellRect(1, 2).Top;
    EXPECT_LE(top + f.grid->RowHeights(2), f.grid->viewport()->height());
    EXPECT_EQ(heights[heights.size() - 5], heights.back());
    f.grid->TakeBackRichEditor(1, 2);
    EXPECT_EQ(PlainOf(f.grid->Cells(1, 2)).count(QStringLiteral("ab")), 40);

    // Without SizeWhileTyping the row keeps its height.
    f.grid->SizeWhileTyping().SetHeight(false);
    const int other = f.grid->RowHeights(3);
    OpenRich(f, 1, 3);
    for (int i = 0; i < 4; ++i)
        f.Key(Qt::Key_Return);
    EXPECT_EQ(f.grid->RowHeights(3), other);
    f.grid->TakeBackRichEditor(1, 3);
}

TEST(RichEdit, UpStoresAndMovesTabOpensTheNextEditor)
{
    GridFixture f(4, 6);
    f.grid->OnGetEditorType = [](QObject*, int, int, TEditorType& t) { t = edRichEdit; };
    f.grid->SetOptions(f.grid->Options() | goEditing | goTabs);
    // Up and Down leave the editor only when the grid neither wraps words nor shows multi-line cells.
    f.grid->SetWordWrap(false);
    f.grid->SetCells(1, 3, kRtf);
    f.GoTo(1, 3);
    f.Key(Qt::Key_F2);
    DEriRevaDodo* re = f.grid->InplaceRichEdit();
    ASSERT_EQ(GridFixture::Focus(), re);
    f.Key(Qt::Key_End, Qt::ControlModifier);
    f.Type(QStringLiteral("Z"));
    f.Key(Qt::Key_Up);
    EXPECT_EQ(f.grid->Row(), 2);
    EXPECT_FALSE(re->isVisible());
    EXPECT_EQ(PlainOf(f.grid->Cells(1, 3)), QStringLiteral("H2O bold redZ"));
    EXPECT_TRUE(f.grid->Cells(1, 3).contains(QStringLiteral("\\dn4 2")));

    f.Key(Qt::Key_F2);
    ASSERT_EQ(GridFixture::Focus(), re);
    f.Key(Qt::Key_Tab);
    EXPECT_EQ(f.grid->Col(), 2);
    EXPECT_TRUE(re->isVisible());
    EXPECT_EQ(GridFixture::Focus(), re);
}

TEST(RichEdit, RtfCellsPaintFormattedMeasureAndSavePlain)
{
    GridFixture f(3, 4);
    f.grid->SetColWidths(1, 200);
    f.grid->SetCells(1, 1, kRtf);
    f.grid->SetCells(2, 1, QStringLiteral("plain"));
    f.GoTo(2, 2);
    f.grid->repaint();
    const QImage img = f.grid->grab().toImage();
    QDir().mkpath(QStringLiteral(KT_GRABS_DIR));
    img.save(QStringLiteral(KT_GRABS_DIR "/rich_cells.png"));
    const TRect r = f.grid->CellRect(1, 1);
    const QPoint off = f.grid->viewport()->mapTo(f.grid, QPoint(0, 0));
    int red = 0, dark = 0, firstRed = 99999;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const QRgb c = img.pixel(x + off.x(), y + off.y());
            if (IsRed(c)) {
                ++red;
                firstRed = std::min(firstRed, x);
            } else if (qGray(c) < 100) {
                ++dark;
            }
        }
    // The coloured word is red, the rest dark; no raw RTF is drawn (it would run past the cell).
    EXPECT_GT(red, 10);
    EXPECT_GT(dark, 20);
    EXPECT_LT(firstRed, r.Left + 150);

    // Measured as the formatted text, not as the RTF source.
    // With word wrap the text takes the cell's width; without it its own.
    f.grid->SetWordWrap(true);
    const TSize wrapped = f.grid->GetCellTextSize(1, 1, false, false);
    EXPECT_EQ(wrapped.cx, 200 - 2 * f.grid->XYOffset().X);
    f.grid->SetWordWrap(false);
    const TSize rich = f.grid->GetCellTextSize(1, 1, false, false);
    EXPECT_GT(rich.cx, 20);
    EXPECT_LT(rich.cx, 150);
    EXPECT_GT(rich.cy, 8);
    EXPECT_EQ(rich.cy, wrapped.cy);

    QString saved;
    f.grid->GetSaveCellText(1, 1, saved);
    EXPECT_EQ(saved, QStringLiteral("H2O bold red"));
    f.grid->SetSaveWithRTF(true);
    f.grid->GetSaveCellText(1, 1, saved);
    EXPECT_EQ(saved, kRtf);
}
