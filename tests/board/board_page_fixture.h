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

  QWebEngineView view_;
};
