// TsSkinnedEdit: the skin data, the disabled look and the bound label of the skinned edits.
#include "skin/controls/sSkinnedEdit.h"

#include "platform/classes/TEdit.h"
#include "platform/classes/TMaskEdit.h"
#include "platform/classes/TMemo.h"
#include "platform/classes/TRichEdit.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sCommonData.h"

namespace korvex::skin {

template <class TNativeEdit>
TsSkinnedEdit<TNativeEdit>::TsSkinnedEdit(classes::TComponent* owner)
    : TNativeEdit(owner), FCommonData(std::make_unique<TsCommonData>(this, true)) {
    FBoundLabel = std::make_unique<TsBoundLabel>(FCommonData.get());
}

template <class TNativeEdit>
TsSkinnedEdit<TNativeEdit>::~TsSkinnedEdit() {
    FBoundLabel.reset();
    FCommonData.reset();
}

template <class TNativeEdit>
void TsSkinnedEdit<TNativeEdit>::AfterConstruction() {
    TNativeEdit::AfterConstruction();
    FCommonData->Loaded();
}

template <class TNativeEdit>
void TsSkinnedEdit<TNativeEdit>::Loaded() {
    TNativeEdit::Loaded();
    FCommonData->Loaded();
}

template <class TNativeEdit>
void TsSkinnedEdit<TNativeEdit>::SetDisabledKind(TsDisabledKind value) {
    if (FDisabledKind == value) return;
    FDisabledKind = value;
    FCommonData->Invalidate();
}

template class TsSkinnedEdit<classes::TEdit>;
template class TsSkinnedEdit<classes::TMaskEdit>;
template class TsSkinnedEdit<classes::TMemo>;
template class TsSkinnedEdit<classes::TRichEdit>;

}
