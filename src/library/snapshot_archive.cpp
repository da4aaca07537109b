#include "snapshot_archive.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "app_log.h"
#include "notification_center.h"
#include "notification_names.h"
#include "storage_folders.h"
#include "thumbnail_service.h"

namespace dravin {
namespace {

inline constexpr int kRetryMs = 3000;

}  // namespace

SnapshotArchive::SnapshotArchive(ThumbnailService& thumbnails, QObject* parent)
    : QObject(parent), thumbnails_(thumbnails) {
  auto captured = [this](const QVariantMap& info) {
    const QUrl url = info.value(QStringLiteral("url")).toUrl();
    if (url.isLocalFile()) addCapture(url.toLocalFile());
  };
  NotificationCenter::instance().observe(notifications::kImageCaptured, this, captured);
  NotificationCenter::instance().observe(notifications::kVideoRecorded, this, captured);
}

SnapshotArchive& SnapshotArchive::shared() {
  // Never destroyed: views may still hold it while the application object goes away.
  static SnapshotArchive* archive = new SnapshotArchive(ThumbnailService::shared());
  return *archive;
}

LibraryFilePtr SnapshotArchive::find(const QUuid& id) const {
  for (const LibraryFilePtr& item : fileList_)
    if (item->id == id) return item;
  return nullptr;
}

void SnapshotArchive::loadArchive() {
  scan_.reset();
  fileList_.clear();
  emit fileListChanged();
  if (!storageFolders()) {
    logLine("NO Archive Library yet");
    QTimer::singleShot(kRetryMs, this, &SnapshotArchive::loadArchive);
    return;
  }
  const auto items = readLibraryFolder(storageFolders()->images, storageFolders()->videos);
  if (!items) return;
  scan_ = ThumbnailedList::build(
      thumbnails_, *items,
      [this](const LibraryFilePtr& item) {
        fileList_.append(item);
        emit fileListChanged();
      },
      [this] {
        logLine("Total Files in Images: " + QString::number(fileList_.size()));
        emit archiveLoaded(static_cast<int>(fileList_.size()));
      });
}

void SnapshotArchive::addCapture(const QString& path) {
  LibraryFilePtr item = classifiedFile(path);
  if (!hasThumbnailFile(*item)) return;
  requestThumbnail(thumbnails_, alive_, item, [this](const LibraryFilePtr& ready) {
    fileList_.prepend(ready);
    emit fileListChanged();
    if (isStillPicture(*ready)) emit stillAdded(ready);
  });
}

void SnapshotArchive::removeFile(const QUuid& id) {
  const LibraryFilePtr item = find(id);
  if (!item) return;
  QFile::remove(item->url);
  forget({id});
}

void SnapshotArchive::forget(const QList<QUuid>& ids) {
  const qsizetype removed =
      fileList_.removeIf([&](const LibraryFilePtr& item) { return ids.contains(item->id); });
  if (removed > 0) emit fileListChanged();
}

QList<LibraryFilePtr> SnapshotArchive::previousStills(int count,
                                                      const QList<QUuid>& exclude) const {
  QList<LibraryFilePtr> stills;
  for (const LibraryFilePtr& item : fileList_) {
    if (stills.size() >= count) break;
    if (isStillPicture(*item) && !exclude.contains(item->id)) stills.append(item);
  }
  std::reverse(stills.begin(), stills.end());
  return stills;
}

bool isStillPicture(const LibraryFile& item) {
  switch (item.type) {
    case LibraryFileType::PNG:
    case LibraryFileType::JPG:
    case LibraryFileType::JPEG:
    case LibraryFileType::GIF: return true;
    default: return false;
  }
}

}  // namespace dravin
