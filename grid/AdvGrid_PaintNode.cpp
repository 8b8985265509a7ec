// TVerIvovavOzed: node glyphs of node rows and text turned by an angle.
#include "grid/AdvGrid.h"
#include "render/RuvOdid.h"

#include <cmath>

void TVerIvovavOzed::SetHotButtonCell(int ACol, int ARow)
{
    if (FHotButtonCell.X == ACol && FHotButtonCell.Y == ARow)
        return;
    // Kept by real column, as the painter asks for it; repainted where the column shows.
    const TPoint old = FHotButtonCell;
    FHotButtonCell = TPoint(ACol, ARow);
    if (old.X >= 0 && old.Y >= 0 && old.Y < RowCount())
        RepaintCell(DisplColIndex(old.X), old.Y);
    if (ACol >= 0 && ARow >= 0)
        RepaintCell(DisplColIndex(ACol), ARow);
}

void TVerIvovavOzed::RotatedTextStart(TRect& R, int Angle, TAlignment HAlign, TVAlignment VAlign, int a, int b,
                                      int c, int d)
{
    const bool left = HAlign == taLeftJustify, right = HAlign == taRightJustify;
    const bool top = VAlign == vtaTop, bottom = VAlign == vtaBottom;
    // the vertical centring term shared by every quadrant
    const int vc = (b + R.Top + a - R.Bottom) / 2;
    if (Angle <= 90) {
        if (right)
            R.Left = R.Right - d - c;
        else if (!left)
            R.Left += (R.Right - R.Left - c - d) / 2;
        if (top)
            R.Top += b;
        else if (bottom)
            R.Top = R.Bottom - a;
        else
            R.Top = R.Top + b - vc;
    } else if (Angle <= 180) {
        if (left)
            R.Left += d;
        else if (right)
            R.Left = R.Right - c;
        else
            R.Left = R.Right - (c + R.Right - R.Left - d) / 2;
        if (top)
            R.Top += a + b;
        else if (bottom)
            R.Top = R.Bottom;
        else
            R.Top = R.Top + a + b - vc;
    } else if (Angle <= 270) {
        if (left)
            R.Left += c + d;
        else if (right)
            R.Left = R.Right;
        else
            R.Left = R.Right - (R.Right - R.Left - c - d) / 2;
        if (top)
            R.Top += a;
        else if (bottom)
            R.Top = R.Bottom - b;
        else
            R.Top = R.Top + a - vc;
    } else {
        if (left)
            R.Left += c;
        else if (right)
            R.Left = R.Right - d;
        else
            R.Left += (c + R.Right - R.Left - d) / 2;
        if (bottom)
            R.Top = R.Bottom - a - b;
        else if (!top)
            R.Top = R.Top - vc;
    }
}

void TVerIvovavOzed::DrawRotatedCellText(TCanvas& ACanvas, TRect& R, int Angle, TVAlignment VAlign,
                                         TAlignment HAlign, const QString& Text)
{
    const TSize ext = ACanvas.TextExtent(Text);
    const int W = ext.cx, H = ext.cy;
    InflateRect(R, -2, -2);
    const double a = Angle * M_PI / 180.0;
    const int c1 = std::abs(int(std::trunc(std::cos(a) * H)));
    const int s1 = std::abs(int(std::trunc(std::sin(a) * W)));
    const int s2 = std::abs(int(std::trunc(std::sin(a) * H)));
    const int c2 = std::abs(int(std::trunc(std::cos(a) * W)));
    RotatedTextStart(R, Angle, HAlign, VAlign, c1, s1, s2, c2);
}

void TVerIvovavOzed::DrawRotatedGraphicText(TCanvas& ACanvas, TRect ARect, TCellGraphic* AGraphic, TVAlignment VA)
{
    const TCellPaintValues& v = FPaint;
    const QString text = GetFormattedCell(v.RCol, v.Row);
    const int angle = AGraphic->CellAngle();
    TRect start = ARect;
    DrawRotatedCellText(ACanvas, start, angle, VA, v.HA, text);
    const TFont keep = ACanvas.Font();
    ACanvas.Font().SetOrientation(angle * 10);
    InflateRect(ARect, -2, -2);
    ACanvas.Brush().SetStyle(bsClear);
    ACanvas.TextRect(ARect, start.Left, start.Top, text);
    ACanvas.Font().Assign(keep);
    ACanvas.Brush().SetStyle(bsSolid);
}

void TVerIvovavOzed::DrawNodeGlyph(TCanvas& ACanvas, TRect& ARect, TCellGraphic* AGraphic)
{
    const TCellPaintValues& v = FPaint;
    const TCellNode& cn = *FCellNode;
    const int row = v.Row;
    const int indent = GetCellIndent(row);
    const int ni = cn.NodeIndent();
    // The glyph sits in column 0 at the node's indent from the cell's own left edge, so a scrolled
    // first column keeps its glyph inside the cell.
    const int cellLeft = ARect.Left;
    ARect.Left = cellLeft + indent - ni;
    const bool collapsed = AGraphic->CellBoolean();
    if (cn.ShowTree() && !v.Fixed) {
        ACanvas.Pen().SetColor(cn.TreeColor());
        ACanvas.Pen().SetWidth(1);
        const int x = ARect.Left + ni / 2 + 2;
        const int mid = ARect.Top + (ARect.Bottom - ARect.Top) / 2;
        if (row + 1 < RowCount()) {
            const int next = GetCellIndent(row + 1);
            if (next > 0 && !(collapsed && next < indent)) {
                ACanvas.MoveTo(x, mid);
                ACanvas.LineTo(x, ARect.Bottom);
            }
        }
        if (row > 0 && GetCellIndent(row - 1) >= indent) {
            ACanvas.MoveTo(x, ARect.Top);
            ACanvas.LineTo(x, ARect.Top + 6);
        }
    }
    if (v.Fixed && !Flat() && (Look() == glSoft || Look() == glOrlex || Look() == glXP || Look() == glListView))
        ARect.Left += 1;
    ARect.Left = cellLeft + indent - ni / 2 - 4;

    TColor back = v.BaseBrush;
    if (back == clNone)
        back = v.Fixed ? FixedColor() : Color();
    if (v.State & gdSelected)
        back = SelectionColor();
    const int h = ARect.Bottom - ARect.Top;
    switch (cn.NodeType()) {
    case cnLeaf: {
        const int t = ARect.Top + (h - 12) / 2;
        DrawResourceBitmap(ACanvas, back, TRect(ARect.Left, t, ARect.Left + 12, t + 12),
                           collapsed ? QStringLiteral("ASGLEAFCLOSE") : QStringLiteral("ASGLEAFOPEN"));
        return;
    }
    case cnXP: {
        const int t = ARect.Top + (h - 10) / 2;
        DrawResourceBitmap(ACanvas, back, TRect(ARect.Left + 4, t, ARect.Left + 14, t + 10),
                           collapsed ? QStringLiteral("XPNODEC") : QStringLiteral("XPNODEO"));
        return;
    }
    case cnGlyph:
        if (!cn.ExpandGlyph().Empty() && !cn.ContractGlyph().Empty()) {
            const TBitmap& g = collapsed ? cn.ContractGlyph() : cn.ExpandGlyph();
            const int t = ARect.Top + (h - g.Height()) / 2;
            DrawBitmapTransparent(ACanvas, g, back, TRect(ARect.Left, t, ARect.Left + g.Width(), t + g.Height()));
            return;
        }
        break;
    default:
        break;
    }
    if (cn.NodeType() == cn3D) {
        ACanvas.Brush().SetColor(cn.Color());
        ACanvas.FillRect(ARect);
        ACanvas.Pen().SetColor(clWhite);
        ACanvas.MoveTo(ARect.Left, ARect.Bottom - 1);
        ACanvas.LineTo(ARect.Left, ARect.Top);
        ACanvas.LineTo(ARect.Right - 1, ARect.Top);
        ACanvas.Pen().SetColor(0x808080);
        ACanvas.LineTo(ARect.Right - 1, ARect.Bottom - 1);
        ACanvas.LineTo(ARect.Left - 1, ARect.Bottom - 1);
    }
    const int L = ARect.Left + 4;
    const int T = ARect.Top + (h - 8) / 2;
    TRect box(L, T, L + 8, T + 8);
    ACanvas.Brush().SetColor(cn.Color());
    if (cn.NodeType() == cnFlat) {
        ACanvas.Pen().SetColor(cn.NodeColor());
        ACanvas.Rectangle(box);
        ACanvas.MoveTo(L + 2, T + 4);
        ACanvas.LineTo(L + 7, T + 4);
        if (collapsed) {
            ACanvas.MoveTo(L + 4, T + 2);
            ACanvas.LineTo(L + 4, T + 7);
        }
    } else {
        DrawEdge(ACanvas, box, collapsed ? EDGE_RAISED : EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    }
}
