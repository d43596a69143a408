// Shared drawing of skin pictures: nine-part frames with bevel lines and state overlays, glyphs, gloss.
#pragma once

#include "tools/skingen/Raster.h"
#include "tools/skingen/SkinModel.h"

#include <array>
#include <string>
#include <vector>

namespace korvex::skingen {

// Edges of a frame that stay open (the shape runs past them): a tab's side toward its page.
enum TEdge : unsigned { EdgeNone = 0, EdgeTop = 1, EdgeRight = 2, EdgeBottom = 4, EdgeLeft = 8 };

// One state column of a nine-part frame. Every line is uniform along the side it follows, so the side and
// centre cells tile without seams; the body colour comes from the section (colour or gradient) below it.
struct TFrameLook {
    std::array<float, 4> Radius {};   // outer corners: top-left, top-right, bottom-right, bottom-left
    unsigned Open = EdgeNone;
    TColor Outer = 0;   // the outer line
    float OuterAlpha = 1;
    float OuterWidth = 1;
    TColor Inner = 0;   // a second ring inside the outer line (glow, bevel)
    float InnerAlpha = 0;
    float InnerWidth = 1;
    TColor Light = 0xFFFFFF;   // a line inside along the top edge
    float LightAlpha = 0;
    TColor Shade = 0;   // a line inside along the bottom edge
    float ShadeAlpha = 0;
    TColor Fill = 0;   // uniform tint of the whole inside
    float FillAlpha = 0;
    TColor Body = 0;   // an opaque inside (pictures that bring their own background)
    float BodyAlpha = 0;
};

std::array<float, 4> Round(float r);
std::array<float, 4> RoundTop(float r);

// A frame state drawn over w x h (the three by three cells of one state column).
TLayer DrawFrame(int w, int h, const TFrameLook& look, int cellHeight);
// Pixels outside the frame's outer shape: the picture's holes.
std::vector<bool> FrameHoles(int w, int h, const TFrameLook& look);

// Adds a nine-part frame image of cells cellW x cellH, one state column per look.
void AddFrame(TSkinModel& skin, const std::string& section, const std::string& key, int cellW, int cellH,
    const std::vector<TFrameLook>& states, int borderWidth = 0);
// Adds a picture of state columns whose holes are its clear pixels (glyphs, check boxes, caption buttons).
void AddPicture(TSkinModel& skin, const std::string& section, const std::string& key, std::vector<TLayer> states);

// A vertical gloss: top to mid over the upper part, a sharp step, then mid2 to bottom.
TGradientPaint Gloss(float y0, float y1, TColor top, TColor mid, TColor mid2, TColor bottom, float split = 0.5f);
TGradientPaint Vertical(float y0, float y1, TColor top, TColor bottom);

// ---- Glyphs, centred in box ----
enum class TDirection { Up, Down, Left, Right };
void DrawArrow(TLayer& layer, TBox box, TDirection direction, TColor color, float alpha = 1);
void DrawChevron(TLayer& layer, TBox box, TDirection direction, TColor color, float width);
void DrawCheckMark(TLayer& layer, TBox box, TColor color, float width);
void DrawCross(TLayer& layer, TBox box, TColor color, float width);
void DrawMinimizeBar(TLayer& layer, TBox box, TColor color, float width);
void DrawMaximizeBox(TLayer& layer, TBox box, TColor color, float width);
void DrawRestoreBoxes(TLayer& layer, TBox box, TColor color, float width);
void DrawQuestion(TLayer& layer, TBox box, TColor color, float width);
void DrawGripDots(TLayer& layer, TBox box, TColor dot, TColor light, int count);   // a triangle of dots
void DrawDotRow(TLayer& layer, TBox box, bool vertical, TColor dot, TColor light, int count);

}
