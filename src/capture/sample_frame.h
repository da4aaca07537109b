#pragma once

#include <gst/gst.h>

#include <QVideoFrame>

namespace dravin {

// The decoder's I420 planes copied into a frame a view's sink uploads as they are, so the GPU
// converts the colours. Invalid for any other layout.
QVideoFrame videoFrameFromSample(GstSample* sample);

}  // namespace dravin
