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

QUrl writePng(const QTemporaryDir& dir, const QString& name, QColor color) {
  QImage image(64, 48, QImage::Format_RGB32);
  image.fill(color);
  EXPECT_TRUE(image.save(dir.filePath(name), "PNG"));
  return QUrl::fromLocalFile(dir.filePath(name));
}

// Files meant for the default application are recorded instead of opened.
class ContentViewModelTest : public testing::Test {
 protected:
  ContentViewModelTest() {
    m.openUrlExternally = [this](const QUrl& url) {
      openedExternally.push_back(url);
      return true;
    };
  }
  ContentViewModel m;
  std::vector<QUrl> openedExternally;
};

}  // namespace

TEST_F(ContentViewModelTest, PanelsCloseOrToggle) {
  // Only "close" differs: any other type toggles the document camera.
  auto doc = [&](const QVariantMap& info) {
    post(n::kOpenDocCamera, info);
    return m.showDocCamera();
  };
  const QVariantMap close{{"type", "close"}}, open{{"type", "open"}};
  EXPECT_FALSE(doc(close));
  EXPECT_TRUE(doc({}));
  EXPECT_FALSE(doc(close));
  EXPECT_TRUE(doc(open));
  EXPECT_FALSE(doc(open));

  QSignalSpy pip(&m, &ContentViewModel::showPipCameraChanged);
  post(n::kOpenPipCamera);
  EXPECT_TRUE(m.showPipCamera());
  post(n::kOpenPipCamera);
  EXPECT_FALSE(m.showPipCamera());
  EXPECT_EQ(pip.count(), 2);

  // Each notification drives its own panel only.
  post(n::kOpenTunnelList);
  post(n::kOpenGifGenerator);
  post(n::kOpenVeltroConfig);
  EXPECT_TRUE(m.showTunnelList() && m.showGifGenerator() && m.showVeltroConfig());
  EXPECT_FALSE(m.showPipCamera() || m.showDocCamera() || m.showBrowser() || m.showSideBySide());
}

TEST_F(ContentViewModelTest, BrowserReopensWithTheNewRequest) {
  QSignalSpy shown(&m, &ContentViewModel::showBrowserChanged);
  const QVariantMap lessons{{"lessonsMode", true}};
  post(n::kOpenBrowser, lessons);
  EXPECT_FALSE(m.showBrowser()) << "the panel opens only after the delay";
  ASSERT_TRUE(QTest::qWaitFor([&] { return m.showBrowser(); }, 2000));
  EXPECT_EQ(shown.count(), 1);
  EXPECT_EQ(m.browserRequest(), lessons);
  post(n::kOpenBrowser);
  EXPECT_TRUE(m.showBrowser()) << "a request without user info is no request";

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
}

TEST_F(ContentViewModelTest, LoadingOverlayIgnoresMalformedUserInfo) {
  post(n::kShowLoadingDravinBoard, {{"show", "true"}, {"message", "x"}});
  post(n::kShowLoadingDravinBoard, {{"show", true}, {"message", 404}});
  EXPECT_FALSE(m.loadingDravinBoard());
  EXPECT_TRUE(m.loadingDravinBoardError().isEmpty());

  post(n::kShowLoadingDravinBoard, {{"show", true}, {"message", "The page could not load."}});
  EXPECT_TRUE(m.loadingDravinBoard());
  EXPECT_EQ(m.loadingDravinBoardError(), "The page could not load.");
  post(n::kShowLoadingDravinBoard, {{"show", false}, {"message", ""}});
  EXPECT_FALSE(m.loadingDravinBoard());
  EXPECT_TRUE(m.loadingDravinBoardError().isEmpty());
}

TEST_F(ContentViewModelTest, SideBySideShowsPicturesAndHandsOtherFilesOn) {
  QTemporaryDir dir;
  m.setViewWidth(1000);

  // Neither a URL of another type nor text that is no absolute URL is a request.
  post(n::kOpenSideBySide, {{"url", 12}});
  post(n::kOpenSideBySide, {{"url", "snapshot.png"}});
  EXPECT_FALSE(m.showSideBySide());
  EXPECT_TRUE(openedExternally.empty());

  // A picture cut short is no picture either: it must decode, not just look like a PNG.
  QFile movieFile(dir.filePath("Video 1.mp4"));
  ASSERT_TRUE(movieFile.open(QIODevice::WriteOnly) && movieFile.resize(2048));
  const QUrl movie = QUrl::fromLocalFile(movieFile.fileName());
  const QUrl broken = writePng(dir, "broken.png", Qt::red);
  ASSERT_TRUE(QFile::resize(broken.toLocalFile(), 40));
  post(n::kOpenSideBySide, {{"url", movie}});
  post(n::kOpenSideBySide, {{"url", broken.toString()}});
  EXPECT_EQ(openedExternally, (std::vector<QUrl>{movie, broken}));
  EXPECT_FALSE(m.showSideBySide());
  EXPECT_EQ(m.splitWidth(), std::nullopt);

  const QUrl first = writePng(dir, "Snapshot 1.png", Qt::blue);
  post(n::kOpenSideBySide, {{"url", first}});
  EXPECT_TRUE(m.showSideBySide());
  EXPECT_EQ(m.sideBySideImage(), first);
  EXPECT_EQ(m.shareUrl(), first);
  EXPECT_EQ(m.splitWidth(), 500.0) << "split in the middle";

  // Zoom and pan go on from where the last gesture left them...
  m.pictureScaleChanged(2.0);
  m.pictureScaleEnded();
  m.pictureScaleChanged(1.5);
  EXPECT_DOUBLE_EQ(m.scale(), 3.0);
  m.pictureScaleEnded();
  m.picturePanned(10, 10);
  m.picturePanned(40, -20);
  m.picturePanEnded();
  m.picturePanned(5, 0);
  EXPECT_EQ(m.viewState(), QSizeF(45, -20));
  m.picturePanEnded();
  // ...until a new picture replaces the shown one in place: they reset, the split stays.
  m.setSplitWidth(420);
  m.setViewWidth(1600);
  const QUrl second = writePng(dir, "Snapshot 2.png", Qt::green);
  post(n::kOpenSideBySide, {{"url", second.toString()}});
  EXPECT_EQ(m.sideBySideImage(), second);
  EXPECT_EQ(m.shareUrl(), second);
  EXPECT_EQ(m.splitWidth(), 420.0);
  EXPECT_DOUBLE_EQ(m.scale(), 1.0);
  EXPECT_DOUBLE_EQ(m.lastScale(), 1.0);
  EXPECT_EQ(m.viewState(), QSizeF(0, 0));

  // Once closed, the next picture splits the view anew.
  m.closeSideBySide();
  post(n::kOpenSideBySide, {{"url", first}});
  EXPECT_TRUE(m.showSideBySide());
  EXPECT_EQ(m.splitWidth(), 800.0);
  EXPECT_EQ(openedExternally.size(), 2u);
}

TEST_F(ContentViewModelTest, PinchZoomsFromTheZoomAtItsStart) {
  QSignalSpy zoom(&m, &ContentViewModel::zoomRequested);
  auto pinch = [&](double magnification) {
    m.pinchChanged(magnification);
    return zoom.takeLast().at(0).toDouble();
  };

  EXPECT_DOUBLE_EQ(pinch(30.0), 10.0);
  m.pinchEnded();
  EXPECT_DOUBLE_EQ(pinch(0.1), 0.5);
  m.pinchEnded();

  // The start value holds for the whole gesture while the controller's zoom moves on.
  m.setCurrentZoom(2.0);
  EXPECT_DOUBLE_EQ(pinch(1.5), 3.0);
  m.setCurrentZoom(3.0);
  EXPECT_DOUBLE_EQ(pinch(2.0), 4.0);
  m.pinchEnded();
  EXPECT_DOUBLE_EQ(pinch(2.0), 6.0);
}

TEST_F(ContentViewModelTest, BrowserGrowsFromItsSettledSizeAboveItsMinimum) {
  const QSizeF start = m.browserFrame();
  m.browserResized(100, 50);
  m.browserResized(120, 60);
  m.browserResizeEnded();
  EXPECT_EQ(m.browserFrame(), start + QSizeF(120, 60));
  m.browserResized(10, 10);
  EXPECT_EQ(m.browserFrame(), start + QSizeF(130, 70));
  m.browserResized(-5000, -5000);
  EXPECT_EQ(m.browserFrame(), ContentViewModel::kBrowserMinFrame);
}
