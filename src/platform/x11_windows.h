#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "x11_screens.h"

struct xcb_connection_t;

namespace dravin::x11 {

// An application's top-level window as the window manager lists it.
struct ClientWindow {
  std::uint32_t id = 0;
  QString name;  // "" when the window has no title
  int pid = 0;   // 0 when the window does not say
  QRect bounds;  // client area in root coordinates
};

// The other applications' windows on one X display, through the window manager's EWMH lists.
// Every query survives windows that vanish while it runs, and a lost connection is opened anew on
// the next call.
class WindowSystem {
 public:
  // Connects to the display named (or $DISPLAY when empty); throws X11Error.
  explicit WindowSystem(const std::string& displayName = {});
  ~WindowSystem();
  WindowSystem(const WindowSystem&) = delete;
  WindowSystem& operator=(const WindowSystem&) = delete;

  // Ordinary, viewable application windows, front to back. Empty without a window manager.
  std::vector<ClientWindow> listWindows();

  // Window `id` when it is in the list above.
  std::optional<ClientWindow> findWindow(std::uint32_t id);

  // The window's client area alone, as RGB32; a null image when it cannot be read.
  QImage captureWindow(std::uint32_t id);

  // Hands `use` the window's picture without copying it; the image is valid only during the call.
  // False, without a call, when the window cannot be read.
  bool readWindow(std::uint32_t id, const std::function<void(const QImage&)>& use);

  // Raises and focuses the window through the window manager.
  bool activate(std::uint32_t id);

  // Places the client area (not the frame) at `rect` in root coordinates.
  bool moveResize(std::uint32_t id, const QRect& rect);

  // Moves the window to (-1, -1), out of the presenter's way, keeping its size.
  bool park(std::uint32_t id);

  // Waits until the server has handled every request sent so far.
  void sync();

 private:
  struct State;
  struct SharedSegment {
    xcb_connection_t* connection = nullptr;
    std::uint32_t id = 0;  // the server's name for it
    int shmid = -1;
    void* address = nullptr;
    std::size_t size = 0;
    ~SharedSegment();
  };
  bool ensureConnected();
  SharedSegment* sharedSegment(std::size_t bytes);
  std::string displayName_;
  std::unique_ptr<State> state_;
};

}  // namespace dravin::x11
