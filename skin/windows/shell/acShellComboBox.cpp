// TacCustomShellComboBox: the root and its folders, the chain down to a folder, following the linked tree and
// file list and leading them, and the owned folder objects of the items.
#include "skin/windows/shell/acShellComboBox.h"

#include "platform/base/Exceptions.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TImageList.h"
#include "skin/controls/sControlFrame.h"
#include "skin/windows/shell/acShellIcons.h"
#include "skin/windows/shell/acShellTreeView.h"
#include "platform/os/ProgramFolder.h"

#include <cerrno>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

// The indent of an item: its folder's level.
int IndentOf(const TacShellFolder& folder) {
    return folder.Level();
}

}

TacCustomShellComboBox::TacCustomShellComboBox(TComponent* owner)
    : TsCustomComboBoxEx(owner) {
    SystemImageList(false)->SetBkColor(clNone);   // the icons drawn transparent
}

TacCustomShellComboBox::~TacCustomShellComboBox() {
    if (FShellTreeView != nullptr && FShellTreeView->ShellComboBox() == this) FShellTreeView->LinkComboBox(nullptr);
    if (ShellListView() != nullptr) ShellListView()->LinkComboBox(nullptr);
    if (Images() == SystemImageList(false)) SetImages(nullptr);
    // The items keep plain pointers that nothing reads from here on.
    FFolders.clear();
}

TClass TacCustomShellComboBox::StaticClass() {
    static const TClassInfo info = MakeClass<TacCustomShellComboBox, TsCustomComboBoxEx>("TacCustomShellComboBox");
    return &info;
}

TClass TsShellComboBox::StaticClass() {
    using T = TsShellComboBox;
    static const TClassInfo info = MakeClass<T, TacCustomShellComboBox>("TsShellComboBox", [](TPropertyBuilder<T>& p) {
        p.Color("Color", &T::Color, &T::SetColor, clWindow);
        p.Set("DisabledKind", &T::DisabledKind, &T::SetDisabledKind, DisabledKindIdents, DefaultDisabledKind);
        p.Int("ItemHeight", &T::ItemHeight, &T::SetItemHeight, 16);
        p.Int("DropDownCount", &T::DropDownCount, &T::SetDropDownCount, 14);
        p.String("Root", &T::Root, &T::SetRoot, "rfDesktop");
        p.Component("ShellTreeView", &T::ShellTreeView, &T::SetShellTreeView);
        p.Component("ShellListView", &T::ShellListViewComponent, &T::SetShellListViewComponent);
        p.Bool("UseShellImages", &T::UseShellImages, &T::SetUseShellImages, true);
        p.Event("OnChange", &T::OnChange);
        p.Event("OnCloseUp", &T::OnCloseUp);
        p.Event("OnDrawItem", &T::OnDrawItem);
        p.Event("OnDropDown", &T::OnDropDown);
        p.Event("OnSelect", &T::OnSelect);
        p.Event("OnGetImageIndex", &T::OnGetImageIndex);
    });
    return &info;
}

bool TacCustomShellComboBox::IsUpdating() const {
    return FUpdating || ComponentState().Contains(csLoading);
}

void TacCustomShellComboBox::Loaded() {
    TsCustomComboBoxEx::Loaded();
    ApplyImages();
    if (!FUpdating) CreateRoot();
}

void TacCustomShellComboBox::CreateWnd() {
    TsCustomComboBoxEx::CreateWnd();
    ApplyImages();
    // The items outlive a re-made window (the window takes them back from ItemsEx).
    if (ItemsEx()->Count() == 0 && !IsUpdating()) CreateRoot();
}

// ---- Links ---------------------------------------------------------------------------------------------------

void TacCustomShellComboBox::SetShellTreeView(TacCustomShellTreeView* value) {
    if (value == FShellTreeView) return;
    if (FShellTreeView != nullptr && FShellTreeView->ShellComboBox() == this) FShellTreeView->LinkComboBox(nullptr);
    FShellTreeView = nullptr;
    if (value == nullptr) return;
    value->SetRoot(FRoot);
    value->LinkComboBox(this);
    LinkTreeView(value);
}

void TacCustomShellComboBox::LinkTreeView(TacCustomShellTreeView* tree) {
    FShellTreeView = tree;
    if (tree != nullptr) FreeNotification(tree);
}

void TacCustomShellComboBox::Notification(TComponent* component, TOperation operation) {
    TsCustomComboBoxEx::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FShellTreeView) FShellTreeView = nullptr;
    FListLink.Forget(component);
}

void TacCustomShellComboBox::TellLinked(const TItemIDList& pidl) {
    const TItemIDList chosen = pidl;   // the linked controls may rebuild what pidl lives in
    if (FShellTreeView != nullptr) FShellTreeView->TreeUpdate(chosen);
    if (ShellListView() != nullptr) ShellListView()->TreeUpdate(chosen);
}

// ---- Root ----------------------------------------------------------------------------------------------------

void TacCustomShellComboBox::SetRoot(const TacRoot& value) {
    if (SameRoot(FRoot, value)) return;
    FOldRoot = FRoot;
    FRoot = value;
    RootChanged();
}

void TacCustomShellComboBox::SetObjectTypes(TacShellObjectTypes value) {
    FObjectTypes = value;
    RootChanged();
}

void TacCustomShellComboBox::RootChanged() {
    base::ValueRollback<bool> updating(FUpdating, true);
    CreateRoot();   // raises "Error Setting Path"; FRoot is then the old root again
    if (FShellTreeView != nullptr) FShellTreeView->SetRoot(FRoot);
    if (ShellListView() != nullptr) ShellListView()->SetRoot(FRoot);
}

// ---- Items ---------------------------------------------------------------------------------------------------

void TacCustomShellComboBox::ClearItems() {
    ItemsEx()->BeginUpdate();
    base::ScopeExit end([this] { ItemsEx()->EndUpdate(); });
    for (int i = 0; i < ItemsEx()->Count(); ++i)
        if (TsComboItem* item = ItemsEx()->GetItem(i)) item->Data = nullptr;
    Clear();
    FFolders.clear();
}

void TacCustomShellComboBox::CreateRoot() {
    if (ComponentState().Contains(csLoading) || ControlDesigning(this)) return;
    {
        ItemsEx()->BeginUpdate();
        base::ScopeExit end([this] { ItemsEx()->EndUpdate(); });
        BuildRoot();
    }
    if (ItemsEx()->Count() > 0) SetItemIndex(0);
    if (FUseShellImages) {   // the window is given the list again
        SetUseShellImages(false);
        SetUseShellImages(true);
    }
}

void TacCustomShellComboBox::BuildRoot() {
    ClearItems();
    CreateRootFolder(FRootFolder, FOldRoot, FRoot);   // a root that names nothing leaves the list empty
    FOldRoot = FRoot;
    const TacShellFolder& root = *FRootFolder;
    const TacNamespaceFolder* own = root.ShellFolder();
    InsertItem(0, std::make_unique<TacShellFolder>(nullptr, own ? std::optional(*own) : std::nullopt,
                      root.AbsoluteID()), false);
    AddRootItems();
}

void TacCustomShellComboBox::AddRootItems() {
    ItemsEx()->BeginUpdate();
    base::ScopeExit end([this] { ItemsEx()->EndUpdate(); });
    AddItems(0, FRootFolder.get());
    if (RootFolderFromName(FRoot) != rfDesktop) return;
    // The desktop's computer lists the mounted file systems under it.
    const int computer = IndexFromID(TItemIDList::Item(TacItemKind::Computer, ""));
    if (computer >= 0) AddItems(computer, Folders(computer));
}

void TacCustomShellComboBox::AddItems(int index, TacShellFolder* parent) {
    if (parent == nullptr || parent->ShellFolder() == nullptr) return;
    std::vector<TItemIDList> children;   // in CompareIDs order
    if (!parent->ShellFolder()->EnumObjects(ObjectTypesToFlags(FObjectTypes), children))
        throw EOleSysError(errno != 0 ? errno : EIO);
    for (std::size_t i = 0; i < children.size(); ++i) {
        auto folder = std::make_unique<TacShellFolder>(parent, parent->ShellFolder()->BindToObject(children[i]),
            children[i]);
        InsertItem(index + 1 + static_cast<int>(i), std::move(folder));
    }
}

int TacCustomShellComboBox::InsertItem(int index, std::unique_ptr<TacShellFolder> folder, bool askImage) {
    TacShellFolder* raw = folder.get();
    FFolders.emplace(raw, std::move(folder));
    auto* item = static_cast<TsComboItem*>(ItemsEx()->Insert(index));
    item->Data = raw;
    item->SetCaption(raw->DisplayName(seSystem));
    item->SetIndend(IndentOf(*raw));
    const int image = ShellImage(*raw);
    item->SetImageIndex(image);
    item->SetSelectedImageIndex(image);
    if (askImage && OnGetImageIndex && FUseShellImages) {
        int answer = image;
        OnGetImageIndex(this, item->Index(), answer);
        item->SetImageIndex(answer);
    }
    return item->Index();
}

int TacCustomShellComboBox::ShellImage(const TacShellFolder& folder) const {
    return FUseShellImages ? GetShellImage(folder.AbsoluteID(), false, false) : -1;
}

int TacCustomShellComboBox::IndexFromID(const TItemIDList& pidl) const {
    for (int i = ItemsEx()->Count() - 1; i >= 0; --i)
        if (const TacShellFolder* folder = Folders(i); folder != nullptr && SamePIDL(folder->AbsoluteID(), pidl))
            return i;
    return -1;
}

TacShellFolder* TacCustomShellComboBox::Folders(int index) const {
    const int count = ItemsEx()->Count();
    if (count == 0 || index < 0) return nullptr;
    const TsComboItem* item = ItemsEx()->GetItem(std::min(index, count - 1));
    // Only folders this combo owns: an item copied from elsewhere may carry any pointer.
    const auto found = item != nullptr ? FFolders.find(static_cast<const TacShellFolder*>(item->Data)) : FFolders.end();
    return found != FFolders.end() ? found->second.get() : nullptr;
}

TacShellFolder* TacCustomShellComboBox::SelectedFolder() const {
    return ItemIndex() >= 0 ? Folders(ItemIndex()) : nullptr;
}

std::string TacCustomShellComboBox::Path() const {
    const TacShellFolder* folder = SelectedFolder();
    std::string path = folder != nullptr ? folder->PathName() : std::string();
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

// ---- Following a folder --------------------------------------------------------------------------------------

void TacCustomShellComboBox::SetPath(const TItemIDList& pidl) {
    if (ComponentState().Contains(csLoading) || ControlDesigning(this)) return;
    std::vector<TItemIDList> chain = CreatePIDLList(pidl);   // copies: the rebuild frees the items' lists
    chain.push_back(pidl);
    int selected = -1;
    {
        ItemsEx()->BeginUpdate();
        base::ScopeExit end([this] { ItemsEx()->EndUpdate(); });
        BuildRoot();
        // The deepest of the chain that is an item already; the rest go in below it, one level deeper each.
        std::size_t from = chain.size();
        while (from > 0 && selected < 0) selected = IndexFromID(chain[--from]);
        for (std::size_t i = from + 1; selected >= 0 && i < chain.size(); ++i) {
            TacShellFolder* above = Folders(selected);
            if (above == nullptr || above->ShellFolder() == nullptr) {
                selected = -1;
                break;
            }
            const TItemIDList last = CopyLastID(chain[i]);
            selected = InsertItem(selected + 1,
                std::make_unique<TacShellFolder>(above, above->ShellFolder()->BindToObject(last), last));
        }
    }
    if (ItemsEx()->Count() > 0) SetItemIndex(selected >= 0 ? selected : 0);
}

void TacCustomShellComboBox::SetPathFromText(const std::string& path) {
    const std::optional<TItemIDList> pidl = ParseDisplayName(path == "." ? os::ProgramFolder() : path);
    if (!pidl) throw EOleSysError(errno != 0 ? errno : EINVAL);
    SetPath(*pidl);
}

void TacCustomShellComboBox::TreeUpdate(const TItemIDList& pidl) {
    if (IsUpdating()) return;
    if (const TacShellFolder* selected = SelectedFolder(); selected != nullptr && SamePIDL(selected->AbsoluteID(), pidl))
        return;
    base::ValueRollback<bool> updating(FUpdating, true);
    SetPath(pidl);
    if (OnChange) OnChange(this);
}

void TacCustomShellComboBox::Change() {
    if (ItemsEx()->UpdateCount() > 0) return;
    TsCustomComboBoxEx::Change();
    const TacShellFolder* selected = SelectedFolder();
    if (selected == nullptr || IsUpdating() || DroppedDown()) return;
    base::ValueRollback<bool> updating(FUpdating, true);
    TellLinked(selected->AbsoluteID());
}

void TacCustomShellComboBox::CloseUp() {
    base::ValueRollback<bool> updating(FUpdating, true);
    if (const TacShellFolder* selected = SelectedFolder()) {
        SetPath(TItemIDList(selected->AbsoluteID()));
        // A choice made with keys in the open list was reported while it was open: the linked controls
        // hear of it now.
        if ((selected = SelectedFolder())) TellLinked(selected->AbsoluteID());
    }
    Click();
    TsCustomComboBoxEx::CloseUp();
}

// ---- Images --------------------------------------------------------------------------------------------------

void TacCustomShellComboBox::SetUseShellImages(bool value) {
    FUseShellImages = value;
    ApplyImages();   // the items made from now on take their images by it
}

void TacCustomShellComboBox::ApplyImages() {
    TImageList* system = SystemImageList(false);
    if (Images() != nullptr) return;   // the user's own list, or the system list given before (kept when off)
    if (FUseShellImages && !ControlDesigning(this)) SetImages(system);
}

}
