// TsHtml: draws and measures hint texts in a small HTML-like markup (bold, italic, line breaks, fonts).
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsTypes.h"

#include <memory>
#include <string>
#include <vector>

namespace korvex::classes {
class TBitmap;
class TFont;
}

namespace korvex::skin {

// One object per pass: Init, then Render. Tags are read without case: <B> </B> <I> </I> <BR> <P ALIGN=...>
// <FONT SIZE=n|+n|-n COLOR=#hex|name FACE="name"> </FONT>; "<<" is a literal "<"; other tags are dropped.
// Lines end only at BR and P (no word wrapping); line feeds in the text are not drawn.
// Font changes are made on the bitmap canvas's font and stay there after Render.
class TsHtml {
public:
    TsHtml();
    ~TsHtml();
    TsHtml(const TsHtml&) = delete;
    TsHtml& operator=(const TsHtml&) = delete;

    // The bitmap is not owned; drawing starts at rect's top-left corner.
    void Init(classes::TBitmap* bitmap, const std::string& text, const classes::TRect& rect);
    // Draws the whole text with the canvas font as the starting font; r := (0, 0, widest line end, bottom of
    // the last line). A tag without its ">" ends the text there: what came before it is drawn and measured.
    void Render(classes::TRect& r);

    int Alignment() const { return FAlignment; }   // 0 left, 1 right, 2 center, from the last <P ALIGN=...>

private:
    void PrintRun(std::size_t from, std::size_t to);
    void NewLine();
    void ApplyTag(const std::string& tag);
    void ReadAttributes(const std::string& tag, bool isFont);
    void EndOfText();

    classes::TBitmap* FBitmap = nullptr;
    int FX = 0;
    int FY = 0;
    std::string FText;
    std::string FUpperText;   // byte for byte the same length as FText
    std::vector<std::unique_ptr<classes::TFont>> FFontStack;
    classes::TRect FRect {};
    int FMaxX = 0;
    int FHeight = 0;
    int FLineWidth = 0;
    int FLineHeight = 0;
    int FAlignment = 0;
};

// The colour value of a markup COLOR word: "#hex", one of the sixteen names, or bare hex; -1 for a word with
// a character that is not a hexadecimal digit; 0 for an empty one. Lowest byte red, as the library's colours.
classes::TColor HtmlColorValue(const std::string& upperWord);

}
