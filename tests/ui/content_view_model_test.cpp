#include "content_view_model.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <ostream>
#include <vector>

#include "notification_center.h"
#include "notification_names.h"

// Readable failures.
void PrintTo(const QUrl& url, std::ostream* os) {
  *os << url.toString().toStdString();
}
void PrintTo(const QSizeF& size, std::ostream* os) {
  *os << size.width() << " x " << size.height();
}

using namespace dravin;
namespace n = dravin::notifications;

namespace {

void post(const char* name, const QVariantMap& info = {}) {
  NotificationCenter::instance().post(QString::fromLatin1(name), info);
}

QUrl writePicture(const QTemporaryDir& dir, const QString& name, QColor color) {
  QImage image(64, 48, QImage::Format_RGB32);
  image.fill(color);
  const QString path = dir.filePath(name);
  EXPECT_TRUE(image.save(path, "PNG"));
  return QUrl::fromLocalFile(path);
}

QUrl writeBytes(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  QFile file(dir.filePath(name));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  return QUrl::fromLocalFile(file.fileName());
}

// A model whose files for the default application are recorded instead of opened.
struct Layout {
  ContentViewModel model;
  std::vector<QUrl> openedExternally;
  Layout() {
    model.openUrlExternally = [this](const QUrl& url) {
      openedExternally.push_back(url);
      return true;
    };
  }
};

}  // namespace

TEST(ContentViewModel, PanelsCloseOrToggle) {
  Layout layout;
  ContentViewModel& m = layout.model;
  {  // "close" never opens the document camera; anything else toggles it
    post(n::kOpenDocCamera, {{"type", "close"}});
    EXPECT_FALSE(m.showDocCamera());
    post(n::kOpenDocCamera);
    EXPECT_TRUE(m.showDocCamera());
    post(n::kOpenDocCamera, {{"type", "close"}});
    EXPECT_FALSE(m.showDocCamera());
    post(n::kOpenDocCamera, {{"type", "open"}});
    EXPECT_TRUE(m.showDocCamera());
    post(n::kOpenDocCamera, {{"type", "open"}});
    EXPECT_FALSE(m.showDocCamera());
  }
  {  // two requests in a row leave a panel as it was, and touch no other panel
    QSignalSpy pip(&m, &ContentViewModel::showPipCameraChanged);
    post(n::kOpenPipCamera);
    EXPECT_TRUE(m.showPipCamera());
    post(n::kOpenPipCamera);
    EXPECT_FALSE(m.showPipCamera());
    EXPECT_EQ(pip.count(), 2);
    EXPECT_FALSE(m.showDocCamera());
  }
  {  // each toggle drives its own flag
    post(n::kOpenTunnelList);
    post(n::kOpenGifGenerator);
    post(n::kOpenGifGenerator);
    post(n::kOpenVeltroConfig);
    EXPECT_TRUE(m.showTunnelList());
    EXPECT_FALSE(m.showGifGenerator());
    EXPECT_TRUE(m.showVeltroConfig());
    EXPECT_FALSE(m.showBrowser());
    EXPECT_FALSE(m.showSideBySide());
  }
}

TEST(ContentViewModel, BrowserReopensWithTheNewRequest) {
  Layout layout;
  ContentViewModel& m = layout.model;
  QSignalSpy shown(&m, &ContentViewModel::showBrowserChanged);

  // A request without user info schedules nothing: only the later real request opens the panel.
  post(n::kOpenBrowser);
  const QVariantMap lessons{{"lessonsMode", true}};
  post(n::kOpenBrowser, lessons);
  EXPECT_FALSE(m.showBrowser()) << "the panel opens only after the delay";
  ASSERT_TRUE(QTest::qWaitFor([&] { return m.showBrowser(); }, 2000));
  EXPECT_EQ(shown.count(), 1);
  EXPECT_EQ(m.browserRequest(), lessons);

  const QVariantMap pdf{{"pdfMode", true}, {"pdfPath", "/home/user/Slides one.pdf"}};
  QElapsedTimer clock;
  clock.start();
  post(n::kOpenBrowser, pdf);
  EXPECT_FALSE(m.showBrowser()) << "an open panel closes at once";
  EXPECT_EQ(m.browserRequest(), lessons) << "the old content stays until the reopening";
  ASSERT_TRUE(QTest::qWaitFor([&] { return m.showBrowser(); }, 2000));
  EXPECT_GE(clock.elapsed(), 180);
  EXPECT_EQ(m.browserRequest(), pdf);
  EXPECT_EQ(shown.count(), 3);

  m.closeBrowser();
  EXPECT_FALSE(m.showBrowser());
}

TEST(ContentViewModel, LoadingOverlayIgnoresMalformedUserInfo) {
  Layout layout;
  ContentViewModel& m = layout.model;
  post(n::kShowLoadingDravinBoard, {{"show", "true"}, {"message", ""}});
  post(n::kShowLoadingDravinBoard, {{"show", true}, {"message", 404}});
  post(n::kShowLoadingDravinBoard, {{"show", true}});
  post(n::kShowLoadingDravinBoard, {{"message", "Could not connect"}});
  EXPECT_FALSE(m.loadingDravinBoard());
  EXPECT_TRUE(m.loadingDravinBoardError().isEmpty());

  post(n::kShowLoadingDravinBoard, {{"show", true}, {"message", ""}});
  EXPECT_TRUE(m.loadingDravinBoard());
  EXPECT_TRUE(m.loadingDravinBoardError().isEmpty());
  post(n::kShowLoadingDravinBoard, {{"show", true}, {"message", "The page could not load."}});
  EXPECT_TRUE(m.loadingDravinBoard());
  EXPECT_EQ(m.loadingDravinBoardError(), "The page could not load.");
  post(n::kShowLoadingDravinBoard, {{"show", false}, {"message", ""}});
  EXPECT_FALSE(m.loadingDravinBoard());
  EXPECT_TRUE(m.loadingDravinBoardError().isEmpty());
}

TEST(ContentViewModel, SideBySideShowsPicturesAndHandsOtherFilesOn) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  Layout layout;
  ContentViewModel& m = layout.model;
  m.setViewWidth(1000);

  {  // no URL, a URL of another type, text that is no absolute URL: nothing happens
    post(n::kOpenSideBySide);
    post(n::kOpenSideBySide, {{"url", 12}});
    post(n::kOpenSideBySide, {{"url", "snapshot.png"}});
    post(n::kOpenSideBySide, {{"image", QImage(4, 4, QImage::Format_RGB32)}});
    EXPECT_FALSE(m.showSideBySide());
    EXPECT_TRUE(layout.openedExternally.empty());
    EXPECT_FALSE(m.splitWidth().has_value());
  }
  {  // a recording, and a picture cut short, open in the default application instead
    const QUrl movie = writeBytes(dir, "Video 1.mp4", QByteArray(2048, '\x01'));
    QByteArray png;
    {
      const QUrl whole = writePicture(dir, "whole.png", Qt::red);
      QFile file(whole.toLocalFile());
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      png = file.read(40);
    }
    const QUrl broken = writeBytes(dir, "broken.png", png);
    post(n::kOpenSideBySide, {{"url", movie}});
    post(n::kOpenSideBySide, {{"url", broken.toString()}});
    EXPECT_EQ(layout.openedExternally, (std::vector<QUrl>{movie, broken}));
    EXPECT_FALSE(m.showSideBySide());
    EXPECT_TRUE(m.sideBySideImage().isEmpty());
  }
  const QUrl first = writePicture(dir, "Snapshot 1.png", Qt::blue);
  {  // a picture opens beside the live view, split in the middle
    post(n::kOpenSideBySide, {{"url", first}});
    EXPECT_TRUE(m.showSideBySide());
    EXPECT_EQ(m.sideBySideImage(), first);
    EXPECT_EQ(m.shareUrl(), first);
    ASSERT_TRUE(m.splitWidth().has_value());
    EXPECT_DOUBLE_EQ(*m.splitWidth(), 500.0);
  }
  {  // a new picture replaces the shown one in place: zoom and pan reset, the split stays
    m.pictureScaleChanged(3.0);
    m.pictureScaleEnded();
    m.picturePanned(40, -20);
    m.picturePanEnded();
    m.setSplitWidth(420);
    m.setViewWidth(1600);
    EXPECT_DOUBLE_EQ(m.scale(), 3.0);
    EXPECT_EQ(m.viewState(), QSizeF(40, -20));

    const QUrl second = writePicture(dir, "Snapshot 2.png", Qt::green);
    post(n::kOpenSideBySide, {{"url", second.toString()}});
    EXPECT_TRUE(m.showSideBySide());
    EXPECT_EQ(m.sideBySideImage(), second);
    EXPECT_EQ(m.shareUrl(), second);
    EXPECT_DOUBLE_EQ(*m.splitWidth(), 420.0);
    EXPECT_DOUBLE_EQ(m.scale(), 1.0);
    EXPECT_DOUBLE_EQ(m.lastScale(), 1.0);
    EXPECT_EQ(m.viewState(), QSizeF(0, 0));
  }
  {  // once closed, the next picture splits the view anew
    m.closeSideBySide();
    EXPECT_FALSE(m.showSideBySide());
    post(n::kOpenSideBySide, {{"url", first}});
    EXPECT_TRUE(m.showSideBySide());
    EXPECT_DOUBLE_EQ(*m.splitWidth(), 800.0);
  }
  EXPECT_EQ(layout.openedExternally.size(), 2u);
}

TEST(ContentViewModel, PinchZoomsFromTheZoomAtItsStart) {
  Layout layout;
  ContentViewModel& m = layout.model;
  QSignalSpy zoom(&m, &ContentViewModel::zoomRequested);
  auto last = [&] { return zoom.takeLast().at(0).toDouble(); };

  {  // clamped to 0.5 ... 10.0
    m.pinchChanged(30.0);
    EXPECT_DOUBLE_EQ(last(), 10.0);
    m.pinchEnded();
    m.pinchChanged(0.1);
    EXPECT_DOUBLE_EQ(last(), 0.5);
    m.pinchEnded();
    m.pinchChanged(-2.0);
    EXPECT_DOUBLE_EQ(last(), 2.0) << "the magnification counts by its size";
    m.pinchEnded();
  }
  {  // the start value holds for the whole gesture, while the controller's zoom moves on
    m.setCurrentZoom(2.0);
    m.pinchChanged(1.5);
    EXPECT_DOUBLE_EQ(last(), 3.0);
    m.setCurrentZoom(3.0);
    m.pinchChanged(2.0);
    EXPECT_DOUBLE_EQ(last(), 4.0);
    m.pinchEnded();
    m.pinchChanged(2.0);
    EXPECT_DOUBLE_EQ(last(), 6.0);
    m.pinchEnded();
  }
}

TEST(ContentViewModel, DragsSettleIntoOffsets) {
  Layout layout;
  ContentViewModel& m = layout.model;
  {  // a drag shows as a pending offset, then joins the settled one
    m.pipDragged(-30, 10);
    EXPECT_EQ(m.pipOffsetNew(), QSizeF(-30, 10));
    EXPECT_EQ(m.pipOffset(), QSizeF(0, 0));
    m.pipDragEnded();
    m.pipDragged(-5, 5);
    m.pipDragEnded();
    EXPECT_EQ(m.pipOffset(), QSizeF(-35, 15));
    EXPECT_EQ(m.pipOffsetNew(), QSizeF(0, 0));
  }
  {  // the side-by-side picture pans and zooms from where the last gesture left it
    m.picturePanned(10, 10);
    m.picturePanned(20, 30);
    m.picturePanEnded();
    m.picturePanned(5, 0);
    EXPECT_EQ(m.viewState(), QSizeF(25, 30));
    m.picturePanEnded();
    m.pictureScaleChanged(2.0);
    m.pictureScaleEnded();
    m.pictureScaleChanged(1.5);
    EXPECT_DOUBLE_EQ(m.scale(), 3.0);
    EXPECT_DOUBLE_EQ(m.lastScale(), 2.0);
    m.pictureScaleEnded();
    EXPECT_DOUBLE_EQ(m.lastScale(), 3.0);
  }
  {  // the browser grows from its settled size and never below its minimum
    const QSizeF start = m.browserFrame();
    m.browserResized(100, 50);
    EXPECT_TRUE(m.browserIsResizing());
    m.browserResized(120, 60);
    m.browserResizeEnded();
    EXPECT_FALSE(m.browserIsResizing());
    EXPECT_EQ(m.browserFrame(), start + QSizeF(120, 60));
    m.browserResized(-5000, -5000);
    m.browserResizeEnded();
    EXPECT_EQ(m.browserFrame(), ContentViewModel::kBrowserMinFrame);
    m.browserDraggedBy(200, -40);
    m.browserDragEnded();
    m.browserDraggedBy(-50, 0);
    EXPECT_EQ(m.browserAccumulated(), QSizeF(200, -40));
    EXPECT_EQ(m.browserDragged(), QSizeF(-50, 0));
  }
}
