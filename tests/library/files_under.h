#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QStringList>

// Every file under `folder`, hidden work files included, relative and sorted: what a failed write
// may have left behind.
inline QStringList filesUnder(const QString& folder) {
  QStringList names;
  const QDir dir(folder);
  for (const QFileInfo& entry :
       dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
    if (entry.isDir()) {
      for (const QString& inner : filesUnder(entry.filePath()))
        names.append(entry.fileName() + '/' + inner);
    } else {
      names.append(entry.fileName());
    }
  }
  names.sort();
  return names;
}
