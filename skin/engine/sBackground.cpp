// Control backgrounds from the skin: section layers, transparency over the parent, borders and corner images.
#include "skin/engine/sBackground.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TControl.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TJPEGImage.h"
#include "platform/classes/TWinControl.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/PenBrush.h"
#include "platform/gdi/SavedDc.h"
#include "platform/gdi/Types.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sGradient.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sPixelRows.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sTextures.h"

#include <cstring>

namespace korvex::skin {

using classes::TBitmap;
using classes::TColor;
using classes::TRect;

namespace {

int Width(const TRect& r) {
    return r.right - r.left;
}
int Height(const TRect& r) {
    return r.bottom - r.top;
}

// The values of one state of a section.
struct Layers {
    TColor Color = 0;
    int IP = 0;   // image share
    int GP = 0;   // gradient share
    int T = 0;   // transparency
    const TsGradArray* Gradient = nullptr;
    int ImageIndex = -1;
    bool FromPatterns = false;
};

Layers ValuesOf(const TsGeneralData& s, int state) {
    Layers l;
    const bool hot = state != 0;
    l.Color = hot ? s.HotColor : s.Color;
    l.IP = hot ? s.HotImagePercent : s.ImagePercent;
    l.GP = hot ? s.HotGradientPercent : s.GradientPercent;
    l.T = hot ? s.HotTransparency : s.Transparency;
    l.Gradient = hot ? &s.HotGradientArray : &s.GradientArray;
    return l;
}

// The parent's pixels at (ci.X + p.X, ci.Y + p.Y) copied into r of bmp, cut to both bitmaps.
void CopyParent(TBitmap* bmp, const TRect& r, const TsParentCacheInfo& ci, classes::TPoint p) {
    const detail::PixelView d = detail::View24(bmp), s = detail::View24(ci.Bmp);
    if (!d || !s) return;
    int dx = r.left, dy = r.top, sx = ci.X + p.x, sy = ci.Y + p.y, w = Width(r), h = Height(r);
    if (!detail::ClipBlock(dx, dy, d.Width, d.Height, sx, sy, s.Width, s.Height, w, h)) return;
    for (int y = 0; y < h; ++y)
        std::memmove(d.At24(dx, dy + y), s.At24(sx, sy + y), std::size_t(w) * 3);
}

// The parent under a transparent section: its answered colour when there is one (unless forced to the cache).
void ShowParent(TBitmap* bmp, const TRect& r, const TsParentCacheInfo& ci, classes::TPoint p, bool cacheOnly) {
    if (ci.Bmp == bmp) return;
    if (!cacheOnly && ci.ParentAnswer != TransparentSkinColor)
        FillRectSolid(bmp, r, ci.ParentAnswer);
    else
        CopyParent(bmp, r, ci, p);
}

struct Painter {
    TsSkinManager* Manager;
    const TsParentCacheInfo& Ci;
    Layers L;
    bool ByIndex;   // FillSectionBackgroundByIndex's rules

    // Colour, gradient and image layers into q of target.
    void PaintLayers(TBitmap* target, TRect q) const {
        bool painted = false;
        if (L.IP > 0) {
            if (L.FromPatterns) {
                if (L.ImageIndex >= 0 && std::size_t(L.ImageIndex) < Manager->Patterns.size()) {
                    const TsMaskData none;
                    PaintTexture(target->Canvas(), q, Manager->Patterns[std::size_t(L.ImageIndex)].Img.get(), none, 0);
                    painted = true;
                }
            } else if (L.ImageIndex >= 0 && std::size_t(L.ImageIndex) < Manager->Masks.size()) {
                const TsMaskData& mask = Manager->Masks[std::size_t(L.ImageIndex)];
                if ((mask.MaskType & 0xFF) != 0)
                    PaintMaskedTexture(target, q, Ci, mask, mask.StretchMode);
                else
                    PaintTexture(target->Canvas(), q, mask.Bmp.get(), mask, mask.StretchMode);
                painted = true;
            }
            // What no image covered (all of q when none was found) takes the colour.
            if (q.right != -1) FillRectSolid(target, q, L.Color);
        }
        const TRect full = q = FullRect;
        if (L.GP > 0) {
            const bool gradient = L.Gradient != nullptr && !L.Gradient->empty();
            if (painted) {
                auto g = NewBitmap24(Width(full), Height(full));
                const TRect whole {0, 0, g->Width(), g->Height()};
                if (gradient)
                    PaintGradient(g.get(), whole, *L.Gradient);
                else
                    FillRectSolid(g.get(), whole, L.Color);
                // The image keeps its share; its rightmost column stays the image alone.
                const int a = ByIndex ? L.IP * 256 / 100 : L.IP * 255 / 100;
                SumBitmapRect(target, g.get(), detail::ClampToByte(a), TRect {0, 0, g->Width() - 1, g->Height()},
                    classes::TPoint {full.left, full.top});
            } else if (gradient) {
                PaintGradient(target, full, *L.Gradient);
            } else {
                FillRectSolid(target, full, L.Color);
            }
        }
        const int s = L.GP + L.IP;
        if (s >= 1 && s <= 99) {
            BlendRectWithColor(target, full, s, L.Color);
        } else if (s == 0 || (ByIndex && s > 100)) {
            const bool parent = Ci.ParentAnswer != TransparentSkinColor && L.T != 0;
            FillRectSolid(target, full, parent ? Ci.ParentAnswer : L.Color);
        }
    }

    void Paint(TBitmap* bmp, const TRect& r, classes::TPoint p) {
        if (!Ci.Ready || L.T == 0) {
            FullRect = r;
            PaintLayers(bmp, r);
            return;
        }
        if (L.T == 100) {
            ShowParent(bmp, r, Ci, p, ByIndex);
            return;
        }
        if (ByIndex && L.T < 0) return;
        auto temp = NewBitmap24(Width(r), Height(r));
        if (!temp) return;
        FullRect = TRect {0, 0, Width(r), Height(r)};
        PaintLayers(temp.get(), FullRect);
        if (!ByIndex || Ci.Bmp != nullptr) ShowParent(bmp, r, Ci, p, ByIndex);
        SumBitmapRect(bmp, temp.get(), detail::ClampToByte(L.T * 255 / 100), FullRect, classes::TPoint {r.left, r.top});
    }

    TRect FullRect {};
};

// A masked texture tiled whole over the finished background (mode 10 only), normal state only.
void FinalMaskedTexture(TsSkinManager* manager, TBitmap* bmp, TRect r, const TsParentCacheInfo& ci, int texture,
    int hotTexture) {
    auto qualifies = [&](int index) {
        return index >= 0 && manager->IsValidImgIndex(index) && manager->Masks[std::size_t(index)].MaskType > 0;
    };
    const int index = qualifies(texture) ? texture : qualifies(hotTexture) ? hotTexture : -1;
    if (index < 0) return;
    const TsMaskData& mask = manager->Masks[std::size_t(index)];
    if (mask.StretchMode == 10) PaintMaskedTexture(bmp, r, ci, mask, 10);
}

bool FitsBitmap(const TBitmap* bmp, const TRect& r) {
    return bmp != nullptr && r.left >= 0 && r.top >= 0 && bmp->Width() >= r.right && bmp->Height() >= r.bottom;
}

TsSkinManager* ManagerOr(TsSkinManager* manager) {
    return manager != nullptr ? manager : DefaultManager;
}

}

// ---- Solid fills ---------------------------------------------------------------------------------------------

void FillRectSolid(gdi::HDC dc, const TRect& r, TColor color) {
    if (dc == nullptr) return;
    gdi::SavedDc saved(dc);
    gdi::GdiHandle<gdi::Brush> brush(gdi::CreateSolidBrush(gdi::COLORREF(classes::ColorToRGB(color))));
    gdi::FillRect(dc, &r, brush);
}

void FillRectSolid(TBitmap* bmp, const TRect& r, TColor color) {
    const detail::PixelView v = detail::View24(bmp);
    if (!v) {
        if (bmp != nullptr && !bmp->Empty()) FillRectSolid(bmp->Canvas()->Handle(), r, color);
        return;
    }
    const int left = std::max(r.left, 0), top = std::max(r.top, 0);
    const int right = std::min(r.right, v.Width), bottom = std::min(r.bottom, v.Height);
    if (right <= left || bottom <= top) return;
    const detail::Bgr c = detail::Bgr::Of(std::uint32_t(classes::ColorToRGB(color)));
    std::uint8_t* first = v.At24(left, top);
    for (int x = 0; x < right - left; ++x)
        c.Store(first + 3 * x);
    for (int y = top + 1; y < bottom; ++y)
        std::memcpy(v.At24(left, y), first, std::size_t(right - left) * 3);
}

// ---- Section backgrounds -------------------------------------------------------------------------------------

void FillSectionBackground(int skinIndex, const std::string& section, const TsParentCacheInfo& ci, int state,
    const TRect& r, classes::TPoint p, TBitmap* bmp, TsSkinManager* manager, int texture, int hotTexture,
    TColor customColor) {
    manager = ManagerOr(manager);
    if (manager == nullptr || bmp == nullptr || !manager->IsValidSkinIndex(skinIndex)) return;
    Painter painter {manager, ci, ValuesOf(manager->Sections[std::size_t(skinIndex)], state), false};
    Layers& l = painter.L;
    if (customColor != TransparentSkinColor) l.Color = customColor;
    if (l.IP > 0) {
        const int tx = state == 0 ? texture : hotTexture;
        const char* name = state == 0 ? "PATTERN" : "HOTPATTERN";
        if (tx == -1)
            l.ImageIndex = manager->GetMaskIndex(skinIndex, section, name);
        else if (tx >= 0 && manager->IsValidImgIndex(tx))
            l.ImageIndex = manager->Masks[std::size_t(tx)].MaskType == 0 ? tx : -1;
        else
            l.ImageIndex = tx;
        // Checked against the manager that paints, not the default one.
        if (!manager->IsValidImgIndex(l.ImageIndex)) {
            l.ImageIndex = manager->GetPatternIndex(skinIndex, section, name);
            l.FromPatterns = l.ImageIndex > -1;
        }
    }
    if (l.GP == 0) l.Gradient = nullptr;
    painter.Paint(bmp, r, p);
    if (state == 0) FinalMaskedTexture(manager, bmp, r, ci, texture, hotTexture);
}

void FillSectionBackgroundByIndex(int skinIndex, const std::string& section, const TsParentCacheInfo& ci, int state,
    const TRect& r, classes::TPoint p, TBitmap* bmp, TsSkinManager* manager, int texture, int hotTexture) {
    (void)section;
    manager = ManagerOr(manager);
    if (manager == nullptr || bmp == nullptr || !manager->IsValidSkinIndex(skinIndex)) return;
    Painter painter {manager, ci, ValuesOf(manager->Sections[std::size_t(skinIndex)], state), true};
    if (painter.L.IP > 0) painter.L.ImageIndex = state == 0 ? texture : hotTexture;
    if (painter.L.GP == 0) painter.L.Gradient = nullptr;
    painter.Paint(bmp, r, p);
}

void FillControlBackground(TsCommonData* data, const TsParentCacheInfo& ci, int state, const TRect& r,
    classes::TPoint p, TBitmap* bmp) {
    if (data == nullptr) return;
    TColor custom = TransparentSkinColor;
    if (data->CustomColor()) {
        if (data->ProviderForm != nullptr)
            custom = classes::ColorToRGB(data->ProviderForm->Color());
        else if (data->OwnerControl() != nullptr)
            custom = classes::ColorToRGB(data->OwnerControl()->Color());
    }
    FillSectionBackground(data->SkinIndex, data->SkinSection(), ci, state, r, p, bmp, data->SkinManager(),
        data->Texture, data->HotTexture, custom);
}

void RenderControlSkin(TsCommonData* data, TsParentCacheInfo ci, bool filling, int state, const TRect& r,
    classes::TPoint p, TBitmap* bmp, bool cornersFromParent) {
    if (data == nullptr || !FitsBitmap(bmp, r)) return;
    TsSkinManager* manager = data->SkinManager();
    if (manager == nullptr || !manager->IsValidSkinIndex(data->SkinIndex)) return;
    classes::TControl* owner = data->OwnerControl();
    classes::TWinControl* parent = owner ? owner->Parent() : nullptr;

    // The parent's plain colour: its own without a cache, else its answer unless its background moves along.
    ci.ParentAnswer = TransparentSkinColor;
    if (!ci.Ready && parent != nullptr) ci.ParentColor = ci.ParentAnswer = classes::ColorToRGB(parent->Color());
    if (ci.Ready && parent != nullptr && !data->NeedsRepaintOnMove()) ci.ParentAnswer = QueryParentColor(parent);
    FillControlBackground(data, ci, state, r, p, bmp);

    ci.X += p.x;
    ci.Y += p.y;
    if (manager->IsValidImgIndex(data->BorderIndex))
        PaintNinePartMask(bmp, r, filling, cornersFromParent, state, manager->Masks[std::size_t(data->BorderIndex)], ci);

    struct Corner {
        const char* Name;
        bool Right, Bottom;
    };
    static constexpr Corner Corners[] = {
        {"IMGTOPLEFT", false, false}, {"IMGTOPRIGHT", true, false}, {"IMGBTMLEFT", false, true},
        {"IMGBTMRIGHT", true, true}};
    for (const Corner& c : Corners) {
        const int index = manager->GetMaskIndex(data->SkinIndex, data->SkinSection(), c.Name);
        if (index < 0 || !manager->IsValidImgIndex(index)) continue;
        const TsMaskData& mask = manager->Masks[std::size_t(index)];
        const int w = Width(mask.R) / std::max(mask.ImageCount, 1);
        const int h = Height(mask.R) / (std::max(mask.MaskType, 0) + 1);
        // The bottom-left image sits on the bitmap's left edge, the others on r.
        const int left = c.Bottom ? 0 : r.left;
        const classes::TPoint at {c.Right ? r.right - w : left, c.Bottom ? r.bottom - h : r.top};
        DrawMaskStateImage(bmp, at, state, mask, 1);
    }
}

// ---- Named sections --------------------------------------------------------------------------------------------

void PaintSection(int skinIndex, const std::string& section, TsParentCacheInfo ci, bool filling, int state,
    const TRect& r, classes::TPoint p, TBitmap* bmp, TsSkinManager* manager, int texture, int hotTexture) {
    manager = ManagerOr(manager);
    if (r.left >= r.right || r.top >= r.bottom || !FitsBitmap(bmp, r)) return;
    if (manager == nullptr || !manager->IsValidSkinIndex(skinIndex)) return;
    FillSectionBackground(skinIndex, section, ci, state, r, p, bmp, manager, texture, hotTexture, TransparentSkinColor);
    const int border = manager->GetMaskIndex(skinIndex, section, "BORDERSMASK");
    ci.X += p.x;
    ci.Y += p.y;
    if (manager->IsValidImgIndex(border))
        PaintNinePartMask(bmp, r, filling, true, state, manager->Masks[std::size_t(border)], ci);
}

void PaintSectionToDC(int skinIndex, const std::string& section, const TsParentCacheInfo& ci, bool filling, int state,
    const TRect& r, classes::TPoint p, gdi::HDC dc, TsSkinManager* manager) {
    manager = ManagerOr(manager);
    if (dc == nullptr || manager == nullptr || !manager->IsValidSkinIndex(skinIndex)) return;
    if (r.left < 0 || r.top < 0 || Width(r) < 1 || Height(r) < 1) return;
    gdi::SavedDc saved(dc);
    auto temp = NewBitmap24(Width(r), Height(r));
    if (!temp) return;
    PaintSection(skinIndex, section, ci, filling, state, TRect {0, 0, Width(r), Height(r)}, p, temp.get(), manager, -1, -1);
    gdi::BitBlt(dc, r.left, r.top, Width(r), Height(r), temp->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
}

void PaintSectionMaster(int skinIndex, const std::string& section, TsParentCacheInfo ci, bool filling, int state,
    const TRect& r, classes::TPoint p, TBitmap* bmp, TsSkinManager* manager) {
    manager = ManagerOr(manager);
    if (!FitsBitmap(bmp, r) || manager == nullptr || !manager->IsValidSkinIndex(skinIndex)) return;
    FillSectionBackground(skinIndex, section, ci, state, r, p, bmp, manager, -1, -1, TransparentSkinColor);
    const int border = manager->GetMaskIndex(skinIndex, section, "BORDERSMASK");
    ci.X += p.x;
    ci.Y += p.y;
    if (manager->IsValidImgIndex(border))
        PaintNinePartMaster(bmp, r, filling, state, manager->Masks[std::size_t(border)], ci);
}

void PaintSectionByMask(int skinIndex, int maskIndex, int texture, int hotTexture, const std::string& section,
    TsParentCacheInfo ci, bool filling, int state, const TRect& r, classes::TPoint p, TBitmap* bmp,
    TsSkinManager* manager) {
    manager = ManagerOr(manager);
    if (!FitsBitmap(bmp, r) || manager == nullptr || !manager->IsValidSkinIndex(skinIndex)) return;
    FillSectionBackgroundByIndex(skinIndex, section, ci, state, r, p, bmp, manager, texture, hotTexture);
    ci.X += p.x;
    ci.Y += p.y;
    // The mask comes from the manager that paints, so its index is checked there.
    if (manager->IsValidImgIndex(maskIndex))
        PaintNinePartMask(bmp, r, filling, true, state, manager->Masks[std::size_t(maskIndex)], ci);
}

}
