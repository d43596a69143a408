// The desktop's registered web browser: the default http handler's desktop entry and its Exec line.
#include "platform/os/Browser.h"

#include "platform/os/TextFiles.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace korvex::os {

namespace {

constexpr int QueryTimeoutMs = 5000;   // xdg-mime is a shell script; a desktop's own tool may be slow to start
constexpr std::size_t QueryOutputLimit = 4096;
constexpr std::int64_t DesktopEntryLimit = 1 << 20;

// The first line `program` writes to its standard output, within QueryTimeoutMs; "" on any failure. The child
// is ended when it runs longer, and always waited for.
std::string FirstOutputLine(const std::vector<std::string>& argv) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return "";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t child = -1;
    const int spawned = ::posix_spawnp(&child, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        return "";
    }
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(QueryTimeoutMs);
    bool timedOut = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        pollfd p {out[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        char buffer[512];
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
        if (text.size() >= QueryOutputLimit || text.find('\n') != std::string::npos) break;
    }
    ::close(out[0]);
    if (timedOut) ::kill(child, SIGKILL);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) { }
    if (timedOut) return "";
    text = text.substr(0, text.find('\n'));
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    return text;
}

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

std::string HomeFolder() {
    return EnvOr("HOME", "");
}

// The folders desktop entries are looked up in, in order.
std::vector<std::string> ApplicationFolders() {
    std::vector<std::string> folders;
    const std::string home = HomeFolder();
    const std::string dataHome = EnvOr("XDG_DATA_HOME", home.empty() ? "" : home + "/.local/share");
    if (!dataHome.empty()) folders.push_back(dataHome + "/applications");
    const std::string dirs = EnvOr("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        if (end > start) folders.push_back(dirs.substr(start, end - start) + "/applications");
        start = end + 1;
    }
    return folders;
}

// The file names an id may have inside an applications folder: the id itself, then with each "-" standing
// for a folder ("kde4-foo.desktop" in "kde4/foo.desktop").
std::vector<std::string> EntryNames(const std::string& id) {
    std::vector<std::string> names {id};
    std::string name = id;
    for (std::size_t at = name.find('-'); at != std::string::npos; at = name.find('-', at + 1)) {
        name[at] = '/';
        names.push_back(name);
    }
    return names;
}

// The value of `key` in the file's [Desktop Entry] group; nothing when absent.
std::optional<std::string> EntryValue(const std::string& content, const std::string& key) {
    bool inGroup = false;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') {
            inGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inGroup || line.compare(0, key.size(), key) != 0) continue;
        std::size_t at = key.size();
        while (at < line.size() && line[at] == ' ')
            ++at;
        if (at >= line.size() || line[at] != '=') continue;   // another key that starts the same ("Exec[..]")
        ++at;
        while (at < line.size() && line[at] == ' ')
            ++at;
        return line.substr(at);
    }
    return std::nullopt;
}

// A desktop entry's string escapes: \s, \n, \t, \r and \\.
std::string Unescaped(const std::string& value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char c = value[++i];
        out += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    }
    return out;
}

// The Exec line cut into arguments: blanks separate them, a double-quoted part keeps its blanks and takes
// \", \`, \$ and \\ as the character.
std::vector<std::string> SplitExec(const std::string& exec) {
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < exec.size() && std::string("\"`$\\").find(exec[i + 1]) != std::string::npos) {
                current += exec[++i];
            } else {
                current += c;
            }
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\n') {
            if (inArgument) args.push_back(current);
            current.clear();
            inArgument = false;
            continue;
        }
        inArgument = true;
        if (c == '"')
            quoted = true;
        else
            current += c;
    }
    if (inArgument) args.push_back(current);
    return args;
}

}

std::string DefaultBrowserEntry() {
    const std::string id = FirstOutputLine({"xdg-mime", "query", "default", "x-scheme-handler/http"});
    // An id is a file name: anything with a "/" or a ".." is no id.
    if (id.empty() || id.find('/') != std::string::npos || id.find("..") != std::string::npos) return "";
    return id;
}

std::string DesktopEntryExec(const std::string& id) {
    if (id.empty() || id.find('/') != std::string::npos || id.find("..") != std::string::npos) return "";
    for (const std::string& folder : ApplicationFolders())
        for (const std::string& name : EntryNames(id)) {
            std::string content;
            if (!ReadWholeFile(folder + "/" + name, content, DesktopEntryLimit)) continue;
            // The first entry found is the one that counts, also when it hides the program.
            if (EntryValue(content, "Hidden").value_or("") == "true") return "";
            return Unescaped(EntryValue(content, "Exec").value_or(""));
        }
    return "";
}

std::vector<std::string> ExecArguments(const std::string& exec, const std::string& url) {
    const std::vector<std::string> words = SplitExec(exec);
    if (words.empty() || words[0].empty() || words[0][0] == '%') return {};   // no program named
    std::vector<std::string> args;
    bool urlGiven = false;
    for (const std::string& word : words) {
        if (word.size() == 2 && word[0] == '%' && word[1] != '%') {   // a field code standing alone
            if (std::string("uUfF").find(word[1]) != std::string::npos) {
                args.push_back(url);
                urlGiven = true;
            }
            continue;
        }
        std::string arg;
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (word[i] != '%' || i + 1 == word.size()) {
                arg += word[i];
                continue;
            }
            const char code = word[++i];
            if (code == '%') {
                arg += '%';
            } else if (std::string("uUfF").find(code) != std::string::npos) {
                arg += url;
                urlGiven = true;
            }
        }
        args.push_back(arg);
    }
    if (!urlGiven) args.push_back(url);
    return args;
}

std::vector<std::string> BrowserCommand(const std::string& url) {
    const std::string id = DefaultBrowserEntry();
    if (id.empty()) return {};
    const std::string exec = DesktopEntryExec(id);
    if (exec.empty()) return {};
    return ExecArguments(exec, url);
}

}
