// TacCustomShellTreeView and TsShellTreeView: the namespace as a skinned tree of folders below a root, each
// level loaded when it is first expanded; every node's folder object is owned by the tree.
#pragma once

#include "skin/controls/sTreeView.h"
#include "skin/windows/shell/acShellLinks.h"
#include "skin/windows/shell/acShellMenu.h"
#include "skin/windows/shell/acShellRoots.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

namespace korvex::skin {

class TacShellChangeNotifier;

using TacAddFolderEvent = std::function<void(classes::TObject* sender, TacShellFolder* folder, bool& canAdd)>;

class TacCustomShellTreeView : public TsTreeView, public IacShellCommandVerb {
public:
    explicit TacCustomShellTreeView(classes::TComponent* owner);
    ~TacCustomShellTreeView() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void Loaded() override;

    const TacRoot& Root() const { return FRoot; }
    // Another root (rf… names compared without case, paths exactly) repopulates the tree; a text that names
    // nothing keeps the old root and raises "Error Setting Path".
    void SetRoot(const TacRoot& value);
    TacShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(TacShellObjectTypes value);
    TacShowExtension ShowExt() const { return FShowExt; }
    void SetShowExt(TacShowExtension value) { FShowExt = value; }
    bool UseShellImages() const { return FUseShellImages; }
    void SetUseShellImages(bool value);
    bool AutoContextMenus() const { return FAutoContextMenus; }
    void SetAutoContextMenus(bool value) { FAutoContextMenus = value; }
    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool value);
    // Made with the tree without a handler, made anew when AutoRefresh goes on, nullptr once it goes off.
    TacShellChangeNotifier* Notifier() const { return FNotifier; }

    // The linked combo box and file list follow the folder selected here, and this tree follows theirs.
    TacCustomShellComboBox* ShellComboBox() const { return FShellComboBox; }
    void SetShellComboBox(TacCustomShellComboBox* value);
    IacShellListLink* ShellListView() const { return FListLink.List(); }
    void SetShellListView(IacShellListLink* value) { RelinkList(this, FListLink, value, FRoot); }
    classes::TComponent* ShellListViewComponent() const { return FListLink.Component(); }   // for form text
    void SetShellListViewComponent(classes::TComponent* value) {   // raises for a component that is no list
        SetShellListView(TacListLink::FromComponent(value));
    }
    // Back links set by the linked control itself (nullptr clears); they do not call back.
    void LinkComboBox(TacCustomShellComboBox* combo);
    void LinkListView(IacShellListLink* list) { FListLink.Set(this, list); }

    TacShellFolder* RootFolder() const { return FRootFolder.get(); }
    TacShellFolder* Folders(int index) const;   // the folder of node index; nullptr out of range
    TacShellFolder* SelectedFolder() const;
    std::string Path() const;   // the selected folder's path; "" with none
    // Expands every ancestor of the path's folder and selects it; raises EOleSysError for a path that names
    // nothing.
    void SelectPath(const std::string& path);
    void TreeUpdate(const TItemIDList& pidl);
    void Refresh(classes::TTreeNode* node);   // the node's children loaded again, expansion and selection kept
    void RefreshSelected();
    classes::TTreeNode* FindNode(const TItemIDList& pidl) const;   // the node of an absolute list, or nullptr

    TacAddFolderEvent OnAddFolder;

    void ExecuteCommand(const std::string& verb, bool& handled) override;
    void CommandCompleted(const std::string& verb, bool succeeded) override;

protected:
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(classes::TMessage& message) override;
    bool CanExpand(classes::TTreeNode* node) override;
    bool CanChange(classes::TTreeNode* node) override;   // the notifier follows the selection
    void Edit(const user::TVITEM& item) override;
    void Delete(classes::TTreeNode* node) override;
    // The handlers run only with an Images list of the program's own: the system icons stay on the nodes.
    void GetImageIndex(classes::TTreeNode* node) override;
    void GetSelectedIndex(classes::TTreeNode* node) override;
    virtual void ClearFolders();   // frees the root folder and every node

private:
    void PopulateRoot();
    void RootChanged();
    void ClearNodes();
    void PopulateNode(classes::TTreeNode* node);
    classes::TTreeNode* AddChild(classes::TTreeNode* parent, const TItemIDList& relative);
    void SetIcons(classes::TTreeNode* node, const TacShellFolder& folder);
    TacShellFolder* Adopt(classes::TTreeNode* node, std::unique_ptr<TacShellFolder> folder);
    TacShellFolder* FolderOf(const classes::TTreeNode* node) const;
    void ApplyImages();
    user::HIMAGELIST ChosenImageList() const;   // Images' list, else the system list with shell images, else none
    void TellLinked(const TItemIDList& pidl);

    TacRoot FRoot = "rfDesktop";
    TacRoot FOldRoot;
    std::unique_ptr<TacShellFolder> FRootFolder;
    TacShellObjectTypes FObjectTypes {otFolders};
    bool FLoadingRoot = false;
    bool FAutoContextMenus = true;
    bool FLinking = false;
    bool FAutoRefresh = false;
    bool FUseShellImages = true;
    bool FSettingImages = false;   // guards TVM_SETIMAGELIST against re-entry
    bool FDestroyingFolders = false;   // the destructor frees the folders after the nodes
    classes::TTreeNode* FSelecting = nullptr;   // the node being selected, while AutoRefresh is applied again
    std::optional<TItemIDList> FRenamed;   // the renamed node, loaded again once its label edit is over
    TacShowExtension FShowExt = seSystem;
    TacShellChangeNotifier* FNotifier = nullptr;   // owned as a component; cleared in Notification
    TacCustomShellComboBox* FShellComboBox = nullptr;   // cleared in Notification
    TacListLink FListLink;   // forgotten in Notification
    // Every node's folder, owned here; node->Data() points at it.
    std::unordered_map<const classes::TTreeNode*, std::unique_ptr<TacShellFolder>> FFolders;

    void Notification(classes::TComponent* component, classes::TOperation operation) override;
};

class TsShellTreeView : public TacCustomShellTreeView {
public:
    explicit TsShellTreeView(classes::TComponent* owner) : TacCustomShellTreeView(owner) {}
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

}
