// TsCustomComboEdit: construction, the glyph button's upkeep, the paint steps, the popup and the messages.
#include "skin/controls/sCustomComboEdit.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TForm.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/controls/EditConstants.h"
#include "skin/controls/sEditFrame.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"

namespace korvex::skin {

using namespace korvex::classes;

TsCustomComboEdit::TsCustomComboEdit(TComponent* owner)
    : TsMaskEdit(owner) {
    SkinData()->ControlKind = TacControlKind::ComboEdit;
    SetAutoSize(false);
    SetHeight(21);
    FButton = new TsEditButton(this);
    FGlyphMode = std::make_unique<TsGlyphMode>(this, FButton);
    FGlyphMode->OnChange = [this](bool buttonOnly) { GlyphChanged(buttonOnly); };
    FButton->SetParent(this);
    FButton->OnClick = [this](TObject*) {
        if (!GetReadOnly()) ButtonClick();
    };
    UpdateButtonWidth();
}

TsCustomComboEdit::~TsCustomComboEdit() {
    if (FButton != nullptr) FButton->OnClick = nullptr;
    if (FPopup != nullptr) FPopup->RemoveFreeNotification(this);
}

TClass TsCustomComboEdit::StaticClass() {
    using T = TsCustomComboEdit;
    static const TClassInfo info = MakeClass<T, TsMaskEdit>("TsCustomComboEdit", [](TPropertyBuilder<T>& p) {
        p.Event("OnButtonClick", &T::OnButtonClick);
        p.Bool("ShowButton", &T::ShowButton, &T::SetShowButton, true);
        p.Int("ClickKey", &T::ClickKey, &T::SetClickKey, DefaultClickKey);
        p.Object("GlyphMode", &T::GlyphMode);
        p.Bool("DirectInput", &T::DirectInput, &T::SetDirectInput, true);
        p.Bool("ReadOnly", &T::ReadOnly, &T::SetReadOnly, false);
    });
    return &info;
}

void TsCustomComboEdit::Loaded() {
    TsMaskEdit::Loaded();
    UpdateButtonWidth();
    SetEditRect();
}

void TsCustomComboEdit::CreateParams(TCreateParams& params) {
    TsMaskEdit::CreateParams(params);
    params.Style |= user::ES_MULTILINE | user::WS_CLIPCHILDREN;
    if (FAlignment == taRightJustify) params.Style |= user::ES_RIGHT;
    else if (FAlignment == taCenter) params.Style |= user::ES_CENTER;
}

void TsCustomComboEdit::CreateWnd() {
    TsMaskEdit::CreateWnd();
    SetEditRect();
}

// ---- Properties ----------------------------------------------------------------------------------------------

void TsCustomComboEdit::ApplyReadOnly() {
    TsMaskEdit::SetReadOnly(!(FDirectInput && !FReadOnly));
}

void TsCustomComboEdit::SetReadOnly(bool value) {
    FReadOnly = value;
    ApplyReadOnly();
}

void TsCustomComboEdit::SetDirectInput(bool value) {
    FDirectInput = value;
    ApplyReadOnly();
}

void TsCustomComboEdit::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    if (HandleAllocated()) RecreateWnd();
    Invalidate();
}

void TsCustomComboEdit::SetShowButton(bool value) {
    if (FShowButton == value) return;
    FShowButton = value;
    Invalidate();
}

void TsCustomComboEdit::SetGlyphName(const std::string& value) {
    FGlyphName = value;
    UpdateButtonWidth();
}

int TsCustomComboEdit::GlyphWidth() const {
    if (SkinData()->ControlKind == TacControlKind::CurrencyEdit) return 0;
    return FGlyphMode->GlyphWidth(FGlyphName);
}

void TsCustomComboEdit::UpdateButtonWidth() {
    if (FButton == nullptr || !FButton->Visible()) return;
    const int w = GlyphWidth();
    FButton->SetWidth(w >= 1 ? w + 2 : 0);
}

void TsCustomComboEdit::GlyphChanged(bool buttonOnly) {
    UpdateButtonWidth();
    if (buttonOnly) {
        FButton->SkinData()->BGChanged = true;
        FButton->Invalidate();
        return;
    }
    TMessage refresh = MakeSkinCommand(SMC_REFRESH, 0, LPARAM(SkinData()->SkinManager()));
    Perform(refresh);
    FButton->SkinData()->BGChanged = true;
    FButton->Invalidate();
}

void TsCustomComboEdit::Invalidate() {
    TsMaskEdit::Invalidate();
    if (FButton == nullptr || ControlDestroying(this)) return;
    if (!NewSkinBroadcast) FButton->SkinData()->BGChanged = true;
    if (FShowButton && !FButton->Visible()) {
        FButton->SetWidth(EditButtonWidth);
        FButton->SetVisible(true);
        UpdateButtonWidth();
        SetEditRect();
    } else if (!FShowButton && FButton->Visible()) {
        FButton->SetVisible(false);
        FButton->SetWidth(0);
        SetEditRect();
    }
    FButton->Invalidate();
}

// ---- Paint steps ---------------------------------------------------------------------------------------------

int TsCustomComboEdit::CurrentState() {
    if (TsMaskEdit::CurrentState() == 1) return 1;
    if (FButton != nullptr && (FButton->SkinData()->MouseAbove || FButton->SkinData()->IsHot())) return 1;
    return 0;
}

void TsCustomComboEdit::SetEditRect() {
    if (Parent() == nullptr || !HandleAllocated()) return;
    user::RECT r {};
    const user::HWND wnd = WindowHandle();
    user::SendMessage(wnd, user::EM_GETRECT, 0, LPARAM(&r));
    const int button = FButton != nullptr && FButton->Visible() ? FButton->Width() : 0;
    r = user::RECT {0, 0, std::max(0, ClientWidth() - button), ClientHeight() + 1};
    user::SendMessage(wnd, user::EM_SETRECTNP, 0, LPARAM(&r));
    user::SendMessage(wnd, user::EM_GETRECT, 0, LPARAM(&r));
}

void TsCustomComboEdit::PaintText() {
    TBitmap* cache = SkinData()->CacheBmp();
    const std::string text = Text();
    if (cache == nullptr || text.empty()) return;
    TCanvas* canvas = cache->Canvas();
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsClear);
    const int button = FButton != nullptr && FButton->Visible() ? FButton->Width() : 0;
    TRect r {3, 2, Width() - 3 - button, Height() - 4};
    if (r.right <= r.left || r.bottom <= r.top) return;
    unsigned flags = TextAlignFlags(this, FAlignment);
    flags |= PasswordChar() != 0 ? 0x830u : unsigned(gdi::DT_NOPREFIX);
    OutputSkinnedText(canvas, ShownEditText(this, text), true, r, flags, SkinData(), (CurrentState() & 127) != 0);
}

void TsCustomComboEdit::EnsureEditCache() {
    TsCommonData* data = SkinData();
    const TBitmap* cache = data->CacheBmp();
    if (data->BGChanged || cache == nullptr || cache->Width() != Width() || cache->Height() != Height())
        PrepareCache();
}

void TsCustomComboEdit::PaintButtonCache(gdi::HDC dc) {
    if (dc == nullptr || FButton == nullptr || !FButton->Visible()) return;
    TsCommonData* data = FButton->SkinData();
    if (data->BGChanged || data->CacheBmp() == nullptr) FButton->PrepareCache();
    if (TBitmap* cache = data->CacheBmp())
        gdi::BitBlt(dc, FButton->Left() + 2, FButton->Top() + 2, FButton->Width(), FButton->Height(),
            cache->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
}

void TsCustomComboEdit::PaintWindowSkin(gdi::HDC dc) {
    TsMaskEdit::PaintWindowSkin(dc);
    if (!HandleAllocated() || SkinData()->Updating || (CurrentState() & 127) != 0) return;
    TacFrameDc frame(WindowHandle(), dc);
    PaintButtonCache(frame.Dc());
}

void TsCustomComboEdit::PaintBorder(gdi::HDC given) {
    TsCommonData* data = SkinData();
    if (Parent() == nullptr || !Visible() || !Parent()->Visible() || ControlState().Contains(csCreating)) return;
    if (data->Updating || !HandleAllocated()) return;
    const bool hot = (CurrentState() & 127) != 0;
    TacFrameDc frame(WindowHandle(), given);
    const gdi::HDC dc = frame.Dc();
    if (dc == nullptr) return;
    if (data->BGChanged && hot) PrepareCache();
    PaintFrameAllSides(data, 0);
    TBitmap* cache = data->CacheBmp();
    if (cache == nullptr) return;
    const gdi::HDC src = cache->Canvas()->Handle();
    const int w = Width(), h = Height();
    gdi::BitBlt(dc, 0, 0, w, 2, src, 0, 0, gdi::SRCCOPY);
    gdi::BitBlt(dc, 0, 2, 2, h, src, 0, 2, gdi::SRCCOPY);
    gdi::BitBlt(dc, 2, h - 2, w - 2, 2, src, 2, h - 2, gdi::SRCCOPY);
    gdi::BitBlt(dc, w - 3, 2, 3, h - 2, src, w - 3, 2, gdi::SRCCOPY);
    if (hot) PaintButtonCache(dc);
}

// ---- Popup ---------------------------------------------------------------------------------------------------

bool TsCustomComboEdit::PopupVisible() const {
    return FPopup != nullptr && FPopup->Visible();
}

void TsCustomComboEdit::SetPopup(TWinControl* value) {
    if (FPopup == value) return;
    if (FPopup != nullptr) FPopup->RemoveFreeNotification(this);
    FPopup = value;
    if (FPopup != nullptr) FPopup->FreeNotification(this);
}

void TsCustomComboEdit::Notification(TComponent* component, TOperation operation) {
    TsMaskEdit::Notification(component, operation);
    if (operation == opRemove && component == FPopup) FPopup = nullptr;
    if (operation == opRemove && component == FButton) FButton = nullptr;
}

void TsCustomComboEdit::PopupDropDown() {
    if (FPopup == nullptr || GetReadOnly() || FPopup->Visible() || Parent() == nullptr) return;
    FPopup->SetVisible(false);
    FPopup->SetWidth(FPopupWidth);
    const TPoint p = Parent()->ClientToScreen(TPoint {Left(), Top()});
    const TPoint at = PopupPosition(TRect {p.x, p.y, p.x + Width(), p.y + Height()},
        TSize {FPopup->Width(), FPopup->Height()}, VirtualScreenRect(), FPopupAlign);
    user::SetWindowPos(
        FPopup->Handle(), user::HWND_TOPMOST, at.x, at.y, FPopup->Width(), FPopup->Height(), user::SWP_SHOWWINDOW);
    FPopup->SetVisible(true);
}

void TsCustomComboEdit::PopupCloseUp() {
    if (PopupVisible()) FPopup->SetVisible(false);
}

void TsCustomComboEdit::AutoSelectText() {
    if (HandleAllocated() && !Text().empty()) user::SendMessage(WindowHandle(), user::EM_SETSEL, 0, -1);
}

void TsCustomComboEdit::ButtonClick() {
    if (OnButtonClick) {
        classes::TComponentWatch alive(this);
        OnButtonClick(this);
        if (alive.Get() == nullptr) return;   // the handler freed the edit
    }
    if (!PopupVisible()) {
        if (CanFocus()) SetFocus();
        PopupDropDown();
    } else {
        PopupCloseUp();
    }
}

bool TsCustomComboEdit::InsidePopup(const TControl* control) const {
    for (const TControl* c = control; c != nullptr; c = c->Parent())
        if (c == FPopup) return true;
    return false;
}

// ---- Input ---------------------------------------------------------------------------------------------------

void TsCustomComboEdit::Change() {
    if (PopupVisible()) return;
    TsMaskEdit::Change();
}

void TsCustomComboEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (!NewSkinBroadcast) SkinData()->BGChanged = true;
    TsMaskEdit::MouseDown(button, shift, x, y);
    if (PopupVisible()) PopupCloseUp();
}

void TsCustomComboEdit::KeyDown(user::WORD& key, TShiftState shift) {
    TsMaskEdit::KeyDown(key, shift);
    if (key == 0) return;
    if (ShortCut(key, shift) == FClickKey && GlyphWidth() > 0) {
        key = 0;
        if (!GetReadOnly()) ButtonClick();   // a read-only edit's text stays as it is
    }
}

void TsCustomComboEdit::KeyPress(char32_t& key) {
    if (key == 13 || key == 27) {
        if (TCustomForm* form = GetParentForm(this)) {
            classes::TComponentWatch alive(this);
            form->Perform(CM_DIALOGKEY, key, 0);
            if (alive.Get() == nullptr) return;
        }
    }
    TsMaskEdit::KeyPress(key);
    if (key == 13) key = 0;
}

// ---- Messages ------------------------------------------------------------------------------------------------

void TsCustomComboEdit::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_CANCELMODE: {
        const auto* from = reinterpret_cast<const TControl*>(m.LParam);
        if (from != this && from != FButton && !InsidePopup(from)) PopupCloseUp();
        break;
    }
    case CM_FOCUSCHANGED:
        if (reinterpret_cast<const TControl*>(m.LParam) != this && PopupVisible()) PopupCloseUp();
        break;
    case user::WM_PASTE:
    case user::WM_CUT:
        if (!FDirectInput || GetReadOnly()) return;
        break;
    default:
        break;
    }
    TsMaskEdit::WndProc(m);
    if (ControlDestroying(this)) return;
    if (m.Msg == SM_SKINCMD) {
        const int code = SkinCommandCode(m);
        if (code >= SMC_NEWSKIN && code <= SMC_REFRESH && m.LParam == LPARAM(SkinData()->SkinManager())) {
            TMessage copy = m;
            BroadcastToChildren(this, copy);
            SetEditRect();
        } else if (code == SMC_GETCACHE && SkinData()->CacheBmp() != nullptr) {
            // The button reads the cache past the 2-pixel frame.
            TsParentCacheInfo answer;
            FillCacheInfo(answer, SkinData()->CacheBmp(), 2, 2);
            AnswerCacheQuery(m, answer);
        } else if (code == SMC_ISUPDATING) {
            m.Result = 0;
        }
        return;
    }
    if (m.Msg == user::WM_SETFOCUS && AutoSelect()) AutoSelectText();
    if (m.Msg == CM_FONTCHANGED) SetEditRect();
    // The multi-line native edit reports no change for text set from code, as a single-line one does.
    if (m.Msg == CM_TEXTCHANGED && HandleAllocated() && !ComponentState().Contains(csLoading)) Change();
}

}
