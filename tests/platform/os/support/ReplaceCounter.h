// Counts the times a file is replaced (renamed onto) in its folder, for tests of files written through a
// temporary file and a rename.
#pragma once

#include <filesystem>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>

namespace korvex::os::filetest {

// The temporary file's move away is watched too: the kernel merges equal events in a row.
class ReplaceCounter {
public:
    explicit ReplaceCounter(const std::string& file)
        : FName(std::filesystem::path(file).filename()) {
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        FWatch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ::inotify_add_watch(FWatch, std::filesystem::path(file).parent_path().c_str(), IN_MOVED_TO | IN_MOVED_FROM);
    }
    ~ReplaceCounter() { ::close(FWatch); }
    ReplaceCounter(const ReplaceCounter&) = delete;
    ReplaceCounter& operator=(const ReplaceCounter&) = delete;

    // Replacements since the last call.
    int Take() {
        int count = 0;
        alignas(inotify_event) char buffer[1 << 14];
        for (ssize_t n; (n = ::read(FWatch, buffer, sizeof buffer)) > 0;)
            for (ssize_t at = 0; at < n;) {
                auto* event = reinterpret_cast<inotify_event*>(buffer + at);
                if ((event->mask & IN_MOVED_TO) && event->len > 0 && FName == event->name) ++count;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        return count;
    }

private:
    std::string FName;
    int FWatch = -1;
};

}
