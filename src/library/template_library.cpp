#include "template_library.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

#include "app_log.h"
#include "atomic_write.h"
#include "storage_folders.h"

namespace dravin {
namespace {

inline constexpr int kRetryMs = 3000;

QString templatesFolder() {
  return storageFolders() ? storageFolders()->templates : QString();
}

// The file's bytes as JSON; throws JsonError, or std::runtime_error when it cannot be read.
JsonValue readJsonFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error(file.errorString().toStdString());
  return JsonValue::parse(file.readAll());
}

}  // namespace

TemplateLibrary::TemplateLibrary(ThumbnailService& thumbnails, QObject* parent)
    : QObject(parent), thumbnails_(thumbnails) {}

void TemplateLibrary::loadTemplates() {
  build_.reset();
  templateList_.clear();
  templateListFiltered_.clear();
  emit templateListChanged();
  emit filterChanged();
  const QString folder = templatesFolder();
  if (folder.isEmpty()) {
    logLine("NO Archive Library yet");
    emit waitingForFolder();
    QTimer::singleShot(kRetryMs, this, &TemplateLibrary::loadTemplates);
    return;
  }
  const QString listPath = folder + "templates.json";
  if (!QFileInfo::exists(listPath)) {
    logLine("templates.json File NOT exist");
    return;
  }
  readFavorites();
  try {
    templatesJson_ = readJsonFile(listPath);
  } catch (const std::exception& e) {
    logLine(QString("templates.json read error: ") + e.what());
    return;
  }
  categoryList_ = {kAll, kFavorite};
  for (const JsonValue& category : templatesJson_["categories"].arrayValue())
    categoryList_.append(category.string());
  emit filterChanged();

  QList<LibraryFilePtr> items;
  for (const JsonValue& record : templatesJson_["templates"].arrayValue()) {
    const QString key = record["url"].string();
    auto item = std::make_shared<LibraryFile>();
    item->url = folder + key;
    item->json = record;
    item->classifyFromURL();
    item->name = record["name"].string();
    item->isFavorited = favoriteTemplates_.contains(key);
    if (hasThumbnailFile(*item))
      items.append(item);
    else
      logLine("File is not exist: " + QUrl::fromLocalFile(item->url).toString());
  }
  build_ = ThumbnailedList::build(
      thumbnails_, items,
      [this](const LibraryFilePtr& item) {
        templateList_.append(item);
        emit templateListChanged();
      },
      [this] {
        templateListFiltered_ = templateList_;
        emit filterChanged();
        logLine("Total Templates in Templates: " + QString::number(templateList_.size()));
        emit templatesLoaded(static_cast<int>(templateList_.size()));
      });
}

void TemplateLibrary::readFavorites() {
  const QString path = templatesFolder() + "favorites.json";
  if (templatesFolder().isEmpty() || !QFileInfo::exists(path)) {
    logLine("favorites File NOT exist");
    return;
  }
  try {
    const JsonValue favorites = readJsonFile(path);
    favoriteTemplates_.clear();
    for (const JsonValue& name : favorites.arrayValue()) favoriteTemplates_.append(name.string());
    unreadableFavorites_ = false;
  } catch (const std::exception& e) {
    logLine(QString("favorites.json read error: ") + e.what());
    unreadableFavorites_ = true;
  }
}

void TemplateLibrary::updateFavorites() {
  const auto& folders = storageFolders();
  if (!folders || !marksChanged_) return;
  if (const auto problem = storageProblem(*folders, folders->templates)) {
    logLine(problem->text);
    emit saveFailed(problem->text, problem->folderMissing);
    return;
  }
  const QString path = folders->templates + "favorites.json";
  // A file that could not be read is kept beside the new one rather than overwritten.
  if (unreadableFavorites_) {
    QFile::remove(path + ".unreadable");
    QFile::rename(path, path + ".unreadable");
    unreadableFavorites_ = false;
  }
  QList<JsonValue> names;
  for (const LibraryFilePtr& item : templateList_)
    if (item->isFavorited) names.append(QFileInfo(item->url).fileName());
  QString error;
  try {
    error = writeFileAtomically(path, JsonValue::array(names).serialize());
  } catch (const JsonError& e) {
    error = e.what();
  }
  if (error.isEmpty()) {
    marksChanged_ = false;
    return;
  }
  logLine("update favorites.json error: " + error);
  emit saveFailed("Favorites not saved: " + error, false);
}

void TemplateLibrary::selectCategory(int index) {
  if (index < 0 || index >= categoryList_.size()) return;
  const QString category = categoryList_[index];
  setSearchText("");
  // The search field's reset deselects; the tapped chip stays highlighted with its filter.
  selectedCategory_ = category;
  if (category == kAll) {
    templateListFiltered_ = templateList_;
    logLine(QString::fromUtf8(templatesJson_.raw().dump()));
  } else if (category == kFavorite) {
    templateListFiltered_.clear();
    for (const LibraryFilePtr& item : templateList_)
      if (item->isFavorited) templateListFiltered_.append(item);
  } else {
    templateListFiltered_.clear();
    for (const LibraryFilePtr& item : templateList_) {
      for (const JsonValue& member : item->json["categories"].arrayValue()) {
        if (member.string() == category) {
          templateListFiltered_.append(item);
          break;
        }
      }
    }
  }
  emit filterChanged();
}

void TemplateLibrary::setSearchText(const QString& text) {
  if (text == searchText_) return;
  searchText_ = text;
  searchTextChanged(text);
  emit filterChanged();
}

void TemplateLibrary::searchTextChanged(const QString& text) {
  if (!text.isEmpty()) {
    templateListFiltered_.clear();
    for (const LibraryFilePtr& item : templateList_)
      if (item->json["name"].string().toLower().contains(text.toLower()))
        templateListFiltered_.append(item);
  } else if (selectedCategory_ == kNoCategory) {
    templateListFiltered_ = templateList_;
  }
  selectedCategory_ = kNoCategory;
}

void TemplateLibrary::setFavorited(const LibraryFilePtr& item, bool favorited) {
  item->isFavorited = favorited;
  marksChanged_ = true;
  emit templateListChanged();
}

}  // namespace dravin
