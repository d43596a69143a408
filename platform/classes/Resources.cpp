// The registry of resources embedded at build time.
#include "platform/classes/Resources.h"

#include <mutex>
#include <vector>

namespace korvex::classes {

namespace {

struct TEntry {
    std::string_view Name;
    std::span<const std::uint8_t> Bytes;
};

struct TResourceRegistry {
    std::mutex Lock;
    std::vector<TEntry> Entries;
};

TResourceRegistry& Registry() {
    static TResourceRegistry registry;
    return registry;
}

}

TEmbeddedResource::TEmbeddedResource(const char* name, const std::uint8_t* data, std::size_t size) {
    TResourceRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    for (const TEntry& entry : registry.Entries)
        if (entry.Name == name) return;
    registry.Entries.push_back({name, {data, size}});
}

std::optional<std::span<const std::uint8_t>> FindEmbeddedResource(std::string_view name) {
    TResourceRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    for (const TEntry& entry : registry.Entries)
        if (entry.Name == name) return entry.Bytes;
    return std::nullopt;
}

}
