// The board's pages in the real page under QtWebEngine, with real mouse input: the page strip's
// buttons and thumbnails, drawing on one page while the others keep theirs, reordering by
// dragging a thumbnail, and the application's requests answered as reply messages.
#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <optional>
#include <ostream>

#include "board_page_fixture.h"

namespace {

constexpr int kWaitMs = BoardPageFixture::kWaitMs;

class BoardPages : public BoardPageFixture {
 protected:
  QJsonArray posted(const QString& type) {
    const QString script = QStringLiteral("JSON.stringify(posted.filter(m => m.type === '%1'))");
    return QJsonDocument::fromJson(js(script.arg(type)).toString().toUtf8()).array();
  }

  QJsonObject document() {
    return QJsonDocument::fromJson(
               js("JSON.stringify(DravinBoard.serialize())").toString().toUtf8())
        .object();
  }

  // Each page's item count, in order: "1,0,2".
  QString itemCounts() {
    return js("DravinBoard.serialize().pages.map((p) => p.items.length).join()").toString();
  }

  // The application's request; the reply message that answers it.
  QJsonObject request(int id, const QString& method, const QString& args) {
    js(QStringLiteral("dravinRequest(%1, '%2', %3); true").arg(id).arg(method, args));
    QJsonObject reply;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
          for (const auto& m : posted("reply")) {
            if (m.toObject()["id"].toInt() == id) reply = m.toObject();
          }
          return !reply.isEmpty();
        },
        kWaitMs))
        << method.toStdString();
    return reply;
  }
};

// The box of the pixels in `area` that are clearly red: "left,top,right,bottom".
QString redBox(const QImage& image, QRect area) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      const double alpha = c.alphaF();
      // Over white, as the page's paper is.
      const int r = qRound(c.red() * alpha + 255 * (1 - alpha));
      const int g = qRound(c.green() * alpha + 255 * (1 - alpha));
      if (r - g > 60) box |= QRect(x, y, 1, 1);
    }
  }
  return QStringLiteral("%1,%2,%3,%4")
      .arg(box.left())
      .arg(box.top())
      .arg(box.right())
      .arg(box.bottom());
}

TEST_F(BoardPages, StripTurnsAddsMovesAndAnswersTheApplication) {
  ASSERT_TRUE(waitJs("getComputedStyle(document.getElementById('pages')).display === 'flex'"));
  EXPECT_EQ(js("document.querySelector('#page-turn .page-number').textContent").toString(),
            "1 / 1");
  EXPECT_EQ(js("document.querySelector('[data-page-action=previous]').title").toString(),
            "Previous page (Page Up)");

  // Ink on the first page, over the camera picture.
  drag({500, 300}, {700, 320});
  ASSERT_TRUE(waitJs("DravinBoard.board.doc.items.length === 1"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return posted("boardchanged").size() == 1; }, kWaitMs));

  // A page added after it is shown; the application hears of the page and of the change.
  press("#page-actions [data-page-action=add]");
  ASSERT_TRUE(waitJs("DravinBoard.pageCount() === 2 && DravinBoard.currentPage() === 1"));
  EXPECT_EQ(posted("pagechanged").last().toObject(),
            QJsonObject({{"type", "pagechanged"}, {"index", 1}, {"count", 2}}));
  EXPECT_EQ(posted("boardchanged").size(), 2);
  EXPECT_EQ(js("document.querySelector('#page-turn .page-number').textContent").toString(),
            "2 / 2");

  // Squared paper for page 2 from the tools, and a stroke on it.
  press("[data-action=backgrounds]");
  press("[data-background=squared]");
  ASSERT_TRUE(waitJs("DravinBoard.board.doc.page.background === 'squared'"));
  drag({500, 500}, {800, 560});
  ASSERT_TRUE(waitJs("DravinBoard.board.doc.items.length === 1"));
  EXPECT_EQ(itemCounts(), "1,1");

  // A text on it. The page as SVG, drawn by QtSvg as the export draws it, puts the stroke
  // and the text's letters where the board shows them.
  QTest::keyClick(view_.focusProxy(), Qt::Key_T);
  ASSERT_TRUE(waitJs("DravinBoard.summary().tool === 'text'"));
  click({300, 200});
  ASSERT_TRUE(waitJs("DravinBoard.summary().editingText"));
  QTest::keyClicks(view_.focusProxy(), "Hello");
  QTest::keyClick(view_.focusProxy(), Qt::Key_Escape);
  ASSERT_TRUE(waitJs("DravinBoard.board.doc.items.length === 2"));
  QTest::keyClick(view_.focusProxy(), Qt::Key_P);
  const QString pageSvg = js("DravinBoard.pageSvg(1)").toString();
  EXPECT_TRUE(pageSvg.contains(QRegularExpression("<tspan x=\"[0-9.]+\" y=\"[0-9.]+\">Hello<")))
      << pageSvg.toStdString();
  QSvgRenderer renderer(pageSvg.toUtf8());
  ASSERT_TRUE(renderer.isValid()) << pageSvg.toStdString();
  QImage exported(1280, 800, QImage::Format_ARGB32);
  exported.fill(Qt::white);
  QPainter painter(&exported);
  renderer.render(&painter);
  painter.end();
  QImage shown;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        shown = QImage::fromData(QByteArray::fromBase64(
            js("document.getElementById('board-base').toDataURL().split(',')[1]")
                .toString()
                .toLatin1()));
        return !shown.isNull() && redBox(shown, {250, 150, 300, 150}) != "0,0,-1,-1";
      },
      kWaitMs));
  for (const QRect& area : {QRect(250, 150, 300, 150), QRect(640, 500, 20, 60)}) {
    const QStringList inSvg = redBox(exported, area).split(',');
    const QStringList onBoard = redBox(shown, area).split(',');
    for (int i = 0; i < 4; ++i) {
      EXPECT_NEAR(inSvg[i].toInt(), onBoard[i].toInt(), 3)
          << inSvg.join(',').toStdString() << " exported, shown "
          << onBoard.join(',').toStdString();
    }
  }

  // Back and forth: each page shows its own ink and paper.
  press("#page-turn [data-page-action=previous]");
  ASSERT_TRUE(waitJs("DravinBoard.currentPage() === 0"));
  EXPECT_EQ(js("DravinBoard.summary().background").toString(), "none");
  EXPECT_EQ(js("document.body.dataset.background").toString(), "none");
  EXPECT_TRUE(js("document.querySelector('[data-page-action=previous]').disabled").toBool());
  press("#page-turn [data-page-action=next]");
  ASSERT_TRUE(waitJs("DravinBoard.currentPage() === 1"));
  EXPECT_EQ(js("getComputedStyle(document.getElementById('paper')).backgroundColor").toString(),
            "rgb(255, 255, 255)");

  // A view of another shape shows the page scaled to fit and centred, its ink with it.
  const QString firstBox = QStringLiteral(
      "(() => { const i = DravinBoard.summary().items[0];"
      " return [i.x, i.y, i.width, i.height].map((v) => Math.round(v * 2) / 2).join(); })()");
  const QStringList wide = js(firstBox).toString().split(',');
  view_.resize(640, 600);
  ASSERT_TRUE(waitJs("innerWidth === 640 && innerHeight === 600"));
  ASSERT_TRUE(
      waitJs("getComputedStyle(document.getElementById('paper')).transform ==="
             " 'matrix(0.5, 0, 0, 0.5, 0, 100)'"))
      << js("getComputedStyle(document.getElementById('paper')).transform")
             .toString()
             .toStdString();
  const QStringList narrow = js(firstBox).toString().split(',');
  ASSERT_EQ(narrow.size(), 4);
  EXPECT_NEAR(narrow[0].toDouble(), wide[0].toDouble() / 2, 1);
  EXPECT_NEAR(narrow[1].toDouble(), wide[1].toDouble() / 2 + 100, 1);
  EXPECT_NEAR(narrow[2].toDouble(), wide[2].toDouble() / 2, 1);
  EXPECT_EQ(js("DravinBoard.serialize().width").toInt(), 1280) << "the page keeps its size";
  view_.resize(1280, 800);
  ASSERT_TRUE(waitJs("innerWidth === 1280 && innerHeight === 800"));

  // A third page asked for by the application, answered with the count.
  const QJsonObject added = request(1, "addPages", "[[{background: 'black'}]]");
  EXPECT_TRUE(added["ok"].toBool());
  EXPECT_EQ(added["result"].toInt(), 3);
  EXPECT_EQ(js("DravinBoard.currentPage()").toInt(), 2);

  // Every page has a thumbnail, drawn with its paper and ink: the squared page's red ink.
  ASSERT_TRUE(waitJs("document.querySelectorAll('#page-list .page-thumb canvas').length === 3"));
  const QString redInThumb = QStringLiteral(R"((() => {
      const c = document.querySelectorAll('#page-list .page-thumb canvas')[%1];
      if (c.width < 100) return false;
      const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
      for (let i = 0; i < d.length; i += 4)
        if (d[i] - d[i + 1] > 40 && d[i] - d[i + 2] > 40) return true;
      return false; })())");
  ASSERT_TRUE(waitJs(redInThumb.arg(1))) << "the second page's thumbnail shows its stroke";
  EXPECT_FALSE(js(redInThumb.arg(2)).toBool()) << "the empty chalkboard has no ink";

  // The chalkboard dragged by its thumbnail to the top; the shown page stays shown.
  const QPoint third = centreOf("#page-list .page-thumb:nth-child(3)");
  const QPoint first = centreOf("#page-list .page-thumb:nth-child(1)");
  drag(third, first - QPoint(0, 40), 12);
  ASSERT_TRUE(
      waitJs("DravinBoard.serialize().pages.map((p) => p.background).join() ==="
             " 'black,none,squared'"))
      << js("DravinBoard.serialize().pages.map((p) => p.background).join()")
             .toString()
             .toStdString();
  EXPECT_EQ(js("DravinBoard.currentPage()").toInt(), 0);
  EXPECT_EQ(itemCounts(), "0,1,2");
  EXPECT_EQ(
      js("document.querySelector('#page-list .page-thumb').classList.contains('current')").toBool(),
      true);

  // A click on a thumbnail shows its page; undo takes the move back where it happened.
  press("#page-list .page-thumb:nth-child(3)");
  ASSERT_TRUE(waitJs("DravinBoard.currentPage() === 2"));
  QTest::keyClick(view_.focusProxy(), Qt::Key_Z, Qt::ControlModifier);
  ASSERT_TRUE(
      waitJs("DravinBoard.serialize().pages.map((p) => p.background).join() ==="
             " 'none,squared,black'"));
  EXPECT_EQ(js("DravinBoard.currentPage()").toInt(), 2);

  // Requests: answers, failures and refusals, all as replies.
  EXPECT_EQ(request(2, "pageCount", "[]")["result"].toInt(), 3);
  const QJsonObject missing = request(3, "goToPage", "[7]");
  EXPECT_TRUE(missing["ok"].toBool());
  EXPECT_FALSE(missing["result"].toBool());
  const QJsonObject unknown = request(4, "fillForBenchmark", "[1, 1]");
  EXPECT_FALSE(unknown["ok"].toBool());
  EXPECT_FALSE(unknown["error"].toString().isEmpty());
  EXPECT_FALSE(request(5, "setPageBackground", "['image', 'file:///etc/passwd']")["ok"].toBool());
  // A PDF's page as the background: only the shown page's, asked for as wide as it is shown.
  const QString sha = QString(40, QLatin1Char('c'));
  EXPECT_TRUE(request(9, "setPageBackground",
                      QStringLiteral("['image', 'asset:%1.pdf#2']").arg(sha))["result"]
                  .toBool());
  EXPECT_TRUE(js("document.getElementById('paper').style.backgroundImage")
                  .toString()
                  .contains(QStringLiteral("/dravin-board/pdf/%1/2?width=1280").arg(sha)));
  QTest::keyClick(view_.focusProxy(), Qt::Key_Z, Qt::ControlModifier);
  ASSERT_TRUE(waitJs("document.getElementById('paper').style.backgroundImage === ''"));
  const QJsonObject before = document();
  const QJsonObject refused = request(6, "load", "[{format: 'dravinboard-document', version: 9}]");
  EXPECT_TRUE(refused["result"].toString().contains("newer"))
      << refused["result"].toString().toStdString();
  EXPECT_EQ(document(), before) << "a refused document changes nothing";
  const QJsonObject svg = request(7, "pageSvg", "[1]");
  EXPECT_TRUE(svg["result"].toString().contains("<path")) << svg["result"].toString().toStdString();
  const QJsonObject saved = request(8, "serialize", "[]");
  EXPECT_EQ(saved["result"].toObject(), before);

  // Deleting asks first; "Keep" keeps it.
  press("#page-actions [data-page-action=delete]");
  ASSERT_TRUE(waitJs("document.getElementById('page-delete-confirm').classList.contains('open')"));
  press("[data-confirm=keep]");
  EXPECT_EQ(js("DravinBoard.pageCount()").toInt(), 3);
  press("#page-actions [data-page-action=delete]");
  ASSERT_TRUE(waitJs("document.getElementById('page-delete-confirm').classList.contains('open')"));
  press("[data-confirm=delete]");
  ASSERT_TRUE(waitJs("DravinBoard.pageCount() === 2"));
  EXPECT_EQ(js("DravinBoard.currentPage()").toInt(), 1);
  EXPECT_EQ(posted("pagechanged").last().toObject()["count"].toInt(), 2);

  // The board's own commands go to the application.
  press("[data-command=save]");
  ASSERT_TRUE(QTest::qWaitFor([&] { return posted("boardcommand").size() == 1; }, kWaitMs));
  EXPECT_EQ(posted("boardcommand")[0].toObject()["command"].toString(), "save");

  // Collapsed, the strip leaves a tab that still turns pages.
  press("#page-actions [data-page-action=collapse]");
  ASSERT_TRUE(waitJs("getComputedStyle(document.getElementById('pages-tab')).display === 'flex'"));
  EXPECT_EQ(js("getComputedStyle(document.getElementById('pages')).display").toString(), "none");
  press("#pages-tab [data-page-action=previous]");
  ASSERT_TRUE(waitJs("DravinBoard.currentPage() === 0"));
  press("#pages-tab [data-page-action=expand]");
  ASSERT_TRUE(waitJs("getComputedStyle(document.getElementById('pages')).display === 'flex'"));

  const QByteArray shot = qgetenv("DRAVIN_BOARD_PAGES_SHOT");
  if (!shot.isEmpty()) {
    press("#page-list .page-thumb:nth-child(2)");
    QTest::qWait(800);
    view_.grab().save(QString::fromLocal8Bit(shot));
  }
}

}  // namespace
