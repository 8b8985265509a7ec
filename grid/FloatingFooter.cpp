// The floating footer: its settings with the writes that reach the grid, and the panel that
// paints the footer below the grid's viewport and reports clicks and hints over it.
#include "grid/FloatingFooter.h"

#include "grid/AdvGrid.h"
#include "render/VurADIDO.h"
#include "platform/Property.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <vector>

// ---- settings ---------------------------------------------------------------------------------

TFooterPanel* TFloatingFooter::Panel() const { return FGrid ? FGrid->FooterPanel() : nullptr; }

void TFloatingFooter::Assign(const TFloatingFooter& Source)
{
    if (&Source == this)
        return;
    FCalculateHiddenRows = Source.FCalculateHiddenRows;
    FColor = Source.FColor;
    FColumn = Source.FColumn;
    FCustomTemplate = Source.FCustomTemplate;
    FFooterStyle = Source.FFooterStyle;
    SetVisible(Source.FVisible);
    SetShowHint(Source.FShowHint);
    Invalidate();
}

void TFloatingFooter::SetHeight(int Value)
{
    FHeight = Value;
    if (TFooterPanel* p = Panel(); p && Value > 0)
        p->SetPanelHeight(Value - 1);
}

void TFloatingFooter::SetVisible(bool Value)
{
    FVisible = Value;
    if (TFooterPanel* p = Panel()) {
        p->SetPanelHeight(Value ? FHeight - 1 : 0);
        p->SetPanelVisible(Value);
    }
    if (!FGrid)
        return;
    const bool lastRow = Value && FFooterStyle == fsFixedLastRow;
    FGrid->SetFixedFooters(lastRow ? 1 : 0);
    FGrid->SetHideLastRow(lastRow);
    FGrid->Invalidate();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle Value)
{
    FFooterStyle = Value;
    if (!FGrid)
        return;
    // The same rule as Visible: only a shown last-row footer takes the last row out of the grid.
    const bool lastRow = Value == fsFixedLastRow && FVisible;
    FGrid->SetHideLastRow(lastRow);
    FGrid->SetFixedFooters(lastRow ? 1 : 0);
    FGrid->Invalidate();
    Invalidate();
}

void TFloatingFooter::SetShowHint(bool Value)
{
    FShowHint = Value;
    if (TFooterPanel* p = Panel())
        p->SetShowHint(Value);
}

void TFloatingFooter::Invalidate()
{
    if (TFooterPanel* p = Panel())
        p->update();
}

TColumnCalcType TFloatingFooter::GetColumnCalc(int ACol) const
{
    if (!FGrid || FGrid->RowCount() <= 0)
        return acNONE;
    const TCellProperties* p = FGrid->CellPropertiesOf(ACol, FGrid->RowCount() - 1);
    return p ? TColumnCalcType(int(p->CalcType()) & 0x7F) : acNONE;
}

void TFloatingFooter::SetColumnCalc(int ACol, TColumnCalcType Value)
{
    if (!FGrid || FGrid->RowCount() <= 0)
        return;
    FGrid->GetCellProperties(ACol, FGrid->RowCount() - 1)->SetCalcType(Value);
    FGrid->CalcColumnFooter(ACol);
}

// ---- panel ------------------------------------------------------------------------------------

namespace {

// The columns the footer shows, left to right: the fixed columns, then those from LeftCol.
std::vector<int> ShownColumns(const TVerIvovavOzed& g)
{
    std::vector<int> cols;
    for (int i = 0; i < g.ColCount() && i < g.FixedCols(); ++i)
        cols.push_back(i);
    for (int j = std::max(g.LeftCol(), 0); j < g.ColCount(); ++j)
        cols.push_back(j);
    return cols;
}

// Looks that give fixed cells a raised edge.
bool Look3D(TGridLook look) { return look == glSoft || look == glOrlex || look == glXP || look == glVista; }

void Line(TCanvas& C, int x1, int y1, int x2, int y2)
{
    C.MoveTo(x1, y1);
    C.LineTo(x2, y2);
}

} // namespace

TFooterPanel::TFooterPanel(TVerIvovavOzed* AOwner) : QWidget(AOwner), FGrid(AOwner)
{
    hide();
    resize(0, 0);
    setMouseTracking(true);
    // The grid's first show stands for the panel's window creation; the viewport's geometry
    // decides where the panel lies.
    AOwner->installEventFilter(this);
    AOwner->viewport()->installEventFilter(this);
}

void TFooterPanel::SetPanelHeight(int Value)
{
    resize(width(), std::max(0, Value));
    FGrid->FooterPanelChanged();
}

void TFooterPanel::SetPanelVisible(bool Value)
{
    setVisible(Value);
    FGrid->FooterPanelChanged();
}

void TFooterPanel::PlaceBelowViewport()
{
    const QRect vp = FGrid->viewport()->geometry();
    setGeometry(vp.left(), vp.top() + vp.height(), vp.width(), height());
}

void TFooterPanel::CreateWnd()
{
    const TFloatingFooter& ff = FGrid->FloatingFooter();
    SetPanelHeight(ff.Visible() ? ff.Height() : 0);
    if (FGrid->OnCreatedFloatingFooter)
        FGrid->OnCreatedFloatingFooter(FGrid);
}

bool TFooterPanel::eventFilter(QObject* Watched, QEvent* Event)
{
    try {
        if (Watched == FGrid && Event->type() == QEvent::Show && !FCreated) {
            FCreated = true;
            CreateWnd();
        } else if (Watched == FGrid->viewport() &&
                   (Event->type() == QEvent::Resize || Event->type() == QEvent::Move)) {
            PlaceBelowViewport();
        }
    } catch (...) {
    }
    return QWidget::eventFilter(Watched, Event);
}

int TFooterPanel::ColumnsWidth() const
{
    int w = 0;
    for (int c : ShownColumns(*FGrid))
        w += FGrid->ColWidths(c);
    return w;
}

int TFooterPanel::ColumnAt(int X) const
{
    const TVerIvovavOzed& g = *FGrid;
    int sum = 0;
    int i = 0;
    while (sum < X && i < g.ColCount() && i < g.FixedCols()) {
        sum += g.ColWidths(i);
        ++i;
    }
    if (sum >= X) {
        // Over a fixed column (or at the very left edge): that column, never one scrolled away.
        if (i > 0)
            return i - 1;
        if (g.FixedCols() > 0 && g.ColCount() > 0)
            return 0;
        return g.LeftCol() < g.ColCount() ? g.LeftCol() : -1;
    }
    int j = g.LeftCol();
    while (sum < X && j < g.ColCount()) {
        sum += g.ColWidths(j);
        ++j;
    }
    if (j >= g.ColCount() && sum < X)
        return -1;
    return j == 0 ? -1 : j - 1;
}

QString TFooterPanel::ExpandTemplate(const QString& ATemplate) const
{
    const TVerIvovavOzed& g = *FGrid;
    QString res;
    qsizetype pos = 0;
    while (true) {
        const qsizetype start = ATemplate.indexOf(QLatin1String("<#"), pos);
        if (start < 0)
            break;
        const qsizetype end = ATemplate.indexOf(QLatin1Char('>'), start + 2);
        if (end < 0)
            break; // an unclosed field stays text
        res += ATemplate.mid(pos, start - pos);
        int n = 0;
        if (platform::TryStrToInt(ATemplate.mid(start + 2, end - start - 2), n) && n >= 0 && n < g.AllColCount() &&
            g.Row() >= 0 && g.Row() < g.RowCount())
            res += g.Cells(n, g.Row());
        pos = end + 1;
    }
    res += ATemplate.mid(pos);
    return res;
}

// ---- painting ---------------------------------------------------------------------------------

void TFooterPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    FCanvas.SetPainter(&painter);
    try {
        Paint(FCanvas);
    } catch (...) {
    }
    FCanvas.SetPainter(nullptr);
}

void TFooterPanel::Paint(TCanvas& ACanvas)
{
    TVerIvovavOzed& g = *FGrid;
    const TFloatingFooter& ff = g.FloatingFooter();
    // Cells are painted as fixed cells in the panel: selected text keeps the plain colour and
    // nothing is mirrored.
    const TColor selText = g.FSelectionTextColor;
    g.FSelectionTextColor = clBlack;
    g.FNoRTLOrientation = true;
    int w = width();
    try {
        switch (ff.FooterStyle()) {
        case fsFixedLastRow: w = PaintFixedLastRow(ACanvas); break;
        case fsColumnPreview: w = PaintColumnPreview(ACanvas); break;
        case fsCustomPreview: w = PaintCustomPreview(ACanvas); break;
        case fsCustomPaint: w = PaintCustomPaint(ACanvas); break;
        }
    } catch (...) {
    }
    g.FNoRTLOrientation = false;
    g.FSelectionTextColor = selText;
    if (ff.BorderColor() != clNone) {
        ACanvas.Pen().SetColor(ff.BorderColor());
        Line(ACanvas, 0, 0, w, 0);
    }
}

int TFooterPanel::PaintFixedLastRow(TCanvas& C)
{
    TVerIvovavOzed& g = *FGrid;
    const TFloatingFooter& ff = g.FloatingFooter();
    const TRect cr{0, 0, width(), height()};
    const std::vector<int> cols = ShownColumns(g);
    const int w = ColumnsWidth();

    // 1. Background: the footer colour under the columns, the grid's colour beyond.
    C.Brush().SetStyle(bsSolid);
    C.Brush().SetColor(ff.Color());
    C.Pen().SetColor(ff.Color());
    C.FillRect(TRect(0, 0, w, cr.Bottom));
    C.Brush().SetColor(g.Color());
    C.FillRect(TRect(w, 0, cr.Right, cr.Bottom));

    // 2. Column separators.
    const TGridOptions o = g.Options();
    const bool vert = o & goFixedVertLine;
    const bool horz = o & goFixedHorzLine;
    const bool raised = Look3D(g.Look()) && !g.Flat();
    std::vector<int> start(size_t(std::max(g.ColCount(), 0)), -1);
    int x = 0;
    for (int c : cols) {
        const int cw = g.ColWidths(c);
        start[size_t(c)] = x;
        if (vert && raised) {
            C.Pen().SetColor(clWhite);
            Line(C, x, cr.Bottom - 1, x, -1);
        }
        if (horz) {
            C.Pen().SetColor(g.GridLineColor());
            Line(C, x, 0, x + cw, 0);
        }
        if (c >= g.FixedCols() && g.Look() != glVista)
            C.Pen().SetColor(0x808080);
        if (vert)
            Line(C, x + cw - 1, 0, x + cw - 1, cr.Bottom);
        x += cw;
    }

    // 3. Cells of the footer row.
    const int footerRow = g.RowCount() - 1;
    if (footerRow < 0)
        return w;
    const int top = horz ? cr.Top + 1 : cr.Top;
    int left = 0;
    for (int c : cols) {
        const int rc = g.RealColIndex(c);
        int right = left + g.ColWidths(c) - 1;
        if (g.IsMergedCell(rc, footerRow)) {
            // The merged range ends at its last column's right edge in the panel.
            const int lastCol = g.DisplColIndex(g.FullCell(rc, footerRow).Right);
            if (lastCol >= 0 && lastCol < g.ColCount() && start[size_t(lastCol)] >= 0)
                right = start[size_t(lastCol)] + g.ColWidths(lastCol) - 1;
        }
        TRect R{left, top, right, cr.Bottom};
        if (horz && raised)
            R.Left += 1;
        const bool scrolled = c >= g.FixedCols();
        if (scrolled) {
            if (g.OnGetCellColor) {
                TBrush brush;
                brush.SetColor(clNone);
                TFont font;
                font.Assign(g.Font());
                g.OnGetCellColor(&g, footerRow, rc, TGridDrawState(gdFixed), brush, font);
                if (brush.Color() != clNone) {
                    C.Brush().SetColor(brush.Color());
                    C.FillRect(R);
                }
            }
            const TColor cellColor = g.GetColors(rc, footerRow);
            if (cellColor != clNone) {
                C.Brush().SetColor(cellColor);
                C.FillRect(R);
            }
        }
        if (!g.IsMergedNonBaseCell(rc, footerRow) && R.Left <= R.Right) {
            if (scrolled && g.OnFooterPaint)
                g.OnFooterPaint(this, c, C, R);
            else
                g.DrawGridCell(C, c, footerRow, R, TGridDrawState(gdFixed));
        }
        left = right + 1;
    }
    return left - 1;
}

TRect TFooterPanel::PaintPreviewFrame(TCanvas& C, int w)
{
    TVerIvovavOzed& g = *FGrid;
    const TRect R{0, 0, w, height()};
    C.Brush().SetStyle(bsSolid);
    C.Brush().SetColor(g.FloatingFooter().Color());
    C.FillRect(R);
    C.Pen().SetColor(clWhite);
    Line(C, R.Left, R.Bottom - 1, R.Left, R.Top);
    C.LineTo(R.Right - 1, R.Top);
    C.Pen().SetColor(0x808080);
    Line(C, R.Right - 1, R.Top, R.Right - 1, R.Bottom - 1);
    C.LineTo(R.Left - 1, R.Bottom - 1);
    C.Brush().SetColor(g.Color());
    C.FillRect(TRect(w, 0, width(), height()));
    return R;
}

int TFooterPanel::PaintColumnPreview(TCanvas& C)
{
    TVerIvovavOzed& g = *FGrid;
    const int w = ColumnsWidth();
    const TRect R = PaintPreviewFrame(C, w);
    const int column = g.FloatingFooter().Column();
    if (g.OnFooterPaint)
        g.OnFooterPaint(this, column, C, R);
    else if (column >= 0 && column < g.ColCount() && g.Row() >= 0 && g.Row() < g.RowCount())
        g.DrawGridCell(C, column, g.Row(), R, TGridDrawState());
    return w;
}

int TFooterPanel::PaintCustomPreview(TCanvas& C)
{
    TVerIvovavOzed& g = *FGrid;
    const int w = ColumnsWidth();
    TRect R = PaintPreviewFrame(C, w);
    R.Top += 2;
    C.Font().Assign(g.Font());
    C.Brush().SetStyle(bsClear);
    C.SetBkMode(TRANSPARENT);
    TMarkupRenderParams p;
    p.Window = this;
    TMarkupRenderResult res;
    RenderMarkupText(C, ExpandTemplate(g.FloatingFooter().CustomTemplate()), R, p, res);
    return w;
}

int TFooterPanel::PaintCustomPaint(TCanvas& C)
{
    TVerIvovavOzed& g = *FGrid;
    if (g.OnFooterPaint)
        g.OnFooterPaint(this, g.FloatingFooter().Column(), C, TRect(0, 0, width(), height()));
    return width();
}

// ---- pointer and hints ------------------------------------------------------------------------

bool TFooterPanel::HintShow(int X, QString& HintStr)
{
    TVerIvovavOzed& g = *FGrid;
    const int col = ColumnAt(X);
    if (g.OnGridHint && col >= 0)
        g.OnGridHint(&g, g.RowCount() - 1, col, HintStr);
    FLastHintX = FShowHint && col >= 0 ? col : -1;
    return FShowHint;
}

void TFooterPanel::MouseMove(TShiftState, int X, int)
{
    if (!FShowHint)
        return;
    int col = ColumnAt(X);
    if (col < 0 && X > ColumnsWidth())
        col = FGrid->ColCount() - 1; // beyond all columns: the last one
    if (col != FLastHintX && FLastHintX >= 0) {
        QToolTip::hideText();
        FLastHintX = col;
    }
}

void TFooterPanel::MouseUp(TMouseButton, TShiftState, int X, int)
{
    TVerIvovavOzed& g = *FGrid;
    if (g.OnClick)
        g.OnClick(&g);
    const int col = ColumnAt(X);
    if (col >= 0 && g.OnClickCell)
        g.OnClickCell(&g, g.RowCount() - 1, col);
}

void TFooterPanel::MouseLeave() { FLastHintX = -1; }

void TFooterPanel::mouseMoveEvent(QMouseEvent* event)
{
    try {
        MouseMove(platform::ShiftStateOf(event), event->position().toPoint().x(), event->position().toPoint().y());
    } catch (...) {
    }
}

void TFooterPanel::mouseReleaseEvent(QMouseEvent* event)
{
    try {
        MouseUp(platform::MouseButtonOf(event->button()), platform::ShiftStateOf(event),
                event->position().toPoint().x(), event->position().toPoint().y());
    } catch (...) {
    }
}

void TFooterPanel::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    MouseLeave();
}

bool TFooterPanel::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* he = static_cast<QHelpEvent*>(event);
        try {
            QString hint;
            if (HintShow(he->pos().x(), hint) && !hint.isEmpty())
                QToolTip::showText(he->globalPos(), hint, this);
            else
                QToolTip::hideText();
        } catch (...) {
        }
        return true;
    }
    return QWidget::event(event);
}
