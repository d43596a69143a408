// Types the tree, list and tool bar views share: what lies under a point, the stages of a custom draw.
#pragma once

#include "platform/classes/TSet.h"

namespace korvex::classes {

// The stages of a custom draw (tool bars, list views).
enum TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };

enum THitTest {
    htAbove,
    htBelow,
    htNowhere,
    htOnItem,
    htOnButton,
    htOnIcon,
    htOnIndent,
    htOnLabel,
    htOnRight,
    htOnStateIcon,
    htToLeft,
    htToRight
};
using THitTests = TSet<THitTest>;

}
