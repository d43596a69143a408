// What a colour box's list and keys choose, shared by the plain and the skinned colour box.
#pragma once

#include "platform/classes/TColorBox.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/ComboBox.h"

namespace korvex::classes {

// The box keeps the colour last chosen (`shown`, all there is while it has no window). Its list closed on a
// colour shows that colour from now on; closed without a choice (Escape, a press outside, focus lost: the list
// says CBN_SELENDCANCEL first) the items passed over in it, even "Custom...", are dropped and the colour shown
// before it opened comes back. "Custom..." asks the box's PickCustomColor for its colour when the list closes on
// it, or on Enter while it is chosen. TBox gives ItemIndex, DroppedDown, Colors, Selected, SetSelected, Items,
// Style, PickCustomColor and RepaintChoice; it befriends its choice for the protected ones.
template <class TBox>
class TColorBoxChoice {
public:
    TColorBoxChoice(TBox& box, TColor& shown) : FBox(box), FShown(shown) {}

    // The box's CN_COMMAND, before the combo box's own handling.
    void Command(const TMessage& m) {
        if (user::HIWORD(m.WParam) == user::CBN_SELENDCANCEL) FListCancelled = true;
    }

    void CloseUp() {
        const bool cancelled = FListCancelled;
        FListCancelled = false;
        FListClosed = !cancelled;
        const int index = FBox.ItemIndex();
        if (cancelled) {
            if (FBox.Selected() != FShown) FBox.SetSelected(FShown);
        } else if (index >= 0 && !(index == 0 && CustomItem())) {
            FShown = FBox.Colors(index);
        }
    }

    void Select() {
        if (FListClosed && CustomItem() && FBox.ItemIndex() == 0)
            PickForItemZero();
        else if (FBox.ItemIndex() >= 0 && !FBox.DroppedDown())   // items passed over in the open list are not yet chosen
            FShown = FBox.Colors(FBox.ItemIndex());
        FListClosed = false;
    }

    // True when the key was taken: Enter on "Custom...".
    bool KeyPress(char32_t& key) {
        FListClosed = false;
        if (key != 13 || !CustomItem() || FBox.ItemIndex() != 0) return false;
        PickForItemZero();
        key = 0;
        return true;
    }

private:
    bool CustomItem() const { return FBox.Style().Contains(cbCustomColor); }

    void PickForItemZero() {
        TColor color = CustomColorDialogStart(FShown, FBox.Colors(0));
        if (!FBox.PickCustomColor(color)) {
            if (FBox.Selected() != FShown) FBox.SetSelected(FShown);   // cancelled: the colour shown before stays
            return;
        }
        FBox.Items()->PutObject(0, ColorItemObject(color));
        FShown = color;
        FBox.RepaintChoice();
    }

    TBox& FBox;
    TColor& FShown;
    bool FListClosed = false;
    bool FListCancelled = false;   // the list is closing without a choice
};

}
