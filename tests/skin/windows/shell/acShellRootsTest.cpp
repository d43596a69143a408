// Tests of root folders: the rf… names, their places on Linux, root comparison, and keeping the old root.
#include "skin/windows/shell/acShellRoots.h"
#include "support/ShellTree.h"

#include "platform/base/Exceptions.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvex::skin;
using korvex::skin::shelltest::ShellTree;

TEST(ShellRoots, NamesMapToTheirFoldersWithoutCase) {
    ShellTree tree;
    EXPECT_EQ(RootFolderFromName("rfMyComputer"), rfMyComputer);
    EXPECT_EQ(RootFolderFromName("RFMYCOMPUTER"), rfMyComputer);
    EXPECT_EQ(RootFolderCsidl(rfMyComputer), 17);
    EXPECT_EQ(RootFolderCsidl(rfTemplates), 21);
    EXPECT_STREQ(RootFolderName(rfPersonal), "rfPersonal");
    EXPECT_FALSE(RootFolderFromName("/tmp"));
    EXPECT_TRUE(SpecialFolderLocation(0)->IsDesktop());
    EXPECT_EQ(PidlPath(*SpecialFolderLocation(5)), tree.Root());
    EXPECT_FALSE(SpecialFolderLocation(21));   // no ~/Templates in the tree
    ::mkdir((tree / "Templates").c_str(), 0755);
    std::optional<TItemIDList> templates = SpecialFolderLocation(21);
    ASSERT_TRUE(templates);
    EXPECT_EQ(ItemsOf(*templates).front().Kind, TacItemKind::Home);
    EXPECT_EQ(PidlPath(*templates), tree / "Templates");
    EXPECT_FALSE(SpecialFolderLocation(3));   // the control panel has no counterpart
}

TEST(ShellRoots, NamesCompareWithoutCaseAndPathsExactly) {
    struct Case {
        const char* A;
        const char* B;
        bool Same;
    } cases[] = {
        {"rfDesktop", "RFDESKTOP", true},
        {"rfDesktop", "rfMyComputer", false},
        {"/data/A", "/data/a", false},
        {"/data/a", "/data/a", true},
        {"rfDesktop", "/rfDesktop", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SameRoot(c.A, c.B), c.Same) << c.A << " " << c.B;
}

TEST(ShellRoots, ABadRootKeepsThePreviousOneAndRaises) {
    ShellTree tree;
    std::unique_ptr<TacShellFolder> root;
    TacRoot text = "rfMyComputer";
    CreateRootFolder(root, "", text);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->DisplayName(), "Computer");
    for (std::string bad : {std::string("nowhere"), std::string(""), tree / "missing", tree / "plain"}) {
        TacRoot newText = bad;
        TacShellFolder* before = root.get();
        try {
            CreateRootFolder(root, "rfMyComputer", newText);
            ADD_FAILURE() << "no exception for " << bad;
        } catch (const korvex::base::Exception& e) {
            EXPECT_STREQ(e.what(), "Error Setting Path");
        }
        EXPECT_EQ(newText, "rfMyComputer");
        EXPECT_EQ(root.get(), before);
    }
    TacRoot path = tree / "Папка";
    CreateRootFolder(root, "rfMyComputer", path);
    EXPECT_EQ(root->PathName(), tree / "Папка");
    EXPECT_EQ(root->DisplayName(), "Папка");
    ASSERT_TRUE(root->ShellFolder());
    EXPECT_EQ(root->ShellFolder()->AbsoluteID(), root->AbsoluteID());
}
