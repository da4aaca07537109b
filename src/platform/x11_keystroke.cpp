#include "x11_keystroke.h"

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <X11/keysym.h>
#include <cstdlib>
#include <memory>
#include <optional>

namespace dravin {
namespace {

struct ConnectionDeleter {
  void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};
using ConnectionPtr = std::unique_ptr<xcb_connection_t, ConnectionDeleter>;

// The key code that types `keysym` without modifiers, from the server's keyboard mapping.
std::optional<xcb_keycode_t> keycodeFor(xcb_connection_t* connection, xcb_keysym_t keysym) {
  const xcb_setup_t* setup = xcb_get_setup(connection);
  const int first = setup->min_keycode;
  const int count = setup->max_keycode - setup->min_keycode + 1;
  std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> mapping(
      xcb_get_keyboard_mapping_reply(
          connection,
          xcb_get_keyboard_mapping(connection, static_cast<xcb_keycode_t>(first),
                                   static_cast<std::uint8_t>(count)),
          nullptr),
      &std::free);
  if (!mapping) return std::nullopt;
  const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(mapping.get());
  const int perCode = mapping->keysyms_per_keycode;
  for (int code = 0; code < count; ++code) {
    if (perCode > 0 && symbols[code * perCode] == keysym)
      return static_cast<xcb_keycode_t>(first + code);
  }
  return std::nullopt;
}

void fakeKey(xcb_connection_t* connection, std::uint8_t type, xcb_keycode_t code) {
  xcb_test_fake_input(connection, type, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
}

}  // namespace

bool sendPasteKeystroke() {
  ConnectionPtr connection(xcb_connect(nullptr, nullptr));
  if (xcb_connection_has_error(connection.get())) return false;
  const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(connection.get(), &xcb_test_id);
  if (!xtest || !xtest->present) return false;
  const std::optional<xcb_keycode_t> control = keycodeFor(connection.get(), XK_Control_L);
  std::optional<xcb_keycode_t> v = keycodeFor(connection.get(), XK_v);
  if (!v) v = keycodeFor(connection.get(), XK_V);
  if (!control || !v) return false;
  fakeKey(connection.get(), XCB_KEY_PRESS, *control);
  fakeKey(connection.get(), XCB_KEY_PRESS, *v);
  fakeKey(connection.get(), XCB_KEY_RELEASE, *v);
  fakeKey(connection.get(), XCB_KEY_RELEASE, *control);
  // A round trip: the events are on the server before the connection closes.
  std::free(
      xcb_get_input_focus_reply(connection.get(), xcb_get_input_focus(connection.get()), nullptr));
  return true;
}

}  // namespace dravin
