#include "display_session.h"

#include <QGuiApplication>

namespace dravin {

DisplaySession displaySession() {
  static const DisplaySession session =
      QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ? DisplaySession::wayland
                                                                           : DisplaySession::x11;
  return session;
}

const char* displaySessionName(DisplaySession session) {
  return session == DisplaySession::wayland ? "wayland" : "x11";
}

}  // namespace dravin
