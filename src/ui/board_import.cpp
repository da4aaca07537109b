#include "board_import.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include "board_assets.h"
#include "deck_converter.h"

namespace dravin {

namespace {

const QStringList kPictureSuffixes{"png", "jpg", "jpeg", "gif", "svg", "webp", "bmp"};
const QStringList kDeckSuffixes{"ppt", "pptx", "key", "odp", "fodp"};

BoardImport failed(const QString& error) {
  BoardImport imported;
  imported.error = error;
  return imported;
}

}  // namespace

BoardImport importForBoard(const QString& path, const QString& assetFolder,
                           const ImportProgress& progress, const std::atomic<bool>* cancel) {
  const QFileInfo file(path);
  const QString name = file.fileName().isEmpty() ? path : file.fileName();
  if (!file.exists()) return failed(QStringLiteral("No such file: ") + path);
  if (!file.isReadable()) return failed(QStringLiteral("Cannot read ") + name);
  const BoardAssets assets(assetFolder);
  BoardImport imported;
  if (file.isDir()) {
    const AssetListImport slides = assets.importSlideFolder(path);
    if (!slides.ok()) return failed(slides.error);
    imported.kind = BoardImport::Kind::pages;
    imported.references = slides.references;
    return imported;
  }
  const QString suffix = file.suffix().toLower();
  if (suffix == QLatin1String("pdf")) {
    const AssetImport pdf = assets.importPdf(path);
    if (!pdf.ok()) return failed(pdf.error);
    imported.kind = BoardImport::Kind::pages;
    for (int page = 1; page <= pdf.pageCount; ++page) {
      imported.references.append(pdf.reference + QStringLiteral("#%1").arg(page));
    }
    return imported;
  }
  if (kPictureSuffixes.contains(suffix)) {
    const AssetImport picture = assets.importFile(path);
    if (!picture.ok()) return failed(picture.error);
    imported.references.append(picture.reference);
    return imported;
  }
  if (kDeckSuffixes.contains(suffix)) {
    // Converted as the library converts decks, into a folder that goes once its slides are kept.
    QTemporaryDir slides;
    if (!slides.isValid()) return failed(name + QStringLiteral(": no room to convert it"));
    const std::atomic<bool> never{false};
    const DeckConversion job{path, slides.path(), file.completeBaseName()};
    if (const auto error = convertDeck(
            job, progress ? progress : [](int, int) {}, cancel ? *cancel : never)) {
      return failed(*error);
    }
    const AssetListImport converted = assets.importSlideFolder(slides.path());
    if (!converted.ok()) return failed(converted.error);
    imported.kind = BoardImport::Kind::pages;
    imported.references = converted.references;
    return imported;
  }
  return failed(name +
                QStringLiteral(" cannot go on the board: only pictures, PDF files and slide decks "
                               "can."));
}

BoardImport importBoardImage(const QImage& image, const QString& assetFolder) {
  const AssetImport picture = BoardAssets(assetFolder).importImage(image);
  if (!picture.ok()) return failed(picture.error);
  BoardImport imported;
  imported.references.append(picture.reference);
  return imported;
}

}  // namespace dravin
