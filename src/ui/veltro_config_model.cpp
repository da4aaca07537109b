#include "veltro_config_model.h"

#include "app_log.h"
#include "hidapi_transport.h"
#include "nb_hid_device.h"
#include "notification_center.h"
#include "notification_names.h"
#include "veltro_settings.h"

namespace dravin {

namespace {

HidTransportFactory& defaultFactory() {
  static HidTransportFactory factory = HidapiTransport::factory();
  return factory;
}

QString toQString(const std::string& text) {
  return QString::fromStdString(text);
}

template <class Map, class Key>
std::string valueOr(const Map& settings, Key key) {
  const auto found = settings.find(key);
  return found == settings.end() ? std::string() : found->second;
}

std::string quoted(const std::string& value) {
  return '"' + value + '"';
}

// The dongle writes its values in double quotes; "" is no serial number.
bool isUnquotedEmpty(const QString& value) {
  return value.isEmpty() || value == QLatin1String("\"\"");
}

bool hasLineBreak(const QString& text) {
  return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

void configureLink(NBHIDDevice& link, std::int64_t productId) {
  link.setVendorId(NBHIDDevice::kDefaultVendorId);
  link.setProductId(productId);
  link.setReportSize(veltro::kLinkReportSize);
}

}  // namespace

VeltroConfigModel::VeltroConfigModel(QObject* parent)
    : VeltroConfigModel(defaultFactory(), parent) {}

VeltroConfigModel::VeltroConfigModel(HidTransportFactory factory, QObject* parent)
    : QObject(parent),
      hidDongle_(std::make_unique<NBHIDDevice>(factory)),
      hidCamera_(std::make_unique<NBHIDDevice>(factory)) {
  requestTimer_.setSingleShot(true);
  requestTimer_.setInterval(kRequestDelayMs);
  connect(&requestTimer_, &QTimer::timeout, this, &VeltroConfigModel::requestSettings);
  refreshTimer_.setInterval(kRefreshIntervalMs);
  connect(&refreshTimer_, &QTimer::timeout, this, &VeltroConfigModel::refreshFromDevices);
}

// The links' threads end with the view.
VeltroConfigModel::~VeltroConfigModel() = default;

void VeltroConfigModel::setDefaultTransportFactory(HidTransportFactory factory) {
  defaultFactory() = std::move(factory);
}

void VeltroConfigModel::setPairType(const QString& type) {
  if (type == pairType_) return;
  pairType_ = type;
  emit pairTypeChanged();
}

void VeltroConfigModel::setWifiSsid(const QString& ssid) {
  if (ssid == wifiSsid_) return;
  wifiSsid_ = ssid;
  emit wifiSsidChanged();
}

void VeltroConfigModel::setWifiPassword(const QString& password) {
  if (password == wifiPassword_) return;
  wifiPassword_ = password;
  emit wifiPasswordChanged();
}

QString VeltroConfigModel::pairedCamera() const {
  return toQString(valueOr(dongleSettings_, hid::DongleSettingsKey::KEY_CAMERA_HOST));
}

QString VeltroConfigModel::pairedSsid() const {
  return toQString(valueOr(dongleSettings_, hid::DongleSettingsKey::KEY_WIFI_SSID));
}

QString VeltroConfigModel::pairedPassword() const {
  return toQString(valueOr(dongleSettings_, hid::DongleSettingsKey::KEY_WIFI_PASSWORD));
}

QString VeltroConfigModel::missingSettings() const {
  const bool camera = isCameraConnected_ && !cameraSN_.isEmpty();
  const bool dongle = isDongleConnected_ && !isUnquotedEmpty(dongleSN_);
  if (camera && dongle) return {};
  if (!camera && !dongle) return QStringLiteral("the camera's and the dongle's");
  return camera ? QStringLiteral("the dongle's") : QStringLiteral("the camera's");
}

QString VeltroConfigModel::waitingFor() const {
  const QString missing = missingSettings();
  return missing.isEmpty()
             ? QString()
             : QStringLiteral("Waiting for ") + missing + QStringLiteral(" settings\u2026");
}

void VeltroConfigModel::startLinks() {
  configureLink(*hidDongle_, veltro::kDongleProductId);
  configureLink(*hidCamera_, veltro::kCameraProductId);
  hidDongle_->start();
  hidCamera_->start();
  dongleAsked_ = cameraAsked_ = false;
  requestTimer_.start();
  // The first refresh comes at 2 s, and again every 2 s after it.
  refreshTimer_.start();
}

void VeltroConfigModel::requestSettings() {
  if (hidDongle_->isConnected()) {
    dongleAsked_ = hidDongle_->sendReport(hid::settingsRequestReport(hid::kRequestDongleSettings));
  }
  if (hidCamera_->isConnected()) {
    cameraAsked_ = hidCamera_->sendReport(hid::settingsRequestReport(hid::kRequestCameraSettings));
  }
}

void VeltroConfigModel::refreshFromDevices() {
  isDongleConnected_ = hidDongle_->isConnected();
  isCameraConnected_ = hidCamera_->isConnected();
  const std::string cameraText = hidCamera_->veltroCameraSettings();
  const std::string dongleText = hidDongle_->veltroDongleSettings();
  cameraSettings_ = hid::parseCameraSettings(cameraText);
  dongleSettings_ = hid::parseDongleSettings(dongleText);
  dongleSN_ = toQString(valueOr(dongleSettings_, hid::DongleSettingsKey::KEY_DONGLE_SN));
  cameraSN_ = toQString(valueOr(cameraSettings_, hid::CameraSettingsKey::KEY_CAMERA_SN));
  dongleSettingsText_ = toQString(dongleText);
  cameraSettingsText_ = toQString(cameraText);
  emit devicesChanged();

  if (!isDongleConnected_) dongleAsked_ = false;
  if (!isCameraConnected_) cameraAsked_ = false;
  if (isDongleConnected_ && !dongleAsked_) {
    dongleAsked_ = hidDongle_->sendReport(hid::settingsRequestReport(hid::kRequestDongleSettings));
  }
  if (isCameraConnected_ && !cameraAsked_) {
    cameraAsked_ = hidCamera_->sendReport(hid::settingsRequestReport(hid::kRequestCameraSettings));
  }
}

bool VeltroConfigModel::writeSettings() {
  // Written without them, the devices would get empty serial numbers and network names and
  // lose the pairing they have.
  if (const QString missing = missingSettings(); !missing.isEmpty()) {
    setStatus(QStringLiteral("Nothing written: ") + missing +
                  QStringLiteral(" settings have not been read yet."),
              true);
    logLine(QStringLiteral("Pairing refused: ") + statusText_);
    return false;
  }
  return pairType_ == QLatin1String("P2P") ? writeDirect() : writeThroughWifi();
}

bool VeltroConfigModel::writeDirect() {
  const std::string sn = cameraSN_.toStdString();
  cameraSettings_[hid::CameraSettingsKey::KEY_CAMERA_SN] = sn;
  const std::string cameraText = veltro::directCameraText(sn);
  dongleSettings_[hid::DongleSettingsKey::KEY_CAMERA_HOST] = quoted(sn);
  dongleSettings_[hid::DongleSettingsKey::KEY_WIFI_SSID] = quoted(sn);
  const std::string dongleText =
      veltro::directDongleText(valueOr(dongleSettings_, hid::DongleSettingsKey::KEY_DONGLE_SN), sn);

  // Both or neither: a camera set up for a dongle that was not told would pair with nothing.
  for (const std::string* text : {&cameraText, &dongleText}) {
    const auto write = hid::settingsWriteReports(hid::kWriteCameraSettings, *text);
    if (!write.ok()) return refuse(*write.refusal);
  }
  logLine(toQString(cameraText));
  const bool camera = hidCamera_->sendSettingsText(hid::kWriteCameraSettings, cameraText);
  logLine(toQString(dongleText));
  const bool dongle = hidDongle_->sendSettingsText(hid::kWriteDongleSettings, dongleText);
  emit devicesChanged();
  reportSent(camera, dongle, true);
  return camera || dongle;
}

bool VeltroConfigModel::writeThroughWifi() {
  if (wifiSsid_.isEmpty()) {
    setStatus(QStringLiteral("Please enter the WiFi SSID."), true);
    return false;
  }
  // A line break would start a line of the camera's settings of its own.
  if (hasLineBreak(wifiSsid_) || hasLineBreak(wifiPassword_)) {
    setStatus(QStringLiteral("Not sent: the WiFi SSID and password must not contain line breaks."),
              true);
    return false;
  }
  const std::string sn = cameraSN_.toStdString();
  const std::string ssid = wifiSsid_.toStdString();
  const std::string password = wifiPassword_.toStdString();
  const std::string text = veltro::joinCameraText(sn, ssid, password);
  const auto write = hid::settingsWriteReports(hid::kWriteCameraSettings, text);
  if (!write.ok()) return refuse(*write.refusal);

  cameraSettings_[hid::CameraSettingsKey::KEY_CAMERA_SN] = sn;
  cameraSettings_[hid::CameraSettingsKey::KEY_WIFI_SSID] = ssid;
  cameraSettings_[hid::CameraSettingsKey::KEY_WIFI_PASSWORD] = password;
  logLine(toQString(text));
  const bool camera = hidCamera_->sendSettingsText(hid::kWriteCameraSettings, text);
  reportSent(camera, false, false);
  return camera;
}

bool VeltroConfigModel::refuse(hid::SettingsRefusal refusal) {
  logLine(QStringLiteral("Settings text not sent: ") + toQString(hid::describe(refusal)));
  switch (refusal) {
    case hid::SettingsRefusal::notAscii:
      setStatus(QStringLiteral("Not sent: the devices accept only plain ASCII letters, digits "
                               "and signs (no accents or other characters)."),
                true);
      break;
    case hid::SettingsRefusal::tooLong:
      setStatus(QStringLiteral("Not sent: the settings are too long for the device."), true);
      break;
    case hid::SettingsRefusal::empty:
      setStatus(QStringLiteral("Not sent: there is nothing to write."), true);
      break;
  }
  return false;
}

void VeltroConfigModel::reportSent(bool camera, bool dongle, bool dongleWanted) {
  if (camera && (dongle || !dongleWanted)) {
    setStatus(dongleWanted ? QStringLiteral("Settings written to the camera and the dongle.")
                           : QStringLiteral("Settings written to the camera."),
              false);
  } else if (camera) {
    setStatus(QStringLiteral("Settings written to the camera only: the dongle is not connected."),
              true);
  } else if (dongle) {
    setStatus(QStringLiteral("Settings written to the dongle only: the camera is not connected."),
              true);
  } else if (dongleWanted) {
    setStatus(QStringLiteral("Nothing written: no device is connected."), true);
  } else {
    setStatus(QStringLiteral("Nothing written: the camera is not connected."), true);
  }
}

void VeltroConfigModel::setStatus(const QString& text, bool isError) {
  statusText_ = text;
  statusIsError_ = isError;
  emit statusChanged();
}

void VeltroConfigModel::tapped(int tapCount) {
  if (isAdmin_ || tapCount < kAdminTapCount) return;
  isAdmin_ = true;
  emit isAdminChanged();
}

void VeltroConfigModel::cancel() {
  NotificationCenter::instance().post(notifications::kOpenVeltroConfig);
}

}  // namespace dravin
