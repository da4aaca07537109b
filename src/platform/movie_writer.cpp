#include "movie_writer.h"

#include <gst/app/gstappsrc.h>

namespace dravin::gst {

namespace {

std::string describe(const std::string& path, bool withAudio) {
  const std::string source =
      " format=time is-live=true max-bytes=67108864 leaky-type=upstream ! queue ! ";
  std::string text = "appsrc name=video" + source +
                     "videoconvert ! video/x-raw,format=I420 ! x264enc bitrate=" +
                     std::to_string(MovieWriter::kBitsPerSecond / 1000) +
                     " speed-preset=veryfast tune=zerolatency key-int-max=60 ! h264parse ! "
                     "mp4mux name=mux ! filesink location=" +
                     quoteLaunchValue(path);
  if (withAudio) {
    text += " appsrc name=audio" + source +
            "audioconvert ! audioresample ! avenc_aac ! aacparse ! mux.";
  }
  return text;
}

}  // namespace

MovieWriter::MovieWriter(const std::string& path, bool withAudio)
    : pipeline_(std::make_unique<Pipeline>(describe(path, withAudio))), withAudio_(withAudio) {
  videoSource_ = pipeline_->element("video");
  video_.source = videoSource_.get();
  if (withAudio) {
    audioSource_ = pipeline_->element("audio");
    audio_.source = audioSource_.get();
  }
  pipeline_->onError = [this](const std::string& text) {
    std::lock_guard lock(mutex_);
    if (error_.empty()) error_ = text;
  };
  pipeline_->playWhenFed();
}

MovieWriter::~MovieWriter() {
  finish();
}

void MovieWriter::pushVideo(GstSample* sample) {
  std::lock_guard lock(mutex_);
  push(video_, sample, true);
}

void MovieWriter::pushAudio(GstSample* sample) {
  std::lock_guard lock(mutex_);
  if (withAudio_) push(audio_, sample, false);
}

void MovieWriter::push(Stream& stream, GstSample* sample, bool isVideo) {
  GstBuffer* buffer = sample ? gst_sample_get_buffer(sample) : nullptr;
  if (finished_ || paused_ || !buffer || !GST_BUFFER_PTS_IS_VALID(buffer)) return;
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
    return;  // sound is placed against the picture: none before the first frame
  }
  if (pts < offset_) return;
  const GstClockTime out = pts - offset_;
  if (stream.lastOut != GST_CLOCK_TIME_NONE && out <= stream.lastOut) return;

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

std::string MovieWriter::finish() {
  {
    std::lock_guard lock(mutex_);
    if (finished_) return finishResult_;
    finished_ = true;
  }
  gst_app_src_end_of_stream(GST_APP_SRC(video_.source));
  if (audio_.source) gst_app_src_end_of_stream(GST_APP_SRC(audio_.source));
  bool ended = pipeline_->finish(30 * GST_SECOND);
  pipeline_->stop();
  std::lock_guard lock(mutex_);
  if (!error_.empty()) {
    finishResult_ = error_;
  } else if (!ended) {
    finishResult_ = "the movie could not be finished";
  }
  return finishResult_;
}

}  // namespace dravin::gst
