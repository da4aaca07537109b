#include "device_discovery.h"

#include <cmath>
#include <sstream>

#include "app_log.h"
#include "camera_controller_error.h"

namespace dravin {
namespace {

inline constexpr const char* kUncompressedSubtype = "yuvs";
inline constexpr int kFullHDWidth = 1920;
inline constexpr int kHDWidth = 1280;
inline constexpr int kUltraHDWidth = 3840;
inline constexpr double kMinimumFrameRate = 25;

// The first range whose top rate, rounded, is above the minimum. A format without such a range
// clears the rate rather than keeping one an earlier format of that width left, which the new
// format may not support.
std::optional<FrameRateRange> chooseRange(const DeviceFormat& format) {
  for (const auto& range : format.frameRateRanges) {
    if (std::round(range.maxFrameRate) > kMinimumFrameRate) return range;
  }
  return std::nullopt;
}

void chooseFormats(TarvoCamera& camera) {
  for (const auto& format : camera.camera.formats) {
    if (format.mediaSubtype == kUncompressedSubtype) continue;
    auto assign = [&](std::optional<DeviceFormat>& slot, std::optional<FrameRateRange>& rate) {
      slot = format;
      rate = chooseRange(format);
    };
    if (format.width == kFullHDWidth) assign(camera.fullHDFmt, camera.fullHDFps);
    if (format.width == kHDWidth) assign(camera.hdFmt, camera.hdFps);
    if (format.width == kUltraHDWidth) assign(camera.ultraHDFmt, camera.ultraHDFps);
  }
}

void insertCamera(std::vector<TarvoCamera>& cameras, TarvoCamera camera) {
  if (camera.isNolbek) {
    chooseFormats(camera);
    std::size_t index = 0;
    if (!cameras.empty() && !camera.isPelora && cameras.front().isNolbek) index = 1;
    cameras.insert(cameras.begin() + static_cast<std::ptrdiff_t>(index), std::move(camera));
    return;
  }
  // The application's own virtual camera would show the application to itself.
  if (!camera.name || camera.name->find("AppCam") != std::string::npos) {
    logLine(QString::fromStdString(camera.name.value_or("")) + " is a virtual camera.");
    return;
  }
  cameras.push_back(std::move(camera));
}

std::string describeFormat(const std::optional<DeviceFormat>& format,
                           const std::optional<FrameRateRange>& rate) {
  if (!format) return "-";
  std::ostringstream text;
  text << format->mediaSubtype << ' ' << format->width << 'x' << format->height;
  if (rate) text << '@' << rate->maxFrameRate;
  return text.str();
}

}  // namespace

std::vector<TarvoCamera> discoverCameras(DeviceSource& source) {
  std::vector<TarvoCamera> cameras;
  auto videos = source.videoDevices();
  if (videos.empty()) throw CameraControllerError(CameraControllerError::Code::noCamerasAvailable);
  for (const auto& device : videos) insertCamera(cameras, TarvoCamera(device));
  return cameras;
}

std::vector<TarvoMic> discoverMics(DeviceSource& source) {
  std::vector<TarvoMic> mics;
  auto audios = source.audioDevices();
  if (audios.empty()) {
    throw CameraControllerError(CameraControllerError::Code::noMicrophonesAvailable);
  }
  for (const auto& device : audios) {
    TarvoMic mic(device);
    if (mic.isNolbek)
      mics.insert(mics.begin(), std::move(mic));
    else
      mics.push_back(std::move(mic));
  }
  return mics;
}

DiscoveredDevices discoverDevices(DeviceSource& source) {
  DiscoveredDevices found;
  found.cameras = discoverCameras(source);
  found.mics = discoverMics(source);
  return found;
}

std::vector<std::string> describeDevices(const DiscoveredDevices& devices) {
  std::ostringstream cameras;
  cameras << "tarvoCameras:";
  for (const auto& c : devices.cameras) {
    cameras << " [" << c.name.value_or("") << " | " << c.uniqueID << std::hex << " | vendor 0x"
            << c.vendorID << " product 0x" << c.productID << std::dec
            << (c.isNolbek ? " | nolbek" : "") << (c.isPelora ? " | pelora" : "") << " | 1080 "
            << describeFormat(c.fullHDFmt, c.fullHDFps) << " | 720 "
            << describeFormat(c.hdFmt, c.hdFps) << " | 2160 "
            << describeFormat(c.ultraHDFmt, c.ultraHDFps) << "]";
  }
  std::ostringstream mics;
  mics << "tarvoMics:";
  for (const auto& m : devices.mics) {
    mics << " [" << m.name.value_or("") << " | " << m.mic.uniqueID
         << (m.isNolbek ? " | nolbek" : "") << "]";
  }
  return {cameras.str(), mics.str()};
}

void logDevices(const DiscoveredDevices& devices) {
  for (const auto& line : describeDevices(devices)) logLine(QString::fromStdString(line));
}

}  // namespace dravin
