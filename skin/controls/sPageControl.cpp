// TsPageControl and TsTabSheet: construction, geometry, the tab scroller and the messages of both.
#include "skin/controls/sPageControl.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/controls/TabControl.h"
#include "platform/user/controls/UpDown.h"
#include "skin/controls/sEditFrame.h"
#include "skin/controls/sUpDown.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStyleSimply.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

constexpr int StripToFrame = 4;
constexpr user::UINT WM_UPDATESCROLLER = user::WM_APP + 141;   // posted after the window was made   // from the native page area to the frame's outer edge on the tab side

bool Empty(const TRect& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

bool Contains(const TRect& r, TPoint p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}

// ---- TsTabSkinData -------------------------------------------------------------------------------------------

TClass TsTabSkinData::StaticClass() {
    using T = TsTabSkinData;
    static const TClassInfo info = MakeClass<T, TPersistent>("TsTabSkinData", [](TPropertyBuilder<T>& p) {
        p.Bool("CustomColor", &T::CustomColor, &T::SetCustomColor, false);
        p.Bool("CustomFont", &T::CustomFont, &T::SetCustomFont, false);
        p.String("SkinSection", &T::SkinSection, &T::SetSkinSection);
    });
    return &info;
}

// ---- TsPageControl: construction -----------------------------------------------------------------------------

TsPageControl::TsPageControl(TComponent* owner)
    : TPageControl(owner), FCommonData(std::make_unique<TsCommonData>(this, true)) {
    FCommonData->ControlKind = TacControlKind::PageControl;
}

TsPageControl::~TsPageControl() = default;

TClass TsPageControl::StaticClass() {
    using T = TsPageControl;
    static const TClassInfo info = MakeClass<T, TPageControl>("TsPageControl", [](TPropertyBuilder<T>& p) {
        p.Object("SkinData", &T::SkinData);
        p.Set("AnimatEvents", &T::AnimatEvents, &T::SetAnimatEvents, AnimatEventIdents, TacAnimatEvents {aeGlobalDef});
    });
    return &info;
}

void TsPageControl::AfterConstruction() {
    TPageControl::AfterConstruction();
    FCommonData->Loaded();
}

void TsPageControl::Loaded() {
    TPageControl::Loaded();
    FCommonData->Loaded();
}

void TsPageControl::CreateWnd() {
    TPageControl::CreateWnd();
    // Controls cannot be freed while the children's windows are being made: the scroller follows a turn later.
    DestroyNativeScroller();
    user::PostMessage(WindowHandle(), WM_UPDATESCROLLER, 0, 0);
}

void TsPageControl::DestroyNativeScroller() {
    if (!HandleAllocated() || !FCommonData->Skinned(true)) return;
    for (user::HWND child = user::GetWindow(WindowHandle(), user::GW_CHILD); child != nullptr;) {
        const user::HWND next = user::GetWindow(child, user::GW_HWNDNEXT);
        if (user::GetClassName(child) == user::UPDOWN_CLASS && (FScroller == nullptr || child != FScroller->WindowHandle()))
            user::DestroyWindow(child);
        child = next;
    }
}

void TsPageControl::Notification(TComponent* component, TOperation operation) {
    TPageControl::Notification(component, operation);
    if (operation == opRemove && component == FScroller) FScroller = nullptr;
}

TsTabSheet* TsPageControl::ActivePage() const {
    return dynamic_cast<TsTabSheet*>(TPageControl::ActivePage());
}

// Set in code the active tab changes as by a click, rows and all: the strip follows it alike.
void TsPageControl::SetActivePage(TTabSheet* value) {
    TTabSheet* old = TPageControl::ActivePage();
    TPageControl::SetActivePage(value);
    if (TPageControl::ActivePage() != old && SkinnedNow()) {
        FHotTab = -1;
        ActiveChanged();
    }
}

bool TsPageControl::SkinnedNow() const {
    return PaintsSkinned(FCommonData.get());
}

int TsPageControl::VisibleTabCount() const {
    int n = 0;
    for (int i = 0; i < PageCount(); ++i)
        if (Pages(i)->TabVisible()) ++n;
    return n;
}

// ---- Geometry ------------------------------------------------------------------------------------------------

// The strip and the frame meet on one line beside the native page area D: the strip lies outside it, the frame
// within. Without tabs both are the whole control.
TRect TsPageControl::StripOrFrame(bool strip) const {
    TRect r {0, 0, Width(), Height()};
    if (TabCount() < 1) return r;
    const TRect d = DisplayRect();
    switch (TabPosition()) {
    case tpTop:
        (strip ? r.bottom : r.top) = d.top - StripToFrame;
        break;
    case tpBottom:
        (strip ? r.top : r.bottom) = d.bottom + 1;
        break;
    case tpLeft:
        (strip ? r.right : r.left) = d.left - 1;
        break;
    case tpRight:
        (strip ? r.left : r.right) = d.right + 1;
        break;
    }
    return r;
}

TRect TsPageControl::PageFrameRect() const {
    return StripOrFrame(false);
}

TRect TsPageControl::TabStripRect() const {
    return StripOrFrame(true);
}

TRect TsPageControl::NativeTabRect(int pageIndex) const {
    const TTabSheet* page = Pages(pageIndex);
    if (page == nullptr) return TRect {};
    const int tab = page->TabIndex();
    return tab < 0 ? TRect {} : TabRect(tab);
}

TRect TsPageControl::SkinTabRect(int pageIndex, bool active) const {
    if (Pages(pageIndex) == nullptr || PageCount() == 0 || TPageControl::ActivePage() == nullptr) return TRect {};
    TRect r = NativeTabRect(pageIndex);
    if (Style() != tsTabs || Empty(r)) return r;
    const int a = active ? 1 : 0;
    if (active) {
        r.bottom -= 1;
    } else {
        r.bottom += 3;
        r.right -= 1;
    }
    switch (TabPosition()) {
    case tpTop:
        r.left -= 2 * a, r.right += 2 * a, r.top -= a, r.bottom += a;
        r.bottom += 2;
        break;
    case tpBottom:
        r.left -= 2 * a, r.right += 2 * a, r.top -= a, r.bottom += a;
        r.top -= 2;
        r.bottom += active ? 1 : -3;
        break;
    case tpLeft:
        r.top -= 1, r.bottom += 1;
        r.right += 2;
        if (active) {
            r.left -= 1, r.top -= 1, r.right += 1, r.bottom += 1;
        } else {
            r.bottom -= 4;
            r.right += 2;
        }
        break;
    case tpRight:
        r.left -= 1, r.right += 1;
        r.left -= 1, r.right -= 1, r.top -= 1, r.bottom -= 1;
        if (active) {
            r.left -= 1, r.top -= 1, r.right += 1, r.bottom += 1;
            r.bottom += 3;
        } else {
            r.bottom -= 2;
        }
        break;
    }
    return r;
}

int TsPageControl::TabAtPoint(TPoint p) const {
    for (int i = 0; i < PageCount(); ++i)
        if (Pages(i)->TabVisible() && Contains(SkinTabRect(i, false), p)) return i;
    return -1;
}

int TsPageControl::TabRow(int pageIndex) const {
    const int rows = RowCount();
    if (rows < 2) return 1;
    const TRect r = NativeTabRect(pageIndex);
    const int w = std::max(1, int(r.right - r.left)), h = std::max(1, int(r.bottom - r.top));
    const TRect s = TabStripRect();
    switch (TabPosition()) {
    case tpTop:
        return (r.bottom + h / 2) / h;
    case tpLeft:
        return (r.right + w / 2) / w;
    case tpRight:
        return rows - (r.right - s.left + w / 2) / w + 1;
    case tpBottom:
        return rows - (r.bottom - s.top + h / 2) / h + 1;
    }
    return 1;
}

int TsPageControl::HiddenTabCount() const {
    // Side tabs always wrap into rows: they never scroll, and their right edges say nothing about it.
    if (!FCommonData->Skinned() || TabPosition() == tpLeft || TabPosition() == tpRight) return 0;
    const int available = Width() - (FScroller != nullptr ? FScroller->Width() : 0) - 3;
    int n = 0;
    for (int i = 0; i < PageCount(); ++i) {
        if (!Pages(i)->TabVisible()) continue;
        const TRect r = NativeTabRect(i);
        if (!Empty(r) && (r.right > available || r.right < 5)) ++n;
    }
    return n;
}

// ---- The tab scroller ----------------------------------------------------------------------------------------

void TsPageControl::FreeScroller() {
    // Cleared first: freeing it tells this control that its child list changed.
    delete std::exchange(FScroller, nullptr);
}

void TsPageControl::UpdateScroller() {
    if (ComponentState().Contains(csLoading) || ControlState().Contains(csCreating) || ControlDestroying(this)) return;
    if (!HandleAllocated()) return;
    if (!FCommonData->Skinned(true)) {
        FreeScroller();
        return;
    }
    // The native scroller goes; the tab control does not make it again.
    DestroyNativeScroller();
    const int n = Style() == tsTabs ? HiddenTabCount() : 0;
    if (n < 1 || MultiLine()) {
        FreeScroller();
        return;
    }
    if (FScroller != nullptr) {
        PositionScroller();
        return;
    }
    auto* scroller = new TsUpDown(this);
    FScroller = scroller;
    scroller->FreeNotification(this);
    scroller->SetVisible(false);
    scroller->SetOrientation(udHorizontal);
    scroller->SetBounds(0, 0, 2 * user::GetSystemMetrics(user::SM_CXHSCROLL), user::GetSystemMetrics(user::SM_CYHSCROLL));
    scroller->SetButtonSkin("BUTTON");
    scroller->SetParent(this);
    scroller->SetMax(HiddenTabCount());
    scroller->SetMin(0);
    scroller->SetIncrement(1);
    scroller->SetShowInaccessibility(false);
    PositionScroller();
    scroller->OnClick = [this](TObject*, TUDBtnType) { ScrollerClicked(); };
    scroller->SetVisible(true);
}

void TsPageControl::ScrollerClicked() {
    if (FScroller == nullptr || !HandleAllocated()) return;
    user::SendMessage(WindowHandle(), user::WM_HSCROLL, user::MAKEWPARAM(user::SB_THUMBPOSITION, FScroller->Position()), 0);
}

void TsPageControl::PositionScroller() {
    if (FScroller == nullptr) return;
    const int top = TabPosition() == tpTop ? 0 : Height() - FScroller->Height();
    FScroller->SetBounds(Width() - FScroller->Width(), top, FScroller->Width(), FScroller->Height());
    FScroller->SetMax(HiddenTabCount());
    // The native first shown tab: tabs, not pages, so that a hidden page does not shift it.
    int first = 0;
    for (int i = 0; i < PageCount(); ++i) {
        if (!Pages(i)->TabVisible()) continue;
        if (NativeTabRect(i).left > 0) break;
        ++first;
    }
    FScroller->SetPosition(first);
}

// ---- Messages ------------------------------------------------------------------------------------------------

TacFrameHooks TsPageControl::Hooks() {
    TacFrameHooks hooks;
    hooks.Container = true;
    hooks.RenderCache = [this] { RenderCache(); };
    return hooks;
}

void TsPageControl::UpdateActivePage() {
    FHotTab = -1;
    TPageControl::UpdateActivePage();
    if (SkinnedNow()) ActiveChanged();
    FTabSizeChanging = false;
}

bool TsPageControl::SkinCommand(TMessage& m) {
    TsCommonData* data = FCommonData.get();
    const bool ours = m.LParam == LPARAM(data->SkinManager());
    switch (SkinCommandCode(m)) {
    case SMC_NEWSKIN:
        if (!ours) return false;
        BroadcastToChildren(this, m);
        CommonWndProc(m, data);
        return true;
    case SMC_REMOVESKIN:
        if (!ours) return false;
        CommonWndProc(m, data);
        UpdateScroller();
        if (!ControlDestroying(this) && HandleAllocated()) {
            // The native tab control only makes its own scroller in a fresh window.
            RecreateWnd();
            user::RedrawWindow(WindowHandle(), nullptr, nullptr,
                user::RDW_INVALIDATE | user::RDW_ERASE | user::RDW_UPDATENOW | user::RDW_FRAME);
            BroadcastToChildren(this, m);
        }
        return false;
    case SMC_REFRESH:
        if (!ours) return false;
        CommonWndProc(m, data);
        if (!ControlDestroying(this) && HandleAllocated()) {
            user::RedrawWindow(WindowHandle(), nullptr, nullptr,
                user::RDW_INVALIDATE | user::RDW_ERASE | user::RDW_UPDATENOW | user::RDW_FRAME);
            Perform(user::WM_PAINT, 0, 0);
            UpdateScroller();
            if (FScroller != nullptr) FScroller->Repaint();
        }
        BroadcastToChildren(this, m);
        return true;
    case SMC_GETCACHE: {
        TsParentCacheInfo answer;
        if (SkinnedNow() && data->CacheBmp() != nullptr) FillCacheInfo(answer, data->CacheBmp(), 0, 0);
        AnswerCacheQuery(m, answer);
        return false;
    }
    case SMC_PARENTUPDATED:
        if (data->Updating) {
            data->SetUpdating(false);
            Perform(user::WM_PAINT, 0, 0);
            Perform(user::WM_NCPAINT, 0, 0);
        }
        return false;
    case SMC_ISSKINNED:
        m.LParam = 1;
        return false;
    case SMC_ISUPDATING:
        m.LParam = (data->IsUpdating() || FTabSizeChanging || data->BGChanged) ? 1 : 0;
        return true;
    default:
        return false;
    }
}

void TsPageControl::WndProc(TMessage& m) {
    TsCommonData* data = FCommonData.get();
    if (m.Msg == SM_SKINCMD) {
        if (SkinCommand(m)) return;
        if (SkinnedNow() && SkinCommandWhenSkinned(m, data, Hooks()) == TacStep::Done) return;
        TPageControl::WndProc(m);
        return;
    }
    if (m.Msg == WM_UPDATESCROLLER) {
        UpdateScroller();
        return;
    }
    if (m.Msg == CM_HINTSHOW && m.LParam != 0) {
        auto* info = reinterpret_cast<THintInfo*>(m.LParam);
        const int tab = TabAtPoint(info->CursorPos);
        if (tab >= 0) {
            const TPoint screen = ClientToScreen(info->CursorPos);
            info->HintPos = TPoint {screen.x + user::GetSystemMetrics(user::SM_CXCURSOR) / 2,
                screen.y + user::GetSystemMetrics(user::SM_CYCURSOR) / 2};
            info->HintStr = Pages(tab)->Hint();
            m.Result = 0;
            return;
        }
    }
    if (m.Msg == CN_NOTIFY && SkinnedNow() && m.LParam != 0) {
        const auto* header = reinterpret_cast<const user::NMHDR*>(m.LParam);
        if (header->code == user::TCN_SELCHANGING || header->code == user::TCN_SELCHANGE) PositionScroller();
    }
    if (!SkinnedNow()) {
        TPageControl::WndProc(m);
        return;
    }
    const bool designing = ControlDesigning(this);
    switch (m.Msg) {
    case user::WM_SETFOCUS:
    case user::WM_KILLFOCUS: {
        if (!Visible() || designing) break;
        // Focus changes never render the cache again.
        const bool changed = data->BGChanged;
        if (!CommonWndProc(m, data)) TPageControl::WndProc(m);
        data->BGChanged = changed;
        return;
    }
    case user::WM_MOUSEMOVE:
        if (!designing && HotTrack()) {
            TrackHotTab(TPoint {MessageX(m), MessageY(m)}, m);
            return;
        }
        break;
    case user::WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
        if (!designing && HotTrack()) LeaveHotTab();
        break;
    case user::WM_PAINT:
        SkinWMPaint(m);
        return;
    case user::WM_PRINT:
        Perform(user::WM_PAINT, m.WParam, m.LParam);
        return;
    case user::WM_ERASEBKGND:
        m.Result = 1;
        return;
    case user::WM_HSCROLL:
    case user::WM_STYLECHANGING:
    case user::WM_STYLECHANGED:
        data->BGChanged = true;
        Repaint();
        break;
    case user::TCM_SETITEMSIZE:
        FTabSizeChanging = true;
        break;
    case user::WM_NCPAINT:
        if (TPageControl::ActivePage() != nullptr) PaintFrameFromCache();
        break;
    default:
        break;
    }
    if (!CommonWndProc(m, data)) TPageControl::WndProc(m);
    if (!SkinnedNow()) return;
    switch (m.Msg) {
    case user::WM_SIZE:
    case CM_CONTROLLISTCHANGE:
        UpdateScroller();
        break;
    case user::WM_WINDOWPOSCHANGED:
        if (FTabSizeChanging) {
            // The tabs took their new size (a new style or window too): all is rendered again, the frame's
            // edge moves with the strip.
            FTabSizeChanging = false;
            data->BGChanged = true;
            Invalidate();
        }
        break;
    default:
        break;
    }
}

// ---- TsTabSheet ----------------------------------------------------------------------------------------------

TsTabSheet::TsTabSheet(TComponent* owner)
    : TTabSheet(owner), FSkinData(std::make_unique<TsTabSkinData>()) { }

TsTabSheet::~TsTabSheet() = default;

TClass TsTabSheet::StaticClass() {
    using T = TsTabSheet;
    static const TClassInfo info = MakeClass<T, TTabSheet>("TsTabSheet", [](TPropertyBuilder<T>& p) {
        p.Object("SkinData", &T::SkinData);
    });
    return &info;
}

TsPageControl* TsTabSheet::SkinnedPageControl() const {
    return dynamic_cast<TsPageControl*>(PageControl());
}

void TsTabSheet::CreateParams(TCreateParams& params) {
    TTabSheet::CreateParams(params);
    params.WindowClass.style &= ~(user::CS_HREDRAW | user::CS_VREDRAW);
}

void TsTabSheet::SkinPaint(TMessage& m) {
    TsPageControl* pc = SkinnedPageControl();
    TsCommonData* data = pc->FCommonData.get();
    user::PaintGuard paint(WindowHandle());
    if (data->IsUpdating() || data->CacheBmp() == nullptr) {
        data->SetUpdating(true);
        return;
    }
    // The whole page, whatever was due: a window DC when none is given.
    TacFrameDc frameDc(WindowHandle(), reinterpret_cast<gdi::HDC>(m.WParam));
    const gdi::HDC dc = frameDc.Dc();
    if (dc == nullptr) return;
    BlitCacheExcludingChildren(this, data, TPoint {Left(), Top()}, TPoint {0, 0}, false, dc, TRect {0, 0, Width(), Height()});
    ComposeGraphicChildren(dc, this);
    NotifyChildrenUpdated(this);
}

void TsTabSheet::WndProc(TMessage& m) {
    TsPageControl* pc = SkinnedPageControl();
    if (pc == nullptr || ControlDestroying(this)) {
        TTabSheet::WndProc(m);
        return;
    }
    TsCommonData* data = pc->SkinData();
    if (m.Msg == SM_SKINCMD) {
        const bool ours = m.LParam == LPARAM(data->SkinManager());
        switch (SkinCommandCode(m)) {
        case SMC_NEWSKIN:
            if (ours) BroadcastToChildren(this, m);
            return;
        case SMC_REMOVESKIN:
            if (!ours) break;
            Repaint();
            BroadcastToChildren(this, m);
            return;
        case SMC_REFRESH:
            if (!ours) break;
            if (Visible()) Repaint();
            BroadcastToChildren(this, m);
            return;
        case SMC_GETCACHE: {
            // The page control answers into the asker's slot; the sheet places the asker at its own corner.
            pc->Perform(SM_SKINCMD, SkinCommandWParam(SMC_GETCACHE), m.LParam);
            TsParentCacheInfo* slot = CacheQuerySlot(m);
            if (slot != nullptr && slot->Ready) {
                slot->X = Left();
                slot->Y = Top();
            }
            return;
        }
        case SMC_ISSKINNED:
            m.LParam = 1;
            return;
        case SMC_ISUPDATING: {
            TMessage q = MakeSkinCommand(SMC_ISUPDATING);
            pc->WindowProc(q);
            m.LParam = q.LParam;
            return;
        }
        case SMC_ISBGFROMPARENT: {
            TsSkinManager* sm = data->SkinManager();
            if (sm != nullptr && sm->IsValidSkinIndex(data->SkinIndex)) {
                const auto& section = sm->Sections[std::size_t(data->SkinIndex)];
                m.LParam = section.GradientPercent + section.ImagePercent >= 1 || data->NeedsRepaintOnMove() ? 1 : 0;
            } else {
                m.LParam = 0;
            }
            return;
        }
        case SMC_GETCOLOR:
            pc->Perform(m.Msg, m.WParam, m.LParam);
            return;
        default:
            break;
        }
        TTabSheet::WndProc(m);
        return;
    }
    if (pc->SkinnedNow()) {
        if (m.Msg == user::WM_ERASEBKGND) {
            m.Result = 1;
            return;
        }
        if (m.Msg == user::WM_PAINT) {
            SkinPaint(m);
            m.Result = 0;
            return;
        }
    }
    TTabSheet::WndProc(m);
}

}
