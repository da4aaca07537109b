#include "folder_listing.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace dravin {
namespace {

struct DatedEntry {
  QString path;
  QDateTime date;  // invalid when the file system does not keep this date
};

QDateTime dateOf(const QFileInfo& info, DateKey key) {
  switch (key) {
    case DateKey::creation: return info.birthTime();
    case DateKey::contentModification: return info.lastModified();
    case DateKey::contentAccess: return info.lastRead();
  }
  return {};
}

void appendEntries(const QString& folder, DateKey key, bool skipHidden,
                   std::vector<DatedEntry>& entries) {
  const QFileInfo folderInfo(folder);
  if (!folderInfo.isDir() || !folderInfo.isReadable())
    throw FolderListingError(("cannot read folder " + folder).toStdString());
  QDir::Filters filters = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System;
  if (!skipHidden) filters |= QDir::Hidden;
  for (const QFileInfo& info : QDir(folder).entryInfoList(filters, QDir::Unsorted)) {
    QString path = info.absoluteFilePath();
    if (info.isDir()) path += '/';
    entries.push_back({path, dateOf(info, key)});
  }
}

}  // namespace

QStringList listFolderSortedByDate(const QString& folder, DateKey key, bool ascending,
                                   bool skipHidden, const std::optional<QString>& secondFolder) {
  std::vector<DatedEntry> entries;
  appendEntries(folder, key, skipHidden, entries);
  if (secondFolder) appendEntries(*secondFolder, key, skipHidden, entries);

  std::stable_sort(entries.begin(), entries.end(), [&](const DatedEntry& a, const DatedEntry& b) {
    if (!a.date.isValid() || !b.date.isValid()) return false;
    return ascending ? a.date < b.date : a.date > b.date;
  });
  QStringList paths;
  paths.reserve(static_cast<qsizetype>(entries.size()));
  for (DatedEntry& entry : entries) paths.append(std::move(entry.path));
  return paths;
}

}  // namespace dravin
