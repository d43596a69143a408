// Refreshing the transparent corner pixels of a control's border from its parent's background.
#include "skin/engine/sFrameCorners.h"

#include "platform/classes/TBitmap.h"
#include "skin/engine/sNinePart.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sPixelRows.h"
#include "skin/engine/sSkinManager.h"

#include <cstring>

namespace korvex::skin {

using detail::PixelView;

namespace {

struct CornerRefresh {
    PixelView Cache;
    PixelView Source;
    PixelView Parent;   // empty when the parent has no cache
    bool UseColor = false;
    detail::Bgr Color;
    int ParentX = 0, ParentY = 0;

    // The w x h cell at (sx, sy) of the source against the cache at (cx, cy).
    void Cell(int sx, int sy, int w, int h, int cx, int cy) const {
        for (int r = 0; r < h; ++r) {
            const int y = cy + r, srcY = sy + r;
            if (unsigned(y) >= unsigned(Cache.Height) || unsigned(srcY) >= unsigned(Source.Height)) continue;
            for (int c = 0; c < w; ++c) {
                const int x = cx + c, srcX = sx + c;
                if (unsigned(x) >= unsigned(Cache.Width) || unsigned(srcX) >= unsigned(Source.Width)) continue;
                if (!detail::IsKeyPixel(Source.At24(srcX, srcY))) continue;
                if (UseColor) {
                    Color.Store(Cache.At24(x, y));
                } else if (Parent) {
                    const std::int64_t px = std::int64_t(ParentX) + x, py = std::int64_t(ParentY) + y;
                    if (px >= 0 && py >= 0 && px < Parent.Width && py < Parent.Height)
                        std::memcpy(Cache.At24(x, y), Parent.At24(int(px), int(py)), 3);
                }
            }
        }
    }
};

}

void PaintFrameSides(const TsFrameCornerTarget& target, int state, int sides) {
    TsSkinManager* manager = target.Manager;
    if (!manager || !manager->IsValidImgIndex(target.BorderIndex)) return;
    CornerRefresh refresh;
    refresh.Cache = detail::View24(target.Cache);
    if (!refresh.Cache || target.Width < 2 || target.Height < 2) return;

    const TsMaskData& mask = manager->Masks[std::size_t(target.BorderIndex)];
    if (!HasSaneGeometry(mask)) return;   // refused at load; painted as nothing
    int imageCount = detail::ImageCountOf(mask), maskType = detail::MaskTypeOf(mask);
    classes::TRect r = mask.R;
    if (mask.Bmp) {
        r = classes::TRect {0, 0, mask.Bmp->Width(), mask.Bmp->Height()};
        if (mask.ImageCount < 1) imageCount = 3, maskType = 1;
    }
    refresh.Source = detail::View24(mask.Bmp ? mask.Bmp.get() : detail::MasterOf(mask));
    if (!refresh.Source) return;

    const classes::TColor answer = target.ParentCache.ParentAnswer;
    refresh.UseColor = answer != TransparentSkinColor;
    refresh.Color = detail::Bgr::Of(std::uint32_t(classes::ColorToRGB(answer)));
    if (!refresh.UseColor && target.ParentCache.Ready) {
        refresh.Parent = detail::View24(target.ParentCache.Bmp);
        refresh.ParentX = target.ParentCache.X + target.Position.x;
        refresh.ParentY = target.ParentCache.Y + target.Position.y;
    }

    const int pw = r.right - r.left, ph = r.bottom - r.top;
    const int wl = pw / (imageCount * 3), th = ph / ((maskType + 1) * 3);
    if (wl <= 0 || th <= 0) return;
    state = std::clamp(state, 0, imageCount - 1);
    const int x0 = r.left + int(std::int64_t(pw) * state / imageCount);
    const int picBottom = r.top + ph / (maskType + 1);
    const auto size = detail::PieceSizes::For(target.Width, target.Height, wl, th, mask.BorderWidth);
    const int rightX = x0 + 3 * wl - size.Right;
    const int w = target.Width, h = target.Height;

    if (sides & fcTopLeft) refresh.Cell(x0, r.top, size.Left, size.Top, 0, 0);
    if (sides & fcBottomLeft) refresh.Cell(x0, picBottom - size.Bottom, size.Left, size.Bottom, 0, h - size.Bottom);
    if (sides & fcBottomRight)
        refresh.Cell(rightX, picBottom - size.Bottom, size.Right, size.Bottom, w - size.Right, h - size.Bottom);
    if (sides & fcTopRight) refresh.Cell(rightX, r.top, size.Right, size.Top, w - size.Right, 0);
}

void PaintFrameAllSides(const TsFrameCornerTarget& target, int state) {
    PaintFrameSides(target, state, fcAllCorners);
}

}
