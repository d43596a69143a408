// Pastes from another X client on the x11 display: text handed over whole or by INCR in pieces arrives whole,
// and an owner that trickles its pieces is given up at the transfer's deadline.
#include "platform/user/display/x11/X11Display.h"
#include "support/SelectionOwner.h"
#include "support/X11TestKit.h"

using namespace korvex;
using namespace korvex::e2e;

namespace {

// Text whose every line differs, so a lost, doubled or reordered piece shows.
std::string NumberedLines(std::size_t bytes) {
    std::string text;
    for (int line = 0; text.size() < bytes; ++line)
        text += "line " + std::to_string(line) + " Узел \u2116" + std::to_string(line * 7) + "\n";
    return text;
}

}

TEST_F(X11Fixture, PastesHandedOverWholeOrInPiecesArriveWhole) {
    struct PasteCase {
        std::size_t Bytes;
        std::size_t Piece;   // 0: whole
        int Pastes;
    };
    const PasteCase cases[] = {{2000, 0, 2}, {512 * 1024, 32 * 1024, 20}, {100, 1, 3}};
    for (const PasteCase& c : cases) {
        const std::string text = NumberedLines(c.Bytes);
        ClipboardOwner owner(ServerName(), text, c.Piece);
        ASSERT_TRUE(owner.Owning());
        int whole = 0;
        for (int paste = 0; paste < c.Pastes; ++paste)
            whole += Screen->ClipboardText() == text;
        EXPECT_EQ(whole, c.Pastes) << c.Bytes << " bytes in pieces of " << c.Piece;
    }
}

TEST_F(X11Fixture, APasteNotWholeByTheDeadlineIsGivenUpAndTheNextOneWorks) {
    user::X11DisplayOptions options;
    options.Name = ServerName();
    options.TransferDeadlineMs = 1000;
    Screen = user::CreateX11Display(options);
    ASSERT_TRUE(Screen);
    {
        // 40 pieces a fifth of a second apart: each piece in time, the whole far past the deadline.
        ClipboardOwner slow(ServerName(), NumberedLines(40 * 1024), 1024, 200);
        ASSERT_TRUE(slow.Owning());
        EXPECT_EQ(Screen->ClipboardText().size(), 0u);
    }
    const std::string text = NumberedLines(300 * 1024);
    ClipboardOwner owner(ServerName(), text, 64 * 1024);
    ASSERT_TRUE(owner.Owning());
    EXPECT_TRUE(Screen->ClipboardText() == text);   // not printed: 300 kB
}
