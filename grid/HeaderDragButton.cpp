// THeaderDragButton: painting of the dragged header.
#include "grid/HeaderDragButton.h"

#include "grid/AdvGrid.h"
#include "render/VurADIDO.h"

#include <QPainter>

THeaderDragButton::THeaderDragButton(QWidget* AOwner)
    : QWidget(AOwner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void THeaderDragButton::PaintOn(TCanvas& ACanvas, int AWidth, int AHeight)
{
    TRect r{0, 0, AWidth, AHeight};
    ACanvas.Brush().SetColor(clBtnFace);
    ACanvas.FillRect(r);
    if (FGrid)
        FGrid->PaintCellExt(ACanvas, 0, 0, r, TGridDrawState());
    // The window's own border.
    ACanvas.Brush().SetColor(clBtnShadow);
    ACanvas.FrameRect(r);
    ACanvas.SetBkMode(TRANSPARENT);
    if (FGrid)
        ACanvas.Font().Assign(FGrid->FixedFont());
    if (!FCaption.contains(QStringLiteral("</"))) {
        DrawTextEx(ACanvas, FCaption, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS, nullptr);
        return;
    }
    TMarkupRenderParams params;
    params.Window = this;
    TMarkupRenderResult result;
    RenderMarkupText(ACanvas, FCaption, r, params, result);
}

void THeaderDragButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TCanvas canvas(&painter);
    try {
        PaintOn(canvas, width(), height());
    } catch (...) {
        // Painting never lets an error out.
    }
}
