#include "hid_reports.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace dravin::hid {

namespace {

constexpr std::uint8_t kInputReportMarker = 0x80;
constexpr std::uint8_t kCameraSettingsTag = 'P';
constexpr std::uint8_t kDongleSettingsTag = 'Q';
constexpr std::uint8_t kLastChunkBit = 0x80;
constexpr std::size_t kChunkCharactersOffset = 10;
constexpr std::size_t kWriteCharactersOffset = 7;
constexpr std::string_view kWriteMagic = "NBAM";

void appendCodePoint(std::string& out, std::uint8_t byte) {
  if (byte < 0x80) {
    out.push_back(static_cast<char>(byte));
  } else {
    out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
    out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
  }
}

std::vector<std::string_view> nonEmptyPieces(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(separator, start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) pieces.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

template <class Key, std::size_t N>
std::map<Key, std::string> parseSettings(std::string_view text, const std::array<Key, N>& keys,
                                         bool lowerCaseKeys) {
  std::map<Key, std::string> settings;
  for (std::string_view line : nonEmptyPieces(text, '\n')) {
    const auto pieces = nonEmptyPieces(line, '=');
    if (pieces.size() < 2) continue;
    std::string key(pieces[0]);
    if (lowerCaseKeys) {
      std::transform(key.begin(), key.end(), key.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
      });
    }
    for (Key candidate : keys) {
      if (rawValue(candidate) == key) {
        settings[candidate] = std::string(pieces[1]);
        break;
      }
    }
  }
  return settings;
}

}  // namespace

Report controlReport(std::uint8_t code, double value) {
  // fmod is exact, so this keeps the low 16 bits of any finite value without an out-of-range cast.
  const double low = std::isfinite(value) ? std::fmod(std::trunc(value), 65536.0) : 0.0;
  const auto bits = static_cast<std::uint16_t>(static_cast<std::int32_t>(low) & 0xFFFF);
  Report report{};
  report[0] = code;
  report[1] = static_cast<std::uint8_t>(bits & 0xFF);
  report[2] = static_cast<std::uint8_t>(bits >> 8);
  return report;
}

Report settingsRequestReport(std::uint8_t code) {
  Report report{};
  report[0] = code;
  return report;
}

std::string describe(SettingsRefusal refusal) {
  switch (refusal) {
    case SettingsRefusal::empty: return "the text is empty";
    case SettingsRefusal::tooLong:
      return "the text is longer than " + std::to_string(kMaxSettingsCharacters) + " characters";
    case SettingsRefusal::notAscii: return "the text has characters outside 7-bit ASCII";
  }
  return {};
}

SettingsWrite settingsWriteReports(std::uint8_t code, std::string_view text) {
  std::string characters;
  characters.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    characters.push_back(text[i]);
  }
  SettingsWrite write;
  if (std::any_of(characters.begin(), characters.end(),
                  [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
    write.refusal = SettingsRefusal::notAscii;
  } else if (characters.empty()) {
    write.refusal = SettingsRefusal::empty;
  } else if (characters.size() > kMaxSettingsCharacters) {
    write.refusal = SettingsRefusal::tooLong;
  }
  if (write.refusal) return write;

  const std::size_t chunks =
      (characters.size() + kSettingsChunkCharacters - 1) / kSettingsChunkCharacters;
  for (std::size_t index = 0; index < chunks; ++index) {
    const std::size_t begin = index * kSettingsChunkCharacters;
    const std::size_t count = std::min(kSettingsChunkCharacters, characters.size() - begin);
    Report report{};
    report[0] = code;
    std::copy(kWriteMagic.begin(), kWriteMagic.end(), report.begin() + 1);
    report[5] = static_cast<std::uint8_t>(index);
    report[6] = static_cast<std::uint8_t>(index + 1 == chunks ? kLastChunkBit | count : count);
    std::copy_n(characters.begin() + static_cast<std::ptrdiff_t>(begin), count,
                report.begin() + kWriteCharactersOffset);
    write.reports.push_back(report);
  }
  return write;
}

InputReport decodeInputReport(std::span<const std::uint8_t> report) {
  InputReport decoded;
  if (report.size() == kButtonReportSize) {
    if (report[0] >= 3 && report[0] <= 6) decoded.button = report[0];
    return decoded;
  }
  if (report.size() != kInputReportSize || report[0] != kInputReportMarker) return decoded;

  switch (report[1]) {
    case 0x01: decoded.button = 5; break;
    case 0x02: decoded.button = 3; break;
    case 0x04: decoded.button = 4; break;
    case 0x08: decoded.button = 6; break;
    default: break;
  }
  if (report[7] != kCameraSettingsTag && report[7] != kDongleSettingsTag) return decoded;

  SettingsChunk chunk;
  chunk.kind = report[7] == kCameraSettingsTag ? SettingsKind::camera : SettingsKind::dongle;
  chunk.index = report[8];
  chunk.last = (report[9] & kLastChunkBit) != 0;
  // The count field can say 15, one more than the report holds after byte 10.
  const std::size_t count =
      std::min<std::size_t>(report[9] & 0x0F, report.size() - kChunkCharactersOffset);
  chunk.count = static_cast<std::uint8_t>(count);
  for (std::size_t i = 0; i < count; ++i) appendCodePoint(chunk.characters, report[10 + i]);
  decoded.settings = std::move(chunk);
  return decoded;
}

std::optional<std::string> SettingsAccumulator::apply(const SettingsChunk& chunk) {
  std::string& text = chunk.kind == SettingsKind::camera ? camera_ : dongle_;
  if (chunk.index == 0) text.clear();
  if (text.size() + chunk.characters.size() <= kMaxReceivedSettingsBytes) {
    text += chunk.characters;
  }
  if (chunk.last) return text;
  return std::nullopt;
}

std::string hexLine(std::span<const std::uint8_t> bytes) {
  std::string line;
  line.reserve(bytes.size() * 3);
  char piece[4];
  for (std::uint8_t byte : bytes) {
    std::snprintf(piece, sizeof piece, "%02X ", byte);
    line += piece;
  }
  return line;
}

std::string_view rawValue(CameraSettingsKey key) {
  switch (key) {
    case CameraSettingsKey::KEY_CAMERA_SN: return "camera_sn";
    case CameraSettingsKey::KEY_TYPE: return "type";
    case CameraSettingsKey::TYPE_P2P: return "P2P";
    case CameraSettingsKey::TYPE_JOIN: return "JOIN";
    case CameraSettingsKey::KEY_WIFI_SSID: return "wifi_ssid";
    case CameraSettingsKey::KEY_WIFI_PASSWORD: return "wifi_password";
    case CameraSettingsKey::KEY_WIFI_KEY_MGMT: return "wifi_key_mgmt";
  }
  return {};
}

std::string_view rawValue(DongleSettingsKey key) {
  switch (key) {
    case DongleSettingsKey::KEY_DONGLE_SN: return "DONGLE_SN";
    case DongleSettingsKey::KEY_CAMERA_HOST: return "CAMERA_HOST";
    case DongleSettingsKey::KEY_WIFI_SSID: return "WIFI_SSID";
    case DongleSettingsKey::KEY_WIFI_PASSWORD: return "WIFI_PASSWORD";
    case DongleSettingsKey::KEY_WIFI_KEY_MGMT: return "WIFI_KEY_MGMT";
  }
  return {};
}

CameraSettings parseCameraSettings(std::string_view text) {
  // "P2P" and "JOIN" are values of the type line, never keys.
  static constexpr std::array keys{CameraSettingsKey::KEY_CAMERA_SN, CameraSettingsKey::KEY_TYPE,
                                   CameraSettingsKey::KEY_WIFI_SSID,
                                   CameraSettingsKey::KEY_WIFI_PASSWORD,
                                   CameraSettingsKey::KEY_WIFI_KEY_MGMT};
  return parseSettings(text, keys, true);
}

DongleSettings parseDongleSettings(std::string_view text) {
  static constexpr std::array keys{
      DongleSettingsKey::KEY_DONGLE_SN, DongleSettingsKey::KEY_CAMERA_HOST,
      DongleSettingsKey::KEY_WIFI_SSID, DongleSettingsKey::KEY_WIFI_PASSWORD,
      DongleSettingsKey::KEY_WIFI_KEY_MGMT};
  return parseSettings(text, keys, false);
}

}  // namespace dravin::hid
