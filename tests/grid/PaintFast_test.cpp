// The quick ways of the text painter against the general ones: widths of printable texts taken
// from learnt character advances against shaped widths, and texts drawn without a clip when
// their ink stays inside the box against the same texts drawn unclipped and cut to the box.
#include "platform/Canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

struct FontCase {
    const char* name;
    int size;
    TFontStyles style;
};

const FontCase kFonts[] = {
    {"DejaVu Sans", 8, {}},
    {"DejaVu Serif", 11, TFontStyles(fsItalic)},
    {"Nimbus Sans", 9, TFontStyles(fsBold)},
    {"Nimbus Roman", 14, TFontStyles(fsItalic)},
};

// Kerned and joined pairs, overhangs and bearings on both sides, blanks at either end, and
// texts the quick ways leave to the general ones (tabs, accents).
const char* const kTexts[] = {
    "12345:19", "AVAVA", "To. Ty, r.", "office fluff ffi", "jjj", "fff", "Wg|_", "  lead", "trail  ",
    "x", "\"quoted\" [x]", "a\tb", "caf\xc3\xa9", "T\xc3\x89",
};

void SetFont(TCanvas& c, const FontCase& f)
{
    c.Font().SetName(QString::fromLatin1(f.name));
    c.Font().SetSize(f.size);
    c.Font().SetStyle(f.style);
}

TEST(PaintFast, WidthsAreTheShapedWidths)
{
    QImage image(64, 64, QImage::Format_RGB32);
    TCanvas canvas(&image);
    for (const FontCase& f : kFonts) {
        SetFont(canvas, f);
        const QFontMetrics fm(canvas.Font().ToQFont(1.0), &image);
        for (int round = 0; round < 2; ++round) // learning, then learnt
            for (const char* t : kTexts) {
                const QString text = QString::fromUtf8(t);
                EXPECT_EQ(canvas.TextWidth(text), fm.horizontalAdvance(text)) << f.name << " \"" << t << "\"";
            }
    }
}

// Pixels of a text drawn into box, once as the painter chooses and once without a clip and then
// cut to the box by hand: they must be the same.
TEST(PaintFast, UnclippedTextsStayInTheirBox)
{
    const unsigned aligns[] = {DT_LEFT | DT_TOP, DT_RIGHT | DT_BOTTOM, DT_CENTER | DT_VCENTER};
    int compared = 0;
    for (const FontCase& f : kFonts)
        for (const char* t : kTexts)
            for (const unsigned align : aligns)
                for (int shrink = -1; shrink <= 2; ++shrink) {
                    const QString text = QString::fromUtf8(t);
                    QImage drawn(200, 60, QImage::Format_RGB32), cut(200, 60, QImage::Format_RGB32);
                    TRect box;
                    for (QImage* image : {&drawn, &cut}) {
                        image->fill(Qt::white);
                        TCanvas canvas(image);
                        SetFont(canvas, f);
                        canvas.Font().SetColor(clBlack);
                        canvas.SetBkMode(TRANSPARENT);
                        // The box of the text's own line, narrowed or widened on every side.
                        const TSize size = canvas.TextExtent(text);
                        box = TRect(20 + shrink, 15 + shrink, 20 + size.cx - shrink, 15 + size.cy - shrink);
                        TRect r = box;
                        const unsigned flags = DT_SINGLELINE | DT_NOPREFIX | align | (image == &cut ? DT_NOCLIP : 0);
                        DrawText(canvas, text, r, flags);
                        DrawText(canvas, text, r, flags); // a second time from the learnt glyphs
                    }
                    for (int y = 0; y < cut.height(); ++y)
                        for (int x = 0; x < cut.width(); ++x)
                            if (x < box.Left || x >= box.Right || y < box.Top || y >= box.Bottom)
                                cut.setPixel(x, y, qRgb(255, 255, 255));
                    EXPECT_TRUE(drawn == cut) << f.name << " \"" << t << "\" align " << align << " shrink " << shrink;
                    ++compared;
                }
    EXPECT_GT(compared, 0);
}

} // namespace
