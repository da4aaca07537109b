#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QUuid>
#include <memory>
#include <optional>

#include "json_value.h"

namespace dravin {

enum class LibraryFileType { PPT, PNG, JPEG, JPG, GIF, PPTX, KEY, MP4, MOV, PDF, SVG, unknown };

// One item of a library list. Shared by the list, its tile and pending callbacks; two items are
// the same item exactly when their ids are equal. Paths are absolute local paths; an empty path
// is an absent one. A folder's path ends in "/".
struct LibraryFile {
  const QUuid id = QUuid::createUuid();
  QString url;        // the file, or the folder of slide pictures
  QString thumbnail;  // the picture file that stands for the item
  QString name;
  LibraryFileType type = LibraryFileType::PNG;
  JsonValue json;  // a template's record; null for library files
  QImage thumbnailImage;
  bool isFavorited = false;

  // Sets name, type and thumbnail from `url`, which must be set.
  void classifyFromURL();
};

using LibraryFilePtr = std::shared_ptr<LibraryFile>;

// A new item for the file or folder at `path`, classified.
LibraryFilePtr classifiedFile(const QString& path);

// The visible items of `folder` (and of `secondFolder` after them), newest first; nothing, and a
// line in the log, when a folder cannot be read.
std::optional<QList<LibraryFilePtr>> readLibraryFolder(
    const QString& folder, const std::optional<QString>& secondFolder = std::nullopt);

bool isImageFile(const QString& path);
// Decks by extension, whatever the path is: callers check for folders themselves.
bool isPresentationFile(const QString& path);

// `path` with one "/" at the end.
QString folderPath(const QString& path);
// The folder's first entry in plain ascending name order (a deck's first slide), or empty.
QString firstSlideOf(const QString& folder);

}  // namespace dravin
