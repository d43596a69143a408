// Skinned controls read right to left: the vertical bars of the memo, rich edit, tree, list and scroll box along
// the left edge over the native bar there, the combo buttons on the left with the text beside them, and the bit
// button's glyph on the other side of its caption, the text of the rich edit, list, combo and colour boxes and
// the group caption on the right. Pictures in two skins show the bar where it must be.
#include "support/ControlsHost.h"
#include "support/ControlsKit.h"

#include "platform/classes/Colors.h"
#include "platform/classes/TBitmap.h"
#include "platform/user/Messages.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/controls/ComboBox.h"
#include "platform/user/controls/ListView.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sComboBox.h"
#include "skin/controls/sComboBoxes_ColorBox.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/controls/sListView.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sRichEdit.h"
#include "skin/controls/sScrollBox.h"
#include "skin/controls/sTreeView.h"
#include "skin/engine/sScrollBar.h"

#include <algorithm>
#include <functional>
#include <map>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

std::string RtlRows(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "Row " + std::to_string(i) + (i + 1 < count ? "\r\n" : "");
    return text;
}

bool RtlLeftScrollBar(const TWinControl* control) {
    return (user::DWORD(user::GetWindowLong(control->WindowHandle(), user::GWL_EXSTYLE)) & user::WS_EX_LEFTSCROLLBAR) != 0;
}

class RightToLeftControls : public ControlsTest {
protected:
    TsMemo* NewMemo(TBiDiMode mode, const std::string& text = RtlRows(40)) {
        Form->SetBiDiMode(mode);
        auto* memo = Create<TsMemo>(Form);
        memo->SetBounds(20, 20, 180, 100);
        memo->SetScrollBars(ssVertical);
        memo->SetText(text);
        memo->SetParent(Form);
        Pump();
        return memo;
    }
};

struct RtlMemoCase {
    TBiDiMode Mode;
    bool OnLeft;
};

TEST_F(RightToLeftControls, TheMemosBarLiesOnTheLeftInEveryModeThatPutsScrollBarsThere) {
    UseSkin(0);
    const RtlMemoCase cases[] = {{bdLeftToRight, false}, {bdRightToLeft, true}, {bdRightToLeftNoAlign, true},
        {bdRightToLeftReadingOnly, false}};
    for (const RtlMemoCase& c : cases) {
        SCOPED_TRACE(BiDiModeIdents[c.Mode]);
        TsMemo* memo = NewMemo(c.Mode);
        TsScrollBar* bar = memo->VertBar();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(RtlLeftScrollBar(memo), c.OnLeft);
        const int expected = c.OnLeft ? memo->Left() + 2 : memo->Left() + memo->Width() - bar->Width() - 2;
        EXPECT_EQ(bar->Left(), expected);
        EXPECT_EQ(bar->Top(), memo->Top() + 2);
        delete memo;
    }
}

TEST_F(RightToLeftControls, AChangeOfModeMovesTheMemosBar) {
    UseSkin(1);
    TsMemo* memo = NewMemo(bdLeftToRight);
    ASSERT_NE(memo->VertBar(), nullptr);
    Form->SetBiDiMode(bdRightToLeft);
    Pump();
    ASSERT_NE(memo->VertBar(), nullptr);
    EXPECT_EQ(memo->VertBar()->Left(), memo->Left() + 2);
    Form->SetBiDiMode(bdLeftToRight);
    Pump();
    ASSERT_NE(memo->VertBar(), nullptr);
    EXPECT_EQ(memo->VertBar()->Left(), memo->Left() + memo->Width() - memo->VertBar()->Width() - 2);
}

TEST_F(RightToLeftControls, TheRichEditsBarGoesLeftOnlyForFullRightToLeft) {
    UseSkin(0);
    for (TBiDiMode mode : {bdRightToLeft, bdRightToLeftNoAlign}) {
        SCOPED_TRACE(BiDiModeIdents[mode]);
        Form->SetBiDiMode(mode);
        auto* rich = Create<TsRichEdit>(Form);
        rich->SetBounds(20, 20, 180, 100);
        rich->SetScrollBars(ssVertical);
        rich->SetParent(Form);
        rich->SetText(RtlRows(40));
        Pump();
        TsScrollBar* bar = rich->VertBar();
        ASSERT_NE(bar, nullptr);
        const int expected = mode == bdRightToLeft ? rich->Left() + 4 : rich->Left() + rich->Width() - bar->Width() - 2;
        EXPECT_EQ(bar->Left(), expected);
        delete rich;
    }
}

TEST_F(RightToLeftControls, TheTreesAndTheListsBarsLieAlongTheLeftEdge) {
    UseSkin(2);
    Form->SetBiDiMode(bdRightToLeft);
    auto* tree = Create<TsTreeView>(Form);
    tree->SetBounds(20, 20, 160, 120);
    tree->SetParent(Form);
    for (int i = 0; i < 40; ++i) tree->Items()->Add(nullptr, "Folder " + std::to_string(i));
    auto* list = Create<TsListView>(Form);
    list->SetBounds(200, 20, 200, 120);
    list->SetViewStyle(vsReport);
    list->Columns()->Add()->SetWidth(300);
    list->SetParent(Form);
    for (int i = 0; i < 40; ++i) list->Items()->Add()->SetCaption("File " + std::to_string(i));
    Pump();

    ASSERT_NE(tree->VertBar(), nullptr);
    EXPECT_TRUE(RtlLeftScrollBar(tree));
    EXPECT_EQ(tree->VertBar()->Left(), tree->Left() + tree->BorderWidth() + 3);
    if (tree->HorzBar() != nullptr && tree->HorzBar()->Visible()) {
        EXPECT_EQ(tree->HorzBar()->Left(), tree->Left() + tree->BorderWidth() + 3);
    }

    ASSERT_NE(list->VertBar(), nullptr);
    EXPECT_TRUE(RtlLeftScrollBar(list));
    EXPECT_EQ(list->VertBar()->Left(), list->Left() + 2);
    // The horizontal bar still starts at the left frame edge.
    ASSERT_NE(list->HorzBar(), nullptr);
    EXPECT_EQ(list->HorzBar()->Left(), list->Left() + 2);
}

TEST_F(RightToLeftControls, TheScrollBoxsBarLiesAlongItsLeftEdge) {
    UseSkin(1);
    Form->SetBiDiMode(bdRightToLeft);
    auto* box = Create<TsScrollBox>(Form);
    box->SetBounds(10, 10, 160, 100);
    box->SetParent(Form);
    box->SetBorderStyle(bsSingle);
    for (int i = 0; i < 10; ++i) {
        auto* row = Create<TsPanel>(Form);
        row->SetBounds(0, i * 30, 300, 30);
        row->SetParent(box);
    }
    Pump();
    TsScrollBar* vert = box->SkinVertBar();
    ASSERT_NE(vert, nullptr);
    ASSERT_TRUE(vert->Visible());
    EXPECT_EQ(vert->Left(), box->Left() + box->FrameWidth());
    TsScrollBar* horz = box->SkinHorzBar();
    ASSERT_NE(horz, nullptr);
    EXPECT_EQ(horz->Left(), vert->Left());   // it starts at the left frame edge too
}

TEST_F(RightToLeftControls, TheComboButtonIsOnTheLeftWithTheTextBesideIt) {
    UseSkin(0);
    Form->SetBiDiMode(bdRightToLeft);
    auto* combo = Create<TsComboBox>(Form);
    combo->SetBounds(20, 20, 160, 22);
    combo->SetStyle(csDropDownList);
    combo->SetParent(Form);
    combo->Items()->Add("First");
    combo->Items()->Add("Second");
    combo->SetItemIndex(0);
    Pump();
    const TRect button = combo->ButtonRect();
    EXPECT_EQ(button.left, 2 - 1);
    EXPECT_EQ(button.Width(), user::GetSystemMetrics(user::SM_CXVSCROLL));
    // The native combo's own button is on the left too, so a press there drops the list.
    user::COMBOBOXINFO info;
    user::SendMessage(combo->Handle(), user::CB_GETCOMBOBOXINFO, 0, user::LPARAM(&info));
    EXPECT_LT(info.rcButton.right, combo->Width() / 2);
    EXPECT_GE(info.rcItem.left, info.rcButton.right);
    ClickAt(combo, (button.left + button.right) / 2, combo->Height() / 2);
    EXPECT_TRUE(combo->DroppedDown());
    Key(0x1B);   // escape
    EXPECT_FALSE(combo->DroppedDown());

    Form->SetBiDiMode(bdLeftToRight);
    Pump();
    EXPECT_EQ(combo->ButtonRect().left, combo->Width() - user::GetSystemMetrics(user::SM_CXVSCROLL) - 2 - 1);
}

TEST_F(RightToLeftControls, TheColourBoxsButtonKeepsItsTopDistanceFromTheLeftEdge) {
    UseSkin(1);
    auto* box = Create<TsColorBox>(Form);
    box->SetBounds(20, 20, 170, 22);
    box->SetParent(Form);
    Pump();
    const TRect ltr = box->ButtonRect();
    ASSERT_GT(ltr.Width(), 0);
    EXPECT_EQ(box->Width() - ltr.right, ltr.top);
    box->SetBiDiMode(bdRightToLeft);
    Pump();
    const TRect rtl = box->ButtonRect();
    EXPECT_EQ(rtl.left, ltr.top);
    EXPECT_EQ(rtl.Width(), ltr.Width());
    EXPECT_EQ(rtl.top, ltr.top);
}

TEST_F(RightToLeftControls, TheColourBoxShowsItsButtonOnTheLeftBesideTheSwatch) {
    UseSkin(0);
    auto* ltr = Create<TsColorBox>(Form);
    ltr->SetBounds(20, 20, 170, 22);
    ltr->SetParent(Form);
    auto* rtl = Create<TsColorBox>(Form);
    rtl->SetBiDiMode(bdRightToLeft);
    rtl->SetBounds(20, 60, 170, 22);
    rtl->SetParent(Form);
    ParentsUpdated(Form);
    Pump();
    const TRect l = ltr->ButtonRect();
    const TRect r = rtl->ButtonRect();
    ASSERT_GT(l.Width(), 0);
    // The glyph's pixels on the left of the right-to-left box are those on the right of the other (the frame's
    // shading at the glyph's outer columns left aside).
    EXPECT_EQ(ScreenPixels(rtl, TRect {r.left + 3, r.top + 2, r.right - 3, r.bottom - 2}),
        ScreenPixels(ltr, TRect {l.left + 3, l.top + 2, l.right - 3, l.bottom - 2}));
}

TEST_F(RightToLeftControls, ABoundLabelTakesItsControlsReadingOrder) {
    UseSkin(1);
    auto* edit = Create<TsEdit>(Form);
    edit->SetBounds(20, 40, 150, 22);
    edit->SetParent(Form);
    edit->BoundLabel()->SetCaption("Name");
    edit->BoundLabel()->SetActive(true);
    Pump();
    ASSERT_NE(edit->BoundLabel()->Label(), nullptr);
    edit->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(edit->BoundLabel()->Label()->BiDiMode(), bdRightToLeft);
    edit->SetBiDiMode(bdLeftToRight);
    EXPECT_EQ(edit->BoundLabel()->Label()->BiDiMode(), bdLeftToRight);
}

// A disabled label under a skin draws its text itself: aligned to the right when read right to left.
TEST_F(RightToLeftControls, ADisabledSkinnedLabelsTextGoesRight) {
    UseSkin(0);
    auto* label = Create<TsLabel>(Form);
    label->SetAutoSize(false);
    label->SetBounds(20, 20, 200, 20);
    label->SetCaption("Node");
    label->SetEnabled(false);
    label->SetParent(Form);
    Pump();
    auto inkSides = [&] {
        const std::vector<gdi::COLORREF> px = ScreenPixels(label, TRect {0, 0, 200, 20});
        const gdi::COLORREF back = px[0];
        std::pair<int, int> sides {0, 0};
        for (std::size_t i = 0; i < px.size(); ++i)
            if (px[i] != back) ++(int(i % 200) < 100 ? sides.first : sides.second);
        return sides;
    };
    const auto ltr = inkSides();
    EXPECT_GT(ltr.first, 0);
    EXPECT_EQ(ltr.second, 0);
    label->SetBiDiMode(bdRightToLeft);
    Pump();
    const auto rtl = inkSides();
    EXPECT_EQ(rtl.first, 0);
    EXPECT_GT(rtl.second, 0);
}

// The caption moves to the other side of the glyph; the glyph goes with it so the two never overlap.
TEST_F(RightToLeftControls, TheBitButtonsGlyphAndCaptionSwapSides) {
    UseSkin(0);
    auto* button = Create<TsBitBtn>(Form);
    button->SetBounds(20, 20, 140, 32);
    button->SetCaption("Refresh");
    button->Glyph()->SetSize(16, 16);
    button->Glyph()->Canvas()->Brush()->SetColor(clWhite);   // the corner's colour is the transparent one
    button->Glyph()->Canvas()->FillRect(TRect {0, 0, 16, 16});
    button->Glyph()->Canvas()->Brush()->SetColor(clRed);
    button->Glyph()->Canvas()->FillRect(TRect {3, 3, 13, 13});
    button->SetLayout(blGlyphLeft);
    button->SetParent(Form);
    Pump();
    const TRect ltr = button->GlyphRect();
    EXPECT_LT(ltr.left, button->Width() / 2);

    button->SetBiDiMode(bdRightToLeftReadingOnly);
    Pump();
    const TRect rtl = button->GlyphRect();
    EXPECT_GT(rtl.left, button->Width() / 2);
    EXPECT_EQ(rtl.Width(), 16);
    // The glyph's red is now drawn right of the middle, none of it left of the middle.
    const std::vector<gdi::COLORREF> row = ScreenPixels(button, TRect {2, rtl.top + 8, button->Width() - 2, rtl.top + 9});
    int redLeft = 0, redRight = 0;
    for (std::size_t x = 0; x < row.size(); ++x)
        if (row[x] == gdi::RGB(255, 0, 0)) ++(int(x) + 2 < button->Width() / 2 ? redLeft : redRight);
    EXPECT_EQ(redLeft, 0);
    EXPECT_GT(redRight, 0);
}

// The text of a control lies in the left half of `band` read left to right, in the right half read right to
// left: ink (pixels other than the band's most common colour) is counted in each half.
// A control of the form at (20, 20), parented.
template <class T>
T* RtlPlaced(TForm* form, int width, int height) {
    auto* control = Create<T>(form);
    control->SetBounds(20, 20, width, height);
    control->SetParent(form);
    return control;
}

// The face of a combo beside its button, on whichever side the button is.
TRect RtlBesideButton(const TWinControl* combo, const TRect& button) {
    return button.left < combo->Width() / 2 ? TRect {button.right + 2, 4, combo->Width() - 4, 18}
                                            : TRect {4, 4, button.left - 2, 18};
}

struct RtlTextCase {
    const char* Name;
    std::function<TWinControl*(TForm*)> Make;   // the control, parented to the form
    std::function<TRect(TWinControl*)> Band;   // where only text lies, in the control's coordinates
};

TEST_F(RightToLeftControls, TheTextOfTheControlsLiesOnTheRightWhenReadRightToLeft) {
    UseSkin(1);
    const RtlTextCase cases[] = {
        {"rich edit",
            [](TForm* form) {
                auto* rich = RtlPlaced<TsRichEdit>(form, 200, 60);
                rich->SetText("Rich line");
                return static_cast<TWinControl*>(rich);
            },
            [](TWinControl* c) { return TRect {6, 4, c->Width() - 6, 20}; }},
        {"list view",
            [](TForm* form) {
                auto* list = RtlPlaced<TsListView>(form, 200, 100);
                list->SetViewStyle(vsReport);
                list->Columns()->Add()->SetWidth(180);
                list->Items()->Add()->SetCaption("Unit 1");
                return static_cast<TWinControl*>(list);
            },
            [](TWinControl* c) {
                user::RECT item {};
                item.left = user::LVIR_BOUNDS;
                user::SendMessage(c->Handle(), user::LVM_GETITEMRECT, 0, user::LPARAM(&item));
                const TPoint at = c->ClientToScreen(TPoint {0, int(item.top)});
                const TPoint corner = c->ClientToScreen(TPoint {0, 0});
                const int top = at.y - corner.y + (c->Height() - c->ClientHeight()) / 2;
                return TRect {4, top + 1, 180, top + int(item.bottom - item.top) - 1};
            }},
        {"combo box",
            [](TForm* form) {
                auto* combo = RtlPlaced<TsComboBox>(form, 200, 22);
                combo->SetStyle(csDropDownList);
                combo->Items()->Add("Garage");
                combo->SetItemIndex(0);
                return static_cast<TWinControl*>(combo);
            },
            [](TWinControl* c) { return RtlBesideButton(c, static_cast<TsComboBox*>(c)->ButtonRect()); }},
        {"colour box",
            [](TForm* form) {
                auto* box = RtlPlaced<TsColorBox>(form, 200, 22);
                box->SetSelected(clNavy);
                return static_cast<TWinControl*>(box);
            },
            [](TWinControl* c) { return RtlBesideButton(c, static_cast<TsColorBox*>(c)->ButtonRect()); }},
    };
    for (const RtlTextCase& c : cases) {
        for (TBiDiMode mode : {bdLeftToRight, bdRightToLeft}) {
            SCOPED_TRACE(std::string(c.Name) + " " + std::string(BiDiModeIdents[mode]));
            Form->SetBiDiMode(mode);
            TWinControl* control = c.Make(Form);
            ParentsUpdated(Form);
            Pump();
            const TRect band = c.Band(control);
            const std::vector<gdi::COLORREF> px = ScreenPixels(control, band);
            std::map<gdi::COLORREF, int> counts;
            for (gdi::COLORREF p : px) ++counts[p];
            const gdi::COLORREF back
                = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
            int left = 0, right = 0;
            for (std::size_t i = 0; i < px.size(); ++i)
                if (px[i] != back) ++(int(i) % band.Width() < band.Width() / 2 ? left : right);
            if (mode == bdLeftToRight) {
                EXPECT_GT(left, 0);
                EXPECT_EQ(right, 0);
            } else {
                EXPECT_EQ(left, 0);
                EXPECT_GT(right, 0);
            }
            delete control;
        }
    }
}

TEST_F(RightToLeftControls, TheGroupCaptionStartsAtTheRightEdgeWhenReadRightToLeft) {
    UseSkin(1);
    auto* group = Create<TsGroupBox>(Form);
    group->SetBounds(20, 20, 300, 80);
    group->SetCaption("Work units");
    group->SetParent(Form);
    Pump();
    const TRect ltr = group->CaptionRect();
    EXPECT_LT(ltr.right, group->Width() / 2);
    group->SetBiDiMode(bdRightToLeft);
    ParentsUpdated(Form);
    Pump();
    const TRect rtl = group->CaptionRect();
    EXPECT_EQ(rtl.Width(), ltr.Width());
    EXPECT_GT(rtl.left, group->Width() / 2);
    // The caption's text is drawn in it: it stands out where the left-to-right caption was blank.
    const std::vector<gdi::COLORREF> inside = ScreenPixels(group, TRect {rtl.left + 4, rtl.top, rtl.right - 4, rtl.bottom});
    EXPECT_GT(std::count_if(inside.begin(), inside.end(), [&](gdi::COLORREF p) { return p != inside.front(); }), 0);
    group->SetCaptionLayout(clTopRight);   // the right layout read right to left is the left one
    Pump();
    EXPECT_EQ(group->CaptionRect().left, ltr.left);
}

// Pictures: the memo's bar, read right to left, shows on the left what it shows on the right read left to
// right, and the strip where it was shows the text area's colour (the lines are empty: read right to left the
// text is aligned to the right).
class RightToLeftMemoPicture : public RightToLeftControls, public ::testing::WithParamInterface<int> { };

TEST_P(RightToLeftMemoPicture, TheBarsPixelsMoveToTheLeftEdge) {
    UseSkin(GetParam());
    const std::string blank(40, '\n');
    TsMemo* ltr = NewMemo(bdLeftToRight, blank);
    ParentsUpdated(Form);
    Pump();
    TsScrollBar* bar = ltr->VertBar();
    ASSERT_NE(bar, nullptr);
    // In the form's coordinates: the memo's window, not its client area, which the native bar moves.
    const int w = bar->Width();
    const int mid = bar->Top() + bar->Height() / 2;
    const int left = ltr->Left(), right = ltr->Left() + ltr->Width();
    const TRect rightStrip {right - w - 2, mid, right - 2, mid + 1};
    const TRect leftStrip {left + 2, mid, left + w + 2, mid + 1};
    const std::vector<gdi::COLORREF> barPixels = ScreenPixels(Form, rightStrip);
    delete ltr;

    TsMemo* rtl = NewMemo(bdRightToLeft, blank);
    ParentsUpdated(Form);
    Pump();
    ASSERT_NE(rtl->VertBar(), nullptr);
    EXPECT_EQ(ScreenPixels(Form, leftStrip), barPixels);
    const std::vector<gdi::COLORREF> freed = ScreenPixels(Form, rightStrip);
    const auto text = gdi::COLORREF(ColorToRGB(rtl->Color()));
    EXPECT_EQ(std::count(freed.begin(), freed.end(), text), std::ptrdiff_t(freed.size()));
}

INSTANTIATE_TEST_SUITE_P(TwoSkins, RightToLeftMemoPicture, ::testing::Values(0, 1));

}
