#pragma once

#include <QHashFunctions>
#include <QMetaType>
#include <QUuid>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "capture_device.h"

namespace dravin {

namespace tarvo {
inline constexpr std::int64_t kMakerVendorID = 0x5D17;
// The ASR and HID-control tables hold the same products today but are kept apart so either can
// change on its own.
inline constexpr std::array<std::int64_t, 5> kASRProductIDs{0x22, 0x24, 0x26, 0x29, 0x16};
inline constexpr std::array<std::int64_t, 5> kHIDControlProductIDs{0x22, 0x24, 0x26, 0x29, 0x16};
inline constexpr std::array<std::int64_t, 3> kHIDButtonProductIDs{0x2B, 0x2C, 0x2D};
inline constexpr std::int64_t kDefaultReportSize = 24;
inline constexpr std::int64_t kButtonReportSize = 1;
}  // namespace tarvo

// One video capture device, classified: the maker's or not, its HID features, and the formats
// chosen for each resolution (filled by discovery for the maker's cameras only).
struct TarvoCamera {
  TarvoCamera() = default;
  explicit TarvoCamera(const CaptureDevice& device);

  QUuid id;
  std::string uniqueID;
  std::optional<std::string> name;
  CaptureDevice camera;
  std::optional<DeviceFormat> fullHDFmt;
  std::optional<FrameRateRange> fullHDFps;
  std::optional<DeviceFormat> hdFmt;
  std::optional<FrameRateRange> hdFps;
  std::optional<DeviceFormat> ultraHDFmt;
  std::optional<FrameRateRange> ultraHDFps;
  bool isNolbek = false;
  std::int64_t vendorID = 0;
  std::int64_t productID = 0;
  std::int64_t reportSize = tarvo::kDefaultReportSize;
  bool isASRSupported = false;
  bool isHIDControlSupported = false;
  bool isHIDButtonSupported = false;
  bool isPelora = false;

  bool operator==(const TarvoCamera&) const = default;
};

// One audio capture device.
struct TarvoMic {
  TarvoMic() = default;
  explicit TarvoMic(const CaptureDevice& device);

  QUuid id;
  std::optional<std::string> name;
  CaptureDevice mic;
  bool isNolbek = false;
  std::string test = "hello";

  bool operator==(const TarvoMic&) const = default;
};

// Consistent with equality: records that compare equal share id and device identifier.
inline size_t qHash(const TarvoCamera& camera, size_t seed = 0) noexcept {
  return qHashMulti(seed, camera.id, QByteArrayView(camera.uniqueID));
}
inline size_t qHash(const TarvoMic& mic, size_t seed = 0) noexcept {
  return qHashMulti(seed, mic.id, QByteArrayView(mic.mic.uniqueID));
}

}  // namespace dravin

template <>
struct std::hash<dravin::TarvoCamera> {
  size_t operator()(const dravin::TarvoCamera& camera) const noexcept {
    return dravin::qHash(camera);
  }
};
template <>
struct std::hash<dravin::TarvoMic> {
  size_t operator()(const dravin::TarvoMic& mic) const noexcept { return dravin::qHash(mic); }
};

Q_DECLARE_METATYPE(dravin::TarvoCamera)
Q_DECLARE_METATYPE(dravin::TarvoMic)
