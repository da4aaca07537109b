// The asset folder: files kept by the hash of their bytes, checked for what their name says.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include "board_assets.h"
#include "documents_fixture.h"

using namespace dravin;

namespace {

QString sha1Of(const QByteArray& bytes) {
  return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
}

}  // namespace

TEST(BoardAssets, ImportsFilesByContentAndRefusesImpostors) {
  QTemporaryDir dir;
  BoardAssets assets(dir.filePath("assets"));
  const QString picture = dir.filePath("Red Picture.PNG");
  ASSERT_TRUE(test::filled({40, 30}, Qt::red).save(picture, "PNG"));
  const QByteArray bytes = test::readAll(picture);

  {  // the bytes under their hash; importing again changes nothing
    const AssetImport first = assets.importFile(picture);
    ASSERT_TRUE(first.ok()) << first.error.toStdString();
    EXPECT_EQ(first.reference, "asset:" + sha1Of(bytes) + ".png");
    EXPECT_EQ(test::readAll(assets.pathOf(first.reference)), bytes);
    const AssetImport again = assets.importFile(picture);
    EXPECT_EQ(again.reference, first.reference);
    EXPECT_EQ(filesUnder(assets.folder()), QStringList{sha1Of(bytes) + ".png"});
  }
  {  // a damaged copy in the folder is replaced by the real bytes
    const QString kept = assets.folder() + "/" + sha1Of(bytes) + ".png";
    ASSERT_TRUE(test::writeAll(kept, "broken"));
    ASSERT_TRUE(assets.importFile(picture).ok());
    EXPECT_EQ(test::readAll(kept), bytes);
  }
  {  // text named .png, a truncated picture, an unknown kind, a missing file: refused, nothing kept
    const QString fake = dir.filePath("notes.png");
    ASSERT_TRUE(test::writeAll(fake, "these are notes, not a picture\n"));
    const AssetImport refused = assets.importFile(fake);
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(refused.reference.isEmpty());
    EXPECT_TRUE(refused.error.contains("notes.png")) << refused.error.toStdString();

    const QString cut = dir.filePath("cut.png");
    ASSERT_TRUE(test::writeAll(cut, test::readAll(picture).left(60)));
    EXPECT_FALSE(assets.importFile(cut).ok());

    const QString odd = dir.filePath("notes.txt");
    ASSERT_TRUE(test::writeAll(odd, "text"));
    EXPECT_FALSE(assets.importFile(odd).ok());

    const AssetImport missing = assets.importFile(dir.filePath("gone.png"));
    EXPECT_TRUE(missing.error.contains(dir.filePath("gone.png"))) << missing.error.toStdString();
    EXPECT_EQ(filesUnder(assets.folder()).size(), 1)
        << filesUnder(assets.folder()).join(' ').toStdString();
  }
  {  // a picture in memory becomes a PNG asset, the same one each time
    const QImage image = test::filled({16, 8}, Qt::blue);
    const AssetImport kept = assets.importImage(image);
    ASSERT_TRUE(kept.ok());
    EXPECT_EQ(assets.importImage(image).reference, kept.reference);
    EXPECT_EQ(QImage(assets.pathOf(kept.reference)).size(), QSize(16, 8));
  }
  {  // a PDF gives its pages; a cut or disguised one is refused with a reason
    const QString pdf = dir.filePath("three.pdf");
    test::writeColourPdf(pdf, {Qt::red, Qt::green, Qt::blue});
    const AssetImport imported = assets.importPdf(pdf);
    ASSERT_TRUE(imported.ok()) << imported.error.toStdString();
    EXPECT_EQ(imported.pageCount, 3);
    EXPECT_TRUE(imported.reference.endsWith(".pdf"));
    EXPECT_EQ(assets.pathOf(imported.reference + "#2"), assets.pathOf(imported.reference));

    const QString cut = dir.filePath("cut.pdf");
    ASSERT_TRUE(test::writeAll(cut, test::readAll(pdf).left(200)));
    const AssetImport broken = assets.importPdf(cut);
    EXPECT_FALSE(broken.ok());
    EXPECT_TRUE(broken.error.contains("cut.pdf")) << broken.error.toStdString();
    const QString disguised = dir.filePath("picture.pdf");
    QFile::copy(picture, disguised);
    EXPECT_FALSE(assets.importFile(disguised).ok());
  }
}

TEST(BoardAssets, SlideFolderInNameOrder) {
  QTemporaryDir dir;
  BoardAssets assets(dir.filePath("assets"));
  const QString slides = dir.filePath("deck");
  QDir().mkpath(slides);
  // Written out of order; the names say the order.
  ASSERT_TRUE(test::filled({32, 18}, Qt::blue).save(slides + "/deck.010.png"));
  ASSERT_TRUE(test::filled({32, 18}, Qt::red).save(slides + "/deck.001.png"));
  ASSERT_TRUE(test::filled({32, 18}, Qt::green).save(slides + "/deck.002.png"));
  ASSERT_TRUE(test::writeAll(slides + "/notes.txt", "not a slide"));
  const AssetListImport imported = assets.importSlideFolder(slides);
  ASSERT_TRUE(imported.ok()) << imported.error.toStdString();
  ASSERT_EQ(imported.references.size(), 3);
  const QList<QColor> order{Qt::red, Qt::green, Qt::blue};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(QImage(assets.pathOf(imported.references[i])).pixelColor(5, 5), order[i]) << i;
  }
  EXPECT_FALSE(assets.importSlideFolder(dir.filePath("none")).ok());
  QDir().mkpath(dir.filePath("empty"));
  EXPECT_FALSE(assets.importSlideFolder(dir.filePath("empty")).ok());
}

TEST(BoardAssets, ReferencesInADocument) {
  const QString sha = QString(40, 'a');
  {  // what a reference is
    const auto page = parseAssetReference("asset:" + sha + ".pdf#12");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->page, 12);
    EXPECT_EQ(page->fileName(), sha + ".pdf");
    EXPECT_EQ(page->text(), "asset:" + sha + ".pdf#12");
    EXPECT_TRUE(parseAssetReference("asset:" + sha + ".jpeg"));
    for (const QString& bad :
         {"asset:" + sha.toUpper() + ".png", "asset:" + sha + ".exe", "asset:" + sha + ".png#1",
          "asset:" + sha + ".pdf#0", "asset:" + sha.left(39) + ".png", "asset:" + sha + ".png ",
          "asset:../" + sha + ".png", " asset:" + sha + ".png"}) {
      EXPECT_FALSE(parseAssetReference(bad)) << bad.toStdString();
    }
  }
  {  // found anywhere in the tree, once each; keys and longer texts do not count
    const QString picture = "asset:" + sha + ".png";
    const QString pdfPage = "asset:" + QString(40, 'b') + ".pdf#3";
    QJsonObject item{{"type", "image"}, {"src", picture}, {"note", "see " + picture}};
    QJsonObject document{
        {"pages", QJsonArray{QJsonObject{{"background", "image"}, {"image", pdfPage}},
                             QJsonObject{{"items", QJsonArray{item, item, QJsonArray{picture}}}}}},
        {picture, 1}};
    EXPECT_EQ(assetReferencesIn(document), (QSet<QString>{picture, pdfPage}));
  }
}
