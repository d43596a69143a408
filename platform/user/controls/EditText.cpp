// Edit engine: the text as paragraphs, character positions, replacing, formats of the rich edit, undo.
#include "platform/user/controls/EditEngine.h"

#include "platform/base/ScopeGuard.h"
#include "platform/base/Strings.h"
#include "platform/base/Utf8.h"
#include "platform/user/Window.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/RichEditConstants.h"

#include <algorithm>
#include <map>

namespace korvex::user::edit {

namespace {

std::size_t ByteOffset(const Paragraph& p, std::string_view text, int offset) {
    if (std::size_t(p.Length) == text.size()) return std::size_t(offset);   // ASCII
    return base::Utf8ByteOffset(text, std::size_t(offset));
}

// Splits at "\r\n", "\n" or "\r".
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t begin = 0;
    for (std::size_t i = base::FindLineBreak(text); i != std::string_view::npos; i = base::FindLineBreak(text, begin)) {
        lines.push_back(text.substr(begin, i - begin));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        begin = i + 1;
    }
    lines.push_back(text.substr(begin));
    return lines;
}

Paragraph MakeParagraph(TextSpan text, int length) {
    Paragraph p;
    p.Text = text;
    p.Length = length;
    return p;
}

std::vector<FormatRun> Effective(const Paragraph& p) {
    const std::span<const FormatRun> runs = p.Runs();
    if (runs.empty()) return {FormatRun {0, p.Format}};
    return std::vector<FormatRun>(runs.begin(), runs.end());
}

int RunFormatAt(const Paragraph& p, int offset) {
    int format = p.FirstFormat();
    for (const FormatRun& r : p.Runs()) {
        if (r.Start > offset) break;
        format = r.Format;
    }
    return format;
}

}   // namespace

CharFormat MergeFormat(const CharFormat& base, const CharFormat& change, DWORD mask) {
    CharFormat f = base;
    if (mask & CFM_BOLD) f.Bold = change.Bold;
    if (mask & CFM_ITALIC) f.Italic = change.Italic;
    if (mask & CFM_UNDERLINE) f.Underline = change.Underline;
    if (mask & CFM_STRIKEOUT) f.StrikeOut = change.StrikeOut;
    if (mask & CFM_COLOR) {
        f.AutoColor = change.AutoColor;
        f.Color = change.Color;
    }
    if (mask & CFM_BACKCOLOR) {
        f.AutoBack = change.AutoBack;
        f.BackColor = change.BackColor;
    }
    if (mask & CFM_SIZE) f.HeightTwips = change.HeightTwips;
    if (mask & CFM_FACE) f.Face = change.Face;
    return f;
}

EditControl::EditControl()
    : FLimit(EditDefaultLimit) {
    FParas.push_back(Paragraph {});
    FFormats.push_back(CharFormat {});
    FFonts.resize(1);
}

EditControl::~EditControl() {
    FreeFonts();
}

DWORD EditControl::Style() const {
    return GetWindowStyle(FHwnd);
}

bool EditControl::Multi() const {
    return (Style() & ES_MULTILINE) != 0;
}

bool EditControl::ReadOnly() const {
    return (Style() & ES_READONLY) != 0;
}

// ---------------------------------------------------------------------------------------------------------
// Positions

void EditControl::MarkDirty(int fromPara) {
    FStartsValid = std::min(FStartsValid, fromPara);
    MarkLayoutDirty(fromPara);
}

void EditControl::MarkLayoutDirty(int fromPara) {
    FLinesValid = std::min(FLinesValid, fromPara);
    FMaxWidth = -1;
    FWidthsTaken = 0;
}

void EditControl::MarkReplaced(int firstPara, int lastPara) {
    // The widest line stays known unless it may be among those replaced: text added at the end of a long
    // text costs what is added, not the whole text again.
    bool widestGoes = false;
    for (int p = firstPara; p <= lastPara && p < FWidthsTaken; ++p)
        widestGoes = widestGoes || FParas[std::size_t(p)].Width >= FMaxWidth;
    if (widestGoes) {
        MarkDirty(firstPara);
        return;
    }
    FStartsValid = std::min(FStartsValid, firstPara);
    FLinesValid = std::min(FLinesValid, firstPara);
    FWidthsTaken = std::min(FWidthsTaken, firstPara);
}

void EditControl::EnsureStarts() const {
    int n = int(FParas.size());
    if (FStartsValid >= n && int(FStarts.size()) == n) return;
    FStarts.resize(std::size_t(n));
    for (int p = std::min(FStartsValid, n); p < n; ++p)
        FStarts[std::size_t(p)] = p == 0 ? 0 : FStarts[std::size_t(p - 1)] + FParas[std::size_t(p - 1)].Length + 2;
    FStartsValid = n;
}

int EditControl::ParaStart(int para) const {
    EnsureStarts();
    return FStarts[std::size_t(std::clamp(para, 0, int(FParas.size()) - 1))];
}

int EditControl::TextLength() const {
    EnsureStarts();
    return FStarts.back() + FParas.back().Length;
}

void EditControl::Locate(int pos, int& para, int& offset) const {
    EnsureStarts();
    pos = std::max(pos, 0);
    auto it = std::upper_bound(FStarts.begin(), FStarts.end(), pos);
    para = int(it - FStarts.begin()) - 1;
    offset = std::min(pos - FStarts[std::size_t(para)], FParas[std::size_t(para)].Length);
}

int EditControl::ClampPos(int pos) const {
    int para = 0;
    int offset = 0;
    Locate(std::min(pos, TextLength()), para, offset);
    return FStarts[std::size_t(para)] + offset;
}

std::string EditControl::Text(int start, int end) const {
    start = ClampPos(start);
    end = ClampPos(end);
    if (end < start) std::swap(start, end);
    int p1 = 0, o1 = 0, p2 = 0, o2 = 0;
    Locate(start, p1, o1);
    Locate(end, p2, o2);
    const Paragraph& a = FParas[std::size_t(p1)];
    const std::string_view aText = ParaText(a);
    if (p1 == p2) return std::string(aText.substr(ByteOffset(a, aText, o1), ByteOffset(a, aText, o2) - ByteOffset(a, aText, o1)));
    std::size_t bytes = 0;
    for (int p = p1; p <= p2; ++p)
        bytes += FParas[std::size_t(p)].Text.Bytes + 2;
    std::string out;
    out.reserve(bytes);
    out = aText.substr(ByteOffset(a, aText, o1));
    for (int p = p1 + 1; p < p2; ++p) {
        out += "\r\n";
        out += ParaText(p);
    }
    const Paragraph& b = FParas[std::size_t(p2)];
    const std::string_view bText = ParaText(b);
    out += "\r\n";
    out += bText.substr(0, ByteOffset(b, bText, o2));
    return out;
}

// ---------------------------------------------------------------------------------------------------------
// Changing the text

std::string EditControl::Filter(std::string_view text) const {
    DWORD style = Style();
    std::string out(text);
    if (!FRich && (style & ES_UPPERCASE)) out = base::AnsiUpperCase(out);
    if (!FRich && (style & ES_LOWERCASE)) out = base::AnsiLowerCase(out);
    return out;
}

void EditControl::SetAllText(std::string_view text) {
    // What the old text held goes back at once (a cleared vector would keep its room for all its lines). The
    // new text is made first: the text given may lie in the old.
    TextStore store;
    store.Reserve(text.size());
    std::deque<Paragraph> paras;
    auto add = [&](std::string_view line) {
        paras.push_back(MakeParagraph(store.Add(line), int(base::Utf8Length(line))));
    };
    if (Multi()) {
        for (std::string_view line : SplitLines(text))
            add(line);
    } else {
        add(text);
    }
    std::deque<Paragraph>().swap(FParas);
    std::vector<int>().swap(FStarts);
    std::vector<int>().swap(FLineStarts);
    FParas.swap(paras);
    FStore = std::move(store);
    FStartsValid = 0;
    MarkLayoutDirty(0);
    FAnchor = FCaret = 0;
    FTopLine = 0;
    FXOffset = 0;
    FUndo = UndoRecord {};
    FInsertFormat = -1;
}

std::vector<FormatRun> EditControl::SliceRuns(const Paragraph& p, int begin, int end) const {
    std::vector<FormatRun> out;
    if (begin >= end) return out;
    std::vector<FormatRun> runs = Effective(p);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        int rs = runs[i].Start;
        int re = i + 1 < runs.size() ? runs[i + 1].Start : std::max(p.Length, rs);
        int s = std::max(rs, begin);
        int e = std::min(re, end);
        if (s < e) out.push_back(FormatRun {s - begin, runs[i].Format});
    }
    return out;
}

void EditControl::SetRuns(Paragraph& p, std::vector<FormatRun> runs) {
    std::vector<FormatRun> out;
    for (const FormatRun& r : runs) {
        if (!out.empty() && out.back().Start >= r.Start) {
            out.back().Format = r.Format;   // the earlier run was empty
            if (out.size() > 1 && out[out.size() - 2].Format == r.Format) out.pop_back();
            continue;
        }
        if (!out.empty() && out.back().Format == r.Format) continue;
        out.push_back(r);
    }
    while (out.size() > 1 && out.back().Start >= p.Length)
        out.pop_back();
    if (!out.empty()) out.front().Start = 0;
    // One format for the whole paragraph is kept in the paragraph itself.
    p.Format = 0;
    if (out.size() == 1 && out.front().Format <= 0xFFFF) {
        p.Format = std::uint16_t(out.front().Format);
        out.clear();
    }
    p.Layout.SetRuns(out);
}

int EditControl::FormatAt(int pos) const {
    int para = 0;
    int offset = 0;
    Locate(pos, para, offset);
    return RunFormatAt(FParas[std::size_t(para)], std::max(offset - 1, 0));
}

int EditControl::Replace(int start, int end, std::string_view text, bool limit, bool undo, bool typing) {
    return ReplaceWith(start, end, text, nullptr, limit, undo, typing);
}

int EditControl::ReplaceShared(int start, int end, const std::shared_ptr<const std::string>& shared,
    std::string_view text, bool limit, bool undo) {
    return ReplaceWith(start, end, text, &shared, limit, undo, false);
}

void EditControl::CompactStore() {
    TextStore store;
    store.Reserve(FStore.LiveBytes());
    for (Paragraph& p : FParas)
        p.Text = store.Keep(FStore, p.Text);
    FStore = std::move(store);
}

int EditControl::ReplaceWith(int start, int end, std::string_view text, const std::shared_ptr<const std::string>* shared,
    bool limit, bool undo, bool typing) {
    start = ClampPos(start);
    end = ClampPos(end);
    if (end < start) std::swap(start, end);
    FHitLimit = false;
    std::vector<std::string_view> lines;
    if (Multi())
        lines = SplitLines(text);
    else
        lines.push_back(text);
    std::vector<int> lengths;
    lengths.reserve(lines.size());
    int insertLength = 2 * (int(lines.size()) - 1);
    for (std::string_view line : lines) {
        lengths.push_back(int(base::Utf8Length(line)));
        insertLength += lengths.back();
    }
    if (limit) {
        int room = std::max(FLimit - (TextLength() - (end - start)), 0);
        if (insertLength > room) {
            FHitLimit = true;
            // Keep whole lines and characters up to the room left; a line end needs two.
            std::vector<std::string_view> kept;
            int used = 0;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                if (i > 0) {
                    if (used + 2 > room) break;
                    used += 2;
                }
                int length = int(base::Utf8Length(lines[i]));
                if (used + length > room) {
                    int fit = room - used;
                    kept.push_back(lines[i].substr(0, base::Utf8ByteOffset(lines[i], std::size_t(fit))));
                    used += fit;
                    break;
                }
                kept.push_back(lines[i]);
                used += length;
            }
            if (kept.empty()) kept.push_back(std::string_view {});
            lines = kept;
            lengths.clear();
            for (std::string_view line : lines)
                lengths.push_back(int(base::Utf8Length(line)));
            insertLength = used;
        }
        if (insertLength == 0 && start == end) return -1;
    }
    int format = 0;
    if (FRich) format = (FInsertFormat >= 0 && start == end) ? FInsertFormat : FormatAt(start);
    std::string removed = undo ? Text(start, end) : std::string();

    int p1 = 0, o1 = 0, p2 = 0, o2 = 0;
    Locate(start, p1, o1);
    Locate(end, p2, o2);
    const Paragraph& a = FParas[std::size_t(p1)];
    const Paragraph& b = FParas[std::size_t(p2)];
    const std::string_view aText = ParaText(a);
    const std::string_view bText = ParaText(b);
    // Views into the store: adding to it moves nothing, and the paragraphs they lie in go only below.
    const std::string_view prefix = aText.substr(0, ByteOffset(a, aText, o1));
    const std::string_view suffix = bText.substr(ByteOffset(b, bText, o2));
    const int suffixLength = b.Length - o2;
    std::vector<FormatRun> prefixRuns = FRich ? SliceRuns(a, 0, o1) : std::vector<FormatRun> {};
    std::vector<FormatRun> suffixRuns = FRich ? SliceRuns(b, o2, b.Length) : std::vector<FormatRun> {};
    int prefixLength = o1;

    std::size_t ownBytes = prefix.size() + suffix.size();
    if (!shared)
        for (std::string_view line : lines)
            ownBytes += line.size();
    std::vector<Paragraph> made;
    // Memory that runs out on the way leaves the text as it was, the bytes already stored let go of.
    base::ScopeExit releaseMade([&] {
        for (const Paragraph& np : made)
            FStore.Release(np.Text);
    });
    made.reserve(lines.size());
    // Text added at a paragraph's end (a long line handed in piece by piece): the paragraph's bytes stay where
    // they are when the text follows them in the same shared text, and its width grows by the text's.
    const bool atParagraphEnd = o1 == a.Length && (lines.size() > 1 || suffix.empty());
    std::optional<TextSpan> extended;
    if (atParagraphEnd && shared) extended = FStore.Extend(a.Text, *shared, lines[0]);
    if (extended) ownBytes -= prefix.size();
    FStore.Reserve(ownBytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        bool first = i == 0;
        bool last = i + 1 == lines.size();
        const std::string_view before = first ? prefix : std::string_view();
        const std::string_view after = last ? suffix : std::string_view();
        // A whole line of a shared text stays where it is.
        const TextSpan span = first && extended ? *extended
            : shared && before.empty() && after.empty() ? FStore.Refer(*shared, lines[i])
                                                        : FStore.Add(before, lines[i], after);
        made.push_back(MakeParagraph(span, (first ? prefixLength : 0) + lengths[i] + (last ? suffixLength : 0)));
        Paragraph& np = made.back();
        const bool bytes = std::size_t(np.Length) == FStore.View(np.Text).size();
        if (first && atParagraphEnd && a.Measured && !Wraps() && bytes == (std::size_t(a.Length) == aText.size())) {
            np.Width = WidthAfter(lines[0], Font(FRich ? format : 0), bytes, a.Width);
            np.Measured = true;
        }
        if (FRich) {
            std::vector<FormatRun> runs;
            if (first) runs = prefixRuns;
            int at = first ? prefixLength : 0;
            runs.push_back(FormatRun {at, format});
            at += lengths[i];
            if (last)
                for (FormatRun r : suffixRuns)
                    runs.push_back(FormatRun {r.Start + at, r.Format});
            SetRuns(made.back(), std::move(runs));
        }
    }
    MarkReplaced(p1, p2);
    // The old paragraphs' bytes: the first one's live on in the new first paragraph when it was extended.
    auto releaseOld = [&](const Paragraph& old, int p) {
        if (p == p1 && extended)
            FStore.ReleaseCovered(old.Text);
        else
            FStore.Release(old.Text);
    };
    if (p2 == p1 && made.size() == 1) {
        std::swap(FParas[std::size_t(p1)], made.front());
        releaseOld(made.front(), p1);
        made.clear();
    } else {
        // The new paragraphs go in first (a deque that cannot grow throws before it changes), then the old go.
        FParas.insert(FParas.begin() + p2 + 1, std::make_move_iterator(made.begin()), std::make_move_iterator(made.end()));
        made.clear();
        for (int p = p1; p <= p2; ++p)
            releaseOld(FParas[std::size_t(p)], p);
        FParas.erase(FParas.begin() + p1, FParas.begin() + p2 + 1);
    }
    if (FStore.Wasteful()) CompactStore();
    FModified = true;

    if (undo) {
        if (typing && FUndo.Valid && FUndo.Typing && removed.empty() && start == FUndo.Start + FUndo.InsertedLength)
            FUndo.InsertedLength += insertLength;
        else
            FUndo = UndoRecord {true, start, std::move(removed), insertLength, typing};
    }
    return insertLength;
}

bool EditControl::Undo() {
    if (!FUndo.Valid) return false;
    UndoRecord record = FUndo;
    std::string current = Text(record.Start, record.Start + record.InsertedLength);
    int inserted = Replace(record.Start, record.Start + record.InsertedLength, record.Removed, false, false);
    // Undoing again redoes.
    FUndo = UndoRecord {true, record.Start, std::move(current), std::max(inserted, 0), false};
    FAnchor = record.Start;
    FCaret = record.Start + std::max(inserted, 0);
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Formats

int EditControl::AddFormat(const CharFormat& format) {
    for (std::size_t i = 0; i < FFormats.size(); ++i)
        if (FFormats[i] == format) return int(i);
    FFormats.push_back(format);
    FFonts.resize(FFormats.size());
    FLineHeight = -1;
    return int(FFormats.size()) - 1;
}

void EditControl::ApplyFormat(int start, int end, const CharFormat& format, DWORD mask) {
    start = ClampPos(start);
    end = ClampPos(end);
    if (end < start) std::swap(start, end);
    if (start == end) return;
    bool layout = (mask & (CFM_BOLD | CFM_ITALIC | CFM_SIZE | CFM_FACE)) != 0;
    std::map<int, int> mapped;
    auto map = [&](int f) {
        auto it = mapped.find(f);
        if (it != mapped.end()) return it->second;
        int to = AddFormat(MergeFormat(FFormats[std::size_t(f)], format, mask));
        mapped[f] = to;
        return to;
    };
    int p1 = 0, o1 = 0, p2 = 0, o2 = 0;
    Locate(start, p1, o1);
    Locate(end, p2, o2);
    for (int p = p1; p <= p2; ++p) {
        Paragraph& para = FParas[std::size_t(p)];
        int a = p == p1 ? o1 : 0;
        int b = p == p2 ? o2 : para.Length;
        if (a >= b) continue;
        std::vector<FormatRun> runs = Effective(para);
        std::vector<FormatRun> out;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            int rs = runs[i].Start;
            int re = i + 1 < runs.size() ? runs[i + 1].Start : std::max(para.Length, rs);
            int f = runs[i].Format;
            if (rs < std::min(re, a)) out.push_back(FormatRun {rs, f});
            if (std::max(rs, a) < std::min(re, b)) out.push_back(FormatRun {std::max(rs, a), map(f)});
            if (std::max(rs, b) < re) out.push_back(FormatRun {std::max(rs, b), f});
        }
        SetRuns(para, std::move(out));
        if (layout) para.Measured = false;
    }
    if (layout) MarkLayoutDirty(p1);
}

void EditControl::ApplyDefaultFormat(const CharFormat& format, DWORD mask) {
    FFormats[0] = MergeFormat(FFormats[0], format, mask);
    FreeFonts();
    FFonts.assign(FFormats.size(), FormatFont {});
    FLineHeight = -1;
    if (mask & (CFM_BOLD | CFM_ITALIC | CFM_SIZE | CFM_FACE)) {
        for (Paragraph& p : FParas)
            p.Measured = false;
        MarkLayoutDirty(0);
    }
}

CharFormat EditControl::RangeFormat(int start, int end, DWORD* consistent) const {
    start = ClampPos(start);
    end = ClampPos(end);
    if (end < start) std::swap(start, end);
    DWORD same = CFM_ALL | CFM_BACKCOLOR;
    if (start == end) {
        int f = FInsertFormat >= 0 ? FInsertFormat : FormatAt(start);
        if (consistent) *consistent = same;
        return FFormats[std::size_t(f)];
    }
    int p1 = 0, o1 = 0, p2 = 0, o2 = 0;
    Locate(start, p1, o1);
    Locate(end, p2, o2);
    const CharFormat* first = nullptr;
    for (int p = p1; p <= p2; ++p) {
        const Paragraph& para = FParas[std::size_t(p)];
        int a = p == p1 ? o1 : 0;
        int b = p == p2 ? o2 : para.Length;
        for (const FormatRun& r : SliceRuns(para, a, std::max(a + 1, b))) {
            const CharFormat& f = FFormats[std::size_t(r.Format)];
            if (!first) {
                first = &f;
                continue;
            }
            if (f.Bold != first->Bold) same &= ~CFM_BOLD;
            if (f.Italic != first->Italic) same &= ~CFM_ITALIC;
            if (f.Underline != first->Underline) same &= ~CFM_UNDERLINE;
            if (f.StrikeOut != first->StrikeOut) same &= ~CFM_STRIKEOUT;
            if (f.AutoColor != first->AutoColor || f.Color != first->Color) same &= ~CFM_COLOR;
            if (f.AutoBack != first->AutoBack || f.BackColor != first->BackColor) same &= ~CFM_BACKCOLOR;
            if (f.HeightTwips != first->HeightTwips) same &= ~CFM_SIZE;
            if (f.Face != first->Face) same &= ~CFM_FACE;
        }
    }
    if (consistent) *consistent = same;
    return first ? *first : FFormats[0];
}

}
