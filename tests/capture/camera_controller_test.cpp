// The capture session end to end on GStreamer's test sources: preparation, snapshots and camera
// recordings read back from disk.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "camera_controller.h"
#include "notification_center.h"
#include "notification_names.h"
#include "storage_folders.h"
#include "test_devices.h"

namespace dravin {
namespace {

// What gst-discoverer-1.0 says of a movie: its length in seconds and its stream kinds.
struct MovieFacts {
  double seconds = 0;
  bool h264 = false;
  bool audio = false;
};

MovieFacts discover(const QString& path) {
  QProcess process;
  process.start("gst-discoverer-1.0", {"-v", path});
  process.waitForFinished(30000);
  const QString out = QString::fromUtf8(process.readAllStandardOutput());
  MovieFacts facts;
  facts.h264 = out.contains("H.264");
  facts.audio =
      out.contains(QRegularExpression("audio:|Audio", QRegularExpression::CaseInsensitiveOption));
  auto match = QRegularExpression(R"(Duration: (\d+):(\d+):([\d.]+))").match(out);
  if (match.hasMatch()) {
    facts.seconds = match.captured(1).toDouble() * 3600 + match.captured(2).toDouble() * 60 +
                    match.captured(3).toDouble();
  }
  return facts;
}

class CameraControllerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(storage.isValid());
    storageFolders() = StorageFolders::under(storage.path());
    QDir().mkpath(storageFolders()->images);
    QDir().mkpath(storageFolders()->videos);
    bool done = false;
    std::optional<CameraControllerError> failure;
    controller.prepare([&](std::optional<CameraControllerError> error) {
      failure = error;
      done = true;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 20000));
    ASSERT_FALSE(failure) << failure->what();
  }
  void TearDown() override { storageFolders().reset(); }

  QString waitForNotification(const char* name) {
    QString url;
    auto connection = NotificationCenter::instance().observe(
        name, &controller,
        [&](const QVariantMap& info) { url = info.value("url").toUrl().toLocalFile(); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !url.isEmpty(); }, 30000));
    QObject::disconnect(connection);
    return url;
  }

  QTemporaryDir storage;
  CameraController controller{std::make_unique<test::TestDevices>()};
};

TEST_F(CameraControllerTest, SnapshotsAreNamedByTheClockAndKeepEveryCapture) {
  EXPECT_TRUE(controller.isRunning());
  ASSERT_EQ(controller.tarvoCameras().size(), 1u);
  EXPECT_EQ(controller.curTarvoMic()->name, "Test Microphone");
  // Let a frame arrive.
  QTest::qWait(500);

  QString first, second;
  auto connection = NotificationCenter::instance().observe(
      notifications::kImageCaptured, &controller, [&](const QVariantMap& info) {
        EXPECT_FALSE(info.value("image").value<QImage>().isNull());
        (first.isEmpty() ? first : second) = info.value("url").toUrl().toLocalFile();
      });
  controller.takeSnapshot();
  controller.takeSnapshot();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !second.isEmpty(); }, 20000));
  QObject::disconnect(connection);

  EXPECT_NE(first, second);
  EXPECT_TRUE(
      QFileInfo(first).fileName().contains(QRegularExpression(R"(^\d{8}_\d{6}(-2)?\.png$)")));
  EXPECT_EQ(QImage(first).size(), QSize(640, 360)) << "no view yet: the picture as it comes";
  EXPECT_EQ(QImage(second).size(), QSize(640, 360));
}

TEST_F(CameraControllerTest, SnapshotWithoutAFolderAlertsAndWritesNothing) {
  QTest::qWait(300);
  storageFolders().reset();
  QSignalSpy alerts(&controller, &CameraController::alertRequested);
  controller.takeSnapshot();
  controller.startRecording();
  EXPECT_EQ(alerts.count(), 2);
  EXPECT_FALSE(controller.isRecording());
}

TEST_F(CameraControllerTest, RecordingHasPictureAndSoundAndFreezingLeavesThePauseOut) {
  {  // about two seconds
    controller.startRecording();
    ASSERT_TRUE(controller.isRecording());
    QTest::qWait(2000);
    EXPECT_TRUE(controller.recordingTimeString().contains(QRegularExpression(R"(^00:0[1-9]$)")));
    controller.stopRecording();
    const QString path = waitForNotification(notifications::kVideoRecorded);
    ASSERT_FALSE(path.isEmpty());
    MovieFacts facts = discover(path);
    EXPECT_TRUE(facts.h264);
    EXPECT_TRUE(facts.audio);
    EXPECT_NEAR(facts.seconds, 2.0, 0.4);
  }
  {  // three seconds with one frozen: the movie is about two
    controller.startRecording();
    QTest::qWait(1000);
    controller.toggleFreeze();
    QTest::qWait(1000);
    controller.toggleFreeze();
    QTest::qWait(1000);
    controller.stopRecording();
    const QString path = waitForNotification(notifications::kVideoRecorded);
    ASSERT_FALSE(path.isEmpty());
    EXPECT_NEAR(discover(path).seconds, 2.0, 0.4);
  }
  EXPECT_EQ(controller.recordingTimeString(), "00:00");
}

}  // namespace
}  // namespace dravin
