// Movies written from a live test session: playable at every moment while recording, compact
// and index first once finished. The full disk is tried end to end (tests/app).
#include "movie_writer.h"

#include <gst/pbutils/pbutils.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

#include "camera_session.h"
#include "movie_compactor.h"

namespace {

using namespace dravin::gst;
using namespace std::chrono_literals;

struct Box {
  std::string type;
  std::uint64_t size = 0;
};

// The top-level boxes of an MP4 file in order.
std::vector<Box> boxesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<Box> boxes;
  unsigned char head[16];
  std::uint64_t at = 0;
  while (in.seekg(at) && in.read(reinterpret_cast<char*>(head), 8)) {
    Box box{std::string(reinterpret_cast<char*>(head) + 4, 4), 0};
    for (int i = 0; i < 4; ++i) box.size = box.size << 8 | head[i];
    if (box.size == 1 && in.read(reinterpret_cast<char*>(head + 8), 8)) {
      box.size = 0;
      for (int i = 8; i < 16; ++i) box.size = box.size << 8 | head[i];
    }
    boxes.push_back(box);
    if (box.size < 8) break;  // 0: to the end of the file
    at += box.size;
  }
  return boxes;
}

std::string typesOf(const std::vector<Box>& boxes) {
  std::string types;
  for (const Box& box : boxes) types += box.type + " ";
  return types;
}

struct Movie {
  double seconds = 0;
  std::string video;  // e.g. "video/x-h264"
  std::string audio;
};

// What GStreamer's discoverer, the engine behind gst-discoverer-1.0, reads from a file.
Movie discover(const std::string& path) {
  Movie movie;
  GstDiscoverer* discoverer = gst_discoverer_new(20 * GST_SECOND, nullptr);
  const QByteArray uri = QUrl::fromLocalFile(QString::fromStdString(path)).toEncoded();
  GstDiscovererInfo* info = gst_discoverer_discover_uri(discoverer, uri.constData(), nullptr);
  if (info && gst_discoverer_info_get_result(info) == GST_DISCOVERER_OK) {
    movie.seconds = double(gst_discoverer_info_get_duration(info)) / GST_SECOND;
    auto kindOf = [](GList* streams) {
      std::string kind;
      if (streams) {
        GstCaps* caps =
            gst_discoverer_stream_info_get_caps(GST_DISCOVERER_STREAM_INFO(streams->data));
        kind = gst_structure_get_name(gst_caps_get_structure(caps, 0));
        gst_caps_unref(caps);
      }
      gst_discoverer_stream_info_list_free(streams);
      return kind;
    };
    movie.video = kindOf(gst_discoverer_info_get_video_streams(info));
    movie.audio = kindOf(gst_discoverer_info_get_audio_streams(info));
  }
  if (info) g_object_unref(info);
  g_object_unref(discoverer);
  return movie;
}

// A live picture and sound, feeding `writer` while it exists.
class LiveSource {
 public:
  explicit LiveSource(MovieWriter& writer)
      : session_({"videotestsrc is-live=true pattern=ball",
                  "video/x-raw,width=640,height=360,framerate=30/1",
                  "audiotestsrc is-live=true wave=ticks"}) {
    session_.onVideoSample = [&writer](GstSample* sample) { writer.pushVideo(sample); };
    session_.onAudioSample = [&writer](GstSample* sample) { writer.pushAudio(sample); };
    session_.start();
  }
  ~LiveSource() { session_.stop(); }

 private:
  CameraSession session_;
};

template <class Predicate>
bool waitFor(Predicate done, std::chrono::milliseconds limit = 20s) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

}  // namespace

TEST(MovieWriter, PlaysWhileRecordingAndEndsCompactWithTheIndexFirst) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("lesson.mp4").toStdString();
  const std::string snapshot = dir.filePath("killed.mp4").toStdString();
  MovieWriter writer(path, true);
  {
    LiveSource source(writer);
    ASSERT_TRUE(waitFor([&] { return writer.recordedDuration() >= 3 * GST_SECOND; }));
    // The file as a killed program would leave it: what is on disk right now.
    ASSERT_TRUE(QFile::copy(QString::fromStdString(path), QString::fromStdString(snapshot)));
    ASSERT_TRUE(waitFor([&] { return writer.recordedDuration() >= 4 * GST_SECOND; }));
  }
  const Movie killed = discover(snapshot);
  EXPECT_EQ(killed.video, "video/x-h264");
  EXPECT_EQ(killed.audio, "audio/mpeg");
  EXPECT_GE(killed.seconds, 1.8);  // at most one index period and the encoder's delay lost
  const std::string killedTypes = typesOf(boxesOf(snapshot));
  EXPECT_LT(killedTypes.find("moov"), killedTypes.find("mdat")) << killedTypes;

  EXPECT_EQ(writer.finish(), "");
  EXPECT_EQ(writer.finish(), "");  // once only
  EXPECT_FALSE(writer.failure());
  const Movie finished = discover(path);
  EXPECT_EQ(finished.video, "video/x-h264");
  EXPECT_EQ(finished.audio, "audio/mpeg");
  EXPECT_NEAR(finished.seconds, double(writer.recordedDuration()) / GST_SECOND, 0.3);
  // A regular movie: index before the media, no fragments, and the held room gone.
  const std::vector<Box> boxes = boxesOf(path);
  const std::string types = typesOf(boxes);
  EXPECT_EQ(types.rfind("ftyp moov ", 0), 0u) << types;
  EXPECT_NE(types.find("mdat"), std::string::npos) << types;
  EXPECT_EQ(types.find("moof"), std::string::npos) << types;
  for (const Box& box : boxes) {
    if (box.type == "free") {
      EXPECT_LT(box.size, 4096u);
    }
  }
  EXPECT_LT(QFileInfo(QString::fromStdString(path)).size(),
            QFileInfo(QString::fromStdString(snapshot)).size());
  // The rewrite's scratch files are gone.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(MovieCompactor, RewritesAMovieWhoseSoundStartsLate) {
  // So a recording comes out when the picture fell behind the sound: the sound's first samples
  // sit far from the picture's in the file, and the rewrite must read past that stretch.
  QTemporaryDir dir;
  const std::string path = dir.filePath("late.mp4").toStdString();
  {
    Pipeline writer(
        "videotestsrc num-buffers=60 ! video/x-raw,framerate=30/1,width=320,height=180 ! x264enc "
        "tune=zerolatency ! h264parse ! mp4mux name=mux reserved-max-duration=600000000000 "
        "reserved-moov-update-period=1000000000 ! filesink location=" +
        quoteLaunchValue(path) +
        " audiotestsrc num-buffers=150 samplesperbuffer=1024 timestamp-offset=1500000000 ! "
        "audioconvert ! avenc_aac ! aacparse ! mux.");
    writer.play();
    ASSERT_TRUE(writer.waitForEnd(30 * GST_SECOND));
  }
  const Movie before = discover(path);
  ASSERT_GT(before.seconds, 4.5);
  EXPECT_EQ(compactMovie(path), "");
  const Movie after = discover(path);
  EXPECT_EQ(after.video, "video/x-h264");
  EXPECT_EQ(after.audio, "audio/mpeg");
  EXPECT_NEAR(after.seconds, before.seconds, 0.05);
  EXPECT_EQ(typesOf(boxesOf(path)).rfind("ftyp moov ", 0), 0u);
}

TEST(MovieCompactor, LeavesTheOriginalWhenItCannotRewrite) {
  QTemporaryDir dir;
  {  // not a movie: untouched, no scratch files left
    const QString path = dir.filePath("notes.mp4");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray bytes(100000, 'x');
    file.write(bytes);
    file.close();
    EXPECT_NE(compactMovie(path.toStdString()), "");
    QFile back(path);
    ASSERT_TRUE(back.open(QIODevice::ReadOnly));
    EXPECT_EQ(back.readAll(), bytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
  }
  {  // gone
    EXPECT_NE(compactMovie(dir.filePath("missing.mp4").toStdString()), "");
  }
}
