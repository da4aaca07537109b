#include "scene_frames.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <atomic>
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

// GL rows come bottom-up.
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

class SceneFrames::Reader {
 public:
  std::atomic<bool> wanted{false};       // a caller asked since the last read
  std::atomic<bool> behind{true};        // the newest render was not read
  std::atomic<bool> renderAsked{false};  // a render is asked for and has not happened yet

  Frame latest() {
    std::lock_guard lock(mutex_);
    return latest_;
  }
  Stats stats() {
    std::lock_guard lock(mutex_);
    return stats_;
  }

  // Render thread, while the main thread waits.
  void synchronize(QQuickWindow* window) {
    const qreal ratio = window->effectiveDevicePixelRatio();
    pixelSize_ = QSize(qRound(window->width() * ratio), qRound(window->height() * ratio));
  }

  // Render thread, after the scene is drawn and before it is shown.
  void readBack(QQuickWindow* window);

 private:
  QSize pixelSize_;
  QImage spare_;

  std::mutex mutex_;
  Frame latest_;
  Stats stats_;
};

void SceneFrames::Reader::readBack(QQuickWindow* window) {
  if (!wanted.exchange(false)) {
    behind = true;
    renderAsked = false;
    return;
  }
  QOpenGLContext* context = QOpenGLContext::currentContext();
  if (!context || pixelSize_.isEmpty()) {
    // Not a GL scene: nothing to catch up with, or every tick would ask for another render.
    behind = false;
    renderAsked = false;
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
  // The scene's recorded commands are carried out first, and Qt Quick's state is restored after.
  window->beginExternalCommands();
  QOpenGLFunctions* gl = context->functions();
  // Earlier errors are cleared, boundedly: a lost context keeps reporting one.
  for (int i = 0; i < 8 && gl->glGetError() != GL_NO_ERROR; ++i) {
  }
  gl->glBindFramebuffer(GL_FRAMEBUFFER, context->defaultFramebufferObject());
  gl->glPixelStorei(GL_PACK_ALIGNMENT, 4);
  // Mesa hands the rows over top-down itself; elsewhere they are swapped below.
  const bool flipped = context->hasExtension(QByteArrayLiteral("GL_MESA_pack_invert"));
  if (flipped) gl->glPixelStorei(GL_PACK_INVERT_MESA, GL_TRUE);
  gl->glReadPixels(0, 0, pixelSize_.width(), pixelSize_.height(), desktop ? GL_BGRA : GL_RGBA,
                   desktop ? GL_UNSIGNED_INT_8_8_8_8_REV : GL_UNSIGNED_BYTE, spare_.bits());
  const GLenum error = gl->glGetError();
  if (flipped) gl->glPixelStorei(GL_PACK_INVERT_MESA, GL_FALSE);
  window->endExternalCommands();
  behind = false;
  renderAsked = false;
  if (error != GL_NO_ERROR) {
    static std::atomic<bool> logged{false};
    if (!logged.exchange(true)) {
      logLine(QStringLiteral("Virtual camera: reading the window's picture failed, GL error 0x") +
              QString::number(error, 16));
    }
    return;
  }
  if (!flipped) flipRows(spare_);
  const std::uint64_t spent = threadCpuNs() - start;
  std::lock_guard lock(mutex_);
  std::swap(latest_.image, spare_);
  ++latest_.serial;
  ++stats_.readbacks;
  stats_.readbackCpuNs += spent;
}

SceneFrames::SceneFrames(QObject* parent) : QObject(parent), reader_(std::make_shared<Reader>()) {}

SceneFrames::~SceneFrames() {
  attach(nullptr);
}

std::shared_ptr<SceneFrames::Reader> SceneFrames::reader() const {
  std::lock_guard lock(mutex_);
  return reader_;
}

void SceneFrames::attach(QQuickWindow* window) {
  disconnect(synced_);
  disconnect(rendered_);
  // A fresh reader: a callback for the previous window that is still running writes into the old
  // one, which nobody reads any more.
  auto reader = std::make_shared<Reader>();
  {
    std::lock_guard lock(mutex_);
    reader_ = reader;
  }
  window_ = window;
  if (!window) return;
  // Direct connections: they run on the render thread, the first while the main thread waits.
  synced_ = connect(
      window, &QQuickWindow::afterSynchronizing, window,
      [reader, window] { reader->synchronize(window); }, Qt::DirectConnection);
  rendered_ = connect(
      window, &QQuickWindow::afterRendering, window, [reader, window] { reader->readBack(window); },
      Qt::DirectConnection);
}

SceneFrames::Frame SceneFrames::latest() {
  std::shared_ptr<Reader> current = reader();
  current->wanted = true;
  if (current->behind && !current->renderAsked.exchange(true)) askForRender(current);
  return current->latest();
}

SceneFrames::Stats SceneFrames::stats() const {
  return reader()->stats();
}

void SceneFrames::askForRender(std::shared_ptr<Reader> reader) {
  // Queued to the main thread, where the window lives; a call still queued when this object goes
  // is dropped with it.
  QMetaObject::invokeMethod(
      this,
      [this, reader] {
        if (window_ && reader == reader_) {
          window_->update();
        } else {
          reader->renderAsked = false;
        }
      },
      Qt::QueuedConnection);
}

}  // namespace dravin
