// Tests of held settings changes: in the store at once for every thread, in the file at its next write, kept
// across another process's write, kept when the write fails.
#include "platform/os/RegistryBatch.h"
#include "platform/os/Registry.h"
#include "support/ReplaceCounter.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace korvex::os;
using korvex::os::filetest::OptionsKey;
using korvex::os::filetest::ReadFile;
using korvex::os::filetest::ReplaceCounter;
using korvex::os::filetest::SandboxedEnvironment;

namespace fs = std::filesystem;

namespace {

constexpr const char* HeldData = "SOFTWARE\\Tellvar\\Data";

TRegValue HeldDword(int value) {
    return MakeDwordValue(static_cast<std::uint32_t>(value));
}

std::optional<TRegValue> HeldInFile(const std::string& file, const char* key, const std::string& name) {
    return RegistryStore(file).GetValue(HKEY_LOCAL_MACHINE, key, name);
}

class RegistryHold : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Store.CreateKey(HKEY_LOCAL_MACHINE, OptionsKey));
        ASSERT_TRUE(Store.CreateKey(HKEY_LOCAL_MACHINE, HeldData));
        ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Before", HeldDword(1)));
        Writes = std::make_unique<ReplaceCounter>(Env.RegistryFile());
    }

    SandboxedEnvironment Env;
    RegistryStore Store {Env.RegistryFile()};
    std::unique_ptr<ReplaceCounter> Writes;
};

}

TEST_F(RegistryHold, HeldChangesAreInTheStoreForEveryThreadAtOnceAndInTheFileAtTheWrite) {
    const std::string before = ReadFile(Env.RegistryFile());
    std::thread node([&] {
        TRegistryHold hold(Store);
        for (int i = 0; i < 50; ++i)
            ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, HeldData, "BackLevel" + std::to_string(i), HeldDword(i)));
        ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, HeldData, "BackLevel7", HeldDword(70)));
    });
    node.join();
    EXPECT_EQ(Writes->Take(), 0);
    EXPECT_EQ(ReadFile(Env.RegistryFile()), before);
    EXPECT_TRUE(Store.HasHeld());
    // Another thread, outside any hold, reads them.
    std::optional<TRegValue> seen;
    std::thread reader([&] { seen = Store.GetValue(HKEY_LOCAL_MACHINE, HeldData, "BackLevel7"); });
    reader.join();
    EXPECT_EQ(seen, HeldDword(70));
    EXPECT_EQ(Store.GetValueNames(HKEY_LOCAL_MACHINE, HeldData).size(), 50u);

    EXPECT_TRUE(Store.WriteHeld());
    EXPECT_EQ(Writes->Take(), 1);
    EXPECT_FALSE(Store.HasHeld());
    EXPECT_EQ(HeldInFile(Env.RegistryFile(), HeldData, "BackLevel7"), HeldDword(70));
    EXPECT_EQ(HeldInFile(Env.RegistryFile(), HeldData, "BackLevel49"), HeldDword(49));
    EXPECT_TRUE(Store.WriteHeld());   // nothing held: nothing written
    EXPECT_EQ(Writes->Take(), 0);
}

TEST_F(RegistryHold, AChangeWrittenThroughByAnotherThreadTakesTheHeldOnesAlong) {
    {
        TRegistryHold hold(Store);
        ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, HeldData, "Gromacs0", MakeDwordValue(8)));
    }
    std::thread options([&] { ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Update", HeldDword(2))); });
    options.join();
    EXPECT_EQ(Writes->Take(), 1);
    EXPECT_FALSE(Store.HasHeld());
    EXPECT_TRUE(HeldInFile(Env.RegistryFile(), HeldData, "Gromacs0"));
    EXPECT_EQ(HeldInFile(Env.RegistryFile(), OptionsKey, "Update"), HeldDword(2));
}

TEST_F(RegistryHold, HeldChangesOutliveAnotherProcessesWriteAndBothReachTheFile) {
    {
        TRegistryHold hold(Store);
        ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, HeldData, "Progress0", HeldDword(42)));
    }
    const std::string file = Env.RegistryFile();
    const pid_t pid = ::fork();
    if (pid == 0) {
        RegistryStore own(file);
        const bool ok = !own.GetValue(HKEY_LOCAL_MACHINE, HeldData, "Progress0")
            && own.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Child", HeldDword(2));
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // The store reads the other process's file and keeps what it holds on top.
    EXPECT_EQ(Store.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Child"), HeldDword(2));
    EXPECT_EQ(Store.GetValue(HKEY_LOCAL_MACHINE, HeldData, "Progress0"), HeldDword(42));
    ASSERT_TRUE(Store.WriteHeld());
    EXPECT_EQ(HeldInFile(file, OptionsKey, "Child"), HeldDword(2));
    EXPECT_EQ(HeldInFile(file, HeldData, "Progress0"), HeldDword(42));
}

TEST_F(RegistryHold, AWriteThatFailsKeepsThemHeldForTheNextOne) {
    {
        TRegistryHold hold(Store);
        ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, HeldData, "BackLevel3", HeldDword(30)));
    }
    fs::create_directories(Env.RegistryFile() + ".tmp/blocker");   // the temporary file cannot be made
    errno = 0;
    EXPECT_FALSE(Store.WriteHeld());
    EXPECT_NE(errno, 0);
    EXPECT_TRUE(Store.HasHeld());
    EXPECT_EQ(Store.GetValue(HKEY_LOCAL_MACHINE, HeldData, "BackLevel3"), HeldDword(30));
    fs::remove_all(Env.RegistryFile() + ".tmp");
    EXPECT_TRUE(Store.WriteHeld());
    EXPECT_EQ(HeldInFile(Env.RegistryFile(), HeldData, "BackLevel3"), HeldDword(30));
}

TEST_F(RegistryHold, OnlyTheThreadInsideTheHoldIsHeldAndItsOwnBatchStaysItsOwn) {
    TRegistryHold hold(Store);
    std::thread other([&] { ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Other", HeldDword(5))); });
    other.join();
    EXPECT_EQ(Writes->Take(), 1);   // written through as ever
    {
        TRegistryBatch batch(Store);
        ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Batched", HeldDword(6)));
        std::optional<TRegValue> seen = HeldDword(0);
        std::thread reader([&] { seen = Store.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Batched"); });
        reader.join();
        EXPECT_FALSE(seen);
    }
    EXPECT_EQ(Writes->Take(), 1);   // the batch's end
    EXPECT_EQ(HeldInFile(Env.RegistryFile(), OptionsKey, "Batched"), HeldDword(6));
    EXPECT_FALSE(Store.HasHeld());
}

TEST_F(RegistryHold, AValueDeletedAfterItWasHeldStaysDeletedWhenTheFileIsReadAgain) {
    {
        TRegistryHold hold(Store);
        ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, HeldData, "Amber0", HeldDword(1)));
        ASSERT_TRUE(Store.DeleteValue(HKEY_LOCAL_MACHINE, HeldData, "Amber0"));
        ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, HeldData, "Tinker0", HeldDword(2)));
        ASSERT_TRUE(Store.SetValue(HKEY_LOCAL_MACHINE, HeldData, "Amber0", HeldDword(3)));
        ASSERT_TRUE(Store.DeleteValue(HKEY_LOCAL_MACHINE, HeldData, "Tinker0"));
    }
    // Another process's write makes the store read the file again, and make the held changes again in order.
    const pid_t pid = ::fork();
    if (pid == 0) {
        RegistryStore own(Env.RegistryFile());
        ::_exit(own.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Child", HeldDword(1)) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Store.GetValue(HKEY_LOCAL_MACHINE, HeldData, "Amber0"), HeldDword(3));
    EXPECT_FALSE(Store.GetValue(HKEY_LOCAL_MACHINE, HeldData, "Tinker0"));
    ASSERT_TRUE(Store.WriteHeld());
    EXPECT_EQ(HeldInFile(Env.RegistryFile(), HeldData, "Amber0"), HeldDword(3));
    EXPECT_FALSE(HeldInFile(Env.RegistryFile(), HeldData, "Tinker0"));
}
