// "LongHorn (internal)", the default: dark glass with blue accents and glowing hot states.
#include "tools/skingen/Style.h"

namespace korvex::skingen {

TStyle LongHornStyle() {
    TStyle s;
    s.Name = "LongHorn (internal)";
    s.Description = "Dark glass with blue accents";
    s.Dark = true;
    s.Gloss = true;
    s.Radius = 3;
    s.WindowRadius = 7;
    s.Caption = TCaptionShape::Glass;
    s.FadingIterations = 5;

    s.Window = Web(0x1C232D), s.WindowBottom = Web(0x10151C), s.WindowText = Web(0xE6ECF3);
    s.FrameOuter = Web(0x05070A), s.Frame = Web(0x2A3544);
    s.Title = {Web(0x4A5D75), Web(0x2C3A4C), Web(0x1B2533), Web(0x243246)};
    s.TitleInactive = {Web(0x3A4350), Web(0x2A313B), Web(0x22282F), Web(0x272E37)};
    s.TitleText = Web(0xFFFFFF), s.TitleTextInactive = Web(0x9AA6B4), s.TitleShadow = Web(0x000000);
    s.CaptionGlyph = Web(0xE8EEF5), s.CaptionGlyphHot = Web(0xFFFFFF);
    s.CaptionPlate = Web(0x2B3645), s.CaptionPlateHot = Web(0x2F86D8), s.CaptionPlatePressed = Web(0x1A5A9C);
    s.Close = Web(0xA8281E), s.CloseHot = Web(0xE0443A), s.Minimize = s.CaptionPlate, s.Maximize = s.CaptionPlate;

    s.Face = {Web(0x4B5563), Web(0x363E4A), Web(0x262C35), Web(0x303843)};
    s.FaceHot = {Web(0x4E7FB8), Web(0x2F5F98), Web(0x1D4477), Web(0x2C5C94)};
    s.FaceText = Web(0xE6ECF3), s.FaceHotText = Web(0xFFFFFF);
    s.Border = Web(0x0B0E13), s.BorderHot = Web(0x3FA0FF);
    s.HotRing = Web(0x5AB4FF), s.HotRingAlpha = 0.55f;
    s.Pressed = Web(0x000000), s.PressedAlpha = 0.3f, s.LightAlpha = 0.22f;

    s.Accent = {Web(0x7CC2FF), Web(0x3E95EE), Web(0x1C6FD0), Web(0x3A8FEA)};
    s.AccentBorder = Web(0x0E3D75), s.Check = Web(0x5AB4FF);
    s.CheckBox = Web(0x10151C), s.CheckBoxHot = Web(0x18202A), s.CheckBorder = Web(0x4A5668),
    s.CheckBorderHot = Web(0x3FA0FF);

    s.Field = Web(0x0E1218), s.FieldText = Web(0xE6ECF3), s.FieldBorder = Web(0x3A4555),
    s.FieldBorderHot = Web(0x3FA0FF);
    s.Bar = {Web(0x2E3846), Web(0x232B36), Web(0x1B222B), Web(0x202833)};
    s.BarText = Web(0xD5DDE7), s.BarLine = Web(0x0A0D12);
    s.Panel = Web(0x1F2731), s.PanelShade = Web(0x0A0D12);

    s.Menu = Web(0x1A2029), s.MenuText = Web(0xE6ECF3), s.MenuBorder = Web(0x3A4555);
    s.MenuHot = {Web(0x3F7FCB), Web(0x2C67B0), Web(0x1F5598), Web(0x2A62A8)};
    s.MenuHotText = Web(0xFFFFFF), s.MenuHotBorder = Web(0x5AB4FF);
    s.IconBand = Web(0x242D39), s.IconBand2 = Web(0x1A2029);

    s.Track = Web(0x12171E), s.TrackBorder = Web(0x05070A);
    s.Thumb = {Web(0x56606E), Web(0x404956), Web(0x313843), Web(0x3A434F)};
    s.ThumbHot = {Web(0x4F86C4), Web(0x3470B5), Web(0x225A9C), Web(0x2F6AAE)};
    s.ThumbBorder = Web(0x05070A), s.Arrow = Web(0xA9B5C4), s.ArrowHot = Web(0xFFFFFF);

    s.Hint = Web(0x26303C), s.HintText = Web(0xE6ECF3), s.HintBorder = Web(0x3FA0FF);
    s.Link = Web(0x5AB4FF), s.LinkHot = Web(0x9AD2FF), s.Tick = Web(0x6A7788);
    return s;
}

}
