#pragma once

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include "capture_device.h"
#include "gst_pipeline.h"
#include "movie_writer.h"
#include "screen_sources.h"
#include "sleep_inhibitor.h"

namespace dravin {

// A time as value / timescale seconds.
struct FrameDuration {
  std::int64_t value = 0;
  std::int32_t timescale = 0;
  bool operator==(const FrameDuration&) const = default;
};

inline constexpr double kMaxRecordedWidth = 1920;

// 1 / framesPerSecond in 600ths of a second, the finest shared unit of the usual frame rates.
FrameDuration minFrameDuration(int framesPerSecond);

// The factor that keeps a recording at most 1920 pixels wide, for a screen `screenWidthPoints`
// wide whose points are `backingScale` pixels each. X11 counts in pixels: backing scale 1.
double scaleFactor(double screenWidthPoints, double backingScale);

// `width` x `height` scaled by `scale`, rounded to even sizes (the encoder's 4:2:0 needs them).
VideoSize scaledSize(int width, int height, double scale);

// Whether screens can be recorded at all: on Wayland the desktop's portal decides when asked; on
// X11 the display must be reachable.
bool screenRecordingAllowed();

enum class VideoCodec { h264 };

// Records one screen (optionally with a microphone) into one MP4 file, once.
class ScreenRecorder {
 public:
  class Error : public std::runtime_error {
   public:
    enum class Code {
      invalidScreen,
      invalidAudioDevice,
      couldNotAddScreen,
      couldNotAddMic,
      couldNotAddOutput,
      notAllowed,  // the user declined to share the screen
    };
    explicit Error(Code code, const std::string& detail = {});
    Code code() const { return code_; }
    static const char* name(Code code);

   private:
    Code code_;
  };

  // Builds the session and opens the output; throws Error. `highlightClicks` is accepted for
  // callers' sake: X11 capture cannot mark clicks. `displayName` empty means $DISPLAY.
  ScreenRecorder(std::string destination, int framesPerSecond, std::optional<CropRect> cropRect,
                 bool showCursor, bool highlightClicks, std::uint32_t screenId,
                 std::optional<CaptureDevice> audioDevice, std::optional<VideoCodec> videoCodec,
                 std::string displayName = {});
  // Records a stream of the desktop's screen-cast portal, held to 1920 pixels wide like a screen.
  ScreenRecorder(std::string destination, int framesPerSecond, const PipeWireStream& stream,
                 std::optional<CaptureDevice> audioDevice, std::optional<VideoCodec> videoCodec);
  // A recording still running is closed without calling back.
  ~ScreenRecorder();
  ScreenRecorder(const ScreenRecorder&) = delete;
  ScreenRecorder& operator=(const ScreenRecorder&) = delete;

  // Set before start(). onStart comes with the first frame, from a streaming thread; onPause and
  // onResume from the caller of pause()/resume(); onFinish exactly once, from a worker thread,
  // after stop() or when writing fails (a full disk).
  std::function<void()> onStart;
  std::function<void(const std::string& destination, const std::optional<std::string>& error)>
      onFinish;
  std::function<void()> onPause;
  std::function<void()> onResume;

  void start();
  // Returns at once; the file is closed on a worker thread, which then calls onFinish.
  void stop();
  void pause();
  void resume();

  const std::string& destination() const { return destination_; }
  VideoSize videoSize() const { return videoSize_; }
  // The movie's length so far, paused stretches left out.
  GstClockTime recordedDuration() const;
  // Why the movie stopped taking frames by itself (then onFinish carries its text), if it did.
  std::optional<gst::WriteFailure> writeFailure() const;

 private:
  enum class State { idle, recording, paused, stopping, finished };

  static GstFlowReturn videoArrived(GstAppSink* sink, gpointer self);
  static GstFlowReturn audioArrived(GstAppSink* sink, gpointer self);
  // Builds the session from the video source's launch text and opens the output; throws Error.
  void open(const std::string& videoSource, const std::optional<CaptureDevice>& audioDevice);
  void connectSinks();
  // Whether a sample was captured after stop() while the session drains.
  bool afterStop(GstSample* sample) const;
  // With mutex_ held: leaves the recording and closes the file on the worker.
  void finishOnWorker(std::optional<std::string> error);
  void removeEmptyMovie() const;

  const std::string destination_;
  VideoSize videoSize_;
  // Declared before the session: its bus thread may still take the lock while it shuts down.
  mutable std::mutex mutex_;
  State state_ = State::idle;
  bool closing_ = false;
  std::atomic<bool> startAnnounced_{false};
  SleepInhibitor activity_;
  // The writer outlives the session that feeds it.
  std::unique_ptr<gst::MovieWriter> output_;
  std::unique_ptr<gst::Pipeline> session_;
  std::thread worker_;
  // Our copy of a portal's PipeWire connection, open while the session may read it.
  int pipeWireFd_ = -1;
  bool drainOnStop_ = false;
  std::atomic<GstClockTime> stopAt_{GST_CLOCK_TIME_NONE};
};

}  // namespace dravin
