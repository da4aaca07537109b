#include "storage_folders.h"

namespace dravin {

StorageFolders StorageFolders::under(const QString& storageFolder) {
  QString base = storageFolder.endsWith('/') ? storageFolder : storageFolder + '/';
  StorageFolders folders;
  folders.root = base + "Nolbek/";
  folders.images = folders.root + "images/";
  folders.videos = folders.root + "videos/";
  folders.library = folders.root + "~library/";
  folders.templates = folders.root + "~templates/";
  folders.bookmark = folders.root + "~bookmark/";
  return folders;
}

std::optional<StorageFolders>& storageFolders() {
  static std::optional<StorageFolders> folders;
  return folders;
}

}  // namespace dravin
