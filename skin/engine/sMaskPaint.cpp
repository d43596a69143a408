// Skin pictures through their grey masks: nine-part frames, state images and the masked piece copies.
#include "skin/engine/sMaskPaint.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/BitBlt.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/engine/sNinePart.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sPixelRows.h"
#include "skin/engine/sSkinData.h"

#include <cstring>

namespace korvex::skin {

using detail::PixelView;

namespace {

constexpr classes::TColor Key = TransparentSkinColor;

int Width(const classes::TRect& r) {
    return r.right - r.left;
}
int Height(const classes::TRect& r) {
    return r.bottom - r.top;
}

// Clips a masked copy of w x h: the destination block to its bitmap, the source block and its mask rows
// (maskOffset below) to the source bitmap.
bool ClipMasked(
    int& dx, int& dy, const PixelView& d, int& sx, int& sy, const PixelView& s, int maskOffset, int& w, int& h) {
    const int lo = std::max(0, -maskOffset);
    const int hi = int(std::min<std::int64_t>(s.Height, std::int64_t(s.Height) - maskOffset));
    if (hi <= lo) return false;
    int sy0 = sy - lo;
    if (!detail::ClipBlock(dx, dy, d.Width, d.Height, sx, sy0, s.Width, hi - lo, w, h)) return false;
    sy = sy0 + lo;
    return true;
}

// The parent's cache as the masked copies read it: pf24bit and at least 2 x 2, else unusable.
PixelView ParentView(const TsParentCacheInfo& cacheInfo) {
    const PixelView view = detail::View24(cacheInfo.Bmp);
    return view.Width >= 2 && view.Height >= 2 ? view : PixelView {};
}

// Copies a w x h block between pf24bit bitmaps (plain SRCCOPY), clipped to both.
void CopyBlock(const PixelView& d, int dx, int dy, const PixelView& s, int sx, int sy, int w, int h) {
    if (!detail::ClipBlock(dx, dy, d.Width, d.Height, sx, sy, s.Width, s.Height, w, h)) return;
    for (int r = 0; r < h; ++r)
        std::memmove(d.At24(dx, dy + r), s.At24(sx, sy + r), std::size_t(w) * 3);
}

// ---------------------------------------------------------------------------------------------------------
// Nine-part painter

enum class Variant { Mask, Master };

void PaintNinePart(classes::TBitmap* bitmap, const classes::TRect& r, bool filling, int state, const TsMaskData& mask,
    const TsParentCacheInfo& cacheInfo, Variant variant) {
    if (!HasSaneGeometry(mask)) return;   // refused at load; painted as nothing
    const PixelView dst = detail::View24(bitmap);
    const bool own = mask.Bmp != nullptr;
    if (!dst || (own && variant == Variant::Master)) return;
    classes::TBitmap* source = own ? mask.Bmp.get() : detail::MasterOf(mask);
    const PixelView src = detail::View24(source);
    if (!src) return;
    const int imageCount = detail::ImageCountOf(mask);
    const int maskType = detail::MaskTypeOf(mask);
    const bool masked = own || maskType >= 1;
    const int pw = own ? src.Width : Width(mask.R);
    const int ph = own ? src.Height : Height(mask.R);
    const int originX = own ? 0 : mask.R.left;
    const int originY = own ? 0 : mask.R.top;

    const int w = Width(r), h = Height(r);
    detail::NinePartGeometry g;
    g.CellWidth = pw / (imageCount * 3);
    g.CellHeight = ph / ((maskType + 1) * 3);
    if (w < 2 || h < 2 || g.CellWidth <= 0 || g.CellHeight <= 0) return;
    // The master bitmap's state is limited to its columns; an own bitmap's is not (left of or past them it
    // reads nothing).
    if (!own) state = std::clamp(state, 0, imageCount - 1);
    g.Column = own ? int(std::clamp<std::int64_t>(std::int64_t(state) * 3 * g.CellWidth, -pw, pw))
                   : int(std::int64_t(pw) * state / imageCount);
    g.PictureHeight = ph / (maskType + 1);
    const bool limited = !own && variant == Variant::Mask;
    g.Size = detail::PieceSizes::For(w, h, g.CellWidth, g.CellHeight, limited ? mask.BorderWidth : 0);
    g.Spans = own ? detail::SpanStyle::Own : masked ? detail::SpanStyle::Masked : detail::SpanStyle::Plain;
    g.Stretch = !masked && mask.StretchMode != 0;
    const bool centre = filling && (masked || variant == Variant::Master || mask.BorderWidth == 0);

    detail::ForEachNinePart(g, r, centre, dst.Width, dst.Height,
        [&](detail::PieceKind kind, const classes::TRect& to, classes::TRect from) {
            if (!detail::HasArea(Width(to), Height(to)) || !detail::HasArea(Width(from), Height(from))) return;
            gdi::OffsetRect(&from, originX, originY);
            if (own) {
                BlendMaskedPieceOwnBitmap(
                    to, from, bitmap, kind == detail::PieceKind::Corner ? cacheInfo : EmptyCacheInfo, source);
            } else if (masked) {
                const bool seesParent = kind == detail::PieceKind::Corner
                    || (kind == detail::PieceKind::Side && variant == Variant::Master);
                BlendMaskedPiece(to, from, bitmap, mask, seesParent ? cacheInfo : ColoursOnly(cacheInfo));
            } else if (kind == detail::PieceKind::Corner) {
                TransparentCopyRect(bitmap, source, to.left, to.top,
                    classes::TRect {from.left, from.top, from.right - 1, from.bottom - 1}, Key, true, cacheInfo);
            } else if (g.Stretch) {
                gdi::StretchBlt(bitmap->Canvas()->Handle(), to.left, to.top, Width(to), Height(to),
                    source->Canvas()->Handle(), from.left, from.top, Width(from), Height(from), gdi::SRCCOPY);
            } else {
                CopyBlock(dst, to.left, to.top, src, from.left, from.top, Width(to), Height(to));
            }
        });
}

}

// ---------------------------------------------------------------------------------------------------------
// Masked piece copies

void BlendMaskedPiece(const classes::TRect& dstRect, const classes::TRect& srcRect, classes::TBitmap* bitmap,
    const TsMaskData& mask, const TsParentCacheInfo& cacheInfo) {
    if (!HasSaneGeometry(mask)) return;   // refused at load; painted as nothing
    const PixelView d = detail::View24(bitmap);
    const PixelView s = detail::View24(detail::MasterOf(mask));
    if (!d || !s) return;
    int dx = dstRect.left, dy = dstRect.top, sx = srcRect.left, sy = srcRect.top;
    int w = std::min(Width(dstRect), Width(srcRect)), h = std::min(Height(dstRect), Height(srcRect));
    const int maskOffset = Height(mask.R) / 2;
    if (!ClipMasked(dx, dy, d, sx, sy, s, maskOffset, w, h)) return;

    PixelView parent;
    if (cacheInfo.Ready) {
        parent = ParentView(cacheInfo);
        if (!parent) return;   // a cache that cannot be read: nothing is copied
    }
    const bool hasParentColor = cacheInfo.ParentColor != Key;
    const detail::Bgr parentColor = detail::Bgr::Of(std::uint32_t(classes::ColorToRGB(cacheInfo.ParentColor)));
    for (int r = 0; r < h; ++r) {
        std::uint8_t* row = d.At24(dx, dy + r);
        const int py = cacheInfo.Y + dy + r;
        detail::MaskRowKeyed(row, s.At24(sx, sy + r), s.At24(sx, sy + r + maskOffset), w, false, [&](int k) {
            if (hasParentColor) {
                parentColor.Store(row + 3 * k);
                return true;
            }
            if (!cacheInfo.Ready) return true;
            const int px = cacheInfo.X + dx + k;
            if (px >= parent.Width) return false;   // past the cache's right edge: the rest of the row stays
            if (px >= 0 && py >= 0 && py < parent.Height) std::memcpy(row + 3 * k, parent.At24(px, py), 3);
            return true;
        });
    }
}

void BlendMaskedPieceOwnBitmap(const classes::TRect& dstRect, const classes::TRect& srcRect, classes::TBitmap* bitmap,
    const TsParentCacheInfo& cacheInfo, const classes::TBitmap* source) {
    const PixelView d = detail::View24(bitmap);
    const PixelView s = detail::View24(source);
    if (!d || !s) return;
    int dx = dstRect.left, dy = dstRect.top, sx = srcRect.left, sy = srcRect.top;
    int w = std::min(Width(dstRect), Width(srcRect)), h = std::min(Height(dstRect), Height(srcRect));
    const int maskOffset = s.Height / 2;
    if (!ClipMasked(dx, dy, d, sx, sy, s, maskOffset, w, h)) return;

    if (!cacheInfo.Ready) {
        for (int r = 0; r < h; ++r)
            detail::MaskRow(d.At24(dx, dy + r), s.At24(sx, sy + r), s.At24(sx, sy + r + maskOffset), w * 3, false);
        return;
    }
    // Read like the cache's canvas: any size will do.
    const PixelView parent = detail::View24(cacheInfo.Bmp);
    for (int r = 0; r < h; ++r) {
        std::uint8_t* row = d.At24(dx, dy + r);
        const int py = cacheInfo.Y + dy + r;
        detail::MaskRowKeyed(row, s.At24(sx, sy + r), s.At24(sx, sy + r + maskOffset), w, false, [&](int k) {
            const int px = cacheInfo.X + dx + k;
            if (px >= parent.Width || py < 0) return false;
            if (px >= 0 && py < parent.Height) std::memcpy(row + 3 * k, parent.At24(px, py), 3);
            return true;
        });
    }
}

// ---------------------------------------------------------------------------------------------------------
// Nine-part frames

void PaintNinePartMask(classes::TBitmap* bitmap, const classes::TRect& rect, bool filling, bool, int state,
    const TsMaskData& mask, const TsParentCacheInfo& cacheInfo) {
    PaintNinePart(bitmap, rect, filling, state, mask, cacheInfo, Variant::Mask);
}

void PaintNinePartMaster(classes::TBitmap* bitmap, const classes::TRect& rect, bool filling, int state,
    const TsMaskData& mask, const TsParentCacheInfo& cacheInfo) {
    PaintNinePart(bitmap, rect, filling, state, mask, cacheInfo, Variant::Master);
}

// ---------------------------------------------------------------------------------------------------------
// State images

void DrawMaskStateImage(classes::TBitmap* bitmap, classes::TPoint p, int state, const TsMaskData& mask, int mode) {
    if (!HasSaneGeometry(mask)) return;   // refused at load; painted as nothing
    const int imageCount = detail::ImageCountOf(mask);
    const int maskType = detail::MaskTypeOf(mask);
    const int iw = Width(mask.R) / imageCount;
    const int ih = Height(mask.R) / (maskType + 1);
    const int column = std::clamp(state, 0, imageCount - 1) * iw;
    const int cx = p.x < 0 ? int(std::min<std::int64_t>(-std::int64_t(p.x), iw)) : 0;
    const int cy = p.y < 0 ? int(std::min<std::int64_t>(-std::int64_t(p.y), ih)) : 0;
    if (iw - cx <= 0 || ih - cy <= 0) return;
    const classes::TRect src = classes::Bounds(mask.R.left + column + cx, mask.R.top + cy, iw - cx, ih - cy);
    const classes::TRect dst = classes::Bounds(p.x + cx, p.y + cy, iw - cx, ih - cy);

    if (mask.Bmp) {
        BlendMaskedStateImage(dst, src, bitmap, mask, mode, Key, mask.Bmp.get());
        return;
    }
    classes::TBitmap* master = detail::MasterOf(mask);
    if (!master) return;
    if (maskType >= 1) {
        BlendMaskedStateImage(dst, src, bitmap, mask, mode, Key, master);
    } else if (mode == 1) {
        TransparentCopyRect(
            bitmap, master, dst.left, dst.top, classes::TRect {src.left, src.top, src.right - 1, src.bottom - 1}, Key);
    } else {
        BlendBitmapRect(bitmap, dst.left, dst.top, master,
            classes::TRect {src.left, src.top, src.right - 1, src.bottom - 1}, 0.5, Key);
    }
}

void BlendMaskedStateImage(const classes::TRect& dstRect, const classes::TRect& srcRect, classes::TBitmap* bitmap,
    const TsMaskData& mask, int mode, classes::TColor transparentColor, const classes::TBitmap* source) {
    if (!HasSaneGeometry(mask)) return;   // refused at load; painted as nothing
    const PixelView d = detail::View24(bitmap);
    const PixelView s = detail::View24(source);
    if (!d || !s) return;
    int dx = dstRect.left, dy = dstRect.top, sx = srcRect.left, sy = srcRect.top;
    int w = std::min(Width(dstRect), Width(srcRect)), h = std::min(Height(dstRect), Height(srcRect));
    const int maskType = detail::MaskTypeOf(mask);
    const detail::Bgr key = detail::Bgr::Of(std::uint32_t(classes::ColorToRGB(transparentColor)));
    if (maskType == 0) {
        if (!detail::ClipBlock(dx, dy, d.Width, d.Height, sx, sy, s.Width, s.Height, w, h)) return;
        for (int r = 0; r < h; ++r)
            detail::CopyRowExcept(d.At24(dx, dy + r), s.At24(sx, sy + r), w, key);
        return;
    }
    const int maskOffset = Height(mask.R) / (maskType + 1);
    if (!ClipMasked(dx, dy, d, sx, sy, s, maskOffset, w, h)) return;
    const bool faded = mode != 1;
    for (int r = 0; r < h; ++r) {
        std::uint8_t* row = d.At24(dx, dy + r);
        const std::uint8_t* src = s.At24(sx, sy + r);
        const std::uint8_t* m = s.At24(sx, sy + r + maskOffset);
        if (key.B == 0xFF && key.G == 0 && key.R == 0xFF) {
            detail::MaskRowKeyed(row, src, m, w, faded, [](int) { return true; });
            continue;
        }
        for (int k = 0; k < w; ++k)
            if (!key.Matches(src + 3 * k)) detail::MaskPixel(row + 3 * k, src + 3 * k, m + 3 * k, faded);
    }
}

}
