#include "nb_hid_device.h"

#include <QCoreApplication>
#include <QString>
#include <QVariantMap>
#include <algorithm>
#include <chrono>
#include <vector>

#include "app_log.h"
#include "hidapi_transport.h"
#include "notification_center.h"
#include "notification_names.h"

namespace dravin {

namespace {
constexpr std::int64_t kMaxReportSize = 4096;

QString toQString(const std::string& text) {
  return QString::fromStdString(text);
}
}  // namespace

NBHIDDevice::NBHIDDevice(HidTransportFactory factory, QObject* parent)
    : QObject(parent), factory_(std::move(factory)) {
  logLine(QStringLiteral("Init Hid Device"));
}

NBHIDDevice::~NBHIDDevice() {
  stop();
}

NBHIDDevice& NBHIDDevice::shared() {
  // Never destroyed: its thread may still wait on the device while the process exits.
  static NBHIDDevice* device = [] {
    auto* created = new NBHIDDevice(HidapiTransport::factory());
    if (auto* app = QCoreApplication::instance()) created->moveToThread(app->thread());
    return created;
  }();
  return *device;
}

void NBHIDDevice::setTarvoCamera(const TarvoCamera& camera) {
  {
    std::lock_guard lock(stateMutex_);
    tarvoCamera_ = camera;
  }
  vendorId_ = camera.vendorID;
  productId_ = camera.productID;
  reportSize_ = camera.reportSize;
  logLine(QStringLiteral("HID vendor ID: 0x%1 product ID: 0x%2")
              .arg(QString::number(camera.vendorID, 16).toUpper(),
                   QString::number(camera.productID, 16).toUpper()));
}

std::optional<TarvoCamera> NBHIDDevice::tarvoCamera() const {
  std::lock_guard lock(stateMutex_);
  return tarvoCamera_;
}

std::string NBHIDDevice::veltroCameraSettings() const {
  std::lock_guard lock(stateMutex_);
  return received_.text(hid::SettingsKind::camera);
}

std::string NBHIDDevice::veltroDongleSettings() const {
  std::lock_guard lock(stateMutex_);
  return received_.text(hid::SettingsKind::dongle);
}

void NBHIDDevice::start() {
  std::lock_guard lock(lifecycleMutex_);
  if (thread_.joinable()) {
    thread_.request_stop();
    thread_.join();
  }
  const std::int64_t vendor = vendorId_;
  const std::int64_t product = productId_;
  const auto size =
      static_cast<std::size_t>(std::clamp<std::int64_t>(reportSize_, 1, kMaxReportSize));
  if (vendor < 0 || vendor > 0xFFFF || product < 0 || product > 0xFFFF) {
    logLine(QStringLiteral("HID ids out of range, no device to open"));
    return;
  }
  thread_ = std::jthread([this, vendor, product, size](std::stop_token stop) {
    run(stop, static_cast<std::uint16_t>(vendor), static_cast<std::uint16_t>(product), size);
  });
}

void NBHIDDevice::stop() {
  std::lock_guard lock(lifecycleMutex_);
  if (!thread_.joinable()) return;
  thread_.request_stop();
  thread_.join();
}

bool NBHIDDevice::waitOrStop(std::stop_token& stop, int milliseconds) {
  std::unique_lock lock(waitMutex_);
  return wake_.wait_for(lock, stop, std::chrono::milliseconds(milliseconds), [] { return false; });
}

void NBHIDDevice::run(std::stop_token stop, std::uint16_t vendorId, std::uint16_t productId,
                      std::size_t reportSize) {
  const std::unique_ptr<HidTransport> transport = factory_ ? factory_() : nullptr;
  if (!transport) return;
  std::vector<std::uint8_t> buffer(reportSize);
  bool open = false;
  auto close = [&] {
    std::lock_guard lock(ioMutex_);
    connected_ = false;
    openTransport_ = nullptr;
    transport->close();
  };

  while (!stop.stop_requested()) {
    if (!open) {
      if (!transport->open(vendorId, productId)) {
        waitOrStop(stop, kOpenRetryMs);
        continue;
      }
      {
        std::lock_guard lock(ioMutex_);
        openTransport_ = transport.get();
        connected_ = true;
      }
      open = true;
      logLine(QStringLiteral("HID Device connected"));
      postConnection(true);
    }
    const HidReadResult result = transport->read(buffer, kReadTimeoutMs);
    if (result.deviceGone) {
      close();
      open = false;
      logLine(QStringLiteral("Device removed"));
      postConnection(false);
      continue;
    }
    if (result.length > 0) {
      handleInputReport(std::span(buffer).first(std::min(result.length, buffer.size())));
    }
  }
  if (open) {
    close();
    // The link is gone for whoever enabled controls on it.
    postConnection(false);
  }
}

void NBHIDDevice::postConnection(bool connected) {
  // Only a link that serves a camera speaks for the camera controls; the wireless view's links
  // have none.
  const auto camera = tarvoCamera();
  if (!camera) return;
  auto& center = NotificationCenter::instance();
  if (connected) {
    center.post(notifications::kHidConnected,
                {{QStringLiteral("allowHIDControl"), camera->isHIDControlSupported},
                 {QStringLiteral("allowASR"), camera->isASRSupported}});
  } else {
    center.post(notifications::kHidDisconnected, {{QStringLiteral("allowHIDControl"), false}});
  }
}

void NBHIDDevice::handleInputReport(std::span<const std::uint8_t> report) {
  const hid::InputReport decoded = hid::decodeInputReport(report);
  // A dongle can be the main camera's device and a wireless-view link at once; only the
  // camera's link reports its buttons, so one press acts once.
  if (decoded.button && tarvoCamera()) {
    NotificationCenter::instance().post(notifications::kHidButtonClicked,
                                        {{QStringLiteral("button"), *decoded.button}});
  }
  if (!decoded.settings) return;
  logLine(QString::fromStdString(hid::hexLine(report)));
  std::optional<std::string> complete;
  {
    std::lock_guard lock(stateMutex_);
    complete = received_.apply(*decoded.settings);
  }
  if (complete) {
    logLine(QString(28, QLatin1Char('*')));
    logLine(toQString(*complete));
  }
}

bool NBHIDDevice::sendReport(std::span<const std::uint8_t> report) {
  std::lock_guard lock(ioMutex_);
  if (!connected_ || !openTransport_) return false;
  logLine(QString::fromStdString(hid::hexLine(report)));
  return openTransport_->write(report);
}

bool NBHIDDevice::sendCommand(int code, double value) {
  if (code < 0 || code > 0xFF) return false;
  return sendReport(hid::controlReport(static_cast<std::uint8_t>(code), value));
}

bool NBHIDDevice::sendSettingsText(std::uint8_t code, std::string_view text) {
  const hid::SettingsWrite write = hid::settingsWriteReports(code, text);
  if (!write.ok()) {
    logLine(QStringLiteral("Settings text not sent: ") +
            QString::fromStdString(hid::describe(*write.refusal)));
    return false;
  }
  // A chunk that did not go out leaves a gap; the chunks after it would only corrupt the text.
  for (const hid::Report& report : write.reports) {
    if (!sendReport(report)) return false;
  }
  return true;
}

}  // namespace dravin
