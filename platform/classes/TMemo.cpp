// TMemoStrings, TCustomMemo and TMemo over the native multi-line EDIT class.
#include "platform/classes/TMemo.h"

#include "platform/base/Utf8.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TStringList.h"
#include "platform/user/Messages.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/EditConstants.h"

#include <cstring>
#include <vector>

namespace korvex::classes {

using namespace user;

// ---------------------------------------------------------------------------------------------------------
// TMemoStrings

namespace {

// The control's text as a list, for a memo without a window.
std::unique_ptr<TStringList> TextLines(TCustomMemo* memo) {
    auto list = std::make_unique<TStringList>();
    list->SetText(memo->Text());
    return list;
}

}   // namespace

HWND TMemoStrings::Window() const {
    if (FMemo->HandleAllocated()) return FMemo->WindowHandle();
    if (FMemo->Parent() == nullptr && FMemo->ParentWindow() == nullptr) return nullptr;
    return FMemo->Handle();
}

int TMemoStrings::Count() const {
    HWND h = Window();
    if (!h) return TextLines(FMemo)->Count();
    int count = int(SendMessage(h, EM_GETLINECOUNT, 0, 0));
    // The empty line after a last line end is no line.
    if (count > 0 && SendMessage(h, EM_LINELENGTH, WPARAM(SendMessage(h, EM_LINEINDEX, WPARAM(count - 1), 0)), 0) == 0)
        --count;
    return count;
}

std::string TMemoStrings::Get(int index) const {
    HWND h = Window();
    if (!h) {
        auto list = TextLines(FMemo);
        if (index < 0 || index >= list->Count()) Error("List index out of bounds", index);
        return list->Get(index);
    }
    if (index < 0 || index >= Count()) Error("List index out of bounds", index);
    int start = int(SendMessage(h, EM_LINEINDEX, WPARAM(index), 0));
    int length = int(SendMessage(h, EM_LINELENGTH, WPARAM(start), 0));
    std::size_t size = std::size_t(length) * 4 + 1;
    if (size <= 0xFFFF) {
        std::vector<char> buffer(std::max<std::size_t>(size, sizeof(WORD)));
        WORD capacity = WORD(buffer.size());
        std::memcpy(buffer.data(), &capacity, sizeof(capacity));
        LRESULT n = SendMessage(h, EM_GETLINE, WPARAM(index), LPARAM(buffer.data()));
        return std::string(buffer.data(), std::size_t(std::max<LRESULT>(n, 0)));
    }
    // A line too long for EM_GETLINE's buffer size: cut it out of the whole text.
    std::string text = FMemo->Text();
    std::size_t from = base::Utf8ByteOffset(text, std::size_t(start));
    std::size_t to = base::Utf8ByteOffset(text, std::size_t(start + length));
    return text.substr(from, to - from);
}

void TMemoStrings::Put(int index, const std::string& s) {
    HWND h = Window();
    if (!h) {
        auto list = TextLines(FMemo);
        list->Put(index, s);
        FMemo->SetText(list->Text());
        return;
    }
    if (index < 0 || index >= Count()) Error("List index out of bounds", index);
    int start = int(SendMessage(h, EM_LINEINDEX, WPARAM(index), 0));
    int length = int(SendMessage(h, EM_LINELENGTH, WPARAM(start), 0));
    SendMessage(h, EM_SETSEL, WPARAM(start), LPARAM(start + length));
    SendMessage(h, EM_REPLACESEL, 0, LPARAM(s.c_str()));
}

void TMemoStrings::Insert(int index, const std::string& s) {
    HWND h = Window();
    if (!h) {
        auto list = TextLines(FMemo);
        list->Insert(index, s);
        FMemo->SetText(list->Text());
        return;
    }
    if (index < 0 || index > Count()) Error("List index out of bounds", index);
    int start = int(SendMessage(h, EM_LINEINDEX, WPARAM(index), 0));
    std::string line;
    if (start >= 0) {
        line = s + "\r\n";
    } else {
        // After a last line without a line end.
        start = int(SendMessage(h, EM_LINEINDEX, WPARAM(index - 1), 0));
        start += int(SendMessage(h, EM_LINELENGTH, WPARAM(start), 0));
        line = "\r\n" + s;
    }
    SendMessage(h, EM_SETSEL, WPARAM(start), LPARAM(start));
    SendMessage(h, EM_REPLACESEL, 0, LPARAM(line.c_str()));
}

void TMemoStrings::Delete(int index) {
    HWND h = Window();
    if (!h) {
        auto list = TextLines(FMemo);
        list->Delete(index);
        FMemo->SetText(list->Text());
        return;
    }
    if (index < 0 || index >= Count()) Error("List index out of bounds", index);
    int start = int(SendMessage(h, EM_LINEINDEX, WPARAM(index), 0));
    int end = int(SendMessage(h, EM_LINEINDEX, WPARAM(index + 1), 0));
    if (end < 0) end = start + int(SendMessage(h, EM_LINELENGTH, WPARAM(start), 0));
    SendMessage(h, EM_SETSEL, WPARAM(start), LPARAM(end));
    SendMessage(h, EM_REPLACESEL, 0, LPARAM(""));
}

void TMemoStrings::Clear() {
    FMemo->Clear();
}

std::string TMemoStrings::Text() const {
    return FMemo->Text();
}

void TMemoStrings::SetText(const std::string& value) {
    FMemo->SetText(value);
}

void TMemoStrings::SetUpdateState(bool updating) {
    if (!FMemo->HandleAllocated()) return;
    SendMessage(FMemo->WindowHandle(), WM_SETREDRAW, updating ? 0 : 1, 0);
    if (!updating) FMemo->Invalidate();
}

// ---------------------------------------------------------------------------------------------------------
// TCustomMemo

TCustomMemo::TCustomMemo(TComponent* owner)
    : TCustomEdit(owner)
    , FLines(std::make_unique<TMemoStrings>(this)) {
    SetAutoSize(false);
    SetBounds(Left(), Top(), 185, 89);
    FControlStyle.Exclude(csSetCaption);
}

TCustomMemo::~TCustomMemo() = default;

TClass TCustomMemo::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomMemo, TCustomEdit>("TCustomMemo");
    return &info;
}

const char* TCustomMemo::NativeClass() const {
    return WC_EDIT;
}

void TCustomMemo::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    params.Style |= ES_MULTILINE;
    if (FWordWrap) params.Style &= ~ES_AUTOHSCROLL;
    if (FAlignment == taRightJustify) params.Style |= ES_RIGHT;
    if (FAlignment == taCenter) params.Style |= ES_CENTER;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) params.Style |= WS_HSCROLL;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) params.Style |= WS_VSCROLL;
}

void TCustomMemo::WndProc(TMessage& message) {
    // Enter and Tab go on to the form unless the memo wants them.
    if (message.Msg == WM_CHAR && ((message.WParam == '\r' && !FWantReturns) || (message.WParam == '\t' && !FWantTabs)))
        return;
    TCustomEdit::WndProc(message);
    if (message.Msg == WM_GETDLGCODE) {
        if (FWantTabs)
            message.Result |= DLGC_WANTTAB;
        else
            message.Result &= ~DLGC_WANTTAB;
        if (!FWantReturns) message.Result &= ~DLGC_WANTALLKEYS;
    }
}

void TCustomMemo::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
    if (FScrollBars == value) return;
    FScrollBars = value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool value) {
    if (FWordWrap == value) return;
    FWordWrap = value;
    if (HandleAllocated()) RecreateWnd();
}

TPoint TCustomMemo::CaretPos() {
    HWND h = Handle();
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(h, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    int line = int(SendMessage(h, EM_LINEFROMCHAR, WPARAM(end), 0));
    int x = int(end) - int(SendMessage(h, EM_LINEINDEX, WPARAM(line), 0));
    return TPoint {x, line};
}

void TCustomMemo::SetCaretPos(TPoint value) {
    HWND h = Handle();
    int start = int(SendMessage(h, EM_LINEINDEX, WPARAM(value.y), 0));
    if (start < 0) return;
    int pos = start + std::max(0, value.x);
    SendMessage(h, EM_SETSEL, WPARAM(pos), LPARAM(pos));
}

// ---------------------------------------------------------------------------------------------------------
// TMemo

TMemo::TMemo(TComponent* owner)
    : TCustomMemo(owner) {
}

TClass TMemo::StaticClass() {
    static const TClassInfo info = MakeClass<TMemo, TCustomMemo>("TMemo", [](auto& p) {
        p.Enum("Alignment", &TMemo::Alignment, &TMemo::SetAlignment, AlignmentIdents, taLeftJustify);
        p.Enum("BorderStyle", &TMemo::BorderStyle, &TMemo::SetBorderStyle, FormBorderStyleIdents, bsSingle);
        p.Enum("CharCase", &TMemo::CharCase, &TMemo::SetCharCase, EditCharCaseIdents, ecNormal);
        p.Bool("Ctl3D", &TMemo::Ctl3D, &TMemo::SetCtl3D, true);
        p.Color("Color", &TMemo::Color, &TMemo::SetColor, clWindow);
        p.Bool("HideSelection", &TMemo::HideSelection, &TMemo::SetHideSelection, true);
        p.Object("Lines", &TMemo::Lines, &TMemo::SetLines);
        p.Int("MaxLength", &TMemo::MaxLength, &TMemo::SetMaxLength, 0);
        p.Bool("ParentColor", &TMemo::ParentColor, &TMemo::SetParentColor, false);
        p.Bool("ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly, false);
        p.Enum("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars, ScrollStyleIdents, ssNone);
        p.Bool("TabStop", &TMemo::TabStop, &TMemo::SetTabStop, true);
        p.Bool("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns, true);
        p.Bool("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs, false);
        p.Bool("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap, true);
        p.Event("OnChange", &TMemo::OnChange);
    });
    return &info;
}

}
