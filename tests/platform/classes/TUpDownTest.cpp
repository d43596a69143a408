// TUpDown: position and range, the associated edit, OnChanging's veto and OnClick's direction.
#include "support/ControlsTestKit.h"

#include "platform/classes/TEdit.h"
#include "platform/classes/TUpDown.h"
#include "platform/user/Messages.h"
#include "platform/user/Window.h"
#include "platform/user/controls/UpDown.h"

#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class UpDownTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 200);
        Edit = Create<TEdit>(Form);
        Edit->SetBounds(10, 10, 80, 21);
        Edit->SetParent(Form);
        Spin = Create<TUpDown>(Form);
        Spin->SetParent(Form);
        Spin->SetMin(0);
        Spin->SetMax(10);
        Spin->SetAssociate(Edit);
        Spin->OnClick = [this](TObject*, TUDBtnType button) { Buttons.push_back(button); };
        Pump();
    }

    void ClickHalf(bool upper) {
        TPoint p = At(Spin, Spin->Width() / 2, upper ? 3 : Spin->Height() - 3);
        Display->Click(p.x, p.y);
        Pump();
    }

    TForm* Form = nullptr;
    TEdit* Edit = nullptr;
    TUpDown* Spin = nullptr;
    std::vector<TUDBtnType> Buttons;
};

TEST_F(UpDownTest, SitsBesideItsEditAndShowsThePosition) {
    Spin->SetPosition(7);
    EXPECT_EQ(Edit->Text(), "7");
    EXPECT_EQ(Spin->Left(), Edit->Left() + Edit->Width());
    EXPECT_EQ(Spin->Height(), Edit->Height());
}

TEST_F(UpDownTest, ArrowsStepAndReportTheirDirection) {
    Spin->SetPosition(5);
    ClickHalf(true);
    EXPECT_EQ(Spin->Position(), 6);
    EXPECT_EQ(Edit->Text(), "6");
    ClickHalf(false);
    ClickHalf(false);
    EXPECT_EQ(Spin->Position(), 4);
    EXPECT_EQ(Buttons, (std::vector<TUDBtnType> {btNext, btPrev, btPrev}));
}

TEST_F(UpDownTest, OnChangingCanRefuseAStepAndSeesTheNewValue) {
    Spin->SetPosition(5);
    std::vector<int> offered;
    Spin->OnChangingEx = [&](TObject*, bool& allow, int newValue, TUpDownDirection direction) {
        offered.push_back(newValue);
        EXPECT_EQ(direction, updUp);
        allow = false;
    };
    ClickHalf(true);
    EXPECT_EQ(Spin->Position(), 5);
    EXPECT_EQ(offered, std::vector<int> {6});
    EXPECT_TRUE(Buttons.empty());
}

TEST_F(UpDownTest, TypedTextIsThePosition) {
    Edit->SetText("9");
    EXPECT_EQ(Spin->Position(), 9);
    ClickHalf(true);
    EXPECT_EQ(Spin->Position(), 10);
    ClickHalf(true);
    EXPECT_EQ(Spin->Position(), 10);
    Spin->SetWrap(true);
    ClickHalf(true);
    EXPECT_EQ(Spin->Position(), 0);
}

TEST_F(UpDownTest, PositionsAreKeptInTheRange) {
    Spin->SetPosition(50);
    EXPECT_EQ(Spin->Position(), 10);
    Spin->SetMax(3);
    EXPECT_EQ(Spin->Position(), 3);
    Spin->SetIncrement(2);
    Spin->SetMin(-10);
    Spin->SetPosition(-4);
    ClickHalf(false);
    EXPECT_EQ(Spin->Position(), -6);
}

TEST_F(UpDownTest, AFreedAssociateIsForgotten) {
    delete Edit;
    EXPECT_EQ(Spin->Associate(), nullptr);
    EXPECT_EQ(user::SendMessage(Spin->Handle(), user::UDM_GETBUDDY, 0, 0), 0);
    ClickHalf(true);
    EXPECT_EQ(Buttons.size(), 1u);
}

TEST_F(UpDownTest, HorizontalOrientationSwapsTheSize) {
    int width = Spin->Width(), height = Spin->Height();
    Spin->SetAssociate(nullptr);
    Spin->SetOrientation(udHorizontal);
    EXPECT_EQ(Spin->Width(), height);
    EXPECT_EQ(Spin->Height(), width);
    EXPECT_NE(user::GetWindowStyle(Spin->Handle()) & user::UDS_HORZ, 0u);
}

}
