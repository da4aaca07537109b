#include "thumbnailer.h"

#include <poppler-qt6.h>

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <memory>

#include "movie_preview.h"

namespace dravin {

namespace {

// Raster pictures only shrink: a tiny icon stays sharp and small, the tile centres it.
QSize shrunkToFit(QSize size, QSize box) {
  if (size.width() <= box.width() && size.height() <= box.height()) return size;
  QSize fitted = size.scaled(box, Qt::KeepAspectRatio);
  return fitted.expandedTo(QSize(1, 1));
}

QImage shrinkToFit(QImage image, QSize box) {
  if (image.isNull()) return {};
  QSize target = shrunkToFit(image.size(), box);
  if (target == image.size()) return image;
  // Qt scales a palette picture into black and white: it is made true-colour first.
  if (image.depth() < 8 || image.format() == QImage::Format_Indexed8) {
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                          : QImage::Format_RGB32);
  }
  return image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage picture(const QString& path, QSize box) {
  QImageReader reader(path);
  reader.setAutoTransform(true);
  // The scaled size is what lets the JPEG decoder work at 1/2, 1/4 or 1/8 scale. The quality is
  // left at its default: that keeps the decoder's scaling and a smooth final step. Other formats
  // gain nothing from it, and Qt's scaled reading loses a palette's colours.
  QSize stored = reader.size();
  if (stored.isValid() && reader.format() == "jpeg") {
    // The size is asked for in stored orientation, as the turn is applied after decoding.
    bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    QSize shown = turned ? stored.transposed() : stored;
    QSize target = shrunkToFit(shown, box);
    if (target != shown) reader.setScaledSize(turned ? target.transposed() : target);
  }
  return shrinkToFit(reader.read(), box);
}

// Vector drawings are drawn at the box size, on white like a page, so the tile looks the same on
// any background and the picture can be stored as JPEG.
QImage drawing(const QString& path, QSize box) {
  QSvgRenderer renderer(path);
  if (!renderer.isValid()) return {};
  QSizeF natural = renderer.viewBoxF().size();
  if (natural.isEmpty()) natural = renderer.defaultSize();
  if (natural.isEmpty()) return {};
  QSize size = natural.scaled(box, Qt::KeepAspectRatio).toSize().expandedTo(QSize(1, 1));
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter);
  painter.end();
  return image;
}

QImage firstPage(const QString& path, QSize box) {
  std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
  if (!document || document->isLocked()) return {};
  if (document->numPages() < 1) return {};
  std::unique_ptr<Poppler::Page> page = document->page(0);
  if (!page) return {};
  QSizeF points = page->pageSizeF();
  if (points.isEmpty()) return {};
  document->setRenderHint(Poppler::Document::Antialiasing);
  document->setRenderHint(Poppler::Document::TextAntialiasing);
  // The resolution that makes the page as large as the box, from its size in points (1/72 inch).
  double dpi = 72.0 * std::min(box.width() / points.width(), box.height() / points.height());
  return shrinkToFit(page->renderToImage(dpi, dpi), box);
}

}  // namespace

QImage makeThumbnail(const QString& path, QSize box) {
  if (box.isEmpty()) return {};
  QFileInfo info(path);
  // Empty files are never drawable, and the movie reader would wait out its timeout on one.
  if (!info.isFile() || info.size() == 0) return {};
  QString suffix = info.suffix().toLower();
  if (suffix == "svg" || suffix == "svgz") return drawing(path, box);
  if (suffix == "pdf") return firstPage(path, box);
  if (suffix == "mp4" || suffix == "mov") {
    return shrinkToFit(gst::moviePreview(QFile::encodeName(path).toStdString()), box);
  }
  return picture(path, box);
}

}  // namespace dravin
