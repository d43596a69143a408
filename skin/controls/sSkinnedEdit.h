// TsSkinnedEdit: what the skinned edits (TsEdit, TsMaskEdit, TsMemo, TsRichEdit) add alike to their native edit:
// the skin data and the bound label (TsLabelledControl), and the look while disabled.
#pragma once

#include "skin/controls/sLabelledControl.h"
#include "skin/engine/sPixelAccess.h"

namespace korvex::skin {

// Instantiated for TEdit, TMaskEdit, TMemo and TRichEdit (sSkinnedEdit.cpp); each edit's header declares its own.
template <class TNativeEdit>
class TsSkinnedEdit : public TsLabelledControl<TNativeEdit> {
public:
    TsDisabledKind DisabledKind() const { return FDisabledKind; }
    void SetDisabledKind(TsDisabledKind value);   // the skin data invalidated only on change

protected:
    explicit TsSkinnedEdit(classes::TComponent* owner)
        : TsLabelledControl<TNativeEdit>(owner) { }

private:
    TsDisabledKind FDisabledKind = DefaultDisabledKind;
};

}
