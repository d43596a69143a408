// Tray pictures: icons fitted into slots and blended, the balloon's signs (4 x 4 samples a pixel), framed fills.
#include "platform/user/Tray.h"
#include "platform/user/TrayCore.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/WinPos.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace korvex::user::detail {

namespace {

struct Rgba {
    double R, G, B, A;   // straight alpha, 0..1
};

Rgba Mix(Rgba a, Rgba b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t, a.A + (b.A - a.A) * t};
}

Rgba Hex(unsigned rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, 1.0};
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    double dx = bx - ax, dy = by - ay;
    double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

bool InTriangle(double px, double py, const double* v) {
    auto side = [&](int i, int j) {
        return (v[j * 2] - v[i * 2]) * (py - v[i * 2 + 1]) - (v[j * 2 + 1] - v[i * 2 + 1]) * (px - v[i * 2]);
    };
    double a = side(0, 1), b = side(1, 2), c = side(2, 0);
    return (a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0);
}

// The colour of the sign at one sample point (s: the size).
using Sampler = std::function<Rgba(double x, double y, double s)>;

Rgba InfoSample(double x, double y, double s) {
    double c = s / 2, r = s / 2 - 0.3;
    double d = std::hypot(x - c, y - c);
    if (d > r) return {0, 0, 0, 0};
    Rgba disc = Mix(Hex(0x5CA0EE), Hex(0x1D5CB8), y / s);
    if (d > r - std::max(1.0, s / 20)) disc = Mix(disc, Hex(0x123F86), 0.6);
    bool dot = std::hypot(x - c, y - s * 0.29) <= s * 0.095;
    bool stem = SegmentDistance(x, y, c, s * 0.46, c, s * 0.74) <= s * 0.085;
    return dot || stem ? Hex(0xFFFFFF) : disc;
}

Rgba WarningSample(double x, double y, double s) {
    const double outer[] = {s / 2, 0.4, s - 0.4, s - 1.2, 0.4, s - 1.2};
    if (!InTriangle(x, y, outer)) return {0, 0, 0, 0};
    double b = std::max(1.0, s / 16);
    const double inner[] = {s / 2, 0.4 + b * 2, s - 0.4 - b * 1.8, s - 1.2 - b, 0.4 + b * 1.8, s - 1.2 - b};
    Rgba fill = Mix(Hex(0xFFD84A), Hex(0xF0A500), y / s);
    if (!InTriangle(x, y, inner)) fill = Hex(0xB07400);
    bool stem = SegmentDistance(x, y, s / 2, s * 0.38, s / 2, s * 0.64) <= s * 0.075;
    bool dot = std::hypot(x - s / 2, y - s * 0.78) <= s * 0.08;
    return stem || dot ? Hex(0x3A2800) : fill;
}

Rgba ErrorSample(double x, double y, double s) {
    double c = s / 2, r = s / 2 - 0.3;
    double d = std::hypot(x - c, y - c);
    if (d > r) return {0, 0, 0, 0};
    Rgba disc = Mix(Hex(0xF26B5E), Hex(0xC42A1E), y / s);
    if (d > r - std::max(1.0, s / 20)) disc = Mix(disc, Hex(0x8E1A12), 0.6);
    double k = s * 0.2, w = s * 0.08;
    bool cross = SegmentDistance(x, y, c - k, c - k, c + k, c + k) <= w
        || SegmentDistance(x, y, c - k, c + k, c + k, c - k) <= w;
    return cross ? Hex(0xFFFFFF) : disc;
}

}   // namespace

gdi::Bitmap* DrawBalloonSign(DWORD infoFlags, int size) {
    Sampler sampler;
    switch (infoFlags & NIIF_ICON_MASK) {
    case NIIF_INFO:
        sampler = InfoSample;
        break;
    case NIIF_WARNING:
        sampler = WarningSample;
        break;
    case NIIF_ERROR:
        sampler = ErrorSample;
        break;
    default:
        return nullptr;
    }
    gdi::Bitmap* out = gdi::Bitmap::Create(size, size, gdi::PixelFormat::pf32bit);
    if (out == nullptr) return nullptr;
    constexpr int N = 4;
    for (int y = 0; y < size; ++y) {
        gdi::BYTE* row = out->ScanLine(y);
        for (int x = 0; x < size; ++x) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int j = 0; j < N; ++j)
                for (int i = 0; i < N; ++i) {
                    Rgba c = sampler(x + (i + 0.5) / N, y + (j + 0.5) / N, size);
                    r += c.R * c.A;
                    g += c.G * c.A;
                    b += c.B * c.A;
                    a += c.A;
                }
            row[x * 4 + 0] = gdi::BYTE(std::lround(b / (N * N) * 255));
            row[x * 4 + 1] = gdi::BYTE(std::lround(g / (N * N) * 255));
            row[x * 4 + 2] = gdi::BYTE(std::lround(r / (N * N) * 255));
            row[x * 4 + 3] = gdi::BYTE(std::lround(a / (N * N) * 255));
        }
    }
    return out;
}

void DrawTrayPicture(HDC dc, int x, int y, gdi::Bitmap* picture) {
    if (picture == nullptr || picture->Empty()) return;
    HDC memory = gdi::CreateCompatibleDC(dc);
    if (memory == nullptr) return;
    HBITMAP old = gdi::SelectObject(memory, picture);
    if (old != nullptr) {
        gdi::BLENDFUNCTION blend;
        blend.AlphaFormat = gdi::AC_SRC_ALPHA;
        gdi::AlphaBlend(
            dc, x, y, picture->Width(), picture->Height(), memory, 0, 0, picture->Width(), picture->Height(), blend);
        gdi::SelectObject(memory, old);
    }
    gdi::DeleteDC(memory);
}

void PaintFramedClient(HWND hwnd, HDC dc, COLORREF back, COLORREF frame) {
    RECT client {};
    GetClientRect(hwnd, &client);
    gdi::GdiHandle<gdi::Brush> backBrush(gdi::CreateSolidBrush(back));
    gdi::GdiHandle<gdi::Brush> frameBrush(gdi::CreateSolidBrush(frame));
    gdi::FillRect(dc, &client, backBrush.Get());
    gdi::FrameRect(dc, &client, frameBrush.Get());
}

}
