#pragma once

#include <gst/app/gstappsink.h>

#include <QImage>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "gst_pipeline.h"

namespace dravin::gst {

// The latest picture of one PipeWire stream (a window or screen the desktop's portal shares),
// for views that pull frames when they want them. The stream sends pictures only when its
// content changes; the last one stays until the next.
class PipeWireFrames {
 public:
  // `fd` is the portal's PipeWire connection, kept open by the caller while this lives; `nodeId`
  // the stream's node. Throws GstError when the stream cannot be opened.
  PipeWireFrames(int fd, std::uint32_t nodeId);
  ~PipeWireFrames();
  PipeWireFrames(const PipeWireFrames&) = delete;
  PipeWireFrames& operator=(const PipeWireFrames&) = delete;

  // The latest picture, null before the first one.
  QImage latest() const;
  // Whether the stream ended or failed (the shared window closed, the user stopped sharing).
  bool ended() const;

  // The launch text read by the frames' sink.
  static std::string describe(int fd, std::uint32_t nodeId);

 private:
  static GstFlowReturn arrived(GstAppSink* sink, gpointer self);

  mutable std::mutex mutex_;
  QImage latest_;
  bool ended_ = false;
  std::unique_ptr<Pipeline> pipeline_;
};

}  // namespace dravin::gst
