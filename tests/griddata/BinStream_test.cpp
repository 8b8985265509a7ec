// The binary cell stream: bytes against hand-made fixtures, reading them back, broken input,
// copies between grids at an offset with properties and pictures, whole-grid streams; and
// AssignCells through the text stream.
#include "TestSupport.h"
#include "GridDataFixture.h"
#include "grid/AdvGrid.h"
#include "platform/ComponentStream.h"
#include "platform/Picture.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

using griddatatest::MakeGrid;

namespace {

QByteArray SaveRect(TVerIvovavOzed& g, TRect r)
{
    return griddatatest::Written([&](QIODevice& b) { g.SaveRectToBinStream(r, b); });
}

void LoadAt(TVerIvovavOzed& g, TPoint p, QByteArray data)
{
    griddatatest::ReadBack(data, [&](QIODevice& b) { g.LoadAtPointFromBinStream(p, b); });
}

QByteArray SaveWhole(TVerIvovavOzed& g)
{
    return griddatatest::Written([&](QIODevice& b) { g.SaveToBinStream(b); });
}

void LoadWhole(TVerIvovavOzed& g, QByteArray data)
{
    griddatatest::ReadBack(data, [&](QIODevice& b) { g.LoadFromBinStream(b); });
}

// The writing grid's identifier differs from run to run; the fixtures hold 0 for it.
QByteArray WithoutID(QByteArray data)
{
    const qsizetype p = data.indexOf(QByteArray("\x02ID", 3));
    if (p < 0)
        return data;
    const char tag = data[p + 3];
    const int len = tag == 2 ? 1 : tag == 3 ? 2 : 4;
    data.replace(p + 3, 1 + len, QByteArray("\x03\x00\x00", 3));
    return data;
}

QString LoadError(TVerIvovavOzed& g, const QByteArray& data)
{
    try {
        LoadAt(g, TPoint{0, 0}, data);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

} // namespace

TEST(BinStream, WritesTheFixtures)
{
    auto g = MakeGrid(3, 3);
    g->SetColWidths(1, 64);
    g->SetRowHeights(1, 20);
    g->SetCells(1, 1, "abc");
    EXPECT_EQ(WithoutID(SaveRect(*g, TRect{1, 1, 1, 1})), kt_test::ReadFile(kt_test::FixturePath("griddata/stream/cell_plain.bin")));

    auto h = MakeGrid(2, 2); // the one cell is not the whole grid
    h->SetColWidths(0, 64);
    h->SetRowHeights(0, 20);
    TCellProperties* p = h->GetCellProperties(0, 0);
    p->SetAlignment(taRightJustify);
    p->SetBorderColor(clBlack);
    p->SetBorderWidth(0);
    p->SetBrushColor(clWindow);
    p->SetBrushColorTo(clNone);
    p->SetBrushStyle(bsSolid);
    p->SetFontColor(TColor(0x00F5E6D2));
    p->SetFontName(QString());
    p->SetFontSize(0);
    p->SetFontStyle(TFontStyles(fsBold) | fsUnderline);
    p->SetEditor(edNormal);
    p->SetGradientDirection(GradientHorizontal);
    p->SetReadOnly(false);
    p->SetVAlignment(vtaTop);
    p->SetWordWrap(true);
    p->SetNodeLevel(0);
    EXPECT_EQ(WithoutID(SaveRect(*h, TRect{0, 0, 0, 0})), kt_test::ReadFile(kt_test::FixturePath("griddata/stream/cell_props.bin")));
}

TEST(BinStream, ReadsTheFixturesAndRefusesBrokenOnes)
{
    auto g = MakeGrid(3, 3);
    LoadAt(*g, TPoint{2, 0}, kt_test::ReadFile(kt_test::FixturePath("griddata/stream/cell_plain.bin")));
    EXPECT_EQ(g->Cells(2, 0), "abc");
    EXPECT_EQ(g->Cells(1, 1), "");

    g->GetCellProperties(1, 1)->SetFontName("Kept"); // absent from the record: kept
    LoadAt(*g, TPoint{1, 1}, kt_test::ReadFile(kt_test::FixturePath("griddata/stream/cell_props.bin")));
    TCellProperties* p = g->GetCellProperties(1, 1);
    EXPECT_EQ(p->Alignment(), taRightJustify);
    EXPECT_EQ(p->BrushColor(), clWindow);
    EXPECT_EQ(p->FontColor(), TColor(0x00F5E6D2));
    EXPECT_EQ(p->FontStyle(), TFontStyles(fsBold) | fsUnderline);
    EXPECT_EQ(p->GradientDirection(), GradientHorizontal);
    EXPECT_EQ(p->FontName(), "Kept");

    auto h = MakeGrid(2, 2);
    EXPECT_EQ(LoadError(*h, kt_test::ReadFile(kt_test::FixturePath("griddata/stream/bad_property.bin"))),
              "Property Colour does not exist");
    QByteArray plain = kt_test::ReadFile(kt_test::FixturePath("griddata/stream/cell_plain.bin"));
    EXPECT_EQ(LoadError(*h, "TPF9" + plain.mid(4)), "Invalid stream format");
    EXPECT_EQ(LoadError(*h, plain.left(plain.size() - 5)), "Stream read error");
    // A whole-grid header whose width list is short fails at the first missing entry.
    QByteArray full = plain;
    full.replace(QByteArray("FullGrid\x08", 9), QByteArray("FullGrid\x09", 9));
    EXPECT_EQ(LoadError(*h, full), "");
    EXPECT_EQ(h->ColCount(), 2); // 1 column from the first cell on (column 1)
    EXPECT_EQ(h->Cells(1, 1), "abc");
    QByteArray shortList = full;
    shortList.replace(QByteArray("ColCount\x02\x01", 10), QByteArray("ColCount\x02\x02", 10));
    EXPECT_EQ(LoadError(*h, shortList), "List index out of bounds (1)");
    // A count far beyond its list fails the same way before the grid is sized.
    QByteArray hugeCount = full;
    hugeCount.replace(QByteArray("ColCount\x02\x01", 10), QByteArray("ColCount\x04\xff\xff\xff\x0f", 13));
    EXPECT_EQ(LoadError(*h, hugeCount), "List index out of bounds (1)");
    EXPECT_EQ(h->ColCount(), 2);
}

TEST(BinStream, CopiesCellsPropertiesAndPicturesBetweenGridsAtAnOffset)
{
    auto src = MakeGrid(6, 8);
    src->SetCells(2, 5, "a");
    src->SetCells(3, 5, QString::fromUtf8("\xc3\xa9t\xc3\xa9"));
    src->SetCells(2, 6, "multi\r\nline");
    src->SetColors(3, 6, TColor(0x123456));
    src->SetColorsTo(3, 6, clYellow);
    src->SetGradientDir(3, 6, GradientHorizontal);
    int token = 0;
    src->GetCellProperties(3, 6)->SetCellObject(&token);
    src->SetFontStyles(2, 5, TFontStyles(fsItalic));

    TBitmap* bmp = src->CreateBitmap(2, 6, true, haRight, vaCenter);
    QImage img(4, 3, QImage::Format_RGB32);
    img.fill(Qt::white);
    img.setPixel(1, 1, qRgb(255, 0, 0));
    bmp->SetImage(img);
    TPicture* pic = src->CreatePicture(3, 5, false, Stretch, 2, haCenter, vaTop);
    pic->SetGraphic(std::make_unique<TBitmap>(5, 2));
    platform::TStringList* radio = src->CreateRadio(3, 7, 1, 1);
    radio->Add("one");
    radio->Add("two");
    src->AddCheckBox(2, 7, cbChecked);
    src->GetCellGraphic(2, 7)->SetCellValue(5);

    const QByteArray data = SaveRect(*src, TRect{2, 5, 3, 7});
    auto dst = MakeGrid(3, 4);
    dst->CreateRadio(1, 3, 0, 0)->Add("old");
    LoadAt(*dst, TPoint{0, 1}, data);

    EXPECT_EQ(dst->Cells(0, 1), "a");
    EXPECT_EQ(dst->Cells(1, 1), QString::fromUtf8("\xc3\xa9t\xc3\xa9"));
    EXPECT_EQ(dst->Cells(0, 2), "multi\r\nline");
    EXPECT_EQ(dst->GetFontStyles(0, 1), TFontStyles(fsItalic));
    EXPECT_EQ(dst->GetColors(1, 2), TColor(0x123456));
    EXPECT_EQ(dst->GetColorsTo(1, 2), clYellow);
    EXPECT_EQ(dst->GetGradientDir(1, 2), GradientHorizontal);
    EXPECT_EQ(dst->GetCellProperties(1, 2)->CellObject(), &token); // the same process
    ASSERT_EQ(dst->GetCellType(0, 2), ctBitmap);
    TCellGraphic* g = dst->GetCellGraphic(0, 2);
    EXPECT_EQ(g->CellHAlign(), haRight);
    EXPECT_TRUE(g->CellCreated());
    ASSERT_TRUE(g->Bitmap());
    EXPECT_EQ(g->Bitmap()->Image().convertToFormat(QImage::Format_RGB32),
              bmp->Image().convertToFormat(QImage::Format_RGB32));
    ASSERT_EQ(dst->GetCellType(1, 1), ctPicture);
    ASSERT_TRUE(dst->GetCellGraphic(1, 1)->Picture());
    EXPECT_EQ(dst->GetCellGraphic(1, 1)->Picture()->Width(), 5);
    ASSERT_EQ(dst->GetCellType(1, 3), ctRadio);
    auto* list = dst->GetCellGraphic(1, 3)->CellBitmap().As<platform::TStringList>();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ((*list)[1], "two");
    EXPECT_EQ(dst->GetCellType(0, 3), ctTriStateCheckBox);
    EXPECT_EQ(dst->GetCellGraphic(0, 3)->CellCheckBoxState(), cbChecked);
    EXPECT_EQ(dst->GetCellGraphic(0, 3)->CellValue(), 5.0);
}

TEST(BinStream, EmptyValuesAndLentPicturesAreNotCarriedOver)
{
    auto src = MakeGrid(2, 3);
    src->AddCheckBox(0, 0, cbUnchecked);
    src->GetCellGraphic(0, 0)->SetCellValue(5);
    src->AddCheckBox(0, 1, cbUnchecked); // value 0
    src->CreateRadio(0, 2, 0, 0);        // no choices
    TBitmap lent(2, 2);
    src->AddBitmap(1, 0, &lent, false, haLeft, vaTop);
    src->SetCells(1, 0, "kept");

    auto dst = MakeGrid(2, 3);
    dst->CreateRadio(0, 2, 0, 0)->Add("old");
    LoadAt(*dst, TPoint{0, 0}, SaveRect(*src, TRect{0, 0, 1, 2}));
    EXPECT_EQ(dst->GetCellGraphic(0, 0)->CellValue(), 5.0);
    EXPECT_EQ(dst->GetCellGraphic(0, 1)->CellValue(), 0.0);
    auto* list = dst->GetCellGraphic(0, 2)->CellBitmap().As<platform::TStringList>();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(dst->Cells(1, 0), "kept");
    EXPECT_EQ(dst->GetCellType(1, 0), ctEmpty);
}

TEST(BinStream, WholeGridStreamsSizeTheGridAndCellsOutsideAreDropped)
{
    auto src = MakeGrid(3, 2);
    src->SetColWidths(2, 77);
    src->SetRowHeights(1, 33);
    src->SetCells(2, 1, "x");
    const QByteArray full = SaveWhole(*src);
    auto dst = MakeGrid(1, 1);
    dst->SetCells(0, 0, "cleared");
    LoadWhole(*dst, full);
    EXPECT_EQ(dst->ColCount(), 3);
    EXPECT_EQ(dst->RowCount(), 2);
    EXPECT_EQ(dst->ColWidths(2), 77);
    EXPECT_EQ(dst->RowHeights(1), 33);
    EXPECT_EQ(dst->Cells(0, 0), "");
    EXPECT_EQ(dst->Cells(2, 1), "x");

    // Saved without the fixed cells: the stream starts at the first normal cell and still loads
    // whole, fixed cells included.
    auto fixedSrc = MakeGrid(4, 3, 1, 1);
    fixedSrc->SetSaveFixedCells(false);
    fixedSrc->SetColWidths(1, 41);
    fixedSrc->SetColWidths(3, 43);
    fixedSrc->SetCells(3, 2, "last");
    auto fixedDst = MakeGrid(1, 1);
    LoadWhole(*fixedDst, SaveWhole(*fixedSrc));
    EXPECT_EQ(fixedDst->ColCount(), 4);
    EXPECT_EQ(fixedDst->RowCount(), 3);
    EXPECT_EQ(fixedDst->ColWidths(1), 41);
    EXPECT_EQ(fixedDst->ColWidths(3), 43);
    EXPECT_EQ(fixedDst->Cells(3, 2), "last");

    // A block read near the grid's end: what falls outside is read past.
    auto small = MakeGrid(2, 2);
    src->SetCells(0, 0, "a");
    src->SetCells(1, 0, "b");
    LoadAt(*small, TPoint{1, 1}, SaveRect(*src, TRect{0, 0, 1, 1}));
    EXPECT_EQ(small->Cells(1, 1), "a");
    EXPECT_EQ(small->TotalColCount(), 2);
}

TEST(BinStream, IndexesAboveSixteenBitsAreWrittenTrue)
{
    auto g = MakeGrid(2, 70001);
    g->SetCells(1, 70000, "far");
    const QByteArray data = SaveRect(*g, TRect{1, 70000, 1, 70000});
    EXPECT_TRUE(data.contains(QByteArray("\x03Row\x04\x70\x11\x01\x00", 9)));
    auto h = MakeGrid(2, 2);
    LoadAt(*h, TPoint{0, 1}, data);
    EXPECT_EQ(h->Cells(0, 1), "far");
}

TEST(BinStream, FilesRoundTrip)
{
    QTemporaryDir dir;
    auto g = MakeGrid(2, 2);
    g->SetCells(1, 1, "file");
    g->SetColors(1, 1, clAqua);
    const QString path = dir.filePath("g.bin");
    g->SaveToBinFile(path);
    auto h = MakeGrid(1, 1);
    h->LoadFromBinFile(path);
    EXPECT_EQ(h->ColCount(), 2);
    EXPECT_EQ(h->Cells(1, 1), "file");
    EXPECT_EQ(h->GetColors(1, 1), clAqua);
    EXPECT_THROW(h->LoadFromBinFile(dir.filePath("missing.bin")), platform::EFOpenError);
}

TEST(AssignCells, CopiesThroughTheTextStream)
{
    // Right fixed columns and footers stay outside the save area on both sides.
    auto src = MakeGrid(5, 5, 1, 1);
    src->SetFixedRightCols(1);
    src->SetFixedFooters(1);
    src->SetCells(1, 1, "a");
    src->SetCells(3, 3, "b\r\nc");
    src->SetColWidths(2, 55);
    auto dst = MakeGrid(3, 3, 1, 1);
    dst->SetFixedRightCols(1);
    dst->SetFixedFooters(1);
    dst->SetMultilinecells(true);
    dst->AssignCells(src.get());
    EXPECT_EQ(dst->ColCount(), 5);
    EXPECT_EQ(dst->RowCount(), 5);
    EXPECT_EQ(dst->Cells(1, 1), "a");
    EXPECT_EQ(dst->Cells(3, 3), "b\r\nc");
    EXPECT_EQ(dst->ColWidths(2), 55);

}

// Needs the text stream to map shown columns to stored ones: its writer reads stored column c for
// shown column c, so a hidden column's text takes the place of the last shown one.
TEST(AssignCells, HiddenColumnOfTheSourceIsLeftOut)
{
    auto hid = MakeGrid(4, 2);
    for (int c = 0; c < 4; ++c)
        hid->SetCells(c, 1, QString::number(c));
    hid->HideColumn(1);
    auto into = MakeGrid(1, 1);
    into->AssignCells(hid.get());
    EXPECT_EQ(into->ColCount(), 3);
    EXPECT_EQ(into->Cells(0, 1), "0");
    EXPECT_EQ(into->Cells(1, 1), "2");
    EXPECT_EQ(into->Cells(2, 1), "3");
}
