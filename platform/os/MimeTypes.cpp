// MIME types of files from their names, through the shared MIME database's glob file.
#include "platform/os/MimeTypes.h"

#include "platform/base/Strings.h"
#include "platform/os/TextFiles.h"

#include <cstdlib>
#include <fnmatch.h>
#include <sstream>

namespace korvex::os {

namespace {

// The system's globs2 holds a few thousand rules in tens of kB.
constexpr std::int64_t MaxGlobsFileSize = std::int64_t(16) << 20;

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    return parts;
}

}

void TMimeGlobs::Parse(std::string_view text) {
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields = Split(line, ':');
        if (fields.size() < 3 || fields[1].empty() || fields[2].empty()) continue;
        Rule rule;
        char* end = nullptr;
        long weight = std::strtol(fields[0].c_str(), &end, 10);
        if (end == fields[0].c_str() || *end != '\0' || weight < 0 || weight > 100) continue;
        rule.Weight = static_cast<int>(weight);
        rule.Type = fields[1];
        rule.CaseSensitive = fields.size() > 3 && fields[3].find("cs") != std::string::npos;
        rule.Pattern = rule.CaseSensitive ? fields[2] : base::LowerCase(fields[2]);
        rule.Literal = rule.Pattern.find_first_of("*?[") == std::string::npos;
        ++FCount;
        bool simpleSuffix = !rule.CaseSensitive && rule.Pattern.size() > 2 && rule.Pattern.rfind("*.", 0) == 0
            && rule.Pattern.find_first_of("*?[", 1) == std::string::npos;
        if (simpleSuffix)
            FSuffixes[rule.Pattern.substr(1)].push_back(std::move(rule));
        else
            FRules.push_back(std::move(rule));
    }
}

bool TMimeGlobs::LoadFile(const std::string& path) {
    std::string text;
    if (!ReadWholeFile(path, text, MaxGlobsFileSize)) return false;
    Parse(text);
    return true;
}

std::string TMimeGlobs::Match(const std::string& fileName) const {
    std::string lower = base::LowerCase(fileName);
    const Rule* best = nullptr;
    auto consider = [&](const Rule& rule) {
        if (!best || (rule.Literal && !best->Literal)
            || (rule.Literal == best->Literal
                && (rule.Weight > best->Weight
                    || (rule.Weight == best->Weight && rule.Pattern.size() > best->Pattern.size()))))
            best = &rule;
    };
    for (const Rule& rule : FRules) {
        const std::string& name = rule.CaseSensitive ? fileName : lower;
        if (rule.Literal ? name == rule.Pattern : ::fnmatch(rule.Pattern.c_str(), name.c_str(), 0) == 0)
            consider(rule);
    }
    if (best && best->Literal) return best->Type;
    for (std::size_t dot = lower.find('.'); dot != std::string::npos; dot = lower.find('.', dot + 1)) {
        auto it = FSuffixes.find(lower.substr(dot));
        if (it == FSuffixes.end()) continue;
        for (const Rule& rule : it->second)
            consider(rule);
    }
    return best ? best->Type : std::string();
}

const TMimeGlobs& SystemMimeGlobs() {
    static const TMimeGlobs globs = [] {
        TMimeGlobs loaded;
        std::string home;
        if (const char* dataHome = std::getenv("XDG_DATA_HOME"); dataHome && *dataHome)
            home = dataHome;
        else if (const char* userHome = std::getenv("HOME"); userHome && *userHome)
            home = std::string(userHome) + "/.local/share";
        if (!home.empty()) loaded.LoadFile(home + "/mime/globs2");
        const char* dirs = std::getenv("XDG_DATA_DIRS");
        for (const std::string& dir : Split(dirs && *dirs ? dirs : "/usr/local/share:/usr/share", ':'))
            if (!dir.empty()) loaded.LoadFile(dir + "/mime/globs2");
        return loaded;
    }();
    return globs;
}

std::string MimeTypeOf(const std::string& fileName, bool isFolder) {
    if (isFolder) return MimeFolder;
    std::string type = SystemMimeGlobs().Match(fileName);
    return type.empty() ? MimeUnknown : type;
}

}
