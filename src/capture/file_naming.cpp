#include "file_naming.h"

#include <QDir>
#include <QFile>

namespace dravin {

QString makeFileName(const QString& suffix, const QDateTime& when) {
  return when.toString(QStringLiteral("yyyyMMdd_HHmmss")) + suffix;
}

QString claimCaptureFile(const QString& folder, const QString& suffix, const QDateTime& when) {
  const QString stem = when.toString(QStringLiteral("yyyyMMdd_HHmmss"));
  const QDir dir(folder);
  for (int n = 1; n < 1000; ++n) {
    const QString name = n == 1 ? stem + suffix : stem + "-" + QString::number(n) + suffix;
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return file.fileName();
    if (!file.exists()) return {};  // not taken, yet not creatable: the folder is the problem
  }
  return {};
}

}  // namespace dravin
