// The rich edit class: coloured runs, default attributes, background colour, streaming in, copying, ranges,
// scrolling by lines and pixels, and a text of several megabytes.
#include "support/UserTestSupport.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Focus.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/controls/RichEditConstants.h"
#include "platform/user/controls/StandardClasses.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace korvex::user::test {

namespace {

constexpr COLORREF InkRed = gdi::RGB(255, 0, 0);
constexpr COLORREF InkBlue = gdi::RGB(0, 0, 255);
constexpr COLORREF InkGreen = gdi::RGB(0, 160, 0);

struct StringSource {
    std::string Data;
    std::size_t Pos = 0;
    int Calls = 0;
};

DWORD ReadString(std::uintptr_t cookie, BYTE* buffer, LONG size, LONG* done) {
    auto* source = reinterpret_cast<StringSource*>(cookie);
    ++source->Calls;
    std::size_t n = std::min<std::size_t>(std::size_t(size), source->Data.size() - source->Pos);
    std::memcpy(buffer, source->Data.data() + source->Pos, n);
    source->Pos += n;
    *done = LONG(n);
    return 0;
}

DWORD FailingRead(std::uintptr_t, BYTE*, LONG, LONG* done) {
    *done = 0;
    return 5;
}

class RichEdit : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        ASSERT_TRUE(RegisterStandardClasses());
        Parent = Create(WS_OVERLAPPED | WS_VISIBLE, 50, 50, 500, 400);
        Pump();
    }

    HWND Make(DWORD style, const std::string& text = {}, int width = 300, int height = 120) {
        HWND e = CreateWindowEx(0, RICHEDIT_CLASS, text, WS_CHILD | WS_VISIBLE | ES_MULTILINE | style, 0, 0, width,
            height, Parent, ChildId(9), nullptr, nullptr);
        Pump();
        return e;
    }

    void Select(HWND e, int start, int end) {
        CHARRANGE range {start, end};
        SendMessage(e, EM_EXSETSEL, 0, LPARAM(&range));
    }
    void Colour(HWND e, int start, int end, COLORREF colour) {
        Select(e, start, end);
        CHARFORMAT2 cf;
        cf.dwMask = CFM_COLOR;
        cf.crTextColor = colour;
        SendMessage(e, EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
    }
    // Pixels of a colour in a rectangle of the edit.
    int CountColour(HWND e, RECT r, COLORREF colour) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += StorePixel(e, x, y) == colour;
        return n;
    }
    // Glyph pixels tinted towards one channel (anti-aliased text of that colour over white).
    int CountTinted(HWND e, RECT r, int channel) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                COLORREF c = StorePixel(e, x, y);
                int rgb[3] = {int(gdi::GetRValue(c)), int(gdi::GetGValue(c)), int(gdi::GetBValue(c))};
                int other = std::max(rgb[(channel + 1) % 3], rgb[(channel + 2) % 3]);
                n += rgb[channel] > other + 60;
            }
        return n;
    }
    POINT PosOf(HWND e, int pos) {
        POINT p {};
        SendMessage(e, EM_POSFROMCHAR, WPARAM(&p), LPARAM(pos));
        return p;
    }
    int LineHeight(HWND e) { return PosOf(e, int(SendMessage(e, EM_LINEINDEX, 1, 0))).y - PosOf(e, 0).y; }
    // EM_GETTEXTRANGE: the characters it counts and the text.
    std::pair<LRESULT, std::string> TextRange(HWND e, int start, int end) {
        char buffer[256] = {};
        TEXTRANGE range;
        range.chrg = CHARRANGE {start, end};
        range.lpstrText = buffer;
        const LRESULT count = SendMessage(e, EM_GETTEXTRANGE, 0, LPARAM(&range));
        return {count, buffer};
    }
    void StreamIn(HWND e, const std::string& text, WPARAM format = SF_TEXT) {
        StringSource source {text};
        EDITSTREAM stream;
        stream.dwCookie = std::uintptr_t(&source);
        stream.pfnCallback = ReadString;
        SendMessage(e, EM_STREAMIN, format, LPARAM(&stream));
    }

    HWND Parent = nullptr;
};

TEST_F(RichEdit, TwoRunsPaintInTheirOwnColours) {
    HWND e = Make(0, "MMMMMMMM WWWWWWWW");
    Colour(e, 0, 8, InkRed);
    Colour(e, 9, 17, InkBlue);
    UpdateWindow(e);
    int split = PosOf(e, 9).x;
    int lh = LineHeight(e);
    (void)lh;
    RECT first {0, 0, split, 20};
    RECT second {split, 0, 300, 20};
    EXPECT_GT(CountTinted(e, first, 0), 20);
    EXPECT_EQ(CountTinted(e, first, 2), 0);
    EXPECT_GT(CountTinted(e, second, 2), 20);
    EXPECT_EQ(CountTinted(e, second, 0), 0);
    // The selection's colour reads back; a mixed selection reports no consistent colour.
    Select(e, 2, 5);
    CHARFORMAT2 cf;
    SendMessage(e, EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
    EXPECT_TRUE(cf.dwMask & CFM_COLOR);
    EXPECT_EQ(cf.crTextColor, InkRed);
    EXPECT_FALSE(cf.dwEffects & CFE_AUTOCOLOR);
    Select(e, 5, 12);
    SendMessage(e, EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
    EXPECT_FALSE(cf.dwMask & CFM_COLOR);
}

TEST_F(RichEdit, TextTypedAfterAColouredRunTakesItsColour) {
    HWND e = Make(0, "ab");
    Colour(e, 0, 2, InkBlue);
    Select(e, 2, 2);
    SendMessage(e, WM_CHAR, 'c', 0);
    Select(e, 2, 3);
    CHARFORMAT2 cf;
    SendMessage(e, EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
    EXPECT_EQ(cf.crTextColor, InkBlue);
    // A colour set at an empty selection is for what is typed there next.
    Select(e, 0, 0);
    CHARFORMAT2 red;
    red.dwMask = CFM_COLOR;
    red.crTextColor = InkRed;
    SendMessage(e, EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&red));
    SendMessage(e, WM_CHAR, 'z', 0);
    Select(e, 0, 1);
    SendMessage(e, EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
    EXPECT_EQ(cf.crTextColor, InkRed);
    char text[16] = {};
    GetWindowText(e, text, sizeof(text));
    EXPECT_STREQ(text, "zabc");
}

TEST_F(RichEdit, DefaultAttributesColourTextWithoutAFormatOfItsOwn) {
    HWND e = Make(0, "MMMMMM MMMMMM");
    Colour(e, 7, 13, InkRed);
    CHARFORMAT2 def;
    def.dwMask = CFM_COLOR;
    def.crTextColor = InkGreen;
    SendMessage(e, EM_SETCHARFORMAT, SCF_DEFAULT, LPARAM(&def));
    UpdateWindow(e);
    int split = PosOf(e, 7).x;
    EXPECT_GT(CountTinted(e, RECT {0, 0, split, 20}, 1), 20);
    EXPECT_EQ(CountTinted(e, RECT {0, 0, split, 20}, 0), 0);
    EXPECT_GT(CountTinted(e, RECT {split, 0, 300, 20}, 0), 20);
    CHARFORMAT2 back;
    SendMessage(e, EM_GETCHARFORMAT, SCF_DEFAULT, LPARAM(&back));
    EXPECT_EQ(back.crTextColor, InkGreen);
    // Bold default text is wider.
    int before = PosOf(e, 6).x;
    CHARFORMAT2 bold;
    bold.dwMask = CFM_BOLD;
    bold.dwEffects = CFE_BOLD;
    SendMessage(e, EM_SETCHARFORMAT, SCF_DEFAULT, LPARAM(&bold));
    EXPECT_GT(PosOf(e, 6).x, before);
}

TEST_F(RichEdit, BackgroundColourFillsTheControl) {
    HWND e = Make(0, "x");
    UpdateWindow(e);
    EXPECT_EQ(StorePixel(e, 250, 100), gdi::GetSysColor(gdi::COLOR_WINDOW));
    COLORREF old = COLORREF(SendMessage(e, EM_SETBKGNDCOLOR, 0, LPARAM(gdi::RGB(10, 20, 30))));
    EXPECT_EQ(old, gdi::GetSysColor(gdi::COLOR_WINDOW));
    UpdateWindow(e);
    EXPECT_EQ(StorePixel(e, 250, 100), gdi::RGB(10, 20, 30));
    SendMessage(e, EM_SETBKGNDCOLOR, 1, 0);   // back to the system colour
    UpdateWindow(e);
    EXPECT_EQ(StorePixel(e, 250, 100), gdi::GetSysColor(gdi::COLOR_WINDOW));
}

TEST_F(RichEdit, StreamInLoadsPlainTextInChunks) {
    HWND e = Make(0, "old");
    SendMessage(e, EM_EXLIMITTEXT, 0, 1000000);
    std::string text;
    for (int i = 0; i < 500; ++i)
        text += "Line " + std::to_string(i) + " of the log\r\n";
    StringSource source {text};
    EDITSTREAM stream;
    stream.dwCookie = std::uintptr_t(&source);
    stream.pfnCallback = ReadString;
    LRESULT read = SendMessage(e, EM_STREAMIN, SF_TEXT, LPARAM(&stream));
    EXPECT_EQ(read, LRESULT(text.size()));
    EXPECT_GT(source.Calls, 2);
    EXPECT_EQ(stream.dwError, 0u);
    EXPECT_EQ(SendMessage(e, EM_GETLINECOUNT, 0, 0), 501);   // the last line is empty
    EXPECT_EQ(SendMessage(e, EM_LINEINDEX, 1, 0), 19);   // "Line 0 of the log" and a line end of two
    CHARRANGE sel {};
    SendMessage(e, EM_EXGETSEL, 0, LPARAM(&sel));
    EXPECT_EQ(sel.cpMin, 0);
    EXPECT_EQ(sel.cpMax, 0);
    // Text that is not RTF reads as plain text with SF_RTF too; a failing source stops with its error.
    StreamIn(e, "plain\nlines", SF_RTF);
    EXPECT_EQ(GetWindowText(e), "plain\r\nlines");
    EDITSTREAM failing;
    failing.pfnCallback = FailingRead;
    SendMessage(e, EM_STREAMIN, SF_TEXT, LPARAM(&failing));
    EXPECT_EQ(failing.dwError, 5u);
    EXPECT_EQ(GetWindowText(e), "");
    EXPECT_EQ(SendMessage(e, EM_STREAMIN, SF_TEXT, 0), 0);
}

// Text streamed in at the end keeps the widest line known: a wider line widens the horizontal range, replacing
// the widest one narrows it again, and every byte streamed in stays (a NUL too).
TEST_F(RichEdit, TheHorizontalRangeFollowsTheWidestLineAsTextIsAddedAndReplaced) {
    HWND e = Make(WS_HSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL, {}, 80, 120);
    auto widest = [&] {
        SCROLLINFO si;
        si.fMask = SIF_RANGE;
        GetScrollInfo(e, SB_HORZ, &si);
        return si.nMax;
    };
    auto append = [&](const std::string& text) {
        Select(e, int(SendMessage(e, WM_GETTEXTLENGTH, 0, 0)), int(SendMessage(e, WM_GETTEXTLENGTH, 0, 0)));
        StreamIn(e, text, SF_TEXT | SFF_SELECTION);
    };
    append("aaaaaaaa\r\n");
    const int shortWidth = widest();
    append(std::string(40, 'a') + "\r\n");
    const int longWidth = widest();
    EXPECT_GT(longWidth, 3 * shortWidth);
    append("aaa\r\naaaa");
    EXPECT_EQ(widest(), longWidth);
    Select(e, 10, 50);   // the long line
    SendMessage(e, EM_REPLACESEL, 0, LPARAM("a"));
    EXPECT_EQ(widest(), shortWidth);
    append(std::string("a\0b", 3) + std::string(30, 'a'));
    EXPECT_GT(widest(), shortWidth);
    EXPECT_EQ(SendMessage(e, WM_GETTEXTLENGTH, 0, 0), LRESULT(22 + 33));
}

// A line whose bytes are each a character (invalid UTF-8 shown as Latin-1) is as wide as the same characters
// written in UTF-8.
TEST_F(RichEdit, AByteACharacterLineIsAsWideAsItsCharacters) {
    HWND e = Make(WS_HSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL, {}, 80, 120);
    auto widest = [&](const std::string& text) {
        StreamIn(e, text);
        SCROLLINFO si;
        si.fMask = SIF_RANGE;
        GetScrollInfo(e, SB_HORZ, &si);
        return si.nMax;
    };
    std::string bytes, utf8;
    for (int i = 0; i < 40; ++i) {
        bytes += "\xE9\t\xFC";
        utf8 += "\xC3\xA9\t\xC3\xBC";
    }
    const int expected = widest(utf8);
    EXPECT_GT(expected, 0);
    EXPECT_EQ(widest(bytes), expected);
}

TEST_F(RichEdit, StreamInKeepsToTheLimit) {
    HWND e = Make(0);
    SendMessage(e, EM_EXLIMITTEXT, 0, 10);
    StreamIn(e, "0123456789abcdef");
    EXPECT_EQ(GetWindowText(e), "0123456789");
    SendMessage(e, EM_EXLIMITTEXT, 0, 0);   // the default limit
    EXPECT_EQ(SendMessage(e, EM_GETLIMITTEXT, 0, 0), 0xFFFF);
}

TEST_F(RichEdit, CopyPutsTheSelectionOnTheClipboardWithLineEnds) {
    HWND e = Make(ES_READONLY, "first line\r\nsecond line");
    Select(e, 6, 18);
    SendMessage(e, WM_COPY, 0, 0);
    EXPECT_EQ(GetClipboardText(), "line\r\nsecond");
    SetFocus(e);
    Select(e, 0, 5);
    Screen->Press('C', {}, ModControl);
    Pump();
    EXPECT_EQ(GetClipboardText(), "first");
    char buffer[64] = {};
    EXPECT_EQ(SendMessage(e, EM_GETSELTEXT, 0, LPARAM(buffer)), 5);
    EXPECT_STREQ(buffer, "first");
}

TEST_F(RichEdit, TextRangesAndSelectionsCountLineEndsAsTwo) {
    HWND e = Make(0, "ab\r\ncd\r\nef");
    EXPECT_EQ(TextRange(e, 1, 5), std::make_pair(LRESULT(4), std::string("b\r\nc")));
    Select(e, 0, -1);
    CHARRANGE sel {};
    SendMessage(e, EM_EXGETSEL, 0, LPARAM(&sel));
    EXPECT_EQ(sel.cpMax, 10);
    EXPECT_EQ(SendMessage(e, EM_EXLINEFROMCHAR, 0, 8), 2);
    // Colouring each line with its line end by running positions (length + 2) hits exactly that line.
    const char* lines[] = {"ab", "cd", "ef"};
    int pos = 0;
    for (int i = 0; i < 3; ++i) {
        int end = pos + int(std::strlen(lines[i])) + 2;
        if (i == 1) Colour(e, pos, end, InkBlue);
        pos = end;
    }
    for (int i : {0, 1, 4, 5, 8, 9}) {
        Select(e, i, i + 1);
        CHARFORMAT2 cf;
        SendMessage(e, EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
        bool blue = !(cf.dwEffects & CFE_AUTOCOLOR) && cf.crTextColor == InkBlue;
        EXPECT_EQ(blue, i == 4 || i == 5) << i;
    }
}

TEST_F(RichEdit, ChangeNotificationsNeedTheEventMask) {
    HWND e = Make(0);
    ClearLog();
    SendMessage(e, WM_CHAR, 'a', 0);
    EXPECT_EQ(Count(Parent, WM_COMMAND), 0);
    EXPECT_EQ(SendMessage(e, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE), 0);
    EXPECT_EQ(SendMessage(e, EM_GETEVENTMASK, 0, 0), LRESULT(ENM_CHANGE | ENM_SELCHANGE));
    SendMessage(e, WM_CHAR, 'b', 0);
    int changes = 0;
    int selChanges = 0;
    for (const auto& m : Log(Parent)) {
        if (m.Msg == WM_COMMAND && HIWORD(m.WParam) == EN_CHANGE) ++changes;
        if (m.Msg == WM_NOTIFY) selChanges += reinterpret_cast<const NMHDR*>(m.LParam) != nullptr;
    }
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(selChanges, 1);
}

TEST_F(RichEdit, LineDownScrollsOneLineAndTheBarCountsPixels) {
    std::string text;
    for (int i = 0; i < 50; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    HWND e = Make(WS_VSCROLL, text, 300, 120);
    int lh = LineHeight(e);
    ASSERT_GT(lh, 0);
    SendMessage(e, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(e, SB_VERT, &si));
    EXPECT_EQ(si.nMax, 51 * lh - 1);
    EXPECT_EQ(si.nPos, lh);
    POINT pos {};
    SendMessage(e, EM_GETSCROLLPOS, 0, LPARAM(&pos));
    EXPECT_EQ(pos.y, lh);
    POINT to {0, 10 * lh + lh / 2};
    SendMessage(e, EM_SETSCROLLPOS, 0, LPARAM(&to));
    EXPECT_EQ(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), 10);
    SendMessage(e, EM_LINESCROLL, 0, 5);
    EXPECT_EQ(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0), 15);
}

TEST_F(RichEdit, ABarOnlyWhileTheTextDoesNotFit) {
    HWND e = Make(WS_VSCROLL, "short", 300, 120);
    EXPECT_EQ(GetWindowStyle(e) & WS_VSCROLL, 0u);
    std::string text;
    for (int i = 0; i < 50; ++i)
        text += "line\r\n";
    SetWindowText(e, text);
    EXPECT_NE(GetWindowStyle(e) & WS_VSCROLL, 0u);
}

TEST_F(RichEdit, FiveMegabytesScrollToTheEndAndPaintTheLastLines) {
    HWND e = Make(WS_VSCROLL | ES_READONLY | ES_AUTOHSCROLL, {}, 400, 200);
    SendMessage(e, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
    std::string text;
    text.reserve(5u << 20);
    int lines = 0;
    while (text.size() < (5u << 20)) {
        text += "[12:34:56] Finished a frame " + std::to_string(lines) + " of the work unit, step ";
        text += std::to_string(lines * 250) + "\r\n";
        ++lines;
    }
    text += "THE LAST LINE";
    StreamIn(e, text);
    ASSERT_EQ(SendMessage(e, EM_GETLINECOUNT, 0, 0), lines + 1);
    ASSERT_EQ(SendMessage(e, WM_GETTEXTLENGTH, 0, 0), LRESULT(text.size()));
    // The viewer colours every line by running positions, then scrolls down a line per line.
    int pos = 0;
    for (int i = 0; i < lines; i += 97) {
        int start = int(SendMessage(e, EM_LINEINDEX, WPARAM(i), 0));
        Colour(e, start, start + 10, InkBlue);
        pos = start;
    }
    EXPECT_GT(pos, 0);
    SendMessage(e, WM_VSCROLL, SB_BOTTOM, 0);
    int first = int(SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_GT(first, lines - 20);
    UpdateWindow(e);
    int last = int(SendMessage(e, EM_LINEINDEX, WPARAM(lines), 0));
    POINT p = PosOf(e, last);
    ASSERT_GE(p.y, 0);
    ASSERT_LT(p.y, 200);
    RECT lastLine {0, p.y, 200, p.y + LineHeight(e)};
    EXPECT_GT(CountColour(e, lastLine, gdi::GetSysColor(gdi::COLOR_WINDOWTEXT)), 10);
}

// A shared text streamed in block by block at the end, as the log viewer fills its pane: blocks of whole lines,
// or cut anywhere between characters; `first` runs after the first block.
enum class TBlockCut { AfterLines, BetweenCharacters };
void StreamInShared(HWND e, const std::shared_ptr<const std::string>& text, std::size_t blockBytes,
    TBlockCut cut = TBlockCut::AfterLines, const std::function<void()>& first = {}) {
    for (std::size_t from = 0; from < text->size();) {
        std::size_t end = std::min(text->size(), from + blockBytes);
        if (cut == TBlockCut::BetweenCharacters) {
            while (end < text->size() && (static_cast<unsigned char>((*text)[end]) & 0xC0) == 0x80)
                ++end;
        } else {
            while (end < text->size() && (*text)[end - 1] != '\n' && (*text)[end - 1] != '\r')
                ++end;
            if (end < text->size() && (*text)[end - 1] == '\r' && (*text)[end] == '\n') ++end;
        }
        if (from > 0) {
            const int at = int(SendMessage(e, WM_GETTEXTLENGTH, 0, 0));
            CHARRANGE range {at, at};
            SendMessage(e, EM_EXSETSEL, 0, LPARAM(&range));
        }
        SHAREDTEXT shared {text, from, end};
        SendMessage(e, EM_STREAMINSHARED, SF_TEXT | (from > 0 ? SFF_SELECTION : 0), LPARAM(&shared));
        if (from == 0 && first) first();
        from = end;
    }
}

const char SharedLogText[] = "[10:00:00] Completed 1 out of 3\r\nplain line\nCR only\rnon-ASCII \xC3\xA9t\xC3\xA9 and \xE9 byte\r\n"
                             "\r\n[10:00:05] two words here\r\nlast";

// Lines kept in a shared text read back as the same text streamed in as a copy: characters, line starts and
// lengths, ranges across lines. The control holds the text while it shows it and lets it go with it.
TEST_F(RichEdit, ASharedTextReadsBackAsACopyWouldAndIsHeldOnlyWhileShown) {
    HWND shared = Make(0);
    HWND copied = Make(0);
    for (HWND e : {shared, copied})
        SendMessage(e, EM_EXLIMITTEXT, 0, 1000000);
    auto text = std::make_shared<const std::string>(SharedLogText);
    const std::weak_ptr<const std::string> watch = text;
    StreamInShared(shared, text, 20);
    StreamIn(copied, *text);
    text.reset();
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ(GetWindowText(shared), GetWindowText(copied));
    EXPECT_EQ(GetWindowText(shared), "[10:00:00] Completed 1 out of 3\r\nplain line\r\nCR only\r\nnon-ASCII \xC3\xA9t\xC3\xA9 and "
                                     "\xE9 byte\r\n\r\n[10:00:05] two words here\r\nlast");
    const LRESULT lines = SendMessage(copied, EM_GETLINECOUNT, 0, 0);
    ASSERT_EQ(SendMessage(shared, EM_GETLINECOUNT, 0, 0), lines);
    EXPECT_EQ(lines, 7);
    for (int line = 0; line < int(lines); ++line) {
        const LRESULT start = SendMessage(copied, EM_LINEINDEX, WPARAM(line), 0);
        EXPECT_EQ(SendMessage(shared, EM_LINEINDEX, WPARAM(line), 0), start) << line;
        EXPECT_EQ(SendMessage(shared, EM_LINELENGTH, WPARAM(start), 0), SendMessage(copied, EM_LINELENGTH, WPARAM(start), 0))
            << line;
    }
    EXPECT_EQ(SendMessage(shared, WM_GETTEXTLENGTH, 0, 0), SendMessage(copied, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(TextRange(shared, 26, 38), std::make_pair(LRESULT(12), std::string(" of 3\r\nplain")));
    SetWindowText(shared, "");
    EXPECT_TRUE(watch.expired());
}

// A line without line ends streamed in pieces at its end, as the log viewer fills its pane with a long one: the
// line reads back whole, is as wide as the same text streamed at once (tabs and a character of two bytes, a
// coloured run before it), and its end is where its width says.
TEST_F(RichEdit, ALineStreamedInPiecesIsTheLineStreamedAtOnce) {
    std::string line;
    for (int i = 0; i < 3000; ++i)
        line += i % 7 == 0 ? "\t\xC3\xA9" : "w";
    const std::string text = "first\r\n" + line;
    HWND pieces = Make(WS_HSCROLL | ES_READONLY | ES_AUTOHSCROLL, {}, 200, 120);
    HWND whole = Make(WS_HSCROLL | ES_READONLY | ES_AUTOHSCROLL, {}, 200, 120);
    for (HWND e : {pieces, whole})
        SendMessage(e, EM_EXLIMITTEXT, 0, 1000000);
    StreamIn(whole, text);
    Colour(whole, 7, 20, InkBlue);
    StreamInShared(pieces, std::make_shared<const std::string>(text), 101, TBlockCut::BetweenCharacters,
        [&] { Colour(pieces, 7, 20, InkBlue); });
    EXPECT_EQ(GetWindowText(pieces), text);
    EXPECT_EQ(SendMessage(pieces, EM_GETLINECOUNT, 0, 0), 2);
    auto widest = [](HWND e) {
        SCROLLINFO si;
        si.fMask = SIF_RANGE;
        GetScrollInfo(e, SB_HORZ, &si);
        return si.nMax;
    };
    EXPECT_GT(widest(whole), 3000);
    EXPECT_EQ(widest(pieces), widest(whole));
    const int end = int(SendMessage(whole, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(PosOf(pieces, end).x, PosOf(whole, end).x);
    EXPECT_EQ(PosOf(pieces, end - 1).x, PosOf(whole, end - 1).x);
}

// Colours, selections, word bounds and edits on the lines of a shared text, as on any others: an edit copies its
// line and leaves the shared text as it was; undo puts the line back.
TEST_F(RichEdit, LinesOfASharedTextTakeColoursSelectionsWordsAndEdits) {
    HWND e = Make(0, {}, 400, 150);
    SendMessage(e, EM_EXLIMITTEXT, 0, 1000000);
    auto text = std::make_shared<const std::string>(SharedLogText);
    StreamInShared(e, text, 16);
    const int line5 = int(SendMessage(e, EM_LINEINDEX, 5, 0));   // "[10:00:05] two words here"
    Colour(e, 0, 33, InkBlue);   // the first line with its line end
    UpdateWindow(e);
    const int lh = LineHeight(e);
    EXPECT_GT(CountTinted(e, RECT {0, PosOf(e, 0).y, 300, PosOf(e, 0).y + lh}, 2), 20);
    EXPECT_EQ(CountTinted(e, RECT {0, PosOf(e, 33).y, 300, PosOf(e, 33).y + lh}, 2), 0);
    auto blueAt = [&](int pos) {
        Select(e, pos, pos + 1);
        CHARFORMAT2 cf;
        SendMessage(e, EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
        return !(cf.dwEffects & CFE_AUTOCOLOR) && cf.crTextColor == InkBlue;
    };
    EXPECT_TRUE(blueAt(0));
    EXPECT_TRUE(blueAt(30));
    EXPECT_FALSE(blueAt(33));
    // A double click on "words" selects that word.
    const POINT at = PosOf(e, line5 + 16);
    SendMessage(e, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x + 2, at.y + 2));
    SendMessage(e, WM_LBUTTONUP, 0, MAKELPARAM(at.x + 2, at.y + 2));
    CHARRANGE sel {};
    SendMessage(e, EM_EXGETSEL, 0, LPARAM(&sel));
    EXPECT_EQ(sel.cpMin, line5 + 15);
    EXPECT_EQ(sel.cpMax, line5 + 20);
    // Typed into the middle of a line, and a range across two lines replaced.
    Select(e, line5 + 15, line5 + 20);
    SendMessage(e, EM_REPLACESEL, 1, LPARAM("WORDS"));
    Select(e, 2, 2);
    SendMessage(e, WM_CHAR, 'x', 0);
    EXPECT_EQ(SendMessage(e, EM_LINELENGTH, 0, 0), 32);
    const int plain = int(SendMessage(e, EM_LINEINDEX, 1, 0));
    Select(e, plain + 6, plain + 12 + 3);   // "line\r\nCR " becomes "+"
    SendMessage(e, EM_REPLACESEL, 1, LPARAM("+"));
    std::string expected = "[1x0:00:00] Completed 1 out of 3\r\nplain +only\r\nnon-ASCII \xC3\xA9t\xC3\xA9 and \xE9 byte\r\n\r\n"
                           "[10:00:05] two WORDS here\r\nlast";
    EXPECT_EQ(GetWindowText(e), expected);
    EXPECT_EQ(*text, SharedLogText);
    EXPECT_TRUE(blueAt(0));
    EXPECT_TRUE(blueAt(3));
    EXPECT_FALSE(blueAt(plain));
    SendMessage(e, EM_UNDO, 0, 0);
    expected.replace(expected.find("plain +only"), 11, "plain line\r\nCR only");
    EXPECT_EQ(GetWindowText(e), expected);
    // The whole text selected and copied reads as shown.
    Select(e, 0, -1);
    SendMessage(e, WM_COPY, 0, 0);
    EXPECT_EQ(GetClipboardText(), expected);
}

// Text typed line after line into one paragraph many times over: every change copies its line, and what the
// copies leave behind is let go of on the way; the text stays right throughout.
TEST_F(RichEdit, ALineEditedThousandsOfTimesStaysRight) {
    HWND e = Make(0, "first\r\n\r\nlast");
    SendMessage(e, EM_EXLIMITTEXT, 0, 1000000);
    std::string typed;
    for (int i = 0; i < 5000; ++i) {
        const char c = char('a' + i % 26);
        typed += c;
        Select(e, 7 + i, 7 + i);
        SendMessage(e, WM_CHAR, WPARAM(c), 0);
    }
    EXPECT_EQ(GetWindowText(e), "first\r\n" + typed + "\r\nlast");
    Select(e, 7, 7 + 5000);
    SendMessage(e, EM_REPLACESEL, 0, LPARAM("short"));
    EXPECT_EQ(GetWindowText(e), "first\r\nshort\r\nlast");
}

}   // namespace

}

namespace korvex::user::test {

namespace {

// The plain look of every kind of edit on one window; the picture goes to $KORVEX_SCREENSHOT_DIR when set.
TEST_F(RichEdit, GalleryOfEditsHasTheSunkenEdgeAndTheSystemColours) {
    auto make = [&](const char* cls, DWORD style, const std::string& text, int x, int y, int w, int h) {
        HWND e = CreateWindowEx(WS_EX_CLIENTEDGE, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, Parent,
            ChildId(20 + y), nullptr, nullptr);
        return e;
    };
    HWND plain = make(WC_EDIT, ES_AUTOHSCROLL, "Plain edit: Узел 3", 10, 10, 220, 21);
    HWND selected = make(WC_EDIT, ES_AUTOHSCROLL | ES_NOHIDESEL, "Selected words here", 10, 40, 220, 21);
    SendMessage(selected, EM_SETSEL, 9, 14);
    make(WC_EDIT, ES_AUTOHSCROLL | ES_PASSWORD, "secret", 10, 70, 220, 21);
    make(WC_EDIT, ES_AUTOHSCROLL | ES_READONLY, "Read-only", 10, 100, 220, 21);
    HWND disabled = make(WC_EDIT, ES_AUTOHSCROLL, "Disabled", 10, 130, 220, 21);
    EnableWindow(disabled, false);
    std::string memoText;
    for (int i = 1; i <= 12; ++i)
        memoText += "Memo line " + std::to_string(i) + " with words that wrap around\r\n";
    make(WC_EDIT, ES_MULTILINE | WS_VSCROLL, memoText, 240, 10, 240, 140);
    HWND rich = make(RICHEDIT_CLASS, ES_MULTILINE | WS_VSCROLL | ES_READONLY,
        "[10:00] Project: 2665 (Run 1)\r\n[10:01] Finished a frame\r\n[10:02] Core not found\r\n[10:03] plain", 10, 160,
        470, 100);
    Colour(rich, 0, 31, InkBlue);
    Colour(rich, 31, 57, InkBlue);
    Colour(rich, 57, 81, InkRed);
    SetFocus(plain);
    Pump();
    RedrawWindow(Parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    // The sunken client edge: a shadow line at the top left of the edit's frame.
    EXPECT_EQ(StorePixel(plain, 0, 5), gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
    EXPECT_EQ(StorePixel(plain, 100, 12), gdi::GetSysColor(gdi::COLOR_WINDOW));
    EXPECT_GT(CountColour(selected, RECT {2, 2, 218, 19}, gdi::GetSysColor(gdi::COLOR_HIGHLIGHT)), 50);
    if (const char* dir = std::getenv("KORVEX_SCREENSHOT_DIR")) {
        RECT all {40, 40, 580, 500};
        Screen->WriteScreenshotPng(std::string(dir) + "/edits.png", &all);
    }
}

}   // namespace

}
