// DrawText: prefixes, tabs, line breaking, ellipses, alignment, clipping and measuring.
#include "platform/gdi/Text.h"

#include "platform/gdi/Recording.h"
#include "platform/gdi/TextRender.h"

#include <algorithm>

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

// Measures pieces of the prepared text with tab stops.
class Measurer {
public:
    Measurer(const FontInstance& font, UINT format)
        : FFont(font)
        , FTabs(format & DT_EXPANDTABS)
        , FTabWidth(std::max(1, int(font.TextMetrics().tmAveCharWidth) * 8)) { }

    // Pen positions before each code point of `text` and after the last, tabs expanded.
    std::vector<int> Positions(std::string_view text, std::vector<size_t>* offsets = nullptr) const {
        std::vector<int> xs;
        const std::vector<RunCharacter> chars = FFont.Characters(text);
        xs.reserve(chars.size() + 1);
        int x = 0;
        for (const RunCharacter& ch : chars) {
            xs.push_back(x);
            if (offsets) offsets->push_back(ch.ByteOffset);
            if (ch.CodePoint == '\t')
                x = FTabs ? (x / FTabWidth + 1) * FTabWidth : x + FFont.MapCharacter(' ').Advance;
            else
                x += ch.Advance;
        }
        xs.push_back(x);
        if (offsets) offsets->push_back(text.size());
        return xs;
    }

    int Width(std::string_view text) const { return Positions(text).back(); }

private:
    const FontInstance& FFont;
    bool FTabs;
    int FTabWidth;
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
void WrapLine(const Measurer& m, std::string_view text, size_t base, size_t underline, int width, bool wrap,
    std::vector<Line>& out) {
    auto emit = [&](size_t from, size_t to) {
        Line line;
        line.Text = std::string(text.substr(from, to - from));
        if (underline != NoUnderline && underline >= base + from && underline < base + to)
            line.Underline = underline - base - from;
        out.push_back(std::move(line));
    };
    if (!wrap || width <= 0) {
        emit(0, text.size());
        return;
    }
    size_t start = 0;
    while (true) {
        const std::string_view rest = text.substr(start);
        std::vector<size_t> offsets;
        const std::vector<int> xs = m.Positions(rest, &offsets);
        if (xs.back() <= width) {
            emit(start, text.size());
            return;
        }
        // First code point that does not fit.
        size_t over = 1;
        while (over < offsets.size() && xs[over] <= width)
            ++over;
        const size_t limit = offsets[over - 1];   // bytes of `rest` that fit
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
    std::vector<size_t> offsets;
    const std::vector<int> xs = m.Positions(line.Text, &offsets);
    if (xs.back() <= width) return;
    const int dots = m.Width(Ellipsis);
    size_t keep = 0;
    for (size_t i = 0; i < offsets.size(); ++i)
        if (xs[i] + dots <= width) keep = offsets[i];
    if (atWord) {
        const size_t blank = line.Text.find_last_of(" \t", keep);
        if (blank != std::string::npos && blank > 0 && blank <= keep) keep = blank;
    }
    line.Text = line.Text.substr(0, keep) + std::string(Ellipsis);
    if (line.Underline != NoUnderline && line.Underline >= keep) line.Underline = NoUnderline;
}

// Replaces the middle of a path with "..." keeping its last component.
void PathEllipsis(const Measurer& m, Line& line, int width) {
    if (m.Width(line.Text) <= width) return;
    const size_t slash = line.Text.find_last_of("\\/");
    if (slash == std::string::npos) {
        EndEllipsis(m, line, width, false);
        return;
    }
    const std::string tail = line.Text.substr(slash);
    std::string head = line.Text.substr(0, slash);
    const int tailWidth = m.Width(std::string(Ellipsis) + tail);
    std::vector<size_t> offsets;
    const std::vector<int> xs = m.Positions(head, &offsets);
    size_t keep = 0;
    for (size_t i = 0; i < offsets.size(); ++i)
        if (xs[i] + tailWidth <= width) keep = offsets[i];
    line.Text = head.substr(0, keep) + std::string(Ellipsis) + tail;
    line.Underline = NoUnderline;
}

// Draws one line with its tab stops and prefix underline, the left end of its baseline cell at `at`.
void PaintLine(HDC dc, const RasterTarget& target, const FontInstance& font, const Measurer& m, const Line& line,
    POINT at, const RECT* clip, UINT format) {
    const DcState& state = dc->State();
    const TEXTMETRIC& tm = font.TextMetrics();
    std::vector<size_t> offsets;
    const std::vector<int> xs = m.Positions(line.Text, &offsets);
    if (state.BkMode == OPAQUE && !(format & DT_PREFIXONLY))
        FillCell(target, font, at, xs.back(), tm.tmHeight, state.BkColor, clip);
    const POINT base {at.x, at.y + tm.tmAscent};
    if (!(format & DT_PREFIXONLY)) {
        // Runs between tabs are drawn at their tab stops.
        size_t from = 0;
        size_t index = 0;
        for (size_t i = 0; i <= line.Text.size(); ++i) {
            if (i < line.Text.size() && line.Text[i] != '\t') continue;
            while (index < offsets.size() && offsets[index] < from)
                ++index;
            if (i > from)
                PaintRun(target, font, POINT {base.x + xs[index], base.y},
                    std::string_view(line.Text).substr(from, i - from), {}, state.TextColor, clip);
            from = i + 1;
        }
    }
    if (line.Underline != NoUnderline) {
        size_t k = 0;
        while (k + 1 < offsets.size() && offsets[k] < line.Underline)
            ++k;
        if (k + 1 < offsets.size()) {
            const LineBand band = font.UnderlineBand();
            const RECT bar {base.x + xs[k], base.y + band.Offset, base.x + xs[k + 1],
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
        call.Text = std::string(text);
        if (!RecordCall(dc, std::move(call))) return 0;
    }
    const auto font = FontOfDc(dc);
    if (!font) return 0;
    const TEXTMETRIC& tm = font->TextMetrics();
    const int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    const bool single = format & DT_SINGLELINE;
    const Measurer m(*font, format);
    const Prepared prepared = ResolvePrefixes(text, format, single);
    const int width = ClampCoord(int64_t(rect->right) - rect->left);

    // Hard lines, then soft lines by width.
    std::vector<Line> lines;
    const std::string_view all = prepared.Text;
    size_t start = 0;
    while (true) {
        size_t end = single ? all.size() : all.find_first_of("\r\n", start);
        if (end == std::string::npos) end = all.size();
        WrapLine(m, all.substr(start, end - start), start, prepared.Underline, width,
            (format & DT_WORDBREAK) && !single, lines);
        if (end >= all.size()) break;
        start = end + ((all[end] == '\r' && end + 1 < all.size() && all[end + 1] == '\n') ? 2 : 1);
    }
    if (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS))
        for (Line& line : lines) {
            if (format & DT_PATH_ELLIPSIS)
                PathEllipsis(m, line, width);
            else
                EndEllipsis(m, line, width, format & DT_WORD_ELLIPSIS);
        }

    const int total = lineHeight * int(lines.size());
    int widest = 0;
    for (const Line& line : lines)
        widest = std::max(widest, m.Width(line.Text));
    if (calc) {
        rect->right = ClampCoord(int64_t(rect->left) + widest);
        rect->bottom = ClampCoord(int64_t(rect->top) + total);
        return total;
    }
    int y = rect->top;
    if (single && (format & DT_VCENTER))
        y = ClampCoord(rect->top + (int64_t(rect->bottom) - rect->top - lineHeight) / 2);
    else if (single && (format & DT_BOTTOM))
        y = rect->bottom - lineHeight;

    const RasterTarget target = TargetOf(dc);
    const RECT clip = dc->ToSurface(*rect);
    const RECT* clipPtr = (format & DT_NOCLIP) ? nullptr : &clip;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int w = m.Width(lines[i].Text);
        int x = rect->left;
        if (format & DT_CENTER)
            x = rect->left + (width - w) / 2;
        else if (format & DT_RIGHT)
            x = rect->right - w;
        PaintLine(dc, target, *font, m, lines[i], dc->ToSurface(x, y + int(i) * lineHeight), clipPtr, format);
    }
    return int(std::clamp<int64_t>(int64_t(y) - rect->top + total, 0, INT32_MAX));
}

}
