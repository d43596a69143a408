// The skinned open and save dialogs on a temporary folder tree: choosing by mouse, by typed relative and
// absolute names and by Enter in the list, the filters, the history menu with a "&" folder, cancel, several
// files, the plain dialog without a skin, and pictures. ShellTree checks that the current folder never changes.
#include "support/ShellTree.h"
#include "support/WindowsKit.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TListBox.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TStrings.h"
#include "platform/user/VirtualKeys.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sCheckBox.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/controls/sTooledit.h"
#include "skin/engine/sUtils.h"
#include "skin/windows/sFilterComboBox.h"
#include "skin/windows/sOpenDialog.h"
#include "skin/windows/sSkinProvider.h"
#include "skin/windows/sWindowClasses.h"
#include "skin/windows/shell/acShellClasses.h"
#include "skin/windows/shell/acShellListView.h"
#include "skin/windows/shell/sOpenDialogForm.h"

#include <algorithm>

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;
using korvex::skin::shelltest::ShellTree;

class OpenDialogFormTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        RegisterSkinWindowClasses();   // the file name edit runs the file dialogs
        RegisterShellClasses();   // which show the skinned form
        UseSkin(1);
    }
    void TearDown() override {
        SkinnedFileDialogForm = nullptr;
        FileDialogRunner = nullptr;
        DirectoryDialogRunner = nullptr;
        FormsTest::TearDown();
    }
    static TsOpenDialogForm* Of(TForm* form) {
        auto* dialog = dynamic_cast<TsOpenDialogForm*>(form);
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
    static std::vector<std::string> Names(TForm* form) {
        std::vector<std::string> names;
        TListItems* items = Of(form)->FileListView->Items();
        for (int i = 0; i < items->Count(); ++i) names.push_back(items->Item(i)->Caption());
        return names;
    }
    static TListItem* ItemOf(TForm* form, const std::string& name) {
        const std::vector<std::string> names = Names(form);
        const auto found = std::find(names.begin(), names.end(), name);
        EXPECT_NE(found, names.end()) << name;
        return found == names.end() ? nullptr : Of(form)->FileListView->Items()->Item(int(found - names.begin()));
    }
    // Selects and focuses one item of the list, which has the focus, and presses Enter.
    void EnterOn(TForm* form, const std::string& name) {
        Of(form)->FileListView->SetFocus();
        Of(form)->FileListView->ClearSelection();
        TListItem* item = ItemOf(form, name);
        ASSERT_NE(item, nullptr);
        item->SetSelected(true);
        item->SetFocused(true);
        Key(user::VK_RETURN);
    }
    // Multi-selection in the tree's root folder.
    static void AllowManyIn(TsOpenDialog& dialog, const ShellTree& files) {
        dialog.SetInitialDir(files.Root());
        dialog.SetOptions({ofHideReadOnly, ofEnableSizing, ofAllowMultiSelect});
    }
    static void SelectTwoFiles(TForm* form) {
        ItemOf(form, "file one.txt")->SetSelected(true);
        ItemOf(form, "image.BMP")->SetSelected(true);
    }
    // Types a name and presses the Open button.
    ModalStep TypeAndOpen(std::string name) {
        return [this, name](TForm* form) {
            Of(form)->FileNameEdit->SetText(name);
            ClickOn(Of(form)->sButton1);
        };
    }
    bool Run(TOpenDialog& dialog, std::vector<ModalStep> steps) {
        return RunModal([&] { return dialog.Execute() ? 1 : 0; }, std::move(steps)) == 1;
    }
};

TEST_F(OpenDialogFormTest, AFileClickedWithTheMouseIsChosenAndTheFolderTravelsInInitialDir) {
    ShellTree files;
    TsOpenDialog dialog(nullptr);
    dialog.SetInitialDir(files.Root());
    dialog.SetFilter("Text|*.txt|All|*");
    ASSERT_TRUE(Run(dialog, {[&](TForm* form) {
        EXPECT_EQ(form->Caption(), "Open");
        EXPECT_EQ(Of(form)->sButton1->Caption(), "Open");
        EXPECT_EQ(Of(form)->FolderPath(), files.Root() + "/");
        TListItem* item = ItemOf(form, "file one.txt");
        ASSERT_NE(item, nullptr);
        const TRect r = item->DisplayRect(drLabel);
        const TPoint p = Of(form)->FileListView->ClientToScreen(TPoint {r.left + 2, r.top + 2});
        Display->Click(p.x, p.y);
        Pump();
        EXPECT_EQ(Of(form)->FileNameEdit->Text(), "file one.txt");
        ClickOn(Of(form)->sButton1);
    }}));
    EXPECT_EQ(dialog.FileName(), files / "file one.txt");
    EXPECT_EQ(dialog.InitialDir(), files.Root());
    EXPECT_EQ(dialog.Files()->Count(), 1);
    EXPECT_EQ(dialog.FilterIndex(), 1);
}

TEST_F(OpenDialogFormTest, ATypedRelativeNameIsInTheShownFolderAndAnAbsoluteOneStandsAsItIs) {
    ShellTree files;
    TsOpenDialog dialog(nullptr);
    dialog.SetInitialDir(files.Root());
    ASSERT_TRUE(Run(dialog, {TypeAndOpen("Folder A/inner.txt")}));
    EXPECT_EQ(dialog.FileName(), files / "Folder A/inner.txt");
    dialog.SetFileName("");
    dialog.SetInitialDir(files / "Folder A");
    ASSERT_TRUE(Run(dialog, {TypeAndOpen(files / "Папка/файл.txt")}));
    EXPECT_EQ(dialog.FileName(), files / "Папка/файл.txt");
    // A name with a folder part starts in that folder, the edit holding the name part.
    ASSERT_TRUE(Run(dialog, {[&](TForm* form) {
        EXPECT_EQ(Of(form)->FolderPath(), files / "Папка/");
        EXPECT_EQ(Of(form)->FileNameEdit->Text(), "файл.txt");
        ClickOn(Of(form)->sButton1);
    }}));
    // The save dialog adds the default extension and asks before overwriting.
    TsSaveDialog save(nullptr);
    save.SetInitialDir(files.Root());
    save.SetDefaultExt("txt");
    ASSERT_TRUE(Run(save, {[&](TForm* form) {
        EXPECT_EQ(form->Caption(), "Save");
        EXPECT_EQ(Of(form)->sButton1->Caption(), "Save");
        TypeAndOpen("report")(form);
    }}));
    EXPECT_EQ(save.FileName(), files / "report.txt");
}

TEST_F(OpenDialogFormTest, EnterInTheListOpensAFolderThenChoosesAFile) {
    ShellTree files;
    TsOpenDialog dialog(nullptr);
    dialog.SetInitialDir(files.Root());
    ASSERT_TRUE(Run(dialog, {[&](TForm* form) {
        EnterOn(form, "Folder A");
        EXPECT_EQ(Of(form)->FolderPath(), files / "Folder A/");
        EXPECT_TRUE(form->Visible());
        EXPECT_TRUE(Of(form)->BackBtn->Enabled());
        EnterOn(form, "inner.txt");
    }}));
    EXPECT_EQ(dialog.FileName(), files / "Folder A/inner.txt");
}

// Enter while a folder's label is being edited opens that folder; a file being renamed keeps the dialog open.
TEST_F(OpenDialogFormTest, EnterWhileALabelIsEditedOpensThatFolderAndNeverChoosesAFile) {
    ShellTree files;
    TsOpenDialog dialog(nullptr);
    dialog.SetInitialDir(files.Root());
    auto editAndOpen = [&](TForm* form, const std::string& name) {
        TsOpenDialogForm* f = Of(form);
        f->FileListView->SetFocus();
        TListItem* item = ItemOf(form, name);
        ASSERT_NE(item, nullptr);
        item->SetSelected(true);
        item->SetFocused(true);
        ASSERT_TRUE(item->EditCaption());
        ASSERT_TRUE(f->FileListView->IsEditing());
        f->OpenClick();
        Pump();
        EXPECT_EQ(form->ModalResult(), mrNone);
    };
    EXPECT_FALSE(Run(dialog, {[&](TForm* form) {
        editAndOpen(form, "Folder A");
        EXPECT_EQ(Of(form)->FolderPath(), files / "Folder A/");
        editAndOpen(form, "inner.txt");
        EXPECT_EQ(Of(form)->FolderPath(), files / "Folder A/");
        EXPECT_TRUE(form->Visible());
        ClickOn(Of(form)->sButton2);
    }}));
}

// With many allowed, a selection left with folders only clears the edit and the dialog's Files: a file no
// longer selected is never the one chosen.
TEST_F(OpenDialogFormTest, AManySelectionWithoutFilesClearsTheEditAndFiles) {
    ShellTree files;
    TsOpenDialog dialog(nullptr);
    AllowManyIn(dialog, files);
    EXPECT_FALSE(Run(dialog, {[&](TForm* form) {
        ItemOf(form, "Folder A")->SetSelected(true);
        ItemOf(form, "file one.txt")->SetSelected(true);
        EXPECT_EQ(Of(form)->FileNameEdit->Text(), "file one.txt");
        EXPECT_EQ(dialog.Files()->Count(), 1);
        ItemOf(form, "file one.txt")->SetSelected(false);
        EXPECT_EQ(Of(form)->FileNameEdit->Text(), "");
        EXPECT_EQ(dialog.Files()->Count(), 0);
        ClickOn(Of(form)->sButton1);   // an empty edit: nothing happens
        EXPECT_TRUE(form->Visible());
        ClickOn(Of(form)->sButton2);
    }}));
}

TEST_F(OpenDialogFormTest, AFolderTypedIntoTheNameAndEnterOpensTheFolder) {
    ShellTree files;
    TsOpenDialog dialog(nullptr);
    dialog.SetInitialDir(files.Root());
    ASSERT_TRUE(Run(dialog, {[&](TForm* form) {
        Of(form)->FileNameEdit->SetText("Folder A");
        Of(form)->FileNameEdit->SetFocus();
        Key(user::VK_RETURN);
        EXPECT_TRUE(form->Visible());
        EXPECT_EQ(Of(form)->FolderPath(), files / "Folder A/");
        EXPECT_EQ(Of(form)->FileNameEdit->Text(), "");
        // An absolute folder too; then a file in it is the choice.
        Of(form)->FileNameEdit->SetText(files / "Папка");
        Key(user::VK_RETURN);
        EXPECT_EQ(Of(form)->FolderPath(), files / "Папка/");
        TypeAndOpen("файл.txt")(form);
    }}));
    EXPECT_EQ(dialog.FileName(), files / "Папка/файл.txt");
}

TEST_F(OpenDialogFormTest, TheOptionsAskBeforeOverwritingAndWarnOfMissingFiles) {
    ShellTree files;
    std::vector<std::string> asked;
    bool answer = false;
    SetMessageDialogHook([&](const std::string& text, TsMessageKind) {
        asked.push_back(text);
        return answer;
    });
    base::ScopeExit unhook([] { SetMessageDialogHook(nullptr); });
    TsSaveDialog save(nullptr);
    save.SetInitialDir(files.Root());
    save.SetOptions({ofHideReadOnly, ofEnableSizing, ofOverwritePrompt});
    ASSERT_TRUE(Run(save, {TypeAndOpen("file one.txt"),
                              [&](TForm* form) {
                                  EXPECT_TRUE(form->Visible());   // No keeps the dialog open
                                  answer = true;
                                  ClickOn(Of(form)->sButton1);
                              }}));
    EXPECT_EQ(asked, (std::vector<std::string> {"file one.txt\r\nFile exists. Overwrite?",
                         "file one.txt\r\nFile exists. Overwrite?"}));
    asked.clear();
    TsOpenDialog open(nullptr);
    open.SetInitialDir(files.Root());
    open.SetOptions({ofHideReadOnly, ofEnableSizing, ofFileMustExist, ofPathMustExist});
    EXPECT_FALSE(Run(open, {TypeAndOpen("missing.txt"), TypeAndOpen("nowhere/x.txt")}));
    EXPECT_EQ(asked, (std::vector<std::string> {files / "missing.txt\r\nFile not found",
                         files / "nowhere\r\nPath not found"}));
}

TEST_F(OpenDialogFormTest, WithZipFilesShownAsFilesEnterChoosesTheArchive) {
    ShellTree files;
    TsOpenDialog dialog(nullptr);
    dialog.SetInitialDir(files.Root());
    dialog.SetZipShowing(zsAsFile);
    ASSERT_TRUE(Run(dialog, {[&](TForm* form) { EnterOn(form, "archive.zip"); }}));
    EXPECT_EQ(dialog.FileName(), files / "archive.zip");
}

TEST_F(OpenDialogFormTest, TheFilterChoosesTheListedFilesAndALastDescriptionWithoutAMaskPassesEveryFile) {
    ShellTree files;
    TsOpenDialog dialog(nullptr);
    dialog.SetInitialDir(files.Root());
    dialog.SetFilter("Text|*.txt|Pictures|*.bmp|Everything");
    dialog.SetFilterIndex(3);
    Run(dialog, {[&](TForm* form) {
        EXPECT_EQ(Of(form)->FileTypeBox->Items()->Count(), 3);
        const std::vector<std::string> names = Names(form);
        EXPECT_NE(std::find(names.begin(), names.end(), "archive.zip"), names.end());
        EXPECT_NE(std::find(names.begin(), names.end(), "plain"), names.end());
        Of(form)->FileTypeBox->SetItemIndex(1);
        Of(form)->FileTypeBox->OnChange(Of(form)->FileTypeBox);
        EXPECT_EQ(ItemOf(form, "image.BMP") != nullptr, true);
        const std::vector<std::string> pictures = Names(form);
        EXPECT_EQ(std::find(pictures.begin(), pictures.end(), "file one.txt"), pictures.end());
        EXPECT_NE(std::find(pictures.begin(), pictures.end(), "Folder A"), pictures.end());   // folders stay
    }});   // cancelled: the chosen type still comes back
    EXPECT_EQ(dialog.FilterIndex(), 2);
    dialog.SetFilterIndex(0);
    Run(dialog, {[&](TForm* form) { EXPECT_EQ(Of(form)->FileTypeBox->ItemIndex(), 0); }});
    EXPECT_EQ(dialog.FilterIndex(), 1);
}

TEST_F(OpenDialogFormTest, TheHistoryMenuKeepsEachPathAndShowsAnAmpersandDoubled) {
    ShellTree files;
    TsOpenDialog dialog(nullptr);
    dialog.SetInitialDir(files.Root());
    Run(dialog, {[&](TForm* form) {
        TsOpenDialogForm* f = Of(form);
        EXPECT_TRUE(f->BackBtn->Enabled());   // the history has the start folder
        ASSERT_EQ(f->History().Entries().size(), 1u);
        f->GoBack();   // nothing before it
        EXPECT_EQ(f->FolderPath(), files.Root() + "/");
        f->GoTo(files / "docs & notes");
        f->GoTo(files / "Folder A");
        ASSERT_NE(f->HistoryItem(1), nullptr);
        EXPECT_EQ(f->HistoryItem(0)->Caption(), files.Root());
        EXPECT_EQ(f->HistoryItem(1)->Caption(), files / "docs && notes");
        EXPECT_EQ(f->HistoryItem(2), nullptr);   // the shown folder is not listed
        f->HistoryItem(1)->Click();
        EXPECT_EQ(f->FolderPath(), files / "docs & notes/");
        EXPECT_EQ(f->History().Entries().size(), 3u);   // going through the menu adds nothing
        f->GoTo(files / "Folder A");
        f->GoBack();
        EXPECT_EQ(f->FolderPath(), files / "docs & notes/");
        EXPECT_TRUE(f->UpBtn->Enabled());
        ClickOn(f->UpBtn);
        Pump();
        EXPECT_EQ(f->FolderPath(), files.Root() + "/");
    }});
}

TEST_F(OpenDialogFormTest, TheSelectionGoesToTheDialogAtOnceAndCancelLeavesFilesAlone) {
    ShellTree files;
    TsOpenDialog dialog(nullptr);
    dialog.SetInitialDir(files.Root());
    dialog.SetFileName("kept.txt");
    dialog.SetOptions({ofShowHelp, ofReadOnly});   // no sizing, the read-only box shown
    EXPECT_FALSE(Run(dialog, {[&](TForm* form) {
        EXPECT_EQ(form->BorderStyle(), bsSingle);
        EXPECT_EQ(Of(form)->SkinProvider->GripMode(), gmNone);
        EXPECT_TRUE(Of(form)->BtnHelp->Visible());
        EXPECT_TRUE(Of(form)->CheckBoxReadOnly->Visible());
        EXPECT_TRUE(Of(form)->CheckBoxReadOnly->Checked());
        EXPECT_EQ(dialog.FileName(), "kept.txt");
        ItemOf(form, "file one.txt")->SetSelected(true);
        EXPECT_EQ(Of(form)->FileNameEdit->Text(), "file one.txt");
        EXPECT_EQ(dialog.FileName(), files / "file one.txt");
        ClickOn(Of(form)->sButton2);
    }}));
    EXPECT_EQ(dialog.FileName(), files / "file one.txt");
    EXPECT_EQ(dialog.Files()->Count(), 0);
    EXPECT_EQ(dialog.InitialDir(), files.Root());
}

TEST_F(OpenDialogFormTest, WithMultiSelectFileNameIsTheFirstOfFiles) {
    ShellTree files;
    TsOpenDialog dialog(nullptr);
    AllowManyIn(dialog, files);
    ASSERT_TRUE(Run(dialog, {[&](TForm* form) {
        SelectTwoFiles(form);
        EXPECT_EQ(Of(form)->FileNameEdit->Text(), "\"file one.txt\" \"image.BMP\"");
        ClickOn(Of(form)->sButton1);
    }}));
    ASSERT_EQ(dialog.Files()->Count(), 2);
    EXPECT_EQ(dialog.Files()->Strings(0), files / "file one.txt");
    EXPECT_EQ(dialog.Files()->Strings(1), files / "image.BMP");
    EXPECT_EQ(dialog.FileName(), dialog.Files()->Strings(0));
    EXPECT_EQ(SplitTypedNames("plain name"), std::vector<std::string> {"plain name"});
    EXPECT_EQ(SplitTypedNames("\"a b\" \"c\" \"unclosed"), (std::vector<std::string> {"a b", "c", "unclosed"}));
}

// A file name whose folder is gone (a stale name from last time) starts in InitialDir, its name in the edit.
TEST_F(OpenDialogFormTest, AFileNameInAFolderThatIsGoneStartsInTheInitialFolder) {
    ShellTree files;
    TsOpenDialog dialog(nullptr);
    dialog.SetInitialDir(files / "Folder A");
    dialog.SetFileName(files / "gone/report.html");
    Run(dialog, {[&](TForm* form) {
        EXPECT_EQ(Of(form)->FolderPath(), files / "Folder A/");
        EXPECT_EQ(Of(form)->FileNameEdit->Text(), files / "gone/report.html");
        ClickOn(Of(form)->sButton2);
    }});
}

// The names are read from the edit: a name typed over what the selection wrote there is the one chosen.
TEST_F(OpenDialogFormTest, ANameTypedOverASelectionOfManyIsTheOneChosen) {
    ShellTree files;
    TsOpenDialog dialog(nullptr);
    AllowManyIn(dialog, files);
    ASSERT_TRUE(Run(dialog, {[&](TForm* form) {
        SelectTwoFiles(form);
        EXPECT_EQ(dialog.Files()->Count(), 2);
        Of(form)->FileNameEdit->SetFocus();
        Of(form)->FileNameEdit->SetText("plain");
        ClickOn(Of(form)->sButton1);
    }}));
    EXPECT_EQ(dialog.FileName(), files / "plain");
    ASSERT_EQ(dialog.Files()->Count(), 1);
    EXPECT_EQ(dialog.Files()->Strings(0), files / "plain");
}

TEST_F(OpenDialogFormTest, TheDialogsEventsFireAndItsHelpContextIsAskedFor) {
    ShellTree files;
    TsOpenDialog dialog(nullptr);
    dialog.SetInitialDir(files.Root());
    dialog.SetFilter("Text|*.txt|All|*");
    dialog.SetOptions({ofHideReadOnly, ofEnableSizing, ofShowHelp});
    dialog.SetHelpContext(42);
    std::vector<std::string> events;
    dialog.OnFolderChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &dialog);
        events.push_back("folder");
    };
    dialog.OnSelectionChange = [&](TObject*) { events.push_back("selection"); };
    dialog.OnTypeChange = [&](TObject*) { events.push_back("type"); };
    bool mayClose = false;
    dialog.OnCanClose = [&](TObject*, bool& canClose) {
        events.push_back("close?");
        canClose = mayClose;
    };
    RecordHelpRequests();
    EXPECT_FALSE(Run(dialog, {[&](TForm* form) {
        // The filter given to the type box reports a type change; showing reports the folder.
        EXPECT_EQ(events, (std::vector<std::string> {"type", "folder"}));
        events.clear();
        Of(form)->GoTo(files / "Folder A");
        EXPECT_EQ(events, std::vector<std::string> {"folder"});
        Of(form)->GoTo(files.Root());
        events.clear();
        ItemOf(form, "file one.txt")->SetSelected(true);
        EXPECT_NE(std::find(events.begin(), events.end(), "selection"), events.end());
        events.clear();
        Of(form)->FileTypeBox->SetItemIndex(1);
        Of(form)->FileTypeBox->OnChange(Of(form)->FileTypeBox);
        EXPECT_EQ(events, std::vector<std::string> {"type"});
        ClickOn(Of(form)->BtnHelp);
    },
        [&](TForm* form) {
            EXPECT_EQ(HelpAsked, std::vector<long> {42});
            events.clear();
            ClickOn(Of(form)->sButton2);   // refused: the form stays
        },
        [&](TForm* form) {
            EXPECT_EQ(events, std::vector<std::string> {"close?"});
            EXPECT_TRUE(form->Visible());
            mayClose = true;
            ClickOn(Of(form)->sButton2);
        }}));
}

TEST_F(OpenDialogFormTest, AnEmptyFilterGivesNoTypesAndListsEveryFile) {
    ShellTree files;
    TsOpenDialog dialog(nullptr);
    dialog.SetInitialDir(files.Root());
    Run(dialog, {[&](TForm* form) {
        EXPECT_EQ(Of(form)->FileTypeBox->Items()->Count(), 0);
        EXPECT_EQ(Of(form)->FileTypeBox->Mask(), "*.*");
        EXPECT_NE(ItemOf(form, "plain"), nullptr);
        EXPECT_NE(ItemOf(form, "image.BMP"), nullptr);
        ClickOn(Of(form)->sButton2);
    }});
}

TEST_F(OpenDialogFormTest, TheToolButtonsShowGlyphsInsteadOfCharacters) {
    TsOpenDialog dialog(nullptr);
    Run(dialog, {[&](TForm* form) {
        for (const char* name : {"BackBtn", "UpBtn", "CreateDirBtn", "KindBtn"}) {
            auto* button = dynamic_cast<TsSpeedButton*>(form->FindComponent(name));
            ASSERT_NE(button, nullptr) << name;
            EXPECT_EQ(button->Glyph()->Width(), 16) << name;
            EXPECT_EQ(button->Glyph()->Height(), 16) << name;
            EXPECT_EQ(button->Caption(), "") << name;
            EXPECT_EQ(button->Hint(), "") << name;   // the form names no hints
        }
    }});
}

TEST_F(OpenDialogFormTest, WithoutASkinThePlainDialogRunsAndTheFileEditUsesTheSkinnedOne) {
    ShellTree files;
    UseSkin(-1);
    TsOpenDialog dialog(nullptr);
    dialog.SetInitialDir(files.Root());
    Run(dialog, {[&](TForm* form) { EXPECT_EQ(dynamic_cast<TsOpenDialogForm*>(form), nullptr); }});
    UseSkin(0);
    auto* edit = Create<TsFilenameEdit>(Form);
    edit->SetParent(Form);
    edit->SetInitialDir(files.Root());
    Pump();
    RunModal([&] { edit->ButtonClick(); return 0; }, {TypeAndOpen("plain")});
    EXPECT_EQ(edit->Text(), files / "plain");
}

// ---- Pictures ------------------------------------------------------------------------------------------------

class OpenDialogPicture : public OpenDialogFormTest, public ::testing::WithParamInterface<int> { };

TEST_P(OpenDialogPicture, TheDialogOnAFolderTree) {
    ShellTree files;
    UseSkin(GetParam());
    Form->Hide();
    TsOpenDialog dialog(nullptr);
    dialog.SetInitialDir(files.Root());
    dialog.SetFilter("HTML|*.html|All files|*");
    dialog.SetFilterIndex(2);
    Run(dialog, {[&](TForm* form) {
        form->SetBounds(10, 10, form->Width(), form->Height());
        Pump();
        const gdi::RECT r {0, 0, form->Width() + 20, form->Height() + 20};
        EXPECT_TRUE(Display->WriteScreenshotPng(
            WindowsPictureDir() + "/OpenDialog_" + ctltest::SkinShortName(GetParam()) + ".png", &r));
        // Every entry of the folder is written at its place in the list, and nothing below the last one of its
        // first column: the skinned dialog's list view, or the plain one's list box.
        TListView* view = nullptr;
        TListBox* box = nullptr;
        for (int i = 0; i < form->ComponentCount(); ++i) {
            view = view != nullptr ? view : dynamic_cast<TListView*>(form->Components(i));
            box = box != nullptr ? box : dynamic_cast<TListBox*>(form->Components(i));
        }
        TWinControl* list = view != nullptr ? static_cast<TWinControl*>(view) : box;
        ASSERT_NE(list, nullptr);
        std::vector<std::pair<std::string, TRect>> entries;
        if (view != nullptr) {
            for (int i = 0; i < view->Items()->Count(); ++i)
                entries.emplace_back(view->Items()->Item(i)->Caption(), view->Items()->Item(i)->DisplayRect(drLabel));
        } else {
            for (int i = 0; i < box->Items()->Count(); ++i)
                entries.emplace_back(box->Items()->Strings(i), box->ItemRect(i));
        }
        ASSERT_GE(entries.size(), 8u);
        const TRect client = list->ClientRect();
        const TPoint corner = list->ClientToScreen(TPoint {client.right - 4, client.bottom - 4});
        const gdi::COLORREF background = Display->ScreenPixel(corner.x, corner.y);
        int firstColumn = client.right, lowest = 0;
        for (const auto& entry : entries)
            firstColumn = std::min(firstColumn, int(entry.second.left));
        for (const auto& [caption, rect] : entries) {
            EXPECT_GE(InkPixels(ScreenRectOf(list, rect), background), 10) << caption;
            if (rect.left == firstColumn) lowest = std::max(lowest, int(rect.bottom));
        }
        EXPECT_EQ(InkPixels(ScreenRectOf(list, TRect {2, lowest + 2, client.right / 4, client.bottom - 2}), background), 0);
    }});
}

INSTANTIATE_TEST_SUITE_P(EverySkinAndNone, OpenDialogPicture, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return ctltest::SkinShortName(info.param); });


// One selection: the item that becomes selected is reported; the file it replaces or a folder clicked is not.
TEST_F(OpenDialogFormTest, OnlyTheItemThatBecomesSelectedIsReported) {
    ShellTree files;
    TsOpenDialog dialog(nullptr);
    dialog.SetInitialDir(files.Root());
    dialog.SetOptions({ofHideReadOnly, ofEnableSizing});
    int reported = 0;
    dialog.OnSelectionChange = [&](TObject*) { ++reported; };
    auto clickItem = [&](TForm* form, const char* name) {
        const TRect r = ItemOf(form, name)->DisplayRect(drLabel);
        const TPoint p = Of(form)->FileListView->ClientToScreen(TPoint {r.left + 2, r.top + 2});
        Display->Click(p.x, p.y);
        Pump();
    };
    EXPECT_FALSE(Run(dialog, {[&](TForm* form) {
        clickItem(form, "file one.txt");
        reported = 0;
        clickItem(form, "image.BMP");   // selected and focused: two state changes of the selected item
        EXPECT_EQ(reported, 2);
        EXPECT_EQ(dialog.FileName(), files / "image.BMP");
        EXPECT_EQ(Of(form)->FileNameEdit->Text(), "image.BMP");
        reported = 0;
        clickItem(form, "Folder A");
        EXPECT_EQ(reported, 0);
        EXPECT_EQ(Of(form)->FileNameEdit->Text(), "image.BMP");
        ClickOn(Of(form)->sButton2);
    }}));
}

}
}
