#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>
#include <functional>

namespace dravin {

// The process's one notification centre: events by name with a user-info map, delivered on
// the main thread whoever posts them.
class NotificationCenter : public QObject {
  Q_OBJECT

 public:
  static NotificationCenter& instance();

  // Safe from any thread; observers run later on the main thread when posted from elsewhere,
  // at once when posted from the main thread.
  Q_INVOKABLE void post(const QString& name, const QVariantMap& userInfo = {});

  // Calls `handler` for every notification of that name while `receiver` lives.
  QMetaObject::Connection observe(const QString& name, QObject* receiver,
                                  std::function<void(const QVariantMap&)> handler);

 signals:
  void posted(const QString& name, const QVariantMap& userInfo);

 private:
  NotificationCenter() = default;
};

}  // namespace dravin
