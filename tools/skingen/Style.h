// The look of one of our skins: its palette and shape choices, read by the skin builder.
#pragma once

#include "tools/skingen/Raster.h"
#include "tools/skingen/SkinModel.h"

#include <string>
#include <vector>

namespace korvex::skingen {

// A face: Top to Upper over the upper part, then Lower to Bottom (a sharp gloss step when Upper != Lower).
struct TFace {
    TColor Top = 0, Upper = 0, Lower = 0, Bottom = 0;
};

enum class TCaptionShape {
    Circle,   // coloured balls; the glyph shows when hot
    Glass,   // dark glass plates, the close plate red
    Square,   // flat outlined squares
    Rounded,   // light rounded plates
};

struct TStyle {
    std::string Name;
    std::string Description;
    bool Dark = false;
    bool Gloss = false;   // faces carry a gloss step at mid height
    bool Flat = false;   // no bevel lines, no gradients on faces
    bool PinStripes = false;   // the window body carries a fine stripe texture
    float Radius = 3;   // corners of buttons and fields
    float WindowRadius = 6;   // top corners of windows
    TCaptionShape Caption = TCaptionShape::Rounded;
    int FadingIterations = 0;   // 0: no fading

    // Windows
    TColor Window = 0, WindowBottom = 0, WindowText = 0;
    TColor FrameOuter = 0, Frame = 0, FrameLight = 0;
    TFace Title, TitleInactive;
    TColor TitleText = 0, TitleTextInactive = 0;
    int TitleShadow = -1;   // contour colour under the caption text, -1 none
    TColor CaptionGlyph = 0, CaptionGlyphHot = 0;
    TColor CaptionPlate = 0, CaptionPlateHot = 0, CaptionPlatePressed = 0;
    TColor Close = 0, CloseHot = 0, Minimize = 0, Maximize = 0;

    // Push faces (buttons, tabs, headers, scroll buttons)
    TFace Face, FaceHot;
    TColor FaceText = 0, FaceHotText = 0;
    TColor Border = 0, BorderHot = 0;
    TColor HotRing = 0;
    float HotRingAlpha = 0;
    TColor Pressed = 0;
    float PressedAlpha = 0.2f;
    float LightAlpha = 0.6f;   // the highlight line inside the top edge

    // Accents: progress, slider thumbs, check marks, selections
    TFace Accent;
    TColor AccentText = 0xFFFFFF;   // text on the accent (the popup menus' extra line)
    TColor AccentBorder = 0, Check = 0, CheckBox = 0, CheckBoxHot = 0, CheckBorder = 0, CheckBorderHot = 0;

    // Fields
    TColor Field = 0, FieldText = 0, FieldBorder = 0, FieldBorderHot = 0;

    // Bars: tool bar, status bar, menu line, headers
    TFace Bar;
    TColor BarText = 0, BarLine = 0;
    TColor Panel = 0, PanelLight = 0, PanelShade = 0;

    // Menus
    TColor Menu = 0, MenuText = 0, MenuBorder = 0, MenuHotText = 0, MenuHotBorder = 0;
    TFace MenuHot;
    TColor IconBand = 0, IconBand2 = 0;

    // Scroll bars
    TColor Track = 0, TrackBorder = 0;
    TFace Thumb, ThumbHot;
    TColor ThumbBorder = 0, Arrow = 0, ArrowHot = 0;

    // Others
    TColor Hint = 0, HintText = 0, HintBorder = 0;
    TColor Link = 0, LinkHot = 0;
    TColor Tick = 0;
};

TStyle MacOSStyle();
TStyle LongHornStyle();
TStyle NextStyleStyle();
TStyle Office2003Style();

// The four styles in the order the program stores them.
std::vector<TStyle> AllStyles();
// A finished skin (sections, images, master bitmap) of the style.
TSkinModel BuildSkin(const TStyle& style);

}
