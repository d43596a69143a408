// The system's stock icons (application, information, warning, error, question) for LoadIcon with no module.
#pragma once

#include "platform/user/UserTypes.h"

namespace korvex::classes {

inline constexpr int IDI_APPLICATION = 32512;   // the default application icon: a plain window
inline constexpr int IDI_HAND = 32513;
inline constexpr int IDI_QUESTION = 32514;
inline constexpr int IDI_EXCLAMATION = 32515;
inline constexpr int IDI_ASTERISK = 32516;
inline constexpr int IDI_WINLOGO = 32517;   // the same picture as IDI_APPLICATION
inline constexpr int IDI_ERROR = IDI_HAND;
inline constexpr int IDI_WARNING = IDI_EXCLAMATION;
inline constexpr int IDI_INFORMATION = IDI_ASTERISK;

// A stock icon of 32 x 32 pixels that lives for the whole run (the caller never frees it); nullptr for an
// unknown id. Only the system's icons exist (no module).
user::HICON LoadIcon(std::nullptr_t module, int id);

}
