// TsTrackBar: the skinned channel, ticks and thumb painted into the cache, hot and pressed looks, its messages.
#include "skin/controls/sTrackBar.h"

#include "platform/classes/Colors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/controls/TrackBar.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sBitmapEffects.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"

#include <algorithm>
#include <cmath>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

constexpr int NativeThumbAcross = 23;   // a 21-pixel picture stands unscaled on this native thumb
constexpr int NativeThumbAlong = 11;
constexpr int UnscaledPictureAcross = 21;

int W(const TRect& r) {
    return r.right - r.left;
}
int H(const TRect& r) {
    return r.bottom - r.top;
}
bool Contains(const TRect& r, TPoint p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}

TsTrackBar::TsTrackBar(TComponent* owner)
    : TTrackBar(owner), FCommonData(std::make_unique<TsCommonData>(this, true)) {
    FCommonData->ControlKind = TacControlKind::TrackBar;
    SetThumbLength(SkinnedThumbLength);
}

TsTrackBar::~TsTrackBar() {
    StopFadeTimer(FFadeTimer);
    if (FHintsOff && Application != nullptr) Application->SetShowHint(FSavedShowHint);
}

TClass TsTrackBar::StaticClass() {
    using T = TsTrackBar;
    static const TClassInfo info = MakeClass<T, TTrackBar>("TsTrackBar", [](TPropertyBuilder<T>& p) {
        p.Int("ThumbLength", &T::ThumbLength, &T::SetThumbLength, T::SkinnedThumbLength);
        p.Set("DisabledKind", &T::DisabledKind, &T::SetDisabledKind, DisabledKindIdents, DefaultDisabledKind);
        p.Object("SkinData", &T::SkinData);
        p.Set("AnimatEvents", &T::AnimatEvents, &T::SetAnimatEvents, AnimatEventIdents, TacAnimatEvents {aeGlobalDef});
        p.Bool("ShowFocus", &T::ShowFocus, &T::SetShowFocus, false);
    });
    return &info;
}

void TsTrackBar::AfterConstruction() {
    TTrackBar::AfterConstruction();
    FCommonData->Loaded();
}

void TsTrackBar::Loaded() {
    TTrackBar::Loaded();
    FCommonData->Loaded();
}

void TsTrackBar::SetDisabledKind(TsDisabledKind value) {
    if (value == FDisabledKind) return;
    FDisabledKind = value;
    FCommonData->Invalidate();
}

// ---- Native geometry -------------------------------------------------------------------------------------------

TRect TsTrackBar::ThumbRect() const {
    TRect r {};
    if (HandleAllocated()) user::SendMessage(WindowHandle(), user::TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
}

TRect TsTrackBar::ChannelRect() const {
    TRect r {};
    if (!HandleAllocated()) return r;
    user::SendMessage(WindowHandle(), user::TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
    if (Vertical()) r = TRect {r.top, r.left, r.bottom, r.right};
    return r;
}

int TsTrackBar::NativeTickCount() const {
    return HandleAllocated() ? int(user::SendMessage(WindowHandle(), user::TBM_GETNUMTICS, 0, 0)) : 0;
}

std::vector<int> TsTrackBar::TickPositions() const {
    std::vector<int> ticks;
    const int n = NativeTickCount();
    // Manual ticks always have both ends; the native bar counts both ends among its ticks.
    if (TickStyle() == tsNone) return ticks;
    const TRect channel = ChannelRect(), thumb = ThumbRect();
    const int start = Vertical() ? channel.top : channel.left;
    const int end = Vertical() ? channel.bottom : channel.right;
    const int thumbLength = Vertical() ? H(thumb) : W(thumb);
    if (TickStyle() == tsAuto) {
        const double step = double(end - start - thumbLength) / (n - 1);
        for (int i = 0; i < n; ++i)
            ticks.push_back(int(std::lround(i * step + start + thumbLength / 2)));
        return ticks;
    }
    ticks.push_back(start + thumbLength / 2);
    for (int i = 0; i + 2 < n; ++i)
        ticks.push_back(int(user::SendMessage(WindowHandle(), user::TBM_GETTICPOS, WPARAM(i), 0)));
    ticks.push_back(end - thumbLength / 2);
    return ticks;
}

bool TsTrackBar::ThumbHeld() const {
    return ControlState().Contains(csLButtonDown);
}

int TsTrackBar::ThumbState() const {
    if (ThumbHeld()) return 2;
    return FCommonData->IsHot() ? 1 : 0;
}

// ---- Painting --------------------------------------------------------------------------------------------------

TRect TsTrackBar::PaintChannel(TBitmap* cache) {
    TsSkinManager* sm = FCommonData->SkinManager();
    TRect channel = ChannelRect();
    const int mask = sm->GetMaskIndex(FCommonData->SkinIndex, FCommonData->SkinSection(), "SLIDERCHANNEL");
    if (!sm->IsValidImgIndex(mask)) return channel;
    // As thick as the picture's frame, centred across the bar.
    const TSize frame = sm->GetMaskFrameSize(mask);
    if (Vertical()) {
        channel.left += (W(channel) - frame.cx) / 2;
        channel.right = channel.left + frame.cx;
    } else {
        channel.top += (H(channel) - frame.cy) / 2;
        channel.bottom = channel.top + frame.cy;
    }
    TsParentCacheInfo self;
    FillCacheInfo(self, cache, 0, 0);
    PaintNinePartMask(cache, channel, true, false, FCommonData->IsHot() ? 1 : 0, sm->Masks[std::size_t(mask)], self);
    return channel;
}

void TsTrackBar::PaintTick(TBitmap* cache, TPoint p) {
    TsSkinManager* sm = FCommonData->SkinManager();
    const int mask = sm->GetMaskIndex(FCommonData->SkinIndex, FCommonData->SkinSection(), Vertical() ? "TICKVERT" : "TICKHORZ");
    if (!sm->IsValidImgIndex(mask)) {
        TRect r = Vertical() ? TRect {p.x, p.y, p.x + FTickLength, p.y + 2} : TRect {p.x, p.y, p.x + 2, p.y + FTickLength};
        int width = 1;
        PaintFrame3D(cache->Canvas()->Handle(), r, clBtnShadow, clWhite, width);
        return;
    }
    // Centred on the point along the bar.
    const TSize frame = sm->GetMaskFrameSize(mask);
    if (Vertical())
        p.y -= frame.cy / 2;
    else
        p.x -= frame.cx / 2;
    DrawMaskStateImage(cache, p, ThumbState(), sm->Masks[std::size_t(mask)], 1);
}

void TsTrackBar::PaintThumb(TBitmap* cache) {
    TsSkinManager* sm = FCommonData->SkinManager();
    const int index = sm->GetMaskIndex(FCommonData->SkinIndex, FCommonData->SkinSection(), Vertical() ? "SLIDERVMASK" : "SLIDERMASK");
    const TRect thumb = ThumbRect();
    if (!sm->IsValidImgIndex(index) || W(thumb) <= 0 || H(thumb) <= 0) return;
    const TsMaskData& mask = sm->Masks[std::size_t(index)];
    const TSize frame = sm->GetMaskFrameSize(index);
    const int along = Vertical() ? H(thumb) : W(thumb), across = Vertical() ? W(thumb) : H(thumb);
    const int frameAcross = Vertical() ? frame.cx : frame.cy;
    const bool fits = (frame.cx == W(thumb) && frame.cy == H(thumb))
        || (across == NativeThumbAcross && along == NativeThumbAlong && frameAcross == UnscaledPictureAcross);
    const TPoint at {thumb.left, thumb.top};
    if (fits) {
        DrawMaskStateImage(cache, at, ThumbState(), mask, 1);
        return;
    }
    // Stretched to the thumb (only in a skin with a master bitmap): three state frames, with the grey mask below
    // the picture when it has one.
    if (sm->MasterBitmap == nullptr) return;
    const TBitmap* source = mask.Bmp != nullptr ? mask.Bmp.get() : sm->MasterBitmap.get();
    if (source == nullptr) return;
    const TRect src = mask.Bmp != nullptr ? TRect {0, 0, mask.Bmp->Width(), mask.Bmp->Height()} : mask.R;
    const int rows = std::max(mask.MaskType, 0) + 1;
    TsMaskData scaled;
    scaled.Bmp = NewBitmap24(3 * W(thumb), rows * H(thumb));
    if (!scaled.Bmp) return;
    const gdi::HDC to = scaled.Bmp->Canvas()->Handle(), from = const_cast<TBitmap*>(source)->Canvas()->Handle();
    if (mask.MaskType != 0) {
        const int half = H(src) / 2;
        gdi::StretchBlt(to, 0, 0, 3 * W(thumb), H(thumb), from, src.left, src.top, W(src), half, gdi::SRCCOPY);
        gdi::StretchBlt(to, 0, H(thumb), 3 * W(thumb), H(thumb), from, src.left, src.top + half, W(src), half, gdi::SRCCOPY);
    } else {
        gdi::StretchBlt(to, 0, 0, 3 * W(thumb), H(thumb), from, src.left, src.top, W(src), H(src), gdi::SRCCOPY);
    }
    scaled.R = TRect {0, 0, 3 * W(thumb), rows * H(thumb)};
    scaled.ImageCount = 3;
    scaled.MaskType = mask.MaskType;
    scaled.Manager = sm;
    DrawMaskStateImage(cache, at, ThumbState(), scaled, 1);
}

void TsTrackBar::PaintBody(TBitmap* cache) {
    TsCommonData* data = FCommonData.get();
    const TsParentCacheInfo ci = GetParentCache(data);
    const TRect client {0, 0, Width(), Height()};
    RenderControlSkin(data, ci, true, data->IsHot() ? 1 : 0, client, TPoint {Left(), Top()}, cache, false);
    if (FShowFocus && (Focused() || ThumbHeld()))
        PaintFocusDots(cache->Canvas(), TRect {client.left + 1, client.top + 1, client.right - 1, client.bottom - 1});
    const TRect channel = PaintChannel(cache);
    if (TickStyle() != tsNone) {
        const TRect thumb = ThumbRect();
        const int thumbAcross = Vertical() ? W(thumb) : H(thumb), channelAcross = Vertical() ? W(channel) : H(channel);
        const int offset = (thumbAcross - channelAcross) / 2 + 2;
        const bool before = TickMarks() == tmTopLeft || TickMarks() == tmBoth;
        const bool after = TickMarks() == tmBottomRight || TickMarks() == tmBoth;
        for (int t : TickPositions()) {
            if (Vertical()) {
                if (before) PaintTick(cache, TPoint {channel.left - offset - FTickLength, t});
                if (after) PaintTick(cache, TPoint {channel.right + offset, t});
            } else {
                if (before) PaintTick(cache, TPoint {t, channel.top - offset - FTickLength});
                if (after) PaintTick(cache, TPoint {t, channel.bottom + offset});
            }
        }
    }
    if (SliderVisible()) PaintThumb(cache);
}

void TsTrackBar::RenderCache() {
    TsCommonData* data = FCommonData.get();
    data->InitCacheBmp();
    TBitmap* cache = data->CacheBmp();
    if (cache == nullptr || data->SkinManager() == nullptr) return;
    PaintBody(cache);
    if (!Enabled()) ApplyDisabledLook(cache, FDisabledKind, this, TPoint {Left(), Top()}, GetParentCache(data));
    data->BGChanged = false;
}

void TsTrackBar::SkinPaint(gdi::HDC dc) {
    TsCommonData* data = FCommonData.get();
    if (ControlDestroying(this) || dc == nullptr) return;
    data->SetUpdating(data->IsUpdating());
    if (data->Updating || FFadeTimer != nullptr) return;
    RenderCache();
    PaintFrameAllSides(data, 0);
    if (TBitmap* cache = data->CacheBmp())
        gdi::BitBlt(dc, 0, 0, Width(), Height(), cache->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
}

void TsTrackBar::PaintWindow(gdi::HDC dc) {
    if (!PaintsSkinned(FCommonData.get())) {
        TTrackBar::PaintWindow(dc);
        return;
    }
    if (FFadeTimer != nullptr) return;
    if (dc != nullptr) {
        gdi::SavedDc saved(dc);
        SkinPaint(dc);
        return;
    }
    const user::HWND wnd = WindowHandle();
    const gdi::HDC own = user::GetWindowDC(wnd);
    if (own == nullptr) return;
    SkinPaint(own);
    user::ReleaseDC(wnd, own);
}

// ---- Messages --------------------------------------------------------------------------------------------------

void TsTrackBar::ChangePaint(TacAnimatEvent event) {
    const bool half = event == aeMouseDown || event == aeMouseUp;
    DoChangePaint(FFadeTimer, FCommonData.get(), half, 1, AnimatEventEnabled(event, FAnimatEvents));
}

bool TsTrackBar::SkinCommand(TMessage& m) {
    TsCommonData* data = FCommonData.get();
    const bool ours = m.LParam == LPARAM(data->SkinManager());
    switch (SkinCommandCode(m)) {
    case SMC_NEWSKIN:
    case SMC_REFRESH:
        if (!ours) return false;
        StopFadeTimer(FFadeTimer);
        CommonWndProc(m, data);
        if (!ControlDestroying(this)) data->Invalidate();
        return true;
    case SMC_REMOVESKIN:
        if (!ours) return false;
        StopFadeTimer(FFadeTimer);
        CommonWndProc(m, data);
        if (!ControlDestroying(this) && HandleAllocated()) RecreateWnd();
        return true;
    case SMC_PARENTUPDATED:
        if (data->Updating) {
            data->SetUpdating(false);
            Repaint();
        }
        return false;
    case SMC_ISSKINNED:
        m.LParam = 1;
        return true;
    case SMC_STOPFADING:
        StopFadeTimer(FFadeTimer);
        return true;
    case SMC_PREPAREFADE:
        RenderCache();
        return false;
    case SMC_PAINTFADEFRAME: {
        m.Result = 0;
        auto* frame = reinterpret_cast<TBitmap*>(m.LParam);
        if (frame != nullptr && HandleAllocated()) {
            const user::HWND wnd = WindowHandle();
            if (const gdi::HDC dc = user::GetWindowDC(wnd)) {
                gdi::BitBlt(dc, 0, 0, Width(), Height(), frame->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
                user::ReleaseDC(wnd, dc);
                m.Result = 1;
            }
        }
        return true;
    }
    default:
        return false;
    }
}

// Repainted first; OnChange follows every scroll notification, moved or not. The native position is taken
// before the inherited handler, which reports only a move and so reports nothing itself.
void TsTrackBar::ScrollNotified(TMessage& m, bool skinned) {
    if (skinned) {
        StopFadeTimer(FFadeTimer);
        Repaint();
        if (ControlDestroying(this)) return;
    }
    Position();
    if (!skinned || !CommonWndProc(m, FCommonData.get())) TTrackBar::WndProc(m);
    if (ControlDestroying(this)) return;
    Changed();
}

// The press the bar began is over: the application's hints come back.
void TsTrackBar::RestoreHints() {
    if (FHintsOff && Application != nullptr) Application->SetShowHint(FSavedShowHint);
    FHintsOff = false;
}

void TsTrackBar::WndProc(TMessage& m) {
    TsCommonData* data = FCommonData.get();
    if (m.Msg == SM_SKINCMD && SkinCommandCode(m) < 25 && SkinCommand(m)) return;
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        ScrollNotified(m, PaintsSkinned(data));
        return;
    }
    if (!PaintsSkinned(data)) {
        TTrackBar::WndProc(m);
        return;
    }
    const bool designing = ControlDesigning(this);
    switch (m.Msg) {
    case user::WM_LBUTTONDOWN:
    case user::WM_LBUTTONDBLCLK:
        if (designing || !Enabled()) break;
        if (Application != nullptr && !FHintsOff) {
            FSavedShowHint = Application->ShowHint();
            Application->SetShowHint(false);
            FHintsOff = true;
        }
        if (Contains(ThumbRect(), TPoint {MessageX(m), MessageY(m)})) {
            SetControlState(ControlState() + TControlState {csLButtonDown});
            ChangePaint(aeMouseDown);
        } else {
            StopFadeTimer(FFadeTimer);
        }
        break;
    case user::WM_LBUTTONUP:
        if (designing || !Enabled()) break;
        // Only a press the bar began switched the hints off: a release without one leaves them.
        RestoreHints();
        if (Contains(ThumbRect(), TPoint {MessageX(m), MessageY(m)})) {
            SetControlState(ControlState() - TControlState {csLButtonDown});
            ChangePaint(aeMouseUp);
        } else {
            StopFadeTimer(FFadeTimer);
        }
        break;
    case user::WM_SETFOCUS:
    case CM_ENTER:
        if (designing) break;
        TTrackBar::WndProc(m);
        if (Enabled()) {
            if (FFadeTimer != nullptr)
                FFadeTimer->MakeStep();
            else
                Repaint();
        }
        return;
    case user::WM_KILLFOCUS:
    case CM_EXIT:
        if (designing) break;
        TTrackBar::WndProc(m);
        if (Enabled()) StopFadeTimer(FFadeTimer);
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        // While the thumb is held the mouse-over state stays as it was.
        if (ThumbHeld() && m.LParam == 0) {
            TTrackBar::WndProc(m);
            return;
        }
        break;
    case user::WM_ERASEBKGND:
        m.Result = 1;
        return;
    case user::WM_PAINT: {
        SetControlState(ControlState() + TControlState {csCustomPaint});
        TTrackBar::WndProc(m);
        SetControlState(ControlState() - TControlState {csCustomPaint});
        return;
    }
    default:
        break;
    }
    if (m.Msg == SM_SKINCMD && SkinCommandWhenSkinned(m, data, TacFrameHooks {}) == TacStep::Done) return;
    if (!CommonWndProc(m, data)) TTrackBar::WndProc(m);
    if (ControlDestroying(this)) return;
    if (designing) {
        if (m.Msg == user::WM_MOVE) Repaint();
        return;
    }
    switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (m.LParam != 0 || ThumbHeld()) break;
        data->MouseAbove = m.Msg == CM_MOUSEENTER;
        ChangePaint(m.Msg == CM_MOUSEENTER ? aeMouseEnter : aeMouseLeave);
        break;
    case user::WM_CAPTURECHANGED:
        // The capture went elsewhere while the button was held: no release will come, the press is over.
        if (HandleAllocated() && reinterpret_cast<user::HWND>(m.LParam) != WindowHandle()) {
            RestoreHints();
            if (ThumbHeld()) {
                SetControlState(ControlState() - TControlState {csLButtonDown});
                data->Invalidate();
            }
        }
        break;
    default:
        break;
    }
}

}
