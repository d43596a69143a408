// TsListView on the headless display: the skinned bars in step with the native list (report, list and icon
// views), the subclassed column header with hot and pressed sections, the user's custom-draw handler, sizes
// that show no bar, and removing the skin.
#include "support/ControlsHost.h"
#include "support/ControlsKit.h"

#include "platform/classes/TCanvas.h"
#include "platform/classes/TStringList.h"
#include "platform/user/Messages.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/Header.h"
#include "platform/user/controls/ListView.h"
#include "skin/controls/sListView.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class ListViewTest : public ControlsTest {
protected:
    TsListView* NewList(int items, TViewStyle view = vsReport, int width = 220, int height = 140,
        int columnWidth = 80) {
        auto* list = Create<TsListView>(Form);
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

}
