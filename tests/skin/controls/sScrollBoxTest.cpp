// TsScrollBox: scrolling by wheel and by ScrollBy, clamped to the bars' ranges at both ends, skinned or not.
#include "support/ControlsHost.h"
#include "support/SkinControlsKit.h"
#include "support/SkinFixtures.h"

#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sScrollBox.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

#include <climits>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class ScrollBoxTest : public SkinControlsTest, public ::testing::WithParamInterface<int> {
protected:
    TsScrollBox* Box = nullptr;
    TsPanel* Last = nullptr;

    void Build(TForm* form) {
        Box = Create<TsScrollBox>(form);
        Box->SetBounds(10, 10, 160, 100);
        Box->SetParent(form);
        for (int i = 0; i < 10; ++i) {
            auto* row = Create<TsPanel>(form);
            row->SetBounds(0, i * 30, 120, 30);
            row->SetCaption("Row " + std::to_string(i));
            row->SetParent(Box);
            Last = row;
        }
        Pump();
    }
};

TEST_P(ScrollBoxTest, ScrollByIsClampedToTheBarAtBothEnds) {
    TForm* form = NewForm();
    test::ManagerHost host;
    if (GetParam() >= 0) controlstest::LoadOurSkin(*host.NewManager(), GetParam());
    Build(form);
    EXPECT_EQ(PaintsSkinned(Box->SkinData()), GetParam() >= 0);
    const int maxPos = Box->VertScrollBar()->Range() - Box->ClientHeight();
    ASSERT_GT(maxPos, 0);
    int before = 0, after = 0;
    Box->OnBeforeScroll = [&](TObject*) { ++before; };
    Box->OnAfterScroll = [&](TObject*) { ++after; };

    Box->ScrollBy(0, 0);   // the events are the skinned scroll's
    EXPECT_EQ(before, GetParam() >= 0 ? 1 : 0);
    EXPECT_EQ(after, before);
    Box->ScrollBy(0, 50);   // already at the top: nothing moves
    EXPECT_EQ(Box->VertScrollBar()->Position(), 0);
    EXPECT_EQ(Last->Top(), 270);
    Box->ScrollBy(0, INT_MIN);   // far past the end
    EXPECT_EQ(Box->VertScrollBar()->Position(), maxPos);
    EXPECT_EQ(Last->Top(), 270 - maxPos);
    Box->ScrollBy(-40, 0);   // no horizontal bar: no horizontal move
    EXPECT_EQ(Last->Left(), 0);
    Box->ScrollBy(0, INT_MAX);
    EXPECT_EQ(Box->VertScrollBar()->Position(), 0);
    EXPECT_EQ(Last->Top(), 270);
    Pump();
}

TEST_P(ScrollBoxTest, WheelEventsScrollThroughTheApplicationsHandlers) {
    TForm* form = NewForm();
    test::ManagerHost host;
    if (GetParam() >= 0) controlstest::LoadOurSkin(*host.NewManager(), GetParam());
    Build(form);
    Box->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& handled) {
        Box->ScrollBy(0, -25);
        handled = true;
    };
    Box->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool& handled) {
        Box->ScrollBy(0, 25);
        handled = true;
    };
    user::SetFocus(Box->Handle());   // wheel messages go to the focused window
    const TPoint p = Box->ClientToScreen(TPoint {130, 50});
    for (int i = 0; i < 20; ++i)
        Display->Wheel(p.x, p.y, -120);
    Pump();
    const int maxPos = Box->VertScrollBar()->Range() - Box->ClientHeight();
    EXPECT_EQ(Box->VertScrollBar()->Position(), maxPos);
    EXPECT_EQ(Last->Top() + Last->Height(), Box->ClientHeight());   // the last row ends at the bottom
    Display->Wheel(p.x, p.y, 120);
    Pump();
    EXPECT_EQ(Box->VertScrollBar()->Position(), maxPos - 25);
}

TEST_P(ScrollBoxTest, ItsCacheAnswerPlacesTheAskerInsideItsFrame) {
    TForm* form = NewForm();
    test::ManagerHost host;
    if (GetParam() >= 0) controlstest::LoadOurSkin(*host.NewManager(), GetParam());
    Build(form);
    struct Case {
        TFormBorderStyle Border;
        int Offset;   // where the client area starts in the cache
    };
    for (const Case& c : {Case {bsNone, 0}, Case {bsSingle, 2}}) {
        Box->SetBorderStyle(c.Border);
        Pump();
        const TsParentCacheInfo answer = AskCache(Box->Handle());
        if (GetParam() < 0) {
            EXPECT_FALSE(answer.Ready);
            continue;
        }
        ASSERT_TRUE(answer.Ready);
        EXPECT_EQ(answer.Bmp, Box->SkinData()->CacheBmp());
        EXPECT_EQ(answer.X, c.Offset);
        EXPECT_EQ(answer.Y, c.Offset);
    }
}

INSTANTIATE_TEST_SUITE_P(SkinnedAndPlain, ScrollBoxTest, ::testing::Values(-1, 1),
    [](const auto& info) { return info.param < 0 ? std::string("NoSkin") : "Skin" + std::to_string(info.param); });

}
