// Regions and runs of one colour cut from bitmaps and from a skin picture's corner pieces.
#include "skin/engine/sRegionUtils.h"

#include "platform/classes/TBitmap.h"
#include "platform/gdi/Region.h"
#include "skin/engine/sNinePart.h"
#include "skin/engine/sPixelRows.h"
#include "skin/engine/sSkinData.h"

#include <algorithm>
#include <cstdint>

namespace korvex::skin {

using detail::PixelView;

namespace {

constexpr std::uint64_t AllSixteen = 0x249249249249ull;

// Runs of `color` in columns [x0, x0 + cols) of row y, placed at (dx + column - x0, dy).
void RowRuns(TsRectRuns& runs, const PixelView& view, const detail::PixelMatcher& matcher, detail::Bgr color, int x0,
    int cols, int y, int dx, int dy) {
    const std::uint8_t* row = view.At24(x0, y);
    int start = -1;
    auto close = [&](int end) {
        if (start >= 0) runs.push_back(classes::TRect {dx + start, dy, dx + end, dy + 1});
        start = -1;
    };
    int k = 0;
    while (k < cols) {
        if (cols - k >= 16) {
            std::uint64_t bits = matcher.Bits16(row + 3 * k);
            if (bits == 0) {
                close(k);
            } else if (bits == AllSixteen) {
                if (start < 0) start = k;
            } else {
                for (int j = 0; j < 16; ++j, bits >>= 3) {
                    if (bits & 1) {
                        if (start < 0) start = k + j;
                    } else {
                        close(k + j);
                    }
                }
            }
            k += 16;
            continue;
        }
        if (color.Matches(row + 3 * k)) {
            if (start < 0) start = k;
        } else {
            close(k);
        }
        ++k;
    }
    close(cols);
}

// Key runs of a w x h block at (sx, sy) of the view, cut to it, placed with its top-left corner at (dx, dy).
void BlockRuns(TsRectRuns& runs, const PixelView& view, int sx, int sy, int w, int h, int dx, int dy) {
    if (!view) return;
    int left = sx, top = sy;
    const int right = int(std::min<std::int64_t>(std::int64_t(sx) + w, view.Width));
    const int bottom = int(std::min<std::int64_t>(std::int64_t(sy) + h, view.Height));
    if (left < 0) dx -= left, left = 0;
    if (top < 0) dy -= top, top = 0;
    if (right <= left || bottom <= top) return;
    const detail::PixelMatcher& matcher = detail::KeyMatcher();
    const detail::Bgr key {0xFF, 0x00, 0xFF};
    for (int y = top; y < bottom; ++y)
        RowRuns(runs, view, matcher, key, left, right - left, y, dx, dy + (y - top));
}

}

void CollectColorRuns(TsRectRuns& runs, const classes::TBitmap* bitmap, classes::TColor color) {
    const PixelView view = detail::View24(bitmap);
    if (!view || view.Width < 2 || view.Height < 2) return;
    const detail::Bgr bgr = detail::Bgr::Of(std::uint32_t(color));
    const detail::PixelMatcher matcher(bgr);
    for (int y = 0; y < view.Height; ++y)
        RowRuns(runs, view, matcher, bgr, 0, view.Width, y, 0, y);
}

void RegionFromBitmap(gdi::HRGN& rgn, const classes::TBitmap* bitmap) {
    const int w = bitmap ? bitmap->Width() : 0, h = bitmap ? bitmap->Height() : 0;
    rgn = gdi::CreateRectRgn(0, 0, w, h);
    TsRectRuns runs;
    CollectColorRuns(runs, bitmap, 0xFFFFFF);
    if (runs.empty() || !rgn) return;
    gdi::GdiHandle<gdi::Region> white(gdi::CreateRgnFromRects(runs));
    gdi::CombineRgn(rgn, rgn, white.Get(), gdi::RGN_DIFF);
}

void CollectCornerTransparentRects(
    TsRectRuns& runs, int windowWidth, const TsMaskData& mask, int rowOffset, bool bottom) {
    if (!HasSaneGeometry(mask)) return;   // refused at load; painted as nothing
    if (mask.Bmp) {
        // Own bitmaps hold three states over their mask rows: a cell is a sixth of the height.
        const PixelView view = detail::View24(mask.Bmp.get());
        if (!view) return;
        const int th = view.Height / 2 / 3, wl = view.Width / 9;
        const int rowStart = bottom ? view.Height / 3 : 0;
        const int rightStart = view.Width * 2 / 9, rightEnd = view.Width / 3;
        if (view.Height < rowStart + th - 1) return;   // the cell row must lie in the picture
        BlockRuns(runs, view, 0, rowStart, wl, th, 0, rowOffset);
        BlockRuns(runs, view, rightStart, rowStart, rightEnd - rightStart, th,
            windowWidth - view.Width / 3 + rightStart, rowOffset);
        return;
    }
    const PixelView view = detail::View24(detail::MasterOf(mask));
    if (!view) return;
    const int imageCount = detail::ImageCountOf(mask), maskType = detail::MaskTypeOf(mask);
    const int width = mask.R.right - mask.R.left, height = mask.R.bottom - mask.R.top;
    const int th = height / (maskType + 1) / 3, wl = width / (imageCount * 3);
    const int rowStart = mask.R.top + (bottom ? height / ((maskType + 1) * 3) * 2 : 0);
    const int stateWidth = width / imageCount;
    const int rightStart = width * 2 / (imageCount * 3);
    if (std::int64_t(view.Height) < std::int64_t(rowStart) + th - 1) return;   // the cell row must lie in the master
    BlockRuns(runs, view, mask.R.left, rowStart, wl, th, 0, rowOffset);
    BlockRuns(runs, view, mask.R.left + rightStart, rowStart, stateWidth - rightStart, th,
        windowWidth - stateWidth + rightStart, rowOffset);
}

}
