// Printing, previewing and drawing a grid: each entry point fixes the rectangle to print, counts
// the pages, lets the application choose the range and runs the engine to draw.
#include "grid/AdvGrid.h"

#include "platform/Printer.h"

#include <climits>
#include <cmath>

namespace {

// Brings back a canvas's coordinate mode whatever happens.
struct MapModeKeeper {
    TCanvas& cv;
    TMapMode mode;
    explicit MapModeKeeper(TCanvas& c) : cv(c), mode(c.MapMode()) {}
    ~MapModeKeeper() { cv.SetMapMode(mode); }
};

} // namespace

void TVerIvovavOzed::PrintRun(TGridRect Gridrect, bool SelOnly)
{
    TPrintSettings& ps = *FPrintSettings;
    platform::TPrinter& printer = platform::Printer();
    ExportNotification(esExportStart, -1);
    FPrintRect = Gridrect;
    FPrintSelOnly = SelOnly;
    if (!ps.UseDefaultOrientation())
        printer.SetOrientation(ps.Orientation() == poLandscape ? platform::poPrinterLandscape
                                                               : platform::poPrinterPortrait);
    const int w = PrintRound(254.0 / printer.ResolutionX() * printer.PageWidth());
    const int h = PrintRound(254.0 / printer.ResolutionY() * printer.PageHeight());
    FPreviewRect = TRect(0, 0, w, h);

    printer.SetTitle(ps.JobName());
    printer.BeginDoc();
    const TMapMode savedMode = printer.Canvas().MapMode();
    int total = INT_MAX;
    if (!FFastPrint) {
        try {
            printer.Canvas().SetMapMode(mmLoMetric);
            total = BuildPages(printer.Canvas(), pmCountPrint, -1);
        } catch (...) {
            printer.Canvas().SetMapMode(savedMode);
            printer.Abort();
            throw;
        }
    }
    FPrintPageFrom = 1;
    FPrintPageTo = total;
    FPrintNrOfPages = total;
    if (OnPrintStart) {
        printer.Canvas().SetMapMode(savedMode);
        printer.Abort();
        int from = FPrintPageFrom;
        int to = FPrintPageTo;
        OnPrintStart(this, total, from, to);
        FPrintPageFrom = from;
        FPrintPageTo = to;
        if (from == 0 || to == 0 || from > to)
            return;
        printer.BeginDoc();
        FPrintNrOfPages = to;
    }
    TCanvas& cv = printer.Canvas();
    FPrinterNewPage = [&printer] { printer.NewPage(); };
    try {
        cv.SetMapMode(mmLoMetric);
        BuildPages(cv, pmDrawPrint, total);
    } catch (...) {
        FPrinterNewPage = nullptr;
        cv.SetMapMode(savedMode);
        printer.EndDoc();
        throw;
    }
    FPrinterNewPage = nullptr;
    cv.SetMapMode(savedMode);
    printer.EndDoc();
    ExportNotification(esExportDone, -1);
}

void TVerIvovavOzed::Print()
{
    PrintRun(TGridRect{0, 0, ColCount() - 1, RowCount() - 1}, false);
}

void TVerIvovavOzed::PrintRect(TGridRect Gridrect) { PrintRun(Gridrect, false); }
void TVerIvovavOzed::PrintSelection() { PrintRun(Selection(), false); }

void TVerIvovavOzed::PrintSelectedRows()
{
    PrintRun(TGridRect{0, 0, ColCount() - 1, RowCount() - 1}, true);
}

void TVerIvovavOzed::PrintSelectedCols()
{
    PrintRun(TGridRect{0, 0, ColCount() - 1, RowCount() - 1}, true);
}

void TVerIvovavOzed::PreviewRun(TCanvas& Canvas, TRect Displayrect, TGridRect Gridrect, bool SelOnly)
{
    ExportNotification(esExportStart, -1);
    FPrintRect = Gridrect;
    FPrintSelOnly = SelOnly;
    struct Done {
        TVerIvovavOzed* g;
        ~Done()
        {
            g->ExportNotification(esExportDone, -1);
            g->FIsPrintPreview = false;
        }
    } done{this};
    MapModeKeeper keep(Canvas);
    Canvas.SetMapMode(mmLoMetric);
    FPreviewRect = Displayrect;
    int total = 1;
    if (!FFastPrint) {
        total = BuildPages(Canvas, pmCountPreview, -1);
        FPrintNrOfPages = total;
    }
    FIsPrintPreview = true;
    int from = 1;
    int to = total;
    if (OnPrintStart)
        OnPrintStart(this, total, from, to);
    if (from > 0 && to > 0 && to >= from) {
        FPreviewRect = Displayrect;
        BuildPages(Canvas, pmDrawPreview, total);
    }
}

void TVerIvovavOzed::PrintPreview(TCanvas& Canvas, TRect Displayrect)
{
    PreviewRun(Canvas, Displayrect, TGridRect{0, 0, ColCount() - 1, RowCount() - 1}, false);
}

void TVerIvovavOzed::PrintPreviewRect(TCanvas& Canvas, TRect Displayrect, TGridRect Gridrect)
{
    PreviewRun(Canvas, Displayrect, Gridrect, false);
}

void TVerIvovavOzed::PrintPreviewSelection(TCanvas& Canvas, TRect Displayrect)
{
    PreviewRun(Canvas, Displayrect, Selection(), false);
}

void TVerIvovavOzed::PrintPreviewSelectedRows(TCanvas& Canvas, TRect Displayrect)
{
    PreviewRun(Canvas, Displayrect, TGridRect{0, 0, ColCount() - 1, RowCount() - 1}, true);
}

void TVerIvovavOzed::PrintPreviewSelectedCols(TCanvas& Canvas, TRect Displayrect)
{
    PreviewRun(Canvas, Displayrect, TGridRect{0, 0, ColCount() - 1, RowCount() - 1}, true);
}

void TVerIvovavOzed::PrintDraw(TCanvas& Canvas, TRect DrawRect)
{
    PrintDrawRect(Canvas, DrawRect, TGridRect{0, 0, ColCount() - 1, RowCount() - 1});
}

void TVerIvovavOzed::PrintDrawRect(TCanvas& Canvas, TRect DrawRect, TGridRect Gridrect)
{
    FPrintRect = Gridrect;
    FPrintSelOnly = false;
    FPreviewRect = DrawRect;
    FPrintPageFrom = 1;
    FPrintPageTo = 1;
    FPrintNrOfPages = 1;
    MapModeKeeper keep(Canvas);
    Canvas.SetMapMode(mmLoMetric);
    BuildPages(Canvas, pmDrawPrint, 1);
}
