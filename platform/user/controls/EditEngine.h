// Shared engine of the EDIT and rich edit classes: text in paragraphs, layout, painting, input, messages.
#pragma once

#include "platform/base/Utf8.h"
#include "platform/user/UserTypes.h"
#include "platform/user/controls/EditTypes.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <deque>
#include <vector>

namespace korvex::user::edit {

class EditControl {
public:
    EditControl();
    ~EditControl();
    EditControl(const EditControl&) = delete;
    EditControl& operator=(const EditControl&) = delete;

    // The window procedure's prologue: WM_NCCREATE attaches the engine to its window, WM_NCDESTROY detaches it.
    void Attach(HWND hwnd, bool rich);
    void Detach();
    // The window procedure share of both classes; unhandled messages go to DefWindowProc.
    LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam);

    // ---- text (EditText.cpp) ----
    int TextLength() const;   // characters, line ends counting two
    std::string Text(int start, int end) const;   // UTF-8 with "\r\n" line ends
    std::string AllText() const { return Text(0, TextLength()); }
    int ParaCount() const { return int(FParas.size()); }
    const Paragraph& Para(int index) const { return FParas[std::size_t(index)]; }
    std::string_view ParaText(const Paragraph& para) const { return FStore.View(para.Text); }
    std::string_view ParaText(int index) const { return ParaText(Para(index)); }
    int ParaStart(int para) const;
    void Locate(int pos, int& para, int& offset) const;
    int ClampPos(int pos) const;   // inside the text, never between '\r' and '\n'
    void SetAllText(std::string_view text);   // no undo, no limit; selection to the start
    // Replaces a range, keeping formats around it; the text takes the format at start. Returns the characters
    // inserted. limit: cut the text to the limit (EN_MAXTEXT when cut); undo: record it.
    int Replace(int start, int end, std::string_view text, bool limit, bool undo, bool typing = false);
    // Replace with text that lies inside `shared`: its lines stay there instead of being copied.
    int ReplaceShared(int start, int end, const std::shared_ptr<const std::string>& shared, std::string_view text,
        bool limit, bool undo);
    const TextStore& Store() const { return FStore; }
    bool Undo();
    std::string Filter(std::string_view text) const;   // case styles, single-line breaks
    int FormatAt(int pos) const;   // the format a character inserted at pos takes
    const CharFormat& Format(int index) const { return FFormats[std::size_t(index)]; }
    int AddFormat(const CharFormat& format);
    void ApplyFormat(int start, int end, const CharFormat& format, DWORD mask);
    void ApplyDefaultFormat(const CharFormat& format, DWORD mask);
    CharFormat RangeFormat(int start, int end, DWORD* consistent) const;

    // ---- layout (EditLayout.cpp) ----
    void SetFont(HFONT font, bool redraw);
    const FormatFont& Font(int format);
    int LineHeight();
    int LineCount();
    LineRef Line(int line);
    int LineOfPos(int pos);
    int LineStartPos(int line);
    int LineX(const LineRef& line);   // x of the line's start (alignment) before scrolling
    POINT PosFromChar(int pos);   // client coordinates
    int CharFromPoint(POINT p, int* lineOut = nullptr);
    RECT FormatRect() const { return FRect; }
    void SetFormatRect(const RECT* rect, bool redraw);
    void ResetFormatRect();
    int VisibleLines();
    bool Wraps() const;
    void Relayout();   // after the font, the width or the wrap style changed
    void ScrollTo(int topLine, int xOffset, bool notify);
    void ScrollCaret();
    void UpdateScrollBars();
    int MaxWidth();
    int Advance(const FormatFont& font, char32_t c, int x) const;
    // Calls fn(index, byteBegin, byteEnd, codePoint, format, x, width) for each character of the line, x from
    // the line's start; fn returns false to stop. The password character stands in for the text.
    template <class Fn>
    void WalkLine(const LineRef& line, Fn&& fn);

    // ---- painting (EditPaint.cpp) ----
    void Paint(HDC dc, const RECT& update);
    void Invalidate();
    void InvalidateRange(int start, int end);
    void UpdateCaret();

    // ---- input (EditInput.cpp) ----
    void KeyDown(UINT vk);
    void Char(char32_t c);
    void MouseDown(POINT p, WPARAM keys, bool dbl);
    void MouseMove(POINT p);
    void MouseUp();
    void AutoScrollTick();
    void SetFocus(bool focused);
    void Copy();
    void Cut();
    void Paste();
    void Clear();
    void SetSel(int anchor, int caret, bool scroll);
    void SelectAll();
    int SelStart() const { return FAnchor < FCaret ? FAnchor : FCaret; }
    int SelEnd() const { return FAnchor < FCaret ? FCaret : FAnchor; }
    void ResetScroll();
    void ScrollBarRequest(bool vertical, WORD code, int thumb);   // WM_VSCROLL / WM_HSCROLL
    void Notify(WORD code);   // WM_COMMAND to the parent
    void Changed(bool user);   // EN_UPDATE/EN_CHANGE after a change
    int WordStart(int pos) const;
    int WordEnd(int pos) const;

    // ---- state ----
    HWND Hwnd() const { return FHwnd; }
    bool Rich() const { return FRich; }
    DWORD Style() const;
    bool Multi() const;
    bool ReadOnly() const;

    // shared with the class procedures
    int FAnchor = 0;
    int FCaret = 0;
    int FLimit;
    bool FModified = false;
    char32_t FPasswordChar = 0;
    int FLeftMargin = 1;
    int FRightMargin = 1;
    bool FFocused = false;
    int FTopLine = 0;
    int FXOffset = 0;   // pixels scrolled to the left
    UndoRecord FUndo;
    DWORD FEventMask = 0;
    bool FHideSelection = false;   // rich edit: EM_HIDESELECTION
    bool FHasBack = false;   // rich edit: EM_SETBKGNDCOLOR
    COLORREF FBackColor = 0;
    int FInsertFormat = -1;   // rich edit: the format for typing at an empty selection (-1: from the text)
    bool FNoNotify = false;
    DWORD FScrollStyle = 0;   // WS_VSCROLL / WS_HSCROLL asked for (a hidden bar drops them from the style)
    bool FHitLimit = false;   // the last Replace cut its text to the limit
    int FGoalX = -1;   // x the caret keeps on Up and Down (-1: from the caret)
    // Held by the window and by each procedure call under way (the shared prologue, KeptStateHooks); the
    // window lets go at WM_NCDESTROY, so the engine outlives a window destroyed under a call.
    std::shared_ptr<EditControl> Keep;
    bool Dead() const { return Keep == nullptr; }   // the window is gone

private:
    void MarkDirty(int fromPara);
    void MarkReplaced(int firstPara, int lastPara);   // before paragraphs firstPara..lastPara are replaced
    void MarkLayoutDirty(int fromPara);
    void EnsureStarts() const;
    void EnsureLayout();
    void Measure(Paragraph& para, bool wrap);   // wrap: Wraps(), asked once by the caller
    // The x after `text` set from x on one unwrapped line in one format, its characters taken as the walk of a
    // paragraph takes them (a byte each when `bytes`: a paragraph of single-byte characters).
    int WidthAfter(std::string_view text, const FormatFont& font, bool bytes, int x) const;
    void FreeFonts();
    std::vector<FormatRun> SliceRuns(const Paragraph& para, int begin, int end) const;
    void SetRuns(Paragraph& para, std::vector<FormatRun> runs);
    int ReplaceWith(int start, int end, std::string_view text, const std::shared_ptr<const std::string>* shared,
        bool limit, bool undo, bool typing);
    void CompactStore();   // once edits left more bytes unused than used
    LRESULT StreamedIn(std::string_view text, const std::shared_ptr<const std::string>* shared, WPARAM format);
    LRESULT Message(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);   // EM_ messages
    LRESULT RichMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);   // the rich edit's own
    // The message families the procedures above dispatch to (FirstAnswer): each answers its own messages and
    // gives nullopt for the rest.
    // Edit.cpp
    std::optional<LRESULT> LifeMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> WindowTextMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> PaintLayoutMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> KeyboardMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> MouseMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> ScrollBarMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> ClipboardMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // EditMessages.cpp
    std::optional<LRESULT> SelectionMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> FormatRectMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> ScrollMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> LineMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> StateMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // RichEdit.cpp
    std::optional<LRESULT> RichSelectionMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> RichFormatMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> RichTextMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> RichPositionMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND FHwnd = nullptr;
    bool FRich = false;
    TextStore FStore;   // the paragraphs' bytes
    std::deque<Paragraph> FParas;   // no room kept beyond the lines, and no copy of them all to grow
    mutable std::vector<int> FStarts;   // character index of each paragraph
    mutable int FStartsValid = 0;   // FStarts is right below this paragraph
    std::vector<int> FLineStarts;   // first visual line of each paragraph (+ the total at the end)
    int FLinesValid = 0;
    int FMaxWidth = -1;   // the widest of the first FWidthsTaken paragraphs (-1: none taken)
    int FWidthsTaken = 0;
    std::vector<CharFormat> FFormats;
    std::vector<FormatFont> FFonts;   // per format, realised on demand
    HFONT FFont = nullptr;
    RECT FRect {};
    bool FUserRect = false;
    int FLayoutWidth = -1;   // wrap width the paragraphs were measured with
    bool FTracking = false;   // mouse selection under way
    POINT FTrackPoint {};
    bool FWordTracking = false;   // a double click's drag extends by words
    int FWordAnchorEnd = 0;
    int FWordAnchorStart = 0;
    int FLineHeight = -1;
    int FMaxAscent = 0;
    bool FInScrollUpdate = false;
    bool FSizedInScrollUpdate = false;
    SCROLLINFO FLastV {};
    SCROLLINFO FLastH {};
};

// The window procedure of both classes; rich picks the engine's kind at WM_NCCREATE.
LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool rich);

template <class Fn>
void EditControl::WalkLine(const LineRef& line, Fn&& fn) {
    const Paragraph& para = FParas[std::size_t(line.Para)];
    const std::string_view text = ParaText(para);
    const std::span<const FormatRun> runs = para.Runs();
    bool ascii = std::size_t(para.Length) == text.size();
    std::size_t pos = ascii ? std::size_t(line.Begin) : base::Utf8ByteOffset(text, std::size_t(line.Begin));
    std::size_t run = 0;
    int format = para.FirstFormat();
    while (run + 1 < runs.size() && runs[run + 1].Start <= line.Begin)
        format = runs[++run].Format;
    const FormatFont* font = &Font(format);
    int x = 0;
    for (int i = line.Begin; i < line.End && pos < text.size(); ++i) {
        if (run + 1 < runs.size() && runs[run + 1].Start <= i) {
            format = runs[++run].Format;
            font = &Font(format);
        }
        std::size_t begin = pos;
        char32_t c = ascii ? char32_t(static_cast<unsigned char>(text[pos++])) : base::Utf8DecodeNext(text, pos);
        if (FPasswordChar) c = FPasswordChar;
        int w = Advance(*font, c, x);
        if (!fn(i, begin, pos, c, format, x, w)) return;
        x += w;
    }
}

}
