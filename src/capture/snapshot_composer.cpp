#include "snapshot_composer.h"

#include <QPainter>

namespace dravin {

QImage composeSnapshot(const QImage& picture, const SnapshotLayout& layout, const QImage& board) {
  QImage canvas(layout.windowSize, QImage::Format_RGB32);
  canvas.fill(Qt::black);
  QPainter painter(&canvas);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);

  painter.save();
  painter.translate(layout.pictureCentre);
  // Mirroring flips the view as the viewer sees it, after the turn.
  if (layout.mirrorHorizontal) painter.scale(-1, 1);
  painter.rotate(layout.rotation);
  painter.translate(-layout.pictureSize.width() / 2, -layout.pictureSize.height() / 2);
  // The preview fits the picture into its frame keeping the aspect ratio.
  QSizeF fitted = QSizeF(picture.size()).scaled(layout.previewFrame.size(), Qt::KeepAspectRatio);
  QRectF target(QPointF(0, 0), fitted);
  target.moveCenter(layout.previewFrame.center());
  painter.drawImage(target, picture);
  painter.restore();

  if (!board.isNull()) painter.drawImage(QRectF(QPointF(0, 0), QSizeF(layout.windowSize)), board);
  return canvas;
}

}  // namespace dravin
