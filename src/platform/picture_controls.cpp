#include "picture_controls.h"

namespace dravin {

std::vector<std::string> resetToDefaults(PictureControls& controls) {
  auto writeDefaults = [&controls](bool autoModes, std::vector<std::string>* refusals) {
    for (const auto& control : controls.list()) {
      if (control.autoMode != autoModes || control.value == control.defaultValue) continue;
      // Held by its automatic mode: written again once the modes are back.
      if (control.inactive && !refusals) continue;
      if (auto error = controls.set(control.name, control.defaultValue);
          !error.empty() && refusals) {
        refusals->push_back(std::move(error));
      }
    }
  };
  std::vector<std::string> refusals;
  writeDefaults(false, nullptr);
  writeDefaults(true, &refusals);
  // A manual value whose automatic mode was on only now accepts its default.
  for (const auto& control : controls.list()) {
    if (control.autoMode || control.inactive || control.value == control.defaultValue) continue;
    if (auto error = controls.set(control.name, control.defaultValue); !error.empty()) {
      refusals.push_back(std::move(error));
    }
  }
  return refusals;
}

}  // namespace dravin
