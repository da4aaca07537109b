#pragma once

#include <QString>

// Texts the user reads that more than one place shows, each written once.
namespace dravin::texts {

// The alert when something is to be saved before a storage folder was chosen.
inline const QString kSaveGuard = QStringLiteral(
    "No Permissions granted to save files on your computer, please restart app and choose a "
    "folder to save files!");

// The alert when the storage folder the user chose is gone, beside a button that chooses another.
// Why a write failed when the disk had no room left for it.
inline const QString kDiskFull = QStringLiteral("the disk is full");

inline QString storageFolderMissing(const QString& folder) {
  return QStringLiteral(
             "The storage folder %1 is missing. Plug it in again, or choose another folder.")
      .arg(folder);
}

inline QString folderNotCreated(const QString& folder) {
  return QStringLiteral("The folder %1 could not be created.").arg(folder);
}

}  // namespace dravin::texts
