// Types the tree and list views share: what lies under a point.
#pragma once

#include "platform/classes/TSet.h"

namespace korvex::classes {

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
