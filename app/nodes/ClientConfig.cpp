// client.cfg read and edited line by line.
#include "app/nodes/ClientConfig.h"

#include "app/nodes/NodeFiles.h"
#include "platform/base/Numbers.h"
#include "platform/os/TextFiles.h"

#include <string>
#include <vector>

namespace korvex::app {

namespace {

constexpr std::string_view TypeSection = "[clienttype]";
constexpr std::int64_t MaxConfigSize = std::int64_t(4) << 20;   // a client.cfg is a few hundred bytes

// One line of the file: its content and its terminator ("\r\n", "\n", a CR ending the file, or none).
struct TConfigLine {
    std::string_view Content;
    std::string_view Terminator;
};

std::vector<TConfigLine> SplitLines(std::string_view text) {
    std::vector<TConfigLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t lf = text.find('\n', start);
        std::size_t end = lf == std::string_view::npos ? text.size() : lf;
        std::size_t contentEnd = end;
        if (contentEnd > start && text[contentEnd - 1] == '\r')
            --contentEnd;
        std::size_t next = lf == std::string_view::npos ? text.size() : lf + 1;
        lines.push_back({text.substr(start, contentEnd - start), text.substr(contentEnd, next - contentEnd)});
        start = next;
    }
    return lines;
}

std::string_view Trim(std::string_view s) {
    const char* blanks = " \t\r";
    std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// The key of a "key=value" line ("" when the line has no "=").
std::string_view KeyOf(std::string_view content) {
    std::size_t equals = content.find('=');
    return equals == std::string_view::npos ? std::string_view() : Trim(content.substr(0, equals));
}

std::string_view ValueOf(std::string_view content) {
    return content.substr(content.find('=') + 1);
}

// The terminator new lines get: the first one the file uses, else LF.
std::string_view FileTerminator(const std::vector<TConfigLine>& lines) {
    for (const TConfigLine& line : lines)
        if (line.Terminator == "\r\n" || line.Terminator == "\n") return line.Terminator;
    return "\n";
}

// Ends the text's last line when it is open: a final CR gets its LF, other text the file's terminator.
void EndLine(std::string& text, std::string_view eol) {
    if (text.empty() || text.back() == '\n') return;
    if (text.back() == '\r') text += '\n';
    else text += eol;
}

}

std::string EditClientConfig(std::string_view text, const TClientConfigEdit& edit) {
    const std::vector<TConfigLine> lines = SplitLines(text);
    const std::string_view eol = FileTerminator(lines);
    bool addType = edit.AddMissingType && edit.Type.has_value();
    for (const TConfigLine& line : lines)
        if (KeyOf(line.Content) == "type") addType = false;
    const std::string typeLine = addType ? "type=" + std::to_string(*edit.Type) : std::string();

    std::string result;
    result.reserve(text.size() + 32);
    for (const TConfigLine& line : lines) {
        std::string_view key = KeyOf(line.Content);
        const std::optional<int>* value = key == "machineid" ? &edit.MachineId
            : key == "type"                                  ? &edit.Type
            : key == "memory"                                ? &edit.Memory
                                                             : nullptr;
        if (value && value->has_value()) {
            result.append(line.Content.substr(0, line.Content.find('=') + 1));
            result += std::to_string(**value);
        } else {
            result.append(line.Content);
        }
        result.append(line.Terminator);
        if (addType && Trim(line.Content) == TypeSection) {
            // Right after the section's first header; a header without a line break gets one.
            EndLine(result, eol);
            result += typeLine;
            result += line.Terminator.size() > 1 || line.Terminator == "\n" ? line.Terminator : eol;
            addType = false;
        }
    }
    if (addType) {
        // The section goes at the end in line feeds, with an empty line after it; a final CR becomes its LF.
        if (!result.empty() && result.back() == '\r') result.back() = '\n';
        else if (!result.empty() && result.back() != '\n') result += '\n';
        result += TypeSection;
        result += "\n" + typeLine + "\n\n";
    }
    // A value written: a carriage return that ends the file becomes a line feed.
    if ((edit.MachineId || edit.Type || edit.Memory) && !result.empty() && result.back() == '\r') result.back() = '\n';
    return result;
}

int ClientConfigType(std::string_view text, int current) {
    for (const TConfigLine& line : SplitLines(text)) {
        if (KeyOf(line.Content) != "type") continue;
        int value;
        if (base::TryStrToInt(std::string(Trim(ValueOf(line.Content))), value)) current = value;
    }
    return current;
}

bool EditClientConfigFile(const std::string& path, const TClientConfigEdit& edit) {
    std::string text;
    if (!os::ReadWholeFile(path, text, MaxConfigSize)) return false;
    std::string edited = EditClientConfig(text, edit);
    return edited == text || os::RewriteFileAtomically(path, edited);
}

bool ReClient(int coreType, int machineId, const std::string& file) {
    return EditClientConfigFile(file, {machineId, coreType, CacheClientMemory, false});
}

int ReadClientCoreType(const std::string& nodeFolder, int current) {
    std::string text;
    if (!os::ReadWholeFile(NodeFilePath(nodeFolder, ClientConfigName), text, MaxConfigSize)) return current;
    return ClientConfigType(text, current);
}

bool WriteClientCoreType(const std::string& nodeFolder, int coreType) {
    TClientConfigEdit edit;
    edit.Type = coreType;
    edit.AddMissingType = true;
    return EditClientConfigFile(NodeFilePath(nodeFolder, ClientConfigName), edit);
}

}
