// Measures the capture session the application runs: CPU time per frame of the 1080p30 MJPEG
// preview path (decode, hand-over to the view's video sink), and the latency of a snapshot from
// the request to the PNG on disk, beside Qt's own PNG writer on the same frame, and the time from
// a demo camera being plugged in to its first frame at the view's sink.
//   camera_bench preview FRAMES | camera_bench snapshot ROUNDS | camera_bench hotplug ROUNDS
#include <sys/resource.h>

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTimer>
#include <QVideoSink>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

#include "bench_support.h"
#include "camera_controller.h"
#include "demo_device_source.h"
#include "notification_center.h"
#include "notification_names.h"
#include "storage_folders.h"

namespace {

using namespace dravin;

// The camera a document camera is in practice: Full HD MJPEG at 30 frames a second.
class BenchCamera : public DeviceSource {
 public:
  std::vector<CaptureDevice> videoDevices() override {
    CaptureDevice camera;
    camera.uniqueID = "bench-camera";
    camera.name = "Bench Camera";
    camera.sourceLaunch =
        "videotestsrc is-live=true pattern=smpte ! "
        "video/x-raw,width=1920,height=1080,framerate=30/1 ! jpegenc quality=85";
    return {camera};
  }
  std::vector<CaptureDevice> audioDevices() override { return {}; }
};

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Sleeps in the event loop between checks: a busy wait would be measured as the session's CPU.
bool waitFor(const std::function<bool()>& done, int timeoutMs) {
  if (done()) return true;
  QEventLoop loop;
  QTimer check;
  QObject::connect(&check, &QTimer::timeout, [&] {
    if (done()) loop.exit(0);
  });
  check.start(5);
  QTimer::singleShot(timeoutMs, &loop, [&] { loop.exit(1); });
  return loop.exec() == 0;
}

// Unplugs and plugs the demo camera ROUNDS times; the median time from the plug to the first
// frame handed to the view.
int hotPlug(int rounds, const QString& folder) {
  auto demo = std::make_unique<DemoDeviceSource>(nullptr);
  DemoDeviceSource* plug = demo.get();
  CameraController controller(std::move(demo),
                              std::make_unique<CameraMemory>(folder + "/bench.conf"));
  QVideoSink sink;
  std::atomic<int> frames = 0;
  QObject::connect(&sink, &QVideoSink::videoFrameChanged, [&] { ++frames; });
  controller.setVideoSink(&sink);
  bool ready = false;
  controller.prepare([&](auto error) { ready = !error; });
  if (!waitFor([&] { return ready && frames >= 30; }, 20000)) return 1;
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    plug->removeCamera(DemoDeviceSource::kCameraName);
    if (!waitFor([&] { return controller.cameraDisconnected(); }, 10000)) return 1;
    const int seen = frames;
    QElapsedTimer timer;
    timer.start();
    plug->addCamera(DemoDeviceSource::kCameraName);
    if (!waitFor([&] { return frames > seen; }, 10000)) return 1;
    times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  }
  printf("hotplug_ms %.0f\n", median(times));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const QString mode = argc > 1 ? argv[1] : "preview";
  const int count = argc > 2 ? std::max(1, atoi(argv[2])) : 300;

  QTemporaryDir storage;
  storageFolders() = StorageFolders::under(storage.path());
  QDir().mkpath(storageFolders()->images);
  if (mode == "hotplug") return hotPlug(count, storage.path());

  CameraController controller(std::make_unique<BenchCamera>());
  QVideoSink sink;
  std::atomic<int> frames = 0;  // counted on the streaming thread
  QObject::connect(&sink, &QVideoSink::videoFrameChanged, [&] { ++frames; });
  controller.setVideoSink(&sink);
  bool ready = false;
  controller.prepare([&](auto error) {
    if (error) fprintf(stderr, "camera_bench: %s\n", error->what());
    ready = !error;
  });
  if (!waitFor([&] { return ready; }, 20000)) return 1;
  // Past the start: the first frames pay for the pipeline's set-up.
  waitFor([&] { return frames >= 30; }, 20000);

  if (mode == "preview") {
    const int first = frames;
    const double before = bench::cpuSeconds();
    if (!waitFor([&] { return frames - first >= count; }, count * 200)) return 1;
    const double used = bench::cpuSeconds() - before;
    printf("preview_frames %d\npreview_cpu_ms_per_frame %.3f\n", frames - first,
           1000.0 * used / (frames - first));
    return 0;
  }

  QString written;
  QImage picture;
  NotificationCenter::instance().observe(notifications::kImageCaptured, &controller,
                                         [&](const QVariantMap& info) {
                                           written = info.value("url").toUrl().toLocalFile();
                                           picture = info.value("image").value<QImage>();
                                         });
  std::vector<double> latencies, encodes;
  for (int round = 0; round < count; ++round) {
    written.clear();
    QElapsedTimer timer;
    timer.start();
    controller.takeSnapshot();
    if (!waitFor([&] { return !written.isEmpty(); }, 10000)) return 1;
    latencies.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);

    timer.restart();
    QImageWriter writer(storage.filePath("qt.png"), "png");
    if (!writer.write(picture)) return 1;
    encodes.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  }
  printf("snapshot_size %dx%d\nsnapshot_ms %.1f\nqt_png_ms %.1f\n", picture.width(),
         picture.height(), median(latencies), median(encodes));
  return 0;
}
