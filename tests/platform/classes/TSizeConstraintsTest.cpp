// Size limits of controls (Constraints) and a windowed control's own border (BorderWidth, bevels).
#include "support/ControlsTestKit.h"
#include "support/RoundTrip.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;
using korvex::gdi::HBITMAP;
using korvex::gdi::HDC;
using korvex::gdi::RECT;

namespace {

class ConstraintsTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 200);
    }
    TBoxPanel* AddPanel(int x, int y, int w, int h) {
        auto* panel = Create<TBoxPanel>(Form);
        panel->SetBounds(x, y, w, h);
        panel->SetParent(Form);
        return panel;
    }
    TForm* Form = nullptr;
};

struct LimitCase {
    int MinW, MaxW, MinH, MaxH;
    int AskW, AskH;
    int GotW, GotH;
};

TEST_F(ConstraintsTest, SetBoundsKeepsTheSizeWithinTheLimitsOfWindowedAndWindowlessControls) {
    const LimitCase cases[] = {
        {0, 0, 0, 0, 5, 7, 5, 7},   // no limits
        {50, 0, 20, 0, 10, 10, 50, 20},   // minimums raise
        {0, 80, 0, 30, 200, 100, 80, 30},   // maximums lower
        {40, 60, 10, 12, 50, 11, 50, 11},   // inside stays
        {40, 60, 10, 12, -5, -5, 40, 10},   // negative sizes too
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.AskW << "x" << c.AskH);
        auto* panel = AddPanel(0, 0, 100, 100);
        auto* label = Create<TTextLabel>(Form);
        label->SetParent(Form);
        for (TControl* control : {static_cast<TControl*>(panel), static_cast<TControl*>(label)}) {
            control->Constraints()->SetMinWidth(c.MinW);
            control->Constraints()->SetMaxWidth(c.MaxW);
            control->Constraints()->SetMinHeight(c.MinH);
            control->Constraints()->SetMaxHeight(c.MaxH);
            control->SetBounds(3, 4, c.AskW, c.AskH);
            EXPECT_EQ(control->Width(), c.GotW);
            EXPECT_EQ(control->Height(), c.GotH);
            EXPECT_EQ(control->Left(), 3);
        }
        RECT r {};
        user::GetWindowRect(panel->Handle(), &r);
        EXPECT_EQ(r.right - r.left, c.GotW);
        panel->Free();
        label->Free();
    }
}

TEST_F(ConstraintsTest, ANewLimitAppliesToTheCurrentSizeAndLimitsNeverCross) {
    auto* panel = AddPanel(0, 0, 100, 100);
    panel->Constraints()->SetMaxWidth(60);
    EXPECT_EQ(panel->Width(), 60);
    panel->Constraints()->SetMinWidth(90);   // above the maximum: the maximum follows
    EXPECT_EQ(panel->Constraints()->MaxWidth(), 90);
    EXPECT_EQ(panel->Width(), 90);
    panel->Constraints()->SetMaxWidth(30);   // below the minimum: kept at the minimum
    EXPECT_EQ(panel->Constraints()->MaxWidth(), 90);
    panel->Constraints()->SetMinHeight(120);
    EXPECT_EQ(panel->Height(), 120);
}

TEST_F(ConstraintsTest, AlignmentRespectsTheLimits) {
    auto* top = AddPanel(0, 0, 50, 20);
    top->Constraints()->SetMaxWidth(120);
    top->SetAlign(alTop);
    auto* client = AddPanel(0, 0, 50, 50);
    client->Constraints()->SetMaxHeight(70);
    client->SetAlign(alClient);
    EXPECT_EQ(top->Width(), 120);
    EXPECT_EQ(client->Top(), 20);
    EXPECT_EQ(client->Width(), 300);
    EXPECT_EQ(client->Height(), 70);
}

TEST_F(ConstraintsTest, ConstraintsAndTheBorderAreWrittenOnlyWhenSetAndReadBack) {
    auto* panel = AddPanel(0, 0, 100, 100);
    std::string plain = ExpectRoundTrip(panel, Form);
    EXPECT_EQ(plain.find("Constraints"), std::string::npos);
    EXPECT_EQ(plain.find("BorderWidth"), std::string::npos);
    panel->Constraints()->SetMinWidth(80);
    panel->Constraints()->SetMaxHeight(90);
    panel->SetBorderWidth(4);
    panel->SetBevelKind(bkFlat);
    std::string text = ExpectRoundTrip(panel, Form);
    EXPECT_NE(text.find("Constraints.MinWidth = 80"), std::string::npos) << text;
    EXPECT_NE(text.find("Constraints.MaxHeight = 90"), std::string::npos) << text;
    EXPECT_NE(text.find("BorderWidth = 4"), std::string::npos) << text;
    EXPECT_NE(text.find("BevelKind = bkFlat"), std::string::npos) << text;
}

// ---------------------------------------------------------------------------------------------------------
// BorderWidth and bevels

TEST_F(ConstraintsTest, BorderAndBevelsInsetTheClientArea) {
    auto* panel = AddPanel(10, 10, 100, 80);
    EXPECT_EQ(panel->ClientWidth(), 100);
    panel->SetBorderWidth(5);
    EXPECT_EQ(panel->ClientWidth(), 90);
    EXPECT_EQ(panel->ClientHeight(), 70);
    panel->SetBevelKind(bkTile);   // raised inner and lowered outer: two pixels each side
    EXPECT_EQ(panel->ClientWidth(), 86);
    panel->SetBevelEdges(TBevelEdges {beLeft, beTop});
    EXPECT_EQ(panel->ClientWidth(), 88);
    EXPECT_EQ(panel->ClientHeight(), 68);
    EXPECT_EQ(panel->BorderInsets().left, 7);
    EXPECT_EQ(panel->BorderInsets().right, 5);
    panel->SetBevelInner(bvNone);
    EXPECT_EQ(panel->BorderInsets().top, 6);
    // Children are laid out inside.
    auto* inner = Create<TBoxPanel>(Form);
    inner->SetParent(panel);
    inner->SetAlign(alClient);
    EXPECT_EQ(inner->Width(), panel->ClientWidth());
}

TEST_F(ConstraintsTest, TheBorderIsPaintedInTheControlsColourAndTheBevelOutside) {
    auto* panel = AddPanel(10, 10, 100, 80);
    panel->SetColor(clRed);
    panel->SetBorderWidth(4);
    panel->SetBevelKind(bkTile);
    panel->SetBevelInner(bvNone);
    panel->SetBevelOuter(bvLowered);
    Pump();
    // The window's corner is the bevel's shadow; inside it, four rows of the colour; then the client.
    const gdi::COLORREF shadow = gdi::GetSysColor(gdi::COLOR_BTNSHADOW);
    const TPoint corner = panel->ClientToScreen(TPoint {-5, -5});
    EXPECT_EQ(Display->ScreenPixel(corner.x, corner.y), shadow);
    const TPoint ring = panel->ClientToScreen(TPoint {-2, 10});
    EXPECT_EQ(Display->ScreenPixel(ring.x, ring.y), gdi::RGB(255, 0, 0));

    // WM_PRINT with the frame puts the same pixels into a DC of ours.
    HDC screen = user::GetDC(nullptr);
    HDC dc = gdi::CreateCompatibleDC(screen);
    HBITMAP bitmap = gdi::CreateCompatibleBitmap(screen, 100, 80);
    user::ReleaseDC(nullptr, screen);
    HBITMAP old = gdi::SelectObject(dc, bitmap);
    panel->Perform(user::WM_PRINT, reinterpret_cast<user::WPARAM>(dc),
        user::PRF_NONCLIENT | user::PRF_CLIENT | user::PRF_ERASEBKGND);
    const TPoint origin = panel->ClientToScreen(TPoint {-5, -5});
    int differences = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x)
            if (gdi::GetPixel(dc, x, y) != Display->ScreenPixel(origin.x + x, origin.y + y)) ++differences;
    EXPECT_EQ(differences, 0);
    gdi::SelectObject(dc, old);
    gdi::DeleteObject(bitmap);
    gdi::DeleteDC(dc);
}

}
