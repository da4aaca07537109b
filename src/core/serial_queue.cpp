#include "serial_queue.h"

#include <QCoreApplication>
#include <QTimer>

namespace dravin {

SerialQueue::SerialQueue(const QString& label) : context_(new QObject) {
  thread_.setObjectName(label);
  context_->moveToThread(&thread_);
  QObject::connect(&thread_, &QThread::finished, context_, &QObject::deleteLater);
  thread_.start();
}

SerialQueue::~SerialQueue() {
  thread_.quit();
  thread_.wait();
}

void SerialQueue::dispatch(std::function<void()> work) {
  QMetaObject::invokeMethod(context_, std::move(work), Qt::QueuedConnection);
}

void onMainThread(std::function<void()> work) {
  QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

void onMainThreadAfter(int delayMs, std::function<void()> work) {
  onMainThread([delayMs, work = std::move(work)]() mutable {
    QTimer::singleShot(delayMs, QCoreApplication::instance(), std::move(work));
  });
}

}  // namespace dravin
