// Item identifier lists: runs of named items, each led by a 16-bit byte count, ended by a zero count.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::skin {

// What an item of the namespace stands for. The byte after an item's count holds it; the name follows.
enum class TacItemKind : std::uint8_t {
    Home = 1,   // below the desktop: the user's home folder (name "")
    Computer = 2,   // below the desktop: the computer (name "")
    Drive = 3,   // below the computer: a mounted file system (name: its folder, "/" first)
    Entry = 4,   // below a folder: a folder entry (name: the file name)
};

// An owned identifier list. Its bytes are always well formed: items of count >= 3 (count, kind, name) that fit,
// then the two zero bytes. The empty list (only the terminator) is the desktop.
class TItemIDList {
public:
    TItemIDList();   // the desktop

    // Checks bytes from outside (a stored list): nothing when a count runs past the end, an item is shorter than
    // its header, a kind is unknown or the terminator is missing. Bytes after the terminator are ignored.
    static std::optional<TItemIDList> FromBytes(std::span<const std::uint8_t> bytes);
    // One item.
    static TItemIDList Item(TacItemKind kind, std::string_view name);

    const std::uint8_t* Data() const { return FBytes.data(); }
    std::size_t Size() const { return FBytes.size(); }   // with the terminator
    bool IsDesktop() const { return FBytes.size() == 2; }

    bool operator==(const TItemIDList& other) const = default;

private:
    friend class TItemIDListEditor;
    std::vector<std::uint8_t> FBytes;
};

// One item of a list, read back.
struct TItemIDView {
    TacItemKind Kind;
    std::string Name;
};

// The items of a list in order.
std::vector<TItemIDView> ItemsOf(const TItemIDList& pidl);

// The item after item (a pointer into a list's bytes); the terminator gives itself back.
const std::uint8_t* NextPIDL(const std::uint8_t* item);
// The byte count of the whole list with its terminator: 2 for the desktop; 0 for no list.
std::size_t GetPIDLSize(const TItemIDList* pidl);
int GetPIDLCount(const TItemIDList& pidl);
TItemIDList CopyPIDL(const TItemIDList& pidl);
// first followed by second's items; no first gives a copy of second.
TItemIDList ConcatPIDLs(const TItemIDList* first, const TItemIDList& second);
// Drops the last item (the desktop stays the desktop); false when there was none.
bool StripLastID(TItemIDList& pidl);
// The last item alone (the desktop for the desktop).
TItemIDList CopyLastID(const TItemIDList& pidl);
// Every ancestor of pidl: the desktop first, then one item more each time, ending with the parent.
std::vector<TItemIDList> CreatePIDLList(const TItemIDList& pidl);
// Whether two lists name the same item.
bool SamePIDL(const TItemIDList& a, const TItemIDList& b);

}
