// The board's whiteboard tools in the real page under QtWebEngine, driven with real mouse, key,
// wheel and touch events: what ends on the page, what the history undoes, what the page tells
// the application (text being typed, pinches and pans), and ink that stays on the picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWheelEvent>
#include <optional>
#include <ostream>

#include "board_page_fixture.h"
#include "web_view_input.h"

namespace {

constexpr int kWaitMs = BoardPageFixture::kWaitMs;

class BoardTools : public BoardPageFixture {
 protected:
  QJsonObject summary() {
    return QJsonDocument::fromJson(js("JSON.stringify(DravinBoard.summary())").toString().toUtf8())
        .object();
  }
  QJsonArray items() { return summary()["items"].toArray(); }
  QStringList kinds() {
    QStringList out;
    for (const auto& item : items()) out << item.toObject()["kind"].toString();
    return out;
  }
  QRect boxOf(int index) {
    const QJsonObject i = items()[index].toObject();
    return QRect(qRound(i["x"].toDouble()), qRound(i["y"].toDouble()),
                 qRound(i["width"].toDouble()), qRound(i["height"].toDouble()));
  }

  QJsonArray posted(const QString& type) {
    const QString script = QStringLiteral("JSON.stringify(posted.filter(m => m.type === '%1'))");
    return QJsonDocument::fromJson(js(script.arg(type)).toString().toUtf8()).array();
  }

  void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    test::sendMouse(view_.focusProxy(), type, at, buttons);
  }
  // As a window system delivers it: press, release, double click, release.
  void doubleClick(QPoint at) {
    click(at);
    mouse(QEvent::MouseButtonDblClick, at, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
  }

  void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(view_.focusProxy(), k, modifiers);
  }

  // Presses a tool's key and waits for the page to take it.
  void choose(Qt::Key k, const QString& tool) {
    key(k);
    ASSERT_TRUE(waitJs(QStringLiteral("DravinBoard.summary().tool === '%1'").arg(tool)))
        << tool.toStdString();
  }

  bool waitItems(int count) {
    return QTest::qWaitFor([&] { return items().size() == count; }, kWaitMs);
  }
};

TEST_F(BoardTools, KeysTextAndShapesWithTheirHistory) {
  // Single keys pick the tools.
  const std::pair<Qt::Key, const char*> keys[] = {
      {Qt::Key_V, "select"}, {Qt::Key_H, "highlighter"}, {Qt::Key_L, "line"},
      {Qt::Key_A, "arrow"},  {Qt::Key_O, "ellipse"},     {Qt::Key_K, "laser"},
      {Qt::Key_B, "rect"},   {Qt::Key_P, "pen"},         {Qt::Key_T, "text"}};
  for (const auto& [k, tool] : keys) choose(k, tool);

  // A text: the application hears that typing began, and every key is the text's.
  click({400, 300});
  ASSERT_TRUE(QTest::qWaitFor([&] { return posted("textediting").size() == 1; }, kWaitMs));
  EXPECT_TRUE(posted("textediting")[0].toObject()["active"].toBool());
  QTest::keyClicks(view_.focusProxy(), "Pab");
  key(Qt::Key_Return);
  QTest::keyClicks(view_.focusProxy(), "v");
  EXPECT_EQ(summary()["tool"].toString(), "text");
  EXPECT_TRUE(summary()["editingText"].toBool());
  key(Qt::Key_Escape);
  ASSERT_TRUE(waitItems(1));
  EXPECT_FALSE(posted("textediting").last().toObject()["active"].toBool());
  EXPECT_EQ(js("DravinBoard.board.doc.items[0].text").toString(), "Pab\nv");
  const QRect text = boxOf(0);
  EXPECT_NEAR(text.left(), 400, 2);
  EXPECT_GT(text.height(), 50) << "two lines";

  // Edited again by a double click with the select tool; the edit is one step.
  choose(Qt::Key_V, "select");
  doubleClick(text.center());
  ASSERT_TRUE(waitJs("DravinBoard.summary().editingText"));
  key(Qt::Key_End, Qt::ControlModifier);
  QTest::keyClicks(view_.focusProxy(), "!");
  click({900, 600});  // clicking elsewhere ends the typing
  ASSERT_TRUE(waitJs("!DravinBoard.summary().editingText"));
  EXPECT_EQ(js("DravinBoard.board.doc.items[0].text").toString(), "Pab\nv!");
  key(Qt::Key_Z, Qt::ControlModifier);
  ASSERT_TRUE(waitJs("DravinBoard.board.doc.items[0].text === 'Pab\\nv'"));

  // A rectangle, selected by a click on its outline, removed by Delete, back by undo.
  choose(Qt::Key_B, "rect");
  drag({600, 200}, {800, 300});
  ASSERT_TRUE(waitItems(2));
  EXPECT_EQ(kinds(), QStringList({"text", "shape"}));
  choose(Qt::Key_V, "select");
  click({600, 250});
  ASSERT_TRUE(waitJs("DravinBoard.summary().selection.length === 1"));
  key(Qt::Key_Delete);
  ASSERT_TRUE(waitItems(1));
  key(Qt::Key_Z, Qt::ControlModifier);
  ASSERT_TRUE(waitItems(2));

  // A rubber band around both, moved together by the frame, as one step.
  drag({300, 150}, {900, 450});
  ASSERT_TRUE(waitJs("DravinBoard.summary().selection.length === 2"));
  const QRect before = boxOf(1);
  drag({700, 202}, {750, 252});
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return boxOf(1).topLeft() == before.topLeft() + QPoint(50, 50); }, kWaitMs));
  EXPECT_NEAR(boxOf(0).left(), text.left() + 50, 1);
  key(Qt::Key_Z, Qt::ControlModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return boxOf(1) == before; }, kWaitMs));

  // The swatches recolour the selection, as one step.
  const QString colours = "DravinBoard.board.doc.items.map((i) => i.colour).join()";
  const QString was = js(colours).toString();
  click(centreOf("[data-colour=\"#2dc653\"]"));
  ASSERT_TRUE(waitJs(colours + " === '#2dc653,#2dc653'")) << js(colours).toString().toStdString();
  key(Qt::Key_Z, Qt::ControlModifier);
  ASSERT_TRUE(waitJs(colours + QStringLiteral(" === '%1'").arg(was)));

  // The laser leaves nothing behind.
  choose(Qt::Key_K, "laser");
  drag({200, 600}, {400, 650});
  EXPECT_EQ(items().size(), 2);
  EXPECT_EQ(posted("pan").size(), 0);
}

TEST_F(BoardTools, AreaEraserCutsAndInkStaysOnThePicture) {
  drag({200, 400}, {600, 400}, 20);
  ASSERT_TRUE(waitItems(1));
  const QRect stroke = boxOf(0);

  // The picture zoomed 2x about the page's middle: the ink grows with it, about the same point.
  EXPECT_FALSE(js("setPicturePlacement({matrix: [1, 2, 3]})").toBool());
  EXPECT_FALSE(js("setPicturePlacement({matrix: [0, 0, 0, 0, 0, 0], zoom: 1})").toBool());
  EXPECT_FALSE(js("setPicturePlacement('1,0,0,1,0,0')").toBool());
  EXPECT_EQ(boxOf(0), stroke) << "a malformed placement changes nothing";
  ASSERT_TRUE(
      js("setPicturePlacement({matrix: [2560, 0, 0, 1600, -640, -400], zoom: 2})").toBool());
  const QRect zoomed = boxOf(0);
  EXPECT_NEAR(zoomed.left(), 2 * stroke.left() - 640, 2);
  EXPECT_NEAR(zoomed.width(), 2 * stroke.width(), 3);
  // Turned a quarter and mirrored: still on the same spot of the picture.
  js("setPicturePlacement({matrix: [0, 800, 1280, 0, 0, 0], zoom: 1})");
  EXPECT_NEAR(boxOf(0).top(), stroke.left() * 800 / 1280, 3);

  // The area eraser (E twice) cuts the stroke in two where it passes; undo joins it again.
  js("setPicturePlacement({matrix: [1280, 0, 0, 800, 0, 0], zoom: 1})");
  choose(Qt::Key_E, "eraser");
  key(Qt::Key_E);
  ASSERT_TRUE(waitJs("DravinBoard.summary().eraserMode === 'area'"));
  drag({400, 340}, {400, 460});
  ASSERT_TRUE(waitItems(2));
  EXPECT_LT(boxOf(0).right(), 400 - 10);
  EXPECT_GT(boxOf(1).left(), 400 + 10);
  key(Qt::Key_Z, Qt::ControlModifier);
  ASSERT_TRUE(waitItems(1));

  // Paper: the ink is carried to where it was seen, and no longer follows the picture.
  js("DravinBoard.board.setBackground('squared'); true");
  EXPECT_EQ(summary()["background"].toString(), "squared");
  EXPECT_EQ(boxOf(0), stroke);
  js("setPicturePlacement({matrix: [2560, 0, 0, 1600, -640, -400], zoom: 2})");
  EXPECT_EQ(boxOf(0), stroke);
  key(Qt::Key_Z, Qt::ControlModifier);
  ASSERT_TRUE(waitJs("DravinBoard.summary().background === 'none'"));
  EXPECT_EQ(boxOf(0), zoomed) << "back on the picture, zoomed with it";

  // A template as the page: only a local picture, shown through the server's "/files/".
  EXPECT_FALSE(js("setPageBackgroundImage('javascript:alert(1)')").toBool());
  EXPECT_FALSE(js("setPageBackgroundImage('file:///tmp/notes.pdf')").toBool());
  EXPECT_EQ(summary()["background"].toString(), "none");
  EXPECT_TRUE(js("setPageBackgroundImage('file:///tmp/lined%20paper.png')").toBool());
  EXPECT_EQ(summary()["background"].toString(), "image");
  EXPECT_TRUE(js("getComputedStyle(document.getElementById('paper')).backgroundImage")
                  .toString()
                  .contains("/files/@@tmp@@lined%20paper.png"));
  EXPECT_EQ(boxOf(0), zoomed) << "on paper again, where it was seen";
}

TEST_F(BoardTools, PinchesAndWheelSteerTheCamera) {
  js("setPicturePlacement({matrix: [1280, 0, 0, 800, 0, 0], zoom: 2})");

  // Ctrl+wheel: a pinch from the zoom last told; the page itself does not zoom.
  QWidget* target = view_.focusProxy();
  for (int i = 0; i < 2; ++i) {
    QWheelEvent wheel(QPointF(640, 400), target->mapToGlobal(QPointF(640, 400)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return posted("gesturechange").size() == 2; }, kWaitMs));
  EXPECT_EQ(posted("gesturestart").size(), 1);
  EXPECT_EQ(posted("gesturestart")[0].toObject()["scale"].toDouble(), 2);
  const double first = posted("gesturechange")[0].toObject()["scale"].toDouble();
  const double second = posted("gesturechange")[1].toObject()["scale"].toDouble();
  EXPECT_GT(first, 1) << "wheel up zooms in";
  EXPECT_NEAR(second, first * first, 1e-9) << "notches accumulate";
  EXPECT_EQ(js("window.visualViewport.scale").toDouble(), 1);

  // One finger starts a stroke; a second one drops it and pinches: spread 2x, middle moved.
  std::unique_ptr<QPointingDevice> screen(QTest::createTouchDevice());
  QTest::touchEvent(target, screen.get()).press(0, {400, 400});
  QTest::touchEvent(target, screen.get()).move(0, {420, 410});
  QTest::touchEvent(target, screen.get()).move(0, {440, 420});
  ASSERT_TRUE(waitJs("DravinBoard.board.state.gesture !== null"));
  QTest::touchEvent(target, screen.get()).stationary(0).press(1, {540, 420});
  QTest::touchEvent(target, screen.get()).move(0, {390, 440}).move(1, {590, 440});
  QTest::touchEvent(target, screen.get()).release(0, {390, 440}).release(1, {590, 440});
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return !posted("pan").isEmpty() && posted("pan").last().toObject()["end"].toInt() == 1;
      },
      kWaitMs));
  EXPECT_EQ(posted("gesturestart").last().toObject()["scale"].toDouble(), 2);
  EXPECT_NEAR(posted("gesturechange").last().toObject()["scale"].toDouble(), 2, 1e-6);
  const QJsonObject pan = posted("pan").last().toObject();
  EXPECT_EQ(QPoint(pan["x"].toInt(), pan["y"].toInt()), QPoint(0, 20));
  EXPECT_EQ(items().size(), 0) << "the stroke the pinch interrupted left no ink";

  // Not drawing: one finger pans like a mouse drag, measured from where it went down.
  js("allowAnnotation(false); posted = []; true");
  QTest::touchEvent(target, screen.get()).press(0, {300, 300});
  QTest::touchEvent(target, screen.get()).move(0, {310, 320});
  QTest::touchEvent(target, screen.get()).move(0, {330, 340});
  QTest::touchEvent(target, screen.get()).release(0, {330, 340});
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return !posted("pan").isEmpty() && posted("pan").last().toObject()["end"].toInt() == 1;
      },
      kWaitMs));
  const QJsonArray pans = posted("pan");
  EXPECT_EQ(pans.first().toObject()["end"].toInt(), 0);
  EXPECT_EQ(pans.last().toObject()["x"].toInt(), 30);
  EXPECT_EQ(pans.last().toObject()["y"].toInt(), 40);
  EXPECT_EQ(posted("gesturestart").size(), 0);
}

}  // namespace
