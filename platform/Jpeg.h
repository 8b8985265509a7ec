#pragma once
// JPEG decoding and encoding with libjpeg. A damaged file is an error the caller sees, never an
// exit of the program.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace platform {

constexpr int kDefaultJpegQuality = 90;

// Decodes JPEG data into an RGB32 image. False (and `error`, when given) when the data is not a
// readable JPEG; `out` is then untouched.
bool DecodeJpeg(const QByteArray& data, QImage* out, QString* error = nullptr);

// Encodes an image (alpha dropped onto white) as baseline JPEG at quality 1..100.
bool EncodeJpeg(const QImage& image, QByteArray* out, int quality = kDefaultJpegQuality, QString* error = nullptr);

} // namespace platform
