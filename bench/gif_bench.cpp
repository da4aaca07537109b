// The GIF writer under measurement, for bench/gif.sh.
//
//   gif_bench generate FOLDER COUNT WIDTH HEIGHT   COUNT photo-like PNG frames f01.png... in FOLDER
//   gif_bench encode OUT.gif FRAME...              writeAnimatedGif, 0.5 s, box 1280 x 720
//   gif_bench decode FRAME...                      reading and fitting into 1280 x 720 alone
//   gif_bench psnr GIF FRAME...                    each decoded GIF frame against its source
//
// encode prints "seconds S", "cpu_seconds S", "frames_written N"; decode prints
// "decode_ms_per_frame", "scale_ms_per_frame"; psnr prints "frames N", "mean_psnr_db D",
// "min_psnr_db D".
#include <sys/resource.h>

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "bench_support.h"
#include "gif_writer.h"

namespace {

const QSize kBox{1280, 720};

// A scene like a document camera's: a lit desk with soft shading, coloured objects, a printed
// page, and sensor noise. Frames look at it from slowly moving positions, as a series of
// snapshots does, so neighbouring frames are alike but not equal.
QImage scene(QSize size) {
  QRandomGenerator random(7);
  QImage image(size * 2, QImage::Format_RGB32);
  QPainter painter(&image);
  QLinearGradient desk(0, 0, image.width(), image.height());
  desk.setColorAt(0, QColor(168, 128, 92));
  desk.setColorAt(1, QColor(92, 64, 44));
  painter.fillRect(image.rect(), desk);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  for (int i = 0; i < 80; ++i) {
    QRadialGradient blob(random.bounded(image.width()), random.bounded(image.height()),
                         40 + random.bounded(300));
    QColor colour =
        QColor::fromHsv(random.bounded(360), 60 + random.bounded(190), 90 + random.bounded(165));
    blob.setColorAt(0, colour);
    colour.setAlpha(0);
    blob.setColorAt(1, colour);
    painter.setBrush(blob);
    painter.drawEllipse(blob.center(), blob.radius(), blob.radius());
  }
  QRect page(image.width() / 4, image.height() / 5, image.width() / 3, image.height() * 3 / 5);
  painter.setBrush(QColor(242, 240, 232));
  painter.drawRect(page);
  painter.setPen(QColor(30, 30, 40));
  painter.setFont(QFont("sans", size.height() / 40));
  QString text =
      "Photosynthesis turns light, water and carbon dioxide into sugar and oxygen. "
      "Leaves hold chlorophyll, which absorbs red and blue light and reflects green. ";
  painter.drawText(page.adjusted(30, 30, -30, -30), Qt::TextWordWrap, text.repeated(6));
  painter.end();
  bench::addSensorNoise(image, image.rect(), 13, random);
  return image;
}

int generate(const QString& folder, int count, QSize size) {
  QDir().mkpath(folder);
  QImage world = scene(size);
  for (int i = 0; i < count; ++i) {
    double t = count > 1 ? static_cast<double>(i) / (count - 1) : 0;
    QPoint origin(static_cast<int>(t * size.width() * 0.8),
                  static_cast<int>((0.5 - 0.5 * std::cos(t * 3.14159)) * size.height() * 0.6));
    QImage frame = world.copy(QRect(origin, size));
    QString path = QString("%1/f%2.png").arg(folder).arg(i + 1, 2, 10, QChar('0'));
    if (!frame.save(path, "PNG")) return 1;
  }
  return 0;
}

int encode(const QString& out, const QStringList& frames) {
  dravin::GifExport job{frames, out};
  std::atomic<bool> cancel{false};
  QString error;
  QElapsedTimer wall;
  wall.start();
  double cpu = bench::cpuSeconds();
  auto result = dravin::writeAnimatedGif(job, nullptr, cancel, &error);
  if (!result) {
    std::fprintf(stderr, "gif_bench: %s\n", qPrintable(error));
    return 1;
  }
  std::printf("seconds %.4f\n", static_cast<double>(wall.nsecsElapsed()) / 1e9);
  std::printf("cpu_seconds %.4f\n", bench::cpuSeconds() - cpu);
  std::printf("frames_written %d\n", result->framesWritten);
  return 0;
}

int decode(const QStringList& frames) {
  double decodeNs = 0;
  double scaleNs = 0;
  for (const QString& path : frames) {
    QElapsedTimer clock;
    clock.start();
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    decodeNs += static_cast<double>(clock.nsecsElapsed());
    if (image.isNull()) return 1;
    clock.start();
    QSize size = image.size().boundedTo(kBox) == image.size()
                     ? image.size()
                     : image.size().scaled(kBox, Qt::KeepAspectRatio);
    QImage fitted = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                        .convertToFormat(QImage::Format_RGBX8888);
    scaleNs += static_cast<double>(clock.nsecsElapsed());
  }
  auto n = static_cast<double>(frames.size());
  std::printf("decode_ms_per_frame %.2f\n", decodeNs / 1e6 / n);
  std::printf("scale_ms_per_frame %.2f\n", scaleNs / 1e6 / n);
  return 0;
}

// PSNR over the three colour channels; sources larger than the box are compared fitted.
double psnr(const QImage& decoded, QImage source) {
  if (source.size() != decoded.size()) {
    source = source.scaled(decoded.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  QImage a = decoded.convertToFormat(QImage::Format_RGB32);
  QImage b = source.convertToFormat(QImage::Format_RGB32);
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    auto* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    auto* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    for (int x = 0; x < a.width(); ++x) {
      int dr = qRed(la[x]) - qRed(lb[x]);
      int dg = qGreen(la[x]) - qGreen(lb[x]);
      int db = qBlue(la[x]) - qBlue(lb[x]);
      sum += dr * dr + dg * dg + db * db;
    }
  }
  double mse = sum / (3.0 * a.width() * a.height());
  return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

int compare(const QString& gif, const QStringList& frames) {
  // Qt's GIF reader composes each frame onto the canvas, as a viewer shows it.
  QImageReader reader(gif, "gif");
  double total = 0;
  double lowest = 1e9;
  int count = 0;
  for (const QString& path : frames) {
    QImage shown = reader.read();
    QImage source(path);
    if (shown.isNull() || source.isNull()) break;
    double value = psnr(shown, source);
    total += value;
    lowest = std::min(lowest, value);
    ++count;
  }
  if (count != frames.size()) {
    std::fprintf(stderr, "gif_bench: %s has %d of %lld frames\n", qPrintable(gif), count,
                 static_cast<long long>(frames.size()));
    return 1;
  }
  std::printf("frames %d\n", count);
  std::printf("mean_psnr_db %.3f\n", total / count);
  std::printf("min_psnr_db %.3f\n", lowest);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  QStringList args = application.arguments().mid(1);
  QString mode = args.value(0);
  if (mode == "generate" && args.size() == 5) {
    return generate(args[1], args[2].toInt(), {args[3].toInt(), args[4].toInt()});
  }
  if (mode == "encode" && args.size() >= 3) return encode(args[1], args.mid(2));
  if (mode == "decode" && args.size() >= 2) return decode(args.mid(1));
  if (mode == "psnr" && args.size() >= 3) return compare(args[1], args.mid(2));
  std::fprintf(stderr,
               "usage: gif_bench generate FOLDER COUNT WIDTH HEIGHT | encode OUT.gif FRAME... | "
               "decode FRAME... | psnr GIF FRAME...\n");
  return 64;
}
