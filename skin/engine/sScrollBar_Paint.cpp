// TsScrollBar: the skinned picture: track halves over the background, arrow buttons, the thumb, the disabled look.
#include "skin/engine/sScrollBar.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TForm.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/Painting.h"
#include "platform/user/ScrollBars.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sBitmapEffects.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

#include <algorithm>
#include <optional>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

inline constexpr int DisabledChannelTransparency = 60;   // the host's channel colour over a bar without a cache
inline constexpr int DisabledChannelBlur = 3;

int W(const TRect& r) {
    return r.right - r.left;
}
int H(const TRect& r) {
    return r.bottom - r.top;
}

// The piece of `from` at r copied into `to` at the same place.
void CopyPiece(TBitmap* to, TBitmap* from, const TRect& r) {
    gdi::BitBlt(to->Canvas()->Handle(), r.left, r.top, W(r), H(r), from->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
}

// The skin's pieces of one part: its section, border image, textures and glyph (-1 where the skin has none).
struct Piece {
    const char* Name;
    int Section;
    int Mask;
    int Pattern;
    int HotPattern;
    int Glyph;
};

// One section with its border image painted into r of target. The background (and the holes of the border
// image) come from ci, at p for r's top-left corner. Painted through a bitmap of r's size, so a part can
// see through to the bitmap it is painted on.
void PaintPiece(TsSkinManager* sm, const Piece& piece, const TsParentCacheInfo& ci, int state, const TRect& r,
    TPoint p, TBitmap* target) {
    if (W(r) <= 0 || H(r) <= 0 || !sm->IsValidSkinIndex(piece.Section)) return;
    auto bmp = NewBitmap24(W(r), H(r));
    if (!bmp) return;
    PaintSectionByMask(piece.Section, piece.Mask, piece.Pattern, piece.HotPattern, piece.Name, ci, true, state,
        TRect {0, 0, W(r), H(r)}, p, bmp.get(), sm);
    CopyPiece(target, bmp.get(), r);
}

// What lies under r on the target: the arrows and the thumb show the tracks through their holes. The
// colours of the bar's paint come along.
TsParentCacheInfo Beneath(TBitmap* target, const TRect& r, const TsParentCacheInfo& colours) {
    TsParentCacheInfo ci = ColoursOnly(colours);
    FillCacheInfo(ci, target, r.left, r.top);
    return ci;
}

// One state picture's length along the bar: own bitmaps hold three states side by side over two rows.
int FrameLength(const TsSkinManager* sm, int mask, bool vertical) {
    if (!sm->IsValidImgIndex(mask)) return 0;
    const TsMaskData& m = sm->Masks[std::size_t(mask)];
    if (m.Bmp != nullptr) return vertical ? m.Bmp->Height() / 2 : m.Bmp->Width() / 3;
    return vertical ? H(m.R) / (m.MaskType + 1) : W(m.R) / std::max(m.ImageCount, 1);
}

void DrawGlyph(TsSkinManager* sm, int glyph, TBitmap* target, TPoint at, int state) {
    if (sm->IsValidImgIndex(glyph)) DrawMaskStateImage(target, at, state, sm->Masks[std::size_t(glyph)], 1);
}

}

TsParentCacheInfo TsScrollBar::BackgroundInfo() {
    TWinControl* host = HostControl();
    if (host == nullptr) return GetParentCache(FCommonData.get());
    TsParentCacheInfo ci = AskControlCache(host);
    if (!ci.Ready) return EmptyCacheInfo;
    // The bar lies beside its host on the host's parent; a form's cache already holds its client offset.
    // Another host answers where its client area lies in its cache, which covers the whole window: a
    // bordered host's client area starts inside its border.
    if (dynamic_cast<TCustomForm*>(host) == nullptr) {
        TPoint border {0, 0};
        if (host->Parent() != nullptr) {
            const TPoint client = host->ClientToScreen(TPoint {0, 0});
            const TPoint corner = host->Parent()->ClientToScreen(TPoint {host->Left(), host->Top()});
            border = TPoint {client.x - corner.x, client.y - corner.y};
        }
        ci.X -= host->Left() + border.x;
        ci.Y -= host->Top() + border.y;
    }
    return ci;
}

void TsScrollBar::PaintTracks(TBitmap* target, const TsParentCacheInfo& ci) {
    TsSkinManager* sm = FCommonData->SkinManager();
    const TConstantSkinData& c = sm->ConstData;
    // SCROLLBAR1H, SCROLLBAR1V, SCROLLBAR2H, SCROLLBAR2V
    const int first = IsVertical() ? 2 : 1, second = first + 2;
    const Piece before {IsVertical() ? "SCROLLBAR1V" : "SCROLLBAR1H", c.ScrollBarSection[first], c.ScrollBarMask[first],
        c.ScrollBarPattern[first], c.ScrollBarHotPattern[first], -1};
    Piece after {IsVertical() ? "SCROLLBAR2V" : "SCROLLBAR2H", c.ScrollBarSection[second], c.ScrollBarMask[second],
        c.ScrollBarPattern[second], c.ScrollBarHotPattern[second], -1};
    if (!sm->IsValidSkinIndex(after.Section)) after = before;
    const bool hot = FCommonData->IsHot();
    auto stateOf = [&](TsScrollPart part) {
        if (!Enabled()) return psNormal;
        const int s = FParts[std::size_t(part)];
        return s != psNormal ? s : hot ? psHot : psNormal;
    };
    const TRect whole {0, 0, Width(), Height()};
    if (!sm->IsValidSkinIndex(before.Section)) {
        FillRectSolid(target, whole, sm->GetGlobalColor());
        return;
    }
    for (TsScrollPart part : {TsScrollPart::TrackBefore, TsScrollPart::TrackAfter}) {
        const TRect r = PartRect(part);
        PaintPiece(sm, part == TsScrollPart::TrackBefore ? before : after, ci, stateOf(part), r,
            TPoint {Left() + r.left, Top() + r.top}, target);
    }
}

void TsScrollBar::PaintArrows(TBitmap* target, const TsScrollGeometry& g, const TsParentCacheInfo& colours) {
    TsSkinManager* sm = FCommonData->SkinManager();
    const TConstantSkinData& c = sm->ConstData;
    const bool v = IsVertical();
    // SCROLLBTNTOP, SCROLLBTNBOTTOM, SCROLLBTNLEFT, SCROLLBTNRIGHT
    const int ends[2] = {v ? 1 : 3, v ? 2 : 4};
    const char* names[2] = {v ? "SCROLLBTNTOP" : "SCROLLBTNLEFT", v ? "SCROLLBTNBOTTOM" : "SCROLLBTNRIGHT"};
    for (int i = 0; i < 2; ++i) {
        const int k = ends[i];
        const Piece piece {names[i], c.ScrollBtnSection[k], c.ScrollBtnMask[k], c.ScrollBtnPattern[k],
            c.ScrollBtnHotPattern[k], c.ScrollBtnGlyph[k]};
        const TsScrollPart part = i == 0 ? TsScrollPart::Arrow1 : TsScrollPart::Arrow2;
        TRect r = PartRect(part);
        if (sm->IsValidSkinIndex(piece.Section) && sm->Sections[std::size_t(piece.Section)].ReservedBoolean) {
            // Buttons no longer than their picture.
            const int frame = FrameLength(sm, piece.Mask, v);
            const int length = frame > 0 ? std::min(g.Arrow(), frame) : g.Arrow();
            if (i == 0 && v) r.bottom = std::min(r.bottom, r.top + length);
            if (i == 0 && !v) r.right = std::min(r.right, r.left + length);
            if (i == 1 && v) r.top = std::max(r.top, r.bottom - length);
            if (i == 1 && !v) r.left = std::max(r.left, r.right - length);
        }
        const int state = FParts[std::size_t(part)];   // the part's own state, enabled or not
        PaintPiece(sm, piece, Beneath(target, r, colours), state, r, TPoint {0, 0}, target);
        if (!sm->IsValidImgIndex(piece.Glyph)) continue;
        const TSize size = sm->GetMaskFrameSize(piece.Glyph);
        DrawGlyph(sm, piece.Glyph, target,
            TPoint {r.left + (W(r) - size.cx) / 2, r.top + (H(r) - size.cy) / 2}, state);
    }
}

void TsScrollBar::PaintThumb(TBitmap* target, const TsScrollGeometry& g, const TsParentCacheInfo& colours) {
    if (!g.HasThumb()) return;   // no room between the arrows
    TsSkinManager* sm = FCommonData->SkinManager();
    const TConstantSkinData& c = sm->ConstData;
    const bool v = IsVertical();
    const Piece piece {v ? "SCROLLSLIDERV" : "SCROLLSLIDERH", v ? c.SliderSectionV : c.SliderSectionH,
        v ? c.SliderMaskV : c.SliderMaskH, v ? c.SliderPatternV : c.SliderPatternH,
        v ? c.SliderHotPatternV : c.SliderHotPatternH, v ? c.SliderGlyphV : c.SliderGlyphH};
    const TRect r = PartRect(TsScrollPart::Thumb);
    const int state = FParts[std::size_t(TsScrollPart::Thumb)];
    PaintPiece(sm, piece, Beneath(target, r, colours), state, r, TPoint {0, 0}, target);
    if (!sm->IsValidImgIndex(piece.Glyph)) return;
    // The grip is centred, a pixel right and down while pressed; one as long as the thumb starts at its start.
    const TSize size = sm->GetMaskFrameSize(piece.Glyph);
    const int shift = state == psPressed ? 1 : 0;
    TPoint at {r.left + (W(r) - size.cx) / 2 + shift, r.top + (H(r) - size.cy) / 2 + shift};
    if ((v ? size.cy : size.cx) >= g.ThumbLength()) (v ? at.y : at.x) = v ? r.top : r.left;
    auto piecebmp = NewBitmap24(W(r), H(r));
    if (!piecebmp) return;
    gdi::BitBlt(piecebmp->Canvas()->Handle(), 0, 0, W(r), H(r), target->Canvas()->Handle(), r.left, r.top, gdi::SRCCOPY);
    DrawGlyph(sm, piece.Glyph, piecebmp.get(), TPoint {at.x - r.left, at.y - r.top}, state);
    CopyPiece(target, piecebmp.get(), r);
}

void TsScrollBar::PaintDisabledLook(TBitmap* target, const TsParentCacheInfo& ci) {
    const TPoint offset {Left(), Top()};
    if (HostControl() != nullptr && !ci.Ready) {
        // A host without a cache: its channel colour, softly, over the whole bar.
        PaintBlurredRect(target, TRect {0, 0, Width(), Height()}, DisabledChannelTransparency,
            FCommonData->SkinManager()->GetGlobalColor(), DisabledChannelBlur, 0);
        return;
    }
    ApplyDisabledLook(target, FDisabledKind, this, offset, ci);
}

void TsScrollBar::PaintSkinned(user::HDC given) {
    if (!HandleAllocated()) return;
    std::optional<user::PaintGuard> paint;
    user::HDC dc = given;
    if (dc == nullptr) {
        paint.emplace(WindowHandle());
        dc = paint->Dc();
    }
    if (dc == nullptr || Width() < 1 || Height() < 1 || PaintingSuppressed) return;
    FPartsChanged = false;
    gdi::SavedDc saved(dc);
    const TsScrollGeometry g = Geometry();
    if (!SkinActive()) {
        // The skin went before the window did: the plain look until the native bar is back.
        user::ScrollBarData data;
        data.Min = FMin;
        data.Max = FMax;
        data.Page = user::UINT(std::max(FPageSize, 0));
        data.Pos = FPosition;
        if (!Enabled()) data.Disabled = user::ESB_DISABLE_BOTH;
        const user::RECT band {0, 0, Width(), Height()};
        user::DrawScrollBar(dc, user::ComputeScrollGeometry(band, IsVertical(), data, FPosition), data, {});
        return;
    }
    FCommonData->InitCacheBmp();
    FCommonData->Updating = FCommonData->IsUpdating();
    TBitmap* cache = FCommonData->CacheBmp();
    if (cache == nullptr) return;
    TsParentCacheInfo ci = BackgroundInfo();
    // Without a parent cache the holes of the pictures show the parent's colour.
    const TColor under = !ci.Ready && Parent() != nullptr ? ColorToRGB(Parent()->Color()) : TransparentSkinColor;
    ci.ParentColor = ci.ParentAnswer = under;
    PaintTracks(cache, ci);
    std::unique_ptr<TBitmap> copy;
    TBitmap* target = cache;
    if (!Enabled()) {
        copy = NewBitmap24Like(cache);
        if (copy == nullptr) return;
        CopyPiece(copy.get(), cache, TRect {0, 0, cache->Width(), cache->Height()});
        target = copy.get();
    }
    PaintArrows(target, g, ci);
    const TWinControl* host = HostControl();
    if (Enabled() || host == nullptr || !host->Enabled()) PaintThumb(target, g, ci);
    if (!Enabled()) PaintDisabledLook(target, ci);
    FCommonData->BGChanged = false;
    gdi::BitBlt(dc, 0, 0, Width(), Height(), target->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
}

}
