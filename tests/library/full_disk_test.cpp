// Saves into a storage folder that fills up or goes away: each one says why, leaves no file of its
// own behind and keeps the earlier file whole; with room again, or the folder back, it works.
// The full disk is a small tmpfs of its own, which needs root: elsewhere that part is skipped.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <cerrno>
#include <cstring>

#include "bookmark_store.h"
#include "file_library.h"
#include "files_under.h"
#include "gif_writer.h"
#include "library_fixture.h"
#include "template_library.h"
#include "thumbnail_service.h"
#include "user_texts.h"

using namespace dravin;

namespace {

QImage page(QColor colour) {
  QImage image(320, 200, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

// A storage folder on a 2 MB disk of its own, with the tree made and granted.
struct SmallDisk {
  QTemporaryDir base;
  QString mountPoint = base.path() + "/storage";
  bool mounted = false;
  StorageFolders folders = StorageFolders::under(mountPoint);

  SmallDisk() {
    QDir().mkpath(mountPoint);
    mounted =
        ::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=2m") == 0;
    if (!mounted) return;
    for (const QString& folder : {folders.library, folders.templates, folders.bookmark})
      QDir().mkpath(folder);
    storageFolders() = folders;
  }
  ~SmallDisk() {
    storageFolders().reset();
    if (mounted) ::umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH);
  }

  QString filler() const { return folders.root + ".filler"; }
  // Another program takes every byte that is left.
  void fill() const {
    const int fd = ::open(QFile::encodeName(filler()).constData(), O_WRONLY | O_CREAT, 0644);
    const QByteArray block(4096, '\0');
    while (::write(fd, block.constData(), block.size()) > 0) {
    }
    ::close(fd);
  }
  void makeRoom() const { QFile::remove(filler()); }
};

}  // namespace

TEST(FullDisk, EverySaveSaysSoAndKeepsTheEarlierFile) {
  SmallDisk disk;
  if (!disk.mounted) GTEST_SKIP() << "mounting a small disk needs root: " << std::strerror(errno);
  ThumbnailService thumbnails;

  // Earlier files, written while there is room.
  BookmarkStore bookmarks(thumbnails);
  QSignalSpy bookmarkFailures(&bookmarks, &BookmarkStore::saveFailed);
  ASSERT_TRUE(bookmarks.addBookmark("example.org/a", "Page A", page(Qt::red), {}));
  const QString bookmarkList = disk.folders.bookmark + BookmarkStore::kListFile;
  const QByteArray bookmarksBefore = test::readText(bookmarkList);
  ASSERT_FALSE(bookmarksBefore.isEmpty());

  const QString templates = disk.folders.templates;
  test::writePicture(templates + "graph.png");
  test::writePicture(templates + "staff.png");
  test::writeText(templates + "templates.json",
                  R"({"templates": [{"url": "graph.png", "name": "Graph"},
                                    {"url": "staff.png", "name": "Staff"}]})");
  test::writeText(templates + "favorites.json", R"(["staff.png"])");
  TemplateLibrary favourites(thumbnails);
  QSignalSpy favouriteFailures(&favourites, &TemplateLibrary::saveFailed);
  QSignalSpy loaded(&favourites, &TemplateLibrary::templatesLoaded);
  favourites.loadTemplates();
  ASSERT_TRUE(loaded.wait(10000));

  QTemporaryDir outside;
  const QString picture = outside.path() + "/photo.png";
  test::writePicture(picture, Qt::green, {800, 600});
  const QString gif = disk.folders.root + "lesson.gif";
  test::writeText(gif, "the earlier GIF");

  disk.fill();
  const QStringList filesWhenFull = filesUnder(disk.mountPoint);

  {  // a bookmark: not added, the list file as it was
    EXPECT_FALSE(bookmarks.addBookmark("example.org/b", "Page B", page(Qt::blue), {}));
    ASSERT_EQ(bookmarkFailures.size(), 1);
    EXPECT_EQ(bookmarkFailures[0][0].toString(), "Bookmark not saved: " + texts::kDiskFull);
    EXPECT_FALSE(bookmarkFailures[0][1].toBool());
    EXPECT_EQ(bookmarks.bookmarkList().size(), 1);
    EXPECT_EQ(test::readText(bookmarkList), bookmarksBefore);
  }
  {  // a favourite mark: said once, the file as it was; a panel that changed nothing writes nothing
    favourites.setFavorited(favourites.templateList().first(), true);
    favourites.updateFavorites();
    ASSERT_EQ(favouriteFailures.size(), 1);
    EXPECT_EQ(favouriteFailures[0][0].toString(), "Favorites not saved: " + texts::kDiskFull);
    EXPECT_EQ(test::readText(templates + "favorites.json"), R"(["staff.png"])");
  }
  {  // a library import
    FileLibrary library(thumbnails);
    QSignalSpy importFailures(&library, &FileLibrary::importFailed);
    library.importChosenFiles({picture});
    ASSERT_TRUE(importFailures.wait(10000));
    EXPECT_EQ(importFailures[0][0].toString(),
              "\"photo.png\" could not be copied: " + texts::kDiskFull);
  }
  {  // a GIF export over an earlier one
    test::writePicture(outside.path() + "/frame.png", Qt::yellow, {640, 480});
    GifExport job;
    job.framePaths = {picture, outside.path() + "/frame.png"};
    job.destination = gif;
    QString error;
    const std::atomic<bool> cancel = false;
    EXPECT_FALSE(writeAnimatedGif(job, {}, cancel, &error));
    EXPECT_EQ(error, "The GIF could not be written to " + gif + ": " + texts::kDiskFull);
    EXPECT_EQ(test::readText(gif), "the earlier GIF");
  }
  // Not one file was left behind by the failed saves, hidden work files included.
  EXPECT_EQ(filesUnder(disk.mountPoint), filesWhenFull);

  disk.makeRoom();
  {  // with room again the unsaved marks are written at the next try, the bookmark is added
    favourites.updateFavorites();
    EXPECT_EQ(favouriteFailures.size(), 1);
    EXPECT_EQ(test::readText(templates + "favorites.json"), R"(["graph.png","staff.png"])");
    EXPECT_TRUE(bookmarks.addBookmark("example.org/b", "Page B", page(Qt::blue), {}));
    EXPECT_EQ(bookmarks.bookmarkList().size(), 2);
  }
}

TEST(FullDisk, AStorageFolderThatIsGoneIsNotMadeAgain) {
  test::StorageTree tree;
  ThumbnailService thumbnails;
  BookmarkStore bookmarks(thumbnails);
  QSignalSpy failures(&bookmarks, &BookmarkStore::saveFailed);
  TemplateLibrary favourites(thumbnails);
  QSignalSpy favouriteFailures(&favourites, &TemplateLibrary::saveFailed);
  test::writePicture(tree.folders.templates + "graph.png");
  test::writeText(tree.folders.templates + "templates.json",
                  R"({"templates": [{"url": "graph.png", "name": "Graph"}]})");
  QSignalSpy loaded(&favourites, &TemplateLibrary::templatesLoaded);
  favourites.loadTemplates();
  ASSERT_TRUE(loaded.wait(10000));

  const QString granted = tree.dir.path();
  const QString away = granted + ".away";
  ASSERT_TRUE(QDir().rename(granted, away));  // the stick is pulled
  EXPECT_FALSE(bookmarks.addBookmark("example.org/a", "Page A", page(Qt::red), {}));
  favourites.setFavorited(favourites.templateList().first(), true);
  favourites.updateFavorites();
  ASSERT_EQ(failures.size(), 1);
  EXPECT_EQ(failures[0][0].toString(), texts::storageFolderMissing(QDir::cleanPath(granted)));
  EXPECT_TRUE(failures[0][1].toBool());
  ASSERT_EQ(favouriteFailures.size(), 1);
  EXPECT_TRUE(favouriteFailures[0][1].toBool());
  EXPECT_FALSE(QFileInfo::exists(granted));

  ASSERT_TRUE(QDir().rename(away, granted));  // and plugged in again
  EXPECT_TRUE(bookmarks.addBookmark("example.org/a", "Page A", page(Qt::red), {}));
  favourites.updateFavorites();
  EXPECT_EQ(test::readText(tree.folders.templates + "favorites.json"), R"(["graph.png"])");
  EXPECT_EQ(failures.size(), 1);
}
