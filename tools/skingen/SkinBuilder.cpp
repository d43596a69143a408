// The skin builder: every section the program looks up, with its colours, gradients and frames, from a style.
#include "platform/base/ColourContrast.h"
#include "platform/classes/Colors.h"
#include "tools/skingen/SkinPictures.h"
#include "tools/skingen/Widgets.h"

#include <algorithm>
#include <cmath>

namespace korvex::skingen {

namespace {

std::string Num(TColor c) {
    return std::to_string(c);
}

// Gradient text of a face: two steps when it has a gloss step, else one (mode 0 top to bottom, 1 left to right).
std::string FaceGradient(const TFace& f, int mode, bool gloss) {
    const std::string m = ";" + std::to_string(mode) + ";0";
    if (!gloss) return Num(f.Top) + ";" + Num(f.Bottom) + ";100" + m;
    return Num(f.Top) + ";" + Num(f.Upper) + ";50" + m + ";" + Num(f.Lower) + ";" + Num(f.Bottom) + ";50" + m;
}

bool IsFlat(const TFace& f) {
    return f.Top == f.Upper && f.Upper == f.Lower && f.Lower == f.Bottom;
}

TColor MidOf(const TFace& f) {
    return Mix(f.Upper, f.Lower, 0.5f);
}

// Colour, hot colour and the gradients of a face pair.
void SetFaces(TSectionSpec& sec, const TStyle& s, const TFace& normal, const TFace& hot, int mode) {
    sec.Set("COLOR", MidOf(normal)).Set("HOTCOLOR", MidOf(hot));
    const bool flat = IsFlat(normal) && IsFlat(hot);
    sec.Set("GRADIENTPERCENT", flat ? 0 : 100).Set("GRADIENTDATA", flat ? " " : FaceGradient(normal, mode, s.Gloss));
    sec.Set("HOTGRADIENTPERCENT", flat ? 0 : 100).Set("HOTGRADIENTDATA", flat ? " " : FaceGradient(hot, mode, s.Gloss));
}

void SetFonts(TSectionSpec& sec, TColor normal, TColor hot) {
    sec.Set("FONTCOLOR", normal).Set("HOTFONTCOLOR", hot);
}

void SetFading(TSectionSpec& sec, const TStyle& s) {
    sec.SetBool("FADINGENABLED", s.FadingIterations > 0);
    if (s.FadingIterations > 0)
        sec.Set("FADINGITERATIONS", s.FadingIterations).Set("FADINGINTERVALIN", 5).Set("FADINGINTERVALOUT", 5);
}

void SetTransparent(TSectionSpec& sec) {
    sec.Set("TRANSPARENCY", 100).Set("HOTTRANSPARENCY", 100).Set("GRADIENTPERCENT", 0).Set("HOTGRADIENTPERCENT", 0);
}

int CellFor(float radius) {
    return std::max(4, static_cast<int>(std::ceil(radius)) + 2);
}

// The three looks of a push face: normal, hot, pressed.
std::vector<TFrameLook> PushLooks(const TStyle& s, float radius, bool flatNormal) {
    std::vector<TFrameLook> looks(3);
    for (int i = 0; i < 3; ++i) {
        TFrameLook& l = looks[static_cast<std::size_t>(i)];
        l.Radius = Round(radius);
        l.Outer = i == 0 ? s.Border : s.BorderHot;
        if (!s.Flat) {
            l.Light = 0xFFFFFF;
            l.LightAlpha = i == 2 ? 0 : s.LightAlpha;
        }
        if (i == 1 && s.HotRingAlpha > 0) {
            l.Inner = s.HotRing;
            l.InnerAlpha = s.HotRingAlpha;
        }
        if (i == 2) {
            l.Fill = s.Pressed;
            l.FillAlpha = s.PressedAlpha;
            if (!s.Flat) {
                l.Light = 0x000000;
                l.LightAlpha = 0.18f;
            }
        }
    }
    if (flatNormal) looks[0].OuterAlpha = 0, looks[0].LightAlpha = 0;
    return looks;
}

TFrameLook Line(const TStyle& s, TColor outer, float alpha, float radius) {
    TFrameLook l;
    l.Radius = Round(radius);
    l.Outer = outer;
    l.OuterAlpha = alpha;
    if (!s.Flat) {
        l.Light = 0xFFFFFF;
        l.LightAlpha = s.Dark ? 0.12f : 0.7f;
    }
    return l;
}

TFrameLook Sunken(const TStyle& s, TColor outer, float radius) {
    TFrameLook l;
    l.Radius = Round(radius);
    l.Outer = outer;
    if (!s.Flat) {
        l.Light = 0x000000;
        l.LightAlpha = s.Dark ? 0.35f : 0.12f;
    }
    return l;
}

void AddWindowSections(TSkinModel& skin, const TStyle& s) {
    TSectionSpec& form = skin.Section("FORM");
    form.Set("COLOR", s.Window).Set("HOTCOLOR", s.Window);
    if (s.Window != s.WindowBottom) {
        const std::string g = Num(s.Window) + ";" + Num(s.WindowBottom) + ";100;0;0";
        form.Set("GRADIENTPERCENT", 100)
            .Set("GRADIENTDATA", g)
            .Set("HOTGRADIENTPERCENT", 100)
            .Set("HOTGRADIENTDATA", g);
    }
    SetFonts(form, s.WindowText, s.WindowText);
    form.SetBool("RESERVEDBOOLEAN", false);
    if (s.PinStripes) {
        // Fine stripes, for the inactive (PATTERN) and the active (HOTPATTERN) window alike.
        for (const char* key : {"PATTERN", "HOTPATTERN"}) {
            TLayer stripes(4, 4);
            stripes.Fill(TRoundRect(TBox {0, 0, 4, 4}, 0), TSolid {s.Window});
            stripes.Fill(TRoundRect(TBox {0, 2, 4, 4}, 0), TSolid {Darken(s.Window, 0.03f)});
            TImageSpec pattern;
            pattern.Section = "FORM";
            pattern.Key = key;
            pattern.MaskType = 0;
            pattern.States.push_back(std::move(stripes));
            pattern.Holes.push_back(std::vector<bool>(16, false));
            skin.AddImage(std::move(pattern));
        }
        form.Set("IMAGEPERCENT", 100)
            .Set("HOTIMAGEPERCENT", 100)
            .Set("GRADIENTPERCENT", 0)
            .Set("HOTGRADIENTPERCENT", 0);
    }
    // The frame: inactive and active; four pixels of frame colour inside the outer line.
    std::vector<TFrameLook> frame(2);
    for (int i = 0; i < 2; ++i) {
        TFrameLook& l = frame[static_cast<std::size_t>(i)];
        l.Radius = {s.WindowRadius, s.WindowRadius, std::min(s.WindowRadius, 3.0f), std::min(s.WindowRadius, 3.0f)};
        l.Outer = s.FrameOuter;
        l.Inner = i == 0 ? Mix(s.Frame, s.Window, 0.4f) : s.Frame;
        l.InnerAlpha = 1;
        l.InnerWidth = 3;
    }
    AddFrame(skin, "FORM", "BORDERSMASK", 8, 8, frame);

    TSectionSpec& title = skin.Section("FORMTITLE");
    SetFaces(title, s, s.TitleInactive, s.Title, 0);
    SetFonts(title, s.TitleTextInactive, s.TitleText);
    if (s.TitleShadow >= 0) title.Set("HOTTCBOTTOM", s.TitleShadow).Set("HOTTCRIGHT", s.TitleShadow);
    std::vector<TFrameLook> band(2);
    for (int i = 0; i < 2; ++i) {
        TFrameLook& l = band[static_cast<std::size_t>(i)];
        l.Radius = RoundTop(s.WindowRadius);
        l.Open = EdgeBottom;
        l.Outer = s.FrameOuter;
        if (!s.Flat) {
            l.Light = 0xFFFFFF;
            l.LightAlpha = s.Dark ? 0.25f : 0.6f;
        }
    }
    if (s.Flat) band[1].Light = s.Accent.Upper, band[1].LightAlpha = 1;
    AddFrame(skin, "FORMTITLE", "BORDERSMASK", 8, 7, band);

    skin.Section("DIALOG").Set("PARENTCLASS", "FORM");
    skin.Section("MDIAREA").Set("COLOR", Darken(s.Window, 0.12f)).Set("HOTCOLOR", Darken(s.Window, 0.12f));
    SetFaces(skin.Section("DRAGBAR").Set("PARENTCLASS", "FORMTITLE"), s, s.TitleInactive, s.Title, 0);
    skin.Section("BARTITLE").Set("PARENTCLASS", "FORMTITLE");
    skin.Section("BAR").Set("PARENTCLASS", "TOOLBAR");
}

void AddMenuSections(TSkinModel& skin, const TStyle& s) {
    TSectionSpec& line = skin.Section("MENULINE");
    SetFaces(line, s, s.Bar, s.Bar, 0);
    SetFonts(line, s.BarText, s.BarText);

    TSectionSpec& menu = skin.Section("MAINMENU");
    menu.Set("COLOR", s.Menu).Set("HOTCOLOR", s.Menu);
    SetFonts(menu, s.MenuText, s.MenuHotText);
    TFrameLook frame = Line(s, s.MenuBorder, 1, s.Flat ? 0 : std::min(s.Radius, 4.0f));
    AddFrame(skin, "MAINMENU", "BORDERSMASK", 4, 4, {frame});

    TSectionSpec& item = skin.Section("MENUITEM");
    item.Set("TRANSPARENCY", 100).Set("HOTTRANSPARENCY", 0);
    SetFaces(item, s, s.MenuHot, s.MenuHot, 0);
    SetFonts(item, s.MenuText, s.MenuHotText);
    TFrameLook off;
    off.Radius = Round(std::min(s.Radius, 3.0f));
    off.OuterAlpha = 0;
    TFrameLook on = Line(s, s.MenuHotBorder, 1, std::min(s.Radius, 3.0f));
    on.LightAlpha = s.Flat ? 0 : 0.35f;
    AddFrame(skin, "MENUITEM", "BORDERSMASK", 4, 4, {off, on});

    TSectionSpec& band = skin.Section("ICOLINE");
    const TFace icon {s.IconBand, s.IconBand, s.IconBand2, s.IconBand2};
    SetFaces(band, s, icon, icon, 1);
    skin.Section("EXTRALINE").Set("PARENTCLASS", "ICOLINE");
    SetFaces(skin.Section("EXTRALINE"), s, s.Accent, s.Accent, 0);
    SetFonts(skin.Section("EXTRALINE"), s.AccentText, s.AccentText);

    // Separators: a horizontal groove for menus, a vertical one for bars.
    const TColor dark = s.Dark ? Darken(s.Menu, 0.45f) : Darken(s.Menu, 0.22f);
    const TColor light = s.Dark ? Lighten(s.Menu, 0.12f) : 0xFFFFFF;
    for (bool vertical : {false, true}) {
        TLayer l(vertical ? 3 : 9, vertical ? 9 : 3);
        l.Fill(TRoundRect(vertical ? TBox {0, 0, 1, 9} : TBox {0, 0, 9, 1}, 0), TSolid {dark});
        if (!s.Flat) l.Fill(TRoundRect(vertical ? TBox {2, 0, 3, 9} : TBox {0, 2, 9, 3}, 0), TSolid {light});
        TImageSpec imageSpec;
        imageSpec.Section = vertical ? "DIVIDER" : "DIVIDERV";
        imageSpec.Key = "BORDERSMASK";
        imageSpec.Holes.push_back(std::vector<bool>(27, false));
        imageSpec.States.push_back(std::move(l));
        skin.Section(imageSpec.Section).Set("COLOR", s.Menu).Set("TRANSPARENCY", 100);
        skin.AddImage(std::move(imageSpec));
    }
}

void AddPushSections(TSkinModel& skin, const TStyle& s) {
    const int cell = CellFor(s.Radius);
    TSectionSpec& button = skin.Section("BUTTON");
    SetFaces(button, s, s.Face, s.FaceHot, 0);
    SetFonts(button, s.FaceText, s.FaceHotText);
    SetFading(button, s);
    button.SetBool("SHOWFOCUS", true);
    AddFrame(skin, "BUTTON", "BORDERSMASK", cell, cell, PushLooks(s, s.Radius, false));

    TSectionSpec& speed = skin.Section("SPEEDBUTTON");
    SetFaces(speed, s, s.Face, s.FaceHot, 0);
    speed.Set("TRANSPARENCY", 100).Set("HOTTRANSPARENCY", 0);
    SetFonts(speed, s.WindowText, s.FaceHotText);
    SetFading(speed, s);
    AddFrame(skin, "SPEEDBUTTON", "BORDERSMASK", cell, cell, PushLooks(s, s.Radius, true));

    TSectionSpec& small = skin.Section("SPEEDBUTTON_SMALL").Set("PARENTCLASS", "SPEEDBUTTON");
    small.Set("TRANSPARENCY", 0);
    SetFaces(small, s, s.Face, s.FaceHot, 0);
    AddFrame(skin, "SPEEDBUTTON_SMALL", "BORDERSMASK", 3, 3, PushLooks(s, std::min(s.Radius, 2.0f), false));

    TSectionSpec& bar = skin.Section("TOOLBAR");
    SetFaces(bar, s, s.Bar, s.Bar, 0);
    SetFonts(bar, s.BarText, s.BarText);
    SetFonts(skin.Section("TOOLBUTTON").Set("PARENTCLASS", "SPEEDBUTTON"), s.BarText, s.FaceHotText);

    TSectionSpec& header = skin.Section("COLHEADER");
    SetFaces(header, s, s.Bar, s.FaceHot, 0);
    SetFonts(header, s.BarText, s.FaceHotText);
    std::vector<TFrameLook> headers = PushLooks(s, 0, false);
    for (TFrameLook& l : headers) {
        l.OuterAlpha = 0.45f;
        l.Shade = s.BarLine;
        l.ShadeAlpha = 1;
    }
    AddFrame(skin, "COLHEADER", "BORDERSMASK", 4, 4, headers);
}

void AddFieldSections(TSkinModel& skin, const TStyle& s) {
    const float r = std::min(s.Radius, 3.0f);
    TSectionSpec& edit = skin.Section("EDIT");
    edit.Set("COLOR", s.Field).Set("HOTCOLOR", s.Field);
    SetFonts(edit, s.FieldText, s.FieldText);
    TFrameLook normal = Sunken(s, s.FieldBorder, r);
    TFrameLook hot = Sunken(s, s.FieldBorderHot, r);
    if (s.HotRingAlpha > 0) hot.Inner = s.HotRing, hot.InnerAlpha = s.HotRingAlpha * 0.7f;
    AddFrame(skin, "EDIT", "BORDERSMASK", 4, 4, {normal, hot});

    skin.Section("COMBOBOX").Set("PARENTCLASS", "EDIT");
    AddComboGlyph(skin, s);

    TSectionSpec& check = skin.Section("CHECKBOX");
    SetTransparent(check);
    SetFonts(check, s.WindowText, s.WindowText);
    skin.Section("RADIOBUTTON").Set("PARENTCLASS", "CHECKBOX");
    TSectionSpec& web = skin.Section("WEBBUTTON");
    SetTransparent(web);
    SetFonts(web, s.Link, s.LinkHot);

    TSectionSpec& group = skin.Section("GROUPBOX");
    SetTransparent(group);
    SetFonts(group, s.WindowText, s.WindowText);
    AddFrame(skin, "GROUPBOX", "BORDERSMASK", 5, 5,
        {Line(s, s.Dark ? Lighten(s.Window, 0.25f) : Darken(s.Window, 0.25f), 1, r + 1)});

    TSectionSpec& panel = skin.Section("PANEL");
    panel.Set("COLOR", s.Panel).Set("HOTCOLOR", s.Panel);
    SetFonts(panel, s.WindowText, s.WindowText);
    AddFrame(skin, "PANEL", "BORDERSMASK", 3, 3, {Line(s, s.PanelShade, 0.6f, 0)});
    TSectionSpec& low = skin.Section("PANEL_LOW");
    low.Set("COLOR", Mix(s.Panel, s.Field, 0.35f)).Set("HOTCOLOR", Mix(s.Panel, s.Field, 0.35f));
    SetFonts(low, s.WindowText, s.WindowText);
    AddFrame(skin, "PANEL_LOW", "BORDERSMASK", 3, 3, {Sunken(s, s.PanelShade, 0)});

    TSectionSpec& splitter = skin.Section("SPLITTER");
    splitter.Set("COLOR", s.Window).Set("HOTCOLOR", Mix(s.Window, s.Accent.Upper, 0.35f));

    TSectionSpec& status = skin.Section("STATUSBAR");
    SetFaces(status, s, s.Bar, s.Bar, 0);
    SetFonts(status, s.BarText, s.BarText);
    TFrameLook panelLook = Sunken(s, s.BarLine, 0);
    panelLook.OuterAlpha = 0.7f;
    AddFrame(skin, "STATUSBAR", "STATUSPANELMASK", 3, 3, {panelLook});

    TSectionSpec& hint = skin.Section("HINT");
    hint.Set("COLOR", s.Hint).Set("HOTCOLOR", s.Hint);
    SetFonts(hint, s.HintText, s.HintText);
    AddFrame(skin, "HINT", "BORDERSMASK", 4, 4, {Line(s, s.HintBorder, 1, std::min(s.Radius, 4.0f))});
}

void AddProgressSections(TSkinModel& skin, const TStyle& s) {
    const float r = std::min(s.Radius, 3.0f);
    TSectionSpec& gauge = skin.Section("GAUGE");
    gauge.Set("COLOR", s.Track).Set("HOTCOLOR", s.Track);
    SetFonts(gauge, s.FieldText, s.FieldText);
    // The percentage lies on the track and on the bar; where the bar would swallow it, it is outlined.
    double onBar = base::ColourContrast(s.FieldText, s.Accent.Top);
    for (TColor c : {s.Accent.Upper, s.Accent.Lower, s.Accent.Bottom})
        onBar = std::min(onBar, base::ColourContrast(s.FieldText, c));
    if (onBar < base::ReadableColourContrast) {
        const TColor black = 0x000000, white = 0xFFFFFF;
        const TColor outline
            = base::ColourContrast(s.FieldText, black) >= base::ColourContrast(s.FieldText, white) ? black : white;
        for (const char* side : {"TCLEFT", "TCTOP", "TCRIGHT", "TCBOTTOM"}) gauge.Set(side, outline);
    }
    AddFrame(skin, "GAUGE", "BORDERSMASK", 4, 4, {Sunken(s, s.TrackBorder, r)});

    TSectionSpec& bar = skin.Section("PROGRESSH");
    SetFaces(bar, s, s.Accent, s.Accent, 0);
    TFrameLook look = Line(s, s.AccentBorder, 0.9f, r);
    look.LightAlpha = s.Flat ? 0 : 0.45f;
    AddFrame(skin, "PROGRESSH", "BORDERSMASK", 4, 4, {look});
    SetFaces(skin.Section("PROGRESSV").Set("PARENTCLASS", "PROGRESSH"), s, s.Accent, s.Accent, 1);
}

void AddPageSections(TSkinModel& skin, const TStyle& s) {
    TSectionSpec& page = skin.Section("PAGECONTROL");
    page.Set("COLOR", s.Window).Set("HOTCOLOR", s.Window);
    SetFonts(page, s.FaceText, s.FaceHotText);
    AddFrame(skin, "PAGECONTROL", "BORDERSMASK", 4, 4, {Line(s, s.Border, 1, s.Flat ? 0 : 2)});
    for (const char* side : {"PAGECONTROLBOTTOM", "PAGECONTROLLEFT", "PAGECONTROLRIGHT", "TABCONTROL"})
        skin.Section(side).Set("PARENTCLASS", "PAGECONTROL");
    TSectionSpec& sheet = skin.Section("TABSHEET");
    sheet.Set("COLOR", s.Window).Set("HOTCOLOR", s.Window);
    SetFonts(sheet, s.WindowText, s.WindowText);

    // Tabs: normal, hot, active; the side toward the page stays open.
    const float r = s.Flat ? 0 : std::min(s.Radius + 1, 5.0f);
    const std::pair<const char*, unsigned> tabs[]
        = {{"TABTOP", EdgeBottom}, {"TABBOTTOM", EdgeTop}, {"TABLEFT", EdgeRight}, {"TABRIGHT", EdgeLeft}};
    for (const auto& [name, open] : tabs) {
        TSectionSpec& tab = skin.Section(name);
        const int mode = (open == EdgeLeft || open == EdgeRight) ? 1 : 0;
        // A flat style's hot tab is a lighter face: the active tab (page coloured) shares its text colour.
        const TFace hotTab = s.Flat ? TFace {Lighten(s.Face.Top, 0.12f), Lighten(s.Face.Top, 0.12f),
                                 Lighten(s.Face.Top, 0.12f), Lighten(s.Face.Top, 0.12f)}
                                    : s.FaceHot;
        SetFaces(tab, s, s.Face, hotTab, mode);
        SetFonts(tab, s.FaceText, s.Flat ? s.FaceText : s.FaceHotText);
        std::vector<TFrameLook> looks = PushLooks(s, 0, false);
        for (TFrameLook& l : looks) {
            l.Open = open;
            l.Radius = {open == EdgeBottom || open == EdgeRight ? r : 0.0f,
                open == EdgeBottom || open == EdgeLeft ? r : 0.0f, open == EdgeTop || open == EdgeLeft ? r : 0.0f,
                open == EdgeTop || open == EdgeRight ? r : 0.0f};
            if (open != EdgeBottom) l.LightAlpha = 0;
        }
        TFrameLook& active = looks[2];
        active.Fill = s.Window;
        active.FillAlpha = 1;
        active.Outer = s.Border;
        if (open == EdgeBottom) {
            active.Light = s.Accent.Upper;
            active.LightAlpha = 1;
        }
        AddFrame(skin, name, "BORDERSMASK", 5, 5, looks);
    }
}

void AddScrollSections(TSkinModel& skin, const TStyle& s) {
    const float r = s.Flat ? 0 : std::min(s.Radius, 3.0f);
    for (const char* name : {"SCROLLBTNTOP", "SCROLLBTNLEFT"}) {
        TSectionSpec& btn = skin.Section(name);
        SetFaces(btn, s, s.Thumb, s.ThumbHot, std::string(name) == "SCROLLBTNTOP" ? 1 : 0);
        std::vector<TFrameLook> looks = PushLooks(s, r, false);
        for (TFrameLook& l : looks)
            l.OuterAlpha = 0.8f;
        looks[0].Outer = s.TrackBorder;
        AddFrame(skin, name, "BORDERSMASK", 4, 4, looks);
    }
    skin.Section("SCROLLBTNBOTTOM").Set("PARENTCLASS", "SCROLLBTNTOP");
    skin.Section("SCROLLBTNRIGHT").Set("PARENTCLASS", "SCROLLBTNLEFT");

    const float thumbR = s.Caption == TCaptionShape::Circle ? 7.0f : r;
    TSectionSpec& sliderH = skin.Section("SCROLLSLIDERH");
    SetFaces(sliderH, s, s.Thumb, s.ThumbHot, 0);
    std::vector<TFrameLook> thumbs = PushLooks(s, thumbR, false);
    for (TFrameLook& l : thumbs)
        l.Outer = s.ThumbBorder;
    AddFrame(skin, "SCROLLSLIDERH", "BORDERSMASK", CellFor(thumbR), CellFor(thumbR), thumbs);
    SetFaces(skin.Section("SCROLLSLIDERV").Set("PARENTCLASS", "SCROLLSLIDERH"), s, s.Thumb, s.ThumbHot, 1);

    for (const char* name : {"SCROLLBAR1H", "SCROLLBAR1V"}) {
        const bool vertical = std::string(name) == "SCROLLBAR1V";
        TSectionSpec& track = skin.Section(name);
        const TFace face {Darken(s.Track, 0.06f), s.Track, s.Track, Lighten(s.Track, 0.05f)};
        const TFace hot {
            Darken(s.Track, 0.1f), Mix(s.Track, s.Accent.Upper, 0.1f), Mix(s.Track, s.Accent.Upper, 0.1f), s.Track};
        SetFaces(track, s, face, hot, vertical ? 1 : 0);
        if (!vertical) {
            std::vector<TFrameLook> looks(3, Sunken(s, s.TrackBorder, 0));
            for (TFrameLook& l : looks)
                l.OuterAlpha = 0.5f;
            looks[2].Fill = s.Pressed;
            looks[2].FillAlpha = 0.15f;
            AddFrame(skin, name, "BORDERSMASK", 3, 3, looks);
        } else {
            track.Set("PARENTCLASS", "SCROLLBAR1H");
        }
    }
    skin.Section("SCROLLBAR2H").Set("PARENTCLASS", "SCROLLBAR1H");
    skin.Section("SCROLLBAR2V").Set("PARENTCLASS", "SCROLLBAR1V");
    AddScrollGlyphs(skin, s);
}

}

TSkinModel BuildSkin(const TStyle& s) {
    TSkinModel skin(s.Name);
    TSectionSpec& global = skin.Section("GLOBALINFO");
    global.Set("VERSION", "5.0").Set("AUTHOR", "KORVEX").Set("DESCRIPTION", s.Description);
    global.Set("MASTERBITMAP", MasterFileName);
    global.Set("SHADOW1COLOR", 0).Set("SHADOW1OFFSET", 0).Set("SHADOW1BLUR", -1).Set("SHADOW1TRANSPARENCY", 0);
    global.Set("COLOR", s.Window).Set("HOTCOLOR", s.Field);
    SetFonts(global, s.WindowText, s.WindowText);
    AddGlobalPictures(skin, s);

    AddWindowSections(skin, s);
    AddMenuSections(skin, s);
    AddPushSections(skin, s);
    AddFieldSections(skin, s);
    AddProgressSections(skin, s);
    AddPageSections(skin, s);
    TSectionSpec& track = skin.Section("TRACKBAR");
    SetTransparent(track);
    SetFonts(track, s.WindowText, s.WindowText);
    AddTrackBarPictures(skin, s);
    AddScrollSections(skin, s);
    skin.Pack();
    return skin;
}

std::vector<TStyle> AllStyles() {
    return {MacOSStyle(), LongHornStyle(), NextStyleStyle(), Office2003Style()};
}

}
