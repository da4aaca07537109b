// The virtual camera's frame cost, for bench/virtualcam.sh: a Qt Quick window of our own making on
// the current display at 1280 x 800 and 1920 x 1080, its pictures read back from the scene as the
// feed does (read back + JPEG + write), against the X capture of the same window that the feed
// used before (capture + JPEG + write), and GStreamer's ximagesrc + jpegenc for reference; then
// the 30 Hz timer driving the feed into a pipe while the scene moves, for the regularity of its
// ticks.
//
//   virtualcam_bench FRAMES SECONDS
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "frame_timer.h"
#include "jpeg_encoder.h"
#include "scene_frames.h"
#include "v4l2_output.h"
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

// The picture above as the scene's background, and a pen mark the benchmark moves so that every
// render is a new picture; `moving` animates it by itself for the timer run.
const char* kScene = R"(
import QtQuick
Item {
  property alias source: picture.source
  property bool moving: false
  anchors.fill: parent
  Image { id: picture; anchors.fill: parent }
  Rectangle {
    objectName: "mark"; width: 60; height: 60; radius: 30; color: "#e02828"; y: 120
    NumberAnimation on x { running: moving; from: 0; to: 900; duration: 3000; loops: Animation.Infinite }
  }
}
)";

struct Scene {
  QQmlEngine engine;
  QQuickWindow window;
  std::unique_ptr<QQuickItem> root;
  QTemporaryDir dir;

  Scene(int width, int height) {
    const QString picture = dir.filePath(QStringLiteral("picture.png"));
    sampleContent(width, height).save(picture);
    QQmlComponent component(&engine);
    component.setData(kScene, QUrl());
    root.reset(qobject_cast<QQuickItem*>(component.create()));
    if (!root) {
      std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
      std::exit(1);
    }
    root->setProperty("source", QUrl::fromLocalFile(picture));
    root->setParentItem(window.contentItem());
    window.setFlag(Qt::FramelessWindowHint);
    window.setGeometry(0, 0, width, height);
    window.show();
    for (int i = 0; i < 3; ++i) nextRender();
  }
  QQuickItem* mark() { return root->findChild<QQuickItem*>(QStringLiteral("mark")); }
  // Waits until the window has shown one more frame.
  void nextRender() {
    QEventLoop loop;
    QObject::connect(&window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    window.update();
    loop.exec();
  }
};

void spinEventLoop(std::chrono::milliseconds time) {
  QEventLoop loop;
  QTimer::singleShot(time, &loop, &QEventLoop::quit);
  loop.exec();
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

// A pipe whose far end a thread empties, standing for the loopback device.
struct DrainedPipe {
  int fds[2] = {-1, -1};
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

double threadCpuMs() {
  return bench::cpuSeconds(RUSAGE_THREAD) * 1000;
}

// The X server's process: an X capture's copy into the shared segment is the server's work, and
// a GL window's frames reach the screen through it. Found by the display in its command line.
int serverPid() {
  const QByteArray display = qgetenv("DISPLAY");
  for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    bool number = false;
    const int pid = entry.toInt(&number);
    if (!number) continue;
    QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!file.open(QIODevice::ReadOnly)) continue;
    const QList<QByteArray> args = file.readAll().split('\0');
    if (!args.isEmpty() && args[0].endsWith("Xvfb") && args.contains(display)) return pid;
  }
  return 0;
}

// User plus system milliseconds of process `pid` so far (in steps of the kernel's clock tick).
double processCpuMs(int pid) {
  if (pid <= 0) return 0;
  QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!file.open(QIODevice::ReadOnly)) return 0;
  const QByteArray stat = file.readAll();
  // The fields after the name, which is in parentheses and may hold spaces.
  const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
  if (fields.size() < 13) return 0;
  return (fields[11].toDouble() + fields[12].toDouble()) * 1000 /
         static_cast<double>(sysconf(_SC_CLK_TCK));
}

int xServer = 0;

// This process's CPU and the X server's, in milliseconds.
double allCpuMs() {
  return bench::cpuSeconds(RUSAGE_SELF) * 1000 + processCpuMs(xServer);
}

struct SizeFigures {
  // The scene path: the process's CPU per frame with the feed reading back and writing, less that
  // of the same renders with no device (so the readback's share of the renderer's own threads
  // counts too); its parts: the render thread's read and the tick (JPEG + write).
  double sceneCpuMs = 0, renderOnlyCpuMs = 0, readbackCpuMs = 0, tickMs = 0, tickCpuMs = 0,
         sceneKiB = 0;
  int readbacks = 0;
  // The X capture path it replaces, on the same window.
  double xTickMs = 0, xCpuMs = 0, xCaptureMs = 0, jpegMs = 0, gstMs = -1;
  // A still window: nothing renders and the scene path writes its kept JPEG again, where the X
  // capture (measured on the still window too) reads and encodes it anew on every tick.
  double stillSceneCpuMs = 0;
};

struct LoopFigures {
  double processCpuMs = 0, tickCpuMs = 0, tickMs = 0, readbackCpuMs = 0, kiB = 0;
  int readbacks = 0, written = 0;
};

// `frames` renders, each with the mark moved, each followed by a tick of a feed that has a
// device or not.
LoopFigures runFrames(Scene& scene, int frames, bool withDevice) {
  LoopFigures f;
  QQuickItem* mark = scene.mark();
  dravin::SceneFrames sceneFrames;
  sceneFrames.attach(&scene.window);
  DrainedPipe pipe;
  dravin::VirtualCameraFeed feed([&] { return sceneFrames.latest(); },
                                 [&] { return withDevice ? pipe.path() : std::string(); });
  for (int i = 0; i < 5; ++i) {  // the first reads allocate
    scene.nextRender();
    feed.pushFrame();
  }
  const dravin::SceneFrames::Stats before = sceneFrames.stats();
  const long long bytesBefore = pipe.bytes;
  double tickCpu = 0;
  qint64 tickNs = 0;
  const double processStart = allCpuMs();
  for (int i = 0; i < frames; ++i) {
    mark->setX((i * 37) % (scene.window.width() - 60));
    scene.nextRender();
    const double cpuStart = threadCpuMs();
    QElapsedTimer timer;
    timer.start();
    f.written += feed.pushFrame() ? 1 : 0;
    tickNs += timer.nsecsElapsed();
    tickCpu += threadCpuMs() - cpuStart;
  }
  f.processCpuMs = (allCpuMs() - processStart) / frames;
  const dravin::SceneFrames::Stats after = sceneFrames.stats();
  f.readbacks = static_cast<int>(after.readbacks - before.readbacks);
  f.readbackCpuMs = static_cast<double>(after.readbackCpuNs - before.readbackCpuNs) / 1e6 /
                    std::max(f.readbacks, 1);
  f.tickMs = static_cast<double>(tickNs) / 1e6 / frames;
  f.tickCpuMs = tickCpu / frames;
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  f.kiB = static_cast<double>(pipe.bytes - bytesBefore) / std::max(f.written, 1) / 1024;
  if (withDevice && (f.written != frames || f.readbacks != frames)) {
    std::fprintf(stderr, "%d frames written, %d read back, of %d\n", f.written, f.readbacks,
                 frames);
  }
  return f;
}

SizeFigures measure(int width, int height, int frames) {
  SizeFigures f;
  Scene scene(width, height);
  {  // taking turns, twice each, so that a change in the machine's load touches both alike
    LoopFigures with, without;
    for (int round = 0; round < 2; ++round) {
      const LoopFigures a = runFrames(scene, frames, false);
      const LoopFigures b = runFrames(scene, frames, true);
      without.processCpuMs += a.processCpuMs / 2;
      with.processCpuMs += b.processCpuMs / 2;
      with.tickCpuMs += b.tickCpuMs / 2;
      with.tickMs += b.tickMs / 2;
      with.readbackCpuMs += b.readbackCpuMs / 2;
      with.kiB += b.kiB / 2;
      with.readbacks += b.readbacks;
    }
    f.renderOnlyCpuMs = without.processCpuMs;
    f.sceneCpuMs = with.processCpuMs - without.processCpuMs;
    f.readbackCpuMs = with.readbackCpuMs;
    f.tickCpuMs = with.tickCpuMs;
    f.tickMs = with.tickMs;
    f.sceneKiB = with.kiB;
    f.readbacks = with.readbacks;
  }
  {  // the same window standing still
    dravin::SceneFrames sceneFrames;
    sceneFrames.attach(&scene.window);
    DrainedPipe pipe;
    dravin::VirtualCameraFeed feed([&] { return sceneFrames.latest(); },
                                   [&pipe] { return pipe.path(); });
    for (int i = 0; i < 5; ++i) {  // the first tick asks for the render it reads
      feed.pushFrame();
      spinEventLoop(std::chrono::milliseconds(40));
    }
    const double start = allCpuMs();
    int written = 0;
    for (int i = 0; i < frames; ++i) written += feed.pushFrame() ? 1 : 0;
    f.stillSceneCpuMs = (allCpuMs() - start) / frames;
    if (written != frames) std::fprintf(stderr, "still: %d of %d written\n", written, frames);
  }
  // The X capture of the same window, as the feed's tick did it before: the window's picture from
  // the X server's shared memory, encoded straight from there, one write.
  const auto id = static_cast<std::uint32_t>(scene.window.winId());
  {
    dravin::x11::WindowSystem windows;
    DrainedPipe pipe;
    dravin::v4l2::FrameOutput output;
    auto tick = [&] {
      bool written = false;
      windows.readWindow(id, [&](const QImage& image) {
        const std::optional<QSize> size = output.prepare(pipe.path(), image.size());
        if (size) {
          written = output.write(dravin::encodeJpeg(image, dravin::kVirtualCameraJpegQuality));
        }
      });
      return written;
    };
    for (int i = 0; i < 5; ++i) tick();  // the shared segment is set up here
    const double cpuStart = allCpuMs();
    QElapsedTimer timer;
    timer.start();
    int written = 0;
    for (int i = 0; i < frames; ++i) written += tick() ? 1 : 0;
    f.xTickMs = static_cast<double>(timer.nsecsElapsed()) / 1e6 / frames;
    f.xCpuMs = (allCpuMs() - cpuStart) / frames;
    if (written != frames) std::fprintf(stderr, "X: only %d of %d written\n", written, frames);
    QImage captured;
    timer.restart();
    for (int i = 0; i < frames; ++i) {
      windows.readWindow(id, [&captured](const QImage& image) { captured = image.copy(); });
    }
    f.xCaptureMs = static_cast<double>(timer.nsecsElapsed()) / 1e6 / frames;
    timer.restart();
    for (int i = 0; i < frames; ++i) {
      dravin::encodeJpeg(captured, dravin::kVirtualCameraJpegQuality);
    }
    f.jpegMs = static_cast<double>(timer.nsecsElapsed()) / 1e6 / frames;
  }
  f.gstMs = gstPerFrame(id, frames);
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
  qputenv("QT_QPA_PLATFORM", "xcb");
  QQuickWindow::setDefaultAlphaBuffer(true);  // as the application's windows have
  QGuiApplication app(argc, argv);
  xServer = serverPid();
  if (!xServer) std::fprintf(stderr, "the X server's process was not found\n");
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;

  const SizeFigures small = measure(1280, 800, frames);
  const SizeFigures large = measure(1920, 1080, frames);

  // The timer driving the feed at 1080p, as the application runs it, the mark moving all along.
  std::vector<std::chrono::steady_clock::time_point> ticks;
  std::mutex mutex;
  std::atomic<int> written{0};
  std::uint64_t timerReadbacks = 0;
  {
    Scene scene(1920, 1080);
    dravin::SceneFrames sceneFrames;
    sceneFrames.attach(&scene.window);
    DrainedPipe pipe;
    dravin::VirtualCameraFeed feed([&] { return sceneFrames.latest(); },
                                   [&pipe] { return pipe.path(); });
    scene.root->setProperty("moving", true);
    dravin::FrameTimer timer([&] {
      {
        std::lock_guard lock(mutex);
        ticks.push_back(std::chrono::steady_clock::now());
      }
      written += feed.pushFrame() ? 1 : 0;
    });
    timer.start();
    spinEventLoop(std::chrono::seconds(seconds));
    timer.cancel();
    timerReadbacks = sceneFrames.stats().readbacks;
  }
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

  auto sizeLines = [](const char* name, const SizeFigures& f) {
    std::printf(
        "%s scene: %.2f ms CPU per frame added to the render's own %.2f ms; parts: read back"
        " %.2f ms CPU on the render thread (%d reads), tick (JPEG 70 + write) %.2f ms wall,"
        " %.2f ms CPU; %.0f KiB\n",
        name, f.sceneCpuMs, f.renderOnlyCpuMs, f.readbackCpuMs, f.readbacks, f.tickMs, f.tickCpuMs,
        f.sceneKiB);
    std::printf(
        "%s still scene: %.2f ms CPU per tick\n"
        "%s X capture: tick (capture + JPEG 70 + write) %.2f ms wall, %.2f ms CPU;"
        " capture with a copy %.2f ms, JPEG %.2f ms; gst-launch ximagesrc ! jpegenc %.2f ms\n",
        name, f.stillSceneCpuMs, name, f.xTickMs, f.xCpuMs, f.xCaptureMs, f.jpegMs, f.gstMs);
  };
  std::printf("frames: %d per size, timer run %d s\n", frames, seconds);
  sizeLines("1280x800", small);
  sizeLines("1920x1080", large);
  std::printf(
      "timer at 1080p, scene moving: %zu ticks (%ld slots dropped), %d frames written, %llu read"
      " back; interval p50 %.2f ms, p99 %.2f ms, max %.2f ms; last tick %.2f ms off its slot\n",
      ticks.size(), dropped, written.load(), static_cast<unsigned long long>(timerReadbacks),
      percentile(intervals, 0.5), percentile(intervals, 0.99), percentile(intervals, 1.0), drift);
  std::printf("virtualcam: scene_cpu_ms_800p = %.2f (goal <= x11_cpu_ms_800p)\n", small.sceneCpuMs);
  std::printf("virtualcam: x11_cpu_ms_800p = %.2f (goal none, for comparison)\n", small.xCpuMs);
  std::printf("virtualcam: scene_cpu_ms_1080p = %.2f (goal <= x11_cpu_ms_1080p)\n",
              large.sceneCpuMs);
  std::printf("virtualcam: x11_cpu_ms_1080p = %.2f (goal none, for comparison)\n", large.xCpuMs);
  std::printf("virtualcam: scene_vs_x11_cpu_800p = %.2f (goal <= 1)\n",
              small.sceneCpuMs / small.xCpuMs);
  std::printf("virtualcam: scene_vs_x11_cpu_1080p = %.2f (goal <= 1)\n",
              large.sceneCpuMs / large.xCpuMs);
  std::printf("virtualcam: still_scene_cpu_ms_1080p = %.2f (goal <= x11_cpu_ms_1080p)\n",
              large.stillSceneCpuMs);
  std::printf("virtualcam: tick_ms_1080p = %.2f (goal <= 8)\n", large.tickMs);
  std::printf("virtualcam: tick_jitter_p99_ms = %.2f (goal < 5)\n", percentile(jitter, 0.99));
  std::printf("virtualcam: frames_per_second_1080p = %.1f (goal 30)\n", fps);
  return 0;
}
