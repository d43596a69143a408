// Tests of the context menu: verbs between the owner's hooks, and the menu shown on the headless display with
// a choice made by key, Escape and greyed items.
#include "skin/windows/shell/acShellMenu.h"
#include "skin/windows/shell/acShellClipboard.h"
#include "skin/windows/shell/acShellProperties.h"
#include "support/ControlsTestKit.h"
#include "support/ShellTree.h"

#include "platform/user/Menus.h"
#include "platform/user/VirtualKeys.h"

#include <gtest/gtest.h>

using namespace korvex::skin;
using korvex::os::filetest::Exists;
using korvex::skin::shelltest::ShellItem;
using korvex::skin::shelltest::ShellTree;

namespace {

struct RecordingOwner : IacShellCommandVerb {
    bool Handle = false;
    std::vector<std::string> Calls;
    void ExecuteCommand(const std::string& verb, bool& handled) override {
        Calls.push_back("execute " + verb);
        handled = Handle;
    }
    void CommandCompleted(const std::string& verb, bool succeeded) override {
        Calls.push_back("completed " + verb + (succeeded ? " ok" : " failed"));
    }
};

}

TEST(ShellMenu, VerbsRunBetweenTheOwnersHooks) {
    ShellTree tree;
    RecordingOwner owner;
    ShellItem folder(tree, "Folder A");
    EXPECT_TRUE(RunShellCommand(&owner, folder.Folder, "newfolder"));
    EXPECT_TRUE(Exists(tree / "Folder A/New folder"));
    ShellItem file(tree, "plain");
    EXPECT_TRUE(RunShellCommand(&owner, file.Folder, "newfolder"));   // beside a file: in its folder
    EXPECT_TRUE(Exists(tree / "New folder"));
    EXPECT_FALSE(RunShellCommand(&owner, file.Folder, "rename"));   // only the owner can rename
    owner.Handle = true;
    EXPECT_TRUE(RunShellCommand(&owner, file.Folder, "rename"));
    owner.Handle = false;
    EXPECT_TRUE(RunShellCommand(&owner, folder.Folder, "delete"));
    EXPECT_FALSE(Exists(tree / "Folder A"));
    EXPECT_FALSE(RunShellCommand(nullptr, folder.Folder, "delete"));   // gone already
    EXPECT_EQ(owner.Calls, (std::vector<std::string>{"execute newfolder", "completed newfolder ok",
                               "execute newfolder", "completed newfolder ok", "execute rename",
                               "completed rename failed", "execute rename", "completed rename ok",
                               "execute delete", "completed delete ok"}));
}

TEST(ShellMenu, CopyCutAndPasteNeverOverwriteAndACutMovesOnce) {
    ShellTree tree;
    ClearShellClipboard();
    ShellItem file(tree, "file one.txt");
    ShellItem folder(tree, "Folder A");
    auto enabled = [](const TacShellFolder& item, const std::string& verb) {
        for (const TacShellMenuItem& menuItem : ShellContextMenuItems(item))
            if (menuItem.Verb == verb) return menuItem.Enabled;
        ADD_FAILURE() << "no " << verb;
        return false;
    };
    EXPECT_FALSE(enabled(folder.Folder, "paste"));   // nothing held
    EXPECT_TRUE(enabled(file.Folder, "copy"));
    EXPECT_TRUE(enabled(file.Folder, "properties"));
    ASSERT_TRUE(RunShellCommand(nullptr, file.Folder, "copy"));
    EXPECT_TRUE(enabled(folder.Folder, "paste"));
    EXPECT_FALSE(enabled(file.Folder, "paste"));   // a file is no place to paste into
    ASSERT_TRUE(RunShellCommand(nullptr, folder.Folder, "paste"));
    EXPECT_TRUE(Exists(tree / "Folder A/file one.txt"));
    ASSERT_TRUE(RunShellCommand(nullptr, folder.Folder, "paste"));   // the name is taken: the next free one
    EXPECT_TRUE(Exists(tree / "Folder A/file one (2).txt"));
    ASSERT_TRUE(RunShellCommand(nullptr, file.Folder, "paste"));   // on a file: into its folder
    EXPECT_TRUE(Exists(tree / "file one (2).txt"));
    EXPECT_TRUE(Exists(tree / "file one.txt"));
    // A folder is copied with what it holds; it never goes into itself.
    ShellItem sub(tree, "docs & notes");
    ASSERT_TRUE(RunShellCommand(nullptr, folder.Folder, "copy"));
    EXPECT_TRUE(RunShellCommand(nullptr, sub.Folder, "paste"));
    EXPECT_TRUE(Exists(tree / "docs & notes/Folder A/Sub"));
    EXPECT_FALSE(RunShellCommand(nullptr, folder.Folder, "paste") && Exists(tree / "Folder A/Folder A"));
    // A cut moves at the paste and empties the clipboard.
    ShellItem plain(tree, "plain");
    ASSERT_TRUE(RunShellCommand(nullptr, plain.Folder, "cut"));
    ASSERT_TRUE(RunShellCommand(nullptr, sub.Folder, "paste"));
    EXPECT_TRUE(Exists(tree / "docs & notes/plain"));
    EXPECT_FALSE(Exists(tree / "plain"));
    EXPECT_TRUE(ShellClipboardPaths().empty());
    EXPECT_FALSE(RunShellCommand(nullptr, sub.Folder, "paste"));
    EXPECT_NE(ShellPropertiesText(file.Folder).find("Size: 5 bytes"), std::string::npos);
    EXPECT_NE(ShellPropertiesText(file.Folder).find("Type: TXT File"), std::string::npos);
    EXPECT_NE(ShellPropertiesText(folder.Folder).find("Type: Folder"), std::string::npos);
}

namespace {

// A windowed control that takes the menu's verbs, as the shell tree and list do.
class VerbPanel : public korvex::classes::ctltest::TBoxPanel, public RecordingOwner {
public:
    using TBoxPanel::TBoxPanel;
};

class ShellMenuShown : public korvex::classes::ctltest::ControlsTest {
protected:
    void TearDown() override {
        korvex::user::SetMenuLoopIdleHook({});
        ControlsTest::TearDown();
    }
    VerbPanel* NewPanel() {
        auto* panel = new VerbPanel(NewForm());
        panel->SetParent(static_cast<korvex::classes::TWinControl*>(panel->Owner()));
        panel->SetBounds(10, 10, 200, 100);
        EXPECT_TRUE(Pump());
        return panel;
    }
    // Presses the keys one per idle turn of the menu loop.
    void Keys(std::vector<std::pair<unsigned, std::string>> keys) {
        auto queue = std::make_shared<std::vector<std::pair<unsigned, std::string>>>(std::move(keys));
        auto* display = Display;
        korvex::user::SetMenuLoopIdleHook([queue, display] {
            if (queue->empty()) return false;
            auto [vk, text] = queue->front();
            queue->erase(queue->begin());
            display->Press(vk, text);
            return true;
        });
    }
};

}

TEST_F(ShellMenuShown, AChosenVerbRunsBetweenTheOwnersHooks) {
    ShellTree tree;
    VerbPanel* panel = NewPanel();
    ShellItem item(tree, "Folder A");
    Keys({{'F', "f"}});
    ShowContextMenu(panel, item.Folder, 20, 20);
    EXPECT_TRUE(Exists(tree / "Folder A/New folder"));
    EXPECT_EQ(panel->Calls, (std::vector<std::string>{"execute newfolder", "completed newfolder ok"}));
}

TEST_F(ShellMenuShown, EscapeRunsNothingAndGreyedItemsAreSkipped) {
    ShellTree tree;
    VerbPanel* panel = NewPanel();
    ShellItem item(tree, "plain");
    Keys({{korvex::user::VK_ESCAPE, ""}});
    ShowContextMenu(panel, item.Folder, 20, 20);
    EXPECT_TRUE(panel->Calls.empty());
    TacShellFolder computer(nullptr, DesktopFolder(), TItemIDList::Item(TacItemKind::Computer, ""));
    Keys({{'O', "o"}, {korvex::user::VK_ESCAPE, ""}});   // "Open" is greyed for the computer
    ShowContextMenu(panel, computer, 20, 20);
    EXPECT_TRUE(panel->Calls.empty());
}
