// Edit engine: the EM_ messages of the EDIT class (the rich edit answers them too).
#include "platform/user/controls/EditEngine.h"

#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/RichEditConstants.h"

#include <algorithm>
#include <cstring>

namespace korvex::user::edit {

namespace {

LRESULT PackPair(int low, int high) {
    if (low < 0 || low > 0xFFFF || high < 0 || high > 0xFFFF) return -1;
    return MAKELRESULT(low, high);
}

int FontMargin(EditControl& e) {
    const FormatFont& f = e.Font(0);
    int average = f.Instance ? int(f.Instance->TextMetrics().tmAveCharWidth) : 6;
    return std::max(1, average / 3);
}

}   // namespace

LRESULT EditControl::Message(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (FRich) {
        LRESULT result = RichMessage(msg, wParam, lParam, handled);
        if (handled) return result;
    }
    const std::optional<LRESULT> answer
        = FirstAnswer({&EditControl::SelectionMessage, &EditControl::FormatRectMessage, &EditControl::ScrollMessage,
                          &EditControl::LineMessage, &EditControl::StateMessage},
            this, msg, wParam, lParam);
    handled = answer.has_value();
    return answer.value_or(0);
}

// The selection and its replacement.
std::optional<LRESULT> EditControl::SelectionMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case EM_GETSEL: {
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = DWORD(SelStart());
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = DWORD(SelEnd());
        return PackPair(SelStart(), SelEnd());
    }
    case EM_SETSEL: {
        int start = int(static_cast<std::intptr_t>(static_cast<int>(wParam)));
        int end = int(lParam);
        if (start == -1) {
            SetSel(FCaret, FCaret, false);   // no selection, the caret stays
            return 1;
        }
        int length = TextLength();
        if (end < 0) end = length;
        if (start < 0) start = length;
        SetSel(start, end, false);
        return 1;
    }
    case EM_REPLACESEL: {
        auto* text = reinterpret_cast<const char*>(lParam);
        int start = SelStart();
        int inserted = Replace(start, SelEnd(), Filter(text ? text : ""), true, wParam != 0);
        bool hit = FHitLimit;
        if (inserted >= 0) {
            SetSel(start + inserted, start + inserted, false);
            ScrollCaret();
            Changed(false);
            if (Dead()) return 0;
        }
        if (hit) Notify(EN_MAXTEXT);
        return 0;
    }
    default:
        return std::nullopt;
    }
}

// The format rectangle and the margins.
std::optional<LRESULT> EditControl::FormatRectMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case EM_GETRECT:
        if (lParam) *reinterpret_cast<RECT*>(lParam) = FRect;
        return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
        SetFormatRect(reinterpret_cast<const RECT*>(lParam), msg == EM_SETRECT);
        return 0;
    case EM_SETMARGINS: {
        int left = LOWORD(std::uintptr_t(lParam));
        int right = HIWORD(std::uintptr_t(lParam));
        if (wParam == EC_USEFONTINFO) {
            left = right = FontMargin(*this);
            wParam = EC_LEFTMARGIN | EC_RIGHTMARGIN;
        } else {
            if (left == EC_USEFONTINFO) left = FontMargin(*this);
            if (right == EC_USEFONTINFO) right = FontMargin(*this);
        }
        if (wParam & EC_LEFTMARGIN) FLeftMargin = left;
        if (wParam & EC_RIGHTMARGIN) FRightMargin = right;
        if (!FUserRect) {
            ResetFormatRect();
            Relayout();
            ScrollTo(FTopLine, FXOffset, false);
            UpdateScrollBars();
            UpdateCaret();
            Invalidate();
        }
        return 0;
    }
    case EM_GETMARGINS:
        return MAKELRESULT(FLeftMargin, FRightMargin);
    default:
        return std::nullopt;
    }
}

// Scrolling.
std::optional<LRESULT> EditControl::ScrollMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case EM_SCROLL: {
        if (!Multi()) return 0;
        int before = FTopLine;
        int page = std::max(1, VisibleLines() - 1);
        int delta = wParam == SB_LINEUP ? -1
            : wParam == SB_LINEDOWN     ? 1
            : wParam == SB_PAGEUP       ? -page
            : wParam == SB_PAGEDOWN     ? page
                                        : 0;
        if (delta == 0) return 0;
        ScrollTo(FTopLine + delta, FXOffset, false);
        return MAKELRESULT(FTopLine - before, 1);
    }
    case EM_LINESCROLL: {
        if (!Multi()) return 0;
        int step = Font(0).Instance ? int(Font(0).Instance->TextMetrics().tmAveCharWidth) : 6;
        ScrollTo(FTopLine + int(lParam), FXOffset + int(static_cast<int>(wParam)) * step, false);
        return 1;
    }
    case EM_SCROLLCARET:
        ScrollCaret();
        return 1;
    case EM_GETFIRSTVISIBLELINE:
        if (Multi()) return FTopLine;
        return CharFromPoint(POINT {FRect.left, FRect.top});
    default:
        return std::nullopt;
    }
}

// Lines and positions.
std::optional<LRESULT> EditControl::LineMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case EM_GETLINECOUNT:
        return LineCount();
    case EM_LINEINDEX: {
        int line = static_cast<int>(wParam);
        if (line < 0) line = LineOfPos(FCaret);
        if (line >= LineCount()) return -1;
        return LineStartPos(line);
    }
    case EM_LINELENGTH: {
        int pos = static_cast<int>(wParam);
        if (pos < 0) {
            // The characters of the selection's lines that are not selected.
            int first = LineStartPos(LineOfPos(SelStart()));
            LineRef last = Line(LineOfPos(SelEnd()));
            int lastEnd = ParaStart(last.Para) + last.End;
            return (SelStart() - first) + std::max(0, lastEnd - SelEnd());
        }
        LineRef ref = Line(LineOfPos(pos));
        return ref.End - ref.Begin;
    }
    case EM_GETLINE: {
        auto* buffer = reinterpret_cast<char*>(lParam);
        if (!buffer) return 0;
        WORD size = 0;
        std::memcpy(&size, buffer, sizeof(size));
        int line = Multi() ? static_cast<int>(wParam) : 0;
        if (line < 0 || line >= LineCount()) return 0;
        LineRef ref = Line(line);
        int start = ParaStart(ref.Para);
        std::string text = Text(start + ref.Begin, start + ref.End);
        std::size_t n = std::min<std::size_t>(text.size(), size);
        while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
        std::memcpy(buffer, text.data(), n);
        if (n < size) buffer[n] = 0;
        return LRESULT(n);
    }
    case EM_LINEFROMCHAR: {
        int pos = static_cast<int>(wParam);
        if (pos < 0) pos = SelStart() != SelEnd() ? SelStart() : FCaret;
        return LineOfPos(pos);
    }
    case EM_POSFROMCHAR: {
        int pos = static_cast<int>(wParam);
        if (pos < 0 || pos > TextLength()) return -1;
        POINT p = PosFromChar(pos);
        return MAKELRESULT(p.x, p.y);
    }
    case EM_CHARFROMPOS: {
        int line = 0;
        int pos = CharFromPoint(LParamToPoint(lParam), &line);
        return MAKELRESULT(std::min(pos, 0xFFFF), std::min(line, 0xFFFF));
    }
    default:
        return std::nullopt;
    }
}

// The modified flag, the limit, the undo buffer, the password character and read-only.
std::optional<LRESULT> EditControl::StateMessage(UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case EM_GETMODIFY:
        return FModified ? 1 : 0;
    case EM_SETMODIFY:
        FModified = wParam != 0;
        return 0;
    case EM_LIMITTEXT:
        FLimit = wParam == 0 || wParam > WPARAM(EditMaxLimit) ? EditMaxLimit : int(wParam);
        return 0;
    case EM_GETLIMITTEXT:
        return FLimit;
    case EM_CANUNDO:
        return FUndo.Valid ? 1 : 0;
    case EM_EMPTYUNDOBUFFER:
        FUndo = UndoRecord {};
        return 0;
    case EM_SETPASSWORDCHAR: {
        if (Multi()) return 0;
        char32_t c = char32_t(wParam);
        if (c == FPasswordChar) return 0;
        FPasswordChar = c;
        DWORD style = Style();
        SetWindowLongPtr(FHwnd, GWL_STYLE, LONG_PTR(c ? (style | ES_PASSWORD) : (style & ~ES_PASSWORD)));
        for (Paragraph& p : FParas)
            p.Measured = false;
        MarkLayoutDirty(0);
        ScrollCaret();
        UpdateCaret();
        Invalidate();
        return 0;
    }
    case EM_GETPASSWORDCHAR:
        return LRESULT(FPasswordChar);
    case EM_SETREADONLY: {
        DWORD style = Style();
        SetWindowLongPtr(FHwnd, GWL_STYLE, LONG_PTR(wParam ? (style | ES_READONLY) : (style & ~ES_READONLY)));
        Invalidate();
        return 1;
    }
    default:
        return std::nullopt;
    }
}

}
