#pragma once

#include <QByteArray>
#include <QSize>
#include <optional>
#include <string>

namespace dravin::v4l2 {

inline constexpr const char* kSysfsVideoDevices = "/sys/class/video4linux";

// "/dev/videoN" of the device whose card name is exactly `label`, the lowest N first; empty when
// there is none. Read afresh on every call, so a device created later is found.
std::string findDeviceByLabel(const std::string& label,
                              const std::string& sysfsRoot = kSysfsVideoDevices,
                              const std::string& devRoot = "/dev");

// Hands complete JPEG frames, one per write, to a V4L2 output device (a loopback device, whose
// readers see an MJPEG camera) or, for tests and tools, to a pipe or FIFO, which gets the frames
// back to back without a format step.
class FrameOutput {
 public:
  FrameOutput() = default;
  ~FrameOutput();
  FrameOutput(const FrameOutput&) = delete;
  FrameOutput& operator=(const FrameOutput&) = delete;

  // Opens `path` if it is not the one open, or again when `size` changed, and on a device sets the
  // format MJPEG of `size` at `fps` frames a second. Gives the frame size to write: `size`, or the
  // size the device keeps while its readers hold it. Nothing when the path cannot be used.
  std::optional<QSize> prepare(const std::string& path, QSize size, int fps = 30);

  // One frame, whole or not at all: a frame larger than the device's buffer, or a pipe that stays
  // full, is dropped, and a pipe left holding half a frame is closed.
  bool write(const QByteArray& frame);

  void close();
  bool isOpen() const { return fd_ >= 0; }
  bool isDevice() const { return device_; }

 private:
  bool setFormat(QSize size, int fps);
  bool writeToPipe(const QByteArray& frame);

  int fd_ = -1;
  std::string path_;
  QSize requested_;
  QSize size_;
  bool device_ = false;
  std::size_t capacity_ = 0;  // the device's buffer; 0 for a pipe
};

}  // namespace dravin::v4l2
