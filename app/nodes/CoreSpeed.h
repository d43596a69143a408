// The measured speed per node and core family, its new value held for the cycle's settings write.
#pragma once

#include "app/settings/SettingsWrites.h"

#include <string>

namespace korvex::app {

// StoreCoreSpeed (Estimates.h) with the blended value handed to `writes` instead of written at once: the
// stored value is read from what `writes` holds, else from the store (nothing is created there).
double StoreCoreSpeed(TSettingsWrites& writes, int nodeIndex, const std::string& core, double v);

}
