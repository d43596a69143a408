// Tests for what a skinned form's procedure sends on a skin refresh, while the frame is sized by the system,
// and when the pointer leaves the window from a hot caption button.
#include "support/WindowsKit.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TMenu.h"
#include "platform/user/MessageIds.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/NonClient.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sScrollBar.h"
#include "skin/controls/sPanel.h"
#include "skin/windows/sMDIForm.h"

#include <vector>

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class ProviderDispatch : public FormsTest {
protected:
    // Every message the form's procedure is handed from now on, recorded above the provider (into one of the
    // fixture's lists, which outlive the form).
    void Record(TControl* form, std::vector<UINT>& into) {
        TWndMethod old = form->WindowProc;
        form->WindowProc = [old, &into](TMessage& m) {
            into.push_back(m.Msg);
            old(m);
        };
    }
    static int CountOf(const std::vector<UINT>& messages, UINT msg) {
        int n = 0;
        for (UINT m : messages)
            n += m == msg ? 1 : 0;
        return n;
    }
    static std::ptrdiff_t FirstOf(const std::vector<UINT>& messages, UINT msg) {
        for (std::size_t i = 0; i < messages.size(); ++i)
            if (messages[i] == msg) return std::ptrdiff_t(i);
        return -1;
    }
    void Refresh(TForm* form) {
        SendSkinCommand(form->WindowHandle(), SMC_REFRESH, LPARAM(ProviderOf(form)->SkinData()->SkinManager()));
    }
    std::vector<UINT> Seen;
    std::vector<UINT> ChildSaw;
};

TEST_F(ProviderDispatch, ARefreshRepaintsTheFrameThenSendsTheFormItsPaint) {
    UseSkin(0);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    Pump();
    std::vector<UINT>& seen = Seen;
    Record(form, seen);
    Refresh(form);
    const std::ptrdiff_t frame = FirstOf(seen, user::WM_NCPAINT);
    const std::ptrdiff_t paint = FirstOf(seen, user::WM_PAINT);
    ASSERT_GE(frame, 0);
    ASSERT_GE(paint, 0);
    EXPECT_LT(frame, paint);
}

TEST_F(ProviderDispatch, ARefreshOfAnInvisibleFormSendsNoPaint) {
    UseSkin(0);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    form->Hide();
    Pump();
    std::vector<UINT>& seen = Seen;
    Record(form, seen);
    Refresh(form);
    EXPECT_EQ(CountOf(seen, user::WM_PAINT), 0);
    EXPECT_EQ(CountOf(seen, user::WM_NCPAINT), 0);
}

// An MDI parent with a maximized active child: the refresh paints the child, not the parent's client.
class ProviderDispatchMdi : public ProviderDispatch {
protected:
    void SetUp() override {
        ProviderDispatch::SetUp();
        Form->Hide();
        UseSkin(1);
        Application->CreateForm(Frame);
        Frame->SetFormStyle(fsMDIForm);
        Frame->SetBounds(40, 30, 520, 380);
        Create<TsSkinProvider>(Frame);
        auto* menu = Create<TMainMenu>(Frame);
        auto* item = Create<TMenuItem>(menu);
        item->SetCaption("&File");
        menu->Items()->Add(item);
        Frame->SetMenuComponent(menu);
        Frame->Show();
        Pump();
        Child = Create<TForm>(Application);
        Child->SetFormStyle(fsMDIChild);
        Create<TsSkinProvider>(Child);
        Child->SetBounds(10, 10, 220, 150);
        Child->Show();
        Pump();
    }
    void TearDown() override {
        for (TForm* form : {Child, Frame})
            if (form != nullptr) form->Free();
        Pump();
        ProviderDispatch::TearDown();
    }
    TForm* Frame = nullptr;
    TForm* Child = nullptr;
};

TEST_F(ProviderDispatchMdi, ARefreshOfTheParentPaintsItsMaximizedChild) {
    user::SendMessage(Child->WindowHandle(), user::WM_SYSCOMMAND, user::SC_MAXIMIZE, 0);
    Pump();
    ASSERT_TRUE(user::IsZoomed(Child->WindowHandle()));
    std::vector<UINT>& parentSaw = Seen;
    std::vector<UINT>& childSaw = ChildSaw;
    Record(Frame, parentSaw);
    Record(Child, childSaw);
    Refresh(Frame);
    EXPECT_GE(CountOf(parentSaw, user::WM_NCPAINT), 1);
    EXPECT_EQ(CountOf(parentSaw, user::WM_PAINT), 0);
    EXPECT_EQ(CountOf(childSaw, user::WM_PAINT), 1);
}

TEST_F(ProviderDispatchMdi, ARefreshOfTheParentWithARestoredChildPaintsTheParent) {
    ASSERT_FALSE(user::IsZoomed(Child->WindowHandle()));
    std::vector<UINT>& parentSaw = Seen;
    std::vector<UINT>& childSaw = ChildSaw;
    Record(Frame, parentSaw);
    Record(Child, childSaw);
    Refresh(Frame);
    EXPECT_EQ(CountOf(parentSaw, user::WM_PAINT), 1);
    EXPECT_EQ(CountOf(childSaw, user::WM_PAINT), 0);
}

// While the system sizes the parent's frame, a stale frame picture also brings the MDI area's bars up to date.
TEST_F(ProviderDispatchMdi, SizingTheParentsFrameUpdatesItsMdiBars) {
    TsMDIForm* mdi = ProviderOf(Frame)->MDIForm();
    ASSERT_NE(mdi, nullptr);
    Child->SetBounds(400, 300, 220, 150);   // far past the client's corner: both bars show
    Pump();
    ASSERT_NE(mdi->VertBar(), nullptr);
    ASSERT_TRUE(mdi->VertBar()->Visible());
    mdi->VertBar()->Hide();   // out of step with the children, as before a sizing step
    ProviderOf(Frame)->FormCache()->SetSize(1, 1);   // the frame's picture no longer fits the form
    user::RECT r {};
    user::GetWindowRect(Frame->WindowHandle(), &r);
    user::SendMessage(Frame->WindowHandle(), user::WM_SIZING, user::WMSZ_BOTTOMRIGHT, LPARAM(&r));
    EXPECT_TRUE(mdi->VertBar()->Visible());
    EXPECT_TRUE(ProviderOf(Frame)->SkinData()->BGChanged);
}

// A child moved by its own outline: the outline goes on the screen where the parent's frame puts the child's
// place (the parent's left, frame and border; its top, twice its frame, caption, menu rows, border).
TEST_F(ProviderDispatchMdi, AChildsMoveOutlineLiesAtItsPlaceOnTheScreen) {
    TsSkinProvider* child = ProviderOf(Child);
    TsSkinProvider* parent = ProviderOf(Frame);
    child->SetResizeMode(rmBorder);
    const int dx = Frame->Left() + parent->SysBorderWidth() + Frame->BorderWidth() + 1;
    const int dy = Frame->Top() + 2 * parent->SysBorderHeight() + parent->CaptionHeight()
        + (parent->MenuPresent() ? parent->MenuHeight() * parent->MenuLines() : 0) + Frame->BorderWidth() - 2;
    const TPoint from = ScreenOf(Child, Child->Width() / 2, child->SysBorderHeight() + child->CaptionHeight() / 2);
    Display->AdvanceTimeMs(1000);
    Display->MoveMouse(from.x, from.y);
    Display->ButtonDown(user::MouseButton::Left, from.x, from.y);
    Pump();
    ASSERT_TRUE(TsSkinProvider::InOutlineDrag());
    EXPECT_EQ(TsSkinProvider::OutlineRect(),
        (TRect {Child->Left() + dx, Child->Top() + dy, Child->Left() + Child->Width() + dx, Child->Top() + Child->Height() + dy}));
    Display->MoveMouse(from.x + 30, from.y + 20);
    Pump();
    EXPECT_EQ(TsSkinProvider::OutlineRect(), (TRect {Child->Left() + 30 + dx, Child->Top() + 20 + dy,
                                                 Child->Left() + Child->Width() + 30 + dx, Child->Top() + Child->Height() + 20 + dy}));
    Display->ButtonUp(user::MouseButton::Left, from.x + 30, from.y + 20);
    Pump();
    EXPECT_FALSE(TsSkinProvider::InOutlineDrag());
    EXPECT_EQ(Child->Left(), 40);
    EXPECT_EQ(Child->Top(), 30);
}

// The frame's activation first repaints the frame as it is, then takes the new state, which the activation
// message that follows draws.
TEST_F(ProviderDispatch, ActivationOfTheFrameIsDrawnByTheActivationThatFollows) {
    UseSkin(0);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSkinProvider* p = ProviderOf(form);
    form->SetFocus();
    Pump();
    ASSERT_TRUE(p->FormActive());
    const TPoint title = ScreenOf(form, p->FormWidth() / 2, p->SysBorderHeight() + p->CaptionHeight() / 2);
    const gdi::COLORREF active = Display->ScreenPixel(title.x, title.y);
    Record(form, Seen);
    user::SendMessage(form->WindowHandle(), user::WM_NCACTIVATE, 0, 0);
    EXPECT_FALSE(p->FormActive());
    EXPECT_EQ(CountOf(Seen, user::WM_NCPAINT), 1);
    user::SendMessage(form->WindowHandle(), user::WM_ACTIVATE, user::WA_INACTIVE, 0);
    Pump();
    EXPECT_NE(Display->ScreenPixel(title.x, title.y), active);
}

// A frame-less form repaints its last client-aligned child when it is activated.
TEST_F(ProviderDispatch, AFormWithoutBorderPaintsItsLastClientChildOnActivation) {
    UseSkin(0);
    TForm* form = NewSkinnedForm(bsNone, {});
    auto* first = Create<TsPanel>(form);
    first->SetParent(form);
    first->SetAlign(alClient);
    auto* last = Create<TsPanel>(form);
    last->SetParent(form);
    last->SetAlign(alClient);
    Pump();
    Record(last, Seen);
    Record(first, ChildSaw);
    user::SendMessage(form->WindowHandle(), user::WM_ACTIVATE, user::WA_ACTIVE, 0);
    EXPECT_EQ(CountOf(Seen, user::WM_PAINT), 1);
    EXPECT_EQ(CountOf(ChildSaw, user::WM_PAINT), 0);
    Seen.clear();
    user::SendMessage(form->WindowHandle(), user::WM_NCACTIVATE, 1, 0);
    EXPECT_EQ(CountOf(Seen, user::WM_PAINT), 1);
}

// A form whose frame changed size repaints its frame, then its client.
TEST_F(ProviderDispatch, AResizedFormRepaintsItsFrameThenItsClient) {
    UseSkin(1);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    Record(form, Seen);
    form->SetBounds(form->Left(), form->Top(), form->Width() + 40, form->Height() + 30);
    const std::ptrdiff_t changed = FirstOf(Seen, user::WM_WINDOWPOSCHANGED);
    ASSERT_GE(changed, 0);
    const std::vector<UINT> after(Seen.begin() + changed, Seen.end());
    const std::ptrdiff_t frame = FirstOf(after, user::WM_NCPAINT);
    const std::ptrdiff_t paint = FirstOf(after, user::WM_PAINT);
    ASSERT_GE(frame, 0);
    ASSERT_GE(paint, 0);
    EXPECT_LT(frame, paint);
}

// A second skin is handed on to the form's own skinned bars.
TEST_F(ProviderDispatch, ANewSkinIsHandedToTheFormsOwnBars) {
    UseSkin(1);
    TForm* form = Create<TForm>(Application);
    form->SetAutoScroll(true);
    Create<TsSkinProvider>(form);
    form->SetBounds(30, 30, 320, 240);
    auto* content = Create<TsPanel>(form);
    content->SetParent(form);
    content->SetBounds(10, 10, 600, 500);
    form->Show();
    Pump();
    TsSkinProvider* p = ProviderOf(form);
    ASSERT_NE(p->VertBar(), nullptr);
    ASSERT_NE(p->HorzBar(), nullptr);
    int told = 0;
    std::vector<std::pair<TsScrollBar*, TWndMethod>> kept;
    for (TsScrollBar* bar : {p->VertBar(), p->HorzBar()}) {
        TWndMethod old = bar->WindowProc;
        kept.emplace_back(bar, old);
        bar->WindowProc = [old, &told](TMessage& m) {
            if (IsSkinCommand(m, SMC_NEWSKIN)) ++told;
            old(m);
        };
    }
    SendSkinCommand(form->WindowHandle(), SMC_NEWSKIN, LPARAM(p->SkinData()->SkinManager()));
    EXPECT_EQ(told, 2);
    for (auto& [bar, old] : kept)
        bar->WindowProc = old;
}

// A child sized by the user past the client's right edge, by the system's own loop: the MDI area gets its bar.
TEST_F(ProviderDispatchMdi, AChildSizedPastTheClientsEdgeGivesTheAreaItsBar) {
    TsMDIForm* mdi = ProviderOf(Frame)->MDIForm();
    ASSERT_NE(mdi, nullptr);
    ASSERT_TRUE(mdi->HorzBar() == nullptr || !mdi->HorzBar()->Visible());
    user::RECT r {};
    user::GetWindowRect(Child->WindowHandle(), &r);
    const TPoint from {r.right - 2, (r.top + r.bottom) / 2};
    ASSERT_EQ(HitAt(Child, from), user::HTRIGHT);
    Display->AdvanceTimeMs(1000);
    Display->MoveMouse(from.x, from.y);
    Display->ButtonDown(user::MouseButton::Left, from.x, from.y);
    // The system's size loop runs inside: one step per mouse message it reads.
    std::vector<std::function<void()>> steps;
    for (int step = 2; step <= 4; ++step)
        steps.push_back([this, from, step] { Display->MoveMouse(from.x + 100 * step, from.y); });
    steps.push_back([this, from] { Display->ButtonUp(user::MouseButton::Left, from.x + 400, from.y); });
    Display->MoveMouse(from.x + 100, from.y);
    std::size_t next = 0;
    user::SetMessageFilter([&](user::MSG& msg) {
        const bool move = msg.message == user::WM_MOUSEMOVE || msg.message == user::WM_NCMOUSEMOVE;
        if (move && user::InNonClientLoop() && next < steps.size()) steps[next++]();
        return false;
    });
    Pump();
    user::SetMessageFilter(nullptr);
    while (next < steps.size())
        steps[next++]();
    Pump();
    ASSERT_GT(Child->Width(), 500);
    ASSERT_NE(mdi->HorzBar(), nullptr);
    EXPECT_TRUE(mdi->HorzBar()->Visible());
}

// The parent's activation repaints its maximized active child.
TEST_F(ProviderDispatchMdi, TheParentsActivationPaintsItsMaximizedChild) {
    user::SendMessage(Child->WindowHandle(), user::WM_SYSCOMMAND, user::SC_MAXIMIZE, 0);
    Pump();
    ASSERT_TRUE(user::IsZoomed(Child->WindowHandle()));
    Record(Child, ChildSaw);
    user::SendMessage(Frame->WindowHandle(), user::WM_ACTIVATE, user::WA_ACTIVE, 0);
    EXPECT_EQ(CountOf(ChildSaw, user::WM_PAINT), 1);
}

// The parent minimized and restored: the MDI area's bars follow.
TEST_F(ProviderDispatchMdi, RestoringTheParentUpdatesItsMdiBars) {
    TsMDIForm* mdi = ProviderOf(Frame)->MDIForm();
    ASSERT_NE(mdi, nullptr);
    Child->SetBounds(400, 300, 220, 150);
    Pump();
    ASSERT_NE(mdi->VertBar(), nullptr);
    ASSERT_TRUE(mdi->VertBar()->Visible());
    mdi->VertBar()->Hide();
    user::SendMessage(Frame->WindowHandle(), user::WM_SYSCOMMAND, user::SC_MINIMIZE, 0);
    mdi->VertBar()->Hide();
    user::SendMessage(Frame->WindowHandle(), user::WM_SYSCOMMAND, user::SC_RESTORE, 0);
    EXPECT_TRUE(mdi->VertBar()->Visible());
}

TEST_F(ProviderDispatch, AHotButtonGoesBackToNormalWhenThePointerLeavesTheWindow) {
    UseSkin(0);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSkinProvider* p = ProviderOf(form);
    const TPoint c = CentreOf(form, p->CaptionButton(cbClose).Rect);
    Display->MoveMouse(c.x, c.y);
    Pump();
    ASSERT_EQ(p->HotHT(), int(htClose));
    ASSERT_EQ(p->CaptionButton(cbClose).State, 1);
    // Straight up off the title band onto the bare desktop.
    user::RECT r {};
    user::GetWindowRect(form->WindowHandle(), &r);
    Display->MoveMouse(c.x, r.top - 20);
    Pump();
    EXPECT_EQ(p->HotHT(), 0);
    EXPECT_EQ(p->CaptionButton(cbClose).State, 0);
}

}
}
