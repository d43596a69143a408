// Pictures of a skin: the master bitmap and a sheet of its sections painted as controls.
#include "tools/skingen/Sheet.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/PngCodec.h"
#include "skin/engine/sGradient.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sSkinManager.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace korvex::skingen {

using classes::TBitmap;
using classes::TColor;
using classes::TRect;
using namespace korvex::skin;

namespace {

std::unique_ptr<TBitmap> New24(int w, int h) {
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(classes::pf24bit);
    bmp->SetSize(std::max(w, 1), std::max(h, 1));
    return bmp;
}

TColor Get(const TBitmap& b, int x, int y) {
    const std::uint8_t* p = b.ScanLine(y) + 3 * x;
    return p[2] | (p[1] << 8) | (p[0] << 16);
}

void Put(TBitmap& b, int x, int y, TColor c) {
    std::uint8_t* p = b.ScanLine(y) + 3 * x;
    p[0] = static_cast<std::uint8_t>(c >> 16);
    p[1] = static_cast<std::uint8_t>(c >> 8);
    p[2] = static_cast<std::uint8_t>(c);
}

TColor Blend(TColor a, TColor b, int percentOfA) {
    auto ch = [&](int shift) {
        const int x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
        return ((x * percentOfA + y * (100 - percentOfA)) / 100) << shift;
    };
    return ch(0) | ch(8) | ch(16);
}

class TPainter {
public:
    TPainter(const TsSkinManager& sm, int w, int h)
        : FSm(sm)
        , FBmp(New24(w, h)) { }
    TBitmap& Bmp() { return *FBmp; }
    std::unique_ptr<TBitmap> Take() { return std::move(FBmp); }

    int Index(const std::string& section) const { return FSm.GetSkinIndex(section); }
    int MaskOf(const std::string& section, const std::string& image) const {
        return FSm.GetMaskIndex(Index(section), section, image);
    }

    // The section's background for the state into r of target; (px, py) is r's place on the sheet.
    void Background(TBitmap& target, const TRect& r, const std::string& section, int state, int px, int py) {
        const int si = Index(section);
        if (!FSm.IsValidSkinIndex(si)) return;
        const TsGeneralData& s = FSm.Sections[static_cast<std::size_t>(si)];
        const bool hot = state != 0;
        const int t = hot ? s.HotTransparency : s.Transparency;
        const int gp = hot ? s.HotGradientPercent : s.GradientPercent;
        const int ip = hot ? s.HotImagePercent : s.ImagePercent;
        const TsGradArray& grad = hot ? s.HotGradientArray : s.GradientArray;
        const TColor color = hot ? s.HotColor : s.Color;
        const int w = r.right - r.left, h = r.bottom - r.top;
        auto layer = New24(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                Put(*layer, x, y, color);
        const int tex = ip > 0 ? MaskOf(section, hot ? "HOTPATTERN" : "PATTERN") : -1;
        if (FSm.IsValidImgIndex(tex) && FSm.MasterBitmap) {
            const TsMaskData& m = FSm.Masks[static_cast<std::size_t>(tex)];
            const int tw = m.R.right - m.R.left, th = m.R.bottom - m.R.top;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    Put(*layer, x, y, Get(*FSm.MasterBitmap, m.R.left + (px + x) % tw, m.R.top + (py + y) % th));
        } else if (gp > 0 && !grad.empty()) {
            auto g = New24(w, h);
            PaintGradient(g.get(), TRect {0, 0, w, h}, grad);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    Put(*layer, x, y, Blend(Get(*g, x, y), color, std::min(gp, 100)));
        }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int sx = px + x, sy = py + y;
                const TColor parent = (sx < FBmp->Width() && sy < FBmp->Height()) ? Get(*FBmp, sx, sy) : color;
                const TColor own = Get(*layer, x, y);
                Put(target, r.left + x, r.top + y, t >= 100 ? parent : t > 0 ? Blend(parent, own, t) : own);
            }
    }

    // A control: the section's background and a nine-part image over r, the holes showing the sheet.
    void Control(const TRect& r, const std::string& section, int state, bool fill = true,
        const std::string& image = "BORDERSMASK", const std::string& backgroundOf = "") {
        const int w = r.right - r.left, h = r.bottom - r.top;
        if (w < 1 || h < 1) return;
        auto tmp = New24(w, h);
        if (!fill) Copy(*FBmp, r.left, r.top, *tmp, 0, 0, w, h);
        Background(*tmp, TRect {0, 0, w, h}, backgroundOf.empty() ? section : backgroundOf, state, r.left, r.top);
        Frame(*tmp, TRect {0, 0, w, h}, section, image, state, fill, r.left, r.top);
        Copy(*tmp, 0, 0, *FBmp, r.left, r.top, w, h);
    }

    // The nine-part image alone over r of the sheet.
    void Nine(const TRect& r, const std::string& section, const std::string& image, int state, bool fill = true) {
        const int w = r.right - r.left, h = r.bottom - r.top;
        if (w < 1 || h < 1) return;
        auto tmp = New24(w, h);
        Copy(*FBmp, r.left, r.top, *tmp, 0, 0, w, h);
        Frame(*tmp, TRect {0, 0, w, h}, section, image, state, fill, r.left, r.top);
        Copy(*tmp, 0, 0, *FBmp, r.left, r.top, w, h);
    }

    classes::TSize Size(const std::string& section, const std::string& image) const {
        return FSm.GetMaskFrameSize(MaskOf(section, image));
    }

    void Glyph(int x, int y, const std::string& section, const std::string& image, int state, int mode = 1) {
        const int m = MaskOf(section, image);
        if (FSm.IsValidImgIndex(m))
            DrawMaskStateImage(FBmp.get(), {x, y}, state, FSm.Masks[static_cast<std::size_t>(m)], mode);
    }

    TColor Font(const std::string& section, bool hot) const {
        const int si = Index(section);
        if (!FSm.IsValidSkinIndex(si)) return 0;
        const TsGeneralData& s = FSm.Sections[static_cast<std::size_t>(si)];
        return hot ? s.HotFontColor[1] : s.FontColor[1];
    }

    void Text(int x, int y, const std::string& text, TColor color, bool bold = false) {
        classes::TCanvas* c = FBmp->Canvas();
        c->Font()->SetName("Tahoma");
        c->Font()->SetHeight(-11);
        c->Font()->SetStyle(bold ? classes::TFontStyles {classes::fsBold} : classes::TFontStyles {});
        c->Font()->SetColor(color);
        c->Brush()->SetStyle(classes::bsClear);
        c->TextOut(x, y, text);
    }

    // Text centred in r in the section's font colour.
    void Caption(const TRect& r, const std::string& text, const std::string& section, bool hot, bool bold = false) {
        classes::TCanvas* c = FBmp->Canvas();
        c->Font()->SetName("Tahoma");
        c->Font()->SetHeight(-11);
        c->Font()->SetStyle(bold ? classes::TFontStyles {classes::fsBold} : classes::TFontStyles {});
        const classes::TSize size = c->TextExtent(text);
        Text(r.left + (r.right - r.left - size.cx) / 2, r.top + (r.bottom - r.top - size.cy) / 2, text,
            Font(section, hot), bold);
    }

private:
    static void Copy(const TBitmap& src, int sx, int sy, TBitmap& dst, int dx, int dy, int w, int h) {
        for (int y = 0; y < h; ++y) {
            if (sy + y < 0 || sy + y >= src.Height() || dy + y < 0 || dy + y >= dst.Height()) continue;
            const int n = std::min({w, src.Width() - sx, dst.Width() - dx});
            if (n > 0)
                std::memcpy(
                    dst.ScanLine(dy + y) + 3 * dx, src.ScanLine(sy + y) + 3 * sx, static_cast<std::size_t>(3 * n));
        }
    }

    void Frame(TBitmap& target, const TRect& r, const std::string& section, const std::string& image, int state,
        bool fill, int px, int py) {
        const int m = MaskOf(section, image);
        if (!FSm.IsValidImgIndex(m)) return;
        TsParentCacheInfo ci;
        FillCacheInfo(ci, FBmp.get(), px, py);
        PaintNinePartMask(&target, r, fill, true, state, FSm.Masks[static_cast<std::size_t>(m)], ci);
    }

    const TsSkinManager& FSm;
    std::unique_ptr<TBitmap> FBmp;
};

constexpr int SheetW = 780, SheetH = 560;
constexpr int TitleH = 23, MenuH = 18;

void PaintWindow(TPainter& p, const TRect& win, bool active, const std::string& caption, bool small) {
    const int state = active ? 1 : 0;
    p.Control(win, "FORM", state);
    const TRect title {win.left, win.top, win.right, win.top + TitleH};
    p.Control(title, "FORMTITLE", state);
    p.Text(win.left + 10, win.top + 5, caption, p.Font("FORMTITLE", active), true);
    int x = win.right - 4;
    const char* big[] = {"BICONCLOSE", "BICONMAX", "BICONMIN"};
    const char* little[] = {"SICONCLOSE", "SICONMAX", "SICONMIN"};
    for (int i = 0; i < 3; ++i) {
        const std::string name = small ? little[i] : big[i];
        const classes::TSize s = p.Size("GLOBALINFO", name);
        x -= s.cx;
        int top = (19 - s.cy + 4) / 2 + (s.cy < 16 ? 2 : 0);
        // The active window shows the close button hot and the minimize button pressed.
        const int bstate = active ? (i == 0 ? 1 : i == 2 ? 2 : 0) : 0;
        p.Glyph(x, win.top + top, "GLOBALINFO", name, bstate, active ? 1 : 2);
    }
}

void PaintButtons(TPainter& p, int x, int y) {
    const char* labels[] = {"Normal", "Hot", "Pressed"};
    for (int i = 0; i < 3; ++i) {
        const TRect r {x + i * 86, y, x + i * 86 + 80, y + 25};
        p.Control(r, "BUTTON", i);
        p.Caption(r, labels[i], "BUTTON", i != 0);
    }
    for (int i = 0; i < 3; ++i) {
        const TRect r {x + i * 86, y + 32, x + i * 86 + 80, y + 54};
        p.Control(r, "SPEEDBUTTON", i);
        p.Caption(r, std::string("Speed ") + labels[i], i == 0 ? "FORM" : "SPEEDBUTTON", i != 0);
    }
    for (int i = 0; i < 3; ++i) {
        p.Control(TRect {x + 262 + i * 18, y + 32, x + 262 + i * 18 + 15, y + 42}, "SPEEDBUTTON_SMALL", i);
        p.Control(TRect {x + 262 + i * 18, y + 43, x + 262 + i * 18 + 15, y + 53}, "SPEEDBUTTON_SMALL", i);
    }
}

void PaintFields(TPainter& p, int x, int y) {
    for (int i = 0; i < 2; ++i) {
        const TRect r {x + i * 130, y, x + i * 130 + 122, y + 21};
        p.Control(r, "EDIT", i);
        p.Text(r.left + 5, r.top + 4, i == 0 ? "Edit text" : "Hot edit", p.Font("EDIT", false));
    }
    for (int i = 0; i < 3; ++i) {
        const TRect r {x + i * 88, y + 28, x + i * 88 + 82, y + 49};
        p.Control(r, "COMBOBOX", i == 0 ? 0 : 1);
        p.Text(r.left + 5, r.top + 4, "Combo", p.Font("COMBOBOX", false));
        const classes::TSize g = p.Size("COMBOBOX", "GLYPHMASK");
        p.Glyph(r.right - g.cx - 2, r.top + 1, "COMBOBOX", "GLYPHMASK", i);
    }
}

void PaintBoxes(TPainter& p, int x, int y) {
    const char* kinds[] = {"BOX", "RADIO", "SMALL"};
    const char* marks[] = {"UNCHECKED", "CHECKED", "GRAYED"};
    for (int k = 0; k < 3; ++k)
        for (int m = 0; m < 3; ++m)
            for (int s = 0; s < 3; ++s)
                p.Glyph(x + (m * 3 + s) * 19, y + k * 19, "GLOBALINFO", std::string(kinds[k]) + marks[m], s);
    p.Text(x + 176, y + 1, "Check box", p.Font("CHECKBOX", false));
    p.Text(x + 176, y + 20, "Radio button", p.Font("RADIOBUTTON", false));
    p.Text(x + 176, y + 39, "Link label", p.Font("WEBBUTTON", true));
}

void PaintGauges(TPainter& p, int x, int y) {
    const TRect gauge {x, y, x + 200, y + 17};
    p.Control(gauge, "GAUGE", 0);
    p.Control(TRect {x, y, x + 124, y + 17}, "PROGRESSH", 0);
    p.Caption(gauge, "62%", "GAUGE", false);
    const TRect vgauge {x + 210, y - 14, x + 227, y + 17};
    p.Control(vgauge, "GAUGE", 0);
    p.Control(TRect {x + 210, y + 2, x + 227, y + 17}, "PROGRESSV", 0);

    // Track bar: channel, ticks and the thumb in each state.
    const TRect track {x, y + 26, x + 227, y + 56};
    p.Control(track, "TRACKBAR", 0);
    const classes::TSize ch = p.Size("TRACKBAR", "SLIDERCHANNEL");
    const int top = track.top + (30 - ch.cy) / 2;
    p.Nine(TRect {x + 8, top, x + 219, top + ch.cy}, "TRACKBAR", "SLIDERCHANNEL", 0);
    for (int i = 0; i <= 10; ++i)
        p.Glyph(x + 13 + i * 20, track.bottom - 4, "TRACKBAR", "TICKHORZ", 0);
    for (int s = 0; s < 3; ++s)
        p.Glyph(x + 40 + s * 60, track.top + 2, "TRACKBAR", "SLIDERMASK", s);
}

void PaintPages(TPainter& p, int x, int y) {
    const TRect page {x, y + 20, x + 330, y + 110};
    p.Control(TRect {page.left + 1, page.top + 1, page.right - 1, page.bottom - 1}, "TABSHEET", 0);
    p.Control(page, "PAGECONTROL", 0, false);
    const char* names[] = {"Normal", "Hot", "Active"};
    const int order[] = {0, 1, 2};
    for (int i : order) {
        const bool active = i == 2;
        const TRect r {x + 2 + i * 74, y + (active ? 0 : 3), x + 2 + i * 74 + 72, y + 22};
        p.Control(r, "TABTOP", i);
        p.Caption(r, names[i], "TABTOP", i != 0);
    }
    p.Text(page.left + 12, page.top + 14, "Tab sheet", p.Font("TABSHEET", false));
    const TRect header {page.left + 10, page.top + 36, page.right - 10, page.top + 54};
    const char* cols[] = {"Node", "Progress", "Status"};
    for (int i = 0; i < 3; ++i) {
        const TRect r {header.left + i * 103, header.top, header.left + i * 103 + 103, header.bottom};
        p.Control(r, "COLHEADER", i);
        p.Caption(r, cols[i], "COLHEADER", i != 0);
    }
    const TRect group {page.left + 10, page.top + 60, page.right - 10, page.bottom - 4};
    p.Control(group, "GROUPBOX", 0);
}

void PaintScrollBars(TPainter& p, int x, int y) {
    // Horizontal: left arrow, track, thumb, track, right arrow; the second bar hot.
    for (int row = 0; row < 2; ++row) {
        const int state = row;
        const int top = y + row * 22, len = 250;
        p.Control(TRect {x + 16, top, x + 100, top + 16}, "SCROLLBAR1H", state);
        p.Control(TRect {x + 100, top, x + len - 16, top + 16}, "SCROLLBAR2H", state);
        p.Control(TRect {x + 70, top, x + 130, top + 16}, "SCROLLSLIDERH", state == 1 ? 1 : 0);
        const classes::TSize g = p.Size("SCROLLSLIDERH", "GLYPHMASK");
        p.Glyph(x + 100 - g.cx / 2, top + (16 - g.cy) / 2, "SCROLLSLIDERH", "GLYPHMASK", state);
        p.Control(TRect {x, top, x + 16, top + 16}, "SCROLLBTNLEFT", state);
        p.Control(TRect {x + len - 16, top, x + len, top + 16}, "SCROLLBTNRIGHT", state == 1 ? 2 : 0);
        const classes::TSize a = p.Size("SCROLLBTNLEFT", "GLYPHMASK");
        p.Glyph(x + (16 - a.cx) / 2, top + (16 - a.cy) / 2, "SCROLLBTNLEFT", "GLYPHMASK", state);
        p.Glyph(
            x + len - 16 + (16 - a.cx) / 2, top + (16 - a.cy) / 2, "SCROLLBTNRIGHT", "GLYPHMASK", state == 1 ? 2 : 0);
    }
    // Vertical.
    const int vx = x + 262, vy = y - 60, len = 104;
    p.Control(TRect {vx, vy + 16, vx + 16, vy + 50}, "SCROLLBAR1V", 0);
    p.Control(TRect {vx, vy + 50, vx + 16, vy + len - 16}, "SCROLLBAR2V", 0);
    p.Control(TRect {vx, vy + 22, vx + 16, vy + 62}, "SCROLLSLIDERV", 1);
    const classes::TSize g = p.Size("SCROLLSLIDERV", "GLYPHMASK");
    p.Glyph(vx + (16 - g.cx) / 2, vy + 42 - g.cy / 2, "SCROLLSLIDERV", "GLYPHMASK", 1);
    p.Control(TRect {vx, vy, vx + 16, vy + 16}, "SCROLLBTNTOP", 0);
    p.Control(TRect {vx, vy + len - 16, vx + 16, vy + len}, "SCROLLBTNBOTTOM", 1);
    const classes::TSize a = p.Size("SCROLLBTNTOP", "GLYPHMASK");
    p.Glyph(vx + (16 - a.cx) / 2, vy + (16 - a.cy) / 2, "SCROLLBTNTOP", "GLYPHMASK", 0);
    p.Glyph(vx + (16 - a.cx) / 2, vy + len - 16 + (16 - a.cy) / 2, "SCROLLBTNBOTTOM", "GLYPHMASK", 1);
}

void PaintMenu(TPainter& p, int x, int y) {
    const int w = 170, itemH = 20;
    const char* items[] = {"Refresh data", "Options...", "-", "Show log", "Exit"};
    const int h = 6 + 4 * itemH + 8;
    const TRect menu {x, y, x + w, y + h};
    p.Control(menu, "MAINMENU", 0);
    p.Control(TRect {x + 3, y + 3, x + 27, y + h - 3}, "ICOLINE", 0, true, "");
    int iy = y + 3;
    for (int i = 0; i < 5; ++i) {
        if (std::string(items[i]) == "-") {
            p.Nine(TRect {x + 32, iy + 3, x + w - 6, iy + 5}, "DIVIDERV", "BORDERSMASK", 0);
            iy += 8;
            continue;
        }
        const bool hot = i == 1;
        const TRect r {x + 3, iy, x + w - 3, iy + itemH};
        if (hot) p.Control(r, "MENUITEM", 1);
        if (i == 0) p.Glyph(x + 7, iy + 3, "GLOBALINFO", "CHECK", 0);
        p.Text(x + 34, iy + 4, items[i], p.Font("MENUITEM", hot));
        iy += itemH;
    }
}

void PaintBars(TPainter& p, const TRect& win) {
    // Menu line with a selected top item.
    const TRect line {win.left + 4, win.top + TitleH, win.right - 4, win.top + TitleH + MenuH};
    p.Control(line, "MENULINE", 1);
    const char* menus[] = {"File", "Nodes", "View", "Help"};
    int mx = line.left + 4;
    for (int i = 0; i < 4; ++i) {
        const TRect r {mx, line.top, mx + 48, line.bottom};
        if (i == 1) p.Control(r, "MENUITEM", 1);
        p.Caption(r, menus[i], i == 1 ? "MENUITEM" : "MENULINE", i == 1);
        mx += 48;
    }
    // Tool bar with buttons in three states and a divider.
    const TRect bar {win.left + 4, line.bottom, win.right - 4, line.bottom + 30};
    p.Control(bar, "TOOLBAR", 0);
    for (int i = 0; i < 3; ++i) {
        const TRect r {bar.left + 4 + i * 28, bar.top + 3, bar.left + 4 + i * 28 + 25, bar.top + 27};
        p.Control(r, "TOOLBUTTON", i);
        const classes::TSize g = p.Size("GLOBALINFO", "BOXCHECKED");
        p.Glyph(r.left + (25 - g.cx) / 2, r.top + (24 - g.cy) / 2, "GLOBALINFO", "BOXCHECKED", 0);
    }
    const classes::TSize d = p.Size("DIVIDER", "BORDERSMASK");
    p.Nine(TRect {bar.left + 92, bar.top + 4, bar.left + 92 + d.cx, bar.bottom - 4}, "DIVIDER", "BORDERSMASK", 0);
    // Status bar with two panels and the grip.
    const TRect status {win.left + 4, win.bottom - 26, win.right - 4, win.bottom - 4};
    p.Control(status, "STATUSBAR", 0);
    p.Nine(TRect {status.left + 2, status.top + 2, status.left + 320, status.bottom - 2}, "STATUSBAR",
        "STATUSPANELMASK", 0);
    p.Nine(TRect {status.left + 322, status.top + 2, status.right - 20, status.bottom - 2}, "STATUSBAR",
        "STATUSPANELMASK", 0);
    p.Text(status.left + 8, status.top + 5, "12 nodes, 11 folding", p.Font("STATUSBAR", false));
    const classes::TSize g = p.Size("GLOBALINFO", "GRIPIMAGE");
    p.Glyph(status.right - g.cx - 2, status.bottom - g.cy - 2, "GLOBALINFO", "GRIPIMAGE", 0);
}

}

std::unique_ptr<TBitmap> PaintSheet(const TsSkinManager& sm) {
    TPainter p(sm, SheetW, SheetH);
    // A neutral desk under the windows, so shaped corners show.
    for (int y = 0; y < SheetH; ++y)
        for (int x = 0; x < SheetW; ++x)
            Put(p.Bmp(), x, y, ((x / 10 + y / 10) % 2) ? 0x9A9A9A : 0x8A8A8A);

    const TRect win {8, 8, 560, 552};
    PaintWindow(p, win, true, "KORVEX - " + sm.LoadedSkin.Description, false);
    PaintBars(p, win);
    const int left = win.left + 14, top = win.top + TitleH + MenuH + 40;
    PaintButtons(p, left, top);
    PaintFields(p, left, top + 64);
    PaintBoxes(p, left, top + 122);
    p.Control(TRect {left, top + 186, left + 150, top + 236}, "PANEL", 0);
    p.Text(left + 10, top + 204, "Panel", p.Font("PANEL", false));
    p.Control(TRect {left + 160, top + 186, left + 310, top + 236}, "PANEL_LOW", 0);
    p.Text(left + 170, top + 204, "Sunken panel", p.Font("PANEL_LOW", false));
    PaintGauges(p, left, top + 256);
    PaintPages(p, left + 0, top + 320);
    PaintScrollBars(p, left + 250, top + 270);

    const TRect dialog {572, 8, 772, 150};
    PaintWindow(p, dialog, false, "Inactive dialog", true);
    p.Control(TRect {dialog.left + 50, dialog.bottom - 40, dialog.left + 150, dialog.bottom - 15}, "BUTTON", 0);
    p.Caption(
        TRect {dialog.left + 50, dialog.bottom - 40, dialog.left + 150, dialog.bottom - 15}, "OK", "BUTTON", false);
    PaintMenu(p, 580, 170);
    const TRect hint {580, 300, 760, 340};
    p.Control(hint, "HINT", 0);
    p.Text(hint.left + 8, hint.top + 6, "Node 3: unit running,", p.Font("HINT", false));
    p.Text(hint.left + 8, hint.top + 20, "frame 57 of 100", p.Font("HINT", false));
    return p.Take();
}

std::string PictureStem(const std::string& skinName) {
    std::string stem;
    for (char c : skinName) {
        if (c == ' ' || c == '(') {
            if (!stem.empty() && stem.back() != '-') stem += '-';
        } else if (c != ')') {
            stem += c;
        }
    }
    while (!stem.empty() && stem.back() == '-')
        stem.pop_back();
    return stem;
}

void WriteSheetPictures(const TsSkinManager& sm, const std::string& skinName, const std::string& dir) {
    std::filesystem::create_directories(dir);
    const std::string stem = dir + "/" + PictureStem(skinName);
    if (sm.MasterBitmap) {
        const TBitmap& master = *sm.MasterBitmap;
        auto big = New24(master.Width() * 2, master.Height() * 2);
        for (int y = 0; y < big->Height(); ++y)
            for (int x = 0; x < big->Width(); ++x)
                Put(*big, x, y, Get(master, x / 2, y / 2));
        if (!gdi::WritePngFile(*big->Handle(), stem + "-master.png")) throw std::runtime_error("cannot write " + stem);
    }
    auto sheet = PaintSheet(sm);
    if (!gdi::WritePngFile(*sheet->Handle(), stem + "-sheet.png")) throw std::runtime_error("cannot write " + stem);
}

}
