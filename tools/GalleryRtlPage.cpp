// The gallery's right-to-left page: the skinned controls that lay out differently when read right to left (the
// bars of the memo, rich edit, tree, list and scroll box along the left edge, the combo buttons on the left, the
// bit button's glyph on the other side of its caption, text and captions aligned to the right), beside a
// left-to-right copy.
#include "tools/GalleryRtlPage.h"

#include "platform/classes/Colors.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TForm.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sComboBox.h"
#include "skin/controls/sComboBoxes_ColorBox.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sListView.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sRichEdit.h"
#include "skin/controls/sScrollBox.h"
#include "skin/controls/sTreeView.h"

#include <string>

namespace korvex::gallery {

using namespace korvex::classes;
using namespace korvex::skin;

namespace {

template <class T>
T* PlaceRtl(TForm* form, TWinControl* parent, int x, int y, int width, int height) {
    T* control = Create<T>(form);
    control->SetBounds(x, y, width, height);
    control->SetParent(parent);
    return control;
}

std::string Lines(const char* word, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += std::string(word) + " " + std::to_string(i + 1) + (i + 1 < count ? "\r\n" : "");
    return text;
}

// One column of controls on its own panel, which gives them its reading order.
void BuildColumn(TForm* form, int left, TBiDiMode mode) {
    auto* column = PlaceRtl<TsPanel>(form, form, left, 0, 420, 480);
    column->SetCaption("");
    column->SetBiDiMode(mode);

    auto* title = PlaceRtl<TsLabel>(form, column, 10, 8, 400, 18);
    title->SetCaption(mode == bdRightToLeft ? "Right to left" : "Left to right");

    auto* memo = PlaceRtl<TsMemo>(form, column, 10, 32, 190, 100);
    memo->SetScrollBars(ssVertical);
    memo->SetText(Lines("Memo line", 30));
    auto* rich = PlaceRtl<TsRichEdit>(form, column, 215, 32, 190, 100);
    rich->SetScrollBars(ssVertical);
    rich->SetText(Lines("Rich line", 30));

    auto* tree = PlaceRtl<TsTreeView>(form, column, 10, 145, 190, 110);
    for (int i = 0; i < 20; ++i) tree->Items()->Add(nullptr, "Node " + std::to_string(i + 1));
    auto* list = PlaceRtl<TsListView>(form, column, 215, 145, 190, 110);
    list->SetViewStyle(vsReport);
    list->Columns()->Add()->SetCaption("Work unit");
    list->Columns()->Items(0)->SetWidth(150);
    for (int i = 0; i < 20; ++i) list->Items()->Add()->SetCaption("Unit " + std::to_string(i + 1));

    auto* box = PlaceRtl<TsScrollBox>(form, column, 10, 268, 190, 110);
    box->SetBorderStyle(bsSingle);
    for (int i = 0; i < 8; ++i) {
        auto* row = PlaceRtl<TsPanel>(form, box, 0, i * 30, 300, 30);
        row->SetCaption("Row " + std::to_string(i + 1));
    }

    auto* combo = PlaceRtl<TsComboBox>(form, column, 215, 268, 190, 22);
    combo->SetStyle(csDropDownList);
    for (const char* item : {"Garage", "Office", "Attic"}) combo->Items()->Add(item);
    combo->SetItemIndex(0);
    auto* colors = PlaceRtl<TsColorBox>(form, column, 215, 300, 190, 22);
    colors->SetSelected(clNavy);

    auto* button = PlaceRtl<TsBitBtn>(form, column, 215, 334, 190, 34);
    button->SetCaption("Refresh");
    TBitmap* glyph = button->Glyph();
    glyph->SetSize(16, 16);
    glyph->Canvas()->Brush()->SetColor(clWhite);   // the corner's colour is the transparent one
    glyph->Canvas()->FillRect(TRect {0, 0, 16, 16});
    glyph->Canvas()->Brush()->SetColor(TColor(0x2060E0));
    glyph->Canvas()->FillRect(TRect {2, 2, 14, 14});
    button->SetLayout(blGlyphLeft);

    auto* label = PlaceRtl<TsLabel>(form, column, 10, 392, 395, 18);
    label->SetCaption("Node 3: 74% done");

    auto* group = PlaceRtl<TsGroupBox>(form, column, 10, 414, 395, 56);
    group->SetCaption("Work units");
    auto* inside = PlaceRtl<TsLabel>(form, group, 10, 24, 375, 18);
    inside->SetCaption("3 running, 1 waiting");
}

}

TForm* BuildRightToLeftPage() {
    auto* form = Create<TForm>(Application);
    form->SetCaption("KORVEX right to left");
    form->SetBounds(60, 40, 860, 520);
    form->SetClientWidth(840);
    form->SetClientHeight(480);
    BuildColumn(form, 0, bdLeftToRight);
    BuildColumn(form, 420, bdRightToLeft);
    return form;
}

}
