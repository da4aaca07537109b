// The control bar's model against a real capture controller: zoom without a session, and the
// camera buttons, recording and snapshots on GStreamer's test sources.
#include "control_bar_model.h"

#include <gst/gst.h>
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <functional>

#include "hid_commands.h"
#include "notification_center.h"
#include "notification_names.h"
#include "storage_folders.h"
#include "test_devices.h"

using namespace dravin;
namespace n = dravin::notifications;

namespace {

void post(const char* name, const QVariantMap& info = {}) {
  NotificationCenter::instance().post(QString::fromLatin1(name), info);
}

bool waitUntil(const std::function<bool()>& done, int ms = 15000) {
  QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QTest::qWait(20);
  }
  return true;
}

// Notifications of one name, as they were posted.
struct Posted {
  explicit Posted(const char* name) {
    QObject::connect(
        &NotificationCenter::instance(), &NotificationCenter::posted, &guard,
        [this, wanted = QString::fromLatin1(name)](const QString& posted, const QVariantMap& info) {
          if (posted == wanted) infos.push_back(info);
        });
  }
  QObject guard;
  std::vector<QVariantMap> infos;
};

using Command = std::pair<int, double>;

std::vector<Command> commands(const QSignalSpy& spy) {
  std::vector<Command> out;
  for (const auto& args : spy) out.emplace_back(args[0].toInt(), args[1].toDouble());
  return out;
}

}  // namespace

TEST(ControlBarModel, ZoomStepsStopAtTheLimits) {
  CameraController camera(std::make_unique<test::TestDevices>(
      "video/x-raw,width=320,height=240,framerate=15/1", "silence"));  // never prepared
  ControlBarModel m;
  m.setCamera(&camera);

  camera.setZoom(9.5);
  m.zoomIn();
  EXPECT_DOUBLE_EQ(camera.currentZoom(), 10.0);
  EXPECT_DOUBLE_EQ(m.zoomFactor(), 10.0);
  m.zoomIn();
  EXPECT_DOUBLE_EQ(camera.currentZoom(), 10.0);

  camera.setZoom(0.52);
  EXPECT_DOUBLE_EQ(m.zoomFactor(), 0.52);  // the slider follows zooms from elsewhere
  m.zoomOut();
  EXPECT_DOUBLE_EQ(camera.currentZoom(), 0.5);

  camera.setZoom(2.0);
  m.zoomIn();
  EXPECT_NEAR(camera.currentZoom(), 2.2, 1e-9);
  m.zoomOut();
  EXPECT_NEAR(camera.currentZoom(), 2.0, 1e-9);

  m.setZoom(25.0);  // the slider's range holds for any caller
  EXPECT_DOUBLE_EQ(camera.currentZoom(), 10.0);
}

TEST(ControlBarModel, PopoversAndHidControl) {
  ControlBarModel m;
  {  // one popover at a time; its own button closes it
    m.togglePopover(ControlBarModel::Zoom);
    EXPECT_TRUE(m.showPopoverZoom());
    m.togglePopover(ControlBarModel::Settings);
    EXPECT_TRUE(m.showPopoverSettings());
    EXPECT_FALSE(m.showPopoverZoom());
    m.togglePopover(ControlBarModel::Settings);
    EXPECT_EQ(m.openPopover(), ControlBarModel::NoPopover);
    m.recordButton();
    EXPECT_TRUE(m.showPopoverRecord());
    m.setHideControlBar(true);
    EXPECT_EQ(m.openPopover(), ControlBarModel::NoPopover);
    m.setHideControlBar(false);
  }

  QSignalSpy hid(&m, &ControlBarModel::hidCommandRequested);
  {  // without HID control, Focus and Adjust neither open nor send
    m.togglePopover(ControlBarModel::Adjust);
    m.togglePopover(ControlBarModel::Focus);
    EXPECT_EQ(m.openPopover(), ControlBarModel::NoPopover);
    m.setBrightnessFactor(50);
    m.focusAuto();
    m.resetPictureControls();
    EXPECT_EQ(hid.count(), 0);
    EXPECT_EQ(m.brightnessFactor(), 0);
  }
  {  // a camera without picture controls connects: still nothing
    post(n::kHidConnected, {{"allowHIDControl", false}, {"allowASR", true}});
    EXPECT_FALSE(m.allowHIDControl());
  }
  post(n::kHidConnected, {{"allowHIDControl", true}, {"allowASR", true}});
  ASSERT_TRUE(m.allowHIDControl());
  {  // each change leaves for the camera, clamped to the control's range
    m.setBrightnessFactor(300);
    m.setExposureFactor(-1000);
    m.setWhitebalanceFactor(6500);
    m.setFocusFactor(40);
    m.focusAuto();
    m.focusLock();
    EXPECT_EQ(commands(hid), (std::vector<Command>{{hid::kBrightness, 128},
                                                   {hid::kExposure, -512},
                                                   {hid::kWhiteBalance, 6500},
                                                   {hid::kFocusPosition, 40},
                                                   {hid::kFocusAuto, 0},
                                                   {hid::kFocusLock, 0}}));
    EXPECT_EQ(m.brightnessFactor(), 128);
  }
  {  // reset: the camera's reset command, and the sliders back at their defaults
    hid.clear();
    m.resetPictureControls();
    EXPECT_EQ(commands(hid), (std::vector<Command>{{hid::kResetAll, 0}}));
    EXPECT_EQ(m.brightnessFactor(), 0);
    EXPECT_EQ(m.exposureFactor(), 0);
    EXPECT_EQ(m.whitebalanceFactor(), 5000);
    EXPECT_EQ(m.focusFactor(), 128);
  }
  {  // unplugged: an open Adjust popover closes and the buttons go dim
    m.togglePopover(ControlBarModel::Adjust);
    EXPECT_TRUE(m.showPopoverAdjust());
    post(n::kHidDisconnected, {{"allowHIDControl", false}});
    EXPECT_FALSE(m.allowHIDControl());
    EXPECT_FALSE(m.showPopoverAdjust());
  }
}

TEST(ControlBarModel, AnnotateAndViewerEntries) {
  ControlBarModel m;
  QSignalSpy scripts(&m, &ControlBarModel::boardScriptRequested);
  QSignalSpy layer(&m, &ControlBarModel::annotationChanged);
  Posted hideArchive(n::kHideArchiveList);
  m.toggleAnnotation();
  m.toggleAnnotation();
  ASSERT_EQ(scripts.count(), 2);
  EXPECT_EQ(scripts[0][0].toString(), "allowAnnotation(true)");
  EXPECT_EQ(scripts[1][0].toString(), "allowAnnotation(false)");
  ASSERT_EQ(layer.count(), 2);
  EXPECT_TRUE(layer[0][0].toBool());
  EXPECT_FALSE(layer[1][0].toBool());
  EXPECT_EQ(hideArchive.infos.size(), 1u);  // only on the way in
  EXPECT_FALSE(m.enableAnnotation());

  Posted browser(n::kOpenBrowser), rotate(n::kRotateCamera);
  m.togglePopover(ControlBarModel::Viewer);
  m.openLessons();
  EXPECT_EQ(m.openPopover(), ControlBarModel::NoPopover);
  m.openBrowser();
  ASSERT_EQ(browser.infos.size(), 2u);
  EXPECT_EQ(browser.infos[0], (QVariantMap{{"pdfMode", false}, {"lessonsMode", true}}));
  EXPECT_EQ(browser.infos[1], (QVariantMap{{"pdfMode", false}}));
  m.rotate("left");
  ASSERT_EQ(rotate.infos.size(), 1u);
  EXPECT_EQ(rotate.infos[0].value("direction").toString(), "left");
}

TEST(ControlBarModel, ThumbnailOfTheLastCapture) {
  ControlBarModel m;
  Posted sideBySide(n::kOpenSideBySide);
  m.openThumbnail();  // nothing captured yet
  EXPECT_TRUE(sideBySide.infos.empty());

  QImage picture(640, 480, QImage::Format_RGB32);
  picture.fill(Qt::red);
  const QUrl shot = QUrl::fromLocalFile("/tmp/images/20240101_120000.png");
  post(n::kImageCaptured, {{"image", picture}, {"url", shot}});
  EXPECT_EQ(m.thumbnailURL(), shot);
  const QString prefix = "data:image/png;base64,";
  ASSERT_TRUE(m.thumbnailSource().startsWith(prefix));
  const QImage small = QImage::fromData(
      QByteArray::fromBase64(m.thumbnailSource().mid(prefix.size()).toLatin1()), "PNG");
  EXPECT_EQ(small.size(), QSize(160, 120));
  EXPECT_EQ(small.pixelColor(80, 60), QColor(Qt::red));

  m.openThumbnail();
  ASSERT_EQ(sideBySide.infos.size(), 1u);
  EXPECT_EQ(sideBySide.infos[0].value("url").toUrl(), shot);
  EXPECT_EQ(sideBySide.infos[0].value("image").value<QImage>(), picture);

  {  // a payload without a URL changes nothing; a recording without a picture keeps its URL
    post(n::kImageCaptured, {{"image", picture}});
    EXPECT_EQ(m.thumbnailURL(), shot);
    const QUrl movie = QUrl::fromLocalFile("/tmp/videos/20240101_120100.mp4");
    post(n::kVideoRecorded, {{"image", QImage()}, {"url", movie}});
    EXPECT_EQ(m.thumbnailURL(), movie);
    EXPECT_TRUE(m.thumbnailSource().isEmpty());
    EXPECT_TRUE(m.hasThumbnail());
  }
}

TEST(ControlBarModel, ResolutionAndOfflineGoThroughTheSettings) {
  static QTemporaryDir config;  // the process's settings from here on: never the user's
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
  SettingsStore settings;
  CameraController camera(std::make_unique<test::TestDevices>(
      "video/x-raw,width=320,height=240,framerate=15/1", "silence"));
  ControlBarModel m;
  m.setSettings(&settings);
  m.setCamera(&camera);
  ASSERT_EQ(m.selectedResolution(), "1080P@30fps");

  m.setSelectedResolution("4K@30fps");
  EXPECT_EQ(settings.resolution(), "4K@30fps");
  m.setSelectedResolution("8K@60fps");  // not among the picker's entries
  EXPECT_EQ(m.selectedResolution(), "4K@30fps");
  m.setOfflineMode(true);
  EXPECT_TRUE(settings.offlineMode());

  {  // a change made elsewhere shows in the bar
    settings.setResolution("720P@30fps");
    EXPECT_EQ(m.selectedResolution(), "720P@30fps");
    settings.setOfflineMode(false);
    EXPECT_FALSE(m.offlineMode());
  }
}

TEST(ControlBarModel, SettingsSayOnlyWhatTheUpdateCheckFound) {
  ControlBarModel m;
  EXPECT_EQ(m.updateStatusText(), "") << "no checker";
  {  // a build without a feed says nothing
    UpdateChecker off("", "1.0");
    m.setUpdates(&off);
    off.checkForUpdate();
    EXPECT_EQ(m.updateStatusText(), "");
    EXPECT_FALSE(m.upToDate());
  }
  {  // nothing listens on port 9 of loopback: checking, then the failure, never "Up to date"
    UpdateChecker failing("http://127.0.0.1:9/feed.xml", "1.0");
    m.setUpdates(&failing);
    QSignalSpy changed(&m, &ControlBarModel::updateStatusChanged);
    failing.checkForUpdate();
    EXPECT_EQ(m.updateStatusText(), "Checking for updates\u2026");
    ASSERT_TRUE(waitUntil([&] { return failing.status() == UpdateChecker::Status::Failed; }));
    EXPECT_EQ(m.updateStatusText(), "Could not check for updates.");
    EXPECT_FALSE(m.upToDate());
    EXPECT_FALSE(m.updateAvailable());
    EXPECT_EQ(changed.count(), 2);
  }
}

// The maker's camera buttons and the recording label, on a running test session.
class ControlBarSession : public testing::Test {
 protected:
  static void SetUpTestSuite() { gst_init(nullptr, nullptr); }
  void SetUp() override {
    ASSERT_TRUE(storage.isValid());
    storageFolders() = StorageFolders::under(storage.path());
    QDir().mkpath(storageFolders()->images);
    QDir().mkpath(storageFolders()->videos);
    camera.recordings().screenRecordingAllowed = [] { return false; };
    m.setCamera(&camera);
    bool done = false;
    camera.prepare([&](std::optional<CameraControllerError>) { done = true; });
    ASSERT_TRUE(waitUntil([&] { return done && camera.isRunning(); }));
  }
  void TearDown() override { storageFolders().reset(); }

  QTemporaryDir storage;
  CameraController camera{std::make_unique<test::TestDevices>(
      "video/x-raw,width=320,height=240,framerate=15/1", "silence")};
  ControlBarModel m;
};

TEST_F(ControlBarSession, CameraButtonsAndRecordingLabel) {
  EXPECT_EQ(m.cameraNames(), QStringList{"Test Camera"});
  EXPECT_EQ(m.micNames(), QStringList{"Test Microphone"});
  QSignalSpy alerts(&camera, &CameraController::alertRequested);
  auto button = [](int code) { post(n::kHidButtonClicked, {{"button", code}}); };

  {  // 4 freezes and thaws; 5 takes a snapshot that becomes the thumbnail
    button(4);
    EXPECT_TRUE(m.isFreezing());
    EXPECT_TRUE(camera.isFrozen());
    button(4);
    EXPECT_FALSE(m.isFreezing());
    button(5);
    ASSERT_TRUE(waitUntil([&] { return m.thumbnailURL().toString().endsWith(".png"); }));
    EXPECT_FALSE(m.thumbnailSource().isEmpty());
  }
  {  // 3 while idle asks for a screen recording (refused here: no screen to record)
    button(3);
    EXPECT_EQ(alerts.count(), 1);
    EXPECT_FALSE(m.isRecording());
    EXPECT_EQ(m.recordingTimerStr(), "Initializing");
  }
  {  // 6 while idle only resets the label
    QSignalSpy cameraRecording(&camera, &CameraController::recordingChanged);
    button(6);
    EXPECT_EQ(cameraRecording.count(), 0);
    EXPECT_FALSE(m.isRecording());
    EXPECT_EQ(m.recordingTimerStr(), "Initializing");
  }

  m.recordCamera();
  ASSERT_TRUE(m.isRecording());
  ASSERT_TRUE(waitUntil([&] { return m.recordingTimerStr() != "Initializing"; }, 5000));
  EXPECT_TRUE(m.recordingTimerStr().contains(QRegularExpression("^\\d\\d:\\d\\d$")))
      << m.recordingTimerStr().toStdString();
  {  // 3 while recording does nothing
    alerts.clear();
    button(3);
    EXPECT_EQ(alerts.count(), 0);
    EXPECT_EQ(camera.recordingSource(), "camera");
    EXPECT_TRUE(camera.isRecording());
  }
  {  // 6 stops it; the movie becomes the thumbnail
    button(6);
    EXPECT_FALSE(camera.isRecording());
    EXPECT_FALSE(m.isRecording());
    EXPECT_EQ(m.recordingTimerStr(), "Initializing");
    EXPECT_TRUE(waitUntil([&] { return m.thumbnailURL().toString().endsWith(".mp4"); }, 30000));
  }
  {  // stopped elsewhere (the D-Bus remote): the bar follows
    m.recordCamera();
    ASSERT_TRUE(m.isRecording());
    camera.stopRecording();
    EXPECT_FALSE(m.isRecording());
    EXPECT_TRUE(waitUntil(
        [&] {
          return QDir(storageFolders()->videos).entryList({"*.mp4"}).size() == 2 &&
                 m.thumbnailURL().toString().endsWith(".mp4");
        },
        30000));
  }
  {  // a start the controller refuses (no folder) leaves the bar idle
    storageFolders().reset();
    m.recordCamera();
    EXPECT_FALSE(m.isRecording());
    EXPECT_EQ(m.recordingTimerStr(), "Initializing");
  }
}
