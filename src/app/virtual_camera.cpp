#include "virtual_camera.h"


#include <QImage>
#include <exception>

#include "jpeg_encoder.h"
#include "x11_windows.h"

namespace dravin {

VirtualCameraFeed::VirtualCameraFeed(std::function<std::string()> findDevice, std::string display)
    : findDevice_(std::move(findDevice)), display_(std::move(display)) {}

VirtualCameraFeed::~VirtualCameraFeed() = default;

bool VirtualCameraFeed::pushFrame() {
  // Looked up on every tick: a device set up while the application runs is fed at once, and one
  // that went away is let go.
  const std::string device = findDevice_ ? findDevice_() : std::string();
  if (device.empty()) {
    output_.close();
    return false;
  }
  const std::uint32_t window = window_.load(std::memory_order_acquire);
  if (window == 0) return false;
  if (!windows_) {
    try {
      windows_ = std::make_unique<x11::WindowSystem>(display_);
    } catch (const std::exception&) {
      return false;  // no X display (yet): a later tick tries again
    }
  }
  bool written = false;
  windows_->readWindow(window, [&](const QImage& image) {
    const std::optional<QSize> size = output_.prepare(device, image.size(), kVirtualCameraFps);
    if (!size) return;
    // Encoded straight from the shared segment; scaled only when readers hold an older size.
    written = output_.write(
        encodeJpeg(*size == image.size() ? image : image.scaled(*size), kVirtualCameraJpegQuality));
  });
  return written;
}

}  // namespace dravin
