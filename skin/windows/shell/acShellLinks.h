// How the shell tree, folder combo box and file list reach each other when linked.
#pragma once

#include "skin/windows/shell/acShellRoots.h"

namespace korvex::classes {
class TComponent;
}

namespace korvex::skin {

class TacCustomShellTreeView;
class TacCustomShellComboBox;

// The file list as the tree and the combo box see it; the file list implements it. The Link… calls only set
// or clear the list's back link (nullptr clears); they never call back.
class IacShellListLink {
public:
    virtual classes::TComponent* LinkedComponent() = 0;   // the list itself: free notification, form text
    virtual void SetRoot(const TacRoot& value) = 0;
    virtual void TreeUpdate(const TItemIDList& pidl) = 0;   // show the folder another control chose
    virtual void LinkTreeView(TacCustomShellTreeView* tree) = 0;
    virtual void LinkComboBox(TacCustomShellComboBox* combo) = 0;

protected:
    ~IacShellListLink() = default;
};

// A tree's or combo box's link to a file list: forgotten when the list is freed.
class TacListLink {
public:
    IacShellListLink* List() const { return FList; }
    classes::TComponent* Component() const { return FComponent; }
    // Holds list (nullptr: none) and asks for its free notification on behalf of holder.
    void Set(classes::TComponent* holder, IacShellListLink* list);
    void Forget(const classes::TComponent* removed);   // from the holder's Notification
    // The list a component of form text is; raises for a component that is no file list.
    static IacShellListLink* FromComponent(classes::TComponent* value);

private:
    IacShellListLink* FList = nullptr;
    classes::TComponent* FComponent = nullptr;
};

inline void LinkBack(IacShellListLink& list, TacCustomShellTreeView* tree) { list.LinkTreeView(tree); }
inline void LinkBack(IacShellListLink& list, TacCustomShellComboBox* combo) { list.LinkComboBox(combo); }

// Points a tree's or combo box's link at value: the old list loses its back link, the new one takes root and
// a back link to holder.
template <class THolder>
void RelinkList(THolder* holder, TacListLink& link, IacShellListLink* value, const TacRoot& root) {
    if (value == link.List()) return;
    if (link.List() != nullptr) LinkBack(*link.List(), static_cast<THolder*>(nullptr));
    link.Set(holder, nullptr);
    if (value == nullptr) return;
    value->SetRoot(root);
    LinkBack(*value, holder);
    link.Set(holder, value);
}

}
