// Tests of settings store batches: one file write at the end, nesting, other threads and processes meanwhile,
// crashes inside a batch, a batch that cannot be written.
#include "platform/os/RegistryBatch.h"
#include "platform/os/Registry.h"
#include "support/ReplaceCounter.h"
#include "support/TempFolder.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace korvex::os;
using korvex::os::filetest::ReadFile;
using korvex::os::filetest::ReplaceCounter;
using korvex::os::filetest::OptionsKey;
using korvex::os::filetest::SandboxedEnvironment;

namespace fs = std::filesystem;

namespace {

constexpr const char* Data = "SOFTWARE\\Tellvar\\Data";

TRegValue Dword(int value) {
    return MakeDwordValue(static_cast<std::uint32_t>(value));
}

std::optional<TRegValue> StoredIn(const std::string& file, const char* key, const std::string& name) {
    return RegistryStore(file).GetValue(HKEY_LOCAL_MACHINE, key, name);
}

class RegistryBatch : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Store.CreateKey(HKEY_LOCAL_MACHINE, OptionsKey));
        ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Before", Dword(1)));
        Replaced.Take();
    }

    SandboxedEnvironment Env;
    RegistryStore Store {Env.RegistryFile()};
    ReplaceCounter Replaced {Env.RegistryFile()};
};

}

TEST_F(RegistryBatch, WritesTheFileOnceAtItsEnd) {
    std::string before = ReadFile(Env.RegistryFile());
    {
        TRegistryBatch batch(Store);
        TRegistry reg(Store);
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        for (const char* key : {"SOFTWARE\\Tellvar\\Label", "SOFTWARE\\Tellvar\\GetWU", Data}) {
            ASSERT_TRUE(reg.OpenKey(std::string("\\") + key, true));
            for (int i = 0; i < 100; ++i)
                reg.WriteInteger("Value" + std::to_string(i), i);
        }
        reg.DeleteValue("Value5");
        EXPECT_EQ(reg.ReadInteger("value99"), 99);   // the batch reads its own changes
        EXPECT_FALSE(reg.ValueExists("Value5"));
        EXPECT_EQ(Replaced.Take(), 0);
        EXPECT_EQ(ReadFile(Env.RegistryFile()), before);
    }
    EXPECT_EQ(Replaced.Take(), 1);
    RegistryStore fresh(Env.RegistryFile());
    EXPECT_EQ(fresh.GetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tellvar\\GetWU", "Value42"), Dword(42));
    EXPECT_EQ(fresh.GetValueNames(HKEY_LOCAL_MACHINE, Data).size(), 99u);
    EXPECT_EQ(fresh.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Before"), Dword(1));
}

TEST_F(RegistryBatch, NestedBatchesWriteWhenTheOutermostEnds) {
    Store.BeginUpdate();
    {
        TRegistryBatch inner(Store);
        ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Inner", Dword(2)));
        EXPECT_TRUE(inner.Commit());
        EXPECT_TRUE(inner.Commit());   // the same answer again
    }
    EXPECT_TRUE(Store.InUpdate());
    EXPECT_EQ(Replaced.Take(), 0);
    EXPECT_FALSE(StoredIn(Env.RegistryFile(), OptionsKey, "Inner"));
    ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Outer", Dword(3)));
    EXPECT_TRUE(Store.EndUpdate());
    EXPECT_FALSE(Store.InUpdate());
    EXPECT_EQ(Replaced.Take(), 1);
    EXPECT_EQ(StoredIn(Env.RegistryFile(), OptionsKey, "Inner"), Dword(2));
    EXPECT_EQ(StoredIn(Env.RegistryFile(), OptionsKey, "Outer"), Dword(3));
}

TEST_F(RegistryBatch, ReadsAndChangesThatChangeNothingWriteNothing) {
    {
        TRegistryBatch batch(Store);
        EXPECT_TRUE(Store.CreateKey(HKEY_LOCAL_MACHINE, OptionsKey));
        EXPECT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "BEFORE", Dword(1)));
        EXPECT_EQ(Store.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "before"), Dword(1));
    }
    {   // a value set and set back
        TRegistryBatch batch(Store);
        EXPECT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Before", Dword(5)));
        EXPECT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Before", Dword(1)));
    }
    EXPECT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Before", Dword(1)));   // outside a batch too
    EXPECT_EQ(Replaced.Take(), 0);
}

TEST_F(RegistryBatch, OtherThreadsSeeTheStoreAsItWasUntilTheBatchEnds) {
    TRegistryBatch batch(Store);
    ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Before", Dword(10)));
    ASSERT_TRUE(Store.CreateKey(HKEY_LOCAL_MACHINE, Data));
    ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, Data, "Progress0", Dword(50)));
    std::optional<TRegValue> seenBefore, seenProgress;
    bool seenData = true;
    std::thread reader([&] {
        seenBefore = Store.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Before");
        seenProgress = Store.GetValue(HKEY_LOCAL_MACHINE, Data, "Progress0");
        seenData = Store.KeyExists(HKEY_LOCAL_MACHINE, Data);
    });
    reader.join();
    EXPECT_EQ(seenBefore, Dword(1));
    EXPECT_FALSE(seenProgress);
    EXPECT_FALSE(seenData);
    ASSERT_TRUE(batch.Commit());
    std::thread after([&] { seenProgress = Store.GetValue(HKEY_LOCAL_MACHINE, Data, "Progress0"); });
    after.join();
    EXPECT_EQ(seenProgress, Dword(50));
}

TEST_F(RegistryBatch, AnotherThreadsChangeDuringABatchIsWrittenAtOnceAndKept) {
    TRegistryBatch batch(Store);
    ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Mine", Dword(1)));
    bool written = false;
    std::thread writer([&] { written = Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Theirs", Dword(2)); });
    writer.join();
    ASSERT_TRUE(written);
    EXPECT_EQ(Replaced.Take(), 1);
    EXPECT_EQ(StoredIn(Env.RegistryFile(), OptionsKey, "Theirs"), Dword(2));
    EXPECT_FALSE(StoredIn(Env.RegistryFile(), OptionsKey, "Mine"));
    EXPECT_EQ(Store.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Theirs"), Dword(2));   // seen inside the batch too
    EXPECT_EQ(
        Store.GetValueNames(HKEY_LOCAL_MACHINE, OptionsKey), (std::vector<std::string> {"Before", "Theirs", "Mine"}));
    ASSERT_TRUE(batch.Commit());
    EXPECT_EQ(StoredIn(Env.RegistryFile(), OptionsKey, "Theirs"), Dword(2));
    EXPECT_EQ(StoredIn(Env.RegistryFile(), OptionsKey, "Mine"), Dword(1));
}

TEST_F(RegistryBatch, KeepsWhatAnotherProcessWroteMeanwhile) {
    TRegistryBatch batch(Store);
    ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Parent", Dword(1)));
    std::string file = Env.RegistryFile();
    pid_t pid = ::fork();
    if (pid == 0) {
        RegistryStore own(file);
        bool ok = !own.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Parent")
            && own.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Child", Dword(2));
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(Store.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Child"));   // the file is checked again at the end
    ASSERT_TRUE(batch.Commit());
    EXPECT_EQ(Store.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Child"), Dword(2));
    RegistryStore fresh(file);
    EXPECT_EQ(fresh.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Child"), Dword(2));
    EXPECT_EQ(fresh.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Parent"), Dword(1));
}

TEST_F(RegistryBatch, AChangeThatNoLongerAppliesWhenTheBatchEndsIsDropped) {
    ASSERT_TRUE(Store.CreateKey(HKEY_LOCAL_MACHINE, Data));
    TRegistryBatch batch(Store);
    ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, Data, "Progress0", Dword(7)));
    ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Kept", Dword(8)));
    std::thread deleter([&] { Store.DeleteKey(HKEY_LOCAL_MACHINE, Data); });
    deleter.join();
    EXPECT_FALSE(Store.KeyExists(HKEY_LOCAL_MACHINE, Data));
    EXPECT_FALSE(Store.SetValue(HKEY_LOCAL_MACHINE, Data, "Progress1", Dword(9)));
    EXPECT_EQ(errno, ENOENT);
    ASSERT_TRUE(batch.Commit());
    RegistryStore fresh(Env.RegistryFile());
    EXPECT_FALSE(fresh.KeyExists(HKEY_LOCAL_MACHINE, Data));
    EXPECT_EQ(fresh.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Kept"), Dword(8));
}

TEST_F(RegistryBatch, AProcessKilledInsideABatchLeavesTheFileAsItWasBefore) {
    std::string file = Env.RegistryFile();
    std::string before = ReadFile(file);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t pid = ::fork();
    if (pid == 0) {
        RegistryStore own(file);
        own.BeginUpdate();
        own.CreateKey(HKEY_LOCAL_MACHINE, Data);
        for (int i = 0; i < 200; ++i)
            own.SetValue(HKEY_LOCAL_MACHINE, Data, "Progress" + std::to_string(i), Dword(i));
        own.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Before", Dword(99));
        (void)!::write(ready[1], "x", 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(Replaced.Take(), 0);
    RegistryStore check(file);
    EXPECT_FALSE(check.KeyExists(HKEY_LOCAL_MACHINE, Data));
    EXPECT_EQ(check.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Before"), Dword(1));
    EXPECT_TRUE(check.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "After", Dword(2)));   // nothing left locked
}

TEST_F(RegistryBatch, ABatchThatCannotBeWrittenIsDroppedAndSaysSo) {
    TRegistryBatch batch(Store);
    ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Lost", Dword(1)));
    fs::create_directories(Env.RegistryFile() + ".tmp/blocker");   // the temporary file cannot be made
    errno = 0;
    EXPECT_FALSE(batch.Commit());
    EXPECT_NE(errno, 0);
    EXPECT_FALSE(batch.Commit());
    EXPECT_FALSE(Store.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Lost"));
    EXPECT_EQ(Store.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Before"), Dword(1));
    fs::remove_all(Env.RegistryFile() + ".tmp");
    EXPECT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Later", Dword(2)));
    EXPECT_EQ(StoredIn(Env.RegistryFile(), OptionsKey, "Later"), Dword(2));
}

TEST_F(RegistryBatch, EndUpdateWithoutABatchOnThisThreadFails) {
    errno = 0;
    EXPECT_FALSE(Store.EndUpdate());
    EXPECT_EQ(errno, EINVAL);
    Store.BeginUpdate();
    bool otherEnds = true;
    std::thread other([&] { otherEnds = Store.EndUpdate(); });   // the batch is this thread's
    other.join();
    EXPECT_FALSE(otherEnds);
    EXPECT_TRUE(Store.InUpdate());
    EXPECT_TRUE(Store.EndUpdate());
}

TEST_F(RegistryBatch, AnExceptionLeavingTheScopeStillWritesWhatWasChanged) {
    try {
        TRegistryBatch batch(Store);
        Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Default", Dword(4));
        throw std::runtime_error("wrong type");
    } catch (const std::runtime_error&) { }
    EXPECT_FALSE(Store.InUpdate());
    EXPECT_EQ(StoredIn(Env.RegistryFile(), OptionsKey, "Default"), Dword(4));
}

TEST_F(RegistryBatch, TheRunValueWritesTheAutostartEntryWhenTheBatchEnds) {
    std::string entry = Env.ConfigHome() + "/autostart/korvex.desktop";
    const char* run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    {
        TRegistryBatch batch(Store);
        ASSERT_TRUE(Store.CreateKey(HKEY_LOCAL_MACHINE, run));
        ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, run, "Tellvar", MakeStringValue("/opt/korvex")));
        EXPECT_FALSE(fs::exists(entry));
    }
    EXPECT_NE(ReadFile(entry).find("Exec=/opt/korvex\n"), std::string::npos);
    {
        TRegistryBatch batch(Store);
        ASSERT_TRUE(Store.DeleteValue(HKEY_LOCAL_MACHINE, run, "TELLVAR"));
        EXPECT_TRUE(fs::exists(entry));
    }
    EXPECT_FALSE(fs::exists(entry));
}

TEST_F(RegistryBatch, TheDefaultStoreBatchesThroughTheAccessor) {
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ReplaceCounter replaced(RegistryStore::Default().FilePath());
    {
        TRegistryBatch batch;
        ASSERT_TRUE(reg.OpenKey(OptionsKey, true));
        for (int i = 0; i < 20; ++i)
            reg.WriteString("Label" + std::to_string(i), "node");
        EXPECT_EQ(reg.GetValueNames().size(), 21u);   // with the one written before
    }
    EXPECT_EQ(replaced.Take(), 1);
    EXPECT_EQ(RegistryStore(Env.RegistryFile()).GetValueNames(HKEY_LOCAL_MACHINE, OptionsKey).size(), 21u);
}

TEST_F(RegistryBatch, TheDefaultStoreMovedToAnotherFileInsideABatchReadsThatFile) {
    TRegistryBatch batch;
    EXPECT_EQ(RegistryStore::Default().GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Before"), Dword(1));
    std::string other = Env.Folder() / "other.reg";
    ASSERT_TRUE(RegistryStore(other).CreateKey(HKEY_LOCAL_MACHINE, OptionsKey));
    ASSERT_TRUE(RegistryStore(other).SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Before", Dword(2)));
    korvex::os::filetest::EnvOverride moved("KORVEX_REGISTRY", other);
    EXPECT_EQ(RegistryStore::Default().GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Before"), Dword(2));
    ASSERT_TRUE(RegistryStore::Default().SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Moved", Dword(3)));
    ASSERT_TRUE(batch.Commit());
    EXPECT_EQ(StoredIn(other, OptionsKey, "Moved"), Dword(3));
    EXPECT_FALSE(StoredIn(Env.RegistryFile(), OptionsKey, "Moved"));
}
