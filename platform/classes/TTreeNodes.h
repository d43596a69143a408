// TTreeNode and TTreeNodes: the nodes of a tree view, kept by the class and mirrored in the native tree.
#pragma once

#include "platform/classes/GraphicsTypes.h"
#include "platform/classes/TPersistent.h"
#include "platform/user/controls/TreeView.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvex::classes {

class TCustomTreeView;
class TTreeNodes;

// One node. Its children are owned by it, the top-level nodes by the tree's TTreeNodes; a node freed by
// Delete (or by the native tree deleting its item) frees its children. ItemId is the native item while
// the tree has a window.
class TTreeNode : public TPersistent {
public:
    explicit TTreeNode(TTreeNodes* owner);
    ~TTreeNode() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const std::string& Text() const { return FText; }
    void SetText(const std::string& value);
    void* Data() const { return FData; }
    void SetData(void* value) { FData = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    int SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int value);
    int OverlayIndex() const { return FOverlayIndex; }
    void SetOverlayIndex(int value);
    bool HasChildren() const;   // as set, else whether it has child nodes
    void SetHasChildren(bool value);
    bool Expanded() const;
    void SetExpanded(bool value);
    bool Selected() const;
    void SetSelected(bool value);
    bool Focused() const { return Selected(); }

    TTreeNodes* Owner() const { return FOwner; }
    TCustomTreeView* TreeView() const;
    user::HTREEITEM ItemId() const { return FItemId; }
    TTreeNode* Parent() const { return FParent; }
    int Count() const { return int(FChildren.size()); }
    TTreeNode* Item(int index) const;   // nullptr out of range
    int Index() const;   // among its siblings
    int AbsoluteIndex() const;   // in the whole tree, in display order of a fully expanded tree
    int Level() const;   // 0 for top-level nodes
    bool IsVisible() const;   // every ancestor expanded
    TTreeNode* getFirstChild() const { return Item(0); }
    TTreeNode* GetLastChild() const { return Item(Count() - 1); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    TTreeNode* GetNext() const;   // the next node in a fully expanded tree
    TTreeNode* GetPrev() const;
    bool HasAsParent(const TTreeNode* value) const;

    void Expand(bool recurse);
    void Collapse(bool recurse);
    void Delete();   // frees this node (and its children)
    void DeleteChildren();
    bool EditText();   // starts editing the label; false when refused
    void EndEdit(bool cancel);
    TRect DisplayRect(bool textOnly) const;   // empty while not shown
    void MakeVisible();
    bool AlphaSort(bool recurse = false);
    bool CustomSort(const std::function<int(TTreeNode*, TTreeNode*)>& compare, bool recurse = false);

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    void ForEachChild(const std::function<void(TTreeNode*)>& action);

    TTreeNodes* FOwner;
    TTreeNode* FParent = nullptr;
    std::vector<std::unique_ptr<TTreeNode>> FChildren;
    user::HTREEITEM FItemId = nullptr;
    std::string FText;
    void* FData = nullptr;
    int FImageIndex = -1;
    int FSelectedIndex = -1;
    int FOverlayIndex = -1;
    int FHasChildren = -1;   // -1: from the children; 0 or 1 as set
    bool FExpanded = false;   // kept while the tree has no window
    bool FDeleting = false;
};

// The nodes of one tree view. Add puts a node after its sibling's last sibling, AddChild under a parent;
// the ...First forms put it first. Every change reaches the native tree at once while it has a window.
class TTreeNodes : public TPersistent {
public:
    explicit TTreeNodes(TCustomTreeView* owner);
    ~TTreeNodes() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TCustomTreeView* Owner() const { return FOwner; }
    int Count() const;   // every node
    TTreeNode* Item(int index) const;   // by AbsoluteIndex; nullptr out of range
    TTreeNode* GetFirstNode() const;
    TTreeNode* GetNode(user::HTREEITEM item) const;   // nullptr for an item that is not one of ours

    TTreeNode* Add(TTreeNode* sibling, const std::string& text);
    TTreeNode* AddObject(TTreeNode* sibling, const std::string& text, void* data);
    TTreeNode* AddFirst(TTreeNode* sibling, const std::string& text);
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
    TTreeNode* AddChildObject(TTreeNode* parent, const std::string& text, void* data);
    TTreeNode* AddChildFirst(TTreeNode* parent, const std::string& text);
    TTreeNode* Insert(TTreeNode* sibling, const std::string& text);   // before the sibling
    void Delete(TTreeNode* node);
    void Clear();

    void BeginUpdate();   // nests; the tree stops repainting
    void EndUpdate();

private:
    friend class TTreeNode;
    friend class TCustomTreeView;

    TTreeNode* InsertAt(TTreeNode* parent, int index, const std::string& text, void* data);
    std::vector<std::unique_ptr<TTreeNode>>& SiblingsOf(TTreeNode* parent);
    void Remove(TTreeNode* node);   // the class side of a deletion: the node is freed
    void InsertNative(TTreeNode* node);   // the node (and its children) into the native tree
    void ForgetNative();   // the window went: every ItemId is cleared

    TCustomTreeView* FOwner;
    std::vector<std::unique_ptr<TTreeNode>> FRoots;
    int FUpdateCount = 0;
};

}
