// Pictures of the mini-language: decoding, GIF frames and animation, container and cache.
#include "render/PictureContainer.h"

#include "TestSupport.h"
#include "platform/Canvas.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

namespace {

QString Pic(const char* name) { return kt_test::FixturePath(QStringLiteral("pictures/") + QLatin1String(name)); }

// The colour the picture shows at (x, y) of its own pixels.
QColor PixelOf(const THTMLPicture& p, int x, int y) { return p.ToImage().pixelColor(x, y); }

TEST(HTMLPicture, DecodesEveryReadableKind)
{
    const struct {
        const char* file;
        int w, h;
        QColor at00;
    } cases[] = {
        {"solid_100x40.bmp", 100, 40, QColor(255, 0, 0)}, {"dot_10x10.png", 10, 10, QColor(0, 0, 0, 0)},
        {"square_16.ico", 16, 16, QColor(255, 255, 0)},   {"single.gif", 6, 4, QColor(255, 0, 0)},
        {"photo_8x8.jpg", 8, 8, QColor(128, 128, 128)},
    };
    for (const auto& c : cases) {
        THTMLPicture p;
        int changes = 0;
        p.OnChange = [&] { ++changes; };
        p.LoadFromFile(Pic(c.file));
        ASSERT_FALSE(p.Empty()) << c.file;
        EXPECT_EQ(p.Width(), c.w) << c.file;
        EXPECT_EQ(p.Height(), c.h) << c.file;
        EXPECT_EQ(p.HimetricWidth(), (c.w * 2540 + 48) / 96) << c.file;
        EXPECT_EQ(changes, 1) << c.file;
        const QColor px = PixelOf(p, 0, 0);
        if (c.at00.alpha() == 0) {
            EXPECT_EQ(px.alpha(), 0) << c.file;
        } else {
            EXPECT_NEAR(px.red(), c.at00.red(), 3) << c.file;
            EXPECT_NEAR(px.green(), c.at00.green(), 3) << c.file;
            EXPECT_NEAR(px.blue(), c.at00.blue(), 3) << c.file;
        }
        // The data is the file byte for byte, and is written back unchanged.
        const QByteArray file = kt_test::ReadFile(Pic(c.file));
        EXPECT_EQ(p.Data(), file) << c.file;
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        EXPECT_TRUE(p.SaveToStream(out));
        EXPECT_EQ(out.data(), file) << c.file;
    }
}

TEST(HTMLPicture, BadDataAndMetafiles)
{
    THTMLPicture p;
    QFile junk(Pic("junk16.bin"));
    ASSERT_TRUE(junk.open(QIODevice::ReadOnly));
    try {
        p.LoadFromStream(junk);
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Could not load image. Invalid format");
    }

    THTMLPicture q;
    q.LoadFromFile(Pic("junk16.bin"));
    EXPECT_TRUE(q.Empty());
    EXPECT_EQ(q.Width(), 0);
    q.LoadFromFile(Pic("no such file.bmp"));
    EXPECT_TRUE(q.Empty());

    // Metafiles cannot be decoded here: an empty picture, not an error.
    THTMLPicture wmf;
    QFile f(Pic("placeable.wmf"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_NO_THROW(wmf.LoadFromStream(f));
    EXPECT_TRUE(wmf.Empty());
    EXPECT_EQ(wmf.Width(), 0);
}

TEST(HTMLPicture, AnimatedGifFrames)
{
    THTMLPicture p;
    p.LoadFromFile(Pic("anim3.gif"));
    ASSERT_FALSE(p.Empty());
    EXPECT_TRUE(p.IsGIF());
    EXPECT_EQ(p.FrameCount(), 3);
    EXPECT_EQ(p.MaxWidth(), 8);
    EXPECT_EQ(p.MaxHeight(), 6);
    EXPECT_EQ(p.GetFrameTime(1), 10);
    EXPECT_EQ(p.GetFrameTime(2), 20);
    EXPECT_EQ(p.GetFrameTime(3), 30);
    EXPECT_EQ(p.GetFrameTime(4), -1);

    int frameChanges = 0;
    p.OnFrameChange = [&](THTMLPicture*) { ++frameChanges; };
    const struct {
        int frame, x, y, w, h;
        QColor colour;
    } frames[] = {{2, 2, 1, 4, 3, QColor(0, 255, 0)}, {3, 4, 3, 3, 2, QColor(0, 0, 255)}, {1, 0, 0, 8, 6, QColor(255, 0, 0)}};
    for (const auto& f : frames) {
        p.SetFrame(f.frame);
        EXPECT_EQ(p.FrameXPos(), f.x) << f.frame;
        EXPECT_EQ(p.FrameYPos(), f.y) << f.frame;
        EXPECT_EQ(p.Width(), f.w) << f.frame;
        EXPECT_EQ(p.Height(), f.h) << f.frame;
        EXPECT_EQ(PixelOf(p, 0, 0), f.colour) << f.frame;
    }
    EXPECT_EQ(frameChanges, 3);

    p.SetFrame(3);
    p.FrameNext();
    EXPECT_EQ(p.Frame(), 1);
    p.FramePrev();
    EXPECT_EQ(p.Frame(), 3);

    THTMLPicture single;
    single.LoadFromFile(Pic("single.gif"));
    EXPECT_EQ(single.FrameCount(), 1);
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(single.Step());
    EXPECT_EQ(single.Frame(), 1);

    THTMLPicture bmp;
    bmp.LoadFromFile(Pic("solid_100x40.bmp"));
    EXPECT_FALSE(bmp.IsGIF());
    EXPECT_EQ(bmp.FrameCount(), -1);
    EXPECT_EQ(bmp.GetFrameTime(1), -1);
    EXPECT_EQ(bmp.MaxWidth(), 100);
}

TEST(HTMLPicture, StepFollowsTheFrameDelays)
{
    // Delays 10, 20, 30 (1/100 s) at one step per 100 ms: the first frame stays two steps (the
    // step count starts at -1), after that one, two and three steps.
    THTMLPicture p;
    p.LoadFromFile(Pic("anim3.gif"));
    const int shownAfterStep[] = {1, 1, 2, 2, 3, 3, 3, 1, 2, 2, 3, 3, 3, 1, 2, 2};
    for (int shown : shownAfterStep) {
        p.Step();
        EXPECT_EQ(p.Frame(), shown);
    }
}

TEST(HTMLPicture, CutFileNeverReadsPastItsEnd)
{
    THTMLPicture p;
    p.LoadFromFile(Pic("anim3_cut.gif"));
    ASSERT_FALSE(p.Empty());
    EXPECT_EQ(p.FrameCount(), 3);
    EXPECT_THROW(p.SetFrame(3), std::exception);
    p.SetFrame(1);
    // The animation runs into the broken frame without an error escaping.
    for (int i = 0; i < 20; ++i) EXPECT_NO_THROW(p.Step());
}

TEST(HTMLPicture, LoadFromURL)
{
    THTMLPicture net;
    net.LoadFromURL(QStringLiteral("http://example.invalid/p.gif"));
    EXPECT_TRUE(net.Empty());
    EXPECT_TRUE(net.Busy());
    net.LoadFromURL(QStringLiteral("ftp://other"));
    EXPECT_TRUE(net.Busy());
    EXPECT_EQ(net.URL(), QStringLiteral("http://example.invalid/p.gif"));

    THTMLPicture sync;
    sync.SetAsynch(false);
    sync.LoadFromURL(QStringLiteral("https://x/y"));
    EXPECT_FALSE(sync.Busy());
    EXPECT_EQ(sync.ID(), QStringLiteral("https://x/y"));
    EXPECT_TRUE(sync.Empty());

    THTMLPicture file;
    const QString url = QStringLiteral("file://") + Pic("dot_10x10.png");
    file.LoadFromURL(url);
    EXPECT_EQ(file.ID(), url);
    EXPECT_EQ(file.Width(), 10);

    THTMLPicture res;
    res.LoadFromURL(QStringLiteral("res://defaultflag"));
    EXPECT_FALSE(res.Empty());
    EXPECT_GT(res.Width(), 0);
    THTMLPicture none;
    none.LoadFromResourceName(QStringLiteral("NO_SUCH_RESOURCE"));
    EXPECT_TRUE(none.Empty());
    EXPECT_THROW(none.LoadFromResourceID(987654), std::exception);
}

TEST(HTMLPicture, AssignCopiesOnlyPictures)
{
    THTMLPicture src;
    src.LoadFromFile(Pic("solid_100x40.bmp"));
    THTMLPicture dst;
    dst.Assign(&src);
    EXPECT_EQ(dst.Data(), src.Data());
    EXPECT_EQ(dst.Width(), 100);

    TBitmap bitmap(5, 5);
    dst.Assign(&bitmap);
    EXPECT_TRUE(dst.Empty());
    dst.Assign(&src);
    dst.Assign(nullptr);
    EXPECT_TRUE(dst.Empty());
    EXPECT_TRUE(dst.Data().isEmpty());

    THTMLPicture empty;
    EXPECT_NO_THROW(dst.Assign(&empty));
    EXPECT_TRUE(dst.Empty());
}

TEST(HTMLPicture, DrawsNaturalAndStretched)
{
    QImage img(120, 60, QImage::Format_RGB32);
    img.fill(Qt::white);
    THTMLPicture p;
    p.LoadFromFile(Pic("dot_10x10.png"));
    {
        TCanvas canvas(&img);
        p.Draw(canvas, TRect(5, 5, 100, 50));  // natural size at the top-left
        p.SetStretch(true);
        p.Draw(canvas, TRect(30, 10, 50, 30));
    }
    EXPECT_EQ(img.pixelColor(6, 6), QColor(0, 160, 0));
    EXPECT_EQ(img.pixelColor(5, 5), QColor(Qt::white));  // the transparent corner
    EXPECT_EQ(img.pixelColor(16, 16), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(48, 28), QColor(0, 160, 0));
    EXPECT_EQ(img.pixelColor(51, 31), QColor(Qt::white));
}

TEST(PictureContainer, FindsByNameIgnoringCase)
{
    TPictureContainer container;
    TPictureItem* a = container.Items().Add();
    a->SetName(QStringLiteral("Logo"));
    a->Picture().LoadFromFile(Pic("dot_10x10.png"));
    TPictureItem* b = container.Items().Add();
    b->SetName(QStringLiteral("anim"));
    b->SetTag(7);
    b->Picture().LoadFromFile(Pic("anim3.gif"));

    EXPECT_EQ(container.FindPicture(QStringLiteral("LOGO")), &a->Picture());
    EXPECT_EQ(container.FindPicture(QStringLiteral("Anim")), &b->Picture());
    EXPECT_EQ(container.FindPicture(QStringLiteral("missing")), nullptr);

    TPictureContainer copy;
    copy.SetItems(container.Items());
    ASSERT_EQ(copy.Items().Count(), 2);
    EXPECT_EQ(copy.Items().Items(1)->Tag(), 7);
    EXPECT_EQ(copy.FindPicture(QStringLiteral("logo"))->Width(), 10);
    EXPECT_EQ(copy.Items().Items(5), nullptr);

    // Animate steps every picture; only the animated one changes.
    int changed = 0;
    for (int i = 0; i < 6; ++i) changed += container.Items().Animate() ? 1 : 0;
    EXPECT_EQ(changed, 2);
}

TEST(PictureCache, KeyedByExactAddress)
{
    THTMLPictureCache cache;
    THTMLPicture* p = cache.AddPicture();
    p->SetAsynch(false);
    p->LoadFromURL(QStringLiteral("file://") + Pic("anim3.gif"));
    EXPECT_EQ(cache.Count(), 1);
    EXPECT_EQ(cache.FindPicture(QStringLiteral("file://") + Pic("anim3.gif")), p);
    EXPECT_EQ(cache.FindPicture(QStringLiteral("FILE://") + Pic("anim3.gif")), nullptr);
    EXPECT_EQ(cache.GetPicture(0), p);
    EXPECT_EQ(cache.GetPicture(1), nullptr);
    EXPECT_FALSE(cache.Animate());
    EXPECT_FALSE(cache.Animate());
    EXPECT_TRUE(cache.Animate());
    cache.ClearPictures();
    EXPECT_EQ(cache.Count(), 0);
}

} // namespace
