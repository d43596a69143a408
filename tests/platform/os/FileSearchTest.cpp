// Tests of Windows masks and the folder enumeration.
#include "platform/os/FileSearch.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvex::os;
using korvex::os::filetest::TempFolder;
using korvex::os::filetest::WriteFile;

struct MaskCase {
    const char* Name;
    const char* Mask;
    bool Matches;
};

class MaskTable : public testing::TestWithParam<MaskCase> { };

TEST_P(MaskTable, MatchesAsWindowsDoes) {
    EXPECT_EQ(MatchesMask(GetParam().Name, GetParam().Mask), GetParam().Matches)
        << GetParam().Name << " ~ " << GetParam().Mask;
}

INSTANTIATE_TEST_SUITE_P(FileSearch, MaskTable,
    testing::Values(MaskCase {"FahCore_78.exe", "*.exe", true}, MaskCase {"FahCore_78.EXE", "*.exe", true},
        MaskCase {"FahCore_78.exe.bak", "*.exe", false}, MaskCase {"README", "*.*", true},
        MaskCase {"a.b.c", "*.*", true}, MaskCase {"anything", "*", true},
        MaskCase {"FahCore_a4.exe", "FahCore_??.exe", true}, MaskCase {"FahCore_a.exe", "FahCore_??.exe", false},
        MaskCase {"wudata_01.dat", "wudata_*.dat", true}, MaskCase {"wudata_01.dat", "*_*_*", false},
        MaskCase {"aaa", "*a*a*a*", true}, MaskCase {"", "*", true}, MaskCase {"client.cfg", "CLIENT.CFG", true},
        MaskCase {"client.cfg", "client.cf", false}));

TEST(FindFiles, ListsMatchingFilesSortedWithSizeAndKind) {
    TempFolder tmp;
    WriteFile(tmp / "FahCore_78.exe", "1234");
    WriteFile(tmp / "FahCore_a4.EXE", "12");
    WriteFile(tmp / "client.cfg", "x");
    std::filesystem::create_directories(tmp / "dir.exe");
    std::vector<TSearchRec> found = FindFiles(tmp / "*.exe", faArchive);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].Name, "FahCore_78.exe");
    EXPECT_EQ(found[0].Size, 4);
    EXPECT_FALSE(found[0].IsDirectory());
    EXPECT_GT(found[0].Time, 40000.0);
    EXPECT_EQ(found[1].Name, "FahCore_a4.EXE");
}

TEST(FindFiles, GivesFoldersAndHiddenEntriesOnlyWhenAskedFor) {
    TempFolder tmp;
    WriteFile(tmp / "file", "");
    WriteFile(tmp / ".hidden", "");
    std::filesystem::create_directories(tmp / "work");
    EXPECT_EQ(FindFiles(tmp / "*.*", 0).size(), 1u);
    std::vector<TSearchRec> all = FindFiles(tmp / "*.*", faAnyFile);
    ASSERT_EQ(all.size(), 3u);   // never "." and ".."
    EXPECT_EQ(all[0].Name, ".hidden");
    EXPECT_TRUE(all[0].Attr & faHidden);
    EXPECT_TRUE(all[2].IsDirectory());
    EXPECT_EQ(all[2].Size, 0);
}

TEST(FindFiles, TakesWindowsPatternsAndFindsTheFolderWithoutCase) {
    TempFolder tmp;
    std::filesystem::create_directories(tmp / "WU/work");
    WriteFile(tmp / "WU/work/wudata_01.dat", "x");
    EXPECT_EQ(FindFiles(tmp / "wu\\WORK\\*.*").size(), 1u);
    EXPECT_TRUE(FindFiles(tmp / "missing\\*.*").empty());
    EXPECT_TRUE(FindFiles(tmp / "WU\\").empty());
}

TEST(FindFirst, WalksTheEntriesAndEndsWithANonZeroResult) {
    TempFolder tmp;
    WriteFile(tmp / "a", "");
    WriteFile(tmp / "b", "");
    TSearchRec rec;
    std::vector<std::string> names;
    if (FindFirst(tmp / "*.*", faAnyFile, rec) == 0) {
        do
            names.push_back(rec.Name);
        while (FindNext(rec) == 0);
        FindClose(rec);
    }
    EXPECT_EQ(names, (std::vector<std::string> {"a", "b"}));
    EXPECT_NE(FindFirst(tmp / "*.none", faAnyFile, rec), 0);
    EXPECT_NE(FindNext(rec), 0);
}
