// The work-unit history file: recording units once, loading it back streamed, and writing each change to it at
// once, safely.
#include "app/nodes/WorkUnitHistory.h"
#include "app/views/HistoryTable.h"
#include "support/AppEnvironment.h"
#include "support/FileSizeLimit.h"

#include "platform/base/DateTime.h"
#include "platform/base/ScopeGuard.h"
#include "platform/os/TextFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

// Bytes allocated while counting is on: what reading a file costs beyond the lines it keeps.
namespace {
std::atomic<bool> Counting {false};
std::atomic<std::size_t> Allocated {0};
}

// Not inlined, so the compiler does not take a new-expression's pointer reaching free() for a mismatch.
[[gnu::noinline]] void* operator new(std::size_t size) {
    if (Counting) Allocated += size;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace korvex::app {
namespace {

std::size_t AllocatedBy(const std::function<void()>& work) {
    Allocated = 0;
    Counting = true;
    work();
    Counting = false;
    return Allocated;
}

ino_t Inode(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

std::string Lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "[05.12.2024 20:10:15] p2605_x*" + std::to_string(i) + "-33-12#120=node" + std::to_string(i % 200)
            + (i % 2 ? "@10.00" : "") + "\r\n";
    return text;
}

const base::TDateTime Seen = base::EncodeDateTime(2024, 12, 5, 20, 10, 15, 0);

class WorkUnitHistoryTest : public testing::Test {
protected:
    void SetUp() override { env.SetNow(Seen); }

    test::TAppEnvironment env;
};

TEST_F(WorkUnitHistoryTest, SaveWUAppendsOneLineInTheFixedFormat) {
    TWorkUnitHistory history;
    EXPECT_TRUE(history.SaveWU("p2605_Protein in water", "5-33-12", 120, "Local host"));
    // In the file at once, at its end, by a new file renamed over it: the old one is never written into, so a
    // crash in the middle of the write leaves no half line.
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"), "[05.12.2024 20:10:15] p2605_Protein in water*5-33-12#120=Local host\r\n");
    EXPECT_FALSE(history.Dirty());
    std::filesystem::create_hard_link(env.File("KORVEX.WUS"), env.File("first.wus"));
    EXPECT_TRUE(history.SaveWU("p2008_BBA5", "1-2-3", 218, "box"));
    EXPECT_NE(Inode(env.File("KORVEX.WUS")), Inode(env.File("first.wus")));
    EXPECT_EQ(env.ReadFile("first.wus"), "[05.12.2024 20:10:15] p2605_Protein in water*5-33-12#120=Local host\r\n");
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"),
        "[05.12.2024 20:10:15] p2605_Protein in water*5-33-12#120=Local host\r\n"
        "[05.12.2024 20:10:15] p2008_BBA5*1-2-3#218=box\r\n");
    ASSERT_EQ(history.Count(), 2);
    EXPECT_EQ(history.Entries()[0], (THistoryEntry {"p2605_Protein in water", "5-33-12", "5.12", "05.12.2024"}));
}

TEST_F(WorkUnitHistoryTest, KnownUnitIsWrittenOnceAlsoAfterARestart) {
    {
        TWorkUnitHistory history;
        history.Load();
        EXPECT_TRUE(history.SaveWU("p2008_BBA5", "1-2-3", 218, "box"));
        EXPECT_FALSE(history.SaveWU("p2008_BBA5", "1-2-3", 218, "box"));
        EXPECT_TRUE(history.Flush());
    }
    TWorkUnitHistory restarted;
    restarted.Load();
    EXPECT_TRUE(restarted.IsKnown("p2008_BBA5", "1-2-3"));
    EXPECT_FALSE(restarted.SaveWU("p2008_BBA5", "1-2-3", 218, "box"));
    EXPECT_EQ(restarted.Count(), 1);
}

TEST_F(WorkUnitHistoryTest, RunCloneGenInsideALongerOneIsANewUnit) {
    TWorkUnitHistory history;
    ASSERT_TRUE(history.SaveWU("p2008_BBA5", "11-2-33", 218, "box"));
    EXPECT_FALSE(history.IsKnown("p2008_BBA5", "1-2-3"));
    EXPECT_TRUE(history.SaveWU("p2008_BBA5", "1-2-3", 218, "box"));
    EXPECT_FALSE(history.IsKnown("p2008", "11-2-33"));   // names compare whole too
    EXPECT_EQ(history.Count(), 2);
}

TEST_F(WorkUnitHistoryTest, UnitWithoutNameOrRunCloneGenIsNeverRecorded) {
    TWorkUnitHistory history;
    for (int cycle = 0; cycle < 3; ++cycle) {
        EXPECT_FALSE(history.SaveWU("", "5-33-12", 0, "box"));
        EXPECT_FALSE(history.SaveWU("p2605_x", "", 120, "box"));
    }
    EXPECT_EQ(history.Count(), 0);
    EXPECT_FALSE(std::filesystem::exists(env.File("KORVEX.WUS")));
    EXPECT_FALSE(history.IsKnown("", ""));
}

TEST_F(WorkUnitHistoryTest, LoadTakesNameRunCloneGenAndDateFragmentOfEveryLine) {
    test::WriteFile(env.File("KORVEX.WUS"),
        "[05.12.2024 20:10:15] p2605_x*5-33-12#120=box@10.50\r\n"
        "[17.01.2025 08:00:00] p2008_BBA5*1-2-3#218=Local host\n"
        "no marks at all\r\n"
        "\r\n"
        "]*#\r\n");
    TWorkUnitHistory history;
    history.Load();
    std::vector<THistoryEntry> entries = history.Entries();
    ASSERT_EQ(entries.size(), 5u);   // the blank line is an entry too, with nothing in it
    EXPECT_EQ(entries[3], (THistoryEntry {}));
    EXPECT_EQ(entries[0], (THistoryEntry {"p2605_x", "5-33-12", "5.12", "05.12.2024"}));
    EXPECT_EQ(entries[1], (THistoryEntry {"p2008_BBA5", "1-2-3", "7.01", "17.01.2025"}));
    EXPECT_TRUE(history.IsKnown("p2008_BBA5", "1-2-3"));
    EXPECT_FALSE(history.IsKnown("no marks at all", ""));
}

TEST_F(WorkUnitHistoryTest, ANewUnitAfterALastLineWithoutItsEndStandsOnItsOwnLine) {
    // Written as a new file renamed over the old one (a kill inside an append could leave half a line): the
    // old lines stay as they were, the last one ended, and no temporary file is left.
    const std::string old = "[01.12.2024 10:00:00] p1_a*1-1-1#5=x\r\n[02.12.2024 10:00:00] p2_b*2-2-2#5=y";
    {
        std::ofstream(env.File("KORVEX.WUS"), std::ios::binary) << old;
    }
    TWorkUnitHistory history;
    EXPECT_TRUE(history.SaveWU("p2605_x", "5-33-12", 120, "box"));
    EXPECT_TRUE(history.Flush());
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"), old + "\r\n[05.12.2024 20:10:15] p2605_x*5-33-12#120=box\r\n");
    EXPECT_FALSE(std::filesystem::exists(env.File("KORVEX.WUN")));
    TWorkUnitHistory restarted;
    restarted.Load();
    EXPECT_EQ(restarted.Count(), 3);
    EXPECT_TRUE(restarted.IsKnown("p2605_x", "5-33-12"));   // not recorded again at the next start
    EXPECT_TRUE(restarted.IsKnown("p2_b", "2-2-2"));
}

TEST_F(WorkUnitHistoryTest, MissingFileLoadsAnEmptyList) {
    TWorkUnitHistory history;
    history.Load();
    EXPECT_EQ(history.Count(), 0);
}

TEST_F(WorkUnitHistoryTest, FileThatCannotBeReadIsNeverWrittenOver) {
    std::filesystem::create_directory(env.File("KORVEX.WUS"));
    TWorkUnitHistory history;
    history.Load();
    EXPECT_FALSE(history.SaveWU("p2605_x", "5-33-12", 120, "box"));
    EXPECT_EQ(history.Count(), 0);
    EXPECT_FALSE(history.Dirty());
    std::filesystem::remove(env.File("KORVEX.WUS"));
    EXPECT_TRUE(history.SaveWU("p2605_x", "5-33-12", 120, "box"));
}

TEST_F(WorkUnitHistoryTest, AWriteThatFailsKeepsTheChangesForTheNextFlush) {
    const std::string text = "[05.12.2024 20:10:15] p2605_x*5-33-12#120=box\r\n";
    test::WriteFile(env.File("KORVEX.WUS"), text);
    TWorkUnitHistory history;
    history.Load();
    std::filesystem::create_directories(env.File("KORVEX.WUN/inside"));   // the rewrite cannot make its temporary file
    EXPECT_TRUE(history.ReSaveWU("p2605_x", "5-33-12", 10));
    EXPECT_TRUE(history.Dirty());
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"), text);
    std::filesystem::remove_all(env.File("KORVEX.WUN"));
    EXPECT_TRUE(history.Flush());
    EXPECT_FALSE(history.Dirty());
    EXPECT_FALSE(std::filesystem::exists(env.File("KORVEX.WUN")));
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"), "[05.12.2024 20:10:15] p2605_x*5-33-12#120=box@10.00\r\n");
}

// A new unit's write cut short (a full disk, here the file size limit of a child): the file keeps its lines and
// no half line, since the new line reaches it only with a whole new file; the unit is written next time.
TEST_F(WorkUnitHistoryTest, ANewUnitWhoseWriteIsCutShortLeavesNoHalfLine) {
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "[05.12.2024 20:10:15] p2605_x*5-33-" + std::to_string(i) + "#120=box\r\n";
    test::WriteFile(env.File("KORVEX.WUS"), text);
    EXPECT_TRUE(test::WithFileSizeLimit(std::int64_t(text.size()) + 20, [] {
        TWorkUnitHistory history;
        return !history.SaveWU("p2605_new", "1-2-3", 120, "box") && !history.IsKnown("p2605_new", "1-2-3");
    }));
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"), text);
    EXPECT_FALSE(std::filesystem::exists(env.File("KORVEX.WUN")));
    TWorkUnitHistory history;
    ASSERT_TRUE(history.SaveWU("p2605_new", "1-2-3", 120, "box"));
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"), text + "[05.12.2024 20:10:15] p2605_new*1-2-3#120=box\r\n");
}

// A new unit that cannot be written is told in the program log, not dropped without a word, and is not listed,
// so the next refresh writes it.
TEST_F(WorkUnitHistoryTest, ANewUnitThatCannotBeWrittenIsLoggedAndWrittenNextTime) {
    TWorkUnitHistory history;
    history.Load();
    std::filesystem::create_directories(env.File("KORVEX.WUN/inside"));   // the new file cannot be made
    EXPECT_FALSE(history.SaveWU("p2605_x", "5-33-12", 120, "box"));
    EXPECT_FALSE(history.IsKnown("p2605_x", "5-33-12"));
    const std::string log = env.ReadFile("KORVEX.LOG");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_NE(log.find("KORVEX.WUS not written: "), std::string::npos) << log;
    std::filesystem::remove_all(env.File("KORVEX.WUN"));
    ASSERT_TRUE(history.SaveWU("p2605_x", "5-33-12", 120, "box"));
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"), "[05.12.2024 20:10:15] p2605_x*5-33-12#120=box\r\n");
}

// The units known are those of the file on disk: a unit that a backup restored over the file no longer holds is
// recorded again (a list kept from the load alone would take it for known and never write it), and the restored
// lines stay.
TEST_F(WorkUnitHistoryTest, AUnitARestoredFileNoLongerHoldsIsRecordedAgain) {
    test::WriteFile(env.File("KORVEX.WUS"), Lines(2));
    TWorkUnitHistory history;
    history.Load();
    ASSERT_TRUE(history.SaveWU("p2605_new", "1-1-1", 120, "node1"));
    test::WriteFile(env.File("backup.wus"), Lines(3));
    std::filesystem::rename(env.File("backup.wus"), env.File("KORVEX.WUS"));
    ASSERT_TRUE(history.SaveWU("p2605_new", "1-1-1", 120, "node1"));
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"), Lines(3) + "[05.12.2024 20:10:15] p2605_new*1-1-1#120=node1\r\n");
}

TEST_F(WorkUnitHistoryTest, ReSaveWUSetsAndReplacesTheSpeedOfTheLastMatchingLine) {
    test::WriteFile(env.File("KORVEX.WUS"),
        "[05.12.2024 20:10:15] p2605_x*5-33-12#120=box\r\n"
        "[05.12.2024 21:00:00] p2008_BBA5*1-2-3#218=Local host@3.00\r\n"
        "[06.12.2024 09:00:00] p2605_y*5-33-12#120=other\r\n"
        "[06.12.2024 10:00:00] p2605_z*5-33-1#120=third\r\n");
    TWorkUnitHistory history;
    EXPECT_TRUE(history.ReSaveWU("p2605_Protein", "5-33-12", 12.345));
    EXPECT_TRUE(history.ReSaveWU("p2008_BBA5", "1-2-3", 0));
    EXPECT_TRUE(history.Flush());
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"),
        "[05.12.2024 20:10:15] p2605_x*5-33-12#120=box\r\n"
        "[05.12.2024 21:00:00] p2008_BBA5*1-2-3#218=Local host@0\r\n"
        "[06.12.2024 09:00:00] p2605_y*5-33-12#120=other@12.35\r\n"
        "[06.12.2024 10:00:00] p2605_z*5-33-1#120=third\r\n");
    EXPECT_TRUE(history.ReSaveWU("p2605_Protein", "5-33-12", 40.5));
    EXPECT_TRUE(history.Flush());
    EXPECT_NE(env.ReadFile("KORVEX.WUS").find("=other@40.50\r\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(env.File("KORVEX.WUN")));
}

TEST_F(WorkUnitHistoryTest, ReSaveWUWithoutAMatchLeavesTheFileAlone) {
    const std::string text = "[05.12.2024 20:10:15] p2605_x*5-33-12#120=box\r\n";
    test::WriteFile(env.File("KORVEX.WUS"), text);
    TWorkUnitHistory history;
    EXPECT_FALSE(history.ReSaveWU("p2605_x", "5-33-1", 10));
    EXPECT_FALSE(history.ReSaveWU("p9999_x", "5-33-12", 10));
    EXPECT_FALSE(history.ReSaveWU("p2605_x", "", 10));
    EXPECT_FALSE(history.Dirty());
    EXPECT_TRUE(history.Flush());
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"), text);
    std::filesystem::remove(env.File("KORVEX.WUS"));
    TWorkUnitHistory missing;
    EXPECT_FALSE(missing.ReSaveWU("p2605_x", "5-33-12", 10));
    EXPECT_TRUE(missing.Flush());
    EXPECT_FALSE(std::filesystem::exists(env.File("KORVEX.WUS")));
}

TEST_F(WorkUnitHistoryTest, RewriteThatCannotCreateTheTemporaryFileKeepsTheOldFile) {
    const std::string text = "[05.12.2024 20:10:15] p2605_x*5-33-12#120=box\r\n";
    test::WriteFile(env.File("KORVEX.WUS"), text);
    std::filesystem::create_directory(env.File("KORVEX.WUN"));
    TWorkUnitHistory history;
    EXPECT_TRUE(history.ReSaveWU("p2605_x", "5-33-12", 10));
    EXPECT_FALSE(history.Flush());
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"), text);
}

TEST_F(WorkUnitHistoryTest, RewriteThatFailsWhileWritingKeepsTheOldFileAndRemovesTheTemporaryOne) {
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "[05.12.2024 20:10:15] p2605_x*5-33-" + std::to_string(i) + "#120=box\r\n";
    test::WriteFile(env.File("KORVEX.WUS"), text);
    // A child whose file size limit stops the write half-way.
    EXPECT_TRUE(test::WithFileSizeLimit(1024, [] {
        TWorkUnitHistory history;
        return history.ReSaveWU("p2605_x", "5-33-7", 10) && !history.Flush();
    }));
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"), text);
    EXPECT_FALSE(std::filesystem::exists(env.File("KORVEX.WUN")));
}

// Marks and line breaks inside a field must not move the fields of the line or split it.
struct FieldCase {
    const char* Label;
    std::string Name, Rcg, Node;
};

class HistoryFieldTest : public WorkUnitHistoryTest, public testing::WithParamInterface<FieldCase> { };

TEST_P(HistoryFieldTest, UnitReadsBackAsItselfAndIsWrittenOnceAcrossReloads) {
    const FieldCase& c = GetParam();
    {
        TWorkUnitHistory history;
        ASSERT_TRUE(history.SaveWU(c.Name, c.Rcg, 7, c.Node));
        EXPECT_FALSE(history.SaveWU(c.Name, c.Rcg, 7, c.Node));
        EXPECT_EQ(history.Entries().at(0), (THistoryEntry {c.Name, c.Rcg, "5.12", "05.12.2024"}));
        EXPECT_TRUE(history.Flush());
    }
    for (int reload = 0; reload < 2; ++reload) {
        TWorkUnitHistory history;
        history.Load();
        ASSERT_EQ(history.Count(), 1);
        EXPECT_EQ(history.Entries()[0], (THistoryEntry {c.Name, c.Rcg, "5.12", "05.12.2024"}));
        EXPECT_FALSE(history.SaveWU(c.Name, c.Rcg, 7, c.Node));
    }
    const std::string text = env.ReadFile("KORVEX.WUS");
    ASSERT_EQ(text.find('\n'), text.size() - 1);   // one line
    // A reader taking each field up to the first occurrence of the next mark gets the fields back.
    const std::size_t star = text.find('*'), hash = text.find('#'), equal = text.find('='), at = text.find('@');
    ASSERT_LT(star, hash);
    ASSERT_LT(hash, equal);
    EXPECT_EQ(at, std::string::npos);
    EXPECT_EQ(DecodeHistoryField(text.substr(hash + 1, equal - hash - 1)), "7");
    EXPECT_EQ(DecodeHistoryField(text.substr(equal + 1, text.size() - equal - 3)), c.Node);
}

INSTANTIATE_TEST_SUITE_P(Marks, HistoryFieldTest,
    testing::Values(FieldCase {"StarInName", "p2605_a*b", "5-33-12", "box"},
        FieldCase {"HashInName", "p2605#x", "5-33-12", "box"}, FieldCase {"EqualAndAtInName", "p=1@2", "1-2-3", "box"},
        FieldCase {"LineBreaksInName", "p2605\r\nnext line", "1-2-3", "box"},
        FieldCase {"HashInRunCloneGen", "p2605_x", "5#33-12", "box"},
        FieldCase {"MarksInRunCloneGen", "p2605_x", "1=2@3\n4", "box"},
        FieldCase {"AtAndBreakInNode", "p2605_x", "1-2-3", "me@host\nx"},
        FieldCase {"PercentThatLooksEncoded", "p%2A%41", "1%23", "n%40"}),
    [](const testing::TestParamInfo<FieldCase>& info) { return std::string(info.param.Label); });

TEST_F(WorkUnitHistoryTest, OrdinaryValuesAreWrittenAsTheyAre) {
    TWorkUnitHistory history;
    ASSERT_TRUE(history.SaveWU("p2605_100% water", "5-33-12", 120, "Box #2 *fast*"));
    ASSERT_TRUE(history.Flush());
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"), "[05.12.2024 20:10:15] p2605_100% water*5-33-12#120=Box #2 *fast*\r\n");
}

TEST_F(WorkUnitHistoryTest, ReSaveWUFindsAUnitWithMarksAndKeepsItsNode) {
    TWorkUnitHistory history;
    ASSERT_TRUE(history.SaveWU("p2@05_x", "1#2-3", 120, "me@host"));
    EXPECT_TRUE(history.ReSaveWU("p2@05_x", "1#2-3", 3.5));
    EXPECT_TRUE(history.ReSaveWU("p2@05_x", "1#2-3", 4));
    EXPECT_TRUE(history.Flush());
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"), "[05.12.2024 20:10:15] p2%4005_x*1%232-3#120=me%40host@4.00\r\n");
    history.Load();
    EXPECT_EQ(history.Entries().at(0), (THistoryEntry {"p2@05_x", "1#2-3", "5.12", "05.12.2024"}));
}

TEST_F(WorkUnitHistoryTest, BlankLinesAreRecordsAndTheNextWriteKeepsThem) {
    // Blank lines of every ending around two records: each is a record of its own for both readers, and the
    // next write puts every one of them back, ended with CR LF, the blanks a line held kept.
    std::string text;
    std::string written;
    const char* const blanks[] = {"\r\n", "\n", "\r", " \t\r\n"};
    const char* const rewritten[] = {"\r\n", "\r\n", "\r\n", " \t\r\n"};
    auto addBlanks = [&](int count) {
        for (int i = 0; i < count; ++i) {
            text += blanks[i % 4];
            written += rewritten[i % 4];
        }
    };
    addBlanks(1500);
    text += "[05.12.2024 20:10:15] p2605_x*5-33-12#120=box\r\n";
    written += "[05.12.2024 20:10:15] p2605_x*5-33-12#120=box@2.00\r\n";
    addBlanks(1500);
    text += "[06.12.2024 20:10:15] p2008_y*1-2-3#218=box";
    written += "[06.12.2024 20:10:15] p2008_y*1-2-3#218=box";
    for (int i = 0; i < 3; ++i) {
        text += blanks[i % 4];
        written += rewritten[i % 4];
    }
    test::WriteFile(env.File("KORVEX.WUS"), text);

    // A blank line costs its place in the lists, nothing of its own.
    constexpr std::size_t PerLine = 1000;
    TWorkUnitHistory history;
    // 1500 blanks, a record, 1500 blanks, the last record and the two blank lines after it.
    EXPECT_LT(AllocatedBy([&] { history.Load(); }), 3004 * PerLine);
    EXPECT_EQ(history.Count(), 3004);
    EXPECT_TRUE(history.IsKnown("p2008_y", "1-2-3"));
    EXPECT_FALSE(history.IsKnown("", ""));
    std::vector<THistoryRow> rows;
    EXPECT_LT(AllocatedBy([&] { rows = ReadHistory(env.File("KORVEX.WUS")); }), 3004 * PerLine);
    ASSERT_EQ(rows.size(), 3004u);
    EXPECT_EQ(rows[0][hcIndex], "1");
    EXPECT_EQ(rows[0][hcName], "");
    EXPECT_EQ(rows[3001][hcIndex], "3002");
    EXPECT_EQ(rows[3001][hcNode], "box");

    ASSERT_TRUE(history.ReSaveWU("p2605_x", "5-33-12", 2));
    ASSERT_TRUE(history.Flush());
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"), written);
}

// A million blank lines around a record are held as counts: loading them costs less than a byte a line (the
// read buffer and the record), and every one of them is written back.
TEST_F(WorkUnitHistoryTest, AMillionBlankLinesCostLessThanAByteEach) {
    constexpr std::size_t Blanks = 500000;
    const std::string record = "[05.12.2024 20:10:15] p2605_x*5-33-12#120=box";
    test::WriteFile(env.File("KORVEX.WUS"), std::string(Blanks, '\n') + record + "\r\n" + std::string(Blanks, '\n'));
    TWorkUnitHistory history;
    EXPECT_LT(AllocatedBy([&] { history.Load(); }), 2 * Blanks / 4);
    EXPECT_EQ(history.Count(), std::int64_t(2 * Blanks + 1));
    EXPECT_TRUE(history.IsKnown("p2605_x", "5-33-12"));
    ASSERT_TRUE(history.SaveWU("p2605_y", "1-2-3", 218, "box"));
    EXPECT_EQ(history.Count(), std::int64_t(2 * Blanks + 2));
    const std::string text = env.ReadFile("KORVEX.WUS");
    std::string blanks;
    for (std::size_t i = 0; i < Blanks; ++i)
        blanks += "\r\n";
    const std::string expected = blanks + record + "\r\n" + blanks + "[05.12.2024 20:10:15] p2605_y*1-2-3#218=box\r\n";
    EXPECT_TRUE(text == expected) << text.size() << " bytes, not " << expected.size();   // no diff of a million lines
    const std::vector<THistoryEntry> entries = history.Entries();
    ASSERT_EQ(entries.size(), 2 * Blanks + 2);
    EXPECT_EQ(entries[Blanks].RCG, "5-33-12");
    EXPECT_EQ(entries[2 * Blanks + 1].RCG, "1-2-3");
    EXPECT_EQ(entries[2 * Blanks], THistoryEntry {});
}

TEST_F(WorkUnitHistoryTest, EveryChangeIsInTheFileAtOnceAndAnUnchangedSpeedIsNotWritten) {
    test::WriteFile(env.File("KORVEX.WUS"), Lines(1100));
    TWorkUnitHistory history;
    history.Load();
    ino_t file = Inode(env.File("KORVEX.WUS"));
    // What the nodes' refreshes do: a speed each rewrites the file, and so does a new unit at its end.
    for (int node = 0; node < 20; ++node) {
        ASSERT_TRUE(history.ReSaveWU("p2605_x", std::to_string(1080 + node) + "-33-12", 20 + node));
        const ino_t rewritten = Inode(env.File("KORVEX.WUS"));
        EXPECT_NE(rewritten, file);
        file = rewritten;
        EXPECT_NE(env.ReadFile("KORVEX.WUS").find("*" + std::to_string(1080 + node) + "-33-12#120=node"
                      + std::to_string((1080 + node) % 200) + "@" + std::to_string(20 + node) + ".00\r\n"),
            std::string::npos);
    }
    EXPECT_TRUE(history.SaveWU("p2605_new", "2-2-2", 120, "node2"));
    EXPECT_NE(Inode(env.File("KORVEX.WUS")), file);
    file = Inode(env.File("KORVEX.WUS"));
    EXPECT_NE(env.ReadFile("KORVEX.WUS").find("] p2605_new*2-2-2#120=node2\r\n"), std::string::npos);
    EXPECT_FALSE(history.Dirty());
    // The same speeds again change nothing, so nothing is written.
    const std::string text = env.ReadFile("KORVEX.WUS");
    for (int node = 0; node < 20; ++node)
        ASSERT_TRUE(history.ReSaveWU("p2605_x", std::to_string(1080 + node) + "-33-12", 20 + node));
    EXPECT_FALSE(history.Dirty());
    EXPECT_EQ(Inode(env.File("KORVEX.WUS")), file);
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"), text);
}

// Speeds set by several threads at once: each call returns with its speed in the file.
TEST_F(WorkUnitHistoryTest, SpeedsSetAtOnceAreEachInTheFileWhenTheirCallReturns) {
    test::WriteFile(env.File("KORVEX.WUS"), Lines(200));
    TWorkUnitHistory history;
    history.Load();
    constexpr int Threads = 8, Speeds = 25;
    std::atomic<int> missing {0};
    std::vector<std::thread> threads;
    for (int t = 0; t < Threads; ++t)
        threads.emplace_back([&, t] {
            const std::string rcg = std::to_string(100 + t) + "-33-12";
            for (int speed = 1; speed <= Speeds; ++speed) {
                history.ReSaveWU("p2605_x", rcg, speed);
                const std::string line
                    = "*" + rcg + "#120=node" + std::to_string(100 + t) + "@" + std::to_string(speed) + ".00\r\n";
                if (env.ReadFile("KORVEX.WUS").find(line) == std::string::npos) ++missing;
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(missing, 0);
    EXPECT_FALSE(history.Dirty());
}

TEST_F(WorkUnitHistoryTest, AFileReplacedOnDiskIsReadAgainAndTheCyclesChangesAreAppliedToIt) {
    test::WriteFile(env.File("KORVEX.WUS"), Lines(3));
    TWorkUnitHistory history;
    history.Load();
    // Restored from a backup while the program runs: a file of its own (another inode) with far more lines.
    test::WriteFile(env.File("backup.wus"), Lines(1003));
    std::filesystem::rename(env.File("backup.wus"), env.File("KORVEX.WUS"));
    ASSERT_TRUE(history.ReSaveWU("p2605_x", "0-33-12", 6));
    ASSERT_TRUE(history.SaveWU("p2605_new", "1-1-1", 120, "node1"));
    ASSERT_TRUE(history.Flush());
    const std::string text = env.ReadFile("KORVEX.WUS");
    std::string expected = Lines(1003);
    expected.replace(expected.find("*0-33-12#120=node0"), 18, "*0-33-12#120=node0@6.00");
    expected += "[05.12.2024 20:10:15] p2605_new*1-1-1#120=node1\r\n";
    EXPECT_EQ(text, expected);
    EXPECT_EQ(history.Count(), 1004);
    EXPECT_FALSE(history.Dirty());
}

TEST_F(WorkUnitHistoryTest, ALineRemovedByHandInPlaceStaysRemoved) {
    test::WriteFile(env.File("KORVEX.WUS"), Lines(3));
    const ino_t inode = Inode(env.File("KORVEX.WUS"));
    TWorkUnitHistory history;
    history.Load();
    // Edited in place: the same inode, a shorter file.
    std::string edited = Lines(3);
    const std::size_t second = edited.find("\r\n") + 2;
    edited.erase(second, edited.find("\r\n", second) + 2 - second);
    {
        std::ofstream out(env.File("KORVEX.WUS"), std::ios::binary | std::ios::trunc);
        out << edited;
    }
    ASSERT_EQ(Inode(env.File("KORVEX.WUS")), inode);
    ASSERT_TRUE(history.SaveWU("p2605_new", "1-1-1", 120, "node1"));
    // A unit the edit took out is not known any more: it comes back only when it is seen again.
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"), edited + "[05.12.2024 20:10:15] p2605_new*1-1-1#120=node1\r\n");
    EXPECT_FALSE(history.IsKnown("p2605_x", "1-33-12"));
    EXPECT_TRUE(history.SaveWU("p2605_x", "1-33-12", 120, "node1"));
}

TEST_F(WorkUnitHistoryTest, AUnitTheChangedFileKnowsAlreadyIsNotWrittenTwice) {
    TWorkUnitHistory history;
    history.Load();
    // Another copy of the program wrote the unit since the file was read.
    const std::string other = "[04.12.2024 10:00:00] p2605_x*5-33-12#120=box\r\n";
    test::WriteFile(env.File("KORVEX.WUS"), other);
    EXPECT_FALSE(history.SaveWU("p2605_x", "5-33-12", 120, "box"));
    EXPECT_TRUE(history.IsKnown("p2605_x", "5-33-12"));
    ASSERT_TRUE(history.Flush());
    EXPECT_EQ(env.ReadFile("KORVEX.WUS"), other);
}

TEST_F(WorkUnitHistoryTest, AFailedWriteIsLoggedOnceWithItsReasonWhileItLasts) {
    TWorkUnitHistory history;
    ASSERT_TRUE(history.SaveWU("p2605_x", "5-33-12", 120, "box"));
    std::filesystem::create_directories(env.File("KORVEX.WUN/inside"));   // the temporary file cannot be made
    ASSERT_TRUE(history.ReSaveWU("p2605_x", "5-33-12", 10));
    for (int cycle = 0; cycle < 2; ++cycle)
        EXPECT_FALSE(history.Flush());
    const std::string log = env.ReadFile("KORVEX.LOG");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_NE(log.find("KORVEX.WUS not written: " + std::generic_category().message(EEXIST)), std::string::npos) << log;
    std::filesystem::remove_all(env.File("KORVEX.WUN"));
    ASSERT_TRUE(history.Flush());
    // A new failure after a write that worked is told again.
    std::filesystem::create_directories(env.File("KORVEX.WUN/inside"));
    ASSERT_TRUE(history.ReSaveWU("p2605_x", "5-33-12", 11));
    EXPECT_TRUE(history.Dirty());
    const std::string after = env.ReadFile("KORVEX.LOG");
    EXPECT_EQ(std::count(after.begin(), after.end(), '\n'), 2) << after;
}

TEST_F(WorkUnitHistoryTest, AHistoryKeptBehindALinkIsWrittenThroughIt) {
    const std::string target = env.File("share/korvex-history");
    std::filesystem::create_directories(env.File("share"));
    test::WriteFile(target, Lines(2));
    std::filesystem::create_symlink(target, env.File("KORVEX.WUS"));
    TWorkUnitHistory history;
    history.Load();
    ASSERT_TRUE(history.SaveWU("p2605_new", "1-1-1", 120, "node1"));
    ASSERT_TRUE(history.ReSaveWU("p2605_x", "0-33-12", 6));   // a rewrite, through the link too
    EXPECT_FALSE(history.Dirty());
    EXPECT_TRUE(std::filesystem::is_symlink(env.File("KORVEX.WUS")));
    std::string expected = Lines(2) + "[05.12.2024 20:10:15] p2605_new*1-1-1#120=node1\r\n";
    expected.replace(expected.find("*0-33-12#120=node0"), 18, "*0-33-12#120=node0@6.00");
    EXPECT_EQ(env.ReadFile("share/korvex-history"), expected);
    // A link that leads nowhere is left alone, and the write fails.
    std::filesystem::remove(target);
    EXPECT_FALSE(history.SaveWU("p2605_new", "2-2-2", 120, "node2"));
    EXPECT_TRUE(std::filesystem::is_symlink(env.File("KORVEX.WUS")));
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST(ForEachHistoryLine, EndsLinesAtEveryBreakAcrossReadBlocks) {
    test::TAppEnvironment env;
    // Breaks placed on both sides of the 64 KB block boundary, a CR LF split by it, a blank line, a huge line.
    std::string text(65535, 'a');
    text += "\r\nb\rc\n\n";
    text += std::string(200000, 'd');
    text += "\r";
    test::WriteFile(env.File("lines"), text);
    std::vector<std::size_t> sizes;
    ASSERT_TRUE(ForEachHistoryLine(env.File("lines"), [&](std::string_view line) { sizes.push_back(line.size()); }));
    EXPECT_EQ(sizes, (std::vector<std::size_t> {65535, 1, 1, 0, 200000}));
    errno = 0;
    EXPECT_FALSE(ForEachHistoryLine(env.File("missing"), [](std::string_view) {}));
    EXPECT_EQ(errno, ENOENT);
}

}
}

namespace korvex::app {
namespace {

// An edit by hand that lands while the program writes the file (its new content written, the rename not yet
// made): an append, a backup copied over it in place, a backup renamed over it. None is lost.
TEST_F(WorkUnitHistoryTest, AnEditMadeWhileTheFileIsWrittenIsKept) {
    const std::string hand = "[06.12.2024 09:00:00] p2605_hand*9-9-9#1=hand\r\n";
    struct TEdit {
        const char* Name;
        std::function<void(const std::string& path)> Make;
    };
    const std::vector<TEdit> edits = {
        {"append",
            [&](const std::string& path) {
                std::ofstream out(path, std::ios::binary | std::ios::app);
                out << hand;
            }},
        {"backup copied over in place",
            [&](const std::string& path) {
                std::ofstream out(path, std::ios::binary | std::ios::trunc);
                out << Lines(2) << hand;
            }},
        {"backup renamed over",
            [&](const std::string& path) {
                test::WriteFile(path + ".restored", Lines(2) + hand);
                std::filesystem::rename(path + ".restored", path);
            }},
    };
    for (const TEdit& edit : edits) {
        SCOPED_TRACE(edit.Name);
        test::WriteFile(env.File("KORVEX.WUS"), Lines(2));
        TWorkUnitHistory history;
        history.Load();
        int edited = 0;
        os::SetReplaceProbe([&](const std::string& target) {
            if (edited++ == 0) edit.Make(target);
        });
        ASSERT_TRUE(history.ReSaveWU("p2605_x", "0-33-12", 6));
        os::SetReplaceProbe(nullptr);
        EXPECT_GE(edited, 2);   // written again after the edit was seen
        std::string expected = Lines(2);
        expected.replace(expected.find("*0-33-12#120=node0"), 18, "*0-33-12#120=node0@6.00");
        EXPECT_EQ(env.ReadFile("KORVEX.WUS"), expected + hand);
        EXPECT_TRUE(history.IsKnown("p2605_hand", "9-9-9"));
        EXPECT_FALSE(history.Dirty());
        // The file written is the one known: a later change writes without reading again, and keeps everything.
        ASSERT_TRUE(history.SaveWU("p2605_later", "2-2-2", 120, "node1"));
        ASSERT_TRUE(history.Flush());
        EXPECT_NE(env.ReadFile("KORVEX.WUS").find(hand), std::string::npos);
        std::filesystem::remove(env.File("KORVEX.WUS"));
    }
}

// A file that changes at every write is given up after a few rounds, the changes kept for the next Flush.
TEST_F(WorkUnitHistoryTest, AFileThatKeepsChangingUnderEveryWriteKeepsTheChangesForLater) {
    test::WriteFile(env.File("KORVEX.WUS"), Lines(2));
    TWorkUnitHistory history;
    history.Load();
    int edits = 0;
    os::SetReplaceProbe([&](const std::string& target) {
        std::ofstream out(target, std::ios::binary | std::ios::app);
        out << "[06.12.2024 09:00:00] p2605_hand*" << ++edits << "-9-9#1=hand\r\n";
    });
    ASSERT_TRUE(history.ReSaveWU("p2605_x", "0-33-12", 6));   // its rewrite gives up
    os::SetReplaceProbe(nullptr);
    EXPECT_EQ(edits, MaxWriteAttempts);
    EXPECT_TRUE(history.Dirty());
    ASSERT_TRUE(history.Flush());
    const std::string text = env.ReadFile("KORVEX.WUS");
    EXPECT_NE(text.find("p2605_hand*8-9-9"), std::string::npos);
    EXPECT_NE(text.find("node0@6.00"), std::string::npos);
}

// Another program appends a line right after a write renamed the new file into place: at the rename itself,
// and from a thread that watches for the new file and appends at once. The next write reads the file again, so
// no such line is lost.
TEST_F(WorkUnitHistoryTest, ALineAppendedRightAfterTheRenameIsKept) {
    const std::string path = env.File("KORVEX.WUS");
    TWorkUnitHistory history;
    ASSERT_TRUE(history.SaveWU("p2605_first", "0-0-0", 120, "box"));
    int renamed = 0;
    os::SetRenamedProbe([&](const std::string& target) {
        std::ofstream out(target, std::ios::binary | std::ios::app);
        out << "[06.12.2024 09:00:00] p2605_renamed*" << ++renamed << "-9-9#1=hand\r\n";
    });
    base::ScopeExit noProbe([] { os::SetRenamedProbe(nullptr); });
    for (int round = 1; round <= 3; ++round)
        EXPECT_TRUE(history.SaveWU("p2605_y", std::to_string(round) + "-1-1", 120, "box"));
    os::SetRenamedProbe(nullptr);

    constexpr int Rounds = 200;
    std::atomic<int> appended {0};
    std::atomic<bool> stop {false};
    ino_t seen = Inode(path);   // taken here: the thread may start after the first round's write
    std::thread appender([&] {
        while (appended < Rounds && !stop) {
            const ino_t now = Inode(path);
            if (now == 0 || now == seen) {
                std::this_thread::yield();
                continue;
            }
            seen = now;
            std::ofstream out(path, std::ios::binary | std::ios::app);
            out << "[06.12.2024 09:00:00] p2605_hand*" << appended + 1 << "-9-9#1=hand\r\n";
            out.close();
            ++appended;
        }
    });
    base::ScopeExit joining([&] {
        stop = true;
        appender.join();
    });
    bool inStep = true;
    for (int round = 1; round <= Rounds && inStep; ++round) {
        ASSERT_TRUE(history.SaveWU("p2605_x", std::to_string(round) + "-1-1", 120, "box"));
        // The next write only after the line for this one was appended.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (appended < round && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        inStep = appended >= round;
    }
    ASSERT_TRUE(inStep);
    ASSERT_TRUE(history.SaveWU("p2605_last", "9-9-9", 120, "box"));
    const std::string text = env.ReadFile("KORVEX.WUS");
    int kept = 0;
    for (int round = 1; round <= Rounds; ++round)
        kept += text.find("p2605_hand*" + std::to_string(round) + "-9-9#") != std::string::npos;
    EXPECT_EQ(kept, Rounds);
    for (int round = 1; round <= 3; ++round)
        EXPECT_NE(text.find("p2605_renamed*" + std::to_string(round) + "-9-9#"), std::string::npos) << round;
    EXPECT_TRUE(history.IsKnown("p2605_hand", std::to_string(Rounds) + "-9-9"));
}

}
}
