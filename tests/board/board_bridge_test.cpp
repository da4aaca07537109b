// The bridge between the application and the board page: navigation rules, script calls that
// carry any text safely, and the page's messages reaching the capture session and the panels.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QJSEngine>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "board_bridge.h"
#include "camera_controller.h"
#include "notification_center.h"
#include "notification_names.h"
#include "test_devices.h"

namespace dravin {
namespace {

TEST(BoardNavigation, ComparesSchemeHostAndPortNotSubstrings) {
  const int port = 9080;
  auto decide = [&](const char* url) { return decideNavigation(QUrl(url), port); };
  EXPECT_EQ(decide("http://localhost:9080/index.html"), NavigationDecision::allow);
  EXPECT_EQ(decide("http://127.0.0.1:9080/files/a"), NavigationDecision::allow);
  EXPECT_EQ(decide("https://lessons.pelora-dravin.example/x"), NavigationDecision::allow);
  EXPECT_EQ(decide("file:///opt/app/share/dravinboard/index.html"), NavigationDecision::allow);

  EXPECT_EQ(decide("http://evil.example/?localhost"), NavigationDecision::cancel);
  EXPECT_EQ(decide("http://localhost.evil.example:9080/"), NavigationDecision::cancel);
  EXPECT_EQ(decide("http://localhost:8080/"), NavigationDecision::cancel) << "another port";
  EXPECT_EQ(decide("https://evilpelora-dravin.example/"), NavigationDecision::cancel);
  EXPECT_EQ(decide("http://evil.example/dravinboard/index.html"), NavigationDecision::cancel);
  EXPECT_EQ(decide("file:///etc/passwd"), NavigationDecision::cancel);
  EXPECT_EQ(decide(""), NavigationDecision::cancel);

  EXPECT_EQ(decide("file:///home/a%20b/Notes.PDF"), NavigationDecision::openPdf);
}

TEST(BoardNavigation, ALocalPdfOpensTheBrowserInsteadOfNavigating) {
  QVariantMap request;
  QObject receiver;
  NotificationCenter::instance().observe(notifications::kOpenBrowser, &receiver,
                                         [&](const QVariantMap& info) { request = info; });
  EXPECT_FALSE(BoardBridge::instance().acceptNavigation(QUrl("file:///home/a%20b/x.pdf")));
  EXPECT_EQ(request.value("pdfMode"), true);
  EXPECT_EQ(request.value("pdfPath"), "/home/a b/x.pdf");
}

TEST(BoardScripts, StringsArriveIntactWhateverTheyHold) {
  QJSEngine js;
  for (const QString& text :
       {QString("plain"), QString("'); alert(1); //"), QString("a\\b\"c"), QString("line\nbreak"),
        QString("</script><b>"), QString::fromUtf8("Tafel – \u2028 ✓"), QString()}) {
    const QJSValue value = js.evaluate(jsStringLiteral(text));
    ASSERT_FALSE(value.isError()) << value.toString().toStdString();
    EXPECT_EQ(value.toString(), text);
  }

  BoardBridge& bridge = BoardBridge::instance();
  QSignalSpy scripts(&bridge, &BoardBridge::scriptRequested);
  bridge.showTunnelWindow(42, "", "it's mine");
  bridge.allowAnnotation(true);
  ASSERT_EQ(scripts.count(), 2);
  EXPECT_EQ(scripts.at(0).at(0).toString(), "showTunnelWindow(42, '', 'it\\'s mine')");
  EXPECT_EQ(scripts.at(1).at(0).toString(), "allowAnnotation(true)");
}

TEST(BoardMessages, ReachTheCameraTheTunnelAndThePanels) {
  BoardBridge& bridge = BoardBridge::instance();
  CameraController camera(std::make_unique<test::NoDevices>());
  camera.updatePreviewFrame(QSizeF(1280, 720));
  bridge.setCameraController(&camera);
  QSignalSpy scripts(&bridge, &BoardBridge::scriptRequested);
  QSignalSpy alerts(&bridge, &BoardBridge::alertRequested);

  {  // a gesture zooms from the scale it started at; malformed messages change nothing
    bridge.postMessage(QVariantMap{{"type", "gesturestart"}, {"scale", 2.0}});
    bridge.postMessage(QVariantMap{{"type", "gesturechange"}, {"scale", 1.5}});
    EXPECT_DOUBLE_EQ(camera.currentZoom(), 3.0);
    bridge.postMessage(QVariantMap{{"type", "gesturechange"}});
    bridge.postMessage(QVariantMap{{"scale", 9.0}});
    bridge.postMessage(QVariant("gesturechange"));
    bridge.postMessage(QVariantMap{{"type", "wheel"}, {"delta", 120}});
    EXPECT_DOUBLE_EQ(camera.currentZoom(), 3.0);
    // A pinch stays within 0.5 and 10; numbers that are not numbers do nothing.
    bridge.postMessage(QVariantMap{{"type", "gesturechange"}, {"scale", 50.0}});
    EXPECT_DOUBLE_EQ(camera.currentZoom(), 10.0);
    bridge.postMessage(QVariantMap{{"type", "gesturechange"}, {"scale", 0.01}});
    EXPECT_DOUBLE_EQ(camera.currentZoom(), 0.5);
    bridge.postMessage(QVariantMap{{"type", "gesturestart"}, {"scale", qQNaN()}});
    bridge.postMessage(QVariantMap{{"type", "gesturechange"}, {"scale", qInf()}});
    bridge.postMessage(QVariantMap{{"type", "gesturechange"}, {"scale", 1.0}});
    EXPECT_DOUBLE_EQ(camera.currentZoom(), 2.0) << "the start's scale was kept";
  }
  {  // a pan moves the zoomed picture and its end lets the next drag start afresh
    const QPointF before = camera.previewFrame().topLeft();
    bridge.postMessage(QVariantMap{{"type", "pan"}, {"x", 10}, {"y", 20}, {"end", 0}});
    EXPECT_EQ(camera.previewFrame().topLeft(), before + QPointF(10, 20));
    bridge.postMessage(QVariantMap{{"type", "pan"}, {"x", 10}, {"y", 20}, {"end", 1}});
    bridge.postMessage(QVariantMap{{"type", "pan"}, {"x", 5}, {"y", 0}, {"end", 0}});
    EXPECT_EQ(camera.previewFrame().topLeft(), before + QPointF(15, 20));
  }
  {  // frames: none yet from the document camera, none from a window that is gone
    bridge.latestDocCamFrame = [] { return std::optional<QImage>(); };
    bridge.tunnelFrame = [](int) { return QString(); };
    bridge.postMessage(QVariantMap{{"type", "renderTunnel"}, {"windowNumber", -100}});
    bridge.postMessage(QVariantMap{{"type", "renderTunnel"}, {"windowNumber", 7}});
    ASSERT_EQ(scripts.count(), 2);
    EXPECT_EQ(scripts.at(0).at(0).toString(), "renderTunnelWindow(-100, '')");
    EXPECT_EQ(scripts.at(1).at(0).toString(), "renderTunnelWindow(7, '')");
    QImage frame(64, 36, QImage::Format_RGB32);
    frame.fill(Qt::green);
    bridge.latestDocCamFrame = [frame] { return std::optional<QImage>(frame); };
    bridge.postMessage(QVariantMap{{"type", "renderTunnel"}, {"windowNumber", -100}});
    const QString call = scripts.at(2).at(0).toString();
    EXPECT_TRUE(call.startsWith("renderTunnelWindow(-100, 'data:image/jpeg;base64,/9j/"))
        << call.left(60).toStdString();
  }
  {  // control: a missing window alerts, with the rectangle moved to the screen first
    QRect asked;
    bridge.setBoardOrigin(QPoint(100, 50));
    bridge.controlWindow = [&](int, QRect rect) {
      asked = rect;
      return false;
    };
    auto control = [&](int window, QRect tile) {
      bridge.postMessage(QVariantMap{{"type", "controlTunnel"},
                                     {"windowNumber", window},
                                     {"top", tile.top()},
                                     {"left", tile.left()},
                                     {"width", tile.width()},
                                     {"height", tile.height()}});
    };
    control(7, QRect(20, 10, 300, 200));
    EXPECT_EQ(asked, QRect(120, 60, 300, 200));
    EXPECT_EQ(alerts.count(), 1);
    control(-100, QRect(1, 1, 1, 1));
    EXPECT_EQ(alerts.count(), 1) << "the document camera has no real window";
  }
  {  // closing the document camera's tile closes its view
    QVariantMap closed;
    QObject receiver;
    NotificationCenter::instance().observe(notifications::kOpenDocCamera, &receiver,
                                           [&](const QVariantMap& info) { closed = info; });
    bridge.postMessage(QVariantMap{{"type", "closeTunnel"}, {"windowNumber", -100}});
    EXPECT_EQ(closed.value("type"), "close");
  }
  {  // a closed window tile lets its window go (a shared one stops being shared)
    std::vector<int> closed;
    bridge.closeTunnelWindow = [&](int n) { closed.push_back(n); };
    bridge.postMessage(QVariantMap{{"type", "closeTunnel"}, {"windowNumber", 12}});
    bridge.postMessage(QVariantMap{{"type", "closeTunnel"}, {"windowNumber", -100}});
    bridge.postMessage(QVariantMap{{"type", "closeTunnel"}, {"windowNumber", "x"}});
    EXPECT_EQ(closed, std::vector<int>{12});
    bridge.closeTunnelWindow = nullptr;
  }
  {  // where windows cannot be moved, a page (also one loaded later) hides the control button
    QSignalSpy controls(&bridge, &BoardBridge::scriptRequested);
    bridge.loadFinished();
    const qsizetype before = controls.count();
    bridge.setWindowControlAllowed(false);
    ASSERT_EQ(controls.count(), before + 1);
    EXPECT_TRUE(controls.last().at(0).toString().startsWith("setWindowControl(false, 'On Wayland"));
    bridge.loadStarted();
    bridge.loadFinished();
    QStringList sent;
    for (qsizetype i = before + 1; i < controls.count(); ++i)
      sent << controls.at(i).at(0).toString();
    EXPECT_TRUE(sent.filter("setWindowControl(false").size() == 1)
        << sent.join(" | ").toStdString();
    bridge.setWindowControlAllowed(true);
    EXPECT_EQ(controls.last().at(0).toString(), "setWindowControl(true)");
  }
  bridge.setCameraController(nullptr);
  bridge.latestDocCamFrame = nullptr;
  bridge.tunnelFrame = nullptr;
  bridge.controlWindow = nullptr;
}

TEST(BoardMessages, PlacementAndTextEditing) {
  BoardBridge& bridge = BoardBridge::instance();
  QSignalSpy scripts(&bridge, &BoardBridge::scriptRequested);
  {  // a loading page hears of the placement once it finished, then once per change
    bridge.loadStarted();
    bridge.setPicturePlacement({1280.0, 0, 0, 720, 0, 0}, 1.0);
    EXPECT_EQ(scripts.count(), 0);
    bridge.loadFinished();
    ASSERT_EQ(scripts.count(), 1);
    EXPECT_EQ(scripts.at(0).at(0).toString(),
              "setPicturePlacement({matrix: [1280,0,0,720,0,0], zoom: 1})");
    bridge.setPicturePlacement({1280.0, 0, 0, 720, 0, 0}, 1.0);
    bridge.setPicturePlacement({0, 2560, -1440.0, 0, 1600, -400}, 2.0);
    ASSERT_EQ(scripts.count(), 2);
    EXPECT_EQ(scripts.at(1).at(0).toString(),
              "setPicturePlacement({matrix: [0,2560,-1440,0,1600,-400], zoom: 2})");
    bridge.loadFinished();
    ASSERT_EQ(scripts.count(), 3);
    EXPECT_EQ(scripts.at(2).at(0), scripts.at(1).at(0));
  }
  {  // what is not six finite numbers and a zoom is not passed on
    bridge.setPicturePlacement({1.0, 2, 3, 4, 5}, 1.0);
    bridge.setPicturePlacement({1.0, 2, 3, 4, 5, qInf()}, 1.0);
    bridge.setPicturePlacement({1.0, 2, 3, 4, 5, "6); alert(1"}, 1.0);
    bridge.setPicturePlacement({1.0, 2, 3, 4, 5, 6}, 0.0);
    EXPECT_EQ(scripts.count(), 3);
  }
  {  // typing on the board: said by the page, ended by it, by annotation off or a new page
    QSignalSpy changes(&bridge, &BoardBridge::textEditingChanged);
    bridge.postMessage(QVariantMap{{"type", "textediting"}, {"active", true}});
    EXPECT_TRUE(bridge.textEditing());
    bridge.postMessage(QVariantMap{{"type", "textediting"}, {"active", false}});
    EXPECT_FALSE(bridge.textEditing());
    bridge.postMessage(QVariantMap{{"type", "textediting"}, {"active", true}});
    bridge.allowAnnotation(false);
    EXPECT_FALSE(bridge.textEditing());
    bridge.postMessage(QVariantMap{{"type", "textediting"}, {"active", true}});
    bridge.loadStarted();
    EXPECT_FALSE(bridge.textEditing());
    EXPECT_EQ(changes.count(), 6);
  }
}

// The id the bridge gave the request in `script`.
int requestId(const QString& script) {
  const QRegularExpressionMatch match =
      QRegularExpression(QStringLiteral("dravinRequest\\((\\d+), ")).match(script);
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

TEST(BoardRequests, AnswersOnceAndNeverHang) {
  BoardBridge& bridge = BoardBridge::instance();
  QSignalSpy scripts(&bridge, &BoardBridge::scriptRequested);
  QStringList answers;
  auto note = [&answers](const QVariant& result, const QString& error) {
    answers.append(error.isEmpty() ? QStringLiteral("ok ") + result.toString() : error);
  };

  bridge.loadStarted();
  bridge.request(QStringLiteral("pageCount"), {}, note);
  EXPECT_EQ(answers, QStringList{"The board is not loaded yet."});
  EXPECT_EQ(scripts.count(), 0);
  answers.clear();

  bridge.loadFinished();
  scripts.clear();
  // The arguments go as JSON; a quote in a text cannot end the call.
  bridge.request(QStringLiteral("placePicture"), {QStringLiteral("a'b\");x(")}, note);
  ASSERT_EQ(scripts.count(), 1);
  const QString call = scripts.at(0).at(0).toString();
  EXPECT_TRUE(call.endsWith(QStringLiteral("'placePicture', [\"a'b\\\");x(\"])")))
      << call.toStdString();
  const int first = requestId(call);
  bridge.postMessage(QVariantMap{{"type", "reply"}, {"id", first + 100}, {"ok", true}});
  EXPECT_TRUE(answers.isEmpty());  // not ours
  bridge.postMessage(QVariantMap{{"type", "reply"}, {"id", first}, {"ok", true}, {"result", 4}});
  bridge.postMessage(QVariantMap{{"type", "reply"}, {"id", first}, {"ok", true}, {"result", 5}});
  EXPECT_EQ(answers, QStringList{"ok 4"});  // once

  answers.clear();
  bridge.request(QStringLiteral("load"), {QVariantMap{}}, note);
  bridge.postMessage(QVariantMap{{"type", "reply"},
                                 {"id", requestId(scripts.last().at(0).toString())},
                                 {"ok", false},
                                 {"error", "newer version"}});
  bridge.request(QStringLiteral("serialize"), {}, note, 30);
  bridge.request(QStringLiteral("pageSvg"), {0}, note);
  for (int i = 0; i < 200 && answers.size() < 2; ++i) QTest::qWait(10);
  ASSERT_EQ(answers.size(), 2);
  EXPECT_EQ(answers.at(0), "newer version");
  EXPECT_EQ(answers.at(1), "The board did not answer.");
  bridge.loadStarted();  // the page went away: nothing is left waiting
  EXPECT_EQ(answers.size(), 3);
  EXPECT_EQ(answers.at(2), "The board was reloaded.");
  bridge.loadFinished();

  // The page's own news: its pages, files dropped on it, its strip's buttons.
  QSignalSpy drops(&bridge, &BoardBridge::openOnBoardRequested);
  QSignalSpy commands(&bridge, &BoardBridge::boardCommandRequested);
  bridge.postMessage(QVariantMap{{"type", "pagechanged"}, {"index", 2}, {"count", 5}});
  bridge.postMessage(QVariantMap{{"type", "pagechanged"}, {"index", 5}, {"count", 5}});
  EXPECT_EQ(bridge.pageIndex(), 2);
  EXPECT_EQ(bridge.pageCount(), 5);
  bridge.postMessage(QVariantMap{
      {"type", "openonboard"}, {"paths", QStringList{"/tmp/a.pdf"}}, {"asBackground", true}});
  bridge.postMessage(QVariantMap{{"type", "openonboard"}, {"paths", QStringList{}}});
  ASSERT_EQ(drops.count(), 1);
  EXPECT_EQ(drops.at(0).at(0).toStringList(), QStringList{"/tmp/a.pdf"});
  EXPECT_TRUE(drops.at(0).at(1).toBool());
  bridge.postMessage(QVariantMap{{"type", "boardcommand"}, {"command", "saveas"}});
  ASSERT_EQ(commands.count(), 1);
  EXPECT_EQ(commands.at(0).at(0).toString(), "saveas");
}

}  // namespace
}  // namespace dravin

int main(int argc, char** argv) {
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
