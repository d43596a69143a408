// TListItem, TListItems, TListColumn and TListColumns, mirrored in the native list view.
#include "platform/classes/TListItems.h"

#include "platform/base/Assert.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TListView.h"
#include "platform/classes/TStringList.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/ListView.h"

#include <algorithm>

namespace korvex::classes {

using namespace user;

namespace {

HWND Native(const TCustomListView* list) {
    return list != nullptr && list->HandleAllocated() ? list->WindowHandle() : nullptr;
}

}   // namespace

// ---------------------------------------------------------------------------------------------------------
// TListItem

TListItem::TListItem(TListItems* owner)
    : FOwner(owner)
    , FSubItems(std::make_unique<TStringList>()) {
    FSubItems->OnChange = [this](TObject*) { Changed(); };
}

TListItem::~TListItem() = default;

TClass TListItem::StaticClass() {
    static const TClassInfo info = MakeClass<TListItem, TPersistent>("TListItem");
    return &info;
}

TCustomListView* TListItem::ListView() const {
    return FOwner->Owner();
}

TStrings* TListItem::SubItems() const {
    return FSubItems.get();
}

void TListItem::SetSubItems(const TStrings* value) {
    FSubItems->Assign(value);
}

void TListItem::SetCaption(const std::string& value) {
    if (value == FCaption) return;
    FCaption = value;
    Changed();
}

void TListItem::SetImageIndex(int value) {
    if (value == FImageIndex) return;
    FImageIndex = value;
    Changed();
}

void TListItem::Changed() {
    if (FIndex >= 0) return;   // an owner-data temporary being filled: the list is drawing it
    const int index = Index();
    if (HWND list = Native(ListView()); list != nullptr && index >= 0)
        SendMessage(list, LVM_REDRAWITEMS, WPARAM(index), LPARAM(index));
}

int TListItem::Index() const {
    if (FIndex >= 0) return FIndex;
    return FOwner->IndexOf(this);
}

bool TListItem::Selected() const {
    HWND list = Native(ListView());
    if (list == nullptr) return (FSavedState & LVIS_SELECTED) != 0;
    return (SendMessage(list, LVM_GETITEMSTATE, WPARAM(Index()), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool value) {
    HWND list = Native(ListView());
    if (list == nullptr) {
        FSavedState = value ? FSavedState | LVIS_SELECTED : FSavedState & ~LVIS_SELECTED;
        return;
    }
    LVITEM item;
    item.stateMask = LVIS_SELECTED;
    item.state = value ? LVIS_SELECTED : 0;
    SendMessage(list, LVM_SETITEMSTATE, WPARAM(Index()), reinterpret_cast<LPARAM>(&item));
}

bool TListItem::Focused() const {
    HWND list = Native(ListView());
    if (list == nullptr) return (FSavedState & LVIS_FOCUSED) != 0;
    return (SendMessage(list, LVM_GETITEMSTATE, WPARAM(Index()), LVIS_FOCUSED) & LVIS_FOCUSED) != 0;
}

void TListItem::SetFocused(bool value) {
    HWND list = Native(ListView());
    if (list == nullptr) {
        FSavedState = value ? FSavedState | LVIS_FOCUSED : FSavedState & ~LVIS_FOCUSED;
        return;
    }
    LVITEM item;
    item.stateMask = LVIS_FOCUSED;
    item.state = value ? LVIS_FOCUSED : 0;
    SendMessage(list, LVM_SETITEMSTATE, WPARAM(Index()), reinterpret_cast<LPARAM>(&item));
}

TRect TListItem::DisplayRect(TDisplayCode code) const {
    TRect r {int(code), 0, 0, 0};
    HWND list = Native(ListView());
    if (list == nullptr || !SendMessage(list, LVM_GETITEMRECT, WPARAM(Index()), reinterpret_cast<LPARAM>(&r)))
        return TRect {};
    return r;
}

void TListItem::MakeVisible(bool) {
    if (HWND list = Native(ListView())) SendMessage(list, LVM_ENSUREVISIBLE, WPARAM(Index()), 0);
}

bool TListItem::EditCaption() {
    HWND list = Native(ListView());
    return list != nullptr && SendMessage(list, LVM_EDITLABEL, WPARAM(Index()), 0) != 0;
}

void TListItem::Update() {
    Changed();
}

void TListItem::Delete() {
    FOwner->Delete(Index());
}

// ---------------------------------------------------------------------------------------------------------
// TListItems

TListItems::TListItems(TCustomListView* owner)
    : FOwner(owner) {
}

TListItems::~TListItems() = default;

TClass TListItems::StaticClass() {
    static const TClassInfo info = MakeClass<TListItems, TPersistent>("TListItems");
    return &info;
}

int TListItems::Count() const {
    return FOwner->OwnerData() ? FOwnerCount : int(FItems.size());
}

void TListItems::SetCount(int value) {
    if (!FOwner->OwnerData()) return;
    FOwnerCount = std::max(0, value);
    if (HWND list = Native(FOwner)) SendMessage(list, LVM_SETITEMCOUNT, WPARAM(FOwnerCount), 0);
}

TListItem* TListItems::Item(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    if (!FOwner->OwnerData()) return FItems[size_t(index)].get();
    auto* self = const_cast<TListItems*>(this);
    if (!self->FTemp) self->FTemp = std::make_unique<TListItem>(self);
    TListItem* item = self->FTemp.get();
    item->FIndex = index;
    item->FCaption.clear();
    item->FSubItems->Clear();
    item->FImageIndex = -1;
    item->FData = nullptr;
    FOwner->OwnerDataFetch(item, TItemRequest {irText, irImage, irParam, irState});
    return item;
}

int TListItems::IndexOf(const TListItem* item) const {
    if (item == nullptr) return -1;
    if (item == FTemp.get()) return item->FIndex;
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == item) return int(i);
    return -1;
}

TListItem* TListItems::Add() {
    return Insert(int(FItems.size()));
}

TListItem* TListItems::Insert(int index) {
    if (FOwner->OwnerData()) return nullptr;
    index = std::clamp(index, 0, int(FItems.size()));
    FItems.insert(FItems.begin() + index, std::make_unique<TListItem>(this));
    if (Native(FOwner) != nullptr) InsertNative(index);
    return FItems[size_t(index)].get();
}

void TListItems::InsertNative(int index) {
    HWND list = Native(FOwner);
    KORVEX_ASSERT(list != nullptr);
    TListItem* item = FItems[size_t(index)].get();
    LVITEM native;
    native.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    native.iItem = index;
    // Texts and images are asked for when drawn.
    native.pszText = LPSTR_TEXTCALLBACK;
    native.iImage = I_IMAGECALLBACK;
    native.lParam = reinterpret_cast<LPARAM>(item);
    native.stateMask = LVIS_SELECTED;
    native.state = item->FSavedState & LVIS_SELECTED;
    SendMessage(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&native));
    if (item->FSavedState & LVIS_FOCUSED) item->SetFocused(true);
    item->FSavedState = 0;
}

void TListItems::Delete(int index) {
    if (FOwner->OwnerData()) return;
    if (index < 0 || index >= int(FItems.size())) return;
    if (HWND list = Native(FOwner)) {
        // The native deletion reports the item, and the report frees it.
        SendMessage(list, LVM_DELETEITEM, WPARAM(index), 0);
        return;
    }
    TListItem* item = FItems[size_t(index)].get();
    FOwner->Delete(item);
    Remove(item);
}

void TListItems::Remove(TListItem* item) {
    auto it = std::find_if(FItems.begin(), FItems.end(), [&](const auto& i) { return i.get() == item; });
    KORVEX_ASSERT(it != FItems.end());   // every reported item is one of ours
    if (it != FItems.end()) FItems.erase(it);
}

void TListItems::Clear() {
    if (FOwner->OwnerData()) {
        SetCount(0);
        return;
    }
    BeginUpdate();
    if (HWND list = Native(FOwner))
        SendMessage(list, LVM_DELETEALLITEMS, 0, 0);
    else
        while (!FItems.empty())
            Delete(int(FItems.size()) - 1);
    EndUpdate();
}

void TListItems::SyncOrder() {
    HWND list = Native(FOwner);
    if (list == nullptr) return;
    for (size_t i = 0; i < FItems.size(); ++i) {
        LVITEM native;
        native.mask = LVIF_PARAM;
        native.iItem = int(i);
        SendMessage(list, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&native));
        auto* want = reinterpret_cast<TListItem*>(native.lParam);
        auto it = std::find_if(FItems.begin() + std::ptrdiff_t(i), FItems.end(), [&](const auto& p) { return p.get() == want; });
        if (it != FItems.end()) std::iter_swap(FItems.begin() + std::ptrdiff_t(i), it);
    }
}

void TListItems::BeginUpdate() {
    if (FUpdateCount++ == 0)
        if (HWND list = Native(FOwner)) SendMessage(list, WM_SETREDRAW, 0, 0);
}

void TListItems::EndUpdate() {
    KORVEX_ASSERT(FUpdateCount > 0);   // paired with BeginUpdate
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        if (HWND list = Native(FOwner)) SendMessage(list, WM_SETREDRAW, 1, 0);
}

// ---------------------------------------------------------------------------------------------------------
// TListColumn

TListColumn::TListColumn(TCollection* collection)
    : TCollectionItem(collection) {
}

TClass TListColumn::StaticClass() {
    static const TClassInfo info = MakeClass<TListColumn, TCollectionItem>("TListColumn", [](auto& p) {
        p.Enum("Alignment", &TListColumn::Alignment, &TListColumn::SetAlignment, AlignmentIdents, taLeftJustify);
        p.String("Caption", &TListColumn::Caption, &TListColumn::SetCaption);
        p.Int("ImageIndex", &TListColumn::ImageIndex, &TListColumn::SetImageIndex, -1);
        p.Int("Width", &TListColumn::Width, &TListColumn::SetWidth, 50);
    });
    return &info;
}

void TListColumn::Assign(const TPersistent* source) {
    if (const auto* column = dynamic_cast<const TListColumn*>(source)) {
        FCaption = column->FCaption;
        FWidth = column->Width();
        FAlignment = column->FAlignment;
        FImageIndex = column->FImageIndex;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(source);
}

void TListColumn::SetCaption(const std::string& value) {
    if (value == FCaption) return;
    FCaption = value;
    Changed(false);
}

int TListColumn::Width() const {
    const auto* columns = dynamic_cast<const TListColumns*>(Collection());
    HWND list = columns != nullptr ? Native(columns->Owner()) : nullptr;
    LVCOLUMN native;
    native.mask = LVCF_WIDTH;
    if (list != nullptr && SendMessage(list, LVM_GETCOLUMN, WPARAM(Index()), reinterpret_cast<LPARAM>(&native)))
        return native.cx;
    return FWidth;
}

void TListColumn::SetWidth(int value) {
    FWidth = std::max(0, value);
    const auto* columns = dynamic_cast<const TListColumns*>(Collection());
    if (HWND list = columns != nullptr ? Native(columns->Owner()) : nullptr)
        SendMessage(list, LVM_SETCOLUMNWIDTH, WPARAM(Index()), LPARAM(FWidth));
}

void TListColumn::SetAlignment(TAlignment value) {
    if (value == FAlignment) return;
    FAlignment = value;
    Changed(false);
}

void TListColumn::SetImageIndex(int value) {
    if (value == FImageIndex) return;
    FImageIndex = value;
    Changed(false);
}

// ---------------------------------------------------------------------------------------------------------
// TListColumns

TListColumns::TListColumns(TCustomListView* owner)
    : TControlCollection(owner) {
}

TClass TListColumns::StaticClass() {
    static const TClassInfo info = MakeClass<TListColumns, TCollection>("TListColumns");
    return &info;
}

void TListColumns::Update(TCollectionItem* item) {
    if (item != nullptr)
        Keeper()->UpdateColumn(item->Index());
    else
        Keeper()->UpdateColumns();
}

}
