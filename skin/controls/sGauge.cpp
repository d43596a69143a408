// TsGauge: range and progress, the skinned picture from the GAUGE and bar sections, the flat XOR picture.
#include "skin/controls/sGauge.h"

#include "platform/base/Numbers.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/Colors.h"
#include "platform/classes/Errors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/MessageIds.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"
#include "skin/engine/sUtils.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvex::skin {

using namespace korvex::classes;

int GaugePercent(std::int32_t minValue, std::int32_t maxValue, std::int32_t progress) {
    const std::int64_t span = std::int64_t(maxValue) - minValue;
    if (span == 0) return 0;
    const std::int64_t offset = std::int64_t(progress) - minValue;
    return SaturateToInt(std::trunc(double(offset) * 100.0 / double(span)));
}

int GaugeFill(int size, int percent) {
    return SaturateToInt(std::trunc(double(size) * (double(percent) * 0.01)));
}

namespace {

int RoundToInt(double value) {
    return SaturateToInt(double(base::Round(value)));
}

// The pie's end point on the ellipse in (0, 0, w, h) for the percentage, clockwise from the top.
TPoint PiePoint(int w, int h, int percent) {
    const int mx = w / 2;
    const int my = h / 2;
    const double a = std::numbers::pi * (percent / 50.0 + 0.5);
    return TPoint {RoundToInt(mx * (1 - std::cos(a))), RoundToInt(my * (1 - std::sin(a)))};
}

std::unique_ptr<TBitmap> NewBitmap(int w, int h) {
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf24bit);
    bmp->SetSize(w, h);
    return bmp;
}

}

TsGauge::TsGauge(TComponent* owner)
    : TGraphicControl(owner), FCommonData(std::make_unique<TsCommonData>(this, false)) {
    FCommonData->ControlKind = TacControlKind::Gauge;
    SetControlStyle(ControlStyle() + TControlStyle {csOpaque});
    SetBounds(Left(), Top(), 120, 30);
}

TsGauge::~TsGauge() = default;

TClass TsGauge::StaticClass() {
    using T = TsGauge;
    static const TClassInfo info = MakeClass<T, TGraphicControl>("TsGauge", [](TPropertyBuilder<T>& p) {
        p.Int("MinValue", &T::MinValue, &T::SetMinValue, 0);
        p.Int("MaxValue", &T::MaxValue, &T::SetMaxValue, 100);
        p.Int("Progress", &T::Progress, &T::SetProgress, 47);
        p.Enum("Kind", &T::Kind, &T::SetKind, GaugeKindIdents, gkHorizontalBar);
        p.Bool("ShowText", &T::ShowText, &T::SetShowText, true);
        p.Event("OnChange", &T::OnChange);
        p.String("Suffix", &T::Suffix, &T::SetSuffix).NoDefault();
        p.Object("SkinData", &T::SkinData);
        p.Color("ForeColor", &T::ForeColor, &T::SetForeColor).NoDefault();
        p.Enum("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, FormBorderStyleIdents, bsSingle);
        p.Color("BackColor", &T::BackColor, &T::SetBackColor, clWhite);
        p.String("ProgressSkin", &T::ProgressSkin, &T::SetProgressSkin);
    });
    return &info;
}

void TsGauge::AfterConstruction() {
    TGraphicControl::AfterConstruction();
    FCommonData->Loaded();
}

void TsGauge::Loaded() {
    TGraphicControl::Loaded();
    FCommonData->Loaded();
}

// ---- Properties ----------------------------------------------------------------------------------------------

void TsGauge::SetMinValue(std::int32_t value) {
    if (value == FMinValue) return;
    if (value > FMaxValue && !ComponentState().Contains(csLoading))
        throw EInvalidOperation("Value must be between " + std::to_string(-2147483647) + " and "
            + std::to_string(std::int64_t(FMaxValue) - 1));
    FMinValue = value;
    if (FProgress < value) FProgress = value;
    Refresh();
}

void TsGauge::SetMaxValue(std::int32_t value) {
    if (value == FMaxValue) return;
    if (value < FMinValue && !ComponentState().Contains(csLoading))
        throw EInvalidOperation("Value must be between " + std::to_string(std::int64_t(FMinValue) + 1) + " and "
            + std::to_string(2147483647));
    FMaxValue = value;
    if (FProgress > value) FProgress = value;
    Refresh();
}

void TsGauge::SetProgress(std::int32_t value) {
    const int oldPercent = PercentDone();
    // Form data may hold MinValue > MaxValue: a value below MinValue gives MinValue, any other MaxValue.
    value = ClampInt(value, FMinValue, FMaxValue);
    if (value == FProgress) return;
    FProgress = value;
    if (PercentDone() != oldPercent) {
        if (!NewSkinBroadcast) FCommonData->BGChanged = true;
        Refresh();
    }
    if (OnChange) OnChange(this);
}

void TsGauge::SetKind(TsGaugeKind value) {
    if (value == FKind) return;
    FKind = value;
    Refresh();
}

void TsGauge::SetShowText(bool value) {
    if (value == FShowText) return;
    FShowText = value;
    Refresh();
}

void TsGauge::SetBorderStyle(TFormBorderStyle value) {
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    Refresh();
}

void TsGauge::SetBackColor(TColor value) {
    if (value == FBackColor) return;
    FBackColor = value;
    Refresh();
}

void TsGauge::SetForeColor(TColor value) {
    if (value == FForeColor) return;
    FForeColor = value;
    Repaint();
}

void TsGauge::SetSuffix(const std::string& value) {
    if (value == FSuffix) return;
    FSuffix = value;
    FCommonData->Invalidate();
}

void TsGauge::SetProgressSkin(const std::string& value) {
    if (value == FProgressSkin) return;
    FProgressSkin = value;
    FCommonData->Invalidate();
}

// ---- Messages ------------------------------------------------------------------------------------------------

void TsGauge::WndProc(TMessage& m) {
    TsCommonData* data = FCommonData.get();
    if (m.Msg == SM_SKINCMD) {
        const int code = SkinCommandCode(m);
        const bool own = m.LParam == LPARAM(data->SkinManager());
        if (code == SMC_NEWSKIN && own) {
            CommonWndProc(m, data);
            return;
        }
        if ((code == SMC_REMOVESKIN || code == SMC_REFRESH) && own) {
            CommonWndProc(m, data);
            Repaint();
            return;
        }
        if (code == SMC_PARENTUPDATED && data->IsUpdating()) {
            data->SetUpdating(false);
            Repaint();
            return;
        }
        if (code == SMC_ISSKINNED) {
            m.LParam = 1;
            return;
        }
    }
    if (m.Msg == user::WM_ERASEBKGND) return;
    if (IsControlPaintable(this) && data->Skinned()) {
        if (!CommonWndProc(m, data)) TGraphicControl::WndProc(m);
        return;
    }
    TGraphicControl::WndProc(m);
}

// ---- Painting ------------------------------------------------------------------------------------------------

void TsGauge::Paint() {
    if (Width() < 1 || Height() < 1) return;
    if (FCommonData->Skinned())
        PaintSkinned();
    else
        PaintPlain();
}

// The text in the section's colours, centred both ways.
void TsGauge::PaintSkinnedText(TBitmap* cache, const std::string& text) {
    TCanvas* canvas = cache->Canvas();
    canvas->Font()->Assign(Font());
    TRect tr {0, 0, Width(), Height()};
    OutputSkinnedText(canvas, text, Enabled(), tr, TextAlignFlags(this, taCenter) | gdi::DT_NOPREFIX,
        FCommonData.get(), false);
}

// The picture is made for each paint in a cache freed after the copy: the gauge keeps none between paints.
void TsGauge::PaintSkinned() {
    TsCommonData* data = FCommonData.get();
    if (data->IsUpdating()) {
        Canvas()->SetPixels(0, 0, 0xFF00FF);   // the parent sends SMC_PARENTUPDATED when it has painted
        return;
    }
    data->InitCacheBmp();
    TBitmap* cache = data->CacheBmp();
    if (cache == nullptr) return;
    const base::ScopeExit freed([data] { data->FreeCacheBmp(); });
    RenderSkinned(cache);
    ++FRenderCount;
    gdi::BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), cache->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
}

void TsGauge::RenderSkinned(TBitmap* cache) {
    TsCommonData* data = FCommonData.get();
    const int w = Width();
    const int h = Height();
    const TsParentCacheInfo ci = GetParentCache(data);
    const TRect r {0, 0, w, h};
    RenderControlSkin(data, ci, true, 0, r, TPoint {Left(), Top()}, cache, false);
    TsSkinManager* manager = data->SkinManager();
    const int percent = PercentDone();
    TCanvas* canvas = cache->Canvas();
    switch (FKind) {
    case gkHorizontalBar:
    case gkVerticalBar: {
        const std::string section
            = !FProgressSkin.empty() ? FProgressSkin : FKind == gkHorizontalBar ? "PROGRESSH" : "PROGRESSV";
        const int index = manager->GetSkinIndex(section);
        if (!manager->IsValidSkinIndex(index)) break;
        TsParentCacheInfo own;
        FillCacheInfo(own, cache, 0, 0);
        if (FKind == gkHorizontalBar) {
            const int fill = std::min(GaugeFill(w, percent), w);
            if (fill <= 0) break;
            auto bar = NewBitmap(fill, h);
            PaintSection(index, section, own, true, 0, TRect {0, 0, fill, h}, TPoint {0, 0}, bar.get(), manager);
            gdi::BitBlt(canvas->Handle(), 0, 0, fill, h, bar->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
        } else {
            int fill = GaugeFill(h, percent);
            if (h <= fill) fill = h;
            if (fill <= 0) break;
            auto bar = NewBitmap(w, fill);
            PaintSection(index, section, own, true, 0, TRect {0, 0, w, fill}, TPoint {0, h - fill}, bar.get(), manager);
            gdi::BitBlt(canvas->Handle(), 0, h - fill, w, fill, bar->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
        }
        break;
    }
    case gkPie:
        canvas->Pen()->SetStyle(psSolid);
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetColor(FForeColor);
        canvas->Brush()->SetStyle(bsSolid);
        // The empty part of the disc in the section's own colour, not whatever the canvas last held.
        canvas->Brush()->SetColor(manager->IsValidSkinIndex(data->SkinIndex)
                ? ColorToRGB(manager->Sections[std::size_t(data->SkinIndex)].Color)
                : ColorToRGB(FBackColor));
        canvas->Ellipse(0, 0, w, h);
        if (percent >= 1) {
            canvas->Brush()->SetColor(FForeColor);
            const TPoint p = PiePoint(w, h, percent);
            canvas->Pie(0, 0, w, h, p.x, p.y, w / 2, 0);
        }
        break;
    case gkNeedle:
        canvas->Brush()->SetStyle(bsClear);
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetStyle(psSolid);
        canvas->Pen()->SetColor(FForeColor);
        canvas->Pie(0, 0, w, 2 * h - 1, w, h - 1, 0, h - 1);
        if (percent >= 1) {
            const int mx = w / 2;
            const double a = std::numbers::pi * percent / 100.0;
            canvas->MoveTo(mx, h - 1);
            canvas->LineTo(RoundToInt(mx * (1 - std::cos(a))), RoundToInt((h - 1) * (1 - std::sin(a))));
        }
        break;
    case gkText:
        break;
    }
    if (FShowText) PaintSkinnedText(cache, std::to_string(percent) + FSuffix);
    data->BGChanged = false;
    PaintFrameAllSides(data, 0);
}

void TsGauge::PaintPlain() {
    const int w0 = Width();
    const int h0 = Height();
    auto image = NewBitmap(w0, h0);
    image->Canvas()->Brush()->SetColor(clBlack);
    image->Canvas()->FillRect(TRect {0, 0, w0, h0});
    TRect r = ClientRect();
    if (FBorderStyle == bsSingle) gdi::InflateRect(&r, -1, -1);
    auto overlay = NewBitmap(w0, h0);
    TCanvas* oc = overlay->Canvas();
    oc->Brush()->SetColor(clBlack);
    oc->FillRect(TRect {0, 0, w0, h0});
    const int percent = PercentDone();
    oc->Brush()->SetStyle(bsSolid);
    switch (FKind) {
    case gkText:
        oc->Brush()->SetColor(FBackColor);
        oc->FillRect(r);
        break;
    case gkHorizontalBar:
    case gkVerticalBar: {
        const int w = r.right - r.left + 1;
        const int h = r.bottom - r.top + 1;
        oc->Brush()->SetColor(FBackColor);
        oc->FillRect(r);
        oc->Pen()->SetColor(FForeColor);
        oc->Pen()->SetWidth(1);
        oc->Brush()->SetColor(FForeColor);
        if (FKind == gkHorizontalBar) {
            const int fill = std::min(GaugeFill(w, percent), w);
            if (fill > 0) oc->FillRect(TRect {r.left, r.top, fill, h});
        } else {
            int fill = GaugeFill(h, percent);
            if (fill >= h) fill = h - 1;
            oc->FillRect(TRect {r.left, h - fill, w, h});
        }
        break;
    }
    case gkPie:
    case gkNeedle: {
        int w = r.right - r.left;
        int h = r.bottom - r.top;
        if (FBorderStyle == bsSingle) {
            ++w;
            ++h;
        }
        oc->Brush()->SetColor(Color());
        oc->FillRect(r);
        oc->Brush()->SetColor(FBackColor);
        oc->Pen()->SetColor(FForeColor);
        oc->Pen()->SetWidth(1);
        if (FKind == gkPie) {
            oc->Ellipse(r.left, r.top, w, h);
            if (percent > 0) {
                oc->Brush()->SetColor(FForeColor);
                const TPoint p = PiePoint(w, h, percent);
                oc->Pie(r.left, r.top, w, h, p.x, p.y, w / 2, 0);
            }
        } else {
            oc->Pie(r.left, r.top, w, 2 * h - 1, r.left + w, r.bottom - 1, r.left, r.bottom - 1);
            oc->MoveTo(r.left, r.bottom);
            oc->LineTo(r.left + w, r.bottom);
            if (percent > 0) {
                const int mx = Width() / 2;
                const double a = std::numbers::pi * percent / 100.0;
                oc->MoveTo(mx, r.bottom - 1);
                oc->LineTo(RoundToInt(mx * (1 - std::cos(a))), RoundToInt((r.bottom - 1) * (1 - std::sin(a))));
            }
        }
        break;
    }
    }
    gdi::BitBlt(image->Canvas()->Handle(), 0, 0, w0, h0, oc->Handle(), 0, 0, gdi::SRCINVERT);
    if (FShowText) {
        auto text = NewBitmap(w0, h0);
        TCanvas* tc = text->Canvas();
        tc->Brush()->SetColor(clBlack);
        tc->FillRect(TRect {0, 0, w0, h0});
        tc->Brush()->SetStyle(bsClear);
        tc->Font()->Assign(Font());
        tc->Font()->SetColor(clWhite);
        const std::string s = std::to_string(percent) + "%";
        const int x = (r.right - r.left + 1 - tc->TextWidth(s)) / 2;
        const int y = (r.bottom - r.top + 1 - tc->TextHeight(s)) / 2;
        tc->TextRect(r, x, y, s);
        gdi::BitBlt(image->Canvas()->Handle(), 0, 0, w0, h0, tc->Handle(), 0, 0, gdi::SRCINVERT);
    }
    gdi::BitBlt(Canvas()->Handle(), 0, 0, w0, h0, image->Canvas()->Handle(), 0, 0, gdi::SRCCOPY);
}

}
