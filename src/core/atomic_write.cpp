#include "atomic_write.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStorageInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "user_texts.h"

namespace dravin {

QString writeFailureText(const QString& folder, qint64 needed, const QString& error) {
  // A write cut short does not always report ENOSPC; the room left on the disk tells.
  const QStorageInfo disk(folder);
  const bool full = error == QString::fromLocal8Bit(std::strerror(ENOSPC)) ||
                    (disk.isValid() && disk.bytesAvailable() < needed);
  return full ? texts::kDiskFull : error;
}

QString writeFileAtomically(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  const QString folder = QFileInfo(path).absolutePath();
  // Unbuffered, so a full disk fails the write itself: a buffered write's failure at commit went
  // unnoticed (Qt 6.4), and an empty file replaced the old one.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    return writeFailureText(folder, bytes.size(), file.errorString());
  if (file.write(bytes) == bytes.size() && file.commit()) return {};
  const QString error = file.errorString();
  file.cancelWriting();
  return writeFailureText(folder, bytes.size(), error);
}

QString copyFileAtomically(const QString& source, const QString& destination) {
  const QString work = siblingWorkPath(destination, "importing");
  QFile input(source);
  if (!QFileInfo(source).isFile()) return "not a file: " + source;
  if (!input.copy(work)) {
    QFile::remove(work);
    return writeFailureText(QFileInfo(destination).absolutePath(), input.size(),
                            input.errorString());
  }
  // rename(2) replaces the destination in one step; QFile::rename would refuse an existing one.
  if (std::rename(QFile::encodeName(work).constData(),
                  QFile::encodeName(destination).constData()) != 0) {
    const QString error = QString::fromLocal8Bit(std::strerror(errno));
    QFile::remove(work);
    return error;
  }
  return {};
}

QString siblingWorkPath(const QString& path, const QString& purpose) {
  QString trimmed = path;
  while (trimmed.endsWith('/')) trimmed.chop(1);
  const QFileInfo info(trimmed);
  return info.path() + "/." + info.fileName() + '.' + purpose + '-' +
         QString::number(QRandomGenerator::global()->generate(), 36);
}

}  // namespace dravin
