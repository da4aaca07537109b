#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace dravin {

// The virtual camera's 30 Hz frame timer, on a thread of its own ("timerQueueAppCam") so that
// a busy main thread does not delay frames. Tick n is due at the first deadline + n periods, so
// a late tick does not push the later ones back; ticks whose time passed during a long tick are
// dropped rather than run back to back.
class FrameTimer {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kPeriod = std::chrono::nanoseconds(1'000'000'000 / 30);

  explicit FrameTimer(std::function<void()> tick, Clock::duration period = kPeriod);
  ~FrameTimer();
  FrameTimer(const FrameTimer&) = delete;
  FrameTimer& operator=(const FrameTimer&) = delete;

  void start();   // the first tick is due at once
  void cancel();  // idempotent; returns once no tick runs any more
  bool isRunning() const;

 private:
  void run(Clock::time_point first);

  std::function<void()> tick_;
  Clock::duration period_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool cancelled_ = false;
  std::thread thread_;
};

}  // namespace dravin
