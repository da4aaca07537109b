#include "demo_device_source.h"

#include <utility>

namespace dravin {
namespace {

DeviceFormat format(const std::string& subtype, const std::string& caps, int width, int height) {
  return {subtype,
          width,
          height,
          {{30, 30}},
          caps + ",width=" + std::to_string(width) + ",height=" + std::to_string(height)};
}

}  // namespace

DemoDeviceSource::DemoDeviceSource(std::unique_ptr<DeviceSource> inner)
    : inner_(std::move(inner)) {}

std::vector<CaptureDevice> DemoDeviceSource::videoDevices() {
  auto devices = inner_ ? inner_->videoDevices() : std::vector<CaptureDevice>{};
  devices.push_back(demoCamera());
  return devices;
}

std::vector<CaptureDevice> DemoDeviceSource::audioDevices() {
  auto devices = inner_ ? inner_->audioDevices() : std::vector<CaptureDevice>{};
  devices.push_back(demoMicrophone());
  return devices;
}

CaptureDevice DemoDeviceSource::demoCamera() {
  CaptureDevice camera;
  camera.kind = DeviceKind::video;
  camera.uniqueID = "demo-camera";
  camera.name = "Demo Camera";
  camera.formats = {format("jpeg", "image/jpeg", 1920, 1080),
                    format("jpeg", "image/jpeg", 1280, 720),
                    format("yuvs", "video/x-raw,format=YUY2", 640, 480)};
  // Encoded to JPEG so the demo camera takes the same decoding path as a USB camera's MJPEG.
  camera.sourceLaunch =
      // Full HD unless the session asks for less: a source on its own would settle for 320x240.
      "videotestsrc is-live=true pattern=smpte ! video/x-raw,width=1920,height=1080,framerate=30/1 "
      "! timeoverlay font-desc=\"Sans 36\" ! videoscale ! jpegenc quality=85";
  return camera;
}

CaptureDevice DemoDeviceSource::demoMicrophone() {
  CaptureDevice mic;
  mic.kind = DeviceKind::audio;
  mic.uniqueID = "demo-microphone";
  mic.name = "Demo Microphone";
  mic.sourceLaunch = "audiotestsrc is-live=true wave=sine freq=440 volume=0.2";
  return mic;
}

}  // namespace dravin
