#include "tarvo_camera.h"

#include <algorithm>

#include "app_log.h"

namespace dravin {
namespace {

bool lowerNameContains(const std::optional<std::string>& name, const char* word) {
  return name && QString::fromStdString(*name).toLower().contains(QLatin1String(word));
}

std::optional<std::int64_t> parseHex(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return std::nullopt;
    value = value * 16 + digit;
  }
  return value;
}

struct UsbIds {
  std::int64_t vendor;
  std::int64_t product;
};

// A USB device's identifier ends in vendor-then-product as 8 hexadecimal digits. A shorter
// identifier is refused rather than read with the two ids overlapping.
std::optional<UsbIds> parseUsbIds(const std::string& uniqueID) {
  if (uniqueID.size() < 8) return std::nullopt;
  std::string_view tail = std::string_view(uniqueID).substr(uniqueID.size() - 8);
  auto vendor = parseHex(tail.substr(0, 4));
  auto product = parseHex(tail.substr(4));
  if (!vendor || !product) return std::nullopt;
  return UsbIds{*vendor, *product};
}

template <std::size_t N>
bool contains(const std::array<std::int64_t, N>& table, std::int64_t value) {
  return std::find(table.begin(), table.end(), value) != table.end();
}

}  // namespace

TarvoCamera::TarvoCamera(const CaptureDevice& device)
    : id(QUuid::createUuid()), uniqueID(device.uniqueID), name(device.name), camera(device) {
  isNolbek = lowerNameContains(name, "nolbek") || lowerNameContains(name, "brevik");

  auto ids = parseUsbIds(uniqueID);
  if (!ids) {
    logLine("Old Macbook Air: camera.uniqueID = " + QString::fromStdString(uniqueID));
    return;
  }
  vendorID = ids->vendor;
  productID = ids->product;
  if (vendorID != tarvo::kMakerVendorID) return;

  if (contains(tarvo::kASRProductIDs, productID)) {
    isASRSupported = true;
    reportSize = tarvo::kDefaultReportSize;
  }
  if (contains(tarvo::kHIDControlProductIDs, productID)) {
    isHIDControlSupported = true;
    reportSize = tarvo::kDefaultReportSize;
  }
  if (contains(tarvo::kHIDButtonProductIDs, productID)) {
    isHIDButtonSupported = true;
    reportSize = tarvo::kButtonReportSize;
  }
  isPelora = lowerNameContains(name, "pelora");
}

TarvoMic::TarvoMic(const CaptureDevice& device)
    : id(QUuid::createUuid()), name(device.name), mic(device) {
  isNolbek = lowerNameContains(name, "nolbek");
}

}  // namespace dravin
