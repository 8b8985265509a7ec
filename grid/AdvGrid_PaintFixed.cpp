// TVerIvovavOzed: the fixed cells' own painting steps: the background of the current look
// (gradient, hovered, pressed, active-cell and sorted-column colours), the ListView header, the
// look's 3D edges, the sort indicator and the filter glyph.
#include "grid/AdvGrid.h"

#include "platform/PlatformInfo.h"
#include "render/RuvOdid.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>

namespace {

bool Missing(const TBitmap* b) { return !b || b->Empty(); }

} // namespace

// ---- background ------------------------------------------------------------------------------

void TVerIvovavOzed::DrawFixedCellBackground(TCanvas& ACanvas, TRect& R)
{
    if (FLook != glOrlex && FLook != glXP && FLook != glVista && FLook != glWin7 && FLook != glOffice2007)
        return;
    const TCellPaintValues& v = FPaint;
    const int ACol = v.Col, ARow = v.Row;

    bool hoverKind = false;
    switch (HoverFixedCells()) {
    case hfAll:
        hoverKind = true;
        break;
    case hfFixedRows:
        hoverKind = ARow < FixedRows();
        break;
    case hfFixedColumns:
        hoverKind = ACol < FixedCols();
        break;
    default:
        break;
    }
    const bool dragging = FDraggedColumn >= 0;
    const bool hovered =
        hoverKind && ((!dragging && ACol == FHoverFixedX && ARow == FHoverFixedY) || (dragging && ACol == FDraggedColumn));
    const TControlLook& cl = *FControlLook;
    bool canDrop = true;
    if (cl.FixedDropDownButton && OnCanShowFixedDropDown)
        OnCanShowFixedDropDown(this, v.RCol, canDrop);
    const bool dropButton = cl.FixedDropDownButton && canDrop;

    auto hoverFrame = [&](const TRect& r) {
        DrawGradientFrame(ACanvas, r, cl.FixedGradientHoverFrom(), cl.FixedGradientHoverTo(), cl.FixedGradientHoverMirrorFrom(),
                          cl.FixedGradientHoverMirrorTo(), true, cl.FixedGradientHoverBorder(), false, true);
    };
    auto downFrame = [&](const TRect& r) {
        DrawGradientFrame(ACanvas, r, cl.FixedGradientDownFrom(), cl.FixedGradientDownTo(), cl.FixedGradientDownMirrorFrom(),
                          cl.FixedGradientDownMirrorTo(), true, cl.FixedGradientDownBorder(), false, true);
    };

    if (hovered) {
        R.Bottom += 1;
        const bool pressed = FFixedCellPressed || dragging;
        if (!pressed) {
            hoverFrame(R);
        } else if (dropButton) {
            const TRect header(R.Left, R.Top, R.Right - 16, R.Bottom);
            const TRect button(R.Right - 16, R.Top, R.Right, R.Bottom);
            if (FFixedDropDownPressed) {
                hoverFrame(header);
                downFrame(button);
            } else {
                downFrame(header);
                hoverFrame(button);
            }
        } else {
            downFrame(R);
        }
        if (dropButton) {
            ACanvas.Pen().SetColor(pressed ? cl.FixedGradientDownBorder() : cl.FixedGradientHoverBorder());
            ACanvas.MoveTo(R.Right - 16, R.Top);
            ACanvas.LineTo(R.Right - 16, R.Bottom);
            DrawSmallArrow(ACanvas, R.Right - 8, R.Top + 8, clBlack);
            R.Right -= 16;
        }
        return;
    }
    if (ActiveCellShow() && ((FixedCols() == ACol + 1 && ARow == Row()) || (FixedRows() == ARow + 1 && ACol == Col()))) {
        DrawGradientFrame(ACanvas, R, ActiveCellColor(), ActiveCellColorTo(), clNone, clNone, true, clNone, false,
                          true);
        return;
    }
    const TSortSettings& ss = *FSortSettings;
    if (ss.Column() != -1 && ss.HeaderColor() != clNone && v.RCol == ss.Column() && ARow == FixedRows() - 1 &&
        (ACol >= FixedCols() || ss.FixedCols())) {
        DrawGradientFrame(ACanvas, R, ss.HeaderColor(), ss.HeaderColorTo(), ss.HeaderMirrorColor(),
                          ss.HeaderMirrorColorTo(), true, clNone, false, true);
        return;
    }
    if (!Flat())
        DrawGradientFrame(ACanvas, R, ACanvas.Brush().Color(), v.ColorTo, v.MirrorColor, v.MirrorColorTo, true,
                          FLook == glVista ? clWhite : clNone, FLook == glVista, true);
}

void TVerIvovavOzed::DrawListViewHeader(TCanvas& ACanvas, TRect R, int ACol, int ARow)
{
    const platform::TPlatformInfo& pi = platform::PlatformInfo();
    QPainter* painter = ACanvas.Painter();
    if (painter && pi.IsWinXPOrLater() && pi.VisualStylesAvailable && pi.ThemeActive && pi.IsComCtl6OrLater()) {
        // The themed header item: plain away from the mouse, hot under it, pressed while the
        // button is down on it.
        R.Bottom += 1;
        QStyleOptionHeader opt;
        opt.initFrom(viewport());
        opt.rect = ToQRect(R);
        opt.state = QStyle::State_Enabled | QStyle::State_Raised;
        opt.position = QStyleOptionHeader::End;
        if (FListViewHot.X == ACol && FListViewHot.Y == ARow) {
            opt.position = QStyleOptionHeader::Middle;
            opt.state |= (QGuiApplication::mouseButtons() & Qt::LeftButton) ? QStyle::State_Sunken
                                                                              : QStyle::State_MouseOver;
        }
        viewport()->style()->drawControl(QStyle::CE_HeaderSection, &opt, painter, viewport());
        ACanvas.Pen().SetColor(clWhite);
        ACanvas.MoveTo(R.Left, R.Top);
        ACanvas.LineTo(R.Right, R.Top);
        return;
    }
    // Without visual styles the header item is a button-face rectangle with a white pen.
    R.Bottom += 1;
    ACanvas.Brush().SetColor(clBtnFace);
    ACanvas.Pen().SetColor(clWhite);
    ACanvas.Rectangle(R);
    ACanvas.Brush().SetColor(FPaint.BaseBrush);
}

// ---- edges -----------------------------------------------------------------------------------

void TVerIvovavOzed::DrawFixedCellEdges(TCanvas& ACanvas, TRect R)
{
    const TGridOptions options = Options();
    const TColor half = HalfColor(FixedColor());
    // The shadow line under the cell, then the white line along its top (from X) and left side.
    const auto shadowAndHighlight = [&](int X) {
        ACanvas.Pen().SetColor(half);
        ACanvas.MoveTo(R.Left, R.Bottom - 1);
        ACanvas.LineTo(R.Right - 1, R.Bottom - 1);
        ACanvas.Pen().SetColor(clWhite);
        ACanvas.MoveTo(X, R.Top + 1);
        ACanvas.LineTo(R.Left + 1, R.Top + 1);
        ACanvas.LineTo(R.Left + 1, R.Bottom - 1);
    };
    ACanvas.Pen().SetWidth(1);
    switch (FLook) {
    case glClassic: {
        R.Top += 1;
        R.Bottom += 1;
        R.Left += 1;
        TRect e = R;
        DrawEdge(ACanvas, e, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
        e = R;
        DrawEdge(ACanvas, e, EDGE_RAISED, BF_RIGHT | BF_BOTTOM);
        ACanvas.Pen().SetColor(clBlack);
        ACanvas.MoveTo(R.Right - 1, R.Top);
        ACanvas.LineTo(R.Right - 1, R.Bottom - 1);
        ACanvas.LineTo(R.Left - 1, R.Bottom - 1);
        break;
    }
    case glOrlex:
    case glXP:
        R.Bottom += 1;
        if (options & goFixedHorzLine)
            shadowAndHighlight(R.Right - 2);
        break;
    case glSoft:
        R.Right += 1;
        R.Bottom += 1;
        if (options & goFixedHorzLine)
            shadowAndHighlight(R.Right);
        if (options & goFixedVertLine) {
            ACanvas.Pen().SetColor(half);
            ACanvas.MoveTo(R.Right - 2, R.Top);
            ACanvas.LineTo(R.Right - 2, R.Bottom - 1);
            ACanvas.Pen().SetColor(clWhite);
            ACanvas.MoveTo(R.Right - 1, R.Top);
            ACanvas.LineTo(R.Right - 1, R.Bottom - 1);
        }
        break;
    default:
        break;
    }
}

// ---- sort indicator and filter glyph ---------------------------------------------------------

void TVerIvovavOzed::DrawSortIndicator(TCanvas& ACanvas, int ACol, int Y, int X)
{
    TSortSettings& ss = *FSortSettings;
    ACanvas.Pen().SetWidth(1);
    if (ss.IndexShow()) {
        const int i = FSortIndexes.FindIndex(ACol);
        if (i == -1)
            return;
        const TBitmap* up = &ss.IndexUpGlyph();
        const TBitmap* down = &ss.IndexDownGlyph();
        const bool glyphs = !Missing(up) && !Missing(down);
        ACanvas.Brush().SetColor(ss.IndexColor());
        const TColor keepFont = ACanvas.Font().Color();
        const int keepSize = ACanvas.Font().Size();
        ACanvas.Font().SetColor(clBlack);
        ACanvas.Font().SetSize(6);
        ACanvas.Pen().SetColor(clBlack);
        const bool descending = !FSortIndexes.GetSortDirections(i);
        if (descending) {
            if (!glyphs)
                ACanvas.Polygon({{X - 7, Y - 5}, {X + 7, Y - 5}, {X, Y + 8}});
            else
                ACanvas.Draw(X - 7, Y - 7, up);
            ACanvas.SetBkMode(TRANSPARENT);
            ACanvas.TextOut(X - 2, Y - 4, QString::number(i + 1));
        } else {
            if (!glyphs)
                ACanvas.Polygon({{X - 6, Y + 8}, {X + 6, Y + 8}, {X, Y - 4}});
            else
                ACanvas.Draw(X - 7, Y - 7, down);
            ACanvas.SetBkMode(TRANSPARENT);
            ACanvas.TextOut(X - 2, Y - 2, QString::number(i + 1));
        }
        ACanvas.Font().SetColor(keepFont);
        ACanvas.Font().SetSize(keepSize);
        ACanvas.Pen().SetColor(clBlack);
        return;
    }
    const bool glyphs = !ss.UpGlyph().Empty() && !ss.DownGlyph().Empty();
    if (ss.Direction() == sdDescending) {
        if (!glyphs) {
            ACanvas.Pen().SetColor(clWhite);
            ACanvas.MoveTo(X + 4, Y - 4);
            ACanvas.LineTo(X, Y + 4);
            ACanvas.Pen().SetColor(0x808080);
            ACanvas.LineTo(X - 4, Y - 4);
            ACanvas.LineTo(X + 4, Y - 4);
        } else {
            ss.DownGlyph().SetTransparent(true);
            ACanvas.Draw(X - 4, Y - 4, ss.DownGlyph());
        }
    } else {
        if (!glyphs) {
            ACanvas.Pen().SetColor(clWhite);
            ACanvas.MoveTo(X - 4, Y + 4);
            ACanvas.LineTo(X + 4, Y + 4);
            ACanvas.LineTo(X, Y - 4);
            ACanvas.Pen().SetColor(0x808080);
            ACanvas.LineTo(X - 4, Y + 4);
        } else {
            ss.UpGlyph().SetTransparent(true);
            ACanvas.Draw(X - 4, Y - 4, ss.UpGlyph());
        }
    }
    ACanvas.Pen().SetColor(clBlack);
}

void TVerIvovavOzed::DrawFilterGlyph(TCanvas& ACanvas, const TRect& R)
{
    const TBitmap* glyph = FFilter->HasFilter(FPaint.RCol) ? &FFilterDropDown->GlyphActive() : &FFilterDropDown->Glyph();
    if (Missing(glyph)) {
        DrawResourceBitmap(ACanvas, FixedColor(), TRect(R.Right - 16, R.Top, R.Right, R.Bottom),
                           QStringLiteral("ASGFILT"));
        return;
    }
    TBitmap copy;
    copy.Assign(*glyph);
    copy.SetTransparent(true);
    ACanvas.Draw(R.Right - 16, R.Top, copy);
}
