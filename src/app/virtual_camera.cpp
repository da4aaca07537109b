#include "virtual_camera.h"

#include <cstdlib>

#include "jpeg_encoder.h"

namespace dravin {

VirtualCameraFeed::VirtualCameraFeed(Frames frames, std::function<std::string()> findDevice)
    : frames_(std::move(frames)), findDevice_(std::move(findDevice)) {}

std::string VirtualCameraFeed::defaultDevice() {
  if (const char* path = std::getenv(kVirtualCameraDeviceVariable); path && *path) return path;
  return v4l2::findDeviceByLabel(kVirtualCameraLabel);
}

bool VirtualCameraFeed::pushFrame() {
  // Looked up on every tick: a device set up while the application runs is fed at once, and one
  // that went away is let go. Without a device the scene is not asked for pictures at all.
  const std::string device = findDevice_ ? findDevice_() : std::string();
  if (device.empty()) {
    output_.close();
    jpeg_.clear();
    return false;
  }
  const SceneFrames::Frame frame = frames_ ? frames_() : SceneFrames::Frame{};
  if (frame.image.isNull()) return false;
  const std::optional<QSize> size = output_.prepare(device, frame.image.size(), kVirtualCameraFps);
  if (!size) return false;
  if (jpeg_.isEmpty() || frame.serial != jpegSerial_ || *size != jpegSize_) {
    // Scaled only when readers hold an older size.
    jpeg_ = encodeJpeg(*size == frame.image.size() ? frame.image : frame.image.scaled(*size),
                       kVirtualCameraJpegQuality);
    jpegSerial_ = frame.serial;
    jpegSize_ = *size;
  }
  return !jpeg_.isEmpty() && output_.write(jpeg_);
}

}  // namespace dravin
