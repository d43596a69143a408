// TsRichEdit on the headless display: the skinned bars in step with the native rich edit through scroll
// messages, the skinned bar itself, wheel and keys; bars wanted by the text's extent; colours from the section;
// coloured ranges, selection and clipboard; skin removal.
#include "support/ControlsHost.h"
#include "support/ControlsKit.h"

#include "platform/classes/TStringStream.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/controls/EditConstants.h"
#include "skin/controls/sRichEdit.h"
#include "skin/engine/sColorUtils.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

std::string LogText(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "[12:00:" + std::to_string(10 + i % 50) + "] Completed step " + std::to_string(i) + "\r\n";
    return text;
}

class RichEditTest : public ControlsTest {
protected:
    TsRichEdit* NewRich(const std::string& text, TScrollStyle bars = ssVertical, bool hide = true) {
        auto* rich = Create<TsRichEdit>(Form);
        rich->SetBounds(20, 20, 240, 120);
        rich->SetScrollBars(bars);
        rich->SetHideScrollBars(hide);
        rich->SetParent(Form);
        TStringStream stream(text);
        rich->Lines()->LoadFromStream(stream);
        Pump();
        return rich;
    }
    static user::SCROLLINFO Native(TsRichEdit* rich) {
        user::SCROLLINFO si;
        si.fMask = user::SIF_ALL;
        EXPECT_TRUE(user::GetScrollInfo(rich->Handle(), user::SB_VERT, &si));
        return si;
    }
    static int TopLine(TsRichEdit* rich) {
        return int(user::SendMessage(rich->Handle(), user::EM_GETFIRSTVISIBLELINE, 0, 0));
    }
    static void ExpectInStep(TsRichEdit* rich) {
        const user::SCROLLINFO si = Native(rich);
        TsScrollBar* bar = rich->VertBar();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->Position(), si.nPos);
        EXPECT_EQ(bar->Max(), si.nMax - int(si.nPage) + 1);
        EXPECT_EQ(bar->PageSize(), int(si.nPage));
    }
};

TEST_F(RichEditTest, ALoadedLogGetsASkinnedBarThatFollowsLineDownMessages) {
    UseSkin(1);
    TsRichEdit* rich = NewRich(LogText(80));
    ASSERT_NE(rich->VertBar(), nullptr);
    EXPECT_EQ(rich->HorzBar(), nullptr);
    EXPECT_TRUE(rich->VertBar()->Enabled());
    EXPECT_EQ(rich->VertBar()->SmallChange(), 16);
    ExpectInStep(rich);
    // The log viewer follows its end one line at a time.
    for (int i = 0; i < 3; ++i) user::SendMessage(rich->Handle(), user::WM_VSCROLL, user::SB_LINEDOWN, 0);
    EXPECT_EQ(TopLine(rich), 3);
    EXPECT_GT(rich->VertBar()->Position(), 0);
    ExpectInStep(rich);
}

TEST_F(RichEditTest, TheSkinnedBarsArrowsAndThumbScrollTheRichEditInStep) {
    UseSkin(0);
    TsRichEdit* rich = NewRich(LogText(80));
    TsScrollBar* bar = rich->VertBar();
    ASSERT_NE(bar, nullptr);
    ClickMiddle(bar, bar->PartRect(TsScrollPart::Arrow2));
    EXPECT_EQ(TopLine(rich), 1);
    ExpectInStep(rich);
    DragThumbBelow(bar, 50);
    // The rich edit scrolls by whole lines: the bar ends where the native position went, within a line.
    EXPECT_GT(bar->Position(), bar->Max() - 20);
    EXPECT_GT(TopLine(rich), 60);
    ExpectInStep(rich);
}

TEST_F(RichEditTest, WheelAndKeysMoveTheBarWithTheText) {
    UseSkin(2);
    TsRichEdit* rich = NewRich(LogText(80));
    ClickAt(rich, 10, 10);
    const TPoint p = rich->ClientToScreen(TPoint {60, 60});
    Display->Wheel(p.x, p.y, -120);
    Pump();
    EXPECT_GT(TopLine(rich), 0);
    ExpectInStep(rich);
    Display->Press(user::VK_END, "", user::ModControl);
    Pump();
    EXPECT_EQ(rich->VertBar()->Position(), rich->VertBar()->Max());
    ExpectInStep(rich);
}

// A key held down scrolls the text page by page; the bar keeps step before the key comes up.
TEST_F(RichEditTest, TheBarKeepsStepWithAKeyHeldDown) {
    UseSkin(0);
    TsRichEdit* rich = NewRich(LogText(80));
    ClickAt(rich, 10, 10);
    Display->KeyDown(user::VK_NEXT, "");
    Pump();
    Display->KeyDown(user::VK_NEXT, "");
    Pump();
    EXPECT_GT(TopLine(rich), 0);
    ExpectInStep(rich);
    Display->KeyUp(user::VK_NEXT);
    Pump();
    ExpectInStep(rich);
}

TEST_F(RichEditTest, ATextThatFitsHasNoBarOrADisabledOneWithMaxOne) {
    UseSkin(0);
    TsRichEdit* hidden = NewRich("Two lines\r\nonly");
    EXPECT_EQ(hidden->VertBar(), nullptr);
    auto* shown = NewRich("Two lines\r\nonly", ssVertical, false);
    ASSERT_NE(shown->VertBar(), nullptr);
    EXPECT_FALSE(shown->VertBar()->Enabled());
    EXPECT_EQ(shown->VertBar()->Min(), 0);
    EXPECT_EQ(shown->VertBar()->Max(), 1);
    TStringStream more(LogText(60));
    hidden->Lines()->LoadFromStream(more);
    Pump();
    ASSERT_NE(hidden->VertBar(), nullptr);
    ExpectInStep(hidden);
    auto* none = NewRich(LogText(60), ssNone);
    EXPECT_EQ(none->VertBar(), nullptr);
}

TEST_F(RichEditTest, ColoursComeFromTheSectionAndADisabledOnesFontIsMixed) {
    UseSkin(1);
    TsRichEdit* rich = NewRich(LogText(5));
    rich->SkinData()->Loaded();   // as a form read from its text does, the parent known
    Pump();
    const TsGeneralData& section = Manager->Sections[std::size_t(rich->SkinData()->SkinIndex)];
    EXPECT_EQ(rich->Color(), section.Color);
    EXPECT_EQ(rich->Font()->Color(), section.FontColor[1]);
    EXPECT_EQ(rich->DefAttributes()->Color(), section.FontColor[1]);
    rich->SetEnabled(false);
    Pump();
    EXPECT_EQ(rich->Font()->Color(), MixColors50(section.FontColor[1], section.Color));
    EXPECT_EQ(rich->DefAttributes()->Color(), rich->Font()->Color());
    rich->SetEnabled(true);
    Pump();
    EXPECT_EQ(rich->Font()->Color(), section.FontColor[1]);
}

// Disabling a shown rich edit disables its skinned bar with it; enabling gives the bar back its use.
TEST_F(RichEditTest, TheSkinnedBarFollowsTheRichEditsEnabledState) {
    UseSkin(0);
    TsRichEdit* rich = NewRich(LogText(60));
    ASSERT_NE(rich->VertBar(), nullptr);
    ASSERT_TRUE(rich->VertBar()->Enabled());
    rich->SetEnabled(false);
    Pump();
    ASSERT_NE(rich->VertBar(), nullptr);
    EXPECT_FALSE(rich->VertBar()->Enabled());
    rich->SetEnabled(true);
    Pump();
    ASSERT_NE(rich->VertBar(), nullptr);
    EXPECT_TRUE(rich->VertBar()->Enabled());
}

// A colour the program gives the rich edit stays through its paints; a refresh gives the default text the
// section's font colour again.
TEST_F(RichEditTest, AColourSetInCodeOutlivesPaintsAndARefreshResetsTheTextColour) {
    UseSkin(2);
    TsRichEdit* rich = NewRich(LogText(5));
    const TsGeneralData& section = Manager->Sections[std::size_t(rich->SkinData()->SkinIndex)];
    const TColor mine = section.Color == clRed ? clLime : clRed;
    rich->SetColor(mine);
    rich->DefAttributes()->SetColor(clBlue);
    rich->Invalidate();
    Pump();
    user::UpdateWindow(rich->Handle());
    Pump();
    EXPECT_EQ(rich->Color(), mine);
    EXPECT_EQ(rich->DefAttributes()->Color(), clBlue);
    rich->Perform(SM_SKINCMD, SkinCommandWParam(SMC_REFRESH, 0), LPARAM(rich->SkinData()->SkinManager()));
    Pump();
    EXPECT_EQ(rich->DefAttributes()->Color(), section.FontColor[1]);
}

TEST_F(RichEditTest, ColouredRangesSelectionAndClipboardWorkAsTheLogViewerUsesThem) {
    UseSkin(3);
    TsRichEdit* rich = NewRich(LogText(10));
    rich->SetReadOnly(true);
    rich->SetSelStart(0);
    rich->SetSelLength(9);
    rich->SelAttributes()->SetColor(0x0000FF);
    EXPECT_EQ(rich->SelAttributes()->Color(), 0x0000FF);
    rich->CopyToClipboard();
    EXPECT_EQ(Display->ClipboardText(), "[12:00:10");
    ClickAt(rich, 10, 10);
    Display->Press('X', "x");
    Pump();
    EXPECT_EQ(rich->Lines()->Count(), 10);
    EXPECT_EQ(rich->Lines()->Strings(0), "[12:00:10] Completed step 0");
}

TEST_F(RichEditTest, RemovingTheSkinFreesTheBarsAndKeepsTheText) {
    UseSkin(0);
    TsRichEdit* rich = NewRich(LogText(40), ssBoth);
    ASSERT_NE(rich->VertBar(), nullptr);
    UseSkin(-1);
    EXPECT_EQ(rich->VertBar(), nullptr);
    EXPECT_EQ(rich->HorzBar(), nullptr);
    EXPECT_EQ(rich->Lines()->Count(), 40);
    UseSkin(2);
    rich->UpdateScrolls();
    ASSERT_NE(rich->VertBar(), nullptr);
    ExpectInStep(rich);
}

}
