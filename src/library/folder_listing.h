#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>

namespace dravin {

class FolderListingError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

enum class DateKey { creation, contentModification, contentAccess };

// The entries of `folder` (then those of `secondFolder`), sorted by the date `key` with a stable
// merge sort; entries without that date keep their place relative to their neighbours. Folder
// entries end in "/". Throws FolderListingError when a folder cannot be read.
QStringList listFolderSortedByDate(const QString& folder, DateKey key, bool ascending,
                                   bool skipHidden,
                                   const std::optional<QString>& secondFolder = std::nullopt);

}  // namespace dravin
