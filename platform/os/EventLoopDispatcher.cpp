// TEventLoopDispatcher: posts the UI calls as loop tasks.
#include "platform/os/EventLoopDispatcher.h"

namespace korvex::os {

TEventLoopDispatcher::~TEventLoopDispatcher() {
    Uninstall();
}

void TEventLoopDispatcher::Install() {
    SetUiDispatcher(this);
}

void TEventLoopDispatcher::Uninstall() {
    if (Installed()) SetUiDispatcher(nullptr);
}

bool TEventLoopDispatcher::Installed() const {
    return UiDispatcher() == this;
}

bool TEventLoopDispatcher::Post(std::function<void()> task) {
    return FLoop.Post(std::move(task));
}

}
