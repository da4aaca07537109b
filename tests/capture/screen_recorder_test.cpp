#include "screen_recorder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "devices.h"
#include "sleep_inhibitor.h"
#include "xvfb_display.h"

using namespace dravin;
using Code = ScreenRecorder::Error::Code;
using namespace std::chrono_literals;

namespace {

CaptureDevice testMic(std::string launch = "audiotestsrc is-live=true") {
  return {
      DeviceKind::audio, "test-mic", std::string("Test mic"), {}, std::move(launch), {}, {}, {}};
}

template <class Predicate>
bool waitFor(Predicate done, std::chrono::milliseconds limit = 20s) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

// What the system's discoverer reports about a movie file.
struct Discovered {
  double seconds = -1;
  QString videoCaps;  // e.g. "video/x-h264"
  int width = 0;
  int height = 0;
  QString audioCaps;
  QString raw;
};

Discovered discover(const std::string& path) {
  QProcess process;
  process.start("gst-discoverer-1.0", {"-v", QString::fromStdString(path)});
  process.waitForFinished(60000);
  Discovered result;
  result.raw = QString::fromUtf8(process.readAllStandardOutput());
  auto duration = QRegularExpression(R"(Duration: (\d+):(\d+):(\d+\.\d+))").match(result.raw);
  if (duration.hasMatch()) {
    result.seconds = duration.captured(1).toDouble() * 3600 + duration.captured(2).toDouble() * 60 +
                     duration.captured(3).toDouble();
  }
  auto video = QRegularExpression(R"(video #\d+: ([^,\s]+),([^\n]*))").match(result.raw);
  if (video.hasMatch()) {
    result.videoCaps = video.captured(1);
    const QString caps = video.captured(2);
    result.width = QRegularExpression(R"(width=\(int\)(\d+))").match(caps).captured(1).toInt();
    result.height = QRegularExpression(R"(height=\(int\)(\d+))").match(caps).captured(1).toInt();
  }
  result.audioCaps = QRegularExpression(R"(audio #\d+: ([^,\s]+))").match(result.raw).captured(1);
  return result;
}

// The code of the error constructing a recorder throws, or nothing.
template <class Build>
std::optional<Code> errorOf(Build build) {
  try {
    build();
  } catch (const ScreenRecorder::Error& error) {
    return error.code();
  }
  return std::nullopt;
}

// Counts the callbacks as they arrive from the recorder's threads.
struct Events {
  std::atomic<int> started{0};
  std::atomic<int> finished{0};
  std::atomic<int> paused{0};
  std::atomic<int> resumed{0};
  std::mutex mutex;
  std::string destination;
  std::optional<std::string> error;

  void attach(ScreenRecorder& recorder) {
    recorder.onStart = [this] { ++started; };
    recorder.onPause = [this] { ++paused; };
    recorder.onResume = [this] { ++resumed; };
    recorder.onFinish = [this](const std::string& file, const std::optional<std::string>& e) {
      std::lock_guard lock(mutex);
      destination = file;
      error = e;
      ++finished;
    };
  }
};

}  // namespace

TEST(ScreenRecorderMath, ScaleFactorKeepsRecordingsAtMost1920Wide) {
  EXPECT_DOUBLE_EQ(scaleFactor(2880, 2), 1.0 / 3);
  EXPECT_DOUBLE_EQ(scaleFactor(1440, 2), 0.5);
  EXPECT_DOUBLE_EQ(scaleFactor(1920, 1), 1.0);
  EXPECT_DOUBLE_EQ(scaleFactor(2560, 1), 0.75);
  EXPECT_DOUBLE_EQ(scaleFactor(1280, 1), 1.0);

  EXPECT_EQ(scaledSize(2560, 1440, scaleFactor(2560, 1)), (VideoSize{1920, 1080}));
  EXPECT_EQ(scaledSize(3840, 2160, scaleFactor(3840, 1)), (VideoSize{1920, 1080}));
  // Odd sizes become even without passing 1920.
  EXPECT_EQ(scaledSize(1365, 767, 1.0), (VideoSize{1366, 768}));
  const VideoSize odd = scaledSize(2561, 1441, scaleFactor(2561, 1));
  EXPECT_EQ(odd.width, 1920);
  EXPECT_EQ(odd.height % 2, 0);
  EXPECT_EQ(scaledSize(1, 1, 1.0), (VideoSize{2, 2}));
}

TEST(ScreenRecorderMath, MinFrameDurationIn600ths) {
  EXPECT_EQ(minFrameDuration(30), (FrameDuration{20, 600}));
  EXPECT_EQ(minFrameDuration(60), (FrameDuration{10, 600}));
  EXPECT_EQ(minFrameDuration(24), (FrameDuration{25, 600}));
  // A rate of zero would divide by zero: it records one frame a second instead.
  EXPECT_EQ(minFrameDuration(0), (FrameDuration{600, 600}));
}

TEST(ScreenRecorderErrors, NameTheirCase) {
  EXPECT_STREQ(ScreenRecorder::Error(Code::invalidScreen).what(), "invalidScreen");
  EXPECT_STREQ(ScreenRecorder::Error(Code::couldNotAddMic, "no pulsesrc").what(),
               "couldNotAddMic: no pulsesrc");
}

TEST(ScreenRecorderErrors, AudioDeviceIsCheckedBeforeAnythingElse) {
  QTemporaryDir dir;
  const std::string file = dir.filePath("a.mp4").toStdString();
  CaptureDevice camera{
      DeviceKind::video, "cam", std::string("Cam"), {}, "videotestsrc", {}, {}, {}};
  auto build = [&](std::optional<CaptureDevice> mic) {
    ScreenRecorder(file, 30, std::nullopt, true, false, 12345, mic, VideoCodec::h264, ":65000");
  };
  // Neither the display nor the screen exists: the device is refused first all the same.
  EXPECT_EQ(errorOf([&] { build(camera); }), Code::invalidAudioDevice);
  EXPECT_EQ(errorOf([&] { build(std::nullopt); }), Code::couldNotAddScreen);
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(ScreenRecorderErrors, PortalStreamsAreCheckedBeforeAnyPipeline) {
  QTemporaryDir dir;
  const std::string file = dir.filePath("p.mp4").toStdString();
  CaptureDevice camera{
      DeviceKind::video, "cam", std::string("Cam"), {}, "videotestsrc", {}, {}, {}};
  int pipe[2];
  ASSERT_EQ(::pipe(pipe), 0);
  auto build = [&](PipeWireStream stream, std::optional<CaptureDevice> mic = std::nullopt) {
    ScreenRecorder(file, 30, stream, mic, VideoCodec::h264);
  };
  EXPECT_EQ(errorOf([&] { build({pipe[0], 42, {2560, 1600}}, camera); }), Code::invalidAudioDevice);
  EXPECT_EQ(errorOf([&] { build({pipe[0], 42, {0, 0}}); }), Code::invalidScreen);
  EXPECT_EQ(errorOf([&] { build({-1, 42, {2560, 1600}}); }), Code::couldNotAddScreen);
  EXPECT_FALSE(std::filesystem::exists(file));
  // The launch text parses, with the copy of the descriptor it is given, held to 1920 wide.
  const VideoSize size = scaledSize(2560, 1600, scaleFactor(2560, 1.0));
  EXPECT_EQ(size, (VideoSize{1920, 1200}));
  GError* error = nullptr;
  GstElement* parsed = gst_parse_launch(
      (pipeWireSource({pipe[0], 42, {2560, 1600}}, pipe[1], 30, size) + " ! fakesink").c_str(),
      &error);
  if (error && std::string(error->message).find("pipewiresrc") != std::string::npos) {
    g_clear_error(&error);
    if (parsed) gst_object_unref(parsed);
    ::close(pipe[0]);
    ::close(pipe[1]);
    GTEST_SKIP() << "GStreamer's PipeWire source is not installed";
  }
  ASSERT_TRUE(parsed) << (error ? error->message : "");
  EXPECT_FALSE(error) << error->message;
  g_clear_error(&error);
  GstElement* source = gst_bin_get_by_name(GST_BIN(parsed), "screen");
  ASSERT_TRUE(source);
  gint fd = -1;
  gint keepalive = 0;
  gchar* path = nullptr;
  g_object_get(source, "fd", &fd, "keepalive-time", &keepalive, "path", &path, nullptr);
  EXPECT_EQ(fd, pipe[1]);
  EXPECT_GT(keepalive, 0);
  EXPECT_STREQ(path, "42");
  g_free(path);
  gst_object_unref(source);
  gst_object_unref(parsed);
  ::close(pipe[0]);
  ::close(pipe[1]);
}

class ScreenRecorderOnXvfb : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (test::XvfbDisplay::available()) display_ = new test::XvfbDisplay("2560x1440x24");
  }
  static void TearDownTestSuite() {
    delete display_;
    display_ = nullptr;
  }
  void SetUp() override {
    if (!display_) GTEST_SKIP() << "Xvfb is not installed";
    ASSERT_FALSE(display_->name().empty()) << "Xvfb did not start";
    auto screen = Devices::mainScreen(display_->name());
    ASSERT_TRUE(screen);
    screenId_ = screen->id;
  }

  std::unique_ptr<ScreenRecorder> make(const std::string& file,
                                       std::optional<CaptureDevice> mic = testMic()) {
    // Ten frames a second keeps the encoder light on a small machine.
    return std::make_unique<ScreenRecorder>(file, 10, std::nullopt, true, false, screenId_,
                                            std::move(mic), VideoCodec::h264, display_->name());
  }

  static test::XvfbDisplay* display_;
  std::uint32_t screenId_ = 0;
  QTemporaryDir dir_;
};
test::XvfbDisplay* ScreenRecorderOnXvfb::display_ = nullptr;

TEST_F(ScreenRecorderOnXvfb, ConstructionErrors) {
  const std::string file = dir_.filePath("e.mp4").toStdString();
  const std::string display = display_->name();
  auto build = [&](std::optional<CropRect> crop, std::uint32_t screen,
                   std::optional<CaptureDevice> mic, const std::string& to) {
    ScreenRecorder(to, 30, crop, true, false, screen, mic, VideoCodec::h264, display);
  };
  EXPECT_EQ(errorOf([&] { build(std::nullopt, screenId_ + 1, std::nullopt, file); }),
            Code::invalidScreen);
  EXPECT_EQ(errorOf([&] {
              build(CropRect{4000, 0, 100, 100}, screenId_, std::nullopt, file);
            }),
            Code::invalidScreen);
  EXPECT_EQ(errorOf([&] { build(std::nullopt, screenId_, testMic("nosuchsource-dravin"), file); }),
            Code::couldNotAddMic);
  const std::string nowhere = dir_.filePath("missing/folder/e.mp4").toStdString();
  EXPECT_EQ(errorOf([&] { build(std::nullopt, screenId_, std::nullopt, nowhere); }),
            Code::couldNotAddOutput);
  {  // a crop is clipped to the screen and scaled like the whole 2560-wide screen: 801x301 * 0.75
    ScreenRecorder cropped(file, 30, CropRect{-10, 100, 811, 301}, true, false, screenId_,
                           std::nullopt, VideoCodec::h264, display);
    EXPECT_EQ(cropped.videoSize(), (VideoSize{600, 226}));
    EXPECT_TRUE(std::filesystem::exists(file));  // the output opens with the recorder
  }
  // Never started: no empty movie is left behind.
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ScreenRecorderOnXvfb, RecordsScreenAndMicScaledTo1920) {
  const std::string file = dir_.filePath("screen.mp4").toStdString();
  Events events;
  {
    auto recorder = make(file);
    EXPECT_EQ(recorder->videoSize(), (VideoSize{1920, 1080}));
    events.attach(*recorder);
    recorder->start();
    ASSERT_TRUE(waitFor([&] { return events.started == 1; }));
    ASSERT_TRUE(waitFor([&] { return recorder->recordedDuration() >= 2 * GST_SECOND; }));
    recorder->stop();
    recorder->stop();  // a second stop changes nothing
    ASSERT_TRUE(waitFor([&] { return events.finished > 0; }));
    recorder->pause();  // after the end: ignored
  }
  EXPECT_EQ(events.started, 1);
  EXPECT_EQ(events.finished, 1);
  EXPECT_EQ(events.paused, 0);
  EXPECT_EQ(events.destination, file);
  EXPECT_FALSE(events.error) << *events.error;

  const Discovered movie = discover(file);
  EXPECT_EQ(movie.videoCaps, "video/x-h264") << movie.raw.toStdString();
  EXPECT_EQ(movie.width, 1920);
  EXPECT_EQ(movie.height, 1080);
  EXPECT_EQ(movie.audioCaps, "audio/mpeg");
  EXPECT_GE(movie.seconds, 1.5);
  EXPECT_LE(movie.seconds, 3.0);
}

TEST_F(ScreenRecorderOnXvfb, PausedStretchIsLeftOut) {
  const std::string file = dir_.filePath("paused.mp4").toStdString();
  Events events;
  auto recorder = make(file, std::nullopt);
  events.attach(*recorder);
  const auto began = std::chrono::steady_clock::now();
  recorder->start();
  ASSERT_TRUE(waitFor([&] { return recorder->recordedDuration() >= GST_SECOND; }));
  recorder->pause();
  EXPECT_EQ(events.paused, 1);
  const GstClockTime atPause = recorder->recordedDuration();
  std::this_thread::sleep_for(1200ms);  // the pause itself, not a wait for an event
  EXPECT_EQ(recorder->recordedDuration(), atPause);
  recorder->resume();
  EXPECT_EQ(events.resumed, 1);
  ASSERT_TRUE(waitFor([&] { return recorder->recordedDuration() >= 2 * GST_SECOND; }));
  recorder->stop();
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  ASSERT_TRUE(waitFor([&] { return events.finished == 1; }));
  EXPECT_FALSE(events.error) << *events.error;

  const Discovered movie = discover(file);
  EXPECT_EQ(movie.videoCaps, "video/x-h264") << movie.raw.toStdString();
  EXPECT_TRUE(movie.audioCaps.isEmpty());
  EXPECT_GE(movie.seconds, 1.5);
  EXPECT_LT(movie.seconds, wall - 0.8) << "wall time " << wall;
}

TEST_F(ScreenRecorderOnXvfb, StopBeforeStartFinishesOnceWithAnError) {
  Events events;
  auto recorder = make(dir_.filePath("never.mp4").toStdString(), std::nullopt);
  events.attach(*recorder);
  recorder->stop();
  ASSERT_TRUE(waitFor([&] { return events.finished == 1; }));
  EXPECT_TRUE(events.error);
  // No movie was written: no empty file is left behind.
  EXPECT_FALSE(std::filesystem::exists(dir_.filePath("never.mp4").toStdString()));
  recorder->start();  // a finished recorder does not record again
  recorder.reset();
  EXPECT_EQ(events.started, 0);
  EXPECT_EQ(events.finished, 1);
}

TEST(ScreenRecorderSession, AllowedOnlyWithAnXDisplay) {
  // The test process runs offscreen; an Xvfb display of its own makes recording possible.
  if (!test::XvfbDisplay::available()) GTEST_SKIP() << "Xvfb is not installed";
  test::XvfbDisplay display("640x480x24");
  ASSERT_FALSE(display.name().empty());
  const QByteArray saved = qgetenv("DISPLAY");
  qputenv("DISPLAY", ":65000");
  EXPECT_FALSE(screenRecordingAllowed());
  qputenv("DISPLAY", display.name().c_str());
  EXPECT_TRUE(screenRecordingAllowed());
  qunsetenv("DISPLAY");
  EXPECT_FALSE(screenRecordingAllowed());
  if (!saved.isNull()) qputenv("DISPLAY", saved);
}

namespace {

// The session's screen saver as far as keeping awake goes; lives on a thread of its own so that
// the blocking calls from the test's thread are answered.
class FakeScreenSaver : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

 public:
  std::mutex mutex;
  std::vector<std::string> calls;

 public slots:
  uint Inhibit(const QString& application, const QString& reason) {
    std::lock_guard lock(mutex);
    calls.push_back("Inhibit " + application.toStdString() + " / " + reason.toStdString());
    return 41;
  }
  void UnInhibit(uint cookie) {
    std::lock_guard lock(mutex);
    calls.push_back("UnInhibit " + std::to_string(cookie));
  }
};

}  // namespace

TEST(SleepInhibitor, HoldsAndReleasesThroughTheScreenSaverService) {
  QProcess bus;
  bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
  if (!bus.waitForStarted(5000)) GTEST_SKIP() << "dbus-daemon is not installed";
  ASSERT_TRUE(bus.waitForReadyRead(5000));
  const QString address = QString::fromUtf8(bus.readLine()).trimmed();
  QThread serviceThread;
  serviceThread.start();
  FakeScreenSaver service;
  service.moveToThread(&serviceThread);
  {
    QDBusConnection client = QDBusConnection::connectToBus(address, "inhibitor-client");
    QDBusConnection server = QDBusConnection::connectToBus(address, "screensaver-service");
    ASSERT_TRUE(client.isConnected());
    std::vector<QString> lines;
    {
      SleepInhibitor inhibitor(
          "Pelora Dravin", [&](const QString& line) { lines.push_back(line); }, client);
      // No service on the bus: one line, nothing held, and releasing is harmless.
      EXPECT_FALSE(inhibitor.inhibit("Recording screen"));
      EXPECT_FALSE(inhibitor.isHeld());
      inhibitor.release();
      EXPECT_EQ(lines.size(), 1u);

      ASSERT_TRUE(server.registerObject("/org/freedesktop/ScreenSaver", &service,
                                        QDBusConnection::ExportAllSlots));
      ASSERT_TRUE(server.registerService("org.freedesktop.ScreenSaver"));
      EXPECT_TRUE(inhibitor.inhibit("Recording screen"));
      EXPECT_TRUE(inhibitor.inhibit("Recording screen"));  // held once, not twice
      EXPECT_TRUE(inhibitor.isHeld());
      inhibitor.release();
      EXPECT_FALSE(inhibitor.isHeld());
      EXPECT_TRUE(inhibitor.inhibit("Recording screen"));
    }  // the destructor gives the second hold up
    EXPECT_EQ(lines.size(), 1u);
    server.unregisterObject("/org/freedesktop/ScreenSaver");
  }
  QDBusConnection::disconnectFromBus("inhibitor-client");
  QDBusConnection::disconnectFromBus("screensaver-service");
  serviceThread.quit();
  serviceThread.wait();
  {
    std::lock_guard lock(service.mutex);
    EXPECT_EQ(service.calls, (std::vector<std::string>{
                                 "Inhibit Pelora Dravin / Recording screen", "UnInhibit 41",
                                 "Inhibit Pelora Dravin / Recording screen", "UnInhibit 41"}));
  }
  bus.terminate();
  bus.waitForFinished(5000);
}

#include "screen_recorder_test.moc"
