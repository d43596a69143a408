// TsShellTreeView on a temporary folder tree: the root and its setter, levels loaded on expansion, following a
// path, renaming by label editing (refused over an existing entry), the delete verb's completion, refreshing,
// and the current folder unchanged throughout.
#include "support/ControlsKit.h"
#include "support/ShellTree.h"

#include "platform/base/Exceptions.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/Errors.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TScreen.h"
#include "platform/user/Window.h"
#include "platform/user/Menus.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/controls/TreeView.h"
#include "skin/engine/sStyleSimply.h"
#include "skin/windows/shell/acShellChangeNotifier.h"
#include "skin/windows/shell/acShellIcons.h"
#include "skin/windows/shell/acShellTreeView.h"

#include <cerrno>
#include <filesystem>
#include <unistd.h>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;
using korvex::skin::shelltest::ShellTree;

namespace {

class ShellTreeViewTest : public ControlsTest {
protected:
    TsShellTreeView* NewTree(const std::string& root) {
        auto* tree = Create<TsShellTreeView>(Form);
        tree->SetBounds(10, 10, 220, 260);
        tree->SetRoot(root);
        tree->SetParent(Form);
        Pump();
        return tree;
    }
    static std::vector<std::string> Children(TTreeNode* node) {
        std::vector<std::string> names;
        for (int i = 0; i < node->Count(); ++i) names.push_back(node->Item(i)->Text());
        return names;
    }
    static TTreeNode* Child(TTreeNode* node, const std::string& name) {
        for (int i = 0; i < node->Count(); ++i)
            if (node->Item(i)->Text() == name) return node->Item(i);
        return nullptr;
    }
};

TEST_F(ShellTreeViewTest, APathRootShowsItsFoldersOnlyExpandedAndSortedWithoutHiddenOnes) {
    ShellTree files;
    UseSkin(0);
    TsShellTreeView* tree = NewTree(files.Root());
    ASSERT_EQ(tree->Items()->GetFirstNode()->GetNextSibling(), nullptr);   // one top node
    TTreeNode* root = tree->Items()->GetFirstNode();
    EXPECT_TRUE(root->Expanded());
    EXPECT_EQ(tree->Selected(), root);
    EXPECT_EQ(tree->Path(), files.Root());
    // Folders only, names as they are; the link to "." is a folder whose levels load one at a time.
    const std::vector<std::string> want = {"closed", "cycle", "docs & notes", "Folder A", "Папка"};
    EXPECT_EQ(Children(root), want);
    TTreeNode* cycle = Child(root, "cycle");
    for (int depth = 0; depth < 3 && cycle != nullptr; ++depth) {
        cycle->SetExpanded(true);
        cycle = Child(cycle, "cycle");
    }
    EXPECT_NE(cycle, nullptr);
    // Hidden entries come with otHidden, files with otNonFolders.
    tree->SetObjectTypes(TacShellObjectTypes {otFolders, otHidden, otNonFolders});
    root = tree->Items()->GetFirstNode();
    EXPECT_NE(Child(root, ".hidden dir"), nullptr);
    EXPECT_NE(Child(root, "file one.txt"), nullptr);
}

TEST_F(ShellTreeViewTest, ExpandingLoadsALevelOnceAndAnUnreadableFolderHasNoChildren) {
    ShellTree files;
    TsShellTreeView* tree = NewTree(files.Root());
    TTreeNode* folderA = Child(tree->Items()->GetFirstNode(), "Folder A");
    ASSERT_NE(folderA, nullptr);
    EXPECT_TRUE(folderA->HasChildren());
    EXPECT_EQ(folderA->Count(), 0);
    folderA->SetExpanded(true);
    Pump();
    EXPECT_EQ(Children(folderA), std::vector<std::string> {"Sub"});
    folderA->SetExpanded(false);
    folderA->SetExpanded(true);
    EXPECT_EQ(folderA->Count(), 1);   // not loaded twice
    TTreeNode* closed = Child(tree->Items()->GetFirstNode(), "closed");
    ASSERT_NE(closed, nullptr);
    closed->SetExpanded(true);
    Pump();
    if (!ShellTree::RunsAsRoot()) {
        EXPECT_EQ(closed->Count(), 0);
    }
    EXPECT_EQ(tree->Folders(folderA->AbsoluteIndex()), folderA->Data());
    EXPECT_EQ(tree->Folders(100000), nullptr);
}

TEST_F(ShellTreeViewTest, ALevelLoadsUnderTheHourGlassAndARefusedFolderHasNoNode) {
    ShellTree files;
    TsShellTreeView* tree = NewTree(files.Root());
    TTreeNode* folderA = Child(tree->Items()->GetFirstNode(), "Folder A");
    ASSERT_NE(folderA, nullptr);
    ASSERT_NE(Screen, nullptr);
    const TCursor before = Screen->Cursor();
    std::vector<std::pair<std::string, TCursor>> asked;
    tree->OnAddFolder = [&](TObject*, TacShellFolder* folder, bool& canAdd) {
        asked.emplace_back(folder->DisplayName(), Screen->Cursor());
        canAdd = folder->DisplayName() != "Sub";
    };
    folderA->SetExpanded(true);
    Pump();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].first, "Sub");
    EXPECT_EQ(asked[0].second, crHourGlass);
    EXPECT_EQ(Screen->Cursor(), before);
    EXPECT_EQ(folderA->Count(), 0);   // the refused folder's node is gone
}

TEST_F(ShellTreeViewTest, RootSettersCompareRootNamesWithoutCaseAndPathsExactly) {
    ShellTree files;
    std::filesystem::create_directory(files / "Folder A/sub");   // "Sub" and "sub" are two folders
    TsShellTreeView* tree = NewTree(files / "Folder A/Sub");
    EXPECT_EQ(tree->Path(), files / "Folder A/Sub");
    tree->SetRoot(files / "Folder A/sub");
    EXPECT_EQ(tree->Path(), files / "Folder A/sub");
    tree->SetRoot("rfDesktop");
    TTreeNode* desktop = tree->Items()->GetFirstNode();
    TTreeNode* before = desktop;
    tree->SetRoot("RFDESKTOP");   // the same root: nothing is rebuilt
    EXPECT_EQ(tree->Items()->GetFirstNode(), before);
    EXPECT_EQ(tree->Root(), "rfDesktop");
    // A root that names nothing keeps the old one and says so.
    EXPECT_THROW(tree->SetRoot(files / "missing"), base::Exception);
    EXPECT_EQ(tree->Root(), "rfDesktop");
    EXPECT_THROW(tree->SetRoot("relative/path"), base::Exception);
}

TEST_F(ShellTreeViewTest, SelectPathExpandsEveryAncestorAndSelectsTheFolder) {
    ShellTree files;
    TsShellTreeView* tree = NewTree("rfDesktop");
    tree->SelectPath(files / "Folder A/Sub");
    ASSERT_NE(tree->SelectedFolder(), nullptr);
    EXPECT_EQ(tree->Path(), files / "Folder A/Sub");
    for (TTreeNode* n = tree->Selected()->Parent(); n != nullptr; n = n->Parent()) EXPECT_TRUE(n->Expanded()) << n->Text();
    TTreeNode* selected = tree->Selected();
    tree->SelectPath(files / "Folder A/Sub");   // the same folder again changes nothing
    EXPECT_EQ(tree->Selected(), selected);
    // A path the namespace cannot parse raises the OLE error with the system's reason.
    try {
        tree->SelectPath(files / "nowhere");
        ADD_FAILURE() << "no exception";
    } catch (const EOleSysError& e) {
        EXPECT_EQ(e.ErrorCode(), ENOENT);
        EXPECT_STREQ(e.what(), "No such file or directory");
    }
    EXPECT_THROW(tree->SelectPath("relative/path"), EOleSysError);
    EXPECT_EQ(tree->Selected(), selected);
}

TEST_F(ShellTreeViewTest, RenamingByLabelEditRefusesAnExistingNameAndRefreshesTheParentNode) {
    ShellTree files;
    TsShellTreeView* tree = NewTree(files.Root());
    TTreeNode* folderA = Child(tree->Items()->GetFirstNode(), "Folder A");
    folderA->SetExpanded(true);
    Pump();
    std::string error;
    Application->OnException = [&](TObject*, const std::exception& e) { error = e.what(); };
    auto edit = [&](TTreeNode* node, const std::string& text) {
        ASSERT_TRUE(node->EditText());
        user::HWND editor = user::HWND(user::SendMessage(tree->Handle(), user::TVM_GETEDITCONTROL, 0, 0));
        ASSERT_NE(editor, nullptr);
        user::SetWindowText(editor, text);
        node->EndEdit(false);
        Pump();
    };
    edit(folderA, "Папка");   // taken: refused, nothing overwritten
    EXPECT_EQ(error, "Rename to Папка failed");
    EXPECT_TRUE(std::filesystem::exists(files / "Folder A/inner.txt"));
    EXPECT_EQ(Child(tree->Items()->GetFirstNode(), "Folder A"), folderA);
    edit(folderA, "Folder B & more");
    EXPECT_TRUE(std::filesystem::is_directory(files / "Folder B & more/Sub"));
    // The renamed node itself is loaded again: its child knows its new path.
    TTreeNode* renamed = Child(tree->Items()->GetFirstNode(), "Folder B & more");
    ASSERT_NE(renamed, nullptr);
    EXPECT_TRUE(renamed->Expanded());
    ASSERT_NE(Child(renamed, "Sub"), nullptr);
    EXPECT_EQ(static_cast<TacShellFolder*>(Child(renamed, "Sub")->Data())->PathName(), files / "Folder B & more/Sub");
    // The parent is loaded again: the renamed node moves to its place in the order.
    edit(renamed, "a first");
    const std::vector<std::string> order = {"a first", "closed", "cycle", "docs & notes", "Папка"};
    EXPECT_EQ(Children(tree->Items()->GetFirstNode()), order);
    Application->OnException = nullptr;
}

TEST_F(ShellTreeViewTest, ItsOwnPopupMenuShowsOnlyWithAutoPopupElseTheShellsMenu) {
    ShellTree files;
    TsShellTreeView* tree = NewTree(files.Root());
    auto* popup = Create<TPopupMenu>(Form);
    auto* own = new TMenuItem(popup);
    own->SetCaption("Own");
    popup->Items()->Add(own);
    int ownShown = 0;
    popup->OnPopup = [&](TObject*) { ++ownShown; };
    tree->SetPopupMenu(popup);
    int menuLoops = 0;
    user::SetMenuLoopIdleHook([&] {
        ++menuLoops;
        return false;   // closes the menu, nothing chosen
    });
    base::ScopeExit unhook([] { user::SetMenuLoopIdleHook({}); });
    const TPoint at = tree->ClientToScreen(TPoint {20, 10});
    const LPARAM point = user::MAKELPARAM(at.x, at.y);
    tree->Perform(user::WM_CONTEXTMENU, WPARAM(tree->Handle()), point);
    EXPECT_EQ(ownShown, 1);
    EXPECT_EQ(menuLoops, 1);
    popup->SetAutoPopup(false);
    tree->Perform(user::WM_CONTEXTMENU, WPARAM(tree->Handle()), point);
    EXPECT_EQ(ownShown, 1);
    EXPECT_EQ(menuLoops, 2);   // the shell's menu for the selected folder
}

TEST_F(ShellTreeViewTest, AListSentByAnyoneIsReplacedByItsOwnChoiceAndImageHandlersRunOnlyWithItsOwnImages) {
    ShellTree files;
    TsShellTreeView* tree = NewTree(files.Root());
    auto* own = Create<TImageList>(Form);
    auto normalList = [tree] {
        return reinterpret_cast<user::HIMAGELIST>(
            user::SendMessage(tree->Handle(), user::TVM_GETIMAGELIST, user::TVSIL_NORMAL, 0));
    };
    user::SendMessage(tree->Handle(), user::TVM_SETIMAGELIST, user::TVSIL_NORMAL, LPARAM(own->Handle()));
    EXPECT_EQ(normalList(), SystemImageList(false)->Handle());
    int asked = 0;
    tree->OnGetImageIndex = [&](TObject*, TTreeNode*) { ++asked; };
    tree->Invalidate();
    Pump();
    EXPECT_EQ(asked, 0);   // the system icons stay
    tree->SetImages(own);
    EXPECT_EQ(normalList(), own->Handle());
    tree->Invalidate();
    Pump();
    EXPECT_GT(asked, 0);
    tree->SetImages(nullptr);
    tree->SetUseShellImages(false);
    EXPECT_EQ(normalList(), nullptr);
}

TEST_F(ShellTreeViewTest, ANewTreeOwnsANotifierThatWatchesNothingUntilItsFirstSelection) {
    ShellTree files;
    auto* tree = Create<TsShellTreeView>(Form);
    ASSERT_NE(tree->Notifier(), nullptr);
    EXPECT_EQ(tree->Notifier()->Owner(), tree);
    EXPECT_EQ(tree->Notifier()->Thread(), nullptr);   // no handler, no worker
    TComponentWatch made(tree->Notifier());
    // Selecting the root node switches AutoRefresh off for the moment and back to off: the notifier goes.
    tree->SetRoot(files.Root());
    tree->SetParent(Form);
    Pump();
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_FALSE(made.Alive());
    EXPECT_EQ(tree->Notifier(), nullptr);
}

TEST_F(ShellTreeViewTest, AutoRefreshIsAppliedAgainForTheNodeBeingSelected) {
    ShellTree files;
    TsShellTreeView* tree = NewTree(files.Root());
    tree->SetAutoRefresh(true);
    ASSERT_NE(tree->Notifier(), nullptr);
    EXPECT_EQ(tree->Notifier()->Root(), files.Root());
    TComponentWatch first(tree->Notifier());
    tree->SetSelected(Child(tree->Items()->GetFirstNode(), "Folder A"));
    EXPECT_FALSE(first.Alive());   // switched off and on again
    ASSERT_NE(tree->Notifier(), nullptr);
    EXPECT_EQ(tree->Notifier()->Root(), files / "Folder A");
    tree->SetAutoRefresh(false);
    tree->SetSelected(tree->Items()->GetFirstNode());
    EXPECT_EQ(tree->Notifier(), nullptr);
}

TEST_F(ShellTreeViewTest, ItsFramePaintGivesTheSystemIconsItsColour) {
    ShellTree files;
    UseSkin(1);
    TsShellTreeView* tree = NewTree(files.Root());
    ParentsUpdated(Form);
    SystemImageList(false)->SetBkColor(clNone);
    tree->Perform(user::WM_NCPAINT, 0, 0);
    EXPECT_EQ(SystemImageList(false)->BkColor(), QueryControlColor(tree));
    EXPECT_NE(SystemImageList(false)->BkColor(), clNone);
    SystemImageList(false)->SetBkColor(clNone);   // shared with the other tests
}

TEST_F(ShellTreeViewTest, TheDeleteCompletionRemovesANodeOnlyWhenNoEntryIsLeft) {
    ShellTree files;
    TsShellTreeView* tree = NewTree(files.Root());
    TTreeNode* docs = Child(tree->Items()->GetFirstNode(), "docs & notes");
    tree->SetSelected(docs);
    // A dangling link left at the path still is an entry.
    std::filesystem::remove(files / "docs & notes");
    std::filesystem::create_symlink(files / "gone", files / "docs & notes");
    tree->CommandCompleted("delete", true);
    EXPECT_EQ(Child(tree->Items()->GetFirstNode(), "docs & notes"), docs);
    std::filesystem::remove(files / "docs & notes");
    tree->CommandCompleted("delete", false);   // not done: kept
    EXPECT_NE(Child(tree->Items()->GetFirstNode(), "docs & notes"), nullptr);
    tree->CommandCompleted("delete", true);
    EXPECT_EQ(Child(tree->Items()->GetFirstNode(), "docs & notes"), nullptr);
}

// With files listed, a refreshed folder that holds a file but no folder keeps its button: its one child node is
// reached by expanding it.
TEST_F(ShellTreeViewTest, ARefreshedFolderHoldingOnlyFilesKeepsItsButtonWhenFilesAreListed) {
    ShellTree files;
    TsShellTreeView* tree = NewTree(files.Root());
    tree->SetObjectTypes(TacShellObjectTypes {otFolders, otNonFolders});
    TTreeNode* folder = Child(tree->Items()->GetFirstNode(), "Папка");
    ASSERT_NE(folder, nullptr);
    EXPECT_TRUE(folder->HasChildren());
    tree->Refresh(folder);
    folder = Child(tree->Items()->GetFirstNode(), "Папка");
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(Children(folder), std::vector<std::string> {"файл.txt"});
    EXPECT_TRUE(folder->HasChildren());
}

TEST_F(ShellTreeViewTest, RefreshKeepsExpansionAndSelectionAndShowsNewFolders) {
    ShellTree files;
    TsShellTreeView* tree = NewTree(files.Root());
    TTreeNode* root = tree->Items()->GetFirstNode();
    Child(root, "Folder A")->SetExpanded(true);
    tree->SetSelected(Child(Child(root, "Folder A"), "Sub"));
    std::filesystem::create_directory(files / "new one");
    tree->Refresh(root);
    root = tree->Items()->GetFirstNode();
    EXPECT_NE(Child(root, "new one"), nullptr);
    ASSERT_NE(Child(root, "Folder A"), nullptr);
    EXPECT_TRUE(Child(root, "Folder A")->Expanded());
    EXPECT_EQ(tree->Path(), files / "Folder A/Sub");
    bool handled = false;
    tree->ExecuteCommand("open", handled);   // opening never moves the current folder
    tree->CommandCompleted("open", true);
    EXPECT_FALSE(handled);
}

}
