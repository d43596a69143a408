// TsEditButton: the edit's glyph button (its cache from the edit's background and the glyph), and where the
// edit's popup opens on the virtual screen.
#include "skin/controls/sCustomComboEdit.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/SystemMetrics.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sStyleSimply.h"

namespace korvex::skin {

using namespace korvex::classes;

TPoint PopupPosition(const TRect& edit, TSize popup, const TRect& screen, TacPopupAlign align) {
    int y = edit.bottom;
    if (y + popup.cy > screen.bottom) y = edit.top - popup.cy;
    int x;
    if (align == TacPopupAlign::Right) {
        x = edit.right - popup.cx;
        if (x < screen.left) x = edit.left;
    } else {
        x = edit.left;
        if (x + popup.cx > screen.right) x = edit.right - popup.cx;
    }
    if (x < screen.left) x = screen.left;
    else if (x + popup.cx > screen.right) x = screen.right - popup.cx;
    return {x, y};
}

TRect VirtualScreenRect() {
    const int x = user::GetSystemMetrics(user::SM_XVIRTUALSCREEN);
    const int y = user::GetSystemMetrics(user::SM_YVIRTUALSCREEN);
    return TRect {x, y, x + user::GetSystemMetrics(user::SM_CXVIRTUALSCREEN),
        y + user::GetSystemMetrics(user::SM_CYVIRTUALSCREEN)};
}

// ---- TsEditButton --------------------------------------------------------------------------------------------

TsEditButton::TsEditButton(TsCustomComboEdit* edit)
    : TsSpeedButton(edit), FEdit(edit) {
    SkinData()->SetSkinSection("SPEEDBUTTON");
    SetFlat(true);
    SetCursor(crArrow);
    SetAlign(alRight);
    SetWidth(EditButtonWidth);
    SetShowCaption(false);
}

void TsEditButton::BlendGlyph(TBitmap* target, bool skinned) {
    const TBitmap* glyph = FEdit->CurrentGlyph();
    if (glyph == nullptr || target == nullptr) return;
    const int w = FEdit->GlyphWidth(), h = FEdit->GlyphHeight();
    const int x = (Width() - w) / 2, y = (Height() - h) / 2;
    const TRect source = GlyphStateRect(w, h, CurrentState(), skinned, SkinData()->IsHot());
    BlendMaskedPieceOwnBitmap(TRect {x, y, x + w, y + h}, source, target, EmptyCacheInfo, glyph);
}

void TsEditButton::PrepareCacheOver(TColor) {
    TsCommonData* data = SkinData();
    data->InitCacheBmp();
    TBitmap* cache = data->CacheBmp();
    if (cache == nullptr) return;
    if (cache->Width() != Width() || cache->Height() != Height()) cache->SetSize(Width(), Height());
    FEdit->EnsureEditCache();
    if (TBitmap* editCache = FEdit->SkinData()->CacheBmp())
        gdi::BitBlt(cache->Canvas()->Handle(), 0, 0, Width(), Height(), editCache->Canvas()->Handle(), Left() + 2,
            Top() + 2, gdi::SRCCOPY);
    if (FEdit->CurrentGlyph() != nullptr) {
        auto picture = NewBitmap24(Width(), Height());
        gdi::BitBlt(picture->Canvas()->Handle(), 0, 0, Width(), Height(), cache->Canvas()->Handle(), 0, 0,
            gdi::SRCCOPY);
        BlendGlyph(picture.get(), true);
        const TsGlyphMode* mode = FEdit->GlyphMode();
        if ((FEdit->CurrentState() & 127) == 0) {
            if (mode->Grayed()) GrayscaleBitmap(picture.get());
            // The background keeps Blend percent of each pixel.
            if (mode->Blend() > 0) {
                SumBitmaps(cache, picture.get(), BlendWeight(mode->Blend()));
                gdi::BitBlt(picture->Canvas()->Handle(), 0, 0, Width(), Height(), cache->Canvas()->Handle(), 0, 0,
                    gdi::SRCCOPY);
            }
        }
        if (!FEdit->Enabled()) {
            // Blended with what lies under the button: the edit's cache past its frame, as the edit answers.
            TsParentCacheInfo under;
            if (TBitmap* editCache = FEdit->SkinData()->CacheBmp()) FillCacheInfo(under, editCache, 2, 2);
            ApplyDisabledLook(picture.get(), FEdit->DisabledKind(), FEdit, TPoint {Left(), Top()}, under);
        }
        gdi::BitBlt(cache->Canvas()->Handle(), 0, 0, Width(), Height(), picture->Canvas()->Handle(), 0, 0,
            gdi::SRCCOPY);
    }
    data->BGChanged = false;
}

void TsEditButton::Paint() {
    TsSpeedButton::Paint();
    if (SkinData()->Skinned() || Width() < 1 || Height() < 1 || FEdit->CurrentGlyph() == nullptr) return;
    auto copy = NewBitmap24(Width(), Height());
    const gdi::HDC dc = Canvas()->Handle();
    gdi::BitBlt(copy->Canvas()->Handle(), 0, 0, Width(), Height(), dc, 0, 0, gdi::SRCCOPY);
    BlendGlyph(copy.get(), false);
    gdi::BitBlt(dc, 0, 0, Width(), Height(), copy->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
}

}
