// Node files that are not what a client writes: garbage, huge files, huge lines, cut files, files growing
// while read. The reading gives defaults where it cannot read and never fails.
#include "app/nodes/NodeFiles.h"
#include "support/ClientFiles.h"

#include "platform/base/DateTime.h"
#include "platform/os/FileStream.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <fstream>
#include <cctype>
#include <thread>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace korvex::app {
namespace {

const base::TDateTime ReadNow = base::EncodeDateTime(2024, 12, 6, 8, 0, 0, 0);

os::TRetryOptions NoPauses() {
    os::TRetryOptions options;
    options.Pause = [](int) { return true; };
    return options;
}

TNodeReading ReadFolder(const std::string& folder) {
    return ReadNodeFolder(folder, ReadNow, FixedUtcOffset(0), NoPauses());
}

bool IsTimeText(const std::string& text) {   // hh:mm:ss
    if (text.size() != 8) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool colon = i == 2 || i == 5;
        if (colon ? text[i] != ':' : !std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
}

// Bytes of every value, with the scan's keywords and marks strewn among them.
std::string Garbage(std::size_t size, std::uint32_t seed) {
    static const std::vector<std::string> pieces
        = {"Completed ", "Completed 0 out", "] Completed ", "Clone", "Run", "Gen", "(", ")", "Working on", "[", "]",
            "Protein:", "System:", "User name:", "(Team ", "Frames Completed:", "Remaining:", "Finished a frame (1)",
            "Finished a frame", "Loaded queue successfully", "Results successfully sent", "Error: Attempt", "Version",
            "Core required:", "\r\n", "\n", "\r", std::string(1, '\0'), "%"};
    std::string text;
    std::uint32_t x = seed;
    auto next = [&x] { return x = x * 1664525u + 1013904223u; };
    while (text.size() < size) {
        std::uint32_t r = next();
        if (r % 5 == 0)
            text += pieces[(r >> 8) % pieces.size()];
        else
            text += static_cast<char>(r >> 24);
    }
    return text;
}

TEST(MalformedNodeFiles, BinaryGarbageGivesAReadingAndNoFailure) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        TNodeReading r = ReadNode(TTextLines::FromText(Garbage(64 * 1024, seed)),
            TTextLines::FromText(Garbage(512, seed + 100)), ReadNow, FixedUtcOffset(seed * 30));
        EXPECT_TRUE(IsTimeText(r.TimePerPercent)) << seed;
        EXPECT_TRUE(IsTimeText(r.FrameTime)) << seed;
        EXPECT_TRUE(r.Status == TNodeStatus::Undecided || r.Status == TNodeStatus::QueueLoaded
            || r.Status == TNodeStatus::Running || r.Status == TNodeStatus::AttemptError)
            << seed;
    }
}

TEST(MalformedNodeFiles, GarbageFilesInAFolderAreRead) {
    test::TTempDir dir;
    test::WriteFile(dir.File("FAHlog.txt"), Garbage(1 << 20, 7));
    test::WriteFile(dir.File("unitinfo.txt"), Garbage(300, 8));
    TNodeReading r = ReadFolder(dir.Path());
    EXPECT_TRUE(IsTimeText(r.TimePerPercent));
}

// Writes a log of about `bytes` bytes: finished units one after the other, then a unit at 45 percent.
void WriteHugeLog(const std::string& path, std::size_t bytes) {
    test::TClientLog finished;
    finished.StepUnit("p2008_BBA5", "December 1 10:00:00", 1, 2, 3, 100, 60).FinishAndSend("December 1 12:00:00");
    const std::string block = finished.Text();
    test::TClientLog head;
    head.ClientStart();
    test::TClientLog tail;
    tail.StepUnit("p2605_Protein in water", "December 5 20:10:09", 5, 33, 12, 45, 750);
    std::ofstream out(path, std::ios::binary);
    out << head.Text();
    for (std::size_t written = 0; written < bytes; written += block.size())
        out << block;
    out << tail.Text();
    ASSERT_TRUE(out.good());
}

// The peak memory of a reading of the folder in a child process, above what this process holds (KiB).
long ReadingPeakKiB(const std::string& folder) {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    const long before = resident * (::sysconf(_SC_PAGESIZE) / 1024);
    const pid_t child = ::fork();
    if (child == 0) {
        ReadFolder(folder);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    rusage usage {};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss - before;
}

TEST(MalformedNodeFiles, HugeLogIsReadWholeInBoundedMemory) {
    const std::size_t size = std::size_t(100) << 20;
    test::TTempDir dir;
    WriteHugeLog(dir.File("FAHlog.txt"), size);
    EXPECT_LT(ReadingPeakKiB(dir.Path()), 24 * 1024);   // a block at a time, never the whole log
    TNodeReading r = ReadFolder(dir.Path());
    EXPECT_EQ(r.WUName, "p2605_Protein in water");
    EXPECT_EQ(r.RCG, "5-33-12");
    EXPECT_EQ(r.Status, TNodeStatus::Running);
    EXPECT_EQ(r.TimePerPercent, "00:12:30");
    EXPECT_EQ(r.StartText, "December 5 20:10:09");
    EXPECT_EQ(r.UserName, "Tellvar");
}

TEST(MalformedNodeFiles, LinesOfAMegabyteAreScannedLikeShortOnes) {
    const std::string filler(1 << 20, 'x');
    test::TClientLog log;
    log.ClientStart().Raw(filler);
    log.Line(filler + " Working on Unit 01 [" + filler + "]");   // a start text that is no date
    log.StepUnit("p2605_x", "December 5 20:10:09", 5, 33, 12, 2, 600);
    log.Raw(filler + "Completed");   // a plain "Completed" line after the last step changes nothing
    log.Line(filler + "Clone");   // nor does a "Clone" without the project line's form, but it moves the unit
    TNodeReading r = ReadNode(TTextLines::FromText(log.Text()), TTextLines(), ReadNow, FixedUtcOffset(0));
    EXPECT_EQ(r.WUName, "p2605_x");
    EXPECT_EQ(r.StartText, "December 5 20:10:09");
    EXPECT_EQ(r.Status, TNodeStatus::Running);
    // Cut as a project line would be ("[hh:mm:ss] " less its marks, then the filler), to its cap.
    EXPECT_EQ(r.RCG.size(), MaxRunCloneGen);
    EXPECT_EQ(r.RCG.substr(8), std::string(MaxRunCloneGen - 8, 'x'));
    EXPECT_EQ(r.TimePerPercent, NoTimeText);   // no step line after the last "Clone"

    test::TClientLog longStart;
    longStart.ClientStart()
        .Line("Working on Unit 01 [" + filler + "]")
        .Line("Protein: p")
        .Line("Completed 0 out of 10 steps");
    TNodeReading s = ReadNode(TTextLines::FromText(longStart.Text()),
        TTextLines::FromLines({"", "", "Name: p", "Download time: " + filler}), ReadNow, FixedUtcOffset(0));
    EXPECT_EQ(s.StartText, std::string(MaxClientText, 'x'));
    EXPECT_EQ(s.Start, 0);
}

TEST(MalformedNodeFiles, UnitInfoCutMidLineGivesWhatItHolds) {
    test::TTempDir dir;
    std::string full = test::JoinLines(test::UnitInfo("p2605_x", "December 5 20:10:09", "December 11 20:10:09", 45));
    for (std::size_t cut = 0; cut <= full.size(); cut += 7) {
        test::WriteFile(dir.File("unitinfo.txt"), full.substr(0, cut));
        TNodeReading r = ReadFolder(dir.Path());
        EXPECT_GE(r.Progress, 0);
        EXPECT_LE(r.Progress, 45);
        EXPECT_TRUE(r.Deadline == 0 || r.Deadline >= base::EncodeDate(2024, 12, 11)) << cut;
    }
    test::WriteFile(dir.File("unitinfo.txt"), full);
    EXPECT_EQ(ReadFolder(dir.Path()).Progress, 45);
}

// A long or damaged line is cut to its bound and the reading goes on with the next: the lines after it keep
// the name, the dates and the progress.
TEST(MalformedNodeFiles, ALongOrDamagedUnitInfoLineLeavesTheLinesAfterItTheirShare) {
    test::TTempDir dir;
    std::vector<std::string> unit = test::UnitInfo("p2605_x", "December 5 20:10:09", "December 11 20:10:09", 45);
    std::string binary;
    for (int i = 0; i < 200000; ++i)
        binary += static_cast<char>(i % 9 == 0 ? 0 : 0x80 + i % 100);   // no line end in it
    const std::vector<std::pair<const char*, std::string>> firstLines = {
        {"long", std::string(20000, 'C')},
        {"damaged", binary},
        {"longer than all lines' bound before", std::string(MaxKeptLineBytes * 6 + 17, '-')},
    };
    for (const auto& [name, first] : firstLines) {
        SCOPED_TRACE(name);
        std::vector<std::string> lines = unit;
        lines[0] = first;
        test::WriteFile(dir.File("unitinfo.txt"), test::JoinLines(lines));
        TNodeReading r = ReadFolder(dir.Path());
        EXPECT_EQ(r.WUName, "p2605_x");
        EXPECT_EQ(r.Progress, 45);
        EXPECT_NE(r.Deadline, 0);
        std::vector<std::string> read;
        os::TFileStream stream;
        ASSERT_TRUE(stream.TryOpen(dir.File("unitinfo.txt"), os::fmOpenRead | os::fmShareDenyNone));
        int error = 0;
        ASSERT_TRUE(ReadUnitInfoLines(stream, read, error));
        ASSERT_GE(read.size(), 5u);
        EXPECT_EQ(read[0].size(), std::min(first.size(), MaxKeptLineBytes));
    }
}

// Bytes this process has read from files so far (the kernel's count, holes of sparse files included).
std::int64_t BytesReadByProcess() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::int64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return -1;
}

TEST(MalformedNodeFiles, AGiantUnitInfoWithoutLineEndsIsReadNoFurtherThanARealOneCanReach) {
    test::TTempDir dir;
    const std::string path = dir.File("unitinfo.txt");
    std::string head = "Current Work Unit\n----\nName: p2605_x";   // no line ends after it for 2 GB
    test::WriteFile(path, head);
    ASSERT_EQ(::truncate(path.c_str(), std::int64_t(2) << 30), 0);   // sparse: costs no disk
    const std::int64_t before = BytesReadByProcess();
    ASSERT_GE(before, 0);
    std::vector<std::string> lines;
    os::TFileStream stream;
    ASSERT_TRUE(stream.TryOpen(path, os::fmOpenRead | os::fmShareDenyNone));
    int error = 0;
    ASSERT_TRUE(ReadUnitInfoLines(stream, lines, error));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].substr(0, 13), "Name: p2605_x");
    TNodeReading r = ReadFolder(dir.Path());
    EXPECT_EQ(r.Progress, 0);
    EXPECT_LE(BytesReadByProcess() - before, 4 * UnitInfoMaxBytes);
}

TEST(MalformedNodeFiles, LogAppendedWhileReadGivesConsistentReadings) {
    test::TTempDir dir;
    const std::string path = dir.File("FAHlog.txt");
    test::TClientLog log;
    log.ClientStart().StepUnit("p2605_x", "December 5 20:10:09", 5, 33, 12, 1, 600);
    test::WriteFile(path, log.Text());

    std::atomic<bool> done {false};
    std::thread writer([&] {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        for (int p = 2; p < 3000 && !done; ++p) {
            std::string line = "[20:" + std::to_string(10 + p % 50) + ":00] Completed " + std::to_string(p)
                + " out of 250000 steps  (" + std::to_string(p % 100) + "%)\r\n";
            // Half a line first: the reader may see a line being written.
            out << line.substr(0, line.size() / 2) << std::flush;
            out << line.substr(line.size() / 2) << std::flush;
        }
    });
    for (int i = 0; i < 30; ++i) {
        TNodeReading r = ReadFolder(dir.Path());
        EXPECT_EQ(r.WUName, "p2605_x");
        EXPECT_EQ(r.RCG, "5-33-12");
        EXPECT_EQ(r.Status, TNodeStatus::Running);
        EXPECT_TRUE(IsTimeText(r.TimePerPercent));
    }
    done = true;
    writer.join();
}

}
}
