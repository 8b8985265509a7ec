// The cell painter of the string grid: visual properties, alignment, formatted text, check-box
// pictures, graphics placement, fixed-cell looks and the base painting frame.
#include "grid/AdvCGrid.h"
#include "grid/AdvGrid.h"
#include "TestSupport.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Exposes the protected painter and records what the frame hands it.
class Probe : public TVerIvovavOzed {
public:
    explicit Probe(QWidget* p) : TVerIvovavOzed(p) {}
    using TVerIvovavOzed::PaintCellFrame;
    struct Call {
        int col, row;
        TRect rect;
        TGridDrawState state;
    };
    std::vector<Call> calls;
    bool record = false;

protected:
    void DrawGridCell(TCanvas& c, int ACol, int ARow, TRect R, TGridDrawState S) override
    {
        if (record)
            calls.push_back({ACol, ARow, R, S});
        TVerIvovavOzed::DrawGridCell(c, ACol, ARow, R, S);
    }
};

struct PaintHost {
    QWidget window;
    Probe* grid;
    PaintHost() : grid(new Probe(&window))
    {
        grid->Loaded();
        grid->SetColCount(5);
        grid->SetRowCount(8);
        grid->resize(400, 220);
        window.resize(400, 220);
    }
    // Visual properties of a cell as the frame asks for them.
    struct Vis {
        TColor brush, colorTo, mirror, font;
        TGridDrawState state;
        TAlignment ha;
    };
    Vis Props(int c, int r, TGridDrawState s = {}, bool select = true)
    {
        TBrush b;
        TFont f;
        TColor to = 0, m = 0, mt = 0;
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        bool ww = false;
        TCellGradientDirection gd = GradientVertical;
        grid->GetVisualProperties(c, r, s, false, select, true, b, to, m, mt, f, ha, va, ww, gd);
        return {b.Color(), to, m, f.Color(), s, ha};
    }
    QImage Grab() { return grid->grab().toImage(); }
};

TColor At(const QImage& img, int x, int y) { return FromQColor(img.pixelColor(x, y)); }

QPoint Centre(TVerIvovavOzed* g, int c, int r)
{
    const TRect rc = g->CellRect(c, r);
    return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
}

// True when the picture (its transparent pixels left out) appears somewhere inside the area.
bool ContainsPicture(const QImage& img, const TRect& area, const QString& name)
{
    TBitmap b;
    b.LoadFromResourceName(name);
    const QImage pic = b.Image();
    const QRgb transparent = pic.pixel(0, pic.height() - 1);
    for (int y = area.Top; y + pic.height() <= area.Bottom; ++y)
        for (int x = area.Left; x + pic.width() <= area.Right; ++x) {
            bool all = true;
            for (int py = 0; py < pic.height() && all; ++py)
                for (int px = 0; px < pic.width() && all; ++px)
                    if (pic.pixel(px, py) != transparent && (pic.pixel(px, py) & 0xFFFFFF) != (img.pixel(x + px, y + py) & 0xFFFFFF))
                        all = false;
            if (all)
                return true;
        }
    return false;
}

} // namespace

TEST(Paint, MixColorsAndTheSelectionMixer)
{
    struct Case {
        TColor a, b;
        int p;
        TColor expected;
    } cases[] = {
        {0xFF0000, 0x0000FF, 50, 0x800080}, // 127.5 goes to the even 128
        {0xFF0000, 0x0000FF, 100, 0xFF0000},
        {0xFF0000, 0x0000FF, 0, 0x0000FF},
        {clNone, 0x0000FF, 50, 0x0000FF},
        {0xFF0000, clNone, 50, 0xFF0000},
        {0x000000, 0x0000FF, 25, 0x0000BF}, // 0.75 * 255 = 191.25
    };
    for (const Case& c : cases)
        EXPECT_EQ(TVerIvovavOzed::MixColors(c.a, c.b, c.p), c.expected) << c.p;
    EXPECT_EQ(TVerIvovavOzed::SelectionMixColor(0xFF0000, 0x0000FF, false, 50), 0xFF0000);
    EXPECT_EQ(TVerIvovavOzed::SelectionMixColor(0xFF0000, 0x0000FF, true, 50), 0x800080);
}

TEST(Paint, VisualPropertiesFollowTheirPrecedence)
{
    PaintHost h;
    Probe& g = *h.grid;
    g.SetSelection(TGridRect{3, 5, 3, 5});

    // Header cell of the XP look: the look's gradient, the fixed font and the fixed state.
    PaintHost::Vis v = h.Props(2, 0);
    EXPECT_EQ(v.brush, 0xFFFFFF);
    EXPECT_EQ(v.colorTo, clBtnFace);
    EXPECT_TRUE(v.state & gdFixed);
    // Plain cell.
    EXPECT_EQ(h.Props(2, 2).brush, g.Color());
    // Bands alternate from the first normal row.
    g.Bands().SetPrimaryColor(0x00FFFF);
    g.Bands().SetSecondaryColor(0xFFFF00);
    g.Bands().SetActive(true);
    EXPECT_EQ(h.Props(2, 1).brush, 0x00FFFF);
    EXPECT_EQ(h.Props(2, 2).brush, 0xFFFF00);
    // A text cell's own colour beats banding and the fixed look; a check box's does not in a
    // fixed row.
    g.SetColors(2, 3, 0x112233);
    g.SetColors(2, 0, 0x445566);
    EXPECT_EQ(h.Props(2, 3).brush, 0x112233);
    EXPECT_EQ(h.Props(2, 0).brush, 0x445566);
    g.AddCheckBox(1, 0, false, false);
    g.SetColors(1, 0, 0x445566);
    EXPECT_EQ(h.Props(1, 0).brush, 0xFFFFFF);

    // Selection: plain colour unmixed; an own colour mixed only with the mixer on.
    v = h.Props(3, 5);
    EXPECT_EQ(v.brush, 0xEACAB6);
    EXPECT_EQ(v.font, clBlack);
    EXPECT_TRUE(v.state & gdSelected);
    g.Bands().SetActive(false);
    g.SetColors(3, 5, 0x0000FF);
    g.SetSelectionColor(0xFF0000);
    EXPECT_EQ(h.Props(3, 5).brush, 0xFF0000);
    g.SetSelectionColorMixer(true);
    EXPECT_EQ(h.Props(3, 5).brush, 0x800080);
    g.SetSelectionColorMixerFactor(100);
    EXPECT_EQ(h.Props(3, 5).brush, 0xFF0000);
    // No selection text colour keeps the cell's font colour.
    g.SetSelectionTextColor(clNone);
    g.SetFontColors(3, 5, 0x00AA00);
    EXPECT_EQ(h.Props(3, 5).font, 0x00AA00);
    // Without Select the selection is not coloured.
    EXPECT_FALSE(h.Props(3, 5, {}, false).state & gdSelected);
    // A disabled grid greys every text.
    g.setEnabled(false);
    EXPECT_EQ(h.Props(2, 2).font, g.DisabledFontColor());
}

TEST(Paint, AlignmentOfNumbersAndCellProperties)
{
    PaintHost h;
    Probe& g = *h.grid;
    g.SetAutoNumAlign(true);
    struct Case {
        const char* text;
        TAlignment expected;
    } cases[] = {{"12", taRightJustify}, {"-3.5", taRightJustify}, {"1E3", taRightJustify}, {"12a", taLeftJustify},
                 {"", taLeftJustify}};
    for (const Case& c : cases) {
        g.SetCells(1, 1, QString::fromLatin1(c.text));
        TAlignment ha;
        TVAlignment va;
        g.GetCellAlignment(1, 1, ha, va);
        EXPECT_EQ(ha, c.expected) << c.text;
    }
    // A cell property alignment overrides the automatic one, except for a formula.
    g.SetCells(2, 1, QStringLiteral("12"));
    g.SetAlignments(2, 1, taCenter);
    TAlignment ha;
    TVAlignment va;
    g.GetCellAlignment(2, 1, ha, va);
    EXPECT_EQ(ha, taCenter);
    g.SetCells(2, 1, QStringLiteral("=12"));
    g.GetCellAlignment(2, 1, ha, va);
    EXPECT_EQ(ha, taLeftJustify);
}

TEST(Paint, FormattedTextThroughTheFloatFormatEvent)
{
    PaintHost h;
    Probe& g = *h.grid;
    g.SetCells(1, 1, QStringLiteral("3.14159"));
    g.SetCells(1, 2, QStringLiteral("abc"));
    EXPECT_EQ(g.GetFormattedCell(1, 1), QStringLiteral("3.14159")); // FloatFormat alone changes nothing
    QString fmt = QStringLiteral("%.2f");
    g.OnGetFloatFormat = [&](QObject*, int, int, bool&, QString& f) { f = fmt; };
    EXPECT_EQ(g.GetFormattedCell(1, 1), QStringLiteral("3.14"));
    EXPECT_EQ(g.GetFormattedCell(1, 2), QStringLiteral("abc"));
    fmt = QStringLiteral("%s%d%q");
    EXPECT_EQ(g.GetFormattedCell(1, 1), QStringLiteral("3.14159")); // a bad format shows the text
    fmt = QStringLiteral("%d");
    EXPECT_EQ(g.GetFormattedCell(1, 1), QStringLiteral("3"));
}

TEST(Paint, CheckBoxPictureNames)
{
    struct Case {
        TControlStyle style;
        bool checked, enabled;
        const char* name;
    } cases[] = {
        {csWinXP, true, true, "ASGCHK05"},  {csWinXP, true, false, "ASGCHK07"}, {csWinXP, false, true, "ASGCHK06"},
        {csWinXP, false, false, "ASGCHK08"}, {csOrlex, true, true, "ASGCHK01"}, {csOrlex, true, false, "ASGCHK03"},
        {csOrlex, false, true, "ASGCHK02"}, {csOrlex, false, false, "ASGCHK04"}, {csClassic, true, true, ""},
    };
    for (const Case& c : cases) {
        const QString name = QString::fromLatin1(c.name);
        EXPECT_EQ(TVerIvovavOzed::CheckBoxResourceName(c.style, c.checked, c.enabled), name);
        // The radio button pictures are numbered the same way.
        EXPECT_EQ(TVerIvovavOzed::RadioResourceName(c.style, c.checked, c.enabled),
                  QString(name).replace(QStringLiteral("ASGCHK"), QStringLiteral("ASGRAD")));
    }
    EXPECT_EQ(TVerIvovavOzed::RadioResourceName(csWinXP, true, false), QStringLiteral("ASGRAD07"));
    EXPECT_EQ(TVerIvovavOzed::RadioResourceName(csOrlex, false, true), QStringLiteral("ASGRAD02"));
    EXPECT_EQ(TVerIvovavOzed::LimitPercent(-5), 0);
    EXPECT_EQ(TVerIvovavOzed::LimitPercent(150), 100);
    EXPECT_EQ(TVerIvovavOzed::LimitPercent(42.5), 42.5);
}

TEST(Paint, DataCheckBoxColumnShowsCheckedExactlyForCheckTrue)
{
    QWidget window;
    auto* g = new TZidIzavodUraz(&window);
    g->Loaded();
    g->SetColCount(3);
    g->SetRowCount(6);
    g->resize(300, 200);
    g->Columns().Items(1)->SetEditor(edDataCheckBox);
    g->ControlLook().SetControlStyle(csWinXP);
    g->SetOptions(g->Options() | goEditing);
    const char* texts[] = {"Y", "N", "y", ""};
    for (int r = 1; r <= 4; ++r)
        g->SetCells(1, r, QString::fromLatin1(texts[r - 1]));
    g->SetCells(2, 1, QStringLiteral("Y")); // a plain column shows its text, no box

    QImage img = g->grab().toImage();
    for (int r = 1; r <= 4; ++r) {
        const TRect cell = g->CellRect(1, r);
        EXPECT_EQ(ContainsPicture(img, cell, QStringLiteral("ASGCHK05")), r == 1) << texts[r - 1];
        EXPECT_EQ(ContainsPicture(img, cell, QStringLiteral("ASGCHK06")), r != 1) << texts[r - 1];
    }
    EXPECT_FALSE(ContainsPicture(img, g->CellRect(2, 1), QStringLiteral("ASGCHK05")));

    // Read-only: the disabled picture, unless check boxes are always active.
    g->Columns().Items(1)->SetReadOnly(true);
    img = g->grab().toImage();
    EXPECT_TRUE(ContainsPicture(img, g->CellRect(1, 1), QStringLiteral("ASGCHK07")));
    g->ControlLook().CheckAlwaysActive = true;
    img = g->grab().toImage();
    EXPECT_TRUE(ContainsPicture(img, g->CellRect(1, 1), QStringLiteral("ASGCHK05")));
}

TEST(Paint, CheckBoxPlacementFollowsTheTextAlignment)
{
    PaintHost h;
    Probe& g = *h.grid;
    g.ControlLook().SetControlStyle(csWinXP);
    g.SetOptions(g.Options() | goEditing);
    g.SetColWidths(1, 80);
    g.AddCheckBox(1, 1, true, false);
    g.AddCheckBox(1, 2, true, false);
    g.SetAlignments(1, 2, taCenter);
    const QImage img = h.Grab();
    const TRect left = g.CellRect(1, 1);
    const TRect centre = g.CellRect(1, 2);
    // Left aligned: within a few pixels of the cell's left edge; centred: around the middle.
    EXPECT_TRUE(ContainsPicture(img, TRect(left.Left, left.Top, left.Left + 22, left.Bottom), "ASGCHK05"));
    const int mid = (centre.Left + centre.Right) / 2;
    EXPECT_FALSE(ContainsPicture(img, TRect(centre.Left, centre.Top, centre.Left + 22, centre.Bottom), "ASGCHK05"));
    EXPECT_TRUE(ContainsPicture(img, TRect(mid - 12, centre.Top, mid + 12, centre.Bottom), "ASGCHK05"));
}

TEST(Paint, FixedCellLooks)
{
    PaintHost h;
    Probe& g = *h.grid;
    QImage img = h.Grab();
    const TRect hdr = g.CellRect(2, 0);
    const int mx = (hdr.Left + hdr.Right) / 2, y = (hdr.Top + hdr.Bottom) / 2;
    // XP look: from white at the top to the button face at the bottom.
    EXPECT_GT(At(img, mx, hdr.Top + 3) & 0xFF, At(img, mx, hdr.Bottom - 4) & 0xFF);
    EXPECT_GE(At(img, mx, hdr.Top + 3) & 0xFF, 0xFA);
    // The XP edges: a white highlight one pixel inside the top; none on a flat grid.
    g.SetOrlexGradientFrom(0x808080);
    g.SetOrlexGradientTo(0x808080);
    img = h.Grab();
    EXPECT_EQ(At(img, mx, hdr.Top + 1), clWhite);
    EXPECT_EQ(At(img, mx, y), 0x808080);
    g.SetFlat(true);
    img = h.Grab();
    EXPECT_EQ(At(img, mx, hdr.Top + 1), 0x808080);
    // Vista: white lines at the left and right of each header cell, nothing else white.
    g.SetFlat(false);
    g.SetLook(glVista);
    g.SetOrlexGradientFrom(0x808080);
    g.SetOrlexGradientTo(0x808080);
    g.SetOrlexGradientMirrorFrom(clNone);
    g.SetOrlexGradientMirrorTo(clNone);
    img = h.Grab();
    EXPECT_EQ(At(img, mx, y), 0x808080);
    int whites = 0;
    for (int x = hdr.Left; x < hdr.Right; ++x)
        whites += At(img, x, y) == clWhite;
    EXPECT_EQ(whites, 2);
}

TEST(Paint, SortedColumnHeaderColour)
{
    PaintHost h;
    Probe& g = *h.grid;
    g.SortSettings().SetColumn(2);
    g.SortSettings().SetHeaderColor(0x00FF00);
    QImage img = h.Grab();
    const TRect hdr = g.CellRect(2, 0), other = g.CellRect(3, 0);
    const int y = (hdr.Top + hdr.Bottom) / 2;
    EXPECT_EQ(At(img, (hdr.Left + hdr.Right) / 2, y), 0x00FF00);
    EXPECT_NE(At(img, (other.Left + other.Right) / 2, y), 0x00FF00);
    // A sort column inside the fixed columns keeps the fixed look.
    g.SortSettings().SetColumn(0);
    img = h.Grab();
    const TRect fixedHdr = g.CellRect(0, 0);
    EXPECT_NE(At(img, (fixedHdr.Left + fixedHdr.Right) / 2, y), 0x00FF00);
}

TEST(Paint, FilterGlyphOnlyForColumnsWithFilterValues)
{
    PaintHost h;
    Probe& g = *h.grid;
    g.SetColWidths(2, 90);
    g.OnGetColumnFilter = [](QObject*, int col, platform::TStringList& list) {
        if (col == 2)
            list.Add(QStringLiteral("a"));
    };
    const QImage img = h.Grab();
    EXPECT_TRUE(ContainsPicture(img, g.CellRect(2, 0), QStringLiteral("ASGFILT")));
    EXPECT_FALSE(ContainsPicture(img, g.CellRect(3, 0), QStringLiteral("ASGFILT")));
}

TEST(Paint, TextSizeOfRotatedAndZoomedCells)
{
    PaintHost h;
    Probe& g = *h.grid;
    g.SetCells(1, 1, QStringLiteral("Rotated text"));
    const TSize plain = g.GetCellTextSize(1, 1, false, false);
    ASSERT_GT(plain.cx, 0);
    g.CreateCellGraphic(1, 1)->SetCellType(ctRotated);
    g.GetCellGraphic(1, 1)->SetAngle(90);
    const TSize rot = g.GetCellTextSize(1, 1, false, false);
    EXPECT_EQ(rot.cx, plain.cy + 12);
    EXPECT_EQ(rot.cy, plain.cx + 12);
    g.SetCells(1, 2, QStringLiteral("Zoom"));
    const TSize before = g.GetCellTextSize(1, 2, false, false);
    g.SetZoomFactor(6);
    EXPECT_GT(g.GetCellTextSize(1, 2, false, false).cy, before.cy);
}

TEST(Paint, PaintingNeverFailsOnOddValues)
{
    PaintHost h;
    Probe& g = *h.grid;
    struct Case {
        TCellType type;
        const char* text;
    } cases[] = {{ctXPProgress, "abc"}, {ctXPProgress, "50"}, {ctProgress, "x"}, {ctProgressPie, "1e999"},
                 {ctRating, "zz"}, {ctDataImage, "-4"}, {ctImageList, ""}, {ctRadio, "b"}};
    int r = 1;
    for (const Case& c : cases) {
        TCellGraphic* gr = g.CreateCellGraphic(1, r);
        gr->SetCellType(c.type);
        gr->SetCellIndex(-3);
        g.SetCells(1, r, QString::fromLatin1(c.text));
        ++r;
        if (r >= g.RowCount())
            g.SetRowCount(r + 1);
    }
    // Progress over an empty range (from = len) paints as 0 %.
    EXPECT_NO_THROW(h.Grab());
}

// ---- the base painting frame -----------------------------------------------------------------

TEST(PaintFrame, GridLineWidthZeroGivesTheFullCell)
{
    PaintHost h;
    Probe& g = *h.grid;
    g.SetGridLineWidth(0);
    g.record = true;
    h.Grab();
    const TRect cell = g.CellRect(2, 2);
    bool found = false;
    for (const auto& c : g.calls)
        if (c.col == 2 && c.row == 2) {
            EXPECT_EQ(c.rect.Left, cell.Left);
            EXPECT_EQ(c.rect.Right, cell.Right);
            found = true;
        }
    EXPECT_TRUE(found);
    g.calls.clear();
    g.SetGridLineWidth(1);
    h.Grab();
    for (const auto& c : g.calls) {
        if (c.col == 2 && c.row == 2) {
            EXPECT_EQ(c.rect.Left, cell.Left + 1);
        }
    }
}

TEST(PaintFrame, MergedRangePaintedOnceAndClippedUnderTheFixedRow)
{
    PaintHost h;
    Probe& g = *h.grid;
    g.SetRowCount(30);
    g.MergeCells(2, 2, 2, 2);
    g.SetCells(2, 2, QStringLiteral("M"));
    g.record = true;
    h.Grab();
    int n = 0;
    for (const auto& c : g.calls)
        n += c.col == 2 && c.row == 2;
    EXPECT_EQ(n, 1);
    // Scrolled half under the header: still once, and the header keeps its look.
    g.SetTopRow(3);
    g.calls.clear();
    const QImage img = h.Grab();
    n = 0;
    for (const auto& c : g.calls)
        n += c.col == 2 && c.row == 2;
    EXPECT_EQ(n, 1);
    const TRect hdr = g.CellRect(2, 0);
    EXPECT_GE(At(img, hdr.Left + 5, hdr.Top + 3) & 0xFF, 0xFA); // the header's gradient, not the range
    const TRect merged = g.CellRect(2, 2);
    EXPECT_LT(merged.Top, hdr.Bottom); // the range does reach under the header
}

TEST(PaintFrame, HoverRowAndSelection)
{
    PaintHost h;
    Probe& g = *h.grid;
    g.SetHoverRow(true);
    g.SetHoverRowIdx(3);
    g.SetHoverRowColor(0x00FFFF);
    g.SetSelection(TGridRect{2, 3, 2, 3});
    QImage img = h.Grab();
    const QPoint sel = Centre(&g, 2, 3), plain = Centre(&g, 3, 3);
    EXPECT_EQ(At(img, plain.x(), plain.y() + 4), 0x00FFFF);
    EXPECT_EQ(At(img, sel.x(), sel.y() + 4), 0x00FFFF); // default: selected cells hover too
    g.SetHoverRowCells(hcNormal);
    img = h.Grab();
    EXPECT_EQ(At(img, sel.x(), sel.y() + 4), 0xEACAB6);
}

TEST(PaintFrame, HiddenLastRowAndPaintWithoutContent)
{
    PaintHost h;
    Probe& g = *h.grid;
    g.SetColor(0xFFFFFF);
    g.SetCells(2, 7, QStringLiteral("WWWWWW"));
    g.SetHideLastRow(true);
    QImage img = h.Grab();
    const TRect last = g.CellRect(2, 7);
    for (int x = last.Left + 1; x < last.Right - 1; ++x)
        ASSERT_EQ(At(img, x, (last.Top + last.Bottom) / 2), 0xFFFFFF) << x;

    // The content-less entry with the selected state: active-row colours, no text.
    g.SetHideLastRow(false);
    g.SetActiveRowColor(0x00FF00);
    g.SetCells(2, 2, QStringLiteral("WWWWWW"));
    QImage out(300, 120, QImage::Format_RGB32);
    out.fill(Qt::black);
    {
        // Inside the scrolling area, clear of the frozen cells.
        TCanvas c(&out);
        g.record = true;
        g.PaintCellExt(c, 2, 2, TRect(100, 50, 200, 90), gdSelected);
    }
    EXPECT_TRUE(g.calls.empty());
    int green = 0;
    for (int x = 101; x < 198; ++x)
        green += At(out, x, 70) == 0x00FF00;
    EXPECT_EQ(green, 97);
}
