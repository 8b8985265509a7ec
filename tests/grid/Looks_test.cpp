// Looks of the string grid: the colours each component style, XP scheme and tone set leaves,
// the control look's link to the grid's header colours, and a sheet of a column grid in every look.
#include "GridHost.h"
#include "grid/AdvCGrid.h"
#include "render/RuvOdid.h"
#include "tests/TestSupport.h"

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

using kt_test::GridHost;

struct StyleCase {
    TOrlexStyle style;
    TGridLook look;
    TColor gradFrom, gradTo, mirrorFrom, mirrorTo;
    TColor sel, selTo, selText;
    TColor lines, fixedLines;
    TGridSelectionStyle selStyle;
};

TEST(Looks, ComponentStylesSetTheirColours)
{
    const StyleCase cases[] = {
        {tsWindowsVista, glVista, 0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1, 0xEACAB6, clNone, clBlack, 0xECECF0, 0xD4D2D1, ssVista},
        {tsWindows7, glWin7, 0xFDFCFA, 0xFAF0E6, 0xF4E6DC, 0xF7E9DD, 0xEACAB6, clNone, clBlack, 0xECECF0, 0xD4D2D1, ssWin7},
        {tsOffice2003Blue, glXP, 0xFCE1CB, 0xE0A57D, clNone, clNone, 0x94E6FB, 0x1595EE, clBlack, 0xC0C0C0, 0x808080, ssDefault},
        {tsOffice2007Luna, glOffice2007, 0xFBF9F6, 0xE8DBD2, clNone, clNone, 0x5EC1F1, clNone, clBlack, 0xF1EDEB, 0xD1BBA4, ssOffice2007},
        {tsOffice2010Black, glOffice2007, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0xFFDBB7, clNone, clBlack, 0xC0C0C0, 0x444444, ssDefault},
        {tsWindowsXP, glXP, ColorToRGB(clBtnFace), ColorToRGB(clBtnFace), clNone, clNone, clHighlight, clNone, clHighlightText, 0xC0C0C0, 0x808080, ssDefault},
    };
    for (const StyleCase& c : cases) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        g.SetComponentStyle(c.style);
        SCOPED_TRACE(int(c.style));
        EXPECT_EQ(g.ComponentStyle(), c.style);
        EXPECT_EQ(g.Look(), c.look);
        EXPECT_EQ(g.OrlexGradientFrom(), c.gradFrom);
        EXPECT_EQ(g.OrlexGradientTo(), c.gradTo);
        EXPECT_EQ(g.OrlexGradientMirrorFrom(), c.mirrorFrom);
        EXPECT_EQ(g.OrlexGradientMirrorTo(), c.mirrorTo);
        EXPECT_EQ(g.SelectionColor(), c.sel);
        EXPECT_EQ(g.SelectionColorTo(), c.selTo);
        EXPECT_EQ(g.SelectionTextColor(), c.selText);
        EXPECT_EQ(g.GridLineColor(), c.lines);
        EXPECT_EQ(g.GridFixedLineColor(), c.fixedLines);
        EXPECT_EQ(g.SelectionStyle(), c.selStyle);
    }
}

TEST(Looks, StyleSpecificHeaderColours)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.SetComponentStyle(tsWindowsVista);
    EXPECT_EQ(g.OrlexGradientHoverFrom(), 0xFFF7E3);
    EXPECT_EQ(g.OrlexGradientHoverMirrorTo(), 0xFBE7B7);
    EXPECT_EQ(g.OrlexGradientDownBorder(), 0xAE904F);
    EXPECT_EQ(g.SortSettings().HeaderMirrorColorTo(), 0xF6ECD8);
    EXPECT_EQ(g.ControlLook().FixedGradientFrom(), clNone); // cleared last, the grid keeps its gradient
    EXPECT_EQ(g.SearchFooter().Color(), 0xFFFFFF);
    EXPECT_EQ(g.SearchFooter().ColorTo(), 0xF4F2F1);

    // Windows 7: the control look's hover colours replace the grid's own, its border stays.
    g.SetComponentStyle(tsWindows7);
    EXPECT_EQ(g.OrlexGradientHoverFrom(), 0xFEFBF8);
    EXPECT_EQ(g.OrlexGradientHoverMirrorFrom(), 0xF4E4D7);
    EXPECT_EQ(g.OrlexGradientHoverBorder(), 0xEEE8E3);
    EXPECT_EQ(g.OrlexGradientDownBorder(), 0xD5BCAA);
    EXPECT_EQ(g.ActiveCellColor(), 0xFCEBDC);
    EXPECT_EQ(g.ActiveCellColorTo(), 0xFCDBC1);
    EXPECT_EQ(g.SortSettings().HeaderColor(), 0xFCF9F2);
    EXPECT_EQ(g.SortSettings().HeaderMirrorColorTo(), 0xF6ECD8);
    EXPECT_EQ(g.ControlLook().FixedGradientFrom(), clNone);
    EXPECT_EQ(g.SearchFooter().ColorTo(), 0xF7E9DD);

    // Custom resets only selection, sort header colours and control look; the gradient stays.
    g.SetComponentStyle(tsCustom);
    EXPECT_EQ(g.Look(), glWin7);
    EXPECT_EQ(g.OrlexGradientFrom(), 0xFDFCFA);
    EXPECT_EQ(g.ActiveCellColor(), 0xFCEBDC);
    EXPECT_EQ(g.ActiveCellColorTo(), 0xFCDBC1);
    EXPECT_EQ(g.SelectionColor(), clHighlight);
    EXPECT_EQ(g.SelectionTextColor(), clHighlightText);
    EXPECT_EQ(g.SelectionStyle(), ssDefault);
    EXPECT_EQ(g.SortSettings().HeaderColor(), clNone);
    EXPECT_EQ(g.ControlLook().FixedGradientHoverFrom(), 0x808080);
}

TEST(Looks, ControlLookReachesTheGridOnlyThroughItsSetters)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    TControlLook& cl = g.ControlLook();
    cl.SetFixedGradientHoverFrom(0x123456);
    EXPECT_EQ(g.OrlexGradientHoverFrom(), 0x123456);
    cl.SetFixedGradientHoverFrom(clNone); // stored, the grid keeps its colour
    EXPECT_EQ(cl.FixedGradientHoverFrom(), clNone);
    EXPECT_EQ(g.OrlexGradientHoverFrom(), 0x123456);
    cl.SetFixedGradientDownMirrorTo(clNone); // mirror colours always reach the grid
    EXPECT_EQ(g.OrlexGradientDownMirrorTo(), clNone);

    GridHost other;
    TControlLook& src = other.grid->ControlLook();
    src.SetFixedGradientDownFrom(0x010203);
    src.SetCheckSize(21);
    src.DropDownCount = 12;
    const TColor before = g.OrlexGradientDownFrom();
    cl.Assign(src);
    EXPECT_EQ(cl.FixedGradientDownFrom(), 0x010203);
    EXPECT_EQ(cl.CheckSize(), 21);
    EXPECT_EQ(cl.DropDownCount, 12);
    EXPECT_EQ(g.OrlexGradientDownFrom(), before);
}

TEST(Looks, XPSchemesAndColourTones)
{
    struct {
        TXPColorScheme scheme;
        TColor from, to, active, activeTo, footer, footerTo;
    } const cases[] = {
        {xpBlue, 0xFCE1CB, 0xE0A57D, 0x94E6FB, 0x1595EE, 0xFCE1CB, 0xE0A57D},
        {vistaAero, 0xFFFFFF, 0xFFFFFF, 0x94E6FB, 0x1595EE, 0xECE2E1, 0xB39698},
        {xpNone, 0xFFFFFF, ColorToRGB(clBtnFace), 0xFFFFFF, 0xFFD9B3, 0xFFFFFF, 0xFFD9B3},
    };
    for (const auto& c : cases) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        g.SetTheme(c.scheme);
        SCOPED_TRACE(int(c.scheme));
        EXPECT_EQ(g.OrlexGradientFrom(), c.from);
        EXPECT_EQ(g.OrlexGradientTo(), c.to);
        EXPECT_EQ(g.ActiveCellColor(), c.active);
        EXPECT_EQ(g.ActiveCellColorTo(), c.activeTo);
        EXPECT_EQ(g.SearchFooter().Color(), c.footer);
        EXPECT_EQ(g.SearchFooter().ColorTo(), c.footerTo);
    }

    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    TColorTones t;
    t.Background = {0xFFFFFF, 0xDDDDDD, 0x202020};
    t.Foreground = {0xF0E0D0, clNone, 0x404040};
    t.Selected = {0xC08040, clNone, 0xFFFFFF};
    t.Hover = {0xE0C0A0, clNone, clNone};
    g.SetColorTones(t);
    EXPECT_EQ(g.Look(), glClassic);
    EXPECT_TRUE(g.Flat());
    EXPECT_EQ(g.ScrollType(), ssMetro);
    EXPECT_EQ(g.ScrollBars(), ssNone);
    ASSERT_NE(g.VScrollControl(), nullptr);
    EXPECT_EQ(g.FixedColor(), 0xF0E0D0);
    EXPECT_EQ(g.SelectionColor(), 0xC08040);
    EXPECT_EQ(g.GridLineColor(), 0xE6E6E6);
    EXPECT_EQ(g.GridFixedLineColor(), ShadeColor(0xF0E0D0, -20));
    EXPECT_EQ(g.BorderStyle(), bsNone);
    EXPECT_EQ(g.ControlLook().ControlStyle(), csGlyph);
    EXPECT_GT(g.ControlLook().CheckedGlyph().Width(), 0);
    EXPECT_GT(g.ControlLook().RadioOffGlyph().Width(), 0);
    EXPECT_EQ(g.CellNode().NodeType(), cnFlat);
    // Any style but custom brings the normal scroll bars back.
    g.SetComponentStyle(tsOffice2003Olive);
    EXPECT_EQ(g.ScrollType(), ssNormal);
    EXPECT_EQ(g.VScrollControl(), nullptr);
    EXPECT_EQ(g.ScrollBars(), ssBoth);
}

TEST(Looks, LookNames)
{
    EXPECT_EQ(TVerIvovavOzed::GetLookName(glVista), "Windows Vista");
    EXPECT_EQ(TVerIvovavOzed::GetLookName(glCustom), "");
}

TEST(Looks, SheetOfEveryLook)
{
    const TGridLook looks[] = {glStandard, glSoft, glClassic, glOrlex, glXP, glListView, glVista, glWin7, glOffice2007};
    const int w = 330, hgt = 150;
    QImage sheet(3 * (w + 10) + 10, 3 * (hgt + 30) + 10, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    int i = 0;
    for (TGridLook look : looks) {
        QWidget window;
        window.resize(w, hgt);
        auto* g = new TZidIzavodUraz(&window);
        g->Loaded();
        g->setGeometry(0, 0, w, hgt);
        g->SetColCount(4);
        g->SetRowCount(6);
        g->SetLook(look);
        const char* heads[] = {"", "Name", "Value", "On"};
        for (int c = 0; c < 4; ++c)
            g->Columns().Items(c)->SetHeader(QString::fromLatin1(heads[c]));
        for (int r = 1; r < 6; ++r) {
            g->SetCells(0, r, QString::number(r));
            g->SetCells(1, r, QStringLiteral("Item %1").arg(r));
            g->SetCells(2, r, QString::number(r * 17));
            g->SetCells(3, r, r % 2 ? QStringLiteral("Y") : QStringLiteral("N"));
        }
        g->SelectRange(1, 2, 2, 3);
        window.show();
        const int x = 10 + (i % 3) * (w + 10), y = 10 + (i / 3) * (hgt + 30);
        p.drawText(x, y + 12, TVerIvovavOzed::GetLookName(look));
        p.drawPixmap(x, y + 18, window.grab());
        ++i;
    }
    p.end();
    EXPECT_TRUE(sheet.save(kt_test::GrabPath(QStringLiteral("grid_looks.png"))));
}

} // namespace

TEST(Looks, LookIdentifiers)
{
    const char* idents[] = {"glStandard", "glSoft", "glClassic", "glOrlex", "glXP",
                            "glListView", "glVista", "glWin7", "glOffice2007"};
    for (int i = glStandard; i <= glOffice2007; ++i)
        EXPECT_EQ(TVerIvovavOzed::GetLookIdent(TGridLook(i)), QString::fromLatin1(idents[i]));
    EXPECT_TRUE(TVerIvovavOzed::GetLookIdent(glCustom).isEmpty());
}
