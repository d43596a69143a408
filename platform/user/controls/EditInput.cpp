// Edit engine: keys, typing, mouse selection with capture and auto-scroll, focus, clipboard, notifications.
#include "platform/user/controls/EditEngine.h"

#include "platform/base/Utf8.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/Timers.h"
#include "platform/user/Window.h"
#include "platform/user/controls/Caret.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/RichEditConstants.h"

#include <algorithm>
#include <cwctype>

namespace korvex::user::edit {

namespace {

inline constexpr std::uintptr_t AutoScrollTimerId = 0xFFFF0002;
inline constexpr UINT AutoScrollMs = 50;

enum class CharClass { Blank, Word, Other };

CharClass ClassOf(char32_t c) {
    if (c == U' ' || c == U'\t') return CharClass::Blank;
    if (c >= 0x80 || std::iswalnum(wint_t(c)) || c == U'_') return CharClass::Word;
    return CharClass::Other;
}

bool KeyDownNow(int vk) {
    return GetKeyState(vk) < 0;
}

// The code points of a paragraph (word moves look at one paragraph at a time).
std::u32string Decode(std::string_view text) {
    std::u32string out;
    for (std::size_t pos = 0; pos < text.size();)
        out.push_back(base::Utf8DecodeNext(text, pos));
    return out;
}

}   // namespace

// ---------------------------------------------------------------------------------------------------------
// Selection and notifications

void EditControl::Notify(WORD code) {
    if (FNoNotify || Dead()) return;
    if (FRich) {
        DWORD need = code == EN_CHANGE                   ? ENM_CHANGE
            : code == EN_UPDATE                          ? ENM_UPDATE
            : (code == EN_HSCROLL || code == EN_VSCROLL) ? ENM_SCROLL
                                                         : 0xFFFFFFFF;
        if (need != 0xFFFFFFFF && !(FEventMask & need)) return;
    }
    SendCommandNotify(FHwnd, code);
}

void EditControl::Changed(bool) {
    Invalidate();
    UpdateScrollBars();
    Notify(EN_UPDATE);
    if (Dead()) return;
    Notify(EN_CHANGE);
}

void EditControl::SetSel(int anchor, int caret, bool scroll) {
    anchor = ClampPos(anchor);
    caret = ClampPos(caret);
    if (anchor == FAnchor && caret == FCaret) {
        if (scroll) ScrollCaret();
        return;
    }
    bool visible = FFocused || (Style() & ES_NOHIDESEL);
    if (visible && !FHideSelection) {
        if (FAnchor != FCaret) InvalidateRange(SelStart(), SelEnd());
        if (anchor != caret) InvalidateRange(std::min(anchor, caret), std::max(anchor, caret));
    }
    FAnchor = anchor;
    FCaret = caret;
    FInsertFormat = -1;
    if (scroll) ScrollCaret();
    UpdateCaret();
    if (FRich && (FEventMask & ENM_SELCHANGE) && !FNoNotify) {
        SELCHANGE change;
        change.chrg = CHARRANGE {SelStart(), SelEnd()};
        change.seltyp = SelStart() == SelEnd() ? 0 : 1;
        change.nmhdr.code = EN_SELCHANGE;
        SendNotify(FHwnd, &change.nmhdr);
    }
}

void EditControl::SelectAll() {
    SetSel(0, TextLength(), false);
}

int EditControl::WordStart(int pos) const {
    int para = 0;
    int offset = 0;
    Locate(pos, para, offset);
    std::u32string chars = Decode(ParaText(para));
    int i = offset;
    if (i > 0) {
        CharClass cls = ClassOf(chars[std::size_t(i - 1)]);
        while (i > 0 && ClassOf(chars[std::size_t(i - 1)]) == cls)
            --i;
    }
    return ParaStart(para) + i;
}

int EditControl::WordEnd(int pos) const {
    int para = 0;
    int offset = 0;
    Locate(pos, para, offset);
    std::u32string chars = Decode(ParaText(para));
    int i = offset;
    int n = int(chars.size());
    if (i < n) {
        CharClass cls = ClassOf(chars[std::size_t(i)]);
        while (i < n && ClassOf(chars[std::size_t(i)]) == cls)
            ++i;
    }
    return ParaStart(para) + i;
}

namespace {

// Ctrl+Left: back over blanks, then over one word; Ctrl+Right: over one word, then over blanks.
int WordLeft(const EditControl& e, int pos) {
    int para = 0;
    int offset = 0;
    e.Locate(pos, para, offset);
    if (offset == 0) return para > 0 ? e.ParaStart(para) - 2 : 0;
    std::u32string chars = Decode(e.ParaText(para));
    int i = offset;
    while (i > 0 && ClassOf(chars[std::size_t(i - 1)]) == CharClass::Blank)
        --i;
    if (i > 0) {
        CharClass cls = ClassOf(chars[std::size_t(i - 1)]);
        while (i > 0 && ClassOf(chars[std::size_t(i - 1)]) == cls)
            --i;
    }
    return e.ParaStart(para) + i;
}

int WordRight(const EditControl& e, int pos) {
    int para = 0;
    int offset = 0;
    e.Locate(pos, para, offset);
    const Paragraph& p = e.Para(para);
    if (offset >= p.Length) return para + 1 < e.ParaCount() ? e.ParaStart(para + 1) : pos;
    std::u32string chars = Decode(e.ParaText(p));
    int i = offset;
    int n = int(chars.size());
    CharClass cls = ClassOf(chars[std::size_t(i)]);
    if (cls != CharClass::Blank)
        while (i < n && ClassOf(chars[std::size_t(i)]) == cls)
            ++i;
    while (i < n && ClassOf(chars[std::size_t(i)]) == CharClass::Blank)
        ++i;
    return e.ParaStart(para) + i;
}

int PrevChar(const EditControl& e, int pos) {
    int para = 0;
    int offset = 0;
    e.Locate(pos, para, offset);
    if (offset > 0) return pos - 1;
    return para > 0 ? pos - 2 : 0;
}

int NextChar(const EditControl& e, int pos) {
    int para = 0;
    int offset = 0;
    e.Locate(pos, para, offset);
    if (offset < e.Para(para).Length) return pos + 1;
    return para + 1 < e.ParaCount() ? pos + 2 : pos;
}

}   // namespace

// ---------------------------------------------------------------------------------------------------------
// Keys

void EditControl::KeyDown(UINT vk) {
    bool shift = KeyDownNow(int(VK_SHIFT));
    bool ctrl = KeyDownNow(int(VK_CONTROL));
    int target = FCaret;
    bool move = true;
    bool keepGoal = false;
    switch (vk) {
    case VK_LEFT:
        if (!shift && FAnchor != FCaret && !ctrl)
            target = SelStart();
        else
            target = ctrl ? WordLeft(*this, FCaret) : PrevChar(*this, FCaret);
        break;
    case VK_RIGHT:
        if (!shift && FAnchor != FCaret && !ctrl)
            target = SelEnd();
        else
            target = ctrl ? WordRight(*this, FCaret) : NextChar(*this, FCaret);
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
        if (!Multi()) {
            if (vk == VK_UP || vk == VK_PRIOR)
                target = ctrl ? 0 : PrevChar(*this, FCaret);
            else
                target = NextChar(*this, FCaret);
            break;
        }
        POINT p = PosFromChar(FCaret);
        if (FGoalX < 0) FGoalX = p.x + FXOffset;
        int lines = (vk == VK_UP || vk == VK_DOWN) ? 1 : std::max(1, VisibleLines() - 1);
        int dir = (vk == VK_UP || vk == VK_PRIOR) ? -1 : 1;
        int line = std::clamp(LineOfPos(FCaret) + dir * lines, 0, LineCount() - 1);
        if (vk == VK_PRIOR || vk == VK_NEXT) ScrollTo(FTopLine + dir * lines, FXOffset, false);
        int lh = LineHeight();
        target = CharFromPoint(POINT {FGoalX - FXOffset, FRect.top + (line - FTopLine) * lh + lh / 2});
        keepGoal = true;
        break;
    }
    case VK_HOME:
        target = ctrl ? 0 : LineStartPos(LineOfPos(FCaret));
        break;
    case VK_END: {
        if (ctrl) {
            target = TextLength();
        } else {
            LineRef ref = Line(LineOfPos(FCaret));
            int end = ref.End;
            // A wrapped line ends before the blank it broke at, so the caret stays on it.
            if (end < Para(ref.Para).Length && end > ref.Begin) --end;
            target = ParaStart(ref.Para) + end;
        }
        break;
    }
    case VK_DELETE:
        move = false;
        if (shift) {
            Cut();
        } else if (!ReadOnly()) {
            int start = SelStart();
            int end = SelEnd();
            if (start == end) end = ctrl ? WordRight(*this, start) : NextChar(*this, start);
            if (start != end && Replace(start, end, {}, false, true) >= 0) {
                SetSel(start, start, true);
                Changed(true);
            }
        }
        break;
    case VK_INSERT:
        move = false;
        if (shift)
            Paste();
        else if (ctrl)
            Copy();
        break;
    default:
        move = false;
        if (ctrl && !shift) {
            if (vk == 'A') SelectAll();
            if (vk == 'C') Copy();
            if (vk == 'X') Cut();
            if (vk == 'V') Paste();
            if (vk == 'Z' && !ReadOnly() && Undo()) {
                ScrollCaret();
                UpdateCaret();
                Changed(true);
            }
        }
        break;
    }
    if (!move) return;
    if (!keepGoal) FGoalX = -1;
    SetSel(shift ? FAnchor : target, target, true);
}

void EditControl::Char(char32_t c) {
    if (c == U'\b') {
        if (ReadOnly()) return;
        int start = SelStart();
        int end = SelEnd();
        if (start == end) start = PrevChar(*this, end);
        if (start == end) return;
        if (Replace(start, end, {}, false, true) >= 0) {
            SetSel(start, start, true);
            Changed(true);
        }
        return;
    }
    std::string text;
    if (c == U'\r' || c == U'\n') {
        if (!Multi()) return;
        text = "\r\n";
    } else if (c == U'\t') {
        if (!Multi()) return;
        text = "\t";
    } else if (c < 0x20 || c == 0x7F) {
        return;   // control keys: the shortcuts come as WM_KEYDOWN
    } else {
        if (!FRich && (Style() & ES_NUMBER) && (c < U'0' || c > U'9')) return;
        text = Filter(base::Utf8Encode(c));
    }
    if (ReadOnly()) return;
    int start = SelStart();
    int inserted = Replace(start, SelEnd(), text, true, true, true);
    bool hit = FHitLimit;
    if (inserted >= 0) {
        FGoalX = -1;
        SetSel(start + inserted, start + inserted, true);
        Changed(true);
        if (Dead()) return;
    }
    if (hit) Notify(EN_MAXTEXT);
}

// ---------------------------------------------------------------------------------------------------------
// Clipboard

void EditControl::Copy() {
    if (FPasswordChar || SelStart() == SelEnd()) return;   // a password never leaves the edit
    SetClipboardText(Text(SelStart(), SelEnd()));
}

void EditControl::Clear() {
    if (ReadOnly() || SelStart() == SelEnd()) return;
    int start = SelStart();
    if (Replace(start, SelEnd(), {}, false, true) >= 0) {
        SetSel(start, start, true);
        Changed(true);
    }
}

void EditControl::Cut() {
    if (ReadOnly() || FPasswordChar) return;
    Copy();
    Clear();
}

void EditControl::Paste() {
    if (ReadOnly()) return;
    std::string text = GetClipboardText();
    if (!Multi()) {
        // One line only, as Windows pastes into a single-line edit.
        std::size_t cut = text.find_first_of("\r\n");
        if (cut != std::string::npos) text.resize(cut);
    }
    text = Filter(text);
    if (!FRich && (Style() & ES_NUMBER) && text.find_first_not_of("0123456789") != std::string::npos) return;
    int start = SelStart();
    int inserted = Replace(start, SelEnd(), text, true, true);
    bool hit = FHitLimit;
    if (inserted >= 0) {
        SetSel(start + inserted, start + inserted, true);
        Changed(true);
        if (Dead()) return;
    }
    if (hit) Notify(EN_MAXTEXT);
}

// ---------------------------------------------------------------------------------------------------------
// Focus and mouse

void EditControl::SetFocus(bool focused) {
    FFocused = focused;
    if (focused) {
        CreateCaret(FHwnd, nullptr, 1, LineHeight());
        UpdateCaret();
        ShowCaret(FHwnd);
    } else {
        DestroyCaret();
        if (FTracking) MouseUp();
    }
    if (SelStart() != SelEnd() && !(Style() & ES_NOHIDESEL)) InvalidateRange(SelStart(), SelEnd());
    Notify(focused ? EN_SETFOCUS : EN_KILLFOCUS);
}

void EditControl::MouseDown(POINT p, WPARAM keys, bool dbl) {
    if (GetFocus() != FHwnd) user::SetFocus(FHwnd);
    if (Dead() || GetFocus() != FHwnd) return;
    int pos = CharFromPoint(p);
    FGoalX = -1;
    FWordTracking = dbl;
    if (dbl) {
        int para = 0;
        int offset = 0;
        Locate(pos, para, offset);
        // The word under the pointer; at a line's end the word before it.
        bool inside = offset < Para(para).Length;
        FWordAnchorStart = inside ? WordStart(pos + 1) : WordStart(pos);
        FWordAnchorEnd = inside ? WordEnd(pos) : pos;
        SetSel(FWordAnchorStart, FWordAnchorEnd, true);
    } else if (keys & MK_SHIFT) {
        SetSel(FAnchor, pos, true);
    } else {
        SetSel(pos, pos, true);
    }
    FTracking = true;
    FTrackPoint = p;
    SetCapture(FHwnd);
    SetTimer(FHwnd, AutoScrollTimerId, AutoScrollMs, nullptr);
}

void EditControl::MouseMove(POINT p) {
    if (!FTracking) return;
    FTrackPoint = p;
    int pos = CharFromPoint(p);
    if (FWordTracking) {
        if (pos >= FWordAnchorStart)
            SetSel(FWordAnchorStart, std::max(WordEnd(pos), FWordAnchorEnd), true);
        else
            SetSel(FWordAnchorEnd, WordStart(pos), true);
        return;
    }
    SetSel(FAnchor, pos, true);
}

void EditControl::AutoScrollTick() {
    if (!FTracking) return;
    if (FTrackPoint.y < FRect.top || FTrackPoint.y >= FRect.bottom || FTrackPoint.x < FRect.left
        || FTrackPoint.x >= FRect.right)
        MouseMove(FTrackPoint);
}

void EditControl::MouseUp() {
    if (!FTracking) return;
    FTracking = false;
    KillTimer(FHwnd, AutoScrollTimerId);
    if (GetCapture() == FHwnd) ReleaseCapture();
}

}
