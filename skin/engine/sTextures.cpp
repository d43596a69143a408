// Skin textures: pictures and master-bitmap tiles tiled, stretched or laid along an edge, masked textures.
#include "skin/engine/sTextures.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TJPEGImage.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sNinePart.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sPixelRows.h"
#include "skin/engine/sSkinData.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

namespace korvex::skin {

namespace {

// The span of pieces from start in steps while below bound, then one piece cut at end.
detail::TileSpan Span(int start, int bound, int end) {
    return detail::TileSpan {start, bound, end};
}

// No closing piece.
detail::TileSpan WholeOnly(int start, int bound) {
    return detail::TileSpan {start, bound, INT_MIN};
}

// The first position start + k * step (k >= 0) that is not below bound.
int StopOf(int start, int bound, int step) {
    if (start >= bound) return start;
    const std::int64_t k = (std::int64_t(bound) - start + step - 1) / step;
    return int(std::int64_t(start) + k * step);
}

// The part of the canvas drawing can reach, in logical coordinates, and whether it is one rectangle.
struct Reach {
    classes::TRect Box {};
    bool Simple = false;
};

Reach ReachOf(gdi::HDC dc) {
    Reach reach;
    const int kind = gdi::GetClipBox(dc, &reach.Box);
    if (kind == gdi::ERROR) return Reach {};
    reach.Simple = kind == gdi::SIMPLEREGION;
    return reach;
}

// Where the last piece of a span ends.
int SpanEnd(const detail::TileSpan& span, int step) {
    const int stop = StopOf(span.Start, span.Bound, step);
    return span.End > stop ? span.End : stop;
}

// Repeats the band of rows [band, band + h) of the DC's surface down over [from, to) (logical rows) with a
// few large copies, each twice as long as the last, when the rows are whole surface rows lying back to back
// in memory and the clip is the whole surface width. False when that does not hold.
bool RepeatBand(gdi::HDC dc, const Reach& reach, int left, int right, int band, int h, int from, int to) {
    if (!gdi::IsValidDC(dc) || dc->Recorder() || !reach.Simple) return false;
    gdi::Bitmap* surface = dc->Surface();
    if (!surface) return false;
    const gdi::POINT offset = dc->SurfaceOffset();
    const std::size_t rowBytes = std::size_t(surface->Width()) * std::size_t(surface->BytesPerPixel());
    if (std::size_t(surface->BytesPerScanLine()) != rowBytes) return false;
    if (left != reach.Box.left || right != reach.Box.right || left + offset.x != 0
        || right + offset.x != surface->Width())
        return false;
    const int top = band + offset.y, first = from + offset.y, last = std::min(to, reach.Box.bottom) + offset.y;
    if (top < 0 || first != top + h || last > surface->Height()) return false;
    gdi::BYTE* bits = surface->Bits();
    for (int y = first; y < last;) {
        const int rows = std::min(y - top, last - y);   // a whole number of bands: the phase is kept
        std::memcpy(bits + std::size_t(y) * rowBytes, bits + std::size_t(top) * rowBytes, std::size_t(rows) * rowBytes);
        y += rows;
    }
    return true;
}

// Calls tile(x, y, w, h) for each tile of a grid of column and row spans, skipping those outside the
// reach. Once a whole row of tiles lies inside a one-rectangle clip, the later rows are copies of it: the
// same pixels, with one copy a row (or a few for the whole bitmap) instead of one a tile.
template <class Tile>
void Grid(gdi::HDC dc, const detail::TileSpan& cols, const detail::TileSpan& rows, int w, int h, const Reach& reach,
    Tile&& tile) {
    const int left = std::max(cols.Start, reach.Box.left);
    const int right = std::min(SpanEnd(cols, w), reach.Box.right);
    std::int64_t band = INT64_MIN;
    bool repeated = false;
    detail::ForEachTile(rows, h, reach.Box.top, reach.Box.bottom, [&](int y, int ch) {
        if (repeated) return;
        if (band != INT64_MIN) {
            if (y == band + h && RepeatBand(dc, reach, left, right, int(band), h, y, SpanEnd(rows, h))) {
                repeated = true;
                return;
            }
            if (right > left) gdi::BitBlt(dc, left, y, right - left, ch, dc, left, int(band), gdi::SRCCOPY);
            return;
        }
        detail::ForEachTile(cols, w, reach.Box.left, reach.Box.right, [&](int x, int cw) { tile(x, y, cw, ch); });
        if (dc && reach.Simple && ch == h && y >= reach.Box.top && std::int64_t(y) + h <= reach.Box.bottom) band = y;
    });
}

void FillSolid(classes::TBitmap* bmp, const classes::TRect& r, classes::TColor color) {
    const detail::PixelView view = detail::View24(bmp);
    if (!view) return;
    const int left = std::max(r.left, 0), top = std::max(r.top, 0);
    const int right = std::min(r.right, view.Width), bottom = std::min(r.bottom, view.Height);
    const detail::Bgr c = detail::Bgr::Of(std::uint32_t(classes::ColorToRGB(color)));
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            c.Store(view.At24(x, y));
}

}

// ---------------------------------------------------------------------------------------------------------
// Pictures

void TileGraphic(classes::TCanvas* canvas, const classes::TRect& r, classes::TGraphic* picture) {
    if (!canvas || !picture || picture->Empty()) return;
    const int w = picture->Width(), h = picture->Height();
    if (w <= 0 || h <= 0) return;
    gdi::HDC dc = canvas->Handle();
    if (!dc) return;
    const Reach reach = ReachOf(dc);
    if (auto* bitmap = dynamic_cast<classes::TBitmap*>(picture)) {
        gdi::HDC src = bitmap->Canvas()->Handle();
        Grid(dc, Span(r.left, r.right - w, r.right), Span(r.top, r.bottom - h, r.bottom), w, h, reach,
            [&](int x, int y, int cw, int ch) { gdi::BitBlt(dc, x, y, cw, ch, src, 0, 0, gdi::SRCCOPY); });
        return;
    }
    if (dynamic_cast<classes::TJPEGImage*>(picture)) {
        const std::int64_t cols = (std::int64_t(r.right) - r.left) / w + 1;
        const std::int64_t rows = (std::int64_t(r.bottom) - r.top) / h + 1;
        if (cols <= 0 || rows <= 0) return;
        const auto end = [](int start, std::int64_t count, int step) {
            return int(std::min<std::int64_t>(std::int64_t(start) + count * step, INT_MAX / 2));
        };
        // Whole tiles: each piece is a full tile even where it reaches past R.
        Grid(nullptr, WholeOnly(r.left, end(r.left, cols, w)), WholeOnly(r.top, end(r.top, rows, h)), w, h, reach,
            [&](int x, int y, int, int) { canvas->Draw(x, y, picture); });
    }
}

void PaintTexture(
    classes::TCanvas* canvas, classes::TRect& r, classes::TGraphic* picture, const TsMaskData& mask, int mode) {
    if (picture && !picture->Empty()) {
        TileGraphic(canvas, r, picture);
        r = NothingLeft;
        return;
    }
    if (!HasSaneGeometry(mask)) return;   // refused at load; painted as nothing
    classes::TBitmap* master = detail::MasterOf(mask);
    const int w = mask.R.right - mask.R.left, h = mask.R.bottom - mask.R.top;
    if (!canvas || !master || master->Empty() || w <= 0 || h <= 0) return;
    gdi::HDC dc = canvas->Handle();
    gdi::HDC src = master->Canvas()->Handle();
    if (!dc || !src) return;
    const Reach reach = ReachOf(dc);
    const int sx = mask.R.left, sy = mask.R.top;
    auto blit = [&](int x, int y, int cw, int ch) { gdi::BitBlt(dc, x, y, cw, ch, src, sx, sy, gdi::SRCCOPY); };
    auto stretch = [&](int x, int y, int cw, int ch) {
        if (cw > 0 && ch > 0) gdi::StretchBlt(dc, x, y, cw, ch, src, sx, sy, w, h, gdi::SRCCOPY);
    };
    const auto cols = Span(r.left, r.right - w, r.right);
    const auto rows = Span(r.top, r.bottom - h, r.bottom);
    switch (mode) {
    case 0:
        Grid(dc, cols, rows, w, h, reach, blit);
        r = NothingLeft;
        break;
    case 1:
        stretch(r.left, r.top, r.right - r.left, r.bottom - r.top);
        r = NothingLeft;
        break;
    case 2:
        detail::ForEachTile(cols, w, reach.Box.left, reach.Box.right, [&](int x, int cw) { blit(x, r.top, cw, h); });
        r.top += h;
        break;
    case 3:
        detail::ForEachTile(rows, h, reach.Box.top, reach.Box.bottom, [&](int y, int ch) { blit(r.left, y, w, ch); });
        r.left += w;
        break;
    case 4:
        stretch(r.left, r.top, r.right - r.left, h);
        r.top += h;
        break;
    case 5:
        stretch(r.left, r.top, w, r.bottom - r.top);
        r.left += w;
        break;
    case 6:
        detail::ForEachTile(
            cols, w, reach.Box.left, reach.Box.right, [&](int x, int cw) { blit(x, r.bottom - h, cw, h); });
        r.bottom -= h;
        break;
    case 7:
        detail::ForEachTile(
            rows, h, reach.Box.top, reach.Box.bottom, [&](int y, int ch) { blit(r.right - w, y, w, ch); });
        r.right -= w;
        break;
    case 10:
        Grid(dc, cols, WholeOnly(r.top, r.bottom - h), w, h, reach, blit);
        r = NothingLeft;
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Masked textures

void PaintMaskedTexture(
    classes::TBitmap* bmp, classes::TRect& r, const TsParentCacheInfo& cacheInfo, const TsMaskData& mask, int mode) {
    if ((mode != 0 && mode != 10) || !HasSaneGeometry(mask)) return;
    const detail::PixelView view = detail::View24(bmp);
    if (!view) return;
    const bool own = mask.Bmp != nullptr;
    if (!own && !detail::View24(detail::MasterOf(mask))) return;
    const int imageCount = detail::ImageCountOf(mask);
    const int w = (own ? mask.Bmp->Width() : mask.R.right - mask.R.left) / imageCount;
    const int h = (own ? mask.Bmp->Height() : mask.R.bottom - mask.R.top) / 2;
    if (w <= 0 || h <= 0) return;
    const classes::TRect src = own ? classes::TRect {0, 0, w, h} : classes::Bounds(mask.R.left, mask.R.top, w, h);
    auto tile = [&](int x, int y, int, int) {
        const classes::TRect dst {x, y, x + w, y + h};
        if (own)
            BlendMaskedPieceOwnBitmap(dst, src, bmp, cacheInfo, mask.Bmp.get());
        else
            BlendMaskedPiece(dst, src, bmp, mask, cacheInfo);
    };
    const Reach reach {view.Bounds(), false};   // masked tiles blend: every tile is painted
    const auto rows = WholeOnly(r.top, r.bottom - h);
    if (mode == 0) {
        // Whole columns while x < R.Right - w, then the column where that stopped, which may reach past R.
        Grid(nullptr, WholeOnly(r.left, std::max(r.right, r.left + 1)), rows, w, h, reach, tile);
        r = NothingLeft;
        return;
    }
    Grid(nullptr, WholeOnly(r.left, r.right - w), rows, w, h, reach, tile);
    const int x = StopOf(r.left, r.right - w, w), y = StopOf(r.top, r.bottom - h, h);
    const classes::TRect strips[2] = {{r.left, y, r.right, r.bottom}, {x, r.top, r.right, r.bottom}};
    for (const classes::TRect& strip : strips) {
        if (strip.right <= strip.left || strip.bottom <= strip.top) continue;
        if (cacheInfo.Ready && cacheInfo.Bmp) {
            gdi::BitBlt(bmp->Canvas()->Handle(), strip.left, strip.top, strip.right - strip.left,
                strip.bottom - strip.top, cacheInfo.Bmp->Canvas()->Handle(), cacheInfo.X + strip.left,
                cacheInfo.Y + strip.top, gdi::SRCCOPY);
        } else {
            FillSolid(bmp, strip, cacheInfo.ParentColor);
        }
    }
    r = NothingLeft;
}

}
