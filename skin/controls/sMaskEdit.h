// TsMaskEdit: the masked edit with a skinned frame, its painting split into virtual steps that the edits built
// on it (edits with a button, number edits) replace.
#pragma once

#include "platform/classes/TMaskEdit.h"
#include "skin/controls/sControlFrame.h"
#include "skin/controls/sSkinnedEdit.h"
#include "skin/engine/sPixelAccess.h"

namespace korvex::skin {

extern template class TsLabelledControl<classes::TMaskEdit>;
extern template class TsSkinnedEdit<classes::TMaskEdit>;

class TsMaskEdit : public TsSkinnedEdit<classes::TMaskEdit> {
public:
    explicit TsMaskEdit(classes::TComponent* owner);
    ~TsMaskEdit() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    // ---- Paint steps, replaced by descendants ----
    virtual void SetEditRect() { }
    virtual void PaintBorder(gdi::HDC dc);   // the frame strips onto dc (nullptr: the window DC)
    virtual void PaintText();   // the text into the cache
    virtual void PaintWindowSkin(gdi::HDC dc);   // the whole paint from the cache (nullptr: the window DC)
    virtual int CurrentState();   // 0 normal, 1 hot

protected:
    void WndProc(classes::TMessage& message) override;
    // The cache for CurrentState() (its low 7 bits): background, PaintText, the disabled look.
    void PrepareCache();

private:
    void SkinnedMessage(classes::TMessage& message);
};

}
