#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include "file_library.h"
#include "library_fixture.h"
#include "thumbnail_service.h"

using namespace dravin;

namespace {

void age(const QString& path, int minutesAgo) {
  QFile file(path);
  file.open(QIODevice::ReadWrite);
  file.setFileTime(QDateTime::currentDateTime().addSecs(-60 * minutesAgo),
                   QFileDevice::FileModificationTime);
}

QStringList names(const FileLibrary& library) {
  QStringList result;
  for (const LibraryFilePtr& item : library.fileList()) result.append(item->name);
  return result;
}

// A library with a recorder in place of the paste keystroke.
struct Library {
  ThumbnailService thumbnails;
  FileLibrary files;
  QStringList pasted;

  explicit Library(DeckImport::Converter converter = convertDeck)
      : files(thumbnails, std::move(converter)) {
    files.setPaster([this](const LibraryFilePtr& item) { pasted.append(item->name); });
  }

  // Waits until the list holds `count` items.
  bool waitForCount(qsizetype count, int timeoutMs = 10000) {
    return QTest::qWaitFor([&] { return files.fileList().size() == count; }, timeoutMs);
  }
};

}  // namespace

TEST(FileLibrary, LoadsNewestFirstAndLeavesOutWhatCannotBeShown) {
  test::StorageTree tree;
  const QString lib = tree.folders.library;
  test::writePicture(lib + "older.png");
  age(lib + "older.png", 30);
  test::writeText(lib + "broken.png", "not a picture");
  test::writeText(lib + "notes.txt", "plain words");
  QDir().mkpath(lib + "My Deck");
  test::writePicture(lib + "My Deck/My Deck.001.png", Qt::red);
  test::writePicture(lib + "My Deck/My Deck.002.png", Qt::blue);
  age(lib + "My Deck", 20);
  QDir().mkpath(lib + "Empty");
  test::writePicture(lib + "newest.jpg");

  Library library;
  QSignalSpy loaded(&library.files, &FileLibrary::libraryLoaded);
  library.files.loadLibraryFiles();
  ASSERT_TRUE(loaded.wait(10000));
  EXPECT_EQ(loaded.first().first().toInt(), 3);
  EXPECT_EQ(names(library.files), (QStringList{"newest", "My Deck", "older"}));
  EXPECT_EQ(library.files.fileList()[1]->thumbnail, lib + "My Deck/My Deck.001.png");
  EXPECT_FALSE(library.files.fileList()[1]->thumbnailImage.isNull());
}

TEST(FileLibrary, WaitsForAStorageFolder) {
  dravin::storageFolders().reset();
  Library library;
  QSignalSpy loaded(&library.files, &FileLibrary::libraryLoaded);
  library.files.loadLibraryFiles();
  EXPECT_TRUE(library.files.hideFileLibrary());
  EXPECT_FALSE(library.files.importDroppedFiles({"/tmp/x.png"}));

  test::StorageTree tree;  // granted while the panel waits: the retry finds it
  test::writePicture(tree.folders.library + "first.png");
  ASSERT_TRUE(loaded.wait(5000));
  EXPECT_EQ(names(library.files), QStringList{"first"});
}

TEST(FileLibrary, ImportsPictures) {
  test::StorageTree tree;
  const QString lib = tree.folders.library;
  QTemporaryDir outside;
  const QString from = outside.path() + '/';
  Library library;
  QSignalSpy failed(&library.files, &FileLibrary::importFailed);
  {  // only the first chosen file is pasted, and only once its tile is there
    test::writePicture(from + "one.png", Qt::red);
    test::writePicture(from + "two.png", Qt::green);
    library.files.importChosenFiles({from + "one.png", from + "two.png", from + "notes.txt"});
    ASSERT_TRUE(library.waitForCount(2));
    EXPECT_EQ(library.pasted, QStringList{"one"});
    EXPECT_TRUE(QFileInfo::exists(lib + "two.png"));
    EXPECT_FALSE(QFileInfo::exists(lib + "notes.txt"));
  }
  {  // a first file that is not a picture pastes nothing
    library.pasted.clear();
    test::writeText(from + "notes.txt", "x");
    library.files.importChosenFiles({from + "notes.txt", from + "one.png"});
    QTest::qWait(300);
    EXPECT_TRUE(library.pasted.isEmpty());
  }
  {  // a file already in the library folder stays as it is
    const QByteArray before = test::readText(lib + "two.png");
    library.files.importFile(lib + "two.png", false);
    QTest::qWait(200);
    EXPECT_EQ(test::readText(lib + "two.png"), before);
  }
  {  // the same name from elsewhere replaces the file and its tile
    QDir().mkpath(from + "other");
    test::writePicture(from + "other/two.png", Qt::yellow, {80, 80});
    library.files.importFile(from + "other/two.png", false);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QImage(lib + "two.png").size() == QSize(80, 80); }, 5000));
    QTest::qWait(300);
    EXPECT_EQ(names(library.files).count("two"), 1);
  }
  {  // a copy that fails keeps the file it would have replaced
    const QByteArray before = test::readText(lib + "one.png");
    library.files.importFile(from + "gone/one.png", false);
    ASSERT_TRUE(failed.wait(5000));
    EXPECT_EQ(test::readText(lib + "one.png"), before);
    EXPECT_TRUE(QDir(lib).entryList(QDir::Hidden | QDir::Files).filter(".importing").isEmpty());
  }
}

TEST(FileLibrary, DeckImportsReplaceOnlyOnSuccess) {
  test::StorageTree tree;
  const QString lib = tree.folders.library;
  QDir().mkpath(lib + "talk");
  test::writePicture(lib + "talk/talk.001.png", Qt::red);
  QTemporaryDir outside;
  test::writeText(outside.path() + "/talk.key", "deck");

  bool succeed = false;
  Library library([&](const DeckConversion& job, const std::function<void(int, int)>& progress,
                      const std::atomic<bool>&) -> std::optional<QString> {
    QDir().mkpath(job.outputFolder);
    test::writePicture(job.outputFolder + '/' + job.baseName + ".002.png", Qt::blue);
    progress(1, 2);
    if (!succeed) return QString("the export failed");
    test::writePicture(job.outputFolder + '/' + job.baseName + ".001.png", Qt::green);
    progress(2, 2);
    return std::nullopt;
  });
  QSignalSpy failed(&library.files, &FileLibrary::importFailed);
  QSignalSpy alert(&library.files, &FileLibrary::showingConvertingAlertChanged);
  {  // a failed export leaves the earlier import whole and says why
    library.files.importFile(outside.path() + "/talk.key", false);
    EXPECT_TRUE(library.files.showingConvertingAlert());
    ASSERT_TRUE(failed.wait(5000));
    EXPECT_TRUE(failed.first().first().toString().contains("the export failed"));
    EXPECT_EQ(QDir(lib + "talk").entryList(QDir::Files), QStringList{"talk.001.png"});
    EXPECT_EQ(QImage(lib + "talk/talk.001.png").pixelColor(0, 0), QColor(Qt::red));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !library.files.showingConvertingAlert(); }));
  }
  {  // a finished one takes the folder's place and is listed first, by its first slide
    succeed = true;
    library.files.importFile(outside.path() + "/talk.key", false);
    ASSERT_TRUE(library.waitForCount(1));
    EXPECT_EQ(QDir(lib + "talk").entryList(QDir::Files),
              (QStringList{"talk.001.png", "talk.002.png"}));
    EXPECT_EQ(library.files.fileList().first()->type, LibraryFileType::PPT);
    EXPECT_EQ(library.files.fileList().first()->thumbnail, lib + "talk/talk.001.png");
    EXPECT_TRUE(library.pasted.isEmpty());
    EXPECT_EQ(QDir(lib).entryList(QDir::Hidden | QDir::AllDirs | QDir::NoDotAndDotDot),
              QStringList{"talk"});
  }
}
