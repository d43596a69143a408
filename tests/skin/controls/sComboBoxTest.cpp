// TsComboBox on the headless display: dropping by mouse and keys with its events in order, list lines and the
// face drawn by the owner-draw fallback, read-only input, the skinned looks and skin changes while dropped.
#include "support/ControlsKit.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TForm.h"
#include "platform/user/Focus.h"
#include "platform/user/WinPos.h"
#include "skin/controls/sControlFrame.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/controls/ComboBox.h"
#include "platform/user/display/Display.h"

#include "skin/controls/sComboBox.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"

#include <string>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

// Reaches the protected drawing routine.
class TestCombo : public TsComboBox {
public:
    using TsComboBox::TsComboBox;
    using TsComboBox::DrawItem;
};

class TsComboBoxTest : public ControlsTest, public ::testing::WithParamInterface<int> {
protected:
    TestCombo* MakeCombo(TComboBoxStyle style, std::vector<std::string>* log = nullptr) {
        auto* c = Create<TestCombo>(Form);
        c->SetBounds(20, 20, 160, 22);
        c->SetStyle(style);
        c->SetParent(Form);
        for (const char* s : {"Alpha", "Beta", "Gamma", "Delta"})
            c->Items()->Add(s);
        if (log != nullptr) {
            c->OnDropDown = [log](TObject*) { log->push_back("DropDown"); };
            c->OnCloseUp = [log](TObject*) { log->push_back("CloseUp"); };
            c->OnClick = [log](TObject*) { log->push_back("Click"); };
            c->OnSelect = [log](TObject*) { log->push_back("Select"); };
            c->OnChange = [log](TObject*) { log->push_back("Change"); };
        }
        Pump();
        return c;
    }
    void ClickButton(TsComboBox* c) { ClickAt(c, c->Width() - 8, c->Height() / 2); }
    void KeyWith(unsigned vk, unsigned modifiers) {
        Display->Press(vk, "", modifiers);
        Pump();
    }
    // A list item's middle in the dropped list's client coordinates, clicked there.
    void ClickListItem(TsComboBox* c, int index) {
        gdi::RECT r {};
        user::SendMessage(c->ListHandle(), 0x0198 /* LB_GETITEMRECT */, user::WPARAM(index), user::LPARAM(&r));
        gdi::POINT p {20, (r.top + r.bottom) / 2};
        user::ClientToScreen(c->ListHandle(), &p);
        Display->Click(p.x, p.y);
        Pump();
    }
};

TEST_P(TsComboBoxTest, TheMouseDropsTheListAndChoosesWithEventsInOrder) {
    UseSkin(GetParam());
    std::vector<std::string> log;
    TsComboBox* c = MakeCombo(csDropDownList, &log);
    ClickButton(c);
    ASSERT_TRUE(c->DroppedDown());
    EXPECT_TRUE(c->IsDropped());
    ClickListItem(c, 2);
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_FALSE(c->IsDropped());
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(c->Text(), "Gamma");
    EXPECT_EQ(log, (std::vector<std::string> {"DropDown", "CloseUp", "Click", "Select"}));
}

TEST_P(TsComboBoxTest, F4AndAltDownDropTheListAndEnterKeepsTheChoice) {
    UseSkin(GetParam());
    std::vector<std::string> log;
    TsComboBox* c = MakeCombo(csDropDownList, &log);
    c->SetFocus();
    Pump();
    Key(user::VK_F4);
    EXPECT_TRUE(c->DroppedDown());
    Key(user::VK_F4);
    EXPECT_FALSE(c->DroppedDown());
    KeyWith(user::VK_DOWN, user::ModAlt);
    EXPECT_TRUE(c->DroppedDown());
    Key(user::VK_DOWN);
    Key(user::VK_RETURN);
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_EQ(c->ItemIndex(), 0);
    EXPECT_EQ(log, (std::vector<std::string> {"DropDown", "CloseUp", "DropDown", "Click", "Select", "CloseUp"}));
}

TEST_P(TsComboBoxTest, ReadOnlyTakesTheFocusButNoChoiceByKeysTypingOrMouse) {
    UseSkin(GetParam());
    std::vector<std::string> log;
    TsComboBox* c = MakeCombo(csDropDownList, &log);
    c->SetItemIndex(1);
    c->SetReadOnly(true);
    ClickButton(c);
    EXPECT_TRUE(c->Focused());
    EXPECT_FALSE(c->DroppedDown());
    for (unsigned vk : {user::VK_DOWN, user::VK_UP, user::VK_END, user::VK_F4})
        Key(vk);
    KeyWith(user::VK_DOWN, user::ModAlt);
    Display->Press('G', "G");
    Pump();
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_TRUE(log.empty());
    c->SetReadOnly(false);
    Key(user::VK_DOWN);
    EXPECT_EQ(c->ItemIndex(), 2);
}

// Left, Right and the wheel step a drop-down list's choice: a read-only one keeps it, and fires nothing.
TEST_P(TsComboBoxTest, ReadOnlyKeepsItsChoiceAgainstLeftRightAndTheWheel) {
    UseSkin(GetParam());
    std::vector<std::string> log;
    TsComboBox* c = MakeCombo(csDropDownList, &log);
    c->SetItemIndex(1);
    c->SetReadOnly(true);
    ClickAt(c, 10, 10);
    ASSERT_TRUE(c->Focused());
    Key(user::VK_RIGHT);
    Key(user::VK_LEFT);
    Key(user::VK_LEFT);
    gdi::POINT p {10, 10};
    user::ClientToScreen(c->Handle(), &p);
    Display->Wheel(p.x, p.y, -120);
    Pump();
    Display->Wheel(p.x, p.y, 240);
    Pump();
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_TRUE(log.empty());
    c->SetReadOnly(false);
    Key(user::VK_RIGHT);
    EXPECT_EQ(c->ItemIndex(), 2);
    Display->Wheel(p.x, p.y, 120);
    Pump();
    EXPECT_EQ(c->ItemIndex(), 1);
}

// Read-only, the edit takes no keys; Tab still moves on.
TEST_P(TsComboBoxTest, TabLeavesAReadOnlyEditableCombo) {
    UseSkin(GetParam());
    TsComboBox* c = MakeCombo(csDropDown);
    auto* next = Create<TsComboBox>(Form);
    next->SetBounds(20, 80, 160, 22);
    next->SetParent(Form);
    c->SetReadOnly(true);
    ClickAt(c, 10, 10);
    ASSERT_EQ(user::GetFocus(), c->EditHandle());
    Key(user::VK_TAB);
    EXPECT_FALSE(c->Focused());
}

TEST_P(TsComboBoxTest, ReadOnlyEditTakesNoTypingOrPaste) {
    UseSkin(GetParam());
    TsComboBox* c = MakeCombo(csDropDown);
    c->SetText("Beta");
    c->SetReadOnly(true);
    ClickAt(c, 10, 10);
    Display->Press('X', "X");
    Pump();
    user::SendMessage(c->EditHandle(), user::WM_PASTE, 0, 0);
    user::SendMessage(c->EditHandle(), user::WM_CLEAR, 0, 0);
    EXPECT_EQ(c->Text(), "Beta");
}

TEST_P(TsComboBoxTest, OwnerDrawWithoutAHandlerDrawsEachLineItsOwnItemAndTheFaceTheText) {
    UseSkin(GetParam());
    TestCombo* c = MakeCombo(csOwnerDrawFixed);
    c->SetItemIndex(1);
    const TRect r {0, 0, 80, 16};
    auto draw = [&](int index, TOwnerDrawState state) {
        TBitmap bmp;
        bmp.SetPixelFormat(pf24bit);
        bmp.SetSize(80, 16);
        c->Canvas()->SetHandle(bmp.Canvas()->Handle());
        c->DrawItem(index, r, state);
        c->Canvas()->SetHandle(nullptr);
        std::vector<TColor> pixels;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 80; ++x)
                pixels.push_back(bmp.Canvas()->Pixels(x, y));
        return pixels;
    };
    const auto line0 = draw(0, {});
    const auto line1 = draw(1, {});
    const auto face = draw(1, {odComboBoxEdit});
    EXPECT_NE(line0, line1);
    EXPECT_EQ(face, draw(3, {odComboBoxEdit}));   // the face shows Text whatever the index
    c->SetItemIndex(0);
    EXPECT_EQ(draw(1, {odComboBoxEdit}), draw(0, {odComboBoxEdit}));
    EXPECT_NE(draw(1, {odComboBoxEdit}), face);
}

TEST_P(TsComboBoxTest, AnOwnerDrawHandlerGetsTheFaceAndEveryShownLine) {
    UseSkin(GetParam());
    TsComboBox* c = MakeCombo(csOwnerDrawFixed);
    c->SetItemIndex(2);
    std::vector<std::pair<int, bool>> drawn;
    c->OnDrawItem = [&](TWinControl*, int index, const TRect&, TOwnerDrawState state) {
        drawn.emplace_back(index, state.Contains(odComboBoxEdit));
    };
    c->Invalidate();
    Pump();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back(), (std::pair<int, bool> {2, true}));
    drawn.clear();
    ClickButton(c);
    ASSERT_TRUE(c->DroppedDown());
    int lines = 0;
    for (auto [index, isFace] : drawn)
        lines += isFace ? 0 : 1;
    EXPECT_GE(lines, 4);
}

INSTANTIATE_TEST_SUITE_P(NoSkinAndLongHorn, TsComboBoxTest, ::testing::Values(-1, 1),
    [](const auto& info) { return SkinShortName(info.param); });

class TsComboBoxSkinned : public TsComboBoxTest { };

TEST_F(TsComboBoxSkinned, HotFocusedAndDisabledLooksDiffer) {
    UseSkin(0);
    TsComboBox* c = MakeCombo(csDropDownList);
    auto* other = Create<TsComboBox>(Form);
    other->SetBounds(20, 80, 160, 22);
    other->SetParent(Form);
    c->SetItemIndex(0);
    Pump();
    ASSERT_TRUE(PaintsSkinned(c->SkinData()));
    const int bx = c->ButtonRect().left + 4;
    const gdi::COLORREF normal = ScreenPixel(c, 1, c->Height() / 2);
    const gdi::COLORREF normalButton = ScreenPixel(c, bx, c->Height() / 2);
    MoveTo(c, 30, 10);
    EXPECT_TRUE(c->SkinData()->IsHot());
    const gdi::COLORREF hotButton = ScreenPixel(c, bx, c->Height() / 2);
    EXPECT_TRUE(ScreenPixel(c, 1, c->Height() / 2) != normal || hotButton != normalButton);
    MoveTo(other, 30, 10);
    EXPECT_FALSE(c->SkinData()->IsHot());
    EXPECT_EQ(ScreenPixel(c, bx, c->Height() / 2), normalButton);
    c->SetFocus();
    Pump();
    EXPECT_EQ(ScreenPixel(c, c->ButtonRect().left - 4, c->Height() / 2), gdi::COLORREF(ColorToRGB(clHighlight)));
    other->SetFocus();
    Pump();
    EXPECT_NE(ScreenPixel(c, c->ButtonRect().left - 4, c->Height() / 2), gdi::COLORREF(ColorToRGB(clHighlight)));
    c->SetEnabled(false);
    Pump();
    EXPECT_NE(ScreenPixel(c, bx, c->Height() / 2), normalButton);
}

// The cache holds the frame and the button only: the face's text is drawn on the window, not into the cache.
TEST_F(TsComboBoxSkinned, TheCacheKeepsNoTextAndTheWindowShowsIt) {
    UseSkin(2);
    TsComboBox* c = MakeCombo(csDropDownList);
    Pump();
    ASSERT_TRUE(PaintsSkinned(c->SkinData()));
    const TRect face {4, 3, c->ButtonRect().left, c->Height() - 3};
    auto cacheFace = [&] {
        std::vector<TColor> pixels;
        TBitmap* cache = c->SkinData()->CacheBmp();
        for (int y = face.top; y < face.bottom; ++y)
            for (int x = face.left; x < face.right; ++x) pixels.push_back(cache->Canvas()->Pixels(x, y));
        return pixels;
    };
    const std::vector<TColor> empty = cacheFace();
    const std::vector<gdi::COLORREF> emptyScreen = ScreenPixels(c, face);
    c->SetItemIndex(2);
    Pump();
    ASSERT_EQ(c->Text(), "Gamma");
    EXPECT_EQ(cacheFace(), empty);
    EXPECT_NE(ScreenPixels(c, face), emptyScreen);
}

// The mouse leaving while the list is down is remembered: the closed combo is not hot.
TEST_F(TsComboBoxSkinned, TheMouseLeavingWhileDroppedLeavesTheClosedComboNotHot) {
    UseSkin(1);
    TsComboBox* c = MakeCombo(csDropDownList);
    auto* other = Create<TsComboBox>(Form);
    other->SetBounds(20, 80, 160, 22);
    other->SetParent(Form);
    Pump();
    MoveTo(c, 30, 10);
    ClickButton(c);
    ASSERT_TRUE(c->DroppedDown());
    c->Perform(CM_MOUSELEAVE, 0, 0);
    Key(user::VK_ESCAPE);
    ASSERT_FALSE(c->DroppedDown());
    EXPECT_FALSE(c->SkinData()->MouseAbove);
}

// A combo made in code in a skinned window takes the section's colours, as a streamed one does.
TEST_F(TsComboBoxSkinned, AComboMadeInCodeTakesTheSectionsColours) {
    UseSkin(1);
    TsComboBox* c = MakeCombo(csDropDownList);
    ASSERT_TRUE(PaintsSkinned(c->SkinData()));
    const TsGeneralData& section = Manager->Sections[std::size_t(c->SkinData()->SkinIndex)];
    EXPECT_EQ(c->Color(), section.Color);
    EXPECT_EQ(c->Font()->Color(), section.FontColor[1]);
}

// Printed into a DC, the combo paints its skinned picture there.
TEST_F(TsComboBoxSkinned, APrintedComboPaintsItsPictureIntoTheGivenDc) {
    UseSkin(1);
    TsComboBox* c = MakeCombo(csDropDownList);
    c->SetItemIndex(0);
    Pump();
    ASSERT_TRUE(PaintsSkinned(c->SkinData()));
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(c->Width(), c->Height());
    picture.Canvas()->Brush()->SetColor(clFuchsia);
    picture.Canvas()->FillRect(TRect {0, 0, c->Width(), c->Height()});
    c->Perform(user::WM_PRINTCLIENT, WPARAM(picture.Canvas()->Handle()), user::PRF_CLIENT);
    const int bx = c->ButtonRect().left + 4;
    EXPECT_EQ(gdi::COLORREF(picture.Canvas()->Pixels(1, 1)), ScreenPixel(c, 1, 1));
    EXPECT_EQ(gdi::COLORREF(picture.Canvas()->Pixels(bx, c->Height() / 2)), ScreenPixel(c, bx, c->Height() / 2));
}

TEST_F(TsComboBoxSkinned, ASkinWithoutAGlyphMaskGivesASixteenPixelGlyph) {
    UseSkin(2);
    TsComboBox* c = MakeCombo(csDropDown);
    const TSize glyph = Manager->GetMaskFrameSize(
        Manager->GetMaskIndex(c->SkinData()->SkinIndex, c->SkinData()->SkinSection(), "GLYPHMASK"));
    EXPECT_EQ(c->GlyphHeight(), glyph.cy > 0 ? glyph.cy : 16);
    for (std::size_t i = 0; i < Manager->Masks.size(); ++i)
        if (Manager->Masks[i].PropertyName == "GLYPHMASK")
            Manager->Masks.Rename(i, Manager->Masks[i].ClassName, "HIDDEN");
    EXPECT_EQ(c->GlyphHeight(), 16);
    c->SkinData()->BGChanged = true;
    c->Repaint();   // paints without a glyph
    const TRect b = c->ButtonRect();
    EXPECT_EQ(b.bottom - b.top, 16);
    EXPECT_EQ(b.top, (c->Height() - 16) / 2);
}

TEST_F(TsComboBoxSkinned, ASkinChangeWhileDroppedClosesTheListAndKeepsTheItems) {
    UseSkin(1);
    TsComboBox* c = MakeCombo(csDropDownList);
    c->SetItemIndex(3);
    ClickButton(c);
    ASSERT_TRUE(c->DroppedDown());
    UseSkin(3);
    EXPECT_TRUE(PaintsSkinned(c->SkinData()));
    Key(user::VK_ESCAPE);
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_FALSE(c->IsDropped());
    ClickButton(c);
    ASSERT_TRUE(c->DroppedDown());
    UseSkin(-1);   // the window is made again: the list goes with it
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_EQ(c->Items()->Count(), 4);
    EXPECT_EQ(c->ItemIndex(), 3);
    EXPECT_EQ(c->Color(), clWindow);
    const gdi::COLORREF plain = ScreenPixel(c, 1, 1);
    c->Invalidate();
    Pump();
    EXPECT_EQ(ScreenPixel(c, 1, 1), plain);
}

}
