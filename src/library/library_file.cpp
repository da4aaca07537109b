#include "library_file.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <array>

#include "app_log.h"
#include "folder_listing.h"

namespace dravin {
namespace {

QString lastComponent(const QString& path) {
  QString trimmed = path;
  while (trimmed.size() > 1 && trimmed.endsWith('/')) trimmed.chop(1);
  return trimmed.mid(trimmed.lastIndexOf('/') + 1);
}

QString extensionOf(const QString& path) {
  const QString last = lastComponent(path);
  const qsizetype dot = last.lastIndexOf('.');
  return dot <= 0 ? QString() : last.mid(dot + 1).toUpper();
}

template <std::size_t N>
bool extensionIn(const QString& path, const std::array<const char*, N>& extensions) {
  const QString extension = extensionOf(path);
  return std::any_of(extensions.begin(), extensions.end(),
                     [&](const char* e) { return extension == QLatin1String(e); });
}

// The first entry name of a folder in plain ascending order, hidden entries included.
QString firstEntry(const QString& folder) {
  QStringList names =
      QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  if (names.isEmpty()) return {};
  return *std::min_element(names.begin(), names.end());
}

}  // namespace

QString folderPath(const QString& path) {
  return path.endsWith('/') ? path : path + '/';
}

QString firstSlideOf(const QString& folder) {
  const QString first = firstEntry(folder);
  return first.isEmpty() ? QString() : folderPath(folder) + first;
}

void LibraryFile::classifyFromURL() {
  const bool isFolder = QFileInfo(url).isDir();
  const QString last = lastComponent(url);
  const qsizetype dot = last.lastIndexOf('.');
  name = isFolder || dot <= 0 ? last : last.left(dot);

  static const std::array<std::pair<const char*, LibraryFileType>, 8> kKnown{{
      {"PNG", LibraryFileType::PNG},
      {"JPG", LibraryFileType::JPG},
      {"GIF", LibraryFileType::GIF},
      {"JPEG", LibraryFileType::JPEG},
      {"SVG", LibraryFileType::SVG},
      {"MP4", LibraryFileType::MP4},
      {"MOV", LibraryFileType::MOV},
      {"PDF", LibraryFileType::PDF},
  }};
  const QString extension = extensionOf(url);
  for (const auto& [known, knownType] : kKnown) {
    if (extension == QLatin1String(known)) {
      type = knownType;
      thumbnail = url;
      return;
    }
  }
  if (!isFolder) {
    type = LibraryFileType::unknown;
    thumbnail = url;
    return;
  }
  type = LibraryFileType::PPT;
  const QString first = firstSlideOf(url);
  if (!first.isEmpty()) thumbnail = first;
}

LibraryFilePtr classifiedFile(const QString& path) {
  auto item = std::make_shared<LibraryFile>();
  item->url = path;
  item->classifyFromURL();
  return item;
}

std::optional<QList<LibraryFilePtr>> readLibraryFolder(const QString& folder,
                                                       const std::optional<QString>& secondFolder) {
  try {
    QList<LibraryFilePtr> items;
    for (const QString& path :
         listFolderSortedByDate(folder, DateKey::contentModification, false, true, secondFolder))
      items.append(classifiedFile(path));
    return items;
  } catch (const FolderListingError&) {
    logLine(" Failed to read directory – bad permissions, perhaps? ");
    return std::nullopt;
  }
}

bool isImageFile(const QString& path) {
  return extensionIn(path, std::array{"PNG", "JPG", "GIF", "PDF", "SVG", "JPEG"});
}

bool isPresentationFile(const QString& path) {
  return extensionIn(path, std::array{"PPT", "PPTX", "KEY"});
}

}  // namespace dravin
