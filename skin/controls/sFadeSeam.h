// The fades of the push and check controls (the engine's), and the speed button's animation seam.
#pragma once

#include "platform/classes/TControl.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sFade.h"

namespace korvex::skin {

// FIXME: the speed button's animation timer is not wired in yet: starting one reports false, so every
// change repaints at once.
class TsAnimTimer;
inline bool StartAnimTimer(TsAnimTimer*& timer, TsCommonData*, bool) {
    timer = nullptr;
    return false;
}
inline void StopAnimTimer(TsAnimTimer*& timer) { timer = nullptr; }

}
