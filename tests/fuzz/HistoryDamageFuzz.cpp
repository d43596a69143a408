// Fuzz target: a damaged work-unit history (blank lines, a cut last line, binary bytes, huge lines) loaded by
// the history and by the history window, then a unit added and its speed set, each by a rewrite. The input is
// the file's text, then after "\n@@damage\n" one damage a line, applied in order to the end of the file
// ("blank N", "binary N", "huge N", "cut N", "repeat N"), so a small input makes a large file.
#include "app/views/HistoryTable.h"
#include "app/nodes/WorkUnitHistory.h"

#include "support/FuzzSupport.h"

#include <algorithm>
#include <charconv>
#include <sys/stat.h>

using namespace korvex;

namespace {

constexpr std::size_t MaxFile = std::size_t(8) << 20;

std::size_t Count(std::string_view text) {
    std::size_t n = 0;
    std::from_chars(text.data(), text.data() + text.size(), n);
    return std::min(n, MaxFile);
}

std::string Damaged(std::string_view base, std::string_view damage) {
    std::string file(base);
    for (std::string_view line : fuzz::SplitAt(damage, "\n")) {
        const std::size_t blank = line.find(' ');
        const std::string_view what = line.substr(0, blank);
        const std::size_t n = blank == std::string_view::npos ? 1 : Count(line.substr(blank + 1));
        const std::size_t room = MaxFile - std::min(MaxFile, file.size());
        static const char* const breaks[] = {"\r\n", "\n", "\r", " \t\r\n"};
        if (what == "blank") {
            for (std::size_t i = 0; i < n && file.size() + 4 <= MaxFile; ++i)
                file += breaks[i % 4];
        } else if (what == "binary") {
            for (std::size_t i = 0; i < std::min(n, room); ++i)
                file += char((i * 131 + n) % 256);
        } else if (what == "huge") {   // one line of the file's first bytes repeated
            const std::string_view seed = base.empty() ? std::string_view("]x*1#2=n") : base.substr(0, 64);
            for (std::size_t i = 0; i < std::min(n, room); ++i) {
                const char c = seed[i % seed.size()];
                file += c == '\r' || c == '\n' ? ' ' : c;
            }
            if (file.size() + 2 <= MaxFile) file += "\r\n";
        } else if (what == "cut") {
            file.resize(file.size() - std::min(n, file.size()));
        } else if (what == "repeat") {
            const std::string once = file;
            for (std::size_t i = 1; i < n && file.size() + once.size() <= MaxFile; ++i)
                file += once;
        }
    }
    return file;
}

// The file's lines as the readers must see them: CR LF, LF or CR end one; a blank one is a record too.
std::vector<std::string_view> Records(std::string_view file) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < file.size()) {
        std::size_t end = file.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = file.size();
        const std::string_view line = file.substr(start, end - start);
        lines.push_back(line);
        start = end + 1;
        if (end < file.size() && file[end] == '\r' && start < file.size() && file[start] == '\n') ++start;
    }
    return lines;
}

ino_t Inode(const std::string& path) {
    struct stat st { };
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzz::SplitAt(fuzz::AsText(data, size), "\n@@damage\n");
    const std::string file = Damaged(parts[0], parts.size() > 1 ? parts[1] : std::string_view());
    fuzz::TScratchFolder folder;
    const std::string path = folder / app::HistoryFileName;
    fuzz::WriteBytes(path, file);
    const std::vector<std::string_view> records = Records(file);

    app::TWorkUnitHistory history(folder.Path());
    history.Load();
    if (std::size_t(history.Count()) != records.size()) fuzz::Fail("the history counts other lines than the records");
    const std::vector<app::THistoryRow> rows = app::ReadHistory(path);
    if (rows.size() != records.size()) fuzz::Fail("the window shows other rows than the records");
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i][app::hcIndex] != std::to_string(i + 1)) fuzz::Fail("a row is numbered out of order");

    // Nothing changed: nothing is written.
    if (history.Dirty() || !history.Flush() || fuzz::ReadBytes(path) != file)
        fuzz::Fail("a history without changes was written");

    const std::string name = "p9999_fuzz unit", rcg = "9-8-7654321";
    if (history.IsKnown(name, rcg)) return 0;
    if (!history.SaveWU(name, rcg, 120, "node") || !history.Flush()) fuzz::Fail("a new unit was not written");
    const std::string written = fuzz::ReadBytes(path);
    // Every record kept in order, each ended with CR LF, and the new one on a line of its own at the end.
    std::string expected;
    for (std::string_view record : records) {
        expected += record;
        expected += "\r\n";
    }
    if (written.compare(0, expected.size(), expected) != 0) fuzz::Fail("a write changed or lost a record");
    const std::string_view added = std::string_view(written).substr(std::min(expected.size(), written.size()));
    if (added.empty() || added.front() != '[' || added.find('\n') != added.size() - 1
        || added.substr(added.size() - 2) != "\r\n")
        fuzz::Fail("the new unit does not stand on a line of its own at the end");

    app::TWorkUnitHistory reloaded(folder.Path());
    reloaded.Load();
    if (std::size_t(reloaded.Count()) != records.size() + 1) fuzz::Fail("a recorded unit reads back as other lines");
    if (!reloaded.IsKnown(name, rcg)) fuzz::Fail("a recorded unit is not known after a reload");

    // A speed: one more write, the same lines; the same speed again writes nothing.
    if (!reloaded.ReSaveWU(name, rcg, 1.5) || !reloaded.Flush()) fuzz::Fail("a speed was not written");
    const std::string withSpeed = fuzz::ReadBytes(path);
    if (withSpeed.size() < 8 || withSpeed.compare(withSpeed.size() - 7, 7, "@1.50\r\n") != 0)
        fuzz::Fail("the speed is not on the unit's line");
    if (Records(withSpeed).size() != records.size() + 1) fuzz::Fail("a speed changed the number of lines");
    const ino_t inode = Inode(path);
    if (!reloaded.ReSaveWU(name, rcg, 1.5) || reloaded.Dirty() || !reloaded.Flush() || Inode(path) != inode)
        fuzz::Fail("an unchanged speed was written again");
    return 0;
}
