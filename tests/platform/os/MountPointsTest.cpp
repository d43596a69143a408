// Tests of the mounts table reader: real file systems only, escapes decoded, remounts listed once.
#include "platform/os/MountPoints.h"

#include <gtest/gtest.h>

using namespace korvex::os;

TEST(MountPoints, KeepsDeviceAndNetworkFileSystemsOnly) {
    const char* table =
        "/dev/sda2 / ext4 rw,relatime 0 0\n"
        "proc /proc proc rw 0 0\n"
        "sysfs /sys sysfs rw 0 0\n"
        "tmpfs /run tmpfs rw 0 0\n"
        "/dev/sda1 /boot/efi vfat rw 0 0\n"
        "devpts /dev/pts devpts rw 0 0\n"
        "server:/export /mnt/nfs nfs4 rw 0 0\n"
        "/dev/sdb1 /media/usb\\040stick exfat rw 0 0\n"
        "overlay /var/lib/docker/x overlay rw 0 0\n";
    std::vector<TMountPoint> mounts = ParseRealMounts(table);
    ASSERT_EQ(mounts.size(), 3u);
    EXPECT_EQ(mounts[0].Folder, "/boot/efi");
    EXPECT_EQ(mounts[1].Folder, "/mnt/nfs");
    EXPECT_EQ(mounts[1].Type, "nfs4");
    EXPECT_EQ(mounts[2].Folder, "/media/usb stick");
}

TEST(MountPoints, MalformedLinesAndRemountsAreHandled) {
    const char* table =
        "garbage\n"
        "/dev/sdc1\n"
        "/dev/sdc1 relative ext4 rw 0 0\n"
        "/dev/sdc1 /data ext4 rw 0 0\n"
        "/dev/sdd1 /data xfs rw 0 0\n"
        "/dev/sde1 /odd\\04 ext4 rw 0 0\n"
        "\n";
    std::vector<TMountPoint> mounts = ParseRealMounts(table);
    ASSERT_EQ(mounts.size(), 2u);
    EXPECT_EQ(mounts[0].Folder, "/data");
    EXPECT_EQ(mounts[0].Type, "xfs");
    EXPECT_EQ(mounts[1].Folder, "/odd\\04");   // a cut escape stays as it is
}

TEST(MountPoints, TheSystemTableNeverListsTheRoot) {
    for (const TMountPoint& mount : RealMountPoints())
        EXPECT_NE(mount.Folder, "/");
}
