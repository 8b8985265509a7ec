// TVerIvovavOzed: the cell painter. How each cell gets its brush, font, gradient and alignment
// (GetVisualProperties) and in which order DrawGridCell lays decorations, text, borders, graphic
// and focus rectangle over the background the base painting frame has already filled.
#include "grid/AdvGrid.h"

#include "render/RuvOdid.h"
#include "platform/Property.h"

#include <QGuiApplication>
#include <QStyle>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

// ---- painting values -------------------------------------------------------------------------

// ---- colour mixing ---------------------------------------------------------------------------

TColor TVerIvovavOzed::MixColors(TColor AColor, TColor BColor, int Percent)
{
    if (Percent >= 100)
        return AColor;
    if (Percent < 1 || AColor == clNone)
        return BColor;
    if (BColor == clNone)
        return AColor;
    const TColor a = ColorToRGB(AColor);
    const TColor b = ColorToRGB(BColor);
    const double f = Percent / 100.0;
    auto channel = [&](int shift) {
        const double v = f * ((a >> shift) & 0xFF) + (1.0 - f) * ((b >> shift) & 0xFF);
        return std::min(255, int(std::nearbyint(v))); // halves to even
    };
    return TColor(channel(0) | (channel(8) << 8) | (channel(16) << 16));
}

TColor TVerIvovavOzed::SelectionMixColor(TColor ASelection, TColor ACell, bool Mixer, int Percent)
{
    return Mixer ? MixColors(ASelection, ACell, Percent) : ASelection;
}

// ---- typed reads for painting ----------------------------------------------------------------

double TVerIvovavOzed::PaintFloat(int ACol, int ARow)
{
    double v = 0;
    if (!platform::TryStrToFloat(Cells(ACol, ARow).trimmed(), v) || !std::isfinite(v))
        return 0;
    return v;
}

int TVerIvovavOzed::PaintInt(int ACol, int ARow)
{
    const QString t = Cells(ACol, ARow).trimmed();
    int v = 0;
    if (platform::TryStrToInt(t, v))
        return v;
    double d = 0;
    if (platform::TryStrToFloat(t, d) && std::isfinite(d) && std::fabs(d) < 2147483647.0)
        return int(d);
    return 0;
}

bool TVerIvovavOzed::PaintMouseDown() const
{
    return underMouse() && QGuiApplication::mouseButtons() != Qt::NoButton;
}

// ---- visual properties -----------------------------------------------------------------------

void TVerIvovavOzed::GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select,
                                         bool Remap, TBrush& ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                         TColor& AMirrorColorTo, TFont& AFont, TAlignment& HA, TVAlignment& VA,
                                         bool& WW, TCellGradientDirection& GD)
{
    const bool printFonts = Print && !FPrintSettings->UseDisplayFont();
    if (ACol >= FixedCols() && ARow >= FixedRows())
        AFont.Assign(printFonts ? FPrintSettings->Font() : Font());
    else
        AFont.Assign(printFonts ? FPrintSettings->FixedFont() : FFixedFont);

    const int RCol = Remap ? DisplToRealCol(ACol) : ACol;
    const TMouseActions& ma = *FMouseActions;
    const int selRow = ((ma.DisjunctRowSelect() && ma.RowSelectPersistent()) || FUseEnabledRows) ? RealRowIndex(ARow)
                                                                                                : ARow;

    ABrush.SetColor(clNone);
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;

    bool ownColor = false;
    if (const TCellProperties* p = CellPropertiesOf(RCol, ARow)) {
        const TCellType t = GetCellType(RCol, ARow);
        if (t == ctNone || t == ctRotated || t == ctEmpty) {
            if (p->BrushColor() != clNone) {
                ABrush.SetColor(p->BrushColor());
                ownColor = true;
            }
        } else {
            ABrush.SetColor(p->BrushColor());
        }
        p->ApplyFont(AFont);
        WW = p->WordWrap();
        AColorTo = p->BrushColorTo();
        GD = p->GradientDirection();
    }
    if (AState & gdSelected)
        GD = GradientVertical;

    if (ABrush.Color() == clNone) {
        ABrush.SetColor(Color());
        const TBands& bands = *FBands;
        if (bands.Active() && (!Print || bands.Print()) && ACol >= FixedCols() &&
            ACol < ColCount() + NumHiddenColumns() - FFixedRightCols && ARow >= FixedRows() &&
            ARow < RowCount() - FFixedFooters) {
            const int len = bands.PrimaryLength() + bands.SecondaryLength();
            if (len > 0)
                ABrush.SetColor((ARow - FixedRows()) % len < bands.PrimaryLength() ? bands.PrimaryColor()
                                                                                    : bands.SecondaryColor());
        }
        if (ACol < FixedCols() || ARow < FixedRows() || ACol >= ColCount() - FFixedRightCols ||
            ARow >= RowCount() - FFixedFooters)
            ABrush.SetColor(FixedColor());
    }

    const bool fixed = IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows();
    if (fixed && !ownColor) {
        if (!Print) {
            ABrush.SetColor(FixedColor());
            AFont.Assign(printFonts ? FPrintSettings->FixedFont() : FFixedFont);
            AState |= gdFixed;
        }
        if (FLook > glClassic) {
            ABrush.SetColor(FOrlexGradientFrom);
            AColorTo = FOrlexGradientTo;
            AMirrorColor = FOrlexGradientMirrorFrom;
            AMirrorColorTo = FOrlexGradientMirrorTo;
        }
    }

    if (Print)
        GetCellPrintColor(RCol, ARow, AState, ABrush, AFont);
    else
        GetCellColor(RCol, ARow, AState, ABrush, AFont);

    if (OnGetCellGradient) {
        TColor c = ABrush.Color();
        OnGetCellGradient(this, ARow, RCol, c, AColorTo, AMirrorColor, AMirrorColorTo, GD);
        ABrush.SetColor(c);
    }

    const TColor baseBrush = ABrush.Color();
    const TColor baseFont = AFont.Color();
    auto selectionColours = [&]() {
        AColorTo = SelectionColorTo();
        AMirrorColor = SelectionMirrorColor();
        AMirrorColorTo = SelectionMirrorColorTo();
        if (SelectionTextColor() != clNone)
            AFont.SetColor(SelectionTextColor());
    };
    const bool mouseDown = PaintMouseDown();
    const bool normal = ACol >= FixedCols() && ARow >= FixedRows();

    if (Select && !Print && ShowSelection() && !fixed && normal && ma.DisjunctRowSelect()) {
        bool selected = RowSelect(selRow) && !(mouseDown && ARow == Row());
        if (mouseDown && (AState & gdSelected) && !RowSelect(selRow))
            selected = true;
        if (selected) {
            AState = gdSelected;
            ABrush.SetColor(SelectionColor());
            selectionColours();
        } else {
            AState &= ~TGridDrawState(gdSelected);
        }
    }
    if (ARow >= FixedRows() && ACol >= FixedCols() && ma.DisjunctColSelect() && Select && !Print && ShowSelection() &&
        !fixed) {
        const bool colSel = ColSelect(ACol);
        if ((colSel && (!mouseDown || ACol != Col())) || ((AState & gdSelected) && mouseDown && !colSel)) {
            AState = gdSelected;
            ABrush.SetColor(SelectionColor());
            selectionColours();
        }
    }
    const TGridRect sel = Selection();
    const bool inSelection = ACol >= sel.Left && ACol <= sel.Right && ARow >= sel.Top && ARow <= sel.Bottom;
    if ((Select && !Print && ShowSelection() && !fixed && inSelection && !ma.DisjunctRowSelect() &&
         !ma.DisjunctColSelect()) ||
        ((AState & gdSelected) && mouseDown && ShowSelection())) {
        if (ABrush.Color() == Color())
            ABrush.SetColor(SelectionColor());
        else
            ABrush.SetColor(SelectionMixColor(SelectionColor(), ABrush.Color(), SelectionColorMixer(),
                                              std::clamp(SelectionColorMixerFactor(), 0, 100)));
        selectionColours();
        AState |= gdSelected;
    }
    if (ma.DisjunctCellSelect() && ShowSelection()) {
        const int key = ARow * 65536 + (ACol & 0xFFFF);
        if (FSelectedCells.HasValue(key)) {
            ABrush.SetColor(SelectionColor());
            selectionColours();
            AState |= gdSelected;
        } else if (ACol == Col() && ARow == Row()) {
            AState &= ~TGridDrawState(gdSelected);
            ABrush.SetColor(baseBrush);
            AFont.SetColor(baseFont);
        }
    }

    if (FUseDisabledFont && ((FUseEnabledRows && !RowEnabled(RealRowIndex(ARow))) || !isEnabled()))
        AFont.SetColor(DisabledFontColor());

    if ((AState & gdSelected) && ARow != Row() && ma.DisjunctRowSelect() && SelectionColorTo() == clNone)
        ABrush.SetColor(ShadeColor(ABrush.Color(), 7));

    GetCellWordWrap(RCol, ARow, WW);
    GetCellAlignment(RCol, ARow, HA, VA);
}

void TVerIvovavOzed::GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState& AState, TFont& AFont,
                                       TBrush& ABrush, bool)
{
    if (IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows())
        AFont.Assign(FFixedFont);
    else
        AFont.Assign(Font());
    if (const TCellProperties* p = CellPropertiesOf(RCol, ARow))
        p->ApplyFont(AFont);
    GetCellColor(RCol, ARow, AState, ABrush, AFont);
}

// ---- the painter -----------------------------------------------------------------------------

void TVerIvovavOzed::DrawGridCell(TCanvas& ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    // Painting never lets an error out: a failing step leaves the rest of the cell unpainted.
    const int saved = ACanvas.SaveDC();
    try {
        PaintGridCell(ACanvas, ACol, ARow, ARect, AState);
    } catch (const std::exception&) {
    }
    ACanvas.RestoreDC(saved);
}

void TVerIvovavOzed::PaintGridCell(TCanvas& ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    TCellPaintValues& v = FPaint;
    v = TCellPaintValues();
    v.Col = ACol;
    v.Row = ARow;
    v.RCol = DisplToRealCol(ACol);
    const TMouseActions& ma = *FMouseActions;
    v.SelRow = (ma.DisjunctRowSelect() && ma.RowSelectPersistent()) ? RealRowIndex(ARow) : ARow;
    TRect& R = v.R;
    R = ARect;

    v.FilterGlyph = ARow == FilterDropDownRow() && FillFilterDropDown(v.RCol);

    v.WW = WordWrap();
    GetVisualProperties(ACol, ARow, AState, false, false, true, ACanvas.Brush(), v.ColorTo, v.MirrorColor,
                        v.MirrorColorTo, ACanvas.Font(), v.HA, v.VA, v.WW, v.GD);
    v.State = AState;

    v.Graphic = GetCellGraphicMetrics(v.RCol, ARow, v.GraphicW, v.GraphicH, v.GraphicHAlign, v.GraphicVAlign,
                                      v.DrawText);
    if (v.RCol == 0 && IsNode(ARow))
    {
        const TCellProperties* np = CellPropertiesOf(0, ARow);
        v.GraphicW = (np ? np->NodeLevel() : 0) * 12 + 4;
    }

    if ((AState & gdSelected) && !(AState & gdFocused) && SelectionColor() == clNone)
        ACanvas.Brush().SetColor(clHighlight);

    if (FZoomFactor != 0)
        ACanvas.Font().SetSize(ACanvas.Font().Size() + FZoomFactor);
    v.BaseBrush = ACanvas.Brush().Color();
    v.BaseFont = ACanvas.Font().Color();

    v.Fixed = IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows();
    if (ARow == HoverRowIdx() && (HoverRowCells() & hcFixed))
        v.Fixed = false;

    // The text of a cell with a scroll bar keeps clear of the bar (and scrolls by its position).
    const int fullRight = R.Right;
    DrawCellScrollBar(ACanvas);

    if (v.Fixed && !v.Styled)
        DrawFixedCellBackground(ACanvas, R);

    int indicatorWidth = 0;
    if (v.RCol == 0 && ARow == Row() && FixedCols() > 0 && !FRowIndicator.Empty() &&
        !(FFixedRowAlways && RowCount() <= FixedRows())) {
        int y = R.Top;
        if (VAlignment() == vtaCenter)
            y = R.Top + (R.Height() - FRowIndicator.Height()) / 2;
        else if (VAlignment() == vtaBottom)
            y = R.Bottom - FRowIndicator.Height();
        FRowIndicator.SetTransparent(true);
        ACanvas.Draw(R.Left + 2, y, FRowIndicator);
        indicatorWidth = FRowIndicator.Width() + 2;
        R.Left += indicatorWidth;
    }

    if (v.Fixed && !v.Styled && FLook == glListView && !Flat())
        DrawListViewHeader(ACanvas, R, ACol, ARow);

    if (ACol == 0 && FShowModified->Enabled() && RowModified(RealRowIndex(ARow))) {
        const TColor keepBrush = ACanvas.Brush().Color();
        ACanvas.Brush().SetColor(FShowModified->Color());
        ACanvas.Pen().SetColor(FShowModified->Color());
        ACanvas.FillRect(TRect(R.Right - 4, R.Top, R.Right, R.Bottom));
        ACanvas.Brush().SetColor(keepBrush);
    }

    if (OnCustomCellBkgDraw)
        OnCustomCellBkgDraw(this, ACanvas, v.RCol, ARow, AState, R, false);

    if (!v.Fixed && (FControlLook->DropDownAlwaysVisible() || FControlLook->SpinButtonsAlwaysVisible())) {
        int style = FControlLook->FlatButton() ? 2 : 0;
        const TColorTones& tones = Tones();
        if (Flat() && tones.Background.BrushColor != clNone)
            style = 3;
        bool canEdit = true;
        IsReadOnlyCell(v.RCol, ARow, canEdit);
        const int state = canEdit ? 0 : 3;
        if (FControlLook->DropDownAlwaysVisible() && HasComboBox(v.RCol, ARow)) {
            DrawThemedComboButton(ACanvas, this, TRect(R.Left - 2, R.Top - 1, R.Right + 1, R.Bottom), tones, state,
                                  style);
            R.Right -= 16;
        }
        if (FControlLook->SpinButtonsAlwaysVisible() && HasSpinEdit(v.RCol, ARow)) {
            DrawThemedSpinButtons(ACanvas, this, R, tones, state, style);
            R.Right -= 16;
        }
    }

    const bool userDraws = (OnDrawCell || OnCustomCellDraw) && FNoDefaultDraw;
    if (!userDraws && !(v.Graphic && FNoImageAndText))
        DrawCellText(ACanvas);

    R.Right = fullRight;
    ACanvas.Brush().SetColor(v.BaseBrush);
    ACanvas.Font().SetColor(v.BaseFont);
    InflateRect(R, 1, 1);

    DrawCellBorders(ACanvas, v.RCol, ARow, R);

    R.Left -= indicatorWidth;

    if (v.Fixed && !Flat())
        DrawFixedCellEdges(ACanvas, R);
    if (FFixedRightCols > 0 && Flat() && FLook != glClassic &&
        FFixedRightCols >= ColCount() + NumHiddenColumns() - v.RCol) {
        ACanvas.Pen().SetColor(0x808080);
        ACanvas.Pen().SetWidth(1);
        if (Options() & goFixedHorzLine) {
            ACanvas.MoveTo(R.Left - 1, R.Top - 1);
            ACanvas.LineTo(R.Right + 1, R.Top - 1);
            ACanvas.MoveTo(R.Left - 1, R.Bottom + 1);
            ACanvas.LineTo(R.Right + 1, R.Bottom + 1);
        }
        if (Options() & goFixedVertLine) {
            ACanvas.MoveTo(R.Left - 1, R.Top - 1);
            ACanvas.LineTo(R.Left - 1, R.Bottom + 1);
            ACanvas.MoveTo(R.Right + 1, R.Top - 1);
            ACanvas.LineTo(R.Right + 1, R.Bottom + 1);
        }
    }

    DrawNodeTreeLines(ACanvas, R);

    if (v.Graphic) {
        TRect gr = R;
        if (v.Fixed)
            gr.Top += 1;
        DrawCellGraphic(ACanvas, gr, v.Graphic, v.VA);
        R = gr;
    }

    if (OnDrawCell) {
        const TRect dr(R.Left + 1, R.Top + 1, R.Right - GridLineWidth(), R.Bottom - GridLineWidth());
        OnDrawCell(this, v.RCol, ARow, dr, AState);
    }
    if (OnCustomCellDraw)
        OnCustomCellDraw(this, ACanvas, v.RCol, ARow, AState, R, false);

    if (!HideFocusRect()) {
        const TPoint b = BaseCell(v.RCol, ARow);
        if (DisplColIndex(b.X) == Col() && b.Y == Row() && IsActiveControl() && !(Options() & goRowSelect) &&
            Row() >= FixedRows() && Col() >= FixedCols()) {
            TRect fr = R;
            InflateRect(fr, GridLineWidth() - 1, GridLineWidth() - 1);
            fr.Right -= 1;
            fr.Bottom -= 1;
            ACanvas.DrawFocusRect(fr);
        }
    }
}

// ---- borders and tree lines ------------------------------------------------------------------

void TVerIvovavOzed::DrawCellBorders(TCanvas& ACanvas, int RCol, int ARow, TRect R)
{
    TCellBorders borders;
    const TPen keep = ACanvas.Pen();
    GetCellBorder(RCol, ARow, ACanvas.Pen(), borders);
    if (!borders) {
        ACanvas.Pen().Assign(keep);
        return;
    }
    TPen left = ACanvas.Pen(), top = ACanvas.Pen(), right = ACanvas.Pen(), bottom = ACanvas.Pen();
    if (OnGetCellBorderProp)
        OnGetCellBorderProp(this, ARow, RCol, left, top, right, bottom);
    const int w = (ACanvas.Pen().Width() + 1) / 2;
    int topY = R.Top;
    if (Options() & goVertLine) {
        R.Left += w;
        R.Right -= w;
    }
    if (Options() & goHorzLine) {
        R.Bottom -= w;
        topY += w;
    }
    if (borders & cbLeft) {
        ACanvas.Pen().Assign(left);
        ACanvas.MoveTo(std::max(0, R.Left), R.Top);
        ACanvas.LineTo(std::max(0, R.Left), R.Bottom);
    }
    if (borders & cbRight) {
        ACanvas.Pen().Assign(right);
        ACanvas.MoveTo(R.Right - 1, R.Top);
        ACanvas.LineTo(R.Right - 1, R.Bottom);
    }
    if (borders & cbTop) {
        ACanvas.Pen().Assign(top);
        const int y = GridLineWidth() > 0 ? std::max(0, topY - GridLineWidth()) : topY + 1;
        ACanvas.MoveTo(R.Left, y);
        ACanvas.LineTo(R.Right, y);
    }
    if (borders & cbBottom) {
        ACanvas.Pen().Assign(bottom);
        ACanvas.MoveTo(R.Left - GridLineWidth() - 1, R.Bottom - 1);
        ACanvas.LineTo(R.Right, R.Bottom - 1);
    }
    ACanvas.Pen().Assign(keep);
}

void TVerIvovavOzed::DrawNodeTreeLines(TCanvas& ACanvas, const TRect& R)
{
    const TCellPaintValues& v = FPaint;
    if (v.RCol != 0 || v.Row < FixedRows() || !FCellNode->ShowTree() || !PaintHasNodes())
        return;
    const int indent = FCellNode->NodeIndent();
    ACanvas.Pen().SetColor(FCellNode->TreeColor());
    ACanvas.Pen().SetWidth(1);
    const int L = GetCellIndent(v.Row);
    const int x = L + indent / 2 - indent + 2;
    const int m = R.Top + R.Height() / 2;
    const TCellProperties* p = CellPropertiesOf(0, v.Row);
    const int level = p ? p->NodeLevel() : 0;
    if (level > 0) {
        ACanvas.MoveTo(x, m);
        ACanvas.LineTo(FCellNode->ShowTreeFull() ? R.Right : L + 4, m);
    }
    if (p && level > 0) {
        const TCellProperties* next = v.Row + 1 < RowCount() ? CellPropertiesOf(0, v.Row + 1) : nullptr;
        const int nextLevel = next ? next->NodeLevel() : 0;
        for (int i = 1; i <= level; ++i) {
            const int xi = x - i * indent;
            ACanvas.MoveTo(xi, R.Top);
            if (v.Row == RowCount() - 1 && i < level) {
                ACanvas.LineTo(xi, m);
                ACanvas.LineTo(x + indent - i * indent, m);
            } else if (nextLevel != 0) {
                ACanvas.LineTo(xi, R.Bottom + 4);
            } else {
                ACanvas.LineTo(xi, m);
                if (i < level)
                    ACanvas.LineTo(x + indent - i * indent, m);
            }
        }
    }
    ACanvas.Pen().SetStyle(psSolid);
}

// ---- the paint cycle -------------------------------------------------------------------------

void TVerIvovavOzed::Paint()
{
    Canvas().Pen().SetStyle(psSolid);
    Canvas().Brush().SetStyle(bsSolid);
    TBaseGrid::Paint();
    if (EditorMode()) {
        const TColor c = (GridLineWidth() < 1 || !(Options() & (goHorzLine | goVertLine))) ? Color() : GridLineColor();
        const TRect r = CellRect(Col(), Row());
        Canvas().Pen().SetColor(c);
        Canvas().Brush().SetStyle(bsClear);
        Canvas().Rectangle(r.Left - 1, r.Top - 1, r.Right, r.Bottom);
        Canvas().Brush().SetStyle(bsSolid);
    }
    Canvas().Pen().SetColor(clBlack);
    if (FBackGround->Bitmap().Width() > 0 || FBackGround->ColorTo() != clNone)
        PaintBackgroundArea(Canvas());
    PaintDesignHelper(Canvas());
    if (OnPainted)
        OnPainted(this);
}

void TVerIvovavOzed::PaintDesignHelper(TCanvas& ACanvas)
{
    bool designing = false;
    IsDesigning(designing);
    if (!designing || !ShowDesignHelper())
        return;
    const int saved = ACanvas.SaveDC();
    ACanvas.Font().SetName(QStringLiteral("Tahoma"));
    ACanvas.Font().SetSize(8);
    ACanvas.Font().SetStyle(TFontStyles(fsUnderline));
    ACanvas.Font().SetColor(0x800000);
    ACanvas.Brush().SetStyle(bsSolid);
    ACanvas.Brush().SetColor(clInfoBk);
    ACanvas.Pen().SetColor(0x808080);
    ACanvas.Pen().SetWidth(1);
    const int h = ACanvas.TextHeight(QStringLiteral("gh"));
    const TRect C{0, 0, ClientWidth(), ClientHeight()};
    const TRect p{C.Right - 150, C.Bottom - 4 * h - 18, C.Right, C.Bottom};
    ACanvas.Rectangle(p.Left, p.Top, p.Right, p.Bottom);
    ACanvas.SetBkMode(TRANSPARENT);
    ACanvas.TextOut(p.Left + 4, p.Top + 4, QStringLiteral("Quick config [v") + Version() + QStringLiteral("]"));
    TBitmap close;
    close.LoadFromResourceName(QStringLiteral("ASGCLOSE"));
    close.SetTransparent(true);
    ACanvas.Draw(p.Right - 16, p.Top + 2, close);
    // Only the option line under the mouse is underlined.
    auto line = [&](int choice, int x, int y, const QString& text) {
        TFontStyles st = ACanvas.Font().Style();
        st.setFlag(fsUnderline, FDesignHelperHover == choice);
        ACanvas.Font().SetStyle(st);
        ACanvas.TextOut(x, y, text);
    };
    DrawCheckBox(ACanvas, TRect(p.Left + 4, p.Top + h + 4, p.Left + 20, p.Top + h + 20),
                 bool(Options() & goEditing), cbUnchecked, false, csWinXP, false, true);
    line(1, p.Left + 22, p.Top + h + 6, QStringLiteral("Allow edit"));
    DrawCheckBox(ACanvas, TRect(p.Left + 4, p.Top + 2 * h + 6, p.Left + 20, p.Top + 2 * h + 22),
                 FDesignColumnNumbers, cbUnchecked, false, csWinXP, false, true);
    line(2, p.Left + 22, p.Top + 2 * h + 8, QStringLiteral("Column numbers"));
    line(3, p.Left + 4, p.Top + 3 * h + 10, QStringLiteral("Set look: ") + GetLookName(Look()));
    ACanvas.RestoreDC(saved);
}

// ---- in-cell scroll bar ----------------------------------------------------------------------

void TVerIvovavOzed::DrawCellScrollBar(TCanvas& ACanvas)
{
    TCellPaintValues& v = FPaint;
    if (!HasScrollBar(v.RCol, v.Row))
        return;
    const int pos = GetScrollPosition(v.RCol, v.Row);
    const TScrollProp prop = GetScrollProp(v.RCol, v.Row);
    v.ScrollPos = pos;
    if (prop.PageSize >= prop.Range)
        return; // everything fits: no bar
    TRect& R = v.R;
    const int w = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    R.Right -= w;
    // One hidden scroll bar of the grid paints every cell's bar; it keeps the values of the last.
    auto* bar = qobject_cast<QScrollBar*>(FCellScrollBar.data());
    if (!bar) {
        bar = new QScrollBar(Qt::Vertical, this);
        bar->hide();
        FCellScrollBar = bar;
    }
    bar->setRange(0, std::max(0, prop.Range - prop.PageSize));
    bar->setPageStep(std::max(1, prop.PageSize));
    bar->setValue(pos);
    bar->resize(w, R.Bottom - R.Top);
    if (QPainter* p = ACanvas.Painter()) {
        p->save();
        bar->render(p, QPoint(R.Right, R.Top), QRegion(), QWidget::DrawChildren);
        p->restore();
    }
}
