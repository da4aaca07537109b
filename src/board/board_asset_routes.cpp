#include "board_asset_routes.h"

#include <QBuffer>
#include <QFileInfo>
#include <QHash>
#include <QImageWriter>
#include <QRegularExpression>
#include <QThreadPool>
#include <algorithm>
#include <future>
#include <list>
#include <mutex>
#include <stdexcept>

#include "access_guard.h"
#include "board_assets.h"
#include "file.h"
#include "http_server.h"
#include "mime_types.h"
#include "pdf_document.h"

namespace dravin {

namespace {

// A board shows one PDF's pages one after another: keeping the last few documents open spares
// poppler parsing the file again for every page.
constexpr int kOpenDocuments = 4;
// Content-addressed: the bytes behind an address never change.
constexpr const char* kCacheForever = "private, max-age=31536000, immutable";
constexpr int kRenderThreads = 2;
constexpr uint kRenderStack = 8 * 1024 * 1024;

class PdfCache {
 public:
  explicit PdfCache(QString folder) : folder_(std::move(folder)) {}

  // Null when the PDF is not there or cannot be opened.
  std::shared_ptr<PdfDocument> document(const QString& sha1) {
    const QString path = folder_ + '/' + sha1 + QStringLiteral(".pdf");
    {
      std::lock_guard lock(mutex_);
      for (auto it = open_.begin(); it != open_.end(); ++it) {
        if (it->first == sha1) {
          open_.splice(open_.begin(), open_, it);
          return open_.front().second;
        }
      }
    }
    // Opened outside the lock: one slow file must not hold up every other PDF.
    std::shared_ptr<PdfDocument> opened = PdfDocument::open(path);
    if (!opened) return nullptr;
    std::lock_guard lock(mutex_);
    open_.emplace_front(sha1, opened);
    while (open_.size() > kOpenDocuments) open_.pop_back();
    return opened;
  }

 private:
  QString folder_;
  std::mutex mutex_;                                                  // guards open_
  std::list<std::pair<QString, std::shared_ptr<PdfDocument>>> open_;  // most recent first
};

// Poppler with FreeType needs more stack than a connection worker has, and a page 4096 pixels
// wide takes about 100 MB while drawn: pages are drawn on a pool of their own, a few at a time.
QThreadPool& renderPool() {
  // Never destroyed: connection workers may still wait on it while the program exits.
  static QThreadPool* const pool = [] {
    auto* created = new QThreadPool;
    created->setMaxThreadCount(kRenderThreads);
    created->setStackSize(kRenderStack);
    return created;
  }();
  return *pool;
}

// The page as a PNG, empty when it cannot be drawn.
QByteArray pagePng(const PdfDocument& document, int index, int width) {
  const QImage image = document.renderPage(index, width);
  if (image.isNull()) return {};
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  // Drawn once per page and width, then cached by the page: speed over size.
  writer.setCompression(1);
  return writer.write(image) ? png : QByteArray();
}

HeaderMap boardHeaders() {
  return {{"Access-Control-Allow-Origin", "*"}};
}

HttpResponse status(int code, const std::string& phrase) {
  const std::string body = phrase + "\n";
  HeaderMap headers = boardHeaders();
  headers["Content-Type"] = "text/plain; charset=utf-8";
  headers["Content-Length"] = std::to_string(body.size());
  return HttpResponse::raw(code, phrase, headers, [body](HttpResponseBodyWriter& writer) {
    writer.write(std::string_view(body));
  });
}

std::optional<QString> queryItem(const HttpRequest& request, const std::string& name) {
  for (const auto& [key, value] : request.queryParams) {
    if (key == name) return QString::fromStdString(value);
  }
  return std::nullopt;
}

// Digits only, no sign, no leading '+': what the page builds.
std::optional<int> positiveNumber(const QString& text) {
  static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
  if (!digits.match(text).hasMatch()) return std::nullopt;
  return text.toInt();
}

HttpResponse serveAsset(const QString& folder, HttpRequest& request) {
  const QString name = QString::fromStdString(request.params[":name"]);
  const std::optional<AssetReference> reference =
      parseAssetReference(QStringLiteral("asset:") + name);
  if (!reference || reference->page != 0) return status(400, "Bad Request");
  const QString path = folder + '/' + reference->fileName();
  std::shared_ptr<File> file;
  try {
    file = std::make_shared<File>(File::openRead(QFile::encodeName(path).toStdString()));
  } catch (const FileError&) {
    return status(404, "Not Found");
  }
  if (!file->isRegular() || !file->size()) return status(404, "Not Found");
  HeaderMap headers = boardHeaders();
  headers["Content-Type"] = mimeTypeFor(reference->fileName().toStdString());
  headers["Content-Length"] = std::to_string(*file->size());
  headers["Cache-Control"] = kCacheForever;
  return HttpResponse::raw(200, "OK", headers, [file](HttpResponseBodyWriter& writer) {
    writer.write(*file);
    file->close();
  });
}

HttpResponse servePdfPage(PdfCache& cache, HttpRequest& request) {
  static const QRegularExpression sha1Pattern(QStringLiteral("^[0-9a-f]{40}$"));
  const QString sha1 = QString::fromStdString(request.params[":sha1"]);
  const std::optional<int> page = positiveNumber(QString::fromStdString(request.params[":page"]));
  if (!sha1Pattern.match(sha1).hasMatch() || !page || *page < 1) {
    return status(400, "Bad Request");
  }
  int width = kDefaultPdfPageWidth;
  if (const std::optional<QString> asked = queryItem(request, "width")) {
    const std::optional<int> number = positiveNumber(*asked);
    if (!number) return status(400, "Bad Request");
    width = std::clamp(*number, kMinPdfPageWidth, kMaxPdfPageWidth);
  }
  const std::shared_ptr<PdfDocument> document = cache.document(sha1);
  if (!document) return status(404, "Not Found");
  if (*page > document->pageCount()) return status(400, "Bad Request");
  std::promise<QByteArray> drawn;
  std::future<QByteArray> result = drawn.get_future();
  renderPool().start([&] { drawn.set_value(pagePng(*document, *page - 1, width)); });
  auto bytes = std::make_shared<QByteArray>(result.get());
  if (bytes->isEmpty()) return status(500, "Internal Server Error");
  HeaderMap headers = boardHeaders();
  headers["Content-Type"] = "image/png";
  headers["Content-Length"] = std::to_string(bytes->size());
  headers["Cache-Control"] = kCacheForever;
  return HttpResponse::raw(200, "OK", headers, [bytes](HttpResponseBodyWriter& out) {
    out.write(std::span(reinterpret_cast<const std::uint8_t*>(bytes->constData()),
                        static_cast<std::size_t>(bytes->size())));
  });
}

// Like keyRequired, but the refusal too is readable by the page: it can then tell a wrong key
// from a missing asset.
Handler withKey(std::shared_ptr<AccessGuard> guard, Handler handler) {
  return [guard = std::move(guard), handler = std::move(handler)](HttpRequest& request) {
    if (guard->admits(request)) return handler(request);
    guard->refuse(request);  // reports the refusal
    return status(403, "Forbidden");
  };
}

}  // namespace

void registerBoardAssetRoutes(HttpServer& server, const QString& assetFolder,
                              std::shared_ptr<AccessGuard> guard) {
  if (!guard) throw std::invalid_argument("the board's asset routes need an access guard");
  server.GET["/dravin-board/asset/:name"] = withKey(
      guard, [assetFolder](HttpRequest& request) { return serveAsset(assetFolder, request); });
  auto cache = std::make_shared<PdfCache>(assetFolder);
  server.GET["/dravin-board/pdf/:sha1/:page"] =
      withKey(guard, [cache](HttpRequest& request) { return servePdfPage(*cache, request); });
}

}  // namespace dravin
