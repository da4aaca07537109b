#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace dravin {

// What a library tile shows: thumbnails fit into this box, aspect ratio kept.
inline constexpr QSize kThumbnailSize{256, 144};

// A small picture of the file at `path` that fits into `box`: pictures (JPEG decoded at reduced
// scale, EXIF orientation applied), SVG, the first page of a PDF, the first frame of an MP4 or
// MOV. A null image when the file cannot be drawn. Blocking: call it off the main thread.
QImage makeThumbnail(const QString& path, QSize box = kThumbnailSize);

}  // namespace dravin
