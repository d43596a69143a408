// The rows' cache folder test from one listing a farm cycle: which names count, and when the folder is listed
// again.
#include "app/monitor/CacheFolderList.h"
#include "support/ClientFiles.h"

#include "platform/os/Files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvex::app {
namespace {

namespace fs = std::filesystem;

// What one listing answers for each name under the WU folder, the same as a test of the folder itself.
TEST(CacheFolderList, AListingAnswersAsTheFolderTestWould) {
    struct Case {
        const char* Name;   // made under WU (a trailing "/" makes a folder, else a file)
        int Node;
        bool Exists;
    } cases[] = {
        {"WU0/", 0, true},
        {"wu1/", 1, true},   // names without case
        {"WU2", 2, false},   // a file
        {"WU03/", 3, false},   // not node 3's name
        {"WU12/", 12, true},
        {"WU4x/", 4, false},
        {"WU99/", 99, false},   // no such node
    };
    test::TTempDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.Path() + "/WU/" + c.Name;
        if (path.back() == '/')
            fs::create_directories(path);
        else
            test::WriteFile(path, "x");
    }
    fs::create_directories(dir.Path() + "/WU/elsewhere");
    fs::create_directory_symlink(dir.Path() + "/WU/elsewhere", dir.Path() + "/WU/WU5");   // links followed
    TCacheFolderList list(dir.Path(), 20);
    for (const Case& c : cases) {
        if (c.Node >= 20) continue;
        EXPECT_EQ(list.Exists(c.Node), c.Exists) << c.Name;
        EXPECT_EQ(os::DirectoryExists(dir.Path() + "/WU/WU" + std::to_string(c.Node)), c.Exists) << c.Name;
    }
    EXPECT_TRUE(list.Exists(5));
    EXPECT_FALSE(list.Exists(6));
    EXPECT_FALSE(list.Exists(-1));
    EXPECT_FALSE(list.Exists(20));
    EXPECT_FALSE(TCacheFolderList(dir.Path() + "/none", 3).Exists(0));   // no WU folder
}

// A node that asks again sees a listing made after its last question: a folder made or removed in between is
// seen by it, and a node that has not asked since the last listing is answered from that listing.
TEST(CacheFolderList, TheFolderIsListedAgainWhenANodeAsksASecondTime) {
    test::TTempDir dir;
    fs::create_directories(dir.Path() + "/WU/WU1");
    TCacheFolderList list(dir.Path(), 3);
    EXPECT_FALSE(list.Exists(0));   // listed
    fs::create_directories(dir.Path() + "/WU/WU0");
    fs::remove(dir.Path() + "/WU/WU1");
    EXPECT_TRUE(list.Exists(1));   // the same cycle's listing
    EXPECT_TRUE(list.Exists(0));   // node 0's second question: listed again
    EXPECT_FALSE(list.Exists(1));   // not asked since that listing: answered from it
    EXPECT_FALSE(list.Exists(2));
    fs::create_directories(dir.Path() + "/WU/WU2");
    EXPECT_TRUE(list.Exists(2));   // asked again: listed again
}

}
}
