// The test card: primitives, gradients and Latin and Cyrillic text in three fonts, written as a PNG to look at.
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/PenBrush.h"
#include "platform/gdi/PngCodec.h"
#include "platform/gdi/Text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace korvex::gdi {
namespace {

constexpr int CardWidth = 480;
constexpr int CardHeight = 360;

TRIVERTEX Vertex(int x, int y, COLORREF c) {
    return TRIVERTEX {x, y, COLOR16(GetRValue(c) << 8), COLOR16(GetGValue(c) << 8), COLOR16(GetBValue(c) << 8), 0};
}

void DrawPrimitives(HDC dc) {
    GdiHandle<Brush> white(CreateSolidBrush(RGB(255, 255, 255)));
    RECT all {0, 0, CardWidth, CardHeight};
    FillRect(dc, &all, white);

    // Gradient band: two triangles, red-yellow across the top, blue-green across the bottom.
    TRIVERTEX v[4] = {Vertex(10, 10, RGB(255, 0, 0)), Vertex(470, 10, RGB(255, 255, 0)),
        Vertex(470, 60, RGB(0, 255, 0)), Vertex(10, 60, RGB(0, 0, 255))};
    GRADIENT_TRIANGLE mesh[2] = {{0, 1, 2}, {0, 2, 3}};
    GradientFill(dc, v, 4, mesh, 2, GRADIENT_FILL_TRIANGLE);

    // Colour bars.
    const COLORREF bars[] = {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0),
        RGB(0, 255, 255), RGB(255, 0, 255), RGB(128, 128, 128)};
    for (int i = 0; i < 8; ++i) {
        GdiHandle<Brush> brush(CreateSolidBrush(bars[i]));
        RECT bar {10 + i * 20, 70, 30 + i * 20, 90};
        FillRect(dc, &bar, brush);
    }

    GdiHandle<Pen> pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 128)));
    GdiHandle<Pen> thick(CreatePen(PS_SOLID, 3, RGB(160, 0, 0)));
    GdiHandle<Brush> fill(CreateSolidBrush(RGB(200, 220, 255)));
    HGDIOBJ oldPen = SelectObject(dc, HGDIOBJ(pen.Get()));
    HGDIOBJ oldBrush = SelectObject(dc, HGDIOBJ(fill.Get()));
    Rectangle(dc, 190, 70, 240, 110);
    RoundRect(dc, 250, 70, 310, 110, 16, 16);
    Ellipse(dc, 320, 70, 380, 110);
    Pie(dc, 390, 70, 440, 120, 440, 95, 415, 70);
    POINT star[5] = {{30, 150}, {45, 100}, {60, 150}, {20, 120}, {70, 120}};
    Polygon(dc, star, 5);
    SelectObject(dc, HGDIOBJ(thick.Get()));
    Arc(dc, 80, 100, 140, 150, 140, 125, 80, 125);
    SelectObject(dc, HGDIOBJ(pen.Get()));
    for (int i = 0; i <= 8; ++i) {   // a fan of lines
        MoveToEx(dc, 160, 150, nullptr);
        LineTo(dc, 160 + i * 8, 100);
    }
    RECT raised {250, 120, 330, 150};
    DrawEdge(dc, &raised, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    RECT sunken {340, 125, 460, 150};
    DrawEdge(dc, &sunken, EDGE_SUNKEN, BF_RECT);
    RECT focus {345, 130, 455, 145};
    DrawFocusRect(dc, &focus);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

LOGFONT CardFace(const char* name, int height, int weight, bool italic, int escapement = 0) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfItalic = italic ? 1 : 0;
    lf.lfEscapement = lf.lfOrientation = escapement;
    lf.lfFaceName = name;
    return lf;
}

TEST(TestCard, DrawsPrimitivesGradientsAndTextAndWritesAPng) {
    GdiHandle<Bitmap> card(Bitmap::Create(CardWidth, CardHeight, PixelFormat::pf24bit));
    ASSERT_TRUE(card);
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    HBITMAP old = SelectObject(dc, card.Get());
    DrawPrimitives(dc);

    GdiHandle<Font> tahoma(CreateFontIndirect(CardFace("Tahoma", -11, FW_NORMAL, false)));
    GdiHandle<Font> arialBold(CreateFontIndirect(CardFace("Arial", -13, FW_BOLD, false)));
    GdiHandle<Font> courierItalic(CreateFontIndirect(CardFace("Courier New", -13, FW_NORMAL, true)));
    GdiHandle<Font> vertical(CreateFontIndirect(CardFace("Tahoma", -11, FW_NORMAL, false, 900)));
    Bitmap& bitmap = *card.Get();
    const std::pair<HFONT, const char*> lines[] = {
        {tahoma, "Tahoma 8: The quick brown fox jumps over the lazy dog"},
        {tahoma, "Съешь же ещё этих мягких французских булок, да выпей чаю"},
        {arialBold, "Arial bold: Work unit 4711 finished, 98.5%"},
        {arialBold, "Узел отвечает: проект 2665, шаг 37 из 100"},
        {courierItalic, "Courier New italic: FAHlog.txt 12:34:56"},
        {courierItalic, "Курьер курсивом: журнал клиента"},
    };
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    HFONT oldFont = SelectObject(dc, HFONT(tahoma));
    int y = 164;
    for (const auto& [font, text] : lines) {
        SelectObject(dc, font);
        TextOut(dc, 30, y, text);
        y += font->Instance()->TextMetrics().tmHeight + 3;
    }
    SelectObject(dc, HFONT(vertical));
    SetTextColor(dc, RGB(0, 0, 160));
    TextOut(dc, 6, 350, "Вертикально 900");

    // DrawText: centred word wrapping on an opaque background, and an ellipsis.
    SelectObject(dc, HFONT(tahoma));
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(255, 255, 200));
    SetTextColor(dc, RGB(128, 0, 0));
    RECT wrap {30, 290, 250, 350};
    DrawText(dc, "DrawText centres and wraps this caption; Перенос строк по словам", &wrap, DT_CENTER | DT_WORDBREAK);
    RECT cut {270, 300, 460, 316};
    SetBkMode(dc, TRANSPARENT);
    DrawText(dc, "&Prefix and an ellipsis at the end of a long line", &cut, DT_SINGLELINE | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    SelectObject(dc, old);
    DeleteDC(dc);

    // Something was drawn everywhere the card promises it.
    EXPECT_EQ(bitmap.PixelAt(10, 10), RGB(255, 0, 0));   // a gradient vertex keeps its exact colour
    EXPECT_EQ(bitmap.PixelAt(35, 75), RGB(255, 0, 0));   // second colour bar
    int dark = 0;
    for (int py = 164; py < 280; ++py)
        for (int px = 30; px < 460; ++px)
            dark += GetRValue(bitmap.PixelAt(px, py)) < 100 ? 1 : 0;
    EXPECT_GT(dark, 1500);

    const char* target = std::getenv("KORVEX_TESTCARD");
    std::string path = target && *target ? target : "testcard.png";
    std::string error;
    ASSERT_TRUE(WritePngFile(bitmap, path, PngAlpha::Drop, &error)) << error;
    ImageResult back = ReadPngFile(path);
    ASSERT_TRUE(back) << back.Error;
    EXPECT_EQ(back.Image.Get()->Width(), CardWidth);
    EXPECT_EQ(back.Image.Get()->PixelAt(200, 200), bitmap.PixelAt(200, 200));
}

}
}
