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

  choice.caps = choice.format->caps;
  if (!choice.range) return choice;
  double slowest = choice.range->minFrameRate;
  double fastest = choice.range->maxFrameRate;
  if (!camera.isPelora) {
    // The shortest frame time is 1/30 s unless the range's longest is already shorter.
    fastest = slowest < kCappedRate ? std::min(kCappedRate, fastest) : slowest;
  }
  if (slowest <= 0 || slowest >= fastest) {
    choice.caps += ",framerate=" + fraction(fastest);
  } else {
    choice.caps += ",framerate=(fraction)[" + fraction(slowest) + "," + fraction(fastest) + "]";
  }
  return choice;
}

}  // namespace dravin
