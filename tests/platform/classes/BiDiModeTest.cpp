// Reading order: a control takes its parent's mode while ParentBiDiMode is on, forms take the application's,
// every change is announced, the window's styles follow, and the mode is stored only where it is the control's own.
#include "support/ControlsTestKit.h"
#include "support/RoundTrip.h"

#include "platform/classes/TReader.h"
#include "platform/classes/TWriter.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class BiDiModeTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        RegisterControlTestClasses();
    }
    void TearDown() override {
        Application->SetBiDiMode(bdLeftToRight);
        ControlsTest::TearDown();
    }
};

TEST_F(BiDiModeTest, AChildFollowsItsParentAndHearsOfEachChange) {
    TForm* form = NewForm();
    auto* panel = Create<TBoxPanel>(form);
    panel->SetParent(form);
    auto* label = Create<TTextLabel>(form);
    label->SetParent(panel);
    panel->Log.Clear();
    label->Log.Clear();

    form->SetBiDiMode(bdRightToLeft);

    EXPECT_FALSE(form->ParentBiDiMode());
    EXPECT_EQ(panel->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(label->BiDiMode(), bdRightToLeft);
    EXPECT_TRUE(panel->ParentBiDiMode());
    EXPECT_TRUE(label->ParentBiDiMode());
    const std::vector<UINT> heard {CM_PARENTBIDIMODECHANGED, CM_BIDIMODECHANGED};
    EXPECT_EQ(panel->Log.Only({CM_PARENTBIDIMODECHANGED, CM_BIDIMODECHANGED}), heard);
    EXPECT_EQ(label->Log.Only({CM_PARENTBIDIMODECHANGED, CM_BIDIMODECHANGED}), heard);

    // The same mode again announces nothing further down.
    panel->Log.Clear();
    form->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(panel->Log.Count(CM_BIDIMODECHANGED), 0);
}

TEST_F(BiDiModeTest, AnOwnModeStopsFollowingUntilParentBiDiModeIsOnAgain) {
    TForm* form = NewForm();
    auto* panel = Create<TBoxPanel>(form);
    panel->SetParent(form);
    panel->SetBiDiMode(bdRightToLeftReadingOnly);
    EXPECT_FALSE(panel->ParentBiDiMode());

    form->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(panel->BiDiMode(), bdRightToLeftReadingOnly);

    panel->Log.Clear();
    panel->SetParentBiDiMode(true);
    EXPECT_EQ(panel->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(panel->Log.Count(CM_BIDIMODECHANGED), 1);
}

TEST_F(BiDiModeTest, AControlPutOnAParentTakesItsMode) {
    TForm* form = NewForm();
    form->SetBiDiMode(bdRightToLeftNoAlign);
    auto* label = Create<TTextLabel>(form);
    label->SetParent(form);
    EXPECT_EQ(label->BiDiMode(), bdRightToLeftNoAlign);
}

TEST_F(BiDiModeTest, FormsFollowTheApplication) {
    TForm* before = NewForm();
    auto* panel = Create<TBoxPanel>(before);
    panel->SetParent(before);
    TForm* own = NewForm();
    own->SetBiDiMode(bdLeftToRight);

    Application->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(before->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(panel->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(own->BiDiMode(), bdLeftToRight);
    TForm* after = NewForm();
    EXPECT_EQ(after->BiDiMode(), bdRightToLeft);
    EXPECT_TRUE(after->ParentBiDiMode());

    Application->SetBiDiMode(bdLeftToRight);
    EXPECT_EQ(before->BiDiMode(), bdLeftToRight);
    EXPECT_EQ(after->BiDiMode(), bdLeftToRight);
}

struct BiDiUseCase {
    TBiDiMode Mode;
    bool Alignment;
    bool Reading;
    bool ScrollBar;
};

TEST_F(BiDiModeTest, EachModeAsksForItsOwnMirroring) {
    const BiDiUseCase cases[] = {
        {bdLeftToRight, false, false, false},
        {bdRightToLeft, true, true, true},
        {bdRightToLeftNoAlign, false, true, true},
        {bdRightToLeftReadingOnly, false, true, false},
    };
    TForm* form = NewForm();
    for (const BiDiUseCase& c : cases) {
        SCOPED_TRACE(BiDiModeIdents[c.Mode]);
        form->SetBiDiMode(c.Mode);
        EXPECT_EQ(form->UseRightToLeftAlignment(), c.Alignment);
        EXPECT_EQ(form->UseRightToLeftReading(), c.Reading);
        EXPECT_EQ(form->UseRightToLeftScrollBar(), c.ScrollBar);
        EXPECT_EQ(form->IsRightToLeft(), c.Mode != bdLeftToRight);
    }
}

struct TextFlagsCase {
    TBiDiMode Mode;
    unsigned In;
    unsigned Out;
};

TEST_F(BiDiModeTest, TextFlagsSwapTheSidesAndReadRightToLeft) {
    using namespace korvex::gdi;
    const TextFlagsCase cases[] = {
        {bdLeftToRight, DT_LEFT | DT_WORDBREAK, DT_LEFT | DT_WORDBREAK},
        {bdLeftToRight, DT_RIGHT, DT_RIGHT},
        {bdRightToLeft, DT_LEFT | DT_WORDBREAK, DT_RIGHT | DT_WORDBREAK | DT_RTLREADING},
        {bdRightToLeft, DT_RIGHT | DT_VCENTER, DT_LEFT | DT_VCENTER | DT_RTLREADING},
        {bdRightToLeft, DT_CENTER, DT_CENTER | DT_RTLREADING},
        {bdRightToLeftNoAlign, DT_LEFT, DT_LEFT | DT_RTLREADING},
        {bdRightToLeftReadingOnly, DT_RIGHT, DT_RIGHT | DT_RTLREADING},
    };
    TForm* form = NewForm();
    auto* label = Create<TTextLabel>(form);
    label->SetParent(form);
    for (const TextFlagsCase& c : cases) {
        SCOPED_TRACE(BiDiModeIdents[c.Mode]);
        label->SetBiDiMode(c.Mode);
        EXPECT_EQ(label->DrawTextBiDiModeFlags(c.In), c.Out);
    }
}

TEST_F(BiDiModeTest, TheWindowIsMadeAgainWithTheModesStyles) {
    TForm* form = NewForm();
    auto* panel = Create<TBoxPanel>(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 100, 50);
    ASSERT_TRUE(Pump());
    const user::HWND before = panel->Handle();
    const user::DWORD mask = user::WS_EX_RIGHT | user::WS_EX_RTLREADING | user::WS_EX_LEFTSCROLLBAR;
    EXPECT_EQ(user::GetWindowLong(before, user::GWL_EXSTYLE) & mask, 0u);

    form->SetBiDiMode(bdRightToLeft);
    ASSERT_TRUE(Pump());
    EXPECT_EQ(user::DWORD(user::GetWindowLong(panel->Handle(), user::GWL_EXSTYLE)) & mask, mask);

    form->SetBiDiMode(bdRightToLeftReadingOnly);
    ASSERT_TRUE(Pump());
    EXPECT_EQ(user::DWORD(user::GetWindowLong(panel->Handle(), user::GWL_EXSTYLE)) & mask, user::WS_EX_RTLREADING);
}

TEST_F(BiDiModeTest, TheModeIsStoredOnlyWhereItIsTheControlsOwn) {
    TForm* form = NewForm();
    auto* panel = Create<TBoxPanel>(form);
    panel->SetName("Panel1");
    panel->SetParent(form);
    form->SetBiDiMode(bdRightToLeft);
    std::string inherited = WriteComponent(panel);
    EXPECT_EQ(inherited.find("BiDiMode"), std::string::npos) << inherited;

    panel->SetBiDiMode(bdRightToLeftNoAlign);
    TForm* other = NewForm();
    const std::string own = ExpectRoundTrip(panel, other);
    EXPECT_NE(own.find("BiDiMode = bdRightToLeftNoAlign"), std::string::npos) << own;
    EXPECT_NE(own.find("ParentBiDiMode = False"), std::string::npos) << own;

    auto* read = dynamic_cast<TBoxPanel*>(ReadComponent(own, other));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->BiDiMode(), bdRightToLeftNoAlign);
    EXPECT_FALSE(read->ParentBiDiMode());
    read->Free();
}

}
