#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QSize>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <variant>

class QDBusPendingCallWatcher;

namespace dravin {

// What the desktop portal shares: a whole monitor, or one window.
enum class ScreenCastSource : quint32 { monitor = 1, window = 2 };

// A stream the portal granted: a PipeWire connection of its own, the node to read, the picture's
// size, and the token that lets the next request skip the dialog (empty when none was given).
struct ScreenCastStream {
  QDBusUnixFileDescriptor fd;
  quint32 nodeId = 0;
  QSize size;
  QString restoreToken;
};

struct ScreenCastFailure {
  enum class Kind {
    cancelled,  // the user closed the portal's dialog
    failed,     // the portal refused, is missing, or answered what it should not
  };
  Kind kind = Kind::failed;
  QString text;
};

using ScreenCastResult = std::variant<ScreenCastStream, ScreenCastFailure>;

// The desktop's ScreenCast portal, asked over D-Bus without blocking: its dialog may stay open for
// minutes and the window must go on meanwhile. One object asks once; its session (and with it the
// stream) lasts until close() or the object goes. Lives on the thread that made it.
class ScreenCastPortal : public QObject {
  Q_OBJECT

 public:
  using Completion = std::function<void(ScreenCastResult)>;

  explicit ScreenCastPortal(QDBusConnection connection = QDBusConnection::sessionBus(),
                            QObject* parent = nullptr);
  ~ScreenCastPortal() override;

  // Asks for one source of that kind, offering `restoreToken` (when not empty) so that a choice
  // the user already made is taken again without a dialog. `done` runs once, on this object's
  // thread, unless cancel() or close() comes first. A second ask on the same object fails.
  void start(ScreenCastSource source, const QString& restoreToken, Completion done);
  // Gives up a request under way: its dialog is closed and `done` is not called.
  void cancel();
  // Ends the session, and so the stream.
  void close();
  bool isAsking() const {
    return step_ != Step::idle && step_ != Step::streaming && step_ != Step::over;
  }

 private slots:
  void onResponse(uint response, const QVariantMap& results);

 private:
  enum class Step { idle, properties, creating, selecting, starting, opening, streaming, over };

  QString newToken();
  QString requestPath(const QString& token) const;
  // Listens for the answer on the request object before the call that makes it.
  void expectResponse(const QString& path);
  void stopExpecting();
  // A portal method whose answer comes as a Response signal; `call` returns the request path.
  void callWithRequest(const QString& method, const QVariantList& arguments, const QString& token);
  void watch(QDBusPendingCallWatcher* watcher, Step step);
  void propertiesRead(const QVariantMap& properties);
  void sessionCreated(const QVariantMap& results);
  void selectSources();
  void started(const QVariantMap& results);
  void remoteOpened(const QDBusUnixFileDescriptor& fd);
  void finish(ScreenCastResult result);
  void fail(ScreenCastFailure::Kind kind, const QString& text);

  QDBusConnection connection_;
  Step step_ = Step::idle;
  ScreenCastSource source_ = ScreenCastSource::monitor;
  QString offeredToken_;
  Completion done_;
  quint32 version_ = 0;
  quint32 cursorModes_ = 0;
  QString requestPath_;
  QString sessionPath_;
  ScreenCastStream stream_;
  int tokens_ = 0;
};

}  // namespace dravin
