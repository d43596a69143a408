// TacShellFolder: one item of the namespace with its names, attributes, icons, details and verbs.
#include "skin/windows/shell/acShellFolder.h"

#include "platform/base/DateTime.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Strings.h"
#include "platform/classes/Errors.h"
#include "platform/os/Process.h"
#include "platform/os/Shell.h"
#include "platform/os/ShellItems.h"
#include "skin/windows/shell/acShellClipboard.h"
#include "skin/windows/shell/acShellIcons.h"
#include "skin/windows/shell/acShellProperties.h"

#include <sys/stat.h>

namespace korvex::skin {

namespace {

// The extension of a file name with its dot; "" for none (a leading dot starts a hidden name, not one).
std::string NameExtension(const std::string& name) {
    std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || name.find('/', dot) != std::string::npos) return {};
    return name.substr(dot);
}

bool RegularFileAt(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

struct BitMap {
    std::uint32_t Attribute;
    unsigned Bit;
};

constexpr BitMap PropertyBits[] = {{SFGAO_HIDDEN, fpHidden}, {SFGAO_LINK, fpLink}, {SFGAO_READONLY, fpReadOnly},
    {SFGAO_SHARE, fpShare}, {SFGAO_FILESYSTEM, fpFileSystem}, {SFGAO_FILESYSANCESTOR, fpFileSystemAncestor},
    {SFGAO_REMOVABLE, fpRemovable}, {SFGAO_BROWSABLE, fpBrowsable}};
constexpr BitMap CapabilityBits[] = {{SFGAO_CANCOPY, fcCanCopy}, {SFGAO_CANDELETE, fcCanDelete},
    {SFGAO_CANLINK, fcCanLink}, {SFGAO_CANMOVE, fcCanMove}, {SFGAO_CANRENAME, fcCanRename},
    {SFGAO_DROPTARGET, fcDropTarget}, {SFGAO_HASPROPSHEET, fcHasPropSheet}};

template <std::size_t N>
unsigned MapBits(std::uint32_t attributes, const BitMap (&map)[N]) {
    unsigned bits = 0;
    for (const BitMap& m : map)
        if (attributes & m.Attribute) bits |= m.Bit;
    return bits;
}

// Windows file attribute bits of an entry, for the attributes column.
unsigned WindowsAttributes(const os::TShellEntry& entry) {
    unsigned bits = 0;
    if (entry.ReadOnly) bits |= 0x1;   // FILE_ATTRIBUTE_READONLY
    if (entry.IsHidden) bits |= 0x2;   // FILE_ATTRIBUTE_HIDDEN
    if (entry.IsFolder) bits |= 0x10;   // FILE_ATTRIBUTE_DIRECTORY
    if (entry.IsLink) bits |= 0x400;   // FILE_ATTRIBUTE_REPARSE_POINT
    return bits ? bits : 0x80;   // FILE_ATTRIBUTE_NORMAL
}

// The column texts 1 .. count - 1 of the file-system entry at path; empty texts and false when it cannot be read.
bool ColumnTexts(const std::string& path, int count, std::vector<std::string>& texts) {
    texts.assign(static_cast<std::size_t>(std::max(count - 1, 0)), std::string());
    os::TShellEntry entry;
    if (!os::StatShellEntry(path, entry)) return false;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        switch (i + 1) {
        case 1: texts[i] = entry.IsFolder ? "-1" : std::to_string(entry.Size); break;
        case 2: texts[i] = NameExtension(entry.Name); break;
        case 3: texts[i] = entry.IsFolder ? "-1" : base::DateTimeToStr(entry.Modified); break;
        case 4: texts[i] = std::to_string(WindowsAttributes(entry)); break;
        default: break;
        }
    }
    return true;
}

}

unsigned ObjectTypesToFlags(TacShellObjectTypes types) {
    unsigned flags = 0;
    if (types.Contains(otFolders)) flags |= SHCONTF_FOLDERS;
    if (types.Contains(otNonFolders)) flags |= SHCONTF_NONFOLDERS;
    if (types.Contains(otHidden)) flags |= SHCONTF_INCLUDEHIDDEN;
    return flags;
}

bool CanEnumerate(const TacNamespaceFolder& folder, unsigned flags) {
    std::vector<TItemIDList> children;
    return folder.EnumObjects(flags, children) && !children.empty();
}

std::string GetDisplayName(const TacNamespaceFolder* parentFolder, const TItemIDList& pidl, unsigned flags,
    TacShowExtension showExt) {
    if (!parentFolder) return "parentfolder = nil";
    std::string name = parentFolder->GetDisplayNameOf(pidl, flags);
    // A "?" before a digit is dropped; a lone "?" stays.
    if (name.size() > 1 && name[0] == '?' && name[1] >= '0' && name[1] <= '9') name.erase(0, 1);
    if (showExt == seSystem || (flags & SHGDN_FORPARSING)) return name;
    std::string parsing = parentFolder->GetDisplayNameOf(pidl, SHGDN_FORPARSING);
    if (!RegularFileAt(parsing)) return name;
    std::string shown = NameExtension(name);
    std::size_t slash = parsing.rfind('/');
    std::string real = NameExtension(slash == std::string::npos ? parsing : parsing.substr(slash + 1));
    if (showExt == seShow && !real.empty() && base::LowerCase(shown) != base::LowerCase(real)) return name + real;
    if (showExt == seHide && !shown.empty()) return name.substr(0, name.size() - shown.size());
    return name;
}

TacShellFolder* DesktopShellFolder() {
    static TacShellFolder desktop(DesktopFolder());
    return &desktop;
}

TacShellFolder::TacShellFolder(TacNamespaceFolder desktop)
    : FShellFolder(std::move(desktop)) { }

TacShellFolder::TacShellFolder(TacShellFolder* parent, std::optional<TacNamespaceFolder> shellFolder,
    const TItemIDList& id)
    : FRelativeID(id)
    , FAbsoluteID(ConcatPIDLs(parent ? &parent->AbsoluteID() : nullptr, id))
    , FParent(parent ? parent : DesktopShellFolder())
    , FShellFolder(std::move(shellFolder)) {
    for (TacShellFolder* p = FParent->Parent(); p; p = p->Parent())
        ++FLevel;
}

TacNamespaceFolder TacShellFolder::ParentShellFolder() const {
    TItemIDList parent = FAbsoluteID;
    StripLastID(parent);
    return TacNamespaceFolder(parent);
}

std::uint32_t TacShellFolder::Attributes(std::uint32_t request) const {
    return ParentShellFolder().GetAttributesOf(CopyLastID(FAbsoluteID), request);
}

unsigned TacShellFolder::Properties() const {
    return MapBits(Attributes(0), PropertyBits);
}

unsigned TacShellFolder::Capabilities() const {
    return MapBits(Attributes(0), CapabilityBits);
}

bool TacShellFolder::IsFolder(bool openZipFiles) const {
    if (!openZipFiles && base::LowerCase(NameExtension(PathName())) == ".zip") return false;
    return (Attributes(0) & SFGAO_FOLDER) != 0;
}

bool TacShellFolder::IsFile(bool openZipFiles) const {
    if (!openZipFiles && base::LowerCase(NameExtension(PathName())) == ".zip") return true;
    std::uint32_t a = Attributes(0);
    return (a & SFGAO_FILESYSTEM) && !(a & SFGAO_FOLDER) && !(a & SFGAO_LINK);
}

bool TacShellFolder::HasSubFolder() const {
    return (Attributes(SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER) != 0;
}

std::string TacShellFolder::PathName() const {
    return DesktopFolder().GetDisplayNameOf(FAbsoluteID, SHGDN_FORPARSING);
}

std::string TacShellFolder::DisplayName(TacShowExtension showExt) const {
    TacNamespaceFolder parent = ParentShellFolder();
    return GetDisplayName(&parent, CopyLastID(FAbsoluteID), SHGDN_INFOLDER, showExt);
}

int TacShellFolder::ImageIndex(bool large) const {
    return GetShellImage(FAbsoluteID, large, false);
}

void TacShellFolder::Rename(const std::string& newName) {
    std::optional<TItemIDList> renamed;
    if (Capabilities() & fcCanRename) renamed = ParentShellFolder().SetNameOf(CopyLastID(FAbsoluteID), newName);
    if (!renamed) throw base::Exception("Rename to " + newName + " failed");
    StripLastID(FAbsoluteID);
    FAbsoluteID = ConcatPIDLs(&FAbsoluteID, *renamed);
    StripLastID(FRelativeID);
    FRelativeID = ConcatPIDLs(&FRelativeID, *renamed);
}

bool TacShellFolder::ExecuteDefault() const {
    std::string path = PathName();
    if (path.empty()) return false;
    // The opener starts in the item's folder; our own current folder is never touched.
    std::string folder = path.substr(0, path.rfind('/'));
    return os::StartProcess(os::OpenerPath(), {path}, folder.empty() ? "/" : folder) > 0;
}

bool TacShellFolder::ExecuteVerb(const std::string& verb) const {
    std::string name = base::LowerCase(verb);
    if (name == "open") return ExecuteDefault();
    if (name == "delete") return (Capabilities() & fcCanDelete) && os::DeleteShellEntry(PathName());
    if (name == "copy" || name == "cut") {
        const std::string path = PathName();
        if (path.empty() || !(Capabilities() & (name == "cut" ? fcCanMove : fcCanCopy))) return false;
        SetShellClipboard({path}, name == "cut");
        return true;
    }
    if (name == "paste") {
        std::string folder = PathName();
        if (!folder.empty() && !IsFolder()) folder = folder.substr(0, folder.rfind('/'));
        return PasteShellClipboard(folder.empty() ? "/" : folder);
    }
    if (name == "properties") return ShowShellProperties(*this);
    if (name == "newfolder") {
        std::string path = PathName();
        if (path.empty()) return false;
        if (!IsFolder()) path = path.substr(0, path.rfind('/'));
        return !os::CreateNewFolder(path.empty() ? "/" : path).empty();
    }
    return false;
}

void TacShellFolder::LoadColumnDetails(TacShellFolder* rootFolder, user::HWND window, int columnCount) {
    (void)rootFolder;   // the details come from the file system alone
    // Columns 1 .. count - 1 are loaded; only a list of count texts or more is kept, so each request reads again.
    if (DetailCount() >= columnCount) return;
    FDetails.clear();
    FViewHandle = window;
    // The file-system items (those with a path) have details; the desktop and the computer none.
    const std::string path = PidlPath(FAbsoluteID).value_or("");
    if (path.empty()) return;
    // An entry that cannot be read (deleted since it was listed) gets empty texts: the list asks while it
    // paints, and an error there would come back with every paint.
    ColumnTexts(path, columnCount, FDetails);
}

std::string TacShellFolder::Details(int index) const {
    if (FDetails.empty()) throw base::Exception(DisplayName() + ": Missing call to LoadColumnDetails");
    if (index < 1 || index > DetailCount())
        throw classes::EListError("List index out of bounds (" + std::to_string(index - 1) + ")");
    return FDetails[static_cast<std::size_t>(index - 1)];
}

}
