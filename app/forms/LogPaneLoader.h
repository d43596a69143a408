// Filling the log viewer's pane with a log block by block, each block's keywords coloured as it goes in, in
// slices of time the window's owner schedules: a log of any size never holds the window.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvex::classes {
class TRichEdit;
}

namespace korvex::app {

// Where the block of whole lines that starts at `from` ends: after its last line end within `bytes` bytes (a
// "\r\n" kept whole), after its first line when that one is longer, at the text's end when the rest fits.
std::size_t LogBlockEnd(std::string_view text, std::size_t from, std::size_t bytes);

class TLogPaneLoader {
public:
    static constexpr std::size_t BlockBytes = std::size_t(256) << 10;
    static constexpr std::size_t DropBytes = std::size_t(8) << 20;   // text in the pane let go of, at least

    // pane: its text is replaced, and it lives longer than the loader.
    TLogPaneLoader(classes::TRichEdit* pane, std::string text);

    // Adds blocks until `slice` has passed or the whole text is in; true when it is. The user's selection and
    // scroll position stay; the view follows the log's end until the user moves it.
    bool Step(std::chrono::steady_clock::duration slice);
    bool Done() const { return FLoaded >= FTotal; }
    std::size_t LoadedBytes() const { return FLoaded; }
    std::size_t TotalBytes() const { return FTotal; }

private:
    struct TScrollPos {
        int X = 0, Y = 0;
        bool operator==(const TScrollPos&) const = default;
    };
    void AddBlock(std::string_view block);
    void LetGoOfWhatIsIn();
    TScrollPos ScrollPos() const;

    classes::TRichEdit* FPane;
    std::string FText;   // what is not in the pane yet (and some of what is): let go of as it goes in
    std::size_t FTotal;
    std::size_t FLoaded = 0;   // bytes of the whole text in the pane
    std::size_t FDropped = 0;   // bytes of its start no longer held
    int FNext = 0;   // the character position the next block starts at
    std::optional<TScrollPos> FLeftAt;   // where the last slice left the view
    bool FFollowEnd = true;
};

}
