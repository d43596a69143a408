// The gallery's skinned page: panels, gauges, buttons, check and radio buttons, the colour grid, the scroll
// box, the tool and status bars, a page control with a track bar and up-downs, and buttons that switch between
// our skins while it runs.
#include "tools/GallerySkinnedPage.h"

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TScreen.h"
#include "platform/classes/TStringList.h"
#include "platform/classes/TStringStream.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sCalcForm.h"
#include "skin/controls/sCheckBox.h"
#include "skin/controls/sCurrEdit.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sComboBox.h"
#include "skin/controls/sComboBoxes_ColorBox.h"
#include "skin/controls/sComboBoxes_ComboBoxEx.h"
#include "skin/controls/sGauge.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sMaskEdit.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPageControl.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sRadioButton.h"
#include "skin/controls/sRichEdit.h"
#include "skin/controls/sScrollBox.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/controls/sSpinEdit.h"
#include "skin/controls/sSplitter.h"
#include "skin/controls/sStatusBar.h"
#include "skin/controls/sToolBar.h"
#include "skin/controls/sTrackBar.h"
#include "skin/controls/sUpDown.h"
#include "skin/controls/sTooledit.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/stored/EmbeddedSkins.h"

#include <cstdio>

namespace korvex::gallery {

using namespace korvex::classes;
using namespace korvex::skin;

namespace {

constexpr const char* ShortNames[] = {"MacOS", "LongHorn", "NextStyle", "Office2003"};

template <class T>
T* Place(TForm* form, TWinControl* parent, int x, int y, int width, int height, const std::string& caption = {}) {
    T* control = Create<T>(form);
    control->SetBounds(x, y, width, height);
    if (!caption.empty()) control->SetCaption(caption);
    control->SetParent(parent);
    return control;
}

// What a form's skin provider does after a skin change: the controls learn that their parents have painted.
void TellParentsUpdated(TWinControl* parent) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        c->Perform(SM_SKINCMD, SkinCommandWParam(SMC_PARENTUPDATED), 0);
        if (auto* w = dynamic_cast<TWinControl*>(c)) TellParentsUpdated(w);
    }
}

void AddDisc(TImageList* images, TColor color) {
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(16, 16);
    picture.Canvas()->Brush()->SetColor(clFuchsia);
    picture.Canvas()->FillRect(TRect {0, 0, 16, 16});
    picture.Canvas()->Brush()->SetColor(color);
    picture.Canvas()->Pen()->SetColor(0x303030);
    picture.Canvas()->Ellipse(2, 2, 14, 14);
    images->AddMasked(&picture, clFuchsia);
}

// Column 3: a combo box, a colour box and a combo box with images.
void BuildCombos(TForm* form, TWinControl* back) {
    auto* combo = Place<TsComboBox>(form, back, 690, 44, 152, 22);
    combo->SetStyle(csDropDownList);
    for (const char* s : {"Every node", "Running nodes", "Stuck nodes"})
        combo->Items()->Add(s);
    combo->SetItemIndex(0);
    Place<TsColorBox>(form, back, 690, 74, 152, 22)->SetSelected(clNavy);
    auto* images = Create<TImageList>(form);
    for (TColor c : {TColor(0x2040E0), TColor(0x20A020), TColor(0xE06020)})
        AddDisc(images, c);
    auto* withImages = Place<TsComboBoxEx>(form, back, 690, 104, 152, 22);
    withImages->SetImages(images);
    withImages->ItemsEx()->AddItem("Farm", 0, 0, -1, 0, nullptr);
    withImages->ItemsEx()->AddItem("Node 1", 1, 2, -1, 1, nullptr);
    withImages->ItemsEx()->AddItem("Node 2", 1, 2, -1, 1, nullptr);
    withImages->SetItemIndex(0);
}

void BuildToolBar(TForm* form) {
    auto* images = Create<TImageList>(form);
    for (TColor c : {TColor(0x2040E0), TColor(0x20A020), TColor(0xE06020), TColor(0x20C0E0)})
        AddDisc(images, c);
    auto* tools = Create<TsToolBar>(form);
    tools->SetAlign(alTop);
    tools->SetShowCaptions(true);
    tools->SetButtonWidth(64);
    tools->SetButtonHeight(38);
    tools->SetAutoSize(true);
    tools->SetEdgeBorders(TEdgeBorders {ebTop, ebBottom});
    tools->SetImages(images);
    tools->SetParent(form);
    const TToolButtonStyle styles[] = {tbsButton, tbsButton, tbsSeparator, tbsCheck, tbsDropDown, tbsButton};
    const char* captions[] = {"Options", "Refresh", "", "Pinned", "History", "Disabled"};
    for (int i = 0; i < 6; ++i) {
        auto* b = Create<TToolButton>(form);
        b->SetStyle(styles[i]);
        b->SetCaption(captions[i]);
        b->SetImageIndex(i % 4);
        b->SetParent(tools);
    }
    tools->Buttons(3)->SetDown(true);
    tools->Buttons(5)->SetEnabled(false);
}

// Column 3: the single-line edits; below the rows, the memo and the rich edit.
void BuildEdits(TForm* form, TWinControl* back) {
    Place<TsEdit>(form, back, 520, 44, 150, 24)->SetText("Edit");
    Place<TsMaskEdit>(form, back, 520, 74, 150, 24)->SetText("12.05.2026");
    auto* off = Place<TsEdit>(form, back, 520, 104, 150, 24);
    off->SetText("Disabled edit");
    off->SetEnabled(false);
    std::string log;
    for (int i = 1; i <= 24; ++i) log += "Node " + std::to_string(i) + ": work unit at " + std::to_string(i * 4 % 100) + "%\r\n";
    auto* memo = Place<TsMemo>(form, back, 330, 344, 160, 62);
    memo->SetScrollBars(ssVertical);
    memo->SetText(log);
    auto* rich = Place<TsRichEdit>(form, back, 500, 344, 170, 62);
    rich->SetScrollBars(ssVertical);
    TStringStream stream(log);
    rich->Lines()->LoadFromStream(stream);
    // The edits with a browse button, in the first column below the split panels.
    Place<TsFilenameEdit>(form, back, 14, 418, 308, 22)->SetText("/srv/nodes/node1/FAHlog.txt");
    Place<TsDirectoryEdit>(form, back, 14, 448, 308, 22)->SetText("/srv/nodes/backup");
}

// Column 4, below the combo boxes: the spin edits, a number edit and a button that opens the calculator.
void BuildSpinEdits(TForm* form, TWinControl* back) {
    auto* decimal = Place<TsDecimalSpinEdit>(form, back, 690, 140, 152, 24);
    decimal->SetIncrement(0.25);
    decimal->SetValue(2.5);
    auto* whole = Place<TsSpinEdit>(form, back, 690, 170, 152, 24);
    whole->SetMinValue(0);
    whole->SetMaxValue(100);
    whole->SetValue(42);
    auto* off = Place<TsDecimalSpinEdit>(form, back, 690, 200, 152, 24);
    off->SetValue(1);
    off->SetEnabled(false);
    Place<TsCurrencyEdit>(form, back, 690, 230, 152, 24)->SetValue(12345.67);
    auto* open = Place<TsSpeedButton>(form, back, 690, 260, 152, 26, "Calculator");
    open->OnClick = [form, open](TObject*) {
        auto* calc = Create<TsCalcForm>(form);
        const TPoint at = open->ClientToScreen(TPoint {0, open->Height()});
        calc->SetLeft(at.x);
        calc->SetTop(at.y);
        calc->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
        calc->Show();
    };
}

void BuildRows(TForm* form, TWinControl* back) {
    auto* box = Place<TsScrollBox>(form, back, 330, 150, 330, 190);
    for (int i = 0; i < 12; ++i) {
        auto* row = Place<TsPanel>(form, box, 0, i * 30, 300, 30);
        row->SetCaption("");
        Place<TsLabel>(form, row, 8, 8, 86, 16, "node" + std::to_string(i + 1));
        auto* gauge = Place<TsGauge>(form, row, 100, 6, 150, 18);
        gauge->SetProgress((i * 37) % 101);
        auto* square = Place<TsPanel>(form, row, 258, 6, 18, 18);
        square->SetCaption("");
        square->SkinData()->SetCustomColor(true);
        square->SetColor(i % 3 == 0 ? 0x30C030 : i % 3 == 1 ? 0x30A0E0 : 0x3030D0);
    }
}

}

TsSkinManager* NewGallerySkinManager() {
    auto* manager = Create<TsSkinManager>(Application);
    manager->SetActive(false);
    std::string error;
    if (!LoadEmbeddedSkins(*manager, &error)) std::fprintf(stderr, "gallery: no stored skins: %s\n", error.c_str());
    return manager;
}

bool ChooseSkin(TsSkinManager* manager, const std::string& name) {
    if (name == "none") {
        manager->SetActive(false);
    } else {
        std::string full = name;
        for (const char* s : ShortNames)
            if (name == s) full = std::string(s) + " (internal)";
        bool known = false;
        for (const char* s : ShortNames)
            known = known || full == std::string(s) + " (internal)";
        if (!known) return false;
        manager->SetSkinName(full);
        manager->SetActive(true);
    }
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TForm* form = Screen->Forms(i);
        TellParentsUpdated(form);
        form->Invalidate();
    }
    return true;
}

// A page control with more tabs than fit (its scroller shows), a track bar and up-downs on its pages.
void BuildPages(TForm* form, TWinControl* back) {
    auto* pages = Place<TsPageControl>(form, back, 330, 414, 270, 60);
    pages->SetHotTrack(true);
    for (const char* caption : {"Diagram", "Steps", "General", "Nodes", "Backups", "Hints"}) {
        auto* sheet = Create<TsTabSheet>(form);
        sheet->SetCaption(caption);
        sheet->SetPageControl(pages);
    }
    pages->SetActivePage(pages->Pages(0));
    auto* track = Place<TsTrackBar>(form, pages->Pages(0), 4, 2, 250, 30);
    track->SetMax(5);
    track->SetPageSize(1);
    track->SetThumbLength(15);
    track->SetPosition(2);
    auto* steps = Place<TsUpDown>(form, pages->Pages(1), 8, 4, 18, 28);
    steps->SetPosition(5);
    auto* across = Place<TsUpDown>(form, back, 608, 422, 36, 18);
    across->SetOrientation(udHorizontal);
    across->SetBounds(608, 422, 36, 18);
}

TForm* BuildSkinnedPage(TsSkinManager* manager, const std::string& initialSkin) {
    TForm* form = Create<TForm>(Application);
    form->SetCaption("KORVEX skinned controls");
    form->SetBounds(60, 40, 880, 590);
    form->SetClientWidth(860);
    form->SetClientHeight(550);

    BuildToolBar(form);
    auto* status = Create<TsStatusBar>(form);
    status->SetAlign(alBottom);
    for (auto [width, text] : {std::pair {320, "Monitoring 12 nodes"}, std::pair {350, "Total: 123456 points"}}) {
        TStatusPanel* panel = status->Panels()->Add();
        panel->SetWidth(width);
        panel->SetText(text);
    }
    status->SetParent(form);

    auto* back = Create<TsPanel>(form);
    back->SetAlign(alClient);
    back->SetCaption("");
    back->SetParent(form);

    // The skin chooser.
    Place<TsLabel>(form, back, 10, 12, 60, 16, "Skin:");
    int x = 72;
    for (const char* name : {"MacOS", "LongHorn", "NextStyle", "Office2003", "none"}) {
        auto* choose = Place<TsSpeedButton>(form, back, x, 8, 84, 24, name);
        choose->SetGroupIndex(7);
        if (initialSkin == name || initialSkin == std::string(name) + " (internal)") choose->SetDown(true);
        choose->OnClick = [manager, name = std::string(name)](TObject*) { ChooseSkin(manager, name); };
        x += 86;
    }

    // Column 1: panels, buttons, checks and radios, gauges.
    Place<TsPanel>(form, back, 10, 44, 150, 40, "Panel");
    auto* off = Place<TsPanel>(form, back, 170, 44, 150, 40, "Disabled panel");
    off->SetEnabled(false);
    Place<TsButton>(form, back, 10, 94, 90, 26, "Button");
    auto* offButton = Place<TsButton>(form, back, 110, 94, 90, 26, "Disabled");
    offButton->SetEnabled(false);
    auto* speed = Place<TsSpeedButton>(form, back, 210, 94, 110, 26, "Speed down");
    speed->SetGroupIndex(3);
    speed->SetDown(true);
    Place<TsCheckBox>(form, back, 10, 130, 140, 20, "Check box")->SetChecked(true);
    Place<TsCheckBox>(form, back, 160, 130, 140, 20, "Unchecked");
    Place<TsRadioButton>(form, back, 10, 154, 140, 20, "Radio one")->SetChecked(true);
    Place<TsRadioButton>(form, back, 160, 154, 140, 20, "Radio two");
    const TsGaugeKind kinds[] = {gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle, gkText};
    for (int i = 0; i < 5; ++i) {
        auto* gauge = Place<TsGauge>(form, back, 10 + i * 62, 184, 56, kinds[i] == gkVerticalBar ? 70 : 36);
        gauge->SetKind(kinds[i]);
        gauge->SetProgress(15 + i * 18);
    }
    auto* wide = Place<TsGauge>(form, back, 10, 262, 310, 20);
    wide->SetSuffix(" pts");
    wide->SetProgress(64);
    auto* group = Place<TsGroupBox>(form, back, 10, 292, 310, 70, "Group box");
    Place<TsLabel>(form, group, 12, 24, 120, 16, "Label in a group");
    auto* split = Place<TsPanel>(form, back, 10, 368, 310, 44);
    split->SetCaption("");
    auto* left = Place<TsPanel>(form, split, 0, 0, 120, 44, "Left");
    left->SetAlign(alLeft);
    Place<TsSplitter>(form, split, 120, 0, 5, 44)->SetAlign(alLeft);
    Place<TsPanel>(form, split, 125, 0, 185, 44, "Right")->SetAlign(alClient);

    // Column 2: the colour grid and the rows of a scroll box.
    auto* grid = Place<TsColorsPanel>(form, back, 330, 44, 180, 96);
    TStringList colors;
    for (const char* c : {"0000FF", "00FF00", "FF0000", "00FFFF", "FF00FF", "808080", "000000", "FFFF00"})
        colors.Add(c);
    grid->SetColors(&colors);
    grid->SetItemIndex(2);
    BuildRows(form, back);
    BuildEdits(form, back);
    BuildPages(form, back);
    BuildCombos(form, back);
    BuildSpinEdits(form, back);
    return form;
}

}
