#include "v4l2_controls.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fake_v4l2_device.h"

namespace dravin {
namespace {

const PictureControl* find(const std::vector<PictureControl>& controls, const std::string& name) {
  auto it = std::find_if(controls.begin(), controls.end(),
                         [&](const PictureControl& c) { return c.name == name; });
  return it == controls.end() ? nullptr : &*it;
}

TEST(V4l2Controls, ListsWhatTheCameraOffersWithItsOwnRangesAndMenus) {
  auto device = testing::typicalCamera();
  V4l2Controls controls(std::make_unique<testing::FakeV4l2Io>(device));
  const auto listed = controls.list();

  std::vector<std::string> names;
  for (const auto& control : listed) names.push_back(control.name);
  // Driver order; "rotate" is not a picture control the application shows.
  EXPECT_EQ(names, (std::vector<std::string>{"brightness", "contrast", "white_balance_automatic",
                                             "power_line_frequency", "white_balance_temperature",
                                             "auto_exposure", "exposure_time_absolute",
                                             "focus_absolute", "focus_automatic_continuous"}));
  {  // range, step, default and value as the camera gives them
    const auto* temperature = find(listed, "white_balance_temperature");
    ASSERT_TRUE(temperature);
    EXPECT_EQ(temperature->label, "White Balance Temperature");
    EXPECT_EQ(temperature->minimum, 2800);
    EXPECT_EQ(temperature->maximum, 6500);
    EXPECT_EQ(temperature->step, 10);
    EXPECT_EQ(temperature->defaultValue, 4600);
    EXPECT_TRUE(temperature->inactive);  // automatic white balance is on
    EXPECT_FALSE(temperature->autoMode);
  }
  {  // a menu with a gap keeps only the entries the driver answers
    const auto* exposure = find(listed, "auto_exposure");
    ASSERT_TRUE(exposure);
    EXPECT_EQ(exposure->kind, ControlKind::menu);
    EXPECT_TRUE(exposure->autoMode);
    EXPECT_EQ(exposure->menu,
              (std::vector<MenuEntry>{{1, "Manual Mode"}, {3, "Iris Priority Mode"}}));
  }
  EXPECT_EQ(find(listed, "white_balance_automatic")->kind, ControlKind::boolean);
  EXPECT_FALSE(find(listed, "brightness")->inactive);

  {  // a node that cannot be opened offers nothing
    V4l2Controls missing(std::make_unique<V4l2DeviceIo>("/dev/no-such-video-node"));
    EXPECT_TRUE(missing.list().empty());
    EXPECT_FALSE(missing.set("brightness", 1).empty());
  }
}

TEST(V4l2Controls, RefusedWritesSayWhyAndKeepTheOldValue) {
  auto device = testing::typicalCamera();
  V4l2Controls controls(std::make_unique<testing::FakeV4l2Io>(device));

  EXPECT_EQ(controls.set("brightness", 20), "");
  EXPECT_EQ(find(controls.list(), "brightness")->value, 20);

  // Out of range and off the menu: refused before the driver is asked.
  EXPECT_EQ(controls.set("brightness", 65), "brightness: 65 is outside -64 to 64");
  EXPECT_EQ(controls.set("auto_exposure", 2), "auto_exposure: 2 is not one of its choices");
  EXPECT_EQ(controls.set("zoom_absolute", 1), "zoom_absolute: the camera has no such control");
  EXPECT_EQ(controls.set("rotate", 90), "rotate: the camera has no such control");

  // The driver's own refusals.
  device->controls[V4L2_CID_CONTRAST].refuseWith = EIO;
  EXPECT_EQ(controls.set("contrast", 50), "contrast: Input/output error");
  EXPECT_EQ(controls.set("exposure_time_absolute", 500),
            "exposure_time_absolute: Permission denied");

  const auto after = controls.list();
  EXPECT_EQ(find(after, "brightness")->value, 20);
  EXPECT_EQ(find(after, "contrast")->value, 32);
  EXPECT_EQ(find(after, "exposure_time_absolute")->value, 250);
  EXPECT_EQ(device->writes.size(), 1u);

  // Manual exposure first, then the time is accepted.
  EXPECT_EQ(controls.set("auto_exposure", 1), "");
  EXPECT_EQ(controls.set("exposure_time_absolute", 500), "");
  EXPECT_FALSE(find(controls.list(), "exposure_time_absolute")->inactive);
}

TEST(V4l2Controls, ResetPutsEveryControlBackWithoutTouchingThoseAtDefault) {
  auto device = testing::typicalCamera();
  V4l2Controls controls(std::make_unique<testing::FakeV4l2Io>(device));
  for (auto [name, value] :
       std::vector<std::pair<std::string, int>>{{"brightness", 30},
                                                {"white_balance_automatic", 0},
                                                {"white_balance_temperature", 3000},
                                                {"auto_exposure", 1},
                                                {"exposure_time_absolute", 900}}) {
    ASSERT_EQ(controls.set(name, value), "") << name;
  }
  // Focus held by its automatic mode with a value off its default: only writable after the mode.
  device->controls[V4L2_CID_FOCUS_AUTO].query.default_value = 0;
  device->controls[V4L2_CID_FOCUS_ABSOLUTE].value = 100;
  device->writes.clear();

  EXPECT_TRUE(resetToDefaults(controls).empty());
  for (const auto& control : controls.list()) {
    EXPECT_EQ(control.value, control.defaultValue) << control.name;
  }
  // Manual values while their modes are still manual, then the modes, then what they held.
  using W = std::pair<std::uint32_t, std::int32_t>;
  EXPECT_EQ(device->writes, (std::vector<W>{{V4L2_CID_BRIGHTNESS, 0},
                                            {V4L2_CID_WHITE_BALANCE_TEMPERATURE, 4600},
                                            {V4L2_CID_EXPOSURE_ABSOLUTE, 250},
                                            {V4L2_CID_AUTO_WHITE_BALANCE, 1},
                                            {V4L2_CID_EXPOSURE_AUTO, 3},
                                            {V4L2_CID_FOCUS_AUTO, 0},
                                            {V4L2_CID_FOCUS_ABSOLUTE, 0}}));

  device->writes.clear();
  device->controls[V4L2_CID_CONTRAST].value = 50;
  device->controls[V4L2_CID_CONTRAST].refuseWith = EBUSY;
  EXPECT_EQ(resetToDefaults(controls),
            std::vector<std::string>{"contrast: Device or resource busy"});
  EXPECT_TRUE(device->writes.empty());
}

TEST(V4l2Controls, NamesAsV4l2CtlPrintsThem) {
  EXPECT_EQ(v4l2ControlName("White Balance, Automatic"), "white_balance_automatic");
  EXPECT_EQ(v4l2ControlName("Exposure Time, Absolute"), "exposure_time_absolute");
  EXPECT_EQ(v4l2ControlName("  Gain "), "gain");
  EXPECT_EQ(v4l2ControlName("Pan (Absolute)"), "pan_absolute");
}

}  // namespace
}  // namespace dravin
