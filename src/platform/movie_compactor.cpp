#include "movie_compactor.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "gst_pipeline.h"

namespace dravin::gst {

namespace {

namespace fs = std::filesystem;

// The copy itself and mp4mux's store of the media while it writes the index ahead of it.
constexpr std::uintmax_t kCopies = 2;
// Left free on top, so that compacting never fills a disk other programs write to as well.
constexpr std::uintmax_t kSpareBytes = 64ull * 1024 * 1024;
// Every byte is written twice; a slow USB stick still manages this.
constexpr std::uintmax_t kSlowestBytesPerSecond = 4ull * 1024 * 1024;
constexpr GstClockTime kLeastTime = 60 * GST_SECOND;
// The demuxer reads a track far ahead of the other where the picture fell behind the sound while
// recording; the muxer waits for both, so each queue must hold that stretch, whatever its length
// in time or buffers.
constexpr guint kQueueBytes = 128 * 1024 * 1024;

// Links each picture or sound track the demuxer finds to a new input of the muxer.
void linkTrack(GstElement* /*demuxer*/, GstPad* pad, gpointer pipeline) {
  CapsPtr caps(gst_pad_get_current_caps(pad));
  if (!caps) caps.reset(gst_pad_query_caps(pad, nullptr));
  if (!caps || gst_caps_is_empty(caps.get())) return;
  const std::string kind = gst_structure_get_name(gst_caps_get_structure(caps.get(), 0));
  const char* input = kind.rfind("video/", 0) == 0   ? "video_%u"
                      : kind.rfind("audio/", 0) == 0 ? "audio_%u"
                                                     : nullptr;
  if (!input) return;  // a track of another kind is left behind, unlinked
  ElementPtr mux(gst_bin_get_by_name(GST_BIN(pipeline), "mux"));
  GstElement* queue = gst_element_factory_make("queue", nullptr);
  if (!mux || !queue) return;
  g_object_set(queue, "max-size-time", guint64(0), "max-size-buffers", 0u, "max-size-bytes",
               kQueueBytes, nullptr);
  gst_bin_add(GST_BIN(pipeline), queue);
  PadPtr muxPad(gst_element_request_pad_simple(mux.get(), input));
  PadPtr queueIn(gst_element_get_static_pad(queue, "sink"));
  PadPtr queueOut(gst_element_get_static_pad(queue, "src"));
  if (!muxPad || gst_pad_link(queueOut.get(), muxPad.get()) != GST_PAD_LINK_OK) return;
  gst_element_sync_state_with_parent(queue);
  gst_pad_link(pad, queueIn.get());
}

// The new file's data on the disk before its name replaces the old one, so that a power cut
// leaves one of the two whole.
bool flushToDisk(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool flushed = ::fsync(fd) == 0;
  ::close(fd);
  return flushed;
}

}  // namespace

std::string compactMovie(const std::string& path) {
  std::error_code error;
  const fs::path original(path);
  const std::uintmax_t size = fs::file_size(original, error);
  if (error) return "the movie cannot be read: " + error.message();
  const fs::space_info space = fs::space(original.parent_path(), error);
  if (error) return "the free space is unknown: " + error.message();
  if (space.available < kCopies * size + kSpareBytes) return "too little free space";

  // Hidden names beside the movie: the same disk for the rename, and out of the archive's list.
  const std::string name = original.filename().string();
  const fs::path copy = original.parent_path() / ("." + name + ".compacting");
  const fs::path store = original.parent_path() / ("." + name + ".media");
  auto removeLeftovers = [&] {
    fs::remove(copy, error);
    fs::remove(store, error);
  };
  removeLeftovers();

  std::string failure;
  try {
    Pipeline pipeline("filesrc location=" + quoteLaunchValue(path) +
                      " ! qtdemux name=demux mp4mux name=mux faststart=true faststart-file=" +
                      quoteLaunchValue(store.string()) +
                      " ! filesink sync=false location=" + quoteLaunchValue(copy.string()));
    ElementPtr demuxer = pipeline.element("demux");
    g_signal_connect(demuxer.get(), "pad-added", G_CALLBACK(linkTrack), pipeline.get());
    pipeline.playWhenFed();
    const GstClockTime allowed = kLeastTime + size / kSlowestBytesPerSecond * GST_SECOND;
    if (!pipeline.waitForEnd(allowed)) failure = "the movie could not be rewritten";
    pipeline.stop();
  } catch (const GstError& e) {
    failure = e.what();
  }
  if (failure.empty() && (fs::file_size(copy, error) == 0 || error)) {
    failure = "the rewritten movie is empty";
  }
  if (failure.empty() && !flushToDisk(copy)) failure = "the rewritten movie could not be saved";
  if (failure.empty()) {
    fs::rename(copy, original, error);
    if (error) failure = "the rewritten movie could not replace the original: " + error.message();
  }
  removeLeftovers();
  return failure;
}

}  // namespace dravin::gst
