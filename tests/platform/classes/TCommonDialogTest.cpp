// The dialog components: filters, joined paths, and the plain open, colour and folder forms driven in their
// modal loops; no dialog changes the process's current folder.
#include "support/ControlsTestKit.h"
#include "support/ModalSteps.h"

#include "platform/classes/TButton.h"
#include "platform/classes/TCommonDialog.h"
#include "platform/classes/TComboBox.h"
#include "platform/classes/TEdit.h"
#include "platform/classes/TListBox.h"
#include "platform/classes/TStrings.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/VirtualKeys.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

using Step = ModalStep;

std::string CurrentFolder() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
}

class DialogTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        char name[] = "/tmp/korvex-dialogs-XXXXXX";
        Root = mkdtemp(name);
        std::filesystem::create_directories(Root + "/sub/deeper");
        for (const char* file : {"a.txt", "b.html", "sub/c.txt"}) std::ofstream(Root + "/" + file) << "x";
        Cwd = CurrentFolder();
    }
    void TearDown() override {
        Application->OnIdle = nullptr;
        EXPECT_EQ(CurrentFolder(), Cwd) << "a dialog changed the current folder";
        std::filesystem::remove_all(Root);
        ControlsTest::TearDown();
    }

    bool Drive(const std::function<bool()>& call, std::vector<Step> steps) {
        return RunModalSteps([&] { return call() ? 1 : 0; }, std::move(steps)) == 1;
    }

    template <class T>
    static T* Find(TForm* form, const char* name) {
        auto* control = dynamic_cast<T*>(form->FindComponent(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    void ClickOn(TControl* control) {
        const TPoint p = control->ClientToScreen(TPoint {control->Width() / 2, control->Height() / 2});
        Display->Click(p.x, p.y);
    }
    static Step Type(const char* editName, std::string text) {
        return [editName, text](TForm* form) { Find<TEdit>(form, editName)->SetText(text); };
    }
    Step Ok() {
        return [this](TForm* form) { ClickOn(Find<TButton>(form, "OKButton")); };
    }
    static int IndexOf(TForm* form, const std::string& item) {
        return Find<TListBox>(form, "FileList")->Items()->IndexOf(item);
    }

    std::string Root;
    std::string Cwd;
};

TEST(FileFilter, SplitsDescriptionsAndMasksAndALastDescriptionWithoutMaskPassesEveryFile) {
    const auto html = ParseFilter("HTML|*.html");
    ASSERT_EQ(html.size(), 1u);
    EXPECT_EQ(html[0].Description, "HTML");
    EXPECT_TRUE(html[0].Matches("page.HTML"));
    EXPECT_FALSE(html[0].Matches("page.txt"));

    const auto two = ParseFilter("Logs|*.txt; *.log|Anything");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].Masks, (std::vector<std::string> {"*.txt", "*.log"}));
    EXPECT_TRUE(two[1].Masks.empty());
    EXPECT_TRUE(two[1].Matches("no-extension"));
    EXPECT_TRUE(ParseFilter("").empty());
}

TEST(FileFilter, JoinPathKeepsAbsoluteNamesAndNeverDoublesTheDelimiter) {
    struct Case {
        const char* Folder;
        const char* Name;
        const char* Joined;
    };
    for (const Case& c : {Case {"/", "x", "/x"}, Case {"/home/u", "x.html", "/home/u/x.html"},
             Case {"/home/u/", "x", "/home/u/x"}, Case {"/home/u", "/tmp/y.html", "/tmp/y.html"},
             Case {"/home/u", "", "/home/u"}})
        EXPECT_EQ(JoinPath(c.Folder, c.Name), c.Joined) << c.Folder << " + " << c.Name;
}

TEST_F(DialogTest, OpenTakesARelativeOrAbsoluteNameOrADoubleClickAndCancelLeavesFileNameAlone) {
    auto* dialog = new TOpenDialog(Application);
    dialog->SetInitialDir(Root);
    EXPECT_TRUE(Drive([&] { return dialog->Execute(); }, {Type("FileNameEdit", "a.txt"), Ok()}));
    EXPECT_EQ(dialog->FileName(), Root + "/a.txt");
    EXPECT_EQ(dialog->Files()->Count(), 1);

    const std::string absolute = Root + "/sub/c.txt";
    EXPECT_TRUE(Drive([&] { return dialog->Execute(); }, {Type("FileNameEdit", absolute), Ok()}));
    EXPECT_EQ(dialog->FileName(), absolute);
    EXPECT_EQ(dialog->InitialDir(), Root + "/sub");

    // Into a folder by typing its name, back up by a double click on "../", then a file by double click.
    EXPECT_TRUE(Drive([&] { return dialog->Execute(); },
        {Type("FileNameEdit", "deeper"), Ok(),
            [&](TForm* form) {
                EXPECT_EQ(Find<TControl>(form, "FolderLabel")->Caption(), Root + "/sub/deeper");
                auto* list = Find<TListBox>(form, "FileList");
                list->SetItemIndex(IndexOf(form, "../"));
                list->OnDblClick(list);
                list->SetItemIndex(IndexOf(form, "../"));
                list->OnDblClick(list);
                list->SetItemIndex(IndexOf(form, "b.html"));
                list->OnDblClick(list);
            }}));
    EXPECT_EQ(dialog->FileName(), Root + "/b.html");

    EXPECT_FALSE(Drive([&] { return dialog->Execute(); },
        {Type("FileNameEdit", "a.txt")}));
    EXPECT_EQ(dialog->FileName(), Root + "/b.html");
}

TEST_F(DialogTest, WithSeveralFilesFileNameIsTheFirstAndAnEmptyChoiceKeepsTheOldOne) {
    auto* dialog = new TOpenDialog(Application);
    dialog->SetFileName("/kept.txt");
    dialog->SetChosen({});
    EXPECT_EQ(dialog->FileName(), "/kept.txt");
    dialog->SetChosen({Root + "/b.html", Root + "/a.txt"});
    EXPECT_EQ(dialog->FileName(), Root + "/b.html");
    ASSERT_EQ(dialog->Files()->Count(), 2);
    EXPECT_EQ(dialog->Files()->Strings(1), Root + "/a.txt");
    EXPECT_EQ(dialog->InitialDir(), Root);
    EXPECT_EQ(dialog->StartFolder(), Root);
}

TEST_F(DialogTest, TheFilterChoosesTheListedFilesAndFilterIndexFollowsTheChoiceAlsoOnCancel) {
    auto* dialog = new TOpenDialog(Application);
    dialog->SetInitialDir(Root);
    dialog->SetFilter("HTML|*.html|Text|*.txt");
    dialog->SetFilterIndex(0);   // out of range: the first
    Drive([&] { return dialog->Execute(); },
        {[&](TForm* form) {
            EXPECT_EQ(Find<TComboBox>(form, "FilterBox")->ItemIndex(), 0);
            EXPECT_GE(IndexOf(form, "b.html"), 0);
            EXPECT_LT(IndexOf(form, "a.txt"), 0);
            EXPECT_GE(IndexOf(form, "sub/"), 0);   // folders stay
            auto* box = Find<TComboBox>(form, "FilterBox");
            box->SetItemIndex(1);
            box->OnChange(box);
            EXPECT_GE(IndexOf(form, "a.txt"), 0);
            EXPECT_LT(IndexOf(form, "b.html"), 0);
        }});
    EXPECT_EQ(dialog->FilterIndex(), 2);
}

TEST_F(DialogTest, OptionsCheckTheChosenNameAndTheDefaultExtensionIsAdded) {
    auto* dialog = new TSaveDialog(Application);
    dialog->SetInitialDir(Root);
    dialog->SetDefaultExt("html");
    EXPECT_TRUE(Drive([&] { return dialog->Execute(); }, {Type("FileNameEdit", "report"), Ok()}));
    EXPECT_EQ(dialog->FileName(), Root + "/report.html");
    EXPECT_EQ(dialog->DialogCaption(), "Save");

    auto* open = new TOpenDialog(Application);
    open->SetOptions({ofFileMustExist});
    EXPECT_TRUE(open->AcceptName(Root + "/a.txt"));
}

TEST_F(DialogTest, ColourEditsAreClampedPerChannelAndCancelKeepsTheColour) {
    auto* dialog = new TColorDialog(Application);
    dialog->SetColor(0x123456);
    EXPECT_FALSE(Drive([&] { return dialog->Execute(); }, {Type("RedEdit", "999")}));
    EXPECT_EQ(dialog->Color(), 0x123456);

    struct Case {
        const char* Red;
        const char* Green;
        const char* Blue;
        TColor Color;
    };
    for (const Case& c : {Case {"255", "0", "0", 0x0000FF}, Case {"256", "0", "0", 0x0000FF},
             Case {"99999999999999999999", "-5", "1", 0x0100FF}, Case {"", "x", "300", 0xFF0000}}) {
        SCOPED_TRACE(c.Red);
        EXPECT_TRUE(Drive([&] { return dialog->Execute(); },
            {Type("RedEdit", c.Red), Type("GreenEdit", c.Green), Type("BlueEdit", c.Blue), Ok()}));
        EXPECT_EQ(dialog->Color(), c.Color);
    }
}

TEST_F(DialogTest, SelectDirectoryWalksTheFoldersAndCancelKeepsTheDirectory) {
    std::string directory = Root;
    EXPECT_TRUE(Drive([&] { return SelectDirectory("", Root, directory); },
        {[&](TForm* form) {
            EXPECT_LT(IndexOf(form, "../"), 0);   // the root is the top
            EXPECT_LT(IndexOf(form, "a.txt"), 0);   // folders only
            auto* list = Find<TListBox>(form, "FileList");
            list->SetItemIndex(IndexOf(form, "sub/"));
            list->OnDblClick(list);
            list->SetItemIndex(IndexOf(form, "deeper/"));
        },
            Ok()}));
    EXPECT_EQ(directory, Root + "/sub/deeper");
    EXPECT_FALSE(Drive([&] { return SelectDirectory("", "", directory); }, {}));
    EXPECT_EQ(directory, Root + "/sub/deeper");
}

// Pictures of the three plain forms, when asked for (KORVEX_SCREENSHOT_DIR).
TEST_F(DialogTest, PicturesOfThePlainFormsWhenAskedFor) {
    const char* dir = std::getenv("KORVEX_SCREENSHOT_DIR");
    auto shoot = [&](const char* name) {
        return [this, dir, name](TForm* form) {
            korvex::user::RECT r = korvex::user::WindowRect(form->Handle());
            EXPECT_GT(r.right - r.left, 0);
            if (dir != nullptr) {
                EXPECT_TRUE(Display->WriteScreenshotPng(std::string(dir) + "/" + name, &r));
            }
        };
    };
    auto* open = new TOpenDialog(Application);
    open->SetInitialDir(Root);
    open->SetFilter("Text|*.txt|Everything|*");
    Drive([&] { return open->Execute(); }, {[&](TForm* form) {
        EXPECT_EQ(Find<TEdit>(form, "FileNameEdit")->Text(), "");
        shoot("plain-open-dialog.png")(form);
    }});
    auto* color = new TColorDialog(Application);
    color->SetColor(0x3080E0);
    Drive([&] { return color->Execute(); }, {shoot("plain-color-dialog.png")});
    std::string directory = Root;
    Drive([&] { return SelectDirectory("", "", directory); }, {shoot("plain-folder-dialog.png")});
}

}
