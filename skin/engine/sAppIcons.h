// The program file's small and large icons, loaded at start-up and freed at the end of the run.
#pragma once

#include "platform/classes/Forward.h"

#include <memory>

namespace korvex::skin {

// The program holds one TsAppIcons for its whole run, made before its first window shows. While it lives,
// AppSmallIcon and AppLargeIcon give its icons, and the window layer shows them as the program's own (plain
// title bars, the window manager's title and task bar). At most one lives at a time.
class TsAppIcons {
public:
    TsAppIcons();   // GetFileIcon of the program file, small and large
    TsAppIcons(std::unique_ptr<classes::TIcon> small, std::unique_ptr<classes::TIcon> large);
    ~TsAppIcons();
    TsAppIcons(const TsAppIcons&) = delete;
    TsAppIcons& operator=(const TsAppIcons&) = delete;

    classes::TIcon* Small() const { return FSmall.get(); }   // nullptr: none
    classes::TIcon* Large() const { return FLarge.get(); }

private:
    std::unique_ptr<classes::TIcon> FSmall;
    std::unique_ptr<classes::TIcon> FLarge;
};

// nullptr while no TsAppIcons lives or the program file has no icon of that size.
classes::TIcon* AppSmallIcon();
classes::TIcon* AppLargeIcon();

}
