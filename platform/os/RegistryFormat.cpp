// The settings file's text: an exported-registry style listing of keys and typed values, UTF-8.
#include "platform/os/RegistryFormat.h"

#include <cstdio>
#include <optional>

namespace korvex::os {

namespace {

constexpr std::string_view FileHeader = "; KORVEX settings";

// ---- Writing ----------------------------------------------------------------------------------------------

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20 || u == 0x7F) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02x", u);
                out += hex;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void AppendHexList(std::string& out, std::string_view bytes) {
    char hex[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(bytes[i]));
        if (i > 0) out += ',';
        out += hex;
    }
}

void AppendValue(std::string& out, const RegValueEntry& entry) {
    if (entry.Name.empty())
        out += '@';
    else
        AppendQuoted(out, entry.Name);
    out += '=';
    const TRegValue& v = entry.Value;
    char text[32];
    if (v.Type == REG_SZ) {
        AppendQuoted(out, v.Data);
    } else if (v.Type == REG_DWORD && v.Data.size() == 4) {
        std::snprintf(text, sizeof text, "dword:%08x", DwordOf(v));
        out += text;
    } else if (v.Type == REG_BINARY) {
        out += "hex:";
        AppendHexList(out, v.Data);
    } else {
        std::snprintf(text, sizeof text, "hex(%x):", v.Type);
        out += text;
        AppendHexList(out, v.Data);
    }
    out += '\n';
}

// Every key with something to write, depth first in name order, each under a header with its full path.
// A key is written when it is real or holds real values; a root only for its values.
void AppendKeys(std::string& out, const RegKey& root, std::string_view rootName) {
    struct Step {
        const RegKey* Key;
        std::size_t PathLength;   // of the parent's path; the key's name follows it
    };
    std::string path;
    std::vector<Step> pending {{&root, 0}};
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        const RegKey& key = *step.Key;
        const bool isRoot = step.Key == &root;
        path.resize(step.PathLength);
        if (isRoot) {
            path = rootName;
        } else {
            path += '\\';
            path += key.Name;
        }
        bool hasRealValues = false;
        for (const RegValueEntry& entry : key.Values)
            hasRealValues = hasRealValues || !entry.Virtual;
        if ((!isRoot && !key.Virtual) || hasRealValues) {
            out += "\n[";
            out += path;
            out += "]\n";
            for (const RegValueEntry& entry : key.Values)
                if (!entry.Virtual) AppendValue(out, entry);
        }
        // Pushed in reverse so the first sub-key comes out first; keys without real content write nothing.
        for (auto it = key.SubKeys.rbegin(); it != key.SubKeys.rend(); ++it)
            pending.push_back({it->second.get(), path.size()});
    }
}

// ---- Reading ----------------------------------------------------------------------------------------------

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Reads a quoted text at the start of `s`; `s` moves past the closing quote.
std::optional<std::string> ReadQuoted(std::string_view& s) {
    if (s.empty() || s[0] != '"') return std::nullopt;
    std::string out;
    size_t i = 1;
    while (i < s.size()) {
        char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return out;
        }
        if (c != '\\') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 >= s.size()) return std::nullopt;
        char e = s[i + 1];
        i += 2;
        switch (e) {
        case '\\':
            out += '\\';
            break;
        case '"':
            out += '"';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'x': {
            int hi = i < s.size() ? HexDigit(s[i]) : -1;
            int lo = i + 1 < s.size() ? HexDigit(s[i + 1]) : -1;
            if (hi < 0 || lo < 0) return std::nullopt;
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return std::nullopt;   // no closing quote
}

std::optional<std::string> ReadHexList(std::string_view s) {
    std::string out;
    s = Trim(s);
    if (s.empty()) return out;
    size_t i = 0;
    for (;;) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
        int hi = i < s.size() ? HexDigit(s[i]) : -1;
        if (hi < 0) return std::nullopt;
        int value = hi;
        ++i;
        if (i < s.size() && HexDigit(s[i]) >= 0) value = value * 16 + HexDigit(s[i++]);
        out += static_cast<char>(value);
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
        if (i == s.size()) return out;
        if (s[i] != ',') return std::nullopt;
        ++i;
    }
}

std::optional<std::uint32_t> ReadHexNumber(std::string_view s, size_t maxDigits) {
    if (s.empty() || s.size() > maxDigits) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : s) {
        int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(d);
    }
    return value;
}

std::optional<TRegValue> ReadData(std::string_view s) {
    TRegValue value;
    if (!s.empty() && s[0] == '"') {
        std::optional<std::string> text = ReadQuoted(s);
        if (!text || !Trim(s).empty()) return std::nullopt;
        return MakeStringValue(std::move(*text));
    }
    if (s.substr(0, 6) == "dword:") {
        std::optional<std::uint32_t> number = ReadHexNumber(Trim(s.substr(6)), 8);
        if (!number) return std::nullopt;
        return MakeDwordValue(*number);
    }
    if (s.substr(0, 4) == "hex:") {
        value.Type = REG_BINARY;
        s.remove_prefix(4);
    } else if (s.substr(0, 4) == "hex(") {
        size_t close = s.find(')');
        if (close == std::string_view::npos || close + 1 >= s.size() || s[close + 1] != ':') return std::nullopt;
        std::optional<std::uint32_t> type = ReadHexNumber(s.substr(4, close - 4), 8);
        if (!type) return std::nullopt;
        value.Type = *type;
        s.remove_prefix(close + 2);
    } else {
        return std::nullopt;
    }
    std::optional<std::string> bytes = ReadHexList(s);
    if (!bytes) return std::nullopt;
    value.Data = std::move(*bytes);
    return value;
}

// A section header's key; nullptr when the header cannot be read.
RegKey* ReadHeader(std::string_view line, RegTree& tree) {
    if (line.size() < 3 || line.back() != ']' || line[1] == '-') return nullptr;
    std::string_view inner = line.substr(1, line.size() - 2);
    size_t slash = inner.find('\\');
    HKEY root = RootKeyFromName(inner.substr(0, slash));
    if (root == 0) return nullptr;
    std::string_view rest = slash == std::string_view::npos ? std::string_view() : inner.substr(slash + 1);
    if (!rest.empty() && (rest.front() == '\\' || rest.back() == '\\' || rest.find("\\\\") != std::string_view::npos))
        return nullptr;
    bool changed = false;
    return tree.Create(root, SplitKeyPath(rest), changed);
}

bool ReadValueLine(std::string_view line, RegKey& key) {
    std::string name;
    if (line[0] == '@') {
        line.remove_prefix(1);
    } else {
        std::optional<std::string> quoted = ReadQuoted(line);
        if (!quoted) return false;
        name = std::move(*quoted);
    }
    line = Trim(line);
    if (line.empty() || line[0] != '=') return false;
    std::optional<TRegValue> value = ReadData(Trim(line.substr(1)));
    if (!value) return false;
    key.Values.Set(name, std::move(*value));   // a later line of the same name wins
    return true;
}

}

std::string FormatRegistryText(const RegTree& tree) {
    std::string out(FileHeader);
    out += '\n';
    for (const auto& [root, key] : tree.Roots)
        AppendKeys(out, key, RootKeyName(root));
    return out;
}

void ParseRegistryText(std::string_view text, RegTree& tree, std::vector<int>& damagedLines) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    RegKey* current = nullptr;
    int lineNumber = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(pos, end - pos);
        pos = end + 1;
        int firstLine = ++lineNumber;
        std::string joined;   // a hex list continued over several lines
        std::string_view line = Trim(raw);
        bool hexList = line.find("=hex") != std::string_view::npos;
        if (!line.empty() && line.back() == '\\' && hexList && (line[0] == '"' || line[0] == '@')) {
            joined = std::string(line.substr(0, line.size() - 1));
            while (pos < text.size()) {
                end = text.find('\n', pos);
                if (end == std::string_view::npos) end = text.size();
                std::string_view next = Trim(text.substr(pos, end - pos));
                pos = end + 1;
                ++lineNumber;
                bool more = !next.empty() && next.back() == '\\';
                joined += more ? next.substr(0, next.size() - 1) : next;
                if (!more) break;
            }
            line = joined;
        }
        if (line.empty() || line[0] == ';' || line == "REGEDIT4"
            || line.substr(0, 31) == "Windows Registry Editor Version")
            continue;
        bool ok = false;
        if (line[0] == '[') {
            current = ReadHeader(line, tree);
            ok = current != nullptr;
        } else if (line[0] == '"' || line[0] == '@') {
            ok = current && ReadValueLine(line, *current);
        }
        if (!ok) damagedLines.push_back(firstLine);
    }
}

}
