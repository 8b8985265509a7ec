#include "platform/Picture.h"

#include "platform/AtomicFile.h"
#include "platform/Jpeg.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>

namespace {

QByteArray ReadAll(QIODevice& stream)
{
    if (!stream.isOpen() && !stream.open(QIODevice::ReadOnly))
        throw EInvalidGraphic(QStringLiteral("Stream read error"));
    return stream.readAll();
}

QImage DecodeWithQt(const QByteArray& data, const QByteArray& format)
{
    QBuffer buf;
    buf.setData(data);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf, format);
    reader.setAutoTransform(false);
    QImage img = reader.read();
    return img;
}

bool WriteAll(QIODevice& stream, const QByteArray& data)
{
    if (!stream.isOpen() && !stream.open(QIODevice::WriteOnly))
        return false;
    return stream.write(data) == data.size();
}

// Writes the image encoded in a format Qt writes; false for an empty image or on a failure.
bool WriteEncoded(QIODevice& stream, const QImage& image, const char* format)
{
    if (image.isNull())
        return false;
    QBuffer buf;
    buf.open(QIODevice::WriteOnly);
    QImageWriter writer(&buf, format);
    if (!writer.write(image))
        return false;
    return WriteAll(stream, buf.data());
}

} // namespace

// ---- TGraphic --------------------------------------------------------------------------------

void TGraphic::Changed()
{
    if (OnChange)
        OnChange();
}

void TGraphic::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    Changed();
}

void TGraphic::LoadFromFile(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EInvalidGraphic(QStringLiteral("Cannot open file \"%1\"").arg(fileName));
    LoadFromStream(f);
}

bool TGraphic::SaveToFile(const QString& fileName) const
{
    const QByteArray data = SaveToData();
    if (data.isEmpty())
        return false;
    return platform::WriteFileAtomic(fileName, data);
}

void TGraphic::LoadFromData(const QByteArray& data)
{
    QBuffer buf;
    buf.setData(data);
    buf.open(QIODevice::ReadOnly);
    LoadFromStream(buf);
}

QByteArray TGraphic::SaveToData() const
{
    QBuffer buf;
    buf.open(QIODevice::WriteOnly);
    if (!SaveToStream(buf))
        return QByteArray();
    return buf.data();
}

// ---- TBitmap ---------------------------------------------------------------------------------

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height)
{
    SetSize(width, height);
}

TBitmap::TBitmap(const QImage& image)
{
    SetImage(image);
}

TBitmap::TBitmap(const TBitmap& other) : TGraphic()
{
    Assign(other);
}

TBitmap& TBitmap::operator=(const TBitmap& other)
{
    Assign(other);
    return *this;
}

TBitmap::~TBitmap()
{
    FCanvas.reset(); // the painter ends before the image goes
}

std::unique_ptr<TGraphic> TBitmap::Clone() const
{
    return std::make_unique<TBitmap>(*this);
}

void TBitmap::Assign(const TBitmap& source)
{
    if (this == &source)
        return;
    FTransparent = source.FTransparent;
    FTransparentColor = source.FTransparentColor;
    FTransparentMode = source.FTransparentMode;
    SetImage(source.FImage);
    FEmptyWidth = source.FEmptyWidth;
    FEmptyHeight = source.FEmptyHeight;
}

void TBitmap::Rebind()
{
    if (FCanvas)
        FCanvas->SetDevice(FImage.isNull() ? nullptr : &FImage);
}

void TBitmap::SetImage(const QImage& image)
{
    if (FCanvas)
        FCanvas->SetDevice(nullptr);
    FImage = image.isNull() ? QImage() : image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                                       : QImage::Format_RGB32);
    FImage.detach();
    FEmptyWidth = 0;
    FEmptyHeight = 0;
    Rebind();
    Changed();
}

void TBitmap::SetSize(int w, int h)
{
    w = std::max(0, w);
    h = std::max(0, h);
    FEmptyWidth = w;
    FEmptyHeight = h;
    if (w == FImage.width() && h == FImage.height())
        return;
    if (FCanvas)
        FCanvas->SetDevice(nullptr);
    QImage next;
    if (w > 0 && h > 0) {
        next = QImage(w, h, FImage.isNull() ? QImage::Format_RGB32 : FImage.format());
        next.fill(Qt::white);
        if (!FImage.isNull()) {
            QPainter p(&next);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, FImage);
        }
    }
    FImage = next;
    Rebind();
    Changed();
}

void TBitmap::SetWidth(int w)
{
    SetSize(w, Height());
}

void TBitmap::SetHeight(int h)
{
    SetSize(Width(), h);
}

TCanvas& TBitmap::Canvas()
{
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>();
        Rebind();
    }
    return *FCanvas;
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault)
        return FTransparentColor;
    if (FImage.isNull())
        return clNone;
    // Automatic: the colour of the bottom-left pixel.
    return FromQColor(FImage.pixelColor(0, FImage.height() - 1));
}

void TBitmap::SetTransparentColor(TColor color)
{
    FTransparentColor = color;
    FTransparentMode = color == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::Draw(TCanvas& canvas, const TRect& r) const
{
    canvas.DrawImage(r, FImage, FTransparent ? TransparentColor() : clNone);
}

void TBitmap::LoadFromStream(QIODevice& stream)
{
    const QByteArray data = ReadAll(stream);
    const QString fmt = TPicture::DetectFormat(data);
    QImage img;
    if (fmt == QLatin1String("JPEG")) {
        QString error;
        if (!platform::DecodeJpeg(data, &img, &error))
            throw EInvalidGraphic(error);
    } else {
        img = DecodeWithQt(data, fmt.toLatin1().toLower());
    }
    if (img.isNull())
        throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    SetImage(img);
}

bool TBitmap::SaveToStream(QIODevice& stream) const
{
    return WriteEncoded(stream, FImage.convertToFormat(QImage::Format_RGB32), "bmp");
}

void TBitmap::LoadFromResourceName(const QString& name)
{
    const QString path = platform::FindAsset(name);
    if (path.isEmpty())
        throw EInvalidGraphic(QStringLiteral("Resource %1 not found").arg(name));
    LoadFromFile(path);
}

QImage TBitmap::ToImage() const
{
    if (!FTransparent || FImage.isNull())
        return FImage;
    QImage img = FImage.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(TransparentColor()).rgb() & 0xFFFFFF;
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key)
                line[x] = 0;
    }
    return img;
}

// ---- TIcon, TJPEGImage, TImageGraphic --------------------------------------------------------

void TIcon::Draw(TCanvas& canvas, const TRect& r) const
{
    canvas.DrawImage(r, FImage);
}

void TIcon::LoadFromStream(QIODevice& stream)
{
    const QByteArray data = ReadAll(stream);
    const QString fmt = TPicture::DetectFormat(data);
    QImage img = DecodeWithQt(data, fmt.toLatin1().toLower());
    if (img.isNull())
        throw EInvalidGraphic(QStringLiteral("Icon image is not valid"));
    FImage = img.convertToFormat(QImage::Format_ARGB32);
    Changed();
}

bool TIcon::SaveToStream(QIODevice& stream) const
{
    return WriteEncoded(stream, FImage, "ico");
}

void TEncodedImage::Draw(TCanvas& canvas, const TRect& r) const
{
    canvas.DrawImage(r, FImage);
}

bool TEncodedImage::SaveToStream(QIODevice& stream) const
{
    if (FData.isEmpty())
        return false;
    return WriteAll(stream, FData);
}

void TEncodedImage::Take(const QImage& image, const QByteArray& data)
{
    FImage = image;
    FData = data;
    Changed();
}

void TJPEGImage::LoadFromStream(QIODevice& stream)
{
    const QByteArray data = ReadAll(stream);
    QImage img;
    QString error;
    if (!platform::DecodeJpeg(data, &img, &error))
        throw EInvalidGraphic(error.isEmpty() ? QStringLiteral("JPEG error") : error);
    Take(img, data);
}

void TJPEGImage::AssignGraphic(const TGraphic& source)
{
    if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(&source)) {
        Take(jpeg->FImage, jpeg->FData);
        return;
    }
    const QImage img = source.ToImage();
    QByteArray data;
    QString error;
    if (!platform::EncodeJpeg(img, &data, FQuality, &error))
        throw EInvalidGraphic(error);
    // Keep what a reader of the file would see.
    QImage decoded;
    platform::DecodeJpeg(data, &decoded);
    Take(decoded, data);
}

void TImageGraphic::LoadFromStream(QIODevice& stream)
{
    const QByteArray data = ReadAll(stream);
    QString fmt = FFormat.isEmpty() ? TPicture::DetectFormat(data) : FFormat;
    QImage img = DecodeWithQt(data, fmt.toLatin1().toLower());
    if (img.isNull())
        throw EInvalidGraphic(QStringLiteral("Image is not valid"));
    FFormat = fmt;
    Take(img, data);
}

// ---- TPicture --------------------------------------------------------------------------------

TPicture::TPicture(const TPicture& other)
{
    if (other.FGraphic)
        FGraphic = other.FGraphic->Clone();
}

TPicture& TPicture::operator=(const TPicture& other)
{
    Assign(other);
    return *this;
}

void TPicture::Assign(const TPicture& source)
{
    if (this == &source)
        return;
    FGraphic = source.FGraphic ? source.FGraphic->Clone() : nullptr;
    Changed();
}

void TPicture::Changed()
{
    if (OnChange)
        OnChange();
}

void TPicture::SetGraphic(const TGraphic* graphic)
{
    FGraphic = graphic ? graphic->Clone() : nullptr;
    Changed();
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic)
{
    FGraphic = std::move(graphic);
    Changed();
}

TBitmap& TPicture::Bitmap()
{
    if (auto* bmp = dynamic_cast<TBitmap*>(FGraphic.get()))
        return *bmp;
    auto bmp = std::make_unique<TBitmap>();
    if (FGraphic)
        bmp->SetImage(FGraphic->ToImage());
    TBitmap& ref = *bmp;
    FGraphic = std::move(bmp);
    Changed();
    return ref;
}

QString TPicture::DetectFormat(const QByteArray& head)
{
    auto starts = [&](const char* magic, int n) { return head.size() >= n && std::memcmp(head.constData(), magic, size_t(n)) == 0; };
    if (starts("BM", 2))
        return QStringLiteral("BMP");
    if (starts("\x89PNG\r\n\x1a\n", 8))
        return QStringLiteral("PNG");
    if (starts("GIF87a", 6) || starts("GIF89a", 6))
        return QStringLiteral("GIF");
    if (starts("\xFF\xD8\xFF", 3))
        return QStringLiteral("JPEG");
    if (starts("\0\0\1\0", 4))
        return QStringLiteral("ICO");
    return QString();
}

std::unique_ptr<TGraphic> TPicture::CreateFor(const QString& format)
{
    if (format == QLatin1String("BMP") || format == QLatin1String("PNG"))
        return std::make_unique<TBitmap>();
    if (format == QLatin1String("JPEG"))
        return std::make_unique<TJPEGImage>();
    if (format == QLatin1String("ICO"))
        return std::make_unique<TIcon>();
    if (format == QLatin1String("GIF"))
        return std::make_unique<TImageGraphic>(format);
    return nullptr;
}

std::unique_ptr<TGraphic> TPicture::CreateByClassName(const QString& className)
{
    if (className == QLatin1String("TBitmap"))
        return std::make_unique<TBitmap>();
    if (className == QLatin1String("TIcon"))
        return std::make_unique<TIcon>();
    if (className == QLatin1String("TJPEGImage"))
        return std::make_unique<TJPEGImage>();
    if (className == QLatin1String("TGIFImage"))
        return std::make_unique<TImageGraphic>(QStringLiteral("GIF"));
    return nullptr;
}

void TPicture::LoadFromData(const QByteArray& data)
{
    const QString fmt = DetectFormat(data);
    std::unique_ptr<TGraphic> g = CreateFor(fmt);
    if (!g)
        throw EInvalidGraphic(QStringLiteral("Unknown picture file format"));
    g->LoadFromData(data); // throws before the held graphic is touched
    FGraphic = std::move(g);
    Changed();
}

void TPicture::LoadFromStream(QIODevice& stream)
{
    LoadFromData(ReadAll(stream));
}

void TPicture::LoadFromFile(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EInvalidGraphic(QStringLiteral("Cannot open file \"%1\"").arg(fileName));
    LoadFromData(f.readAll());
}

bool TPicture::SaveToFile(const QString& fileName) const
{
    return FGraphic && FGraphic->SaveToFile(fileName);
}

// ---- TCustomImageList ------------------------------------------------------------------------

TCustomImageList::TCustomImageList(int width, int height) : FWidth(std::max(1, width)), FHeight(std::max(1, height)) {}

void TCustomImageList::SetSize(int width, int height)
{
    FWidth = std::max(1, width);
    FHeight = std::max(1, height);
    FImages.clear();
    if (OnChange)
        OnChange();
}

int TCustomImageList::AddImage(const QImage& image)
{
    if (image.isNull())
        return -1;
    const int first = Count();
    const QImage src = image.convertToFormat(QImage::Format_ARGB32);
    const int parts = std::max(1, src.width() / FWidth);
    for (int i = 0; i < parts; ++i) {
        QImage part(FWidth, FHeight, QImage::Format_ARGB32);
        part.fill(Qt::transparent);
        QPainter p(&part);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, src.copy(i * FWidth, 0, FWidth, FHeight));
        p.end();
        FImages.push_back(part);
    }
    if (OnChange)
        OnChange();
    return first;
}

int TCustomImageList::Add(const TBitmap& image, const TBitmap* mask)
{
    QImage img = image.ToImage().convertToFormat(QImage::Format_ARGB32);
    if (mask && !mask->Empty()) {
        const QImage m = mask->Image().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < img.height() && y < m.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            const QRgb* ml = reinterpret_cast<const QRgb*>(m.constScanLine(y));
            for (int x = 0; x < img.width() && x < m.width(); ++x)
                if ((ml[x] & 0xFFFFFF) != 0)
                    line[x] = 0; // white in the mask: not shown
        }
    }
    return AddImage(img);
}

int TCustomImageList::AddMasked(const TBitmap& image, TColor maskColor)
{
    QImage img = image.Image().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(maskColor).rgb() & 0xFFFFFF;
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key)
                line[x] = 0;
    }
    return AddImage(img);
}

void TCustomImageList::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    FImages.erase(FImages.begin() + index);
    if (OnChange)
        OnChange();
}

void TCustomImageList::Clear()
{
    FImages.clear();
    if (OnChange)
        OnChange();
}

QImage TCustomImageList::Image(int index) const
{
    if (index < 0 || index >= Count())
        return QImage();
    return FImages[size_t(index)];
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const
{
    if (index < 0 || index >= Count())
        return;
    QImage img = FImages[size_t(index)];
    if (!enabled) {
        // Greyed: every visible pixel becomes a grey of its own brightness, lightened.
        for (int yy = 0; yy < img.height(); ++yy) {
            QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(yy));
            for (int xx = 0; xx < img.width(); ++xx) {
                const int g = 128 + qGray(line[xx]) / 2;
                line[xx] = qRgba(g, g, g, qAlpha(line[xx]));
            }
        }
    }
    TIcon icon(img);
    canvas.Draw(x, y, icon);
}

bool TCustomImageList::GetBitmap(int index, TBitmap& bitmap) const
{
    if (index < 0 || index >= Count())
        return false;
    bitmap.SetImage(FImages[size_t(index)]);
    return true;
}

// ---- assets ----------------------------------------------------------------------------------

namespace platform {

QString FindFileCaseInsensitive(const QString& folder, const QString& name)
{
    if (name.isEmpty())
        return QString();
    const QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::Files, QDir::Name);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(e);
    for (const QString& e : entries)
        if (QFileInfo(e).completeBaseName().compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(e);
    return QString();
}

QString FindAsset(const QString& name)
{
    // The compiled-in assets never change while the program runs: list the folder once and
    // answer every look-up from two indexes, by file name and by name without extension, each
    // keeping the first entry in name order as the folder search does.
    struct Index {
        QHash<QString, QString> byName;
        QHash<QString, QString> byBaseName;
        Index()
        {
            const QDir dir(QStringLiteral(":/assets"));
            for (const QString& e : dir.entryList(QDir::Files, QDir::Name)) {
                const QString key = e.toCaseFolded();
                if (!byName.contains(key))
                    byName.insert(key, dir.filePath(e));
                const QString base = QFileInfo(e).completeBaseName().toCaseFolded();
                if (!byBaseName.contains(base))
                    byBaseName.insert(base, dir.filePath(e));
            }
        }
    };
    static const Index index;
    if (name.isEmpty())
        return QString();
    const QString key = name.toCaseFolded();
    if (const auto it = index.byName.constFind(key); it != index.byName.cend())
        return *it;
    return index.byBaseName.value(key);
}

} // namespace platform
