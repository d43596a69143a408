// Another program dragging files onto ours: an XDND source on a connection of its own, with raw Xlib.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace korvex::e2e {

struct XdndDragResult {
    bool FoundTarget = false;   // an XdndAware window lay under the point
    bool StatusCame = false;   // the target answered a position
    bool Accepted = false;   // ... taking the drop
    bool ListAsked = false;   // the target asked for the offered list after the drop
    bool Finished = false;   // the target ended the drop
    bool FinishedAccepted = false;   // ... saying it took it
};

// Drags the offer from outside onto the screen point of display `displayName`: enter, a position, and the
// drop when the target accepts (else a leave). The list is given for every type offered, by INCR in pieces of
// `piece` bytes when it is longer (0: whole). Waits for each answer up to timeoutMs. Blocking: run it beside
// whatever must pump the target.
XdndDragResult DragUriList(const std::string& displayName, int x, int y, const std::string& list,
    const std::vector<std::string>& types = {"text/uri-list"}, std::size_t piece = 0, int timeoutMs = 10000);

}
