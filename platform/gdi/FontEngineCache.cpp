// Glyph cache: a hash index over a list kept in order of use.
#include "platform/gdi/FontEngineCache.h"

namespace korvex::gdi {

namespace {

constexpr std::size_t DefaultGlyphCacheBytes = 8u << 20;
constexpr std::size_t EntryOverhead = 64;   // list node, index slot and mask header, roughly

}

GlyphCache::GlyphCache(std::size_t limitBytes)
    : FLimit(limitBytes) {
}

std::shared_ptr<const GlyphMask> GlyphCache::Find(const Key& key) {
    std::lock_guard lock(FLock);
    auto found = FIndex.find(key);
    if (found == FIndex.end()) {
        ++FMisses;
        return nullptr;
    }
    ++FHits;
    FEntries.splice(FEntries.begin(), FEntries, found->second);
    return found->second->Mask;
}

void GlyphCache::Insert(const Key& key, std::shared_ptr<const GlyphMask> mask) {
    if (!mask) return;
    std::lock_guard lock(FLock);
    std::size_t bytes = mask->Coverage.size() + EntryOverhead;
    auto found = FIndex.find(key);
    if (found != FIndex.end()) {
        FBytes -= found->second->Bytes;
        FEntries.erase(found->second);
        FIndex.erase(found);
    }
    FEntries.push_front(Entry {key, std::move(mask), bytes});
    FIndex.emplace(key, FEntries.begin());
    FBytes += bytes;
    Trim();
}

void GlyphCache::SetLimit(std::size_t bytes) {
    std::lock_guard lock(FLock);
    FLimit = bytes;
    Trim();
}

void GlyphCache::Clear() {
    std::lock_guard lock(FLock);
    FIndex.clear();
    FEntries.clear();
    FBytes = 0;
}

GlyphCacheStats GlyphCache::Stats() const {
    std::lock_guard lock(FLock);
    return GlyphCacheStats {FIndex.size(), FBytes, FHits, FMisses};
}

void GlyphCache::Trim() {
    // The newest glyph always stays, even when it alone is over the limit.
    while (FBytes > FLimit && FEntries.size() > 1) {
        Entry& oldest = FEntries.back();
        FBytes -= oldest.Bytes;
        FIndex.erase(oldest.EntryKey);
        FEntries.pop_back();
    }
}

GlyphCache& SharedGlyphCache() {
    static GlyphCache* cache = new GlyphCache(DefaultGlyphCacheBytes);   // outlives static destruction
    return *cache;
}

GlyphCacheStats GetGlyphCacheStats() {
    return SharedGlyphCache().Stats();
}

void SetGlyphCacheLimit(std::size_t bytes) {
    SharedGlyphCache().SetLimit(bytes);
}

}
