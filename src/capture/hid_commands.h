#pragma once

#include <cstdint>

// The picture-control commands of the maker's cameras: byte 0 of a control report.
namespace dravin::hid {
inline constexpr std::uint8_t kResetAll = 0x13;
inline constexpr std::uint8_t kFocusAuto = 0x31;
inline constexpr std::uint8_t kFocusLock = 0x32;
inline constexpr std::uint8_t kFocusPosition = 0x33;
inline constexpr std::uint8_t kExposure = 0x43;
inline constexpr std::uint8_t kWhiteBalance = 0x53;
inline constexpr std::uint8_t kBrightness = 0x60;
inline constexpr std::uint8_t kContrast = 0x61;
inline constexpr std::uint8_t kSaturation = 0x62;
inline constexpr std::uint8_t kSharpness = 0x63;
}  // namespace dravin::hid
