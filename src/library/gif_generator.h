#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <memory>

#include "gif_writer.h"
#include "library_file.h"

namespace dravin {

class SerialQueue;
class SnapshotArchive;

// The GIF generator: frames taken from the snapshot archive, played in a loop at the chosen
// speed, exported as an animated GIF off the main thread. Main thread only.
class GifGenerator : public QObject {
  Q_OBJECT
 public:
  static constexpr double kDefaultInterval = 0.5;
  static constexpr double kSlowest = 1.5;
  static constexpr double kFastest = 0.1;
  static constexpr int kDefaultFramesToLoad = 10;

  using Writer = std::function<std::optional<GifExportResult>(
      const GifExport&, const std::function<void(int, int)>&, const std::atomic<bool>&, QString*)>;

  explicit GifGenerator(SnapshotArchive& archive, Writer writer = writeAnimatedGif,
                        QObject* parent = nullptr);
  ~GifGenerator() override;  // stops an export under way and waits for it

  const QList<LibraryFilePtr>& frameFileList() const { return frameFileList_; }
  LibraryFilePtr gifCurrentFrameFile() const { return gifCurrentFrameFile_; }
  double gifInterval() const { return gifInterval_; }
  bool isPlaying() const { return timer_.isActive(); }
  int framesToLoad() const { return framesToLoad_; }
  void setFramesToLoad(int count);
  bool isExporting() const { return exporting_; }
  bool showingDeleteAlert() const { return showingDeleteAlert_; }

  // The speed slider runs from 0 ("Slow", 1.5 s a frame) to 1.4 ("Fast", 0.1 s a frame).
  double sliderValue() const { return kSlowest - gifInterval_; }
  void setSliderValue(double value);

  void restartGifTimer();
  void stopGifTimer();
  void advanceFrame();

  // Earlier snapshots from the archive join in front of the frames, oldest first.
  void loadPreviousFrames();
  void addFrame(const LibraryFilePtr& item);
  void removeFrame(const QUuid& id);
  void clear();
  // Posts "OpenGifGenerator": the layout closes the generator.
  void close();

  // Writes the frames to `destination`; `exportFinished` tells how it went.
  void exportGif(const QString& destination);
  void cancelExport();
  // The answers to "Export Successful!": both close the generator; DELETE also removes the
  // frames' files from disk and from the archive.
  void deleteOriginals();
  void keepOriginals();

 signals:
  void framesChanged();
  void currentFrameChanged();
  void intervalChanged();
  void exportingChanged();
  void exportProgress(int done, int total);
  // `error` is empty on success.
  void exportFinished(const QString& error);
  void showingDeleteAlertChanged();

 private:
  void setCurrent(const LibraryFilePtr& item);
  QList<QUuid> frameIds() const;

  SnapshotArchive& archive_;
  Writer writer_;
  QList<LibraryFilePtr> frameFileList_;
  LibraryFilePtr gifCurrentFrameFile_;
  double gifInterval_ = kDefaultInterval;
  int framesToLoad_ = kDefaultFramesToLoad;
  QTimer timer_;
  bool exporting_ = false;
  bool showingDeleteAlert_ = false;
  std::shared_ptr<std::atomic<bool>> cancel_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::unique_ptr<SerialQueue> exports_;
};

}  // namespace dravin
