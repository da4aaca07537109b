#pragma once

#include <gst/gst.h>

#include <QImage>
#include <QVideoFrame>

namespace dravin {

// The decoder's I420 planes copied into a frame a view's sink uploads as they are, so the GPU
// converts the colours. Invalid for any other layout.
QVideoFrame videoFrameFromSample(GstSample* sample);

// A frame of videoFrameFromSample as an image, from any thread; null for any other frame. Qt 6.4's
// own conversion keeps a graphics context per converting thread that is torn down when the thread
// ends, which crashed a pool thread ending while the application closed its display, and it
// caches the image in the data copies of a frame share, unlocked. This one runs on the processor.
QImage frameImage(const QVideoFrame& frame);

}  // namespace dravin
