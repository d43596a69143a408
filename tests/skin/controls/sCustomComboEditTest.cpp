// TsCustomComboEdit on the headless display: the default glyphs, the button's states and click by the mouse,
// the popup opened and closed by the button, Alt+Down and Esc, its placement on the virtual screen, read-only
// and direct input, and the glyph modes (user bitmap, defaults, gray, blend).
#include "support/ControlsHost.h"
#include "support/ControlsKit.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TCustomControl.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TSpeedButton.h"
#include "platform/user/Focus.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/EditConstants.h"
#include "skin/controls/sCustomComboEdit.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

// A popup window that takes no focus, owned by the edit's form.
class TTestPopup : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void CreateParams(TCreateParams& params) override {
        TCustomControl::CreateParams(params);
        params.Style = (params.Style & ~user::WS_CHILD) | user::WS_POPUP | user::WS_BORDER;
    }
};

// A descendant with the ellipsis glyph.
class TTestComboEdit : public TsCustomComboEdit {
public:
    explicit TTestComboEdit(TComponent* owner)
        : TsCustomComboEdit(owner) {
        SetGlyphName("BTN_ELLIPSIS");
    }
    using TsCustomComboEdit::SetGlyphName;
    using TsCustomComboEdit::SetPopup;
};

class ComboEditTest : public ControlsTest {
protected:
    TTestComboEdit* NewEdit(bool withPopup = true) {
        auto* edit = Create<TTestComboEdit>(Form);
        edit->SetBounds(20, 20, 160, 24);
        edit->SetParent(Form);
        if (withPopup) {
            Popup = Create<TTestPopup>(Form);
            Popup->SetVisible(false);
            Popup->SetBounds(0, 0, 120, 80);
            Popup->SetParentWindow(Form->Handle());
            edit->SetPopup(Popup);
        }
        Pump();
        return edit;
    }
    // Button's cache pixels as one list.
    static std::vector<TColor> CachePixels(TsEditButton* button) {
        std::vector<TColor> out;
        TBitmap* cache = button->SkinData()->CacheBmp();
        for (int y = 0; y < cache->Height(); ++y)
            for (int x = 0; x < cache->Width(); ++x) out.push_back(cache->Canvas()->Pixels(x, y));
        return out;
    }
    // The button's cache against the edit's cache under it: the largest difference of a channel.
    static int FarthestFromBackground(TsCustomComboEdit* edit) {
        TsEditButton* button = edit->Button();
        button->PrepareCache();
        TBitmap* cache = button->SkinData()->CacheBmp();
        TBitmap* back = edit->SkinData()->CacheBmp();
        int most = 0;
        for (int y = 0; y < cache->Height(); ++y)
            for (int x = 0; x < cache->Width(); ++x) {
                const TColor a = cache->Canvas()->Pixels(x, y);
                const TColor b = back->Canvas()->Pixels(button->Left() + 2 + x, button->Top() + 2 + y);
                for (int shift : {0, 8, 16}) most = std::max(most, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
            }
        return most;
    }
    static std::vector<TColor> Rendered(TsEditButton* button) {
        button->PrepareCache();
        return CachePixels(button);
    }
    TTestPopup* Popup = nullptr;
};

TEST(DefaultGlyphs, FiveNamedGlyphsOfThreeStatesAndNothingElse) {
    const struct {
        const char* Name;
        int Width;
    } table[] = {{"BTN_OPENFILE", 60}, {"BTN_OPENFOLDER", 60}, {"BTN_DATE", 48}, {"BTN_ELLIPSIS", 54}, {"BTN_CALC", 57}};
    for (const auto& row : table) {
        const TBitmap* glyph = DefaultGlyph(row.Name);
        ASSERT_NE(glyph, nullptr) << row.Name;
        EXPECT_EQ(glyph->Width(), row.Width) << row.Name;
        EXPECT_EQ(glyph->Height(), 34) << row.Name;
        EXPECT_EQ(glyph->PixelFormat(), pf24bit);
    }
    EXPECT_EQ(DefaultGlyph("BTN_NOSUCH"), nullptr);
    EXPECT_EQ(DefaultGlyph(""), nullptr);
}

TEST(ButtonGlyphs, NamedSpeedButtonsTakeTheirResourceAndTheRestAreLeftAlone) {
    TComponent owner(nullptr);
    auto* first = new TSpeedButton(&owner);
    first->SetName("First");
    auto* second = new TSpeedButton(&owner);
    second->SetName("Second");
    second->SetNumGlyphs(3);
    auto* other = new TComponent(&owner);
    other->SetName("Other");
    const TButtonGlyph glyphs[] {{"First", "SF"}, {"Second", "NOSUCH"}, {"Missing", "SD"}, {"Other", "SD"}};
    EXPECT_EQ(AssignButtonGlyphs(&owner, glyphs), 1);
    EXPECT_EQ(first->Glyph()->Width(), 60);
    EXPECT_EQ(first->Glyph()->Height(), 34);
    EXPECT_EQ(first->NumGlyphs(), 1);
    EXPECT_TRUE(second->Glyph()->Empty());   // a missing resource changes nothing
    EXPECT_EQ(second->NumGlyphs(), 3);
    EXPECT_EQ(LoadGlyphResource("NOSUCH"), nullptr);
}

TEST(GlyphBlend, WeightStopsAt255AndStateRectsPickTheColumns) {
    EXPECT_EQ(BlendWeight(0), 0);
    EXPECT_EQ(BlendWeight(50), 128);
    EXPECT_EQ(BlendWeight(99), 253);
    EXPECT_EQ(BlendWeight(100), 255);   // 256 would wrap to 0 and show the glyph at full strength
    EXPECT_EQ(GlyphStateRect(18, 17, 0, true, false), (TRect {0, 0, 18, 17}));
    EXPECT_EQ(GlyphStateRect(18, 17, 1, true, true), (TRect {18, 0, 36, 17}));
    EXPECT_EQ(GlyphStateRect(18, 17, 0, false, false), (TRect {18, 0, 36, 17}));   // unskinned: the hot image
    EXPECT_EQ(GlyphStateRect(18, 17, 2, true, true), (TRect {36, 0, 54, 17}));
}

TEST(PopupPlacement, BelowOrAboveAndInsideAVirtualScreenThatDoesNotStartAtZero) {
    const TRect screen {-1280, -200, 1920, 1080};   // two monitors: origin + size
    const struct {
        TRect Edit;
        TacPopupAlign Align;
        TPoint Want;
    } table[] = {
        {{100, 100, 260, 124}, TacPopupAlign::Right, {63, 124}},   // below, right edges lined up
        {{100, 100, 260, 124}, TacPopupAlign::Left, {100, 124}},
        {{100, 1000, 260, 1024}, TacPopupAlign::Right, {63, 900}},   // no room below: above
        {{-1270, 100, -1200, 124}, TacPopupAlign::Right, {-1270, 124}},   // right-aligned would pass the left edge
        {{1850, 100, 1910, 124}, TacPopupAlign::Left, {1713, 124}},   // left-aligned would pass the right edge
        {{-1279, 100, -1260, 124}, TacPopupAlign::Right, {-1279, 124}},   // left of 0 yet inside the screen: not moved
        {{1700, -150, 1800, -126}, TacPopupAlign::Left, {1700, -126}},   // above 0, inside the screen
    };
    for (const auto& row : table)
        EXPECT_EQ(PopupPosition(row.Edit, TSize {197, 100}, screen, row.Align), row.Want)
            << row.Edit.left << "," << row.Edit.top;
}

TEST_F(ComboEditTest, ButtonIsTheGlyphWidthPlusTwoOrEighteenWithoutAGlyph) {
    UseSkin(0);
    auto* edit = NewEdit(false);
    EXPECT_EQ(edit->Button()->Width(), 20);   // ellipsis: 18 + 2
    EXPECT_EQ(edit->Button()->Height(), edit->ClientHeight());
    edit->SetGlyphName("BTN_NOSUCH");
    EXPECT_EQ(edit->GlyphWidth(), 16);
    EXPECT_EQ(edit->Button()->Width(), 18);
    edit->SetShowButton(false);
    Pump();
    EXPECT_FALSE(edit->Button()->Visible());
    edit->SetShowButton(true);
    Pump();
    EXPECT_TRUE(edit->Button()->Visible());
    EXPECT_EQ(edit->Button()->Width(), 18);
}

// What the native edit draws while focused follows the alignment and the button: its style and its text
// rectangle change with them.
TEST_F(ComboEditTest, AlignmentAndTheButtonReachTheNativeEdit) {
    UseSkin(0);
    auto* edit = NewEdit(false);
    edit->SetText("12.5");
    edit->SetFocus();
    Pump();
    const auto textRight = [&] {
        user::RECT r {};
        user::SendMessage(edit->WindowHandle(), user::EM_GETRECT, 0, LPARAM(&r));
        return r.right;
    };
    EXPECT_EQ(textRight(), edit->ClientWidth() - edit->Button()->Width());
    edit->SetAlignment(taRightJustify);
    Pump();
    EXPECT_NE(user::GetWindowLong(edit->WindowHandle(), user::GWL_STYLE) & user::ES_RIGHT, 0);
    EXPECT_EQ(edit->Text(), "12.5");
    edit->SetShowButton(false);
    EXPECT_EQ(textRight(), edit->ClientWidth());
    edit->SetShowButton(true);
    EXPECT_EQ(textRight(), edit->ClientWidth() - edit->Button()->Width());
}

// The button's picture is marked for rendering again by the edit's invalidation and a mouse press, except
// while a new skin is delivered (the command itself marks it then).
TEST_F(ComboEditTest, TheButtonBackgroundIsMarkedExceptDuringTheNewSkinBroadcast) {
    UseSkin(1);
    auto* edit = NewEdit(false);
    ParentsUpdated(Form);
    Pump();
    TsCommonData* button = edit->Button()->SkinData();
    for (const bool broadcast : {false, true}) {
        const bool oldBroadcast = NewSkinBroadcast, oldChanging = SkinChanging;
        NewSkinBroadcast = broadcast;
        SkinChanging = true;   // a skin being loaded alone does not hold the mark back
        button->BGChanged = false;
        edit->Invalidate();
        const bool marked = button->BGChanged;
        NewSkinBroadcast = oldBroadcast;
        SkinChanging = oldChanging;
        EXPECT_EQ(marked, !broadcast) << broadcast;
    }
}

TEST_F(ComboEditTest, ButtonClickFiresTheEventAndTogglesThePopupBelowTheEdit) {
    UseSkin(1);
    auto* edit = NewEdit();
    int clicks = 0;
    edit->OnButtonClick = [&](TObject* sender) {
        EXPECT_EQ(sender, edit);
        ++clicks;
    };
    TsEditButton* button = edit->Button();
    ClickAt(button, button->Width() / 2, button->Height() / 2);
    EXPECT_EQ(clicks, 1);
    ASSERT_TRUE(edit->PopupVisible());
    EXPECT_EQ(user::GetActiveWindow(), Popup->Handle());   // shown active
    const TPoint corner = Form->ClientToScreen(TPoint {edit->Left(), edit->Top()});
    user::RECT r {};
    user::GetWindowRect(Popup->Handle(), &r);
    EXPECT_EQ(r.left, corner.x + edit->Width() - 197);
    EXPECT_EQ(r.top, corner.y + edit->Height());
    EXPECT_EQ(Popup->Width(), 197);
    ClickAt(button, 3, 3);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(edit->PopupVisible());
}

// Without a popup the button's click still brings the focus to the edit, after the event; the updating query
// leaves Result 0.
TEST_F(ComboEditTest, TheButtonFocusesAnEditWithoutAPopup) {
    UseSkin(1);
    auto* other = NewEdit(false);
    auto* edit = NewEdit(false);
    edit->SetTop(60);
    int clicks = 0;
    edit->OnButtonClick = [&](TObject*) { ++clicks; };
    other->SetFocus();
    Pump();
    TsEditButton* button = edit->Button();
    ClickAt(button, button->Width() / 2, button->Height() / 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(edit->Focused());
    EXPECT_FALSE(edit->PopupVisible());
    TMessage query = MakeSkinCommand(SMC_ISUPDATING, 0, 0);
    query.Result = 7;
    edit->Perform(query);
    EXPECT_EQ(query.Result, 0);
}

TEST_F(ComboEditTest, ReadOnlyIgnoresTheButtonEntirely) {
    UseSkin(2);
    auto* edit = NewEdit();
    int clicks = 0;
    edit->OnButtonClick = [&](TObject*) { ++clicks; };
    edit->SetReadOnly(true);
    ClickAt(edit->Button(), 5, 5);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(edit->PopupVisible());
    edit->SetFocus();
    Pump();
    Display->Press(user::VK_DOWN, "", user::ModAlt);
    Pump();
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(edit->PopupVisible());
}

TEST_F(ComboEditTest, AltDownOpensThePopupWhichTakesTheKeysAndAClickInTheEditClosesIt) {
    UseSkin(3);
    auto* edit = NewEdit();
    int clicks = 0;
    edit->OnButtonClick = [&](TObject*) { ++clicks; };
    ClickAt(edit, 10, 8);
    ASSERT_TRUE(edit->Focused());
    Display->Press(user::VK_DOWN, "", user::ModAlt);
    Pump();
    EXPECT_TRUE(edit->PopupVisible());
    EXPECT_EQ(user::GetActiveWindow(), Popup->Handle());
    Display->Press(user::VK_DOWN, "", user::ModAlt);   // the popup's key now, not the edit's
    Pump();
    EXPECT_TRUE(edit->PopupVisible());
    EXPECT_EQ(clicks, 1);
    ClickAt(edit, 10, 8);
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_TRUE(edit->Focused());
    Display->Press(user::VK_DOWN, "", user::ModAlt);
    Pump();
    EXPECT_TRUE(edit->PopupVisible());
    EXPECT_EQ(clicks, 2);
    ClickAt(edit, 10, 8);
    Display->Press(user::VK_DOWN);   // Down alone is no click key
    Pump();
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(clicks, 2);
}

TEST_F(ComboEditTest, NoChangeEventsWhileThePopupIsOpen) {
    UseSkin(0);
    auto* edit = NewEdit();
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText("one");
    EXPECT_EQ(changes, 1);
    ClickAt(edit->Button(), 5, 5);
    ASSERT_TRUE(edit->PopupVisible());
    edit->SetText("two");
    EXPECT_EQ(changes, 1);
    ClickAt(edit, 10, 8);   // a click into the edit closes it
    EXPECT_FALSE(edit->PopupVisible());
}

TEST_F(ComboEditTest, WithoutDirectInputTypingPasteAndCutDoNothing) {
    UseSkin(1);
    auto* edit = NewEdit(false);
    edit->SetText("kept");
    edit->SetDirectInput(false);
    ClickAt(edit, 10, 8);
    Display->Press('X', "x");
    Display->SetClipboardText("pasted");
    Display->Press('V', "", user::ModControl);
    Display->Press('A', "", user::ModControl);
    Display->Press('X', "", user::ModControl);
    Pump();
    EXPECT_EQ(edit->Text(), "kept");
    edit->SetDirectInput(true);
    edit->SelectAll();
    Display->Press('Z', "z");
    Display->Press(user::VK_RETURN, "\r");   // one line, though the native edit is a multi-line one
    Pump();
    EXPECT_EQ(edit->Text(), "z");
}

TEST_F(ComboEditTest, ButtonStatesShowTheGlyphsThreeImages) {
    UseSkin(0);
    auto* edit = NewEdit(false);
    TsEditButton* button = edit->Button();
    ParentsUpdated(Form);
    Pump();
    const auto normal = Rendered(button);
    MoveTo(button, 4, 4);
    const auto hot = Rendered(button);
    DownAt(button, 4, 4);
    const auto pressed = Rendered(button);
    UpAt(button, 4, 4);
    EXPECT_NE(normal, hot);
    EXPECT_NE(hot, pressed);
    EXPECT_NE(normal, pressed);
}

TEST_F(ComboEditTest, GlyphModesUserBitmapGrayAndBlend) {
    UseSkin(0);
    auto* edit = NewEdit(false);
    TsEditButton* button = edit->Button();
    TsGlyphMode* mode = edit->GlyphMode();
    ParentsUpdated(Form);
    Pump();
    const auto ellipsis = Rendered(button);
    const int full = FarthestFromBackground(edit);
    EXPECT_GT(full, 100);   // the dark dots
    mode->SetBlend(100);
    EXPECT_LE(FarthestFromBackground(edit), 1) << "Blend 100: the background only";
    mode->SetBlend(50);
    const int half = FarthestFromBackground(edit);
    EXPECT_NEAR(half, full / 2, 3);
    mode->SetBlend(250);
    EXPECT_EQ(mode->Blend(), 100);
    mode->SetBlend(0);
    EXPECT_EQ(Rendered(button), ellipsis);
    mode->SetGrayed(true);
    for (TColor c : Rendered(button))
        if ((c & 0xFF) != ((c >> 8) & 0xFF) || (c & 0xFF) != ((c >> 16) & 0xFF)) FAIL() << "not gray: " << c;
    mode->SetGrayed(false);
    // A user bitmap: three 10 x 8 red images over a black mask.
    TBitmap user;
    user.SetPixelFormat(pf24bit);
    user.SetSize(30, 16);
    user.Canvas()->Brush()->SetColor(0x0000FF);
    user.Canvas()->FillRect(TRect {0, 0, 30, 8});
    user.Canvas()->Brush()->SetColor(0);
    user.Canvas()->FillRect(TRect {0, 8, 30, 16});
    mode->SetGlyph(&user);
    EXPECT_FALSE(mode->UseDefaultGlyph());
    EXPECT_EQ(edit->GlyphWidth(), 10);
    EXPECT_EQ(button->Width(), 12);
    const auto red = Rendered(button);
    EXPECT_EQ(std::count(red.begin(), red.end(), TColor(0x0000FF)), 10 * 8);
    mode->SetUseDefaultGlyph(true);
    EXPECT_EQ(button->Width(), 20);
}

// A disabled edit's button is blended with the edit's own background, whatever the edit's Color: around the
// glyph it shows the background unchanged, and the glyph comes closer to it.
TEST_F(ComboEditTest, ADisabledButtonBlendsWithTheBackgroundUnderIt) {
    UseSkin(1);
    auto* edit = NewEdit(false);
    edit->SetColor(clWhite);
    ParentsUpdated(Form);
    Pump();
    const int enabledGlyph = FarthestFromBackground(edit);
    edit->SetEnabled(false);
    Pump();
    const int disabledGlyph = FarthestFromBackground(edit);
    EXPECT_LT(disabledGlyph, enabledGlyph);
    EXPECT_GT(disabledGlyph, 0);
    TsEditButton* button = edit->Button();
    TBitmap* back = edit->SkinData()->CacheBmp();
    for (const TPoint corner : {TPoint {0, 0}, TPoint {button->Width() - 1, button->Height() - 1}})
        EXPECT_EQ(button->SkinData()->CacheBmp()->Canvas()->Pixels(corner.x, corner.y),
            back->Canvas()->Pixels(button->Left() + 2 + corner.x, button->Top() + 2 + corner.y));
}

TEST_F(ComboEditTest, UnskinnedButtonDrawsTheGlyphOverTheNativeFace) {
    UseSkin(-1);
    auto* edit = NewEdit(false);
    edit->SetGlyphName("BTN_OPENFOLDER");
    Form->Repaint();
    Pump();
    // The folder's amber somewhere on the button.
    int amber = 0;
    for (int y = 0; y < edit->Button()->Height(); ++y)
        for (int x = 0; x < edit->Button()->Width(); ++x) {
            const TColor c = ScreenPixel(edit->Button(), x, y);
            if ((c & 0xFF) > 0xC0 && ((c >> 16) & 0xFF) < 0x80) ++amber;
        }
    EXPECT_GT(amber, 20);
}

}
