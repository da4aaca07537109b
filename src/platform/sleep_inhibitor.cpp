#include "sleep_inhibitor.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

namespace dravin {

namespace {

constexpr const char* kService = "org.freedesktop.ScreenSaver";
constexpr const char* kPath = "/org/freedesktop/ScreenSaver";
constexpr const char* kInterface = "org.freedesktop.ScreenSaver";
// A service that hangs must not hold up the start of a recording.
constexpr int kCallTimeoutMs = 2000;

}  // namespace

SleepInhibitor::SleepInhibitor(QString applicationName, Report report, QDBusConnection connection)
    : applicationName_(std::move(applicationName)),
      report_(std::move(report)),
      connection_(std::move(connection)) {}

SleepInhibitor::~SleepInhibitor() {
  release();
}

void SleepInhibitor::say(const QString& line) const {
  if (report_) report_(line);
}

bool SleepInhibitor::inhibit(const QString& reason) {
  std::lock_guard lock(mutex_);
  if (cookie_) return true;
  if (!connection_.isConnected()) {
    say("Could not keep the system awake: no session bus");
    return false;
  }
  QDBusConnectionInterface* bus = connection_.interface();
  if (!bus || !bus->isServiceRegistered(kService).value()) {
    say(QStringLiteral("Could not keep the system awake: no %1 service").arg(kService));
    return false;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Inhibit");
  call << applicationName_ << reason;
  QDBusReply<quint32> reply = connection_.call(call, QDBus::Block, kCallTimeoutMs);
  if (!reply.isValid()) {
    say("Could not keep the system awake: " + reply.error().message());
    return false;
  }
  cookie_ = reply.value();
  return true;
}

void SleepInhibitor::release() {
  std::lock_guard lock(mutex_);
  if (!cookie_) return;
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "UnInhibit");
  call << *cookie_;
  cookie_.reset();
  QDBusMessage answer = connection_.call(call, QDBus::Block, kCallTimeoutMs);
  if (answer.type() == QDBusMessage::ErrorMessage) {
    say("Could not let the system sleep again: " + answer.errorMessage());
  }
}

bool SleepInhibitor::isHeld() const {
  std::lock_guard lock(mutex_);
  return cookie_.has_value();
}

}  // namespace dravin
