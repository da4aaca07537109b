#include "v4l2_controls.h"

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <optional>

namespace dravin {

namespace {

constexpr std::array<unsigned int, 18> kOffered{
    V4L2_CID_BRIGHTNESS,
    V4L2_CID_CONTRAST,
    V4L2_CID_SATURATION,
    V4L2_CID_HUE,
    V4L2_CID_SHARPNESS,
    V4L2_CID_GAMMA,
    V4L2_CID_GAIN,
    V4L2_CID_BACKLIGHT_COMPENSATION,
    V4L2_CID_POWER_LINE_FREQUENCY,
    V4L2_CID_AUTO_WHITE_BALANCE,
    V4L2_CID_WHITE_BALANCE_TEMPERATURE,
    V4L2_CID_EXPOSURE_AUTO,
    V4L2_CID_EXPOSURE_ABSOLUTE,
    V4L2_CID_FOCUS_AUTO,
    V4L2_CID_FOCUS_ABSOLUTE,
    V4L2_CID_ZOOM_ABSOLUTE,
    V4L2_CID_PAN_ABSOLUTE,
    V4L2_CID_TILT_ABSOLUTE,
};

constexpr std::array<unsigned int, 3> kAutoModes{V4L2_CID_AUTO_WHITE_BALANCE,
                                                 V4L2_CID_EXPOSURE_AUTO, V4L2_CID_FOCUS_AUTO};

int clampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

std::string errorText(int code) {
  return std::strerror(code);
}

std::optional<int> readValue(V4l2Io& io, unsigned int id, int* error = nullptr) {
  v4l2_ext_control control{};
  control.id = id;
  v4l2_ext_controls controls{};
  controls.which = V4L2_CTRL_WHICH_CUR_VAL;
  controls.count = 1;
  controls.controls = &control;
  const int code = io.call(VIDIOC_G_EXT_CTRLS, &controls);
  if (error) *error = code;
  if (code != 0) return std::nullopt;
  return static_cast<int>(control.value);
}

std::vector<MenuEntry> readMenu(V4l2Io& io, const v4l2_query_ext_ctrl& query) {
  std::vector<MenuEntry> entries;
  for (std::int64_t index = query.minimum; index <= query.maximum; ++index) {
    v4l2_querymenu item{};
    item.id = query.id;
    item.index = static_cast<__u32>(index);
    // Menus may have gaps: the driver refuses the indices it does not use.
    if (io.call(VIDIOC_QUERYMENU, &item) != 0) continue;
    std::string label =
        query.type == V4L2_CTRL_TYPE_INTEGER_MENU
            ? std::to_string(item.value)
            : std::string(reinterpret_cast<const char*>(item.name),
                          strnlen(reinterpret_cast<const char*>(item.name), sizeof(item.name)));
    entries.push_back({static_cast<int>(index), std::move(label)});
  }
  return entries;
}

std::optional<PictureControl> describe(V4l2Io& io, const v4l2_query_ext_ctrl& query) {
  if (!V4l2Controls::offered(query.id)) return std::nullopt;
  if (query.flags & (V4L2_CTRL_FLAG_DISABLED | V4L2_CTRL_FLAG_READ_ONLY)) return std::nullopt;
  PictureControl control;
  switch (query.type) {
    case V4L2_CTRL_TYPE_INTEGER: control.kind = ControlKind::integer; break;
    case V4L2_CTRL_TYPE_BOOLEAN: control.kind = ControlKind::boolean; break;
    case V4L2_CTRL_TYPE_MENU:
    case V4L2_CTRL_TYPE_INTEGER_MENU: control.kind = ControlKind::menu; break;
    default: return std::nullopt;
  }
  control.label.assign(query.name, strnlen(query.name, sizeof(query.name)));
  control.name = v4l2ControlName(control.label);
  control.minimum = clampToInt(query.minimum);
  control.maximum = clampToInt(query.maximum);
  control.step = std::max<int>(1, clampToInt(static_cast<std::int64_t>(query.step)));
  control.defaultValue = clampToInt(query.default_value);
  control.inactive = (query.flags & V4L2_CTRL_FLAG_INACTIVE) != 0;
  control.autoMode = std::find(kAutoModes.begin(), kAutoModes.end(), query.id) != kAutoModes.end();
  if (control.kind == ControlKind::menu) {
    control.menu = readMenu(io, query);
    if (control.menu.empty()) return std::nullopt;
  }
  control.value = readValue(io, query.id).value_or(control.defaultValue);
  return control;
}

// Every control the node has, in the driver's order, with its query.
std::vector<v4l2_query_ext_ctrl> queryAll(V4l2Io& io) {
  std::vector<v4l2_query_ext_ctrl> found;
  v4l2_query_ext_ctrl query{};
  query.id = V4L2_CTRL_FLAG_NEXT_CTRL;
  while (io.call(VIDIOC_QUERY_EXT_CTRL, &query) == 0) {
    found.push_back(query);
    const __u32 next = query.id | V4L2_CTRL_FLAG_NEXT_CTRL;
    query = {};
    query.id = next;
  }
  return found;
}

}  // namespace

V4l2DeviceIo::V4l2DeviceIo(const std::string& devicePath)
    : fd_(::open(devicePath.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC)) {}

V4l2DeviceIo::~V4l2DeviceIo() {
  if (fd_ >= 0) ::close(fd_);
}

int V4l2DeviceIo::call(unsigned long request, void* argument) {
  if (fd_ < 0) return ENODEV;
  int result;
  do {
    result = ::ioctl(fd_, request, argument);
  } while (result < 0 && errno == EINTR);
  return result < 0 ? errno : 0;
}

V4l2Controls::V4l2Controls(std::unique_ptr<V4l2Io> io) : io_(std::move(io)) {}

bool V4l2Controls::offered(unsigned int id) {
  return std::find(kOffered.begin(), kOffered.end(), id) != kOffered.end();
}

std::vector<PictureControl> V4l2Controls::list() {
  std::vector<PictureControl> controls;
  for (const auto& query : queryAll(*io_)) {
    if (auto control = describe(*io_, query)) controls.push_back(std::move(*control));
  }
  return controls;
}

std::string V4l2Controls::set(const std::string& name, int value) {
  for (const auto& query : queryAll(*io_)) {
    auto control = describe(*io_, query);
    if (!control || control->name != name) continue;
    if (value < control->minimum || value > control->maximum) {
      return name + ": " + std::to_string(value) + " is outside " +
             std::to_string(control->minimum) + " to " + std::to_string(control->maximum);
    }
    if (control->kind == ControlKind::menu &&
        std::none_of(control->menu.begin(), control->menu.end(),
                     [&](const MenuEntry& entry) { return entry.value == value; })) {
      return name + ": " + std::to_string(value) + " is not one of its choices";
    }
    v4l2_ext_control write{};
    write.id = query.id;
    write.value = value;
    v4l2_ext_controls writes{};
    writes.which = V4L2_CTRL_WHICH_CUR_VAL;
    writes.count = 1;
    writes.controls = &write;
    if (const int code = io_->call(VIDIOC_S_EXT_CTRLS, &writes); code != 0) {
      return name + ": " + errorText(code);
    }
    return {};
  }
  return name + ": the camera has no such control";
}

std::string v4l2ControlName(const std::string& caption) {
  std::string name;
  bool gap = false;
  for (char c : caption) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      if (gap && !name.empty()) name += '_';
      gap = false;
      name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    } else {
      gap = true;
    }
  }
  return name;
}

}  // namespace dravin
