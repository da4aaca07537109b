#pragma once

#include <QDBusConnection>
#include <QImage>
#include <QString>
#include <functional>
#include <map>
#include <memory>

#include "screencast_portal.h"

namespace dravin {

namespace gst {
class PipeWireFrames;
}

// The window tunnel's windows on Wayland: each one a stream the user chose in the desktop's own
// screen-cast dialog, numbered for the board's tiles. No program may list, read or move another
// program's windows there; the portal is the only way in.
class PortalWindows {
 public:
  // A window number, or why there is none (empty text: the user closed the dialog).
  struct Choice {
    int number = 0;
    QString error;
  };

  explicit PortalWindows(QDBusConnection connection = QDBusConnection::sessionBus());
  ~PortalWindows();
  PortalWindows(const PortalWindows&) = delete;
  PortalWindows& operator=(const PortalWindows&) = delete;

  // Whether the desktop's portal offers windows at all (GNOME's and KDE's do; wlroots' shares
  // whole screens only). Asked of the portal each time: it is quick and local.
  bool offersWindows() const;

  // Opens the portal's dialog for one `source` (windows; screens in tests, where the portal
  // offers nothing else) and reports once, on this thread. A second choice while one is asked
  // replaces it.
  void choose(std::function<void(Choice)> done, ScreenCastSource source = ScreenCastSource::window);
  void cancelChoice();

  bool has(int number) const { return windows_.count(number) > 0; }
  // The window's latest picture; null before its first one or once the stream ended.
  QImage frame(int number) const;
  // Stops sharing the window.
  void close(int number);

 private:
  struct Window;

  QDBusConnection connection_;
  std::unique_ptr<ScreenCastPortal> asking_;
  std::map<int, std::unique_ptr<Window>> windows_;
  int lastNumber_ = 0;
};

}  // namespace dravin
