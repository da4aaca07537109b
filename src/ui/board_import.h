#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

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
// page each), a slide deck (converted by LibreOffice, a page per slide), or a folder of slide
// pictures as the library converts decks into. Anything else, and files that are not what their
// names say, give an error. Blocks on the disk and, for a deck, on LibreOffice: `progress` is
// called on the calling thread as its slides are drawn, and `cancel` stops the conversion.
using ImportProgress = std::function<void(int done, int total)>;
BoardImport importForBoard(const QString& path, const QString& assetFolder,
                           const ImportProgress& progress = {},
                           const std::atomic<bool>* cancel = nullptr);

// The camera picture kept as a page's background.
BoardImport importBoardImage(const QImage& image, const QString& assetFolder);

}  // namespace dravin
