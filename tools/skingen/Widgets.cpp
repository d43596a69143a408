// Shared drawing of skin pictures: frames, glyphs and gloss paints.
#include "tools/skingen/Widgets.h"

#include <algorithm>
#include <cmath>

namespace korvex::skingen {

namespace {

TBox ShapeBox(int w, int h, const TFrameLook& look) {
    const float over
        = *std::max_element(look.Radius.begin(), look.Radius.end()) + look.OuterWidth + look.InnerWidth + 3;
    TBox box {0, 0, static_cast<float>(w), static_cast<float>(h)};
    if (look.Open & EdgeTop) box.Y0 -= over;
    if (look.Open & EdgeRight) box.X1 += over;
    if (look.Open & EdgeBottom) box.Y1 += over;
    if (look.Open & EdgeLeft) box.X0 -= over;
    return box;
}

std::array<float, 4> Less(std::array<float, 4> r, float d) {
    for (float& v : r)
        v = std::max(0.0f, v - d);
    return r;
}

float Mid(float a, float b) {
    return (a + b) / 2;
}

}

std::array<float, 4> Round(float r) {
    return {r, r, r, r};
}

std::array<float, 4> RoundTop(float r) {
    return {r, r, 0, 0};
}

TLayer DrawFrame(int w, int h, const TFrameLook& look, int cellHeight) {
    TLayer layer(w, h);
    const TBox box = ShapeBox(w, h, look);
    if (look.BodyAlpha > 0) layer.Fill(TRoundRect(box, look.Radius), TSolid {look.Body, look.BodyAlpha});
    float inset = look.OuterWidth;
    if (look.FillAlpha > 0)
        layer.Fill(TRoundRect(box.Inset(inset), Less(look.Radius, inset)), TSolid {look.Fill, look.FillAlpha});
    if (look.InnerAlpha > 0) {
        layer.Fill(
            Ring(box.Inset(inset), Less(look.Radius, inset), look.InnerWidth), TSolid {look.Inner, look.InnerAlpha});
        inset += look.InnerWidth;
    }
    const TBox full {0, 0, static_cast<float>(w), static_cast<float>(h)};
    if (look.LightAlpha > 0) {
        const TBox top {full.X0, full.Y0, full.X1, static_cast<float>(cellHeight)};
        layer.Fill(
            Clip(Ring(box.Inset(inset), Less(look.Radius, inset), 1), top), TSolid {look.Light, look.LightAlpha});
    }
    if (look.ShadeAlpha > 0) {
        const TBox bottom {full.X0, static_cast<float>(h - cellHeight), full.X1, full.Y1};
        layer.Fill(
            Clip(Ring(box.Inset(inset), Less(look.Radius, inset), 1), bottom), TSolid {look.Shade, look.ShadeAlpha});
    }
    if (look.OuterAlpha > 0) layer.Fill(Ring(box, look.Radius, look.OuterWidth), TSolid {look.Outer, look.OuterAlpha});
    return layer;
}

std::vector<bool> FrameHoles(int w, int h, const TFrameLook& look) {
    return OutsideOf(TRoundRect(ShapeBox(w, h, look), look.Radius), w, h);
}

void AddFrame(TSkinModel& skin, const std::string& section, const std::string& key, int cellW, int cellH,
    const std::vector<TFrameLook>& states, int borderWidth) {
    TImageSpec imageSpec;
    imageSpec.Section = section;
    imageSpec.Key = key;
    imageSpec.BorderWidth = borderWidth;
    for (const TFrameLook& look : states) {
        imageSpec.States.push_back(DrawFrame(3 * cellW, 3 * cellH, look, cellH));
        imageSpec.Holes.push_back(FrameHoles(3 * cellW, 3 * cellH, look));
    }
    skin.AddImage(std::move(imageSpec));
}

void AddPicture(TSkinModel& skin, const std::string& section, const std::string& key, std::vector<TLayer> states) {
    TImageSpec imageSpec;
    imageSpec.Section = section;
    imageSpec.Key = key;
    imageSpec.States = std::move(states);
    skin.AddImage(std::move(imageSpec));
}

TGradientPaint Gloss(float y0, float y1, TColor top, TColor mid, TColor mid2, TColor bottom, float split) {
    TGradientPaint g;
    g.From = y0;
    g.To = y1;
    g.Stops = {{0.0f, top}, {split, mid}, {split + 0.001f, mid2}, {1.0f, bottom}};
    return g;
}

TGradientPaint Vertical(float y0, float y1, TColor top, TColor bottom) {
    TGradientPaint g;
    g.From = y0;
    g.To = y1;
    g.Stops = {{0.0f, top}, {1.0f, bottom}};
    return g;
}

void DrawArrow(TLayer& layer, TBox box, TDirection direction, TColor color, float alpha) {
    const float cx = Mid(box.X0, box.X1), cy = Mid(box.Y0, box.Y1);
    const float s = std::min(box.X1 - box.X0, box.Y1 - box.Y0) / 2;   // half the base
    const float d = s * 0.55f;   // half the height
    TPolygon p;
    switch (direction) {
    case TDirection::Up:
        p.Points = {{cx - s, cy + d}, {cx + s, cy + d}, {cx, cy - d}};
        break;
    case TDirection::Down:
        p.Points = {{cx - s, cy - d}, {cx + s, cy - d}, {cx, cy + d}};
        break;
    case TDirection::Left:
        p.Points = {{cx + d, cy - s}, {cx + d, cy + s}, {cx - d, cy}};
        break;
    case TDirection::Right:
        p.Points = {{cx - d, cy - s}, {cx - d, cy + s}, {cx + d, cy}};
        break;
    }
    layer.Fill(p, TSolid {color, alpha});
}

void DrawChevron(TLayer& layer, TBox box, TDirection direction, TColor color, float width) {
    const float cx = Mid(box.X0, box.X1), cy = Mid(box.Y0, box.Y1);
    const float s = std::min(box.X1 - box.X0, box.Y1 - box.Y0) / 2 - width / 2;
    const float d = s * 0.5f;
    TPolyline p;
    p.Width = width;
    switch (direction) {
    case TDirection::Up:
        p.Points = {{cx - s, cy + d}, {cx, cy - d}, {cx + s, cy + d}};
        break;
    case TDirection::Down:
        p.Points = {{cx - s, cy - d}, {cx, cy + d}, {cx + s, cy - d}};
        break;
    case TDirection::Left:
        p.Points = {{cx + d, cy - s}, {cx - d, cy}, {cx + d, cy + s}};
        break;
    case TDirection::Right:
        p.Points = {{cx - d, cy - s}, {cx + d, cy}, {cx - d, cy + s}};
        break;
    }
    layer.Fill(p, TSolid {color});
}

void DrawCheckMark(TLayer& layer, TBox box, TColor color, float width) {
    const float w = box.X1 - box.X0, h = box.Y1 - box.Y0;
    TPolyline p;
    p.Width = width;
    p.Points = {{box.X0 + w * 0.18f, box.Y0 + h * 0.52f}, {box.X0 + w * 0.42f, box.Y0 + h * 0.76f},
        {box.X0 + w * 0.84f, box.Y0 + h * 0.24f}};
    layer.Fill(p, TSolid {color});
}

void DrawCross(TLayer& layer, TBox box, TColor color, float width) {
    layer.Fill(TCapsule {box.X0, box.Y0, box.X1, box.Y1, width}, TSolid {color});
    layer.Fill(TCapsule {box.X1, box.Y0, box.X0, box.Y1, width}, TSolid {color});
}

void DrawMinimizeBar(TLayer& layer, TBox box, TColor color, float width) {
    const float y = box.Y1 - width / 2;
    layer.Fill(TRoundRect(TBox {box.X0, y - width / 2, box.X1, y + width / 2}, 0), TSolid {color});
}

void DrawMaximizeBox(TLayer& layer, TBox box, TColor color, float width) {
    layer.Fill(Ring(box, Round(0), width), TSolid {color});
    layer.Fill(TRoundRect(TBox {box.X0, box.Y0, box.X1, box.Y0 + width * 1.6f}, 0), TSolid {color});
}

void DrawRestoreBoxes(TLayer& layer, TBox box, TColor color, float width) {
    const float w = (box.X1 - box.X0) * 0.72f, h = (box.Y1 - box.Y0) * 0.72f;
    const TBox back {box.X1 - w, box.Y0, box.X1, box.Y0 + h};
    const TBox front {box.X0, box.Y1 - h, box.X0 + w, box.Y1};
    layer.Fill(Minus(Ring(back, Round(0), width), TRoundRect(front.Inset(-width), 0)), TSolid {color});
    layer.Fill(Ring(front, Round(0), width), TSolid {color});
    layer.Fill(TRoundRect(TBox {front.X0, front.Y0, front.X1, front.Y0 + width * 1.8f}, 0), TSolid {color});
}

void DrawQuestion(TLayer& layer, TBox box, TColor color, float width) {
    const float w = box.X1 - box.X0, h = box.Y1 - box.Y0;
    const float cx = box.X0 + w / 2;
    TPolyline hook;
    hook.Width = width;
    // A hook of straight pieces around an arc, then the stem.
    const float r = std::min(w, h) * 0.3f, cy = box.Y0 + r + width / 2;
    // Unit-circle points from the left side over the top to the lower right (a table, so every build agrees).
    static constexpr float Arc[9][2] = {{-1.00000f, 0.00000f}, {-0.88192f, 0.47140f}, {-0.55557f, 0.83147f},
        {-0.09802f, 0.99518f}, {0.38268f, 0.92388f}, {0.77301f, 0.63439f}, {0.98079f, 0.19509f}, {0.95694f, -0.29028f},
        {0.70711f, -0.70711f}};
    for (const auto& p : Arc)
        hook.Points.push_back({cx + r * p[0], cy - r * p[1]});
    hook.Points.push_back({cx, cy + r * 1.3f});
    hook.Points.push_back({cx, box.Y0 + h * 0.72f});
    layer.Fill(hook, TSolid {color});
    layer.Fill(TEllipse {cx, box.Y1 - width * 0.6f, width * 0.65f, width * 0.65f}, TSolid {color});
}

void DrawGripDots(TLayer& layer, TBox box, TColor dot, TColor light, int count) {
    const float step = (box.X1 - box.X0) / count;
    for (int row = 0; row < count; ++row)
        for (int col = count - 1 - row; col < count; ++col) {
            const float x = box.X0 + col * step, y = box.Y0 + row * step;
            layer.Fill(TRoundRect(TBox {x + 1, y + 1, x + 3, y + 3}, 0), TSolid {light});
            layer.Fill(TRoundRect(TBox {x, y, x + 2, y + 2}, 0), TSolid {dot});
        }
}

void DrawDotRow(TLayer& layer, TBox box, bool vertical, TColor dot, TColor light, int count) {
    const float cx = Mid(box.X0, box.X1), cy = Mid(box.Y0, box.Y1);
    const float step = 3;
    const float start = -(count - 1) * step / 2;
    for (int i = 0; i < count; ++i) {
        const float x = vertical ? cx - 1 : cx + start + i * step - 1;
        const float y = vertical ? cy + start + i * step - 1 : cy - 1;
        layer.Fill(TRoundRect(TBox {x + 1, y + 1, x + 3, y + 3}, 0), TSolid {light, 0.8f});
        layer.Fill(TRoundRect(TBox {x, y, x + 2, y + 2}, 0), TSolid {dot});
    }
}

}
