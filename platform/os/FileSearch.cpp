// Folder enumeration with Windows masks: FindFirst/FindNext/FindClose and a one-call FindFiles.
#include "platform/os/FileSearch.h"

#include "platform/os/NameCompare.h"
#include "platform/os/Paths.h"
#include "platform/os/TimeZone.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvex::os {

struct TSearchState {
    std::vector<TSearchRec> Entries;
    size_t Next = 0;
};

namespace {

int AttributesOf(const std::string& name, const struct stat& st) {
    int attr = 0;
    if (S_ISDIR(st.st_mode))
        attr |= faDirectory;
    else if (S_ISREG(st.st_mode))
        attr |= faArchive;
    else
        attr |= faSysFile;
    if (!name.empty() && name[0] == '.') attr |= faHidden;
    if ((st.st_mode & S_IWUSR) == 0) attr |= faReadOnly;
    return attr;
}

}

bool MatchesMask(const std::string& name, const std::string& mask) {
    if (mask == "*" || mask == "*.*") return true;
    // Greedy match with one back-track point: the last '*' seen.
    size_t n = 0, m = 0, starMask = std::string::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || FoldChar(mask[m]) == FoldChar(name[n]))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (starMask != std::string::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

std::vector<TSearchRec> FindFiles(const std::string& pattern, int attr) {
    std::vector<TSearchRec> result;
    std::string mask = ExtractFileName(pattern);
    if (mask.empty()) return result;
    std::string folder = ExtractFilePath(pattern);
    std::string native = NativePath(folder.empty() ? "." : folder);
    int dirFd = ::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return result;
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return result;
    }
    constexpr int special = faHidden | faSysFile | faDirectory;
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == ".." || !MatchesMask(name, mask)) continue;
        struct stat st;
        if (::fstatat(dirFd, name.c_str(), &st, 0) != 0
            && ::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;   // vanished meanwhile
        TSearchRec rec;
        rec.Name = name;
        rec.Attr = AttributesOf(name, st);
        if ((rec.Attr & ~attr & special) != 0) continue;
        rec.Size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::int64_t>(st.st_size);
        rec.Time = UnixToLocalDateTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
        result.push_back(std::move(rec));
    }
    ::closedir(dir);
    std::sort(result.begin(), result.end(), [](const TSearchRec& a, const TSearchRec& b) { return a.Name < b.Name; });
    return result;
}

int FindFirst(const std::string& pattern, int attr, TSearchRec& rec) {
    auto state = std::make_shared<TSearchState>();
    state->Entries = FindFiles(pattern, attr);
    rec.FindHandle = state;
    int result = FindNext(rec);
    if (result != 0) rec.FindHandle.reset();
    return result;
}

int FindNext(TSearchRec& rec) {
    std::shared_ptr<TSearchState> state = rec.FindHandle;
    if (!state || state->Next >= state->Entries.size()) return ENOENT;
    const TSearchRec& entry = state->Entries[state->Next++];
    rec.Name = entry.Name;
    rec.Size = entry.Size;
    rec.Attr = entry.Attr;
    rec.Time = entry.Time;
    return 0;
}

void FindClose(TSearchRec& rec) {
    rec.FindHandle.reset();
}

}
