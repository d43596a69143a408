// The namespace on Linux: Desktop > Home and Computer, Computer > "/" and the mounted file systems, then folders.
#pragma once

#include "platform/os/DesktopLanguage.h"
#include "skin/windows/shell/acShellPidl.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvex::skin {

// What to enumerate (the Windows SHCONTF values).
inline constexpr unsigned SHCONTF_FOLDERS = 0x20;
inline constexpr unsigned SHCONTF_NONFOLDERS = 0x40;
inline constexpr unsigned SHCONTF_INCLUDEHIDDEN = 0x80;

// How to name an item (the Windows SHGDN values).
inline constexpr unsigned SHGDN_NORMAL = 0;   // a full name: from the desktop
inline constexpr unsigned SHGDN_INFOLDER = 1;   // the name inside its folder
inline constexpr unsigned SHGDN_FORPARSING = 0x8000;   // the path ("" for the desktop and the computer)

// Item attributes (the Windows SFGAO values).
inline constexpr std::uint32_t SFGAO_CANCOPY = 0x1;
inline constexpr std::uint32_t SFGAO_CANMOVE = 0x2;
inline constexpr std::uint32_t SFGAO_CANLINK = 0x4;
inline constexpr std::uint32_t SFGAO_CANRENAME = 0x10;
inline constexpr std::uint32_t SFGAO_CANDELETE = 0x20;
inline constexpr std::uint32_t SFGAO_HASPROPSHEET = 0x40;
inline constexpr std::uint32_t SFGAO_DROPTARGET = 0x100;
inline constexpr std::uint32_t SFGAO_LINK = 0x10000;
inline constexpr std::uint32_t SFGAO_SHARE = 0x20000;
inline constexpr std::uint32_t SFGAO_READONLY = 0x40000;
inline constexpr std::uint32_t SFGAO_HIDDEN = 0x80000;
inline constexpr std::uint32_t SFGAO_REMOVABLE = 0x2000000;
inline constexpr std::uint32_t SFGAO_BROWSABLE = 0x8000000;
inline constexpr std::uint32_t SFGAO_FILESYSANCESTOR = 0x10000000;
inline constexpr std::uint32_t SFGAO_FOLDER = 0x20000000;
inline constexpr std::uint32_t SFGAO_FILESYSTEM = 0x40000000;
inline constexpr std::uint32_t SFGAO_HASSUBFOLDER = 0x80000000;   // costs a listing: given only when asked

// The names the namespace shows for its own items, in the desktop's language.
inline const char* DesktopName() { return os::DesktopText("Desktop", "Рабочий стол"); }
inline const char* HomeName() { return os::DesktopText("Home", "Домашняя папка"); }
inline const char* ComputerName() { return os::DesktopText("Computer", "Компьютер"); }
inline const char* FileSystemName() { return os::DesktopText("File System", "Файловая система"); }

// The file-system path an absolute list leads to; nothing for the desktop, the computer or a broken list.
std::optional<std::string> PidlPath(const TItemIDList& absolute);

// One folder of the namespace, known by its absolute list: the stand-in for the shell's folder interface.
// Relative lists name its children; queries read the file system at the moment they are made.
class TacNamespaceFolder {
public:
    explicit TacNamespaceFolder(TItemIDList absolute);

    const TItemIDList& AbsoluteID() const { return FAbsolute; }

    // The children the flags admit, each as a one-item relative list, in CompareIDs order. False (and none)
    // when the folder cannot be listed, errno telling why. isFolder, when given, gets whether each child is a folder (or a link
    // to one), as the listing saw it.
    bool EnumObjects(unsigned flags, std::vector<TItemIDList>& children, std::vector<bool>* isFolder = nullptr) const;
    // The attributes of a child; SFGAO_HASSUBFOLDER only when request asks for it. 0 when it is gone.
    std::uint32_t GetAttributesOf(const TItemIDList& relative, std::uint32_t request) const;
    std::string GetDisplayNameOf(const TItemIDList& relative, unsigned flags) const;
    // Orders two children: the desktop's Home before Computer, "/" before other mounts, then names without
    // case (Cyrillic too), then bytes. <0, 0 or >0.
    int CompareIDs(const TItemIDList& a, const TItemIDList& b) const;
    // The child's own folder; nothing when the child is no folder.
    std::optional<TacNamespaceFolder> BindToObject(const TItemIDList& relative) const;
    // Renames a child file or folder, never over an existing entry. The new relative list, or nothing with
    // errno set (EEXIST for a taken name, EINVAL for a bad name or an item that cannot be renamed).
    std::optional<TItemIDList> SetNameOf(const TItemIDList& relative, const std::string& newName) const;

private:
    TItemIDList FAbsolute;
};

TacNamespaceFolder DesktopFolder();

// The list of an absolute path ("/" starts it; "." and ".." are resolved by name, links are not followed):
// Computer > the longest mount holding it > the rest. Nothing for a relative path or a missing entry, with errno
// telling why.
std::optional<TItemIDList> ParseDisplayName(const std::string& path);

}
