// The provider on an MDI parent and its children: the client window painted from the parent's cache, a
// maximized child's buttons and commands on the parent's menu line, two children maximized and restored, and
// the parent's lock for a pending maximize released on every path.
#include "support/WindowsKit.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TMenu.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/windows/sMDIForm.h"
#include "skin/windows/sSkinMenus.h"

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class ProviderMdi : public FormsTest {
protected:
    void SetUp() override {
        InstallSkinableMenus();
        FormsTest::SetUp();
        Form->Hide();
        UseSkin(1);
        Application->CreateForm(Frame);
        Frame->SetFormStyle(fsMDIForm);
        Frame->SetCaption("Farm");
        Frame->SetBounds(40, 30, 520, 380);
        Create<TsSkinProvider>(Frame);
        auto* menu = Create<TMainMenu>(Frame);
        for (const char* caption : {"&File", "&Window"}) {
            auto* item = Create<TMenuItem>(menu);
            item->SetCaption(caption);
            menu->Items()->Add(item);
        }
        Frame->SetMenuComponent(menu);
        Menu = menu;
        Frame->Show();
        Pump();
        One = NewChild("One");
        Two = NewChild("Two");
        Pump();
    }
    void TearDown() override {
        // Free, not delete: a form frees its components (the providers) before its own parts go.
        for (TForm* form : {Three, Two, One, Frame})
            if (form != nullptr) form->Free();
        Pump();
        FormsTest::TearDown();
    }
    TForm* NewChild(const std::string& caption) {
        TForm* child = Create<TForm>(Application);
        child->SetFormStyle(fsMDIChild);
        child->SetCaption(caption);
        Create<TsSkinProvider>(child);
        child->SetBounds(10, 10, 220, 150);
        child->HandleNeeded();
        return child;
    }
    void Maximize(TForm* child) {
        user::SendMessage(child->WindowHandle(), user::WM_SYSCOMMAND, user::SC_MAXIMIZE, 0);
        Pump();
    }
    void Restore(TForm* child) {
        user::SendMessage(child->WindowHandle(), user::WM_SYSCOMMAND, user::SC_RESTORE, 0);
        Pump();
    }
    TsSkinProvider* Parent() const { return ProviderOf(Frame); }
    bool Zoomed(TForm* child) const { return user::IsZoomed(child->WindowHandle()); }
    bool IconItemFirst() const {
        TMenuItem* item = Parent()->MDIForm()->MDIIconItem();
        return Menu->Items()->Count() > 0 && Menu->Items()->Items(0) == item;
    }
    // Whether another window could lock drawing now (one lock at a time), leaving it unlocked.
    static bool DrawingUnlocked() {
        if (!user::LockWindowUpdate(user::GetDesktopWindow())) return false;
        user::LockWindowUpdate(nullptr);
        return true;
    }
    void Click(TForm* form, const TRect& r) {
        const TPoint p = CentreOf(form, r);
        Display->Click(p.x, p.y);
        Pump();
    }

    TForm* Frame = nullptr;
    TMainMenu* Menu = nullptr;
    TForm* One = nullptr;
    TForm* Two = nullptr;
    TForm* Three = nullptr;
};

TEST_F(ProviderMdi, TheParentsClientWindowIsSubclassedOnceAndPaintedFromTheCache) {
    ASSERT_EQ(MDISkinProvider(), Parent());
    TsMDIForm* mdi = Parent()->MDIForm();
    ASSERT_NE(mdi, nullptr);
    EXPECT_TRUE(mdi->Connected());
    const user::HWND client = Frame->ClientHandle();
    const user::LONG_PTR proc = user::GetWindowLongPtr(client, user::GWL_WNDPROC);
    mdi->ConnectToClient();   // answered by the installed procedure: no second subclassing
    EXPECT_EQ(user::GetWindowLongPtr(client, user::GWL_WNDPROC), proc);
    EXPECT_EQ(user::SendMessage(client, user::WM_ERASEBKGND, 0, 0), 1);
    // A point of the client's background beside the children shows the cache's MDI area.
    const TRect area = mdi->MDIArea();
    ASSERT_GT(area.Width(), 0);
    const int x = area.right - 12;
    const int y = area.bottom - 12;
    EXPECT_EQ(WindowPixel(Frame, x, y), Parent()->FormCache()->Canvas()->Pixels(x, y));
}

TEST_F(ProviderMdi, AMaximizedChildsButtonsAndCommandsSitOnTheParentsMenuLine) {
    EXPECT_FALSE(Parent()->MDIButtonsNeeded());
    Maximize(Two);
    ASSERT_TRUE(Zoomed(Two));
    EXPECT_TRUE(Parent()->MDIButtonsNeeded());
    EXPECT_TRUE(IconItemFirst());
    const int menuTop = Parent()->CaptionHeight() + Parent()->SysBorderHeight();
    const struct {
        TsCaptionButtonSlot Slot;
        int Code;
    } buttons[] = {{cbMdiMinimize, htMdiMinimize}, {cbMdiMaximize, htMdiRestore}, {cbMdiClose, htMdiClose}};
    int left = 0;
    for (const auto& b : buttons) {
        const TRect r = Parent()->CaptionButton(b.Slot).Rect;
        EXPECT_GE(r.top, menuTop);
        EXPECT_LE(r.bottom, Parent()->HeaderHeight());
        EXPECT_GT(r.left, left);   // minimize, restore, close from left to right
        left = r.left;
        EXPECT_EQ(HitAt(Frame, CentreOf(Frame, r)), b.Code);
        EXPECT_EQ(Parent()->CaptionButton(b.Slot).State, 1);   // hot
    }
    Restore(Two);
    EXPECT_FALSE(Zoomed(Two));
    EXPECT_FALSE(Parent()->MDIButtonsNeeded());
    EXPECT_FALSE(IconItemFirst());
    EXPECT_EQ(Parent()->CaptionButton(cbMdiClose).Rect.Width(), 0);
}

// The MDI chrome alone: the roles, the three buttons side by side one pixel apart at the menu line's
// right end, its hit test (-1 without the buttons, 0 off them) and the sibling a maximized child hides.
TEST_F(ProviderMdi, TheChromeLaysTheChildsButtonsAtTheMenuLinesRightEnd) {
    TsMdiChrome& chrome = Parent()->MdiChrome();
    EXPECT_TRUE(chrome.IsParent());
    EXPECT_FALSE(chrome.IsChild());
    EXPECT_TRUE(ProviderOf(One)->MdiChrome().IsChild());
    EXPECT_EQ(chrome.HitTest(TPoint {0, 0}), -1);
    EXPECT_FALSE(ProviderOf(One)->MdiChrome().HiddenByMaximizedSibling());
    Maximize(Two);
    ASSERT_TRUE(chrome.ButtonsNeeded());
    chrome.PlaceButtons();
    const TRect minimize = Parent()->CaptionButton(cbMdiMinimize).Rect;
    const TRect restore = Parent()->CaptionButton(cbMdiMaximize).Rect;
    const TRect close = Parent()->CaptionButton(cbMdiClose).Rect;
    EXPECT_EQ(close.right, Parent()->FormWidth() - Parent()->SysBorderWidth() - 1);
    EXPECT_EQ(restore.right + 1, close.left);
    EXPECT_EQ(minimize.right + 1, restore.left);
    EXPECT_EQ(minimize.top, close.top);
    EXPECT_EQ(chrome.HitTest(TPoint {1, 1}), 0);
    EXPECT_EQ(chrome.HitTest(TPoint {close.left, close.top}), htMdiClose);
    EXPECT_TRUE(ProviderOf(One)->MdiChrome().HiddenByMaximizedSibling());
    EXPECT_FALSE(ProviderOf(Two)->MdiChrome().HiddenByMaximizedSibling());
    Restore(Two);
}

TEST_F(ProviderMdi, TheMenuLineButtonsCommandTheActiveChild) {
    WatchSysCommands(Two, {user::SC_CLOSE});
    Maximize(Two);
    Click(Frame, Parent()->CaptionButton(cbMdiMaximize).Rect);
    EXPECT_FALSE(Zoomed(Two));
    EXPECT_FALSE(IconItemFirst());
    Maximize(Two);
    Click(Frame, Parent()->CaptionButton(cbMdiMinimize).Rect);
    EXPECT_TRUE(user::IsIconic(Two->WindowHandle()));
    Maximize(Two);
    SysCommands.clear();
    Click(Frame, Parent()->CaptionButton(cbMdiClose).Rect);
    EXPECT_EQ(SysCommands, std::vector<WPARAM> {user::SC_CLOSE});
}

TEST_F(ProviderMdi, TwoChildrenMaximizedInTurnAndRestored) {
    Maximize(One);
    One->SetFocus();
    Two->SetFocus();   // the newly active child takes the maximized place
    Pump();
    EXPECT_EQ(Frame->ActiveMDIChild(), Two);
    EXPECT_TRUE(Zoomed(Two));
    EXPECT_FALSE(Zoomed(One));
    EXPECT_TRUE(IconItemFirst());
    EXPECT_EQ(Menu->Items()->Count(), 3);   // the command item once
    Restore(Two);
    EXPECT_FALSE(Zoomed(One));
    EXPECT_FALSE(Zoomed(Two));
    EXPECT_FALSE(Parent()->MDIButtonsNeeded());
    EXPECT_EQ(Menu->Items()->Count(), 2);
}

// A child created while the active one is maximized: maximized at its first paint, the parent unlocked.
TEST_F(ProviderMdi, APendingMaximizeIsDoneAtTheFirstPaintAndNeverLeavesTheParentLocked) {
    Maximize(Two);
    Three = NewChild("Three");
    EXPECT_FALSE(MaximizeLockHeld());   // released when the child was shown
    EXPECT_TRUE(DrawingUnlocked());
    Pump();
    EXPECT_FALSE(MaximizePending());
    EXPECT_TRUE(Zoomed(Three));
    EXPECT_TRUE(DrawingUnlocked());
}

TEST_F(ProviderMdi, AChildDestroyedBeforeItWasShownReleasesTheLock) {
    Maximize(Two);
    Three = Create<TForm>(Application);
    Three->SetFormStyle(fsMDIChild);
    Create<TsSkinProvider>(Three);
    // A hook above the provider keeps the showing from it: the lock outlives the creation.
    TWndMethod old = Three->WindowProc;
    Three->WindowProc = [old](TMessage& m) {
        if (m.Msg == user::WM_SHOWWINDOW || m.Msg == user::WM_PAINT) {
            if (m.Msg == user::WM_PAINT) user::ValidateRect(user::HWND(nullptr), nullptr);
            return;
        }
        old(m);
    };
    Three->HandleNeeded();
    ASSERT_TRUE(MaximizeLockHeld());
    EXPECT_FALSE(DrawingUnlocked());
    Three->Free();
    Three = nullptr;
    EXPECT_FALSE(MaximizeLockHeld());
    EXPECT_FALSE(MaximizePending());
    EXPECT_TRUE(DrawingUnlocked());
    Pump();
}

// The parent with two restored children, then with the second maximized, side by side; MDI_<skin>.png.
class MdiPicture : public ProviderMdi, public ::testing::WithParamInterface<int> { };

TEST_P(MdiPicture, RestoredAndMaximizedChildren) {
    UseSkin(GetParam());
    Frame->SetBounds(10, 10, 400, 300);
    One->SetBounds(8, 8, 200, 130);
    Two->SetBounds(90, 70, 200, 130);
    Two->SetFocus();
    Pump();
    const gdi::RECT left {10, 10, 410, 310};
    const std::string name = WindowsPictureDir() + "/MDI_" + ctltest::SkinShortName(GetParam());
    ASSERT_TRUE(Display->WriteScreenshotPng(name + "_restored.png", &left));
    Maximize(Two);
    const TPoint hot = CentreOf(Frame, Parent()->CaptionButton(cbMdiClose).Rect);
    Display->MoveMouse(hot.x, hot.y);
    Pump();
    EXPECT_EQ(Parent()->CaptionButton(cbMdiClose).State, 1);
    ASSERT_TRUE(Display->WriteScreenshotPng(name + "_maximized.png", &left));
}

INSTANTIATE_TEST_SUITE_P(TwoSkins, MdiPicture, ::testing::Values(1, 3),
    [](const auto& info) { return ctltest::SkinShortName(info.param); });

}
}
