// TsHtml: the hint markup renderer.
#include "skin/windows/sHtmlParse.h"

#include "platform/base/Assert.h"
#include "platform/base/Strings.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace korvex::skin {

using namespace classes;

namespace {

inline constexpr std::string_view AttributeDelimiters = "\n\r \"<=>";
// Keeps a hostile SIZE from asking the rasterizer for giant glyphs; a size of 0 or below is the font's own
// business (0: the default height, below 0: a cell height), as for any other font.
inline constexpr int MaxFontSize = 400;

struct HtmlColorName {
    std::string_view Name;
    TColor Value;
};
inline constexpr std::array<HtmlColorName, 16> HtmlColorNames {{{"AQUA", 0xFFFF00}, {"BLACK", 0x000000},
    {"BLUE", 0xFF0000}, {"FUCHSIA", 0xFF00FF}, {"GRAY", 0x808080}, {"GREEN", 0x008000}, {"LIME", 0x00FF00},
    {"MAROON", 0x000080}, {"NAVY", 0x800000}, {"OLIVE", 0x008080}, {"PURPLE", 0x800080}, {"RED", 0x0000FF},
    {"SILVER", 0xC0C0C0}, {"TEAL", 0x808000}, {"WHITE", 0xFFFFFF}, {"YELLOW", 0x00FFFF}}};

// A word of a tag and where it ends in the tag.
struct TagWord {
    std::string Text;
    std::size_t End = 0;
};

std::vector<TagWord> SplitTagWords(const std::string& tag) {
    std::vector<TagWord> words;
    std::size_t i = 0;
    while (i < tag.size()) {
        if (AttributeDelimiters.find(tag[i]) != std::string_view::npos) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < tag.size() && AttributeDelimiters.find(tag[i]) == std::string_view::npos)
            ++i;
        words.push_back({tag.substr(start, i - start), i});
    }
    return words;
}

// Hexadecimal digits only: the value (the low 32 bits of a longer one); -1 for any other character.
TColor HexColor(std::string_view digits) {
    std::uint32_t value = 0;
    for (const char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return -1;
        value = (value << 4) | std::uint32_t(digit);
    }
    return static_cast<TColor>(value);
}

// A decimal number of at most six digits (bigger sizes are clamped anyway); false for anything else.
bool ReadSizeNumber(std::string_view text, int& value) {
    if (text.empty() || text.size() > 6) return false;
    int v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    value = v;
    return true;
}

bool StartsAt(const std::string& tag, std::size_t pos, std::string_view name) {
    return tag.compare(pos, name.size(), name) == 0;
}

}   // namespace

TColor HtmlColorValue(const std::string& upperWord) {
    if (!upperWord.empty() && upperWord[0] == '#') return HexColor(std::string_view(upperWord).substr(1));
    for (const HtmlColorName& entry : HtmlColorNames)
        if (entry.Name == upperWord) return entry.Value;
    return HexColor(upperWord);
}

TsHtml::TsHtml() = default;
TsHtml::~TsHtml() = default;

void TsHtml::Init(TBitmap* bitmap, const std::string& text, const TRect& rect) {
    FBitmap = bitmap;
    FText = text;
    FUpperText = base::UpperCase(text);   // ASCII only: positions in both texts stay the same
    KORVEX_ASSERT(FUpperText.size() == FText.size());
    FRect = rect;
    FX = rect.left;
    FY = rect.top;
    FMaxX = 0;
    FHeight = 0;
    FLineWidth = 0;
    FLineHeight = 0;
    FAlignment = 0;
    FFontStack.clear();
}

void TsHtml::Render(TRect& r) {
    std::size_t runStart = 0;
    std::size_t i = 0;
    const std::size_t length = FUpperText.size();
    bool unclosed = false;
    while (i < length) {
        if (FUpperText[i] != '<') {
            ++i;
            continue;
        }
        if (i + 1 < length && FUpperText[i + 1] == '<') {
            PrintRun(runStart, i);
            runStart = i + 1;   // the second "<" starts the next run
            i += 2;
            continue;
        }
        PrintRun(runStart, i);
        const std::size_t close = FUpperText.find('>', i);
        if (close == std::string::npos) {
            unclosed = true;   // nothing after the "<" is drawn
            break;
        }
        ApplyTag(FUpperText.substr(i, close - i + 1));
        i = close + 1;
        runStart = i;
    }
    if (!unclosed) PrintRun(runStart, length);
    EndOfText();
    r = Rect(0, 0, FMaxX, FHeight);
}

void TsHtml::EndOfText() {
    FMaxX = std::max(FMaxX, FLineWidth);
    FLineWidth = 0;
    FHeight = FY + FLineHeight;
}

void TsHtml::PrintRun(std::size_t from, std::size_t to) {
    if (FBitmap == nullptr || to <= from) return;
    std::string run;
    run.reserve(to - from);
    for (std::size_t k = from; k < to; ++k)
        if (FText[k] != '\n' && FText[k] != '\r') run += FText[k];
    if (run.empty()) return;
    TCanvas* canvas = FBitmap->Canvas();
    canvas->TextOut(FX, FY, run);
    FX += canvas->TextWidth(run);
    FLineWidth = FX;
    FLineHeight = std::max(FLineHeight, canvas->TextHeight("X"));
}

void TsHtml::NewLine() {
    FX = FRect.left;
    FY += FLineHeight + 2;
    FMaxX = std::max(FMaxX, FLineWidth);
    FLineWidth = 0;
    FLineHeight = 0;
}

void TsHtml::ApplyTag(const std::string& tag) {
    if (FBitmap == nullptr) return;
    TFont* font = FBitmap->Canvas()->Font();
    if (tag.size() > 1 && tag[1] == '/') {
        if (StartsAt(tag, 2, "B")) {
            font->SetStyle(font->Style() - TFontStyles {fsBold});
        } else if (StartsAt(tag, 2, "I")) {
            font->SetStyle(font->Style() - TFontStyles {fsItalic});
        } else if (StartsAt(tag, 2, "FONT") && !FFontStack.empty()) {
            font->Assign(FFontStack.back().get());
            FFontStack.pop_back();
        }
        return;
    }
    if (StartsAt(tag, 1, "BR")) {
        NewLine();
    } else if (StartsAt(tag, 1, "B")) {
        font->SetStyle(font->Style() + TFontStyles {fsBold});
    } else if (StartsAt(tag, 1, "I")) {
        font->SetStyle(font->Style() + TFontStyles {fsItalic});
    } else if (StartsAt(tag, 1, "P")) {
        NewLine();
        ReadAttributes(tag, false);
    } else if (StartsAt(tag, 1, "FONT")) {
        auto saved = std::make_unique<TFont>();
        saved->Assign(font);
        FFontStack.push_back(std::move(saved));
        ReadAttributes(tag, true);
    }
}

void TsHtml::ReadAttributes(const std::string& tag, bool isFont) {
    TFont* font = FBitmap->Canvas()->Font();
    const std::vector<TagWord> words = SplitTagWords(tag);
    static const std::string NoValue;
    for (std::size_t w = 0; w < words.size(); ++w) {
        const std::string& name = words[w].Text;
        const std::string& value = w + 1 < words.size() ? words[w + 1].Text : NoValue;   // the last word: empty
        if (!isFont) {
            if (name != "ALIGN") continue;
            if (value == "LEFT") FAlignment = 0;
            if (value == "RIGHT") FAlignment = 1;
            if (value == "CENTER") FAlignment = 2;
            continue;
        }
        if (name == "SIZE") {
            int number = 0;
            const bool relative = value[0] == '-' || value[0] == '+';
            if (!ReadSizeNumber(std::string_view(value).substr(relative ? 1 : 0), number)) continue;   // ignored
            int size = number;
            if (value[0] == '-') size = font->Size() - number;
            if (value[0] == '+') size = font->Size() + number;
            font->SetSize(std::clamp(size, -MaxFontSize, MaxFontSize));
        } else if (name == "COLOR") {
            font->SetColor(HtmlColorValue(value));
        }
    }
    if (!isFont) return;
    // FACE: between the first quote after the word and the next one, both inside this tag.
    for (const TagWord& word : words) {
        if (word.Text != "FACE") continue;
        const std::size_t open = tag.find('"', word.End);
        if (open == std::string::npos) break;
        const std::size_t close = tag.find('"', open + 1);
        if (close == std::string::npos) break;
        if (close > open + 1) font->SetName(tag.substr(open + 1, close - open - 1));
        break;
    }
}

}
