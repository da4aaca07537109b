#include "snapshot_saving.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QThreadPool>
#include <QUrl>

#include "app_log.h"
#include "atomic_write.h"
#include "free_memory.h"
#include "notification_center.h"
#include "notification_names.h"
#include "sample_frame.h"
#include "serial_queue.h"

namespace dravin {

namespace {

// The reason a snapshot could not be written, empty once it is saved. Nothing of a failed write
// is left: the save file's temporary is gone when this returns.
QString writeSnapshot(const QImage& snapshot, const QString& path) {
  // Encoded in memory first: a write that stops short on a full disk is then told apart from a
  // failed encoding, which the image writer reports alike.
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  // zlib's fastest level: the default level alone took longer than the rest of a snapshot.
  writer.setCompression(1);
  if (!writer.write(snapshot)) return writer.errorString();
  return writeFileAtomically(path, png);
}

}  // namespace

void saveSnapshot(const QVideoFrame& frame, const SnapshotLayout& layout, const QImage& board,
                  const QString& path, std::function<void(const QString& reason)> failed) {
  // Composing and encoding take longer than a frame.
  QThreadPool::globalInstance()->start([frame, layout, board, path, failed = std::move(failed)] {
    QImage snapshot = composeSnapshot(frameImage(frame), layout, board);
    if (const QString reason = writeSnapshot(snapshot, path); !reason.isEmpty()) {
      // The name claimed for it goes too: a full disk leaves no empty picture behind.
      QFile::remove(path);
      onMainThread([failed, reason] { failed(reason); });
      return;
    }
    const QUrl url = QUrl::fromLocalFile(path);
    logLine(QStringLiteral("Took a snapshot at: ") + url.toString());
    NotificationCenter::instance().post(
        notifications::kImageCaptured,
        {{QStringLiteral("image"), snapshot}, {QStringLiteral("url"), url}});
    snapshot = QImage();
    releaseFreedMemory();
  });
}

}  // namespace dravin
