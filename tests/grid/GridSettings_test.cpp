// Settings classes and objects of the grid: defaults, writers and their events, Assign, and the
// cell graphic record with the ownership of what it shows.
#include "grid/GridSettings.h"
#include "grid/GridSettingsObjects.h"

#include <QPointer>
#include <gtest/gtest.h>
#include <memory>

namespace {

// ---- cell graphic ----------------------------------------------------------------------------

TEST(CellGraphic, AngleIsBroughtIntoRange)
{
    const std::pair<int, int> cases[] = {{-90, 270}, {720, 360}, {360, 360}, {-360, 0},
                                         {45, 45},   {730, 10},  {0, 0},     {-1000, 80}};
    for (const auto& [in, out] : cases) {
        TCellGraphic g;
        g.SetAngle(in);
        EXPECT_EQ(g.CellType(), ctRotated);
        EXPECT_EQ(g.CellAngle(), out) << "angle " << in;
    }
}

TEST(CellGraphic, SettersSetKindAndFields)
{
    TCellGraphic g;
    EXPECT_EQ(g.CellType(), ctNone);
    EXPECT_FALSE(g.CellCreated());

    g.SetButton(80, 20, QStringLiteral("Go"), haCenter, vaCenter);
    EXPECT_EQ(g.CellType(), ctButton);
    EXPECT_EQ(g.CellIndex(), 20 * 65536 + 80);
    EXPECT_EQ(g.CellText(), QStringLiteral("Go"));
    EXPECT_EQ(g.CellHAlign(), haCenter);

    g.SetCheckBox(true, true, true, haRight, vaBottom);
    EXPECT_EQ(g.CellType(), ctDataCheckBox);
    EXPECT_TRUE(g.CellBoolean());
    EXPECT_TRUE(g.CellTransparent());
    EXPECT_EQ(g.CellAngle(), 0);
    EXPECT_EQ(g.CellText(), QStringLiteral("Go")); // fields not named keep their values
    g.SetCheckBox(false, false, false, haLeft, vaTop);
    EXPECT_EQ(g.CellType(), ctCheckBox);

    g.SetCheckBox(cbGrayed, false, haLeft, vaTop);
    EXPECT_EQ(g.CellType(), ctTriStateCheckBox);
    EXPECT_EQ(g.CellCheckBoxState(), cbGrayed);
    EXPECT_FALSE(g.CellBoolean());

    g.SetRadioButton(true, false, haLeft, vaTop);
    EXPECT_EQ(g.CellType(), ctRadioButton);
    EXPECT_TRUE(g.CellBoolean());

    g.SetImageIdx(5, haLeft, vaTop);
    EXPECT_EQ(g.CellType(), ctImageList);
    EXPECT_EQ(g.CellIndex(), 5);
    g.SetDataImage(6, haLeft, vaTop);
    EXPECT_EQ(g.CellType(), ctDataImage);
}

TEST(CellGraphic, PictureSizeByStretchMode)
{
    TPicture picture;
    picture.SetGraphic(std::make_unique<TBitmap>(200, 100));
    struct Case {
        TStretchMode mode;
        int cw, rh, padding;
        TPoint size;
    };
    const Case cases[] = {
        {StretchWithAspectRatio, 100, 50, 0, {100, 50}},
        {StretchWithAspectRatio, 100, 80, 0, {100, 50}},
        {StretchWithAspectRatio, 400, 100, 0, {200, 100}},
        {Shrink, 100, 50, 0, {100, 50}},
        {Shrink, 300, 300, 0, {200, 100}},
        {noStretch, 100, 50, 0, {200, 100}},
        {Stretch, 110, 60, 10, {100, 50}},
        {ShrinkWithAspectRatio, 300, 300, 0, {200, 100}},
        {ShrinkWithAspectRatio, 100, 80, 0, {100, 50}},
    };
    for (const Case& k : cases) {
        TCellGraphic g;
        g.SetPicture(&picture, false, k.mode, k.padding, haLeft, vaTop);
        EXPECT_EQ(g.GetPictureSize(k.cw, k.rh, false), k.size) << "mode " << int(k.mode) << " " << k.cw << "x" << k.rh;
    }
    TCellGraphic other;
    other.SetImageIdx(1, haLeft, vaTop);
    EXPECT_EQ(other.GetPictureSize(100, 50, false, TPoint(7, 8)), TPoint(7, 8));
}

TEST(CellGraphic, LentObjectsStayTheCallers)
{
    // Lent objects survive the record (a freed stack object would crash at scope end).
    TBitmap bitmap(10, 10);
    TPicture picture;
    {
        auto g = std::make_unique<TCellGraphic>();
        g->SetBitmap(&bitmap, true, haLeft, vaTop);
        EXPECT_FALSE(g->CellCreated());
        EXPECT_EQ(g->Bitmap(), &bitmap);
        EXPECT_EQ(g->Picture(), nullptr); // typed reads answer only for their own class
        g->SetPicture(&picture, false, Stretch, 0, haLeft, vaTop);
        EXPECT_EQ(g->Bitmap(), nullptr);
    }
    EXPECT_EQ(bitmap.Width(), 10);
}

TEST(CellGraphic, OwnedImageListIsFreedByTheNextSetterAndNeverByACopy)
{
    auto sentinel = std::make_shared<int>(1);
    std::weak_ptr<int> alive = sentinel;
    TCellGraphic g;
    int changes = 0;
    g.SetMultiImage(2, 3, 0, haLeft, vaTop, [s = std::move(sentinel), &changes](TIntList*, int c, int r) {
        changes += c * 10 + r;
    });
    ASSERT_NE(g.Images(), nullptr);
    EXPECT_TRUE(g.CellCreated());
    EXPECT_TRUE(g.CellBoolean());
    g.Images()->Add(4);
    EXPECT_EQ(changes, 23);

    {
        TCellGraphic copy;
        copy.Assign(g);
        EXPECT_EQ(copy.CellType(), ctImages);
        EXPECT_EQ(copy.Images(), nullptr);
        EXPECT_FALSE(copy.CellCreated());
    }
    ASSERT_NE(g.Images(), nullptr); // the source still holds its list
    EXPECT_EQ(g.Images()->Count(), 1);
    EXPECT_FALSE(alive.expired());

    g.SetCheckBox(true, false, false, haLeft, vaTop);
    EXPECT_TRUE(alive.expired());
    EXPECT_FALSE(g.CellCreated());
}

TEST(CellGraphic, AssignCopiesValuesButNotCheckBoxState)
{
    TCellGraphic src;
    src.SetCheckBox(cbChecked, true, haCenter, vaBottom);
    src.SetCellValue(2.5);
    src.SetCellErrFrom(3);
    src.SetCellErrLen(4);
    src.SetCellText(QStringLiteral("t"));
    TCellGraphic dst;
    dst.Assign(src);
    EXPECT_EQ(dst.CellType(), ctTriStateCheckBox);
    EXPECT_EQ(dst.CellHAlign(), haCenter);
    EXPECT_EQ(dst.CellVAlign(), vaBottom);
    EXPECT_TRUE(dst.CellTransparent());
    EXPECT_EQ(dst.CellValue(), 2.5);
    EXPECT_EQ(dst.CellErrFrom(), 3);
    EXPECT_EQ(dst.CellErrLen(), 4);
    EXPECT_EQ(dst.CellText(), QStringLiteral("t"));
    EXPECT_EQ(dst.CellCheckBoxState(), cbUnchecked);
}

// ---- settings classes ------------------------------------------------------------------------

TEST(GridSettings, Defaults)
{
    TCellNode node(nullptr);
    EXPECT_EQ(node.Color(), 0xC0C0C0);
    EXPECT_EQ(node.NodeType(), cnXP);
    EXPECT_EQ(node.NodeColor(), 0);
    EXPECT_TRUE(node.ShowTree());
    EXPECT_TRUE(node.ShowTreeFull());
    EXPECT_EQ(node.NodeIndent(), 12);
    EXPECT_EQ(node.TreeColor(), 0x808080);
    EXPECT_TRUE(node.ExpandGlyph().Empty());

    TColumnSize cs;
    EXPECT_FALSE(cs.Save());
    EXPECT_EQ(cs.Location(), clRegistry);
    EXPECT_EQ(cs.StretchColumn(), -1);
    EXPECT_EQ(cs.Rows(), arAll);

    THTMLSettings html;
    EXPECT_TRUE(html.SaveColor());
    EXPECT_TRUE(html.SaveFonts());
    EXPECT_EQ(html.BorderSize(), 1);
    EXPECT_EQ(html.Width(), 100);
    EXPECT_TRUE(html.ExportImages());
    EXPECT_EQ(html.ColWidths().Count(), 0);

    TPrintSettings ps;
    EXPECT_EQ(ps.DateFormat(), QStringLiteral("dd/mm/yyyy"));
    EXPECT_EQ(ps.PageNumSep(), QStringLiteral("/"));
    EXPECT_EQ(ps.Borders(), pbSingle);
    EXPECT_EQ(ps.BorderStyle(), psSolid);
    EXPECT_TRUE(ps.Centered());
    EXPECT_TRUE(ps.UseDisplayFont());
    EXPECT_EQ(ps.Orientation(), poPortrait);
    EXPECT_EQ(ps.FitToPage(), fpNever);
    EXPECT_EQ(ps.Time(), ppNone);

    TSizeWhileTyping swt;
    EXPECT_FALSE(swt.Height());
    EXPECT_FALSE(swt.Width());
}

TEST(GridSettings, AssignCopiesWhatEachClassCopies)
{
    THTMLSettings a, b;
    a.SetExportImages(false);
    a.SetWidth(80);
    a.SetSummary(QStringLiteral("s"));
    a.ColWidths().Add(5);
    b.Assign(a);
    EXPECT_EQ(b.Width(), 80);
    EXPECT_EQ(b.Summary(), QStringLiteral("s"));
    EXPECT_TRUE(b.ExportImages());
    EXPECT_EQ(b.ColWidths().Count(), 0);

    TPrintSettings p, q;
    p.Font().SetName(QStringLiteral("DejaVu Serif"));
    p.TitleLines().Add(QStringLiteral("line"));
    p.SetFitToPage(fpShrink);
    p.FixedCellsAlways = true;
    q.Assign(p);
    EXPECT_EQ(q.Font().Name(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(q.TitleLines().Count(), 1);
    EXPECT_EQ(q.FitToPage(), fpShrink);
    EXPECT_FALSE(q.FixedCellsAlways);

    TCellNode n1(nullptr), n2(nullptr);
    n1.SetNodeIndent(20);
    n1.ExpandGlyph().SetSize(4, 4);
    n2.Assign(n1);
    EXPECT_EQ(n2.NodeIndent(), 20);
    EXPECT_EQ(n2.ExpandGlyph().Width(), 4);

    TColumnSize c1, c2;
    c1.SetKey(QStringLiteral("k"));
    c1.SetRows(arFixed);
    int stretches = 0;
    c2.OnStretchChange = [&](TColumnSize*) { ++stretches; };
    c2.Assign(c1);
    EXPECT_EQ(c2.Key(), QStringLiteral("k"));
    EXPECT_EQ(c2.Rows(), arFixed);
    EXPECT_EQ(stretches, 0);
    c2.SetStretch(true);
    EXPECT_EQ(stretches, 1);
}

// ---- settings objects ------------------------------------------------------------------------

TEST(GridSettingsObjects, SearchFooterCaptionsAndEvents)
{
    TSearchFooter plain(nullptr, false);
    EXPECT_EQ(plain.FindNextCaption(), QString());
    EXPECT_EQ(plain.HintHighlight(), QString());
    EXPECT_TRUE(plain.AutoSearch());
    EXPECT_EQ(plain.SearchColumn(), -1);
    EXPECT_EQ(plain.ColorTo(), clBtnFace);
    EXPECT_FALSE(plain.Visible());

    TSearchFooter design(nullptr, true);
    EXPECT_EQ(design.FindNextCaption(), QStringLiteral("Find &next"));
    EXPECT_EQ(design.FindPrevCaption(), QStringLiteral("Find &previous"));
    EXPECT_EQ(design.HighLightCaption(), QStringLiteral("Highlight"));
    EXPECT_EQ(design.HintClose(), QStringLiteral("Close"));
    EXPECT_EQ(design.HintFindNext(), QStringLiteral("Find next occurrence"));
    EXPECT_EQ(design.HintFindPrev(), QStringLiteral("Find previous occurrence"));
    EXPECT_EQ(design.HintHighlight(), QStringLiteral("Highlight occurrences"));
    EXPECT_EQ(design.MatchCaseCaption(), QStringLiteral("Match case"));

    int events = 0;
    plain.OnChange = [&](TSearchFooter*) { ++events; };
    plain.SetShowFindNext(true); // unchanged: no event
    plain.SetVisible(false);
    EXPECT_EQ(events, 0);
    plain.SetColor(plain.Color()); // stores and always fires
    EXPECT_EQ(events, 1);
    plain.SetShowFindNext(false);
    plain.SetSearchColumn(3); // plain write
    EXPECT_EQ(events, 2);

    design.SetAutoSearch(false);
    design.SetSearchFixedCells(true);
    design.SetSearchColumn(4);
    design.LastSearch = QStringLiteral("abc");
    plain.Assign(design);
    EXPECT_EQ(events, 2);
    EXPECT_EQ(plain.FindNextCaption(), QStringLiteral("Find &next"));
    EXPECT_EQ(plain.SearchColumn(), 4);
    EXPECT_TRUE(plain.ShowFindNext());
    EXPECT_TRUE(plain.AutoSearch());
    EXPECT_FALSE(plain.SearchFixedCells());
    EXPECT_EQ(plain.LastSearch, QString());
}

TEST(GridSettingsObjects, NavigationWritesAndAssign)
{
    TNavigation n;
    EXPECT_TRUE(n.AdvanceOnEnterLoop());
    EXPECT_TRUE(n.AllowCtrlEnter());
    EXPECT_TRUE(n.SkipFixedCells());
    EXPECT_EQ(n.HomeEndKey(), heFirstLastColumn);
    EXPECT_EQ(n.AdvanceDirection(), adLeftRight);
    int events = 0;
    n.OnChange = [&](TNavigation*) { ++events; };

    n.SetAdvanceAuto(true);
    EXPECT_TRUE(n.AdvanceOnEnter());
    n.SetAdvanceAuto(false);
    EXPECT_TRUE(n.AdvanceOnEnter());
    EXPECT_EQ(events, 0);
    n.SetAdvanceDirection(adLeftRight);
    EXPECT_EQ(events, 0);
    n.SetAdvanceDirection(adTopBottom);
    n.SetAdvanceInsert(true);
    EXPECT_EQ(events, 2);

    TNavigation m;
    m.SetTabAdvanceDirection(adTopBottomInCol);
    m.SetAdvanceDirection(adLeftRightInRow);
    m.SetKeepScrollOnSort(true);
    m.SetAllowClipboardShortCuts(true);
    n.Assign(m);
    EXPECT_EQ(n.TabAdvanceDirection(), adTopBottomInCol);
    EXPECT_EQ(n.AdvanceDirection(), adLeftRightInRow);
    EXPECT_TRUE(n.AllowClipboardShortCuts());
    EXPECT_FALSE(n.KeepScrollOnSort());
    EXPECT_EQ(events, 2);
}

TEST(GridSettingsObjects, MouseActionsSwitches)
{
    TMouseActions m;
    EXPECT_TRUE(m.AutoSizeColOnDblClick());
    EXPECT_TRUE(m.PreciseNodeClick());
    EXPECT_EQ(m.WheelAction(), waMoveSelection);
    int invalidates = 0, disables = 0, changes = 0, lastValue = -1;
    m.OnInvalidate = [&](TMouseActions*) { ++invalidates; };
    m.OnDisableEdit = [&](TMouseActions*) { ++disables; };
    m.OnChange = [&](TMouseActions*, int v) {
        ++changes;
        lastValue = v;
    };

    m.SetHotmailRowSelect(true);
    EXPECT_TRUE(m.DisjunctRowSelect());
    EXPECT_TRUE(m.CheckAllCheck());
    EXPECT_EQ(invalidates, 1);
    m.SetDisjunctRowSelect(false);
    m.SetCheckAllCheck(false);
    m.SetHotmailRowSelect(false);
    EXPECT_FALSE(m.HotmailRowSelect());
    EXPECT_FALSE(m.DisjunctRowSelect());
    EXPECT_FALSE(m.CheckAllCheck());
    EXPECT_EQ(invalidates, 2);

    m.SetEditOnDblClickOnly(true);
    m.SetEditOnDblClickOnly(false);
    EXPECT_EQ(disables, 1);
    m.SetWheelAction(waScroll);
    m.SetWheelAction(waScroll);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(lastValue, int(waScroll));

    // Outside design mode the disjunct selections combine; while designing they exclude each other.
    m.SetDisjunctRowSelect(true);
    m.SetDisjunctColSelect(true);
    EXPECT_TRUE(m.DisjunctRowSelect());
    bool designing = true;
    m.OnIsDesigning = [&](TMouseActions*, bool& d) { d = designing; };
    m.SetDisjunctCellSelect(true);
    EXPECT_TRUE(m.DisjunctCellSelect());
    EXPECT_FALSE(m.DisjunctRowSelect());
    EXPECT_FALSE(m.DisjunctColSelect());

    // Assign copies the three as they are, and leaves out the named few.
    TMouseActions src;
    src.SetDisjunctRowSelect(true);
    src.SetDisjunctColSelect(true);
    src.SetSizeFixedRow(true);
    src.SetSizeFixedCol(true);
    src.SetHotmailRowSelect(true);
    src.FixedComboValues().Add(QStringLiteral("a"));
    TMouseActions dst;
    dst.Assign(src);
    EXPECT_TRUE(dst.DisjunctRowSelect());
    EXPECT_TRUE(dst.DisjunctColSelect());
    EXPECT_TRUE(dst.SizeFixedCol());
    EXPECT_FALSE(dst.SizeFixedRow());
    EXPECT_FALSE(dst.HotmailRowSelect());
    EXPECT_EQ(dst.FixedComboValues().Count(), 0);
}

TEST(GridSettingsObjects, BandsAndFocusHelper)
{
    TBands b;
    EXPECT_EQ(b.PrimaryColor(), clInfoBk);
    EXPECT_EQ(b.SecondaryColor(), clWindow);
    EXPECT_EQ(b.TotalLength(), 2);
    int events = 0;
    b.OnChange = [&](TBands*) { ++events; };
    b.SetPrimaryLength(3);
    EXPECT_EQ(b.TotalLength(), 4);
    b.SetPrimaryColor(clRed);
    EXPECT_EQ(events, 0); // not active
    b.SetActive(true);
    b.SetSecondaryLength(2);
    b.SetSecondaryLength(2);
    EXPECT_EQ(events, 2);
    EXPECT_EQ(b.TotalLength(), 5);

    TBands c;
    c.Assign(b);
    EXPECT_TRUE(c.Active());
    EXPECT_EQ(c.PrimaryColor(), clRed);
    EXPECT_EQ(c.TotalLength(), 5);

    TFocusHelper f1, f2;
    f1.SetEnabled(true);
    f2.Assign(f1);
    EXPECT_TRUE(f2.Enabled());
}

// A grid whose current row is kept in step with a partner through its TSyncGrid.
struct SyncedGrid {
    TStringGrid grid;
    TSyncGrid sync{&grid};
    std::function<void(int)> partnerSetRow;
    int passes = 0;
    void SetRow(int row)
    {
        grid.SetRow(row);
        if (sync.SelectionRow() && sync.CanSync()) {
            TSyncGrid::TGuard guard(sync);
            ++passes;
            partnerSetRow(row);
        }
    }
};

TEST(GridSettingsObjects, SyncGridLinksWithoutRecursion)
{
    SyncedGrid a, b, c;
    a.sync.SetGrid(&a.grid);
    EXPECT_EQ(a.sync.Grid(), nullptr); // the owner itself is ignored

    // Two grids linked with each other: one change crosses once.
    a.sync.SetGrid(&b.grid);
    b.sync.SetGrid(&a.grid);
    a.sync.SetSelectionRow(true);
    b.sync.SetSelectionRow(true);
    a.partnerSetRow = [&](int r) { b.SetRow(r); };
    b.partnerSetRow = [&](int r) { a.SetRow(r); };
    a.SetRow(3);
    EXPECT_EQ(b.grid.Row(), 3);
    EXPECT_EQ(a.passes, 1);
    EXPECT_EQ(b.passes, 0);
    b.SetRow(2);
    EXPECT_EQ(a.grid.Row(), 2);
    EXPECT_EQ(b.passes, 1);
    EXPECT_EQ(a.passes, 1);

    // A chain a -> b -> c -> a passes each change around once.
    b.sync.SetGrid(&c.grid);
    c.sync.SetGrid(&a.grid);
    c.sync.SetSelectionRow(true);
    b.partnerSetRow = [&](int r) { c.SetRow(r); };
    c.partnerSetRow = [&](int r) { a.SetRow(r); };
    a.SetRow(4);
    EXPECT_EQ(c.grid.Row(), 4);
    EXPECT_EQ(a.passes, 2);
    EXPECT_EQ(b.passes, 2);
    EXPECT_EQ(c.passes, 0);
    EXPECT_TRUE(a.sync.CanSync()); // the guards are gone

    // The link is forgotten when the other grid goes; Assign keeps a link to this owner out.
    {
        auto gone = std::make_unique<TStringGrid>();
        a.sync.SetGrid(gone.get());
    }
    EXPECT_EQ(a.sync.Grid(), nullptr);
    b.sync.SetGrid(&c.grid);
    TSyncGrid fromA(&a.grid);
    fromA.SetGrid(&b.grid);
    fromA.SetMoveRow(true);
    b.sync.Assign(fromA);
    EXPECT_EQ(b.sync.Grid(), &c.grid);
    EXPECT_TRUE(b.sync.MoveRow());
}

} // namespace
