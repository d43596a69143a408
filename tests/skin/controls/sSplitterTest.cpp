// TsSplitter: hot under the mouse, pressed while dragged with rsUpdate, hints off during the drag, plain face.
#include "support/ControlsKit.h"

#include "platform/classes/Colors.h"
#include "platform/classes/TApplication.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sSplitter.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sSkinManager.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class TsSplitterTest : public ControlsTest {
protected:
    void Build() {
        left = Create<TsPanel>(Form);
        left->SetWidth(100);
        left->SetAlign(alLeft);
        left->SetParent(Form);
        splitter = Create<TsSplitter>(Form);
        splitter->SetLeft(110);
        splitter->SetAlign(alLeft);
        splitter->SetResizeStyle(rsUpdate);
        splitter->SetParent(Form);
        right = Create<TsPanel>(Form);
        right->SetAlign(alClient);
        right->SetParent(Form);
        Pump();
    }
    TsPanel* left = nullptr;
    TsSplitter* splitter = nullptr;
    TsPanel* right = nullptr;
};

// OnPaint follows the splitter's own painting, skinned or not.
TEST_F(TsSplitterTest, OnPaintFollowsEveryPaintSkinnedOrNot) {
    for (const int skin : {1, -1}) {
        UseSkin(skin);
        Build();
        int painted = 0;
        splitter->OnPaint = [&](TObject* sender) {
            EXPECT_EQ(sender, splitter);
            ++painted;
        };
        splitter->Invalidate();
        Pump();
        EXPECT_GE(painted, 1) << skin;
        splitter->OnPaint = nullptr;
    }
}

TEST_F(TsSplitterTest, DraggingShowsThePressedStateWithHintsOffAndResizes) {
    UseSkin(1);
    Build();
    ASSERT_EQ(splitter->Width(), 6);
    ASSERT_TRUE(splitter->SkinData()->Skinned(true));
    EXPECT_EQ(splitter->SkinData()->SkinSection(), "SPLITTER");
    const gdi::COLORREF normal = ScreenPixel(splitter, 3, 50);
    MoveTo(splitter, 3, 50);
    EXPECT_EQ(splitter->SkinState(), 1);
    const gdi::COLORREF hot = ScreenPixel(splitter, 3, 50);
    EXPECT_NE(hot, normal);
    Application->SetShowHint(true);
    DownAt(splitter, 3, 50);
    EXPECT_EQ(splitter->SkinState(), 2);
    EXPECT_FALSE(Application->ShowHint());
    UpAt(splitter, 3, 50);
    EXPECT_EQ(splitter->SkinState(), 1);
    EXPECT_TRUE(Application->ShowHint());
    MoveTo(Form, 250, 150);
    EXPECT_EQ(splitter->SkinState(), 0);
    EXPECT_EQ(ScreenPixel(splitter, 3, 50), normal);
}

TEST_F(TsSplitterTest, SkinSwitchWhileShownAndThePlainFace) {
    UseSkin(0);
    Build();
    const gdi::COLORREF mac = ScreenPixel(splitter, 3, 50);
    UseSkin(2);
    EXPECT_NE(ScreenPixel(splitter, 3, 50), mac);
    UseSkin(-1);
    EXPECT_FALSE(splitter->SkinData()->Skinned(true));
    EXPECT_EQ(splitter->SkinData()->CacheBmp(), nullptr);   // no cache kept between paints
    EXPECT_EQ(ScreenPixel(splitter, 3, 50), gdi::COLORREF(ColorToRGB(Form->Color())));
}

}
