#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "gst_pipeline.h"

namespace dravin::gst {

// What the main session captures: the camera's source and the caps that pick its format, and
// the microphone's source.
struct SessionInputs {
  std::string videoSource;  // launch fragment, e.g. "v4l2src device=/dev/video0"
  // Empty: the device's default format. Otherwise caps such as
  // "image/jpeg,width=1920,height=1080,framerate=(fraction)[1/1,30/1]".
  std::string videoCaps;
  std::optional<std::string> audioSource;
};

// The launch text of a session: decoded pictures in I420 at the "video" sink and 48 kHz stereo
// at the "audio" sink. MJPEG goes straight to the JPEG decoder, anything else through decodebin.
std::string describeSession(const SessionInputs& inputs);

// The main capture session: one pipeline from the devices to two sinks whose samples reach the
// callbacks on GStreamer's streaming threads.
class CameraSession {
 public:
  explicit CameraSession(const SessionInputs& inputs);  // throws GstError
  ~CameraSession();

  // Set before start().
  std::function<void(GstSample*)> onVideoSample;
  std::function<void(GstSample*)> onAudioSample;
  std::function<void(const std::string&)> onError;

  void start();  // throws GstError
  void stop();
  bool isRunning() const { return running_; }
  GstClockTime runningTime() const { return pipeline_.runningTime(); }
  // The camera's format once negotiated, e.g. "image/jpeg 1920x1080" ("" before).
  std::string negotiatedFormat() const;
  // A named element of the session (the demo camera's picture balance), or nothing.
  ElementPtr element(const std::string& name) const { return pipeline_.element(name); }

 private:
  Pipeline pipeline_;
  bool running_ = false;
};

}  // namespace dravin::gst
