#include "gst_pipeline.h"

#include <chrono>

namespace dravin::gst {

void ensureInitialized() {
  static std::once_flag once;
  std::call_once(once, [] {
    gst_init(nullptr, nullptr);
    // PipeWire's device provider hides the V4L2 and PulseAudio ones it wraps, and without a
    // PipeWire daemon it can hold up the listing: cameras and microphones are listed by those
    // two directly. Its source element stays for the portal's streams.
    if (GstDeviceProviderFactory* pipewire =
            gst_device_provider_factory_find("pipewiredeviceprovider")) {
      gst_plugin_feature_set_rank(GST_PLUGIN_FEATURE(pipewire), GST_RANK_NONE);
      gst_object_unref(pipewire);
    }
  });
}

std::string quoteLaunchValue(const std::string& value) {
  std::string quoted = "\"";
  for (char c : value) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

Pipeline::Pipeline(const std::string& description) {
  ensureInitialized();
  GError* error = nullptr;
  GstElement* element = gst_parse_launch(description.c_str(), &error);
  if (error) {
    std::string text = error->message;
    g_error_free(error);
    if (element) gst_object_unref(element);
    throw GstError(text);
  }
  if (!element) throw GstError("could not build: " + description);
  // A single element comes back bare; a pipeline is what state changes and the bus need.
  if (!GST_IS_PIPELINE(element)) {
    GstElement* pipeline = gst_pipeline_new(nullptr);
    gst_bin_add(GST_BIN(pipeline), element);
    element = pipeline;
  }
  pipeline_.reset(element);
  bus_.reset(gst_element_get_bus(element));
  watcher_ = std::thread([this] { watchBus(); });
}

Pipeline::~Pipeline() {
  stop();
  stopping_ = true;
  if (watcher_.joinable()) watcher_.join();
}

void Pipeline::watchBus() {
  const auto wanted = static_cast<GstMessageType>(GST_MESSAGE_ERROR | GST_MESSAGE_EOS);
  while (!stopping_) {
    MessagePtr message(gst_bus_timed_pop_filtered(bus_.get(), 100 * GST_MSECOND, wanted));
    if (!message) continue;
    if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR) {
      GError* error = nullptr;
      gst_message_parse_error(message.get(), &error, nullptr);
      std::string text = error ? error->message : "unknown error";
      const bool noSpaceLeft =
          error && g_error_matches(error, GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_NO_SPACE_LEFT);
      if (error) g_error_free(error);
      deliverError(text, noSpaceLeft);
    } else {
      {
        std::lock_guard lock(stateMutex_);
        if (eosSeen_) continue;
        eosSeen_ = true;
      }
      changed_.notify_all();
      if (onEos) onEos();
    }
  }
}

void Pipeline::deliverError(const std::string& text, bool noSpaceLeft) {
  {
    std::lock_guard lock(stateMutex_);
    if (errorDelivered_) return;
    errorDelivered_ = true;
    firstError_ = text;
    noSpaceLeft_ = noSpaceLeft;
  }
  changed_.notify_all();
  if (onError) onError(text);
}

void Pipeline::play(GstClockTime timeout) {
  GstStateChangeReturn result = gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING);
  if (result != GST_STATE_CHANGE_FAILURE) {
    result = gst_element_get_state(pipeline_.get(), nullptr, nullptr, timeout);
  }
  if (result == GST_STATE_CHANGE_SUCCESS || result == GST_STATE_CHANGE_NO_PREROLL) return;
  failToStart();
}

void Pipeline::failToStart() {
  // The reason is on the bus; give the watcher a moment to read it.
  std::unique_lock lock(stateMutex_);
  changed_.wait_for(lock, std::chrono::seconds(1), [this] { return errorDelivered_; });
  std::string text = firstError_.empty() ? "the pipeline did not start" : firstError_;
  lock.unlock();
  gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
  throw GstError(text);
}

void Pipeline::playWhenFed() {
  if (gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
    failToStart();
  }
}

void Pipeline::pause() {
  gst_element_set_state(pipeline_.get(), GST_STATE_PAUSED);
}

bool Pipeline::finish(GstClockTime timeout) {
  GstState state = GST_STATE_NULL;
  gst_element_get_state(pipeline_.get(), &state, nullptr, 0);
  if (state != GST_STATE_PLAYING && state != GST_STATE_PAUSED) return false;
  gst_element_send_event(pipeline_.get(), gst_event_new_eos());
  return waitForEnd(timeout);
}

bool Pipeline::waitForEnd(GstClockTime timeout) {
  std::unique_lock lock(stateMutex_);
  return changed_.wait_for(lock, std::chrono::nanoseconds(timeout), [this] {
    return eosSeen_ || errorDelivered_;
  }) && eosSeen_;
}

bool Pipeline::ranOutOfSpace() const {
  std::lock_guard lock(stateMutex_);
  return noSpaceLeft_;
}

void Pipeline::stop() {
  if (pipeline_) gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
}

ElementPtr Pipeline::element(const std::string& name) const {
  return ElementPtr(gst_bin_get_by_name(GST_BIN(pipeline_.get()), name.c_str()));
}

GstClockTime Pipeline::runningTime() const {
  GstClock* clock = gst_element_get_clock(pipeline_.get());
  if (!clock) return GST_CLOCK_TIME_NONE;
  GstClockTime now = gst_clock_get_time(clock);
  gst_object_unref(clock);
  GstClockTime base = gst_element_get_base_time(pipeline_.get());
  return now >= base ? now - base : 0;
}

}  // namespace dravin::gst
