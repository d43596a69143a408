// Case-insensitive comparison of file and registry names (ASCII letters fold; other bytes compare as they are).
#pragma once

#include <string>
#include <string_view>

namespace korvex::os {

inline char FoldChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldChar(a[i]) != FoldChar(b[i])) return false;
    return true;
}

inline std::string FoldName(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = FoldChar(c);
    return out;
}

// Order of folded names: names that differ only in case are equivalent (one map key).
struct NameLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
        size_t n = a.size() < b.size() ? a.size() : b.size();
        for (size_t i = 0; i < n; ++i) {
            auto ca = static_cast<unsigned char>(FoldChar(a[i]));
            auto cb = static_cast<unsigned char>(FoldChar(b[i]));
            if (ca != cb) return ca < cb;
        }
        return a.size() < b.size();
    }
};

}
