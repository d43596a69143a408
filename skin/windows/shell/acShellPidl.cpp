// Item identifier lists: runs of named items, each led by a 16-bit byte count, ended by a zero count.
#include "skin/windows/shell/acShellPidl.h"

#include "platform/base/Assert.h"

#include <algorithm>

namespace korvex::skin {

namespace {

constexpr std::size_t HeaderSize = 3;   // count (2 bytes, little endian) and kind

std::size_t CountAt(const std::uint8_t* p) {
    return static_cast<std::size_t>(p[0]) | static_cast<std::size_t>(p[1]) << 8;
}

bool KnownKind(std::uint8_t kind) {
    return kind >= static_cast<std::uint8_t>(TacItemKind::Home) && kind <= static_cast<std::uint8_t>(TacItemKind::Entry);
}

// Offsets of every item of a well-formed list, in order.
std::vector<std::size_t> Offsets(const TItemIDList& pidl) {
    std::vector<std::size_t> offsets;
    const std::uint8_t* data = pidl.Data();
    for (std::size_t at = 0; CountAt(data + at) != 0; at += CountAt(data + at))
        offsets.push_back(at);
    return offsets;
}

}

// Changes the bytes of a list in place while keeping them well formed.
class TItemIDListEditor {
public:
    static std::vector<std::uint8_t>& Bytes(TItemIDList& pidl) { return pidl.FBytes; }
};

TItemIDList::TItemIDList()
    : FBytes{0, 0} { }

std::optional<TItemIDList> TItemIDList::FromBytes(std::span<const std::uint8_t> bytes) {
    std::size_t at = 0;
    for (;;) {
        if (bytes.size() - at < 2) return std::nullopt;   // no room for a count
        std::size_t count = CountAt(bytes.data() + at);
        if (count == 0) break;
        if (count < HeaderSize || count > bytes.size() - at || !KnownKind(bytes[at + 2])) return std::nullopt;
        at += count;
    }
    TItemIDList pidl;
    pidl.FBytes.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(at + 2));
    return pidl;
}

TItemIDList TItemIDList::Item(TacItemKind kind, std::string_view name) {
    // Names are file names and mount folders, far below the limit; a longer one would break the list.
    KORVEX_ASSERT(name.size() <= 0xFFFF - HeaderSize);
    name = name.substr(0, std::min<std::size_t>(name.size(), 0xFFFF - HeaderSize));
    std::size_t count = HeaderSize + name.size();
    TItemIDList pidl;
    pidl.FBytes.assign(count + 2, 0);   // the item, then the terminator
    pidl.FBytes[0] = static_cast<std::uint8_t>(count & 0xFF);
    pidl.FBytes[1] = static_cast<std::uint8_t>(count >> 8);
    pidl.FBytes[2] = static_cast<std::uint8_t>(kind);
    std::copy(name.begin(), name.end(), pidl.FBytes.begin() + HeaderSize);
    return pidl;
}

std::vector<TItemIDView> ItemsOf(const TItemIDList& pidl) {
    std::vector<TItemIDView> items;
    const std::uint8_t* data = pidl.Data();
    for (std::size_t at : Offsets(pidl)) {
        std::size_t count = CountAt(data + at);
        items.push_back({static_cast<TacItemKind>(data[at + 2]),
            std::string(reinterpret_cast<const char*>(data + at + HeaderSize), count - HeaderSize)});
    }
    return items;
}

const std::uint8_t* NextPIDL(const std::uint8_t* item) {
    return item + CountAt(item);
}

std::size_t GetPIDLSize(const TItemIDList* pidl) {
    return pidl ? pidl->Size() : 0;
}

int GetPIDLCount(const TItemIDList& pidl) {
    return static_cast<int>(Offsets(pidl).size());
}

TItemIDList CopyPIDL(const TItemIDList& pidl) {
    return pidl;
}

TItemIDList ConcatPIDLs(const TItemIDList* first, const TItemIDList& second) {
    if (!first) return second;
    TItemIDList result = *first;
    std::vector<std::uint8_t>& bytes = TItemIDListEditor::Bytes(result);
    bytes.resize(bytes.size() - 2);   // the first's terminator goes
    bytes.insert(bytes.end(), second.Data(), second.Data() + second.Size());
    return result;
}

bool StripLastID(TItemIDList& pidl) {
    std::vector<std::size_t> offsets = Offsets(pidl);
    if (offsets.empty()) return false;
    std::vector<std::uint8_t>& bytes = TItemIDListEditor::Bytes(pidl);
    bytes.resize(offsets.back());
    bytes.push_back(0);
    bytes.push_back(0);
    return true;
}

TItemIDList CopyLastID(const TItemIDList& pidl) {
    std::vector<std::size_t> offsets = Offsets(pidl);
    if (offsets.empty()) return {};
    auto last = std::span<const std::uint8_t>(pidl.Data(), pidl.Size()).subspan(offsets.back());
    std::optional<TItemIDList> item = TItemIDList::FromBytes(last);
    KORVEX_ASSERT(item.has_value());
    return *item;
}

std::vector<TItemIDList> CreatePIDLList(const TItemIDList& pidl) {
    std::vector<TItemIDList> list;
    TItemIDList ancestor = pidl;
    while (StripLastID(ancestor))
        list.insert(list.begin(), ancestor);
    return list;
}

bool SamePIDL(const TItemIDList& a, const TItemIDList& b) {
    return a == b;
}

}
