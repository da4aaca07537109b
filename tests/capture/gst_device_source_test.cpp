// The GStreamer device source: caps to formats, USB ids from a fake sysfs tree, launch texts,
// the demo devices' pipelines, and a monitor run that must come back.
#include <gst/app/gstappsink.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "demo_device_source.h"
#include "gst_device_source.h"
#include "gst_ptr.h"

namespace dravin {
namespace {

namespace fs = std::filesystem;

std::vector<DeviceFormat> formatsOf(const char* text) {
  gst::CapsPtr caps(gst_caps_from_string(text));
  EXPECT_TRUE(caps) << text;
  return gstdevice::formatsFromCaps(caps.get());
}

void writeFile(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text;
}

// A USB camera as the kernel lays it out: the node's device is an interface of the USB device.
fs::path fakeUsbNode(const fs::path& root, const std::string& node, const std::string& vendor,
                     const std::string& product) {
  const auto usbDevice = root / "devices" / "usb1" / ("1-" + node);
  writeFile(usbDevice / "idVendor", vendor + "\n");
  writeFile(usbDevice / "idProduct", product + "\n");
  fs::create_directories(usbDevice / "1-1:1.0");
  fs::create_directories(root / "class" / "video4linux" / node);
  fs::create_directory_symlink(usbDevice / "1-1:1.0",
                               root / "class" / "video4linux" / node / "device");
  return usbDevice;
}

TEST(GstDeviceSource, FormatsFromCaps) {
  {  // the media types and raw formats, frame rates as value, list and range
    auto formats = formatsOf(
        "image/jpeg, width=1920, height=1080, framerate={ 30/1, 25/1, 15/2 }; "
        "video/x-h264, stream-format=byte-stream, width=3840, height=2160, framerate=30000/1001; "
        "video/x-raw, format=YUY2, width=640, height=480, framerate=[ 5/1, 60/1 ]; "
        "video/x-raw, format=NV12, width=1280, height=720, framerate=30/1; "
        "video/x-raw, format=I420, width=320, height=240, framerate=30/1; "
        "video/x-raw, format=GRAY16_LE, width=320, height=240, framerate=30/1");
    ASSERT_EQ(formats.size(), 6u);
    EXPECT_EQ(formats[0], (DeviceFormat{"jpeg",
                                        1920,
                                        1080,
                                        {{30, 30}, {25, 25}, {7.5, 7.5}},
                                        "image/jpeg,width=1920,height=1080"}));
    EXPECT_EQ(formats[1].mediaSubtype, "avc1");
    EXPECT_EQ(formats[1].caps, "video/x-h264,width=3840,height=2160");
    ASSERT_EQ(formats[1].frameRateRanges.size(), 1u);
    EXPECT_NEAR(formats[1].frameRateRanges[0].maxFrameRate, 29.97, 0.001);
    EXPECT_EQ(formats[2],
              (DeviceFormat{
                  "yuvs", 640, 480, {{5, 60}}, "video/x-raw,format=YUY2,width=640,height=480"}));
    EXPECT_EQ(formats[3].mediaSubtype, "420v");
    EXPECT_EQ(formats[4].mediaSubtype, "420p");
    EXPECT_EQ(formats[5].mediaSubtype, "GRAY");
    EXPECT_EQ(formats[5].caps, "video/x-raw,format=GRAY16_LE,width=320,height=240");
    // Each format's caps text selects that format again.
    for (const auto& f : formats) {
      gst::CapsPtr selected(gst_caps_from_string(f.caps.c_str()));
      ASSERT_TRUE(selected) << f.caps;
      EXPECT_TRUE(gst_caps_is_fixed(selected.get())) << f.caps;
    }
  }
  {  // one structure per frame rate merges into one format; repeated rates are kept once
    auto formats = formatsOf(
        "image/jpeg, width=1280, height=720, framerate=60/1; "
        "video/x-raw, format=YUY2, width=1280, height=720, framerate=10/1; "
        "image/jpeg, width=1280, height=720, framerate=30/1; "
        "image/jpeg, width=1280, height=720, framerate=30/1");
    ASSERT_EQ(formats.size(), 2u);
    EXPECT_EQ(formats[0].mediaSubtype, "jpeg");
    EXPECT_EQ(formats[0].frameRateRanges, (std::vector<FrameRateRange>{{60, 60}, {30, 30}}));
    EXPECT_EQ(formats[1].mediaSubtype, "yuvs");
  }
  {  // sizes that are not fixed, unknown media types, raw without one format, special memory
    auto formats = formatsOf(
        "image/jpeg, width=[ 1, 1920 ], height=1080; image/jpeg, width=1920; "
        "video/x-bayer, format=bggr, width=640, height=480; "
        "video/x-raw, format={ YUY2, NV12 }, width=640, height=480; "
        "video/x-raw(memory:DMABuf), format=NV12, width=640, height=480; "
        "image/jpeg, width=800, height=600");
    ASSERT_EQ(formats.size(), 1u);
    EXPECT_EQ(formats[0].width, 800);
    EXPECT_TRUE(formats[0].frameRateRanges.empty());
  }
  EXPECT_TRUE(gstdevice::formatsFromCaps(nullptr).empty());
}

TEST(GstDeviceSource, UsbIdsFromSysfs) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const fs::path root = dir.path().toStdString();
  fakeUsbNode(root, "video2", "5D17", "002c");
  fakeUsbNode(root, "video4", "046d", "08e5x");  // not four hex digits
  // A node whose device has no USB parent, as for a built-in platform camera.
  fs::create_directories(root / "class" / "video4linux" / "video6" / "device");

  EXPECT_EQ(gstdevice::usbIdsOfVideoNode(root, "/dev/video2"), "5d17002c");
  EXPECT_EQ(gstdevice::usbIdsOfVideoNode(root, "/dev/video4"), "");
  EXPECT_EQ(gstdevice::usbIdsOfVideoNode(root, "/dev/video6"), "");
  EXPECT_EQ(gstdevice::usbIdsOfVideoNode(root, "/dev/video9"), "");
  EXPECT_EQ(gstdevice::usbIdsOfVideoNode(root, "/dev/../video2/.."), "");
  {  // serial number and port tell cameras of one model apart
    writeFile(root / "devices" / "usb1" / "1-video2" / "serial", "SN 0042\n");
    const auto place = gstdevice::usbPlaceOfVideoNode(root, "/dev/video2");
    EXPECT_EQ(place.serial, "SN 0042");
    EXPECT_EQ(place.port, "1-video2");
    EXPECT_EQ(gstdevice::usbPlaceOfVideoNode(root, "/dev/video6").port, "");
  }

  gst::CapsPtr caps(gst_caps_from_string("image/jpeg, width=1920, height=1080, framerate=30/1"));
  auto make = [&](const char* name, const char* properties) {
    gstdevice::StructurePtr props(gst_structure_from_string(properties, nullptr));
    return gstdevice::makeVideoDevice(name, props.get(), caps.get(), root);
  };
  {  // a USB camera: bus path and ids
    auto device = make("Nolbek Cam",
                       "props, api.v4l2.path=/dev/video2, "
                       "device.bus_path=pci-0000:00:14.0-usb-0:2:1.0");
    ASSERT_TRUE(device);
    EXPECT_EQ(device->uniqueID, "pci-0000:00:14.0-usb-0:2:1.0:5d17002c");
    EXPECT_EQ(device->sourceLaunch, "v4l2src device=/dev/video2");
    EXPECT_EQ(device->devicePath, "/dev/video2");
    EXPECT_EQ(device->usbSerial, "SN 0042");
    EXPECT_EQ(device->name, "Nolbek Cam");
    EXPECT_EQ(device->kind, DeviceKind::video);
    ASSERT_EQ(device->formats.size(), 1u);
  }
  {  // the older property name, no bus path
    auto device = make("Cam", "props, device.path=/dev/video2");
    ASSERT_TRUE(device);
    EXPECT_EQ(device->uniqueID, "/dev/video2:5d17002c");
  }
  {  // without ids the identifier is the node's path alone
    auto device = make("", "props, api.v4l2.path=/dev/video6, device.bus_path=platform-cam");
    ASSERT_TRUE(device);
    EXPECT_EQ(device->uniqueID, "/dev/video6");
    EXPECT_FALSE(device->name);
  }
  {  // no device node: not a camera this application can open
    EXPECT_FALSE(make("Cam", "props, x=1"));
    EXPECT_FALSE(gstdevice::makeVideoDevice("Cam", nullptr, caps.get(), root));
  }
}

TEST(GstDeviceSource, LaunchTextsParseBack) {
  EXPECT_EQ(gstdevice::launchWithDevice("v4l2src", "/dev/video0"), "v4l2src device=/dev/video0");
  for (const std::string name : {"alsa_input.usb-Nolbek_Cam_01-02.analog-stereo",
                                 "a name with spaces", "quote\"and\\", "bang!pipe"}) {
    GError* error = nullptr;
    gst::ElementPtr element(
        gst_parse_launch(gstdevice::launchWithDevice("pulsesrc", name).c_str(), &error));
    ASSERT_EQ(error, nullptr) << name << ": " << error->message;
    gchar* value = nullptr;
    g_object_get(element.get(), "device", &value, nullptr);
    EXPECT_STREQ(value, name.c_str());
    g_free(value);
  }
}

// Pulls one buffer from a demo pipeline ending in an appsink named "sink".
gst::SamplePtr firstSample(const std::string& description) {
  GError* error = nullptr;
  gst::ElementPtr pipeline(gst_parse_launch(description.c_str(), &error));
  EXPECT_EQ(error, nullptr) << description;
  if (error) {
    g_error_free(error);
    return nullptr;
  }
  gst::ElementPtr sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "sink"));
  gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
  gst::SamplePtr sample(gst_app_sink_try_pull_sample(GST_APP_SINK(sink.get()), 20 * GST_SECOND));
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  return sample;
}

TEST(GstDeviceSource, DemoDevicesRun) {
  const auto camera = DemoDeviceSource::demoCamera();
  ASSERT_EQ(camera.formats.size(), 3u);
  EXPECT_EQ(camera.formats[0].caps, "image/jpeg,width=1920,height=1080");
  for (const auto& f : {camera.formats[0], camera.formats[1]}) {
    // Decodable MJPEG in the size each offered format names.
    auto sample = firstSample(camera.sourceLaunch + " ! " + f.caps +
                              ",framerate=30/1 ! jpegdec ! appsink name=sink");
    ASSERT_TRUE(sample) << f.caps;
    const GstStructure* s = gst_caps_get_structure(gst_sample_get_caps(sample.get()), 0);
    int width = 0;
    int height = 0;
    ASSERT_TRUE(gst_structure_get_int(s, "width", &width) &&
                gst_structure_get_int(s, "height", &height));
    EXPECT_EQ(width, f.width);
    EXPECT_EQ(height, f.height);
  }
  auto sound = firstSample(DemoDeviceSource::demoMicrophone().sourceLaunch +
                           " ! audio/x-raw ! appsink name=sink");
  EXPECT_TRUE(sound);
}

TEST(GstDeviceSource, MonitorReturns) {
  // No camera and no sound server on a build machine: the probe must still come back.
  GstDeviceSource source;
  for (const auto& device : source.videoDevices()) {
    EXPECT_EQ(device.kind, DeviceKind::video);
    EXPECT_FALSE(device.sourceLaunch.empty());
  }
  for (const auto& device : source.audioDevices()) {
    EXPECT_EQ(device.kind, DeviceKind::audio);
    EXPECT_FALSE(device.uniqueID.empty());
  }
}

}  // namespace
}  // namespace dravin
