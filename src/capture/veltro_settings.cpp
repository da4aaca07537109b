#include "veltro_settings.h"

namespace dravin::veltro {

namespace {
std::string line(std::string_view key, std::string_view value) {
  std::string text(key);
  text += '=';
  text += value;
  text += '\n';
  return text;
}
std::string quoted(std::string_view value) {
  return '"' + std::string(value) + '"';
}
}  // namespace

std::string directCameraText(std::string_view cameraSN) {
  return line("camera_sn", cameraSN) + line("type", "P2P") + line("wifi_ssid", cameraSN) +
         line("wifi_key_mgmt", "WPA") + line("wifi_password", kDirectPassword);
}

std::string directDongleText(std::string_view dongleSN, std::string_view cameraSN) {
  return line("DONGLE_SN", dongleSN) + line("CAMERA_HOST", quoted(cameraSN)) +
         line("WIFI_SSID", quoted(cameraSN)) + line("WIFI_KEY_MGMT", quoted("WPA")) +
         line("WIFI_PASSWORD", quoted(kDirectPassword));
}

std::string joinCameraText(std::string_view cameraSN, std::string_view ssid,
                           std::string_view password) {
  std::string text = line("camera_sn", cameraSN) + line("type", "JOIN") + line("wifi_ssid", ssid);
  if (password.empty()) return text + line("wifi_key_mgmt", "NONE");
  return text + line("wifi_password", password) + line("wifi_key_mgmt", "WPA");
}

}  // namespace dravin::veltro
