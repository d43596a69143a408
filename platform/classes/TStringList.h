// TStringList: the string list kept in memory, with sorting, duplicates, case switch and change events.
#pragma once

#include "platform/classes/TStrings.h"

#include <functional>
#include <vector>

namespace korvex::classes {

enum TDuplicates {
    dupIgnore,   // adding a string already in a sorted list does nothing (returns its index)
    dupAccept,   // duplicates are kept
    dupError,   // adding one raises EStringListError "String list does not allow duplicates"
};

class TStringList : public TStrings {
public:
    using TCompare = std::function<int(const TStringList& list, int index1, int index2)>;

    TStringList() = default;
    ~TStringList() override;   // frees the attached objects when OwnsObjects
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    int Count() const override { return static_cast<int>(FItems.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;   // EStringListError on a sorted list
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* obj) override;
    int Add(const std::string& s) override;   // sorted: at its place (Duplicates applies)
    int AddObject(const std::string& s, TObject* obj) override;
    void Insert(int index, const std::string& s) override;   // EStringListError on a sorted list
    void Clear() override;
    void Delete(int index) override;
    void Exchange(int index1, int index2) override;
    int IndexOf(const std::string& s) const override;   // binary search when sorted

    // Sorted: kept in CompareStrings order (stable for equal strings); turning it on sorts.
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    void Sort();
    void CustomSort(const TCompare& compare);   // stable; leaves Sorted as it is
    // Binary search of a sorted list: true and the index when found (the first of equals), else false and the
    // index where it would go. On an unsorted list the result is meaningless, as in the run time.
    bool Find(const std::string& s, int& index) const;
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates value) { FDuplicates = value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value);   // a sorted list sorts again
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool value) { FOwnsObjects = value; }

    TNotifyEvent OnChange;   // after a change (not while updating; once at the end of an update)
    TNotifyEvent OnChanging;   // before a change (not while updating)

protected:
    void SetUpdateState(bool updating) override;
    int CompareStrings(const std::string& s1, const std::string& s2) const override;
    virtual void Changed();
    virtual void Changing();

private:
    struct TItem {
        std::string String;
        TObject* Object = nullptr;
    };
    void InsertItem(int index, const std::string& s, TObject* obj);
    void CheckIndex(int index) const;
    void SortBy(const std::function<bool(const TItem&, const TItem&)>& less);

    std::vector<TItem> FItems;
    TDuplicates FDuplicates = dupIgnore;
    bool FSorted = false;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
};

}
