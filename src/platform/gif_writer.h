#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <optional>

namespace dravin {

// An animated GIF from picture files: each picture scaled to fit `frameBox` (aspect kept, never
// enlarged), given its own palette by a quantizer, shown for `delaySeconds`, and the whole
// animation looping forever.
struct GifExport {
  QStringList framePaths;  // in playing order; pictures that cannot be read are skipped
  QString destination;     // replaced only when the whole file has been written
  double delaySeconds = 0.5;
  QSize frameBox{1280, 720};
};

struct GifExportResult {
  int framesWritten = 0;
  int framesSkipped = 0;
};

// Writes the GIF, blocking (call it off the main thread). `progress(done, total)` follows each
// frame; `cancel` stops between frames. Returns the counts, or an error text for the user (no
// readable frame, the destination cannot be written, cancelled); on error the destination is
// left as it was.
std::optional<GifExportResult> writeAnimatedGif(const GifExport& job,
                                                const std::function<void(int, int)>& progress,
                                                const std::atomic<bool>& cancel,
                                                QString* error);

}  // namespace dravin
