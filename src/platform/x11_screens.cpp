#include "x11_screens.h"

#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace dravin::x11 {

namespace {

struct ConnectionClose {
  void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};
using ConnectionPtr = std::unique_ptr<xcb_connection_t, ConnectionClose>;

template <class T>
struct FreeReply {
  void operator()(T* p) const { std::free(p); }
};
template <class T>
using ReplyPtr = std::unique_ptr<T, FreeReply<T>>;

struct Connection {
  ConnectionPtr connection;
  xcb_window_t root = 0;
};

Connection connect(const std::string& displayName) {
  int screenNumber = 0;
  ConnectionPtr connection(
      xcb_connect(displayName.empty() ? nullptr : displayName.c_str(), &screenNumber));
  if (xcb_connection_has_error(connection.get())) {
    throw X11Error("cannot open display " +
                   (displayName.empty() ? std::string("$DISPLAY") : displayName));
  }
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection.get()));
  for (int i = 0; i < screenNumber && screens.rem; ++i) xcb_screen_next(&screens);
  if (!screens.rem) throw X11Error("the display has no screen");
  return {std::move(connection), screens.data->root};
}

std::string describe(const char* request, xcb_generic_error_t* error) {
  std::string text = std::string(request) + " failed";
  if (error) {
    text += " (X error " + std::to_string(error->error_code) + ")";
    std::free(error);
  }
  return text;
}

std::vector<std::uint8_t> readEdid(xcb_connection_t* c, xcb_randr_output_t output) {
  static constexpr char kName[] = "EDID";
  ReplyPtr<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 1, static_cast<uint16_t>(std::strlen(kName)), kName), nullptr));
  if (!atom || atom->atom == XCB_ATOM_NONE) return {};
  // 32 units of 4 bytes hold the base block and one extension; the name is in the base block.
  ReplyPtr<xcb_randr_get_output_property_reply_t> property(xcb_randr_get_output_property_reply(
      c, xcb_randr_get_output_property(c, output, atom->atom, XCB_ATOM_ANY, 0, 64, 0, 0), nullptr));
  if (!property || property->format != 8) return {};
  const auto* data = xcb_randr_get_output_property_data(property.get());
  const int length = xcb_randr_get_output_property_data_length(property.get());
  return std::vector<std::uint8_t>(data, data + length);
}

}  // namespace

std::string defaultDisplayName() {
  const char* display = std::getenv("DISPLAY");
  return display ? display : "";
}

bool displayReachable(const std::string& displayName) {
  if (displayName.empty() && defaultDisplayName().empty()) return false;
  try {
    connect(displayName);
    return true;
  } catch (const X11Error&) {
    return false;
  }
}

std::vector<Monitor> listMonitors(const std::string& displayName) {
  Connection x = connect(displayName);
  xcb_connection_t* c = x.connection.get();
  xcb_generic_error_t* error = nullptr;
  ReplyPtr<xcb_randr_query_version_reply_t> version(
      xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 5), &error));
  if (!version) throw X11Error(describe("RandR version query", error));
  if (version->major_version < 1 || (version->major_version == 1 && version->minor_version < 5)) {
    throw X11Error("RandR 1.5 is missing (server has " + std::to_string(version->major_version) +
                   "." + std::to_string(version->minor_version) + ")");
  }
  ReplyPtr<xcb_randr_get_monitors_reply_t> reply(
      xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, x.root, 1), &error));
  if (!reply) throw X11Error(describe("RandR monitor query", error));

  std::vector<Monitor> monitors;
  for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem;
       xcb_randr_monitor_info_next(&it)) {
    const xcb_randr_monitor_info_t* info = it.data;
    Monitor monitor;
    monitor.x = info->x;
    monitor.y = info->y;
    monitor.width = info->width;
    monitor.height = info->height;
    monitor.primary = info->primary != 0;
    if (info->nOutput > 0) {
      const xcb_randr_output_t output =
          xcb_randr_monitor_info_outputs(const_cast<xcb_randr_monitor_info_t*>(info))[0];
      monitor.id = output;
      monitor.edid = readEdid(c, output);
    } else {
      // A monitor defined by the user has no output; its name atom is the stable handle.
      monitor.id = info->name;
    }
    monitors.push_back(std::move(monitor));
  }
  return monitors;
}

std::optional<Monitor> mainMonitor(const std::string& displayName) {
  std::vector<Monitor> monitors = listMonitors(displayName);
  for (const Monitor& monitor : monitors) {
    if (monitor.primary) return monitor;
  }
  if (monitors.empty()) return std::nullopt;
  return monitors.front();
}

}  // namespace dravin::x11
