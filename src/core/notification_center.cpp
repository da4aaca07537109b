#include "notification_center.h"

#include <QCoreApplication>
#include <QThread>

namespace dravin {

NotificationCenter& NotificationCenter::instance() {
  static NotificationCenter* center = [] {
    auto* created = new NotificationCenter;
    // Owned by the main thread, so queued posts land there.
    if (auto* app = QCoreApplication::instance()) created->moveToThread(app->thread());
    return created;
  }();
  return *center;
}

void NotificationCenter::post(const QString& name, const QVariantMap& userInfo) {
  if (QThread::currentThread() == thread()) {
    emit posted(name, userInfo);
    return;
  }
  QMetaObject::invokeMethod(
      this, [this, name, userInfo] { emit posted(name, userInfo); }, Qt::QueuedConnection);
}

QMetaObject::Connection NotificationCenter::observe(
    const QString& name, QObject* receiver, std::function<void(const QVariantMap&)> handler) {
  return connect(
      this, &NotificationCenter::posted, receiver,
      [name, handler = std::move(handler)](const QString& posted, const QVariantMap& info) {
        if (posted == name) handler(info);
      });
}

}  // namespace dravin
