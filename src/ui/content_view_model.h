#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QPointF>
#include <QSizeF>
#include <QUrl>
#include <QVariant>
#include <QVariantMap>
#include <functional>
#include <optional>

namespace dravin {

// State of the main window's root view. Panels open and close only through the notifications
// this model observes, so any subsystem can show one without a reference to the window.
class ContentViewModel : public QObject {
  Q_OBJECT
  QML_ELEMENT

  Q_PROPERTY(bool allowAnnotation READ allowAnnotation WRITE setAllowAnnotation NOTIFY
                 allowAnnotationChanged)
  Q_PROPERTY(bool showPipCamera READ showPipCamera NOTIFY showPipCameraChanged)
  Q_PROPERTY(bool showDocCamera READ showDocCamera NOTIFY showDocCameraChanged)
  Q_PROPERTY(QSizeF pipOffset READ pipOffset NOTIFY pipOffsetChanged)
  Q_PROPERTY(QSizeF pipOffsetNew READ pipOffsetNew NOTIFY pipOffsetChanged)

  Q_PROPERTY(bool showSideBySide READ showSideBySide NOTIFY showSideBySideChanged)
  Q_PROPERTY(QUrl sideBySideImage READ sideBySideImage NOTIFY sideBySideImageChanged)
  Q_PROPERTY(QUrl shareUrl READ shareUrl NOTIFY shareUrlChanged)
  // Undefined in QML until a side-by-side view first opens.
  Q_PROPERTY(QVariant splitWidth READ splitWidthValue NOTIFY splitWidthChanged)
  Q_PROPERTY(double scale READ scale NOTIFY scaleChanged)
  Q_PROPERTY(double lastScale READ lastScale NOTIFY lastScaleChanged)
  Q_PROPERTY(QSizeF viewState READ viewState NOTIFY viewStateChanged)

  Q_PROPERTY(bool showBrowser READ showBrowser NOTIFY showBrowserChanged)
  Q_PROPERTY(QVariantMap browserRequest READ browserRequest NOTIFY browserRequestChanged)
  Q_PROPERTY(QSizeF browserDragged READ browserDragged NOTIFY browserOffsetChanged)
  Q_PROPERTY(QSizeF browserAccumulated READ browserAccumulated NOTIFY browserOffsetChanged)
  Q_PROPERTY(bool browserIsResizing READ browserIsResizing NOTIFY browserFrameChanged)
  Q_PROPERTY(QSizeF browserFrame READ browserFrame NOTIFY browserFrameChanged)
  // The view places the panel by this size, so a resize keeps the top-left corner in place.
  Q_PROPERTY(QSizeF browserDefaultFrame READ browserDefaultFrame CONSTANT)

  Q_PROPERTY(bool showTunnelList READ showTunnelList NOTIFY showTunnelListChanged)
  Q_PROPERTY(bool showGifGenerator READ showGifGenerator NOTIFY showGifGeneratorChanged)
  Q_PROPERTY(bool loadingDravinBoard READ loadingDravinBoard NOTIFY loadingDravinBoardChanged)
  Q_PROPERTY(QString loadingDravinBoardError READ loadingDravinBoardError NOTIFY
                 loadingDravinBoardErrorChanged)
  Q_PROPERTY(bool showVeltroConfig READ showVeltroConfig NOTIFY showVeltroConfigChanged)

  // Set by the view: the width the side-by-side split halves.
  Q_PROPERTY(double viewWidth READ viewWidth WRITE setViewWidth NOTIFY viewWidthChanged)
  // The camera zoom a pinch starts from; the capture controller keeps it current once wired.
  Q_PROPERTY(double currentZoom READ currentZoom WRITE setCurrentZoom NOTIFY currentZoomChanged)

 public:
  static constexpr int kBrowserReopenDelayMs = 200;
  static constexpr double kMinZoom = 0.5;
  static constexpr double kMaxZoom = 10.0;
  static constexpr double kMinPictureScale = 0.2;
  static constexpr double kMaxPictureScale = 10.0;
  static constexpr QSizeF kBrowserDefaultFrame{960.0, 640.0};
  static constexpr QSizeF kBrowserMinFrame{480.0, 320.0};

  explicit ContentViewModel(QObject* parent = nullptr);

  bool allowAnnotation() const { return allowAnnotation_; }
  void setAllowAnnotation(bool allow);
  bool showPipCamera() const { return showPipCamera_; }
  bool showDocCamera() const { return showDocCamera_; }
  QSizeF pipOffset() const { return pipOffset_; }
  QSizeF pipOffsetNew() const { return pipOffsetNew_; }

  bool showSideBySide() const { return showSideBySide_; }
  QUrl sideBySideImage() const { return sideBySideImage_; }
  QUrl shareUrl() const { return shareUrl_; }
  std::optional<double> splitWidth() const { return splitWidth_; }
  QVariant splitWidthValue() const { return splitWidth_ ? QVariant(*splitWidth_) : QVariant(); }
  double scale() const { return scale_; }
  double lastScale() const { return lastScale_; }
  QSizeF viewState() const { return viewState_; }

  bool showBrowser() const { return showBrowser_; }
  QVariantMap browserRequest() const { return browserRequest_; }
  QSizeF browserDragged() const { return browserDragged_; }
  QSizeF browserAccumulated() const { return browserAccumulated_; }
  bool browserIsResizing() const { return browserIsResizing_; }
  QSizeF browserFrame() const { return browserFrame_; }
  QSizeF browserDefaultFrame() const { return kBrowserDefaultFrame; }

  bool showTunnelList() const { return showTunnelList_; }
  bool showGifGenerator() const { return showGifGenerator_; }
  bool loadingDravinBoard() const { return loadingDravinBoard_; }
  QString loadingDravinBoardError() const { return loadingDravinBoardError_; }
  bool showVeltroConfig() const { return showVeltroConfig_; }

  double viewWidth() const { return viewWidth_; }
  void setViewWidth(double width);
  double currentZoom() const { return currentZoom_; }
  void setCurrentZoom(double zoom);

  // Camera pinch: `magnification` is the gesture's scale since it began (1.0 = no change).
  Q_INVOKABLE void pinchChanged(double magnification);
  Q_INVOKABLE void pinchEnded();

  // Side-by-side picture: pinch relative to the last settled scale, pan by the drag's
  // translation since it began.
  Q_INVOKABLE void pictureScaleChanged(double magnification);
  Q_INVOKABLE void pictureScaleEnded();
  Q_INVOKABLE void picturePanned(double dx, double dy);
  Q_INVOKABLE void picturePanEnded();
  // The divider between the live picture and the side-by-side picture.
  Q_INVOKABLE void setSplitWidth(double width);
  Q_INVOKABLE void closeSideBySide();

  // Floating panels: translation since the drag or resize began.
  Q_INVOKABLE void pipDragged(double dx, double dy);
  Q_INVOKABLE void pipDragEnded();
  Q_INVOKABLE void browserDraggedBy(double dx, double dy);
  Q_INVOKABLE void browserDragEnded();
  Q_INVOKABLE void browserResized(double dw, double dh);
  Q_INVOKABLE void browserResizeEnded();
  // The browser panel's own close button.
  Q_INVOKABLE void closeBrowser();

  // Replaceable so tests can see a file handed to the default application.
  std::function<bool(const QUrl&)> openUrlExternally;

 signals:
  void allowAnnotationChanged();
  void showPipCameraChanged();
  void showDocCameraChanged();
  void pipOffsetChanged();
  void showSideBySideChanged();
  void sideBySideImageChanged();
  void shareUrlChanged();
  void splitWidthChanged();
  void scaleChanged();
  void lastScaleChanged();
  void viewStateChanged();
  void showBrowserChanged();
  void browserRequestChanged();
  void browserOffsetChanged();
  void browserFrameChanged();
  void showTunnelListChanged();
  void showGifGeneratorChanged();
  void loadingDravinBoardChanged();
  void loadingDravinBoardErrorChanged();
  void showVeltroConfigChanged();
  void viewWidthChanged();
  void currentZoomChanged();
  // A pinch asks the capture controller for this zoom, already clamped.
  void zoomRequested(double factor);

 private:
  void openDocCamera(const QVariantMap& info);
  void openBrowser(const QVariantMap& info);
  void showLoading(const QVariantMap& info);
  void openSideBySide(const QVariantMap& info);

  void setShowPipCamera(bool show);
  void setShowDocCamera(bool show);
  void setShowSideBySide(bool show);
  void setShowBrowser(bool show);
  void setShowTunnelList(bool show);
  void setShowGifGenerator(bool show);
  void setShowVeltroConfig(bool show);
  void setScale(double scale);
  void setLastScale(double scale);
  void setViewState(QSizeF state);

  bool allowAnnotation_ = false;
  bool showPipCamera_ = false;
  bool showDocCamera_ = false;
  QSizeF pipOffset_{0, 0};
  QSizeF pipOffsetNew_{0, 0};
  bool showSideBySide_ = false;
  QUrl sideBySideImage_;
  QUrl shareUrl_;
  std::optional<double> splitWidth_;
  double scale_ = 1.0;
  double lastScale_ = 1.0;
  QSizeF viewState_{0, 0};
  std::optional<QSizeF> panOrigin_;
  bool showBrowser_ = false;
  QVariantMap browserRequest_;
  QSizeF browserDragged_{0, 0};
  QSizeF browserAccumulated_{0, 0};
  bool browserIsResizing_ = false;
  QSizeF browserFrame_ = kBrowserDefaultFrame;
  QSizeF browserFrameAccumulated_ = kBrowserDefaultFrame;
  std::optional<double> pinchGestureStart_;
  bool showTunnelList_ = false;
  bool showGifGenerator_ = false;
  bool loadingDravinBoard_ = false;
  QString loadingDravinBoardError_;
  bool showVeltroConfig_ = false;
  double viewWidth_ = 0;
  double currentZoom_ = 1.0;
};

}  // namespace dravin
