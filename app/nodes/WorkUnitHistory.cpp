// The work-unit history file: streaming it in, recording units and speeds in memory, writing it from there.
#include "app/nodes/WorkUnitHistory.h"

#include "app/settings/ProgramLog.h"
#include "platform/base/DateTime.h"
#include "platform/base/Numbers.h"
#include "platform/base/ScopeGuard.h"
#include "platform/base/Strings.h"
#include "platform/os/Paths.h"
#include "platform/os/ProgramFolder.h"
#include "platform/os/TextFiles.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace korvex::app {

namespace {

constexpr int FragmentStart = 3;   // the date-time text's second character, after the "["
constexpr int FragmentLength = 4;

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

namespace {

bool ReadHistoryLines(int fd, const std::function<void(std::string_view line)>& line) {
    auto emit = [&line](std::string_view text) { line(text); };
    std::vector<char> buffer(std::size_t(1) << 16);
    std::string carry;   // the start of a line the last block did not end
    bool afterCR = false;   // the last block ended with a CR: an LF first in this one belongs to it
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;
        const char* data = buffer.data();
        const std::size_t size = std::size_t(n);
        std::size_t start = afterCR && data[0] == '\n' ? 1 : 0;
        afterCR = false;
        while (start < size) {
            // Not a scan of the rest of the block for each kind of line end at every line: a file of line ends
            // of one kind only would be read in time that grows with the square of the block.
            const std::size_t end = base::FindLineBreak(std::string_view(data, size), start);
            if (end == std::string_view::npos) break;   // no end of line in the rest of the block
            if (carry.empty()) {
                emit(std::string_view(data + start, end - start));
            } else {
                carry.append(data + start, end - start);
                emit(carry);
                carry.clear();
            }
            start = end + 1;
            if (data[end] == '\r') {
                if (start == size)
                    afterCR = true;
                else if (data[start] == '\n')
                    ++start;
            }
        }
        if (start < size) carry.append(data + start, size - start);
    }
    if (!carry.empty()) emit(carry);
    return true;
}

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

bool ForEachHistoryLine(const std::string& path, const std::function<void(std::string_view line)>& line) {
    struct stat st;
    const int fd = os::OpenRegularFileForReading(path, st);
    if (fd < 0) return false;
    base::ScopeExit closing([fd] {
        const int error = errno;
        ::close(fd);
        errno = error;
    });
    return ReadHistoryLines(fd, line);
}

void TWorkUnitHistory::Load() {
    std::lock_guard<std::mutex> guard(FLock);
    LoadLocked();
}

bool TWorkUnitHistory::ReadFileLocked(std::vector<TLine>& lines, std::size_t& blanksAtEnd) {
    blanksAtEnd = 0;
    auto keep = [&lines, &blanksAtEnd](std::string_view text) {
        if (text.empty()) {
            ++blanksAtEnd;   // until a line follows
            return;
        }
        std::string line(text);
        THistoryEntry entry = ParseHistoryLine(line);
        lines.push_back(TLine {std::move(line), std::move(entry), blanksAtEnd});
        blanksAtEnd = 0;
    };
    struct stat st;
    const int fd = os::OpenRegularFileForReading(FilePath(), st);
    if (fd < 0) {
        if (errno != ENOENT) return false;
        FFile.Clear();
        return true;
    }
    // The status taken before the reading: a change made while it reads shows at the next check.
    if (!ReadHistoryLines(fd, keep)) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    FFile.Pin(fd, st);
    return true;
}

bool TWorkUnitHistory::LoadLocked() {
    std::vector<TLine> lines;
    std::size_t blanksAtEnd = 0;
    if (!ReadFileLocked(lines, blanksAtEnd)) {
        FLoaded = false;
        return false;
    }
    TakeLinesLocked(std::move(lines), blanksAtEnd);
    FLoaded = true;
    FPending.clear();   // what the file holds now
    return true;
}

std::vector<THistoryEntry> TWorkUnitHistory::Entries() const {
    std::lock_guard<std::mutex> guard(FLock);
    std::vector<THistoryEntry> entries;
    entries.reserve(FLines.size() + FBlanks);
    for (const TLine& line : FLines) {
        entries.resize(entries.size() + line.BlanksBefore);
        entries.push_back(line.Entry);
    }
    entries.resize(entries.size() + FBlanksAtEnd);
    return entries;
}

void TWorkUnitHistory::ForEachUnit(const std::function<void(const THistoryEntry& entry)>& visit) const {
    std::lock_guard<std::mutex> guard(FLock);
    for (const TLine& line : FLines)
        visit(line.Entry);
}

std::int64_t TWorkUnitHistory::Count() const {
    std::lock_guard<std::mutex> guard(FLock);
    return std::int64_t(FLines.size() + FBlanks);
}

void TWorkUnitHistory::TakeLinesLocked(std::vector<TLine> lines, std::size_t blanksAtEnd) {
    FLines = std::move(lines);
    FBlanksAtEnd = blanksAtEnd;
    FBlanks = blanksAtEnd;
    for (const TLine& line : FLines)
        FBlanks += line.BlanksBefore;
    FIndexed = false;
}

bool TWorkUnitHistory::IsKnown(const std::string& name, const std::string& rcg) const {
    std::lock_guard<std::mutex> guard(FLock);
    return IsKnownLocked(name, rcg);
}

bool TWorkUnitHistory::IsKnownLocked(const std::string& name, const std::string& rcg) const {
    if (name.empty() || rcg.empty()) return false;
    for (const TLine& line : FLines)
        if (line.Entry.Name == name && line.Entry.RCG == rcg) return true;
    return false;
}


// Read again, and the speeds set since the last write applied to what it holds now.
bool TWorkUnitHistory::ReloadLocked() {
    std::vector<TLine> lines;
    std::size_t blanksAtEnd = 0;
    if (!ReadFileLocked(lines, blanksAtEnd)) return false;
    TakeLinesLocked(std::move(lines), blanksAtEnd);
    for (const TChange& change : FPending) {
        if (change.Unit.empty()) {
            SetSpeedLocked(change.Name, change.RCG, change.Speed);
        } else {
            THistoryEntry entry = ParseHistoryLine(change.Unit);
            if (!IsKnownLocked(entry.Name, entry.RCG)) AddLineLocked(TLine {change.Unit, std::move(entry)});
        }
    }
    return true;
}

bool TWorkUnitHistory::SaveWU(const std::string& name, const std::string& rcg, int points, const std::string& node) {
    if (name.empty() || rcg.empty()) return false;
    std::string line;
    std::uint64_t serial = 0;
    {
        std::lock_guard<std::mutex> guard(FLock);
        if (!FLoaded && !LoadLocked()) return false;
        // Known by what the file holds now: a file changed by hand (or by another copy) is read again first.
        if (FFile.ChangedOnDisk(os::NativePath(FilePath()))) ReloadLocked();
        if (IsKnownLocked(name, rcg)) return false;
        line = "[" + base::DateTimeToStr(base::Now()) + "] "
            + EncodeHistoryField(name, THistoryField::Name) + "*" + EncodeHistoryField(rcg, THistoryField::RunCloneGen)
            + "#" + base::IntToStr(points) + "=" + EncodeHistoryField(node, THistoryField::Node);
        THistoryEntry entry = ParseHistoryLine(line);   // what the next load will read
        serial = ++FSerial;
        FPending.push_back(TChange {serial, line, {}, {}, 0});
        AddLineLocked(TLine {line, std::move(entry)});
    }
    // Added at the end of the file at once, by a whole new file renamed over it: a kill inside an appending
    // write would leave half a line.
    if (Flush()) return true;
    // Not written: not listed either, so the next refresh tries again (unless another write took it meanwhile).
    std::lock_guard<std::mutex> guard(FLock);
    if (std::erase_if(FPending, [serial](const TChange& change) { return change.Serial == serial; }) == 0)
        return true;
    for (std::size_t i = FLines.size(); i-- > 0;)
        if (FLines[i].Text == line) {
            EraseLineLocked(i);
            break;
        }
    return false;
}

void TWorkUnitHistory::AddLineLocked(TLine line) {
    if (FIndexed) FLinesByRcg[RcgOf(line.Text)].push_back(FLines.size());
    line.BlanksBefore = FBlanksAtEnd;
    FBlanksAtEnd = 0;
    FLines.push_back(std::move(line));
}

void TWorkUnitHistory::EraseLineLocked(std::size_t index) {
    const std::size_t blanks = FLines[index].BlanksBefore;
    if (index + 1 < FLines.size())
        FLines[index + 1].BlanksBefore += blanks;
    else
        FBlanksAtEnd += blanks;
    FLines.erase(FLines.begin() + std::ptrdiff_t(index));
    FIndexed = false;
}

int TWorkUnitHistory::SetSpeedLocked(const std::string& name, const std::string& rcg, double speed) {
    if (!FIndexed) {
        FLinesByRcg.clear();
        for (std::size_t i = 0; i < FLines.size(); ++i)
            FLinesByRcg[RcgOf(FLines[i].Text)].push_back(i);
        FIndexed = true;
    }
    // Compared as written in the file; the last matching line wins.
    const std::string writtenName = EncodeHistoryField(name, THistoryField::Name);
    const std::string writtenRcg = EncodeHistoryField(rcg, THistoryField::RunCloneGen);
    const auto found = FLinesByRcg.find(writtenRcg);
    if (found == FLinesByRcg.end()) return -1;
    const std::vector<std::size_t>& indexes = found->second;
    for (auto at = indexes.rbegin(); at != indexes.rend(); ++at) {
        std::string& text = FLines[*at].Text;
        const std::string project = base::Copy(text, base::Pos("]", text) + 2, 5);
        if (project.empty() || base::Pos(project, writtenName) == 0) continue;
        std::string line = text;
        if (int cut = base::Pos("@", line)) line.resize(static_cast<std::size_t>(cut - 1));
        line += "@";
        line += base::FormatFloat("##0.00;;0", speed);
        if (line == text) return 0;
        text = std::move(line);
        if (RcgOf(text) != writtenRcg) FIndexed = false;   // an "@" before its "#" cut the line's run-clone-gen
        return 1;
    }
    return -1;
}

bool TWorkUnitHistory::ReSaveWU(const std::string& name, const std::string& rcg, double speed) {
    if (rcg.empty()) return false;
    {
        std::lock_guard<std::mutex> guard(FLock);
        if (!FLoaded && !LoadLocked()) return false;
        const int result = SetSpeedLocked(name, rcg, speed);
        if (result < 0) return false;
        if (result == 0) return true;   // the line shows this speed already
        FPending.push_back(TChange {++FSerial, {}, name, rcg, speed});
    }
    Flush();   // the file rewritten at once; a failure keeps the change for the next write
    return true;
}

bool TWorkUnitHistory::Dirty() const {
    std::lock_guard<std::mutex> guard(FLock);
    return !FPending.empty();
}

void TWorkUnitHistory::Report(const std::string& reason) {
    if (reason == FReported) return;   // said already
    FReported = reason;
    WLog("History: " + FilePath() + " not written: " + reason);
}

bool TWorkUnitHistory::Flush() {
    std::lock_guard<std::mutex> writing(FWriteLock);
    const std::string path = os::NativePath(FilePath());
    for (int attempt = 1;; ++attempt) {
        std::string content;
        std::uint64_t serial = 0;
        {
            std::lock_guard<std::mutex> guard(FLock);
            if (FPending.empty()) return true;
            if (FFile.ChangedOnDisk(path) && !ReloadLocked()) {
                Report("it changed on disk and cannot be read again (" + std::generic_category().message(errno) + ")");
                return false;
            }
            std::size_t size = (FBlanks + FLines.size()) * 2;
            for (const TLine& line : FLines)
                size += line.Text.size();
            content.reserve(size);
            for (const TLine& line : FLines) {
                for (std::size_t blank = 0; blank < line.BlanksBefore; ++blank)
                    content += os::LineBreak;
                content += line.Text;
                content += os::LineBreak;
            }
            for (std::size_t blank = 0; blank < FBlanksAtEnd; ++blank)
                content += os::LineBreak;
            serial = FPending.back().Serial;
        }
        // An edit made while the new file was written is seen at the last moment, and the file read again: only
        // the rename itself is left for one to be lost in.
        os::TReplaceChecks checks;
        checks.SyncFolder = false;   // rewritten at every new speed: the folder is synced by the system later
        checks.BeforeRename = [this, &path] {
            std::lock_guard<std::mutex> guard(FLock);
            return !FFile.ChangedOnDisk(path);
        };
        int written = -1;
        struct stat writtenStatus {};
        checks.Written = [&written, &writtenStatus](int fd, const struct stat& status) {
            written = fd;
            writtenStatus = status;
        };
        if (!os::RewriteFileAtomicallyVia(path, content, os::ExtractFilePath(path) + HistoryTempName, checks)) {
            if (errno == EAGAIN && attempt < MaxWriteAttempts) continue;
            Report(errno == EAGAIN ? std::string("it kept changing on disk while it was written")
                                   : std::generic_category().message(errno));
            return false;
        }
        FReported.clear();
        std::lock_guard<std::mutex> guard(FLock);
        // Changes made meanwhile wait for the next write; a load meanwhile dropped them all.
        std::erase_if(FPending, [serial](const TChange& change) { return change.Serial <= serial; });
        // The file written, by its descriptor and as it was before the rename: what is at the path now may
        // already be another's, and a line another program appended right after the rename is seen next time.
        if (written >= 0)
            FFile.PinReplaced(written, writtenStatus);
        else
            FFile.Clear();   // the next write reads it again
        return true;
    }
}

}
