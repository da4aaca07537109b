#include "gif_writer.h"

#include <gif_lib.h>
#include <libimagequant.h>

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "atomic_write.h"

namespace dravin {
namespace {

// Speed 8 takes under half the time of the default (4) for about 2.4 dB of PSNR on photos;
// 7 costs nearly twice as much, 9 and 10 give the same output (bench/README.md).
constexpr int kQuantizerSpeed = 8;
constexpr float kDitheringLevel = 1.0f;
constexpr int kMaxColours = 256;
constexpr int kMaxGifSide = 65535;
constexpr int kMaxDelayCentiseconds = 65535;
// Frames decoded ahead of the writer per worker: enough to keep the workers busy, while a long
// list does not hold all its indices in memory at once.
constexpr int kLookaheadPerWorker = 2;

struct LiqAttrFree {
  void operator()(liq_attr* p) const { liq_attr_destroy(p); }
};
struct LiqImageFree {
  void operator()(liq_image* p) const { liq_image_destroy(p); }
};
struct LiqResultFree {
  void operator()(liq_result* p) const { liq_result_destroy(p); }
};
struct GifMapFree {
  void operator()(ColorMapObject* p) const { GifFreeMapObject(p); }
};
// Closing also frees; an abandoned file is closed without looking at the result.
struct GifClose {
  void operator()(GifFileType* p) const {
    int ignored = 0;
    EGifCloseFile(p, &ignored);
  }
};
using LiqAttrPtr = std::unique_ptr<liq_attr, LiqAttrFree>;
using LiqImagePtr = std::unique_ptr<liq_image, LiqImageFree>;
using LiqResultPtr = std::unique_ptr<liq_result, LiqResultFree>;
using GifMapPtr = std::unique_ptr<ColorMapObject, GifMapFree>;
using GifFilePtr = std::unique_ptr<GifFileType, GifClose>;

QSize fitted(QSize size, QSize box) {
  if (size.width() <= box.width() && size.height() <= box.height()) return size;
  return size.scaled(box, Qt::KeepAspectRatio).expandedTo({1, 1});
}

// The size the picture shows at once oriented, from its header alone; empty if unreadable.
QSize shownSize(const QString& path) {
  QImageReader reader(path);
  reader.setAutoTransform(true);
  QSize size = reader.size();
  if (!size.isValid() || size.isEmpty()) return {};
  if (reader.transformation() & QImageIOHandler::TransformationRotate90) size.transpose();
  return size;
}

// Opaque RGBA bytes as the quantizer reads them; null if the picture cannot be decoded.
QImage loadFitted(const QString& path, QSize box) {
  QImageReader reader(path);
  reader.setAutoTransform(true);
  QImage image = reader.read();
  if (image.isNull()) return {};
  QSize size = fitted(image.size(), box);
  if (size != image.size()) {
    image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGBX8888);
  // The frames carry no transparency, so see-through pixels are shown as on a white page.
  QImage opaque(image.size(), QImage::Format_RGBX8888);
  opaque.fill(Qt::white);
  QPainter painter(&opaque);
  painter.drawImage(0, 0, image);
  return opaque;
}

struct Frame {
  enum class State { Pending, Ready, Unreadable, Failed };
  State state = State::Pending;
  QSize size;
  std::vector<GifColorType> palette;
  std::vector<GifByteType> indices;
};

Frame quantize(const QImage& rgba) {
  Frame frame;
  frame.state = Frame::State::Failed;
  LiqAttrPtr attr(liq_attr_create());
  if (!attr || liq_set_speed(attr.get(), kQuantizerSpeed) != LIQ_OK ||
      liq_set_max_colors(attr.get(), kMaxColours) != LIQ_OK) {
    return frame;
  }
  const int width = rgba.width();
  const int height = rgba.height();
  std::vector<void*> rows(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    // The quantizer only reads the rows; its API is not const-correct.
    rows[static_cast<std::size_t>(y)] = const_cast<uchar*>(rgba.constScanLine(y));
  }
  LiqImagePtr image(liq_image_create_rgba_rows(attr.get(), rows.data(), width, height, 0));
  if (!image) return frame;
  liq_result* raw = nullptr;
  if (liq_image_quantize(image.get(), attr.get(), &raw) != LIQ_OK) return frame;
  LiqResultPtr result(raw);
  liq_set_dithering_level(result.get(), kDitheringLevel);
  frame.indices.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  if (liq_write_remapped_image(result.get(), image.get(), frame.indices.data(),
                               frame.indices.size()) != LIQ_OK) {
    return frame;
  }
  // The palette is read after remapping, which may still refine it.
  const liq_palette* palette = liq_get_palette(result.get());
  for (unsigned i = 0; i < palette->count; ++i) {
    frame.palette.push_back({palette->entries[i].r, palette->entries[i].g, palette->entries[i].b});
  }
  frame.size = {width, height};
  frame.state = Frame::State::Ready;
  return frame;
}

// Decodes and quantizes frames on worker threads while the caller takes them in order.
class FramePipeline {
 public:
  FramePipeline(const QStringList& paths, std::vector<bool> readable, QSize box,
                const std::atomic<bool>& cancel)
      : paths_(paths),
        readable_(std::move(readable)),
        box_(box),
        cancel_(cancel),
        frames_(static_cast<std::size_t>(paths.size())) {
    int workers = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8);
    workers = std::min(workers, static_cast<int>(paths.size()));
    window_ = workers * kLookaheadPerWorker;
    for (int i = 0; i < workers; ++i) threads_.emplace_back([this] { work(); });
  }

  ~FramePipeline() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    for (auto& thread : threads_) thread.join();
  }

  FramePipeline(const FramePipeline&) = delete;
  FramePipeline& operator=(const FramePipeline&) = delete;

  Frame take(int index) {
    std::unique_lock lock(mutex_);
    auto& slot = frames_[static_cast<std::size_t>(index)];
    changed_.wait(lock, [&] { return slot.state != Frame::State::Pending; });
    Frame frame = std::move(slot);
    slot = {};
    taken_ = index + 1;
    lock.unlock();
    changed_.notify_all();
    return frame;
  }

 private:
  void work() {
    for (;;) {
      int index = 0;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock,
                      [&] { return stop_ || next_ >= paths_.size() || next_ < taken_ + window_; });
        if (stop_ || next_ >= paths_.size()) return;
        index = next_++;
      }
      Frame frame;
      frame.state = Frame::State::Unreadable;
      if (!cancel_ && readable_[static_cast<std::size_t>(index)]) {
        QImage image = loadFitted(paths_[index], box_);
        if (!image.isNull()) frame = quantize(image);
      }
      {
        std::lock_guard lock(mutex_);
        frames_[static_cast<std::size_t>(index)] = std::move(frame);
      }
      changed_.notify_all();
    }
  }

  const QStringList& paths_;
  const std::vector<bool> readable_;
  const QSize box_;
  const std::atomic<bool>& cancel_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Frame> frames_;
  int next_ = 0;
  int taken_ = 0;
  int window_ = 1;
  bool stop_ = false;
  std::vector<std::thread> threads_;
};

int writeToDevice(GifFileType* gif, const GifByteType* data, int length) {
  auto* file = static_cast<QSaveFile*>(gif->UserData);
  return static_cast<int>(file->write(reinterpret_cast<const char*>(data), length));
}

int delayCentiseconds(double seconds) {
  if (!std::isfinite(seconds)) return 50;
  return static_cast<int>(
      std::clamp(std::lround(seconds * 100.0), 1L, long{kMaxDelayCentiseconds}));
}

bool putLoopForever(GifFileType* gif) {
  static const GifByteType kLoopForever[] = {1, 0, 0};  // sub-block 1, count 0 (little-endian)
  return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
         EGifPutExtensionBlock(gif, 3, kLoopForever) == GIF_OK &&
         EGifPutExtensionTrailer(gif) == GIF_OK;
}

bool putFrame(GifFileType* gif, const Frame& frame, QSize screen, int delay) {
  // Restoring to the background keeps a smaller next frame free of this one's border.
  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSE_BACKGROUND;
  control.UserInputFlag = false;
  control.DelayTime = delay;
  control.TransparentColor = NO_TRANSPARENT_COLOR;
  GifByteType extension[4];
  EGifGCBToExtension(&control, extension);
  if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension) != GIF_OK) {
    return false;
  }
  const int colours = static_cast<int>(frame.palette.size());
  GifMapPtr map(GifMakeMapObject(1 << GifBitSize(std::max(colours, 2)), nullptr));
  if (!map) return false;
  std::fill_n(map->Colors, map->ColorCount, GifColorType{0, 0, 0});
  std::copy(frame.palette.begin(), frame.palette.end(), map->Colors);
  const int left = (screen.width() - frame.size.width()) / 2;
  const int top = (screen.height() - frame.size.height()) / 2;
  if (EGifPutImageDesc(gif, left, top, frame.size.width(), frame.size.height(), false, map.get()) !=
      GIF_OK) {
    return false;
  }
  // giflib takes a whole image as one long line.
  return EGifPutLine(gif, const_cast<GifByteType*>(frame.indices.data()),
                     static_cast<int>(frame.indices.size())) == GIF_OK;
}

}  // namespace

std::optional<GifExportResult> writeAnimatedGif(const GifExport& job,
                                                const std::function<void(int, int)>& progress,
                                                const std::atomic<bool>& cancel, QString* error) {
  auto fail = [&](const QString& text) -> std::optional<GifExportResult> {
    if (error) *error = text;
    return std::nullopt;
  };
  const QString cancelled = QStringLiteral("The GIF export was cancelled.");
  const QString noFrames = QStringLiteral("None of the pictures could be read.");
  if (cancel) return fail(cancelled);
  const QSize box = job.frameBox;
  if (box.width() < 1 || box.height() < 1 || box.width() > kMaxGifSide ||
      box.height() > kMaxGifSide) {
    return fail(QStringLiteral("The GIF frame size is not valid."));
  }

  // The logical screen has to be known before the first frame, so it comes from the headers.
  const int total = static_cast<int>(job.framePaths.size());
  std::vector<bool> readable(static_cast<std::size_t>(total));
  QSize screen;
  for (int i = 0; i < total; ++i) {
    QSize size = shownSize(job.framePaths[i]);
    readable[static_cast<std::size_t>(i)] = !size.isEmpty();
    if (!size.isEmpty()) screen = screen.expandedTo(fitted(size, box));
  }
  if (screen.isEmpty()) return fail(noFrames);

  QSaveFile file(job.destination);
  auto cannotWrite = [&](const QString& why) {
    // The writes go in blocks far smaller than this: a disk with less room left is full.
    constexpr qint64 kNextWrites = 64 * 1024;
    const QString folder = QFileInfo(job.destination).absolutePath();
    return fail(QStringLiteral("The GIF could not be written to %1: %2")
                    .arg(job.destination, writeFailureText(folder, kNextWrites, why)));
  };
  if (!file.open(QIODevice::WriteOnly)) return cannotWrite(file.errorString());
  int gifError = 0;
  GifFilePtr gif(EGifOpen(&file, writeToDevice, &gifError));
  if (!gif) return cannotWrite(QString::fromUtf8(GifErrorString(gifError)));
  EGifSetGifVersion(gif.get(), true);
  auto gifFailure = [&] {
    QString why = file.error() != QFileDevice::NoError
                      ? file.errorString()
                      : QString::fromUtf8(GifErrorString(gif->Error));
    return cannotWrite(why);
  };
  if (EGifPutScreenDesc(gif.get(), screen.width(), screen.height(), 8, 0, nullptr) != GIF_OK ||
      !putLoopForever(gif.get())) {
    return gifFailure();
  }

  GifExportResult result;
  const int delay = delayCentiseconds(job.delaySeconds);
  {
    // Frames are taken fitted into the screen, not the box: equal for unchanged files, and a
    // file that grew since its header was read still stays inside.
    FramePipeline pipeline(job.framePaths, std::move(readable), screen, cancel);
    for (int i = 0; i < total; ++i) {
      if (cancel) return fail(cancelled);
      Frame frame = pipeline.take(i);
      if (frame.state == Frame::State::Failed) {
        return fail(QStringLiteral("A picture could not be reduced to GIF colours."));
      }
      if (frame.state == Frame::State::Unreadable) {
        ++result.framesSkipped;
      } else {
        if (!putFrame(gif.get(), frame, screen, delay)) return gifFailure();
        ++result.framesWritten;
      }
      if (progress) progress(i + 1, total);
    }
  }
  if (cancel) return fail(cancelled);
  if (result.framesWritten == 0) return fail(noFrames);

  if (EGifCloseFile(gif.release(), &gifError) != GIF_OK) {
    return cannotWrite(file.error() != QFileDevice::NoError
                           ? file.errorString()
                           : QString::fromUtf8(GifErrorString(gifError)));
  }
  // Flushed first: a buffered write's failure at commit goes unnoticed (Qt 6.4) and would put an
  // empty file in the old one's place.
  if (!file.flush() || !file.commit()) return cannotWrite(file.errorString());
  return result;
}

}  // namespace dravin
