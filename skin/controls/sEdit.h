// TsEdit: the single-line edit with a skinned frame; while not hot the whole edit, text included, comes from
// the cache, while hot (focused or under the mouse) the native edit paints its client area.
#pragma once

#include "platform/classes/TEdit.h"
#include "skin/controls/sControlFrame.h"
#include "skin/controls/sSkinnedEdit.h"
#include "skin/engine/sPixelAccess.h"

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

extern template class TsLabelledControl<classes::TEdit>;
extern template class TsSkinnedEdit<classes::TEdit>;

class TsEdit : public TsSkinnedEdit<classes::TEdit> {
public:
    explicit TsEdit(classes::TComponent* owner);
    ~TsEdit() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

protected:
    void WndProc(classes::TMessage& message) override;

private:
    void SkinnedMessage(classes::TMessage& message);
    void PrepareCache();
    void PaintText(classes::TBitmap* cache);
    void PaintFrame(gdi::HDC given = nullptr);   // the frame strips onto the given DC, else the window DC
    void PaintWhole(gdi::HDC given);   // the whole cache, over the client area too
    TacFrameHooks Hooks();
};

}
