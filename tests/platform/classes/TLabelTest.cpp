// TLabel: auto-size from the caption, "&" accelerators and the focus control, alignment, transparency.
#include "support/ControlsTestKit.h"

#include "platform/classes/TLabel.h"
#include "platform/gdi/SysColors.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class LabelTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 200);
        Label = Create<TLabel>(Form);
        Label->SetBounds(10, 10, 65, 17);
        Label->SetParent(Form);
    }
    TForm* Form = nullptr;
    TLabel* Label = nullptr;
};

TEST_F(LabelTest, AutoSizeFitsTheCaptionAndTheAmpersandTakesNoRoom) {
    Label->SetCaption("Node name");
    int width = Label->Width();
    EXPECT_GT(width, 20);
    EXPECT_GT(Label->Height(), 8);
    Label->SetCaption("&Node name");
    EXPECT_EQ(Label->Width(), width);
    EXPECT_EQ(Label->DisplayText(), "Node name");
    Label->SetShowAccelChar(false);
    EXPECT_GT(Label->Width(), width);
    EXPECT_EQ(Label->DisplayText(), "&Node name");
    Label->SetShowAccelChar(true);
    Label->SetCaption("a && b");
    EXPECT_EQ(Label->DisplayText(), "a & b");
    Label->SetCaption("");
    EXPECT_GT(Label->Height(), 8);   // an empty caption keeps one line
}

TEST_F(LabelTest, RightAlignedAutoSizeKeepsTheRightEdgeAndWordWrapTheWidth) {
    Label->SetAlignment(taRightJustify);
    Label->SetCaption("x");
    int right = Label->Left() + Label->Width();
    Label->SetCaption("a much longer caption");
    EXPECT_EQ(Label->Left() + Label->Width(), right);
    Label->SetAlignment(taLeftJustify);
    Label->SetWordWrap(true);
    Label->SetWidth(40);
    int oneLine = Label->Height();
    Label->SetCaption("a much longer caption over lines");
    EXPECT_EQ(Label->Width(), 40);
    EXPECT_GT(Label->Height(), oneLine);
    Label->SetAutoSize(false);
    Label->SetCaption("x");
    EXPECT_EQ(Label->Width(), 40);
}

TEST_F(LabelTest, AltAndTheAcceleratorFocusTheFocusControl) {
    auto* box = Create<TBoxPanel>(Form);
    box->SetBounds(100, 10, 50, 20);
    box->SetTabStop(true);
    box->SetParent(Form);
    Label->SetCaption("&Folder");
    Label->SetFocusControl(box);
    Pump();
    Display->Press('F', "f", user::ModAlt);
    Pump();
    EXPECT_TRUE(box->Focused());
    box->Free();   // the label forgets it
    EXPECT_EQ(Label->FocusControl(), nullptr);
    Display->Press('F', "f", user::ModAlt);
    Pump();
}

TEST_F(LabelTest, OpaqueLabelsPaintTheirColourAndTransparentOnesShowTheParent) {
    Label->SetAutoSize(false);
    Label->SetBounds(10, 10, 60, 20);
    Label->SetColor(clRed);
    Label->SetCaption("");
    Pump();
    EXPECT_EQ(PixelAt(Form, 40, 15), gdi::RGB(255, 0, 0));
    Label->SetTransparent(true);
    Pump();
    EXPECT_EQ(PixelAt(Form, 40, 15), gdi::GetSysColor(gdi::COLOR_BTNFACE));
}

TEST_F(LabelTest, LayoutPutsTheTextAtTheBottomOrInTheMiddle) {
    Label->SetAutoSize(false);
    Label->SetBounds(10, 10, 100, 60);
    Label->SetCaption("W");
    auto inkRows = [&] {
        int first = -1, last = -1;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 20; ++x)
                if (PixelAt(Label, x, y) != gdi::GetSysColor(gdi::COLOR_BTNFACE)) {
                    if (first < 0) first = y;
                    last = y;
                }
        return std::make_pair(first, last);
    };
    Pump();
    auto top = inkRows();
    EXPECT_LT(top.second, 20);
    Label->SetLayout(tlBottom);
    Pump();
    EXPECT_GT(inkRows().first, 40);
    Label->SetLayout(tlCenter);
    Pump();
    auto middle = inkRows();
    EXPECT_GT(middle.first, 15);
    EXPECT_LT(middle.second, 45);
}

}
