#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace dravin {

// What a file becomes on the board: one picture for the current page, or pages (a PDF's, a
// deck's slides), each an asset reference.
struct BoardImport {
  enum class Kind { picture, pages };
  Kind kind = Kind::picture;
  QStringList references;
  QString error;  // empty on success; otherwise for the user, naming the file
};

// Classifies `path` and keeps what the board needs of it in `assetFolder`: a picture, a PDF (a
// page each), or a folder of slide pictures as the library converts decks into. Anything else,
// and files that are not what their names say, give an error. Blocks on the disk.
BoardImport importForBoard(const QString& path, const QString& assetFolder);

// The camera picture kept as a page's background.
BoardImport importBoardImage(const QImage& image, const QString& assetFolder);

}  // namespace dravin
