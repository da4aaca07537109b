#pragma once

#include <gst/gst.h>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "gst_pipeline.h"

namespace dravin::gst {

// Why a movie stopped taking samples before it was finished.
struct WriteFailure {
  enum class Kind { diskFull, tooLong, other };
  Kind kind = Kind::other;
  std::string text;
};

// Writes an H.264 MP4 (with AAC audio when asked) from raw samples a live session pushes. The
// samples' timestamps are the session's running time. Pausing drops what arrives and closes the
// gap afterwards, so a paused stretch is missing from the movie rather than frozen in it.
//
// The file plays at every moment: room for the index is held at its start and the index is
// written there again every kIndexPeriod, each time into the other of two places, so a killed
// program or a power cut leaves a movie short of its last second or so, index first. Finishing
// writes the whole index and then, when there is room, compacts the file without the held room.
class MovieWriter {
 public:
  static constexpr unsigned kBitsPerSecond = 4'000'000;
  static constexpr GstClockTime kIndexPeriod = GST_SECOND;
  // A lesson, with room to spare; the room held grows with it.
  static constexpr GstClockTime kLongestMovie = 4 * 3600 * GST_SECOND;
  using FailureHandler = std::function<void(const WriteFailure&)>;
  enum class Finishing { compact, asWritten };

  // Starts the writing pipeline; throws GstError when it cannot. `onFailure` runs once, on the
  // writer's bus thread or a thread pushing samples, when the movie stops taking samples by
  // itself (a full disk, its longest length reached, a write error); what was written before
  // stays playable. The longest length is kLongestMovie, or less where the room held for the
  // index would take more than a tenth of the free space.
  MovieWriter(const std::string& path, bool withAudio, FailureHandler onFailure = {});
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
  std::optional<WriteFailure> failure() const;
  // Closes the file; returns the failure's or GStreamer's error text, empty on success. Later
  // calls return the first result. Compacting takes as long as copying the file.
  std::string finish(Finishing how = Finishing::compact);

 private:
  struct Stream {
    GstElement* source = nullptr;  // owned by the pipeline
    bool capsSet = false;
    GstClockTime lastOut = GST_CLOCK_TIME_NONE;
  };
  // With mutex_ held; returns a failure to report once the lock is released.
  std::optional<WriteFailure> push(Stream& stream, GstSample* sample, bool isVideo);
  // With mutex_ held; the first failure only.
  std::optional<WriteFailure> fail(WriteFailure failure);
  void report(const std::optional<WriteFailure>& failure);

  const std::string path_;
  GstClockTime longest_;
  FailureHandler onFailure_;
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
  std::optional<WriteFailure> failure_;
};

}  // namespace dravin::gst
