// TsCalcForm: the form read from its resource, its buttons, menu, keys, colours and closing.
#include "skin/controls/sCalcForm.h"

#include "platform/base/Assert.h"
#include "platform/classes/Colors.h"
#include "platform/classes/ControlMessages.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TMethodTable.h"
#include "platform/user/Clipboard.h"
#include "platform/user/MessageBox.h"
#include "platform/user/MessageIds.h"
#include "platform/user/VirtualKeys.h"
#include "skin/controls/sControlClasses.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/engine/sSkinManager.h"

namespace korvex::skin {

using namespace korvex::classes;

namespace {

// The engine's key of each button that is not a digit (digits carry their value in Tag).
struct TacCalcButtonKey {
    const char* Caption;
    char32_t Key;
};
inline constexpr TacCalcButtonKey CalcButtonKeys[] = {{".", U'.'}, {"\u00b1", U'_'}, {"+", U'+'}, {"-", U'-'},
    {"*", U'*'}, {"/", U'/'}, {"=", U'='}, {"%", U'%'}, {"sqrt", U'Q'}, {"1/%", U'R'}, {"<-", U'\b'}, {"C", U'C'}};

}

TsCalcForm::TsCalcForm(TComponent* owner) : TForm(owner) {
    TMethodTable methods;
    methods.Add("ButtonClick", this, &TsCalcForm::ButtonClick)
        .Add("MemoryClick", std::function<void(TObject*)>([this](TObject* sender) {
            const std::string caption = static_cast<TControl*>(sender)->Caption();
            if (caption == "MC") MemoryKey(TacMemoryKey::Clear);
            if (caption == "MR") MemoryKey(TacMemoryKey::Recall);
            if (caption == "MS") MemoryKey(TacMemoryKey::Store);
            if (caption == "MP") MemoryKey(TacMemoryKey::Plus);
        }))
        .Add("CloseClick", std::function<void(TObject*)>([this](TObject*) { Close(); }))
        .Add("MinimizeClick", std::function<void(TObject*)>([](TObject*) {
            if (Application != nullptr) Application->Minimize();
        }))
        .Add("CopyClick", std::function<void(TObject*)>([this](TObject*) { Copy(); }))
        .Add("PasteClick", std::function<void(TObject*)>([this](TObject*) { Paste(); }))
        .Add("OkClick", std::function<void(TObject*)>([this](TObject*) { MenuOk(); }))
        .Add("CancelClick", std::function<void(TObject*)>([this](TObject*) { MenuCancel(); }))
        .Add("MenuPopup", std::function<void(TObject*)>([this](TObject*) {
            if (FPasteItem != nullptr) FPasteItem->SetEnabled(user::IsClipboardFormatAvailable(user::CF_TEXT));
        }))
        .Field("DisplayPanel", FDisplayPanel)
        .Field("MemoryPanel", FMemoryPanel)
        .Field("DragBar", FDragBar)
        .Field("CalcMenu", FMenu)
        .Field("PasteItem", FPasteItem);
    RegisterMenuClasses();   // the form text names them
    RegisterSkinControlClasses();
    ReadFormResource("sCalcForm", methods);
    KORVEX_ASSERT(FDisplayPanel != nullptr && FMemoryPanel != nullptr && FDragBar != nullptr);
    ShowText("0");
    UpdateMemoryIndicator();
}

TsCalcForm::~TsCalcForm() {
    if (TacCalcClient* client = FClient) {
        FClient = nullptr;
        client->CalcClientClosed();
    }
}

TClass TsCalcForm::StaticClass() {
    static const TClassInfo info = MakeClass<TsCalcForm, TForm>("TsCalcForm");
    return &info;
}

TsSpeedButton* TsCalcForm::ButtonFor(const std::string& caption) const {
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* b = dynamic_cast<TsSpeedButton*>(Components(i)); b != nullptr && b->Caption() == caption) return b;
    return nullptr;
}

void TsCalcForm::ButtonClick(TObject* sender) {
    auto* button = static_cast<TControl*>(sender);
    const std::string caption = button->Caption();
    if (caption.size() == 1 && caption[0] >= '0' && caption[0] <= '9') {
        CalcKey(char32_t(U'0' + button->Tag()));
        return;
    }
    for (const TacCalcButtonKey& k : CalcButtonKeys)
        if (caption == k.Caption) {
            CalcKey(k.Key);
            return;
        }
}

void TsCalcForm::KeyDown(user::WORD& key, TShiftState shift) {
    const bool ctrl = shift.Contains(ssCtrl);
    if ((ctrl && key == 'C') || (ctrl && key == user::VK_INSERT)) {
        Copy();
        key = 0;
    } else if ((ctrl && key == 'V') || (shift.Contains(ssShift) && key == user::VK_INSERT)) {
        Paste();
        key = 0;
    }
    if (key != 0) TForm::KeyDown(key, shift);
}

void TsCalcForm::KeyPress(char32_t& key) {
    TForm::KeyPress(key);
    if (key == 0) return;
    const char32_t k = key;
    key = 0;
    CalcKey(k);   // may close the form
}

void TsCalcForm::DoShow() {
    if (FClient != nullptr) SetDisplay(FClient->CalcClientValue());
    ApplyColors();
    TForm::DoShow();
}

void TsCalcForm::ApplyColors() {
    const bool skinned = DefaultManager != nullptr && DefaultManager->Active();
    SetColor(skinned ? DefaultManager->GetGlobalColor() : clBtnFace);
}

void TsCalcForm::WndProc(TMessage& m) {
    // The background is erased in the form's colour with a skin too: no provider paints this form, and the
    // gaps between its buttons would keep whatever lay there before.
    if (m.Msg == CM_DEACTIVATE && Visible()) {
        TForm::WndProc(m);
        Close();
        return;
    }
    TForm::WndProc(m);
}

void TsCalcForm::HideDragBar() {
    if (!FDragBar->Visible()) return;
    FDragBar->SetVisible(false);
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c != FDragBar) c->SetTop(c->Top() - CalcDragBarHeight);
    }
    SetClientHeight(ClientHeight() - CalcDragBarHeight);
}

void TsCalcForm::ShowText(const std::string& text) {
    if (text == FText && FDisplayPanel->Caption() == text + " ") return;
    FText = text;
    FDisplayPanel->SetCaption(text + " ");
    if (OnTextChange) OnTextChange(this);
    if (OnDisplayChange) OnDisplayChange(this);
}

void TsCalcForm::UpdateMemoryIndicator() {
    FMemoryPanel->SetCaption(FMemory != 0 ? "M" : "");
}

void TsCalcForm::Beep() const {
    if (FBeep) user::MessageBeep(0);
}

void TsCalcForm::CloseUp() {
    Close();
}

void TsCalcForm::Copy() {
    user::SetClipboardText(FText);
}

void TsCalcForm::MenuOk() {
    if (FStatus == csError) {
        Beep();
        return;
    }
    SetDisplay(DisplayValue());
    if (OnOk) OnOk(this);
}

void TsCalcForm::MenuCancel() {
    if (OnCancel) OnCancel(this);
}

}
