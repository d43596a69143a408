// Button borders painted from the skin with the picture's transparent pixels cut out of the window region.
#include "skin/engine/sButtonRegion.h"

#include "platform/classes/TBitmap.h"
#include "platform/gdi/Region.h"
#include "skin/engine/sNinePart.h"
#include "skin/engine/sPixelRows.h"
#include "skin/engine/sSkinData.h"

#include <cstring>
#include <vector>

namespace korvex::skin {

using detail::PixelView;

void CopyMaskedPieceCutRegion(const classes::TRect& dstRect, const classes::TRect& srcRect, classes::TBitmap* bitmap,
    const TsMaskData& mask, gdi::HRGN region, const classes::TBitmap* source) {
    if (!HasSaneGeometry(mask)) return;   // refused at load; painted as nothing
    if (dstRect.left < 0 || dstRect.top < 0 || srcRect.left < 0 || srcRect.top < 0) return;
    const PixelView d = detail::View24(bitmap);
    const PixelView s = detail::View24(source);
    if (!d || d.Width < 2 || d.Height < 2 || !s || !mask.Manager) return;
    const int maskOffset = mask.Bmp ? s.Height / 2 : (mask.R.bottom - mask.R.top) / 2;
    if (maskOffset < 0) return;
    const std::int64_t rows = std::min<std::int64_t>(
        {std::int64_t(dstRect.bottom) - dstRect.top + 1, std::int64_t(srcRect.bottom) - srcRect.top + 1,
            d.Height - dstRect.top, std::int64_t(s.Height) - maskOffset - srcRect.top});
    const std::int64_t cols = std::min<std::int64_t>({std::int64_t(dstRect.right) - dstRect.left + 1,
        std::int64_t(srcRect.right) - srcRect.left + 1, d.Width - dstRect.left, s.Width - srcRect.left});
    if (rows <= 0 || cols <= 0) return;

    std::vector<classes::TRect> holes;
    for (int r = 0; r < rows; ++r) {
        const int y = dstRect.top + r;
        std::uint8_t* dp = d.At24(dstRect.left, y);
        const std::uint8_t* sp = s.At24(srcRect.left, srcRect.top + r);
        const std::uint8_t* mp = s.At24(srcRect.left, srcRect.top + r + maskOffset);
        int start = -1;
        for (int c = 0; c < cols; ++c) {
            if (detail::IsKeyPixel(sp + 3 * c)) {
                if (start < 0) start = c;
                continue;
            }
            if (start >= 0) holes.push_back(classes::TRect {dstRect.left + start, y, dstRect.left + c, y + 1});
            start = -1;
            detail::MaskPixel(dp + 3 * c, sp + 3 * c, mp + 3 * c, false);
        }
        if (start >= 0) holes.push_back(classes::TRect {dstRect.left + start, y, dstRect.left + int(cols), y + 1});
    }
    if (holes.empty() || !region) return;
    // Every run lies inside the button, so each one is taken away (a difference, never an exclusive or).
    gdi::GdiHandle<gdi::Region> cut(gdi::CreateRgnFromRects(holes));
    gdi::CombineRgn(region, region, cut.Get(), gdi::RGN_DIFF);
}

void PaintButtonBordersWithRegion(
    classes::TBitmap* bitmap, gdi::HRGN region, bool filling, int state, const TsMaskData& mask) {
    const PixelView d = detail::View24(bitmap);
    if (!d || !HasSaneGeometry(mask)) return;
    const bool own = mask.Bmp != nullptr;
    classes::TBitmap* source = own ? mask.Bmp.get() : detail::MasterOf(mask);
    const PixelView s = detail::View24(source);
    if (!s) return;

    detail::NinePartGeometry g;
    int originX = 0, originY = 0;
    bool masked = true;
    if (own) {
        // Always three states over mask rows, whatever the record says.
        if (d.Width < 3 || d.Height < 3) return;
        g.CellWidth = s.Width / 9;
        g.CellHeight = s.Height / 6;
        g.PictureHeight = s.Height / 2;
        g.Spans = detail::SpanStyle::Own;
    } else {
        const int imageCount = detail::ImageCountOf(mask), maskType = detail::MaskTypeOf(mask);
        const int pw = mask.R.right - mask.R.left, ph = mask.R.bottom - mask.R.top;
        g.CellWidth = pw / (imageCount * 3);
        g.CellHeight = ph / ((maskType + 1) * 3);
        g.PictureHeight = ph / (maskType + 1);
        state = std::clamp(state, 0, imageCount - 1);
        masked = maskType >= 1;
        g.Spans = masked ? detail::SpanStyle::Masked : detail::SpanStyle::Plain;
        originX = mask.R.left;
        originY = mask.R.top;
    }
    if (g.CellWidth <= 0 || g.CellHeight <= 0) return;
    // An own bitmap's state is not limited: a column left of its picture or past it copies nothing.
    g.Column = int(std::clamp<std::int64_t>(std::int64_t(state) * 3 * g.CellWidth, -s.Width, s.Width));
    g.Size = detail::PieceSizes::For(d.Width, d.Height, g.CellWidth, g.CellHeight, mask.BorderWidth);

    const classes::TRect whole {0, 0, d.Width, d.Height};
    detail::ForEachNinePart(g, whole, masked && filling, d.Width, d.Height,
        [&](detail::PieceKind, const classes::TRect& to, classes::TRect from) {
            if (!detail::HasArea(to.right - to.left, to.bottom - to.top)) return;
            gdi::OffsetRect(&from, originX, originY);
            if (masked) {
                CopyMaskedPieceCutRegion(classes::TRect {to.left, to.top, to.right - 1, to.bottom - 1},
                    classes::TRect {from.left, from.top, from.right - 1, from.bottom - 1}, bitmap, mask, region,
                    source);
                return;
            }
            int dx = to.left, dy = to.top, sx = from.left, sy = from.top;
            int w = to.right - to.left, h = to.bottom - to.top;
            if (!detail::ClipBlock(dx, dy, d.Width, d.Height, sx, sy, s.Width, s.Height, w, h)) return;
            for (int r = 0; r < h; ++r)
                std::memmove(d.At24(dx, dy + r), s.At24(sx, sy + r), std::size_t(w) * 3);
        });
}

}
