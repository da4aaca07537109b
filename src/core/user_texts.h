#pragma once

#include <QString>

// Texts the user reads that more than one place shows, each written once.
namespace dravin::texts {

// The alert when something is to be saved before a storage folder was chosen.
inline const QString kSaveGuard = QStringLiteral(
    "No Permissions granted to save files on your computer, please restart app and choose a "
    "folder to save files!");

}  // namespace dravin::texts
