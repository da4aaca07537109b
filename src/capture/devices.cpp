#include "devices.h"

#include <QString>

#include "app_log.h"
#include "x11_screens.h"

namespace dravin::Devices {

namespace {

constexpr std::size_t kEdidBaseSize = 128;
constexpr std::uint8_t kEdidHeader[] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr std::size_t kDescriptorOffsets[] = {54, 72, 90, 108};
constexpr std::size_t kDescriptorSize = 18;
constexpr std::uint8_t kMonitorNameTag = 0xFC;

Screen toScreen(const x11::Monitor& monitor) {
  return {monitor.id, edidMonitorName(monitor.edid)};
}

}  // namespace

void to_json(nlohmann::json& json, const Screen& screen) {
  json = {{"id", screen.id}, {"name", screen.name}};
}
void from_json(const nlohmann::json& json, Screen& screen) {
  json.at("id").get_to(screen.id);
  json.at("name").get_to(screen.name);
}
void to_json(nlohmann::json& json, const Audio& audio) {
  json = {{"id", audio.id}, {"name", audio.name}};
}
void from_json(const nlohmann::json& json, Audio& audio) {
  json.at("id").get_to(audio.id);
  json.at("name").get_to(audio.name);
}
void to_json(nlohmann::json& json, const IOS& device) {
  json = {{"id", device.id}, {"name", device.name}};
}
void from_json(const nlohmann::json& json, IOS& device) {
  json.at("id").get_to(device.id);
  json.at("name").get_to(device.name);
}

std::string edidMonitorName(std::span<const std::uint8_t> edid) {
  if (edid.size() < kEdidBaseSize ||
      !std::equal(std::begin(kEdidHeader), std::end(kEdidHeader), edid.begin())) {
    return kUnknownScreen;
  }
  for (std::size_t offset : kDescriptorOffsets) {
    auto d = edid.subspan(offset, kDescriptorSize);
    // A zero pixel clock marks a display descriptor rather than a timing.
    if (d[0] != 0 || d[1] != 0 || d[2] != 0 || d[3] != kMonitorNameTag) continue;
    std::string name;
    for (std::uint8_t c : d.subspan(5)) {
      if (c == 0x0A) break;  // the name ends with a line feed and is padded with spaces
      if (c < 0x20 || c > 0x7E) return kUnnamedScreen;
      name += static_cast<char>(c);
    }
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name.empty() ? kUnnamedScreen : name;
  }
  return kUnknownScreen;
}

std::vector<Screen> screen(const std::string& displayName) {
  std::vector<Screen> screens;
  try {
    for (const x11::Monitor& monitor : x11::listMonitors(displayName))
      screens.push_back(toScreen(monitor));
  } catch (const x11::X11Error& error) {
    logLine(QString("Could not find services for IODisplayConnect: ") + error.what());
    return {};
  }
  return screens;
}

std::optional<Screen> mainScreen(const std::string& displayName) {
  try {
    if (auto monitor = x11::mainMonitor(displayName)) return toScreen(*monitor);
  } catch (const x11::X11Error& error) {
    logLine(QString("Could not find services for IODisplayConnect: ") + error.what());
  }
  return std::nullopt;
}

std::vector<Audio> audio(const std::vector<CaptureDevice>& microphones) {
  std::vector<Audio> inputs;
  for (const CaptureDevice& device : microphones) {
    if (device.kind != DeviceKind::audio) continue;
    inputs.push_back({device.uniqueID, device.name.value_or(device.uniqueID)});
  }
  return inputs;
}

}  // namespace dravin::Devices
