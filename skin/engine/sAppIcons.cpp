// The program file's icons: one holder at a time, published to the window layer while it lives.
#include "skin/engine/sAppIcons.h"

#include "platform/base/Assert.h"
#include "platform/classes/TIcon.h"
#include "platform/os/ProgramFolder.h"
#include "platform/user/Icons.h"
#include "skin/engine/sUtils.h"

namespace korvex::skin {

namespace {

const TsAppIcons* Current = nullptr;

user::HICON HandleOf(const classes::TIcon* icon) {
    return icon != nullptr ? icon->Handle() : nullptr;
}

}   // namespace

TsAppIcons::TsAppIcons()
    : TsAppIcons(std::unique_ptr<classes::TIcon>(GetFileIcon(os::ProgramFileName(), true)),
        std::unique_ptr<classes::TIcon>(GetFileIcon(os::ProgramFileName(), false))) { }

TsAppIcons::TsAppIcons(std::unique_ptr<classes::TIcon> small, std::unique_ptr<classes::TIcon> large)
    : FSmall(std::move(small))
    , FLarge(std::move(large)) {
    KORVEX_ASSERT(Current == nullptr);
    Current = this;
    user::SetProgramIcons(HandleOf(FSmall.get()), HandleOf(FLarge.get()));
}

TsAppIcons::~TsAppIcons() {
    KORVEX_ASSERT(Current == this);
    user::SetProgramIcons(nullptr, nullptr);
    Current = nullptr;
}

classes::TIcon* AppSmallIcon() {
    return Current != nullptr ? Current->Small() : nullptr;
}

classes::TIcon* AppLargeIcon() {
    return Current != nullptr ? Current->Large() : nullptr;
}

}
