#include "pdf_document.h"

#include <poppler-qt6.h>

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace dravin {

namespace {

// Past this a page would not fit into memory as one picture; callers clamp far below it.
constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

QString fail(QString* error, const QString& text) {
  if (error) *error = text;
  return text;
}

}  // namespace

std::unique_ptr<PdfDocument> PdfDocument::open(const QString& path, QString* error) {
  const QFileInfo info(path);
  const QString name = info.fileName();
  if (!info.exists()) {
    fail(error, QStringLiteral("The PDF file “%1” does not exist.").arg(path));
    return nullptr;
  }
  if (!info.isFile() || !info.isReadable()) {
    fail(error, QStringLiteral("The PDF file “%1” cannot be read.").arg(name));
    return nullptr;
  }
  std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
  if (!document) {
    fail(error, QStringLiteral("“%1” is not a PDF file or is damaged.").arg(name));
    return nullptr;
  }
  if (document->isLocked()) {
    fail(error, QStringLiteral("“%1” is protected by a password.").arg(name));
    return nullptr;
  }
  const int pages = document->numPages();
  if (pages <= 0) {
    fail(error, QStringLiteral("“%1” has no pages.").arg(name));
    return nullptr;
  }
  // A file whose first page has no size is broken beyond drawing.
  std::unique_ptr<Poppler::Page> first = document->page(0);
  if (!first || first->pageSizeF().isEmpty()) {
    fail(error, QStringLiteral("“%1” is not a PDF file or is damaged.").arg(name));
    return nullptr;
  }
  document->setRenderHint(Poppler::Document::Antialiasing);
  document->setRenderHint(Poppler::Document::TextAntialiasing);
  document->setPaperColor(Qt::white);
  return std::unique_ptr<PdfDocument>(new PdfDocument(std::move(document)));
}

PdfDocument::PdfDocument(std::unique_ptr<Poppler::Document> document)
    : document_(std::move(document)), pageCount_(document_->numPages()) {}

PdfDocument::~PdfDocument() = default;

QSizeF PdfDocument::pageSize(int index) const {
  if (index < 0 || index >= pageCount_) return {};
  std::lock_guard lock(mutex_);
  std::unique_ptr<Poppler::Page> page = document_->page(index);
  return page ? page->pageSizeF() : QSizeF();
}

QImage PdfDocument::renderPage(int index, int widthPx) const {
  if (index < 0 || index >= pageCount_ || widthPx <= 0) return {};
  std::lock_guard lock(mutex_);
  std::unique_ptr<Poppler::Page> page = document_->page(index);
  const QSizeF points = page ? page->pageSizeF() : QSizeF();
  if (points.isEmpty()) return {};
  const double dpi = 72.0 * widthPx / points.width();
  const int heightPx = std::max(1, static_cast<int>(std::lround(points.height() * dpi / 72.0)));
  if (static_cast<qint64>(widthPx) * heightPx > kMaxPixels) return {};
  // Fixed width and height: poppler's own rounding may be a pixel off the asked width.
  QImage image = page->renderToImage(dpi, dpi, 0, 0, widthPx, heightPx);
  if (image.isNull()) return {};
  return std::move(image).convertToFormat(QImage::Format_RGB32);
}

}  // namespace dravin
