// The file name edit runs the file dialog components: a chosen file reaches the edit, the dialog kind and
// default extension travel, cancel leaves the text alone, and the current folder never changes.
#include "support/WindowsKit.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TEdit.h"
#include "platform/classes/TButton.h"
#include "skin/controls/sTooledit.h"
#include "skin/windows/sOpenDialog.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

std::string CurrentFolder() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
}

class OpenDialogTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        InstallSkinnedFileDialogs();
        char name[] = "/tmp/korvex-open-XXXXXX";
        Root = mkdtemp(name);
        std::ofstream(Root + "/summary.html") << "<html/>";
        Cwd = CurrentFolder();
    }
    void TearDown() override {
        FileDialogRunner = nullptr;
        EXPECT_EQ(CurrentFolder(), Cwd);
        std::filesystem::remove_all(Root);
        FormsTest::TearDown();
    }
    static ModalStep Type(std::string text) {
        return [text](TForm* form) {
            dynamic_cast<TEdit*>(form->FindComponent("FileNameEdit"))->SetText(text);
            dynamic_cast<TButton*>(form->FindComponent("OKButton"))->Click();
        };
    }
    TsFilenameEdit* NewEdit() {
        auto* edit = Create<TsFilenameEdit>(Form);
        edit->SetParent(Form);
        edit->SetFilter("HTML|*.html");
        edit->SetInitialDir(Root);
        Pump();
        return edit;
    }

    std::string Root;
    std::string Cwd;
};

TEST_F(OpenDialogTest, TheEditTakesTheChosenFileAndCancelLeavesItsText) {
    TsFilenameEdit* edit = NewEdit();
    RunModal([&] { edit->ButtonClick(); return 0; }, {[](TForm* form) {
        EXPECT_EQ(form->Caption(), "Open");
        form->SetModalResult(mrCancel);
    }});
    EXPECT_EQ(edit->Text(), "");
    RunModal([&] { edit->ButtonClick(); return 0; }, {Type("summary.html")});
    EXPECT_EQ(edit->Text(), Root + "/summary.html");
    EXPECT_EQ(edit->InitialDir(), Root);
    RunModal([&] { edit->ButtonClick(); return 0; }, {});
    EXPECT_EQ(edit->Text(), Root + "/summary.html");
}

TEST_F(OpenDialogTest, TheSaveKindAddsTheDefaultExtension) {
    TsFilenameEdit* edit = NewEdit();
    edit->SetDialogKind(dkSave);
    edit->SetDefaultExt("html");
    RunModal([&] { edit->ButtonClick(); return 0; }, {[](TForm* form) {
        EXPECT_EQ(form->Caption(), "Save");
        Type("report")(form);
    }});
    EXPECT_EQ(edit->Text(), Root + "/report.html");
    // A default extension given with its dot gets no second one.
    edit->SetDefaultExt(".txt");
    RunModal([&] { edit->ButtonClick(); return 0; }, {[](TForm* form) { Type("notes")(form); }});
    EXPECT_EQ(edit->Text(), Root + "/notes.txt");
}

}
}
