#pragma once

#include <memory>
#include <string>

#include "picture_controls.h"

namespace dravin {

// The ioctl calls the controls need, so tests can stand a fake device in for a node.
class V4l2Io {
 public:
  virtual ~V4l2Io() = default;
  // 0 on success, else the errno of the failed call.
  virtual int call(unsigned long request, void* argument) = 0;
};

// A device node opened for control access; nothing is streamed through it.
class V4l2DeviceIo : public V4l2Io {
 public:
  explicit V4l2DeviceIo(const std::string& devicePath);
  ~V4l2DeviceIo() override;
  V4l2DeviceIo(const V4l2DeviceIo&) = delete;
  V4l2DeviceIo& operator=(const V4l2DeviceIo&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  int call(unsigned long request, void* argument) override;

 private:
  int fd_ = -1;
};

// The picture controls of a V4L2 camera, read with the extended-control queries: brightness,
// contrast, saturation, hue, sharpness, gamma, gain, backlight compensation, power-line
// frequency, white balance, exposure, focus, zoom, pan and tilt, as far as the camera has them.
class V4l2Controls : public PictureControls {
 public:
  explicit V4l2Controls(std::unique_ptr<V4l2Io> io);

  std::vector<PictureControl> list() override;
  std::string set(const std::string& name, int value) override;

  // Whether a control of this id is one the application shows.
  static bool offered(unsigned int id);

 private:
  std::unique_ptr<V4l2Io> io_;
};

// The name `v4l2-ctl` gives a driver's caption: lower case, each run of other characters one
// underscore, none at either end ("White Balance, Automatic" -> "white_balance_automatic").
std::string v4l2ControlName(const std::string& caption);

}  // namespace dravin
