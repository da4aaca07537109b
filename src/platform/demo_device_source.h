#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

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
  void watch(std::function<void()> changed) override;

  // Plug and unplug demo cameras as a hand would USB ones; false when the name is already
  // plugged in (add) or is not (remove).
  bool addCamera(const std::string& name);
  bool removeCamera(const std::string& name);

  static inline const std::string kCameraName = "Demo Camera";
  // The first demo camera is "Demo Camera"; others are named by whoever plugs them in.
  static CaptureDevice demoCamera(const std::string& name = kCameraName);
  static CaptureDevice demoMicrophone();

 private:
  void changed();

  std::unique_ptr<DeviceSource> inner_;
  std::mutex mutex_;
  std::vector<std::string> cameras_{kCameraName};
  std::function<void()> changed_;
};

}  // namespace dravin
