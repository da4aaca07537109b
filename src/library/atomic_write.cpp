#include "atomic_write.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace dravin {

QString writeFileAtomically(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return file.errorString();
  }
  return file.commit() ? QString() : file.errorString();
}

QString copyFileAtomically(const QString& source, const QString& destination) {
  const QString work = siblingWorkPath(destination, "importing");
  QFile input(source);
  if (!QFileInfo(source).isFile()) return "not a file: " + source;
  if (!input.copy(work)) {
    QFile::remove(work);
    return input.errorString();
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
