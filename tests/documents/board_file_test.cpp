// The board file: saved with its assets, opened elsewhere, and refused whole when it is damaged,
// newer or hostile, without ever being overwritten.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "board_assets.h"
#include "board_file.h"
#include "documents_fixture.h"

using namespace dravin;

namespace {

struct Board {
  QTemporaryDir dir;
  BoardAssets assets{dir.filePath("assets")};
  QString picture;
  QString pdf;
  QJsonObject document;

  Board() {
    const QString png = dir.filePath("p.png");
    test::filled({64, 48}, QColor(200, 180, 20)).save(png);
    picture = assets.importFile(png).reference;
    const QString file = dir.filePath("d.pdf");
    test::writeColourPdf(file, {Qt::red, Qt::green});
    pdf = assets.importPdf(file).reference;
    document = QJsonObject{
        {"format", "dravinboard-document"},
        {"version", 1},
        {"width", 1000},
        {"height", 600},
        {"current", 1},
        {"pages",
         QJsonArray{
             QJsonObject{{"id", "a"},
                         {"background", "image"},
                         {"image", pdf + "#2"},
                         {"items", QJsonArray{}}},
             QJsonObject{{"id", "b"},
                         {"background", "squared"},
                         {"items", QJsonArray{QJsonObject{{"type", "image"},
                                                          {"src", picture},
                                                          {"text", "Zeile 1\nlínea 2"}}}}}}}};
  }
  QString boardPath(const QString& name = "lesson.dravinboard") const { return dir.filePath(name); }
};

QByteArray boardJson(int version, const QJsonObject& document) {
  return QJsonDocument(QJsonObject{{"format", "dravinboard"},
                                   {"version", version},
                                   {"application", "test"},
                                   {"saved", "2026-01-01T00:00:00Z"},
                                   {"document", document}})
      .toJson();
}

}  // namespace

TEST(BoardFile, RoundTripToAnotherMachine) {
  Board board;
  ASSERT_FALSE(board.picture.isEmpty());
  ASSERT_FALSE(board.pdf.isEmpty());
  const QImage thumbnail = test::filled({320, 192}, Qt::green);
  const QString path = board.boardPath();
  ASSERT_EQ(writeBoardFile(path, board.document, board.assets.folder(), thumbnail), QString());
  // Only the board is left in the folder: no temporary file beside it.
  EXPECT_EQ(QDir(board.dir.path()).entryList({"*.dravinboard*", ".*"}, QDir::Files | QDir::Hidden),
            QStringList{"lesson.dravinboard"});

  QTemporaryDir elsewhere;
  const QString otherAssets = elsewhere.filePath("assets");
  const BoardFileRead read = readBoardFile(path, otherAssets);
  ASSERT_TRUE(read.ok()) << read.error.toStdString();
  EXPECT_EQ(read.document, board.document);
  for (const QString& reference : {board.picture, board.pdf}) {
    const QString name = parseAssetReference(reference)->fileName();
    EXPECT_EQ(test::readAll(otherAssets + "/" + name),
              test::readAll(board.assets.folder() + "/" + name))
        << name.toStdString();
  }
  EXPECT_EQ(filesUnder(otherAssets).size(), 2);
  const QImage kept = readBoardThumbnail(path);
  EXPECT_EQ(kept.size(), thumbnail.size());
  EXPECT_EQ(kept.pixelColor(10, 10), QColor(Qt::green));

  {  // saved again over itself: a readable board is replaced
    QJsonObject changed = board.document;
    changed["current"] = 0;
    ASSERT_EQ(writeBoardFile(path, changed, board.assets.folder(), QImage()), QString());
    EXPECT_EQ(readBoardFile(path, otherAssets).document["current"], 0);
    EXPECT_TRUE(readBoardThumbnail(path).isNull());
  }
  {  // an asset missing from the folder: named, nothing written
    const QByteArray before = test::readAll(path);
    QJsonObject broken = board.document;
    const QString ghost = "asset:" + QString(40, 'c') + ".png";
    broken["extra"] = ghost;
    const QString error = writeBoardFile(path, broken, board.assets.folder(), thumbnail);
    EXPECT_TRUE(error.contains(ghost)) << error.toStdString();
    EXPECT_EQ(test::readAll(path), before);
    // ...and one whose bytes changed in the folder is named too.
    const QString pictureFile = board.assets.pathOf(board.picture);
    const QByteArray pictureBytes = test::readAll(pictureFile);
    test::writeAll(pictureFile, pictureBytes + "x");
    const QString damaged = writeBoardFile(path, board.document, board.assets.folder(), thumbnail);
    EXPECT_TRUE(damaged.contains(board.picture)) << damaged.toStdString();
    EXPECT_EQ(test::readAll(path), before);
  }
}

TEST(BoardFile, RefusesDamagedNewerAndHostileFilesAndNeverOverwritesThem) {
  Board board;
  const QString good = board.boardPath("good.dravinboard");
  ASSERT_EQ(writeBoardFile(good, board.document, board.assets.folder(), QImage()), QString());
  const QByteArray goodBytes = test::readAll(good);
  const QString pictureName = parseAssetReference(board.picture)->fileName();
  const QByteArray pictureBytes = test::readAll(board.assets.pathOf(board.picture));
  const QJsonObject pictureOnly{{"pages", QJsonArray{QJsonObject{{"image", board.picture}}}}};

  struct Case {
    const char* name;
    QByteArray bytes;
    QString expected;
  };
  std::vector<Case> cases;
  cases.push_back(
      {"garbage", QByteArray("PK\x03\x04 this is not a zip at all", 30), boardFileDamagedText()});
  cases.push_back({"truncated", goodBytes.left(goodBytes.size() / 2), boardFileDamagedText()});
  const auto zipped = [&](const char* name,
                          const std::vector<std::pair<std::string, QByteArray>>& entries,
                          const QString& expected) {
    const QString path = board.boardPath("made.zip");
    EXPECT_TRUE(test::writeZip(path, entries));
    cases.push_back({name, test::readAll(path), expected});
  };
  zipped("newer", {{"board.json", boardJson(2, board.document)}}, boardFileNewerText());
  zipped("newer, whatever its document",
         {{"board.json", R"({"format":"dravinboard","version":7,"document":[]})"}},
         boardFileNewerText());
  zipped("another format", {{"board.json", R"({"format":"other","version":1,"document":{}})"}},
         boardFileDamagedText());
  zipped("no board.json", {{"thumbnail.png", "x"}}, boardFileDamagedText());
  zipped("not JSON", {{"board.json", "{nope"}}, boardFileDamagedText());
  zipped("fractional version",
         {{"board.json", boardJson(1, {}).replace("\"version\": 1", "\"version\": 1.5")}},
         boardFileDamagedText());
  zipped("climbs out",
         {{"board.json", boardJson(1, pictureOnly)},
          {"../" + pictureName.toStdString(), pictureBytes},
          {"assets/" + pictureName.toStdString(), pictureBytes}},
         boardFileDamagedText());
  zipped("climbs out inside",
         {{"board.json", boardJson(1, pictureOnly)}, {"assets/../../escape.png", pictureBytes}},
         boardFileDamagedText());
  zipped("absolute", {{"board.json", boardJson(1, pictureOnly)}, {"/tmp/escape.png", pictureBytes}},
         boardFileDamagedText());
  zipped("asset not its hash",
         {{"board.json", boardJson(1, pictureOnly)},
          {"assets/" + pictureName.toStdString(), pictureBytes + "!"}},
         boardFileDamagedText());
  zipped("asset left out", {{"board.json", boardJson(1, pictureOnly)}}, boardFileDamagedText());
  {  // libzip will not write a name twice, so the second name is changed in the bytes after
    zipped("twice the same name",
           {{"board.json", boardJson(1, {})}, {"xoard.json", boardJson(1, pictureOnly)}},
           boardFileDamagedText());
    cases.back().bytes.replace("xoard.json", "board.json");
  }
  // 80 MB of spaces is valid JSON and deflates to a few kilobytes.
  zipped("bomb", {{"board.json", boardJson(1, {}) + QByteArray(80 * 1024 * 1024, ' ')}},
         boardFileDamagedText());

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir fresh;
    const QString assets = fresh.filePath("assets");
    const QString path = fresh.filePath("board.dravinboard");
    ASSERT_TRUE(test::writeAll(path, c.bytes));
    const BoardFileRead read = readBoardFile(path, assets);
    EXPECT_EQ(read.error, c.expected);
    EXPECT_TRUE(read.document.isEmpty());
    EXPECT_TRUE(filesUnder(assets).isEmpty())
        << filesUnder(assets).join(' ').toStdString();
    EXPECT_FALSE(QFile::exists(fresh.filePath(pictureName)));
    EXPECT_FALSE(QFile::exists(fresh.filePath("escape.png")));
    // An autosave onto it is refused and leaves it as it was.
    const QString error = writeBoardFile(path, board.document, board.assets.folder(), QImage());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(test::readAll(path), c.bytes);
  }
  EXPECT_FALSE(QFile::exists("/tmp/escape.png"));

  {  // the user chose to replace one: it is replaced
    const QString path = board.boardPath("chosen.dravinboard");
    ASSERT_TRUE(test::writeAll(path, "junk"));
    EXPECT_EQ(writeBoardFile(path, board.document, board.assets.folder(), QImage(), true),
              QString());
    EXPECT_TRUE(readBoardFile(path, board.assets.folder()).ok());
  }
  {  // a missing file is named
    const QString gone = board.boardPath("gone.dravinboard");
    EXPECT_TRUE(readBoardFile(gone, board.assets.folder()).error.contains(gone));
    EXPECT_TRUE(readBoardThumbnail(gone).isNull());
  }
}

// A save that cannot finish leaves the earlier board whole and no file of its own behind: on a
// disk that fills up (a small tmpfs, as root), otherwise in a folder that cannot be written.
TEST(BoardFile, FailedWriteKeepsTheOldFile) {
  Board board;
  QTemporaryDir base;
  const QString folder = base.filePath("disk");
  QDir().mkpath(folder);
  const bool mounted = geteuid() == 0 && ::mount("tmpfs", QFile::encodeName(folder).constData(),
                                                 "tmpfs", 0, "size=1m") == 0;
  const QString path = folder + "/lesson.dravinboard";
  ASSERT_EQ(writeBoardFile(path, board.document, board.assets.folder(), QImage()), QString());
  const QByteArray before = test::readAll(path);

  // Two megabytes of picture that no compression makes smaller.
  const QString big = base.filePath("noise.png");
  ASSERT_TRUE(test::noise({800, 800}).save(big, "PNG", 0));
  QJsonObject larger = board.document;
  larger["extra"] = board.assets.importFile(big).reference;
  if (!mounted) QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);

  const QString error = writeBoardFile(path, larger, board.assets.folder(), QImage());
  EXPECT_FALSE(error.isEmpty());
  if (mounted) {
    EXPECT_TRUE(error.contains("disk is full")) << error.toStdString();
  }
  EXPECT_EQ(test::readAll(path), before);
  EXPECT_EQ(filesUnder(folder), QStringList{"lesson.dravinboard"});

  if (mounted) {
    ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
  } else {
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
}

// Boards damaged at random places: each is either read whole (a byte the format does not check)
// or refused with the damaged text; nothing crashes and nothing unchecked lands in the folder.
TEST(BoardFile, RandomDamageIsRefusedOrHarmless) {
  Board board;
  const QString good = board.boardPath("good.dravinboard");
  ASSERT_EQ(
      writeBoardFile(good, board.document, board.assets.folder(), test::filled({32, 20}, Qt::gray)),
      QString());
  const QByteArray bytes = test::readAll(good);
  QRandomGenerator random(20261207);
  int refused = 0;
  for (int round = 0; round < 300; ++round) {
    QByteArray damaged = bytes;
    const int flips = 1 + static_cast<int>(random.bounded(4));
    for (int i = 0; i < flips; ++i) {
      damaged[static_cast<int>(random.bounded(damaged.size()))] =
          static_cast<char>(random.bounded(256));
    }
    if (round % 10 == 0) damaged.truncate(static_cast<int>(random.bounded(damaged.size())));
    QTemporaryDir fresh;
    const QString path = fresh.filePath("b.dravinboard");
    ASSERT_TRUE(test::writeAll(path, damaged));
    const BoardFileRead read = readBoardFile(path, fresh.filePath("assets"));
    readBoardThumbnail(path);
    if (!read.ok()) {
      EXPECT_EQ(read.error, boardFileDamagedText());
      ++refused;
      continue;
    }
    // Read: every asset it put in the folder is the one its name says.
    for (const QString& name : filesUnder(fresh.filePath("assets"))) {
      const QByteArray asset = test::readAll(fresh.filePath("assets/" + name));
      EXPECT_TRUE(
          name.startsWith(QCryptographicHash::hash(asset, QCryptographicHash::Sha1).toHex()))
          << name.toStdString();
    }
  }
  EXPECT_GT(refused, 100);
}
