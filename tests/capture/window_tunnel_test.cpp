// The window tunnel against real windows: an Xvfb display of the test's own with a window manager
// inside, and windows the test creates with plain XCB.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <thread>

#include "board_bridge.h"
#include "jpeg_encoder.h"
#include "notification_center.h"
#include "notification_names.h"
#include "window_tunnel.h"
#include "x11_windows.h"
#include "xvfb_display.h"

namespace dravin {
namespace {

using namespace std::chrono_literals;

constexpr int kForeignPid = 424242;

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 10s) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > limit.count()) return false;
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

// The test's own X client: it makes windows the way an application does.
class Client {
 public:
  explicit Client(const std::string& display) {
    c_ = xcb_connect(display.c_str(), nullptr);
    screen_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
  }
  ~Client() { xcb_disconnect(c_); }

  xcb_atom_t atom(const char* name) {
    auto* reply = xcb_intern_atom_reply(
        c_, xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return result;
  }

  // A mapped window filled with `rgb`; no title when `title` is null, no pid when `pid` is 0.
  xcb_window_t window(const QRect& rect, std::uint32_t rgb, const char* title, int pid,
                      const char* type = nullptr) {
    const xcb_window_t id = xcb_generate_id(c_);
    const uint32_t values[] = {rgb};
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, id, screen_->root, static_cast<int16_t>(rect.x()),
                      static_cast<int16_t>(rect.y()), static_cast<uint16_t>(rect.width()),
                      static_cast<uint16_t>(rect.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen_->root_visual, XCB_CW_BACK_PIXEL, values);
    if (title) {
      xcb_change_property(c_, XCB_PROP_MODE_REPLACE, id, atom("_NET_WM_NAME"), atom("UTF8_STRING"),
                          8, static_cast<uint32_t>(std::strlen(title)), title);
    }
    if (pid) {
      const auto value = static_cast<uint32_t>(pid);
      xcb_change_property(c_, XCB_PROP_MODE_REPLACE, id, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32,
                          1, &value);
    }
    if (type) {
      const xcb_atom_t value = atom(type);
      xcb_change_property(c_, XCB_PROP_MODE_REPLACE, id, atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM,
                          32, 1, &value);
    }
    xcb_map_window(c_, id);
    xcb_flush(c_);
    return id;
  }

  void remap(xcb_window_t id) {
    xcb_unmap_window(c_, id);
    xcb_map_window(c_, id);
    xcb_flush(c_);
  }

  void destroy(xcb_window_t id) {
    xcb_destroy_window(c_, id);
    xcb_flush(c_);
  }

  // Asks the window manager to minimise the window, as a title bar button would.
  void iconify(xcb_window_t id) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = id;
    event.type = atom("WM_CHANGE_STATE");
    event.data.data32[0] = 3;  // IconicState
    xcb_send_event(c_, 0, screen_->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(c_);
  }

  // The client area in root coordinates.
  QRect geometry(xcb_window_t id) {
    auto* g = xcb_get_geometry_reply(c_, xcb_get_geometry(c_, id), nullptr);
    auto* o = xcb_translate_coordinates_reply(
        c_, xcb_translate_coordinates(c_, id, screen_->root, 0, 0), nullptr);
    QRect rect;
    if (g && o) rect = QRect(o->dst_x, o->dst_y, g->width, g->height);
    std::free(g);
    std::free(o);
    return rect;
  }

  // A window-valued property of the root window, 0 when unset.
  xcb_window_t rootWindowProperty(const char* name) {
    auto* reply = xcb_get_property_reply(
        c_, xcb_get_property(c_, 0, screen_->root, atom(name), XCB_ATOM_WINDOW, 0, 1), nullptr);
    xcb_window_t id = 0;
    if (reply && xcb_get_property_value_length(reply) == 4) {
      std::memcpy(&id, xcb_get_property_value(reply), 4);
    }
    std::free(reply);
    return id;
  }
  xcb_window_t activeWindow() { return rootWindowProperty("_NET_ACTIVE_WINDOW"); }
  bool managerRunning() { return rootWindowProperty("_NET_SUPPORTING_WM_CHECK") != 0; }

 private:
  xcb_connection_t* c_ = nullptr;
  xcb_screen_t* screen_ = nullptr;
};

// A window manager inside the test display: without one there are no EWMH lists.
class WindowManager {
 public:
  explicit WindowManager(const std::string& display) {
    const std::string program = QStandardPaths::findExecutable("openbox").toStdString();
    if (program.empty()) return;
    const std::string env = "DISPLAY=" + display;
    const char* argv[] = {program.c_str(), "--sm-disable", nullptr};
    const char* envp[] = {env.c_str(), "HOME=/tmp", nullptr};
    pid_ = fork();
    if (pid_ == 0) {
      execve(program.c_str(), const_cast<char* const*>(argv), const_cast<char* const*>(envp));
      _exit(127);
    }
  }
  ~WindowManager() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  bool started() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
};

class WindowTunnelTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!test::XvfbDisplay::available() || QStandardPaths::findExecutable("openbox").isEmpty()) {
      return;
    }
    display_ = new test::XvfbDisplay("1280x800x24");
    if (display_->name().empty()) return;
    manager_ = new WindowManager(display_->name());
    client_ = new Client(display_->name());
    // The manager announces itself before it takes over new windows: wait until it lists one.
    bool managing = false;
    if (waitFor([] { return client_->managerRunning(); })) {
      WindowTunnel probe(display_->name());
      const xcb_window_t id = client_->window({0, 0, 50, 50}, 0, "Probe", kForeignPid);
      // A window mapped in that gap stays unmanaged; mapping it again is seen.
      for (int attempt = 0; attempt < 10 && !managing; ++attempt) {
        if (attempt > 0) client_->remap(id);
        managing = waitFor([&] { return probe.windowSystem()->findWindow(id).has_value(); }, 1s);
      }
      client_->destroy(id);
    }
    if (!managing) {
      delete client_;
      client_ = nullptr;
    }
  }
  static void TearDownTestSuite() {
    delete client_;
    delete manager_;
    delete display_;
    client_ = nullptr;
    manager_ = nullptr;
    display_ = nullptr;
  }
  void SetUp() override {
    if (!client_) GTEST_SKIP() << "needs Xvfb and openbox";
  }

  static std::vector<TunnelWindow> waitForList(
      WindowTunnel& tunnel,
      const std::function<bool(const std::vector<TunnelWindow>&)>& condition) {
    std::vector<TunnelWindow> list;
    waitFor([&] {
      list = tunnel.refreshWindows();
      return condition(list);
    });
    return list;
  }

  static const TunnelWindow* find(const std::vector<TunnelWindow>& list, std::uint32_t id) {
    for (const TunnelWindow& w : list) {
      if (w.windowID == id) return &w;
    }
    return nullptr;
  }

  static inline test::XvfbDisplay* display_ = nullptr;
  static inline WindowManager* manager_ = nullptr;
  static inline Client* client_ = nullptr;
};

QImage decodeDataUrl(const QString& dataUrl) {
  const QString prefix = QStringLiteral("data:image/jpeg;base64,");
  if (!dataUrl.startsWith(prefix)) return {};
  const QByteArray base64 = dataUrl.mid(prefix.size()).toLatin1();
  if (base64.contains('\n') || base64.contains('\r')) return {};
  return QImage::fromData(QByteArray::fromBase64(base64), "JPEG");
}

bool near(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) < 12 && std::abs(qGreen(a) - qGreen(b)) < 12 &&
         std::abs(qBlue(a) - qBlue(b)) < 12;
}

TEST(JpegEncoder, DataUrls) {
  {  // the picture survives with its size and colours, whatever the pixel format
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32,
                                  QImage::Format_RGB888, QImage::Format_Grayscale8}) {
      QImage image(64, 40, QImage::Format_RGB32);
      image.fill(qRgb(200, 40, 90));
      image = image.convertToFormat(format);
      const QImage decoded = decodeDataUrl(encodeJpegDataUrl(image));
      ASSERT_EQ(decoded.size(), QSize(64, 40)) << format;
      EXPECT_TRUE(near(decoded.pixel(32, 20), image.pixel(32, 20))) << format;
    }
  }
  {  // halves keep their places: rows and channels are not swapped
    QImage image(80, 80, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 0));
    for (int y = 40; y < 80; ++y) {
      for (int x = 0; x < 80; ++x) image.setPixel(x, y, qRgb(0, 0, 255));
    }
    const QImage decoded = decodeDataUrl(encodeJpegDataUrl(image));
    EXPECT_TRUE(near(decoded.pixel(40, 10), qRgb(255, 0, 0)));
    EXPECT_TRUE(near(decoded.pixel(40, 70), qRgb(0, 0, 255)));
  }
  {  // nothing to encode
    EXPECT_TRUE(encodeJpegDataUrl(QImage()).isEmpty());
  }
}

TEST_F(WindowTunnelTest, ListOffersOtherApplicationsOrdinaryWindows) {
  WindowTunnel tunnel(display_->name());
  ASSERT_TRUE(tunnel.hasDisplay());
  const xcb_window_t titled =
      client_->window({40, 40, 320, 200}, 0x3366cc, "Lesson plan \xe2\x80\x93 notes", kForeignPid);
  const xcb_window_t untitled =
      client_->window({400, 40, 200, 150}, 0x22aa44, nullptr, kForeignPid);
  const xcb_window_t own =
      client_->window({700, 40, 200, 150}, 0xcc3333, "Our own", static_cast<int>(getpid()));
  const xcb_window_t noPid = client_->window({40, 400, 160, 120}, 0xdddd00, "No pid", 0);
  const xcb_window_t dock = client_->window({0, 760, 1280, 40}, 0x444444, "Dock", kForeignPid,
                                            "_NET_WM_WINDOW_TYPE_DOCK");
  const xcb_window_t minimised =
      client_->window({700, 400, 200, 150}, 0x8800ff, "Minimised", kForeignPid);

  auto list = waitForList(tunnel, [&](const auto& l) {
    return find(l, titled) && find(l, untitled) && find(l, noPid) && find(l, minimised);
  });
  ASSERT_TRUE(find(list, titled));
  {  // title, pid, geometry of the client area and a picture of the window alone
    const TunnelWindow& w = *find(list, titled);
    EXPECT_EQ(w.name, QString::fromUtf8("Lesson plan \xe2\x80\x93 notes"));
    EXPECT_EQ(w.pid, kForeignPid);
    EXPECT_EQ(w.bounds.size(), QSize(320, 200));
    EXPECT_EQ(w.bounds, client_->geometry(titled));
    EXPECT_EQ(w.thumbnail.size(), QSize(320, 200));
    EXPECT_TRUE(near(w.thumbnail.pixel(160, 100), qRgb(0x33, 0x66, 0xcc)));
    EXPECT_FALSE(w.id.isNull());
  }
  {  // no title is an empty name, no pid is still offered
    ASSERT_TRUE(find(list, untitled));
    EXPECT_EQ(find(list, untitled)->name, QString());
    EXPECT_EQ(find(list, noPid)->pid, 0);
  }
  {  // our own windows and desktop furniture never
    EXPECT_FALSE(find(list, own));
    EXPECT_FALSE(find(list, dock));
  }
  {  // a minimised window is off the screen and leaves the list
    client_->iconify(minimised);
    list = waitForList(tunnel, [&](const auto& l) { return !find(l, minimised); });
    EXPECT_FALSE(find(list, minimised));
    EXPECT_TRUE(find(list, titled));
  }
  {  // front to back: the newest window is mapped on top
    const xcb_window_t front = client_->window({60, 60, 100, 80}, 0x101010, "Front", kForeignPid);
    list = waitForList(tunnel, [&](const auto& l) { return find(l, front); });
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.front().windowID, front);
    client_->destroy(front);
  }
  {  // fresh ids per gathering
    const auto again = tunnel.refreshWindows();
    ASSERT_TRUE(find(again, titled));
    EXPECT_NE(find(again, titled)->id, find(list, titled)->id);
  }
  for (xcb_window_t id : {titled, untitled, own, noPid, dock, minimised}) client_->destroy(id);
}

TEST_F(WindowTunnelTest, CoveredWindowIsCapturedAlone) {
  WindowTunnel tunnel(display_->name());
  const xcb_window_t below = client_->window({100, 100, 300, 200}, 0x00ff00, "Below", kForeignPid);
  ASSERT_TRUE(waitFor([&] { return tunnel.windowSystem()->findWindow(below).has_value(); }));
  // The presenter's full-screen board covers the tunnelled window while it is shown.
  const xcb_window_t cover = client_->window({0, 0, 1280, 800}, 0xff0000, "Cover", kForeignPid);
  ASSERT_TRUE(waitFor([&] {
    const auto list = tunnel.windowSystem()->listWindows();
    return !list.empty() && list.front().id == cover;
  }));
  const QImage frame = decodeDataUrl(tunnel.frameDataUrl(static_cast<int>(below)));
  ASSERT_EQ(frame.size(), QSize(300, 200));
  EXPECT_TRUE(near(frame.pixel(150, 100), qRgb(0, 255, 0)));
  client_->destroy(cover);
  client_->destroy(below);
}

TEST_F(WindowTunnelTest, PickSendsTheWindowAndClosesPanels) {
  WindowTunnel tunnel(display_->name());
  const xcb_window_t id = client_->window({200, 150, 400, 300}, 0x3366cc, "It's mine", kForeignPid);
  auto list = waitForList(tunnel, [&](const auto& l) { return find(l, id); });
  ASSERT_TRUE(find(list, id));
  const TunnelWindow window = *find(list, id);

  QStringList scripts;
  auto scriptConnection = QObject::connect(&BoardBridge::instance(), &BoardBridge::scriptRequested,
                                           [&](const QString& s) { scripts << s; });
  QList<QPair<QString, QVariantMap>> posted;
  auto postConnection =
      QObject::connect(&NotificationCenter::instance(), &NotificationCenter::posted,
                       [&](const QString& name, const QVariantMap& info) {
                         posted.append({name, info});
                       });

  tunnel.pickWindow(window);
  ASSERT_EQ(scripts.size(), 1);
  static const QRegularExpression call(
      QStringLiteral(R"(^showTunnelWindow\((\d+), '([^']*)', '((?:[^'\\]|\\.)*)'\)$)"));
  const auto match = call.match(scripts[0]);
  ASSERT_TRUE(match.hasMatch()) << scripts[0].left(200).toStdString();
  EXPECT_EQ(match.captured(1).toUInt(), id);
  EXPECT_EQ(match.captured(3), QStringLiteral("It\\'s mine"));
  const QImage picture = decodeDataUrl(match.captured(2));
  EXPECT_EQ(picture.size(), QSize(400, 300));
  EXPECT_TRUE(near(picture.pixel(200, 150), qRgb(0x33, 0x66, 0xcc)));

  ASSERT_EQ(posted.size(), 2);
  EXPECT_EQ(posted[0].first, QString::fromLatin1(notifications::kOpenTunnelList));
  EXPECT_EQ(posted[1].first, QString::fromLatin1(notifications::kOpenDocCamera));
  EXPECT_EQ(posted[1].second.value(QStringLiteral("type")).toString(), QStringLiteral("close"));
  EXPECT_EQ(tunnel.selectedWindowPID(), kForeignPid);
  EXPECT_EQ(tunnel.selectedWindowNumber(), static_cast<int>(id));

  {  // the page's frames come through the bridge's seam
    scripts.clear();
    tunnel.connectBridge(BoardBridge::instance());
    BoardBridge::instance().postMessage(
        QVariantMap{{QStringLiteral("type"), QStringLiteral("renderTunnel")},
                    {QStringLiteral("windowNumber"), id}});
    ASSERT_EQ(scripts.size(), 1);
    EXPECT_TRUE(scripts[0].startsWith(
        QStringLiteral("renderTunnelWindow(%1, 'data:image/jpeg;base64,").arg(id)));
  }

  {  // closed after being listed: an empty picture, the missing-window answer
    client_->destroy(id);
    ASSERT_TRUE(waitFor([&] { return !tunnel.windowSystem()->findWindow(id); }));
    EXPECT_TRUE(tunnel.frameDataUrl(static_cast<int>(id)).isEmpty());
    EXPECT_FALSE(tunnel.controlWindow(static_cast<int>(id), QRect(10, 10, 100, 100)));
    scripts.clear();
    tunnel.pickWindow(window);
    ASSERT_EQ(scripts.size(), 1);
    EXPECT_EQ(scripts[0], QStringLiteral("showTunnelWindow(%1, '', 'It\\'s mine')").arg(id));

    QStringList alerts;
    auto alertConnection = QObject::connect(&BoardBridge::instance(), &BoardBridge::alertRequested,
                                            [&](const QString& text) { alerts << text; });
    BoardBridge::instance().postMessage(
        QVariantMap{{QStringLiteral("type"), QStringLiteral("controlTunnel")},
                    {QStringLiteral("windowNumber"), id},
                    {QStringLiteral("top"), 10},
                    {QStringLiteral("left"), 10},
                    {QStringLiteral("width"), 100},
                    {QStringLiteral("height"), 100}});
    EXPECT_EQ(alerts.size(), 1);
    QObject::disconnect(alertConnection);
  }
  BoardBridge::instance().tunnelFrame = nullptr;
  BoardBridge::instance().parkWindow = nullptr;
  BoardBridge::instance().controlWindow = nullptr;
  QObject::disconnect(scriptConnection);
  QObject::disconnect(postConnection);
}

TEST_F(WindowTunnelTest, ControlAndParkMoveTheRealWindow) {
  WindowTunnel tunnel(display_->name());
  const xcb_window_t id = client_->window({50, 50, 300, 200}, 0x808080, "Movable", kForeignPid);
  const xcb_window_t other = client_->window({500, 300, 200, 200}, 0x202020, "Other", kForeignPid);
  ASSERT_TRUE(waitFor([&] { return tunnel.windowSystem()->findWindow(other).has_value(); }));
  {  // the content lands on the tile's rectangle, and the window comes forward
    const QRect tile(420, 260, 640, 360);
    ASSERT_TRUE(tunnel.controlWindow(static_cast<int>(id), tile));
    EXPECT_TRUE(waitFor([&] { return client_->geometry(id) == tile; }))
        << client_->geometry(id).x() << "," << client_->geometry(id).y() << " "
        << client_->geometry(id).width() << "x" << client_->geometry(id).height();
    EXPECT_TRUE(waitFor([&] { return client_->activeWindow() == id; }));
  }
  {  // parked at the corner, size kept
    tunnel.parkWindow(static_cast<int>(id));
    EXPECT_TRUE(waitFor([&] { return client_->geometry(id) == QRect(-1, -1, 640, 360); }))
        << client_->geometry(id).x() << "," << client_->geometry(id).y();
  }
  {  // window numbers that cannot be windows
    EXPECT_FALSE(tunnel.controlWindow(0, QRect(0, 0, 10, 10)));
    EXPECT_FALSE(tunnel.controlWindow(-100, QRect(0, 0, 10, 10)));
    EXPECT_TRUE(tunnel.frameDataUrl(-5).isEmpty());
  }
  client_->destroy(id);
  client_->destroy(other);
}

TEST(WindowTunnel, WithoutDisplayEverythingIsEmpty) {
  WindowTunnel tunnel(":9999");
  EXPECT_FALSE(tunnel.hasDisplay());
  EXPECT_TRUE(tunnel.refreshWindows().empty());
  EXPECT_TRUE(tunnel.frameDataUrl(42).isEmpty());
  EXPECT_FALSE(tunnel.controlWindow(42, QRect(0, 0, 10, 10)));
}

}  // namespace
}  // namespace dravin
