#include "frame_timer.h"

#include <QTimer>

namespace dravin {

FrameTimer::FrameTimer(std::function<void()> tick) : tick_(std::move(tick)) {
  thread_.setObjectName("timerQueueAppCam");
}

FrameTimer::~FrameTimer() {
  cancel();
}

void FrameTimer::start() {
  if (thread_.isRunning()) return;
  auto* timer = new QTimer;
  timer->setTimerType(Qt::PreciseTimer);
  timer->setInterval(1000 / 30);
  timer->moveToThread(&thread_);
  QObject::connect(timer, &QTimer::timeout, timer, [this] {
    if (tick_) tick_();
  });
  QObject::connect(&thread_, &QThread::started, timer, qOverload<>(&QTimer::start));
  // Emitted on the timer's own thread as it ends, so the timer is deleted where it lived.
  QObject::connect(
      &thread_, &QThread::finished, timer, [timer] { delete timer; }, Qt::DirectConnection);
  thread_.start(QThread::TimeCriticalPriority);
}

void FrameTimer::cancel() {
  thread_.quit();
  thread_.wait();
}

}  // namespace dravin
