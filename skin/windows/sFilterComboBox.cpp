// The file dialogs' file-type combo.
#include "skin/windows/sFilterComboBox.h"
#include "skin/windows/sResStrings.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TStrings.h"

namespace korvex::skin {

using namespace korvex::classes;

namespace {

std::string JoinMasks(const TFilterItem& item) {
    std::string text;
    for (const std::string& mask : item.Masks) text += (text.empty() ? "" : ";") + mask;
    return text;
}

}   // namespace

TsFilterComboBox::TsFilterComboBox(TComponent* owner)
    : TsCustomComboBox(owner) {
    FFilter = LoadResString(65280);
    SetStyle(csDropDownList);
}

TClass TsFilterComboBox::StaticClass() {
    using T = TsFilterComboBox;
    static const TClassInfo info = MakeClass<T, TsCustomComboBox>("TsFilterComboBox", [](TPropertyBuilder<T>& p) {
        p.String("Filter", &T::Filter, &T::SetFilter, AllFilesFilterText);
    });
    return &info;
}

void TsFilterComboBox::SetFilter(const std::string& value) {
    if (value == FFilter) return;
    FFilter = value;
    if (HandleAllocated()) BuildItems();
    Change();
}

void TsFilterComboBox::CreateWnd() {
    TsCustomComboBox::CreateWnd();
    BuildItems();
}

void TsFilterComboBox::Select() {
    TsCustomComboBox::Select();
    if (OnSelect) Change();   // without OnSelect the base already reported the change
}

void TsFilterComboBox::BuildItems() {
    FMasks = ParseFilter(FFilter);
    {
        TStrings* items = Items();
        items->BeginUpdate();
        base::ScopeExit end([items] { items->EndUpdate(); });
        items->Clear();
        for (const TFilterItem& item : FMasks) items->Add(item.Description);
    }
    if (!FMasks.empty()) SetItemIndex(0);
}

std::string TsFilterComboBox::Mask() {
    if (FMasks.empty()) return "*.*";
    if (ItemIndex() < 0) SetItemIndex(int(FMasks.size()) - 1);
    const int index = ItemIndex();
    return index >= 0 && index < int(FMasks.size()) ? JoinMasks(FMasks[size_t(index)]) : "*.*";
}

bool TsFilterComboBox::Matches(const std::string& name) {
    Mask();   // selects the last item when none is
    const int index = ItemIndex();
    return index < 0 || index >= int(FMasks.size()) || FMasks[size_t(index)].Matches(name);
}

}
