#include "archive_list_model.h"

#include <QDesktopServices>
#include <QUrl>

#include "notification_center.h"
#include "notification_names.h"
#include "snapshot_archive.h"
#include "storage_folders.h"
#include "user_texts.h"

namespace dravin {

ArchiveListModel::ArchiveListModel(QObject* parent)
    : ArchiveListModel(SnapshotArchive::shared(), parent) {}

ArchiveListModel::ArchiveListModel(SnapshotArchive& archive, QObject* parent)
    : QObject(parent), archive_(archive) {
  connect(&archive_, &SnapshotArchive::fileListChanged, this,
          [this] { files_.setItems(archive_.fileList()); });
  files_.setItems(archive_.fileList());
  NotificationCenter::instance().observe(notifications::kHideArchiveList, this,
                                         [this](const QVariantMap&) { setHideArchiveList(true); });
}

void ArchiveListModel::setHideArchiveList(bool hide) {
  if (hideArchiveList_ == hide) return;
  hideArchiveList_ = hide;
  emit hideArchiveListChanged();
}

void ArchiveListModel::appeared() {
  if (archive_.fileList().isEmpty()) archive_.loadArchive();
}

void ArchiveListModel::open(const QString& id) {
  if (LibraryFilePtr item = files_.find(id))
    NotificationCenter::instance().post(notifications::kOpenSideBySide,
                                        {{QStringLiteral("url"), QUrl::fromLocalFile(item->url)}});
}

void ArchiveListModel::removeFile(const QString& id) {
  if (LibraryFilePtr item = files_.find(id)) archive_.removeFile(item->id);
}

void ArchiveListModel::openFolder() {
  if (!storageFolders()) {
    emit alertRequested(texts::kSaveGuard);
    return;
  }
  QDesktopServices::openUrl(QUrl::fromLocalFile(storageFolders()->root));
  setHideArchiveList(true);
}

void ArchiveListModel::openGifGenerator() {
  NotificationCenter::instance().post(notifications::kOpenGifGenerator);
}

}  // namespace dravin
