// Tests of the inotify watch: changes by filter, subfolders made later, a vanished folder.
#include "platform/os/DirectoryWatch.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvex::os;
using korvex::os::filetest::TempFolder;
using korvex::os::filetest::WriteFile;

namespace {
constexpr int WatchPatience = 5000;   // ms; a watch answers at once, this only bounds a broken test
constexpr int Quiet = 50;   // ms to see that nothing comes
}

TEST(DirectoryWatch, FileNameFilterSeesCreationButNotFolders) {
    TempFolder tmp;
    TDirectoryWatch watch;
    ASSERT_TRUE(watch.Open(tmp.Path(), false, FILE_NOTIFY_CHANGE_FILE_NAME));
    ::mkdir((tmp / "sub").c_str(), 0755);
    EXPECT_EQ(watch.Wait(Quiet), TWatchWait::TimedOut);
    WriteFile(tmp / "new file", "x");
    EXPECT_EQ(watch.Wait(WatchPatience), TWatchWait::Changed);
}

TEST(DirectoryWatch, SubTreeWatchesFoldersMadeLater) {
    TempFolder tmp;
    ::mkdir((tmp / "a").c_str(), 0755);
    TDirectoryWatch watch;
    ASSERT_TRUE(watch.Open(tmp.Path(), true, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME));
    WriteFile(tmp / "a/deep", "x");
    EXPECT_EQ(watch.Wait(WatchPatience), TWatchWait::Changed);
    ::mkdir((tmp / "a/b").c_str(), 0755);
    EXPECT_EQ(watch.Wait(WatchPatience), TWatchWait::Changed);
    WriteFile(tmp / "a/b/deeper", "x");
    EXPECT_EQ(watch.Wait(WatchPatience), TWatchWait::Changed);
}

TEST(DirectoryWatch, MissingFolderCannotBeOpenedAndRemovedFolderFails) {
    TempFolder tmp;
    TDirectoryWatch watch;
    EXPECT_FALSE(watch.Open(tmp / "missing", false, FILE_NOTIFY_CHANGE_FILE_NAME));
    EXPECT_FALSE(watch.IsOpen());
    ::mkdir((tmp / "gone").c_str(), 0755);
    ASSERT_TRUE(watch.Open(tmp / "gone", false, FILE_NOTIFY_CHANGE_FILE_NAME));
    ::rmdir((tmp / "gone").c_str());
    TWatchWait result = watch.Wait(WatchPatience);
    if (result == TWatchWait::Changed) result = watch.Wait(WatchPatience);   // the delete itself may come first
    EXPECT_EQ(result, TWatchWait::Failed);
    watch.Close();
    watch.Wake();   // a wake before the wait is kept, with or without a watch
    EXPECT_EQ(watch.Wait(WatchPatience), TWatchWait::Woken);
}
