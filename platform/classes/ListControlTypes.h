// Types the list box and the combo box share: styles, owner-draw states and the owner-draw events.
#pragma once

#include "platform/base/Exceptions.h"
#include "platform/classes/GraphicsTypes.h"
#include "platform/classes/TObject.h"
#include "platform/classes/TSet.h"

#include <functional>
#include <string_view>

namespace korvex::classes {

class TWinControl;

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
inline constexpr std::string_view ListBoxStyleIdents[] = {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable"};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
inline constexpr std::string_view ComboBoxStyleIdents[]
    = {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"};

// The state of an owner-drawn item (the native ODS_* bits, in their order).
enum TOwnerDrawStateItem {
    odSelected,
    odGrayed,
    odDisabled,
    odChecked,
    odFocused,
    odDefault,
    odHotLight,
    odInactive,
    odNoAccel,
    odNoFocusRect,
    odReserved1,
    odReserved2,
    odComboBoxEdit,   // the closed face of a combo box
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
// From the ODS_* bits of an owner-draw record.
inline TOwnerDrawState OwnerDrawStateOf(unsigned itemState) {
    return TOwnerDrawState::FromBits(itemState & 0xFFFF);
}

using TDrawItemEvent = std::function<void(TWinControl* control, int index, const TRect& rect, TOwnerDrawState state)>;
using TMeasureItemEvent = std::function<void(TWinControl* control, int index, int& height)>;

// A list window refused an item (it answered with an error).
class EOutOfResources : public base::Exception {
public:
    using Exception::Exception;
};

}
