// TCollection and TCollectionItem: an owned list of items of one class, streamed as <item ... end>.
#pragma once

#include "platform/classes/TPersistent.h"

#include <string>
#include <vector>

namespace korvex::classes {

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

// An item belongs to at most one collection: its constructor adds it, its destructor takes it out.
// A descendant has a constructor taking TCollection* so that TCollection::Add can make it.
class TCollectionItem : public TPersistent {
public:
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TCollection* Collection() const { return FCollection; }
    void SetCollection(TCollection* value);   // moves it to the end of another collection (or out)
    int Index() const;   // -1 outside a collection
    virtual void SetIndex(int value);   // moves it within its collection (clamped)
    int ID() const { return FID; }   // unique within the collection, never reused
    virtual std::string DisplayName() const;   // the class name by default
    virtual void SetDisplayName(const std::string& value);   // tells the collection of a change by default

    TPersistent* GetOwner() const override;

protected:
    void Changed(bool allItems);   // the collection's Update(this) or Update(nullptr)

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

// Items are freed by the collection. Changes call Update(item) (nullptr: all items changed) unless inside
// BeginUpdate / EndUpdate, which nest; the last EndUpdate calls Update(nullptr).
class TCollection : public TPersistent {
public:
    explicit TCollection(TClass itemClass);
    ~TCollection() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TClass ItemClass() const { return FItemClass; }
    int Count() const { return static_cast<int>(FItems.size()); }
    TCollectionItem* Items(int index) const;   // raises EListError out of range
    template <class T>
    T* Item(int index) const {
        return as<T>(Items(index));
    }
    void SetItems(int index, const TCollectionItem* value);   // Items(index)->Assign(value)

    TCollectionItem* Add();   // a new item of ItemClass at the end
    TCollectionItem* Insert(int index);   // a new item moved to index
    void Delete(int index);
    void Clear();
    TCollectionItem* FindItemID(int id) const;

    void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // From another collection: Clear, then one new item per source item, each Assign-ed. When an item cannot
    // be assigned the error passes on; the item that failed is not kept.
    void Assign(const TPersistent* source) override;

protected:
    virtual void Update(TCollectionItem* item);
    virtual void Notify(TCollectionItem* item, TCollectionNotification action);
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);

    TClass FItemClass = nullptr;
    std::vector<TCollectionItem*> FItems;
    int FUpdateCount = 0;
    int FNextID = 0;
};

// A collection that names its owner (the component or item it is a property of).
class TOwnedCollection : public TCollection {
public:
    TOwnedCollection(TPersistent* owner, TClass itemClass);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    TPersistent* GetOwner() const override { return FOwner; }

private:
    TPersistent* FOwner = nullptr;
};

// The collection of TItem that a control keeps (header sections, status panels, list columns): the control
// is its owner, Add and Items are typed. Items gives nullptr for an item still being made (a change may be
// reported from its constructor).
template <class TItem, class TKeeper>
class TControlCollection : public TOwnedCollection {
public:
    TItem* Add() { return static_cast<TItem*>(TCollection::Add()); }
    TItem* Items(int index) const { return dynamic_cast<TItem*>(TCollection::Items(index)); }
    TKeeper* Keeper() const { return FKeeper; }

protected:
    explicit TControlCollection(TKeeper* keeper)
        : TOwnedCollection(keeper, TItem::StaticClass())
        , FKeeper(keeper) { }

private:
    TKeeper* FKeeper;
};

}
