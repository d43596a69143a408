// Button glyphs: a glyph bitmap or an image-list picture drawn into a button's cache with the hot, blended,
// greyed and disabled looks; two-state glyphs for unskinned buttons.
#pragma once

#include "platform/classes/GraphicsTypes.h"
#include "platform/classes/TSet.h"
#include "platform/classes/TToolBar.h"
#include "skin/engine/Forward.h"

namespace korvex::classes {
class TBitmap;
class TComponent;
class TCustomImageList;
}

namespace korvex::skin {

enum TsDisabledGlyphKindItem { dgBlended, dgGrayed };
using TsDisabledGlyphKind = classes::TSet<TsDisabledGlyphKindItem>;
inline const TsDisabledGlyphKind DefaultDisabledGlyphKind {dgBlended};

// What the painters read of a bit button or speed button; the button fills it for each paint.
struct TacGlyphButton {
    classes::TBitmap* Glyph = nullptr;   // one or NumGlyphs states side by side
    int NumGlyphs = 1;
    classes::TCustomImageList* Images = nullptr;   // used when there is no glyph
    int ImageIndex = -1;
    int Blend = 0;   // percent of the background that shows through, 0 = none
    bool Grayed = false;   // grey unless hot
    TsDisabledGlyphKind DisabledGlyphKind = DefaultDisabledGlyphKind;
    bool Enabled = true;
    TsCommonData* SkinData = nullptr;   // its cache is painted; its IsHot picks the hot look
    classes::TRect GlyphRect {};   // in the cache: the button's glyph layout
};

// The glyph's transparent colour is its bottom-left pixel (after greying); an image list's is its BkColor
// (0xFF00FF for clNone). Missing glyphs, lists or indexes draw nothing.
void PaintGlyph(classes::TBitmap* glyph, classes::TBitmap* dst, const classes::TRect& r, int numGlyphs, bool enabled,
    bool grayed, TsDisabledGlyphKind disabledKind, bool hot, int blend);
void PaintBitBtnGlyph(const TacGlyphButton& button);
void PaintSpeedButtonGlyph(const TacGlyphButton& button);
// The tool button's image (hot list when hot or pressed and it has the image; pressed moves it by (1, 1))
// into the tool bar's cache dst; dst's canvas measures the caption height.
void PaintToolButtonGlyph(classes::TToolBar* toolBar, classes::TToolButton* button,
    classes::TCustomDrawState state, classes::TBitmap* dst);
// For an unskinned button: glyph := the image and its disabled copy side by side; numGlyphs := 2.
void MakeGlyphFromImageList(classes::TComponent* button, TsCommonData* data, int imageIndex, int& numGlyphs,
    TsDisabledGlyphKind disabledKind, classes::TBitmap* glyph, classes::TCustomImageList* images);
// bmp := the list's image size in the list's BkColor with image index drawn on it (24-bit).
void MakeImageListBitmap(classes::TBitmap* bmp, classes::TCustomImageList* images, int index);
int GetImageCount(const classes::TCustomImageList* images);   // 0 for none
// The colour box always opens the skinned colour dialog.
inline bool UseStandardColorDialog() {
    return false;
}
// Called after a button takes its properties from an action; nothing to do.
inline void BitBtnActionHook(classes::TComponent*) { }
inline void SpeedButtonActionHook(classes::TComponent*) { }

}
