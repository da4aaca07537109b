#include "demo_device_source.h"

#include <algorithm>
#include <thread>
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
  std::lock_guard lock(mutex_);
  for (const auto& name : cameras_) devices.push_back(demoCamera(name));
  return devices;
}

void DemoDeviceSource::watch(std::function<void()> changed) {
  {
    std::lock_guard lock(mutex_);
    changed_ = changed;
  }
  if (inner_) inner_->watch(std::move(changed));
}

bool DemoDeviceSource::addCamera(const std::string& name) {
  {
    std::lock_guard lock(mutex_);
    if (name.empty() || std::find(cameras_.begin(), cameras_.end(), name) != cameras_.end()) {
      return false;
    }
    cameras_.push_back(name);
  }
  changed();
  return true;
}

bool DemoDeviceSource::removeCamera(const std::string& name) {
  {
    std::lock_guard lock(mutex_);
    auto it = std::find(cameras_.begin(), cameras_.end(), name);
    if (it == cameras_.end()) return false;
    cameras_.erase(it);
  }
  changed();
  return true;
}

void DemoDeviceSource::changed() {
  std::function<void()> changed;
  {
    std::lock_guard lock(mutex_);
    changed = changed_;
  }
  // From a thread of its own, as a device monitor reports.
  if (changed) std::thread(changed).detach();
}

std::vector<CaptureDevice> DemoDeviceSource::audioDevices() {
  auto devices = inner_ ? inner_->audioDevices() : std::vector<CaptureDevice>{};
  devices.push_back(demoMicrophone());
  return devices;
}

CaptureDevice DemoDeviceSource::demoCamera(const std::string& name) {
  CaptureDevice camera;
  camera.kind = DeviceKind::video;
  camera.uniqueID = name == kCameraName ? "demo-camera" : "demo-camera-" + name;
  camera.name = name;
  camera.formats = {format("jpeg", "image/jpeg", 1920, 1080),
                    format("jpeg", "image/jpeg", 1280, 720),
                    format("yuvs", "video/x-raw,format=YUY2", 640, 480)};
  // Encoded to JPEG so the demo camera takes the same decoding path as a USB camera's MJPEG.
  camera.sourceLaunch =
      // Full HD unless the session asks for less: a source on its own would settle for 320x240.
      "videotestsrc is-live=true pattern=smpte ! video/x-raw,width=1920,height=1080,framerate=30/1 "
      "! timeoverlay font-desc=\"Sans 36\" ! videobalance name=balance ! videoscale ! jpegenc "
      "quality=85";
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
