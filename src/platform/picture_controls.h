#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dravin {

struct MenuEntry {
  int value = 0;
  std::string label;
  bool operator==(const MenuEntry&) const = default;
};

enum class ControlKind { integer, boolean, menu };

// One picture control of a camera, with the camera's own range, step, default and menu.
struct PictureControl {
  // As `v4l2-ctl --list-ctrls` prints it: "brightness", "focus_absolute".
  std::string name;
  // The driver's own caption: "Brightness", "Focus, Absolute".
  std::string label;
  ControlKind kind = ControlKind::integer;
  int minimum = 0;
  int maximum = 0;
  int step = 1;
  int defaultValue = 0;
  int value = 0;
  std::vector<MenuEntry> menu;  // menu controls only
  // Writable only once its automatic mode is off (manual white balance, exposure time...).
  bool inactive = false;
  // Switches another control between automatic and manual: written before manual values.
  bool autoMode = false;
  bool operator==(const PictureControl&) const = default;
};

// A camera's picture controls: a V4L2 device node, or the demo camera's picture balance.
class PictureControls {
 public:
  virtual ~PictureControls() = default;
  // The controls the camera offers, with their current values; none when it cannot be asked.
  virtual std::vector<PictureControl> list() = 0;
  // Empty once written; otherwise why not (unknown name, out of range, the driver's refusal),
  // and the control keeps its old value.
  virtual std::string set(const std::string& name, int value) = 0;
};

// Puts every control back to its default: manual values first, while their automatic modes may
// still be off, then the automatic modes. Controls already at their default are not written.
// The refusals, one per control, "name: reason".
std::vector<std::string> resetToDefaults(PictureControls& controls);

}  // namespace dravin
