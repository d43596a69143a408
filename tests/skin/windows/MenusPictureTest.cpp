// Pictures of skinned menus in each of our skins: a form's menu line with its "File" menu opened from the
// keyboard (checks, radio items, a default item, shortcuts, a disabled item, a divider, an item with its own
// bitmap, the extra line);
// written to Menus_<skin>.png.
#include "support/WindowsKit.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TMenu.h"
#include "platform/user/Menus.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sSkinMenus.h"

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class MenusPicture : public FormsTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        InstallSkinableMenus();
        FormsTest::SetUp();
    }
    void TearDown() override {
        user::SetMenuLoopIdleHook({});
        FormsTest::TearDown();
    }
    TMenuItem* AddItem(TMenu* menu, TMenuItem* parent, const std::string& caption, TShortCut shortCut = scNone) {
        auto* item = Create<TMenuItem>(menu);
        item->SetCaption(caption);
        item->SetShortCut(shortCut);
        parent->Add(item);
        return item;
    }
};

TEST_P(MenusPicture, AMenuLineAndItsOpenMenu) {
    const int which = GetParam();
    UseSkin(which);
    Form->Hide();
    Manager->MenuSupport()->SetUseExtraLine(true);
    Manager->MenuSupport()->SetIcoLineSkin("ICOLINE");
    Manager->OnGetMenuExtraLineData = [](TMenuItem*, std::string&, std::string& caption, TBitmap*&, bool&) {
        caption = "KORVEX 2.6";
    };
    TForm* main = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 360, 220, 20, 20);
    main->SetCaption("KORVEX: farm monitor");
    auto* menu = Create<TMainMenu>(main);
    TMenuItem* file = AddItem(menu, menu->Items(), "&File");
    AddItem(menu, menu->Items(), "&Options");
    AddItem(menu, menu->Items(), "&Help");
    AddItem(menu, file, "&Refresh data", ShortCut(user::VK_F5, {}))->SetDefault(true);
    AddItem(menu, file, "Show &log", ShortCut('L', TShiftState {ssCtrl}))->SetChecked(true);
    AddItem(menu, file, "-");
    TMenuItem* fast = AddItem(menu, file, "Every minute");
    TMenuItem* slow = AddItem(menu, file, "Every 5 minutes");
    for (TMenuItem* item : {fast, slow}) {
        item->SetRadioItem(true);
        item->SetGroupIndex(1);
    }
    slow->SetChecked(true);
    AddItem(menu, file, "Backup (no node)")->SetEnabled(false);
    AddItem(menu, file, "-");
    TMenuItem* exit = AddItem(menu, file, "E&xit", ShortCut('X', TShiftState {ssAlt}));
    {
        // The item's own picture: a red square in a dark frame.
        TBitmap glyph;
        glyph.SetPixelFormat(pf24bit);
        glyph.SetSize(16, 16);
        FillRectSolid(&glyph, TRect {0, 0, 16, 16}, TColor(0x202060));
        FillRectSolid(&glyph, TRect {2, 2, 14, 14}, TColor(0x3030E0));
        exit->SetBitmap(&glyph);
    }
    main->SetMenuComponent(menu);
    main->SetClientHeight(220);
    auto* menus = dynamic_cast<TsSkinableMenus*>(Manager->SkinableMenus());
    ASSERT_NE(menus, nullptr);
    menus->UpdateMenus();
    EXPECT_EQ(menus->Active(), which >= 0);
    Manager->RepaintForms();
    main->SetFocus();
    Pump();

    bool open = false;
    auto queue = std::make_shared<int>(0);
    user::SetMenuLoopIdleHook([&, queue] {
        if ((*queue)++ == 0) {   // the menu is open: move onto "Show log"
            const user::HWND popup = user::GetOpenMenuWindow(0);
            open = popup != nullptr;
            user::RECT r {};
            user::GetMenuItemRect(nullptr, file->Handle(), 1, &r);
            Display->MoveMouse((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            return true;
        }
        if (*queue == 2) {
            const gdi::RECT r {10, 10, 410, 330};
            EXPECT_TRUE(Display->WriteScreenshotPng(
                WindowsPictureDir() + "/Menus_" + ctltest::SkinShortName(which) + ".png", &r));
            return true;
        }
        return false;
    });
    EXPECT_TRUE(user::TrackMenuBarKey(main->WindowHandle(), 'f'));
    Pump();
    EXPECT_TRUE(open);
}

INSTANTIATE_TEST_SUITE_P(FourSkinsAndNone, MenusPicture, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return ctltest::SkinShortName(info.param); });

}
}
