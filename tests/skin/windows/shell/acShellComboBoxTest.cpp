// TsShellComboBox on a temporary folder tree: the root's items and indents, the chain down to a folder, the
// guarded Folders, images, choosing by mouse and keys, following and leading the tree and a file list, links
// cleared when a linked control goes, form text, and a picture of the open list; the current folder unchanged.
#include "support/ControlsKit.h"
#include "support/ShellTree.h"

#include "platform/base/Exceptions.h"
#include "platform/classes/Errors.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TObject.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ListBox.h"
#include "platform/user/display/Display.h"
#include "platform/classes/TReader.h"
#include "skin/controls/sControlClasses.h"
#include "platform/os/ProgramFolder.h"
#include "skin/controls/sPanel.h"
#include "skin/windows/shell/acShellClasses.h"
#include "skin/windows/shell/acShellComboBox.h"
#include "skin/windows/shell/acShellIcons.h"
#include "skin/windows/shell/acShellListView.h"
#include "skin/windows/shell/acShellTreeView.h"

#include <algorithm>
#include <sys/stat.h>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;
using korvex::skin::shelltest::ShellTree;

namespace {

// A file list stand-in: records what its links tell it.
class FakeList : public TComponent, public IacShellListLink {
public:
    explicit FakeList(TComponent* owner) : TComponent(owner) {}
    TComponent* LinkedComponent() override { return this; }
    void SetRoot(const TacRoot& value) override { Root = value; }
    void TreeUpdate(const TItemIDList& pidl) override { Shown.push_back(PidlPath(pidl).value_or("")); }
    void LinkTreeView(TacCustomShellTreeView* tree) override { Tree = tree; }
    void LinkComboBox(TacCustomShellComboBox* combo) override { Combo = combo; }

    TacRoot Root;
    std::vector<std::string> Shown;
    TacCustomShellTreeView* Tree = nullptr;
    TacCustomShellComboBox* Combo = nullptr;
};

class ShellComboBoxTest : public ControlsTest {
protected:
    TsShellComboBox* NewCombo(const std::string& root, int x = 10) {
        auto* combo = Create<TsShellComboBox>(Form);
        combo->SetBounds(x, 10, 220, 22);
        combo->SetDropDownCount(16);
        combo->SetRoot(root);
        combo->SetParent(Form);
        Pump();
        return combo;
    }
    // A panel on the form holding what the form text describes.
    TsPanel* HolderFromText(const std::string& text) {
        auto* holder = Create<TsPanel>(Form);
        holder->SetBounds(0, 0, 360, 240);
        holder->SetParent(Form);
        ReadRootComponent(holder, text);
        return holder;
    }
    TsShellTreeView* NewTree() {
        auto* tree = Create<TsShellTreeView>(Form);
        tree->SetBounds(240, 10, 110, 200);
        tree->SetParent(Form);
        return tree;
    }
    // Every item as its indent and caption: "1 Folder A".
    static std::vector<std::string> Listing(const TsShellComboBox* combo) {
        std::vector<std::string> items;
        for (int i = 0; i < combo->ItemsEx()->Count(); ++i) {
            const TsComboItem* item = combo->ItemsEx()->GetItem(i);
            items.push_back(std::to_string(item->Indend()) + " " + item->Caption());
        }
        return items;
    }
    void ClickListItem(TsShellComboBox* combo, int index) {
        user::SendMessage(combo->ListHandle(), user::LB_SETTOPINDEX, user::WPARAM(index), 0);
        Pump();
        gdi::RECT r {};
        user::SendMessage(combo->ListHandle(), user::LB_GETITEMRECT, user::WPARAM(index), user::LPARAM(&r));
        gdi::POINT p {60, (r.top + r.bottom) / 2};
        user::ClientToScreen(combo->ListHandle(), &p);
        Display->Click(p.x, p.y);
        Pump();
    }
};

TEST_F(ShellComboBoxTest, APathRootListsItselfThenItsFoldersOneLevelIn) {
    ShellTree files;
    TsShellComboBox* combo = NewCombo(files.Root());
    const std::string self = "0 " + files.Root().substr(files.Root().rfind('/') + 1);
    const std::vector<std::string> want = {self, "1 closed", "1 cycle", "1 docs & notes", "1 Folder A", "1 Папка"};
    EXPECT_EQ(Listing(combo), want);
    EXPECT_EQ(combo->Items()->Count(), 6);   // the window holds the same items
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Path(), files.Root() + "/");
    EXPECT_EQ(combo->ItemsEx()->GetItem(4)->ImageIndex(), siFolder);
    EXPECT_EQ(combo->Folders(4)->PathName(), files / "Folder A");
}

// Other object types list the root again with them; "." alone is the program's folder.
TEST_F(ShellComboBoxTest, ObjectTypesListTheRootAgainAndADotIsTheProgramsFolder) {
    ShellTree files;
    TsShellComboBox* combo = NewCombo(files.Root());
    const int folders = combo->ItemsEx()->Count();
    combo->SetObjectTypes({otFolders, otNonFolders});
    const std::vector<std::string> items = Listing(combo);
    EXPECT_GT(static_cast<int>(items.size()), folders);
    EXPECT_NE(std::find(items.begin(), items.end(), "1 plain"), items.end());
    EXPECT_EQ(combo->ItemIndex(), 0);
    combo->SetObjectTypes({otFolders});
    EXPECT_EQ(combo->ItemsEx()->Count(), folders);

    TsShellComboBox* desktop = NewCombo("rfDesktop");
    desktop->SetPathFromText(".");
    std::string program = os::ProgramFolder();
    if (program.back() != '/') program += '/';
    EXPECT_EQ(desktop->Path(), program);
}

TEST_F(ShellComboBoxTest, TheDesktopRootListsHomeAndComputerWithTheMountsUnderTheComputer) {
    ShellTree files;
    TsShellComboBox* combo = NewCombo("rfDesktop");
    const std::vector<std::string> items = Listing(combo);
    ASSERT_GE(items.size(), 4u);
    EXPECT_EQ(std::vector(items.begin(), items.begin() + 3),
        (std::vector<std::string> {std::string("0 ") + DesktopName(), std::string("1 ") + HomeName(),
            std::string("1 ") + ComputerName()}));
    EXPECT_EQ(combo->Folders(3)->PathName(), "/");   // the root file system first
    for (std::size_t i = 3; i < items.size(); ++i) EXPECT_EQ(items[i][0], '2') << items[i];
    EXPECT_EQ(combo->Path(), "");   // the desktop has no path
    EXPECT_EQ(combo->ItemsEx()->GetItem(1)->ImageIndex(), siHome);
}

TEST_F(ShellComboBoxTest, SetPathInsertsTheChainInOrderAndAFolderOutsideTheRootKeepsTheRootSelected) {
    ShellTree files;
    ::mkdir((files / "Folder A/Sub/Deep & Глубже").c_str(), 0755);
    TsShellComboBox* combo = NewCombo(files.Root());
    combo->SetPathFromText(files / "Folder A/Sub/Deep & Глубже");
    const std::vector<std::string> want = {"0 " + files.Root().substr(files.Root().rfind('/') + 1), "1 closed",
        "1 cycle", "1 docs & notes", "1 Folder A", "2 Sub", "3 Deep & Глубже", "1 Папка"};
    EXPECT_EQ(Listing(combo), want);
    EXPECT_EQ(combo->ItemIndex(), 6);
    EXPECT_EQ(combo->Path(), files / "Folder A/Sub/Deep & Глубже/");
    EXPECT_EQ(combo->Items()->Get(combo->ItemIndex()), "Deep & Глубже");
    // A folder of the root's own list is selected without inserting anything.
    combo->SetPathFromText(files / "docs & notes");
    EXPECT_EQ(combo->ItemsEx()->Count(), 6);
    EXPECT_EQ(combo->Path(), files / "docs & notes/");
    // Outside the root: the rebuilt list keeps the root selected.
    combo->SetPathFromText("/");
    EXPECT_EQ(combo->ItemsEx()->Count(), 6);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_THROW(combo->SetPathFromText(files / "no such folder"), EOleSysError);
    EXPECT_EQ(combo->ItemIndex(), 0);
}

TEST_F(ShellComboBoxTest, MakingOneDrawsTheSystemIconsTransparentAgain) {
    ShellTree files;
    SystemImageList(false)->SetBkColor(clRed);   // as a tree's frame paint leaves it
    TsShellComboBox* combo = NewCombo(files.Root());
    EXPECT_EQ(SystemImageList(false)->BkColor(), clNone);
    EXPECT_EQ(combo->Images(), SystemImageList(false));
}

TEST_F(ShellComboBoxTest, ARootThatCannotBeListedRaisesTheOleError) {
    ShellTree files;
    if (ShellTree::RunsAsRoot()) GTEST_SKIP() << "every folder can be listed by root";
    TsShellComboBox* combo = NewCombo(files.Root());
    try {
        combo->SetRoot(files / "closed");
        ADD_FAILURE() << "no exception";
    } catch (const EOleSysError& e) {
        EXPECT_EQ(e.ErrorCode(), EACCES);
    }
}

TEST_F(ShellComboBoxTest, FoldersIsLimitedToTheLastItemAndGuardedWhenThereAreNone) {
    ShellTree files;
    TsShellComboBox* combo = NewCombo(files.Root());
    const int last = combo->ItemsEx()->Count() - 1;
    EXPECT_EQ(combo->Folders(last + 50), combo->Folders(last));
    EXPECT_EQ(combo->Folders(last)->PathName(), files / "Папка");
    EXPECT_EQ(combo->Folders(-1), nullptr);
    combo->Clear();
    for (int index : {0, 3, -1}) EXPECT_EQ(combo->Folders(index), nullptr) << index;
    EXPECT_EQ(combo->SelectedFolder(), nullptr);
    EXPECT_EQ(combo->Path(), "");
    EXPECT_EQ(combo->IndexFromID(ParseDisplayName(files.Root()).value()), -1);
}

TEST_F(ShellComboBoxTest, RootSetterKeepsTheOldRootForATextThatNamesNothing) {
    ShellTree files;
    TsShellComboBox* combo = NewCombo(files.Root());
    EXPECT_THROW(combo->SetRoot(files / "missing"), base::Exception);
    EXPECT_EQ(combo->Root(), files.Root());
    EXPECT_EQ(combo->ItemsEx()->Count(), 0);   // the list was cleared before the root was looked up
    EXPECT_EQ(combo->Folders(0), nullptr);
    combo->SetRoot("rfMyComputer");
    combo->SetPathFromText("/");
    combo->SetRoot("RFMYCOMPUTER");   // the same root: nothing rebuilt
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->ItemsEx()->GetItem(0)->Caption(), ComputerName());
}

TEST_F(ShellComboBoxTest, WithoutShellImagesEveryItemHasNoImageAndAHandlerMayChooseOne) {
    ShellTree files;
    TsShellComboBox* combo = NewCombo(files.Root());
    EXPECT_EQ(combo->Images(), SystemImageList(false));
    const int folderImage = combo->ItemsEx()->GetItem(1)->ImageIndex();
    combo->SetUseShellImages(false);
    EXPECT_EQ(combo->Images(), SystemImageList(false));   // the list given stays: the icon column keeps its place
    EXPECT_EQ(combo->ItemsEx()->GetItem(1)->ImageIndex(), folderImage);   // the items keep theirs
    combo->SetPathFromText(files.Root());   // the items made again have none
    for (int i = 0; i < combo->ItemsEx()->Count(); ++i) EXPECT_EQ(combo->ItemsEx()->GetItem(i)->ImageIndex(), -1);
    combo->SetUseShellImages(true);
    std::vector<int> asked;
    combo->OnGetImageIndex = [&](TObject*, int index, int& image) {
        asked.push_back(index);
        image = index == 5 || index == 0 ? siFile : image;
    };
    combo->SetPathFromText(files / "Folder A/Sub");
    EXPECT_EQ(combo->ItemsEx()->GetItem(5)->ImageIndex(), siFile);
    EXPECT_EQ(combo->ItemsEx()->GetItem(4)->ImageIndex(), siFolder);
    // The root's item keeps its shell image: the handler is asked for the folders listed and inserted.
    EXPECT_EQ(std::count(asked.begin(), asked.end(), 0), 0);
    EXPECT_NE(combo->ItemsEx()->GetItem(0)->ImageIndex(), siFile);
    EXPECT_FALSE(asked.empty());
    // One switched off before its window is made is never given the list.
    auto* plain = Create<TsShellComboBox>(Form);
    plain->SetUseShellImages(false);
    plain->SetRoot(files.Root());
    plain->SetParent(Form);
    Pump();
    EXPECT_EQ(plain->Images(), nullptr);
    EXPECT_EQ(plain->ItemsEx()->GetItem(1)->ImageIndex(), -1);
}

TEST_F(ShellComboBoxTest, ChoosingWithTheMouseRebuildsAroundTheFolderAndMovesTheLinkedTreeAndList) {
    ShellTree files;
    ::mkdir((files / "Folder A/Sub/Deep").c_str(), 0755);
    TsShellTreeView* tree = NewTree();
    TsShellComboBox* combo = NewCombo(files.Root());
    auto* list = Create<FakeList>(Form);
    combo->SetShellTreeView(tree);
    combo->SetShellListView(list);
    EXPECT_EQ(tree->Root(), files.Root());   // the tree takes the combo's root
    EXPECT_EQ(list->Root, files.Root());
    EXPECT_EQ(tree->ShellComboBox(), combo);
    EXPECT_EQ(list->Combo, combo);
    combo->SetPathFromText(files / "Folder A/Sub/Deep");
    ASSERT_EQ(combo->ItemsEx()->Count(), 8);
    // The user chooses "docs & notes": the chain to Deep goes, the linked controls show the folder.
    ClickAt(combo, 100, 11);
    ASSERT_TRUE(combo->DroppedDown());
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    ClickListItem(combo, 3);   // "docs & notes"
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemsEx()->Count(), 6);
    EXPECT_EQ(combo->Path(), files / "docs & notes/");
    EXPECT_EQ(tree->Path(), files / "docs & notes");
    ASSERT_FALSE(list->Shown.empty());
    EXPECT_EQ(list->Shown.back(), files / "docs & notes");
    EXPECT_GE(changes, 1);
    // Down on the closed combo moves to the next folder, and the linked controls follow at once.
    combo->SetFocus();
    Pump();
    Key(user::VK_DOWN);
    EXPECT_EQ(combo->Path(), files / "Folder A/");
    EXPECT_EQ(tree->Path(), files / "Folder A");
    EXPECT_EQ(list->Shown.back(), files / "Folder A");
}

TEST_F(ShellComboBoxTest, ChoosingADriveWithKeysInTheOpenListSelectsItAndTheTreeMovesThere) {
    ShellTree files;
    TsShellTreeView* tree = NewTree();
    TsShellComboBox* combo = NewCombo("rfDesktop");
    combo->SetShellTreeView(tree);
    combo->SetPathFromText(files / "Folder A");   // the chain under "/" is in the list
    const int chainLength = combo->ItemsEx()->Count();
    combo->SetItemIndex(2);   // Computer
    combo->SetFocus();
    Pump();
    Key(user::VK_F4);
    ASSERT_TRUE(combo->DroppedDown());
    Key(user::VK_DOWN);   // "/", the first mount
    Key(user::VK_RETURN);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Path(), "/");
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_LT(combo->ItemsEx()->Count(), chainLength);   // the chain to Folder A is gone
    EXPECT_EQ(tree->Path(), "/");
}

TEST_F(ShellComboBoxTest, AMadeAgainWindowKeepsTheItemsAndTheChosenFolder) {
    ShellTree files;
    TsShellComboBox* combo = NewCombo(files.Root());
    combo->SetPathFromText(files / "Folder A/Sub");
    const std::vector<std::string> before = Listing(combo);
    combo->SetParent(nullptr);   // the window goes
    EXPECT_FALSE(combo->HandleAllocated());
    combo->SetParent(Form);
    combo->HandleNeeded();
    Pump();
    EXPECT_EQ(Listing(combo), before);
    EXPECT_EQ(combo->Items()->Count(), static_cast<int>(before.size()));
    EXPECT_EQ(combo->Path(), files / "Folder A/Sub/");
}

TEST_F(ShellComboBoxTest, APlainDeleteWithTheWindowAliveTakesItDown) {
    ShellTree files;
    TsShellComboBox* combo = NewCombo(files.Root());
    combo->SetPathFromText(files / "Folder A/Sub");
    const user::HWND window = combo->Handle();
    const user::HWND list = combo->ListHandle();
    delete combo;   // not Free: the window outlives the combo part until the base destructor
    Pump();
    EXPECT_FALSE(user::IsWindow(window));
    EXPECT_FALSE(user::IsWindow(list));
}

TEST_F(ShellComboBoxTest, TheComboFollowsTheTreeAndFreeingEitherClearsTheOthersLink) {
    ShellTree files;
    TsShellTreeView* tree = NewTree();
    tree->SetRoot(files.Root());
    TsShellComboBox* combo = NewCombo("rfDesktop");
    tree->SetShellComboBox(combo);
    EXPECT_EQ(combo->Root(), files.Root());   // the combo takes the tree's root
    EXPECT_EQ(combo->ShellTreeView(), tree);
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    tree->SelectPath(files / "Folder A/Sub");
    EXPECT_EQ(combo->Path(), files / "Folder A/Sub/");
    EXPECT_EQ(changes, 1);
    tree->SelectPath(files / "Folder A/Sub");   // the same folder: nothing
    EXPECT_EQ(changes, 1);
    // A node selected by the user: the combo follows.
    TTreeNode* papka = tree->Items()->GetFirstNode()->GetLastChild();
    ASSERT_EQ(papka->Text(), "Папка");
    tree->SetSelected(papka);
    EXPECT_EQ(combo->Path(), files / "Папка/");
    // Another root on the combo reaches the tree.
    combo->SetRoot(files / "Folder A");
    EXPECT_EQ(tree->Root(), files / "Folder A");
    tree->Free();
    EXPECT_EQ(combo->ShellTreeView(), nullptr);
    combo->SetPathFromText(files / "Folder A/Sub");   // nothing left to tell
    TsShellTreeView* other = NewTree();
    combo->SetShellTreeView(other);
    combo->Free();
    EXPECT_EQ(other->ShellComboBox(), nullptr);
    other->SelectPath(files / "Folder A/Sub");   // nothing left to tell
}

// A tree or list replaced by another is unlinked both ways: a tree no longer moves the combo.
TEST_F(ShellComboBoxTest, ATreeReplacedByAnotherNoLongerMovesTheCombo) {
    ShellTree files;
    TsShellComboBox* combo = NewCombo(files.Root());
    TsShellTreeView* first = NewTree();
    combo->SetShellTreeView(first);
    TsShellTreeView* second = NewTree();
    second->SetLeft(360);
    combo->SetShellTreeView(second);
    EXPECT_EQ(first->ShellComboBox(), nullptr);
    EXPECT_EQ(second->ShellComboBox(), combo);
    first->SelectPath(files / "Folder A/Sub");
    EXPECT_EQ(combo->Path(), files.Root() + "/");
    second->SelectPath(files / "docs & notes");
    EXPECT_EQ(combo->Path(), files / "docs & notes/");
    // The same for a list.
    auto* firstList = Create<FakeList>(Form);
    auto* secondList = Create<FakeList>(Form);
    combo->SetShellListView(firstList);
    combo->SetShellListView(secondList);
    EXPECT_EQ(firstList->Combo, nullptr);
    EXPECT_EQ(secondList->Combo, combo);
}

TEST_F(ShellComboBoxTest, UnlinkingClearsTheBackLinkAndAFreedListIsForgottenByComboAndTree) {
    ShellTree files;
    TsShellComboBox* combo = NewCombo(files.Root());
    auto* list = Create<FakeList>(Form);
    combo->SetShellListViewComponent(list);
    EXPECT_EQ(combo->ShellListView(), list);
    combo->SetShellListView(nullptr);
    EXPECT_EQ(list->Combo, nullptr);
    combo->SetShellListView(list);
    // The tree holds the same kind of link: the list follows its selection.
    TsShellTreeView* tree = NewTree();
    tree->SetShellListViewComponent(list);
    EXPECT_EQ(list->Tree, tree);
    EXPECT_EQ(list->Root, "rfDesktop");   // the tree's root
    tree->SetRoot(files.Root());
    EXPECT_EQ(list->Root, files.Root());
    tree->SelectPath(files / "docs & notes");
    ASSERT_FALSE(list->Shown.empty());
    EXPECT_EQ(list->Shown.back(), files / "docs & notes");
    delete list;
    EXPECT_EQ(combo->ShellListView(), nullptr);
    EXPECT_EQ(combo->ShellListViewComponent(), nullptr);
    EXPECT_EQ(tree->ShellListView(), nullptr);
    tree->SelectPath(files / "Folder A");   // nothing left to tell
    EXPECT_THROW(combo->SetShellListViewComponent(Form), base::Exception);
    EXPECT_THROW(tree->SetShellListViewComponent(Form), base::Exception);
}

TEST_F(ShellComboBoxTest, FormTextMakesALinkedTreeAndComboOnceTheClassesAreRegistered) {
    ShellTree files;
    RegisterSkinControlClasses();
    RegisterShellClasses();
    const std::string text = "object Holder: TsPanel\n"
                             "  object Tree: TsShellTreeView\n"
                             "    Root = '" + files.Root() + "'\n"
                             "    ShellComboBox = Combo\n"
                             "  end\n"
                             "  object Combo: TsShellComboBox\n"
                             "    UseShellImages = False\n"
                             "  end\n"
                             "end\n";
    TsPanel* holder = HolderFromText(text);
    Pump();
    auto* tree = static_cast<TsShellTreeView*>(holder->FindComponent("Tree"));
    auto* combo = static_cast<TsShellComboBox*>(holder->FindComponent("Combo"));
    ASSERT_TRUE(tree != nullptr && combo != nullptr);
    EXPECT_EQ(tree->ShellComboBox(), combo);
    EXPECT_EQ(combo->ShellTreeView(), tree);
    EXPECT_EQ(combo->Root(), files.Root());
    EXPECT_EQ(combo->Folders(0)->PathName(), files.Root());
    EXPECT_EQ(combo->ItemsEx()->GetItem(1)->ImageIndex(), -1);
    tree->SelectPath(files / "Папка");
    EXPECT_EQ(combo->Path(), files / "Папка/");
}

TEST_F(ShellComboBoxTest, FormTextSetsTheTreesAndTheListsObjectTypesAndExtensions) {
    ShellTree files;
    RegisterSkinControlClasses();
    RegisterShellClasses();
    const std::string text = "object Holder: TsPanel\n"
                             "  object Tree: TsShellTreeView\n"
                             "    ObjectTypes = [otFolders, otHidden]\n"
                             "    ShowExt = seHide\n"
                             "  end\n"
                             "  object List: TsShellListView\n"
                             "    ObjectTypes = [otNonFolders]\n"
                             "    ShowExt = seShow\n"
                             "  end\n"
                             "end\n";
    TsPanel* holder = HolderFromText(text);
    auto* tree = static_cast<TsShellTreeView*>(holder->FindComponent("Tree"));
    auto* list = static_cast<TsShellListView*>(holder->FindComponent("List"));
    ASSERT_TRUE(tree != nullptr && list != nullptr);
    EXPECT_EQ(tree->ObjectTypes(), (TacShellObjectTypes {otFolders, otHidden}));
    EXPECT_EQ(tree->ShowExt(), seHide);
    EXPECT_EQ(list->ObjectTypes(), TacShellObjectTypes {otNonFolders});
    EXPECT_EQ(list->ShowExt(), seShow);
}

class ShellComboPicture : public ShellComboBoxTest, public ::testing::WithParamInterface<int> { };

TEST_P(ShellComboPicture, TheOpenListShowsTheChainIndentedWithIcons) {
    ShellTree files;
    ::mkdir((files / "Folder A/Sub/Deep & Глубже").c_str(), 0755);
    UseSkin(GetParam());
    Form->SetClientWidth(260);
    Form->SetClientHeight(240);
    TsShellComboBox* combo = NewCombo(files.Root());
    combo->SetPathFromText(files / "Folder A/Sub/Deep & Глубже");
    ParentsUpdated(Form);
    Pump();
    combo->SetDroppedDown(true);
    Pump();
    ASSERT_TRUE(combo->DroppedDown());
    user::FlushDisplay();
    const TPoint origin = Form->ClientToScreen(TPoint {0, 0});
    const gdi::RECT list = user::WindowRect(combo->ListHandle());
    const gdi::RECT r {origin.x, origin.y, origin.x + 260, std::max<gdi::LONG>(origin.y + 240, list.bottom)};
    EXPECT_TRUE(Display->WriteScreenshotPng(PictureDir() + "/ShellCombo_" + SkinShortName(GetParam()) + ".png", &r));
    combo->SetDroppedDown(false);
}

INSTANTIATE_TEST_SUITE_P(TwoSkins, ShellComboPicture, ::testing::Values(1, 3),
    [](const auto& info) { return SkinShortName(info.param); });

}
