#include "balance_controls.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace dravin::gst {

namespace {

// One control: its property, integer range and how many steps make one unit of the property.
struct Mapping {
  const char* name;
  const char* label;
  int minimum;
  int maximum;
  int defaultValue;
  double perUnit;
};

// videobalance: brightness and hue -1..1 around 0, contrast and saturation 0..2 around 1.
constexpr std::array<Mapping, 4> kMappings{{
    {"brightness", "Brightness", -100, 100, 0, 100},
    {"contrast", "Contrast", 0, 200, 100, 100},
    {"saturation", "Saturation", 0, 200, 100, 100},
    {"hue", "Hue", -180, 180, 0, 180},
}};

}  // namespace

BalanceControls::BalanceControls(ElementPtr balance) : balance_(std::move(balance)) {}

std::vector<PictureControl> BalanceControls::list() {
  std::vector<PictureControl> controls;
  if (!balance_) return controls;
  for (const auto& mapping : kMappings) {
    double property = 0;
    g_object_get(balance_.get(), mapping.name, &property, nullptr);
    PictureControl control;
    control.name = mapping.name;
    control.label = mapping.label;
    control.minimum = mapping.minimum;
    control.maximum = mapping.maximum;
    control.defaultValue = mapping.defaultValue;
    control.value = static_cast<int>(std::lround(property * mapping.perUnit));
    controls.push_back(control);
  }
  return controls;
}

std::string BalanceControls::set(const std::string& name, int value) {
  auto mapping = std::find_if(kMappings.begin(), kMappings.end(),
                              [&](const Mapping& m) { return name == m.name; });
  if (!balance_ || mapping == kMappings.end()) return name + ": the camera has no such control";
  if (value < mapping->minimum || value > mapping->maximum) {
    return name + ": " + std::to_string(value) + " is outside " + std::to_string(mapping->minimum) +
           " to " + std::to_string(mapping->maximum);
  }
  g_object_set(balance_.get(), mapping->name, value / mapping->perUnit, nullptr);
  return {};
}

}  // namespace dravin::gst
