// TacShellFolder: one item of the namespace with its names, attributes, icons, details and verbs.
#pragma once

#include "platform/classes/TSet.h"
#include "platform/user/UserTypes.h"
#include "skin/windows/shell/acShellNamespace.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::skin {

// How file extensions appear in display names.
enum TacShowExtension { seSystem, seShow, seHide };
inline constexpr std::string_view ShowExtensionIdents[] = {"seSystem", "seShow", "seHide"};

// What to enumerate.
enum TacShellObjectType { otFolders, otNonFolders, otHidden };
using TacShellObjectTypes = classes::TSet<TacShellObjectType>;
inline constexpr std::string_view ShellObjectTypeIdents[] = {"otFolders", "otNonFolders", "otHidden"};
unsigned ObjectTypesToFlags(TacShellObjectTypes types);   // the SHCONTF flags

// Folder properties and capabilities, one bit each.
enum TacFolderProperty : unsigned {
    fpHidden = 1 << 0, fpLink = 1 << 1, fpReadOnly = 1 << 2, fpShare = 1 << 3,
    fpFileSystem = 1 << 4, fpFileSystemAncestor = 1 << 5, fpRemovable = 1 << 6, fpBrowsable = 1 << 7,
};
enum TacFolderCapability : unsigned {
    fcCanCopy = 1 << 0, fcCanDelete = 1 << 1, fcCanLink = 1 << 2, fcCanMove = 1 << 3,
    fcCanRename = 1 << 4, fcDropTarget = 1 << 5, fcHasPropSheet = 1 << 6,
};

// Whether folder's listing with flags gives at least one item.
bool CanEnumerate(const TacNamespaceFolder& folder, unsigned flags);

// The display name of pidl (relative to parentFolder, or nothing for "parentfolder = nil"), with showExt
// applied to files: seShow keeps the extension, seHide drops it (names are shown as the file system has them,
// so seSystem and seShow agree).
std::string GetDisplayName(const TacNamespaceFolder* parentFolder, const TItemIDList& pidl, unsigned flags,
    TacShowExtension showExt);

// One namespace item. Parent is not owned and is read only while constructing (for Level) and by the tree's
// refresh: every query goes through the item's own lists, so freeing a parent first never leaves a dangling use.
class TacShellFolder;
// The process-wide object of the desktop, the parent of every item made without one; it has no parent.
TacShellFolder* DesktopShellFolder();

class TacShellFolder {
public:
    TacShellFolder(TacShellFolder* parent, std::optional<TacNamespaceFolder> shellFolder, const TItemIDList& id);
    TacShellFolder(const TacShellFolder&) = delete;
    TacShellFolder& operator=(const TacShellFolder&) = delete;

    const TItemIDList& RelativeID() const { return FRelativeID; }
    const TItemIDList& AbsoluteID() const { return FAbsoluteID; }
    // The parent given, or the desktop's object for an item made without one (nullptr for that object only).
    TacShellFolder* Parent() const { return FParent; }
    const TacNamespaceFolder* ShellFolder() const { return FShellFolder ? &*FShellFolder : nullptr; }
    int Level() const { return FLevel; }   // the ancestors of the parent: 0 below the desktop's object
    user::HWND ViewHandle() const { return FViewHandle; }

    TacNamespaceFolder ParentShellFolder() const;   // the folder holding the item
    unsigned Properties() const;   // TacFolderProperty bits
    unsigned Capabilities() const;   // TacFolderCapability bits
    bool IsFolder(bool openZipFiles = true) const;   // a ".zip" folder counts only with openZipFiles
    bool IsFile(bool openZipFiles = true) const;   // a file system item, no folder and no link (a ".zip" without)
    bool HasSubFolder() const;
    std::string PathName() const;   // the path; "" for the desktop and the computer
    std::string DisplayName(TacShowExtension showExt = seSystem) const;
    int ImageIndex(bool large) const;

    // Renames the item, never over an existing entry: raises base::Exception "Rename to %s failed" when
    // the item cannot be renamed or the name is taken or refused.
    void Rename(const std::string& newName);
    // Opens the item with the desktop's opener (a folder or a file); false when nothing started.
    bool ExecuteDefault() const;
    // Runs a verb of the context menu on the item ("open", "cut", "copy", "paste" into the item's folder,
    // "delete", "newfolder", "properties"); false when it failed or is unknown ("rename" needs a name: see
    // Rename).
    bool ExecuteVerb(const std::string& verb) const;

    // Loads the column texts for columns 1 .. columnCount - 1 (size, type, modified, attributes) of a
    // file-system item unless they are loaded; the desktop and the computer get none, an entry that cannot be
    // read empty texts.
    void LoadColumnDetails(TacShellFolder* rootFolder, user::HWND window, int columnCount);
    // The text of column index (1 = size); raises "%s: Missing call to LoadColumnDetails" before a load and
    // classes::EListError for a column that was not loaded.
    std::string Details(int index) const;
    int DetailCount() const { return static_cast<int>(FDetails.size()); }

private:
    friend TacShellFolder* DesktopShellFolder();
    explicit TacShellFolder(TacNamespaceFolder desktop);   // the desktop's own object

    std::uint32_t Attributes(std::uint32_t request) const;

    TItemIDList FRelativeID;
    TItemIDList FAbsoluteID;
    TacShellFolder* FParent = nullptr;
    std::optional<TacNamespaceFolder> FShellFolder;
    int FLevel = 0;
    user::HWND FViewHandle = nullptr;
    std::vector<std::string> FDetails;
};

}
