// "NextStyle (internal)": flat and high-contrast dark; white outlines, yellow for hot and selected.
#include "tools/skingen/Style.h"

namespace korvex::skingen {

TStyle NextStyleStyle() {
    TStyle s;
    s.Name = "NextStyle (internal)";
    s.Description = "Flat high-contrast dark look";
    s.Dark = true;
    s.Flat = true;
    s.Radius = 0;
    s.WindowRadius = 0;
    s.Caption = TCaptionShape::Square;

    const TColor yellow = Web(0xFFD400);
    s.Window = Web(0x0D0D0D), s.WindowBottom = Web(0x0D0D0D), s.WindowText = Web(0xFFFFFF);
    s.FrameOuter = Web(0xFFFFFF), s.Frame = Web(0x0D0D0D);
    s.Title = {Web(0x000000), Web(0x000000), Web(0x000000), Web(0x000000)};
    s.TitleInactive = {Web(0x1A1A1A), Web(0x1A1A1A), Web(0x1A1A1A), Web(0x1A1A1A)};
    s.TitleText = Web(0xFFFFFF), s.TitleTextInactive = Web(0x8A8A8A);
    s.CaptionGlyph = Web(0xFFFFFF), s.CaptionGlyphHot = Web(0x000000);
    s.CaptionPlate = Web(0x000000), s.CaptionPlateHot = yellow, s.CaptionPlatePressed = Web(0xFFFFFF);
    s.Close = Web(0x000000), s.CloseHot = Web(0xFF3B30), s.Minimize = s.Close, s.Maximize = s.Close;

    s.Face = {Web(0x1E1E1E), Web(0x1E1E1E), Web(0x1E1E1E), Web(0x1E1E1E)};
    s.FaceHot = {yellow, yellow, yellow, yellow};
    s.FaceText = Web(0xFFFFFF), s.FaceHotText = Web(0x000000);
    s.Border = Web(0xFFFFFF), s.BorderHot = yellow;
    s.Pressed = Web(0xFFFFFF), s.PressedAlpha = 0.6f, s.LightAlpha = 0;

    s.Accent = {yellow, yellow, yellow, yellow};
    s.AccentText = Web(0x000000);
    s.AccentBorder = yellow, s.Check = yellow;
    s.CheckBox = Web(0x000000), s.CheckBoxHot = Web(0x262626), s.CheckBorder = Web(0xFFFFFF), s.CheckBorderHot = yellow;

    s.Field = Web(0x000000), s.FieldText = Web(0xFFFFFF), s.FieldBorder = Web(0xBFBFBF), s.FieldBorderHot = yellow;
    s.Bar = {Web(0x161616), Web(0x161616), Web(0x161616), Web(0x161616)};
    s.BarText = Web(0xFFFFFF), s.BarLine = Web(0xFFFFFF);
    s.Panel = Web(0x141414), s.PanelShade = Web(0x8C8C8C);

    s.Menu = Web(0x111111), s.MenuText = Web(0xFFFFFF), s.MenuBorder = Web(0xFFFFFF);
    s.MenuHot = {yellow, yellow, yellow, yellow};
    s.MenuHotText = Web(0x000000), s.MenuHotBorder = yellow;
    s.IconBand = Web(0x1C1C1C), s.IconBand2 = Web(0x1C1C1C);

    s.Track = Web(0x000000), s.TrackBorder = Web(0x8C8C8C);
    s.Thumb = {Web(0x5A5A5A), Web(0x5A5A5A), Web(0x5A5A5A), Web(0x5A5A5A)};
    s.ThumbHot = {yellow, yellow, yellow, yellow};
    s.ThumbBorder = Web(0xFFFFFF), s.Arrow = Web(0xFFFFFF), s.ArrowHot = Web(0x000000);

    s.Hint = Web(0x000000), s.HintText = yellow, s.HintBorder = yellow;
    s.Link = Web(0x4FC3FF), s.LinkHot = yellow, s.Tick = Web(0xBFBFBF);
    return s;
}

}
