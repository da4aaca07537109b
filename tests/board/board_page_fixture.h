#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTest>
#include <QUrl>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <optional>
#include <ostream>

#include "web_view_input.h"

// Failures print the page's text, not its UTF-16 code units.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << text.toStdString();
}

// The board page from the source tree in a real 1280 x 800 view, drawing allowed, with a
// stand-in for the application's handler that records what the page posts in `posted`.
class BoardPageFixture : public ::testing::Test {
 public:
  static constexpr int kWaitMs = 15000;

 protected:
  void SetUp() override {
    view_.resize(1280, 800);
    view_.show();
    std::optional<bool> loaded;
    QObject::connect(view_.page(), &QWebEnginePage::loadFinished, &view_,
                     [&](bool ok) { loaded = ok; });
    view_.load(QUrl::fromLocalFile(DRAVIN_SOURCE_DIR "/resources/dravinboard/index.html"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return loaded.has_value(); }, kWaitMs));
    ASSERT_TRUE(*loaded);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view_.focusProxy() != nullptr; }, kWaitMs));
    js(R"(window.posted = [];
      window.webkit = { messageHandlers: { swiftMessageHandler: {
        postMessage: (m) => posted.push(JSON.parse(JSON.stringify(m))) } } };
      allowAnnotation(true); true)");
  }

  QVariant js(const QString& script) {
    std::optional<QVariant> result;
    view_.page()->runJavaScript(script, [&](const QVariant& value) { result = value; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, kWaitMs))
        << script.toStdString();
    return result.value_or(QVariant());
  }

  bool waitJs(const QString& condition) {
    return QTest::qWaitFor([&] { return js(condition).toBool(); }, kWaitMs);
  }

  void drag(QPoint from, QPoint to, int steps = 10) {
    test::dragMouse(view_.focusProxy(), from, to, steps);
  }
  void click(QPoint at) { drag(at, at, 0); }

  // Input reaches the page asynchronously: a button in a popover opened by the click before
  // may not be laid out yet, so this waits until the element has a box.
  QPoint centreOf(const QString& selector) {
    const QString box = QStringLiteral(
        "(() => { const e = document.querySelector('%1'); if (!e) return [];"
        " const r = e.getBoundingClientRect();"
        " return r.width > 0 ? [r.left + r.width / 2, r.top + r.height / 2] : []; })()");
    QVariantList r;
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return (r = js(box.arg(selector)).toList()).size() == 2; }, kWaitMs))
        << selector.toStdString() << " has no box";
    return QPoint(r.value(0).toInt(), r.value(1).toInt());
  }
  void press(const QString& selector) { click(centreOf(selector)); }

  QWebEngineView view_;
};
