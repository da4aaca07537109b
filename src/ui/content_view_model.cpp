#include "content_view_model.h"

#include <QDesktopServices>
#include <QImage>
#include <QImageReader>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "notification_center.h"
#include "notification_names.h"

namespace dravin {

namespace {

// The notification carries either a URL or its text; anything else, or text that is not an
// absolute URL, is no request at all.
std::optional<QUrl> urlFromUserInfo(const QVariantMap& info) {
  const QVariant value = info.value(QStringLiteral("url"));
  QUrl url;
  if (value.typeId() == QMetaType::QUrl) {
    url = value.toUrl();
  } else if (value.typeId() == QMetaType::QString) {
    url = QUrl(value.toString());
  } else {
    return std::nullopt;
  }
  if (!url.isValid() || url.isEmpty() || url.isRelative()) return std::nullopt;
  return url;
}

bool isPicture(const QUrl& url) {
  if (!url.isLocalFile()) return false;
  QImageReader reader(url.toLocalFile());
  return !reader.read().isNull();
}

}  // namespace

ContentViewModel::ContentViewModel(QObject* parent)
    : QObject(parent),
      openUrlExternally([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
  namespace n = notifications;
  auto& center = NotificationCenter::instance();
  center.observe(n::kOpenPipCamera, this,
                 [this](const QVariantMap&) { setShowPipCamera(!showPipCamera_); });
  center.observe(n::kOpenDocCamera, this, [this](const QVariantMap& info) { openDocCamera(info); });
  center.observe(n::kOpenBrowser, this, [this](const QVariantMap& info) { openBrowser(info); });
  center.observe(n::kOpenTunnelList, this,
                 [this](const QVariantMap&) { setShowTunnelList(!showTunnelList_); });
  center.observe(n::kOpenGifGenerator, this,
                 [this](const QVariantMap&) { setShowGifGenerator(!showGifGenerator_); });
  center.observe(n::kOpenVeltroConfig, this,
                 [this](const QVariantMap&) { setShowVeltroConfig(!showVeltroConfig_); });
  center.observe(n::kShowLoadingDravinBoard, this,
                 [this](const QVariantMap& info) { showLoading(info); });
  center.observe(n::kOpenSideBySide, this,
                 [this](const QVariantMap& info) { openSideBySide(info); });
}

void ContentViewModel::openDocCamera(const QVariantMap& info) {
  const QVariant type = info.value(QStringLiteral("type"));
  if (type.typeId() == QMetaType::QString && type.toString() == QLatin1String("close")) {
    setShowDocCamera(false);
  } else {
    setShowDocCamera(!showDocCamera_);
  }
}

void ContentViewModel::openBrowser(const QVariantMap& info) {
  if (info.isEmpty()) return;
  // Closing first lets the panel be built anew, so a new request starts from its first page.
  setShowBrowser(false);
  QTimer::singleShot(kBrowserReopenDelayMs, this, [this, info] {
    browserRequest_ = info;
    emit browserRequestChanged();
    setShowBrowser(true);
  });
}

void ContentViewModel::closeBrowser() {
  setShowBrowser(false);
}

void ContentViewModel::showLoading(const QVariantMap& info) {
  const QVariant show = info.value(QStringLiteral("show"));
  const QVariant message = info.value(QStringLiteral("message"));
  if (show.typeId() != QMetaType::Bool || message.typeId() != QMetaType::QString) return;
  if (loadingDravinBoard_ != show.toBool()) {
    loadingDravinBoard_ = show.toBool();
    emit loadingDravinBoardChanged();
  }
  if (loadingDravinBoardError_ != message.toString()) {
    loadingDravinBoardError_ = message.toString();
    emit loadingDravinBoardErrorChanged();
  }
}

void ContentViewModel::openSideBySide(const QVariantMap& info) {
  const std::optional<QUrl> url = urlFromUserInfo(info);
  if (!url) return;
  if (!isPicture(*url)) {
    // Recordings and other files go to the desktop's default application.
    if (openUrlExternally) openUrlExternally(*url);
    return;
  }
  if (sideBySideImage_ != *url) {
    sideBySideImage_ = *url;
    emit sideBySideImageChanged();
  }
  if (shareUrl_ != *url) {
    shareUrl_ = *url;
    emit shareUrlChanged();
  }
  setViewState(QSizeF(0, 0));
  setScale(1.0);
  setLastScale(1.0);
  if (showSideBySide_) return;
  setSplitWidth(viewWidth_ / 2.0);
  setShowSideBySide(true);
}

void ContentViewModel::closeSideBySide() {
  setShowSideBySide(false);
}

void ContentViewModel::setSplitWidth(double width) {
  if (splitWidth_ && *splitWidth_ == width) return;
  splitWidth_ = width;
  emit splitWidthChanged();
}

void ContentViewModel::pinchChanged(double magnification) {
  if (!pinchGestureStart_) pinchGestureStart_ = currentZoom_;
  emit zoomRequested(std::clamp(std::abs(magnification) * *pinchGestureStart_, kMinZoom, kMaxZoom));
}

void ContentViewModel::pinchEnded() {
  pinchGestureStart_.reset();
}

void ContentViewModel::pictureScaleChanged(double magnification) {
  setScale(std::clamp(lastScale_ * std::abs(magnification), kMinPictureScale, kMaxPictureScale));
}

void ContentViewModel::pictureScaleEnded() {
  setLastScale(scale_);
}

void ContentViewModel::picturePanned(double dx, double dy) {
  if (!panOrigin_) panOrigin_ = viewState_;
  setViewState(*panOrigin_ + QSizeF(dx, dy));
}

void ContentViewModel::picturePanEnded() {
  panOrigin_.reset();
}

void ContentViewModel::pipDragged(double dx, double dy) {
  pipOffsetNew_ = QSizeF(dx, dy);
  emit pipOffsetChanged();
}

void ContentViewModel::pipDragEnded() {
  pipOffset_ += pipOffsetNew_;
  pipOffsetNew_ = QSizeF(0, 0);
  emit pipOffsetChanged();
}

void ContentViewModel::browserDraggedBy(double dx, double dy) {
  browserDragged_ = QSizeF(dx, dy);
  emit browserOffsetChanged();
}

void ContentViewModel::browserDragEnded() {
  browserAccumulated_ += browserDragged_;
  browserDragged_ = QSizeF(0, 0);
  emit browserOffsetChanged();
}

void ContentViewModel::browserResized(double dw, double dh) {
  browserIsResizing_ = true;
  browserFrame_ =
      QSizeF(std::max(browserFrameAccumulated_.width() + dw, kBrowserMinFrame.width()),
             std::max(browserFrameAccumulated_.height() + dh, kBrowserMinFrame.height()));
  emit browserFrameChanged();
}

void ContentViewModel::browserResizeEnded() {
  browserIsResizing_ = false;
  browserFrameAccumulated_ = browserFrame_;
  emit browserFrameChanged();
}

void ContentViewModel::setAllowAnnotation(bool allow) {
  if (allowAnnotation_ == allow) return;
  allowAnnotation_ = allow;
  emit allowAnnotationChanged();
}

void ContentViewModel::setViewWidth(double width) {
  if (viewWidth_ == width) return;
  viewWidth_ = width;
  emit viewWidthChanged();
}

void ContentViewModel::setCurrentZoom(double zoom) {
  if (currentZoom_ == zoom) return;
  currentZoom_ = zoom;
  emit currentZoomChanged();
}

void ContentViewModel::setShowPipCamera(bool show) {
  if (showPipCamera_ == show) return;
  showPipCamera_ = show;
  emit showPipCameraChanged();
}

void ContentViewModel::setShowDocCamera(bool show) {
  if (showDocCamera_ == show) return;
  showDocCamera_ = show;
  emit showDocCameraChanged();
}

void ContentViewModel::setShowSideBySide(bool show) {
  if (showSideBySide_ == show) return;
  showSideBySide_ = show;
  emit showSideBySideChanged();
}

void ContentViewModel::setShowBrowser(bool show) {
  if (showBrowser_ == show) return;
  showBrowser_ = show;
  emit showBrowserChanged();
}

void ContentViewModel::setShowTunnelList(bool show) {
  if (showTunnelList_ == show) return;
  showTunnelList_ = show;
  emit showTunnelListChanged();
}

void ContentViewModel::setShowGifGenerator(bool show) {
  if (showGifGenerator_ == show) return;
  showGifGenerator_ = show;
  emit showGifGeneratorChanged();
}

void ContentViewModel::setShowVeltroConfig(bool show) {
  if (showVeltroConfig_ == show) return;
  showVeltroConfig_ = show;
  emit showVeltroConfigChanged();
}

void ContentViewModel::setScale(double scale) {
  if (scale_ == scale) return;
  scale_ = scale;
  emit scaleChanged();
}

void ContentViewModel::setLastScale(double scale) {
  if (lastScale_ == scale) return;
  lastScale_ = scale;
  emit lastScaleChanged();
}

void ContentViewModel::setViewState(QSizeF state) {
  if (viewState_ == state) return;
  viewState_ = state;
  emit viewStateChanged();
}

}  // namespace dravin
