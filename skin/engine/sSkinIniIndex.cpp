// The sections of a skin's "Options.dat" read once per load, with parent chains resolved for inherited reads.
#include "skin/engine/sSkinIniIndex.h"

#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"
#include "platform/classes/TMemIniFile.h"
#include "platform/classes/TStringList.h"

namespace korvex::skin {

namespace {

constexpr int Unknown = -2;

// The INI's own rule for names: equal without case as AnsiSameText has it.
std::string Folded(const std::string& name) {
    return base::AnsiUpperCase(name);
}

}

TsSkinIniIndex::TsSkinIniIndex(const classes::TMemIniFile& ini) {
    classes::TStringList names;
    ini.ReadSections(names);
    FSections.resize(static_cast<std::size_t>(names.Count()));
    for (int i = 0; i < names.Count(); ++i) {
        TSection& section = FSections[static_cast<std::size_t>(i)];
        section.Name = names.Strings(i);
        FIndex.emplace(Folded(section.Name), i);
        classes::TStringList lines;
        ini.ReadSectionValues(section.Name, lines);
        section.Keys.reserve(static_cast<std::size_t>(lines.Count()));
        for (int k = 0; k < lines.Count(); ++k) {
            const std::string line = lines.Strings(k);
            const std::size_t p = line.find('=');
            std::string key = line.substr(0, p);
            auto [at, added] = section.KeyIndex.emplace(Folded(key), section.Keys.size());
            section.Keys.push_back({std::move(key), added ? line.substr(p + 1) : section.Keys[at->second].Value});
        }
    }
    for (std::size_t i = 0; i < FSections.size(); ++i) {
        const std::string* parent = Value(static_cast<int>(i), "PARENTCLASS");
        if (parent == nullptr || parent->empty() || *parent == "?") continue;
        const int p = IndexOf(*parent);
        FSections[i].Parent = p == static_cast<int>(i) ? -1 : p;
    }
    FVisited.assign(FSections.size(), 0);
}

int TsSkinIniIndex::IndexOf(const std::string& section) const {
    auto it = FIndex.find(Folded(section));
    return it == FIndex.end() ? -1 : it->second;
}

const std::string& TsSkinIniIndex::Name(int section) const {
    return FSections.at(static_cast<std::size_t>(section)).Name;
}

const std::vector<TsSkinIniIndex::TKey>& TsSkinIniIndex::Keys(int section) const {
    return FSections.at(static_cast<std::size_t>(section)).Keys;
}

const std::string* TsSkinIniIndex::Value(int section, const std::string& key) const {
    if (section < 0 || section >= Count()) return nullptr;
    const TSection& s = FSections[static_cast<std::size_t>(section)];
    auto it = s.KeyIndex.find(Folded(key));
    return it == s.KeyIndex.end() ? nullptr : &s.Keys[it->second].Value;
}

int TsSkinIniIndex::Parent(int section) const {
    return section < 0 || section >= Count() ? -1 : FSections[static_cast<std::size_t>(section)].Parent;
}

bool TsSkinIniIndex::Holds(int section, const std::string& key, TKind kind) const {
    const std::string* value = Value(section, key);
    if (value == nullptr) return false;
    return kind == TKind::Text ? *value != "?" : base::StrToIntDef(*value, -1) != -1;
}

int TsSkinIniIndex::Provider(int section, const std::string& key, TKind kind) const {
    if (section < 0 || section >= Count()) return -1;
    std::vector<int>& providers = FProviders[(kind == TKind::Text ? "T" : "I") + Folded(key)];
    if (providers.empty()) providers.assign(FSections.size(), Unknown);
    // Up the chain to a section that holds the key, one already worked out, or one seen on this walk; every
    // section passed gets the same answer.
    ++FWalk;
    std::vector<int> passed;
    int result = -1;
    for (int s = section; s >= 0; s = FSections[static_cast<std::size_t>(s)].Parent) {
        const auto at = static_cast<std::size_t>(s);
        if (providers[at] != Unknown) {
            result = providers[at];
            break;
        }
        if (FVisited[at] == FWalk) break;   // the chain loops without the key
        if (Holds(s, key, kind)) {
            result = s;
            break;
        }
        FVisited[at] = FWalk;
        passed.push_back(s);
    }
    for (int s : passed)
        providers[static_cast<std::size_t>(s)] = result;
    if (result >= 0) providers[static_cast<std::size_t>(result)] = result;
    return result;
}

std::string TsSkinIniIndex::InheritedString(int section, const std::string& key, const std::string& def) const {
    const int from = Provider(section, key, TKind::Text);
    return from < 0 ? def : *Value(from, key);
}

int TsSkinIniIndex::InheritedInteger(int section, const std::string& key, int def) const {
    const int from = Provider(section, key, TKind::Integer);
    return from < 0 ? def : base::StrToIntDef(*Value(from, key), -1);
}

}
