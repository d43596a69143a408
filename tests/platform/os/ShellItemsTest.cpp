// Tests of the shell's file-system entries at this layer: renames that never replace, new folders, delete.
#include "platform/os/Files.h"
#include "platform/os/ShellItems.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace korvex::os;
using korvex::os::filetest::Exists;
using korvex::os::filetest::TempFolder;
using korvex::os::filetest::WriteFile;

TEST(ShellItems, RenameNoReplaceRefusesAnExistingTargetOfAnyKind) {
    TempFolder tmp;
    WriteFile(tmp / "a", "A");
    WriteFile(tmp / "b", "B");
    ::mkdir((tmp / "dir").c_str(), 0755);
    for (const char* target : {"b", "dir"}) {
        errno = 0;
        EXPECT_FALSE(RenameNoReplace(tmp / "a", tmp / target)) << target;
        EXPECT_EQ(errno, EEXIST);
    }
    EXPECT_EQ(korvex::os::filetest::ReadFile(tmp / "b"), "B");
    EXPECT_TRUE(RenameNoReplace(tmp / "a", tmp / "c"));
    EXPECT_FALSE(Exists(tmp / "a"));
    EXPECT_EQ(korvex::os::filetest::ReadFile(tmp / "c"), "A");
}

TEST(ShellItems, NewFoldersTakeTheNextFreeNumber) {
    TempFolder tmp;
    EXPECT_EQ(CreateNewFolder(tmp.Path()), "New folder");
    EXPECT_EQ(CreateNewFolder(tmp.Path()), "New folder (2)");
    WriteFile(tmp / "New folder (3)", "");
    EXPECT_EQ(CreateNewFolder(tmp.Path()), "New folder (4)");
    EXPECT_EQ(CreateNewFolder(tmp / "missing"), "");
}

TEST(ShellItems, DeleteRemovesTreesButNeverFollowsLinksOut) {
    TempFolder tmp;
    ::mkdir((tmp / "keep").c_str(), 0755);
    WriteFile(tmp / "keep/precious", "x");
    ::mkdir((tmp / "tree").c_str(), 0755);
    ::mkdir((tmp / "tree/sub").c_str(), 0755);
    WriteFile(tmp / "tree/sub/file", "x");
    ::symlink((tmp / "keep").c_str(), (tmp / "tree/out").c_str());
    EXPECT_TRUE(DeleteShellEntry(tmp / "tree"));
    EXPECT_FALSE(Exists(tmp / "tree"));
    EXPECT_TRUE(Exists(tmp / "keep/precious"));
    EXPECT_FALSE(DeleteShellEntry(tmp / "tree"));   // nothing there any more
}
