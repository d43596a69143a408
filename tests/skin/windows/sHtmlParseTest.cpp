// Tests of TsHtml: a table of markup with the sizes it measures, the look of tags, and bad values.
#include "skin/windows/sHtmlParse.h"

#include "support/SkinControlsKit.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"

#include <gtest/gtest.h>

#include <functional>

namespace korvex::skin {
namespace {

using namespace classes;

class HtmlTest : public ctltest::SkinControlsTest {
protected:
    void SetUp() override {
        SkinControlsTest::SetUp();
        Bmp.SetPixelFormat(pf24bit);
        Bmp.SetSize(400, 200);
        ResetCanvas();
    }

public:
    void ResetCanvas() {
        Bmp.Canvas()->Brush()->SetColor(clWhite);
        Bmp.Canvas()->FillRect(Rect(0, 0, 400, 200));
        Bmp.Canvas()->Brush()->SetStyle(bsClear);
        TFont plain;
        plain.SetColor(clBlack);
        Bmp.Canvas()->Font()->Assign(&plain);
    }
    TRect Render(const std::string& text, TRect start = Rect(0, 0, 400, 200)) {
        TsHtml html;
        html.Init(&Bmp, text, start);
        TRect r {};
        html.Render(r);
        LastAlignment = html.Alignment();
        return r;
    }
    // Width and height of a text in the canvas's font with the styles given.
    int Width(const std::string& text, TFontStyles style = {}) {
        TFont* font = Bmp.Canvas()->Font();
        const TFontStyles old = font->Style();
        font->SetStyle(style);
        const int w = Bmp.Canvas()->TextWidth(text);
        font->SetStyle(old);
        return w;
    }
    int LineHeight() { return Bmp.Canvas()->TextHeight("X"); }

protected:
    // Whether any pixel of the rectangle is not white / has the colour.
    bool Inked(const TRect& r) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (Bmp.Canvas()->Pixels(x, y) != clWhite) return true;
        return false;
    }
    int CountColour(const TRect& r, TColor colour) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (Bmp.Canvas()->Pixels(x, y) == colour) ++n;
        return n;
    }
    TBitmap Bmp;
    int LastAlignment = -1;
};

struct MeasureCase {
    const char* Markup;
    std::function<TSize(HtmlTest&)> Expected;
};

TEST_F(HtmlTest, measures_a_table_of_markup) {
    const MeasureCase cases[] = {
        {"plain",
            [](HtmlTest& t) {
                return TSize {t.Width("plain"), t.LineHeight()};
            }},
        {"",
            [](HtmlTest&) {
                return TSize {0, 0};
            }},
        {"a<<b",
            [](HtmlTest& t) {
                return TSize {t.Width("a") + t.Width("<b"), t.LineHeight()};
            }},
        {"x<B>y</B>z",
            [](HtmlTest& t) {
                return TSize {t.Width("x") + t.Width("y", {fsBold}) + t.Width("z"), t.LineHeight()};
            }},
        {"x<b>y</b>z",
            [](HtmlTest& t) {
                return TSize {t.Width("x") + t.Width("y", {fsBold}) + t.Width("z"), t.LineHeight()};
            }},
        {"<I>it</I>",
            [](HtmlTest& t) {
                return TSize {t.Width("it", {fsItalic}), t.LineHeight()};
            }},
        {"one<BR><BR>two",
            [](HtmlTest& t) {
                return TSize {std::max(t.Width("one"), t.Width("two")), 2 * t.LineHeight() + 4};
            }},
        {"wide line<P>x",
            [](HtmlTest& t) {
                return TSize {t.Width("wide line"), 2 * t.LineHeight() + 2};
            }},
        {"a\r\nb",
            [](HtmlTest& t) {
                return TSize {t.Width("ab"), t.LineHeight()};
            }},
        {"a<U>b</U>c",
            [](HtmlTest& t) {
                return TSize {t.Width("a") + t.Width("b") + t.Width("c"), t.LineHeight()};
            }},
        {"a</FONT>b",
            [](HtmlTest& t) {
                return TSize {t.Width("a") + t.Width("b"), t.LineHeight()};
            }},
        // A tag without its end: the text before it is measured as a last line.
        {"abc<def",
            [](HtmlTest& t) {
                return TSize {t.Width("abc"), t.LineHeight()};
            }},
        {"first<BR>abc<def",
            [](HtmlTest& t) {
                return TSize {t.Width("first"), 2 * t.LineHeight() + 2};
            }},
        {"<",
            [](HtmlTest&) {
                return TSize {0, 0};
            }},
        {"<BR>",
            [](HtmlTest&) {
                return TSize {0, 2};
            }},
    };
    for (const MeasureCase& c : cases) {
        ResetCanvas();
        const TSize expected = c.Expected(*this);
        const TRect r = Render(c.Markup);
        EXPECT_EQ(r.left, 0) << c.Markup;
        EXPECT_EQ(r.top, 0) << c.Markup;
        EXPECT_EQ(r.right, expected.cx) << c.Markup;
        EXPECT_EQ(r.bottom, expected.cy) << c.Markup;
        EXPECT_FALSE(Bmp.Canvas()->Font()->Style().Contains(fsBold)) << c.Markup;
    }
}

TEST_F(HtmlTest, measures_from_the_rectangle_corner) {
    const int w = Width("ab");
    const TRect r = Render("ab<BR>", Rect(10, 5, 100, 100));
    EXPECT_EQ(r.right, 10 + w);
    EXPECT_EQ(r.bottom, 5 + LineHeight() + 2);
}

TEST_F(HtmlTest, unclosed_tag_draws_nothing_after_its_start) {
    const int w = Width("abc");
    Render("abc<def ghi jkl");
    EXPECT_TRUE(Inked(Rect(0, 0, w, LineHeight())));
    EXPECT_FALSE(Inked(Rect(w + 1, 0, 400, 200)));
}

TEST_F(HtmlTest, bold_run_shares_the_line_and_the_style_ends_with_its_tag) {
    const int xw = Width("x");
    const int yw = Width("y", {fsBold});
    Render("x<B>y</B>z");
    const int h = LineHeight();
    EXPECT_TRUE(Inked(Rect(0, 0, xw, h)));
    EXPECT_TRUE(Inked(Rect(xw, 0, xw + yw, h)));
    EXPECT_TRUE(Inked(Rect(xw + yw, 0, xw + yw + Width("z"), h)));
    EXPECT_FALSE(Inked(Rect(0, h, 400, 200)));
}

TEST_F(HtmlTest, font_tag_colours_and_sizes_its_text_and_is_undone_by_its_end) {
    const int size = Bmp.Canvas()->Font()->Size();
    TFont bigger;
    bigger.Assign(Bmp.Canvas()->Font());
    bigger.SetSize(size + 2);
    Bmp.Canvas()->Font()->Assign(&bigger);
    const int bigWidth = Bmp.Canvas()->TextWidth("big");
    const int bigHeight = Bmp.Canvas()->TextHeight("X");
    ResetCanvas();
    const int smallWidth = Width("small");

    const TRect r = Render("<FONT COLOR=RED SIZE=+2>big</FONT>small");
    EXPECT_EQ(r.right, bigWidth + smallWidth);
    EXPECT_EQ(r.bottom, bigHeight);
    EXPECT_EQ(Bmp.Canvas()->Font()->Size(), size);
    EXPECT_EQ(Bmp.Canvas()->Font()->Color(), clBlack);
    EXPECT_GT(CountColour(Rect(0, 0, bigWidth, bigHeight), 0x0000FF), 0);
    EXPECT_EQ(CountColour(Rect(bigWidth, 0, 400, 200), 0x0000FF), 0);
}

TEST_F(HtmlTest, lower_case_tags_and_hex_colours_are_read) {
    Render("<font color=#00ff00>g</font>");
    EXPECT_GT(CountColour(Rect(0, 0, 50, 30), 0x00FF00), 0);
}

TEST_F(HtmlTest, nested_fonts_come_back_in_order) {
    const int size = Bmp.Canvas()->Font()->Size();
    TsHtml html;
    html.Init(&Bmp, "<FONT SIZE=20><FONT SIZE=-5>a</FONT>b", Rect(0, 0, 400, 200));
    TRect r {};
    html.Render(r);
    EXPECT_EQ(Bmp.Canvas()->Font()->Size(), 20);   // the outer tag was left open
    ResetCanvas();
    Render("<FONT SIZE=20><FONT SIZE=-5>a</FONT></FONT>b");
    EXPECT_EQ(Bmp.Canvas()->Font()->Size(), size);
}

TEST_F(HtmlTest, bad_attribute_values_are_harmless) {
    struct Case {
        const char* Markup;
        int Size;   // Unchanged: the starting size
        TColor Color;
        const char* Face;   // nullptr: unchanged
    };
    constexpr int Unchanged = -100000;
    const int start = Bmp.Canvas()->Font()->Size();
    const std::string startFace = Bmp.Canvas()->Font()->Name();
    const Case cases[] = {
        {"<FONT SIZE=abc>x", Unchanged, clBlack, nullptr},
        {"<FONT SIZE=+>x", Unchanged, clBlack, nullptr},
        {"<FONT SIZE=-100>x", start - 100, clBlack, nullptr},   // below 0: a cell height, as any font's
        {"<FONT SIZE=0>x", 0, clBlack, nullptr},
        {"<FONT SIZE=999999>x", 400, clBlack, nullptr},
        {"<FONT SIZE=-999999>x", -400, clBlack, nullptr},
        {"<FONT SIZE=99999999999>x", Unchanged, clBlack, nullptr},
        {"<FONT SIZE=>x", Unchanged, clBlack, nullptr},
        {"<FONT SIZE>x", Unchanged, clBlack, nullptr},
        {"<FONT COLOR=ZZZ>x", Unchanged, -1, nullptr},
        {"<FONT COLOR=#>x", Unchanged, 0, nullptr},
        {"<FONT COLOR=NAVY>x", Unchanged, 0x800000, nullptr},
        {"<FONT COLOR=RED><FONT COLOR=>x", Unchanged, 0, nullptr},   // an empty value is 0
        {"<FONT COLOR=RED><FONT COLOR>x", Unchanged, 0, nullptr},
        {"<FONT FACE=\"ARIAL>x\"", Unchanged, clBlack, nullptr},
        {"<FONT FACE=\"\">x", Unchanged, clBlack, nullptr},
        {"<FONT FACE=\"Courier New\" SIZE=9>x", 9, clBlack, "COURIER NEW"},
    };
    for (const Case& c : cases) {
        ResetCanvas();
        Render(c.Markup);
        const TFont* font = Bmp.Canvas()->Font();
        EXPECT_EQ(font->Size(), c.Size == Unchanged ? start : c.Size) << c.Markup;
        EXPECT_EQ(font->Color(), c.Color) << c.Markup;
        EXPECT_EQ(font->Name(), c.Face ? std::string(c.Face) : startFace) << c.Markup;
    }
    // A colour of -1 draws (through the system colour table's bounds) without reading outside it.
    EXPECT_TRUE(Inked(Rect(0, 0, 50, 30)));
}

TEST_F(HtmlTest, paragraph_alignment_is_read) {
    Render("<P ALIGN=CENTER>a");
    EXPECT_EQ(LastAlignment, 2);
    Render("<p align=\"right\">a");
    EXPECT_EQ(LastAlignment, 1);
    Render("<P ALIGN=LEFT>a<P ALIGN=SIDEWAYS>");
    EXPECT_EQ(LastAlignment, 0);
}

TEST(HtmlColorValue, reads_hex_names_and_refuses_other_digits) {
    const std::pair<const char*, TColor> cases[] = {{"#0000FF", 0x0000FF}, {"0000FF", 0x0000FF}, {"RED", 0x0000FF},
        {"AQUA", 0xFFFF00}, {"", 0}, {"#", 0}, {"12G", -1}, {"#-1", -1}, {"FFFFFFFF", -1}, {"1FFFFFFFF", -1}};
    for (const auto& [word, value] : cases)
        EXPECT_EQ(HtmlColorValue(word), value) << word;
}

}
}
