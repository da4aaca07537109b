#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "folder_listing.h"
#include "json_value.h"
#include "library_file.h"
#include "library_fixture.h"

using namespace dravin;

namespace {

LibraryFile classified(const QString& path) {
  LibraryFile file;
  file.url = path;
  file.classifyFromURL();
  return file;
}

}  // namespace

TEST(LibraryFile, Classification) {
  QTemporaryDir dir;
  const QString base = dir.path() + '/';
  {  // the extension decides, whatever its case; the file stands for itself
    test::writePicture(base + "Photo.JPG");
    const LibraryFile photo = classified(base + "Photo.JPG");
    EXPECT_EQ(photo.type, LibraryFileType::JPG);
    EXPECT_EQ(photo.name, "Photo");
    EXPECT_EQ(photo.thumbnail, base + "Photo.JPG");
    EXPECT_EQ(classified(base + "clip.MOV").type, LibraryFileType::MOV);
    EXPECT_EQ(classified(base + "a.b.jpeg").name, "a.b");
  }
  {  // unknown files keep themselves as thumbnail; a deck file is unknown until converted
    const LibraryFile notes = classified(base + "notes.txt");
    EXPECT_EQ(notes.type, LibraryFileType::unknown);
    EXPECT_EQ(notes.thumbnail, base + "notes.txt");
    EXPECT_EQ(classified(base + "deck.pptx").type, LibraryFileType::unknown);
  }
  {  // a folder of slides is a deck named as the folder, shown by its first slide
    QDir().mkpath(base + "My Deck.v2");
    test::writePicture(base + "My Deck.v2/My Deck.002.png");
    test::writePicture(base + "My Deck.v2/My Deck.001.png");
    const LibraryFile deck = classified(base + "My Deck.v2/");
    EXPECT_EQ(deck.type, LibraryFileType::PPT);
    EXPECT_EQ(deck.name, "My Deck.v2");
    EXPECT_EQ(deck.thumbnail, base + "My Deck.v2/My Deck.001.png");
  }
  {  // an empty folder has nothing to show
    QDir().mkpath(base + "Empty");
    const LibraryFile empty = classified(base + "Empty");
    EXPECT_EQ(empty.type, LibraryFileType::PPT);
    EXPECT_TRUE(empty.thumbnail.isEmpty());
  }
  {  // what the open panel and the importer take
    EXPECT_TRUE(isImageFile("/x/Plan.PDF"));
    EXPECT_TRUE(isImageFile("/x/a.svg"));
    EXPECT_FALSE(isImageFile("/x/clip.mp4"));
    EXPECT_FALSE(isImageFile("/x/png"));
    EXPECT_TRUE(isPresentationFile("/x/talk.Key"));
    EXPECT_FALSE(isPresentationFile("/x/talk.odp"));
  }
}

TEST(LibraryFile, SortedListing) {
  QTemporaryDir first;
  QTemporaryDir second;
  const QDateTime base = QDateTime::currentDateTime().addDays(-1);
  auto make = [&](const QString& folder, const QString& name, int minutes) {
    const QString path = folder + '/' + name;
    test::writeText(path, "x");
    QFile file(path);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(base.addSecs(minutes * 60), QFileDevice::FileModificationTime);
  };
  make(first.path(), "old", 1);
  make(first.path(), "tie-a", 5);
  make(first.path(), "tie-b", 5);
  make(first.path(), ".hidden", 9);
  make(second.path(), "newest", 10);
  {  // newest first over both folders, hidden entries left out, ties keep the listing's order
    const QStringList paths = listFolderSortedByDate(first.path(), DateKey::contentModification,
                                                     false, true, second.path());
    QStringList names;
    for (const QString& path : paths) names.append(QFileInfo(path).fileName());
    ASSERT_EQ(names.size(), 4);
    EXPECT_EQ(names.first(), "newest");
    EXPECT_EQ(names.last(), "old");
    const QStringList unsortedTies =
        QDir(first.path()).entryList({"tie-*"}, QDir::Files, QDir::Unsorted);
    EXPECT_EQ(names.mid(1, 2), unsortedTies);
  }
  {  // oldest first, hidden ones included
    const QStringList paths =
        listFolderSortedByDate(first.path(), DateKey::contentModification, true, false);
    EXPECT_EQ(QFileInfo(paths.first()).fileName(), "old");
    EXPECT_EQ(QFileInfo(paths.last()).fileName(), ".hidden");
  }
  {  // a folder that is not there is an error, not an empty list
    EXPECT_THROW(listFolderSortedByDate(first.path() + "/missing", DateKey::creation, true, true),
                 FolderListingError);
  }
}

TEST(JsonValue, ForgivingReads) {
  const JsonValue value = JsonValue::parse(R"({"name": "Grid", "tags": ["a", 3], "n": 1})");
  EXPECT_EQ(value["name"].string(), "Grid");
  EXPECT_EQ(value["missing"].string(), "");
  EXPECT_EQ(value["n"].string(), "");
  ASSERT_EQ(value["tags"].arrayValue().size(), 2);
  EXPECT_EQ(value["tags"].arrayValue()[1].string(), "");
  EXPECT_TRUE(value["name"].arrayValue().isEmpty());
  EXPECT_FALSE(value["name"].optionalArray().has_value());
  EXPECT_THROW(JsonValue::parse("{\"a\": "), JsonError);
  EXPECT_EQ(JsonValue::object({{"k", JsonValue::array({"x", "y"})}}).serialize(),
            R"({"k":["x","y"]})");
  EXPECT_THROW(JsonValue(nlohmann::json(std::string("\xff"))).serialize(), JsonError);
}
