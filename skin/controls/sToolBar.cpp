// TsToolBar: the custom-draw handlers that paint the bar and its buttons from the skin, its messages.
#include "skin/controls/sToolBar.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TImageList.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/ToolBar.h"
#include "skin/controls/sPushControl.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sGlyphs.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sNinePart.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

constexpr int FirstButtonId = 1;   // the bar's native command ids are the button index plus this

// 0 normal (or only disabled), 2 pressed or checked, 1 any other state (hot).
int StateIndex(TCustomDrawState state) {
    if (state == TCustomDrawState {} || state == TCustomDrawState {cdsDisabled}) return 0;
    if (state.Contains(cdsSelected) || state.Contains(cdsChecked)) return 2;
    return 1;
}

bool IsSeparator(const TToolButton* button) {
    return button->Style() == tbsSeparator || button->Style() == tbsDivider;
}

}

TsToolBar::TsToolBar(TComponent* owner)
    : TToolBar(owner), FCommonData(std::make_unique<TsCommonData>(this, true)) {
    FCommonData->ControlKind = TacControlKind::ToolBar;
}

TsToolBar::~TsToolBar() = default;

TClass TsToolBar::StaticClass() {
    using T = TsToolBar;
    static const TClassInfo info = MakeClass<T, TToolBar>("TsToolBar", [](TPropertyBuilder<T>& p) {
        p.Object("SkinData", &T::SkinData);
        p.Set("BtnDisabledKind", &T::BtnDisabledKind, &T::SetBtnDisabledKind, DisabledKindIdents, DefaultDisabledKind);
    });
    return &info;
}

void TsToolBar::AfterConstruction() {
    TToolBar::AfterConstruction();
    FCommonData->Loaded();
    InstallHandlers();
}

void TsToolBar::Loaded() {
    TToolBar::Loaded();
    FCommonData->Loaded();
    InstallHandlers();
}

void TsToolBar::InstallHandlers() {
    // Handlers from form text are replaced: the skin draws the bar.
    OnAdvancedCustomDraw = [this](TToolBar*, const TRect& r, TCustomDrawStage stage, bool& defaultDraw) {
        BackgroundDraw(r, stage, defaultDraw);
    };
    if (ControlDesigning(this)) return;
    OnAdvancedCustomDrawButton = [this](TToolBar*, TToolButton* button, TCustomDrawState state,
                                     TCustomDrawStage stage, TTBCustomDrawFlags& flags, bool& defaultDraw) {
        ButtonDraw(button, state, stage, flags, defaultDraw);
    };
}

void TsToolBar::Notification(TComponent* component, TOperation operation) {
    TToolBar::Notification(component, operation);
    if (operation == opRemove && component == FDropDownButton) FDropDownButton = nullptr;
}

void TsToolBar::SetBtnDisabledKind(TsDisabledKind value) {
    if (value == FBtnDisabledKind) return;
    FBtnDisabledKind = value;
    Repaint();
}

// ---- Buttons ---------------------------------------------------------------------------------------------------

TRect TsToolBar::ButtonRect(int index) const {
    TRect r {};
    if (HandleAllocated())
        user::SendMessage(WindowHandle(), user::TB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

int TsToolBar::ButtonAtPoint(TPoint p) const {
    for (int i = 0; i < ButtonCount(); ++i) {
        const TRect r = ButtonRect(i);
        if (p.x < r.left || p.x >= r.right || p.y < r.top || p.y >= r.bottom) continue;
        const TToolButton* button = Buttons(i);
        return button == nullptr || IsSeparator(button) ? -1 : i;
    }
    return -1;
}

void TsToolBar::RepaintButton(int index) {
    TToolButton* button = Buttons(index);
    if (button == nullptr || !HandleAllocated()) return;
    // The button handler, at its pre-paint stage with an empty state, on a DC of the client area.
    const user::HWND wnd = WindowHandle();
    gdi::HDC dc = user::GetDC(wnd);
    if (dc == nullptr) return;
    {
        gdi::SavedDc saved(dc);
        TCanvas* canvas = Canvas();
        const gdi::HDC before = canvas->HandleAllocated() ? canvas->Handle() : nullptr;
        canvas->SetHandle(dc);
        const base::ScopeExit unbind([canvas, before] { canvas->SetHandle(before); });
        TTBCustomDrawFlags flags;
        bool defaultDraw = true;
        ButtonDraw(button, TCustomDrawState {}, cdPrePaint, flags, defaultDraw);
    }
    user::ReleaseDC(wnd, dc);
}

// ---- Painting --------------------------------------------------------------------------------------------------

TPoint TsToolBar::EdgeOffset() const {
    return ClientOffsetInWindow(this);
}

void TsToolBar::BackgroundDraw(const TRect& rect, TCustomDrawStage stage, bool& defaultDraw) {
    TsCommonData* data = FCommonData.get();
    if (!PaintsSkinned(data)) return;
    data->SetUpdating(data->IsUpdating());
    if (stage != cdPrePaint) {
        defaultDraw = false;
        return;
    }
    if (data->Updating) return;
    const gdi::HDC dc = Canvas()->Handle();
    if (data->CacheBmp() != nullptr) data->CacheBmp()->Canvas()->Font()->Assign(Font());
    if (data->BGChanged || data->CacheBmp() == nullptr) {
        const TsParentCacheInfo ci = GetParentCache(data);
        data->InitCacheBmp();
        if (data->CacheBmp() == nullptr) return;
        data->CacheBmp()->Canvas()->Font()->Assign(Font());
        RenderControlSkin(data, ci, false, 0, TRect {0, 0, Width(), Height()}, TPoint {Left(), Top()},
            data->CacheBmp(), false);
        data->BGChanged = false;
    }
    CopyCache(dc, rect);
    ComposeGraphicChildren(dc, this);
    NotifyChildrenUpdated(this);
    if (ClientWidth() != Width() || ClientHeight() != Height())
        user::SendMessage(WindowHandle(), user::WM_NCPAINT, 1, 0);
}

void TsToolBar::CopyCache(gdi::HDC dc, const TRect& rect) {
    TsCommonData* data = FCommonData.get();
    TBitmap* cache = data->CacheBmp();
    if (dc == nullptr || cache == nullptr) return;
    PaintFrameAllSides(data, 0);
    gdi::SavedDc saved(dc);
    gdi::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    // Opaque and windowless children are left out (the button stage draws the buttons); while designing, all.
    const bool designing = ControlDesigning(this);
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (!child->Visible()) continue;
        const bool windowless = dynamic_cast<TWinControl*>(child) == nullptr;
        if (designing && dynamic_cast<TToolButton*>(child) != nullptr) continue;
        if (!child->ControlStyle().Contains(csOpaque) && !windowless && !designing) continue;
        const TRect bounds = child->BoundsRect();
        if (bounds.right <= rect.left || bounds.left >= rect.right || bounds.bottom <= rect.top || bounds.top >= rect.bottom)
            continue;
        gdi::ExcludeClipRect(dc, child->Left(), child->Top(), child->Left() + child->Width(),
            child->Top() + child->Height());
    }
    const TPoint edge = EdgeOffset();
    gdi::BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, cache->Canvas()->Handle(),
        rect.left + edge.x, rect.top + edge.y, gdi::SRCCOPY);
}

void TsToolBar::ButtonDraw(TToolButton* button, TCustomDrawState state, TCustomDrawStage stage,
    TTBCustomDrawFlags& flags, bool& defaultDraw) {
    TsCommonData* data = FCommonData.get();
    if (!PaintsSkinned(data)) return;
    defaultDraw = false;
    if (stage != cdPrePaint || data->Updating || button == nullptr) return;
    flags.Include(tbNoEdges);
    flags.Include(tbNoEtchedEffect);
    PaintButton(button, state, Canvas()->Handle());
}

void TsToolBar::PaintButton(TToolButton* button, TCustomDrawState state, gdi::HDC target) {
    TsCommonData* data = FCommonData.get();
    TsSkinManager* manager = data->SkinManager();
    TBitmap* cache = data->CacheBmp();
    const int w = button->Width(), h = button->Height();
    if (manager == nullptr || target == nullptr || w < 1 || h < 1) return;
    if (!Flat() && !ControlDesigning(this) && button->Index() == FHotButton) state.Include(cdsHot);
    const int stateIndex = StateIndex(state);
    const TPoint edge = EdgeOffset();
    const TPoint at {button->Left() + edge.x, button->Top() + edge.y};
    TsParentCacheInfo here;
    if (cache != nullptr) FillCacheInfo(here, cache, at.x, at.y);

    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(w, h);
    b.Canvas()->Font()->Assign(Font());
    if (cache != nullptr)
        gdi::BitBlt(b.Canvas()->Handle(), 0, 0, w, h, cache->Canvas()->Handle(), at.x, at.y, gdi::SRCCOPY);

    const int section = manager->GetSkinIndex("TOOLBUTTON");
    TsParentCacheInfo ci;
    if (cache != nullptr) FillCacheInfo(ci, cache, 0, 0);
    FillSectionBackground(section, "TOOLBUTTON", ci, stateIndex, TRect {0, 0, w, h}, at, &b, manager, -1, -1, 0xFF00FF);

    const int dropWidth = button->Style() == tbsDropDown ? user::GetSystemMetrics(user::SM_CXVSCROLL) : 0;
    const int bodyWidth = std::max(0, w - dropWidth);
    const int border = manager->GetMaskIndex(section, "TOOLBUTTON", "BORDERSMASK");
    const bool hasBorder = manager->IsValidSkinIndex(section) && manager->IsValidImgIndex(border);
    if (hasBorder)
        PaintNinePartMask(&b, TRect {0, 0, bodyWidth, h}, true, false, stateIndex, manager->Masks[std::size_t(border)], here);

    const std::string& caption = button->Caption();
    if (ShowCaptions() && !caption.empty()) {
        TCanvas* canvas = b.Canvas();
        const bool images = Images() != nullptr;
        const int iw = images ? Images()->Width() : 0, ih = images ? Images()->Height() : 0;
        TRect box;
        if (List()) {
            box = TRect {images ? iw + 6 : 1, 2, bodyWidth - 2, h - 2};
        } else {
            const int tw = canvas->TextWidth(caption), th = canvas->TextHeight("A");
            const int x = (bodyWidth - tw) / 2;
            const int m = images ? (h - ih - th - 3) / 2 : (h - th) / 2;
            const int top = images ? ih + m + 3 : m;
            box = TRect {x - 1, top, bodyWidth - x + 2, h - m};
        }
        if (stateIndex == 2) box.left += 1, box.top += 1, box.right += 1, box.bottom += 1;
        OutputSkinnedText(canvas, caption, true, box, gdi::DT_CENTER, data, stateIndex >= 1);
    }

    if (Images() != nullptr && button->ImageIndex() >= 0 && button->ImageIndex() < Images()->Count())
        PaintToolButtonGlyph(this, button, state, &b);

    const int arrow = manager->ConstData.ScrollBtnGlyph[2];   // SCROLLBTNBOTTOM's arrow
    if (button->Style() == tbsDropDown && manager->IsValidImgIndex(arrow)) {
        const bool open = FDropDownButton == button && button->DropdownMenu() != nullptr;
        const int arrowState = button->Down() || open ? 2 : state.Contains(cdsHot) ? 1 : 0;
        if (hasBorder)
            PaintNinePartMask(&b, TRect {bodyWidth, 0, w, h}, true, false, arrowState, manager->Masks[std::size_t(border)], here);
        const TsMaskData& mask = manager->Masks[std::size_t(arrow)];
        const int aw = (mask.R.right - mask.R.left) / detail::ImageCountOf(mask);
        const int ah = (mask.R.bottom - mask.R.top) / (detail::MaskTypeOf(mask) + 1);
        DrawMaskStateImage(&b, TPoint {bodyWidth + 2 + (dropWidth - 3 - aw) / 2, (ButtonHeight() - ah) / 2}, arrowState,
            mask, 1);
    }

    if (!button->Enabled()) ApplyDisabledLook(&b, FBtnDisabledKind, this, at, ci);
    gdi::BitBlt(target, button->Left(), button->Top(), w, h, b.Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
}

void TsToolBar::NCPaintSkinned() {
    TsCommonData* data = FCommonData.get();
    data->SetUpdating(data->IsUpdating());
    if (ControlDestroying(this) || data->Updating) return;
    BlitNonClientBands(this, data);
}

// ---- Messages ------------------------------------------------------------------------------------------------

void TsToolBar::MouseMoved(TPoint p) {
    if (Flat() || ControlDesigning(this)) return;
    const int index = ButtonAtPoint(p);
    if (index == FHotButton) return;
    if (index >= 0 && !Buttons(index)->Enabled()) return;
    const int old = FHotButton;
    FHotButton = index;
    if (TToolButton* b = Buttons(old); b != nullptr && !b->Down()) RepaintButton(old);
    if (TToolButton* b = Buttons(index); b != nullptr && !b->Down()) RepaintButton(index);
}

void TsToolBar::MouseLeft() {
    if (Flat() || ControlDesigning(this)) return;
    const int old = FHotButton;
    FHotButton = -1;
    if (TToolButton* b = Buttons(old); b != nullptr && !b->Down()) RepaintButton(old);
}

void TsToolBar::DropDownClosed() {
    TToolButton* button = FDropDownButton;
    if (button == nullptr) return;
    FHotButton = -1;
    FDropDownButton = nullptr;
    RepaintButton(button->Index());
}

void TsToolBar::WndProc(TMessage& m) {
    TsCommonData* data = FCommonData.get();
    if (m.Msg == SM_SKINCMD && m.LParam == LPARAM(data->SkinManager())) {
        switch (SkinCommandCode(m)) {
        case SMC_NEWSKIN:
            BroadcastToChildren(this, m);
            CommonWndProc(m, data);
            return;
        case SMC_REMOVESKIN:
        case SMC_REFRESH:
            FDropDownButton = nullptr;
            CommonWndProc(m, data);
            BroadcastToChildren(this, m);
            if (ControlDestroying(this)) return;
            Repaint();
            if (HandleAllocated()) user::SendMessage(WindowHandle(), user::WM_NCPAINT, 1, 0);
            return;
        default:
            break;
        }
    }
    if (m.Msg == SM_SKINCMD) {
        switch (SkinCommandCode(m)) {
        case SMC_ISSKINNED:
            m.LParam = 1;
            return;
        case SMC_PARENTUPDATED:
            if (data->Updating) {
                data->SetUpdating(false);
                Repaint();
            }
            return;
        case SMC_GETCACHE: {
            if (!PaintsSkinned(data)) break;
            TsParentCacheInfo answer;
            if (data->CacheBmp() != nullptr) {
                const TPoint edge = EdgeOffset();
                FillCacheInfo(answer, data->CacheBmp(), edge.x, edge.y);
            }
            AnswerCacheQuery(m, answer);
            return;
        }
        default:
            break;
        }
    }
    if (!PaintsSkinned(data)) {
        TToolBar::WndProc(m);
        return;
    }
    if (SkinCommandWhenSkinned(m, data, TacFrameHooks {}) == TacStep::Done) return;
    switch (m.Msg) {
    case user::WM_ERASEBKGND:
        m.Result = 1;
        return;
    case user::WM_PRINT:
        PrintAsPaintMessages(this, m);
        return;
    case user::WM_NCPAINT:
        NCPaintSkinned();
        return;
    case CM_TEXTCHANGED:
        Repaint();
        return;
    case CN_NOTIFY: {
        const auto* header = reinterpret_cast<const user::NMHDR*>(m.LParam);
        if (header != nullptr && header->code == user::TBN_DROPDOWN) {
            const auto* nm = reinterpret_cast<const user::NMTOOLBAR*>(m.LParam);
            // The bar pops the button's menu up next and tells CN_DROPDOWNCLOSED when it has closed.
            if (TToolButton* button = Buttons(nm->iItem - FirstButtonId)) {
                FDropDownButton = button;
                RepaintButton(button->Index());
            }
        }
        break;
    }
    default:
        break;
    }
    if (!CommonWndProc(m, data)) TToolBar::WndProc(m);
    switch (m.Msg) {
    case CN_DROPDOWNCLOSED:
        DropDownClosed();
        break;
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
    case user::WM_SIZE:
        Repaint();
        break;
    case user::WM_MOUSEMOVE:
        MouseMoved(TPoint {short(m.LParam & 0xFFFF), short((m.LParam >> 16) & 0xFFFF)});
        break;
    case CM_MOUSELEAVE:
        if (m.LParam == 0) MouseLeft();
        break;
    default:
        break;
    }
}

}
