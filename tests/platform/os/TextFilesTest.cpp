// Tests of appending lines, atomic rewrites and whole-file reads.
#include "platform/os/TextFiles.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace korvex::os;
using korvex::os::filetest::NamesIn;
using korvex::os::filetest::ReadFile;
using korvex::os::filetest::SandboxedEnvironment;
using korvex::os::filetest::TempFolder;
using korvex::os::filetest::WriteFile;

namespace fs = std::filesystem;

TEST(AppendLine, CreatesTheFileAndEndsEveryLineWithCrLf) {
    TempFolder tmp;
    EXPECT_TRUE(AppendLine(tmp / "KORVEX.LOG", "[05.12.2007 20:10:15] Start monitor"));
    EXPECT_TRUE(AppendLine(tmp / "korvex.log", "[05.12.2007 20:10:16] Stop monitor"));
    EXPECT_EQ(
        ReadFile(tmp / "KORVEX.LOG"), "[05.12.2007 20:10:15] Start monitor\r\n[05.12.2007 20:10:16] Stop monitor\r\n");
}

TEST(AppendLine, WritesRelativeNamesIntoTheProgramFolder) {
    SandboxedEnvironment env;
    EXPECT_TRUE(AppendLine("KORVEX.WUS", "line"));
    EXPECT_EQ(ReadFile(env.ProgramFolder() + "/KORVEX.WUS"), "line\r\n");
}

TEST(AppendLine, FailsQuietlyWhenTheFileCannotBeOpened) {
    TempFolder tmp;
    EXPECT_FALSE(AppendLine(tmp / "no/folder/KORVEX.LOG", "x"));
    EXPECT_FALSE(AppendLine(tmp.Path(), "x"));
}

TEST(AppendLine, ConcurrentAppendersFromThreadsAndProcessesNeverInterleaveALine) {
    TempFolder tmp;
    std::string path = tmp / "KORVEX.LOG";
    auto lineOf = [](int writer, int i) {
        return "writer " + std::to_string(writer) + " line " + std::to_string(i) + std::string(200, 'x');
    };
    pid_t child = ::fork();
    if (child == 0) {
        for (int i = 0; i < 300; ++i)
            AppendLine(path, lineOf(9, i));
        ::_exit(0);
    }
    std::vector<std::thread> threads;
    for (int w = 0; w < 4; ++w)
        threads.emplace_back([&, w] {
            for (int i = 0; i < 300; ++i)
                AppendLine(path, lineOf(w, i));
        });
    for (auto& t : threads)
        t.join();
    int status = 0;
    ::waitpid(child, &status, 0);
    std::istringstream in(ReadFile(path));
    std::string line;
    int count = 0;
    while (std::getline(in, line)) {
        ASSERT_FALSE(line.empty());
        ASSERT_EQ(line.back(), '\r');
        line.pop_back();
        int writer = -1, i = -1;
        ASSERT_EQ(std::sscanf(line.c_str(), "writer %d line %d", &writer, &i), 2) << line;
        ASSERT_EQ(line, lineOf(writer, i));
        ++count;
    }
    EXPECT_EQ(count, 5 * 300);
}

TEST(RewriteFileAtomically, ReplacesTheContentAndLeavesNoTemporaryFile) {
    TempFolder tmp;
    WriteFile(tmp / "KORVEX.WUS", "old\r\n");
    ::chmod((tmp / "KORVEX.WUS").c_str(), 0640);
    EXPECT_TRUE(RewriteFileAtomically(tmp / "korvex.wus", "new\r\n"));
    EXPECT_EQ(ReadFile(tmp / "KORVEX.WUS"), "new\r\n");
    struct stat st;
    ASSERT_EQ(::stat((tmp / "KORVEX.WUS").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.Path()), fs::directory_iterator()), 1);
}

TEST(RewriteFileAtomically, CreatesAMissingFile) {
    TempFolder tmp;
    EXPECT_TRUE(RewriteFileAtomically(tmp / "new.txt", ""));
    EXPECT_TRUE(fs::exists(tmp / "new.txt"));
    EXPECT_EQ(fs::file_size(tmp / "new.txt"), 0u);
}

TEST(RewriteFileAtomically, KeepsTheOldStateAndRemovesTheTemporaryFileOnFailure) {
    TempFolder tmp;
    fs::create_directories(tmp / "target/inside");   // a folder cannot be replaced by a file
    EXPECT_FALSE(RewriteFileAtomically(tmp / "target", "content"));
    EXPECT_TRUE(fs::is_directory(tmp / "target/inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.Path()), fs::directory_iterator()), 1);
    EXPECT_FALSE(RewriteFileAtomically(tmp / "missing/folder/file", "content"));
}

TEST(RewriteFileAtomicallyVia, ReplacesAStaleTemporaryFile) {
    TempFolder tmp;
    WriteFile(tmp / "registry.reg.tmp", "left by a crash");
    WriteFile(tmp / "registry.reg", "old");
    EXPECT_TRUE(RewriteFileAtomicallyVia(tmp / "registry.reg", "new", tmp / "registry.reg.tmp"));
    EXPECT_EQ(ReadFile(tmp / "registry.reg"), "new");
    EXPECT_FALSE(fs::exists(tmp / "registry.reg.tmp"));
}

TEST(ReadWholeFile, ReadsBytesAndRefusesFoldersAndOversizedFiles) {
    TempFolder tmp;
    WriteFile(tmp / "f", std::string("a\0b", 3));
    std::string content;
    EXPECT_TRUE(ReadWholeFile(tmp / "F", content));
    EXPECT_EQ(content, std::string("a\0b", 3));
    EXPECT_FALSE(ReadWholeFile(tmp / "f", content, 2));
    EXPECT_EQ(errno, EFBIG);
    EXPECT_TRUE(content.empty());
    EXPECT_FALSE(ReadWholeFile(tmp.Path(), content));
    EXPECT_FALSE(ReadWholeFile(tmp / "missing", content));
}

namespace {

// Every replacement path: the one with a temporary file of its own name and the one with a fixed name.
struct TReplaceWay {
    const char* Name;
    bool (*Write)(const std::string& path, const std::string& content);
};

const TReplaceWay ReplaceWays[] = {
    {"own temporary",
        [](const std::string& path, const std::string& content) { return RewriteFileAtomically(path, content); }},
    {"fixed temporary",
        [](const std::string& path, const std::string& content) {
            return RewriteFileAtomicallyVia(path, content, path + ".tmp");
        }},
};

}

TEST(RewriteFileAtomically, WritesThroughASymbolicLinkAndKeepsTheLink) {
    for (const TReplaceWay& way : ReplaceWays) {
        SCOPED_TRACE(way.Name);
        TempFolder tmp;
        fs::create_directories(tmp / "dotfiles");
        fs::create_directories(tmp / "program");
        WriteFile(tmp / "dotfiles/korvex-history", "old\r\n");
        fs::create_symlink("../dotfiles/korvex-history", tmp / "program/KORVEX.WUS");
        ASSERT_TRUE(way.Write(tmp / "program/KORVEX.WUS", "new\r\n"));
        EXPECT_TRUE(fs::is_symlink(tmp / "program/KORVEX.WUS"));
        EXPECT_EQ(ReadFile(tmp / "dotfiles/korvex-history"), "new\r\n");
        // Nothing left behind in either folder.
        EXPECT_EQ(NamesIn(tmp / "program"), std::vector<std::string> {"KORVEX.WUS"});
        EXPECT_EQ(NamesIn(tmp / "dotfiles"), std::vector<std::string> {"korvex-history"});
    }
}

TEST(RewriteFileAtomically, RefusesADanglingLinkWithANote) {
    std::vector<std::string> notes;
    SetFileLog([&notes](const std::string& line) { notes.push_back(line); });
    for (const TReplaceWay& way : ReplaceWays) {
        SCOPED_TRACE(way.Name);
        notes.clear();
        TempFolder tmp;
        fs::create_symlink(tmp / "share/registry.reg", tmp / "registry.reg");
        EXPECT_FALSE(way.Write(tmp / "registry.reg", "new"));
        EXPECT_TRUE(fs::is_symlink(tmp / "registry.reg"));
        EXPECT_FALSE(fs::exists(tmp / "share"));
        EXPECT_EQ(NamesIn(tmp.Path()), std::vector<std::string> {"registry.reg"});
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_NE(notes[0].find(tmp / "share/registry.reg"), std::string::npos) << notes[0];
    }
    SetFileLog(nullptr);
}

namespace {

// Makes a listening Unix socket at `path`; the descriptor (kept open by the caller), or -1.
int MakeSocketFileAt(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (fd < 0 || path.size() >= sizeof address.sun_path) return -1;
    std::copy(path.begin(), path.end(), address.sun_path);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

mode_t TypeOf(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

}

// Whatever is not a regular file, reached directly or through a link, stays what it is and is not replaced.
TEST(RewriteFileAtomically, NeverPutsARegularFileInPlaceOfADevicePipeOrSocket) {
    std::vector<std::string> notes;
    SetFileLog([&notes](const std::string& line) { notes.push_back(line); });
    for (const TReplaceWay& way : ReplaceWays) {
        SCOPED_TRACE(way.Name);
        TempFolder tmp;
        ASSERT_EQ(::mkfifo((tmp / "pipe").c_str(), 0600), 0);
        const int socketFd = MakeSocketFileAt(tmp / "socket");
        ASSERT_GE(socketFd, 0);
        fs::create_directories(tmp / "folder");
        struct TCase {
            std::string Written, Target;
        };
        const std::vector<TCase> cases = {
            {tmp / "pipe", tmp / "pipe"},
            {tmp / "socket", tmp / "socket"},
            {tmp / "link-to-pipe", tmp / "pipe"},
            {tmp / "link-to-socket", tmp / "socket"},
            {tmp / "link-to-null", "/dev/null"},
            {tmp / "link-to-zero", "/dev/zero"},
            {tmp / "link-to-folder", tmp / "folder"},
            {tmp / "link-to-link-to-null", "/dev/null"},
        };
        fs::create_symlink(tmp / "pipe", tmp / "link-to-pipe");
        fs::create_symlink(tmp / "socket", tmp / "link-to-socket");
        fs::create_symlink("/dev/null", tmp / "link-to-null");
        fs::create_symlink("/dev/zero", tmp / "link-to-zero");
        fs::create_symlink(tmp / "folder", tmp / "link-to-folder");
        fs::create_symlink(tmp / "link-to-null", tmp / "link-to-link-to-null");
        for (const TCase& c : cases) {
            SCOPED_TRACE(c.Written);
            notes.clear();
            const mode_t before = TypeOf(c.Target);
            const bool wasLink = fs::is_symlink(c.Written);
            EXPECT_FALSE(way.Write(c.Written, "settings\n"));
            EXPECT_EQ(TypeOf(c.Target), before);
            EXPECT_EQ(fs::is_symlink(c.Written), wasLink);
            ASSERT_EQ(notes.size(), 1u);
            EXPECT_NE(notes[0].find(c.Target), std::string::npos) << notes[0];
        }
        ::close(socketFd);
        // No temporary file is left anywhere.
        EXPECT_EQ(NamesIn(tmp.Path()),
            (std::vector<std::string> {"folder", "link-to-folder", "link-to-link-to-null", "link-to-null",
                "link-to-pipe", "link-to-socket", "link-to-zero", "pipe", "socket"}));
        EXPECT_TRUE(NamesIn(tmp / "folder").empty());
    }
    SetFileLog(nullptr);
}
