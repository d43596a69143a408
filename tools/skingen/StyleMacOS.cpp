// "MacOS (internal)": light, glossy and rounded; pinstriped windows, coloured caption balls, aqua accents.
#include "tools/skingen/Style.h"

namespace korvex::skingen {

TStyle MacOSStyle() {
    TStyle s;
    s.Name = "MacOS (internal)";
    s.Description = "Light glossy rounded look with aqua accents";
    s.Gloss = true;
    s.PinStripes = true;
    s.Radius = 5;
    s.WindowRadius = 6;
    s.Caption = TCaptionShape::Circle;
    s.FadingIterations = 5;

    s.Window = Web(0xECECEC), s.WindowBottom = Web(0xECECEC), s.WindowText = Web(0x000000);
    s.FrameOuter = Web(0x7A7A7A), s.Frame = Web(0xD6D6D6);
    s.Title = {Web(0xF2F2F2), Web(0xDEDEDE), Web(0xD4D4D4), Web(0xBDBDBD)};
    s.TitleInactive = {Web(0xF7F7F7), Web(0xEFEFEF), Web(0xEAEAEA), Web(0xE1E1E1)};
    s.TitleText = Web(0x1E1E1E), s.TitleTextInactive = Web(0x8C8C8C), s.TitleShadow = Web(0xFFFFFF);
    s.CaptionGlyph = Web(0x4D0000), s.CaptionGlyphHot = Web(0x4D0000);
    s.CaptionPlate = Web(0xB4B4B4), s.CaptionPlateHot = Web(0x9A9A9A), s.CaptionPlatePressed = Web(0x808080);
    s.Close = Web(0xFF5F57), s.CloseHot = Web(0xFF5F57), s.Minimize = Web(0xFEBC2E), s.Maximize = Web(0x28C840);

    s.Face = {Web(0xFFFFFF), Web(0xF6F6F6), Web(0xE6E6E6), Web(0xF7F7F7)};
    s.FaceHot = {Web(0xD4EAFF), Web(0x82BCF6), Web(0x3D8BE8), Web(0x92D2FF)};
    s.FaceText = Web(0x000000), s.FaceHotText = Web(0x000000);
    s.Border = Web(0x8E8E8E), s.BorderHot = Web(0x2F6FB8);
    s.Pressed = Web(0x123E74), s.PressedAlpha = 0.22f, s.LightAlpha = 0.9f;

    s.Accent = {Web(0xD3EBFF), Web(0x86C2F8), Web(0x3A8EE6), Web(0x9ED6FF)};
    s.AccentBorder = Web(0x2E6DB4), s.Check = Web(0x1C5DB0);
    s.CheckBox = Web(0xFFFFFF), s.CheckBoxHot = Web(0xF0F7FF), s.CheckBorder = Web(0x8E8E8E),
    s.CheckBorderHot = Web(0x2F6FB8);

    s.Field = Web(0xFFFFFF), s.FieldText = Web(0x000000), s.FieldBorder = Web(0x9A9A9A),
    s.FieldBorderHot = Web(0x5A9BE0);
    s.Bar = {Web(0xF8F8F8), Web(0xEDEDED), Web(0xE3E3E3), Web(0xD0D0D0)};
    s.BarText = Web(0x1E1E1E), s.BarLine = Web(0xA8A8A8);
    s.Panel = Web(0xECECEC), s.PanelShade = Web(0xB0B0B0);

    s.Menu = Web(0xF8F8F8), s.MenuText = Web(0x000000), s.MenuBorder = Web(0xA0A0A0);
    s.MenuHot = {Web(0x78AEF2), Web(0x5592E8), Web(0x3A7BDD), Web(0x4486E2)};
    s.MenuHotText = Web(0xFFFFFF), s.MenuHotBorder = Web(0x2A66C0);
    s.IconBand = Web(0xF2F2F2), s.IconBand2 = Web(0xE8E8E8);

    s.Track = Web(0xE8E8E8), s.TrackBorder = Web(0xB5B5B5);
    s.Thumb = s.Accent;
    s.ThumbHot = {Web(0xE4F3FF), Web(0xA0D2FF), Web(0x4E9FF1), Web(0xB4E2FF)};
    s.ThumbBorder = Web(0x2E6DB4), s.Arrow = Web(0x404040), s.ArrowHot = Web(0x123E74);

    s.Hint = Web(0xFFFBD6), s.HintText = Web(0x000000), s.HintBorder = Web(0xA0A080);
    s.Link = Web(0x1A5FD0), s.LinkHot = Web(0x0A3A90), s.Tick = Web(0x808080);
    return s;
}

}
