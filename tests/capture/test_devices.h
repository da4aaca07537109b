#pragma once

#include <string>
#include <utility>
#include <vector>

#include "capture_device.h"

namespace dravin::test {

// A test-pattern camera delivering MJPEG and a test-tone microphone, for sessions without
// hardware. The camera's size and rate are the caller's: smaller is cheaper.
class TestDevices : public DeviceSource {
 public:
  explicit TestDevices(std::string rawCaps = "video/x-raw,width=640,height=360,framerate=30/1",
                       std::string wave = "sine")
      : rawCaps_(std::move(rawCaps)), wave_(std::move(wave)) {}

  std::vector<CaptureDevice> videoDevices() override {
    CaptureDevice camera;
    camera.uniqueID = "test-camera";
    camera.name = "Test Camera";
    camera.sourceLaunch = "videotestsrc is-live=true pattern=smpte ! " + rawCaps_ + " ! jpegenc";
    return {camera};
  }
  std::vector<CaptureDevice> audioDevices() override {
    CaptureDevice mic;
    mic.kind = DeviceKind::audio;
    mic.uniqueID = "test-mic";
    mic.name = "Test Microphone";
    mic.sourceLaunch = "audiotestsrc is-live=true wave=" + wave_;
    return {mic};
  }

 private:
  std::string rawCaps_;
  std::string wave_;
};

// A machine without capture devices: controllers that are driven but never prepared.
class NoDevices : public DeviceSource {
 public:
  std::vector<CaptureDevice> videoDevices() override { return {}; }
  std::vector<CaptureDevice> audioDevices() override { return {}; }
};

}  // namespace dravin::test
