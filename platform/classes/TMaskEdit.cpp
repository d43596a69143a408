// TMaskEdit: typing, deleting and pasting through the edit mask, Text and EditText, validation on exit.
#include "platform/classes/TMaskEdit.h"

#include "platform/classes/EditPublishing.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/controls/EditConstants.h"

namespace korvex::classes {

using namespace user;

int MaskCharCount(const std::string& mask) {
    return TEditMask(mask).Length();
}

TMaskEdit::TMaskEdit(TComponent* owner)
    : TCustomEdit(owner) {
    FControlStyle.Exclude(csSetCaption);
}

TClass TMaskEdit::StaticClass() {
    static const TClassInfo info = MakeClass<TMaskEdit, TCustomEdit>("TMaskEdit", [](auto& p) {
        p.String("EditMask", &TMaskEdit::EditMask, &TMaskEdit::SetEditMask);
        PublishEdit(p);
    });
    return &info;
}

void TMaskEdit::SetEditMask(const std::string& value) {
    if (FEditMask == value) return;
    std::string old = Text();
    FEditMask = value;
    FMask = TEditMask(value);
    SetMaxLength(FMask.Length());
    TControl::SetText(IsMasked() ? FromCodePoints(FMask.FromText(ToCodePoints(old))) : old);
}

std::string TMaskEdit::EditText() const {
    return TControl::Text();
}

void TMaskEdit::SetEditText(const std::string& value) {
    TControl::SetText(IsMasked() ? FromCodePoints(FMask.FromEditText(ToCodePoints(value))) : value);
}

std::string TMaskEdit::Text() const {
    if (!IsMasked()) return TControl::Text();
    return FromCodePoints(FMask.ToText(Current()));
}

void TMaskEdit::SetText(const std::string& value) {
    TControl::SetText(IsMasked() ? FromCodePoints(FMask.FromText(ToCodePoints(value))) : value);
}

void TMaskEdit::ValidateEdit() {
    if (!IsMasked()) return;
    int bad = FMask.FirstInvalid(Current());
    if (bad < 0) return;
    if (HandleAllocated()) SendMessage(WindowHandle(), EM_SETSEL, WPARAM(bad), LPARAM(bad));
    throw EDBEditError("Invalid input value");
}

// ---------------------------------------------------------------------------------------------------------
// Input

void TMaskEdit::WndProc(TMessage& message) {
    if (IsMasked() && !ReadOnly()) {
        switch (message.Msg) {
        case WM_PASTE:
            Paste(GetClipboardText());
            return;
        case WM_CUT: {
            TMessage copy {WM_COPY, 0, 0, 0};
            TCustomEdit::WndProc(copy);
            [[fallthrough]];
        }
        case WM_CLEAR:
            if (SelLength() != 0) DeleteKey(false);
            return;
        }
    }
    TCustomEdit::WndProc(message);
}

void TMaskEdit::KeyDown(WORD& key, TShiftState shift) {
    if (!RunUserCode(this, [&] { TCustomEdit::KeyDown(key, shift); })) return;
    if (!IsMasked() || ReadOnly() || key == 0) return;
    bool ctrl = shift.Contains(ssCtrl);
    bool withShift = shift.Contains(ssShift);
    if (key == VK_DELETE && !ctrl) {
        if (withShift) Perform(WM_CUT, 0, 0);
        else DeleteKey(false);
    } else if (key == VK_INSERT && withShift && !ctrl) {
        Perform(WM_PASTE, 0, 0);
    } else if (ctrl && !withShift && (key == 'X' || key == 'V')) {
        Perform(key == 'X' ? WM_CUT : WM_PASTE, 0, 0);
    } else if (ctrl && key == VK_DELETE) {
        DeleteKey(false);
    } else {
        return;
    }
    key = 0;
}

void TMaskEdit::KeyPress(char32_t& key) {
    if (!RunUserCode(this, [&] { TCustomEdit::KeyPress(key); })) return;
    if (!IsMasked() || ReadOnly() || key == 0) return;
    if (key == U'\b') {
        DeleteKey(true);
        key = 0;
    } else if (key >= 0x20 && key != 0x7F) {
        InsertChar(key);
        key = 0;
    }
}

void TMaskEdit::CMExit(TMessage& m) {
    if (IsMasked() && !ComponentState().Contains(csDesigning) && FMask.FirstInvalid(Current()) >= 0) {
        // The focus stays with the edit to be corrected; the error reaches the application's handler.
        if (CanFocus()) SetFocus();
        ValidateEdit();
    }
    TCustomEdit::CMExit(m);
}

std::u32string TMaskEdit::Current() const {
    std::u32string text = ToCodePoints(TControl::Text());
    if (int(text.size()) != FMask.Length()) text = FMask.FromEditText(text);
    return text;
}

void TMaskEdit::Selection(int& start, int& end) {
    DWORD from = 0;
    DWORD to = 0;
    SendMessage(Handle(), EM_GETSEL, WPARAM(&from), LPARAM(&to));
    start = std::min(int(from), FMask.Length());
    end = std::min(int(to), FMask.Length());
}

void TMaskEdit::ApplyEdit(const std::u32string& editText, int caret) {
    std::string text = FromCodePoints(editText);
    if (text != TControl::Text()) {
        TControl::SetText(text);
        SetModified(true);
    }
    if (HandleAllocated()) SendMessage(WindowHandle(), EM_SETSEL, WPARAM(caret), LPARAM(caret));
}

void TMaskEdit::ClearSlots(std::u32string& editText, int start, int end) const {
    for (int i = start; i < end; ++i)
        if (FMask.IsEditable(i)) editText[std::size_t(i)] = FMask.BlankChar();
}

void TMaskEdit::InsertChar(char32_t c) {
    int start = 0;
    int end = 0;
    Selection(start, end);
    int slot = FMask.NextEditable(start);
    char32_t fitted = FMask.Fit(slot, c);
    if (fitted == 0) return;   // refused: text and selection stay
    std::u32string text = Current();
    ClearSlots(text, start, end);
    text[std::size_t(slot)] = fitted;
    ApplyEdit(text, FMask.NextEditable(slot + 1));
}

void TMaskEdit::DeleteKey(bool backward) {
    int start = 0;
    int end = 0;
    Selection(start, end);
    std::u32string text = Current();
    if (start != end) {
        ClearSlots(text, start, end);
    } else if (backward) {
        start = FMask.PrevEditable(start);
        if (start < 0) return;
        ClearSlots(text, start, start + 1);
    } else {
        ClearSlots(text, FMask.NextEditable(start), FMask.NextEditable(start) + 1);
    }
    ApplyEdit(text, start);
}

void TMaskEdit::Paste(const std::string& clip) {
    if (clip.empty()) return;
    int start = 0;
    int end = 0;
    Selection(start, end);
    std::u32string text = Current();
    ClearSlots(text, start, end);
    int slot = FMask.NextEditable(start);
    // What a slot refuses is skipped, so a copied text with its literals pastes back.
    for (char32_t c : ToCodePoints(clip)) {
        if (slot >= FMask.Length()) break;
        char32_t fitted = FMask.Fit(slot, c);
        if (fitted == 0) continue;
        text[std::size_t(slot)] = fitted;
        slot = FMask.NextEditable(slot + 1);
    }
    ApplyEdit(text, slot);
}

}
