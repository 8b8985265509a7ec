// TVerIvovavOzed: the rich-text editors: the hidden one behind RTF cells, the in-place one of
// edRichEdit cells with its set-up and take-back, and RTF cells rendered and made plain.
#include "grid/AdvGrid.h"

#include "gridedit/DEriRevaDodo.h"
#include "platform/RichText.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>

DEriRevaDodo* TVerIvovavOzed::RichEdit()
{
    if (!FRichEdit) {
        FRichEdit = new DEriRevaDodo(this);
        FRichEdit->setGeometry(0, 0, 0, 0);
        FRichEdit->setAttribute(Qt::WA_TransparentForMouseEvents);
        FRichEdit->setFocusPolicy(Qt::NoFocus);
        // Laid out at the width each use gives it, never at its own zero width.
        FRichEdit->setLineWrapMode(QTextEdit::NoWrap);
        FRichEdit->hide();
    }
    return FRichEdit;
}

DEriRevaDodo* TVerIvovavOzed::InplaceRichEdit()
{
    if (!FInplaceRichEdit) {
        FInplaceRichEdit = new DEriRevaDodo(this);
        QObject::connect(FInplaceRichEdit, &QTextEdit::cursorPositionChanged, this, [this] {
            try {
                if (OnRichEditSelectionChange)
                    OnRichEditSelectionChange(FInplaceRichEdit);
            } catch (...) {
            }
        });
        FInplaceRichEdit->setEnabled(false);
        FInplaceRichEdit->hide();
    }
    return FInplaceRichEdit;
}

void TVerIvovavOzed::ShowRichEditor(int ACol, int ARow, const TRect& R, TColor CellColor)
{
    DEriRevaDodo* re = InplaceRichEdit();
    const int realCol = RealColIndex(ACol);
    const int W = R.Right - R.Left - 1;
    const int H = R.Bottom - R.Top - 1;
    re->ReCreate();
    re->setFrameShape(QFrame::NoFrame);
    re->setGeometry(R.Left, R.Top, W, H);
    DoGetEditorProp(realCol, ARow, EditLink());
    re->SetLocked(true);
    CellToRich(realCol, ARow, *re);
    if (FNavigation->EditSelectAll())
        re->selectAll();
    re->show();
    re->raise();
    re->setEnabled(true);
    re->SetFormatRect(TRect(2, 2, R.Right - R.Left - 2, R.Bottom - R.Top - 2));
    QPalette pal = re->palette();
    pal.setColor(QPalette::Base, ToQColor(CellColor));
    // The selection stays visible while the focus is on a formatting button outside.
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
    re->setPalette(pal);
    EditMode = true;
    re->setFocus(Qt::OtherFocusReason);
    PostEditorChar(re, FStartEditChar);
    re->SetLocked(false);
    EditCtrl = re;
}

void TVerIvovavOzed::TakeBackRichEditor(int ACol, int ARow)
{
    DEriRevaDodo* re = FInplaceRichEdit;
    if (!re)
        return;
    const int realCol = RealColIndex(ACol);
    const QString text = RichToString(*re);
    EditMode = false;
    // The grid takes the focus back before the editor goes, so that it does not pass to another
    // control of the window.
    QWidget* f = QApplication::focusWidget();
    if (f && (f == re || re->isAncestorOf(f))) {
        InvokedFocusChange = true;
        setFocus(Qt::OtherFocusReason);
        InvokedFocusChange = false;
    }
    WriteCellAtRealCol(realCol, ARow, text);
    re->setEnabled(false);
    re->hide();
}

void TVerIvovavOzed::DrawRichTextCell(int ACol, int ARow, const TRect& ARect, TCanvas& ACanvas)
{
    QPainter* p = ACanvas.Painter();
    if (!p)
        return;
    DEriRevaDodo* re = RichEdit();
    QTextDocument* doc = re->document();

    // The text box inside the cell's offsets, in device pixels; the cell is laid out at its width
    // as it loads.
    TRect dev = ACanvas.LPtoDP(ARect);
    // On a page (y pointing up) the rectangle comes out upside down in device pixels.
    if (dev.Top > dev.Bottom)
        std::swap(dev.Top, dev.Bottom);
    if (dev.Left > dev.Right)
        std::swap(dev.Left, dev.Right);
    // On a page the document keeps its screen layout and is drawn scaled as the page's other text
    // is: from screen pixels to the page's device pixels, times the fit factor of the print.
    const bool page = ACanvas.MapMode() != mmText;
    const int pageDpi = ACanvas.PixelsPerInchY() > 0 ? ACanvas.PixelsPerInchY() : 96;
    const double scale = page ? std::max(0.01, pageDpi / 96.0 * FPrintFitFactor) : 1.0;
    const int dpiX = ACanvas.PixelsPerInchX() > 0 ? ACanvas.PixelsPerInchX() : 96;
    const int dpiY = ACanvas.PixelsPerInchY() > 0 ? ACanvas.PixelsPerInchY() : 96;
    const int mx = XYOffset().X * dpiX / 96;
    const int my = XYOffset().Y * dpiY / 96;
    const int left = dev.Left + mx, top = dev.Top + my;
    const int width = std::max(0, dev.Right - dev.Left - 2 * mx);
    const int height = std::max(0, dev.Bottom - dev.Top - 2 * my);
    if (width <= 0 || height <= 0)
        return;
    doc->setTextWidth(width / scale);
    CellToRich(ACol, ARow, *re);

    // Selected: inside the selection but not the focused current cell, or a selected row or column.
    const TGridRect sel = Selection();
    const TMouseActions& ma = *FMouseActions;
    const bool focusedCurrent = ACol == RealColIndex(Col()) && ARow == Row() && hasFocus() &&
                                !(Options() & goDrawFocusSelected);
    const int dcol = RealToDisplCol(ACol);
    bool selected = dcol >= sel.Left && dcol <= sel.Right && ARow >= sel.Top && ARow <= sel.Bottom &&
                    !focusedCurrent && !ma.DisjunctRowSelect();
    const int selRow = (ma.DisjunctRowSelect() && ma.RowSelectPersistent()) ? RealRowIndex(ARow) : ARow;
    if (ma.DisjunctRowSelect() && RowSelect(selRow))
        selected = true;
    if (ma.DisjunctColSelect() && ColSelect(ACol))
        selected = true;
    if (selected && !SelectionRTFKeep() && ACanvas.MapMode() == mmText && SelectionTextColor() != clNone) {
        QTextCursor all(doc);
        all.select(QTextCursor::Document);
        QTextCharFormat f;
        f.setForeground(ToQColor(SelectionTextColor()));
        all.mergeCharFormat(f);
    }

    p->save();
    p->setClipRect(QRect(left, top, width, height), Qt::IntersectClip);
    p->translate(left, top);
    p->scale(scale, scale);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette.setColor(QPalette::Text, ToQColor(ACanvas.Font().Color()));
    ctx.clip = QRectF(0, 0, width / scale, height / scale);
    doc->documentLayout()->draw(p, ctx);
    p->restore();
}

QString TVerIvovavOzed::RichCellPlainText(const QString& Value)
{
    QByteArray bytes;
    bytes.reserve(Value.size());
    for (QChar ch : Value)
        bytes.append(char(ch.unicode() & 0xFF));
    return platform::RtfToPlainText(bytes);
}
