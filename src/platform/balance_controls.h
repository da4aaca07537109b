#pragma once

#include <gst/gst.h>

#include "gst_ptr.h"
#include "picture_controls.h"

namespace dravin::gst {

// Brightness, contrast, saturation and hue of a `videobalance` element, as integer controls
// with the ranges a USB camera gives them: what the demo camera offers in place of a driver.
class BalanceControls : public PictureControls {
 public:
  // The name the demo camera's launch text gives its balance element.
  static constexpr const char* kElementName = "balance";

  explicit BalanceControls(ElementPtr balance);

  std::vector<PictureControl> list() override;
  std::string set(const std::string& name, int value) override;

 private:
  ElementPtr balance_;
};

}  // namespace dravin::gst
