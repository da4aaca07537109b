#pragma once

#include <QImage>
#include <QString>
#include <QVideoFrame>
#include <functional>

#include "snapshot_composer.h"

namespace dravin {

// Composes the snapshot of `frame` as `layout` places it, with `board` over it, and saves it as
// a PNG at `path`, off the main thread; a saved snapshot is announced as a captured image. When
// it cannot be saved nothing is left at `path`, and `failed` gets the reason on the main thread.
void saveSnapshot(const QVideoFrame& frame, const SnapshotLayout& layout, const QImage& board,
                  const QString& path, std::function<void(const QString& reason)> failed);

}  // namespace dravin
