// TsLabelledControl and TsSkinnedEdit: the skin data, bound label and disabled look every edit and item view
// has, published under the same names.
#include "support/ControlsKit.h"

#include "platform/classes/PropInfo.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sListView.h"
#include "skin/controls/sMaskEdit.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sRichEdit.h"
#include "skin/controls/sTreeView.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sCommonData.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

template <class TControl>
class TsLabelledControlTest : public ControlsTest { };

using LabelledControls = ::testing::Types<TsEdit, TsMaskEdit, TsMemo, TsRichEdit, TsListView, TsTreeView>;
TYPED_TEST_SUITE(TsLabelledControlTest, LabelledControls);

TYPED_TEST(TsLabelledControlTest, HasItsSkinDataAndABoundLabelOnIt) {
    auto* control = Create<TypeParam>(this->Form);
    ASSERT_NE(control->SkinData(), nullptr);
    ASSERT_NE(control->BoundLabel(), nullptr);
    EXPECT_EQ(control->SkinData()->OwnerControl(), control);
    EXPECT_FALSE(control->BoundLabel()->Active());
}

TYPED_TEST(TsLabelledControlTest, PublishesTheSkinDataAndTheBoundLabel) {
    auto* control = Create<TypeParam>(this->Form);
    for (const char* name : {"SkinData", "BoundLabel"}) EXPECT_NE(GetPropInfo(*control, name), nullptr) << name;
}

template <class TEditControl>
class TsSkinnedEditTest : public ControlsTest { };

using SkinnedEdits = ::testing::Types<TsEdit, TsMaskEdit, TsMemo, TsRichEdit>;
TYPED_TEST_SUITE(TsSkinnedEditTest, SkinnedEdits);

TYPED_TEST(TsSkinnedEditTest, ANewDisabledKindMarksTheCacheAndTheSameOneDoesNot) {
    this->UseSkin(0);
    auto* edit = Create<TypeParam>(this->Form);
    edit->SetBounds(10, 10, 120, 24);
    edit->SetParent(this->Form);
    this->Pump();
    EXPECT_EQ(edit->DisabledKind(), DefaultDisabledKind);
    edit->SkinData()->BGChanged = false;
    edit->SetDisabledKind(DefaultDisabledKind);
    EXPECT_FALSE(edit->SkinData()->BGChanged);
    edit->SetDisabledKind(TsDisabledKind {dkGrayed});
    EXPECT_TRUE(edit->SkinData()->BGChanged);
    EXPECT_EQ(edit->DisabledKind(), TsDisabledKind {dkGrayed});
}

}
