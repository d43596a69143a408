// TsScrolledEdit: what the multi-line skinned edits (TsMemo, TsRichEdit) add alike: two skinned scroll bars laid
// over the native ones, kept in step after the messages that move the text, and the frame painted beside them.
#pragma once

#include "platform/classes/TComponent.h"
#include "platform/classes/TScrollBar.h"
#include "skin/controls/sControlFrame.h"
#include "skin/controls/sEditFrame.h"
#include "skin/controls/sSkinnedEdit.h"

#include <functional>

namespace korvex::skin {

class TsScrollBar;

// Instantiated for TMemo and TRichEdit (sScrolledEdit.cpp); each edit's header declares its own.
template <class TNativeEdit>
class TsScrolledEdit : public TsSkinnedEdit<TNativeEdit> {
public:
    // The skinned bars kept in step with the native scroll information: nothing while already at it or while the
    // edit cannot have them now; both freed when it should not have them (BarsAllowed false included); else
    // FeedBars makes, feeds or frees each, and the bars left are placed over the native ones.
    void UpdateScrolls();
    TsScrollBar* VertBar() const { return FVertBar; }   // nullptr while not wanted
    TsScrollBar* HorzBar() const { return FHorzBar; }

protected:
    explicit TsScrolledEdit(classes::TComponent* owner);
    ~TsScrolledEdit() override;   // the bars, before the skin data they were made with

    void Notification(classes::TComponent* component, classes::TOperation operation) override;

    virtual bool BarsAllowed() const { return true; }
    virtual void FeedBars() = 0;   // KeepBar and FeedEditBar for each bar
    virtual void PaintFrame() = 0;   // strips and the gaps beside the bars onto the window DC
    // How far from the left edge the vertical bar lies when read right to left; -1: along the right edge.
    virtual int VertBarLeftInset() const { return this->UseRightToLeftScrollBar() ? 2 : -1; }

    // The bar of kind made when wanted and missing, freed when not (KeepEditBar); returns it.
    TsScrollBar* KeepBar(classes::TScrollBarKind kind, bool wanted, const std::function<void(TsScrollBar*)>& moved);

    void PrepareCache();   // the section's look for the hot state, no text: the native edit paints it

    // What both edits add to the skin commands: code 2 frees the bars, code 6 repaints the frame.
    TacEditCommandHooks BarCommandHooks();

    // WM_NCPAINT (the frame), WM_PRINT (not from the cache) and the left button's state. Done: the message was used.
    TacStep FrameMessage(classes::TMessage& message);

    // The message to the shared skin handling, else to the native edit. False: the edit is being destroyed.
    bool PassOn(classes::TMessage& message);

    // After the native edit had the message: the bars kept in step after what may change the text, its extent or
    // the edit's size, font, visibility or state. False for the messages each edit treats on its own.
    bool KeepBarsAfter(const classes::TMessage& message);

    bool MouseDown() const { return FMouseDown; }
    bool UpdatingScrolls() const { return FUpdatingScrolls; }   // no bar sends its position while they are fed

private:
    TsScrollBar* FVertBar = nullptr;   // owned as components; cleared in Notification
    TsScrollBar* FHorzBar = nullptr;
    bool FUpdatingScrolls = false;
    bool FMouseDown = false;
};

}
