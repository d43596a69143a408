// The skinned colour dialog: widths by options, the edits at and past their limits, picking in the field, the
// bar and the palettes by mouse, the custom colours (and their wrap), cancel, the colour box's "Custom...", and
// pictures in two skins and without one.
#include "support/WindowsKit.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TPanel.h"
#include "platform/classes/TStringList.h"
#include "platform/user/Input.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/VirtualKeys.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/controls/sComboBoxes_ColorBox.h"
#include "skin/controls/sCurrEdit.h"
#include "skin/controls/sMaskEdit.h"
#include "skin/controls/sPanel.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sColorDialog.h"

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class ColorDialogTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        Dialog = new TsColorDialog(Application);
    }
    bool Run(std::vector<ModalStep> steps) {
        return RunModal([this] { return Dialog->Execute() ? 1 : 0; }, std::move(steps)) == 1;
    }
    static TsColorDialogForm* Of(TForm* form) {
        auto* dialog = dynamic_cast<TsColorDialogForm*>(form);
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
    static ModalStep Ok() {
        return [](TForm* form) { Of(form)->sBitBtn1->Click(); };
    }
    // Types text into the named edit as the user would leave it.
    static ModalStep Type(const char* name, std::string text) {
        return [name, text](TForm* form) { dynamic_cast<TCustomEdit*>(form->FindComponent(name))->SetText(text); };
    }
    ModalStep ClickCell(TsColorsPanel* TsColorDialogForm::*pal, int index) {
        return [this, pal, index](TForm* form) {
            TsColorsPanel* panel = Of(form)->*pal;
            const TRect r = panel->Items()[size_t(index)].Rect;
            ClickOn(panel, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        };
    }

    TsColorDialog* Dialog = nullptr;
};

TEST_F(ColorDialogTest, OptionsChooseTheWidthAndTheDefineButton) {
    struct Case {
        TColorDialogOptions Options;
        bool Wide;
        bool DefineEnabled;
    };
    for (const Case& c : {Case {{}, false, true}, Case {{cdFullOpen}, true, false},
             Case {{cdPreventFullOpen}, false, false}}) {
        Dialog->SetOptions(c.Options);
        Run({[&](TForm* form) {
            EXPECT_EQ(form->Width(), c.Wide ? 541 : ColorDialogNarrowWidth);   // 545 is held to the form's maximum
            EXPECT_EQ(Of(form)->sBitBtn4->Enabled(), c.DefineEnabled);
            if (c.DefineEnabled) {
                Of(form)->sBitBtn4->Click();
                EXPECT_EQ(form->Width(), 541);
                EXPECT_FALSE(Of(form)->sBitBtn4->Enabled());
            }
        }});
    }
}

TEST_F(ColorDialogTest, EachEditIsHeldToItsRangeWithoutBleedingIntoItsNeighbours) {
    struct Case {
        const char* Edit;
        const char* Text;
        TColor Start;
        TColor Chosen;
    };
    for (const Case& c : {
             Case {"sEditHex", "0000FF", 0x000000, 0x0000FF},   // the colour number: red
             Case {"sEditHex", "ff8000", 0x000000, 0xFF8000},
             Case {"sEditHex", "80 FF", 0x102030, 0x000080},   // its first word
             Case {"sREdit", "255", 0x102030, 0x1020FF},
             Case {"sREdit", "300", 0x102030, 0x1020FF},
             Case {"sGEdit", "-5", 0x102030, 0x100030},
             Case {"sBEdit", "99999", 0x102030, 0xFF2030},
             Case {"sEditDecimal", "16777215", 0x102030, 0xFFFFFF},
             Case {"sEditDecimal", "99999999", 0x102030, 0xFFFFFF},
             Case {"sEditDecimal", "-1", 0x102030, 0x000000},
             Case {"sHEdit", "400", 0x0000FF, 0x0000FF},   // 360 degrees is red again
             Case {"sVEdit", "150", 0x00007F, 0x0000FF},   // brightness held to 100
             Case {"sSEdit", "0", 0x0000FF, 0xFFFFFF},
         }) {
        SCOPED_TRACE(std::string(c.Edit) + " " + c.Text);
        Dialog->SetColor(c.Start);
        EXPECT_TRUE(Run({Type(c.Edit, c.Text), Ok()}));
        EXPECT_EQ(Dialog->Color(), c.Chosen);
    }
    // The other edits follow the hex edit.
    Dialog->SetColor(0);
    Run({Type("sEditHex", "0000FF"), [](TForm* form) {
             EXPECT_EQ(Of(form)->sREdit->AsInteger(), 255);
             EXPECT_EQ(Of(form)->sEditDecimal->AsInteger(), 255);
             EXPECT_EQ(Of(form)->sHEdit->AsInteger(), 0);
             EXPECT_EQ(Of(form)->sVEdit->AsInteger(), 100);
         }});
}

// Typed key by key: "#" and Backspace are refused, "0000FF" is the colour number 255, pure red, and Delete
// erases.
TEST_F(ColorDialogTest, TheHexEditShowsAndReadsTheColourNumberBlueFirst) {
    Dialog->SetColor(0x00FF00);
    EXPECT_TRUE(Run({[this](TForm* form) {
                         TsMaskEdit* hex = Of(form)->sEditHex;
                         EXPECT_EQ(hex->Text(), "00FF00");
                         hex->SetFocus();
                         hex->SelectAll();
                         Display->Press('3', "#");
                         for (char c : std::string("0000FF"))
                             Display->Press(unsigned(c), std::string(1, c));
                     },
        [this](TForm* form) {
            TsColorDialogForm* d = Of(form);
            EXPECT_EQ(d->sEditHex->Text(), "0000FF");
            EXPECT_EQ(d->SelectedColor(), 0x0000FF);
            EXPECT_EQ(d->sREdit->AsInteger(), 255);
            EXPECT_EQ(d->sBEdit->AsInteger(), 0);
            Display->Press(user::VK_BACK);
        },
        [this](TForm* form) {
            EXPECT_EQ(Of(form)->sEditHex->Text(), "0000FF");
            Display->Press(user::VK_LEFT);
            Display->Press(user::VK_DELETE);
        },
        [](TForm* form) {
            EXPECT_EQ(Of(form)->sEditHex->Text(), "0000F ");   // the blank slot reads as a space
            EXPECT_EQ(Of(form)->SelectedColor(), 0x00000F);
        },
        Ok()}));
    EXPECT_EQ(Dialog->Color(), 0x00000F);
}

TEST_F(ColorDialogTest, TheHsbEditsColourIsSplitAgainAndHelpAsksForTheDialogsContext) {
    Dialog->SetOptions({cdFullOpen, cdShowHelp});
    Dialog->SetHelpContext(7);
    RecordHelpRequests();
    Dialog->SetColor(0x0000FF);
    Run({Type("sSEdit", "0"), [this](TForm* form) {
             TsColorDialogForm* d = Of(form);
             EXPECT_EQ(d->SelectedColor(), 0xFFFFFF);
             EXPECT_EQ(d->Hue(), 0);
             EXPECT_EQ(d->Saturation(), 0.0);   // split from white, not kept from the edit
             d->sHEdit->SetText("120");   // grey has no hue: the split one stays 0
             EXPECT_EQ(d->SelectedColor(), 0xFFFFFF);
             EXPECT_EQ(d->Hue(), 0);
             EXPECT_EQ(d->sHEdit->AsInteger(), 120);   // the edit that caused it is not rewritten
             ASSERT_TRUE(d->sBitBtn5->Visible());
             ClickOn(d->sBitBtn5);
         },
        [this](TForm*) { EXPECT_EQ(HelpAsked, std::vector<long> {7}); }, Ok()});
}

TEST_F(ColorDialogTest, TheFieldAndTheBarPickByMouse) {
    Dialog->SetColor(0x0000FF);
    int height = 0;
    EXPECT_TRUE(Run({[&](TForm* form) { ClickOn(Of(form)->ColorPanel, 130, 0); },   // half way, at the top
        [&](TForm* form) {
            TsColorDialogForm* d = Of(form);
            EXPECT_EQ(d->Hue(), 180);
            EXPECT_DOUBLE_EQ(d->Saturation(), 1.0);
            EXPECT_EQ(d->SelectedColor(), 0xFFFF00);   // cyan
            height = d->GradPanel->Height();
            ClickOn(d->GradPanel, 10, height * 3 / 4);   // below the middle: darker, B falls
        },
        [&](TForm* form) {
            TsColorDialogForm* d = Of(form);
            EXPECT_EQ(d->BarRow(), height * 3 / 4);
            EXPECT_LT(d->sVEdit->AsInteger(), 60);
            EXPECT_EQ(d->SelectedColor(), BrightnessRowColor(0xFFFF00, height * 3 / 4, height));
            ClickOn(d->GradPanel, 10, 0);   // the top row is white
        },
        Ok()}));
    EXPECT_EQ(Dialog->Color(), 0xFFFFFF);
}

TEST_F(ColorDialogTest, DraggingInTheFieldConfinesThePointerToItUntilTheButtonComesUp) {
    Dialog->SetColor(0x0000FF);
    TRect field {};
    EXPECT_TRUE(Run({[&](TForm* form) {
                         TsPanel* panel = Of(form)->ColorPanel;
                         const TPoint origin = panel->ClientToScreen(TPoint {0, 0});
                         field = TRect {origin.x, origin.y, origin.x + panel->Width(), origin.y + panel->Height()};
                         Display->MoveMouse(origin.x + 130, origin.y + 100);
                         Display->ButtonDown(user::MouseButton::Left, origin.x + 130, origin.y + 100);
                     },
        [&](TForm*) {
            TRect held {};
            user::GetClipCursor(&held);
            EXPECT_EQ(held, field);
            Display->MoveMouse(field.right + 300, field.top - 200);   // far up and right
        },
        [&](TForm* form) {
            TPoint at {};
            user::GetCursorPos(&at);
            EXPECT_EQ(at, (TPoint {field.right - 1, field.top}));
            EXPECT_EQ(Of(form)->Hue(), 359);   // the field's right edge, at the top
            EXPECT_DOUBLE_EQ(Of(form)->Saturation(), 1.0);
            Display->ButtonUp(user::MouseButton::Left, at.x, at.y);
        },
        [&](TForm*) {
            TRect free {};
            user::GetClipCursor(&free);
            EXPECT_EQ(free.Width(), user::GetSystemMetrics(user::SM_CXVIRTUALSCREEN));
            Display->MoveMouse(field.right + 300, field.top + 10);
            TPoint at {};
            user::GetCursorPos(&at);
            EXPECT_EQ(at.x, field.right + 300);
        },
        Ok()}));
}

TEST_F(ColorDialogTest, DraggingInTheBarConfinesThePointerToItUntilTheButtonComesUp) {
    Dialog->SetColor(0x0000FF);
    TRect bar {};
    EXPECT_TRUE(Run({[&](TForm* form) {
                         TsPanel* panel = Of(form)->GradPanel;
                         const TPoint origin = panel->ClientToScreen(TPoint {0, 0});
                         bar = TRect {origin.x, origin.y, origin.x + panel->Width(), origin.y + panel->Height()};
                         Display->MoveMouse(origin.x + 10, origin.y + 100);
                         Display->ButtonDown(user::MouseButton::Left, origin.x + 10, origin.y + 100);
                     },
        [&](TForm*) {
            TRect held {};
            user::GetClipCursor(&held);
            EXPECT_EQ(held, bar);
            Display->MoveMouse(bar.right + 300, bar.bottom + 200);   // far down and right
        },
        [&](TForm* form) {
            TPoint at {};
            user::GetCursorPos(&at);
            EXPECT_EQ(at, (TPoint {bar.right - 1, bar.bottom - 1}));
            EXPECT_EQ(Of(form)->BarRow(), bar.Height() - 1);   // the last row: black
            EXPECT_EQ(Of(form)->SelectedColor(), 0x000000);
            Display->ButtonUp(user::MouseButton::Left, at.x, at.y);
        },
        [&](TForm*) {
            TRect free {};
            user::GetClipCursor(&free);
            EXPECT_EQ(free.Width(), user::GetSystemMetrics(user::SM_CXVIRTUALSCREEN));
        },
        Ok()}));
}

// The marker is a black triangle on the form beside the bar; moved, it leaves the form's background behind.
TEST_F(ColorDialogTest, TheBarsTriangleIsOnTheFormAtTheSelectedRowAndLeavesNoTrace) {
    UseSkin(1);
    Dialog->SetColor(0x0000FF);
    auto screenAt = [this](TsColorDialogForm* d, int dx, int row) {
        user::FlushDisplay();
        const TPoint p = d->ClientToScreen(
            TPoint {d->GradPanel->Left() + d->GradPanel->Width() + dx, d->GradPanel->Top() + row});
        return Display->ScreenPixel(p.x, p.y) & 0xFFFFFF;
    };
    int oldRow = -1;
    Run({[&](TForm* form) {
             TsColorDialogForm* d = Of(form);
             oldRow = d->BarRow();
             EXPECT_EQ(d->FindComponent("GradMarker"), nullptr);
             EXPECT_EQ(screenAt(d, 4, oldRow), 0x000000u);
             EXPECT_NE(screenAt(d, 4, oldRow + 30), 0x000000u);
             ClickOn(d->GradPanel, 10, oldRow + 60);
         },
        [&](TForm* form) {
            TsColorDialogForm* d = Of(form);
            ASSERT_EQ(d->BarRow(), oldRow + 60);
            Pump();
            EXPECT_EQ(screenAt(d, 4, oldRow + 60), 0x000000u);
            EXPECT_NE(screenAt(d, 4, oldRow), 0x000000u);   // the old place shows the background again
        },
        Ok()});
}

TEST_F(ColorDialogTest, TheHexEditTakesSixCharactersAndAPartlyBlankOneKeepsTheFocus) {
    Dialog->SetColor(0x00FF00);
    std::vector<std::string> shown;
    Application->OnException = [&](TObject*, const std::exception& e) { shown.push_back(e.what()); };
    const base::ScopeExit quiet([] { Application->OnException = nullptr; });
    EXPECT_TRUE(Run({[this](TForm* form) {
                         TsMaskEdit* hex = Of(form)->sEditHex;
                         EXPECT_EQ(hex->EditMask(), "AAAAAA;1; ");
                         hex->SetFocus();
                         hex->SelectAll();
                         for (char c : std::string("12345678"))   // the seventh and eighth find no slot
                             Display->Press(unsigned(c), std::string(1, c));
                     },
        [this](TForm* form) {
            TsColorDialogForm* d = Of(form);
            EXPECT_EQ(d->sEditHex->Text(), "123456");
            EXPECT_EQ(d->SelectedColor(), 0x123456);
            d->sEditHex->SelectAll();
            Display->Press(user::VK_DELETE);
            Display->Press('A', "A");
            Display->Press('B', "B");
            Display->Press(user::VK_TAB);   // two of six slots filled
        },
        [&](TForm* form) {
            TsColorDialogForm* d = Of(form);
            EXPECT_EQ(d->sEditHex->Text(), "AB    ");
            EXPECT_EQ(d->SelectedColor(), 0x0000AB);
            EXPECT_TRUE(d->sEditHex->Focused());
            EXPECT_EQ(shown, std::vector<std::string> {"Invalid input value"});
            d->sEditHex->SetText("ABCDEF");
        },
        Ok()}));
    EXPECT_EQ(Dialog->Color(), 0xABCDEF);
}

TEST_F(ColorDialogTest, BrightnessRowsRunFromWhiteThroughThePureColourToBlack) {
    EXPECT_EQ(BrightnessRowColor(0x00FF00, 0, 260), 0xFFFFFF);
    EXPECT_EQ(BrightnessRowColor(0x00FF00, 129, 260), 0x00FF00);
    EXPECT_EQ(BrightnessRowColor(0x00FF00, 259, 260), 0x000000);
    EXPECT_EQ(BrightnessRowColor(0x00FF00, 128, 260), 0x00FF00 | 0x000000);   // near the middle: snapped to 0
    EXPECT_EQ(BrightnessRowColor(0x123456, 0, 1), 0x123456);
}

TEST_F(ColorDialogTest, PalettesPickAndAnEmptyCustomCellChangesNothing) {
    Dialog->SetColor(0x102030);
    Dialog->MainColors()->Add("0000FF");
    EXPECT_TRUE(Run({ClickCell(&TsColorDialogForm::AddPal, 3), [](TForm* form) {
                         EXPECT_EQ(Of(form)->SelectedColor(), 0x102030);
                     },
        ClickCell(&TsColorDialogForm::MainPal, 0),
        [](TForm* form) {
            EXPECT_EQ(Of(form)->SelectedColor(), 0x0000FF);
            EXPECT_EQ(Of(form)->MainPal->ItemIndex(), 0);
        },
        Type("sGEdit", "128"),
        [](TForm* form) { EXPECT_EQ(Of(form)->MainPal->ItemIndex(), -1); }, Ok()}));
    EXPECT_EQ(Dialog->Color(), 0x0080FF);
}

TEST_F(ColorDialogTest, AddingPastTheLastCustomCellWrapsToTheFirstAndCancelKeepsTheColour) {
    Dialog->SetColor(0x123456);
    EXPECT_FALSE(Run({[](TForm* form) {
        TsColorDialogForm* d = Of(form);
        const int cells = int(d->AddPal->Items().size());
        ASSERT_EQ(cells, 16);
        for (int i = 0; i <= cells; ++i) {
            d->SelectColor(TColor(i + 1));
            d->AddToCustomColors();
        }
        EXPECT_EQ(d->NextCustomSlot(), 1);
    }}));
    EXPECT_EQ(Dialog->Color(), 0x123456);
    ASSERT_EQ(Dialog->CustomColors()->Count(), 16);   // kept after Cancel too
    EXPECT_EQ(Dialog->CustomColors()->Strings(0), "000011");   // the seventeenth colour
    EXPECT_EQ(Dialog->CustomColors()->Strings(1), "000002");
    EXPECT_EQ(Dialog->CustomColors()->Strings(15), "000010");

    // A custom cell left by a new colour becomes the next slot: Add writes there.
    Run({ClickCell(&TsColorDialogForm::AddPal, 5), Type("sEditHex", "ABCDEF"),
        [](TForm* form) {
            TsColorDialogForm* d = Of(form);
            EXPECT_EQ(d->AddPal->ItemIndex(), -1);
            EXPECT_EQ(d->NextCustomSlot(), 5);
            d->AddToCustomColors();
            EXPECT_EQ(d->NextCustomSlot(), 6);
        }});
    EXPECT_EQ(Dialog->CustomColors()->Strings(5), "ABCDEF");

    // The hex edit's text goes into the cell as it stands (a new form starts at the first slot).
    Run({Type("sEditHex", "12AB  "), [](TForm* form) {
             TsColorDialogForm* d = Of(form);
             EXPECT_EQ(d->SelectedColor(), 0x0012AB);
             d->AddToCustomColors();
             EXPECT_EQ(d->AddPal->Items()[0].Color, 0x0012AB);
         }});
    EXPECT_EQ(Dialog->CustomColors()->Strings(0), "12AB  ");
}

TEST_F(ColorDialogTest, TheColourBoxCustomItemRunsTheDialog) {
    InstallSkinnedColorDialog();
    TColor color = 0x000080;
    bool shown = false;
    EXPECT_EQ(RunModal([&] { return ColorDialogRunner(color) ? 1 : 0; },
                  {[&](TForm* form) {
                       shown = true;
                       EXPECT_EQ(Of(form)->SelectedColor(), 0x000080);
                       EXPECT_EQ(Of(form)->sEditHex->Text(), "000080");   // maroon
                   },
                      Type("sEditHex", "00FF00"), Ok()}),
        1);
    EXPECT_TRUE(shown);
    EXPECT_EQ(color, 0x00FF00);
    ColorDialogRunner = nullptr;
}

TEST_F(ColorDialogTest, TheScreenPickerTakesThePixelUnderTheClickAndEscapeChangesNothing) {
    Dialog->SetColor(0x000080);
    gdi::COLORREF underField = 0;
    TPoint at {};
    auto startPicker = [this](TForm* form) { ClickOn(Of(form)->sSpeedButton1); };
    EXPECT_TRUE(Run({[&](TForm* form) {
                         underField = ScreenPixel(Of(form)->ColorPanel, 40, 200);
                         at = Of(form)->ColorPanel->ClientToScreen(TPoint {40, 200});
                         startPicker(form);
                     },
        [&](TForm* picker) {
            EXPECT_EQ(picker->Name(), "ScreenPicker");
            EXPECT_EQ(picker->WindowState(), wsMaximized);
            auto* preview = dynamic_cast<TPanel*>(picker->FindComponent("Preview"));
            ASSERT_NE(preview, nullptr);
            EXPECT_EQ(preview->BorderStyle(), bsSingle);
            EXPECT_EQ(preview->BevelOuter(), bvNone);
            Display->Press(user::VK_ESCAPE);
        },
        [&](TForm* form) {
            EXPECT_EQ(Of(form)->SelectedColor(), 0x000080);
            startPicker(form);
        },
        [&](TForm*) { Display->Click(at.x, at.y); },
        Ok()}));
    EXPECT_NE(underField, 0x000080u);
    EXPECT_EQ(Dialog->Color(), TColor(underField & 0xFFFFFF));
}

TEST_F(ColorDialogTest, WithoutASkinManagerThePlainDialogRuns) {
    base::ValueRollback<TsSkinManager*> none(DefaultManager, nullptr);
    Dialog->SetColor(0x000010);
    EXPECT_TRUE(Run({[](TForm* form) {
        EXPECT_EQ(dynamic_cast<TsColorDialogForm*>(form), nullptr);
        dynamic_cast<TCustomEdit*>(form->FindComponent("RedEdit"))->SetText("32");
        form->SetModalResult(mrOk);
    }}));
    EXPECT_EQ(Dialog->Color(), 0x000020);
}

// ---- Pictures ------------------------------------------------------------------------------------------------

class ColorDialogPicture : public ColorDialogTest, public ::testing::WithParamInterface<int> { };

TEST_P(ColorDialogPicture, TheWideDialog) {
    UseSkin(GetParam());
    Form->Hide();
    Dialog->SetColor(0x3080E0);
    Dialog->CustomColors()->Add("FF8000");
    Run({[&](TForm* form) {
        form->SetBounds(10, 10, form->Width(), form->Height());
        Pump();
        const gdi::RECT r {0, 0, form->Width() + 20, form->Height() + 20};
        EXPECT_TRUE(Display->WriteScreenshotPng(
            WindowsPictureDir() + "/ColorDialog_" + ctltest::SkinShortName(GetParam()) + ".png", &r));
        // The chosen colour fills the preview right of the palettes; the custom colour fills the first cell of
        // "Additional colors" among them.
        const int split = 10 + form->Width() * 2 / 5;
        const gdi::RECT left {10, 10, split, 10 + form->Height()};
        const gdi::RECT right {split, 10, 10 + form->Width(), 10 + form->Height()};
        EXPECT_GE(ScreenPixels(right, [](gdi::COLORREF c) { return c == 0x3080E0; }), 40 * 40);
        EXPECT_EQ(ScreenPixels(left, [](gdi::COLORREF c) { return c == 0x3080E0; }), 0);
        EXPECT_GE(ScreenPixels(left, [](gdi::COLORREF c) { return c == 0xFF8000; }), 12 * 12);
    }});
}

INSTANTIATE_TEST_SUITE_P(TwoSkinsAndNone, ColorDialogPicture, ::testing::Values(-1, 1, 3),
    [](const auto& info) { return ctltest::SkinShortName(info.param); });

}
}
