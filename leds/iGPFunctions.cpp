// General painting routines of the LED components: colour dimming and the edge border.
#include "leds/iGPFunctions.h"

#include "platform/classes/TCanvas.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiConstants.h"

namespace korvex::leds {

TColor DimColor(TColor color, int divisor) {
    if (divisor < 1) divisor = 1;
    const auto rgb = static_cast<std::uint32_t>(classes::ColorToRGB(color));
    const std::uint32_t r = (rgb & 0xFF) / static_cast<std::uint32_t>(divisor);
    const std::uint32_t g = ((rgb >> 8) & 0xFF) / static_cast<std::uint32_t>(divisor);
    const std::uint32_t b = ((rgb >> 16) & 0xFF) / static_cast<std::uint32_t>(divisor);
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}

void DrawEdgeBorder(classes::TCanvas* canvas, const classes::TRect& rect, int style) {
    if (canvas == nullptr) return;
    gdi::UINT edge = 0;
    if (style == iEdgeSunken)
        edge = gdi::EDGE_SUNKEN;
    else if (style == iEdgeRaised)
        edge = gdi::EDGE_RAISED;
    else
        return;
    classes::TRect r = rect;
    gdi::DrawEdge(canvas->Handle(), &r, edge, gdi::BF_RECT);
}

}
