// Tests of collections: items owned by their collection, update notifications, moving, copying and ids.
#include "support/Fixtures.h"

#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::test;

namespace {

// Counts Update calls (nullptr = all items) and notifications.
class TCountingCollection : public TCollection {
public:
    TCountingCollection()
        : TCollection(TTestLeaf::StaticClass()) { }
    std::vector<std::string> Log;

protected:
    void Update(TCollectionItem* item) override { Log.push_back(item == nullptr ? "update all" : "update item"); }
    void Notify(TCollectionItem*, TCollectionNotification action) override {
        Log.push_back(action == cnAdded ? "added" : action == cnExtracting ? "extracting" : "deleting");
    }
};

// An item that refuses to be copied.
class TFixedItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    static TClass StaticClass() {
        static const TClassInfo info = MakeClass<TFixedItem, TCollectionItem>("TFixedItem");
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }
};

}

TEST(TCollection, AddMakesItemsOfTheItemClassWithFreshIds) {
    TCollection c(TTestLeaf::StaticClass());
    auto* a = c.Add();
    auto* b = c.Add();
    EXPECT_EQ(a->ClassName(), "TTestLeaf");
    EXPECT_EQ(a->Collection(), &c);
    EXPECT_EQ(b->Index(), 1);
    c.Delete(0);
    auto* d = c.Add();
    EXPECT_EQ(d->ID(), 2);   // ids are never reused
    EXPECT_EQ(c.FindItemID(1), b);
    EXPECT_EQ(c.FindItemID(0), nullptr);
    EXPECT_THROW(c.Items(2), EListError);
}

TEST(TCollection, InsertAndSetIndexMoveItems) {
    TCollection c(TTestLeaf::StaticClass());
    for (const char* t : {"a", "b", "c"})
        c.Item<TTestLeaf>(c.Add()->Index())->Text = t;
    auto* inserted = c.Insert(1);
    EXPECT_EQ(inserted->Index(), 1);
    c.Items(3)->SetIndex(0);
    EXPECT_EQ(c.Item<TTestLeaf>(0)->Text, "c");
    EXPECT_EQ(c.Item<TTestLeaf>(1)->Text, "a");
}

TEST(TCollection, FreeingAnItemTakesItOut) {
    TCollection c(TTestLeaf::StaticClass());
    c.Add();
    TCollectionItem* item = c.Add();
    item->Free();
    EXPECT_EQ(c.Count(), 1);
    TCollection other(TTestLeaf::StaticClass());
    c.Items(0)->SetCollection(&other);
    EXPECT_EQ(c.Count(), 0);
    EXPECT_EQ(other.Count(), 1);
}

TEST(TCollection, ChangesNotifyAndUpdatesWaitForTheLastEndUpdate) {
    TCountingCollection c;
    c.Add();
    EXPECT_EQ(c.Log, (std::vector<std::string> {"added", "update all"}));
    c.Log.clear();
    c.BeginUpdate();
    c.BeginUpdate();
    c.Add();
    c.Delete(0);
    c.EndUpdate();
    EXPECT_EQ(c.Log, (std::vector<std::string> {"added", "deleting", "extracting"}));
    c.EndUpdate();
    EXPECT_EQ(c.Log.back(), "update all");
    c.Log.clear();
    c.Clear();
    EXPECT_EQ(c.Log, (std::vector<std::string> {"extracting", "update all"}));
}

TEST(TCollection, AnItemThatCannotBeCopiedRaisesAndIsNotKept) {
    TCollection source(TFixedItem::StaticClass()), dest(TFixedItem::StaticClass());
    dest.Add();
    TCollection empty(TFixedItem::StaticClass());
    dest.Assign(&empty);   // an empty source copies
    EXPECT_EQ(dest.Count(), 0);
    source.Add();
    try {
        dest.Assign(&source);
        FAIL();
    } catch (const base::EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TFixedItem to a TFixedItem");
    }
    EXPECT_EQ(dest.Count(), 0);
    EXPECT_EQ(dest.UpdateCount(), 0);
}

TEST(TCollection, OwnedCollectionsNameTheirOwnerForItems) {
    TTestComponent owner(nullptr);
    auto* item = owner.Items()->Add();
    EXPECT_EQ(item->GetOwner(), owner.Items());
    EXPECT_EQ(owner.Items()->GetOwner(), &owner);
    EXPECT_EQ(item->DisplayName(), "TTestItem");
}
