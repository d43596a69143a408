// Hover and press fades of the push controls: which events fade, and the repaint the controls ask for.
#pragma once

#include "platform/classes/TControl.h"
#include "platform/classes/TSet.h"
#include "skin/engine/sCommonData.h"

#include <string_view>

namespace korvex::skin {

// FIXME: the cross-fade timers are not wired in yet: every change repaints at once.
enum TacAnimatEvent { aeMouseEnter, aeMouseLeave, aeMouseDown, aeMouseUp, aeGlobalDef };
using TacAnimatEvents = classes::TSet<TacAnimatEvent>;
inline constexpr std::string_view AnimatEventIdents[] = {
    "aeMouseEnter", "aeMouseLeave", "aeMouseDown", "aeMouseUp", "aeGlobalDef"};
class TsFadeTimer;

inline bool AnimatEventEnabled(TacAnimatEvent event, TacAnimatEvents events) {
    return events.Contains(event) || events.Contains(aeGlobalDef);
}
inline void StopFadeTimer(TsFadeTimer*& timer) { timer = nullptr; }
inline void DoChangePaint(TsFadeTimer*& timer, TsCommonData* data, bool, int, bool) {
    data->BGChanged = true;
    StopFadeTimer(timer);
    if (classes::TControl* c = data->OwnerControl()) c->Repaint();
}

}

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
