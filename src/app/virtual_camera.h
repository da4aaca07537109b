#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "v4l2_output.h"

namespace dravin {

namespace x11 {
class WindowSystem;
}

// The card label of the loopback device that conference programs see as the application's camera.
inline constexpr const char* kVirtualCameraLabel = "Pelora AppCam";
inline constexpr int kVirtualCameraJpegQuality = 70;
inline constexpr int kVirtualCameraFps = 30;

// The frame feed: each tick finds the device, captures the main window alone and writes it as one
// JPEG. Ticks run on the frame timer's thread; only `setWindow` is called from elsewhere.
class VirtualCameraFeed {
 public:
  // `findDevice` gives the device (or pipe) path, empty when there is none; `display` is the X
  // display the window lives on ($DISPLAY when empty).
  explicit VirtualCameraFeed(std::function<std::string()> findDevice = defaultDevice,
                             std::string display = {});
  ~VirtualCameraFeed();
  VirtualCameraFeed(const VirtualCameraFeed&) = delete;
  VirtualCameraFeed& operator=(const VirtualCameraFeed&) = delete;

  static std::string defaultDevice() { return v4l2::findDeviceByLabel(kVirtualCameraLabel); }

  // The main window's X id, read on the main thread; 0 for none.
  void setWindow(std::uint32_t id) { window_.store(id, std::memory_order_release); }

  // One tick; true when a frame was written. Any failed step skips the tick silently.
  bool pushFrame();

 private:
  std::function<std::string()> findDevice_;
  std::string display_;
  std::atomic<std::uint32_t> window_{0};
  std::unique_ptr<x11::WindowSystem> windows_;  // the tick thread's own X connection
  v4l2::FrameOutput output_;
};

}  // namespace dravin
