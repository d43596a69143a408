// TCustomTreeView and TTreeView over the native tree view: nodes, expansion, selection and label editing
// with their events.
#pragma once

#include "platform/classes/ComCtrlsTypes.h"
#include "platform/classes/Forward.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TTreeNodes.h"
#include "platform/classes/TWinControl.h"

#include <functional>
#include <memory>
#include <string>

namespace korvex::classes {

using TTVChangingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowChange)>;
using TTVChangedEvent = std::function<void(TObject* sender, TTreeNode* node)>;
using TTVExpandingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* sender, TTreeNode* node)>;
using TTVEditingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowEdit)>;
using TTVEditedEvent = std::function<void(TObject* sender, TTreeNode* node, std::string& text)>;
using TTVCompareEvent = std::function<void(TObject* sender, TTreeNode* node1, TTreeNode* node2, int data, int& compare)>;

// The tree keeps its nodes across window re-creation. Handlers may free nodes; a node freed from inside a
// notification about it is not touched afterwards.
class TCustomTreeView : public TWinControl {
public:
    explicit TCustomTreeView(TComponent* owner);
    ~TCustomTreeView() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TTreeNodes* Items() const { return FNodes.get(); }
    TTreeNode* Selected() const;
    void SetSelected(TTreeNode* value);
    TTreeNode* TopItem() const;
    void SetTopItem(TTreeNode* value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);   // bsNone or bsSingle
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool value);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool value);
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool value);
    bool RightClickSelect() const { return FRightClickSelect; }
    void SetRightClickSelect(bool value) { FRightClickSelect = value; }
    bool AutoExpand() const { return FAutoExpand; }
    void SetAutoExpand(bool value) { FAutoExpand = value; }
    int Indent() const;
    void SetIndent(int value);

    TTreeNode* GetNodeAt(int x, int y) const;
    THitTests GetHitTestInfoAt(int x, int y) const;
    bool IsEditing() const;
    void FullExpand();
    void FullCollapse();
    bool AlphaSort(bool recurse = true);
    bool CustomSort(const std::function<int(TTreeNode*, TTreeNode*)>& compare, bool recurse = true);

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVExpandedEvent OnGetImageIndex;
    TTVExpandedEvent OnGetSelectedIndex;
    TTVExpandedEvent OnDeletion;
    TTVCompareEvent OnCompare;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual bool CanChange(TTreeNode* node);   // OnChanging
    virtual void Change(TTreeNode* node);   // OnChange
    virtual bool CanExpand(TTreeNode* node);   // OnExpanding
    virtual void Expand(TTreeNode* node);   // OnExpanded
    virtual bool CanCollapse(TTreeNode* node);   // OnCollapsing
    virtual void Collapse(TTreeNode* node);   // OnCollapsed
    virtual bool CanEdit(TTreeNode* node);   // OnEditing; never while ReadOnly
    virtual void Edit(const user::TVITEM& item);   // OnEdited, then the node takes the text
    virtual void Delete(TTreeNode* node);   // OnDeletion, before the node is freed
    virtual void GetImageIndex(TTreeNode* node);   // OnGetImageIndex
    virtual void GetSelectedIndex(TTreeNode* node);   // OnGetSelectedIndex

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    void CNNotify(TMessage& m);
    void ApplyImages();
    void ApplyColors();   // Color and Font.Color into the native tree
    void UpdateStyle();

    std::unique_ptr<TTreeNodes> FNodes;
    std::unique_ptr<TChangeLink> FImageLink;
    TCustomImageList* FImages = nullptr;
    TFormBorderStyle FBorderStyle = bsSingle;
    bool FShowButtons = true;
    bool FShowLines = true;
    bool FShowRoot = true;
    bool FReadOnly = false;
    bool FHideSelection = true;
    bool FRowSelect = false;
    bool FRightClickSelect = false;
    bool FAutoExpand = false;
    int FIndent = 19;
    bool FDestroyingWnd = false;   // the native items go with the window, the nodes stay
};

class TTreeView : public TCustomTreeView {
public:
    explicit TTreeView(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

}
