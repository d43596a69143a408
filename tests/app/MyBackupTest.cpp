// Backups of a node folder: the reader's file names, a whole replacement or none, restore by moving back.
#include "app/cache/MyBackupU.h"

#include "app/cache/CacheWorkers.h"
#include "app/settings/Settings.h"
#include "app/cache/WorkUnitFiles.h"

#include "support/AppEnvironment.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

using namespace korvex;
using namespace korvex::app;
namespace fs = std::filesystem;

namespace {

class MyBackupTest : public testing::Test {
protected:
    test::TAppEnvironment env;
    std::string node = env.File("node");
    std::string backup = BackupFolder(env.Folder(), 2);

    void SetUp() override {
        test::WriteFile(node + "/client.cfg", "machineid=1\n");
        test::WriteFile(node + "/queue.dat", "queue");
        test::WriteFile(node + "/FAHLog.txt", "log");   // the client's own spelling differs in case
        test::WriteFile(node + "/unitinfo.txt", "unit");
        test::WriteFile(node + "/work/wudata_01.dat", "data");
        test::WriteFile(node + "/other.txt", "not backed up");
    }
    std::string Read(const std::string& path) { return test::ReadFileText(path); }
    std::vector<std::string> Names(const std::string& folder) { return os::filetest::NamesIn(folder); }
};

TEST_F(MyBackupTest, CopiesTheClientFilesUnderTheNamesTheirReadersUse) {
    TBackupResult result = BackupNodeFolder(env.Folder(), node, 2);
    EXPECT_TRUE(result.Ok());
    EXPECT_EQ(result.Copied, 5);
    EXPECT_EQ(Names(backup), (std::vector<std::string> {"FAHlog.txt", "client.cfg", "queue.dat", "unitinfo.txt", "work"}));
    EXPECT_EQ(Read(backup + "/FAHlog.txt"), "log");
    EXPECT_EQ(Read(backup + "/work/wudata_01.dat"), "data");
    EXPECT_EQ(Names(env.File("Backup")), (std::vector<std::string> {"WU2"}));
}

TEST_F(MyBackupTest, NewBackupReplacesTheOldOneWhole) {
    test::WriteFile(backup + "/work/wudata_00.dat", "older unit");
    fs::remove(node + "/queue.dat");
    EXPECT_TRUE(BackupNodeFolder(env.Folder(), node, 2).Ok());
    EXPECT_FALSE(fs::exists(backup + "/work/wudata_00.dat"));
    EXPECT_FALSE(fs::exists(backup + "/queue.dat"));
    EXPECT_EQ(Read(backup + "/client.cfg"), "machineid=1\n");
}

TEST_F(MyBackupTest, NothingToCopyIsAFailureThatKeepsTheOldBackup) {
    test::WriteFile(backup + "/queue.dat", "old queue");
    TBackupResult result = BackupNodeFolder(env.Folder(), env.File("unreachable"), 2);
    EXPECT_FALSE(result.Ok());
    EXPECT_EQ(Read(backup + "/queue.dat"), "old queue");
    EXPECT_EQ(Names(env.File("Backup")), (std::vector<std::string> {"WU2"}));
}

TEST_F(MyBackupTest, CopyStoppedByAFullDiskKeepsTheOldBackup) {
    test::WriteFile(backup + "/queue.dat", "old queue");
    test::WriteFile(node + "/work/wudata_01.dat", std::string(64 * 1024, 'd'));
    EXPECT_TRUE(test::WithFileSizeLimit(16 * 1024, [&] {
        TBackupResult result = BackupNodeFolder(env.Folder(), node, 2);
        return !result.Ok() && result.Failed == 1;
    }));
    EXPECT_EQ(Names(backup), (std::vector<std::string> {"queue.dat"}));
    EXPECT_EQ(Names(env.File("Backup")), (std::vector<std::string> {"WU2"}));
}

TEST_F(MyBackupTest, BackupLeftAsideByAnInterruptedSwapComesBack) {
    test::WriteFile(backup + ".old/queue.dat", "old queue");
    EXPECT_FALSE(BackupNodeFolder(env.Folder(), env.File("unreachable"), 2).Ok());
    EXPECT_EQ(Read(backup + "/queue.dat"), "old queue");
}

// A client log of 64 MiB holding a few blocks of data: its backup takes the room of the data only.
TEST_F(MyBackupTest, SparseFileKeepsItsSmallAllocationInTheBackup) {
    const off_t length = off_t(64) << 20;
    const std::string log = node + "/FAHLog.txt";
    ASSERT_EQ(::truncate(log.c_str(), length), 0);
    struct stat source, copied;
    ASSERT_EQ(::stat(log.c_str(), &source), 0);
    ASSERT_TRUE(BackupNodeFolder(env.Folder(), node, 2).Ok());
    ASSERT_EQ(::stat((backup + "/FAHlog.txt").c_str(), &copied), 0);
    EXPECT_EQ(copied.st_size, length);
    EXPECT_LE(copied.st_blocks, source.st_blocks);
}

// The disk's free bytes against what the copies write (holes not counted), with the spare: too little copies
// nothing and keeps the old backup; enough makes it.
TEST_F(MyBackupTest, TooLittleFreeSpaceCopiesNothingAndKeepsTheOldBackup) {
    test::WriteFile(backup + "/queue.dat", "old queue");
    test::WriteFile(node + "/work/wudata_01.dat", std::string(1 << 20, 'd'));
    ASSERT_EQ(::truncate((node + "/FAHLog.txt").c_str(), off_t(1) << 30), 0);   // a gigabyte of hole
    std::string asked;
    std::int64_t free = BackupRoomNeeded(1 << 20);   // short of the other files' bytes
    auto diskFree = [&](const std::string& folder) {
        asked = folder;
        return free;
    };
    TBackupResult result = BackupNodeFolder(env.Folder(), node, 2, diskFree);
    EXPECT_FALSE(result.Ok());
    EXPECT_TRUE(result.NoRoom);
    EXPECT_GT(result.Needed, 1 << 20);
    EXPECT_LT(result.Needed, 2 << 20);
    EXPECT_EQ(asked, env.File("Backup"));
    EXPECT_EQ(Names(backup), (std::vector<std::string> {"queue.dat"}));
    EXPECT_EQ(Names(env.File("Backup")), (std::vector<std::string> {"WU2"}));
    EXPECT_NE(BackupFailureText(node, result).find(node + ": Backup failed: not enough free space"), std::string::npos);

    free = BackupRoomNeeded(2 << 20);
    EXPECT_TRUE(BackupNodeFolder(env.Folder(), node, 2, diskFree).Ok());
    EXPECT_EQ(Read(backup + "/queue.dat"), "queue");
}

TEST_F(MyBackupTest, LeftoversOfKilledBackupsGoWhenTheWorkersStart) {
    test::WriteFile(backup + ".new/work/wudata_01.dat", "half");   // killed while copying
    test::WriteFile(env.File("Backup/WU3.old/queue.dat"), "kept");   // killed between two renames
    test::WriteFile(env.File("Backup/WU4/queue.dat"), "new");
    test::WriteFile(env.File("Backup/WU4.old/queue.dat"), "old");   // killed before the old one went
    TCacheWorkers workers(env.Folder());
    EXPECT_EQ(Names(env.File("Backup")), (std::vector<std::string> {"WU3", "WU4"}));
    EXPECT_EQ(Read(env.File("Backup/WU3/queue.dat")), "kept");
    EXPECT_EQ(Read(env.File("Backup/WU4/queue.dat")), "new");
}

class BackupCommandsTest : public MyBackupTest {
protected:
    TSettings settings;
    std::vector<std::string> calls;
    std::unique_ptr<TCacheWorkers> workers;

    void Make(bool get, bool backupFlag) {
        settings.Nodes.resize(3);
        settings.Nodes[2].Path = node;
        settings.Nodes[2].Get = get;
        settings.Nodes[2].Backup = backupFlag;
        workers = std::make_unique<TCacheWorkers>(env.Folder());
        workers->SetSettings(settings);
        workers->StartServ = [this](int n) { calls.push_back("start " + std::to_string(n)); };
        workers->StopServ = [this](int n) { calls.push_back("stop " + std::to_string(n)); };
        workers->OnBackupDone = [this](int n, bool ok) { calls.push_back("done " + std::to_string(n) + (ok ? " ok" : " failed")); };
    }
};

TEST_F(BackupCommandsTest, MakeBackupNeedsTheNodesBackupFlag) {
    Make(true, false);
    EXPECT_FALSE(workers->MakeBackup(2));
    EXPECT_TRUE(workers->WaitIdle(60000));
    EXPECT_FALSE(fs::exists(backup));
    EXPECT_TRUE(calls.empty());
}

TEST_F(BackupCommandsTest, BackupReportsWhetherItCopied) {
    Make(true, true);
    EXPECT_TRUE(workers->MakeBackup(2));
    ASSERT_TRUE(workers->WaitIdle(60000));
    EXPECT_EQ(Read(backup + "/queue.dat"), "queue");
    settings.Nodes[2].Path = env.File("unreachable");
    workers->SetSettings(settings);
    workers->StartBackup(2);
    ASSERT_TRUE(workers->WaitIdle(60000));
    EXPECT_EQ(calls, (std::vector<std::string> {"done 2 ok", "done 2 failed"}));
    EXPECT_NE(Read(env.File("KORVEX.LOG")).find("Backup failed"), std::string::npos);
}

TEST_F(BackupCommandsTest, BackupWithoutRoomIsReportedAsFailedAndLogged) {
    Make(true, true);
    workers->DiskFree = [](const std::string&) { return std::int64_t(1000); };
    workers->StartBackup(2);
    ASSERT_TRUE(workers->WaitIdle(60000));
    EXPECT_EQ(calls, (std::vector<std::string> {"done 2 failed"}));
    EXPECT_EQ(workers->BackupOutcome(2), TBackupOutcome::Failed);
    EXPECT_NE(Read(env.File("KORVEX.LOG")).find(node + ": Backup failed: not enough free space"), std::string::npos);
    EXPECT_FALSE(fs::exists(backup));
    // Tried again once there is room.
    workers->DiskFree = {};
    workers->StartBackup(2);
    ASSERT_TRUE(workers->WaitIdle(60000));
    EXPECT_EQ(workers->BackupOutcome(2), TBackupOutcome::Made);
    EXPECT_EQ(Read(backup + "/queue.dat"), "queue");
}

// The row refresh tries a failed backup again every cycle: the log says when the failure starts and ends.
TEST_F(BackupCommandsTest, ABackupFailingCycleAfterCycleIsLoggedWhenThatStartsAndEnds) {
    Make(true, true);
    std::int64_t free = 1000;
    workers->DiskFree = [&free](const std::string&) { return free++; };   // a little more every time
    for (int cycle = 0; cycle < 4; ++cycle) {
        workers->StartBackup(2);
        ASSERT_TRUE(workers->WaitIdle(60000));
    }
    const std::string failed = node + ": Backup failed: not enough free space";
    auto lines = [this](const std::string& text) { return test::Occurrences(Read(env.File("KORVEX.LOG")), text); };
    EXPECT_EQ(lines(failed), 1);
    free = -1;   // unknown: the copy goes ahead
    workers->StartBackup(2);
    ASSERT_TRUE(workers->WaitIdle(60000));
    EXPECT_EQ(workers->BackupOutcome(2), TBackupOutcome::Made);
    EXPECT_EQ(lines("(ended after 4 times)"), 1);
    EXPECT_EQ(lines(failed), 2);
}

TEST_F(BackupCommandsTest, NoSecondBackupOfANodeStartsWhileOneRuns) {
    Make(true, true);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> asked {0};
    workers->DiskFree = [&](const std::string&) {
        ++asked;
        released.wait();
        return std::int64_t(-1);
    };
    workers->StartBackup(2);
    EXPECT_EQ(workers->BackupOutcome(2), TBackupOutcome::Running);
    workers->StartBackup(2);
    EXPECT_TRUE(workers->MakeBackup(2));
    release.set_value();
    ASSERT_TRUE(workers->WaitIdle(60000));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(calls, (std::vector<std::string> {"done 2 ok"}));
    EXPECT_EQ(workers->BackupOutcome(2), TBackupOutcome::Made);
}

TEST_F(BackupCommandsTest, RestoreMovesTheBackupBackBetweenStopAndStart) {
    Make(true, true);
    ASSERT_TRUE(BackupNodeFolder(env.Folder(), node, 2).Ok());
    test::WriteFile(node + "/queue.dat", "newer queue");
    fs::remove(node + "/work/wudata_01.dat");
    EXPECT_TRUE(workers->Restore(2));
    EXPECT_EQ(calls, (std::vector<std::string> {"stop 2", "start 2"}));
    EXPECT_EQ(Read(node + "/queue.dat"), "queue");
    EXPECT_EQ(Read(node + "/work/wudata_01.dat"), "data");
    EXPECT_EQ(Names(backup), (std::vector<std::string> {"work"}));
    EXPECT_TRUE(fs::is_empty(backup + "/work"));
}

TEST_F(BackupCommandsTest, RestoreOutsideFarmModeDoesNothing) {
    Make(false, true);
    ASSERT_TRUE(BackupNodeFolder(env.Folder(), node, 2).Ok());
    EXPECT_FALSE(workers->Restore(2));
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(fs::exists(backup + "/queue.dat"));
}

}
