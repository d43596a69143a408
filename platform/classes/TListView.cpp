// TCustomListView and TListView: the native list's styles, columns and items, notifications and events.
#include "platform/classes/TListView.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/Colors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TControlCanvas.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TStringList.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/ListView.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace korvex::classes {

using namespace user;

namespace {

constexpr DWORD OwnedListStyles = LVS_TYPEMASK | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS | LVS_OWNERDATA
    | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER;
constexpr DWORD OwnedExStyles = LVS_EX_FULLROWSELECT | LVS_EX_TRACKSELECT | LVS_EX_GRIDLINES;

DWORD ViewStyleBits(TViewStyle view) {
    static constexpr DWORD Bits[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    return Bits[view];
}

int CompareText(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = std::toupper(static_cast<unsigned char>(a[i])), cb = std::toupper(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}   // namespace

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner)
    , FColumns(std::make_unique<TListColumns>(this))
    , FItems(std::make_unique<TListItems>(this))
    , FImageLink(std::make_unique<TChangeLink>())
    , FCanvas(std::make_unique<TControlCanvas>(this)) {
    RegisterCommonControlClasses();
    FImageLink->OnChange = [this](TObject*) { Invalidate(); };
    FControlStyle = TControlStyle {csCaptureMouse, csClickEvents, csDoubleClicks};
    SetBounds(Left(), Top(), 250, 150);
    SetColor(clWindow);
    SetTabStop(true);
}

TCustomListView::~TCustomListView() {
    if (FSmallImages != nullptr) FSmallImages->UnRegisterChanges(FImageLink.get());
    if (FLargeImages != nullptr && FLargeImages != FSmallImages) FLargeImages->UnRegisterChanges(FImageLink.get());
    // The window goes while this is still a list view; its item reports must not free the items.
    FDestroyingWnd = true;
    DestroyHandle();
}

TClass TCustomListView::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomListView, TWinControl>("TCustomListView");
    return &info;
}

TCanvas* TCustomListView::Canvas() const {
    return FCanvas.get();
}

// ---------------------------------------------------------------------------------------------------------
// Styles

void TCustomListView::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_LISTVIEW);
    params.Style &= ~OwnedListStyles;
    params.Style |= WS_TABSTOP | LVS_SHAREIMAGELISTS | ViewStyleBits(FViewStyle);
    if (!FMultiSelect) params.Style |= LVS_SINGLESEL;
    if (!FReadOnly) params.Style |= LVS_EDITLABELS;
    if (!FHideSelection) params.Style |= LVS_SHOWSELALWAYS;
    if (FOwnerData) params.Style |= LVS_OWNERDATA;
    if (!FShowColumnHeaders) params.Style |= LVS_NOCOLUMNHEADER;
    if (!FColumnClick) params.Style |= LVS_NOSORTHEADER;
    if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::UpdateStyle() {
    if (!HandleAllocated()) return;
    TCreateParams params;
    CreateParams(params);
    const DWORD style = GetWindowStyle(WindowHandle());
    SetWindowLongPtr(WindowHandle(), GWL_STYLE, LONG_PTR((style & ~OwnedListStyles) | (params.Style & OwnedListStyles)));
    Invalidate();
}

void TCustomListView::UpdateExStyle() {
    if (!HandleAllocated()) return;
    DWORD ex = 0;
    if (FRowSelect) ex |= LVS_EX_FULLROWSELECT;
    if (FHotTrack) ex |= LVS_EX_TRACKSELECT;
    if (FGridLines) ex |= LVS_EX_GRIDLINES;
    SendMessage(WindowHandle(), LVM_SETEXTENDEDLISTVIEWSTYLE, OwnedExStyles, LPARAM(ex));
}

void TCustomListView::SetViewStyle(TViewStyle value) {
    if (value == FViewStyle) return;
    FViewStyle = value;
    UpdateStyle();
}

void TCustomListView::SetOwnerData(bool value) {
    if (value == FOwnerData) return;
    FItems->Clear();
    FOwnerData = value;
    RecreateWnd();
}

void TCustomListView::SetMultiSelect(bool value) {
    if (value == FMultiSelect) return;
    FMultiSelect = value;
    UpdateStyle();
}

void TCustomListView::SetReadOnly(bool value) {
    if (value == FReadOnly) return;
    FReadOnly = value;
    UpdateStyle();
}

void TCustomListView::SetHideSelection(bool value) {
    if (value == FHideSelection) return;
    FHideSelection = value;
    UpdateStyle();
}

void TCustomListView::SetColumnClick(bool value) {
    if (value == FColumnClick) return;
    FColumnClick = value;
    RecreateWnd();   // the header takes the style when it is made
}

void TCustomListView::SetShowColumnHeaders(bool value) {
    if (value == FShowColumnHeaders) return;
    FShowColumnHeaders = value;
    UpdateStyle();
}

void TCustomListView::SetRowSelect(bool value) {
    if (value == FRowSelect) return;
    FRowSelect = value;
    UpdateExStyle();
}

void TCustomListView::SetHotTrack(bool value) {
    if (value == FHotTrack) return;
    FHotTrack = value;
    UpdateExStyle();
}

void TCustomListView::SetGridLines(bool value) {
    if (value == FGridLines) return;
    FGridLines = value;
    UpdateExStyle();
}

void TCustomListView::SetBorderStyle(TFormBorderStyle value) {
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomListView::SetSortType(TSortType value) {
    if (value == FSortType) return;
    FSortType = value;
    if (FSortType != stNone) AlphaSort();
}

// One change link serves both lists; a list in both slots is linked once.
void TCustomListView::SetImageList(TCustomImageList*& slot, TCustomImageList* value) {
    if (value == slot) return;
    TCustomImageList* other = &slot == &FSmallImages ? FLargeImages : FSmallImages;
    if (slot != nullptr && slot != other) {
        slot->UnRegisterChanges(FImageLink.get());
        slot->RemoveFreeNotification(this);
    }
    slot = value;
    if (slot != nullptr && slot != other) {
        slot->RegisterChanges(FImageLink.get());
        slot->FreeNotification(this);
    }
    ApplyImages();
}

void TCustomListView::SetSmallImages(TCustomImageList* value) {
    SetImageList(FSmallImages, value);
}

void TCustomListView::SetLargeImages(TCustomImageList* value) {
    SetImageList(FLargeImages, value);
}

void TCustomListView::ApplyImages() {
    if (!HandleAllocated()) return;
    SendMessage(WindowHandle(), LVM_SETIMAGELIST, LVSIL_SMALL,
        reinterpret_cast<LPARAM>(FSmallImages != nullptr ? FSmallImages->Handle() : nullptr));
    SendMessage(WindowHandle(), LVM_SETIMAGELIST, LVSIL_NORMAL,
        reinterpret_cast<LPARAM>(FLargeImages != nullptr ? FLargeImages->Handle() : nullptr));
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    // The list is being freed: it forgets the link itself, so only the pointers and the native handles go.
    if (component == FSmallImages) FSmallImages = nullptr;
    if (component == FLargeImages) FLargeImages = nullptr;
    ApplyImages();
}

// ---------------------------------------------------------------------------------------------------------
// Window

void TCustomListView::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyColors();
    ApplyImages();
    UpdateExStyle();
    UpdateColumns();
    if (FOwnerData) {
        SendMessage(WindowHandle(), LVM_SETITEMCOUNT, WPARAM(FItems->FOwnerCount), 0);
        return;
    }
    FItems->BeginUpdate();
    for (int i = 0; i < int(FItems->FItems.size()); ++i)
        FItems->InsertNative(i);
    FItems->EndUpdate();
}

void TCustomListView::DestroyWnd() {
    // What the user changed in the window is kept for the next one.
    for (auto& item : FItems->FItems)
        item->FSavedState = UINT(SendMessage(WindowHandle(), LVM_GETITEMSTATE, WPARAM(FItems->IndexOf(item.get())),
            LVIS_SELECTED | LVIS_FOCUSED));
    for (int i = 0; i < FColumns->Count(); ++i)
        if (TListColumn* column = FColumns->Items(i)) column->SetWidth(column->Width());
    base::ValueRollback destroying(FDestroyingWnd, true);
    TWinControl::DestroyWnd();
}

void TCustomListView::UpdateColumns() {
    if (!HandleAllocated()) return;
    while (SendMessage(WindowHandle(), LVM_DELETECOLUMN, 0, 0) != 0) {
    }
    for (int i = 0; i < FColumns->Count(); ++i) {
        LVCOLUMN native;
        native.mask = LVCF_WIDTH;
        native.cx = FColumns->Items(i) != nullptr ? FColumns->Items(i)->FWidth : 50;
        SendMessage(WindowHandle(), LVM_INSERTCOLUMN, WPARAM(i), reinterpret_cast<LPARAM>(&native));
        UpdateColumn(i);
    }
}

void TCustomListView::UpdateColumn(int index) {
    if (!HandleAllocated() || index < 0 || index >= FColumns->Count()) return;
    const TListColumn* column = FColumns->Items(index);
    if (column == nullptr) return;
    // The width stays as the window has it (the user may have dragged it); SetWidth sets it.
    LVCOLUMN native;
    native.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
    native.pszText = const_cast<char*>(column->Caption().c_str());
    native.fmt = column->Alignment() == taRightJustify ? LVCFMT_RIGHT
        : column->Alignment() == taCenter             ? LVCFMT_CENTER
                                                      : LVCFMT_LEFT;
    native.iSubItem = index;
    if (column->ImageIndex() >= 0) {
        native.mask |= LVCF_IMAGE;
        native.fmt |= LVCFMT_IMAGE;
        native.iImage = column->ImageIndex();
    }
    if (!SendMessage(WindowHandle(), LVM_SETCOLUMN, WPARAM(index), reinterpret_cast<LPARAM>(&native))) UpdateColumns();
}

// ---------------------------------------------------------------------------------------------------------
// Selection and queries

TListItem* TCustomListView::Selected() const {
    if (!HandleAllocated()) return nullptr;
    return FItems->Item(int(SendMessage(WindowHandle(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)));
}

void TCustomListView::SetSelected(TListItem* value) {
    ClearSelection();
    if (value == nullptr) return;
    value->SetSelected(true);
    value->SetFocused(true);
    value->MakeVisible();
}

TListItem* TCustomListView::ItemFocused() const {
    if (!HandleAllocated()) return nullptr;
    return FItems->Item(int(SendMessage(WindowHandle(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED)));
}

void TCustomListView::SetItemFocused(TListItem* value) {
    if (value != nullptr) value->SetFocused(true);
}

int TCustomListView::SelCount() const {
    return HandleAllocated() ? int(SendMessage(WindowHandle(), LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

TListItem* TCustomListView::TopItem() const {
    if (!HandleAllocated() || FItems->Count() == 0) return nullptr;
    return FItems->Item(int(SendMessage(WindowHandle(), LVM_GETTOPINDEX, 0, 0)));
}

int TCustomListView::VisibleRowCount() const {
    return HandleAllocated() ? int(SendMessage(WindowHandle(), LVM_GETCOUNTPERPAGE, 0, 0)) : 0;
}

TListItem* TCustomListView::GetItemAt(int x, int y) const {
    if (!HandleAllocated()) return nullptr;
    LVHITTESTINFO info;
    info.pt = POINT {x, y};
    const int index = int(SendMessage(WindowHandle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    return (info.flags & LVHT_ONITEM) ? FItems->Item(index) : nullptr;
}

THitTests TCustomListView::GetHitTestInfoAt(int x, int y) const {
    THitTests result;
    if (!HandleAllocated()) return result;
    LVHITTESTINFO info;
    info.pt = POINT {x, y};
    SendMessage(WindowHandle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
    if (info.flags & LVHT_NOWHERE) result.Include(htNowhere);
    if (info.iItem >= 0) {
        if (info.flags & LVHT_ONITEMICON) result.Include(htOnIcon);
        if (info.flags & LVHT_ONITEMLABEL) result.Include(htOnLabel);
        if (info.flags & LVHT_ONITEMSTATEICON) result.Include(htOnStateIcon);
        if (info.flags & LVHT_ONITEM) result.Include(htOnItem);
        return result;
    }
    // Outside the client area the flags share bits with the item parts.
    if (info.flags & LVHT_ABOVE) result.Include(htAbove);
    if (info.flags & LVHT_BELOW) result.Include(htBelow);
    if (info.flags & LVHT_TORIGHT) result.Include(htToRight);
    if (info.flags & LVHT_TOLEFT) result.Include(htToLeft);
    return result;
}

void TCustomListView::Scroll(int dx, int dy) {
    if (HandleAllocated()) SendMessage(WindowHandle(), LVM_SCROLL, WPARAM(dx), LPARAM(dy));
}

void TCustomListView::Arrange() {
    if (HandleAllocated()) SendMessage(WindowHandle(), LVM_ARRANGE, LVA_DEFAULT, 0);
}

void TCustomListView::UpdateItems(int first, int last) {
    if (HandleAllocated()) SendMessage(WindowHandle(), LVM_REDRAWITEMS, WPARAM(first), LPARAM(last));
}

void TCustomListView::SelectAll() {
    if (!HandleAllocated() || !FMultiSelect) return;
    LVITEM state;
    state.stateMask = state.state = LVIS_SELECTED;
    SendMessage(WindowHandle(), LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&state));
}

void TCustomListView::ClearSelection() {
    if (!HandleAllocated()) return;
    LVITEM state;
    state.stateMask = LVIS_SELECTED;
    SendMessage(WindowHandle(), LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&state));
}

bool TCustomListView::IsEditing() const {
    return HandleAllocated() && SendMessage(WindowHandle(), LVM_GETEDITCONTROL, 0, 0) != 0;
}

int TCustomListView::StringWidth(const std::string& text) const {
    return HandleAllocated() ? int(SendMessage(WindowHandle(), LVM_GETSTRINGWIDTH, 0, reinterpret_cast<LPARAM>(text.c_str())))
                             : 0;
}

bool TCustomListView::AlphaSort() {
    return CustomSort([this](TListItem* a, TListItem* b) {
        int compare = CompareText(a->Caption(), b->Caption());
        if (OnCompare) OnCompare(this, a, b, 0, compare);
        return compare;
    });
}

bool TCustomListView::CustomSort(const std::function<int(TListItem*, TListItem*)>& compare) {
    if (FOwnerData) return false;
    if (!HandleAllocated()) {
        auto& items = FItems->FItems;
        std::stable_sort(items.begin(), items.end(), [&](const auto& a, const auto& b) { return compare(a.get(), b.get()) < 0; });
        return true;
    }
    PFNLVCOMPARE callback = [](LPARAM a, LPARAM b, LPARAM data) {
        const auto& c = *reinterpret_cast<const std::function<int(TListItem*, TListItem*)>*>(data);
        return c(reinterpret_cast<TListItem*>(a), reinterpret_cast<TListItem*>(b));
    };
    const bool sorted = SendMessage(WindowHandle(), LVM_SORTITEMS, reinterpret_cast<WPARAM>(&compare),
                            reinterpret_cast<LPARAM>(callback))
        != 0;
    FItems->SyncOrder();
    return sorted;
}

// ---------------------------------------------------------------------------------------------------------
// Events

bool TCustomListView::OwnerDataFetch(TListItem* item, TItemRequest) {
    if (!OnData) return false;
    OnData(this, item);
    return true;
}

bool TCustomListView::OwnerDataHint(int startIndex, int endIndex) {
    if (!OnDataHint) return false;
    OnDataHint(this, startIndex, endIndex);
    return true;
}

int TCustomListView::OwnerDataFind(TItemFind find, const std::string& findString, const TPoint& findPosition,
    void* findData, int startIndex, TSearchDirection direction, bool wrap) {
    int index = -1;
    if (OnDataFind) OnDataFind(this, find, findString, findPosition, findData, startIndex, direction, wrap, index);
    return index;
}

bool TCustomListView::CanChange(TListItem* item, TItemChange change) {
    bool allow = true;
    if (OnChanging) OnChanging(this, item, change, allow);
    return allow;
}

void TCustomListView::Change(TListItem* item, TItemChange change) {
    if (OnChange) OnChange(this, item, change);
}

void TCustomListView::DoSelectItem(TListItem* item, bool selected) {
    if (OnSelectItem) OnSelectItem(this, item, selected);
}

void TCustomListView::ColClick(TListColumn* column) {
    if (OnColumnClick) OnColumnClick(this, column);
}

bool TCustomListView::CanEdit(TListItem* item) {
    if (FReadOnly) return false;
    bool allow = true;
    if (OnEditing) OnEditing(this, item, allow);
    return allow;
}

void TCustomListView::Edit(const LVITEM& item) {
    TListItem* listItem = ItemOf(item.iItem, item.lParam);
    if (listItem == nullptr || item.pszText == nullptr) return;
    std::string text = item.pszText;
    if (OnEdited) OnEdited(this, listItem, text);
    // The handler may have deleted the item.
    if (!FOwnerData && FItems->IndexOf(listItem) >= 0) listItem->SetCaption(text);
}

void TCustomListView::Delete(TListItem* item) {
    if (OnDeletion) OnDeletion(this, item);
}

void TCustomListView::InsertItem(TListItem* item) {
    if (OnInsert) OnInsert(this, item);
}

bool TCustomListView::CustomDraw(const TRect& rect, TCustomDrawStage stage) {
    bool defaultDraw = true;
    if (OnAdvancedCustomDraw) OnAdvancedCustomDraw(this, rect, stage, defaultDraw);
    return defaultDraw;
}

// ---------------------------------------------------------------------------------------------------------
// Notifications

TListItem* TCustomListView::ItemOf(int index, LPARAM param) const {
    if (FOwnerData) return FItems->Item(index);
    auto* item = reinterpret_cast<TListItem*>(param);
    if (item != nullptr && FItems->IndexOf(item) >= 0) return item;
    return FItems->Item(index);
}

void TCustomListView::GetDispInfo(LVITEM& item) {
    TListItem* listItem = ItemOf(item.iItem, item.lParam);
    if (listItem == nullptr) return;
    if ((item.mask & LVIF_TEXT) && item.pszText != nullptr && item.cchTextMax > 0) {
        std::string text;
        if (item.iSubItem == 0)
            text = listItem->Caption();
        else if (item.iSubItem - 1 < listItem->SubItems()->Count())
            text = listItem->SubItems()->Strings(item.iSubItem - 1);
        const size_t n = std::min(text.size(), size_t(item.cchTextMax - 1));
        std::memcpy(item.pszText, text.data(), n);
        item.pszText[n] = '\0';
    }
    if (item.mask & LVIF_IMAGE) item.iImage = listItem->ImageIndex();
}

LRESULT TCustomListView::NotifyCustomDraw(NMHDR* hdr) {
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(hdr);
    if (!OnAdvancedCustomDraw) return CDRF_DODEFAULT;
    TCustomDrawStage stage;
    switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        stage = cdPrePaint;
        break;
    case CDDS_POSTPAINT:
        stage = cdPostPaint;
        break;
    case CDDS_PREERASE:
        stage = cdPreErase;
        break;
    case CDDS_POSTERASE:
        stage = cdPostErase;
        break;
    default:
        return CDRF_DODEFAULT;
    }
    gdi::SavedDc saved(cd->nmcd.hdc);
    FCanvas->SetHandle(cd->nmcd.hdc);
    base::ScopeExit release([this] { FCanvas->SetHandle(nullptr); });
    const bool defaultDraw = CustomDraw(cd->nmcd.rc, stage);
    LRESULT result = defaultDraw ? CDRF_DODEFAULT : CDRF_SKIPDEFAULT;
    if (stage == cdPrePaint) result |= CDRF_NOTIFYPOSTPAINT;
    if (stage == cdPreErase) result |= CDRF_NOTIFYPOSTERASE;
    return result;
}

void TCustomListView::CNNotify(TMessage& m) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    if (hdr == nullptr) return;
    auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
    switch (hdr->code) {
    case LVN_GETDISPINFO:
        GetDispInfo(reinterpret_cast<NMLVDISPINFO*>(hdr)->item);
        return;
    case LVN_ODCACHEHINT: {
        auto* hint = reinterpret_cast<NMLVCACHEHINT*>(hdr);
        OwnerDataHint(hint->iFrom, hint->iTo);
        return;
    }
    case LVN_ODFINDITEM: {
        auto* find = reinterpret_cast<NMLVFINDITEM*>(hdr);
        const TItemFind kind = (find->lvfi.flags & LVFI_PARAM) ? ifData
            : (find->lvfi.flags & LVFI_PARTIAL)                ? ifPartialString
                                                               : ifExactString;
        m.Result = OwnerDataFind(kind, find->lvfi.psz ? find->lvfi.psz : "", find->lvfi.pt,
            reinterpret_cast<void*>(find->lvfi.lParam), find->iStart, sdAll, (find->lvfi.flags & LVFI_WRAP) != 0);
        return;
    }
    case LVN_ITEMCHANGING:
        if (nm->uChanged & LVIF_STATE) m.Result = CanChange(ItemOf(nm->iItem, nm->lParam), ctState) ? 0 : 1;
        return;
    case LVN_ITEMCHANGED: {
        if (!(nm->uChanged & LVIF_STATE)) return;
        TListItem* item = ItemOf(nm->iItem, nm->lParam);
        if (!RunUserCode(this, [&] { Change(item, ctState); })) return;
        if ((nm->uNewState ^ nm->uOldState) & LVIS_SELECTED)
            DoSelectItem(ItemOf(nm->iItem, nm->lParam), (nm->uNewState & LVIS_SELECTED) != 0);
        return;
    }
    case LVN_INSERTITEM:
        if (TListItem* item = ItemOf(nm->iItem, 0)) InsertItem(item);
        return;
    case LVN_DELETEITEM: {
        if (FDestroyingWnd || FOwnerData) return;   // the items stay for the next window
        auto* item = reinterpret_cast<TListItem*>(nm->lParam);
        if (item == nullptr || FItems->IndexOf(item) < 0) return;
        if (!RunUserCode(this, [&] { Delete(item); })) return;
        if (FItems->IndexOf(item) >= 0) FItems->Remove(item);
        return;
    }
    case LVN_COLUMNCLICK:
        if (FColumnClick && nm->iSubItem >= 0 && nm->iSubItem < FColumns->Count()) ColClick(FColumns->Items(nm->iSubItem));
        return;
    case LVN_BEGINLABELEDIT: {
        const LVITEM& item = reinterpret_cast<NMLVDISPINFO*>(hdr)->item;
        TListItem* listItem = ItemOf(item.iItem, item.lParam);
        m.Result = listItem != nullptr && CanEdit(listItem) ? 0 : 1;
        return;
    }
    case LVN_ENDLABELEDIT:
        Edit(reinterpret_cast<NMLVDISPINFO*>(hdr)->item);
        m.Result = 0;   // the item has taken its caption itself
        return;
    case NM_CUSTOMDRAW:
        m.Result = NotifyCustomDraw(hdr);
        return;
    default:
        return;
    }
}

void TCustomListView::WndProc(TMessage& message) {
    if (message.Msg == CN_NOTIFY) {
        CNNotify(message);
        return;
    }
    TWinControl::WndProc(message);
    if (message.Msg == CM_COLORCHANGED || message.Msg == CM_FONTCHANGED) ApplyColors();
}

void TCustomListView::ApplyColors() {
    if (!HandleAllocated()) return;
    const LPARAM back = LPARAM(ColorToRGB(Color()) & 0xFFFFFF);
    SendMessage(WindowHandle(), LVM_SETBKCOLOR, 0, back);
    SendMessage(WindowHandle(), LVM_SETTEXTBKCOLOR, 0, back);
    SendMessage(WindowHandle(), LVM_SETTEXTCOLOR, 0, LPARAM(ColorToRGB(Font()->Color()) & 0xFFFFFF));
    Invalidate();
}

// ---------------------------------------------------------------------------------------------------------
// TListView

TListView::TListView(TComponent* owner)
    : TCustomListView(owner) {
}

TClass TListView::StaticClass() {
    static const TClassInfo info = MakeClass<TListView, TCustomListView>("TListView", [](auto& p) {
        p.Enum("BorderStyle", &TListView::BorderStyle, &TListView::SetBorderStyle, FormBorderStyleIdents, bsSingle);
        p.Color("Color", &TListView::Color, &TListView::SetColor, clWindow);
        p.Bool("ColumnClick", &TListView::ColumnClick, &TListView::SetColumnClick, true);
        p.Object("Columns", &TListView::Columns, &TListView::SetColumns);
        p.Bool("GridLines", &TListView::GridLines, &TListView::SetGridLines, false);
        p.Bool("HideSelection", &TListView::HideSelection, &TListView::SetHideSelection, true);
        p.Bool("HotTrack", &TListView::HotTrack, &TListView::SetHotTrack, false);
        p.Component("LargeImages", &TListView::LargeImages, &TListView::SetLargeImages);
        p.Bool("MultiSelect", &TListView::MultiSelect, &TListView::SetMultiSelect, false);
        p.Bool("OwnerData", &TListView::OwnerData, &TListView::SetOwnerData, false);
        p.Bool("ReadOnly", &TListView::ReadOnly, &TListView::SetReadOnly, false);
        p.Bool("RowSelect", &TListView::RowSelect, &TListView::SetRowSelect, false);
        p.Bool("ShowColumnHeaders", &TListView::ShowColumnHeaders, &TListView::SetShowColumnHeaders, true);
        p.Component("SmallImages", &TListView::SmallImages, &TListView::SetSmallImages);
        p.Enum("SortType", &TListView::SortType, &TListView::SetSortType, SortTypeIdents, stNone);
        p.Enum("ViewStyle", &TListView::ViewStyle, &TListView::SetViewStyle, ViewStyleIdents, vsIcon);
        p.Event("OnAdvancedCustomDraw", &TListView::OnAdvancedCustomDraw);
        p.Event("OnChange", &TListView::OnChange);
        p.Event("OnChanging", &TListView::OnChanging);
        p.Event("OnColumnClick", &TListView::OnColumnClick);
        p.Event("OnCompare", &TListView::OnCompare);
        p.Event("OnData", &TListView::OnData);
        p.Event("OnDataFind", &TListView::OnDataFind);
        p.Event("OnDataHint", &TListView::OnDataHint);
        p.Event("OnDeletion", &TListView::OnDeletion);
        p.Event("OnEdited", &TListView::OnEdited);
        p.Event("OnEditing", &TListView::OnEditing);
        p.Event("OnInsert", &TListView::OnInsert);
        p.Event("OnSelectItem", &TListView::OnSelectItem);
    });
    return &info;
}

}
