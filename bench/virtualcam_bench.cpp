// The virtual camera's frame cost, for bench/virtualcam.sh: a window of our own making on the
// current display at 1280 x 800 and 1920 x 1080, captured and encoded as the feed's ticks do,
// against GStreamer's ximagesrc + jpegenc on the same window; then the 30 Hz timer driving the
// feed into a pipe, for the regularity of its ticks.
//
//   virtualcam_bench FRAMES SECONDS
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "frame_timer.h"
#include "jpeg_encoder.h"
#include "virtual_camera.h"
#include "x11_windows.h"

namespace {

// Something like the application's window: a camera picture (a noisy gradient, as a sensor gives),
// a bar of controls and strokes of the board over it.
QImage sampleContent(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  QLinearGradient gradient(0, 0, width, height);
  gradient.setColorAt(0, QColor(200, 190, 170));
  gradient.setColorAt(1, QColor(90, 110, 140));
  QPainter painter(&image);
  painter.fillRect(image.rect(), gradient);
  painter.setPen(QPen(QColor(20, 20, 20), 2));
  painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 14));
  for (int line = 0; line < height / 40; ++line) {
    painter.drawText(width / 8, 60 + line * 36,
                     QStringLiteral("Page %1: worksheet line, fractions and their sums %2")
                         .arg(line)
                         .arg(line * 7919));
  }
  painter.setPen(QPen(QColor(230, 40, 40), 6));
  painter.drawEllipse(width / 2, height / 3, width / 4, height / 4);
  painter.fillRect(0, height - 70, width, 70, QColor(0x1e, 0x24, 0x2c));
  painter.end();
  bench::addSensorNoise(image, QRect(0, 0, width, height - 70), 10, *QRandomGenerator::global());
  return image;
}

// Wall milliseconds per frame of gst-launch on the window, start-up removed by subtracting a
// one-frame run.
double gstPerFrame(xcb_window_t id, int frames) {
  auto run = [id](int count) {
    const std::string command =
        "gst-launch-1.0 -q ximagesrc xid=" + std::to_string(id) +
        " use-damage=false show-pointer=false num-buffers=" + std::to_string(count) +
        " ! video/x-raw,framerate=1000/1 ! jpegenc quality=70 ! fakesink > /dev/null";
    QElapsedTimer timer;
    timer.start();
    if (std::system(command.c_str()) != 0) return -1.0;
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
  };
  const double one = run(1);
  const double many = run(frames + 1);
  if (one < 0 || many < 0) return -1;
  return (many - one) / frames;
}

struct Window {
  xcb_connection_t* c;
  xcb_window_t id;
};

Window makeWindow(int width, int height) {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  const xcb_window_t id = xcb_generate_id(c);
  const uint32_t values[] = {screen->white_pixel};
  xcb_create_window(c, XCB_COPY_FROM_PARENT, id, screen->root, 0, 0, static_cast<uint16_t>(width),
                    static_cast<uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                    screen->root_visual, XCB_CW_BACK_PIXEL, values);
  xcb_map_window(c, id);
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
  const QImage content = sampleContent(width, height);
  const xcb_gcontext_t gc = xcb_generate_id(c);
  xcb_create_gc(c, gc, id, 0, nullptr);
  for (int y = 0; y < height; y += 16) {
    const int rows = std::min(16, height - y);
    xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, id, gc, static_cast<uint16_t>(width),
                  static_cast<uint16_t>(rows), 0, static_cast<int16_t>(y), 0, 24,
                  static_cast<uint32_t>(width * rows * 4), content.constScanLine(y));
  }
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
  return {c, id};
}

// A pipe whose far end a thread empties, standing for the loopback device.
struct DrainedPipe {
  int fds[2] = {-1, -1};
  std::atomic<bool> stop{false};
  std::atomic<long long> bytes{0};
  std::thread thread;
  DrainedPipe() {
    if (pipe(fds) != 0) return;
    fcntl(fds[1], F_SETPIPE_SZ, 1 << 20);
    thread = std::thread([this] {
      char buffer[1 << 16];
      ssize_t got;
      while ((got = ::read(fds[0], buffer, sizeof buffer)) > 0) bytes += got;
    });
  }
  std::string path() const { return "/proc/self/fd/" + std::to_string(fds[1]); }
  ~DrainedPipe() {
    ::close(fds[1]);
    if (thread.joinable()) thread.join();
    ::close(fds[0]);
  }
};

struct SizeFigures {
  double feedMs = 0, feedCpuMs = 0, captureMs = 0, jpegMs = 0, gstMs = -1, jpegKiB = 0;
};

SizeFigures measure(int width, int height, int frames) {
  SizeFigures f;
  Window window = makeWindow(width, height);
  {
    DrainedPipe pipe;
    dravin::VirtualCameraFeed feed([&pipe] { return pipe.path(); });
    feed.setWindow(window.id);
    for (int i = 0; i < 5; ++i) feed.pushFrame();  // the off-screen storage is set up here
    const double cpuStart = bench::cpuSeconds(RUSAGE_SELF);
    QElapsedTimer timer;
    timer.start();
    const long long before = pipe.bytes;
    int written = 0;
    for (int i = 0; i < frames; ++i) written += feed.pushFrame() ? 1 : 0;
    f.feedMs = static_cast<double>(timer.nsecsElapsed()) / 1e6 / frames;
    f.feedCpuMs = (bench::cpuSeconds(RUSAGE_SELF) - cpuStart) * 1000 / frames;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    f.jpegKiB = static_cast<double>(pipe.bytes - before) / std::max(written, 1) / 1024;
    if (written != frames) std::fprintf(stderr, "only %d of %d frames written\n", written, frames);
  }
  dravin::x11::WindowSystem windows;
  QImage captured;
  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < frames; ++i) {
    windows.readWindow(window.id, [&captured](const QImage& image) { captured = image; });
  }
  f.captureMs = static_cast<double>(timer.nsecsElapsed()) / 1e6 / frames;
  captured = windows.captureWindow(window.id);
  timer.restart();
  for (int i = 0; i < frames; ++i) dravin::encodeJpeg(captured, dravin::kVirtualCameraJpegQuality);
  f.jpegMs = static_cast<double>(timer.nsecsElapsed()) / 1e6 / frames;
  f.gstMs = gstPerFrame(window.id, frames);
  xcb_disconnect(window.c);
  return f;
}

double percentile(std::vector<double> values, double p) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const auto index =
      static_cast<std::size_t>(std::ceil(p * static_cast<double>(values.size()))) - 1;
  return values[std::min(index, values.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;

  // Held to the end: an Xvfb without -noreset starts over whenever its last client leaves.
  xcb_connection_t* keeper = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(keeper)) {
    std::fprintf(stderr, "no display\n");
    return 1;
  }
  const SizeFigures small = measure(1280, 800, frames);
  const SizeFigures large = measure(1920, 1080, frames);

  // The timer driving the feed at 1080p, as the application runs it.
  Window window = makeWindow(1920, 1080);
  std::vector<std::chrono::steady_clock::time_point> ticks;
  std::mutex mutex;
  std::atomic<int> written{0};
  {
    DrainedPipe pipe;
    dravin::VirtualCameraFeed feed([&pipe] { return pipe.path(); });
    feed.setWindow(window.id);
    feed.pushFrame();
    dravin::FrameTimer timer([&] {
      {
        std::lock_guard lock(mutex);
        ticks.push_back(std::chrono::steady_clock::now());
      }
      written += feed.pushFrame() ? 1 : 0;
    });
    timer.start();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    timer.cancel();
  }
  xcb_disconnect(window.c);
  xcb_disconnect(keeper);
  std::vector<double> intervals;
  const double period = 1000.0 / 30;
  for (std::size_t i = 1; i < ticks.size(); ++i) {
    intervals.push_back(std::chrono::duration<double, std::milli>(ticks[i] - ticks[i - 1]).count());
  }
  // Where the last tick lies against its slot, and how many slots a busy machine made it drop.
  double drift = 0;
  long dropped = 0;
  if (!ticks.empty()) {
    const double span = std::chrono::duration<double, std::milli>(ticks.back() - ticks[0]).count();
    const double slot = std::round(span / period);
    drift = span - slot * period;
    dropped = static_cast<long>(slot) + 1 - static_cast<long>(ticks.size());
  }
  std::vector<double> jitter;
  for (double interval : intervals) jitter.push_back(std::abs(interval - period));
  const double fps = static_cast<double>(written) / seconds;

  auto sizeLine = [](const char* name, const SizeFigures& f) {
    std::printf(
        "%s: feed tick (capture + JPEG 70 + write) %.2f ms wall, %.2f ms CPU, %.0f KiB;"
        " capture %.2f ms, JPEG %.2f ms; gst-launch ximagesrc ! jpegenc quality=70 %.2f ms\n",
        name, f.feedMs, f.feedCpuMs, f.jpegKiB, f.captureMs, f.jpegMs, f.gstMs);
  };
  std::printf("frames: %d per size, timer run %d s\n", frames, seconds);
  sizeLine("1280x800", small);
  sizeLine("1920x1080", large);
  std::printf(
      "timer at 1080p: %zu ticks (%ld slots dropped), %d frames written; interval p50 %.2f ms,"
      " p99 %.2f ms, max %.2f ms; last tick %.2f ms off its slot\n",
      ticks.size(), dropped, written.load(), percentile(intervals, 0.5),
      percentile(intervals, 0.99), percentile(intervals, 1.0), drift);
  std::printf("virtualcam: frame_ms_800p = %.2f (goal none, for comparison)\n", small.feedMs);
  std::printf("virtualcam: frame_ms_1080p = %.2f (goal <= 8)\n", large.feedMs);
  if (small.gstMs > 0) {
    std::printf("virtualcam: ratio_vs_gstreamer_800p = %.2f (goal < 1)\n",
                small.feedMs / small.gstMs);
  }
  if (large.gstMs > 0) {
    std::printf("virtualcam: ratio_vs_gstreamer_1080p = %.2f (goal < 1)\n",
                large.feedMs / large.gstMs);
  }
  std::printf("virtualcam: tick_jitter_p99_ms = %.2f (goal < 5)\n", percentile(jitter, 0.99));
  std::printf("virtualcam: frames_per_second_1080p = %.1f (goal 30)\n", fps);
  return 0;
}
