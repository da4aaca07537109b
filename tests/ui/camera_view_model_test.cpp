#include "camera_view_model.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>

#include "notification_center.h"
#include "notification_names.h"

using namespace dravin;
namespace n = dravin::notifications;

namespace {
void rotate(const char* direction) {
  NotificationCenter::instance().post(n::kRotateCamera, {{"direction", direction}});
}
}  // namespace

TEST(CameraViewModel, RotationAndMirror) {
  CameraViewModel m;
  QSignalSpy rotations(&m, &CameraViewModel::rotationChanged);
  QSignalSpy mirrors(&m, &CameraViewModel::mirrorChanged);
  {  // left turns backwards; the angle goes negative and still reads upright or on its side
    rotate("left");
    EXPECT_DOUBLE_EQ(m.rotation(), -90.0);
    EXPECT_TRUE(m.isVertical());
    rotate("left");
    EXPECT_DOUBLE_EQ(m.rotation(), -180.0);
    EXPECT_FALSE(m.isVertical());
    rotate("left");
    EXPECT_DOUBLE_EQ(m.rotation(), -270.0);
    EXPECT_TRUE(m.isVertical());
    rotate("left");
    rotate("left");
    EXPECT_DOUBLE_EQ(m.rotation(), -450.0);
    EXPECT_TRUE(m.isVertical());
    EXPECT_EQ(rotations.count(), 5);
    EXPECT_DOUBLE_EQ(rotations.last().at(0).toDouble(), -450.0);
  }
  {  // unknown or missing directions change nothing
    rotate("up");
    NotificationCenter::instance().post(n::kRotateCamera);
    EXPECT_DOUBLE_EQ(m.rotation(), -450.0);
    EXPECT_EQ(rotations.count(), 5);
  }
  {  // mirrored, the directions swap
    NotificationCenter::instance().post(n::kMirrorCamera);
    EXPECT_TRUE(m.mirrorHorizontal());
    ASSERT_EQ(mirrors.count(), 1);
    EXPECT_TRUE(mirrors.last().at(0).toBool());
    rotate("left");
    EXPECT_DOUBLE_EQ(m.rotation(), -360.0);
    EXPECT_FALSE(m.isVertical());
    rotate("right");
    EXPECT_DOUBLE_EQ(m.rotation(), -450.0);
    NotificationCenter::instance().post(n::kMirrorCamera);
    EXPECT_FALSE(m.mirrorHorizontal());
    rotate("right");
    rotate("right");
    rotate("right");
    rotate("right");
    rotate("right");
    rotate("right");
    EXPECT_DOUBLE_EQ(m.rotation(), 90.0);
    EXPECT_TRUE(m.isVertical());
  }
  {  // whole degrees reduced into 0 ... 359 whatever the sign
    EXPECT_EQ(normalizedDegrees(-90), 270);
    EXPECT_EQ(normalizedDegrees(-450), 270);
    EXPECT_EQ(normalizedDegrees(-720), 0);
    EXPECT_EQ(normalizedDegrees(630), 270);
    EXPECT_EQ(normalizedDegrees(359.9), 359);
  }
}

TEST(CameraViewModel, SplashEndsAfterTheViewAppears) {
  CameraViewModel m;
  EXPECT_TRUE(m.showSplash());
  QSignalSpy ended(&m, &CameraViewModel::showSplashChanged);
  QElapsedTimer clock;
  clock.start();
  m.viewAppeared();
  EXPECT_TRUE(m.showSplash());
  ASSERT_TRUE(ended.wait(5000));
  EXPECT_FALSE(m.showSplash());
  EXPECT_GE(clock.elapsed(), 1900);
}
