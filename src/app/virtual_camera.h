#pragma once

#include <QByteArray>
#include <QSize>
#include <cstdint>
#include <functional>
#include <string>

#include "scene_frames.h"
#include "v4l2_output.h"

namespace dravin {

// The card label of the loopback device that conference programs see as the application's camera.
inline constexpr const char* kVirtualCameraLabel = "Pelora AppCam";
inline constexpr int kVirtualCameraJpegQuality = 70;
inline constexpr int kVirtualCameraFps = 30;

// For tests only: a device or FIFO path here stands in for the device found by its label, so the
// whole application's feed can be read without the loopback module.
inline constexpr const char* kVirtualCameraDeviceVariable = "DRAVIN_VIRTUAL_CAMERA_DEVICE";

// The frame feed: each tick finds the device and writes the newest picture of our own scene as
// one JPEG. Ticks run on the frame timer's thread. The scene renders only when something changes,
// so a still window gives the same picture on every tick; its JPEG is kept and written again.
class VirtualCameraFeed {
 public:
  using Frames = std::function<SceneFrames::Frame()>;

  // `frames` gives the newest picture (any thread); `findDevice` the device (or pipe) path, empty
  // when there is none.
  explicit VirtualCameraFeed(Frames frames,
                             std::function<std::string()> findDevice = defaultDevice);
  VirtualCameraFeed(const VirtualCameraFeed&) = delete;
  VirtualCameraFeed& operator=(const VirtualCameraFeed&) = delete;

  // The device labelled "Pelora AppCam", or the path the test variable names.
  static std::string defaultDevice();

  // One tick; true when a frame was written. Any failed step skips the tick silently.
  bool pushFrame();

 private:
  Frames frames_;
  std::function<std::string()> findDevice_;
  v4l2::FrameOutput output_;
  QByteArray jpeg_;  // the last picture encoded, with what it was made from
  std::uint64_t jpegSerial_ = 0;
  QSize jpegSize_;
};

}  // namespace dravin
