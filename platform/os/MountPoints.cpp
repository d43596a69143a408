// The mounted file systems that hold files (from /proc/self/mounts).
#include "platform/os/MountPoints.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace korvex::os {

namespace {

// File systems that are backed by a network rather than a device node.
constexpr std::array NetworkTypes = {std::string_view("nfs"), std::string_view("nfs4"), std::string_view("cifs"),
    std::string_view("smb3"), std::string_view("smbfs"), std::string_view("9p"), std::string_view("fuse.sshfs"),
    std::string_view("virtiofs")};

bool IsReal(const TMountPoint& mount) {
    if (std::find(NetworkTypes.begin(), NetworkTypes.end(), mount.Type) != NetworkTypes.end()) return true;
    // A device-backed file system: its source is a device node (loop devices and mappers included).
    return mount.Device.rfind("/dev/", 0) == 0 && mount.Folder.rfind("/dev", 0) != 0;
}

// The kernel writes space, tab, newline and backslash in mount fields as three octal digits.
std::string DecodeField(const std::string& field) {
    auto octal = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()
            && octal(field[i + 1]) && octal(field[i + 2]) && octal(field[i + 3])) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
            continue;
        }
        out += field[i];
    }
    return out;
}

}

std::vector<TMountPoint> ParseRealMounts(std::string_view mountsText) {
    std::vector<TMountPoint> mounts;
    std::istringstream lines{std::string(mountsText)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        TMountPoint mount;
        if (!(fields >> mount.Device >> mount.Folder >> mount.Type)) continue;
        mount.Device = DecodeField(mount.Device);
        mount.Folder = DecodeField(mount.Folder);
        if (mount.Folder.empty() || mount.Folder[0] != '/' || mount.Folder == "/" || !IsReal(mount)) continue;
        std::erase_if(mounts, [&](const TMountPoint& m) { return m.Folder == mount.Folder; });
        mounts.push_back(std::move(mount));
    }
    return mounts;
}

std::vector<TMountPoint> RealMountPoints() {
    std::ifstream file("/proc/self/mounts");
    if (!file) return {};
    std::stringstream text;
    text << file.rdbuf();
    std::vector<TMountPoint> mounts = ParseRealMounts(text.str());
    // Containers bind single files (/etc/hosts) from a device: only folders hold a file system to browse.
    std::erase_if(mounts, [](const TMountPoint& mount) {
        struct stat st;
        return ::stat(mount.Folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode);
    });
    return mounts;
}

}
