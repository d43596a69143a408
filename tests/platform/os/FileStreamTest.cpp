// Tests of TFileStream: modes, errors, positions and byte-level access at offsets.
#include "platform/os/FileStream.h"
#include "support/TempFolder.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvex::os;
using korvex::os::filetest::ReadFile;
using korvex::os::filetest::TempFolder;
using korvex::os::filetest::WriteFile;

TEST(TFileStream, CreateEmptiesAndWritesAFileThatReadsBack) {
    TempFolder tmp;
    WriteFile(tmp / "f.txt", "old content that is longer");
    {
        TFileStream out(tmp / "f.txt", fmCreate);
        out.WriteBuffer("hello", 5);
        EXPECT_EQ(out.Size(), 5);
        EXPECT_EQ(out.Position(), 5);
    }
    TFileStream in(tmp / "F.TXT", fmOpenRead | fmShareDenyWrite);
    char buffer[16] = {};
    EXPECT_EQ(in.Read(buffer, sizeof buffer), 5);
    EXPECT_EQ(std::string(buffer, 5), "hello");
    EXPECT_EQ(in.Read(buffer, sizeof buffer), 0);
    EXPECT_EQ(in.ShareMode(), fmShareDenyWrite);
}

TEST(TFileStream, RaisesEFOpenErrorWithTheNameAndReason) {
    TempFolder tmp;
    try {
        TFileStream s(tmp / "missing.txt", fmOpenRead);
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + (tmp / "missing.txt") + "\". No such file or directory");
    }
    EXPECT_THROW(TFileStream(tmp / "no/folder/x", fmCreate), EFCreateError);
    EXPECT_THROW(TFileStream(tmp / "missing.txt", fmOpenWrite), korvex::base::EInOutError);
}

TEST(TFileStream, NeverOpensAFolder) {
    TempFolder tmp;
    TFileStream s;
    EXPECT_FALSE(s.TryOpen(tmp.Path(), fmOpenRead));
    EXPECT_EQ(s.LastError(), EISDIR);
    EXPECT_FALSE(s.IsOpen());
    EXPECT_THROW(TFileStream(tmp.Path(), fmOpenRead), EFOpenError);
}

TEST(TFileStream, OpenWriteNeitherCreatesNorTruncates) {
    TempFolder tmp;
    WriteFile(tmp / "f", "abcdef");
    {
        TFileStream s(tmp / "f", fmOpenWrite);
        EXPECT_EQ(s.Seek(0, TSeekOrigin::soEnd), 6);
        s.WriteBuffer("gh", 2);
        char c;
        EXPECT_EQ(s.Read(&c, 1), -1);   // write-only
    }
    EXPECT_EQ(ReadFile(tmp / "f"), "abcdefgh");
    TFileStream s;
    EXPECT_FALSE(s.TryOpen(tmp / "g", fmOpenWrite));
    EXPECT_EQ(s.LastError(), ENOENT);
}

TEST(TFileStream, ReadAtAndWriteAtLeaveThePositionAlone) {
    TempFolder tmp;
    WriteFile(tmp / "client.cfg", "machineid=12\r\ntype=0\r\n");
    TFileStream s(tmp / "client.cfg", fmOpenReadWrite);
    s.SetPosition(3);
    char key[10];
    EXPECT_EQ(s.ReadAt(0, key, 10), 10);
    EXPECT_EQ(std::string(key, 10), "machineid=");
    EXPECT_EQ(s.WriteAt(10, "7\r", 2), 2);
    EXPECT_EQ(s.Position(), 3);
    EXPECT_EQ(s.ReadAt(100, key, 1), 0);   // past the end
    EXPECT_EQ(s.ReadAt(-1, key, 1), -1);
    s.Close();
    EXPECT_EQ(ReadFile(tmp / "client.cfg"), "machineid=7\r\r\ntype=0\r\n");
}

TEST(TFileStream, SeeksFromEveryOriginAndFillsGapsWithZeros) {
    TempFolder tmp;
    TFileStream s(tmp / "f", fmCreate);
    EXPECT_EQ(s.Seek(4, TSeekOrigin::soBeginning), 4);
    s.WriteBuffer("x", 1);
    EXPECT_EQ(s.Seek(-2, TSeekOrigin::soCurrent), 3);
    EXPECT_EQ(s.Seek(-1, TSeekOrigin::soEnd), 4);
    EXPECT_EQ(s.Seek(-10, TSeekOrigin::soBeginning), -1);
    EXPECT_TRUE(s.Flush());
    EXPECT_EQ(ReadFile(tmp / "f"), std::string("\0\0\0\0x", 5));
}

TEST(TFileStream, ReadBufferRaisesAtTheEnd) {
    TempFolder tmp;
    WriteFile(tmp / "f", "abc");
    TFileStream s(tmp / "f", fmOpenRead);
    char buffer[4];
    EXPECT_THROW(s.ReadBuffer(buffer, 4), EReadError);
}

TEST(TFileStream, IsMovableAndClosedWhenEmpty) {
    TempFolder tmp;
    WriteFile(tmp / "f", "abc");
    TFileStream a(tmp / "f", fmOpenRead);
    TFileStream b(std::move(a));
    EXPECT_FALSE(a.IsOpen());
    EXPECT_TRUE(b.IsOpen());
    EXPECT_EQ(b.Size(), 3);
    TFileStream c;
    EXPECT_EQ(c.Size(), -1);
    EXPECT_EQ(c.Write("x", 1), -1);
    c = std::move(b);
    EXPECT_EQ(c.FileName(), tmp / "f");
}
