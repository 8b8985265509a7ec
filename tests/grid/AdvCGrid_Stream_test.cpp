// The column grid's definitions in a stream (round trip, bytes against a hand-made fixture, fewer
// definitions than columns, broken streams) and its column order in an INI file.
#include "TestSupport.h"
#include "grid/AdvCGrid.h"
#include "platform/ComponentStream.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct TGridWindow {
    std::unique_ptr<QWidget> Window = std::make_unique<QWidget>();
    TZidIzavodUraz* Grid = nullptr;
};

TGridWindow MakeGrid(int Cols)
{
    TGridWindow w;
    w.Grid = new TZidIzavodUraz(w.Window.get());
    w.Grid->SetFixedCols(0);
    w.Grid->SetColCount(Cols);
    w.Grid->SetRowCount(4);
    w.Grid->SetFixedRows(1);
    w.Grid->Loaded();
    return w;
}

QByteArray Save(TZidIzavodUraz& g)
{
    QByteArray data;
    QBuffer b(&data);
    b.open(QIODevice::WriteOnly);
    g.SaveColumnsToStream(b);
    return data;
}

void Load(TZidIzavodUraz& g, QByteArray data)
{
    QBuffer b(&data);
    b.open(QIODevice::ReadOnly);
    g.LoadColumnsFromStream(b);
}

QString FontText(const TFont& f)
{
    return QStringLiteral("%1/%2/%3/%4").arg(f.Name()).arg(f.Height()).arg(int(f.Style())).arg(f.Color());
}

QString PenText(TPen& p) { return QStringLiteral("%1/%2/%3/%4").arg(p.Color()).arg(p.Width()).arg(p.Style()).arg(p.Mode()); }

// Every streamed property of a definition, as one text.
QString Describe(TGridColumnItem& d)
{
    QStringList s;
    s << QString::number(d.AutoMinSize()) << QString::number(d.AutoMaxSize()) << QString::number(d.Alignment())
      << QString::number(int(d.Borders())) << PenText(d.BorderPen()) << d.CheckFalse() << d.CheckTrue()
      << QString::number(d.Color()) << (d.ColumnPopup() ? d.ColumnPopup()->objectName() : "nil")
      << QString::number(d.ColumnPopupType()) << d.ComboItems().ToStringList().join('|')
      << QString::number(d.DropDownCount()) << QString::number(d.EditLength()) << d.EditMask()
      << QString::number(d.Editor()) << d.Filter().ToStringList().join('|') << QString::number(d.FilterCaseSensitive())
      << QString::number(d.Fixed()) << d.FloatFormat() << FontText(d.Font()) << d.Header()
      << QString::number(d.HeaderAlignment()) << FontText(d.HeaderFont()) << QString::number(d.MinSize())
      << QString::number(d.MaxSize()) << d.Name() << QString::number(d.Password())
      << QString::number(d.PrintBorderCustom()) << QString::number(int(d.PrintBorders()))
      << PenText(d.PrintBorderPen()) << QString::number(d.PrintColor()) << QString::number(d.PrintFontCustom())
      << FontText(d.PrintFont()) << QString::number(d.ReadOnly()) << QString::number(d.ShowBands())
      << QString::number(d.SortStyle()) << d.SortPrefix() << d.SortSuffix() << QString::number(d.SpinMax())
      << QString::number(d.SpinMin()) << QString::number(d.SpinStep()) << QString::number(d.Tag())
      << QString::number(d.Width());
    return s.join(';');
}

// What a load may change: the definitions, the header cells, the widths and the header list.
QString Snapshot(TZidIzavodUraz& g)
{
    QStringList s;
    for (int i = 0; i < g.Columns().Count(); ++i)
        s << Describe(*g.Columns().Items(i)) + ";" + QString::number(g.Columns().Items(i)->DefIdx());
    for (int c = 0; c < g.ColCount(); ++c)
        s << g.Cells(c, 0) + "=" + QString::number(g.ColWidths(c));
    s << g.ColumnHeaders().ToStringList().join('|');
    return s.join('\n');
}

// Three columns whose every streamed property differs from the initial values.
void Fill(TGridWindow& w)
{
    auto* menu = new QMenu(w.Window.get());
    menu->setObjectName("HeaderMenu");
    const TEditorType editors[] = {edComboList, edDataCheckBox, edSpinEdit};
    for (int i = 0; i < 3; ++i) {
        TGridColumnItem* d = w.Grid->Columns().Items(i);
        d->SetAutoMinSize(10 + i);
        d->SetAutoMaxSize(300 + i);
        d->SetAlignment(i == 0 ? taCenter : taRightJustify);
        d->SetBorders(TCellBorders(cbLeft) | cbBottom);
        d->BorderPen().SetColor(0x123456 + i);
        d->BorderPen().SetWidth(2);
        d->SetCheckFalse(QString("off%1").arg(i));
        d->SetCheckTrue(QString::fromUtf8("\xc3\xa9t\xc3\xa9%1").arg(i));
        d->SetColor(i == 0 ? clInfoBk : TColor(0x00F5E6D2 + i));
        d->SetColumnPopup(i == 1 ? menu : nullptr);
        d->ComboItems().Assign(QStringList{QString("a%1").arg(i), "", "long item"});
        d->SetDropDownCount(12 + i);
        d->SetEditLength(5 + i);
        d->SetEditMask("!99;1;_");
        d->SetEditor(editors[i]);
        d->Filter().Assign(QStringList{"Big=>100", "Small"});
        d->SetFilterCaseSensitive(true);
        d->SetFixed(i == 2);
        d->SetFloatFormat("%.2f");
        d->Font().SetName("DejaVu Sans");
        d->Font().SetHeight(-13 - i);
        d->Font().SetStyle(TFontStyles(fsBold) | fsUnderline);
        d->Font().SetColor(clRed);
        d->SetHeader(QString("Head %1").arg(i));
        d->SetHeaderAlignment(taCenter);
        d->HeaderFont().SetName("Courier New");
        d->HeaderFont().SetStyle(fsItalic);
        d->SetMinSize(20);
        d->SetMaxSize(200);
        d->SetName(QString("col%1").arg(i));
        d->SetPassword(i == 1);
        d->SetPrintBorders(cbTop);
        d->PrintBorderPen().SetStyle(psDash);
        d->SetPrintColor(0x00ABCDEF);
        d->PrintFont().SetHeight(-20);
        d->SetReadOnly(true);
        d->SetShowBands(true);
        d->SetSortStyle(ssNumeric);
        d->SetSortPrefix("$");
        d->SetSortSuffix(" kg");
        d->SetSpinMax(99);
        d->SetSpinMin(-5);
        d->SetSpinStep(3);
        d->SetTag(70000 + i);
        d->SetWidth(50 + 10 * i);
    }
}

TEST(ColumnStream, SavedDefinitionsLoadBackWhole)
{
    TGridWindow a = MakeGrid(3);
    Fill(a);
    const QString before = Snapshot(*a.Grid);
    const QByteArray data = Save(*a.Grid);
    EXPECT_EQ(Snapshot(*a.Grid), before); // saving changes nothing

    TGridWindow b = MakeGrid(3);
    auto* menu = new QMenu(b.Window.get());
    menu->setObjectName("HeaderMenu");
    Load(*b.Grid, data);
    ASSERT_EQ(b.Grid->Columns().Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Describe(*b.Grid->Columns().Items(i)), Describe(*a.Grid->Columns().Items(i))) << i;
    // The stored widths and headers act on the grid; the reference finds the menu of the same name
    // in the loading grid's window.
    EXPECT_EQ(b.Grid->ColWidths(2), 70);
    EXPECT_EQ(b.Grid->Cells(1, 0), "Head 1");
    EXPECT_EQ(b.Grid->ColumnHeaders().ToStringList(), QStringList({"Head 0", "Head 1", "Head 2"}));
    EXPECT_EQ(b.Grid->Columns().Items(1)->ColumnPopup(), menu);
    EXPECT_EQ(b.Grid->Columns().Items(1)->Editor(), edDataCheckBox);
    EXPECT_EQ(b.Grid->Columns().Items(0)->ComboItems().ToStringList(), QStringList({"a0", "", "long item"}));
    EXPECT_FALSE(b.Grid->Columns().NoRecursiveUpdate());
    // The stored order is the organised order.
    EXPECT_EQ(b.Grid->Columns().Items(2)->DefIdx(), 2);

    // A window without a component of that name leaves the reference nil.
    TGridWindow c = MakeGrid(3);
    Load(*c.Grid, data);
    EXPECT_EQ(c.Grid->Columns().Items(1)->ColumnPopup(), nullptr);
}

TEST(ColumnStream, DefaultsAreNotWritten)
{
    // One column of initial values (default font, window colour) with a header and a width:
    // empty strings, the pen of print borders (all defaults) and the True print switches stay
    // out of the stream.
    TGridWindow w = MakeGrid(1);
    w.Grid->Columns().Items(0)->Font().Assign(TFont());
    w.Grid->Columns().Items(0)->HeaderFont().Assign(TFont());
    w.Grid->Columns().Items(0)->PrintFont().Assign(TFont());
    w.Grid->Columns().Items(0)->SetColor(clWindow);
    w.Grid->Columns().Items(0)->SetHeader("Qty");
    w.Grid->Columns().Items(0)->SetWidth(40);
    const QByteArray fixture = kt_test::ReadFile(kt_test::FixturePath("colstream/one_column.bin"));
    ASSERT_FALSE(fixture.isEmpty());
    EXPECT_EQ(Save(*w.Grid).toHex().toStdString(), fixture.toHex().toStdString());

    // And the hand-made bytes read back into a grid that differed.
    TGridWindow other = MakeGrid(1);
    TGridColumnItem* d = other.Grid->Columns().Items(0);
    d->SetHeader("Old");
    d->SetEditor(edComboList);
    d->ComboItems().Add("x");
    d->SetCheckTrue("T");
    d->Font().SetName("Courier New");
    d->PrintBorderPen().SetWidth(3);
    d->SetWidth(90);
    Load(*other.Grid, fixture);
    EXPECT_EQ(Describe(*other.Grid->Columns().Items(0)), Describe(*w.Grid->Columns().Items(0)));
    EXPECT_EQ(other.Grid->Cells(0, 0), "Qty");
}

TEST(ColumnStream, FewerDefinitionsThanColumnsUntilTheNextStructuralChange)
{
    TGridWindow two = MakeGrid(2);
    two.Grid->Columns().Items(0)->SetHeader("L");
    two.Grid->Columns().Items(1)->SetHeader("R");
    two.Grid->Columns().Items(1)->SetEditor(edComboEdit);
    two.Grid->Columns().Items(1)->SetWidth(33);

    TGridWindow three = MakeGrid(3);
    Load(*three.Grid, Save(*two.Grid));
    EXPECT_EQ(three.Grid->ColCount(), 3);
    EXPECT_EQ(three.Grid->Columns().Count(), 2);
    EXPECT_EQ(three.Grid->Cells(1, 0), "R");

    three.Grid->RecalcFooters();
    ASSERT_EQ(three.Grid->Columns().Count(), 3);
    EXPECT_EQ(three.Grid->ColCount(), 3);
    EXPECT_EQ(three.Grid->Columns().Items(1)->Header(), "R");
    EXPECT_EQ(three.Grid->Columns().Items(2)->Editor(), edComboEdit); // the new one copies its neighbour
    EXPECT_EQ(three.Grid->Columns().Items(2)->Header(), "");
}

QByteArray Patched(QByteArray data, const QByteArray& from, const QByteArray& to)
{
    const qsizetype at = data.indexOf(from);
    EXPECT_GE(at, 0) << from.toStdString();
    return data.replace(at, from.size(), to);
}

TEST(ColumnStream, BrokenStreamChangesNothing)
{
    TGridWindow source = MakeGrid(3);
    Fill(source);
    const QByteArray good = Save(*source.Grid);

    TGridWindow w = MakeGrid(3);
    for (int i = 0; i < 3; ++i) {
        w.Grid->Columns().Items(i)->SetHeader(QString("Mine %1").arg(i));
        w.Grid->Columns().Items(i)->SetWidth(30 + i);
    }
    const QString before = Snapshot(*w.Grid);
    auto expectUnchanged = [&](const QByteArray& data, const std::string& what) {
        EXPECT_THROW(Load(*w.Grid, data), platform::EReadError) << what;
        EXPECT_EQ(Snapshot(*w.Grid), before) << what;
        EXPECT_FALSE(w.Grid->Columns().NoRecursiveUpdate()) << what;
    };

    // Cut anywhere, also after headers and widths of the first columns were read.
    for (qsizetype n = 0; n < good.size(); ++n)
        expectUnchanged(good.left(n), "cut at " + std::to_string(n));

    const struct {
        QByteArray from, to;
        const char* what;
    } edits[] = {
        {"\x05Width", "\x05Wide_", "a property definitions do not have"},
        {"\x0a" "Font.Color", "\x0a" "Font.Hue__", "a font property that does not exist"},
        {"\x06" "Editor\x07\x0b" "edComboList", "\x06" "Editor\x07\x0b" "edComboLisX", "an editor with no name"},
        {"\x09" "CheckTrue\x14", "\x09" "CheckTrue\x02", "a text stored as a number"},
        {"\x10TZidIzavodUrazIO", "\x10TZidIzavodUrazXX", "the record of another class"},
        {"\x05Items\x0e\x01", "\x05Items\x0e\x05", "an item that is not a list"},
    };
    for (const auto& e : edits)
        expectUnchanged(Patched(good, e.from, e.to), e.what);

    // The same grid still loads a good stream afterwards.
    Load(*w.Grid, good);
    EXPECT_EQ(w.Grid->Cells(2, 0), "Head 2");
}

// ---- column order in an INI file ---------------------------------------------------------------

QString Order(TZidIzavodUraz& g)
{
    QStringList s;
    for (int c = 0; c < g.ColCount(); ++c)
        s << g.Cells(c, 1) + ":" + QString::number(g.Columns().Items(c)->DefIdx());
    return s.join(',');
}

TEST(ColumnPositions, OnlyAPermutationOfThePositionsIsLoaded)
{
    const QString ini = kt_test::FixturePath("colstream/positions.ini");
    const struct {
        const char* key;
        const char* section;
        const char* order; // cell text : DefIdx, by position
        bool raises;
    } cases[] = {
        // The saved order of a grid whose column 0 was moved to position 2.
        {"file", "Saved", "c1:1,c2:2,c0:0", false},
        {"file", "NoCP2", "c2:2,c0:0,c1:1", false},
        {"file", "NotNumber", "c2:2,c0:0,c1:1", false},
        {"file", "Twice", "c2:2,c0:0,c1:1", false},
        // A value naming no column: the columns go back to their first order, then it raises.
        {"file", "Outside", "c0:0,c1:1,c2:2", true},
        {"file", "", "c2:2,c0:0,c1:1", false},
        {"", "Saved", "c2:2,c0:0,c1:1", false},
    };
    for (const auto& c : cases) {
        TGridWindow w = MakeGrid(3);
        for (int i = 0; i < 3; ++i)
            w.Grid->SetCells(i, 1, QString("c%1").arg(i));
        w.Grid->MoveColumn(2, 0);
        ASSERT_EQ(Order(*w.Grid), "c2:2,c0:0,c1:1");
        const QString key = QString(c.key) == "file" ? ini : QString();
        if (c.raises)
            EXPECT_THROW(w.Grid->LoadColumnPositions(key, c.section), platform::EListError) << c.section;
        else
            w.Grid->LoadColumnPositions(key, c.section);
        EXPECT_EQ(Order(*w.Grid), c.order) << c.section << " " << c.key;
    }
}

TEST(ColumnPositions, EmptyKeyOrSectionWritesNothing)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("pos.ini");
    TGridWindow w = MakeGrid(3);
    w.Grid->SaveColumnPositions(ini, "");
    EXPECT_FALSE(QFile::exists(ini));
    const QStringList before = QDir::current().entryList(QDir::Files);
    w.Grid->SaveColumnPositions("", "S");
    EXPECT_EQ(QDir::current().entryList(QDir::Files), before);
}

} // namespace
