// The message dialog's icons drawn procedurally: information, warning, error and question.
#pragma once

#include "platform/gdi/Bitmap.h"

namespace korvex::msgicons {

enum class MessageIcon { Information, Warning, Error, Question };
inline constexpr MessageIcon AllIcons[] = {
    MessageIcon::Information, MessageIcon::Warning, MessageIcon::Error, MessageIcon::Question};

const char* IconName(MessageIcon icon);   // "information", "warning", "error", "question"
// The icon as a 32-bit bitmap of size x size with straight (not premultiplied) alpha in the fourth byte.
gdi::Bitmap* DrawIcon(MessageIcon icon, int size);

}
