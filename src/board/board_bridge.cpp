#include "board_bridge.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPainter>
#include <QQuickItemGrabResult>
#include <QTimer>
#include <QVariantMap>
#include <algorithm>
#include <cmath>

#include "app_log.h"
#include "browser_rules.h"
#include "camera_controller.h"
#include "jpeg_encoder.h"
#include "notification_center.h"
#include "notification_names.h"
#include "resource_paths.h"

namespace dravin {

namespace {

// The maker's web domain: pages there may talk to the application.
const QString kMakerDomain = QStringLiteral("pelora-dravin.example");
const QString kBoardIndex = QStringLiteral("dravinboard/index.html");
const QString kMissingWindowText = QStringLiteral(
    "Original Window was minimized or closed, please choose another window in Relayo.");
const QString kNoWindowControlText = QStringLiteral(
    "On Wayland no program may move another program's window: to work in this one, switch to it.");

// A pinch zooms the picture within these.
constexpr double kMinPinchZoom = 0.5;
constexpr double kMaxPinchZoom = 10.0;

// A number from a message, whatever JSON number type the page used.
std::optional<double> number(const QVariantMap& body, const char* key) {
  const QVariant value = body.value(QString::fromLatin1(key));
  bool ok = false;
  const double result = value.toDouble(&ok);
  if (!value.isValid() || !ok) return std::nullopt;
  return result;
}

}  // namespace

NavigationDecision decideNavigation(const QUrl& url, int serverPort) {
  if (!url.isValid() || url.isEmpty()) return NavigationDecision::cancel;
  const QString scheme = url.scheme().toLower();
  const QString host = url.host().toLower();
  if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
    if ((host == QLatin1String("localhost") || host == QLatin1String("127.0.0.1")) &&
        url.port(scheme == QLatin1String("https") ? 443 : 80) == serverPort) {
      return NavigationDecision::allow;
    }
    if (host == kMakerDomain || host.endsWith(QLatin1Char('.') + kMakerDomain)) {
      return NavigationDecision::allow;
    }
    return NavigationDecision::cancel;
  }
  if (scheme == QLatin1String("file")) {
    if (url.path().endsWith(QLatin1Char('/') + kBoardIndex)) return NavigationDecision::allow;
    if (QFileInfo(url.path()).suffix().toLower() == QLatin1String("pdf")) {
      return NavigationDecision::openPdf;
    }
  }
  return NavigationDecision::cancel;
}

QString jsStringLiteral(const QString& text) {
  QString literal;
  literal.reserve(text.size() + 2);
  literal += QLatin1Char('\'');
  for (const QChar c : text) {
    switch (c.unicode()) {
      case '\'': literal += QLatin1String("\\'"); break;
      case '"': literal += QLatin1String("\\\""); break;
      case '\\': literal += QLatin1String("\\\\"); break;
      case '\n': literal += QLatin1String("\\n"); break;
      case '\r': literal += QLatin1String("\\r"); break;
      // Closing a script element or a line separator ends a script early in some contexts.
      case '<': literal += QLatin1String("\\x3C"); break;
      case 0x2028: literal += QLatin1String("\\u2028"); break;
      case 0x2029: literal += QLatin1String("\\u2029"); break;
      default:
        if (c.unicode() < 0x20) {
          literal += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        } else {
          literal += c;
        }
    }
  }
  literal += QLatin1Char('\'');
  return literal;
}

BoardBridge& BoardBridge::instance() {
  static BoardBridge bridge;
  return bridge;
}

BoardBridge::BoardBridge(QObject* parent) : QObject(parent) {}

void BoardBridge::renderTunnelWindow(int windowNumber, const QString& dataUrl) {
  emit scriptRequested(
      QStringLiteral("renderTunnelWindow(%1, %2)").arg(windowNumber).arg(jsStringLiteral(dataUrl)));
}

void BoardBridge::showTunnelWindow(int windowNumber, const QString& dataUrl, const QString& name) {
  emit scriptRequested(QStringLiteral("showTunnelWindow(%1, %2, %3)")
                           .arg(windowNumber)
                           .arg(jsStringLiteral(dataUrl), jsStringLiteral(name)));
}

void BoardBridge::allowAnnotation(bool allow) {
  // Nothing can be typed on a board that no longer takes input.
  if (!allow) setTextEditing(false);
  emit scriptRequested(allow ? QStringLiteral("allowAnnotation(true)")
                             : QStringLiteral("allowAnnotation(false)"));
}

void BoardBridge::setPicturePlacement(const QVariantList& matrix, double zoom) {
  if (matrix.size() != 6 || !std::isfinite(zoom) || zoom <= 0) return;
  QStringList numbers;
  for (const QVariant& value : matrix) {
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || !std::isfinite(number)) return;
    numbers.append(QString::number(number, 'g', 10));
  }
  const QString script = QStringLiteral("setPicturePlacement({matrix: [%1], zoom: %2})")
                             .arg(numbers.join(QLatin1Char(',')))
                             .arg(zoom, 0, 'g', 10);
  if (script == placementScript_) return;
  placementScript_ = script;
  // A page still loading has no such function yet; it is told once it finished.
  if (pageReady_) emit scriptRequested(script);
}

void BoardBridge::setWindowControlAllowed(bool allowed) {
  windowControlScript_ = allowed ? QString()
                                 : QStringLiteral("setWindowControl(false, %1)")
                                       .arg(jsStringLiteral(kNoWindowControlText));
  if (pageReady_)
    emit scriptRequested(allowed ? QStringLiteral("setWindowControl(true)") : windowControlScript_);
}

void BoardBridge::setTextEditing(bool editing) {
  if (textEditing_ == editing) return;
  textEditing_ = editing;
  emit textEditingChanged();
}

QString BoardBridge::injectedScript() const {
  QString script;
  for (const char* path : {":/qtwebchannel/qwebchannel.js", ":/dravin/board/board_bridge.js"}) {
    QFile file(QString::fromLatin1(path));
    if (file.open(QIODevice::ReadOnly)) script += QString::fromUtf8(file.readAll()) + "\n";
  }
  return script;
}

QUrl BoardBridge::boardUrl() const {
  QUrl url = QUrl::fromLocalFile(resourceFolder() + QStringLiteral("/dravinboard/index.html"));
  url.setFragment(browser::serverAccessFragment(serverPort_, accessKey_));
  return url;
}

bool BoardBridge::acceptNavigation(const QUrl& url) {
  const NavigationDecision decision = decideNavigation(url, serverPort_);
  if (decision == NavigationDecision::allow) return true;
  if (url.isLocalFile()) {
    logLine(QStringLiteral("Open File: ") + url.toString());
    if (decision == NavigationDecision::openPdf) {
      logLine(QStringLiteral("It's a PDF! ") + url.path());
      NotificationCenter::instance().post(
          notifications::kOpenBrowser,
          {{QStringLiteral("pdfMode"), true}, {QStringLiteral("pdfPath"), url.path()}});
    }
  }
  return false;
}

void BoardBridge::grabBoard(QSize windowSize, std::function<void(const QImage&)> done) {
  auto once = std::make_shared<std::function<void(const QImage&)>>(std::move(done));
  auto finish = [once](const QImage& image) {
    if (!*once) return;
    auto callback = std::move(*once);
    *once = nullptr;
    callback(image);
  };
  QSharedPointer<QQuickItemGrabResult> grab;
  if (boardItem_ && boardItem_->isVisible() && boardItem_->window()) {
    grab = boardItem_->grabToImage();
  }
  if (!grab) {
    finish(QImage());
    return;
  }
  const QRectF area =
      boardItem_->mapRectToScene(QRectF(0, 0, boardItem_->width(), boardItem_->height()));
  // The grab holds its connection and so the slot: a slot holding the grab would keep both, with
  // a window-sized picture, for good. The holder is let go once the grab has had its time.
  auto holder = std::make_shared<QSharedPointer<QQuickItemGrabResult>>(grab);
  connect(grab.data(), &QQuickItemGrabResult::ready, this, [holder, area, windowSize, finish] {
    if (!*holder) return;
    QImage canvas(windowSize, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.drawImage(area, (*holder)->image());
    painter.end();
    finish(canvas);
  });
  // A board that is not drawn (a hidden window) never answers: the snapshot goes without it.
  QTimer::singleShot(1000, this, [holder, finish] {
    finish(QImage());
    holder->reset();
  });
}

void BoardBridge::request(const QString& method, const QVariantList& args, Reply reply,
                          int timeoutMs) {
  if (!pageReady_) {
    reply({}, QStringLiteral("The board is not loaded yet."));
    return;
  }
  const int id = nextRequestId_++;
  pendingRequests_.emplace(id, std::move(reply));
  const QByteArray json =
      QJsonDocument(QJsonArray::fromVariantList(args)).toJson(QJsonDocument::Compact);
  emit scriptRequested(QStringLiteral("window.dravinRequest && dravinRequest(%1, %2, %3)")
                           .arg(id)
                           .arg(jsStringLiteral(method), QString::fromUtf8(json)));
  QTimer::singleShot(timeoutMs, this, [this, id] {
    auto pending = pendingRequests_.find(id);
    if (pending == pendingRequests_.end()) return;
    Reply late = std::move(pending->second);
    pendingRequests_.erase(pending);
    late({}, QStringLiteral("The board did not answer."));
  });
}

void BoardBridge::handleReply(const QVariantMap& body) {
  bool ok = false;
  const int id = body.value(QStringLiteral("id")).toInt(&ok);
  if (!ok) return;
  auto pending = pendingRequests_.find(id);
  if (pending == pendingRequests_.end()) return;
  Reply reply = std::move(pending->second);
  pendingRequests_.erase(pending);
  if (body.value(QStringLiteral("ok")).toBool()) {
    reply(body.value(QStringLiteral("result")), QString());
  } else {
    QString error = body.value(QStringLiteral("error")).toString();
    reply({}, error.isEmpty() ? QStringLiteral("The board could not do that.") : error);
  }
}

void BoardBridge::failPendingRequests(const QString& error) {
  auto pending = std::move(pendingRequests_);
  pendingRequests_.clear();
  for (auto& [id, reply] : pending) reply({}, error);
}

QRectF BoardBridge::boardArea() const {
  if (!boardItem_) return {};
  return boardItem_->mapRectToScene(QRectF(0, 0, boardItem_->width(), boardItem_->height()));
}

void BoardBridge::loadStarted(const QUrl& url) {
  if (!url.isEmpty() && decideNavigation(url, serverPort_) != NavigationDecision::allow) return;
  setTextEditing(false);
  pageReady_ = false;
  failPendingRequests(QStringLiteral("The board was reloaded."));
  NotificationCenter::instance().post(
      notifications::kShowLoadingDravinBoard,
      {{QStringLiteral("show"), true}, {QStringLiteral("message"), QString()}});
}

void BoardBridge::loadFinished() {
  logLine(QStringLiteral("didFinish1"));
  // A new page knows nothing of the picture yet.
  if (!placementScript_.isEmpty()) emit scriptRequested(placementScript_);
  if (!windowControlScript_.isEmpty()) emit scriptRequested(windowControlScript_);
  NotificationCenter::instance().post(
      notifications::kShowLoadingDravinBoard,
      {{QStringLiteral("show"), false}, {QStringLiteral("message"), QString()}});
  pageReady_ = true;
  emit pageLoaded();
}

void BoardBridge::loadFailed(const QString& error) {
  logLine(QStringLiteral("didFail.......... ") + error);
  NotificationCenter::instance().post(
      notifications::kShowLoadingDravinBoard,
      {{QStringLiteral("show"), true}, {QStringLiteral("message"), error}});
}

void BoardBridge::postMessage(const QVariant& message) {
  const QVariantMap body = message.toMap();
  emit messageReceived(body);
  const QString type = body.value(QStringLiteral("type")).toString();
  if (type.isEmpty()) return;

  if (type == QLatin1String("pan")) {
    const auto x = number(body, "x"), y = number(body, "y"), end = number(body, "end");
    if (!x || !y || !end || !camera_) return;
    camera_->dragPreview(*end == 1, *x, *y, camera_->rotation());
  } else if (type == QLatin1String("gesturestart")) {
    const auto scale = number(body, "scale");
    if (scale && std::isfinite(*scale) && *scale > 0) gestureScale_ = static_cast<float>(*scale);
  } else if (type == QLatin1String("gesturechange")) {
    const auto scale = number(body, "scale");
    if (scale && std::isfinite(*scale) && camera_) {
      camera_->setZoom(std::clamp(*scale * gestureScale_, kMinPinchZoom, kMaxPinchZoom));
    }
  } else if (type == QLatin1String("textediting")) {
    setTextEditing(body.value(QStringLiteral("active")).toBool());
  } else if (type == QLatin1String("reply")) {
    handleReply(body);
  } else if (type == QLatin1String("boardchanged")) {
    emit boardChanged();
  } else if (type == QLatin1String("pagechanged")) {
    const auto index = number(body, "index"), count = number(body, "count");
    if (!index || !count || *count < 1 || *index < 0 || *index >= *count) return;
    pageIndex_ = static_cast<int>(*index);
    pageCount_ = static_cast<int>(*count);
    emit pagesChanged();
  } else if (type == QLatin1String("openonboard")) {
    const QStringList paths = body.value(QStringLiteral("paths")).toStringList();
    if (!paths.isEmpty()) {
      emit openOnBoardRequested(paths, body.value(QStringLiteral("asBackground")).toBool());
    }
  } else if (type == QLatin1String("boardcommand")) {
    const QString command = body.value(QStringLiteral("command")).toString();
    if (!command.isEmpty()) emit boardCommandRequested(command);
  } else if (type == QLatin1String("renderTunnel")) {
    if (const auto n = number(body, "windowNumber")) sendTunnelFrame(static_cast<int>(*n));
  } else if (type == QLatin1String("positionTunnel")) {
    const auto n = number(body, "windowNumber");
    if (n && *n > 0 && parkWindow) parkWindow(static_cast<int>(*n));
  } else if (type == QLatin1String("controlTunnel")) {
    const auto n = number(body, "windowNumber"), top = number(body, "top"),
               left = number(body, "left"), width = number(body, "width"),
               height = number(body, "height");
    if (!n || !top || !left || !width || !height || *n == kDocumentCamera) return;
    QRect rect(static_cast<int>(*left), static_cast<int>(*top), static_cast<int>(*width),
               static_cast<int>(*height));
    rect.translate(boardOrigin_);  // X11's screen has its origin at the top too: no flip
    if (!controlWindow || !controlWindow(static_cast<int>(*n), rect)) {
      emit alertRequested(kMissingWindowText);
    }
  } else if (type == QLatin1String("closeTunnel")) {
    const auto n = number(body, "windowNumber");
    if (n && *n == kDocumentCamera) {
      NotificationCenter::instance().post(notifications::kOpenDocCamera,
                                          {{QStringLiteral("type"), QStringLiteral("close")}});
    } else if (n && *n > 0 && closeTunnelWindow) {
      closeTunnelWindow(static_cast<int>(*n));
    }
  }
  // "wheel" and "tunnelKeydown" are accepted and change nothing; unknown types are ignored.
}

void BoardBridge::sendTunnelFrame(int windowNumber) {
  if (windowNumber > 0) {
    const QString dataUrl = tunnelFrame ? tunnelFrame(windowNumber) : QString();
    renderTunnelWindow(windowNumber, dataUrl.size() < 11 ? QString() : dataUrl);
  } else if (windowNumber == kDocumentCamera) {
    const auto frame = latestDocCamFrame ? latestDocCamFrame() : std::nullopt;
    renderTunnelWindow(windowNumber, frame ? encodeJpegDataUrl(*frame) : QString());
  }
}

}  // namespace dravin
