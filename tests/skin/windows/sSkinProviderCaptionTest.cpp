// Tests for the skinned caption: which element answers a point for every border style and set of border
// icons, the hot and pressed looks, and the system commands clicks send.
#include "support/WindowsKit.h"

#include "platform/user/Input.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowConstants.h"

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

constexpr int Caption = htCaption;   // what the default procedure answers over the caption band

struct CaptionCase {
    const char* Name;
    TFormBorderStyle Style;
    TsBorderIcons Icons;
    std::vector<int> Codes;   // the buttons from the right edge leftwards
    bool Icon;
};

// A disabled maximize or minimize button answers the caption's code.
const CaptionCase CaptionCases[] = {
    {"SizeableAll", bsSizeable, {biSystemMenu, biMinimize, biMaximize}, {htClose, htMaximize, htMinimize}, true},
    {"SizeableHelp", bsSizeable, {biSystemMenu, biMinimize, biMaximize, biHelp},
        {htClose, htMaximize, htMinimize, htHelp}, true},
    {"SizeableOnlyHelp", bsSizeable, {biSystemMenu, biHelp}, {htClose, Caption, Caption, htHelp}, true},
    {"SingleAll", bsSingle, {biSystemMenu, biMinimize, biMaximize}, {htClose, htMaximize, htMinimize}, true},
    {"SingleMinimizeHelp", bsSingle, {biSystemMenu, biMinimize, biHelp}, {htClose, htMinimize, htHelp}, true},
    {"SingleMaximizeHelp", bsSingle, {biSystemMenu, biMaximize, biHelp}, {htClose, htMaximize, htHelp}, true},
    {"SingleHelp", bsSingle, {biSystemMenu, biHelp}, {htClose, htHelp}, true},
    {"DialogAll", bsDialog, {biSystemMenu, biMinimize, biMaximize}, {htClose}, false},
    {"DialogHelp", bsDialog, {biSystemMenu, biHelp}, {htClose, htHelp}, false},
    {"ToolWindow", bsToolWindow, {biSystemMenu, biMinimize, biMaximize}, {htClose}, false},
    {"SizeToolWinHelp", bsSizeToolWin, {biSystemMenu, biMinimize, biMaximize, biHelp}, {htClose, htHelp}, false},
    {"NoSystemMenu", bsSizeable, {biMinimize, biMaximize}, {}, true},
};

class CaptionHitTest : public FormsTest, public ::testing::WithParamInterface<CaptionCase> { };

TEST_P(CaptionHitTest, EveryCaptionElementAnswersItsCode) {
    const CaptionCase& c = GetParam();
    UseSkin(1);
    TForm* form = NewSkinnedForm(c.Style, c.Icons);
    TsSkinProvider* p = ProviderOf(form);
    ASSERT_TRUE(p->SkinData()->Skinned());
    const int y = (p->BorderHeight() + p->CaptionHeight()) / 2;

    // The buttons lie side by side from the frame's inner edge leftwards, all as wide as the close button.
    const int width = p->ButtonWidth(p->CaptionButton(cbClose));
    const int right = p->FormWidth() - p->SysBorderWidth();
    std::vector<int> found;
    for (std::size_t k = 0; k <= c.Codes.size(); ++k) {
        const LRESULT code = HitAt(form, ScreenOf(form, right - width / 2 - int(k) * width, y));
        if (k == c.Codes.size()) {
            EXPECT_EQ(code, Caption) << "left of the buttons";
            break;
        }
        found.push_back(int(code));
    }
    EXPECT_EQ(found, c.Codes);
    EXPECT_EQ(HitAt(form, ScreenOf(form, p->FormWidth() / 2, y)), Caption);
    EXPECT_EQ(HitAt(form, ScreenOf(form, p->SysBorderWidth() + 2, y)), c.Icon ? htTitleIcon : Caption);
    EXPECT_EQ(p->HotHT(), c.Icon ? htTitleIcon : 0);
    EXPECT_EQ(HitAt(form, ScreenOf(form, p->FormWidth() / 2, p->HeaderHeight() + 20)), user::HTCLIENT);
    EXPECT_EQ(p->HotHT(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    StylesAndIcons, CaptionHitTest, ::testing::ValuesIn(CaptionCases), [](const auto& info) { return info.param.Name; });

}
}
