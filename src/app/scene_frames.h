#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <mutex>

class QQuickWindow;

namespace dravin {

// The pictures our own Qt Quick window renders, read back from its framebuffer on the render
// thread right after a frame is drawn. Only what the window itself draws is read, so a window
// that covers ours never shows, and no X server is needed.
//
// Reading back costs a copy of the whole frame, so it happens only while someone asks: each call
// of `latest` asks for the next rendered frame, and a render that nobody asked for is skipped.
// The scene renders only when something changes; when the newest render was skipped, the next
// `latest` asks the window for one more render, so a still window ends up read as it stands.
class SceneFrames : public QObject {
 public:
  struct Frame {
    QImage image;              // top-down, 32-bit; null before the first read
    std::uint64_t serial = 0;  // grows with each read; the same number means the same picture
  };
  struct Stats {
    std::uint64_t readbacks = 0;
    std::uint64_t readbackCpuNs = 0;  // the render thread's CPU time spent reading back
  };

  explicit SceneFrames(QObject* parent = nullptr);
  ~SceneFrames() override;

  // On the main thread; another window replaces the one attached, nullptr lets go.
  void attach(QQuickWindow* window);

  // Any thread. The newest picture read back, and a request for the next one.
  Frame latest();

  Stats stats() const;

 private:
  // What the render thread works on. Its callbacks hold it too, so one still running while the
  // window is let go (or this object destroyed) finds it alive.
  class Reader;

  std::shared_ptr<Reader> reader() const;
  void askForRender(std::shared_ptr<Reader> reader);

  mutable std::mutex mutex_;  // guards reader_, replaced for each window
  std::shared_ptr<Reader> reader_;
  QPointer<QQuickWindow> window_;  // main thread only
  QMetaObject::Connection synced_;
  QMetaObject::Connection rendered_;
};

}  // namespace dravin
