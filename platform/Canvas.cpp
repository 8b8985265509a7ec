#include "platform/Canvas.h"

#include "platform/Picture.h"
#include "platform/Property.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QTextLayout>
#include <QTextOption>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>
#include <QStringList>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

// Integer scaling as the platform does it: rounds half away from zero, -1 for a zero divisor.
int MulDivInt(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long n = static_cast<long long>(a) * b;
    long long q = n / c;
    const long long r = n % c;
    if (2 * std::llabs(r) >= std::llabs(static_cast<long long>(c)))
        q += ((n < 0) != (c < 0)) ? -1 : 1;
    return static_cast<int>(q);
}

// Cell height / em of a face, to turn a positive (cell) height into a pixel size.
double CellToEmRatio(const QFont& font)
{
    QFont f(font);
    f.setPixelSize(100);
    const QFontMetricsF fm(f);
    const double h = fm.ascent() + fm.descent();
    return h > 0 ? h / 100.0 : 1.0;
}

// Before the clip changes (or the painter goes): the saved states that have not taken the clip
// yet take it now; they all saw this same clip, as it has not changed since the oldest of them.
template <class SavedStates>
void KeepClip(SavedStates& saved, QPainter* painter)
{
    for (auto it = saved.rbegin(); it != saved.rend() && !it->clipKnown; ++it) {
        it->clipKnown = true;
        it->hasClip = painter && painter->hasClipping();
        it->clip = it->hasClip ? painter->clipRegion() : QRegion();
    }
}

} // namespace

// ---- TFont -----------------------------------------------------------------------------------

TFont::TFont() = default;

void TFont::Assign(const TFont& source)
{
    if (this == &source)
        return;
    std::tie(FName, FHeight, FPixelsPerInch, FStyle, FColor, FOrientation, FPitch) = std::tie(
        source.FName, source.FHeight, source.FPixelsPerInch, source.FStyle, source.FColor, source.FOrientation,
        source.FPitch);
    Changed();
}

void TFont::SetName(const QString& name)
{
    if (name.isEmpty() || name == FName)
        return;
    FName = name;
    Changed();
}

int TFont::Size() const
{
    return -MulDivInt(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int points)
{
    SetHeight(-MulDivInt(points, FPixelsPerInch, 72));
}

void TFont::SetHeight(int height) { Put(FHeight, height); }

void TFont::SetStyle(TFontStyles style) { Put(FStyle, style); }

void TFont::SetColor(TColor color) { Put(FColor, color); }

void TFont::SetOrientation(int tenthsOfDegree) { Put(FOrientation, tenthsOfDegree); }

void TFont::SetPitch(TFontPitch pitch) { Put(FPitch, pitch); }

void TFont::SetPixelsPerInch(int ppi)
{
    if (ppi <= 0 || ppi == FPixelsPerInch)
        return;
    const int size = Size();
    FPixelsPerInch = ppi;
    FHeight = -MulDivInt(size, ppi, 72);
    Changed();
}

QFont TFont::ToQFont(double pixelsPerUnit) const
{
    QFont f(FName);
    if (FPitch == fpFixed)
        f.setStyleHint(QFont::Monospace);
    f.setBold(FStyle.testFlag(fsBold));
    f.setItalic(FStyle.testFlag(fsItalic));
    f.setUnderline(FStyle.testFlag(fsUnderline));
    f.setStrikeOut(FStyle.testFlag(fsStrikeOut));
    f.setKerning(false);
    double px;
    if (FHeight < 0)
        px = -FHeight * pixelsPerUnit;
    else if (FHeight > 0)
        px = FHeight * pixelsPerUnit / CellToEmRatio(f);
    else
        px = 11 * pixelsPerUnit; // height 0: the face's default size
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(px))));
    return f;
}

TFont TFont::FromQFont(const QFont& font)
{
    TFont t;
    t.SetName(font.family());
    if (font.pointSize() > 0)
        t.SetSize(font.pointSize());
    else if (font.pixelSize() > 0)
        t.SetHeight(-font.pixelSize());
    TFontStyles s;
    if (font.bold())
        s |= fsBold;
    if (font.italic())
        s |= fsItalic;
    if (font.underline())
        s |= fsUnderline;
    if (font.strikeOut())
        s |= fsStrikeOut;
    t.SetStyle(s);
    t.SetColor(clWindowText);
    return t;
}

bool operator==(const TFont& a, const TFont& b)
{
    return a.FName == b.FName && a.FHeight == b.FHeight && a.FStyle == b.FStyle && a.FColor == b.FColor &&
           a.FOrientation == b.FOrientation && a.FPitch == b.FPitch;
}

// ---- TBrush and TPen -------------------------------------------------------------------------

void TBrush::Assign(const TBrush& source)
{
    if (this == &source)
        return;
    std::tie(FColor, FStyle) = std::tie(source.FColor, source.FStyle);
    Changed();
}

void TBrush::SetColor(TColor color)
{
    if (FStyle == bsClear)
        FStyle = bsSolid;
    Store(FColor, color);
}

void TBrush::SetStyle(TBrushStyle style)
{
    Store(FStyle, style);
}

void TPen::Assign(const TPen& source)
{
    if (this == &source)
        return;
    std::tie(FColor, FWidth, FStyle, FMode) = std::tie(source.FColor, source.FWidth, source.FStyle, source.FMode);
    Changed();
}

void TPen::SetColor(TColor color) { Put(FColor, color); }

void TPen::SetWidth(int width) { Put(FWidth, width); }

void TPen::SetStyle(TPenStyle style) { Put(FStyle, style); }

void TPen::SetMode(TPenMode mode) { Put(FMode, mode); }

// ---- TCanvas: set-up -------------------------------------------------------------------------

struct TCanvas::SavedState {
    TFont font;
    TBrush brush;
    TPen pen;
    TPoint penPos;
    int bkMode;
    TMapMode mapMode;
    bool hasClip;
    QRegion clip;
    // The clip is taken only when it is about to change: most saved states see no clip change,
    // and reading a clip region and setting it back cost more than the painting they guard.
    bool clipKnown = false;
};

TCanvas::TCanvas(QPaintDevice* device)
{
    Hook();
    Begin(device);
}

TCanvas::TCanvas(QPainter* painter)
{
    Hook();
    SetPainter(painter);
}

TCanvas::TCanvas()
{
    Hook();
}

TCanvas::~TCanvas()
{
    End();
}

void TCanvas::Hook()
{
    // A new brush sets the text background the way the platform does when it selects one.
    FBrush.OnChange = [this] { FBkMode = FBrush.Style() == bsClear ? TRANSPARENT : OPAQUE; };
}

void TCanvas::Begin(QPaintDevice* device)
{
    End();
    if (!device || device->width() <= 0 || device->height() <= 0)
        return;
    FOwnDevice = device;
    FOwnPainter = std::make_unique<QPainter>();
    if (!FOwnPainter->begin(device)) {
        FOwnPainter.reset();
        FOwnDevice = nullptr;
        return;
    }
    FPainter = FOwnPainter.get();
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    FBaseTransform = FPainter->transform();
}

void TCanvas::End()
{
    KeepClip(FSaved, FPainter);
    if (FOwnPainter) {
        if (FOwnPainter->isActive())
            FOwnPainter->end();
        FOwnPainter.reset();
    }
    FOwnDevice = nullptr;
    FPainter = nullptr;
}

void TCanvas::SetDevice(QPaintDevice* device)
{
    Begin(device);
}

void TCanvas::SetPainter(QPainter* painter)
{
    End();
    FPainter = painter && painter->isActive() ? painter : nullptr;
    if (FPainter) {
        FPainter->setRenderHint(QPainter::Antialiasing, false);
        FPainter->setRenderHint(QPainter::SmoothPixmapTransform, false);
        FBaseTransform = FPainter->transform();
    }
}

QSize TCanvas::DeviceSize() const
{
    if (!FPainter || !FPainter->device())
        return QSize(0, 0);
    return QSize(FPainter->device()->width(), FPainter->device()->height());
}

// ---- TCanvas: units --------------------------------------------------------------------------

// An override wins, then the device's own resolution; without a device the screen's 96.
static int DeviceDpi(int override, const QPainter* painter, int (QPaintDevice::*logicalDpi)() const)
{
    if (override > 0)
        return override;
    if (painter && painter->device())
        return (painter->device()->*logicalDpi)();
    return 96;
}

int TCanvas::PixelsPerInchX() const { return DeviceDpi(FDpiOverrideX, FPainter, &QPaintDevice::logicalDpiX); }

int TCanvas::PixelsPerInchY() const { return DeviceDpi(FDpiOverrideY, FPainter, &QPaintDevice::logicalDpiY); }

void TCanvas::SetResolutionOverride(int dpiX, int dpiY)
{
    FDpiOverrideX = std::max(0, dpiX);
    FDpiOverrideY = std::max(0, dpiY);
}

int TCanvas::GetDeviceCaps(int index) const
{
    switch (index) {
    case LOGPIXELSX: return PixelsPerInchX();
    case LOGPIXELSY: return PixelsPerInchY();
    case HORZRES: return DeviceSize().width();
    case VERTRES: return DeviceSize().height();
    default: return 0;
    }
}

void TCanvas::SetMapMode(TMapMode mode)
{
    FMapMode = mode;
}

double TCanvas::UnitX() const
{
    return FMapMode == mmLoMetric ? PixelsPerInchX() / 254.0 : 1.0;
}

double TCanvas::UnitY() const
{
    return FMapMode == mmLoMetric ? PixelsPerInchY() / 254.0 : 1.0;
}

TPoint TCanvas::LPtoDP(const TPoint& p) const
{
    if (FMapMode == mmText)
        return p;
    return TPoint(int(std::lround(p.X * UnitX())), int(std::lround(-p.Y * UnitY())));
}

TPoint TCanvas::DPtoLP(const TPoint& p) const
{
    if (FMapMode == mmText)
        return p;
    return TPoint(int(std::lround(p.X / UnitX())), int(std::lround(-p.Y / UnitY())));
}

TRect TCanvas::LPtoDP(const TRect& r) const
{
    const TPoint a = LPtoDP(r.TopLeft());
    const TPoint b = LPtoDP(r.BottomRight());
    return TRect(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y));
}

TRect TCanvas::DPtoLP(const TRect& r) const
{
    return TRect(DPtoLP(r.TopLeft()), DPtoLP(r.BottomRight()));
}

QRect TCanvas::DevRect(const TRect& r) const
{
    return ToQRect(LPtoDP(r));
}

int TCanvas::DevPenWidth() const
{
    const int w = FPen.Width();
    if (w <= 1)
        return 1;
    return std::max(1, int(std::lround(w * UnitX())));
}

// ---- TCanvas: state --------------------------------------------------------------------------

void TCanvas::SetBkMode(int mode)
{
    FBkMode = mode == TRANSPARENT ? TRANSPARENT : OPAQUE;
}

int TCanvas::SaveDC()
{
    FSaved.push_back(SavedState{FFont, FBrush, FPen, FPenPos, FBkMode, FMapMode, false, QRegion(), false});
    return int(FSaved.size());
}


bool TCanvas::RestoreDC(int savedIndex)
{
    if (FSaved.empty())
        return false;
    if (savedIndex < 0)
        savedIndex = int(FSaved.size()) + 1 + savedIndex;
    if (savedIndex < 1 || savedIndex > int(FSaved.size()))
        return false;
    const SavedState s = std::move(FSaved[size_t(savedIndex - 1)]);
    FSaved.resize(size_t(savedIndex - 1));
    FFont.Assign(s.font);
    FBrush.Assign(s.brush);
    FPen.Assign(s.pen);
    FPenPos = s.penPos;
    FBkMode = s.bkMode;
    FMapMode = s.mapMode;
    if (FPainter && s.clipKnown) {
        if (s.hasClip) {
            FPainter->setClipping(true);
            FPainter->setClipRegion(s.clip, Qt::ReplaceClip);
        }
        else
            FPainter->setClipping(false);
    }
    return true;
}

// ---- TCanvas: clipping -----------------------------------------------------------------------

TRect TCanvas::ClipRect() const
{
    if (!FPainter)
        return TRect();
    QRect area = FPainter->transform().inverted().mapRect(QRect(QPoint(0, 0), DeviceSize()));
    if (FPainter->paintEngine()) {
        const QRegion sys = FPainter->paintEngine()->systemClip();
        if (!sys.isEmpty())
            area = area.intersected(FPainter->transform().inverted().mapRect(sys.boundingRect()));
    }
    if (FPainter->hasClipping())
        area = area.intersected(FPainter->clipBoundingRect().toAlignedRect());
    return DPtoLP(FromQRect(area));
}

void TCanvas::SetClipRect(const TRect& r)
{
    if (!FPainter)
        return;
    KeepClip(FSaved, FPainter);
    // A clip switched off by a restore must not swallow the next one.
    FPainter->setClipping(true);
    FPainter->setClipRect(DevRect(r), Qt::ReplaceClip);
}

void TCanvas::IntersectClipRect(const TRect& r)
{
    if (!FPainter)
        return;
    if (!FPainter->hasClipping())
        return SetClipRect(r);
    KeepClip(FSaved, FPainter);
    FPainter->setClipRect(DevRect(r), Qt::IntersectClip);
}

void TCanvas::ExcludeClipRect(const TRect& r)
{
    if (!FPainter)
        return;
    KeepClip(FSaved, FPainter);
    QRegion base = FPainter->hasClipping() ? FPainter->clipRegion()
                                           : QRegion(FPainter->transform().inverted().mapRect(QRect(QPoint(0, 0), DeviceSize())));
    FPainter->setClipping(true);
    FPainter->setClipRegion(base.subtracted(QRegion(DevRect(r))), Qt::ReplaceClip);
}

void TCanvas::SelectClipRgn(const QRegion* region)
{
    if (!FPainter)
        return;
    KeepClip(FSaved, FPainter);
    if (!region) {
        FPainter->setClipping(false);
    } else {
        FPainter->setClipping(true);
        FPainter->setClipRegion(*region, Qt::ReplaceClip);
    }
}

bool TCanvas::HasClip() const
{
    return FPainter && FPainter->hasClipping();
}

// ---- TCanvas: lines and shapes ---------------------------------------------------------------

namespace {

// Dash patterns of one-pixel pens, in pixels on / off.
std::vector<int> DashPattern(TPenStyle style)
{
    switch (style) {
    case psDash: return {18, 6};
    case psDot: return {3, 3};
    case psDashDot: return {9, 6, 3, 6};
    case psDashDotDot: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

QPainter::CompositionMode CompositionFor(TPenMode mode)
{
    switch (mode) {
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    case pmNot: return QPainter::RasterOp_NotDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

// The pixels of a line from a to b, b itself left out, in the usual integer stepping.
void LinePixels(QPoint a, QPoint b, std::vector<QPoint>& out)
{
    int x = a.x(), y = a.y();
    const int dx = std::abs(b.x() - x), dy = -std::abs(b.y() - y);
    const int sx = x < b.x() ? 1 : -1, sy = y < b.y() ? 1 : -1;
    int err = dx + dy;
    while (x != b.x() || y != b.y()) {
        out.emplace_back(x, y);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

} // namespace

QBrush TCanvas::QtBrush() const
{
    if (FBrush.Style() == bsClear || FBrush.Color() == clNone)
        return Qt::NoBrush;
    const QColor c = ToQColor(FBrush.Color());
    switch (FBrush.Style()) {
    case bsHorizontal: return QBrush(c, Qt::HorPattern);
    case bsVertical: return QBrush(c, Qt::VerPattern);
    case bsFDiagonal: return QBrush(c, Qt::FDiagPattern);
    case bsBDiagonal: return QBrush(c, Qt::BDiagPattern);
    case bsCross: return QBrush(c, Qt::CrossPattern);
    case bsDiagCross: return QBrush(c, Qt::DiagCrossPattern);
    default: return QBrush(c);
    }
}

void TCanvas::FillDevRect(const QRect& r, const QColor& c)
{
    if (!FPainter || r.isEmpty() || c.alpha() == 0)
        return;
    FPainter->fillRect(r, c);
}

void TCanvas::FillDevRectBrush(const QRect& r)
{
    if (!FPainter || r.isEmpty())
        return;
    if (FBrush.Style() == bsSolid) {
        // A solid brush fills as its colour does, without building a brush.
        if (FBrush.Color() != clNone)
            FPainter->fillRect(r, ToQColor(FBrush.Color()));
        return;
    }
    const QBrush b = QtBrush();
    if (b.style() == Qt::NoBrush)
        return;
    FPainter->fillRect(r, b);
}

// A plain one-pixel line along a row or column is one rectangle from the start point up to the
// end point (left out); drawn as it is when the painter already composes as the pen does. False
// when the line is not of that kind (nothing drawn).
static bool FillDevLine(QPainter* p, const TPen& pen, int devWidth, QPoint a, QPoint b)
{
    if (devWidth > 1 || (a.x() != b.x() && a.y() != b.y()) || !DashPattern(pen.Style()).empty() ||
        p->compositionMode() != CompositionFor(pen.Mode()))
        return false;
    if (a == b)
        return true;
    const QPoint last(a.x() == b.x() ? a.x() : b.x() + (a.x() < b.x() ? -1 : 1),
                      a.y() == b.y() ? a.y() : b.y() + (a.y() < b.y() ? -1 : 1));
    p->fillRect(QRect(QPoint(std::min(a.x(), last.x()), std::min(a.y(), last.y())),
                      QPoint(std::max(a.x(), last.x()), std::max(a.y(), last.y()))),
                ToQColor(pen.Color()));
    return true;
}

// Draws the open or closed path of device points with the current pen; every segment leaves its
// end point out (for a closed path the start point is drawn once by the first segment).
static void StrokeDevPath(QPainter* p, const TPen& pen, int devWidth, const std::vector<QPoint>& pts)
{
    if (!p || pts.size() < 2 || pen.Style() == psClear || pen.Color() == clNone)
        return;
    if (pts.size() == 2 && FillDevLine(p, pen, devWidth, pts[0], pts[1]))
        return;
    const QColor c = ToQColor(pen.Color());
    p->save();
    p->setCompositionMode(CompositionFor(pen.Mode()));
    if (devWidth <= 1) {
        std::vector<QPoint> pixels;
        for (size_t i = 1; i < pts.size(); ++i)
            LinePixels(pts[i - 1], pts[i], pixels);
        const std::vector<int> dash = DashPattern(pen.Style());
        std::vector<QPoint> shown;
        if (dash.empty()) {
            shown = std::move(pixels);
        } else {
            int period = 0;
            for (int d : dash)
                period += d;
            for (size_t i = 0; i < pixels.size(); ++i) {
                int pos = int(i % size_t(period));
                size_t k = 0;
                while (pos >= dash[k]) {
                    pos -= dash[k];
                    ++k;
                }
                if (k % 2 == 0)
                    shown.push_back(pixels[i]);
            }
        }
        // A plain line along a row or column is one rectangle; anything else goes pixel by pixel.
        if (dash.empty() && pts.size() == 2 && (pts[0].x() == pts[1].x() || pts[0].y() == pts[1].y())) {
            if (!shown.empty()) {
                const QPoint a = shown.front(), b = shown.back();
                p->fillRect(QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                                  QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y()))),
                            c);
            }
        } else {
            for (const QPoint& q : shown)
                p->fillRect(QRect(q, QSize(1, 1)), c);
        }
    } else {
        QPen qp(c, devWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        p->setPen(qp);
        p->setBrush(Qt::NoBrush);
        QPainterPath path;
        // Wide pens are centred on the pixel centres of the line.
        const QPointF half(devWidth % 2 ? 0.5 : 0.0, devWidth % 2 ? 0.5 : 0.0);
        path.moveTo(QPointF(pts[0]) + half);
        for (size_t i = 1; i < pts.size(); ++i)
            path.lineTo(QPointF(pts[i]) + half);
        p->drawPath(path);
    }
    p->restore();
}

void TCanvas::MoveTo(int x, int y)
{
    FPenPos = TPoint(x, y);
}

void TCanvas::LineTo(int x, int y)
{
    const TPoint a = LPtoDP(FPenPos);
    const TPoint b = LPtoDP(TPoint(x, y));
    FPenPos = TPoint(x, y);
    // Grid lines take the short way, without a list of points.
    if (!FPainter || FPen.Style() == psClear || FPen.Color() == clNone)
        return;
    if (FillDevLine(FPainter, FPen, DevPenWidth(), ToQPoint(a), ToQPoint(b)))
        return;
    StrokeDevPath(FPainter, FPen, DevPenWidth(), {ToQPoint(a), ToQPoint(b)});
}

void TCanvas::Polyline(const std::vector<TPoint>& points)
{
    std::vector<QPoint> pts;
    for (const TPoint& p : points)
        pts.push_back(ToQPoint(LPtoDP(p)));
    StrokeDevPath(FPainter, FPen, DevPenWidth(), pts);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    if (!FPainter)
        return;
    const QRect r = DevRect(TRect(x1, y1, x2, y2));
    if (r.isEmpty())
        return;
    const bool noPen = FPen.Style() == psClear || FPen.Color() == clNone;
    if (noPen) {
        // Without a pen the filled area is one pixel smaller at the right and bottom.
        FillDevRectBrush(r.adjusted(0, 0, -1, -1));
        return;
    }
    const int w = DevPenWidth();
    if (w <= 1) {
        FillDevRectBrush(r.adjusted(1, 1, -1, -1));
        const int l = r.left(), t = r.top(), rr = r.left() + r.width() - 1, b = r.top() + r.height() - 1;
        StrokeDevPath(FPainter, FPen, 1, {{l, t}, {rr, t}, {rr, b}, {l, b}, {l, t}});
        return;
    }
    // A wide pen: a band of its width centred on the outline (inside it for psInsideFrame).
    QRect outer;
    if (FPen.Style() == psInsideFrame)
        outer = r;
    else {
        const int l = r.left() - w / 2, t = r.top() - w / 2;
        const int rr = r.left() + r.width() - 1 + w - w / 2, b = r.top() + r.height() - 1 + w - w / 2;
        outer = QRect(l, t, rr - l, b - t);
    }
    const QRect inner = outer.adjusted(w, w, -w, -w);
    FillDevRectBrush(inner);
    QRegion band = QRegion(outer).subtracted(QRegion(inner));
    FPainter->save();
    FPainter->setCompositionMode(CompositionFor(FPen.Mode()));
    for (const QRect& part : band)
        FPainter->fillRect(part, ToQColor(FPen.Color()));
    FPainter->restore();
}

// Pen and brush for the shapes drawn through QPainter (ellipses, polygons, pies).
static void SetupShape(QPainter* p, const TPen& pen, int devWidth, const QBrush& brush)
{
    if (pen.Style() == psClear || pen.Color() == clNone)
        p->setPen(Qt::NoPen);
    else {
        QPen qp(ToQColor(pen.Color()), devWidth <= 1 ? 0 : devWidth);
        qp.setJoinStyle(Qt::MiterJoin);
        p->setPen(qp);
    }
    p->setBrush(brush);
    p->setCompositionMode(CompositionFor(pen.Mode()));
}

// Draws a shape with the pen and `brush`; `draw` gets the box with its right and bottom edges
// made inclusive, the way QPainter outlines a rectangle.
void TCanvas::DrawShape(const TRect& box, const QBrush& brush, const std::function<void(const QRect&)>& draw)
{
    if (!FPainter)
        return;
    const QRect r = DevRect(box);
    if (r.isEmpty())
        return;
    FPainter->save();
    SetupShape(FPainter, FPen, DevPenWidth(), brush);
    draw(QRect(r.x(), r.y(), r.width() - 1, r.height() - 1));
    FPainter->restore();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH)
{
    const double cw = std::abs(cornerW * UnitX()) / 2.0, ch = std::abs(cornerH * UnitY()) / 2.0;
    DrawShape(TRect(x1, y1, x2, y2), QtBrush(), [&](const QRect& r) { FPainter->drawRoundedRect(QRectF(r), cw, ch); });
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    DrawShape(TRect(x1, y1, x2, y2), QtBrush(), [this](const QRect& r) { FPainter->drawEllipse(r); });
}

void TCanvas::Polygon(const std::vector<TPoint>& points)
{
    if (!FPainter || points.size() < 2)
        return;
    QPolygon poly;
    for (const TPoint& p : points)
        poly << ToQPoint(LPtoDP(p));
    FPainter->save();
    SetupShape(FPainter, FPen, DevPenWidth(), QtBrush());
    FPainter->drawPolygon(poly, Qt::OddEvenFill);
    FPainter->restore();
}

// Start and span (in 1/16 degree, counter-clockwise) of the arc between two radial points.
static void ArcAngles(const QRect& r, QPoint start, QPoint end, int* a16, int* span16)
{
    const QPointF c = QRectF(r).center();
    const double a = std::atan2(-(start.y() - c.y()), start.x() - c.x()) * 180.0 / M_PI;
    const double b = std::atan2(-(end.y() - c.y()), end.x() - c.x()) * 180.0 / M_PI;
    double span = b - a;
    while (span <= 0)
        span += 360.0;
    *a16 = int(std::lround(a * 16));
    *span16 = int(std::lround(span * 16));
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    ArcShape(TRect(x1, y1, x2, y2), TPoint(x3, y3), TPoint(x4, y4), true);
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    ArcShape(TRect(x1, y1, x2, y2), TPoint(x3, y3), TPoint(x4, y4), false);
}

// A pie is filled with the brush and closed by its two radii; an arc is the bare outline.
void TCanvas::ArcShape(const TRect& box, TPoint from, TPoint to, bool pie)
{
    DrawShape(box, pie ? QtBrush() : QBrush(Qt::NoBrush), [&](const QRect& inner) {
        int a, s;
        ArcAngles(inner.adjusted(0, 0, 1, 1), ToQPoint(LPtoDP(from)), ToQPoint(LPtoDP(to)), &a, &s);
        if (pie)
            FPainter->drawPie(inner, a, s);
        else
            FPainter->drawArc(inner, a, s);
    });
}

void TCanvas::FillRect(const TRect& r)
{
    FillDevRectBrush(DevRect(r));
}

void TCanvas::FrameRect(const TRect& r)
{
    const QRect d = DevRect(r);
    if (!FPainter || d.isEmpty() || FBrush.Style() == bsClear || FBrush.Color() == clNone)
        return;
    const QColor c = ToQColor(FBrush.Color());
    const int l = d.x(), t = d.y(), w = d.width(), h = d.height();
    FillDevRect(QRect(l, t, w, 1), c);
    FillDevRect(QRect(l, t + h - 1, w, 1), c);
    FillDevRect(QRect(l, t, 1, h), c);
    FillDevRect(QRect(l + w - 1, t, 1, h), c);
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    const QRect d = DevRect(r);
    if (!FPainter || d.isEmpty())
        return;
    const int l = d.x(), t = d.y(), rr = d.x() + d.width() - 1, b = d.y() + d.height() - 1;
    std::vector<QPoint> pts;
    for (int x = l; x <= rr; ++x) {
        pts.emplace_back(x, t);
        if (b != t)
            pts.emplace_back(x, b);
    }
    for (int y = t + 1; y < b; ++y) {
        pts.emplace_back(l, y);
        if (rr != l)
            pts.emplace_back(rr, y);
    }
    const bool raster = FPainter->paintEngine() && FPainter->paintEngine()->type() == QPaintEngine::Raster;
    FPainter->save();
    if (raster)
        FPainter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    for (const QPoint& q : pts) {
        if (((q.x() - l) + (q.y() - t)) % 2 != 0)
            continue;
        FPainter->fillRect(QRect(q, QSize(1, 1)), raster ? QColor(255, 255, 255) : QColor(0, 0, 0));
    }
    FPainter->restore();
}

QImage TCanvas::SurfaceImage() const
{
    if (!FPainter || !FPainter->device())
        return QImage();
    QPaintDevice* dev = FPainter->device();
    if (dev->devType() == QInternal::Image)
        return *static_cast<QImage*>(dev);
    if (dev->devType() == QInternal::Pixmap)
        return static_cast<QPixmap*>(dev)->toImage();
    return QImage();
}

TColor TCanvas::Pixels(int x, int y) const
{
    if (!FPainter || !FPainter->device() || FPainter->device()->devType() != QInternal::Image)
        return clNone;
    const QImage* img = static_cast<const QImage*>(FPainter->device());
    const QPoint d = FPainter->transform().map(ToQPoint(LPtoDP(TPoint(x, y))));
    if (!img->valid(d))
        return clNone;
    return FromQColor(img->pixelColor(d));
}

void TCanvas::SetPixels(int x, int y, TColor color)
{
    if (!FPainter || color == clNone)
        return;
    FillDevRect(QRect(ToQPoint(LPtoDP(TPoint(x, y))), QSize(1, 1)), ToQColor(color));
}

// ---- TCanvas: text ---------------------------------------------------------------------------

namespace {
qint64& LargestInkPictureStore()
{
    static qint64 largest = 0;
    return largest;
}
} // namespace

qint64 platform::LargestInkPicture(bool reset)
{
    const qint64 largest = LargestInkPictureStore();
    if (reset)
        LargestInkPictureStore() = 0;
    return largest;
}

struct TCanvas::FontCache {
    // What the device font is built from.
    QString name;
    int height;
    TFontStyles style;
    TFontPitch pitch;
    double unit;
    int dpi; // of the device measured on (0: no device)

    QFont font;
    QFontMetrics metrics;
    // The metrics every text call asks for, read once.
    int lineHeight;
    int lineAscent;
    int lineLeading;
    int averageCharWidth = -1;

    FontCache(const TFont& f, double u, int d, const QFont& qf, const QFontMetrics& fm)
        : name(f.Name()), height(f.Height()), style(f.Style()), pitch(f.Pitch()), unit(u), dpi(d), font(qf),
          metrics(fm), lineHeight(fm.height()), lineAscent(fm.ascent()), lineLeading(fm.leading())
    {
        std::fill(std::begin(advance64), std::end(advance64), -1);
    }

    bool Matches(const TFont& f, double u, int d) const
    {
        return height == f.Height() && style == f.Style() && pitch == f.Pitch() && unit == u && dpi == d &&
               name == f.Name();
    }

    // What is known of a text in this font: its width and, once it was drawn a second time, its
    // shaped glyphs, so that painting the same texts again does not shape them again.
    struct Text {
        int width = -1;
        int draws = 0;
        bool shaped = false;
        qreal ascent = 0;
        QList<QGlyphRun> runs;
    };
    QHash<QString, Text> texts;
    // The text asked for last: a cell's text is measured and then drawn.
    QString lastKey;
    Text* last = nullptr;

    Text& Entry(const QString& s)
    {
        if (last && s == lastKey)
            return *last;
        auto it = texts.find(s);
        if (it == texts.end()) {
            // A page of cells holds some thousand texts; beyond that the store starts again.
            if (texts.size() >= 8192)
                texts.clear();
            it = texts.insert(s, Text()); // may move the other entries
        }
        lastKey = s;
        last = &*it;
        return *last;
    }

    int Width(const QString& s)
    {
        if (s.isEmpty())
            return 0;
        int w = 0;
        if (PlainWidth(s, w))
            return w;
        Text& t = Entry(s);
        if (t.width < 0)
            t.width = metrics.horizontalAdvance(s);
        return t.width;
    }

    // Printable ASCII texts are measured without shaping them. The shaped width of a text is the
    // sum of its glyphs' advances (in 1/64 pixel) plus what kerning and ligatures change between
    // neighbours; so each character's advance is learnt once, and each pair of neighbours is
    // learnt once to be plain (its advance is the sum of its characters') or not. A text whose
    // neighbours are all plain has the sum of its characters' advances, rounded as the shaper
    // rounds; any other text is shaped.
    static constexpr char16_t kFirstPlain = 0x20, kLastPlain = 0x7E;
    static constexpr int kPlainChars = kLastPlain - kFirstPlain + 1;
    int advance64[kPlainChars];
    std::vector<signed char> pairPlain; // 0 not yet known, 1 plain, -1 changed by the shaper

    int Advance64(const QString& s) const { return int(std::lround(QFontMetricsF(metrics).horizontalAdvance(s) * 64)); }

    int CharAdvance64(int i)
    {
        if (advance64[i] < 0)
            advance64[i] = Advance64(QString(QChar(char16_t(kFirstPlain + i))));
        return advance64[i];
    }

    // The glyphs the shaper makes of a text.
    QList<quint32> Glyphs(const QString& s) const
    {
        QTextLayout layout(s, font);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (line.isValid())
            line.setLineWidth(1e6);
        layout.endLayout();
        QList<quint32> glyphs;
        for (const QGlyphRun& run : layout.glyphRuns())
            glyphs += run.glyphIndexes();
        return glyphs;
    }

    // A pair is plain when the shaper draws it as its two characters' own glyphs, side by side.
    bool PlainPair(int a, int b)
    {
        if (pairPlain.empty())
            pairPlain.assign(size_t(kPlainChars) * kPlainChars, 0);
        signed char& known = pairPlain[size_t(a) * kPlainChars + size_t(b)];
        if (known == 0) {
            const QChar pair[2] = {QChar(char16_t(kFirstPlain + a)), QChar(char16_t(kFirstPlain + b))};
            const QString ab(pair, 2);
            known = Advance64(ab) == CharAdvance64(a) + CharAdvance64(b) &&
                            Glyphs(ab) == Glyphs(ab.left(1)) + Glyphs(ab.mid(1))
                        ? 1
                        : -1;
        }
        return known > 0;
    }

    // Calls Step(index, character key) for each character of a printable ASCII text whose
    // neighbouring pairs all shape plainly; false as soon as one does not (or Step says stop).
    template <class F>
    bool WalkPlain(const QString& s, F&& Step)
    {
        const QChar* c = s.constData();
        const qsizetype n = s.size();
        int prev = -1;
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t u = c[i].unicode();
            if (u < kFirstPlain || u > kLastPlain)
                return false;
            const int k = u - kFirstPlain;
            if (prev >= 0 && !PlainPair(prev, k))
                return false;
            if (!Step(i, k))
                return false;
            prev = k;
        }
        return true;
    }

    bool PlainWidth(const QString& s, int& width)
    {
        int total = 0;
        if (!WalkPlain(s, [&](qsizetype, int k) {
                total += CharAdvance64(k);
                return true;
            }))
            return false;
        width = ((total + 32) & -64) >> 6; // the shaper's rounding of its 26.6 fixed-point width
        return true;
    }

    // Where the glyph of a printable ASCII character leaves ink, relative to its pen at a whole
    // pixel on the base line (right and bottom exclusive): learnt by drawing it once, with and
    // without text antialiasing, on both kinds of image a painter draws text on.
    struct Ink {
        bool known = false;
        bool usable = false; // no ink reached the edge of the learning image
        bool none = true;    // a blank
        int left = 0, top = 0, right = 0, bottom = 0;
    };
    Ink inks[kPlainChars];

    // Beyond this line height a glyph's ink is not learnt: its pictures would grow with the square
    // of the size (gigabytes for a size no screen shows), and such texts are simply clipped.
    static constexpr int kMaxInkEm = 160;

    const Ink& CharInk(int k)
    {
        Ink& ink = inks[k];
        if (ink.known)
            return ink;
        ink.known = true;
        if (lineHeight > kMaxInkEm)
            return ink; // not usable
        const int em = std::max(8, lineHeight);
        const QSize size(5 * em, 4 * em);
        qint64& largest = LargestInkPictureStore();
        largest = std::max(largest, qint64(size.width()) * size.height());
        const QPoint pen(2 * em, em + lineAscent);
        const QString text(QChar(char16_t(kFirstPlain + k)));
        int l = size.width(), t = size.height(), r = -1, b = -1;
        for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
            for (const bool antialias : {true, false}) {
                QImage image(size, format);
                image.fill(format == QImage::Format_RGB32 ? QColor(Qt::white) : QColor(Qt::transparent));
                image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
                image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
                {
                    QPainter p(&image);
                    p.setRenderHint(QPainter::TextAntialiasing, antialias);
                    p.setFont(font);
                    p.setPen(Qt::black);
                    p.drawText(pen, text);
                }
                const QRgb blank = image.pixel(0, 0);
                for (int y = 0; y < size.height(); ++y) {
                    const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                    for (int x = 0; x < size.width(); ++x)
                        if (line[x] != blank) {
                            l = std::min(l, x);
                            r = std::max(r, x);
                            t = std::min(t, y);
                            b = std::max(b, y);
                        }
                }
            }
        }
        ink.none = r < 0;
        ink.usable = ink.none || (l > 0 && t > 0 && r < size.width() - 1 && b < size.height() - 1);
        ink.left = l - pen.x();
        ink.right = r + 1 - pen.x();
        ink.top = t - pen.y();
        ink.bottom = b + 1 - pen.y();
        return ink;
    }

    // Whether every pixel a printable ASCII text inks, drawn with its pen at (x, base), lies
    // inside box; false when that is not known. The first glyph stands on a whole pixel as it
    // was learnt; the others may stand between pixels, so they get a pixel more room each way.
    bool InkInside(const QString& s, int x, int base, const QRect& box)
    {
        if (dpi <= 0)
            return false;
        int pen64 = 0;
        return WalkPlain(s, [&](qsizetype i, int k) {
            const Ink& ink = CharInk(k);
            if (!ink.usable)
                return false;
            if (!ink.none) {
                const int slack = i == 0 ? 0 : 1;
                const int from = x + (pen64 >> 6), to = x + ((pen64 + 63) >> 6);
                if (from + ink.left - slack < box.left() || to + ink.right + slack > box.left() + box.width() ||
                    base + ink.top - slack < box.top() || base + ink.bottom + slack > box.top() + box.height())
                    return false;
            }
            pen64 += CharAdvance64(k);
            return true;
        });
    }

    // Draws s with its base line starting at (x, base), as QPainter::drawText does. The glyphs of
    // a text drawn before are kept and drawn again as they are; texts whose drawing depends on
    // more than their glyphs (line decorations, tabs and other controls, right-to-left or
    // direction marks) are always drawn through drawText.
    void Draw(QPainter* p, int x, int base, const QString& s)
    {
        if (s.isEmpty() || !GlyphsDrawable(p, s)) {
            p->drawText(QPoint(x, base), s);
            return;
        }
        Text& t = Entry(s);
        if (!t.shaped) {
            if (++t.draws < 2) {
                p->drawText(QPoint(x, base), s);
                return;
            }
            Shape(p, s, t);
        }
        if (t.runs.isEmpty()) {
            p->drawText(QPoint(x, base), s);
            return;
        }
        const QPointF at(x, base - t.ascent);
        for (const QGlyphRun& run : std::as_const(t.runs))
            p->drawGlyphRun(at, run);
    }

    bool GlyphsDrawable(QPainter* p, const QString& s) const
    {
        // Without right-to-left characters an automatic direction is left-to-right.
        if (font.underline() || font.strikeOut() || font.overline() || p->layoutDirection() == Qt::RightToLeft ||
            !p->device())
            return false;
        for (const QChar c : s) {
            const char16_t u = c.unicode();
            if (u < 0x20 || (u >= 0x7F && u < 0xA0) || (u >= 0x0590 && u < 0x0900) || (u >= 0x200B && u <= 0x200F) ||
                (u >= 0x2028 && u <= 0x202E) || (u >= 0x2060 && u <= 0x206F) || (u >= 0xD800 && u < 0xE000) ||
                (u >= 0xFB1D && u < 0xFE00) || (u >= 0xFE70 && u <= 0xFEFF) || u >= 0xFFF0)
                return false;
        }
        return true;
    }

    void Shape(QPainter* p, const QString& s, Text& t)
    {
        t.shaped = true;
        QTextLayout layout(s, p->font(), p->device()); // the font as the painter resolved it
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        option.setFlags(QTextOption::IncludeTrailingSpaces);
        option.setTextDirection(Qt::LeftToRight);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            layout.endLayout();
            return;
        }
        line.setLineWidth(1e6);
        layout.endLayout();
        if (layout.lineCount() != 1)
            return;
        t.ascent = line.ascent();
        t.runs = layout.glyphRuns();
    }

    int AverageCharWidth()
    {
        if (averageCharWidth < 0)
            averageCharWidth = metrics.averageCharWidth();
        return averageCharWidth;
    }
};

TCanvas::FontCache& TCanvas::CurrentFontCache() const
{
    const double unit = UnitY();
    const int dpi = FPainter && FPainter->device() ? FPainter->device()->logicalDpiY() : 0;
    for (size_t i = 0; i < FFontCaches.size(); ++i) {
        if (FFontCaches[i]->Matches(FFont, unit, dpi)) {
            if (i > 0)
                std::rotate(FFontCaches.begin(), FFontCaches.begin() + ptrdiff_t(i), FFontCaches.begin() + ptrdiff_t(i) + 1);
            return *FFontCaches.front();
        }
    }
    const QFont f = FFont.ToQFont(unit);
    const QFontMetrics fm = FPainter && FPainter->device() ? QFontMetrics(f, FPainter->device()) : QFontMetrics(f);
    if (FFontCaches.size() >= 8)
        FFontCaches.pop_back();
    FFontCaches.insert(FFontCaches.begin(), std::make_unique<FontCache>(FFont, unit, dpi, f, fm));
    return *FFontCaches.front();
}

QFont TCanvas::DeviceFont() const
{
    return CurrentFontCache().font;
}

void TCanvas::DrawDevText(int devX, int devY, const QString& text, int orientation)
{
    if (!FPainter)
        return;
    FontCache& fc = CurrentFontCache();
    FPainter->save();
    FPainter->translate(devX, devY);
    if (orientation != 0)
        FPainter->rotate(-orientation / 10.0);
    if (FBkMode == OPAQUE && FBrush.Color() != clNone)
        FPainter->fillRect(QRect(0, 0, fc.Width(text), fc.lineHeight), ToQColor(FBrush.Color()));
    if (FFont.Color() != clNone) {
        FPainter->setFont(fc.font);
        FPainter->setPen(ToQColor(FFont.Color()));
        FPainter->drawText(QPoint(0, fc.lineAscent), text);
    }
    FPainter->restore();
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    const TPoint d = LPtoDP(TPoint(x, y));
    DrawDevText(d.X, d.Y, text, FFont.Orientation());
    FPenPos = TPoint(x + TextWidth(text), y);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const QString& text)
{
    if (!FPainter)
        return;
    const QRect dr = DevRect(r);
    if (FBkMode == OPAQUE)
        FillDevRectBrush(dr);
    FPainter->save();
    FPainter->setClipRect(dr, FPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    const int saved = FBkMode;
    FBkMode = TRANSPARENT;
    const TPoint d = LPtoDP(TPoint(x, y));
    DrawDevText(d.X, d.Y, text, FFont.Orientation());
    FBkMode = saved;
    FPainter->restore();
}

int TCanvas::TextWidth(const QString& text) const
{
    return TextExtent(text).cx;
}

int TCanvas::TextHeight(const QString&) const
{
    // The height of a text is the font's, whatever its characters.
    const int h = CurrentFontCache().lineHeight;
    return FMapMode == mmText ? h : int(std::lround(h / UnitY()));
}

TSize TCanvas::TextExtent(const QString& text) const
{
    FontCache& fc = CurrentFontCache();
    const int w = fc.Width(text);
    const int h = fc.lineHeight;
    if (FMapMode == mmText)
        return TSize(w, h);
    return TSize(int(std::lround(w / UnitX())), int(std::lround(h / UnitY())));
}

int TCanvas::AverageCharWidth() const
{
    const int w = CurrentFontCache().AverageCharWidth();
    return FMapMode == mmText ? w : int(std::lround(w / UnitX()));
}

// ---- TCanvas: pictures -----------------------------------------------------------------------

void TCanvas::DrawImage(const TRect& r, const QImage& image, TColor transparent)
{
    if (!FPainter || image.isNull())
        return;
    const QRect d = DevRect(r);
    if (d.isEmpty())
        return;
    QImage img = image;
    if (transparent != clNone) {
        img = image.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = ToQColor(transparent).rgb() & 0xFFFFFF;
        for (int y = 0; y < img.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((line[x] & 0xFFFFFF) == key)
                    line[x] = 0;
        }
    }
    FPainter->save();
    FPainter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    FPainter->drawImage(d, img);
    FPainter->restore();
}

void TCanvas::Draw(int x, int y, const TGraphic* graphic)
{
    if (!graphic || graphic->Empty())
        return;
    int w = graphic->Width(), h = graphic->Height();
    if (FMapMode == mmLoMetric) {
        // The picture keeps its pixel size on the page and is never turned upside down.
        w = int(std::lround(w / UnitX()));
        h = -int(std::lround(h / UnitY()));
    }
    graphic->Draw(*this, TRect(x, y, x + w, y + h));
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic* graphic)
{
    if (!graphic || graphic->Empty())
        return;
    graphic->Draw(*this, r);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect)
{
    if (!FPainter)
        return;
    const QImage src = source.SurfaceImage();
    if (src.isNull())
        return;
    const QRect s = source.DevRect(sourceRect);
    if (s.isEmpty())
        return;
    DrawImage(dest, src.copy(s));
}

void TCanvas::BrushCopy(const TRect& dest, const TBitmap& bitmap, const TRect& sourceRect, TColor transparent)
{
    if (!FPainter || bitmap.Empty())
        return;
    QImage part = bitmap.Image().copy(ToQRect(sourceRect)).convertToFormat(QImage::Format_RGB32);
    const QRgb key = ToQColor(transparent).rgb() & 0xFFFFFF;
    const QRgb fill = ToQColor(FBrush.Color()).rgb();
    for (int y = 0; y < part.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key)
                line[x] = fill;
    }
    DrawImage(dest, part);
}

// ---- text formatting -------------------------------------------------------------------------

namespace platform {

QString StripPrefix(const QString& text, int* underlined)
{
    QString out;
    out.reserve(text.size());
    int mark = -1;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('&')) {
            if (i + 1 >= text.size())
                break; // a lone "&" at the end shows nothing
            const QChar n = text[i + 1];
            ++i;
            if (n != QLatin1Char('&'))
                mark = int(out.size());
            out += n;
            continue;
        }
        out += c;
    }
    if (underlined)
        *underlined = mark;
    return out;
}

QString EndEllipsis(const QString& text, const QFontMetrics& fm, int width)
{
    if (fm.horizontalAdvance(text) <= width)
        return text;
    const QString dots = QStringLiteral("...");
    int lo = 0, hi = int(text.size());
    // Longest prefix that still fits together with the dots.
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (fm.horizontalAdvance(text.left(mid) + dots) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    return text.left(lo) + dots;
}

QString PathEllipsis(const QString& text, const QFontMetrics& fm, int width)
{
    if (fm.horizontalAdvance(text) <= width)
        return text;
    const int sep = int(std::max(text.lastIndexOf(QLatin1Char('\\')), text.lastIndexOf(QLatin1Char('/'))));
    if (sep < 0)
        return EndEllipsis(text, fm, width);
    const QString tail = text.mid(sep);
    const QString head = text.left(sep);
    const QString dots = QStringLiteral("...");
    int lo = 0, hi = int(head.size());
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (fm.horizontalAdvance(head.left(mid) + dots + tail) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    return head.left(lo) + dots + tail;
}

} // namespace platform

namespace {

struct TextLine {
    QString text;
    int underline = -1;     // index of the prefix-marked character in this line
    bool paragraphEnd = true; // the line holds the end of its text run
    int width = -1;         // device pixels, once measured
};

struct TextLayout {
    TCanvas::FontCache& fc;
    bool expandTabs;
    int tabWidth;
    double ux; // device pixels per canvas unit
    double uy;

    // Width of a line whose tabs jump to the next tab stop.
    int Width(const QString& s) const
    {
        if (!expandTabs || !s.contains(QLatin1Char('\t')))
            return fc.Width(s);
        int x = 0;
        const QStringList parts = s.split(QLatin1Char('\t'));
        for (int i = 0; i < parts.size(); ++i) {
            x += fc.Width(parts[i]);
            if (i + 1 < parts.size())
                x = tabWidth > 0 ? (x / tabWidth + 1) * tabWidth : x;
        }
        return x;
    }

    int Width(TextLine& l) const
    {
        if (l.width < 0)
            l.width = Width(l.text);
        return l.width;
    }
};

// Breaks one paragraph into lines no wider than `width`, at blanks; a word wider than the whole
// line is broken between characters only when `breakWords` (edit-control behaviour).
void WrapParagraph(const TextLine& para, const TextLayout& lay, int width, bool breakWords, std::vector<TextLine>& out)
{
    const QString& s = para.text;
    if (s.isEmpty()) {
        out.push_back(para);
        return;
    }
    // A paragraph that fits is its own line: every shorter piece of it fits as well.
    {
        TextLine whole = para;
        if (lay.Width(whole) <= width) {
            whole.paragraphEnd = true;
            out.push_back(whole);
            return;
        }
    }
    int start = 0;
    const int n = int(s.size());
    while (start < n) {
        // Greedy: extend over words while the line fits.
        int end = start;      // end of the accepted line (exclusive)
        int pos = start;
        while (pos < n) {
            int wordEnd = pos;
            while (wordEnd < n && s[wordEnd] == QLatin1Char(' '))
                ++wordEnd;
            while (wordEnd < n && s[wordEnd] != QLatin1Char(' '))
                ++wordEnd;
            const int w = lay.Width(s.mid(start, wordEnd - start));
            if (w <= width || end == start) {
                if (w > width && end == start) {
                    // The first word alone is too wide.
                    if (breakWords) {
                        int k = start + 1;
                        while (k < wordEnd && lay.Width(s.mid(start, k + 1 - start)) <= width)
                            ++k;
                        end = k;
                    } else {
                        end = wordEnd;
                    }
                    break;
                }
                end = wordEnd;
                pos = wordEnd;
            } else {
                break;
            }
        }
        if (end <= start)
            end = start + 1;
        TextLine line;
        QString piece = s.mid(start, end - start);
        // Blanks at the end of a broken line are not shown.
        while (piece.endsWith(QLatin1Char(' ')) && end < n)
            piece.chop(1);
        line.text = piece;
        line.paragraphEnd = false;
        if (para.underline >= start && para.underline < end)
            line.underline = para.underline - start;
        out.push_back(line);
        start = end;
        // The blanks at a break start no new line.
        while (start < n && s[start] == QLatin1Char(' '))
            ++start;
    }
    out.back().paragraphEnd = true;
}

// A text formatted for a box: its lines and how high they stand, in device pixels.
struct FormattedText {
    std::vector<TextLine> lines;
    int lineH = 0;
    int textH = 0;
    int ascent = 0;
    int boxLeft = 0;
    int boxRight = 0;
    int leftMargin = 0;
    int rightMargin = 0;
};

void FormatText(TCanvas& canvas, const TextLayout& lay, const QString& text, const TRect& r, unsigned flags,
                DRAWTEXTPARAMS* params, FormattedText& out)
{
    const QFontMetrics& fm = lay.fc.metrics;
    const double ux = lay.ux;
    out.leftMargin = params ? int(std::lround(params->iLeftMargin * ux)) : 0;
    out.rightMargin = params ? int(std::lround(params->iRightMargin * ux)) : 0;
    if (params)
        params->uiLengthDrawn = unsigned(text.size());

    // Prefix characters.
    QString shown = text;
    int underline = -1;
    if (!(flags & DT_NOPREFIX))
        shown = platform::StripPrefix(text, &underline);
    if (flags & DT_HIDEPREFIX)
        underline = -1;

    const TRect dev = canvas.LPtoDP(r);
    out.boxLeft = dev.Left + out.leftMargin;
    out.boxRight = dev.Right - out.rightMargin;
    const int boxWidth = out.boxRight - out.boxLeft;

    // Paragraphs.
    std::vector<TextLine> paras;
    const bool breaks = shown.contains(QLatin1Char('\r')) || shown.contains(QLatin1Char('\n'));
    if (!breaks) {
        TextLine l;
        l.text = shown;
        l.underline = underline;
        paras.push_back(l);
    } else if (flags & DT_SINGLELINE) {
        TextLine l;
        for (int i = 0; i < shown.size(); ++i) {
            if (shown[i] == QLatin1Char('\r') || shown[i] == QLatin1Char('\n'))
                continue;
            if (i == underline)
                l.underline = int(l.text.size());
            l.text += shown[i];
        }
        paras.push_back(l);
    } else {
        TextLine cur;
        for (int i = 0; i < shown.size(); ++i) {
            const QChar c = shown[i];
            if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                paras.push_back(cur);
                cur = TextLine();
                if (c == QLatin1Char('\r') && i + 1 < shown.size() && shown[i + 1] == QLatin1Char('\n'))
                    ++i;
                continue;
            }
            if (i == underline)
                cur.underline = int(cur.text.size());
            cur.text += c;
        }
        paras.push_back(cur);
    }

    std::vector<TextLine>& lines = out.lines;
    const bool wrap = (flags & DT_WORDBREAK) && !(flags & DT_SINGLELINE);
    for (const TextLine& para : paras) {
        if (wrap)
            WrapParagraph(para, lay, boxWidth, (flags & DT_EDITCONTROL) != 0, lines);
        else
            lines.push_back(para);
    }

    // Ellipses where the end of a text does not fit; a too wide word inside a wrapped text is
    // only clipped.
    if (flags & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) {
        for (TextLine& l : lines) {
            if (!l.paragraphEnd || lay.Width(l) <= boxWidth)
                continue;
            l.text = (flags & DT_PATH_ELLIPSIS) ? platform::PathEllipsis(l.text, fm, boxWidth)
                                                : platform::EndEllipsis(l.text, fm, boxWidth);
            l.width = -1;
            if (l.underline >= int(l.text.size()) - 3)
                l.underline = -1;
        }
    }

    out.lineH = lay.fc.lineHeight + ((flags & DT_EXTERNALLEADING) ? std::max(0, lay.fc.lineLeading) : 0);
    out.ascent = lay.fc.lineAscent;
    if (text.isEmpty())
        lines.clear();
    out.textH = int(lines.size()) * out.lineH;
}

// What DT_CALCRECT answers, r widened or narrowed to the formatted text.
int MeasureFormatted(TCanvas& canvas, const TextLayout& lay, FormattedText& f, const QString& text, TRect& r)
{
    int maxW = 0;
    for (TextLine& l : f.lines)
        maxW = std::max(maxW, lay.Width(l));
    const int wLog = int(std::lround((maxW + f.leftMargin + f.rightMargin) / lay.ux));
    const int hLog = int(std::lround(f.textH / lay.uy));
    if (text.isEmpty())
        r.Right = r.Left;
    else
        r.Right = r.Left + wLog;
    r.Bottom = canvas.MapMode() == mmLoMetric ? r.Top - hLog : r.Top + hLog;
    return hLog;
}

// Whether the lines drawn from y down leave every pixel they touch inside the box, so that
// clipping to it changes nothing (a clip makes the painter draw each glyph the slow way). Known
// only for lines of printable ASCII without background, underline or tabs, on a painter that
// draws on a raster image at whole pixels, one device pixel per pixel.
template <class LineX>
bool InkInsideBox(QPainter* p, const TextLayout& lay, const FormattedText& f, std::vector<TextLine>& lines, int y,
                  const TRect& dev, bool opaque, TColor fontColor, LineX lineX)
{
    if (fontColor == clNone)
        return !opaque;
    if (opaque || lay.ux != 1 || lay.uy != 1 || !p->device() || p->device()->devicePixelRatio() != 1 ||
        p->device()->logicalDpiX() != p->device()->logicalDpiY() || p->layoutDirection() == Qt::RightToLeft)
        return false;
    if (!p->paintEngine() || p->paintEngine()->type() != QPaintEngine::Raster)
        return false;
    if (p->device()->devType() == QInternal::Image) {
        const QImage::Format format = static_cast<const QImage*>(p->device())->format();
        if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
            format != QImage::Format_ARGB32_Premultiplied)
            return false;
    }
    const QTransform& m = p->transform();
    if (m.type() > QTransform::TxTranslate || m.dx() != std::floor(m.dx()) || m.dy() != std::floor(m.dy()))
        return false;
    const QFont& font = lay.fc.font;
    if (font.underline() || font.strikeOut() || font.overline() || font.letterSpacing() != 0 ||
        font.wordSpacing() != 0)
        return false;
    const QRect box = ToQRect(dev);
    for (TextLine& l : lines) {
        if (l.underline >= 0 || !lay.fc.InkInside(l.text, lineX(l), y + f.ascent, box))
            return false;
        y += f.lineH;
    }
    return true;
}

// Draws formatted text into r (of the same left and right as it was formatted for).
int DrawFormatted(TCanvas& canvas, QPainter* p, const TextLayout& lay, FormattedText& f, const TRect& r,
                  unsigned flags)
{
    const QFontMetrics& fm = lay.fc.metrics;
    const TRect dev = canvas.LPtoDP(r);
    std::vector<TextLine>& lines = f.lines;
    const int lineH = f.lineH;
    const int textH = f.textH;

    // Vertical placement (only single lines are centred or bottom-aligned).
    int y = dev.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            y = (dev.Top + dev.Bottom - textH) / 2;
        else if (flags & DT_BOTTOM)
            y = dev.Bottom - textH;
    }
    // An edit control does not show a partly visible last line.
    if ((flags & DT_EDITCONTROL) && !(flags & DT_SINGLELINE)) {
        while (!lines.empty() && y + int(lines.size()) * lineH > dev.Bottom && lines.size() > 1)
            lines.pop_back();
        if (lines.size() == 1 && y + lineH > dev.Bottom)
            lines.clear();
    }

    int result = textH;
    if ((flags & DT_SINGLELINE) && (flags & (DT_VCENTER | DT_BOTTOM)))
        result = y - dev.Top + textH;

    if (p) {
        const TColor fontColor = canvas.Font().Color();
        const QColor fg = ToQColor(fontColor);
        const bool opaque = canvas.BkMode() == OPAQUE && canvas.Brush().Color() != clNone;
        const QColor bg = ToQColor(canvas.Brush().Color());
        const int boxLeft = f.boxLeft, boxRight = f.boxRight;
        auto lineX = [&](TextLine& l) {
            const int w = lay.Width(l);
            if (flags & DT_CENTER)
                return (boxLeft + boxRight - w) / 2;
            if (flags & DT_RIGHT)
                return boxRight - w;
            return boxLeft;
        };
        p->save();
        if (!(flags & DT_NOCLIP) && !InkInsideBox(p, lay, f, lines, y, dev, opaque, fontColor, lineX))
            p->setClipRect(ToQRect(dev), p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        p->setFont(lay.fc.font);
        for (TextLine& l : lines) {
            const int w = lay.Width(l);
            const int x = lineX(l);
            if (opaque)
                p->fillRect(QRect(x, y, w, lineH), bg);
            if (fontColor != clNone) {
                p->setPen(fg);
                const int base = y + f.ascent;
                if (lay.expandTabs && l.text.contains(QLatin1Char('\t'))) {
                    int cx = 0;
                    const QStringList parts = l.text.split(QLatin1Char('\t'));
                    for (int i = 0; i < parts.size(); ++i) {
                        lay.fc.Draw(p, x + cx, base, parts[i]);
                        cx += lay.fc.Width(parts[i]);
                        if (i + 1 < parts.size() && lay.tabWidth > 0)
                            cx = (cx / lay.tabWidth + 1) * lay.tabWidth;
                    }
                } else {
                    lay.fc.Draw(p, x, base, l.text);
                }
                if (l.underline >= 0 && l.underline < l.text.size()) {
                    const int ux0 = x + lay.Width(l.text.left(l.underline));
                    const int uw = fm.horizontalAdvance(l.text.mid(l.underline, 1));
                    p->fillRect(QRect(ux0, base + std::max(1, fm.underlinePos()), uw, std::max(1, fm.lineWidth())), fg);
                }
            }
            y += lineH;
        }
        p->restore();
    }
    return int(std::lround(result / lay.uy));
}

} // namespace

int DrawText(TCanvas& canvas, const QString& text, TRect& r, unsigned flags)
{
    return DrawTextEx(canvas, text, r, flags, nullptr);
}

int DrawTextEx(TCanvas& canvas, const QString& text, TRect& r, unsigned flags, DRAWTEXTPARAMS* params)
{
    TCanvas::FontCache& fc = canvas.CurrentFontCache();
    const int tabChars = params && params->iTabLength > 0 ? params->iTabLength : 8;
    const TextLayout lay{fc, (flags & DT_EXPANDTABS) != 0, tabChars * fc.AverageCharWidth(), canvas.UnitX(), canvas.UnitY()};
    FormattedText f;
    FormatText(canvas, lay, text, r, flags, params, f);
    if (flags & DT_CALCRECT)
        return MeasureFormatted(canvas, lay, f, text, r);
    return DrawFormatted(canvas, canvas.FPainter, lay, f, r, flags);
}

int DrawTextMeasured(TCanvas& canvas, const QString& text, const TRect& r, unsigned flags, TRect& measured,
                     bool placeBlock)
{
    flags &= ~DT_CALCRECT;
    TCanvas::FontCache& fc = canvas.CurrentFontCache();
    const TextLayout lay{fc, (flags & DT_EXPANDTABS) != 0, 8 * fc.AverageCharWidth(), canvas.UnitX(), canvas.UnitY()};
    FormattedText f;
    FormatText(canvas, lay, text, r, flags, nullptr, f);
    measured = r;
    MeasureFormatted(canvas, lay, f, text, measured);
    TRect box = r;
    if (placeBlock && !(flags & DT_SINGLELINE) && (flags & (DT_VCENTER | DT_BOTTOM))) {
        const int room = r.Bottom - r.Top;
        const int block = measured.Bottom - measured.Top;
        if (block < room)
            box.Top += (flags & DT_VCENTER) ? (room - block) / 2 : room - block;
    }
    return DrawFormatted(canvas, canvas.FPainter, lay, f, box, flags);
}

// ---- edges and frame controls ----------------------------------------------------------------

namespace {

void DevLine(QPainter* p, int x, int y, int w, int h, TColor c)
{
    if (w > 0 && h > 0)
        p->fillRect(QRect(x, y, w, h), ToQColor(c));
}

// One ring of an edge: top-left colour on the left and top sides, bottom-right colour on the
// right and bottom sides (drawn last, so they own the corners they share); the sides drawn move in.
void DrawRing(QPainter* p, QRect& r, TColor tl, TColor br, unsigned sides)
{
    const int l = r.x(), t = r.y(), w = r.width(), h = r.height();
    if (w <= 0 || h <= 0)
        return;
    if (p) { // without a surface only the rectangle moves in
        if (sides & BF_LEFT)
            DevLine(p, l, t, 1, h, tl);
        if (sides & BF_TOP)
            DevLine(p, l, t, w, 1, tl);
        if (sides & BF_RIGHT)
            DevLine(p, l + w - 1, t, 1, h, br);
        if (sides & BF_BOTTOM)
            DevLine(p, l, t + h - 1, w, 1, br);
    }
    int nl = l, nt = t, nr = l + w, nb = t + h;
    if (sides & BF_LEFT)
        ++nl;
    if (sides & BF_TOP)
        ++nt;
    if (sides & BF_RIGHT)
        --nr;
    if (sides & BF_BOTTOM)
        --nb;
    r = QRect(nl, nt, std::max(0, nr - nl), std::max(0, nb - nt));
}

} // namespace

bool DrawEdge(TCanvas& canvas, TRect& r, unsigned edge, unsigned flags)
{
    if (flags & BF_DIAGONAL)
        return false; // diagonal edges are not drawn here
    QPainter* p = canvas.FPainter;
    QRect d = ToQRect(canvas.LPtoDP(r));
    const unsigned sides = flags & BF_RECT;
    const bool soft = flags & BF_SOFT;
    if (p) {
        p->save();
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    auto ring = [&](bool raised, bool outer) {
        TColor tl, br;
        if (flags & BF_MONO) {
            tl = br = outer ? clWindowFrame : clWindow;
        } else if (flags & BF_FLAT) {
            tl = br = outer ? clBtnShadow : clBtnFace;
        } else if (outer) {
            tl = raised ? (soft ? clBtnHighlight : cl3DLight) : (soft ? cl3DDkShadow : clBtnShadow);
            br = raised ? cl3DDkShadow : clBtnHighlight;
        } else {
            tl = raised ? (soft ? cl3DLight : clBtnHighlight) : (soft ? clBtnShadow : cl3DDkShadow);
            br = raised ? clBtnShadow : cl3DLight;
        }
        DrawRing(p, d, tl, br, sides);
    };
    if (edge & BDR_OUTER)
        ring((edge & BDR_RAISEDOUTER) != 0, true);
    if (edge & BDR_INNER)
        ring((edge & BDR_RAISEDINNER) != 0, false);
    if ((flags & BF_MIDDLE) && p && !d.isEmpty())
        p->fillRect(d, ToQColor((flags & BF_MONO) ? clWindow : clBtnFace));
    if (p)
        p->restore();
    if (flags & BF_ADJUST) {
        const TRect back = canvas.DPtoLP(FromQRect(d));
        r = back;
    }
    return true;
}

namespace {

// The tick of a checked box, centred in the inside area of the box.
void DrawCheckMark(QPainter* p, const QRect& inside, const QColor& c)
{
    // Seven columns, three pixels high, falling then rising: the classic tick.
    static const int tops[7] = {2, 3, 4, 3, 2, 1, 0};
    const int unit = std::max(1, std::min(inside.width(), inside.height()) / 9);
    const int markW = 7 * unit, markH = 7 * unit;
    const int x0 = inside.x() + (inside.width() - markW) / 2;
    const int y0 = inside.y() + (inside.height() - markH) / 2;
    for (int i = 0; i < 7; ++i)
        p->fillRect(QRect(x0 + i * unit, y0 + tops[i] * unit, unit, 3 * unit), c);
}

// A filled arrow triangle pointing in `dir` (0 up, 1 down, 2 left, 3 right), centred in r.
void DrawArrow(QPainter* p, const QRect& r, int dir, const QColor& c, int buttonSize)
{
    const int n = std::max(2, buttonSize / 4); // rows of the triangle
    const int cx = r.x() + r.width() / 2, cy = r.y() + r.height() / 2;
    for (int i = 0; i < n; ++i) {
        const int half = (dir == 0 || dir == 2) ? i : n - 1 - i; // half width of row i
        const int off = i - n / 2;
        if (dir <= 1)
            p->fillRect(QRect(cx - half, cy + off, 2 * half + 1, 1), c);
        else
            p->fillRect(QRect(cx + off, cy - half, 1, 2 * half + 1), c);
    }
}

} // namespace

bool DrawFrameControl(TCanvas& canvas, const TRect& r, unsigned type, unsigned state)
{
    QPainter* p = canvas.FPainter;
    if (!p)
        return false;
    const QRect d = ToQRect(canvas.LPtoDP(r));
    if (d.isEmpty())
        return false;
    const bool flat = state & DFCS_FLAT;
    const bool mono = state & DFCS_MONO;
    const bool inactive = state & DFCS_INACTIVE;
    const bool pushed = state & DFCS_PUSHED;
    const bool checked = state & DFCS_CHECKED;

    // Edges of a control are one device pixel wide whatever the canvas mode.
    auto edgeAt = [&](const QRect& box, unsigned edge, unsigned extra) {
        const TMapMode mode = canvas.MapMode();
        canvas.SetMapMode(mmText);
        TRect dr = FromQRect(box);
        DrawEdge(canvas, dr, edge, BF_RECT | extra);
        canvas.SetMapMode(mode);
        return ToQRect(dr);
    };

    p->save();
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    bool ok = true;
    if (type == DFC_BUTTON) {
        const unsigned kind = state & 0xFF;
        if (kind & DFCS_BUTTONPUSH) {
            unsigned extra = BF_ADJUST | BF_MIDDLE;
            unsigned edge = pushed ? EDGE_SUNKEN : EDGE_RAISED;
            if (flat)
                extra |= BF_FLAT;
            if (mono)
                extra |= BF_MONO;
            QRect inner = edgeAt(d, edge, extra);
            if (checked && !pushed)
                p->fillRect(inner, QBrush(ToQColor(clBtnHighlight), Qt::Dense4Pattern));
        } else if (kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
            const int s = std::min(d.width(), d.height());
            const QRect box(d.x(), d.y() + (d.height() - s) / 2, s, s);
            const QColor face = ToQColor((inactive || pushed) ? clBtnFace : clWindow);
            p->setRenderHint(QPainter::Antialiasing, false);
            // A ring: the outline of the circle inset by `inset`, its upper-left half in one
            // colour and its lower-right half in another, split along the anti-diagonal.
            auto ring = [&](int inset, TColor tl, TColor br) {
                const int side = s - 2 * inset;
                if (side <= 0)
                    return;
                QImage mask(side, side, QImage::Format_ARGB32);
                mask.fill(Qt::transparent);
                QPainter mp(&mask);
                mp.setRenderHint(QPainter::Antialiasing, false);
                mp.setPen(QPen(Qt::black, 0));
                mp.setBrush(Qt::NoBrush);
                mp.drawEllipse(QRect(0, 0, side - 1, side - 1));
                mp.end();
                for (int y = 0; y < side; ++y)
                    for (int x = 0; x < side; ++x)
                        if (qAlpha(mask.pixel(x, y)) != 0)
                            p->fillRect(QRect(box.x() + inset + x, box.y() + inset + y, 1, 1),
                                        ToQColor(x + y < side - 1 ? tl : br));
            };
            p->setPen(Qt::NoPen);
            p->setBrush(face);
            p->drawEllipse(QRect(box.x() + 1, box.y() + 1, s - 3, s - 3));
            if (flat || mono) {
                const TColor c = mono ? clWindowFrame : clBtnShadow;
                ring(0, c, c);
            } else {
                ring(0, clBtnShadow, clBtnHighlight);
                ring(1, cl3DDkShadow, cl3DLight);
            }
            if (checked) {
                const int dot = std::max(2, (s + 2) / 3);
                const int o = (s - dot) / 2;
                p->setPen(Qt::NoPen);
                p->setBrush(ToQColor(inactive ? clGrayText : clWindowText));
                p->drawEllipse(QRect(box.x() + o, box.y() + o, dot - 1, dot - 1));
                p->setPen(QPen(ToQColor(inactive ? clGrayText : clWindowText), 0));
                p->drawEllipse(QRect(box.x() + o, box.y() + o, dot - 1, dot - 1));
            }
        } else {
            // Check box (also the three-state one): a square of the smaller side.
            const int s = std::min(d.width(), d.height());
            const QRect box(d.x(), d.y() + (d.height() - s) / 2, s, s);
            QRect inner;
            if (flat || mono) {
                p->fillRect(box, ToQColor(mono ? clWindowFrame : clBtnShadow));
                inner = box.adjusted(1, 1, -1, -1);
            } else {
                inner = edgeAt(box, EDGE_SUNKEN, BF_ADJUST);
            }
            const bool three = (kind & DFCS_BUTTON3STATE) && checked;
            p->fillRect(inner, ToQColor((inactive || pushed || three) ? clBtnFace : clWindow));
            if (checked)
                DrawCheckMark(p, inner, ToQColor((inactive || three) ? clGrayText : clWindowText));
        }
    } else if (type == DFC_SCROLL) {
        const unsigned kind = state & 0xFF;
        unsigned extra = BF_ADJUST | BF_MIDDLE;
        if (flat || pushed)
            extra |= BF_FLAT;
        if (mono)
            extra |= BF_MONO;
        QRect inner = edgeAt(d, pushed ? EDGE_SUNKEN : EDGE_RAISED, extra);
        int dir = 1;
        switch (kind) {
        case DFCS_SCROLLUP: dir = 0; break;
        case DFCS_SCROLLDOWN:
        case DFCS_SCROLLCOMBOBOX: dir = 1; break;
        case DFCS_SCROLLLEFT: dir = 2; break;
        case DFCS_SCROLLRIGHT: dir = 3; break;
        default: dir = -1; break;
        }
        if (dir >= 0) {
            if (pushed)
                inner.translate(1, 1);
            const int size = std::min(d.width(), d.height());
            if (inactive) {
                DrawArrow(p, inner.translated(1, 1), dir, ToQColor(clBtnHighlight), size);
                DrawArrow(p, inner, dir, ToQColor(clBtnShadow), size);
            } else {
                DrawArrow(p, inner, dir, ToQColor(clBtnText), size);
            }
        }
    } else {
        ok = false;
    }
    p->restore();
    return ok;
}

// ---- regions ---------------------------------------------------------------------------------

QRegion CreateRectRgn(int left, int top, int right, int bottom)
{
    return QRegion(ToQRect(TRect(std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom))));
}

QRegion CreateEllipticRgn(int left, int top, int right, int bottom)
{
    const QRect r = ToQRect(TRect(std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)));
    return r.isEmpty() ? QRegion() : QRegion(r, QRegion::Ellipse);
}

QRegion CreateRoundRectRgn(int left, int top, int right, int bottom, int cornerW, int cornerH)
{
    const QRect r = ToQRect(TRect(std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)));
    if (r.isEmpty())
        return QRegion();
    QPainterPath path;
    path.addRoundedRect(QRectF(r), std::abs(cornerW) / 2.0, std::abs(cornerH) / 2.0);
    return QRegion(path.toFillPolygon().toPolygon());
}
