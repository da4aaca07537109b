// The virtual camera: its codes, the device lookup in sysfs, the frame timer, the output, and the
// feed on pictures handed to it (the feed on a real scene is in scene_feed_tests.cpp).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

#include "../log_capture.h"
#include "four_char_code.h"
#include "frame_timer.h"
#include "v4l2_output.h"
#include "virtual_camera.h"

namespace dravin {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

void writeFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

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

// Everything a pipe holds now; its read end does not block.
QByteArray drain(int fd) {
  QByteArray bytes;
  char buffer[65536];
  ssize_t got;
  while ((got = ::read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, got);
  return bytes;
}

QImage filled(QSize size, QColor colour) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

TEST(VirtualCameraFeed, DevicePicturesAndReuse) {
  int fds[2];
  ASSERT_EQ(pipe2(fds, O_NONBLOCK), 0);
  const std::string pipePath = "/proc/self/fd/" + std::to_string(fds[1]);
  SceneFrames::Frame current;
  int asked = 0;
  auto frames = [&] {
    ++asked;
    return current;
  };
  {  // no device: the scene is not even asked for a picture
    VirtualCameraFeed feed(frames, [] { return std::string(); });
    current = {filled(QSize(64, 48), Qt::red), 1};
    EXPECT_FALSE(feed.pushFrame());
    EXPECT_FALSE(feed.pushFrame());
    EXPECT_EQ(asked, 0);
  }
  {  // the test variable names the device; without it the label is looked up in sysfs
    qputenv(kVirtualCameraDeviceVariable, QByteArray::fromStdString(pipePath));
    EXPECT_EQ(VirtualCameraFeed::defaultDevice(), pipePath);
    qputenv(kVirtualCameraDeviceVariable, "");
    EXPECT_EQ(VirtualCameraFeed::defaultDevice(), v4l2::findDeviceByLabel(kVirtualCameraLabel));
    qunsetenv(kVirtualCameraDeviceVariable);
    EXPECT_EQ(VirtualCameraFeed::defaultDevice(), v4l2::findDeviceByLabel(kVirtualCameraLabel));
  }
  // The feed as the application makes it, the variable read on every tick.
  qputenv(kVirtualCameraDeviceVariable, QByteArray::fromStdString(pipePath));
  VirtualCameraFeed feed(frames);
  auto decoded = [](const QByteArray& jpeg) { return QImage::fromData(jpeg, "JPEG"); };
  {  // no picture yet: nothing written
    current = {};
    EXPECT_FALSE(feed.pushFrame());
    EXPECT_TRUE(drain(fds[0]).isEmpty());
  }
  QByteArray first;
  {  // the same picture on two ticks: the same JPEG twice, whole
    current = {filled(QSize(64, 48), Qt::red), 7};
    ASSERT_TRUE(feed.pushFrame());
    first = drain(fds[0]);
    ASSERT_TRUE(first.startsWith("\xFF\xD8") && first.endsWith("\xFF\xD9"));
    EXPECT_EQ(decoded(first).size(), QSize(64, 48));
    EXPECT_GT(decoded(first).pixelColor(32, 24).red(), 200);
    ASSERT_TRUE(feed.pushFrame());
    EXPECT_EQ(drain(fds[0]), first);
  }
  {  // a new picture is encoded anew, also at another size
    current = {filled(QSize(64, 48), Qt::blue), 8};
    ASSERT_TRUE(feed.pushFrame());
    const QImage blue = decoded(drain(fds[0]));
    EXPECT_GT(blue.pixelColor(32, 24).blue(), 200);
    EXPECT_LT(blue.pixelColor(32, 24).red(), 60);
    current = {filled(QSize(96, 40), Qt::green), 9};
    ASSERT_TRUE(feed.pushFrame());
    const QImage green = decoded(drain(fds[0]));
    EXPECT_EQ(green.size(), QSize(96, 40));
    EXPECT_GT(green.pixelColor(10, 10).green(), 200);
  }
  {  // the reader went away: ticks fail without ending the process, and a new pipe is fed
    ::close(fds[0]);
    EXPECT_FALSE(feed.pushFrame());
    ::close(fds[1]);
    ASSERT_EQ(pipe2(fds, O_NONBLOCK), 0);
    ASSERT_EQ("/proc/self/fd/" + std::to_string(fds[1]), pipePath) << "the pipe got other numbers";
    ASSERT_TRUE(feed.pushFrame());
    EXPECT_GT(decoded(drain(fds[0])).pixelColor(10, 10).green(), 200);
  }
  {  // the variable gone: no device, nothing written
    qunsetenv(kVirtualCameraDeviceVariable);
    if (VirtualCameraFeed::defaultDevice().empty()) {
      EXPECT_FALSE(feed.pushFrame());
    }
    EXPECT_TRUE(drain(fds[0]).isEmpty());
  }
  ::close(fds[0]);
  ::close(fds[1]);
}

}  // namespace
}  // namespace dravin
