// The picture loaders: every format a picture can come in, and JPEG through libjpeg directly.
#include "FuzzSupport.h"

#include "platform/Jpeg.h"
#include "platform/Picture.h"

#include <QBuffer>
#include <QImage>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kt_fuzz::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = kt_fuzz::Bytes(data, size);
    QImage image;
    platform::DecodeJpeg(bytes, &image);
    try {
        TPicture picture;
        picture.LoadFromData(bytes);
    } catch (const std::exception&) {
        // not a picture: refused with the platform's error
    }
    try {
        TBitmap bitmap;
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        bitmap.LoadFromStream(buffer);
    } catch (const std::exception&) {
    }
    return 0;
}
