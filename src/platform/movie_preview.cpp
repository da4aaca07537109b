#include "movie_preview.h"

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>

#include <atomic>
#include <memory>

#include "gst_pipeline.h"

namespace dravin::gst {

QImage moviePreview(const std::string& path) {
  try {
    Pipeline pipeline("filesrc location=" + quoteLaunchValue(path) +
                      " ! decodebin ! videoconvert ! video/x-raw,format=RGBx ! appsink "
                      "name=sink sync=false");
    auto sink = pipeline.element("sink");
    // A file that does not decode reports an error on the bus; waiting out the whole timeout
    // instead would hold up every thumbnail behind it.
    auto failed = std::make_shared<std::atomic<bool>>(false);
    pipeline.onError = [failed](const std::string&) { *failed = true; };
    pipeline.pause();
    SamplePtr sample;
    for (int slice = 0; slice < 100 && !sample && !*failed; ++slice)
      sample.reset(gst_app_sink_try_pull_preroll(GST_APP_SINK(sink.get()), 100 * GST_MSECOND));
    if (!sample) return {};
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, gst_sample_get_caps(sample.get()))) return {};
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &info, gst_sample_get_buffer(sample.get()), GST_MAP_READ)) {
      return {};
    }
    QImage image(static_cast<const uchar*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0)),
                 GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info),
                 GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0), QImage::Format_RGBX8888);
    QImage copy = image.copy();
    gst_video_frame_unmap(&frame);
    return copy;
  } catch (const GstError&) {
    return {};
  }
}

}  // namespace dravin::gst
