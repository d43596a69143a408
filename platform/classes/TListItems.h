// TListItem, TListItems, TListColumn and TListColumns: the items and report columns of a list view.
#pragma once

#include "platform/classes/GraphicsTypes.h"
#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TCollection.h"
#include "platform/classes/TPersistent.h"

#include <memory>
#include <string>
#include <vector>

namespace korvex::classes {

class TCustomListView;
class TListItems;
class TStrings;
class TStringList;

enum TDisplayCode { drBounds, drIcon, drLabel, drSelectBounds };

// One item: caption, sub-items (one text a report column after the first), image and data. The native list
// asks for the texts and the image when it draws. In an owner-data list the item is a temporary that
// OwnerDataFetch fills for one index.
class TListItem : public TPersistent {
public:
    explicit TListItem(TListItems* owner);
    ~TListItem() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    TStrings* SubItems() const;
    void SetSubItems(const TStrings* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    void* Data() const { return FData; }
    void SetData(void* value) { FData = value; }
    bool Selected() const;
    void SetSelected(bool value);
    bool Focused() const;
    void SetFocused(bool value);

    TListItems* Owner() const { return FOwner; }
    TCustomListView* ListView() const;
    int Index() const;   // -1 once removed
    TRect DisplayRect(TDisplayCode code) const;
    void MakeVisible(bool partialOk = true);
    bool EditCaption();   // false when refused
    void Update();   // redraws it
    void Delete();

private:
    friend class TListItems;
    friend class TCustomListView;
    void Changed();

    TListItems* FOwner;
    std::string FCaption;
    std::unique_ptr<TStringList> FSubItems;
    int FImageIndex = -1;
    void* FData = nullptr;
    int FIndex = -1;   // owner data: the index this temporary stands for
    unsigned FSavedState = 0;   // selection and focus kept while the list has no window
};

// The items. In an owner-data list only Count is kept (SetCount) and Item(i) fills the one temporary.
class TListItems : public TPersistent {
public:
    explicit TListItems(TCustomListView* owner);
    ~TListItems() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TCustomListView* Owner() const { return FOwner; }
    int Count() const;
    void SetCount(int value);   // owner data only
    TListItem* Item(int index) const;   // nullptr out of range
    int IndexOf(const TListItem* item) const;   // -1 when not one of ours

    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    void BeginUpdate();   // nests; the list stops repainting
    void EndUpdate();

private:
    friend class TListItem;
    friend class TCustomListView;
    void InsertNative(int index);
    void Remove(TListItem* item);
    void SyncOrder();   // the class order from the native one after a sort

    TCustomListView* FOwner;
    std::vector<std::unique_ptr<TListItem>> FItems;
    std::unique_ptr<TListItem> FTemp;   // owner data
    int FOwnerCount = 0;
    int FUpdateCount = 0;
};

class TListColumn : public TCollectionItem {
public:
    explicit TListColumn(TCollection* collection);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    void Assign(const TPersistent* source) override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    int Width() const;   // the native width while the list has a window (the user may have dragged it)
    void SetWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);

private:
    friend class TCustomListView;
    std::string FCaption;
    int FWidth = 50;   // the width given; the window's own may differ once the user dragged it
    TAlignment FAlignment = taLeftJustify;
    int FImageIndex = -1;
};

class TListColumns : public TControlCollection<TListColumn, TCustomListView> {
public:
    explicit TListColumns(TCustomListView* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    TCustomListView* Owner() const { return Keeper(); }

protected:
    void Update(TCollectionItem* item) override;
};

}
