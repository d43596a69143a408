// The rich edit class: registration and its own messages (ranges, character formats, background, streams).
#include "platform/user/controls/EditEngine.h"

#include "platform/gdi/SysColors.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Input.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/RichEditConstants.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace korvex::user {

namespace edit {

namespace {

inline constexpr int RichDefaultLimit = 0xFFFF;   // EM_EXLIMITTEXT 0, as Windows
inline constexpr LONG StreamChunk = 4096;

CharFormat FromCharFormat(const CHARFORMAT& cf) {
    CharFormat f;
    f.Bold = (cf.dwEffects & CFE_BOLD) != 0;
    f.Italic = (cf.dwEffects & CFE_ITALIC) != 0;
    f.Underline = (cf.dwEffects & CFE_UNDERLINE) != 0;
    f.StrikeOut = (cf.dwEffects & CFE_STRIKEOUT) != 0;
    f.AutoColor = (cf.dwEffects & CFE_AUTOCOLOR) != 0;
    f.Color = cf.crTextColor;
    f.HeightTwips = std::max<LONG>(0, cf.yHeight);
    f.Face.assign(cf.szFaceName, strnlen(cf.szFaceName, LF_FACESIZE));
    if (cf.cbSize >= sizeof(CHARFORMAT2)) {
        const auto& cf2 = static_cast<const CHARFORMAT2&>(cf);
        f.AutoBack = (cf.dwEffects & CFE_AUTOBACKCOLOR) != 0;
        f.BackColor = cf2.crBackColor;
        if ((cf.dwMask & CFM_WEIGHT) && !(cf.dwMask & CFM_BOLD)) f.Bold = cf2.wWeight >= 600;
    }
    return f;
}

DWORD MaskOf(const CHARFORMAT& cf) {
    DWORD mask = cf.dwMask;
    if (cf.cbSize < sizeof(CHARFORMAT2)) mask &= ~(CFM_BACKCOLOR | CFM_WEIGHT);
    if (mask & CFM_WEIGHT) mask |= CFM_BOLD;
    return mask;
}

void ToCharFormat(const CharFormat& f, DWORD consistent, CHARFORMAT* out, COLORREF autoColor) {
    out->dwMask = consistent & (out->cbSize >= sizeof(CHARFORMAT2) ? (CFM_ALL | CFM_BACKCOLOR | CFM_WEIGHT) : CFM_ALL);
    out->dwEffects = (f.Bold ? CFE_BOLD : 0) | (f.Italic ? CFE_ITALIC : 0) | (f.Underline ? CFE_UNDERLINE : 0)
        | (f.StrikeOut ? CFE_STRIKEOUT : 0) | (f.AutoColor ? CFE_AUTOCOLOR : 0);
    out->crTextColor = f.AutoColor ? autoColor : f.Color;
    out->yHeight = f.HeightTwips;
    std::memset(out->szFaceName, 0, sizeof(out->szFaceName));
    std::memcpy(out->szFaceName, f.Face.data(), std::min<std::size_t>(f.Face.size(), LF_FACESIZE - 1));
    if (out->cbSize >= sizeof(CHARFORMAT2)) {
        auto* cf2 = static_cast<CHARFORMAT2*>(out);
        if (f.AutoBack) out->dwEffects |= CFE_AUTOBACKCOLOR;
        cf2->crBackColor = f.BackColor;
        cf2->wWeight = WORD(f.Bold ? 700 : 400);
    }
}

}   // namespace

LRESULT EditControl::RichMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    const std::optional<LRESULT> answer
        = FirstAnswer({&EditControl::RichSelectionMessage, &EditControl::RichFormatMessage,
                          &EditControl::RichTextMessage, &EditControl::RichPositionMessage},
            this, msg, wParam, lParam);
    handled = answer.has_value();
    return answer.value_or(0);
}

// The selection: ranges, hiding, its text.
std::optional<LRESULT> EditControl::RichSelectionMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case EM_EXGETSEL:
        if (auto* range = reinterpret_cast<CHARRANGE*>(lParam)) *range = CHARRANGE {SelStart(), SelEnd()};
        return 0;
    case EM_EXSETSEL: {
        auto* range = reinterpret_cast<const CHARRANGE*>(lParam);
        if (!range) return SelEnd();
        int length = TextLength();
        int start = range->cpMin;
        int end = range->cpMax;
        if (start == 0 && end == -1) end = length;
        if (start < 0) start = end = FCaret;   // no selection, the caret stays
        if (end < 0) end = length;
        SetSel(std::min(start, end), std::max(start, end), false);
        return SelEnd();
    }
    case EM_HIDESELECTION:
        FHideSelection = wParam != 0;
        Invalidate();
        return 0;
    case EM_GETSELTEXT: {
        auto* buffer = reinterpret_cast<char*>(lParam);
        if (!buffer) return 0;
        std::string text = Text(SelStart(), SelEnd());
        std::memcpy(buffer, text.data(), text.size());
        buffer[text.size()] = 0;
        return SelEnd() - SelStart();
    }
    default:
        return std::nullopt;
    }
}

// Character formats and the background colour.
std::optional<LRESULT> EditControl::RichFormatMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case EM_SETCHARFORMAT: {
        auto* cf = reinterpret_cast<const CHARFORMAT*>(lParam);
        if (!cf || (cf->cbSize != sizeof(CHARFORMAT) && cf->cbSize != sizeof(CHARFORMAT2))) return 0;
        CharFormat format = FromCharFormat(*cf);
        DWORD mask = MaskOf(*cf);
        if (wParam & SCF_ALL) {
            ApplyFormat(0, TextLength(), format, mask);
        } else if (wParam & (SCF_SELECTION | SCF_WORD)) {
            int start = SelStart();
            int end = SelEnd();
            if (wParam & SCF_WORD && start == end) {
                start = WordStart(start);
                end = WordEnd(end);
            }
            if (start == end) {
                // An empty selection: the format of what is typed there next.
                int base = FInsertFormat >= 0 ? FInsertFormat : FormatAt(start);
                FInsertFormat = AddFormat(MergeFormat(Format(base), format, mask));
                return 1;
            }
            ApplyFormat(start, end, format, mask);
            InvalidateRange(start, end);
            if (mask & (CFM_BOLD | CFM_ITALIC | CFM_SIZE | CFM_FACE)) {
                Invalidate();
                UpdateScrollBars();
            }
            return 1;
        } else {
            ApplyDefaultFormat(format, mask);
        }
        FLineHeight = -1;
        Invalidate();
        UpdateScrollBars();
        UpdateCaret();
        return 1;
    }
    case EM_GETCHARFORMAT: {
        auto* cf = reinterpret_cast<CHARFORMAT*>(lParam);
        if (!cf || (cf->cbSize != sizeof(CHARFORMAT) && cf->cbSize != sizeof(CHARFORMAT2))) return 0;
        COLORREF autoColor = gdi::GetSysColor(gdi::COLOR_WINDOWTEXT);
        DWORD consistent = CFM_ALL | CFM_BACKCOLOR | CFM_WEIGHT;
        CharFormat format = wParam & SCF_SELECTION ? RangeFormat(SelStart(), SelEnd(), &consistent) : Format(0);
        if (consistent & CFM_BOLD) consistent |= CFM_WEIGHT;
        ToCharFormat(format, consistent, cf, autoColor);
        return LRESULT(cf->dwMask);
    }
    case EM_SETBKGNDCOLOR: {
        COLORREF old = FHasBack ? FBackColor : gdi::GetSysColor(gdi::COLOR_WINDOW);
        FHasBack = wParam == 0;
        FBackColor = COLORREF(lParam);
        Invalidate();
        return LRESULT(old);
    }
    default:
        return std::nullopt;
    }
}

// The text: limits, ranges, streaming in; the event mask.
std::optional<LRESULT> EditControl::RichTextMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case EM_EXLIMITTEXT:
        FLimit = lParam <= 0 ? RichDefaultLimit : int(std::min<LPARAM>(lParam, EditMaxLimit));
        return 0;
    case EM_LIMITTEXT:
        FLimit = wParam == 0 ? RichDefaultLimit : int(std::min<WPARAM>(wParam, WPARAM(EditMaxLimit)));
        return 0;
    case EM_GETTEXTRANGE: {
        auto* range = reinterpret_cast<TEXTRANGE*>(lParam);
        if (!range || !range->lpstrText) return 0;
        int end = range->chrg.cpMax < 0 ? TextLength() : int(range->chrg.cpMax);
        int start = std::max<int>(0, range->chrg.cpMin);
        if (end < start) end = start;
        std::string text = Text(start, end);
        std::memcpy(range->lpstrText, text.data(), text.size());
        range->lpstrText[text.size()] = 0;
        return ClampPos(end) - ClampPos(start);
    }
    case EM_STREAMIN: {
        auto* stream = reinterpret_cast<EDITSTREAM*>(lParam);
        if (!stream || !stream->pfnCallback) return 0;
        // Plain text; RTF is not read (text that is not RTF reads as plain text either way).
        std::string data;
        std::vector<BYTE> chunk(static_cast<std::size_t>(StreamChunk));
        stream->dwError = 0;
        for (;;) {
            LONG done = 0;
            DWORD error = stream->pfnCallback(stream->dwCookie, chunk.data(), StreamChunk, &done);
            if (error) {
                stream->dwError = error;
                break;
            }
            if (done <= 0) break;
            data.append(reinterpret_cast<const char*>(chunk.data()), std::size_t(std::min(done, StreamChunk)));
        }
        return StreamedIn(data, nullptr, wParam);
    }
    case EM_STREAMINSHARED: {
        auto* shared = reinterpret_cast<const SHAREDTEXT*>(lParam);
        if (!shared || !shared->Text) return 0;
        const std::size_t end = std::min(shared->End, shared->Text->size());
        const std::size_t begin = std::min(shared->Begin, end);
        return StreamedIn(std::string_view(*shared->Text).substr(begin, end - begin), &shared->Text, wParam);
    }
    case EM_SETEVENTMASK: {
        DWORD old = FEventMask;
        FEventMask = DWORD(lParam);
        return LRESULT(old);
    }
    case EM_GETEVENTMASK:
        return LRESULT(FEventMask);
    default:
        return std::nullopt;
    }
}

LRESULT EditControl::StreamedIn(std::string_view text, const std::shared_ptr<const std::string>* shared, WPARAM format) {
    if (format & SFF_SELECTION) {
        int start = SelStart();
        int inserted = ReplaceWith(start, SelEnd(), text, shared, true, true, false);
        if (inserted >= 0) SetSel(start + inserted, start + inserted, false);
    } else {
        SetAllText({});
        ReplaceWith(0, 0, text, shared, true, false, false);
        FModified = false;
        SetSel(0, 0, false);
    }
    Relayout();
    Invalidate();
    UpdateScrollBars();
    UpdateCaret();
    Notify(EN_UPDATE);
    if (!Dead()) Notify(EN_CHANGE);
    return LRESULT(base::Utf8Length(text));
}

// Positions and scrolling in the rich edit's forms.
std::optional<LRESULT> EditControl::RichPositionMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case EM_EXLINEFROMCHAR:
        return LineOfPos(int(lParam));
    case EM_GETSCROLLPOS:
        if (auto* p = reinterpret_cast<POINT*>(lParam)) *p = POINT {FXOffset, FTopLine * LineHeight()};
        return 1;
    case EM_SETSCROLLPOS:
        if (auto* p = reinterpret_cast<const POINT*>(lParam)) ScrollTo(p->y / LineHeight(), p->x, false);
        return 1;
    case EM_POSFROMCHAR: {
        // The rich edit's form: wParam the point to fill, lParam the character.
        auto* out = reinterpret_cast<POINT*>(wParam);
        if (!out) return 0;
        *out = PosFromChar(int(lParam));
        return 0;
    }
    case EM_CHARFROMPOS: {
        auto* p = reinterpret_cast<const POINT*>(lParam);
        return p ? CharFromPoint(*p) : 0;
    }
    default:
        return std::nullopt;
    }
}

}   // namespace edit

namespace {

LRESULT RichEditWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return edit::EditProc(hwnd, msg, wParam, lParam, true);
}

}   // namespace

bool RegisterRichEditClass() {
    return RegisterControlClass(RICHEDIT_CLASS, RichEditWndProc, CS_DBLCLKS, IDC_IBEAM) != 0;
}

}
