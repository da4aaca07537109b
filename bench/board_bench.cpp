// The board page's cost on a full page against an empty one, in QtWebEngine on a real (virtual)
// display, and its screenshots.
//
//   board_bench measure <board index.html>
//   board_bench screenshots <board index.html> <folder>
//
// measure: a 1280 x 800 view drawing with the pen through real mouse events. The cost of one
// pointer move is measured in the page: from the first pointermove listener (on the window,
// capturing) to the last one on the drawing surface, plus the time the page spends in the
// animation frame that follows (its render). Waiting for the display's next frame is left
// out: it is the same on both pages and would hide the work in vsync noise. Undo is measured
// the same way: the call plus the frame it brings. Means of the middle 80 % of many samples.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr int kMoves = 200;
constexpr int kUndos = 25;
constexpr int kStrokes = 5000;
constexpr int kItems = 100;

// Script errors on the page are the benchmark's errors too.
class LoggingPage : public QWebEnginePage {
 public:
  using QWebEnginePage::QWebEnginePage;

 protected:
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                int line, const QString& source) override {
    if (level == ErrorMessageLevel) {
      std::fprintf(stderr, "page: %s:%d: %s\n", qPrintable(source), line, qPrintable(message));
    }
  }
};

class Page {
 public:
  explicit Page(const QString& index) {
    view_.setPage(new LoggingPage(&view_));
    view_.resize(kWidth, kHeight);
    view_.show();
    std::optional<bool> loaded;
    QObject::connect(view_.page(), &QWebEnginePage::loadFinished, &view_,
                     [&](bool ok) { loaded = ok; });
    view_.load(QUrl::fromLocalFile(index));
    if (!QTest::qWaitFor([&] { return loaded.has_value(); }, 30000) || !*loaded ||
        !QTest::qWaitFor([&] { return view_.focusProxy() != nullptr; }, 10000)) {
      std::fprintf(stderr, "board_bench: the page did not load\n");
      std::exit(1);
    }
  }

  QVariant js(const QString& script) {
    std::optional<QVariant> result;
    view_.page()->runJavaScript(script, [&](const QVariant& value) { result = value; });
    if (!QTest::qWaitFor([&] { return result.has_value(); }, 60000)) {
      std::fprintf(stderr, "board_bench: no answer to %s\n", qPrintable(script));
      std::exit(1);
    }
    return *result;
  }

  int frames() { return js("DravinBoard.board.stats.frames").toInt(); }

  // Waits for the page's next frame after one numbered `before`.
  void waitFrame(int before) {
    if (!QTest::qWaitFor([&] { return frames() > before; }, 10000)) {
      std::fprintf(stderr, "board_bench: the page drew no frame\n");
      std::exit(1);
    }
  }

  // A frame drawn after now, whether or not anything changed.
  void settle() {
    const int before = frames();
    js("DravinBoard.board.invalidate(false, true)");
    waitFrame(before);
  }

  void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = view_.focusProxy();
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      modifiers);
    QApplication::sendEvent(target, &event);
  }

  void drag(const std::vector<QPoint>& points) {
    mouse(QEvent::MouseMove, points.front(), Qt::NoButton);
    mouse(QEvent::MouseButtonPress, points.front(), Qt::LeftButton);
    for (const QPoint& p : points) mouse(QEvent::MouseMove, p, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, points.back(), Qt::NoButton);
    settle();
  }

  void line(QPoint from, QPoint to, int steps = 12) {
    std::vector<QPoint> points;
    for (int i = 0; i <= steps; ++i) points.push_back(from + (to - from) * i / steps);
    drag(points);
  }

  void click(QPoint at) { drag({at}); }

  void type(const QString& text) {
    for (const QChar c : text) {
      if (c == '\n')
        QTest::keyClick(view_.focusProxy(), Qt::Key_Return);
      else
        QTest::keyClicks(view_.focusProxy(), QString(c));
    }
  }

  QPoint centreOf(const QString& selector) {
    const QVariantList r =
        js(QStringLiteral("(() => { const r = document.querySelector('%1').getBoundingClientRect();"
                          " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
               .arg(selector))
            .toList();
    return QPoint(r.value(0).toInt(), r.value(1).toInt());
  }

  QImage shot() {
    QTest::qWait(300);
    return view_.grab().toImage();
  }

 private:
  QWebEngineView view_;
};

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// The mean of the middle 80 %: the page's clock ticks in 0.1 ms, so a median would be one of
// a few ticks, while a collection pause or a late frame would pull a plain mean.
double trimmedMean(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t cut = values.size() / 10;
  double sum = 0;
  for (std::size_t i = cut; i < values.size() - cut; ++i) sum += values[i];
  return values.size() > 2 * cut ? sum / static_cast<double>(values.size() - 2 * cut) : 0;
}

// In-page timing of one pointer move: the first listener notes the start, one after the
// board's on the surface notes the end.
constexpr auto kInstrument = R"(
  window.benchMove = { start: 0, end: 0 };
  window.addEventListener('pointermove', () => { benchMove.start = performance.now(); }, true);
  DravinBoard.board.live.addEventListener('pointermove', () => {
    benchMove.end = performance.now(); });
  true)";

struct Figures {
  double moveMs;
  double undoMs;
};

Figures measure(Page& page) {
  // Pen strokes zigzag across the page, as handwriting does, right of the page strip.
  std::vector<double> moves;
  page.mouse(QEvent::MouseMove, {250, 400}, Qt::NoButton);
  page.mouse(QEvent::MouseButtonPress, {250, 400}, Qt::LeftButton);
  for (int i = 1; i <= kMoves; ++i) {
    const QPoint at(250 + i * 4, 400 + ((i / 4) % 2 == 0 ? i % 4 : 4 - i % 4) * 12);
    const int before = page.frames();
    page.mouse(QEvent::MouseMove, at, Qt::LeftButton);
    page.waitFrame(before);
    const QVariantList t =
        page.js("[benchMove.end - benchMove.start, DravinBoard.board.stats.renderMs]").toList();
    moves.push_back(t.value(0).toDouble() + t.value(1).toDouble());
  }
  page.mouse(QEvent::MouseButtonRelease, {250 + kMoves * 4, 400}, Qt::NoButton);
  page.settle();

  // A stroke drawn and undone, again and again: the undo and the frame it brings.
  std::vector<double> undos;
  for (int i = 0; i < kUndos; ++i) {
    page.line({200 + i * 20, 200}, {260 + i * 20, 300});
    const int before = page.frames();
    const double call = page.js("(() => { const t = performance.now(); DravinBoard.board.undo();"
                                " return performance.now() - t; })()")
                            .toDouble();
    page.waitFrame(before);
    undos.push_back(call + page.js("DravinBoard.board.stats.renderMs").toDouble());
  }
  return {trimmedMean(moves), trimmedMean(undos)};
}

int runMeasure(const QString& index) {
  Figures empty;
  Figures full;
  {
    Page page(index);
    page.js(kInstrument);
    page.js("allowAnnotation(true); true");
    empty = measure(page);
  }
  {
    Page page(index);
    page.js(kInstrument);
    page.js("allowAnnotation(true); true");
    const int count =
        page.js(QStringLiteral("DravinBoard.fillForBenchmark(%1, %2)").arg(kStrokes).arg(kItems))
            .toInt();
    page.settle();
    std::printf("  full page: %d items\n", count);
    full = measure(page);
    // For information: what a change deep in the page costs (erasing an old stroke, undoing
    // past the newest items, a new placement of the picture): everything drawn again.
    std::vector<double> redraws;
    for (int i = 0; i < 5; ++i) {
      const int before = page.frames();
      page.js("DravinBoard.board.baseLayer.reset(); DravinBoard.board.invalidate(true, false)");
      page.waitFrame(before);
      redraws.push_back(page.js("DravinBoard.board.stats.renderMs").toDouble());
    }
    std::printf("  whole page drawn again: %.1f ms (median of 5)\n", median(redraws));
    // A pinch: the picture's placement changes every frame.
    std::vector<double> zooms;
    for (int i = 1; i <= 10; ++i) {
      const int before = page.frames();
      const double z = 1 + 0.05 * i;
      page.js(QStringLiteral("setPicturePlacement({matrix: [%1, 0, 0, %2, %3, %4], zoom: %5})")
                  .arg(kWidth * z)
                  .arg(kHeight * z)
                  .arg(-kWidth * (z - 1) / 2)
                  .arg(-kHeight * (z - 1) / 2)
                  .arg(z));
      page.waitFrame(before);
      zooms.push_back(page.js("DravinBoard.board.stats.renderMs").toDouble());
    }
    std::printf("  frame while the picture is zoomed: %.1f ms (median of 10)\n", median(zooms));
  }
  std::printf("  pointer move: empty %.3f ms, full %.3f ms (trimmed means of %d)\n", empty.moveMs,
              full.moveMs, kMoves);
  std::printf("  undo: empty %.3f ms, full %.3f ms (trimmed means of %d)\n", empty.undoMs,
              full.undoMs, kUndos);
  std::printf("  undo ratio full/empty = %.2f\n", full.undoMs / empty.undoMs);
  std::printf("board: move cost full/empty = %.2f (goal <= 1.5)\n", full.moveMs / empty.moveMs);
  std::printf("board: undo on full page = %.2f ms (goal ratio to empty <= 2)\n", full.undoMs);
  return 0;
}

// A desk with a printed page, standing in for the camera picture behind the page.
constexpr auto kCameraStandIn = R"(
  document.documentElement.style.background =
    'radial-gradient(ellipse at 30% 20%, #e9dfcf 0%, #cbb89c 60%, #a48a67 100%)';
  const sheet = document.createElement('div');
  sheet.style.cssText = 'position:fixed;left:260px;top:120px;width:760px;height:560px;' +
    'background:#fbfaf6;box-shadow:0 8px 30px rgba(0,0,0,.35);transform:rotate(-2deg);' +
    'font:22px serif;color:#333;padding:40px;box-sizing:border-box;z-index:-1';
  sheet.innerHTML = '<h2 style="margin-top:0">Photosynthesis</h2>' +
    '<p>6 CO<sub>2</sub> + 6 H<sub>2</sub>O + light → C<sub>6</sub>H<sub>12</sub>O<sub>6</sub>' +
    ' + 6 O<sub>2</sub></p><p>Chlorophyll in the leaf absorbs light, mostly blue and red.</p>';
  document.body.prepend(sheet);
  true)";

void chooseTool(Page& page, const QString& tool) {
  page.click(page.centreOf(QStringLiteral("[data-tool=\"%1\"]").arg(tool)));
}

int runScreenshots(const QString& index, const QString& folder) {
  QDir().mkpath(folder);
  {
    Page page(index);
    page.js(kCameraStandIn);
    page.js("allowAnnotation(true); true");
    page.line({330, 318}, {700, 312}, 20);
    chooseTool(page, "highlighter");
    page.line({300, 246}, {770, 232}, 20);
    chooseTool(page, "pen");
    page.click(page.centreOf("[data-colour=\"#1e6fff\"]"));
    std::vector<QPoint> loop;
    for (int i = 0; i <= 40; ++i) {
      const double a = i * 6.2832 / 40;
      loop.emplace_back(850 + static_cast<int>(110 * std::cos(a)),
                        480 + static_cast<int>(50 * std::sin(a)));
    }
    page.drag(loop);
    // A stylus's stroke: pressure rising and falling along a wave.
    page.js(R"((() => {
      const B = DravinBoard.board;
      const points = [];
      for (let i = 0; i <= 80; i++) {
        const p = B.toItem(330 + i * 5, 600 + 30 * Math.sin(i / 6));
        p.p = 0.15 + 0.85 * Math.sin(Math.PI * i / 80);
        points.push(p);
      }
      B.doc.add({ kind: 'stroke', tool: 'pen', colour: '#9b5de5', width: B.toItemLength(6),
        pressured: true, points });
      B.changed();
      return true;
    })())");
    page.click(page.centreOf("[data-action=\"backgrounds\"]"));
    page.shot().save(folder + "/board-tools.png");
  }
  {
    Page page(index);
    page.js(kCameraStandIn);
    page.js("allowAnnotation(true); true");
    chooseTool(page, "text");
    page.click({330, 420});
    page.type("Leaves make sugar\nfrom light and air");
    chooseTool(page, "arrow");
    page.line({660, 430}, {780, 330});
    chooseTool(page, "rect");
    page.line({285, 215}, {790, 265});
    chooseTool(page, "ellipse");
    page.click(page.centreOf("[data-action=\"fill\"]"));
    page.click(page.centreOf("[data-colour=\"#ffd60a\"]"));
    page.line({800, 520}, {960, 620});
    chooseTool(page, "line");
    page.click(page.centreOf("[data-colour=\"#2dc653\"]"));
    page.line({330, 510}, {620, 500});
    chooseTool(page, "select");
    page.click({350, 440});
    page.shot().save(folder + "/board-text-shapes.png");
  }
  {
    // The six backgrounds side by side, each with a little writing.
    Page page(index);
    page.js("allowAnnotation(true); true");
    page.js(
        "DravinBoard.board.setBackground('white'); DravinBoard.board.doc.add({kind: 'text', "
        "text: 'Page', x: 60, y: 120, fontSize: 64, colour: '#e5383b', width: 160, height: 80});"
        " DravinBoard.board.changed(); true");
    const QStringList names = {"none", "white", "black", "squared", "ruled", "dotted"};
    QImage sheet(3 * 640, 2 * 400, QImage::Format_RGB32);
    sheet.fill(QColor("#2b2f36"));
    QPainter painter(&sheet);
    for (int i = 0; i < names.size(); ++i) {
      if (names[i] == "none") page.js(kCameraStandIn);
      page.js(QStringLiteral("DravinBoard.board.setBackground('%1'); true").arg(names[i]));
      const QImage shot =
          page.shot().scaled(636, 396, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      painter.drawImage(QPoint((i % 3) * 640 + 2, (i / 3) * 400 + 2), shot);
      page.js(
          "document.documentElement.style.background = '';"
          " document.body.firstElementChild.tagName === 'DIV' &&"
          " !document.body.firstElementChild.id && document.body.firstElementChild.remove();"
          " true");
    }
    painter.end();
    sheet.save(folder + "/board-backgrounds.png");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // QtWebEngine refuses to start its sandbox as root.
  qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() == 3 && args[1] == "measure") return runMeasure(args[2]);
  if (args.size() == 4 && args[1] == "screenshots") return runScreenshots(args[2], args[3]);
  std::fprintf(stderr,
               "usage: board_bench measure <index.html> | screenshots <index.html> <folder>\n");
  return 64;
}
