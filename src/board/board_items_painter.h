#pragma once

#include <QByteArray>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QStringList>

namespace dravin {

// Draws the page's items (its pageSvg(), an SVG whose viewBox is the page) into `target` of
// `painter`, in document order. Shapes and pictures go through QtSvg; typed text is drawn by the
// painter itself, so that it stays text in a PDF (QtSvg turns text into outlines). "asset:"
// pictures are drawn from `assetFolder`; pictures that cannot be had are added to `missing`.
// False when the SVG cannot be read; an empty SVG draws nothing and succeeds.
bool paintItemsSvg(QPainter& painter, const QRectF& target, const QString& svg,
                   const QString& assetFolder, QStringList* missing);

// `svg` ready for QtSvg: "asset:" pictures become data: addresses of the asset's bytes (a PDF
// page drawn to a picture), any other outside address is dropped, and each positioned <tspan>
// becomes a <text> of its own. Empty when `svg` is not XML.
QByteArray prepareItemsSvg(const QString& svg, const QString& assetFolder, QStringList* missing);

}  // namespace dravin
