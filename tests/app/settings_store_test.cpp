#include "settings_store.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>

#include "test_support.h"

using namespace dravin;

namespace {

// Settings as a previous run left them; an empty value means the key is absent.
void storeSettings(const QVariantMap& values) {
  QSettings settings(QStringLiteral("Pelora"), QStringLiteral("Dravin"));
  settings.clear();
  for (auto it = values.begin(); it != values.end(); ++it) settings.setValue(it.key(), it.value());
  settings.sync();
}

QString configFileText() {
  QFile file(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Pelora/Dravin.conf");
  file.open(QIODevice::ReadOnly);
  return QString::fromUtf8(file.readAll());
}

}  // namespace

TEST(SettingsStore, ResolutionRule) {
  EXPECT_TRUE(resolutionFlagsFor("1080P@30fps").useFullHD);
  EXPECT_FALSE(resolutionFlagsFor("1080P@30fps").useUltraHD);
  EXPECT_TRUE(resolutionFlagsFor("4K@30fps").useUltraHD);
  EXPECT_FALSE(resolutionFlagsFor("4K@30fps").useFullHD);
  EXPECT_FALSE(resolutionFlagsFor("720P@30fps").useFullHD);
  EXPECT_FALSE(resolutionFlagsFor("720P@30fps").useUltraHD);
}

TEST(SettingsStore, FirstStartAsksForAFolderLater) {
  storeSettings({});
  SettingsStore store;
  QSignalSpy chooser(&store, &SettingsStore::folderChooserRequested);
  QSignalSpy granted(&store, &SettingsStore::folderGranted);
  testing::internal::CaptureStdout();
  store.restoreSettings();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "No Access yet\n");
  EXPECT_FALSE(store.offlineMode());
  EXPECT_EQ(store.resolution(), "1080P@30fps");
  EXPECT_TRUE(store.resolutionFlags().useFullHD);
  EXPECT_EQ(chooser.count(), 0) << "not before the window is up";
  EXPECT_TRUE(chooser.wait(SettingsStore::kChooserDelayMs + 2000));
  EXPECT_EQ(granted.count(), 0);
}

TEST(SettingsStore, RestoresStoredValuesAndFolder) {
  test::TempDir storage;
  storeSettings({{"bookmark_offline", true},
                 {"bookmark_resolution", "4K@30fps"},
                 {"bookmark_folder", QString::fromStdString(storage.path().string())}});
  SettingsStore store;
  QSignalSpy granted(&store, &SettingsStore::folderGranted);
  testing::internal::CaptureStdout();
  store.restoreSettings();
  std::string log = testing::internal::GetCapturedStdout();
  EXPECT_EQ(log, "offlineMode: true\nResolution: 4K@30fps\nRead Permission Root: " +
                     storage.path().string() + "\n");
  EXPECT_TRUE(store.offlineMode());
  EXPECT_TRUE(store.resolutionFlags().useUltraHD);
  ASSERT_EQ(granted.count(), 1);
  EXPECT_EQ(granted.at(0).at(0).toString().toStdString(), storage.path().string());
}

TEST(SettingsStore, VanishedFolderAsksAgain) {
  std::string gone;
  {
    test::TempDir storage;
    gone = storage.path().string();
  }
  storeSettings({{"bookmark_folder", QString::fromStdString(gone)}, {"bookmark_offline", "maybe"}});
  SettingsStore store;
  QSignalSpy chooser(&store, &SettingsStore::folderChooserRequested);
  QSignalSpy granted(&store, &SettingsStore::folderGranted);
  testing::internal::CaptureStdout();
  store.restoreSettings();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Bookmark Access isSlate\n")
      << "a value that is no boolean is not read";
  EXPECT_TRUE(chooser.wait(SettingsStore::kChooserDelayMs + 2000));
  EXPECT_EQ(granted.count(), 0);
}

TEST(SettingsStore, ChangesArePersistedAtOnce) {
  storeSettings({});
  test::TempDir storage;
  SettingsStore store;
  QSignalSpy granted(&store, &SettingsStore::folderGranted);
  testing::internal::CaptureStdout();
  store.storeFolderGrant(QUrl::fromLocalFile(QString::fromStdString(storage.path().string())));
  store.setOfflineMode(true);
  store.setResolution("720P@30fps");
  store.storeFolderGrant(QUrl::fromLocalFile("/no/such/folder"));
  std::string log = testing::internal::GetCapturedStdout();
  EXPECT_EQ(log, "Save Permission Root: " + storage.path().string() +
                     "\nOfflineMode: true\nError storing bookmarks\n");
  EXPECT_EQ(granted.count(), 1);
  EXPECT_FALSE(store.resolutionFlags().useFullHD);

  QString file = configFileText();
  EXPECT_TRUE(file.contains("bookmark_folder=" + QString::fromStdString(storage.path().string()))) << file.toStdString();
  EXPECT_TRUE(file.contains("bookmark_offline=true")) << file.toStdString();
  EXPECT_TRUE(file.contains("bookmark_resolution=720P@30fps")) << file.toStdString();

  SettingsStore next;  // what the next run reads
  QSignalSpy nextGranted(&next, &SettingsStore::folderGranted);
  testing::internal::CaptureStdout();
  next.restoreSettings();
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(next.resolution(), "720P@30fps");
  EXPECT_EQ(nextGranted.count(), 1);
}
