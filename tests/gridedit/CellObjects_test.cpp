// Cell objects: adding, finding, testing and removing every kind; a caller's object is kept, a
// created one is owned and freed once, also when a kind changes in place; the image-list kinds,
// in-cell scroll bars and error markers on screen.
#include "grid/AdvGrid.h"

#include <QDir>
#include <QImage>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct ObjGrid {
    QWidget window;
    TVerIvovavOzed* grid;
    TCustomImageList images{16, 16};

    ObjGrid()
    {
        window.resize(520, 420);
        grid = new TVerIvovavOzed(&window);
        grid->setGeometry(0, 0, 520, 420);
        grid->Loaded();
        grid->SetColCount(5);
        grid->SetRowCount(12);
        for (TColor c : {TColor(0x0000FF), TColor(0xFF0000), TColor(0x00C000)}) {
            QImage img(16, 16, QImage::Format_ARGB32);
            img.fill(ToQColor(c));
            images.AddImage(img);
        }
    }
    TCellType Type(int c, int r) { return grid->GetCellType(c, r); }
};

QString GrabFile(const QString& name)
{
    QDir dir(QDir::current().filePath(QStringLiteral("grabs")));
    dir.mkpath(QStringLiteral("."));
    return dir.filePath(name);
}

// Counts its live instances, so that a test sees an owned object freed exactly once.
struct Counted {
    static int alive;
    Counted() { ++alive; }
    ~Counted() { --alive; }
};
int Counted::alive = 0;

} // namespace

// Every kind: Add gives the cell its object, the kind's query finds it, another kind's Remove
// leaves it, its own Remove takes it away.
TEST(CellObjects, AddGetHasRemoveTable)
{
    TBitmap bmp(8, 8);
    TIcon icon;
    TPicture pic;
    TFilePicture file;
    TGridCellObject iface;
    using Op = std::function<void(TVerIvovavOzed&)>;
    using Query = std::function<bool(TVerIvovavOzed&)>;
    struct Case {
        const char* name;
        TCellType type;
        Op add;
        Query found;
        Op remove;
    };
    const int c = 2, r = 3;
    const std::vector<Case> cases = {
        {"bitmap", ctBitmap, [&](auto& g) { g.AddBitmap(c, r, &bmp, true, haLeft, vaTop); },
         [&](auto& g) { return g.GetBitmap(c, r) == &bmp && g.HasBitmap(c, r); },
         [](auto& g) { g.RemoveBitmap(c, r); }},
        {"icon", ctIcon, [&](auto& g) { g.AddIcon(c, r, &icon, haLeft, vaTop); },
         [&](auto& g) { return g.GetCellGraphic(c, r)->Icon() == &icon; }, [](auto& g) { g.RemoveIcon(c, r); }},
        {"picture", ctPicture, [&](auto& g) { g.AddPicture(c, r, &pic, false, Stretch, 2, haLeft, vaTop); },
         [&](auto& g) { return g.GetPicture(c, r) == &pic && g.HasPicture(c, r); },
         [](auto& g) { g.RemovePicture(c, r); }},
        {"file picture", ctFilePicture,
         [&](auto& g) { g.AddFilePicture(c, r, &file, false, noStretch, 0, haLeft, vaTop); },
         [&](auto& g) { return g.GetFilePicture(c, r) == &file; }, [](auto& g) { g.RemoveFilePicture(c, r); }},
        {"image index", ctImageList, [](auto& g) { g.AddImageIdx(c, r, 2, haLeft, vaTop); },
         [](auto& g) {
             int i = -1;
             return g.GetImageIdx(c, r, i) && i == 2;
         },
         [](auto& g) { g.RemoveImageIdx(c, r); }},
        {"data image", ctDataImage, [](auto& g) { g.AddDataImage(c, r, 1, haLeft, vaTop); },
         [](auto& g) { return g.HasDataImage(c, r) && g.Cells(c, r) == QStringLiteral("1"); },
         [](auto& g) { g.RemoveDataImage(c, r); }},
        {"multi image", ctImages, [](auto& g) { g.AddMultiImage(c, r, 0, haLeft, vaTop); },
         [](auto& g) { return g.GetCellImages(c, r) != nullptr; }, [](auto& g) { g.RemoveMultiImage(c, r); }},
        {"rotated", ctRotated, [](auto& g) { g.AddRotated(c, r, 450, QStringLiteral("turn")); },
         [](auto& g) {
             int a = 0;
             return g.IsRotated(c, r, a) && a == 90 && g.Cells(c, r) == QStringLiteral("turn");
         },
         [](auto& g) { g.RemoveRotated(c, r); }},
        {"progress", ctProgress, [](auto& g) { g.AddProgress(c, r, clRed, clWhite); },
         [](auto& g) { return g.HasProgress(c, r) && g.GetCellGraphic(c, r)->CellErrLen() == 100; },
         [](auto& g) { g.RemoveProgress(c, r); }},
        {"level progress", ctXPProgress, [](auto& g) { g.AddAdvProgress(c, r, 10, 20); },
         [](auto& g) { return g.GetCellGraphic(c, r)->CellErrFrom() == 10; },
         [](auto& g) { g.RemoveAdvProgress(c, r); }},
        {"pie", ctProgressPie, [](auto& g) { g.AddProgressPie(c, r, clBlue, 30); },
         [](auto& g) {
             g.SetProgressPie(c, r, 60);
             return g.GetCellGraphic(c, r)->CellAngle() == 60;
         },
         [](auto& g) { g.RemoveProgressPie(c, r); }},
        {"range indicator", ctRangeIndicator, [](auto& g) { g.AddRangeIndicator(c, r, 50, clRed, clGreen, true); },
         [](auto& g) { return g.GetCellGraphic(c, r)->CellIndex() == 50; },
         [](auto& g) { g.RemoveRangeIndicator(c, r); }},
        {"comment", ctComment, [](auto& g) { g.AddColorComment(c, r, QStringLiteral("note"), clBlue); },
         [](auto& g) {
             QString s;
             return g.IsComment(c, r, s) && s == QStringLiteral("note") && g.GetComment(c, r) == s;
         },
         [](auto& g) { g.RemoveComment(c, r); }},
        {"marker", ctEmpty, [](auto& g) { g.AddMarker(c, r, 2, 3); },
         [](auto& g) {
             int p = 0, l = 0;
             g.GetMarker(c, r, p, l);
             return p == 2 && l == 3;
         },
         [](auto& g) { g.RemoveMarker(c, r); }},
        {"button", ctButton, [](auto& g) { g.AddButton(c, r, 70, 20, QStringLiteral("Go"), haLeft, vaTop); },
         [](auto& g) {
             return g.HasButton(c, r) && g.GetButtonText(c, r) == QStringLiteral("Go") &&
                    g.GetCellGraphic(c, r)->CellIndex() == 20 * 65536 + 70;
         },
         [](auto& g) { g.RemoveButton(c, r); }},
        {"bit button", ctBitButton,
         [&](auto& g) { g.AddBitButton(c, r, 40, 18, QStringLiteral("B"), &bmp, haLeft, vaTop); },
         [&](auto& g) { return g.HasButton(c, r) && g.GetCellGraphic(c, r)->Bitmap() == &bmp; },
         [](auto& g) { g.RemoveBitButton(c, r); }},
        {"shape", ctShape, [](auto& g) { g.AddShape(c, r, csDiamond, clRed, clBlack, haLeft, vaTop); },
         [](auto& g) {
             g.SetShapeColor(c, r, clBlue);
             return g.GetShapeColor(c, r) == clBlue && g.GetCellGraphic(c, r)->CellAngle() == int(csDiamond);
         },
         [](auto& g) { g.RemoveShape(c, r); }},
        {"rating", ctRating, [](auto& g) { g.AddRating(c, r, 5, clYellow, clSilver); },
         [](auto& g) { return g.HasRating(c, r) && g.GetCellGraphic(c, r)->CellAngle() == 5; },
         [](auto& g) { g.RemoveRating(c, r); }},
        {"scroll bar", ctScrollbar, [](auto& g) { g.AddScrollBar(c, r, false); },
         [](auto& g) {
             const TScrollProp p = g.GetScrollProp(c, r);
             return g.HasScrollBar(c, r) && g.GetScrollPosition(c, r) == 0 && p.Range == 100 && p.PageSize == 0 &&
                    !g.HasAutoRangeScrollBar(c, r);
         },
         [](auto& g) { g.RemoveScrollBar(c, r); }},
        {"balloon", ctBalloon, [](auto& g) { g.AddBalloon(c, r, QStringLiteral("T"), QStringLiteral("X"), biInfo); },
         [](auto& g) {
             QString t, x;
             TBalloonIcon i = biNone;
             return g.HasBalloon(c, r) && g.IsBalloon(c, r, t, x, i) && t == QStringLiteral("T") &&
                    x == QStringLiteral("X") && i == biInfo;
         },
         [](auto& g) { g.RemoveBalloon(c, r); }},
        {"expand box", ctExpand, [](auto& g) { g.AddExpand(c, r, 60); },
         [](auto& g) {
             return g.HasExpand(c, r) && !g.GetExpandState(c, r) && g.GetExpandHeight(c, r, true) == 60 &&
                    g.GetExpandHeight(c, r, false) == g.RowHeights(r);
         },
         [](auto& g) { g.RemoveExpand(c, r); }},
        {"interfaced", ctInterface, [&](auto& g) { g.AddInterfacedCell(c, r, &iface); },
         [&](auto& g) { return g.GetInterfacedCell(c, r) == &iface; },
         [](auto& g) { g.RemoveInterfacedCell(c, r); }},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& k = cases[i];
        SCOPED_TRACE(k.name);
        ObjGrid f;
        TVerIvovavOzed& g = *f.grid;
        g.SetGridImages(&f.images);
        k.add(g);
        ASSERT_EQ(f.Type(c, r), k.type);
        EXPECT_TRUE(k.found(g));
        // a caller's picture, icon, glyph or object is lent, never owned
        const bool lent = k.type == ctBitmap || k.type == ctIcon || k.type == ctPicture || k.type == ctFilePicture ||
                          k.type == ctBitButton || k.type == ctInterface;
        if (lent) {
            EXPECT_FALSE(g.GetCellGraphic(c, r)->CellCreated());
        }
        // the Remove of another kind leaves the object
        cases[(i + 1) % cases.size()].remove(g);
        EXPECT_EQ(f.Type(c, r), k.type);
        k.remove(g);
        EXPECT_EQ(g.GetCellGraphic(c, r), nullptr);
    }
    // the caller's objects outlived their cells
    EXPECT_EQ(bmp.Width(), 8);
}

TEST(CellObjects, CreateOwnsAddLends)
{
    ObjGrid f;
    TVerIvovavOzed& g = *f.grid;
    TBitmap* made = g.CreateBitmap(1, 1, false, haLeft, vaTop);
    ASSERT_NE(made, nullptr);
    made->SetSize(5, 5);
    EXPECT_EQ(g.GetBitmap(1, 1), made);
    EXPECT_TRUE(g.GetCellGraphic(1, 1)->CellCreated());
    EXPECT_TRUE(g.CreateIcon(1, 2, haLeft, vaTop) && g.GetCellGraphic(1, 2)->CellCreated());
    EXPECT_TRUE(g.CreatePicture(1, 3, false, noStretch, 0, haLeft, vaTop) == g.GetPicture(1, 3));
    EXPECT_TRUE(g.CreateFilePicture(1, 4, false, noStretch, 0, haLeft, vaTop) == g.GetFilePicture(1, 4));
    TBitmap* glyph = g.CreateBitButton(1, 5, 30, 20, QStringLiteral("x"), haLeft, vaTop);
    EXPECT_EQ(g.GetCellGraphic(1, 5)->Bitmap(), glyph);
    EXPECT_TRUE(g.GetCellGraphic(1, 5)->CellCreated());
    // a new object in the cell frees the created one; the caller's survives being replaced
    TBitmap mine(3, 3);
    g.AddBitmap(1, 1, &mine, false, haLeft, vaTop);
    EXPECT_FALSE(g.GetCellGraphic(1, 1)->CellCreated());
    g.CreateBitmap(1, 1, false, haLeft, vaTop);
    g.RemoveBitmap(1, 1);
    EXPECT_EQ(mine.Width(), 3);
}

// A kind changed in place frees what the object owned once, by what it holds: a caption or
// pushed flag keeps it, turned text drops it, and the removal then frees nothing twice.
TEST(CellObjects, KindChangeInPlaceFreesOnce)
{
    ObjGrid f;
    TVerIvovavOzed& g = *f.grid;
    struct Case {
        const char* name;
        TCellType type;
    } cases[] = {{"balloon", ctBalloon}, {"images", ctImages}, {"bit button", ctBitButton}, {"check box", ctCheckBox}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        ASSERT_EQ(Counted::alive, 0);
        TCellGraphic* o = g.CreateCellGraphic(1, 1);
        o->SetCellType(k.type);
        o->CellBitmap().Own(std::make_unique<Counted>());
        ASSERT_EQ(Counted::alive, 1);
        g.SetButtonText(1, 1, QStringLiteral("caption"));
        g.PushButton(1, 1, true);
        EXPECT_EQ(Counted::alive, 1);
        EXPECT_EQ(g.GetButtonText(1, 1), QStringLiteral("caption"));
        g.SetRotated(1, 1, -90);
        EXPECT_EQ(Counted::alive, 0);
        int a = 0;
        EXPECT_TRUE(g.IsRotated(1, 1, a));
        EXPECT_EQ(a, 270);
        g.RemoveRotated(1, 1);
        EXPECT_EQ(Counted::alive, 0);
    }
    // a removal frees an owned object once
    g.CreateCellGraphic(1, 2)->CellBitmap().Own(std::make_unique<Counted>());
    g.RemoveCellGraphic(1, 2);
    EXPECT_EQ(Counted::alive, 0);
    // a lent object stays the caller's through a kind change
    TBitmap mine(4, 4);
    g.AddBitmap(1, 3, &mine, false, haLeft, vaTop);
    g.SetRotated(1, 3, 45);
    g.RemoveRotated(1, 3);
    EXPECT_EQ(mine.Width(), 4);
    // a node is not pushed
    g.AddNode(4, 2);
    g.PushButton(0, 4, true);
    EXPECT_FALSE(g.GetNodeState(4));
}

TEST(CellObjects, RulesOfTheKinds)
{
    ObjGrid f;
    TVerIvovavOzed& g = *f.grid;

    // image-list kinds need the grid's image list
    g.AddImageIdx(1, 1, 1, haLeft, vaTop);
    g.AddDataImage(1, 2, 1, haLeft, vaTop);
    g.AddMultiImage(1, 3, 0, haLeft, vaTop);
    int idx = -1;
    EXPECT_FALSE(g.GetImageIdx(1, 1, idx));
    EXPECT_EQ(g.GetCellGraphic(1, 1), nullptr);
    EXPECT_EQ(g.GetCellGraphic(1, 2), nullptr);
    EXPECT_EQ(g.GetCellGraphic(1, 3), nullptr);
    g.SetGridImages(&f.images);
    g.AddImageIdx(1, 1, 1, haLeft, vaTop);
    g.SetImageIdx(1, 1, 2);
    EXPECT_TRUE(g.GetImageIdx(1, 1, idx));
    EXPECT_EQ(idx, 2);
    g.SetCells(1, 2, QStringLiteral("7"));
    g.AddDataImage(1, 2, 1, haLeft, vaTop);
    EXPECT_EQ(g.Cells(1, 2), QStringLiteral("7")); // a text of its own stays
    g.SetCells(1, 4, QStringLiteral("keep?"));
    g.RemoveDataImage(1, 4); // no data image there: the text goes anyway
    EXPECT_EQ(g.Cells(1, 4), QString());

    // balloons hang on check boxes and radio buttons, never on other kinds
    g.AddCheckBox(2, 1, true, false);
    g.AddBalloon(2, 1, QStringLiteral("Title"), QStringLiteral("Text"), biWarning);
    QString t, x;
    TBalloonIcon icon = biNone;
    EXPECT_EQ(f.Type(2, 1), ctCheckBox);
    EXPECT_TRUE(g.IsBalloon(2, 1, t, x, icon));
    EXPECT_EQ(t, QStringLiteral("Title"));
    EXPECT_EQ(x, QStringLiteral("Text"));
    EXPECT_EQ(icon, biWarning);
    g.RemoveBalloon(2, 1);
    EXPECT_EQ(f.Type(2, 1), ctCheckBox);
    EXPECT_TRUE(g.IsChecked(2, 1));
    EXPECT_FALSE(g.IsBalloon(2, 1, t, x, icon));
    TPicture pic;
    g.AddPicture(2, 2, &pic, false, noStretch, 0, haLeft, vaTop);
    g.AddBalloon(2, 2, QStringLiteral("T"), QStringLiteral("X"), biInfo);
    EXPECT_EQ(g.GetPicture(2, 2), &pic);
    EXPECT_FALSE(g.IsBalloon(2, 2, t, x, icon));

    // comments: SetComment makes one in the look's colour, changes one, leaves a button
    g.ControlLook().SetCommentColor(0x00FF00);
    g.SetComment(3, 1, QStringLiteral("first"));
    EXPECT_EQ(g.GetComment(3, 1), QStringLiteral("first"));
    EXPECT_EQ(g.GetCellGraphic(3, 1)->CellIndex(), 0x00FF00);
    g.SetComment(3, 1, QStringLiteral("second"));
    EXPECT_EQ(g.GetComment(3, 1), QStringLiteral("second"));
    g.AddButton(3, 2, 30, 16, QStringLiteral("b"), haLeft, vaTop);
    g.SetComment(3, 2, QStringLiteral("no"));
    EXPECT_EQ(f.Type(3, 2), ctButton);
    EXPECT_EQ(g.GetComment(3, 2), QString());

    // markers ride on any object; the bare marker object goes with its marker
    g.AddMarker(3, 1, 1, 2);
    EXPECT_EQ(f.Type(3, 1), ctComment);
    g.RemoveMarker(3, 1);
    int p = -1, l = -1;
    g.GetMarker(3, 1, p, l);
    EXPECT_EQ(p + l, 0);
    EXPECT_EQ(f.Type(3, 1), ctComment);
    g.GetMarker(4, 9, p, l);
    EXPECT_EQ(p + l, 0);

    // sweeps reach fixed cells too
    g.AddComment(0, 0, QStringLiteral("fixed"));
    g.AddMarker(4, 0, 0, 1);
    g.AddBitButton(0, 5, 20, 20, QStringLiteral("b"), nullptr, haLeft, vaTop);
    g.RemoveAllComments();
    g.RemoveAllMarkers();
    g.AddBitButton(1, 9, 20, 20, QStringLiteral("b"), nullptr, haLeft, vaTop);
    g.RemoveButton(1, 9); // a bit button goes with RemoveButton too
    EXPECT_EQ(g.GetCellGraphic(1, 9), nullptr);
    g.RemoveAllButtons();
    EXPECT_EQ(g.GetCellGraphic(0, 0), nullptr);
    EXPECT_EQ(g.GetCellGraphic(4, 0), nullptr);
    EXPECT_EQ(g.GetCellGraphic(0, 5), nullptr);
    EXPECT_EQ(g.GetCellGraphic(3, 2), nullptr);

    // answers for cells without the kind
    const TScrollProp none = g.GetScrollProp(4, 4);
    EXPECT_EQ(none.Range, -1);
    EXPECT_EQ(none.PageSize, -1);
    EXPECT_EQ(g.GetScrollPosition(4, 4), -1);
    EXPECT_EQ(g.GetExpandHeight(4, 4, true), g.DefaultRowHeight());
    EXPECT_EQ(g.GetShapeColor(4, 4), clNone);
    EXPECT_FALSE(g.ToggleExpand(4, 4));
    EXPECT_EQ(g.GetExpandButtonRect(4, 4), TRect());

    // expand box: toggles and its button sits at the cell's top-right corner
    g.AddExpand(4, 4, 50);
    EXPECT_TRUE(g.ToggleExpand(4, 4));
    EXPECT_TRUE(g.GetExpandState(4, 4));
    const TRect cr = g.CellRect(4, 4);
    EXPECT_EQ(g.GetExpandButtonRect(4, 4), TRect(cr.Right - 13, cr.Top + 2, cr.Right - 2, cr.Top + 13));

    // progress right-aligns its number with AutoNumAlign
    g.SetAutoNumAlign(true);
    g.AddProgressEx(4, 6, clRed, clWhite, clSilver, clBlack);
    EXPECT_EQ(g.GetAlignments(4, 6), taRightJustify);
    EXPECT_TRUE(g.GetCellGraphic(4, 6)->CellBoolean());

    // an auto-range scroll bar follows the row height and its text's height
    g.SetRowHeights(7, 30);
    g.SetCells(4, 7, QStringLiteral("a\nb\nc\nd"));
    g.AddScrollBar(4, 7, true);
    TScrollProp sp = g.GetScrollProp(4, 7);
    EXPECT_EQ(sp.PageSize, 30);
    const int fourLines = sp.Range;
    EXPECT_GT(fourLines, 30);
    g.SetCells(4, 7, QStringLiteral("a\nb\nc\nd\ne\nf\ng\nh"));
    EXPECT_GT(g.GetScrollProp(4, 7).Range, fourLines);
    g.SetScrollPosition(4, 7, 12);
    EXPECT_EQ(g.GetScrollPosition(4, 7), 12);
}

TEST(CellObjects, GrabEveryKind)
{
    ObjGrid f;
    TVerIvovavOzed& g = *f.grid;
    g.SetGridImages(&f.images);
    g.SetColWidths(1, 110);
    g.SetColWidths(2, 110);
    g.SetColWidths(3, 110);
    for (int r = 1; r < 12; ++r)
        g.SetRowHeights(r, 30);
    int row = 1;
    auto label = [&](const QString& s) { g.SetCells(0, row, s); };

    label(QStringLiteral("image list"));
    g.AddImageIdx(1, row, 0, haBeforeText, vaCenter);
    g.SetCells(1, row, QStringLiteral("idx 0"));
    g.SetInts(2, row, 1);
    g.AddDataImage(2, row, 0, haLeft, vaCenter);
    g.AddMultiImage(3, row, 0, haLeft, vaCenter);
    g.GetCellImages(3, row)->Add(0);
    g.GetCellImages(3, row)->Add(1);
    g.GetCellImages(3, row)->Add(2);
    const int imageRow = row++;

    label(QStringLiteral("scroll bar"));
    g.SetRowHeights(row, 70);
    g.SetCells(1, row, QStringLiteral("one\ntwo\nthree\nfour\nfive\nsix\nseven\neight\nnine"));
    g.AddScrollBar(1, row, true);
    g.SetScrollPosition(1, row, 40);
    const int scrollRow = row++;

    label(QStringLiteral("marker"));
    g.SetCells(1, row, QStringLiteral("wrong word"));
    g.AddMarker(1, row, 6, 4);
    const int markerRow = row++;

    label(QStringLiteral("progress"));
    g.SetCells(1, row, QStringLiteral("40"));
    g.AddProgressEx(1, row, 0x00C000, clWhite, clWhite, clBlack);
    g.SetCells(2, row, QStringLiteral("70"));
    g.AddAdvProgress(2, row, 0, 100);
    g.AddProgressPie(3, row, clBlue, 65);
    ++row;

    label(QStringLiteral("range/rating"));
    g.SetCells(1, row, QStringLiteral("-30"));
    g.AddRangeIndicator(1, row, 100, clRed, clGreen, true);
    g.SetCells(2, row, QStringLiteral("3.5"));
    g.AddRating(2, row, 5, clYellow, clSilver);
    g.AddShape(3, row, csStar, clRed, clBlack, haLeft, vaCenter);
    ++row;

    label(QStringLiteral("buttons"));
    g.AddButton(1, row, 70, 22, QStringLiteral("Button"), haLeft, vaCenter);
    TBitmap* glyph = g.CreateBitButton(2, row, 80, 22, QStringLiteral("Glyph"), haLeft, vaCenter);
    glyph->SetSize(12, 12);
    glyph->Canvas().Brush().SetColor(clWhite); // the corner colour is the transparent one
    glyph->Canvas().FillRect(TRect(0, 0, 12, 12));
    glyph->Canvas().Brush().SetColor(clRed);
    glyph->Canvas().FillRect(TRect(2, 2, 10, 10));
    const int buttonRow = row;
    g.AddExpand(3, row, 60);
    ++row;

    label(QStringLiteral("text kinds"));
    g.AddComment(1, row, QStringLiteral("a note"));
    g.SetCells(1, row, QStringLiteral("commented"));
    g.AddRotated(2, row, 20, QStringLiteral("turned"));
    g.AddBalloon(3, row, QStringLiteral("T"), QStringLiteral("X"), biInfo);
    g.SetCells(3, row, QStringLiteral("balloon"));
    ++row;

    label(QStringLiteral("pictures"));
    TBitmap* b = g.CreateBitmap(1, row, false, haBeforeText, vaCenter);
    b->SetSize(20, 20);
    b->Canvas().Brush().SetColor(0x00A0FF);
    b->Canvas().FillRect(TRect(0, 0, 20, 20));
    g.SetCells(1, row, QStringLiteral("bitmap"));
    g.AddCheckBox(2, row, true, false);
    g.SetCells(2, row, QStringLiteral("check"));
    g.AddRadioButton(3, row, true);
    ++row;

    f.window.show();
    const QImage img = g.grab().toImage().convertToFormat(QImage::Format_RGB32);
    img.save(GrabFile("cell_objects.png"));

    auto rgb = [](TColor c) { return ToQColor(c).rgb() & 0xFFFFFF; };
    auto count = [&](const TRect& rc, TColor c) {
        int n = 0;
        for (int y = rc.Top; y < rc.Bottom; ++y)
            for (int x = rc.Left; x < rc.Right; ++x)
                n += (img.pixel(x, y) & 0xFFFFFF) == rgb(c);
        return n;
    };
    // image 0 (red) in the image-list cell, image 1 (blue) in the data-image cell (its number 1
    // plus index 0), all three side by side in the multi-image cell
    EXPECT_GT(count(g.CellRect(1, imageRow), 0x0000FF), 100);
    EXPECT_GT(count(g.CellRect(2, imageRow), 0xFF0000), 100);
    EXPECT_EQ(count(g.CellRect(2, imageRow), 0x0000FF), 0);
    const TRect multi = g.CellRect(3, imageRow);
    EXPECT_GT(count(multi, 0x0000FF), 100);
    EXPECT_GT(count(multi, 0xFF0000), 100);
    EXPECT_GT(count(multi, 0x00C000), 100);
    // the scroll bar takes the right edge of its cell: its pixels differ from the plain cell's
    const TRect sc = g.CellRect(1, scrollRow);
    int differing = 0;
    for (int y = sc.Top + 2; y < sc.Bottom - 2; ++y)
        differing += (img.pixel(sc.Right - 6, y) & 0xFFFFFF) != rgb(clWhite);
    EXPECT_GT(differing, (sc.Bottom - sc.Top) / 2);
    // the marker: red pixels under the second word only
    const TRect mc = g.CellRect(1, markerRow);
    const int half = (mc.Left + mc.Right) / 2;
    EXPECT_GT(count(TRect(mc.Left + 30, mc.Top, mc.Right, mc.Bottom), 0x0000FF), 5);
    EXPECT_EQ(count(TRect(mc.Left, mc.Top, mc.Left + 25, mc.Bottom), 0x0000FF), 0);
    (void)half;
    // the bit button shows its glyph
    EXPECT_GT(count(g.CellRect(2, buttonRow), 0x0000FF), 40);
}

TEST(CellObjects, MarkupPicturesComeFromTheGridImages)
{
    // A cell's markup shows the grid's images by index ("idx:n").
    ObjGrid f;
    TVerIvovavOzed& g = *f.grid;
    g.SetCells(1, 1, QStringLiteral("<IMG src=\"idx:1\"> blue"));
    f.window.show();
    const TRect r = g.CellRect(1, 1);
    const QRect cell(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    auto blue = [&] {
        const QImage img = g.grab().toImage();
        int n = 0;
        for (int y = cell.top(); y < cell.bottom(); ++y)
            for (int x = cell.left(); x < cell.right(); ++x) {
                const QColor c = img.pixelColor(x, y);
                n += c.blue() > 200 && c.red() < 40 && c.green() < 40;
            }
        return n;
    };
    EXPECT_EQ(blue(), 0); // no image list: no picture
    g.SetGridImages(&f.images);
    g.update();
    EXPECT_GT(blue(), 100);
}
