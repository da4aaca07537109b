#include "nb_hid_device.h"

#include <gtest/gtest.h>

#include "fake_hid_transport.h"
#include "hid_commands.h"
#include "hid_reports.h"
#include "hidapi_transport.h"
#include "notification_names.h"

using namespace dravin;
using dravin::testing::Bytes;
using dravin::testing::FakeHidBus;
using dravin::testing::NotificationLog;
using dravin::testing::settingsChunks;
using dravin::testing::waitUntil;
namespace n = dravin::notifications;

namespace {

constexpr FakeHidBus::Ids kCameraIds{0x5D17, 0x22};

TarvoCamera makerCamera() {
  TarvoCamera camera;
  camera.vendorID = kCameraIds.first;
  camera.productID = kCameraIds.second;
  camera.reportSize = 24;
  camera.isHIDControlSupported = true;
  return camera;
}

Bytes buttonReport(std::uint8_t mask) {
  Bytes r(24, 0);
  r[0] = 0x80;
  r[1] = mask;
  return r;
}

Bytes asBytes(const hid::Report& report) {
  return {report.begin(), report.end()};
}

}  // namespace

TEST(NBHIDDevice, AttachReportsAndRemoval) {
  auto bus = std::make_shared<FakeHidBus>();
  QCoreApplication::sendPostedEvents();  // what earlier tests' links posted
  NotificationLog log({n::kHidConnected, n::kHidDisconnected, n::kHidButtonClicked});
  NBHIDDevice device(bus->factory());
  device.setTarvoCamera(makerCamera());
  device.start();

  {  // nothing attached: not connected, and sends go nowhere
    EXPECT_FALSE(device.isConnected());
    EXPECT_FALSE(device.sendCommand(hid::kFocusAuto, 0));
  }
  {  // attach: connected, with the camera's flags
    bus->attach(kCameraIds);
    ASSERT_TRUE(waitUntil([&] { return log.count(n::kHidConnected) == 1; }));
    EXPECT_TRUE(device.isConnected());
    const QVariantMap info = log.seen.front().second;
    EXPECT_EQ(info.value("allowHIDControl"), QVariant(true));
    EXPECT_EQ(info.value("allowASR"), QVariant(false));
  }
  {  // a mask byte and a one-byte report become button presses, in order
    bus->queueInput(kCameraIds, buttonReport(0x04));
    bus->queueInput(kCameraIds, Bytes{5});
    bus->queueInput(kCameraIds, Bytes{9});
    ASSERT_TRUE(waitUntil([&] { return log.count(n::kHidButtonClicked) == 2; }));
    EXPECT_EQ(log.seen[1].second.value("button"), QVariant(4));
    EXPECT_EQ(log.seen[2].second.value("button"), QVariant(5));
  }
  {  // settings chunks of both kinds accumulate; a first chunk starts over
    Bytes unfinished = settingsChunks('P', "old")[0];
    unfinished[9] = 3;  // not the last chunk
    bus->queueInput(kCameraIds, unfinished);
    const auto camera = settingsChunks('P', "camera_sn=VC123\n");
    ASSERT_EQ(camera.size(), 2u);
    bus->queueInput(kCameraIds, camera[0]);
    bus->queueInput(kCameraIds, settingsChunks('Q', "SN=\"\"")[0]);
    bus->queueInput(kCameraIds, camera[1]);
    ASSERT_TRUE(waitUntil([&] { return device.veltroCameraSettings() == "camera_sn=VC123\n"; }));
    EXPECT_EQ(device.veltroDongleSettings(), "SN=\"\"");
  }
  {  // commands and settings texts go out as reports
    EXPECT_TRUE(device.sendCommand(hid::kExposure, 300));
    EXPECT_TRUE(device.sendSettingsText(hid::kWriteCameraSettings, std::string(29, 'a')));
    const auto written = bus->written(kCameraIds);
    ASSERT_EQ(written.size(), 4u);
    EXPECT_EQ(written[0], asBytes(hid::controlReport(hid::kExposure, 300)));
    EXPECT_EQ(written[3][6], 0x81);
  }
  {  // a text the reports cannot carry sends nothing at all
    EXPECT_FALSE(device.sendSettingsText(hid::kWriteCameraSettings, "wifi_ssid=Caf\xC3\xA9"));
    EXPECT_FALSE(device.sendSettingsText(hid::kWriteCameraSettings, std::string(3585, 'a')));
    EXPECT_EQ(bus->written(kCameraIds).size(), 4u);
  }
  {  // removal: disconnected, sends are no-ops; the same device coming back is found again
    bus->remove(kCameraIds);
    ASSERT_TRUE(waitUntil([&] { return log.count(n::kHidDisconnected) == 1; }));
    EXPECT_FALSE(device.isConnected());
    EXPECT_EQ(log.seen.back().second, (QVariantMap{{"allowHIDControl", false}}));
    EXPECT_FALSE(device.sendCommand(hid::kExposure, 1));
    EXPECT_EQ(bus->written(kCameraIds).size(), 4u);
    // received texts outlive the device
    EXPECT_EQ(device.veltroCameraSettings(), "camera_sn=VC123\n");
    bus->attach(kCameraIds);
    ASSERT_TRUE(waitUntil([&] { return log.count(n::kHidConnected) == 2; }));
    EXPECT_TRUE(device.sendCommand(hid::kExposure, 1));
  }
}

TEST(NBHIDDevice, RestartAndStopCloseTheLink) {
  auto bus = std::make_shared<FakeHidBus>();
  QCoreApplication::sendPostedEvents();  // what earlier tests' links posted
  NotificationLog log({n::kHidConnected, n::kHidDisconnected});
  bus->attach(kCameraIds);
  {
    NBHIDDevice device(bus->factory());
    device.setTarvoCamera(makerCamera());
    device.start();
    ASSERT_TRUE(waitUntil([&] { return device.isConnected(); }));
    {  // a second start replaces the link instead of adding one
      device.start();
      ASSERT_TRUE(waitUntil([&] { return device.isConnected(); }));
      EXPECT_EQ(bus->openLinks(), 1);
      EXPECT_EQ(bus->transportsAlive(), 1);
    }
    {  // stop closes it; controls that relied on it are told
      device.stop();
      EXPECT_FALSE(device.isConnected());
      EXPECT_EQ(bus->openLinks(), 0);
      EXPECT_FALSE(device.sendCommand(hid::kResetAll, 0));
      ASSERT_TRUE(waitUntil([&] { return log.count(n::kHidDisconnected) == 2; }));
    }
    device.start();
    ASSERT_TRUE(waitUntil([&] { return device.isConnected(); }));
  }
  // destroyed while connected: nothing left open or running
  EXPECT_EQ(bus->openLinks(), 0);
  EXPECT_EQ(bus->transportsAlive(), 0);
}

TEST(NBHIDDevice, LinkWithoutCameraSpeaksForNoCamera) {
  auto bus = std::make_shared<FakeHidBus>();
  QCoreApplication::sendPostedEvents();  // what earlier tests' links posted
  NotificationLog log({n::kHidConnected, n::kHidDisconnected, n::kHidButtonClicked});
  constexpr FakeHidBus::Ids dongle{0x5D17, 0x16};
  NBHIDDevice link(bus->factory());
  link.setProductId(dongle.second);
  link.setReportSize(24);
  link.start();
  bus->attach(dongle);
  ASSERT_TRUE(waitUntil([&] { return link.isConnected(); }));
  // a button and a settings chunk in one report: the text is kept, the button is not posted
  Bytes report = settingsChunks('Q', "A=\"\"")[0];
  report[1] = 0x01;
  bus->queueInput(dongle, report);
  ASSERT_TRUE(waitUntil([&] { return link.veltroDongleSettings() == "A=\"\""; }));
  bus->remove(dongle);
  ASSERT_TRUE(waitUntil([&] { return !link.isConnected(); }));
  QCoreApplication::sendPostedEvents();
  EXPECT_TRUE(log.seen.isEmpty()) << log.seen.front().first.toStdString();
}

TEST(HidapiTransport, NothingOpenNothingSent) {
  // No such device on a test machine: the link stays closed and every call says so.
  HidapiTransport transport;
  EXPECT_FALSE(transport.open(0x5D17, 0xFFFE));
  std::uint8_t buffer[24];
  EXPECT_TRUE(transport.read(buffer, 10).deviceGone);
  EXPECT_FALSE(transport.write(hid::controlReport(hid::kResetAll, 0)));
  transport.close();
}
