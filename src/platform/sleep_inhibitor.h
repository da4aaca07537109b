#pragma once

#include <QDBusConnection>
#include <QString>
#include <functional>
#include <mutex>
#include <optional>

namespace dravin {

// Keeps the session from idling into sleep or the screen saver while held, through the
// freedesktop ScreenSaver service. Without a session bus or the service it reports one line and
// holds nothing: callers go on either way.
class SleepInhibitor {
 public:
  using Report = std::function<void(const QString& line)>;

  // `report` receives one line per failure (the platform layer has no log of its own).
  SleepInhibitor(QString applicationName, Report report,
                 QDBusConnection connection = QDBusConnection::sessionBus());
  ~SleepInhibitor();
  SleepInhibitor(const SleepInhibitor&) = delete;
  SleepInhibitor& operator=(const SleepInhibitor&) = delete;

  // Safe from any thread. A second inhibit while held keeps the first cookie.
  bool inhibit(const QString& reason);
  void release();
  bool isHeld() const;

 private:
  void say(const QString& line) const;

  QString applicationName_;
  Report report_;
  QDBusConnection connection_;
  mutable std::mutex mutex_;
  std::optional<quint32> cookie_;
};

}  // namespace dravin
