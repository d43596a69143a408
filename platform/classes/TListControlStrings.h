// TListControlStrings: the items of a native list window (list box, combo box) as TStrings.
#pragma once

#include "platform/classes/TStringList.h"
#include "platform/classes/TWinControl.h"

#include <memory>

namespace korvex::classes {

// The messages of one kind of list window.
struct TListMessages {
    UINT Add;
    UINT Insert;
    UINT Delete;
    UINT Reset;
    UINT Count;
    UINT GetText;
    UINT GetTextLen;
    UINT GetData;
    UINT SetData;
    UINT FindExact;
};
extern const TListMessages ListBoxMessages;
extern const TListMessages ComboBoxMessages;
extern const char* const ListInsertError;   // the out-of-resources text of a refused insert

// Works on the window when the control has one (or can make one: a parent, not loading); otherwise on a list
// of its own, which the control moves into its window when it makes it and back when the window goes (so a
// window made again keeps the items). Objects travel as the items' data. Sorted controls keep the window's
// order; Add gives the index the window chose. Changes go to the control's OnChanged.
class TListControlStrings : public TStrings {
public:
    TListControlStrings(TWinControl* control, const TListMessages& messages);
    ~TListControlStrings() override;

    int Count() const override;
    std::string Get(int index) const override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* obj) override;
    int Add(const std::string& s) override;
    int AddObject(const std::string& s, TObject* obj) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    int IndexOf(const std::string& s) const override;

    void SetSorted(bool value) { FCache->SetSorted(value); }
    // The control's window was made: the kept items go into it. Before it goes: they come back.
    void MoveIntoWindow();
    void MoveOutOfWindow();
    TNotifyEvent OnChanged;

protected:
    void SetUpdateState(bool updating) override;

private:
    user::HWND Window() const;
    void CheckIndex(int index) const;
    void Changed();

    TWinControl* FControl;
    const TListMessages& FMessages;
    std::unique_ptr<TStringList> FCache;
};

}
