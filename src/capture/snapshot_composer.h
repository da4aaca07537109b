#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>

namespace dravin {

// Where the live picture sits on screen: the window's content, the centre and size of the
// picture area (before its rotation), the preview's frame inside that area, and the turn and
// mirror applied to the area.
struct SnapshotLayout {
  QSize windowSize;
  QPointF pictureCentre;
  QSizeF pictureSize;
  QRectF previewFrame;
  double rotation = 0;
  bool mirrorHorizontal = false;
};

// A bitmap the size of the window holding the picture where the preview shows it (zoom, pan,
// rotation and mirroring as on screen) with the board, when given, drawn over it.
QImage composeSnapshot(const QImage& picture, const SnapshotLayout& layout,
                       const QImage& board = {});

}  // namespace dravin
