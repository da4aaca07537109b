#pragma once

// The report layouts of the maker's HID devices. Standard library only: the fuzz build, which has
// no Qt, compiles this file on its own.

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dravin::hid {

inline constexpr std::size_t kOutputReportSize = 24;
inline constexpr std::size_t kInputReportSize = 24;
inline constexpr std::size_t kButtonReportSize = 1;

inline constexpr std::uint8_t kRequestCameraSettings = 0x90;
inline constexpr std::uint8_t kWriteCameraSettings = 0x91;
inline constexpr std::uint8_t kRequestDongleSettings = 0x92;
inline constexpr std::uint8_t kWriteDongleSettings = 0x93;

inline constexpr std::size_t kSettingsChunkCharacters = 14;
// The chunk index is one byte.
inline constexpr std::size_t kMaxSettingsChunks = 256;
inline constexpr std::size_t kMaxSettingsCharacters = kMaxSettingsChunks * kSettingsChunkCharacters;
// A received text grows by at most 14 characters of up to two UTF-8 bytes per chunk; a device
// that never sends a first chunk again must not grow it without end.
inline constexpr std::size_t kMaxReceivedSettingsBytes = 2 * kMaxSettingsCharacters;

using Report = std::array<std::uint8_t, kOutputReportSize>;

// Control report: the value truncated toward zero, its low 16 bits little-endian.
Report controlReport(std::uint8_t code, double value);
Report settingsRequestReport(std::uint8_t code);

enum class SettingsRefusal { empty, tooLong, notAscii };
std::string describe(SettingsRefusal refusal);

// Either the write reports of a settings text, in order, or why it cannot be sent.
struct SettingsWrite {
  std::vector<Report> reports;
  std::optional<SettingsRefusal> refusal;
  bool ok() const { return !refusal.has_value(); }
};

// `text` is UTF-8; a CR LF pair travels as one line feed.
SettingsWrite settingsWriteReports(std::uint8_t code, std::string_view text);

enum class SettingsKind { camera, dongle };

struct SettingsChunk {
  SettingsKind kind = SettingsKind::camera;
  std::uint8_t index = 0;
  std::uint8_t count = 0;  // characters actually carried
  bool last = false;
  std::string characters;  // UTF-8, each byte read as the code point of the same value
  bool operator==(const SettingsChunk&) const = default;
};

struct InputReport {
  std::optional<int> button;
  std::optional<SettingsChunk> settings;
  bool operator==(const InputReport&) const = default;
};

InputReport decodeInputReport(std::span<const std::uint8_t> report);

// The two texts being received, chunk by chunk.
class SettingsAccumulator {
 public:
  // Returns the whole text when `chunk` was the last of it.
  std::optional<std::string> apply(const SettingsChunk& chunk);
  const std::string& text(SettingsKind kind) const {
    return kind == SettingsKind::camera ? camera_ : dongle_;
  }

 private:
  std::string camera_;
  std::string dongle_;
};

// Every byte as "%02X ".
std::string hexLine(std::span<const std::uint8_t> bytes);

enum class CameraSettingsKey {
  KEY_CAMERA_SN,
  KEY_TYPE,
  TYPE_P2P,
  TYPE_JOIN,
  KEY_WIFI_SSID,
  KEY_WIFI_PASSWORD,
  KEY_WIFI_KEY_MGMT,
};
enum class DongleSettingsKey {
  KEY_DONGLE_SN,
  KEY_CAMERA_HOST,
  KEY_WIFI_SSID,
  KEY_WIFI_PASSWORD,
  KEY_WIFI_KEY_MGMT,
};
std::string_view rawValue(CameraSettingsKey key);
std::string_view rawValue(DongleSettingsKey key);

using CameraSettings = std::map<CameraSettingsKey, std::string>;
using DongleSettings = std::map<DongleSettingsKey, std::string>;

// Camera keys are matched lower-cased, dongle keys exactly; a value ends at the next "=".
CameraSettings parseCameraSettings(std::string_view text);
DongleSettings parseDongleSettings(std::string_view text);

}  // namespace dravin::hid
