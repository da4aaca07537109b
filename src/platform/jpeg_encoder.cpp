#include "jpeg_encoder.h"

#include <jpeglib.h>

#include <QSysInfo>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

namespace dravin {

namespace {

struct ErrorExit {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void onError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorExit*>(info->err)->jump, 1);
}

void silence(j_common_ptr, int) {}

}  // namespace

QByteArray encodeJpeg(const QImage& source, int quality) {
  if (source.isNull()) return {};
  QImage image = source;
  if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32) {
    image = image.convertToFormat(QImage::Format_RGB32);
  }

  // The library's own memory destination; it grows the buffer and leaves freeing it to us.
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_compress_struct info{};
  ErrorExit error{};
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = onError;
  error.manager.emit_message = silence;
  if (setjmp(error.jump)) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return {};
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(image.width());
  info.image_height = static_cast<JDIMENSION>(image.height());
  info.input_components = 4;
  // Qt keeps 32-bit pixels as native-endian 0xAARRGGBB words: B, G, R, A bytes on this machine.
  info.in_color_space = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.dct_method = JDCT_ISLOW;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

QString encodeJpegDataUrl(const QImage& image, int quality) {
  const QByteArray jpeg = encodeJpeg(image, quality);
  if (jpeg.isEmpty()) return {};
  return QStringLiteral("data:image/jpeg;base64,") + QString::fromLatin1(jpeg.toBase64());
}

}  // namespace dravin
