// gallery: one form showing every standard control in its plain look, on the x11 or the headless display.
//
//   gallery [--skin NAME] [--rtl] [--headless-png FILE] [--exit-after MS]
//
// --skin NAME shows the page of skinned controls instead, in one of our skins ("MacOS", "LongHorn", "NextStyle",
// "Office2003", their stored names, or "none"); its buttons switch the skin while it runs.
// --rtl shows the skinned controls read left to right beside the same read right to left, in the skin of --skin
// (LongHorn without one).
// Shown on x11 when $DISPLAY is set (headless otherwise). Prints "READY" with the form's screen rectangle once
// it is painted. --headless-png renders the form on the headless display, writes it as a PNG and exits.
#include "platform/classes/TApplication.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TLabel.h"
#include "platform/classes/TPanel.h"
#include "platform/classes/TScreen.h"
#include "platform/classes/TScrollBox.h"
#include "platform/classes/TSpeedButton.h"
#include "platform/classes/TSplitter.h"
#include "platform/classes/TStringGrid.h"
#include "platform/classes/TTimer.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Screen.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/display/headless/HeadlessDisplay.h"
#include "tools/GalleryRtlPage.h"
#include "tools/GallerySkinnedPage.h"
#include "tools/ToolUsage.h"

// The other standard controls, each only when its header is there.
#if __has_include("platform/classes/TButton.h")
#include "platform/classes/TButton.h"
#define GALLERY_BUTTON 1
#endif
#if __has_include("platform/classes/TCheckBox.h")
#include "platform/classes/TCheckBox.h"
#define GALLERY_CHECKBOX 1
#endif
#if __has_include("platform/classes/TRadioButton.h")
#include "platform/classes/TRadioButton.h"
#define GALLERY_RADIO 1
#endif
#if __has_include("platform/classes/TGroupBox.h")
#include "platform/classes/TGroupBox.h"
#define GALLERY_GROUPBOX 1
#endif
#if __has_include("platform/classes/TEdit.h")
#include "platform/classes/TEdit.h"
#define GALLERY_EDIT 1
#endif
#if __has_include("platform/classes/TMemo.h")
#include "platform/classes/TMemo.h"
#define GALLERY_MEMO 1
#endif
#if __has_include("platform/classes/TRichEdit.h")
#include "platform/classes/TRichEdit.h"
#define GALLERY_RICHEDIT 1
#endif
#if __has_include("platform/classes/TListBox.h")
#include "platform/classes/TListBox.h"
#define GALLERY_LISTBOX 1
#endif
#if __has_include("platform/classes/TComboBox.h")
#include "platform/classes/TComboBox.h"
#define GALLERY_COMBOBOX 1
#endif
#if __has_include("platform/classes/TScrollBar.h")
#include "platform/classes/TScrollBar.h"
#define GALLERY_SCROLLBAR 1
#endif
#if __has_include("platform/classes/TPageControl.h")
#include "platform/classes/TPageControl.h"
#define GALLERY_PAGECONTROL 1
#endif
#if __has_include("platform/classes/TStatusBar.h")
#include "platform/classes/TStatusBar.h"
#define GALLERY_STATUSBAR 1
#endif
#if __has_include("platform/classes/TToolBar.h")
#include "platform/classes/TToolBar.h"
#define GALLERY_TOOLBAR 1
#endif
#if __has_include("platform/classes/TTrackBar.h")
#include "platform/classes/TTrackBar.h"
#define GALLERY_TRACKBAR 1
#endif
#if __has_include("platform/classes/TProgressBar.h")
#include "platform/classes/TProgressBar.h"
#define GALLERY_PROGRESSBAR 1
#endif
#if __has_include("platform/classes/TUpDown.h")
#include "platform/classes/TUpDown.h"
#define GALLERY_UPDOWN 1
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

using namespace korvex;
using namespace korvex::classes;

namespace {

constexpr int ToolBarHeight = 30;   // the form's controls sit below the tool bar

template <class T>
T* Place(TWinControl* parent, int x, int y, int width, int height, const std::string& caption = {}) {
    T* control = Create<T>(parent->Owner() != nullptr ? parent->Owner() : parent);
    if (dynamic_cast<TForm*>(parent) != nullptr) y += ToolBarHeight;
    control->SetBounds(x, y, width, height);
    if (!caption.empty()) control->SetCaption(caption);
    control->SetParent(parent);
    return control;
}

TForm* BuildGallery() {
    TForm* form = Create<TForm>(Application);
    form->SetCaption("KORVEX control gallery");
    form->SetBounds(40, 30, 700, 520);
    form->SetClientWidth(680);
    form->SetClientHeight(480 + ToolBarHeight);

    // Column 1: labels, buttons, checks, radios, edits.
    Place<TLabel>(form, 10, 10, 0, 0, "&Label with an accelerator");
#ifdef GALLERY_BUTTON
    Place<TButton>(form, 10, 30, 75, 25, "Button")->SetDefault(true);
#endif
    auto* speed = Place<TSpeedButton>(form, 90, 30, 60, 25, "Speed");
    speed->SetGroupIndex(1);
    speed->SetDown(true);
    Place<TSpeedButton>(form, 152, 30, 60, 25, "Other")->SetGroupIndex(1);
    Place<TSpeedButton>(form, 214, 30, 40, 25, "Flat")->SetFlat(true);
#ifdef GALLERY_CHECKBOX
    Place<TCheckBox>(form, 10, 62, 120, 17, "Check box")->SetChecked(true);
#endif
#ifdef GALLERY_GROUPBOX
    auto* group = Place<TGroupBox>(form, 10, 84, 240, 60, "Group box");
#ifdef GALLERY_RADIO
    Place<TRadioButton>(group, 10, 18, 100, 17, "Radio one")->SetChecked(true);
    Place<TRadioButton>(group, 10, 36, 100, 17, "Radio two");
#endif
#endif
#ifdef GALLERY_EDIT
    Place<TEdit>(form, 10, 152, 150, 21)->SetText("Edit text");
#endif
#ifdef GALLERY_UPDOWN
#ifdef GALLERY_EDIT
    auto* spinEdit = Place<TEdit>(form, 170, 152, 60, 21);
    auto* upDown = Place<TUpDown>(form, 230, 152, 16, 21);
    upDown->SetAssociate(spinEdit);
    upDown->SetPosition(7);
#endif
#endif
#ifdef GALLERY_MEMO
    auto* memo = Place<TMemo>(form, 10, 180, 240, 60);
    memo->Lines()->Add("Memo line one");
    memo->Lines()->Add("Memo line two");
#endif
#ifdef GALLERY_RICHEDIT
    Place<TRichEdit>(form, 10, 246, 240, 40)->SetText("Rich edit text");
#endif
#ifdef GALLERY_COMBOBOX
    auto* combo = Place<TComboBox>(form, 10, 292, 150, 21);
    combo->Items()->Add("Combo item");
    combo->Items()->Add("Second item");
    combo->SetItemIndex(0);
#endif
#ifdef GALLERY_LISTBOX
    auto* list = Place<TListBox>(form, 170, 292, 80, 60);
    for (const char* item : {"List one", "List two", "List three", "List four"})
        list->Items()->Add(item);
    list->SetItemIndex(1);
#endif
#ifdef GALLERY_SCROLLBAR
    Place<TScrollBar>(form, 10, 322, 150, 17);
#endif
#ifdef GALLERY_TRACKBAR
    Place<TTrackBar>(form, 10, 360, 150, 30)->SetPosition(3);
#endif
#ifdef GALLERY_PROGRESSBAR
    Place<TProgressBar>(form, 10, 396, 150, 16)->SetPosition(60);
#endif

    // Column 2: the grid, panels, splitter, scroll box, pages.
    auto* grid = Place<TStringGrid>(form, 270, 10, 400, 130);
    grid->SetColCount(4);
    grid->SetRowCount(12);
    grid->SetDefaultRowHeight(18);
    grid->SetOptions(TGridOptions(grid->Options()).Include(goColSizing).Include(goRowSelect));
    const char* heads[] = {"Node", "Core", "Progress", "Points"};
    for (int c = 0; c < 4; ++c)
        grid->SetCells(c, 0, heads[c]);
    for (int r = 1; r < 12; ++r) {
        grid->SetCells(0, r, "node" + std::to_string(r));
        grid->SetCells(1, r, r % 2 ? "A7" : "GPU");
        grid->SetCells(2, r, std::to_string(r * 8) + "%");
        grid->SetCells(3, r, std::to_string(r * 1234));
    }
    grid->SetRow(2);

    auto* outer = Place<TPanel>(form, 270, 150, 400, 80);
    outer->SetCaption("");
    auto* left = Place<TPanel>(outer, 0, 0, 120, 80, "Raised panel");
    left->SetAlign(alLeft);
    auto* splitter = Place<TSplitter>(outer, 120, 0, 4, 80);
    splitter->SetAlign(alLeft);
    splitter->SetBeveled(true);
    auto* right = Place<TPanel>(outer, 124, 0, 200, 80, "Lowered inner bevel");
    right->SetAlign(alClient);
    right->SetBevelInner(bvLowered);
    right->SetBorderWidth(2);

    auto* box = Place<TScrollBox>(form, 270, 240, 190, 100);
    for (int i = 0; i < 5; ++i)
        Place<TPanel>(box, 5, 5 + i * 35, 150, 30, "Scroll box item " + std::to_string(i + 1));

#ifdef GALLERY_PAGECONTROL
    auto* pages = Place<TPageControl>(form, 470, 240, 200, 100);
    for (const char* title : {"First", "Second", "Third"}) {
        auto* sheet = Create<TTabSheet>(form);
        sheet->SetCaption(title);
        sheet->SetPageControl(pages);
    }
    pages->SetActivePageIndex(0);
    Place<TLabel>(pages->ActivePage(), 10, 10, 0, 0, "Page contents");
#endif
#ifdef GALLERY_TOOLBAR
    auto* tools = Create<TToolBar>(form);
    tools->SetAlign(alTop);
    tools->SetParent(form);
    tools->SetShowCaptions(true);
    tools->SetButtonWidth(60);
    for (const char* caption : {"Options", "Refresh", "Exit"}) {
        auto* tool = Create<TToolButton>(form);
        tool->SetCaption(caption);
        tool->SetWidth(60);
        tool->SetParent(tools);
    }
#endif
#ifdef GALLERY_STATUSBAR
    auto* status = Place<TStatusBar>(form, 0, 0, 100, 19);
    status->SetAlign(alBottom);
    status->Panels()->Add()->SetText("Status panel");
    status->Panels()->Add()->SetText("Second");
    status->Panels()->Items(0)->SetWidth(200);
#endif
    return form;
}

const char* const Usage = "usage: gallery [--skin NAME] [--rtl] [--headless-png FILE] [--exit-after MS]\n";

}   // namespace

int main(int argc, char** argv) {
    std::string pngPath;
    std::string skinName;
    int exitAfterMs = 0;
    bool rightToLeft = false;
    if (tools::AsksForUsage(argc, argv)) return tools::ShowUsage(Usage, true);
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--skin") && i + 1 < argc)
            skinName = argv[++i];
        else if (!std::strcmp(argv[i], "--rtl"))
            rightToLeft = true;
        else if (!std::strcmp(argv[i], "--headless-png") && i + 1 < argc)
            pngPath = argv[++i];
        else if (!std::strcmp(argv[i], "--exit-after") && i + 1 < argc)
            exitAfterMs = std::atoi(argv[++i]);
        else
            return tools::ShowUsage(Usage, false);
    }
    user::InitMessageQueue();
    if (!pngPath.empty()) user::SetDisplay(std::make_unique<user::HeadlessDisplay>());
    if (pngPath.empty() && user::ShowsOnNoScreen()) {
        std::fprintf(stderr, "gallery: no X display (DISPLAY is not set or the X server cannot be reached)\n");
        user::ShutdownMessageQueue();
        return 1;
    }
    InitApplication();
    TForm* form = nullptr;
    if (rightToLeft && skinName.empty()) skinName = "LongHorn";
    if (skinName.empty()) {
        form = BuildGallery();
    } else {
        skin::TsSkinManager* manager = gallery::NewGallerySkinManager();
        form = rightToLeft ? gallery::BuildRightToLeftPage() : gallery::BuildSkinnedPage(manager, skinName);
        form->Show();
        Application->ProcessMessages();
        if (!gallery::ChooseSkin(manager, skinName)) {
            std::fprintf(stderr, "gallery: unknown skin %s\n", skinName.c_str());
            DoneApplication();
            user::ShutdownMessageQueue();
            return 2;
        }
    }
    form->Show();
    Application->ProcessMessages();
    user::FlushDisplay();

    if (!pngPath.empty()) {
        user::RECT window {};
        user::GetWindowRect(form->Handle(), &window);
        auto* headless = static_cast<user::HeadlessDisplay*>(user::CurrentDisplay());
        bool written = headless->WriteScreenshotPng(pngPath, &window);
        DoneApplication();
        user::ShutdownMessageQueue();
        if (!written) std::fprintf(stderr, "gallery: %s could not be written\n", pngPath.c_str());
        return written ? 0 : 1;
    }
    user::RECT window {};
    user::GetWindowRect(form->Handle(), &window);
    std::printf(
        "READY %d %d %d %d %s\n", window.left, window.top, window.right, window.bottom, user::CurrentDisplay()->Name());
    std::fflush(stdout);
    if (exitAfterMs > 0) {
        auto* timer = Create<TTimer>(form);
        timer->SetInterval(exitAfterMs);
        timer->OnTimer = [](TObject*) { Application->Terminate(); };
    }
    form->OnClose = [](TObject*, TCloseAction&) { Application->Terminate(); };
    user::RunMessageLoop();
    DoneApplication();
    user::ShutdownMessageQueue();
    return 0;
}
