// Tests of the node path mapping, name splitting and case-insensitive resolution.
#include "platform/os/Paths.h"
#include "platform/os/ProgramFolder.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvex::os;
using korvex::os::filetest::EnvOverride;
using korvex::os::filetest::SandboxedEnvironment;
using korvex::os::filetest::TempFolder;
using korvex::os::filetest::WriteFile;

struct MapCase {
    const char* Input;
    const char* Expected;
};

class MapPathTable : public testing::TestWithParam<MapCase> { };

TEST_P(MapPathTable, MapsWindowsFormsAndLeavesLinuxPaths) {
    EnvOverride root("KORVEX_UNC_ROOT", "/mnt/unc");
    EXPECT_EQ(MapPath(GetParam().Input), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, MapPathTable,
    testing::Values(MapCase {"\\\\box\\fah\\FAHlog.txt", "/mnt/unc/box/fah/FAHlog.txt"},
        MapCase {"\\\\box", "/mnt/unc/box"}, MapCase {"\\\\box\\share\\", "/mnt/unc/box/share/"},
        MapCase {"/home/me/fah", "/home/me/fah"}, MapCase {"/opt/korvex\\KORVEX.exe", "/opt/korvex/KORVEX.exe"},
        MapCase {"WU\\WU3\\client.cfg", "WU/WU3/client.cfg"}, MapCase {"", ""}));

TEST(MapPath, UsesNetAsTheDefaultUncRoot) {
    EnvOverride root("KORVEX_UNC_ROOT", std::nullopt);
    EXPECT_EQ(MapPath("\\\\host\\c\\fah"), "/net/host/c/fah");
}

TEST(MapPath, IgnoresATrailingDelimiterOfTheUncRoot) {
    EnvOverride root("KORVEX_UNC_ROOT", "/srv/unc/");
    EXPECT_EQ(MapPath("\\\\host\\c"), "/srv/unc/host/c");
}

TEST(NameRoutines, SplitPathsAsTheRunTimeDoes) {
    EXPECT_EQ(ExtractFilePath("C:\\FAH\\FAHlog.txt"), "C:\\FAH\\");
    EXPECT_EQ(ExtractFilePath("/a/b.txt"), "/a/");
    EXPECT_EQ(ExtractFilePath("b.txt"), "");
    EXPECT_EQ(ExtractFileDir("/a/b.txt"), "/a");
    EXPECT_EQ(ExtractFileDir("/b.txt"), "/");
    EXPECT_EQ(ExtractFileName("\\\\box\\fah\\unitinfo.txt"), "unitinfo.txt");
    EXPECT_EQ(ExtractFileName("/a/dir/"), "");
    EXPECT_EQ(ExtractFileExt("FahCore_78.EXE"), ".EXE");
    EXPECT_EQ(ExtractFileExt("/a.b/file"), "");
    EXPECT_EQ(ExtractFileExt("archive.tar.gz"), ".gz");
    EXPECT_EQ(ChangeFileExt("KORVEX.WUS", ".WUN"), "KORVEX.WUN");
    EXPECT_EQ(ChangeFileExt("/a.b/file", ".txt"), "/a.b/file.txt");
    EXPECT_EQ(ChangeFileExt("korvex.exe", ""), "korvex");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\a\\"), "C:\\a\\");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/a/"), "/a");
}

TEST(ExpandFileName, TakesRelativeNamesFromTheProgramFolder) {
    SetProgramFolderForTests("/opt/korvex");
    EXPECT_EQ(ExpandFileName("KORVEX.WUS"), "/opt/korvex/KORVEX.WUS");
    EXPECT_EQ(ExpandFileName("WU\\WU0\\..\\WUREADY\\.\\client.cfg"), "/opt/korvex/WU/WUREADY/client.cfg");
    EXPECT_EQ(ExpandFileName("/a//b/../c/"), "/a/c/");
    EXPECT_EQ(ExpandFileName("/../.."), "/");
    SetProgramFolderForTests("");
}

TEST(ProgramFolder, IsTheExecutablesFolderUnlessOverridden) {
    std::string exe = ProgramFileName();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(ProgramFolder(), std::filesystem::path(exe).parent_path().string());
    SetProgramFolderForTests("/somewhere/else/");
    EXPECT_EQ(ProgramFolder(), "/somewhere/else");
    EXPECT_EQ(GetCurrentDir(), "/somewhere/else");
    EXPECT_EQ(ExtractFileDir(ProgramFileName()), "/somewhere/else");
    SetProgramFolderForTests("");
    EXPECT_EQ(ProgramFileName(), exe);
}

TEST(ResolveNoCase, ReturnsAnExactPathUnchanged) {
    TempFolder tmp;
    WriteFile(tmp / "FAHlog.txt", "x");
    EXPECT_EQ(ResolveNoCase(tmp / "FAHlog.txt"), tmp / "FAHlog.txt");
}

TEST(ResolveNoCase, FindsEachComponentThatDiffersOnlyInCase) {
    TempFolder tmp;
    std::filesystem::create_directories(tmp / "Node/Work");
    WriteFile(tmp / "Node/Work/wudata_01.dat", "x");
    EXPECT_EQ(ResolveNoCase(tmp / "NODE/work/WUDATA_01.DAT"), tmp / "Node/Work/wudata_01.dat");
    EXPECT_EQ(ResolveNoCase(tmp / "node/"), tmp / "Node/");
}

TEST(ResolveNoCase, KeepsTheRestAsGivenFromTheFirstComponentThatMatchesNothing) {
    TempFolder tmp;
    std::filesystem::create_directories(tmp / "Backup");
    EXPECT_EQ(ResolveNoCase(tmp / "BACKUP/WU3/FAHLog.txt"), tmp / "Backup/WU3/FAHLog.txt");
    EXPECT_EQ(ResolveNoCase(tmp / "missing/file"), tmp / "missing/file");
}

TEST(ResolveNoCase, PicksTheFirstInByteOrderWhenSeveralNamesMatch) {
    TempFolder tmp;
    WriteFile(tmp / "fahlog.txt", "a");
    WriteFile(tmp / "FAHlog.txt", "b");
    EXPECT_EQ(ResolveNoCase(tmp / "FahLog.TXT"), tmp / "FAHlog.txt");
}

TEST(NativePath, MapsMakesAbsoluteAndResolves) {
    SandboxedEnvironment env;
    std::filesystem::create_directories(env.UncRoot() + "/box/fah");
    WriteFile(env.UncRoot() + "/box/fah/FAHlog.txt", "x");
    EXPECT_EQ(NativePath("\\\\box\\fah\\FAHLog.txt"), env.UncRoot() + "/box/fah/FAHlog.txt");
    WriteFile(env.ProgramFolder() + "/KORVEX.WUS", "");
    EXPECT_EQ(NativePath("korvex.wus"), env.ProgramFolder() + "/KORVEX.WUS");
}
