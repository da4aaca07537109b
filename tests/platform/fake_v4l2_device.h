#pragma once

#include <linux/videodev2.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "v4l2_controls.h"

namespace dravin::testing {

// A camera's control table answering the V4L2 control ioctls as a driver does: controls in id
// order, menus with gaps, writes clamped to nothing (out of range is the caller's to refuse), and
// refusals chosen by the test. Shared with the tests through a shared pointer so they can look
// at it after handing the io away.
struct FakeV4l2Device {
  struct Control {
    v4l2_query_ext_ctrl query{};
    std::int32_t value = 0;
    std::map<std::uint32_t, std::string> menu;  // index -> label
    int refuseWith = 0;                         // errno for writes, 0 accepts
    // Written while this auto mode control is non-zero: refused with EACCES, as UVC does.
    std::uint32_t heldBy = 0;
  };
  std::map<std::uint32_t, Control> controls;
  std::vector<std::pair<std::uint32_t, std::int32_t>> writes;

  Control& add(std::uint32_t id, const char* name, std::uint32_t type, std::int64_t minimum,
               std::int64_t maximum, std::int64_t defaultValue, std::int32_t value,
               std::uint64_t step = 1) {
    Control control;
    control.query.id = id;
    control.query.type = type;
    std::strncpy(control.query.name, name, sizeof(control.query.name) - 1);
    control.query.minimum = minimum;
    control.query.maximum = maximum;
    control.query.default_value = defaultValue;
    control.query.step = step;
    control.value = value;
    return controls[id] = control;
  }

  bool held(const Control& control) const {
    if (!control.heldBy) return false;
    auto mode = controls.find(control.heldBy);
    return mode != controls.end() && mode->second.value != 0 &&
           !(control.heldBy == V4L2_CID_EXPOSURE_AUTO &&
             mode->second.value == V4L2_EXPOSURE_MANUAL);
  }

  int call(unsigned long request, void* argument) {
    switch (request) {
      case VIDIOC_QUERY_EXT_CTRL: {
        auto* query = static_cast<v4l2_query_ext_ctrl*>(argument);
        std::map<std::uint32_t, Control>::iterator found;
        if (query->id & V4L2_CTRL_FLAG_NEXT_CTRL) {
          found = controls.upper_bound(query->id &
                                       ~(V4L2_CTRL_FLAG_NEXT_CTRL | V4L2_CTRL_FLAG_NEXT_COMPOUND));
        } else {
          found = controls.find(query->id);
        }
        if (found == controls.end()) return EINVAL;
        *query = found->second.query;
        if (held(found->second)) query->flags |= V4L2_CTRL_FLAG_INACTIVE;
        return 0;
      }
      case VIDIOC_QUERYMENU: {
        auto* item = static_cast<v4l2_querymenu*>(argument);
        auto control = controls.find(item->id);
        if (control == controls.end()) return EINVAL;
        auto entry = control->second.menu.find(item->index);
        if (entry == control->second.menu.end()) return EINVAL;
        if (control->second.query.type == V4L2_CTRL_TYPE_INTEGER_MENU) {
          item->value = std::stoll(entry->second);
        } else {
          std::strncpy(reinterpret_cast<char*>(item->name), entry->second.c_str(),
                       sizeof(item->name) - 1);
        }
        return 0;
      }
      case VIDIOC_G_EXT_CTRLS:
      case VIDIOC_S_EXT_CTRLS: {
        auto* list = static_cast<v4l2_ext_controls*>(argument);
        for (std::uint32_t i = 0; i < list->count; ++i) {
          auto control = controls.find(list->controls[i].id);
          if (control == controls.end()) return EINVAL;
          if (request == VIDIOC_G_EXT_CTRLS) {
            list->controls[i].value = control->second.value;
            continue;
          }
          if (control->second.refuseWith) return control->second.refuseWith;
          if (held(control->second)) return EACCES;
          const std::int32_t value = list->controls[i].value;
          control->second.value = value;
          writes.emplace_back(control->first, value);
        }
        return 0;
      }
      default: return ENOTTY;
    }
  }
};

class FakeV4l2Io : public V4l2Io {
 public:
  explicit FakeV4l2Io(std::shared_ptr<FakeV4l2Device> device) : device_(std::move(device)) {}
  int call(unsigned long request, void* argument) override {
    return device_->call(request, argument);
  }

 private:
  std::shared_ptr<FakeV4l2Device> device_;
};

// A typical USB document camera: brightness, contrast, power-line frequency (menu), white
// balance auto and temperature, exposure auto (menu with gaps) and time, focus auto and
// position, and a control the application does not show.
inline std::shared_ptr<FakeV4l2Device> typicalCamera() {
  auto device = std::make_shared<FakeV4l2Device>();
  device->add(V4L2_CID_BRIGHTNESS, "Brightness", V4L2_CTRL_TYPE_INTEGER, -64, 64, 0, 0);
  device->add(V4L2_CID_CONTRAST, "Contrast", V4L2_CTRL_TYPE_INTEGER, 0, 95, 32, 32);
  device->add(V4L2_CID_AUTO_WHITE_BALANCE, "White Balance, Automatic", V4L2_CTRL_TYPE_BOOLEAN, 0, 1,
              1, 1);
  auto& frequency = device->add(V4L2_CID_POWER_LINE_FREQUENCY, "Power Line Frequency",
                                V4L2_CTRL_TYPE_MENU, 0, 2, 1, 1);
  frequency.menu = {{0, "Disabled"}, {1, "50 Hz"}, {2, "60 Hz"}};
  device
      ->add(V4L2_CID_WHITE_BALANCE_TEMPERATURE, "White Balance Temperature", V4L2_CTRL_TYPE_INTEGER,
            2800, 6500, 4600, 4600, 10)
      .heldBy = V4L2_CID_AUTO_WHITE_BALANCE;
  device->add(V4L2_CID_ROTATE, "Rotate", V4L2_CTRL_TYPE_INTEGER, 0, 270, 0, 0, 90);
  auto& exposure =
      device->add(V4L2_CID_EXPOSURE_AUTO, "Auto Exposure", V4L2_CTRL_TYPE_MENU, 0, 3, 3, 3);
  exposure.menu = {{1, "Manual Mode"}, {3, "Iris Priority Mode"}};
  device
      ->add(V4L2_CID_EXPOSURE_ABSOLUTE, "Exposure Time, Absolute", V4L2_CTRL_TYPE_INTEGER, 3, 2047,
            250, 250)
      .heldBy = V4L2_CID_EXPOSURE_AUTO;
  device->add(V4L2_CID_FOCUS_ABSOLUTE, "Focus, Absolute", V4L2_CTRL_TYPE_INTEGER, 0, 250, 0, 0, 5)
      .heldBy = V4L2_CID_FOCUS_AUTO;
  device->add(V4L2_CID_FOCUS_AUTO, "Focus, Automatic Continuous", V4L2_CTRL_TYPE_BOOLEAN, 0, 1, 1,
              1);
  return device;
}

}  // namespace dravin::testing
