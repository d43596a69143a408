// TacCheckCore: glyph, caption, auto size, presses and painting of the skinned check box and radio button.
#include "skin/controls/sCheckControl.h"

#include "platform/base/Assert.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TImageList.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/SavedDc.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/Text.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/controls/Button.h"
#include "skin/controls/sControlFrame.h"
#include "skin/controls/sPushControl.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sGlyphs.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sNinePart.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

TacCheckCore::TacCheckCore(TButtonControl* owner, TsCommonData* data)
    : GlyphChecked(std::make_unique<TBitmap>()), GlyphUnChecked(std::make_unique<TBitmap>()), FOwner(owner),
      FData(data) { }

TacCheckCore::~TacCheckCore() {
    StopFadeTimer(FadeTimer);
}

bool TacCheckCore::Painting() const {
    return IsControlPaintable(FOwner) && FData->Skinned();
}

// ---- Glyph ---------------------------------------------------------------------------------------------------

const TsMaskData* TacCheckCore::StateMask() const {
    TsSkinManager* manager = FData->SkinManager();
    if (manager == nullptr || !FData->Skinned() || !MaskName) return nullptr;
    const int index = manager->GetMaskIndex(manager->GetSkinIndex("GLOBALINFO"), "GLOBALINFO", MaskName());
    return manager->IsValidImgIndex(index) ? &manager->Masks[std::size_t(index)] : nullptr;
}

TSize TacCheckCore::GlyphSize() const {
    if (Images != nullptr && ImgChecked >= 0 && ImgUnchecked >= 0) return {Images->Width() / 3, Images->Height() / 2};
    if (!GlyphChecked->Empty()) return {GlyphChecked->Width() / 3, GlyphChecked->Height() / 2};
    const TsMaskData* mask = StateMask();
    if (mask == nullptr) return {0, 0};
    if (mask->Bmp != nullptr) return {mask->Bmp->Width() / 3, mask->Bmp->Height() / 2};
    return {(mask->R.right - mask->R.left) / std::max(1, detail::ImageCountOf(*mask)),
        (mask->R.bottom - mask->R.top) / (detail::MaskTypeOf(*mask) + 1)};
}

TRect TacCheckCore::GlyphRect() const {
    const bool userGlyph = (Images != nullptr && ImgChecked >= 0 && ImgUnchecked >= 0) || !GlyphChecked->Empty();
    if (!userGlyph && CheckedMaskName) {
        TsSkinManager* manager = FData->SkinManager();
        const int index = manager != nullptr && FData->Skinned()
            ? manager->GetMaskIndex(manager->GetSkinIndex("GLOBALINFO"), "GLOBALINFO", CheckedMaskName()) : -1;
        if (manager == nullptr || !manager->IsValidImgIndex(index)) return {0, 0, 16, 16};
    }
    const TSize g = GlyphSize();
    const int top = (FOwner->Height() - g.cy) / 2;
    if (Alignment && Alignment() == taLeftJustify)
        return {FOwner->Width() - g.cx - Margin, top, FOwner->Width() - Margin, top + g.cy};
    return {Margin, top, Margin + g.cx, top + g.cy};
}

int TacCheckCore::GlyphState() const {
    if (Pressed) return 2;
    return FData->IsHot() && !ReadOnly ? 1 : 0;
}

void TacCheckCore::PaintGlyph(TBitmap* cache) {
    const TRect r = GlyphRect();
    const bool checked = FOwner->Checked();
    const int state = GlyphState();
    TBitmap* user = nullptr;
    TBitmap fromList;
    if (Images != nullptr && ImgChecked >= 0 && ImgUnchecked >= 0) {
        const int index = checked ? ImgChecked : ImgUnchecked;
        if (index >= GetImageCount(Images)) return;
        MakeImageListBitmap(&fromList, Images, index);
        user = &fromList;
    } else if (!GlyphChecked->Empty()) {
        user = checked ? GlyphChecked.get() : GlyphUnChecked->Empty() ? nullptr : GlyphUnChecked.get();
        if (user == nullptr) return;   // no unchecked picture: nothing in that state
    } else {
        if (const TsMaskData* mask = StateMask()) DrawMaskStateImage(cache, TPoint {r.left, r.top}, state, *mask, 1);
        return;
    }
    const int w = user->Width() / 3;
    const int h = user->Height() / 2;
    if (w <= 0 || h <= 0) return;
    BlendMaskedPieceOwnBitmap(r, TRect {state * w, 0, state * w + w, h}, cache, TsParentCacheInfo {}, user);
}

// ---- Caption -------------------------------------------------------------------------------------------------

TRect TacCheckCore::TextRect() const {
    const TRect g = GlyphRect();
    const int x0 = (g.right - g.left) + TextIndent + 3 + Margin + 1;
    const int w = FOwner->Width();
    const int h = FOwner->Height();
    if (Alignment && Alignment() == taLeftJustify) return {Margin, Margin, w - x0 - 2, h - Margin};
    return {x0, Margin, w - Margin - 2, h - Margin};
}

unsigned TacCheckCore::CaptionFlags() const {
    unsigned flags = MultiLine ? gdi::DT_WORDBREAK | gdi::DT_CENTER : gdi::DT_SINGLELINE | gdi::DT_VCENTER;
    if (Alignment && Alignment() == taLeftJustify) flags |= gdi::DT_RIGHT;
    return flags;
}

TRect TacCheckCore::CaptionRect() const {
    TRect r = TextRect();
    r.bottom -= 2;
    return r;
}

void TacCheckCore::PaintCaption(TBitmap* cache) {
    const std::string caption = FOwner->Caption();
    if (caption.empty()) return;
    TCanvas* canvas = cache->Canvas();
    canvas->Brush()->SetStyle(bsClear);
    const TRect text = TextRect();
    const unsigned flags = CaptionFlags();
    TRect r = CaptionRect();
    OutputSkinnedText(canvas, caption, true, r, FOwner->DrawTextBiDiModeFlags(flags), FData, FData->IsHot() && !ReadOnly);
    if (FOwner->Focused() && ShowFocus)
        PaintFocusDots(canvas, TRect {text.left - 1, text.top, text.right + 1, text.bottom - 1});
}

// ---- Size and cache ------------------------------------------------------------------------------------------

bool TacCheckCore::AutoSizeBounds(int& width, int& height) const {
    if (!AutoSize || FOwner->ComponentState().Contains(csLoading)) return false;
    const TRect g = GlyphRect();
    const std::string caption = FOwner->Caption();
    const TSize text = caption.empty() ? TSize {0, 0} : GetTextSize(FOwner->Font()->Handle(), caption);
    width = (g.right - g.left) + 2 * Margin + (caption.empty() ? 0 : text.cx + TextIndent + 8);
    height = std::max(int(g.bottom - g.top), int(text.cy) + 2 * Margin) + 2;
    return true;
}

void TacCheckCore::AdjustSize() {
    // The size comes from the owner's CanAutoSize.
    FOwner->SetBounds(FOwner->Left(), FOwner->Top(), FOwner->Width(), FOwner->Height());
}

void TacCheckCore::PrepareCache() {
    FData->InitCacheBmp();
    TBitmap* cache = FData->CacheBmp();
    if (cache->Width() != FOwner->Width() || cache->Height() != FOwner->Height())
        cache->SetSize(FOwner->Width(), FOwner->Height());
    cache->Canvas()->Font()->Assign(FOwner->Font());
    const TsParentCacheInfo ci = GetParentCache(FData);
    const int state = FData->IsHot() && !ReadOnly ? 1 : 0;
    const TPoint at {FOwner->Left(), FOwner->Top()};
    RenderControlSkin(FData, ci, true, state, TRect {0, 0, FOwner->Width(), FOwner->Height()}, at, cache, true);
    PaintCaption(cache);
    PaintGlyph(cache);
    if (!FOwner->Enabled()) ApplyDisabledLook(cache, DisabledKind, FOwner, at, ci);
    FData->BGChanged = false;
}

bool TacCheckCore::Fading() const {
    if (FadeTimer == nullptr || FadeTimer->Direction() == 0) return false;
    return !PaintsBesideSpentFade || FadeTimer->Step <= FadeTimer->Iterations;
}

void TacCheckCore::StopFadeWithStepsLeft() {
    if (FadeTimer != nullptr && FadeTimer->Direction() != 0 && FadeTimer->Step <= FadeTimer->Iterations) StopFade();
}

int TacCheckCore::ShownCheck() const {
    return NativeCheck ? NativeCheck() : (FOwner->Checked() ? 1 : 0);
}

void TacCheckCore::Paint(TMessage& m) {
    const user::HWND window = FOwner->WindowHandle();
    gdi::HDC dc = reinterpret_cast<gdi::HDC>(m.WParam);
    user::PAINTSTRUCT ps {};
    const bool began = dc == nullptr;
    if (began) dc = user::BeginPaint(window, &ps);
    base::ScopeExit end([&] {
        if (began) user::EndPaint(window, &ps);
    });
    if (dc == nullptr) return;
    gdi::SavedDc saved(dc);
    FData->Updating = FData->IsUpdating();
    // A running cross-fade paints its own frames; the cache already holds its end.
    if (FData->Updating || Fading()) return;
    PrepareCache();
    PaintFrameAllSides(FData, 0);
    gdi::BitBlt(dc, 0, 0, FOwner->Width(), FOwner->Height(), FData->CacheBmp()->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
}

// ---- Messages ------------------------------------------------------------------------------------------------

void TacCheckCore::Changed(TacAnimatEvent event) {
    const bool half = event == aeMouseDown || event == aeMouseUp;
    DoChangePaint(FadeTimer, FData, half, 1, AnimatEventEnabled(event, AnimatEvents));
}

void TacCheckCore::TakeFocus() {
    if (FOwner->Focused() || !FOwner->CanFocus()) return;
    const bool was = FOwner->ClicksDisabled();
    FOwner->SetClicksDisabled(true);
    FOwner->SetFocus();
    FOwner->SetClicksDisabled(was);
}

bool TacCheckCore::SkinCommand(TMessage& m) {
    const int code = SkinCommandCode(m);
    if (PushControlSkinChange(m, FData, FadeTimer)) {
        if (code == SMC_REMOVESKIN) {
            const int check = NativeCheck ? NativeCheck() : (FOwner->Checked() ? 1 : 0);
            if (FOwner->HandleAllocated()) user::SendMessage(FOwner->WindowHandle(), user::BM_SETCHECK, WPARAM(check), 0);
            FOwner->Repaint();
        } else if (code == SMC_REFRESH) {
            if (RefreshResizes) AdjustSize();
            FOwner->Repaint();
        }
        return true;
    }
    if (PushControlQuery(m, FadeTimer, [this] { PrepareCache(); })) return true;
    if (!Painting()) return false;
    if (code == SMC_PARENTUPDATED) {
        if (FData->Updating || FData->CacheIncomplete) {
            FData->Updating = false;
            FOwner->Repaint();
        }
        return true;
    }
    CommonWndProc(m, FData);
    return true;
}

bool TacCheckCore::WndProc(TMessage& m, const std::function<void(TMessage&)>& inherited) {
    if (m.Msg == SM_SKINCMD) return SkinCommand(m);
    if (!Painting()) {
        switch (m.Msg) {
        case user::WM_LBUTTONDOWN:
        case user::WM_KEYDOWN:
            Pressed = true;
            break;
        case user::WM_LBUTTONUP:
        case user::WM_KEYUP:
            Pressed = false;
            break;
        default:
            break;
        }
        // A read-only control ignores the clicks and the pressed look the native button would show.
        if (ReadOnly && m.Msg == user::WM_LBUTTONDBLCLK) return true;
        if (ReadOnly && m.Msg == user::BM_SETSTATE
            && (ReadOnlyRefusesStateAlways || (Pressed && !FOwner->ControlState().Contains(csCreating))))
            return true;
        return false;
    }
    return SkinnedMessage(m, inherited);
}

bool TacCheckCore::SkinnedMessage(TMessage& m, const std::function<void(TMessage&)>& inherited) {
    const bool designing = ControlDesigning(FOwner);
    const bool active = !designing && FOwner->Enabled() && !ReadOnly;
    switch (m.Msg) {
    case CM_MOUSEENTER:
        if (m.LParam != 0 || designing || !FOwner->Enabled() || FData->MouseAbove) break;
        FData->MouseAbove = true;
        Changed(aeMouseEnter);
        return true;
    case CM_MOUSELEAVE:
        if (m.LParam != 0 || designing || !FOwner->Enabled()) break;
        FData->MouseAbove = false;
        Pressed = false;
        Changed(aeMouseLeave);
        return true;
    case user::WM_SETFOCUS:
    case CM_ENTER:
        if (designing) break;
        if (!FOwner->Enabled()) return true;
        inherited(m);
        if (FadeTimer != nullptr && FadeTimer->Direction() != 0) {
            FadeTimer->MakeStep();   // co_
            return true;
        }
        FData->BGChanged = true;
        FOwner->Repaint();
        return true;
    case user::WM_KILLFOCUS:
    case CM_EXIT:
        if (designing || !FOwner->Enabled()) break;
        StopFadeTimer(FadeTimer);
        inherited(m);
        FData->Focused = false;
        FData->MouseAbove = false;
        Pressed = false;
        FData->Invalidate();
        return true;
    default:
        break;
    }
    const bool common = CommonWndProc(m, FData);
    switch (m.Msg) {
    case user::WM_LBUTTONDOWN:
    case user::WM_LBUTTONDBLCLK: {
        if (!active) return true;
        Pressed = true;
        Changed(aeMouseDown);
        classes::TComponentWatch watch(FOwner);
        TakeFocus();
        if (!watch.Alive()) return true;
        const int x = short(m.LParam & 0xFFFF);
        const int y = short((m.LParam >> 16) & 0xFFFF);
        if (m.Msg == user::WM_LBUTTONDBLCLK) {
            if (FOwner->OnDblClick) FOwner->OnDblClick(FOwner);
        } else if (FOwner->OnMouseDown) {
            FOwner->OnMouseDown(FOwner, mbLeft, TShiftState {}, x, y);
        }
        return true;
    }
    case user::WM_LBUTTONUP: {
        if (!active) return true;
        const int x = short(m.LParam & 0xFFFF);
        const int y = short((m.LParam >> 16) & 0xFFFF);
        if (Pressed) {
            // A change of state repaints through its own notification; a release that changes nothing (a checked
            // radio button, a release outside) still drops the pressed look.
            const int before = ShownCheck();
            if (!FinishPress(FOwner, Pressed, MessageInside(FOwner, m), Release)) return true;
            if (ShownCheck() == before) Changed(aeMouseUp);
        }
        if (FOwner->OnMouseUp) FOwner->OnMouseUp(FOwner, mbLeft, TShiftState {}, x, y);
        return true;
    }
    case user::WM_KEYDOWN:
    case user::WM_KEYUP: {
        // The space bar is ours: the native button would report a second click on its release. A press ends
        // at the release of any key. Read-only, the keys go to the base class, whose click is refused.
        if (!active) break;
        if (m.Msg == user::WM_KEYDOWN && m.WParam != user::VK_SPACE) break;
        user::WORD key = user::WORD(m.WParam);
        classes::TComponentWatch watch(FOwner);
        if (m.Msg == user::WM_KEYDOWN) {
            Pressed = true;
            TakeFocus();
            if (!watch.Alive()) return true;
            FData->BGChanged = true;
            FOwner->Repaint();
            if (FOwner->OnKeyDown) FOwner->OnKeyDown(FOwner, key, TShiftState {});
        } else {
            if (Pressed) {
                const int before = ShownCheck();
                if (!FinishPress(FOwner, Pressed, true, Release)) return true;
                if (ShownCheck() == before) {
                    FData->BGChanged = true;
                    FOwner->Repaint();
                }
            }
            if (FOwner->OnKeyUp) FOwner->OnKeyUp(FOwner, key, TShiftState {});
        }
        return true;
    }
    case user::WM_PAINT:
        Paint(m);
        return true;
    case user::WM_ERASEBKGND:
        m.Result = 1;
        return true;
    case user::WM_NCPAINT:
    case user::WM_ENABLE:
        return true;
    case CM_ENABLEDCHANGED:
        inherited(m);
        FData->BGChanged = true;
        FOwner->Repaint();
        return true;
    case CM_TEXTCHANGED:
        AdjustSize();
        FData->BGChanged = true;
        FOwner->Repaint();
        return true;
    case CM_CHANGED:
        if (!designing)
            Changed(aeMouseUp);
        else
            FData->Invalidate();
        return true;
    default:
        break;
    }
    return common;
}

}
