// The combo core: TsComboBoxStrings, the skin state's messages, the combo mechanics and the skinned paint.
#include "skin/controls/sComboBoxes.h"

#include "platform/base/ScopeGuard.h"
#include "platform/base/Utf8.h"
#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/Timers.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
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

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

// ---- TsComboBoxStrings ---------------------------------------------------------------------------------------

TsComboBoxStrings::TsComboBoxStrings(TWinControl* control)
    : TListControlStrings(control, ComboBoxMessages)
    , FOwnerControl(control) {
}

std::string TsComboBoxStrings::Get(int index) const {
    if (FOwnerControl->HandleAllocated()
        && user::SendMessage(FOwnerControl->WindowHandle(), user::CB_GETLBTEXTLEN, user::WPARAM(index), 0) < 0)
        return std::string();
    return TListControlStrings::Get(index);
}

void TsComboBoxStrings::Delete(int index) {
    if (FOwnerControl->HandleAllocated() && (index < 0 || index >= Count())) {
        user::SendMessage(FOwnerControl->WindowHandle(), user::CB_DELETESTRING, user::WPARAM(index), 0);
        return;
    }
    TListControlStrings::Delete(index);
}

void TsComboBoxStrings::Insert(int index, const std::string& s) {
    if (!FOwnerControl->HandleAllocated() || (index >= 0 && index <= Count())) {
        TListControlStrings::Insert(index, s);
        return;
    }
    if (user::SendMessage(FOwnerControl->WindowHandle(), user::CB_INSERTSTRING, user::WPARAM(index),
            reinterpret_cast<user::LPARAM>(s.c_str())) < 0)
        throw EOutOfResources(ListInsertError);
    if (UpdateCount() == 0 && OnChanged) OnChanged(this);
}

void TsComboBoxStrings::PutObject(int index, TObject* obj) {
    if (FOwnerControl->HandleAllocated() && (index < 0 || index >= Count())) {
        user::SendMessage(FOwnerControl->WindowHandle(), user::CB_SETITEMDATA, user::WPARAM(index),
            reinterpret_cast<user::LPARAM>(obj));
        return;
    }
    TListControlStrings::PutObject(index, obj);
}

void TsComboBoxStrings::Clear() {
    const std::string text = FOwnerControl->Text();
    TListControlStrings::Clear();
    if (!text.empty() && FOwnerControl->HandleAllocated()) FOwnerControl->SetText(text);
    FOwnerControl->Invalidate();
}

void TsComboBoxStrings::SetUpdateState(bool updating) {
    TListControlStrings::SetUpdateState(updating);
    if (!updating && FOwnerControl->HandleAllocated() && !ControlDestroying(FOwnerControl)) FOwnerControl->Refresh();
}

// ---- TsCustomListControl -------------------------------------------------------------------------------------

TsCustomListControl::TsCustomListControl(TComponent* owner)
    : TCustomComboBox(owner)
    , FCommonData(std::make_unique<TsCommonData>(this, true)) {
    FCommonData->ControlKind = TacControlKind::ListControl;
    FCommonData->SetSkinSection("COMBOBOX");
    FBoundLabel = std::make_unique<TsBoundLabel>(FCommonData.get());
}

TsCustomListControl::~TsCustomListControl() {
    FBoundLabel.reset();
}

TClass TsCustomListControl::StaticClass() {
    using T = TsCustomListControl;
    static const TClassInfo info = MakeClass<T, TCustomComboBox>("TsCustomListControl", [](TPropertyBuilder<T>& p) {
        p.Object("BoundLabel", &T::BoundLabel);
        p.Object("SkinData", &T::SkinData);
    });
    return &info;
}

void TsCustomListControl::AfterConstruction() {
    TCustomComboBox::AfterConstruction();
    FCommonData->Loaded();
    if (FCommonData->Skinned()) FCommonData->ApplySectionColors();
}

void TsCustomListControl::Loaded() {
    TCustomComboBox::Loaded();
    FCommonData->Loaded();
    if (FCommonData->Skinned()) FCommonData->ApplySectionColors();
}

void TsCustomListControl::RepaintSkin(bool frameFirst) {
    FCommonData->BGChanged = true;
    if (ControlDestroying(this)) return;
    if (frameFirst) PaintFrameNow();
    Repaint();
    if (!frameFirst) PaintFrameNow();
}

void TsCustomListControl::PaintFrameNow() {
    if (HandleAllocated() && !ControlDestroying(this)) Perform(user::WM_NCPAINT, 1, 0);
}

void TsCustomListControl::WndProc(TMessage& m) {
    TsCommonData* data = FCommonData.get();
    if (ComboSkinCommand(m, data, nullptr) == TacStep::Done) return;
    if (!PaintsSkinned(data)) {
        if (!CommonWndProc(m, data)) TCustomComboBox::WndProc(m);
        return;
    }
    if (SkinCommandWhenSkinned(m, data, TacFrameHooks {}) == TacStep::Done) return;
    switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (!Focused() && !ControlDesigning(this)) {
            data->MouseAbove = m.Msg == CM_MOUSEENTER;
            RepaintSkin(true);
        }
        TCustomComboBox::WndProc(m);
        return;
    case user::WM_SETFOCUS:
    case user::WM_KILLFOCUS:
    case CM_ENTER:
    case CM_EXIT: {
        // The focus moving on into the combo's own edit or list keeps it focused.
        const auto gaining = reinterpret_cast<user::HWND>(m.WParam);
        const bool inside = m.Msg == user::WM_KILLFOCUS && gaining != nullptr
            && (gaining == EditHandle() || gaining == ListHandle());
        data->Focused = m.Msg == user::WM_SETFOCUS || m.Msg == CM_ENTER || inside;
        data->MouseAbove = false;
        TCustomComboBox::WndProc(m);
        RepaintSkin();
        return;
    }
    default:
        break;
    }
    if (!CommonWndProc(m, data)) TCustomComboBox::WndProc(m);
    switch (m.Msg) {
    case user::WM_MOVE:
    case user::WM_SIZE:
    case user::WM_MOUSEWHEEL:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
        RepaintSkin();
        break;
    case user::WM_SETFONT:
        RepaintSkin(true);
        break;
    default:
        break;
    }
}

// ---- TsCommonCombo -------------------------------------------------------------------------------------------

TsCommonCombo::TsCommonCombo(TComponent* owner)
    : TsCustomListControl(owner) {
    SetControlStyle(ControlStyle() + TControlStyle {csCaptureMouse, csOpaque, csReflector});
    SetDropDownCount(14);
    SetItemHeight(16);
    SetBounds(Left(), Top(), 145, 22);
    SetTabStop(true);
    SetParentColor(false);
}

TClass TsCommonCombo::StaticClass() {
    static const TClassInfo info = MakeClass<TsCommonCombo, TsCustomListControl>("TsCommonCombo");
    return &info;
}

TRect TsCommonCombo::ButtonRect() const {
    const TSize glyph = ComboGlyphSize(FCommonData.get());
    if (glyph.cx <= 0 || glyph.cy <= 0 || !FCommonData->Skinned()) return TRect {};
    TRect r;
    r.top = (Height() - glyph.cy) / 2;
    r.bottom = Height() - r.top;
    if (UseRightToLeftAlignment()) {
        // As far from the left edge as from the top.
        r.left = r.top;
        r.right = r.left + glyph.cx;
        return r;
    }
    r.left = Width() - glyph.cx;
    r.right = r.left + glyph.cx;
    // As far from the right edge as from the top.
    r.left -= r.top;
    r.right -= r.top;
    return r;
}

void TsCommonCombo::SetItemHeight(int value) {
    if (value <= 0 || value == ItemHeight()) return;
    TsCustomListControl::SetItemHeight(value);
    if (HandleAllocated()) RecreateWnd();
}

bool TsCommonCombo::DragsAutomatically() const {
    return DragMode() == dmAutomatic && !ComponentState().Contains(csDesigning) && !Dragging();
}

void TsCommonCombo::AdjustDropDown() {
    if (!HandleAllocated()) return;
    const int shown = std::max(std::min(DropDownCount(), Items()->Count()), 1);
    {
        base::ValueRollback<bool> adjusting(FAdjustingDropDown, true);
        user::SetWindowPos(WindowHandle(), nullptr, 0, 0, Width(), ItemHeight() * shown + Height() + 2,
            user::SWP_NOMOVE | user::SWP_NOZORDER | user::SWP_NOREDRAW | user::SWP_NOACTIVATE | user::SWP_HIDEWINDOW);
    }
    user::SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
        user::SWP_NOSIZE | user::SWP_NOMOVE | user::SWP_NOZORDER | user::SWP_NOREDRAW | user::SWP_NOACTIVATE
            | user::SWP_SHOWWINDOW);
}

void TsCommonCombo::WndProc(TMessage& m) {
    if (m.Msg == user::WM_SIZE && FAdjustingDropDown) {
        DefaultHandler(m);
        return;
    }
    switch (m.Msg) {
    case user::WM_LBUTTONDOWN:
    case user::WM_LBUTTONDBLCLK:
        if (DragsAutomatically()) {
            if (CanFocus()) SetFocus();
            BeginAutoDrag();
            return;
        }
        break;
    case CM_CTL3DCHANGED:
        if (HandleAllocated()) RecreateWnd();
        return;
    case user::WM_CHAR: {
        classes::TComponentWatch self(this);
        TsCustomListControl::WndProc(m);
        if (self.Alive()) CloseListByKey(m.WParam);   // a key the key events took (0) closes nothing
        return;
    }
    case CM_CANCELMODE:
        // Another control taking the mouse closes the list.
        if (reinterpret_cast<const TControl*>(m.LParam) != this && DroppedDown()) SetDroppedDown(false);
        break;
    default:
        break;
    }
    TsCustomListControl::WndProc(m);
}

void TsCommonCombo::ComboWndProc(TMessage& m, user::HWND window, user::WNDPROC previous) {
    if (m.Msg == user::WM_LBUTTONDOWN && window == EditHandle() && DragsAutomatically()) {
        // The edit lets go of the press it has just seen, then the whole box is dragged.
        user::CallWindowProc(previous, window, user::WM_LBUTTONUP, 0, m.LParam);
        BeginAutoDrag();
        return;
    }
    // The pointer over the edit (or list) is over the box for its hint.
    if (m.Msg == user::WM_MOUSEMOVE && Application != nullptr) Application->HintMouseMessage(this, m);
    classes::TComponentWatch self(this);
    TsCustomListControl::ComboWndProc(m, window, previous);
    if (!self.Alive()) return;
    // A double click in the edit or the list is the box's.
    if (m.Msg == user::WM_LBUTTONDBLCLK && ControlStyle().Contains(csDoubleClicks)) DblClick();
    if (m.Msg == user::WM_CHAR) CloseListByKey(m.WParam);
}

void TsCommonCombo::CloseListByKey(user::WPARAM key) {
    if ((key != 13 && key != 27) || !DroppedDown()) return;
    if (key == 27) {
        SetDroppedDown(false);   // closed without a choice
        return;
    }
    // Enter takes the line the list shows, as Enter pressed in the list does.
    TMessage enter {user::WM_KEYDOWN, user::VK_RETURN, 0, 0};
    DefaultHandler(enter);
}

void TsCommonCombo::CNCommand(TMessage& m) {
    if (user::HIWORD(m.WParam) == user::CBN_CLOSEUP) {
        FCommonData->BGChanged = true;
        Invalidate();
    }
    TsCustomListControl::CNCommand(m);
}

void TsCommonCombo::Change() {
    if (ComponentState().Contains(csLoading)) return;
    Changed();
    EditMarginHook();
    if (PaintsSkinned(FCommonData.get())) {
        const gdi::RECT inner {3, 3, Width() - 3, Height() - 3};
        user::InvalidateRect(WindowHandle(), &inner, false);
    }
    TsCustomListControl::Change();
}

void TsCommonCombo::CNDrawItem(TMessage& m) {
    const auto* dis = reinterpret_cast<const user::DRAWITEMSTRUCT*>(m.LParam);
    if (dis == nullptr || !PaintsSkinned(FCommonData.get())) {
        TsCustomListControl::CNDrawItem(m);
        return;
    }
    TCanvas* canvas = Canvas();
    canvas->SetHandle(dis->hDC);
    base::ScopeExit release([canvas] { canvas->SetHandle(nullptr); });
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetColor(Color());
    const TRect r = dis->rcItem;
    const int index = int(dis->itemID);
    if (index >= 0) DrawSkinnedItem(index, r, OwnerDrawStateOf(dis->itemState));
    m.Result = 1;
}

void TsCommonCombo::PaintButton(TBitmap* cache) {
    const int state = DroppedDown() ? 2 : FCommonData->IsHot() ? 1 : 0;
    PaintComboGlyph(FCommonData.get(), cache, ButtonRect(), state);
}

void TsCommonCombo::PaintSkin(gdi::HDC dc) {
    TsCommonData* data = FCommonData.get();
    const TsParentCacheInfo ci = GetParentCache(data);
    data->InitCacheBmp();
    TBitmap* cache = data->CacheBmp();
    if (cache == nullptr || dc == nullptr) return;
    const int hot = data->IsHot() ? 1 : 0;
    RenderControlSkin(data, ci, false, hot, TRect {0, 0, Width(), Height()}, TPoint {Left(), Top()}, cache, false);
    PaintFrameAllSides(data, hot);
    PaintButton(cache);
    data->BGChanged = false;
    if (!Enabled()) ApplyDisabledLook(cache, FDisabledKind, this, TPoint {Left(), Top()}, ci);
    gdi::BitBlt(dc, 0, 0, Width(), Height(), cache->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
    TRect face {3, 3, Width() - 3, Height() - 3};
    if (UseRightToLeftAlignment()) face.left = std::max(face.left, ButtonRect().right);   // beside the button
    TOwnerDrawState state {odComboBoxEdit};
    if (data->Focused) state += TOwnerDrawState {odFocused};
    TCanvas* canvas = Canvas();
    canvas->SetHandle(dc);
    base::ScopeExit release([canvas] { canvas->SetHandle(nullptr); });
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetColor(Color());
    DrawSkinnedItem(ItemIndex(), face, state);
}

void TsCommonCombo::DrawSkinnedItem(int, const TRect&, TOwnerDrawState) { }

// ---- TsCommonComboBox ----------------------------------------------------------------------------------------

TsCommonComboBox::TsCommonComboBox(TComponent* owner)
    : TsCommonCombo(owner) {
    FItems = std::make_unique<TsComboBoxStrings>(this);
}

TClass TsCommonComboBox::StaticClass() {
    static const TClassInfo info = MakeClass<TsCommonComboBox, TsCommonCombo>("TsCommonComboBox");
    return &info;
}

void TsCommonComboBox::SetDisabledKind(TsDisabledKind value) {
    if (FDisabledKind == value) return;
    FDisabledKind = value;
    FCommonData->Invalidate();
}

bool TsCommonComboBox::ListStyle() const {
    return Style() != csDropDown && Style() != csSimple;
}

void TsCommonComboBox::SkinWMPaint(TMessage& m) {
    TsCommonData* data = FCommonData.get();
    if (!data->CustomColor()) {
        const TsSkinManager* manager = data->SkinManager();
        const TColor hot = manager->Sections[std::size_t(data->SkinIndex)].HotColor;
        if (hot != Color()) SetColor(hot);
    }
    data->SetUpdating(data->IsUpdating());
    if (m.WParam != 0) {
        if (!data->Updating) PaintSkin(gdi::HDC(m.WParam));
        return;
    }
    user::PaintGuard paint(WindowHandle());
    if (data->Updating || paint.Dc() == nullptr) return;
    gdi::SavedDc saved(paint.Dc());
    PaintSkin(paint.Dc());
}

void TsCommonComboBox::WndProc(TMessage& m) {
    if (PaintsSkinned(FCommonData.get())) {
        switch (m.Msg) {
        case user::WM_PAINT:
            SkinWMPaint(m);
            return;
        case user::WM_ERASEBKGND:
            m.Result = 1;
            return;
        default:
            break;
        }
    }
    TsCommonCombo::WndProc(m);
}

bool TsCommonComboBox::SelectItem(const std::string& lookup) {
    const user::HWND h = WindowHandle();
    const auto found = int(user::SendMessage(h, user::CB_FINDSTRING, user::WPARAM(-1), user::LPARAM(lookup.c_str())));
    if (found < 0) {
        if (ListStyle()) {
            SetItemIndex(-1);
        } else if (ItemIndex() >= 0) {
            // Leaving the item keeps what was typed: the key goes on to the edit.
            user::DWORD selStart = 0, selEnd = 0;
            user::SendMessage(h, user::CB_GETEDITSEL, user::WPARAM(&selStart), user::LPARAM(&selEnd));
            const std::string typed = Text();
            SetItemIndex(-1);
            SetText(typed);
            user::SendMessage(h, user::CB_SETEDITSEL, 0, user::MAKELPARAM(int(selStart), int(selEnd)));
        }
        Change();
        return false;
    }
    const bool changed = found != ItemIndex();
    if (ListStyle()) {
        SetItemIndex(found);
        FFilter = lookup;
    } else {
        user::SendMessage(h, user::CB_SETCURSEL, user::WPARAM(found), 0);
        const std::string item = Items()->Get(found);
        SetText(lookup + item.substr(std::min(lookup.size(), item.size())));
        user::SendMessage(h, user::CB_SETEDITSEL, 0, user::MAKELPARAM(int(lookup.size()), -1));
    }
    if (changed) {
        Click();
        Select();
    }
    return true;
}

void TsCommonComboBox::KeyPress(char32_t& key) {
    TsCommonCombo::KeyPress(key);
    if (!FAutoComplete || key == 0 || !HandleAllocated()) return;
    const user::HWND h = WindowHandle();
    std::string search;
    if (ListStyle()) {
        const unsigned now = user::GetTickCount();
        if (now - FLastKeyTime > SearchGapMs) FFilter.clear();
        FLastKeyTime = now;
        search = FFilter;
    } else {
        search = Text();
    }
    user::DWORD selStart = 0, selEnd = 0;
    user::SendMessage(h, user::CB_GETEDITSEL, user::WPARAM(&selStart), user::LPARAM(&selEnd));
    switch (key) {
    case 8:
        if (ListStyle()) {
            if (!FFilter.empty()) FFilter = base::Utf8Left(FFilter, base::Utf8Length(FFilter) - 1);
            key = 0;
            Change();
        }
        return;   // the edit deletes as it always does
    case 9:
        if (FAutoDropDown && DroppedDown()) SetDroppedDown(false);
        return;
    case 13:
    case 27:
        return;
    default:
        break;
    }
    if (key < 0x20) return;   // a control character (Ctrl+C) searches nothing and keeps the choice
    if (FAutoDropDown && !DroppedDown()) SetDroppedDown(true);
    std::string lookup;
    if (!ListStyle() && selEnd > selStart)
        lookup = search.substr(0, std::min<std::size_t>(selStart, search.size())) + base::Utf8Encode(key);
    else
        lookup = search + base::Utf8Encode(key);
    if (SelectItem(lookup)) key = 0;
}

}
