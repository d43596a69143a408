// TacSavedDc: the skin code's name for the platform's saved-DC guard.
#pragma once

#include "platform/gdi/SavedDc.h"

namespace korvex::skin {

using TacSavedDc = gdi::SavedDc;

}
