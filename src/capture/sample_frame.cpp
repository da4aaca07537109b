#include "sample_frame.h"

#include <gst/video/video.h>

#include <algorithm>
#include <cstring>

namespace dravin {

QVideoFrame videoFrameFromSample(GstSample* sample) {
  GstBuffer* buffer = gst_sample_get_buffer(sample);
  GstVideoInfo info;
  if (!buffer || !gst_video_info_from_caps(&info, gst_sample_get_caps(sample))) return {};
  if (GST_VIDEO_INFO_FORMAT(&info) != GST_VIDEO_FORMAT_I420) return {};
  QVideoFrame frame(
      QVideoFrameFormat(QSize(GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info)),
                        QVideoFrameFormat::Format_YUV420P));
  GstVideoFrame source;
  if (!gst_video_frame_map(&source, &info, buffer, GST_MAP_READ)) return {};
  const bool mapped = frame.map(QVideoFrame::WriteOnly);
  if (mapped) {
    for (int plane = 0; plane < 3; ++plane) {
      const auto* from = static_cast<const uchar*>(GST_VIDEO_FRAME_PLANE_DATA(&source, plane));
      const int fromStride = GST_VIDEO_FRAME_PLANE_STRIDE(&source, plane);
      uchar* to = frame.bits(plane);
      const int toStride = frame.bytesPerLine(plane);
      const int rows = GST_VIDEO_FRAME_COMP_HEIGHT(&source, plane);
      const auto rowBytes = static_cast<std::size_t>(std::min(fromStride, toStride));
      for (int row = 0; row < rows; ++row) {
        std::memcpy(to + row * toStride, from + row * fromStride, rowBytes);
      }
    }
    frame.unmap();
  }
  gst_video_frame_unmap(&source);
  return mapped ? frame : QVideoFrame();
}

}  // namespace dravin
