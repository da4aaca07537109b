#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "hid_transport.h"

struct hid_device_;

namespace dravin {

// A HID link through hidapi's hidraw backend.
class HidapiTransport : public HidTransport {
 public:
  HidapiTransport();
  ~HidapiTransport() override;
  HidapiTransport(const HidapiTransport&) = delete;
  HidapiTransport& operator=(const HidapiTransport&) = delete;

  bool open(std::uint16_t vendorId, std::uint16_t productId) override;
  HidReadResult read(std::span<std::uint8_t> buffer, int timeoutMs) override;
  bool write(std::span<const std::uint8_t> report) override;
  void close() override;

  static HidTransportFactory factory();

 private:
  // hidapi keeps per-device error state that a read and a write would both rewrite, so calls on
  // the handle take turns; reads wait in short slices and step aside for a waiting write.
  std::mutex mutex_;
  std::condition_variable writeDone_;
  std::atomic<int> writersWaiting_ = 0;
  hid_device_* device_ = nullptr;
};

}  // namespace dravin
