// Filling the log viewer's pane block by block.
#include "app/forms/LogPaneLoader.h"

#include "app/views/ClientLogColours.h"
#include "platform/base/Assert.h"
#include "platform/base/ScopeGuard.h"
#include "platform/base/Strings.h"
#include "platform/classes/Colors.h"
#include "platform/classes/TRichEdit.h"
#include "platform/os/Pages.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/Caret.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/RichEditConstants.h"

#include <algorithm>
#include <new>

namespace korvex::app {

using namespace user;

std::size_t LogBlockEnd(std::string_view text, std::size_t from, std::size_t bytes) {
    KORVEX_ASSERT(from <= text.size() && bytes > 0);
    if (text.size() - from <= bytes) return text.size();
    std::size_t end = base::FindLastLineBreak(text.substr(from, bytes));
    if (end == std::string_view::npos) {
        // No line end within the budget: cut there, before the character the budget ends in.
        auto continues = [&text](std::size_t at) {   // a UTF-8 continuation byte
            return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
        };
        std::size_t cut = from + bytes;
        std::size_t start = cut;
        while (start > from && cut - start < 3 && continues(start))
            --start;
        if (continues(start)) return cut;   // no character starts near the cut: bytes that are none
        if (start > from) return start;
        while (cut - start < 4 && continues(cut))   // a first character longer than the budget goes whole
            ++cut;
        return cut;
    }
    end += from;
    if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    return end + 1;
}

TLogPaneLoader::TLogPaneLoader(
    classes::TRichEdit* pane, std::shared_ptr<const std::string> text, std::size_t roomKept, std::size_t begin)
    : FPane(pane)
    , FText(std::move(text))
    , FTotal(FText ? FText->size() : 0)
    , FRoomKept(roomKept)
    , FBegin(std::min(begin, FTotal))
    , FLoaded(FBegin) {
    KORVEX_ASSERT(FPane != nullptr);
}

TLogPaneLoader::TScrollPos TLogPaneLoader::ScrollPos() const {
    POINT at {};
    SendMessage(FPane->Handle(), EM_GETSCROLLPOS, 0, LPARAM(&at));
    return {at.x, at.y};
}

bool TLogPaneLoader::Step(std::chrono::steady_clock::duration slice) {
    if (Done()) return true;
    const auto until = std::chrono::steady_clock::now() + slice;
    const HWND window = FPane->Handle();
    CHARRANGE selection {};
    SendMessage(window, EM_EXGETSEL, 0, LPARAM(&selection));
    const TScrollPos scroll = ScrollPos();
    if (FLeftAt && *FLeftAt != scroll) FFollowEnd = false;
    // The selection moves with every block and range: a hidden caret is not drawn at each place.
    const bool caretHidden = HideCaret(window);
    base::ScopeExit showCaret([&] {
        if (caretHidden) ShowCaret(window);
    });
    // Nor is each of those moves told to the pane's owner.
    const LRESULT events = SendMessage(window, EM_GETEVENTMASK, 0, 0);
    SendMessage(window, EM_SETEVENTMASK, 0, events & ~LPARAM(ENM_SELCHANGE));
    base::ScopeExit tellAgain([&] { SendMessage(window, EM_SETEVENTMASK, 0, events); });
    do {
        const std::size_t end = LogBlockEnd(*FText, FLoaded, BlockBytes);
        AddBlock(FLoaded, end);
        FLoaded = end;
    } while (!Done() && std::chrono::steady_clock::now() < until);
    if (!os::AddressRoomFor(FRoomKept)) throw std::bad_alloc();
    if (Done() && FScan.Next() >= 2) {
        // The last line's end takes the window text colour again.
        CHARRANGE end {FScan.Next() - 2, FScan.Next()};
        SendMessage(window, EM_EXSETSEL, 0, LPARAM(&end));
        FPane->SelAttributes()->SetColor(classes::clWindowText);
    }
    SendMessage(window, EM_EXSETSEL, 0, LPARAM(&selection));
    if (FFollowEnd) {
        SendMessage(window, EM_LINESCROLL, 0, SendMessage(window, EM_GETLINECOUNT, 0, 0));
    } else {
        POINT back {scroll.X, scroll.Y};
        SendMessage(window, EM_SETSCROLLPOS, 0, LPARAM(&back));
    }
    FLeftAt = ScrollPos();
    if (Done()) FText.reset();
    return Done();
}

void TLogPaneLoader::AddBlock(std::size_t from, std::size_t end) {
    const HWND window = FPane->Handle();
    // The first block takes the place of the whole text, in the pane's own format; the next go in where the
    // text ends (a block of a long line without line ends goes on in its line).
    if (from > FBegin) {
        CHARRANGE at {FScan.End(), FScan.End()};
        SendMessage(window, EM_EXSETSEL, 0, LPARAM(&at));
    }
    FPane->StreamIn(FText, from, end, from > FBegin);
    const std::string_view block = std::string_view(*FText).substr(from, end - from);
    for (const TColourRange& range : FScan.Add(block, end == FTotal)) {
        CHARRANGE coloured {range.Start, range.Start + range.Length};
        SendMessage(window, EM_EXSETSEL, 0, LPARAM(&coloured));
        const int background = classes::ColorToRGB(FPane->Color());
        FPane->SelAttributes()->SetColor(classes::TColor(ReadableLogColour(range.Colour, background)));
    }
}

}
