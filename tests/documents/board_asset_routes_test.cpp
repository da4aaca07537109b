// The board's asset routes on the real server over loopback, asked by a real HTTP client.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTimer>
#include <QUuid>
#include <cmath>
#include <memory>

#include "access_guard.h"
#include "board_asset_routes.h"
#include "board_assets.h"
#include "documents_fixture.h"
#include "http_server.h"

using namespace dravin;

namespace {

struct Answer {
  int status = 0;
  QByteArray body;
  QByteArray header(const QByteArray& name) const { return headers.value(name.toLower()); }
  QHash<QByteArray, QByteArray> headers;
};

class RouteServer {
 public:
  RouteServer(const QString& folder) {
    server_->listenAddressIPv4 = "127.0.0.1";
    registerBoardAssetRoutes(
        *server_, folder,
        std::make_shared<AccessGuard>(key_.toStdString(), [](const std::string&) {}));
    server_->start(0);
  }
  ~RouteServer() { server_->stop(); }

  QString key() const { return key_; }
  QUrl url(const QString& pathAndQuery) const {
    return QUrl(
        QStringLiteral("http://127.0.0.1:%1%2").arg(server_->localPort()).arg(pathAndQuery));
  }

 private:
  QString key_ = QUuid::createUuid().toString(QUuid::Id128);
  std::shared_ptr<HttpServer> server_ = std::make_shared<HttpServer>();
};

// Every address asked at once, as the board's images load in parallel.
std::vector<Answer> getAll(const std::vector<QUrl>& urls) {
  QNetworkAccessManager manager;
  std::vector<Answer> answers(urls.size());
  QEventLoop loop;
  int open = static_cast<int>(urls.size());
  for (std::size_t i = 0; i < urls.size(); ++i) {
    QNetworkReply* reply = manager.get(QNetworkRequest(urls[i]));
    QObject::connect(reply, &QNetworkReply::finished, [&, reply, i] {
      answers[i].status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
      answers[i].body = reply->readAll();
      for (const auto& [name, value] : reply->rawHeaderPairs())
        answers[i].headers[name.toLower()] = value;
      reply->deleteLater();
      if (--open == 0) loop.quit();
    });
  }
  QTimer::singleShot(60000, &loop, &QEventLoop::quit);
  if (open > 0) loop.exec();
  return answers;
}

Answer get(const QUrl& url) {
  return getAll({url}).front();
}

}  // namespace

TEST(BoardAssetRoutes, PdfPagesAndFilesBehindTheKey) {
  QTemporaryDir dir;
  BoardAssets assets(dir.filePath("assets"));
  const QString pdf = dir.filePath("rgb.pdf");
  test::writeColourPdf(pdf, {Qt::red, Qt::green, Qt::blue});
  const QString pdfRef = assets.importPdf(pdf).reference;
  const QString sha1 = parseAssetReference(pdfRef)->sha1;
  const QString picture = assets.importImage(test::filled({30, 20}, Qt::cyan)).reference;
  const QString pictureName = parseAssetReference(picture)->fileName();
  RouteServer server(assets.folder());
  const QString key = "key=" + server.key();
  const auto page = [&](const QString& rest) {
    return server.url("/dravin-board/pdf/" + sha1 + "/" + rest);
  };

  {  // page 2 at the width asked, height by the page's aspect, cacheable, readable by any origin
    const Answer answer = get(page("2?width=300&" + key));
    ASSERT_EQ(answer.status, 200);
    EXPECT_EQ(answer.header("Content-Type"), "image/png");
    EXPECT_EQ(answer.header("Access-Control-Allow-Origin"), "*");
    EXPECT_TRUE(answer.header("Cache-Control").contains("max-age"))
        << answer.header("Cache-Control").toStdString();
    const QImage image = QImage::fromData(answer.body, "PNG");
    EXPECT_EQ(image.width(), 300);
    EXPECT_NEAR(image.height(), 300 / std::sqrt(2.0), 1.5);  // A5 landscape
    EXPECT_TRUE(test::sameColour(image.pixel(150, 100), Qt::green));
  }
  {  // all three pages at once, from several connections: each its own colour
    const std::vector<Answer> answers =
        getAll({page("1?width=200&" + key), page("2?width=210&" + key), page("3?width=220&" + key),
                page("1?width=230&" + key), page("3?width=240&" + key)});
    const QList<QColor> colours{Qt::red, Qt::green, Qt::blue, Qt::red, Qt::blue};
    for (int i = 0; i < 5; ++i) {
      ASSERT_EQ(answers[i].status, 200) << i;
      const QImage image = QImage::fromData(answers[i].body, "PNG");
      EXPECT_EQ(image.width(), 200 + 10 * i);
      EXPECT_TRUE(test::sameColour(image.pixel(image.width() / 2, image.height() / 2), colours[i]))
          << i;
    }
  }
  {  // a page of text, whose fonts take the drawing deeper than shapes do
    const QString words = dir.filePath("words.pdf");
    {
      QPdfWriter writer(words);
      QPainter painter(&writer);
      QFont font("DejaVu Serif");
      font.setPixelSize(writer.height() / 40);
      painter.setFont(font);
      for (int line = 1; line < 38; ++line) {
        painter.drawText(QPointF(200, line * writer.height() / 39.0),
                         QStringLiteral("Line %1: the quick brown fox — ÄÖÜ ß ﬁ œ").arg(line));
      }
    }
    const QString wordsSha1 = parseAssetReference(assets.importPdf(words).reference)->sha1;
    const Answer answer =
        get(server.url("/dravin-board/pdf/" + wordsSha1 + "/1?width=3000&" + key));
    ASSERT_EQ(answer.status, 200);
    const QImage image = QImage::fromData(answer.body, "PNG");
    ASSERT_EQ(image.width(), 3000);
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2) {
      for (int x = 0; x < image.width(); x += 2) dark += qGray(image.pixel(x, y)) < 100;
    }
    // Ink on a few percent of the page, as a page of text has.
    EXPECT_GT(dark, image.width() * image.height() / 4 / 100);
  }
  {  // widths are clamped
    EXPECT_EQ(QImage::fromData(get(page("1?width=99999&" + key)).body).width(), kMaxPdfPageWidth);
    EXPECT_EQ(QImage::fromData(get(page("1?width=2&" + key)).body).width(), kMinPdfPageWidth);
    EXPECT_EQ(QImage::fromData(get(page("1?" + key)).body).width(), kDefaultPdfPageWidth);
  }
  {  // refused: without the key or with another one, malformed, out of range, unknown
    for (const QString& query :
         {QString("1?width=100"), QString("1?width=100&key=" + QString(64, 'a'))}) {
      const Answer answer = get(page(query));
      EXPECT_EQ(answer.status, 403) << query.toStdString();
      EXPECT_EQ(answer.header("Access-Control-Allow-Origin"), "*");
      EXPECT_TRUE(answer.body.isEmpty() || !answer.body.startsWith("\x89PNG"));
    }
    for (const QString bad : {"0?", "4?", "x?", "-1?", "1?width=wide&", "1?width=-5&"}) {
      EXPECT_EQ(get(page(bad + key)).status, 400) << bad.toStdString();
    }
    EXPECT_EQ(get(server.url("/dravin-board/pdf/" + sha1.toUpper() + "/1?" + key)).status, 400);
    EXPECT_EQ(get(server.url("/dravin-board/pdf/" + sha1.left(39) + "/1?" + key)).status, 400);
    const Answer unknown = get(server.url("/dravin-board/pdf/" + QString(40, 'e') + "/1?" + key));
    EXPECT_EQ(unknown.status, 404);
    EXPECT_EQ(unknown.header("Access-Control-Allow-Origin"), "*");
  }
  {  // the files themselves
    const Answer file = get(server.url("/dravin-board/asset/" + pictureName + "?" + key));
    ASSERT_EQ(file.status, 200);
    EXPECT_EQ(file.body, test::readAll(assets.pathOf(picture)));
    EXPECT_EQ(file.header("Content-Type"), "image/png");
    EXPECT_EQ(file.header("Access-Control-Allow-Origin"), "*");
    const Answer whole = get(server.url("/dravin-board/asset/" + sha1 + ".pdf?" + key));
    EXPECT_EQ(whole.body, test::readAll(pdf));
    EXPECT_EQ(whole.header("Content-Type"), "application/pdf");

    EXPECT_EQ(get(server.url("/dravin-board/asset/" + pictureName)).status, 403);
    EXPECT_EQ(get(server.url("/dravin-board/asset/" + QString(40, 'e') + ".png?" + key)).status,
              404);
    for (const QString& bad :
         QStringList{"%2e%2e%2fetc%2fpasswd", "..%2f" + pictureName, pictureName + "%23",
                     QString(40, 'e') + ".exe", sha1 + ".pdf%231", "passwd"}) {
      EXPECT_EQ(get(server.url("/dravin-board/asset/" + bad + "?" + key)).status, 400)
          << bad.toStdString();
    }
  }
}
