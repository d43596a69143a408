// The drawn pictures of a skin: check and radio boxes, caption buttons, arrows, thumbs, ticks and grips.
#pragma once

#include "tools/skingen/Style.h"

namespace korvex::skingen {

// GLOBALINFO: the check, radio and small boxes, the menu check, the caption buttons and the size grip.
void AddGlobalPictures(TSkinModel& skin, const TStyle& style);
// The arrow glyphs of the scroll buttons and the grips of the scroll thumbs.
void AddScrollGlyphs(TSkinModel& skin, const TStyle& style);
// TRACKBAR: channel, thumbs and ticks.
void AddTrackBarPictures(TSkinModel& skin, const TStyle& style);
// COMBOBOX: the drop-down button glyph.
void AddComboGlyph(TSkinModel& skin, const TStyle& style);

// Caption button kinds, in the order their images are named.
enum class TCaptionKind { Close, Maximize, Minimize, Restore, Help, Plain };
// One state (0 normal, 1 hot, 2 pressed) of a caption button picture of w x h.
TLayer CaptionButton(const TStyle& style, TCaptionKind kind, int state, int w, int h);

}
