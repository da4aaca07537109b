#include "screencast_portal.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QRandomGenerator>
#include <optional>
#include <utility>

namespace dravin {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kScreenCast = QStringLiteral("org.freedesktop.portal.ScreenCast");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kSession = QStringLiteral("org.freedesktop.portal.Session");

constexpr quint32 kCursorEmbedded = 2;
// Kept until the user revokes it, rather than for this run only.
constexpr quint32 kPersistUntilRevoked = 2;
// Restore tokens and persist modes came with this version of the interface.
constexpr quint32 kFirstPersistingVersion = 4;

enum Response : uint { success = 0, cancelledByUser = 1 };

QVariant plain(const QVariant& value) {
  if (value.userType() == qMetaTypeId<QDBusVariant>()) return value.value<QDBusVariant>().variant();
  return value;
}

// The first stream of a Start answer, a(ua{sv}); nothing when there is none.
std::optional<std::pair<quint32, QVariantMap>> firstStream(const QVariant& streams) {
  if (streams.userType() != qMetaTypeId<QDBusArgument>()) return std::nullopt;
  const auto argument = streams.value<QDBusArgument>();
  if (argument.currentType() != QDBusArgument::ArrayType) return std::nullopt;
  std::optional<std::pair<quint32, QVariantMap>> first;
  argument.beginArray();
  while (!argument.atEnd()) {
    quint32 node = 0;
    QVariantMap properties;
    argument.beginStructure();
    argument >> node >> properties;
    argument.endStructure();
    if (!first) first = std::make_pair(node, properties);
  }
  argument.endArray();
  return first;
}

QSize streamSize(const QVariant& value) {
  if (value.userType() != qMetaTypeId<QDBusArgument>()) return {};
  const auto argument = value.value<QDBusArgument>();
  if (argument.currentType() != QDBusArgument::StructureType) return {};
  int width = 0;
  int height = 0;
  argument.beginStructure();
  argument >> width >> height;
  argument.endStructure();
  return {width, height};
}

}  // namespace

ScreenCastPortal::ScreenCastPortal(QDBusConnection connection, QObject* parent)
    : QObject(parent), connection_(std::move(connection)) {}

ScreenCastPortal::~ScreenCastPortal() {
  cancel();
  close();
}

void ScreenCastPortal::start(ScreenCastSource source, const QString& restoreToken,
                             Completion done) {
  if (step_ != Step::idle) {
    if (done) {
      done(ScreenCastFailure{ScreenCastFailure::Kind::failed,
                             QStringLiteral("the screen cast was already asked for")});
    }
    return;
  }
  source_ = source;
  offeredToken_ = restoreToken;
  done_ = std::move(done);
  if (!connection_.isConnected()) {
    fail(ScreenCastFailure::Kind::failed, QStringLiteral("no session bus"));
    return;
  }
  step_ = Step::properties;
  QDBusMessage get = QDBusMessage::createMethodCall(
      kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("GetAll"));
  get << kScreenCast;
  watch(new QDBusPendingCallWatcher(connection_.asyncCall(get), this), Step::properties);
}

void ScreenCastPortal::cancel() {
  if (!isAsking()) return;
  done_ = nullptr;
  if (!requestPath_.isEmpty()) {
    connection_.call(
        QDBusMessage::createMethodCall(kService, requestPath_, kRequest, QStringLiteral("Close")),
        QDBus::NoBlock);
  }
  stopExpecting();
  step_ = Step::over;
  close();
}

void ScreenCastPortal::close() {
  if (isAsking()) {
    cancel();
    return;
  }
  step_ = step_ == Step::idle ? Step::idle : Step::over;
  if (sessionPath_.isEmpty()) return;
  connection_.call(
      QDBusMessage::createMethodCall(kService, sessionPath_, kSession, QStringLiteral("Close")),
      QDBus::NoBlock);
  sessionPath_.clear();
}

QString ScreenCastPortal::newToken() {
  // Unique within this connection; the random part keeps two objects' requests apart.
  return QStringLiteral("dravin%1_%2").arg(QRandomGenerator::global()->generate()).arg(++tokens_);
}

QString ScreenCastPortal::requestPath(const QString& token) const {
  QString sender = connection_.baseService();
  sender.remove(0, sender.startsWith(QLatin1Char(':')) ? 1 : 0)
      .replace(QLatin1Char('.'), QLatin1Char('_'));
  return kPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

void ScreenCastPortal::expectResponse(const QString& path) {
  stopExpecting();
  requestPath_ = path;
  connection_.connect(kService, requestPath_, kRequest, QStringLiteral("Response"), this,
                      SLOT(onResponse(uint, QVariantMap)));
}

void ScreenCastPortal::stopExpecting() {
  if (requestPath_.isEmpty()) return;
  connection_.disconnect(kService, requestPath_, kRequest, QStringLiteral("Response"), this,
                         SLOT(onResponse(uint, QVariantMap)));
  requestPath_.clear();
}

void ScreenCastPortal::callWithRequest(const QString& method, const QVariantList& arguments,
                                       const QString& token) {
  expectResponse(requestPath(token));
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kScreenCast, method);
  call.setArguments(arguments);
  watch(new QDBusPendingCallWatcher(connection_.asyncCall(call), this), step_);
}

void ScreenCastPortal::watch(QDBusPendingCallWatcher* watcher, Step step) {
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, step](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            if (step_ != step) return;  // cancelled, or answered already
            const QDBusMessage reply = w->reply();
            if (reply.type() == QDBusMessage::ErrorMessage) {
              const QString error = reply.errorName() + QStringLiteral(": ") + reply.errorMessage();
              // No portal, or one without screen casting, shows at the first question.
              fail(ScreenCastFailure::Kind::failed,
                   step == Step::properties
                       ? QStringLiteral("no screen-cast portal on this desktop (%1)").arg(error)
                       : error);
              return;
            }
            const QVariant first = reply.arguments().value(0);
            switch (step) {
              case Step::properties: {
                propertiesRead(qdbus_cast<QVariantMap>(first));
                break;
              }
              case Step::opening: {
                remoteOpened(qdbus_cast<QDBusUnixFileDescriptor>(first));
                break;
              }
              default: {
                // Older portals made the request object elsewhere than the unique name says.
                const QString handle = qdbus_cast<QDBusObjectPath>(first).path();
                if (!handle.isEmpty() && handle != requestPath_) expectResponse(handle);
                break;
              }
            }
          });
}

void ScreenCastPortal::propertiesRead(const QVariantMap& properties) {
  version_ = plain(properties.value(QStringLiteral("version"))).toUInt();
  cursorModes_ = plain(properties.value(QStringLiteral("AvailableCursorModes"))).toUInt();
  const quint32 sources = plain(properties.value(QStringLiteral("AvailableSourceTypes"))).toUInt();
  if (!(sources & static_cast<quint32>(source_))) {
    fail(ScreenCastFailure::Kind::failed, source_ == ScreenCastSource::window
                                              ? QStringLiteral("the portal cannot share windows")
                                              : QStringLiteral("the portal cannot share screens"));
    return;
  }
  step_ = Step::creating;
  const QString token = newToken();
  const QVariantMap options{{QStringLiteral("handle_token"), token},
                            {QStringLiteral("session_handle_token"), newToken()}};
  callWithRequest(QStringLiteral("CreateSession"), {options}, token);
}

void ScreenCastPortal::onResponse(uint response, const QVariantMap& results) {
  stopExpecting();
  if (response == cancelledByUser) {
    fail(ScreenCastFailure::Kind::cancelled, QStringLiteral("the screen cast was not allowed"));
    return;
  }
  if (response != success) {
    fail(ScreenCastFailure::Kind::failed,
         QStringLiteral("the portal refused the screen cast (%1)").arg(response));
    return;
  }
  switch (step_) {
    case Step::creating: sessionCreated(results); break;
    case Step::selecting:
      step_ = Step::starting;
      {
        const QString token = newToken();
        callWithRequest(QStringLiteral("Start"),
                        {QVariant::fromValue(QDBusObjectPath(sessionPath_)), QString(),
                         QVariantMap{{QStringLiteral("handle_token"), token}}},
                        token);
      }
      break;
    case Step::starting: started(results); break;
    default: break;
  }
}

void ScreenCastPortal::sessionCreated(const QVariantMap& results) {
  const QVariant handle = plain(results.value(QStringLiteral("session_handle")));
  sessionPath_ = handle.userType() == qMetaTypeId<QDBusObjectPath>()
                     ? handle.value<QDBusObjectPath>().path()
                     : handle.toString();
  if (sessionPath_.isEmpty()) {
    fail(ScreenCastFailure::Kind::failed, QStringLiteral("the portal made no session"));
    return;
  }
  selectSources();
}

void ScreenCastPortal::selectSources() {
  step_ = Step::selecting;
  const QString token = newToken();
  QVariantMap options{{QStringLiteral("handle_token"), token},
                      {QStringLiteral("types"), static_cast<quint32>(source_)},
                      {QStringLiteral("multiple"), false}};
  if (cursorModes_ & kCursorEmbedded)
    options.insert(QStringLiteral("cursor_mode"), kCursorEmbedded);
  if (version_ >= kFirstPersistingVersion) {
    options.insert(QStringLiteral("persist_mode"), kPersistUntilRevoked);
    if (!offeredToken_.isEmpty()) options.insert(QStringLiteral("restore_token"), offeredToken_);
  }
  callWithRequest(QStringLiteral("SelectSources"),
                  {QVariant::fromValue(QDBusObjectPath(sessionPath_)), options}, token);
}

void ScreenCastPortal::started(const QVariantMap& results) {
  const auto stream = firstStream(results.value(QStringLiteral("streams")));
  if (!stream) {
    fail(ScreenCastFailure::Kind::failed, QStringLiteral("the portal shared no stream"));
    return;
  }
  stream_.nodeId = stream->first;
  stream_.size = streamSize(stream->second.value(QStringLiteral("size")));
  stream_.restoreToken = plain(results.value(QStringLiteral("restore_token"))).toString();
  step_ = Step::opening;
  QDBusMessage open = QDBusMessage::createMethodCall(kService, kPath, kScreenCast,
                                                     QStringLiteral("OpenPipeWireRemote"));
  open << QVariant::fromValue(QDBusObjectPath(sessionPath_)) << QVariantMap();
  watch(new QDBusPendingCallWatcher(connection_.asyncCall(open), this), Step::opening);
}

void ScreenCastPortal::remoteOpened(const QDBusUnixFileDescriptor& fd) {
  if (!fd.isValid()) {
    fail(ScreenCastFailure::Kind::failed, QStringLiteral("the portal gave no PipeWire connection"));
    return;
  }
  stream_.fd = fd;
  step_ = Step::streaming;
  finish(stream_);
}

void ScreenCastPortal::fail(ScreenCastFailure::Kind kind, const QString& text) {
  stopExpecting();
  step_ = Step::over;
  close();
  finish(ScreenCastFailure{kind, text});
}

void ScreenCastPortal::finish(ScreenCastResult result) {
  // Taken first: the callback may drop this object.
  Completion done = std::move(done_);
  done_ = nullptr;
  if (done) done(std::move(result));
}

}  // namespace dravin
