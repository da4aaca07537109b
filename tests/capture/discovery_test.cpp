// Device records and discovery over a fake device list: ordering, USB ids, formats, errors.
#include <gtest/gtest.h>

#include <QVariantMap>
#include <iostream>
#include <sstream>
#include <unordered_set>

#include "../log_capture.h"
#include "camera_controller_error.h"
#include "demo_device_source.h"
#include "device_discovery.h"
#include "tarvo_camera.h"

namespace dravin {
namespace {

class FakeSource : public DeviceSource {
 public:
  std::vector<CaptureDevice> videos;
  std::vector<CaptureDevice> audios;
  std::vector<CaptureDevice> videoDevices() override { return videos; }
  std::vector<CaptureDevice> audioDevices() override { return audios; }
};

CaptureDevice video(std::optional<std::string> name, std::string uniqueID,
                    std::vector<DeviceFormat> formats = {}) {
  return {DeviceKind::video,
          std::move(uniqueID),
          std::move(name),
          std::move(formats),
          "v4l2src",
          {},
          {},
          {}};
}

CaptureDevice audio(std::string name) {
  return {DeviceKind::audio, name + "-id", name, {}, "pulsesrc", {}, {}, {}};
}

DeviceFormat format(std::string subtype, int width, std::vector<FrameRateRange> rates,
                    std::string caps = {}) {
  return {std::move(subtype), width, width * 9 / 16, std::move(rates), std::move(caps)};
}

std::vector<std::string> namesOf(const std::vector<TarvoCamera>& cameras) {
  std::vector<std::string> names;
  for (const auto& c : cameras) names.push_back(c.name.value_or("<none>"));
  return names;
}

using Names = std::vector<std::string>;

// Discovery over these cameras and one microphone.
DiscoveredDevices discoverCameras(std::vector<CaptureDevice> videos) {
  FakeSource source;
  source.videos = std::move(videos);
  source.audios = {audio("Mic")};
  return discoverDevices(source);
}

TEST(TarvoCamera, UsbIdsAndFeatures) {
  {  // the maker's ASR camera
    TarvoCamera c(video("Nolbek Cam", "pci-0000:00:14.0-usb-0:1:1.0:5D170029"));
    EXPECT_EQ(c.vendorID, 0x5D17);
    EXPECT_EQ(c.productID, 0x29);
    EXPECT_TRUE(c.isASRSupported);
    EXPECT_TRUE(c.isHIDControlSupported);
    EXPECT_FALSE(c.isHIDButtonSupported);
    EXPECT_EQ(c.reportSize, 24);
    EXPECT_TRUE(c.isNolbek);
    EXPECT_FALSE(c.isPelora);
  }
  {  // a button camera, lower-case hex
    TarvoCamera c(video("BREVIK visualiser", "usb:5d17002c"));
    EXPECT_EQ(c.productID, 0x2C);
    EXPECT_TRUE(c.isHIDButtonSupported);
    EXPECT_FALSE(c.isASRSupported);
    EXPECT_FALSE(c.isHIDControlSupported);
    EXPECT_EQ(c.reportSize, 1);
    EXPECT_TRUE(c.isNolbek);
  }
  {  // another vendor: ids read, no features, not the glass-board line whatever its name
    TarvoCamera c(video("Pelora Webcam", "x:046d0825"));
    EXPECT_EQ(c.vendorID, 0x046D);
    EXPECT_EQ(c.productID, 0x0825);
    EXPECT_FALSE(c.isPelora);
    EXPECT_FALSE(c.isNolbek);
    EXPECT_FALSE(c.isHIDControlSupported);
    EXPECT_EQ(c.reportSize, 24);
  }
  {  // the maker's product outside every table
    TarvoCamera c(video("Nolbek Pelora Board", "bus:5D170099"));
    EXPECT_TRUE(c.isPelora);
    EXPECT_FALSE(c.isASRSupported || c.isHIDControlSupported || c.isHIDButtonSupported);
  }
  for (const std::string id : {"/dev/video0", "5D17002", "", "abc:5D17-029"}) {
    LogCapture log;
    TarvoCamera c(video("Nolbek Pelora", id));
    EXPECT_EQ(c.vendorID, 0) << id;
    EXPECT_EQ(c.productID, 0) << id;
    EXPECT_FALSE(c.isPelora) << id;
    EXPECT_FALSE(c.isHIDControlSupported) << id;
    EXPECT_EQ(log.text(), "Old Macbook Air: camera.uniqueID = " + id + "\n");
  }
  {  // a nameless device is nobody's
    TarvoCamera c(video(std::nullopt, "x:5D170022"));
    EXPECT_FALSE(c.isNolbek);
    EXPECT_FALSE(c.isPelora);
    EXPECT_TRUE(c.isHIDControlSupported);
  }
}

TEST(TarvoCamera, ValueSemantics) {
  const auto device = video("Nolbek A", "a:5D170022");
  TarvoCamera a(device);
  TarvoCamera b(device);
  EXPECT_NE(a.id, b.id);  // every record gets an identity of its own
  EXPECT_NE(a, b);
  TarvoCamera copy = a;
  EXPECT_EQ(copy, a);
  copy.hdFps = FrameRateRange{30, 30};
  EXPECT_NE(copy, a);

  std::unordered_set<TarvoCamera> set{a, a, b};
  EXPECT_EQ(set.size(), 2u);

  // Travels inside a notification's user info.
  QVariantMap info{{"tarvoCamera", QVariant::fromValue(a)}};
  ASSERT_TRUE(info["tarvoCamera"].canConvert<TarvoCamera>());
  EXPECT_EQ(info["tarvoCamera"].value<TarvoCamera>(), a);

  TarvoMic mic(audio("Nolbek Mic"));
  EXPECT_TRUE(mic.isNolbek);
  EXPECT_FALSE(TarvoMic(audio("Brevik Mic")).isNolbek);  // microphones go by one name only
  EXPECT_EQ(QVariant::fromValue(mic).value<TarvoMic>(), mic);
}

TEST(DeviceDiscovery, CameraOrder) {
  {  // maker's A, B, C → A, C, B; other cameras follow in discovery order
    LogCapture log;
    auto found = discoverCameras({video("Built-in", "/dev/video0"), video("Nolbek A", "a:5D170022"),
                                  video("Webcam", "w:046d0825"), video("Nolbek B", "b:5D170024"),
                                  video("Brevik C", "c:5D17002B")});
    EXPECT_EQ(namesOf(found.cameras),
              (Names{"Nolbek A", "Brevik C", "Nolbek B", "Built-in", "Webcam"}));
  }
  {  // a glass-board camera goes first even after two maker's cameras
    auto found = discoverCameras({video("Nolbek A", "a:5D170022"), video("Nolbek B", "b:5D170024"),
                                  video("Nolbek Pelora Board", "p:5D170016"),
                                  video("Nolbek D", "d:5D170026")});
    EXPECT_EQ(namesOf(found.cameras),
              (Names{"Nolbek Pelora Board", "Nolbek D", "Nolbek A", "Nolbek B"}));
    EXPECT_TRUE(found.cameras[0].isPelora);
  }
  {  // the own virtual camera and a nameless device are left out and logged
    LogCapture log;
    auto found =
        discoverCameras({video("Pelora AppCam", "/dev/video9"), video("Webcam", "w:046d0825"),
                         video(std::nullopt, "/dev/video8"), video("Other appcam", "/dev/video7")});
    EXPECT_EQ(namesOf(found.cameras), (Names{"Webcam", "Other appcam"}));
    EXPECT_NE(log.text().find("\nPelora AppCam is a virtual camera.\n"), std::string::npos)
        << log.text();
    EXPECT_NE(log.text().find("\n is a virtual camera.\n"), std::string::npos) << log.text();
  }
  {  // the virtual camera alone: an empty list, not an error
    LogCapture log;
    EXPECT_TRUE(discoverCameras({video("Pelora AppCam", "/dev/video9")}).cameras.empty());
  }
}

TEST(DeviceDiscovery, MicsAndErrors) {
  FakeSource source;
  source.videos = {video("Webcam", "w:046d0825")};
  source.audios = {audio("Built-in"), audio("Nolbek One"), audio("USB"), audio("NOLBEK Two")};
  auto found = discoverDevices(source);
  std::vector<std::string> mics;
  for (const auto& m : found.mics) mics.push_back(*m.name);
  EXPECT_EQ(mics, (Names{"NOLBEK Two", "Nolbek One", "Built-in", "USB"}));

  auto failure = [&] {
    try {
      discoverDevices(source);
    } catch (const CameraControllerError& e) {
      return std::optional(e.code());
    }
    return std::optional<CameraControllerError::Code>();
  };
  source.audios.clear();
  EXPECT_EQ(failure(), CameraControllerError::Code::noMicrophonesAvailable);
  source.videos.clear();
  EXPECT_EQ(failure(), CameraControllerError::Code::noCamerasAvailable);
}

TEST(DeviceDiscovery, FormatChoice) {
  auto discoverOne = [](CaptureDevice device) {
    return discoverCameras({std::move(device)}).cameras.at(0);
  };
  {  // uncompressed formats only: nothing chosen
    auto c = discoverOne(video("Nolbek", "n:5D170022",
                               {format("yuvs", 1920, {{30, 30}}), format("yuvs", 1280, {{30, 30}}),
                                format("yuvs", 3840, {{30, 30}})}));
    EXPECT_FALSE(c.fullHDFmt || c.hdFmt || c.ultraHDFmt || c.fullHDFps || c.hdFps || c.ultraHDFps);
  }
  {  // by width; the later of two 1920-wide formats wins; the first range above 25 fps
    auto c = discoverOne(
        video("Nolbek", "n:5D170022",
              {format("jpeg", 1920, {{5, 15}, {30, 30}}, "first"), format("yuvs", 1920, {{60, 60}}),
               format("avc1", 1920, {{10, 25.4}, {25.5, 25.5}, {60, 60}}, "second"),
               format("jpeg", 1280, {{60, 60}}), format("jpeg", 3840, {{15, 15}}),
               format("jpeg", 640, {{30, 30}})}));
    ASSERT_TRUE(c.fullHDFmt);
    EXPECT_EQ(c.fullHDFmt->caps, "second");
    EXPECT_EQ(c.fullHDFps, (FrameRateRange{25.5, 25.5}));
    ASSERT_TRUE(c.hdFmt);
    EXPECT_EQ(c.hdFps, (FrameRateRange{60, 60}));
    ASSERT_TRUE(c.ultraHDFmt);
    EXPECT_FALSE(c.ultraHDFps);  // 15 fps does not qualify
  }
  {  // a later format without a fast range does not inherit the earlier format's range
    auto c = discoverOne(video("Nolbek", "n:5D170022",
                               {format("avc1", 1920, {{30, 30}}, "fast"),
                                format("jpeg", 1920, {{15, 15}, {25.4, 25.4}}, "slow")}));
    ASSERT_TRUE(c.fullHDFmt);
    EXPECT_EQ(c.fullHDFmt->caps, "slow");
    EXPECT_FALSE(c.fullHDFps);
  }
  {  // other makers' cameras keep their default format
    auto c = discoverOne(video("Webcam", "w:046d0825", {format("jpeg", 1920, {{30, 30}})}));
    EXPECT_FALSE(c.fullHDFmt);
    EXPECT_FALSE(c.fullHDFps);
  }
}

TEST(DeviceDiscovery, DemoDevicesAndLogLines) {
  FakeSource* inner = new FakeSource;
  inner->videos = {video("Nolbek A", "a:5D170022")};
  DemoDeviceSource source{std::unique_ptr<DeviceSource>(inner)};
  LogCapture log;  // the demo camera's id is not a USB id
  auto found = discoverDevices(source);
  EXPECT_EQ(namesOf(found.cameras), (Names{"Nolbek A", "Demo Camera"}));
  ASSERT_EQ(found.mics.size(), 1u);
  EXPECT_EQ(found.mics[0].name, "Demo Microphone");
  EXPECT_EQ(found.cameras[1].uniqueID, "demo-camera");

  auto lines = describeDevices(found);
  ASSERT_EQ(lines.size(), 2u);
  for (const auto& line : lines) EXPECT_EQ(line.find('\n'), std::string::npos);
  EXPECT_NE(lines[0].find("Nolbek A"), std::string::npos);
  EXPECT_LT(lines[0].find("Nolbek A"), lines[0].find("Demo Camera"));
  EXPECT_NE(lines[1].find("Demo Microphone"), std::string::npos);

  EXPECT_EQ(DemoDeviceSource(nullptr).videoDevices().size(), 1u);
}

}  // namespace
}  // namespace dravin
