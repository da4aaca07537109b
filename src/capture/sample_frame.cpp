#include "sample_frame.h"

#include <gst/video/video.h>

#include <algorithm>
#include <cstring>
#include <memory>

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

namespace {

struct BufferUnref {
  void operator()(GstBuffer* p) const { gst_buffer_unref(p); }
};
using BufferPtr = std::unique_ptr<GstBuffer, BufferUnref>;

BufferPtr wrap(void* data, std::size_t size, bool readOnly) {
  return BufferPtr(
      gst_buffer_new_wrapped_full(readOnly ? GST_MEMORY_FLAG_READONLY : GstMemoryFlags{}, data,
                                  size, 0, size, nullptr, nullptr));
}

// Converts mapped I420 planes into `image` (RGBx, the same size).
bool convert(const QVideoFrame& mapped, QImage& image) {
  const int width = mapped.width();
  const int height = mapped.height();
  GstVideoInfo in;
  gst_video_info_set_format(&in, GST_VIDEO_FORMAT_I420, width, height);
  const uchar* base = mapped.bits(0);
  for (int plane = 0; plane < 3; ++plane) {
    if (!mapped.bits(plane) || mapped.bits(plane) < base) return false;
    in.offset[plane] = static_cast<gsize>(mapped.bits(plane) - base);
    in.stride[plane] = mapped.bytesPerLine(plane);
  }
  in.size = in.offset[2] + static_cast<gsize>(in.stride[2]) * GST_VIDEO_INFO_COMP_HEIGHT(&in, 2);
  GstVideoInfo out;
  gst_video_info_set_format(&out, GST_VIDEO_FORMAT_RGBx, width, height);
  out.stride[0] = static_cast<gint>(image.bytesPerLine());
  out.size = static_cast<gsize>(image.sizeInBytes());

  BufferPtr from = wrap(const_cast<uchar*>(base), in.size, true);
  BufferPtr to = wrap(image.bits(), out.size, false);
  GstVideoFrame source;
  GstVideoFrame target;
  if (!gst_video_frame_map(&source, &in, from.get(), GST_MAP_READ)) return false;
  if (!gst_video_frame_map(&target, &out, to.get(), GST_MAP_WRITE)) {
    gst_video_frame_unmap(&source);
    return false;
  }
  GstVideoConverter* converter = gst_video_converter_new(&in, &out, nullptr);
  if (converter) {
    gst_video_converter_frame(converter, &source, &target);
    gst_video_converter_free(converter);
  }
  gst_video_frame_unmap(&target);
  gst_video_frame_unmap(&source);
  return converter != nullptr;
}

}  // namespace

QImage frameImage(const QVideoFrame& frame) {
  if (!frame.isValid() || frame.pixelFormat() != QVideoFrameFormat::Format_YUV420P) return {};
  QImage image(frame.size(), QImage::Format_RGBX8888);
  if (image.isNull()) return {};
  QVideoFrame mapped = frame;
  if (!mapped.map(QVideoFrame::ReadOnly)) return {};
  const bool converted = convert(mapped, image);
  mapped.unmap();
  return converted ? image : QImage();
}

}  // namespace dravin
