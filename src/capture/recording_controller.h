#pragma once

#include <gst/gst.h>

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "capture_device.h"

namespace dravin {

class ScreenRecorder;
class ScreenCastPortal;

// The recording under way, of the camera or of the screen: starts it in the videos folder, feeds
// it the camera's samples, pauses it while the picture is frozen, and announces the finished file.
// Lives on the main thread; samples arrive on GStreamer's streaming threads.
class RecordingController : public QObject {
  Q_OBJECT

 public:
  RecordingController();
  ~RecordingController() override;

  // Seams the camera controller fills in. The folder hook tells the user why there is none.
  std::function<std::optional<QString>()> videoFolder;
  std::function<std::optional<CaptureDevice>()> microphone;
  // False on a session without a screen that can be recorded.
  std::function<bool()> screenRecordingAllowed;
  // The portal client a screen recording asks for the screen, or null to record the X screen
  // directly. Unset: one on the session bus on Wayland, none on X11.
  std::function<std::unique_ptr<ScreenCastPortal>()> makeScreenCastPortal;

  void startCamera();
  void startScreen();
  // Also withdraws a screen recording still asking the portal or opening the screen.
  void stop();
  // True from the start of a screen recording's opening.
  bool isRecording() const;
  // "camera" or "screen": what was last asked for.
  QString source() const { return source_; }
  // "mm:ss" of what is recorded so far.
  QString timeString() const;
  // The recording follows the picture: paused while it holds still, resumed when it runs.
  void setFrozen(bool frozen);

  // On the streaming threads: the camera's samples, for a camera recording.
  void pushVideo(GstSample* sample);
  void pushAudio(GstSample* sample);

 signals:
  void recordingChanged();
  void alertRequested(const QString& text);

 private:
  struct Recording;
  using ScreenRecorderMaker = std::function<std::unique_ptr<ScreenRecorder>(
      const std::string& path, const std::optional<CaptureDevice>& mic)>;

  std::shared_ptr<Recording> current() const;
  bool isCurrent(const std::shared_ptr<Recording>& recording) const;
  // Claims the file in `folder` and records into it; `portal` (may be null) stays open with it.
  void recordScreen(const QString& folder, const ScreenRecorderMaker& make,
                    std::unique_ptr<ScreenCastPortal> portal);
  // On the main thread once the screen recorder is open, or failed to open with `error`.
  void screenOpened(const std::shared_ptr<Recording>& recording,
                    std::shared_ptr<ScreenRecorder> screen, const QString& error);
  // Logs and announces the file; a recording that failed midway is also shown to the user.
  void finish(std::shared_ptr<Recording> recording, const QString& error);

  mutable std::mutex mutex_;  // what the streaming threads share with the main thread
  std::shared_ptr<Recording> recording_;
  bool frozen_ = false;

  // A screen recording whose recorder is being opened; a Stop meanwhile withdraws it.
  std::shared_ptr<Recording> starting_;
  std::vector<std::shared_ptr<Recording>> finishingScreens_;
  // The portal asked for the screen, until it answers; a Stop meanwhile withdraws the request.
  std::unique_ptr<ScreenCastPortal> pendingCast_;
  QString source_ = QStringLiteral("camera");
};

}  // namespace dravin
