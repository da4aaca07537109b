#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace dravin::x11 {

// The X server could not be reached or did not answer a RandR query; the text says which.
class X11Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One monitor of the X screen as RandR reports it, in root-window pixels.
struct Monitor {
  // The RandR output showing the monitor: an XID that stays the same while the server runs.
  std::uint32_t id = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool primary = false;
  std::vector<std::uint8_t> edid;  // empty when the output has none
};

// Whether the display named (or $DISPLAY when empty) accepts a connection.
bool displayReachable(const std::string& displayName = {});

// The monitors of the display's default screen, in RandR's order; throws X11Error.
std::vector<Monitor> listMonitors(const std::string& displayName = {});

// The primary monitor, else the first; nothing when there is none. Throws X11Error.
std::optional<Monitor> mainMonitor(const std::string& displayName = {});

// The display name recordings use: $DISPLAY, or empty when unset.
std::string defaultDisplayName();

}  // namespace dravin::x11
