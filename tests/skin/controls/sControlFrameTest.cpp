// The message steps the skinned containers and item views share: the paint messages answered from the cache and
// the frame messages of the item views.
#include "support/ControlsKit.h"

#include "platform/classes/TBitmap.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Painting.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TWriter.h"
#include "skin/controls/sControlClasses.h"
#include "skin/controls/sControlFrame.h"
#include "skin/controls/sItemViewFrame.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sSplitter.h"
#include "skin/controls/sTreeView.h"

#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class SharedFrameMessages : public ControlsTest {
protected:
    TsPanel* NewPanel() {
        auto* panel = Create<TsPanel>(Form);
        panel->SetBounds(10, 10, 60, 40);
        panel->SetParent(Form);
        Pump();
        return panel;
    }
    // The form text of a new T after change, read back into another new T, which check must accept.
    template <class T, class Change, class Check>
    std::string RoundTrip(Change change, Check check) {
        auto* written = Create<T>(Form);
        change(written);
        const std::string text = WriteComponent(written);
        auto* read = Create<T>(Form);
        ReadRootComponent(read, text);
        EXPECT_TRUE(check(read)) << text;
        return text;
    }
};

TEST_F(SharedFrameMessages, AContainerAnswersEraseWithOneAndPaintsNothingThen) {
    UseSkin(0);
    TsPanel* panel = NewPanel();
    int paints = 0;
    TMessage m {user::WM_ERASEBKGND, 0, 0, 0};
    EXPECT_EQ(ContainerPaintMessage(m, panel, nullptr, TacHiddenPaint::Skip, [&](gdi::HDC) { ++paints; }), TacStep::Done);
    EXPECT_EQ(m.Result, 1);
    EXPECT_EQ(paints, 0);
}

TEST_F(SharedFrameMessages, AContainerLeavesOtherMessagesToItsCaller) {
    UseSkin(0);
    TsPanel* panel = NewPanel();
    int paints = 0;
    for (unsigned msg : {user::WM_SIZE, user::WM_NCPAINT, user::WM_PRINT, user::WM_SETFOCUS}) {
        TMessage m {msg, 0, 0, 0};
        EXPECT_EQ(ContainerPaintMessage(m, panel, nullptr, TacHiddenPaint::Paint, [&](gdi::HDC) { ++paints; }),
            TacStep::Continue)
            << msg;
        EXPECT_EQ(m.Result, 0) << msg;
    }
    EXPECT_EQ(paints, 0);
}

TEST_F(SharedFrameMessages, AHiddenContainerLeavesItsPaintToTheCallerUnlessItPaintsHiddenToo) {
    UseSkin(0);
    TsPanel* panel = NewPanel();
    panel->SetVisible(false);
    int paints = 0;
    TMessage skipped {user::WM_PAINT, 0, 0, 0};
    EXPECT_EQ(ContainerPaintMessage(skipped, panel, nullptr, TacHiddenPaint::Skip, [&](gdi::HDC) { ++paints; }),
        TacStep::Continue);
    EXPECT_EQ(paints, 0);
    TMessage painted {user::WM_PAINT, 0, 0, 0};
    EXPECT_EQ(ContainerPaintMessage(painted, panel, nullptr, TacHiddenPaint::Paint, [&](gdi::HDC) { ++paints; }),
        TacStep::Done);
    EXPECT_EQ(paints, 1);
}

// A paint into a given DC (a print) leaves the screen's pending update alone: the screen is repainted after it.
TEST_F(SharedFrameMessages, APrintWhileAnUpdateIsPendingLeavesTheScreenToBeRepainted) {
    UseSkin(1);
    TsPanel* panel = NewPanel();
    const gdi::COLORREF face = ScreenPixel(panel, 30, 20);
    ScribbleOver(panel);
    panel->Invalidate();
    EXPECT_EQ(gdi::COLORREF(PaintIntoBitmap(panel)->Canvas()->Pixels(30, 20)), face);
    Pump();
    EXPECT_EQ(ScreenPixel(panel, 30, 20), face);
}

// A paint draws the whole control, not only the part that was invalid.
TEST_F(SharedFrameMessages, APaintDrawsTheWholeContainerHoweverSmallTheUpdate) {
    UseSkin(1);
    TsPanel* panel = NewPanel();
    const gdi::COLORREF face = ScreenPixel(panel, 30, 20);
    ScribbleOver(panel);
    const gdi::RECT corner {0, 0, 4, 4};
    user::InvalidateRect(panel->Handle(), &corner, false);
    Pump();
    EXPECT_EQ(ScreenPixel(panel, 30, 20), face);
}

// Written as form text, a skinned control leaves out what equals its own published defaults and keeps what
// differs from them, so the text reads back as it was.
TEST_F(SharedFrameMessages, FormTextKeepsWhatDiffersFromTheControlsOwnDefaults) {
    RegisterSkinControlClasses();
    const std::string bar = RoundTrip<TsDragBar>([](TsDragBar*) { },
        [](TsDragBar* b) { return b->Align() == alTop && b->Color() == clActiveCaption; });
    EXPECT_EQ(bar.find("Align"), std::string::npos) << bar;
    EXPECT_EQ(bar.find("Color = clActiveCaption"), std::string::npos) << bar;
    RoundTrip<TsDragBar>([](TsDragBar* b) { b->SetAlign(alNone); },
        [](TsDragBar* b) { return b->Align() == alNone; });
    const std::string label = RoundTrip<TsLabel>([](TsLabel*) { },
        [](TsLabel* l) { return l->Transparent(); });
    EXPECT_EQ(label.find("Transparent"), std::string::npos) << label;
    RoundTrip<TsLabel>([](TsLabel* l) { l->SetTransparent(false); },
        [](TsLabel* l) { return !l->Transparent(); });
    const std::string split = RoundTrip<TsSplitter>([](TsSplitter*) { },
        [](TsSplitter* sp) { return sp->Width() == 6; });
    EXPECT_EQ(split.find("Width"), std::string::npos) << split;
    const std::string grid = RoundTrip<TsColorsPanel>([](TsColorsPanel*) { },
        [](TsColorsPanel* g) { return g->Width() == 140 && g->Height() == 60; });
    EXPECT_EQ(grid.find("Width"), std::string::npos) << grid;
    EXPECT_EQ(grid.find("Height"), std::string::npos) << grid;
}

TEST_F(SharedFrameMessages, AnItemViewPaintsItsFrameOnTheWindowDcForNcPaintOnly) {
    UseSkin(0);
    auto* tree = Create<TsTreeView>(Form);
    tree->SetBounds(10, 10, 100, 80);
    tree->SetParent(Form);
    Pump();
    std::vector<gdi::HDC> frames;
    TMessage nc {user::WM_NCPAINT, 1, 0, 0};
    EXPECT_EQ(ItemViewFrameMessage(nc, tree, [&](gdi::HDC dc) { frames.push_back(dc); }), TacStep::Done);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], nullptr);
    for (unsigned msg : {user::WM_PAINT, user::WM_ERASEBKGND, user::WM_SIZE}) {
        TMessage m {msg, 0, 0, 0};
        EXPECT_EQ(ItemViewFrameMessage(m, tree, [&](gdi::HDC dc) { frames.push_back(dc); }), TacStep::Continue) << msg;
    }
    EXPECT_EQ(frames.size(), 1u);
}

}
