#pragma once

#include <QImage>
#include <QJsonObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

namespace dravin {

// Exports of a board document. Every function here is blocking and may run on a worker thread
// (QtConcurrent): it reads only what it is given and the asset files. While one runs, the GUI
// thread must not delete or rewrite files in the asset folder (no clean-up of unused assets),
// and must not write to `path`; the input is copied, so the board may go on changing.

struct BoardExportInput {
  QJsonObject document;  // the page's serialize() result
  QStringList pageSvgs;  // the page's pageSvg(i) for every page, in order
  QString assetFolder;
  QImage livePicture;  // the camera picture for live pages ('none'); null draws them white
};

// The long side of an exported PDF page; the short side follows the board's aspect.
inline constexpr double kExportLongSideMm = 297;

// One PDF page per board page, with the board's aspect ratio; typed text stays text. Written to
// a temporary file beside `path` and renamed into place. `progress` (may be empty) is told
// (pages done, pages in all) after each page; a set `cancelled` stops between pages and leaves
// no file. Returns an error text, empty on success.
QString exportBoardPdf(const BoardExportInput& input, const QString& path,
                       const std::function<void(int done, int total)>& progress = {},
                       const std::atomic<bool>* cancelled = nullptr);

// Page `pageIndex` (0-based) as a PNG of `pixelSize`; a height of 0 or less follows the page's
// aspect. Written atomically. Returns an error text, empty on success.
QString exportBoardPng(const BoardExportInput& input, int pageIndex, const QString& path,
                       QSize pixelSize);

// The first page `width` pixels wide, for the list of boards; null when the document has no
// page. Missing assets are drawn as white paper.
QImage renderBoardThumbnail(const QJsonObject& document, const QString& firstPageSvg,
                            const QString& assetFolder, const QImage& livePicture, int width = 320);

}  // namespace dravin
