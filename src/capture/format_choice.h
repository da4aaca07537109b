#pragma once

#include <optional>
#include <string>

#include "tarvo_camera.h"

namespace dravin {

// The format a camera runs in for the chosen resolution, and the caps that ask for it.
struct FormatChoice {
  std::optional<DeviceFormat> format;
  std::optional<FrameRateRange> range;
  // Empty: the device's default format.
  std::string caps;
};

// Full HD when asked and chosen, else Ultra HD when asked and chosen, else the HD pair. Cameras
// that are not glass-board ones are held to 30 frames a second where their range allows it.
FormatChoice chooseFormat(const TarvoCamera& camera, bool useFullHD, bool useUltraHD);

// The caps of `format` at the rates of `range`, held to `maxRate` frames a second when given;
// a range whose slowest rate is already faster than that runs at its slowest.
std::string capsAtRates(const DeviceFormat& format, const std::optional<FrameRateRange>& range,
                        std::optional<double> maxRate);

}  // namespace dravin
