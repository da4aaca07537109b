#pragma once

#include <QThread>
#include <functional>

namespace dravin {

// The virtual camera's 30 Hz frame timer, on a thread of its own ("timerQueueAppCam") so that
// a busy main thread does not delay frames.
class FrameTimer {
 public:
  explicit FrameTimer(std::function<void()> tick);
  ~FrameTimer();
  FrameTimer(const FrameTimer&) = delete;
  FrameTimer& operator=(const FrameTimer&) = delete;

  void start();
  void cancel();  // idempotent; returns once no tick runs any more
  bool isRunning() const { return thread_.isRunning(); }

 private:
  std::function<void()> tick_;
  QThread thread_;
};

}  // namespace dravin
