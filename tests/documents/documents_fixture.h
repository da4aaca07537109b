#pragma once

// What the document tests share: PDFs, pictures and ZIP files made on the spot.
#include <zip.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <map>
#include <string>

#include "files_under.h"

namespace test {

// One page per colour, each filled with it; A5 landscape.
inline void writeColourPdf(const QString& path, const QList<QColor>& colours) {
  QPdfWriter writer(path);
  writer.setPageSize(QPageSize(QPageSize::A5));
  writer.setPageOrientation(QPageLayout::Landscape);
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter painter(&writer);
  for (int i = 0; i < colours.size(); ++i) {
    if (i > 0) writer.newPage();
    painter.fillRect(QRect(0, 0, writer.width(), writer.height()), colours[i]);
  }
}

inline QImage filled(QSize size, QColor colour) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// Noise does not compress: a picture of a known size on the disk.
inline QImage noise(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  auto* random = QRandomGenerator::global();
  for (int y = 0; y < size.height(); ++y) {
    auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
    for (int x = 0; x < size.width(); ++x) line[x] = random->generate() | 0xff000000u;
  }
  return image;
}

inline QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A ZIP with exactly these entries, in this order, deflated.
inline bool writeZip(const QString& path,
                     const std::vector<std::pair<std::string, QByteArray>>& entries) {
  QFile::remove(path);
  int error = 0;
  zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!archive) return false;
  for (const auto& [name, bytes] : entries) {
    zip_source_t* source = zip_source_buffer(archive, bytes.constData(), bytes.size(), 0);
    if (!source || zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
      zip_discard(archive);
      return false;
    }
  }
  return zip_close(archive) == 0;
}

inline bool sameColour(QRgb pixel, QColor expected, int tolerance = 24) {
  return std::abs(qRed(pixel) - expected.red()) <= tolerance &&
         std::abs(qGreen(pixel) - expected.green()) <= tolerance &&
         std::abs(qBlue(pixel) - expected.blue()) <= tolerance;
}

}  // namespace test
