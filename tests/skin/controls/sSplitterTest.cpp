// TsSplitter: hot under the mouse, pressed while dragged with rsUpdate, hints off during the drag, plain face.
#include "support/ControlsKit.h"

#include "platform/classes/Colors.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TCanvas.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sSplitter.h"
#include "platform/user/MessageIds.h"
#include "platform/user/UserTypes.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

#include <utility>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

// The paint messages a splitter gets, with whether each came with a DC.
struct SplitterPaintSeen {
    unsigned Msg;
    bool WithDc;
    bool operator==(const SplitterPaintSeen&) const = default;
};

class TsSplitterTest : public ControlsTest {
protected:
    void Build() {
        left = Create<TsPanel>(Form);
        left->SetWidth(100);
        left->SetAlign(alLeft);
        left->SetParent(Form);
        splitter = Create<TsSplitter>(Form);
        splitter->SetLeft(110);
        splitter->SetAlign(alLeft);
        splitter->SetResizeStyle(rsUpdate);
        splitter->SetParent(Form);
        right = Create<TsPanel>(Form);
        right->SetAlign(alClient);
        right->SetParent(Form);
        Pump();
    }
    TsPanel* left = nullptr;
    TsSplitter* splitter = nullptr;
    TsPanel* right = nullptr;

    // Records the splitter's paint messages into seen; gives back the window procedure to put back.
    TWndMethod RecordSplitterPaints(std::vector<SplitterPaintSeen>& seen) {
        const TWndMethod inner = splitter->WindowProc;
        splitter->WindowProc = [&seen, inner](TMessage& m) {
            if (m.Msg == user::WM_PAINT || m.Msg == user::WM_NCPAINT) seen.push_back({m.Msg, m.WParam != 0});
            inner(m);
        };
        return inner;
    }
};

// OnPaint follows the splitter's own painting, skinned or not.
TEST_F(TsSplitterTest, OnPaintFollowsEveryPaintSkinnedOrNot) {
    for (const int skin : {1, -1}) {
        UseSkin(skin);
        Build();
        int painted = 0;
        splitter->OnPaint = [&](TObject* sender) {
            EXPECT_EQ(sender, splitter);
            ++painted;
        };
        splitter->Invalidate();
        Pump();
        EXPECT_GE(painted, 1) << skin;
        splitter->OnPaint = nullptr;
    }
}

TEST_F(TsSplitterTest, DraggingShowsThePressedStateWithHintsOffAndResizes) {
    UseSkin(1);
    Build();
    ASSERT_EQ(splitter->Width(), 6);
    ASSERT_TRUE(splitter->SkinData()->Skinned(true));
    EXPECT_EQ(splitter->SkinData()->SkinSection(), "SPLITTER");
    const gdi::COLORREF normal = ScreenPixel(splitter, 3, 50);
    MoveTo(splitter, 3, 50);
    EXPECT_EQ(splitter->SkinState(), 1);
    const gdi::COLORREF hot = ScreenPixel(splitter, 3, 50);
    EXPECT_NE(hot, normal);
    Application->SetShowHint(true);
    DownAt(splitter, 3, 50);
    EXPECT_EQ(splitter->SkinState(), 2);
    EXPECT_FALSE(Application->ShowHint());
    UpAt(splitter, 3, 50);
    EXPECT_EQ(splitter->SkinState(), 1);
    EXPECT_TRUE(Application->ShowHint());
    MoveTo(Form, 250, 150);
    EXPECT_EQ(splitter->SkinState(), 0);
    EXPECT_EQ(ScreenPixel(splitter, 3, 50), normal);
}

TEST_F(TsSplitterTest, SkinSwitchWhileShownAndThePlainFace) {
    UseSkin(0);
    Build();
    const gdi::COLORREF mac = ScreenPixel(splitter, 3, 50);
    UseSkin(2);
    EXPECT_NE(ScreenPixel(splitter, 3, 50), mac);
    UseSkin(-1);
    EXPECT_FALSE(splitter->SkinData()->Skinned(true));
    EXPECT_EQ(splitter->SkinData()->CacheBmp(), nullptr);   // no cache kept between paints
    EXPECT_EQ(ScreenPixel(splitter, 3, 50), gdi::COLORREF(ColorToRGB(Form->Color())));
}

// The end of the parent's update is answered with a WM_PAINT the splitter sends itself, no DC with it.
TEST_F(TsSplitterTest, ParentUpdatedSendsItselfAPaintMessage) {
    UseSkin(1);
    Build();
    std::vector<SplitterPaintSeen> seen;
    const TWndMethod inner = RecordSplitterPaints(seen);
    splitter->SkinData()->Updating = true;
    splitter->Perform(SM_SKINCMD, SkinCommandWParam(SMC_PARENTUPDATED), 0);
    EXPECT_FALSE(splitter->SkinData()->Updating);
    const std::vector<SplitterPaintSeen> want {{user::WM_PAINT, false}};
    EXPECT_EQ(seen, want);
    // Not updating: the notice asks for nothing.
    seen.clear();
    splitter->Perform(SM_SKINCMD, SkinCommandWParam(SMC_PARENTUPDATED), 0);
    EXPECT_TRUE(seen.empty());
    splitter->WindowProc = inner;
}

// Mouse enter and leave repaint the frame then the face, focus changes the face then the frame, skinned or not.
TEST_F(TsSplitterTest, HoverAndFocusChangesRepaintSkinnedOrNot) {
    for (const int skin : {1, -1}) {
        UseSkin(skin);
        Build();
        std::vector<SplitterPaintSeen> seen;
        const TWndMethod inner = RecordSplitterPaints(seen);
        const std::vector<SplitterPaintSeen> frameFirst {{user::WM_NCPAINT, false}, {user::WM_PAINT, true}};
        const std::vector<SplitterPaintSeen> faceFirst {{user::WM_PAINT, true}, {user::WM_NCPAINT, false}};
        const std::pair<unsigned, bool> cases[] = {{CM_MOUSEENTER, true}, {CM_MOUSELEAVE, true}, {CM_ENTER, false},
            {CM_EXIT, false}, {user::WM_SETFOCUS, false}, {user::WM_KILLFOCUS, false}};
        for (const auto& [msg, hover] : cases) {
            seen.clear();
            splitter->Perform(msg, 0, 0);
            EXPECT_EQ(seen, hover ? frameFirst : faceFirst) << skin << " " << msg;
        }
        EXPECT_FALSE(splitter->SkinData()->Focused);
        splitter->WindowProc = inner;
    }
}

// Every mouse-up gives back the hint setting saved at the last press.
TEST_F(TsSplitterTest, MouseUpRestoresTheSavedHintSetting) {
    UseSkin(1);
    Build();
    Application->SetShowHint(true);
    DownAt(splitter, 3, 50);
    EXPECT_FALSE(Application->ShowHint());
    UpAt(splitter, 3, 50);
    EXPECT_TRUE(Application->ShowHint());
    Application->SetShowHint(false);
    splitter->Perform(user::WM_LBUTTONUP, 0, user::MAKELPARAM(3, 50));
    EXPECT_TRUE(Application->ShowHint());
}

// A splitter in a designer.
class TsDesignedSplitter : public TsSplitter {
public:
    explicit TsDesignedSplitter(TComponent* owner)
        : TsSplitter(owner) {
        IncludeState(csDesigning);
    }
};

// In a designer the skinned face gets a dotted xor frame round the client area; the canvas keeps its pen.
TEST_F(TsSplitterTest, ADesignedSplitterShowsADottedFrame) {
    UseSkin(1);
    auto* designed = Create<TsDesignedSplitter>(Form);
    designed->SetBounds(200, 20, 6, 60);
    designed->SetParent(Form);
    splitter = Create<TsSplitter>(Form);
    splitter->SetBounds(220, 20, 6, 60);
    splitter->SetParent(Form);
    Pump();
    ASSERT_TRUE(designed->SkinData()->Skinned(true));
    const TRect edge {0, 0, 6, 60};
    const std::vector<gdi::COLORREF> plain = ScreenPixels(splitter, edge);
    const std::vector<gdi::COLORREF> framed = ScreenPixels(designed, edge);
    ASSERT_EQ(plain.size(), framed.size());
    int changed = 0;
    for (size_t i = 0; i < plain.size(); ++i) {
        const int x = int(i) % 6;
        const int y = int(i) / 6;
        const bool onFrame = x == 0 || x == 5 || y == 0 || y == 59;
        if (!onFrame) EXPECT_EQ(framed[i], plain[i]) << x << "," << y;
        else if (framed[i] != plain[i]) ++changed;
    }
    EXPECT_GT(changed, 0);
    EXPECT_EQ(designed->Canvas()->Pen()->Mode(), pmCopy);
    EXPECT_EQ(designed->Canvas()->Pen()->Style(), psSolid);
}

// The skin's removal and a refresh repaint the splitter at once.
TEST_F(TsSplitterTest, RemovingTheSkinOrARefreshRepaintsAtOnce) {
    for (const int code : {SMC_REFRESH, SMC_REMOVESKIN}) {
        UseSkin(1);
        Build();
        std::vector<SplitterPaintSeen> seen;
        const TWndMethod inner = RecordSplitterPaints(seen);
        splitter->Perform(SM_SKINCMD, SkinCommandWParam(code), LPARAM(splitter->SkinData()->SkinManager()));
        const std::vector<SplitterPaintSeen> want {{user::WM_PAINT, true}};
        EXPECT_EQ(seen, want) << code;
        splitter->WindowProc = inner;
    }
    EXPECT_FALSE(splitter->SkinData()->Skinned(true));
}

}
