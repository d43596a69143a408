// Tests for the caption buttons of a skinned form: which buttons a form's style and icons give, their
// places right to left, the index and band hit testing, and the hot and pressed states.
#include "support/WindowsKit.h"

#include "skin/windows/sCaptionButtons.h"

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class CaptionButtons : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        UseSkin(0);
    }
};

TEST_F(CaptionButtons, TheStyleAndTheIconsGiveTheButtonsRightToLeft) {
    struct Row {
        TFormBorderStyle Style;
        TsBorderIcons Icons;
        std::vector<int> Codes;
    } rows[] {
        {bsSizeable, {biSystemMenu, biMinimize, biMaximize}, {htClose, htMaximize, htMinimize}},
        {bsSizeable, {biSystemMenu, biMinimize, biMaximize, biHelp}, {htClose, htMaximize, htMinimize, htHelp}},
        {bsSizeable, {biSystemMenu}, {htClose, htMaximize, htMinimize}},
        {bsSizeable, {biMinimize, biMaximize}, {}},
        {bsSingle, {biSystemMenu, biMaximize}, {htClose, htMaximize}},
        {bsSingle, {biSystemMenu, biMinimize}, {htClose, htMinimize}},
        {bsDialog, {biSystemMenu, biMinimize, biMaximize}, {htClose}},
        {bsToolWindow, {biSystemMenu, biMinimize, biMaximize}, {htClose}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.Style));
        TForm* form = NewSkinnedForm(row.Style, row.Icons);
        TsCaptionButtons& buttons = ProviderOf(form)->CaptionButtons();
        EXPECT_EQ(buttons.VisibleCodes(), row.Codes);
        form->Close();
        Pump();
    }
}

TEST_F(CaptionButtons, PlacedButtonsTouchFromTheFrameLeftwardsAndAreFoundByIndex) {
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize, biHelp});
    TsSkinProvider* p = ProviderOf(form);
    TsCaptionButtons& buttons = p->CaptionButtons();
    buttons.Place();
    const std::vector<int> codes = buttons.VisibleCodes();
    ASSERT_EQ(codes.size(), 4u);
    int right = p->FormWidth() - p->SysBorderWidth();
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const TRect r = buttons.OfCode(codes[i])->Rect;
        EXPECT_EQ(r.right, right);
        EXPECT_EQ(r.Width(), buttons.WidthOfCode(codes[i]));
        EXPECT_EQ(r.Height(), buttons.ButtonHeight());
        EXPECT_EQ(buttons.IndexAt((r.left + r.right) / 2), int(i) + 1);
        right = r.left;
    }
    EXPECT_EQ(p->FormWidth() - p->SysBorderWidth() - right, buttons.TotalWidth());
    EXPECT_EQ(buttons.IndexAt(right - 5), 0);
}

TEST_F(CaptionButtons, TheBandAnswersOnlyOnTheTitleBand) {
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSkinProvider* p = ProviderOf(form);
    TsCaptionButtons& buttons = p->CaptionButtons();
    buttons.Place();
    const TRect close = buttons.Button(cbClose).Rect;
    const TPoint onClose {(close.left + close.right) / 2, (close.top + close.bottom) / 2};
    EXPECT_EQ(buttons.HitTestBand(onClose), htClose);
    EXPECT_EQ(buttons.HotCode(), htClose);
    EXPECT_EQ(buttons.Button(cbClose).State, 1);
    EXPECT_EQ(buttons.HitTestBand(TPoint {p->FormWidth() / 2, onClose.y}), htCaption);
    EXPECT_EQ(buttons.HitTestBand(TPoint {p->FormWidth() / 2, p->HeaderHeight() + 20}), std::nullopt);
    p->SetHotHT(0);
    EXPECT_EQ(buttons.Button(cbClose).State, 0);
}

TEST_F(CaptionButtons, APressIsRecordedUntilTheHotButtonChanges) {
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsCaptionButtons& buttons = ProviderOf(form)->CaptionButtons();
    buttons.Place();
    buttons.SetPressed(htMinimize);
    EXPECT_TRUE(CaptionButtonDown());
    EXPECT_EQ(buttons.Button(cbMinimize).State, 2);
    EXPECT_EQ(buttons.HotCode(), htMinimize);
    buttons.SetHot(htClose);
    EXPECT_FALSE(CaptionButtonDown());
    EXPECT_EQ(buttons.Button(cbMinimize).State, 0);
    EXPECT_EQ(buttons.Button(cbClose).State, 1);
    buttons.SetHot(0);
    EXPECT_EQ(buttons.Button(cbClose).State, 0);
}

}
}
