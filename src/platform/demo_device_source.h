#pragma once

#include <memory>

#include "capture_device.h"

namespace dravin {

// Adds a test-pattern camera and a test-tone microphone to another source's lists, so the
// application can be shown on a machine without capture hardware.
class DemoDeviceSource : public DeviceSource {
 public:
  // `inner` may be null: then only the demo devices are listed.
  explicit DemoDeviceSource(std::unique_ptr<DeviceSource> inner);

  std::vector<CaptureDevice> videoDevices() override;
  std::vector<CaptureDevice> audioDevices() override;

  static CaptureDevice demoCamera();
  static CaptureDevice demoMicrophone();

 private:
  std::unique_ptr<DeviceSource> inner_;
};

}  // namespace dravin
