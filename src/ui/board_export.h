#pragma once

#include <QImage>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace dravin {

// The thumbnail kept in the board file at `boardPath`, as a PNG file in `cacheFolder` made once
// per version of the board; empty when the board has none.
QString boardThumbnailFile(const QString& boardPath, const QString& cacheFolder);

// Writes `pages` of `document` (with their items' SVG in `pageSvgs`, in the same order) to
// `path`: a PDF of them all, or, for a ".png" path, a picture of the first. Returns an error
// text, empty on success. Blocks: run it off the main thread; `progress` is called from there.
QString exportBoardFile(const QString& path, const QJsonObject& document, const QList<int>& pages,
                        const QStringList& pageSvgs, const QString& assetFolder,
                        const QImage& picture, const std::function<void(int, int)>& progress);

}  // namespace dravin
