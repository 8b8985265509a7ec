// Printed cells: the size of a cell on the page and the drawing of one row of a strip, in tenths
// of a millimetre with the y axis up, on a canvas the print engine has set up.
#include "grid/AdvGrid.h"

#include "render/RuvOdid.h"
#include "render/VurADIDO.h"

#include "platform/Picture.h"
#include "platform/Printer.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The lines of a cell text: split at line ends with multi-line cells, else the text whole.
QStringList PrintLines(const QString& text, bool multiline)
{
    if (!multiline)
        return {text};
    QStringList lines;
    QString rest = text;
    do {
        lines << FirstLine(rest, true);
    } while (!rest.isEmpty());
    return lines;
}

// A line as shown: without its URL scheme when links show without it.
QString ShownLine(const QString& line, bool urlShow, bool urlFull)
{
    if (!urlShow || urlFull || !IsUrl(line))
        return line;
    QString shown = line;
    StripUrlScheme(shown);
    return shown;
}

// Set while the contents of a merged cell cut at the page bottom are drawn: the range then counts
// as one row, so nothing runs into the footer.
bool gCellCut = false;

// What cell markup on a page is rendered with, measured or drawn.
TMarkupRenderParams PageMarkup(TVerIvovavOzed& g, double ResRatio, int RCol, int ARow)
{
    TMarkupRenderParams p;
    p.Printing = true;
    p.WordWrap = !g.EnhTextSize();
    p.ResFactor = ResRatio;
    p.AnchorColor = g.URLColor();
    p.Window = &g;
    p.Images = g.GetCellImageList(RCol, ARow);
    p.PictureCache = g.ImageCache();
    p.PictureContainer = g.PictureContainer();
    return p;
}

} // namespace

void TVerIvovavOzed::GetCellLooks(int ACol, int ARow, bool Print, bool Remap, TCellLooks& Looks)
{
    TGridDrawState state;
    Looks.WordWrap = WordWrap();
    GetVisualProperties(ACol, ARow, state, Print, false, Remap, Looks.Brush, Looks.ColorTo, Looks.Mirror,
                        Looks.MirrorTo, Looks.Font, Looks.HAlign, Looks.VAlign, Looks.WordWrap, Looks.Gradient);
}

TPoint TVerIvovavOzed::PrintCellSize(TPrintRun& Run, int RCol, int DCol, int ARow)
{
    TCanvas& cv = *Run.Canvas;
    const TPrintSettings& ps = *FPrintSettings;
    const TFont keepFont = cv.Font();

    QString text = GetFormattedCell(RCol, ARow);
    const int kind = ClassifyCellText(text, EnableHTML());
    if (kind == ctkRtf)
        text = RichCellPlainText(text); // rich text is measured by its plain text
    else if (kind == ctkFormula)
        EvaluateFormula(RCol, ARow, text);

    TCellLooks looks;
    looks.Font.Assign(ps.Font());
    GetCellLooks(DCol, ARow, true, true, looks);
    bool ww = WordWrap();
    GetCellWordWrap(RCol, ARow, ww);
    looks.Font.SetHeight(MapFontHeight(looks.Font.Size()));
    TCellGraphic* graphic = GetCellGraphic(RCol, ARow);
    const bool rotated = graphic && graphic->CellType() == ctRotated;
    const int angle = rotated ? graphic->CellAngle() : 0;
    // A turned cell is measured along its text; the turn is applied to the extents below.
    cv.SetFont(looks.Font);
    TPoint gsize;
    if (ps.PrintGraphics() && graphic && !rotated) {
        const TPoint px = GetCellGraphicSize(RCol, ARow);
        gsize = TPoint(PrintRound(px.X * Run.P), PrintRound(px.Y * Run.P));
    }

    TPoint size;
    int widest = 0;
    if (kind == ctkHtml) {
        // Markup is laid out in device pixels in the print font's point size, then brought back to
        // tenths of a millimetre.
        const TMapMode mode = cv.MapMode();
        cv.SetMapMode(mmText);
        TFont pxFont;
        pxFont.Assign(ps.Font());
        pxFont.SetPixelsPerInch(cv.PixelsPerInchY());
        pxFont.SetSize(ps.Font().Size());
        cv.SetFont(pxFont);
        TRect r(0, 0, 65535, 65535);
        if (ps.NoAutoSize())
            r.Right = int(std::lround((ColWidths(DCol) + 12) * Run.ResRatio));
        TMarkupRenderParams p = PageMarkup(*this, Run.ResRatio, RCol, ARow);
        p.MeasureOnly = true;
        p.Selected = true;
        TMarkupRenderResult res;
        RenderMarkupText(cv, text, r, p, res);
        cv.SetMapMode(mode);
        const int w = int(std::lround(res.Width * 254.0 / std::max(1, cv.PixelsPerInchX())));
        const int h = int(std::lround(res.Height * 254.0 / std::max(1, cv.PixelsPerInchY())));
        size = TPoint(w, h - PrintRound(Run.D * Run.P));
        widest = size.X;
    } else {
        if (text.isEmpty())
            text = QStringLiteral("gh");
        if (!(ww && ps.NoAutoSize() && !rotated)) {
            const QStringList lines = PrintLines(text, Multilinecells());
            int w = 0;
            for (const QString& l : lines) {
                const int lw = cv.TextWidth(ShownLine(l, URLShow(), URLFull()));
                widest = std::max(widest, lw);
                w = std::max(w, lw + gsize.X);
            }
            size = TPoint(w, cv.TextHeight(QStringLiteral("gh")) * int(lines.size()));
        } else {
            int colW = 0;
            if (IsXMergedCell(DCol, ARow))
                colW = 65535;
            else if (DCol >= 0 && DCol < int(Run.Widths.size()))
                colW = Run.Widths[DCol];
            TRect r(0, 0, colW, 0);
            DrawText(cv, text, r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL);
            size = TPoint(colW, std::abs(r.Bottom - r.Top));
            widest = colW;
        }
    }
    if (rotated) {
        const double rad = angle * std::numbers::pi / 180.0;
        const int w2 = PrintRound(std::fabs(std::cos(rad) * size.X)) + PrintRound(std::fabs(std::sin(rad) * size.Y));
        const int h2 = PrintRound(std::fabs(std::sin(rad) * widest)) + PrintRound(std::fabs(std::cos(rad) * size.Y));
        size = TPoint(w2, h2);
    }
    size.Y = std::max(size.Y, gsize.Y);
    size.X = std::max(size.X, gsize.X);
    cv.SetFont(keepFont);
    if (OnCustomCellSize)
        OnCustomCellSize(this, cv, RCol, ARow, size, true);
    return size;
}

int TVerIvovavOzed::PrintRowCells(TPrintRun& Run, int Y, int FromCol, int ToCol, int ARow, int H)
{
    const TPrintSettings& ps = *FPrintSettings;
    const int Hr = 2 * Run.D + H + ps.RowSpacing();
    if (!Run.PageDrawn(FPrintPageFrom, FPrintPageTo))
        return Hr;
    TCanvas& cv = *Run.Canvas;
    FPrintFitFactor = Run.F;
    const int stripRight = Run.Indents[Run.C1 + 1];

    for (int c = FromCol; c <= ToCol; ++c) {
        if (!PrintColumnPrinted(Run, c))
            continue;
        const int rc = RealColIndex(c);
        const TPoint ext = CellExt(c, ARow);
        const TPoint span = CellSpan(c, ARow);
        const bool base = IsBaseCell(c, ARow);
        int cellW = 0;
        for (int k = c; k <= c + ext.X && k < int(Run.Widths.size()); ++k)
            cellW += Run.Widths[k] + Run.S;
        int cellH = 0;
        if (ps.NoAutoSizeRow() && ext.Y > 0) {
            for (int k = ARow; k <= ARow + ext.Y; ++k) {
                const int t = int(std::trunc((RowHeights(k) - 4) * Run.P));
                cellH += t + t / 8 + 2 * Run.D + ps.RowSpacing();
            }
        } else {
            cellH = Hr;
            for (int k = ARow + 1; k <= ARow + ext.Y; ++k) {
                const int t = int(std::trunc((RowHeights(k) - 4) * Run.P));
                cellH += t + t / 8 + 2 * Run.D + ps.RowSpacing();
            }
        }
        TRect R(Run.Indents[c], Y, Run.Indents[c] + cellW, Y - cellH);

        // Border set and pen, then the hook.
        const TPen keepPen = cv.Pen();
        TCellBorders borders;
        switch (ps.Borders()) {
        case pbSingle:
        case pbDouble: borders = TCellBorders(cbTop) | cbLeft | cbRight | cbBottom; break;
        case pbHorizontal:
        case pbAroundHorizontal: borders = TCellBorders(cbTop) | cbBottom; break;
        case pbVertical:
        case pbAroundVertical: borders = TCellBorders(cbLeft) | cbRight; break;
        default: break;
        }
        TPen pen;
        pen.SetWidth(1);
        pen.SetColor(ps.BorderColor());
        pen.SetStyle(ps.BorderStyle());
        GetCellPrintBorder(rc, ARow, pen, borders);
        const int penW = Run.Mode == pmDrawPreview ? pen.Width() : PrintRound(pen.Width() * Run.P);

        const bool cut = R.Bottom < Run.B + ps.FooterSize();
        if (base) {
            // A range running past the page's usable bottom is cut to one row.
            TRect cr = R;
            if (cut)
                cr.Bottom = Y - Hr;
            gCellCut = cut;
            PrintCellContents(Run, c, rc, ARow, cr, borders, penW, Hr);
            gCellCut = false;
        }

        // Lines of a cell inside a merged range that run through the range are left out.
        if (!base) {
            if (span.X > 0 || ext.X > 0)
                borders &= ~TCellBorders(TCellBorders(cbLeft) | cbRight);
            if (span.Y > 0 || ext.Y > 0)
                borders &= ~TCellBorders(TCellBorders(cbTop) | cbBottom);
        }
        if (!base && IsYMergedCell(c, ARow) && ext.Y == 0)
            borders &= ~TCellBorders(cbTop);
        if (!base && IsXMergedCell(c, ARow) && ext.X == 0)
            borders &= ~TCellBorders(cbLeft);
        if (cut) {
            R.Bottom = Y - Hr;
            borders &= ~TCellBorders(cbBottom);
        }
        if (R.Right > Run.W)
            R.Right = stripRight;
        TPen drawPen;
        drawPen.Assign(pen);
        drawPen.SetWidth(penW);
        cv.SetPen(drawPen);
        const TPoint bc = BaseCell(c, ARow);
        const int leftX = bc.X < c ? R.Left - penW : R.Left;
        if (borders & cbLeft) {
            cv.MoveTo(leftX, R.Top);
            cv.LineTo(leftX, R.Bottom);
        }
        if (borders & cbRight) {
            cv.MoveTo(R.Right, R.Top);
            cv.LineTo(R.Right, R.Bottom);
        }
        if (borders & cbTop) {
            cv.MoveTo(R.Left, R.Top);
            cv.LineTo(R.Right, R.Top);
        }
        if (borders & cbBottom) {
            cv.MoveTo(R.Left, R.Bottom);
            cv.LineTo(R.Right, R.Bottom);
        }
        cv.SetPen(keepPen);
    }
    FPrintFitFactor = 1.0;
    return Hr;
}

void TVerIvovavOzed::PrintCellContents(TPrintRun& Run, int DCol, int RCol, int ARow, const TRect& R,
                                       TCellBorders Borders, int PenWidth, int Hr)
{
    TCanvas& cv = *Run.Canvas;
    const TPrintSettings& ps = *FPrintSettings;
    const TFont keepFont = cv.Font();
    const TBrush keepBrush = cv.Brush();
    const int keepBk = cv.BkMode();

    TCellLooks looks;
    looks.Font.Assign(cv.Font());
    looks.Font.SetSize(ps.Font().Size());
    looks.Brush.SetStyle(bsSolid);
    GetCellLooks(RCol, ARow, true, false, looks);
    const int cellPoints = looks.Font.Size();
    looks.Font.SetHeight(MapFontHeight(looks.Font.Size()));
    bool ww = WordWrap();
    GetCellWordWrap(RCol, ARow, ww);

    QString text = GetFormattedCell(RCol, ARow);
    const int kind = ClassifyCellText(text, EnableHTML());
    if (kind == ctkRtf)
        text.clear(); // rich text is drawn by the grid's rich-text cell drawing below
    else if (kind == ctkFormula)
        EvaluateFormula(RCol, ARow, text);

    // Background: a gradient from the end colour at the bottom to the brush colour at the top.
    TRect bg = R;
    if (!(Borders & cbLeft))
        bg.Left += 2 * PenWidth;
    if (!(Borders & cbTop))
        bg.Top -= 2 * PenWidth;
    const TColor from = looks.Brush.Color();
    if (from != clNone && looks.Brush.Style() != bsClear) {
        if (looks.ColorTo == clNone) {
            TBrush b;
            b.SetColor(from);
            cv.SetBrush(b);
            cv.FillRect(bg);
        } else {
            const int height = bg.Top - bg.Bottom;
            const int bands = std::max(1, std::min(64, height));
            const QColor c1 = ToQColor(from), c2 = ToQColor(looks.ColorTo);
            for (int i = 0; i < bands; ++i) {
                const double t = bands > 1 ? double(i) / (bands - 1) : 0.0;
                const int r = int(c1.red() + (c2.red() - c1.red()) * t);
                const int g = int(c1.green() + (c2.green() - c1.green()) * t);
                const int b = int(c1.blue() + (c2.blue() - c1.blue()) * t);
                TBrush band;
                band.SetColor(TColor(r | (g << 8) | (b << 16)));
                cv.SetBrush(band);
                const int top = bg.Top - height * i / bands;
                const int bottom = bg.Top - height * (i + 1) / bands;
                cv.FillRect(TRect(bg.Left, top, bg.Right, bottom));
            }
        }
    }

    TAlignment cellHa = looks.HAlign;
    TVAlignment cellVa = looks.VAlign;
    GetCellAlignment(RCol, ARow, cellHa, cellVa);
    cv.SetFont(looks.Font);
    TBrush clear;
    clear.SetStyle(bsClear);
    cv.SetBrush(clear);
    cv.SetBkMode(TRANSPARENT);

    const int U = Run.U;
    const int D = Run.D;
    TPoint ext = CellExt(DCol, ARow);
    if (gCellCut)
        ext.Y = 0;
    const QStringList lines = PrintLines(text, Multilinecells());
    TRect tr = R;
    if (tr.Right > Run.W)
        tr.Right = Run.Indents[Run.C1 + 1];

    TCellGraphic* graphic = GetCellGraphic(RCol, ARow);
    const bool rotated = graphic && graphic->CellType() == ctRotated;
    bool drawText = true;
    if (graphic && !rotated && ps.PrintGraphics())
        PrintCellGraphic(Run, DCol, RCol, ARow, tr, looks.Brush, looks.HAlign, drawText);

    int e1 = 0, e2 = 0, e3 = 0, e4 = 0;
    if (rotated) {
        const int angle = graphic->CellAngle();
        // Printer drivers that turn text the other way get the angle as it is.
        const bool positive = Run.Mode == pmDrawPrint && !FIsPrintPreview && FPrinterDriverFix &&
                              platform::Printer().OrientationCapability() != 270;
        // Our canvas turns text counter-clockwise on the page in either mapping, so the usual
        // case takes the angle as it is and the driver fix the other way round.
        // Extents measured along the text, before the font is turned.
        int wm = 0;
        for (const QString& l : lines)
            wm = std::max(wm, cv.TextWidth(l));
        const int lh0 = cv.TextHeight(QStringLiteral("gh")) + ps.RowSpacing();
        looks.Font.SetOrientation(positive ? -angle * 10 : angle * 10);
        cv.SetFont(looks.Font);
        const int LH = lh0 + lh0 / 8;
        const double rad = angle * std::numbers::pi / 180.0;
        e1 = std::abs(int(std::trunc(std::cos(rad) * wm)));
        e2 = std::abs(int(std::trunc(std::sin(rad) * LH)));
        e3 = std::abs(int(std::trunc(std::sin(rad) * wm)));
        e4 = std::abs(int(std::trunc(std::cos(rad) * LH)));
    }

    if (!drawText) {
    } else if (kind == ctkRtf) {
        DrawRichTextCell(RCol, ARow, tr, cv);
    } else if (kind == ctkHtml) {
        // Markup is drawn in device pixels, the font scaled by the fit factor.
        TRect dr = cv.LPtoDP(tr);
        const TMapMode mode = cv.MapMode();
        cv.SetMapMode(mmText);
        dr.Right -= U + PrintRound(2 * Run.P);
        dr.Bottom += PrintRound(D * Run.P);
        TFont pxFont;
        pxFont.Assign(looks.Font);
        pxFont.SetPixelsPerInch(cv.PixelsPerInchY());
        pxFont.SetSize(int(std::trunc(cellPoints * Run.F)));
        cv.SetFont(pxFont);
        const TMarkupRenderParams p = PageMarkup(*this, Run.ResRatio, RCol, ARow);
        TMarkupRenderResult res;
        RenderMarkupText(cv, text, dr, p, res);
        cv.SetFont(looks.Font);
        cv.SetMapMode(mode);
    } else if (rotated) {
        tr.Bottom = tr.Top - Hr - ps.RowSpacing();
        if (ext.Y > 0)
            tr.Bottom -= ext.Y * (ps.RowSpacing() + Hr);
        tr.Top += U;
        tr.Bottom -= U;
        const TRect clip = tr;
        TRect start = tr;
        RotatedTextStart(start, graphic->CellAngle(), cellHa, cellVa, -e4, -e3, e2, e1);
        cv.TextRect(clip, start.Left, start.Top, lines.join(QLatin1Char(' ')));
    } else if (ww && ps.NoAutoSize()) {
        tr.Left += PrintRound(2 * Run.P);
        unsigned flags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;
        tr.Left += U;
        tr.Right -= U;
        if (cellHa == taRightJustify)
            flags |= DT_RIGHT;
        else if (cellHa == taCenter)
            flags |= DT_CENTER;
        tr.Top -= D;
        DrawText(cv, text, tr, flags);
    } else if (lines.size() <= 1) {
        // One line.
        const QString line = ShownLine(lines.value(0), URLShow(), URLFull());
        tr.Bottom = tr.Top - Hr - ps.RowSpacing();
        if (ext.Y > 0)
            tr.Bottom -= ext.Y * (ps.RowSpacing() + Hr);
        unsigned flags = DT_SINGLELINE | DT_NOPREFIX | DT_EDITCONTROL;
        if (EnhTextSize() && ps.NoAutoSize()) {
            flags |= DT_END_ELLIPSIS;
            tr.Left += XYOffset().X;
            tr.Top = R.Top - XYOffset().Y;
        } else {
            tr.Left += U;
            tr.Right -= U;
            tr.Top -= D;
        }
        if (cellHa == taRightJustify)
            flags |= DT_RIGHT;
        else if (cellHa == taCenter)
            flags |= DT_CENTER;
        // Vertical place worked out here: the y axis of the page points up.
        const int th = cv.TextHeight(QStringLiteral("gh"));
        int top = tr.Top;
        if (cellVa == vtaCenter)
            top = tr.Top - ((tr.Top - tr.Bottom) - th) / 2;
        else if (cellVa == vtaBottom)
            top = tr.Bottom + th;
        if (top > tr.Top)
            top = tr.Top;
        TRect lr(tr.Left, top, tr.Right, top - th);
        DrawText(cv, line, lr, flags);
    } else {
        const int lh0 = cv.TextHeight(QStringLiteral("gh")) + ps.RowSpacing();
        const int LH = lh0 + lh0 / 8;
        const int step = LH - ps.RowSpacing();
        const int n = int(lines.size());
        int drop = 0;
        const bool merged = ext.X > 0 || CellExt(DCol, ARow).Y > 0 || IsMergedCell(DCol, ARow);
        if (!merged) {
            if (cellVa == vtaCenter)
                drop = (Hr - step * n) / 2;
            else if (cellVa == vtaBottom)
                drop = Hr - step * n;
        }
        for (int i = 0; i < n; ++i) {
            const QString l = ShownLine(lines[i], URLShow(), URLFull());
            const int w = cv.TextWidth(l);
            int x = tr.Left + U;
            if (cellHa == taRightJustify)
                x = tr.Right - U - w;
            else if (cellHa == taCenter)
                x = tr.Left + (tr.Right - tr.Left - w) / 2;
            cv.TextRect(tr, x, tr.Top - drop - i * step, l);
        }
    }

    cv.SetFont(keepFont);
    cv.SetBrush(keepBrush);
    cv.SetBkMode(keepBk);

    if (OnCustomCellDraw) {
        const TMapMode mode = cv.MapMode();
        const TRect dr = cv.LPtoDP(TRect(R.Left, R.Top, R.Right, R.Top - Hr));
        cv.SetMapMode(mmText);
        OnCustomCellDraw(this, cv, RCol, ARow, TGridDrawState(), dr, true);
        cv.SetMapMode(mode);
    }
}

void TVerIvovavOzed::PrintCellGraphic(TPrintRun& Run, int DCol, int RCol, int ARow, TRect& R, const TBrush& Brush,
                                      TAlignment CellHa, bool& DrawText)
{
    Q_UNUSED(DCol);
    TCanvas& cv = *Run.Canvas;
    TCellGraphic* g = GetCellGraphic(RCol, ARow);
    if (!g)
        return;
    const TCellType type = g->CellType();
    // The drawing size: bitmaps and icons at their full size, pictures fitted into the cell.
    TPoint px;
    CalcPrintCellGraphicSize(RCol, ARow, px, 1.0, int((R.Right - R.Left) / Run.P), int((R.Top - R.Bottom) / Run.P));
    if (type == ctInterface)
        if (auto* d = dynamic_cast<ICellDrawing*>(g->CellBitmap().As<TGridCellObject>())) {
            // The size it reports; a side of 0 is the cell's.
            const TPoint want = d->GetSize();
            if (want.X > 0)
                px.X = want.X;
            if (want.Y > 0)
                px.Y = want.Y;
            if (px.X <= 0)
                px.X = int((R.Right - R.Left) / Run.P);
            if (px.Y <= 0)
                px.Y = int((R.Top - R.Bottom) / Run.P);
        }
    int gw = PrintRound(px.X * Run.P);
    int gh = PrintRound(px.Y * Run.P);
    // A progress bar fills the cell and writes its own value.
    const TRect cellR = R;
    if (type == ctRadio || type == ctProgress)
        DrawText = false;
    const bool check = type == ctCheckBox || type == ctDataCheckBox || type == ctVirtCheckBox ||
                       type == ctRowCheckBox || type == ctRadioButton;
    const bool hasText = !GetFormattedCell(RCol, ARow).isEmpty();

    int gl = R.Left;
    switch (g->CellHAlign()) {
    case haLeft:
    case haBeforeText:
        gl = R.Left + PrintRound(Run.P);
        R.Left = gl + gw;
        break;
    case haRight:
    case haAfterText:
        gl = R.Right - gw;
        R.Right = gl;
        break;
    case haCenter: gl = (R.Left + R.Right - gw) / 2; break;
    case haFull:
        gl = R.Left;
        gw = R.Right - R.Left;
        break;
    }
    if (check && !hasText) {
        if (CellHa == taRightJustify)
            gl = R.Right - gw;
        else if (CellHa == taCenter)
            gl = (R.Left + R.Right - gw) / 2;
    }
    // y is up: the top of R is its larger y.
    int gt = R.Top;
    const int height = R.Top - R.Bottom;
    switch (g->CellVAlign()) {
    case vaTop: gt = R.Top; break;
    case vaBottom: gt = R.Bottom + gh; break;
    case vaCenter: gt = R.Top - (height - gh) / 2; break;
    case vaUnderText:
        gt = R.Bottom + gh;
        R.Bottom = gt;
        break;
    case vaAboveText:
        gt = R.Top;
        R.Top = gt - gh;
        break;
    case vaFull:
        gt = R.Top;
        gh = height;
        break;
    }
    const TRect gr(gl, gt, gl + gw, gt - gh);

    if (type == ctNode) {
        const int cx = (gr.Left + gr.Right) / 2;
        const int cy = (gr.Top + gr.Bottom) / 2;
        const TPen keepPen = cv.Pen();
        const TBrush keepBrush = cv.Brush();
        TPen pen;
        pen.SetColor(CellNode().NodeColor());
        cv.SetPen(pen);
        TBrush clear;
        clear.SetStyle(bsClear);
        cv.SetBrush(clear);
        cv.Rectangle(cx - 10, cy + 10, cx + 10, cy - 10);
        cv.MoveTo(cx - 6, cy);
        cv.LineTo(cx + 6, cy);
        if (GetNodeState(ARow)) { // contracted
            cv.MoveTo(cx, cy + 6);
            cv.LineTo(cx, cy - 6);
        }
        cv.SetBrush(keepBrush);
        cv.SetPen(keepPen);
        return;
    }

    // The other graphics are pictures and controls laid out top down in pixels: they are drawn in
    // the device's pixels, at the scale of the device to the screen.
    const TRect dev = cv.LPtoDP(gr);
    const TRect devCell = cv.LPtoDP(R);
    // A progress bar stands 2 pixels in from the cell's top and 4 from its bottom, at print scale.
    const TRect devBar = cv.LPtoDP(TRect(cellR.Left, cellR.Top - PrintRound(2 * Run.P), cellR.Right,
                                         cellR.Bottom + PrintRound(4 * Run.P)));
    const TMapMode mode = cv.MapMode();
    const TFont keepFont = cv.Font();
    // The drawing routines leave their own pen and brush behind; the text after them must not
    // get a filled background.
    const TPen keepPen = cv.Pen();
    const TBrush keepBrush = cv.Brush();
    TFont pxFont;
    pxFont.Assign(keepFont);
    pxFont.SetHeight(-std::abs(int(std::lround(keepFont.Height() * cv.PixelsPerInchY() / 254.0))));
    cv.SetMapMode(mmText);
    cv.SetFont(pxFont);
    const double scale = cv.PixelsPerInchX() / 96.0;
    switch (type) {
    case ctBitmap:
        if (g->Bitmap())
            cv.StretchDraw(dev, g->Bitmap());
        break;
    case ctPicture:
        if (const TPicture* p = g->Picture(); p && p->Graphic())
            cv.StretchDraw(dev, p->Graphic());
        break;
    case ctIcon:
        if (g->Icon())
            cv.StretchDraw(dev, g->Icon());
        break;
    case ctFilePicture:
        if (const TFilePicture* fp = g->FilePicture())
            fp->DrawPicture(cv, dev);
        break;
    case ctImageList:
    case ctDataImage: {
        // The image on a bitmap of its size filled with the cell's colour, stretched.
        const TCustomImageList* il = GetCellImageList(RCol, ARow);
        const int index = type == ctImageList ? g->CellIndex() : PaintInt(RCol, ARow);
        if (!il || index < 0 || index >= il->Count())
            break;
        QImage img(il->Width(), il->Height(), QImage::Format_RGB32);
        img.fill(ToQColor(Brush.Color() == clNone ? clWhite : Brush.Color()));
        {
            TCanvas ic(&img);
            il->Draw(ic, 0, 0, index);
        }
        cv.DrawImage(dev, img);
        break;
    }
    case ctImages: {
        // Each image of the list side by side, or one under the other.
        const TCustomImageList* il = GetCellImageList(RCol, ARow);
        const TIntList* list = g->Images();
        if (!il || !list)
            break;
        const int w = int(std::lround(il->Width() * scale));
        const int h = int(std::lround(il->Height() * scale));
        int x = dev.Left, y = dev.Top;
        for (int i = 0; i < list->Count(); ++i) {
            const QImage img = il->Image(list->Items(i));
            if (!img.isNull())
                cv.DrawImage(TRect(x, y, x + w, y + h), img);
            if (g->CellBoolean())
                x += w;
            else
                y += h;
        }
        break;
    }
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox: {
        const bool checked = type == ctRowCheckBox ? RowSelect(ARow) : g->CellBoolean();
        unsigned state = DFCS_BUTTONCHECK | (checked ? DFCS_CHECKED : 0u);
        if (ControlLook().ControlStyle() == csFlat)
            state |= DFCS_FLAT;
        DrawFrameControl(cv, dev, DFC_BUTTON, state);
        break;
    }
    case ctRadioButton:
        DrawFrameControl(cv, dev, DFC_BUTTON, DFCS_BUTTONRADIO | (g->CellBoolean() ? DFCS_CHECKED : 0u));
        break;
    case ctRadio: {
        const platform::TStringList* items = g->CellBitmap().As<platform::TStringList>();
        DrawRadioCell(cv, devCell, false, scale, ControlLook().ControlStyle(), ARow, RCol, false, items, false,
                      g->CellBoolean(), g->CellIndex(), items ? items->Count() : 0);
        break;
    }
    case ctProgress: {
        const TControlLook& cl = ControlLook();
        const TColor bar = g->CellBitmap().As<TColor>() ? *g->CellBitmap().As<TColor>() : clRed;
        const TColor back = g->CellIcon().As<TColor>() ? *g->CellIcon().As<TColor>() : clWhite;
        const TColor barText = g->CellBoolean() ? TColor(g->CellIndex()) : TColor(bar ^ 0xFFFFFF);
        const TColor backText = g->CellBoolean() ? TColor(g->CellAngle()) : TColor(back ^ 0xFFFFFF);
        double lo = g->CellErrFrom(), hi = g->CellErrLen();
        if (hi <= lo) {
            lo = 0;
            hi = 100;
        }
        DrawProgressBar(cv, devBar, bar, barText, back, backText, cl.ProgressBorderColor(), g->CellText(), lo, hi,
                        PaintInt(RCol, ARow), int(std::lround(cl.ProgressMarginX() * scale)),
                        int(std::lround(cl.ProgressMarginY() * scale)), false);
        break;
    }
    case ctProgressPie: {
        // The pie's colour and value live in the object (a bare object shows the cell's number).
        const TColor* pie = g->CellBitmap().As<TColor>();
        DrawPieValue(cv, dev, pie ? *pie : TColor(g->CellIndex()), false,
                     LimitPercent(pie ? g->CellAngle() : PaintFloat(RCol, ARow)));
        break;
    }
    case ctInterface: {
        auto* drawing = dynamic_cast<ICellDrawing*>(g->CellBitmap().As<TGridCellObject>());
        if (!drawing)
            break;
        TPoint sz = drawing->GetSize();
        if (sz.X <= 0)
            sz.X = dev.Right - dev.Left;
        if (sz.Y <= 0)
            sz.Y = dev.Bottom - dev.Top;
        if (sz.X <= 0 || sz.Y <= 0)
            break;
        QImage img(sz.X, sz.Y, QImage::Format_RGB32);
        img.fill(ToQColor(Brush.Color() == clNone ? clWhite : Brush.Color()));
        {
            TCanvas ic(&img);
            drawing->Draw(ic, TRect(0, 0, sz.X, sz.Y));
        }
        cv.DrawImage(dev, img);
        break;
    }
    default: break;
    }
    cv.SetPen(keepPen);
    cv.SetBrush(keepBrush);
    cv.SetFont(keepFont);
    cv.SetMapMode(mode);
}
