#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dravin {

struct FrameRateRange {
  double minFrameRate = 0;
  double maxFrameRate = 0;
  bool operator==(const FrameRateRange&) const = default;
};

// One way a device can deliver pictures, read from its caps.
struct DeviceFormat {
  // Four characters: "jpeg" (MJPEG), "avc1" (H.264), "yuvs" (packed 4:2:2, YUY2), "420v" (NV12),
  // "420p" (I420), else the first four of the caps' format name.
  std::string mediaSubtype;
  int width = 0;
  int height = 0;
  std::vector<FrameRateRange> frameRateRanges;
  // The caps that select this format, without a frame rate, e.g.
  // "image/jpeg,width=1920,height=1080".
  std::string caps;
  bool operator==(const DeviceFormat&) const = default;
};

enum class DeviceKind { video, audio };

// A camera or microphone as discovery found it: the platform's device handle.
struct CaptureDevice {
  DeviceKind kind = DeviceKind::video;
  // Ends in the 8 hexadecimal digits vendor-then-product for a USB device.
  std::string uniqueID;
  std::optional<std::string> name;
  std::vector<DeviceFormat> formats;
  // A GStreamer launch fragment producing the device's data, e.g. "v4l2src device=/dev/video0".
  std::string sourceLaunch;
  // The camera's node ("/dev/video0"), where its picture controls are reached; empty otherwise.
  std::string devicePath;
  // The USB serial number and the port the device sits on ("1-1.2"), empty when unknown: what
  // tells two cameras of the same model apart.
  std::string usbSerial;
  std::string usbPort;
  bool operator==(const CaptureDevice&) const = default;
};

// Lists the machine's capture devices in the platform's order.
class DeviceSource {
 public:
  virtual ~DeviceSource() = default;
  virtual std::vector<CaptureDevice> videoDevices() = 0;
  virtual std::vector<CaptureDevice> audioDevices() = 0;
  // Starts following devices being plugged in and out; `changed` runs on a thread of the
  // source's own after each. A source that cannot follow them never calls it.
  virtual void watch(std::function<void()> changed) { (void)changed; }
};

}  // namespace dravin
