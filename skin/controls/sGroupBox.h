// TsGroupBox: a skinned group box whose caption strip is painted with its own section.
#pragma once

#include "platform/classes/TGroupBox.h"
#include "skin/controls/sControlFrame.h"

#include <memory>
#include <string>
#include <string_view>

namespace korvex::skin {

class TsCommonData;

// Where the caption sits on the top edge. (The bound label's TsCaptionLayout already takes the plain name.)
enum TsGroupCaptionLayout { clTopLeft, clTopCenter, clTopRight };
inline constexpr std::string_view GroupCaptionLayoutIdents[] = {"clTopLeft", "clTopCenter", "clTopRight"};

class TsGroupBox : public classes::TGroupBox {
public:
    explicit TsGroupBox(classes::TComponent* owner);
    ~TsGroupBox() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;

    TsGroupCaptionLayout CaptionLayout() const { return FCaptionLayout; }
    void SetCaptionLayout(TsGroupCaptionLayout value);   // repaints only with a caption
    int CaptionYOffset() const { return FCaptionYOffset; }
    void SetCaptionYOffset(int value);   // moves the caption (and the children) down; negative: up
    TsCommonData* SkinData() const { return FCommonData.get(); }
    const std::string& CaptionSkin() const { return FCaptionSkin; }
    void SetCaptionSkin(const std::string& value);   // empty: the CHECKBOX section over the parent

    // The caption strip in the control's coordinates (the skinned layout; the font of the control).
    classes::TRect CaptionRect();
    int CaptionStripHeight();   // the larger of 4 and the height of "W", plus 2

protected:
    void Loaded() override;
    void WndProc(classes::TMessage& message) override;
    void AdjustClientRect(classes::TRect& rect) override;

private:
    TacFrameHooks Hooks();
    void PaintSkin(gdi::HDC dc);
    void RenderCache();

    TsGroupCaptionLayout FCaptionLayout = clTopLeft;
    int FCaptionYOffset = 0;
    std::unique_ptr<TsCommonData> FCommonData;
    std::string FCaptionSkin;
};

}
