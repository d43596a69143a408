// Files dragged from another X client onto the x11 display's windows (XDND): local files arrive decoded, other
// URIs and refusing windows leave nothing, and the dragging program hears the outcome.
#include "platform/user/display/x11/X11Display.h"
#include "support/X11TestKit.h"
#include "support/XdndSource.h"

#include <future>

using namespace korvex;
using namespace korvex::e2e;

namespace {

class X11Drop : public X11Fixture {
protected:
    // Drags on a thread of its own while the display is pumped here, until the drag has ended.
    XdndDragResult Drag(int x, int y, const std::string& list, const std::vector<std::string>& types = {"text/uri-list"},
        std::size_t piece = 0) {
        const std::string server = ServerName();
        auto drag = std::async(std::launch::async, [=] { return DragUriList(server, x, y, list, types, piece); });
        Pump([&] { return drag.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 30000);
        return drag.get();
    }
};

}

TEST_F(X11Drop, LocalFilesDroppedOnAWindowThatTakesThemArriveDecodedAtTheDropPoint) {
    ShowSurface(1, gdi::Bounds(100, 100, 200, 150));
    Sink.AcceptFiles = true;
    const XdndDragResult result
        = Drag(150, 160, "file:///tmp/a%20b.txt\r\nhttp://example.org/x\r\n# note\r\nfile://localhost/etc/hosts\r\n");
    EXPECT_TRUE(result.FoundTarget);
    EXPECT_TRUE(result.Accepted);
    EXPECT_TRUE(result.ListAsked);
    EXPECT_TRUE(result.FinishedAccepted);
    ASSERT_EQ(Sink.Drops.size(), 1u);
    EXPECT_EQ(Sink.Drops[0].Surface, 1u);
    EXPECT_EQ(Sink.Drops[0].Point, (gdi::POINT {150, 160}));
    EXPECT_EQ(Sink.Drops[0].Files, (std::vector<std::string> {"/tmp/a b.txt", "/etc/hosts"}));
}

TEST_F(X11Drop, AWindowThatTakesNoFilesRefusesTheDragAndGetsNothing) {
    ShowSurface(1, gdi::Bounds(100, 100, 200, 150));
    const XdndDragResult result = Drag(150, 160, "file:///tmp/x\r\n");
    EXPECT_TRUE(result.StatusCame);   // the answer came, so the position was handled
    EXPECT_FALSE(result.Accepted);
    EXPECT_FALSE(result.ListAsked);
    EXPECT_TRUE(Sink.Drops.empty());
}

TEST_F(X11Drop, AnOfferWithoutAUriListIsRefused) {
    ShowSurface(1, gdi::Bounds(100, 100, 200, 150));
    Sink.AcceptFiles = true;
    const XdndDragResult result = Drag(150, 160, "/tmp/x", {"text/plain", "UTF8_STRING"});
    EXPECT_TRUE(result.StatusCame);
    EXPECT_FALSE(result.Accepted);
    EXPECT_TRUE(Sink.Drops.empty());
}

TEST_F(X11Drop, AListOfNoLocalFilesEndsTheDropUntakenAndDeliversNothing) {
    ShowSurface(1, gdi::Bounds(100, 100, 200, 150));
    Sink.AcceptFiles = true;
    const XdndDragResult result
        = Drag(150, 160, "http://example.org/a\r\nfile://elsewhere/share/b\r\nfile:///bad%00name\r\n");
    EXPECT_TRUE(result.Accepted);
    EXPECT_TRUE(result.Finished);
    EXPECT_FALSE(result.FinishedAccepted);
    EXPECT_TRUE(Sink.Drops.empty());
}

TEST_F(X11Drop, PopupsAreNoDropTargets) {
    ShowSurface(1, gdi::Bounds(100, 100, 200, 150), user::SurfaceKind::Popup);
    Sink.AcceptFiles = true;
    const XdndDragResult result = Drag(150, 160, "file:///tmp/x\r\n");
    EXPECT_FALSE(result.FoundTarget);
    EXPECT_TRUE(Sink.Drops.empty());
}

TEST_F(X11Drop, AListHandedOverInPiecesArrivesWholeEveryTime) {
    ShowSurface(1, gdi::Bounds(100, 100, 200, 150));
    Sink.AcceptFiles = true;
    std::string list;
    std::vector<std::string> files;
    for (int i = 0; i < 9196; ++i) {
        files.push_back("/srv/farm/node" + std::to_string(i) + "/FAHlog.txt");
        list += "file://" + files.back() + "\r\n";
    }
    for (int drop = 0; drop < 3; ++drop) {
        const XdndDragResult result = Drag(150, 160, list, {"text/uri-list"}, 16 * 1024);
        EXPECT_TRUE(result.FinishedAccepted) << "drop " << drop;
        ASSERT_EQ(Sink.Drops.size(), size_t(drop + 1)) << "drop " << drop;
        EXPECT_EQ(Sink.Drops.back().Files, files) << "drop " << drop;
    }
}
