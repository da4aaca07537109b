#include "recording_controller.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "../log_capture.h"
#include "screencast_portal.h"
#include "xvfb_display.h"

using namespace dravin;

namespace {

bool logged(const LogCapture& log, const char* text) {
  return log.text().find(text) != std::string::npos;
}

}  // namespace

// The screen is opened off the main thread; a Stop meanwhile withdraws the recording, and the
// controller records again afterwards.
TEST(RecordingControllerOnXvfb, AStopWhileTheScreenOpensWithdrawsTheRecording) {
  if (!test::XvfbDisplay::available()) GTEST_SKIP() << "Xvfb is not installed";
  test::XvfbDisplay display("640x480x24");
  ASSERT_FALSE(display.name().empty()) << "Xvfb did not start";
  const QByteArray savedDisplay = qgetenv("DISPLAY");
  qputenv("DISPLAY", display.name().c_str());
  QTemporaryDir videos;
  RecordingController recordings;
  recordings.videoFolder = [&] { return std::optional<QString>(videos.path()); };
  recordings.screenRecordingAllowed = [] { return true; };
  recordings.makeScreenCastPortal = [] { return std::unique_ptr<ScreenCastPortal>(); };
  auto movies = [&] { return QDir(videos.path()).entryList({"*.mp4"}, QDir::Files).size(); };
  LogCapture log;

  auto stopAtOnce = QObject::connect(&recordings, &RecordingController::recordingChanged, [&] {
    if (recordings.isRecording()) recordings.stop();
  });
  recordings.startScreen();
  EXPECT_FALSE(recordings.isRecording());
  ASSERT_TRUE(QTest::qWaitFor([&] { return logged(log, "withdrawn before it started"); }, 20000));
  QObject::disconnect(stopAtOnce);
  EXPECT_EQ(movies(), 0) << "the file claimed for it is gone";
  EXPECT_FALSE(logged(log, "STARTED"));

  recordings.startScreen();
  EXPECT_TRUE(recordings.isRecording()) << "recording from the moment the screen is asked for";
  recordings.startCamera();  // a second recording waits for this one
  ASSERT_TRUE(QTest::qWaitFor([&] { return logged(log, "STARTED"); }, 20000));
  QTest::qWait(1500);
  recordings.stop();
  EXPECT_FALSE(recordings.isRecording());
  ASSERT_TRUE(QTest::qWaitFor([&] { return logged(log, "screen recorded at file://"); }, 30000));
  EXPECT_EQ(movies(), 1);

  if (savedDisplay.isNull()) {
    qunsetenv("DISPLAY");
  } else {
    qputenv("DISPLAY", savedDisplay);
  }
}
