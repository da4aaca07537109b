#include "hot_plug.h"

#include <gtest/gtest.h>

namespace dravin {
namespace {

TarvoCamera camera(const std::string& id) {
  CaptureDevice device;
  device.uniqueID = id;
  device.name = id;
  return TarvoCamera(device);
}

TarvoMic mic(const std::string& id) {
  CaptureDevice device;
  device.kind = DeviceKind::audio;
  device.uniqueID = id;
  return TarvoMic(device);
}

using Kind = PlugAction::Kind;

TEST(HotPlug, TheRunningCameraIsLostAndComesBackWhenPluggedInAgain) {
  const auto a = camera("a"), b = camera("b");
  DiscoveredDevices both{{a, b}, {mic("m1"), mic("m2")}};
  DiscoveredDevices onlyB{{b}, {mic("m1"), mic("m2")}};

  PlugState running{"a", "m2", ""};
  EXPECT_EQ(decidePlug({a, b}, both, running).kind, Kind::none);
  EXPECT_EQ(decidePlug({a, b}, onlyB, running).kind, Kind::loseCamera);

  // Lost: the other camera present does not take over; the lost one starts when back, with the
  // microphone that ran.
  PlugState lost{std::nullopt, std::nullopt, "a"};
  EXPECT_EQ(decidePlug({a, b}, onlyB, lost).kind, Kind::none);
  auto back = decidePlug({b}, both, lost);
  EXPECT_EQ(back.kind, Kind::startCamera);
  EXPECT_EQ(back.camera->uniqueID, "a");
  EXPECT_EQ(back.mic->mic.uniqueID, "m1");

  // Another camera plugged in while the lost one is away starts: none runs.
  const auto c = camera("c");
  auto other = decidePlug({b}, DiscoveredDevices{{b, c}, {}}, lost);
  EXPECT_EQ(other.kind, Kind::startCamera);
  EXPECT_EQ(other.camera->uniqueID, "c");
  EXPECT_FALSE(other.mic);
}

TEST(HotPlug, ACameraPluggedInWhenNoneRunsStartsAndAMissingMicIsReplaced) {
  const auto a = camera("a");
  PlugState nothing;
  EXPECT_EQ(decidePlug({}, DiscoveredDevices{}, nothing).kind, Kind::none);
  auto first = decidePlug({}, DiscoveredDevices{{a}, {mic("m1")}}, nothing);
  EXPECT_EQ(first.kind, Kind::startCamera);
  EXPECT_EQ(first.camera->uniqueID, "a");

  // The microphone unplugged under a running camera: the camera stays, with the next one.
  PlugState running{"a", "m1", ""};
  auto replaced = decidePlug({a}, DiscoveredDevices{{a}, {mic("m2")}}, running);
  EXPECT_EQ(replaced.kind, Kind::replaceMic);
  EXPECT_EQ(replaced.camera->uniqueID, "a");
  EXPECT_EQ(replaced.mic->mic.uniqueID, "m2");
  auto silent = decidePlug({a}, DiscoveredDevices{{a}, {}}, running);
  EXPECT_EQ(silent.kind, Kind::replaceMic);
  EXPECT_FALSE(silent.mic);
  // A microphone plugged in beside a running camera changes nothing.
  EXPECT_EQ(decidePlug({a}, DiscoveredDevices{{a}, {mic("m1"), mic("m3")}}, running).kind,
            Kind::none);
}

}  // namespace
}  // namespace dravin
