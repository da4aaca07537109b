#include "storage_folders.h"

#include <QDir>
#include <QFileInfo>

#include "user_texts.h"

namespace dravin {

StorageFolders StorageFolders::under(const QString& storageFolder) {
  QString base = storageFolder.endsWith('/') ? storageFolder : storageFolder + '/';
  StorageFolders folders;
  folders.granted = storageFolder;
  folders.root = base + "Nolbek/";
  folders.images = folders.root + "images/";
  folders.videos = folders.root + "videos/";
  folders.library = folders.root + "~library/";
  folders.templates = folders.root + "~templates/";
  folders.bookmark = folders.root + "~bookmark/";
  folders.boards = folders.root + "boards/";
  return folders;
}

std::optional<StorageFolders>& storageFolders() {
  static std::optional<StorageFolders> folders;
  return folders;
}

std::optional<StorageProblem> storageProblem(const StorageFolders& folders, const QString& folder) {
  const QString granted = QDir::cleanPath(folders.granted);
  if (!QFileInfo(granted).isDir())
    return StorageProblem{texts::storageFolderMissing(granted), true};
  // One level at a time, never with mkpath: should the granted folder vanish meanwhile, the first
  // step fails instead of making it again.
  const QString relative = QDir(granted).relativeFilePath(QDir::cleanPath(folder));
  QString path = granted;
  for (const QString& part : relative.split('/', Qt::SkipEmptyParts)) {
    path += '/' + part;
    if (QFileInfo(path).isDir()) continue;
    if (!QDir().mkdir(path)) {
      if (!QFileInfo(granted).isDir()) {
        return StorageProblem{texts::storageFolderMissing(granted), true};
      }
      return StorageProblem{texts::folderNotCreated(path), false};
    }
  }
  return std::nullopt;
}

}  // namespace dravin
