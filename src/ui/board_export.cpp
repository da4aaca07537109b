#include "board_export.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QJsonArray>

#include "board_exporter.h"
#include "board_file.h"

namespace dravin {

namespace {
// A PNG of a page as large as the screen it was drawn on, at least Full HD.
constexpr int kPngWidth = 1920;
}  // namespace

QString boardThumbnailFile(const QString& boardPath, const QString& cacheFolder) {
  const QFileInfo board(boardPath);
  const QByteArray key = (board.absoluteFilePath() + QLatin1Char('|') +
                          QString::number(board.lastModified().toMSecsSinceEpoch()) +
                          QLatin1Char('|') + QString::number(board.size()))
                             .toUtf8();
  const QString path =
      cacheFolder + QLatin1Char('/') +
      QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex()) +
      QStringLiteral(".png");
  if (QFileInfo::exists(path)) return path;
  const QImage thumbnail = readBoardThumbnail(boardPath);
  if (thumbnail.isNull() || !thumbnail.save(path, "PNG")) return {};
  return path;
}

QString exportBoardFile(const QString& path, const QJsonObject& document, const QList<int>& pages,
                        const QStringList& pageSvgs, const QString& assetFolder,
                        const QImage& picture, const std::function<void(int, int)>& progress) {
  BoardExportInput input{document, {}, assetFolder, picture};
  if (QFileInfo(path).suffix().toLower() == QLatin1String("png")) {
    if (pages.isEmpty() || pageSvgs.isEmpty()) return QStringLiteral("The board has no page.");
    const int page = pages.first();
    const qsizetype count = document.value(QStringLiteral("pages")).toArray().size();
    for (qsizetype i = 0; i < count; ++i)
      input.pageSvgs.append(i == page ? pageSvgs.first() : QString());
    return exportBoardPng(input, page, path, QSize(kPngWidth, 0));
  }
  input.pageSvgs = pageSvgs;
  return exportBoardPdf(input, path, progress);
}

}  // namespace dravin
