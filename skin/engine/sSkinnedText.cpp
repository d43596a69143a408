// Skinned text: caption placement, contour copies, embossed disabled text, cutting, sizes and focus dots.
#include "skin/engine/sSkinnedText.h"

#include "platform/base/ScopeGuard.h"
#include "platform/base/Utf8.h"
#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/SavedDc.h"
#include "platform/gdi/Text.h"
#include "platform/user/Painting.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sSkinManager.h"

#include <optional>

namespace korvex::skin {

using classes::TCanvas;
using classes::TColor;
using classes::TRect;

namespace {

// Places the text in r (see the header); returns the drawing rectangle and grows r by 1 around it.
TRect Place(TCanvas* canvas, const std::string& text, TRect& r, unsigned flags) {
    if (flags & gdi::DT_WORDBREAK) return r;
    const classes::TSize e = canvas->TextExtent(text);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int dy = (e.cy - h) / 2, dx = (e.cx - w) / 2;
    if (flags & gdi::DT_CENTER) {
        gdi::InflateRect(&r, dx, dy);
    } else {
        r.top -= dy;
        r.bottom += dy;
        if (flags & gdi::DT_RIGHT)
            r.left += w - e.cx;
        else
            r.right += e.cx - w;
    }
    const TRect d = r;
    gdi::InflateRect(&r, 1, 1);
    return d;
}

void DrawAt(TCanvas* canvas, const std::string& text, TRect d, int dx, int dy, unsigned flags) {
    gdi::OffsetRect(&d, dx, dy);
    canvas->TextRect(d, text, flags);
}

void DrawDisabled(TCanvas* canvas, const std::string& text, const TRect& d, unsigned flags) {
    canvas->Font()->SetColor(classes::ColorToRGB(classes::clBtnHighlight));
    DrawAt(canvas, text, d, 1, 1, flags);
    canvas->Font()->SetColor(classes::ColorToRGB(classes::clBtnShadow));
    DrawAt(canvas, text, d, 0, 0, flags);
}

// The four contour copies (left, up, right, down), then the text colour is set.
void DrawContours(TCanvas* canvas, const std::string& text, const TRect& d, unsigned flags, const TsFontColors& colors) {
    static constexpr int Shift[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    for (int side = 0; side < 4; ++side) {
        const TColor c = colors[side + 2];
        canvas->Font()->SetColor(c);
        if (c != -1) DrawAt(canvas, text, d, Shift[side][0], Shift[side][1], flags);
    }
    canvas->Font()->SetColor(colors[1]);
}

// Places the text and clears the brush; nothing more to draw (no text, or the disabled look drawn) gives nullopt.
std::optional<TRect> PlaceEnabled(TCanvas* canvas, const std::string& text, TRect& r, unsigned flags, bool enabled) {
    const TRect d = Place(canvas, text, r, flags);
    canvas->Brush()->SetStyle(classes::bsClear);
    if (text.empty()) return std::nullopt;
    if (!enabled) {
        DrawDisabled(canvas, text, d, flags);
        return std::nullopt;
    }
    return d;
}

}

void OutputSkinnedText(TCanvas* canvas, const std::string& text, bool enabled, TRect& r, unsigned flags,
    TsCommonData* data, bool hot) {
    if (canvas == nullptr) return;
    if (data != nullptr && data->OwnerControl() != nullptr) canvas->Font()->Assign(data->OwnerControl()->Font());
    if (hot && data != nullptr && data->SkinSection() == "WEBBUTTON") {
        auto style = canvas->Font()->Style();
        canvas->Font()->SetStyle(style.Include(classes::fsUnderline));
    }
    gdi::HDC dc = canvas->Handle();
    // The DC's state comes back under the canvas: it must select its font, brush and modes again next time.
    base::ScopeExit refresh([canvas] { canvas->Refresh(); });
    gdi::SavedDc saved(dc);
    gdi::IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    const std::optional<TRect> d = PlaceEnabled(canvas, text, r, flags, enabled);
    if (!d) return;
    TsSkinManager* manager = data ? data->SkinManager() : nullptr;
    if (manager == nullptr || !manager->IsValidSkinIndex(data->SkinIndex)) {
        DrawAt(canvas, text, *d, 0, 0, flags | gdi::DT_NOCLIP);
        return;
    }
    if (!data->CustomFont()) {
        const TsGeneralData& s = manager->Sections[std::size_t(data->SkinIndex)];
        DrawContours(canvas, text, *d, flags, hot ? s.HotFontColor : s.FontColor);
    }
    DrawAt(canvas, text, *d, 0, 0, flags | gdi::DT_NOCLIP);
}

void DrawCaptionText(TCanvas* canvas, const std::string& text, bool enabled, TRect& r, unsigned flags, int skinIndex,
    bool hot, TsSkinManager* manager) {
    if (manager == nullptr) manager = DefaultManager;
    if (canvas == nullptr || DefaultManager == nullptr || manager == nullptr || !manager->IsValidSkinIndex(skinIndex))
        return;
    const std::optional<TRect> d = PlaceEnabled(canvas, text, r, flags, enabled);
    if (!d) return;
    const TsGeneralData& s = manager->Sections[std::size_t(skinIndex)];
    DrawContours(canvas, text, *d, flags, hot ? s.HotFontColor : s.FontColor);
    DrawAt(canvas, text, *d, 0, 0, flags);
}

std::string CutTextToWidth(TCanvas* canvas, const std::string& text, int width) {
    if (width < 1 || canvas == nullptr) return {};
    std::string result = text;
    if (result.empty() || canvas->TextWidth(result) <= width) return result;
    while (!result.empty()) {
        if (canvas->TextWidth(result + "...") <= width) break;
        result = base::Utf8Left(result, base::Utf8Length(result) - 1);
    }
    return result.empty() ? result : result + "...";
}

classes::TSize GetTextSize(gdi::HFONT font, const std::string& text) {
    classes::TSize size {};
    gdi::HDC dc = user::GetDC(nullptr);
    if (dc == nullptr) return size;
    gdi::HFONT old = gdi::SelectObject(dc, font);
    if (!gdi::GetTextExtentPoint32(dc, text, &size)) size = {};
    if (old != nullptr) gdi::SelectObject(dc, old);
    user::ReleaseDC(nullptr, dc);
    return size;
}

void PaintFocusDots(TCanvas* canvas, const TRect& r) {
    if (canvas == nullptr || canvas->Handle() == nullptr) return;
    // SetPixels goes through the DC, which drops points outside its surface.
    const TColor black = 0x000000, white = 0xFFFFFF;
    for (int i = 0; i <= (r.right - r.left) / 3; ++i) {
        const int x = r.left + 3 * i;
        canvas->SetPixels(x, r.top, black);
        canvas->SetPixels(x, r.bottom, black);
        canvas->SetPixels(x - 1, r.top - 1, white);
        canvas->SetPixels(x - 1, r.bottom - 1, white);
    }
    for (int j = 0; j <= (r.bottom - r.top) / 3; ++j) {
        const int y = r.top + 3 * j;
        canvas->SetPixels(r.left, y, black);
        canvas->SetPixels(r.right, y, black);
        canvas->SetPixels(r.left - 1, y - 1, white);
        canvas->SetPixels(r.right - 1, y - 1, white);
    }
}

}
