#pragma once

// The settings texts that pair the wireless camera with its dongle. Standard library only.

#include <cstdint>
#include <string>
#include <string_view>

namespace dravin::veltro {

inline constexpr std::int64_t kDongleProductId = 0x16;
inline constexpr std::int64_t kCameraProductId = 0x19;
inline constexpr std::int64_t kLinkReportSize = 24;
// The camera's own access point always uses this password.
inline constexpr std::string_view kDirectPassword = "mirabelk";

// "Direct": the camera is an access point named by its serial number.
std::string directCameraText(std::string_view cameraSN);
// `dongleSN` as read from the dongle, quotes included; the camera's serial goes in quotes.
std::string directDongleText(std::string_view dongleSN, std::string_view cameraSN);
// "Through WiFi": the camera joins the named network, open when there is no password.
std::string joinCameraText(std::string_view cameraSN, std::string_view ssid,
                           std::string_view password);

}  // namespace dravin::veltro
