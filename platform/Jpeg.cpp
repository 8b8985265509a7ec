#include "platform/Jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace platform {
namespace {

// Error manager that turns libjpeg's fatal errors into a jump back to the caller, instead of the
// library's default of ending the process.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool dataEnded = false; // the decoder ran past the end of the data
};

void OnError(j_common_ptr info)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr) {} // warnings are not printed

// Warnings are not printed either; the one that says the data ended is remembered, because the
// decoder would go on inventing grey rows for as many lines as the header claims.
void OnEmit(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        reinterpret_cast<ErrorManager*>(info->err)->dataEnded = true;
}

// The most image memory a picture may claim (32 bits a pixel): the bound the platform's other
// image readers keep, 256 MB.
constexpr long long kMaxPixels = 64LL * 1024 * 1024;
// The grey of rows the data no longer holds (what the decoder itself would put there).
constexpr QRgb kMissingRow = 0xFF808080u;

// The error handling both directions share on a cleared codec: errors jump back to the caller,
// warnings are not printed.
template <class Codec>
void SetUpErrors(Codec& info, ErrorManager& err)
{
    std::memset(&info, 0, sizeof info);
    info.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.output_message = OnMessage;
    err.message[0] = 0;
}

} // namespace

bool DecodeJpeg(const QByteArray& data, QImage* out, QString* error)
{
    if (data.size() < 4) {
        if (error)
            *error = QStringLiteral("Not a JPEG file");
        return false;
    }
    jpeg_decompress_struct info;
    ErrorManager err;
    SetUpErrors(info, err);
    err.pub.emit_message = OnEmit;
    // Declared before the jump point: an error half way leaves it to its normal destruction.
    QImage result;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        if (error)
            *error = QString::fromLocal8Bit(err.message);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    const int w = static_cast<int>(info.output_width), h = static_cast<int>(info.output_height);
    if (w <= 0 || h <= 0 || static_cast<long long>(w) * h > kMaxPixels) {
        std::snprintf(err.message, sizeof err.message, "JPEG image too large");
        std::longjmp(err.jump, 1);
    }
    result = QImage(w, h, QImage::Format_RGB32);
    if (result.isNull()) {
        std::snprintf(err.message, sizeof err.message, "Out of memory");
        std::longjmp(err.jump, 1);
    }
    const int comps = info.output_components;
    // The row buffer belongs to the decoder's own pool and goes with it on every path.
    JSAMPARRAY rows = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                static_cast<JDIMENSION>(w * comps), 1);
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        if (err.dataEnded) {
            // A truncated file shows what it holds; the rest is grey, without decoding nothing.
            for (int r = y; r < h; ++r)
                std::fill_n(reinterpret_cast<QRgb*>(result.scanLine(r)), w, kMissingRow);
            jpeg_abort_decompress(&info);
            jpeg_destroy_decompress(&info);
            *out = result;
            return true;
        }
        jpeg_read_scanlines(&info, rows, 1);
        const unsigned char* row = rows[0];
        QRgb* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const unsigned char* px = row + size_t(x) * size_t(comps);
            if (cmyk) {
                // Adobe writes CMYK inverted: the stored values already are 255 - ink.
                const int k = px[3];
                line[x] = qRgb(px[0] * k / 255, px[1] * k / 255, px[2] * k / 255);
            } else if (comps >= 3) {
                line[x] = qRgb(px[0], px[1], px[2]);
            } else {
                line[x] = qRgb(px[0], px[0], px[0]);
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    *out = result;
    return true;
}

bool EncodeJpeg(const QImage& image, QByteArray* out, int quality, QString* error)
{
    if (image.isNull()) {
        if (error)
            *error = QStringLiteral("Empty image");
        return false;
    }
    // Alpha is flattened onto white so that transparent parts do not turn black.
    QImage src(image.size(), QImage::Format_RGB32);
    src.fill(Qt::white);
    {
        QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height(); ++y) {
            const QRgb* s = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            QRgb* d = reinterpret_cast<QRgb*>(src.scanLine(y));
            for (int x = 0; x < argb.width(); ++x) {
                const int a = qAlpha(s[x]);
                d[x] = qRgb((qRed(s[x]) * a + 255 * (255 - a)) / 255, (qGreen(s[x]) * a + 255 * (255 - a)) / 255,
                            (qBlue(s[x]) * a + 255 * (255 - a)) / 255);
            }
        }
    }
    const int w = src.width(), h = src.height();
    std::vector<unsigned char> row(size_t(w) * 3);

    jpeg_compress_struct info;
    ErrorManager err;
    SetUpErrors(info, err);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        if (error)
            *error = QString::fromLocal8Bit(err.message);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(w);
    info.image_height = static_cast<JDIMENSION>(h);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality < 1 ? 1 : (quality > 100 ? 100 : quality), TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(static_cast<int>(info.next_scanline)));
        for (int x = 0; x < w; ++x) {
            row[size_t(x) * 3] = static_cast<unsigned char>(qRed(s[x]));
            row[size_t(x) * 3 + 1] = static_cast<unsigned char>(qGreen(s[x]));
            row[size_t(x) * 3 + 2] = static_cast<unsigned char>(qBlue(s[x]));
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    *out = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    return true;
}

} // namespace platform
