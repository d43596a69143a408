// TsComboBoxEx: items with images and indents from ItemsEx, the image list's height and lifetime, choosing
// by mouse with its events, and the images drawn on the face and in the list.
#include "support/ControlsKit.h"

#include "platform/classes/Errors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TReader.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/controls/ListBox.h"
#include "platform/user/display/Display.h"

#include "skin/controls/sComboBox.h"
#include "skin/controls/sComboBoxes_ColorBox.h"
#include "skin/controls/sComboBoxes_ComboBoxEx.h"
#include "skin/controls/sControlClasses.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sCommonData.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

TImageList* SolidImages(TComponent* owner, int size, std::initializer_list<TColor> colors) {
    auto* images = Create<TImageList>(owner);
    images->SetSize(size, size);
    for (TColor c : colors) {
        TBitmap picture;
        picture.SetPixelFormat(pf24bit);
        picture.SetSize(size, size);
        picture.Canvas()->Brush()->SetColor(c);
        picture.Canvas()->FillRect(TRect {0, 0, size, size});
        images->Add(&picture, nullptr);
    }
    return images;
}

class ComboBoxExTest : public ControlsTest, public ::testing::WithParamInterface<int> {
protected:
    TsComboBoxEx* MakeCombo() {
        auto* c = Create<TsComboBoxEx>(Form);
        c->SetBounds(20, 20, 180, 22);
        c->SetParent(Form);
        c->ItemsEx()->AddItem("Home", 0, 1, -1, 0, nullptr);
        c->ItemsEx()->AddItem("Documents", 0, 1, -1, 1, nullptr);
        c->ItemsEx()->AddItem("Letters", 0, 1, -1, 2, nullptr);
        Pump();
        return c;
    }
};

TEST_P(ComboBoxExTest, ItemsAddedAfterTheWindowExistsShowAtOnceAndCaptionsFollow) {
    UseSkin(GetParam());
    TsComboBoxEx* c = MakeCombo();
    ASSERT_TRUE(c->HandleAllocated());
    EXPECT_EQ(c->Items()->Count(), 3);
    c->ItemsEx()->AddItem("Music", -1, -1, -1, 0, nullptr);
    EXPECT_EQ(c->Items()->Count(), 4);
    EXPECT_EQ(c->Items()->Get(3), "Music");
    c->SetItemIndex(1);
    c->ItemsEx()->GetItem(1)->SetCaption("Papers");
    EXPECT_EQ(c->Items()->Get(1), "Papers");
    EXPECT_EQ(c->ItemIndex(), 1);
    c->Clear();
    EXPECT_EQ(c->Items()->Count(), 0);
    EXPECT_EQ(c->ItemsEx()->Count(), 0);
}

TEST_P(ComboBoxExTest, ItemsAndTheChoiceMadeBeforeTheWindowReachIt) {
    UseSkin(GetParam());
    auto* c = Create<TsComboBoxEx>(Form);
    c->ItemsEx()->AddItem("One", -1, -1, -1, 0, nullptr);
    c->ItemsEx()->AddItem("Two", -1, -1, -1, 0, nullptr);
    c->SetItemIndex(1);
    c->SetParent(Form);
    Pump();
    ASSERT_TRUE(c->HandleAllocated());
    EXPECT_EQ(c->Items()->Count(), 2);
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(c->Text(), "Two");
}

TEST_P(ComboBoxExTest, LargerImagesRaiseTheItemHeightAndAFreedListIsForgotten) {
    UseSkin(GetParam());
    TsComboBoxEx* c = MakeCombo();
    EXPECT_EQ(c->ItemHeight(), 16);
    c->SetImages(SolidImages(Form, 12, {clRed}));
    EXPECT_EQ(c->ItemHeight(), 16);
    TImageList* big = SolidImages(Form, 24, {clRed});
    c->SetImages(big);
    EXPECT_EQ(c->ItemHeight(), 24);
    delete big;
    EXPECT_EQ(c->Images(), nullptr);
    c->Invalidate();
    Pump();   // paints without the list
}

// A box that notes the rectangle its closed face was drawn in.
class FaceNotingComboBoxEx : public TsComboBoxEx {
public:
    using TsComboBoxEx::TsComboBoxEx;
    TRect Face;

protected:
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override {
        if (state.Contains(odComboBoxEdit)) Face = rect;
        TsComboBoxEx::DrawItem(index, rect, state);
    }
};

// Without a skin the face's text is written in the font colour, enabled or not, and ends 3 pixels before the
// face's end.
TEST_F(ComboBoxExTest, WithoutASkinTheFaceTextIsInTheFontColourAndStopsShortOfTheFacesEnd) {
    UseSkin(-1);
    auto* c = Create<FaceNotingComboBoxEx>(Form);
    c->SetBounds(20, 20, 120, 22);
    c->SetParent(Form);
    c->ItemsEx()->AddItem(std::string(40, 'W'), -1, -1, -1, 0, nullptr);
    c->SetItemIndex(0);
    c->Font()->SetColor(TColor(0x00C000));
    c->SetEnabled(false);
    Pump();
    ASSERT_GT(c->Face.right, c->Face.left);
    const std::vector<gdi::COLORREF> all = ScreenPixels(c, c->Face);
    EXPECT_GT(std::count(all.begin(), all.end(), gdi::COLORREF(0x00C000)), 0);
    EXPECT_EQ(std::count(all.begin(), all.end(), gdi::COLORREF(ColorToRGB(clGrayText))), 0);
    const std::vector<gdi::COLORREF> end
        = ScreenPixels(c, TRect {c->Face.right - 3, c->Face.top, c->Face.right, c->Face.bottom});
    EXPECT_EQ(std::count(end.begin(), end.end(), gdi::COLORREF(0x00C000)), 0);
}

TEST_F(ComboBoxExTest, AnItemOutsideTheCollectionIsAListError) {
    TsComboBoxEx* c = MakeCombo();
    EXPECT_EQ(c->ItemsEx()->GetItem(2)->Caption(), "Letters");
    EXPECT_THROW(c->ItemsEx()->GetItem(3), EListError);
    EXPECT_THROW(c->ItemsEx()->GetItem(-1), EListError);
}

TEST_P(ComboBoxExTest, IndentsSelectedImagesAndTheFaceImage) {
    UseSkin(GetParam());
    TsComboBoxEx* c = MakeCombo();
    EXPECT_EQ(c->ImageRect(0, TRect {0, 0, 100, 16}, {}), TRect {});   // no images yet
    c->SetImages(SolidImages(Form, 16, {clRed, clBlue}));
    const TRect line {0, 0, 150, 16};
    const TRect level0 = c->ImageRect(0, line, {});
    const TRect level2 = c->ImageRect(2, line, {});
    EXPECT_EQ(level2.left - level0.left, 32);
    EXPECT_EQ(c->ImageRect(2, line, {odComboBoxEdit}).left, level0.left);   // the face is never indented
    EXPECT_EQ(c->ImageIndexOf(1, {odSelected}), 1);
    EXPECT_EQ(c->ImageIndexOf(1, {}), 0);
    EXPECT_EQ(c->ImageIndexOf(1, {odComboBoxEdit, odSelected}), 0);
    c->ItemsEx()->GetItem(1)->SetSelectedImageIndex(-1);
    EXPECT_EQ(c->ImageIndexOf(1, {odSelected}), 0);
}

TEST_P(ComboBoxExTest, TheMouseChoosesAnItemWithItsEventsAndTheFaceShowsItsImage) {
    UseSkin(GetParam());
    TsComboBoxEx* c = MakeCombo();
    c->SetImages(SolidImages(Form, 16, {TColor(0x00C000), TColor(0xC00000)}));
    std::vector<std::string> log;
    c->OnDropDown = [&](TObject*) { log.push_back("DropDown"); };
    c->OnCloseUp = [&](TObject*) { log.push_back("CloseUp"); };
    c->OnSelect = [&](TObject*) { log.push_back("Select"); };
    ClickAt(c, c->Width() - 8, c->Height() / 2);
    ASSERT_TRUE(c->DroppedDown());
    user::FlushDisplay();
    gdi::RECT r {};
    user::SendMessage(c->ListHandle(), user::LB_GETITEMRECT, 2, user::LPARAM(&r));
    // The third line's image, indented two levels.
    const TRect image = c->ImageRect(2, TRect {r.left, r.top, r.right, r.bottom}, {});
    gdi::POINT p {(image.left + image.right) / 2, (image.top + image.bottom) / 2};
    user::ClientToScreen(c->ListHandle(), &p);
    EXPECT_EQ(Display->ScreenPixel(p.x, p.y), gdi::COLORREF(0x00C000));
    gdi::POINT q {60, (r.top + r.bottom) / 2};
    user::ClientToScreen(c->ListHandle(), &q);
    Display->Click(q.x, q.y);
    Pump();
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(c->Text(), "Letters");
    EXPECT_EQ(log, (std::vector<std::string> {"DropDown", "CloseUp", "Select"}));
    const TRect face = c->ImageRect(2, TRect {3, 3, c->Width() - 3, c->Height() - 3}, {odComboBoxEdit});
    EXPECT_EQ(ScreenPixel(c, (face.left + face.right) / 2, (face.top + face.bottom) / 2), gdi::COLORREF(0x00C000));
}

// Each line of the open list shows its image in its own line, as far from the line's left as from its top
// (indent aside); the face's image sits as far from the face's left as from its top.
TEST_P(ComboBoxExTest, EachLineShowsItsImageInItsOwnLine) {
    UseSkin(GetParam());
    TsComboBoxEx* c = MakeCombo();
    c->SetImages(SolidImages(Form, 10, {TColor(0x00C000), TColor(0xC00000)}));
    c->SetItemIndex(0);
    Pump();
    const int margin = (c->Height() - 6 - 10) / 2;
    EXPECT_EQ(ScreenPixel(c, 3 + margin, 3 + margin), gdi::COLORREF(0x00C000));
    EXPECT_NE(ScreenPixel(c, 3 + margin - 1, 3 + margin), gdi::COLORREF(0x00C000));
    ClickAt(c, c->Width() - 8, c->Height() / 2);
    ASSERT_TRUE(c->DroppedDown());
    user::FlushDisplay();
    for (int line = 1; line <= 2; ++line) {
        gdi::RECT r {};
        user::SendMessage(c->ListHandle(), user::LB_GETITEMRECT, user::WPARAM(line), user::LPARAM(&r));
        const int inset = (r.bottom - r.top - 10) / 2;
        gdi::POINT first {r.left + inset + 16 * line, r.top + inset};
        gdi::POINT before {first.x - 1, first.y};
        user::ClientToScreen(c->ListHandle(), &first);
        user::ClientToScreen(c->ListHandle(), &before);
        EXPECT_EQ(Display->ScreenPixel(first.x, first.y), gdi::COLORREF(0x00C000)) << line;
        EXPECT_NE(Display->ScreenPixel(before.x, before.y), gdi::COLORREF(0x00C000)) << line;
    }
    Key(user::VK_ESCAPE);
}

// The face follows its images: a list given to a shown box, and images changed in the list, show at once; a
// box that loses its list gets a new window.
TEST_P(ComboBoxExTest, TheFaceShowsNewAndChangedImagesAtOnceAndLosingTheListMakesANewWindow) {
    UseSkin(GetParam());
    TsComboBoxEx* c = MakeCombo();
    c->SetItemIndex(0);
    Pump();
    const TRect face = c->ImageRect(0, TRect {3, 3, c->Width() - 3, c->Height() - 3}, {odComboBoxEdit});
    TImageList* images = SolidImages(Form, 12, {TColor(0x00C000), TColor(0xC00000)});
    c->SetImages(images);
    Pump();
    const TPoint mid {(face.left + face.right) / 2, c->Height() / 2};
    const TRect now = c->ImageRect(0, TRect {3, 3, c->Width() - 3, c->Height() - 3}, {odComboBoxEdit});
    const TPoint at {(now.left + now.right) / 2, (now.top + now.bottom) / 2};
    (void)mid;
    EXPECT_EQ(ScreenPixel(c, at.x, at.y), gdi::COLORREF(0x00C000));
    images->Clear();
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(12, 12);
    picture.Canvas()->Brush()->SetColor(TColor(0x0000C0));
    picture.Canvas()->FillRect(TRect {0, 0, 12, 12});
    images->Add(&picture, nullptr);
    Pump();
    EXPECT_EQ(ScreenPixel(c, at.x, at.y), gdi::COLORREF(0x0000C0));
    const user::HWND before = c->Handle();
    c->SetImages(nullptr);
    Pump();
    EXPECT_NE(c->Handle(), before);
    EXPECT_EQ(c->Items()->Count(), 3);
    EXPECT_EQ(c->ItemIndex(), 0);
}

// The options window's combos as form text writes them.
TEST_F(ComboBoxExTest, TheThreeCombosAreReadFromFormText) {
    RegisterSkinControlClasses();
    auto* form = Create<TForm>(Application);
    ReadRootComponent(form, R"(object Options: TForm
  Width = 400
  Height = 200
  object sComboBox1: TsComboBox
    Style = csDropDownList
    ReadOnly = True
    Items.Strings = (
      'One'
      'Two')
    ItemIndex = 1
  end
  object sColorBox1: TsColorBox
    Style = [cbStandardColors, cbCustomColor]
    Selected = clRed
    ShowColorName = False
  end
  object sComboBoxEx1: TsComboBoxEx
    ItemsEx = <
      item
        Caption = 'Farm'
        ImageIndex = 0
      end
      item
        Caption = 'Node'
        Indend = 1
      end>
    DropDownCount = 5
  end
end
)");
    form->Show();
    Pump();
    auto* combo = dynamic_cast<TsComboBox*>(form->FindComponent("sComboBox1"));
    auto* colors = dynamic_cast<TsColorBox*>(form->FindComponent("sColorBox1"));
    auto* ex = dynamic_cast<TsComboBoxEx*>(form->FindComponent("sComboBoxEx1"));
    ASSERT_TRUE(combo && colors && ex);
    EXPECT_TRUE(combo->ReadOnly());
    EXPECT_EQ(combo->Text(), "Two");
    EXPECT_EQ(colors->Selected(), clRed);
    EXPECT_FALSE(colors->ShowColorName());
    EXPECT_EQ(colors->Items()->Get(0), "Custom...");
    ASSERT_EQ(ex->ItemsEx()->Count(), 2);
    EXPECT_EQ(ex->ItemsEx()->GetItem(1)->Indend(), 1);
    EXPECT_EQ(ex->Items()->Get(0), "Farm");
    EXPECT_EQ(ex->DropDownCount(), 5);
    delete form;
}

INSTANTIATE_TEST_SUITE_P(NoSkinAndNextStyle, ComboBoxExTest, ::testing::Values(-1, 2),
    [](const auto& info) { return SkinShortName(info.param); });

}
