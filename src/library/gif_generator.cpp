#include "gif_generator.h"

#include <QFile>
#include <algorithm>

#include "app_log.h"
#include "notification_center.h"
#include "notification_names.h"
#include "serial_queue.h"
#include "snapshot_archive.h"
#include "storage_folders.h"

namespace dravin {
namespace {
inline constexpr int kRetryMs = 3000;
}

GifGenerator::GifGenerator(SnapshotArchive& archive, Writer writer, QObject* parent)
    : QObject(parent),
      archive_(archive),
      writer_(std::move(writer)),
      exports_(std::make_unique<SerialQueue>("gif_export")) {
  connect(&timer_, &QTimer::timeout, this, &GifGenerator::advanceFrame);
  connect(&archive_, &SnapshotArchive::stillAdded, this, &GifGenerator::addFrame);
}

GifGenerator::~GifGenerator() {
  if (cancel_) cancel_->store(true);
  exports_.reset();
}

void GifGenerator::setFramesToLoad(int count) {
  framesToLoad_ = std::max(1, count);
}

void GifGenerator::setSliderValue(double value) {
  gifInterval_ = std::clamp(kSlowest - value, kFastest, kSlowest);
  emit intervalChanged();
  restartGifTimer();
}

void GifGenerator::stopGifTimer() {
  timer_.stop();
}

void GifGenerator::restartGifTimer() {
  stopGifTimer();
  timer_.start(static_cast<int>(gifInterval_ * 1000));
  advanceFrame();  // the timer starts at once
}

void GifGenerator::advanceFrame() {
  if (frameFileList_.isEmpty()) return;
  const auto found = std::find(frameFileList_.begin(), frameFileList_.end(), gifCurrentFrameFile_);
  if (found == frameFileList_.end() || found + 1 == frameFileList_.end())
    setCurrent(frameFileList_.first());
  else
    setCurrent(*(found + 1));
}

void GifGenerator::setCurrent(const LibraryFilePtr& item) {
  if (gifCurrentFrameFile_ == item) return;
  gifCurrentFrameFile_ = item;
  emit currentFrameChanged();
}

QList<QUuid> GifGenerator::frameIds() const {
  QList<QUuid> ids;
  for (const LibraryFilePtr& frame : frameFileList_) ids.append(frame->id);
  return ids;
}

void GifGenerator::loadPreviousFrames() {
  if (!storageFolders()) {
    logLine("NO Archive Library yet");
    QTimer::singleShot(kRetryMs, this, &GifGenerator::loadPreviousFrames);
    return;
  }
  const QList<LibraryFilePtr> previous = archive_.previousStills(framesToLoad_, frameIds());
  if (previous.isEmpty()) return;
  frameFileList_ = previous + frameFileList_;
  emit framesChanged();
}

void GifGenerator::addFrame(const LibraryFilePtr& item) {
  if (frameIds().contains(item->id)) return;
  frameFileList_.append(item);
  emit framesChanged();
}

void GifGenerator::removeFrame(const QUuid& id) {
  if (frameFileList_.removeIf([&](const LibraryFilePtr& f) { return f->id == id; }) > 0)
    emit framesChanged();
}

void GifGenerator::clear() {
  frameFileList_.clear();
  setCurrent(nullptr);
  emit framesChanged();
}

void GifGenerator::close() {
  NotificationCenter::instance().post(notifications::kOpenGifGenerator);
}

void GifGenerator::exportGif(const QString& destination) {
  if (frameFileList_.isEmpty() || destination.isEmpty() || exporting_) return;
  stopGifTimer();
  GifExport job;
  for (const LibraryFilePtr& frame : frameFileList_) job.framePaths.append(frame->url);
  job.destination = destination;
  job.delaySeconds = gifInterval_;
  exporting_ = true;
  emit exportingChanged();
  cancel_ = std::make_shared<std::atomic<bool>>(false);
  std::weak_ptr<bool> alive = alive_;
  exports_->dispatch([this, alive, job, cancel = cancel_] {
    auto progress = [this, alive](int done, int total) {
      onMainThread([this, alive, done, total] {
        if (!alive.expired()) emit exportProgress(done, total);
      });
    };
    QString error;
    const std::optional<GifExportResult> result = writer_(job, progress, *cancel, &error);
    if (!result && error.isEmpty()) error = "The GIF could not be written.";
    onMainThread([this, alive, result, error] {
      if (alive.expired()) return;
      exporting_ = false;
      emit exportingChanged();
      if (result) {
        if (result->framesSkipped > 0)
          logLine(QString::number(result->framesSkipped) + " frames could not be read");
        showingDeleteAlert_ = true;
        emit showingDeleteAlertChanged();
      }
      emit exportFinished(result ? QString() : error);
    });
  });
}

void GifGenerator::cancelExport() {
  if (cancel_) cancel_->store(true);
}

void GifGenerator::keepOriginals() {
  showingDeleteAlert_ = false;
  emit showingDeleteAlertChanged();
  close();
}

void GifGenerator::deleteOriginals() {
  showingDeleteAlert_ = false;
  emit showingDeleteAlertChanged();
  close();
  for (const LibraryFilePtr& frame : frameFileList_) QFile::remove(frame->url);
  archive_.forget(frameIds());
}

}  // namespace dravin
