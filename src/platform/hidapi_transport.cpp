#include "hidapi_transport.h"

#include <hidapi/hidapi.h>

#include <chrono>
#include <mutex>
#include <vector>

namespace dravin {

namespace {
constexpr int kReadSliceMs = 10;

// hidapi keeps one process-wide error text that hid_init, hid_enumerate and hid_open_path free
// and replace on every call, even when nothing fails; links on threads of their own that look for
// their devices at once would free it twice. Those calls take turns across every link.
std::mutex& globalStateMutex() {
  static std::mutex mutex;
  return mutex;
}
}  // namespace

HidapiTransport::HidapiTransport() = default;

HidapiTransport::~HidapiTransport() {
  close();
}

bool HidapiTransport::open(std::uint16_t vendorId, std::uint16_t productId) {
  close();
  hid_device* opened = nullptr;
  {
    std::lock_guard global(globalStateMutex());
    if (hid_init() != 0) return false;
    hid_device_info* found = hid_enumerate(vendorId, productId);
    if (!found) return false;
    opened = hid_open_path(found->path);
    hid_free_enumeration(found);
  }
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
