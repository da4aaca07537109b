#include "thumbnailer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

namespace {

using dravin::kThumbnailSize;
using dravin::makeThumbnail;

// Fits the box, touches it on one side, and keeps the source's aspect to within rounding.
void expectFitted(const QImage& thumb, QSize source) {
  ASSERT_FALSE(thumb.isNull());
  EXPECT_LE(thumb.width(), kThumbnailSize.width());
  EXPECT_LE(thumb.height(), kThumbnailSize.height());
  EXPECT_TRUE(thumb.width() == kThumbnailSize.width() || thumb.height() == kThumbnailSize.height())
      << thumb.width() << "x" << thumb.height();
  double expected = double(source.width()) / source.height();
  EXPECT_NEAR(double(thumb.width()) / thumb.height(), expected, 1.5 / thumb.height() * expected)
      << thumb.width() << "x" << thumb.height();
}

// Left half red, right half blue, with some noise so JPEG has real work.
QImage halves(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      int noise = (x * 7 + y * 13) % 32;
      image.setPixel(x, y,
                     x < size.width() / 2 ? qRgb(220 + noise / 2, noise, noise)
                                          : qRgb(noise, noise, 220 + noise / 2));
    }
  }
  return image;
}

QByteArray jpegBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPEG", 90);
  return bytes;
}

// An APP1 segment holding only the EXIF orientation tag, placed right after the start marker.
QByteArray withOrientation(QByteArray jpeg, quint8 orientation) {
  const char app1[] = {'\xFF', '\xE1', 0, 34, 'E', 'x', 'i', 'f', 0, 0,  // marker, length, id
                       'M',    'M',    0, 42, 0,   0,   0,   8,          // big-endian TIFF header
                       0,      1,                                        // one entry
                       1,      0x12,   0, 3,  0,   0,   0,   1,   0, char(orientation),
                       0,      0,              // SHORT 0x0112
                       0,      0,      0, 0};  // no next IFD
  jpeg.insert(2, QByteArray(app1, sizeof app1));
  return jpeg;
}

class ThumbnailerTest : public ::testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) {
    QString path = dir_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }
  QTemporaryDir dir_;
};

TEST_F(ThumbnailerTest, Pictures) {
  {  // a large JPEG is decoded small and fitted, landscape and portrait
    expectFitted(makeThumbnail(write("wide.jpg", jpegBytes(halves({1600, 1200})))), {1600, 1200});
    expectFitted(makeThumbnail(write("tall.JPEG", jpegBytes(halves({600, 1600})))), {600, 1600});
  }
  {  // a panorama is limited by the width
    QImage thumb = makeThumbnail(write("pano.jpg", jpegBytes(halves({3000, 500}))));
    expectFitted(thumb, {3000, 500});
    EXPECT_EQ(thumb.width(), 256);
  }
  {  // PNG and a picture smaller than the box, which stays as it is
    QString path = dir_.filePath("icon.png");
    ASSERT_TRUE(halves({40, 30}).save(path));
    EXPECT_EQ(makeThumbnail(path).size(), QSize(40, 30));
    QString big = dir_.filePath("big.png");
    ASSERT_TRUE(halves({1000, 1000}).save(big));
    EXPECT_EQ(makeThumbnail(big).size(), QSize(144, 144));
  }
  {  // a one-colour sheet saved as a 1-bit palette PNG keeps its colour (Qt's scaled PNG
     // reading loses the palette)
    QImage sheet(800, 600, QImage::Format_Mono);
    sheet.setColorTable({qRgb(220, 40, 40), qRgb(255, 255, 255)});
    sheet.fill(0);
    QString path = dir_.filePath("red sheet.png");
    ASSERT_TRUE(sheet.save(path));
    const QImage thumb = makeThumbnail(path);
    EXPECT_EQ(thumb.size(), QSize(192, 144));
    EXPECT_EQ(thumb.pixel(96, 72), qRgb(220, 40, 40));
  }
  {  // a custom box
    EXPECT_EQ(makeThumbnail(write("box.jpg", jpegBytes(halves({800, 400}))), {100, 100}).size(),
              QSize(100, 50));
  }
}

TEST_F(ThumbnailerTest, ExifOrientation) {
  // Stored 400 x 800 with red on the left; orientation 6 turns it clockwise into a landscape.
  QByteArray stored = jpegBytes(halves({400, 800}));
  {  // turned: as wide as the box, red on top
    QImage thumb = makeThumbnail(write("turned.jpg", withOrientation(stored, 6)));
    expectFitted(thumb, {800, 400});
    EXPECT_EQ(thumb.size(), QSize(256, 128));
    QRgb top = thumb.pixel(thumb.width() / 2, thumb.height() / 4);
    QRgb bottom = thumb.pixel(thumb.width() / 2, thumb.height() * 3 / 4);
    EXPECT_GT(qRed(top), 150);
    EXPECT_LT(qBlue(top), 100);
    EXPECT_GT(qBlue(bottom), 150);
  }
  {  // orientation 1 leaves it as stored
    QImage thumb = makeThumbnail(write("upright.jpg", withOrientation(stored, 1)));
    EXPECT_EQ(thumb.size(), QSize(72, 144));
    EXPECT_GT(qRed(thumb.pixel(thumb.width() / 4, thumb.height() / 2)), 150);
  }
}

TEST_F(ThumbnailerTest, SvgAndPdf) {
  {  // SVG drawn at the box size on white
    QString path = write("shape.svg",
                         "<svg xmlns='http://www.w3.org/2000/svg' width='200' height='100' "
                         "viewBox='0 0 200 100'><rect x='50' y='25' width='100' height='50' "
                         "fill='black'/></svg>");
    QImage thumb = makeThumbnail(path);
    EXPECT_EQ(thumb.size(), QSize(256, 128));
    EXPECT_EQ(thumb.pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(thumb.pixel(128, 64), qRgb(0, 0, 0));
  }
  {  // broken SVG
    EXPECT_TRUE(makeThumbnail(write("broken.svg", "<svg><rect")).isNull());
  }
  {  // PDF first page: A4 portrait, black box in the middle of the first page, second page white
    QString path = dir_.filePath("doc.pdf");
    {
      QPdfWriter writer(path);
      writer.setPageSize(QPageSize(QPageSize::A4));
      QPainter painter(&writer);
      QRect page = painter.viewport();
      painter.fillRect(
          page.adjusted(page.width() / 4, page.height() / 4, -page.width() / 4, -page.height() / 4),
          Qt::black);
      writer.newPage();
    }
    QImage thumb = makeThumbnail(path);
    expectFitted(thumb, {210, 297});
    EXPECT_EQ(thumb.height(), 144);
    EXPECT_LT(qGray(thumb.pixel(thumb.width() / 2, thumb.height() / 2)), 50);
    EXPECT_GT(qGray(thumb.pixel(2, 2)), 200);
  }
  {  // empty, truncated and fake PDF files
    EXPECT_TRUE(makeThumbnail(write("empty.pdf", {})).isNull());
    QFile whole(dir_.filePath("doc.pdf"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    EXPECT_TRUE(makeThumbnail(write("cut.pdf", whole.read(200))).isNull());
    EXPECT_TRUE(makeThumbnail(write("text.pdf", "just some words\n")).isNull());
  }
}

TEST_F(ThumbnailerTest, Movies) {
  QString path = dir_.filePath("clip.mp4");
  int status =
      QProcess::execute("gst-launch-1.0", {"-q", "videotestsrc", "num-buffers=10", "!",
                                           "video/x-raw,width=640,height=360", "!", "x264enc", "!",
                                           "mp4mux", "!", "filesink", "location=" + path});
  ASSERT_EQ(status, 0);
  {  // MP4, and the same file as .MOV in capitals
    expectFitted(makeThumbnail(path), {640, 360});
    EXPECT_EQ(makeThumbnail(path).size(), QSize(256, 144));
    QString mov = dir_.filePath("clip.MOV");
    ASSERT_TRUE(QFile::copy(path, mov));
    EXPECT_EQ(makeThumbnail(mov).size(), QSize(256, 144));
  }
  {  // an empty movie file, a movie cut short (its index is written last)
    EXPECT_TRUE(makeThumbnail(write("empty.mov", {})).isNull());
    QFile whole(path);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    EXPECT_TRUE(makeThumbnail(write("cut.mp4", whole.read(whole.size() / 3))).isNull());
  }
}

TEST_F(ThumbnailerTest, GarbageGivesNull) {
  QByteArray jpeg = jpegBytes(halves({1600, 1200}));
  {  // text named as a picture, a missing file, a folder, an unknown kind, an empty box
    EXPECT_TRUE(makeThumbnail(write("text.png", "not a picture at all\n")).isNull());
    EXPECT_TRUE(makeThumbnail(dir_.filePath("missing.jpg")).isNull());
    EXPECT_TRUE(makeThumbnail(dir_.path()).isNull());
    EXPECT_TRUE(makeThumbnail(write("notes.txt", "hello\n")).isNull());
    EXPECT_TRUE(makeThumbnail(write("ok.jpg", jpeg), QSize(0, 0)).isNull());
  }
  {  // a JPEG cut inside its header gives nothing; one cut in its data still gives its top part
    EXPECT_TRUE(makeThumbnail(write("head.jpg", jpeg.left(100))).isNull());
    expectFitted(makeThumbnail(write("half.jpg", jpeg.left(jpeg.size() / 2))), {1600, 1200});
  }
}

}  // namespace
