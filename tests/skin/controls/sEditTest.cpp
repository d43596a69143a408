// TsEdit and TsMaskEdit on the headless display: typing, selection, clipboard and undo by real keys, the cached
// look while not hot and the native client while hot, password text, disabled and read-only edits, the cache of
// an edit outside its parent, skin switches while shown, the bound label.
#include "support/ControlsHost.h"
#include "support/ControlsKit.h"

#include "platform/classes/Colors.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Focus.h"
#include "platform/user/Painting.h"
#include "platform/user/VirtualKeys.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sMaskEdit.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class EditTest : public ControlsTest {
protected:
    template <class T>
    T* NewEdit(int left, int top, const std::string& text, int width = 120) {
        auto* edit = Create<T>(Form);
        edit->SetBounds(left, top, width, 24);
        edit->SetText(text);
        edit->SetParent(Form);
        Pump();
        return edit;
    }
    void Chord(unsigned vk, unsigned modifiers) {
        Display->Press(vk, "", modifiers);
        Pump();
    }
    // The edit's pixels on the screen, window coordinates, as a list.
    std::vector<gdi::COLORREF> Pixels(const TWinControl* edit) {
        std::vector<gdi::COLORREF> out;
        const TPoint origin = edit->ClientToScreen(TPoint {0, 0});
        const TPoint corner = edit->Parent()->ClientToScreen(TPoint {edit->Left(), edit->Top()});
        (void)origin;
        for (int y = 0; y < edit->Height(); ++y)
            for (int x = 0; x < edit->Width(); ++x) out.push_back(Display->ScreenPixel(corner.x + x, corner.y + y));
        return out;
    }
    gdi::COLORREF WindowPixel(const TWinControl* edit, int x, int y) {
        const TPoint corner = edit->Parent()->ClientToScreen(TPoint {edit->Left(), edit->Top()});
        return Display->ScreenPixel(corner.x + x, corner.y + y);
    }
    static gdi::COLORREF CachePixel(TsCommonData* data, int x, int y) {
        return gdi::COLORREF(data->CacheBmp()->Canvas()->Pixels(x, y));
    }
    static int CountColour(const std::vector<gdi::COLORREF>& pixels, gdi::COLORREF colour) {
        return int(std::count(pixels.begin(), pixels.end(), colour));
    }
    // How many pixels of the edit printed with its frame equal its cache's.
    template <class TPrintedEdit>
    static int PrintedPixelsLikeItsCache(TPrintedEdit* edit) {
        TBitmap print;
        print.SetPixelFormat(pf24bit);
        print.SetSize(edit->Width(), edit->Height());
        print.Canvas()->Brush()->SetColor(clFuchsia);
        print.Canvas()->FillRect(TRect {0, 0, edit->Width(), edit->Height()});
        edit->Perform(user::WM_PRINT, WPARAM(print.Canvas()->Handle()), user::PRF_CLIENT | user::PRF_NONCLIENT);
        int same = 0;
        for (int y = 0; y < edit->Height(); ++y)
            for (int x = 0; x < edit->Width(); ++x)
                same += print.Canvas()->Pixels(x, y) == CachePixel(edit->SkinData(), x, y) ? 1 : 0;
        return same;
    }
};

TEST_F(EditTest, TypingSelectionClipboardAndUndoGoThroughTheSkinnedEdit) {
    UseSkin(1);
    auto* edit = NewEdit<TsEdit>(20, 20, "");
    ClickAt(edit, 10, 8);
    ASSERT_TRUE(edit->Focused());
    Type("hello world");
    EXPECT_EQ(edit->Text(), "hello world");
    Chord(user::VK_HOME, user::ModShift);   // select back to the start
    EXPECT_EQ(edit->SelLength(), 11);
    Chord('C', user::ModControl);
    EXPECT_EQ(Display->ClipboardText(), "hello world");
    Chord(user::VK_END, 0);
    Chord('V', user::ModControl);
    EXPECT_EQ(edit->Text(), "hello worldhello world");
    Chord('Z', user::ModControl);
    EXPECT_EQ(edit->Text(), "hello world");
    Chord(user::VK_HOME, 0);
    Chord(user::VK_RIGHT, user::ModShift);
    Chord('X', user::ModControl);
    EXPECT_EQ(edit->Text(), "ello world");
    EXPECT_EQ(Display->ClipboardText(), "h");
    EXPECT_TRUE(PaintsSkinned(edit->SkinData()));
}

TEST_F(EditTest, ReadOnlyEditKeepsItsTextAgainstTypingAndPasting) {
    UseSkin(0);
    auto* edit = NewEdit<TsEdit>(20, 20, "fixed");
    edit->SetReadOnly(true);
    ClickAt(edit, 10, 8);
    Display->SetClipboardText("pasted");
    Type("abc");
    Chord('V', user::ModControl);
    Chord(user::VK_BACK, 0);
    EXPECT_EQ(edit->Text(), "fixed");
    Chord('A', user::ModControl);
    Chord('C', user::ModControl);
    EXPECT_EQ(Display->ClipboardText(), "fixed");   // copying still works
}

TEST_F(EditTest, APasswordEditShowsItsCharacterRepeatedNeverTheTextInTheCachedLook) {
    UseSkin(0);
    auto* secret = NewEdit<TsEdit>(20, 20, "WWWW");
    secret->SetPasswordChar(U'*');
    auto* stars = NewEdit<TsEdit>(20, 60, "****");
    auto* plain = NewEdit<TsEdit>(20, 100, "WWWW");
    for (auto* e : {secret, stars, plain}) e->SkinData()->Invalidate();
    MoveTo(Form, 300, 200);
    ASSERT_FALSE(secret->SkinData()->IsHot());
    EXPECT_EQ(Pixels(secret), Pixels(stars));
    EXPECT_NE(Pixels(secret), Pixels(plain));
}

TEST_F(EditTest, WhileHotTheNativeEditPaintsTheClientAndOnlyTheFrameComesFromTheCache) {
    UseSkin(0);
    auto* edit = NewEdit<TsEdit>(20, 20, "selected text");
    edit->SetHideSelection(true);
    MoveTo(Form, 300, 200);
    const gdi::COLORREF highlight = ColorToRGB(clHighlight);
    EXPECT_EQ(CountColour(Pixels(edit), highlight), 0);
    ClickAt(edit, 10, 8);
    ASSERT_TRUE(edit->SkinData()->IsHot());
    edit->SelectAll();
    Pump();
    const auto hot = Pixels(edit);
    EXPECT_GT(CountColour(hot, highlight), 20);   // only the native edit draws a selection
    TsCommonData* data = edit->SkinData();
    const int w = edit->Width();
    const int h = edit->Height();
    for (auto [x, y] : {std::pair {0, 0}, {1, h / 2}, {60, 0}, {60, h - 1}, {w - 1, h / 2}, {w - 2, h - 2}})
        EXPECT_EQ(WindowPixel(edit, x, y), CachePixel(data, x, y)) << x << "," << y;
    // Focus elsewhere: the whole edit comes from the cache again, without the selection.
    auto* other = NewEdit<TsEdit>(20, 80, "");
    other->SetFocus();
    Pump();
    ASSERT_FALSE(edit->SkinData()->IsHot());
    EXPECT_EQ(CountColour(Pixels(edit), highlight), 0);
    for (auto [x, y] : {std::pair {5, h / 2}, {60, h / 2}, {110, 5}})
        EXPECT_EQ(WindowPixel(edit, x, y), CachePixel(data, x, y)) << x << "," << y;
}

// The focus leaving an edit repaints it at once: before anything else runs it shows its cached look again.
TEST_F(EditTest, AnEditLosingTheFocusShowsItsCachedLookAtOnce) {
    UseSkin(0);
    auto* edit = NewEdit<TsEdit>(20, 20, "selected text");
    auto* other = NewEdit<TsEdit>(20, 80, "");
    MoveTo(Form, 300, 200);
    ClickAt(edit, 10, 8);
    edit->SelectAll();
    Pump();
    const gdi::COLORREF highlight = ColorToRGB(clHighlight);
    ASSERT_GT(CountColour(Pixels(edit), highlight), 20);
    other->SetFocus();
    ASSERT_FALSE(edit->SkinData()->IsHot());
    user::FlushDisplay();
    EXPECT_EQ(CountColour(Pixels(edit), highlight), 0);
    EXPECT_EQ(WindowPixel(edit, 60, 12), CachePixel(edit->SkinData(), 60, 12));
}

// Painting an edit, hot or not, leaves its Color as it is: the colours come from loading and the skin commands,
// so an edit made in code under a skin keeps the window colour it was made with. Masked edits alike.
TEST_F(EditTest, PaintingAnEditLeavesItsColourAlone) {
    int differing = 0;
    for (int skin = 0; skin < 4; ++skin) {
        UseSkin(skin);
        for (bool masked : {false, true}) {
            TCustomEdit* edit = masked ? static_cast<TCustomEdit*>(NewEdit<TsMaskEdit>(20, 20, "text"))
                                       : NewEdit<TsEdit>(20, 20, "text");
            TsCommonData* data = masked ? static_cast<TsMaskEdit*>(edit)->SkinData() : static_cast<TsEdit*>(edit)->SkinData();
            const TsGeneralData& section = Manager->Sections[std::size_t(data->SkinIndex)];
            if (ColorToRGB(section.Color) != ColorToRGB(clWindow)) ++differing;
            EXPECT_EQ(edit->Color(), clWindow) << skin << masked;
            edit->SetFocus();
            Pump();
            EXPECT_TRUE(data->IsHot());
            EXPECT_EQ(edit->Color(), clWindow) << skin << masked;
            edit->Free();
            Pump();
        }
    }
    EXPECT_GT(differing, 0);   // some skin has an edit colour of its own
}

// A masked edit printed with its frame gives the picture of its cache, frame and text, not only on the screen.
TEST_F(EditTest, APrintedMaskEditShowsItsCachedPicture) {
    UseSkin(1);
    auto* edit = NewEdit<TsMaskEdit>(20, 20, "printed");
    MoveTo(Form, 300, 200);
    Pump();
    EXPECT_EQ(PrintedPixelsLikeItsCache(edit), edit->Width() * edit->Height());
}

// Printed while not hot, the edit gives its cached picture whole: frame and text where the window shows them.
TEST_F(EditTest, APrintedEditShowsItsCachedPicture) {
    UseSkin(1);
    auto* edit = NewEdit<TsEdit>(20, 20, "printed");
    MoveTo(Form, 300, 200);
    Pump();
    EXPECT_EQ(PrintedPixelsLikeItsCache(edit), edit->Width() * edit->Height());
}

// A paint into a given DC puts the skinned frame there.
TEST_F(EditTest, APaintIntoAGivenDcCarriesTheSkinnedFrame) {
    UseSkin(1);
    auto* edit = NewEdit<TsEdit>(20, 20, "given");
    MoveTo(Form, 300, 200);
    Pump();
    TBitmap into;
    into.SetPixelFormat(pf24bit);
    into.SetSize(edit->Width(), edit->Height());
    into.Canvas()->Brush()->SetColor(clFuchsia);
    into.Canvas()->FillRect(TRect {0, 0, edit->Width(), edit->Height()});
    edit->Perform(user::WM_PAINT, WPARAM(into.Canvas()->Handle()), 0);
    const int right = edit->Width() - 1;
    const int bottom = edit->Height() - 1;
    EXPECT_EQ(into.Canvas()->Pixels(right, bottom), CachePixel(edit->SkinData(), right, bottom));
    // Hot, only the frame strips come from the cache; they go to the given DC too.
    ClickAt(edit, 10, 8);
    ASSERT_TRUE(edit->SkinData()->IsHot());
    into.Canvas()->FillRect(TRect {0, 0, edit->Width(), edit->Height()});
    edit->Perform(user::WM_PAINT, WPARAM(into.Canvas()->Handle()), 0);
    EXPECT_EQ(into.Canvas()->Pixels(right, bottom), CachePixel(edit->SkinData(), right, bottom));
}

// An edit swallows the erase: WM_ERASEBKGND gets no answer.
TEST_F(EditTest, AnEditSwallowsTheEraseWithoutAnAnswer) {
    UseSkin(0);
    auto* edit = NewEdit<TsEdit>(20, 20, "erase");
    TMessage erase {user::WM_ERASEBKGND, 0, 0, 0};
    edit->WindowProc(erase);
    EXPECT_EQ(erase.Result, 0);
}

// A new skin's command leaves the repainting to the refresh that follows it: the masked edit invalidates nothing.
TEST_F(EditTest, ANewSkinCommandLeavesAMaskEditsWindowValid) {
    UseSkin(1);
    auto* edit = NewEdit<TsMaskEdit>(20, 20, "text");
    MoveTo(Form, 300, 200);
    Pump();
    ASSERT_FALSE(user::GetUpdateRect(edit->WindowHandle(), nullptr, false));
    edit->Perform(SM_SKINCMD, SkinCommandWParam(SMC_NEWSKIN), LPARAM(Manager));
    EXPECT_FALSE(user::GetUpdateRect(edit->WindowHandle(), nullptr, false));
}

TEST_F(EditTest, TheMouseOverAnEditMakesItHotAndLeavingMakesItCachedAgain) {
    UseSkin(1);
    auto* edit = NewEdit<TsEdit>(20, 20, "text");
    MoveTo(Form, 300, 200);
    const auto normal = Pixels(edit);
    MoveTo(edit, 30, 10);
    EXPECT_TRUE(edit->SkinData()->IsHot());
    EXPECT_NE(Pixels(edit), normal);   // the hot frame
    MoveTo(Form, 300, 200);
    EXPECT_FALSE(edit->SkinData()->IsHot());
    EXPECT_EQ(Pixels(edit), normal);
}

TEST_F(EditTest, ADisabledEditIsBlendedAndTakesNoInput) {
    UseSkin(0);
    auto* on = NewEdit<TsEdit>(20, 20, "same");
    auto* off = NewEdit<TsEdit>(20, 60, "same");
    off->SetEnabled(false);
    Pump();
    MoveTo(Form, 300, 200);
    EXPECT_NE(Pixels(on), Pixels(off));
    ClickAt(off, 10, 8);
    Type("x");
    EXPECT_EQ(off->Text(), "same");
    EXPECT_FALSE(off->SkinData()->IsHot());
}

// Enabling or disabling a shown masked edit renders its cache again: the disabled look comes and goes.
TEST_F(EditTest, AShownMaskEditTakesAndLosesItsDisabledLook) {
    UseSkin(0);
    auto* edit = NewEdit<TsMaskEdit>(20, 20, "same");
    MoveTo(Form, 300, 200);
    const std::vector<gdi::COLORREF> enabled = Pixels(edit);
    edit->SetEnabled(false);
    Pump();
    EXPECT_NE(Pixels(edit), enabled);
    edit->SetEnabled(true);
    Pump();
    EXPECT_EQ(Pixels(edit), enabled);
}

TEST_F(EditTest, AnEditReachingOutsideItsParentRendersItsCacheAgainAtEveryPaint) {
    UseSkin(0);
    auto* edit = NewEdit<TsEdit>(300, 20, "partly hidden", 120);   // the form's client is 360 wide
    MoveTo(Form, 10, 200);
    EXPECT_TRUE(edit->SkinData()->CacheIncomplete);
    EXPECT_FALSE(edit->SkinData()->BGChanged);
    edit->Invalidate();
    Pump();
    EXPECT_FALSE(edit->SkinData()->BGChanged);   // rendered again for the incomplete cache
    edit->SetLeft(20);
    Pump();
    edit->Invalidate();
    Pump();
    EXPECT_FALSE(edit->SkinData()->CacheIncomplete);
}

TEST_F(EditTest, ChangingTheTextWhileNotHotShowsTheNewTextFromTheCache) {
    UseSkin(2);
    auto* edit = NewEdit<TsEdit>(20, 20, "first");
    auto* twin = NewEdit<TsEdit>(20, 60, "second");
    MoveTo(Form, 300, 200);
    edit->SetText("second");
    Pump();
    EXPECT_EQ(Pixels(edit), Pixels(twin));
}

TEST_F(EditTest, SkinSwitchesWhileShownRepaintFrameAndFaceAndRemovingTheSkinGivesTheNativeEdit) {
    UseSkin(0);
    auto* edit = NewEdit<TsEdit>(20, 20, "text");
    auto* mask = NewEdit<TsMaskEdit>(20, 60, "text");
    MoveTo(Form, 300, 200);
    const gdi::COLORREF macCorner = WindowPixel(edit, 1, 10);
    UseSkin(2);
    EXPECT_TRUE(PaintsSkinned(edit->SkinData()));
    EXPECT_NE(WindowPixel(edit, 1, 10), macCorner);
    EXPECT_EQ(WindowPixel(edit, 1, 10), CachePixel(edit->SkinData(), 1, 10));
    EXPECT_EQ(WindowPixel(mask, 1, 10), CachePixel(mask->SkinData(), 1, 10));
    UseSkin(-1);
    EXPECT_FALSE(PaintsSkinned(edit->SkinData()));
    EXPECT_FALSE(PaintsSkinned(mask->SkinData()));
    // The plain edit: white client, the sunken edge's dark outer line.
    EXPECT_EQ(WindowPixel(edit, 60, 12), ColorToRGB(clWindow));
    EXPECT_EQ(WindowPixel(mask, 60, 12), ColorToRGB(clWindow));
    UseSkin(3);
    EXPECT_EQ(WindowPixel(mask, 1, 10), CachePixel(mask->SkinData(), 1, 10));
    ClickAt(mask, 30, 8);
    Type("!");
    EXPECT_EQ(mask->Text().size(), 5u);
}

TEST_F(EditTest, MaskEditWithEmptyTextDrawsNoTextAndTheEditSectionIsItsOwn) {
    UseSkin(0);
    auto* empty = NewEdit<TsMaskEdit>(20, 20, "");
    auto* full = NewEdit<TsMaskEdit>(20, 60, "Masked");
    auto* edit = NewEdit<TsEdit>(20, 100, "");
    MoveTo(Form, 300, 200);
    EXPECT_EQ(empty->SkinData()->SkinSection(), "EDIT");
    EXPECT_EQ(empty->SkinData()->ControlKind, TacControlKind::Unknown);
    EXPECT_EQ(edit->SkinData()->SkinSection(), "EDIT");
    EXPECT_NE(Pixels(empty), Pixels(full));
    full->SetText("");
    Pump();
    EXPECT_EQ(Pixels(empty), Pixels(full));
    EXPECT_FALSE(empty->ControlStyle().Contains(csSetCaption));
}

TEST_F(EditTest, AMaskEditShowsItsMaskedTextInTheCachedLookAndTakesTypingThroughTheMask) {
    UseSkin(2);
    auto* masked = NewEdit<TsMaskEdit>(20, 20, "");
    masked->SetEditMask("00.00.0000;1;_");
    auto* shown = NewEdit<TsMaskEdit>(20, 60, "__.__.____");
    Pump();
    MoveTo(Form, 300, 200);
    EXPECT_EQ(masked->EditText(), "__.__.____");
    masked->SkinData()->Invalidate();
    Pump();
    EXPECT_EQ(Pixels(masked), Pixels(shown));   // the blanks and literals, not an empty text
    ClickAt(masked, 5, 8);
    Display->Press(user::VK_HOME, "");
    Type("12052026");
    EXPECT_EQ(masked->Text(), "12.05.2026");
    shown->SetText("12.05.2026");
    MoveTo(Form, 300, 200);
    auto* other = NewEdit<TsEdit>(20, 100, "");
    other->SetFocus();
    Pump();
    EXPECT_EQ(Pixels(masked), Pixels(shown));
}

TEST_F(EditTest, SkinQueriesAreAnsweredInLParam) {
    UseSkin(0);
    auto* edit = NewEdit<TsEdit>(20, 20, "");
    auto* mask = NewEdit<TsMaskEdit>(20, 60, "");
    for (TWinControl* c : {static_cast<TWinControl*>(edit), static_cast<TWinControl*>(mask)}) {
        TMessage m = MakeSkinCommand(SMC_ISSKINNED, 0, 0);
        c->Perform(m);
        EXPECT_EQ(m.LParam, 1);
    }
    TMessage bg = MakeSkinCommand(SMC_ISBGFROMPARENT, 0, 7);
    edit->Perform(bg);
    EXPECT_EQ(bg.LParam, 0);
    UseSkin(-1);
    TMessage off = MakeSkinCommand(SMC_ISSKINNED, 0, 0);
    edit->Perform(off);
    EXPECT_EQ(off.LParam, 1);
}

TEST_F(EditTest, TheBoundLabelFollowsTheEditsPlaceVisibilityAndEnabledState) {
    UseSkin(0);
    auto* edit = NewEdit<TsEdit>(120, 20, "");
    edit->BoundLabel()->SetCaption("Name:");
    edit->BoundLabel()->SetActive(true);
    Pump();
    TCustomLabel* label = edit->BoundLabel()->Label();
    ASSERT_NE(label, nullptr);
    EXPECT_LT(label->Left() + label->Width(), edit->Left() + 1);
    edit->SetBounds(160, 80, 120, 24);
    Pump();
    EXPECT_LT(label->Left() + label->Width(), 161);
    EXPECT_GT(label->Left() + label->Width(), 100);
    EXPECT_GE(label->Top(), 80);
    edit->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
    edit->SetVisible(false);
    EXPECT_FALSE(label->Visible());
}

TEST_F(EditTest, RemovingTheSkinFromAMaskEditMakesItsWindowAgain) {
    UseSkin(0);
    auto* mask = NewEdit<TsMaskEdit>(20, 20, "kept");
    UseSkin(-1);
    mask->HandleNeeded();
    Pump();
    EXPECT_NE(mask->WindowHandle(), nullptr);
    EXPECT_EQ(mask->Text(), "kept");
    EXPECT_EQ(WindowPixel(mask, 60, 12), ColorToRGB(clWindow));
}

}
