#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace dravin {

struct HidReadResult {
  // The device went away; the link must be closed and opened again.
  bool deviceGone = false;
  // Bytes of the report read; 0 when none arrived in time.
  std::size_t length = 0;
};

// One open link to a HID device, used by one device thread. `write` may come from another
// thread while a read waits; the owner keeps `close` apart from both.
class HidTransport {
 public:
  virtual ~HidTransport() = default;
  // Opens the first attached device with these ids; false when there is none.
  virtual bool open(std::uint16_t vendorId, std::uint16_t productId) = 0;
  virtual HidReadResult read(std::span<std::uint8_t> buffer, int timeoutMs) = 0;
  // Sends one output report without a report id; false when the device refused it.
  virtual bool write(std::span<const std::uint8_t> report) = 0;
  virtual void close() = 0;
};

using HidTransportFactory = std::function<std::unique_ptr<HidTransport>()>;

}  // namespace dravin
