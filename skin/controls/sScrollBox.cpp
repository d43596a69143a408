// TsScrollBox: construction, skin commands, the skinned paint of its client area and its frame strips.
#include "skin/controls/sScrollBox.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TControlCanvas.h"
#include "platform/gdi/BitBlt.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Painting.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sStyleSimply.h"

namespace korvex::skin {

using namespace korvex::classes;

TsScrollBox::TsScrollBox(TComponent* owner)
    : TScrollingWinControl(owner)
    , FCommonData(std::make_unique<TsCommonData>(this, true))
    , FCanvas(std::make_unique<TControlCanvas>()) {
    FCommonData->ControlKind = TacControlKind::ScrollBox;
    FCanvas->SetControl(this);
    SetControlStyle(ControlStyle() + TControlStyle {csAcceptsControls});
    FBorderStyle = bsSingle;
    SetBounds(Left(), Top(), 185, 41);
}

TsScrollBox::~TsScrollBox() {
    FCanvas->SetControl(nullptr);
}

TClass TsScrollBox::StaticClass() {
    using T = TsScrollBox;
    static const TClassInfo info = MakeClass<T, TScrollingWinControl>("TsScrollBox", [](TPropertyBuilder<T>& p) {
        p.Enum("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, FormBorderStyleIdents, bsSingle);
        p.Object("SkinData", &T::SkinData);
        p.Bool("FullRepaint", &T::FullRepaint, &T::SetFullRepaint, false);
        p.Event("OnBeforeScroll", &T::OnBeforeScroll);
        p.Event("OnAfterScroll", &T::OnAfterScroll);
        p.Event("OnMouseWheelDown", &T::OnMouseWheelDown);
        p.Event("OnMouseWheelUp", &T::OnMouseWheelUp);
    });
    return &info;
}

TCanvas* TsScrollBox::Canvas() const {
    return FCanvas.get();
}

int TsScrollBox::FrameWidth() const {
    return FBorderStyle == bsSingle ? 2 : 0;
}

void TsScrollBox::AfterConstruction() {
    TScrollingWinControl::AfterConstruction();
    FCommonData->Loaded();
}

void TsScrollBox::Loaded() {
    TScrollingWinControl::Loaded();
    if (FSkinSetUp) return;
    SetUpSkin();
    if (FSkinSetUp && FSavedVertPos != 0 && FVertBar != nullptr) {
        FVertBar->SetPosition(FSavedVertPos);
        FSavedVertPos = 0;
    }
}

void TsScrollBox::SetParent(TWinControl* value) {
    TScrollingWinControl::SetParent(value);
    if (value != nullptr && !FSkinSetUp) SetUpSkin();
}

void TsScrollBox::SetUpSkin() {
    FCommonData->Loaded();
    if (!FCommonData->Skinned()) return;
    HideNativeBars();
    UpdateScrolls();
    FSkinSetUp = true;
}

void TsScrollBox::Notification(TComponent* component, TOperation operation) {
    TScrollingWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FVertBar) FVertBar = nullptr;
    if (component == FHorzBar) FHorzBar = nullptr;
}

// ---- Painting ----------------------------------------------------------------------------------------------
// The cache covers the whole window: the client area shows it from (f, f), the frame strips around that.

void TsScrollBox::RenderCache() {
    RenderContainerCache(this, FCommonData.get(), [this](TBitmap* cache) {
        if (OnPaint) OnPaint(cache);
    });
}

void TsScrollBox::PrepareCache() {
    TsCommonData* data = FCommonData.get();
    if (FSavedHorzPos != 0 && FHorzBar != nullptr) {
        const int saved = FSavedHorzPos;
        FSavedHorzPos = 0;
        FHorzBar->SetPosition(saved);
    }
    if (!data->BGChanged || data->PaintMark) return;
    RenderCache();
    // The bars show the box's cache through their see-through parts.
    for (TsScrollBar* bar : {FVertBar, FHorzBar})
        if (bar != nullptr) bar->Invalidate();
    data->BGChanged = false;
}

void TsScrollBox::PaintMessage() {
    TsCommonData* data = FCommonData.get();
    const user::HWND wnd = WindowHandle();
    user::PAINTSTRUCT ps {};
    user::BeginPaint(wnd, &ps);
    const base::ScopeExit ended([&] { user::EndPaint(wnd, &ps); });
    data->SetUpdating(data->IsUpdating());
    if (data->Updating || FScrolling) return;   // the parent sends SMC_PARENTUPDATED when it has painted
    const gdi::HDC dc = user::GetDC(wnd);
    if (dc == nullptr) return;
    const base::ScopeExit released([&] { user::ReleaseDC(wnd, dc); });
    FCanvas->Lock();
    FCanvas->SetHandle(dc);
    const base::ScopeExit unlocked([&] {
        FCanvas->SetHandle(nullptr);
        FCanvas->Unlock();
    });
    PrepareCache();
    const int f = FrameWidth();
    BlitCacheExcludingChildren(this, data, TPoint {f, f}, TPoint {0, 0}, false, dc,
        TRect {0, 0, Width() - 2 * f, Height() - 2 * f});
    ComposeGraphicChildren(dc, this);
    NotifyChildrenUpdated(this);
}

void TsScrollBox::PaintFrameStrips(gdi::HDC dc) {
    TBitmap* cache = FCommonData->CacheBmp();
    const int f = FrameWidth();
    if (cache == nullptr || dc == nullptr) return;
    const gdi::HDC src = cache->Canvas()->Handle();
    const int w = Width(), h = Height();
    struct Strip {
        int x, y, cx, cy;
    };
    const Strip strips[] = {
        {0, 0, f, h},   // left
        {f, 0, w - f, f},   // top
        {f, h - f, w - f, f},   // bottom
        {w - f, f, f, h - 2 * f},   // right
    };
    for (const Strip& s : strips)
        if (s.cx > 0 && s.cy > 0) gdi::BitBlt(dc, s.x, s.y, s.cx, s.cy, src, s.x, s.y, gdi::SRCCOPY);
}

void TsScrollBox::NcPaint() {
    if (!HandleAllocated()) return;
    TsCommonData* data = FCommonData.get();
    data->SetUpdating(data->IsUpdating());
    if (data->Updating || FScrolling) return;
    const user::HWND wnd = WindowHandle();
    const gdi::HDC dc = user::GetWindowDC(wnd);
    if (dc == nullptr) return;
    const base::ScopeExit released([&] { user::ReleaseDC(wnd, dc); });
    PrepareCache();
    PaintFrameAllSides(data, 0);
    PaintFrameStrips(dc);
    // The square between both bars shows the box's own skin.
    TBitmap* cache = data->CacheBmp();
    if (cache == nullptr || FVertBar == nullptr || FHorzBar == nullptr || !FVertBar->Visible() || !FHorzBar->Visible())
        return;
    const int f = FrameWidth();
    const int x = Width() - f - FVertBar->Width(), y = Height() - f - FHorzBar->Height();
    gdi::BitBlt(dc, x, y, FVertBar->Width(), FHorzBar->Height(), cache->Canvas()->Handle(), x, y, gdi::SRCCOPY);
}

// ---- Messages ----------------------------------------------------------------------------------------------

// The commands that come before everything else; true: handled.
bool TsScrollBox::SkinCommand(TMessage& m) {
    TsCommonData* data = FCommonData.get();
    const bool ours = m.LParam == LPARAM(data->SkinManager());
    switch (SkinCommandCode(m)) {
    case SMC_NEWSKIN:
        if (!ours) return false;
        BroadcastToChildren(this, m);
        if (data->SkinIndex < 0 && !ComponentState().Contains(csLoading)) HideNativeBars();
        CommonWndProc(m, data);
        return true;
    case SMC_REMOVESKIN:
        if (!ours) return false;
        BroadcastToChildren(this, m);
        CommonWndProc(m, data);
        if (ControlDestroying(this)) return true;
        data->BorderIndex = -1;
        data->SkinIndex = -1;
        if (!ControlDesigning(this) && !ComponentState().Contains(csLoading)) {
            FreeSkinBars();
            if (FNativeHidden) {
                FNativeHidden = false;
                VertScrollBar()->SetVisible(FSavedVertVisible);
                HorzScrollBar()->SetVisible(FSavedHorzVisible);
            }
        }
        if (HandleAllocated())
            user::RedrawWindow(WindowHandle(), nullptr, nullptr,
                user::RDW_INVALIDATE | user::RDW_FRAME | user::RDW_UPDATENOW);
        return true;
    case SMC_REFRESH:
        if (!ours) return false;
        CommonWndProc(m, data);
        if (HandleAllocated())
            user::RedrawWindow(WindowHandle(), nullptr, nullptr,
                user::RDW_INVALIDATE | user::RDW_UPDATENOW | user::RDW_FRAME);
        if (!ControlDesigning(this)) UpdateScrolls();
        BroadcastToChildren(this, m);
        return true;
    case SMC_PARENTUPDATED:
    case 18:
        data->Updating = false;
        Perform(user::WM_PAINT, 0, 0);
        Perform(user::WM_NCPAINT, 0, 0);
        return true;
    case SMC_ISSKINNED:
        m.LParam = 1;
        return true;
    case SMC_SETPAINTMARK:
        CommonWndProc(m, data);
        if (data->PaintMark) RenderCache();
        return true;
    default:
        return false;
    }
}

void TsScrollBox::WndProc(TMessage& m) {
    TsCommonData* data = FCommonData.get();
    if (m.Msg == SM_SKINCMD && SkinCommand(m)) return;
    if (!IsControlPaintable(this) || !data->Skinned(true)) {
        TScrollingWinControl::WndProc(m);
        return;
    }
    if (m.Msg == SM_SKINCMD) {
        switch (SkinCommandCode(m)) {
        case SMC_GETCACHE:
            // The cache is published with the client area's origin inside it.
            CommonMessage(m, data);
            if (TsParentCacheInfo* slot = CacheQuerySlot(m); slot != nullptr && slot->Ready) {
                slot->X = FrameWidth();
                slot->Y = FrameWidth();
            }
            return;
        case SMC_ISUPDATING:
            m.LParam = data->BGChanged || data->Updating ? 1 : 0;
            return;
        default:
            break;
        }
    }
    switch (m.Msg) {
    case user::WM_ERASEBKGND:
        m.Result = 1;
        return;
    case user::WM_PAINT:
        PaintMessage();
        m.Result = 0;
        return;
    case user::WM_NCPAINT:
        NcPaint();
        m.Result = 0;
        return;
    case user::WM_PRINT: {
        const gdi::HDC given = reinterpret_cast<gdi::HDC>(m.WParam);
        const gdi::HDC dc = given != nullptr ? given : user::GetWindowDC(WindowHandle());
        PrepareCache();
        PaintFrameStrips(dc);
        if (given == nullptr && dc != nullptr) user::ReleaseDC(WindowHandle(), dc);
        return;
    }
    case user::WM_HSCROLL:
    case user::WM_VSCROLL:
        if (ScrollMessage(m)) return;
        break;
    case user::WM_NCHITTEST:
        m.Result = user::DefWindowProc(WindowHandle(), m.Msg, m.WParam, m.LParam);
        return;
    case CM_FOCUSCHANGED:
        FocusInView(reinterpret_cast<TControl*>(m.LParam));
        break;
    case user::WM_PARENTNOTIFY: {
        const auto event = user::LOWORD(m.WParam);
        TScrollingWinControl::WndProc(m);
        if (event == user::WM_CREATE || event == user::WM_DESTROY) UpdateScrolls();
        return;
    }
    case CM_VISIBLECHANGED:
        data->BGChanged = true;
        TScrollingWinControl::WndProc(m);
        if (!FScrolling) UpdateScrolls();
        return;
    case CM_ENTER:
    case CM_EXIT:
        data->BeginUpdate();
        TScrollingWinControl::WndProc(m);
        data->EndUpdate();
        return;
    default:
        break;
    }
    if (!CommonWndProc(m, data)) TScrollingWinControl::WndProc(m);
    if (ControlDestroying(this) || !data->Skinned(true)) return;
    if (m.Msg == user::WM_SIZE && Visible()) {
        Perform(user::WM_NCPAINT, 0, 0);
        if (!FScrolling) UpdateScrolls();
    } else if (m.Msg == CM_CONTROLLISTCHANGE) {
        UpdateScrolls();
    }
}

}
