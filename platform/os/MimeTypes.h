// MIME types of files from their names, through the shared MIME database's glob file (globs2).
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace korvex::os {

// The rules of one or more globs2 files: "weight:type:pattern[:flags]" lines. Matching follows the shared MIME
// database: literal names first, then the highest weight, then the longest pattern; patterns ignore case
// unless flagged "cs".
class TMimeGlobs {
public:
    void Parse(std::string_view text);   // adds the rules of one file; malformed lines are skipped
    bool LoadFile(const std::string& path);   // false, adding nothing, for no regular file or one over 16 MB
    int Count() const { return FCount; }

    // The type of a file name, "" when no rule matches.
    std::string Match(const std::string& fileName) const;

private:
    struct Rule {
        int Weight = 50;
        std::string Type;
        std::string Pattern;   // lower case unless CaseSensitive
        bool CaseSensitive = false;
        bool Literal = false;   // no wildcard in it
    };
    // "*.ext" rules ignoring case sit in FSuffixes by their lower-case ".ext", so a name costs a few look-ups
    // rather than a pass over every rule; the others stay in FRules.
    std::vector<Rule> FRules;
    std::unordered_map<std::string, std::vector<Rule>> FSuffixes;
    int FCount = 0;
};

// The system's rules: $XDG_DATA_HOME/mime/globs2 and each $XDG_DATA_DIRS folder's (default /usr/local/share
// and /usr/share), loaded once.
const TMimeGlobs& SystemMimeGlobs();

inline constexpr const char* MimeFolder = "inode/directory";
inline constexpr const char* MimeUnknown = "application/octet-stream";

// The type of a folder entry for the shell's type column: folders are MimeFolder, files without a rule
// MimeUnknown.
std::string MimeTypeOf(const std::string& fileName, bool isFolder);

}
