#include "platform/Jpeg.h"
#include "platform/Picture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QImage Quadrants(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, x < w / 2 ? (y < h / 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255))
                                         : (y < h / 2 ? qRgb(0, 160, 0) : qRgb(250, 250, 250)));
    return img;
}

bool Near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

QByteArray WithQt(const QImage& img, const char* format)
{
    QBuffer buf;
    buf.open(QIODevice::WriteOnly);
    QImageWriter w(&buf, format);
    EXPECT_TRUE(w.write(img)) << format;
    return buf.data();
}

void Le(QByteArray& b, quint32 v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

// A 2 x 2 24-bit bitmap file put together by hand: red, green / blue, white (top row first).
QByteArray HandMadeBmp()
{
    QByteArray b("BM");
    Le(b, 14 + 40 + 16, 4);
    Le(b, 0, 4);
    Le(b, 14 + 40, 4);
    Le(b, 40, 4);
    Le(b, 2, 4);
    Le(b, 2, 4); // positive height: rows stored bottom-up
    Le(b, 1, 2);
    Le(b, 24, 2);
    Le(b, 0, 4);
    Le(b, 16, 4);
    Le(b, 2835, 4);
    Le(b, 2835, 4);
    Le(b, 0, 4);
    Le(b, 0, 4);
    // bottom row: blue, white (B, G, R), padded to 4 bytes
    b.append("\xFF\x00\x00\xFF\xFF\xFF\x00\x00", 8);
    // top row: red, green
    b.append("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);
    return b;
}

// A 2 x 1 GIF put together by hand: a red and a blue pixel.
QByteArray HandMadeGif()
{
    static const unsigned char bytes[] = {
        'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0x80, 0, 0,     // screen, 2-colour global table
        0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF,                       // red, blue
        0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0,                          // image descriptor
        2, 2, 0x44, 0x0A, 0,                                      // LZW: clear, 0, 1, end
        0x3B};
    return QByteArray(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

} // namespace

TEST(Jpeg, RoundTripThroughTheCodec)
{
    const QImage src = Quadrants(32, 24);
    QByteArray data;
    QString error;
    ASSERT_TRUE(platform::EncodeJpeg(src, &data, 90, &error)) << error.toStdString();
    EXPECT_TRUE(data.startsWith("\xFF\xD8\xFF"));
    QImage back;
    ASSERT_TRUE(platform::DecodeJpeg(data, &back, &error)) << error.toStdString();
    ASSERT_EQ(back.size(), src.size());
    for (const QPoint p : {QPoint(4, 4), QPoint(27, 4), QPoint(4, 19), QPoint(27, 19)})
        EXPECT_TRUE(Near(back.pixel(p), src.pixel(p), 12)) << p.x() << "," << p.y();

    // A file from another encoder decodes the same way; grey JPEGs come out grey.
    QImage other;
    ASSERT_TRUE(platform::DecodeJpeg(WithQt(src, "jpeg"), &other));
    EXPECT_TRUE(Near(other.pixel(4, 4), qRgb(255, 0, 0), 12));
    QImage grey;
    ASSERT_TRUE(platform::DecodeJpeg(WithQt(src.convertToFormat(QImage::Format_Grayscale8), "jpeg"), &grey));
    EXPECT_EQ(qRed(grey.pixel(27, 19)), qBlue(grey.pixel(27, 19)));

    // Transparent parts are flattened onto white, not black.
    QImage clear(8, 8, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    ASSERT_TRUE(platform::EncodeJpeg(clear, &data));
    ASSERT_TRUE(platform::DecodeJpeg(data, &back));
    EXPECT_TRUE(Near(back.pixel(3, 3), qRgb(255, 255, 255), 4));
}

TEST(Jpeg, BrokenDataIsAnErrorNotAnExit)
{
    QByteArray good;
    ASSERT_TRUE(platform::EncodeJpeg(Quadrants(16, 16), &good));
    QByteArray badSize = good;
    // Zero the height in the frame header (FF C0, length, precision, height, width).
    const qsizetype sof = badSize.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    badSize[sof + 5] = 0;
    badSize[sof + 6] = 0;
    const QByteArray cases[] = {
        QByteArray(),
        QByteArray("not a picture at all"),
        QByteArray("\xFF\xD8\xFF\xE0 garbage garbage garbage garbage", 36),
        good.left(20), // ends inside the headers
        badSize,
    };
    for (const QByteArray& data : cases) {
        QImage out(3, 3, QImage::Format_RGB32);
        out.fill(Qt::green);
        QString error;
        EXPECT_FALSE(platform::DecodeJpeg(data, &out, &error)) << data.size();
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(out.size(), QSize(3, 3)); // untouched
    }
    EXPECT_FALSE(platform::EncodeJpeg(QImage(), &good));
}

TEST(Jpeg, TruncatedOrOversizedData)
{
    // A cut-off file shows the rows it holds; the rows past its end are grey, not decoded from
    // nothing.
    const QImage src = Quadrants(64, 64);
    QByteArray good;
    ASSERT_TRUE(platform::EncodeJpeg(src, &good, 90));
    QImage cut;
    const qsizetype scan = good.indexOf(QByteArray("\xFF\xDA", 2));
    ASSERT_GT(scan, 0);
    QString why;
    ASSERT_TRUE(platform::DecodeJpeg(good.left(scan + (good.size() - scan) * 2 / 3), &cut, &why)) << why.toStdString();
    ASSERT_EQ(cut.size(), src.size());
    EXPECT_TRUE(Near(cut.pixel(4, 4), src.pixel(4, 4), 12));
    EXPECT_EQ(cut.pixel(60, 63), qRgb(128, 128, 128));

    // A header claiming more than 256 MB of pixels is refused before anything is decoded
    // (9000 x 9000 here, in a file of a few hundred bytes).
    QByteArray huge = good;
    const qsizetype sof = huge.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    for (int at : {5, 7}) {
        huge[sof + at] = char(9000 >> 8);
        huge[sof + at + 1] = char(9000 & 0xFF);
    }
    QImage out;
    QString error;
    EXPECT_FALSE(platform::DecodeJpeg(huge, &out, &error));
    EXPECT_EQ(error, "JPEG image too large");
}

TEST(Picture, LoadsEachKindFromItsBytes)
{
    struct Case {
        QByteArray data;
        QString format;
        QString className;
        QSize size;
    };
    const QImage q = Quadrants(6, 4);
    const Case cases[] = {
        {HandMadeBmp(), "BMP", "TBitmap", {2, 2}},
        {WithQt(q, "png"), "PNG", "TBitmap", {6, 4}},
        {HandMadeGif(), "GIF", "TGIFImage", {2, 1}},
        {WithQt(q, "ico"), "ICO", "TIcon", {6, 4}},
        {WithQt(q, "jpeg"), "JPEG", "TJPEGImage", {6, 4}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TPicture::DetectFormat(c.data), c.format);
        TPicture pic;
        ASSERT_NO_THROW(pic.LoadFromData(c.data)) << c.format.toStdString();
        ASSERT_NE(pic.Graphic(), nullptr);
        EXPECT_EQ(pic.Graphic()->ClassName(), c.className);
        EXPECT_EQ(QSize(pic.Width(), pic.Height()), c.size);
        // A stream naming the class gets a graphic of that class back.
        auto again = TPicture::CreateByClassName(c.className);
        ASSERT_NE(again, nullptr);
        again->LoadFromData(pic.Graphic()->SaveToData());
        EXPECT_EQ(again->ClassName(), c.className);
        EXPECT_EQ(QSize(again->Width(), again->Height()), c.size);
    }
    EXPECT_EQ(TPicture::CreateByClassName(QStringLiteral("TMetafile")), nullptr);
    // The hand-made files carry the colours they were made with.
    TPicture bmp;
    bmp.LoadFromData(HandMadeBmp());
    const QImage b = bmp.Graphic()->ToImage();
    EXPECT_EQ(b.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(b.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(b.pixel(0, 1), qRgb(0, 0, 255));
    TPicture gif;
    gif.LoadFromData(HandMadeGif());
    EXPECT_EQ(gif.Graphic()->ToImage().pixel(0, 0) & 0xFFFFFF, qRgb(255, 0, 0) & 0xFFFFFF);
    EXPECT_EQ(gif.Graphic()->ToImage().pixel(1, 0) & 0xFFFFFF, qRgb(0, 0, 255) & 0xFFFFFF);
    // Bitmap() converts another kind in place.
    EXPECT_EQ(gif.Bitmap().Width(), 2);
    EXPECT_EQ(gif.Graphic()->ClassName(), QStringLiteral("TBitmap"));
}

TEST(Picture, AFailedLoadKeepsThePictureAndThrows)
{
    TPicture pic;
    pic.LoadFromData(HandMadeBmp());
    QByteArray broken = HandMadeGif();
    broken.truncate(12);
    const QByteArray cases[] = {QByteArray("\xFF\xD8\xFF\xE0 broken", 12), QByteArray("plain text"), broken, QByteArray()};
    for (const QByteArray& data : cases) {
        EXPECT_THROW(pic.LoadFromData(data), EInvalidGraphic);
        ASSERT_NE(pic.Graphic(), nullptr);
        EXPECT_EQ(pic.Width(), 2);
    }
    EXPECT_THROW(pic.LoadFromFile(QStringLiteral("/nonexistent/picture.bmp")), EInvalidGraphic);
    TBitmap bmp;
    EXPECT_THROW(bmp.LoadFromResourceName(QStringLiteral("NO_SUCH_PICTURE_NAME")), EInvalidGraphic);
}

TEST(Picture, JpegKeepsItsOwnBytesAndEncodesOtherGraphics)
{
    const QByteArray original = WithQt(Quadrants(8, 8), "jpeg");
    TPicture pic;
    pic.LoadFromData(original);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("img1.jpg"));
    ASSERT_TRUE(pic.SaveToFile(path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), original); // saved as it is

    TBitmap bmp(Quadrants(8, 8));
    TJPEGImage jpeg;
    jpeg.AssignGraphic(bmp);
    EXPECT_EQ(jpeg.Width(), 8);
    EXPECT_TRUE(jpeg.Data().startsWith("\xFF\xD8"));
    EXPECT_TRUE(Near(jpeg.ToImage().pixel(1, 1), qRgb(255, 0, 0), 16));
}

TEST(Picture, BitmapCanvasSizeAndTransparency)
{
    TBitmap bmp;
    EXPECT_TRUE(bmp.Empty());
    bmp.SetSize(10, 6);
    bmp.Canvas().Brush().SetColor(clRed);
    bmp.Canvas().FillRect(Rect(0, 0, 5, 6));
    EXPECT_EQ(bmp.Canvas().Pixels(2, 2), clRed);
    EXPECT_EQ(FromQColor(bmp.Image().pixelColor(7, 2)), clWhite);
    // Growing keeps what was drawn and the canvas keeps working.
    bmp.SetWidth(20);
    EXPECT_EQ(FromQColor(bmp.Image().pixelColor(2, 2)), clRed);
    EXPECT_EQ(FromQColor(bmp.Image().pixelColor(15, 2)), clWhite);
    bmp.Canvas().SetPixels(19, 5, clBlue);
    EXPECT_EQ(FromQColor(bmp.Image().pixelColor(19, 5)), clBlue);
    EXPECT_EQ(bmp.Canvas().Brush().Color(), clRed);

    EXPECT_EQ(bmp.TransparentColor(), clRed); // bottom-left pixel
    bmp.SetTransparentColor(clWhite);
    EXPECT_EQ(bmp.TransparentMode(), tmFixed);
    bmp.SetTransparent(true);
    const QImage img = bmp.ToImage();
    EXPECT_EQ(qAlpha(img.pixel(15, 2)), 0);
    EXPECT_EQ(qAlpha(img.pixel(2, 2)), 255);

    TBitmap copy = bmp;
    EXPECT_EQ(copy.Image(), bmp.Image());
    EXPECT_TRUE(copy.Transparent());
    copy.Canvas().SetPixels(0, 0, clBlack);
    EXPECT_EQ(bmp.Canvas().Pixels(0, 0), clRed); // copies do not share pixels
}

TEST(Picture, BitmapSizeWrittenOneSideAtATime)
{
    TBitmap bmp;
    bmp.SetWidth(12);
    EXPECT_TRUE(bmp.Empty());
    EXPECT_EQ(bmp.Width(), 12);
    bmp.SetHeight(7);
    EXPECT_FALSE(bmp.Empty());
    EXPECT_EQ(bmp.Image().size(), QSize(12, 7));

    // Taking over an empty bitmap forgets the size written before.
    TBitmap empty;
    bmp.Assign(empty);
    EXPECT_EQ(bmp.Width(), 0);
    EXPECT_EQ(bmp.Height(), 0);
}

TEST(Picture, AssetNamesIgnoreCaseAndExtension)
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("AsgChk01.bmp")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(HandMadeBmp());
    f.close();
    const QString found = platform::FindFileCaseInsensitive(dir.path(), QStringLiteral("ASGCHK01"));
    EXPECT_EQ(found, f.fileName());
    EXPECT_EQ(platform::FindFileCaseInsensitive(dir.path(), QStringLiteral("asgchk01.BMP")), f.fileName());
    EXPECT_TRUE(platform::FindFileCaseInsensitive(dir.path(), QStringLiteral("ASGCHK0")).isEmpty());
    EXPECT_TRUE(platform::FindFileCaseInsensitive(dir.path(), QString()).isEmpty());
}

TEST(Picture, AssetLookUpAnswersAsTheFolderSearch)
{
    // Every compiled-in asset under its own name, in other cases, without its extension and with
    // a wrong one, and names that match nothing: the indexed look-up and the folder search agree.
    const QDir dir(QStringLiteral(":/assets"));
    const QStringList entries = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(entries.isEmpty());
    QStringList names{QString(), QStringLiteral("no such picture"), QStringLiteral("ASGCHK0"), QStringLiteral(".")};
    for (const QString& e : entries) {
        const QString base = QFileInfo(e).completeBaseName();
        names << e << e.toUpper() << e.toLower() << base << base.toUpper() << base + QStringLiteral(".xyz");
    }
    for (const QString& n : names) {
        SCOPED_TRACE(n.toStdString());
        EXPECT_EQ(platform::FindAsset(n), platform::FindFileCaseInsensitive(QStringLiteral(":/assets"), n));
    }
    EXPECT_FALSE(platform::FindAsset(QStringLiteral("asgchk01")).isEmpty());
}

TEST(Picture, ImageListCutsAndDraws)
{
    TImageList list(4, 4);
    TBitmap strip(Quadrants(8, 4)); // two images side by side
    EXPECT_EQ(list.Add(strip), 0);
    EXPECT_EQ(list.Count(), 2);
    TBitmap keyed(4, 4);
    keyed.Canvas().Brush().SetColor(clFuchsia);
    keyed.Canvas().FillRect(Rect(0, 0, 4, 4));
    keyed.Canvas().SetPixels(1, 1, clBlack);
    EXPECT_EQ(list.AddMasked(keyed, clFuchsia), 2);

    QImage target(12, 4, QImage::Format_RGB32);
    target.fill(Qt::white);
    TCanvas c(&target);
    list.Draw(c, 0, 0, 0);
    list.Draw(c, 4, 0, 2);
    list.Draw(c, 8, 0, 7); // out of range: nothing
    list.Draw(c, 8, 0, -1);
    EXPECT_EQ(target.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(5, 1), qRgb(0, 0, 0));
    EXPECT_EQ(target.pixel(4, 0), qRgb(255, 255, 255)); // masked colour left out
    EXPECT_EQ(target.pixel(9, 1), qRgb(255, 255, 255));

    TBitmap out;
    EXPECT_TRUE(list.GetBitmap(1, out));
    EXPECT_EQ(out.Width(), 4);
    EXPECT_FALSE(list.GetBitmap(3, out));
    list.Delete(0);
    EXPECT_EQ(list.Count(), 2);
}
