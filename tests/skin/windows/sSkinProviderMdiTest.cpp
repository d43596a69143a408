// The provider on an MDI parent and its children: the client window painted from the parent's cache, a
// maximized child's buttons and commands on the parent's menu line, two children maximized and restored, the
// parent's lock for a pending maximize released on every path, and the skinned bars that scroll the children.
#include "support/WindowsKit.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TImage.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TMenu.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/Mdi.h"
#include "platform/user/Menus.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowConstants.h"
#include "skin/controls/sPanel.h"
#include "skin/engine/sAppIcons.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sScrollBarGeometry.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sMDIForm.h"
#include "skin/windows/sSkinMenus.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

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
    // A third child made while Two is maximized; a hook above its provider keeps the showing from it, so the
    // maximize lock outlives its creation. Answers the child's window procedure below the hook.
    TWndMethod MakeThirdChildThatIsNeverShown() {
        Maximize(Two);
        Three = Create<TForm>(Application);
        Three->SetFormStyle(fsMDIChild);
        Create<TsSkinProvider>(Three);
        TWndMethod old = Three->WindowProc;
        Three->WindowProc = [old](TMessage& m) {
            if (m.Msg == user::WM_SHOWWINDOW || m.Msg == user::WM_PAINT) {
                if (m.Msg == user::WM_PAINT) user::ValidateRect(user::HWND(nullptr), nullptr);
                return;
            }
            old(m);
        };
        Three->HandleNeeded();
        return old;
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
    gdi::RECT ScreenRectOfWindow(const TRect& r) const {
        const TPoint origin = Parent()->FormLeftTop();
        return gdi::RECT {origin.x + r.left, origin.y + r.top, origin.x + r.right, origin.y + r.bottom};
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
    {   // the icon item is measured 8 wide
        TsSkinableMenus menus(Manager);
        TBitmap measuring;
        int w = 0;
        int h = 0;
        menus.MeasureTopItem(Parent()->MDIForm()->MDIIconItem(), measuring.Canvas(), w, h);
        EXPECT_EQ(w, 8);
    }
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

// A skin whose caption buttons sit in the form's section, not in GLOBALINFO: a maximized child's buttons on the
// parent's menu line are the parent's own buttons, though GLOBALINFO has small ones.
TEST_F(ProviderMdi, WithTheFormsOwnCaptionButtonsTheChildsButtonsAreTheParents) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("korvex-formbuttons-" + std::to_string(::getpid()));
    const auto removeRoot = base::ScopeExit([&root] { fs::remove_all(root); });
    const std::string name = ctltest::OurSkins[1];
    fs::create_directories(root);
    fs::copy(fs::path(KORVEX_SOURCE_DIR) / "skins" / name, root / name, fs::copy_options::recursive);
    std::ifstream in(root / name / "Options.dat");
    std::string text, line, moved;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("BICON", 0) == 0 && line.rfind("BICONNORM", 0) != 0)
            moved += line + "\n";   // out of GLOBALINFO
        else
            text += line + "\n";
    }
    in.close();
    text.replace(text.find("[FORM]\n"), 7, "[FORM]\n" + moved);
    std::ofstream(root / name / "Options.dat", std::ios::trunc) << text;
    Manager->SetSkinDirectory(root.string());
    Manager->SetSkinName(name);
    Pump();
    ASSERT_TRUE(Manager->Active());
    const TsSkinManager* sm = Manager;
    ASSERT_TRUE(sm->IsValidImgIndex(Parent()->CaptionButton(cbClose).MaskIndex));
    EXPECT_EQ(sm->Masks[std::size_t(Parent()->CaptionButton(cbClose).MaskIndex)].ClassName, "FORM");
    ASSERT_TRUE(sm->IsValidImgIndex(sm->GetMaskIndex(sm->GetSkinIndex("GLOBALINFO"), "GLOBALINFO", "SICONCLOSE")));
    EXPECT_EQ(Parent()->CaptionButton(cbMdiMinimize).MaskIndex, Parent()->CaptionButton(cbMinimize).MaskIndex);
    EXPECT_EQ(Parent()->CaptionButton(cbMdiMaximize).MaskIndex, Parent()->CaptionButton(cbMaximize).MaskIndex);
    EXPECT_EQ(Parent()->CaptionButton(cbMdiClose).MaskIndex, Parent()->CaptionButton(cbClose).MaskIndex);
    UseSkin(1);
}

// Left of the menu line a maximized child without an icon of its own shows the program's small icon.
TEST_F(ProviderMdi, AMaximizedChildWithoutIconShowsTheProgramsSmallIconOnTheMenuLine) {
    const TsAppIcons icons(SolidIcon(16, clRed), SolidIcon(32, clBlue));
    Maximize(Two);
    ASSERT_TRUE(Zoomed(Two));
    const int side = Parent()->MenuHeight() - 2;
    ASSERT_GT(side, 4);
    const int x = Parent()->SysBorderWidth() + 1, y = Parent()->CaptionHeight() + Parent()->SysBorderHeight() + 1;
    TCanvas* cache = Parent()->FormCache()->Canvas();
    EXPECT_EQ(cache->Pixels(x, y), clRed);
    EXPECT_EQ(cache->Pixels(x + side - 1, y + side - 1), clRed);
    EXPECT_NE(cache->Pixels(x + side, y + side / 2), clRed);   // side x side, no more
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

// Another form made while a new child waits for its maximize leaves the wait alone: the child is maximized at
// its first paint and the parent's drawing is unlocked then.
TEST_F(ProviderMdi, AnotherFormMadeMeanwhileLeavesThePendingMaximize) {
    Maximize(Two);
    Three = Create<TForm>(Application);
    Three->SetFormStyle(fsMDIChild);
    Create<TsSkinProvider>(Three);
    // The child's creation makes a plain form's window on the way (as a handler of its creation might).
    TForm* plain = Create<TForm>(Application);
    Create<TsSkinProvider>(plain);
    bool pendingAfter = false;
    TWndMethod old = Three->WindowProc;
    Three->WindowProc = [old, plain, &pendingAfter](TMessage& m) {
        old(m);
        if (m.Msg != user::WM_CREATE) return;
        plain->HandleNeeded();
        pendingAfter = MaximizePending();
    };
    Three->HandleNeeded();
    Three->WindowProc = old;
    EXPECT_TRUE(pendingAfter);
    Pump();
    EXPECT_TRUE(Zoomed(Three));
    EXPECT_FALSE(MaximizeLockHeld());
    EXPECT_TRUE(DrawingUnlocked());
    plain->Free();
}

// The active child's menu is merged into the frame's bar by group: the menu line draws the child's items in
// their place among the frame's, from the bar's own rectangles.
TEST_F(ProviderMdi, TheActiveChildsMenuItemsAreDrawnInTheirPlaceOnTheMenuLine) {
    Menu->Items()->Items(1)->SetGroupIndex(9);   // "&Window" after the child's items
    auto* own = Create<TMainMenu>(Two);
    auto* node = Create<TMenuItem>(own);
    node->SetCaption("&Node");
    node->SetGroupIndex(1);
    own->Items()->Add(node);
    auto* restart = Create<TMenuItem>(own);
    restart->SetCaption("&Restart");
    node->Add(restart);
    Two->SetMenuComponent(own);
    Maximize(Two);
    Pump();
    ASSERT_EQ(Frame->ActiveMDIChild(), Two);
    ASSERT_EQ(Menu->Merged(), own);
    TsSkinProvider* p = Parent();
    const TRect file = p->MenuItemRect(Menu->Items()->Items(IconItemFirst() ? 1 : 0));
    const TRect at = p->MenuItemRect(node);
    const TRect window = p->MenuItemRect(Menu->Items()->Items(IconItemFirst() ? 2 : 1));
    ASSERT_GT(at.Width(), 0);
    EXPECT_GE(at.left, file.right);
    EXPECT_LE(at.right, window.left);
    // The caption is written there in the menu line's picture.
    const gdi::RECT screen = ScreenRectOfWindow(at);
    EXPECT_GT(InkPixels(screen, Display->ScreenPixel(screen.left + 1, screen.top + 1)), 10);
    // Another child without a menu takes it off the bar again.
    Restore(Two);
    user::SendMessage(Frame->ClientHandle(), user::WM_MDIACTIVATE, user::WPARAM(One->WindowHandle()), 0);
    Pump();
    EXPECT_EQ(Menu->Merged(), nullptr);
    EXPECT_EQ(p->MenuItemRect(node).Width(), 0);
}

TEST_F(ProviderMdi, AChildDestroyedBeforeItWasShownReleasesTheLock) {
    MakeThirdChildThatIsNeverShown();
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

// ---------------------------------------------------------------------------------------------------------
// The skinned bars of the client window

class MdiScrolls : public ProviderMdi {
protected:
    TsMDIForm* Mdi() const { return Parent()->MDIForm(); }
    // The client window's client rectangle in the frame's client coordinates: where its own bars end.
    TRect ClientArea() const {
        user::RECT r {};
        user::GetClientRect(Frame->ClientHandle(), &r);
        user::POINT corners[2] {{r.left, r.top}, {r.right, r.bottom}};
        user::MapWindowPoints(Frame->ClientHandle(), Frame->WindowHandle(), corners, 2);
        return TRect {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    }
    // A child's top-left in the client window's client coordinates.
    TPoint InClient(TForm* child) const { return TPoint {child->Left(), child->Top()}; }
    // The second child past the client's right and bottom edges.
    void Overflow() {
        const TRect area = ClientArea();
        Two->SetBounds(area.Width() - 60, area.Height() - 50, 220, 150);
        Pump();
    }
    static bool Shown(const TControl* c) {
        const auto* w = dynamic_cast<const TWinControl*>(c);
        return c != nullptr && c->Visible() && w->HandleAllocated() && user::IsWindowVisible(w->WindowHandle());
    }
};

TEST_F(MdiScrolls, ChildrenInsideTheClientShowNoBar) {
    EXPECT_EQ(Mdi()->VertBar(), nullptr);
    EXPECT_EQ(Mdi()->HorzBar(), nullptr);
    EXPECT_EQ(Mdi()->Grip(), nullptr);
}

TEST_F(MdiScrolls, AChildPastTheEdgesGetsBarsAndAGripOverTheClientsOwn) {
    Overflow();
    ASSERT_NE(Mdi()->VertBar(), nullptr);
    ASSERT_NE(Mdi()->HorzBar(), nullptr);
    ASSERT_NE(Mdi()->Grip(), nullptr);
    for (const TControl* part : std::initializer_list<const TControl*> {Mdi()->VertBar(), Mdi()->HorzBar(), Mdi()->Grip()})
        EXPECT_TRUE(Shown(part)) << part->ClassName();
    const TRect a = ClientArea();
    const int cx = user::GetSystemMetrics(user::SM_CXVSCROLL);
    const int cy = user::GetSystemMetrics(user::SM_CYHSCROLL);
    EXPECT_EQ(Mdi()->VertBar()->BoundsRect(), (TRect {a.right, a.top, a.right + cx, a.bottom}));
    EXPECT_EQ(Mdi()->HorzBar()->BoundsRect(), (TRect {a.left, a.bottom, a.right, a.bottom + cy}));
    EXPECT_EQ(Mdi()->Grip()->BoundsRect(), (TRect {a.right, a.bottom, a.right + cx, a.bottom + cy}));
    // The range runs from the view's start to the second child's far edges, one page the client's size.
    EXPECT_EQ(Mdi()->VertBar()->Position(), 0);
    EXPECT_EQ(Mdi()->VertBar()->Max(), InClient(Two).y + Two->Height() - a.Height());
    EXPECT_EQ(Mdi()->VertBar()->PageSize(), a.Height());
    EXPECT_EQ(Mdi()->HorzBar()->Max(), InClient(Two).x + Two->Width() - a.Width());
}

// A bar's position is how far the children reach past the view's start (the client's range is set again after
// each scroll, from where the children are then). The arrows step by the bar's own small change.
TEST_F(MdiScrolls, MovingTheBarsScrollsTheChildren) {
    Overflow();
    TsScrollBar* bar = Mdi()->VertBar();
    ASSERT_NE(bar, nullptr);
    const TPoint one = InClient(One);
    const TPoint two = InClient(Two);
    ClickMiddle(bar, bar->PartRect(TsScrollPart::Arrow2));
    EXPECT_EQ(InClient(One).y, one.y - bar->SmallChange());
    EXPECT_EQ(InClient(Two).y, two.y - bar->SmallChange());
    EXPECT_EQ(bar->Position(), std::max(0, -InClient(One).y));
    DragThumbBelow(bar, 40);
    ASSERT_EQ(Mdi()->VertBar(), bar);
    EXPECT_EQ(bar->Position(), bar->Max());
    EXPECT_EQ(InClient(Two).y + Two->Height(), ClientArea().Height());   // the bottom one in full
    EXPECT_EQ(InClient(One).y, -bar->Position());   // the top one the furthest above the view
    TsScrollBar* across = Mdi()->HorzBar();
    ClickMiddle(across, across->PartRect(TsScrollPart::Arrow2));
    EXPECT_EQ(InClient(Two).x, two.x - across->SmallChange());
    EXPECT_EQ(InClient(One).x, one.x - across->SmallChange());
    // The thumb dragged above the bar: the top child at the view's top.
    DragThumbBelow(bar, -bar->Height() - 80);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(InClient(One).y, 0);
}

// The bars keep the scroll bar's own small and large steps.
TEST_F(MdiScrolls, TheBarsKeepTheScrollBarsOwnSteps) {
    Overflow();
    const TsScrollBar plain(nullptr);
    for (TsScrollBar* bar : {Mdi()->VertBar(), Mdi()->HorzBar()}) {
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->SmallChange(), plain.SmallChange());
        EXPECT_EQ(bar->LargeChange(), plain.LargeChange());
    }
}

// While the thumb is still held the bar already follows the client's range after each step of the drag.
TEST_F(MdiScrolls, TheBarFollowsTheClientsRangeWhileItsThumbIsDragged) {
    Overflow();
    TsScrollBar* bar = Mdi()->VertBar();
    ASSERT_NE(bar, nullptr);
    const TRect thumb = bar->PartRect(TsScrollPart::Thumb);
    const int x = (thumb.left + thumb.right) / 2;
    const int y = (thumb.top + thumb.bottom) / 2;
    DownAt(bar, x, y);
    MoveTo(bar, x, y + 30);
    ASSERT_LT(InClient(One).y, 10);   // scrolled: the top child above the view's start
    user::SCROLLINFO info;
    info.fMask = user::SIF_ALL;
    ASSERT_TRUE(user::GetScrollInfo(Frame->ClientHandle(), user::SB_VERT, &info));
    EXPECT_EQ(bar->Max(), info.nMax - int(info.nPage) - info.nMin + 1);
    EXPECT_EQ(bar->Position(), info.nPos - info.nMin);
    UpAt(bar, x, y + 30);
}

// A scroll during whose messages the frame is freed: the bars' handler notices and stops.
TEST_F(MdiScrolls, AScrollDuringWhichTheFrameIsClosedEndsQuietly) {
    Overflow();
    TsScrollBar* bar = Mdi()->VertBar();
    ASSERT_NE(bar, nullptr);
    TForm* frame = Frame;
    // The child moved by the scroll lets the frame go; it goes in the handler's message loop.
    bool asked = false;
    TWndMethod old = One->WindowProc;
    One->WindowProc = [old, frame, &asked](TMessage& m) {
        if (m.Msg == user::WM_MOVE && !asked) {
            asked = true;
            frame->Release();
        }
        old(m);
    };
    Frame = nullptr;
    One = Two = nullptr;   // freed with their frame
    TComponentWatch watch(frame);
    ClickMiddle(bar, bar->PartRect(TsScrollPart::Arrow2));
    Pump();
    EXPECT_TRUE(asked);
    EXPECT_FALSE(watch.Alive());
    EXPECT_EQ(MDISkinProvider(), nullptr);
}

TEST_F(MdiScrolls, AMaximizedChildHidesTheBarsAndLeavesTheEdgeToTheDefault) {
    Overflow();
    ASSERT_TRUE(Shown(Mdi()->VertBar()));
    Maximize(Two);
    EXPECT_FALSE(Shown(Mdi()->VertBar()));
    EXPECT_FALSE(Shown(Mdi()->HorzBar()));
    EXPECT_FALSE(Shown(Mdi()->Grip()));
    user::SendMessage(Frame->ClientHandle(), user::WM_NCPAINT, 1, 0);
    const TRect area = Mdi()->MDIArea();
    EXPECT_EQ(WindowPixel(Frame, area.left, area.top), gdi::GetSysColor(gdi::COLOR_BTNSHADOW));   // a sunken edge
    Restore(Two);
    EXPECT_TRUE(Shown(Mdi()->VertBar()));
    EXPECT_EQ(WindowPixel(Frame, area.left, area.top), Parent()->FormCache()->Canvas()->Pixels(area.left, area.top));
}

// Unskinned, the client's own bars are the ones that show.
TEST_F(MdiScrolls, RemovingTheSkinTakesTheBarsAwayAndLeavesTheClientsOwn) {
    Overflow();
    ASSERT_NE(Mdi()->VertBar(), nullptr);
    UseSkin(-1);
    Pump();
    EXPECT_EQ(Parent()->MDIForm(), nullptr);
    for (int i = 0; i < Frame->ControlCount(); ++i) {
        EXPECT_EQ(dynamic_cast<TsScrollBar*>(Frame->Controls(i)), nullptr);
        EXPECT_EQ(dynamic_cast<TsGrip*>(Frame->Controls(i)), nullptr);
    }
    const auto style = user::GetWindowLong(Frame->ClientHandle(), user::GWL_STYLE);
    EXPECT_TRUE(style & user::WS_VSCROLL);
    EXPECT_TRUE(style & user::WS_HSCROLL);
}

TEST_F(MdiScrolls, TheClientShowsTheFormsWindowlessControlsAndTellsItsWindowedOnes) {
    // A red picture on the frame where the client window lies, beside the children.
    auto* image = Create<TImage>(Frame);
    TBitmap* bitmap = image->Picture()->Bitmap();
    bitmap->SetSize(30, 20);
    bitmap->Canvas()->Brush()->SetColor(clRed);
    bitmap->Canvas()->FillRect(TRect {0, 0, 30, 20});
    const TRect a = ClientArea();
    image->SetBounds(a.right - 40, a.bottom - 30, 30, 20);
    image->SetParent(Frame);
    int told = 0;
    auto* panel = Create<TsPanel>(Frame);
    panel->SetParent(Frame);
    panel->SetBounds(0, 0, 10, 10);
    TWndMethod old = panel->WindowProc;
    panel->WindowProc = [old, &told](TMessage& m) {
        if (IsSkinCommand(m, SMC_PARENTUPDATED)) ++told;
        old(m);
    };
    Pump();
    told = 0;
    user::InvalidateRect(Frame->ClientHandle(), nullptr, true);   // the client alone paints
    Pump();
    EXPECT_GE(told, 1);
    const TRect area = Mdi()->MDIArea();   // window coordinates
    const int x = area.left + (a.right - 40 - a.left) + 2 + 15;
    const int y = area.top + (a.bottom - 30 - a.top) + 2 + 10;
    EXPECT_EQ(WindowPixel(Frame, x, y), gdi::COLORREF(0x0000FF));
    panel->WindowProc = old;
}

// The parent with a child past both edges, scrolled to the middle, in two skins; MDIScrolled_<skin>.png. The
// bars stand out from the client's background just where they lie, the grip closes the corner between them.
class MdiScrollPicture : public MdiScrolls, public ::testing::WithParamInterface<int> { };

TEST_P(MdiScrollPicture, BarsAndGripAtTheClientsRightAndBottomEdges) {
    UseSkin(GetParam());
    Frame->SetBounds(10, 10, 420, 320);
    One->SetBounds(8, 8, 160, 110);
    Pump();
    Overflow();
    TsScrollBar* v = Mdi()->VertBar();
    TsScrollBar* h = Mdi()->HorzBar();
    ASSERT_NE(v, nullptr);
    ASSERT_NE(h, nullptr);
    v->SetPosition(v->Max() / 2);
    h->SetPosition(h->Max() / 2);
    Pump();
    const gdi::RECT shot {10, 10, 430, 330};
    ASSERT_TRUE(Display->WriteScreenshotPng(
        WindowsPictureDir() + "/MDIScrolled_" + ctltest::SkinShortName(GetParam()) + ".png", &shot));
    // Window coordinates of the frame are its client's plus the frame's client origin.
    user::POINT origin {0, 0};
    user::ClientToScreen(Frame->WindowHandle(), &origin);
    user::RECT window {};
    user::GetWindowRect(Frame->WindowHandle(), &window);
    const TPoint shift {origin.x - window.left, origin.y - window.top};
    TBitmap* cache = Parent()->FormCache();
    // The share of a rectangle (frame client coordinates) whose pixels differ from the client's background.
    auto standingOut = [&](const TRect& r) {
        int differ = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                differ += WindowPixel(Frame, x + shift.x, y + shift.y)
                    != gdi::COLORREF(cache->Canvas()->Pixels(x + shift.x, y + shift.y));
        return double(differ) / double(std::max(1, r.Width() * r.Height()));
    };
    const TRect a = ClientArea();
    EXPECT_GT(standingOut(v->BoundsRect()), 0.5);
    EXPECT_GT(standingOut(h->BoundsRect()), 0.5);
    // The grip fills the corner between them with the area's background (no sizebox of the client's own).
    const TRect grip = Mdi()->Grip()->BoundsRect();
    EXPECT_EQ(grip, (TRect {v->Left(), h->Top(), v->Left() + v->Width(), h->Top() + h->Height()}));
    EXPECT_EQ(v->Top() + v->Height(), grip.top);
    EXPECT_EQ(h->Left() + h->Width(), grip.left);
    EXPECT_LT(standingOut(grip), 0.05);
    // Just inside the bars, away from the children, the background shows.
    EXPECT_LT(standingOut(TRect {a.right - 6, a.top + 4, a.right - 2, a.top + 40}), 0.05);
    EXPECT_LT(standingOut(TRect {a.left + 4, a.bottom - 6, a.left + 60, a.bottom - 2}), 0.05);
    // The vertical bar's thumb in its middle, the horizontal one's too.
    const TRect vt = v->PartRect(TsScrollPart::Thumb);
    const TRect ht = h->PartRect(TsScrollPart::Thumb);
    const int vMiddle = (vt.top + vt.bottom) / 2;
    const int hMiddle = (ht.left + ht.right) / 2;
    EXPECT_NEAR(vMiddle, v->Height() / 2, v->Height() / 8);
    EXPECT_NEAR(hMiddle, h->Width() / 2, h->Width() / 8);
}

INSTANTIATE_TEST_SUITE_P(TwoSkins, MdiScrollPicture, ::testing::Values(0, 1),
    [](const auto& info) { return ctltest::SkinShortName(info.param); });

}
}

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

// A windowless child that counts the paints it gets.
class TMdiPaintCounter : public TGraphicControl {
public:
    explicit TMdiPaintCounter(TComponent* owner)
        : TGraphicControl(owner) { }
    int Paints = 0;

protected:
    void Paint() override { ++Paints; }
};

// Beside a maximized active child the other child's client is not painted; the maximized one's is.
TEST_F(ProviderMdi, BesideAMaximizedChildOnlyThatChildsClientIsPainted) {
    auto* underOne = Create<TMdiPaintCounter>(One);
    underOne->SetBounds(5, 5, 30, 20);
    underOne->SetParent(One);
    auto* underTwo = Create<TMdiPaintCounter>(Two);
    underTwo->SetBounds(5, 5, 30, 20);
    underTwo->SetParent(Two);
    Pump();
    Maximize(Two);
    ASSERT_TRUE(Zoomed(Two));
    ASSERT_EQ(Frame->ActiveMDIChild(), Two);
    underOne->Paints = underTwo->Paints = 0;
    for (TForm* child : {One, Two}) {
        user::InvalidateRect(child->WindowHandle(), nullptr, false);
        user::SendMessage(child->WindowHandle(), user::WM_PAINT, 0, 0);
    }
    EXPECT_EQ(underOne->Paints, 0);
    EXPECT_EQ(underTwo->Paints, 1);
}

// While a maximized child's buttons sit on the menu line, the last bar item keeps 40 pixels more for them.
TEST_F(ProviderMdi, TheLastBarItemMakesRoomForTheMaximizedChildsButtons) {
    auto lastWidth = [&] {
        user::RECT r {};
        const int last = user::GetMenuItemCount(Menu->Handle()) - 1;
        EXPECT_TRUE(user::GetMenuItemRect(Frame->WindowHandle(), Menu->Handle(), UINT(last), &r));
        return r.right - r.left;
    };
    const int normal = lastWidth();
    Maximize(Two);
    ASSERT_TRUE(Parent()->MDIButtonsNeeded());
    Parent()->RefreshMainMenu();   // measured again
    Pump();
    EXPECT_EQ(lastWidth(), normal + 40);
    Restore(Two);
    Parent()->RefreshMainMenu();
    Pump();
    EXPECT_EQ(lastWidth(), normal);
}

// The maximized child's icon item on the menu line is 8 pixels wide.
TEST_F(ProviderMdi, TheMaximizedChildsIconItemIsEightPixelsWide) {
    Maximize(Two);
    ASSERT_TRUE(IconItemFirst());
    user::RECT r {};
    ASSERT_TRUE(user::GetMenuItemRect(Frame->WindowHandle(), Menu->Handle(), 0, &r));
    EXPECT_EQ(r.right - r.left, 8);
}


TEST_F(ProviderMdi, AChildWithItsOwnMenuRepaintsTheParentsFrameWhenItsProviderGoes) {
    auto* menu = Create<TMainMenu>(One);
    auto* item = Create<TMenuItem>(menu);
    item->SetCaption("&Node");
    menu->Items()->Add(item);
    One->SetMenuComponent(menu);
    Pump();
    int frames = 0;
    TWndMethod old = Frame->WindowProc;
    Frame->WindowProc = [&frames, old](TMessage& m) {
        if (m.Msg == user::WM_NCPAINT) ++frames;
        old(m);
    };
    ProviderOf(One)->Free();
    const int afterMenuChild = frames;
    ProviderOf(Two)->Free();
    const int afterPlainChild = frames - afterMenuChild;
    Frame->WindowProc = old;
    EXPECT_EQ(afterMenuChild, 1);
    EXPECT_EQ(afterPlainChild, 0);
}


int MdiRefreshClientSizes = 0;
int MdiRefreshClientFrames = 0;
user::WNDPROC MdiRefreshClientOld = nullptr;

user::LRESULT MdiRefreshClientProc(user::HWND hwnd, user::UINT msg, user::WPARAM wParam, user::LPARAM lParam) {
    if (msg == user::WM_SIZE) ++MdiRefreshClientSizes;
    if (msg == user::WM_NCPAINT) ++MdiRefreshClientFrames;
    return user::CallWindowProc(MdiRefreshClientOld, hwnd, msg, wParam, lParam);
}

TEST_F(ProviderMdi, ARefreshOfTheParentResizesAndRepaintsTheClientsFrame) {
    const user::HWND client = Frame->ClientHandle();
    MdiRefreshClientOld = user::ProcFromLong(user::GetWindowLongPtr(client, user::GWL_WNDPROC));
    user::SetWindowLongPtr(client, user::GWL_WNDPROC, user::LONG_PTR(&MdiRefreshClientProc));
    MdiRefreshClientSizes = 0;
    MdiRefreshClientFrames = 0;
    const user::RECT before = [&] {
        user::RECT r {};
        user::GetClientRect(client, &r);
        return r;
    }();
    SendSkinCommand(Frame->WindowHandle(), SMC_REFRESH, LPARAM(Parent()->SkinData()->SkinManager()));
    const int sizes = MdiRefreshClientSizes;
    const int frames = MdiRefreshClientFrames;
    user::SetWindowLongPtr(client, user::GWL_WNDPROC, user::LONG_PTR(MdiRefreshClientOld));
    Pump();
    EXPECT_GE(sizes, 1);
    EXPECT_GE(frames, 1);
    user::RECT after {};
    user::GetClientRect(client, &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

}
}

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

// Opens no menu: records where the skinned window menu of a provider would have dropped.
class ProviderMdiWindowMenu : public ProviderMdi {
protected:
    std::vector<TPoint> DropsOf(TsSkinProvider* provider, const std::function<void()>& act) {
        std::vector<TPoint> drops;
        provider->SystemMenu()->OnPopup = [&](TObject*) { drops.push_back(provider->SystemMenu()->PopupPoint()); };
        user::SetMenuLoopIdleHook([] {
            user::EndMenu();
            return true;
        });
        act();
        Pump();
        user::SetMenuLoopIdleHook({});
        provider->SystemMenu()->OnPopup = nullptr;
        return drops;
    }
};

// A child's title icon drops the menu at the child's top-left corner, one caption lower.
TEST_F(ProviderMdiWindowMenu, AChildsTitleIconDropsTheMenuBelowTheChildsCorner) {
    TsSkinProvider* child = ProviderOf(Two);
    ASSERT_TRUE(child->IconVisible());
    const TPoint icon = CentreOf(Two, child->IconRect());
    ASSERT_EQ(HitAt(Two, icon), LRESULT(htTitleIcon));
    const TPoint corner = child->FormLeftTop();
    EXPECT_EQ(DropsOf(child, [&] { Display->ButtonDown(user::MouseButton::Left, icon.x, icon.y); }),
        (std::vector<TPoint> {TPoint {corner.x, corner.y + child->CaptionHeight()}}));
    Display->ButtonUp(user::MouseButton::Left, icon.x, icon.y);
    Pump();
}

// A minimized form's release off its buttons drops the skinned menu at the pointer while an MDI parent is
// skinned and popups are skinned; otherwise the release goes on to the window layer.
TEST_F(ProviderMdiWindowMenu, AMinimizedChildsReleaseDropsTheMenuAtThePointer) {
    user::SendMessage(One->WindowHandle(), user::WM_SYSCOMMAND, user::SC_MINIMIZE, 0);
    Pump();
    ASSERT_TRUE(user::IsIconic(One->WindowHandle()));
    TsSkinProvider* child = ProviderOf(One);
    const TPoint at {child->FormLeftTop().x + 5, child->FormLeftTop().y + 5};
    auto release = [&] { user::SendMessage(One->WindowHandle(), user::WM_NCLBUTTONUP, htCaption, user::MAKELPARAM(at.x, at.y)); };
    EXPECT_EQ(DropsOf(child, release), (std::vector<TPoint> {at}));
    Parent()->SkinData()->SkinManager()->SetSkinnedPopups(false);
    EXPECT_TRUE(DropsOf(child, release).empty());
    Parent()->SkinData()->SkinManager()->SetSkinnedPopups(true);
}

// A child's maximize button maximizes it through the command alone; the parent's frame shows the child's
// buttons on its menu line afterwards.
TEST_F(ProviderMdiWindowMenu, AChildsMaximizeButtonMaximizesItAndTheParentsFrameFollows) {
    TsSkinProvider* child = ProviderOf(Two);
    HitAt(Two, child->FormLeftTop());   // the buttons placed
    const TPoint button = CentreOf(Two, child->CaptionButton(cbMaximize).Rect);
    ASSERT_EQ(HitAt(Two, button), LRESULT(htMaximize));
    Display->Click(button.x, button.y);
    Pump();
    EXPECT_TRUE(Zoomed(Two));
    EXPECT_TRUE(Parent()->MDIButtonsNeeded());
    EXPECT_FALSE(Parent()->SkinData()->IsUpdating());
    EXPECT_FALSE(Parent()->SkinData()->BGChanged);
}

// The menu line's minimize button leaves the parent's frame painted and no longer held for its update; the
// buttons are drawn normal again.
TEST_F(ProviderMdiWindowMenu, TheMenuLinesMinimizeButtonLeavesTheParentsFramePainted) {
    Maximize(Two);
    ASSERT_TRUE(Parent()->MDIButtonsNeeded());
    Click(Frame, Parent()->CaptionButton(cbMdiMinimize).Rect);
    EXPECT_TRUE(user::IsIconic(Two->WindowHandle()));
    EXPECT_FALSE(Parent()->SkinData()->IsUpdating());
    EXPECT_FALSE(Parent()->SkinData()->BGChanged);
    EXPECT_EQ(Parent()->CaptionButton(cbMdiMinimize).State, 0);
}

// Only the child's window goes before it was shown (the form stays): the lock is released all the same.
TEST_F(ProviderMdi, AChildsWindowDestroyedBeforeItWasShownReleasesTheLock) {
    const TWndMethod old = MakeThirdChildThatIsNeverShown();
    ASSERT_TRUE(MaximizeLockHeld());
    user::DestroyWindow(Three->WindowHandle());
    EXPECT_FALSE(MaximizeLockHeld());
    EXPECT_FALSE(MaximizePending());
    EXPECT_TRUE(DrawingUnlocked());
    Three->WindowProc = old;
    Pump();
}

}
}
