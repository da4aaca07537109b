#include "movie_writer.h"

#include <gst/app/gstappsrc.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "movie_compactor.h"

namespace dravin::gst {

namespace {

// Index bytes held per second of movie and track: a 30 fps H.264 picture of the screen needs
// about 130, AAC sound about 210 (measured); twice that covers timestamps that jitter more.
constexpr std::uint64_t kIndexBytesPerSecond = 400;
// qtmux holds the room twice: it writes each index into the place the last one did not use.
constexpr std::uint64_t kIndexPlaces = 2;
constexpr std::uintmax_t kShareOfFreeSpace = 10;
constexpr GstClockTime kShortestMovie = 60 * GST_SECOND;
// Samples stop this long before the held room runs out, so the last index still fits.
constexpr GstClockTime kLengthMargin = 10 * GST_SECOND;

std::optional<std::uintmax_t> freeSpaceFor(const std::string& path) {
  std::error_code error;
  auto folder = std::filesystem::path(path).parent_path();
  if (folder.empty()) folder = ".";
  const auto space = std::filesystem::space(folder, error);
  if (error) return std::nullopt;
  return space.available;
}

std::string describe(const std::string& path, bool withAudio, GstClockTime longest) {
  const std::string source =
      " format=time is-live=true max-bytes=67108864 leaky-type=upstream ! queue ! ";
  std::string text =
      "appsrc name=video" + source + "videoconvert ! video/x-raw,format=I420 ! x264enc bitrate=" +
      std::to_string(MovieWriter::kBitsPerSecond / 1000) +
      " speed-preset=veryfast tune=zerolatency key-int-max=60 ! h264parse ! "
      "mp4mux name=mux reserved-max-duration=" +
      std::to_string(longest) + " reserved-bytes-per-sec=" + std::to_string(kIndexBytesPerSecond) +
      " reserved-moov-update-period=" + std::to_string(MovieWriter::kIndexPeriod) +
      " ! filesink location=" + quoteLaunchValue(path);
  if (withAudio) {
    text += " appsrc name=audio" + source +
            "audioconvert ! audioresample ! avenc_aac ! aacparse ! mux.";
  }
  return text;
}

// How long a movie may become, from the free space where it is written (empty: unknown).
GstClockTime longestMovie(std::optional<std::uintmax_t> freeBytes, int tracks) {
  const std::uint64_t perSecond = kIndexPlaces * kIndexBytesPerSecond * std::max(1, tracks);
  GstClockTime longest = MovieWriter::kLongestMovie;
  if (freeBytes) {
    const std::uint64_t seconds = *freeBytes / kShareOfFreeSpace / perSecond;
    longest = std::min<GstClockTime>(longest, seconds * GST_SECOND);
  }
  return std::max(longest, kShortestMovie);
}

}  // namespace

MovieWriter::MovieWriter(const std::string& path, bool withAudio, FailureHandler onFailure)
    : path_(path),
      longest_(longestMovie(freeSpaceFor(path), withAudio ? 2 : 1)),
      onFailure_(std::move(onFailure)),
      pipeline_(std::make_unique<Pipeline>(describe(path, withAudio, longest_))),
      withAudio_(withAudio) {
  videoSource_ = pipeline_->element("video");
  video_.source = videoSource_.get();
  if (withAudio) {
    audioSource_ = pipeline_->element("audio");
    audio_.source = audioSource_.get();
  }
  pipeline_->onError = [this](const std::string& text) {
    const auto kind =
        pipeline_->ranOutOfSpace() ? WriteFailure::Kind::diskFull : WriteFailure::Kind::other;
    std::optional<WriteFailure> failed;
    {
      std::lock_guard lock(mutex_);
      failed = fail({kind, text});
    }
    report(failed);
  };
  pipeline_->playWhenFed();
}

MovieWriter::~MovieWriter() {
  finish(Finishing::asWritten);
  // Its bus thread reports into the members below: gone before they are.
  pipeline_.reset();
}

void MovieWriter::pushVideo(GstSample* sample) {
  std::optional<WriteFailure> failed;
  {
    std::lock_guard lock(mutex_);
    failed = push(video_, sample, true);
  }
  report(failed);
}

void MovieWriter::pushAudio(GstSample* sample) {
  if (!withAudio_) return;
  std::optional<WriteFailure> failed;
  {
    std::lock_guard lock(mutex_);
    failed = push(audio_, sample, false);
  }
  report(failed);
}

std::optional<WriteFailure> MovieWriter::fail(WriteFailure failure) {
  if (failure_) return std::nullopt;
  failure_ = failure;
  return failure;
}

void MovieWriter::report(const std::optional<WriteFailure>& failure) {
  if (failure && onFailure_) onFailure_(*failure);
}

std::optional<WriteFailure> MovieWriter::push(Stream& stream, GstSample* sample, bool isVideo) {
  GstBuffer* buffer = sample ? gst_sample_get_buffer(sample) : nullptr;
  if (finished_ || failure_ || paused_ || !buffer || !GST_BUFFER_PTS_IS_VALID(buffer)) return {};
  const GstClockTime pts = GST_BUFFER_PTS(buffer);
  const GstClockTime duration =
      GST_BUFFER_DURATION_IS_VALID(buffer) ? GST_BUFFER_DURATION(buffer) : 0;

  if (isVideo) {
    if (start_ == GST_CLOCK_TIME_NONE) {
      start_ = pts;
      offset_ = pts;
    } else if (resuming_) {
      // The pause lasted from the end of the last frame written until this one.
      if (pts > lastVideoEnd_) offset_ += pts - lastVideoEnd_;
      resuming_ = false;
    }
  } else if (start_ == GST_CLOCK_TIME_NONE || resuming_) {
    return {};  // sound is placed against the picture: none before the first frame
  }
  if (pts < offset_) return {};
  const GstClockTime out = pts - offset_;
  if (stream.lastOut != GST_CLOCK_TIME_NONE && out <= stream.lastOut) return {};
  if (out + kLengthMargin >= longest_) {
    return fail({WriteFailure::Kind::tooLong, "the movie reached the longest length it can have"});
  }

  if (!stream.capsSet) {
    gst_app_src_set_caps(GST_APP_SRC(stream.source), gst_sample_get_caps(sample));
    stream.capsSet = true;
  }
  GstBuffer* copy = gst_buffer_copy(buffer);  // shares the memory, owns its timestamps
  GST_BUFFER_PTS(copy) = out;
  GST_BUFFER_DTS(copy) = GST_CLOCK_TIME_NONE;
  stream.lastOut = out;
  if (isVideo) {
    lastVideoEnd_ = pts + duration;
    recorded_ = out + duration;
  }
  gst_app_src_push_buffer(GST_APP_SRC(stream.source), copy);
  return {};
}

void MovieWriter::pause() {
  std::lock_guard lock(mutex_);
  paused_ = true;
}

void MovieWriter::resume() {
  std::lock_guard lock(mutex_);
  if (!paused_) return;
  paused_ = false;
  resuming_ = start_ != GST_CLOCK_TIME_NONE;
}

bool MovieWriter::isPaused() const {
  std::lock_guard lock(mutex_);
  return paused_;
}

GstClockTime MovieWriter::recordedDuration() const {
  std::lock_guard lock(mutex_);
  return recorded_;
}

std::optional<WriteFailure> MovieWriter::failure() const {
  std::lock_guard lock(mutex_);
  return failure_;
}

std::string MovieWriter::finish(Finishing how) {
  {
    std::lock_guard lock(mutex_);
    if (finished_) return finishResult_;
    finished_ = true;
  }
  gst_app_src_end_of_stream(GST_APP_SRC(video_.source));
  if (audio_.source) gst_app_src_end_of_stream(GST_APP_SRC(audio_.source));
  const bool ended = pipeline_->finish(30 * GST_SECOND);
  pipeline_->stop();
  bool compact = how == Finishing::compact;
  {
    std::lock_guard lock(mutex_);
    if (failure_) {
      finishResult_ = failure_->text;
      // A full disk has no room for a second copy; the file as it is plays.
      compact = compact && failure_->kind != WriteFailure::Kind::diskFull;
    } else if (!ended) {
      finishResult_ = "the movie could not be finished";
    }
    compact = compact && recorded_ > 0;
  }
  // Left as written when this fails: the index is in front already, only the held room stays.
  if (compact) compactMovie(path_);
  std::lock_guard lock(mutex_);
  return finishResult_;
}

}  // namespace dravin::gst
