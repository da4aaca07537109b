#include "board_exporter.h"

#include <fcntl.h>
#include <unistd.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>
#include <cstdio>

#include "app_identity.h"
#include "atomic_write.h"
#include "board_page_painter.h"

namespace dravin {

namespace {

// Device units of the PDF writer: fine enough that nothing placed on the page moves visibly.
constexpr int kPdfResolution = 1200;
constexpr int kMaxPngSide = 16384;

QSizeF pageSizeOf(const QJsonObject& document) {
  return {document.value(QStringLiteral("width")).toDouble(),
          document.value(QStringLiteral("height")).toDouble()};
}

QJsonArray pagesOf(const QJsonObject& document) {
  return document.value(QStringLiteral("pages")).toArray();
}

QString checkInput(const BoardExportInput& input) {
  const QSizeF size = pageSizeOf(input.document);
  if (!(size.width() > 0 && size.height() > 0 && std::isfinite(size.width()) &&
        std::isfinite(size.height()))) {
    return QStringLiteral("The board has no page size.");
  }
  if (pagesOf(input.document).isEmpty()) return QStringLiteral("The board has no pages.");
  if (input.pageSvgs.size() != pagesOf(input.document).size()) {
    return QStringLiteral("The board's pages and their drawings do not match.");
  }
  return {};
}

QString exportFailure(const QString& why) {
  return QStringLiteral("The board could not be exported: %1").arg(why);
}

}  // namespace

QString exportBoardPdf(const BoardExportInput& input, const QString& path,
                       const std::function<void(int, int)>& progress,
                       const std::atomic<bool>* cancelled) {
  if (QString problem = checkInput(input); !problem.isEmpty()) return exportFailure(problem);
  const QSizeF board = pageSizeOf(input.document);
  const QJsonArray pages = pagesOf(input.document);
  const double longest = std::max(board.width(), board.height());
  const QSizeF paperMm(kExportLongSideMm * board.width() / longest,
                       kExportLongSideMm * board.height() / longest);

  const QString folder = QFileInfo(path).absolutePath();
  const QString temporary = siblingWorkPath(path, QStringLiteral("export"));
  QFile file(temporary);
  if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
    return exportFailure(writeFailureText(folder, 0, file.errorString()));
  }
  auto abandon = [&](const QString& why) {
    file.close();
    QFile::remove(temporary);
    return exportFailure(why);
  };

  QString problem;
  bool stopped = false;
  {
    QPdfWriter writer(&file);
    writer.setCreator(QStringLiteral("Pelora Dravin ") + runningVersion());
    writer.setResolution(kPdfResolution);
    writer.setPageSize(QPageSize(paperMm, QPageSize::Millimeter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer)) return abandon(QStringLiteral("the PDF could not be started."));
    const int total = static_cast<int>(pages.size());
    for (int i = 0; i < total; ++i) {
      if (cancelled && cancelled->load()) {
        stopped = true;
        break;
      }
      if (i > 0) writer.newPage();
      const QRectF target(0, 0, writer.width(), writer.height());
      problem = paintBoardPage(painter, target, pages.at(i).toObject(), board, input.pageSvgs.at(i),
                               input.assetFolder, input.livePicture);
      if (!problem.isEmpty()) break;
      if (progress) progress(i + 1, total);
    }
    painter.end();
  }
  if (stopped) return abandon(QStringLiteral("it was cancelled."));
  if (!problem.isEmpty()) return abandon(problem);
  if (file.error() != QFileDevice::NoError || !file.flush()) {
    return abandon(writeFailureText(folder, file.size(), file.errorString()));
  }
  if (::fsync(file.handle()) != 0) {
    return abandon(
        writeFailureText(folder, file.size(), QStringLiteral("it could not be written")));
  }
  file.close();
  if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) !=
      0) {
    QFile::remove(temporary);
    return exportFailure(QStringLiteral("“%1” could not be replaced.").arg(path));
  }
  return {};
}

QString exportBoardPng(const BoardExportInput& input, int pageIndex, const QString& path,
                       QSize pixelSize) {
  const QSizeF board = pageSizeOf(input.document);
  const QJsonArray pages = pagesOf(input.document);
  if (!(board.width() > 0 && board.height() > 0)) {
    return exportFailure(QStringLiteral("The board has no page size."));
  }
  if (pageIndex < 0 || pageIndex >= pages.size() || pageIndex >= input.pageSvgs.size()) {
    return exportFailure(QStringLiteral("there is no page %1.").arg(pageIndex + 1));
  }
  if (pixelSize.height() <= 0 && pixelSize.width() > 0) {
    pixelSize.setHeight(std::max(
        1, static_cast<int>(std::lround(pixelSize.width() * board.height() / board.width()))));
  }
  if (pixelSize.width() <= 0 || pixelSize.width() > kMaxPngSide ||
      pixelSize.height() > kMaxPngSide) {
    return exportFailure(QStringLiteral("the picture size is not possible."));
  }
  QImage image(pixelSize, QImage::Format_RGB32);
  if (image.isNull()) return exportFailure(QStringLiteral("there is not enough memory."));
  image.fill(Qt::white);
  QPainter painter(&image);
  const QString problem = paintBoardPage(
      painter, QRectF(QPointF(0, 0), QSizeF(pixelSize)), pages.at(pageIndex).toObject(), board,
      input.pageSvgs.at(pageIndex), input.assetFolder, input.livePicture);
  painter.end();
  if (!problem.isEmpty()) return exportFailure(problem);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG"))
    return exportFailure(QStringLiteral("the PNG could not be made."));
  if (QString error = writeFileAtomically(path, png); !error.isEmpty()) return exportFailure(error);
  return {};
}

QImage renderBoardThumbnail(const QJsonObject& document, const QString& firstPageSvg,
                            const QString& assetFolder, const QImage& livePicture, int width) {
  const QSizeF board = pageSizeOf(document);
  const QJsonArray pages = pagesOf(document);
  if (pages.isEmpty() || !(board.width() > 0 && board.height() > 0) || width <= 0) return {};
  const int height = std::clamp(
      static_cast<int>(std::lround(width * board.height() / board.width())), 1, 4 * width);
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  // A thumbnail with a missing picture is still the best one there is.
  paintBoardPage(painter, QRectF(0, 0, width, height), pages.at(0).toObject(), board, firstPageSvg,
                 assetFolder, livePicture);
  return image;
}

}  // namespace dravin
