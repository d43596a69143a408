// TListControlStrings: items through the list window's messages, kept aside while there is no window.
#include "platform/classes/TListControlStrings.h"

#include "platform/classes/ListControlTypes.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/ComboBox.h"
#include "platform/user/controls/ListBox.h"

#include <cstring>

namespace korvex::classes {

using namespace user;

const TListMessages ListBoxMessages {LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_GETCOUNT,
    LB_GETTEXT, LB_GETTEXTLEN, LB_GETITEMDATA, LB_SETITEMDATA, LB_FINDSTRINGEXACT};
const TListMessages ComboBoxMessages {CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT, CB_GETCOUNT,
    CB_GETLBTEXT, CB_GETLBTEXTLEN, CB_GETITEMDATA, CB_SETITEMDATA, CB_FINDSTRINGEXACT};

const char* const ListInsertError = "Unable to insert a line";

namespace {

const char* const InsertError = ListInsertError;

}

TListControlStrings::TListControlStrings(TWinControl* control, const TListMessages& messages)
    : FControl(control)
    , FMessages(messages)
    , FCache(std::make_unique<TStringList>()) {
    FCache->SetDuplicates(dupAccept);
}

TListControlStrings::~TListControlStrings() = default;

HWND TListControlStrings::Window() const {
    if (FControl->HandleAllocated()) return FControl->WindowHandle();
    if (FControl->ComponentState().Contains(csLoading) || FControl->ComponentState().Contains(csDestroying))
        return nullptr;
    if (FControl->Parent() == nullptr && FControl->ParentWindow() == nullptr) return nullptr;
    return FControl->Handle();
}

void TListControlStrings::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) Error("List index out of bounds", index);
}

void TListControlStrings::Changed() {
    if (UpdateCount() == 0 && OnChanged) OnChanged(this);
}

int TListControlStrings::Count() const {
    HWND h = Window();
    if (!h) return FCache->Count();
    return int(std::max<LRESULT>(0, SendMessage(h, FMessages.Count, 0, 0)));
}

std::string TListControlStrings::Get(int index) const {
    HWND h = Window();
    if (!h) return FCache->Get(index);
    const LRESULT length = SendMessage(h, FMessages.GetTextLen, WPARAM(index), 0);
    if (length < 0) Error("List index out of bounds", index);
    std::string text(std::size_t(length) + 1, '\0');
    SendMessage(h, FMessages.GetText, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::strlen(text.c_str()));
    return text;
}

TObject* TListControlStrings::GetObject(int index) const {
    HWND h = Window();
    if (!h) return FCache->GetObject(index);
    CheckIndex(index);
    return reinterpret_cast<TObject*>(SendMessage(h, FMessages.GetData, WPARAM(index), 0));
}

void TListControlStrings::PutObject(int index, TObject* obj) {
    HWND h = Window();
    if (!h) {
        FCache->PutObject(index, obj);
        return;
    }
    CheckIndex(index);
    SendMessage(h, FMessages.SetData, WPARAM(index), reinterpret_cast<LPARAM>(obj));
}

int TListControlStrings::Add(const std::string& s) {
    return AddObject(s, nullptr);
}

int TListControlStrings::AddObject(const std::string& s, TObject* obj) {
    HWND h = Window();
    if (!h) {
        const int index = FCache->AddObject(s, obj);
        Changed();
        return index;
    }
    const LRESULT index = SendMessage(h, FMessages.Add, 0, reinterpret_cast<LPARAM>(s.c_str()));
    if (index < 0) throw EOutOfResources(InsertError);
    if (obj) SendMessage(h, FMessages.SetData, WPARAM(index), reinterpret_cast<LPARAM>(obj));
    Changed();
    return int(index);
}

void TListControlStrings::Insert(int index, const std::string& s) {
    HWND h = Window();
    if (!h) {
        if (FCache->Sorted())
            FCache->Add(s);
        else
            FCache->Insert(index, s);
        Changed();
        return;
    }
    if (index < 0 || index > Count()) Error("List index out of bounds", index);
    if (SendMessage(h, FMessages.Insert, WPARAM(index), reinterpret_cast<LPARAM>(s.c_str())) < 0)
        throw EOutOfResources(InsertError);
    Changed();
}

void TListControlStrings::Delete(int index) {
    HWND h = Window();
    if (!h) {
        FCache->Delete(index);
        Changed();
        return;
    }
    CheckIndex(index);
    SendMessage(h, FMessages.Delete, WPARAM(index), 0);
    Changed();
}

void TListControlStrings::Clear() {
    HWND h = Window();
    if (!h)
        FCache->Clear();
    else
        SendMessage(h, FMessages.Reset, 0, 0);
    Changed();
}

int TListControlStrings::IndexOf(const std::string& s) const {
    HWND h = Window();
    if (!h) return FCache->IndexOf(s);
    const LRESULT found = SendMessage(h, FMessages.FindExact, WPARAM(-1), reinterpret_cast<LPARAM>(s.c_str()));
    return found < 0 ? -1 : int(found);
}

void TListControlStrings::SetUpdateState(bool updating) {
    if (!FControl->HandleAllocated()) return;
    SendMessage(FControl->WindowHandle(), WM_SETREDRAW, updating ? 0 : 1, 0);
    if (!updating) {
        FControl->Invalidate();
        Changed();
    }
}

void TListControlStrings::MoveIntoWindow() {
    if (!FControl->HandleAllocated() || FCache->Count() == 0) return;
    HWND h = FControl->WindowHandle();
    for (int i = 0; i < FCache->Count(); ++i) {
        const LRESULT index = SendMessage(h, FMessages.Add, 0, reinterpret_cast<LPARAM>(FCache->Get(i).c_str()));
        if (index >= 0 && FCache->GetObject(i))
            SendMessage(h, FMessages.SetData, WPARAM(index), reinterpret_cast<LPARAM>(FCache->GetObject(i)));
    }
    FCache->Clear();
}

void TListControlStrings::MoveOutOfWindow() {
    if (!FControl->HandleAllocated()) return;
    HWND h = FControl->WindowHandle();
    FCache->Clear();
    const int n = int(std::max<LRESULT>(0, SendMessage(h, FMessages.Count, 0, 0)));
    for (int i = 0; i < n; ++i) {
        const LRESULT length = SendMessage(h, FMessages.GetTextLen, WPARAM(i), 0);
        std::string text(std::size_t(std::max<LRESULT>(0, length)) + 1, '\0');
        SendMessage(h, FMessages.GetText, WPARAM(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::strlen(text.c_str()));
        FCache->AddObject(text, reinterpret_cast<TObject*>(SendMessage(h, FMessages.GetData, WPARAM(i), 0)));
    }
}

}
