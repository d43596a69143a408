// TTreeNode and TTreeNodes: the class's node tree and its mirror in the native tree view.
#include "platform/classes/TTreeNodes.h"

#include "platform/base/Assert.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TTreeView.h"
#include "platform/user/Messages.h"

#include <algorithm>
#include <cstring>

namespace korvex::classes {

using namespace user;

namespace {

// The tree's window while the nodes have native items; nullptr otherwise.
HWND Native(const TTreeNodes* nodes) {
    const TCustomTreeView* tree = nodes->Owner();
    return tree != nullptr && tree->HandleAllocated() ? tree->WindowHandle() : nullptr;
}

HWND NativeOf(const TTreeNode* node) {
    return node->ItemId() != nullptr ? Native(node->Owner()) : nullptr;
}

}   // namespace

// ---------------------------------------------------------------------------------------------------------
// TTreeNode

TTreeNode::TTreeNode(TTreeNodes* owner)
    : FOwner(owner) {
}

TTreeNode::~TTreeNode() = default;

TClass TTreeNode::StaticClass() {
    static const TClassInfo info = MakeClass<TTreeNode, TPersistent>("TTreeNode");
    return &info;
}

TCustomTreeView* TTreeNode::TreeView() const {
    return FOwner->Owner();
}

void TTreeNode::SetText(const std::string& value) {
    FText = value;
    if (HWND tree = NativeOf(this)) {
        TVITEM item;
        item.mask = TVIF_TEXT;
        item.hItem = FItemId;
        item.pszText = const_cast<char*>(FText.c_str());
        SendMessage(tree, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
    }
}

void TTreeNode::SetImageIndex(int value) {
    if (value == FImageIndex) return;
    FImageIndex = value;
    if (HWND tree = NativeOf(this)) InvalidateRect(tree, nullptr, false);
}

void TTreeNode::SetSelectedIndex(int value) {
    if (value == FSelectedIndex) return;
    FSelectedIndex = value;
    if (HWND tree = NativeOf(this)) InvalidateRect(tree, nullptr, false);
}

void TTreeNode::SetOverlayIndex(int value) {
    if (value == FOverlayIndex) return;
    FOverlayIndex = value;
    if (HWND tree = NativeOf(this)) {
        TVITEM item;
        item.mask = TVIF_STATE;
        item.hItem = FItemId;
        item.stateMask = TVIS_OVERLAYMASK;
        item.state = UINT(std::clamp(value + 1, 0, 15)) << 8;
        SendMessage(tree, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
    }
}

bool TTreeNode::HasChildren() const {
    return FHasChildren < 0 ? !FChildren.empty() : FHasChildren != 0;
}

void TTreeNode::SetHasChildren(bool value) {
    FHasChildren = value ? 1 : 0;
    if (HWND tree = NativeOf(this)) {
        TVITEM item;
        item.mask = TVIF_CHILDREN;
        item.hItem = FItemId;
        item.cChildren = FHasChildren;
        SendMessage(tree, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
    }
}

bool TTreeNode::Expanded() const {
    if (HWND tree = NativeOf(this)) {
        TVITEM item;
        item.mask = TVIF_STATE;
        item.hItem = FItemId;
        item.stateMask = TVIS_EXPANDED;
        SendMessage(tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
        return (item.state & TVIS_EXPANDED) != 0;
    }
    return FExpanded;
}

void TTreeNode::SetExpanded(bool value) {
    if (value)
        Expand(false);
    else
        Collapse(false);
}

bool TTreeNode::Selected() const {
    HWND tree = NativeOf(this);
    return tree != nullptr && SendMessage(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) == reinterpret_cast<LRESULT>(FItemId);
}

void TTreeNode::SetSelected(bool value) {
    HWND tree = Native(FOwner);
    if (tree == nullptr) return;
    if (value)
        SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FItemId));
    else if (Selected())
        SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, 0);
}

TTreeNode* TTreeNode::Item(int index) const {
    return index >= 0 && index < Count() ? FChildren[size_t(index)].get() : nullptr;
}

int TTreeNode::Index() const {
    const auto& siblings = FOwner->SiblingsOf(FParent);
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == this) return int(i);
    return -1;
}

int TTreeNode::AbsoluteIndex() const {
    int index = 0;
    for (const TTreeNode* node = FOwner->GetFirstNode(); node != nullptr && node != this; node = node->GetNext())
        ++index;
    return index;
}

int TTreeNode::Level() const {
    int level = 0;
    for (const TTreeNode* p = FParent; p != nullptr; p = p->FParent)
        ++level;
    return level;
}

bool TTreeNode::IsVisible() const {
    for (const TTreeNode* p = FParent; p != nullptr; p = p->FParent)
        if (!p->Expanded()) return false;
    return true;
}

TTreeNode* TTreeNode::GetNextSibling() const {
    const auto& siblings = FOwner->SiblingsOf(FParent);
    const int index = Index();
    return index + 1 < int(siblings.size()) ? siblings[size_t(index + 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    const auto& siblings = FOwner->SiblingsOf(FParent);
    const int index = Index();
    return index > 0 ? siblings[size_t(index - 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
    if (!FChildren.empty()) return FChildren.front().get();
    for (const TTreeNode* node = this; node != nullptr; node = node->FParent)
        if (TTreeNode* next = node->GetNextSibling()) return next;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
    TTreeNode* previous = GetPrevSibling();
    if (previous == nullptr) return FParent;
    while (previous->Count() > 0)
        previous = previous->GetLastChild();
    return previous;
}

bool TTreeNode::HasAsParent(const TTreeNode* value) const {
    for (const TTreeNode* p = FParent; p != nullptr; p = p->FParent)
        if (p == value) return true;
    return false;
}

// A handler may change the children: a copy is walked and what went is skipped.
void TTreeNode::ForEachChild(const std::function<void(TTreeNode*)>& action) {
    std::vector<TTreeNode*> children;
    for (const auto& child : FChildren)
        children.push_back(child.get());
    for (TTreeNode* child : children)
        if (std::any_of(FChildren.begin(), FChildren.end(), [&](const auto& c) { return c.get() == child; }))
            action(child);
}

void TTreeNode::Expand(bool recurse) {
    FExpanded = true;
    if (HWND tree = NativeOf(this)) SendMessage(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(FItemId));
    if (recurse) ForEachChild([](TTreeNode* child) { child->Expand(true); });
}

void TTreeNode::Collapse(bool recurse) {
    FExpanded = false;
    if (HWND tree = NativeOf(this)) SendMessage(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(FItemId));
    if (recurse) ForEachChild([](TTreeNode* child) { child->Collapse(true); });
}

void TTreeNode::Delete() {
    FOwner->Delete(this);
}

void TTreeNode::DeleteChildren() {
    while (!FChildren.empty())
        FOwner->Delete(FChildren.back().get());
}

bool TTreeNode::EditText() {
    HWND tree = NativeOf(this);
    return tree != nullptr && SendMessage(tree, TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(FItemId)) != 0;
}

void TTreeNode::EndEdit(bool cancel) {
    if (HWND tree = NativeOf(this)) SendMessage(tree, TVM_ENDEDITLABELNOW, cancel ? 1 : 0, 0);
}

TRect TTreeNode::DisplayRect(bool textOnly) const {
    TRect r {};
    HWND tree = NativeOf(this);
    if (tree == nullptr) return r;
    HTREEITEM item = FItemId;
    std::memcpy(static_cast<void*>(&r), &item, sizeof item);   // the item travels in the rectangle
    if (!SendMessage(tree, TVM_GETITEMRECT, textOnly ? 1 : 0, reinterpret_cast<LPARAM>(&r))) r = TRect {};
    return r;
}

void TTreeNode::MakeVisible() {
    if (HWND tree = NativeOf(this)) SendMessage(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(FItemId));
}

bool TTreeNode::AlphaSort(bool recurse) {
    return CustomSort([](TTreeNode* a, TTreeNode* b) { return a->Text().compare(b->Text()); }, recurse);
}

namespace {

int CompareNodes(LPARAM a, LPARAM b, LPARAM data) {
    const auto& compare = *reinterpret_cast<const std::function<int(TTreeNode*, TTreeNode*)>*>(data);
    return compare(reinterpret_cast<TTreeNode*>(a), reinterpret_cast<TTreeNode*>(b));
}

}   // namespace

bool TTreeNode::CustomSort(const std::function<int(TTreeNode*, TTreeNode*)>& compare, bool recurse) {
    std::stable_sort(FChildren.begin(), FChildren.end(),
        [&](const auto& a, const auto& b) { return compare(a.get(), b.get()) < 0; });
    if (HWND tree = NativeOf(this)) {
        TVSORTCB sort;
        sort.hParent = FItemId;
        sort.lpfnCompare = CompareNodes;
        sort.lParam = reinterpret_cast<LPARAM>(&compare);
        SendMessage(tree, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
    }
    if (recurse)
        for (const auto& child : FChildren)
            child->CustomSort(compare, true);
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// TTreeNodes

TTreeNodes::TTreeNodes(TCustomTreeView* owner)
    : FOwner(owner) {
}

TTreeNodes::~TTreeNodes() = default;

TClass TTreeNodes::StaticClass() {
    static const TClassInfo info = MakeClass<TTreeNodes, TPersistent>("TTreeNodes");
    return &info;
}

int TTreeNodes::Count() const {
    int count = 0;
    for (const TTreeNode* node = GetFirstNode(); node != nullptr; node = node->GetNext())
        ++count;
    return count;
}

TTreeNode* TTreeNodes::Item(int index) const {
    if (index < 0) return nullptr;
    TTreeNode* node = GetFirstNode();
    for (int i = 0; node != nullptr && i < index; ++i)
        node = node->GetNext();
    return node;
}

TTreeNode* TTreeNodes::GetFirstNode() const {
    return FRoots.empty() ? nullptr : FRoots.front().get();
}

TTreeNode* TTreeNodes::GetNode(HTREEITEM item) const {
    HWND tree = Native(this);
    if (tree == nullptr || item == nullptr) return nullptr;
    TVITEM info;
    info.mask = TVIF_PARAM;
    info.hItem = item;
    if (!SendMessage(tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&info))) return nullptr;
    auto* node = reinterpret_cast<TTreeNode*>(info.lParam);
    return node != nullptr && node->FOwner == this && node->FItemId == item ? node : nullptr;
}

std::vector<std::unique_ptr<TTreeNode>>& TTreeNodes::SiblingsOf(TTreeNode* parent) {
    return parent != nullptr ? parent->FChildren : FRoots;
}

TTreeNode* TTreeNodes::InsertAt(TTreeNode* parent, int index, const std::string& text, void* data) {
    auto& siblings = SiblingsOf(parent);
    index = std::clamp(index, 0, int(siblings.size()));
    auto made = std::make_unique<TTreeNode>(this);
    TTreeNode* node = made.get();
    node->FParent = parent;
    node->FText = text;
    node->FData = data;
    siblings.insert(siblings.begin() + index, std::move(made));
    if (Native(this) != nullptr && (parent == nullptr || parent->FItemId != nullptr)) InsertNative(node);
    return node;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) {
    return AddObject(sibling, text, nullptr);
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const std::string& text, void* data) {
    TTreeNode* parent = sibling != nullptr ? sibling->Parent() : nullptr;
    return InsertAt(parent, int(SiblingsOf(parent).size()), text, data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const std::string& text) {
    return InsertAt(sibling != nullptr ? sibling->Parent() : nullptr, 0, text, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
    return AddChildObject(parent, text, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::string& text, void* data) {
    return InsertAt(parent, int(SiblingsOf(parent).size()), text, data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const std::string& text) {
    return InsertAt(parent, 0, text, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* sibling, const std::string& text) {
    if (sibling == nullptr) return Add(nullptr, text);
    return InsertAt(sibling->Parent(), sibling->Index(), text, nullptr);
}

void TTreeNodes::InsertNative(TTreeNode* node) {
    HWND tree = Native(this);
    KORVEX_ASSERT(tree != nullptr && node->FItemId == nullptr);
    TVINSERTSTRUCT ins;
    ins.hParent = node->FParent != nullptr ? node->FParent->FItemId : TVI_ROOT;
    const TTreeNode* previous = node->GetPrevSibling();
    ins.hInsertAfter = previous != nullptr && previous->FItemId != nullptr ? previous->FItemId : TVI_FIRST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
    ins.item.pszText = const_cast<char*>(node->FText.c_str());
    // Images are asked for at paint time, so OnGetImageIndex can choose them.
    ins.item.iImage = I_IMAGECALLBACK;
    ins.item.iSelectedImage = I_IMAGECALLBACK;
    ins.item.lParam = reinterpret_cast<LPARAM>(node);
    ins.item.stateMask = TVIS_OVERLAYMASK;
    ins.item.state = UINT(std::clamp(node->FOverlayIndex + 1, 0, 15)) << 8;
    if (node->FHasChildren >= 0) {
        ins.item.mask |= TVIF_CHILDREN;
        ins.item.cChildren = node->FHasChildren;
    }
    node->FItemId = reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins)));
    if (node->FItemId == nullptr) return;
    for (const auto& child : node->FChildren)
        InsertNative(child.get());
    if (node->FExpanded) {
        // Kept state comes back without the expanding notifications.
        TVITEM state;
        state.mask = TVIF_STATE;
        state.hItem = node->FItemId;
        state.stateMask = state.state = TVIS_EXPANDED;
        SendMessage(tree, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&state));
    }
}

void TTreeNodes::ForgetNative() {
    for (TTreeNode* node = GetFirstNode(); node != nullptr; node = node->GetNext()) {
        node->FExpanded = node->Expanded();
        node->FItemId = nullptr;
    }
}

void TTreeNodes::Delete(TTreeNode* node) {
    if (node == nullptr || node->FDeleting) return;
    if (HWND tree = NativeOf(node)) {
        // The native deletion reports every item, children first; each report frees its node.
        SendMessage(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->FItemId));
        return;
    }
    node->FDeleting = true;
    while (!node->FChildren.empty())
        Delete(node->FChildren.back().get());
    if (FOwner != nullptr) FOwner->Delete(node);
    Remove(node);
}

void TTreeNodes::Remove(TTreeNode* node) {
    auto& siblings = SiblingsOf(node->FParent);
    auto it = std::find_if(siblings.begin(), siblings.end(), [&](const auto& n) { return n.get() == node; });
    KORVEX_ASSERT(it != siblings.end());   // every node is in its parent's list
    if (it != siblings.end()) siblings.erase(it);
}

void TTreeNodes::Clear() {
    BeginUpdate();
    while (!FRoots.empty())
        Delete(FRoots.back().get());
    EndUpdate();
}

void TTreeNodes::BeginUpdate() {
    if (FUpdateCount++ == 0)
        if (HWND tree = Native(this)) SendMessage(tree, WM_SETREDRAW, 0, 0);
}

void TTreeNodes::EndUpdate() {
    KORVEX_ASSERT(FUpdateCount > 0);   // paired with BeginUpdate
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        if (HWND tree = Native(this)) {
            SendMessage(tree, WM_SETREDRAW, 1, 0);
            InvalidateRect(tree, nullptr, true);
        }
}

}
