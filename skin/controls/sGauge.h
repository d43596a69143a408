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
    // How often the skinned picture was made: once for each skinned paint.
    int SkinRenders() const { return FRenderCount; }

protected:
    void Loaded() override;
    void WndProc(classes::TMessage& message) override;
    void Paint() override;

private:
    void RenderSkinned(classes::TBitmap* cache);
    void PaintSkinned();
    void PaintSkinnedText(classes::TBitmap* cache, const std::string& text);
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
    int FRenderCount = 0;
};

}
