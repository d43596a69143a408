// Tests of the streams: memory, string and file streams, the all-or-nothing calls and copying.
#include "platform/classes/TFileStream.h"
#include "platform/classes/TMemoryStream.h"
#include "platform/classes/TStringStream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace korvex;
using namespace korvex::classes;

namespace {

std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string("korvex_") + name + std::to_string(::getpid())))
        .string();
}

}

TEST(TMemoryStream, WritesGrowAndSeekingPastTheEndFillsWithZeros) {
    TMemoryStream s;
    s.WriteBuffer("abc", 3);
    EXPECT_EQ(s.Size(), 3);
    EXPECT_EQ(s.Seek(2, TSeekOrigin::soEnd), 5);
    s.WriteBuffer("z", 1);
    EXPECT_EQ(s.Size(), 6);
    EXPECT_EQ(s.Memory()[3], 0);
    EXPECT_EQ(s.Memory()[5], 'z');
    EXPECT_EQ(s.Seek(-1, TSeekOrigin::soBeginning), -1);
    EXPECT_EQ(s.Position(), 6);
}

TEST(TMemoryStream, ReadStopsAtTheEndAndReadBufferRaises) {
    TMemoryStream s;
    s.WriteBuffer("hello", 5);
    s.SetPosition(3);
    char buffer[8] = {};
    EXPECT_EQ(s.Read(buffer, 8), 2);
    EXPECT_EQ(std::string(buffer, 2), "lo");
    EXPECT_EQ(s.Read(buffer, 8), 0);
    s.SetPosition(3);
    EXPECT_THROW(s.ReadBuffer(buffer, 3), os::EReadError);
    EXPECT_NO_THROW(s.ReadBuffer(buffer, 0));
}

TEST(TMemoryStream, SetSizeClampsThePositionAndClearEmpties) {
    TMemoryStream s;
    s.WriteBuffer("0123456789", 10);
    s.SetSize(4);
    EXPECT_EQ(s.Position(), 4);
    EXPECT_EQ(s.Size(), 4);
    s.Clear();
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Position(), 0);
}

TEST(TMemoryStream, FilesRoundTripAndMissingFilesRaise) {
    std::string path = TempPath("ms");
    TMemoryStream s;
    std::string bytes("a\0b\xff", 4);
    s.WriteBuffer(bytes.data(), 4);
    s.SaveToFile(path);
    TMemoryStream back;
    back.LoadFromFile(path);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(back.Memory()), 4), bytes);
    EXPECT_EQ(back.Position(), 0);
    std::filesystem::remove(path);
    EXPECT_THROW(back.LoadFromFile(path), os::EFOpenError);
    EXPECT_THROW(back.SaveToFile(path + "/no/such/folder"), os::EFCreateError);
}

TEST(TStream, CopyFromCopiesACountOrTheWholeSource) {
    TStringStream source("0123456789");
    TMemoryStream dest;
    source.SetPosition(2);
    EXPECT_EQ(dest.CopyFrom(source, 3), 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(dest.Memory()), 3), "234");
    source.SetPosition(7);
    EXPECT_EQ(dest.CopyFrom(source, 0), 10);
    EXPECT_EQ(dest.Size(), 13);
    source.SetPosition(8);
    EXPECT_THROW(dest.CopyFrom(source, 5), os::EReadError);
}

TEST(TStringStream, ReadsWritesAndClampsSeeks) {
    TStringStream s("abc");
    EXPECT_EQ(s.ReadString(2), "ab");
    s.WriteString("XYZ");
    EXPECT_EQ(s.DataString(), "abXYZ");
    EXPECT_EQ(s.Seek(100, TSeekOrigin::soBeginning), 5);
    EXPECT_EQ(s.Seek(-100, TSeekOrigin::soCurrent), 0);
    EXPECT_EQ(s.ReadString(100), "abXYZ");
}

TEST(TFileStream, ReadsWritesSeeksAndResizes) {
    std::string path = TempPath("fs");
    {
        TFileStream f(path, fmCreate);
        f.WriteBuffer("hello world", 11);
        EXPECT_EQ(f.Size(), 11);
        f.SetSize(5);
        EXPECT_EQ(f.Size(), 5);
        EXPECT_EQ(f.Position(), 5);
    }
    TFileStream f(path, fmOpenRead);
    char buffer[16] = {};
    EXPECT_EQ(f.Read(buffer, 16), 5);
    EXPECT_EQ(std::string(buffer, 5), "hello");
    EXPECT_EQ(f.Seek(1, TSeekOrigin::soBeginning), 1);
    EXPECT_THROW(f.ReadBuffer(buffer, 5), os::EReadError);
    EXPECT_EQ(f.Write("x", 1), 0);   // opened for reading
    EXPECT_THROW(f.WriteBuffer("x", 1), os::EWriteError);
    std::filesystem::remove(path);
    EXPECT_THROW(TFileStream(path, fmOpenRead), os::EFOpenError);
}
