// The folder selection dialog on a temporary folder tree: new folder names beside folders and files, creating
// and renaming in place, Enter and OK while renaming, the directory edit's use of it (cancel leaves its text
// alone), and pictures in two skins and without one. ShellTree checks that the current folder never changes.
#include "support/ShellTree.h"
#include "support/WindowsKit.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TLabel.h"
#include "platform/classes/TTreeNodes.h"
#include "platform/user/VirtualKeys.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sTooledit.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/windows/shell/acShellTreeView.h"
#include "skin/windows/shell/sPathDialog.h"

#include <filesystem>
#include <fstream>

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;
using korvex::skin::shelltest::ShellTree;

class PathDialogTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        InstallSkinnedFolderDialog();
    }
    void TearDown() override {
        DirectoryDialogRunner = nullptr;
        FormsTest::TearDown();
    }
    // The directory edit's request for a skinned dialog at start below root.
    bool Choose(const std::string& root, const std::string& start, std::string& chosen, std::vector<ModalStep> steps) {
        TacDirectoryRequest request;
        request.Root = root;
        request.StartDir = start;
        request.Options = DefaultSelectDirOpts;
        request.Skinned = true;
        return RunModal([&] { return DirectoryDialogRunner(request, chosen) ? 1 : 0; }, std::move(steps)) == 1;
    }
    static TPathDialogForm* Of(TForm* form) {
        auto* dialog = dynamic_cast<TPathDialogForm*>(form);
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
};

TEST_F(PathDialogTest, NewFolderNamesSkipEveryExistingEntryAndJoinAtTheRootWithOneDelimiter) {
    ShellTree files;
    const std::string parent = files / "Folder A";
    EXPECT_EQ(NewFolderName(parent), parent + "/New folder1");
    std::filesystem::create_directory(parent + "/New folder1");
    std::filesystem::create_directory(parent + "/New folder2");
    EXPECT_EQ(NewFolderName(parent), parent + "/New folder3");
    std::ofstream(parent + "/New folder3") << "a file";
    std::filesystem::create_symlink(parent + "/missing", parent + "/New folder4");   // a dangling link
    EXPECT_EQ(NewFolderName(parent), parent + "/New folder5");
    EXPECT_EQ(NewFolderName(parent + "/"), parent + "/New folder5");
    EXPECT_EQ(NewFolderName("/").rfind("/New folder", 0), 0u);
}

TEST_F(PathDialogTest, CreateMakesTheFolderBesideAFileOfTheNameAndEnterWhileRenamingKeepsTheDialogOpen) {
    ShellTree files;
    const std::string parent = files / "Folder A";
    std::ofstream(parent + "/New folder1") << "a file of the first name";
    std::string chosen;
    EXPECT_TRUE(Choose(files.Root(), parent, chosen,
        {[&](TForm* form) {
             EXPECT_EQ(Of(form)->sShellTreeView1->Path(), parent);
             EXPECT_TRUE(Of(form)->sBitBtn3->Enabled());
             ClickOn(Of(form)->sBitBtn3);
         },
            [&](TForm* form) {
                EXPECT_TRUE(std::filesystem::is_directory(parent + "/New folder2"));
                EXPECT_TRUE(Of(form)->sShellTreeView1->IsEditing());
                EXPECT_EQ(Of(form)->sShellTreeView1->Path(), parent + "/New folder2");
                Display->Press(user::VK_RETURN);   // commits the name
            },
            [&](TForm* form) {
                EXPECT_TRUE(form->Visible());
                EXPECT_FALSE(Of(form)->sShellTreeView1->IsEditing());
                ClickOn(Of(form)->sBitBtn1);
            }}));
    EXPECT_EQ(chosen, parent + "/New folder2");
}

TEST_F(PathDialogTest, OkWhileRenamingCommitsAndStaysAndCancelWhileRenamingStays) {
    ShellTree files;
    std::string chosen = "untouched";
    EXPECT_FALSE(Choose(files.Root(), files / "docs & notes", chosen,
        {[&](TForm* form) { Of(form)->CreateFolderClick(); },
            [&](TForm* form) {
                ASSERT_TRUE(Of(form)->sShellTreeView1->IsEditing());
                Of(form)->CancelClick();
                EXPECT_EQ(form->ModalResult(), mrNone);
                Of(form)->OkClick();
                EXPECT_EQ(form->ModalResult(), mrNone);
                EXPECT_FALSE(Of(form)->sShellTreeView1->IsEditing());
            },
            [&](TForm* form) { ClickOn(Of(form)->sBitBtn2); }}));
    EXPECT_EQ(chosen, "untouched");
    EXPECT_TRUE(std::filesystem::is_directory(files / "docs & notes/New folder1"));
}

// Escape while the new folder is being renamed ends the renaming and leaves the dialog open.
TEST_F(PathDialogTest, EscapeWhileRenamingEndsTheRenamingAndKeepsTheDialogOpen) {
    ShellTree files;
    std::string chosen = "untouched";
    EXPECT_FALSE(Choose(files.Root(), files / "Folder A", chosen,
        {[&](TForm* form) { Of(form)->CreateFolderClick(); },
            [&](TForm* form) {
                ASSERT_TRUE(Of(form)->sShellTreeView1->IsEditing());
                Display->Press(user::VK_ESCAPE);
            },
            [&](TForm* form) {
                EXPECT_TRUE(form->Visible());
                EXPECT_EQ(form->ModalResult(), mrNone);
                EXPECT_FALSE(Of(form)->sShellTreeView1->IsEditing());
                ClickOn(Of(form)->sBitBtn2);
            }}));
    EXPECT_EQ(chosen, "untouched");
    EXPECT_TRUE(std::filesystem::is_directory(files / "Folder A/New folder1"));
}

TEST_F(PathDialogTest, TheDirectoryEditTakesTheChosenFolderAndCancelLeavesItsTextAlone) {
    ShellTree files;
    UseSkin(1);
    auto* edit = Create<TsDirectoryEdit>(Form);
    edit->SetParent(Form);
    edit->SetRoot(files.Root());
    edit->SetText(files / "Folder A");
    Pump();
    RunModal([&] { edit->ButtonClick(); return 0; }, {});   // cancelled
    EXPECT_EQ(edit->Text(), files / "Folder A");
    RunModal([&] { edit->ButtonClick(); return 0; },
        {[&](TForm* form) {
             TsShellTreeView* tree = Of(form)->sShellTreeView1;
             tree->SelectPath(files / "Folder A/Sub");
             ClickOn(Of(form)->sBitBtn1);
         }});
    EXPECT_EQ(edit->Text(), files / "Folder A/Sub");
    EXPECT_EQ(edit->InitialDir(), files / "Folder A/Sub");
}

TEST_F(PathDialogTest, OkAndCancelCarryTheirAnswersAndCreateStartsDisabled) {
    auto* dialog = Create<TPathDialogForm>(Application);
    base::ScopeExit release([dialog] { dialog->Free(); });
    EXPECT_EQ(dialog->sBitBtn1->ModalResult(), mrOk);
    EXPECT_TRUE(dialog->sBitBtn1->Default());
    EXPECT_EQ(dialog->sBitBtn2->ModalResult(), mrCancel);
    EXPECT_TRUE(dialog->sBitBtn2->Cancel());
    EXPECT_EQ(dialog->sBitBtn3->ModalResult(), mrNone);
    EXPECT_FALSE(dialog->sBitBtn3->Enabled());
    EXPECT_FALSE(dialog->sEdit1->Visible());
}

TEST_F(PathDialogTest, TheDialogIsSkinnedAsALibraryDialog) {
    ShellTree files;
    UseSkin(1);
    std::string chosen;
    Choose(files.Root(), files / "Folder A", chosen, {[&](TForm* form) {
        EXPECT_EQ(Of(form)->SkinProvider->SkinData()->SkinSection(), "DIALOG");
        ClickOn(Of(form)->sBitBtn2);
    }});
}

TEST_F(PathDialogTest, TheTreeHasABlankLabelAboveIt) {
    ShellTree files;
    UseSkin(1);
    std::string chosen;
    Choose(files.Root(), files / "Folder A", chosen, {[&](TForm* form) {
        TsShellTreeView* tree = Of(form)->sShellTreeView1;
        TsBoundLabel* bound = tree->BoundLabel();
        ASSERT_TRUE(bound->Active());
        EXPECT_EQ(bound->Caption(), " ");
        EXPECT_EQ(bound->Layout(), sclTopLeft);
        TCustomLabel* label = bound->Label();
        ASSERT_NE(label, nullptr);
        EXPECT_TRUE(label->Visible());
        EXPECT_EQ(label->Parent(), form);
        EXPECT_GE(label->Top(), 0);
        EXPECT_LE(label->Top() + label->Height(), tree->Top());
        EXPECT_EQ(label->Left(), tree->Left());
        ClickOn(Of(form)->sBitBtn2);
    }});
}

// ---- Pictures ------------------------------------------------------------------------------------------------

class PathDialogPicture : public PathDialogTest, public ::testing::WithParamInterface<int> { };

TEST_P(PathDialogPicture, TheDialogOnAFolderTree) {
    ShellTree files;
    UseSkin(GetParam());
    Form->Hide();
    std::string chosen;
    Choose(files.Root(), files / "Folder A/Sub", chosen, {[&](TForm* form) {
        form->SetBounds(10, 10, form->Width(), form->Height());
        Pump();
        const gdi::RECT r {0, 0, form->Width() + 20, form->Height() + 20};
        EXPECT_TRUE(Display->WriteScreenshotPng(
            WindowsPictureDir() + "/PathDialog_" + ctltest::SkinShortName(GetParam()) + ".png", &r));
        // The chosen folder's name is highlighted; its parent's is written on the tree's background.
        auto* tree = Of(form)->sShellTreeView1;
        TTreeNode* chosenNode = tree->Selected();
        ASSERT_NE(chosenNode, nullptr);
        ASSERT_NE(chosenNode->Parent(), nullptr);
        const TRect client = tree->ClientRect();
        const TPoint corner = tree->ClientToScreen(TPoint {client.right - 4, client.bottom - 4});
        const gdi::COLORREF background = Display->ScreenPixel(corner.x, corner.y);
        const TRect selected = chosenNode->DisplayRect(true);
        const TRect parent = chosenNode->Parent()->DisplayRect(true);
        const int area = selected.Width() * selected.Height();
        EXPECT_GE(InkPixels(ScreenRectOf(tree, selected), background), area / 2) << "not highlighted";
        const int parentInk = InkPixels(ScreenRectOf(tree, parent), background);
        EXPECT_GE(parentInk, 10) << "no name";
        EXPECT_LT(parentInk, parent.Width() * parent.Height() / 2) << "highlighted";
    }});
}

INSTANTIATE_TEST_SUITE_P(TwoSkinsAndNone, PathDialogPicture, ::testing::Values(-1, 0, 2),
    [](const auto& info) { return ctltest::SkinShortName(info.param); });

}
}
