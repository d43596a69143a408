// The file names of a dropped text/uri-list: local file URIs only, percent-decoded, hostile ones left out.
#include "platform/user/display/UriList.h"

#include <gtest/gtest.h>

namespace korvex::user::test {
namespace {

struct UriListCase {
    const char* List;
    std::vector<std::string> Files;
};

TEST(UriList, LocalFileUrisGiveTheirDecodedNamesAndEverythingElseIsLeftOut) {
    const UriListCase cases[] = {
        {"file:///home/a/FAHlog.txt\r\n", {"/home/a/FAHlog.txt"}},
        {"file:///tmp/a%20b.txt\nfile:///tmp/%D0%96.txt", {"/tmp/a b.txt", "/tmp/Ж.txt"}},   // LF only, no last end
        {"# a comment\r\nfile://localhost/etc/hosts\r\nFILE://farmhost/x\r\n", {"/etc/hosts", "/x"}},
        {"file://otherhost/share/x\r\nhttp://example.org/a.txt\r\nsmb://host/share\r\n", {}},
        {"file:relative/name\r\nfile:/abs/one\r\nfile://\r\n/plain/path\r\n", {"/abs/one"}},
        {"file:///a%00b\r\nfile:///bad%2\r\nfile:///bad%zz\r\nfile:///ok%2fname\r\n", {"/ok/name"}},
        {"file:///q/name?x=1#frag\r\n\r\n\r\n", {"/q/name"}},
        {"", {}},
    };
    for (const UriListCase& c : cases)
        EXPECT_EQ(FilesFromUriList(c.List, "farmhost"), c.Files) << c.List;
}

TEST(UriList, ARawZeroByteInALineIsRefusedLikeAnEscapedOne) {
    using namespace std::string_literals;
    EXPECT_EQ(FilesFromUriList("file:///tmp/a\0b\r\nfile:///tmp/ok\r\nfile://localhost/\0\r\n"s, "farmhost"),
        std::vector<std::string> {"/tmp/ok"});
}

TEST(UriList, WithoutAKnownHostNameOnlyLocalhostAndNoHostAreLocal) {
    EXPECT_EQ(FilesFromUriList("file://farmhost/x\r\nfile://localhost/y\r\n", ""), std::vector<std::string> {"/y"});
}

TEST(UriList, BinaryGarbageGivesNoNamesAndNoCrash) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 131 + 7) & 0xFF);
    for (const std::string& list : {garbage, "file:///" + garbage, std::string(100000, '%')})
        for (const std::string& name : FilesFromUriList(list, "h"))
            EXPECT_EQ(name.find('\0'), std::string::npos);
}

}
}
