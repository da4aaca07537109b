#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "x11_screens.h"

namespace dravin {

// A part of a screen, in its pixels from its top-left corner.
struct CropRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const CropRect&) const = default;
};

struct VideoSize {
  int width = 0;
  int height = 0;
  bool operator==(const VideoSize&) const = default;
};

// A stream of the desktop's screen-cast portal: its own PipeWire connection (the caller keeps the
// descriptor open while the recorder is built; the recorder keeps a copy), the node to read, and
// the picture's size as the portal gave it.
struct PipeWireStream {
  int fd = -1;
  std::uint32_t nodeId = 0;
  VideoSize size;
};

// The crop within the monitor, in root-window pixels; nothing when they do not overlap.
std::optional<CropRect> recordedArea(const x11::Monitor& monitor,
                                     const std::optional<CropRect>& crop);

// The launch text of a screen source ending in caps for raw I420 frames of `size` at `fps`,
// ready for " ! appsink".
std::string x11ScreenSource(const std::string& displayName, const CropRect& area, bool showCursor,
                            int fps, VideoSize size);
// A portal's stream only sends frames when the screen changes: the last one is sent again every
// keepalive and the rate made steady, so a still screen records for as long as it is still.
std::string pipeWireSource(const PipeWireStream& stream, int fd, int fps, VideoSize size);

inline constexpr int kPipeWireKeepaliveMs = 100;
// Frames waiting for the converter, at most: a few, as each full-size frame is megabytes.
inline constexpr int kPipeWireQueuedFrames = 4;

}  // namespace dravin
