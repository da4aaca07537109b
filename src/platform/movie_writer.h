#pragma once

#include <gst/gst.h>

#include <memory>
#include <mutex>
#include <string>

#include "gst_pipeline.h"

namespace dravin::gst {

// Writes an H.264 MP4 (with AAC audio when asked) from raw samples a live session pushes. The
// samples' timestamps are the session's running time. Pausing drops what arrives and closes the
// gap afterwards, so a paused stretch is missing from the movie rather than frozen in it.
class MovieWriter {
 public:
  static constexpr unsigned kBitsPerSecond = 4'000'000;

  // Starts the writing pipeline; throws GstError when it cannot.
  MovieWriter(const std::string& path, bool withAudio);
  ~MovieWriter();
  MovieWriter(const MovieWriter&) = delete;
  MovieWriter& operator=(const MovieWriter&) = delete;

  // From the session's streaming threads.
  void pushVideo(GstSample* sample);
  void pushAudio(GstSample* sample);

  void pause();
  void resume();
  bool isPaused() const;
  // Video written so far, pauses left out.
  GstClockTime recordedDuration() const;
  // Closes the file; returns GStreamer's error text, empty on success. Later calls return the
  // first result.
  std::string finish();

 private:
  struct Stream {
    GstElement* source = nullptr;  // owned by the pipeline
    bool capsSet = false;
    GstClockTime lastOut = GST_CLOCK_TIME_NONE;
  };
  void push(Stream& stream, GstSample* sample, bool isVideo);

  std::unique_ptr<Pipeline> pipeline_;
  gst::ElementPtr videoSource_;
  gst::ElementPtr audioSource_;
  mutable std::mutex mutex_;
  Stream video_;
  Stream audio_;
  bool withAudio_;
  GstClockTime start_ = GST_CLOCK_TIME_NONE;  // session time of the first video frame
  GstClockTime offset_ = 0;                   // start plus every pause so far
  GstClockTime lastVideoEnd_ = 0;             // session time where the last frame written ends
  bool paused_ = false;
  bool resuming_ = false;  // the next frame tells how long the pause was
  GstClockTime recorded_ = 0;
  bool finished_ = false;
  std::string finishResult_;
  std::string error_;
};

}  // namespace dravin::gst
