// TsPageControl on the headless display: switching pages by mouse, keys and ActivePage, the skinned tab
// scroller, hidden tabs, hot tracking, the hot tab during an exposure, the tab backgrounds of each style.
#include "support/ControlsKit.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TReader.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Painting.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/Window.h"
#include "platform/user/WinPos.h"
#include "platform/user/display/Display.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sControlClasses.h"
#include "skin/controls/sPageControl.h"
#include "skin/controls/sTrackBar.h"
#include "skin/controls/sUpDown.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

// Notes the hot tab at each fade preparation it is sent.
class TFadeNotingPageControl : public TsPageControl {
public:
    using TsPageControl::TsPageControl;
    std::vector<int> PreparedAt;

protected:
    void WndProc(TMessage& m) override {
        if (IsSkinCommand(m, SMC_PREPAREFADE)) PreparedAt.push_back(HotTab());
        TsPageControl::WndProc(m);
    }
};

class PageControlTest : public ControlsTest {
protected:
    template <class T = TsPageControl>
    T* Make(int pages, int width = 300, int height = 180, TTabPosition position = tpTop) {
        auto* pc = Create<T>(Form);
        pc->SetBounds(10, 10, width, height);
        pc->SetTabPosition(position);
        pc->SetParent(Form);
        Sheets.clear();
        for (int i = 0; i < pages; ++i) {
            auto* sheet = Create<TsTabSheet>(Form);
            sheet->SetCaption("Page " + std::to_string(i));
            sheet->SetPageControl(pc);
            Sheets.push_back(sheet);
        }
        pc->SetActivePage(Sheets.empty() ? nullptr : Sheets[0]);
        Pump();
        return pc;
    }
    TPoint Centre(const TRect& r) { return TPoint {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    void ClickTab(TsPageControl* pc, int page) {
        const TPoint p = Centre(pc->NativeTabRect(page));
        ClickAt(pc, p.x, p.y);
    }
    int NativeScrollers(TsPageControl* pc) {
        int n = 0;
        for (user::HWND c = user::GetWindow(pc->Handle(), user::GW_CHILD); c != nullptr; c = user::GetWindow(c, user::GW_HWNDNEXT))
            if (user::GetClassName(c) == "msctls_updown32" && (pc->Scroller() == nullptr || c != pc->Scroller()->Handle())) ++n;
        return n;
    }

    std::vector<TsTabSheet*> Sheets;
};

// The form owns the sheets, the page control parents them: either can go first, skinned or not.
TEST_F(PageControlTest, AControlFreedBeforeOrAfterItsFormOwnedSheetsLeavesNothingBehind) {
    for (int skin : {-1, 0}) {
        for (bool sheetsFirst : {false, true}) {
            SCOPED_TRACE(std::to_string(skin) + (sheetsFirst ? " sheets first" : " control first"));
            UseSkin(skin);
            TsPageControl* pc = Make(3);
            const int before = Form->ComponentCount();
            if (sheetsFirst) {
                delete Sheets[1];
                Sheets[2]->Free();
            }
            delete pc;
            Pump();
            EXPECT_EQ(Form->ComponentCount(), before - 4);
        }
    }
}

TEST_F(PageControlTest, ClickingATabShowsItsPageAndPaintsItsTabActive) {
    UseSkin(0);
    TsPageControl* pc = Make(3);
    ASSERT_TRUE(PaintsSkinned(pc->SkinData()));
    int changes = 0;
    pc->OnChange = [&](TObject*) { ++changes; };
    const TRect tab2 = pc->SkinTabRect(2, true);
    const std::vector<gdi::COLORREF> before = ScreenPixels(pc, tab2);
    ClickTab(pc, 2);
    EXPECT_EQ(pc->ActivePage(), Sheets[2]);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(Sheets[2]->Visible());
    EXPECT_FALSE(Sheets[0]->Visible());
    EXPECT_NE(ScreenPixels(pc, tab2), before);
    // Back to the first: the second tab looks as it did.
    ClickTab(pc, 0);
    EXPECT_EQ(pc->ActivePage(), Sheets[0]);
    EXPECT_EQ(ScreenPixels(pc, tab2), before);
    EXPECT_EQ(pc->PaintedTabCount(), 3);
}

TEST_F(PageControlTest, ArrowsAndCtrlTabSwitchPagesFromTheKeyboard) {
    UseSkin(1);
    TsPageControl* pc = Make(3);
    auto* button = Create<TsButton>(Form);
    button->SetBounds(10, 10, 80, 24);
    button->SetParent(Sheets[0]);
    pc->SetFocus();
    Pump();
    Key(user::VK_RIGHT);
    EXPECT_EQ(pc->ActivePage(), Sheets[1]);
    Key(user::VK_LEFT);
    EXPECT_EQ(pc->ActivePage(), Sheets[0]);
    button->SetFocus();
    Pump();
    Display->Press(user::VK_TAB, "", user::ModControl);
    Pump();
    EXPECT_EQ(pc->ActivePage(), Sheets[1]);
    auto* second = Create<TsButton>(Form);
    second->SetBounds(10, 10, 80, 24);
    second->SetParent(Sheets[1]);
    second->SetFocus();
    Pump();
    Display->Press(user::VK_TAB, "", user::ModControl | user::ModShift);
    Pump();
    EXPECT_EQ(pc->ActivePage(), Sheets[0]);
}

TEST_F(PageControlTest, ActivePageSetInCodeRepaintsTheTabs) {
    UseSkin(2);
    TsPageControl* pc = Make(3);
    const TRect tab1 = pc->SkinTabRect(1, true);
    const std::vector<gdi::COLORREF> inactive = ScreenPixels(pc, tab1);
    pc->SetActivePage(Sheets[1]);
    Pump();
    EXPECT_TRUE(Sheets[1]->Visible());
    EXPECT_NE(ScreenPixels(pc, tab1), inactive);
    // Through the inherited setter as well (form text, TPageControl callers).
    static_cast<TPageControl*>(pc)->SetActivePage(Sheets[0]);
    Pump();
    EXPECT_EQ(ScreenPixels(pc, tab1), inactive);
}

TEST_F(PageControlTest, ManyTabsGetTheSkinnedScrollerInTheStripCorner) {
    UseSkin(0);
    TsPageControl* pc = Make(12, 260);
    TsUpDown* scroller = pc->Scroller();
    ASSERT_NE(scroller, nullptr);
    EXPECT_EQ(NativeScrollers(pc), 0);
    EXPECT_EQ(scroller->Orientation(), udHorizontal);
    EXPECT_EQ(scroller->ButtonSkin(), "BUTTON");
    EXPECT_EQ(scroller->Left() + scroller->Width(), 260);
    EXPECT_EQ(scroller->Top(), 0);
    EXPECT_GT(scroller->Max(), 0);
    EXPECT_EQ(scroller->Position(), 0);
    // Its right button scrolls the tabs by one.
    const int firstLeft = pc->NativeTabRect(1).left;
    ClickAt(scroller, scroller->Width() - 4, scroller->Height() / 2);
    EXPECT_LT(pc->NativeTabRect(0).left, 0);
    EXPECT_LT(pc->NativeTabRect(1).left, firstLeft);
    EXPECT_EQ(scroller->Position(), 1);
    EXPECT_EQ(pc->ActivePage(), Sheets[0]);   // scrolling does not switch
    // Relayouts do not bring the native scroller back.
    pc->SetActivePage(Sheets[11]);
    pc->SetWidth(250);
    Pump();
    EXPECT_EQ(NativeScrollers(pc), 0);
    EXPECT_NE(pc->Scroller(), nullptr);
    EXPECT_EQ(pc->Scroller()->Left() + pc->Scroller()->Width(), 250);
    // Bottom tabs: the bottom right corner.
    pc->SetTabPosition(tpBottom);
    Pump();
    ASSERT_NE(pc->Scroller(), nullptr);
    EXPECT_EQ(pc->Scroller()->Top() + pc->Scroller()->Height(), pc->Height());
    EXPECT_EQ(NativeScrollers(pc), 0);
}

// A click on a tab renders the strip again and leaves the rest of the cache (the frame) as it was.
TEST_F(PageControlTest, AnotherActiveTabRendersTheStripAloneAgain) {
    UseSkin(0);
    TsPageControl* pc = Make(3);
    TBitmap* cache = pc->SkinData()->CacheBmp();
    ASSERT_NE(cache, nullptr);
    const TRect frame = pc->PageFrameRect();
    const TRect strip = pc->TabStripRect();
    const TPoint inFrame {frame.left + 1, (frame.top + frame.bottom) / 2};
    const TPoint inStrip {strip.right - 2, strip.top + 1};
    cache->Canvas()->SetPixels(inFrame.x, inFrame.y, 0x123456);
    cache->Canvas()->SetPixels(inStrip.x, inStrip.y, 0x123456);
    ClickTab(pc, 1);
    ASSERT_EQ(pc->ActivePage(), Sheets[1]);
    EXPECT_EQ(cache->Canvas()->Pixels(inFrame.x, inFrame.y), TColor(0x123456));
    EXPECT_NE(cache->Canvas()->Pixels(inStrip.x, inStrip.y), TColor(0x123456));
    EXPECT_FALSE(pc->SkinData()->BGChanged);
}

// Tabs in rows: an active page set in code moves its row to the page as a click does, and the strip shows it.
TEST_F(PageControlTest, AnActivePageSetInCodeShowsTheRowsAsAFreshRenderDoes) {
    UseSkin(1);
    TsPageControl* pc = Make(12, 260);
    pc->SetMultiLine(true);
    Pump();
    ASSERT_GT(pc->RowCount(), 1);
    int outer = -1;
    for (int i = 0; i < 12 && outer < 0; ++i)
        if (pc->TabRow(i) == 1) outer = i;
    ASSERT_GE(outer, 0);
    pc->SetActivePage(Sheets[std::size_t(outer)]);
    Pump();
    const TRect strip = pc->TabStripRect();
    const auto shown = ScreenPixels(pc, strip);
    pc->SkinData()->BGChanged = true;
    pc->Invalidate();
    Pump();
    EXPECT_EQ(ScreenPixels(pc, strip), shown);
}

// A new tab style gives a new strip height: the frame's edge moves with it, as a fresh render shows it.
TEST_F(PageControlTest, ANewTabStyleShowsItsFrameAsAFreshRenderDoes) {
    UseSkin(0);
    TsPageControl* pc = Make(3);
    pc->SetStyle(tsButtons);
    Pump();
    const TRect all {0, 0, pc->Width(), 60};
    const auto shown = ScreenPixels(pc, all);
    pc->SkinData()->BGChanged = true;
    pc->Invalidate();
    Pump();
    EXPECT_EQ(ScreenPixels(pc, all), shown);
}

// The frame's paint puts the cache on the window around the strip, the page and the active tab.
TEST_F(PageControlTest, TheFramePaintCopiesTheCacheAroundTheStripAndThePage) {
    UseSkin(0);
    TsPageControl* pc = Make(3);
    const TRect frame = pc->PageFrameRect();
    const TPoint edge {frame.left, (frame.top + frame.bottom) / 2};
    const gdi::COLORREF cached = gdi::COLORREF(pc->SkinData()->CacheBmp()->Canvas()->Pixels(edge.x, edge.y));
    ASSERT_EQ(ScreenPixel(pc, edge.x, edge.y), cached);
    const user::HDC dc = user::GetDC(pc->Handle());
    gdi::SetPixel(dc, edge.x, edge.y, 0x123456);
    user::ReleaseDC(pc->Handle(), dc);
    user::FlushDisplay();
    ASSERT_EQ(ScreenPixel(pc, edge.x, edge.y), 0x123456u);
    pc->Perform(user::WM_NCPAINT, 1, 0);
    user::FlushDisplay();
    EXPECT_EQ(ScreenPixel(pc, edge.x, edge.y), cached);
}

// A parent that has painted lets an updating page control paint at once, the frame too.
TEST_F(PageControlTest, TheParentsUpdateNoticePaintsTheControlAndItsFrameAtOnce) {
    UseSkin(0);
    TsPageControl* pc = Make(3);
    std::vector<unsigned> seen;
    const TWndMethod inner = pc->WindowProc;
    pc->WindowProc = [&seen, inner](TMessage& m) {
        if (m.Msg == user::WM_PAINT || m.Msg == user::WM_NCPAINT) seen.push_back(m.Msg);
        inner(m);
    };
    pc->SkinData()->Updating = true;
    pc->Perform(SM_SKINCMD, SkinCommandWParam(SMC_PARENTUPDATED), 0);
    pc->WindowProc = inner;
    EXPECT_FALSE(pc->SkinData()->Updating);
    EXPECT_EQ(seen, (std::vector<unsigned> {unsigned(user::WM_PAINT), unsigned(user::WM_NCPAINT)}));
}

TEST_F(PageControlTest, MultiLineAndButtonStylesHaveNoScroller) {
    UseSkin(3);
    TsPageControl* pc = Make(12, 260);
    ASSERT_NE(pc->Scroller(), nullptr);
    pc->SetMultiLine(true);
    Pump();
    EXPECT_EQ(pc->Scroller(), nullptr);
    pc->SetMultiLine(false);
    pc->SetStyle(tsButtons);
    Pump();
    EXPECT_EQ(pc->Scroller(), nullptr);
    pc->SetStyle(tsTabs);
    Pump();
    EXPECT_NE(pc->Scroller(), nullptr);
    // Side tabs wrap into rows: no scroller, even though their edges reach the control's edge.
    pc->SetTabPosition(tpRight);
    Pump();
    EXPECT_EQ(pc->HiddenTabCount(), 0);
    EXPECT_EQ(pc->Scroller(), nullptr);
    EXPECT_EQ(NativeScrollers(pc), 0);
}

TEST_F(PageControlTest, ARemovedSkinGivesTheNativeScrollerBack) {
    UseSkin(0);
    TsPageControl* pc = Make(12, 260);
    ASSERT_NE(pc->Scroller(), nullptr);
    UseSkin(-1);
    EXPECT_EQ(pc->Scroller(), nullptr);
    EXPECT_EQ(NativeScrollers(pc), 1);
    EXPECT_EQ(pc->ActivePage(), Sheets[0]);
    UseSkin(1);
    EXPECT_NE(pc->Scroller(), nullptr);
    EXPECT_EQ(NativeScrollers(pc), 0);
}

TEST_F(PageControlTest, AHiddenTabIsNeitherHitNorCounted) {
    UseSkin(0);
    TsPageControl* pc = Make(12, 260);
    const int hidden = pc->HiddenTabCount();
    const TPoint onSecond = Centre(pc->SkinTabRect(1, false));
    EXPECT_EQ(pc->TabAtPoint(onSecond), 1);
    Sheets[1]->SetTabVisible(false);
    Pump();
    EXPECT_EQ(pc->TabAtPoint(onSecond), 2);   // the next tab took its place
    EXPECT_TRUE(pc->NativeTabRect(1).right <= pc->NativeTabRect(1).left);
    EXPECT_EQ(pc->HiddenTabCount(), hidden - 1);
    EXPECT_EQ(pc->VisibleTabCount(), 11);
}

// The scroller counts tabs, not pages: a hidden page before the tabs does not shift its steps.
TEST_F(PageControlTest, AHiddenFirstPageLeavesTheScrollerStepsOneTabEach) {
    UseSkin(0);
    TsPageControl* pc = Make(12, 260);
    Sheets[0]->SetTabVisible(false);
    pc->SetActivePage(Sheets[1]);
    Pump();
    TsUpDown* scroller = pc->Scroller();
    ASSERT_NE(scroller, nullptr);
    EXPECT_EQ(scroller->Position(), 0);
    const int secondLeft = pc->NativeTabRect(2).left;
    ASSERT_GT(secondLeft, 0);
    ClickAt(scroller, scroller->Width() - 4, scroller->Height() / 2);
    EXPECT_LT(pc->NativeTabRect(1).left, 0);
    EXPECT_GE(pc->NativeTabRect(2).left, 0);   // one tab scrolled away, not two
    EXPECT_LT(pc->NativeTabRect(2).left, secondLeft);
    EXPECT_EQ(scroller->Position(), 1);
    // Placed again (a new width), the scroller counts the tabs scrolled away, not the hidden page, and its next
    // step scrolls one tab more.
    pc->SetWidth(pc->Width() + 1);
    Pump();
    ASSERT_EQ(pc->Scroller(), scroller);
    EXPECT_EQ(scroller->Position(), 1);
    ClickAt(scroller, scroller->Width() - 4, scroller->Height() / 2);
    EXPECT_LT(pc->NativeTabRect(2).left, 0);
    EXPECT_GE(pc->NativeTabRect(3).left, 0);
    EXPECT_EQ(scroller->Position(), 2);
}

TEST_F(PageControlTest, HotTrackingLightsInactiveTabsOnly) {
    UseSkin(1);
    TsPageControl* pc = Make(3);
    pc->SetHotTrack(true);
    Pump();
    const TRect tab1 = pc->SkinTabRect(1, false);
    const std::vector<gdi::COLORREF> normal = ScreenPixels(pc, pc->NativeTabRect(1));
    MoveTo(pc, Centre(tab1).x, Centre(tab1).y);
    EXPECT_EQ(pc->HotTab(), 1);
    const std::vector<gdi::COLORREF> hot = ScreenPixels(pc, pc->NativeTabRect(1));
    EXPECT_NE(hot, normal);
    const TPoint onActive = Centre(pc->NativeTabRect(0));
    MoveTo(pc, onActive.x, onActive.y);
    EXPECT_EQ(pc->HotTab(), -1);
    EXPECT_EQ(ScreenPixels(pc, pc->NativeTabRect(1)), normal);
    MoveTo(pc, Centre(tab1).x, Centre(tab1).y);
    MoveTo(Form, 340, 230);
    EXPECT_EQ(pc->HotTab(), -1);
    EXPECT_EQ(ScreenPixels(pc, pc->NativeTabRect(1)), normal);
}

TEST_F(PageControlTest, ANewlyHotTabPreparesAFadeAndTheActiveTabDoesNot) {
    UseSkin(1);
    auto* pc = Make<TFadeNotingPageControl>(3);
    pc->SetHotTrack(true);
    Pump();
    const TPoint tab1 = Centre(pc->NativeTabRect(1));
    MoveTo(pc, tab1.x, tab1.y);
    MoveTo(pc, tab1.x + 1, tab1.y);   // the same tab again
    const TPoint onActive = Centre(pc->NativeTabRect(0));
    MoveTo(pc, onActive.x, onActive.y);
    const TPoint tab2 = Centre(pc->NativeTabRect(2));
    MoveTo(pc, tab2.x, tab2.y);
    EXPECT_EQ(pc->HotTab(), 2);
    EXPECT_EQ(pc->PreparedAt, (std::vector<int> {1, 2}));
}

// An exposure while a tab is hot paints the whole control; only an update inside the hot tab takes the short way.
TEST_F(PageControlTest, AnExposureWhileATabIsHotPaintsEverything) {
    UseSkin(0);
    TsPageControl* pc = Make(3);
    pc->SetHotTrack(true);
    Pump();
    const TRect tab1 = pc->SkinTabRect(1, false);
    MoveTo(pc, Centre(tab1).x, Centre(tab1).y);
    ASSERT_EQ(pc->HotTab(), 1);
    const std::vector<gdi::COLORREF> hot = ScreenPixels(pc, pc->NativeTabRect(1));
    const TRect frame = pc->PageFrameRect();
    const TPoint inFrame {frame.left + 2, frame.bottom - 3};
    const gdi::COLORREF framePixel = ScreenPixel(pc, inFrame.x, inFrame.y);
    // Scribble over the whole window, then expose it.
    ScribbleOver(pc);
    user::InvalidateRect(pc->Handle(), nullptr, true);
    Pump();
    EXPECT_EQ(ScreenPixel(pc, inFrame.x, inFrame.y), framePixel);
    EXPECT_EQ(ScreenPixels(pc, pc->NativeTabRect(1)), hot);   // and the hot tab stays hot
    // An update inside the hot tab alone repaints just that tab.
    const gdi::RECT inside = pc->NativeTabRect(1);
    user::InvalidateRect(pc->Handle(), &inside, false);
    Pump();
    EXPECT_EQ(ScreenPixels(pc, pc->NativeTabRect(1)), hot);
}

// An update that lies inside the hot tab alone repaints only that tab, in the active tab's look.
TEST_F(PageControlTest, AnUpdateInsideTheHotTabAlonePaintsItInTheActiveLook) {
    UseSkin(1);
    TsPageControl* pc = Make(3);
    pc->SetHotTrack(true);
    Pump();
    const TRect native = pc->NativeTabRect(1);
    const TRect inner {native.left + 4, native.top + 3, native.right - 4, native.bottom - 3};
    const std::vector<gdi::COLORREF> normal = ScreenPixels(pc, inner);
    MoveTo(pc, Centre(native).x, Centre(native).y);
    ASSERT_EQ(pc->HotTab(), 1);
    const std::vector<gdi::COLORREF> hot = ScreenPixels(pc, inner);
    const gdi::RECT update = inner;
    user::InvalidateRect(pc->Handle(), &update, false);
    Pump();
    const std::vector<gdi::COLORREF> repainted = ScreenPixels(pc, inner);
    EXPECT_NE(repainted, hot);
    EXPECT_NE(repainted, normal);
    // The same picture as the tab shows once it is the active one.
    MoveTo(Form, 340, 230);
    pc->SetActivePage(Sheets[1]);
    Pump();
    ASSERT_FALSE(pc->Focused());
    EXPECT_EQ(ScreenPixels(pc, inner), repainted);
}

// Hot tracking paints the tab without taking what is already due: a repaint waiting for the whole control still
// comes.
TEST_F(PageControlTest, AHotTabLeavesTheRepaintThatIsDue) {
    UseSkin(0);
    TsPageControl* pc = Make(3);
    pc->SetHotTrack(true);
    Pump();
    // The strip beside the last tab: only the control's own paint shows it (its frame paint leaves the strip).
    const TRect strip = pc->TabStripRect();
    const TPoint inStrip {strip.right - 5, strip.top + 3};
    ASSERT_EQ(pc->TabAtPoint(inStrip), -1);
    const gdi::COLORREF stripPixel = ScreenPixel(pc, inStrip.x, inStrip.y);
    ScribbleOver(pc);
    user::InvalidateRect(pc->Handle(), nullptr, false);
    const TPoint tab = Centre(pc->NativeTabRect(2));
    pc->Perform(user::WM_MOUSEMOVE, 0, user::MAKELPARAM(tab.x, tab.y));
    ASSERT_EQ(pc->HotTab(), 2);
    Pump();
    EXPECT_EQ(ScreenPixel(pc, inStrip.x, inStrip.y), stripPixel);
}

// The page frame is painted from the section of the tabs' side, which the skin state then holds; a skin without
// that side's section keeps the control's own.
TEST_F(PageControlTest, TheSkinStateHoldsTheSectionOfTheTabsSide) {
    UseSkin(0);
    struct Case {
        TTabPosition Position;
        const char* Section;
        const char* Expected;
    };
    const Case cases[] = {{tpTop, "PAGECONTROL", "PAGECONTROL"}, {tpBottom, "PAGECONTROL", "PAGECONTROLBOTTOM"},
        {tpLeft, "PAGECONTROL", "PAGECONTROLLEFT"}, {tpRight, "PAGECONTROL", "PAGECONTROLRIGHT"},
        {tpBottom, "PANEL", "PANEL"}};
    for (const Case& c : cases) {
        TsPageControl* pc = Make(2, 300, 180, c.Position);
        pc->SkinData()->SetSkinSection(c.Section);
        pc->Invalidate();
        Pump();
        ASSERT_GE(Manager->GetSkinIndex(c.Expected), 0) << c.Expected;
        EXPECT_EQ(pc->SkinData()->SkinIndex, Manager->GetSkinIndex(c.Expected)) << c.Expected;
        pc->SetVisible(false);
    }
}

// The active tab takes its borders from the master bitmap only: a borders picture of its own leaves the active
// tab without them while the other tabs keep theirs.
TEST_F(PageControlTest, TheActiveTabTakesItsBordersFromTheMasterBitmapOnly) {
    UseSkin(0);
    TsPageControl* pc = Make(3);
    const TRect active = pc->SkinTabRect(0, true);
    const TRect other = pc->NativeTabRect(2);
    const std::vector<gdi::COLORREF> activeBefore = ScreenPixels(pc, active);
    const std::vector<gdi::COLORREF> otherBefore = ScreenPixels(pc, other);
    ASSERT_EQ(Manager->Masks[Manager->ConstData.TabMask[1]].Bmp, nullptr);
    GiveMaskItsOwnBitmap(Manager, Manager->ConstData.TabMask[1]);
    pc->SkinData()->BGChanged = true;
    pc->Invalidate();
    Pump();
    EXPECT_NE(ScreenPixels(pc, active), activeBefore);
    EXPECT_EQ(ScreenPixels(pc, other), otherBefore);
}

// Top and bottom tabs make room for the image of any index up to the last, one below 0 included (it draws none).
TEST_F(PageControlTest, ATopTabWithImagesMakesRoomForAnyIndexUpToTheLast) {
    UseSkin(3);
    TsPageControl* pc = Make(3);
    auto* images = Create<TImageList>(Form);
    AddDiscImage(images, clRed);
    pc->SetImages(images);
    auto picture = [&](int imageIndex) {
        Sheets[1]->SetImageIndex(imageIndex);
        pc->SkinData()->BGChanged = true;
        pc->Invalidate();
        Pump();
        const TRect tab = pc->NativeTabRect(1);
        return std::make_pair(tab, ScreenPixels(pc, TRect {tab.left + 3, tab.top + 3, tab.right - 3, tab.bottom - 3}));
    };
    // An index past the last draws no image and makes no room; one below 0 makes room and draws none.
    const auto [tab, past] = picture(images->Count());
    const auto [same, room] = picture(-1);
    ASSERT_EQ(same, tab);
    EXPECT_NE(room, past);   // the caption moved
    EXPECT_EQ(picture(images->Count() + 3).second, past);
}

// Every full paint of the control paints the active page whole from the cache, whatever the page had due.
TEST_F(PageControlTest, EveryFullPaintPaintsTheActivePageWhole) {
    UseSkin(2);
    TsPageControl* pc = Make(3);
    TsTabSheet* page = Sheets[0];
    const TPoint p {page->Width() / 2, page->Height() / 2};
    const gdi::COLORREF shown = ScreenPixel(page, p.x, p.y);
    ASSERT_EQ(shown, gdi::COLORREF(pc->SkinData()->CacheBmp()->Canvas()->Pixels(page->Left() + p.x, page->Top() + p.y)));
    ScribbleOver(page);
    Pump();
    ASSERT_NE(ScreenPixel(page, p.x, p.y), shown);
    const gdi::RECT strip = pc->TabStripRect();
    user::InvalidateRect(pc->Handle(), &strip, false);
    Pump();
    EXPECT_EQ(ScreenPixel(page, p.x, p.y), shown);
}

// A page made active in code whose tab lies out of the strip scrolls it in: the scroller's position follows, so its
// next step goes on from there.
TEST_F(PageControlTest, AnActivePageSetInCodeBringsTheScrollerAlong) {
    UseSkin(1);
    TsPageControl* pc = Make(12, 260);
    TsUpDown* scroller = pc->Scroller();
    ASSERT_NE(scroller, nullptr);
    pc->SetActivePage(Sheets[11]);
    Pump();
    int scrolledAway = 0;
    for (int i = 0; i < 12; ++i)
        if (pc->NativeTabRect(i).left <= 0) ++scrolledAway;
    ASSERT_GT(scrolledAway, 0);
    EXPECT_EQ(scroller->Position(), scrolledAway);
}

// The tab background needs the skin's "TABTOP" section and the mask of the section each style uses, index 0 included.
TEST_F(PageControlTest, ButtonTabsPaintTheirOwnSectionWhateverItsIndex) {
    UseSkin(0);
    TsPageControl* pc = Make(3);
    pc->SetStyle(tsButtons);
    Pump();
    const TRect tab1 = pc->NativeTabRect(1);
    const TPoint corner {tab1.left + 2, tab1.top + 2};
    const std::vector<gdi::COLORREF> withBackground = ScreenPixels(pc, tab1);
    // Without a "TABTOP" section button tabs too keep only their captions.
    const int tabTop = Manager->ConstData.TabSection[1];
    Manager->ConstData.TabSection[1] = -1;
    pc->SkinData()->BGChanged = true;
    pc->Invalidate();
    Pump();
    EXPECT_NE(ScreenPixels(pc, tab1), withBackground);
    EXPECT_EQ(ScreenPixel(pc, corner.x, corner.y), ScreenPixel(pc, pc->TabStripRect().right - 2, pc->TabStripRect().top + 2));
    Manager->ConstData.TabSection[1] = tabTop;
    // "BUTTON" as the skin's first section still paints.
    const int button = Manager->GetSkinIndex("BUTTON");
    ASSERT_GT(button, 0);
    std::swap(Manager->Sections[0], Manager->Sections[std::size_t(button)]);
    Manager->Sections.Rename(0, "BUTTON");   // the name index follows the swap
    ASSERT_EQ(Manager->GetSkinIndex("BUTTON"), 0);
    pc->SkinData()->UpdateIndexes();
    pc->SkinData()->BGChanged = true;
    pc->Invalidate();
    Pump();
    EXPECT_EQ(ScreenPixels(pc, tab1), withBackground);
    // No mask for the section used: captions only, over the strip.
    for (std::size_t i = 0; i < Manager->Masks.size(); ++i)
        if (Manager->Masks[i].ClassName == "BUTTON" && Manager->Masks[i].PropertyName == "BORDERSMASK")
            Manager->Masks.Rename(i, "BUTTON", "HIDDEN");
    pc->SkinData()->BGChanged = true;
    pc->Invalidate();
    Pump();
    EXPECT_NE(ScreenPixels(pc, tab1), withBackground);
    const TRect strip = pc->TabStripRect();
    EXPECT_EQ(ScreenPixel(pc, corner.x, corner.y), ScreenPixel(pc, strip.right - 2, strip.top + 2));
}

// A skin whose file begins with its "TABTOP" section (index 0) has tab sections: its tabs get their backgrounds,
// as in the same skin with the section further down.
TEST_F(PageControlTest, ATabSectionFirstInTheSkinFileStillPaintsTheTabs) {
    test::TempFolder folder;
    const std::string from = std::string(KORVEX_SOURCE_DIR) + "/skins/" + OurSkins[0];
    std::ifstream in(from + "/Options.dat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t start = text.find("[TABTOP]");
    ASSERT_NE(start, std::string::npos);
    const std::size_t end = text.find("\n[", start + 1);
    const std::string section = text.substr(start, end - start) + "\n";
    text.erase(start, end - start);
    std::filesystem::create_directory(folder / "TabFirst");
    test::WriteTextFile(folder / "TabFirst/Options.dat", section + text);
    std::filesystem::copy_file(from + "/Master.bmp", folder / "TabFirst/Master.bmp");
    UseSkin(0);
    TsPageControl* pc = Make(3);
    const TRect tab1 = pc->NativeTabRect(1);
    const auto usual = ScreenPixels(pc, tab1);
    test::LoadFolderSkin(*Manager, folder.Path(), "TabFirst");
    ASSERT_EQ(Manager->ConstData.TabSection[1], 0);
    ParentsUpdated(Form);
    pc->SkinData()->BGChanged = true;
    pc->Invalidate();
    Pump();
    EXPECT_EQ(ScreenPixels(pc, tab1), usual);
}

TEST_F(PageControlTest, ASkinWithoutTabSectionsDrawsCaptionsWithoutBackgrounds) {
    UseSkin(2);
    TsPageControl* pc = Make(3);
    const TRect tab1 = pc->NativeTabRect(1);
    Manager->ConstData.TabSection[1] = -1;
    pc->SkinData()->BGChanged = true;
    pc->Invalidate();
    Pump();
    const TRect strip = pc->TabStripRect();
    EXPECT_EQ(ScreenPixel(pc, tab1.left + 2, tab1.top + 3), ScreenPixel(pc, strip.right - 2, strip.top + 3));
    // The caption is still there.
    bool text = false;
    for (gdi::COLORREF c : ScreenPixels(pc, tab1))
        text = text || c != ScreenPixel(pc, strip.right - 2, strip.top + 3);
    EXPECT_TRUE(text);
}

TEST_F(PageControlTest, ControlsOnAPageShowThePageControlsPicture) {
    UseSkin(3);
    TsPageControl* pc = Make(2);
    auto* button = Create<TsButton>(Form);
    button->SetBounds(10, 10, 80, 24);
    button->SetParent(Sheets[0]);
    Pump();
    ParentsUpdated(Form);
    Pump();
    EXPECT_TRUE(PaintsSkinned(button->SkinData()));
    EXPECT_TRUE(QuerySkinCommand(Sheets[0], SMC_ISSKINNED));
    // The page shows the page control's cache under it.
    const TPoint onPage {Sheets[0]->Width() - 3, Sheets[0]->Height() - 3};
    const TPoint inCache {Sheets[0]->Left() + onPage.x, Sheets[0]->Top() + onPage.y};
    EXPECT_EQ(ScreenPixel(Sheets[0], onPage.x, onPage.y),
        gdi::COLORREF(pc->SkinData()->CacheBmp()->Canvas()->Pixels(inCache.x, inCache.y)));
    TsParentCacheInfo answer;
    Sheets[0]->Perform(SM_SKINCMD, SkinCommandWParam(SMC_GETCACHE), LPARAM(&answer));
    EXPECT_TRUE(answer.Ready);
    EXPECT_EQ(answer.X, Sheets[0]->Left());
    EXPECT_EQ(answer.Bmp, pc->SkinData()->CacheBmp());
}

// The options window's pages and the diagram window's track bar as their form text writes them.
TEST_F(PageControlTest, PagesTrackBarAndUpDownAreReadFromFormText) {
    RegisterSkinControlClasses();
    auto* form = Create<TForm>(Application);
    ReadRootComponent(form, R"(object Form2: TForm
  Left = 20
  Top = 20
  Width = 400
  Height = 300
  object sPageControl1: TsPageControl
    Left = 4
    Top = 4
    Width = 380
    Height = 200
    ActivePage = sTabSheet2
    SkinData.SkinSection = 'PAGECONTROL'
    object sTabSheet1: TsTabSheet
      Caption = 'General'
      SkinData.CustomColor = False
      SkinData.CustomFont = False
    end
    object sTabSheet2: TsTabSheet
      Caption = 'Nodes'
      object sTrackBar1: TsTrackBar
        Left = 8
        Top = 8
        Width = 150
        Height = 45
        Max = 5
        PageSize = 1
        ThumbLength = 15
        SkinData.SkinSection = 'TRACKBAR'
      end
      object sUpDown1: TsUpDown
        Left = 200
        Top = 8
        Max = 9
        ButtonSkin = 'BUTTON'
        ShowInaccessibility = False
      end
    end
  end
end
)");
    auto* pages = dynamic_cast<TsPageControl*>(form->FindComponent("sPageControl1"));
    auto* track = dynamic_cast<TsTrackBar*>(form->FindComponent("sTrackBar1"));
    auto* updown = dynamic_cast<TsUpDown*>(form->FindComponent("sUpDown1"));
    ASSERT_NE(pages, nullptr);
    ASSERT_NE(track, nullptr);
    ASSERT_NE(updown, nullptr);
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->ActivePage(), form->FindComponent("sTabSheet2"));
    EXPECT_EQ(track->Max(), 5);
    EXPECT_EQ(track->ThumbLength(), 15);
    EXPECT_EQ(track->SkinData()->SkinSection(), "TRACKBAR");
    EXPECT_EQ(updown->ButtonSkin(), "BUTTON");
    EXPECT_FALSE(updown->ShowInaccessibility());
    EXPECT_EQ(updown->Max(), 9);
}

}
