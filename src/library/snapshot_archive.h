#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

#include "library_file.h"
#include "thumbnailed_list.h"

namespace dravin {

class ThumbnailService;

// The snapshots and recordings of the images and videos folders, newest first, each with its
// thumbnail; new captures join at the front as they are written. One list for the process: the
// archive panel shows it and the GIF generator takes its frames from it. Main thread only.
class SnapshotArchive : public QObject {
  Q_OBJECT
 public:
  explicit SnapshotArchive(ThumbnailService& thumbnails, QObject* parent = nullptr);

  static SnapshotArchive& shared();

  const QList<LibraryFilePtr>& fileList() const { return fileList_; }
  LibraryFilePtr find(const QUuid& id) const;

  // Rebuilds the list from the folders; retries every 3 s while there is no storage folder.
  void loadArchive();
  // A capture just written (a picture or a movie).
  void addCapture(const QString& path);
  // Deletes the item's file and takes it off the list.
  void removeFile(const QUuid& id);
  // Takes items off the list whose files are gone.
  void forget(const QList<QUuid>& ids);
  // The newest still pictures, at most `count`, not among `exclude`; oldest of them first.
  QList<LibraryFilePtr> previousStills(int count, const QList<QUuid>& exclude) const;

 signals:
  void fileListChanged();
  void archiveLoaded(int count);
  // A picture was captured and is listed (the GIF generator takes it as a frame).
  void stillAdded(const dravin::LibraryFilePtr& item);

 private:
  ThumbnailService& thumbnails_;
  QList<LibraryFilePtr> fileList_;
  ThumbnailedList::Handle scan_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

bool isStillPicture(const LibraryFile& item);

}  // namespace dravin
