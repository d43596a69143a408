// The skinned dialogs on a private Xvfb server in two of our skins, driven like a user through xdotool: the
// colour dialog, the folder selection dialog and the open dialog, each photographed; the current folder never
// changes.
#include "support/X11ApplicationFixture.h"
#include "support/X11TestKit.h"

#include "platform/base/Strings.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TScreen.h"
#include "platform/classes/TStringList.h"
#include "platform/classes/TListItems.h"
#include "platform/classes/TTreeNodes.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sCurrEdit.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sTooledit.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sColorDialog.h"
#include "skin/windows/sFilterComboBox.h"
#include "skin/windows/sOpenDialog.h"
#include "skin/windows/sWindowClasses.h"
#include "skin/windows/shell/acShellClasses.h"
#include "skin/windows/shell/acShellListView.h"
#include "skin/windows/shell/acShellTreeView.h"
#include "skin/windows/shell/sOpenDialogForm.h"
#include "skin/windows/shell/sPathDialog.h"
#include "skin/stored/EmbeddedSkins.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;

namespace {

using Clock = std::chrono::steady_clock;
using Step = std::function<void(TForm* dialog)>;

constexpr auto GiveUpAfter = std::chrono::seconds(30);   // a dialog the steps did not close, or a server that never answers

std::string CurrentFolder() {
    return std::filesystem::current_path().string();
}

class SkinnedDialogsOnX11 : public e2e::X11ApplicationFixture, public ::testing::WithParamInterface<const char*> {
protected:
    SkinnedDialogsOnX11() : X11ApplicationFixture(1024, 768) {}
    void BeforeApplication() override {
        RegisterSkinWindowClasses();
        RegisterShellClasses();
    }
    void WithApplication() override {
        Application->SetTitle("KORVEX");
        Manager = Create<TsSkinManager>(Application);
        std::string error;
        ASSERT_TRUE(LoadEmbeddedSkins(*Manager, &error)) << error;
        Manager->SetSkinName(std::string(GetParam()) + " (internal)");
        Manager->SetActive(true);
        StartFolder = CurrentFolder();
    }
    void BeforeDone() override {
        Application->OnIdle = nullptr;
        DirectoryDialogRunner = nullptr;
        SkinnedFileDialogForm = nullptr;
        EXPECT_EQ(CurrentFolder(), StartFolder);
    }

    // Runs call, which shows a dialog modally; once it is up, each step in turn, given the active form. Before
    // the first step and after each one the server and the program settle: twice a round trip with the server
    // (whatever it showed or was given by then, input of xdotool too, has come back as events) followed by an
    // idle turn (those events handled, what they changed painted and presented). A dialog still open long
    // after the last step is cancelled as a failure.
    int Drive(const std::function<int()>& call, std::vector<Step> steps) {
        size_t next = 0;
        int settleTurns = 0;
        Clock::time_point lastStep {};
        Application->OnIdle = [&](TObject*, bool&) {
            TForm* dialog = Screen->ActiveForm();
            if (dialog == nullptr) return;
            if (settleTurns < 2) {
                user::FlushDisplay();
                std::unique_ptr<gdi::Bitmap> roundTrip(X11->CaptureScreen(TRect {0, 0, 1, 1}));
                user::FlushDisplay();   // the events read meanwhile are handled before the next idle turn
                ++settleTurns;
            } else if (next < steps.size()) {
                steps[next++](dialog);
                settleTurns = 0;
                lastStep = Clock::now();
            } else if (Clock::now() >= lastStep + GiveUpAfter) {
                ADD_FAILURE() << "the dialog stayed open after the last step: " << dialog->ClassName();
                dialog->SetModalResult(mrCancel);
                lastStep = Clock::now();
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));   // the steps closed it: wait
            }
            user::PostMessage(dialog->Handle(), user::WM_NULL, 0, 0);   // keeps the idle turns coming
        };
        const int result = call();
        Application->OnIdle = nullptr;
        EXPECT_EQ(next, steps.size()) << "steps left undone";
        return result;
    }

    bool Xdo(const std::vector<std::string>& arguments) { return e2e::Xdotool(Server.Name(), arguments); }
    // A real click at a point of a control's client area (its middle by default).
    void ClickAt(TControl* control, int x, int y, int clicks = 1) {
        const TPoint p = control->ClientToScreen(TPoint {x, y});
        EXPECT_TRUE(Xdo({"mousemove", std::to_string(p.x), std::to_string(p.y), "click", "--repeat",
            std::to_string(clicks), "--delay", "60", "1"}));
    }
    void ClickOn(TControl* control) { ClickAt(control, control->Width() / 2, control->Height() / 2); }
    // Clicks into an edit, removes its text with the keyboard and types the new one.
    void TypeInto(TControl* edit, const std::string& text) {
        ClickOn(edit);
        EXPECT_TRUE(Xdo({"key", "End", "BackSpace", "BackSpace", "BackSpace", "BackSpace", "BackSpace", "BackSpace",
            "BackSpace", "BackSpace"}));
        EXPECT_TRUE(Xdo({"type", "--delay", "20", text}));
    }
    // What the server shows at a point of a control's client area.
    TColor ScreenPixel(TControl* control, int x, int y) {
        const TPoint p = control->ClientToScreen(TPoint {x, y});
        std::unique_ptr<gdi::Bitmap> shot(X11->CaptureScreen(TRect {p.x, p.y, p.x + 1, p.y + 1}));
        return shot ? TColor(shot->PixelAt(0, 0) & 0xFFFFFF) : clNone;
    }
    // The dialog's window as the server shows it, written beside the build.
    void Photograph(TForm* dialog, const std::string& name) {
        const TRect window {dialog->Left(), dialog->Top(), dialog->Left() + dialog->Width(),
            dialog->Top() + dialog->Height()};
        std::unique_ptr<gdi::Bitmap> shot(X11->CaptureScreen(window));
        ASSERT_TRUE(shot);
        std::filesystem::create_directories(KORVEX_PICTURE_DIR);
        EXPECT_TRUE(e2e::WriteScreenshot(
            *shot, std::string(KORVEX_PICTURE_DIR) + "/" + name + "_" + GetParam() + ".png"));
    }

    TsSkinManager* Manager = nullptr;
    std::string StartFolder;
};

template <class T>
T* As(TForm* form) {
    auto* dialog = dynamic_cast<T*>(form);
    EXPECT_NE(dialog, nullptr) << "another form is active";
    return dialog;
}

// A temporary folder tree with a file named like the first new folder; removed at the end.
class FolderTree {
public:
    FolderTree() {
        char pattern[] = "/tmp/korvex-dialogs-XXXXXX";
        FRoot = ::mkdtemp(pattern) ? pattern : "";
        std::filesystem::create_directories(FRoot + "/Folder A/Sub");
        std::filesystem::create_directories(FRoot + "/Folder B");
        std::ofstream(FRoot + "/Folder B/New folder") << "a file";
        std::ofstream(FRoot + "/Folder B/New folder1") << "a file of the first new name";
        std::ofstream(FRoot + "/Folder A/inner.txt") << "inner";
        std::ofstream(FRoot + "/Folder B/report.txt") << "report";
        std::ofstream(FRoot + "/notes.txt") << "notes";
        std::ofstream(FRoot + "/image.BMP") << "BM";
    }
    ~FolderTree() {
        std::error_code ignored;
        std::filesystem::remove_all(FRoot, ignored);
    }
    const std::string& Root() const { return FRoot; }

private:
    std::string FRoot;
};

// Where the colour field's ring is drawn around.
TPoint MarkerOf(TsColorDialogForm* dialog) {
    const TControl* field = dialog->ColorPanel;
    return TPoint {field->Width() * dialog->Hue() / 360, int(std::lround((1 - dialog->Saturation()) * field->Height()))};
}

TTreeNode* NodeNamed(TTreeView* tree, const std::string& text) {
    for (int i = 0; i < tree->Items()->Count(); ++i)
        if (tree->Items()->Item(i)->Text() == text) return tree->Items()->Item(i);
    return nullptr;
}

TListItem* ItemNamed(TListView* list, const std::string& caption) {
    for (int i = 0; i < list->Items()->Count(); ++i)
        if (list->Items()->Item(i)->Caption() == caption) return list->Items()->Item(i);
    return nullptr;
}

std::vector<std::string> Captions(TListView* list) {
    std::vector<std::string> captions;
    for (int i = 0; i < list->Items()->Count(); ++i) captions.push_back(list->Items()->Item(i)->Caption());
    return captions;
}

}

TEST_P(SkinnedDialogsOnX11, TheColourDialogTakesACellAnEditedRedAndACustomColour) {
    TsColorDialog dialog(Application);
    dialog.SetOptions({});   // opens narrow
    dialog.SetColor(0x102030);
    TColor cell = 0;
    TPoint before {};
    TColor chosen = 0;
    const bool ok = Drive([&] { return dialog.Execute() ? 1 : 0; },
        {[&](TForm* form) {
             EXPECT_EQ(form->Width(), ColorDialogNarrowWidth);
             before = MarkerOf(As<TsColorDialogForm>(form));
             Photograph(form, "ColorDialogNarrow");
             ClickOn(As<TsColorDialogForm>(form)->sBitBtn4);   // Define colors
         },
            [&](TForm* form) {
                TsColorDialogForm* d = As<TsColorDialogForm>(form);
                EXPECT_GT(form->Width(), ColorDialogNarrowWidth);
                const TsColorItem& item = d->MainPal->Items().at(10);
                cell = item.Color;
                ClickAt(d->MainPal, (item.Rect.left + item.Rect.right) / 2, (item.Rect.top + item.Rect.bottom) / 2);
            },
            [&](TForm* form) {
                TsColorDialogForm* d = As<TsColorDialogForm>(form);
                EXPECT_EQ(d->SelectedColor(), cell);
                EXPECT_EQ(d->MainPal->ItemIndex(), 10);
                TypeInto(d->sREdit, "200");
            },
            [&](TForm* form) {
                TsColorDialogForm* d = As<TsColorDialogForm>(form);
                chosen = (cell & 0xFFFF00) | 200;
                EXPECT_EQ(d->SelectedColor(), chosen);
                TypeInto(d->sBEdit, "999");   // past the limit: held to 255, green untouched
            },
            [&](TForm* form) {
                TsColorDialogForm* d = As<TsColorDialogForm>(form);
                chosen = (chosen & 0x00FFFF) | 0xFF0000;
                EXPECT_EQ(d->SelectedColor(), chosen);
                ClickOn(d->sBitBtn3);   // Add to custom colors set
            },
            [&](TForm* form) {
                TsColorDialogForm* d = As<TsColorDialogForm>(form);
                EXPECT_EQ(d->AddPal->Items().at(0).Color, chosen);
                // The bar shows the new pure colour in its middle row, the field's marker at the new hue.
                EXPECT_EQ(ScreenPixel(d->GradPanel, 10, d->GradPanel->Height() / 2 - 1), chosen);
                const TPoint now = MarkerOf(d);
                EXPECT_EQ(ScreenPixel(d->ColorPanel, now.x - 5, now.y), clBlack);
                EXPECT_NE(ScreenPixel(d->ColorPanel, before.x - 5, before.y), clBlack);
                Photograph(form, "ColorDialogWide");
                ClickOn(d->sBitBtn1);   // OK
            }}) == 1;
    EXPECT_TRUE(ok);
    EXPECT_EQ(dialog.Color(), chosen);
    ASSERT_GT(dialog.CustomColors()->Count(), 0);
    EXPECT_EQ(dialog.CustomColors()->Strings(0), base::IntToHex(int(chosen), 6));
}

TEST_P(SkinnedDialogsOnX11, TheFolderDialogChoosesInTheTreeAndMakesANewFolderBesideAFileOfItsName) {
    FolderTree files;
    InstallSkinnedFolderDialog();
    TacDirectoryRequest request;
    request.Root = files.Root();
    request.StartDir = files.Root() + "/Folder A";
    request.Options = DefaultSelectDirOpts;
    request.Skinned = true;
    std::string chosen;
    const std::string made = files.Root() + "/Folder B/New folder2";
    const bool ok = Drive([&] { return DirectoryDialogRunner(request, chosen) ? 1 : 0; },
        {[&](TForm* form) {
             TsShellTreeView* tree = As<TPathDialogForm>(form)->sShellTreeView1;
             EXPECT_EQ(tree->Path(), files.Root() + "/Folder A");
             TTreeNode* node = NodeNamed(tree, "Folder B");
             ASSERT_NE(node, nullptr);
             const TRect r = node->DisplayRect(true);
             ClickAt(tree, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
         },
            [&](TForm* form) {
                TPathDialogForm* d = As<TPathDialogForm>(form);
                EXPECT_EQ(d->sShellTreeView1->Path(), files.Root() + "/Folder B");
                ClickOn(d->sBitBtn3);   // Create
            },
            [&](TForm* form) {
                TPathDialogForm* d = As<TPathDialogForm>(form);
                EXPECT_TRUE(std::filesystem::is_directory(made));
                EXPECT_TRUE(d->sShellTreeView1->IsEditing());
                Photograph(form, "PathDialogRenaming");
                EXPECT_TRUE(Xdo({"key", "Return"}));   // keeps the name
            },
            [&](TForm* form) {
                TPathDialogForm* d = As<TPathDialogForm>(form);
                EXPECT_FALSE(d->sShellTreeView1->IsEditing());
                EXPECT_EQ(d->sShellTreeView1->Path(), made);
                Photograph(form, "PathDialog");
                ClickOn(d->sBitBtn1);   // OK
            }}) == 1;
    EXPECT_TRUE(ok);
    EXPECT_EQ(chosen, made);
    EXPECT_TRUE(std::filesystem::is_regular_file(files.Root() + "/Folder B/New folder1"));
}

TEST_P(SkinnedDialogsOnX11, TheOpenDialogTakesATypedNameADoubleClickedFileAFilterAndCancel) {
    FolderTree files;
    TsOpenDialog dialog(nullptr);
    dialog.SetInitialDir(files.Root());
    dialog.SetFilter("Text|*.txt|Pictures|*.bmp|All files|*");
    auto run = [&](std::vector<Step> steps) { return Drive([&] { return dialog.Execute() ? 1 : 0; }, std::move(steps)); };
    auto open = [](TForm* form) { return As<TsOpenDialogForm>(form); };
    // Double clicks on an item of the list: its caption's middle.
    auto doubleClick = [&](TForm* form, const std::string& caption) {
        TListItem* item = ItemNamed(open(form)->FileListView, caption);
        ASSERT_NE(item, nullptr) << caption;
        const TRect r = item->DisplayRect(drLabel);
        ClickAt(open(form)->FileListView, (r.left + r.right) / 2, (r.top + r.bottom) / 2, 2);
    };

    // A relative name typed into the edit, Enter.
    EXPECT_EQ(run({[&](TForm* form) {
        Photograph(form, "OpenDialog");
        TypeInto(open(form)->FileNameEdit, "Folder A/inner.txt");
        EXPECT_TRUE(Xdo({"key", "Return"}));
    }}),
        1);
    EXPECT_EQ(dialog.FileName(), files.Root() + "/Folder A/inner.txt");

    // A folder, then a file, each chosen by a double click (the last choice's folder is where it starts).
    EXPECT_EQ(dialog.InitialDir(), files.Root() + "/Folder A");
    dialog.SetInitialDir(files.Root());
    dialog.SetFileName("");
    EXPECT_EQ(run({[&](TForm* form) { doubleClick(form, "Folder B"); },
                  [&](TForm* form) {
                      EXPECT_EQ(open(form)->FolderPath(), files.Root() + "/Folder B/");
                      doubleClick(form, "report.txt");
                  }}),
        1);
    EXPECT_EQ(dialog.FileName(), files.Root() + "/Folder B/report.txt");

    // The pictures filter chosen with the keyboard, then Cancel: the name stays, the filter comes back.
    dialog.SetInitialDir(files.Root());
    dialog.SetFileName("kept.txt");
    EXPECT_EQ(run({[&](TForm* form) {
                      EXPECT_NE(ItemNamed(open(form)->FileListView, "notes.txt"), nullptr);
                      ClickOn(open(form)->FileTypeBox);
                      EXPECT_TRUE(Xdo({"key", "Down", "Return"}));
                  },
                  [&](TForm* form) {
                      TsOpenDialogForm* d = open(form);
                      EXPECT_EQ(d->FileTypeBox->ItemIndex(), 1);
                      const std::vector<std::string> shown = Captions(d->FileListView);
                      EXPECT_EQ(ItemNamed(d->FileListView, "notes.txt"), nullptr) << testing::PrintToString(shown);
                      EXPECT_NE(ItemNamed(d->FileListView, "image.BMP"), nullptr) << testing::PrintToString(shown);
                      EXPECT_NE(ItemNamed(d->FileListView, "Folder A"), nullptr) << testing::PrintToString(shown);
                      Photograph(form, "OpenDialogPictures");
                      ClickOn(d->sButton2);   // Cancel
                  }}),
        0);
    EXPECT_EQ(dialog.FileName(), "kept.txt");
    EXPECT_EQ(dialog.FilterIndex(), 2);
}

INSTANTIATE_TEST_SUITE_P(TwoSkins, SkinnedDialogsOnX11, ::testing::Values("LongHorn", "Office2003"),
    [](const auto& info) { return std::string(info.param); });
