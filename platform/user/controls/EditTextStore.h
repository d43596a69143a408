// Edit engine: the paragraphs' bytes in large blocks that many paragraphs share, one of them possibly a text
// handed in whole (a log read from its file), so that a long text costs little more than its own bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::user::edit {

// Where a paragraph's bytes lie in its control's store (nothing while Bytes is 0).
struct TextSpan {
    std::uint32_t Block = 0;
    std::uint32_t Offset = 0;
    std::uint32_t Bytes = 0;
};

// Blocks of its own, filled one after the other, and shared texts it refers into. A block goes as soon as no
// span refers to it; the bytes left in blocks that stay are counted, and once they outweigh those in use the
// owner moves every span into a fresh store (Keep), so edits never leave more waste than text.
class TextStore {
public:
    static constexpr std::size_t LargeBlock = std::size_t(1) << 20;   // from here, pages of their own
    static constexpr std::size_t MostBlock = std::size_t(16) << 20;   // a block grows to this unless one text needs more

    TextStore();
    TextStore(TextStore&& other) noexcept;
    TextStore& operator=(TextStore&& other) noexcept;
    TextStore(const TextStore&) = delete;
    TextStore& operator=(const TextStore&) = delete;
    ~TextStore();

    std::string_view View(const TextSpan& span) const;
    // Room for this many bytes of what Add writes next in one block: a text set at once lies together.
    void Reserve(std::size_t bytes);
    // A copy of the pieces one after the other. The pieces may lie in this store: nothing moves while adding.
    TextSpan Add(std::string_view a, std::string_view b = {}, std::string_view c = {});
    // Bytes that lie inside a shared text, kept where they are: the text lives while a span refers to it (bytes
    // beyond its first 4 GB are copied).
    TextSpan Refer(const std::shared_ptr<const std::string>& text, std::string_view bytes);
    // The span with `more` after it, as one span, when the span lies in `text` and `more` follows it there
    // (a line handed in piece by piece): nothing is copied. The span itself is then let go of with
    // ReleaseCovered. Nothing when `more` does not follow it.
    std::optional<TextSpan> Extend(
        const TextSpan& span, const std::shared_ptr<const std::string>& text, std::string_view more);
    // No paragraph holds the span any more.
    void Release(const TextSpan& span);
    // The span's bytes are held by a span Extend made of it: it no longer counts, and its bytes are not let go of.
    void ReleaseCovered(const TextSpan& span);

    // More is held for nothing than is in use: time to move every span into a fresh store.
    bool Wasteful() const;
    // The span of `from` in this store: shared bytes stay shared while most of their text is in use, the rest
    // is copied.
    TextSpan Keep(const TextStore& from, const TextSpan& span);

    std::size_t LiveBytes() const { return FOwnLive + FSharedLive; }   // bytes spans refer to
    std::size_t OwnBytes() const;   // bytes of the blocks of its own (used or not)
    std::size_t SharedTexts() const;   // shared texts referred to

private:
    class Memory;
    struct Block;
    std::uint32_t NewBlock(Block block);
    void FreeBlock(std::uint32_t index);
    Block& Filling(std::size_t bytes);

    std::vector<Block> FBlocks;
    std::vector<std::uint32_t> FFreeSlots;
    std::uint32_t FFilling;   // the own block Add writes into (NoBlock: none yet)
    std::uint32_t FLastShared;   // the shared block Refer found last
    std::size_t FOwnLive = 0;
    std::size_t FOwnDead = 0;   // released bytes of own blocks that stay
    std::size_t FSharedLive = 0;
    std::size_t FSharedDead = 0;
};

}
