// TCustomListView and TListView over the native list view: view styles, columns, items or owner data,
// selection, sorting, label editing and custom drawing with their events.
#pragma once

#include "platform/classes/ComCtrlsTypes.h"
#include "platform/classes/Forward.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TListItems.h"
#include "platform/classes/TWinControl.h"
#include "platform/user/controls/ListView.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace korvex::classes {

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
inline constexpr std::string_view ViewStyleIdents[] = {"vsIcon", "vsSmallIcon", "vsList", "vsReport"};
enum TSortType { stNone, stData, stText, stBoth };
inline constexpr std::string_view SortTypeIdents[] = {"stNone", "stData", "stText", "stBoth"};
enum TItemChange { ctText, ctImage, ctState };
enum TItemRequestItem { irText, irImage, irParam, irState, irIndent };
using TItemRequest = TSet<TItemRequestItem>;
enum TItemFind { ifData, ifPartialString, ifExactString, ifNearest };
enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };

using TLVChangeEvent = std::function<void(TObject* sender, TListItem* item, TItemChange change)>;
using TLVChangingEvent = std::function<void(TObject* sender, TListItem* item, TItemChange change, bool& allowChange)>;
using TLVSelectItemEvent = std::function<void(TObject* sender, TListItem* item, bool selected)>;
using TLVColumnClickEvent = std::function<void(TObject* sender, TListColumn* column)>;
using TLVCompareEvent = std::function<void(TObject* sender, TListItem* item1, TListItem* item2, int data, int& compare)>;
using TLVEditingEvent = std::function<void(TObject* sender, TListItem* item, bool& allowEdit)>;
using TLVEditedEvent = std::function<void(TObject* sender, TListItem* item, std::string& text)>;
using TLVDeletedEvent = std::function<void(TObject* sender, TListItem* item)>;
using TLVOwnerDataEvent = std::function<void(TObject* sender, TListItem* item)>;
using TLVOwnerDataHintEvent = std::function<void(TObject* sender, int startIndex, int endIndex)>;
using TLVOwnerDataFindEvent = std::function<void(TObject* sender, TItemFind find, const std::string& findString,
    const TPoint& findPosition, void* findData, int startIndex, TSearchDirection direction, bool wrap, int& index)>;
using TLVAdvancedCustomDrawEvent
    = std::function<void(TCustomListView* sender, const TRect& rect, TCustomDrawStage stage, bool& defaultDraw)>;

// Items are kept by the class across window re-creation. In an owner-data list (OwnerData) the list asks
// for what it shows: OwnerDataFetch (OnData) for the items on screen, OwnerDataHint (OnDataHint) for the
// range about to be asked, OwnerDataFind (OnDataFind) for incremental search.
class TCustomListView : public TWinControl {
public:
    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TListColumns* Columns() const { return FColumns.get(); }
    void SetColumns(const TListColumns* value) { FColumns->Assign(value); }
    TListItems* Items() const { return FItems.get(); }
    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle value);
    bool OwnerData() const { return FOwnerData; }
    void SetOwnerData(bool value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool value);
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool value);
    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool value);
    bool ColumnClick() const { return FColumnClick; }
    void SetColumnClick(bool value);
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool value);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);   // bsNone or bsSingle
    TSortType SortType() const { return FSortType; }
    void SetSortType(TSortType value);
    TCustomImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TCustomImageList* value);
    TCustomImageList* LargeImages() const { return FLargeImages; }
    void SetLargeImages(TCustomImageList* value);
    TCanvas* Canvas() const;   // the paint DC while a custom-draw event runs

    TListItem* Selected() const;   // the first selected item
    void SetSelected(TListItem* value);   // the only selected item (nullptr: none)
    TListItem* ItemFocused() const;
    void SetItemFocused(TListItem* value);
    int SelCount() const;
    TListItem* TopItem() const;
    int VisibleRowCount() const;

    TListItem* GetItemAt(int x, int y) const;
    THitTests GetHitTestInfoAt(int x, int y) const;
    void Scroll(int dx, int dy);
    void Arrange();
    void UpdateItems(int first, int last);
    void SelectAll();
    void ClearSelection();
    bool IsEditing() const;
    int StringWidth(const std::string& text) const;
    bool AlphaSort();
    bool CustomSort(const std::function<int(TListItem*, TListItem*)>& compare);

    TLVChangeEvent OnChange;
    TLVChangingEvent OnChanging;
    TLVSelectItemEvent OnSelectItem;
    TLVColumnClickEvent OnColumnClick;
    TLVCompareEvent OnCompare;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    TLVDeletedEvent OnDeletion;
    TLVDeletedEvent OnInsert;
    TLVOwnerDataEvent OnData;
    TLVOwnerDataHintEvent OnDataHint;
    TLVOwnerDataFindEvent OnDataFind;
    TLVAdvancedCustomDrawEvent OnAdvancedCustomDraw;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual bool OwnerDataFetch(TListItem* item, TItemRequest request);   // OnData
    virtual bool OwnerDataHint(int startIndex, int endIndex);   // OnDataHint
    virtual int OwnerDataFind(TItemFind find, const std::string& findString, const TPoint& findPosition,
        void* findData, int startIndex, TSearchDirection direction, bool wrap);   // OnDataFind
    virtual bool CanChange(TListItem* item, TItemChange change);   // OnChanging
    virtual void Change(TListItem* item, TItemChange change);   // OnChange
    virtual void DoSelectItem(TListItem* item, bool selected);   // OnSelectItem
    virtual void ColClick(TListColumn* column);   // OnColumnClick
    virtual bool CanEdit(TListItem* item);   // OnEditing; never while ReadOnly
    virtual void Edit(const user::LVITEM& item);   // OnEdited, then the item takes the text
    virtual void Delete(TListItem* item);   // OnDeletion
    virtual void InsertItem(TListItem* item);   // OnInsert
    virtual bool CustomDraw(const TRect& rect, TCustomDrawStage stage);   // OnAdvancedCustomDraw; false: no default

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumn;
    friend class TListColumns;
    void CNNotify(TMessage& m);
    void GetDispInfo(user::LVITEM& item);
    user::LRESULT NotifyCustomDraw(user::NMHDR* hdr);
    TListItem* ItemOf(int index, user::LPARAM param) const;
    void UpdateColumns();
    void UpdateColumn(int index);
    void UpdateExStyle();
    void UpdateStyle();
    void ApplyImages();
    void ApplyColors();   // Color and Font.Color into the native list
    void SetImageList(TCustomImageList*& slot, TCustomImageList* value);

    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TListItems> FItems;
    std::unique_ptr<TChangeLink> FImageLink;
    std::unique_ptr<TControlCanvas> FCanvas;
    TCustomImageList* FSmallImages = nullptr;
    TCustomImageList* FLargeImages = nullptr;
    TViewStyle FViewStyle = vsIcon;
    TSortType FSortType = stNone;
    TFormBorderStyle FBorderStyle = bsSingle;
    bool FOwnerData = false;
    bool FMultiSelect = false;
    bool FReadOnly = false;
    bool FHideSelection = true;
    bool FRowSelect = false;
    bool FHotTrack = false;
    bool FGridLines = false;
    bool FColumnClick = true;
    bool FShowColumnHeaders = true;
    bool FDestroyingWnd = false;   // the native items go with the window, the class items stay
};

class TListView : public TCustomListView {
public:
    explicit TListView(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

}
