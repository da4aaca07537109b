#include <gtest/gtest.h>

#include <QUrlQuery>

#include "browser_rules.h"

using namespace dravin;
using namespace dravin::browser;

namespace {

const QString kKey = QStringLiteral("0123456789abcdef0123456789abcdef");

// The path the viewer ends up asking the server for: the query decoded once, read as an
// address, its path decoded and "@@" turned back into "/", as the server's files route does.
QString pathTheViewerFetches(const QString& queryText) {
  const QString file = QUrlQuery(queryText).queryItemValue("file", QUrl::FullyDecoded);
  const QUrl address(file);
  EXPECT_TRUE(address.isValid()) << file.toStdString();
  EXPECT_TRUE(address.fragment().isEmpty() && address.query().isEmpty()) << file.toStdString();
  QString path = address.path(QUrl::FullyDecoded);
  EXPECT_TRUE(path.startsWith("/files/"));
  return path.mid(7).replace("@@", "/");
}

}  // namespace

TEST(BrowserRules, PdfQuery) {
  {  // slashes and spaces, on the given port
    EXPECT_EQ(pdfQueryText("/Users/a b/x.pdf", 9080),
              "file=http://localhost:9080/files/@@Users@@a%20b@@x.pdf");
    EXPECT_EQ(pdfQueryText("/x.pdf", 41234), "file=http://localhost:41234/files/@@x.pdf");
  }
  {  // names that would cut the query or the address short reach the server whole
    for (const QString path : {"/Users/a b/x.pdf", "/tmp/50% off #2?.pdf", "/tmp/a&b+c.pdf",
                               "/home/zoë/Übung 1.pdf", "/tmp/%20.pdf"}) {
      EXPECT_EQ(pathTheViewerFetches(pdfQueryText(path, 9080)), path) << path.toStdString();
    }
  }
  {  // the viewer page of the resources, with the query as made and the key in the fragment
    const QUrl url = pdfViewerUrl("/opt/res", "/Users/a b/x.pdf", 9080, kKey);
    EXPECT_EQ(url.toLocalFile(), "/opt/res/dravinboard/assets/pdfviewer/web/viewer.html");
    EXPECT_EQ(url.query(QUrl::FullyEncoded),
              "file=http://localhost:9080/files/@@Users@@a%20b@@x.pdf");
    EXPECT_EQ(url.fragment(), "port=9080&key=" + kKey);
    // Shown and bookmarked without the key; other pages keep their fragment.
    EXPECT_EQ(shownAddress(url).toStdString(),
              "file:///opt/res/dravinboard/assets/pdfviewer/web/viewer.html"
              "?file=http://localhost:9080/files/@@Users@@a b@@x.pdf");
    EXPECT_EQ(shownAddress(QUrl("https://example.org/a#key=part")).toStdString(),
              "https://example.org/a#key=part");
  }
}

TEST(BrowserRules, AddressAndInitialPage) {
  {  // schemes kept, anything else behind http://
    EXPECT_EQ(loadAddress("https://example.org/a?b=1"), QUrl("https://example.org/a?b=1"));
    EXPECT_EQ(loadAddress("http://example.org"), QUrl("http://example.org"));
    EXPECT_EQ(loadAddress("example.org/page"), QUrl("http://example.org/page"));
    EXPECT_EQ(loadAddress("  localhost:9080/index.html "),
              QUrl("http://localhost:9080/index.html"));
    EXPECT_EQ(loadAddress("HTTPS://example.org"), QUrl("https://example.org"));
  }
  {  // nothing to load
    for (const QString text :
         {"", "   ", "http://", "two words", "javascript:alert(1)", "https://exa mple.org"}) {
      EXPECT_EQ(loadAddress(text), std::nullopt) << text.toStdString();
    }
  }
  {  // lessons offline from the local server, online from the site; PDF wins; web at home
    EXPECT_EQ(initialUrl(Mode::lessons, "/r", "", true, 9080, kKey),
              QUrl("http://localhost:9080/index.html"))
        << "the lessons are open to all: no key";
    EXPECT_EQ(initialUrl(Mode::lessons, "/r", "", true, 5555, kKey),
              QUrl("http://localhost:5555/index.html"));
    EXPECT_EQ(initialUrl(Mode::lessons, "/r", "", false, 9080, kKey), QUrl(kLessonsSite));
    EXPECT_EQ(initialUrl(Mode::pdf, "/r", "/a.pdf", true, 9080, kKey),
              pdfViewerUrl("/r", "/a.pdf", 9080, kKey));
    EXPECT_EQ(initialUrl(Mode::web, "/r", "", true, 9080, kKey), QUrl(kSearchHomePage));
    EXPECT_EQ(QUrl(kSearchHomePage).scheme(), "https");
  }
}

TEST(BrowserRules, ZoomScriptsAndHeader) {
  {  // tenths up and down, never below 1.0
    EXPECT_DOUBLE_EQ(zoomOut(1.0), 1.0);
    EXPECT_DOUBLE_EQ(zoomOut(1.05), 1.0);
    EXPECT_DOUBLE_EQ(zoomIn(1.0), 1.1);
    double zoom = 1.0;
    for (int i = 0; i < 7; ++i) zoom = zoomIn(zoom);
    for (int i = 0; i < 7; ++i) zoom = zoomOut(zoom);
    EXPECT_EQ(zoom, 1.0);
    EXPECT_DOUBLE_EQ(zoomIn(kMaxZoom), kMaxZoom);
  }
  {  // after a navigation: white page only for a PDF without removal, then the styling call
    EXPECT_EQ(scriptsAfterNavigation(true, false, true),
              (QStringList{"document.body.style.backgroundColor = 'white';",
                           "updateInvert(1.0, false)"}));
    EXPECT_EQ(scriptsAfterNavigation(false, false, false), QStringList{"updateInvert(0.0, false)"});
    EXPECT_EQ(scriptsAfterNavigation(true, true, false), QStringList{"updateInvert(0.0, true)"});
  }
  {  // inversion switched off and on; removal switched on restyles, off reloads
    EXPECT_EQ(invertChangedScript(false), "updateInvert(0.0)");
    EXPECT_EQ(invertChangedScript(true), "updateInvert(1.0)");
    EXPECT_EQ(removalChangedScript(true, true), "updateInvert(1.0, true)");
    EXPECT_EQ(removalChangedScript(false, true), std::nullopt);
  }
  {  // header
    EXPECT_EQ(headerText(Mode::pdf, true), "PDF Viewer");
    EXPECT_EQ(headerText(Mode::lessons, true), "Pelora Lessons (Offline)");
    EXPECT_EQ(headerText(Mode::lessons, false), "Pelora Lessons ");
    EXPECT_EQ(headerText(Mode::web, false), "");
    EXPECT_EQ(headerHint(Mode::lessons), "Toggle offline mode in settings and re-open lessons.");
    EXPECT_EQ(headerHint(Mode::pdf), "");
  }
}

TEST(BrowserRules, Navigation) {
  const QString res = "/opt/res";
  {  // the web, the viewer and the board's page
    EXPECT_EQ(decideNavigation(QUrl("https://example.org/"), true, res), Navigation::allow);
    EXPECT_EQ(decideNavigation(QUrl("http://localhost:9080/index.html"), true, res),
              Navigation::allow);
    EXPECT_EQ(decideNavigation(pdfViewerUrl(res, "/a.pdf", 9080, kKey), true, res),
              Navigation::allow);
    EXPECT_EQ(decideNavigation(QUrl("file:///opt/res/dravinboard/index.html?overlay=1"), true, res),
              Navigation::allow);
    EXPECT_EQ(decideNavigation(QUrl("about:blank"), true, res), Navigation::allow);
    EXPECT_EQ(decideNavigation(QUrl("data:text/html,x"), false, res), Navigation::allow);
  }
  {  // local PDFs in any letter case open the PDF mode; other local files and schemes are refused
    EXPECT_EQ(decideNavigation(QUrl::fromLocalFile("/home/t/Week 1.PDF"), true, res),
              Navigation::openPdf);
    EXPECT_EQ(decideNavigation(QUrl::fromLocalFile("/etc/passwd"), true, res), Navigation::cancel);
    EXPECT_EQ(decideNavigation(QUrl::fromLocalFile("/other/pdfviewer/web/viewer.html"), true, res),
              Navigation::cancel);
    EXPECT_EQ(decideNavigation(QUrl("data:text/html,x"), true, res), Navigation::cancel);
    EXPECT_EQ(decideNavigation(QUrl("javascript:alert(1)"), true, res), Navigation::cancel);
    EXPECT_EQ(decideNavigation(QUrl(), true, res), Navigation::cancel);
  }
}
