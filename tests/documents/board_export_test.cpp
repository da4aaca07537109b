// Exports of a board: a PDF poppler reads back (pages, colours, text), a PNG, the thumbnail.
#include <gtest/gtest.h>
#include <poppler-qt6.h>

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <atomic>

#include "board_assets.h"
#include "board_exporter.h"
#include "documents_fixture.h"

using namespace dravin;

namespace {

const QColor kYellow(230, 200, 20);

QString textSvg(const QString& picture) {
  return QStringLiteral(
             R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" )"
             R"(width="1000" height="600" viewBox="0 0 1000 600">)"
             R"(<path d="M 700 400 L 900 400 L 900 500 L 700 500 Z" fill="#0000ff"/>)"
             R"x(<path d="M 450 400 L 550 400 L 550 500 L 450 500 Z" fill="rgba(255,0,0,0.5)"/>)x"
             R"(<path d="M 450 520 L 550 520 L 550 580 L 450 580 Z" fill="#0000ff80"/>)"
             R"(<text font-family="DejaVu Sans" font-size="40" fill="#000000">)"
             R"(<tspan x="100" y="120">Hello board</tspan><tspan x="100" y="200">second line</tspan></text>)"
             R"(<image x="50" y="400" width="100" height="100" xlink:href="%1"/>)"
             R"(<image x="300" y="400" width="100" height="100" xlink:href="/etc/hostname"/>)"
             R"(</svg>)")
      .arg(picture);
}

QString emptySvg() {
  return R"(<svg xmlns="http://www.w3.org/2000/svg" width="1000" height="600" viewBox="0 0 1000 600"/>)";
}

struct ExportBoard {
  QTemporaryDir dir;
  BoardAssets assets{dir.filePath("assets")};
  BoardExportInput input;

  ExportBoard() {
    const QString pdf = dir.filePath("rgb.pdf");
    test::writeColourPdf(pdf, {Qt::red, Qt::green, Qt::blue});
    const QString pdfRef = assets.importPdf(pdf).reference;
    const QString picture = assets.importImage(test::filled({400, 240}, kYellow)).reference;
    const QString red = assets.importImage(test::filled({20, 20}, Qt::red)).reference;
    input.assetFolder = assets.folder();
    input.document = QJsonObject{
        {"format", "dravinboard-document"},
        {"version", 1},
        {"width", 1000},
        {"height", 600},
        {"pages", QJsonArray{QJsonObject{{"background", "image"}, {"image", pdfRef + "#2"}},
                             QJsonObject{{"background", "image"}, {"image", picture}},
                             QJsonObject{{"background", "white"}}}}};
    input.pageSvgs = QStringList{emptySvg(), emptySvg(), textSvg(red)};
  }
};

QImage renderPdfPage(Poppler::Document& document, int index, double dpi = 72) {
  std::unique_ptr<Poppler::Page> page = document.page(index);
  return page ? page->renderToImage(dpi, dpi) : QImage();
}

QColor at(const QImage& image, double fx, double fy) {
  return image.pixelColor(static_cast<int>(image.width() * fx),
                          static_cast<int>(image.height() * fy));
}

}  // namespace

TEST(BoardExport, PdfOfThreePages) {
  ExportBoard board;
  const QString path = board.dir.filePath("board.pdf");
  std::vector<std::pair<int, int>> steps;
  const QString error = exportBoardPdf(
      board.input, path, [&](int done, int total) { steps.emplace_back(done, total); });
  ASSERT_EQ(error, QString());
  EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));

  std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
  ASSERT_TRUE(document);
  ASSERT_EQ(document->numPages(), 3);
  for (int i = 0; i < 3; ++i) {
    const QSizeF size = document->page(i)->pageSizeF();
    EXPECT_NEAR(size.width() / size.height(), 1000.0 / 600, 0.01) << i;
  }
  {  // the PDF page fills the board page's height, centred; its sides stay white paper
    const QImage page = renderPdfPage(*document, 0);
    EXPECT_TRUE(test::sameColour(at(page, 0.5, 0.5).rgb(), Qt::green))
        << at(page, 0.5, 0.5).name().toStdString();
    // A5 landscape (1.41) in a 1.67 page: white margins left and right.
    EXPECT_TRUE(test::sameColour(at(page, 0.02, 0.5).rgb(), Qt::white));
  }
  {  // the picture, contained
    const QImage page = renderPdfPage(*document, 1);
    EXPECT_TRUE(test::sameColour(at(page, 0.5, 0.5).rgb(), kYellow))
        << at(page, 0.5, 0.5).name().toStdString();
  }
  {  // typed text stays text, each line where it was typed; the items are drawn where they are
    std::unique_ptr<Poppler::Page> page = document->page(2);
    const QString text = page->text(QRectF());
    EXPECT_TRUE(text.contains("Hello board")) << text.toStdString();
    EXPECT_TRUE(text.contains("second line")) << text.toStdString();
    double helloY = -1, secondY = -1;
    for (const auto& box : page->textList()) {
      if (box->text() == "Hello") helloY = box->boundingBox().center().y();
      if (box->text() == "second") secondY = box->boundingBox().center().y();
    }
    const double pageHeight = page->pageSizeF().height();
    EXPECT_NEAR(helloY / pageHeight, 110.0 / 600, 0.04);
    EXPECT_NEAR(secondY / pageHeight, 190.0 / 600, 0.04);

    const QImage image = renderPdfPage(*document, 2);
    EXPECT_TRUE(test::sameColour(at(image, 0.1, 0.75).rgb(), Qt::red));   // the picture item
    EXPECT_TRUE(test::sameColour(at(image, 0.8, 0.75).rgb(), Qt::blue));  // the shape
    EXPECT_TRUE(
        test::sameColour(at(image, 0.35, 0.75).rgb(), Qt::white));  // no file of the computer
    EXPECT_TRUE(test::sameColour(at(image, 0.5, 0.5).rgb(), Qt::white));
    // translucent ink stays translucent
    EXPECT_TRUE(test::sameColour(at(image, 0.5, 0.75).rgb(), QColor(255, 128, 128)))
        << at(image, 0.5, 0.75).name().toStdString();
    EXPECT_TRUE(test::sameColour(at(image, 0.5, 0.915).rgb(), QColor(127, 127, 255)))
        << at(image, 0.5, 0.915).name().toStdString();
  }
  {  // cancelled: the earlier export stays, nothing else is left
    const QByteArray before = test::readAll(path);
    std::atomic<bool> cancelled{true};
    EXPECT_FALSE(exportBoardPdf(board.input, path, {}, &cancelled).isEmpty());
    EXPECT_EQ(test::readAll(path), before);
    EXPECT_EQ(QDir(board.dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"board.pdf", "rgb.pdf"}));
  }
  {  // a missing asset is named and nothing is written
    BoardExportInput broken = board.input;
    QJsonArray pages = broken.document["pages"].toArray();
    const QString ghost = "asset:" + QString(40, 'd') + ".png";
    pages[1] = QJsonObject{{"background", "image"}, {"image", ghost}};
    broken.document["pages"] = pages;
    const QString missing = exportBoardPdf(broken, board.dir.filePath("broken.pdf"));
    EXPECT_TRUE(missing.contains(ghost)) << missing.toStdString();
    EXPECT_FALSE(QFile::exists(board.dir.filePath("broken.pdf")));
  }
}

TEST(BoardExport, PngThumbnailAndBackgrounds) {
  ExportBoard board;
  const QString png = board.dir.filePath("page.png");
  ASSERT_EQ(exportBoardPng(board.input, 1, png, {500, 0}), QString());
  const QImage page(png);
  EXPECT_EQ(page.size(), QSize(500, 300));
  EXPECT_TRUE(test::sameColour(at(page, 0.5, 0.5).rgb(), kYellow));
  EXPECT_FALSE(exportBoardPng(board.input, 3, png, {500, 0}).isEmpty());

  const QImage thumbnail = renderBoardThumbnail(board.input.document, board.input.pageSvgs[0],
                                                board.input.assetFolder, QImage());
  EXPECT_EQ(thumbnail.size(), QSize(320, 192));
  EXPECT_TRUE(test::sameColour(at(thumbnail, 0.5, 0.5).rgb(), Qt::green));

  // The page's own backgrounds at one device pixel per page pixel.
  const auto drawn = [&](const QJsonObject& only, const QImage& live = QImage()) {
    QJsonObject document = board.input.document;
    document["pages"] = QJsonArray{only};
    return renderBoardThumbnail(document, emptySvg(), board.input.assetFolder, live, 1000);
  };
  {  // squares of 28 px from the top left corner
    const QImage squared = drawn({{"background", "squared"}});
    EXPECT_LT(squared.pixelColor(28 * 10, 290).red(), 240);
    EXPECT_LT(squared.pixelColor(290, 28 * 10).red(), 240);
    EXPECT_EQ(squared.pixelColor(28 * 10 + 14, 290), QColor(Qt::white));
  }
  {
    const QImage ruled = drawn({{"background", "ruled"}});
    EXPECT_GT(ruled.pixelColor(80, 5).red(), ruled.pixelColor(80, 5).blue());  // the margin
    EXPECT_EQ(ruled.pixelColor(40, 290), QColor(Qt::white));
    EXPECT_LT(ruled.pixelColor(40, 36 * 7 + 35).red(), 240);
  }
  {
    const QImage dotted = drawn({{"background", "dotted"}});
    EXPECT_LT(dotted.pixelColor(24 * 20 + 12, 24 * 12 + 12).red(), 230);
    EXPECT_EQ(dotted.pixelColor(24 * 21, 24 * 13), QColor(Qt::white));
  }
  EXPECT_EQ(drawn({{"background", "black"}}).pixelColor(500, 300), QColor(0x1f, 0x2b, 0x27));
  EXPECT_EQ(drawn({{"background", "none"}}).pixelColor(500, 300), QColor(Qt::white));
  EXPECT_EQ(
      drawn({{"background", "none"}}, test::filled({100, 60}, Qt::magenta)).pixelColor(500, 300),
      QColor(Qt::magenta));
}
