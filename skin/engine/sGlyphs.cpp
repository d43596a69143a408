// Button glyphs: glyph bitmaps and image-list pictures with their hot, blended, greyed and disabled looks.
#include "skin/engine/sGlyphs.h"

#include "platform/classes/Colors.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TImageList.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sSkinData.h"

namespace korvex::skin {

using classes::TBitmap;
using classes::TColor;
using classes::TRect;

namespace {

TColor PixelOf(const TBitmap* bmp, int x, int y) {
    if (bmp == nullptr || x < 0 || y < 0 || x >= bmp->Width() || y >= bmp->Height()) return TransparentSkinColor;
    const std::uint8_t* p = bmp->ScanLine(y) + 3 * x;
    return TColor(p[2] | (p[1] << 8) | (p[0] << 16));
}

TColor BottomLeft(const TBitmap* bmp) {
    return PixelOf(bmp, 0, bmp->Height() - 1);
}

// A 24-bit copy of any glyph.
std::unique_ptr<TBitmap> Copy24(TBitmap* glyph) {
    auto t = std::make_unique<TBitmap>();
    t->Assign(glyph);
    t->SetPixelFormat(classes::pf24bit);
    return t;
}

TColor ListKey(const classes::TCustomImageList* images) {
    return images->BkColor() == classes::clNone ? TransparentSkinColor : classes::ColorToRGB(images->BkColor());
}

// The image-list path of the bit and speed buttons.
void PaintListGlyph(const TacGlyphButton& b, TBitmap* cache, bool hot) {
    TBitmap t;
    MakeImageListBitmap(&t, b.Images, b.ImageIndex);
    const TColor key = ListKey(b.Images);
    const TRect& r = b.GlyphRect;
    const TRect whole {0, 0, t.Width(), t.Height()};
    // Grey everything but the list's transparent colour, so the key still keys.
    if (!b.Enabled) {
        if (b.DisabledGlyphKind.Contains(dgGrayed)) GrayscaleBitmapExcept(&t, key);
        if (b.DisabledGlyphKind.Contains(dgBlended))
            BlendBitmapRect(cache, r.left, r.top, &t, whole, 0.5, key);
        else
            TransparentCopy(cache, &t, r.left, r.top, key);
        return;
    }
    if (!hot && b.Grayed) GrayscaleBitmapExcept(&t, key);
    if (!hot && b.Blend > 0)
        BlendBitmapRect(cache, r.left, r.top, &t, whole, b.Blend / 100.0, key);
    else
        TransparentCopy(cache, &t, r.left, r.top, key);
}

void PaintButtonGlyph(const TacGlyphButton& b) {
    TBitmap* cache = b.SkinData ? b.SkinData->CacheBmp() : nullptr;
    if (cache == nullptr) return;
    const bool hot = b.SkinData->IsHot();
    if (b.Glyph != nullptr && b.Glyph->Width() > 0) {
        PaintGlyph(b.Glyph, cache, b.GlyphRect, b.NumGlyphs, b.Enabled, b.Grayed, b.DisabledGlyphKind, hot, b.Blend);
        return;
    }
    if (b.Images != nullptr && b.ImageIndex >= 0 && b.ImageIndex < GetImageCount(b.Images)) PaintListGlyph(b, cache, hot);
}

}

int GetImageCount(const classes::TCustomImageList* images) {
    return images ? images->Count() : 0;
}

void MakeImageListBitmap(TBitmap* bmp, classes::TCustomImageList* images, int index) {
    if (bmp == nullptr || images == nullptr) return;
    bmp->SetPixelFormat(classes::pf24bit);
    bmp->SetSize(images->Width(), images->Height());
    FillRectSolid(bmp, TRect {0, 0, bmp->Width(), bmp->Height()}, ListKey(images));
    images->Draw(bmp->Canvas(), 0, 0, index);
}

void PaintGlyph(TBitmap* glyph, TBitmap* dst, const TRect& r, int numGlyphs, bool enabled, bool grayed,
    TsDisabledGlyphKind disabledKind, bool hot, int blend) {
    if (glyph == nullptr || dst == nullptr || glyph->Empty() || (numGlyphs != 1 && numGlyphs != 2)) return;
    auto t = Copy24(glyph);
    TColor key = BottomLeft(t.get());
    const int h = t->Height();
    if (numGlyphs == 1) {
        const TRect area {0, 0, r.right - r.left, r.bottom - r.top};
        if (enabled) {
            if (!hot && grayed) {
                GrayscaleBitmap(t.get());
                key = BottomLeft(t.get());
            }
            if (hot || blend < 1)
                TransparentCopy(dst, t.get(), r.left, r.top, key);
            else
                BlendBitmapRect(dst, r.left, r.top, t.get(), area, blend / 100.0, key);
            return;
        }
        if (disabledKind.Contains(dgGrayed)) GrayscaleBitmap(t.get());
        key = BottomLeft(t.get());
        if (disabledKind.Contains(dgBlended))
            BlendBitmapRect(dst, r.left, r.top, t.get(), area, 0.5, key);
        else
            TransparentCopy(dst, t.get(), r.left, r.top, key);
        return;
    }
    const int w = t->Width() / 2;
    if (!enabled) {
        TransparentCopyRect(dst, t.get(), r.left, r.top, TRect {w, 0, 2 * w - 1, h - 1}, key);
        return;
    }
    const TRect first {0, 0, w - 1, h - 1};
    if (!hot && blend >= 1)
        BlendBitmapRect(dst, r.left, r.top, t.get(), first, blend / 100.0, key);
    else
        TransparentCopyRect(dst, t.get(), r.left, r.top, first, key);
}

void PaintBitBtnGlyph(const TacGlyphButton& button) {
    PaintButtonGlyph(button);
}

void PaintSpeedButtonGlyph(const TacGlyphButton& button) {
    PaintButtonGlyph(button);
}

void PaintToolButtonGlyph(
    classes::TToolBar* toolBar, classes::TToolButton* button, classes::TCustomDrawState state, TBitmap* dst) {
    if (toolBar == nullptr || button == nullptr || dst == nullptr) return;
    int index = 1;
    if (state == classes::TCustomDrawState {} || state == classes::TCustomDrawState {classes::cdsDisabled})
        index = 0;
    else if (state.Contains(classes::cdsSelected) || state.Contains(classes::cdsChecked))
        index = 2;
    classes::TCustomImageList* list = toolBar->Images();
    classes::TCustomImageList* hotList = toolBar->HotImages();
    if (index != 0 && hotList != nullptr && hotList->Count() > button->ImageIndex()) list = hotList;
    if (list == nullptr || button->ImageIndex() < 0 || button->ImageIndex() >= list->Count()) return;

    int left, top;
    if (toolBar->List()) {
        left = 5;
        top = (button->Height() - list->Height()) / 2;
    } else {
        const int d = button->Style() == classes::tbsDropDown ? 8 : 0;
        left = (button->Width() - list->Width()) / 2 + 1 - d;
        const int caption = toolBar->ShowCaptions() ? dst->Canvas()->TextHeight("A") + 3 : 0;
        top = (button->Height() - list->Height() - caption) / 2;
    }
    if (index == 2) ++left, ++top;
    TBitmap t;
    MakeImageListBitmap(&t, list, button->ImageIndex());
    TransparentCopy(dst, &t, left, top, ListKey(list));
}

void MakeGlyphFromImageList(classes::TComponent* button, TsCommonData* data, int imageIndex, int& numGlyphs,
    TsDisabledGlyphKind disabledKind, TBitmap* glyph, classes::TCustomImageList* images) {
    if (glyph == nullptr || images == nullptr) return;
    if (button != nullptr && button->ComponentState().Contains(classes::csLoading)
        && button->ComponentState().Contains(classes::csDesigning))
        return;
    if (data != nullptr && data->Skinned()) return;
    if (imageIndex < 0 || imageIndex >= images->Count()) return;

    glyph->SetSize(0, 0);
    const classes::TPixelFormat format = glyph->PixelFormat();   // the picture is made 24-bit; handed back as it was
    MakeImageListBitmap(glyph, images, imageIndex);
    const TColor key = ListKey(images);
    const int w = images->Width(), h = glyph->Height();
    if (disabledKind == TsDisabledGlyphKind {}) {
        glyph->SetWidth(2 * w);
        glyph->Canvas()->CopyRect(TRect {w, 0, 2 * w, h}, glyph->Canvas(), TRect {0, 0, w, h});
        glyph->SetPixelFormat(format);
    } else {
        auto t = Copy24(glyph);
        if (disabledKind.Contains(dgGrayed)) GrayscaleBitmapExcept(t.get(), key);
        glyph->SetWidth(2 * w);
        FillRectSolid(glyph, TRect {w, 0, 2 * w, h}, classes::clBtnFace);
        if (disabledKind.Contains(dgBlended)) {
            BlendBitmapRect(glyph, w, 0, t.get(), TRect {0, 0, t->Width(), t->Height()}, 0.5, key);
        } else {
            TransparentCopy(glyph, t.get(), w, 0, key);
            TacFast24 pixels;
            pixels.Attach(glyph);
            pixels.SetPixel(w, h - 1, TransparentSkinColor);
        }
        glyph->SetPixelFormat(format);
        glyph->SetTransparentColor(key);
        glyph->SetTransparent(true);
    }
    numGlyphs = 2;
}

}
