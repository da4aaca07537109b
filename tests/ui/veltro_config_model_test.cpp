#include "veltro_config_model.h"

#include <gtest/gtest.h>

#include <QtQml/qqmlextensionplugin.h>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include "../capture/fake_hid_transport.h"
#include "hidapi_transport.h"
#include "nb_hid_device.h"
#include "notification_names.h"
#include "veltro_settings.h"

Q_IMPORT_QML_PLUGIN(PeloraDravinPlugin)

using namespace dravin;
using dravin::testing::FakeHidBus;
using dravin::testing::NotificationLog;
using dravin::testing::settingsChunks;
using dravin::testing::waitUntil;
using dravin::testing::writtenTexts;

namespace {

constexpr FakeHidBus::Ids kDongle{0x5D17, 0x16};
constexpr FakeHidBus::Ids kCamera{0x5D17, 0x19};
const std::string kCameraText =
    "camera_sn=VC123\ntype=P2P\nwifi_ssid=VC123\nwifi_key_mgmt=WPA\nwifi_password=mirabelk\n";
const std::string kDongleText =
    "DONGLE_SN=\"VD9\"\nCAMERA_HOST=\"VC100\"\nWIFI_SSID=\"VC100\"\nWIFI_KEY_MGMT=\"WPA\"\n"
    "WIFI_PASSWORD=\"mirabelk\"\n";

// Both devices answer a settings request with their text.
std::shared_ptr<FakeHidBus> answeringBus() {
  auto bus = std::make_shared<FakeHidBus>();
  bus->answer(kCamera, hid::kRequestCameraSettings, settingsChunks('P', kCameraText));
  bus->answer(kDongle, hid::kRequestDongleSettings, settingsChunks('Q', kDongleText));
  return bus;
}

std::size_t requests(FakeHidBus& bus, FakeHidBus::Ids ids, std::uint8_t code) {
  const auto written = bus.written(ids);
  return static_cast<std::size_t>(
      std::count_if(written.begin(), written.end(), [&](const auto& r) { return r[0] == code; }));
}

// Links up and both texts received, without waiting for the view's timers.
void connectAndRead(VeltroConfigModel& m, FakeHidBus& bus) {
  m.startLinks();
  bus.attach(kDongle);
  bus.attach(kCamera);
  ASSERT_TRUE(
      waitUntil([&] { return m.hidDongle().isConnected() && m.hidCamera().isConnected(); }));
  m.requestSettings();
  ASSERT_TRUE(waitUntil([&] {
    return m.hidCamera().veltroCameraSettings() == kCameraText &&
           m.hidDongle().veltroDongleSettings() == kDongleText;
  }));
  m.refreshFromDevices();
}

}  // namespace

TEST(VeltroConfigModel, LinksAskAndRefresh) {
  auto bus = answeringBus();
  bus->attach(kDongle);
  VeltroConfigModel m(bus->factory());
  m.startLinks();
  {  // the dongle is asked and shown by the timers; the camera, not there, is not asked
    ASSERT_TRUE(waitUntil([&] { return m.dongleSN() == "\"VD9\""; }, 10000));
    EXPECT_TRUE(m.isDongleConnected());
    EXPECT_FALSE(m.isCameraConnected());
    EXPECT_EQ(m.cameraSN(), "");
    EXPECT_EQ(m.pairedCamera(), "\"VC100\"");
    EXPECT_EQ(m.pairedSsid(), "\"VC100\"");
    EXPECT_EQ(m.pairedPassword(), "\"mirabelk\"");
    EXPECT_GE(requests(*bus, kDongle, hid::kRequestDongleSettings), 1u);
  }
  {  // a camera plugged in later is asked when a refresh finds it, and shown at the next
    bus->attach(kCamera);
    ASSERT_TRUE(waitUntil([&] { return m.cameraSN() == "VC123"; }, 10000));
    EXPECT_TRUE(m.isCameraConnected());
    EXPECT_EQ(requests(*bus, kCamera, hid::kRequestCameraSettings), 1u);
    EXPECT_EQ(m.cameraSettings().at(hid::CameraSettingsKey::KEY_TYPE), "P2P");
  }
  {  // unplugged: shown as not connected at the next refresh
    bus->remove(kCamera);
    ASSERT_TRUE(waitUntil([&] { return !m.isCameraConnected(); }, 10000));
  }
}

TEST(VeltroConfigModel, WritesBothTextsForDirect) {
  auto bus = answeringBus();
  VeltroConfigModel m(bus->factory());
  connectAndRead(m, *bus);
  ASSERT_EQ(m.cameraSN(), "VC123");
  EXPECT_TRUE(m.writeSettings());
  EXPECT_EQ(writtenTexts(bus->written(kCamera), hid::kWriteCameraSettings),
            std::vector<std::string>{veltro::directCameraText("VC123")});
  EXPECT_EQ(writtenTexts(bus->written(kDongle), hid::kWriteDongleSettings),
            std::vector<std::string>{veltro::directDongleText("\"VD9\"", "VC123")});
  EXPECT_EQ(m.dongleSettings().at(hid::DongleSettingsKey::KEY_CAMERA_HOST), "\"VC123\"");
  EXPECT_FALSE(m.statusIsError());
}

TEST(VeltroConfigModel, WritesTheTypedNetworkForThroughWifi) {
  auto bus = answeringBus();
  VeltroConfigModel m(bus->factory());
  connectAndRead(m, *bus);
  m.setPairType("JOIN");
  {  // the typed name and password go to the camera; the dongle gets nothing
    m.setWifiSsid("Office");
    m.setWifiPassword("s3cret");
    EXPECT_TRUE(m.writeSettings());
    m.setWifiPassword("");
    EXPECT_TRUE(m.writeSettings());
    EXPECT_EQ(writtenTexts(bus->written(kCamera), hid::kWriteCameraSettings),
              (std::vector<std::string>{veltro::joinCameraText("VC123", "Office", "s3cret"),
                                        veltro::joinCameraText("VC123", "Office", "")}));
    EXPECT_TRUE(writtenTexts(bus->written(kDongle), hid::kWriteDongleSettings).empty());
  }
  const std::size_t before = bus->written(kCamera).size();
  {  // characters the reports cannot carry: a message, and nothing sent
    m.setWifiPassword(QStringLiteral("caf\u00e9"));
    EXPECT_FALSE(m.writeSettings());
    EXPECT_TRUE(m.statusIsError());
    EXPECT_TRUE(m.statusText().contains("ASCII"));
  }
  {  // no network name, or a line break that would start a settings line of its own
    m.setWifiPassword("pw");
    m.setWifiSsid("");
    EXPECT_FALSE(m.writeSettings());
    m.setWifiSsid("Office\ntype=P2P");
    EXPECT_FALSE(m.writeSettings());
    EXPECT_TRUE(m.statusIsError());
  }
  EXPECT_EQ(bus->written(kCamera).size(), before);
}

TEST(VeltroConfigModel, PairsOnlyOnceBothDevicesSettingsAreRead) {
  auto bus = std::make_shared<FakeHidBus>();
  VeltroConfigModel m(bus->factory());
  m.startLinks();
  bus->attach(kDongle);
  bus->attach(kCamera);
  ASSERT_TRUE(
      waitUntil([&] { return m.hidDongle().isConnected() && m.hidCamera().isConnected(); }));
  // Each refusal, in both pair types, leaves both devices without a single settings write.
  auto refusesAndWritesNothing = [&] {
    for (const char* type : {"P2P", "JOIN"}) {
      m.setPairType(type);
      EXPECT_FALSE(m.writeSettings()) << type;
      EXPECT_TRUE(m.statusIsError());
    }
    EXPECT_TRUE(writtenTexts(bus->written(kCamera), hid::kWriteCameraSettings).empty());
    EXPECT_TRUE(writtenTexts(bus->written(kDongle), hid::kWriteDongleSettings).empty());
    m.setPairType("P2P");
  };
  // Asks both devices again and shows what they answered.
  auto readAgain = [&](const std::string& camera, const std::string& dongle) {
    m.requestSettings();
    ASSERT_TRUE(waitUntil([&] {
      return m.hidCamera().veltroCameraSettings() == camera &&
             m.hidDongle().veltroDongleSettings() == dongle;
    }));
    m.refreshFromDevices();
  };

  {  // connected, nothing read
    m.refreshFromDevices();
    EXPECT_FALSE(m.canPair());
    EXPECT_EQ(m.waitingFor(), "Waiting for the camera's and the dongle's settings\u2026");
    refusesAndWritesNothing();
  }
  {  // the dongle answered without a serial number (two quotes), the camera not at all
    const std::string noSerial = "DONGLE_SN=\"\"\nWIFI_KEY_MGMT=\"WPA\"\n";
    bus->answer(kDongle, hid::kRequestDongleSettings, settingsChunks('Q', noSerial));
    readAgain("", noSerial);
    EXPECT_EQ(m.waitingFor(), "Waiting for the camera's and the dongle's settings\u2026");
    refusesAndWritesNothing();
  }
  {  // the dongle's settings in, the camera's still missing
    bus->answer(kDongle, hid::kRequestDongleSettings, settingsChunks('Q', kDongleText));
    readAgain("", kDongleText);
    EXPECT_EQ(m.waitingFor(), "Waiting for the camera's settings\u2026");
    refusesAndWritesNothing();
  }
  {  // both in: the real serial numbers are written
    bus->answer(kCamera, hid::kRequestCameraSettings, settingsChunks('P', kCameraText));
    readAgain(kCameraText, kDongleText);
    EXPECT_TRUE(m.canPair());
    EXPECT_EQ(m.waitingFor(), "");
    EXPECT_TRUE(m.writeSettings());
    EXPECT_EQ(writtenTexts(bus->written(kCamera), hid::kWriteCameraSettings),
              std::vector<std::string>{veltro::directCameraText("VC123")});
    EXPECT_EQ(writtenTexts(bus->written(kDongle), hid::kWriteDongleSettings),
              std::vector<std::string>{veltro::directDongleText("\"VD9\"", "VC123")});
  }
  {  // the camera unplugged: waiting for it again
    bus->remove(kCamera);
    ASSERT_TRUE(waitUntil([&] { return !m.hidCamera().isConnected(); }));
    m.refreshFromDevices();
    EXPECT_EQ(m.waitingFor(), "Waiting for the camera's settings\u2026");
    EXPECT_FALSE(m.writeSettings());
  }
}

TEST(VeltroConfigModel, AdminTapsCancelAndClose) {
  auto bus = std::make_shared<FakeHidBus>();
  bus->attach(kCamera);
  NotificationLog log({notifications::kOpenVeltroConfig});
  {
    VeltroConfigModel m(bus->factory());
    m.startLinks();
    ASSERT_TRUE(waitUntil([&] { return m.hidCamera().isConnected(); }));
    {  // five taps in one gesture, and it stays on
      m.tapped(4);
      EXPECT_FALSE(m.isAdmin());
      m.tapped(5);
      EXPECT_TRUE(m.isAdmin());
      m.tapped(1);
      EXPECT_TRUE(m.isAdmin());
    }
    {  // nothing read yet and the dongle away: nothing is written, and the view says why
      EXPECT_FALSE(m.writeSettings());
      EXPECT_TRUE(bus->written(kCamera).empty());
      EXPECT_TRUE(m.statusIsError());
    }
    m.cancel();
    ASSERT_TRUE(waitUntil([&] { return log.seen.size() == 1; }));
  }
  // the view's links end with it
  EXPECT_EQ(bus->openLinks(), 0);
  EXPECT_EQ(bus->transportsAlive(), 0);
}

TEST(VeltroConfigView, ShowsDevicesAndRefusals) {
  auto bus = answeringBus();
  bus->attach(kDongle);
  bus->attach(kCamera);
  VeltroConfigModel::setDefaultTransportFactory(bus->factory());

  QQmlEngine engine;
  engine.addImportPath(QStringLiteral("qrc:/"));
  QQuickWindow window;
  window.resize(560, 640);
  window.setColor(QColor("#101316"));
  QQmlComponent component(&engine);
  component.setData(R"(
      import QtQuick
      import PeloraDravin
      PanelSlot {
          property alias view: view
          x: 20; y: 20; width: 520; height: 600
          title: "Wireless configuration"
          VeltroConfigView { id: view; anchors.fill: parent }
      })",
                    QUrl(QStringLiteral("veltro_scene.qml")));
  std::unique_ptr<QQuickItem> root(qobject_cast<QQuickItem*>(component.create()));
  ASSERT_NE(root, nullptr) << component.errorString().toStdString();
  root->setParentItem(window.contentItem());
  auto* view = root->property("view").value<QQuickItem*>();
  ASSERT_NE(view, nullptr);
  auto* m = view->property("model").value<VeltroConfigModel*>();
  ASSERT_NE(m, nullptr);
  auto* pair = view->findChild<QQuickItem*>("pair");
  auto* waiting = view->findChild<QQuickItem*>("waiting");
  ASSERT_NE(pair, nullptr);
  ASSERT_NE(waiting, nullptr);
  {  // before the devices' settings are read: Pair is off and the view says what it waits for
    EXPECT_FALSE(pair->isEnabled());
    EXPECT_EQ(waiting->property("text").toString(),
              "Waiting for the camera's and the dongle's settings\u2026");
  }
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  ASSERT_TRUE(
      waitUntil([&] { return m->cameraSN() == "VC123" && m->dongleSN() == "\"VD9\""; }, 10000));
  EXPECT_TRUE(pair->isEnabled());
  EXPECT_FALSE(waiting->isVisible());
  auto* status = view->findChild<QQuickItem*>("status");
  ASSERT_NE(status, nullptr);
  {  // a refused password: the message shows in the view
    m->setPairType("JOIN");
    m->setWifiPassword(QStringLiteral("\u00fcber"));
    EXPECT_FALSE(m->writeSettings());
    EXPECT_TRUE(status->isVisible());
    EXPECT_EQ(status->property("text").toString(), m->statusText());
  }
  m->setWifiSsid("Classroom 4");
  m->setWifiPassword("chalkboard");
  EXPECT_TRUE(m->writeSettings());
  QCoreApplication::processEvents();
  const QImage image = window.grabWindow();
  EXPECT_FALSE(image.isNull());
  if (const QByteArray path = qgetenv("DRAVIN_WIRELESS_CONFIG_PNG"); !path.isEmpty())
    image.save(QString::fromLocal8Bit(path));

  root.reset();
  EXPECT_EQ(bus->openLinks(), 0);
  VeltroConfigModel::setDefaultTransportFactory(HidapiTransport::factory());
}
