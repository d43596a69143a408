// Tests of the shell's file-system entries: stat, listing with flags, links and loops, new folders, delete.
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

namespace {

std::vector<std::string> Names(const std::string& folder, unsigned flags) {
    std::vector<TShellEntry> entries;
    EXPECT_TRUE(ListShellEntries(folder, flags, entries));
    std::vector<std::string> names;
    for (auto& e : entries)
        names.push_back(e.Name);
    return names;
}

}

TEST(ShellItems, ListingAdmitsFoldersFilesAndHiddenByFlags) {
    TempFolder tmp;
    WriteFile(tmp / "b file.txt", "12345");
    WriteFile(tmp / ".hidden", "");
    ::mkdir((tmp / "a dir").c_str(), 0755);
    ::symlink("a dir", (tmp / "link to dir").c_str());
    ::symlink("loop", (tmp / "loop").c_str());   // a link to itself
    struct Case {
        unsigned Flags;
        std::vector<std::string> Expected;
    } cases[] = {
        {slFolders, {"a dir", "link to dir"}},
        {slNonFolders, {"b file.txt", "loop"}},
        {slFolders | slNonFolders | slHidden, {".hidden", "a dir", "b file.txt", "link to dir", "loop"}},
        {slHidden, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Names(tmp.Path(), c.Flags), c.Expected) << c.Flags;
}

TEST(ShellItems, StatTellsLinksFoldersSizesAndSurvivesALoop) {
    TempFolder tmp;
    WriteFile(tmp / "five", "12345");
    ::symlink("five", (tmp / "to five").c_str());
    ::symlink("loop", (tmp / "loop").c_str());
    TShellEntry entry;
    ASSERT_TRUE(StatShellEntry(tmp / "to five", entry));
    EXPECT_TRUE(entry.IsLink);
    EXPECT_FALSE(entry.IsFolder);
    EXPECT_EQ(entry.Size, 5);
    ASSERT_TRUE(StatShellEntry(tmp / "loop", entry));
    EXPECT_TRUE(entry.IsLink);
    EXPECT_FALSE(entry.IsFolder);
    ASSERT_TRUE(StatShellEntry(tmp.Path() + "/", entry));
    EXPECT_TRUE(entry.IsFolder);
    EXPECT_FALSE(StatShellEntry(tmp / "missing", entry));
}

TEST(ShellItems, HasShellEntriesSeesOnlyWhatTheFlagsAdmit) {
    TempFolder tmp;
    WriteFile(tmp / "file", "");
    EXPECT_FALSE(HasShellEntries(tmp.Path(), slFolders));
    EXPECT_TRUE(HasShellEntries(tmp.Path(), slNonFolders));
    ::mkdir((tmp / ".sub").c_str(), 0755);
    EXPECT_FALSE(HasShellEntries(tmp.Path(), slFolders));
    EXPECT_TRUE(HasShellEntries(tmp.Path(), slFolders | slHidden));
    EXPECT_FALSE(HasShellEntries(tmp / "missing", slFolders | slNonFolders));
}

TEST(ShellItems, UnreadableFolderCannotBeListed) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every folder";
    TempFolder tmp;
    ::mkdir((tmp / "closed").c_str(), 0);
    std::vector<TShellEntry> entries;
    EXPECT_FALSE(ListShellEntries(tmp / "closed", slFolders | slNonFolders, entries));
    TShellEntry entry;
    ASSERT_TRUE(StatShellEntry(tmp / "closed", entry));
    EXPECT_FALSE(entry.Readable);
    ::chmod((tmp / "closed").c_str(), 0755);
}

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

TEST(ShellItems, JoinUsesOneSlash) {
    EXPECT_EQ(JoinShellPath("/", "a"), "/a");
    EXPECT_EQ(JoinShellPath("/x", "a"), "/x/a");
    EXPECT_EQ(JoinShellPath("/x/", "a b"), "/x/a b");
}
