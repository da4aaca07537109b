#include "sample_frame.h"

#include <gst/video/video.h>
#include <gtest/gtest.h>

#include <QImage>
#include <QOpenGLContext>
#include <array>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using dravin::frameImage;
using dravin::videoFrameFromSample;

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

// An I420 sample as the session's sink delivers it: red on the left half, blue on the right
// (limited-range BT.709, which GStreamer and Qt assume for I420 this high).
GstSample* redBlueSample() {
  GstVideoInfo info;
  gst_video_info_set_format(&info, GST_VIDEO_FORMAT_I420, kWidth, kHeight);
  GstBuffer* buffer = gst_buffer_new_allocate(nullptr, info.size, nullptr);
  GstMapInfo map;
  gst_buffer_map(buffer, &map, GST_MAP_WRITE);
  constexpr std::array<std::array<guint8, 3>, 2> kYuv{{{63, 102, 240}, {32, 240, 118}}};
  for (int plane = 0; plane < 3; ++plane) {
    const int width = GST_VIDEO_INFO_COMP_WIDTH(&info, plane);
    for (int row = 0; row < GST_VIDEO_INFO_COMP_HEIGHT(&info, plane); ++row) {
      guint8* line = map.data + info.offset[plane] + row * info.stride[plane];
      std::memset(line, kYuv[0][plane], width / 2);
      std::memset(line + width / 2, kYuv[1][plane], width - width / 2);
    }
  }
  gst_buffer_unmap(buffer, &map);
  GstCaps* caps = gst_video_info_to_caps(&info);
  GstSample* sample = gst_sample_new(buffer, caps, nullptr, nullptr);
  gst_buffer_unref(buffer);
  gst_caps_unref(caps);
  return sample;
}

bool near(QRgb pixel, int red, int green, int blue) {
  return std::abs(qRed(pixel) - red) <= 4 && std::abs(qGreen(pixel) - green) <= 4 &&
         std::abs(qBlue(pixel) - blue) <= 4;
}

// Snapshots, a recording's first frame and the board convert copies of one frame on threads of
// their own, at once, and those threads end when they will: each gets the whole picture, and none
// is left holding a graphics context its end would tear down.
TEST(SampleFrame, CopiesOfOneFrameConvertOnThreadsThatEnd) {
  GstSample* sample = redBlueSample();
  const QVideoFrame frame = videoFrameFromSample(sample);
  gst_sample_unref(sample);
  ASSERT_TRUE(frame.isValid());

  constexpr int kThreads = 4;
  std::vector<QImage> images(kThreads);
  std::vector<bool> contextLeft(kThreads, true);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i, copy = frame] {
      images[i] = frameImage(copy);
      contextLeft[i] = QOpenGLContext::currentContext() != nullptr;
    });
  }
  for (auto& thread : threads) thread.join();

  for (int i = 0; i < kThreads; ++i) {
    const QImage& image = images[i];
    ASSERT_EQ(image.size(), QSize(kWidth, kHeight));
    EXPECT_FALSE(contextLeft[i]);
    for (const QPoint at : {QPoint(0, 0), QPoint(kWidth / 2 - 1, kHeight - 1)}) {
      EXPECT_TRUE(near(image.pixel(at), 255, 0, 0)) << std::hex << image.pixel(at);
    }
    for (const QPoint at : {QPoint(kWidth / 2 + 1, 0), QPoint(kWidth - 1, kHeight - 1)}) {
      EXPECT_TRUE(near(image.pixel(at), 0, 0, 255)) << std::hex << image.pixel(at);
    }
  }
  // A frame of another layout is not taken for one.
  EXPECT_TRUE(frameImage(QVideoFrame()).isNull());
  EXPECT_TRUE(
      frameImage(QVideoFrame(QVideoFrameFormat(QSize(8, 8), QVideoFrameFormat::Format_NV12)))
          .isNull());
}

}  // namespace
