#include "dbus_remote.h"

#include <QDBusConnection>
#include <QDBusError>

#include "app_log.h"
#include "camera_controller.h"
#include "notification_center.h"
#include "notification_names.h"

namespace dravin {

DBusRemote::DBusRemote(CameraController& camera, QObject* parent)
    : QObject(parent), camera_(camera) {}

bool DBusRemote::registerOnSessionBus() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    logLine(QStringLiteral("D-Bus remote unavailable: ") + bus.lastError().message());
    return false;
  }
  if (!bus.registerObject(kPath, this, QDBusConnection::ExportAllSlots)) {
    logLine(QStringLiteral("D-Bus remote unavailable: ") + bus.lastError().message());
    return false;
  }
  // Another running instance keeps the name; this one still answers at its own address.
  if (!bus.registerService(kService)) {
    logLine(QStringLiteral("D-Bus name taken: ") + kService);
  }
  return true;
}

void DBusRemote::TakeSnapshot() {
  camera_.takeSnapshot();
}
void DBusRemote::StartRecording() {
  camera_.startRecording();
}
void DBusRemote::StartScreenRecording() {
  camera_.startScreenRecording();
}
void DBusRemote::StopRecording() {
  camera_.stopRecording();
}
QString DBusRemote::RecordingTime() {
  return camera_.recordingTimeString();
}
void DBusRemote::ToggleFreeze() {
  camera_.toggleFreeze();
}
void DBusRemote::SetZoom(double factor) {
  camera_.setZoom(factor);
}
void DBusRemote::Rotate(const QString& direction) {
  NotificationCenter::instance().post(notifications::kRotateCamera,
                                      {{QStringLiteral("direction"), direction}});
}
void DBusRemote::Mirror() {
  NotificationCenter::instance().post(notifications::kMirrorCamera);
}
void DBusRemote::Annotate(bool allow) {
  emit annotationRequested(allow);
}

void DBusRemote::ImportFiles(const QStringList& paths) {
  emit importRequested(paths);
}
void DBusRemote::ShowLibrary(bool show) {
  emit libraryRequested(show);
}

void DBusRemote::OpenBrowser() {
  NotificationCenter::instance().post(notifications::kOpenBrowser,
                                      {{QStringLiteral("pdfMode"), false}});
}
void DBusRemote::OpenPdf(const QString& path) {
  NotificationCenter::instance().post(
      notifications::kOpenBrowser,
      {{QStringLiteral("pdfMode"), true}, {QStringLiteral("pdfPath"), path}});
}
void DBusRemote::OpenLessons() {
  NotificationCenter::instance().post(notifications::kOpenBrowser,
                                      {{QStringLiteral("lessonsMode"), true}});
}
void DBusRemote::OpenTunnelList() {
  NotificationCenter::instance().post(notifications::kOpenTunnelList);
}
void DBusRemote::OpenDocCamera() {
  NotificationCenter::instance().post(notifications::kOpenDocCamera);
}
void DBusRemote::OpenPIPCamera() {
  NotificationCenter::instance().post(notifications::kOpenPipCamera);
}

}  // namespace dravin
