#include "screen_sources.h"

#include <algorithm>

#include "gst_ptr.h"

namespace dravin {

namespace {

std::string rawCaps(VideoSize size) {
  return "video/x-raw,format=I420,width=" + std::to_string(size.width) +
         ",height=" + std::to_string(size.height) + ",pixel-aspect-ratio=1/1";
}

}  // namespace

std::optional<CropRect> recordedArea(const x11::Monitor& monitor,
                                     const std::optional<CropRect>& crop) {
  CropRect area{monitor.x, monitor.y, monitor.width, monitor.height};
  if (crop) {
    const int left = std::max(0, crop->x);
    const int top = std::max(0, crop->y);
    const int right = std::min(monitor.width, crop->x + crop->width);
    const int bottom = std::min(monitor.height, crop->y + crop->height);
    area = {monitor.x + left, monitor.y + top, right - left, bottom - top};
  }
  if (area.width < 2 || area.height < 2) return std::nullopt;
  return area;
}

std::string x11ScreenSource(const std::string& displayName, const CropRect& area, bool showCursor,
                            int fps, VideoSize size) {
  return "ximagesrc name=screen display-name=" + gst::quoteLaunchValue(displayName) +
         " use-damage=false show-pointer=" + (showCursor ? "true" : "false") +
         " startx=" + std::to_string(area.x) + " starty=" + std::to_string(area.y) +
         " endx=" + std::to_string(area.x + area.width - 1) +
         " endy=" + std::to_string(area.y + area.height - 1) +
         " ! video/x-raw,framerate=" + std::to_string(fps) + "/1 ! videoscale ! videoconvert ! " +
         rawCaps(size);
}

std::string pipeWireSource(const PipeWireStream& stream, int fd, int fps, VideoSize size) {
  // Frames are copied out of PipeWire's buffers: the encoder holds them past the next frame.
  // The source never waits for a busy converter (a late frame would be stamped late): a frame
  // the converter cannot take in time is dropped, and the rate is made steady after converting,
  // so a repeated frame costs nothing.
  return "pipewiresrc name=screen fd=" + std::to_string(fd) +
         " path=" + std::to_string(stream.nodeId) +
         " keepalive-time=" + std::to_string(kPipeWireKeepaliveMs) +
         " always-copy=true ! queue leaky=downstream max-size-buffers=" +
         std::to_string(kPipeWireQueuedFrames) +
         " max-size-bytes=0 max-size-time=0 ! videoconvert ! videoscale ! " + rawCaps(size) +
         " ! videorate ! video/x-raw,framerate=" + std::to_string(fps) + "/1";
}

}  // namespace dravin
