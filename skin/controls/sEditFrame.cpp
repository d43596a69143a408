// What the skinned edits share: frame DC, frame strips, cache checks and rendering, bound-label upkeep.
#include "skin/controls/sEditFrame.h"

#include "platform/base/Utf8.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TCustomEdit.h"
#include "platform/classes/TWinControl.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sUtils.h"

namespace korvex::skin {

using namespace korvex::classes;

TacFrameDc::TacFrameDc(user::HWND window, gdi::HDC given)
    : FWindow(window), FDc(given), FOwned(given == nullptr) {
    if (FOwned) FDc = window != nullptr ? user::GetWindowDC(window) : nullptr;
    if (FDc != nullptr) FSaved = gdi::SaveDC(FDc);
}

TacFrameDc::~TacFrameDc() {
    if (FDc == nullptr) return;
    if (FSaved > 0) gdi::RestoreDC(FDc, FSaved);
    if (FOwned) user::ReleaseDC(FWindow, FDc);
}

void BlitFrameStrips(const TControl* control, TBitmap* cache, gdi::HDC dc) {
    if (control == nullptr || cache == nullptr || dc == nullptr) return;
    const int w = control->Width();
    const int h = control->Height();
    gdi::HDC src = cache->Canvas()->Handle();
    gdi::BitBlt(dc, 0, 0, w, 2, src, 0, 0, gdi::SRCCOPY);   // top
    gdi::BitBlt(dc, 0, 2, 2, h, src, 0, 2, gdi::SRCCOPY);   // left
    gdi::BitBlt(dc, 2, h - 2, w - 4, 2, src, 2, h - 2, gdi::SRCCOPY);   // bottom
    gdi::BitBlt(dc, w - 2, 2, 2, h - 2, src, w - 2, 2, gdi::SRCCOPY);   // right
}

bool OutsideParentClientRect(const TControl* control) {
    const TWinControl* parent = control != nullptr ? control->Parent() : nullptr;
    if (parent == nullptr) return false;
    return !RectIsInside(parent->ClientRect(), control->BoundsRect());
}

void CheckEditCache(TControl* control, TsCommonData* data) {
    bool parentIncomplete = false;
    if (control->Parent() != nullptr) parentIncomplete = QuerySkinCommand(control->Parent(), SMC_ISCACHEINCOMPLETE);
    data->BGChanged = data->BGChanged || data->CacheIncomplete || parentIncomplete;
    data->CacheIncomplete = OutsideParentClientRect(control);
}

void RenderEditCache(TControl* control, TsCommonData* data, int state, TsDisabledKind disabledKind,
    const std::function<void(TBitmap*)>& text) {
    data->InitCacheBmp();
    TBitmap* cache = data->CacheBmp();
    if (cache == nullptr) return;
    if (cache->Width() != control->Width() || cache->Height() != control->Height())
        cache->SetSize(control->Width(), control->Height());
    const TsParentCacheInfo ci = GetParentCache(data);
    const TPoint at {control->Left(), control->Top()};
    RenderControlSkin(data, ci, true, state, TRect {0, 0, control->Width(), control->Height()}, at, cache, false);
    if (text) text(cache);
    if (!control->Enabled()) ApplyDisabledLook(cache, disabledKind, control, at, ci);
    data->BGChanged = false;
}

std::string ShownEditText(const TCustomEdit* edit, const std::string& text) {
    if (edit == nullptr || edit->PasswordChar() == 0) return text;
    const std::string one = base::Utf8Encode(edit->PasswordChar());
    std::string shown;
    const std::size_t count = base::Utf8Length(text);
    shown.reserve(one.size() * count);
    for (std::size_t i = 0; i < count; ++i) shown += one;
    return shown;
}

void PaintEditFrame(TWinControl* control, TsCommonData* data, gdi::HDC given, const std::function<void()>& prepare) {
    if (!control->HandleAllocated()) return;
    TacFrameDc dc(control->WindowHandle(), given);
    if (dc.Dc() == nullptr) return;
    if (data->BGChanged && prepare) prepare();
    PaintFrameAllSides(data, 0);
    BlitFrameStrips(control, data->CacheBmp(), dc.Dc());
}

void PaintEditFromCache(TWinControl* control, TsCommonData* data, gdi::HDC given, bool skipWhenMarked,
    const std::function<void()>& prepare) {
    if (!control->HandleAllocated()) return;
    const user::HWND wnd = control->WindowHandle();
    user::PAINTSTRUCT ps {};
    user::BeginPaint(wnd, &ps);
    {
        TacFrameDc dc(wnd, given);
        data->SetUpdating(data->IsUpdating());
        if (!data->Updating && dc.Dc() != nullptr) {
            CheckEditCache(control, data);
            if (data->BGChanged && !(skipWhenMarked && data->PaintMark) && prepare) prepare();
            PaintFrameAllSides(data, 0);
            if (TBitmap* cache = data->CacheBmp())
                gdi::BitBlt(dc.Dc(), 0, 0, control->Width(), control->Height(), cache->Canvas()->Handle(), 0, 0,
                    gdi::SRCCOPY);
        }
    }
    user::EndPaint(wnd, &ps);
}

void KeepEditColors(TControl* control, TsCommonData* data, bool hot, bool fontToo) {
    TsSkinManager* manager = data->SkinManager();
    if (manager == nullptr || !manager->IsValidSkinIndex(data->SkinIndex)) return;
    const TsGeneralData& section = manager->Sections[std::size_t(data->SkinIndex)];
    const TColor color = hot ? section.HotColor : section.Color;
    if (!data->CustomColor() && control->Color() != color) control->SetColor(color);
    const TColor font = hot ? section.HotFontColor[1] : section.FontColor[1];
    if (fontToo && !data->CustomFont() && control->Font()->Color() != font) control->Font()->SetColor(font);
}

void RedrawClientAndFrame(TWinControl* control, bool now) {
    if (control == nullptr || !control->HandleAllocated() || control->ComponentState().Contains(csDestroying)) return;
    user::RedrawWindow(control->WindowHandle(), nullptr, nullptr,
        user::RDW_FRAME | user::RDW_INVALIDATE | user::RDW_NOCHILDREN | (now ? user::RDW_UPDATENOW : 0u));
}

void FollowHotChange(const TMessage& m, TWinControl* control, TsCommonData* data, bool wasHot) {
    switch (m.Msg) {
    case user::WM_SETFOCUS:
    case user::WM_KILLFOCUS:
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        break;
    default:
        return;
    }
    if (ControlDestroying(control) || data->IsHot() == wasHot) return;
    data->BGChanged = true;
    RedrawClientAndFrame(control);
}

TacStep EditSkinPrologue(TMessage& m, TCustomEdit* edit, TsCommonData* data, const TacEditCommandHooks& hooks,
    const std::function<void(TMessage&)>& base) {
    if (m.Msg == SM_SKINCMD && m.LParam == LPARAM(data->SkinManager())) {
        const int code = SkinCommandCode(m);
        if (code == SMC_NEWSKIN) {
            edit->SetBorderStyle(bsSingle);
            edit->SetCtl3D(true);
        }
        if (code == SMC_NEWSKIN || code == SMC_REMOVESKIN || code == SMC_REFRESH) {
            CommonWndProc(m, data);
            if (ControlDestroying(edit)) return TacStep::Done;
            if (code == SMC_NEWSKIN && hooks.NewSkin) hooks.NewSkin();
            if (code == SMC_REFRESH && hooks.Refresh) hooks.Refresh();
            if (code == SMC_REMOVESKIN) {
                if (hooks.Removing) hooks.Removing();
                // The native edit paints its own look, frame and bars from a fresh window.
                if (edit->HandleAllocated()) edit->Perform(CM_RECREATEWND, 0, 0);
            }
            return TacStep::Done;
        }
    }
    return SkinCommandRest(m, data, hooks.ParentUpdated, hooks.RenderCache, base);
}

TacStep SkinCommandRest(TMessage& m, TsCommonData* data, const std::function<void()>& parentUpdated,
    const std::function<void()>& renderCache, const std::function<void(TMessage&)>& base) {
    if (SkinCommandPrologue(m, data, TacFrameHooks {}) == TacStep::Done) return TacStep::Done;
    if (!PaintsSkinned(data)) {
        base(m);
        return TacStep::Done;
    }
    if (m.Msg != SM_SKINCMD) return TacStep::Continue;
    if (SkinCommandCode(m) == SMC_PARENTUPDATED) {
        if (data->Updating) {
            data->SetUpdating(false);
            if (parentUpdated) parentUpdated();
        }
        return TacStep::Done;
    }
    TacFrameHooks frame;
    frame.RenderCache = renderCache;
    SkinCommandWhenSkinned(m, data, frame);
    return TacStep::Done;
}

void PrintEditMessage(const TMessage& m, TWinControl* control, TsCommonData* data, bool fromCache,
    const std::function<void()>& prepare) {
    if (data->BGChanged && prepare) prepare();
    PrintEditSkin(control, data, reinterpret_cast<gdi::HDC>(m.WParam), m.LParam, fromCache, [control](gdi::HDC dc) {
        control->Perform(user::WM_PRINTCLIENT, WPARAM(dc), user::PRF_CLIENT);
    });
}

TPoint ClientOffsetInWindow(user::HWND window) {
    user::RECT r {};
    user::POINT origin {0, 0};
    if (window == nullptr || !user::GetWindowRect(window, &r) || !user::ClientToScreen(window, &origin)) return {0, 0};
    return {origin.x - r.left, origin.y - r.top};
}

void PrintEditSkin(TWinControl* control, TsCommonData* data, gdi::HDC dc, intptr_t flags, bool fromCache,
    const std::function<void(gdi::HDC)>& nativeClient) {
    TBitmap* cache = data->CacheBmp();
    if (dc == nullptr || cache == nullptr || !control->HandleAllocated()) return;
    gdi::SavedDc saved(dc);
    const TPoint client = ClientOffsetInWindow(control->WindowHandle());
    const bool frame = (flags & user::PRF_NONCLIENT) != 0;
    if (!frame) gdi::OffsetViewportOrgEx(dc, -client.x, -client.y, nullptr);   // window coordinates from here
    if (fromCache) {
        gdi::BitBlt(dc, 0, 0, control->Width(), control->Height(), cache->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
        return;
    }
    if (nativeClient) {
        gdi::SavedDc clientState(dc);
        gdi::OffsetViewportOrgEx(dc, client.x, client.y, nullptr);
        nativeClient(dc);
    }
    if (frame) BlitFrameStrips(control, cache, dc);
}

void BoundLabelUpkeep(const TMessage& m, TControl* control, TsBoundLabel* bound) {
    if (bound == nullptr || control == nullptr || bound->Label() == nullptr) return;
    if (control->ComponentState().Contains(csDestroying)) return;
    switch (m.Msg) {
    case CM_VISIBLECHANGED:
        bound->Label()->SetVisible(control->Visible());
        break;
    case CM_ENABLEDCHANGED:
        bound->Label()->SetEnabled(control->Enabled());
        break;
    case CM_BIDIMODECHANGED:
        bound->Label()->SetBiDiMode(control->BiDiMode());
        break;
    case user::WM_SIZE:
    case user::WM_WINDOWPOSCHANGED:
        break;
    default:
        return;
    }
    bound->AlignLabel();
}

}
