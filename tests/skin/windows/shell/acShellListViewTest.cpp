// TsShellListView and TsDlgShellListView on a temporary folder tree: listing with folders first, the columns,
// the mask, a column click that sorts nothing, back and refresh (the root freed once), renaming refused over an
// existing entry, Enter and double click, the dialog list's Enter and multi-select, and the link with the shell tree.
#include "support/ControlsKit.h"
#include "support/ShellTree.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TMethodTable.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TStrings.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ListView.h"
#include "skin/controls/sControlClasses.h"
#include "skin/controls/sPanel.h"
#include "skin/windows/shell/acShellChangeNotifier.h"
#include "skin/windows/shell/acShellClasses.h"
#include "skin/windows/shell/acShellComboBox.h"
#include "skin/windows/shell/acShellListView.h"
#include "skin/windows/shell/acShellTreeView.h"
#include "tests/platform/os/support/DesktopLocale.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;
using korvex::skin::shelltest::ShellTree;

namespace {

const std::vector<std::string> TreeFolders = {"closed", "cycle", "docs & notes", "Folder A", "Папка"};

class ShellListViewTest : public ControlsTest {
protected:
    template <typename T = TsShellListView>
    T* NewList(const std::string& root, TViewStyle style = vsReport) {
        auto* list = Create<T>(Form);
        list->SetBounds(240, 10, 380, 260);
        list->SetViewStyle(style);
        list->SetRoot(root);
        list->SetParent(Form);
        Pump();
        return list;
    }
    static std::vector<std::string> Names(const TacCustomShellListView* list) {
        std::vector<std::string> names;
        for (int i = 0; i < list->Items()->Count(); ++i) names.push_back(list->Items()->Item(i)->Caption());
        return names;
    }
    static int IndexOf(const TacCustomShellListView* list, const std::string& name) {
        const std::vector<std::string> names = Names(list);
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }
    void Select(TacCustomShellListView* list, const std::string& name) {
        const int index = IndexOf(list, name);
        ASSERT_GE(index, 0) << name;
        list->ClearSelection();
        list->Items()->Item(index)->SetSelected(true);
        list->Items()->Item(index)->SetFocused(true);
    }
};

TEST_F(ShellListViewTest, AFolderListsItsFoldersFirstThenFilesWithoutHiddenOnesInFourColumns) {
    ShellTree files;
    UseSkin(1);
    TsShellListView* list = NewList(files.Root());
    std::vector<std::string> want = TreeFolders;
    for (const char* file : {"archive.zip", "file one.txt", "image.BMP", "plain", "self", "to file"}) want.push_back(file);
    EXPECT_EQ(Names(list), want);
    EXPECT_EQ(list->Path(), files.Root());
    ASSERT_EQ(list->Columns()->Count(), 4);
    EXPECT_EQ(list->Columns()->Items(0)->Caption(), "Name");
    EXPECT_EQ(list->Columns()->Items(3)->Caption(), "Modified");
    EXPECT_EQ(list->Columns()->Items(1)->Alignment(), taRightJustify);
    {
        // The columns are the desktop's: in its language.
        os::filetest::DesktopLocale russian("ru_RU.UTF-8");
        TsShellListView* russianList = NewList(files.Root());
        ASSERT_EQ(russianList->Columns()->Count(), 4);
        EXPECT_EQ(russianList->Columns()->Items(0)->Caption(), "Имя");
        EXPECT_EQ(russianList->Columns()->Items(3)->Caption(), "Изменён");
        EXPECT_STREQ(ComputerName(), "Компьютер");
    }
    TListItem* item = list->Items()->Item(IndexOf(list, "file one.txt"));
    ASSERT_EQ(item->SubItems()->Count(), 3);
    EXPECT_EQ(item->SubItems()->Strings(0), "5");
    EXPECT_EQ(item->SubItems()->Strings(1), ".txt");
    EXPECT_TRUE(list->IsFolderItem(IndexOf(list, "cycle")));   // a link to a folder is one
    EXPECT_FALSE(list->IsFolderItem(IndexOf(list, "self")));   // a link to itself is not
    list->SetObjectTypes(TacShellObjectTypes {otFolders, otNonFolders, otHidden});
    EXPECT_GE(IndexOf(list, ".hidden dir"), 0);
    EXPECT_LT(IndexOf(list, ".hidden dir"), IndexOf(list, "archive.zip"));
    // The desktop has no file-system columns.
    list->SetRoot("rfDesktop");
    EXPECT_EQ(Names(list), (std::vector<std::string> {"Home", "Computer"}));
    EXPECT_EQ(list->Columns()->Count(), 1);
}

TEST_F(ShellListViewTest, AMaskListsFoldersAndMatchingFilesInAnyCase) {
    ShellTree files;
    TsShellListView* list = NewList(files.Root(), vsList);
    list->SetMask("*.txt;*.bmp");
    std::vector<std::string> want = TreeFolders;
    want.insert(want.end(), {"file one.txt", "image.BMP"});
    EXPECT_EQ(Names(list), want);
    EXPECT_EQ(MaskWords("*.html;*.htm"), (std::vector<std::string> {"HTML", "HTM"}));
    EXPECT_TRUE(MaskWords("*.*").empty());
    list->SetMask("*.*");   // no extension named: everything
    EXPECT_EQ(list->Items()->Count(), 11);
    // A handler may refuse items.
    list->OnAddFolder = [](TObject*, TacShellFolder* folder, bool& canAdd) {
        canAdd = canAdd && folder->DisplayName() != "plain";
    };
    list->Refresh();
    EXPECT_EQ(IndexOf(list, "plain"), -1);
    EXPECT_EQ(list->Items()->Count(), 10);
}

// A Linux program has no extension: a pattern of the mask that fits its whole name lists it.
TEST_F(ShellListViewTest, AMaskPatternListsAFileWithoutAnExtensionByItsName) {
    ShellTree files;
    TsShellListView* list = NewList(files.Root(), vsList);
    list->SetMask("*.bmp;PLA*");
    std::vector<std::string> want = TreeFolders;
    want.insert(want.end(), {"image.BMP", "plain"});
    EXPECT_EQ(Names(list), want);
    list->SetMask("*.bmp;pl");   // a part of the name is not enough
    EXPECT_EQ(IndexOf(list, "plain"), -1);
}

TEST_F(ShellListViewTest, AStyleChangeInReportViewMakesTheColumnsAgainAndScrollBarsDoNot) {
    ShellTree files;
    TsShellListView* list = NewList(files.Root());
    ASSERT_EQ(list->Columns()->Count(), 4);
    const int sizeWidth = list->Columns()->Items(1)->Width();
    list->Columns()->Items(1)->SetWidth(sizeWidth + 40);
    // Scroll bars coming and going leave the columns as they are.
    list->SetBounds(240, 10, 120, 60);
    Pump();
    list->SetBounds(240, 10, 380, 260);
    Pump();
    EXPECT_EQ(list->Columns()->Items(1)->Width(), sizeWidth + 40);
    // Any other style change of the window makes them again.
    list->SetReadOnly(true);
    Pump();
    ASSERT_EQ(list->Columns()->Count(), 4);
    EXPECT_EQ(list->Columns()->Items(1)->Width(), sizeWidth);
    list->Columns()->Items(1)->SetWidth(sizeWidth + 40);
    list->SetViewStyle(vsList);
    list->SetMultiSelect(true);   // not in report view: nothing is made
    list->SetViewStyle(vsReport);
    Pump();
    EXPECT_EQ(list->Columns()->Items(1)->Width(), sizeWidth);
}

// The report view asks for a deleted file's details before it is listed again: empty texts, no error box.
TEST_F(ShellListViewTest, AFileDeletedFromTheMenuInReportViewReportsNoError) {
    ShellTree files;
    TsShellListView* list = NewList(files.Root());
    std::vector<std::string> errors;
    Application->OnException = [&](TObject*, const std::exception& e) { errors.push_back(e.what()); };
    base::ScopeExit quiet([] { Application->OnException = nullptr; });
    Select(list, "plain");
    Pump();
    ASSERT_TRUE(RunShellCommand(list, *list->SelectedFolder(), "delete"));
    Pump();
    EXPECT_EQ(IndexOf(list, "plain"), -1);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(ShellListViewTest, FormTextSetsTheEditingAndInsertEvents) {
    RegisterSkinControlClasses();
    RegisterShellClasses();
    int editing = 0;
    int inserted = 0;
    TMethodTable methods;
    methods.Add("ListEditing", std::function<void(TObject*, TListItem*, bool&)>(
                                   [&](TObject*, TListItem*, bool&) { ++editing; }))
        .Add("ListInsert", std::function<void(TObject*, TListItem*)>([&](TObject*, TListItem*) { ++inserted; }));
    auto* holder = Create<TsPanel>(Form);
    holder->SetParent(Form);
    ReadRootComponent(holder,
        "object Holder: TsPanel\n"
        "  object List: TsShellListView\n"
        "    OnEditing = ListEditing\n"
        "    OnInsert = ListInsert\n"
        "  end\n"
        "end\n",
        &methods);
    auto* list = static_cast<TsShellListView*>(holder->FindComponent("List"));
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(list->OnEditing && list->OnInsert);
    bool allow = true;
    list->OnEditing(list, nullptr, allow);
    list->OnInsert(list, nullptr);
    EXPECT_EQ(editing, 1);
    EXPECT_EQ(inserted, 1);
}

TEST_F(ShellListViewTest, AClickOnAColumnHeaderLeavesTheListInItsOrder) {
    ShellTree files;
    TsShellListView* list = NewList(files.Root());
    std::ofstream(files / "big.dat") << std::string(4000, 'x');   // the largest file, not the last by name
    list->Refresh();
    list->SetBounds(10, 10, 340, 220);   // the Size header inside the form
    Pump();
    const std::vector<std::string> listed = Names(list);
    EXPECT_NE(listed.back(), "big.dat");
    ASSERT_GE(list->Columns()->Count(), 2);
    int clicks = 0;
    list->OnColumnClick = [&clicks](TObject*, TListColumn*) { ++clicks; };
    const auto header = reinterpret_cast<user::HWND>(user::SendMessage(list->WindowHandle(), user::LVM_GETHEADER, 0, 0));
    user::RECT r {};
    ASSERT_TRUE(user::GetWindowRect(header, &r));
    const int sizeColumn = r.left + list->Columns()->Items(0)->Width();
    for (int click = 1; click <= 2; ++click) {
        Display->Click(sizeColumn + click * 20, r.top + 5);   // apart: two clicks, not a double click
        Pump();
        ASSERT_EQ(clicks, click);
        EXPECT_EQ(Names(list), listed) << click;
    }
}

TEST_F(ShellListViewTest, BackShowsTheParentAndDoesNothingAtTheDesktop) {
    ShellTree files;
    TsShellListView* list = NewList(files / "Folder A");
    EXPECT_EQ(Names(list), (std::vector<std::string> {"Sub", "inner.txt"}));
    list->Back();
    EXPECT_EQ(list->Path(), files.Root());
    list->SetRoot("rfDesktop");
    list->Back();
    ASSERT_NE(list->RootFolder(), nullptr);
    EXPECT_TRUE(list->RootFolder()->AbsoluteID().IsDesktop());
    EXPECT_EQ(list->Items()->Count(), 2);
}

TEST_F(ShellListViewTest, AMadeAgainWindowKeepsTheFolderShown) {
    ShellTree files;
    TsShellListView* list = NewList(files.Root());
    list->SetPath(*ParseDisplayName(files / "Folder A"));
    ASSERT_EQ(list->Path(), files / "Folder A");
    list->SetColumnClick(!list->ColumnClick());   // the window is made again
    list->HandleNeeded();
    Pump();
    EXPECT_EQ(list->Path(), files / "Folder A");
    EXPECT_EQ(Names(list), (std::vector<std::string> {"Sub", "inner.txt"}));
    list->SetParent(nullptr);   // the window goes
    list->SetParent(Form);
    list->HandleNeeded();
    Pump();
    EXPECT_EQ(list->Path(), files / "Folder A");
}

TEST_F(ShellListViewTest, ShowingExtensionsAnotherWayRepaintsTheNames) {
    ShellTree files;
    TsShellListView* list = NewList(files.Root(), vsList);
    Pump();
    user::RECT dirty {};
    ASSERT_FALSE(user::GetUpdateRect(list->WindowHandle(), &dirty, false));
    list->SetShowExt(seHide);
    EXPECT_TRUE(user::GetUpdateRect(list->WindowHandle(), &dirty, false));
    Pump();
    EXPECT_GE(IndexOf(list, "file one"), 0);
}

TEST_F(ShellListViewTest, RefreshListsTheFolderAgainAndKeepsTheSelectedIndex) {
    ShellTree files;
    TsShellListView* list = NewList(files.Root());
    Select(list, "plain");
    const int index = list->Items()->Item(IndexOf(list, "plain"))->Index();
    std::ofstream(files / "zzz new.txt") << "new";
    list->Refresh();
    list->Refresh();   // the root is freed once each time and made again
    ASSERT_NE(list->RootFolder(), nullptr);
    EXPECT_EQ(list->Path(), files.Root());
    EXPECT_GE(IndexOf(list, "zzz new.txt"), 0);
    ASSERT_NE(list->SelectedFolder(), nullptr);
    EXPECT_EQ(list->Selected()->Index(), index);
    // A shown folder that went away lists nothing and keeps its root.
    TsShellListView* gone = NewList(files / "docs & notes");
    std::filesystem::remove(files / "docs & notes");
    gone->Refresh();
    EXPECT_EQ(gone->Items()->Count(), 0);
    EXPECT_NE(gone->RootFolder(), nullptr);
}

TEST_F(ShellListViewTest, RenamingByLabelEditRefusesAnExistingName) {
    ShellTree files;
    TsShellListView* list = NewList(files.Root());
    std::string error;
    Application->OnException = [&](TObject*, const std::exception& e) { error = e.what(); };
    auto rename = [&](const std::string& from, const std::string& to) {
        Select(list, from);
        list->EditSelected();
        user::HWND editor = user::HWND(user::SendMessage(list->Handle(), user::LVM_GETEDITCONTROL, 0, 0));
        ASSERT_NE(editor, nullptr);
        user::SetWindowText(editor, to);
        user::SendMessage(editor, user::WM_KEYDOWN, user::VK_RETURN, 0);
        Pump();
    };
    rename("plain", "file one.txt");
    EXPECT_EQ(error, "Rename to file one.txt failed");
    EXPECT_EQ(std::filesystem::file_size(files / "file one.txt"), 5u);
    EXPECT_TRUE(std::filesystem::exists(files / "plain"));
    error.clear();
    rename("plain", "Новый & файл");
    EXPECT_EQ(error, "");
    EXPECT_TRUE(std::filesystem::exists(files / "Новый & файл"));
    EXPECT_FALSE(std::filesystem::exists(files / "plain"));
    Application->OnException = nullptr;
}

TEST_F(ShellListViewTest, EnterOpensAFolderInTheListAndStartsAFileWithTheOpener) {
    ShellTree files;
    const std::string marker = files / "opened";
    const std::string opener = files / "opener.sh";
    std::ofstream(opener) << "#!/bin/sh\necho \"$1\" > '" << marker << "'\n";
    std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    os::filetest::EnvOverride fake("KORVEX_OPENER", opener);
    TsShellListView* list = NewList(files.Root());
    list->SetFocus();
    Select(list, "Folder A");
    Key(user::VK_RETURN);
    EXPECT_EQ(list->Path(), files / "Folder A");
    Select(list, "inner.txt");
    Key(user::VK_RETURN);
    for (int i = 0; i < 200 && !std::filesystem::exists(marker); ++i)   // a real child process
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::string opened;
    std::getline(std::ifstream(marker), opened);
    EXPECT_EQ(opened, files / "Folder A/inner.txt");
    Key(user::VK_BACK);
    EXPECT_EQ(list->Path(), files.Root());
}

TEST_F(ShellListViewTest, TheDialogListsEnterFiresOpenAndStartsNothingAndItSelectsMany) {
    ShellTree files;
    os::filetest::EnvOverride fake("KORVEX_OPENER", "/nonexistent/opener");
    auto* list = NewList<TsDlgShellListView>(files.Root(), vsList);
    int opened = 0;
    list->OnOpen = [&](TObject* sender) {
        EXPECT_EQ(sender, list);
        ++opened;
    };
    int clicks = 0;
    list->OnDblClick = [&](TObject*) { ++clicks; };
    list->SetMask("*.html;*.htm;*.txt");
    list->SetFocus();
    Select(list, "Folder A");
    Key(user::VK_RETURN);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(list->Path(), files.Root());   // the dialog decides what opening means
    list->SetMultiSelect(true);
    list->Items()->Item(IndexOf(list, "file one.txt"))->SetSelected(true);
    const std::vector<TacShellFolder*> selected = list->SelectedFolders();
    ASSERT_EQ(selected.size(), 2u);
    EXPECT_EQ(selected[0]->DisplayName(), "Folder A");
    EXPECT_EQ(selected[1]->DisplayName(), "file one.txt");
    const TRect r = list->Items()->Item(IndexOf(list, "file one.txt"))->DisplayRect(drLabel);
    const TPoint p = list->ClientToScreen(TPoint {r.left + 2, r.top + 2});
    Display->DoubleClick(p.x, p.y);
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list->Path(), files.Root());
}

TEST_F(ShellListViewTest, TheListFollowsTheTreeAndTheTreeFollowsTheList) {
    ShellTree files;
    auto* tree = Create<TsShellTreeView>(Form);
    tree->SetBounds(10, 10, 220, 260);
    tree->SetRoot(files.Root());
    tree->SetParent(Form);
    TsShellListView* list = NewList("rfDesktop");
    tree->SetShellListView(list);
    EXPECT_EQ(list->ShellTreeView(), tree);
    EXPECT_EQ(list->Root(), files.Root());
    TTreeNode* root = tree->Items()->GetFirstNode();
    TTreeNode* folderA = nullptr;
    for (int i = 0; i < root->Count(); ++i)
        if (root->Item(i)->Text() == "Folder A") folderA = root->Item(i);
    ASSERT_NE(folderA, nullptr);
    tree->SetSelected(folderA);
    EXPECT_EQ(list->Path(), files / "Folder A");
    Select(list, "Sub");
    list->SetFocus();
    Key(user::VK_RETURN);
    EXPECT_EQ(list->Path(), files / "Folder A/Sub");
    EXPECT_EQ(tree->Path(), files / "Folder A/Sub");
    delete tree;
    EXPECT_EQ(list->ShellTreeView(), nullptr);
    list->Back();   // no tree to tell
    EXPECT_EQ(list->Path(), files / "Folder A");
}

}

namespace {

// The tree beside the list in report view, in two of our skins; written for looking at.
TEST_F(ShellListViewTest, PictureOfTheTreeBesideTheListInTwoSkins) {
    ShellTree files;
    for (int skin : {0, 1}) {
        UseSkin(skin);
        Form->SetBounds(0, 0, 820, 300);
        auto* tree = Create<TsShellTreeView>(Form);
        tree->SetBounds(10, 10, 220, 260);
        tree->SetRoot(files.Root());
        tree->SetParent(Form);
        TsShellListView* list = NewList("rfDesktop");
        list->SetWidth(560);
        tree->SetShellListView(list);
        ParentsUpdated(Form);
        Pump();
        ASSERT_EQ(list->Items()->Count(), 11);
        user::FlushDisplay();
        const TPoint origin = Form->ClientToScreen(TPoint {0, 0});
        const gdi::RECT r {origin.x, origin.y, origin.x + Form->ClientWidth(), origin.y + Form->ClientHeight()};
        EXPECT_TRUE(Display->WriteScreenshotPng(PictureDir() + "/shell-tree-and-list-" + SkinShortName(skin) + ".png", &r));
        delete list;
        delete tree;
    }
}

}

namespace {

// The list's incremental search, called as the native list calls it.
class FindingList : public TsShellListView {
public:
    using TsShellListView::TsShellListView;
    using TacCustomShellListView::OwnerDataFind;
};

TEST_F(ShellListViewTest, TypingFindsAnItemFromTheStartIndexAndWithWrapBeforeIt) {
    ShellTree files;
    auto* list = NewList<FindingList>(files.Root(), vsList);
    const int last = list->Items()->Count() - 1;
    EXPECT_EQ(list->OwnerDataFind(ifPartialString, "TO F", {}, nullptr, 0, sdAll, false), last);
    EXPECT_EQ(list->OwnerDataFind(ifPartialString, "папка", {}, nullptr, 0, sdAll, false), IndexOf(list, "Папка"));
    EXPECT_EQ(list->OwnerDataFind(ifPartialString, "closed", {}, nullptr, 3, sdAll, false), -1);
    EXPECT_EQ(list->OwnerDataFind(ifPartialString, "closed", {}, nullptr, 3, sdAll, true), 0);
    EXPECT_EQ(list->OwnerDataFind(ifData, "closed", {}, nullptr, 0, sdAll, true), -1);
}

TEST_F(ShellListViewTest, AutoRefreshWatchesTheShownFolderAndListsACreatedFile) {
    ShellTree files;
    TsShellListView* list = NewList(files.Root());
    list->SetAutoRefresh(true);
    ASSERT_NE(list->Notifier(), nullptr);
    EXPECT_EQ(list->Notifier()->Root(), files.Root());
    TComponentWatch first(list->Notifier());
    Select(list, "Folder A");
    list->SetFocus();
    Key(user::VK_RETURN);
    ASSERT_EQ(list->Path(), files / "Folder A");
    // Switched off and on again around the change: a new notifier watches the new folder.
    EXPECT_FALSE(first.Alive());
    ASSERT_NE(list->Notifier(), nullptr);
    EXPECT_EQ(list->Notifier()->Root(), files / "Folder A");
    ASSERT_NE(list->Notifier()->Thread(), nullptr);
    // The worker re-opens its watch on the new folder on its own thread: files are made until one is seen.
    std::string seen;
    for (int attempt = 0; attempt < 50 && seen.empty(); ++attempt) {
        const std::string name = "appeared " + std::to_string(attempt) + ".txt";
        std::ofstream(files / ("Folder A/" + name)) << "x";
        for (int i = 0; i < 100 && IndexOf(list, name) < 0; ++i) {
            Pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (IndexOf(list, name) >= 0) seen = name;
    }
    EXPECT_FALSE(seen.empty());
    list->SetAutoRefresh(false);
    EXPECT_EQ(list->Notifier(), nullptr);
}

}

namespace {

TEST_F(ShellListViewTest, TheComboBoxAndTheListFollowEachOtherAndForgetAFreedPartner) {
    ShellTree files;
    auto* combo = Create<TsShellComboBox>(Form);
    combo->SetBounds(240, 280, 300, 24);
    combo->SetParent(Form);
    TsShellListView* list = NewList(files.Root());
    list->SetShellComboBox(combo);
    EXPECT_EQ(combo->Root(), files.Root());
    EXPECT_EQ(combo->ShellListView(), static_cast<IacShellListLink*>(list));
    Select(list, "Folder A");
    list->SetFocus();
    Key(user::VK_RETURN);
    EXPECT_EQ(combo->Path(), files / "Folder A/");
    combo->TreeUpdate(ParseDisplayName(files / "Папка").value());   // as after a choice in its list
    combo->SetPath(ParseDisplayName(files.Root()).value());
    list->TreeUpdate(combo->SelectedFolder()->AbsoluteID());
    EXPECT_EQ(list->Path(), files.Root());
    // Unlinking clears both sides; a freed list is forgotten.
    list->SetShellComboBox(nullptr);
    EXPECT_EQ(combo->ShellListView(), nullptr);
    combo->SetShellListView(list);
    EXPECT_EQ(list->ShellComboBox(), combo);
    delete list;
    EXPECT_EQ(combo->ShellListView(), nullptr);
}

}

namespace {

TEST_F(ShellListViewTest, TheMenusVerbsRenameByLabelEditAndRefreshAfterDeleteOrNewFolder) {
    ShellTree files;
    TsShellListView* list = NewList(files.Root());
    Select(list, "plain");
    bool handled = false;
    list->ExecuteCommand("rename", handled);
    EXPECT_TRUE(handled);
    EXPECT_TRUE(list->IsEditing());
    user::SendMessage(list->Handle(), user::LVM_EDITLABEL, WPARAM(-1), 0);
    handled = false;
    list->ExecuteCommand("open", handled);   // opening is the item's own: the current folder stays
    EXPECT_FALSE(handled);
    ASSERT_TRUE(RunShellCommand(list, *list->SelectedFolder(), "delete"));
    EXPECT_EQ(IndexOf(list, "plain"), -1);
    Select(list, "file one.txt");   // on a file: the new folder goes beside it
    ASSERT_TRUE(RunShellCommand(list, *list->SelectedFolder(), "newfolder"));
    EXPECT_GE(IndexOf(list, "New folder"), 0);
}

}
