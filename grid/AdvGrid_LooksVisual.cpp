// TVerIvovavOzed: background of the empty client area, balloon tool tips, the focus frame
// around the edited cell and the control border of the soft looks.
#include "grid/AdvGrid.h"

#include "dropdown/AdvDropDown.h"
#include "render/RuvOdid.h"
#include "render/VurADIDO.h"

#include <QRegion>

namespace {
TVerIvovavOzed* g_FocusFrameGrid = nullptr;
} // namespace

// ---- background -------------------------------------------------------------------------------

void TVerIvovavOzed::PaintBackgroundArea(TCanvas& ACanvas)
{
    if (ColCount() <= 0 || RowCount() <= 0)
        return;
    const TBackGround& bg = *FBackGround;
    const bool gradient = bg.Display() == bdGradientHorz || bg.Display() == bdGradientVert;
    if (gradient && bg.ColorTo() == clNone)
        return;
    const TRect lastCol = CellRect(ColCount() - 1, FixedRows() > 0 ? 0 : TopRow());
    const TRect lastRow = CellRect(FixedCols() > 0 ? 0 : LeftCol(), RowCount() - 1);
    const bool colShown = !IsRectEmpty(lastCol);
    const bool rowShown = !IsRectEmpty(lastRow);
    if (!colShown && !rowShown)
        return;
    TRect C{0, 0, ClientWidth(), ClientHeight()};
    if (FSearchFooter->Visible())
        C.Bottom -= 32;
    QRegion area;
    const int lw = GridLineWidth();
    if (colShown && lastCol.Right + lw < C.Right)
        area += QRect(lastCol.Right + lw, 0, C.Right - lastCol.Right - lw, C.Bottom);
    if (rowShown && lastRow.Bottom + lw < C.Bottom)
        area += QRect(0, lastRow.Bottom + lw, C.Right, C.Bottom - lastRow.Bottom - lw);
    if (area.isEmpty())
        return;
    const int saved = ACanvas.SaveDC();
    ACanvas.SelectClipRgn(&area);
    if (bg.Bitmap().Width() == 0 || bg.Bitmap().Height() == 0) {
        if (gradient)
            DrawDropDownGradient(ACanvas, bg.Color(), bg.ColorTo(), 128, C, bg.Display() == bdGradientHorz);
    } else if (bg.Display() != bdTile) {
        PaintBackgroundBitmapAt(ACanvas, C);
    } else {
        TRect R = C;
        if (bg.Cells() == bcNormal) {
            int x = 0, y = 0;
            for (int i = 0; i < FixedCols(); ++i)
                x += ColWidths(i) + lw;
            for (int i = 0; i < FixedRows(); ++i)
                y += RowHeights(i) + lw;
            R.Left = x;
            R.Top = y;
        }
        if (bg.Cells() != bcFixed)
            PaintBackgroundTiles(ACanvas, R);
    }
    ACanvas.RestoreDC(saved);
}

void TVerIvovavOzed::PaintBackgroundBitmapAt(TCanvas& ACanvas, const TRect& ARect)
{
    const TBitmap& bmp = FBackGround->Bitmap();
    const TRect P{FBackGround->Left(), FBackGround->Top(), FBackGround->Left() + bmp.Width(),
                  FBackGround->Top() + bmp.Height()};
    TRect I;
    if (!IntersectRect(I, ARect, P))
        return;
    const QImage part = bmp.Image().copy(I.Left - P.Left, I.Top - P.Top, I.Right - I.Left, I.Bottom - I.Top);
    ACanvas.DrawImage(I, part);
}

void TVerIvovavOzed::PaintBackgroundTiles(TCanvas& ACanvas, const TRect& ARect)
{
    const QImage& img = FBackGround->Bitmap().Image();
    const int bw = img.width(), bh = img.height();
    if (bw <= 0 || bh <= 0)
        return;
    for (int y = ARect.Top - 1; y < ARect.Bottom; y += bh) {
        const int h = std::min(bh, ARect.Bottom - y);
        for (int x = ARect.Left - 1; x < ARect.Right; x += bw) {
            const int w = std::min(bw, ARect.Right - x);
            ACanvas.DrawImage(TRect{x, y, x + w, y + h}, img.copy(0, 0, w, h));
        }
    }
}

// ---- balloon tool tips ------------------------------------------------------------------------

bool TVerIvovavOzed::BalloonText(int X, int Y, QString& ATitle, QString& AText, int& AIcon)
{
    if (!FBalloon->Enable())
        return false;
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    AText.clear();
    ATitle.clear();
    AIcon = 1;
    const bool valid = c >= 0 && r >= 0 && c < ColCount() && r < RowCount();
    if (valid) {
        const TPoint base = BaseCell(c, r);
        const int rc = RealColIndex(base.X);
        QString s = Cells(rc, base.Y);
        switch (ClassifyCellText(s, EnableHTML())) {
        case 1: s = MarkupStripTags(s); break;
        case 5: s = DecodeUnicodeCell(s); break;
        default: break;
        }
        int start = 0;
        while (start < s.size() && (s[start] == u'\r' || s[start] == u'\n' || s[start] == u'\t'))
            ++start;
        s = s.mid(start);
        s.replace(u'\t', u' ');
        if (s.size() > 2048)
            s = s.left(2045) + QStringLiteral("...");
        AText = s;
    }
    if (ATitle.isEmpty())
        ATitle = QStringLiteral(" ");
    if (valid && OnCellBalloon)
        OnCellBalloon(this, RealColIndex(c), r, ATitle, AText, AIcon);
    FLastBalloonCell = TPoint{c, r};
    if (AText.size() > 4098)
        AText = AText.left(4098);
    if (ATitle.size() > 100)
        ATitle = ATitle.left(97) + QStringLiteral("...");
    return true;
}

// ---- focus frame ------------------------------------------------------------------------------

TVerIvovavOzed* TVerIvovavOzed::ActiveFocusFrameGrid() { return g_FocusFrameGrid; }

void TVerIvovavOzed::ShowFocusFrame(const TRect& ARect)
{
    if (!FFocusWindow)
        FFocusWindow = new TGridFocusWindow(this);
    FFocusWindow->hide();
    const int cw = ARect.Right - ARect.Left, ch = ARect.Bottom - ARect.Top;
    const int W = cw + 9, H = ch + 9;
    TBitmap mask;
    MakeFocusFrameMask(mask, W, H, 4, 5, 3.0);
    QImage colour(W, H, QImage::Format_RGB888);
    colour.fill(ToQColor(0xFDD397));
    TGridAlphaMask alpha;
    alpha.MergeMask(mask, TBitmap(colour), 0);
    alpha.SetOpacity(230);
    FFocusWindow->ApplyAlphaMask(alpha);
    FFocusWindow->setMask(QRegion(0, 0, W, H) - QRegion(4, 4, cw, ch));
    const QPoint at = viewport()->mapToGlobal(QPoint(ARect.Left - 4, ARect.Top - 4));
    FFocusWindow->setGeometry(at.x(), at.y(), W, H);
    FFocusWindow->show();
    g_FocusFrameGrid = this;
}

void TVerIvovavOzed::HideFocusFrame()
{
    if (g_FocusFrameGrid == this)
        g_FocusFrameGrid = nullptr;
    if (FFocusWindow)
        FFocusWindow->hide();
}

void TVerIvovavOzed::MoveFocusFrame()
{
    if (!FFocusWindow)
        return;
    const TRect r = CellRect(Col(), Row());
    const QPoint at = viewport()->mapToGlobal(QPoint(r.Left - 4, r.Top - 4));
    FFocusWindow->setGeometry(at.x(), at.y(), r.Right - r.Left + 9, r.Bottom - r.Top + 9);
    FFocusWindow->update();
}

// ---- control border and sizing lines ----------------------------------------------------------

void TVerIvovavOzed::PaintBorder(TCanvas& ACanvas, int AWidth, int AHeight)
{
    switch (FLook) {
    case glSoft: case glOrlex: case glXP: case glListView: case glVista: case glWin7: case glOffice2007: break;
    default: return;
    }
    if (BorderStyle() == bsNone || FBorderColor == clNone || Flat())
        return;
    ACanvas.Brush().SetStyle(bsClear);
    ACanvas.Pen().SetWidth(1);
    ACanvas.Pen().SetColor(FBorderColor);
    if (FitCellsInGrid()) {
        ACanvas.Polyline({{1, AHeight}, {1, 1}, {AWidth - 2, 1}, {AWidth - 2, AHeight - 2}, {1, AHeight - 2}});
        if (parentWidget()) {
            ACanvas.Pen().SetColor(FromQColor(parentWidget()->palette().window().color()));
            ACanvas.Polyline({{0, AHeight}, {0, 0}, {AWidth - 1, 0}, {AWidth - 1, AHeight - 1}, {0, AHeight - 1}});
        }
    } else {
        ACanvas.Polyline({{0, AHeight}, {0, 0}, {AWidth - 1, 0}, {AWidth - 1, AHeight - 1}, {0, AHeight - 1}});
    }
}
