#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QUuid>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "display_session.h"
#include "screencast_portal.h"

namespace dravin {

namespace x11 {
class WindowSystem;
}
class BoardBridge;
class PortalWindows;

// One window the picker offers.
struct TunnelWindow {
  QUuid id;  // fresh per gathering, identity for the list only
  QString name;
  QRect bounds;  // root coordinates; null when they cannot be read
  QImage thumbnail;
  std::uint32_t windowID = 0;
  int pid = 0;
};

// Other applications' windows mirrored into the board: the picker's list, the pictures the page
// pulls, and moving the real window for direct use. On X11 it lists and reads windows itself;
// without an X display every list is empty and every picture is missing. On Wayland each window
// is one the user shares through the desktop's screen-cast dialog, and none can be moved.
class WindowTunnel {
 public:
  // The display named, or $DISPLAY when empty; `ownPid` is left out of the list.
  explicit WindowTunnel(const std::string& displayName = {}, int ownPid = -1,
                        DisplaySession session = DisplaySession::x11);
  ~WindowTunnel();
  WindowTunnel(const WindowTunnel&) = delete;
  WindowTunnel& operator=(const WindowTunnel&) = delete;

  // The application's tunnel, on its own display.
  static WindowTunnel& shared();

  // Fills the board bridge's seams with this tunnel.
  void connectBridge(BoardBridge& bridge);

  bool hasDisplay() const { return windows_ != nullptr; }
  bool usesPortal() const { return portal_ != nullptr; }
  // Wayland: whether the desktop's portal can share single windows at all.
  bool portalOffersWindows() const;
  // Wayland: asks the portal for a window and, once shared, sends it to the board as a pick does.
  // `done` gets the failure's text, empty when it worked or the user closed the dialog.
  void choosePortalWindow(std::function<void(bool shown, QString error)> done,
                          ScreenCastSource source = ScreenCastSource::window);
  void cancelPortalChoice();

  // The offered windows, front to back, each with a picture; uncapturable ones are left out.
  std::vector<TunnelWindow> refreshWindows();

  // Sends the window to the board, closes the picker and the document camera, and remembers it.
  void pickWindow(const TunnelWindow& window);

  // "data:image/jpeg;base64,..." of the window now, or empty when it cannot be captured.
  QString frameDataUrl(int windowNumber);

  void parkWindow(int windowNumber);
  // The board closed the window's tile.
  void closeWindow(int windowNumber);

  // Raises the window and places its content over `screenRect`; false when the window is gone.
  bool controlWindow(int windowNumber, const QRect& screenRect);

  int selectedWindowPID() const { return selectedWindowPID_; }
  int selectedWindowNumber() const { return selectedWindowNumber_; }

  x11::WindowSystem* windowSystem() { return windows_.get(); }

 private:
  void showPicked(int number, const QString& name, int pid);

  std::unique_ptr<x11::WindowSystem> windows_;
  std::unique_ptr<PortalWindows> portal_;
  int ownPid_;
  int selectedWindowPID_ = 0;
  int selectedWindowNumber_ = 0;
};

}  // namespace dravin
