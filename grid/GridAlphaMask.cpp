// Alpha mask and focus-frame imaging.
#include "grid/GridAlphaMask.h"

#include <QImage>
#include <QPainter>
#include <cmath>

TGridAlphaMask::TGridAlphaMask()
{
    SetImage(QImage(0, 0, QImage::Format_ARGB32_Premultiplied));
}

void TGridAlphaMask::Assign(const TBitmap& Source)
{
    if (auto* m = dynamic_cast<const TGridAlphaMask*>(&Source)) {
        if (m == this)
            return;
        FOpacity = m->FOpacity;
        QImage mine = Image().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QImage src = m->Image().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < mine.height() && y < src.height(); ++y)
            for (int x = 0; x < mine.width() && x < src.width(); ++x)
                mine.setPixel(x, y, src.pixel(x, y));
        SetImage(mine);
        return;
    }
    SetImage(Source.Image().convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

void TGridAlphaMask::MergeMask(const TBitmap& Mask, const TBitmap& Bitmap, TColor)
{
    // Only a plain colour picture (no alpha of its own) can be merged.
    const QImage& bmp = Bitmap.Image();
    if (bmp.isNull() || bmp.hasAlphaChannel())
        return;
    const QImage mask = Mask.Image().convertToFormat(QImage::Format_RGB888);
    QImage out(bmp.width(), bmp.height(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const int a = (x < mask.width() && y < mask.height()) ? qRed(mask.pixel(x, y)) : 0;
            const QRgb c = bmp.pixel(x, y);
            auto pm = [a](int v) { return int(std::lround(v * a / 255.0)); };
            out.setPixel(x, y, qRgba(pm(qRed(c)), pm(qGreen(c)), pm(qBlue(c)), a));
        }
    SetImage(out);
}

int ClampInt(int Low, int High, int Value) { return Value < Low ? Low : (Value > High ? High : Value); }

int ClampToByte(double Low, double High, double Value)
{
    if (Value < Low)
        return 0;
    if (Value >= High)
        return 255;
    return int(Value);
}

std::vector<double> MakeGaussianKernel(double Radius)
{
    double w[21];
    double sum = 0;
    for (int k = 0; k <= 20; ++k) {
        const double d = (k - 10) / Radius;
        w[k] = std::exp(-d * d / 2);
        sum += w[k];
    }
    for (double& v : w)
        v /= sum;
    int j = 10;
    double cut = 0;
    while (j > 1 && cut + 2 * w[10 + j] < 1.0 / 510) {
        cut += 2 * w[10 + j];
        --j;
    }
    std::vector<double> kernel(w + 10 - j, w + 10 + j + 1);
    double s = 0;
    for (double v : kernel)
        s += v;
    for (double& v : kernel)
        v /= s;
    return kernel;
}

namespace {
void BlurLine(const std::vector<double>& kernel, std::vector<QRgb>& line)
{
    const int j = int(kernel.size()) / 2;
    const int n = int(line.size());
    std::vector<QRgb> out(line.size());
    for (int i = 0; i < n; ++i) {
        double r = 0, g = 0, b = 0;
        for (int k = -j; k <= j; ++k) {
            const QRgb c = line[size_t(ClampInt(0, n - 1, i + k))];
            const double wk = kernel[size_t(k + j)];
            r += wk * qRed(c);
            g += wk * qGreen(c);
            b += wk * qBlue(c);
        }
        out[size_t(i)] = qRgb(ClampToByte(0, 255, r), ClampToByte(0, 255, g), ClampToByte(0, 255, b));
    }
    line.swap(out);
}
} // namespace

void BlurBitmap(TBitmap& Bitmap, double Radius)
{
    // Plain colour pictures only; one with an alpha channel of its own is refused.
    if (Bitmap.Image().isNull() || Bitmap.Image().hasAlphaChannel())
        throw EBlurError("Blur only works for 24-bit bitmaps");
    QImage img = Bitmap.Image();
    const auto kernel = MakeGaussianKernel(Radius);
    const int w = img.width(), h = img.height();
    std::vector<QRgb> line;
    for (int y = 0; y < h; ++y) {
        if (y <= 20 || y >= h - 20) {
            line.resize(size_t(w));
            for (int x = 0; x < w; ++x)
                line[size_t(x)] = img.pixel(x, y);
            BlurLine(kernel, line);
            for (int x = 0; x < w; ++x)
                img.setPixel(x, y, line[size_t(x)]);
        } else if (h > 15) {
            for (int x = 0; x < w; ++x)
                img.setPixel(x, y, img.pixel(x, 15));
        }
    }
    for (int x = 0; x < w; ++x) {
        if (x <= 20 || x >= w - 20) {
            line.resize(size_t(h));
            for (int y = 0; y < h; ++y)
                line[size_t(y)] = img.pixel(x, y);
            BlurLine(kernel, line);
            for (int y = 0; y < h; ++y)
                img.setPixel(x, y, line[size_t(y)]);
        } else if (w > 15) {
            for (int y = 0; y < h; ++y)
                img.setPixel(x, y, img.pixel(15, y));
        }
    }
    Bitmap.SetImage(img);
}

void MakeFocusFrameMask(TBitmap& Bitmap, int Width, int Height, int PenWidth, int Corner, double Radius)
{
    QImage img(std::max(0, Width), std::max(0, Height), QImage::Format_RGB888);
    img.fill(Qt::black);
    {
        QPainter p(&img);
        const int c = PenWidth / 2;
        const QRectF r(c + 2, c + 2, Width - 2 * c - 4, Height - 2 * c - 4);
        if (PenWidth < 1) {
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
        } else {
            p.setPen(QPen(Qt::white, PenWidth));
            p.setBrush(Qt::NoBrush);
        }
        p.drawRoundedRect(r, Corner / 2.0, Corner / 2.0);
    }
    Bitmap.SetImage(img);
    if (Radius > 0)
        BlurBitmap(Bitmap, Radius);
}
