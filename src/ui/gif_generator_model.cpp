#include "gif_generator_model.h"

#include <QDir>
#include <QStandardPaths>

#include "snapshot_archive.h"
#include "storage_folders.h"

namespace dravin {

GifGeneratorModel::GifGeneratorModel(QObject* parent)
    : QObject(parent), generator_(SnapshotArchive::shared()) {
  connect(&generator_, &GifGenerator::framesChanged, this,
          [this] { frames_.setItems(generator_.frameFileList()); });
  connect(&generator_, &GifGenerator::currentFrameChanged, this,
          &GifGeneratorModel::currentFrameChanged);
  connect(&generator_, &GifGenerator::intervalChanged, this, &GifGeneratorModel::intervalChanged);
  connect(&generator_, &GifGenerator::exportingChanged, this, [this] {
    exportFraction_ = 0;
    emit exportProgressChanged();
    emit exportingChanged();
  });
  connect(&generator_, &GifGenerator::exportProgress, this, [this](int done, int total) {
    exportFraction_ = total > 0 ? static_cast<double>(done) / total : 0;
    emit exportProgressChanged();
  });
  connect(&generator_, &GifGenerator::exportFinished, this, [this](const QString& error) {
    message_ = error;
    emit messageChanged();
    if (!error.isEmpty()) generator_.restartGifTimer();
  });
  connect(&generator_, &GifGenerator::showingDeleteAlertChanged, this,
          &GifGeneratorModel::showingDeleteAlertChanged);
}

QUrl GifGeneratorModel::currentFrameUrl() const {
  const LibraryFilePtr current = generator_.gifCurrentFrameFile();
  return current ? QUrl::fromLocalFile(current->url) : QUrl();
}

void GifGeneratorModel::setFramesToLoad(int count) {
  generator_.setFramesToLoad(count);
  emit framesToLoadChanged();
}

void GifGeneratorModel::removeFrame(const QString& id) {
  if (LibraryFilePtr item = frames_.find(id)) generator_.removeFrame(item->id);
}

void GifGeneratorModel::exportTo(const QUrl& destination) {
  if (!destination.isLocalFile()) return;
  message_.clear();
  emit messageChanged();
  generator_.exportGif(destination.toLocalFile());
}

QUrl GifGeneratorModel::proposedExportUrl() const {
  const QString folder = storageFolders()
                             ? storageFolders()->images
                             : QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  return QUrl::fromLocalFile(QDir(folder).filePath("export.gif"));
}

}  // namespace dravin
