// The grid library's own pictures: each is found by its resource name, has the size the painting
// code lays out for, and shows the cell background through its corners whichever corner rule the
// drawing code uses.
#include "platform/Picture.h"
#include "render/RuvOdid.h"

#include "TestSupport.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <iterator>

namespace {

struct Asset {
    const char* name;
    int width, height;
};

// Pictures drawn with a transparent colour taken from a corner pixel.
const Asset Transparent[] = {
    {"ASGCHK01", 15, 15}, {"ASGCHK02", 15, 15}, {"ASGCHK03", 15, 15}, {"ASGCHK04", 15, 15},
    {"ASGCHK05", 15, 15}, {"ASGCHK06", 15, 15}, {"ASGCHK07", 15, 15}, {"ASGCHK08", 15, 15},
    {"ASGRAD01", 16, 16}, {"ASGRAD02", 16, 16}, {"ASGRAD03", 16, 16}, {"ASGRAD04", 16, 16},
    {"ASGRAD05", 16, 16}, {"ASGRAD06", 16, 16}, {"ASGRAD07", 16, 16}, {"ASGRAD08", 16, 16},
    {"metrocheckon", 15, 15}, {"metrocheckoff", 15, 15}, {"metroradioon", 16, 16}, {"metroradiooff", 16, 16},
    {"ASGFILT", 16, 16}, {"ASGCLOSE", 16, 16}, {"ASGCLOSEH", 16, 16}, {"ASGCLOSED", 16, 16},
    {"ASGLEAFOPEN", 12, 12}, {"ASGLEAFCLOSE", 12, 12}, {"XPNODEO", 10, 10}, {"XPNODEC", 10, 10},
    {"AsgSpinUp", 9, 6}, {"AsgSpinDown", 9, 6},
    {"ASGARDOWN", 16, 16}, {"ASGARDOWND", 16, 16}, {"ASGARUP", 16, 16}, {"ASGARUPD", 16, 16},
    {"ASGHI", 16, 16}, {"ASGHID", 16, 16},
    {"INTLI1", 25, 25}, {"INTLI2", 25, 25}, {"INTLI3", 25, 25},
};

const TColor Back = RGB(10, 200, 30); // a background no picture uses

TBitmap Load(const QString& name)
{
    TBitmap b;
    b.LoadFromResourceName(name);
    return b;
}

// Pixels of the image that differ from the background colour.
int Drawn(const QImage& img, const TRect& r)
{
    int n = 0;
    const QColor back = ToQColor(Back);
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (img.pixelColor(x, y) != back)
                ++n;
    return n;
}

TEST(GridAssets, LoadWithTheirSizesAndShowTheBackgroundAtTheCorners)
{
    for (const Asset& a : Transparent) {
        SCOPED_TRACE(a.name);
        TBitmap b;
        // Names are looked up without regard to case.
        ASSERT_NO_THROW(b = Load(QString::fromLatin1(a.name).toLower()));
        EXPECT_EQ(b.Width(), a.width);
        EXPECT_EQ(b.Height(), a.height);

        // Drawn with the colour taken automatically (the bottom-left pixel) ...
        TBitmap target(40, 80);
        target.Canvas().Brush().SetColor(Back);
        target.Canvas().FillRect(TRect(0, 0, 40, 80));
        b.SetTransparent(true);
        b.SetTransparentMode(tmAuto);
        target.Canvas().Draw(5, 5, b);
        // ... and through a background brush with the top-left pixel as the transparent one.
        DrawResourceBitmap(target.Canvas(), Back, TRect(5, 40, 40, 80), QString::fromLatin1(a.name));

        const QImage& img = target.Image();
        for (int top : {5, 40}) {
            const int r = 5 + a.width - 1, bottom = top + a.height - 1;
            EXPECT_EQ(img.pixelColor(5, top), ToQColor(Back)) << top;
            EXPECT_EQ(img.pixelColor(r, top), ToQColor(Back)) << top;
            EXPECT_EQ(img.pixelColor(5, bottom), ToQColor(Back)) << top;
            EXPECT_EQ(img.pixelColor(r, bottom), ToQColor(Back)) << top;
            // Something is drawn, and not the whole picture is see-through.
            const int drawn = Drawn(img, TRect(5, top, 5 + a.width, top + a.height));
            EXPECT_GT(drawn, a.width * a.height / 10) << top;
        }
    }
}

TEST(GridAssets, CheckedAndUncheckedPicturesDiffer)
{
    // Each group of four: checked enabled, unchecked enabled, checked disabled, unchecked disabled.
    for (const char* base : {"ASGCHK0", "ASGRAD0"})
        for (int first : {1, 5}) {
            QImage pics[4];
            for (int i = 0; i < 4; ++i)
                pics[i] = Load(QString::fromLatin1(base) + QString::number(first + i)).Image();
            for (int i = 0; i < 4; ++i)
                for (int j = i + 1; j < 4; ++j)
                    EXPECT_NE(pics[i], pics[j]) << base << first + i << " vs " << first + j;
        }
    EXPECT_NE(Load("metrocheckon").Image(), Load("metrocheckoff").Image());
    EXPECT_NE(Load("metroradioon").Image(), Load("metroradiooff").Image());
    EXPECT_NE(Load("XPNODEO").Image(), Load("XPNODEC").Image());
}

TEST(GridAssets, Spectrum)
{
    const TBitmap b = Load("ORLEX_SPECTRUM");
    ASSERT_EQ(b.Width(), 128);
    ASSERT_EQ(b.Height(), 128);
    const QImage& img = b.Image();
    struct Sample {
        int x, y;
        int r, g, b;
    };
    // White at the top, the full hues in rows 63 and 64, black at the bottom; red at the left,
    // green a third of the way across, blue at two thirds.
    const Sample samples[] = {
        {0, 0, 255, 255, 255}, {64, 0, 255, 255, 255}, {0, 63, 255, 0, 0},   {0, 64, 255, 0, 0},
        {0, 127, 0, 0, 0},     {43, 63, 0, 255, 0},     {85, 64, 0, 0, 255},  {127, 127, 0, 0, 0},
    };
    for (const Sample& s : samples) {
        const QColor c = img.pixelColor(s.x, s.y);
        EXPECT_NEAR(c.red(), s.r, 24) << s.x << "," << s.y;
        EXPECT_NEAR(c.green(), s.g, 24) << s.x << "," << s.y;
        EXPECT_NEAR(c.blue(), s.b, 24) << s.x << "," << s.y;
    }
}

TEST(GridAssets, SheetForTheEye)
{
    const int scale = 4, cell = 30 * scale + 10, cols = 8;
    const int count = int(std::size(Transparent)) + 1;
    QImage sheet(cols * cell, ((count + cols - 1) / cols) * (cell + 16), QImage::Format_RGB32);
    sheet.fill(QColor(236, 236, 236));
    QPainter p(&sheet);
    for (int i = 0; i < count; ++i) {
        const QString name = i < count - 1 ? QString::fromLatin1(Transparent[i].name) : QStringLiteral("ORLEX_SPECTRUM");
        TBitmap b = Load(name);
        b.SetTransparent(i < count - 1);
        const QImage img = b.ToImage();
        const int x = (i % cols) * cell + 5, y = (i / cols) * (cell + 16) + 5;
        const double s = name == u"ORLEX_SPECTRUM" ? 120.0 / img.width() : scale;
        p.drawImage(QRect(x, y, int(img.width() * s), int(img.height() * s)), img);
        p.setPen(Qt::black);
        p.drawText(x, y + cell + 4, name);
    }
    p.end();
    EXPECT_TRUE(sheet.save(kt_test::GrabPath(QStringLiteral("grid_assets.png"))));
}

} // namespace
