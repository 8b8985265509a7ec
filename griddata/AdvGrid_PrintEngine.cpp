// The print engine: measures the print rectangle in the print font, scales it to the page, cuts
// it into strips of columns and pages of rows, and draws the page texts and frames. Page geometry
// is in tenths of a millimetre with the y axis up (the top of the page at 0).
#include "grid/AdvGrid.h"

#include "platform/Services.h"
#include "render/RuvOdid.h"
#include "render/VurADIDO.h"
#include "platform/SysUtils.h"

#include <QDateTime>
#include <algorithm>
#include <climits>
#include <cmath>

namespace {

bool IsTop(TPrintPosition p) { return p == ppTopLeft || p == ppTopRight || p == ppTopCenter; }
bool IsBottom(TPrintPosition p) { return p == ppBottomLeft || p == ppBottomRight || p == ppBottomCenter; }

platform::TDateTime NowDateTime()
{
    const QDateTime now = platform::TheServices().LocalTime();
    const QDate d = now.date();
    const QTime t = now.time();
    platform::TDateTime date = 0;
    platform::TDateTime time = 0;
    platform::TryEncodeDate(d.year(), d.month(), d.day(), date);
    platform::TryEncodeTime(t.hour(), t.minute(), t.second(), t.msec(), time);
    return date + time;
}

// Adds an item to one of the six page texts: in front on the left, behind elsewhere.
void AddItem(QString& text, TPrintPosition pos, const QString& item)
{
    if (pos == ppTopLeft || pos == ppBottomLeft)
        text = item + QLatin1Char(' ') + text;
    else
        text = text + QLatin1Char(' ') + item;
}

// Room the markup title at the top of the page being drawn takes (0 without one).
int gHtmlTitleHeight = 0;

} // namespace

int TVerIvovavOzed::PrintRound(double v)
{
    return int(std::nearbyint(v));
}

int TVerIvovavOzed::MapFontHeight(int pointsize) const
{
    return -int(std::trunc(double(pointsize) * 254.0 / 72.0 * FPrintFitFactor));
}

int TVerIvovavOzed::MapFontSize(int Height) const
{
    return int(std::trunc(double(Height) * 72.0 / 254.0));
}

namespace {

// A run prints every line unless it prints the selection only; then the fixed lines still print
// when the settings say so.
bool PrintsEveryLine(bool SelOnly, const TPrintSettings& Settings, bool Fixed)
{
    return !SelOnly || (Fixed && Settings.FixedCellsAlways);
}

} // namespace

bool TVerIvovavOzed::PrintColumnPrinted(const TPrintRun& Run, int ACol)
{
    if (PrintsEveryLine(Run.SelOnly, *FPrintSettings, ACol < FixedCols()))
        return true;
    const TMouseActions& ma = MouseActions();
    if (ma.DisjunctRowSelect())
        return true;
    if (ma.DisjunctColSelect())
        return ColSelect(ACol);
    const TGridRect s = Selection();
    return ACol >= s.Left && ACol <= s.Right;
}

bool TVerIvovavOzed::PrintRowPrinted(const TPrintRun& Run, int ARow)
{
    if (PrintsEveryLine(Run.SelOnly, *FPrintSettings, ARow < FixedRows()))
        return true;
    const TMouseActions& ma = MouseActions();
    if (ma.DisjunctRowSelect())
        return RowSelect(ma.RowSelectPersistent() ? RealRowIndex(ARow) : ARow);
    const TGridRect s = Selection();
    return ARow >= s.Top && ARow <= s.Bottom;
}

int TVerIvovavOzed::PrintRowHeight(TPrintRun& Run, int ARow)
{
    const TPrintSettings& ps = *FPrintSettings;
    if (ps.NoAutoSizeRow())
        return PrintRound(RowHeights(ARow) * Run.P) - 4;
    if (Run.CachedRow == ARow)
        return Run.CachedHeight;
    int h = 0;
    if (ps.UseFixedHeight()) {
        h = ps.FixedHeight();
    } else {
        bool any = false;
        const double keep = FPrintFitFactor;
        FPrintFitFactor = Run.F;
        for (int c = FPrintRect.Left; c <= FPrintRect.Right; ++c) {
            if (!PrintColumnPrinted(Run, c) || IsYMergedCell(c, ARow))
                continue;
            const TPoint sz = PrintCellSize(Run, RealColIndex(c), c, ARow);
            Run.LastMeasuredHeight = sz.Y;
            h = any ? std::max(h, sz.Y) : sz.Y;
            any = true;
        }
        FPrintFitFactor = keep;
        if (!any)
            h = Run.LastMeasuredHeight;
        h += h / 8;
        if (OnPrintSetRowHeight)
            OnPrintSetRowHeight(this, ARow, h);
    }
    Run.CachedRow = ARow;
    Run.CachedHeight = h;
    return h;
}

void TVerIvovavOzed::PrintAreas(TPrintRun& Run)
{
    const TPrintSettings& ps = *FPrintSettings;
    const TPrintPosition items[4] = {ps.Time(), ps.Date(), ps.PageNr(), ps.Title()};
    bool top = false;
    bool bottom = false;
    for (TPrintPosition p : items) {
        top = top || IsTop(p);
        bottom = bottom || IsBottom(p);
    }
    const int lines = ps.TitleLines().Count();
    if (top) {
        Run.Ha = Run.D + Run.Hh + ps.HeaderSize();
        if (lines > 0 && IsTop(ps.Title()))
            Run.Ha += (lines - 1) * Run.Hh;
    } else {
        Run.Ha = ps.HeaderSize();
    }
    if (bottom) {
        Run.Fa = 2 * (Run.D + Run.Hf) + ps.FooterSize();
        if (lines > 0 && IsBottom(ps.Title()))
            Run.Fa += (lines - 1) * Run.Hf;
    } else {
        Run.Fa = Run.D + Run.Hf + ps.FooterSize();
    }
}

void TVerIvovavOzed::PrintPageTexts(TPrintRun& Run)
{
    TPrintSettings& ps = *FPrintSettings;
    TCanvas& cv = *Run.Canvas;
    QString texts[7]; // by TPrintPosition; 0 unused
    const platform::TDateTime now = NowDateTime();

    if (ps.Time() != ppNone)
        AddItem(texts[ps.Time()], ps.Time(), platform::FormatDateTime(QStringLiteral("hh:nn"), now));
    if (ps.Date() != ppNone)
        AddItem(texts[ps.Date()], ps.Date(), platform::FormatDateTime(ps.DateFormat(), now));
    if (ps.PageNr() != ppNone) {
        QString num;
        if (Run.MultiStrip) {
            num = QString::number(Run.PageInStrip + 1) + QLatin1Char('-') + QString::number(Run.StripNr + 1);
        } else {
            num = QString::number(qint64(Run.PageIndex) + ps.PageNumberOffset() + 1);
            // A fast print counts no pages, so it has no total to show.
            if (!ps.PageNumSep().isEmpty() && Run.Total > 1 && !FFastPrint)
                num += ps.PageNumSep() + QString::number(qint64(Run.Total) + ps.MaxPagesOffset());
        }
        if (OnPrintGetPageNum)
            OnPrintGetPageNum(this, (Run.MultiStrip ? Run.PageInStrip : Run.PageIndex) + 1, Run.StripNr + 1, num);
        AddItem(texts[ps.PageNr()], ps.PageNr(), ps.PagePrefix() + QLatin1Char(' ') + num + QLatin1Char(' ') +
                                                     ps.PageSuffix());
    }
    const TPrintPosition tp = ps.Title();
    QString htmlTitle;
    gHtmlTitleHeight = 0;
    if (tp != ppNone) {
        if (!ps.TitleText().isEmpty()) {
            AddItem(texts[tp], tp, ps.TitleText());
        } else if (ps.TitleLines().Count() > 0 && ClassifyCellText(ps.TitleLines().Text(), true) == ctkHtml) {
            for (int i = 0; i < ps.TitleLines().Count(); ++i)
                htmlTitle += ps.TitleLines().Strings(i);
        } else if (ps.TitleLines().Count() > 0) {
            const QString line = ps.TitleLines().Strings(0);
            QString& t = texts[tp];
            const bool left = tp == ppTopLeft || tp == ppBottomLeft;
            if (t.isEmpty())
                t = line;
            else if (line.isEmpty())
                ;
            else
                t = left ? line + QLatin1Char(' ') + t : t + QLatin1Char(' ') + line;
        }
    }

    const int W = Run.W;
    const int keepBk = cv.BkMode();
    const TFont keepFont = cv.Font();
    cv.SetBkMode(TRANSPARENT);
    const double keepFit = FPrintFitFactor;
    FPrintFitFactor = Run.F;
    auto xFor = [&](TPrintPosition p, int w) {
        switch (p) {
        case ppTopLeft:
        case ppBottomLeft: return ps.LeftSize();
        case ppTopRight:
        case ppBottomRight: return W - w - ps.RightSize() - 20;
        default: return (W - w) / 2;
        }
    };
    const int lines = ps.TitleLines().Count();
    const bool moreTitle = ps.TitleText().isEmpty() && lines > 1 && htmlTitle.isEmpty();
    // A markup title is laid out and drawn in device pixels in the header or footer font; at the
    // top its height pushes the table down.
    auto markupTitle = [&](const TFont& f, int top, int bottom, bool measure) {
        const TMapMode mode = cv.MapMode();
        TRect r = cv.LPtoDP(TRect(ps.LeftSize(), top, W, measure ? top : bottom));
        cv.SetMapMode(mmText);
        TFont px;
        px.Assign(f);
        px.SetPixelsPerInch(cv.PixelsPerInchY());
        px.SetSize(f.Size());
        cv.SetFont(px);
        if (measure)
            r.Bottom = r.Top + 65535;
        TMarkupRenderParams p;
        p.MeasureOnly = measure;
        p.Printing = true;
        p.ResFactor = Run.ResRatio;
        p.AnchorColor = URLColor();
        p.Window = this;
        TMarkupRenderResult res;
        RenderMarkupText(cv, htmlTitle, r, p, res);
        cv.SetMapMode(mode);
        return int(std::lround(res.Height * 254.0 / std::max(1, cv.PixelsPerInchY())));
    };
    if (!htmlTitle.isEmpty() && IsTop(tp)) {
        gHtmlTitleHeight = markupTitle(ps.HeaderFont(), -ps.HeaderSize(), 0, true);
        markupTitle(ps.HeaderFont(), -ps.HeaderSize(), -ps.HeaderSize() - gHtmlTitleHeight, false);
    } else if (!htmlTitle.isEmpty() && IsBottom(tp)) {
        markupTitle(ps.FooterFont(), Run.B + ps.FooterSize(), Run.B, false);
    }

    TFont hf;
    hf.Assign(ps.HeaderFont());
    hf.SetHeight(MapFontHeight(ps.HeaderFont().Size()));
    cv.SetFont(hf);
    for (TPrintPosition p : {ppTopLeft, ppTopRight, ppTopCenter})
        if (!texts[p].isEmpty())
            cv.TextOut(xFor(p, cv.TextWidth(texts[p])), -ps.HeaderSize(), texts[p]);
    if (IsTop(tp) && moreTitle) {
        const int lh = cv.TextHeight(QStringLiteral("gh"));
        for (int i = 1; i < lines; ++i) {
            const QString l = ps.TitleLines().Strings(i);
            cv.TextOut(xFor(tp, cv.TextWidth(l)), -ps.HeaderSize() - i * lh, l);
        }
    }

    TFont ff;
    ff.Assign(ps.FooterFont());
    ff.SetHeight(MapFontHeight(ps.FooterFont().Size()));
    cv.SetFont(ff);
    const int yf = Run.B + ps.FooterSize() + Run.D + Run.Hf;
    for (TPrintPosition p : {ppBottomLeft, ppBottomRight, ppBottomCenter})
        if (!texts[p].isEmpty())
            cv.TextOut(xFor(p, cv.TextWidth(texts[p])), yf, texts[p]);
    if (IsBottom(tp) && moreTitle) {
        const int lh = cv.TextHeight(QStringLiteral("gh"));
        for (int i = 1; i < lines; ++i) {
            const QString l = ps.TitleLines().Strings(i);
            cv.TextOut(xFor(tp, cv.TextWidth(l)), yf - i * lh, l);
        }
    }
    FPrintFitFactor = keepFit;
    cv.SetFont(keepFont);
    cv.SetBkMode(keepBk);
}

void TVerIvovavOzed::PrintPageFrame(TPrintRun& Run, int Y)
{
    const TPrintSettings& ps = *FPrintSettings;
    TCanvas& cv = *Run.Canvas;
    const int y0 = -Run.Ha - ps.TitleSpacing() - gHtmlTitleHeight;
    const int yb = Y + Run.D / 2;
    const int xl = Run.RepeatCols ? Run.Indents[0] : Run.Indents[Run.C0];
    const int xr = Run.Indents[Run.C1 + 1];
    const TPrintBorders b = ps.Borders();
    const TPen keepPen = cv.Pen();
    const TBrush keepBrush = cv.Brush();
    cv.SetPen(Run.Pen);
    if (b == pbAround || b == pbAroundVertical || b == pbAroundHorizontal) {
        cv.Brush().SetStyle(bsClear);
        cv.Rectangle(xl, y0, xr, yb);
    }
    if (b == pbDouble || b == pbHorizontal || b == pbAroundHorizontal) {
        cv.MoveTo(xl, yb);
        cv.LineTo(xr, yb);
    }
    if ((b == pbDouble || b == pbVertical || b == pbAroundVertical) && Run.RepeatCols) {
        for (int c = 0; c < FixedCols(); ++c) {
            cv.MoveTo(Run.Indents[c], y0);
            cv.LineTo(Run.Indents[c], yb);
        }
    }
    cv.SetBrush(keepBrush);
    cv.SetPen(keepPen);
}

void TVerIvovavOzed::PrintStartNewPage(TPrintRun& Run)
{
    const int next = Run.PageIndex + 2;
    if (next < FPrintPageFrom || next > FPrintPageTo)
        return;
    if (Run.Mode == pmDrawPrint && Run.PageIndex + 1 >= FPrintPageFrom && FPrinterNewPage) {
        FPrinterNewPage();
        Run.Canvas->SetMapMode(mmLoMetric);
    }
    if (Run.Drawing() && OnPrintPage)
        OnPrintPage(this, *Run.Canvas, next, Run.W, Run.B);
}

int TVerIvovavOzed::BuildPages(TCanvas& ACanvas, int Mode, int TotalPages)
{
    TPrintSettings& ps = *FPrintSettings;
    TPrintRun run;
    gHtmlTitleHeight = 0;
    run.Canvas = &ACanvas;
    run.Mode = Mode;
    run.Total = TotalPages;
    run.SelOnly = FPrintSelOnly;
    TPrintRun* const outer = FPrintRun;
    FPrintRun = &run;
    struct Restore {
        TVerIvovavOzed* g;
        TPrintRun* outer;
        TFont font;
        TPen pen;
        TBrush brush;
        TCanvas* cv;
        ~Restore()
        {
            g->FPrintRun = outer;
            g->FPrintFitFactor = 1.0;
            cv->SetFont(font);
            cv->SetPen(pen);
            cv->SetBrush(brush);
        }
    } restore{this, outer, ACanvas.Font(), ACanvas.Pen(), ACanvas.Brush(), &ACanvas};

    // 1. Factors.
    ACanvas.SetMapMode(mmText);
    TCanvas screen;
    run.ResRatio = double(ACanvas.PixelsPerInchX()) / std::max(1, screen.PixelsPerInchX());
    ACanvas.SetMapMode(mmLoMetric);
    FPrintFitFactor = 1.0;

    // 2. Pen.
    run.Pen.SetColor(clBlack);
    run.Pen.SetStyle(ps.BorderStyle());
    run.Pen.SetWidth(ps.Borders() == pbDouble ? 10 : 2);

    // 3. Text heights and pads.
    TFont f;
    f.Assign(ps.HeaderFont());
    f.SetHeight(MapFontHeight(ps.HeaderFont().Size()));
    ACanvas.SetFont(f);
    run.Hh = ACanvas.TextHeight(QStringLiteral("gh"));
    f.Assign(ps.FooterFont());
    f.SetHeight(MapFontHeight(ps.FooterFont().Size()));
    ACanvas.SetFont(f);
    run.Hf = ACanvas.TextHeight(QStringLiteral("gh"));
    f.Assign(ps.Font());
    f.SetHeight(MapFontHeight(ps.Font().Size()));
    ACanvas.SetFont(f);
    run.D = int16_t(ACanvas.TextHeight(QStringLiteral("gh")) / 8);
    run.U = ACanvas.TextWidth(QStringLiteral("g")) / 2;

    // 4. Page size.
    if (Mode == pmDrawPrint) {
        const TRect clip = ACanvas.ClipRect();
        run.W = clip.Right - clip.Left;
        run.B = clip.Bottom;
    } else if (Mode == pmCountPrint) {
        run.W = FPreviewRect.Right - FPreviewRect.Left;
        run.B = -(FPreviewRect.Bottom - FPreviewRect.Top);
    } else {
        const TRect lr = ACanvas.DPtoLP(FPreviewRect);
        run.W = lr.Right - lr.Left;
        run.B = lr.Bottom - lr.Top;
    }
    FPrintPageRect = TRect(0, 0, run.W, run.B);
    run.P = 254.0 / std::max(1, screen.PixelsPerInchX());
    run.S = ps.UseFixedWidth() ? 0 : ps.ColumnSpacing() + 20;

    const TGridRect R = FPrintRect;
    const int nCols = std::max(ColCount(), R.Right + 1) + 2;
    run.Widths.assign(nCols, 0);
    run.Indents.assign(nCols, 0);
    auto publish = [&] {
        for (int i = 0; i < 513 && i < nCols; ++i) {
            MaxWidths[i] = run.Widths[i];
            Indents[i] = run.Indents[i];
        }
    };

    // 5. Column widths.
    if (ps.NoAutoSize()) {
        for (int c = R.Left; c <= R.Right; ++c)
            if (PrintColumnPrinted(run, c))
                run.Widths[c] = PrintRound(ColWidths(c) * run.P);
        // Fixed columns repeated beside a rectangle that does not hold them.
        if (ps.RepeatFixedCols())
            for (int c = 0; c < std::min(FixedCols(), R.Left); ++c)
                run.Widths[c] = PrintRound(ColWidths(c) * run.P);
    } else {
        std::vector<int> rows;
        if (ps.RepeatFixedRows())
            for (int r = 0; r < FixedRows(); ++r)
                rows.push_back(r);
        for (int r = R.Top; r <= R.Bottom; ++r)
            if (!(ps.RepeatFixedRows() && r < FixedRows()))
                rows.push_back(r);
        for (int r : rows) {
            if (!PrintRowPrinted(run, r))
                continue;
            for (int c = R.Left; c <= R.Right; ++c) {
                if (!PrintColumnPrinted(run, c) || IsXMergedCell(c, r))
                    continue;
                const int w = ps.UseFixedWidth() ? ps.FixedWidth() : PrintCellSize(run, RealColIndex(c), c, r).X;
                run.Widths[c] = std::max(run.Widths[c], w);
            }
        }
        // Repeated fixed columns are measured like the others.
        if (ps.RepeatFixedCols())
            for (int r : rows)
                for (int c = 0; c < std::min(FixedCols(), R.Left); ++c)
                    if (!IsXMergedCell(c, r))
                        run.Widths[c] = std::max(run.Widths[c], ps.UseFixedWidth() ? ps.FixedWidth()
                                                                              : PrintCellSize(run, RealColIndex(c), c, r).X);
    }

    // Fit to page.
    if (ps.FitToPage() != fpNever) {
        long long T = 0;
        int n = 0;
        for (int c = R.Left; c <= R.Right; ++c)
            if (PrintColumnPrinted(run, c)) {
                T += run.Widths[c] + run.S;
                ++n;
            }
        const long long V = (long long)run.S * n;
        double F = 1.0;
        if (T != V)
            F = double(run.W - ps.RightSize() - ps.LeftSize() - V) / double(T - V);
        // Margins and spacing wider than the page leave nothing to scale to.
        if (F <= 0)
            F = 1.0;
        if (F > 1 && ps.FitToPage() == fpShrink)
            F = 1.0;
        if (F < 1 && ps.FitToPage() == fpGrow)
            F = 1.0;
        if (F != 1.0 && ps.FitToPage() == fpCustom) {
            bool allow = true;
            if (OnFitToPage)
                OnFitToPage(this, F, allow);
            if (!allow)
                F = 1.0;
        }
        if (F != 1.0)
            for (int c = 0; c < nCols; ++c)
                run.Widths[c] = int(std::trunc(run.Widths[c] * F));
        run.F = F;
    }
    if (OnPrintSetColumnWidth)
        for (int c = R.Left; c <= R.Right; ++c)
            OnPrintSetColumnWidth(this, c, run.Widths[c]);
    publish();

    // 6. Strips and pages.
    run.PageIndex = 0;
    run.StripNr = 0;
    int c0 = R.Left;
    while (c0 <= R.Right && !run.Cancelled) {
        run.C0 = c0;
        run.RepeatCols = FixedCols() > 0 && ps.RepeatFixedCols() && (run.StripNr > 0 || R.Left > FixedCols());
        int X0 = 0;
        if (run.RepeatCols)
            for (int c = 0; c < FixedCols(); ++c)
                X0 += run.Widths[c] + run.S;
        int x = X0;
        int c = c0;
        while (c <= R.Right) {
            const int add = PrintColumnPrinted(run, c) ? run.Widths[c] + run.S : 0;
            if (x + add > run.W - ps.RightSize())
                break;
            x += add;
            ++c;
        }
        int c1 = c - 1;
        // A strip holds at least one column, printed even when it is wider than the page.
        if (c1 < c0) {
            c1 = c0;
            x += run.Widths[c0] + run.S;
        }
        if (c1 < R.Right)
            run.MultiStrip = true;
        run.C1 = c1;
        FPrintPageWidth = x;
        FPrintColStart = c0;
        FPrintColEnd = c1;

        // Indents.
        const int start = ps.Centered() ? 0 : ps.LeftSize();
        run.Indents[c0] = start;
        for (int k = c0 + 1; k <= c1 + 1; ++k)
            run.Indents[k] = run.Indents[k - 1] + (PrintColumnPrinted(run, k - 1) ? run.Widths[k - 1] + run.S : 0);
        if (run.RepeatCols) {
            run.Indents[0] = start;
            for (int k = 1; k < FixedCols(); ++k)
                run.Indents[k] = run.Indents[k - 1] + run.Widths[k - 1] + run.S;
        }
        if (ps.Centered() && x < run.W) {
            const int shift = (run.W - x) / 2;
            for (int k = c0; k <= c1 + 1; ++k)
                run.Indents[k] += shift;
            if (run.RepeatCols)
                for (int k = 0; k < FixedCols(); ++k)
                    run.Indents[k] += shift;
        }
        for (int k = c0; k <= c1 + 1; ++k)
            run.Indents[k] += X0;
        publish();

        PrintAreas(run);
        run.PageInStrip = 0;
        if (run.Drawing() && OnPrintPage)
            OnPrintPage(this, ACanvas, run.PageIndex + 1, run.W, run.B);

        // Rows.
        const bool allRows = R.Top <= FixedRows() && R.Bottom >= RowCount() - FixedFooters() - 1;
        int r = R.Top;
        int y = 0;
        bool firstOfPage = true;
        bool endedExactly = false;
        int rowsOnPage = 0; // rows of the rectangle placed on this page
        const int stripFirstPage = run.PageIndex;
        auto nextPrinted = [&](int from) {
            for (int k = from; k <= R.Bottom; ++k)
                if (PrintRowPrinted(run, k))
                    return k;
            return -1;
        };
        while (r <= R.Bottom && !run.Cancelled) {
            endedExactly = false;
            ExportNotification(allRows ? esExportNewRow : esExportSelRow, r);
            if (firstOfPage) {
                y = -run.Ha;
                if (run.PageDrawn(FPrintPageFrom, FPrintPageTo))
                    PrintPageTexts(run);
                else
                    gHtmlTitleHeight = 0;
                y -= ps.TitleSpacing() + gHtmlTitleHeight;
                if (r > 0 && ps.RepeatFixedRows() && FixedRows() > 0 &&
                    (run.PageIndex > stripFirstPage || R.Top >= FixedRows())) {
                    for (int fr = 0; fr < FixedRows(); ++fr) {
                        const int h = PrintRowHeight(run, fr);
                        if (run.RepeatCols)
                            PrintRowCells(run, y, 0, FixedCols() - 1, fr, h);
                        y -= PrintRowCells(run, y, c0, c1, fr, h);
                    }
                }
                firstOfPage = false;
                rowsOnPage = 0;
            }
            if (PrintRowPrinted(run, r)) {
                const int h = PrintRowHeight(run, r);
                // A row taller than what is left of a fresh page is placed once, clipped.
                if (y - h > run.B + run.Fa || rowsOnPage == 0) {
                    if (run.RepeatCols)
                        PrintRowCells(run, y, 0, FixedCols() - 1, r, h);
                    y -= PrintRowCells(run, y, c0, c1, r, h);
                    ++r;
                    ++rowsOnPage;
                }
            } else {
                ++r;
            }
            bool newPage = false;
            if (OnPrintNewPage)
                OnPrintNewPage(this, r, newPage);
            const int nr = nextPrinted(r);
            const bool allDone = nr < 0;
            const bool full = !allDone && y - PrintRowHeight(run, nr) <= run.B + run.Fa;
            if (run.Drawing() && (full || allDone || newPage)) {
                if (OnPrintPageDone)
                    OnPrintPageDone(this, ACanvas, r, y, run.PageIndex + 1, run.W, run.B);
                bool cancel = false;
                if (OnPrintCancel)
                    OnPrintCancel(this, run.PageIndex + 1, cancel);
                if (cancel) {
                    run.Cancelled = true;
                    break;
                }
            }
            if ((full && !allDone) || newPage) {
                if (run.PageDrawn(FPrintPageFrom, FPrintPageTo))
                    PrintPageFrame(run, y);
                endedExactly = true;
                PrintStartNewPage(run);
                ++run.PageIndex;
                ++run.PageInStrip;
                PrintAreas(run);
                firstOfPage = true;
                if (FFastPrint && run.PageIndex > FPrintPageFrom + 1)
                    break;
            }
            // Rows left that do not print end nothing more.
            if (allDone)
                break;
        }
        if (!endedExactly && run.PageDrawn(FPrintPageFrom, FPrintPageTo))
            PrintPageFrame(run, y);
        c0 = c1 + 1;
        if (c0 <= R.Right && !run.Cancelled)
            PrintStartNewPage(run);
        ++run.PageIndex;
        ++run.StripNr;
    }
    publish();
    return run.PageIndex;
}
