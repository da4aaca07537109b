#include "camera_memory.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace dravin {
namespace {

TarvoCamera usbCamera(const std::string& serial, const std::string& port) {
  CaptureDevice device;
  device.uniqueID = "pci-0000:00:14.0-usb-0:2:1.0:046d085e";
  device.name = "Desk Cam";
  device.usbSerial = serial;
  device.usbPort = port;
  return TarvoCamera(device);
}

PictureControl control(const std::string& name, bool autoMode = false) {
  PictureControl c;
  c.name = name;
  c.autoMode = autoMode;
  return c;
}

TEST(CameraMemory, KeyIsVendorProductAndSerialElseThePort) {
  EXPECT_EQ(cameraMemoryKey(usbCamera("A1B2", "1-2")), "usb-046d085e-A1B2");
  EXPECT_EQ(cameraMemoryKey(usbCamera("", "1-2.3")), "usb-046d085e-port-1-2.3");
  // Two of one model on different ports, or with different serials, are two cameras.
  EXPECT_NE(cameraMemoryKey(usbCamera("", "1-2")), cameraMemoryKey(usbCamera("", "1-3")));
  EXPECT_NE(cameraMemoryKey(usbCamera("X", "1-2")), cameraMemoryKey(usbCamera("Y", "1-2")));
  // The same serial on another port is the same camera.
  EXPECT_EQ(cameraMemoryKey(usbCamera("X", "1-2")), cameraMemoryKey(usbCamera("X", "3-1")));
  {  // no USB ids: the device's own identifier
    CaptureDevice device;
    device.uniqueID = "demo-camera";
    EXPECT_EQ(cameraMemoryKey(TarvoCamera(device)), "demo-camera");
  }
}

TEST(CameraMemory, KeptAcrossRestartsPerCameraAndForgotten) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString file = dir.filePath("Dravin.conf");
  {
    CameraMemory memory(file);
    memory.rememberControl("usb-046d085e-A1B2", "brightness", 20);
    memory.rememberControl("usb-046d085e-A1B2", "brightness", 25);  // the last value counts
    memory.rememberControl("usb-046d085e-A1B2", "white_balance_automatic", 0);
    memory.rememberResolution("usb-046d085e-A1B2", "720P@30fps");
    memory.rememberControl("usb/odd\\key", "contrast", 7);
  }
  CameraMemory memory(file);
  const auto remembered = memory.recall("usb-046d085e-A1B2");
  EXPECT_EQ(remembered.resolution, "720P@30fps");
  EXPECT_EQ(remembered.controls,
            (std::vector<ControlWrite>{{"brightness", 25}, {"white_balance_automatic", 0}}));
  EXPECT_EQ(memory.recall("usb/odd\\key").controls, (std::vector<ControlWrite>{{"contrast", 7}}));
  // Another camera has nothing remembered.
  EXPECT_TRUE(memory.recall("usb-046d085e-port-1-2").controls.empty());
  EXPECT_TRUE(memory.recall("usb-046d085e-port-1-2").resolution.isEmpty());

  memory.forgetControls("usb-046d085e-A1B2");
  CameraMemory reopened(file);
  EXPECT_TRUE(reopened.recall("usb-046d085e-A1B2").controls.empty());
  EXPECT_EQ(reopened.recall("usb-046d085e-A1B2").resolution, "720P@30fps");

  {  // a value edited into something that is not a number is passed over, the rest kept
    QFile text(file);
    ASSERT_TRUE(text.open(QIODevice::Append));
    text.write("\n[cameras]\nusb-1-x\\controls\\gain=loud\nusb-1-x\\controls\\gamma=120\n");
  }
  EXPECT_EQ(CameraMemory(file).recall("usb-1-x").controls,
            (std::vector<ControlWrite>{{"gamma", 120}}));
}

TEST(CameraMemory, RestoresFormatFirstThenAutoModesThenManualValues) {
  const std::vector<PictureControl> offered{control("brightness"),
                                            control("white_balance_temperature"),
                                            control("white_balance_automatic", true),
                                            control("exposure_time_absolute"),
                                            control("auto_exposure", true),
                                            control("focus_absolute")};
  RememberedCamera remembered;
  remembered.controls = {{"exposure_time_absolute", 400},
                         {"zoom_absolute", 3},  // this camera has no zoom
                         {"auto_exposure", 1},
                         {"white_balance_temperature", 3500},
                         {"white_balance_automatic", 0},
                         {"brightness", 10}};
  auto plan = planRestore(remembered, "1080P@30fps", offered);
  EXPECT_EQ(plan.resolution, "1080P@30fps");  // none of its own: the one for every camera
  EXPECT_EQ(plan.writes, (std::vector<ControlWrite>{{"white_balance_automatic", 0},
                                                    {"auto_exposure", 1},
                                                    {"brightness", 10},
                                                    {"white_balance_temperature", 3500},
                                                    {"exposure_time_absolute", 400}}));

  remembered.resolution = "4K@30fps";
  EXPECT_EQ(planRestore(remembered, "1080P@30fps", offered).resolution, "4K@30fps");

  // A camera whose controls were never touched has none written.
  EXPECT_TRUE(planRestore(RememberedCamera{}, "720P@30fps", offered).writes.empty());
}

}  // namespace
}  // namespace dravin
