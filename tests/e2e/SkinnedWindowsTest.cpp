// Skinned windows on a private Xvfb server in each of our skins: a sizeable window with a menu, a dialog-style
// window and a tool window, photographed, then moved, sized, minimized, maximized, restored and closed with
// the mouse through xdotool.
#include "support/ChildProcess.h"
#include "support/ControlsKit.h"
#include "support/SkinFixtures.h"
#include "support/X11ApplicationFixture.h"
#include "support/X11TestKit.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TMenu.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/PngCodec.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Painting.h"
#include "platform/user/Screen.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/display/x11/X11Display.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sPanel.h"
#include "skin/windows/sSkinProvider.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using korvex::skin::TsSkinProvider;

namespace {

constexpr int StepTimeoutMs = 60000;   // generous for a loaded machine; conditions end the waits early

// Pumps the real loop until done() holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = StepTimeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        user::PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}


TsSkinProvider* ProviderOf(TForm* form) {
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* p = dynamic_cast<TsSkinProvider*>(form->Components(i))) return p;
    return nullptr;
}

TRect WindowRectOf(TForm* form) {
    user::RECT r {};
    user::GetWindowRect(form->WindowHandle(), &r);
    return r;
}

class SkinnedWindowsOnX11 : public e2e::X11ApplicationFixture, public ::testing::WithParamInterface<int> {
protected:
    SkinnedWindowsOnX11() : X11ApplicationFixture(800, 600) {}
    void WithApplication() override {
        Host = std::make_unique<skin::test::ManagerHost>();
        skin::test::LoadFolderSkin(
            *Host->NewManager(), std::string(KORVEX_SOURCE_DIR) + "/skins", skin::ctltest::OurSkins[GetParam()]);
    }
    void BeforeDone() override { Host.reset(); }

    // A shown form of the style with a skin provider carrying these border icons.
    TForm* NewSkinnedForm(TFormBorderStyle style, skin::TsBorderIcons icons, const std::string& caption, int left,
        int top, int clientWidth, int clientHeight) {
        TForm* form = Create<TForm>(Application);
        form->SetBorderStyle(style);
        form->SetCaption(caption);
        Create<TsSkinProvider>(form)->SetBorderIcons(icons);
        form->SetBounds(left, top, clientWidth + 20, clientHeight + 40);
        form->SetClientWidth(clientWidth);
        form->SetClientHeight(clientHeight);
        form->Show();
        return form;
    }

    // Runs an xdotool command chain in the background while the loop runs (the move and size loops are
    // modal: they pump inside the button press), until it ends and the loop has caught up.
    void Drive(const std::vector<std::string>& arguments) {
        e2e::ChildProcess xdotool;
        std::vector<std::string> argv {"xdotool"};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        ASSERT_TRUE(xdotool.Start(argv, {{"DISPLAY", Server.Name()}}));
        int status = -1;
        ASSERT_TRUE(PumpUntil([&] { return xdotool.Ended(&status); }));
        ASSERT_EQ(status, 0);
        CatchUp();
    }
    // Waits for the loop to catch up with the server: a round trip brings in every event the server made
    // before it, and the loop handles them and what they cause until nothing is left.
    void CatchUp() {
        user::FlushDisplay();
        std::unique_ptr<gdi::Bitmap> roundTrip(X11->CaptureScreen(Rect(0, 0, 1, 1)));
        EXPECT_TRUE(PumpUntil([] { return user::PumpMessages() == 0; }));
        user::FlushDisplay();
    }
    void ClickAt(TPoint p) {
        Drive({"mousemove", std::to_string(p.x), std::to_string(p.y), "sleep", "0.05", "click", "1"});
    }
    // A click on a caption button of a form, which must be the window under it.
    void ClickButton(TForm* form, skin::TsCaptionButtonSlot slot) {
        const TPoint p = ButtonCentre(form, slot);
        ASSERT_EQ(user::WindowFromPoint(p), form->WindowHandle());
        ClickAt(p);
    }
    void DragBy(TPoint from, int dx, int dy) {
        const std::string x = std::to_string(from.x), y = std::to_string(from.y);
        Drive({"mousemove", x, y, "sleep", "0.05", "mousedown", "1", "sleep", "0.05", "mousemove",
            std::to_string(from.x + dx / 2), std::to_string(from.y + dy / 2), "sleep", "0.05", "mousemove",
            std::to_string(from.x + dx), std::to_string(from.y + dy), "sleep", "0.05", "mouseup", "1"});
    }

    // The X window of a caption, and its position and size as the server knows them.
    unsigned long XWindowOf(const std::string& caption, bool onlyVisible = false) {
        std::vector<std::string> argv {"xdotool", "search"};
        if (onlyVisible) argv.push_back("--onlyvisible");
        argv.insert(argv.end(), {"--name", "^" + caption + "$"});
        std::string out;
        if (e2e::RunProcess(argv, {{"DISPLAY", Server.Name()}}, StepTimeoutMs, &out) != 0) return 0;
        return std::stoul(out);
    }
    TRect XGeometry(unsigned long window) {
        std::string out;
        EXPECT_EQ(e2e::RunProcess({"xdotool", "getwindowgeometry", "--shell", std::to_string(window)},
                      {{"DISPLAY", Server.Name()}}, StepTimeoutMs, &out),
            0);
        int x = 0, y = 0, w = 0, h = 0;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);) {
            const auto eq = line.find('=');
            if (eq == std::string::npos) continue;
            const std::string key = line.substr(0, eq);
            const int value = std::atoi(line.c_str() + eq + 1);
            if (key == "X") x = value;
            if (key == "Y") y = value;
            if (key == "WIDTH") w = value;
            if (key == "HEIGHT") h = value;
        }
        return Rect(x, y, x + w, y + h);
    }

    // A screen point at window coordinates of a form.
    static TPoint At(TForm* form, int x, int y) {
        const TRect r = WindowRectOf(form);
        return TPoint {r.left + x, r.top + y};
    }
    static TPoint ButtonCentre(TForm* form, skin::TsCaptionButtonSlot slot) {
        const TRect b = ProviderOf(form)->CaptionButton(slot).Rect;
        return At(form, (b.left + b.right) / 2, (b.top + b.bottom) / 2);
    }
    static int CaptionY(TForm* form) {
        TsSkinProvider* p = ProviderOf(form);
        return p->SysBorderHeight() + p->CaptionHeight() / 2;
    }
    user::LRESULT HitAt(TForm* form, TPoint screen) {
        return user::SendMessage(form->WindowHandle(), user::WM_NCHITTEST, 0, user::MAKELPARAM(screen.x, screen.y));
    }

    std::unique_ptr<gdi::Bitmap> Capture(const TRect& r) {
        CatchUp();
        return std::unique_ptr<gdi::Bitmap>(X11->CaptureScreen(r));
    }
    // What the screen shows of the window equals what a full repaint of it (frame and children) shows.
    void ExpectPaintedWhole(TForm* form, const char* when) {
        const TRect r = WindowRectOf(form);
        auto before = Capture(r);
        user::RedrawWindow(form->WindowHandle(), nullptr, nullptr,
            user::RDW_FRAME | user::RDW_INVALIDATE | user::RDW_ERASE | user::RDW_ALLCHILDREN | user::RDW_UPDATENOW);
        auto after = Capture(r);
        ASSERT_TRUE(before && after);
        EXPECT_EQ(e2e::Differences(*before, *after), 0) << when;
    }
    std::string PictureDir() const {
        std::filesystem::create_directories(KORVEX_PICTURE_DIR);
        return KORVEX_PICTURE_DIR;
    }

    std::unique_ptr<skin::test::ManagerHost> Host;
};

}

TEST_P(SkinnedWindowsOnX11, ShowMoveSizeMinimizeMaximizeAndCloseByMouse) {
    const std::string skinName = skin::ctltest::SkinShortName(GetParam());
    const std::string mainCaption = "KORVEX: farm monitor " + skinName;
    const std::string dialogCaption = "Options " + skinName;
    const std::string toolCaptionText = "Speed per core " + skinName;
    TForm* main = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, mainCaption, 20, 20, 320, 150);
    auto* menu = Create<TMainMenu>(main);
    for (const char* caption : {"&File", "&Options", "&Help"}) {
        auto* item = Create<TMenuItem>(menu);
        item->SetCaption(caption);
        menu->Items()->Add(item);
    }
    main->SetMenuComponent(menu);
    main->SetClientHeight(150);
    auto* panel = Create<skin::TsPanel>(main);
    panel->SetParent(main);
    panel->SetBounds(10, 10, 300, 100);
    panel->SetCaption("Node 0: 74%");
    auto* button = Create<skin::TsButton>(main);
    button->SetParent(main);
    button->SetBounds(225, 118, 85, 28);
    button->SetCaption("Refresh");
    TForm* dialog = NewSkinnedForm(bsDialog, {biSystemMenu, biHelp}, dialogCaption, 370, 20, 220, 90);
    auto* ok = Create<skin::TsButton>(dialog);
    ok->SetParent(dialog);
    ok->SetBounds(125, 52, 85, 28);
    ok->SetCaption("OK");
    TForm* tool = NewSkinnedForm(bsToolWindow, {biSystemMenu}, toolCaptionText, 370, 160, 220, 60);
    main->SetFocus();
    for (const std::string& caption : {mainCaption, dialogCaption, toolCaptionText})
        ASSERT_TRUE(PumpUntil([&] { return XWindowOf(caption, true) != 0; })) << caption;
    CatchUp();
    for (TForm* f : {main, dialog, tool})
        ASSERT_TRUE(ProviderOf(f)->SkinData()->Skinned());

    auto sheet = Capture(Rect(10, 10, 610, 250));
    ASSERT_TRUE(sheet);
    const std::string file = PictureDir() + "/X11Forms_" + skinName + ".png";
    EXPECT_TRUE(e2e::WriteScreenshot(*sheet, file));
    ExpectPaintedWhole(main, "shown");

    const unsigned long xMain = XWindowOf(mainCaption);
    ASSERT_NE(xMain, 0u);
    EXPECT_EQ(XGeometry(xMain), WindowRectOf(main));

    // The caption dragged: the window follows the drag.
    const TRect start = WindowRectOf(main);
    const TPoint caption = At(main, start.Width() / 3, CaptionY(main));
    ASSERT_EQ(user::WindowFromPoint(caption), main->WindowHandle());
    ASSERT_EQ(HitAt(main, caption), user::HTCAPTION);
    DragBy(caption, 40, 30);
    TRect moved = start;
    gdi::OffsetRect(&moved, 40, 30);
    EXPECT_EQ(WindowRectOf(main), moved);
    EXPECT_EQ(TPoint(main->Left(), main->Top()), TPoint(moved.left, moved.top));
    EXPECT_EQ(XGeometry(xMain), moved);

    // The bottom-right corner dragged: the window grows by the drag and its frame is repainted whole.
    const TPoint corner = At(main, moved.Width() - 2, moved.Height() - 2);
    ASSERT_EQ(user::WindowFromPoint(corner), main->WindowHandle());
    ASSERT_EQ(HitAt(main, corner), user::HTBOTTOMRIGHT);
    DragBy(corner, 60, 40);
    const TRect sized = Rect(moved.left, moved.top, moved.right + 60, moved.bottom + 40);
    EXPECT_EQ(WindowRectOf(main), sized);
    EXPECT_EQ(TSize(main->Width(), main->Height()), TSize(sized.Width(), sized.Height()));
    EXPECT_EQ(XGeometry(xMain), sized);
    ExpectPaintedWhole(main, "sized");
    auto grown = Capture(sized);
    ASSERT_TRUE(grown);
    EXPECT_TRUE(gdi::WritePngFile(*grown, PictureDir() + "/X11Sized_" + skinName + ".png"));

    // Minimize: the window is unmapped (no window manager keeps an icon); the program's restore brings it back.
    ClickButton(main, skin::cbMinimize);
    EXPECT_TRUE(user::IsIconic(main->WindowHandle()));
    EXPECT_EQ(XWindowOf(mainCaption, true), 0u);
    user::ShowWindow(main->WindowHandle(), user::SW_RESTORE);
    ASSERT_TRUE(PumpUntil([&] { return XWindowOf(mainCaption, true) != 0; }));
    EXPECT_FALSE(user::IsIconic(main->WindowHandle()));
    EXPECT_EQ(WindowRectOf(main), sized);
    EXPECT_EQ(XGeometry(xMain), sized);

    // Maximize covers the work area; the same button restores.
    ClickButton(main, skin::cbMaximize);
    ASSERT_TRUE(user::IsZoomed(main->WindowHandle()));
    const TRect work = user::GetWorkArea();
    const TRect zoomed = WindowRectOf(main);
    TRect covered {};
    gdi::IntersectRect(&covered, &zoomed, &work);
    EXPECT_EQ(covered, work) << "window " << zoomed.left << "," << zoomed.top << "," << zoomed.right << ","
                             << zoomed.bottom;
    EXPECT_EQ(XGeometry(xMain), zoomed);
    ExpectPaintedWhole(main, "maximized");
    ClickButton(main, skin::cbMaximize);
    EXPECT_FALSE(user::IsZoomed(main->WindowHandle()));
    EXPECT_EQ(WindowRectOf(main), sized);
    EXPECT_EQ(XGeometry(xMain), sized);

    // The tool window's narrow caption moves it too.
    const TRect toolStart = WindowRectOf(tool);
    const TPoint toolCaption = At(tool, toolStart.Width() * 2 / 3, CaptionY(tool));   // clear of the main window
    ASSERT_EQ(user::WindowFromPoint(toolCaption), tool->WindowHandle());
    ASSERT_EQ(HitAt(tool, toolCaption), user::HTCAPTION);
    DragBy(toolCaption, -30, 50);
    TRect toolMoved = toolStart;
    gdi::OffsetRect(&toolMoved, -30, 50);
    EXPECT_EQ(WindowRectOf(tool), toolMoved);
    EXPECT_EQ(XGeometry(XWindowOf(toolCaptionText)), toolMoved);

    // Close on the main and the dialog window: each goes; the tool window stays shown and answers.
    ClickButton(main, skin::cbClose);
    EXPECT_FALSE(main->Visible());
    EXPECT_EQ(XWindowOf(mainCaption, true), 0u);
    ClickButton(dialog, skin::cbClose);
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(XWindowOf(dialogCaption, true), 0u);
    EXPECT_NE(XWindowOf(toolCaptionText, true), 0u);
    EXPECT_EQ(HitAt(tool, At(tool, toolMoved.Width() / 3, CaptionY(tool))), user::HTCAPTION);
    ExpectPaintedWhole(tool, "after the others closed");

    // Nothing happening: once what the clicks left has been handled, the loop sleeps, and a whole second passes
    // without a message. A window that keeps asking for itself (a timer, a repaint loop) never gets there.
    auto quietSince = std::chrono::steady_clock::now();
    EXPECT_TRUE(PumpUntil(
        [&] {
            const auto now = std::chrono::steady_clock::now();
            if (user::PumpMessages() > 0) quietSince = now;
            return now - quietSince >= std::chrono::seconds(1);
        },
        60000))
        << "messages kept coming";
}

INSTANTIATE_TEST_SUITE_P(OurSkins, SkinnedWindowsOnX11, ::testing::Values(0, 1, 2, 3),
    [](const auto& info) { return skin::ctltest::SkinShortName(info.param); });
