#include "board_assets.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryFile>
#include <cstdio>

#include "atomic_write.h"
#include "pdf_document.h"

namespace dravin {

namespace {

// Larger files are no board material and would only fill the cache.
constexpr qint64 kMaxAssetBytes = 1024LL * 1024 * 1024;

const QRegularExpression& referencePattern() {
  static const QRegularExpression pattern(
      QStringLiteral("^asset:([0-9a-f]{40})\\.([a-z0-9]+)(?:#([0-9]+))?$"));
  return pattern;
}

QString sha1Hex(const QByteArray& bytes) {
  return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
}

void collect(const QJsonValue& value, QSet<QString>& found) {
  if (value.isString()) {
    const QString text = value.toString();
    if (referencePattern().match(text).hasMatch()) found.insert(text);
  } else if (value.isArray()) {
    for (const QJsonValue& element : value.toArray()) collect(element, found);
  } else if (value.isObject()) {
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) collect(it.value(), found);
  }
}

// Whether the kept file already holds the bytes: same name means same hash, so a size that
// differs can only be a damaged copy, which the new one replaces.
bool alreadyKept(const QString& target, qint64 size) {
  const QFileInfo kept(target);
  return kept.isFile() && kept.size() == size;
}

QString placeFile(const QString& temporary, const QString& target, const QString& name) {
  if (std::rename(QFile::encodeName(temporary).constData(),
                  QFile::encodeName(target).constData()) != 0) {
    return QStringLiteral("“%1” could not be kept in the board’s folder.").arg(name);
  }
  return {};
}

}  // namespace

QString AssetReference::text() const {
  QString reference = QStringLiteral("asset:") + fileName();
  if (page > 0) reference += '#' + QString::number(page);
  return reference;
}

std::optional<AssetReference> parseAssetReference(const QString& text) {
  const QRegularExpressionMatch match = referencePattern().match(text);
  if (!match.hasMatch()) return std::nullopt;
  AssetReference reference{match.captured(1), match.captured(2), 0};
  if (!kAssetExtensions.contains(reference.ext)) return std::nullopt;
  if (match.hasCaptured(3)) {
    bool ok = false;
    const int page = match.captured(3).toInt(&ok);
    if (!ok || page < 1 || reference.ext != QLatin1String("pdf")) return std::nullopt;
    reference.page = page;
  }
  return reference;
}

QSet<QString> assetReferencesIn(const QJsonValue& tree) {
  QSet<QString> found;
  collect(tree, found);
  return found;
}

QString checkAssetContent(const QString& path, const QString& ext, const QString& displayName) {
  if (ext == QLatin1String("pdf")) {
    QString error;
    if (!PdfDocument::open(path, &error)) {
      // The message names the temporary file; the user knows the file by its own name.
      return QStringLiteral("“%1” is not a PDF file that can be opened.").arg(displayName);
    }
    return {};
  }
  if (ext == QLatin1String("svg")) {
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) {
      return QStringLiteral("“%1” is not an SVG picture that can be drawn.").arg(displayName);
    }
    return {};
  }
  // The whole picture is decoded: a broken or truncated one fails here and not on the board.
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  if (reader.read().isNull()) {
    return QStringLiteral("“%1” is not a picture that can be shown.").arg(displayName);
  }
  return {};
}

QString BoardAssets::defaultFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
         QStringLiteral("/board-assets");
}

QString BoardAssets::pathOf(const QString& reference) const {
  const std::optional<AssetReference> parsed = parseAssetReference(reference);
  return parsed ? pathOf(*parsed) : QString();
}

QString BoardAssets::pathOf(const AssetReference& reference) const {
  return folder_ + '/' + reference.fileName();
}

AssetImport BoardAssets::importFile(const QString& path) const {
  const QFileInfo info(path);
  const QString ext = info.suffix().toLower();
  if (!kAssetExtensions.contains(ext)) {
    return {{},
            0,
            QStringLiteral("“%1” is not a picture or PDF file the board can show.")
                .arg(info.fileName())};
  }
  return importChecked(path, ext);
}

AssetImport BoardAssets::importPdf(const QString& path) const {
  const QFileInfo info(path);
  if (info.suffix().toLower() != QLatin1String("pdf")) {
    return {{}, 0, QStringLiteral("“%1” is not a PDF file.").arg(info.fileName())};
  }
  AssetImport imported = importChecked(path, QStringLiteral("pdf"));
  if (!imported.ok()) return imported;
  QString error;
  const std::unique_ptr<PdfDocument> document =
      PdfDocument::open(pathOf(imported.reference), &error);
  if (!document) return {{}, 0, error};
  imported.pageCount = document->pageCount();
  return imported;
}

AssetImport BoardAssets::importChecked(const QString& path, const QString& ext) const {
  const QFileInfo info(path);
  const QString name = info.fileName();
  if (!info.exists()) return {{}, 0, QStringLiteral("The file “%1” does not exist.").arg(path)};
  QFile source(path);
  if (!info.isFile() || !source.open(QIODevice::ReadOnly)) {
    return {{}, 0, QStringLiteral("The file “%1” cannot be read.").arg(name)};
  }
  if (source.size() > kMaxAssetBytes) {
    return {{}, 0, QStringLiteral("“%1” is too large for the board.").arg(name)};
  }
  if (!QDir().mkpath(folder_)) {
    return {{}, 0, QStringLiteral("The board's folder “%1” cannot be made.").arg(folder_)};
  }
  // The bytes are hashed as they are copied, and the copy is what gets checked and kept, so a
  // file changing underneath cannot slip other bytes in under the name.
  QTemporaryFile copy(folder_ + QStringLiteral("/.import-XXXXXX.") + ext);
  if (!copy.open()) {
    return {{}, 0, QStringLiteral("The board's folder “%1” cannot be written.").arg(folder_)};
  }
  QCryptographicHash hash(QCryptographicHash::Sha1);
  QByteArray chunk;
  qint64 total = 0;
  while (!(chunk = source.read(1 << 20)).isEmpty()) {
    hash.addData(chunk);
    total += chunk.size();
    if (copy.write(chunk) != chunk.size()) {
      return {{}, 0, writeFailureText(folder_, source.size(), copy.errorString())};
    }
  }
  if (source.error() != QFileDevice::NoError) {
    return {{}, 0, QStringLiteral("The file “%1” cannot be read.").arg(name)};
  }
  if (!copy.flush()) return {{}, 0, writeFailureText(folder_, total, copy.errorString())};
  copy.close();

  if (QString problem = checkAssetContent(copy.fileName(), ext, name); !problem.isEmpty()) {
    return {{}, 0, problem};
  }
  const AssetReference reference{QString::fromLatin1(hash.result().toHex()), ext, 0};
  const QString target = pathOf(reference);
  if (!alreadyKept(target, total)) {
    if (QString problem = placeFile(copy.fileName(), target, name); !problem.isEmpty()) {
      return {{}, 0, problem};
    }
    copy.setAutoRemove(false);
  }
  return {reference.text(), 0, {}};
}

AssetImport BoardAssets::importImage(const QImage& image) const {
  if (image.isNull()) return {{}, 0, QStringLiteral("There is no picture to keep.")};
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    return {{}, 0, QStringLiteral("The picture could not be made into a PNG file.")};
  }
  if (!QDir().mkpath(folder_)) {
    return {{}, 0, QStringLiteral("The board's folder “%1” cannot be made.").arg(folder_)};
  }
  const AssetReference reference{sha1Hex(bytes), QStringLiteral("png"), 0};
  const QString target = pathOf(reference);
  if (!alreadyKept(target, bytes.size())) {
    if (QString problem = writeFileAtomically(target, bytes); !problem.isEmpty()) {
      return {{}, 0, QStringLiteral("The picture could not be kept: %1").arg(problem)};
    }
  }
  return {reference.text(), 0, {}};
}

AssetListImport BoardAssets::importSlideFolder(const QString& folder) const {
  const QDir dir(folder);
  if (!dir.exists())
    return {{}, QStringLiteral("The slides folder “%1” does not exist.").arg(folder)};
  // The converter names slides so that ascending name order is slide order.
  const QStringList names =
      dir.entryList({QStringLiteral("*.png"), QStringLiteral("*.PNG")}, QDir::Files, QDir::Name);
  if (names.isEmpty()) {
    return {{}, QStringLiteral("“%1” holds no slides.").arg(dir.dirName())};
  }
  AssetListImport result;
  for (const QString& name : names) {
    AssetImport imported = importChecked(dir.filePath(name), QStringLiteral("png"));
    if (!imported.ok()) return {{}, imported.error};
    result.references.append(imported.reference);
  }
  return result;
}

}  // namespace dravin
