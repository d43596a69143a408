// Dropped files: which window receives WM_DROPFILES and what DragQueryFile reads from the drop.
#include "support/UserTestSupport.h"

#include "platform/user/DropFiles.h"
#include "platform/user/MessageIds.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/WinPos.h"

#include <gtest/gtest.h>

namespace korvex::user::test {

namespace {

using DropFiles = UserTest;

struct Received {
    HWND Window = nullptr;
    std::vector<std::string> Names;
    POINT Point {};
};

Handler Reader(Received& got) {
    return [&got](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg != WM_DROPFILES) return std::nullopt;
        auto drop = reinterpret_cast<HDROP>(wParam);
        got.Window = hwnd;
        const UINT count = DragQueryFile(drop, 0xFFFFFFFFu, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            std::string name(DragQueryFile(drop, i, nullptr, 0), '\0');
            DragQueryFile(drop, i, name.data(), UINT(name.size() + 1));
            got.Names.push_back(name);
        }
        DragQueryPoint(drop, &got.Point);
        DragFinish(drop);
        return 0;
    };
}

TEST_F(DropFiles, TheNearestAcceptingAncestorReceivesTheWholeNames) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 100, 100, 200, 120);
    HWND child = Create(WS_CHILD | WS_VISIBLE, 10, 10, 80, 40, top);
    Received got;
    SetHandler(top, Reader(got));
    EXPECT_FALSE(DropFilesAt(POINT {120, 120}, {"/tmp/a"}));   // nobody accepts files yet
    DragAcceptFiles(top, true);
    EXPECT_NE(GetWindowLongPtr(top, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    const std::string longName = "/srv/nodes/" + std::string(600, 'x') + "/FAHlog.txt";   // past any fixed buffer
    ASSERT_TRUE(DropFilesAt(POINT {120, 120}, {longName, "/tmp/Узел 2"}));   // on the child: its parent accepts
    EXPECT_EQ(got.Window, top);
    EXPECT_EQ(got.Names, (std::vector<std::string> {longName, "/tmp/Узел 2"}));
    EXPECT_EQ(got.Point.x, 20);
    EXPECT_EQ(got.Point.y, 20);
    DragAcceptFiles(top, false);
    EXPECT_FALSE(DropFilesAt(POINT {120, 120}, {"/tmp/a"}));
    (void)child;
}

TEST_F(DropFiles, QueriesOutOfRangeOrIntoSmallBuffersStayInside) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, WS_EX_ACCEPTFILES);
    std::vector<std::string> seen;
    SetHandler(top, [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg != WM_DROPFILES) return std::nullopt;
        auto drop = reinterpret_cast<HDROP>(wParam);
        char small[5] = {'#', '#', '#', '#', '#'};
        EXPECT_EQ(DragQueryFile(drop, 0, small, 4), 3u);   // three bytes and the zero
        seen.emplace_back(small);
        EXPECT_EQ(DragQueryFile(drop, 7, small, 4), 0u);
        EXPECT_EQ(DragQueryFile(drop, 0, small, 0), 0u);
        DragFinish(drop);
        return 0;
    });
    EXPECT_EQ(DragQueryFile(nullptr, 0xFFFFFFFFu, nullptr, 0), 0u);
    EXPECT_FALSE(DropFilesAt(POINT {5, 5}, {}));
    ASSERT_TRUE(DropFilesAt(POINT {5, 5}, {"abcdef"}));
    EXPECT_EQ(seen, (std::vector<std::string> {"abc"}));
}

}

}
