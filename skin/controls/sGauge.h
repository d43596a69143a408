// TsGauge: a windowless progress gauge (bars, pie, needle or text) painted from the skin or in flat colours.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TGraphicControl.h"
#include "skin/controls/sControlFrame.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace korvex::skin {

class TsCommonData;

enum TsGaugeKind : std::uint8_t { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };
inline constexpr std::string_view GaugeKindIdents[] = {"gkText", "gkHorizontalBar", "gkVerticalBar", "gkPie", "gkNeedle"};

// The whole percentage of progress in [min, max], truncated toward zero; 0 for an empty span. The span and
// offset are 64-bit, so the extreme ranges of 32-bit limits neither overflow nor flip sign.
int GaugePercent(std::int32_t minValue, std::int32_t maxValue, std::int32_t progress);
// The filled length of size pixels at percent, truncated toward zero and saturated.
int GaugeFill(int size, int percent);

class TsGauge : public classes::TGraphicControl {
public:
    explicit TsGauge(classes::TComponent* owner);
    ~TsGauge() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;

    std::int32_t MinValue() const { return FMinValue; }
    void SetMinValue(std::int32_t value);   // above MaxValue raises EInvalidOperation unless loading
    std::int32_t MaxValue() const { return FMaxValue; }
    void SetMaxValue(std::int32_t value);   // below MinValue raises EInvalidOperation unless loading
    std::int32_t Progress() const { return FProgress; }
    void SetProgress(std::int32_t value);   // clamped; invalidates only when the whole percentage changes
    TsGaugeKind Kind() const { return FKind; }
    void SetKind(TsGaugeKind value);
    bool ShowText() const { return FShowText; }
    void SetShowText(bool value);
    const std::string& Suffix() const { return FSuffix; }
    void SetSuffix(const std::string& value);
    TsCommonData* SkinData() const { return FCommonData.get(); }
    classes::TColor ForeColor() const { return FForeColor; }
    void SetForeColor(classes::TColor value);
    classes::TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(classes::TFormBorderStyle value);
    classes::TColor BackColor() const { return FBackColor; }
    void SetBackColor(classes::TColor value);
    const std::string& ProgressSkin() const { return FProgressSkin; }
    void SetProgressSkin(const std::string& value);

    classes::TNotifyEvent OnChange;

    int PercentDone() const { return GaugePercent(FMinValue, FMaxValue, FProgress); }
    // How often the skinned picture was made anew; paints in between copy it from the cache.
    int SkinRenders() const { return FRenderCount; }

protected:
    void Loaded() override;
    void WndProc(classes::TMessage& message) override;
    void Paint() override;

private:
    // The filled part of the picture the text may cross: its colour (clNone: nothing filled) and shape.
    struct TGaugeFilled {
        classes::TColor Color = classes::clNone;
        classes::TRect Area {};   // a bar's filled rectangle
        bool Pie = false;   // the pie of the current percentage over the whole gauge
    };
    // What the skinned picture is made from: a cached picture is reused only while this stays the same.
    struct TGaugeLook {
        int Width = 0, Height = 0, Left = 0, Top = 0, Percent = 0;
        TsGaugeKind Kind = gkHorizontalBar;
        bool ShowText = false, Enabled = false;
        std::string Suffix, ProgressSkin, FontName;
        classes::TColor ForeColor = classes::clNone, BackColor = classes::clNone, FontColor = classes::clNone;
        int FontHeight = 0, FontOrientation = 0;
        classes::TFontStyles FontStyle {};
        const void* Manager = nullptr;
        int SkinIndex = -1;
        bool operator==(const TGaugeLook&) const = default;
    };
    TGaugeLook CurrentLook() const;
    // True when the cache holds the current picture: not changed, and not seeing through to the parent.
    bool CacheCurrent(const TGaugeLook& look) const;
    void RenderSkinned(classes::TBitmap* cache);
    void PaintSkinned();
    void PaintSkinnedText(classes::TBitmap* cache, const std::string& text, const TGaugeFilled& filled);
    void PaintPlain();

    std::int32_t FMinValue = 0;
    std::int32_t FMaxValue = 100;
    std::int32_t FProgress = 47;
    TsGaugeKind FKind = gkHorizontalBar;
    bool FShowText = true;
    std::string FSuffix = "%";
    std::unique_ptr<TsCommonData> FCommonData;
    classes::TColor FForeColor = classes::clBlack;
    classes::TFormBorderStyle FBorderStyle = classes::bsSingle;
    classes::TColor FBackColor = classes::clWhite;
    std::string FProgressSkin;
    TGaugeLook FCachedLook;
    int FRenderCount = 0;   // what the skin state's cache shows when it is not BGChanged
};

}
