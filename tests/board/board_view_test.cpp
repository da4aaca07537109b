// The real board page in QtWebEngine with the application's bridge, under a real display: the
// injected script and the web channel carry the page's messages to C++, script calls with any
// text reach the page intact, and a local PDF opens the browser instead of replacing the board.
#include <gtest/gtest.h>

#include <QtQml/qqmlextensionplugin.h>
#include <QtWebEngineQuick/qtwebenginequickglobal.h>
#include <QApplication>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "board_bridge.h"
#include "camera_controller.h"
#include "notification_center.h"
#include "notification_names.h"
#include "test_devices.h"

Q_IMPORT_QML_PLUGIN(PeloraDravinPlugin)

namespace dravin {
namespace {

class BoardViewTest : public testing::Test {
 protected:
  void SetUp() override {
    bridge.setCameraController(&camera);
    camera.updatePreviewFrame(QSizeF(1280, 720));
    engine.rootContext()->setContextProperty("boardBridge", &bridge);
    engine.loadData(R"(
      import QtQuick
      Window {
        width: 1280; height: 720; visible: true
        Loader { anchors.fill: parent; source: "qrc:/PeloraDravin/qml/BoardView.qml" }
      })");
    ASSERT_FALSE(engine.rootObjects().isEmpty());
    // Loaded, and the channel carries a first message: the page is ready for calls.
    ASSERT_TRUE(QTest::qWaitFor([&] { return loaded(); }, 30000));
  }
  void TearDown() override { bridge.setCameraController(nullptr); }

  bool loaded() {
    QVariantMap echo = ask(QStringLiteral("document.readyState"));
    return echo.value("value").toString() == QLatin1String("complete");
  }

  // Runs `expression` in the page and waits for its value to come back through the bridge.
  QVariantMap ask(const QString& expression) {
    QVariantMap answer;
    auto connection =
        QObject::connect(&bridge, &BoardBridge::messageReceived, [&](const QVariantMap& body) {
          if (body.value("type") == "testAnswer") answer = body;
        });
    emit bridge.scriptRequested(
        "window.webkit && webkit.messageHandlers.swiftMessageHandler.postMessage("
        "{type: 'testAnswer', value: String(" +
        expression + ")})");
    static_cast<void>(QTest::qWaitFor([&] { return !answer.isEmpty(); }, 3000));
    QObject::disconnect(connection);
    return answer;
  }
  void pagePosts(const QString& message) {
    emit bridge.scriptRequested("webkit.messageHandlers.swiftMessageHandler.postMessage(" +
                                message + ")");
  }

  BoardBridge& bridge = BoardBridge::instance();
  CameraController camera{std::make_unique<test::NoDevices>()};
  QQmlApplicationEngine engine;
};

// One page for all cases: the web engine does not take kindly to pages made and dropped in turn.
TEST_F(BoardViewTest, MessagesCallsNavigationAndTouchThroughTheRealPage) {
  // Page messages reach the camera; malformed ones change nothing.
  pagePosts("{type: 'gesturestart', scale: 2}");
  pagePosts("{type: 'gesturechange', scale: 1.5}");
  EXPECT_TRUE(QTest::qWaitFor([&] { return camera.currentZoom() == 3.0; }, 3000));

  pagePosts("{type: 'gesturechange'}");
  pagePosts("'gesturechange'");
  pagePosts("{kind: 'pan', x: 5}");
  const QPointF start = camera.previewFrame().topLeft();
  pagePosts("{type: 'pan', x: 10, y: 20, end: 0}");
  pagePosts("{type: 'pan', x: 10, y: 20, end: 1}");
  pagePosts("{type: 'pan', x: 5, y: 0, end: 0}");
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return camera.previewFrame().topLeft() == start + QPointF(15, 20); }, 3000))
      << "the end of a pan lets the next one start where the picture is";
  EXPECT_EQ(camera.currentZoom(), 3.0);

  // Script calls carry any title; the tiles ask for frames by themselves.
  QStringList calls;
  QObject::connect(&bridge, &BoardBridge::scriptRequested,
                   [&](const QString& script) { calls << script; });
  bridge.latestDocCamFrame = [] { return std::optional<QImage>(); };

  const QString title = QStringLiteral("it's \"mine\"'); alert(1); //");
  bridge.showTunnelWindow(7, QString(), title);
  EXPECT_EQ(ask("document.querySelector('[data-window=\"7\"] .tile-title').textContent")
                .value("value")
                .toString(),
            title);

  // The document camera's tile asks for frames by itself; none yet gives the empty answer.
  calls.clear();
  bridge.showTunnelWindow(BoardBridge::kDocumentCamera, QString(), "Document Camera");
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return calls.contains("renderTunnelWindow(-100, '')"); }, 5000));
  bridge.latestDocCamFrame = nullptr;

  // A local PDF opens the browser and the board stays; foreign pages are refused.
  QVariantMap request;
  QObject receiver;
  NotificationCenter::instance().observe(notifications::kOpenBrowser, &receiver,
                                         [&](const QVariantMap& info) { request = info; });
  const QString before = ask("location.href").value("value").toString();
  emit bridge.scriptRequested("location.href = 'file:///tmp/Some%20Notes.PDF'");
  EXPECT_TRUE(QTest::qWaitFor([&] { return !request.isEmpty(); }, 5000));
  EXPECT_EQ(request.value("pdfPath"), "/tmp/Some Notes.PDF");

  emit bridge.scriptRequested("location.href = 'http://evil.example/?localhost'");
  QTest::qWait(500);
  EXPECT_EQ(ask("location.href").value("value").toString(), before);

  // Real touches on the window, as a touch screen delivers them: one finger draws with the pen,
  // two fingers pinch the camera's zoom from where it stood.
  auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().first());
  ASSERT_NE(window, nullptr);
  QPointingDevice* screen = QTest::createTouchDevice();
  bridge.allowAnnotation(true);
  camera.setZoom(2.0);
  bridge.setPicturePlacement({1280.0, 0, 0, 720, 0, 0}, camera.currentZoom());
  auto items = [&] { return ask("DravinBoard.summary().items.length").value("value").toInt(); };
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return ask("DravinBoard.summary().zoom").value("value") == "2"; }, 5000));
  const int itemsBefore = items();

  QTest::touchEvent(window, screen).press(0, QPoint(300, 300));
  for (int x = 310; x <= 500; x += 10) {
    QTest::touchEvent(window, screen).move(0, QPoint(x, 300 + (x - 300) / 4));
    QTest::qWait(10);
  }
  QTest::touchEvent(window, screen).release(0, QPoint(500, 350));
  EXPECT_TRUE(QTest::qWaitFor([&] { return items() == itemsBefore + 1; }, 3000))
      << "one finger drew no stroke";
  EXPECT_DOUBLE_EQ(camera.currentZoom(), 2.0) << "drawing zoomed the picture";

  // Fingers 200 px apart move to 400 px apart: the picture is twice as large as at the start.
  QTest::touchEvent(window, screen).press(0, QPoint(540, 360)).press(1, QPoint(740, 360));
  for (int step = 1; step <= 10; ++step) {
    QTest::touchEvent(window, screen)
        .move(0, QPoint(540 - step * 10, 360))
        .move(1, QPoint(740 + step * 10, 360));
    QTest::qWait(10);
  }
  QTest::touchEvent(window, screen).release(0, QPoint(440, 360)).release(1, QPoint(840, 360));
  EXPECT_TRUE(QTest::qWaitFor([&] { return qAbs(camera.currentZoom() - 4.0) < 0.05; }, 3000))
      << "zoom after the pinch: " << camera.currentZoom();
  EXPECT_EQ(items(), itemsBefore + 1) << "the pinch drew";
  bridge.allowAnnotation(false);
}

}  // namespace
}  // namespace dravin

int main(int argc, char** argv) {
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QtWebEngineQuick::initialize();
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
