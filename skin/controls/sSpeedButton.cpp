// TsSpeedButton: properties, glyph and caption layout, cache rendering, state changes and the drop-down part.
#include "skin/controls/sSpeedButton.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBasicAction.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TMenu.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/Input.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sNinePart.h"
#include "skin/engine/sPixelRows.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

// Only one drop-down menu of any speed button is open at a time.
bool DropDownOpen = false;
TsSpeedButton* DropDownOwner = nullptr;

// The parent's cache under the control, pixel for pixel (both bitmaps are 24-bit), cut to both.
void CopyParentPixels(TBitmap* cache, const TsParentCacheInfo& at) {
    const detail::PixelView d = detail::View24(cache);
    const detail::PixelView src = detail::View24(at.Bmp);
    if (!d || !src) return;
    int dx = 0, dy = 0, sx = at.X, sy = at.Y, w = cache->Width(), h = cache->Height();
    if (!detail::ClipBlock(dx, dy, d.Width, d.Height, sx, sy, src.Width, src.Height, w, h)) return;
    for (int y = 0; y < h; ++y) std::memmove(d.At24(dx, dy + y), src.At24(sx, sy + y), std::size_t(w) * 3);
}

template <class V>
bool Store(V& field, V value) {
    if (field == value) return false;
    field = value;
    return true;
}

}

TRect SpeedButtonCaptionRect(const TacGlyphLayout& l, int textOffset, bool pressed) {
    const int gw = l.Glyph.cx;
    const int gh = l.Glyph.cy;
    const int tw = l.Text.cx;
    const int th = l.Text.cy;
    const bool across = l.Layout == blGlyphLeft || l.Layout == blGlyphRight;
    const int s = (across ? gw : gh) > 0 && tw > 0 ? l.Spacing : 0;
    const int gm = l.Margin < 0 ? 0 : l.Margin + 3;
    const int w = l.Width;
    const int h = l.Height;
    const int sp = gw > 0 ? l.Spacing : 0;
    TRect r {};
    if (across) {
        const int a = (w - gw - s - tw) / 2 - gm;
        r.top = (h - th) / 2;
        r.bottom = h - (h - th) / 2;
        if (l.Layout == blGlyphLeft) {
            if (l.Alignment == taLeftJustify) r = {gw + l.Margin + sp, r.top, w - gm - 2 * a, r.bottom};
            else if (l.Alignment == taRightJustify) r = {gm + 2 * a + gw + sp, r.top, w - gm, r.bottom};
            else r = {gw + gm + a + sp, r.top, w - gm - a, r.bottom};
        } else {
            const int x = l.Alignment == taLeftJustify ? gm : l.Alignment == taRightJustify ? gm + 2 * a : gm + a;
            r = {x, r.top, x + tw, r.bottom};
        }
    } else {
        const int b = (h - gh - s - th) / 2 - gm;
        r.left = (w - tw) / 2;
        r.right = w - (w - tw) / 2;
        if (l.Layout == blGlyphTop) {
            r.top = gh + gm + b + s;
            r.bottom = h - b - gm;
        } else {
            r.top = gm + b;
            r.bottom = h - b - gm - gh - s;
        }
    }
    r.left -= 1;
    r.right += 2;
    r.left += textOffset;
    r.right += textOffset;
    if (pressed) {
        r.left += 1;
        r.right += 1;
        r.top += 1;
        r.bottom += 1;
    }
    return r;
}

// ---- Construction and properties ---------------------------------------------------------------------------

TsSpeedButton::TsSpeedButton(TComponent* owner)
    : TsGlyphImages(owner), FSkinData(std::make_unique<TsCommonData>(this, true)) {
    FSkinData->ControlKind = TacControlKind::SpeedButton;
    // A new glyph renders the cache again.
    Glyph()->OnChange = [this, previous = Glyph()->OnChange](TObject* sender) {
        if (previous) previous(sender);
        const TComponentState cs = ComponentState();
        if (!cs.Contains(csLoading) && !cs.Contains(csDestroying) && !ControlState().Contains(csCreating))
            FSkinData->Invalidate();
    };
}

TsSpeedButton::~TsSpeedButton() {
    Glyph()->OnChange = nullptr;
    DropAnimation();
    if (DropDownOwner == this) DropDownOwner = nullptr;
}

TClass TsSpeedButton::StaticClass() {
    static const TClassInfo info = MakeClass<TsSpeedButton, TSpeedButton>("TsSpeedButton", [](auto& p) {
        p.Object("SkinData", &TsSpeedButton::SkinData);
        p.Set("DisabledKind", &TsSpeedButton::DisabledKind, &TsSpeedButton::SetDisabledKind, DisabledKindIdents,
            DefaultDisabledKind);
        p.Set("DisabledGlyphKind", &TsSpeedButton::DisabledGlyphKind, &TsSpeedButton::SetDisabledGlyphKind,
            DisabledGlyphKindIdents, DefaultDisabledGlyphKind);
        p.Bool("Grayed", &TsSpeedButton::Grayed, &TsSpeedButton::SetGrayed, false);
        p.Int("Blend", &TsSpeedButton::Blend, &TsSpeedButton::SetBlend, 0);
        p.Int("TextOffset", &TsSpeedButton::TextOffset, &TsSpeedButton::SetTextOffset, 0);
        p.Int("ImageIndex", &TsSpeedButton::ImageIndex, &TsSpeedButton::SetImageIndex, -1);
        p.Component("Images", &TsSpeedButton::Images, &TsSpeedButton::SetImages);
        p.Bool("ShowCaption", &TsSpeedButton::ShowCaption, &TsSpeedButton::SetShowCaption, true);
        p.Enum("Alignment", &TsSpeedButton::Alignment, &TsSpeedButton::SetAlignment, AlignmentIdents, taCenter);
        p.Enum("ButtonStyle", &TsSpeedButton::ButtonStyle, &TsSpeedButton::SetButtonStyle, ToolButtonStyleIdents,
            tbsButton);
        p.Component("DropdownMenu", &TsSpeedButton::DropdownMenu, &TsSpeedButton::SetDropdownMenu);
        p.Bool("DrawOverBorder", &TsSpeedButton::DrawOverBorder, &TsSpeedButton::SetDrawOverBorder, true);
        p.Enum("TextAlignment", &TsSpeedButton::TextAlignment, &TsSpeedButton::SetTextAlignment, AlignmentIdents,
            taCenter);
        p.Set("AnimatEvents", &TsSpeedButton::AnimatEvents, &TsSpeedButton::SetAnimatEvents, AnimatEventIdents,
            TacAnimatEvents {aeGlobalDef});
    });
    return &info;
}

void TsSpeedButton::AfterConstruction() {
    TSpeedButton::AfterConstruction();
    FSkinData->Loaded();
    if (FSkinData->Skinned()) SetControlStyle(ControlStyle() + TControlStyle {csOpaque});
}

void TsSpeedButton::Loaded() {
    TSpeedButton::Loaded();
    FSkinData->Loaded();
    if (FSkinData->Skinned()) SetControlStyle(ControlStyle() + TControlStyle {csOpaque});
    RebuildGlyphFromImages();
}

void TsSpeedButton::Changed() {
    FSkinData->BGChanged = true;
    Redraw();
}

void TsSpeedButton::SetDisabledKind(TsDisabledKind value) {
    if (Store(FDisabledKind, value)) Changed();
}

void TsSpeedButton::SetTextOffset(int value) {
    if (Store(FTextOffset, value)) Changed();
}

void TsSpeedButton::SetShowCaption(bool value) {
    if (Store(FShowCaption, value)) Changed();
}

void TsSpeedButton::SetAlignment(TAlignment value) {
    if (Store(FAlignment, value)) Changed();
}

void TsSpeedButton::SetButtonStyle(TToolButtonStyle value) {
    if (FButtonStyle == value) return;
    if (!ComponentState().Contains(csLoading)) {
        if (value == tbsDropDown)
            SetWidth(Width() + SpeedDropDownWidth);
        else if (FButtonStyle == tbsDropDown)
            SetWidth(std::max(0, Width() - SpeedDropDownWidth));
    }
    FButtonStyle = value;
    Changed();
}

void TsSpeedButton::SetDropdownMenu(TPopupMenu* value) {
    if (FDropdownMenu == value) return;
    if (FDropdownMenu != nullptr) FDropdownMenu->RemoveFreeNotification(this);
    FDropdownMenu = value;
    if (value != nullptr) value->FreeNotification(this);
}

void TsSpeedButton::SetDrawOverBorder(bool value) {
    if (Store(FDrawOverBorder, value)) Changed();
}

void TsSpeedButton::SetTextAlignment(TAlignment value) {
    FTextAlignment = value;
    FSkinData->BGChanged = true;
    Repaint();
}

void TsSpeedButton::Notification(TComponent* component, TOperation operation) {
    TsGlyphImages::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FDropdownMenu) FDropdownMenu = nullptr;
}

// ---- State and layout ----------------------------------------------------------------------------------------

bool TsSpeedButton::BasePressed() const {
    return State() == sbsDown || State() == sbsExclusive;
}

int TsSpeedButton::CurrentState() const {
    if (BasePressed()) return 2;
    return FSkinData->IsHot() ? 1 : 0;
}

TacGlyphLayout TsSpeedButton::LayoutNow() const {
    TacGlyphLayout l;
    l.Width = Width() - DropDownWidth();
    l.Height = Height();
    const TBitmap* glyph = Glyph();
    if (glyph != nullptr && glyph->Width() > 0)
        l.Glyph = {glyph->Width() / std::max(1, NumGlyphs()), glyph->Height()};
    else if (Images() != nullptr && ImageIndex() >= 0)
        l.Glyph = {Images()->Width(), Images()->Height()};
    l.Layout = Layout();
    l.Alignment = FAlignment;
    l.Margin = Margin();
    l.Spacing = Spacing();
    if (FShowCaption && !Caption().empty()) {
        const int room = l.Width - 2 * Margin() - (l.Glyph.cx != 0 ? l.Glyph.cx + Spacing() : 0);
        if (TBitmap* cache = FSkinData->CacheBmp()) {
            cache->Canvas()->Font()->Assign(Font());
            l.Text = ButtonCaptionSize(cache->Canvas(), Caption(), room);
        }
    }
    if (!FShowCaption || Caption().empty()) l.Spacing = 0;
    return l;
}

TRect TsSpeedButton::GlyphRect() const {
    return BitBtnGlyphRect(LayoutNow(), BasePressed());
}

TRect TsSpeedButton::CaptionRect() const {
    return SpeedButtonCaptionRect(LayoutNow(), FTextOffset, BasePressed());
}

// ---- Painting ------------------------------------------------------------------------------------------------

void TsSpeedButton::PaintCaption(TBitmap* cache) {
    if (!FShowCaption || Caption().empty()) return;
    TCanvas* canvas = cache->Canvas();
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsClear);
    TRect r = CaptionRect();
    OutputSkinnedText(canvas, Caption(), true, r,
        DrawTextBiDiModeFlags(TextAlignFlags(this, FTextAlignment) | gdi::DT_WORDBREAK | gdi::DT_EXPANDTABS),
        FSkinData.get(), CurrentState() != 0);
}

void TsSpeedButton::PaintGlyph(TBitmap*) {
    PaintSpeedButtonGlyph(ButtonGlyph(*this, FSkinData.get(), GlyphRect()));
}

void TsSpeedButton::PrepareCacheOver(TColor under) {
    TsCommonData* data = FSkinData.get();
    TBitmap* cache = ControlSizedCache(this, data);
    TsParentCacheInfo ci = GetParentCache(data);
    if (ci.Ready && (ci.Bmp == nullptr || ci.Bmp->Width() == 0)) return;
    ci.ParentColor = under;
    const int w = Width() - DropDownWidth();
    const TPoint at {Left(), Top()};
    TsSkinManager* manager = data->SkinManager();
    TsParentCacheInfo here = ci;   // the cache's pixels map to the parent's cache at the control's position
    here.X += Left();
    here.Y += Top();
    // The parent's cache under the button, else its colour.
    auto parentBackground = [&] {
        if (ci.Ready) {
            CopyParentPixels(cache, here);
        } else if (Parent() != nullptr) {
            cache->Canvas()->Brush()->SetStyle(bsSolid);
            cache->Canvas()->Brush()->SetColor(Parent()->Color());
            cache->Canvas()->FillRect(TRect {0, 0, Width(), Height()});
        }
    };
    if (FButtonStyle == tbsSeparator || FButtonStyle == tbsDivider) {
        parentBackground();
        if (FButtonStyle == tbsDivider && manager != nullptr) {
            const int index = manager->GetMaskIndex(manager->GetSkinIndex("DIVIDER"), "DIVIDER", "BORDERSMASK");
            if (manager->IsValidImgIndex(index)) {
                const int fw = manager->GetMaskFrameSize(index).cx;
                PaintNinePartMask(cache, TRect {(Width() - fw) / 2, 1, (Width() + fw) / 2, Height() - 2}, true, false,
                    0, manager->Masks[std::size_t(index)], here);
            }
        }
    } else {
        const TColor parentAnswer = ci.Ready || Parent() == nullptr ? TColor(0xFF00FF) : ColorToRGB(Parent()->Color());
        auto border = [&](int st, const TRect& r) {
            if (manager != nullptr && manager->IsValidImgIndex(data->BorderIndex))
                PaintNinePartMask(cache, r, false, false, st, manager->Masks[std::size_t(data->BorderIndex)], here);
        };
        // The section over r for state, under the caption and glyph (paint) or with its border over them.
        auto face = [&](int st, const TRect& r, const TPoint& pos, const std::function<void()>& paint) {
            TsParentCacheInfo info = ci;
            info.ParentAnswer = parentAnswer;
            if (FDrawOverBorder) {
                RenderControlSkin(data, info, true, st, r, pos, cache, true);
                if (paint) paint();
            } else {
                FillControlBackground(data, info, st, r, pos, cache);
                if (paint) paint();
                border(st, r);
            }
        };
        face(CurrentState(), TRect {0, 0, w, Height()}, at, [&] {
            PaintCaption(cache);
            PaintGlyph(cache);
        });
        // The rendered skin leaves neither colour behind; the plain background leaves the answer.
        if (FDrawOverBorder)
            ci.ParentColor = ci.ParentAnswer = 0xFF00FF;
        else
            ci.ParentAnswer = parentAnswer;
        if (FButtonStyle == tbsDropDown) {
            const int arrowState = FMenuShown || Down() || BasePressed() ? 2 : data->IsHot() ? 1 : 0;
            const TRect part {w, 0, Width(), Height()};
            face(arrowState, part, TPoint {Left() + w, Top()}, nullptr);
            const int arrow = manager != nullptr
                ? manager->GetMaskIndex(manager->GetSkinIndex("SCROLLBTNBOTTOM"), "SCROLLBTNBOTTOM", "GLYPHMASK") : -1;
            if (manager != nullptr && manager->IsValidImgIndex(arrow)) {
                const TsMaskData& mask = manager->Masks[std::size_t(arrow)];
                const int iw = (mask.R.right - mask.R.left) / std::max(1, detail::ImageCountOf(mask));
                const int ih = (mask.R.bottom - mask.R.top) / (detail::MaskTypeOf(mask) + 1);
                DrawMaskStateImage(cache, TPoint {w + (SpeedDropDownWidth - iw) / 2 + 1, (Height() - ih) / 2},
                    arrowState, mask, 1);
            }
        }
    }
    if (!Enabled()) {
        if (ci.Ready && ci.Bmp != nullptr && !data->NeedsRepaintOnMove() && !data->PaintMark)
            ci.ParentAnswer = ci.Bmp->Canvas()->Pixels(here.X + Width() / 2, here.Y + Height() / 2);
        ApplyDisabledLook(cache, FDisabledKind, this, at, ci);
    }
    if (OnPaint) OnPaint(this, cache);
    data->BGChanged = false;
}

void TsSpeedButton::Paint() {
    PaintOver(TransparentSkinColor);
}

void TsSpeedButton::PaintOver(TColor under) {
    TsCommonData* data = FSkinData.get();
    if (!data->Skinned() || !IsControlPaintable(this)) {
        TSpeedButton::Paint();
        return;
    }
    if (Width() < 1 || Height() < 1) return;
    if (ShowsFrame()) {
        gdi::BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), FAnimTimer->FrameImage()->Canvas()->Handle(), 0, 0,
            gdi::SRCCOPY);
        return;
    }
    if (data->CacheIncomplete || Down() != FRenderedDown) data->BGChanged = true;
    data->CacheIncomplete = data->NeedsRepaintOnMove();
    if (!data->BGChanged && (NumGlyphs() != FRenderedNumGlyphs || Spacing() != FRenderedSpacing)) data->BGChanged = true;
    FRenderedDown = Down();
    FRenderedNumGlyphs = NumGlyphs();
    FRenderedSpacing = Spacing();
    const bool prepare = data->BGChanged && !data->PaintMark;
    // A parent still updating paints its windowless children itself when it has painted.
    if (prepare && Parent() != nullptr && Parent()->HandleAllocated() && QuerySkinCommand(Parent(), SMC_ISUPDATING))
        return;
    if (prepare) PrepareCacheOver(under);
    // A colour of its own, not re-rendered here, keeps the corners on the parent's cache.
    PaintFrameAllSides(data, 0, prepare || under == TransparentSkinColor ? TsAskParentColor::Yes : TsAskParentColor::No);
    if (TBitmap* cache = data->CacheBmp())
        gdi::BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), cache->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
}

void TsSpeedButton::Redraw() {
    const TComponentState cs = ComponentState();
    if (cs.Contains(csLoading) || cs.Contains(csDestroying) || Parent() == nullptr || !Parent()->HandleAllocated()
        || !Visible())
        return;
    TMessage set = MakeSkinCommand(SMC_SETANIMCHILD, 0, reinterpret_cast<LPARAM>(this));
    Parent()->Perform(set);
    Repaint();
    TMessage clear = MakeSkinCommand(SMC_SETANIMCHILD, 0, 0);
    if (Parent() != nullptr) Parent()->Perform(clear);
}

// ---- State changes -------------------------------------------------------------------------------------------

void TsSpeedButton::ChangeState(TacAnimatEvent event) {
    const bool half = event == aeMouseDown || event == aeMouseUp;
    if (AnimatEventEnabled(event, FAnimatEvents) && Fades() && !FSkinData->BGChanged) {
        FSkinData->BGChanged = true;
        if (StartAnimation(half)) return;
    }
    FSkinData->BGChanged = true;
    if (!ControlDestroying(this) && !ControlDesigning(this)) DropAnimation();
    Redraw();
}

bool TsSpeedButton::Fades() const {
    const TsCommonData* data = FSkinData.get();
    if (!data->Skinned() || SkinChanging || CalcPopupCreating) return false;
    return data->SkinManager()->Sections[std::size_t(data->SkinIndex)].FadingEnabled;
}

bool TsSpeedButton::StartAnimation(bool half) {
    if (ControlDesigning(this) || ControlDestroying(this)) return false;
    // A running animation hands over: the new one starts at the number of frames the old one had still to
    // show, so a reversal carries on from the picture on screen (the cache holds the old one's target).
    int step = 1;
    if (FAnimTimer != nullptr && FAnimTimer->FrameImage()->Width() > 0)
        step = std::max(1, FAnimTimer->Iterations - (FAnimTimer->Step - 1));
    DropAnimation();
    if (!Fades()) return false;
    TsCommonData* data = FSkinData.get();
    data->InitCacheBmp();
    auto* timer = Create<TsAnimTimer>(this);
    timer->SetEnabled(false);
    timer->Prepare(data);
    if (half) timer->Iterations /= 2;
    timer->Step = step;
    timer->StartImage()->Assign(data->CacheBmp());
    FAnimTimer = timer;
    classes::TComponentWatch self(this);
    Perform(SM_SKINCMD, SkinCommandWParam(SMC_PREPAREFADE), 0);   // co_ the new look (OnPaint may free us)
    if (!self.Alive() || FAnimTimer != timer) return true;
    PaintFrameAllSides(data, 1);
    timer->SetEnabled(true);
    timer->MakeStep();   // co_
    return true;
}

bool TsSpeedButton::DropAnimation() {
    TsAnimTimer* timer = std::exchange(FAnimTimer, nullptr);
    if (timer == nullptr) return false;
    timer->SetEnabled(false);
    if (!timer->ComponentState().Contains(csDestroying)) timer->Free();   // one being destroyed goes with us
    return true;
}

void TsSpeedButton::StopAnimation() {
    if (ControlDestroying(this) || ControlDesigning(this)) return;
    // The screen shows a frame, or still the old look when none was painted: the cache goes up again.
    if (!DropAnimation()) return;
    FSkinData->BGChanged = true;
    Redraw();
}

bool TsSpeedButton::ShowsFrame() const {
    if (FAnimTimer == nullptr) return false;
    const TBitmap* frame = FAnimTimer->FrameImage();
    return frame->Width() == Width() && frame->Height() == Height();
}

// ---- Drop-down -----------------------------------------------------------------------------------------------

void TsSpeedButton::ShowDropDown() {
    DropDownOwner = this;
    if (Application != nullptr) {
        FSavedShowHint = Application->ShowHint();
        FHintSaved = true;
        Application->SetShowHint(false);   // no hints while the menu is held open
    }
    StopAnimation();
    if (DropDownOpen) return;
    DropDownOpen = true;
    FMenuShown = true;
    FSkinData->BGChanged = true;
    if (!OnClick) SetState(sbsDown);
    Redraw();
    FDropdownMenu->SetPopupComponent(this);
    const TPoint p = ClientToScreen(TPoint {0, Height() + 1});
    classes::TComponentWatch watch(this);
    FDropdownMenu->Popup(p.x, p.y);   // returns when the menu is closed
    DropDownOpen = false;
    if (!watch.Alive()) return;
    FMenuShown = false;
    DropDownOwner = nullptr;
    // The menu took the release that would have ended the press.
    RestoreShowHint();
    user::POINT cursor {};
    user::GetCursorPos(&cursor);
    const TPoint local = ScreenToClient(TPoint {cursor.x, cursor.y});
    if (local.x < 0 || local.y < 0 || local.x >= Width() || local.y >= Height()) Perform(CM_MOUSELEAVE, 0, 0);
    if (!OnClick) SetState(sbsUp);
    Changed();
}

void TsSpeedButton::RestoreShowHint() {
    if (!FHintSaved) return;
    FHintSaved = false;
    if (Application != nullptr) Application->SetShowHint(FSavedShowHint);
}

void TsSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && Enabled() && FButtonStyle == tbsDropDown && FDropdownMenu != nullptr
        && !(x <= Width() - SpeedDropDownWidth && OnClick)) {
        ShowDropDown();
        return;
    }
    TSpeedButton::MouseDown(button, shift, x, y);
}

void TsSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (FButtonStyle == tbsDropDown) {
        FMenuShown = false;
        if (DropDownOwner == this) DropDownOwner = nullptr;
        RestoreShowHint();
    }
    TSpeedButton::MouseUp(button, shift, x, y);
}

// ---- Messages ------------------------------------------------------------------------------------------------

bool TsSpeedButton::SkinCommand(TMessage& m) {
    TsCommonData* data = FSkinData.get();
    const int code = SkinCommandCode(m);
    const bool own = reinterpret_cast<TsSkinManager*>(m.LParam) == data->SkinManager();
    const bool listed = Images() != nullptr && GetImageCount(Images()) > 0;
    if (code == SMC_NEWSKIN && own) {
        if (listed) Glyph()->SetSize(0, 0);   // the skin paints the list's image itself
        CommonWndProc(m, data);
        if (data->Skinned()) SetControlStyle(ControlStyle() + TControlStyle {csOpaque});
        return true;
    }
    if (code == SMC_REMOVESKIN && own) {
        if (ControlDestroying(this)) return true;
        CommonWndProc(m, data);
        RebuildGlyphFromImages();
        SetControlStyle(ControlStyle() - TControlStyle {csOpaque});
        Repaint();
        return true;
    }
    if (code == SMC_REFRESH && own) {
        CommonWndProc(m, data);
        if (Visible()) Repaint();
        return true;
    }
    switch (code) {
    case SMC_PARENTUPDATED:
        return true;   // the parent's own paint draws this windowless button
    case SMC_ISSKINNED:
        m.LParam = 1;
        return true;
    case SMC_STOPFADING:
        StopAnimation();
        return true;
    default:
        break;
    }
    if (!IsControlPaintable(this) || !data->Skinned()) return false;
    switch (code) {
    case SMC_SETPAINTMARK:
        CommonWndProc(m, data);
        if (data->PaintMark) PrepareCacheOver(TransparentSkinColor);
        return true;
    case SMC_ISUPDATING:
        m.LParam = data->IsUpdating() ? 1 : 0;
        return true;
    case SMC_REFRESHSECTION:
        Redraw();
        return true;
    case SMC_PREPAREFADE:
        PrepareCacheOver(TransparentSkinColor);
        return true;
    default:
        CommonWndProc(m, data);
        return true;
    }
}

void TsSpeedButton::WndProc(TMessage& m) {
    TsCommonData* data = FSkinData.get();
    if (m.Msg == SM_SKINCMD) {
        if (!SkinCommand(m)) TSpeedButton::WndProc(m);
        return;
    }
    const bool skinned = IsControlPaintable(this) && data->Skinned();
    const bool designing = ControlDesigning(this);
    if (skinned) {
        switch (m.Msg) {
        case CM_TEXTCHANGED:
            if (FShowCaption) data->Invalidate();
            break;
        case CM_MOUSEENTER:
            if (!Enabled() || MouseInControl() || designing || m.LParam != 0) break;
            {
                classes::TComponentWatch watch(this);
                if (OnMouseEnter) OnMouseEnter(this);
                if (!watch.Alive()) return;
            }
            TSpeedButton::WndProc(m);
            if (!data->MouseAbove) {
                data->MouseAbove = true;
                ChangeState(aeMouseEnter);
            }
            return;
        case CM_MOUSELEAVE:
            if (!Enabled() || m.LParam != 0) break;
            {
                classes::TComponentWatch watch(this);
                if (OnMouseLeave) OnMouseLeave(this);
                if (!watch.Alive()) return;
            }
            TSpeedButton::WndProc(m);
            data->MouseAbove = false;
            if (State() == sbsDown) SetState(sbsUp);
            ChangeState(aeMouseLeave);
            return;
        case user::WM_ERASEBKGND:
            return;
        case user::WM_LBUTTONUP:
            if (!designing) StopAnimation();   // the release animates from the pressed look itself
            break;
        default:
            break;
        }
    }
    if (skinned && CommonWndProc(m, data)) return;
    classes::TComponentWatch watch(this);
    TSpeedButton::WndProc(m);
    if (!watch.Alive() || !skinned || designing) return;
    switch (m.Msg) {
    case user::WM_LBUTTONDOWN:
    case user::WM_LBUTTONDBLCLK:
        ChangeState(aeMouseDown);
        break;
    case user::WM_LBUTTONUP:
        ChangeState(aeMouseUp);
        break;
    case CM_ENABLEDCHANGED:
        if (Visible()) Changed();
        break;
    case user::WM_SIZE:
    case user::WM_WINDOWPOSCHANGED:
        if (!data->Updating) data->BGChanged = true;
        Redraw();
        break;
    default:
        break;
    }
}


void TsSpeedButton::ActionChange(TObject* sender, bool checkDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (action != nullptr && action->ImageIndex() >= 0) SetGlyph(nullptr);
    TsGlyphImages<TSpeedButton>::ActionChange(sender, checkDefaults);
    if (action != nullptr) SpeedButtonActionHook(this);
    Invalidate();
}
}
