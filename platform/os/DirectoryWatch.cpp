// Watching a folder for changes with inotify, with an eventfd to wake the waiter.
#include "platform/os/DirectoryWatch.h"

#include <cerrno>
#include <dirent.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvex::os {

namespace {

constexpr int MaxDepth = 64;   // a deeper tree is watched down to here
constexpr std::uint32_t NameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;

std::uint32_t InotifyMask(std::uint32_t filter, bool subTree) {
    std::uint32_t mask = 0;
    if (filter & (FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME)) mask |= NameEvents;
    if (filter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY)) mask |= IN_ATTRIB;
    if (filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)) mask |= IN_MODIFY | IN_CLOSE_WRITE;
    if (subTree) mask |= IN_CREATE | IN_MOVED_TO;   // to watch new folders
    return mask | IN_ONLYDIR;
}

// Whether an event is one the filter asked for.
bool Wanted(std::uint32_t filter, std::uint32_t mask) {
    bool folder = (mask & IN_ISDIR) != 0;
    if (mask & NameEvents) {
        if (mask & (IN_DELETE_SELF | IN_MOVE_SELF)) return true;
        if (filter & (folder ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME)) return true;
    }
    if ((mask & IN_ATTRIB) && (filter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY))) return true;
    if ((mask & (IN_MODIFY | IN_CLOSE_WRITE)) && (filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)))
        return true;
    return false;
}

}

TDirectoryWatch::TDirectoryWatch()
    : FWake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) { }

TDirectoryWatch::~TDirectoryWatch() {
    Close();
    if (FWake >= 0) ::close(FWake);
}

bool TDirectoryWatch::Open(const std::string& folder, bool subTree, std::uint32_t filter) {
    Close();
    FInotify = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (FInotify < 0) return false;
    FSubTree = subTree;
    FFilter = filter;
    int wd = ::inotify_add_watch(FInotify, folder.c_str(), InotifyMask(filter, subTree));
    if (wd < 0) {
        Close();
        return false;
    }
    FFolders[wd] = folder;
    if (subTree) AddTree(folder, 0);
    return true;
}

void TDirectoryWatch::AddTree(const std::string& folder, int depth) {
    if (depth >= MaxDepth) return;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (dirent* d = ::readdir(dir)) {
        std::string name = d->d_name;
        if (name == "." || name == "..") continue;
        std::string path = folder + (folder.back() == '/' ? "" : "/") + name;
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) continue;   // links are not followed
        int wd = ::inotify_add_watch(FInotify, path.c_str(), InotifyMask(FFilter, true) | IN_DONT_FOLLOW);
        if (wd < 0 || FFolders.count(wd)) continue;
        FFolders[wd] = path;
        AddTree(path, depth + 1);
    }
    ::closedir(dir);
}

void TDirectoryWatch::Close() {
    if (FInotify >= 0) ::close(FInotify);
    FInotify = -1;
    FFolders.clear();
}

void TDirectoryWatch::Wake() {
    if (FWake < 0) return;
    std::uint64_t one = 1;
    while (::write(FWake, &one, sizeof one) < 0 && errno == EINTR) { }
}

bool TDirectoryWatch::ReadEvents() {
    bool wanted = false;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        ssize_t n = ::read(FInotify, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return wanted;
        for (char* p = buffer; p < buffer + n;) {
            auto* event = reinterpret_cast<inotify_event*>(p);
            p += sizeof(inotify_event) + event->len;
            if (event->mask & IN_Q_OVERFLOW) {
                wanted = true;   // events were lost: something changed
                continue;
            }
            if (event->mask & IN_IGNORED) {
                FFolders.erase(event->wd);
                continue;
            }
            if (FSubTree && (event->mask & IN_ISDIR) && (event->mask & (IN_CREATE | IN_MOVED_TO)) && event->len) {
                auto parent = FFolders.find(event->wd);
                if (parent != FFolders.end()) {
                    std::string path = parent->second + "/" + event->name;
                    int wd = ::inotify_add_watch(FInotify, path.c_str(), InotifyMask(FFilter, true) | IN_DONT_FOLLOW);
                    if (wd >= 0 && !FFolders.count(wd)) {
                        FFolders[wd] = path;
                        AddTree(path, 1);
                    }
                }
            }
            if (Wanted(FFilter, event->mask)) wanted = true;
        }
    }
}

TWatchWait TDirectoryWatch::Wait(int timeoutMs) {
    if (FInotify >= 0 && FFolders.empty()) return TWatchWait::Failed;   // the watched folder went away
    pollfd fds[2] = {{FWake, POLLIN, 0}, {FInotify, POLLIN, 0}};
    int count = FInotify >= 0 ? 2 : 1;
    for (;;) {
        int ready = ::poll(fds, count, timeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return TWatchWait::Failed;
        if (ready == 0) return TWatchWait::TimedOut;
        if (fds[0].revents & POLLIN) {
            std::uint64_t value;
            while (::read(FWake, &value, sizeof value) < 0 && errno == EINTR) { }
            return TWatchWait::Woken;
        }
        if (count < 2) return TWatchWait::Failed;
        if (fds[1].revents & (POLLERR | POLLHUP | POLLNVAL)) return TWatchWait::Failed;
        if (ReadEvents()) return TWatchWait::Changed;
        if (FFolders.empty()) return TWatchWait::Failed;   // the watched folder is gone
    }
}

}
