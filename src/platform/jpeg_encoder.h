#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace dravin {

inline constexpr int kDefaultJpegQuality = 80;

// JPEG bytes of `image`; empty for a null image. RGB32 and ARGB32 pixels go to the encoder as they
// are, without a conversion pass.
QByteArray encodeJpeg(const QImage& image, int quality = kDefaultJpegQuality);

// "data:image/jpeg;base64," and the standard Base64 of the JPEG, no line breaks; empty for a null
// image.
QString encodeJpegDataUrl(const QImage& image, int quality = kDefaultJpegQuality);

}  // namespace dravin
