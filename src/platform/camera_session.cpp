#include "camera_session.h"

#include <gst/app/gstappsink.h>

namespace dravin::gst {

namespace {

// Latest-wins sinks: a slow consumer loses frames, never delays the camera.
constexpr const char* kSinkOptions = "sync=false max-buffers=2 drop=true";

GstFlowReturn deliver(GstAppSink* sink, gpointer data) {
  auto* callback = static_cast<std::function<void(GstSample*)>*>(data);
  SamplePtr sample(gst_app_sink_pull_sample(sink));
  if (sample && *callback) (*callback)(sample.get());
  return GST_FLOW_OK;
}

void connectSink(GstElement* sink, std::function<void(GstSample*)>* callback) {
  GstAppSinkCallbacks callbacks{};
  callbacks.new_sample = deliver;
  gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, callback, nullptr);
}

}  // namespace

std::string describeSession(const SessionInputs& inputs) {
  std::string text = inputs.videoSource + " name=camera";
  if (!inputs.videoCaps.empty()) text += " ! " + inputs.videoCaps;
  const bool mjpeg = inputs.videoCaps.rfind("image/jpeg", 0) == 0;
  text += mjpeg ? " ! jpegdec" : " ! decodebin";
  text +=
      " ! videoconvert ! video/x-raw,format=I420 ! appsink name=video " + std::string(kSinkOptions);
  if (inputs.audioSource) {
    text += " " + *inputs.audioSource +
            " ! audioconvert ! audioresample ! audio/x-raw,rate=48000,channels=2 ! appsink "
            "name=audio " +
            kSinkOptions;
  }
  return text;
}

CameraSession::CameraSession(const SessionInputs& inputs) : pipeline_(describeSession(inputs)) {
  pipeline_.onError = [this](const std::string& text) {
    if (onError) onError(text);
  };
  if (auto sink = pipeline_.element("video")) connectSink(sink.get(), &onVideoSample);
  if (auto sink = pipeline_.element("audio")) connectSink(sink.get(), &onAudioSample);
}

CameraSession::~CameraSession() {
  stop();
}

void CameraSession::start() {
  pipeline_.play();
  running_ = true;
}

void CameraSession::stop() {
  pipeline_.stop();
  running_ = false;
}

std::string CameraSession::negotiatedFormat() const {
  auto camera = pipeline_.element("camera");
  if (!camera) return {};
  PadPtr pad(gst_element_get_static_pad(camera.get(), "src"));
  if (!pad) return {};
  CapsPtr caps(gst_pad_get_current_caps(pad.get()));
  if (!caps) return {};
  const GstStructure* format = gst_caps_get_structure(caps.get(), 0);
  int width = 0, height = 0;
  gst_structure_get_int(format, "width", &width);
  gst_structure_get_int(format, "height", &height);
  return std::string(gst_structure_get_name(format)) + " " + std::to_string(width) + "x" +
         std::to_string(height);
}

}  // namespace dravin::gst
