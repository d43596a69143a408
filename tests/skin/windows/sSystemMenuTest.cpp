// Tests for the skinned window menu: its items per window state, its skin list (names with "&" too), choosing
// a skin from it, and the list painted by the skin.
#include "support/WindowsKit.h"
#include "tests/platform/user/support/MenuLoopSteps.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TColor.h"
#include "platform/user/Menus.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sSkinMenus.h"
#include "skin/windows/sSystemMenu.h"

#include <filesystem>
#include <unistd.h>

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;
namespace fs = std::filesystem;

class SystemMenu : public FormsTest {
protected:
    void TearDown() override {
        user::SetMenuLoopIdleHook({});
        FormsTest::TearDown();
        if (!SkinRoot.empty()) fs::remove_all(SkinRoot);
    }
    static TsSystemMenu* MenuOf(TForm* form) { return ProviderOf(form)->SystemMenu(); }
    static std::vector<std::string> Shown(TsSystemMenu* m) {   // names of the visible items, enabled ones with "+"
        std::vector<std::string> out;
        for (TMenuItem* item : {m->ItemRestore, m->ItemMove, m->ItemSize, m->ItemMinimize, m->ItemMaximize, m->ItemClose})
            if (item->Visible()) out.push_back((item->Enabled() ? "+" : "-") + item->Name().substr(4));
        return out;
    }
    // A skin folder with two of our skins, one of them under a name with "&" in it.
    void UseSkinFolderWithAmpersand() {
        SkinRoot = fs::temp_directory_path() / ("korvex-sysmenu-" + std::to_string(::getpid()));
        fs::create_directories(SkinRoot);
        const fs::path ours = fs::path(KORVEX_SOURCE_DIR) / "skins";
        fs::copy(ours / "MacOS (internal)", SkinRoot / "MacOS (internal)", fs::copy_options::recursive);
        fs::copy(ours / "NextStyle (internal)", SkinRoot / "Rock&Roll", fs::copy_options::recursive);
        Manager->SetSkinDirectory(SkinRoot.string());
        Manager->SetSkinName("MacOS (internal)");
        Manager->SetActive(true);
        Pump();
    }
    // Opens the menu below the title icon and runs choose while it is open (Escape when none).
    void OpenAndChoose(TForm* form, std::function<void()> choose = {}) {
        Opened = false;
        user::SetMenuLoopIdleHook([this, choose, turns = 0]() mutable {
            if (++turns > 1) return false;
            Opened = user::GetOpenMenuWindow(0) != nullptr;
            if (choose)
                choose();
            else
                Display->Press(user::VK_ESCAPE);
            return true;
        });
        ProviderOf(form)->DropSysMenuAtIcon();
        Pump();
        user::SetMenuLoopIdleHook({});
    }
    fs::path SkinRoot;
    bool Opened = false;
};

TEST_F(SystemMenu, ItemsAreShownAndEnabledByTheFormsStyleAndState) {
    UseSkin(0);
    TForm* dialog = NewSkinnedForm(bsDialog, {biSystemMenu, biMinimize, biMaximize});
    EXPECT_EQ(Shown(MenuOf(dialog)), (std::vector<std::string> {"+Move", "+Close"}));
    TForm* noMax = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize});
    EXPECT_EQ(Shown(MenuOf(noMax)),
        (std::vector<std::string> {"-Restore", "+Move", "+Size", "+Minimize", "-Maximize", "+Close"}));
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    // A command sent to a form that is no MDI child leaves the items as they are until the menu opens.
    user::SendMessage(form->WindowHandle(), user::WM_SYSCOMMAND, user::SC_MAXIMIZE, 0);
    Pump();
    OpenAndChoose(form);
    EXPECT_EQ(Shown(MenuOf(form)),
        (std::vector<std::string> {"+Restore", "-Move", "+Size", "+Minimize", "-Maximize", "+Close"}));
    user::SendMessage(form->WindowHandle(), user::WM_SYSCOMMAND, user::SC_MINIMIZE, 0);
    Pump();
    OpenAndChoose(form);
    EXPECT_EQ(Shown(MenuOf(form)),
        (std::vector<std::string> {"+Restore", "+Move", "-Size", "-Minimize", "+Maximize", "+Close"}));
    TForm* single = NewSkinnedForm(bsSingle, {biSystemMenu});
    EXPECT_EQ(Shown(MenuOf(single)), (std::vector<std::string> {"-Restore", "+Move", "-Size", "+Close"}));
}

// Each window item sends its command to the form; Minimize on the main form minimizes the application instead.
TEST_F(SystemMenu, EachItemSendsItsCommandAndTheMainFormsMinimizeTheApplications) {
    UseSkin(0);
    ASSERT_EQ(Application->MainForm(), nullptr);
    TForm* main = nullptr;
    Application->CreateForm(main);   // the main form
    Create<TsSkinProvider>(main)->SetBorderIcons({biSystemMenu, biMinimize, biMaximize});
    main->Show();
    Pump();
    ASSERT_EQ(Application->MainForm(), main);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    const std::vector<WPARAM> all {user::SC_RESTORE, user::SC_MOVE, user::SC_SIZE, user::SC_MINIMIZE,
        user::SC_MAXIMIZE, user::SC_CLOSE};
    WatchSysCommands(form, all);   // recorded, not carried out
    TsSystemMenu* menu = MenuOf(form);
    for (TMenuItem* item : {menu->ItemMove, menu->ItemSize, menu->ItemMinimize, menu->ItemClose})
        item->Click();
    form->SetWindowState(wsMaximized);
    Pump();
    menu->UpdateItems();
    menu->ItemRestore->Click();
    Pump();
    EXPECT_EQ(SysCommands, (std::vector<WPARAM> {user::SC_MOVE, user::SC_SIZE, user::SC_MINIMIZE, user::SC_CLOSE,
                               user::SC_RESTORE}));

    SysCommands.clear();
    WatchSysCommands(main, all);
    MenuOf(main)->ItemMinimize->Click();
    Pump();
    EXPECT_TRUE(SysCommands.empty());
    EXPECT_TRUE(user::IsIconic(Application->Handle()));
    Application->Restore();
    Pump();
    main->Free();
    Pump();
}

// A state set in code (no window command, no activation) shows in the menu when it opens.
TEST_F(SystemMenu, TheMenuOpensWithTheStateTheWindowHasNow) {
    UseSkin(0);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    form->SetWindowState(wsMaximized);
    Pump();
    ASSERT_TRUE(user::IsZoomed(form->WindowHandle()));
    std::vector<std::string> shown;
    OpenAndChoose(form, [&] {
        shown = Shown(MenuOf(form));
        Display->Press(user::VK_ESCAPE);
    });
    EXPECT_TRUE(Opened);
    EXPECT_EQ(shown, (std::vector<std::string> {"+Restore", "-Move", "+Size", "+Minimize", "-Maximize", "+Close"}));
}

// An MDI child's Maximize is the window command alone: the child is not maximized before the command comes.
TEST_F(SystemMenu, AnMdiChildsMaximizeIsTheCommandAlone) {
    UseSkin(1);
    Form->Hide();
    TForm* frame = ShownMdiFrame(520, 380);
    TForm* child = Create<TForm>(Application);
    child->SetFormStyle(fsMDIChild);
    Create<TsSkinProvider>(child);
    child->SetBounds(10, 10, 220, 150);
    child->HandleNeeded();
    Pump();
    std::vector<bool> zoomedAtCommand;
    const TWndMethod old = child->WindowProc;
    child->WindowProc = [&, old](TMessage& m) {
        if (m.Msg == user::WM_SYSCOMMAND && (m.WParam & 0xFFF0) == user::SC_MAXIMIZE)
            zoomedAtCommand.push_back(user::IsZoomed(child->WindowHandle()));
        old(m);
    };
    MenuOf(child)->ItemMaximize->Click();
    Pump();
    EXPECT_EQ(zoomedAtCommand, std::vector<bool> {false});
    EXPECT_TRUE(user::IsZoomed(child->WindowHandle()));
    child->WindowProc = old;
    child->Free();
    frame->Free();
    Pump();
}

TEST_F(SystemMenu, TheSkinListIsBuiltOnceAtEachOpeningWithTheCurrentSkinChecked) {
    UseSkinFolderWithAmpersand();
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSystemMenu* menu = MenuOf(form);
    for (int i = 0; i < 2; ++i) {
        OpenAndChoose(form);
        EXPECT_TRUE(Opened);
    }
    OpenAndChoose(form, [&] {   // the skin list opened, for the picture
        Display->Press(user::VK_RIGHT);
        const gdi::RECT area {form->Left(), form->Top(), form->Left() + 420, form->Top() + 260};
        Display->WriteScreenshotPng(WindowsPictureDir() + "/SystemMenu.png", &area);
        Display->Press(user::VK_ESCAPE);
        Display->Press(user::VK_ESCAPE);
    });
    ASSERT_GE(menu->Items()->Count(), 2);
    TMenuItem* entry = menu->Items()->Items(0);
    EXPECT_EQ(entry->Name(), "SkinSelectItem");
    EXPECT_EQ(entry->Caption(), "Available skins");
    EXPECT_TRUE(menu->Items()->Items(1)->IsLine());
    EXPECT_EQ(menu->Items()->Items(2), menu->ItemRestore);   // one entry and one line above the commands
    ASSERT_EQ(entry->Count(), 2);
    EXPECT_EQ(entry->Items(0)->Caption(), "MacOS (internal)");
    EXPECT_TRUE(entry->Items(0)->Checked());
    EXPECT_EQ(entry->Items(1)->Caption(), "Rock&&Roll");   // shown as it is, not with an underlined R
    EXPECT_EQ(menu->SkinNameOf(entry->Items(1)), "Rock&Roll");
    EXPECT_FALSE(entry->Items(1)->Checked());
}

TEST_F(SystemMenu, WithoutMakeSkinMenuThereIsNoSkinList) {
    UseSkinFolderWithAmpersand();
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    ProviderOf(form)->SetMakeSkinMenu(false);
    OpenAndChoose(form);
    EXPECT_TRUE(Opened);
    EXPECT_EQ(MenuOf(form)->Items()->Items(0), MenuOf(form)->ItemRestore);
}

TEST_F(SystemMenu, ChoosingASkinWithAnAmpersandSkinsEveryOpenWindow) {
    UseSkinFolderWithAmpersand();
    TForm* first = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TForm* second = NewSkinnedForm(bsDialog, {biSystemMenu}, 200, 100, 400, 300);
    TsSystemMenu* menu = MenuOf(first);
    OpenAndChoose(first);
    TMenuItem* rock = menu->Items()->Items(0)->Items(1);
    rock->Click();
    Pump();
    EXPECT_EQ(Manager->SkinName(), "Rock&Roll");
    EXPECT_TRUE(Manager->Active());
    for (TForm* form : {first, second}) {
        EXPECT_TRUE(ProviderOf(form)->SkinData()->Skinned());
        EXPECT_EQ(form->Color(), Manager->GetGlobalColor());
    }
    OpenAndChoose(first);
    EXPECT_TRUE(menu->Items()->Items(0)->Items(1)->Checked());
}

TEST_F(SystemMenu, OpensFromTheIconAndARightClickOnTheCaption) {
    UseSkin(1);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSkinProvider* p = ProviderOf(form);
    const TPoint icon = CentreOf(form, p->IconRect());
    const TPoint caption = ScreenOf(form, p->FormWidth() / 2, p->CaptionHeight() / 2 + 2);
    for (const auto& open : std::vector<std::function<void()>> {
             [&] { Display->Click(icon.x, icon.y); },
             [&] { Display->Click(caption.x, caption.y, user::MouseButton::Right); },
         }) {
        Opened = false;
        Display->AdvanceTimeMs(1000);
        user::SetMenuLoopIdleHook([this, turns = 0]() mutable {
            if (++turns > 1) return false;
            Opened = user::GetOpenMenuWindow(0) != nullptr;
            Display->Press(user::VK_ESCAPE);
            return true;
        });
        open();
        Pump();
        EXPECT_TRUE(Opened);
    }
}

// With skinned popups the skin list is painted by the skin too: the entry shows the submenu arrow in the skin's
// hot text colour, and the current skin's item the skin's check mark, which the other items lack.
class SkinnedSystemMenu : public SystemMenu {
protected:
    void SetUp() override {
        InstallSkinableMenus();
        SystemMenu::SetUp();
    }
    std::vector<gdi::COLORREF> Block(int left, int top, int width, int height) {
        std::vector<gdi::COLORREF> out;
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x)
                out.push_back(Display->ScreenPixel(x, y));
        return out;
    }
    static user::RECT ItemRect(user::HMENU menu, int position) {
        user::RECT r {};
        EXPECT_TRUE(user::GetMenuItemRect(nullptr, menu, user::UINT(position), &r));
        return r;
    }
};

TEST_F(SkinnedSystemMenu, TheSkinListShowsTheArrowAndTheCurrentSkinsCheckMark) {
    UseSkin(2);   // its hot text is black, a plain menu's white
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSystemMenu* menu = MenuOf(form);
    std::vector<gdi::COLORREF> arrow;
    std::vector<std::vector<gdi::COLORREF>> marks;   // the check column of each skin item
    int current = -1;
    user::test::MenuLoopSteps({
        [this] { Display->Press(user::VK_DOWN); },   // "Available skins"
        [this] { Display->Press(user::VK_RIGHT); },   // its list, the first item selected
        [this] { Display->Press(user::VK_DOWN); },   // the second
        [&] {
            user::FlushDisplay();
            TMenuItem* entry = menu->Items()->Items(0);
            const user::RECT e = ItemRect(menu->Handle(), 0);
            const int base = e.right - user::GetSystemMetrics(user::SM_CXMENUCHECK) / 2 - 2;
            const int middle = (e.top + e.bottom) / 2;
            for (int dy = -3; dy <= 3; ++dy)
                arrow.push_back(Display->ScreenPixel(base, middle + dy));
            const int mark = Manager->GetMaskIndexExact("GLOBALINFO", "RADIOCHECKED");
            const int markWidth = Manager->GetMaskFrameSize(mark).cx;
            for (int i = 0; i < entry->Count(); ++i) {
                if (entry->Items(i)->Checked()) current = i;
                const user::RECT r = ItemRect(entry->Handle(), i);
                marks.push_back(Block(r.left, r.top, 3 + markWidth, r.bottom - r.top));
            }
            const gdi::RECT area {form->Left(), form->Top(), form->Left() + 420, form->Top() + 260};
            Display->WriteScreenshotPng(WindowsPictureDir() + "/SkinnedSystemMenu.png", &area);
            user::EndMenu();
        }});
    ProviderOf(form)->DropSysMenuAtIcon();
    Pump();
    const int menuItem = Manager->GetSkinIndex("MENUITEM");
    ASSERT_TRUE(Manager->IsValidSkinIndex(menuItem));
    const gdi::COLORREF hotText = ColorToColorRef(Manager->Sections[std::size_t(menuItem)].HotFontColor[1]);
    EXPECT_EQ(arrow, std::vector<gdi::COLORREF>(7, hotText));
    ASSERT_EQ(marks.size(), 4u);
    EXPECT_EQ(current, 2);   // our skins in name order
    EXPECT_NE(marks[2], marks[0]);
    EXPECT_EQ(marks[0], marks[3]);   // unselected, unchecked
    TMenuItem* entry = menu->Items()->Items(0);
    auto* menus = dynamic_cast<TsSkinableMenus*>(Manager->SkinableMenus());
    ASSERT_NE(menus, nullptr);
    EXPECT_TRUE(menus->IsOwnHandler(entry->OnAdvancedDrawItem));
    EXPECT_TRUE(menus->IsOwnHandler(entry->Items(current)->OnAdvancedDrawItem));
}

TEST(EscapeMenuAmpersands, DoublesEachAmpersand) {
    EXPECT_EQ(EscapeMenuAmpersands("Rock&Roll"), "Rock&&Roll");
    EXPECT_EQ(EscapeMenuAmpersands("&&x&"), "&&&&x&&");
    EXPECT_EQ(EscapeMenuAmpersands("plain"), "plain");
}

}
}
