#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <utility>

#include "library_file.h"
#include "thumbnailed_list.h"

namespace dravin {

class ThumbnailService;

// A bookmarked page; its snapshot is the file `thumbnail` in the bookmark folder.
struct Bookmark {
  QString id;         // upper-case UUID text
  QString url;        // the address as the browser's address field held it
  QString thumbnail;  // id + ".png"
  QString name;       // the page title, or the address's host
  QImage thumbnailImage;
};

// The browser's bookmarks: "bookmarks.json" in the bookmark folder, newest first, beside one PNG
// snapshot per bookmark. Main thread only.
class BookmarkStore : public QObject {
  Q_OBJECT
 public:
  static inline const QString kListFile = QStringLiteral("bookmarks.json");

  explicit BookmarkStore(ThumbnailService& thumbnails, QObject* parent = nullptr);

  const QList<Bookmark>& bookmarkList() const { return bookmarkList_; }
  bool isLoading() const { return build_ != nullptr; }

  // Reads the file again; bookmarks join the list one by one as their snapshots are thumbnailed.
  void loadBookmarks();
  // Bookmarks the page shown: `snapshot` drawn on a white picture of `containerSize` becomes its
  // PNG file. An empty `title` names it after the address's host. False when nothing was added.
  bool addBookmark(const QString& url, const QString& title, const QImage& snapshot,
                   QSize containerSize);
  // The snapshot file goes (a failure is ignored), then the bookmark, then the file is rewritten.
  void removeBookmark(const QString& id);
  void saveBookmarks();

  // The bookmark folder, or empty while no storage folder is granted.
  static QString folder();
  // The bookmark folder when it can be written to; otherwise empty and the user is told why.
  QString writableFolder();
  // Only a plain file name inside the folder is a snapshot: a list file naming "../x" does not
  // get to read or delete anything elsewhere.
  static bool isSnapshotName(const QString& name);

 signals:
  void bookmarkListChanged();
  // The last snapshot of a load was answered, or the load found nothing to read.
  void bookmarksLoaded();
  // A bookmark or the list could not be written: `text` says why; `folderMissing` when the
  // storage folder itself is gone.
  void saveFailed(const QString& text, bool folderMissing);

 private:
  ThumbnailService& thumbnails_;
  QList<Bookmark> bookmarkList_;
  // Read from the file and still waiting for their thumbnails: kept by a save made meanwhile.
  QList<std::pair<LibraryFilePtr, Bookmark>> pending_;
  // The file could not be read: it stays untouched until the user changes the list.
  bool unreadable_ = false;
  ThumbnailedList::Handle build_;
};

}  // namespace dravin
