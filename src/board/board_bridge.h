#pragma once

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QQuickItem>
#include <QRect>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <functional>
#include <map>
#include <optional>

namespace dravin {

class CameraController;

// What the board's web view does with a navigation.
enum class NavigationDecision { allow, cancel, openPdf };

// Allowed: http(s) to localhost or 127.0.0.1 on the server's port, the maker's domain by host
// suffix, and the board's own index file; a local PDF opens the browser panel instead.
NavigationDecision decideNavigation(const QUrl& url, int serverPort);

// `text` as a JavaScript string literal, quotes included: safe to paste into a script call.
QString jsStringLiteral(const QString& text);

// The one route between the application and the board page: messages the page posts arrive in
// postMessage(); script calls leave through scriptRequested(), which the board's web view runs.
class BoardBridge : public QObject {
  Q_OBJECT
  // A text box on the board is being typed into: the application's own one-key shortcuts wait.
  Q_PROPERTY(bool textEditing READ textEditing NOTIFY textEditingChanged)
  // The board's pages as the page last told them: 0-based current page and the count.
  Q_PROPERTY(int pageIndex READ pageIndex NOTIFY pagesChanged)
  Q_PROPERTY(int pageCount READ pageCount NOTIFY pagesChanged)

 public:
  static constexpr int kDocumentCamera = -100;

  static BoardBridge& instance();

  // The page's messages, through the web channel.
  Q_INVOKABLE void postMessage(const QVariant& body);
  // The script the board's web view injects into every frame: the web channel's client, then
  // the message handler over it and the pan and zoom listeners.
  Q_INVOKABLE QString injectedScript() const;
  // The board page of the application's resources, told the server's port and key.
  Q_INVOKABLE QUrl boardUrl() const;

  // Whether the board's web view may go to `url`; a local PDF opens the browser panel instead.
  Q_INVOKABLE bool acceptNavigation(const QUrl& url);
  void setServerPort(int port) { serverPort_ = port; }
  void setAccessKey(const QString& key) { accessKey_ = key; }
  // The board's view, for snapshots to include what is drawn on it.
  Q_INVOKABLE void setBoardItem(QQuickItem* item) { boardItem_ = item; }
  // A picture the size of the window with the board where it shows, handed to `done` once, on
  // the main thread; a null image when the board cannot be drawn within a second.
  void grabBoard(QSize windowSize, std::function<void(const QImage&)> done);
  // Where the board's view lies in the window; empty before it is shown.
  QRectF boardArea() const;

  // Where the board view's top-left corner is on the screen: tunnel rectangles are relative to it.
  Q_INVOKABLE void setBoardOrigin(QPoint screenTopLeft) { boardOrigin_ = screenTopLeft; }
  // The web view's load events, announced to the loading overlay.
  // `url`, when given, is what starts loading: a refused navigation (a PDF link) starts nothing.
  Q_INVOKABLE void loadStarted(const QUrl& url = QUrl());
  Q_INVOKABLE void loadFinished();
  Q_INVOKABLE void loadFailed(const QString& error);

  void renderTunnelWindow(int windowNumber, const QString& dataUrl);
  void showTunnelWindow(int windowNumber, const QString& dataUrl, const QString& name);
  Q_INVOKABLE void allowAnnotation(bool allow);
  // Where the camera picture lies on the board: `matrix` (a, b, c, d, e, f, as canvas transforms
  // take them) maps the picture's unit square to the board's pixels; `zoom` is the digital zoom.
  // Told again whenever it changes and after every load, so ink follows the paper.
  Q_INVOKABLE void setPicturePlacement(const QVariantList& matrix, double zoom);
  bool textEditing() const { return textEditing_; }
  int pageIndex() const { return pageIndex_; }
  int pageCount() const { return pageCount_; }

  // Calls the page's DravinBoard.<method>(args...) and hands its answer to `reply` once, on the
  // main thread: the result, or an error text when the page refused, failed, reloaded or did
  // not answer within `timeoutMs`.
  using Reply = std::function<void(const QVariant& result, const QString& error)>;
  void request(const QString& method, const QVariantList& args, Reply reply, int timeoutMs = 15000);
  // Whether the page is loaded and can answer requests.
  bool pageReady() const { return pageReady_; }

  // The capture controller that pans and zooms with the page's gestures; may be unset.
  void setCameraController(CameraController* camera) { camera_ = camera; }

  // Seams filled by the window tunnel and the document camera.
  std::function<QString(int windowNumber)> tunnelFrame;
  std::function<std::optional<QImage>()> latestDocCamFrame;
  std::function<void(int windowNumber)> parkWindow;
  // Brings window N over `screenRect`; false when the window is gone.
  std::function<bool(int windowNumber, QRect screenRect)> controlWindow;
  // The page closed window N's tile.
  std::function<void(int windowNumber)> closeTunnelWindow;
  // Whether tiles offer to bring their window over them (not on Wayland, where no program may
  // move another's window).
  void setWindowControlAllowed(bool allowed);

 signals:
  void scriptRequested(const QString& script);
  // Every message the page posts, handled or not: for diagnostics and tests.
  void messageReceived(const QVariantMap& body);
  void alertRequested(const QString& text);
  void textEditingChanged();
  void pagesChanged();
  // The page finished loading: a board document can be put on it.
  void pageLoaded();
  // The document on the page changed (ink, pages, backgrounds).
  void boardChanged();
  // Files dropped on the board, for the application to place.
  void openOnBoardRequested(const QStringList& paths, bool asBackground);
  // A button of the page strip: "open", "save", "saveas", "new" or "export".
  void boardCommandRequested(const QString& command);

 private:
  explicit BoardBridge(QObject* parent = nullptr);
  void sendTunnelFrame(int windowNumber);
  void handleReply(const QVariantMap& body);
  void failPendingRequests(const QString& error);

  CameraController* camera_ = nullptr;
  int serverPort_ = 9080;
  QString accessKey_;
  QPoint boardOrigin_;
  QPointer<QQuickItem> boardItem_;
  void setTextEditing(bool editing);

  float gestureScale_ = 1.0f;
  bool textEditing_ = false;
  QString placementScript_;
  QString windowControlScript_;
  int pageIndex_ = 0;
  int pageCount_ = 1;
  bool pageReady_ = false;
  int nextRequestId_ = 1;
  std::map<int, Reply> pendingRequests_;
};

}  // namespace dravin
