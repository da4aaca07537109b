// Format choice, preview zoom and pan, capture file names and snapshot composition: the
// arithmetic the capture session relies on, without a device.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "file_naming.h"
#include "format_choice.h"
#include "preview_geometry.h"
#include "snapshot_composer.h"

namespace dravin {
namespace {

DeviceFormat mjpeg(int width, int height) {
  return {"jpeg",
          width,
          height,
          {},
          "image/jpeg,width=" + std::to_string(width) + ",height=" + std::to_string(height)};
}

TEST(FormatChoice, PicksTheResolutionAndHoldsOrdinaryCamerasToThirtyFps) {
  TarvoCamera camera;
  camera.ultraHDFmt = mjpeg(3840, 2160);
  camera.ultraHDFps = FrameRateRange{5, 60};
  camera.hdFmt = mjpeg(1280, 720);
  camera.hdFps = FrameRateRange{60, 60};
  {  // no 1920-wide format: Full HD falls through to 4K when that is asked too, else to 720p
    EXPECT_EQ(chooseFormat(camera, true, true).format->width, 3840);
    EXPECT_EQ(chooseFormat(camera, true, false).format->width, 1280);
  }
  {  // a range reaching below 30 is capped at 30; a fixed 60 fps range cannot be
    EXPECT_EQ(chooseFormat(camera, false, true).caps,
              "image/jpeg,width=3840,height=2160,framerate=(fraction)[5/1,30/1]");
    EXPECT_EQ(chooseFormat(camera, false, false).caps,
              "image/jpeg,width=1280,height=720,framerate=60/1");
  }
  {  // a glass-board camera keeps its range's full rate
    camera.isPelora = true;
    EXPECT_EQ(chooseFormat(camera, false, true).caps,
              "image/jpeg,width=3840,height=2160,framerate=(fraction)[5/1,60/1]");
  }
  {  // no chosen format: the device's default, asked for with no caps at all
    EXPECT_EQ(chooseFormat(TarvoCamera{}, true, false).caps, "");
  }
}

DeviceFormat withRates(DeviceFormat format, std::vector<FrameRateRange> rates) {
  format.frameRateRanges = std::move(rates);
  return format;
}

DeviceFormat yuyv(int width, int height, std::vector<FrameRateRange> rates) {
  return {"yuvs", width, height, std::move(rates),
          "video/x-raw,format=YUY2,width=" + std::to_string(width) +
              ",height=" + std::to_string(height)};
}

TEST(FormatChoice, EveryCameraTakesTheClosestSizeNotAboveAtUpToThirtyFps) {
  // A common UVC camera: MJPEG up to 1080p at 60 and 30, raw at every size but slowly.
  const std::vector<DeviceFormat> formats{
      yuyv(640, 480, {{30, 30}, {15, 15}}),
      yuyv(1280, 720, {{10, 10}, {5, 5}}),
      yuyv(1920, 1080, {{5, 5}}),
      withRates(mjpeg(1920, 1080), {{60, 60}, {30, 30}, {15, 15}}),
      withRates(mjpeg(1280, 720), {{60, 60}, {30, 30}}),
      withRates(mjpeg(640, 480), {{30, 30}}),
      withRates(mjpeg(1600, 1200), {{30, 30}}),  // not above 1920 wide, but above 1080 lines
  };
  {  // 4K on a 1080p camera: its largest size, and the mode says it is short of the wish
    auto choice = chooseFormatFor(formats, 3840, 2160);
    EXPECT_EQ(choice.caps, "image/jpeg,width=1920,height=1080,framerate=30/1");
    EXPECT_EQ(describeMode(choice),
              "1920 x 1080, MJPEG, 30 fps (the camera cannot give 3840 x 2160)");
  }
  {  // 1080p: MJPEG before the slow raw format of the same size; 30 not 60
    auto choice = chooseFormatFor(formats, 1920, 1080);
    EXPECT_EQ(choice.caps, "image/jpeg,width=1920,height=1080,framerate=30/1");
    EXPECT_EQ(describeMode(choice), "1920 x 1080, MJPEG, 30 fps");
  }
  EXPECT_EQ(describeMode(chooseFormatFor(formats, 1280, 720)), "1280 x 720, MJPEG, 30 fps");
  {  // below 720 lines raw comes first
    auto choice = chooseFormatFor(formats, 640, 480);
    EXPECT_EQ(choice.caps, "video/x-raw,format=YUY2,width=640,height=480,framerate=30/1");
  }
  {  // only faster than 30 at a size: that size cannot be used; a smaller one is
    auto choice = chooseFormatFor(
        {withRates(mjpeg(1280, 720), {{60, 60}}), withRates(mjpeg(800, 600), {{25, 25}})}, 1280,
        720);
    EXPECT_EQ(describeMode(choice), "800 x 600, MJPEG, 25 fps (the camera cannot give 1280 x 720)");
  }
  {  // every size above the wish: the smallest; a continuous range is held at 30
    auto choice = chooseFormatFor(
        {withRates(mjpeg(3840, 2160), {{1, 60}}), withRates(mjpeg(1920, 1080), {{1, 60}})}, 1280,
        720);
    EXPECT_EQ(choice.caps, "image/jpeg,width=1920,height=1080,framerate=30/1");
  }
  {  // no formats known: the device's default
    auto choice = chooseFormatFor({}, 1920, 1080);
    EXPECT_FALSE(choice.format);
    EXPECT_EQ(choice.caps, "");
    EXPECT_EQ(describeMode(choice), "the camera's own format");
  }
  {  // an ordinary camera goes through the same rule from the resolution flags
    TarvoCamera camera;
    camera.camera.formats = formats;
    EXPECT_EQ(chooseFormat(camera, false, false).caps,
              "image/jpeg,width=1280,height=720,framerate=30/1");
  }
}

TEST(PreviewGeometry, ZoomKeepsTheCentreAndPanNeedsZoomBeyondTheFit) {
  PreviewGeometry geometry;
  geometry.fitView(QSizeF(1920, 1080));
  EXPECT_DOUBLE_EQ(geometry.currentZoom(), 1.5);
  EXPECT_FALSE(geometry.drag(false, 50, 50, 0)) << "a fitting picture does not pan";

  geometry.setZoom(2);
  EXPECT_EQ(geometry.frame(), QRectF(-320, -180, 2560, 1440));
  EXPECT_DOUBLE_EQ(geometry.currentZoom(), 2.0);

  {  // translations are since the drag began, not accumulated per event
    EXPECT_TRUE(geometry.drag(false, 10, 20, 0));
    EXPECT_TRUE(geometry.drag(false, 30, 40, 0));
    EXPECT_EQ(geometry.frame().topLeft(), QPointF(-290, -140));
    geometry.drag(true, 0, 0, 0);
  }
  {  // turned, the picture still follows the pointer: the axes swap and one changes sign
    EXPECT_TRUE(geometry.drag(false, 10, 20, -270));
    EXPECT_EQ(geometry.frame().topLeft(), QPointF(-270, -150)) << "a quarter turn right";
    geometry.drag(true, 0, 0, 0);
    EXPECT_TRUE(geometry.drag(false, 10, 20, 270));
    EXPECT_EQ(geometry.frame().topLeft(), QPointF(-290, -140)) << "a quarter turn left";
    geometry.drag(true, 0, 0, 0);
  }
  {  // mirrored and upside down: only the vertical sense turns
    EXPECT_TRUE(geometry.drag(false, 10, 20, 180, true));
    EXPECT_EQ(geometry.frame().topLeft(), QPointF(-280, -160));
  }
}

TEST(CaptureFiles, NamesFollowTheClockAndNeverOverwrite) {
  const QDateTime when(QDate(2025, 2, 3), QTime(9, 5, 7));
  EXPECT_EQ(makeFileName(".png", when), "20250203_090507.png");

  QTemporaryDir dir;
  EXPECT_TRUE(claimCaptureFile(dir.path(), ".png", when).endsWith("/20250203_090507.png"));
  EXPECT_TRUE(claimCaptureFile(dir.path(), ".png", when).endsWith("/20250203_090507-2.png"));
  EXPECT_TRUE(claimCaptureFile(dir.path(), ".mp4", when).endsWith("/20250203_090507.mp4"));
  EXPECT_TRUE(claimCaptureFile(dir.path(), ".png", when).endsWith("/20250203_090507-3.png"));
  EXPECT_EQ(claimCaptureFile(dir.path() + "/missing", ".png", when), "");
}

TEST(SnapshotComposer, ReproducesZoomRotationMirrorAndBoard) {
  // A picture whose left half is red and right half blue.
  QImage picture(160, 90, QImage::Format_RGB32);
  picture.fill(Qt::red);
  for (int y = 0; y < 90; ++y) {
    for (int x = 80; x < 160; ++x) picture.setPixel(x, y, qRgb(0, 0, 255));
  }
  SnapshotLayout layout{
      QSize(320, 180), QPointF(160, 90), QSizeF(320, 180), QRectF(0, 0, 320, 180), 0, false};
  {  // fitted into the whole window
    QImage shot = composeSnapshot(picture, layout);
    EXPECT_EQ(shot.size(), QSize(320, 180));
    EXPECT_EQ(shot.pixel(20, 90), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(300, 90), qRgb(0, 0, 255));
  }
  {  // mirrored: the sides swap
    layout.mirrorHorizontal = true;
    QImage shot = composeSnapshot(picture, layout);
    EXPECT_EQ(shot.pixel(20, 90), qRgb(0, 0, 255));
    layout.mirrorHorizontal = false;
  }
  {  // zoomed to twice the window around its centre: the middle columns fill it
    layout.previewFrame = QRectF(-160, -90, 640, 360);
    QImage shot = composeSnapshot(picture, layout);
    EXPECT_EQ(shot.pixel(150, 5), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(170, 5), qRgb(0, 0, 255));
    layout.previewFrame = QRectF(0, 0, 320, 180);
  }
  {  // turned a quarter right: the left half ends on top
    layout.pictureSize = QSizeF(180, 320);
    layout.previewFrame = QRectF(0, 0, 180, 320);
    layout.rotation = 90;
    QImage shot = composeSnapshot(picture, layout);
    EXPECT_EQ(shot.pixel(160, 20), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(160, 160), qRgb(0, 0, 255));
    EXPECT_EQ(shot.pixel(20, 90), qRgb(0, 0, 0)) << "outside the turned picture";
  }
  {  // turned and mirrored: the mirror flips what the viewer sees, so the top stays on top
    layout.mirrorHorizontal = true;
    QImage shot = composeSnapshot(picture, layout);
    EXPECT_EQ(shot.pixel(160, 20), qRgb(255, 0, 0));
    layout.mirrorHorizontal = false;
  }
  {  // the board lies over everything, its transparent parts let the picture through
    layout = SnapshotLayout{
        QSize(320, 180), QPointF(160, 90), QSizeF(320, 180), QRectF(0, 0, 320, 180), 0, false};
    QImage board(320, 180, QImage::Format_ARGB32_Premultiplied);
    board.fill(Qt::transparent);
    board.setPixel(20, 20, qRgb(0, 255, 0));
    QImage shot = composeSnapshot(picture, layout, board);
    EXPECT_EQ(shot.pixel(20, 20), qRgb(0, 255, 0));
    EXPECT_EQ(shot.pixel(40, 40), qRgb(255, 0, 0));
  }
}

}  // namespace
}  // namespace dravin
