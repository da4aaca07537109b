#include "screen_recorder.h"

#include <fcntl.h>
#include <unistd.h>
#include <QGuiApplication>
#include <QString>
#include <algorithm>
#include <cmath>

#include <filesystem>

#include "app_log.h"
#include "display_session.h"
#include "x11_screens.h"

namespace dravin {

namespace {

constexpr std::int32_t kTimescale = 600;
constexpr const char* kActivityReason = "Recording screen";
constexpr GstClockTime kDrainTimeout = 2 * GST_SECOND;

QString applicationName() {
  QString name = QGuiApplication::applicationDisplayName();
  return name.isEmpty() ? QStringLiteral("Pelora Dravin") : name;
}

// The mic branch, ending in `sink`; the same text is tried alone before the session uses it.
std::string micBranch(const CaptureDevice& mic, const std::string& sink) {
  return mic.sourceLaunch +
         " ! audioconvert ! audioresample ! audio/x-raw,rate=48000,channels=2 ! " + sink;
}

// Stamps a frame with the moment it came. The portal's frames carry the compositor's times and
// the repeated ones the source's own, two timelines that made a still screen record too long.
GstPadProbeReturn stampOnArrival(GstPad* pad, GstPadProbeInfo* info, gpointer) {
  GstElement* element = gst_pad_get_parent_element(pad);
  GstClock* clock = element ? gst_element_get_clock(element) : nullptr;
  if (clock) {
    const GstClockTime now = gst_clock_get_time(clock);
    const GstClockTime base = gst_element_get_base_time(element);
    GstBuffer* buffer = gst_buffer_make_writable(GST_PAD_PROBE_INFO_BUFFER(info));
    GST_BUFFER_PTS(buffer) = now > base ? now - base : 0;
    GST_BUFFER_DTS(buffer) = GST_CLOCK_TIME_NONE;
    GST_BUFFER_DURATION(buffer) = GST_CLOCK_TIME_NONE;
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    gst_object_unref(clock);
  }
  if (element) gst_object_unref(element);
  return GST_PAD_PROBE_OK;
}

// Moves a live pipeline to PAUSED, where sources open their devices without capturing yet.
bool openDevices(gst::Pipeline& pipeline) {
  GstStateChangeReturn result = gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
  if (result != GST_STATE_CHANGE_FAILURE) {
    result = gst_element_get_state(pipeline.get(), nullptr, nullptr, 5 * GST_SECOND);
  }
  return result == GST_STATE_CHANGE_SUCCESS || result == GST_STATE_CHANGE_NO_PREROLL;
}

}  // namespace

FrameDuration minFrameDuration(int framesPerSecond) {
  const int fps = std::max(1, framesPerSecond);
  return {std::llround(static_cast<double>(kTimescale) / fps), kTimescale};
}

double scaleFactor(double screenWidthPoints, double backingScale) {
  const double fit =
      screenWidthPoints > kMaxRecordedWidth ? kMaxRecordedWidth / screenWidthPoints : 1.0;
  return backingScale > 0 ? fit / backingScale : fit;
}

VideoSize scaledSize(int width, int height, double scale) {
  auto even = [scale](int length) {
    const long scaled = std::lround(length * scale / 2.0) * 2;
    return static_cast<int>(std::max(2L, scaled));
  };
  return {even(width), even(height)};
}

bool screenRecordingAllowed() {
  return displaySession() == DisplaySession::wayland || x11::displayReachable();
}

ScreenRecorder::Error::Error(Code code, const std::string& detail)
    : std::runtime_error(detail.empty() ? std::string(name(code))
                                        : std::string(name(code)) + ": " + detail),
      code_(code) {}

const char* ScreenRecorder::Error::name(Code code) {
  switch (code) {
    case Code::invalidScreen: return "invalidScreen";
    case Code::invalidAudioDevice: return "invalidAudioDevice";
    case Code::couldNotAddScreen: return "couldNotAddScreen";
    case Code::couldNotAddMic: return "couldNotAddMic";
    case Code::couldNotAddOutput: return "couldNotAddOutput";
    case Code::notAllowed: return "notAllowed";
  }
  return "unknown";
}

ScreenRecorder::ScreenRecorder(std::string destination, int framesPerSecond,
                               std::optional<CropRect> cropRect, bool showCursor,
                               bool /*highlightClicks*/, std::uint32_t screenId,
                               std::optional<CaptureDevice> audioDevice,
                               std::optional<VideoCodec> /*videoCodec: H.264 is the only one*/,
                               std::string displayName)
    : destination_(std::move(destination)),
      activity_(applicationName(), [](const QString& line) { logLine(line); }) {
  using Code = Error::Code;
  if (audioDevice && audioDevice->kind != DeviceKind::audio) throw Error(Code::invalidAudioDevice);
  if (displayName.empty()) displayName = x11::defaultDisplayName();
  if (displayName.empty()) throw Error(Code::couldNotAddScreen, "no X display");

  std::vector<x11::Monitor> monitors;
  try {
    monitors = x11::listMonitors(displayName);
  } catch (const x11::X11Error& error) {
    throw Error(Code::couldNotAddScreen, error.what());
  }
  auto monitor = std::find_if(monitors.begin(), monitors.end(),
                              [screenId](const x11::Monitor& m) { return m.id == screenId; });
  if (monitor == monitors.end()) throw Error(Code::invalidScreen);
  const std::optional<CropRect> area = recordedArea(*monitor, cropRect);
  if (!area) throw Error(Code::invalidScreen, "the crop rectangle lies outside the screen");
  // Scaled by the recorded screen's own width, so a wide second screen is held to 1920 too.
  videoSize_ = scaledSize(area->width, area->height, scaleFactor(monitor->width, 1.0));
  open(x11ScreenSource(displayName, *area, showCursor, std::max(1, framesPerSecond), videoSize_),
       audioDevice);
}

ScreenRecorder::ScreenRecorder(std::string destination, int framesPerSecond,
                               const PipeWireStream& stream,
                               std::optional<CaptureDevice> audioDevice,
                               std::optional<VideoCodec> /*videoCodec: H.264 is the only one*/)
    : destination_(std::move(destination)),
      activity_(applicationName(), [](const QString& line) { logLine(line); }) {
  using Code = Error::Code;
  if (audioDevice && audioDevice->kind != DeviceKind::audio) throw Error(Code::invalidAudioDevice);
  if (stream.size.width < 2 || stream.size.height < 2) {
    throw Error(Code::invalidScreen, "the portal did not say how large the screen is");
  }
  // Our own copy: the portal's descriptor may be closed while this recorder still reads.
  drainOnStop_ = true;
  pipeWireFd_ = stream.fd < 0 ? -1 : fcntl(stream.fd, F_DUPFD_CLOEXEC, 3);
  if (pipeWireFd_ < 0) throw Error(Code::couldNotAddScreen, "no PipeWire connection");
  videoSize_ =
      scaledSize(stream.size.width, stream.size.height, scaleFactor(stream.size.width, 1.0));
  try {
    open(pipeWireSource(stream, pipeWireFd_, std::max(1, framesPerSecond), videoSize_),
         audioDevice);
    // PipeWire's source offers a clock that stands still while the screen does; the microphone
    // and the frames the rate fills in need one that runs.
    GstClock* clock = gst_system_clock_obtain();
    gst_pipeline_use_clock(GST_PIPELINE(session_->get()), clock);
    gst_object_unref(clock);
    gst::ElementPtr source = session_->element("screen");
    if (GstPad* pad = source ? gst_element_get_static_pad(source.get(), "src") : nullptr) {
      gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, &stampOnArrival, nullptr, nullptr);
      gst_object_unref(pad);
    }
  } catch (...) {
    ::close(pipeWireFd_);
    throw;
  }
}

void ScreenRecorder::open(const std::string& videoSource,
                          const std::optional<CaptureDevice>& audioDevice) {
  using Code = Error::Code;
  if (audioDevice) {
    // Tried alone so that a microphone that cannot be opened is told apart from the screen.
    try {
      gst::Pipeline probe(micBranch(*audioDevice, "fakesink"));
      if (!openDevices(probe)) throw gst::GstError("the microphone could not be opened");
      probe.stop();
    } catch (const gst::GstError& error) {
      throw Error(Code::couldNotAddMic, error.what());
    }
  }
  std::string description = videoSource + " ! appsink name=video sync=false max-buffers=8";
  if (audioDevice) {
    description += " " + micBranch(*audioDevice, "appsink name=audio sync=false max-buffers=64");
  }
  try {
    session_ = std::make_unique<gst::Pipeline>(description);
  } catch (const gst::GstError& error) {
    throw Error(Code::couldNotAddScreen, error.what());
  }
  session_->onError = [this](const std::string& text) {
    std::lock_guard lock(mutex_);
    // Failures before start() are the constructor's to report.
    if (!closing_ && (state_ == State::recording || state_ == State::paused)) finishOnWorker(text);
  };
  connectSinks();
  if (!openDevices(*session_)) {
    session_->stop();
    throw Error(Code::couldNotAddScreen, "the screen could not be captured");
  }

  try {
    // A full disk ends the recording as Stop would, keeping what was written.
    output_ = std::make_unique<gst::MovieWriter>(
        destination_, audioDevice.has_value(), [this](const gst::WriteFailure& failure) {
          std::lock_guard lock(mutex_);
          if (!closing_ && (state_ == State::recording || state_ == State::paused)) {
            finishOnWorker(failure.text);
          }
        });
  } catch (const gst::GstError& error) {
    session_->stop();
    throw Error(Code::couldNotAddOutput, error.what());
  }
}

ScreenRecorder::~ScreenRecorder() {
  bool wasOpen = false;
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
    wasOpen = state_ != State::stopping && state_ != State::finished;
    if (wasOpen) state_ = State::finished;
  }
  if (worker_.joinable()) {
    // onFinish may drop the last owner of this recorder on the worker itself.
    if (worker_.get_id() == std::this_thread::get_id()) {
      worker_.detach();
    } else {
      worker_.join();
    }
  }
  if (wasOpen) {
    session_->stop();
    output_->finish(gst::MovieWriter::Finishing::asWritten);
    if (!startAnnounced_) removeEmptyMovie();
  }
  activity_.release();
  if (pipeWireFd_ >= 0) ::close(pipeWireFd_);
}

void ScreenRecorder::connectSinks() {
  GstAppSinkCallbacks video{};
  video.new_sample = &ScreenRecorder::videoArrived;
  gst_app_sink_set_callbacks(GST_APP_SINK(session_->element("video").get()), &video, this, nullptr);
  if (gst::ElementPtr audio = session_->element("audio")) {
    GstAppSinkCallbacks sound{};
    sound.new_sample = &ScreenRecorder::audioArrived;
    gst_app_sink_set_callbacks(GST_APP_SINK(audio.get()), &sound, this, nullptr);
  }
}

GstFlowReturn ScreenRecorder::videoArrived(GstAppSink* sink, gpointer self) {
  auto* recorder = static_cast<ScreenRecorder*>(self);
  gst::SamplePtr sample(gst_app_sink_pull_sample(sink));
  if (!sample || recorder->afterStop(sample.get())) return GST_FLOW_OK;
  recorder->output_->pushVideo(sample.get());
  if (recorder->output_->recordedDuration() > 0 && !recorder->startAnnounced_.exchange(true) &&
      recorder->onStart) {
    recorder->onStart();
  }
  return GST_FLOW_OK;
}

bool ScreenRecorder::afterStop(GstSample* sample) const {
  const GstClockTime stopAt = stopAt_.load();
  GstBuffer* buffer = gst_sample_get_buffer(sample);
  return stopAt != GST_CLOCK_TIME_NONE && buffer && GST_BUFFER_PTS_IS_VALID(buffer) &&
         GST_BUFFER_PTS(buffer) > stopAt;
}

GstFlowReturn ScreenRecorder::audioArrived(GstAppSink* sink, gpointer self) {
  auto* recorder = static_cast<ScreenRecorder*>(self);
  gst::SamplePtr sample(gst_app_sink_pull_sample(sink));
  if (sample && !recorder->afterStop(sample.get())) recorder->output_->pushAudio(sample.get());
  return GST_FLOW_OK;
}

void ScreenRecorder::start() {
  {
    std::lock_guard lock(mutex_);
    if (state_ != State::idle) return;
    state_ = State::recording;
  }
  activity_.inhibit(kActivityReason);
  try {
    session_->play();
  } catch (const gst::GstError& error) {
    std::lock_guard lock(mutex_);
    finishOnWorker(error.what());
  }
}

void ScreenRecorder::stop() {
  std::lock_guard lock(mutex_);
  if (state_ == State::idle) {
    finishOnWorker("the recording was never started");
  } else {
    finishOnWorker(std::nullopt);
  }
}

void ScreenRecorder::pause() {
  {
    std::lock_guard lock(mutex_);
    if (state_ != State::recording) return;
    state_ = State::paused;
  }
  output_->pause();
  activity_.release();
  if (onPause) onPause();
}

void ScreenRecorder::resume() {
  {
    std::lock_guard lock(mutex_);
    if (state_ != State::paused) return;
    state_ = State::recording;
  }
  output_->resume();
  // The pause gave the hold up; a resumed recording needs the system awake again.
  activity_.inhibit(kActivityReason);
  if (onResume) onResume();
}

GstClockTime ScreenRecorder::recordedDuration() const {
  return output_->recordedDuration();
}

std::optional<gst::WriteFailure> ScreenRecorder::writeFailure() const {
  return output_->failure();
}

void ScreenRecorder::removeEmptyMovie() const {
  // Without a single frame the file holds no movie; this recorder made it, so it goes.
  std::error_code ignored;
  std::filesystem::remove(destination_, ignored);
}

void ScreenRecorder::finishOnWorker(std::optional<std::string> error) {
  if (state_ == State::stopping || state_ == State::finished) return;
  state_ = State::stopping;
  // Draining takes in what was captured before this moment, nothing after it.
  if (drainOnStop_) stopAt_ = session_->runningTime();
  worker_ = std::thread([this, problem = error.value_or(std::string())]() mutable {
    // What the portal's stream has on its way still goes in: a loaded machine lags it by seconds.
    if (drainOnStop_ && problem.empty()) session_->finish(kDrainTimeout);
    session_->stop();
    const std::string writeError = output_->finish();
    activity_.release();
    if (problem.empty()) problem = writeError;
    if (!startAnnounced_) {
      if (problem.empty()) problem = "no frame of the screen was recorded";
      removeEmptyMovie();
    }
    auto callback = onFinish;
    const std::string destination = destination_;
    {
      std::lock_guard lock(mutex_);
      state_ = State::finished;
    }
    // Last: the callback may destroy this recorder.
    if (!callback) return;
    if (problem.empty()) {
      callback(destination, std::nullopt);
    } else {
      callback(destination, problem);
    }
  });
}

}  // namespace dravin
