#include "doccam_controller.h"

#include <mutex>

#include "jpeg_encoder.h"
#include "sample_frame.h"

namespace dravin {

namespace {

// Replaced whole on the streaming thread, read on the main thread.
struct LatestFrame {
  std::mutex mutex;
  QVideoFrame frame;
};

LatestFrame& latest() {
  static LatestFrame store;
  return store;
}

}  // namespace

FormatChoice docCamFormat(const TarvoCamera& camera) {
  FormatChoice choice;
  if (!camera.hdFmt) return choice;
  choice.format = camera.hdFmt;
  choice.range = camera.hdFps;
  // A range that cannot slow down to the limit (a camera listing fixed rates, 60 first) would
  // ask for a minimum frame time longer than its maximum; the format's fastest range that can
  // slow down takes its place.
  auto canSlowDown = [](const FrameRateRange& range) {
    return range.minFrameRate <= kDocCamMaxFrameRate;
  };
  if (choice.range && !canSlowDown(*choice.range)) {
    std::optional<FrameRateRange> fastest;
    for (const auto& range : camera.hdFmt->frameRateRanges) {
      if (canSlowDown(range) && (!fastest || range.maxFrameRate > fastest->maxFrameRate)) {
        fastest = range;
      }
    }
    if (fastest) choice.range = fastest;
  }
  choice.caps = capsAtRates(*choice.format, choice.range, kDocCamMaxFrameRate);
  return choice;
}

DocCamController::DocCamController(QObject* parent)
    : SecondCameraController(QStringLiteral("doccam_controller"), parent) {}

DocCamController::~DocCamController() {
  shutdown();
}

void DocCamController::prepare(Completion completion) {
  if (showBoardTile) showBoardTile();
  SecondCameraController::prepare(std::move(completion));
}

std::string DocCamController::capsFor(const TarvoCamera& camera) const {
  return docCamFormat(camera).caps;
}

void DocCamController::frameArrived(const QVideoFrame& frame) {
  std::lock_guard lock(latest().mutex);
  latest().frame = frame;
}

QVideoFrame DocCamController::latestDocCamFrame() {
  std::lock_guard lock(latest().mutex);
  return latest().frame;
}

std::optional<QImage> DocCamController::latestFrameImage() {
  // Converted on request: the board asks for far fewer frames than the camera delivers.
  QVideoFrame frame = latestDocCamFrame();
  if (!frame.isValid()) return std::nullopt;
  QImage image = frameImage(frame);
  if (image.isNull()) return std::nullopt;
  return image;
}

QString DocCamController::latestFrameDataUrl() {
  const auto image = latestFrameImage();
  return image ? encodeJpegDataUrl(*image) : QString();
}

}  // namespace dravin
