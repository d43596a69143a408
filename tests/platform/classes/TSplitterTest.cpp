// TSplitter: dragging resizes its neighbour within the limits; OnCanResize may veto; auto-snap; OnMoved.
#include "support/ControlsTestKit.h"

#include "platform/classes/TSplitter.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class SplitterTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 200);
        Side = Create<TBoxPanel>(Form);
        Side->SetBounds(0, 0, 100, 200);
        Side->SetAlign(alLeft);
        Side->SetParent(Form);
        Splitter = Create<TSplitter>(Form);
        Splitter->SetLeft(100);
        Splitter->SetParent(Form);
        Splitter->SetResizeStyle(rsUpdate);
        Splitter->OnMoved = [this](TObject*) { ++Moved; };
        Pump();
    }
    void Drag(int dx) {
        TPoint p = At(Splitter, 1, 50);
        Display->ButtonDown(user::MouseButton::Left, p.x, p.y);
        Display->MoveMouse(p.x + dx, p.y);
        Display->ButtonUp(user::MouseButton::Left, p.x + dx, p.y);
        Pump();
    }
    TForm* Form = nullptr;
    TBoxPanel* Side = nullptr;
    TSplitter* Splitter = nullptr;
    int Moved = 0;
};

TEST_F(SplitterTest, DraggingResizesTheControlOnItsSide) {
    EXPECT_EQ(Splitter->Left(), 100);
    Drag(40);
    EXPECT_EQ(Side->Width(), 140);
    EXPECT_EQ(Splitter->Left(), 140);
    EXPECT_EQ(Moved, 1);
    Drag(-20);
    EXPECT_EQ(Side->Width(), 120);
}

TEST_F(SplitterTest, OnCanResizeVetoesOrChangesTheSize) {
    Splitter->OnCanResize = [](TObject*, int& size, bool& accept) {
        if (size > 150)
            accept = false;
        else
            size = size / 10 * 10;
    };
    Drag(80);
    EXPECT_EQ(Side->Width(), 100);
    EXPECT_EQ(Moved, 0);
    Drag(27);
    EXPECT_EQ(Side->Width(), 120);
}

TEST_F(SplitterTest, SizeStaysWithinTheParentAndSnapsBelowMinSize) {
    Drag(1000);
    EXPECT_EQ(Side->Width(), 300 - 3 - 30);
    Splitter->SetAutoSnap(false);
    Drag(-1000);
    EXPECT_EQ(Side->Width(), 30);
    Splitter->SetAutoSnap(true);
    Drag(-20);
    EXPECT_EQ(Side->Width(), 0);
    Drag(60);   // found again at zero width
    EXPECT_EQ(Side->Width(), 60);
}

TEST_F(SplitterTest, PatternStyleResizesOnRelease) {
    Splitter->SetResizeStyle(rsPattern);
    TPoint p = At(Splitter, 1, 50);
    Display->ButtonDown(user::MouseButton::Left, p.x, p.y);
    Display->MoveMouse(p.x + 30, p.y);
    Pump();
    EXPECT_EQ(Side->Width(), 100);
    gdi::COLORREF bar = PixelAt(Form, 131, 50);   // inverted where the splitter will go
    EXPECT_NE(bar, PixelAt(Form, 160, 50));
    Display->ButtonUp(user::MouseButton::Left, p.x + 30, p.y);
    Pump();
    EXPECT_EQ(Side->Width(), 130);
}

TEST_F(SplitterTest, NoneStyleNeverResizes) {
    Splitter->SetResizeStyle(rsNone);
    Drag(40);
    EXPECT_EQ(Side->Width(), 100);
    EXPECT_EQ(Moved, 0);
}

}
