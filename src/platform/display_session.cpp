#include "display_session.h"

#include <QGuiApplication>

namespace dravin {

DisplaySession displaySession() {
  static const DisplaySession session =
      QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ? DisplaySession::wayland
                                                                           : DisplaySession::x11;
  return session;
}

void choosePlatformForSession() {
  if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return;
  if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qgetenv("XDG_SESSION_TYPE") != QByteArrayLiteral("wayland")) {
    return;
  }
  qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("wayland;xcb"));
}

const char* displaySessionName(DisplaySession session) {
  return session == DisplaySession::wayland ? "wayland" : "x11";
}

}  // namespace dravin
