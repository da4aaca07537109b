// The running camera's own controls in the popovers, with the demo camera's picture balance as
// the camera: rows per popover, refusals that leave the camera's value shown, the Aux Camera
// that would open the busy main camera.
#include "picture_controls_model.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QtTest/QTest>

#include "control_bar_model.h"
#include "demo_device_source.h"
#include "second_camera_model.h"

namespace dravin {
namespace {

QStringList names(const PictureControlsModel& model) {
  QStringList out;
  for (int row = 0; row < model.rowCount(); ++row) {
    out << model.data(model.index(row), PictureControlsModel::NameRole).toString();
  }
  return out;
}

int valueOf(const PictureControlsModel& model, const QString& name) {
  const int row = static_cast<int>(names(model).indexOf(name));
  return model.data(model.index(row), PictureControlsModel::ValueRole).toInt();
}

TEST(PictureControlsModel, DemoCameraControlsActAndRefusalsShowTheCamerasValue) {
  QTemporaryDir dir;
  CameraController camera(std::make_unique<DemoDeviceSource>(nullptr),
                          std::make_unique<CameraMemory>(dir.filePath("cameras.conf")));
  bool done = false;
  camera.prepare([&](std::optional<CameraControllerError>) { done = true; });
  QTRY_VERIFY_WITH_TIMEOUT(done, 20000);

  PictureControlsModel adjust;
  adjust.setCamera(&camera);
  PictureControlsModel focus;
  focus.setGroup(PictureControlsModel::Focus);
  focus.setCamera(&camera);
  EXPECT_EQ(names(adjust), (QStringList{"brightness", "contrast", "saturation", "hue"}));
  EXPECT_EQ(focus.rowCount(), 0);

  adjust.set("brightness", 40);
  EXPECT_EQ(adjust.error(), "");
  EXPECT_EQ(valueOf(adjust, "brightness"), 40);
  adjust.set("brightness", 400);
  EXPECT_EQ(adjust.error(), "brightness: 400 is outside -100 to 100");
  EXPECT_EQ(valueOf(adjust, "brightness"), 40);

  {  // beside the maker's HID sliders only what they lack
    adjust.setBesideHid(true);
    EXPECT_EQ(names(adjust), QStringList{"hue"});
    adjust.setBesideHid(false);
  }
  {  // without HID, Adjust opens for the camera's own controls; Focus has none to show
    ControlBarModel bar;
    bar.setCamera(&camera);
    bar.togglePopover(ControlBarModel::Focus);
    EXPECT_FALSE(bar.showPopoverFocus());
    bar.togglePopover(ControlBarModel::Adjust);
    EXPECT_TRUE(bar.showPopoverAdjust());
  }

  adjust.resetToDefaults();
  EXPECT_EQ(valueOf(adjust, "brightness"), 0);

  {  // the main camera chosen as the Aux Camera says why it shows nothing
    camera.curPipCamera = camera.curTarvoCamera();
    SecondCameraModel pip;
    pip.setMainController(&camera);
    pip.componentComplete();
    EXPECT_FALSE(pip.hasCamera());
    EXPECT_EQ(pip.hint(), SecondCameraModel::kBusyText);
  }
}

}  // namespace
}  // namespace dravin
