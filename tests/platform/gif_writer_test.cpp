#include "gif_writer.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace {

using dravin::GifExport;
using dravin::writeAnimatedGif;

struct GifRead {
  void operator()(GifFileType* p) const {
    int ignored = 0;
    DGifCloseFile(p, &ignored);
  }
};
using GifPtr = std::unique_ptr<GifFileType, GifRead>;

GifPtr readGif(const QString& path) {
  int error = 0;
  GifPtr gif(DGifOpenFileName(QFile::encodeName(path).constData(), &error));
  if (!gif || DGifSlurp(gif.get()) != GIF_OK) return nullptr;
  return gif;
}

QRgb pixelAt(const GifFileType* gif, int image, int x, int y) {
  const SavedImage& saved = gif->SavedImages[image];
  const ColorMapObject* map = saved.ImageDesc.ColorMap ? saved.ImageDesc.ColorMap : gif->SColorMap;
  const GifColorType colour = map->Colors[saved.RasterBits[y * saved.ImageDesc.Width + x]];
  return qRgb(colour.Red, colour.Green, colour.Blue);
}

GraphicsControlBlock control(GifFileType* gif, int image) {
  GraphicsControlBlock block{};
  EXPECT_EQ(DGifSavedExtensionToGCB(gif, image, &block), GIF_OK);
  return block;
}

// Loop count of the NETSCAPE2.0 block, or -1 without one.
int loopCount(const GifFileType* gif) {
  const SavedImage& first = gif->SavedImages[0];
  for (int i = 0; i + 1 < first.ExtensionBlockCount; ++i) {
    const ExtensionBlock& block = first.ExtensionBlocks[i];
    const ExtensionBlock& data = first.ExtensionBlocks[i + 1];
    if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
        std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0 && data.ByteCount == 3 &&
        data.Bytes[0] == 1) {
      return data.Bytes[1] | data.Bytes[2] << 8;
    }
  }
  return -1;
}

void expectNear(QRgb actual, QRgb expected) {
  EXPECT_NEAR(qRed(actual), qRed(expected), 8);
  EXPECT_NEAR(qGreen(actual), qGreen(expected), 8);
  EXPECT_NEAR(qBlue(actual), qBlue(expected), 8);
}

class GifWriterTest : public ::testing::Test {
 protected:
  QString picture(const QString& name, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QString path = dir_.filePath(name);
    EXPECT_TRUE(image.save(path, "PNG"));
    return path;
  }
  QString file(const QString& name, const QByteArray& bytes) {
    QString path = dir_.filePath(name);
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    return path;
  }
  QByteArray bytes(const QString& path) {
    QFile in(path);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
  }
  std::optional<dravin::GifExportResult> write(GifExport job, QString* error = nullptr) {
    if (job.destination.isEmpty()) job.destination = dir_.filePath("out.gif");
    QString ignored;
    return writeAnimatedGif(job, nullptr, cancel_, error ? error : &ignored);
  }
  QTemporaryDir dir_;
  std::atomic<bool> cancel_{false};
};

TEST_F(GifWriterTest, FramesInOrderWithDelayAndLoop) {
  GifExport job;
  job.framePaths = {picture("a.png", {64, 48}, QColor(220, 30, 30)),
                    picture("b.png", {64, 48}, QColor(30, 200, 40)),
                    picture("c.png", {64, 48}, QColor(20, 40, 230))};
  job.destination = dir_.filePath("export.gif");
  {  // three images in list order, 0.5 s each, looping forever; progress after each frame
    std::vector<std::pair<int, int>> calls;
    QString error;
    auto result = writeAnimatedGif(
        job, [&](int done, int total) { calls.emplace_back(done, total); }, cancel_, &error);
    ASSERT_TRUE(result) << error.toStdString();
    EXPECT_EQ(result->framesWritten, 3);
    EXPECT_EQ(result->framesSkipped, 0);
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
    GifPtr gif = readGif(job.destination);
    ASSERT_TRUE(gif);
    ASSERT_EQ(gif->ImageCount, 3);
    EXPECT_EQ(loopCount(gif.get()), 0);
    const QRgb colours[] = {qRgb(220, 30, 30), qRgb(30, 200, 40), qRgb(20, 40, 230)};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(gif->SavedImages[i].ImageDesc.Width, 64);
      EXPECT_EQ(gif->SavedImages[i].ImageDesc.Height, 48);
      expectNear(pixelAt(gif.get(), i, 32, 24), colours[i]);
      EXPECT_EQ(control(gif.get(), i).DelayTime, 50);
    }
  }
  {  // delays are rounded to centiseconds, and an absurd one is kept within the format
    job.delaySeconds = 0.125;
    ASSERT_TRUE(write(job));
    EXPECT_EQ(control(readGif(job.destination).get(), 2).DelayTime, 13);
    job.delaySeconds = 1e9;
    ASSERT_TRUE(write(job));
    EXPECT_EQ(control(readGif(job.destination).get(), 0).DelayTime, 65535);
  }
}

TEST_F(GifWriterTest, FramesFitTheBoxAndAreCentred) {
  {  // 3840 x 2160 fits 1280 x 720; a small frame is not enlarged but centred and cleared after
    GifExport job;
    job.framePaths = {picture("uhd.png", {3840, 2160}, Qt::darkCyan),
                      picture("small.png", {100, 60}, Qt::yellow)};
    ASSERT_TRUE(write(job));
    GifPtr gif = readGif(dir_.filePath("out.gif"));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->SWidth, 1280);
    EXPECT_EQ(gif->SHeight, 720);
    const GifImageDesc& large = gif->SavedImages[0].ImageDesc;
    EXPECT_EQ(std::make_pair(large.Width, large.Height), std::make_pair(1280, 720));
    const GifImageDesc& small = gif->SavedImages[1].ImageDesc;
    EXPECT_EQ(std::make_pair(small.Width, small.Height), std::make_pair(100, 60));
    EXPECT_EQ(std::make_pair(small.Left, small.Top), std::make_pair(590, 330));
    for (int i = 0; i < 2; ++i) EXPECT_EQ(control(gif.get(), i).DisposalMode, DISPOSE_BACKGROUND);
  }
  {  // a camera picture turned by its orientation tag is sized as shown, not as stored
    QImage stored(200, 100, QImage::Format_RGB32);
    stored.fill(Qt::blue);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(stored.save(&buffer, "JPEG"));
    // APP1 with a big-endian TIFF header and one entry: orientation 6, turn a quarter clockwise.
    const char app1[] = {'\xFF', '\xE1', 0, 34, 'E', 'x', 'i', 'f', 0, 0,    'M', 'M',
                         0,      42,     0, 0,  0,   8,   0,   1,   1, 0x12, 0,   3,
                         0,      0,      0, 1,  0,   6,   0,   0,   0, 0,    0,   0};
    jpeg.insert(2, QByteArray(app1, sizeof app1));
    GifExport job;
    job.framePaths = {file("turned.jpg", jpeg)};
    ASSERT_TRUE(write(job));
    GifPtr gif = readGif(dir_.filePath("out.gif"));
    ASSERT_TRUE(gif);
    EXPECT_EQ(std::make_pair(gif->SWidth, gif->SHeight), std::make_pair(100, 200));
    const GifImageDesc& image = gif->SavedImages[0].ImageDesc;
    EXPECT_EQ(std::make_pair(image.Width, image.Height), std::make_pair(100, 200));
  }
  {  // the screen is the largest fitted frame, not the box
    GifExport job;
    job.framePaths = {picture("portrait.png", {1080, 1920}, Qt::gray)};
    ASSERT_TRUE(write(job));
    GifPtr gif = readGif(dir_.filePath("out.gif"));
    ASSERT_TRUE(gif);
    EXPECT_EQ(std::make_pair(gif->SWidth, gif->SHeight), std::make_pair(405, 720));
  }
}

TEST_F(GifWriterTest, UnreadableFramesCancelAndFailures) {
  const QString good = picture("good.png", {32, 32}, Qt::red);
  const QString text = file("notes.png", "not a picture at all");
  QByteArray png = bytes(good);
  const QString truncated = file("truncated.png", png.left(png.size() / 2));
  const QString missing = dir_.filePath("missing.png");
  const QString destination = file("keep.gif", "earlier bytes");
  auto expectUntouched = [&] {
    EXPECT_EQ(bytes(destination), QByteArray("earlier bytes"));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), 4) << "no temporary file left";
  };
  {  // text named .png, a cut-off file and a missing file are skipped and counted
    GifExport job{{text, good, truncated, missing}, dir_.filePath("some.gif")};
    auto result = write(job);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->framesWritten, 1);
    EXPECT_EQ(result->framesSkipped, 3);
    GifPtr gif = readGif(job.destination);
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->ImageCount, 1);
    QFile::remove(job.destination);
  }
  {  // nothing readable, or nothing at all: an error, and the destination keeps its bytes
    QString error;
    EXPECT_FALSE(write({{text, truncated, missing}, destination}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(write({{}, destination}, &error));
    expectUntouched();
  }
  {  // cancelled from the start, or after the first frame
    cancel_ = true;
    QString error;
    EXPECT_FALSE(write({{good}, destination}, &error));
    EXPECT_FALSE(error.isEmpty());
    cancel_ = false;
    GifExport job{{good, good, good}, destination};
    EXPECT_FALSE(writeAnimatedGif(
        job, [&](int, int) { cancel_ = true; }, cancel_, &error));
    expectUntouched();
    cancel_ = false;
  }
  {  // a destination that cannot be written, an empty frame box
    QString error;
    EXPECT_FALSE(write({{good}, dir_.filePath("no/such/folder/out.gif")}, &error));
    EXPECT_TRUE(error.contains("no/such/folder")) << error.toStdString();
    GifExport job{{good}, destination};
    job.frameBox = {0, 720};
    EXPECT_FALSE(write(job, &error));
    expectUntouched();
  }
}

}  // namespace
