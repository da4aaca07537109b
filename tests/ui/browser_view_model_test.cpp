#include "browser_view_model.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "library_fixture.h"
#include "notification_center.h"
#include "notification_names.h"
#include "share_model.h"
#include "thumbnail_service.h"

using namespace dravin;

namespace {

struct Panel {
  ThumbnailService thumbnails;
  static constexpr const char* kKey = "0123456789abcdef0123456789abcdef";
  BrowserViewModel model{"/opt/res", 5555, kKey, thumbnails};
  QSignalSpy scripts{&model, &BrowserViewModel::scriptRequested};
  QSignalSpy loads{&model, &BrowserViewModel::loadRequested};
  QSignalSpy reloads{&model, &BrowserViewModel::reloadRequested};
  QSignalSpy boardScripts{&model, &BrowserViewModel::boardScriptRequested};

  QStringList takeScripts(QSignalSpy& spy) {
    QStringList result;
    for (const QList<QVariant>& call : spy) result.append(call.at(0).toString());
    spy.clear();
    return result;
  }
  QString lastLoad() const {
    return loads.isEmpty() ? QString() : loads.last().at(0).toUrl().toString();
  }
};

// The panel's toggles carry over between openings: each test leaves them as it found them.
struct CarriedReset {
  ~CarriedReset() {
    ThumbnailService thumbnails;
    BrowserViewModel model("/opt/res", 9080, Panel::kKey, thumbnails);
    model.setOpacityValue(1.0);
    model.setEnableRemoveBackground(false);
    model.setInverted(false);
  }
};

}  // namespace

TEST(BrowserViewModel, RequestModeAndHeader) {
  Panel panel;
  BrowserViewModel& model = panel.model;
  {  // a PDF: the viewer on the server's port, "PDF Viewer"
    model.setRequest({{"pdfMode", true}, {"pdfPath", "/home/t/a b.pdf"}});
    EXPECT_TRUE(model.pdfMode());
    EXPECT_FALSE(model.lessonsMode());
    EXPECT_EQ(model.initialUrl().toString(QUrl::FullyEncoded),
              "file:///opt/res/dravinboard/assets/pdfviewer/web/viewer.html"
              "?file=http://localhost:5555/files/@@home@@t@@a%20b.pdf"
              "#port=5555&key=0123456789abcdef0123456789abcdef");
    EXPECT_EQ(model.headerText(), "PDF Viewer");
  }
  {  // a PDF request without a file opens a browser instead of an empty viewer
    model.setRequest({{"pdfMode", true}});
    EXPECT_FALSE(model.pdfMode());
    EXPECT_EQ(model.initialUrl(), QUrl(browser::kSearchHomePage));
    EXPECT_EQ(model.headerText(), "");
  }
  {  // lessons follow the offline setting, also when it arrives after the request
    QSignalSpy initial(&model, &BrowserViewModel::initialUrlChanged);
    model.setRequest({{"lessonsMode", true}});
    EXPECT_EQ(model.initialUrl(), QUrl(browser::kLessonsSite));
    EXPECT_EQ(model.headerText(), "Pelora Lessons ");
    model.setOffline(true);
    EXPECT_EQ(model.initialUrl(), QUrl("http://localhost:5555/index.html"));
    EXPECT_EQ(model.headerText(), "Pelora Lessons (Offline)");
    EXPECT_EQ(initial.size(), 2);
  }
  {  // the board layer: our own board page in its overlay mode, told the server and its key
    EXPECT_EQ(model.overlayBoardUrl().toString(),
              "file:///opt/res/dravinboard/index.html?overlay=1"
              "#port=5555&key=0123456789abcdef0123456789abcdef");
  }
}

TEST(BrowserViewModel, PageStyling) {
  CarriedReset reset;
  Panel panel;
  BrowserViewModel& model = panel.model;
  model.setRequest({{"pdfMode", true}, {"pdfPath", "/a.pdf"}});
  {  // after a navigation: white PDF page, styling call, then address and history
    QSignalSpy history(&model, &BrowserViewModel::historyChanged);
    model.navigationFinished(QUrl("http://localhost:5555/x"), true, false);
    EXPECT_EQ(panel.takeScripts(panel.scripts),
              (QStringList{"document.body.style.backgroundColor = 'white';",
                           "updateInvert(0.0, false)"}));
    EXPECT_EQ(model.address(), "http://localhost:5555/x");
    EXPECT_EQ(model.preAddress(), "http://localhost:5555/x");
    EXPECT_TRUE(model.canGoBack());
    EXPECT_FALSE(model.canGoForward());
    EXPECT_EQ(history.size(), 1);
  }
  {  // inversion on and off; removal on restyles, off reloads instead
    model.setInverted(true);
    model.setInverted(true);
    model.setInverted(false);
    EXPECT_EQ(panel.takeScripts(panel.scripts),
              (QStringList{"updateInvert(1.0)", "updateInvert(0.0)"}));
    model.setInverted(true);
    panel.scripts.clear();
    model.setEnableRemoveBackground(true);
    EXPECT_EQ(panel.takeScripts(panel.scripts), QStringList{"updateInvert(1.0, true)"});
    EXPECT_EQ(panel.reloads.size(), 0);
    model.setEnableRemoveBackground(false);
    EXPECT_TRUE(panel.takeScripts(panel.scripts).isEmpty());
    EXPECT_EQ(panel.reloads.size(), 1);
  }
  {  // transparency stays within 0.2 ... 1.0; the choices hold for the next opening
    model.setOpacityValue(0.05);
    EXPECT_DOUBLE_EQ(model.opacityValue(), 0.2);
    model.setOpacityValue(3);
    EXPECT_DOUBLE_EQ(model.opacityValue(), 1.0);
    model.setOpacityValue(0.5);
    BrowserViewModel next("/opt/res", 5555, Panel::kKey, panel.thumbnails);
    EXPECT_DOUBLE_EQ(next.opacityValue(), 0.5);
    EXPECT_TRUE(next.inverted());
    EXPECT_FALSE(next.enableRemoveBackground());
  }
  {  // annotation reaches the board layer, and again when the layer has loaded
    model.setEnableAnnotation(true);
    model.boardLayerLoaded();
    model.setEnableAnnotation(false);
    EXPECT_EQ(
        panel.takeScripts(panel.boardScripts),
        (QStringList{"allowAnnotation(true)", "allowAnnotation(true)", "allowAnnotation(false)"}));
  }
  {  // zoom
    model.zoomOut();
    EXPECT_DOUBLE_EQ(model.zoom(), 1.0);
    model.zoomIn();
    model.zoomIn();
    EXPECT_DOUBLE_EQ(model.zoom(), 1.2);
  }
}

TEST(BrowserViewModel, AddressesAndNavigation) {
  Panel panel;
  BrowserViewModel& model = panel.model;
  {  // typed addresses, home; nothing for an unparsable one
    EXPECT_TRUE(model.loadAddress("example.org/a"));
    EXPECT_EQ(panel.lastLoad(), "http://example.org/a");
    model.goHome();
    EXPECT_EQ(panel.lastLoad(), browser::kSearchHomePage);
    EXPECT_FALSE(model.loadAddress("two words"));
    EXPECT_EQ(panel.loads.size(), 2);
  }
  {  // a bookmark's tile loads through the address rule and closes the list
    model.setShowBookmark(true);
    model.openBookmark("https://kept.example/p");
    EXPECT_EQ(panel.lastLoad(), "https://kept.example/p");
    EXPECT_FALSE(model.showBookmark());
  }
  {  // a local PDF opens the PDF mode through "OpenBrowser"; other local files are refused
    QVariantMap posted;
    QObject receiver;
    NotificationCenter::instance().observe(notifications::kOpenBrowser, &receiver,
                                           [&posted](const QVariantMap& info) { posted = info; });
    EXPECT_FALSE(model.acceptNavigation(QUrl::fromLocalFile("/home/t/Week 2.Pdf"), true));
    EXPECT_EQ(posted.value("pdfPath").toString(), "/home/t/Week 2.Pdf");
    EXPECT_TRUE(posted.value("pdfMode").toBool());
    posted.clear();
    EXPECT_FALSE(model.acceptNavigation(QUrl::fromLocalFile("/home/t/notes.txt"), true));
    EXPECT_FALSE(model.acceptBoardLayerNavigation(QUrl("https://example.org")));
    EXPECT_TRUE(posted.isEmpty());
    EXPECT_TRUE(model.acceptNavigation(QUrl("https://example.org"), true));
    EXPECT_TRUE(model.acceptBoardLayerNavigation(model.overlayBoardUrl()));
    EXPECT_TRUE(
        model.acceptBoardLayerNavigation(model.overlayBoardUrl().adjusted(QUrl::RemoveFragment)))
        << "the layer's page after its fragment changed";
  }
}

TEST(BrowserViewModel, Bookmarks) {
  test::StorageTree tree;
  Panel panel;
  BrowserViewModel& model = panel.model;
  BookmarkListModel& tiles = *model.bookmarks();
  QImage snapshot(200, 100, QImage::Format_RGB32);
  snapshot.fill(Qt::darkGreen);
  {  // a page whose title only repeats its address is named after its host
    model.navigationFinished(QUrl("http://lessons.example.net/unit"), false, false);
    EXPECT_TRUE(model.addBookmarkWithSnapshot("lessons.example.net/unit", snapshot, {200, 100}));
    model.navigationFinished(QUrl("https://example.org/"), false, false);
    EXPECT_TRUE(model.addBookmarkWithSnapshot("Example Domain", snapshot, {200, 100}));
    ASSERT_EQ(tiles.count(), 2);
    EXPECT_EQ(tiles.data(tiles.index(0), BookmarkListModel::NameRole).toString(), "Example Domain");
    EXPECT_EQ(tiles.data(tiles.index(0), BookmarkListModel::UrlRole).toString(),
              "https://example.org/");
    EXPECT_EQ(tiles.data(tiles.index(1), BookmarkListModel::NameRole).toString(),
              "lessons.example.net");
    EXPECT_TRUE(tiles.data(tiles.index(0), BookmarkListModel::ThumbnailRole)
                    .toString()
                    .startsWith("data:image/jpeg;base64,"));
  }
  {  // no snapshot, no bookmark
    QSignalSpy added(&model, &BrowserViewModel::bookmarkAdded);
    EXPECT_FALSE(model.addBookmarkWithSnapshot("x", QImage(), {200, 100}));
    ASSERT_EQ(added.size(), 1);
    EXPECT_FALSE(added.at(0).at(0).toBool());
  }
  {  // a tile's close button removes at once; a new panel lists what is left
    model.removeBookmark(tiles.data(tiles.index(1), BookmarkListModel::IdRole).toString());
    EXPECT_EQ(tiles.count(), 1);
    BrowserViewModel next("/opt/res", 5555, Panel::kKey, panel.thumbnails);
    QSignalSpy loaded(&next.bookmarkStore(), &BookmarkStore::bookmarksLoaded);
    next.loadBookmarks();
    ASSERT_TRUE(loaded.wait(10000));
    ASSERT_EQ(next.bookmarks()->count(), 1);
    EXPECT_EQ(next.bookmarks()->data(next.bookmarks()->index(0), BookmarkListModel::NameRole),
              "Example Domain");
  }
  {  // the PDF viewer is shown and bookmarked without the server's key
    model.setRequest({{"pdfMode", true}, {"pdfPath", "/home/t/a.pdf"}});
    model.navigationFinished(model.initialUrl(), false, false);
    EXPECT_EQ(model.address(),
              "file:///opt/res/dravinboard/assets/pdfviewer/web/viewer.html"
              "?file=http://localhost:5555/files/@@home@@t@@a.pdf");
    EXPECT_EQ(model.preAddress(), model.address());
    ASSERT_TRUE(model.addBookmarkWithSnapshot("a.pdf", snapshot, {200, 100}));
    ASSERT_EQ(tiles.count(), 2);
    for (int row = 0; row < 2; ++row) {
      EXPECT_FALSE(tiles.data(tiles.index(row), BookmarkListModel::UrlRole)
                       .toString()
                       .contains(Panel::kKey));
    }
  }
}

TEST(ShareModel, FolderClipboardAndMail) {
  QTemporaryDir dir;
  const QString path = dir.filePath("20250203_090507.png");
  test::writePicture(path, Qt::magenta, {40, 30});
  const QUrl file = QUrl::fromLocalFile(path);
  const QUrl gone = QUrl::fromLocalFile(dir.filePath("gone.png"));

  ShareModel share;
  QList<QUrl> opened;
  QStringList started;
  std::unique_ptr<QMimeData> clipboard;
  QString mailProgram = "/usr/bin/xdg-email";
  share.openUrl = [&opened](const QUrl& url) {
    opened.append(url);
    return true;
  };
  share.findExecutable = [&mailProgram](const QString&) { return mailProgram; };
  share.startDetached = [&started](const QString& program, const QStringList& args) {
    started = QStringList{program} + args;
    return true;
  };
  share.setClipboard = [&clipboard](QMimeData* data) { clipboard.reset(data); };
  {  // the folder holding the picture
    EXPECT_TRUE(share.showInFolder(file));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(QDir(opened[0].toLocalFile()), QDir(dir.path()));
    EXPECT_FALSE(share.showInFolder(gone));
    EXPECT_EQ(opened.size(), 1);
    EXPECT_FALSE(share.message().isEmpty());
  }
  {  // the clipboard: a file list and the picture
    EXPECT_TRUE(share.copy(file));
    EXPECT_TRUE(share.message().isEmpty());
    ASSERT_TRUE(clipboard);
    EXPECT_EQ(clipboard->urls(), QList<QUrl>{file});
    EXPECT_EQ(qvariant_cast<QImage>(clipboard->imageData()).size(), QSize(40, 30));
    EXPECT_EQ(clipboard->data("x-special/gnome-copied-files"), "copy\n" + file.toEncoded());
    clipboard.reset();
    EXPECT_FALSE(share.copy(gone));
    EXPECT_FALSE(clipboard);
  }
  {  // e-mail: the picture attached; without xdg-email a clear word instead
    EXPECT_TRUE(share.sendByEmail(file));
    EXPECT_EQ(started, (QStringList{"/usr/bin/xdg-email", "--attach", path}));
    started.clear();
    mailProgram.clear();
    EXPECT_FALSE(share.sendByEmail(file));
    EXPECT_TRUE(started.isEmpty());
    EXPECT_TRUE(share.message().contains("xdg-email"));
  }
}
