// client.cfg edits on real-shaped files: values shorter and longer, keys inside other keys, line ends kept.
#include "app/nodes/ClientConfig.h"

#include "support/ClientFiles.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace korvex;
using namespace korvex::app;

namespace {

// A console client's configuration with the given line end.
std::string Config(const std::string& eol, const std::string& machineLine = "machineid=12",
    const std::string& typeLine = "type=3", const std::string& memoryLine = "memory=1024") {
    return "[settings]" + eol + "username=Tellvar" + eol + "team=12345" + eol + "asknet=no" + eol + machineLine
        + eol + "local=12" + eol + memoryLine + eol + eol + "[http]" + eol + "active=no" + eol + eol
        + "[clienttype]" + eol + typeLine + eol;
}

struct EditCase {
    const char* Label;
    std::string Before;
    TClientConfigEdit Edit;
    std::string After;
};

TClientConfigEdit CacheEdit(int type, int machineId) {
    return {machineId, type, CacheClientMemory, false};
}

TClientConfigEdit TypeEdit(int type) {
    TClientConfigEdit edit;
    edit.Type = type;
    edit.AddMissingType = true;
    return edit;
}

class ClientConfigEditTest : public testing::TestWithParam<EditCase> { };

TEST_P(ClientConfigEditTest, EditsOnlyTheValuesOfItsKeys) {
    EXPECT_EQ(EditClientConfig(GetParam().Before, GetParam().Edit), GetParam().After);
}

INSTANTIATE_TEST_SUITE_P(ClientConfig, ClientConfigEditTest,
    testing::Values(
        EditCase {"ShorterValuesLeaveNoTailWithLf", Config("\n"), CacheEdit(1, 7),
            Config("\n", "machineid=7", "type=1", "memory=768")},
        EditCase {"ShorterValuesKeepCrLf", Config("\r\n"), CacheEdit(1, 7),
            Config("\r\n", "machineid=7", "type=1", "memory=768")},
        EditCase {"LongerValuesDoNotReachTheNextLine", Config("\n", "machineid=1", "type=3", "memory=64"),
            CacheEdit(12, 8), Config("\n", "machineid=8", "type=12", "memory=768")},
        EditCase {"MissingValuesAreFilled", Config("\r\n", "machineid=", "type=", "memory="), CacheEdit(2, 3),
            Config("\r\n", "machineid=3", "type=2", "memory=768")},
        EditCase {"KeysInsideOtherKeysStay", "cputype=5\nsubtype=2\ntype=3\nmachineidx=4\n", CacheEdit(1, 6),
            "cputype=5\nsubtype=2\ntype=1\nmachineidx=4\n"},
        EditCase {"BlanksAroundTheKeyAreKept", "  type = 3\n", TypeEdit(4), "  type =4\n"},
        EditCase {"EveryTypeLineIsRewritten", "type=3\n[x]\ntype=0\n", TypeEdit(2), "type=2\n[x]\ntype=2\n"},
        EditCase {"NoFinalNewlineKeepsTheLastByte", "machineid=1\ntype=3", CacheEdit(4, 2),
            "machineid=2\ntype=4"},
        EditCase {"AKeyThatEndsTheFileIsFilled", "memory=64\nmachineid=", CacheEdit(2, 8), "memory=768\nmachineid=8"},
        EditCase {"AFinalCrBecomesLf", "type=3\r", TypeEdit(1), "type=1\n"},
        EditCase {"AFinalCrBecomesLfInACacheEdit", "machineid=1\r", CacheEdit(3, 5), "machineid=5\n"},
        EditCase {"OtherValuesNeedNotBeSet", Config("\n"), TypeEdit(0), Config("\n", "machineid=12", "type=0")},
        EditCase {"TypeGoesRightAfterTheSectionHeader", "[settings]\nteam=1\n[clienttype]\n[core]\nx=1\n",
            TypeEdit(1), "[settings]\nteam=1\n[clienttype]\ntype=1\n[core]\nx=1\n"},
        EditCase {"TypeAfterACrLfHeaderUsesCrLf", "[clienttype]\r\nx=1\r\n", TypeEdit(2),
            "[clienttype]\r\ntype=2\r\nx=1\r\n"},
        EditCase {"HeaderWithoutLineEndGetsOne", "a=1\r\n[clienttype]", TypeEdit(2), "a=1\r\n[clienttype]\r\ntype=2\r\n"},
        EditCase {"NoSectionAppendsOne", "[settings]\nteam=1\n", TypeEdit(3),
            "[settings]\nteam=1\n[clienttype]\ntype=3\n\n"},
        EditCase {"NoSectionInACrLfFileAppendsItInLineFeeds", "[settings]\r\nteam=1\r\n", TypeEdit(3),
            "[settings]\r\nteam=1\r\n[clienttype]\ntype=3\n\n"},
        EditCase {"NoSectionAfterAFinalCrReplacesIt", "team=1\r", TypeEdit(2), "team=1\n[clienttype]\ntype=2\n\n"},
        EditCase {"NoSectionWithoutFinalNewline", "[settings]\r\nteam=1", TypeEdit(3),
            "[settings]\r\nteam=1\n[clienttype]\ntype=3\n\n"},
        EditCase {"EmptyFileGetsTheSection", "", TypeEdit(0), "[clienttype]\ntype=0\n\n"},
        EditCase {"CacheEditAddsNoMissingType", "machineid=1\n", CacheEdit(3, 5), "machineid=5\n"}),
    [](const testing::TestParamInfo<EditCase>& info) { return std::string(info.param.Label); });

TEST(ClientConfig, TypeReadTakesTheLastNumberOfAnExactTypeKey) {
    EXPECT_EQ(ClientConfigType("type=2\n[x]\ntype=4\r\n", 3), 4);
    EXPECT_EQ(ClientConfigType("type=abc\n", 3), 3);
    EXPECT_EQ(ClientConfigType("cputype=1\nmemory=5\n", 3), 3);
    EXPECT_EQ(ClientConfigType("type=1\ntype=x\n", 3), 1);
    EXPECT_EQ(ClientConfigType("", 2), 2);
}

class ClientConfigFileTest : public testing::Test {
protected:
    test::TTempDir dir;
    std::string file = dir.File("client.cfg");
};

TEST_F(ClientConfigFileTest, ReClientEditsTheFileAndLeavesNoTemporaryFile) {
    test::WriteFile(file, Config("\r\n"));
    ASSERT_TRUE(ReClient(1, 7, file));
    EXPECT_EQ(test::ReadFileText(file), Config("\r\n", "machineid=7", "type=1", "memory=768"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(ClientConfigFileTest, MissingFileIsLeftAlone) {
    EXPECT_FALSE(ReClient(1, 7, file));
    EXPECT_FALSE(WriteClientCoreType(dir.Path(), 2));
    EXPECT_EQ(ReadClientCoreType(dir.Path(), 4), 4);
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ClientConfigFileTest, CoreTypeReadAndWrittenInTheNodeFolderWhateverTheNameCase) {
    test::WriteFile(dir.File("Client.CFG"), "[settings]\nteam=1\n");
    EXPECT_EQ(ReadClientCoreType(dir.Path(), 3), 3);
    ASSERT_TRUE(WriteClientCoreType(dir.Path(), 1));
    EXPECT_EQ(ReadClientCoreType(dir.Path(), 3), 1);
    EXPECT_EQ(test::ReadFileText(dir.File("Client.CFG")), "[settings]\nteam=1\n[clienttype]\ntype=1\n\n");
}

TEST_F(ClientConfigFileTest, WriteThatFailsHalfWayKeepsTheOldFile) {
    // A large file and a child whose file size limit stops the new copy half-way.
    std::string text = Config("\n");
    while (text.size() < 8192)
        text += "comment=" + std::string(60, 'x') + "\n";
    test::WriteFile(file, text);
    EXPECT_TRUE(test::WithFileSizeLimit(4096, [&] { return !ReClient(1, 7, file); }));
    EXPECT_EQ(test::ReadFileText(file), text);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

}
