// TsFilenameEdit and TsDirectoryEdit on the headless display: the button runs the injected dialog with the
// text as its start, the chosen name comes back; the current folder stays where it was; dropped files.
#include "support/ControlsHost.h"
#include "support/ControlsKit.h"

#include "platform/classes/ControlMessages.h"
#include "platform/classes/TStringList.h"
#include "platform/user/DropFiles.h"
#include "skin/controls/sTooledit.h"
#include "skin/engine/sCommonData.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

std::string CurrentFolder() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

class TooleditTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Root = std::filesystem::temp_directory_path() / ("korvex-tooledit-" + std::to_string(getpid()));
        std::filesystem::create_directories(Root / "nodes" / "node1");
        std::filesystem::create_directories(Root / "backup");
        std::ofstream(Root / "nodes" / "node1" / "FAHlog.txt") << "log\n";
    }
    void TearDown() override {
        FileDialogRunner = nullptr;
        DirectoryDialogRunner = nullptr;
        std::filesystem::remove_all(Root);
        ControlsTest::TearDown();
    }
    template <class T>
    T* NewEdit() {
        auto* edit = Create<T>(Form);
        edit->SetBounds(20, 20, 220, 24);
        edit->SetParent(Form);
        Pump();
        return edit;
    }
    void ClickButton(TsCustomComboEdit* edit) {
        ClickAt(edit->Button(), edit->Button()->Width() / 2, edit->Button()->Height() / 2);
    }
    bool DropOn(TWinControl* edit, const std::vector<std::string>& names) {
        const TPoint p = edit->ClientToScreen(TPoint {10, 8});
        const bool sent = user::DropFilesAt(user::POINT {p.x, p.y}, names);
        Pump();
        return sent;
    }
    std::string Path(const char* relative) const { return (Root / relative).string(); }

    std::filesystem::path Root;
};

TEST_F(TooleditTest, BrowsingAFolderLeavesTheCurrentFolderAlone) {
    UseSkin(1);
    auto* edit = NewEdit<TsDirectoryEdit>();
    ASSERT_FALSE(edit->NoChangeDir());
    const std::string before = CurrentFolder();
    std::vector<std::string> starts;
    DirectoryDialogRunner = [&](const TacDirectoryRequest& request, std::string& chosen) {
        starts.push_back(request.StartDir);
        EXPECT_EQ(CurrentFolder(), before);   // not even while the dialog runs
        chosen = request.StartDir;
        return false;
    };
    edit->SetText(Path("nodes/node1"));
    ClickButton(edit);
    edit->SetText("");
    edit->SetInitialDir(Path("backup"));
    ClickButton(edit);   // empty text: the dialog opens at InitialDir
    edit->SetText(Path("no-such-folder"));
    ClickButton(edit);
    EXPECT_EQ(starts, (std::vector<std::string> {Path("nodes/node1"), Path("backup"), ""}));
    EXPECT_EQ(CurrentFolder(), before);
}

TEST_F(TooleditTest, ChosenFoldersReplaceOrWithMultipleDirsAppendAfterASemicolon) {
    UseSkin(-1);   // the plain folder browser's rules
    auto* edit = NewEdit<TsDirectoryEdit>();
    std::string next = Path("nodes");
    DirectoryDialogRunner = [&](const TacDirectoryRequest& request, std::string& chosen) {
        EXPECT_FALSE(request.Skinned);
        EXPECT_EQ(request.Root, "rfDesktop");
        chosen = next;
        return true;
    };
    ClickButton(edit);
    EXPECT_EQ(edit->Text(), Path("nodes"));
    EXPECT_EQ(edit->InitialDir(), Path("nodes"));
    EXPECT_TRUE(edit->Focused());
    edit->SetMultipleDirs(true);
    next = Path("backup");
    ClickButton(edit);
    EXPECT_EQ(edit->Text(), Path("nodes") + ";" + Path("backup"));
    edit->SetText(";" + Path("nodes") + ";;");
    EXPECT_EQ(edit->GetLongName(), Path("nodes"));   // empty parts dropped
}

TEST_F(TooleditTest, TheSkinnedFolderDialogsChoiceCountsOnlyWhenItExists) {
    UseSkin(2);
    auto* edit = NewEdit<TsDirectoryEdit>();
    edit->SetMultipleDirs(true);
    edit->SetText(Path("nodes"));
    std::string next = Path("gone");
    DirectoryDialogRunner = [&](const TacDirectoryRequest& request, std::string& chosen) {
        EXPECT_TRUE(request.Skinned);
        chosen = next;
        return true;
    };
    ClickButton(edit);
    EXPECT_EQ(edit->Text(), Path("nodes"));
    next = Path("backup");
    ClickButton(edit);
    EXPECT_EQ(edit->Text(), Path("backup"));   // the skinned dialog replaces
    EXPECT_EQ(edit->InitialDir(), Path("backup"));
}

TEST_F(TooleditTest, FileDialogStartsFromTheTextAndItsChoiceBecomesTheText) {
    UseSkin(0);
    auto* edit = NewEdit<TsFilenameEdit>();
    edit->SetFilter("HTML|*.html");
    int clicks = 0;
    edit->OnButtonClick = [&](TObject*) { ++clicks; };
    std::vector<std::pair<std::string, std::string>> seen;   // FileName, InitialDir handed over
    bool accept = false;
    FileDialogRunner = [&](TFileDialogKind kind, TacFileDialogData& dialog) {
        EXPECT_EQ(kind, dkOpen);
        EXPECT_EQ(dialog.Filter, "HTML|*.html");
        seen.emplace_back(dialog.FileName, dialog.InitialDir);
        if (accept) dialog.FileName = Path("backup") + "/report.html";
        return accept;
    };
    edit->SetText(Path("nodes/node1/FAHlog.txt"));
    ClickButton(edit);
    EXPECT_EQ(edit->Text(), Path("nodes/node1/FAHlog.txt"));   // cancelled: unchanged
    edit->SetText("bad|name");
    ClickButton(edit);   // not handed over: the dialog keeps its file name
    accept = true;
    edit->SetText(Path("nodes") + "/");
    ClickButton(edit);   // a folder without a name part: an empty file name
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], std::make_pair(Path("nodes/node1/FAHlog.txt"), Path("nodes/node1")));
    EXPECT_EQ(seen[1].first, Path("nodes/node1/FAHlog.txt"));
    EXPECT_EQ(seen[2], std::make_pair(std::string(), Path("nodes")));
    EXPECT_EQ(edit->Text(), Path("backup") + "/report.html");
    EXPECT_EQ(edit->InitialDir(), Path("backup"));
    EXPECT_EQ(clicks, 3);
}

TEST_F(TooleditTest, SwitchingTheDialogKindKeepsItsSettings) {
    UseSkin(3);
    auto* edit = NewEdit<TsFilenameEdit>();
    EXPECT_EQ(edit->Filter(), "All files (*.*)|*.*");
    EXPECT_EQ(edit->DialogOptions(), DefaultOpenOptions);
    edit->SetFilter("Logs|*.txt");
    edit->SetFilterIndex(2);
    edit->SetInitialDir("/srv");
    edit->SetDefaultExt("txt");
    edit->HistoryList()->Add("/srv/a.txt");
    edit->SetDialogOptions(DefaultOpenOptions + TOpenOptions {ofAllowMultiSelect});
    edit->SetDialogKind(dkSave);
    TFileDialogKind ran = dkOpen;
    FileDialogRunner = [&](TFileDialogKind kind, TacFileDialogData& dialog) {
        ran = kind;
        EXPECT_EQ(dialog.Filter, "Logs|*.txt");
        EXPECT_EQ(dialog.FilterIndex, 2);
        EXPECT_EQ(dialog.InitialDir, "/srv");
        EXPECT_EQ(dialog.DefaultExt, "txt");
        EXPECT_EQ(dialog.HistoryList->Count(), 1);
        EXPECT_TRUE(dialog.Options.Contains(ofAllowMultiSelect));
        return false;
    };
    ClickButton(edit);
    EXPECT_EQ(ran, dkSave);
}

TEST_F(TooleditTest, AnInvalidFileNameIsRefusedAndTheTextKept) {
    UseSkin(0);
    auto* edit = NewEdit<TsFilenameEdit>();
    edit->SetFileName("/srv/ok.txt");
    for (const char* bad : {"x|y", "a<b", "a>b", "tab\there", "line\nbreak", "\"quoted\""})
        EXPECT_THROW(edit->SetFileName(bad), base::Exception) << bad;
    EXPECT_EQ(edit->FileName(), "/srv/ok.txt");
    // Brackets and wildcard characters belong to real names.
    for (const char* good : {"/srv/report[1].txt", "/srv/a?b", "/srv/*.txt"}) {
        EXPECT_NO_THROW(edit->SetFileName(good)) << good;
        EXPECT_EQ(edit->FileName(), good);
    }
    edit->SetFileName("");
    EXPECT_EQ(edit->Text(), "");
}

TEST_F(TooleditTest, DroppedFilesAreReadWholeOneOrAllByTheMultipleFlag) {
    UseSkin(1);
    auto* edit = NewEdit<TsFilenameEdit>();
    int drops = 0;
    edit->OnDropFiles = [&](TObject*) { ++drops; };
    const std::string longName = "/srv/" + std::string(700, 'n') + "/FAHlog.txt";   // past 260 and 512
    EXPECT_FALSE(DropOn(edit, {longName}));   // not accepting yet
    edit->SetAcceptFiles(true);
    ASSERT_TRUE(DropOn(edit, {longName, "/srv/second.txt"}));
    EXPECT_EQ(edit->FileName(), longName);
    EXPECT_EQ(edit->Files()->Count(), 0);
    EXPECT_EQ(drops, 1);
    edit->SetDialogOptions(DefaultOpenOptions + TOpenOptions {ofAllowMultiSelect});
    ASSERT_TRUE(DropOn(edit, {"/srv/first.txt", longName}));
    EXPECT_EQ(edit->FileName(), "/srv/first.txt");
    ASSERT_EQ(edit->Files()->Count(), 2);
    EXPECT_EQ(edit->Files()->Strings(1), longName);
    EXPECT_EQ(drops, 2);
    // A new window registers again.
    edit->Perform(CM_RECREATEWND, 0, 0);
    edit->HandleNeeded();
    EXPECT_TRUE(DropOn(edit, {"/srv/again.txt"}));
    EXPECT_EQ(edit->FileName(), "/srv/again.txt");
}

TEST_F(TooleditTest, ADroppedFileGivesItsFolderToADirectoryEdit) {
    UseSkin(-1);
    auto* edit = NewEdit<TsDirectoryEdit>();
    edit->SetAcceptFiles(true);
    ASSERT_TRUE(DropOn(edit, {Path("nodes/node1/FAHlog.txt")}));
    EXPECT_EQ(edit->Text(), Path("nodes/node1"));
    edit->SetMultipleDirs(true);
    ASSERT_TRUE(DropOn(edit, {Path("backup"), Path("nodes")}));
    EXPECT_EQ(edit->Text(), Path("nodes/node1") + ";" + Path("backup") + ";" + Path("nodes"));
}

}
