// The menu code's process-wide popup state, shared by the files of TsSkinableMenus.
#pragma once

#include "skin/windows/sSkinMenus.h"

#include <memory>
#include <string>

namespace korvex::skin::menustate {

struct PopupState {
    std::unique_ptr<classes::TBitmap> Bitmap;   // the open popup's picture
    user::UINT FirstItemId = 0;   // the first item of the popup it was made for
    TsMenuItemType ItemKind = smNormal;
    std::string ExtraLineSection;
    std::string ExtraLineCaption;
    std::unique_ptr<classes::TBitmap> ExtraLineGlyph;   // the one owner of the glyph the event hands over
    bool ExtraLineVisible = false;
    bool ExtraLineAsking = false;
    bool ExtraLineRead = false;
};

PopupState& State();

}

namespace korvex::skin {

// The last item of its parent while the MDI parent shows a maximized, skinned child's buttons on its menu line.
bool IsLastTopItemBeforeMDIButtons(const classes::TMenuItem* item);
// The room a top item keeps (measuring) or gives up (drawing) for those buttons.
inline constexpr int MDIButtonsRoom = 40;

void SetCachedFirstItemId(user::UINT id);
void SetCurrentItemKind(TsMenuItemType kind);

}
