#pragma once

#include <QString>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tarvo_camera.h"

namespace dravin {

struct ResolutionFlags {
  bool useFullHD = true;
  bool useUltraHD = false;
};

// "1080" means full HD, else "4K" ultra HD, else neither (the 720p formats).
ResolutionFlags resolutionFlagsFor(const QString& label);
// The label of the flags, as the settings picker names it.
QString resolutionLabelFor(bool useFullHD, bool useUltraHD);

// The format a camera runs in for the chosen resolution, and the caps that ask for it.
struct FormatChoice {
  std::optional<DeviceFormat> format;
  std::optional<FrameRateRange> range;
  // Empty: the device's default format.
  std::string caps;
  // The rate it runs at; 0 when the device decides.
  double frameRate = 0;
  // The size the resolution setting asked for.
  int wantedWidth = 0;
  int wantedHeight = 0;
};

// The size a resolution asks for: 3840 x 2160 for Ultra HD, 1920 x 1080 for Full HD, else
// 1280 x 720.
std::pair<int, int> wantedSize(bool useFullHD, bool useUltraHD);

// The format of any camera for a wanted size: the largest size not above it (the smallest the
// camera has when all are above) at the highest rate not above 30; at 720 lines and more MJPEG
// before raw formats, below that raw before MJPEG. No formats: the device's default.
FormatChoice chooseFormatFor(const std::vector<DeviceFormat>& formats, int wantedWidth,
                             int wantedHeight);

// "1920 x 1080, MJPEG, 30 fps", with a note when the camera cannot give the wanted size.
std::string describeMode(const FormatChoice& choice);

// Full HD when asked and chosen, else Ultra HD when asked and chosen, else the HD pair. Cameras
// that are not glass-board ones are held to 30 frames a second where their range allows it.
// Cameras without the maker's chosen formats take chooseFormatFor().
FormatChoice chooseFormat(const TarvoCamera& camera, bool useFullHD, bool useUltraHD);

// The caps of `format` at the rates of `range`, held to `maxRate` frames a second when given;
// a range whose slowest rate is already faster than that runs at its slowest.
std::string capsAtRates(const DeviceFormat& format, const std::optional<FrameRateRange>& range,
                        std::optional<double> maxRate);

}  // namespace dravin
