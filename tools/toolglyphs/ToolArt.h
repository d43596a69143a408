// The tool bar glyphs drawn procedurally: 16 x 16 pictures on the transparent key colour.
#pragma once

#include "platform/gdi/Bitmap.h"

namespace korvex::toolglyphs {

enum class TGlyphSet { MainWindow, OpenDialog };

struct TToolGlyph {
    const char* Name;   // the file and resource name ("TB_OPTIONS" ...)
    TGlyphSet Set;
};

inline constexpr TToolGlyph ToolGlyphs[] = {{"TB_OPTIONS", TGlyphSet::MainWindow},
    {"TB_CHARTS", TGlyphSet::MainWindow}, {"TB_REFRESH", TGlyphSet::MainWindow}, {"TB_LOGS", TGlyphSet::MainWindow},
    {"TB_HISTORY", TGlyphSet::MainWindow}, {"TB_VERSION", TGlyphSet::MainWindow},
    {"TB_ADDHOST", TGlyphSet::MainWindow}, {"TB_DELHOST", TGlyphSet::MainWindow}, {"TB_EXIT", TGlyphSet::MainWindow},
    {"DLG_BACK", TGlyphSet::OpenDialog}, {"DLG_UP", TGlyphSet::OpenDialog}, {"DLG_NEWFOLDER", TGlyphSet::OpenDialog},
    {"DLG_VIEW", TGlyphSet::OpenDialog}};
inline constexpr int ToolGlyphSize = 16;

// A 24-bit bitmap 16 x 16: the picture where it covers at least 40 %, its edges mixed with a neutral grey,
// the rest (and always the bottom-left pixel, the key buttons read) 0xFF00FF.
gdi::Bitmap* DrawToolGlyph(const TToolGlyph& glyph);

}
