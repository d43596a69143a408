// Edit engine: the text store's blocks, own and shared.
#include "platform/user/controls/EditTextStore.h"

#include "platform/base/Assert.h"
#include "platform/os/Pages.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace korvex::user::edit {

namespace {

constexpr std::uint32_t NoBlock = std::numeric_limits<std::uint32_t>::max();
constexpr std::size_t LeastBlock = 256;
constexpr std::size_t WasteAllowed = std::size_t(64) << 10;   // released bytes kept without a second look

}   // namespace

// The bytes of an own block: a large one in pages of its own, which go back to the system when it goes.
class TextStore::Memory {
public:
    Memory() = default;
    explicit Memory(std::size_t capacity) {
        if (capacity >= LargeBlock) {
            FPages = os::Pages(capacity);
            FData = FPages.Data();
        } else {
            FSmall.reset(new char[capacity]);
            FData = FSmall.get();
        }
        FCapacity = capacity;
    }
    char* Data() const { return FData; }
    std::size_t Capacity() const { return FCapacity; }

private:
    os::Pages FPages;
    std::unique_ptr<char[]> FSmall;
    char* FData = nullptr;
    std::size_t FCapacity = 0;
};

struct TextStore::Block {
    Memory Own;   // a block of its own: its bytes
    std::shared_ptr<const std::string> Shared;   // a shared block: the text
    const char* Data = nullptr;   // null: a free slot
    std::size_t Used = 0;   // own bytes written
    std::size_t Live = 0;   // bytes spans refer to
    std::size_t Dead = 0;   // bytes spans referred to and released
};

TextStore::TextStore()
    : FFilling(NoBlock)
    , FLastShared(NoBlock) { }

TextStore::TextStore(TextStore&& other) noexcept
    : FBlocks(std::move(other.FBlocks))
    , FFreeSlots(std::move(other.FFreeSlots))
    , FFilling(std::exchange(other.FFilling, NoBlock))
    , FLastShared(std::exchange(other.FLastShared, NoBlock))
    , FOwnLive(std::exchange(other.FOwnLive, 0))
    , FOwnDead(std::exchange(other.FOwnDead, 0))
    , FSharedLive(std::exchange(other.FSharedLive, 0))
    , FSharedDead(std::exchange(other.FSharedDead, 0)) {
    other.FBlocks.clear();
    other.FFreeSlots.clear();
}

TextStore& TextStore::operator=(TextStore&& other) noexcept {
    if (this == &other) return *this;
    // What this store held goes back now, not when the moved-from store ends.
    std::vector<Block>().swap(FBlocks);
    FBlocks.swap(other.FBlocks);
    std::vector<std::uint32_t>().swap(FFreeSlots);
    FFreeSlots.swap(other.FFreeSlots);
    FFilling = std::exchange(other.FFilling, NoBlock);
    FLastShared = std::exchange(other.FLastShared, NoBlock);
    FOwnLive = std::exchange(other.FOwnLive, 0);
    FOwnDead = std::exchange(other.FOwnDead, 0);
    FSharedLive = std::exchange(other.FSharedLive, 0);
    FSharedDead = std::exchange(other.FSharedDead, 0);
    return *this;
}

TextStore::~TextStore() = default;

std::string_view TextStore::View(const TextSpan& span) const {
    if (span.Bytes == 0) return {};
    const Block& block = FBlocks[span.Block];
    return std::string_view(block.Data + span.Offset, span.Bytes);
}

std::uint32_t TextStore::NewBlock(Block block) {
    if (!FFreeSlots.empty()) {
        const std::uint32_t index = FFreeSlots.back();
        FFreeSlots.pop_back();
        FBlocks[index] = std::move(block);
        return index;
    }
    KORVEX_ASSERT(FBlocks.size() < NoBlock);
    FBlocks.push_back(std::move(block));
    return std::uint32_t(FBlocks.size() - 1);
}

void TextStore::FreeBlock(std::uint32_t index) {
    Block& block = FBlocks[index];
    KORVEX_ASSERT(block.Live == 0);
    if (block.Shared)
        FSharedDead -= block.Dead;
    else
        FOwnDead -= block.Dead;
    block = Block {};
    if (FFilling == index) FFilling = NoBlock;
    if (FLastShared == index) FLastShared = NoBlock;
    FFreeSlots.push_back(index);
}

void TextStore::Reserve(std::size_t bytes) {
    if (bytes > 0) Filling(bytes);
}

TextStore::Block& TextStore::Filling(std::size_t bytes) {
    if (FFilling != NoBlock) {
        Block& block = FBlocks[FFilling];
        if (block.Own.Capacity() - block.Used >= bytes) return block;
        // Room too small: the next block takes over, and this one goes unless a span still refers to it.
        const std::uint32_t full = FFilling;
        FFilling = NoBlock;
        if (block.Live == 0) FreeBlock(full);
    }
    KORVEX_ASSERT(bytes <= std::numeric_limits<std::uint32_t>::max());
    // Blocks grow with the text, so that a long one lies in few of them.
    const std::size_t capacity = std::max(bytes, std::clamp(FOwnLive, LeastBlock, MostBlock));
    Block block;
    block.Own = Memory(capacity);
    block.Data = block.Own.Data();
    FFilling = NewBlock(std::move(block));
    return FBlocks[FFilling];
}

TextSpan TextStore::Add(std::string_view a, std::string_view b, std::string_view c) {
    const std::size_t bytes = a.size() + b.size() + c.size();
    if (bytes == 0) return {};
    Block& block = Filling(bytes);
    char* to = block.Own.Data() + block.Used;
    for (std::string_view piece : {a, b, c}) {
        if (piece.empty()) continue;
        std::memcpy(to, piece.data(), piece.size());
        to += piece.size();
    }
    const TextSpan span {FFilling, std::uint32_t(block.Used), std::uint32_t(bytes)};
    block.Used += bytes;
    block.Live += bytes;
    FOwnLive += bytes;
    return span;
}

TextSpan TextStore::Refer(const std::shared_ptr<const std::string>& text, std::string_view bytes) {
    KORVEX_ASSERT(text != nullptr);
    if (bytes.empty()) return {};
    KORVEX_ASSERT(bytes.data() >= text->data() && bytes.data() + bytes.size() <= text->data() + text->size());
    const std::size_t offset = std::size_t(bytes.data() - text->data());
    // A span counts in 32 bits: bytes beyond 4 GB into a text are copied instead.
    if (offset + bytes.size() > std::numeric_limits<std::uint32_t>::max()) return Add(bytes);
    std::uint32_t index = FLastShared;
    if (index == NoBlock || FBlocks[index].Shared != text) {
        index = NoBlock;
        for (std::uint32_t i = 0; i < FBlocks.size() && index == NoBlock; ++i)
            if (FBlocks[i].Shared == text) index = i;
        if (index == NoBlock) {
            Block block;
            block.Shared = text;
            block.Data = text->data();
            index = NewBlock(std::move(block));
        }
        FLastShared = index;
    }
    FBlocks[index].Live += bytes.size();
    FSharedLive += bytes.size();
    return TextSpan {index, std::uint32_t(offset), std::uint32_t(bytes.size())};
}

std::optional<TextSpan> TextStore::Extend(
    const TextSpan& span, const std::shared_ptr<const std::string>& text, std::string_view more) {
    if (span.Bytes == 0 || more.empty() || FBlocks[span.Block].Shared != text) return std::nullopt;
    const char* end = text->data() + span.Offset + span.Bytes;
    if (more.data() != end) return std::nullopt;
    return Refer(text, std::string_view(text->data() + span.Offset, span.Bytes + more.size()));
}

void TextStore::ReleaseCovered(const TextSpan& span) {
    if (span.Bytes == 0) return;
    Block& block = FBlocks[span.Block];
    KORVEX_ASSERT(block.Shared != nullptr && block.Live > span.Bytes);   // the covering span is there too
    block.Live -= span.Bytes;
    FSharedLive -= span.Bytes;
}

void TextStore::Release(const TextSpan& span) {
    if (span.Bytes == 0) return;
    Block& block = FBlocks[span.Block];
    KORVEX_ASSERT(block.Data != nullptr && block.Live >= span.Bytes);
    block.Live -= span.Bytes;
    block.Dead += span.Bytes;
    if (block.Shared) {
        FSharedLive -= span.Bytes;
        FSharedDead += span.Bytes;
    } else {
        FOwnLive -= span.Bytes;
        FOwnDead += span.Bytes;
    }
    if (block.Live > 0) return;
    if (span.Block != FFilling) {
        FreeBlock(span.Block);
        return;
    }
    // The block being filled starts again from its beginning.
    FOwnDead -= block.Dead;
    block.Dead = 0;
    block.Used = 0;
}

bool TextStore::Wasteful() const {
    return FOwnDead > FOwnLive + WasteAllowed || FSharedDead > FSharedLive + WasteAllowed;
}

TextSpan TextStore::Keep(const TextStore& from, const TextSpan& span) {
    if (span.Bytes == 0) return {};
    const Block& block = from.FBlocks[span.Block];
    if (block.Shared && block.Dead <= block.Live) return Refer(block.Shared, from.View(span));
    return Add(from.View(span));
}

std::size_t TextStore::OwnBytes() const {
    std::size_t bytes = 0;
    for (const Block& block : FBlocks)
        bytes += block.Own.Capacity();
    return bytes;
}

std::size_t TextStore::SharedTexts() const {
    return std::size_t(std::count_if(FBlocks.begin(), FBlocks.end(), [](const Block& b) { return b.Shared != nullptr; }));
}

}
