#include "window_tunnel.h"

#include <unistd.h>

#include <QVariantMap>

#include "app_log.h"
#include "board_bridge.h"
#include "jpeg_encoder.h"
#include "notification_center.h"
#include "notification_names.h"
#include "portal_windows.h"
#include "x11_windows.h"

namespace dravin {

namespace {

// Window numbers reach us from the page as numbers; X ids are positive and below 2^29.
std::optional<std::uint32_t> windowId(int windowNumber) {
  if (windowNumber <= 0) return std::nullopt;
  return static_cast<std::uint32_t>(windowNumber);
}

}  // namespace

WindowTunnel::WindowTunnel(const std::string& displayName, int ownPid, DisplaySession session)
    : ownPid_(ownPid < 0 ? static_cast<int>(getpid()) : ownPid) {
  if (session == DisplaySession::wayland) {
    // XWayland would show only the few X programs: the portal shows them all.
    portal_ = std::make_unique<PortalWindows>();
    return;
  }
  try {
    windows_ = std::make_unique<x11::WindowSystem>(displayName);
  } catch (const x11::X11Error& error) {
    logLine(QStringLiteral("Window tunnel unavailable: ") + QString::fromStdString(error.what()));
  }
}

WindowTunnel::~WindowTunnel() = default;

WindowTunnel& WindowTunnel::shared() {
  static WindowTunnel tunnel({}, -1, displaySession());
  return tunnel;
}

void WindowTunnel::connectBridge(BoardBridge& bridge) {
  bridge.tunnelFrame = [this](int n) { return frameDataUrl(n); };
  bridge.parkWindow = [this](int n) { parkWindow(n); };
  bridge.controlWindow = [this](int n, QRect rect) { return controlWindow(n, rect); };
  bridge.closeTunnelWindow = [this](int n) { closeWindow(n); };
  bridge.setWindowControlAllowed(!portal_);
}

std::vector<TunnelWindow> WindowTunnel::refreshWindows() {
  std::vector<TunnelWindow> offered;
  if (!windows_) return offered;
  for (const x11::ClientWindow& window : windows_->listWindows()) {
    if (window.pid == ownPid_) continue;
    QImage picture = windows_->captureWindow(window.id);
    if (picture.isNull()) continue;
    offered.push_back({QUuid::createUuid(), window.name, window.bounds, std::move(picture),
                       window.id, window.pid});
  }
  return offered;
}

void WindowTunnel::pickWindow(const TunnelWindow& window) {
  logLine(QStringLiteral("clicked Tunnel Window: ") + QString::number(window.windowID));
  showPicked(static_cast<int>(window.windowID), window.name, window.pid);
}

void WindowTunnel::showPicked(int number, const QString& name, int pid) {
  BoardBridge::instance().showTunnelWindow(number, frameDataUrl(number), name);
  NotificationCenter& center = NotificationCenter::instance();
  center.post(notifications::kOpenTunnelList);
  selectedWindowPID_ = pid;
  selectedWindowNumber_ = number;
  center.post(notifications::kOpenDocCamera, {{QStringLiteral("type"), QStringLiteral("close")}});
}

bool WindowTunnel::portalOffersWindows() const {
  return portal_ && portal_->offersWindows();
}

void WindowTunnel::choosePortalWindow(std::function<void(bool, QString)> done,
                                      ScreenCastSource source) {
  if (!portal_) {
    done(false, QStringLiteral("windows are shared through the portal on Wayland only"));
    return;
  }
  portal_->choose(
      [this, done](PortalWindows::Choice choice) {
        if (choice.number == 0) {
          done(false, choice.error);
          return;
        }
        logLine(QStringLiteral("clicked Tunnel Window: shared ") + QString::number(choice.number));
        // The portal names nothing; the tile's title says where it came from.
        showPicked(choice.number, QStringLiteral("Shared window"), 0);
        done(true, QString());
      },
      source);
}

void WindowTunnel::cancelPortalChoice() {
  if (portal_) portal_->cancelChoice();
}

QString WindowTunnel::frameDataUrl(int windowNumber) {
  if (portal_) {
    const QImage frame = portal_->frame(windowNumber);
    return frame.isNull() ? QString() : encodeJpegDataUrl(frame);
  }
  const auto id = windowId(windowNumber);
  if (!windows_ || !id) return {};
  QString dataUrl;
  // Encoded straight from the shared capture buffer: a frame is never copied.
  windows_->readWindow(*id,
                       [&dataUrl](const QImage& image) { dataUrl = encodeJpegDataUrl(image); });
  return dataUrl;
}

void WindowTunnel::parkWindow(int windowNumber) {
  if (portal_) return;  // no program may move another's window on Wayland
  const auto id = windowId(windowNumber);
  if (!windows_ || !id || !windows_->findWindow(*id)) return;
  windows_->park(*id);
}

void WindowTunnel::closeWindow(int windowNumber) {
  // A closed tile stops sharing its window; on X11 nothing was shared.
  if (portal_) portal_->close(windowNumber);
}

bool WindowTunnel::controlWindow(int windowNumber, const QRect& screenRect) {
  const auto id = windowId(windowNumber);
  if (!windows_ || !id || !windows_->findWindow(*id)) return false;
  windows_->activate(*id);
  windows_->moveResize(*id, screenRect);
  return true;
}

}  // namespace dravin
