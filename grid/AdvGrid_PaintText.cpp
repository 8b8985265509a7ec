// TVerIvovavOzed: the text of a cell: what it shows (GetFormattedCell), how it is aligned
// (GetCellAlignment), how it is drawn (DrawCellText: selection colours, per-cell background,
// selection rectangle, plain or HTML text, sort indicator) and how much room it needs.
#include "grid/AdvGrid.h"

#include "gridedit/DEriRevaDodo.h"
#include "render/RuvOdid.h"
#include "render/VurADIDO.h"

#include <algorithm>
#include <cmath>

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

bool IsNumberKind(int kind) { return kind == ntkInteger || kind == ntkDecimal || kind == ntkExponent; }

unsigned HorzFlag(TAlignment a)
{
    switch (a) {
    case taRightJustify:
        return DT_RIGHT;
    case taCenter:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

unsigned VertFlag(TVAlignment a)
{
    switch (a) {
    case vtaCenter:
        return DT_VCENTER;
    case vtaBottom:
        return DT_BOTTOM;
    default:
        return DT_TOP;
    }
}

} // namespace

// ---- text and alignment ----------------------------------------------------------------------

QString TVerIvovavOzed::GetFormattedCell(int ACol, int ARow)
{
    const QString text = Cells(ACol, ARow);
    if (!OnGetFloatFormat || !IsNumberKind(ClassifyNumberText(text)))
        return text;
    bool isFloat = true;
    QString format = FloatFormat();
    OnGetFloatFormat(this, ACol, ARow, isFloat, format);
    if (!isFloat || format.isEmpty())
        return text;
    try {
        if (format.contains(QLatin1Char('d')))
            return platform::Format(format, {PaintInt(ACol, ARow)});
        return platform::Format(format, {PaintFloat(ACol, ARow)});
    } catch (const std::exception&) {
        return text; // a format that does not fit the value shows the stored text
    }
}

void TVerIvovavOzed::GetCellAlignment(int ACol, int ARow, TAlignment& HA, TVAlignment& VA)
{
    HA = DefaultAlignment();
    VA = VAlignment();
    bool formula = false;
    if (AutoNumAlign()) {
        QString t = Cells(ACol, ARow);
        if (t.startsWith(QLatin1Char('=')) ||
            (t.length() > 3 && t.startsWith(QStringLiteral("|\\")) && t.at(3) == QLatin1Char('=')))
            formula = true;
        if (IsNumberKind(ClassifyNumberText(t.trimmed())))
            HA = taRightJustify;
    }
    if (!formula)
        if (const TCellProperties* p = CellPropertiesOf(ACol, ARow))
            HA = p->Alignment();
    GetCellAlign(ACol, ARow, HA, VA);
}

// ---- drawing ---------------------------------------------------------------------------------

void TVerIvovavOzed::DrawCellText(TCanvas& ACanvas)
{
    TCellPaintValues& v = FPaint;
    const int RCol = v.RCol, ARow = v.Row;
    const TRect& R = v.R;
    const TGridDrawState S = v.State;
    const TMouseActions& ma = *FMouseActions;

    // 1. selection colours of the text
    const bool selected = (S & gdSelected) || (RowSelect(v.SelRow) && (Options() & goRowSelect) &&
                                               RCol >= FixedCols() && RCol < ColCount() - FFixedRightCols);
    v.LinkColor = URLColor();
    if (selected && !v.Fixed) {
        if (ShowSelection()) {
            if (SelectionColor() != clNone)
                ACanvas.Brush().SetColor(SelectionColor());
            if (SelectionTextColor() != clNone && isEnabled())
                ACanvas.Font().SetColor(SelectionTextColor());
            v.LinkColor = SelectionTextColor();
        } else if (!IsActiveControl() || v.Graphic) {
            ACanvas.Brush().SetColor(v.BaseBrush);
            ACanvas.Font().SetColor(v.BaseFont);
        }
    }

    // 2.-4. the text
    QString text = GetFormattedCell(RCol, ARow);
    const int kind = ClassifyCellText(text, EnableHTML());
    bool isPassword = false;
    IsPasswordCell(RCol, ARow, isPassword);
    if (isPassword)
        FillWithChar(text, FPasswordChar);

    // 5. text rectangle
    TRect T = R;
    if (v.Fixed) {
        T.Left += GridLineWidth();
        T.Top += GridLineWidth();
    }

    // 6. filter glyph
    if (v.FilterGlyph) {
        DrawFilterGlyph(ACanvas, R);
        T = R;
    }

    // 7. unselected cells of a disjunct selection
    if (!v.Fixed && !PaintMouseDown() &&
        ((ma.DisjunctRowSelect() && !RowSelect(v.SelRow)) || (ma.DisjunctColSelect() && !ColSelect(v.Col)))) {
        v.LinkColor = URLColor();
        ACanvas.Brush().SetColor(Color());
        ACanvas.Font().SetColor(Font().Color());
        GetCellColor(RCol, ARow, v.State, ACanvas.Brush(), ACanvas.Font());
        if (FZoomFactor != 0)
            ACanvas.Font().SetSize(ACanvas.Font().Size() + FZoomFactor);
    }

    // 8. background picture inside the cell
    const TBackGround& bg = *FBackGround;
    if (!bg.Bitmap().Empty() && GetColors(RCol, ARow) == clNone &&
        (bg.Cells() == bcAll || (v.Fixed ? bg.Cells() == bcFixed : bg.Cells() == bcNormal)) &&
        !((S & gdSelected) && ShowSelection())) {
        TRect c = T;
        c.Left -= GridLineWidth() - 1;
        c.Top -= GridLineWidth() - 1;
        if (bg.Display() != bdTile)
            DrawCellBackgroundBitmap(ACanvas, c);
        else
            DrawCellBackgroundTiles(ACanvas, c);
    }

    // 9. background gradient inside the cell
    if (bg.Display() == bdGradientHorz || bg.Display() == bdGradientVert) {
        const TCellType t = v.Graphic ? v.Graphic->CellType() : ctEmpty;
        const bool ownColor = GetColors(RCol, ARow) != clNone;
        const bool covered = bg.Cells() == bcAll || (v.Fixed ? bg.Cells() == bcFixed : bg.Cells() == bcNormal);
        if ((!ownColor || t == ctCheckBox || t == ctDataCheckBox || t == ctRadio || t == ctButton ||
             t == ctRadioButton) &&
            covered &&
            (!(S & (gdSelected | gdFocused)) || ((S & gdFocused) && !(Options() & goDrawFocusSelected)) ||
             !ShowSelection())) {
            TRect g = T;
            g.Left -= 1;
            g.Top -= GridLineWidth();
            g.Bottom += GridLineWidth() - 1;
            DrawCellBackgroundGradient(ACanvas, g);
        }
    }

    // 10. selection rectangle
    const TGridRect sel = Selection();
    if (SelectionRectangle() && !v.Fixed && v.Col >= sel.Left && v.Col <= sel.Right && ARow >= sel.Top &&
        ARow <= sel.Bottom) {
        const int glw = GridLineWidth();
        ACanvas.Pen().SetColor(FSelectionRectangleColor);
        ACanvas.Pen().SetWidth(2);
        const int rightEnd = v.Col == sel.Right ? T.Right - 1 : T.Right;
        if (v.Col == sel.Left) {
            ACanvas.MoveTo(T.Left - glw + 1, T.Bottom);
            ACanvas.LineTo(T.Left - glw + 1, T.Top - glw);
        }
        if (v.Col == sel.Right) {
            ACanvas.MoveTo(T.Right - 1, T.Bottom);
            ACanvas.LineTo(T.Right - 1, T.Top - glw);
        }
        if (ARow == sel.Top) {
            ACanvas.MoveTo(T.Left - glw, T.Top - glw + 1);
            ACanvas.LineTo(rightEnd, T.Top - glw + 1);
        }
        if (ARow == sel.Bottom) {
            ACanvas.MoveTo(T.Left - glw, T.Bottom);
            ACanvas.LineTo(rightEnd, T.Bottom);
        }
        if (SelectionResizer() && v.Col == sel.Right && ARow == sel.Bottom) {
            const TColor keep = ACanvas.Brush().Color();
            ACanvas.Brush().SetColor(FSelectionRectangleColor);
            ACanvas.FillRect(TRect(T.Right - 4, T.Bottom - 4, R.Right + 1, R.Bottom + 1));
            ACanvas.Brush().SetColor(keep);
        }
        ACanvas.Pen().SetWidth(1);
    }

    // 11. a graphic that replaces the text
    if (!v.DrawText)
        return;

    // 12.-14. offsets, room for the graphic, node indent
    T.Left += FXYOffset.X;
    T.Top += FXYOffset.Y;
    if (!FXYOffsetTopLeftOnly)
        T.Right -= FXYOffset.X;
    v.TextHeight = ACanvas.TextHeight(QStringLiteral("hg"));
    int gx = 0;
    switch (v.GraphicHAlign) {
    case haBeforeText:
        T.Left += v.GraphicW;
        if (v.HA == taLeftJustify)
            gx = v.GraphicW;
        break;
    case haLeft:
        gx = v.GraphicW;
        break;
    case haAfterText:
        T.Right -= v.GraphicW;
        break;
    default:
        break;
    }
    if (v.GraphicVAlign == vaAboveText)
        T.Top += v.GraphicH;
    else if (v.GraphicVAlign == vaUnderText)
        T.Bottom -= v.GraphicH;
    if (RCol == 0 && PaintHasNodes() && !IsNode(ARow))
        T.Left += GetCellIndent(ARow);

    // 15. sort header
    const TSortSettings& ss = *FSortSettings;
    const TPoint base = BaseCell(RCol, ARow);
    const bool sortRow = ss.Show() && base.Y + CellSpan(RCol, ARow).Y >= ss.Row() && base.Y <= ss.Row() &&
                         RowCount() >= FixedRows() + 2;
    const int indexPlace = FSortIndexes.FindIndex(RCol);
    const bool sortHeader = sortRow && (RCol == ss.Column() || indexPlace >= 0) && FixedRows() > 0 &&
                            (RCol >= FixedCols() || ss.FixedCols());
    auto indicatorY = [&]() {
        switch (v.VA) {
        case vtaCenter:
            return T.Top + (T.Bottom - T.Top) / 2;
        case vtaBottom:
            return T.Bottom - 8;
        default:
            return T.Top + 8;
        }
    };
    const bool drawIndicator = sortHeader && (indexPlace < 1 || ss.IndexShow());

    if (kind == ctkHtml) {
        // 16. HTML through the mini-language renderer
        if (v.FilterGlyph)
            T.Right -= 18;
        T.Left -= 1;
        if (sortHeader)
            T.Right -= 10;
        TMarkupRenderParams p;
        p.HitX = T.Left;
        p.HitY = T.Top;
        p.FocusAnchor = -1;
        p.HoverAnchor = (FHoverLinkCol == RCol && FHoverLinkRow == ARow) ? FHoverLinkNum : -1;
        p.ShadowOffset = 1;
        p.BlinkVisible = FBlinkPhase;
        p.HoverOnly = URLUnderlineOnHover();
        p.WordWrap = !EnhTextSize();
        p.ControlPressed = FCtrlPressed;
        p.AnchorColor = v.LinkColor;
        p.ShadowColor = 0x808080;
        p.Window = this;
        p.Images = GetCellImageList(RCol, ARow);
        p.PictureCache = FImageCache.get();
        p.PictureContainer = FPictureContainer;
        TMarkupRenderResult res;
        ACanvas.SetBkMode(TRANSPARENT);
        RenderMarkupText(ACanvas, text, T, p, res);
        v.TextWidth = res.Width + 2;
        if (drawIndicator)
            DrawSortIndicator(ACanvas, RCol, indicatorY(), T.Right + 2);
        return;
    }

    if (kind == ctkRtf) {
        // 17. RTF through the hidden rich edit
        ACanvas.Pen().SetColor(ACanvas.Brush().Color());
        if (!(selected && !IsActiveControl() && SelectionColor() == clNone))
            ACanvas.Rectangle(T);
        ACanvas.Brush().SetStyle(bsClear);
        DrawRichTextCell(RCol, ARow, T, ACanvas);
        ACanvas.Brush().SetStyle(bsSolid);
        ACanvas.Font().SetColor(clBlack);
        if (drawIndicator)
            DrawSortIndicator(ACanvas, RCol, indicatorY(), T.Right + 2);
        return;
    }

    // 18. plain text
    if (v.HA == taCenter && ARow == ss.Row() && ss.Show() && RCol == ss.Column())
        T.Left += 10;
    const QString stored = Cells(RCol, ARow);
    const bool link = URLShow() && IsUrl(stored);
    if (link) {
        if (!URLFull())
            StripUrlScheme(text);
        ACanvas.Font().SetStyle(ACanvas.Font().Style() | fsUnderline);
        ACanvas.Font().SetColor(v.LinkColor);
    }
    unsigned flags = DT_EDITCONTROL;
    if (LineCount(text, Multilinecells()) == 1 && !v.WW) {
        QString rest = text;
        text = FirstLine(rest, false);
        flags = DT_SINGLELINE;
        if (EnhTextSize())
            flags |= DT_END_ELLIPSIS;
    }
    if (v.WW && !Multilinecells() && EnhTextSize())
        flags |= DT_END_ELLIPSIS;
    flags |= DT_EXPANDTABS | DT_NOPREFIX | HorzFlag(v.HA) | VertFlag(v.VA);
    FVAlign = VertFlag(v.VA);
    if (v.WW || Multilinecells())
        flags |= DT_WORDBREAK | DT_EDITCONTROL;
    else
        flags |= DT_SINGLELINE;
    ACanvas.SetBkMode(TRANSPARENT);
    if (v.FilterGlyph)
        T.Right -= 16;
    int textWidth = 0;
    if (!text.isEmpty()) {
        // One formatting of the text measures it and draws it. The text call centres and
        // bottom-aligns single lines only; a wrapped block is placed by its measured height so
        // that the vertical alignment holds whatever the word wrap.
        TRect m = T;
        DrawTextMeasured(ACanvas, text, T, flags, m, true);
        textWidth = m.Right - m.Left;
        if (v.Graphic)
            v.TextWidth = textWidth + 2;
    }
    T = R;
    if (v.FilterGlyph)
        T.Right -= 16;
    if (drawIndicator) {
        const int w = std::max(0, std::min(T.Right - T.Left - 16, textWidth));
        int x = T.Left + 8;
        if (v.HA == taLeftJustify)
            x = T.Left + w + gx + 10;
        else if (v.HA == taRightJustify)
            x = T.Right - w - 10;
        DrawSortIndicator(ACanvas, RCol, indicatorY(), x);
    }
    if (link)
        ACanvas.Font().SetStyle(ACanvas.Font().Style() & ~TFontStyles(fsUnderline));
}

void TVerIvovavOzed::DrawCellBackgroundGradient(TCanvas& ACanvas, const TRect& C)
{
    const TBackGround& bg = *FBackGround;
    TColor from, to;
    const bool horz = bg.Display() == bdGradientHorz;
    if (horz) {
        from = BlendColorStep(bg.Color(), bg.ColorTo(), 0, C.Left, width());
        to = BlendColorStep(bg.Color(), bg.ColorTo(), 0, C.Right, width());
    } else {
        from = BlendColorStep(bg.Color(), bg.ColorTo(), 0, C.Top, height());
        to = BlendColorStep(bg.Color(), bg.ColorTo(), 0, C.Bottom, height());
    }
    ACanvas.Brush().SetColor(to);
    ACanvas.Pen().SetColor(to);
    DrawGradientRect(ACanvas, from, to, horz, C, 128);
}

// ---- measuring -------------------------------------------------------------------------------

TSize TVerIvovavOzed::GetCellTextSize(int ACol, int ARow, bool VS, bool SB)
{
    return CalcCellTextSize(ACol, RealToDisplCol(ACol), ARow, VS, SB);
}

TSize TVerIvovavOzed::CalcCellTextSize(int ACol, int DCol, int ARow, bool VS, bool SB)
{
    TSize result{0, 0};
    try {
        QString text = GetFormattedCell(ACol, ARow);
        const int kind = ClassifyCellText(text, EnableHTML());
        TCanvas canvas; // measures like the screen
        TGridDrawState state;
        TBrush brush;
        GetFontProperties(DCol, ACol, ARow, state, canvas.Font(), brush, true);
        if ((ARow < FixedRows() || ACol < FixedCols()) && ActiveCellShow() && (FActiveCellFont.Style() & fsBold))
            canvas.Font().SetStyle(canvas.Font().Style() | fsBold);
        if (FZoomFactor != 0)
            canvas.Font().SetSize(canvas.Font().Size() + FZoomFactor);

        TRect r = CellRect(DCol, ARow);
        r.Left += FXYOffset.X;
        r.Top += FXYOffset.Y;
        if (!FXYOffsetTopLeftOnly) {
            r.Right -= FXYOffset.X;
            r.Bottom -= FXYOffset.Y;
        }
        if (VS)
            r.Right -= 17;

        if (kind == ctkHtml) {
            if (!SB)
                r.Right = 65535;
            r.Bottom = 65535;
            TMarkupRenderParams p;
            p.MeasureOnly = true;
            p.Selected = true;
            p.BlinkVisible = true;
            p.WordWrap = !EnhTextSize();
            p.HoverAnchor = 0;
            p.AnchorColor = URLColor();
            p.Window = this;
            p.Images = GetCellImageList(ACol, ARow);
            p.PictureCache = FImageCache.get();
            p.PictureContainer = FPictureContainer;
            TMarkupRenderResult res;
            RenderMarkupText(canvas, text, r, p, res);
            return {res.Width + 2, res.Height + 2};
        }

        if (kind == ctkRtf) {
            // The size the rich edit asks for: without word wrap its natural width, with it the
            // height at the cell's width.
            DEriRevaDodo* re = RichEdit();
            re->Clear();
            CellToRich(ACol, ARow, *re);
            QTextDocument* doc = re->document();
            doc->setTextWidth(WordWrap() ? std::max(0, r.Right - r.Left) : 1e6);
            const QSizeF s = doc->size();
            double natural = 0;
            for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
                if (QTextLayout* l = b.layout())
                    for (int i = 0; i < l->lineCount(); ++i)
                        natural = std::max(natural, l->lineAt(i).naturalTextWidth());
            const int w = int(std::ceil(WordWrap() ? s.width() : natural));
            return {w, int(std::ceil(s.height())) + 4};
        }

        int angle = 0;
        const TCellGraphic* g = GetCellGraphic(ACol, ARow);
        const bool rotated = g && g->CellType() == ctRotated;
        if (rotated)
            angle = g->CellAngle();

        if (SB) {
            InflateRect(r, -2, -2);
            if (EditorMode() && ACol == RealCol() && ARow == Row() && text.endsWith(QLatin1Char('\n')))
                text += QLatin1Char('w');
            const unsigned flags = DT_CALCRECT | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS |
                                   (rotated ? DT_SINGLELINE : DT_WORDBREAK);
            const int h = DrawTextEx(canvas, text, r, flags);
            result = {r.Right - r.Left, h};
        } else {
            QString rest = text;
            int lines = 0;
            int widest = 0;
            do {
                QString line = Multilinecells() ? FirstLine(rest, true) : rest;
                if (!Multilinecells())
                    rest.clear();
                if (URLShow() && !URLFull() && kind == ctkPlain)
                    StripUrlScheme(line);
                widest = std::max(widest, canvas.TextWidth(line));
                ++lines;
            } while (!rest.isEmpty());
            result = {widest, canvas.TextHeight(QStringLiteral("gh")) * lines};
        }
        if (rotated) {
            const double a = angle * M_PI / 180.0;
            const int w = result.cx, h = result.cy;
            const int x1 = std::abs(int(std::nearbyint(w * std::cos(a))));
            const int y1 = std::abs(int(std::nearbyint(h * std::sin(a))));
            const int x2 = std::abs(int(std::nearbyint(w * std::sin(a))));
            const int y2 = std::abs(int(std::nearbyint(h * std::cos(a))));
            result = {std::abs(y1 - x1) + 12, std::abs(y2 - x2) + 12};
        }
    } catch (const std::exception&) {
    }
    return result;
}

void TVerIvovavOzed::DrawCellBackgroundBitmap(TCanvas& ACanvas, const TRect& C)
{
    TBitmap& b = FBackGround->Bitmap();
    const TRect pic(FBackGround->Left(), FBackGround->Top(), FBackGround->Left() + b.Width(),
                    FBackGround->Top() + b.Height());
    TRect part;
    if (!IntersectRect(part, pic, C))
        return;
    ACanvas.SetBkMode(TRANSPARENT);
    TRect src = part;
    OffsetRect(src, -pic.Left, -pic.Top);
    ACanvas.CopyRect(part, b.Canvas(), src);
}

void TVerIvovavOzed::DrawCellBackgroundTiles(TCanvas& ACanvas, const TRect& C)
{
    TBitmap& b = FBackGround->Bitmap();
    const int bw = b.Width(), bh = b.Height();
    if (bw <= 0 || bh <= 0)
        return;
    const TCellPaintValues& v = FPaint;
    const bool fromZero = FBackGround->Cells() != bcNormal;
    const int firstCol = fromZero ? 0 : FixedCols();
    const int firstRow = fromZero ? 0 : FixedRows();
    long long sx = 0, sy = 0;
    for (int c = firstCol; c < v.Col; ++c)
        sx += ColWidths(c);
    for (int r = firstRow; r < v.Row; ++r)
        sy += RowHeights(r);
    const int phaseX = int(sx % bw), phaseY = int(sy % bh);
    ACanvas.SetBkMode(TRANSPARENT);
    int y = C.Top - 1, py = phaseY;
    while (y < C.Bottom) {
        const int th = std::min(bh - py, C.Bottom - y);
        int x = C.Left - 1, px = phaseX;
        while (x < C.Right) {
            const int tw = std::min(bw - px, C.Right - x);
            ACanvas.CopyRect(TRect(x, y, x + tw, y + th), b.Canvas(), TRect(px, py, px + tw, py + th));
            x += tw;
            px = 0;
        }
        y += th;
        py = 0;
    }
}
