// Tests of the header control: sections, layout, hit tests, clicks, divider dragging with its track codes.
#include "support/ControlTestSupport.h"

#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/Header.h"

#include <string>
#include <vector>

using namespace korvex::user;
using namespace korvex::user::test;

namespace {

struct HeaderEvent {
    UINT Code;
    int Item;
    int Width;   // from pitem when given, else -1
};

class HeaderTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        RegisterCommonControlClasses();
        SetHandler(Parent, [this](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg == WM_DRAWITEM) {
                Drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
                return 1;
            }
            if (msg != WM_NOTIFY) return std::nullopt;
            auto* nm = reinterpret_cast<NMHEADER*>(lParam);
            if (nm->hdr.code > HDN_FIRST || nm->hdr.code < HDN_FIRST - 20) return 0;
            Events.push_back({nm->hdr.code, nm->iItem, nm->pitem ? nm->pitem->cxy : -1});
            return nm->hdr.code == RefuseCode ? 1 : 0;
        });
        Header = Make(WC_HEADER, "", HDS_BUTTONS, 0, 0, 300, 20, 7);
        for (auto [text, width] : {std::pair {"Name", 100}, {"Size", 60}, {"Type", 80}})
            Insert(text, width);
        Events.clear();
    }

    int Insert(const char* text, int width, int at = 100) {
        HDITEM item;
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.pszText = const_cast<char*>(text);
        item.cxy = width;
        item.fmt = HDF_LEFT | HDF_STRING;
        return int(SendMessage(Header, HDM_INSERTITEM, WPARAM(at), reinterpret_cast<LPARAM>(&item)));
    }

    int Width(int index) {
        HDITEM item;
        item.mask = HDI_WIDTH;
        SendMessage(Header, HDM_GETITEM, WPARAM(index), reinterpret_cast<LPARAM>(&item));
        return item.cxy;
    }

    std::vector<UINT> Codes() const {
        std::vector<UINT> codes;
        for (const auto& e : Events)
            codes.push_back(e.Code);
        return codes;
    }

    HWND Header = nullptr;
    std::vector<HeaderEvent> Events;
    std::vector<DRAWITEMSTRUCT> Drawn;
    UINT RefuseCode = 0;
};

TEST_F(HeaderTest, SectionsLieSideBySideInTheirOrder) {
    EXPECT_EQ(SendMessage(Header, HDM_GETITEMCOUNT, 0, 0), 3);
    RECT r {};
    ASSERT_TRUE(SendMessage(Header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r)));
    EXPECT_EQ(r, (RECT {100, 0, 160, 20}));
    int order[3] = {2, 0, 1};
    ASSERT_TRUE(SendMessage(Header, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(order)));
    SendMessage(Header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, 80);
    int bad[3] = {0, 0, 1};
    EXPECT_FALSE(SendMessage(Header, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(bad)));
    int read[3] {};
    SendMessage(Header, HDM_GETORDERARRAY, 3, reinterpret_cast<LPARAM>(read));
    EXPECT_EQ(read[0], 2);
}

TEST_F(HeaderTest, InsertingInTheMiddleShiftsTheOthersAndGetItemCopiesTheText) {
    EXPECT_EQ(Insert("Date", 40, 1), 1);
    char text[16] {};
    HDITEM item;
    item.mask = HDI_TEXT | HDI_WIDTH;
    item.pszText = text;
    item.cchTextMax = 3;   // cut to the room given
    ASSERT_TRUE(SendMessage(Header, HDM_GETITEM, 2, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(std::string(text), "Si");
    EXPECT_EQ(item.cxy, 60);
    EXPECT_TRUE(SendMessage(Header, HDM_DELETEITEM, 1, 0));
    EXPECT_FALSE(SendMessage(Header, HDM_DELETEITEM, 9, 0));
    EXPECT_EQ(Width(1), 60);
}

TEST_F(HeaderTest, HitTestTellsSectionsDividersAndOutside) {
    struct Case {
        POINT Pt;
        UINT Flags;
        int Item;
    };
    const Case cases[] = {
        {{50, 10}, HHT_ONHEADER, 0},
        {{99, 10}, HHT_ONDIVIDER, 0},
        {{102, 10}, HHT_ONDIVIDER, 0},
        {{130, 10}, HHT_ONHEADER, 1},
        {{280, 10}, HHT_NOWHERE, -1},
        {{50, -3}, HHT_ABOVE, -1},
        {{320, 10}, HHT_TORIGHT, -1},
    };
    for (const Case& c : cases) {
        HDHITTESTINFO info;
        info.pt = c.Pt;
        SendMessage(Header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.flags, c.Flags) << c.Pt.x << "," << c.Pt.y;
        EXPECT_EQ(info.iItem, c.Item) << c.Pt.x << "," << c.Pt.y;
    }
}

TEST_F(HeaderTest, ClickingASectionReportsItButReleasingElsewhereDoesNot) {
    ClickAt(Header, 130, 10);
    ASSERT_EQ(Codes(), std::vector<UINT> {HDN_ITEMCLICK});
    EXPECT_EQ(Events[0].Item, 1);
    Events.clear();
    Advance(1000);   // no double click
    PressAt(Header, 130, 10);
    ReleaseAt(Header, 20, 10);
    EXPECT_TRUE(Events.empty());
}

TEST_F(HeaderTest, DraggingADividerTracksAndResizesTheSection) {
    PressAt(Header, 100, 10);
    MoveTo(Header, 130, 10);
    ReleaseAt(Header, 140, 10);
    EXPECT_EQ(Width(0), 140);
    const std::vector<UINT> codes = Codes();
    ASSERT_GE(codes.size(), 4u);
    EXPECT_EQ(codes.front(), HDN_BEGINTRACK);
    EXPECT_EQ(codes.back(), HDN_ENDTRACK);
    EXPECT_EQ(Events.back().Width, 140);
    EXPECT_NE(std::find(codes.begin(), codes.end(), HDN_TRACK), codes.end());
    EXPECT_NE(std::find(codes.begin(), codes.end(), HDN_ITEMCHANGED), codes.end());
    RECT r {};
    SendMessage(Header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, 140);
}

TEST_F(HeaderTest, RefusedBeginTrackOrChangeKeepsTheWidth) {
    for (UINT refuse : {HDN_BEGINTRACK, HDN_ITEMCHANGING}) {
        RefuseCode = refuse;
        PressAt(Header, 100, 10);
        MoveTo(Header, 150, 10);
        ReleaseAt(Header, 150, 10);
        EXPECT_EQ(Width(0), 100);
    }
    // Dragging a divider left of the section's start gives a zero width, never a negative one.
    RefuseCode = 0;
    PressAt(Header, 160, 10);
    ReleaseAt(Header, 20, 10);
    EXPECT_EQ(Width(1), 0);
}

TEST_F(HeaderTest, LayoutPutsTheHeaderOnTopAndHiddenTakesNoRoom) {
    RECT room {0, 0, 300, 200};
    WINDOWPOS pos;
    HDLAYOUT layout {&room, &pos};
    ASSERT_TRUE(SendMessage(Header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)));
    EXPECT_GT(pos.cy, 10);
    EXPECT_EQ(room.top, pos.cy);
    EXPECT_EQ(pos.cx, 300);
    HWND hidden = Make(WC_HEADER, "", HDS_HIDDEN, 0, 40, 300, 20, 8);
    RECT room2 {0, 0, 300, 200};
    HDLAYOUT layout2 {&room2, &pos};
    SendMessage(hidden, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout2));
    EXPECT_EQ(room2.top, 0);
}

TEST_F(HeaderTest, OwnerDrawnSectionsAreDrawnByTheParent) {
    HDITEM item;
    item.mask = HDI_FORMAT | HDI_LPARAM;
    item.fmt = HDF_OWNERDRAW;
    item.lParam = 77;
    SendMessage(Header, HDM_SETITEM, 2, reinterpret_cast<LPARAM>(&item));
    Drawn.clear();
    InvalidateRect(Header, nullptr, true);
    Pump();
    ASSERT_EQ(Drawn.size(), 1u);
    EXPECT_EQ(Drawn[0].CtlType, ODT_HEADER);
    EXPECT_EQ(Drawn[0].itemID, 2u);
    EXPECT_EQ(Drawn[0].itemData, 77u);
    EXPECT_EQ(Drawn[0].rcItem, (RECT {160, 0, 240, 20}));
}

}
