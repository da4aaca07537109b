#pragma once

#include <string>
#include <vector>

#include "capture_device.h"
#include "tarvo_camera.h"

namespace dravin {

struct DiscoveredDevices {
  std::vector<TarvoCamera> cameras;
  std::vector<TarvoMic> mics;
};

// Lists and orders the machine's cameras and microphones, the maker's first; chooses the
// formats of the maker's cameras. Throws CameraControllerError (noCamerasAvailable,
// noMicrophonesAvailable) when the source reports no device of a kind at all.
DiscoveredDevices discoverDevices(DeviceSource& source);
// The two halves of discovery, each failing on its own kind only.
std::vector<TarvoCamera> discoverCameras(DeviceSource& source);
std::vector<TarvoMic> discoverMics(DeviceSource& source);

// One line per list, for the log.
std::vector<std::string> describeDevices(const DiscoveredDevices& devices);
void logDevices(const DiscoveredDevices& devices);

}  // namespace dravin
