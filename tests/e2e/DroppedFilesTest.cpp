// Files dragged by another X client (a file manager's XDND drag, raw Xlib on its own connection) onto the
// controls of a form on Xvfb: the file edit takes the file, the rest of the form refuses the drag.
#include "support/X11ApplicationFixture.h"
#include "support/XdndSource.h"

#include "platform/classes/TForm.h"
#include "platform/user/MessageLoop.h"
#include "skin/controls/sTooledit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

using namespace korvex;
using namespace korvex::classes;

namespace {

class DroppedFilesOnX11 : public e2e::X11ApplicationFixture {
protected:
    DroppedFilesOnX11() : X11ApplicationFixture(800, 600) {}

    // Drags on a thread of its own while the application's loop runs here; again while the form is not yet
    // on the screen (no target found).
    e2e::XdndDragResult DragOnto(TControl* control, int x, int y, const std::string& list) {
        e2e::XdndDragResult result;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        do {
            const TPoint p = control->ClientToScreen(TPoint {x, y});
            const std::string server = Server.Name();
            auto drag = std::async(std::launch::async, [=] { return e2e::DragUriList(server, p.x, p.y, list); });
            while (drag.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
                user::PumpMessages();
            result = drag.get();
            user::PumpMessages();   // the drop is delivered from the loop
        } while (!result.FoundTarget && std::chrono::steady_clock::now() < end);
        return result;
    }
};

TEST_F(DroppedFilesOnX11, AFileDraggedFromAnotherProgramArrivesInTheFileEdit) {
    auto* form = new TForm(Application);
    form->SetBounds(60, 60, 420, 160);
    form->SetCaption("KORVEX: drop here");
    auto* edit = new skin::TsFilenameEdit(form);
    edit->SetParent(form);
    edit->SetBounds(20, 20, 360, 24);
    edit->SetAcceptFiles(true);
    auto* plain = new skin::TsFilenameEdit(form);   // takes no files
    plain->SetParent(form);
    plain->SetBounds(20, 80, 360, 24);
    form->Show();

    const e2e::XdndDragResult refused = DragOnto(plain, 20, 10, "file:///tmp/elsewhere.txt\r\n");
    ASSERT_TRUE(refused.FoundTarget);
    EXPECT_TRUE(refused.StatusCame);
    EXPECT_FALSE(refused.Accepted);

    const e2e::XdndDragResult taken
        = DragOnto(edit, 20, 10, "file:///home/farm/FAH%20logs/FAHlog.txt\r\nfile:///tmp/second.txt\r\n");
    EXPECT_TRUE(taken.Accepted);
    EXPECT_TRUE(taken.FinishedAccepted);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (edit->FileName().empty() && std::chrono::steady_clock::now() < end) {
        user::PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(edit->FileName(), "/home/farm/FAH logs/FAHlog.txt");   // one file: the edit takes the first
    EXPECT_EQ(plain->FileName(), "");
    form->Free();
}

}
