// TCustomTreeView and TTreeView: the native tree's styles, notifications and the node events.
#include "platform/classes/TTreeView.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/Colors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TImageList.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControls.h"

namespace korvex::classes {

using namespace user;

TCustomTreeView::TCustomTreeView(TComponent* owner)
    : TWinControl(owner)
    , FNodes(std::make_unique<TTreeNodes>(this))
    , FImageLink(std::make_unique<TChangeLink>()) {
    RegisterCommonControlClasses();
    FImageLink->OnChange = [this](TObject*) { Invalidate(); };
    FControlStyle = TControlStyle {csCaptureMouse, csClickEvents, csDoubleClicks};
    SetBounds(Left(), Top(), 121, 97);
    SetColor(clWindow);
    SetTabStop(true);
}

TCustomTreeView::~TCustomTreeView() {
    if (FImages != nullptr) FImages->UnRegisterChanges(FImageLink.get());
    // The window goes while this is still a tree view; its item reports must not free the nodes twice.
    FDestroyingWnd = true;
    DestroyHandle();
}

TClass TCustomTreeView::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomTreeView, TWinControl>("TCustomTreeView");
    return &info;
}

TTreeNode* TCustomTreeView::Selected() const {
    if (!HandleAllocated()) return nullptr;
    return FNodes->GetNode(reinterpret_cast<HTREEITEM>(SendMessage(WindowHandle(), TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TCustomTreeView::SetSelected(TTreeNode* value) {
    if (value != nullptr) {
        value->SetSelected(true);
    } else if (HandleAllocated()) {
        SendMessage(WindowHandle(), TVM_SELECTITEM, TVGN_CARET, 0);
    }
}

TTreeNode* TCustomTreeView::TopItem() const {
    if (!HandleAllocated()) return nullptr;
    return FNodes->GetNode(
        reinterpret_cast<HTREEITEM>(SendMessage(WindowHandle(), TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

void TCustomTreeView::SetTopItem(TTreeNode* value) {
    if (value != nullptr && HandleAllocated())
        SendMessage(WindowHandle(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(value->ItemId()));
}

void TCustomTreeView::SetImages(TCustomImageList* value) {
    if (value == FImages) return;
    LinkImageList(FImages, value, FImageLink.get(), this);
    ApplyImages();
}

void TCustomTreeView::ApplyImages() {
    if (HandleAllocated())
        SendMessage(WindowHandle(), TVM_SETIMAGELIST, TVSIL_NORMAL,
            reinterpret_cast<LPARAM>(FImages != nullptr ? FImages->Handle() : nullptr));
}

void TCustomTreeView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    // The list is being freed: it forgets the link itself, so only the pointer and the native handle go.
    if (operation == opRemove && component == FImages) {
        FImages = nullptr;
        ApplyImages();
    }
}

void TCustomTreeView::SetBorderStyle(TFormBorderStyle value) {
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    RecreateWnd();
}

namespace {

constexpr DWORD OwnedTreeStyles
    = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS | TVS_FULLROWSELECT;

}   // namespace

void TCustomTreeView::UpdateStyle() {
    if (!HandleAllocated()) return;
    TCreateParams params;
    CreateParams(params);
    const DWORD style = GetWindowStyle(WindowHandle());
    SetWindowLongPtr(WindowHandle(), GWL_STYLE, LONG_PTR((style & ~OwnedTreeStyles) | (params.Style & OwnedTreeStyles)));
    Invalidate();
}

void TCustomTreeView::SetShowButtons(bool value) {
    if (value == FShowButtons) return;
    FShowButtons = value;
    UpdateStyle();
}

void TCustomTreeView::SetShowLines(bool value) {
    if (value == FShowLines) return;
    FShowLines = value;
    UpdateStyle();
}

void TCustomTreeView::SetShowRoot(bool value) {
    if (value == FShowRoot) return;
    FShowRoot = value;
    UpdateStyle();
}

void TCustomTreeView::SetReadOnly(bool value) {
    if (value == FReadOnly) return;
    FReadOnly = value;
    UpdateStyle();
}

void TCustomTreeView::SetHideSelection(bool value) {
    if (value == FHideSelection) return;
    FHideSelection = value;
    UpdateStyle();
}

void TCustomTreeView::SetRowSelect(bool value) {
    if (value == FRowSelect) return;
    FRowSelect = value;
    UpdateStyle();
}

int TCustomTreeView::Indent() const {
    return HandleAllocated() ? int(SendMessage(WindowHandle(), TVM_GETINDENT, 0, 0)) : FIndent;
}

void TCustomTreeView::SetIndent(int value) {
    FIndent = value;
    if (HandleAllocated()) SendMessage(WindowHandle(), TVM_SETINDENT, WPARAM(value), 0);
}

void TCustomTreeView::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_TREEVIEW);
    // The style is rebuilt whole, so the flags the properties own are cleared first.
    params.Style &= ~OwnedTreeStyles;
    params.Style |= WS_TABSTOP;
    if (FShowButtons) params.Style |= TVS_HASBUTTONS;
    if (FShowLines) params.Style |= TVS_HASLINES;
    if (FShowRoot) params.Style |= TVS_LINESATROOT;
    if (!FReadOnly) params.Style |= TVS_EDITLABELS;
    if (!FHideSelection) params.Style |= TVS_SHOWSELALWAYS;
    if (FRowSelect) params.Style |= TVS_FULLROWSELECT;
    if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessage(WindowHandle(), TVM_SETINDENT, WPARAM(FIndent), 0);
    ApplyColors();
    ApplyImages();
    // The nodes kept by the class come back as native items.
    FNodes->BeginUpdate();
    for (TTreeNode* node = FNodes->GetFirstNode(); node != nullptr; node = node->GetNextSibling())
        FNodes->InsertNative(node);
    FNodes->EndUpdate();
}

void TCustomTreeView::DestroyWnd() {
    FNodes->ForgetNative();
    base::ValueRollback destroying(FDestroyingWnd, true);
    TWinControl::DestroyWnd();
}

TTreeNode* TCustomTreeView::GetNodeAt(int x, int y) const {
    if (!HandleAllocated()) return nullptr;
    TVHITTESTINFO info;
    info.pt = POINT {x, y};
    SendMessage(WindowHandle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
    return (info.flags & (TVHT_ONITEM | TVHT_ONITEMRIGHT | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON))
        ? FNodes->GetNode(info.hItem)
        : nullptr;
}

THitTests TCustomTreeView::GetHitTestInfoAt(int x, int y) const {
    THitTests result;
    if (!HandleAllocated()) return result;
    TVHITTESTINFO info;
    info.pt = POINT {x, y};
    SendMessage(WindowHandle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
    const std::pair<UINT, THitTest> flags[] = {{TVHT_ABOVE, htAbove}, {TVHT_BELOW, htBelow},
        {TVHT_NOWHERE, htNowhere}, {TVHT_ONITEMBUTTON, htOnButton}, {TVHT_ONITEMICON, htOnIcon},
        {TVHT_ONITEMINDENT, htOnIndent}, {TVHT_ONITEMLABEL, htOnLabel}, {TVHT_ONITEMRIGHT, htOnRight},
        {TVHT_ONITEMSTATEICON, htOnStateIcon}, {TVHT_TOLEFT, htToLeft}, {TVHT_TORIGHT, htToRight}};
    for (const auto& [flag, test] : flags)
        if (info.flags & flag) result.Include(test);
    if (info.flags & TVHT_ONITEM) result.Include(htOnItem);
    return result;
}

bool TCustomTreeView::IsEditing() const {
    return HandleAllocated() && SendMessage(WindowHandle(), TVM_GETEDITCONTROL, 0, 0) != 0;
}

void TCustomTreeView::FullExpand() {
    for (TTreeNode* node = FNodes->GetFirstNode(); node != nullptr; node = node->GetNextSibling())
        node->Expand(true);
}

void TCustomTreeView::FullCollapse() {
    for (TTreeNode* node = FNodes->GetFirstNode(); node != nullptr; node = node->GetNextSibling())
        node->Collapse(true);
}

bool TCustomTreeView::AlphaSort(bool recurse) {
    return CustomSort(
        [this](TTreeNode* a, TTreeNode* b) {
            int compare = a->Text().compare(b->Text());
            if (OnCompare) OnCompare(this, a, b, 0, compare);
            return compare;
        },
        recurse);
}

bool TCustomTreeView::CustomSort(const std::function<int(TTreeNode*, TTreeNode*)>& compare, bool recurse) {
    auto& roots = FNodes->FRoots;
    std::stable_sort(roots.begin(), roots.end(), [&](const auto& a, const auto& b) { return compare(a.get(), b.get()) < 0; });
    if (HandleAllocated()) {
        TVSORTCB sort;
        sort.hParent = TVI_ROOT;
        sort.lpfnCompare = [](LPARAM a, LPARAM b, LPARAM data) {
            const auto& c = *reinterpret_cast<const std::function<int(TTreeNode*, TTreeNode*)>*>(data);
            return c(reinterpret_cast<TTreeNode*>(a), reinterpret_cast<TTreeNode*>(b));
        };
        sort.lParam = reinterpret_cast<LPARAM>(&compare);
        SendMessage(WindowHandle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
    }
    if (recurse)
        for (const auto& node : roots)
            node->CustomSort(compare, true);
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Events

bool TCustomTreeView::CanChange(TTreeNode* node) {
    bool allow = true;
    if (OnChanging) OnChanging(this, node, allow);
    return allow;
}

void TCustomTreeView::Change(TTreeNode* node) {
    if (OnChange) OnChange(this, node);
}

bool TCustomTreeView::CanExpand(TTreeNode* node) {
    bool allow = true;
    if (OnExpanding) OnExpanding(this, node, allow);
    return allow;
}

void TCustomTreeView::Expand(TTreeNode* node) {
    if (OnExpanded) OnExpanded(this, node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* node) {
    bool allow = true;
    if (OnCollapsing) OnCollapsing(this, node, allow);
    return allow;
}

void TCustomTreeView::Collapse(TTreeNode* node) {
    if (OnCollapsed) OnCollapsed(this, node);
}

bool TCustomTreeView::CanEdit(TTreeNode* node) {
    if (FReadOnly) return false;
    bool allow = true;
    if (OnEditing) OnEditing(this, node, allow);
    return allow;
}

void TCustomTreeView::Edit(const TVITEM& item) {
    TTreeNode* node = FNodes->GetNode(item.hItem);
    if (node == nullptr || item.pszText == nullptr) return;
    std::string text = item.pszText;
    if (OnEdited) OnEdited(this, node, text);
    // The handler may have deleted the node.
    if (TTreeNode* still = FNodes->GetNode(item.hItem)) still->SetText(text);
}

void TCustomTreeView::Delete(TTreeNode* node) {
    if (OnDeletion) OnDeletion(this, node);
}

void TCustomTreeView::GetImageIndex(TTreeNode* node) {
    if (OnGetImageIndex) OnGetImageIndex(this, node);
}

void TCustomTreeView::GetSelectedIndex(TTreeNode* node) {
    if (OnGetSelectedIndex) OnGetSelectedIndex(this, node);
}

void TCustomTreeView::CNNotify(TMessage& m) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    if (hdr == nullptr) return;
    auto* nm = reinterpret_cast<NMTREEVIEW*>(hdr);
    switch (hdr->code) {
    case TVN_SELCHANGING:
        m.Result = CanChange(FNodes->GetNode(nm->itemNew.hItem)) ? 0 : 1;
        return;
    case TVN_SELCHANGED:
        Change(FNodes->GetNode(nm->itemNew.hItem));
        return;
    case TVN_ITEMEXPANDING: {
        TTreeNode* node = FNodes->GetNode(nm->itemNew.hItem);
        if (node == nullptr) return;
        const bool allowed = nm->action == TVE_EXPAND ? CanExpand(node) : CanCollapse(node);
        m.Result = allowed ? 0 : 1;
        return;
    }
    case TVN_ITEMEXPANDED: {
        TTreeNode* node = FNodes->GetNode(nm->itemNew.hItem);
        if (node == nullptr) return;
        node->FExpanded = nm->action == TVE_EXPAND;
        if (nm->action == TVE_EXPAND)
            Expand(node);
        else
            Collapse(node);
        return;
    }
    case TVN_DELETEITEM: {
        if (FDestroyingWnd) return;   // the nodes stay for the next window
        auto* node = reinterpret_cast<TTreeNode*>(nm->itemOld.lParam);
        if (node == nullptr || node->Owner() != FNodes.get()) return;
        node->FDeleting = true;
        node->FItemId = nullptr;
        if (!RunUserCode(this, [&] { Delete(node); })) return;
        FNodes->Remove(node);
        return;
    }
    case TVN_BEGINLABELEDIT: {
        TTreeNode* node = FNodes->GetNode(reinterpret_cast<NMTVDISPINFO*>(hdr)->item.hItem);
        m.Result = node != nullptr && CanEdit(node) ? 0 : 1;
        return;
    }
    case TVN_ENDLABELEDIT:
        Edit(reinterpret_cast<NMTVDISPINFO*>(hdr)->item);
        m.Result = 0;   // the node has set its text itself
        return;
    case TVN_GETDISPINFO: {
        auto& item = reinterpret_cast<NMTVDISPINFO*>(hdr)->item;
        TTreeNode* node = FNodes->GetNode(item.hItem);
        if (node == nullptr) return;
        if (item.mask & TVIF_IMAGE) {
            GetImageIndex(node);
            item.iImage = node->ImageIndex();
        }
        if (item.mask & TVIF_SELECTEDIMAGE) {
            GetSelectedIndex(node);
            item.iSelectedImage = node->SelectedIndex();
        }
        return;
    }
    case NM_RCLICK:
        if (FRightClickSelect) {
            POINT p;
            GetCursorPos(&p);
            user::ScreenToClient(WindowHandle(), &p);
            if (TTreeNode* node = GetNodeAt(p.x, p.y)) node->SetSelected(true);
        }
        return;
    default:
        return;
    }
}

void TCustomTreeView::WndProc(TMessage& message) {
    if (message.Msg == CN_NOTIFY) {
        CNNotify(message);
        return;
    }
    // While a label is edited, Enter and Escape end the editing instead of pressing the form's buttons.
    if (message.Msg == CM_WANTSPECIALKEY && (message.WParam == VK_RETURN || message.WParam == VK_ESCAPE)
        && IsEditing()) {
        message.Result = 1;
        return;
    }
    TWinControl::WndProc(message);
    if (message.Msg == CM_COLORCHANGED || message.Msg == CM_FONTCHANGED) ApplyColors();
}

void TCustomTreeView::ApplyColors() {
    if (!HandleAllocated()) return;
    SendMessage(WindowHandle(), TVM_SETBKCOLOR, 0, LPARAM(ColorToRGB(Color()) & 0xFFFFFF));
    SendMessage(WindowHandle(), TVM_SETTEXTCOLOR, 0, LPARAM(ColorToRGB(Font()->Color()) & 0xFFFFFF));
}

// ---------------------------------------------------------------------------------------------------------
// TTreeView

TTreeView::TTreeView(TComponent* owner)
    : TCustomTreeView(owner) {
}

TClass TTreeView::StaticClass() {
    static const TClassInfo info = MakeClass<TTreeView, TCustomTreeView>("TTreeView", [](auto& p) {
        p.Bool("AutoExpand", &TTreeView::AutoExpand, &TTreeView::SetAutoExpand, false);
        p.Enum("BorderStyle", &TTreeView::BorderStyle, &TTreeView::SetBorderStyle, FormBorderStyleIdents, bsSingle);
        p.Color("Color", &TTreeView::Color, &TTreeView::SetColor, clWindow);
        p.Bool("HideSelection", &TTreeView::HideSelection, &TTreeView::SetHideSelection, true);
        p.Component("Images", &TTreeView::Images, &TTreeView::SetImages);
        p.Int("Indent", &TTreeView::Indent, &TTreeView::SetIndent, 19);
        p.Bool("ReadOnly", &TTreeView::ReadOnly, &TTreeView::SetReadOnly, false);
        p.Bool("RightClickSelect", &TTreeView::RightClickSelect, &TTreeView::SetRightClickSelect, false);
        p.Bool("RowSelect", &TTreeView::RowSelect, &TTreeView::SetRowSelect, false);
        p.Bool("ShowButtons", &TTreeView::ShowButtons, &TTreeView::SetShowButtons, true);
        p.Bool("ShowLines", &TTreeView::ShowLines, &TTreeView::SetShowLines, true);
        p.Bool("ShowRoot", &TTreeView::ShowRoot, &TTreeView::SetShowRoot, true);
        p.Event("OnChange", &TTreeView::OnChange);
        p.Event("OnChanging", &TTreeView::OnChanging);
        p.Event("OnCollapsed", &TTreeView::OnCollapsed);
        p.Event("OnCollapsing", &TTreeView::OnCollapsing);
        p.Event("OnDeletion", &TTreeView::OnDeletion);
        p.Event("OnEdited", &TTreeView::OnEdited);
        p.Event("OnEditing", &TTreeView::OnEditing);
        p.Event("OnExpanded", &TTreeView::OnExpanded);
        p.Event("OnExpanding", &TTreeView::OnExpanding);
        p.Event("OnGetImageIndex", &TTreeView::OnGetImageIndex);
        p.Event("OnGetSelectedIndex", &TTreeView::OnGetSelectedIndex);
    });
    return &info;
}

}
