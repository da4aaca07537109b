#pragma once

#include <QImage>
#include <QJsonObject>
#include <QPainter>
#include <QRectF>
#include <QSizeF>
#include <QString>

namespace dravin {

// The page's own colours and patterns (docs/board-items.md), in page pixels from the page's top
// left corner.
namespace board_paper {
inline const QColor kWhite{0xff, 0xff, 0xff};
inline const QColor kChalkboard{0x1f, 0x2b, 0x27};
inline constexpr double kSquare = 28;       // squared: a line at the top and left of each square
inline constexpr double kRuleSpacing = 36;  // ruled: a line at the bottom of each band
inline constexpr double kMarginLeft = 79;   // ruled: the red margin, 2 px wide
inline constexpr double kDotSpacing = 24;   // dotted: a dot in the middle of each cell
inline constexpr double kDotRadius = 1.45;
}  // namespace board_paper

// Pictures of PDF pages for print are drawn at about this many dots per inch of the paper.
inline constexpr double kPrintDpi = 200;

// Draws one board page into `target` (device coordinates of `painter`, whose transform is left
// as it is): the background, then the page's items from `itemsSvg` (the page's pageSvg()).
// `page` is one entry of the document's "pages", `pageSize` the document's width and height.
// Blocking and free of shared state: callable from any thread, one painter per thread.
// Returns an error naming what could not be drawn (a missing asset), empty when all was drawn.
QString paintBoardPage(QPainter& painter, const QRectF& target, const QJsonObject& page,
                       const QSizeF& pageSize, const QString& itemsSvg, const QString& assetFolder,
                       const QImage& livePicture);

}  // namespace dravin
