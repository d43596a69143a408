// TCommonControl: the native control's notifications and owner-drawn parts.
#include "platform/classes/TCommonControl.h"

#include "platform/classes/PropertyRegistry.h"

namespace korvex::classes {

TCommonControl::TCommonControl(TComponent* owner)
    : TWinControl(owner)
    , FCanvas(std::make_unique<TControlCanvas>(this)) {
}

TClass TCommonControl::StaticClass() {
    static const TClassInfo info = MakeClass<TCommonControl, TWinControl>("TCommonControl");
    return &info;
}

void TCommonControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_NOTIFY:
        CNNotify(message);
        return;
    case CN_DRAWITEM:
        CNDrawItem(message);
        return;
    default:
        TWinControl::WndProc(message);
    }
}

}
