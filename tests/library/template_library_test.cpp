#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>

#include "library_fixture.h"
#include "template_library.h"
#include "thumbnail_service.h"

using namespace dravin;

namespace {

const char* kCatalogue = R"({
  "categories": ["Math", "Music"],
  "templates": [
    {"url": "graph.png", "name": "Graph grid", "categories": ["Math"]},
    {"url": "staff.png", "name": "Music staff", "categories": ["Music", "math"]},
    {"url": "plain.png", "name": "Plain page"},
    {"url": "sub/deep.png", "name": "Deep one", "categories": ["Math"]},
    {"url": "missing.png", "name": "Not there", "categories": ["Math"]}
  ]
})";

QStringList names(const QList<LibraryFilePtr>& list) {
  QStringList result;
  for (const LibraryFilePtr& item : list) result.append(item->name);
  return result;
}

struct Templates {
  test::StorageTree tree;
  ThumbnailService thumbnails;
  QString folder = tree.folders.templates;

  Templates() {
    QDir().mkpath(folder + "sub");
    for (const char* name : {"graph.png", "staff.png", "plain.png", "sub/deep.png"})
      test::writePicture(folder + name);
    test::writeText(folder + "templates.json", kCatalogue);
  }

  // A fresh panel's list, loaded to the end.
  std::unique_ptr<TemplateLibrary> load() {
    auto library = std::make_unique<TemplateLibrary>(thumbnails);
    QSignalSpy loaded(library.get(), &TemplateLibrary::templatesLoaded);
    library->loadTemplates();
    if (!loaded.wait(10000)) ADD_FAILURE() << "templates not loaded";
    return library;
  }
};

}  // namespace

TEST(TemplateLibrary, ChipsAndSearch) {
  Templates templates;
  auto library = templates.load();
  const QStringList all{"Graph grid", "Music staff", "Plain page", "Deep one"};
  EXPECT_EQ(library->categoryList(), (QStringList{"All", "Favorite", "Math", "Music"}));
  EXPECT_EQ(names(library->templateListFiltered()), all);
  {  // a chip matches its name exactly; a record without categories is under no chip
    library->selectCategory(2);
    EXPECT_EQ(names(library->templateListFiltered()), (QStringList{"Graph grid", "Deep one"}));
    EXPECT_EQ(library->selectedCategory(), "Math");
  }
  {  // typing searches names case-insensitively and deselects the chip
    library->setSearchText("GRID");
    EXPECT_EQ(names(library->templateListFiltered()), QStringList{"Graph grid"});
    EXPECT_EQ(library->selectedCategory(), "NONE");
    library->setSearchText("");
    EXPECT_EQ(names(library->templateListFiltered()), all);
  }
  {  // a chip tapped while a search is typed clears it and keeps both filter and highlight
    library->setSearchText("music");
    library->selectCategory(3);
    EXPECT_EQ(library->searchText(), "");
    EXPECT_EQ(library->selectedCategory(), "Music");
    EXPECT_EQ(names(library->templateListFiltered()), QStringList{"Music staff"});
    library->selectCategory(0);
    EXPECT_EQ(names(library->templateListFiltered()), all);
  }
}

TEST(TemplateLibrary, FavouritesRoundTrip) {
  Templates templates;
  {
    auto library = templates.load();
    for (const LibraryFilePtr& item : library->templateList())
      if (item->name != "Music staff") library->setFavorited(item, true);
    library->selectCategory(1);
    EXPECT_EQ(names(library->templateListFiltered()),
              (QStringList{"Graph grid", "Plain page", "Deep one"}));
    library->updateFavorites();
  }
  EXPECT_EQ(test::readText(templates.folder + "favorites.json"),
            R"(["graph.png","plain.png","deep.png"])");
  auto reopened = templates.load();
  reopened->selectCategory(1);
  // The one under a folder is kept by its file name only, so it does not come back.
  EXPECT_EQ(names(reopened->templateListFiltered()), (QStringList{"Graph grid", "Plain page"}));
}

TEST(TemplateLibrary, BrokenFilesAreReportedAndKept) {
  Templates templates;
  {  // favourites that cannot be read are not overwritten by a panel that changed nothing
    test::writeText(templates.folder + "favorites.json", "[\"graph.png\", ");
    auto library = templates.load();
    EXPECT_TRUE(library->favoriteTemplates().isEmpty());
    library->updateFavorites();
    EXPECT_EQ(test::readText(templates.folder + "favorites.json"), "[\"graph.png\", ");
    // A mark the user sets is saved; the unreadable file is kept beside it.
    library->setFavorited(library->templateList().first(), true);
    library->updateFavorites();
    EXPECT_EQ(test::readText(templates.folder + "favorites.json"), R"(["graph.png"])");
    EXPECT_EQ(test::readText(templates.folder + "favorites.json.unreadable"), "[\"graph.png\", ");
  }
  {  // a catalogue that is not JSON lists nothing and is left as it is
    test::writeText(templates.folder + "templates.json", "{\"templates\": [");
    TemplateLibrary library(templates.thumbnails);
    QSignalSpy loaded(&library, &TemplateLibrary::templatesLoaded);
    library.loadTemplates();
    EXPECT_FALSE(loaded.wait(500));
    EXPECT_TRUE(library.templateList().isEmpty());
    EXPECT_EQ(test::readText(templates.folder + "templates.json"), "{\"templates\": [");
  }
}
