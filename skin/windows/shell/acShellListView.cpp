// TacCustomShellListView: the root and the linked tree, listing a folder into the owner-data list, the columns,
// navigation, renaming by label editing, the context menu's verbs and refreshing by the notifier.
#include "skin/windows/shell/acShellListView.h"

#include "platform/base/ScopeGuard.h"
#include "platform/base/Strings.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TScreen.h"
#include "platform/classes/TStrings.h"
#include "platform/os/DesktopLanguage.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/controls/ListView.h"
#include "skin/engine/sCommonData.h"
#include "skin/windows/shell/acShellChangeNotifier.h"
#include "skin/windows/shell/acShellComboBox.h"
#include "skin/windows/shell/acShellIcons.h"

#include <algorithm>
#include <fnmatch.h>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

// The extension of a path without its dot, upper-cased; "" for none (a leading dot starts a hidden name).
std::string PathExtension(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return {};
    return base::AnsiUpperCase(name.substr(dot + 1));
}

// A file passes by its extension among the mask's words, or by its whole name matching one of the mask's
// patterns without case (so "fah6*" lists a program that has no extension).
bool PassesMask(const std::vector<std::string>& words, const std::string& mask, const std::string& path) {
    if (words.empty()) return true;
    const std::string extension = PathExtension(path);
    if (!extension.empty() && std::find(words.begin(), words.end(), extension) != words.end()) return true;
    const std::size_t slash = path.rfind('/');
    const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    std::size_t start = 0;
    while (start <= mask.size()) {
        const std::size_t end = std::min(mask.find(';', start), mask.size());
        const std::string pattern = base::Trim(mask.substr(start, end - start));
        if (!pattern.empty() && fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0) return true;
        start = end + 1;
    }
    return false;
}

}

std::vector<std::string> MaskWords(const std::string& mask) {
    std::vector<std::string> words;
    std::string word;
    for (char c : mask + ";") {
        if (c == '*' || c == '.' || c == ';') {
            if (!word.empty()) words.push_back(base::AnsiUpperCase(base::Trim(word)));
            word.clear();
        } else {
            word += c;
        }
    }
    std::erase(words, std::string());
    return words;
}

TacCustomShellListView::TacCustomShellListView(TComponent* owner)
    : TsCustomListView(owner) {
    SetOwnerData(true);
    SetHideSelection(false);
}

TacCustomShellListView::~TacCustomShellListView() {
    if (FShellTreeView != nullptr && FShellTreeView->ShellListView() == this) FShellTreeView->LinkListView(nullptr);
    if (FShellComboBox != nullptr && FShellComboBox->ShellListView() == this) FShellComboBox->LinkListView(nullptr);
    delete FNotifier;
    FNotifier = nullptr;
    ClearItems();
    // The window goes while the folders it may still ask for are gone: it is told there are none.
    DestroyHandle();
}

TClass TacCustomShellListView::StaticClass() {
    static const TClassInfo info = MakeClass<TacCustomShellListView, TsCustomListView>("TacCustomShellListView");
    return &info;
}

TClass TsShellListView::StaticClass() {
    using T = TsShellListView;
    static const TClassInfo info = MakeClass<T, TacCustomShellListView>("TsShellListView", [](TPropertyBuilder<T>& p) {
        p.Bool("AutoContextMenus", &T::AutoContextMenus, &T::SetAutoContextMenus, true);
        p.Bool("AutoRefresh", &T::AutoRefresh, &T::SetAutoRefresh, false);
        p.Bool("AutoNavigate", &T::AutoNavigate, &T::SetAutoNavigate, true);
        p.String("Root", &T::Root, &T::SetRoot, "rfDesktop");
        p.Component("ShellTreeView", &T::ShellTreeView, &T::SetShellTreeView);
        p.Component("ShellComboBox", &T::ShellComboBox, &T::SetShellComboBox);
        p.Bool("Sorted", &T::Sorted, &T::SetSorted, true);
        p.String("Mask", &T::Mask, &T::SetMask, "");
        p.Set("ObjectTypes", &T::ObjectTypes, &T::SetObjectTypes, ShellObjectTypeIdents,
            TacShellObjectTypes {otFolders, otNonFolders});
        p.Enum("ShowExt", &T::ShowExt, &T::SetShowExt, ShowExtensionIdents, seSystem);
        p.Event("OnAddFolder", &T::OnAddFolder);
    });
    return &info;
}

TClass TsDlgShellListView::StaticClass() {
    static const TClassInfo info = MakeClass<TsDlgShellListView, TsShellListView>("TsDlgShellListView");
    return &info;
}

void TacCustomShellListView::Loaded() {
    TsCustomListView::Loaded();
    if (FAutoRefresh) SetAutoRefresh(true);
}

void TacCustomShellListView::Notification(TComponent* component, TOperation operation) {
    TsCustomListView::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FNotifier) FNotifier = nullptr;
    if (component == FShellTreeView) FShellTreeView = nullptr;
    if (component == FShellComboBox) FShellComboBox = nullptr;
}

void TacCustomShellListView::CreateWnd() {
    TsCustomListView::CreateWnd();
    user::SendMessage(WindowHandle(), user::LVM_SETIMAGELIST, user::LVSIL_SMALL,
        reinterpret_cast<LPARAM>(SystemImageList(false)->Handle()));
    user::SendMessage(WindowHandle(), user::LVM_SETIMAGELIST, user::LVSIL_NORMAL,
        reinterpret_cast<LPARAM>(SystemImageList(true)->Handle()));
    if (FRootFolder == nullptr) {
        CreateRootFolder(FRootFolder, FOldRoot, FRoot);
        FOldRoot = FRoot;
    }
    RootChanged();
}

void TacCustomShellListView::DestroyWnd() {
    ClearItems();
    TsCustomListView::DestroyWnd();
}

// ---- Root, links and options ---------------------------------------------------------------------------------

void TacCustomShellListView::SetRoot(const TacRoot& value) {
    if (SameRoot(FRoot, value)) return;
    FOldRoot = FRoot;
    FRoot = value;
    if (ComponentState().Contains(csLoading)) return;
    CreateRootFolder(FRootFolder, FOldRoot, FRoot);   // raises "Error Setting Path"; FRoot is then the old root
    FOldRoot = FRoot;
    FRootChanged = true;
    RootChanged();
}

void TacCustomShellListView::SetObjectTypes(TacShellObjectTypes value) {
    FObjectTypes = value;
    if (!ComponentState().Contains(csLoading)) RootChanged();
}

void TacCustomShellListView::SetSorted(bool value) {
    if (value == FSorted) return;
    FSorted = value;
    Populate();
}

void TacCustomShellListView::SetMask(const std::string& value) {
    if (value == FMask) return;
    FMask = value;
    Populate();
}

void TacCustomShellListView::SetShowExt(TacShowExtension value) {
    if (value == FShowExt) return;
    FShowExt = value;
    if (HandleAllocated()) Invalidate();
}

void TacCustomShellListView::SetShellTreeView(TacCustomShellTreeView* value) {
    if (value == FShellTreeView) return;
    if (FShellTreeView != nullptr && FShellTreeView->ShellListView() == this) FShellTreeView->LinkListView(nullptr);
    FShellTreeView = nullptr;
    if (value == nullptr) return;
    value->SetRoot(FRoot);
    value->LinkListView(this);
    LinkTreeView(value);
}

void TacCustomShellListView::SetShellComboBox(TacCustomShellComboBox* value) {
    if (value == FShellComboBox) return;
    if (FShellComboBox != nullptr && FShellComboBox->ShellListView() == this) FShellComboBox->LinkListView(nullptr);
    FShellComboBox = nullptr;
    if (value == nullptr) return;
    value->SetRoot(FRoot);
    value->LinkListView(this);
    LinkComboBox(value);
}

void TacCustomShellListView::LinkTreeView(TacCustomShellTreeView* tree) {
    FShellTreeView = tree;
    if (tree != nullptr) FreeNotification(tree);
}

void TacCustomShellListView::LinkComboBox(TacCustomShellComboBox* combo) {
    FShellComboBox = combo;
    if (combo != nullptr) FreeNotification(combo);
}

void TacCustomShellListView::RootChanged() {
    if (FUpdating) return;
    base::ValueRollback<bool> updating(FUpdating, true);
    // The notifier is made again for the folder now shown (a notifier calling here is freed: its call holds
    // nothing of it).
    const bool autoRefresh = FAutoRefresh;
    SetAutoRefresh(false);
    base::ScopeExit restore([this, autoRefresh] { SetAutoRefresh(autoRefresh); });
    if (FRootChanged) {
        if (FShellTreeView != nullptr) FShellTreeView->SetRoot(FRoot);
        if (FShellComboBox != nullptr) FShellComboBox->SetRoot(FRoot);
    } else if (FRootFolder != nullptr) {
        const TItemIDList shown = FRootFolder->AbsoluteID();   // the linked controls may call back
        if (FShellTreeView != nullptr) FShellTreeView->TreeUpdate(shown);
        if (FShellComboBox != nullptr) FShellComboBox->TreeUpdate(shown);
    }
    FRootChanged = false;
    Populate();
    if (ViewStyle() == vsReport) CreateColumns();
}

void TacCustomShellListView::SetAutoRefresh(bool value) {
    FAutoRefresh = value;
    if (ComponentState().Contains(csLoading) || FRootFolder == nullptr) return;
    delete FNotifier;
    FNotifier = nullptr;
    if (!value) return;
    FNotifier = Create<TacShellChangeNotifier>(this);
    FNotifier->SetWatchSubTree(false);
    FNotifier->SetRoot(FRootFolder->PathName());
    FNotifier->SetOnChange([this] { Refresh(); });
}

// ---- Items ---------------------------------------------------------------------------------------------------

std::string TacCustomShellListView::Path() const {
    return FRootFolder != nullptr ? FRootFolder->PathName() : std::string();
}

TacShellFolder* TacCustomShellListView::Folders(int index) const {
    if (index < 0 || index >= FolderCount()) return nullptr;
    return FItems[static_cast<std::size_t>(index)].Folder.get();
}

bool TacCustomShellListView::IsFolderItem(int index) const {
    return index >= 0 && index < FolderCount() && FItems[static_cast<std::size_t>(index)].IsFolder;
}

int TacCustomShellListView::SelectedIndex() const {
    if (!HandleAllocated()) return -1;
    return static_cast<int>(user::SendMessage(WindowHandle(), user::LVM_GETNEXTITEM, WPARAM(-1), user::LVNI_SELECTED));
}

TacShellFolder* TacCustomShellListView::SelectedFolder() const {
    return Folders(SelectedIndex());
}

std::vector<TacShellFolder*> TacCustomShellListView::SelectedFolders() const {
    std::vector<TacShellFolder*> folders;
    if (!HandleAllocated()) return folders;
    for (int i = SelectedIndex(); i >= 0;
         i = static_cast<int>(user::SendMessage(WindowHandle(), user::LVM_GETNEXTITEM, WPARAM(i), user::LVNI_SELECTED)))
        if (TacShellFolder* folder = Folders(i)) folders.push_back(folder);
    return folders;
}

void TacCustomShellListView::ClearItems() {
    if (!ComponentState().Contains(csDestroying) && Items()->Count() != 0) Items()->SetCount(0);
    FItems.clear();
}

void TacCustomShellListView::Populate() {
    if (ComponentState().Contains(csLoading) && !HandleAllocated()) return;
    SkinData()->BeginUpdate();
    Items()->BeginUpdate();
    const TCursor cursor = Screen != nullptr ? Screen->Cursor() : crDefault;
    if (Screen != nullptr) Screen->SetCursor(crHourGlass);
    base::ScopeExit end([this, cursor] {
        if (Screen != nullptr) Screen->SetCursor(cursor);
        SkinData()->EndUpdate();
        Items()->EndUpdate();
    });
    ClearItems();
    const TacNamespaceFolder* shellFolder = FRootFolder != nullptr ? FRootFolder->ShellFolder() : nullptr;
    // A folder that is gone is bound to the desktop's folder: it lists nothing, not the desktop.
    if (shellFolder == nullptr || !SamePIDL(shellFolder->AbsoluteID(), FRootFolder->AbsoluteID())) return;
    std::vector<TItemIDList> children;
    std::vector<bool> folders;   // from the listing: nothing is asked again about every item
    shellFolder->EnumObjects(ObjectTypesToFlags(FObjectTypes), children, &folders);   // in CompareIDs order
    const std::vector<std::string> words = MaskWords(FMask);
    FItems.reserve(children.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        const TItemIDList& child = children[i];
        const bool isFolder = folders[i];
        std::optional<TacNamespaceFolder> bound;
        if (isFolder) bound = TacNamespaceFolder(ConcatPIDLs(&FRootFolder->AbsoluteID(), child));
        auto folder = std::make_unique<TacShellFolder>(FRootFolder.get(), std::move(bound), child);
        bool canAdd = isFolder || words.empty() || PassesMask(words, FMask, folder->PathName());
        if (OnAddFolder) OnAddFolder(this, folder.get(), canAdd);
        if (canAdd) FItems.push_back({std::move(folder), isFolder});
    }
    // The listing is in CompareIDs order already: folders to the front keeps it within each kind.
    if (FSorted) std::stable_partition(FItems.begin(), FItems.end(), [](const Entry& e) { return e.IsFolder; });
    Items()->SetCount(FolderCount());
}

// ---- What the list asks for ----------------------------------------------------------------------------------

bool TacCustomShellListView::OwnerDataFetch(TListItem* item, TItemRequest request) {
    TacShellFolder* folder = Folders(item->Index());
    if (folder == nullptr) return true;
    if (request.Contains(irText)) item->SetCaption(folder->DisplayName(FShowExt));
    if (request.Contains(irImage)) item->SetImageIndex(folder->ImageIndex(ViewStyle() == vsIcon));
    if (ViewStyle() == vsReport && Columns()->Count() > 1) {
        folder->LoadColumnDetails(FRootFolder.get(), HandleAllocated() ? WindowHandle() : nullptr, Columns()->Count());
        item->SubItems()->Clear();
        for (int i = 1; i < Columns()->Count(); ++i) item->SubItems()->Add(folder->Details(i));
    }
    return true;
}

int TacCustomShellListView::OwnerDataFind(TItemFind find, const std::string& findString, const TPoint&, void*,
    int startIndex, TSearchDirection, bool wrap) {
    if (find != ifPartialString && find != ifExactString) return -1;
    const std::string wanted = base::AnsiUpperCase(findString);
    auto matches = [&](int i) { return base::AnsiUpperCase(Folders(i)->DisplayName(FShowExt)).rfind(wanted, 0) == 0; };
    const int start = std::clamp(startIndex, 0, FolderCount());
    for (int i = start; i < FolderCount(); ++i)
        if (matches(i)) return i;
    if (wrap)
        for (int i = 0; i < start; ++i)
            if (matches(i)) return i;
    return -1;
}

void TacCustomShellListView::CreateColumns() {
    if (FRootFolder == nullptr || FRootFolder->ShellFolder() == nullptr) return;
    Columns()->BeginUpdate();
    SkinData()->BeginUpdate();
    base::ScopeExit end([this] {
        SkinData()->EndUpdate();
        Columns()->EndUpdate();
    });
    Columns()->Clear();
    struct Fixed {
        const char* Caption;
        TAlignment Alignment;
        int Chars;
    };
    // The captions are the desktop's, in its language.
    const Fixed columns[] = {{os::DesktopText("Name", "Имя"), taLeftJustify, 25},
        {os::DesktopText("Size", "Размер"), taRightJustify, 10}, {os::DesktopText("Type", "Тип"), taLeftJustify, 10},
        {os::DesktopText("Modified", "Изменён"), taLeftJustify, 14}};
    // Folders of the file system have the four columns; the desktop and the computer only names.
    const int count = Path().empty() ? 1 : 4;
    const int charWidth = std::max(HandleAllocated() ? StringWidth("X") : 0, 7);
    for (int i = 0; i < count; ++i) {
        TListColumn* column = Columns()->Add();
        column->SetCaption(columns[i].Caption);
        column->SetAlignment(columns[i].Alignment);
        column->SetWidth(charWidth * columns[i].Chars);
    }
}

// ---- Navigation ----------------------------------------------------------------------------------------------

void TacCustomShellListView::SetPath(const TItemIDList& pidl) {
    if (FUpdating) return;
    if (FRootFolder != nullptr && SamePIDL(FRootFolder->AbsoluteID(), pidl)) return;
    FRootFolder = CreateFolderFromPIDL(pidl);
    FRootChanged = false;
    RootChanged();
}

void TacCustomShellListView::TreeUpdate(const TItemIDList& pidl) {
    SetPath(pidl);
}

void TacCustomShellListView::Back() {
    if (FRootFolder == nullptr || FRootFolder->AbsoluteID().IsDesktop()) return;
    TItemIDList parent = FRootFolder->AbsoluteID();
    StripLastID(parent);
    SetPath(parent);
}

void TacCustomShellListView::Refresh() {
    if (FUpdating || FRootFolder == nullptr) return;
    const int selected = SelectedIndex();
    ClearSelection();
    const TItemIDList pidl = FRootFolder->AbsoluteID();
    FRootFolder.reset();   // a missing root is never the same: SetPath lists it again
    SetPath(pidl);
    if (selected >= 0 && selected < FolderCount())
        if (TListItem* item = Items()->Item(selected)) item->SetSelected(true);
}

void TacCustomShellListView::OpenItem(int index) {
    TacShellFolder* folder = Folders(index);
    if (folder == nullptr) return;
    if (IsFolderItem(index)) {
        const TItemIDList pidl = folder->AbsoluteID();   // the folder goes with the list it is in
        SetPath(pidl);
    } else {
        folder->ExecuteDefault();
    }
}

void TacCustomShellListView::EditSelected() {
    const int index = SelectedIndex();
    if (index >= 0) user::SendMessage(WindowHandle(), user::LVM_EDITLABEL, WPARAM(index), 0);
}

void TacCustomShellListView::Edit(const user::LVITEM& item) {
    TacShellFolder* folder = Folders(item.iItem);
    if (folder == nullptr || item.pszText == nullptr) return;
    folder->Rename(item.pszText);   // raises "Rename to %s failed"; nothing is overwritten
    if (HandleAllocated()) user::SendMessage(WindowHandle(), user::LVM_REDRAWITEMS, WPARAM(item.iItem), item.iItem);
}

void TacCustomShellListView::KeyDown(user::WORD& key, TShiftState shift) {
    if (FAutoNavigate) {
        switch (key) {
        case user::VK_BACK:
            if (!IsEditing()) Back();
            break;
        case user::VK_RETURN:
            if (shift.Contains(ssAlt)) {
                if (TacShellFolder* folder = SelectedFolder()) folder->ExecuteVerb("properties");
                key = 0;
            } else {
                OpenItem(SelectedIndex());
            }
            break;
        case user::VK_F5:
            Refresh();
            break;
        default:
            break;
        }
    }
    TsCustomListView::KeyDown(key, shift);
}

void TacCustomShellListView::DblClick() {
    if (FAutoNavigate) OpenItem(SelectedIndex());
    TsCustomListView::DblClick();
}

// ---- The context menu ----------------------------------------------------------------------------------------

void TacCustomShellListView::ExecuteCommand(const std::string& verb, bool& handled) {
    if (verb == "rename") {
        EditSelected();
        handled = true;
    }
    // "open" runs with its folder given to the started program: the current folder stays as it is.
}

void TacCustomShellListView::CommandCompleted(const std::string& verb, bool succeeded) {
    (void)succeeded;
    // Our menu's "New folder" stands where the shell's "paste" would: both add an item.
    if (verb == "delete" || verb == "paste" || verb == "newfolder") Refresh();
}

void TacCustomShellListView::WndProc(TMessage& m) {
    if (m.Msg == user::WM_CONTEXTMENU && FAutoContextMenus && SelectedFolder() != nullptr) {
        const TPoint p = ScreenToClient(TPoint {short(user::LOWORD(m.LParam)), short(user::HIWORD(m.LParam))});
        ShowContextMenu(this, *SelectedFolder(), p.x, p.y);
        return;
    }
    TsCustomListView::WndProc(m);
    // A style change in report view makes the columns again. Our window layer shows and hides scroll bars by
    // setting their style bits, which tells the window too: those notices are no style change of the list.
    if (m.Msg == user::WM_STYLECHANGED && m.LParam != 0 && ViewStyle() == vsReport
        && !ComponentState().Contains(csLoading) && !ComponentState().Contains(csReading)) {
        const auto* change = reinterpret_cast<const user::STYLESTRUCT*>(m.LParam);
        const user::DWORD bars = int(m.WParam) == user::GWL_STYLE ? user::WS_HSCROLL | user::WS_VSCROLL : 0;
        if (((change->styleOld ^ change->styleNew) & ~bars) != 0) CreateColumns();
    }
}

// ---- The open dialog's list ----------------------------------------------------------------------------------

void TsDlgShellListView::KeyDown(user::WORD& key, TShiftState shift) {
    if (key == user::VK_RETURN && !shift.Contains(ssAlt) && !IsEditing()) {
        key = 0;
        if (OnOpen) OnOpen(this);
        return;
    }
    TacCustomShellListView::KeyDown(key, shift);
}

void TsDlgShellListView::DblClick() {
    TsCustomListView::DblClick();
}

}
