#include "platform/Printer.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace platform {

TPrinter::TPrinter() : FPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

TPrinter::~TPrinter()
{
    if (FPrinting)
        EndDoc();
}

void TPrinter::SetOutputFileName(const QString& fileName)
{
    if (!fileName.isEmpty())
        FPrinter->setOutputFormat(QPrinter::PdfFormat);
    FPrinter->setOutputFileName(fileName);
}

QString TPrinter::OutputFileName() const { return FPrinter->outputFileName(); }

void TPrinter::SetResolution(int dpi)
{
    if (dpi > 0 && !FPainter)
        FPrinter->setResolution(dpi);
}

int TPrinter::Resolution() const { return FPrinter->resolution(); }

void TPrinter::SetPageSize(const QPageSize& size)
{
    if (!FPainter)
        FPrinter->setPageSize(size);
}

QPageSize TPrinter::PageSize() const { return FPrinter->pageLayout().pageSize(); }

void TPrinter::SetFullPage(bool full)
{
    if (!FPainter)
        FPrinter->setFullPage(full);
}

TPrinterOrient TPrinter::Orientation() const
{
    return FPrinter->pageLayout().orientation() == QPageLayout::Landscape ? poPrinterLandscape
                                                                          : poPrinterPortrait;
}

void TPrinter::SetOrientation(TPrinterOrient value)
{
    if (FPainter)
        return;
    FPrinter->setPageOrientation(value == poPrinterLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

int TPrinter::PageWidth() const
{
    return FPrinter->pageLayout().paintRectPixels(FPrinter->resolution()).width();
}

int TPrinter::PageHeight() const
{
    return FPrinter->pageLayout().paintRectPixels(FPrinter->resolution()).height();
}

int TPrinter::ResolutionX() const { return FPrinter->resolution(); }
int TPrinter::ResolutionY() const { return FPrinter->resolution(); }

void TPrinter::BeginDoc()
{
    if (FPrinting)
        return;
    FPrinting = true;
    FAborted = false;
    FPageNumber = 0;
}

bool TPrinter::OpenOutput()
{
    if (FPainter)
        return true;
    if (!FPrinting)
        return false;
    FPrinter->setDocName(FTitle);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(FPrinter.get()))
        return false;
    FPainter = std::move(painter);
    FCanvas.SetPainter(FPainter.get());
    FPageNumber = 1;
    return true;
}

void TPrinter::CloseOutput()
{
    FCanvas.SetPainter(nullptr);
    if (FPainter) {
        FPainter->end();
        FPainter.reset();
    }
}

void TPrinter::EndDoc()
{
    if (!FPrinting)
        return;
    CloseOutput();
    FPrinting = false;
}

void TPrinter::Abort()
{
    if (!FPrinting)
        return;
    const bool opened = FPainter != nullptr;
    CloseOutput();
    FPrinting = false;
    FAborted = true;
    const QString file = FPrinter->outputFileName();
    if (opened && !file.isEmpty())
        QFile::remove(file);
}

void TPrinter::NewPage()
{
    if (!FPrinting)
        return;
    if (!FPainter) {
        OpenOutput();
        return;
    }
    if (FPrinter->newPage()) {
        ++FPageNumber;
        // A new page starts with the painter's defaults; the canvas keeps its own state.
        FCanvas.SetPainter(FPainter.get());
    }
}

TCanvas& TPrinter::Canvas()
{
    OpenOutput();
    return FCanvas;
}

TPrinter& Printer()
{
    static TPrinter printer;
    return printer;
}

} // namespace platform
