// TacCheckCore: what the skinned check box and radio button share (glyph from the skin, the user's bitmaps
// or an image list, caption beside it, presses by mouse and space bar, auto size, painting).
#pragma once

#include "platform/classes/ControlMessages.h"
#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TButtonControl.h"
#include "skin/engine/sFade.h"
#include "skin/engine/sPixelAccess.h"

#include <functional>
#include <memory>
#include <string>

namespace korvex::classes {
class TBitmap;
class TCustomImageList;
}

namespace korvex::skin {

class TsCommonData;
struct TsMaskData;

class TacCheckCore {
public:
    TacCheckCore(classes::TButtonControl* owner, TsCommonData* data);
    ~TacCheckCore();

    // What differs between the two kinds.
    std::function<std::string()> MaskName;   // the skin mask of the current state (GLOBALINFO)
    std::function<std::string()> CheckedMaskName;   // the mask whose absence gives the 16 x 16 default
    std::function<void()> Release;   // a finished press: toggle or check
    std::function<classes::TAlignment()> Alignment;

    classes::TSize GlyphSize() const;
    classes::TRect GlyphRect() const;
    int GlyphState() const;   // 2 pressed, 1 hot (not read-only), else 0
    classes::TRect TextRect() const;
    // The size AutoSize asks for; false while loading or without AutoSize.
    bool AutoSizeBounds(int& width, int& height) const;
    void AdjustSize();
    void PrepareCache();

    // Message handling before the base class. True: handled, the base class must not see it.
    bool WndProc(classes::TMessage& message, const std::function<void(classes::TMessage&)>& inherited);
    bool Painting() const;
    void StopFade() { StopFadeTimer(FadeTimer); }

    TsDisabledKind DisabledKind = DefaultDisabledKind;
    std::unique_ptr<classes::TBitmap> GlyphChecked;
    std::unique_ptr<classes::TBitmap> GlyphUnChecked;
    int TextIndent = 0;
    bool MultiLine = false;
    bool Pressed = false;   // the mouse or the space bar is down on the control
    bool ShowFocus = true;
    int Margin = 2;
    bool AutoSize = true;
    classes::TCustomImageList* Images = nullptr;
    int ImgChecked = -1;
    int ImgUnchecked = -1;
    TacAnimatEvents AnimatEvents {aeGlobalDef};
    bool ReadOnly = false;
    TsFadeTimer* FadeTimer = nullptr;

private:
    const TsMaskData* StateMask() const;
    void PaintGlyph(classes::TBitmap* cache);
    void PaintCaption(classes::TBitmap* cache);
    void Paint(classes::TMessage& message);
    void TakeFocus();
    bool SkinCommand(classes::TMessage& message);
    bool SkinnedMessage(classes::TMessage& message, const std::function<void(classes::TMessage&)>& inherited);
    void Changed(TacAnimatEvent event);

    classes::TButtonControl* FOwner;
    TsCommonData* FData;
};

}
