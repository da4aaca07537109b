// The PDF viewer page in QtWebEngine, opened as a file URL the way the browser panel opens it,
// reading a PDF made here through the application's real server and its "/files/" route.
#include <gtest/gtest.h>

#include "httpd_process.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <functional>
#include <optional>
#include <ostream>

// Failures print the page's text, not its UTF-16 code units.
std::ostream& operator<<(std::ostream& out, const QString& text) {
  return out << text.toStdString();
}

namespace {

constexpr int kWaitMs = 20000;

bool waitUntil(const std::function<bool()>& done, int ms = kWaitMs) {
  return test::waitUntil(done, ms);
}

using Server = test::HttpdProcess;

// Two A4 pages: a big red block with text, then a big blue block with text.
void writeTwoPagePdf(const QString& path) {
  QPdfWriter writer(path);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setResolution(300);
  QPainter painter(&writer);
  const QRect page = painter.viewport();
  const QRect block =
      page.adjusted(page.width() / 8, page.height() / 5, -page.width() / 8, -page.height() / 5);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSize(28);
  painter.setFont(font);
  painter.fillRect(block, QColor(220, 20, 20));
  painter.drawText(QRect(0, 0, page.width(), block.top()), Qt::AlignCenter,
                   QStringLiteral("Page one"));
  writer.newPage();
  painter.fillRect(block, QColor(20, 40, 220));
  painter.drawText(QRect(0, 0, page.width(), block.top()), Qt::AlignCenter,
                   QStringLiteral("Page two"));
}

int countPixels(const QImage& image, const std::function<bool(QColor)>& matches) {
  int count = 0;
  for (int y = 0; y < image.height(); y += 2) {
    for (int x = 0; x < image.width(); x += 2) {
      if (matches(image.pixelColor(x, y))) ++count;
    }
  }
  return count;
}

bool isRed(QColor c) {
  return c.red() > 180 && c.green() < 80 && c.blue() < 80;
}
bool isBlue(QColor c) {
  return c.blue() > 180 && c.red() < 80 && c.green() < 100;
}
// What red becomes under inversion.
bool isCyan(QColor c) {
  return c.red() < 80 && c.green() > 180 && c.blue() > 180;
}

void saveScreenshot(const QImage& image, const QString& name) {
  const QString folder = qEnvironmentVariable("SCREENSHOT_DIR");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  image.save(QDir(folder).filePath(name));
}

// Keeps what the page prints, which the application's web engine writes to its log.
class RecordingPage : public QWebEnginePage {
 public:
  using QWebEnginePage::QWebEnginePage;
  QStringList printed;

 protected:
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                const QString&) override {
    printed.append(message);
  }
};

class PdfViewer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = new Server; }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }

  void SetUp() override {
    view_.setPage(page_);
    ASSERT_NE(server_->port(), 0) << "the server did not start";
    ASSERT_TRUE(files_.isValid());
    // The browser panel's page view lets its local pages read the server's files.
    QWebEngineSettings* settings = view_.page()->settings();
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    view_.resize(1000, 760);
    view_.show();
  }

  // The query the browser panel builds for a local path: "/" becomes "@@" and " " "%20"; "%",
  // "#" and "?" are escaped twice and "&" and "+" once, as the viewer decodes the item once.
  QUrl viewerUrl(const QString& path) const {
    QString route = path;
    route.replace(QLatin1String("%"), QLatin1String("%2525"))
        .replace(QLatin1String("/"), QLatin1String("@@"))
        .replace(QLatin1String(" "), QLatin1String("%20"))
        .replace(QLatin1String("#"), QLatin1String("%2523"))
        .replace(QLatin1String("?"), QLatin1String("%253F"))
        .replace(QLatin1String("&"), QLatin1String("%26"))
        .replace(QLatin1String("+"), QLatin1String("%2B"));
    QUrl url = QUrl::fromLocalFile(QStringLiteral(
        DRAVIN_SOURCE_DIR "/resources/dravinboard/assets/pdfviewer/web/viewer.html"));
    url.setQuery(QStringLiteral("file=http://localhost:%1/files/").arg(server_->port()) + route,
                 QUrl::TolerantMode);
    url.setFragment(server_->accessFragment());
    return url;
  }

  void load(const QUrl& url) {
    std::optional<bool> loaded;
    const auto connection = QObject::connect(view_.page(), &QWebEnginePage::loadFinished, &view_,
                                             [&](bool ok) { loaded = ok; });
    view_.load(url);
    ASSERT_TRUE(waitUntil([&] { return loaded.has_value(); }));
    QObject::disconnect(connection);
    ASSERT_TRUE(*loaded) << url.toString().toStdString();
    ASSERT_TRUE(waitUntil([&] { return view_.focusProxy() != nullptr; }));
  }

  // Loads the viewer and waits until it either rendered a page or gave up.
  QString open(const QUrl& url) {
    load(url);
    EXPECT_TRUE(waitJs("document.documentElement.dataset.state !== 'loading'"));
    return js("document.documentElement.dataset.state").toString();
  }

  QVariant js(const QString& script) {
    std::optional<QVariant> result;
    view_.page()->runJavaScript(script, [&](const QVariant& value) { result = value; });
    EXPECT_TRUE(waitUntil([&] { return result.has_value(); })) << script.toStdString();
    return result.value_or(QVariant());
  }

  bool waitJs(const QString& condition) {
    return waitUntil([&] { return js(condition).toBool(); });
  }

  QString text(const QString& id) {
    return js(QStringLiteral("document.getElementById('%1').textContent").arg(id)).toString();
  }

  // Grabs until the picture satisfies the condition, as the compositor may lag the page.
  QImage grabUntil(const std::function<bool(const QImage&)>& good) {
    QImage image;
    waitUntil([&] {
      image = view_.grab().toImage();
      return good(image);
    });
    return image;
  }

  void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(view_.focusProxy(), k, modifiers);
  }

  static Server* server_;
  QTemporaryDir files_;
  QWebEngineView view_;
  RecordingPage* page_ = new RecordingPage(&view_);
};

Server* PdfViewer::server_ = nullptr;

TEST_F(PdfViewer, ShowsEveryPageFittedToWidth) {
  // Characters with a meaning in addresses, in the folder and the file name.
  QDir(files_.path()).mkpath(QStringLiteral("a b"));
  const QString path = files_.path() + QStringLiteral("/a b/plan #2? 50% & a+b.pdf");
  writeTwoPagePdf(path);
  ASSERT_EQ(open(viewerUrl(path)), "ready")
      << text("reason") << "\n(is the file:// origin allowed to read /files/?)";

  EXPECT_EQ(js("document.documentElement.dataset.pages").toString(), "2");
  // The library falls back to parsing on the page's own thread when a worker cannot start.
  EXPECT_EQ(js("typeof globalThis.pdfjsWorker").toString(), "undefined");
  EXPECT_EQ(text("pageInfo"), "Page 1 of 2");
  EXPECT_EQ(js("document.getElementById('message').hidden").toBool(), true);
  EXPECT_EQ(js("document.title").toString(), "plan #2? 50% & a+b.pdf");
  EXPECT_TRUE(
      waitJs("document.querySelector('.page[data-page-number=\"1\"] .textLayer')"
             "?.textContent.includes('Page one') === true"))
      << "the text layer lets the words be selected";

  // Fitted to width: the page fills the scroll area across, less its margins.
  const QString pageWidth =
      "document.querySelector('.page').getBoundingClientRect().width /"
      " document.getElementById('viewerContainer').clientWidth";
  EXPECT_GT(js(pageWidth).toDouble(), 0.9);
  EXPECT_LE(js(pageWidth).toDouble(), 1.0);

  QImage image = grabUntil([](const QImage& i) { return countPixels(i, isRed) > 5000; });
  saveScreenshot(image, QStringLiteral("pdf-viewer.png"));
  EXPECT_GT(countPixels(image, isRed), 5000) << "page one's red block is on screen";
  EXPECT_EQ(countPixels(image, isBlue), 0) << "page two is below, out of view";

  {  // a narrower panel keeps the page at its width
    view_.resize(640, 760);
    EXPECT_TRUE(
        waitJs("document.querySelector('.page').getBoundingClientRect().width <="
               " document.getElementById('viewerContainer').clientWidth"));
    EXPECT_GT(js(pageWidth).toDouble(), 0.9);
    view_.resize(1000, 760);
    EXPECT_TRUE(
        waitJs("document.querySelector('.page').getBoundingClientRect().width /"
               " document.getElementById('viewerContainer').clientWidth > 0.9"));
  }
  {  // keys: to the last page and back, zoom in and out, fit width again
    const QString zoom = QStringLiteral("zoomInfo");
    const int fitted = text(zoom).chopped(1).toInt();
    ASSERT_GT(fitted, 0) << text(zoom);
    key(Qt::Key_End);
    EXPECT_TRUE(waitJs("document.getElementById('pageInfo').textContent === 'Page 2 of 2'"));
    EXPECT_TRUE(js("document.getElementById('next').disabled").toBool());
    image = grabUntil([](const QImage& i) { return countPixels(i, isBlue) > 5000; });
    EXPECT_GT(countPixels(image, isBlue), 5000) << "page two rendered when reached";
    key(Qt::Key_PageUp);
    EXPECT_TRUE(waitJs("document.getElementById('pageInfo').textContent === 'Page 1 of 2'"));
    EXPECT_TRUE(js("document.getElementById('previous').disabled").toBool());

    key(Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_TRUE(waitUntil([&] { return text(zoom).chopped(1).toInt() > fitted; })) << text(zoom);
    key(Qt::Key_Minus, Qt::ControlModifier);
    key(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_TRUE(waitUntil([&] { return text(zoom).chopped(1).toInt() < fitted; })) << text(zoom);
    // Zoomed by hand, a resize leaves the zoom alone.
    const QString zoomed = text(zoom);
    view_.resize(900, 760);
    QTest::qWait(300);
    EXPECT_EQ(text(zoom), zoomed);
    js("document.getElementById('fitWidth').click()");
    EXPECT_TRUE(
        waitJs("document.querySelector('.page').getBoundingClientRect().width /"
               " document.getElementById('viewerContainer').clientWidth > 0.9"));
  }
  {  // the panel's colour inversion turns the pages over too: the red page comes out cyan
    QFile script(QStringLiteral(DRAVIN_SOURCE_DIR "/resources/dravinboard/assets/page_style.js"));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    key(Qt::Key_Home);
    ASSERT_TRUE(waitJs("document.getElementById('pageInfo').textContent === 'Page 1 of 2'"));
    js(QString::fromUtf8(script.readAll()) + "; updateInvert(1.0, true); true");
    EXPECT_EQ(js("getComputedStyle(document.body).filter").toString(), "invert(1) brightness(1.1)");
    const auto inverted = [](const QImage& i) {
      // The dark toolbar comes out light.
      return countPixels(i, isCyan) > 5000 && i.pixelColor(i.width() / 2, 10).lightness() > 160;
    };
    image = grabUntil(inverted);
    saveScreenshot(image, QStringLiteral("pdf-viewer-inverted.png"));
    EXPECT_TRUE(inverted(image));
    EXPECT_LT(countPixels(image, isRed), 100) << "the page must be inverted with the rest";
  }
}

TEST_F(PdfViewer, ReportsWhyAFileCannotBeOpened) {
  const auto expectError = [&](const QUrl& url, const QString& reason) {
    ASSERT_EQ(open(url), "error") << url.toString().toStdString();
    EXPECT_FALSE(js("document.getElementById('message').hidden").toBool());
    EXPECT_EQ(text("message").contains("This PDF could not be opened."), true) << text("message");
    EXPECT_TRUE(text("reason").contains(reason)) << text("reason");
    EXPECT_EQ(js("document.querySelectorAll('.page canvas').length").toInt(), 0);
    EXPECT_EQ(text("pageInfo"), "");
  };
  {  // a file that is not there
    const QString path = files_.path() + QStringLiteral("/gone away.pdf");
    // The server's 404 lets the page read the status, so no refused read lands in the log.
    expectError(viewerUrl(path), QStringLiteral("The file was not found: ") + path);
    const QImage image = view_.grab().toImage();
    saveScreenshot(image, QStringLiteral("pdf-viewer-error.png"));
  }
  {  // good files, but the address lacks the server's key or has a wrong one
    for (const QString name : {"/no key.pdf", "/wrong key.pdf"}) {
      const QString path = files_.path() + name;
      writeTwoPagePdf(path);
      QUrl url = viewerUrl(path);
      url.setFragment(name.contains("wrong") ? "key=" + server_->key().chopped(1) + "x" : "");
      expectError(url, path);
    }
  }
  {  // a file that is not a PDF
    const QString path = files_.path() + QStringLiteral("/notes.pdf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("just some text, no PDF at all\n");
    file.close();
    expectError(viewerUrl(path), QStringLiteral("not a valid PDF: ") + path);
  }
  {  // no file named, or one that is not an http address
    QUrl url = viewerUrl(QStringLiteral("/x.pdf"));
    url.setQuery(QString());
    expectError(url, QStringLiteral("missing"));
    url.setQuery(QStringLiteral("file=file:///etc/hostname"));
    expectError(url, QStringLiteral("not an http(s) address"));
  }
  {  // the same page with a good file still opens: nothing sticks between loads
    const QString path = files_.path() + QStringLiteral("/fine.pdf");
    writeTwoPagePdf(path);
    ASSERT_EQ(open(viewerUrl(path)), "ready") << text("reason");
    EXPECT_EQ(text("pageInfo"), "Page 1 of 2");
  }
  for (const QString& message : page_->printed) {
    EXPECT_FALSE(message.contains(server_->key())) << "the page printed the key: " << message;
  }
  {  // the key goes only to the file route of this machine
    js("import(new URL('viewer.js', location.href).href).then((m) => { window.keyed = ["
       " 'http://localhost:1/files/@@a.pdf',"
       " 'http://127.0.0.1:1/files/@@a.pdf', 'http://example.org/files/@@a.pdf',"
       " 'http://localhost:1/lesson.pdf'].map((u) => m.keyedFileUrl(u, location.href)); }); true");
    ASSERT_TRUE(waitJs("Array.isArray(window.keyed)"));
    const QString key = server_->key();
    EXPECT_EQ(js("window.keyed").toStringList(),
              QStringList({"http://localhost:1/files/@@a.pdf?key=" + key,
                           "http://127.0.0.1:1/files/@@a.pdf?key=" + key,
                           "http://example.org/files/@@a.pdf", "http://localhost:1/lesson.pdf"}));
  }
}

}  // namespace
