// Text output: extents and metrics, blending glyph coverage, TextOut and ExtTextOut.
#include "platform/gdi/Text.h"

#include "platform/gdi/Recording.h"
#include "platform/gdi/TextRender.h"
#include "platform/gdi/VisualOrder.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace korvex::gdi {

std::shared_ptr<const FontInstance> FontOfDc(HDC dc) {
    if (!IsValidDC(dc)) return nullptr;
    const Font* font = dc->State().Font;
    if (!IsValidObject(font)) return nullptr;
    return font->Instance();
}

POINT TurnByEscapement(const FontInstance& font, int x, int y) {
    if (font.Escapement() == 0) return POINT {x, y};
    const double a = font.Escapement() / 10.0 * std::numbers::pi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    return POINT {LONG(std::lround(x * c + y * s)), LONG(std::lround(-x * s + y * c))};
}

namespace {

// The target limited to an extra rectangle; `storage` keeps the combined clip alive.
RasterTarget Limited(const RasterTarget& target, const RECT* clip, BandedRegion& storage) {
    if (!clip || !target) return target;
    storage = target.Clip->Intersect(*clip);
    RasterTarget limited = target;
    limited.Clip = &storage;
    return limited;
}

constexpr int RunTileWidth = 1024;   // pixels of coverage rendered at once: 256 KB at most
constexpr int RunTileHeight = 256;

inline BYTE Blend(BYTE text, BYTE dest, int coverage) {
    return BYTE((text * coverage + dest * (255 - coverage) + 127) / 255);
}

}

void PaintRun(const RasterTarget& target, const FontInstance& font, POINT origin, std::string_view text,
    std::span<const int> dx, COLORREF color, const RECT* clip) {
    if (!target || text.empty()) return;
    BandedRegion storage;
    const RasterTarget t = Limited(target, clip, storage);
    if (!t) return;
    Bitmap& surface = *t.Surface;
    const int step = surface.BytesPerPixel();
    const BYTE cb = GetBValue(color);
    const BYTE cg = GetGValue(color);
    const BYTE cr = GetRValue(color);
    // Only the clip is rendered, a tile at a time: a run of any length costs one tile of coverage.
    const RECT box = t.Clip->Box();
    for (int top = box.top; top < box.bottom; top += RunTileHeight)
        for (int left = box.left; left < box.right; left += RunTileWidth) {
            const RECT tile {left, top, std::min(left + RunTileWidth, int(box.right)),
                std::min(top + RunTileHeight, int(box.bottom))};
            const RunMask mask = font.RenderRun(text, dx,
                RECT {tile.left - origin.x, tile.top - origin.y, tile.right - origin.x, tile.bottom - origin.y});
            if (mask.Empty()) continue;
            const RECT at {origin.x + mask.Left, origin.y + mask.Top, origin.x + mask.Left + mask.Width,
                origin.y + mask.Top + mask.Height};
            const BandedRegion visible = t.Clip->Intersect(at);
            for (const RECT& r : visible.Rects())
                for (int y = r.top; y < r.bottom; ++y) {
                    const BYTE* cov = mask.Coverage.data() + size_t(y - at.top) * size_t(mask.Width);
                    BYTE* p = surface.ScanLine(y) + size_t(r.left) * step;
                    for (int x = r.left; x < r.right; ++x, p += step) {
                        const int a = cov[x - at.left];
                        if (a == 0) continue;
                        p[0] = Blend(cb, p[0], a);
                        p[1] = Blend(cg, p[1], a);
                        p[2] = Blend(cr, p[2], a);
                    }
                }
        }
}

void FillCell(const RasterTarget& target, const FontInstance& font, POINT corner, int width, int height, COLORREF color,
    const RECT* clip) {
    if (!target || width <= 0 || height <= 0) return;
    BandedRegion storage;
    const RasterTarget t = Limited(target, clip, storage);
    if (font.Escapement() == 0) {
        FillRectRaster(t, RECT {corner.x, corner.y, corner.x + width, corner.y + height}, color);
        return;
    }
    // A turned rectangle: scan its four edges (half-open rows, [ceil(xa), ceil(xb)) spans).
    POINT p[4] = {corner, {}, {}, {}};
    const POINT a = TurnByEscapement(font, width, 0);
    const POINT b = TurnByEscapement(font, width, height);
    const POINT c = TurnByEscapement(font, 0, height);
    p[1] = POINT {corner.x + a.x, corner.y + a.y};
    p[2] = POINT {corner.x + b.x, corner.y + b.y};
    p[3] = POINT {corner.x + c.x, corner.y + c.y};
    int top = p[0].y;
    int bottom = p[0].y;
    for (const POINT& q : p) {
        top = std::min(top, int(q.y));
        bottom = std::max(bottom, int(q.y));
    }
    for (int y = top; y < bottom; ++y) {
        double lo = 1e18;
        double hi = -1e18;
        for (int e = 0; e < 4; ++e) {
            const POINT& u = p[e];
            const POINT& v = p[(e + 1) % 4];
            if (u.y == v.y) continue;
            const POINT& l = u.y < v.y ? u : v;
            const POINT& h = u.y < v.y ? v : u;
            if (y < l.y || y >= h.y) continue;
            const double x = l.x + double(y - l.y) * (h.x - l.x) / double(h.y - l.y);
            lo = std::min(lo, x);
            hi = std::max(hi, x);
        }
        if (lo < hi) FillSpan(t, y, int(std::ceil(lo)), int(std::ceil(hi)), color);
    }
}

bool GetTextExtentPoint32(HDC dc, std::string_view text, SIZE* size) {
    if (!size) return false;
    const auto font = FontOfDc(dc);
    if (!font) {
        *size = SIZE {};
        return false;
    }
    *size = SIZE {ClampCoord(font->RunLength(text)), font->TextMetrics().tmHeight};
    return true;
}

bool GetTextExtentPoint32(HDC dc, const char* text, int byteCount, SIZE* size) {
    if ((!text && byteCount > 0) || byteCount < 0) return false;
    return GetTextExtentPoint32(dc, std::string_view(text ? text : "", size_t(byteCount)), size);
}

bool GetTextMetrics(HDC dc, TEXTMETRIC* metrics) {
    const auto font = FontOfDc(dc);
    if (!font || !metrics) return false;
    *metrics = font->TextMetrics();
    return true;
}

namespace {

bool TextOutWith(DrawKind kind, HDC dc, int x, int y, UINT options, const RECT* rect, std::string_view text,
    const int* dx, int dxCount) {
    if (!IsValidDC(dc) || ((options & (ETO_OPAQUE | ETO_CLIPPED)) && !rect)) return false;
    DrawCall call = MakeCall(kind, rect ? *rect : RECT {x, y, x, y}, {POINT {x, y}});
    call.Flags = options;
    if (dc->Recorder()) call.Text = std::string(text);
    if (!RecordCall(dc, std::move(call))) return true;
    const auto font = FontOfDc(dc);
    const RasterTarget target = TargetOf(dc);
    const DcState& state = dc->State();
    RECT clip {};
    if (rect) {
        clip = dc->ToSurface(RECT {std::min(rect->left, rect->right), std::min(rect->top, rect->bottom),
            std::max(rect->left, rect->right), std::max(rect->top, rect->bottom)});
        if (options & ETO_OPAQUE) FillRectRaster(target, clip, state.BkColor);
    }
    if (!font) return options & ETO_OPAQUE;
    if (text.empty()) return true;

    const std::span<const int> advances(dx, dx && dxCount > 0 ? size_t(dxCount) : 0);
    const int width = ClampCoord(font->RunLength(text, advances));
    const TEXTMETRIC& tm = font->TextMetrics();

    const UINT align = state.TextAlign;
    POINT ref {x, y};
    if (align & TA_UPDATECP) ref = state.CurrentPos;
    int ox = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        ox = -width / 2;
    else if (align & TA_RIGHT)
        ox = -width;
    int oy = tm.tmAscent;
    if ((align & TA_BASELINE) == TA_BASELINE)
        oy = 0;
    else if (align & TA_BOTTOM)
        oy = -tm.tmDescent;
    const POINT shift = TurnByEscapement(*font, ox, oy);
    const POINT origin = dc->ToSurface(ClampCoord(int64_t(ref.x) + shift.x), ClampCoord(int64_t(ref.y) + shift.y));
    const RECT* textClip = (options & ETO_CLIPPED) ? &clip : nullptr;
    if (state.BkMode == OPAQUE) {
        const POINT up = TurnByEscapement(*font, 0, -tm.tmAscent);
        FillCell(target, *font, POINT {origin.x + up.x, origin.y + up.y}, width, tm.tmHeight, state.BkColor, textClip);
    }
    if (NeedsVisualOrder(text, false)) {
        // Glyphs go in visual order; given spacings follow their characters.
        std::vector<int> logicalOf;
        const std::string visual = VisualOrder(text, false, &logicalOf);
        std::vector<int> visualDx;
        if (!advances.empty()) {
            const std::vector<RunCharacter> logical = font->Characters(text);
            visualDx.reserve(logicalOf.size());
            for (int from : logicalOf)
                visualDx.push_back(size_t(from) < advances.size() ? advances[size_t(from)]
                        : size_t(from) < logical.size()            ? logical[size_t(from)].Advance
                                                                   : 0);
        }
        PaintRun(target, *font, origin, visual, visualDx, state.TextColor, textClip);
    } else {
        PaintRun(target, *font, origin, text, advances, state.TextColor, textClip);
    }
    if (align & TA_UPDATECP) {
        // The position moves past the text when it is left aligned, to its start when right aligned.
        const POINT advance = TurnByEscapement(*font,
            (align & TA_CENTER) == TA_CENTER ? 0
                : (align & TA_RIGHT)         ? -width
                                             : width,
            0);
        dc->MutableState().CurrentPos
            = POINT {ClampCoord(int64_t(ref.x) + advance.x), ClampCoord(int64_t(ref.y) + advance.y)};
    }
    return true;
}

}

bool TextOut(HDC dc, int x, int y, std::string_view text) {
    return TextOutWith(DrawKind::TextOut, dc, x, y, 0, nullptr, text, nullptr, 0);
}

bool ExtTextOut(
    HDC dc, int x, int y, UINT options, const RECT* rect, std::string_view text, const int* dx, int dxCount) {
    return TextOutWith(DrawKind::ExtTextOut, dc, x, y, options, rect, text, dx, dxCount);
}

}
