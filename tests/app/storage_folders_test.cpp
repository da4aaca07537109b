#include "storage_folders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace dravin;

// A granted folder that is gone stops every save and is never made again; a folder below it that
// was removed is made again; once the granted folder is back, saving works without a restart.
TEST(StorageFolders, ProblemBeforeSaving) {
  QTemporaryDir temp;
  ASSERT_TRUE(temp.isValid());
  const QString granted = temp.path() + "/stick/Lessons";
  ASSERT_TRUE(QDir().mkpath(granted));
  const StorageFolders folders = StorageFolders::under(granted);

  {  // nothing below the granted folder yet: the tree is made down to the folder asked for
    EXPECT_FALSE(storageProblem(folders, folders.images));
    EXPECT_TRUE(QFileInfo(folders.images).isDir());
  }
  {  // the whole storage tree removed by hand
    ASSERT_TRUE(QDir(folders.root).removeRecursively());
    EXPECT_FALSE(storageProblem(folders, folders.videos));
    EXPECT_TRUE(QFileInfo(folders.videos).isDir());
  }
  {  // the stick pulled: its mount point is not made again, and the text names the folder
    ASSERT_TRUE(QDir().rename(temp.path() + "/stick", temp.path() + "/away"));
    const auto problem = storageProblem(folders, folders.images);
    ASSERT_TRUE(problem);
    EXPECT_TRUE(problem->folderMissing);
    EXPECT_EQ(problem->text, "The storage folder " + granted +
                                 " is missing. Plug it in again, or choose another folder.");
    EXPECT_FALSE(QFileInfo::exists(granted));
    EXPECT_FALSE(QFileInfo::exists(temp.path() + "/stick"));
  }
  {  // plugged in again: no state was kept from the failure
    ASSERT_TRUE(QDir().rename(temp.path() + "/away", temp.path() + "/stick"));
    EXPECT_FALSE(storageProblem(folders, folders.images));
  }
  {  // a file where a folder of the tree belongs: reported, not a missing storage folder
    ASSERT_TRUE(QDir(folders.root).removeRecursively());
    QFile blocker(granted + "/Nolbek");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const auto problem = storageProblem(folders, folders.images);
    ASSERT_TRUE(problem);
    EXPECT_FALSE(problem->folderMissing);
    EXPECT_EQ(problem->text, "The folder " + granted + "/Nolbek could not be created.");
  }
}
