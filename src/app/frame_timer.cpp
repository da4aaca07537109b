#include "frame_timer.h"

#include <pthread.h>

#include <QThread>

namespace dravin {

FrameTimer::FrameTimer(std::function<void()> tick, Clock::duration period)
    : tick_(std::move(tick)), period_(period) {}

FrameTimer::~FrameTimer() {
  cancel();
}

void FrameTimer::start() {
  std::lock_guard lock(mutex_);
  if (thread_.joinable()) return;
  cancelled_ = false;
  thread_ = std::thread([this, first = Clock::now()] { run(first); });
}

void FrameTimer::cancel() {
  std::thread thread;
  {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    thread.swap(thread_);
  }
  wake_.notify_all();
  if (thread.joinable() && thread.get_id() != std::this_thread::get_id()) thread.join();
  if (thread.joinable()) thread.detach();  // cancelled from its own tick: it ends after it
}

bool FrameTimer::isRunning() const {
  std::lock_guard lock(mutex_);
  return thread_.joinable() && !cancelled_;
}

void FrameTimer::run(Clock::time_point first) {
  pthread_setname_np(pthread_self(), "timerQueueAppCam");
  QThread::currentThread()->setObjectName(QStringLiteral("timerQueueAppCam"));

  Clock::time_point due = first;
  std::unique_lock lock(mutex_);
  while (!cancelled_) {
    if (wake_.wait_until(lock, due, [this] { return cancelled_; })) break;
    lock.unlock();
    if (tick_) tick_();
    lock.lock();
    const Clock::time_point now = Clock::now();
    due += period_;
    if (due <= now) due += ((now - due) / period_ + 1) * period_;
  }
}

}  // namespace dravin
