// The work-unit history file: loading its list, appending units, setting a unit's speed.
#include "app/WorkUnitHistory.h"

#include "platform/base/DateTime.h"
#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"
#include "platform/os/LineLoader.h"
#include "platform/os/Paths.h"
#include "platform/os/ProgramFolder.h"
#include "platform/os/TextFiles.h"

#include <cerrno>

namespace korvex::app {

namespace {

constexpr int FragmentStart = 3;   // the date-time text's second character, after the "["
constexpr int FragmentLength = 4;

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    if (!os::TryLoadLines(path, lines)) lines.clear();
    return lines;
}

// The run-clone-gen between a line's first "*" and its first "#".
std::string RcgOf(const std::string& line) {
    int star = base::Pos("*", line);
    return base::Copy(line, star + 1, base::Pos("#", line) - star - 1);
}

}

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool IsEscape(const std::string& text, std::size_t at) {
    return text[at] == '%' && at + 2 < text.size() && HexValue(text[at + 1]) >= 0 && HexValue(text[at + 2]) >= 0;
}

const char* MarksAfter(THistoryField field) {
    switch (field) {
    case THistoryField::Name:
        return "*#=@";
    case THistoryField::RunCloneGen:
        return "#=@";
    case THistoryField::Node:
        return "@";
    }
    return "";
}

}

std::string EncodeHistoryField(const std::string& text, THistoryField field) {
    static const char digits[] = "0123456789ABCDEF";
    const std::string_view marks = MarksAfter(field);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n' || marks.find(c) != std::string_view::npos || IsEscape(text, i)) {
            const auto byte = static_cast<unsigned char>(c);
            out += '%';
            out += digits[byte >> 4];
            out += digits[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::string DecodeHistoryField(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsEscape(text, i)) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

THistoryEntry ParseHistoryLine(const std::string& line) {
    THistoryEntry entry;
    entry.DateFragment = base::Copy(line, FragmentStart, FragmentLength);
    if (!line.empty() && line[0] == '[') entry.Date = line.substr(1, line.find_first_of(" ]", 1) - 1);
    int nameStart = base::Pos("]", line) + 2;
    entry.Name = DecodeHistoryField(base::Copy(line, nameStart, base::Pos("*", line) - nameStart));
    entry.RCG = DecodeHistoryField(RcgOf(line));
    return entry;
}

TWorkUnitHistory::TWorkUnitHistory(std::string folder)
    : FFolder(std::move(folder)) {
}

std::string TWorkUnitHistory::Folder() const {
    return FFolder.empty() ? os::ProgramFolder() : FFolder;
}

std::string TWorkUnitHistory::FilePath() const {
    return Folder() + "/" + HistoryFileName;
}

std::string TWorkUnitHistory::TempPath() const {
    return Folder() + "/" + HistoryTempName;
}

void TWorkUnitHistory::Load() {
    std::vector<std::string> lines = ReadLines(FilePath());
    std::vector<THistoryEntry> entries;
    entries.reserve(lines.size());
    for (const std::string& line : lines)
        entries.push_back(ParseHistoryLine(line));
    std::lock_guard<std::mutex> guard(FLock);
    FEntries = std::move(entries);
}

std::vector<THistoryEntry> TWorkUnitHistory::Entries() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FEntries;
}

int TWorkUnitHistory::Count() const {
    std::lock_guard<std::mutex> guard(FLock);
    return static_cast<int>(FEntries.size());
}

bool TWorkUnitHistory::IsKnown(const std::string& name, const std::string& rcg) const {
    std::lock_guard<std::mutex> guard(FLock);
    return IsKnownLocked(name, rcg);
}

bool TWorkUnitHistory::IsKnownLocked(const std::string& name, const std::string& rcg) const {
    if (name.empty() || rcg.empty()) return false;
    for (const THistoryEntry& entry : FEntries)
        if (entry.Name == name && entry.RCG == rcg) return true;
    return false;
}

bool TWorkUnitHistory::SaveWU(const std::string& name, const std::string& rcg, int points, const std::string& node) {
    if (name.empty() || rcg.empty()) return false;
    std::lock_guard<std::mutex> guard(FLock);
    if (IsKnownLocked(name, rcg)) return false;
    const std::string line = "[" + base::DateTimeToStr(base::Now()) + "] "
        + EncodeHistoryField(name, THistoryField::Name) + "*" + EncodeHistoryField(rcg, THistoryField::RunCloneGen)
        + "#" + base::IntToStr(points) + "=" + EncodeHistoryField(node, THistoryField::Node);
    // The file is rewritten whole through the temporary file rather than appended to: a process killed
    // inside an append can leave part of the line (the kernel stops a write at a page boundary).
    const std::string path = os::NativePath(FilePath());
    std::string content;
    if (!os::ReadWholeFile(path, content) && errno != ENOENT) return false;
    content += line;
    content += os::LineBreak;
    if (!os::RewriteFileAtomicallyVia(path, content, os::ExtractFilePath(path) + HistoryTempName)) return false;
    FEntries.push_back(ParseHistoryLine(line));   // what the next load will read
    return true;
}

bool TWorkUnitHistory::ReSaveWU(const std::string& name, const std::string& rcg, double speed) {
    if (rcg.empty()) return false;
    std::lock_guard<std::mutex> guard(FLock);
    const std::string path = os::NativePath(FilePath());
    std::vector<std::string> lines = ReadLines(path);
    // Compared as written in the file.
    const std::string writtenName = EncodeHistoryField(name, THistoryField::Name);
    const std::string writtenRcg = EncodeHistoryField(rcg, THistoryField::RunCloneGen);
    std::ptrdiff_t found = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        std::string project = base::Copy(line, base::Pos("]", line) + 2, 5);
        if (!project.empty() && base::Pos(project, writtenName) > 0 && RcgOf(line) == writtenRcg)
            found = static_cast<std::ptrdiff_t>(i);
    }
    if (found < 0) return false;

    std::string& line = lines[static_cast<std::size_t>(found)];
    if (int at = base::Pos("@", line)) line.resize(static_cast<std::size_t>(at - 1));
    line += "@";
    line += base::FormatFloat("##0.00;;0", speed);
    std::string content;
    for (const std::string& l : lines)
        content += l + os::LineBreak;
    return os::RewriteFileAtomicallyVia(path, content, os::ExtractFilePath(path) + HistoryTempName);
}

}
