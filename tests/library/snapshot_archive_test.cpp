#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "gif_generator.h"
#include "library_fixture.h"
#include "notification_center.h"
#include "notification_names.h"
#include "snapshot_archive.h"
#include "thumbnail_service.h"

using namespace dravin;

namespace {

void age(const QString& path, int minutesAgo) {
  QFile file(path);
  file.open(QIODevice::ReadWrite);
  file.setFileTime(QDateTime::currentDateTime().addSecs(-60 * minutesAgo),
                   QFileDevice::FileModificationTime);
}

QStringList names(const QList<LibraryFilePtr>& list) {
  QStringList result;
  for (const LibraryFilePtr& item : list) result.append(item->name);
  return result;
}

// An archive of four snapshots (s1 oldest) in a storage tree, loaded.
struct Archive {
  test::StorageTree tree;
  ThumbnailService thumbnails;
  SnapshotArchive archive{thumbnails};

  Archive() {
    QDir().mkpath(tree.folders.images);
    QDir().mkpath(tree.folders.videos);
    for (int i = 1; i <= 4; ++i) {
      test::writePicture(tree.folders.images + QString("s%1.png").arg(i));
      age(tree.folders.images + QString("s%1.png").arg(i), 50 - 10 * i);
    }
  }
  void load() {
    QSignalSpy loaded(&archive, &SnapshotArchive::archiveLoaded);
    archive.loadArchive();
    if (!loaded.wait(20000)) ADD_FAILURE() << "archive not loaded";
  }
};

}  // namespace

TEST(SnapshotArchive, NewestFirstWithRecordingsAndNewCaptures) {
  Archive a;
  // A short recording between s2 and s3.
  const QString movie = a.tree.folders.videos + "clip.mp4";
  QProcess::execute("gst-launch-1.0", {"-q", "videotestsrc", "num-buffers=5", "!", "x264enc", "!",
                                       "mp4mux", "!", "filesink", "location=" + movie});
  age(movie, 25);
  a.load();
  EXPECT_EQ(names(a.archive.fileList()), (QStringList{"s4", "s3", "clip", "s2", "s1"}));

  QSignalSpy still(&a.archive, &SnapshotArchive::stillAdded);
  test::writePicture(a.tree.folders.images + "new.png");
  NotificationCenter::instance().post(
      notifications::kImageCaptured,
      {{"url", QUrl::fromLocalFile(a.tree.folders.images + "new.png")}});
  ASSERT_TRUE(still.wait(5000));
  EXPECT_EQ(a.archive.fileList().first()->name, "new");

  // The frames the GIF generator would take: the newest stills, oldest of them first.
  const QList<LibraryFilePtr> previous =
      a.archive.previousStills(3, {a.archive.fileList().first()->id});
  EXPECT_EQ(names(previous), (QStringList{"s2", "s3", "s4"}));
}

TEST(GifGenerator, PlayerAndSpeed) {
  Archive a;
  a.load();
  GifGenerator gif(a.archive);
  {  // 0.5 s a frame sits at 1.0; the ends are 1.5 s (slow) and 0.1 s (fast)
    EXPECT_DOUBLE_EQ(gif.sliderValue(), 1.0);
    gif.setSliderValue(0.0);
    EXPECT_DOUBLE_EQ(gif.gifInterval(), 1.5);
    gif.setSliderValue(1.4);
    EXPECT_NEAR(gif.gifInterval(), 0.1, 1e-9);
    EXPECT_TRUE(gif.isPlaying());
  }
  {  // earlier snapshots come in front, once each; the player cycles through them
    gif.setFramesToLoad(2);
    gif.loadPreviousFrames();
    gif.loadPreviousFrames();
    EXPECT_EQ(names(gif.frameFileList()), (QStringList{"s1", "s2", "s3", "s4"}));
    gif.stopGifTimer();
    QStringList shown;
    for (int i = 0; i < 5; ++i) {
      gif.advanceFrame();
      shown.append(gif.gifCurrentFrameFile()->name);
    }
    EXPECT_EQ(shown, (QStringList{"s1", "s2", "s3", "s4", "s1"}));
  }
  {  // a removed frame's file stays; "Clear" empties the frames only
    gif.removeFrame(gif.frameFileList().first()->id);
    EXPECT_EQ(gif.frameFileList().size(), 3);
    EXPECT_TRUE(QFile::exists(a.tree.folders.images + "s1.png"));
    gif.clear();
    EXPECT_TRUE(gif.frameFileList().isEmpty());
    gif.advanceFrame();
  }
}

TEST(GifGenerator, ExportThenDeleteOrKeep) {
  Archive a;
  a.load();
  GifExport written;
  GifGenerator gif(a.archive, [&](const GifExport& job, const std::function<void(int, int)>&,
                                  const std::atomic<bool>&, QString*) {
    written = job;
    return std::optional<GifExportResult>(
        GifExportResult{static_cast<int>(job.framePaths.size()), 0});
  });
  QSignalSpy finished(&gif, &GifGenerator::exportFinished);
  QSignalSpy closes(&NotificationCenter::instance(), &NotificationCenter::posted);
  gif.setFramesToLoad(2);
  gif.loadPreviousFrames();
  gif.restartGifTimer();
  {  // the frames go out in order with the chosen delay, the player stopped meanwhile
    gif.exportGif(a.tree.dir.path() + "/out.gif");
    EXPECT_FALSE(gif.isPlaying());
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(finished.first().first().toString(), "");
    EXPECT_TRUE(gif.showingDeleteAlert());
    EXPECT_EQ(written.framePaths,
              (QStringList{a.tree.folders.images + "s3.png", a.tree.folders.images + "s4.png"}));
    EXPECT_DOUBLE_EQ(written.delaySeconds, 0.5);
  }
  {  // "Keep" closes the generator and keeps every file
    gif.keepOriginals();
    EXPECT_FALSE(gif.showingDeleteAlert());
    EXPECT_TRUE(QFile::exists(a.tree.folders.images + "s3.png"));
  }
  {  // "DELETE" closes it and removes the frames' files and tiles
    gif.deleteOriginals();
    EXPECT_FALSE(QFile::exists(a.tree.folders.images + "s3.png"));
    EXPECT_FALSE(QFile::exists(a.tree.folders.images + "s4.png"));
    EXPECT_EQ(names(a.archive.fileList()), (QStringList{"s2", "s1"}));
  }
  int closed = 0;
  for (const QList<QVariant>& post : closes)
    if (post.first().toString() == notifications::kOpenGifGenerator) ++closed;
  EXPECT_EQ(closed, 2);
}
