#pragma once

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "storage_folders.h"

#include <ostream>

// Readable failures for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace test {

// A storage tree in a temporary folder, set as the process's storage folders while it lives.
struct StorageTree {
  QTemporaryDir dir;
  dravin::StorageFolders folders = dravin::StorageFolders::under(dir.path());

  StorageTree() {
    QDir().mkpath(folders.library);
    QDir().mkpath(folders.templates);
    dravin::storageFolders() = folders;
  }
  ~StorageTree() { dravin::storageFolders().reset(); }
};

inline void writePicture(const QString& path, QColor colour = Qt::darkCyan, QSize size = {64, 48}) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  image.save(path);
}

inline void writeText(const QString& path, const QByteArray& text) {
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(text);
}

inline QByteArray readText(const QString& path) {
  QFile file(path);
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}

}  // namespace test
