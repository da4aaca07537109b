#pragma once

#include <QString>
#include <optional>

namespace dravin {

// The storage tree under the folder the user granted. Every path ends in "/".
struct StorageFolders {
  QString granted;    // the folder the user chose, as chosen
  QString root;       // storage folder + "Nolbek/"
  QString images;     // snapshots, exported images
  QString videos;     // camera and screen recordings
  QString library;    // imported library files and converted slide folders
  QString templates;  // templates and their list file
  QString bookmark;   // the bookmark list file and thumbnails
  QString boards;     // the board documents, one file each

  static StorageFolders under(const QString& storageFolder);
};

// The process-wide storage folders: empty until a folder is granted. Savers check them first.
std::optional<StorageFolders>& storageFolders();

// Why nothing can be saved in `folder` (one of the storage tree's folders) right now.
struct StorageProblem {
  QString text;        // for the user and the log
  bool folderMissing;  // the granted folder itself is gone: choosing another one is the way out
};

// Checked before every save, never cached: a folder that comes back works again. A granted folder
// that is gone (a pulled stick, a lost network share) is never made again, so nothing lands on the
// bare mount point; a folder below it that was removed is made again.
std::optional<StorageProblem> storageProblem(const StorageFolders& folders, const QString& folder);

}  // namespace dravin
