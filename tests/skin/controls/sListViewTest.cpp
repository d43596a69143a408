// TsListView on the headless display: the skinned bars in step with the native list (report, list and icon
// views), the subclassed column header with hot and pressed sections, the user's custom-draw handler, sizes
// that show no bar, and removing the skin.
#include "support/ControlsHost.h"
#include "support/ControlsKit.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TImageList.h"
#include "platform/gdi/Gdi.h"
#include "platform/classes/TStringList.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/Header.h"
#include "platform/user/controls/ListView.h"
#include "skin/controls/sListView.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

// Notes whether a message posted to it has been handled.
class TPostNotingListView : public TsListView {
public:
    using TsListView::TsListView;
    static constexpr user::UINT Posted = user::WM_APP + 52;
    bool Handled = false;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == Posted) Handled = true;
        TsListView::WndProc(m);
    }
};

class ListViewTest : public ControlsTest {
protected:
    template <class T = TsListView>
    T* NewList(int items, TViewStyle view = vsReport, int width = 220, int height = 140, int columnWidth = 80) {
        auto* list = Create<T>(Form);
        list->SetBounds(20, 20, width, height);
        list->SetViewStyle(view);
        for (const char* caption : {"Name", "Size", "Type"}) {
            TListColumn* column = list->Columns()->Add();
            column->SetCaption(caption);
            column->SetWidth(columnWidth);
        }
        list->SetParent(Form);
        // Filled as a program fills a list, between BeginUpdate and EndUpdate: the bars follow at the end.
        list->Items()->BeginUpdate();
        for (int i = 0; i < items; ++i) {
            TListItem* item = list->Items()->Add();
            item->SetCaption("File " + std::to_string(i));
            item->SubItems()->Add(std::to_string(i * 10) + " KB");
        }
        list->Items()->EndUpdate();
        Pump();
        return list;
    }
    static user::SCROLLINFO Native(TsListView* list, int bar = user::SB_VERT) {
        user::SCROLLINFO si;
        si.fMask = user::SIF_ALL;
        user::GetScrollInfo(list->Handle(), bar, &si);
        return si;
    }
    static void ExpectInStep(TsListView* list) {
        const user::SCROLLINFO si = Native(list);
        TsScrollBar* bar = list->VertBar();
        ASSERT_NE(bar, nullptr);
        EXPECT_TRUE(bar->Visible());
        EXPECT_EQ(bar->Position(), si.nPos);
        EXPECT_EQ(bar->Max(), si.nMax - int(si.nPage) + 1);
    }
    static user::RECT SectionRect(TsListView* list, int index) {
        user::RECT r;
        user::SendMessage(list->HeaderHandle(), user::HDM_GETITEMRECT, WPARAM(index), LPARAM(&r));
        return r;
    }
    // A point of the header in the list's client coordinates.
    static TPoint InList(TsListView* list, int x, int y) {
        user::POINT p {x, y};
        user::MapWindowPoints(list->HeaderHandle(), list->Handle(), &p, 1);
        return TPoint {p.x, p.y};
    }
};

TEST_F(ListViewTest, AReportViewGetsAVerticalBarInsideTheFrameThatScrollsTheNativeListByRows) {
    UseSkin(0);
    TsListView* list = NewList(60);
    TsScrollBar* bar = list->VertBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Left(), list->Left() + list->Width() - bar->Width() - 2);
    EXPECT_EQ(bar->Top(), list->Top() + 2);
    ExpectInStep(list);
    const TRect down = bar->PartRect(TsScrollPart::Arrow2);
    ClickAt(bar, (down.left + down.right) / 2, (down.top + down.bottom) / 2);
    // One arrow step is nine rows.
    EXPECT_EQ(Native(list).nPos, 9);
    ASSERT_NE(list->TopItem(), nullptr);
    EXPECT_EQ(list->TopItem()->Caption(), "File 9");
    ExpectInStep(list);
    // The native list scrolled by the wheel: the bar follows.
    const TPoint p = list->ClientToScreen(TPoint {40, 60});
    Display->Wheel(p.x, p.y, -120);
    Pump();
    EXPECT_GT(Native(list).nPos, 1);
    ExpectInStep(list);
}

// The list view scrolls by whole columns: the skinned bar moved three columns right and back again returns to
// the first column, the native list in step with the bar each way.
TEST_F(ListViewTest, AListViewMovedRightAndBackByTheBarReturnsToTheFirstColumn) {
    UseSkin(1);
    TsListView* list = NewList(200, vsList, 160);
    TsScrollBar* bar = list->HorzBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->Visible());
    ASSERT_GE(bar->Max(), 3);
    bar->SetPosition(3);
    Pump();
    EXPECT_EQ(Native(list, user::SB_HORZ).nPos, 3);
    bar->SetPosition(0);
    Pump();
    EXPECT_EQ(Native(list, user::SB_HORZ).nPos, 0);
}

// The bars follow the messages that change the list as a whole (the end of an update, a size, a key, the wheel),
// not every single item added.
TEST_F(ListViewTest, TheBarsFollowTheEndOfAnUpdateNotEachItem) {
    UseSkin(2);
    TsListView* list = NewList(60);
    TsScrollBar* bar = list->VertBar();
    ASSERT_NE(bar, nullptr);
    const int max = bar->Max();
    for (int i = 0; i < 20; ++i) list->Items()->Add()->SetCaption("More " + std::to_string(i));
    Pump();
    EXPECT_EQ(bar->Max(), max);
    list->Items()->BeginUpdate();
    list->Items()->EndUpdate();
    ExpectInStep(list);
    EXPECT_EQ(bar->Max(), max + 20);
}

TEST_F(ListViewTest, AnEmptyReportViewWithWideColumnsGetsAHorizontalBarAndAnEmptyIconViewNone) {
    UseSkin(1);
    TsListView* report = NewList(0, vsReport, 200, 120, 150);
    ASSERT_NE(report->HorzBar(), nullptr);
    EXPECT_TRUE(report->HorzBar()->Visible());
    EXPECT_EQ(report->HorzBar()->Top(), report->Top() + report->Height() - report->HorzBar()->Height() - 2);
    TsListView* icons = NewList(0, vsIcon, 200, 120, 150);
    EXPECT_TRUE(icons->HorzBar() == nullptr || !icons->HorzBar()->Visible());
    EXPECT_TRUE(icons->VertBar() == nullptr || !icons->VertBar()->Visible());
}

TEST_F(ListViewTest, TheHeaderIsSubclassedWithHotAndPressedSectionsAndADividerPressesNone) {
    UseSkin(2);
    TsListView* list = NewList(5);
    ASSERT_NE(list->HeaderHandle(), nullptr);
    const user::RECT first = SectionRect(list, 1);
    const int y = first.bottom / 2;
    TPoint at = InList(list, first.left + 10, y);
    MoveTo(list, at.x, at.y);
    EXPECT_EQ(list->HotSection(), 1);
    DownAt(list, at.x, at.y);
    EXPECT_EQ(list->PressedSection(), 1);
    UpAt(list, at.x, at.y);
    EXPECT_EQ(list->PressedSection(), -1);
    // On the divider right of section 0.
    const user::RECT zero = SectionRect(list, 0);
    at = InList(list, zero.right - 1, y);
    DownAt(list, at.x, at.y);
    EXPECT_EQ(list->PressedSection(), -1);
    UpAt(list, at.x, at.y);
    EXPECT_EQ(list->PressedSection(), -1);
    // Leaving the header for the items clears the hot section.
    MoveTo(list, 40, 80);
    EXPECT_EQ(list->HotSection(), -2);
}

TEST_F(ListViewTest, TheUsersCustomDrawHandlerPaintsTheBackgroundInsteadOfTheSkin) {
    UseSkin(0);
    TsListView* list = NewList(3);
    int calls = 0;
    list->OnAdvancedCustomDraw = [&](TCustomListView* sender, const TRect&, TCustomDrawStage stage, bool&) {
        if (stage == cdPrePaint) {
            ++calls;
            sender->Canvas()->Brush()->SetColor(clLime);
            sender->Canvas()->FillRect(TRect {0, 0, sender->ClientWidth(), sender->ClientHeight()});
        }
    };
    list->Invalidate();
    Pump();
    EXPECT_GT(calls, 0);
    const auto pixels = ScreenPixels(list, TRect {100, 80, 101, 81});   // below the items
    EXPECT_EQ(pixels.at(0), gdi::COLORREF(0x00FF00));
}

TEST_F(ListViewTest, NarrowListsShowNoVerticalBarAndRemovingTheSkinFreesTheBars) {
    UseSkin(3);
    TsListView* narrow = NewList(60, vsReport, 1, 140);
    EXPECT_TRUE(narrow->VertBar() == nullptr || !narrow->VertBar()->Visible());
    TsListView* list = NewList(60);
    ASSERT_NE(list->VertBar(), nullptr);
    const TsGeneralData& section = Manager->Sections[std::size_t(list->SkinData()->SkinIndex)];
    EXPECT_EQ(list->Color(), section.Color);
    UseSkin(-1);
    EXPECT_EQ(list->VertBar(), nullptr);
    EXPECT_EQ(list->HorzBar(), nullptr);
    EXPECT_EQ(list->Color(), clWindow);
    EXPECT_EQ(list->Items()->Count(), 60);
    UseSkin(0);
    EXPECT_NE(list->VertBar(), nullptr);
}

// A disabled list keeps its place: its bar keeps range, page and position and is only disabled.
TEST_F(ListViewTest, ADisabledListsBarKeepsItsRangeAndPositionAndIsOnlyDisabled) {
    UseSkin(0);
    TsListView* list = NewList(60);
    list->Scroll(0, 20 * 14);
    list->UpdateScrolls();
    Pump();
    TsScrollBar* bar = list->VertBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_GT(Native(list).nPos, 0);
    ExpectInStep(list);
    const int position = bar->Position(), min = bar->Min(), max = bar->Max(), page = bar->PageSize();
    list->SetEnabled(false);
    Pump();
    EXPECT_FALSE(bar->Enabled());
    EXPECT_TRUE(bar->Visible());
    EXPECT_EQ(bar->Position(), position);
    EXPECT_EQ(bar->Min(), min);
    EXPECT_EQ(bar->Max(), max);
    EXPECT_EQ(bar->PageSize(), page);
    list->SetEnabled(true);
    Pump();
    EXPECT_TRUE(bar->Enabled());
    ExpectInStep(list);
}

// Where the background does not come from the parent the native list erases in the colour the skin answers:
// nothing stale stays behind the items.
TEST_F(ListViewTest, ABackgroundNotFromTheParentIsErasedByTheNativeList) {
    UseSkin(1);
    TsListView* list = NewList(2, vsIcon);
    ASSERT_FALSE(QuerySkinCommand(list, SMC_ISBGFROMPARENT));
    ScribbleOver(list);
    user::InvalidateRect(list->Handle(), nullptr, false);
    Pump();
    EXPECT_EQ(ScreenPixel(list, 150, 100), gdi::COLORREF(ColorToRGB(list->Color())));
}

// A list whose section the skin lacks is unskinned: the native list erases and paints as without a skin, and
// its colour stays its own.
TEST_F(ListViewTest, AListWhoseSectionTheSkinLacksErasesAsWithoutASkin) {
    UseSkin(2);
    TsListView* list = NewList(2, vsIcon);
    list->SkinData()->SetSkinSection("NOSUCHSECTION");
    list->SetColor(clWindow);
    Pump();
    ASSERT_FALSE(list->SkinData()->Skinned());
    ScribbleOver(list);
    user::InvalidateRect(list->Handle(), nullptr, false);
    Pump();
    EXPECT_EQ(list->Color(), clWindow);
    EXPECT_EQ(ScreenPixel(list, 150, 100), gdi::COLORREF(ColorToRGB(clWindow)));
}

// Printed, the list's skinned frame goes into the printing DC, not onto the window.
TEST_F(ListViewTest, PrintingPutsTheSkinnedFrameIntoTheGivenDC) {
    UseSkin(1);
    TsListView* list = NewList(40);
    const TBitmap* cache = list->SkinData()->CacheBmp();
    ASSERT_NE(cache, nullptr);
    TBitmap print;
    print.SetPixelFormat(pf24bit);
    print.SetSize(list->Width(), list->Height());
    print.Canvas()->Brush()->SetColor(clLime);
    print.Canvas()->FillRect(TRect {0, 0, list->Width(), list->Height()});
    ScribbleOver(list);
    list->Perform(user::WM_PRINT, WPARAM(print.Canvas()->Handle()), user::PRF_CLIENT | user::PRF_NONCLIENT);
    for (const TPoint p : {TPoint {0, 0}, TPoint {1, 50}, TPoint {list->Width() - 1, 60}, TPoint {60, list->Height() - 1}})
        EXPECT_EQ(print.Canvas()->Pixels(p.x, p.y), const_cast<TBitmap*>(cache)->Canvas()->Pixels(p.x, p.y)) << p.x << "," << p.y;
    // The window was not painted by the print.
    const gdi::HDC dc = user::GetWindowDC(list->Handle());
    EXPECT_EQ(gdi::GetPixel(dc, 0, 0), gdi::COLORREF(0x00FF00));
    user::ReleaseDC(list->Handle(), dc);
}

// A new window style is taken after the messages already waiting: arrangement and bars follow them.
TEST_F(ListViewTest, ANewStyleTakesTheWaitingMessagesFirst) {
    UseSkin(0);
    auto* list = NewList<TPostNotingListView>(10);
    user::PostMessage(list->Handle(), TPostNotingListView::Posted, 0, 0);
    const user::HWND h = list->Handle();
    user::SetWindowLongPtr(h, user::GWL_STYLE, user::GetWindowLongPtr(h, user::GWL_STYLE) | user::LVS_SHOWSELALWAYS);
    EXPECT_TRUE(list->Handled);
}

// Unskinned too, a column set without an image keeps the image the header shows.
TEST_F(ListViewTest, AColumnSetWithoutAnImageKeepsItsImageSkinnedOrNot) {
    for (int skin : {-1, 0}) {
        UseSkin(skin);
        TsListView* list = NewList(1);
        user::LVCOLUMN column {};
        column.mask = user::LVCF_IMAGE;
        column.iImage = 2;
        user::SendMessage(list->Handle(), user::LVM_SETCOLUMN, 0, LPARAM(&column));
        column.iImage = -1;
        user::SendMessage(list->Handle(), user::LVM_SETCOLUMN, 0, LPARAM(&column));
        user::LVCOLUMN out {};
        out.mask = user::LVCF_IMAGE;
        user::SendMessage(list->Handle(), user::LVM_GETCOLUMN, 0, LPARAM(&out));
        EXPECT_EQ(out.iImage, 2) << SkinShortName(skin);
    }
}

// The rightmost column of section 0 where the header with the caption differs from the header without it.
int CaptionRightEdge(TsListView* list, TListColumn* column, const std::string& caption) {
    auto headerPixels = [list] {
        std::vector<gdi::COLORREF> pixels;
        const user::HWND header = list->HeaderHandle();
        user::RECT r;
        user::GetClientRect(header, &r);
        const gdi::HDC dc = user::GetDC(header);
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x) pixels.push_back(gdi::GetPixel(dc, x, y));
        user::ReleaseDC(header, dc);
        return std::make_pair(pixels, int(r.right));
    };
    column->SetCaption("");
    user::UpdateWindow(list->HeaderHandle());
    const auto [without, width] = headerPixels();
    column->SetCaption(caption);
    user::UpdateWindow(list->HeaderHandle());
    const auto [with, unused] = headerPixels();
    int right = -1;
    for (std::size_t i = 0; i < with.size(); ++i)
        if (with[i] != without[i]) right = std::max(right, int(i % std::size_t(width)));
    return right;
}

// A caption beside a column's image moves right by the image's width, its rectangle whole.
TEST_F(ListViewTest, AHeaderCaptionBesideAnImageMovesRightWhole) {
    UseSkin(0);
    TsListView* list = NewList(1, vsReport, 300, 140, 120);
    auto* images = Create<TImageList>(Form);
    AddDiscImage(images, clRed);
    list->SetSmallImages(images);
    TListColumn* column = list->Columns()->Items(0);
    column->SetAlignment(taCenter);
    Pump();
    const int plain = CaptionRightEdge(list, column, "Name");
    column->SetImageIndex(0);
    Pump();
    const int beside = CaptionRightEdge(list, column, "Name");
    ASSERT_GT(plain, 0);
    EXPECT_NEAR(beside - plain, images->Width(), 1);
}

// Both bars appearing at once meet at the corner: the vertical one ends where the horizontal one begins.
TEST_F(ListViewTest, BarsThatAppearTogetherMeetAtTheCorner) {
    UseSkin(0);
    TsListView* list = NewList(60, vsReport, 220, 140, 150);
    TsScrollBar* vertical = list->VertBar();
    TsScrollBar* horizontal = list->HorzBar();
    ASSERT_NE(vertical, nullptr);
    ASSERT_NE(horizontal, nullptr);
    EXPECT_EQ(vertical->Top() + vertical->Height(), horizontal->Top());
    EXPECT_EQ(horizontal->Left() + horizontal->Width(), vertical->Left());
}

// Scrolled sideways, the header's section under the cursor is the hot one.
TEST_F(ListViewTest, TheHotSectionOfAScrolledHeaderIsTheOneUnderTheCursor) {
    UseSkin(1);
    TsListView* list = NewList(60, vsReport, 220, 140, 150);
    ASSERT_NE(list->HorzBar(), nullptr);
    list->Scroll(100, 0);
    list->UpdateScrolls();
    Pump();
    ASSERT_GT(list->HorzBar()->Position(), 0);
    const user::RECT r = SectionRect(list, 1);
    user::POINT p {r.right - 10, 5};
    user::ClientToScreen(list->HeaderHandle(), &p);
    user::SendMessage(list->HeaderHandle(), user::WM_NCHITTEST, 0, user::MAKELPARAM(p.x, p.y));
    EXPECT_EQ(list->HotSection(), 1);
}

// A refreshed skin paints the column header again, whatever it had due.
TEST_F(ListViewTest, ARefreshedSkinPaintsTheHeaderAgain) {
    UseSkin(2);
    TsListView* list = NewList(3);
    const user::HWND header = list->HeaderHandle();
    ASSERT_NE(header, nullptr);
    auto pixel = [header] {
        const gdi::HDC dc = user::GetDC(header);
        const gdi::COLORREF c = gdi::GetPixel(dc, 30, 8);
        user::ReleaseDC(header, dc);
        return c;
    };
    const gdi::COLORREF shown = pixel();
    const gdi::HDC dc = user::GetDC(header);
    const gdi::RECT all {0, 0, 200, 30};
    gdi::HBRUSH brush = gdi::CreateSolidBrush(0x00FF00);
    gdi::FillRect(dc, &all, brush);
    gdi::DeleteObject(brush);
    user::ReleaseDC(header, dc);
    ASSERT_EQ(pixel(), gdi::COLORREF(0x00FF00));
    list->Perform(SM_SKINCMD, SkinCommandWParam(SMC_REFRESH), LPARAM(Manager));
    Pump();
    EXPECT_EQ(pixel(), shown);
}

}
