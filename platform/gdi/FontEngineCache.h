// Glyph cache of the font engine: rendered glyph masks by font and glyph, least recently used dropped first.
#pragma once

#include "platform/gdi/FontEngine.h"

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace korvex::gdi {

// Bounded by the bytes of coverage it holds. Safe from any thread; a mask handed out stays valid after
// it is dropped from the cache, since callers share it.
class GlyphCache {
public:
    struct Key {
        std::uint64_t Font = 0;   // stable id of the realised font's face, size, style and escapement
        std::uint32_t Glyph = 0;
        friend bool operator==(const Key&, const Key&) = default;
    };

    explicit GlyphCache(std::size_t limitBytes);

    std::shared_ptr<const GlyphMask> Find(const Key& key);
    void Insert(const Key& key, std::shared_ptr<const GlyphMask> mask);
    void SetLimit(std::size_t bytes);   // drops glyphs at once when over the new limit
    void Clear();
    GlyphCacheStats Stats() const;

private:
    struct KeyHash {
        std::size_t operator()(const Key& key) const noexcept {
            return std::hash<std::uint64_t>()(key.Font * 0x9E3779B97F4A7C15ull ^ key.Glyph);
        }
    };
    struct Entry {
        Key EntryKey;
        std::shared_ptr<const GlyphMask> Mask;
        std::size_t Bytes = 0;
    };
    using Lru = std::list<Entry>;

    void Trim();   // caller holds FLock

    mutable std::mutex FLock;
    Lru FEntries;   // most recently used first
    std::unordered_map<Key, Lru::iterator, KeyHash> FIndex;
    std::size_t FLimit = 0;
    std::size_t FBytes = 0;
    std::size_t FHits = 0;
    std::size_t FMisses = 0;
};

// The engine's one cache.
GlyphCache& SharedGlyphCache();

}
