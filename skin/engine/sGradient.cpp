// Gradient texts of skin sections: parsing into steps and painting them into 24-bit bitmaps.
#include "skin/engine/sGradient.h"

#include "platform/base/Numbers.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiConstants.h"
#include "skin/engine/sUtils.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace korvex::skin {

using classes::TBitmap;
using classes::TColor;
using classes::TRect;

void ParseGradientData(const std::string& text, TsGradArray& data) {
    data.clear();
    const std::string delims = ";";
    const int count = WordCount(text, delims) / 5;
    data.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        int values[4];
        for (int k = 0; k < 4; ++k) {
            if (!base::TryStrToInt(ExtractWord(5 * i + k + 1, text, delims), values[k]))
                return;   // keep complete steps
        }
        TsGradientStep step;
        step.Color1 = values[0];
        step.Color2 = values[1];
        step.Percent = static_cast<std::uint8_t>(std::clamp(values[2], 0, 100));
        step.Mode = values[3];
        data.push_back(step);
    }
}

TsGradArray ParseGradientData(const std::string& text) {
    TsGradArray data;
    ParseGradientData(text, data);
    return data;
}

void SplitColor(TColor color, std::uint8_t (&bytes)[3]) {
    const auto rgb = static_cast<std::uint32_t>(classes::ColorToRGB(color));
    bytes[0] = static_cast<std::uint8_t>(rgb >> 16);   // blue
    bytes[1] = static_cast<std::uint8_t>(rgb >> 8);   // green
    bytes[2] = static_cast<std::uint8_t>(rgb);   // red
}

namespace {

std::uint8_t RoundChannel(float v) {
    // nearbyint rounds halves to even in the default rounding mode
    return static_cast<std::uint8_t>(std::clamp(std::nearbyint(v), 0.0f, 255.0f));
}

// Channel interpolation from Color1 to Color2 over `span` steps, as single-precision values.
struct Ramp {
    float Value[3];
    float Delta[3];
    Ramp(TColor c1, TColor c2, int span) {
        std::uint8_t a[3], b[3];
        SplitColor(c1, a);
        SplitColor(c2, b);
        for (int k = 0; k < 3; ++k) {
            Value[k] = static_cast<float>(a[k]);
            Delta[k] = (static_cast<float>(b[k]) - static_cast<float>(a[k])) / static_cast<float>(span);
        }
    }
    void Next() {
        for (int k = 0; k < 3; ++k)
            Value[k] += Delta[k];
    }
    void Put(std::uint8_t* px) const {
        for (int k = 0; k < 3; ++k)
            px[k] = RoundChannel(Value[k]);
    }
};

void PaintVertical(TBitmap& bmp, const TRect& r, const TsGradArray& data) {
    const int height = r.bottom - r.top;
    const int last = r.bottom - 1;
    const int width = r.right - r.left;
    int y = r.top;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const int y0 = y;
        y = height * data[i].Percent / 100 + y0;
        y = (i + 1 == data.size()) ? last : std::min(y, last);
        if (y - y0 <= 0) {   // an empty band paints nothing; the next step goes on from here
            y = std::max(y, y0);
            continue;
        }
        Ramp ramp(data[i].Color1, data[i].Color2, y - y0);
        for (int row = y0; row <= y; ++row) {
            std::uint8_t* line = bmp.ScanLine(row) + 3 * r.left;
            ramp.Put(line);
            for (int x = 1; x < width; ++x)
                std::memcpy(line + 3 * x, line, 3);
            ramp.Next();
        }
    }
}

void PaintHorizontal(TBitmap& bmp, const TRect& r, const TsGradArray& data) {
    const int width = r.right - r.left;
    const int last = r.right - 1;
    std::uint8_t* first = bmp.ScanLine(r.top);
    int x = r.left;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const int x0 = x;
        x = width * data[i].Percent / 100 + x0;
        x = (i + 1 == data.size()) ? last : std::min(x, last);
        if (x - x0 <= 0) {
            x = std::max(x, x0);
            continue;
        }
        Ramp ramp(data[i].Color1, data[i].Color2, x - x0);
        for (int col = x0; col <= x; ++col) {
            ramp.Put(first + 3 * col);
            ramp.Next();
        }
    }
    // every row of the rectangle is the same
    for (int row = r.top + 1; row < r.bottom; ++row)
        std::memcpy(bmp.ScanLine(row) + 3 * r.left, first + 3 * r.left, static_cast<std::size_t>(3 * width));
}

gdi::TRIVERTEX Vertex(int x, int y, TColor color) {
    std::uint8_t c[3];
    SplitColor(color, c);
    gdi::TRIVERTEX v;
    v.x = x;
    v.y = y;
    v.Red = static_cast<gdi::COLOR16>(c[2] << 8);
    v.Green = static_cast<gdi::COLOR16>(c[1] << 8);
    v.Blue = static_cast<gdi::COLOR16>(c[0] << 8);
    v.Alpha = 0;
    return v;
}

void PaintTriangles(TBitmap& bmp, const TRect& r, const TsGradArray& data) {
    TColor colors[5];
    for (std::size_t i = 0; i < 5; ++i)
        colors[i] = i < data.size() ? data[i].Color1 : colors[i - 1];
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const gdi::TRIVERTEX v[5] = {
        Vertex(r.left, r.top, colors[0]),
        Vertex(r.left + width / 2, r.top + height / 2, colors[1]),
        Vertex(r.right, r.top, colors[2]),
        Vertex(r.right, r.bottom, colors[3]),
        Vertex(r.left, r.bottom, colors[4]),
    };
    const gdi::GRADIENT_TRIANGLE mesh[4] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
    gdi::HDC dc = bmp.Canvas()->Handle();
    if (dc == nullptr) return;
    gdi::GradientFill(dc, v, 5, mesh, 4, gdi::GRADIENT_FILL_TRIANGLE);
}

}

void PaintGradient(TBitmap* bitmap, const TRect& rect, const TsGradArray& data) {
    if (bitmap == nullptr || data.empty() || bitmap->PixelFormat() != classes::pf24bit) return;
    TRect r = rect;
    r.right = std::min(r.right, bitmap->Width());
    r.bottom = std::min(r.bottom, bitmap->Height());
    r.left = std::max(r.left, 0);
    r.top = std::max(r.top, 0);
    if (r.right <= r.left || r.bottom <= r.top) return;
    switch (data[0].Mode) {
    case 0:
        PaintVertical(*bitmap, r, data);
        break;
    case 1:
        PaintHorizontal(*bitmap, r, data);
        break;
    case 2:
        PaintTriangles(*bitmap, r, data);
        break;
    default:
        break;
    }
}

}
