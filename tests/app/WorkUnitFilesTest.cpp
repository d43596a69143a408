// Unit file moves: a source is deleted only once its copy is there, whatever stops a copy.
#include "app/cache/WorkUnitFiles.h"

#include "support/ClientFiles.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace korvex;
using namespace korvex::app;
namespace fs = std::filesystem;

namespace {

class WorkUnitFilesTest : public testing::Test {
protected:
    test::TTempDir dir;
    std::string node = dir.File("node");
    std::string cache = dir.File("WU/WU0");

    void SetUp() override {
        test::WriteFile(node + "/queue.dat", "old queue");
        test::WriteFile(node + "/work/wudata_01.dat", "old work");
        test::WriteFile(cache + "/queue.dat", "new queue");
        test::WriteFile(cache + "/client.cfg", "machineid=7\n");
        test::WriteFile(cache + "/work/wudata_02.dat", "new work");
        test::WriteFile(cache + "/work/logfile_02.txt", "new log");
    }
    std::string Read(const std::string& path) { return test::ReadFileText(path); }
};

TEST(WorkUnitFolders, LieUnderTheProgramFolder) {
    EXPECT_EQ(CacheFolder("/opt/k", 3), "/opt/k/WU/WU3");
    EXPECT_EQ(ReadyFolder("/opt/k/"), "/opt/k/WU/WUREADY");
    EXPECT_EQ(BackupFolder("/opt/k", 12), "/opt/k/Backup/WU12");
    EXPECT_EQ(CoresFolder("/opt/k"), "/opt/k/WU");
}

TEST_F(WorkUnitFilesTest, MoveTakesEveryFileIntoTheNodeAndLeavesTheFoldersEmpty) {
    TMoveCount count = CopyWU(node, cache, true);
    EXPECT_EQ(count.Moved, 4);
    EXPECT_TRUE(count.Ok());
    EXPECT_EQ(Read(node + "/queue.dat"), "new queue");
    EXPECT_EQ(Read(node + "/client.cfg"), "machineid=7\n");
    EXPECT_EQ(Read(node + "/work/wudata_02.dat"), "new work");
    EXPECT_EQ(Read(node + "/work/wudata_01.dat"), "old work");
    EXPECT_TRUE(fs::is_empty(cache + "/work"));
    EXPECT_TRUE(RemoveEmptiedFolder(cache));
    EXPECT_FALSE(fs::exists(cache));
}

TEST_F(WorkUnitFilesTest, WithoutMoveTheFolderIsEmptiedAndTheNodeUntouched) {
    TMoveCount count = CopyWU(node, cache, false);
    EXPECT_EQ(count.Moved, 4);
    EXPECT_TRUE(fs::is_directory(cache + "/work"));
    EXPECT_TRUE(fs::is_empty(cache + "/work"));
    EXPECT_EQ(Read(node + "/queue.dat"), "old queue");
    EXPECT_FALSE(fs::exists(node + "/client.cfg"));
}

TEST_F(WorkUnitFilesTest, TargetsThatCannotBeWrittenKeepTheirSources) {
    // A folder where the file should go, and a file where the work folder should be.
    fs::remove(node + "/queue.dat");
    fs::create_directory(node + "/queue.dat");
    fs::remove_all(node + "/work");
    test::WriteFile(node + "/work", "not a folder");
    TMoveCount count = CopyWU(node, cache, true);
    EXPECT_EQ(count.Failed, 3);
    EXPECT_EQ(Read(cache + "/queue.dat"), "new queue");
    EXPECT_EQ(Read(cache + "/work/wudata_02.dat"), "new work");
    EXPECT_EQ(Read(cache + "/work/logfile_02.txt"), "new log");
    EXPECT_EQ(Read(node + "/client.cfg"), "machineid=7\n");
    EXPECT_FALSE(fs::exists(cache + "/client.cfg"));
    EXPECT_FALSE(RemoveEmptiedFolder(cache));
    EXPECT_TRUE(fs::exists(cache + "/queue.dat"));

}

// The superuser writes into read-only folders: this runs for every other user only.
TEST_F(WorkUnitFilesTest, AReadOnlyNodeFolderTakesNothing) {
    if (::geteuid() == 0) GTEST_SKIP() << "runs only as a user other than root, who writes into read-only folders";
    const std::string locked = dir.File("locked");
    fs::create_directory(locked);
    ::chmod(locked.c_str(), 0555);
    const TMoveCount count = CopyWU(locked, cache, true);
    ::chmod(locked.c_str(), 0755);
    EXPECT_GT(count.Failed, 0);
    EXPECT_EQ(count.Moved, 0);
    EXPECT_EQ(Read(cache + "/queue.dat"), "new queue");
}

TEST_F(WorkUnitFilesTest, CopyStoppedHalfWayByAFullDiskLosesNothing) {
    // The file size limit of a child stands in for a full disk: the large file cannot be copied.
    const std::string large(64 * 1024, 'w');
    test::WriteFile(cache + "/work/wudata_02.dat", large);
    EXPECT_TRUE(test::WithFileSizeLimit(16 * 1024, [&] {
        TMoveCount count = CopyWU(node, cache, true);
        return count.Moved == 3 && count.Failed == 1;
    }));
    EXPECT_EQ(Read(cache + "/work/wudata_02.dat"), large);
    EXPECT_FALSE(fs::exists(node + "/work/wudata_02.dat"));
    EXPECT_EQ(Read(node + "/work/logfile_02.txt"), "new log");
    EXPECT_EQ(std::distance(fs::directory_iterator(node + "/work"), {}), 2);   // no half copy left
}

// What a move killed half-way left (its temporaries, in the node's folders and in the cache) is removed by
// the next move and never moved itself.
TEST_F(WorkUnitFilesTest, NextMoveRemovesTheTemporariesOfAKilledOneAndNeverMovesThem) {
    const std::string dead = ".korvex-" + std::to_string(0x3fffffff) + "-Q1w2E3";
    test::WriteFile(node + "/.queue.dat" + dead, "half");
    test::WriteFile(node + "/work/.wudata_02.dat.copy-Ab12Cd", "half");   // an earlier version's
    test::WriteFile(cache + "/work/.wudata_02.dat" + dead, "half");
    test::WriteFile(node + "/.keep", "the client's own hidden file");
    EXPECT_TRUE(CopyWU(node, cache, true).Ok());
    EXPECT_TRUE(RemoveEmptiedFolder(cache));
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(node))
        names.push_back(fs::relative(entry.path(), node).string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
        (std::vector<std::string> {".keep", "client.cfg", "queue.dat", "work", "work/logfile_02.txt",
            "work/wudata_01.dat", "work/wudata_02.dat"}));
}

TEST_F(WorkUnitFilesTest, MissingFoldersMoveNothing) {
    EXPECT_EQ(CopyWU(node, dir.File("nothing"), true).Moved, 0);
    EXPECT_EQ(MoveFile(dir.File("nothing/queue.dat"), node + "/queue.dat"), TMoveResult::Missing);
    EXPECT_EQ(Read(node + "/queue.dat"), "old queue");
}

}
