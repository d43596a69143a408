// "Office2003 (internal)": a light blue office look; blue bars and titles, orange hot states.
#include "tools/skingen/Style.h"

namespace korvex::skingen {

TStyle Office2003Style() {
    TStyle s;
    s.Name = "Office2003 (internal)";
    s.Description = "Light blue office look";
    s.Radius = 3;
    s.WindowRadius = 7;
    s.Caption = TCaptionShape::Rounded;
    s.FadingIterations = 3;

    s.Window = Web(0xDDE8F6), s.WindowBottom = Web(0xC9DBF2), s.WindowText = Web(0x000000);
    s.FrameOuter = Web(0x00287A), s.Frame = Web(0x0A5CD8);
    s.Title = {Web(0x4A9BFF), Web(0x1F6FF0), Web(0x0B56DC), Web(0x0846CC)};
    s.TitleInactive = {Web(0xB6CEF5), Web(0x9CBAEB), Web(0x8FAEE3), Web(0x7F9FD9)};
    s.TitleText = Web(0xFFFFFF), s.TitleTextInactive = Web(0xE2EBFA), s.TitleShadow = Web(0x0A246A);
    s.CaptionGlyph = Web(0xFFFFFF), s.CaptionGlyphHot = Web(0xFFFFFF);
    s.CaptionPlate = Web(0x2F78EE), s.CaptionPlateHot = Web(0x6FA8FF), s.CaptionPlatePressed = Web(0x1C4FB0);
    s.Close = Web(0xD8482A), s.CloseHot = Web(0xF06A4A), s.Minimize = s.CaptionPlate, s.Maximize = s.CaptionPlate;

    s.Face = {Web(0xFFFFFF), Web(0xF1F6FD), Web(0xE6EEFA), Web(0xD2E1F6)};
    s.FaceHot = {Web(0xFFF6D2), Web(0xFFEAB0), Web(0xFFDD96), Web(0xFFCF7E)};
    s.FaceText = Web(0x000000), s.FaceHotText = Web(0x000000);
    s.Border = Web(0x7F9DB9), s.BorderHot = Web(0x000080);
    s.Pressed = Web(0xF0880A), s.PressedAlpha = 0.35f, s.LightAlpha = 0.8f;

    s.Accent = {Web(0x9CCBFF), Web(0x66A6F6), Web(0x3F83E6), Web(0x2A6BD8)};
    s.AccentBorder = Web(0x1B4CA8), s.Check = Web(0x000080);
    s.CheckBox = Web(0xFFFFFF), s.CheckBoxHot = Web(0xFFF3D0), s.CheckBorder = Web(0x1C5180),
    s.CheckBorderHot = Web(0xE0A040);

    s.Field = Web(0xFFFFFF), s.FieldText = Web(0x000000), s.FieldBorder = Web(0x7F9DB9),
    s.FieldBorderHot = Web(0x316AC5);
    s.Bar = {Web(0xE6F1FF), Web(0xCFE1F8), Web(0xB9D1F2), Web(0x8EB3E5)};
    s.BarText = Web(0x000000), s.BarLine = Web(0x6A8CCB);
    s.Panel = Web(0xDDE8F6), s.PanelShade = Web(0x8DA9D6);

    s.Menu = Web(0xFCFCF9), s.MenuText = Web(0x000000), s.MenuBorder = Web(0x002D96);
    s.MenuHot = {Web(0xFFF4D6), Web(0xFFECC0), Web(0xFFE6B0), Web(0xFFDC98)};
    s.MenuHotText = Web(0x000000), s.MenuHotBorder = Web(0x000080);
    s.IconBand = Web(0xE3EFFF), s.IconBand2 = Web(0x9DBEEB);

    s.Track = Web(0xEEF3FA), s.TrackBorder = Web(0xA9C0E4);
    s.Thumb = {Web(0xDDEBFF), Web(0xC8DCFA), Web(0xB8D0F6), Web(0xA6C4F2)};
    s.ThumbHot = {Web(0xFFF3D0), Web(0xFFE6AE), Web(0xFFDA94), Web(0xFFCD7A)};
    s.ThumbBorder = Web(0x6B8FD0), s.Arrow = Web(0x1C3F94), s.ArrowHot = Web(0x000080);

    s.Hint = Web(0xFFFFE1), s.HintText = Web(0x000000), s.HintBorder = Web(0x767676);
    s.Link = Web(0x0033CC), s.LinkHot = Web(0xFF6600), s.Tick = Web(0x6A8CCB);
    return s;
}

}
