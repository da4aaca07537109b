#include "format_choice.h"

#include <gst/gst.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <tuple>

namespace dravin {

namespace {

constexpr double kCappedRate = 30.0;
// From this height on, a raw format's bandwidth no longer fits USB 2 at 30 fps.
constexpr int kCompressedFromHeight = 720;

// The highest rate not above 30 that one of the ranges gives; 0 when none does.
double bestRate(const std::vector<FrameRateRange>& ranges) {
  double best = 0;
  for (const auto& range : ranges) {
    if (range.minFrameRate > kCappedRate + 1e-6) continue;
    best = std::max(best, std::min(range.maxFrameRate, kCappedRate));
  }
  return best;
}

bool isRaw(const DeviceFormat& format) {
  return format.caps.rfind("video/x-raw", 0) == 0;
}

// Lower is better among formats of one size.
int kindRank(const DeviceFormat& format) {
  const bool mjpeg = format.mediaSubtype == "jpeg";
  if (format.height >= kCompressedFromHeight) return mjpeg ? 0 : isRaw(format) ? 1 : 2;
  return isRaw(format) ? 0 : mjpeg ? 1 : 2;
}

std::string kindName(const DeviceFormat& format) {
  if (format.mediaSubtype == "jpeg") return "MJPEG";
  if (format.mediaSubtype == "avc1") return "H.264";
  if (format.mediaSubtype == "yuvs") return "YUYV";
  if (format.mediaSubtype == "420v") return "NV12";
  if (format.mediaSubtype == "420p") return "I420";
  return format.mediaSubtype;
}

std::string rateText(double rate) {
  char text[16];
  std::snprintf(text, sizeof text, "%g", std::round(rate * 100) / 100);
  return text;
}

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
  const auto [width, height] = wantedSize(useFullHD, useUltraHD);
  if (!choice.format) return chooseFormatFor(camera.camera.formats, width, height);
  choice.wantedWidth = width;
  choice.wantedHeight = height;

  choice.caps = capsAtRates(*choice.format, choice.range,
                            camera.isPelora ? std::nullopt : std::optional(kCappedRate));
  if (choice.range) {
    const double fastest = choice.range->maxFrameRate;
    const double slowest = choice.range->minFrameRate;
    choice.frameRate = camera.isPelora || fastest <= kCappedRate ? fastest
                       : slowest < kCappedRate                   ? kCappedRate
                                                                 : slowest;
  }
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

ResolutionFlags resolutionFlagsFor(const QString& label) {
  if (label.contains("1080")) return {true, false};
  if (label.contains("4K")) return {false, true};
  return {false, false};
}

QString resolutionLabelFor(bool useFullHD, bool useUltraHD) {
  if (useFullHD) return QStringLiteral("1080P@30fps");
  if (useUltraHD) return QStringLiteral("4K@30fps");
  return QStringLiteral("720P@30fps");
}

std::pair<int, int> wantedSize(bool useFullHD, bool useUltraHD) {
  if (useFullHD) return {1920, 1080};
  if (useUltraHD) return {3840, 2160};
  return {1280, 720};
}

FormatChoice chooseFormatFor(const std::vector<DeviceFormat>& formats, int wantedWidth,
                             int wantedHeight) {
  FormatChoice choice;
  choice.wantedWidth = wantedWidth;
  choice.wantedHeight = wantedHeight;
  // A format that lists no rates still runs at whatever the device gives.
  auto usable = [](const DeviceFormat& f) {
    return f.frameRateRanges.empty() || bestRate(f.frameRateRanges) > 0;
  };
  auto fits = [&](const DeviceFormat& f) {
    return f.width <= wantedWidth && f.height <= wantedHeight;
  };
  const bool anyFits = std::any_of(formats.begin(), formats.end(),
                                   [&](const DeviceFormat& f) { return usable(f) && fits(f); });
  // Ordered by what is wanted most: size (largest that fits, else smallest), kind, rate.
  auto score = [&](const DeviceFormat& f) {
    const long long area = static_cast<long long>(f.width) * f.height;
    return std::make_tuple(anyFits ? area : -area, -kindRank(f), bestRate(f.frameRateRanges));
  };
  const DeviceFormat* best = nullptr;
  for (const auto& format : formats) {
    if (!usable(format) || (anyFits && !fits(format))) continue;
    if (!best || score(format) > score(*best)) best = &format;
  }
  if (!best) return choice;
  choice.format = *best;
  choice.caps = best->caps;
  if (const double rate = bestRate(best->frameRateRanges); rate > 0) {
    choice.range = FrameRateRange{rate, rate};
    choice.frameRate = rate;
    choice.caps += ",framerate=" + fraction(rate);
  }
  return choice;
}

std::string describeMode(const FormatChoice& choice) {
  if (!choice.format) return "the camera's own format";
  const auto& format = *choice.format;
  std::string text = std::to_string(format.width) + " x " + std::to_string(format.height) + ", " +
                     kindName(format);
  if (choice.frameRate > 0) text += ", " + rateText(choice.frameRate) + " fps";
  if (choice.wantedWidth > 0 &&
      (format.width < choice.wantedWidth || format.height < choice.wantedHeight)) {
    text += " (the camera cannot give " + std::to_string(choice.wantedWidth) + " x " +
            std::to_string(choice.wantedHeight) + ")";
  }
  return text;
}

}  // namespace dravin
