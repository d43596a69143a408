// TRichEdit and its text attributes over the native rich edit class.
#include "platform/classes/TRichEdit.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TStream.h"
#include "platform/user/Messages.h"
#include "platform/user/Window.h"
#include "platform/user/controls/RichEditConstants.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace korvex::classes {

using namespace user;

namespace {

inline constexpr LPARAM UnlimitedText = 0x7FFFFFF0;

struct TextSource {
    std::string_view Text;
    std::size_t Pos = 0;
};

DWORD ReadText(std::uintptr_t cookie, BYTE* buffer, LONG size, LONG* done) {
    auto* source = reinterpret_cast<TextSource*>(cookie);
    std::size_t n = std::min<std::size_t>(std::size_t(std::max<LONG>(size, 0)), source->Text.size() - source->Pos);
    std::memcpy(buffer, source->Text.data() + source->Pos, n);
    source->Pos += n;
    *done = LONG(n);
    return 0;
}

void StreamTextIn(HWND window, std::string_view text, WPARAM format) {
    TextSource source {text};
    EDITSTREAM es;
    es.dwCookie = std::uintptr_t(&source);
    es.pfnCallback = ReadText;
    SendMessage(window, EM_STREAMIN, format, LPARAM(&es));
}

// The rich edit's lines: loading from a stream goes through EM_STREAMIN.
class TRichEditStrings : public TMemoStrings {
public:
    TRichEditStrings(TRichEdit* richEdit)
        : TMemoStrings(richEdit)
        , FRichEdit(richEdit) { }

    void LoadFromStream(TStream& stream) override {
        std::int64_t size = stream.Size() - stream.Position();
        std::string text(std::size_t(std::max<std::int64_t>(size, 0)), '\0');
        text.resize(std::size_t(stream.Read(text.data(), std::int64_t(text.size()))));
        if (!FRichEdit->HandleAllocated() && FRichEdit->Parent() == nullptr && FRichEdit->ParentWindow() == nullptr) {
            SetText(text);
            return;
        }
        StreamTextIn(FRichEdit->Handle(), text, FRichEdit->PlainText() ? SF_TEXT : SF_RTF);
    }

private:
    TRichEdit* FRichEdit;
};

CHARFORMAT2 ReadFormat(TRichEdit* edit, TAttributeType type) {
    CHARFORMAT2 cf;
    if (edit->HandleAllocated() || edit->Parent() || edit->ParentWindow())
        SendMessage(edit->Handle(), EM_GETCHARFORMAT, type == TAttributeType::Selected ? SCF_SELECTION : SCF_DEFAULT,
            LPARAM(&cf));
    return cf;
}

void WriteFormat(TRichEdit* edit, TAttributeType type, CHARFORMAT2& cf) {
    if (!edit->HandleAllocated() && !edit->Parent() && !edit->ParentWindow()) return;
    SendMessage(
        edit->Handle(), EM_SETCHARFORMAT, type == TAttributeType::Selected ? SCF_SELECTION : SCF_DEFAULT, LPARAM(&cf));
}

}   // namespace

// ---------------------------------------------------------------------------------------------------------
// TTextAttributes

TColor TTextAttributes::Color() const {
    CHARFORMAT2 cf = ReadFormat(FRichEdit, FType);
    if (cf.dwEffects & CFE_AUTOCOLOR) return clWindowText;
    return TColor(cf.crTextColor);
}

void TTextAttributes::SetColor(TColor value) {
    CHARFORMAT2 cf;
    cf.dwMask = CFM_COLOR;
    if (value == clWindowText || value == clDefault)
        cf.dwEffects = CFE_AUTOCOLOR;
    else
        cf.crTextColor = COLORREF(ColorToRGB(value));
    WriteFormat(FRichEdit, FType, cf);
}

TFontStyles TTextAttributes::Style() const {
    CHARFORMAT2 cf = ReadFormat(FRichEdit, FType);
    TFontStyles style;
    if (cf.dwEffects & CFE_BOLD) style.Include(fsBold);
    if (cf.dwEffects & CFE_ITALIC) style.Include(fsItalic);
    if (cf.dwEffects & CFE_UNDERLINE) style.Include(fsUnderline);
    if (cf.dwEffects & CFE_STRIKEOUT) style.Include(fsStrikeOut);
    return style;
}

void TTextAttributes::SetStyle(TFontStyles value) {
    CHARFORMAT2 cf;
    cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    if (value.Contains(fsBold)) cf.dwEffects |= CFE_BOLD;
    if (value.Contains(fsItalic)) cf.dwEffects |= CFE_ITALIC;
    if (value.Contains(fsUnderline)) cf.dwEffects |= CFE_UNDERLINE;
    if (value.Contains(fsStrikeOut)) cf.dwEffects |= CFE_STRIKEOUT;
    WriteFormat(FRichEdit, FType, cf);
}

std::string TTextAttributes::Name() const {
    CHARFORMAT2 cf = ReadFormat(FRichEdit, FType);
    return std::string(cf.szFaceName, strnlen(cf.szFaceName, LF_FACESIZE));
}

void TTextAttributes::SetName(const std::string& value) {
    CHARFORMAT2 cf;
    cf.dwMask = CFM_FACE;
    std::memcpy(cf.szFaceName, value.data(), std::min<std::size_t>(value.size(), LF_FACESIZE - 1));
    WriteFormat(FRichEdit, FType, cf);
}

int TTextAttributes::Size() const {
    return int(ReadFormat(FRichEdit, FType).yHeight / 20);
}

void TTextAttributes::SetSize(int value) {
    CHARFORMAT2 cf;
    cf.dwMask = CFM_SIZE;
    cf.yHeight = std::max(0, value) * 20;
    WriteFormat(FRichEdit, FType, cf);
}

void TTextAttributes::Assign(const TPersistent* source) {
    if (auto* font = dynamic_cast<const TFont*>(source)) {
        SetColor(font->Color());
        SetStyle(font->Style());
        SetName(font->Name());
        SetSize(font->Size());
        return;
    }
    if (auto* other = dynamic_cast<const TTextAttributes*>(source)) {
        SetColor(other->Color());
        SetStyle(other->Style());
        SetName(other->Name());
        SetSize(other->Size());
        return;
    }
    TPersistent::Assign(source);
}

// ---------------------------------------------------------------------------------------------------------
// TRichEdit

TRichEdit::TRichEdit(TComponent* owner)
    : TCustomMemo(owner)
    , FSelAttributes(std::make_unique<TTextAttributes>(this, TAttributeType::Selected))
    , FDefAttributes(std::make_unique<TTextAttributes>(this, TAttributeType::Default)) {
    FLines = std::make_unique<TRichEditStrings>(this);
}

TRichEdit::~TRichEdit() = default;

TClass TRichEdit::StaticClass() {
    static const TClassInfo info = MakeClass<TRichEdit, TCustomMemo>("TRichEdit", [](auto& p) {
        p.Enum("BorderStyle", &TRichEdit::BorderStyle, &TRichEdit::SetBorderStyle, FormBorderStyleIdents, bsSingle);
        p.Bool("Ctl3D", &TRichEdit::Ctl3D, &TRichEdit::SetCtl3D, true);
        p.Color("Color", &TRichEdit::Color, &TRichEdit::SetColor, clWindow);
        p.Bool("HideScrollBars", &TRichEdit::HideScrollBars, &TRichEdit::SetHideScrollBars, true);
        p.Bool("HideSelection", &TRichEdit::HideSelection, &TRichEdit::SetHideSelection, true);
        p.Object("Lines", &TRichEdit::Lines, &TRichEdit::SetLines);
        p.Int("MaxLength", &TRichEdit::MaxLength, &TRichEdit::SetMaxLength, 0);
        p.Bool("ParentColor", &TRichEdit::ParentColor, &TRichEdit::SetParentColor, false);
        p.Bool("PlainText", &TRichEdit::PlainText, &TRichEdit::SetPlainText, false);
        p.Bool("ReadOnly", &TRichEdit::ReadOnly, &TRichEdit::SetReadOnly, false);
        p.Enum("ScrollBars", &TRichEdit::ScrollBars, &TRichEdit::SetScrollBars, ScrollStyleIdents, ssNone);
        p.Bool("TabStop", &TRichEdit::TabStop, &TRichEdit::SetTabStop, true);
        p.Bool("WantReturns", &TRichEdit::WantReturns, &TRichEdit::SetWantReturns, true);
        p.Bool("WantTabs", &TRichEdit::WantTabs, &TRichEdit::SetWantTabs, false);
        p.Bool("WordWrap", &TRichEdit::WordWrap, &TRichEdit::SetWordWrap, true);
        p.Event("OnChange", &TRichEdit::OnChange);
        p.Event("OnSelectionChange", &TRichEdit::OnSelectionChange);
    });
    return &info;
}

const char* TRichEdit::NativeClass() const {
    return RICHEDIT_CLASS;
}

void TRichEdit::SetHideScrollBars(bool value) {
    if (FHideScrollBars == value) return;
    FHideScrollBars = value;
    if (HandleAllocated()) RecreateWnd();
}

void TRichEdit::CreateParams(TCreateParams& params) {
    TCustomMemo::CreateParams(params);
    if (!FHideScrollBars) params.Style |= ES_DISABLENOSCROLL;
}

void TRichEdit::CreateWnd() {
    TCustomMemo::CreateWnd();
    HWND h = WindowHandle();
    SendMessage(h, EM_EXLIMITTEXT, 0, MaxLength() > 0 ? LPARAM(MaxLength()) : UnlimitedText);
    SendMessage(h, EM_SETEVENTMASK, 0, LPARAM(ENM_CHANGE | ENM_SELCHANGE));
    ApplyColors();
}

void TRichEdit::ApplyColors() {
    if (!HandleAllocated()) return;
    SendMessage(WindowHandle(), EM_SETBKGNDCOLOR, 0, LPARAM(ColorToRGB(Color())));
    FDefAttributes->SetColor(Font()->Color());
}

void TRichEdit::CMColorChanged(TMessage& m) {
    TCustomMemo::CMColorChanged(m);
    ApplyColors();
}

void TRichEdit::CMFontChanged(TMessage& m) {
    TCustomMemo::CMFontChanged(m);
    ApplyColors();
}

void TRichEdit::WndProc(TMessage& message) {
    if (message.Msg == CN_NOTIFY) {
        auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
        if (header && header->code == EN_SELCHANGE) SelectionChange();
        return;
    }
    // MaxLength 0 of the edit means "no limit" here too.
    if (message.Msg == EM_LIMITTEXT && message.WParam == 0) message.WParam = WPARAM(UnlimitedText);
    TCustomMemo::WndProc(message);
}

void TRichEdit::SelectionChange() {
    if (OnSelectionChange) OnSelectionChange(this);
}

void TRichEdit::StreamIn(std::string_view text, bool selectionOnly) {
    StreamTextIn(Handle(), text, SF_TEXT | (selectionOnly ? SFF_SELECTION : 0));
}

void TRichEdit::StreamIn(
    const std::shared_ptr<const std::string>& text, std::size_t begin, std::size_t end, bool selectionOnly) {
    SHAREDTEXT shared {text, begin, end};
    SendMessage(Handle(), EM_STREAMINSHARED, SF_TEXT | (selectionOnly ? SFF_SELECTION : 0), LPARAM(&shared));
}

std::string TRichEdit::SelText() {
    CHARRANGE range {};
    SendMessage(Handle(), EM_EXGETSEL, 0, LPARAM(&range));
    std::vector<char> buffer(std::size_t(std::max<LONG>(0, range.cpMax - range.cpMin)) * 4 + 1);
    SendMessage(Handle(), EM_GETSELTEXT, 0, LPARAM(buffer.data()));
    return std::string(buffer.data());
}

}
