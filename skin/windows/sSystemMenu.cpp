// TsSystemMenu: the skinned form's own window menu.
#include "skin/windows/sSystemMenu.h"
#include "skin/windows/sResStrings.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TStringList.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sSkinProvider.h"

namespace korvex::skin {

using namespace korvex::classes;

namespace {

constexpr const char* SkinSelectItemName = "SkinSelectItem";

}

std::string EscapeMenuAmpersands(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '&') out += '&';
    }
    return out;
}

TsSystemMenu::TsSystemMenu(TsSkinProvider* provider)
    : TPopupMenu(provider)
    , FProvider(provider) {
    ItemRestore = AddItem(LoadResString(58981), "ItemRestore", [this](TObject*) {
        SendCommand(user::SC_RESTORE);
        UpdateItems();
    });
    ItemMove = AddItem(LoadResString(58980), "ItemMove", [this](TObject*) { SendCommand(user::SC_MOVE); });
    ItemSize = AddItem(LoadResString(58979), "ItemSize", [this](TObject*) { SendCommand(user::SC_SIZE); });
    ItemMinimize = AddItem(LoadResString(58978), "ItemMinimize", [this](TObject*) {
        if (Application != nullptr && FForm != nullptr && Application->MainForm() == FForm) {
            Application->Minimize();
            UpdateItems();
        } else {
            SendCommand(user::SC_MINIMIZE);
        }
    });
    ItemMaximize = AddItem(LoadResString(58977), "ItemMaximize", [this](TObject*) {
        // An MDI child is maximized by the command alone: its frame lays it out.
        if (FForm != nullptr && FForm->FormStyle() != fsMDIChild) FForm->SetWindowState(wsMaximized);
        SendCommand(user::SC_MAXIMIZE);
        UpdateItems();
    });
    AddItem("-", "", nullptr);
    ItemClose = AddItem(LoadResString(58976), "ItemClose", [this](TObject*) { SendCommand(user::SC_CLOSE); });
    ItemClose->SetShortCut(0x8073);   // Alt+F4
}

TClass TsSystemMenu::StaticClass() {
    static const TClassInfo info = MakeClass<TsSystemMenu, TPopupMenu>("TsSystemMenu", [](auto&) {});
    return &info;
}

TMenuItem* TsSystemMenu::AddItem(const std::string& caption, const std::string& name, TNotifyEvent onClick) {
    auto* item = new TMenuItem(this);
    item->SetCaption(caption);
    if (!name.empty()) item->SetName(name);
    item->OnClick = std::move(onClick);
    Items()->Add(item);
    return item;
}

void TsSystemMenu::SendCommand(WPARAM command) {
    if (FForm != nullptr && FForm->HandleAllocated())
        user::SendMessage(FForm->WindowHandle(), user::WM_SYSCOMMAND, command, 0);
}

bool TsSystemMenu::Iconic() const {
    return FForm != nullptr && FForm->HandleAllocated() && user::IsIconic(FForm->WindowHandle());
}

bool TsSystemMenu::HasIcon(TBorderIcon icon) const {
    return FProvider->BorderIcons().Contains(icon);
}

// ---------------------------------------------------------------------------------------------------------
// Visible and enabled

bool TsSystemMenu::VisibleRestore() const {
    const TFormBorderStyle s = FForm->BorderStyle();
    return (s == bsSingle || s == bsSizeable) && HasIcon(biSystemMenu);
}

bool TsSystemMenu::VisibleSize() const {
    const TFormBorderStyle s = FForm->BorderStyle();
    return s != bsDialog && s != bsNone && s != bsToolWindow;
}

bool TsSystemMenu::VisibleClose() const {
    return HasIcon(biSystemMenu);
}

bool TsSystemMenu::EnabledMove() const {
    return FForm->WindowState() != wsMaximized;
}

bool TsSystemMenu::EnabledSize() const {
    return FForm->BorderStyle() != bsSingle && !Iconic();
}

void TsSystemMenu::UpdateItems() {
    if (FForm == nullptr) return;
    ItemRestore->SetVisible(VisibleRestore());
    ItemRestore->SetEnabled(FProvider->CanRestore());
    ItemMove->SetEnabled(EnabledMove());
    ItemSize->SetVisible(VisibleSize());
    ItemSize->SetEnabled(EnabledSize());
    // Minimize, maximize and restore follow the same tests as the caption buttons.
    ItemMinimize->SetVisible(FProvider->MinButtonVisible());
    ItemMinimize->SetEnabled(FProvider->CanMinimize());
    ItemMaximize->SetVisible(FProvider->MaxButtonVisible());
    ItemMaximize->SetEnabled(FProvider->CanMaximize());
    ItemClose->SetVisible(VisibleClose());
}

// ---------------------------------------------------------------------------------------------------------
// Skins

void TsSystemMenu::RemoveSkinItems() {
    if (Items()->Count() == 0 || Items()->Items(0)->Name() != SkinSelectItemName) return;
    TMenuItem* entry = Items()->Items(0);
    while (entry->Count() > 0) {
        TMenuItem* sub = entry->Items(0);
        entry->Delete(0);
        delete sub;
    }
    Items()->Delete(0);
    delete entry;
    if (Items()->Count() > 0 && Items()->Items(0)->IsLine()) {
        TMenuItem* line = Items()->Items(0);
        Items()->Delete(0);
        delete line;
    }
    FSkinNames.clear();
}

void TsSystemMenu::MakeSkinItems() {
    TsSkinManager* manager = FProvider->SkinData()->SkinManager();
    if (manager == nullptr) return;
    TStringList names;
    std::string first;
    manager->GetSkinNames(names, first);
    if (names.Count() == 0) return;
    auto* entry = new TMenuItem(this);
    entry->SetCaption(LoadResString(58964));
    entry->SetName(SkinSelectItemName);
    Items()->Insert(0, entry);
    auto* line = new TMenuItem(this);
    line->SetCaption("-");
    Items()->Insert(1, line);
    FSkinNames.clear();
    for (int i = 0; i < names.Count(); ++i) {
        // The item keeps the exact name; its caption doubles "&" so that none becomes a mnemonic mark.
        const std::string name = names.Strings(i);
        auto* item = new TMenuItem(this);
        item->SetCaption(EscapeMenuAmpersands(name));
        item->SetName(SkinSelectItemName + std::to_string(i));
        item->SetTag(std::intptr_t(i));
        item->SetRadioItem(true);
        item->SetChecked(name == manager->SkinName());
        item->OnClick = [this](TObject* sender) { SkinSelect(sender); };
        entry->Add(item);
        FSkinNames.push_back(name);
    }
}

std::string TsSystemMenu::SkinNameOf(const TMenuItem* item) const {
    if (item == nullptr || item->Parent() == nullptr || item->Parent()->Name() != SkinSelectItemName) return {};
    const auto i = std::size_t(item->Tag());
    return i < FSkinNames.size() ? FSkinNames[i] : std::string {};
}

void TsSystemMenu::SkinSelect(TObject* sender) {
    TsSkinManager* manager = FProvider->SkinData()->SkinManager();
    const std::string name = SkinNameOf(dynamic_cast<TMenuItem*>(sender));
    if (manager == nullptr || name.empty()) return;
    manager->SetSkinName(name);
}

}
