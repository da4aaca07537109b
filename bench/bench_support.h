#pragma once
// Shared by the benchmark programs: CPU time, and the sensor noise their test pictures carry.

#include <sys/resource.h>

#include <QImage>
#include <QRandomGenerator>
#include <QRect>
#include <algorithm>

namespace bench {

// User plus system seconds of this process (RUSAGE_SELF) or of its waited-for children.
inline double cpuSeconds(int who = RUSAGE_SELF) {
  rusage usage{};
  getrusage(who, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Adds to each pixel of `area` one grey offset in [-spread/2, spread - spread/2), drawn row by
// row from `random`, so a seeded generator gives the same picture every run. Noise is what
// makes a synthetic picture cost what a camera's does to compress.
inline void addSensorNoise(QImage& image, const QRect& area, int spread, QRandomGenerator& random) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = area.left(); x <= area.right(); ++x) {
      const int n = static_cast<int>(random.bounded(spread)) - spread / 2;
      row[x] = qRgb(std::clamp(qRed(row[x]) + n, 0, 255), std::clamp(qGreen(row[x]) + n, 0, 255),
                    std::clamp(qBlue(row[x]) + n, 0, 255));
    }
  }
}

}  // namespace bench
