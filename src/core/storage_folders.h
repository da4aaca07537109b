#pragma once

#include <QString>
#include <optional>

namespace dravin {

// The storage tree under the folder the user granted. Every path ends in "/".
struct StorageFolders {
  QString root;       // storage folder + "Nolbek/"
  QString images;     // snapshots, exported images
  QString videos;     // camera and screen recordings
  QString library;    // imported library files and converted slide folders
  QString templates;  // templates and their list file
  QString bookmark;   // the bookmark list file and thumbnails

  static StorageFolders under(const QString& storageFolder);
};

// The process-wide storage folders: empty until a folder is granted. Savers check them first.
std::optional<StorageFolders>& storageFolders();

}  // namespace dravin
