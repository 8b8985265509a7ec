// The HTML mini-language of cell texts and hints: rendered, hit-tested, and through its text
// helpers.
#include "FuzzSupport.h"

#include "platform/Canvas.h"
#include "render/VurADIDO.h"

#include <QImage>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kt_fuzz::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(kt_fuzz::Bytes(data, size));
    static QImage image(200, 120, QImage::Format_RGB32);
    TCanvas canvas(&image);
    TMarkupRenderParams params;
    TMarkupRenderResult result;
    RenderMarkupText(canvas, text, TRect(0, 0, 200, 120), params, result);
    params.HitTestOnly = true;
    params.HitX = 20;
    params.HitY = 8;
    RenderMarkupText(canvas, text, TRect(0, 0, 200, 120), params, result);
    MarkupToPlainText(text);
    MarkupStripTags(text);
    MarkupUnescape(text, true);
    MarkupHighlight(text, QStringLiteral("a"), QStringLiteral("hi"), false);
    return 0;
}
