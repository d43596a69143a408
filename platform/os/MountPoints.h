// The mounted file systems that hold files (from /proc/self/mounts), as the shell's "Computer" lists them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvex::os {

struct TMountPoint {
    std::string Device;   // "/dev/sda1", "server:/export", "//host/share"
    std::string Folder;   // where it is mounted, escapes decoded ("\040" is a space)
    std::string Type;   // "ext4", "nfs4", ...
};

// The real file systems of a mounts table, in its order, without "/" and without pseudo file systems (proc,
// sysfs, cgroups, tmpfs and the like); a folder mounted twice is listed once (its last mount).
std::vector<TMountPoint> ParseRealMounts(std::string_view mountsText);

// ParseRealMounts of /proc/self/mounts, folders only (not files bound in place); empty when it cannot be read.
std::vector<TMountPoint> RealMountPoints();

}
