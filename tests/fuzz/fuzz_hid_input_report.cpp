// Decodes arbitrary device bytes as input reports and accumulates their settings chunks, then
// parses what was received. Each input is split into reports by its first byte.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "hid_reports.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace dravin::hid;
  SettingsAccumulator accumulator;
  std::span<const std::uint8_t> rest(data, size);
  while (!rest.empty()) {
    // An even first byte announces a 24-byte report, an odd one a report of half its value.
    const std::size_t wanted = rest[0] % 2 == 0 ? kInputReportSize : rest[0] >> 1;
    const std::size_t length = std::min(wanted, rest.size() - 1);
    const auto report = rest.subspan(1, length);
    rest = rest.subspan(1 + length);
    const InputReport decoded = decodeInputReport(report);
    if (decoded.button && (*decoded.button < 3 || *decoded.button > 6)) __builtin_trap();
    if (decoded.settings) {
      if (decoded.settings->count > 14) __builtin_trap();
      accumulator.apply(*decoded.settings);
    }
    (void)hexLine(report);
  }
  for (auto kind : {SettingsKind::camera, SettingsKind::dongle}) {
    if (accumulator.text(kind).size() > kMaxReceivedSettingsBytes) __builtin_trap();
  }
  (void)parseCameraSettings(accumulator.text(SettingsKind::camera));
  (void)parseDongleSettings(accumulator.text(SettingsKind::dongle));
  return 0;
}
