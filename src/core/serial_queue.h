#pragma once

#include <QThread>
#include <functional>

namespace dravin {

// A named worker thread that runs submitted work one item at a time, in order.
class SerialQueue {
 public:
  explicit SerialQueue(const QString& label);
  ~SerialQueue();  // finishes the work already submitted
  SerialQueue(const SerialQueue&) = delete;
  SerialQueue& operator=(const SerialQueue&) = delete;

  void dispatch(std::function<void()> work);

 private:
  QThread thread_;
  QObject* context_;  // lives on the thread; work is queued to it
};

// Runs `work` later on the main thread.
void onMainThread(std::function<void()> work);
// The same after `delayMs` milliseconds.
void onMainThreadAfter(int delayMs, std::function<void()> work);

}  // namespace dravin
