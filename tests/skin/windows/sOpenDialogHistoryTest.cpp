// The open dialog's folder history: what is kept, the way back, the menu of earlier folders, and captions
// that show "&" in a folder name as it is.
#include "skin/windows/sOpenDialogHistory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdlib.h>

namespace korvex::skin {
namespace {

class FolderHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/korvex-history-XXXXXX";
        Root = mkdtemp(name);
        for (const char* sub : {"a", "R&D", "c"}) std::filesystem::create_directory(Root + "/" + sub);
    }
    void TearDown() override { std::filesystem::remove_all(Root); }
    std::string operator/(const char* name) const { return Root + "/" + name; }
    std::string Root;
};

TEST_F(FolderHistoryTest, KeepsExistingFoldersOnceInARowAndNothingWhileNavigating) {
    TacFolderHistory history;
    history.Visit(*this / "a");
    history.Visit(*this / "a");   // the same again
    history.Visit(*this / "missing");
    history.BeginNavigating();
    history.Visit(*this / "c");
    history.EndNavigating();
    history.Visit(*this / "R&D");
    EXPECT_EQ(history.Entries(), (std::vector<std::string> {*this / "a", *this / "R&D"}));
    EXPECT_EQ(history.MenuPaths(), (std::vector<std::string> {*this / "a"}));   // not the current one
}

TEST_F(FolderHistoryTest, BackDropsTheLastUnlessThePreviousIsShown) {
    TacFolderHistory history;
    EXPECT_FALSE(history.Back(*this / "a"));
    history.Visit(*this / "a");
    history.Visit(*this / "R&D");
    history.Visit(*this / "c");
    EXPECT_FALSE(history.Back(*this / "R&D").has_value());   // already there
    EXPECT_EQ(history.Back(*this / "c"), *this / "R&D");
    EXPECT_EQ(history.Back(*this / "R&D"), *this / "a");
    EXPECT_FALSE(history.CanGoBack());
    EXPECT_FALSE(history.Back(*this / "a").has_value());
}

TEST(PathMenuCaption, DoublesEveryAmpersandSoThePathShowsAsItIs) {
    EXPECT_EQ(PathMenuCaption("/home/u/R&D"), "/home/u/R&&D");
    EXPECT_EQ(PathMenuCaption("&&"), "&&&&");
    EXPECT_EQ(PathMenuCaption("/plain"), "/plain");
}

}
}
