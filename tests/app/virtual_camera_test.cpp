// The virtual camera: its codes, the device lookup in sysfs, the frame timer, the feed writing
// real window pictures into a FIFO under Xvfb.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <functional>
#include <iostream>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "../capture/xvfb_display.h"
#include "four_char_code.h"
#include "frame_timer.h"
#include "v4l2_output.h"
#include "virtual_camera.h"

namespace dravin {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class LogCapture {
 public:
  LogCapture() : old_(std::cout.rdbuf(buffer_.rdbuf())) {}
  ~LogCapture() { std::cout.rdbuf(old_); }
  std::string text() const { return buffer_.str(); }

 private:
  std::ostringstream buffer_;
  std::streambuf* old_;
};

void writeFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

const QByteArray kJpegStart("\xFF\xD8\xFF", 3);

// The stream cut before each start of a JPEG: compressed data stuffs every 0xFF, and the encoder's
// tables never hold this sequence.
std::vector<QByteArray> splitJpegs(const QByteArray& stream) {
  std::vector<QByteArray> frames;
  for (qsizetype at = stream.indexOf(kJpegStart); at >= 0;) {
    const qsizetype next = stream.indexOf(kJpegStart, at + 1);
    frames.push_back(stream.mid(at, next < 0 ? -1 : next - at));
    at = next;
  }
  return frames;
}

// Reads a FIFO on a thread of its own until stopped and drained.
class FifoReader {
 public:
  explicit FifoReader(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    thread_ = std::thread([this] {
      char buffer[65536];
      while (true) {
        pollfd ready{fd_, POLLIN, 0};
        poll(&ready, 1, 20);
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got > 0) {
          std::lock_guard lock(mutex_);
          bytes_.append(buffer, got);
        } else if (stop_) {
          break;
        } else if (got == 0) {
          std::this_thread::sleep_for(5ms);  // no writer yet, or between writers
        }
      }
    });
  }
  ~FifoReader() {
    stop();
    ::close(fd_);
  }
  void stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  QByteArray bytes() {
    std::lock_guard lock(mutex_);
    return bytes_;
  }
  bool opened() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  QByteArray bytes_;
  std::thread thread_;
};

// A window of the test's own: red, with a blue right half.
class TestWindow {
 public:
  TestWindow(const std::string& display, int width, int height) {
    c_ = xcb_connect(display.c_str(), nullptr);
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
    id_ = xcb_generate_id(c_);
    const uint32_t values[] = {0xFF0000};
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, id_, screen->root, 10, 10,
                      static_cast<uint16_t>(width), static_cast<uint16_t>(height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL,
                      values);
    xcb_map_window(c_, id_);
    const xcb_gcontext_t gc = xcb_generate_id(c_);
    const uint32_t blue[] = {0x0000FF};
    xcb_create_gc(c_, gc, id_, XCB_GC_FOREGROUND, blue);
    const xcb_rectangle_t half{static_cast<int16_t>(width / 2), 0,
                               static_cast<uint16_t>(width - width / 2),
                               static_cast<uint16_t>(height)};
    // Drawn once mapped; the server's reply to a round trip says it is done.
    std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
    xcb_poly_fill_rectangle(c_, id_, gc, 1, &half);
    std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
  }
  ~TestWindow() { xcb_disconnect(c_); }
  std::uint32_t id() const { return id_; }
  void destroy() {
    xcb_destroy_window(c_, id_);
    std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
  }

 private:
  xcb_connection_t* c_;
  xcb_window_t id_;
};

TEST(FourCharCode, CodesAndText) {
  {  // four ASCII characters, first in the top byte, and back
    LogCapture log;
    EXPECT_EQ(fourCharCode("dust"), 0x64757374u);
    EXPECT_EQ(fourCharCode("glob"), 0x676C6F62u);
    EXPECT_EQ(fourCharCode("dev#"), 0x64657623u);
    EXPECT_EQ(fourCharCode("uid "), 0x75696420u);
    EXPECT_EQ(fourCharText(0x64757374u), "dust");
    EXPECT_EQ(fourCharText(fourCharCode("stm#")), "stm#");
    EXPECT_EQ(log.text(), "");
  }
  {  // too short, too long, not ASCII: "????" and the line
    for (const QString& text : {QString("dus"), QString("dusts"), QString::fromUtf8("d\u00e9st"),
                                QString::fromUtf8("\U0001F600ab"), QString()}) {
      LogCapture log;
      EXPECT_EQ(fourCharCode(text), 0x3F3F3F3Fu) << text.toStdString();
      EXPECT_EQ(log.text(), "FourCharCode: Can't initialize with '" + text.toStdString() +
                                "', only printable ASCII allowed. Setting to '?\?\?\?'.\n");
    }
    EXPECT_EQ(fourCharText(kInvalidFourCharCode), "????");
  }
  {  // text stops at the first zero byte
    EXPECT_EQ(fourCharText(0x61620063u), "ab");
    EXPECT_EQ(fourCharText(0x00616263u), "");
    EXPECT_EQ(fourCharText(0x61626300u), "abc");
  }
}

TEST(VirtualCameraDevice, LookupInSysfs) {
  QTemporaryDir dir;
  const std::string sysfs = dir.filePath("video4linux").toStdString();
  auto lookup = [&] { return v4l2::findDeviceByLabel(kVirtualCameraLabel, sysfs, "/dev"); };
  {  // no tree at all, then an empty one
    EXPECT_EQ(lookup(), "");
    QDir().mkpath(QString::fromStdString(sysfs));
    EXPECT_EQ(lookup(), "");
  }
  {  // names that merely contain the label, and a non-video entry with it, do not count
    writeFile(dir.filePath("video4linux/video0/name"), "Integrated Camera: Integrated C\n");
    writeFile(dir.filePath("video4linux/video1/name"), "My Pelora AppCam\n");
    writeFile(dir.filePath("video4linux/video2/name"), "Pelora AppCam 2\n");
    writeFile(dir.filePath("video4linux/v4l-subdev0/name"), "Pelora AppCam\n");
    writeFile(dir.filePath("video4linux/video3/name"), "pelora appcam\n");
    EXPECT_EQ(lookup(), "");
  }
  {  // one device, found by its exact name; a later one appears at the next lookup
    writeFile(dir.filePath("video4linux/video12/name"), "Pelora AppCam\n");
    EXPECT_EQ(lookup(), "/dev/video12");
    writeFile(dir.filePath("video4linux/video9/name"), "Pelora AppCam\n");
    EXPECT_EQ(lookup(), "/dev/video9");  // lowest number first, not name order
    QDir(dir.filePath("video4linux/video9")).removeRecursively();
    QDir(dir.filePath("video4linux/video12")).removeRecursively();
    EXPECT_EQ(lookup(), "");
  }
}

// The times a 20 ms timer ticked at while running for `runFor`; the nth tick (from 1) takes
// `work(n)`.
std::vector<Clock::time_point> tickTimes(
    std::chrono::milliseconds runFor, std::function<std::chrono::milliseconds(std::size_t)> work) {
  std::vector<Clock::time_point> ticks;
  std::mutex mutex;
  FrameTimer timer(
      [&] {
        std::size_t count;
        {
          std::lock_guard lock(mutex);
          ticks.push_back(Clock::now());
          count = ticks.size();
        }
        std::this_thread::sleep_for(work(count));
      },
      20ms);
  timer.start();
  std::this_thread::sleep_for(runFor);
  timer.cancel();
  return ticks;
}

TEST(FrameTimer, CadenceAndCancel) {
  {  // ticks keep to their slots: work within a tick does not push the later ones back
    const auto ticks = tickTimes(520ms, [](std::size_t) { return 7ms; });
    ASSERT_GE(ticks.size(), 10u);
    // A timer restarted from "now" after each 7 ms tick runs every 27 ms instead of every 20.
    const std::chrono::duration<double, std::milli> mean =
        (ticks.back() - ticks.front()) / static_cast<double>(ticks.size() - 1);
    EXPECT_LT(mean.count(), 23.5);
  }
  {  // a tick longer than two periods: the missed slots are dropped, not run back to back
    const auto ticks = tickTimes(200ms, [](std::size_t n) { return n == 2 ? 50ms : 0ms; });
    ASSERT_GE(ticks.size(), 4u);
    EXPECT_GE(ticks[2] - ticks[1], 50ms);
    EXPECT_GE(ticks[3] - ticks[2], 10ms);
  }
  {  // cancel waits for a running tick, and no tick follows it
    std::atomic<int> count{0};
    std::atomic<bool> inside{false};
    FrameTimer timer([&] {
      inside = true;
      std::this_thread::sleep_for(30ms);
      ++count;
      inside = false;
    });
    EXPECT_FALSE(timer.isRunning());
    timer.start();
    EXPECT_TRUE(timer.isRunning());
    while (count == 0 && !inside) std::this_thread::sleep_for(1ms);
    timer.cancel();
    EXPECT_FALSE(inside);
    EXPECT_FALSE(timer.isRunning());
    const int after = count;
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(count, after);
  }
}

TEST(FrameOutput, PipesAndMissingPaths) {
  {  // nothing to open: no size
    v4l2::FrameOutput output;
    EXPECT_FALSE(output.prepare("/nonexistent/video0", QSize(64, 48)));
    EXPECT_FALSE(output.prepare("", QSize(64, 48)));
    EXPECT_FALSE(output.write("frame"));
  }
  {  // a FIFO without a reader is skipped at once, not waited for
    QTemporaryDir dir;
    const std::string fifo = dir.filePath("fifo").toStdString();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    v4l2::FrameOutput output;
    EXPECT_FALSE(output.prepare(fifo, QSize(64, 48)));
  }
  {  // a pipe takes frames whole, without a format; a reader that leaves does not end the process
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const std::string path = "/proc/self/fd/" + std::to_string(fds[1]);
    v4l2::FrameOutput output;
    EXPECT_EQ(output.prepare(path, QSize(64, 48)), QSize(64, 48));
    EXPECT_FALSE(output.isDevice());
    EXPECT_TRUE(output.write("one"));
    char got[8] = {};
    EXPECT_EQ(::read(fds[0], got, sizeof got), 3);
    EXPECT_STREQ(got, "one");
    ::close(fds[0]);
    EXPECT_FALSE(output.write("two"));
    EXPECT_FALSE(output.isOpen());
    ::close(fds[1]);
  }
  {  // a full pipe: the frame is dropped and the stream stays whole; half a frame closes it
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_NONBLOCK), 0);
    v4l2::FrameOutput output;
    ASSERT_TRUE(output.prepare("/proc/self/fd/" + std::to_string(fds[1]), QSize(8, 8)));
    const QByteArray fill(4096, 'f');
    while (::write(fds[1], fill.constData(), fill.size()) > 0) {
    }
    EXPECT_FALSE(output.write("frame"));
    EXPECT_TRUE(output.isOpen());
    char drain[4096];
    while (::read(fds[0], drain, sizeof drain) > 0) {
    }
    EXPECT_FALSE(output.write(QByteArray(1 << 20, 'x')));  // more than the pipe holds
    EXPECT_FALSE(output.isOpen());
    ::close(fds[0]);
    ::close(fds[1]);
  }
}

TEST(VirtualCameraFeed, WindowFramesUnderXvfb) {
  if (!test::XvfbDisplay::available()) GTEST_SKIP() << "Xvfb is not installed";
  test::XvfbDisplay display("1280x800x24");
  ASSERT_FALSE(display.name().empty());
  TestWindow window(display.name(), 320, 200);
  QTemporaryDir dir;
  const std::string fifo = dir.filePath("camera").toStdString();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  {  // no device or no window: nothing written
    FifoReader reader(fifo);
    VirtualCameraFeed noDevice([] { return std::string(); }, display.name());
    noDevice.setWindow(window.id());
    EXPECT_FALSE(noDevice.pushFrame());
    VirtualCameraFeed noWindow([&] { return fifo; }, display.name());
    EXPECT_FALSE(noWindow.pushFrame());
    noWindow.setWindow(0x7FFFFF);  // an id no window has
    EXPECT_FALSE(noWindow.pushFrame());
    reader.stop();
    EXPECT_TRUE(reader.bytes().isEmpty());
  }
  {  // two seconds of the timer: whole JPEGs of the window, about 30 a second
    FifoReader reader(fifo);
    ASSERT_TRUE(reader.opened());
    VirtualCameraFeed feed([&] { return fifo; }, display.name());
    feed.setWindow(window.id());
    std::atomic<int> written{0};
    FrameTimer timer([&] { written += feed.pushFrame() ? 1 : 0; });
    timer.start();
    std::this_thread::sleep_for(2s);
    timer.cancel();
    const int afterCancel = written;
    reader.stop();
    const QByteArray stream = reader.bytes();
    EXPECT_TRUE(stream.startsWith(kJpegStart));
    const auto frames = splitJpegs(stream);
    EXPECT_EQ(static_cast<int>(frames.size()), afterCancel);
    EXPECT_GE(frames.size(), 55u);
    for (const QByteArray& frame : frames) {
      ASSERT_TRUE(frame.endsWith("\xFF\xD9")) << "a frame cut short or followed by stray bytes";
      const QImage image = QImage::fromData(frame, "JPEG");
      ASSERT_EQ(image.size(), QSize(320, 200));
      const QColor left = image.pixelColor(40, 100);
      const QColor right = image.pixelColor(280, 100);
      EXPECT_GT(left.red(), 200);
      EXPECT_LT(left.blue(), 60);
      EXPECT_GT(right.blue(), 200);
      EXPECT_LT(right.red(), 60);
    }
  }
  {  // the window gone: ticks skip
    FifoReader reader(fifo);
    VirtualCameraFeed feed([&] { return fifo; }, display.name());
    feed.setWindow(window.id());
    window.destroy();
    EXPECT_FALSE(feed.pushFrame());
    reader.stop();
    EXPECT_TRUE(reader.bytes().isEmpty());
  }
}

}  // namespace
}  // namespace dravin
