// DrawText: prefixes, tabs, line breaking, ellipses, alignment, clipping and measuring.
#include "platform/gdi/Text.h"

#include "platform/gdi/Recording.h"
#include "platform/gdi/TextRender.h"
#include "platform/gdi/VisualOrder.h"

#include "platform/base/Utf8.h"

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

namespace korvex::gdi {

namespace {

constexpr size_t NoUnderline = std::string::npos;
constexpr std::string_view Ellipsis = "...";

// Text with "&" prefixes resolved: the byte offset of the character to underline, if any.
struct Prepared {
    std::string Text;
    size_t Underline = NoUnderline;
};

Prepared ResolvePrefixes(std::string_view text, UINT format, bool singleLine) {
    Prepared out;
    out.Text.reserve(text.size());
    const bool prefixes = !(format & DT_NOPREFIX);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (singleLine && (c == '\r' || c == '\n')) c = ' ';
        if (prefixes && c == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out.Text += '&';
                ++i;
                continue;
            }
            if (i + 1 < text.size() && !(format & DT_HIDEPREFIX))
                out.Underline = out.Text.size();   // the last single "&" wins, as in menus
            continue;
        }
        out.Text += c;
    }
    return out;
}

// Measures pieces of the prepared text with tab stops, walking them without keeping anything per character;
// positions are 64-bit, so a line of any length neither overflows nor costs memory.
class Measurer {
public:
    Measurer(const FontInstance& font, UINT format)
        : FFont(font)
        , FTabs(format & DT_EXPANDTABS)
        , FTabWidth(std::max(1, int(font.TextMetrics().tmAveCharWidth) * 8))
        , FSpace(font.MapCharacter(' ').Advance) { }

    // Calls visit(byteOffset, x) before each code point and visit(text.size(), x) after the last, until it
    // returns false.
    template<typename Visit> void Walk(std::string_view text, Visit&& visit) const {
        long long x = 0;
        size_t pos = 0;
        while (pos < text.size()) {
            if (!visit(pos, x)) return;
            const char32_t codePoint = base::Utf8DecodeNext(text, pos);
            if (codePoint == '\t')
                x = FTabs ? (x / FTabWidth + 1) * FTabWidth : x + FSpace;
            else
                x += Advance(codePoint);
        }
        visit(text.size(), x);
    }

    long long Width(std::string_view text) const {
        long long width = 0;
        Walk(text, [&](size_t, long long x) {
            width = x;
            return true;
        });
        return width;
    }
    bool Fits(std::string_view text, long long width) const {
        bool fits = true;
        Walk(text, [&](size_t, long long x) { return (fits = x <= width); });
        return fits;
    }
    // The longest prefix (in bytes, ending before a code point) whose pen position plus `extra` stays within
    // the width.
    size_t FittingPrefix(std::string_view text, long long width, long long extra) const {
        size_t keep = 0;
        Walk(text, [&](size_t offset, long long x) {
            if (x + extra > width) return false;
            keep = offset;
            return true;
        });
        return keep;
    }

private:
    int Advance(char32_t codePoint) const {
        if (codePoint < 128) {
            if (FAscii[codePoint] < 0) FAscii[codePoint] = FFont.MapCharacter(codePoint).Advance;
            return FAscii[codePoint];
        }
        return FFont.MapCharacter(codePoint).Advance;
    }

    const FontInstance& FFont;
    bool FTabs;
    int FTabWidth;
    int FSpace;
    mutable std::array<int, 128> FAscii = MakeUnknown();

    static std::array<int, 128> MakeUnknown() {
        std::array<int, 128> unknown;
        unknown.fill(-1);
        return unknown;
    }
};

struct Line {
    std::string Text;
    size_t Underline = NoUnderline;   // byte offset in Text
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Greedy word wrap of one hard line into lines no wider than `width`. As in Windows, a word longer than a
// line is not cut: it gets a line of its own and overflows (DT_CALCRECT then widens the rectangle).
// Each line goes to `out` as it is cut, so only one is kept at a time.
void WrapLine(const Measurer& m, std::string_view text, size_t base, size_t underline, int width, bool wrap,
    const std::function<void(Line&)>& out) {
    auto emit = [&](size_t from, size_t to) {
        Line line;
        line.Text = std::string(text.substr(from, to - from));
        if (underline != NoUnderline && underline >= base + from && underline < base + to)
            line.Underline = underline - base - from;
        out(line);
    };
    if (!wrap || width <= 0) {
        emit(0, text.size());
        return;
    }
    size_t start = 0;
    while (true) {
        const std::string_view rest = text.substr(start);
        // Bytes of `rest` before the first code point that does not fit.
        size_t limit = 0;
        bool all = true;
        m.Walk(rest, [&](size_t offset, long long x) {
            if (x > width) {
                all = false;
                return false;
            }
            limit = offset;
            return true;
        });
        if (all) {
            emit(start, text.size());
            return;
        }
        // Break after the last blank within what fits (or at a blank just past it).
        size_t cut = std::string::npos;
        for (size_t i = std::min(limit, rest.size() - 1) + 1; i-- > 0;)
            if (IsBlank(rest[i])) {
                cut = i;
                break;
            }
        size_t end;
        size_t next;
        if (cut != std::string::npos && cut > 0) {
            end = cut;
            while (end > 0 && IsBlank(rest[end - 1]))
                --end;
            next = cut;
            while (next < rest.size() && IsBlank(rest[next]))
                ++next;
            if (end == 0) {   // only blanks before the break
                end = next;
            }
        } else {
            // No blank fits: the line runs to the end of the first word.
            end = rest.find_first_of(" \t", limit);
            if (end == std::string::npos) {
                emit(start, text.size());
                return;
            }
            next = end;
            while (next < rest.size() && IsBlank(rest[next]))
                ++next;
        }
        emit(start, start + end);
        start += next;
        if (start >= text.size()) return;
    }
}

// Cuts a line so that it and "..." fit the width.
void EndEllipsis(const Measurer& m, Line& line, int width, bool atWord) {
    if (m.Fits(line.Text, width)) return;
    size_t keep = m.FittingPrefix(line.Text, width, m.Width(Ellipsis));
    if (atWord) {
        const size_t blank = line.Text.find_last_of(" \t", keep);
        if (blank != std::string::npos && blank > 0 && blank <= keep) keep = blank;
    }
    line.Text = line.Text.substr(0, keep) + std::string(Ellipsis);
    if (line.Underline != NoUnderline && line.Underline >= keep) line.Underline = NoUnderline;
}

// Replaces the middle of a path with "..." keeping its last component.
void PathEllipsis(const Measurer& m, Line& line, int width) {
    if (m.Fits(line.Text, width)) return;
    const size_t slash = line.Text.find_last_of("\\/");
    if (slash == std::string::npos) {
        EndEllipsis(m, line, width, false);
        return;
    }
    const std::string tail = line.Text.substr(slash);
    const std::string_view head = std::string_view(line.Text).substr(0, slash);
    const size_t keep = m.FittingPrefix(head, width, m.Width(std::string(Ellipsis) + tail));
    line.Text = std::string(head.substr(0, keep)) + std::string(Ellipsis) + tail;
    line.Underline = NoUnderline;
}

// Puts a line in visual order; the underlined character keeps its underline.
void ToVisualOrder(Line& line, bool rtlBase) {
    std::vector<int> logicalOf;
    std::string visual = VisualOrder(line.Text, rtlBase, &logicalOf);
    if (line.Underline != NoUnderline) {
        const int logical = int(base::Utf8Length(std::string_view(line.Text).substr(0, line.Underline)));
        const auto at = std::find(logicalOf.begin(), logicalOf.end(), logical);
        line.Underline = at == logicalOf.end() ? NoUnderline
                                               : base::Utf8ByteOffset(visual, size_t(at - logicalOf.begin()));
    }
    line.Text = std::move(visual);
}

// Draws one line with its tab stops and prefix underline, the left end of its baseline cell at `at`.
void PaintLine(HDC dc, const RasterTarget& target, const FontInstance& font, const Measurer& m, const Line& line,
    POINT at, const RECT* clip, UINT format) {
    const DcState& state = dc->State();
    const TEXTMETRIC& tm = font.TextMetrics();
    if (state.BkMode == OPAQUE && !(format & DT_PREFIXONLY))
        FillCell(target, font, at, ClampCoord(m.Width(line.Text)), tm.tmHeight, state.BkColor, clip);
    const POINT base {at.x, at.y + tm.tmAscent};
    const std::string_view text = line.Text;
    if (!(format & DT_PREFIXONLY)) {
        // Runs between tabs are drawn at their tab stops.
        size_t from = 0;
        long long fromX = 0;
        m.Walk(text, [&](size_t offset, long long x) {
            if (offset == from) fromX = x;
            if (offset < text.size() && text[offset] != '\t') return true;
            if (offset > from)
                PaintRun(target, font, POINT {ClampCoord(int64_t(base.x) + fromX), base.y},
                    text.substr(from, offset - from), {}, state.TextColor, clip);
            from = offset + 1;
            return true;
        });
    }
    if (line.Underline != NoUnderline) {
        long long x0 = -1;
        long long x1 = -1;
        m.Walk(text, [&](size_t offset, long long x) {
            if (x0 >= 0) {
                x1 = x;
                return false;
            }
            if (offset >= line.Underline && offset < text.size()) x0 = x;
            return true;
        });
        if (x0 >= 0 && x1 >= 0) {
            const LineBand band = font.UnderlineBand();
            const RECT bar {ClampCoord(int64_t(base.x) + x0), base.y + band.Offset, ClampCoord(int64_t(base.x) + x1),
                base.y + band.Offset + std::max(1, band.Thickness)};
            BandedRegion storage;
            RasterTarget t = target;
            if (clip && target) {
                storage = target.Clip->Intersect(*clip);
                t.Clip = &storage;
            }
            FillRectRaster(t, bar, state.TextColor);
        }
    }
}

}

int DrawText(HDC dc, std::string_view text, RECT* rect, UINT format) {
    if (!IsValidDC(dc) || !rect) return 0;
    const bool calc = format & DT_CALCRECT;
    if (!calc) {
        DrawCall call = MakeCall(DrawKind::DrawText, *rect);
        call.Flags = format;
        if (dc->Recorder()) call.Text = std::string(text);
        if (!RecordCall(dc, std::move(call))) return 0;
    }
    const auto font = FontOfDc(dc);
    if (!font) return 0;
    const TEXTMETRIC& tm = font->TextMetrics();
    const int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    const bool single = format & DT_SINGLELINE;
    const bool rtlReading = format & DT_RTLREADING;
    const Measurer m(*font, format);
    const Prepared prepared = ResolvePrefixes(text, format, single);
    const int width = ClampCoord(int64_t(rect->right) - rect->left);

    int y = rect->top;
    if (single && (format & DT_VCENTER))
        y = ClampCoord(rect->top + (int64_t(rect->bottom) - rect->top - lineHeight) / 2);
    else if (single && (format & DT_BOTTOM))
        y = rect->bottom - lineHeight;
    const RasterTarget target = calc ? RasterTarget {} : TargetOf(dc);
    const RECT clip = dc->ToSurface(*rect);
    const RECT* clipPtr = (format & DT_NOCLIP) ? nullptr : &clip;

    // Hard lines, then soft lines by width; each is measured and drawn as it comes.
    int64_t count = 0;
    long long widest = 0;
    auto take = [&](Line& line) {
        if (format & DT_PATH_ELLIPSIS)
            PathEllipsis(m, line, width);
        else if (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS))
            EndEllipsis(m, line, width, format & DT_WORD_ELLIPSIS);
        const long long w = m.Width(line.Text);
        widest = std::max(widest, w);
        if (!calc && NeedsVisualOrder(line.Text, rtlReading)) ToVisualOrder(line, rtlReading);
        if (!calc) {
            int x = rect->left;
            if (format & DT_CENTER)
                x = ClampCoord(rect->left + (int64_t(width) - std::min<long long>(w, MaxCoord)) / 2);
            else if (format & DT_RIGHT)
                x = ClampCoord(int64_t(rect->right) - std::min<long long>(w, MaxCoord));
            PaintLine(dc, target, *font, m, line, dc->ToSurface(x, ClampCoord(y + count * lineHeight)), clipPtr,
                format);
        }
        ++count;
    };
    const std::string_view all = prepared.Text;
    size_t start = 0;
    while (true) {
        size_t end = single ? all.size() : all.find_first_of("\r\n", start);
        if (end == std::string::npos) end = all.size();
        WrapLine(m, all.substr(start, end - start), start, prepared.Underline, width,
            (format & DT_WORDBREAK) && !single, take);
        if (end >= all.size()) break;
        start = end + ((all[end] == '\r' && end + 1 < all.size() && all[end + 1] == '\n') ? 2 : 1);
    }
    const int total = int(std::min<int64_t>(lineHeight * count, INT32_MAX));
    if (calc) {
        rect->right = ClampCoord(int64_t(rect->left) + std::min<long long>(widest, MaxCoord));
        rect->bottom = ClampCoord(int64_t(rect->top) + total);
        return total;
    }
    return int(std::clamp<int64_t>(int64_t(y) - rect->top + total, 0, INT32_MAX));
}

}
