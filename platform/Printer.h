#pragma once
// The printer object of the program: one print job at a time over a QPrinter, drawn through a
// TCanvas. Tests and PDF output set a file name and a fixed resolution.
//
// The job is opened lazily: BeginDoc only marks the document as begun, and the output (for a PDF
// the file) is created when the canvas is first asked for or a page is started. Abort ends the
// job and removes whatever output it had already made, so an aborted job leaves no file.
#include "platform/Canvas.h"

#include <QPageSize>
#include <QString>
#include <memory>

class QPrinter;
class QPainter;

namespace platform {

enum TPrinterOrient { poPrinterPortrait, poPrinterLandscape };

class TPrinter {
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // PDF output into `fileName` (empty: the system's printer).
    void SetOutputFileName(const QString& fileName);
    QString OutputFileName() const;
    // Dots per inch of the job, in both directions.
    void SetResolution(int dpi);
    int Resolution() const;
    void SetPageSize(const QPageSize& size);
    QPageSize PageSize() const;
    // No margins: the whole sheet is the page.
    void SetFullPage(bool full);

    TPrinterOrient Orientation() const;
    void SetOrientation(TPrinterOrient value); // ignored while a document is open
    QString Title() const { return FTitle; }
    void SetTitle(const QString& value) { FTitle = value; }

    // Size of the printable page in device pixels, and the device resolution (dots per inch).
    int PageWidth() const;
    int PageHeight() const;
    int ResolutionX() const;
    int ResolutionY() const;
    // The device capability "orientation": the angle by which landscape turns the page.
    int OrientationCapability() const { return 90; }

    void BeginDoc();
    void EndDoc();
    void Abort();
    void NewPage();
    bool Printing() const { return FPrinting; }
    bool Aborted() const { return FAborted; }
    // Pages started in the current (or last) job; 0 until the output was opened.
    int PageNumber() const { return FPageNumber; }

    // The canvas of the job; opens the output when a document is begun and not yet open.
    TCanvas& Canvas();
    QPrinter* Device() const { return FPrinter.get(); }

private:
    bool OpenOutput();
    void CloseOutput();

    std::unique_ptr<QPrinter> FPrinter;
    std::unique_ptr<QPainter> FPainter;
    TCanvas FCanvas;
    QString FTitle;
    bool FPrinting = false;
    bool FAborted = false;
    int FPageNumber = 0;
};

// The printer the program prints with (created on first use).
TPrinter& Printer();

} // namespace platform
