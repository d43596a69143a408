// TsRichEdit: the rich edit with a skinned frame, colours from the skin section, and two skinned scroll bars laid
// over the native ones and fed from the native scroll information.
#pragma once

#include "platform/classes/TRichEdit.h"
#include "skin/controls/sScrolledEdit.h"

namespace korvex::skin {

extern template class TsLabelledControl<classes::TRichEdit>;
extern template class TsSkinnedEdit<classes::TRichEdit>;
extern template class TsScrolledEdit<classes::TRichEdit>;

class TsRichEdit : public TsScrolledEdit<classes::TRichEdit> {
public:
    explicit TsRichEdit(classes::TComponent* owner);
    ~TsRichEdit() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void Loaded() override;   // the bars too

    // UpdateScrolls (TsScrolledEdit): the bars are wanted while the rich edit is skinned, shown, at least 16 x 16
    // and has scroll bars; each bar by ScrollBars, the native scroll information and the text's extent.

protected:
    void WndProc(classes::TMessage& message) override;
    bool BarsAllowed() const override;   // ScrollBars is not ssNone
    void FeedBars() override;
    int VertBarLeftInset() const override { return BiDiMode() == classes::bdRightToLeft ? 4 : -1; }
    void PaintFrame() override;   // the strips beside the shown bars

private:
    void SkinnedMessage(classes::TMessage& message);
    void AfterMessage(const classes::TMessage& message);
    void ApplySkinColors();   // Color and the font colour (enabled or mixed for disabled) from the section
    void BarMoved(TsScrollBar* bar);
};

}
