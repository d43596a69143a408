// Tests of MIME types by file name through glob rules: weights, literal names, case, suffix look-up, and
// which globs files are read.
#include "platform/os/MimeTypes.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>

using namespace korvex::os;

TEST(MimeGlobs, MatchesByLiteralThenWeightThenLength) {
    TMimeGlobs globs;
    globs.Parse(
        "# comment\n"
        "50:text/plain:*.txt\n"
        "50:application/x-compressed-tar:*.tar.gz\n"
        "50:application/gzip:*.gz\n"
        "60:text/x-weighty:*.wt\n"
        "40:text/x-light:*.wt\n"
        "50:text/x-makefile:makefile\n"
        "50:text/x-c:*.c:cs\n"
        "50:text/x-c++:*.C:cs\n"
        "50:application/x-sharedlib:*.so.[0-9]*\n"
        "bad line\n"
        "x:text/x-bad:*.bad\n");
    EXPECT_EQ(globs.Count(), 9);
    struct Case {
        const char* Name;
        const char* Type;
    } cases[] = {
        {"notes.TXT", "text/plain"},
        {"a.tar.gz", "application/x-compressed-tar"},
        {"a.gz", "application/gzip"},
        {"w.wt", "text/x-weighty"},
        {"Makefile", "text/x-makefile"},
        {"main.c", "text/x-c"},
        {"main.C", "text/x-c++"},
        {"libx.so.1", "application/x-sharedlib"},
        {"noext", ""},
        {"x.bad", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(globs.Match(c.Name), c.Type) << c.Name;
}

TEST(MimeGlobs, FoldersAndUnknownFilesGetFixedTypes) {
    EXPECT_EQ(MimeTypeOf("anything.txt", true), MimeFolder);
    EXPECT_EQ(MimeTypeOf("no-such-extension.zzqqx", false), MimeUnknown);
}

TEST(MimeGlobs, AGlobsFileIsLoadedOnlyWhenItIsASmallRegularFile) {
    filetest::TempFolder folder {"korvex-globs"};
    const std::string good = folder / "globs2";
    std::ofstream(good) << "50:text/x-farm:*.farm\n";
    TMimeGlobs globs;
    EXPECT_TRUE(globs.LoadFile(good));
    EXPECT_EQ(globs.Count(), 1);
    const std::string oversized = folder / "oversized";
    std::ofstream(oversized) << "50:text/x-big:*.big\n";
    std::filesystem::resize_file(oversized, std::uintmax_t(20) << 20);   // sparse zeros after a good rule
    EXPECT_FALSE(globs.LoadFile(oversized));
    EXPECT_EQ(globs.Match("a.big"), "");
    const std::string pipe = folder / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto loaded = std::async(std::launch::async, [&] { return globs.LoadFile(pipe); });
    if (loaded.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);   // frees the blocked reader
        if (fd >= 0) ::close(fd);
        ADD_FAILURE() << "a pipe blocked the loading";
    }
    EXPECT_FALSE(loaded.get());
    EXPECT_EQ(globs.Count(), 1);
}
