// TsCustomComboBox: the skinned cache and window painting, owner drawing, read-only input and its messages.
#include "skin/controls/sComboBox.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/controls/ComboBox.h"
#include "platform/user/controls/ControlsCommon.h"
#include "skin/controls/sComboSupport.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"
#include "skin/engine/sWindowDc.h"

namespace korvex::skin {

using namespace korvex::classes;

inline constexpr int FaceInset = 3;   // the frame strips around the face

TsCustomComboBox::TsCustomComboBox(TComponent* owner)
    : TCustomComboBox(owner)
    , FCommonData(std::make_unique<TsCommonData>(this, true)) {
    FCommonData->ControlKind = TacControlKind::ComboBox;
    FCommonData->SetSkinSection("COMBOBOX");
    FBoundLabel = std::make_unique<TsBoundLabel>(FCommonData.get());
    SetDropDownCount(16);
}

TsCustomComboBox::~TsCustomComboBox() {
    FBoundLabel.reset();
}

TClass TsCustomComboBox::StaticClass() {
    using T = TsCustomComboBox;
    static const TClassInfo info = MakeClass<T, TCustomComboBox>("TsCustomComboBox", [](TPropertyBuilder<T>& p) {
        p.Enum("Alignment", &T::Alignment, &T::SetAlignment, AlignmentIdents, taLeftJustify);
        p.Object("BoundLabel", &T::BoundLabel);
        p.Set("DisabledKind", &T::DisabledKind, &T::SetDisabledKind, DisabledKindIdents, DefaultDisabledKind);
        p.Int("DropDownCount", &T::DropDownCount, &T::SetDropDownCount, 16);
        p.Object("SkinData", &T::SkinData);
        p.Bool("ReadOnly", &T::ReadOnly, &T::SetReadOnly, false);
    });
    return &info;
}

void TsCustomComboBox::AfterConstruction() {
    TCustomComboBox::AfterConstruction();
    FCommonData->Loaded();
    // A combo made at run time takes the section's colours as a streamed one does at Loaded.
    if (FCommonData->Skinned()) FCommonData->ApplySectionColors();
}

void TsCustomComboBox::Loaded() {
    TCustomComboBox::Loaded();
    FCommonData->Loaded();
    if (FCommonData->Skinned()) FCommonData->ApplySectionColors();
}

void TsCustomComboBox::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    FCommonData->Invalidate();
}

void TsCustomComboBox::SetDisabledKind(TsDisabledKind value) {
    if (FDisabledKind == value) return;
    FDisabledKind = value;
    FCommonData->Invalidate();
}

int TsCustomComboBox::GlyphHeight() const {
    const TSize glyph = ComboGlyphSize(FCommonData.get());
    return glyph.cy > 0 && FCommonData->Skinned() ? glyph.cy : 16;
}

TRect TsCustomComboBox::ButtonRect() const {
    const int w = Style() == csSimple ? 0 : user::GetSystemMetrics(user::SM_CXVSCROLL);
    const int h = GlyphHeight();
    TRect r;
    r.left = (UseRightToLeftAlignment() ? FButtonMargin : Width() - w - FButtonMargin) - 1;
    r.top = (Height() - h) / 2;
    r.right = r.left + w;
    r.bottom = r.top + h;
    return r;
}

bool TsCustomComboBox::SkinFocused() const {
    return FCommonData->Focused || ComboHasFocus(this, EditHandle(), ListHandle());
}

void TsCustomComboBox::Invalidate() {
    if (Focused()) FCommonData->Focused = true;
    TCustomComboBox::Invalidate();
}

void TsCustomComboBox::DropDown() {
    FDropped = true;
    TCustomComboBox::DropDown();
}

void TsCustomComboBox::CloseUp() {
    FDropped = false;
    TCustomComboBox::CloseUp();
}

// ---- Painting ------------------------------------------------------------------------------------------------

void TsCustomComboBox::PrepareCache() {
    TsCommonData* data = FCommonData.get();
    const TsParentCacheInfo ci = GetParentCache(data);
    data->InitCacheBmp();
    TBitmap* cache = data->CacheBmp();
    if (cache == nullptr) return;
    const int hot = data->IsHot() ? 1 : 0;
    RenderControlSkin(data, ci, true, hot, TRect {0, 0, Width(), Height()}, TPoint {Left(), Top()}, cache, false);
    if (Style() != csSimple)
        PaintComboGlyph(data, cache, ButtonRect(), FDropped ? 2 : hot, ComboGlyphRectWidth(data));
    if (!Enabled()) ApplyDisabledLook(cache, FDisabledKind, this, TPoint {Left(), Top()}, ci);
    data->BGChanged = false;
}

void TsCustomComboBox::PaintText() {
    TBitmap* cache = FCommonData->CacheBmp();
    if (cache == nullptr || ItemIndex() < 0) return;
    TCanvas* canvas = cache->Canvas();
    canvas->Font()->Assign(Font());
    const TRect button = ButtonRect();
    // The text lies beside the button: on its right when the button is on the left.
    TRect r = UseRightToLeftAlignment() ? TRect {button.right, 3, Width() - 4, Height() - 3}
                                        : TRect {4, 3, button.left, Height() - 3};
    OutputSkinnedText(canvas, Text(), true, r, TextAlignFlags(this, FAlignment) | 0x830, FCommonData.get(),
        FCommonData->IsHot());
}

void TsCustomComboBox::PaintWindowSkin(gdi::HDC given) {
    TsCommonData* data = FCommonData.get();
    if (ControlDestroying(this) || !HandleAllocated()) return;
    TacWindowDc own(given == nullptr ? WindowHandle() : nullptr);
    const gdi::HDC dc = given != nullptr ? given : own.Dc();
    if (dc == nullptr) return;
    data->SetUpdating(data->IsUpdating());
    if (data->Updating) return;   // the parent tells us when it has painted
    const bool parentIncomplete = Parent() != nullptr && QuerySkinCommand(Parent(), SMC_ISCACHEINCOMPLETE);
    data->BGChanged = data->BGChanged || data->CacheIncomplete || parentIncomplete;
    data->CacheIncomplete = OutsideParentClient(this, 0);
    if (data->BGChanged) PrepareCache();
    TBitmap* cache = data->CacheBmp();
    if (cache == nullptr || !IsControlPaintable(this)) return;
    PaintFrameAllSides(data, data->IsHot() ? 1 : 0);
    const gdi::HDC src = cache->Canvas()->Handle();
    const TRect button = ButtonRect();
    const int w = Width(), h = Height();
    {
        gdi::SavedDc saved(dc);
        if (Enabled()) {
            gdi::BitBlt(dc, 0, 0, w, FaceInset, src, 0, 0, gdi::SRCCOPY);
            gdi::BitBlt(dc, 0, FaceInset, FaceInset, h - FaceInset, src, 0, FaceInset, gdi::SRCCOPY);
            gdi::BitBlt(dc, FaceInset, h - FaceInset, w - FaceInset, FaceInset, src, FaceInset, h - FaceInset, gdi::SRCCOPY);
            if (UseRightToLeftAlignment()) {
                // The button column on the left, and the right strip the column covers otherwise.
                gdi::BitBlt(dc, 0, 0, button.right, h, src, 0, 0, gdi::SRCCOPY);
                gdi::BitBlt(dc, w - FaceInset, 0, FaceInset, h, src, w - FaceInset, 0, gdi::SRCCOPY);
            } else {
                gdi::BitBlt(dc, button.left, 0, w - button.left, h, src, button.left, 0, gdi::SRCCOPY);
            }
        } else {
            gdi::BitBlt(dc, 0, 0, w, h, src, 0, 0, gdi::SRCCOPY);
        }
    }
    // The face: the edit or the native owner drawing draws it while the combo has the focus.
    const bool focused = SkinFocused();
    if (focused && Style() != csDropDownList) return;
    const bool ownerDraw = Style() == csOwnerDrawFixed || Style() == csOwnerDrawVariable;
    if ((ownerDraw || ItemIndex() < 0) && DroppedDown()) return;
    gdi::SavedDc saved(dc);
    const bool rtl = UseRightToLeftAlignment();
    if (rtl)
        gdi::ExcludeClipRect(dc, FaceInset, FaceInset, button.right, h - FaceInset);
    else
        gdi::ExcludeClipRect(dc, button.left, FaceInset, w - FaceInset, h - FaceInset);
    TCanvas* canvas = Canvas();
    canvas->SetHandle(dc);
    base::ScopeExit release([canvas] { canvas->SetHandle(nullptr); });
    const TRect face = rtl ? TRect {button.right, FaceInset, w - FaceInset, h - FaceInset}
                           : TRect {FaceInset, FaceInset, button.left, h - FaceInset};
    TOwnerDrawState state {odComboBoxEdit};
    if (focused && Style() != csDropDown && Style() != csSimple) state += TOwnerDrawState {odSelected, odFocused};
    DrawItem(ItemIndex(), face, state);
    if (focused && Style() != csDropDown) canvas->DrawFocusRect(face);
}

void TsCustomComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    if (state.Contains(odSelected)) {
        canvas->Font()->SetColor(clHighlightText);
        canvas->Brush()->SetColor(clHighlight);
    } else {
        canvas->Font()->SetColor(Enabled() ? Font()->Color() : clBtnShadow);
        canvas->Brush()->SetColor(Color());
    }
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    canvas->FillRect(rect);
    // The face shows the control's text; a list line its own item.
    std::string text;
    if (state.Contains(odComboBoxEdit))
        text = Text();
    else if (index >= 0 && index < Items()->Count())
        text = Items()->Get(index);
    if (text.empty()) return;
    const int d = Style() == csDropDown ? 0 : 1;
    if (UseRightToLeftAlignment()) {   // from the right edge, as far in as the left-to-right text lies
        TRect inside {rect.left, rect.top + d, rect.right - d, rect.bottom};
        canvas->TextRect(inside, text, DrawTextBiDiModeFlags(gdi::DT_SINGLELINE | gdi::DT_NOPREFIX));
        return;
    }
    canvas->TextRect(rect, rect.left + d, rect.top + d, text);
}

void TsCustomComboBox::CNDrawItem(TMessage& m) {
    const auto* dis = reinterpret_cast<const user::DRAWITEMSTRUCT*>(m.LParam);
    const bool plain = !PaintsSkinned(FCommonData.get()) || SkinFocused();
    if (dis == nullptr || (Enabled() && plain) || !(dis->itemState & user::ODS_COMBOBOXEDIT)
        || FCommonData->CacheBmp() == nullptr) {
        TCustomComboBox::CNDrawItem(m);
        return;
    }
    const gdi::RECT& r = dis->rcItem;
    gdi::BitBlt(dis->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, FCommonData->CacheBmp()->Canvas()->Handle(),
        r.left, r.top, gdi::SRCCOPY);
    m.Result = 1;
}

void TsCustomComboBox::SkinWMPaint(TMessage& m) {
    // A DC handed in (WM_PRINTCLIENT, a parent composing its picture) gets the picture, not the window.
    if (m.WParam != 0) {
        PaintWindowSkin(gdi::HDC(m.WParam));
        return;
    }
    // Focused and dropped, the native combo paints first; the skin then goes over it through the window's DC,
    // which the native paint's validation does not clip.
    if (SkinFocused() && DroppedDown()) TCustomComboBox::WndProc(m);
    user::PaintGuard paint(WindowHandle());
    TacWindowDc dc(WindowHandle());
    PaintWindowSkin(dc.Dc());
}

// ---- Messages ------------------------------------------------------------------------------------------------

namespace {

// Keys that change the choice or open the list (Left and Right step a drop-down list like Up and Down).
bool ChoosingKey(WPARAM key) {
    switch (key) {
    case user::VK_UP:
    case user::VK_DOWN:
    case user::VK_LEFT:
    case user::VK_RIGHT:
    case user::VK_PRIOR:
    case user::VK_NEXT:
    case user::VK_HOME:
    case user::VK_END:
    case user::VK_F4:
        return true;
    default:
        return false;
    }
}

}

bool TsCustomComboBox::HandleReadOnly(TMessage& m) {
    if (!FReadOnly) return false;
    switch (m.Msg) {
    case user::WM_KEYDOWN:
    case user::WM_SYSKEYDOWN:
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
        return ChoosingKey(m.WParam);
    case user::WM_SYSCHAR:
    case CN_SYSCHAR:
        return m.WParam == user::VK_UP || m.WParam == user::VK_DOWN;
    case user::WM_CHAR:
    case CN_CHAR:
        return Style() != csDropDown && Style() != csSimple;   // a typed letter would choose an item
    case user::WM_COMMAND:
    case CN_COMMAND:
    case user::WM_MOUSEWHEEL:   // the wheel steps the choice too
        return true;
    case user::WM_LBUTTONDOWN:
        if (CanFocus()) SetFocus();
        return true;
    case user::WM_LBUTTONDBLCLK:
        if (CanFocus()) SetFocus();
        DblClick();
        return true;
    default:
        return false;
    }
}

void TsCustomComboBox::ComboWndProc(TMessage& m, user::HWND window, user::WNDPROC previous) {
    if (FReadOnly) {
        switch (m.Msg) {
        case user::WM_KEYDOWN:
        case user::WM_KEYUP:
        case user::WM_CHAR:
        case user::WM_SYSKEYUP:
        case CN_KEYDOWN:
        case CN_CHAR:
        case CN_SYSKEYDOWN:
        case CN_SYSCHAR:
        case user::WM_CUT:
        case user::WM_PASTE:
        case user::WM_CLEAR:
        case user::WM_UNDO:
            return;
        default:
            break;
        }
    }
    TCustomComboBox::ComboWndProc(m, window, previous);
}

bool TsCustomComboBox::HandleSkinned(TMessage& m) {
    TsCommonData* data = FCommonData.get();
    switch (m.Msg) {
    case user::WM_PAINT:
        SkinWMPaint(m);
        return true;
    case user::WM_NCPAINT:
        PaintWindowSkin(nullptr);
        return true;
    case user::WM_ERASEBKGND:
        m.Result = 1;
        return true;
    case user::WM_SETFOCUS:
    case CM_ENTER:
        if (CanFocus()) {
            data->Focused = true;
            data->MouseAbove = false;
            data->BGChanged = true;
        }
        TCustomComboBox::WndProc(m);
        return true;
    case user::WM_KILLFOCUS:
    case CM_EXIT:
        SetDroppedDown(false);
        data->Focused = false;
        data->MouseAbove = false;
        data->BGChanged = true;
        TCustomComboBox::WndProc(m);
        return true;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (!FDropped) {
            data->MouseAbove = m.Msg == CM_MOUSEENTER;
            data->BGChanged = true;
            Repaint();
        }
        return false;   // the common handling follows the mouse while dropped too
    case user::WM_COMMAND:
        FDropped = false;
        PaintWindowSkin(nullptr);
        return false;
    case CN_COMMAND:
        if (user::HIWORD(m.WParam) == user::CBN_CLOSEUP) {
            data->BGChanged = true;
            FDropped = false;
            PaintWindowSkin(nullptr);
        }
        return false;
    default:
        return false;
    }
}

void TsCustomComboBox::AfterInherited(const TMessage& m) {
    if (ControlDestroying(this) || !PaintsSkinned(FCommonData.get())) return;
    switch (m.Msg) {
    case user::WM_SETFONT:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
        FCommonData->BGChanged = true;
        PaintWindowSkin(nullptr);
        break;
    case user::CB_SETCURSEL:
        FCommonData->BGChanged = true;
        Repaint();
        break;
    default:
        break;
    }
}

void TsCustomComboBox::WndProc(TMessage& m) {
    if (HandleReadOnly(m)) return;
    TsCommonData* data = FCommonData.get();
    if (ComboSkinCommand(m, data, [this] { RecreateWnd(); }) == TacStep::Done) return;
    if (PaintsSkinned(data)) {
        if (SkinCommandWhenSkinned(m, data, TacFrameHooks {}) == TacStep::Done) return;
        if (HandleSkinned(m)) return;
    }
    if (!CommonWndProc(m, data)) TCustomComboBox::WndProc(m);
    AfterInherited(m);
}

// ---- TsComboBox ------------------------------------------------------------------------------------------------

TsComboBox::TsComboBox(TComponent* owner)
    : TsCustomComboBox(owner) {
}

TClass TsComboBox::StaticClass() {
    using T = TsComboBox;
    static const TClassInfo info = MakeClass<T, TsCustomComboBox>("TsComboBox", [](TPropertyBuilder<T>& p) {
        p.Enum("Style", &T::Style, &T::SetStyle, ComboBoxStyleIdents, csDropDown);
        p.Enum("CharCase", &T::CharCase, &T::SetCharCase, EditCharCaseIdents, ecNormal);
        p.Color("Color", &T::Color, &T::SetColor, clWindow);
        p.Int("ItemHeight", &T::ItemHeight, &T::SetItemHeight, 16);
        p.Int("MaxLength", &T::MaxLength, &T::SetMaxLength, 0);
        p.Bool("ParentColor", &T::ParentColor, &T::SetParentColor, false);
        p.Bool("Sorted", &T::Sorted, &T::SetSorted, false);
        p.Bool("TabStop", &T::TabStop, &T::SetTabStop, true);
        p.String("Text", &T::Text, &T::SetText);
        p.Object("Items", &T::Items, &T::SetItems);
        p.Int("ItemIndex", &T::ItemIndex, &T::SetItemIndex, -1);
        p.Event("OnChange", &T::OnChange);
        p.Event("OnCloseUp", &T::OnCloseUp);
        p.Event("OnDrawItem", &T::OnDrawItem);
        p.Event("OnDropDown", &T::OnDropDown);
        p.Event("OnMeasureItem", &T::OnMeasureItem);
        p.Event("OnSelect", &T::OnSelect);
    });
    return &info;
}

}
