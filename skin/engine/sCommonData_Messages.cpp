// TsCommonData's message side: the skin command answers, the shared window messages, the cache blit.
#include "skin/engine/sCommonData.h"

#include "platform/classes/Colors.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TCustomEdit.h"
#include "platform/classes/TWinControl.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sPixelRows.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sUtils.h"

#include <cctype>

namespace korvex::skin {

using classes::TControl;
using classes::TMessage;
using classes::TWinControl;

namespace {

bool IsDestroying(const classes::TComponent* c) {
    return c->ComponentState().Contains(classes::csDestroying);
}

bool IsEdit(const TControl* c) {
    return dynamic_cast<const classes::TCustomEdit*>(c) != nullptr;
}

// Codes 1 to 3 act only on states whose effective manager sent them.
bool FromOwnManager(const TMessage& m, const TsCommonData* data) {
    return data->SkinManager() == reinterpret_cast<TsSkinManager*>(m.LParam);
}

const TsGeneralData* Section(const TsCommonData* data) {
    TsSkinManager* manager = data->SkinManager();
    if (manager == nullptr || !manager->IsValidSkinIndex(data->SkinIndex)) return nullptr;
    return &manager->Sections[std::size_t(data->SkinIndex)];
}

void RemoveSkin(TMessage& m, TsCommonData* data) {
    auto* manager = reinterpret_cast<TsSkinManager*>(m.LParam);
    if (manager != nullptr && IsDestroying(manager) && data->OwnSkinManager() == manager) data->SetSkinManager(nullptr);
    data->BorderIndex = data->SkinIndex = data->Texture = data->HotTexture = -1;
    data->Updating = true;
    if (data->CacheBmp() != nullptr) data->CacheBmp()->SetSize(0, 0);
    TControl* owner = data->OwnerControl();
    if (!IsEdit(owner)) return;
    if (!data->CustomColor()) owner->SetColor(classes::clWindow);
    if (!data->CustomFont()) owner->Font()->SetColor(classes::clWindowText);
}

void Refresh(TsCommonData* data) {
    data->BGChanged = true;
    data->Updating = false;
    if (data->Skinned() && IsEdit(data->OwnerControl())) data->ApplySectionColors();
}

void Moved(const TMessage& m, TsCommonData* data) {
    const bool varies = data->NeedsRepaintOnMove();
    data->BGChanged = data->BGChanged || varies;
    auto* win = dynamic_cast<TWinControl*>(data->OwnerControl());
    if (win == nullptr) return;
    if (SkinCommandArgument(m) == 1 && win->HandleAllocated())
        user::RedrawWindow(win->WindowHandle(), nullptr, nullptr,
            user::RDW_INVALIDATE | user::RDW_NOINTERNALPAINT | user::RDW_NOERASE | user::RDW_ALLCHILDREN);
    if (!varies) return;
    classes::TComponentWatch watch(win);
    for (int i = 0; watch.Alive() && i < win->ControlCount(); ++i) {
        TControl* child = win->Controls(i);
        if (!IsDestroying(child)) SendSkinCommandToControl(child, SMC_MOVED);   // low word 0: no second redraw
    }
}

// The colour of the parent under the owner: its answer to code 21, else its Color.
classes::TColor ParentColorOf(TControl* owner) {
    TWinControl* parent = owner->Parent();
    if (parent == nullptr) return classes::ColorToRGB(owner->Color());
    const classes::TColor answer = parent->HandleAllocated() ? AskColor(parent->WindowHandle()) : 0xFF00FF;
    if (answer != 0xFF00FF) return answer;
    return classes::ColorToRGB(parent->Color());
}

// The owner's answer to code 21; 0xFF00FF: none.
classes::TColor ColorAnswer(TsCommonData* data) {
    TControl* owner = data->OwnerControl();
    const TsGeneralData* section = data->Skinned() ? Section(data) : nullptr;
    if (section == nullptr) return owner != nullptr ? classes::ColorToRGB(owner->Color()) : classes::TColor(0xFF00FF);
    const int t = section->Transparency;
    if (t == 0 || owner == nullptr) return section->Color;
    const classes::TColor parent = ParentColorOf(owner);
    if (t == 100) return parent;
    classes::TColor answer = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int s = int((std::uint32_t(section->Color) >> shift) & 0xFF);
        const int p = int((std::uint32_t(parent) >> shift) & 0xFF);
        answer |= classes::TColor(std::uint32_t(detail::ClampToByte(s + (p - s) * t / 100)) << shift);
    }
    return answer;
}

std::string Upper(std::string s) {
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}

bool CommonMessage(TMessage& m, TsCommonData* data) {
    if (data == nullptr || m.Msg != SM_SKINCMD) return false;
    const int low = SkinCommandArgument(m);
    switch (SkinCommandCode(m)) {
    case SMC_NEWSKIN:
        if (FromOwnManager(m, data)) {
            data->Updating = true;
            data->UpdateIndexes();
        }
        return false;
    case SMC_REMOVESKIN:
        if (FromOwnManager(m, data)) RemoveSkin(m, data);
        return false;
    case SMC_REFRESH:
        if (FromOwnManager(m, data)) Refresh(data);
        return false;
    case SMC_GETCACHE: {
        TsParentCacheInfo answer;
        if (data->CacheBmp() != nullptr) FillCacheInfo(answer, data->CacheBmp(), 0, 0);
        AnswerCacheQuery(m, answer);
        return false;
    }
    case SMC_ISSKINNED:
        m.LParam = 1;
        return true;
    case SMC_SETUPDATING:
        data->Updating = low == 1;
        return false;
    case SMC_SETPAINTMARK:
        data->PaintMark = low == 1;
        return false;
    case SMC_ISUPDATING:
        m.LParam = data->BGChanged || data->IsUpdating() ? 1 : 0;
        return true;
    case SMC_ISCACHEINCOMPLETE:
        m.LParam = data->CacheIncomplete ? 1 : 0;
        return true;
    case SMC_CHANGEDIFTRANSPARENT:
        if (const TsGeneralData* s = Section(data); s && s->Transparency >= 1 && low == 1) data->BGChanged = true;
        return false;
    case SMC_REFRESHSECTION:
        if (Upper(data->SkinSection()) == RefreshSectionName) data->Invalidate();
        return false;
    case SMC_SETANIMCHILD:
        data->SetAnimChild(reinterpret_cast<TControl*>(m.LParam));
        return false;
    case SMC_SETBGCHANGED:
        data->BGChanged = true;
        return false;
    case SMC_ISBGFROMPARENT: {
        const TsGeneralData* s = Section(data);
        if (s == nullptr) return false;
        m.LParam = s->GradientPercent + s->ImagePercent > 0 || data->NeedsRepaintOnMove() ? 1 : 0;
        return true;
    }
    case SMC_MOVED:
        Moved(m, data);
        return false;
    case SMC_GETCOLOR:
        AnswerColorQuery(m, ColorAnswer(data));
        return true;
    case SMC_SETCACHEINCOMPLETE:
        data->CacheIncomplete = true;
        return false;
    default:
        return false;   // 16, 23 and 24 belong to the control; the rest have no meaning here
    }
}

namespace {

void Sized(TsCommonData* data) {
    // Only a skinned state may read its section: SkinIndex alone may be -1 or belong to no manager.
    if (!data->Skinned()) return;
    data->BGChanged = true;
    auto* win = dynamic_cast<TWinControl*>(data->OwnerControl());
    const TsGeneralData* section = Section(data);
    if (win == nullptr || section == nullptr || section->GradientPercent < 1) return;
    classes::TComponentWatch watch(win);
    for (int i = 0; watch.Alive() && i < win->ControlCount(); ++i) {
        TControl* child = win->Controls(i);
        const classes::TAnchors anchors = child->Anchors();
        if (IsDestroying(child) || anchors.Contains(classes::akRight) || anchors.Contains(classes::akBottom)) continue;
        child->Perform(SM_SKINCMD, SkinCommandWParam(SMC_MOVED, 1), 0);
    }
}

bool OwnMouseMessage(const TMessage& m, const TsCommonData* data) {
    return m.LParam == 0 || m.LParam == classes::LPARAM(data->OwnerControl());
}

}

bool CommonWndProc(TMessage& m, TsCommonData* data) {
    if (data == nullptr) return false;
    if (m.Msg == SM_SKINCMD) return CommonMessage(m, data);
    TControl* owner = data->OwnerControl();
    switch (m.Msg) {
    case user::WM_MOVE:
        if (owner != nullptr && data->NeedsRepaintOnMove())
            owner->Perform(SM_SKINCMD, SkinCommandWParam(SMC_MOVED, 1), 0);
        return false;
    case user::WM_SIZE:
        Sized(data);
        return false;
    case user::WM_SETFOCUS:
    case user::WM_KILLFOCUS:
        if (auto* win = dynamic_cast<TWinControl*>(owner); win && win->CanFocus() && win->TabStop()) {
            data->BGChanged = true;
            data->Focused = m.Msg == user::WM_SETFOCUS;
        }
        return false;
    case classes::CM_MOUSEENTER:
    case classes::CM_MOUSELEAVE:
        // Containers hear of their children's mouse too (LParam: the child); only the own one counts.
        if (owner == nullptr || owner->ComponentState().Contains(classes::csDesigning)) return false;
        if (!IsHoverlessKind(data->ControlKind) && OwnMouseMessage(m, data))
            data->MouseAbove = m.Msg == classes::CM_MOUSEENTER;
        return false;
    case classes::CM_ENABLEDCHANGED:
    case user::WM_FONTCHANGE:
        data->MouseAbove = false;
        data->Focused = false;
        return false;
    case user::WM_UPDATEUISTATE:
        return data->Skinned();
    default:
        return false;
    }
}

void BlitCacheExcludingChildren(TControl* control, TsCommonData* data, classes::TPoint source,
    classes::TPoint offset, bool paintFrame, gdi::HDC dc, const classes::TRect& rect) {
    if (control == nullptr || data == nullptr || data->CacheBmp() == nullptr || dc == nullptr) return;
    if (paintFrame) PaintFrameAllSides(data, 0);
    gdi::SavedDc saved(dc);
    gdi::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        const bool designing = control->ComponentState().Contains(classes::csDesigning);
        for (int i = 0; i < win->ControlCount(); ++i) {
            TControl* child = win->Controls(i);
            classes::TRect r = child->BoundsRect();
            gdi::OffsetRect(&r, offset.x, offset.y);
            classes::TRect overlap {};
            if (!child->Visible() || !gdi::IntersectRect(&overlap, &r, &rect)) continue;
            // Opaque and windowless children paint all of their rectangle afterwards (the windowless ones
            // composed over the cache); windowed transparent ones paint over the cache.
            const bool windowless = dynamic_cast<TWinControl*>(child) == nullptr;
            if (child->ControlStyle().Contains(classes::csOpaque) || windowless || designing)
                gdi::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
        }
    }
    gdi::BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
        data->CacheBmp()->Canvas()->Handle(), source.x, source.y, gdi::SRCCOPY);
}

}
