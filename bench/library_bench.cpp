// The library scan under measurement, for bench/library.sh.
//
//   library_bench generate FOLDER COUNT   COUNT 4000 x 3000 photos (JPEG, quality 90) in FOLDER
//   library_bench library FOLDER COUNT    FileLibrary's scan of a library holding those photos
//   library_bench loop FOLDER COUNT       makeThumbnail over them, one after another
//
// Measuring modes print "seconds_per_photo S" (wall), "cpu_seconds_per_photo S", "listed N"
// and "peak_rss_mb M".
#include <gst/gst.h>
#include <sys/resource.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "thumbnailer.h"
#ifndef DRAVIN_BENCH_LOOP_ONLY
#include "file_library.h"
#include "storage_folders.h"
#include "thumbnail_service.h"
#endif
#include "bench_support.h"

namespace {

constexpr int kBases = 8;  // distinct pictures; every other photo is a base with its own comment

QString photoPath(const QString& folder, int index) {
  return QString("%1/photo-%2.jpg").arg(folder).arg(index, 5, 10, QChar('0'));
}

// Photo-like: soft gradients, shapes and text, with sensor-like noise so JPEG has detail to code.
QImage basePicture(int seed) {
  QRandomGenerator random(static_cast<quint32>(seed + 1));
  QImage image(4000, 3000, QImage::Format_RGB32);
  QPainter painter(&image);
  QLinearGradient sky(0, 0, 0, 3000);
  sky.setColorAt(0, QColor::fromHsv(random.bounded(360), 120, 230));
  sky.setColorAt(1, QColor::fromHsv(random.bounded(360), 160, 90));
  painter.fillRect(image.rect(), sky);
  painter.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < 60; ++i) {
    QRadialGradient blob(random.bounded(4000), random.bounded(3000), 100 + random.bounded(600));
    QColor colour = QColor::fromHsv(random.bounded(360), 80 + random.bounded(170), 255);
    blob.setColorAt(0, colour);
    colour.setAlpha(0);
    blob.setColorAt(1, colour);
    painter.setBrush(blob);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(blob.center(), blob.radius(), blob.radius());
  }
  painter.setPen(Qt::black);
  painter.setFont(QFont("sans", 60));
  for (int line = 0; line < 20; ++line) {
    painter.drawText(200, 200 + line * 130,
                     QString("Worksheet line %1, picture %2").arg(line).arg(seed));
  }
  painter.end();
  bench::addSensorNoise(image, image.rect(), 17, random);
  return image;
}

// A few distinct pictures, then copies that differ by a JPEG comment, so every file is its own.
int generate(const QString& folder, int count) {
  QDir().mkpath(folder);
  QList<QByteArray> bases;
  for (int i = 0; i < std::min(count, kBases); ++i) {
    QString path = photoPath(folder, i);
    if (!basePicture(i).save(path, "JPEG", 90)) return 1;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 1;
    bases.append(file.readAll());
  }
  for (int i = kBases; i < count; ++i) {
    QByteArray comment = QString("photo %1").arg(i).toLatin1();
    QByteArray segment("\xFF\xFE", 2);
    segment.append(char((comment.size() + 2) >> 8)).append(char((comment.size() + 2) & 0xFF));
    segment.append(comment);
    QByteArray bytes = bases[i % kBases];
    bytes.insert(2, segment);
    QFile file(photoPath(folder, i));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return 1;
  }
  return 0;
}

// User + system time of all threads, in seconds.
// Wall and CPU time since the start, per photo.
struct Clock {
  QElapsedTimer wall;
  double cpu = 0;
  void start() {
    wall.start();
    cpu = bench::cpuSeconds();
  }
};

void report(const Clock& clock, int photos, int listed) {
  double wall = static_cast<double>(clock.wall.nsecsElapsed()) / 1e9;
  double cpu = bench::cpuSeconds() - clock.cpu;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("seconds_per_photo %.5f\n", wall / photos);
  std::printf("cpu_seconds_per_photo %.5f\n", cpu / photos);
  std::printf("listed %d\n", listed);
  std::printf("peak_rss_mb %.1f\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
}

int loop(const QString& folder, int count) {
  Clock clock;
  clock.start();
  int made = 0;
  for (int i = 0; i < count; ++i) {
    if (!dravin::makeThumbnail(photoPath(folder, i)).isNull()) ++made;
  }
  report(clock, count, made);
  return 0;
}

#ifndef DRAVIN_BENCH_LOOP_ONLY
// The photos are linked into a fresh storage tree, so the scan sees a library of COUNT photos.
int library(const QString& folder, int count) {
  QTemporaryDir storage;
  if (!storage.isValid()) return 1;
  dravin::storageFolders() = dravin::StorageFolders::under(storage.path());
  QString libraryFolder = dravin::storageFolders()->library;
  QDir().mkpath(libraryFolder);
  for (int i = 0; i < count; ++i) {
    QString photo = photoPath(folder, i);
    if (!QFile::link(photo, libraryFolder + QFileInfo(photo).fileName())) return 1;
  }
  dravin::ThumbnailService thumbnails;
  dravin::FileLibrary files(thumbnails);
  Clock clock;
  int listed = -1;
  QObject::connect(&files, &dravin::FileLibrary::libraryLoaded, [&](int n) {
    listed = n;
    report(clock, count, listed);
    QCoreApplication::quit();
  });
  // Time enough for any sane library; a scan that never ends is reported, not waited for.
  QTimer::singleShot(std::max(600, count) * 1000, [] {
    std::fprintf(stderr, "library_bench: the scan did not finish\n");
    QCoreApplication::exit(1);
  });
  clock.start();
  files.loadLibraryFiles();
  int status = QCoreApplication::exec();
  return status != 0 ? status : listed == count ? 0 : 2;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  gst_init(&argc, &argv);
  QGuiApplication application(argc, argv);
  QStringList args = application.arguments();
  if (args.size() != 4) {
    std::fprintf(stderr, "usage: library_bench generate|library|loop FOLDER COUNT\n");
    return 64;
  }
  QString mode = args[1];
  QString folder = args[2];
  int count = args[3].toInt();
  if (mode == "generate") return generate(folder, count);
  if (mode == "loop") return loop(folder, count);
#ifndef DRAVIN_BENCH_LOOP_ONLY
  if (mode == "library") return library(folder, count);
#endif
  std::fprintf(stderr, "library_bench: unknown mode %s\n", qPrintable(mode));
  return 64;
}
