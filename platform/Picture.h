#pragma once
// Pictures: bitmaps, icons, JPEG images, a picture holder that loads any of them, and image lists.
//
// Loading never crashes on bad data: a file that cannot be decoded raises EInvalidGraphic and
// leaves the object as it was.
#include "platform/Canvas.h"
#include "platform/Graphics.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class QIODevice;

// The error of a picture that cannot be read or written.
class EInvalidGraphic : public std::runtime_error {
public:
    explicit EInvalidGraphic(const QString& message) : std::runtime_error(message.toStdString()) {}
};

enum TTransparentMode { tmAuto, tmFixed };

// Base of every picture kind.
class TGraphic {
public:
    virtual ~TGraphic() = default;
    virtual QString ClassName() const = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int) {}
    virtual void SetHeight(int) {}
    virtual bool Empty() const { return Width() <= 0 || Height() <= 0; }

    // Draws the picture stretched into r of the canvas (canvas units).
    virtual void Draw(TCanvas& canvas, const TRect& r) const = 0;

    // Reading throws EInvalidGraphic on data it cannot decode; writing returns false on failure.
    virtual void LoadFromStream(QIODevice& stream) = 0;
    virtual bool SaveToStream(QIODevice& stream) const = 0;
    virtual void LoadFromFile(const QString& fileName);
    virtual bool SaveToFile(const QString& fileName) const; // written atomically
    void LoadFromData(const QByteArray& data);
    QByteArray SaveToData() const;

    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool value);

    // The picture as an image of its own size (transparent pixels with alpha 0 where it has any).
    virtual QImage ToImage() const = 0;

    std::function<void()> OnChange;

protected:
    void Changed();
    bool FTransparent = false;
};

// A bitmap over a QImage with a canvas to draw on.
class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int width, int height);
    explicit TBitmap(const QImage& image);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    ~TBitmap() override;

    QString ClassName() const override { return QStringLiteral("TBitmap"); }
    std::unique_ptr<TGraphic> Clone() const override;
    void Assign(const TBitmap& source);

    // While one side is 0 the bitmap holds no image, but the other side is kept, so that writing the
    // width and then the height gives a bitmap of both.
    int Width() const override { return FImage.isNull() ? FEmptyWidth : FImage.width(); }
    int Height() const override { return FImage.isNull() ? FEmptyHeight : FImage.height(); }
    void SetWidth(int w) override;
    void SetHeight(int h) override;
    void SetSize(int w, int h); // new pixels are white

    // The canvas drawing on this bitmap (made on first use, kept across resizing).
    TCanvas& Canvas();

    // Transparent colour: with tmAuto the colour of the bottom-left pixel, with tmFixed the one set.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color); // also switches to tmFixed
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode mode) { FTransparentMode = mode; }

    void Draw(TCanvas& canvas, const TRect& r) const override;
    void LoadFromStream(QIODevice& stream) override; // BMP, PNG, GIF, ICO, JPEG
    bool SaveToStream(QIODevice& stream) const override; // BMP
    // A picture of `assets/` looked up by name, case-insensitively, with any extension.
    void LoadFromResourceName(const QString& name);
    QImage ToImage() const override;

    // The pixels (any painting through Canvas() is already in them).
    const QImage& Image() const { return FImage; }
    void SetImage(const QImage& image);

private:
    void Rebind();
    QImage FImage;
    int FEmptyWidth = 0;
    int FEmptyHeight = 0;
    std::unique_ptr<TCanvas> FCanvas;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
};

// An icon: an image with alpha, drawn blended.
class TIcon : public TGraphic {
public:
    TIcon() = default;
    explicit TIcon(const QImage& image) : FImage(image) {}
    QString ClassName() const override { return QStringLiteral("TIcon"); }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TIcon>(*this); }
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    void Draw(TCanvas& canvas, const TRect& r) const override;
    void LoadFromStream(QIODevice& stream) override; // ICO, PNG, BMP
    bool SaveToStream(QIODevice& stream) const override; // ICO
    QImage ToImage() const override { return FImage; }
    const QImage& Image() const { return FImage; }

private:
    QImage FImage;
};

// A JPEG picture: keeps the file's own bytes (saved as they are) and the decoded pixels.
// A picture kept as its decoded image and the encoded bytes it came from; writing gives those
// bytes back as they are (nothing, when there are none).
class TEncodedImage : public TGraphic {
public:
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    void Draw(TCanvas& canvas, const TRect& r) const override;
    bool SaveToStream(QIODevice& stream) const override;
    QImage ToImage() const override { return FImage; }

protected:
    // Keeps a decoded image with its bytes; the picture changed.
    void Take(const QImage& image, const QByteArray& data);

    QImage FImage;
    QByteArray FData;
};

class TJPEGImage : public TEncodedImage {
public:
    TJPEGImage() = default;
    QString ClassName() const override { return QStringLiteral("TJPEGImage"); }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TJPEGImage>(*this); }
    void LoadFromStream(QIODevice& stream) override;
    // Encodes another graphic's pixels at CompressionQuality.
    void AssignGraphic(const TGraphic& source);
    int CompressionQuality() const { return FQuality; }
    void SetCompressionQuality(int q) { FQuality = q; }
    const QByteArray& Data() const { return FData; }

private:
    int FQuality = 90;
};

// Another picture kind Qt can read (GIF and the like), drawn from its first frame.
class TImageGraphic : public TEncodedImage {
public:
    explicit TImageGraphic(const QString& format = QString()) : FFormat(format) {}
    QString ClassName() const override
    {
        return FFormat == QLatin1String("GIF") ? QStringLiteral("TGIFImage") : QStringLiteral("TImageGraphic");
    }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TImageGraphic>(*this); }
    void LoadFromStream(QIODevice& stream) override;
    QString Format() const { return FFormat; }

private:
    QString FFormat;
};

// Holds one graphic of any kind; loading picks the kind from the data.
class TPicture {
public:
    TPicture() = default;
    TPicture(const TPicture& other);
    TPicture& operator=(const TPicture& other);
    void Assign(const TPicture& source);

    TGraphic* Graphic() const { return FGraphic.get(); }
    void SetGraphic(const TGraphic* graphic); // copies; null empties
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    // The graphic as a bitmap: a picture holding another kind is converted (its graphic replaced).
    TBitmap& Bitmap();
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }
    bool Empty() const { return !FGraphic || FGraphic->Empty(); }

    // BMP, PNG, GIF, ICO through Qt, JPEG through libjpeg; EInvalidGraphic when unreadable.
    void LoadFromFile(const QString& fileName);
    void LoadFromStream(QIODevice& stream);
    void LoadFromData(const QByteArray& data);
    bool SaveToFile(const QString& fileName) const;

    std::function<void()> OnChange;

    // The kind of picture a block of bytes holds, from its first bytes: "BMP", "PNG", "GIF",
    // "ICO", "JPEG", or empty when unknown.
    static QString DetectFormat(const QByteArray& head);
    static std::unique_ptr<TGraphic> CreateFor(const QString& format);
    // An empty graphic of the class a stream names ("TBitmap", "TIcon", "TJPEGImage", "TGIFImage");
    // null for an unknown name.
    static std::unique_ptr<TGraphic> CreateByClassName(const QString& className);

private:
    void Changed();
    std::unique_ptr<TGraphic> FGraphic;
};

// A list of same-sized images drawn by index.
class TCustomImageList {
public:
    TCustomImageList(int width = 16, int height = 16);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetSize(int width, int height); // clears the list
    int Count() const { return static_cast<int>(FImages.size()); }

    // Adds the bitmap cut into images of the list's width (a wider bitmap gives several); a
    // mask, when given, marks with black the pixels that show. Returns the first new index.
    int Add(const TBitmap& image, const TBitmap* mask = nullptr);
    // Adds with pixels of the given colour left transparent.
    int AddMasked(const TBitmap& image, TColor maskColor);
    int AddImage(const QImage& image);
    void Delete(int index);
    void Clear();

    // Draws image `index` at (x, y); an index outside the list draws nothing. Disabled images
    // are drawn greyed.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
    // Copies image `index` into the bitmap (false when out of range).
    bool GetBitmap(int index, TBitmap& bitmap) const;
    QImage Image(int index) const;

    std::function<void()> OnChange;

private:
    int FWidth;
    int FHeight;
    std::vector<QImage> FImages;
};

using TImageList = TCustomImageList;

namespace platform {
// Full path (":/assets/...") of an asset picture by name, ignoring case and extension; empty when absent.
QString FindAsset(const QString& name);
// The same look-up in any folder: the file whose name, or name without extension, equals `name`
// ignoring case; empty when none.
QString FindFileCaseInsensitive(const QString& folder, const QString& name);
} // namespace platform
