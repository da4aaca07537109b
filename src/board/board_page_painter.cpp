#include "board_page_painter.h"

#include <QImageReader>
#include <QPaintDevice>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>

#include "board_assets.h"
#include "board_items_painter.h"
#include "pdf_document.h"

namespace dravin {

namespace {

constexpr int kMaxRasterWidth = 6000;

QRectF containedRect(const QSizeF& content, const QRectF& box) {
  if (content.isEmpty()) return box;
  const QSizeF fitted = content.scaled(box.size(), Qt::KeepAspectRatio);
  return QRectF(box.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);
}

// How many pixels a picture drawn `deviceWidth` device units wide needs: one a device pixel on
// screens and pictures, kPrintDpi on paper.
int rasterWidth(const QPainter& painter, double deviceWidth) {
  const int dpi = painter.device() ? painter.device()->logicalDpiX() : 96;
  const double perUnit = dpi > kPrintDpi ? kPrintDpi / dpi : 1.0;
  const double scale = std::max(std::abs(painter.transform().m11()), 1e-6);
  return std::clamp(static_cast<int>(std::ceil(deviceWidth * scale * perUnit)), 1, kMaxRasterWidth);
}

void paintPattern(QPainter& painter, const QRectF& target, const QString& kind,
                  const QSizeF& pageSize) {
  using namespace board_paper;
  const double scale = target.width() / pageSize.width();
  const double width = pageSize.width();
  const double height = pageSize.height();
  auto band = [&](double x, double y, double w, double h, const QColor& colour) {
    painter.fillRect(QRectF(target.x() + x * scale, target.y() + y * scale, w * scale, h * scale),
                     colour);
  };
  painter.save();
  painter.setClipRect(target, Qt::IntersectClip);
  if (kind == QLatin1String("squared")) {
    const QColor line(60, 120, 200, 56);  // rgba(60, 120, 200, 0.22)
    for (double y = 0; y < height; y += kSquare) band(0, y, width, 1, line);
    for (double x = 0; x < width; x += kSquare) band(x, 0, 1, height, line);
  } else if (kind == QLatin1String("ruled")) {
    const QColor rule(60, 120, 200, 89);    // rgba(60, 120, 200, 0.35)
    const QColor margin(229, 56, 59, 115);  // rgba(229, 56, 59, 0.45)
    for (double y = 0; y < height; y += kRuleSpacing) band(0, y + kRuleSpacing - 1, width, 1, rule);
    band(kMarginLeft, 0, 2, height, margin);
  } else if (kind == QLatin1String("dotted")) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 50, 70, 97));  // rgba(40, 50, 70, 0.38)
    const double r = kDotRadius * scale;
    for (double y = kDotSpacing / 2; y < height; y += kDotSpacing) {
      for (double x = kDotSpacing / 2; x < width; x += kDotSpacing) {
        painter.drawEllipse(QPointF(target.x() + x * scale, target.y() + y * scale), r, r);
      }
    }
  }
  painter.restore();
}

// Draws the asset `text` contained and centred in `box`; false when it cannot be drawn.
bool paintAsset(QPainter& painter, const QRectF& box, const QString& text,
                const QString& assetFolder) {
  const std::optional<AssetReference> reference = parseAssetReference(text);
  if (!reference) return false;
  const QString path = assetFolder + '/' + reference->fileName();
  if (reference->ext == QLatin1String("pdf")) {
    const std::unique_ptr<PdfDocument> document = PdfDocument::open(path);
    const int index = std::max(reference->page, 1) - 1;
    if (!document || index >= document->pageCount()) return false;
    const QRectF fitted = containedRect(document->pageSize(index), box);
    const QImage image = document->renderPage(index, rasterWidth(painter, fitted.width()));
    if (image.isNull()) return false;
    painter.drawImage(fitted, image);
    return true;
  }
  if (reference->ext == QLatin1String("svg")) {
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) return false;
    renderer.render(&painter, containedRect(renderer.defaultSize(), box));
    return true;
  }
  QImageReader reader(path);
  reader.setAutoTransform(true);
  const QImage image = reader.read();
  if (image.isNull()) return false;
  painter.drawImage(containedRect(image.size(), box), image);
  return true;
}

void paintLivePicture(QPainter& painter, const QRectF& target, const QImage& picture) {
  if (picture.isNull()) {
    painter.fillRect(target, board_paper::kWhite);
    return;
  }
  // Fills the page; a picture of another shape loses its edges rather than being stretched.
  const QSizeF covered = QSizeF(target.size()).scaled(picture.size(), Qt::KeepAspectRatio);
  const QRectF source(
      QPointF((picture.width() - covered.width()) / 2, (picture.height() - covered.height()) / 2),
      covered);
  painter.drawImage(target, picture, source);
}

}  // namespace

QString paintBoardPage(QPainter& painter, const QRectF& target, const QJsonObject& page,
                       const QSizeF& pageSize, const QString& itemsSvg, const QString& assetFolder,
                       const QImage& livePicture) {
  if (pageSize.isEmpty()) return QStringLiteral("The board has no page size.");
  QStringList missing;
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const QString background = page.value(QStringLiteral("background")).toString();
  if (background == QLatin1String("black")) {
    painter.fillRect(target, board_paper::kChalkboard);
  } else if (background == QLatin1String("none")) {
    paintLivePicture(painter, target, livePicture);
  } else {
    painter.fillRect(target, board_paper::kWhite);
    if (background == QLatin1String("image")) {
      const QString image = page.value(QStringLiteral("image")).toString();
      if (!paintAsset(painter, target, image, assetFolder)) missing.append(image);
    } else {
      paintPattern(painter, target, background, pageSize);
    }
  }
  const bool drawn = paintItemsSvg(painter, target, itemsSvg, assetFolder, &missing);
  painter.restore();
  if (!drawn) return QStringLiteral("The drawings of a page could not be read.");
  if (!missing.isEmpty()) {
    return QStringLiteral("The asset “%1” is missing or cannot be drawn.").arg(missing.first());
  }
  return {};
}

}  // namespace dravin
