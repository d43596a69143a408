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

}
