#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "capture_device.h"

namespace dravin::Devices {

// A display that can be recorded; `id` is what the screen recorder takes as its screen id.
struct Screen {
  std::uint32_t id = 0;
  std::string name;
  bool operator==(const Screen&) const = default;
};

// An audio input: `id` is the device's unique ID, `name` its display name.
struct Audio {
  std::string id;
  std::string name;
  bool operator==(const Audio&) const = default;
};

struct IOS {
  std::string id;
  std::string name;
  bool operator==(const IOS&) const = default;
};

void to_json(nlohmann::json& json, const Screen& screen);
void from_json(const nlohmann::json& json, Screen& screen);
void to_json(nlohmann::json& json, const Audio& audio);
void from_json(const nlohmann::json& json, Audio& audio);
void to_json(nlohmann::json& json, const IOS& device);
void from_json(const nlohmann::json& json, IOS& device);

inline constexpr const char* kUnknownScreen = "Unknown screen";
inline constexpr const char* kUnnamedScreen = "Unnamed screen";

// The monitor name of an EDID base block (display descriptor 0xFC). No EDID or no such
// descriptor gives "Unknown screen"; a name that is empty or not printable text "Unnamed screen".
std::string edidMonitorName(std::span<const std::uint8_t> edid);

// One entry per monitor of the X display ($DISPLAY when empty). When RandR cannot be asked,
// logs why and returns none.
std::vector<Screen> screen(const std::string& displayName = {});

// The screen recordings use by default: the primary monitor, else the first.
std::optional<Screen> mainScreen(const std::string& displayName = {});

// The audio inputs among the given devices, in their order.
std::vector<Audio> audio(const std::vector<CaptureDevice>& microphones);

}  // namespace dravin::Devices
