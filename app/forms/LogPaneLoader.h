// Filling the log viewer's pane with a log block by block, each block's keywords coloured as it goes in, in
// slices of time the window's owner schedules: a log of any size never holds the window.
#pragma once

#include "app/views/ClientLogColours.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace korvex::classes {
class TRichEdit;
}

namespace korvex::app {

// Where the block that starts at `from` ends: after its last line end within `bytes` bytes (a "\r\n" kept
// whole), at the text's end when the rest fits; a line longer than `bytes` is cut after `bytes` bytes, between
// two characters (a UTF-8 sequence kept whole), so that no block is larger than the budget.
std::size_t LogBlockEnd(std::string_view text, std::size_t from, std::size_t bytes);

class TLogPaneLoader {
public:
    static constexpr std::size_t BlockBytes = std::size_t(256) << 10;
    // Address space a slice leaves for the rest of the program (painting, input), or memory counts as run out.
    static constexpr std::size_t RoomKept = std::size_t(64) << 20;

    // pane: its text is replaced, and it lives longer than the loader. The pane's lines stay in `text` rather
    // than being copied: the log is held once, by the pane once it is in. The pane takes the text from `begin`.
    TLogPaneLoader(classes::TRichEdit* pane, std::shared_ptr<const std::string> text, std::size_t roomKept = RoomKept,
        std::size_t begin = 0);

    // Adds blocks until `slice` has passed or the whole text is in; true when it is. The user's selection and
    // scroll position stay; the view follows the log's end until the user moves it. Throws std::bad_alloc when
    // memory runs out, or when a slice leaves less address space than the room kept (memory that ran out later,
    // while the window paints, could not be told).
    bool Step(std::chrono::steady_clock::duration slice);
    bool Done() const { return FLoaded >= FTotal; }
    std::size_t LoadedBytes() const { return FLoaded; }
    std::size_t TotalBytes() const { return FTotal; }

private:
    struct TScrollPos {
        int X = 0, Y = 0;
        bool operator==(const TScrollPos&) const = default;
    };
    void AddBlock(std::size_t from, std::size_t end);
    TScrollPos ScrollPos() const;

    classes::TRichEdit* FPane;
    std::shared_ptr<const std::string> FText;   // let go of once all of it is in the pane
    std::size_t FTotal;
    std::size_t FRoomKept;
    std::size_t FBegin;   // where the pane's text starts in FText
    std::size_t FLoaded;   // where the text not yet in the pane starts
    TLogColourScan FScan;   // the colours of the lines the blocks so far hold; where the next block goes
    std::optional<TScrollPos> FLeftAt;   // where the last slice left the view
    bool FFollowEnd = true;
};

}
