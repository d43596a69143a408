// A sheet of the edits with a button in their states and glyph modes, in each of our four skins and without a
// skin, written as PNG pictures.
#include "support/ControlsHost.h"
#include "support/ControlsKit.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TObject.h"
#include "platform/user/MessageLoop.h"
#include "skin/controls/sControlClasses.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sTooledit.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sCommonData.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

// An edit with any of the default glyphs.
class TGlyphEdit : public TsCustomComboEdit {
public:
    TGlyphEdit(TComponent* owner, const char* glyph)
        : TsCustomComboEdit(owner) {
        SetGlyphName(glyph);
    }
};

class EditButtonsSheet : public ControlsTest, public ::testing::WithParamInterface<int> {
protected:
    template <class T>
    T* Place(T* edit, TWinControl* parent, int left, int top, const std::string& caption, const std::string& text) {
        edit->SetBounds(left, top, 170, 22);
        edit->SetText(text);
        edit->SetParent(parent);
        edit->BoundLabel()->SetCaption(caption);
        edit->BoundLabel()->SetActive(true);
        return edit;
    }
    TGlyphEdit* Glyph(TWinControl* parent, int left, int top, const char* glyph, const std::string& caption,
        const std::string& text) {
        return Place(new TGlyphEdit(Form, glyph), parent, left, top, caption, text);
    }
};

TEST_P(EditButtonsSheet, EditsWithButtonsInEveryState) {
    const int which = GetParam();
    InstallEditLabelFactory();
    UseSkin(which);
    Form->SetClientWidth(560);
    Form->SetClientHeight(250);
    auto* back = Create<TsPanel>(Form);
    back->SetBounds(0, 0, 560, 250);
    back->SetCaption("");
    back->SetParent(Form);
    auto* file = Place(Create<TsFilenameEdit>(Form), back, 90, 10, "File", "/srv/nodes/node1/FAHlog.txt");
    auto* folder = Place(Create<TsDirectoryEdit>(Form), back, 90, 40, "Folder", "/srv/nodes/backup");
    auto* date = Glyph(back, 90, 70, "BTN_DATE", "Date", "12.05.2026");
    auto* dots = Glyph(back, 90, 100, "BTN_ELLIPSIS", "Ellipsis", "More...");
    auto* calc = Glyph(back, 90, 130, "BTN_CALC", "Calculator", "1234.50");
    calc->SetAlignment(taRightJustify);
    auto* focused = Glyph(back, 90, 160, "BTN_OPENFILE", "Focused", "selected words");
    auto* hot = Glyph(back, 90, 190, "BTN_OPENFOLDER", "Hot", "under the mouse");
    auto* pressed = Glyph(back, 370, 10, "BTN_ELLIPSIS", "Pressed", "button held down");
    auto* disabled = Glyph(back, 370, 40, "BTN_OPENFILE", "Disabled", "not available");
    disabled->SetEnabled(false);
    auto* blend = Glyph(back, 370, 70, "BTN_OPENFOLDER", "Blend 50", "half-blended glyph");
    blend->GlyphMode()->SetBlend(50);
    auto* gray = Glyph(back, 370, 100, "BTN_CALC", "Grayed", "gray glyph");
    gray->GlyphMode()->SetGrayed(true);
    auto* user = Glyph(back, 370, 130, "", "User glyph", "own bitmap");
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(36, 24);
    const TColor colours[3] = {0x2080E0, 0x30A0FF, 0x1060C0};
    for (int i = 0; i < 3; ++i) {
        bitmap.Canvas()->Brush()->SetColor(colours[i]);
        bitmap.Canvas()->FillRect(TRect {i * 12, 0, i * 12 + 12, 12});
        bitmap.Canvas()->Brush()->SetColor(0xFFFFFF);   // the mask: a diamond shows
        bitmap.Canvas()->FillRect(TRect {i * 12, 12, i * 12 + 12, 24});
        bitmap.Canvas()->Brush()->SetColor(0);
        bitmap.Canvas()->FillRect(TRect {i * 12 + 3, 15, i * 12 + 9, 21});
    }
    user->GlyphMode()->SetGlyph(&bitmap);
    auto* none = Glyph(back, 370, 160, "", "No button", "ShowButton off");
    none->SetShowButton(false);
    auto* readOnly = Glyph(back, 370, 190, "BTN_DATE", "Read-only", "fixed value");
    readOnly->SetReadOnly(true);
    (void)file, (void)folder, (void)date, (void)dots;
    SettleSheet(focused);
    DownAt(pressed->Button(), 4, 4);
    MoveTo(hot, 30, 8);
    user::FlushDisplay();

    const TPoint origin = Form->ClientToScreen(TPoint {0, 0});
    const gdi::RECT r {origin.x, origin.y, origin.x + 560, origin.y + 250};
    ASSERT_TRUE(Display->WriteScreenshotPng(PictureDir() + "/EditButtons_" + SkinShortName(which) + ".png", &r));
    UpAt(pressed->Button(), 40, 40);
    EXPECT_EQ(PaintsSkinned(file->SkinData()), which >= 0);
}

INSTANTIATE_TEST_SUITE_P(FourSkinsAndNone, EditButtonsSheet, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return SkinShortName(info.param); });

TEST(EditButtonClasses, TheFileAndFolderEditsAreRegisteredForFormText) {
    RegisterSkinControlClasses();
    EXPECT_EQ(FindClass("TsFilenameEdit"), TsFilenameEdit::StaticClass());
    EXPECT_EQ(FindClass("TsDirectoryEdit"), TsDirectoryEdit::StaticClass());
}

}
