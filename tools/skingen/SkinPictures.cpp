// The drawn pictures of a skin: boxes, caption buttons, arrows, thumbs, ticks and grips.
#include "tools/skingen/SkinPictures.h"

#include "tools/skingen/Widgets.h"

#include <algorithm>

namespace korvex::skingen {

namespace {

TBox Cell(int w, int h) {
    return {0, 0, static_cast<float>(w), static_cast<float>(h)};
}

// The face paint of a state: the face itself, or its gloss when the style has one.
TGradientPaint FacePaint(const TStyle& s, const TFace& f, float y0, float y1) {
    if (s.Gloss) return Gloss(y0, y1, f.Top, f.Upper, f.Lower, f.Bottom);
    TGradientPaint g = Vertical(y0, y1, f.Top, f.Bottom);
    return g;
}

TFace Darker(TFace f, float by) {
    return {Darken(f.Top, by), Darken(f.Upper, by), Darken(f.Lower, by), Darken(f.Bottom, by)};
}

TFace Solid(TColor c) {
    return {c, c, c, c};
}

// A check, radio or small box: mark 0 none, 1 checked, 2 grayed; state 0 normal, 1 hot, 2 pressed.
TLayer Box(const TStyle& s, int size, bool radio, int mark, int state) {
    TLayer layer(size, size);
    const TBox box {1, 1, size - 1.0f, size - 1.0f};
    const float radius = radio ? (size - 2) / 2.0f : std::min(s.Radius, size / 5.0f);
    const bool accentFill = mark == 1 && (s.Caption == TCaptionShape::Circle || s.Flat);
    TFace face = accentFill ? s.Accent : Solid(state == 1 ? s.CheckBoxHot : s.CheckBox);
    if (!accentFill && s.Gloss)
        face = {Lighten(face.Top, 0.5f), face.Top, Darken(face.Top, 0.04f), Lighten(face.Top, 0.3f)};
    if (state == 2) face = Darker(face, 0.15f);
    layer.Fill(TRoundRect(box, radius), FacePaint(s, face, box.Y0, box.Y1));
    const TColor border = accentFill ? s.AccentBorder : (state == 0 ? s.CheckBorder : s.CheckBorderHot);
    layer.Fill(Ring(box, Round(radius), 1), TSolid {border});
    if (state == 1 && s.HotRingAlpha > 0 && !accentFill)
        layer.Fill(Ring(box.Inset(1), Round(std::max(0.0f, radius - 1)), 1), TSolid {s.HotRing, s.HotRingAlpha});
    const TColor markColor = accentFill ? (s.Flat ? 0x000000 : 0xFFFFFF) : s.Check;
    const float c = size / 2.0f;
    if (mark == 1) {
        if (radio)
            layer.Fill(TEllipse {c, c, size * 0.18f, size * 0.18f}, TSolid {markColor});
        else
            DrawCheckMark(layer, box.Inset(size * 0.1f), markColor, std::max(1.5f, size / 7.0f));
    } else if (mark == 2) {
        if (radio)
            layer.Fill(TEllipse {c, c, size * 0.18f, size * 0.18f}, TSolid {s.Check, 0.45f});
        else
            layer.Fill(TRoundRect(box.Inset(size * 0.25f), 1), TSolid {s.Check, 0.45f});
    }
    return layer;
}

void AddBoxes(TSkinModel& skin, const TStyle& s, const std::string& prefix, int size, bool radio) {
    const char* names[3] = {"CHECKED", "UNCHECKED", "GRAYED"};
    const int marks[3] = {1, 0, 2};
    for (int i = 0; i < 3; ++i) {
        std::vector<TLayer> states;
        for (int state = 0; state < 3; ++state)
            states.push_back(Box(s, size, radio, marks[i], state));
        AddPicture(skin, "GLOBALINFO", prefix + names[i], std::move(states));
    }
}

void DrawGlyph(TLayer& layer, TCaptionKind kind, TBox box, TColor color, float width) {
    switch (kind) {
    case TCaptionKind::Close:
        DrawCross(layer, box.Inset(width / 2), color, width);
        break;
    case TCaptionKind::Maximize:
        DrawMaximizeBox(layer, box, color, width * 0.8f);
        break;
    case TCaptionKind::Minimize:
        DrawMinimizeBar(layer, box, color, width);
        break;
    case TCaptionKind::Restore:
        DrawRestoreBoxes(layer, box, color, width * 0.8f);
        break;
    case TCaptionKind::Help:
        DrawQuestion(layer, box, color, width);
        break;
    case TCaptionKind::Plain:
        break;
    }
}

TColor BallColor(const TStyle& s, TCaptionKind kind) {
    switch (kind) {
    case TCaptionKind::Close:
        return s.Close;
    case TCaptionKind::Minimize:
        return s.Minimize;
    case TCaptionKind::Maximize:
    case TCaptionKind::Restore:
        return s.Maximize;
    default:
        return s.CaptionPlate;
    }
}

}

TLayer CaptionButton(const TStyle& s, TCaptionKind kind, int state, int w, int h) {
    TLayer layer(w, h);
    const float glyphSize = std::max(5.0f, h * (s.Caption == TCaptionShape::Circle ? 0.42f : 0.5f));
    const TBox glyph {(w - glyphSize) / 2, (h - glyphSize) / 2, (w + glyphSize) / 2, (h + glyphSize) / 2};
    const bool close = kind == TCaptionKind::Close;
    switch (s.Caption) {
    case TCaptionShape::Circle: {
        const float d = std::min(w, h) - 3.0f, cx = w / 2.0f, cy = h / 2.0f;
        TColor c = BallColor(s, kind);
        if (state == 2) c = Darken(c, 0.22f);
        layer.Fill(TEllipse {cx, cy, d / 2, d / 2}, Vertical(cy - d / 2, cy + d / 2, Lighten(c, 0.25f), c));
        layer.Fill(
            Minus(TEllipse {cx, cy, d / 2, d / 2}, TEllipse {cx, cy, d / 2 - 1, d / 2 - 1}), TSolid {Darken(c, 0.3f)});
        layer.Fill(TEllipse {cx, cy - d * 0.22f, d * 0.3f, d * 0.18f}, TSolid {0xFFFFFF, 0.55f});
        if (state != 0) DrawGlyph(layer, kind, glyph.Inset(glyphSize * 0.12f), Darken(c, 0.6f), 1.4f);
        break;
    }
    case TCaptionShape::Glass: {
        const TBox plate {1, 1, w - 1.0f, h - 1.0f};
        TColor c = close ? (state == 0 ? s.Close : s.CloseHot) : (state == 0 ? s.CaptionPlate : s.CaptionPlateHot);
        if (state == 2) c = Darken(c, 0.3f);
        layer.Fill(
            TRoundRect(plate, 3), Gloss(plate.Y0, plate.Y1, Lighten(c, 0.35f), Lighten(c, 0.12f), c, Lighten(c, 0.2f)));
        layer.Fill(Ring(plate, Round(3), 1), TSolid {Darken(c, 0.55f)});
        layer.Fill(Clip(Ring(plate.Inset(1), Round(2), 1), TBox {0, 0, static_cast<float>(w), h / 2.0f}),
            TSolid {0xFFFFFF, 0.35f});
        TLayer shadow(w, h);
        DrawGlyph(shadow, kind, TBox {glyph.X0 + 1, glyph.Y0 + 1, glyph.X1 + 1, glyph.Y1 + 1}, 0x000000, 2.0f);
        layer.Over(shadow);
        DrawGlyph(layer, kind, glyph, state == 0 ? s.CaptionGlyph : s.CaptionGlyphHot, 2.0f);
        break;
    }
    case TCaptionShape::Square: {
        const TBox plate {1, 2, w - 2.0f, h - 1.0f};
        TColor glyphColor = s.CaptionGlyph;
        if (state == 0) {
            layer.Fill(Ring(plate, Round(0), 1), TSolid {s.CaptionGlyph, 0.8f});
        } else {
            const TColor fill = state == 2 ? s.CaptionPlatePressed : (close ? s.CloseHot : s.CaptionPlateHot);
            layer.Fill(TRoundRect(plate, 0), TSolid {fill});
            glyphColor = close && state == 1 ? 0xFFFFFF : s.CaptionGlyphHot;
        }
        DrawGlyph(layer, kind, glyph.Inset(1), glyphColor, 1.6f);
        break;
    }
    case TCaptionShape::Rounded: {
        const TBox plate {1, 1, w - 1.0f, h - 1.0f};
        const bool showPlate = close || state != 0;
        if (showPlate) {
            TColor c = close ? (state == 0 ? s.Close : s.CloseHot) : (state == 1 ? s.CaptionPlateHot : s.CaptionPlate);
            if (state == 2) c = Darken(c, 0.25f);
            layer.Fill(TRoundRect(plate, 3), Vertical(plate.Y0, plate.Y1, Lighten(c, 0.3f), c));
            layer.Fill(Ring(plate, Round(3), 1), TSolid {0xFFFFFF, 0.85f});
        }
        DrawGlyph(layer, kind, glyph, state == 0 ? s.CaptionGlyph : s.CaptionGlyphHot, 1.9f);
        break;
    }
    }
    return layer;
}

void AddGlobalPictures(TSkinModel& skin, const TStyle& s) {
    AddBoxes(skin, s, "BOX", 15, false);
    AddBoxes(skin, s, "RADIO", 15, true);
    AddBoxes(skin, s, "SMALL", 11, false);

    // The menu check: normal and selected.
    std::vector<TLayer> check;
    for (TColor c : {s.MenuText, s.MenuHotText}) {
        TLayer l(15, 15);
        DrawCheckMark(l, TBox {2, 2, 13, 13}, c, 1.8f);
        check.push_back(std::move(l));
    }
    AddPicture(skin, "GLOBALINFO", "CHECK", std::move(check));

    // Caption buttons, large and small, and the plain title button.
    const int bw = s.Caption == TCaptionShape::Circle ? 20 : s.Caption == TCaptionShape::Glass ? 27 : 21;
    const int bh = 17, sw = bw - 4, sh = 14;
    const std::pair<const char*, TCaptionKind> big[] = {{"BICONCLOSE", TCaptionKind::Close},
        {"BICONMAX", TCaptionKind::Maximize}, {"BICONMIN", TCaptionKind::Minimize},
        {"BICONNORM", TCaptionKind::Restore}, {"BICONHELP", TCaptionKind::Help}, {"TITLEBUTTON", TCaptionKind::Plain}};
    for (const auto& [name, kind] : big) {
        std::vector<TLayer> states;
        for (int state = 0; state < 3; ++state)
            states.push_back(CaptionButton(s, kind, state, bw, bh));
        AddPicture(skin, "GLOBALINFO", name, std::move(states));
    }
    const std::pair<const char*, TCaptionKind> small[]
        = {{"SICONCLOSE", TCaptionKind::Close}, {"SICONMAX", TCaptionKind::Maximize},
            {"SICONMIN", TCaptionKind::Minimize}, {"SICONNORM", TCaptionKind::Restore}};
    for (const auto& [name, kind] : small) {
        std::vector<TLayer> states;
        for (int state = 0; state < 3; ++state)
            states.push_back(CaptionButton(s, kind, state, sw, sh));
        AddPicture(skin, "GLOBALINFO", name, std::move(states));
    }

    TLayer grip(12, 12);
    DrawGripDots(grip, TBox {0, 0, 12, 12}, s.Dark ? Lighten(s.Window, 0.35f) : Darken(s.Window, 0.4f),
        s.Dark ? Darken(s.Window, 0.5f) : 0xFFFFFF, 4);
    AddPicture(skin, "GLOBALINFO", "GRIPIMAGE", {std::move(grip)});
}

void AddScrollGlyphs(TSkinModel& skin, const TStyle& s) {
    const std::pair<const char*, TDirection> arrows[]
        = {{"SCROLLBTNTOP", TDirection::Up}, {"SCROLLBTNBOTTOM", TDirection::Down}, {"SCROLLBTNLEFT", TDirection::Left},
            {"SCROLLBTNRIGHT", TDirection::Right}};
    for (const auto& [section, direction] : arrows) {
        std::vector<TLayer> states;
        for (TColor c : {s.Arrow, s.ArrowHot, s.ArrowHot}) {
            TLayer l(9, 9);
            if (s.Flat)
                DrawChevron(l, Cell(9, 9).Inset(1), direction, c, 1.6f);
            else
                DrawArrow(l, Cell(9, 9).Inset(1.5f), direction, c);
            states.push_back(std::move(l));
        }
        AddPicture(skin, section, "GLYPHMASK", std::move(states));
    }
    for (bool vertical : {false, true}) {
        std::vector<TLayer> states;
        for (TColor c :
            {Darken(s.Thumb.Bottom, 0.35f), Darken(s.ThumbHot.Bottom, 0.35f), Darken(s.ThumbHot.Bottom, 0.45f)}) {
            TLayer l(9, 9);
            for (int i = -1; i <= 1; ++i) {
                const float p = 4.5f + i * 2.5f;
                const TBox line
                    = vertical ? TBox {1.5f, p - 0.5f, 7.5f, p + 0.5f} : TBox {p - 0.5f, 1.5f, p + 0.5f, 7.5f};
                const TBox lit
                    = vertical ? TBox {1.5f, p + 0.5f, 7.5f, p + 1.5f} : TBox {p + 0.5f, 1.5f, p + 1.5f, 7.5f};
                l.Fill(TRoundRect(lit, 0), TSolid {0xFFFFFF, s.Dark ? 0.15f : 0.6f});
                l.Fill(TRoundRect(line, 0), TSolid {c, 0.9f});
            }
            states.push_back(std::move(l));
        }
        AddPicture(skin, vertical ? "SCROLLSLIDERV" : "SCROLLSLIDERH", "GLYPHMASK", std::move(states));
    }
}

void AddTrackBarPictures(TSkinModel& skin, const TStyle& s) {
    // The channel: normal and hot, a rounded groove two cells thick.
    std::vector<TFrameLook> channel(2);
    for (int i = 0; i < 2; ++i) {
        TFrameLook& l = channel[static_cast<std::size_t>(i)];
        l.Radius = Round(s.Flat ? 0 : 2.5f);
        l.Outer = i == 0 ? s.TrackBorder : s.AccentBorder;
        l.Body = i == 0 ? s.Track : Mix(s.Track, s.Accent.Upper, 0.35f);
        l.BodyAlpha = 1;
    }
    AddFrame(skin, "TRACKBAR", "SLIDERCHANNEL", 2, 2, channel);

    for (bool vertical : {false, true}) {
        const int w = vertical ? 21 : 11, h = vertical ? 11 : 21;
        std::vector<TLayer> states;
        for (int state = 0; state < 3; ++state) {
            TLayer l(w, h);
            TPolygon shape;
            if (vertical)
                shape.Points = {{1, 1}, {14, 1}, {20, 5.5f}, {14, 10}, {1, 10}};
            else
                shape.Points = {{1, 1}, {10, 1}, {10, 14}, {5.5f, 20}, {1, 14}};
            TFace face = state == 0 ? s.Thumb : s.ThumbHot;
            if (state == 2) face = Darker(face, 0.15f);
            if (vertical)
                l.Fill(shape, Gloss(1, 10, face.Top, face.Upper, face.Lower, face.Bottom));
            else
                l.Fill(shape, FacePaint(s, face, 1, 20));
            TPolygon inner = shape;
            for (auto& p : inner.Points) {
                p[0] += p[0] < w / 2.0f ? 1 : -1;
                p[1] += p[1] < h / 2.0f ? 1 : -1;
            }
            l.Fill(Minus(shape, inner), TSolid {state == 0 ? s.ThumbBorder : s.AccentBorder});
            states.push_back(std::move(l));
        }
        AddPicture(skin, "TRACKBAR", vertical ? "SLIDERVMASK" : "SLIDERMASK", std::move(states));
    }

    for (bool vertical : {false, true}) {
        std::vector<TLayer> states;
        for (TColor c : {s.Tick, s.Accent.Lower, s.Accent.Lower}) {
            TLayer l(vertical ? 5 : 3, vertical ? 3 : 5);
            l.Fill(TRoundRect(vertical ? TBox {0, 1, 5, 2} : TBox {1, 0, 2, 5}, 0), TSolid {c});
            states.push_back(std::move(l));
        }
        AddPicture(skin, "TRACKBAR", vertical ? "TICKVERT" : "TICKHORZ", std::move(states));
    }
}

void AddComboGlyph(TSkinModel& skin, const TStyle& s) {
    std::vector<TLayer> states;
    for (int state = 0; state < 3; ++state) {
        TLayer l(17, 19);
        const TBox plate {1, 2, 16, 17};
        if (!s.Flat && (state != 0 || s.Caption == TCaptionShape::Circle)) {
            TFace face = state == 0 ? s.Accent : s.FaceHot;
            if (s.Caption != TCaptionShape::Circle && state != 0) face = s.FaceHot;
            if (state == 2) face = Darker(face, 0.15f);
            l.Fill(TRoundRect(plate, std::min(s.Radius, 4.0f)), FacePaint(s, face, plate.Y0, plate.Y1));
            l.Fill(Ring(plate, Round(std::min(s.Radius, 4.0f)), 1), TSolid {state == 0 ? s.AccentBorder : s.BorderHot});
        } else if (s.Flat && state != 0) {
            l.Fill(TRoundRect(plate, 0), TSolid {state == 2 ? s.CaptionPlatePressed : s.CaptionPlateHot});
        }
        const bool onAccent = s.Caption == TCaptionShape::Circle;
        TColor arrow = onAccent ? 0xFFFFFF : (state == 0 ? s.Arrow : s.ArrowHot);
        if (s.Flat && state != 0) arrow = 0x000000;
        DrawChevron(l, TBox {4.5f, 6.5f, 12.5f, 12.5f}, TDirection::Down, arrow, 1.7f);
        states.push_back(std::move(l));
    }
    AddPicture(skin, "COMBOBOX", "GLYPHMASK", std::move(states));
}

}
