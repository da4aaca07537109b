#include "resource_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace dravin {

QString resourceFolder() {
  const QString candidates[] = {
      QCoreApplication::applicationDirPath() + "/" DRAVIN_INSTALLED_RESOURCES,
      QStringLiteral(DRAVIN_SOURCE_RESOURCES),
  };
  for (const QString& candidate : candidates) {
    if (QFileInfo(candidate + "/peloralessons").isDir()) return QDir(candidate).canonicalPath();
  }
  return QStringLiteral(DRAVIN_SOURCE_RESOURCES);
}

}  // namespace dravin
