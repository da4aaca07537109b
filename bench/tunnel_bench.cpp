// The window tunnel's frame cost, for bench/tunnel.sh: a 1280 x 720 window of our own making on
// the current display, captured, encoded and wrapped as the board's frames are, against
// GStreamer's ximagesrc + jpegenc on the same window.
//
//   tunnel_bench FRAMES
#include <sys/resource.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "bench_support.h"
#include "jpeg_encoder.h"
#include "window_tunnel.h"
#include "x11_windows.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

// Something like an application's window: text lines, panels, a photo-like gradient with noise.
QImage sampleContent() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.fillRect(0, 0, kWidth, 40, QColor(0x2b, 0x32, 0x3c));
  painter.fillRect(0, 40, 220, kHeight - 40, QColor(0xee, 0xf0, 0xf3));
  QLinearGradient gradient(760, 80, 1240, 460);
  gradient.setColorAt(0, QColor(30, 90, 160));
  gradient.setColorAt(1, QColor(220, 150, 60));
  painter.fillRect(760, 80, 480, 380, gradient);
  painter.setPen(Qt::black);
  painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
  for (int line = 0; line < 30; ++line) {
    painter.drawText(250, 80 + line * 20,
                     QStringLiteral("Line %1: the quick brown fox jumps over the lazy dog, %2")
                         .arg(line)
                         .arg(line * 7919));
  }
  painter.end();
  bench::addSensorNoise(image, QRect(760, 80, 480, 380), 24, *QRandomGenerator::global());
  return image;
}

// Wall and CPU milliseconds per frame of a gst-launch pipeline on the window, start-up removed by
// subtracting a one-frame run.
std::pair<double, double> gstPerFrame(xcb_window_t id, int frames) {
  auto run = [id](int count) {
    const std::string command =
        "gst-launch-1.0 -q ximagesrc xid=" + std::to_string(id) +
        " use-damage=false show-pointer=false num-buffers=" + std::to_string(count) +
        " ! video/x-raw,framerate=1000/1 ! jpegenc quality=80 ! fakesink > /dev/null";
    const double cpuBefore = bench::cpuSeconds(RUSAGE_CHILDREN);
    QElapsedTimer timer;
    timer.start();
    if (std::system(command.c_str()) != 0) return std::pair<double, double>{-1, -1};
    return std::pair<double, double>{static_cast<double>(timer.nsecsElapsed()) / 1e6,
                                     (bench::cpuSeconds(RUSAGE_CHILDREN) - cpuBefore) * 1000};
  };
  const auto one = run(1);
  const auto many = run(frames + 1);
  if (one.first < 0 || many.first < 0) return {-1, -1};
  return {(many.first - one.first) / frames, (many.second - one.second) / frames};
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 120;

  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    std::fprintf(stderr, "no display\n");
    return 1;
  }
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  const xcb_window_t id = xcb_generate_id(c);
  const uint32_t values[] = {screen->white_pixel};
  xcb_create_window(c, XCB_COPY_FROM_PARENT, id, screen->root, 0, 0, kWidth, kHeight, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, values);
  const char title[] = "Tunnel bench";
  auto atom = [c](const char* name) {
    auto* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return result;
  };
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8,
                      sizeof title - 1, title);
  xcb_map_window(c, id);
  xcb_flush(c);

  // The application's tunnel, as the page's frame requests reach it; this process's own windows
  // are ordinary windows to it here.
  dravin::WindowTunnel tunnel({}, 0);
  for (int i = 0; i < 500 && !tunnel.windowSystem()->findWindow(id); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!tunnel.windowSystem()->findWindow(id)) {
    std::fprintf(stderr, "the window manager did not list the window\n");
    return 1;
  }
  // The content, drawn once the window is placed, row band by row band within request limits.
  const QImage content = sampleContent();
  const xcb_gcontext_t gc = xcb_generate_id(c);
  xcb_create_gc(c, gc, id, 0, nullptr);
  for (int y = 0; y < kHeight; y += 60) {
    xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, id, gc, kWidth, 60, 0, static_cast<int16_t>(y), 0,
                  24, static_cast<uint32_t>(kWidth * 60 * 4), content.constScanLine(y));
  }
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));

  // Warm-up: the first capture sets up the window's off-screen storage.
  const QString first = tunnel.frameDataUrl(static_cast<int>(id));
  if (first.isEmpty()) {
    std::fprintf(stderr, "capture failed\n");
    return 1;
  }

  QElapsedTimer timer;
  const double cpuStart = bench::cpuSeconds(RUSAGE_SELF);
  timer.start();
  qsizetype bytes = 0;
  for (int i = 0; i < frames; ++i) bytes += tunnel.frameDataUrl(static_cast<int>(id)).size();
  const double totalMs = static_cast<double>(timer.nsecsElapsed()) / 1e6 / frames;
  const double totalCpuMs = (bench::cpuSeconds(RUSAGE_SELF) - cpuStart) * 1000 / frames;

  // The parts, one at a time.
  QImage captured;
  timer.restart();
  for (int i = 0; i < frames; ++i) captured = tunnel.windowSystem()->captureWindow(id);
  const double captureMs = static_cast<double>(timer.nsecsElapsed()) / 1e6 / frames;
  QByteArray jpeg;
  timer.restart();
  for (int i = 0; i < frames; ++i) jpeg = dravin::encodeJpeg(captured);
  const double jpegMs = static_cast<double>(timer.nsecsElapsed()) / 1e6 / frames;
  timer.restart();
  for (int i = 0; i < frames; ++i) {
    QByteArray written;
    QBuffer buffer(&written);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(80);
    writer.write(captured);
  }
  const double qtJpegMs = static_cast<double>(timer.nsecsElapsed()) / 1e6 / frames;
  QByteArray base64;
  timer.restart();
  for (int i = 0; i < frames; ++i) base64 = jpeg.toBase64();
  const double base64Ms = static_cast<double>(timer.nsecsElapsed()) / 1e6 / frames;

  const auto [gstMs, gstCpuMs] = gstPerFrame(id, frames);

  std::printf("frames: %d of %dx%d, data URL %.0f KiB\n", frames, kWidth, kHeight,
              static_cast<double>(bytes) / frames / 1024);
  std::printf("capture + JPEG + Base64: %.2f ms wall, %.2f ms CPU per frame\n", totalMs,
              totalCpuMs);
  std::printf("  capture %.2f ms, JPEG (libjpeg) %.2f ms, Base64 %.2f ms\n", captureMs, jpegMs,
              base64Ms);
  std::printf("  JPEG through QImageWriter quality 80, for comparison: %.2f ms\n", qtJpegMs);
  std::printf("gst-launch ximagesrc ! jpegenc: %.2f ms wall, %.2f ms CPU per frame\n", gstMs,
              gstCpuMs);
  std::printf("tunnel: frame_ms = %.2f (goal <= 66.7)\n", totalMs);
  std::printf("tunnel: frames_per_second = %.1f (goal >= 15)\n", 1000.0 / totalMs);
  if (gstMs > 0) {
    std::printf("tunnel: frame_cost_ratio_vs_gstreamer = %.2f (goal none, for comparison)\n",
                totalMs / gstMs);
  }
  xcb_disconnect(c);
  return 0;
}
