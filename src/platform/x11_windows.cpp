#include "x11_windows.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/composite.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace dravin::x11 {

namespace {

template <class T>
struct FreeReply {
  void operator()(T* p) const { std::free(p); }
};
template <class T>
using ReplyPtr = std::unique_ptr<T, FreeReply<T>>;

// Errors of requests whose reply is awaited are handed back and must be freed; a vanished window
// shows up as one of them and is not worth more than a skip.
struct ErrorSink {
  xcb_generic_error_t* error = nullptr;
  ~ErrorSink() { std::free(error); }
  xcb_generic_error_t** operator&() {
    std::free(error);
    error = nullptr;
    return &error;
  }
};

// Window manager requests carry "from a pager or tool", which managers honour without the focus
// stealing rules they apply to applications.
constexpr auto kSourceTool = XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER;

}  // namespace

struct WindowSystem::State {
  xcb_connection_t* connection = nullptr;
  xcb_ewmh_connection_t ewmh{};
  bool ewmhReady = false;
  int screenNumber = 0;
  xcb_window_t root = 0;
  xcb_visualid_t rootVisual = 0;
  bool littleEndianImages = true;
  bool composite = false;
  // Windows this connection keeps in off-screen storage, so their pictures stay whole while
  // other windows (the full-screen board among them) cover them. Released at disconnect.
  std::set<std::uint32_t> redirected;
  bool shm = false;
  std::unique_ptr<SharedSegment> segment;  // window pictures arrive here without a copy

  ~State() {
    segment.reset();
    if (ewmhReady) xcb_ewmh_connection_wipe(&ewmh);
    if (connection) xcb_disconnect(connection);
  }
};

WindowSystem::WindowSystem(const std::string& displayName) : displayName_(displayName) {
  if (!ensureConnected()) {
    throw X11Error("cannot open display " +
                   (displayName.empty() ? std::string("$DISPLAY") : displayName));
  }
}

WindowSystem::~WindowSystem() = default;

bool WindowSystem::ensureConnected() {
  if (state_ && !xcb_connection_has_error(state_->connection)) {
    // Unchecked requests on windows that vanished leave their errors queued as events; nothing
    // here waits for events, so they are dropped before they pile up.
    while (xcb_generic_event_t* event = xcb_poll_for_event(state_->connection)) std::free(event);
    return true;
  }
  state_.reset();
  auto state = std::make_unique<State>();
  state->connection =
      xcb_connect(displayName_.empty() ? nullptr : displayName_.c_str(), &state->screenNumber);
  if (xcb_connection_has_error(state->connection)) return false;
  const xcb_setup_t* setup = xcb_get_setup(state->connection);
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
  for (int i = 0; i < state->screenNumber && screens.rem; ++i) xcb_screen_next(&screens);
  if (!screens.rem) return false;
  state->root = screens.data->root;
  state->rootVisual = screens.data->root_visual;
  state->littleEndianImages = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;

  xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(state->connection, &state->ewmh);
  ErrorSink error;
  state->ewmhReady = xcb_ewmh_init_atoms_replies(&state->ewmh, cookies, &error) != 0;
  if (!state->ewmhReady) return false;

  const xcb_query_extension_reply_t* extension =
      xcb_get_extension_data(state->connection, &xcb_composite_id);
  if (extension && extension->present) {
    ReplyPtr<xcb_composite_query_version_reply_t> version(xcb_composite_query_version_reply(
        state->connection, xcb_composite_query_version(state->connection, 0, 2), nullptr));
    // Naming a window's pixmap arrived with version 0.2.
    state->composite = version && (version->major_version > 0 || version->minor_version >= 2);
  }
  const xcb_query_extension_reply_t* shm = xcb_get_extension_data(state->connection, &xcb_shm_id);
  state->shm = shm && shm->present;
  state_ = std::move(state);
  return true;
}

std::vector<ClientWindow> WindowSystem::listWindows() {
  if (!ensureConnected()) return {};
  xcb_connection_t* c = state_->connection;
  xcb_ewmh_connection_t* ewmh = &state_->ewmh;

  xcb_ewmh_get_windows_reply_t stacking;
  ErrorSink error;
  if (!xcb_ewmh_get_client_list_stacking_reply(
          ewmh, xcb_ewmh_get_client_list_stacking(ewmh, state_->screenNumber), &stacking, &error)) {
    return {};
  }
  // The property runs bottom to top.
  std::vector<xcb_window_t> ids(stacking.windows, stacking.windows + stacking.windows_len);
  xcb_ewmh_get_windows_reply_wipe(&stacking);
  std::reverse(ids.begin(), ids.end());

  // All questions about all windows go out before the first answer is read.
  struct Pending {
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_property_cookie_t type;
    xcb_get_property_cookie_t netName;
    xcb_get_property_cookie_t icccmName;
    xcb_get_property_cookie_t pid;
    xcb_get_geometry_cookie_t geometry;
    xcb_translate_coordinates_cookie_t origin;
  };
  std::vector<Pending> pending;
  pending.reserve(ids.size());
  for (xcb_window_t id : ids) {
    pending.push_back({xcb_get_window_attributes(c, id), xcb_ewmh_get_wm_window_type(ewmh, id),
                       xcb_ewmh_get_wm_name(ewmh, id),
                       xcb_get_property(c, 0, id, XCB_ATOM_WM_NAME, XCB_ATOM_ANY, 0, 1024),
                       xcb_ewmh_get_wm_pid(ewmh, id), xcb_get_geometry(c, id),
                       xcb_translate_coordinates(c, id, state_->root, 0, 0)});
  }

  std::vector<ClientWindow> windows;
  for (std::size_t i = 0; i < ids.size(); ++i) {
    const Pending& p = pending[i];
    // Every reply is collected, also for windows already rejected, so none is left queued.
    ReplyPtr<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, p.attributes, &error));
    xcb_ewmh_get_atoms_reply_t types;
    const bool hasType = xcb_ewmh_get_wm_window_type_reply(ewmh, p.type, &types, &error) != 0;
    bool normal = true;
    if (hasType) {
      normal = types.atoms_len == 0;
      for (std::uint32_t t = 0; t < types.atoms_len; ++t) {
        if (types.atoms[t] == ewmh->_NET_WM_WINDOW_TYPE_NORMAL) normal = true;
      }
      xcb_ewmh_get_atoms_reply_wipe(&types);
    }
    xcb_ewmh_get_utf8_strings_reply_t netName;
    QString name;
    bool named = false;
    if (xcb_ewmh_get_wm_name_reply(ewmh, p.netName, &netName, &error)) {
      name = QString::fromUtf8(netName.strings, static_cast<qsizetype>(netName.strings_len));
      named = true;
      xcb_ewmh_get_utf8_strings_reply_wipe(&netName);
    }
    ReplyPtr<xcb_get_property_reply_t> icccmName(xcb_get_property_reply(c, p.icccmName, &error));
    if (!named && icccmName && icccmName->format == 8) {
      // The old property is Latin-1 by definition (or compound text, whose ASCII part agrees).
      name = QString::fromLatin1(static_cast<const char*>(xcb_get_property_value(icccmName.get())),
                                 xcb_get_property_value_length(icccmName.get()));
    }
    // Some clients end the title with the terminator the property does not need.
    while (name.endsWith(QChar(0))) name.chop(1);
    std::uint32_t pid = 0;
    const bool hasPid = xcb_ewmh_get_wm_pid_reply(ewmh, p.pid, &pid, &error) != 0;
    ReplyPtr<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, p.geometry, &error));
    ReplyPtr<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(c, p.origin, &error));

    if (!attributes || !geometry || !origin) continue;  // gone meanwhile
    if (attributes->map_state != XCB_MAP_STATE_VIEWABLE) continue;
    if (attributes->_class != XCB_WINDOW_CLASS_INPUT_OUTPUT) continue;
    if (!normal) continue;
    windows.push_back({ids[i], name, hasPid ? static_cast<int>(pid) : 0,
                       QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height)});
  }
  return windows;
}

std::optional<ClientWindow> WindowSystem::findWindow(std::uint32_t id) {
  for (ClientWindow& window : listWindows()) {
    if (window.id == id) return window;
  }
  return std::nullopt;
}

QImage WindowSystem::captureWindow(std::uint32_t id) {
  QImage copy;
  readWindow(id, [&copy](const QImage& image) { copy = image.copy(); });
  return copy;
}

bool WindowSystem::readWindow(std::uint32_t id, const std::function<void(const QImage&)>& use) {
  if (!ensureConnected() || id == 0) return false;
  xcb_connection_t* c = state_->connection;
  ErrorSink error;
  const auto attributesCookie = xcb_get_window_attributes(c, id);
  const auto geometryCookie = xcb_get_geometry(c, id);
  ReplyPtr<xcb_get_window_attributes_reply_t> attributes(
      xcb_get_window_attributes_reply(c, attributesCookie, &error));
  ReplyPtr<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, geometryCookie, &error));
  if (!attributes || !geometry || attributes->map_state != XCB_MAP_STATE_VIEWABLE) return false;
  if (geometry->depth != 24 && geometry->depth != 32) return false;
  if (!state_->littleEndianImages) return false;
  const int width = geometry->width;
  const int height = geometry->height;

  // The window's own storage when Composite keeps one; else the screen, where it must lie whole.
  xcb_drawable_t source = id;
  xcb_pixmap_t pixmap = XCB_NONE;
  if (state_->composite) {
    if (!state_->redirected.count(id)) {
      xcb_composite_redirect_window(c, id, XCB_COMPOSITE_REDIRECT_AUTOMATIC);
      state_->redirected.insert(id);
    }
    pixmap = xcb_generate_id(c);
    xcb_composite_name_window_pixmap(c, id, pixmap);
    source = pixmap;
  } else {
    ReplyPtr<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, id, state_->root, 0, 0), &error));
    ReplyPtr<xcb_get_geometry_reply_t> rootGeometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, state_->root), &error));
    if (!origin || !rootGeometry) return false;
    const QRect window(origin->dst_x, origin->dst_y, width, height);
    if (!QRect(0, 0, rootGeometry->width, rootGeometry->height).contains(window)) return false;
  }
  struct PixmapFree {
    xcb_connection_t* c;
    xcb_pixmap_t pixmap;
    ~PixmapFree() {
      if (pixmap != XCB_NONE) xcb_free_pixmap(c, pixmap);
    }
  } freePixmap{c, pixmap};

  const auto bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
  if (SharedSegment* segment = sharedSegment(bytes)) {
    ReplyPtr<xcb_shm_get_image_reply_t> image(xcb_shm_get_image_reply(
        c,
        xcb_shm_get_image(c, source, 0, 0, geometry->width, geometry->height, ~0u,
                          XCB_IMAGE_FORMAT_Z_PIXMAP, segment->id, 0),
        &error));
    if (image && image->size >= bytes) {
      use(QImage(static_cast<const uchar*>(segment->address), width, height, width * 4,
                 QImage::Format_RGB32));
      return true;
    }
  }
  ReplyPtr<xcb_get_image_reply_t> image(
      xcb_get_image_reply(c,
                          xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, source, 0, 0, geometry->width,
                                        geometry->height, ~0u),
                          &error));
  if (!image) return false;
  const int length = xcb_get_image_data_length(image.get());
  if (length < width * height * 4) return false;  // not 32 bits per pixel
  // Depth 32 windows carry an alpha that the picture of a window has no use for.
  use(QImage(xcb_get_image_data(image.get()), width, height, length / std::max(height, 1),
             QImage::Format_RGB32));
  return true;
}

WindowSystem::SharedSegment* WindowSystem::sharedSegment(std::size_t bytes) {
  State& s = *state_;
  if (!s.shm) return nullptr;
  if (s.segment && s.segment->size >= bytes) return s.segment.get();
  s.segment.reset();
  // Grown in steps, so a window that changes size a little keeps its segment.
  const std::size_t size = (bytes + (1u << 20) - 1) & ~std::size_t{(1u << 20) - 1};
  auto segment = std::make_unique<SharedSegment>();
  segment->connection = s.connection;
  segment->shmid = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
  if (segment->shmid < 0) return nullptr;
  segment->address = shmat(segment->shmid, nullptr, 0);
  if (segment->address == reinterpret_cast<void*>(-1)) {
    segment->address = nullptr;
    shmctl(segment->shmid, IPC_RMID, nullptr);
    return nullptr;
  }
  segment->size = size;
  segment->id = xcb_generate_id(s.connection);
  ErrorSink attachError;
  attachError.error = xcb_request_check(
      s.connection, xcb_shm_attach_checked(s.connection, segment->id,
                                           static_cast<std::uint32_t>(segment->shmid), 0));
  // Marked for removal at once: the kernel frees it when the last of us and the server detach,
  // even if this process dies.
  shmctl(segment->shmid, IPC_RMID, nullptr);
  if (attachError.error) {
    // A server on another machine cannot share memory with us; plain replies then.
    segment->id = XCB_NONE;
    s.shm = false;
    return nullptr;
  }
  s.segment = std::move(segment);
  return s.segment.get();
}

WindowSystem::SharedSegment::~SharedSegment() {
  if (id != XCB_NONE && connection && !xcb_connection_has_error(connection)) {
    xcb_shm_detach(connection, id);
  }
  if (address) shmdt(address);
}

bool WindowSystem::activate(std::uint32_t id) {
  if (!ensureConnected()) return false;
  xcb_ewmh_request_change_active_window(&state_->ewmh, state_->screenNumber, id, kSourceTool,
                                        XCB_CURRENT_TIME, XCB_NONE);
  return xcb_flush(state_->connection) > 0;
}

bool WindowSystem::moveResize(std::uint32_t id, const QRect& rect) {
  if (!ensureConnected() || rect.width() <= 0 || rect.height() <= 0) return false;
  const auto flags = static_cast<xcb_ewmh_moveresize_window_opt_flags_t>(
      XCB_EWMH_MOVERESIZE_WINDOW_X | XCB_EWMH_MOVERESIZE_WINDOW_Y |
      XCB_EWMH_MOVERESIZE_WINDOW_WIDTH | XCB_EWMH_MOVERESIZE_WINDOW_HEIGHT);
  // Static gravity puts the client area itself at the point, so the window's content lands where
  // its picture was; the manager draws the frame around it.
  xcb_ewmh_request_moveresize_window(
      &state_->ewmh, state_->screenNumber, id, XCB_GRAVITY_STATIC, kSourceTool, flags,
      static_cast<std::uint32_t>(rect.x()), static_cast<std::uint32_t>(rect.y()),
      static_cast<std::uint32_t>(rect.width()), static_cast<std::uint32_t>(rect.height()));
  return xcb_flush(state_->connection) > 0;
}

bool WindowSystem::park(std::uint32_t id) {
  if (!ensureConnected()) return false;
  const auto flags = static_cast<xcb_ewmh_moveresize_window_opt_flags_t>(
      XCB_EWMH_MOVERESIZE_WINDOW_X | XCB_EWMH_MOVERESIZE_WINDOW_Y);
  xcb_ewmh_request_moveresize_window(&state_->ewmh, state_->screenNumber, id, XCB_GRAVITY_STATIC,
                                     kSourceTool, flags, static_cast<std::uint32_t>(-1),
                                     static_cast<std::uint32_t>(-1), 0, 0);
  return xcb_flush(state_->connection) > 0;
}

void WindowSystem::sync() {
  if (!ensureConnected()) return;
  std::free(xcb_get_input_focus_reply(state_->connection, xcb_get_input_focus(state_->connection),
                                      nullptr));
}

}  // namespace dravin::x11
