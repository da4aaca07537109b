#include "gst_device_source.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <memory>
#include <regex>
#include <utility>

#include "gst_ptr.h"

namespace dravin {
namespace gstdevice {
namespace {

struct GFree {
  void operator()(gchar* p) const { g_free(p); }
};
using GCharPtr = std::unique_ptr<gchar, GFree>;
using MonitorPtr = std::unique_ptr<GstDeviceMonitor, gst::ObjectUnref<GstDeviceMonitor>>;

struct DeviceListFree {
  void operator()(GList* p) const { g_list_free_full(p, gst_object_unref); }
};
using DeviceListPtr = std::unique_ptr<GList, DeviceListFree>;

struct MediaKind {
  std::string subtype;
  std::string capsPrefix;
};

std::optional<MediaKind> mediaKindOf(const GstStructure* s) {
  const std::string name = gst_structure_get_name(s);
  if (name == "image/jpeg") return MediaKind{"jpeg", name};
  if (name == "video/x-h264") return MediaKind{"avc1", name};
  if (name != "video/x-raw") return std::nullopt;
  const gchar* raw = gst_structure_get_string(s, "format");
  if (!raw) return std::nullopt;  // a list of formats: not one format
  const std::string format = raw;
  std::string subtype = format == "YUY2"   ? "yuvs"
                        : format == "NV12" ? "420v"
                        : format == "I420" ? "420p"
                                           : format.substr(0, 4);
  return MediaKind{subtype, name + ",format=" + format};
}

double fractionValue(int numerator, int denominator) {
  double value = 0;
  gst_util_fraction_to_double(numerator, denominator, &value);
  return value;
}

void addRange(std::vector<FrameRateRange>& ranges, FrameRateRange range) {
  if (std::find(ranges.begin(), ranges.end(), range) == ranges.end()) ranges.push_back(range);
}

void collectRates(const GValue* value, std::vector<FrameRateRange>& ranges) {
  if (GST_VALUE_HOLDS_FRACTION(value)) {
    double rate = fractionValue(gst_value_get_fraction_numerator(value),
                                gst_value_get_fraction_denominator(value));
    addRange(ranges, {rate, rate});
  } else if (GST_VALUE_HOLDS_FRACTION_RANGE(value)) {
    const GValue* low = gst_value_get_fraction_range_min(value);
    const GValue* high = gst_value_get_fraction_range_max(value);
    addRange(ranges, {fractionValue(gst_value_get_fraction_numerator(low),
                                    gst_value_get_fraction_denominator(low)),
                      fractionValue(gst_value_get_fraction_numerator(high),
                                    gst_value_get_fraction_denominator(high))});
  } else if (GST_VALUE_HOLDS_LIST(value)) {
    for (guint i = 0; i < gst_value_list_get_size(value); ++i) {
      collectRates(gst_value_list_get_value(value, i), ranges);
    }
  }
}

std::optional<std::string> readHexId(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string text;
  if (!(in >> text) || text.size() != 4) return std::nullopt;
  for (char& c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return text;
}

std::string stringProperty(const GstStructure* properties, const char* key) {
  if (!properties) return {};
  const gchar* value = gst_structure_get_string(properties, key);
  return value ? value : "";
}

}  // namespace

std::vector<DeviceFormat> formatsFromCaps(const GstCaps* caps) {
  std::vector<DeviceFormat> formats;
  if (!caps) return formats;
  for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
    // Formats in special memory (DMA buffers and the like) need elements the pipelines don't use.
    GstCapsFeatures* features = gst_caps_get_features(caps, i);
    if (features && !gst_caps_features_is_equal(features, GST_CAPS_FEATURES_MEMORY_SYSTEM_MEMORY)) {
      continue;
    }
    const GstStructure* s = gst_caps_get_structure(caps, i);
    auto kind = mediaKindOf(s);
    int width = 0;
    int height = 0;
    if (!kind || !gst_structure_get_int(s, "width", &width) ||
        !gst_structure_get_int(s, "height", &height)) {
      continue;
    }
    std::string text =
        kind->capsPrefix + ",width=" + std::to_string(width) + ",height=" + std::to_string(height);
    // Some drivers list every frame rate of a size as a structure of its own.
    auto same = std::find_if(formats.begin(), formats.end(),
                             [&](const DeviceFormat& f) { return f.caps == text; });
    if (same == formats.end()) {
      formats.push_back({kind->subtype, width, height, {}, text});
      same = formats.end() - 1;
    }
    if (const GValue* rates = gst_structure_get_value(s, "framerate")) {
      collectRates(rates, same->frameRateRanges);
    }
  }
  return formats;
}

namespace {

// The sysfs folder of the USB device behind a video node, with its ids ("5d17002c").
std::optional<std::pair<std::filesystem::path, std::string>> usbDeviceOf(
    const std::filesystem::path& sysfsRoot, const std::string& devicePath) {
  static const std::regex kNode("video[0-9]+");
  std::string node = std::filesystem::path(devicePath).filename().string();
  if (!std::regex_match(node, kNode)) {
    std::error_code error;
    auto real = std::filesystem::canonical(devicePath, error);
    if (error) return std::nullopt;
    node = real.filename().string();
    if (!std::regex_match(node, kNode)) return std::nullopt;
  }
  // The node's device is the USB interface; the ids sit on the USB device above it, or on the
  // device itself for drivers that link straight to it.
  const auto device = sysfsRoot / "class" / "video4linux" / node / "device";
  for (const auto& dir : {device / "..", device}) {
    auto vendor = readHexId(dir / "idVendor");
    auto product = readHexId(dir / "idProduct");
    if (vendor && product) return std::pair(dir, *vendor + *product);
  }
  return std::nullopt;
}

}  // namespace

std::string usbIdsOfVideoNode(const std::filesystem::path& sysfsRoot,
                              const std::string& devicePath) {
  auto device = usbDeviceOf(sysfsRoot, devicePath);
  return device ? device->second : std::string();
}

UsbPlace usbPlaceOfVideoNode(const std::filesystem::path& sysfsRoot,
                             const std::string& devicePath) {
  auto device = usbDeviceOf(sysfsRoot, devicePath);
  if (!device) return {};
  UsbPlace place;
  std::ifstream serial(device->first / "serial");
  std::getline(serial, place.serial);
  while (!place.serial.empty() && std::isspace(static_cast<unsigned char>(place.serial.back()))) {
    place.serial.pop_back();
  }
  std::error_code error;
  const auto real = std::filesystem::canonical(device->first, error);
  if (!error) place.port = real.filename().string();
  return place;
}

std::optional<CaptureDevice> makeVideoDevice(const std::string& displayName,
                                             const GstStructure* properties, const GstCaps* caps,
                                             const std::filesystem::path& sysfsRoot) {
  std::string path = stringProperty(properties, "api.v4l2.path");
  if (path.empty()) path = stringProperty(properties, "device.path");
  if (path.empty()) return std::nullopt;

  CaptureDevice device;
  device.kind = DeviceKind::video;
  if (!displayName.empty()) device.name = displayName;
  device.formats = formatsFromCaps(caps);
  device.sourceLaunch = launchWithDevice("v4l2src", path);
  device.devicePath = path;
  const UsbPlace place = usbPlaceOfVideoNode(sysfsRoot, path);
  device.usbSerial = place.serial;
  device.usbPort = place.port;
  const std::string ids = usbIdsOfVideoNode(sysfsRoot, path);
  if (ids.empty()) {
    device.uniqueID = path;
  } else {
    std::string bus = stringProperty(properties, "device.bus_path");
    device.uniqueID = (bus.empty() ? path : bus) + ":" + ids;
  }
  return device;
}

std::string launchWithDevice(const std::string& factory, const std::string& device) {
  const bool plain = !device.empty() && std::all_of(device.begin(), device.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) ||
           std::string_view("/_.-:").find(c) != std::string_view::npos;
  });
  return factory + " device=" + (plain ? device : gst::quoteLaunchValue(device));
}

}  // namespace gstdevice

namespace {

// The devices of one class: from the monitor that follows plugging when it runs (at once), else
// from a monitor started for the purpose and stopped again.
std::vector<GstDevice*> probe(const char* deviceClass, gstdevice::DeviceListPtr& keep,
                              GstDeviceMonitor* running) {
  if (running) {
    keep.reset(gst_device_monitor_get_devices(running));
    std::vector<GstDevice*> devices;
    for (GList* item = keep.get(); item; item = item->next) {
      if (gst_device_has_classes(GST_DEVICE(item->data), deviceClass)) {
        devices.push_back(GST_DEVICE(item->data));
      }
    }
    return devices;
  }
  gst::ensureInitialized();
  gstdevice::MonitorPtr monitor(gst_device_monitor_new());
  gst_device_monitor_add_filter(monitor.get(), deviceClass, nullptr);
  if (!gst_device_monitor_start(monitor.get())) return {};
  keep.reset(gst_device_monitor_get_devices(monitor.get()));
  gst_device_monitor_stop(monitor.get());
  std::vector<GstDevice*> devices;
  for (GList* item = keep.get(); item; item = item->next) {
    devices.push_back(GST_DEVICE(item->data));
  }
  return devices;
}

std::string displayNameOf(GstDevice* device) {
  gstdevice::GCharPtr name(gst_device_get_display_name(device));
  return name ? name.get() : "";
}

}  // namespace

GstDeviceSource::GstDeviceSource(std::filesystem::path sysfsRoot)
    : sysfsRoot_(std::move(sysfsRoot)) {}

GstDeviceSource::~GstDeviceSource() {
  if (!monitor_) return;
  gst_device_monitor_stop(monitor_);
  gst::BusPtr bus(gst_device_monitor_get_bus(monitor_));
  gst_bus_set_sync_handler(bus.get(), nullptr, nullptr, nullptr);
  gst_object_unref(monitor_);
}

void GstDeviceSource::watch(std::function<void()> changed) {
  if (monitor_) return;
  gst::ensureInitialized();
  changed_ = std::move(changed);
  monitor_ = gst_device_monitor_new();
  gst_device_monitor_add_filter(monitor_, "Video/Source", nullptr);
  gst_device_monitor_add_filter(monitor_, "Audio/Source", nullptr);
  gst::BusPtr bus(gst_device_monitor_get_bus(monitor_));
  // A sync handler runs on the monitor's own thread: no main loop of GLib's is needed.
  gst_bus_set_sync_handler(
      bus.get(),
      [](GstBus*, GstMessage* message, gpointer data) -> GstBusSyncReply {
        const auto type = GST_MESSAGE_TYPE(message);
        if (type == GST_MESSAGE_DEVICE_ADDED || type == GST_MESSAGE_DEVICE_REMOVED) {
          auto* self = static_cast<GstDeviceSource*>(data);
          if (self->changed_) self->changed_();
        }
        // A handler that drops a message owns it.
        gst_message_unref(message);
        return GST_BUS_DROP;
      },
      this, nullptr);
  if (!gst_device_monitor_start(monitor_)) {
    gst_bus_set_sync_handler(bus.get(), nullptr, nullptr, nullptr);
    gst_object_unref(monitor_);
    monitor_ = nullptr;
  }
}

std::vector<CaptureDevice> GstDeviceSource::videoDevices() {
  gstdevice::DeviceListPtr keep;
  std::vector<CaptureDevice> found;
  for (GstDevice* device : probe("Video/Source", keep, monitor_)) {
    gstdevice::StructurePtr properties(gst_device_get_properties(device));
    gst::CapsPtr caps(gst_device_get_caps(device));
    auto camera =
        gstdevice::makeVideoDevice(displayNameOf(device), properties.get(), caps.get(), sysfsRoot_);
    // Two providers may report the same node.
    if (!camera || std::any_of(found.begin(), found.end(), [&](const CaptureDevice& c) {
          return c.sourceLaunch == camera->sourceLaunch;
        })) {
      continue;
    }
    found.push_back(std::move(*camera));
  }
  return found;
}

std::vector<CaptureDevice> GstDeviceSource::audioDevices() {
  gstdevice::DeviceListPtr keep;
  std::vector<CaptureDevice> found;
  for (GstDevice* device : probe("Audio/Source", keep, monitor_)) {
    gstdevice::StructurePtr properties(gst_device_get_properties(device));
    // A sound server's monitor of an output is not a microphone.
    if (gstdevice::stringProperty(properties.get(), "device.class") == "monitor") continue;

    std::string internalName;
    std::string factory = "pulsesrc";
    gst::ElementPtr element(gst_device_create_element(device, nullptr));
    if (element) {
      gst_object_ref_sink(element.get());
      GParamSpec* spec = g_object_class_find_property(G_OBJECT_GET_CLASS(element.get()), "device");
      if (spec && spec->value_type == G_TYPE_STRING) {
        gchar* value = nullptr;
        g_object_get(element.get(), "device", &value, nullptr);
        gstdevice::GCharPtr owned(value);
        if (value && *value) {
          internalName = value;
          if (GstElementFactory* made = gst_element_get_factory(element.get())) {
            factory = GST_OBJECT_NAME(made);
          }
        }
      }
    }
    if (internalName.empty())
      internalName = gstdevice::stringProperty(properties.get(), "node.name");
    if (internalName.empty()) {
      internalName = gstdevice::stringProperty(properties.get(), "device.name");
    }
    if (internalName.empty()) continue;

    CaptureDevice mic;
    mic.kind = DeviceKind::audio;
    if (auto name = displayNameOf(device); !name.empty()) mic.name = name;
    mic.uniqueID = internalName;
    mic.sourceLaunch = gstdevice::launchWithDevice(factory, internalName);
    found.push_back(std::move(mic));
  }
  return found;
}

}  // namespace dravin
