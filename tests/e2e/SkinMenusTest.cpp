// A skinned popup menu on a private Xvfb server in each of our skins: the popup window is shaped or framed from
// the popup picture and its items are drawn from the skin; screenshots written for each skin.
#include "support/X11ApplicationFixture.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TMenu.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/PngCodec.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/Menus.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Screen.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/display/x11/X11Display.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sSkinMenus.h"
#include "skin/windows/sSkinProvider.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

using namespace korvex;
using namespace korvex::classes;

namespace {

class SkinMenusOnX11 : public e2e::X11ApplicationFixture {
protected:
    SkinMenusOnX11() : X11ApplicationFixture(640, 480) {}
    void BeforeApplication() override { skin::InstallSkinableMenus(); }
    void BeforeDone() override { user::SetMenuLoopIdleHook({}); }
};

TEST_F(SkinMenusOnX11, APopupMenuInEachSkinIsDrawnFromTheSkin) {
    auto* manager = new skin::TsSkinManager(Application);
    manager->SetSkinDirectory(std::string(KORVEX_SOURCE_DIR) + "/skins");
    auto* form = new TForm(Application);
    new skin::TsSkinProvider(form);
    form->SetBounds(40, 40, 360, 260);
    form->SetCaption("KORVEX");
    auto* popup = new TPopupMenu(form);
    for (const char* caption : {"&Refresh data", "Show &log", "-", "E&xit"}) {
        auto* item = new TMenuItem(popup);
        item->SetCaption(caption);
        popup->Items()->Add(item);
    }
    popup->Items()->Items(1)->SetChecked(true);
    popup->Items()->Items(0)->SetShortCut(ShortCut(user::VK_F5, {}));
    form->Show();

    for (const char* skinName : {"MacOS (internal)", "LongHorn (internal)", "NextStyle (internal)", "Office2003 (internal)"}) {
        manager->SetSkinName(skinName);
        manager->SetActive(true);
        auto* menus = dynamic_cast<skin::TsSkinableMenus*>(manager->SkinableMenus());
        ASSERT_NE(menus, nullptr);
        menus->SetActive(false);
        menus->UpdateMenus();
        ASSERT_TRUE(menus->Active()) << skinName;

        std::unique_ptr<gdi::Bitmap> shot;
        user::RECT where {};
        // The menu photographed once the server shows it painted (more than one colour in its window), each
        // turn after a round trip with the server; a server that never shows it fails the test below.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        user::SetMenuLoopIdleHook([&] {
            user::FlushDisplay();
            const user::HWND window = user::GetOpenMenuWindow(0);
            if (window != nullptr) {
                user::GetWindowRect(window, &where);
                std::unique_ptr<gdi::Bitmap> inner(X11->CaptureScreen(gdi::RECT {where.left, where.top, where.right, where.bottom}));
                bool painted = false;
                for (int y = 0; inner && !painted && y < inner->Height(); ++y)
                    for (int x = 0; !painted && x < inner->Width(); ++x)
                        painted = inner->PixelAt(x, y) != inner->PixelAt(0, 0);
                if (painted) {
                    shot.reset(X11->CaptureScreen(gdi::RECT {where.left - 10, where.top - 10, where.right + 10, where.bottom + 10}));
                    return false;
                }
            }
            if (std::chrono::steady_clock::now() >= giveUp) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            return true;
        });
        popup->Popup(100, 100);
        user::SetMenuLoopIdleHook({});
        ASSERT_TRUE(shot) << skinName;
        // Inside the first item, left of its text: the skin's picture, not the plain menu colour.
        const gdi::COLORREF inside = shot->PixelAt(10 + 12, 10 + 10);
        EXPECT_NE(inside, gdi::GetSysColor(gdi::COLOR_MENU)) << skinName;
        std::string file = testing::TempDir() + "skin-menu-" + std::string(skinName).substr(0, std::string(skinName).find(' ')) + ".png";
        if (const char* dir = std::getenv("KORVEX_SCREENSHOT_DIR")) file = std::string(dir) + "/skin-menu-" + std::string(skinName).substr(0, std::string(skinName).find(' ')) + ".png";
        EXPECT_TRUE(e2e::WriteScreenshot(*shot, file));
    }
}

}
