// The system's stock icons drawn procedurally: the message dialog's information, warning, error and question,
// and the default application icon.
#pragma once

#include "platform/gdi/Bitmap.h"

namespace korvex::msgicons {

enum class MessageIcon { Information, Warning, Error, Question, Application };
inline constexpr MessageIcon AllIcons[] = {MessageIcon::Information, MessageIcon::Warning, MessageIcon::Error,
    MessageIcon::Question, MessageIcon::Application};

const char* IconName(MessageIcon icon);   // "information", "warning", "error", "question", "application"
// The icon as a 32-bit bitmap of size x size with straight (not premultiplied) alpha in the fourth byte.
gdi::Bitmap* DrawIcon(MessageIcon icon, int size);

}
