#include "format_choice.h"

#include <gst/gst.h>

#include <algorithm>

namespace dravin {

namespace {

constexpr double kCappedRate = 30.0;

std::string fraction(double rate) {
  gint numerator = 0;
  gint denominator = 1;
  gst_util_double_to_fraction(rate, &numerator, &denominator);
  return std::to_string(numerator) + "/" + std::to_string(denominator);
}

}  // namespace

FormatChoice chooseFormat(const TarvoCamera& camera, bool useFullHD, bool useUltraHD) {
  FormatChoice choice;
  if (useFullHD && camera.fullHDFmt) {
    choice.format = camera.fullHDFmt;
    choice.range = camera.fullHDFps;
  } else if (useUltraHD && camera.ultraHDFmt) {
    choice.format = camera.ultraHDFmt;
    choice.range = camera.ultraHDFps;
  } else {
    choice.format = camera.hdFmt;
    choice.range = camera.hdFps;
  }
  if (!choice.format) return choice;

  choice.caps = capsAtRates(*choice.format, choice.range,
                            camera.isPelora ? std::nullopt : std::optional(kCappedRate));
  return choice;
}

std::string capsAtRates(const DeviceFormat& format, const std::optional<FrameRateRange>& range,
                        std::optional<double> maxRate) {
  std::string caps = format.caps;
  if (!range) return caps;
  const double slowest = range->minFrameRate;
  double fastest = range->maxFrameRate;
  if (maxRate) fastest = slowest < *maxRate ? std::min(*maxRate, fastest) : slowest;
  if (slowest <= 0 || slowest >= fastest) {
    caps += ",framerate=" + fraction(fastest);
  } else {
    caps += ",framerate=(fraction)[" + fraction(slowest) + "," + fraction(fastest) + "]";
  }
  return caps;
}

}  // namespace dravin
