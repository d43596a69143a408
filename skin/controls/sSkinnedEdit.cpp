// TsSkinnedEdit: the look of the skinned edits while disabled.
#include "skin/controls/sSkinnedEdit.h"

#include "platform/classes/TEdit.h"
#include "platform/classes/TMaskEdit.h"
#include "platform/classes/TMemo.h"
#include "platform/classes/TRichEdit.h"
#include "skin/engine/sCommonData.h"

namespace korvex::skin {

template <class TNativeEdit>
void TsSkinnedEdit<TNativeEdit>::SetDisabledKind(TsDisabledKind value) {
    if (FDisabledKind == value) return;
    FDisabledKind = value;
    this->SkinData()->Invalidate();
}

template class TsSkinnedEdit<classes::TEdit>;
template class TsSkinnedEdit<classes::TMaskEdit>;
template class TsSkinnedEdit<classes::TMemo>;
template class TsSkinnedEdit<classes::TRichEdit>;

}
