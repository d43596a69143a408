// TScreen: the application's forms in activation order, the active form and control, cursors, screen size.
#include "platform/classes/TScreen.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TForm.h"
#include "platform/gdi/Fonts.h"
#include "platform/user/Input.h"
#include "platform/user/SystemMetrics.h"

#include <algorithm>

namespace korvex::classes {

using namespace user;

TScreen* Screen = nullptr;

namespace {
int StockCursor(TCursor cursor) {
    switch (cursor) {
    case crCross:
        return IDC_CROSS;
    case crIBeam:
        return IDC_IBEAM;
    case crSizeNESW:
        return IDC_SIZENESW;
    case crSizeNS:
    case crVSplit:
        return IDC_SIZENS;
    case crSizeNWSE:
        return IDC_SIZENWSE;
    case crSizeWE:
    case crHSplit:
        return IDC_SIZEWE;
    case crUpArrow:
        return IDC_UPARROW;
    case crHourGlass:
    case crSQLWait:
        return IDC_WAIT;
    case crNo:
    case crNoDrop:
        return IDC_NO;
    case crAppStart:
        return IDC_APPSTARTING;
    case crHelp:
        return IDC_HELP;
    case crHandPoint:
        return IDC_HAND;
    case crSizeAll:
        return IDC_SIZEALL;
    default:
        return IDC_ARROW;
    }
}
}

TScreen::TScreen(TComponent* owner)
    : TComponent(owner)
    , FMenuFont(std::make_unique<TFont>())
    , FHintFont(std::make_unique<TFont>()) {
    if (Screen == nullptr) Screen = this;
    ResetFonts();
}

void TScreen::ResetFonts() {
    const user::NONCLIENTMETRICS metrics = user::GetNonClientMetrics();
    FMenuFont->SetHandle(gdi::CreateFontIndirect(metrics.lfMenuFont));
    FHintFont->SetHandle(gdi::CreateFontIndirect(metrics.lfStatusFont));
}

TScreen::~TScreen() {
    if (Screen == this) Screen = nullptr;
}

TClass TScreen::StaticClass() {
    static const TClassInfo info = MakeClass<TScreen, TComponent>("TScreen");
    return &info;
}

// TForm is asked when asked for: a form enters the list while it is still being made.
int TScreen::FormCount() const {
    return static_cast<int>(std::count_if(
        FCustomForms.begin(), FCustomForms.end(), [](TCustomForm* f) { return dynamic_cast<TForm*>(f) != nullptr; }));
}

TForm* TScreen::Forms(int index) const {
    int i = 0;
    for (TCustomForm* f : FCustomForms)
        if (auto* form = dynamic_cast<TForm*>(f); form != nullptr && i++ == index) return form;
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

TForm* TScreen::ActiveForm() const {
    return dynamic_cast<TForm*>(FActiveCustomForm);
}

TCustomForm* TScreen::CustomForms(int index) const {
    if (index < 0 || index >= CustomFormCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FCustomForms[static_cast<std::size_t>(index)];
}

void TScreen::AddForm(TCustomForm* form) {
    FCustomForms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
    std::erase(FCustomForms, form);
    std::erase(FSaveFocusedList, form);
    bool formChanged = false;
    if (FActiveCustomForm == form) {
        FActiveCustomForm = nullptr;
        formChanged = true;
    }
    if (FFocusedForm == form) FFocusedForm = nullptr;
    if (FActiveControl != nullptr && form->ContainsControl(FActiveControl)) FActiveControl = nullptr;
    if (formChanged && OnActiveFormChange) OnActiveFormChange(this);
}

void TScreen::SetFocusedForm(TCustomForm* form, TWinControl* control) {
    bool formChanged = FActiveCustomForm != form;
    bool controlChanged = FActiveControl != control;
    FActiveControl = control;
    FActiveCustomForm = form;
    std::erase(FCustomForms, form);
    FCustomForms.insert(FCustomForms.begin(), form);
    if (controlChanged && OnActiveControlChange) OnActiveControlChange(this);
    if (formChanged && OnActiveFormChange) OnActiveFormChange(this);
}

void TScreen::ControlGone(TWinControl* control) {
    if (FActiveControl == control) FActiveControl = nullptr;
}

void TScreen::SetCursor(TCursor value) {
    if (value == FCursor) return;
    FCursor = value;
    POINT p;
    GetCursorPos(&p);
    user::SetCursor(Cursors(value == crDefault ? crArrow : value));
}

HCURSOR TScreen::Cursors(TCursor index) const {
    if (auto it = FCursors.find(index); it != FCursors.end() && it->second != nullptr) return it->second;
    if (index == crNone) return nullptr;
    return LoadCursor(nullptr, StockCursor(index));
}

void TScreen::SetCursors(TCursor index, HCURSOR cursor) {
    FCursors[index] = cursor;
}

int TScreen::Width() const {
    return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const {
    return GetSystemMetrics(SM_CYSCREEN);
}

TRect TScreen::WorkAreaRect() const {
    return GetWorkArea();
}

}
