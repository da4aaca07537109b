#include "hidapi_transport.h"

#include <hidapi/hidapi.h>

#include <chrono>
#include <vector>

namespace dravin {

namespace {
constexpr int kReadSliceMs = 10;

// hid_init is not thread-safe, and every link runs on a thread of its own.
bool initialiseOnce() {
  static std::once_flag once;
  static bool ok = false;
  std::call_once(once, [] { ok = hid_init() == 0; });
  return ok;
}
}  // namespace

HidapiTransport::HidapiTransport() = default;

HidapiTransport::~HidapiTransport() {
  close();
}

bool HidapiTransport::open(std::uint16_t vendorId, std::uint16_t productId) {
  close();
  if (!initialiseOnce()) return false;
  hid_device_info* found = hid_enumerate(vendorId, productId);
  if (!found) return false;
  hid_device* opened = hid_open_path(found->path);
  hid_free_enumeration(found);
  std::lock_guard lock(mutex_);
  device_ = opened;
  return device_ != nullptr;
}

HidReadResult HidapiTransport::read(std::span<std::uint8_t> buffer, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      writeDone_.wait(lock, [this] { return writersWaiting_ == 0; });
      if (!device_) return {.deviceGone = true};
      const int n = hid_read_timeout(device_, buffer.data(), buffer.size(), kReadSliceMs);
      if (n < 0) return {.deviceGone = true};
      if (n > 0) return {.length = static_cast<std::size_t>(n)};
    }
    if (std::chrono::steady_clock::now() >= deadline) return {};
  }
}

bool HidapiTransport::write(std::span<const std::uint8_t> report) {
  // hidapi takes the report id as the first byte; 0 for devices without numbered reports.
  std::vector<unsigned char> bytes;
  bytes.reserve(report.size() + 1);
  bytes.push_back(0);
  bytes.insert(bytes.end(), report.begin(), report.end());
  ++writersWaiting_;
  bool written = false;
  {
    std::lock_guard lock(mutex_);
    --writersWaiting_;
    written = device_ && hid_write(device_, bytes.data(), bytes.size()) >= 0;
  }
  writeDone_.notify_all();
  return written;
}

void HidapiTransport::close() {
  std::lock_guard lock(mutex_);
  if (device_) hid_close(device_);
  device_ = nullptr;
}

HidTransportFactory HidapiTransport::factory() {
  return [] { return std::make_unique<HidapiTransport>(); };
}

}  // namespace dravin
