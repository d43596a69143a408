// TacCustomShellComboBox and TsShellComboBox: the root, its folders and the chain down to the current folder as
// an indented skinned combo with icons; every item's folder object is owned by the combo.
#pragma once

#include "skin/controls/sComboBoxes_ComboBoxEx.h"
#include "skin/windows/shell/acShellLinks.h"
#include "skin/windows/shell/acShellRoots.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

namespace korvex::skin {

using TacGetImageIndexEvent = std::function<void(classes::TObject* sender, int index, int& imageIndex)>;

class TacCustomShellComboBox : public TsCustomComboBoxEx {
public:
    explicit TacCustomShellComboBox(classes::TComponent* owner);
    ~TacCustomShellComboBox() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void Loaded() override;

    const TacRoot& Root() const { return FRoot; }
    // Another root (rf… names compared without case, paths exactly) rebuilds the list; a text that names
    // nothing keeps the old root and raises "Error Setting Path".
    void SetRoot(const TacRoot& value);
    TacShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(TacShellObjectTypes value);
    bool UseShellImages() const { return FUseShellImages; }
    void SetUseShellImages(bool value);

    // The linked tree and file list follow the folder chosen here, and this combo follows theirs.
    TacCustomShellTreeView* ShellTreeView() const { return FShellTreeView; }
    void SetShellTreeView(TacCustomShellTreeView* value);
    IacShellListLink* ShellListView() const { return FListLink.List(); }
    void SetShellListView(IacShellListLink* value) { RelinkList(this, FListLink, value, FRoot); }
    classes::TComponent* ShellListViewComponent() const { return FListLink.Component(); }   // for form text
    void SetShellListViewComponent(classes::TComponent* value) {   // raises for a component that is no list
        SetShellListView(TacListLink::FromComponent(value));
    }
    // Back links set by the linked control itself (nullptr clears); they do not call back.
    void LinkTreeView(TacCustomShellTreeView* tree);
    void LinkListView(IacShellListLink* list) { FListLink.Set(this, list); }

    TacShellFolder* RootFolder() const { return FRootFolder.get(); }
    // The folder of item index, an index past the end meaning the last item; nullptr with no items or a
    // negative index.
    TacShellFolder* Folders(int index) const;
    TacShellFolder* SelectedFolder() const;
    // The selected folder's path with a trailing "/"; "" with no selection or for a place without a path.
    std::string Path() const;
    // Rebuilds the list from the root with the chain down to pidl's folder, and selects it (the root item when
    // the folder lies outside the root).
    void SetPath(const TItemIDList& pidl);
    // SetPath for a path ("." is the program's folder); raises EOleSysError for one that names nothing.
    void SetPathFromText(const std::string& path);
    void TreeUpdate(const TItemIDList& pidl);   // follows a linked control: SetPath, then OnChange
    int IndexFromID(const TItemIDList& pidl) const;   // the item of an absolute list, the last first; -1 none

    TacGetImageIndexEvent OnGetImageIndex;

protected:
    void CreateWnd() override;
    void Change() override;   // the user's choice goes to the linked controls
    void CloseUp() override;   // the list is rebuilt around the chosen folder
    void Notification(classes::TComponent* component, classes::TOperation operation) override;
    virtual void AddRootItems();
    void ClearItems();
    void CreateRoot();

private:
    bool IsUpdating() const;
    void RootChanged();
    void BuildRoot();   // the root and its items, inside an update of ItemsEx
    void AddItems(int index, TacShellFolder* parent);
    // The new item's index; OnGetImageIndex is asked for every item but the root's.
    int InsertItem(int index, std::unique_ptr<TacShellFolder> folder, bool askImage = true);
    int ShellImage(const TacShellFolder& folder) const;
    void ApplyImages();
    void TellLinked(const TItemIDList& pidl);

    TacRoot FOldRoot;
    TacRoot FRoot = "rfDesktop";
    std::unique_ptr<TacShellFolder> FRootFolder;
    TacCustomShellTreeView* FShellTreeView = nullptr;   // cleared in Notification
    TacListLink FListLink;   // forgotten in Notification
    TacShellObjectTypes FObjectTypes {otFolders};
    bool FUseShellImages = true;
    bool FUpdating = false;
    // Every item's folder, owned here; the item's Data points at it.
    std::unordered_map<const TacShellFolder*, std::unique_ptr<TacShellFolder>> FFolders;
};

class TsShellComboBox : public TacCustomShellComboBox {
public:
    explicit TsShellComboBox(classes::TComponent* owner) : TacCustomShellComboBox(owner) {}
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

}
