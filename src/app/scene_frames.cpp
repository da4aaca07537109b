#include "scene_frames.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QSysInfo>
#include <algorithm>
#include <cstring>
#include <ctime>
#include <vector>

#include "app_log.h"

#ifndef GL_PACK_INVERT_MESA
#define GL_PACK_INVERT_MESA 0x8758
#endif
#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif
#ifndef GL_UNSIGNED_INT_8_8_8_8_REV
#define GL_UNSIGNED_INT_8_8_8_8_REV 0x8367
#endif

namespace dravin {

namespace {

std::uint64_t threadCpuNs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<std::uint64_t>(now.tv_sec) * 1'000'000'000u +
         static_cast<std::uint64_t>(now.tv_nsec);
}

// GL rows come bottom-up; Mesa can hand them over top-down itself, elsewhere they are swapped.
void flipRows(QImage& image) {
  const auto bytes = static_cast<std::size_t>(image.bytesPerLine());
  std::vector<uchar> row(bytes);
  for (int top = 0, bottom = image.height() - 1; top < bottom; ++top, --bottom) {
    uchar* a = image.scanLine(top);
    uchar* b = image.scanLine(bottom);
    std::memcpy(row.data(), a, bytes);
    std::memcpy(a, b, bytes);
    std::memcpy(b, row.data(), bytes);
  }
}

}  // namespace

SceneFrames::SceneFrames(QObject* parent) : QObject(parent) {}

SceneFrames::~SceneFrames() {
  attach(nullptr);
}

void SceneFrames::attach(QQuickWindow* window) {
  disconnect(synced_);
  disconnect(rendered_);
  window_ = window;
  {
    std::lock_guard lock(mutex_);
    latest_.image = QImage();
  }
  behind_ = true;
  renderAsked_ = false;
  if (!window) return;
  // Direct connections: both run on the render thread, the first while the main thread waits.
  synced_ = connect(
      window, &QQuickWindow::afterSynchronizing, this, [this, window] { synchronize(window); },
      Qt::DirectConnection);
  rendered_ = connect(
      window, &QQuickWindow::afterRendering, this, [this, window] { readBack(window); },
      Qt::DirectConnection);
}

SceneFrames::Frame SceneFrames::latest() {
  wanted_ = true;
  if (behind_ && !renderAsked_.exchange(true)) askForRender();
  std::lock_guard lock(mutex_);
  return latest_;
}

SceneFrames::Stats SceneFrames::stats() const {
  std::lock_guard lock(mutex_);
  return stats_;
}

void SceneFrames::askForRender() {
  // Queued to the main thread, where the window lives; `this` outlives every caller.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (window_) {
          window_->update();
        } else {
          renderAsked_ = false;
        }
      },
      Qt::QueuedConnection);
}

void SceneFrames::synchronize(QQuickWindow* window) {
  const qreal ratio = window->effectiveDevicePixelRatio();
  pixelSize_ = QSize(qRound(window->width() * ratio), qRound(window->height() * ratio));
}

void SceneFrames::readBack(QQuickWindow* window) {
  if (!wanted_.exchange(false)) {
    behind_ = true;
    renderAsked_ = false;
    return;
  }
  QOpenGLContext* context = QOpenGLContext::currentContext();
  if (!context || pixelSize_.isEmpty()) {
    // Not a GL scene: nothing to catch up with, or every tick would ask for another render.
    behind_ = false;
    renderAsked_ = false;
    return;
  }
  const std::uint64_t start = threadCpuNs();
  // Desktop GL gives Qt's own 32-bit layout; GLES only promises RGBA bytes.
  const bool desktop = !context->isOpenGLES();
  const QImage::Format format = desktop ? QImage::Format_RGB32 : QImage::Format_RGBX8888;
  // The spare is the picture handed out two reads ago; reused unless a caller still holds it.
  if (spare_.size() != pixelSize_ || spare_.format() != format || !spare_.isDetached()) {
    spare_ = QImage(pixelSize_, format);
  }
  const bool invert = context->hasExtension(QByteArrayLiteral("GL_MESA_pack_invert"));
  QOpenGLFunctions* gl = context->functions();
  // The scene's recorded commands are carried out first, and Qt Quick's state is restored after.
  window->beginExternalCommands();
  while (gl->glGetError() != GL_NO_ERROR) {
  }
  gl->glBindFramebuffer(GL_FRAMEBUFFER, context->defaultFramebufferObject());
  gl->glPixelStorei(GL_PACK_ALIGNMENT, 4);
  if (invert) gl->glPixelStorei(GL_PACK_INVERT_MESA, GL_TRUE);
  gl->glReadPixels(0, 0, pixelSize_.width(), pixelSize_.height(), desktop ? GL_BGRA : GL_RGBA,
                   desktop ? GL_UNSIGNED_INT_8_8_8_8_REV : GL_UNSIGNED_BYTE, spare_.bits());
  const GLenum error = gl->glGetError();
  if (invert) gl->glPixelStorei(GL_PACK_INVERT_MESA, GL_FALSE);
  window->endExternalCommands();
  behind_ = false;
  renderAsked_ = false;
  if (error != GL_NO_ERROR) {
    static std::atomic<bool> logged{false};
    if (!logged.exchange(true)) {
      logLine(QStringLiteral("Virtual camera: reading the window's picture failed, GL error 0x") +
              QString::number(error, 16));
    }
    return;
  }
  if (!invert) flipRows(spare_);
  const std::uint64_t spent = threadCpuNs() - start;
  std::lock_guard lock(mutex_);
  std::swap(latest_.image, spare_);
  ++latest_.serial;
  ++stats_.readbacks;
  stats_.readbackCpuNs += spent;
}

}  // namespace dravin
