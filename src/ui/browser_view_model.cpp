#include "browser_view_model.h"

#include <QFile>
#include <QQuickItemGrabResult>
#include <QQuickWindow>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "app_log.h"
#include "global_init.h"
#include "notification_center.h"
#include "notification_names.h"
#include "resource_paths.h"
#include "thumbnail_service.h"

namespace dravin {
namespace {

inline constexpr int kSnapshotTimeoutMs = 2000;

// What the user chose in one opening of the panel holds for the next ones too.
struct CarriedSettings {
  double opacity = 1.0;
  bool removeBackground = false;
  bool inverted = false;
};

CarriedSettings& carried() {
  static CarriedSettings settings;
  return settings;
}

QString flagText(bool flag) {
  return flag ? QStringLiteral("true") : QStringLiteral("false");
}

// Pages without a title of their own show their address, with or without its scheme.
bool titleIsAddress(const QString& title, const QString& url) {
  const auto bare = [](QString text) {
    text = text.trimmed();
    for (const char* scheme : {"https://", "http://", "file://"})
      if (text.startsWith(QLatin1String(scheme))) text.remove(0, qstrlen(scheme));
    while (text.endsWith(QLatin1Char('/'))) text.chop(1);
    return text;
  };
  return bare(title) == bare(url);
}

}  // namespace

BrowserViewModel::BrowserViewModel(QObject* parent)
    : BrowserViewModel(resourceFolder(), httpPort(), accessKey(), ThumbnailService::shared(),
                       parent) {}

BrowserViewModel::BrowserViewModel(QString resourceFolder, int port, QString key,
                                   ThumbnailService& thumbnails, QObject* parent)
    : QObject(parent),
      resourceFolder_(std::move(resourceFolder)),
      port_(port),
      key_(std::move(key)),
      bookmarkStore_(thumbnails) {
  connect(&bookmarkStore_, &BookmarkStore::saveFailed, this, &BrowserViewModel::saveFailed);
  connect(&bookmarkStore_, &BookmarkStore::bookmarkListChanged, this,
          &BrowserViewModel::syncBookmarks);
}

void BrowserViewModel::setRequest(const QVariantMap& request) {
  request_ = request;
  const bool pdf = request.value(QStringLiteral("pdfMode")).toBool();
  const QString path = request.value(QStringLiteral("pdfPath")).toString();
  // A PDF request without a file has nothing to show: the panel opens as a browser.
  if (pdf && !path.isEmpty()) {
    mode_ = browser::Mode::pdf;
  } else if (request.value(QStringLiteral("lessonsMode")).toBool()) {
    mode_ = browser::Mode::lessons;
  } else {
    mode_ = browser::Mode::web;
  }
  pdfPath_ = mode_ == browser::Mode::pdf ? path : QString();
  emit requestChanged();
  emit initialUrlChanged();
  emit headerChanged();
}

void BrowserViewModel::setOffline(bool offline) {
  if (offline_ == offline) return;
  offline_ = offline;
  emit offlineChanged();
  emit initialUrlChanged();
  emit headerChanged();
}

QUrl BrowserViewModel::initialUrl() const {
  return browser::initialUrl(mode_, resourceFolder_, pdfPath_, offline_, port_, key_);
}

void BrowserViewModel::setPreAddress(const QString& text) {
  if (preAddress_ == text) return;
  preAddress_ = text;
  emit preAddressChanged();
}

double BrowserViewModel::opacityValue() const {
  return carried().opacity;
}

void BrowserViewModel::setOpacityValue(double value) {
  value = std::clamp(value, browser::kMinOpacity, browser::kMaxOpacity);
  if (carried().opacity == value) return;
  carried().opacity = value;
  emit opacityValueChanged();
}

void BrowserViewModel::setShowPopoverSettings(bool show) {
  if (showPopoverSettings_ == show) return;
  showPopoverSettings_ = show;
  emit showPopoverSettingsChanged();
}

void BrowserViewModel::setShowBookmark(bool show) {
  if (showBookmark_ == show) return;
  showBookmark_ = show;
  emit showBookmarkChanged();
}

void BrowserViewModel::setEnableAnnotation(bool enable) {
  if (enableAnnotation_ == enable) return;
  enableAnnotation_ = enable;
  emit enableAnnotationChanged();
  emit boardScriptRequested(QStringLiteral("allowAnnotation(%1)").arg(flagText(enable)));
}

bool BrowserViewModel::enableRemoveBackground() const {
  return carried().removeBackground;
}

void BrowserViewModel::setEnableRemoveBackground(bool enable) {
  if (carried().removeBackground == enable) return;
  carried().removeBackground = enable;
  emit enableRemoveBackgroundChanged();
  logLine(QStringLiteral("enableRemoveBackground ") + flagText(enable));
  // The styles cannot be taken back by a script: the page is loaded again without them.
  if (const auto script = browser::removalChangedScript(enable, inverted())) {
    emit scriptRequested(*script);
  } else {
    emit reloadRequested();
  }
}

bool BrowserViewModel::inverted() const {
  return carried().inverted;
}

void BrowserViewModel::setInverted(bool inverted) {
  if (carried().inverted == inverted) return;
  carried().inverted = inverted;
  emit invertedChanged();
  emit scriptRequested(browser::invertChangedScript(inverted));
}

QString BrowserViewModel::pageStyleScript() const {
  QFile file(resourceFolder_ + QStringLiteral("/dravinboard/assets/page_style.js"));
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(file.readAll());
}

QUrl BrowserViewModel::overlayBoardUrl() const {
  QUrl url = QUrl::fromLocalFile(resourceFolder_ + QStringLiteral("/dravinboard/index.html"));
  url.setQuery(QStringLiteral("overlay=1"));
  url.setFragment(browser::serverAccessFragment(port_, key_));
  return url;
}

bool BrowserViewModel::loadAddress(const QString& text) {
  const std::optional<QUrl> url = browser::loadAddress(text);
  if (!url) return false;
  emit loadRequested(*url);
  return true;
}

void BrowserViewModel::goHome() {
  emit loadRequested(QUrl(browser::kSearchHomePage));
}

void BrowserViewModel::zoomIn() {
  const double zoom = browser::zoomIn(zoom_);
  if (zoom == zoom_) return;
  zoom_ = zoom;
  emit zoomChanged();
}

void BrowserViewModel::zoomOut() {
  const double zoom = browser::zoomOut(zoom_);
  if (zoom == zoom_) return;
  zoom_ = zoom;
  emit zoomChanged();
}

void BrowserViewModel::openBookmark(const QString& url) {
  if (!loadAddress(url)) return;
  setPreAddress(url);
  setShowBookmark(false);
}

void BrowserViewModel::removeBookmark(const QString& id) {
  bookmarkStore_.removeBookmark(id);
}

void BrowserViewModel::loadBookmarks() {
  bookmarkStore_.loadBookmarks();
}

bool BrowserViewModel::acceptNavigation(const QUrl& url, bool mainFrame) {
  const browser::Navigation decision = browser::decideNavigation(url, mainFrame, resourceFolder_);
  if (decision == browser::Navigation::allow) return true;
  if (url.isLocalFile()) {
    logLine(QStringLiteral("Open File: ") + url.toString());
    if (decision == browser::Navigation::openPdf) {
      logLine(QStringLiteral("It's a PDF! ") + url.path());
      NotificationCenter::instance().post(
          notifications::kOpenBrowser,
          {{QStringLiteral("pdfMode"), true}, {QStringLiteral("pdfPath"), url.path()}});
    }
  }
  return false;
}

bool BrowserViewModel::acceptBoardLayerNavigation(const QUrl& url) {
  if (url.adjusted(QUrl::RemoveFragment) == overlayBoardUrl().adjusted(QUrl::RemoveFragment))
    return true;
  acceptNavigation(url, true);
  return false;
}

void BrowserViewModel::navigationFinished(const QUrl& url, bool canGoBack, bool canGoForward) {
  const bool remove = enableRemoveBackground();
  logLine(QStringLiteral("didFinish: ") + browser::invertNumber(inverted()) + QLatin1Char(' ') +
          flagText(remove));
  for (const QString& script : browser::scriptsAfterNavigation(pdfMode(), remove, inverted()))
    emit scriptRequested(script);
  if (canGoBack_ != canGoBack || canGoForward_ != canGoForward) {
    canGoBack_ = canGoBack;
    canGoForward_ = canGoForward;
    emit historyChanged();
  }
  const QString text = browser::shownAddress(url);
  if (address_ != text) {
    address_ = text;
    emit addressChanged();
  }
  setPreAddress(text);
}

void BrowserViewModel::navigationFailed(const QString& error) {
  logLine(QStringLiteral("didFail.......... ") + error);
}

void BrowserViewModel::boardLayerLoaded() {
  emit boardScriptRequested(QStringLiteral("allowAnnotation(%1)").arg(flagText(enableAnnotation_)));
}

void BrowserViewModel::addBookmark(QQuickItem* pageView, const QString& title) {
  QSharedPointer<QQuickItemGrabResult> grab;
  if (pageView && pageView->isVisible() && pageView->window()) grab = pageView->grabToImage();
  if (!grab) {
    emit bookmarkAdded(false);
    return;
  }
  const qreal ratio = pageView->window()->effectiveDevicePixelRatio();
  const QSize container(static_cast<int>(std::floor(pageView->width() * ratio)),
                        static_cast<int>(std::floor(pageView->height() * ratio)));
  // Answered once: by the grab, or by the timeout when the view is not drawn.
  auto done = std::make_shared<bool>(false);
  QPointer<BrowserViewModel> self(this);
  connect(grab.data(), &QQuickItemGrabResult::ready, this, [self, grab, done, title, container] {
    if (*done || !self) return;
    *done = true;
    self->addBookmarkWithSnapshot(title, grab->image(), container);
  });
  QTimer::singleShot(kSnapshotTimeoutMs, this, [this, done] {
    if (*done) return;
    *done = true;
    emit bookmarkAdded(false);
  });
}

bool BrowserViewModel::addBookmarkWithSnapshot(const QString& title, const QImage& snapshot,
                                               QSize containerSize) {
  const QString url = address_.isEmpty() ? preAddress_ : address_;
  const QString ownTitle = titleIsAddress(title, url) ? QString() : title;
  const bool added = bookmarkStore_.addBookmark(url, ownTitle, snapshot, containerSize);
  emit bookmarkAdded(added);
  return added;
}

void BrowserViewModel::syncBookmarks() {
  bookmarkTiles_.setItems(bookmarkStore_.bookmarkList());
}

}  // namespace dravin
