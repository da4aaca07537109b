#include "pipewire_frames.h"

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>

namespace dravin::gst {

std::string PipeWireFrames::describe(int fd, std::uint32_t nodeId) {
  // BGRx is QImage's RGB32; one buffer kept, the newest wins.
  return "pipewiresrc fd=" + std::to_string(fd) + " path=" + std::to_string(nodeId) +
         " always-copy=true ! videoconvert ! video/x-raw,format=BGRx ! "
         "appsink name=frames sync=false max-buffers=1 drop=true";
}

PipeWireFrames::PipeWireFrames(int fd, std::uint32_t nodeId)
    : pipeline_(std::make_unique<Pipeline>(describe(fd, nodeId))) {
  pipeline_->onError = [this](const std::string&) {
    std::lock_guard lock(mutex_);
    ended_ = true;
  };
  pipeline_->onEos = [this] {
    std::lock_guard lock(mutex_);
    ended_ = true;
  };
  GstAppSinkCallbacks callbacks{};
  callbacks.new_sample = arrived;
  gst_app_sink_set_callbacks(GST_APP_SINK(pipeline_->element("frames").get()), &callbacks, this,
                             nullptr);
  // A window's stream may wait for its first change before it sends anything.
  pipeline_->playWhenFed();
}

PipeWireFrames::~PipeWireFrames() {
  if (pipeline_) pipeline_->stop();
}

QImage PipeWireFrames::latest() const {
  std::lock_guard lock(mutex_);
  return latest_;
}

bool PipeWireFrames::ended() const {
  std::lock_guard lock(mutex_);
  return ended_;
}

GstFlowReturn PipeWireFrames::arrived(GstAppSink* sink, gpointer data) {
  auto* self = static_cast<PipeWireFrames*>(data);
  SamplePtr sample(gst_app_sink_pull_sample(sink));
  if (!sample) return GST_FLOW_OK;
  GstVideoInfo info;
  if (!gst_video_info_from_caps(&info, gst_sample_get_caps(sample.get()))) return GST_FLOW_OK;
  GstVideoFrame frame;
  if (!gst_video_frame_map(&frame, &info, gst_sample_get_buffer(sample.get()), GST_MAP_READ)) {
    return GST_FLOW_OK;
  }
  // Copied out: the buffer goes back to the stream when this returns.
  QImage image = QImage(static_cast<const uchar*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0)),
                        GST_VIDEO_FRAME_WIDTH(&frame), GST_VIDEO_FRAME_HEIGHT(&frame),
                        GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0), QImage::Format_RGB32)
                     .copy();
  gst_video_frame_unmap(&frame);
  std::lock_guard lock(self->mutex_);
  self->latest_ = std::move(image);
  return GST_FLOW_OK;
}

}  // namespace dravin::gst
