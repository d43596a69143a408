// The file names of a text/uri-list.
#include "platform/user/display/UriList.h"

#include <cctype>
#include <optional>

namespace korvex::user {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Percent-decoded; nothing for a broken escape or a zero byte, raw or escaped (it would end the name early).
std::optional<std::string> PercentDecoded(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\0') return std::nullopt;
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        const char c = char(high * 16 + low);
        if (c == '\0') return std::nullopt;
        out += c;
        i += 2;
    }
    return out;
}

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::optional<std::string> FileOfUri(const std::string& uri, const std::string& hostName) {
    static const std::string scheme = "file:";
    if (uri.size() <= scheme.size() || !SameText(uri.substr(0, scheme.size()), scheme)) return std::nullopt;
    std::string rest = uri.substr(scheme.size());
    if (rest.rfind("//", 0) == 0) {
        const std::size_t slash = rest.find('/', 2);
        if (slash == std::string::npos) return std::nullopt;
        const std::string host = rest.substr(2, slash - 2);
        if (!host.empty() && !SameText(host, "localhost") && (hostName.empty() || !SameText(host, hostName)))
            return std::nullopt;
        rest = rest.substr(slash);
    }
    if (rest.empty() || rest[0] != '/') return std::nullopt;
    // A query or fragment is no part of a file name.
    if (const std::size_t end = rest.find_first_of("?#"); end != std::string::npos) rest.resize(end);
    return PercentDecoded(rest);
}

}   // namespace

std::vector<std::string> FilesFromUriList(const std::string& list, const std::string& hostName) {
    std::vector<std::string> files;
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find('\n', start);
        if (end == std::string::npos) end = list.size();
        std::string line = list.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (std::optional<std::string> file = FileOfUri(line, hostName)) files.push_back(std::move(*file));
    }
    return files;
}

}
