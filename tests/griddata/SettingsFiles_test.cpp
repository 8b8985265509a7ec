// Visual-properties and print-settings files against hand-made fixtures: what the readers set,
// what the writers write, round trips, hand-edited values and broken files.
#include "TestSupport.h"
#include "grid/AdvGrid.h"
#include "platform/IniFile.h"
#include "platform/SysUtils.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {

std::unique_ptr<TVerIvovavOzed> MakeGrid()
{
    auto g = std::make_unique<TVerIvovavOzed>();
    g->Loaded();
    return g;
}

QByteArray Fixture(const QString& name) { return kt_test::ReadFile(kt_test::FixturePath("griddata/layout/" + name)); }

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The visual-properties fixture with one line replaced (or dropped when `line` is empty).
QByteArray VisualWith(const QByteArray& key, const QByteArray& line)
{
    QList<QByteArray> lines = Fixture("visual.txt").split('\n');
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(key + '=')) {
            if (line.isEmpty())
                lines.removeAt(i);
            else
                lines[i] = line + '\r';
            break;
        }
    return lines.join('\n');
}

TEST(SettingsFiles, VisualPropsFixtureReadAndWrittenBack)
{
    QTemporaryDir dir;
    auto g = MakeGrid();
    ASSERT_EQ(g->Look(), glXP) << "the stored look, so its colour scheme changes nothing";
    g->LoadVisualProps(kt_test::FixturePath("griddata/layout/visual.txt"));

    EXPECT_EQ(g->Color(), clWindow);
    EXPECT_EQ(g->HintColor(), TColor(0x00E1FFFF));
    EXPECT_EQ(g->SelectionColorTo(), TColor(0x00FF9933));
    EXPECT_EQ(g->SelectionMirrorColor(), clNone);
    EXPECT_TRUE(g->URLShow());
    EXPECT_FALSE(g->ActiveCellShow());
    EXPECT_EQ(g->Font().Style(), TFontStyles(fsItalic));
    EXPECT_EQ(g->Font().Size(), 9);
    EXPECT_EQ(g->ActiveCellFont().Style(), fsBold | fsUnderline);
    EXPECT_EQ(g->ActiveCellFont().Name(), "DejaVu Sans");
    EXPECT_EQ(g->ActiveCellFont().Color(), clRed);
    EXPECT_EQ(g->FixedFont().Style(), TFontStyles()) << "an empty style clears the style";
    EXPECT_EQ(g->Balloon().BackgroundColor, clInfoBk) << "written BackgroundColor, read BackGroundColor";
    EXPECT_EQ(g->Balloon().Transparency, 200);
    EXPECT_TRUE(g->Bands().Active());
    EXPECT_EQ(g->ControlLook().ControlStyle(), csFlat);
    EXPECT_EQ(g->ControlLook().FixedGradientFrom(), TColor(0x00FCFCFC));
    EXPECT_EQ(g->Grouping().HeaderLineWidth, 3);
    EXPECT_EQ(g->GridFixedLineColor(), TColor(0xFF000019u)) << "a system colour without a name";
    EXPECT_EQ(g->BackGround().Left(), -3);
    EXPECT_EQ(g->BackGround().Display(), bdGradientVert);
    EXPECT_EQ(g->BackGround().Cells(), bcAll);

    const QString out = dir.filePath("out.txt");
    g->SaveVisualProps(out);
    EXPECT_EQ(kt_test::ReadFile(out), Fixture("visual.txt"));
}

TEST(SettingsFiles, VisualPropsHandEditedValues)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("v.txt");
    struct Case {
        QByteArray Key, Line;
        std::function<void(TVerIvovavOzed&)> Check;
    };
    const Case cases[] = {
        {"Look", "Look=glvista", [](TVerIvovavOzed& g) { EXPECT_EQ(g.Look(), glVista); }},
        {"Look", "Look=Vista", [](TVerIvovavOzed& g) { EXPECT_EQ(g.Look(), glXP); }},
        {"ControlLook.ControlStyle", "ControlLook.ControlStyle=csOrlex",
         [](TVerIvovavOzed& g) { EXPECT_EQ(int(g.ControlLook().ControlStyle()), 4); }},
        {"ControlLook.ControlStyle", "ControlLook.ControlStyle=nothing",
         [](TVerIvovavOzed& g) { EXPECT_EQ(g.ControlLook().ControlStyle(), csClassic); }},
        {"Font.Style", "Font.Style=fsItalic,fsBold",
         [](TVerIvovavOzed& g) { EXPECT_EQ(g.Font().Style(), fsBold | fsItalic); }},
        {"Font.Style", "Font.Style=bold", [](TVerIvovavOzed& g) { EXPECT_EQ(g.Font().Style(), TFontStyles()); }},
        {"Font.Name", "Font.Name=", [](TVerIvovavOzed& g) { EXPECT_EQ(g.Font().Name(), "Courier New"); }},
        {"URLShow", "urlshow=TRUE", [](TVerIvovavOzed& g) { EXPECT_TRUE(g.URLShow()); }},
        {"URLShow", "URLShow=yes", [](TVerIvovavOzed& g) { EXPECT_FALSE(g.URLShow()); }},
        {"Color", "Color=", [](TVerIvovavOzed& g) { EXPECT_EQ(g.Color(), clNone); }},
        {"Color", "Color=CLRED", [](TVerIvovavOzed& g) { EXPECT_EQ(g.Color(), clRed); }},
        {"Color", "Color=255", [](TVerIvovavOzed& g) { EXPECT_EQ(g.Color(), clRed); }},
        {"Balloon.Transparency", "Balloon.Transparency=300",
         [](TVerIvovavOzed& g) { EXPECT_EQ(g.Balloon().Transparency, 44); }},
        {"SortSettings.IndexColor", "SortSettings.IndexColor=clRed",
         [](TVerIvovavOzed& g) { EXPECT_EQ(g.SortSettings().IndexColor(), clRed); }},
        {"Grouping.SummaryColorTo", "Grouping.SummaryColorTo=clLime",
         [](TVerIvovavOzed& g) { EXPECT_EQ(g.Grouping().SummaryColorTo, clLime); }},
    };
    for (const Case& c : cases) {
        WriteBytes(path, VisualWith(c.Key, c.Line));
        auto g = MakeGrid();
        g->SetURLShow(true);
        g->ControlLook().SetControlStyle(csClassic);
        g->Font().SetName("Courier New");
        g->LoadVisualProps(path);
        c.Check(*g);
    }
}

TEST(SettingsFiles, VisualPropsBrokenFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("v.txt");

    // Without "Font.Size" the load stops there; the font's colour and style read before it stay.
    WriteBytes(path, VisualWith("Font.Size", ""));
    auto g = MakeGrid();
    g->SetColor(clRed);
    g->SetActiveCellColor(clRed);
    try {
        g->LoadVisualProps(path);
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'' is not a valid integer value");
    }
    EXPECT_EQ(g->Color(), clWindow);
    EXPECT_EQ(g->Font().Style(), TFontStyles(fsItalic));
    EXPECT_EQ(g->ActiveCellColor(), TColor(clRed)) << "nothing after the failure";
    EXPECT_NE(g->ActiveCellFont().Name(), "DejaVu Sans");

    // A colour that is neither a name nor a number names the bad value.
    WriteBytes(path, VisualWith("ScrollColor", "ScrollColor=clLtGray"));
    try {
        MakeGrid()->LoadVisualProps(path);
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'clLtGray' is not a valid integer value");
    }

    try {
        MakeGrid()->LoadVisualProps(dir.filePath("missing.txt"));
        ADD_FAILURE() << "no error";
    } catch (const ZUzeRodoRediv& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + dir.filePath("missing.txt"));
    }
    const QString bad = dir.filePath("no/such/folder.txt");
    try {
        MakeGrid()->SaveVisualProps(bad);
        ADD_FAILURE() << "no error";
    } catch (const ZUzeRodoRediv& e) {
        EXPECT_EQ(e.Message(), "Cannot Create " + bad);
    }
}

void SetPrintSettings(TPrintSettings& ps)
{
    ps.SetColumnSpacing(11);
    ps.SetRowSpacing(12);
    ps.SetTitleSpacing(13);
    ps.SetFixedHeight(14);
    ps.SetFixedWidth(15);
    ps.SetCentered(false);
    ps.SetNoAutoSize(true);
    ps.SetUseFixedHeight(true);
    ps.SetUseFixedWidth(false);
    ps.SetRepeatFixedRows(true);
    ps.SetRepeatFixedCols(false);
    ps.SetUseDisplayFont(false);
    ps.SetUseDefaultOrientation(true);
    ps.SetBorders(pbAround);
    ps.SetBorderColor(clBtnFace);
    ps.SetBorderStyle(psDot);
    ps.SetDate(ppTopLeft);
    ps.SetPageNr(ppBottomCenter);
    ps.SetTitle(ppTopCenter);
    ps.SetTime(ppNone);
    ps.SetDateFormat("yyyy-mm-dd");
    ps.SetTitleText("Report, 1");
    ps.SetFooterSize(120);
    ps.SetHeaderSize(130);
    ps.SetLeftSize(140);
    ps.SetRightSize(150);
    ps.SetFitToPage(fpShrink);
    ps.Font().SetName("Arial");
    ps.Font().SetSize(10);
    ps.Font().SetStyle(fsBold | fsItalic);
    ps.Font().SetColor(clRed);
    ps.HeaderFont().SetName("Tahoma");
    ps.HeaderFont().SetSize(12);
    ps.HeaderFont().SetStyle({});
    ps.HeaderFont().SetColor(clBlack);
    ps.FooterFont().SetName("DejaVu Sans");
    ps.FooterFont().SetSize(8);
    ps.FooterFont().SetStyle(fsUnderline | fsStrikeOut);
    ps.FooterFont().SetColor(clWindowText);
    ps.SetPageNumSep("/");
    ps.SetPageSuffix(")");
    ps.SetPagePrefix("(");
    ps.SetOrientation(poLandscape);
    ps.TitleLines().SetText("A\r\nB\r\n");
    ps.SetPrintGraphics(true);
}

TEST(SettingsFiles, PrintSettingsWrittenIntoTheirSectionAndReadBack)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("print.ini");
    WriteBytes(ini, Fixture("print_other.ini")); // another section of the file is kept
    auto g = MakeGrid();
    SetPrintSettings(g->PrintSettings());
    g->SavePrintSettings(ini, "Print");
    EXPECT_EQ(kt_test::ReadFile(ini), Fixture("print_saved.ini"));

    auto h = MakeGrid();
    h->LoadPrintSettings(ini, "print");
    const TPrintSettings& ps = h->PrintSettings();
    EXPECT_EQ(ps.TitleSpacing(), 13);
    EXPECT_FALSE(ps.Centered());
    EXPECT_TRUE(ps.UseDefaultOrientation());
    EXPECT_EQ(ps.Borders(), pbAround);
    EXPECT_EQ(ps.BorderColor(), clBtnFace);
    EXPECT_EQ(ps.BorderStyle(), psDot);
    EXPECT_EQ(ps.PageNr(), ppBottomCenter);
    EXPECT_EQ(ps.TitleText(), "Report, 1");
    EXPECT_EQ(ps.FitToPage(), fpShrink);
    EXPECT_EQ(ps.Font().Style(), fsBold | fsItalic);
    EXPECT_EQ(ps.FooterFont().Style(), fsUnderline | fsStrikeOut);
    EXPECT_EQ(ps.FooterFont().Color(), clWindowText);
    EXPECT_EQ(ps.Orientation(), poLandscape);
    ASSERT_EQ(ps.TitleLines().Count(), 2);
    EXPECT_EQ(ps.TitleLines()[1], "B");
    EXPECT_TRUE(ps.PrintGraphics());
    EXPECT_EQ(kt_test::ReadFile(ini), Fixture("print_saved.ini")) << "written back as it was read";

    // Saving what was read gives the same file again.
    h->SavePrintSettings(ini, "Print");
    EXPECT_EQ(kt_test::ReadFile(ini), Fixture("print_saved.ini"));
}

TEST(SettingsFiles, PrintSettingsHandEditedAndMissing)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("edited.ini");
    WriteBytes(ini, Fixture("print_edited.ini"));
    auto g = MakeGrid();
    TPrintSettings& ps = g->PrintSettings();
    ps.SetBorders(pbDouble);
    ps.SetBorderStyle(psDash);
    ps.SetFitToPage(fpGrow);
    ps.SetOrientation(poLandscape);
    ps.Font().SetStyle(fsBold);
    g->LoadPrintSettings(ini, "Edited");
    EXPECT_FALSE(ps.Centered()) << "only \"Y\" is true";
    EXPECT_EQ(ps.Date(), ppNone) << "9 is no place";
    EXPECT_EQ(ps.PageNr(), ppBottomLeft);
    EXPECT_EQ(ps.Borders(), pbDouble) << "9 is no border kind: unchanged";
    EXPECT_EQ(ps.BorderStyle(), psDash);
    EXPECT_EQ(ps.FitToPage(), fpGrow);
    EXPECT_EQ(ps.Orientation(), poLandscape);
    EXPECT_EQ(ps.TitleSpacing(), 20) << "no number: the default";
    EXPECT_EQ(ps.Font().Style(), TFontStyles(fsItalic)) << "the stored style replaces the style";
    EXPECT_EQ(ps.Font().Name(), "Courier New");
    EXPECT_EQ(ps.HeaderFont().Name(), "Arial");
    EXPECT_EQ(ps.HeaderFont().Size(), 10);
    EXPECT_EQ(ps.TitleLines().Text(), "First\r\nSecond\r\n");

    g->LoadPrintSettings(ini, "Missing");
    EXPECT_TRUE(ps.Centered()) << "missing: \"Y\"";
    EXPECT_EQ(ps.Date(), ppTopRight);
    EXPECT_EQ(ps.Borders(), pbNoborder) << "missing: 0";
    EXPECT_EQ(kt_test::ReadFile(ini), Fixture("print_edited.ini"));

    // A missing file: every default of the table, and an empty file is left behind.
    const QString none = dir.filePath("none.ini");
    auto h = MakeGrid();
    h->PrintSettings().SetColumnSpacing(3);
    h->PrintSettings().SetDateFormat("dd/mm/yyyy");
    h->LoadPrintSettings(none, "Print");
    const TPrintSettings& d = h->PrintSettings();
    EXPECT_EQ(d.ColumnSpacing(), 20);
    EXPECT_EQ(d.FooterSize(), 100);
    EXPECT_EQ(d.DateFormat(), "");
    EXPECT_EQ(d.Font().Name(), "Arial");
    EXPECT_EQ(d.Font().Size(), 10);
    EXPECT_EQ(d.Font().Color(), TColor(0));
    EXPECT_TRUE(d.Centered());
    EXPECT_FALSE(d.UseDisplayFont());
    EXPECT_TRUE(QFile::exists(none));
    EXPECT_EQ(kt_test::ReadFile(none), QByteArray());

    // A file that cannot be written raises the platform's file error.
    EXPECT_THROW(h->SavePrintSettings(dir.filePath("no/such/print.ini"), "Print"), EFCreateError);
    EXPECT_THROW(h->LoadPrintSettings(dir.filePath("no/such/print.ini"), "Print"), EFCreateError);
}

} // namespace
