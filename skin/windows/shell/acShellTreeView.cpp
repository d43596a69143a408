// TacCustomShellTreeView: the root, loading a level when it is expanded, following a path, refreshing a node,
// renaming by label editing, and the context menu's verbs.
#include "skin/windows/shell/acShellTreeView.h"

#include "platform/base/Exceptions.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TScreen.h"
#include "platform/user/Messages.h"
#include "platform/user/MessageIds.h"
#include "platform/user/controls/TreeView.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sStyleSimply.h"
#include "skin/windows/shell/acShellChangeNotifier.h"
#include "skin/windows/shell/acShellComboBox.h"
#include "skin/windows/shell/acShellIcons.h"

#include <cerrno>
#include <filesystem>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

// Posted after a rename: the renamed node is loaded again once the label edit is over.
inline constexpr user::UINT CM_REFRESHRENAMED = user::WM_USER + 0x7A1;

// Whether any entry (a dangling link too) is at path.
bool EntryExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found && !error;
}

std::optional<TacNamespaceFolder> FolderCopy(const TacNamespaceFolder* folder) {
    if (folder == nullptr) return std::nullopt;
    return *folder;
}

}

TacCustomShellTreeView::TacCustomShellTreeView(TComponent* owner)
    : TsTreeView(owner) {
    SetRightClickSelect(true);
    FNotifier = Create<TacShellChangeNotifier>(this);   // no handler: it watches nothing until AutoRefresh
}

TacCustomShellTreeView::~TacCustomShellTreeView() {
    if (FShellComboBox != nullptr && FShellComboBox->ShellTreeView() == this) FShellComboBox->LinkTreeView(nullptr);
    if (ShellListView() != nullptr) ShellListView()->LinkTreeView(nullptr);
    FDestroyingFolders = true;
    Items()->Clear();
    FFolders.clear();
    FRootFolder.reset();
}

TClass TacCustomShellTreeView::StaticClass() {
    static const TClassInfo info = MakeClass<TacCustomShellTreeView, TsTreeView>("TacCustomShellTreeView");
    return &info;
}

TClass TsShellTreeView::StaticClass() {
    using T = TsShellTreeView;
    static const TClassInfo info = MakeClass<T, TacCustomShellTreeView>("TsShellTreeView", [](TPropertyBuilder<T>& p) {
        p.Bool("AutoContextMenus", &T::AutoContextMenus, &T::SetAutoContextMenus, true);
        p.Bool("AutoRefresh", &T::AutoRefresh, &T::SetAutoRefresh, false);
        p.String("Root", &T::Root, &T::SetRoot, "rfDesktop");
        p.Component("ShellComboBox", &T::ShellComboBox, &T::SetShellComboBox);
        p.Component("ShellListView", &T::ShellListViewComponent, &T::SetShellListViewComponent);
        p.Bool("UseShellImages", &T::UseShellImages, &T::SetUseShellImages, true);
        p.Set("ObjectTypes", &T::ObjectTypes, &T::SetObjectTypes, ShellObjectTypeIdents,
            TacShellObjectTypes {otFolders});
        p.Enum("ShowExt", &T::ShowExt, &T::SetShowExt, ShowExtensionIdents, seSystem);
        p.Event("OnAddFolder", &T::OnAddFolder);
    });
    return &info;
}

void TacCustomShellTreeView::Loaded() {
    TsTreeView::Loaded();
    PopulateRoot();
    if (FAutoRefresh) SetAutoRefresh(true);
}

void TacCustomShellTreeView::Notification(TComponent* component, TOperation operation) {
    TsTreeView::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FNotifier) FNotifier = nullptr;
    if (component == FShellComboBox) FShellComboBox = nullptr;
    FListLink.Forget(component);
}

// ---- Links ---------------------------------------------------------------------------------------------------

void TacCustomShellTreeView::SetShellComboBox(TacCustomShellComboBox* value) {
    if (value == FShellComboBox) return;
    if (FShellComboBox != nullptr && FShellComboBox->ShellTreeView() == this) FShellComboBox->LinkTreeView(nullptr);
    FShellComboBox = nullptr;
    if (value == nullptr) return;
    value->SetRoot(FRoot);
    value->LinkTreeView(this);
    LinkComboBox(value);
}

void TacCustomShellTreeView::LinkComboBox(TacCustomShellComboBox* combo) {
    FShellComboBox = combo;
    if (combo != nullptr) FreeNotification(combo);
}

void TacCustomShellTreeView::TellLinked(const TItemIDList& pidl) {
    const TItemIDList chosen = pidl;   // the linked controls may rebuild what pidl lives in
    if (FShellComboBox != nullptr) FShellComboBox->TreeUpdate(chosen);
    if (ShellListView() != nullptr) ShellListView()->TreeUpdate(chosen);
}

void TacCustomShellTreeView::CreateWnd() {
    TsTreeView::CreateWnd();
    ClearNodes();
    ApplyImages();
    if (!FLoadingRoot) PopulateRoot();
}

void TacCustomShellTreeView::DestroyWnd() {
    ClearNodes();
    TsTreeView::DestroyWnd();
}

// ---- Folders of nodes ----------------------------------------------------------------------------------------

TacShellFolder* TacCustomShellTreeView::Adopt(TTreeNode* node, std::unique_ptr<TacShellFolder> folder) {
    TacShellFolder* raw = folder.get();
    FFolders.insert_or_assign(node, std::move(folder));
    node->SetData(raw);
    return raw;
}

TacShellFolder* TacCustomShellTreeView::FolderOf(const TTreeNode* node) const {
    if (node == nullptr) return nullptr;
    const auto found = FFolders.find(node);
    return found != FFolders.end() ? found->second.get() : nullptr;
}

TacShellFolder* TacCustomShellTreeView::Folders(int index) const {
    return FolderOf(Items()->Item(index));
}

TacShellFolder* TacCustomShellTreeView::SelectedFolder() const {
    return FolderOf(Selected());
}

std::string TacCustomShellTreeView::Path() const {
    const TacShellFolder* folder = SelectedFolder();
    return folder != nullptr ? folder->PathName() : std::string();
}

void TacCustomShellTreeView::Delete(TTreeNode* node) {
    TsTreeView::Delete(node);
    if (FDestroyingFolders) return;
    node->SetData(nullptr);
    FFolders.erase(node);
}

void TacCustomShellTreeView::ClearNodes() {
    Items()->BeginUpdate();
    base::ScopeExit end([this] { Items()->EndUpdate(); });
    Items()->Clear();
    FFolders.clear();
}

void TacCustomShellTreeView::ClearFolders() {
    ClearNodes();
    FRootFolder.reset();
}

// ---- Root ----------------------------------------------------------------------------------------------------

void TacCustomShellTreeView::SetRoot(const TacRoot& value) {
    if (SameRoot(FRoot, value)) return;
    FOldRoot = FRoot;
    FRoot = value;
    if (!FLinking) RootChanged();
}

void TacCustomShellTreeView::SetObjectTypes(TacShellObjectTypes value) {
    FObjectTypes = value;
    RootChanged();
}

void TacCustomShellTreeView::RootChanged() {
    if (FLinking) return;
    base::ValueRollback<bool> linking(FLinking, true);
    PopulateRoot();   // raises "Error Setting Path"; FRoot is then the old root again
    if (FShellComboBox != nullptr) FShellComboBox->SetRoot(FRoot);
    if (ShellListView() != nullptr) ShellListView()->SetRoot(FRoot);
}

void TacCustomShellTreeView::PopulateRoot() {
    if (ComponentState().Contains(csLoading) || ControlDesigning(this)) return;
    CreateRootFolder(FRootFolder, FOldRoot, FRoot);   // raises "Error Setting Path"; FRoot is then the old root
    FOldRoot = FRoot;
    if (FRootFolder == nullptr) return;
    base::ValueRollback<bool> loading(FLoadingRoot, true);
    ClearNodes();
    auto folder = std::make_unique<TacShellFolder>(nullptr, FolderCopy(FRootFolder->ShellFolder()),
        FRootFolder->AbsoluteID());
    const TacNamespaceFolder desktop = DesktopFolder();
    TTreeNode* node = Items()->Add(nullptr, GetDisplayName(&desktop, folder->AbsoluteID(), SHGDN_NORMAL, FShowExt));
    TacShellFolder* raw = Adopt(node, std::move(folder));
    SetIcons(node, *raw);
    node->SetHasChildren(raw->HasSubFolder());
    node->SetExpanded(true);
    SetSelected(node);
}

// ---- Loading levels ------------------------------------------------------------------------------------------

void TacCustomShellTreeView::SetIcons(TTreeNode* node, const TacShellFolder& folder) {
    if (!FUseShellImages || Images() != nullptr) return;
    node->SetImageIndex(GetShellImage(folder.AbsoluteID(), false, false));
    const int open = GetShellImage(folder.AbsoluteID(), false, true);
    node->SetSelectedIndex(open == 0 ? node->ImageIndex() : open);
}

TTreeNode* TacCustomShellTreeView::AddChild(TTreeNode* parent, const TItemIDList& relative) {
    TacShellFolder* parentFolder = FolderOf(parent);
    if (parentFolder == nullptr || parentFolder->ShellFolder() == nullptr) return nullptr;
    auto folder = std::make_unique<TacShellFolder>(parentFolder, parentFolder->ShellFolder()->BindToObject(relative),
        relative);
    TTreeNode* node = Items()->AddChild(parent, folder->DisplayName(FShowExt));
    TacShellFolder* raw = Adopt(node, std::move(folder));
    SetIcons(node, *raw);
    node->SetHasChildren(raw->HasSubFolder());
    if (raw->Properties() & fpShare) node->SetOverlayIndex(0);
    if (FObjectTypes.Contains(otNonFolders) && raw->ShellFolder() != nullptr)
        node->SetHasChildren(CanEnumerate(*raw->ShellFolder(), ObjectTypesToFlags(FObjectTypes)));
    if (OnAddFolder) {
        bool canAdd = true;
        OnAddFolder(this, raw, canAdd);
        if (!canAdd) {
            node->Delete();
            return nullptr;
        }
    }
    return node;
}

void TacCustomShellTreeView::PopulateNode(TTreeNode* node) {
    TacShellFolder* folder = FolderOf(node);
    if (folder == nullptr || folder->ShellFolder() == nullptr) return;
    const TCursor cursor = Screen != nullptr ? Screen->Cursor() : crDefault;
    if (Screen != nullptr) Screen->SetCursor(crHourGlass);
    Items()->BeginUpdate();
    base::ScopeExit end([this, cursor] {
        Items()->EndUpdate();
        if (Screen != nullptr) Screen->SetCursor(cursor);
    });
    std::vector<TItemIDList> children;   // in CompareIDs order
    folder->ShellFolder()->EnumObjects(ObjectTypesToFlags(FObjectTypes), children);
    for (const TItemIDList& child : children) AddChild(node, child);
}

bool TacCustomShellTreeView::CanExpand(TTreeNode* node) {
    if (!TsTreeView::CanExpand(node)) return false;
    TacShellFolder* folder = FolderOf(node);
    if (folder == nullptr) return true;
    if (folder->IsFolder(true)) {
        if (node->HasChildren() && node->Count() == 0) PopulateNode(node);
    } else {
        folder->ExecuteDefault();
    }
    node->SetHasChildren(node->Count() > 0);
    return true;
}

// ---- Finding, following and refreshing -----------------------------------------------------------------------

namespace {

// The node of pidl among start and the nodes below it (every node when start is nullptr).
TTreeNode* FindFrom(TTreeNode* first, const TTreeNode* start, const TItemIDList& pidl) {
    for (TTreeNode* n = first; n != nullptr; n = n->GetNext()) {
        if (start != nullptr && n != start && n->Level() <= start->Level()) break;
        auto* folder = static_cast<TacShellFolder*>(n->Data());
        if (folder != nullptr && SamePIDL(folder->AbsoluteID(), pidl)) return n;
    }
    return nullptr;
}

}

TTreeNode* TacCustomShellTreeView::FindNode(const TItemIDList& pidl) const {
    return FindFrom(Items()->GetFirstNode(), nullptr, pidl);
}

void TacCustomShellTreeView::SelectPath(const std::string& path) {
    const std::optional<TItemIDList> pidl = ParseDisplayName(path);
    if (!pidl) throw EOleSysError(errno != 0 ? errno : EINVAL);
    TreeUpdate(*pidl);
}

void TacCustomShellTreeView::TreeUpdate(const TItemIDList& pidl) {
    if (FLinking || ComponentState().Contains(csLoading) || Items()->Count() == 0) return;
    if (const TacShellFolder* selected = SelectedFolder(); selected != nullptr && SamePIDL(selected->AbsoluteID(), pidl))
        return;
    base::ValueRollback<bool> linking(FLinking, true);
    Items()->BeginUpdate();
    base::ScopeExit end([this] { Items()->EndUpdate(); });
    for (const TItemIDList& ancestor : CreatePIDLList(pidl))
        if (TTreeNode* node = FindNode(ancestor)) node->SetExpanded(true);
    if (TTreeNode* node = FindNode(pidl)) {
        SetSelected(node);
        node->MakeVisible();
        if (const TacShellFolder* folder = FolderOf(node)) TellLinked(folder->AbsoluteID());
    }
}

void TacCustomShellTreeView::Refresh(TTreeNode* node) {
    TacShellFolder* folder = FolderOf(node);
    if (folder == nullptr || folder->ShellFolder() == nullptr) return;
    std::vector<TItemIDList> expanded;
    for (TTreeNode* n = node; n != nullptr && (n == node || n->Level() > node->Level()); n = n->GetNext())
        if (n->Expanded() && FolderOf(n) != nullptr) expanded.push_back(FolderOf(n)->AbsoluteID());
    std::optional<TItemIDList> selected;
    std::optional<TItemIDList> top;
    if (SelectedFolder() != nullptr) selected = SelectedFolder()->AbsoluteID();
    if (FolderOf(TopItem()) != nullptr) top = FolderOf(TopItem())->AbsoluteID();
    Items()->BeginUpdate();
    SkinData()->BeginUpdate();
    base::ScopeExit end([this] {
        SkinData()->EndUpdate();
        Items()->EndUpdate();
    });
    // Bound again: a renamed folder's own folder still names the old path.
    std::optional<TacNamespaceFolder> bound = folder->ParentShellFolder().BindToObject(folder->RelativeID());
    if (!bound) bound = FolderCopy(folder->ShellFolder());
    auto fresh = std::make_unique<TacShellFolder>(folder->Parent(), std::move(bound), folder->RelativeID());
    const TacNamespaceFolder desktop = DesktopFolder();
    const std::string text = node->Level() == 0 ? GetDisplayName(&desktop, fresh->AbsoluteID(), SHGDN_NORMAL, FShowExt)
                                                : fresh->DisplayName(FShowExt);
    TTreeNode* renewed = Items()->Insert(node, text);
    TacShellFolder* raw = Adopt(renewed, std::move(fresh));
    SetIcons(renewed, *raw);
    PopulateNode(renewed);
    renewed->SetHasChildren(renewed->Count() > 0);
    for (const TItemIDList& pidl : expanded)
        if (TTreeNode* n = FindFrom(renewed, renewed, pidl)) n->SetExpanded(true);
    node->Delete();
    if (selected)
        if (TTreeNode* n = FindNode(*selected)) SetSelected(n);
    if (top)
        if (TTreeNode* n = FindNode(*top)) SetTopItem(n);
}

void TacCustomShellTreeView::RefreshSelected() {
    if (Selected() != nullptr) Refresh(Selected());
}

// ---- Images, refreshing by the notifier ----------------------------------------------------------------------

void TacCustomShellTreeView::SetUseShellImages(bool value) {
    FUseShellImages = value;
    ApplyImages();
}

user::HIMAGELIST TacCustomShellTreeView::ChosenImageList() const {
    if (Images() != nullptr) return Images()->Handle();
    TImageList* system = FUseShellImages ? SystemImageList(false) : nullptr;
    return system != nullptr ? system->Handle() : nullptr;
}

void TacCustomShellTreeView::ApplyImages() {
    if (!HandleAllocated()) return;
    user::SendMessage(WindowHandle(), user::TVM_SETIMAGELIST, user::TVSIL_NORMAL,
        reinterpret_cast<LPARAM>(ChosenImageList()));
}

void TacCustomShellTreeView::GetImageIndex(TTreeNode* node) {
    if (Images() != nullptr) TsTreeView::GetImageIndex(node);
}

void TacCustomShellTreeView::GetSelectedIndex(TTreeNode* node) {
    if (Images() != nullptr) TsTreeView::GetSelectedIndex(node);
}

void TacCustomShellTreeView::SetAutoRefresh(bool value) {
    FAutoRefresh = value;
    if (ComponentState().Contains(csLoading) || ControlDesigning(this)) return;
    delete FNotifier;
    FNotifier = nullptr;
    if (!value) return;
    FNotifier = Create<TacShellChangeNotifier>(this);
    FNotifier->SetWatchSubTree(false);
    const TacShellFolder* folder = FSelecting != nullptr ? FolderOf(FSelecting) : FRootFolder.get();
    FNotifier->SetRoot(folder != nullptr ? folder->PathName() : std::string());
    FNotifier->SetOnChange([this] { RefreshSelected(); });
}

bool TacCustomShellTreeView::CanChange(TTreeNode* node) {
    if (!TsTreeView::CanChange(node)) return false;
    if (node == nullptr || FLinking) return true;
    // The linked controls show the folder about to be selected; the notifier watches it.
    const TacShellFolder* folder = FolderOf(node);
    if (folder != nullptr && !folder->IsFolder(true)) folder = FolderOf(node->Parent());
    if (folder == nullptr) return true;
    // Switched off meanwhile, then on again for the node being selected (a notifier calling here is freed: its
    // call holds nothing of it).
    const bool autoRefresh = FAutoRefresh;
    SetAutoRefresh(false);
    {
        base::ValueRollback<bool> linking(FLinking, true);
        TellLinked(folder->AbsoluteID());
    }
    base::ValueRollback<TTreeNode*> selecting(FSelecting, node);
    SetAutoRefresh(autoRefresh);
    return true;
}

// ---- Renaming and the context menu's verbs -------------------------------------------------------------------

void TacCustomShellTreeView::Edit(const user::TVITEM& item) {
    TTreeNode* node = Items()->GetNode(item.hItem);
    if (node == nullptr || item.pszText == nullptr) return;
    std::string text = item.pszText;
    if (OnEdited) OnEdited(this, node, text);
    node = Items()->GetNode(item.hItem);   // the handler may have deleted it
    TacShellFolder* folder = FolderOf(node);
    if (folder == nullptr) return;
    folder->Rename(text);   // raises "Rename to %s failed"; the node keeps its text
    node->SetText(folder->DisplayName(FShowExt));
    // The parent is loaded again (the node takes its place among its siblings, its children their new paths)
    // once the native edit is over; a top node has no parent and is loaded again itself.
    const TacShellFolder* reload = node->Parent() != nullptr ? FolderOf(node->Parent()) : nullptr;
    FRenamed = reload != nullptr ? reload->AbsoluteID() : folder->AbsoluteID();
    if (HandleAllocated()) user::PostMessage(WindowHandle(), CM_REFRESHRENAMED, 0, 0);
}

void TacCustomShellTreeView::ExecuteCommand(const std::string& verb, bool& handled) {
    if (verb == "rename" && Selected() != nullptr) {
        Selected()->EditText();
        handled = true;
    }
    // "open" runs with its folder given to the started program: the current folder stays as it is.
}

void TacCustomShellTreeView::CommandCompleted(const std::string& verb, bool succeeded) {
    TTreeNode* node = Selected();
    if (!succeeded || node == nullptr) return;
    if (verb == "delete") {
        const TacShellFolder* folder = FolderOf(node);
        if (folder != nullptr && !EntryExists(folder->PathName())) node->Delete();
    } else if (verb == "paste") {
        Refresh(node);
    }
}

void TacCustomShellTreeView::WndProc(TMessage& m) {
    // Whoever sets the normal image list, the tree's own choice is set.
    if (m.Msg == user::TVM_SETIMAGELIST && m.WParam == user::TVSIL_NORMAL && !FSettingImages) {
        base::ValueRollback<bool> guard(FSettingImages, true);
        m.LParam = reinterpret_cast<LPARAM>(ChosenImageList());
        TsTreeView::WndProc(m);
        return;
    }
    if (m.Msg == CM_REFRESHRENAMED) {
        const std::optional<TItemIDList> renamed = std::exchange(FRenamed, std::nullopt);
        if (renamed)
            if (TTreeNode* node = FindNode(*renamed)) Refresh(node);
        return;
    }
    if (m.Msg == user::WM_CONTEXTMENU && FAutoContextMenus && (PopupMenu() == nullptr || !PopupMenu()->AutoPopup())
        && SelectedFolder() != nullptr) {
        const TPoint p = ScreenToClient(TPoint {short(user::LOWORD(m.LParam)), short(user::HIWORD(m.LParam))});
        ShowContextMenu(this, *SelectedFolder(), p.x, p.y);
        return;
    }
    TsTreeView::WndProc(m);
    // The system icons are drawn on the control's own colour.
    if (m.Msg == user::WM_NCPAINT && HandleAllocated())
        if (TImageList* system = SystemImageList(false)) system->SetBkColor(QueryControlColor(this));
}

}
