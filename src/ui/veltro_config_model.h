#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "hid_reports.h"
#include "hid_transport.h"

namespace dravin {

class NBHIDDevice;

// State of the wireless configuration view: its own HID links to the dongle and the camera,
// what they last reported, and the texts that pair them directly or through a Wi-Fi network.
class VeltroConfigModel : public QObject {
  Q_OBJECT
  QML_ELEMENT

  Q_PROPERTY(QString pairType READ pairType WRITE setPairType NOTIFY pairTypeChanged)
  Q_PROPERTY(QString wifi_ssid READ wifiSsid WRITE setWifiSsid NOTIFY wifiSsidChanged)
  Q_PROPERTY(
      QString wifi_password READ wifiPassword WRITE setWifiPassword NOTIFY wifiPasswordChanged)
  Q_PROPERTY(bool isDongleConnected READ isDongleConnected NOTIFY devicesChanged)
  Q_PROPERTY(bool isCameraConnected READ isCameraConnected NOTIFY devicesChanged)
  Q_PROPERTY(QString dongleSN READ dongleSN NOTIFY devicesChanged)
  Q_PROPERTY(QString cameraSN READ cameraSN NOTIFY devicesChanged)
  // The dongle's pairing as read from it, quotes included.
  Q_PROPERTY(QString pairedCamera READ pairedCamera NOTIFY devicesChanged)
  Q_PROPERTY(QString pairedSsid READ pairedSsid NOTIFY devicesChanged)
  Q_PROPERTY(QString pairedPassword READ pairedPassword NOTIFY devicesChanged)
  // The whole texts as received, for the service display.
  Q_PROPERTY(QString dongleSettingsText READ dongleSettingsText NOTIFY devicesChanged)
  Q_PROPERTY(QString cameraSettingsText READ cameraSettingsText NOTIFY devicesChanged)
  Q_PROPERTY(bool isAdmin READ isAdmin NOTIFY isAdminChanged)
  // Pairing needs both devices' settings: their serial numbers name the network. Until then
  // the view says what it waits for.
  Q_PROPERTY(bool canPair READ canPair NOTIFY devicesChanged)
  Q_PROPERTY(QString waitingFor READ waitingFor NOTIFY devicesChanged)
  Q_PROPERTY(QString statusText READ statusText NOTIFY statusChanged)
  Q_PROPERTY(bool statusIsError READ statusIsError NOTIFY statusChanged)

 public:
  static constexpr int kRequestDelayMs = 1000;
  static constexpr int kRefreshDelayMs = 2000;
  // Devices plugged in while the view is open show up at the next of these refreshes.
  static constexpr int kRefreshIntervalMs = 2000;
  static constexpr int kAdminTapCount = 5;

  explicit VeltroConfigModel(QObject* parent = nullptr);
  VeltroConfigModel(HidTransportFactory factory, QObject* parent = nullptr);
  ~VeltroConfigModel() override;

  // Used by models the views create; hidapi unless a test or demo set another.
  static void setDefaultTransportFactory(HidTransportFactory factory);

  QString pairType() const { return pairType_; }
  void setPairType(const QString& type);
  QString wifiSsid() const { return wifiSsid_; }
  void setWifiSsid(const QString& ssid);
  QString wifiPassword() const { return wifiPassword_; }
  void setWifiPassword(const QString& password);
  bool isDongleConnected() const { return isDongleConnected_; }
  bool isCameraConnected() const { return isCameraConnected_; }
  QString dongleSN() const { return dongleSN_; }
  QString cameraSN() const { return cameraSN_; }
  QString pairedCamera() const;
  QString pairedSsid() const;
  QString pairedPassword() const;
  QString dongleSettingsText() const { return dongleSettingsText_; }
  QString cameraSettingsText() const { return cameraSettingsText_; }
  bool isAdmin() const { return isAdmin_; }
  bool canPair() const { return waitingFor().isEmpty(); }
  // Empty once both devices are connected and their serial numbers read.
  QString waitingFor() const;
  QString statusText() const { return statusText_; }
  bool statusIsError() const { return statusIsError_; }

  const hid::CameraSettings& cameraSettings() const { return cameraSettings_; }
  const hid::DongleSettings& dongleSettings() const { return dongleSettings_; }
  NBHIDDevice& hidDongle() { return *hidDongle_; }
  NBHIDDevice& hidCamera() { return *hidCamera_; }

  // When the view appears: both links start, settings are asked for after 1 s and shown after 2 s.
  Q_INVOKABLE void startLinks();
  Q_INVOKABLE void requestSettings();
  Q_INVOKABLE void refreshFromDevices();
  // The confirm button: "Direct" or "Through WiFi" as chosen. False when nothing could be sent;
  // refused, writing nothing, while a device's settings have not been read.
  Q_INVOKABLE bool writeSettings();
  // `tapCount` taps in one gesture; five turn on the service display for good.
  Q_INVOKABLE void tapped(int tapCount);
  // Closes the panel.
  Q_INVOKABLE void cancel();

 signals:
  void pairTypeChanged();
  void wifiSsidChanged();
  void wifiPasswordChanged();
  void devicesChanged();
  void isAdminChanged();
  void statusChanged();

 private:
  // Whose settings pairing still lacks ("the camera's"), empty when none.
  QString missingSettings() const;
  bool writeDirect();
  bool writeThroughWifi();
  void setStatus(const QString& text, bool isError);
  bool refuse(hid::SettingsRefusal refusal);
  void reportSent(bool camera, bool dongle, bool dongleWanted);

  std::unique_ptr<NBHIDDevice> hidDongle_;
  std::unique_ptr<NBHIDDevice> hidCamera_;
  QString pairType_ = QStringLiteral("P2P");
  QString wifiSsid_ = QStringLiteral("Veltro");
  QString wifiPassword_ = QStringLiteral("mirabelk");
  bool isDongleConnected_ = false;
  bool isCameraConnected_ = false;
  hid::CameraSettings cameraSettings_;
  hid::DongleSettings dongleSettings_;
  QString dongleSN_;
  QString cameraSN_;
  QString dongleSettingsText_;
  QString cameraSettingsText_;
  bool isAdmin_ = false;
  QString statusText_;
  bool statusIsError_ = false;
  // A link is asked once per connection; one plugged in later is asked when it shows up.
  bool dongleAsked_ = false;
  bool cameraAsked_ = false;
  QTimer requestTimer_;
  QTimer refreshTimer_;
};

}  // namespace dravin
