// The second cameras on GStreamer's test sources: the document camera's rate rule, its latest
// frame for the board, the picture-in-picture camera's failures and camera change, and closing.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <QVideoSink>
#include <atomic>

#include "doccam_controller.h"
#include "pip_controller.h"
#include "test_devices.h"

namespace dravin {
namespace {

constexpr int kWaitMs = 20000;
const QString kDataUrlPrefix = QStringLiteral("data:image/jpeg;base64,");

TarvoCamera testCamera(int width, int height) {
  const std::string caps = "video/x-raw,width=" + std::to_string(width) +
                           ",height=" + std::to_string(height) + ",framerate=30/1";
  return TarvoCamera(test::TestDevices(caps).videoDevices().front());
}

TarvoCamera hdCamera(FrameRateRange chosen, std::vector<FrameRateRange> listed) {
  TarvoCamera camera;
  DeviceFormat format{"jpeg", 1280, 720, std::move(listed), "image/jpeg,width=1280,height=720"};
  camera.hdFmt = format;
  camera.hdFps = chosen;
  return camera;
}

// Runs `prepare`-like work and waits for its completion on the main thread.
template <class Start>
std::optional<CameraControllerError> await(Start start) {
  bool done = false;
  std::optional<CameraControllerError> failure;
  start([&](std::optional<CameraControllerError> error) {
    failure = error;
    done = true;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, kWaitMs));
  return failure;
}

// Counts the frames a controller hands to its view and keeps the last one's size.
struct SinkProbe {
  explicit SinkProbe(SecondCameraController& controller) {
    QObject::connect(&sink, &QVideoSink::videoFrameChanged, &sink, [this](const QVideoFrame& f) {
      ++frames;
      size = f.size();
    });
    controller.setVideoSink(&sink);
  }
  QVideoSink sink;
  int frames = 0;
  QSize size;
};

TEST(SecondCamera, DocCamFormatHoldsTheRateTo33) {
  {  // a range reaching 60 a second stops at 33, keeping its slowest rate
    const auto choice = docCamFormat(hdCamera({5, 60}, {{5, 60}}));
    ASSERT_TRUE(choice.format);
    EXPECT_EQ(choice.caps, "image/jpeg,width=1280,height=720,framerate=(fraction)[5/1,33/1]");
  }
  {  // a range up to 30 runs at its fastest
    EXPECT_EQ(docCamFormat(hdCamera({5, 30}, {{5, 30}})).caps,
              "image/jpeg,width=1280,height=720,framerate=(fraction)[5/1,30/1]");
    EXPECT_EQ(docCamFormat(hdCamera({30, 30}, {{30, 30}})).caps,
              "image/jpeg,width=1280,height=720,framerate=30/1");
  }
  {  // a fixed 60 gives way to the format's fastest rate that is not above 33
    EXPECT_EQ(docCamFormat(hdCamera({60, 60}, {{60, 60}, {15, 15}, {30, 30}})).caps,
              "image/jpeg,width=1280,height=720,framerate=30/1");
    // with nothing slower the camera runs as slowly as it can
    EXPECT_EQ(docCamFormat(hdCamera({60, 60}, {{60, 60}})).caps,
              "image/jpeg,width=1280,height=720,framerate=60/1");
  }
  {  // without an HD format the camera keeps its default format, whatever else it offers
    TarvoCamera camera = hdCamera({5, 60}, {{5, 60}});
    camera.fullHDFmt = camera.hdFmt;
    camera.hdFmt.reset();
    const auto choice = docCamFormat(camera);
    EXPECT_FALSE(choice.format);
    EXPECT_EQ(choice.caps, "");
  }
}

TEST(SecondCamera, DocCamFeedsTheBoardAndKeepsItsLastFrameAfterClosing) {
  auto docCam = std::make_unique<DocCamController>();
  SinkProbe preview(*docCam);
  int tiles = 0;
  docCam->showBoardTile = [&] { ++tiles; };
  docCam->setCamera(testCamera(320, 180));
  ASSERT_FALSE(await([&](auto done) { docCam->prepare(done); }));
  EXPECT_EQ(tiles, 1);

  ASSERT_TRUE(QTest::qWaitFor(
      [] {
        auto image = DocCamController::latestFrameImage();
        return image && image->size() == QSize(320, 180);
      },
      kWaitMs));
  ASSERT_TRUE(QTest::qWaitFor([&] { return preview.frames > 0; }, kWaitMs));
  EXPECT_EQ(preview.size, QSize(320, 180));

  const QString url = DocCamController::latestFrameDataUrl();
  ASSERT_TRUE(url.startsWith(kDataUrlPrefix));
  const QImage decoded =
      QImage::fromData(QByteArray::fromBase64(url.mid(kDataUrlPrefix.size()).toLatin1()), "JPEG");
  ASSERT_EQ(decoded.size(), QSize(320, 180));
  // The test pattern's second bar is yellow: the colours survived the planes' conversion.
  const QColor yellow = decoded.pixelColor(320 * 3 / 14, 20);
  EXPECT_GT(yellow.red(), 150);
  EXPECT_GT(yellow.green(), 150);
  EXPECT_LT(yellow.blue(), 80);

  // Closing stops the pipeline: while another camera delivers frames, the document camera's
  // latest frame stays the one it had.
  ASSERT_FALSE(await([&](auto done) { docCam->close(done); }));
  EXPECT_FALSE(docCam->isRunning());
  const QVideoFrame last = DocCamController::latestDocCamFrame();
  docCam.reset();
  PIPController pip;
  SinkProbe other(pip);
  pip.setCamera(testCamera(160, 120));
  ASSERT_FALSE(await([&](auto done) { pip.prepare(done); }));
  ASSERT_TRUE(QTest::qWaitFor([&] { return other.frames >= 5; }, kWaitMs));
  EXPECT_TRUE(DocCamController::latestDocCamFrame() == last);
  const auto kept = DocCamController::latestFrameImage();
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->size(), QSize(320, 180));
}

TEST(SecondCamera, PipFailsWithoutACameraAndFollowsACameraChange) {
  PIPController pip;
  {  // no camera chosen; a change before any preparation has no session to change
    auto failure = await([&](auto done) { pip.prepare(done); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->code(), CameraControllerError::Code::noCamerasAvailable);
    PIPController fresh;
    failure = await([&](auto done) { fresh.changeCamera(testCamera(160, 120), done); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->code(), CameraControllerError::Code::captureSessionIsMissing);
  }
  {  // a source that does not exist is refused
    TarvoCamera broken = testCamera(160, 120);
    broken.camera.sourceLaunch = "no_such_source_element";
    pip.setCamera(broken);
    auto failure = await([&](auto done) { pip.prepare(done); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->code(), CameraControllerError::Code::inputsAreInvalid);
    EXPECT_FALSE(pip.isRunning());
  }
  {  // a running picture follows a change of camera
    SinkProbe preview(pip);
    pip.setCamera(testCamera(320, 180));
    ASSERT_FALSE(await([&](auto done) { pip.prepare(done); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview.size == QSize(320, 180); }, kWaitMs));
    const TarvoCamera small = testCamera(160, 120);
    ASSERT_FALSE(await([&](auto done) { pip.changeCamera(small, done); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview.size == QSize(160, 120); }, kWaitMs));
    EXPECT_TRUE(pip.isRunning());
    EXPECT_EQ(pip.curTarvoCamera(), small);
    pip.setVideoSink(nullptr);
  }
}

}  // namespace
}  // namespace dravin
