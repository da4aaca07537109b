#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>
#include <memory>
#include <mutex>

namespace Poppler {
class Document;
}

namespace dravin {

// One PDF file opened with poppler. Poppler's documents are not safe to share between threads,
// so each PdfDocument guards its own document: threads using the same PdfDocument take turns,
// while different PdfDocuments (one per file or per thread) never wait on each other.
class PdfDocument {
 public:
  // The opened document, or null with `error` set to a sentence for the user naming the file:
  // missing, unreadable, protected by a password, damaged, or without pages.
  static std::unique_ptr<PdfDocument> open(const QString& path, QString* error = nullptr);
  ~PdfDocument();
  PdfDocument(const PdfDocument&) = delete;
  PdfDocument& operator=(const PdfDocument&) = delete;

  int pageCount() const { return pageCount_; }
  // Page `index` (0-based) in points (1/72 inch); empty for no such page.
  QSizeF pageSize(int index) const;
  // Page `index` `widthPx` pixels wide, height by the page's aspect, on white paper, text and
  // graphics antialiased. A null image for no such page or a page poppler cannot draw.
  QImage renderPage(int index, int widthPx) const;

 private:
  explicit PdfDocument(std::unique_ptr<Poppler::Document> document);

  mutable std::mutex mutex_;  // guards document_
  std::unique_ptr<Poppler::Document> document_;
  int pageCount_ = 0;
};

}  // namespace dravin
