#include "window_tunnel.h"

#include <unistd.h>

#include <QVariantMap>

#include "app_log.h"
#include "board_bridge.h"
#include "jpeg_encoder.h"
#include "notification_center.h"
#include "notification_names.h"
#include "x11_windows.h"

namespace dravin {

namespace {

// Window numbers reach us from the page as numbers; X ids are positive and below 2^29.
std::optional<std::uint32_t> windowId(int windowNumber) {
  if (windowNumber <= 0) return std::nullopt;
  return static_cast<std::uint32_t>(windowNumber);
}

}  // namespace

WindowTunnel::WindowTunnel(const std::string& displayName, int ownPid)
    : ownPid_(ownPid < 0 ? static_cast<int>(getpid()) : ownPid) {
  try {
    windows_ = std::make_unique<x11::WindowSystem>(displayName);
  } catch (const x11::X11Error& error) {
    logLine(QStringLiteral("Window tunnel unavailable: ") + QString::fromStdString(error.what()));
  }
}

WindowTunnel::~WindowTunnel() = default;

WindowTunnel& WindowTunnel::shared() {
  static WindowTunnel tunnel;
  return tunnel;
}

void WindowTunnel::connectBridge(BoardBridge& bridge) {
  bridge.tunnelFrame = [this](int n) { return frameDataUrl(n); };
  bridge.parkWindow = [this](int n) { parkWindow(n); };
  bridge.controlWindow = [this](int n, QRect rect) { return controlWindow(n, rect); };
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
  const int number = static_cast<int>(window.windowID);
  BoardBridge::instance().showTunnelWindow(number, frameDataUrl(number), window.name);
  NotificationCenter& center = NotificationCenter::instance();
  center.post(notifications::kOpenTunnelList);
  selectedWindowPID_ = window.pid;
  selectedWindowNumber_ = number;
  center.post(notifications::kOpenDocCamera, {{QStringLiteral("type"), QStringLiteral("close")}});
}

QString WindowTunnel::frameDataUrl(int windowNumber) {
  const auto id = windowId(windowNumber);
  if (!windows_ || !id) return {};
  QString dataUrl;
  // Encoded straight from the shared capture buffer: a frame is never copied.
  windows_->readWindow(*id,
                       [&dataUrl](const QImage& image) { dataUrl = encodeJpegDataUrl(image); });
  return dataUrl;
}

void WindowTunnel::parkWindow(int windowNumber) {
  const auto id = windowId(windowNumber);
  if (!windows_ || !id || !windows_->findWindow(*id)) return;
  windows_->park(*id);
}

bool WindowTunnel::controlWindow(int windowNumber, const QRect& screenRect) {
  const auto id = windowId(windowNumber);
  if (!windows_ || !id || !windows_->findWindow(*id)) return false;
  windows_->activate(*id);
  windows_->moveResize(*id, screenRect);
  return true;
}

}  // namespace dravin
