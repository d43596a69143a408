// TsUpDown: the skinned paint of both arrow buttons, their hot and pressed looks, and its skin commands.
#include "skin/controls/sUpDown.h"

#include "platform/classes/Colors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Painting.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sBitmapEffects.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

#include <optional>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

constexpr int PartTop = 1, PartBottom = 2, PartLeft = 3, PartRight = 4;
constexpr const char* PartSections[] = {"", "SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT"};
constexpr int NoParentCacheTint = 60;   // the parent's colour over a disabled button without a parent cache
constexpr int NoParentCacheBlur = 1;

}

TsUpDown::TsUpDown(TComponent* owner)
    : TUpDown(owner) {
    SetControlStyle(ControlStyle() - TControlStyle {csDoubleClicks});
}

TsUpDown::~TsUpDown() = default;

TClass TsUpDown::StaticClass() {
    using T = TsUpDown;
    static const TClassInfo info = MakeClass<T, TUpDown>("TsUpDown", [](TPropertyBuilder<T>& p) {
        p.Bool("ShowInaccessibility", &T::ShowInaccessibility, &T::SetShowInaccessibility, true);
        p.Set("DisabledKind", &T::DisabledKind, &T::SetDisabledKind, DisabledKindIdents, DefaultDisabledKind);
        p.String("ButtonSkin", &T::ButtonSkin, &T::SetButtonSkin);
    });
    return &info;
}

void TsUpDown::SetShowInaccessibility(bool value) {
    if (value == FShowInaccessibility) return;
    FShowInaccessibility = value;
    Repaint();
}

void TsUpDown::SetDisabledKind(TsDisabledKind value) {
    if (value == FDisabledKind) return;
    FDisabledKind = value;
    Repaint();
}

void TsUpDown::SetHotPart(int value) {
    if (value == FHotPart) return;
    FHotPart = value;
    Repaint();
}

void TsUpDown::SetButtonSkin(const std::string& value) {
    if (value == FButtonSkin) return;
    FButtonSkin = value;
    Invalidate();
}

TRect TsUpDown::FirstButtonRect() const {
    if (Orientation() == udHorizontal) return TRect {0, 0, Width() / 2, Height()};
    return TRect {0, 0, Width(), Height() / 2};
}

TRect TsUpDown::SecondButtonRect() const {
    if (Orientation() == udHorizontal) return TRect {Width() / 2, 0, Width(), Height()};
    return TRect {0, Height() / 2, Width(), Height()};
}

bool TsUpDown::FirstAtLimit() const {
    return Position() == (Orientation() == udHorizontal ? Min() : Max());
}

bool TsUpDown::SecondAtLimit() const {
    return Position() == (Orientation() == udHorizontal ? Max() : Min());
}

bool TsUpDown::PaintsSkinned() const {
    const TsSkinManager* sm = DefaultManager;
    if (sm == nullptr || !sm->LoadedSkin.Active) return false;
    const auto& sections = sm->ConstData.ScrollBtnSection;
    if (Orientation() == udHorizontal) return sections[PartLeft] >= 0 && sections[PartRight] >= 0;
    return sections[PartTop] >= 0 && sections[PartBottom] >= 0;
}

// ---- Painting ------------------------------------------------------------------------------------------------

void TsUpDown::PaintButton(TBitmap* bmp, int part, const TRect& r) {
    TsSkinManager* sm = DefaultManager;
    const TConstantSkinData& c = sm->ConstData;
    // 1. The section: ButtonSkin when the skin has it, else the scroll button of this part.
    std::string name = PartSections[part];
    int section = -1, mask = -1, texture = -1, hotTexture = -1;
    if (!FButtonSkin.empty()) {
        section = sm->GetSkinIndex(FButtonSkin);
        if (sm->IsValidSkinIndex(section)) {
            name = FButtonSkin;
            mask = sm->GetMaskIndex(section, name, "BORDERSMASK");
            // Texture indexes are image indexes, as the manager caches them for the scroll buttons.
            texture = sm->GetMaskIndex(section, name, "PATTERN");
            hotTexture = sm->GetMaskIndex(section, name, "HOTPATTERN");
        }
    }
    if (!sm->IsValidSkinIndex(section)) {
        section = c.ScrollBtnSection[part];
        mask = c.ScrollBtnMask[part];
        texture = c.ScrollBtnPattern[part];
        hotTexture = c.ScrollBtnHotPattern[part];
    }
    // 2. The state.
    const bool first = part == PartTop || part == PartLeft;
    int state = 0;
    if (FHotPart == (first ? hpFirstHot : hpSecondHot)) state = 1;
    if (FHotPart == (first ? hpFirstPressed : hpSecondPressed)) state = 2;
    // 3. The section over the parent's picture.
    TsParentCacheInfo ci = AskControlCache(Parent());
    const TColor under = !ci.Ready && Parent() != nullptr ? ColorToRGB(Parent()->Color()) : TransparentSkinColor;
    ci.ParentColor = under;
    const int w = r.right - r.left, h = r.bottom - r.top;
    const TPoint offset {Left() + r.left, Top() + r.top};
    PaintSectionByMask(section, mask, texture, hotTexture, name, ci, true, state, TRect {0, 0, w, h}, offset, bmp, sm);
    // 4. The arrow, centred; one larger than the button ends the button here.
    const int glyph = c.ScrollBtnGlyph[part];
    if (sm->IsValidImgIndex(glyph)) {
        const TsMaskData& m = sm->Masks[std::size_t(glyph)];
        TSize frame;
        if (m.Bmp != nullptr) {
            frame = TSize {m.Bmp->Width() / 3, m.Bmp->Height() / 2};
        } else {
            frame = TSize {(m.R.right - m.R.left) / std::max(m.ImageCount, 1), (m.R.bottom - m.R.top) / (std::max(m.MaskType, 0) + 1)};
        }
        const int x = (w - frame.cx) / 2, y = (h - frame.cy) / 2;
        if (x < 0 || y < 0) return;
        DrawMaskStateImage(bmp, TPoint {x, y}, state, m, 1);
    }
    // 5. The disabled look: a disabled control, or a button at its limit.
    const bool atLimit = first ? FirstAtLimit() : SecondAtLimit();
    if (Enabled() && !(FShowInaccessibility && atLimit)) return;
    if (ci.Ready) {
        ApplyDisabledLook(bmp, FDisabledKind, this, offset, ci);
    } else {
        const TColor tint = Parent() != nullptr ? ColorToRGB(Parent()->Color()) : ColorToRGB(clBtnFace);
        PaintBlurredRect(bmp, TRect {-1, -1, w + 1, h + 1}, NoParentCacheTint, tint, NoParentCacheBlur, 0);
    }
}

void TsUpDown::SkinPaint(gdi::HDC given) {
    if (!HandleAllocated() || Width() < 1 || Height() < 1) return;
    std::optional<user::PaintGuard> paint;
    gdi::HDC dc = given;
    if (dc == nullptr) {
        paint.emplace(WindowHandle());
        dc = paint->Dc();
    }
    if (dc == nullptr) return;
    gdi::SavedDc saved(dc);
    const bool horizontal = Orientation() == udHorizontal;
    const TRect first = FirstButtonRect(), second = SecondButtonRect();
    for (const auto& [part, r] : {std::pair {horizontal ? PartLeft : PartTop, first},
             std::pair {horizontal ? PartRight : PartBottom, second}}) {
        auto bmp = NewBitmap24(r.right - r.left, r.bottom - r.top);
        if (!bmp) continue;
        PaintButton(bmp.get(), part, r);
        gdi::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, bmp->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
    }
}

// ---- Mouse ---------------------------------------------------------------------------------------------------

void TsUpDown::TrackHot(TPoint screen) {
    const TPoint p = ScreenToClient(screen);
    const TRect first = FirstButtonRect();
    const bool inFirst = p.x >= first.left && p.x < first.right && p.y >= first.top && p.y < first.bottom;
    const bool atLimit = inFirst ? FirstAtLimit() : SecondAtLimit();
    if (FShowInaccessibility && atLimit) {
        SetHotPart(hpNone);
        return;
    }
    const int hot = inFirst ? hpFirstHot : hpSecondHot;
    if (FHotPart != hot && !FPressed) FHotPart = hot;
    // Every hit test repaints: a position the native control changed shows its limits here.
    Repaint();
}

void TsUpDown::ButtonDown() {
    FPressed = true;
    // A button at its own limit does not look pressed.
    if (FHotPart == hpFirstHot && !FirstAtLimit()) SetHotPart(hpFirstPressed);
    if (FHotPart == hpSecondHot && !SecondAtLimit()) SetHotPart(hpSecondPressed);
}

void TsUpDown::ButtonUp() {
    if (!FPressed) return;
    FPressed = false;
    if (FHotPart == hpFirstPressed || FHotPart == hpFirstHot)
        SetHotPart(FShowInaccessibility && FirstAtLimit() ? hpNone : hpFirstHot);
    else if (FHotPart != hpNone)
        SetHotPart(FShowInaccessibility && SecondAtLimit() ? hpNone : hpSecondHot);
}

// ---- Messages ------------------------------------------------------------------------------------------------

void TsUpDown::WndProc(TMessage& m) {
    if (m.Msg == SM_SKINCMD) {
        switch (SkinCommandCode(m)) {
        case SMC_REMOVESKIN:
        case SMC_REFRESH:
            // It follows the default manager only; a new skin is followed by its refresh.
            if (m.LParam != LPARAM(DefaultManager)) break;
            if (!ControlDestroying(this) && HandleAllocated()) Repaint();
            return;
        case SMC_ISSKINNED:
            m.LParam = 1;
            return;
        default:
            break;
        }
        TUpDown::WndProc(m);
        return;
    }
    switch (m.Msg) {
    case user::WM_NCPAINT:
    case user::WM_ERASEBKGND:
        m.Result = 1;
        return;
    case user::WM_PAINT:
        if (PaintsSkinned() && !ControlDestroying(this)) {
            SkinPaint(reinterpret_cast<gdi::HDC>(m.WParam));
            m.Result = 0;
            return;
        }
        break;
    default:
        break;
    }
    TUpDown::WndProc(m);
    if (ControlDesigning(this) || ControlDestroying(this)) return;
    switch (m.Msg) {
    case user::WM_NCHITTEST:
        TrackHot(TPoint {MessageX(m), MessageY(m)});
        break;
    case user::WM_LBUTTONDOWN:
    case user::WM_LBUTTONDBLCLK:
        ButtonDown();
        m.Result = 1;
        break;
    case user::WM_LBUTTONUP:
        ButtonUp();
        break;
    case CM_MOUSELEAVE:
        FPressed = false;
        SetHotPart(hpNone);
        break;
    default:
        break;
    }
}

}
