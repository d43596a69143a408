// Tests of the file and folder operations: existence, create, delete, rename, copy, tree delete, age, size.
#include "platform/os/Files.h"
#include "platform/os/TimeZone.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace korvex::os;
using korvex::os::filetest::Exists;
using korvex::os::filetest::ReadFile;
using korvex::os::filetest::SandboxedEnvironment;
using korvex::os::filetest::TempFolder;
using korvex::os::filetest::WriteFile;

namespace fs = std::filesystem;

TEST(FileExists, TellsFilesFromFoldersAndFindsNamesWithoutCase) {
    TempFolder tmp;
    WriteFile(tmp / "FAHlog.txt", "x");
    fs::create_directories(tmp / "work");
    EXPECT_TRUE(FileExists(tmp / "FAHlog.txt"));
    EXPECT_TRUE(FileExists(tmp / "FAHLog.txt"));
    EXPECT_FALSE(FileExists(tmp / "work"));
    EXPECT_FALSE(FileExists(tmp / "missing.txt"));
    EXPECT_TRUE(DirectoryExists(tmp / "WORK"));
    EXPECT_FALSE(DirectoryExists(tmp / "FAHlog.txt"));
}

TEST(FileExists, TakesWindowsUncPathsThroughTheUncRoot) {
    SandboxedEnvironment env;
    fs::create_directories(env.UncRoot() + "/box/fah");
    WriteFile(env.UncRoot() + "/box/fah/unitinfo.txt", "x");
    EXPECT_TRUE(FileExists("\\\\box\\fah\\unitinfo.txt"));
    EXPECT_TRUE(DirectoryExists("\\\\BOX\\fah"));
}

TEST(CreateDir, MakesOneFolderOnlyWhenItsParentExists) {
    TempFolder tmp;
    EXPECT_TRUE(CreateDir(tmp / "WU"));
    EXPECT_FALSE(CreateDir(tmp / "WU"));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_FALSE(CreateDir(tmp / "a/b"));
    EXPECT_FALSE(CreateDir(""));
}

TEST(ForceDirectories, MakesEveryMissingParent) {
    TempFolder tmp;
    EXPECT_TRUE(ForceDirectories(tmp / "Backup\\WU3\\work"));
    EXPECT_TRUE(fs::is_directory(tmp / "Backup/WU3/work"));
    EXPECT_TRUE(ForceDirectories(tmp / "BACKUP/wu3"));   // exists without case
    WriteFile(tmp / "file", "");
    EXPECT_FALSE(ForceDirectories(tmp / "file/sub"));
}

TEST(CreateDir, RelativeNamesLandInTheProgramFolder) {
    SandboxedEnvironment env;
    EXPECT_TRUE(ForceDirectories("WU\\WUREADY"));
    EXPECT_TRUE(fs::is_directory(env.ProgramFolder() + "/WU/WUREADY"));
}

TEST(DeleteFile, RemovesFilesAndLinksButNeverFolders) {
    TempFolder tmp;
    WriteFile(tmp / "queue.dat", "x");
    fs::create_directories(tmp / "work");
    fs::create_symlink(tmp / "work", tmp / "link");
    EXPECT_TRUE(DeleteFile(tmp / "QUEUE.DAT"));
    EXPECT_FALSE(Exists(tmp / "queue.dat"));
    EXPECT_FALSE(DeleteFile(tmp / "work"));
    EXPECT_TRUE(DeleteFile(tmp / "link"));
    EXPECT_TRUE(fs::is_directory(tmp / "work"));
    EXPECT_FALSE(DeleteFile(tmp / "missing"));
}

TEST(RemoveDir, RemovesOnlyEmptyFolders) {
    TempFolder tmp;
    fs::create_directories(tmp / "a/b");
    EXPECT_FALSE(RemoveDir(tmp / "a"));
    EXPECT_TRUE(RemoveDir(tmp / "a/b"));
    EXPECT_TRUE(RemoveDir(tmp / "a"));
}

TEST(RenameFile, FailsWhenTheTargetExistsLikeTheWindowsCall) {
    TempFolder tmp;
    WriteFile(tmp / "KORVEX.WUN", "new");
    WriteFile(tmp / "KORVEX.WUS", "old");
    EXPECT_FALSE(RenameFile(tmp / "KORVEX.WUN", tmp / "KORVEX.WUS"));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(ReadFile(tmp / "KORVEX.WUS"), "old");
    ASSERT_TRUE(DeleteFile(tmp / "KORVEX.WUS"));
    EXPECT_TRUE(RenameFile(tmp / "KORVEX.WUN", tmp / "KORVEX.WUS"));
    EXPECT_EQ(ReadFile(tmp / "KORVEX.WUS"), "new");
    EXPECT_FALSE(Exists(tmp / "KORVEX.WUN"));
}

TEST(RenameFile, TreatsATargetDifferingOnlyInCaseAsExistingUnlessItIsTheSameFile) {
    TempFolder tmp;
    WriteFile(tmp / "a.txt", "a");
    WriteFile(tmp / "b.txt", "b");
    EXPECT_FALSE(RenameFile(tmp / "a.txt", tmp / "B.TXT"));
    EXPECT_TRUE(RenameFile(tmp / "a.txt", tmp / "A.txt"));   // only the case changes
    EXPECT_TRUE(Exists(tmp / "A.txt"));
    EXPECT_FALSE(Exists(tmp / "a.txt"));
}

TEST(RenameFile, MovesFolders) {
    TempFolder tmp;
    fs::create_directories(tmp / "WU0/work");
    EXPECT_TRUE(RenameFile(tmp / "WU0", tmp / "WU1"));
    EXPECT_TRUE(fs::is_directory(tmp / "WU1/work"));
}

TEST(CopyFile, CopiesContentModeAndModificationTime) {
    TempFolder tmp;
    WriteFile(tmp / "client.cfg", "[settings]\r\nmachineid=1\r\n");
    ::chmod((tmp / "client.cfg").c_str(), 0640);
    struct timespec times[2] = {{1000000000, 0}, {1200000000, 0}};
    ::utimensat(AT_FDCWD, (tmp / "client.cfg").c_str(), times, 0);
    fs::create_directories(tmp / "backup");
    ASSERT_TRUE(CopyFile(tmp / "CLIENT.CFG", tmp / "backup\\client.cfg", false));
    EXPECT_EQ(ReadFile(tmp / "backup/client.cfg"), "[settings]\r\nmachineid=1\r\n");
    struct stat st;
    ASSERT_EQ(::stat((tmp / "backup/client.cfg").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(st.st_mtim.tv_sec, 1200000000);
    EXPECT_EQ(fs::directory_iterator(tmp / "backup") == fs::directory_iterator(), false);
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp / "backup"), fs::directory_iterator()), 1);   // no temp left
}

TEST(CopyFile, OverwritesOrRefusesAnExistingTarget) {
    TempFolder tmp;
    WriteFile(tmp / "src", "new");
    WriteFile(tmp / "FAHlog.txt", "old");
    EXPECT_FALSE(CopyFile(tmp / "src", tmp / "FAHLog.txt", true));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(ReadFile(tmp / "FAHlog.txt"), "old");
    EXPECT_TRUE(CopyFile(tmp / "src", tmp / "FAHLog.txt", false));
    EXPECT_EQ(ReadFile(tmp / "FAHlog.txt"), "new");   // the existing name was overwritten, not a second file
    EXPECT_FALSE(Exists(tmp / "FAHLog.txt"));
    EXPECT_TRUE(CopyFile(tmp / "src", tmp / "fresh", true));
    EXPECT_EQ(ReadFile(tmp / "fresh"), "new");
}

TEST(CopyFile, NeverReplacesAPipeOrADeviceNorALinkToOne) {
    TempFolder tmp;
    WriteFile(tmp / "src", "new");
    ASSERT_EQ(::mkfifo((tmp / "pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink(tmp / "pipe", tmp / "link-to-pipe");
    std::filesystem::create_symlink("/dev/null", tmp / "link-to-null");
    for (const char* name : {"pipe", "link-to-pipe", "link-to-null"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(CopyFile(tmp / "src", tmp / name, false));
        EXPECT_EQ(errno, EINVAL);
    }
    EXPECT_TRUE(std::filesystem::is_fifo(tmp / "pipe"));
    EXPECT_TRUE(std::filesystem::is_symlink(tmp / "link-to-pipe"));
    EXPECT_TRUE(std::filesystem::is_symlink(tmp / "link-to-null"));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

TEST(CopyFile, FailsForMissingSourcesAndFoldersWithoutLeavingAnything) {
    TempFolder tmp;
    fs::create_directories(tmp / "dir");
    WriteFile(tmp / "file", "x");
    EXPECT_FALSE(CopyFile(tmp / "missing", tmp / "target", false));
    EXPECT_FALSE(CopyFile(tmp / "dir", tmp / "target", false));
    EXPECT_FALSE(CopyFile(tmp / "file", tmp / "dir", false));
    EXPECT_FALSE(CopyFile(tmp / "file", tmp / "nofolder/target", false));
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.Path()), fs::directory_iterator()), 2);
    EXPECT_TRUE(fs::is_empty(tmp / "dir"));
}

TEST(CopyFile, CopiesLargeFilesWhole) {
    TempFolder tmp;
    std::string big(3 * 1024 * 1024 + 17, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    WriteFile(tmp / "wudata_01.dat", big);
    ASSERT_TRUE(CopyFile(tmp / "wudata_01.dat", tmp / "copy.dat", true));
    EXPECT_EQ(ReadFile(tmp / "copy.dat"), big);
}

// A 64 MiB file with three data blocks: the copy must not write the holes as zeros.
TEST(CopyFile, KeepsTheHolesOfASparseFile) {
    TempFolder tmp;
    const std::string source = tmp / "FAHlog.txt";
    const off_t length = off_t(64) << 20;
    {
        int fd = ::open(source.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, length), 0);
        for (off_t at : {off_t(0), length / 2, length - 100})
            ASSERT_EQ(::pwrite(fd, "data", 4, at), 4);
        ::close(fd);
    }
    struct stat before, after;
    ASSERT_EQ(::stat(source.c_str(), &before), 0);
    ASSERT_LT(before.st_blocks * 512, off_t(1) << 20);   // the file system keeps holes at all
    EXPECT_EQ(FileDataSize(source), before.st_blocks * 512);
    ASSERT_TRUE(CopyFile(source, tmp / "copy.txt", false));
    ASSERT_EQ(::stat((tmp / "copy.txt").c_str(), &after), 0);
    EXPECT_EQ(after.st_size, length);
    EXPECT_LE(after.st_blocks, before.st_blocks);
    EXPECT_EQ(ReadFile(tmp / "copy.txt"), ReadFile(source));
}

TEST(CopyFile, KeepsAHoleAtTheEnd) {
    TempFolder tmp;
    WriteFile(tmp / "queue.dat", "head");
    ASSERT_EQ(::truncate((tmp / "queue.dat").c_str(), 1 << 20), 0);
    ASSERT_TRUE(CopyFile(tmp / "queue.dat", tmp / "copy.dat", true));
    EXPECT_EQ(FileSize(tmp / "copy.dat"), 1 << 20);
    EXPECT_EQ(ReadFile(tmp / "copy.dat"), ReadFile(tmp / "queue.dat"));
    EXPECT_LT(FileDataSize(tmp / "copy.dat"), 1 << 20);
}

TEST(FileDataSize, CountsDataNotHolesAndFailsLikeFileSize) {
    TempFolder tmp;
    WriteFile(tmp / "f", "12345");
    EXPECT_EQ(FileDataSize(tmp / "f") >= 5, true);
    EXPECT_EQ(FileDataSize(tmp / "missing"), -1);
    EXPECT_EQ(FileDataSize(tmp.Path()), -1);
    EXPECT_GT(DiskFree(tmp.Path()), 0);
    EXPECT_EQ(DiskFree(tmp / "missing"), -1);
}

TEST(CopyTemporaryOwner, NamesTheWriterOfACopysTemporaryOnly) {
    const struct {
        const char* Name;
        int Owner;
    } cases[] = {
        {".queue.dat.korvex-4242-a1B2c3", 4242},
        {".client.cfg.korvex-17-XXXXXQ", 17},
        {".wudata_01.dat.copy-Ab12Cd", -1},   // an earlier version's, without its writer
        {"queue.dat.korvex-4242-a1B2c3", 0},   // not hidden
        {".queue.dat.korvex--a1B2c3", 0},
        {".queue.dat.korvex-4242-", 0},
        {".queue.dat.korvex-4242-a/b", 0},
        {".queue.dat.copy-Ab1", 0},
        {".korvex-1-a", 0},   // no target name
        {"queue.dat", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CopyTemporaryOwner(c.Name), c.Owner) << c.Name;
}

TEST(RemoveCopyLeftovers, RemovesOtherWritersTemporariesButNotOurOwnOrOtherFiles) {
    TempFolder tmp;
    const std::string own = ".queue.dat.korvex-" + std::to_string(::getpid()) + "-abc123";
    for (const std::string name :
        {".queue.dat.korvex-1-abc123", ".wudata_01.dat.copy-Ab12Cd", own.c_str(), "queue.dat"})
        WriteFile(tmp / name, "x");
    fs::create_directories(tmp / ".work.korvex-1-abc123");   // a folder of that name is nobody's temporary
    EXPECT_EQ(RemoveCopyLeftovers(tmp.Path()), 2);
    EXPECT_TRUE(Exists(tmp / own));
    EXPECT_TRUE(Exists(tmp / "queue.dat"));
    EXPECT_TRUE(fs::is_directory(tmp / ".work.korvex-1-abc123"));
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.Path()), fs::directory_iterator()), 3);
    EXPECT_EQ(RemoveCopyLeftovers(tmp / "missing"), 0);
}

TEST(CopyFile, LeavesNoTemporaryBesideTheTarget) {
    TempFolder tmp;
    WriteFile(tmp / "src", std::string(300000, 's'));
    fs::create_directories(tmp / "node");
    WriteFile(tmp / "node/queue.dat", "old");
    ASSERT_TRUE(CopyFile(tmp / "src", tmp / "node/queue.dat", false));
    ASSERT_TRUE(CopyFile(tmp / "src", tmp / "node/unitinfo.txt", true));
    EXPECT_FALSE(CopyFile(tmp / "src", tmp / "node/unitinfo.txt", true));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(tmp / "node"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string> {"queue.dat", "unitinfo.txt"}));
}

TEST(ExchangeNames, SwapsTwoFolders) {
    TempFolder tmp;
    fs::create_directories(tmp / "WU2");
    fs::create_directories(tmp / "WU2.new");
    WriteFile(tmp / "WU2/queue.dat", "old");
    WriteFile(tmp / "WU2.new/queue.dat", "new");
    ASSERT_TRUE(ExchangeNames(tmp / "WU2.new", tmp / "WU2"));
    EXPECT_EQ(ReadFile(tmp / "WU2/queue.dat"), "new");
    EXPECT_EQ(ReadFile(tmp / "WU2.new/queue.dat"), "old");
    EXPECT_FALSE(ExchangeNames(tmp / "missing", tmp / "WU2"));
}

TEST(DeleteDirectoryTree, RemovesEverythingButNeverFollowsLinks) {
    TempFolder tmp;
    fs::create_directories(tmp / "WU/WU0/work");
    WriteFile(tmp / "WU/WU0/work/wudata.dat", "x");
    WriteFile(tmp / "WU/WU0/client.cfg", "x");
    fs::create_directories(tmp / "outside");
    WriteFile(tmp / "outside/keep.txt", "keep");
    fs::create_directory_symlink(tmp / "outside", tmp / "WU/WU0/link");
    EXPECT_TRUE(DeleteDirectoryTree(tmp / "wu\\wu0"));
    EXPECT_FALSE(Exists(tmp / "WU/WU0"));
    EXPECT_TRUE(fs::is_directory(tmp / "WU"));
    EXPECT_EQ(ReadFile(tmp / "outside/keep.txt"), "keep");
    EXPECT_TRUE(DeleteDirectoryTree(tmp / "missing"));
    EXPECT_FALSE(DeleteDirectoryTree(tmp / "outside/keep.txt"));
}

TEST(FileAge, GivesTheLocalModificationTime) {
    TempFolder tmp;
    WriteFile(tmp / "f", "x");
    struct timespec times[2] = {{0, 0}, {1705320000, 0}};
    ::utimensat(AT_FDCWD, (tmp / "f").c_str(), times, 0);
    korvex::base::TDateTime age = 0;
    ASSERT_TRUE(FileAge(tmp / "F", age));
    EXPECT_NEAR(age, UnixToLocalDateTime(1705320000), 1e-9);
    EXPECT_FALSE(FileAge(tmp / "missing", age));
}

TEST(FileSize, GivesBytesOrMinusOne) {
    TempFolder tmp;
    WriteFile(tmp / "f", "12345");
    EXPECT_EQ(FileSize(tmp / "f"), 5);
    EXPECT_EQ(FileSize(tmp / "missing"), -1);
    EXPECT_EQ(FileSize(tmp.Path()), -1);
}
