#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>

#include "bookmark_store.h"
#include "library_fixture.h"
#include "thumbnail_service.h"

using namespace dravin;

namespace {

QImage page(QColor colour, QSize size = {320, 200}) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

struct Bookmarks {
  test::StorageTree tree;
  ThumbnailService thumbnails;
  QString folder = tree.folders.bookmark;

  Bookmarks() { QDir().mkpath(folder); }

  // A fresh view's store, loaded to the end.
  std::unique_ptr<BookmarkStore> load() {
    auto store = std::make_unique<BookmarkStore>(thumbnails);
    QSignalSpy loaded(store.get(), &BookmarkStore::bookmarksLoaded);
    store->loadBookmarks();
    if (loaded.isEmpty() && !loaded.wait(10000)) ADD_FAILURE() << "bookmarks not loaded";
    return store;
  }

  JsonValue file() const { return JsonValue::parse(test::readText(folder + "bookmarks.json")); }
};

QStringList names(const QList<Bookmark>& list) {
  QStringList result;
  for (const Bookmark& b : list) result.append(b.name);
  return result;
}

}  // namespace

TEST(BookmarkStore, AddSaveAndLoadAgain) {
  Bookmarks bookmarks;
  auto store = bookmarks.load();
  ASSERT_TRUE(store->bookmarkList().isEmpty());
  {  // the same page twice: two entries, two snapshot files, newest first
    ASSERT_TRUE(store->addBookmark("example.org/a", "Page A", page(Qt::red), {300, 180}));
    ASSERT_TRUE(store->addBookmark("example.org/a", "Page A", page(Qt::blue), {300, 180}));
    const QList<Bookmark>& list = store->bookmarkList();
    ASSERT_EQ(list.size(), 2);
    EXPECT_NE(list[0].id, list[1].id);
    for (const Bookmark& b : list) {
      EXPECT_EQ(b.id, b.id.toUpper());
      EXPECT_FALSE(QUuid(b.id).isNull());
      EXPECT_EQ(b.thumbnail, b.id + ".png");
      const QImage saved(bookmarks.folder + b.thumbnail);
      EXPECT_EQ(saved.size(), QSize(300, 180));
    }
    // The container's size, the page drawn at its origin and white where it does not reach.
    const QImage newest(bookmarks.folder + list[0].thumbnail);
    EXPECT_EQ(newest.pixelColor(10, 10), QColor(Qt::blue));
    EXPECT_EQ(QImage(bookmarks.folder + list[1].thumbnail).pixelColor(10, 10), QColor(Qt::red));
  }
  {  // a page without a title is named after its host; the address text is kept as typed
    ASSERT_TRUE(store->addBookmark("http://lessons.example.net:8080/x?y=1", "", page(Qt::green),
                                   {400, 100}));
    EXPECT_EQ(store->bookmarkList()[0].name, "lessons.example.net");
    EXPECT_EQ(QImage(bookmarks.folder + store->bookmarkList()[0].thumbnail).pixelColor(350, 50),
              QColor(Qt::white));
  }
  {  // the file: a compact array of exactly the four keys, in list order
    const QByteArray bytes = test::readText(bookmarks.folder + "bookmarks.json");
    EXPECT_FALSE(bytes.contains('\n'));
    const QList<JsonValue> records = bookmarks.file().arrayValue();
    ASSERT_EQ(records.size(), 3);
    for (int i = 0; i < 3; ++i) {
      const Bookmark& b = store->bookmarkList()[i];
      EXPECT_EQ(records[i].raw().size(), 4u);
      EXPECT_EQ(records[i]["id"].string(), b.id);
      EXPECT_EQ(records[i]["url"].string(), b.url);
      EXPECT_EQ(records[i]["thumbnail"].string(), b.thumbnail);
      EXPECT_EQ(records[i]["name"].string(), b.name);
    }
  }
  {  // a new view reads the same list, with pictures
    auto again = bookmarks.load();
    EXPECT_EQ(names(again->bookmarkList()),
              (QStringList{"lessons.example.net", "Page A", "Page A"}));
    EXPECT_EQ(again->bookmarkList()[1].id, store->bookmarkList()[1].id);
    for (const Bookmark& b : again->bookmarkList()) EXPECT_FALSE(b.thumbnailImage.isNull());
  }
  {  // a snapshot that never arrives adds nothing
    EXPECT_FALSE(store->addBookmark("example.org", "Nothing", QImage(), {300, 180}));
    EXPECT_EQ(store->bookmarkList().size(), 3);
  }
}

TEST(BookmarkStore, RemoveAndBrokenFiles) {
  Bookmarks bookmarks;
  {  // removal deletes the snapshot and rewrites the file without it
    auto store = bookmarks.load();
    ASSERT_TRUE(store->addBookmark("a.example", "A", page(Qt::red), {64, 64}));
    ASSERT_TRUE(store->addBookmark("b.example", "B", page(Qt::red), {64, 64}));
    const Bookmark gone = store->bookmarkList()[1];
    store->removeBookmark(gone.id);
    EXPECT_FALSE(QFileInfo::exists(bookmarks.folder + gone.thumbnail));
    EXPECT_EQ(names(store->bookmarkList()), QStringList{"B"});
    const QList<JsonValue> records = bookmarks.file().arrayValue();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0]["name"].string(), "B");
    // A snapshot already gone does not keep the bookmark.
    QFile::remove(bookmarks.folder + store->bookmarkList()[0].thumbnail);
    store->removeBookmark(store->bookmarkList()[0].id);
    EXPECT_TRUE(store->bookmarkList().isEmpty());
    EXPECT_EQ(bookmarks.file().arrayValue().size(), 0);
  }
  {  // missing snapshots, unsafe names and missing keys: left out, dropped at the next save
    test::writePicture(bookmarks.folder + "K.png");
    test::writePicture(bookmarks.folder + "../outside.png");
    test::writeText(bookmarks.folder + "bookmarks.json", R"([
      {"id": "K", "url": "https://kept.example", "thumbnail": "K.png", "name": "Kept"},
      {"id": "M", "url": "https://missing.example", "thumbnail": "M.png", "name": "Missing"},
      {"id": "O", "url": "https://o.example", "thumbnail": "../outside.png", "name": "Outside"},
      {"id": "N", "thumbnail": "K.png"}])");
    auto store = bookmarks.load();
    EXPECT_EQ(names(store->bookmarkList()), (QStringList{"Kept", ""}));
    EXPECT_EQ(store->bookmarkList()[1].url, "");
    store->removeBookmark("N");
    EXPECT_TRUE(QFileInfo::exists(bookmarks.folder + "../outside.png"));
    EXPECT_EQ(bookmarks.file().arrayValue().size(), 1);
  }
  {  // an object instead of an array: an empty list
    test::writeText(bookmarks.folder + "bookmarks.json", R"({"id": "K", "thumbnail": "K.png"})");
    EXPECT_TRUE(bookmarks.load()->bookmarkList().isEmpty());
  }
  {  // a broken file: reported, untouched by loading, set aside when the user adds
    const QByteArray broken = R"([{"id": "K", "url": "https://kept.example", "thumb)";
    test::writeText(bookmarks.folder + "bookmarks.json", broken);
    auto store = bookmarks.load();
    EXPECT_TRUE(store->bookmarkList().isEmpty());
    EXPECT_EQ(test::readText(bookmarks.folder + "bookmarks.json"), broken);
    ASSERT_TRUE(store->addBookmark("c.example", "C", page(Qt::red), {64, 64}));
    EXPECT_EQ(test::readText(bookmarks.folder + "bookmarks.json.unreadable"), broken);
    EXPECT_EQ(bookmarks.file().arrayValue().size(), 1);
  }
  {  // no file yet: an empty list, and the first bookmark makes one
    QFile::remove(bookmarks.folder + "bookmarks.json");
    auto store = bookmarks.load();
    EXPECT_TRUE(store->bookmarkList().isEmpty());
  }
}

TEST(BookmarkStore, AddWhileLoading) {
  Bookmarks bookmarks;
  QString records;
  for (int i = 0; i < 20; ++i) {
    const QString id = QString("ID%1").arg(i);
    test::writePicture(bookmarks.folder + id + ".png", Qt::gray, {800, 600});
    records += QString(R"(%1{"id":"%2","url":"u%2","thumbnail":"%2.png","name":"n%2"})")
                   .arg(i ? "," : "", id);
  }
  test::writeText(bookmarks.folder + "bookmarks.json", ("[" + records + "]").toUtf8());
  BookmarkStore store(bookmarks.thumbnails);
  QSignalSpy loaded(&store, &BookmarkStore::bookmarksLoaded);
  store.loadBookmarks();
  // The user bookmarks a page before the snapshots were all thumbnailed: nothing read is lost.
  ASSERT_TRUE(store.addBookmark("new.example", "New", page(Qt::red), {64, 64}));
  EXPECT_EQ(bookmarks.file().arrayValue().size(), 21);
  ASSERT_TRUE(loaded.wait(10000));
  EXPECT_EQ(store.bookmarkList().size(), 21);
  EXPECT_EQ(store.bookmarkList()[0].name, "New");
  EXPECT_EQ(store.bookmarkList()[20].name, "nID19");
}
