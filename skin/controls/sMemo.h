// TsMemo: the multi-line edit with a skinned frame, colours in step with the skin section, and two skinned
// scroll bars laid over the native ones and fed from the native scroll information.
#pragma once

#include "platform/classes/TMemo.h"
#include "skin/controls/sScrolledEdit.h"

namespace korvex::skin {

extern template class TsLabelledControl<classes::TMemo>;
extern template class TsSkinnedEdit<classes::TMemo>;
extern template class TsScrolledEdit<classes::TMemo>;

class TsMemo : public TsScrolledEdit<classes::TMemo> {
public:
    explicit TsMemo(classes::TComponent* owner);
    ~TsMemo() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    classes::TNotifyEvent OnVScroll;   // after WM_VSCROLL
    classes::TNotifyEvent OnScrollCaret;   // after EM_SETSEL

    // UpdateScrolls (TsScrolledEdit): the bars are needed while the memo is skinned, shown and at least 16 x 16;
    // each bar as ScrollBars asks and the native edit has it.

protected:
    void WndProc(classes::TMessage& message) override;
    void FeedBars() override;   // from the native scroll information
    void PaintFrame() override;   // strips and the gaps beside the bars onto the window DC

private:
    void SkinnedMessage(classes::TMessage& message);
    void AfterMessage(const classes::TMessage& message);   // the scroll bars' and events' share
};

}
