// THTMLHintWindow: layout, placement and painting of the grid's hints.
#include "grid/HTMLHintWindow.h"

#include "grid/AdvGrid.h"
#include "render/RuvOdid.h"
#include "render/VurADIDO.h"
#include "platform/Property.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {
bool IsWideHint(const QString& s) { return s.startsWith(QStringLiteral("|\\")); }
} // namespace

THTMLHintWindow::THTMLHintWindow(QWidget* AOwner)
    : QWidget(AOwner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    FHintFont.SetName(QStringLiteral("Tahoma"));
    FHintFont.SetSize(8);
}

void THTMLHintWindow::SetCaption(const QString& Value)
{
    if (platform::Change(FCaption, Value))
        update();
}

TSize THTMLHintWindow::Measure(const QString& AHint, int MaxWidth, bool& Wide)
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    canvas.Font().Assign(FHintFont);
    Wide = IsWideHint(AHint);
    if (Wide) {
        FWideCaption = DecodeUnicodeCell(AHint);
        return TSize{canvas.TextWidth(FWideCaption), canvas.TextHeight(FWideCaption.isEmpty() ? QStringLiteral("gh") : FWideCaption)};
    }
    TMarkupRenderParams params;
    params.Images = FImages;
    params.PictureContainer = FPictureContainer;
    params.MeasureOnly = true;
    params.WordWrap = true;
    params.AnchorColor = 0xFF0000;
    params.ShadowColor = 0x808080;
    TMarkupRenderResult result;
    RenderMarkupText(canvas, AHint, TRect{0, 0, MaxWidth, 4096}, params, result);
    return TSize{result.Width, result.Height};
}

TRect THTMLHintWindow::FitOnMonitor(TRect Rect, const TRect& Monitor, int TextHeight)
{
    const int monW = Monitor.Right - Monitor.Left;
    const int monH = Monitor.Bottom - Monitor.Top;
    if (Rect.Right - Monitor.Left > monW) {
        const int w = Rect.Right - Rect.Left;
        Rect.Right = Monitor.Right - 2;
        Rect.Left = Rect.Right - w;
    }
    if (Rect.Bottom - Monitor.Top > monH) {
        Rect.Bottom = Monitor.Bottom - 2;
        Rect.Top = Rect.Bottom - TextHeight - 4;
    }
    return Rect;
}

void THTMLHintWindow::ActivateHint(TRect Rect, const QString& AHint)
{
    FCaption = AHint;
    bool wide = false;
    const TSize sz = Measure(AHint, 1008, wide);
    FTextWidth = sz.cx;
    FTextHeight = sz.cy;
    const int extra = wide ? 8 : 16;
    Rect.Right = Rect.Left + FTextWidth + extra;
    Rect.Bottom = Rect.Top + FTextHeight + 4;
    QScreen* screen = QGuiApplication::screenAt(QPoint(Rect.Left, Rect.Top));
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect g = screen->geometry();
        Rect = FitOnMonitor(Rect, TRect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()}, FTextHeight);
    }
    setGeometry(Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
    show();
    raise();
    update();
}

void THTMLHintWindow::ActivateHintData(TRect Rect, const QString& AHint, QObject* AData)
{
    if (auto* grid = dynamic_cast<TVerIvovavOzed*>(AData)) {
        FHintFont.Assign(grid->Font());
        FImages = grid->GridImages();
        FPictureContainer = grid->PictureContainer();
    }
    ActivateHint(Rect, AHint);
}

TRect THTMLHintWindow::CalcHintRect(int MaxWidth, const QString& AHint, QObject*)
{
    bool wide = false;
    const TSize sz = Measure(AHint, MaxWidth, wide);
    return TRect{0, 0, sz.cx, sz.cy};
}

void THTMLHintWindow::PaintOn(TCanvas& ACanvas, int AWidth, int AHeight)
{
    const TRect r{0, 0, AWidth, AHeight};
    ACanvas.Brush().SetColor(FColor);
    ACanvas.FillRect(r);
    ACanvas.Pen().SetWidth(1);
    ACanvas.Pen().SetColor(cl3DLight);
    ACanvas.MoveTo(r.Left, r.Bottom - 2);
    ACanvas.LineTo(r.Left, r.Top);
    ACanvas.LineTo(r.Right - 1, r.Top);
    ACanvas.Pen().SetColor(cl3DDkShadow);
    ACanvas.MoveTo(r.Left, r.Bottom - 1);
    ACanvas.LineTo(r.Right - 1, r.Bottom - 1);
    ACanvas.LineTo(r.Right - 1, r.Top - 1);

    TRect tr = r;
    tr.Left += 4;
    tr.Right -= 4;
    tr.Top = r.Top + (AHeight - FTextHeight) / 2;
    tr.Bottom = tr.Top + FTextHeight + 8;
    ACanvas.Font().Assign(FHintFont);
    ACanvas.SetBkMode(TRANSPARENT);
    if (IsWideHint(FCaption)) {
        ACanvas.TextOut(tr.Left, tr.Top, FWideCaption);
        return;
    }
    TMarkupRenderParams params;
    params.Images = FImages;
    params.PictureContainer = FPictureContainer;
    params.Window = this;
    params.AnchorColor = 0xFF0000;
    params.ShadowColor = 0x808080;
    params.ShadowOffset = 1;
    params.WordWrap = false;
    params.BlinkVisible = false;
    params.HoverAnchor = 0;
    params.FocusAnchor = -1;
    TMarkupRenderResult result;
    RenderMarkupText(ACanvas, FCaption, tr, params, result);
}

void THTMLHintWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TCanvas canvas(&painter);
    try {
        PaintOn(canvas, width(), height());
    } catch (...) {
        // A hint never lets an error out of painting.
    }
}
