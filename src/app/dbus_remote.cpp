#include "dbus_remote.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>

#include "app_log.h"
#include "board_bridge.h"
#include "board_session.h"
#include "camera_controller.h"
#include "notification_center.h"
#include "notification_names.h"

namespace dravin {

namespace {

const QStringList kResolutions{QStringLiteral("1080P@30fps"), QStringLiteral("4K@30fps"),
                               QStringLiteral("720P@30fps")};
const QString kInvalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
const QString kFailed = QStringLiteral("org.freedesktop.DBus.Error.Failed");

}  // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const DBusControl& control) {
  argument.beginStructure();
  argument << control.name << control.value << control.minimum << control.maximum
           << control.defaultValue;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusControl& control) {
  argument.beginStructure();
  argument >> control.name >> control.value >> control.minimum >> control.maximum >>
      control.defaultValue;
  argument.endStructure();
  return argument;
}

DBusRemote::DBusRemote(CameraController& camera, QObject* parent)
    : QObject(parent), camera_(camera) {
  qDBusRegisterMetaType<DBusControl>();
  qDBusRegisterMetaType<DBusControlList>();
}

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

QStringList DBusRemote::ListCameras() {
  QStringList names;
  for (const auto& camera : camera_.tarvoCameras()) {
    names << QString::fromStdString(camera.name.value_or(""));
  }
  return names;
}

void DBusRemote::SelectCamera(const QString& name) {
  if (!camera_.selectCamera(name)) {
    sendErrorReply(kInvalidArgs, QStringLiteral("No camera named ") + name);
  }
}

QString DBusRemote::CameraMode() {
  return camera_.cameraMode();
}

void DBusRemote::SetResolution(const QString& label) {
  if (!kResolutions.contains(label)) {
    sendErrorReply(kInvalidArgs, QStringLiteral("Resolution is one of ") +
                                     kResolutions.join(QStringLiteral(", ")));
    return;
  }
  emit resolutionRequested(label);
}

DBusControlList DBusRemote::ListControls() {
  DBusControlList list;
  for (const auto& control : camera_.tuning().controls()) {
    list.append({QString::fromStdString(control.name), control.value, control.minimum,
                 control.maximum, control.defaultValue});
  }
  return list;
}

void DBusRemote::SetControl(const QString& name, int value) {
  const QString error = camera_.tuning().set(name.toStdString(), value);
  if (!error.isEmpty()) sendErrorReply(kFailed, error);
}

void DBusRemote::AddDemoCamera(const QString& name) {
  if (!addDemoCamera) {
    sendErrorReply(kFailed, QStringLiteral("Demo cameras need --demo-devices"));
  } else if (!addDemoCamera(name)) {
    sendErrorReply(kInvalidArgs, QStringLiteral("A demo camera named ") + name +
                                     QStringLiteral(" is already plugged in"));
  }
}

void DBusRemote::RemoveDemoCamera(const QString& name) {
  if (!removeDemoCamera) {
    sendErrorReply(kFailed, QStringLiteral("Demo cameras need --demo-devices"));
  } else if (!removeDemoCamera(name)) {
    sendErrorReply(kInvalidArgs, QStringLiteral("No demo camera named ") + name);
  }
}

std::function<void(const QString&)> DBusRemote::replyLater() {
  setDelayedReply(true);
  const QDBusMessage request = message();
  QDBusConnection bus = connection();
  return [request, bus](const QString& error) mutable {
    bus.send(error.isEmpty() ? request.createReply() : request.createErrorReply(kFailed, error));
  };
}

void DBusRemote::OpenOnBoard(const QString& path) {
  if (!board_) return sendErrorReply(kFailed, QStringLiteral("The board is not ready."));
  board_->openOnBoard(path, false, replyLater());
}

void DBusRemote::NewBoardPage() {
  if (!board_) return sendErrorReply(kFailed, QStringLiteral("The board is not ready."));
  board_->newPage(replyLater());
}

void DBusRemote::NextBoardPage() {
  if (!board_) return sendErrorReply(kFailed, QStringLiteral("The board is not ready."));
  board_->nextPage(replyLater());
}

void DBusRemote::PreviousBoardPage() {
  if (!board_) return sendErrorReply(kFailed, QStringLiteral("The board is not ready."));
  board_->previousPage(replyLater());
}

int DBusRemote::BoardPageCount() {
  // Asked of the page itself, so that it counts every page a call before this one added.
  setDelayedReply(true);
  const QDBusMessage request = message();
  QDBusConnection bus = connection();
  BoardBridge::instance().request(
      QStringLiteral("pageCount"), {},
      [request, bus](const QVariant& count, const QString& error) mutable {
        bus.send(error.isEmpty() ? request.createReply(count.toInt())
                                 : request.createErrorReply(kFailed, error));
      });
  return 0;
}

void DBusRemote::SaveBoard(const QString& path) {
  if (!board_) return sendErrorReply(kFailed, QStringLiteral("The board is not ready."));
  board_->save(path, replyLater());
}

void DBusRemote::OpenBoard(const QString& path) {
  if (!board_) return sendErrorReply(kFailed, QStringLiteral("The board is not ready."));
  board_->openBoard(path, replyLater());
}

void DBusRemote::ExportBoard(const QString& path) {
  if (!board_) return sendErrorReply(kFailed, QStringLiteral("The board is not ready."));
  board_->exportBoard(path, replyLater());
}

}  // namespace dravin
