// The real board page in QtWebEngine, driven with real mouse and key events: what it posts to
// the application, what it lets through to the camera's listeners, and pictures dropped on it
// coming through the real server's "/files/" route.
#include <gtest/gtest.h>

#include "httpd_process.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMouseEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <functional>
#include <optional>
#include <ostream>

#include "web_view_input.h"

// Failures print the page's text, not its UTF-16 code units.
void PrintTo(const QString& text, std::ostream* out) {
  *out << text.toStdString();
}

namespace {

constexpr int kWaitMs = 15000;

bool waitUntil(const std::function<bool()>& done, int ms = kWaitMs) {
  return test::waitUntil(done, ms);
}

using Server = test::HttpdProcess;

class BoardPage : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = new Server; }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(server_->port(), 0) << "the server did not start";
    view_.resize(1280, 800);
    view_.show();
  }

  QString origin() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_->port()); }

  void load(const QUrl& url) {
    std::optional<bool> loaded;
    QObject::connect(view_.page(), &QWebEnginePage::loadFinished, &view_,
                     [&](bool ok) { loaded = ok; });
    view_.load(url);
    ASSERT_TRUE(waitUntil([&] { return loaded.has_value(); }));
    ASSERT_TRUE(*loaded) << url.toString().toStdString();
    ASSERT_TRUE(waitUntil([&] { return view_.focusProxy() != nullptr; }));
  }

  // Served by the application's server, with a handler standing in for the application's
  // injected script: it records what the page posts and counts what reaches the document's
  // mouse listeners, where the camera pans. The application's address carries the server's key.
  void loadWithRecorder(bool withKey = true) {
    load(QUrl(origin() + "/dravinboard/index.html" +
              (withKey ? "#" + server_->accessFragment() : QString())));
    js(R"(
      window.posted = [];
      window.webkit = { messageHandlers: { swiftMessageHandler: {
        postMessage: (m) => posted.push(JSON.parse(JSON.stringify(m))) } } };
      window.reached = { mousedown: 0, mousemove: 0, mouseup: 0 };
      for (const t of Object.keys(reached)) document.addEventListener(t, () => reached[t]++);
      true)");
  }

  QVariant js(const QString& script) {
    std::optional<QVariant> result;
    view_.page()->runJavaScript(script, [&](const QVariant& value) { result = value; });
    EXPECT_TRUE(waitUntil([&] { return result.has_value(); })) << script.toStdString();
    return result.value_or(QVariant());
  }

  QString toolbarDisplay() {
    return js("getComputedStyle(document.getElementById('toolbar')).display").toString();
  }

  // Nothing reached the document's mouse listeners, where the camera pans.
  bool cameraUntouched() {
    return js("JSON.stringify(reached)").toString() ==
           R"({"mousedown":0,"mousemove":0,"mouseup":0})";
  }

  bool waitJs(const QString& condition) {
    return waitUntil([&] { return js(condition).toBool(); });
  }

  // The first item's box on the page, rounded: "x,y,width,height" ("" when there is none).
  QString box() {
    return js("(() => { const i = DravinBoard.summary().items[0];"
              " return i ? [i.x, i.y, i.width, i.height].map(Math.round).join() : ''; })()")
        .toString();
  }

  QJsonArray posted(const QString& type) {
    const QString script = QStringLiteral("JSON.stringify(posted.filter(m => m.type === '%1'))");
    return QJsonDocument::fromJson(js(script.arg(type)).toString().toUtf8()).array();
  }

  // The element's box in the page, rounded.
  QRect rectOf(const QString& selector) {
    const QString script = QStringLiteral(
        "(() => { const r = document.querySelector('%1').getBoundingClientRect();"
        " return [r.left, r.top, r.width, r.height].map(Math.round); })()");
    const QVariantList r = js(script.arg(selector)).toList();
    return r.size() == 4 ? QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()) : QRect();
  }

  QPoint centreOf(const QString& selector) {
    const QRect r = rectOf(selector);
    return r.topLeft() + QPoint(r.width() / 2, r.height() / 2);
  }

  void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
             Qt::MouseButton button = Qt::LeftButton) {
    test::sendMouse(view_.focusProxy(), type, at, buttons, button);
  }
  void drag(QPoint from, QPoint to, int steps = 8) {
    test::dragMouse(view_.focusProxy(), from, to, steps);
  }

  void click(QPoint at) { drag(at, at, 0); }

  void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(view_.focusProxy(), k, modifiers);
  }

  static Server* server_;
  QWebEngineView view_;
};

Server* BoardPage::server_ = nullptr;

QString jpegDataUrl(QColor colour) {
  QImage image(64, 32, QImage::Format_RGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPEG");
  return QStringLiteral("data:image/jpeg;base64,") + QString::fromLatin1(bytes.toBase64());
}

TEST_F(BoardPage, StandsAloneTransparentAndQuiet) {
  load(QUrl::fromLocalFile(QStringLiteral(DRAVIN_SOURCE_DIR "/resources/dravinboard/index.html")));
  EXPECT_EQ(js("[typeof allowAnnotation, typeof showTunnelWindow, typeof renderTunnelWindow]"
               ".join()")
                .toString(),
            "function,function,function");
  EXPECT_EQ(js("getComputedStyle(document.body).backgroundColor").toString(), "rgba(0, 0, 0, 0)");
  EXPECT_EQ(js("getComputedStyle(document.documentElement).backgroundColor").toString(),
            "rgba(0, 0, 0, 0)");
  EXPECT_EQ(toolbarDisplay(), "none");
  // Without the application nothing is posted and nothing throws.
  EXPECT_EQ(js("try { showTunnelWindow(3, '', 'Alone'); renderTunnelWindow(3, '');"
               " allowAnnotation(true); allowAnnotation(false); 'ok' } catch (e) { String(e) }")
                .toString(),
            "ok");
  EXPECT_EQ(js("document.querySelectorAll('.tile').length").toInt(), 1);
}

TEST_F(BoardPage, DrawingKeepsThePointerFromTheCamera) {
  loadWithRecorder();
  const QString items = QStringLiteral("DravinBoard.board.doc.items.length");

  // Not annotating: the pointer is the camera's, and nothing is drawn.
  drag({300, 300}, {420, 360});
  ASSERT_TRUE(waitJs("reached.mouseup === 1 && reached.mousedown === 1 && reached.mousemove > 0"));
  EXPECT_EQ(js(items).toInt(), 0);

  js("allowAnnotation(true); reached.mousedown = reached.mousemove = reached.mouseup = 0; true");
  EXPECT_EQ(toolbarDisplay(), "flex");
  drag({300, 300}, {420, 360});
  ASSERT_TRUE(waitJs(items + " === 1"));
  EXPECT_GE(js("DravinBoard.board.doc.items[0].points.length").toInt(), 3);
  EXPECT_TRUE(cameraUntouched()) << "drawing panned the camera";
  EXPECT_EQ(posted("pan").size(), 0);

  key(Qt::Key_Z, Qt::ControlModifier);
  ASSERT_TRUE(waitJs(items + " === 0"));
  key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(waitJs(items + " === 1"));

  // The eraser takes the stroke away as one step; the toolbar's own buttons work too.
  click(centreOf("[data-tool=eraser]"));
  drag({340, 280}, {360, 380});
  ASSERT_TRUE(waitJs(items + " === 0"));
  click(centreOf("[data-action=undo]"));
  ASSERT_TRUE(waitJs(items + " === 1"));
  click(centreOf("[data-action=clear]"));
  ASSERT_TRUE(waitJs(items + " === 0"));
  EXPECT_TRUE(cameraUntouched());

  // Switched off halfway through a stroke: the stroke is kept and the pointer is the camera's.
  click(centreOf("[data-tool=pen]"));
  mouse(QEvent::MouseButtonPress, {600, 500}, Qt::LeftButton);
  mouse(QEvent::MouseMove, {650, 520}, Qt::LeftButton);
  ASSERT_TRUE(waitJs("DravinBoard.board.state.gesture !== null"));
  js("allowAnnotation(false); true");
  mouse(QEvent::MouseButtonRelease, {660, 520}, Qt::NoButton);
  EXPECT_TRUE(waitJs(items + " === 1"));
  EXPECT_EQ(toolbarDisplay(), "none");
  drag({300, 300}, {420, 360});
  EXPECT_TRUE(waitJs("reached.mousedown === 1"));
}

TEST_F(BoardPage, TunnelTileTalksToTheApplication) {
  loadWithRecorder();
  js("showTunnelWindow(7, '', 'Editor'); true");
  ASSERT_TRUE(waitUntil([&] { return posted("renderTunnel").size() == 1; }));
  EXPECT_EQ(posted("renderTunnel")[0].toObject()["windowNumber"].toInt(), 7);

  // Each answer brings the next request; a frame is shown, an empty one keeps it.
  const QString frame = jpegDataUrl(Qt::red);
  js(QStringLiteral("renderTunnelWindow(7, '%1'); true").arg(frame));
  ASSERT_TRUE(waitUntil([&] { return posted("renderTunnel").size() == 2; }));
  ASSERT_TRUE(
      waitJs(QStringLiteral("document.querySelector('.tile-frame')?.src === '%1'").arg(frame)));
  js("renderTunnelWindow(7, ''); true");
  ASSERT_TRUE(waitUntil([&] { return posted("renderTunnel").size() == 3; }));
  EXPECT_EQ(js("document.querySelector('.tile-frame').src").toString(), frame);

  // Shown again: the same tile, renamed.
  js("showTunnelWindow(7, '', 'Editor 2'); true");
  EXPECT_EQ(js("document.querySelectorAll('.tile').length").toInt(), 1);
  EXPECT_EQ(js("document.querySelector('.tile-title').textContent").toString(), "Editor 2");

  // Moving it by its title bar parks the real window, and does not pan the camera.
  const QRect before = rectOf(".tile");
  const QPoint bar = centreOf(".tile-title");
  drag(bar, bar + QPoint(-200, 100));
  ASSERT_TRUE(waitUntil([&] { return posted("positionTunnel").size() == 1; }));
  EXPECT_EQ(posted("positionTunnel")[0].toObject()["windowNumber"].toInt(), 7);
  EXPECT_EQ(rectOf(".tile").topLeft() - before.topLeft(), QPoint(-200, 100));

  // The control button hands over the tile's rectangle.
  click(centreOf(".tile-control"));
  ASSERT_TRUE(waitUntil([&] { return posted("controlTunnel").size() == 1; }));
  const QJsonObject control = posted("controlTunnel")[0].toObject();
  const QRect tile = rectOf(".tile");
  EXPECT_EQ(control["windowNumber"].toInt(), 7);
  EXPECT_EQ(QRect(control["left"].toInt(), control["top"].toInt(), control["width"].toInt(),
                  control["height"].toInt()),
            tile);
  EXPECT_GT(tile.width(), 100);

  // Where windows cannot be moved (Wayland), the button goes from this tile and from new ones,
  // and the title says why; allowed again, it is back.
  js("setWindowControl(false, 'No moving here'); showTunnelWindow(8, '', 'Other'); true");
  const QString controlShown =
      "[...document.querySelectorAll('.tile-control')].map((b) => getComputedStyle(b).display "
      "!== 'none').join()";
  EXPECT_EQ(js(controlShown).toString(), "false,false");
  EXPECT_EQ(js("document.querySelector('.tile[data-window=\"8\"] .tile-title').title").toString(),
            "No moving here");
  js("setWindowControl(true); true");
  EXPECT_EQ(js(controlShown).toString(), "true,true");
  EXPECT_EQ(js("document.querySelector('.tile-title').title").toString(), "");
  click(centreOf(".tile[data-window=\"8\"] .tile-close"));
  ASSERT_TRUE(waitUntil([&] { return posted("closeTunnel").size() == 1; }));
  js("posted = posted.filter((m) => m.type !== 'closeTunnel'); true");

  // Keys typed on the tile go to the window.
  js("document.querySelector('.tile').focus(); true");
  key(Qt::Key_A);
  ASSERT_TRUE(waitUntil([&] { return posted("tunnelKeydown").size() == 1; }));
  EXPECT_EQ(posted("tunnelKeydown")[0].toObject()["windowNumber"].toInt(), 7);
  EXPECT_EQ(posted("tunnelKeydown")[0].toObject()["key"].toString(), "a");

  // The document camera's tile has nothing to control.
  js("showTunnelWindow(-100, '', 'Document Camera'); true");
  EXPECT_EQ(
      js("document.querySelector('.tile[data-window=\"-100\"] .tile-control') === null").toBool(),
      true);
  ASSERT_TRUE(waitUntil([&] {
    const QJsonArray asked = posted("renderTunnel");
    return !asked.isEmpty() && asked.last().toObject()["windowNumber"].toInt() == -100;
  }));

  // Shown again, a covered tile comes to the front.
  js("showTunnelWindow(7, '', ''); true");
  EXPECT_EQ(js("document.querySelector('.tile-title').textContent").toString(), "Editor 2");
  click(centreOf(".tile[data-window=\"7\"] .tile-close"));
  ASSERT_TRUE(waitUntil([&] { return posted("closeTunnel").size() == 1; }));
  EXPECT_EQ(posted("closeTunnel")[0].toObject()["windowNumber"].toInt(), 7);
  EXPECT_EQ(js("document.querySelectorAll('.tile').length").toInt(), 1);
  // A late answer for the closed tile is harmless.
  EXPECT_EQ(js(QStringLiteral("try { renderTunnelWindow(7, '%1'); 'ok' } catch (e) { String(e) }")
                   .arg(frame))
                .toString(),
            "ok");
  EXPECT_TRUE(cameraUntouched());
}

TEST_F(BoardPage, DroppedPictureComesThroughTheServer) {
  QTemporaryDir folder(QDir::tempPath() + "/board drop XXXXXX");
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath(QStringLiteral("über a#b.png"));
  QImage picture(120, 80, QImage::Format_RGB32);
  picture.fill(Qt::darkCyan);
  ASSERT_TRUE(picture.save(path));
  loadWithRecorder();
  // A page without the application places pictures itself.
  js("delete window.webkit; true");

  const QString drop = QStringLiteral(R"(
    (() => {
      const data = new DataTransfer();
      data.setData('text/uri-list', '# library\r\n%1\r\n');
      document.body.dispatchEvent(new DragEvent('drop', { bubbles: true, cancelable: true,
        clientX: %2, clientY: %3, shiftKey: %4, dataTransfer: data }));
      return true;
    })())");
  const QString uri = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
  js(drop.arg(uri).arg(500).arg(400).arg("false"));
  ASSERT_TRUE(waitJs("DravinBoard.board.doc.items.length === 1"));
  // Over the live picture it is kept in the picture's coordinates; its box on the page is
  // where it was dropped.
  const QJsonObject item =
      QJsonDocument::fromJson(
          js("JSON.stringify(DravinBoard.board.doc.items[0])").toString().toUtf8())
          .object();
  EXPECT_EQ(item["kind"].toString(), "picture");
  EXPECT_EQ(box(), "440,360,120,80");
  EXPECT_TRUE(item["src"].toString().startsWith(origin() + "/files/@@"))
      << item["src"].toString().toStdString();
  EXPECT_FALSE(item["src"].toString().contains(server_->key()))
      << "the board keeps no key, which is good for one run only";

  // While annotating it moves with the pointer, as one step of the history.
  js("allowAnnotation(true); true");
  drag({500, 400}, {560, 430});
  ASSERT_TRUE(waitUntil([&] { return box() == "500,390,120,80"; })) << box().toStdString();
  EXPECT_EQ(js("DravinBoard.board.doc.items.length").toInt(), 1);
  key(Qt::Key_Z, Qt::ControlModifier);
  ASSERT_TRUE(waitUntil([&] { return box() == "440,360,120,80"; }));
  key(Qt::Key_Z, Qt::ControlModifier);
  ASSERT_TRUE(waitJs("DravinBoard.board.doc.items.length === 0"));

  // Something that is not a picture is refused with a word, and the page stays.
  js(drop.arg("file:///tmp/notes.pdf").arg(300).arg(300).arg("false"));
  ASSERT_TRUE(waitJs("document.getElementById('toast').classList.contains('visible')"));
  EXPECT_EQ(js("DravinBoard.board.doc.items.length").toInt(), 0);
  EXPECT_EQ(js("location.pathname").toString(), "/dravinboard/index.html");

  // With the application there, it takes every local file (it keeps them with the board);
  // only what is not a local file is refused.
  loadWithRecorder();
  js(drop.arg(uri + "\\r\\nfile:///tmp/notes.pdf\\r\\nhttps://example.org/a.png")
         .arg(500)
         .arg(400)
         .arg("false"));
  ASSERT_TRUE(waitUntil([&] { return posted("openonboard").size() == 1; }));
  const QJsonObject taken = posted("openonboard")[0].toObject();
  EXPECT_EQ(taken["paths"].toArray(), QJsonArray({path, "/tmp/notes.pdf"}));
  EXPECT_FALSE(taken.contains("asBackground"));
  EXPECT_TRUE(
      waitJs("document.getElementById('toast').textContent ==="
             " 'Only files from this computer can be placed on the board.'"));
  js(drop.arg(uri).arg(500).arg(400).arg("true"));
  ASSERT_TRUE(waitUntil([&] { return posted("openonboard").size() == 2; }));
  EXPECT_TRUE(posted("openonboard")[1].toObject()["asBackground"].toBool());
  EXPECT_EQ(js("DravinBoard.board.doc.items.length").toInt(), 0) << "the application places them";

  // A page the application did not give the key to gets nothing from "/files/".
  loadWithRecorder(false);
  js("delete window.webkit; true");
  js(drop.arg(uri).arg(500).arg(400).arg("false"));
  ASSERT_TRUE(
      waitJs("document.getElementById('toast').textContent ==="
             " 'The picture could not be loaded.'"));
  EXPECT_EQ(js("DravinBoard.board.doc.items.length").toInt(), 0);
}

}  // namespace
