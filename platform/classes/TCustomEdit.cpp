// TCustomEdit and TEdit over the native EDIT class.
#include "platform/classes/TCustomEdit.h"

#include "platform/base/ScopeGuard.h"
#include "platform/base/Strings.h"
#include "platform/base/Utf8.h"
#include "platform/classes/EditPublishing.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TEdit.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Messages.h"
#include "platform/user/Window.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/StandardClasses.h"

namespace korvex::classes {

using namespace user;

TCustomEdit::TCustomEdit(TComponent* owner)
    : TWinControl(owner) {
    RegisterStandardClasses();
    FControlStyle = TControlStyle {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    SetBounds(Left(), Top(), 121, 25);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    AdjustHeight();
}

TCustomEdit::~TCustomEdit() = default;

TClass TCustomEdit::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomEdit, TWinControl>("TCustomEdit");
    return &info;
}

const char* TCustomEdit::NativeClass() const {
    return WC_EDIT;
}

void TCustomEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, NativeClass());
    params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (FBorderStyle == bsSingle && FCtl3D) params.ExStyle |= WS_EX_CLIENTEDGE;
    if (FBorderStyle == bsSingle && !FCtl3D) params.Style |= WS_BORDER;
    if (FReadOnly) params.Style |= ES_READONLY;
    if (!FHideSelection) params.Style |= ES_NOHIDESEL;
    if (FCharCase == ecUpperCase) params.Style |= ES_UPPERCASE;
    if (FCharCase == ecLowerCase) params.Style |= ES_LOWERCASE;
}

void TCustomEdit::CreateWnd() {
    {
        base::ValueRollback<bool> creating(FCreating, true);
        TWinControl::CreateWnd();
    }
    HWND h = WindowHandle();
    SendMessage(h, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
    if (FPasswordChar) SendMessage(h, EM_SETPASSWORDCHAR, WPARAM(FPasswordChar), 0);
    SendMessage(h, EM_SETMODIFY, FModified ? 1 : 0, 0);
}

void TCustomEdit::DestroyWnd() {
    FModified = Modified();
    TWinControl::DestroyWnd();
}

void TCustomEdit::Loaded() {
    TWinControl::Loaded();
    AdjustHeight();
}

void TCustomEdit::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        CNCommand(message);
        return;
    }
    TWinControl::WndProc(message);
}

void TCustomEdit::CNCommand(TMessage& m) {
    if (HIWORD(m.WParam) == EN_CHANGE && !FCreating) Change();
}

void TCustomEdit::Change() {
    TControl::Changed();
    if (OnChange) OnChange(this);
}

void TCustomEdit::CMEnter(TMessage& m) {
    // Tabbing into a single-line edit selects its text; a click places the caret instead.
    if (FAutoSelect && !ControlState().Contains(csLButtonDown) && HandleAllocated()
        && !(GetWindowStyle(WindowHandle()) & ES_MULTILINE))
        SelectAll();
    TWinControl::CMEnter(m);
}

void TCustomEdit::CMFontChanged(TMessage& m) {
    TWinControl::CMFontChanged(m);
    AdjustHeight();
}

void TCustomEdit::AdjustHeight() {
    if (!FAutoSize || ComponentState().Contains(csLoading)) return;
    HDC dc = gdi::CreateCompatibleDC(nullptr);
    HFONT old = gdi::SelectObject(dc, Font()->Handle());
    gdi::TEXTMETRIC tm;
    bool ok = gdi::GetTextMetrics(dc, &tm);
    gdi::SelectObject(dc, old);
    gdi::DeleteDC(dc);
    if (!ok) return;
    // The font's cell, a pixel above and below it, and the sunken edge.
    int height = int(tm.tmHeight) + (FBorderStyle == bsSingle ? (FCtl3D ? 8 : 6) : 2);
    if (height != Height()) SetHeight(height);
}

void TCustomEdit::SetAutoSize(bool value) {
    if (FAutoSize == value) return;
    FAutoSize = value;
    AdjustHeight();
}

void TCustomEdit::SetBorderStyle(TFormBorderStyle value) {
    if (value != bsNone) value = bsSingle;
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    AdjustHeight();
    if (HandleAllocated()) RecreateWnd();
}

void TCustomEdit::SetCtl3D(bool value) {
    if (FCtl3D == value) return;
    FCtl3D = value;
    AdjustHeight();
    if (HandleAllocated()) RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
    if (FCharCase == value) return;
    FCharCase = value;
    if (HandleAllocated()) {
        DWORD style = GetWindowStyle(WindowHandle()) & ~(ES_UPPERCASE | ES_LOWERCASE);
        if (value == ecUpperCase) style |= ES_UPPERCASE;
        if (value == ecLowerCase) style |= ES_LOWERCASE;
        SetWindowLongPtr(WindowHandle(), GWL_STYLE, LONG_PTR(style));
        SetText(value == ecUpperCase   ? base::AnsiUpperCase(Text())
                : value == ecLowerCase ? base::AnsiLowerCase(Text())
                                       : Text());
    }
}

void TCustomEdit::SetHideSelection(bool value) {
    if (FHideSelection == value) return;
    FHideSelection = value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomEdit::SetMaxLength(int value) {
    if (value < 0) value = 0;
    if (FMaxLength == value) return;
    FMaxLength = value;
    if (HandleAllocated()) SendMessage(WindowHandle(), EM_LIMITTEXT, WPARAM(value), 0);
}

void TCustomEdit::SetPasswordChar(char32_t value) {
    if (FPasswordChar == value) return;
    FPasswordChar = value;
    if (HandleAllocated()) {
        SendMessage(WindowHandle(), EM_SETPASSWORDCHAR, WPARAM(value), 0);
        Invalidate();
    }
}

std::string TCustomEdit::PasswordCharText() const {
    return FPasswordChar ? base::Utf8Encode(FPasswordChar) : std::string();
}

void TCustomEdit::SetPasswordCharText(const std::string& value) {
    std::size_t pos = 0;
    SetPasswordChar(value.empty() ? 0 : base::Utf8DecodeNext(value, pos));
}

void TCustomEdit::SetReadOnly(bool value) {
    if (FReadOnly == value) return;
    FReadOnly = value;
    if (HandleAllocated()) SendMessage(WindowHandle(), EM_SETREADONLY, value ? 1 : 0, 0);
}

bool TCustomEdit::Modified() const {
    if (!HandleAllocated()) return FModified;
    return SendMessage(WindowHandle(), EM_GETMODIFY, 0, 0) != 0;
}

void TCustomEdit::SetModified(bool value) {
    FModified = value;
    if (HandleAllocated()) SendMessage(WindowHandle(), EM_SETMODIFY, value ? 1 : 0, 0);
}

// ---------------------------------------------------------------------------------------------------------
// Selection and clipboard

int TCustomEdit::SelStart() {
    DWORD start = 0;
    SendMessage(Handle(), EM_GETSEL, WPARAM(&start), 0);
    return int(start);
}

void TCustomEdit::SetSelStart(int value) {
    SendMessage(Handle(), EM_SETSEL, WPARAM(value), LPARAM(value));
}

int TCustomEdit::SelLength() {
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(Handle(), EM_GETSEL, WPARAM(&start), LPARAM(&end));
    return int(end) - int(start);
}

void TCustomEdit::SetSelLength(int value) {
    DWORD start = 0;
    SendMessage(Handle(), EM_GETSEL, WPARAM(&start), 0);
    SendMessage(Handle(), EM_SETSEL, WPARAM(start), LPARAM(int(start) + value));
}

std::string TCustomEdit::SelText() {
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(Handle(), EM_GETSEL, WPARAM(&start), LPARAM(&end));
    std::string text = Text();
    // Positions count code points and a line end as two; the text has "\r\n" line ends, so code points
    // map one to one.
    std::size_t from = base::Utf8ByteOffset(text, start);
    std::size_t to = base::Utf8ByteOffset(text, end);
    return text.substr(from, to - from);
}

void TCustomEdit::SetSelText(const std::string& value) {
    SendMessage(Handle(), EM_REPLACESEL, 1, LPARAM(value.c_str()));
}

bool TCustomEdit::CanUndo() {
    return HandleAllocated() && SendMessage(WindowHandle(), EM_CANUNDO, 0, 0) != 0;
}

void TCustomEdit::Undo() {
    if (HandleAllocated()) SendMessage(WindowHandle(), WM_UNDO, 0, 0);
}

void TCustomEdit::ClearUndo() {
    if (HandleAllocated()) SendMessage(WindowHandle(), EM_EMPTYUNDOBUFFER, 0, 0);
}

void TCustomEdit::Clear() {
    if (!HandleAllocated()) {
        SetText("");
        return;
    }
    // Not through SetText: that reads the whole text to compare it, a copy as large as a long log.
    if (SendMessage(WindowHandle(), WM_GETTEXTLENGTH, 0, 0) == 0) return;
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TCustomEdit::ClearSelection() {
    SendMessage(Handle(), WM_CLEAR, 0, 0);
}

void TCustomEdit::CopyToClipboard() {
    SendMessage(Handle(), WM_COPY, 0, 0);
}

void TCustomEdit::CutToClipboard() {
    SendMessage(Handle(), WM_CUT, 0, 0);
}

void TCustomEdit::PasteFromClipboard() {
    SendMessage(Handle(), WM_PASTE, 0, 0);
}

void TCustomEdit::SelectAll() {
    SendMessage(Handle(), EM_SETSEL, 0, -1);
}

// ---------------------------------------------------------------------------------------------------------
// TEdit

TEdit::TEdit(TComponent* owner)
    : TCustomEdit(owner) {
}

TClass TEdit::StaticClass() {
    static const TClassInfo info = MakeClass<TEdit, TCustomEdit>("TEdit", [](auto& p) { PublishEdit(p); });
    return &info;
}

}
