// TButtonControl: focusing on a press with clicks disabled, and accelerator characters.
#include "platform/classes/TButtonControl.h"

#include "platform/base/Strings.h"
#include "platform/base/Utf8.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBasicAction.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/user/Focus.h"
#include "platform/user/controls/StandardClasses.h"

namespace korvex::classes {

using namespace user;

TButtonControl::TButtonControl(TComponent* owner)
    : TWinControl(owner) {
    RegisterStandardClasses();
}

TClass TButtonControl::StaticClass() {
    static const TClassInfo info = MakeClass<TButtonControl, TWinControl>("TButtonControl");
    return &info;
}

void TButtonControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!Focused()) {
            FClicksDisabled = true;
            // OnEnter and OnExit run here and may free the button.
            if (!RunUserCode(this, [this] { user::SetFocus(WindowHandle()); })) return;
            FClicksDisabled = false;
            if (!Focused()) return;
        }
        break;
    case CN_COMMAND:
        if (FClicksDisabled) return;
        CNCommand(message);
        return;
    default:
        break;
    }
    TWinControl::WndProc(message);
}

bool IsAccel(char32_t key, const std::string& caption) {
    std::size_t pos = 0;
    while (pos < caption.size()) {
        const char32_t c = base::Utf8DecodeNext(caption, pos);
        if (c != U'&' || pos >= caption.size()) continue;
        const std::size_t at = pos;
        const char32_t next = base::Utf8DecodeNext(caption, pos);
        if (next == U'&') continue;   // "&&" is an ampersand
        const std::string wanted = base::AnsiUpperCase(base::Utf8Encode(key));
        return base::AnsiUpperCase(caption.substr(at, pos - at)) == wanted;
    }
    return false;
}

void TButtonControl::ActionChange(TObject* sender, bool checkDefaults) {
    TWinControl::ActionChange(sender, checkDefaults);
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (action == nullptr || (checkDefaults && Checked())) return;
    bool wasDisabled = FClicksDisabled;
    FClicksDisabled = true;   // taking the state is not a click
    SetChecked(action->Checked());
    FClicksDisabled = wasDisabled;
}

}
