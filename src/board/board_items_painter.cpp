#include "board_items_painter.h"

#include <QBuffer>
#include <QDomDocument>
#include <QFile>
#include <QFontMetricsF>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <algorithm>
#include <functional>
#include <optional>

#include "board_assets.h"
#include "pdf_document.h"

namespace dravin {

namespace {

const QString kXlink = QStringLiteral("http://www.w3.org/1999/xlink");
const QString kTextIdPrefix = QStringLiteral("dravin-text-");
// A PDF page placed as an item is drawn this wide: sharp on a printed page, small in memory.
constexpr int kItemPdfWidth = 1600;
// Text is laid out at this size and scaled, as QtSvg does: small sizes keep their proportions.
constexpr int kLayoutPixelSize = 100;
// SVG's initial font size, "medium".
constexpr double kDefaultFontSize = 16;

QString dataAddress(const AssetReference& reference, const QString& assetFolder) {
  const QString path = assetFolder + '/' + reference.fileName();
  QByteArray bytes;
  QString mime;
  if (reference.ext == QLatin1String("pdf")) {
    const std::unique_ptr<PdfDocument> document = PdfDocument::open(path);
    const int index = std::max(reference.page, 1) - 1;
    if (!document || index >= document->pageCount()) return {};
    const QImage image = document->renderPage(index, kItemPdfWidth);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG")) return {};
    mime = QStringLiteral("image/png");
  } else {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    bytes = file.readAll();
    mime = reference.ext == QLatin1String("svg") ? QStringLiteral("image/svg+xml")
                                                 : QStringLiteral("image/") + reference.ext;
  }
  return QStringLiteral("data:%1;base64,%2").arg(mime, QString::fromLatin1(bytes.toBase64()));
}

void rewriteImages(QDomDocument& svg, const QString& assetFolder, QStringList* missing) {
  const QDomNodeList images = svg.elementsByTagName(QStringLiteral("image"));
  QList<QDomElement> dropped;
  for (int i = 0; i < images.count(); ++i) {
    QDomElement image = images.at(i).toElement();
    QString href = image.attributeNS(kXlink, QStringLiteral("href"));
    if (href.isEmpty()) href = image.attribute(QStringLiteral("xlink:href"));
    if (href.isEmpty()) href = image.attribute(QStringLiteral("href"));
    image.removeAttribute(QStringLiteral("href"));
    image.removeAttribute(QStringLiteral("xlink:href"));
    image.removeAttributeNS(kXlink, QStringLiteral("href"));
    QString address;
    if (href.startsWith(QLatin1String("asset:"))) {
      if (const std::optional<AssetReference> reference = parseAssetReference(href)) {
        address = dataAddress(*reference, assetFolder);
      }
      if (address.isEmpty() && missing) missing->append(href);
    } else if (href.startsWith(QLatin1String("data:"))) {
      address = href;
    }
    // Anything else would have QtSvg read a file of the computer into the export.
    if (address.isEmpty()) {
      dropped.append(image);
      continue;
    }
    image.setAttributeNS(kXlink, QStringLiteral("xlink:href"), address);
  }
  for (QDomElement& image : dropped) image.parentNode().removeChild(image);
}

// QtSvg knows neither rgba() nor #rgba / #rrggbbaa (it reads #aarrggbb), which the page's
// translucent ink may use: the colour keeps its alpha as an opacity of its own.
void splitTranslucentColours(QDomDocument& svg) {
  static const QRegularExpression rgba(
      QStringLiteral("^rgba\\(\\s*([\\d.]+%?)\\s*,\\s*([\\d.]+%?)\\s*,\\s*([\\d.]+%?)\\s*,\\s*(["
                     "\\d.]+%?)\\s*\\)$"));
  static const QRegularExpression hexAlpha(QStringLiteral("^#([0-9a-fA-F]{6})([0-9a-fA-F]{2})$"));
  static const QRegularExpression shortHexAlpha(QStringLiteral("^#([0-9a-fA-F]{3})([0-9a-fA-F])$"));
  QList<QDomElement> all;
  std::function<void(const QDomElement&)> collect = [&](const QDomElement& element) {
    all.append(element);
    for (QDomElement child = element.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
      collect(child);
    }
  };
  collect(svg.documentElement());
  for (QDomElement& element : all) {
    for (const QString& paint : QStringList{QStringLiteral("fill"), QStringLiteral("stroke")}) {
      const QString value = element.attribute(paint).trimmed();
      QString solid;
      double alpha = 1;
      if (const QRegularExpressionMatch m = rgba.match(value); m.hasMatch()) {
        solid = QStringLiteral("rgb(%1,%2,%3)").arg(m.captured(1), m.captured(2), m.captured(3));
        const QString a = m.captured(4);
        alpha = a.endsWith('%') ? a.chopped(1).toDouble() / 100 : a.toDouble();
      } else if (const QRegularExpressionMatch h = hexAlpha.match(value); h.hasMatch()) {
        solid = '#' + h.captured(1);
        alpha = h.captured(2).toInt(nullptr, 16) / 255.0;
      } else if (const QRegularExpressionMatch h4 = shortHexAlpha.match(value); h4.hasMatch()) {
        solid = '#' + h4.captured(1);
        alpha = h4.captured(2).toInt(nullptr, 16) / 15.0;
      } else if (value == QLatin1String("transparent")) {
        solid = QStringLiteral("none");
      } else {
        continue;
      }
      element.setAttribute(paint, solid);
      const QString opacityName = paint + QStringLiteral("-opacity");
      const double own =
          element.hasAttribute(opacityName) ? element.attribute(opacityName).toDouble() : 1.0;
      element.setAttribute(opacityName, QString::number(qBound(0.0, own * alpha, 1.0)));
    }
  }
}

// <text a><tspan x y b>one</tspan><tspan x y>two</tspan></text> becomes
// <text a x y b>one</text><text a x y>two</text>.
void splitPositionedTspans(QDomDocument& svg) {
  const QDomNodeList texts = svg.elementsByTagName(QStringLiteral("text"));
  QList<QDomElement> originals;
  for (int i = 0; i < texts.count(); ++i) originals.append(texts.at(i).toElement());
  for (QDomElement& text : originals) {
    bool positioned = false;
    for (QDomElement span = text.firstChildElement(QStringLiteral("tspan")); !span.isNull();
         span = span.nextSiblingElement(QStringLiteral("tspan"))) {
      positioned = positioned || span.hasAttribute(QStringLiteral("x")) ||
                   span.hasAttribute(QStringLiteral("y"));
    }
    if (!positioned) continue;
    QDomNode parent = text.parentNode();
    for (QDomNode child = text.firstChild(); !child.isNull(); child = child.nextSibling()) {
      QDomElement line = svg.createElement(QStringLiteral("text"));
      const QDomNamedNodeMap own = text.attributes();
      for (int a = 0; a < own.count(); ++a) {
        const QDomAttr attribute = own.item(a).toAttr();
        line.setAttribute(attribute.name(), attribute.value());
      }
      QString words;
      if (child.isElement() && child.toElement().tagName() == QLatin1String("tspan")) {
        const QDomNamedNodeMap spans = child.attributes();
        for (int a = 0; a < spans.count(); ++a) {
          const QDomAttr attribute = spans.item(a).toAttr();
          line.setAttribute(attribute.name(), attribute.value());
        }
        words = child.toElement().text();
      } else if (child.isText()) {
        words = child.toText().data();
        if (words.trimmed().isEmpty()) continue;
      } else {
        continue;
      }
      line.appendChild(svg.createTextNode(words));
      parent.insertBefore(line, text);
    }
    parent.removeChild(text);
  }
}

// The attribute on the element or the nearest ancestor that has it: SVG's inheritance for the
// presentation attributes the page writes.
QString inherited(const QDomElement& element, const QString& name) {
  for (QDomNode node = element; node.isElement(); node = node.parentNode()) {
    const QDomElement at = node.toElement();
    if (at.hasAttribute(name)) return at.attribute(name).trimmed();
  }
  return {};
}

double number(const QString& text, double fallback) {
  static const QRegularExpression leading(
      QStringLiteral("^[-+]?(\\d+\\.?\\d*|\\.\\d+)([eE][-+]?\\d+)?"));
  const QRegularExpressionMatch match = leading.match(text.trimmed());
  return match.hasMatch() ? match.captured(0).toDouble() : fallback;
}

std::optional<QColor> colourOf(const QString& text) {
  if (text.isEmpty()) return QColor(Qt::black);
  if (text == QLatin1String("none") || text == QLatin1String("transparent")) return std::nullopt;
  static const QRegularExpression rgb(QStringLiteral(
      "^rgba?\\(\\s*([\\d.]+)\\s*,\\s*([\\d.]+)\\s*,\\s*([\\d.]+)\\s*(?:,\\s*([\\d.]+)\\s*)?\\)$"));
  if (const QRegularExpressionMatch match = rgb.match(text); match.hasMatch()) {
    QColor colour(qBound(0, qRound(match.captured(1).toDouble()), 255),
                  qBound(0, qRound(match.captured(2).toDouble()), 255),
                  qBound(0, qRound(match.captured(3).toDouble()), 255));
    if (match.hasCaptured(4)) colour.setAlphaF(qBound(0.0f, match.captured(4).toFloat(), 1.0f));
    return colour;
  }
  const QColor colour = QColor::fromString(text);
  return colour.isValid() ? colour : QColor(Qt::black);
}

QFont fontOf(const QDomElement& text) {
  QFont font;
  QStringList families;
  for (QString family : inherited(text, QStringLiteral("font-family")).split(',')) {
    family = family.trimmed().remove('"').remove('\'');
    if (!family.isEmpty()) families.append(family);
  }
  if (families.isEmpty()) families.append(QStringLiteral("sans-serif"));
  font.setFamilies(families);
  font.setStyleHint(families.contains(QLatin1String("monospace")) ? QFont::Monospace
                    : families.contains(QLatin1String("serif"))   ? QFont::Serif
                                                                  : QFont::SansSerif);
  font.setPixelSize(kLayoutPixelSize);
  const QString weight = inherited(text, QStringLiteral("font-weight"));
  if (weight == QLatin1String("bold") || weight == QLatin1String("bolder")) {
    font.setWeight(QFont::Bold);
  } else if (number(weight, 0) >= 100) {
    font.setWeight(static_cast<QFont::Weight>(qBound(100, qRound(number(weight, 400)), 900)));
  }
  const QString style = inherited(text, QStringLiteral("font-style"));
  font.setItalic(style == QLatin1String("italic") || style == QLatin1String("oblique"));
  return font;
}

QString wordsOf(const QDomElement& text) {
  QString words = text.text();
  words.replace('\n', ' ').replace('\t', ' ').replace('\r', ' ');
  if (inherited(text, QStringLiteral("xml:space")) != QLatin1String("preserve")) {
    words = words.simplified();
  }
  return words;
}

void drawText(QPainter& painter, const QDomElement& text, const QTransform& placement) {
  const QString words = wordsOf(text);
  const std::optional<QColor> fill = colourOf(inherited(text, QStringLiteral("fill")));
  if (words.isEmpty() || !fill) return;
  double opacity = number(inherited(text, QStringLiteral("fill-opacity")), 1);
  for (QDomNode node = text; node.isElement(); node = node.parentNode()) {
    opacity *= number(node.toElement().attribute(QStringLiteral("opacity")), 1);
  }
  const double size = number(inherited(text, QStringLiteral("font-size")), kDefaultFontSize);
  if (size <= 0) return;
  const QFont font = fontOf(text);
  double x = number(text.attribute(QStringLiteral("x")), 0);
  const double y = number(text.attribute(QStringLiteral("y")), 0);
  const double scale = size / kLayoutPixelSize;
  const QString anchor = inherited(text, QStringLiteral("text-anchor"));
  if (anchor == QLatin1String("middle") || anchor == QLatin1String("end")) {
    const double width = QFontMetricsF(font).horizontalAdvance(words) * scale;
    x -= anchor == QLatin1String("middle") ? width / 2 : width;
  }
  painter.save();
  painter.setWorldTransform(placement, true);
  painter.translate(x, y);
  painter.scale(scale, scale);
  painter.setOpacity(painter.opacity() * qBound(0.0, opacity, 1.0));
  painter.setFont(font);
  painter.setPen(*fill);
  painter.drawText(QPointF(0, 0), words);
  painter.restore();
}

QList<QDomElement> textsIn(const QDomElement& element) {
  QList<QDomElement> texts;
  if (element.tagName() == QLatin1String("text")) {
    texts.append(element);
    return texts;
  }
  const QDomNodeList found = element.elementsByTagName(QStringLiteral("text"));
  for (int i = 0; i < found.count(); ++i) texts.append(found.at(i).toElement());
  return texts;
}

}  // namespace

QByteArray prepareItemsSvg(const QString& svg, const QString& assetFolder, QStringList* missing) {
  QDomDocument document;
  if (!document.setContent(svg, true)) return {};
  rewriteImages(document, assetFolder, missing);
  splitPositionedTspans(document);
  splitTranslucentColours(document);
  return document.toByteArray(-1);
}

bool paintItemsSvg(QPainter& painter, const QRectF& target, const QString& svg,
                   const QString& assetFolder, QStringList* missing) {
  if (svg.trimmed().isEmpty()) return true;
  QDomDocument document;
  if (!document.setContent(prepareItemsSvg(svg, assetFolder, missing), true)) return false;
  QDomElement root = document.documentElement();
  if (root.tagName() != QLatin1String("svg")) return false;
  const QList<QDomElement> texts = textsIn(root);
  if (texts.isEmpty()) {
    QSvgRenderer renderer(document.toByteArray(-1));
    if (!renderer.isValid()) return false;
    renderer.render(&painter, target);
    return true;
  }
  // Each text gets a name, so QtSvg can tell the transform it would have drawn it with.
  for (int i = 0; i < texts.size(); ++i) {
    QDomElement text = texts[i];
    text.setAttribute(QStringLiteral("id"), kTextIdPrefix + QString::number(i));
  }
  const QSvgRenderer whole(document.toByteArray(-1));
  if (!whole.isValid()) return false;
  const QRectF viewBox =
      whole.viewBoxF().isEmpty() ? QRectF(QPointF(0, 0), whole.defaultSize()) : whole.viewBoxF();
  if (viewBox.isEmpty()) return false;
  QTransform toTarget;
  toTarget.translate(target.x(), target.y());
  toTarget.scale(target.width() / viewBox.width(), target.height() / viewBox.height());
  toTarget.translate(-viewBox.x(), -viewBox.y());

  // Runs of items without text go through QtSvg, texts between them through the painter, so
  // what lies over what stays as on the page.
  QDomElement run = root.cloneNode(false).toElement();
  auto flush = [&] {
    if (run.firstChild().isNull()) return;
    QDomDocument part;
    part.appendChild(part.importNode(run, true));
    QSvgRenderer renderer(part.toByteArray(-1));
    renderer.setViewBox(viewBox);
    renderer.render(&painter, target);
    run = root.cloneNode(false).toElement();
  };
  for (QDomNode child = root.firstChild(); !child.isNull(); child = child.nextSibling()) {
    if (!child.isElement()) continue;
    const QList<QDomElement> inside = textsIn(child.toElement());
    if (inside.isEmpty()) {
      run.appendChild(child.cloneNode(true));
      continue;
    }
    QDomElement rest = child.cloneNode(true).toElement();
    for (const QDomElement& text : textsIn(rest)) {
      if (text == rest) break;
      text.parentNode().removeChild(text);
    }
    if (rest.tagName() != QLatin1String("text")) run.appendChild(rest);
    flush();
    for (const QDomElement& text : inside) {
      const QTransform placement =
          whole.transformForElement(text.attribute(QStringLiteral("id"))) * toTarget;
      drawText(painter, text, placement);
    }
  }
  flush();
  return true;
}

}  // namespace dravin
