// TsTreeView on the headless display: the skinned bars in step with the native tree (by keys, expansion and the
// bar itself), sizes that show none, the frame and border while skinned and after, colours from the section.
#include "support/ControlsHost.h"
#include "support/ControlsKit.h"

#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/TreeView.h"
#include "skin/controls/sTreeView.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class TreeViewTest : public ControlsTest {
protected:
    TsTreeView* NewTree(int roots, int width = 160, int height = 120) {
        auto* tree = Create<TsTreeView>(Form);
        tree->SetBounds(20, 20, width, height);
        tree->SetParent(Form);
        for (int i = 0; i < roots; ++i) tree->Items()->Add(nullptr, "Folder " + std::to_string(i));
        Pump();
        return tree;
    }
    static user::SCROLLINFO Native(TsTreeView* tree, int bar = user::SB_VERT) {
        user::SCROLLINFO si;
        si.fMask = user::SIF_ALL;
        user::GetScrollInfo(tree->Handle(), bar, &si);
        return si;
    }
    static void ExpectInStep(TsTreeView* tree) {
        const user::SCROLLINFO si = Native(tree);
        TsScrollBar* bar = tree->VertBar();
        ASSERT_NE(bar, nullptr);
        EXPECT_TRUE(bar->Visible());
        EXPECT_EQ(bar->Position(), si.nPos);
        EXPECT_EQ(bar->Max(), si.nMax - int(si.nPage) + 1);
        EXPECT_EQ(bar->PageSize(), int(si.nPage));
    }
};

TEST_F(TreeViewTest, ManyNodesGetAVerticalBarInsideTheFrameInStepWithTheNativeTree) {
    UseSkin(0);
    TsTreeView* tree = NewTree(40);
    TsScrollBar* bar = tree->VertBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(tree->HorzBar() == nullptr || !tree->HorzBar()->Visible());
    EXPECT_EQ(bar->Parent(), Form);
    EXPECT_EQ(bar->Left(), tree->Left() + tree->Width() - bar->Width() - 3);
    EXPECT_EQ(bar->Top(), tree->Top() + 3);
    EXPECT_EQ(bar->Height(), tree->Height() - 6);
    ExpectInStep(tree);
    // Keys move the native tree; the bar follows.
    tree->SetFocus();
    Pump();
    Key(user::VK_NEXT);
    Key(user::VK_NEXT);
    EXPECT_GT(Native(tree).nPos, 0);
    ExpectInStep(tree);
    Key(user::VK_HOME);
    EXPECT_EQ(bar->Position(), 0);
    ExpectInStep(tree);
}

// A disabled tree keeps its bars' ranges; the bars are disabled with it.
TEST_F(TreeViewTest, ADisabledTreesBarKeepsItsRangeAndIsDisabled) {
    UseSkin(2);
    TsTreeView* tree = NewTree(40);
    tree->SetEnabled(false);
    Pump();
    TsScrollBar* bar = tree->VertBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->Enabled());
    const user::SCROLLINFO si = Native(tree);
    EXPECT_EQ(bar->Max(), si.nMax - int(si.nPage) + 1);
    tree->SetEnabled(true);
    Pump();
    EXPECT_TRUE(bar->Enabled());
}

// Disabling the tree leaves its painted frame as it was, in every skin.
TEST_F(TreeViewTest, ADisabledTreesFrameIsTheEnabledOne) {
    for (int skin = 0; skin < 4; ++skin) {
        SCOPED_TRACE(skin);
        UseSkin(skin);
        TsTreeView* tree = NewTree(3);
        const int w = tree->Width(), h = tree->Height();
        auto strips = [&] {   // top, left, right, bottom, in the form's client coordinates
            std::vector<gdi::COLORREF> px;
            for (TRect r : {TRect {0, 0, w, 3}, TRect {0, 3, 3, h - 3}, TRect {w - 3, 3, w, h - 3}, TRect {0, h - 3, w, h}}) {
                gdi::OffsetRect(&r, tree->Left(), tree->Top());
                const std::vector<gdi::COLORREF> more = ScreenPixels(Form, r);
                px.insert(px.end(), more.begin(), more.end());
            }
            return px;
        };
        const std::vector<gdi::COLORREF> enabled = strips();
        tree->SetEnabled(false);
        user::RedrawWindow(tree->Handle(), nullptr, nullptr, user::RDW_INVALIDATE | user::RDW_FRAME | user::RDW_UPDATENOW);
        Pump();
        EXPECT_EQ(strips(), enabled);
        tree->Free();
        Pump();
    }
}

// Disabling the tree forgets the pointer over it: enabled again after the pointer left, it is not hot.
TEST_F(TreeViewTest, ATreeDisabledUnderThePointerIsNotHotWhenEnabledElsewhere) {
    UseSkin(0);
    TsTreeView* tree = NewTree(3);
    MoveTo(tree, 40, 40);
    ASSERT_TRUE(tree->SkinData()->IsHot());
    tree->SetEnabled(false);
    Pump();
    MoveTo(Form, Form->ClientWidth() - 5, Form->ClientHeight() - 5);
    tree->SetEnabled(true);
    Pump();
    EXPECT_FALSE(tree->SkinData()->IsHot());
}

TEST_F(TreeViewTest, TheSkinnedBarScrollsTheNativeTreeByArrowAndThumb) {
    UseSkin(1);
    TsTreeView* tree = NewTree(60);
    TsScrollBar* bar = tree->VertBar();
    ASSERT_NE(bar, nullptr);
    ClickMiddle(bar, bar->PartRect(TsScrollPart::Arrow2));
    EXPECT_EQ(Native(tree).nPos, 1);
    EXPECT_EQ(tree->TopItem(), tree->Items()->GetFirstNode()->GetNextSibling());
    ExpectInStep(tree);
    DragThumbBelow(bar, 40);
    EXPECT_EQ(bar->Position(), bar->Max());
    EXPECT_EQ(Native(tree).nPos, bar->Max());
    ExpectInStep(tree);
}

TEST_F(TreeViewTest, ExpandingABranchPastThePageShowsTheBarAtOnceAndCollapsingHidesIt) {
    UseSkin(2);
    TsTreeView* tree = NewTree(3);
    EXPECT_TRUE(tree->VertBar() == nullptr || !tree->VertBar()->Visible());   // everything visible
    TTreeNode* branch = tree->Items()->GetFirstNode();
    for (int i = 0; i < 30; ++i) tree->Items()->AddChild(branch, "Child " + std::to_string(i));
    Pump();
    branch->SetExpanded(true);
    Pump();
    ExpectInStep(tree);
    branch->SetExpanded(false);
    Pump();
    ASSERT_NE(tree->VertBar(), nullptr);
    EXPECT_FALSE(tree->VertBar()->Visible());
}

TEST_F(TreeViewTest, NarrowOrLowTreesShowNoBarsUntilTheyReachSixteenPixels) {
    UseSkin(0);
    for (auto [w, h] : {std::pair {15, 120}, {160, 15}}) {
        TsTreeView* tree = NewTree(40, w, h);
        EXPECT_EQ(tree->VertBar(), nullptr) << w << " x " << h;
        EXPECT_EQ(tree->HorzBar(), nullptr);
        tree->SetBounds(tree->Left(), tree->Top(), std::max(w, 16), std::max(h, 60));
        Pump();
        ASSERT_NE(tree->VertBar(), nullptr) << w << " x " << h;
        EXPECT_TRUE(tree->VertBar()->Visible());
        // The bar takes its width once, when made: at most the tree's width less the frames.
        const int made = std::min(user::GetSystemMetrics(user::SM_CXVSCROLL), tree->Width() - 6);
        EXPECT_EQ(tree->VertBar()->Width(), made);
        tree->SetBounds(tree->Left(), tree->Top(), 160, 120);
        Pump();
        EXPECT_EQ(tree->VertBar()->Width(), made);
        delete tree;
        Pump();
    }
}

TEST_F(TreeViewTest, SkinnedTheBorderGoesAndTheFramePaintedAndRemovingTheSkinRestoresBoth) {
    TsTreeView* tree = NewTree(40);
    EXPECT_EQ(tree->BorderStyle(), bsSingle);
    UseSkin(3);
    EXPECT_EQ(tree->BorderStyle(), bsNone);
    // The client area lies 3 pixels inside on each side (beside the native bar), where the frame is painted.
    user::RECT client;
    user::GetClientRect(tree->Handle(), &client);
    EXPECT_EQ(client.right, tree->Width() - 6 - user::GetSystemMetrics(user::SM_CXVSCROLL));
    EXPECT_EQ(client.bottom, tree->Height() - 6);
    const TPoint origin = tree->ClientToScreen(TPoint {0, 0});
    const TPoint corner = Form->ClientToScreen(TPoint {tree->Left(), tree->Top()});
    EXPECT_EQ(origin.x - corner.x, 3);
    EXPECT_EQ(origin.y - corner.y, 3);
    // The skinned bars come with the new skin itself, not only with the next key the tree hears.
    ExpectInStep(tree);
    tree->SetFocus();
    Pump();
    Key(user::VK_DOWN);
    ExpectInStep(tree);
    const TColor sectionColor = tree->Color();
    UseSkin(-1);
    EXPECT_EQ(tree->BorderStyle(), bsSingle);
    EXPECT_EQ(tree->VertBar(), nullptr);
    EXPECT_EQ(tree->Color(), clWindow);
    EXPECT_EQ(tree->Font()->Color(), clWindowText);
    EXPECT_NE(user::GetWindowLongPtr(tree->Handle(), user::GWL_STYLE) & user::WS_VSCROLL, 0);   // the native bar is back
    EXPECT_EQ(tree->Items()->Count(), 40);
    UseSkin(3);
    EXPECT_EQ(tree->Color(), sectionColor);
}

// Skinned, the native border goes and the client area keeps 3 pixels for the painted frame beside what the
// border width takes: the frame strips are as wide as both.
TEST_F(TreeViewTest, TheClientAreaLiesInsideTheBorderWidthAndThePaintedFrame) {
    for (const int border : {0, 2}) {
        UseSkin(-1);
        TsTreeView* tree = NewTree(3);
        tree->SetBorderWidth(border);
        UseSkin(1);
        ASSERT_EQ(tree->BorderStyle(), bsNone);
        const TPoint origin = tree->ClientToScreen(TPoint {0, 0});
        const TPoint corner = Form->ClientToScreen(TPoint {tree->Left(), tree->Top()});
        EXPECT_EQ(origin.x - corner.x, border + 3) << border;
        EXPECT_EQ(origin.y - corner.y, border + 3) << border;
        EXPECT_EQ(tree->ClientWidth(), tree->Width() - 2 * (border + 3)) << border;
        tree->Free();
    }
}

// A turn of the wheel scrolls the native tree; the skinned bar shows where it went.
TEST_F(TreeViewTest, TheWheelScrollsTheTreeAndTheBarFollows) {
    UseSkin(0);
    TsTreeView* tree = NewTree(60);
    ASSERT_NE(tree->VertBar(), nullptr);
    tree->SetFocus();
    Pump();
    const TPoint p = tree->ClientToScreen(TPoint {40, 40});
    Display->Wheel(p.x, p.y, -120);
    Pump();
    EXPECT_GT(Native(tree).nPos, 0);
    ExpectInStep(tree);
}

TEST_F(TreeViewTest, ColoursComeFromTheSectionUnlessCustomAndReachTheNativeTree) {
    UseSkin(0);
    TsTreeView* early = NewTree(3);   // made in code under a skin and never loaded: painting keeps its colours
    EXPECT_EQ(early->Color(), clWindow);
    early->Free();
    TsTreeView* tree = NewTree(3);
    UseSkin(1);
    const TsGeneralData& section = Manager->Sections[std::size_t(tree->SkinData()->SkinIndex)];
    EXPECT_EQ(tree->Color(), section.Color);
    EXPECT_EQ(tree->Font()->Color(), section.FontColor[1]);
    EXPECT_EQ(gdi::COLORREF(user::SendMessage(tree->Handle(), user::TVM_GETBKCOLOR, 0, 0)),
        gdi::COLORREF(ColorToRGB(section.Color) & 0xFFFFFF));
    tree->SkinData()->SetCustomColor(true);
    tree->SkinData()->SetCustomFont(true);
    tree->SetColor(clYellow);
    tree->Font()->SetColor(clRed);
    UseSkin(-1);
    EXPECT_EQ(tree->Color(), clYellow);
    UseSkin(2);
    EXPECT_EQ(tree->Color(), clYellow);
    EXPECT_EQ(tree->Font()->Color(), clRed);
}

}

// A tree shown when a skin is chosen, unfocused and focused, in each skin: three frame strips, then the client;
// inside the line the skin draws, the tree's own colour on every side (no native edge left dark).
TEST_F(TreeViewTest, TheFrameInsideItsLineTakesTheTreesColourFocusedOrNot) {
    for (int skin = 0; skin < 4; ++skin) {
        UseSkin(-1);
        TsTreeView* tree = NewTree(3);
        UseSkin(skin);
        // How far a pixel of the tree's window (frame included) lies from the tree's colour: the largest channel
        // difference.
        auto off = [&](int x, int y) {
            const gdi::COLORREF c = ScreenPixels(Form, TRect {tree->Left() + x, tree->Top() + y, tree->Left() + x + 1,
                                                           tree->Top() + y + 1})[0];
            const gdi::COLORREF inside = gdi::COLORREF(ColorToRGB(tree->Color()));
            int most = 0;
            for (int shift = 0; shift <= 16; shift += 8)
                most = std::max(most, std::abs(int((c >> shift) & 0xFF) - int((inside >> shift) & 0xFF)));
            return most;
        };
        for (const bool focused : {false, true}) {
            SCOPED_TRACE(testing::Message() << "skin " << skin << (focused ? " focused" : ""));
            if (focused) tree->SetFocus();
            Pump();
            const int w = tree->Width(), h = tree->Height();
            // The client area starts right after the three strips, whatever native border the tree was made with.
            const TPoint origin = tree->ClientToScreen(TPoint {0, 0});
            const TPoint corner = Form->ClientToScreen(TPoint {tree->Left(), tree->Top()});
            EXPECT_EQ(origin.x - corner.x, 3);
            EXPECT_EQ(origin.y - corner.y, 3);
            for (int strip = 2; strip < 5; ++strip) {
                EXPECT_LE(off(w / 2, strip), 8) << "top " << strip;
                EXPECT_LE(off(w / 2, h - 1 - strip), 8) << "bottom " << strip;
                EXPECT_LE(off(strip, h / 2), 8) << "left " << strip;
            }
        }
        tree->Free();
    }
}
