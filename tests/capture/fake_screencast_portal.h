#pragma once

// A desktop portal that shares screens the way the real one does on the bus (request objects
// answered by Response signals, a session object, a PipeWire descriptor), scripted by the test.
#include <unistd.h>

#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QDBusVirtualObject>
#include <QMap>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTimer>

namespace dravin::test {

struct PortalStreamSize {
  int width = 0;
  int height = 0;
};
struct PortalStream {
  uint node = 0;
  QVariantMap properties;
};

inline QDBusArgument& operator<<(QDBusArgument& argument, const PortalStreamSize& size) {
  argument.beginStructure();
  argument << size.width << size.height;
  argument.endStructure();
  return argument;
}
inline const QDBusArgument& operator>>(const QDBusArgument& argument, PortalStreamSize& size) {
  argument.beginStructure();
  argument >> size.width >> size.height;
  argument.endStructure();
  return argument;
}
inline QDBusArgument& operator<<(QDBusArgument& argument, const PortalStream& stream) {
  argument.beginStructure();
  argument << stream.node << stream.properties;
  argument.endStructure();
  return argument;
}
inline const QDBusArgument& operator>>(const QDBusArgument& argument, PortalStream& stream) {
  argument.beginStructure();
  argument >> stream.node >> stream.properties;
  argument.endStructure();
  return argument;
}

}  // namespace dravin::test

Q_DECLARE_METATYPE(dravin::test::PortalStreamSize)
Q_DECLARE_METATYPE(dravin::test::PortalStream)

namespace dravin::test {

// A private bus for one test: the portal's side and the client's side each get a connection.
class PrivateBus {
 public:
  PrivateBus() {
    daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    if (daemon_.waitForStarted(5000) && daemon_.waitForReadyRead(5000)) {
      address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
  }
  ~PrivateBus() {
    for (const QString& name : names_) QDBusConnection::disconnectFromBus(name);
    daemon_.terminate();
    daemon_.waitForFinished(5000);
  }
  bool running() const { return !address_.isEmpty(); }
  QDBusConnection connect(const QString& name) {
    names_ << name;
    return QDBusConnection::connectToBus(address_, name);
  }

 private:
  QProcess daemon_;
  QString address_;
  QStringList names_;
};

// Records every call on the request and session objects (Close, chiefly).
class PortalObjects : public QDBusVirtualObject {
 public:
  QStringList calls;
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    calls << message.member() + " " + message.path();
    connection.send(message.createReply());
    return true;
  }
  QString introspect(const QString&) const override { return {}; }
};

class FakeScreenCastPortal : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.ScreenCast")
  Q_PROPERTY(uint version MEMBER version)
  Q_PROPERTY(uint AvailableSourceTypes MEMBER sourceTypes)
  Q_PROPERTY(uint AvailableCursorModes MEMBER cursorModes)

 public:
  // How a request is answered: a Response code, or never, or a D-Bus error instead of a request.
  static constexpr int kNever = -1;
  static constexpr int kBusError = -2;

  explicit FakeScreenCastPortal(QDBusConnection bus) : bus_(std::move(bus)) {
    qDBusRegisterMetaType<PortalStreamSize>();
    qDBusRegisterMetaType<PortalStream>();
    qDBusRegisterMetaType<QList<PortalStream>>();
    if (pipe(pipe_) != 0) pipe_[0] = pipe_[1] = -1;
  }
  ~FakeScreenCastPortal() override {
    bus_.unregisterService("org.freedesktop.portal.Desktop");
    bus_.unregisterObject("/org/freedesktop/portal/desktop", QDBusConnection::UnregisterTree);
    if (pipe_[0] >= 0) ::close(pipe_[0]);
    if (pipe_[1] >= 0) ::close(pipe_[1]);
  }
  bool publish() {
    return bus_.registerObject(
               "/org/freedesktop/portal/desktop", this,
               QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties) &&
           bus_.registerVirtualObject("/org/freedesktop/portal/desktop/request", &objects,
                                      QDBusConnection::SubPath) &&
           bus_.registerVirtualObject("/org/freedesktop/portal/desktop/session", &sessions,
                                      QDBusConnection::SubPath) &&
           bus_.registerService("org.freedesktop.portal.Desktop");
  }
  // The end of the shared "PipeWire connection" the test reads what the client writes from.
  int readEnd() const { return pipe_[0]; }

  uint version = 4;
  uint sourceTypes = 1 | 2;
  uint cursorModes = 1 | 2 | 4;
  QMap<QString, int> answers;  // by method; 0 when not set
  bool answerLate = false;     // the Response after the method's reply instead of before
  bool withStreams = true;
  QString tokenToGive = QStringLiteral("token-1");
  QStringList calls;  // "Method request-path" in order
  QVariantMap selectOptions;
  QString startParent;
  PortalObjects objects;
  PortalObjects sessions;

 public slots:
  QDBusObjectPath CreateSession(const QVariantMap& options, const QDBusMessage& message) {
    const QString session = path("session", message, options.value("session_handle_token"));
    return request("CreateSession", options, message, {{"session_handle", session}});
  }
  QDBusObjectPath SelectSources(const QDBusObjectPath&, const QVariantMap& options,
                                const QDBusMessage& message) {
    selectOptions = options;
    return request("SelectSources", options, message, {});
  }
  QDBusObjectPath Start(const QDBusObjectPath&, const QString& parent, const QVariantMap& options,
                        const QDBusMessage& message) {
    startParent = parent;
    QVariantMap results;
    if (withStreams) {
      PortalStream stream{42, {{"size", QVariant::fromValue(PortalStreamSize{1280, 800})}}};
      results.insert("streams", QVariant::fromValue(QList<PortalStream>{stream}));
    }
    if (!tokenToGive.isEmpty()) results.insert("restore_token", tokenToGive);
    return request("Start", options, message, results);
  }
  QDBusUnixFileDescriptor OpenPipeWireRemote(const QDBusObjectPath&, const QVariantMap&,
                                             const QDBusMessage& message) {
    calls << "OpenPipeWireRemote";
    if (answers.value("OpenPipeWireRemote") == kBusError) {
      message.setDelayedReply(true);
      bus_.send(message.createErrorReply("org.freedesktop.portal.Error.Failed", "no remote"));
      return {};
    }
    return QDBusUnixFileDescriptor(pipe_[1]);
  }

 private:
  QString path(const char* kind, const QDBusMessage& message, const QVariant& token) const {
    QString sender = message.service().mid(1).replace('.', '_');
    return QStringLiteral("/org/freedesktop/portal/desktop/%1/%2/%3")
        .arg(kind, sender, token.toString());
  }
  QDBusObjectPath request(const QString& method, const QVariantMap& options,
                          const QDBusMessage& message, const QVariantMap& results) {
    const QString handle = path("request", message, options.value("handle_token"));
    calls << method + " " + handle;
    const int answer = answers.value(method);
    if (answer == kBusError) {
      message.setDelayedReply(true);
      bus_.send(message.createErrorReply("org.freedesktop.DBus.Error.AccessDenied", "refused"));
      return {};
    }
    if (answer != kNever) {
      QDBusMessage response =
          QDBusMessage::createSignal(handle, "org.freedesktop.portal.Request", "Response");
      response << uint(answer) << (answer == 0 ? results : QVariantMap());
      if (answerLate) {
        QTimer::singleShot(20, this, [this, response] { bus_.send(response); });
      } else {
        bus_.send(response);
      }
    }
    return QDBusObjectPath(handle);
  }

  QDBusConnection bus_;
  int pipe_[2] = {-1, -1};
};

}  // namespace dravin::test
