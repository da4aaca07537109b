// The virtual camera's feed on pictures read back from a real Qt Quick window, on an Xvfb display
// of the test's own with Qt's X11 platform: frames reach a FIFO at the timer's rate whether or not
// the scene renders, follow what the scene shows, and never show a window that covers ours.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QImage>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "../capture/xvfb_display.h"
#include "frame_timer.h"
#include "scene_frames.h"
#include "virtual_camera.h"

namespace dravin {
namespace {

using namespace std::chrono_literals;

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

 private:
  int fd_ = -1;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  QByteArray bytes_;
  std::thread thread_;
};

// A plain X window of another client, filled with one colour, over part of ours.
class CoveringWindow {
 public:
  CoveringWindow(QRect area, std::uint32_t rgb) {
    c_ = xcb_connect(nullptr, nullptr);
    screen_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
    id_ = xcb_generate_id(c_);
    const uint32_t values[] = {rgb, 1};  // background, override-redirect: placed where asked
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, id_, screen_->root, static_cast<int16_t>(area.x()),
                      static_cast<int16_t>(area.y()), static_cast<uint16_t>(area.width()),
                      static_cast<uint16_t>(area.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen_->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(c_, id_);
    const uint32_t top[] = {XCB_STACK_MODE_ABOVE};
    xcb_configure_window(c_, id_, XCB_CONFIG_WINDOW_STACK_MODE, top);
    std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
  }
  ~CoveringWindow() { xcb_disconnect(c_); }

  // The pixel the screen shows at (x, y), as 0xRRGGBB: what a capture of the screen would see.
  std::uint32_t screenPixel(int x, int y) {
    auto* reply = xcb_get_image_reply(
        c_,
        xcb_get_image(c_, XCB_IMAGE_FORMAT_Z_PIXMAP, screen_->root, static_cast<int16_t>(x),
                      static_cast<int16_t>(y), 1, 1, ~0u),
        nullptr);
    if (!reply) return 0xFFFFFFFF;
    std::uint32_t pixel = 0;
    if (xcb_get_image_data_length(reply) >= 4) {
      std::memcpy(&pixel, xcb_get_image_data(reply), 4);
    }
    std::free(reply);
    return pixel & 0xFFFFFF;
  }

 private:
  xcb_connection_t* c_;
  xcb_screen_t* screen_;
  xcb_window_t id_;
};

// Our scene: red, a blue right half, a green strip along the top (which tells up from down).
const char* kScene = R"(
import QtQuick
Rectangle {
  anchors.fill: parent
  color: "#ff0000"
  Rectangle { objectName: "right"; x: parent.width / 2; width: parent.width / 2
              height: parent.height; color: "#0000ff" }
  Rectangle { width: parent.width; height: 40; color: "#00ff00" }
}
)";

struct Scene {
  QQmlEngine engine;
  QQuickWindow window;
  std::unique_ptr<QQuickItem> root;

  Scene(QSize size) {
    QQmlComponent component(&engine);
    component.setData(kScene, QUrl());
    root.reset(qobject_cast<QQuickItem*>(component.create()));
    if (!root) {
      ADD_FAILURE() << component.errorString().toStdString();
      return;
    }
    root->setParentItem(window.contentItem());
    window.setFlag(Qt::FramelessWindowHint);
    window.setGeometry(QRect(QPoint(0, 0), size));
    window.show();
  }
  QQuickItem* right() { return root->findChild<QQuickItem*>("right"); }
  bool waitForRender() {
    QSignalSpy swapped(&window, &QQuickWindow::frameSwapped);
    return swapped.wait(5000);
  }
};

bool near(QColor got, QColor want) {
  return std::abs(got.red() - want.red()) < 40 && std::abs(got.green() - want.green()) < 40 &&
         std::abs(got.blue() - want.blue()) < 40;
}

// The frames written while the timer drives the feed for `time`, the main loop running.
std::vector<QImage> runTimer(VirtualCameraFeed& feed, const std::string& fifo,
                             std::chrono::milliseconds time, int* written = nullptr) {
  FifoReader reader(fifo);
  std::atomic<int> count{0};
  FrameTimer timer([&] { count += feed.pushFrame() ? 1 : 0; });
  timer.start();
  QTest::qWait(static_cast<int>(time.count()));
  timer.cancel();
  reader.stop();
  std::vector<QImage> images;
  for (const QByteArray& frame : splitJpegs(reader.bytes())) {
    EXPECT_TRUE(frame.endsWith("\xFF\xD9")) << "a frame cut short or followed by stray bytes";
    images.push_back(QImage::fromData(frame, "JPEG"));
  }
  if (written) *written = count;
  return images;
}

TEST(SceneFeed, FramesOfOurOwnScene) {
  Scene scene(QSize(320, 200));
  ASSERT_TRUE(scene.root);
  ASSERT_TRUE(scene.waitForRender());
  SceneFrames frames;
  frames.attach(&scene.window);
  QTemporaryDir dir;
  const std::string fifo = dir.filePath("camera").toStdString();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const QColor red(255, 0, 0), blue(0, 0, 255), green(0, 255, 0), yellow(255, 255, 0);
  auto checkPicture = [&](const QImage& image, QSize size, QColor right) {
    ASSERT_EQ(image.size(), size);
    EXPECT_TRUE(near(image.pixelColor(size.width() / 8, size.height() / 2), red));
    EXPECT_TRUE(near(image.pixelColor(size.width() * 7 / 8, size.height() / 2), right))
        << image.pixelColor(size.width() * 7 / 8, size.height() / 2).name().toStdString();
    EXPECT_TRUE(near(image.pixelColor(size.width() / 8, 10), green)) << "upside down";
    EXPECT_TRUE(near(image.pixelColor(size.width() / 8, size.height() - 10), red));
  };

  {  // no device: renders go by without a single read back
    VirtualCameraFeed feed([&] { return frames.latest(); }, [] { return std::string(); });
    for (int i = 0; i < 3; ++i) {
      EXPECT_FALSE(feed.pushFrame());
      scene.window.update();
      ASSERT_TRUE(scene.waitForRender());
    }
    EXPECT_EQ(frames.stats().readbacks, 0u);
  }

  VirtualCameraFeed feed([&] { return frames.latest(); }, [&] { return fifo; });
  {  // a still scene under another window: 30 frames a second of ours alone, from a few renders
    CoveringWindow cover(QRect(200, 60, 200, 200), 0xFFFF00);
    ASSERT_EQ(cover.screenPixel(280, 100), 0xFFFF00u) << "the other window does not cover ours";
    int written = 0;
    const auto images = runTimer(feed, fifo, 2s, &written);
    EXPECT_GE(images.size(), 45u);  // of 60: a busy machine drops a few slots
    EXPECT_EQ(static_cast<int>(images.size()), written);
    for (const QImage& image : images) checkPicture(image, QSize(320, 200), blue);
    EXPECT_LE(frames.stats().readbacks, 6u) << "a still scene is read again and again";
  }
  {  // a change shows within a few frames
    scene.right()->setProperty("color", yellow);
    const auto images = runTimer(feed, fifo, 1s);
    ASSERT_GE(images.size(), 25u);
    checkPicture(images.back(), QSize(320, 200), yellow);
  }
  {  // two renders between ticks: the one nobody asked for is caught up with, not lost
    const std::uint64_t before = frames.stats().readbacks;
    FifoReader reader(fifo);
    EXPECT_TRUE(feed.pushFrame());  // asks for the next render
    scene.right()->setProperty("color", green);
    ASSERT_TRUE(scene.waitForRender());
    scene.right()->setProperty("color", blue);
    ASSERT_TRUE(scene.waitForRender());
    for (int tick = 0; tick < 6; ++tick) {
      EXPECT_TRUE(feed.pushFrame());
      QTest::qWait(40);
    }
    reader.stop();
    const auto jpegs = splitJpegs(reader.bytes());
    ASSERT_EQ(jpegs.size(), 7u);
    checkPicture(QImage::fromData(jpegs[1], "JPEG"), QSize(320, 200), green);
    checkPicture(QImage::fromData(jpegs.back(), "JPEG"), QSize(320, 200), blue);
    EXPECT_LE(frames.stats().readbacks - before, 3u);
  }
  {  // the window grows: so do the frames
    scene.window.resize(400, 240);
    ASSERT_TRUE(scene.waitForRender());
    const auto images = runTimer(feed, fifo, 500ms);
    ASSERT_GE(images.size(), 10u);
    checkPicture(images.back(), QSize(400, 240), blue);
  }
  {  // let go of the window: no pictures, nothing written
    frames.attach(nullptr);
    const auto images = runTimer(feed, fifo, 300ms);
    EXPECT_TRUE(images.empty());
  }
}

}  // namespace
}  // namespace dravin

// A display of the test's own, and Qt on its X11 platform with OpenGL, as the application runs.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!dravin::test::XvfbDisplay::available()) {
    std::printf("Xvfb is not installed\n");
    return 77;
  }
  dravin::test::XvfbDisplay display("1280x800x24");
  if (display.name().empty()) return 1;
  qputenv("DISPLAY", QByteArray::fromStdString(display.name()));
  qputenv("QT_QPA_PLATFORM", "xcb");
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  QQuickWindow::setDefaultAlphaBuffer(true);  // as the application's windows have
  QGuiApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
