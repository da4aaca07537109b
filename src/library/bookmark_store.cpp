#include "bookmark_store.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QUrl>
#include <QUuid>
#include <algorithm>

#include "app_log.h"
#include "atomic_write.h"
#include "json_value.h"
#include "storage_folders.h"

namespace dravin {

BookmarkStore::BookmarkStore(ThumbnailService& thumbnails, QObject* parent)
    : QObject(parent), thumbnails_(thumbnails) {}

QString BookmarkStore::folder() {
  return storageFolders() ? storageFolders()->bookmark : QString();
}

QString BookmarkStore::writableFolder() {
  const auto& folders = storageFolders();
  if (!folders) return {};
  if (const auto problem = storageProblem(*folders, folders->bookmark)) {
    logLine(problem->text);
    emit saveFailed(problem->text, problem->folderMissing);
    return {};
  }
  return folders->bookmark;
}

bool BookmarkStore::isSnapshotName(const QString& name) {
  return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
         !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

void BookmarkStore::loadBookmarks() {
  build_.reset();
  pending_.clear();
  if (!bookmarkList_.isEmpty()) {
    bookmarkList_.clear();
    emit bookmarkListChanged();
  }
  const QString dir = folder();
  if (dir.isEmpty()) return;
  const QString path = dir + kListFile;
  if (!QFileInfo::exists(path)) {
    logLine(QStringLiteral("Bookmark File NOT exist"));
    emit bookmarksLoaded();
    return;
  }
  JsonValue list;
  try {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw JsonError(file.errorString().toStdString());
    list = JsonValue::parse(file.readAll());
    unreadable_ = false;
  } catch (const JsonError& e) {
    logLine(QStringLiteral("Bookmarks.json read error: ") + QString::fromUtf8(e.what()));
    unreadable_ = true;
    emit bookmarksLoaded();
    return;
  }

  QList<LibraryFilePtr> items;
  for (const JsonValue& record : list.arrayValue()) {
    Bookmark bookmark{record["id"].string(),
                      record["url"].string(),
                      record["thumbnail"].string(),
                      record["name"].string(),
                      {}};
    auto item = std::make_shared<LibraryFile>();
    item->url = bookmark.url;
    item->name = bookmark.name;
    // A name reaching outside the folder reads as a missing snapshot.
    if (isSnapshotName(bookmark.thumbnail)) item->thumbnail = dir + bookmark.thumbnail;
    pending_.append({item, bookmark});
    items.append(item);
  }
  build_ = ThumbnailedList::build(
      thumbnails_, items,
      [this](const LibraryFilePtr& item) {
        // The walk goes in file order: entries before this one were left out.
        const auto found = std::find_if(pending_.begin(), pending_.end(),
                                        [&item](const auto& entry) { return entry.first == item; });
        if (found == pending_.end()) return;
        Bookmark bookmark = found->second;
        pending_.erase(pending_.begin(), found + 1);
        bookmark.thumbnailImage = item->thumbnailImage;
        bookmarkList_.append(bookmark);
        emit bookmarkListChanged();
      },
      [this] {
        pending_.clear();
        build_.reset();
        emit bookmarksLoaded();
      });
}

bool BookmarkStore::addBookmark(const QString& url, const QString& title, const QImage& snapshot,
                                QSize containerSize) {
  if (snapshot.isNull()) return false;
  const QString dir = writableFolder();
  if (dir.isEmpty()) return false;
  Bookmark bookmark;
  bookmark.id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
  bookmark.url = url;
  bookmark.name = title.isEmpty() ? QUrl(url).host() : title;
  bookmark.thumbnail = bookmark.id + QStringLiteral(".png");

  // The page may be see-through where its background was removed: white stands behind it.
  const QSize size = containerSize.isEmpty() ? snapshot.size() : containerSize;
  QImage bitmap(size, QImage::Format_RGB888);
  bitmap.fill(Qt::white);
  QPainter(&bitmap).drawImage(0, 0, snapshot);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!bitmap.save(&buffer, "PNG")) return false;
  const QString path = dir + bookmark.thumbnail;
  if (const QString error = writeFileAtomically(path, png); !error.isEmpty()) {
    logLine(QStringLiteral("Bookmark image error: ") + error);
    emit saveFailed(QStringLiteral("Bookmark not saved: ") + error, false);
    return false;
  }
  logLine(QStringLiteral("Bookmark image at: ") + path);
  bookmark.thumbnailImage = bitmap;
  bookmarkList_.prepend(bookmark);
  emit bookmarkListChanged();
  saveBookmarks();
  return true;
}

void BookmarkStore::removeBookmark(const QString& id) {
  const auto found = std::find_if(bookmarkList_.begin(), bookmarkList_.end(),
                                  [&id](const Bookmark& b) { return b.id == id; });
  if (found == bookmarkList_.end()) return;
  if (isSnapshotName(found->thumbnail)) QFile::remove(folder() + found->thumbnail);
  bookmarkList_.erase(found);
  emit bookmarkListChanged();
  saveBookmarks();
}

void BookmarkStore::saveBookmarks() {
  const QString dir = writableFolder();
  if (dir.isEmpty()) return;
  const QString path = dir + kListFile;
  // The user changed the list after an unreadable file: the old file is kept beside the new one.
  if (unreadable_) {
    QFile::remove(path + QStringLiteral(".unreadable"));
    QFile::rename(path, path + QStringLiteral(".unreadable"));
    unreadable_ = false;
  }
  QList<JsonValue> records;
  const auto record = [](const Bookmark& b) {
    return JsonValue::object(
        {{"id", b.id}, {"url", b.url}, {"thumbnail", b.thumbnail}, {"name", b.name}});
  };
  for (const Bookmark& bookmark : bookmarkList_) records.append(record(bookmark));
  for (const auto& entry : pending_) records.append(record(entry.second));
  QString error;
  try {
    error = writeFileAtomically(path, JsonValue::array(records).serialize());
  } catch (const JsonError& e) {
    error = QString::fromUtf8(e.what());
  }
  if (error.isEmpty()) return;
  logLine(QStringLiteral("update bookmarks.json error: ") + error);
  emit saveFailed(QStringLiteral("Bookmarks not saved: ") + error, false);
}

}  // namespace dravin
