// The sections of a skin's "Options.dat" read once per load, with parent chains resolved for inherited reads.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace korvex::classes {
class TMemIniFile;
}

namespace korvex::skin {

// Sections are numbered in file order, each name once (the first section of a name, as the INI reads it).
// Names are case-folded once, here; the inherited reads then cost a look-up per key, not per parent: what a
// section inherits is worked out once per key and kept for its whole chain.
class TsSkinIniIndex {
public:
    struct TKey {
        std::string Name;   // as written
        std::string Value;   // the value of the first key of this name in the section, as the INI reads it
    };

    explicit TsSkinIniIndex(const classes::TMemIniFile& ini);

    int Count() const { return static_cast<int>(FSections.size()); }
    int IndexOf(const std::string& section) const;   // without case; -1 when missing
    const std::string& Name(int section) const;
    const std::vector<TKey>& Keys(int section) const;   // every key line in file order
    // The section's own value; nullptr when it has no such key.
    const std::string* Value(int section, const std::string& key) const;
    // The section PARENTCLASS names, -1 for none, a missing one or itself.
    int Parent(int section) const;

    // Inherited reads: the first section along the parent chain that holds the key (a text other than "?",
    // or an integer other than -1) gives the value; a chain that comes back to a section already visited
    // ends there; def when none does (or for section -1).
    std::string InheritedString(int section, const std::string& key, const std::string& def) const;
    int InheritedInteger(int section, const std::string& key, int def) const;

private:
    struct TSection {
        std::string Name;
        std::vector<TKey> Keys;
        std::unordered_map<std::string, std::size_t> KeyIndex;   // folded name -> first key
        int Parent = -1;
    };
    enum class TKind { Text, Integer };
    // The section that gives an inherited read its value, -1 for none.
    int Provider(int section, const std::string& key, TKind kind) const;
    bool Holds(int section, const std::string& key, TKind kind) const;

    std::vector<TSection> FSections;
    std::unordered_map<std::string, int> FIndex;   // folded name -> section
    // Per kind and folded key: each section's provider once worked out (Unknown before).
    mutable std::unordered_map<std::string, std::vector<int>> FProviders;
    mutable std::vector<unsigned> FVisited;   // walk stamps for finding loops
    mutable unsigned FWalk = 0;
};

}
