#include "portal_windows.h"

#include <QDBusMessage>
#include <QDBusVariant>

#include "app_log.h"
#include "gst_ptr.h"
#include "pipewire_frames.h"

namespace dravin {

struct PortalWindows::Window {
  // The share lasts as long as its session.
  std::unique_ptr<ScreenCastPortal, void (*)(ScreenCastPortal*)> session{
      nullptr, [](ScreenCastPortal* p) { p->deleteLater(); }};
  QDBusUnixFileDescriptor fd;
  std::unique_ptr<gst::PipeWireFrames> frames;
};

PortalWindows::PortalWindows(QDBusConnection connection) : connection_(std::move(connection)) {}

PortalWindows::~PortalWindows() = default;

bool PortalWindows::offersWindows() const {
  QDBusMessage get = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.portal.Desktop"),
      QStringLiteral("/org/freedesktop/portal/desktop"),
      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  get << QStringLiteral("org.freedesktop.portal.ScreenCast")
      << QStringLiteral("AvailableSourceTypes");
  const QDBusMessage reply = connection_.call(get, QDBus::Block, 5000);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
  const quint32 types = reply.arguments().first().value<QDBusVariant>().variant().toUInt();
  return (types & static_cast<quint32>(ScreenCastSource::window)) != 0;
}

void PortalWindows::choose(std::function<void(Choice)> done, ScreenCastSource source) {
  cancelChoice();
  asking_ = std::make_unique<ScreenCastPortal>(connection_);
  ScreenCastPortal* portal = asking_.get();
  // Each tile is a choice of its own: no token is offered, so the dialog always asks.
  portal->start(source, QString(), [this, portal, done](ScreenCastResult result) {
    // This runs inside the portal object: it may only go once its call has returned.
    std::unique_ptr<ScreenCastPortal, void (*)(ScreenCastPortal*)> session(
        asking_.release(), [](ScreenCastPortal* p) { p->deleteLater(); });
    if (const auto* failure = std::get_if<ScreenCastFailure>(&result)) {
      logLine(QStringLiteral("Window tunnel: no window shared: ") + failure->text);
      done({0, failure->kind == ScreenCastFailure::Kind::cancelled ? QString() : failure->text});
      return;
    }
    auto& stream = std::get<ScreenCastStream>(result);
    auto window = std::make_unique<Window>();
    window->fd = stream.fd;
    try {
      window->frames =
          std::make_unique<gst::PipeWireFrames>(window->fd.fileDescriptor(), stream.nodeId);
    } catch (const gst::GstError& error) {
      portal->close();
      logLine(QStringLiteral("Window tunnel: the shared window cannot be read: ") + error.what());
      done({0, QString::fromStdString(error.what())});
      return;
    }
    window->session = std::move(session);
    const int number = ++lastNumber_;
    windows_[number] = std::move(window);
    done({number, QString()});
  });
}

void PortalWindows::cancelChoice() {
  if (asking_) asking_->cancel();
  asking_.reset();
}

QImage PortalWindows::frame(int number) const {
  const auto it = windows_.find(number);
  if (it == windows_.end() || it->second->frames->ended()) return {};
  return it->second->frames->latest();
}

void PortalWindows::close(int number) {
  const auto it = windows_.find(number);
  if (it == windows_.end()) return;
  it->second->frames.reset();  // the stream first, then the session that grants it
  it->second->session->close();
  windows_.erase(it);
}

}  // namespace dravin
