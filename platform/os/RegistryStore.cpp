// The settings store ("the registry"): the file, loading it, damaged files and reads.
#include "platform/os/RegistryStore.h"

#include "platform/os/Paths.h"
#include "platform/os/RegistryFormat.h"
#include "platform/os/Shell.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvex::os {

namespace {

constexpr const char* BrowserKeys[] = {"htmlfile\\shell\\open\\command", "http\\shell\\open\\command"};

// Reads the open file whole; false with errno on a read error, EFBIG past `limit` bytes.
bool ReadFd(int fd, std::string& content, std::int64_t limit) {
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        if (static_cast<std::int64_t>(content.size()) + n > limit) {
            errno = EFBIG;
            return false;
        }
        content.append(buffer, static_cast<size_t>(n));
    }
}

std::string SystemErrorText(int error) {
    std::string text = std::strerror(error);
    if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

std::string TimeStampText() {
    std::time_t now = std::time(nullptr);
    std::tm local {};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// Writes a new file that must not exist yet; false when it does or the write fails.
bool WriteNewFile(const std::string& path, const std::string& content) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    size_t done = 0;
    while (done < content.size()) {
        ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    return done == content.size();
}

}

RegistryStore& RegistryStore::Default() {
    static RegistryStore* store = new RegistryStore(true);   // never destroyed: threads may use it at exit
    return *store;
}

RegistryStore::RegistryStore(std::string filePath)
    : FPath(std::move(filePath)) {
}

RegistryStore::RegistryStore(bool followEnvironment)
    : FFollowEnvironment(followEnvironment) {
}

RegistryStore::~RegistryStore() {
    if (FLockFd >= 0) ::close(FLockFd);
}

std::string RegistryStore::DefaultFilePath() {
    const char* file = std::getenv("KORVEX_REGISTRY");
    if (file && *file) return file;
    return ConfigHome() + "/korvex/registry.reg";
}

std::string RegistryStore::FilePath() {
    std::lock_guard guard(FLock);
    FollowEnvironment();
    return FPath;
}

// ---- Loading ------------------------------------------------------------------------------------------------

void RegistryStore::FollowEnvironment() {
    if (!FFollowEnvironment) return;
    std::string path = DefaultFilePath();
    if (path == FPath) return;
    if (FLockFd >= 0) ::close(FLockFd);
    FLockFd = -1;
    FPath = path;
    FTree.Clear();
    ++FGeneration;
    FContent.clear();
    FFile.Clear();
    FLoaded = false;
    FUnreadable = 0;
    FReported.clear();
    FHeld.clear();   // they were the other file's
    FHeldValues.clear();
    for (Batch& batch : FBatches)
        batch.Checked = false;   // open batches read the new file
}

void RegistryStore::Refresh() {
    if (!FLoaded || FFile.ChangedOnDisk(FPath)) Load();
}

void RegistryStore::Load() {
    // Without blocking: a pipe put in the file's place must not hold every reader of the settings.
    int fd = ::open(FPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        if (error != ENOENT) {   // there, but not to be read (no permission, a loop of links ...)
            KeepUnread(IdentityOfPath(FPath), error, SystemErrorText(error));
            return;
        }
        FFile.Clear();
        FTree.Clear();
        ++FGeneration;
        FContent.clear();
        FLoaded = true;
        FUnreadable = 0;
        AddVirtualEntries();
        return;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        KeepUnread(IdentityOfPath(FPath), error, SystemErrorText(error));
        return;
    }
    // Only a regular file of a settings file's size is read: a device, a pipe or a file without end is not.
    std::string content;
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        KeepUnread(IdentityOf(st), EINVAL, "it is not a regular file");
        return;
    }
    if (st.st_size > MaxSettingsFileSize || !ReadFd(fd, content, MaxSettingsFileSize)) {
        const int error = st.st_size > MaxSettingsFileSize ? EFBIG : errno;
        ::close(fd);
        KeepUnread(IdentityOf(st), error,
            error == EFBIG ? "it is larger than " + std::to_string(MaxSettingsFileSize >> 20) + " MB"
                           : SystemErrorText(error));
        return;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FFile.Pin(fd, st);
    FContent = content;
    FLoaded = true;
    FUnreadable = 0;
    Parse(content, true, FFile.Identity());
}

// The file is there and could not be read: what the store holds stays (the defaults when nothing was read
// yet), nothing is written to the file until a load succeeds, and the user is told once.
void RegistryStore::KeepUnread(const FileIdentity& identity, int error, const std::string& reason) {
    FUnreadable = error;
    if (AddVirtualEntries()) ++FGeneration;
    ReportUnreadable(identity,
        "The settings file " + FPath + " was not read: " + reason
            + ". The program runs on the settings it has, and does not save them to that file.");
    errno = error;
}

void RegistryStore::ReportUnreadable(const FileIdentity& identity, const std::string& message) {
    if (std::find(FReported.begin(), FReported.end(), identity) != FReported.end()) return;
    FReported.push_back(identity);
    FReports.push_back(message);
    FPendingReports.push_back(message);
}

void RegistryStore::Parse(const std::string& content, bool reportDamage, const FileIdentity& identity) {
    FTree.Clear();
    ++FGeneration;
    std::vector<int> damaged;
    ParseRegistryText(content, FTree, damaged);
    AddVirtualEntries();
    const int error = errno;
    for (const RegChange& change : FHeld)
        ApplyChange(FTree, change);   // one that no longer applies is left out
    errno = error;
    if (reportDamage && !damaged.empty()) ReportDamage(content, identity, damaged);
}

bool RegistryStore::AddVirtualEntries() {
    bool added = false;
    for (const char* path : BrowserKeys) {
        RegKey* key = FTree.Root(HKEY_CLASSES_ROOT);
        for (const std::string& part : SplitKeyPath(path)) {
            RegKey* sub = key->FindSubKey(part);
            if (!sub) {
                sub = &key->AddSubKey(part);
                sub->Virtual = true;
                added = true;
            }
            key = sub;
        }
        if (!key->FindValue("")) {
            key->Values.Set("", MakeStringValue(""), true);
            added = true;
        }
    }
    return added;
}

void RegistryStore::ReportDamage(
    const std::string& content, const FileIdentity& identity, const std::vector<int>& lines) {
    if (std::find(FReported.begin(), FReported.end(), identity) != FReported.end()) return;
    FReported.push_back(identity);
    std::string base = FPath + ".damaged-" + TimeStampText();
    std::string copy = base;
    bool kept = WriteNewFile(copy, content);
    for (int n = 1; !kept && n < 100; ++n) {
        copy = base + "-" + std::to_string(n);
        kept = WriteNewFile(copy, content);
    }
    std::string message = "The settings file " + FPath + " has " + std::to_string(lines.size())
        + " damaged line(s), the first at line " + std::to_string(lines.front())
        + "; they were skipped and the rest was loaded. "
        + (kept ? "The damaged file was kept as " + copy + "." : std::string("No copy of it could be kept."));
    FReports.push_back(message);
    FPendingReports.push_back(message);
}

void RegistryStore::FireReports() {
    std::vector<std::string> pending;
    TDamageHandler handler;
    {
        std::lock_guard guard(FLock);
        if (!FDamageHandler) return;   // kept until a handler is set
        pending.swap(FPendingReports);
        handler = FDamageHandler;
    }
    if (handler)
        for (const std::string& message : pending)
            handler(message);
}

void RegistryStore::SetDamageHandler(TDamageHandler handler) {
    {
        std::lock_guard guard(FLock);
        FDamageHandler = std::move(handler);
    }
    FireReports();
}

bool RegistryStore::FileUnreadable() {
    std::lock_guard guard(FLock);
    FollowEnvironment();
    Refresh();
    return FUnreadable != 0;
}

std::vector<std::string> RegistryStore::DamageReports() {
    std::lock_guard guard(FLock);
    return FReports;
}

// ---- Reading ------------------------------------------------------------------------------------------------

bool RegistryStore::KeyExists(HKEY root, const std::string& path) {
    bool result;
    {
        std::lock_guard guard(FLock);
        result = Current().Find(root, SplitKeyPath(path)) != nullptr;
    }
    FireReports();
    return result;
}

std::optional<TRegValue> RegistryStore::GetValue(HKEY root, const std::string& path, const std::string& name) {
    std::optional<TRegValue> result;
    {
        std::lock_guard guard(FLock);
        if (const RegKey* key = Current().Find(root, SplitKeyPath(path)))
            if (const RegValueEntry* entry = key->FindValue(name))
                result = entry->Virtual ? MakeStringValue(BrowserCommandLine()) : entry->Value;
    }
    FireReports();
    return result;
}

std::vector<std::string> RegistryStore::GetValueNames(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    {
        std::lock_guard guard(FLock);
        if (const RegKey* key = Current().Find(root, SplitKeyPath(path)))
            for (const RegValueEntry& entry : key->Values)
                names.push_back(entry.Name);
    }
    FireReports();
    return names;
}

std::vector<std::string> RegistryStore::GetKeyNames(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    {
        std::lock_guard guard(FLock);
        if (const RegKey* key = Current().Find(root, SplitKeyPath(path)))
            for (const auto& [name, sub] : key->SubKeys)
                names.push_back(sub->Name);
    }
    FireReports();
    return names;
}

}
