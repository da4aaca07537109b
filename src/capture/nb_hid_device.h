#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>

#include "hid_reports.h"
#include "hid_transport.h"
#include "tarvo_camera.h"

namespace dravin {

// One HID link to a maker's camera or dongle: a device thread that finds the device by vendor and
// product id, notices it leave and come back, and decodes its input reports; output reports go
// out from any thread.
class NBHIDDevice : public QObject {
  Q_OBJECT

 public:
  static constexpr std::int64_t kDefaultVendorId = 0x5D17;
  static constexpr std::int64_t kDefaultProductId = 0x29;
  static constexpr std::int64_t kDefaultReportSize = 64;
  // Together these keep attach and removal within a second.
  static constexpr int kOpenRetryMs = 500;
  static constexpr int kReadTimeoutMs = 200;

  explicit NBHIDDevice(HidTransportFactory factory, QObject* parent = nullptr);
  ~NBHIDDevice() override;

  // The link of the current main camera, created on first use, over hidapi.
  static NBHIDDevice& shared();

  // Ids and report size take effect at the next start().
  void setTarvoCamera(const TarvoCamera& camera);
  std::optional<TarvoCamera> tarvoCamera() const;
  void setVendorId(std::int64_t id) { vendorId_ = id; }
  void setProductId(std::int64_t id) { productId_ = id; }
  void setReportSize(std::int64_t size) { reportSize_ = size; }
  std::int64_t vendorId() const { return vendorId_; }
  std::int64_t productId() const { return productId_; }
  std::int64_t reportSize() const { return reportSize_; }

  bool isConnected() const { return connected_; }
  std::string veltroCameraSettings() const;
  std::string veltroDongleSettings() const;

  // Starts the device thread; a link already running is closed first.
  void start();
  // Ends the device thread and closes the device.
  void stop();

  // Each returns whether the device took every report; nothing is sent while disconnected.
  bool sendReport(std::span<const std::uint8_t> report);
  Q_INVOKABLE bool sendCommand(int code, double value);
  // A text the reports cannot carry is refused whole, with a log line.
  bool sendSettingsText(std::uint8_t code, std::string_view text);

 private:
  void run(std::stop_token stop, std::uint16_t vendorId, std::uint16_t productId,
           std::size_t reportSize);
  void handleInputReport(std::span<const std::uint8_t> report);
  void postConnection(bool connected);
  bool waitOrStop(std::stop_token& stop, int milliseconds);

  HidTransportFactory factory_;
  std::atomic<std::int64_t> vendorId_ = kDefaultVendorId;
  std::atomic<std::int64_t> productId_ = kDefaultProductId;
  std::atomic<std::int64_t> reportSize_ = kDefaultReportSize;

  mutable std::mutex stateMutex_;  // camera and received texts
  std::optional<TarvoCamera> tarvoCamera_;
  hid::SettingsAccumulator received_;

  // Sends, and opening and closing on the device thread, take turns on the link.
  std::mutex ioMutex_;
  HidTransport* openTransport_ = nullptr;
  std::atomic<bool> connected_ = false;

  std::mutex lifecycleMutex_;
  std::mutex waitMutex_;
  std::condition_variable_any wake_;
  std::jthread thread_;
};

}  // namespace dravin
