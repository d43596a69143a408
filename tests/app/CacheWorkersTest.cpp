// The cache workers with a fake console client: a cache made, its download seen and the console ended, the
// hand-over moving the right files, results sent from their own folder, only our own processes ended.
#include "app/cache/CacheWorkers.h"

#include "app/settings/Settings.h"
#include "app/cache/WorkUnitFiles.h"
#include "platform/os/Process.h"
#include "platform/os/Registry.h"

#include "support/AppEnvironment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>

using namespace korvex;
using namespace korvex::app;
namespace fs = std::filesystem;

namespace {

constexpr TCacheTimings QuickTimings {20, 50, 50, 500};
constexpr int WaitMs = 60000;   // generous for a loaded machine: the conditions end the waits

// Waits (bounded) until the condition holds: the console is another process.
template <class Condition>
bool Eventually(Condition condition) {
    for (int waited = 0; waited < WaitMs; waited += 10) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

bool Alive(pid_t pid) {
    return ::kill(pid, 0) == 0;
}

// A console client that notes each start ("pid arguments" in started.txt), writes `log` to FAHlog.txt
// with CR LF line ends, runs `extra` and then stays until it is ended.
void WriteConsole(const std::string& path, const std::string& log, const std::string& extra = "") {
    test::WriteFile(path, "#!/bin/sh\necho \"$$ $*\" >> started.txt\nprintf '" + log + "' >> FAHlog.txt\n" + extra
            + "\nexec sleep 30\n");
    fs::permissions(path, fs::perms::owner_all);
}

class CacheWorkersTest : public testing::Test {
protected:
    test::TAppEnvironment env;
    std::string node = env.File("node");
    std::string cache = CacheFolder(env.Folder(), 0);
    std::string ready = ReadyFolder(env.Folder());
    std::string console = env.File("fah/FAH-Console");   // where the option "FAH Console path" points
    TSettings settings;
    std::vector<int> started;   // StartServ calls
    std::unique_ptr<TCacheWorkers> workers;

    void SetUp() override {
        test::WriteFile(node + "/client.cfg", "[settings]\r\nmachineid=1\r\nmemory=1024\r\n[clienttype]\r\ntype=3\r\n");
        test::WriteFile(node + "/queue.dat", "node queue");
        test::WriteFile(node + "/unitinfo.txt", "node unit");
        test::WriteFile(node + "/work/wudata_01.dat", "node results");
        // The cores every cache gets: one that runs (a copy of sleep) and an old one.
        fs::create_directories(env.File("WU"));
        fs::copy_file("/bin/sleep", env.File("WU/FahCore_a1.exe"));
        test::WriteFile(env.File("WU/FahCore_78.exe"), "old core");
        WriteConsole(console,
            "[20:10:09] Core required: FahCore_a1.exe\\r\\n[20:10:12] Downloading work unit\\r\\n"
            "[20:10:15] Completed\\r\\n",
            "./FahCore_a1.exe 30 &\necho unit > queue.dat\nmkdir -p work && echo data > work/wudata_02.dat");
        settings.PathService = console;
        settings.Nodes.resize(1);
        settings.Nodes[0].Path = node;
        settings.Nodes[0].Get = true;
        settings.Nodes[0].Core = 1;
        NewWorkers();
    }
    void TearDown() override {
        workers.reset();   // stops the watchers, ends the consoles
    }
    void NewWorkers() {
        workers = std::make_unique<TCacheWorkers>(env.Folder(), QuickTimings);
        workers->SetSettings(settings);
        workers->StartServ = [this](int n) { started.push_back(n); };
    }
    std::string Read(const std::string& path) { return test::ReadFileText(path); }
    // The pid a console noted at its start (the first by default).
    pid_t StartedPid(const std::string& folder, int index = 0) {
        std::istringstream lines(Read(folder + "/started.txt"));
        std::string line;
        for (int i = 0; std::getline(lines, line); ++i)
            if (i == index) return static_cast<pid_t>(std::stol(line));
        return -1;
    }
};

TEST_F(CacheWorkersTest, CacheIsMadeAndItsConsoleEndedOnceTheDownloadCompleted) {
    {
        os::TRegistry identity;
        ASSERT_TRUE(identity.OpenKey(PandeGroupKey, true));
        identity.WriteString("UserID", "42");
    }
    WriteConsole(node + "/fah6", "");   // a console of the node's own is not the one copied
    ASSERT_TRUE(workers->CashMake(0, 6));
    EXPECT_TRUE(workers->HasCache(0));
    EXPECT_EQ(Read(cache + "/FAH-Console.exe"), Read(console));
    EXPECT_FALSE(fs::exists(cache + "/fah6"));
    EXPECT_EQ(workers->MachineId(0), 6);
    EXPECT_EQ(Read(cache + "/client.cfg"), "[settings]\r\nmachineid=6\r\nmemory=768\r\n[clienttype]\r\ntype=1\r\n");
    EXPECT_FALSE(os::TRegistry().KeyExists(PandeGroupKey));
    EXPECT_FALSE(workers->CashMake(0, 5)) << "a cache that exists is kept";

    ASSERT_TRUE(workers->WaitIdle(WaitMs));
    EXPECT_FALSE(workers->CacheBusy());
    EXPECT_TRUE(workers->CacheReady(0));
    const pid_t console = StartedPid(cache);
    ASSERT_GT(console, 0);
    EXPECT_TRUE(Eventually([&] { return !Alive(console); }));
    // The core it ran is ended, the other executables are cleared away, the unit stays.
    EXPECT_TRUE(fs::exists(cache + "/FahCore_a1.exe"));
    EXPECT_FALSE(fs::exists(cache + "/FahCore_78.exe"));
    EXPECT_EQ(Read(cache + "/queue.dat"), "unit\n");
    EXPECT_TRUE(os::EndProcessesByName("FahCore_a1.exe", cache, 100).Matched == 0);
    EXPECT_NE(Read(env.File("KORVEX.LOG")).find(node + ": Get unit for cash"), std::string::npos);
}

TEST_F(CacheWorkersTest, OnlyTheCachesOwnProcessesAreEnded) {
    // Another node's console and core of the same names, run by this program elsewhere.
    const std::string other = env.File("other");
    fs::create_directories(other);
    fs::copy_file("/bin/sleep", other + "/FAH-Console.exe");
    fs::copy_file("/bin/sleep", other + "/FahCore_a1.exe");
    const pid_t otherConsole = os::StartProcess(other + "/FAH-Console.exe", {"30"}, other);
    const pid_t otherCore = os::StartProcess(other + "/FahCore_a1.exe", {"30"}, other);
    ASSERT_GT(otherConsole, 0);
    ASSERT_GT(otherCore, 0);

    ASSERT_TRUE(workers->CashMake(0, 8));
    ASSERT_TRUE(workers->WaitIdle(WaitMs));
    EXPECT_TRUE(Eventually([&] { return !Alive(StartedPid(cache)); }));
    EXPECT_TRUE(Alive(otherConsole));
    EXPECT_TRUE(Alive(otherCore));
    EXPECT_TRUE(os::EndProcess(otherConsole));
    EXPECT_TRUE(os::EndProcess(otherCore));
}

// A core the console downloaded goes with the cores of later caches, also when a later line of the log names
// the core it ran, whose clearing of the other executables would take the new one first.
TEST_F(CacheWorkersTest, ANewCoreIsKeptForLaterCachesWhenTheLogNamesAnotherCoreAfterIt) {
    test::WriteFile(console,
        "#!/bin/sh\necho \"$$ $*\" >> started.txt\necho new > FahCore_b4.exe\n"
        "printf '[20:10:09] Downloading new core: FahCore_b4.exe\\r\\n[20:10:11] Core required: FahCore_a1.exe\\r\\n"
        "[20:10:15] Completed\\r\\n' >> FAHlog.txt\nexec sleep 30\n");
    fs::permissions(console, fs::perms::owner_all);
    ASSERT_TRUE(workers->CashMake(0, 8));
    ASSERT_TRUE(workers->WaitIdle(WaitMs));
    EXPECT_EQ(Read(env.File("WU/FahCore_b4.exe")), "new\n");
    EXPECT_FALSE(fs::exists(cache + "/FahCore_b4.exe")) << "cleared with the other cores the console did not run";
    EXPECT_TRUE(fs::exists(cache + "/FahCore_a1.exe"));
}

TEST_F(CacheWorkersTest, FifthFailedAttemptStartsTheConsoleAgainOnAFreshLog) {
    WriteConsole(console, "",
        "if [ -e tried ]; then printf 'Completed\\r\\n' >> FAHlog.txt; "
        "else touch tried; printf 'Attempt #5\\r\\n' >> FAHlog.txt; fi");
    ASSERT_TRUE(workers->CashMake(0, 8));
    ASSERT_TRUE(workers->WaitIdle(WaitMs));
    EXPECT_GT(StartedPid(cache, 1), 0) << Read(cache + "/started.txt");
    EXPECT_EQ(Read(cache + "/FAHlog.txt"), "Completed\r\n");
    EXPECT_TRUE(Eventually([&] { return !Alive(StartedPid(cache, 0)); }));
    EXPECT_TRUE(Eventually([&] { return !Alive(StartedPid(cache, 1)); }));
}

TEST_F(CacheWorkersTest, HandOverMovesTheCachedUnitIntoTheNodeAndRemovesTheCache) {
    // This console completes its download only when the test puts a file "go" beside it: until then the
    // download is watched, however slow the machine.
    WriteConsole(console,
        "[20:10:09] Core required: FahCore_a1.exe\\r\\n[20:10:12] Downloading work unit\\r\\n",
        "./FahCore_a1.exe 30 &\necho unit > queue.dat\nmkdir -p work && echo data > work/wudata_02.dat\n"
        "while [ ! -e go ]; do sleep 0.05; done\nprintf '[20:10:15] Completed\\r\\n' >> FAHlog.txt");
    ASSERT_TRUE(workers->CashMake(0, 8));
    workers->CashWork(0);
    EXPECT_TRUE(workers->HasCache(0)) << "no hand-over while the download is watched";
    test::WriteFile(cache + "/go", "");
    ASSERT_TRUE(workers->WaitIdle(WaitMs));
    workers->CashWork(0);
    EXPECT_FALSE(workers->HasCache(0));
    EXPECT_EQ(Read(node + "/queue.dat"), "unit\n");
    EXPECT_EQ(Read(node + "/work/wudata_02.dat"), "data\n");
    EXPECT_EQ(Read(node + "/work/wudata_01.dat"), "node results");
    EXPECT_EQ(Read(node + "/client.cfg"), "[settings]\r\nmachineid=8\r\nmemory=768\r\n[clienttype]\r\ntype=1\r\n");
    EXPECT_EQ(started, (std::vector<int> {0, 0}));
}

TEST_F(CacheWorkersTest, HandOverThatCannotMoveAFileKeepsTheCache) {
    ASSERT_TRUE(workers->CashMake(0, 8));
    ASSERT_TRUE(workers->WaitIdle(WaitMs));
    fs::remove(node + "/queue.dat");
    fs::create_directory(node + "/queue.dat");   // the target cannot be written
    workers->CashWork(0);
    EXPECT_TRUE(workers->HasCache(0));
    EXPECT_EQ(Read(cache + "/queue.dat"), "unit\n");
    EXPECT_EQ(Read(node + "/work/wudata_02.dat"), "data\n");
    fs::remove(node + "/queue.dat");
    workers->CashWork(0);   // the next refresh finishes it
    EXPECT_FALSE(workers->HasCache(0));
    EXPECT_EQ(Read(node + "/queue.dat"), "unit\n");
}

TEST_F(CacheWorkersTest, ResultsAreSentFromTheReadyFolderWithTheirOwnConsole) {
    settings.Nodes[0].Send = true;
    NewWorkers();
    ASSERT_TRUE(workers->CashMake(0, 8));
    ASSERT_TRUE(workers->WaitIdle(WaitMs));
    // The sending console of the ready folder reports success only when asked to send.
    WriteConsole(cache + "/FAH-Console.exe", "",
        "[ \"$*\" = \"- send all\" ] && printf '[20:11:00] + Results successfully sent\\r\\n' >> FAHlog.txt");
    test::WriteFile(ready + "/FAHlog.txt", "+ Results successfully sent\r\n");   // the last sending's log
    workers->CashWork(0);
    EXPECT_TRUE(workers->Sending());
    EXPECT_FALSE(workers->HasCache(0));
    EXPECT_EQ(Read(ready + "/queue.dat"), "node queue");
    EXPECT_EQ(Read(ready + "/unitinfo.txt"), "node unit");
    EXPECT_EQ(Read(ready + "/work/wudata_01.dat"), "node results");
    EXPECT_EQ(Read(ready + "/client.cfg"), "[settings]\r\nmachineid=7\r\nmemory=768\r\n[clienttype]\r\ntype=1\r\n");
    EXPECT_FALSE(fs::exists(node + "/work/wudata_01.dat"));
    EXPECT_EQ(Read(node + "/queue.dat"), "unit\n");

    ASSERT_TRUE(workers->WaitIdle(WaitMs));
    EXPECT_FALSE(workers->Sending());
    const pid_t sender = StartedPid(ready);
    EXPECT_NE(Read(ready + "/started.txt").find("- send all"), std::string::npos);
    EXPECT_NE(Read(ready + "/FAHlog.txt").find("+ Results successfully sent"), std::string::npos);
    EXPECT_TRUE(Eventually([&] { return !Alive(sender); }));
}

TEST_F(CacheWorkersTest, NoHandOverOutsideFarmModeOrWhileAConsoleStarts) {
    ASSERT_TRUE(workers->CashMake(0, 8));
    ASSERT_TRUE(workers->WaitIdle(WaitMs));
    settings.Nodes[0].Get = false;
    workers->SetSettings(settings);
    workers->CashWork(0);
    EXPECT_TRUE(workers->HasCache(0));
    EXPECT_EQ(started, (std::vector<int> {0})) << "the service is asked to start in every case";
}

TEST_F(CacheWorkersTest, MissingClientConfigRemovesTheNewCacheSoTheNextOneCanBeMade) {
    fs::remove(node + "/client.cfg");
    EXPECT_FALSE(workers->CashMake(0, 8));
    EXPECT_FALSE(workers->HasCache(0));
    test::WriteFile(node + "/client.cfg", "machineid=1\n");
    EXPECT_TRUE(workers->CashMake(0, 8));
    EXPECT_TRUE(workers->WaitIdle(WaitMs));
}

// The row refresh asks for the cache every cycle: a cache that cannot be made is logged when that starts and
// when it ends, not once a cycle.
TEST_F(CacheWorkersTest, ACacheThatCannotBeMadeCycleAfterCycleIsLoggedWhenThatStartsAndEnds) {
    fs::rename(console, console + ".away");   // no console to copy
    // Nor is a cache folder made (and removed again) for it.
    fs::create_directories(fs::path(cache).parent_path());
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    inotify_add_watch(watch, fs::path(cache).parent_path().c_str(), IN_CREATE);
    for (int cycle = 0; cycle < 6; ++cycle) {
        EXPECT_FALSE(workers->CashMake(0, 8));
        EXPECT_FALSE(workers->HasCache(0));
    }
    alignas(inotify_event) char events[4096];
    EXPECT_LE(::read(watch, events, sizeof events), 0);
    ::close(watch);
    const std::string failed = node + ": Cannot copy the console for cash";
    auto count = [this](const std::string& text) { return test::Occurrences(Read(env.File("KORVEX.LOG")), text); };
    EXPECT_EQ(count(failed), 1);
    fs::rename(console + ".away", console);
    EXPECT_TRUE(workers->CashMake(0, 8));
    EXPECT_EQ(count(failed + " (ended after 6 times)"), 1);
    EXPECT_EQ(count(failed), 2);
    EXPECT_TRUE(workers->WaitIdle(WaitMs));
}

TEST_F(CacheWorkersTest, ConsoleThatCannotStartRemovesTheCache) {
    test::WriteFile(env.File("console"), "not a program");
    settings.PathService = env.File("console");
    NewWorkers();
    ASSERT_TRUE(workers->CashMake(0, 8));
    ASSERT_TRUE(workers->WaitIdle(WaitMs));
    EXPECT_FALSE(workers->HasCache(0));
    EXPECT_FALSE(workers->CacheBusy());
}

TEST_F(CacheWorkersTest, MakeNewCashEndsTheOldCacheAndMakesOneWithTheNextMachineId) {
    WriteConsole(console, "[20:10:09] Downloading\\r\\n");   // never completes
    ASSERT_TRUE(workers->CashMake(0, 3));
    ASSERT_TRUE(Eventually([&] { return StartedPid(cache) > 0; }));
    const pid_t old = StartedPid(cache);
    EXPECT_FALSE(workers->CacheReady(0));
    ASSERT_TRUE(workers->MakeNewCash(0));
    EXPECT_TRUE(Eventually([&] { return !Alive(old); }));
    EXPECT_EQ(workers->MachineId(0), 2);
    EXPECT_NE(Read(cache + "/client.cfg").find("machineid=2\r\n"), std::string::npos);
    ASSERT_TRUE(workers->MakeNewCash(0));
    EXPECT_EQ(workers->MachineId(0), 8);
}

TEST_F(CacheWorkersTest, TheRowRefreshsCallbacksReachTheWorkers) {
    TMonitorWorkers callbacks = workers->Workers();
    callbacks.CashMake(0, 6);
    EXPECT_TRUE(workers->HasCache(0));
    callbacks.ClearCacheBusy();
    EXPECT_FALSE(callbacks.CacheBusy());
    callbacks.StartBackup(0);
    ASSERT_TRUE(workers->WaitIdle(WaitMs));
    EXPECT_EQ(Read(BackupFolder(env.Folder(), 0) + "/queue.dat"), "node queue");
    callbacks.CashWork(0);
    EXPECT_FALSE(workers->HasCache(0));
    EXPECT_EQ(Read(node + "/queue.dat"), "unit\n");
}

TEST(CacheWorkers, NextMachineIdCyclesFromEightDownToTwo) {
    EXPECT_EQ(NextMachineId(8), 7);
    EXPECT_EQ(NextMachineId(3), 2);
    EXPECT_EQ(NextMachineId(2), 8);
    EXPECT_EQ(NextMachineId(0), 8);
}

}
