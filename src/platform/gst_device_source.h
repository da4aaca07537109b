#pragma once

#include <gst/gst.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "capture_device.h"

namespace dravin {

// The machine's cameras and microphones as GStreamer's device monitor lists them, probed afresh
// on every call.
class GstDeviceSource : public DeviceSource {
 public:
  // `sysfsRoot` is where the USB ids of video nodes are read ("/sys" on a real machine).
  explicit GstDeviceSource(std::filesystem::path sysfsRoot = "/sys");

  ~GstDeviceSource() override;

  std::vector<CaptureDevice> videoDevices() override;
  std::vector<CaptureDevice> audioDevices() override;
  // Through a device monitor that stays running: its added and removed messages.
  void watch(std::function<void()> changed) override;

 private:
  std::filesystem::path sysfsRoot_;
  GstDeviceMonitor* monitor_ = nullptr;
  std::function<void()> changed_;
};

namespace gstdevice {

struct StructureFree {
  void operator()(GstStructure* p) const {
    if (p) gst_structure_free(p);
  }
};
using StructurePtr = std::unique_ptr<GstStructure, StructureFree>;

// One format per distinct (media type, raw format, width, height) in the caps, with every frame
// rate the caps give for it. Structures without a fixed size or of other media types are left out.
std::vector<DeviceFormat> formatsFromCaps(const GstCaps* caps);

// "5d170029" (vendor then product, lower-case) for a video node such as "/dev/video2", read
// from sysfs under `sysfsRoot`; empty when the node has no USB ids.
std::string usbIdsOfVideoNode(const std::filesystem::path& sysfsRoot,
                              const std::string& devicePath);

struct UsbPlace {
  std::string serial;
  std::string port;
};
// The serial number and port of the USB device behind a video node; empty parts when unknown.
UsbPlace usbPlaceOfVideoNode(const std::filesystem::path& sysfsRoot, const std::string& devicePath);

// A camera from what the monitor reports about it; nothing when it names no device node.
std::optional<CaptureDevice> makeVideoDevice(const std::string& displayName,
                                             const GstStructure* properties, const GstCaps* caps,
                                             const std::filesystem::path& sysfsRoot);

// "v4l2src device=/dev/video0": the value is quoted only when the launch syntax needs it.
std::string launchWithDevice(const std::string& factory, const std::string& device);

}  // namespace gstdevice
}  // namespace dravin
