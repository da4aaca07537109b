#pragma once

#include <gst/gst.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace dravin::gst {

template <class T>
struct ObjectUnref {
  void operator()(T* p) const {
    if (p) gst_object_unref(p);
  }
};
struct CapsUnref {
  void operator()(GstCaps* p) const {
    if (p) gst_caps_unref(p);
  }
};
struct SampleUnref {
  void operator()(GstSample* p) const {
    if (p) gst_sample_unref(p);
  }
};
struct MessageUnref {
  void operator()(GstMessage* p) const {
    if (p) gst_message_unref(p);
  }
};

using ElementPtr = std::unique_ptr<GstElement, ObjectUnref<GstElement>>;
using BusPtr = std::unique_ptr<GstBus, ObjectUnref<GstBus>>;
using PadPtr = std::unique_ptr<GstPad, ObjectUnref<GstPad>>;
using CapsPtr = std::unique_ptr<GstCaps, CapsUnref>;
using SamplePtr = std::unique_ptr<GstSample, SampleUnref>;
using MessagePtr = std::unique_ptr<GstMessage, MessageUnref>;

// A pipeline that cannot be built or run; the text is GStreamer's own message.
class GstError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// gst_init once per process, from whichever thread first needs GStreamer.
void ensureInitialized();

// "true" → "True": GStreamer's launch syntax quotes values with spaces or quotes.
std::string quoteLaunchValue(const std::string& value);

}  // namespace dravin::gst
