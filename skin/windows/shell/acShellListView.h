// TacCustomShellListView, TsShellListView and TsDlgShellListView: the items of one namespace folder as a skinned
// owner-data list (folders first, an extension mask, the file-system columns in report view), and the open
// dialog's variant.
#pragma once

#include "skin/controls/sListView.h"
#include "skin/windows/shell/acShellLinks.h"
#include "skin/windows/shell/acShellMenu.h"
#include "skin/windows/shell/acShellTreeView.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvex::skin {

class TacShellChangeNotifier;

// The words of an extension mask, upper-cased: "*.html;*.htm" gives HTML and HTM ("*", "." and ";" separate).
std::vector<std::string> MaskWords(const std::string& mask);

class TacCustomShellListView : public TsCustomListView, public IacShellCommandVerb, public IacShellListLink {
public:
    explicit TacCustomShellListView(classes::TComponent* owner);
    ~TacCustomShellListView() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void Loaded() override;

    const TacRoot& Root() const { return FRoot; }
    // Another root (rf… names compared without case, paths exactly) lists that folder and passes the root on
    // to the linked tree; a text that names nothing keeps the old root and raises "Error Setting Path".
    void SetRoot(const TacRoot& value) override;
    TacShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    void SetObjectTypes(TacShellObjectTypes value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    const std::string& Mask() const { return FMask; }
    void SetMask(const std::string& value);   // file masks such as "*.html;*.htm"; folders always pass
    TacShowExtension ShowExt() const { return FShowExt; }
    void SetShowExt(TacShowExtension value);
    bool AutoContextMenus() const { return FAutoContextMenus; }
    void SetAutoContextMenus(bool value) { FAutoContextMenus = value; }
    bool AutoNavigate() const { return FAutoNavigate; }
    void SetAutoNavigate(bool value) { FAutoNavigate = value; }
    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool value);
    TacShellChangeNotifier* Notifier() const { return FNotifier; }   // while AutoRefresh is on
    // The linked tree and combo box follow the folder shown here, and this list follows theirs. A new one
    // takes the list's root and links back; nullptr unlinks the old one.
    TacCustomShellTreeView* ShellTreeView() const { return FShellTreeView; }
    void SetShellTreeView(TacCustomShellTreeView* value);
    TacCustomShellComboBox* ShellComboBox() const { return FShellComboBox; }
    void SetShellComboBox(TacCustomShellComboBox* value);
    // Back links set by the linked control itself (nullptr clears); they do not call back.
    void LinkTreeView(TacCustomShellTreeView* tree) override;
    void LinkComboBox(TacCustomShellComboBox* combo) override;
    classes::TComponent* LinkedComponent() override { return this; }

    TacShellFolder* RootFolder() const { return FRootFolder.get(); }
    std::string Path() const;   // the shown folder's path; "" for the desktop and the computer
    int FolderCount() const { return static_cast<int>(FItems.size()); }
    TacShellFolder* Folders(int index) const;   // nullptr out of range
    bool IsFolderItem(int index) const;   // as listed: a folder or a link to one
    TacShellFolder* SelectedFolder() const;   // the first selected item's folder, or nullptr
    std::vector<TacShellFolder*> SelectedFolders() const;   // every selected item's folder, in list order

    // Shows the folder of an absolute list (nothing while the linked controls are being updated, or when it
    // is already shown).
    void SetPath(const TItemIDList& pidl);
    void TreeUpdate(const TItemIDList& pidl) override;   // from a linked control
    void Back();   // the parent folder; nothing at the desktop
    // Lists the folder again; the selection stays on the same index while the list still reaches it.
    void Refresh();
    void EditSelected();
    virtual void Populate();

    TacAddFolderEvent OnAddFolder;

    void ExecuteCommand(const std::string& verb, bool& handled) override;
    void CommandCompleted(const std::string& verb, bool succeeded) override;

protected:
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(classes::TMessage& message) override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;
    bool OwnerDataFetch(classes::TListItem* item, classes::TItemRequest request) override;
    int OwnerDataFind(classes::TItemFind find, const std::string& findString, const classes::TPoint& findPosition,
        void* findData, int startIndex, classes::TSearchDirection direction, bool wrap) override;
    void Edit(const user::LVITEM& item) override;
    void KeyDown(user::WORD& key, classes::TShiftState shift) override;
    void DblClick() override;
    void OpenItem(int index);   // a folder is shown, anything else started with the desktop's opener
    bool Updating() const { return FUpdating; }

private:
    struct Entry {
        std::unique_ptr<TacShellFolder> Folder;
        bool IsFolder = false;
    };

    void RootChanged();
    void ClearItems();
    void CreateColumns();
    int SelectedIndex() const;

    TacRoot FOldRoot;
    TacRoot FRoot = "rfDesktop";
    std::unique_ptr<TacShellFolder> FRootFolder;
    bool FAutoContextMenus = true;
    bool FAutoRefresh = false;
    bool FAutoNavigate = true;
    bool FSorted = true;
    bool FUpdating = false;
    TacShellObjectTypes FObjectTypes {otFolders, otNonFolders};
    std::vector<Entry> FItems;   // one per list item, in display order
    TacCustomShellTreeView* FShellTreeView = nullptr;   // cleared in Notification
    TacCustomShellComboBox* FShellComboBox = nullptr;   // cleared in Notification
    TacShellChangeNotifier* FNotifier = nullptr;   // owned as a component; cleared in Notification
    bool FRootChanged = false;   // the root text changed (not a folder navigated to)
    std::string FMask;
    TacShowExtension FShowExt = seSystem;
};

class TsShellListView : public TacCustomShellListView {
public:
    explicit TsShellListView(classes::TComponent* owner) : TacCustomShellListView(owner) {}
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

// The open dialog's list: a double click only fires OnDblClick and Enter fires OnOpen (the dialog decides
// what opening means); neither starts a file.
class TsDlgShellListView : public TsShellListView {
public:
    explicit TsDlgShellListView(classes::TComponent* owner) : TsShellListView(owner) {}
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    classes::TNotifyEvent OnOpen;

protected:
    void KeyDown(user::WORD& key, classes::TShiftState shift) override;
    void DblClick() override;
};

}
